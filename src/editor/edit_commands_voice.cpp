// The edits of the voice through the edit requests: notes, deletions and bar lines at the caret.
#include "edit/edit_voice.h"
#include "editor/edit_commands.h"

namespace nuo4 {

namespace {

TrecNuo4EditState VoiceState(const INuo4EditorHost& H) {
    TrecNuo4EditState S = Nuo4EditorEditState();
    S.bAutoInsertBarline = H.AutoInsertBarline();
    S.bUseOldDVGroupOrder = H.OldDVGroupOrder();
    return S;
}

bool Apply(INuo4EditorHost& H, const TrecNuo4EditResult& A, bool bScroll) {
    return Nuo4ApplyEdit(H, A.Items, A.bWithSelection ? &A.NewSelection : nullptr,
                         A.bWithHighlight ? &A.NewHighlight : nullptr, bScroll);
}

bool InsertNote(INuo4EditorHost& H, const TNuo4SimpleBuffer& B, int32_t ADigit, int32_t AOctave) {
    TrecNuo4MusicPureNote N;
    // Digit 8 is the default drum pitch, the core font's "X".
    if (ADigit == 8)
        N.Pitch.Initialize_ToDrumPitch(u'X', true);
    else
        N.SetPitch(ADigit, AOctave, 0);
    N.SetDuration(sd4th);
    TrecNuo4EditResult A;
    bool bBarlineInsertted = false;
    if (!CanInsertSymbol_PureNote_Caret(B, VoiceState(H), N, A, &bBarlineInsertted) ||
        !Apply(H, A, true))
        return false;
    int32_t& Count = Nuo4ConsecutiveNoteCount();
    Count = bBarlineInsertted ? 1 : Count + 1;
    // A line now wider than the layout gets its line break as a second undo step.
    if (const TNuo4SimpleBuffer* After = H.GetSimpleBuffer()) {
        TrecNuo4EditResult Wrap;
        if (CanInsertReturnIfOverWidth(*After, Wrap)) Apply(H, Wrap, true);
    }
    return true;
}

bool Delete(INuo4EditorHost& H, const TNuo4SimpleBuffer& B, bool bBackspace) {
    TrecNuo4EditResult A;
    const TrecNuo4Selection& S = B.InternalStatus.Selection;
    const bool bNoteLeft = bBackspace && S.IsEmpty() && B.Basic_IsNote(S.CaretPos_End.GetLeftPos());
    const bool bOk = S.IsEmpty() ? CanDeleteBasicSymbol_Caret(B, bBackspace, A)
                                 : CanDeleteBasicSymbol_Selection(B, A);
    if (!bOk || !Apply(H, A, true)) return false;
    int32_t& Count = Nuo4ConsecutiveNoteCount();
    if (bNoteLeft && Count > 0) --Count;
    return true;
}

}  // namespace

bool Nuo4ExecuteVoiceEdit(INuo4EditorHost& H, TNuo4SimpleBuffer& B, const TrecNuo4KeyCommand& C) {
    if (H.GetEditMode() != emStandard) return false;
    switch (C.Command) {
        case ecInsertNote:
            return InsertNote(H, B, C.Param, C.Param2);
        case ecDeleteLeft:
            return Delete(H, B, true);
        case ecDeleteRight:
            return Delete(H, B, false);
        case ecInsertBarline: {
            TrecNuo4EditResult A;
            if (!CanInsertOrToggleBarline_Style_Caret(B, A) || !Apply(H, A, true)) return false;
            Nuo4ConsecutiveNoteCount() = 0;
            return true;
        }
        default:
            return false;
    }
}

}  // namespace nuo4
