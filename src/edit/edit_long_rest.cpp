// Long rests: a bar drawn over hidden symbols, with an optional number above it, written as
// attachments of the first symbol. The attachments of one answer share one new section.

#include <algorithm>

#include "edit/edit_internal.h"
#include "format/abc_buffer.h"
#include "format/section_attachments.h"
#include "layout/simple_buffer.h"
#include "render/music_font.h"
#include "render/symbol_attach.h"

namespace nuo4 {

namespace {

constexpr char16_t LongRestGlyph = 0xF00C;
constexpr double MinLongRestLength = 5.0;  // mm

// The attachments items of a long rest at AIndex, one per line.
bool LongRestItemsText(const TNuo4SimpleBuffer& B, int32_t AIndex, TText AText, double ALength,
                       std::u16string& AItemsText) {
    AItemsText.clear();
    if (!Nuo4MusicFont().CoreFontLoaded() || !B.Basic_CheckIndex(AIndex) || ALength <= 0)
        return false;
    const TGPSizeF D = DocDigitSize();
    const double W = D.width(), H = D.height();
    if (W <= 0 || H <= 0) return false;
    // The glyph's own box at scale 1 gives the factors that make it fill the bar's rectangle.
    TrecNuo4SymbolAttachExtend Probe;
    Probe.Initialize(LongRestGlyph, 1, 1, 0);
    TGPRectF Bounds, Black;
    CreatePathes_AttachExtend(Probe, Bounds, Black, true);
    if (Bounds.width() <= 0 || Bounds.height() <= 0) return false;
    const float Sx = float(ALength / Bounds.width());
    const float Sy = float(0.8 * H / Bounds.height());
    const float OffX = float((W / 2 + ALength / 2) / W);

    TrecNuo4HorzLocation Loc;
    Loc.aType = hltAbsLocate_BasicIndex;
    Loc.AbsLocate_BasicIndex_BasicIndex = AIndex;
    TrecNuo4SectionItem_Attachments Bar;
    Bar.InitializeToExtend(LongRestGlyph, OffX, -1.0f, Sx, Sy, 0);
    Bar.Header.HorzLocation = Loc;
    AItemsText = Bar.ToABCText();
    if (!AText.empty()) {
        TrecNuo4SectionItem_Attachments Num;
        Num.InitializeToText(AText, fuAttachText1, OffX, -1.5f, 1, 1, 0);
        Num.Header.HorzLocation = Loc;
        AItemsText += u"\r" + Num.ToABCText();
    }
    return true;
}

bool SameLine(const TNuo4SimpleBuffer& B, TKoRange R) {
    for (const auto& L : B.LineInfoArray)
        if (R.StartIndex >= L.BasicIndexRange.StartIndex &&
            R.StartIndex <= L.BasicIndexRange.EndIndex())
            return R.EndIndex() <= L.BasicIndexRange.EndIndex();
    return false;
}

}  // namespace

bool LongRest_CanAdd(const TNuo4SimpleBuffer& B, int32_t AIndex, TText AText, double ALength,
                     TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    std::u16string Text;
    if (!LongRestItemsText(B, AIndex, AText, ALength, Text)) return false;
    TrecNuo4ABCTextReplaceItem It;
    B.GetABCBuffer()->SectionAttachments_AddItemText(Text, It);
    VoiceEdit_AddItem(AItems, It);
    return !AItems.empty();
}

bool LongRest_CanAdd_Range(const TNuo4SimpleBuffer& B, TKoRange ARange, TText AText,
                           TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (!B.Basic_CheckIndex(ARange) || !SameLine(B, ARange)) return false;
    const double W = DocDigitSize().width();
    const double Len =
        std::max(MinLongRestLength, B.Basic_GetSymbol(ARange.EndIndex())->Pos().x() -
                                        B.Basic_GetSymbol(ARange.StartIndex)->Pos().x() - W);
    if (!LongRest_CanAdd(B, ARange.StartIndex, AText, Len, AItems)) return false;
    TNuo4ABCTextReplaceItems Hide;
    CanChangeHideLevel_Range(B, ARange, shlAll, Hide);
    VoiceEdit_AddItems(AItems, Hide);
    return true;
}

bool LongRest_CanAdd_BasicIndex(const TNuo4SimpleBuffer& B, int32_t AIndex, TText AText,
                                TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    const int32_t M = B.GetMeasureIndex_FromBasicIndex(AIndex);
    if (!B.CheckMeasureIndex(M)) return false;
    TKoRange R = B.MeasureInfoArray[M].BasicIndexRange;
    int32_t S = R.StartIndex, E = R.EndIndex();
    while (S <= E && B.Basic_IsBarline(S)) ++S;
    while (E >= S && B.Basic_IsBarline(E)) --E;
    if (S > E) return false;
    return LongRest_CanAdd_Range(B, TKoRange::FromStartEnd(S, E), AText, AItems);
}

bool LongRest_CanAdd_SelectionOrCaret(const TNuo4SimpleBuffer& B, TText AText,
                                      TrecNuo4EditResult& AAnswer) {
    AAnswer.SetToDefault();
    if (!B.InternalStatus.Highlight.IsEmpty()) return false;
    const TrecNuo4Selection& S = B.InternalStatus.Selection;
    bool bOk = false;
    if (!S.IsEmpty()) {
        bOk = LongRest_CanAdd_Range(B, VoiceEdit_SelectionRange(S), AText, AAnswer.Items);
        if (bOk) AAnswer.WithSelection(VoiceEdit_ClearToCaret(S));
    } else {
        bOk = LongRest_CanAdd_BasicIndex(B, S.CaretPos_End.GetEditPos(), AText, AAnswer.Items);
        if (bOk) AAnswer.WithSelection(S);
    }
    return VoiceEdit_Finish(AAnswer, bOk);
}

}  // namespace nuo4
