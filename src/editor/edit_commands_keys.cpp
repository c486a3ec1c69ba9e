// The key commands: caret moves, highlight steps and the edits of the voice.
#include "editor/edit_commands.h"
#include "layout/buffer_caret.h"
#include "layout/buffer_highlight.h"

namespace nuo4 {

namespace {

bool MoveCaret(INuo4EditorHost& H, TNuo4SimpleBuffer& B, const TrecNuo4KeyCommand& C) {
    TrecNuo4Selection& S = B.InternalStatus.Selection;
    TrecNuo4CaretPos_Index New;
    if (!CanMoveCaret(B, S.CaretPos_End, TNuo4MoveDirection(C.Param),
                      Nuo4EditorEditState().RememberedCaretColumnX, New))
        return false;
    S.CaretPos_End = New;
    if (!C.bExtend) S.CaretPos_Start = New;
    H.Redraw_Fast(true);
    return true;
}

bool StepHighlight(INuo4EditorHost& H, TNuo4SimpleBuffer& B, const TrecNuo4KeyCommand& C) {
    TrecNuo4Highlight New;
    const TrecNuo4Highlight Cur = B.InternalStatus.Highlight;
    constexpr int32_t Left = mdLeft;
    bool bOk = false;
    if (C.Command == ecMoveHighlight)
        bOk = CanMoveHighlight_BasicSymbol(B, Cur, C.Param == Left ? -1 : 1, New);
    else if (H.GetEditMode() == emPage)
        bOk = CanToggleHighlight_PageSymbol(B, Cur, New);
    else
        bOk = CanToggleHighlight_BasicAndAttach(B, Cur, New);
    // "No change" answers still put a first highlight in place.
    if (!bOk && !(Cur.IsEmpty() && !New.IsEmpty())) return false;
    Highlight_Set(B, New);
    H.Redraw_Fast(false);
    return true;
}

}  // namespace

bool Nuo4ExecuteCommand(INuo4EditorHost& H, const TrecNuo4KeyCommand& C) {
    TNuo4SimpleBuffer* B = H.GetSimpleBuffer();
    if (!B) return false;
    switch (C.Command) {
        case ecMoveCaret:
            return MoveCaret(H, *B, C);
        case ecToggleHighlight:
        case ecMoveHighlight:
            return StepHighlight(H, *B, C);
        case ecInsertNote:
        case ecDeleteLeft:
        case ecDeleteRight:
        case ecInsertBarline:
            return Nuo4ExecuteVoiceEdit(H, *B, C);
        default:
            return false;
    }
}

}  // namespace nuo4
