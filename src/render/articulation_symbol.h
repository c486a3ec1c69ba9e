#pragma once
// The articulation symbol: one mark of the music font (staccato, accent, tenuto, fermata,
// mordents, trill) that the layout places above a note. Sized by the digit width of its note
// style: one design unit of the glyph is W / 400 x Scale mm; its reference point is the
// symbol's origin.

#include <QPainterPath>
#include <memory>

#include "format/music_common.h"
#include "format/note_style_index.h"
#include "render/draw_utils.h"
#include "render/symbol.h"

namespace nuo4 {

struct TrecNuo4SymbolArticulation {
    TrecNuo4NoteStyleIndex NoteStyleIndex;
    float Scale = 1.0f;
    TNuo4Articulation Articulation = mfsaDunYin;

    static TrecNuo4SymbolArticulation Create(TNuo4Articulation AArticulation, float AScale) {
        TrecNuo4SymbolArticulation R;
        R.Articulation = AArticulation;
        R.Scale = AScale;
        return R;
    }
    void SetToDefault() { *this = TrecNuo4SymbolArticulation(); }
    bool operator==(const TrecNuo4SymbolArticulation&) const = default;
};

// The glyph at the record's size with its reference point on the origin; ABounds is its box.
QPainterPath CreateArticulationPath(const TKoGraphics* G, const TrecNuo4SymbolArticulation& ARec,
                                    TGPRectF& ABounds, bool bOnlyCalc = false);

class TNuo4SymbolArticulation : public TNuo4AttachSymbol {
  public:
    TNuo4SymbolArticulation(TNuo4Articulation AArticulation, float AScale);
    explicit TNuo4SymbolArticulation(const TrecNuo4SymbolArticulation& ARec);
    // With the document's scale of that articulation.
    static std::unique_ptr<TNuo4SymbolArticulation> CreateFromDocument(
        TNuo4Articulation AArticulation);

    TrecNuo4SymbolArticulation SymbolRec;

    // The glyph's box.
    void CalcBounds(TGPRectF& ARect) override;
    void CreateElements() override;
    void* GetSymbolRecPtr() override { return &SymbolRec; }
    void SetSymbolRec(const void* ASource) override;
    TNuo4SymbolType GetSymbolType() const override { return sbstArticulation; }
    void SetRecNoteStyleIndex(const TrecNuo4NoteStyleIndex& AIndex) override {
        SymbolRec.NoteStyleIndex = AIndex;
    }
    void SetRecMainStyle(TNuo4NoteMainStyle AStyle) override {
        SymbolRec.NoteStyleIndex.MainStyle = AStyle;
    }
    void SetRecSubStyle(TNuo4NoteSubStyle AStyle) override {
        SymbolRec.NoteStyleIndex.SubStyle = AStyle;
    }
};

}  // namespace nuo4
