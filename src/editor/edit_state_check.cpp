#include "editor/edit_state_check.h"

#include <algorithm>

namespace nuo4 {

namespace {

bool CheckCaret(const TNuo4SimpleBuffer& B, TrecNuo4CaretPos_Index& C) {
    const int32_t Last = B.Basic_GetLast();
    if (Last < 0) {
        const bool bOk = C.BasicIndex == 0 && !C.bRight;
        C = TrecNuo4CaretPos_Index();
        return bOk;
    }
    if (C.BasicIndex < 0) {
        C = TrecNuo4CaretPos_Index();
        return false;
    }
    if (C.BasicIndex > Last) {
        C.BasicIndex = Last;
        C.bRight = true;
        return false;
    }
    return true;
}

bool SymbolIndexValid(const TrecNuo4SymbolBufferIndex& I, const TNuo4SimpleBuffer& B) {
    switch (I.BufferType) {
        case sbtBasic:
            return B.Basic_CheckIndex(I.BufferInex);
        case sbtAttach:
            return B.Attach_CheckIndex(I.BufferInex);
        case sbtPage:
            return B.PageBuffer_CheckIndex(I.BufferInex);
    }
    return false;
}

}  // namespace

bool Nuo4CheckInternalStatus(TNuo4SimpleBuffer& B) {
    TrecNuo4SimpleBufferInternalStatus& S = B.InternalStatus;
    bool bOk = true;

    // Selection: an empty one past the end goes to the last symbol; a non-empty one must lie
    // inside the buffer, else it starts again at (0, left).
    TrecNuo4Selection& Sel = S.Selection;
    if (Sel.IsEmpty()) {
        TrecNuo4CaretPos_Index C = Sel.CaretPos_End;
        if (!CheckCaret(B, C)) {
            Sel.CaretPos_Start = Sel.CaretPos_End = C;
            bOk = false;
        }
    } else {
        const int32_t A = Sel.CaretPos_Start.GetRightPos(), E = Sel.CaretPos_End.GetRightPos();
        const int32_t Lo = std::min(A, E), Hi = std::max(A, E);
        if (Lo < 0 || Hi > B.Basic_GetCount() || Sel.CaretPos_Start.BasicIndex < 0 ||
            Sel.CaretPos_End.BasicIndex < 0 || Sel.CaretPos_Start.BasicIndex > B.Basic_GetLast() ||
            Sel.CaretPos_End.BasicIndex > B.Basic_GetLast()) {
            Sel.SetToDefault();
            bOk = false;
        }
    }

    // Highlight: at most one index, and it names an existing symbol.
    TrecNuo4Highlight& H = S.Highlight;
    if ((H.BasicIndex >= 0 && !B.Basic_CheckIndex(H.BasicIndex)) ||
        (H.AttachIndex >= 0 && !B.Attach_CheckIndex(H.AttachIndex)) ||
        (H.PageSymbolIndex >= 0 && !B.PageBuffer_CheckIndex(H.PageSymbolIndex))) {
        H.Clear();
        bOk = false;
    }

    // The page of page mode stays on a page of the document (there is always a first page).
    const int32_t Pages = std::max<int32_t>(1, int32_t(B.PageInfoArray.size()));
    if (S.CurrPageIndexForPageMode < -1 || S.CurrPageIndexForPageMode >= Pages) {
        S.CurrPageIndexForPageMode = std::clamp(S.CurrPageIndexForPageMode, 0, Pages - 1);
        bOk = false;
    }

    // Editing inside a symbol ends when that symbol is gone or no longer highlighted.
    TrecNuo4WithinSymbolEditStatusInfo& W = S.WithinSymbolEditStatusInfo;
    if (W.bEnable) {
        const bool bBranch = W.BufferIndex_Branch.BufferInex >= 0;
        const TrecNuo4SymbolBufferIndex& I =
            bBranch ? W.BufferIndex_Branch : W.BufferIndex_NoteWithRighline;
        const bool bHighlighted = (I.BufferType == sbtAttach && H.AttachIndex == I.BufferInex) ||
                                  (I.BufferType == sbtBasic && H.BasicIndex == I.BufferInex);
        if (!SymbolIndexValid(I, B) || !bHighlighted) {
            W.SetToDefault();
            bOk = false;
        }
    }
    return bOk;
}

TrecNuo4Selection Nuo4SelectionFromHighlight(const TNuo4SimpleBuffer& B) {
    const TrecNuo4Highlight& H = B.InternalStatus.Highlight;
    int32_t Index = -1;
    if (H.IsBasic())
        Index = H.BasicIndex;
    else if (H.IsAttach())
        Index = B.Attach_GetBasicIndex(H.AttachIndex);
    TrecNuo4Selection S;
    if (Index >= 0 && B.Basic_CheckIndex(Index)) {
        S.CaretPos_End.BasicIndex = Index;
        S.CaretPos_End.bRight = !B.Basic_IsReturn(Index);
        S.CaretPos_Start = S.CaretPos_End;
    }
    return S;
}

}  // namespace nuo4
