#include "render/symbol_basic.h"

#include "format/doc_options.h"
#include "render/note_glyphs.h"
#include "render/note_style.h"

namespace nuo4 {

namespace {

// Bar lines, meters, texts and marks of one kind look the same wherever they stand (their
// paths are symbol-local), so a long score shares one copy of each shape.
TNuo4SymbolPathes SharedPathes(TNuo4SymbolPathes AItems) {
    for (TrecNuo4SymbolPathItem& I : AItems) I.APath = SharedGlyphPath(I.APath);
    return AItems;
}

// The script face of the document's main digit draws bar lines with pen strokes.
bool DocIsScript() {
    return Nuo4DocOptions().Param_MainDigit.Face == dfFace3;
}

}  // namespace

// ---- Bar line -------------------------------------------------------------------------------

void TNuo4SymbolBarline::CalcBounds(TGPRectF& ARect) {
    CreatePath_Barline(FRec, ARect, true, false);
}

void TNuo4SymbolBarline::CreateElements() {
    TGPRectF B;
    AddElementsFromSymbolPathes(SharedPathes(CreatePath_Barline(FRec, B, false, DocIsScript())));
}

// ---- Accompaniment marker -------------------------------------------------------------------

void TNuo4SymbolAccompMarker::CalcBounds(TGPRectF& ARect) {
    CreatePath_AccompMarker(FRec, ARect, true);
}

void TNuo4SymbolAccompMarker::CreateElements() {
    TGPRectF B;
    AddElementsFromSymbolPathes(SharedPathes(CreatePath_AccompMarker(FRec, B, false)));
}

// ---- Meter ----------------------------------------------------------------------------------

void TNuo4SymbolMeter::CalcBounds(TGPRectF& ARect) {
    double Cy = 0;
    CreatePath_Meter(FRec, ARect, Cy, true);
}

void TNuo4SymbolMeter::CreateElements() {
    TGPRectF B;
    double Cy = 0;
    AddElementsFromSymbolPathes(SharedPathes(CreatePath_Meter(FRec, B, Cy, false)));
}

// ---- Paragraph mark -------------------------------------------------------------------------

void TNuo4SymbolReturn::CalcBounds(TGPRectF& ARect) {
    CreatePath_Return(FRec.NoteStyleIndex, ARect, true);
}

void TNuo4SymbolReturn::CreateElements() {
    TGPRectF B;
    AddElementsFromSymbolPathes(SharedPathes(CreatePath_Return(FRec.NoteStyleIndex, B, false)));
}

// ---- Standard text --------------------------------------------------------------------------

TNuo4SymbolPathes TNuo4SymbolText::CreatePath(TGPRectF& ABounds, bool bOnlyCalc) const {
    const TrecNuo4NoteStyleIndex SI =
        FRec.NoteStyleIndex.IsValid() ? FRec.NoteStyleIndex : TrecNuo4NoteStyleIndex();
    const double H = GetPureNoteStylePtr(SI)->GetDigitHeight();
    return CreatePath_Text_FromElementArray(FRec.GetElementArray(), FRec.FontUsage, SI,
                                            TGPPointF(0, -H / 2), ABounds, bOnlyCalc);
}

void TNuo4SymbolText::CalcBounds(TGPRectF& ARect) {
    CreatePath(ARect, true);
}

void TNuo4SymbolText::CreateElements() {
    TGPRectF B;
    AddElementsFromSymbolPathes(SharedPathes(CreatePath(B, false)));
}

// ---- Volta bracket --------------------------------------------------------------------------

TNuo4SymbolFangZi::TNuo4SymbolFangZi(const TrecNuo4SymbolFangZi& ARec) {
    Create(&ARec);
    if (FRec.NoteStyleIndex.IsValid()) SetNoteStyleIndex(FRec.NoteStyleIndex);
}

void TNuo4SymbolFangZi::SetSymbolRec(const void* ASource) {
    FRec = *static_cast<const TrecNuo4SymbolFangZi*>(ASource);
    FFangZiBounds = TGPRectF();
    SetNeedUpdate();
}

namespace {

std::unique_ptr<TNuo4SymbolFangZi> MakeFangZi(TNuo4LineSymbolContinueStyle AStyle, double ALength,
                                              TText AText, double AHeight) {
    TrecNuo4SymbolFangZi R;
    R.ContinueStyle = AStyle;
    R.FangZiLength = float(ALength);
    R.FangZiHeight = float(AHeight);
    R.Text_ABC = ABC_CutToCapacity(std::u16string(AText), Nuo4CharArray1Capacity);
    return std::make_unique<TNuo4SymbolFangZi>(R);
}

}  // namespace

std::unique_ptr<TNuo4SymbolFangZi> TNuo4SymbolFangZi::Create_Full(double ALength, TText AText,
                                                                  double AHeight) {
    return MakeFangZi(lscsFull, ALength, AText, AHeight);
}

std::unique_ptr<TNuo4SymbolFangZi> TNuo4SymbolFangZi::Create_Left(double ALength, TText AText,
                                                                  double AHeight) {
    return MakeFangZi(lscsLeft, ALength, AText, AHeight);
}

std::unique_ptr<TNuo4SymbolFangZi> TNuo4SymbolFangZi::Create_Right(double ALength, double AHeight) {
    return MakeFangZi(lscsRight, ALength, u"", AHeight);
}

void TNuo4SymbolFangZi::CalcBounds(TGPRectF& ARect) {
    // The bounds of the last build; before any build, those the builder would give.
    if (RectIsEmpty(FFangZiBounds)) CreatePath_FangZi(FRec, FFangZiBounds, true);
    ARect = FFangZiBounds;
}

void TNuo4SymbolFangZi::CreateElements() {
    AddElementsFromSymbolPathes(CreatePath_FangZi(FRec, FFangZiBounds, false));
}

}  // namespace nuo4
