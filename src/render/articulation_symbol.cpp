#include "render/articulation_symbol.h"

#include "format/doc_options.h"
#include "render/music_font.h"
#include "render/note_style.h"

namespace nuo4 {

QPainterPath CreateArticulationPath(const TKoGraphics* G, const TrecNuo4SymbolArticulation& ARec,
                                    TGPRectF& ABounds, bool bOnlyCalc) {
    ABounds = TGPRectF();
    if (ARec.Articulation >= Nuo4ArticulationCount) return QPainterPath();
    TrecNuo4NoteStyleIndex Index = ARec.NoteStyleIndex;
    if (!Index.IsValid()) Index.SetToDefault();
    // The articulation descriptors follow one another in the order of the enumeration.
    const TrecNuo4CoreFontSymbolInfoItem& Info =
        CoreFontSymbolInfo(TNuo4CoreFontSymbol(int(cfsDunYin) + int(ARec.Articulation)));
    return Nuo4MusicFont().CreatePath_CoreFont_Char(G, Info, GetDigitSize(Index), ARec.Scale,
                                                    ABounds, bOnlyCalc);
}

TNuo4SymbolArticulation::TNuo4SymbolArticulation(TNuo4Articulation AArticulation, float AScale) {
    const TrecNuo4SymbolArticulation Rec =
        TrecNuo4SymbolArticulation::Create(AArticulation, AScale);
    Create(&Rec);
}

TNuo4SymbolArticulation::TNuo4SymbolArticulation(const TrecNuo4SymbolArticulation& ARec) {
    Create(&ARec);
}

std::unique_ptr<TNuo4SymbolArticulation> TNuo4SymbolArticulation::CreateFromDocument(
    TNuo4Articulation AArticulation) {
    return std::make_unique<TNuo4SymbolArticulation>(
        AArticulation, Nuo4DocOptions().GetArticulationScale(AArticulation));
}

void TNuo4SymbolArticulation::CalcBounds(TGPRectF& ARect) {
    CreateArticulationPath(GetDestGraphics(), SymbolRec, ARect, true);
}

void TNuo4SymbolArticulation::CreateElements() {
    TGPRectF Bounds;
    AddElement_FillPath(CreateArticulationPath(GetDestGraphics(), SymbolRec, Bounds, false));
}

void TNuo4SymbolArticulation::SetSymbolRec(const void* ASource) {
    if (!ASource) return;
    SymbolRec = *static_cast<const TrecNuo4SymbolArticulation*>(ASource);
    if (!SymbolRec.NoteStyleIndex.IsValid()) SymbolRec.NoteStyleIndex.SetToDefault();
    SetNoteStyleIndex(SymbolRec.NoteStyleIndex);
    SetNeedUpdate();
}

}  // namespace nuo4
