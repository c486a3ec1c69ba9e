#include "render/symbol_page.h"

#include "format/abc_common.h"
#include "render/music_font.h"

namespace nuo4 {

namespace {
TKoStringAlignment MemoAlignment(TNuo4MemoAlignType A) {
    return A == matCenter ? saCenter : A == matFar ? saFar : saNear;
}
}  // namespace

TNuo4SymbolPathes MemoPrivateOptions_GetPathes(const TrecNuo4SymbolMemoPrivateOptions& AOptions,
                                               TGPRectF& ABounds, bool bOnlyCalc) {
    ABounds = TGPRectF();
    TNuo4SymbolPathes R;
    const std::u16string Text =
        ABC_Unescape(AOptions.ABCText, TKoRange(0, static_cast<int32_t>(AOptions.ABCText.size())));
    if (Text.empty()) return R;
    const QPainterPath P = TKoGDIPlusPath::CreateTextPath_MultiLines(
        GetDestGraphics(), MusicFont_GetFont(AOptions.FontUsage),
        QString::fromUtf16(Text.data(), qsizetype(Text.size())), TGPPointF(0, 0),
        AOptions.LayoutWidth, MemoAlignment(AOptions.Align), ABounds, bOnlyCalc);
    if (bOnlyCalc) return R;
    SymbolPathes_AddFill(R, P);
    if (AOptions.bWithFrame && !RectIsEmpty(ABounds)) {
        QPainterPath Frame;
        Frame.addRect(ABounds);
        SymbolPathes_AddStroke(R, Frame, Nuo4MemoFrameWidth);
    }
    return R;
}

TNuo4SymbolPathes SymbolTitleBlock_GetPathes(const TrecNuo4SymbolTitleBlock& ARec,
                                             TGPRectF& ABounds, bool bOnlyCalc) {
    const TrecNuo4TitleBlockPathes T = Nuo4TitleBlock_GetPathes(
        TGPRectF(0, 0, ARec.LayoutWidth, 0), ARec.TitleBuffer,
        ARec.NoteStyleIndex.IsValid() ? ARec.NoteStyleIndex : TrecNuo4NoteStyleIndex(), bOnlyCalc);
    ABounds = T.Bounds;
    TNuo4SymbolPathes R;
    for (const auto& Line : T.ItemPathes)
        for (const QPainterPath& P : Line) SymbolPathes_AddFill(R, P);
    return R;
}

void TNuo4SymbolMemo::CalcBounds(TGPRectF& ARect) {
    MemoPrivateOptions_GetPathes(FRec.PrivateOptions, ARect, true);
}

void TNuo4SymbolMemo::CreateElements() {
    TGPRectF B;
    AddElementsFromSymbolPathes(MemoPrivateOptions_GetPathes(FRec.PrivateOptions, B, false));
}

void TNuo4SymbolTitleBlock::CalcBounds(TGPRectF& ARect) {
    SymbolTitleBlock_GetPathes(FRec, ARect, true);
}

void TNuo4SymbolTitleBlock::CreateElements() {
    TGPRectF B;
    AddElementsFromSymbolPathes(SymbolTitleBlock_GetPathes(FRec, B, false));
}

}  // namespace nuo4
