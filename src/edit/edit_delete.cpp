// Deleting basic symbols: their text, the far mark of every arc that loses one end, and the
// attachments that lose their owner.

#include <algorithm>

#include "edit/edit_internal.h"
#include "layout/simple_buffer.h"

namespace nuo4 {

namespace {

bool InRange(TKoRange R, int32_t I) {
    return I >= R.StartIndex && I <= R.EndIndex();
}

// The marks, outside the deleted run, of the arcs with exactly one end inside it.
void FarArcMarks(const TNuo4SimpleBuffer& B, TKoRange ARange, TKoRangeArray& AMarks) {
    for (int32_t A = 0; A < int32_t(B.ArcInfoArray.size()); ++A) {
        const TKoRange R = B.ArcInfoArray[A].BasicIndexRange;
        const bool bStart = InRange(ARange, R.StartIndex), bEnd = InRange(ARange, R.EndIndex());
        if (bStart == bEnd) continue;
        TKoRange S, E;
        if (!GetABCTextRangeForArc(B, A, S, E)) continue;
        AMarks.push_back(bStart ? E : S);
    }
}

bool DeleteRun(const TNuo4SimpleBuffer& B, TKoRange ARange, TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    const TKoRange T = GetABCTextRangeFromBasicIndexRange(B, ARange);
    if (!T.IsValid()) return false;
    TKoRangeArray Ranges{T};
    FarArcMarks(B, ARange, Ranges);
    std::sort(Ranges.begin(), Ranges.end(),
              [](TKoRange A, TKoRange Z) { return A.StartIndex < Z.StartIndex; });
    for (TKoRange R : Ranges) {
        TrecNuo4ABCTextReplaceItem It;
        It.InitializeForDelete(R);
        VoiceEdit_AddItem(AItems, It);
    }
    TNuo4ABCTextReplaceItems More;
    Attachments_CanDeleteBasicSymbol(B, ARange.StartIndex, ARange.Length, More);
    VoiceEdit_AddItems(AItems, More);
    return true;
}

}  // namespace

bool CanDeleteBasicSymbol(const TNuo4SimpleBuffer& B, int32_t AIndex,
                          TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (B.Basic_GetCount() == 0 || !B.Basic_CheckIndex(AIndex)) return false;
    // The closing return holds the last paragraph together.
    if (AIndex == B.Basic_GetLast() && B.Basic_IsReturn(AIndex)) return false;
    return DeleteRun(B, TKoRange(AIndex, 1), AItems);
}

bool CanDeleteBasicSymbol_Caret(const TNuo4SimpleBuffer& B, bool bForBackspace,
                                TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        AAnswer.SetToDefault();
        const TrecNuo4Selection& S = B.InternalStatus.Selection;
        if (!S.IsEmpty()) return false;
        const int32_t I =
            bForBackspace ? S.CaretPos_End.GetLeftPos() : S.CaretPos_End.GetRightPos();
        if (!CanDeleteBasicSymbol(B, I, AAnswer.Items)) return false;
        if (bForBackspace)
            AAnswer.WithSelection(I == 0 ? TrecNuo4Selection() : VoiceEdit_CaretAfter(I - 1, 0));
        else
            AAnswer.WithSelection(S);
        return true;
    }());
}

bool CanDeleteBasicSymbol_Range(const TNuo4SimpleBuffer& B, TKoRange ARange,
                                TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (!B.Basic_CheckIndex(ARange)) return false;
    return DeleteRun(B, ARange, AItems);
}

bool CanDeleteBasicSymbol_Selection(const TNuo4SimpleBuffer& B, TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        AAnswer.SetToDefault();
        const TrecNuo4Selection& S = B.InternalStatus.Selection;
        if (!B.InternalStatus.Highlight.IsEmpty() || S.IsEmpty()) return false;
        if (!CanDeleteBasicSymbol_Range(B, VoiceEdit_SelectionRange(S), AAnswer.Items))
            return false;
        AAnswer.WithSelection(VoiceEdit_ClearToHead(S));
        return true;
    }());
}

}  // namespace nuo4
