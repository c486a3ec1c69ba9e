#include "layout/buffer_selection.h"

#include <algorithm>

#include "layout/buffer_caret.h"
#include "layout/buffer_text_pos.h"
#include "layout/simple_buffer.h"

namespace nuo4 {

namespace {

using TCaret = TrecNuo4CaretPos_Index;

const TrecNuo4Selection& Sel(const TNuo4SimpleBuffer& B) {
    return B.InternalStatus.Selection;
}

// The basic range the selection speaks for: its run, or the caret's symbol when empty; clipped
// to the buffer.
TKoRange RangeOrCaret(const TNuo4SimpleBuffer& B) {
    const int32_t N = B.Basic_GetCount();
    if (N == 0) return TKoRange::Invalid();
    TKoRange R = Sel(B).GetBasicRange();
    if (R.Length == 0) R = TKoRange(NormalizeCaret(B, Sel(B).CaretPos_End).BasicIndex, 1);
    const int32_t S = std::max(0, R.StartIndex), E = std::min(N - 1, R.EndIndex());
    return S <= E ? TKoRange::FromStartEnd(S, E) : TKoRange::Invalid();
}

// The index range of the items (lines, measures, paragraphs) of AOf that hold the first and
// last symbol of ARange.
template <class F>
TKoRange Span(TKoRange ARange, F AIndexOf) {
    if (!ARange.IsNonEmpty()) return TKoRange::Invalid();
    int32_t A = -1, E = -1;
    for (int32_t I = ARange.StartIndex; I <= ARange.EndIndex() && A < 0; ++I) A = AIndexOf(I);
    for (int32_t I = ARange.EndIndex(); I >= ARange.StartIndex && E < 0; --I) E = AIndexOf(I);
    return A >= 0 && E >= A ? TKoRange::FromStartEnd(A, E) : TKoRange::Invalid();
}

}  // namespace

TrecNuo4Selection Selection_Get(const TNuo4SimpleBuffer& B) {
    return Sel(B);
}
void Selection_Set(TNuo4SimpleBuffer& B, const TrecNuo4Selection& ASelection) {
    B.InternalStatus.Selection = ASelection;
}
void Selection_Clear(TNuo4SimpleBuffer& B) {
    B.InternalStatus.Selection.Clear();
}
bool Selection_IsEmpty(const TNuo4SimpleBuffer& B) {
    return Sel(B).IsEmpty();
}
TKoRange Selection_GetBasicRange(const TNuo4SimpleBuffer& B) {
    return Sel(B).GetBasicRange();
}
TrecNuo4CaretPos_Index Selection_GetCaretPos(const TNuo4SimpleBuffer& B) {
    return Sel(B).CaretPos_End;
}

TrecNuo4Selection Selection_GetEmpty(const TNuo4SimpleBuffer& B) {
    TrecNuo4Selection R = Sel(B);
    R.Clear();
    return R;
}

TrecNuo4Selection Selection_GetNewSelectionForClear(const TNuo4SimpleBuffer& B) {
    TrecNuo4Selection R = Sel(B);
    R.ClearToTail();
    return R;
}

TrecNuo4Selection Selection_GetNewSelectionAfterInsertSymbol(const TNuo4SimpleBuffer& B) {
    return TrecNuo4Selection::CreateEmpty(TCaret::Create(Sel(B).GetCaretLeftPos() + 1, true));
}

TKoRange Selection_GetLineRange(const TNuo4SimpleBuffer& B) {
    return Span(RangeOrCaret(B), [&](int32_t I) { return GetLineIndexFromBasicIndex(B, I); });
}

TKoRange Selection_GetMeasureRange(const TNuo4SimpleBuffer& B) {
    return Span(RangeOrCaret(B), [&](int32_t I) { return B.GetMeasureIndex_FromBasicIndex(I); });
}

TKoRange Selection_GetParagraphRange(const TNuo4SimpleBuffer& B) {
    return Span(RangeOrCaret(B), [&](int32_t I) { return B.GetParagraphIndex_FromBasicIndex(I); });
}

TKoRange Selection_GetABCTextRange(const TNuo4SimpleBuffer& B) {
    const TKoRange R = Sel(B).GetBasicRange();
    if (!R.IsNonEmpty() || !B.Basic_CheckIndex(R)) return TKoRange::Invalid();
    return GetABCTextRangeFromBasicIndexRange(B, R);
}

TrecNuo4Selection GetSelectionForAll(const TNuo4SimpleBuffer& B) {
    int32_t Last = B.Basic_GetLast();
    if (Last >= 0 && B.Basic_IsReturn(Last)) --Last;
    if (Last < 0) return TrecNuo4Selection();
    return TrecNuo4Selection::Create(TCaret::Create(0, false), TCaret::Create(Last, true));
}

TrecNuo4Selection GetSelectionForBasicIndexRange(const TNuo4SimpleBuffer& B, TKoRange ARange) {
    if (!B.Basic_CheckIndex(ARange)) return TrecNuo4Selection();
    return TrecNuo4Selection::Create(TCaret::Create(ARange.StartIndex, false),
                                     TCaret::Create(ARange.EndIndex(), true));
}

TrecNuo4Selection GetSelectionFromHighlight(const TNuo4SimpleBuffer& B,
                                            const TrecNuo4Highlight& AHighlight) {
    int32_t I = -1;
    if (AHighlight.IsBasic())
        I = AHighlight.BasicIndex;
    else if (AHighlight.IsAttach())
        I = B.Attach_GetBasicIndex(AHighlight.AttachIndex);
    if (!B.Basic_CheckIndex(I)) return TrecNuo4Selection();
    return TrecNuo4Selection::CreateEmpty(TCaret::Create(I, !B.Basic_IsReturn(I)));
}

bool Selection_Check(const TNuo4SimpleBuffer& B, TrecNuo4Selection& ASelection, bool bCorrect) {
    const int32_t N = B.Basic_GetCount();
    bool bValid;
    TrecNuo4Selection Fixed;  // (0, left)
    if (N == 0) {
        bValid = false;
    } else if (ASelection.IsEmpty()) {
        const TCaret C = ASelection.CaretPos_End;
        bValid = C.BasicIndex >= 0 && C.BasicIndex < N;
        if (!bValid && C.BasicIndex >= N)
            Fixed = TrecNuo4Selection::CreateEmpty(TCaret::Create(N - 1, true));
    } else {
        const TKoRange R = ASelection.GetBasicRange();
        bValid = ASelection.CaretPos_Start.BasicIndex >= 0 &&
                 ASelection.CaretPos_End.BasicIndex >= 0 && B.Basic_CheckIndex(R);
    }
    if (!bValid && bCorrect) ASelection = Fixed;
    return bValid;
}

}  // namespace nuo4
