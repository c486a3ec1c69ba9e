#include "edit/edit_paragraph.h"

#include <cmath>
#include <functional>

#include "edit/edit_spacing.h"
#include "layout/buffer_selection.h"
#include "layout/buffer_text_pos.h"
#include "layout/simple_buffer.h"

namespace nuo4 {

namespace {

using TChange = std::function<void(TrecNuo4SymbolReturnPrivateOptions&)>;

bool Done(TNuo4ABCTextReplaceItems& AItems, bool bOk) {
    if (!bOk || AItems.empty()) {
        AItems.clear();
        return false;
    }
    return true;
}

// The item that writes a paragraph's options: its return's "$..." token rewritten, or, for a
// last paragraph without return, a return inserted after its last symbol (with a space before
// it, so that it never joins the last token).
bool ParagraphItem(const TNuo4SimpleBuffer& B, int32_t P, const TChange& AChange,
                   TNuo4ABCTextReplaceItems& AItems) {
    if (P < 0 || P >= int32_t(B.ParagraphInfoArray.size())) return false;
    const TrecNuo4ParagraphInfoItem& Info = B.ParagraphInfoArray[P];
    const int32_t Last = Info.BasicIndexRange.EndIndex();
    TrecNuo4SymbolReturnPrivateOptions New = Info.Options;
    AChange(New);
    const std::u16string Text = u"$" + New.ToABCText();
    TrecNuo4ABCTextReplaceItem Item;
    if (B.Basic_IsReturn(Last)) {
        if (New == Info.Options) return true;
        const TKoRange R = GetABCTextRangeOfTokenFromBasicIndex(B, Last, ttReturn);
        if (!R.IsNonEmpty()) return false;
        Item.Initialize(R, Text);
    } else {
        if (New.IsDefault()) return true;  // a plain return would change nothing
        const TKoRange R = GetABCTextRangeFromBasicIndex(B, Last, true);
        if (!R.IsValid()) return false;
        Item.InitializeForInsert(R.StartIndex + R.Length, u" " + Text);
    }
    AItems.AddItem(Item);
    return true;
}

bool ForParagraphs(const TNuo4SimpleBuffer& B, TKoRange AParagraphs, const TChange& AChange,
                   TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (!AParagraphs.IsNonEmpty()) return false;
    for (int32_t P = AParagraphs.StartIndex; P <= AParagraphs.EndIndex(); ++P)
        if (!ParagraphItem(B, P, AChange, AItems)) return Done(AItems, false);
    return Done(AItems, true);
}

// The paragraphs of lines.
TKoRange ParagraphsOfLines(const TNuo4SimpleBuffer& B, TKoRange ALines) {
    if (!ALines.IsNonEmpty() || ALines.EndIndex() >= int32_t(B.LineInfoArray.size()))
        return TKoRange::Invalid();
    const int32_t A = B.GetParagraphIndex_FromBasicIndex(
        B.LineInfoArray[ALines.StartIndex].BasicIndexRange.StartIndex);
    const int32_t E = B.GetParagraphIndex_FromBasicIndex(
        B.LineInfoArray[ALines.EndIndex()].BasicIndexRange.EndIndex());
    return A >= 0 && E >= A ? TKoRange::FromStartEnd(A, E) : TKoRange::Invalid();
}

}  // namespace

bool CanChangeParagraphOptions_Range(const TNuo4SimpleBuffer& B, TKoRange AParagraphs,
                                     const TrecNuo4SymbolReturnPrivateOptions& AOptions,
                                     TNuo4ABCTextReplaceItems& AItems) {
    return ForParagraphs(
        B, AParagraphs, [&](TrecNuo4SymbolReturnPrivateOptions& O) { O = AOptions; }, AItems);
}

bool CanChangeParagraphOptions_Selection(const TNuo4SimpleBuffer& B,
                                         const TrecNuo4SymbolReturnPrivateOptions& AOptions,
                                         TNuo4ABCTextReplaceItems& AItems) {
    return CanChangeParagraphOptions_Range(B, Selection_GetParagraphRange(B), AOptions, AItems);
}

bool CanChangeParagraphOptions_JustifyHorz_Range(const TNuo4SimpleBuffer& B, TKoRange AParagraphs,
                                                 bool bValue, TNuo4ABCTextReplaceItems& AItems) {
    return ForParagraphs(
        B, AParagraphs, [&](TrecNuo4SymbolReturnPrivateOptions& O) { O.bJustifyHorz = bValue; },
        AItems);
}

bool CanChangeParagraphOptions_JustifyHorz_Selection(const TNuo4SimpleBuffer& B, bool bValue,
                                                     TNuo4ABCTextReplaceItems& AItems) {
    return CanChangeParagraphOptions_JustifyHorz_Range(B, Selection_GetParagraphRange(B), bValue,
                                                       AItems);
}

bool System_CanChangeParagraphOptions_Indent_Range(const TNuo4SimpleBuffer& B, TKoRange AParagraphs,
                                                   double AValue,
                                                   TNuo4ABCTextReplaceItems& AItems) {
    if (AValue < 0 || !std::isfinite(AValue)) return false;
    return ForParagraphs(
        B, AParagraphs,
        [&](TrecNuo4SymbolReturnPrivateOptions& O) { O.IndentValue = float(AValue); }, AItems);
}

bool CanChangeParagraphOptions_Gap_Range(const TNuo4SimpleBuffer& B, TKoRange AParagraphs,
                                         double AGapCoef, TNuo4ABCTextReplaceItems& AItems) {
    if (AGapCoef < 0 || !std::isfinite(AGapCoef)) return false;
    return ForParagraphs(
        B, AParagraphs,
        [&](TrecNuo4SymbolReturnPrivateOptions& O) { O.ParagraphGapCoef = float(AGapCoef); },
        AItems);
}

bool CanRemoveParagraphIndent_Range(const TNuo4SimpleBuffer& B, TKoRange AParagraphs,
                                    TNuo4ABCTextReplaceItems& AItems) {
    return System_CanChangeParagraphOptions_Indent_Range(B, AParagraphs, 0, AItems);
}

bool CanRemoveParagraphIndent_Selection(const TNuo4SimpleBuffer& B,
                                        TNuo4ABCTextReplaceItems& AItems) {
    return CanRemoveParagraphIndent_Range(B, Selection_GetParagraphRange(B), AItems);
}

// Declared with the spacing requests: it unlocks as they do.
bool CanUnlockAWCoefAndRemoveIndent_LineRange(const TNuo4SimpleBuffer& B, TKoRange ALines,
                                              TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    TNuo4ABCTextReplaceItems Unlock, Indent;
    CanUnlockAWCoef_LineRange(B, ALines, Unlock);
    CanRemoveParagraphIndent_Range(B, ParagraphsOfLines(B, ALines), Indent);
    // A return's options token and its control options never share a start: the control
    // options follow the options.
    AItems.AddItems(Indent);
    AItems.AddItems(Unlock);
    return Done(AItems, true);
}

bool CanUnlockAWCoefAndRemoveIndent_SelectedLines(const TNuo4SimpleBuffer& B,
                                                  TNuo4ABCTextReplaceItems& AItems) {
    return CanUnlockAWCoefAndRemoveIndent_LineRange(B, Selection_GetLineRange(B), AItems);
}

}  // namespace nuo4
