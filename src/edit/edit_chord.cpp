// Chords: a natural third above the top pitch, moving the top pitch, deleting it.

#include "edit/edit_internal.h"
#include "format/pitches.h"
#include "layout/simple_buffer.h"

namespace nuo4 {

namespace {

// The pitches of a note for a chord edit: no drum, no rest, and with bChord more than one.
bool ChordPitches(const TNuo4SimpleBuffer& B, int32_t AIndex, bool bChord, TNuo4Pitches& AP) {
    const auto* N = VoiceEdit_GetNoteRecord(B, AIndex);
    if (!N || N->PitchesValue().empty()) return false;
    AP = N->PitchesValue();
    for (const auto& P : AP)
        if (P.IsDrum() || P.IsRest()) return false;
    return !bChord || AP.size() > 1;
}

bool Write(const TNuo4SimpleBuffer& B, int32_t AIndex, const TNuo4Pitches& AP,
           TNuo4ABCTextReplaceItems& AItems) {
    const TrecNuo4ABCTextReplaceItem It = VoiceEdit_PitchesItem(B, AIndex, AP);
    if (It.IsInvalid()) return false;
    VoiceEdit_AddItem(AItems, It);
    return true;
}

template <typename F>
bool AtCaret(const TNuo4SimpleBuffer& B, TrecNuo4EditResult& AAnswer, F AFn) {
    AAnswer.SetToDefault();
    const int32_t I = VoiceEdit_CaretEditPos(B, false);
    if (I < 0 || !AFn(I, AAnswer.Items)) {
        AAnswer.SetToDefault();
        return false;
    }
    AAnswer.WithSelection(B.InternalStatus.Selection);
    return true;
}

}  // namespace

bool CanChangeChord_AddNote_Natural3th(const TNuo4SimpleBuffer& B, int32_t AIndex,
                                       TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    TNuo4Pitches P;
    if (!ChordPitches(B, AIndex, false, P) || P.size() >= 8) return false;
    TrecNuo4Pitch Top = P.back();
    if (!Top.Transpose_Natural_3th(false)) return false;
    Pitches_Add(P, Top);
    return Write(B, AIndex, P, AItems);
}

bool CanChangeChord_AdjustHighestNote(const TNuo4SimpleBuffer& B, int32_t AIndex, bool bDown,
                                      TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    TNuo4Pitches P;
    if (!ChordPitches(B, AIndex, true, P)) return false;
    TrecNuo4Pitch Top = P.back();
    if (!Top.Transpose_Semitone(bDown ? -1 : 1)) return false;
    for (size_t I = 0; I + 1 < P.size(); ++I)
        if (P[I] == Top) return false;
    P.back() = Top;
    return Write(B, AIndex, P, AItems);
}

bool CanChangeChord_DeleteHighestNote(const TNuo4SimpleBuffer& B, int32_t AIndex,
                                      TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    TNuo4Pitches P;
    if (!ChordPitches(B, AIndex, true, P)) return false;
    Pitches_DeleteRange(P, int(P.size()) - 1, 1);
    return Write(B, AIndex, P, AItems);
}

bool CanChangeChord_AddNote_Natural3th_Caret(const TNuo4SimpleBuffer& B,
                                             TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        return AtCaret(B, AAnswer, [&](int32_t I, TNuo4ABCTextReplaceItems& It) {
            return CanChangeChord_AddNote_Natural3th(B, I, It);
        });
    }());
}

bool CanChangeChord_AdjustHighestNote_Caret(const TNuo4SimpleBuffer& B, bool bDown,
                                            TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        return AtCaret(B, AAnswer, [&](int32_t I, TNuo4ABCTextReplaceItems& It) {
            return CanChangeChord_AdjustHighestNote(B, I, bDown, It);
        });
    }());
}

bool CanChangeChord_DeleteHighestNote_Caret(const TNuo4SimpleBuffer& B,
                                            TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        return AtCaret(B, AAnswer, [&](int32_t I, TNuo4ABCTextReplaceItems& It) {
            return CanChangeChord_DeleteHighestNote(B, I, It);
        });
    }());
}

}  // namespace nuo4
