// Transposing the pitches of notes; a chord moves as a whole or not at all.

#include "edit/edit_internal.h"
#include "layout/simple_buffer.h"

namespace nuo4 {

bool CanTranspose(const TNuo4SimpleBuffer& B, int32_t AIndex, int32_t AOffset, bool bSemitone,
                  TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    const auto* N = VoiceEdit_GetNoteRecord(B, AIndex);
    if (!N || N->PitchesValue().empty() || AOffset == 0) return false;
    TNuo4Pitches P = N->PitchesValue();
    for (auto& X : P) {
        if (X.IsRest() || X.IsDrum()) return false;
        if (!X.Transpose(AOffset, bSemitone)) return false;
    }
    const TrecNuo4ABCTextReplaceItem It = VoiceEdit_PitchesItem(B, AIndex, P);
    if (It.IsInvalid()) return false;
    VoiceEdit_AddItem(AItems, It);
    return true;
}

bool CanTranspose_Range(const TNuo4SimpleBuffer& B, TKoRange ARange, int32_t AOffset,
                        bool bSemitone, TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (!B.Basic_CheckIndex(ARange)) return false;
    for (int32_t I = ARange.StartIndex; I <= ARange.EndIndex(); ++I) {
        TNuo4ABCTextReplaceItems One;
        if (CanTranspose(B, I, AOffset, bSemitone, One)) VoiceEdit_AddItems(AItems, One);
    }
    return !AItems.empty();
}

bool CanTranspose_SelectionOrCaret(const TNuo4SimpleBuffer& B, int32_t AOffset, bool bSemitone,
                                   bool bAllDocWhenNoSelection, TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        AAnswer.SetToDefault();
        if (!B.InternalStatus.Highlight.IsEmpty() || B.Basic_GetCount() == 0) return false;
        const TrecNuo4Selection& S = B.InternalStatus.Selection;
        TKoRange R = VoiceEdit_SelectionRange(S);
        if (S.IsEmpty())
            R = bAllDocWhenNoSelection ? TKoRange(0, B.Basic_GetCount())
                                       : TKoRange(S.CaretPos_End.GetEditPos(), 1);
        if (!CanTranspose_Range(B, R, AOffset, bSemitone, AAnswer.Items)) return false;
        AAnswer.WithSelection(S);
        return true;
    }());
}

}  // namespace nuo4
