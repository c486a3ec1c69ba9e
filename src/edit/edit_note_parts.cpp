// One note's sub-parts: digit, duration and its toggles, pitches, octave, chord pitches and the
// articulation group. Each request rewrites only the tokens of the part it changes.

#include <algorithm>

#include "edit/edit_internal.h"
#include "format/pitches.h"
#include "layout/simple_buffer.h"

namespace nuo4 {

namespace {

// The main pitch of a note: the single pitch or the lowest of a chord.
TrecNuo4Pitch MainPitch(const TrecNuo4ABCParseInfo_Note& N) {
    const TNuo4Pitches& P = N.PitchesValue();
    if (P.empty()) return TrecNuo4Pitch();
    return *std::min_element(P.begin(), P.end());
}

bool MainIsDrum(const TrecNuo4ABCParseInfo_Note& N) {
    return std::any_of(N.PitchesValue().begin(), N.PitchesValue().end(),
                       [](const TrecNuo4Pitch& P) { return P.IsDrum(); });
}

bool Add(TNuo4ABCTextReplaceItems& AItems, const TrecNuo4ABCTextReplaceItem& AItem) {
    if (AItem.IsInvalid()) return false;
    VoiceEdit_AddItem(AItems, AItem);
    return true;
}

// Runs AFn on the note at the caret and keeps the selection.
template <typename F>
bool AtCaret(const TNuo4SimpleBuffer& B, bool bNoHighlight, TrecNuo4EditResult& AAnswer, F AFn) {
    AAnswer.SetToDefault();
    const int32_t I = VoiceEdit_CaretEditPos(B, bNoHighlight);
    if (I < 0 || !AFn(I, AAnswer.Items)) {
        AAnswer.SetToDefault();
        return false;
    }
    AAnswer.WithSelection(B.InternalStatus.Selection);
    return true;
}

}  // namespace

bool CanChangeNote_Digit(const TNuo4SimpleBuffer& B, int32_t AIndex, int32_t ADigit,
                         TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    const auto* N = VoiceEdit_GetNoteRecord(B, AIndex);
    if (!N || ADigit < 0 || ADigit > 7 || MainIsDrum(*N)) return false;
    const TrecNuo4Pitch Old = MainPitch(*N);
    TrecNuo4Pitch P;
    // A rest carries neither accidental nor octave.
    if (ADigit == 0)
        P.Initialize_ToRest();
    else
        P.Initialize_ToNormalPitch(TNuo4Digit(ADigit), Old.IsRest() ? 0 : Old.Octave,
                                   Old.IsRest() ? ssNone : Old.Accidental);
    return Add(AItems, VoiceEdit_PitchesItem(B, AIndex, TNuo4Pitches{P}));
}

bool CanChangeNote_Digit_Selection(const TNuo4SimpleBuffer& B, int32_t ADigit,
                                   TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        AAnswer.SetToDefault();
        const TrecNuo4Selection& S = B.InternalStatus.Selection;
        const TKoRange R = VoiceEdit_SelectionRange(S);
        if (!B.Basic_CheckIndex(R)) return false;
        // The rest key turns every selected note into a rest; other digits change one symbol.
        if (R.Length != 1 && ADigit != 0) return false;
        for (int32_t I = R.StartIndex; I <= R.EndIndex(); ++I) {
            TNuo4ABCTextReplaceItems One;
            if (CanChangeNote_Digit(B, I, ADigit, One)) VoiceEdit_AddItems(AAnswer.Items, One);
        }
        if (AAnswer.Items.empty()) return false;
        AAnswer.WithSelection(VoiceEdit_ClearToCaret(S));
        return true;
    }());
}

bool CanChangeNote_SetDuration(const TNuo4SimpleBuffer& B, int32_t AIndex, TNuo4Duration ADuration,
                               TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    const auto* N = VoiceEdit_GetNoteRecord(B, AIndex);
    if (!N || ADuration == sdNone) return false;
    if (VoiceEdit_NoteDuration(*N) == ADuration) return false;
    return Add(AItems, VoiceEdit_DurationItem(B, AIndex, ADuration));
}

bool CanChangeNote_SetDuration_Caret(const TNuo4SimpleBuffer& B, TNuo4Duration ADuration,
                                     TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        return AtCaret(B, true, AAnswer, [&](int32_t I, TNuo4ABCTextReplaceItems& It) {
            return CanChangeNote_SetDuration(B, I, ADuration, It);
        });
    }());
}

namespace {

template <typename F>
bool ToggleAtCaret(const TNuo4SimpleBuffer& B, TrecNuo4EditResult& AAnswer, F AStep) {
    return AtCaret(B, false, AAnswer, [&](int32_t I, TNuo4ABCTextReplaceItems& It) {
        const auto* N = VoiceEdit_GetNoteRecord(B, I);
        if (!N) return false;
        return CanChangeNote_SetDuration(B, I, AStep(VoiceEdit_NoteDuration(*N)), It);
    });
}

}  // namespace

bool CanChangeNote_ToggleRightDot_Caret(const TNuo4SimpleBuffer& B, TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(
        AAnswer, [&]() -> bool { return ToggleAtCaret(B, AAnswer, Duration_ToggleRightDot); }());
}

bool CanChangeNote_ToggleRightLine_Caret(const TNuo4SimpleBuffer& B, TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(
        AAnswer, [&]() -> bool { return ToggleAtCaret(B, AAnswer, Duration_ToggleRightLine); }());
}

bool CanChangeNote_ToggleUnderline_Caret(const TNuo4SimpleBuffer& B, TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(
        AAnswer, [&]() -> bool { return ToggleAtCaret(B, AAnswer, Duration_ToggleUnderline); }());
}

bool CanChangeNote_Pitch(const TNuo4SimpleBuffer& B, int32_t AIndex, const TrecNuo4Pitch& APitch,
                         TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (!VoiceEdit_GetNoteRecord(B, AIndex) || !APitch.IsValid()) return false;
    return Add(AItems, VoiceEdit_PitchesItem(B, AIndex, TNuo4Pitches{APitch}));
}

bool CanChangeNote_Pitches(const TNuo4SimpleBuffer& B, int32_t AIndex, const TNuo4Pitches& APitches,
                           TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (!VoiceEdit_GetNoteRecord(B, AIndex) || APitches.empty()) return false;
    for (const auto& P : APitches)
        if (!P.IsValid()) return false;
    return Add(AItems, VoiceEdit_PitchesItem(B, AIndex, APitches));
}

bool CanChangeNote_Octave(const TNuo4SimpleBuffer& B, int32_t AIndex, bool bDecrease,
                          TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    const auto* N = VoiceEdit_GetNoteRecord(B, AIndex);
    if (!N || MainIsDrum(*N) || MainPitch(*N).IsRest()) return false;
    TNuo4Pitches P = N->PitchesValue();
    TNuo4Pitches G = N->Grace().Value;
    TNuo4Pitches G2 = N->Grace().Value2;
    TNuo4Pitches All = P;
    Pitches_Add(All, G);
    auto Move = [&](TNuo4Pitches& X) {
        return bDecrease ? Pitches_OctaveDown(X) : Pitches_OctaveUp(X);
    };
    if (!(bDecrease ? Pitches_CanOctaveDown(All) : Pitches_CanOctaveUp(All))) return false;
    Move(P);
    if (!G.empty()) Move(G);
    if (!G2.empty()) Move(G2);  // kept when it cannot follow
    // Only the pitch tokens are rewritten: arc starts and articulations between them stay.
    Add(AItems, VoiceEdit_PitchesItem(B, AIndex, P));
    const TKoRange GR = GetABCTextRangeForNote_Grace(B, AIndex);
    if (GR.IsValid() && !G.empty()) {
        TrecNuo4ABCTextReplaceItem It;
        It.Initialize(GR, ToABCText_Grace(G, G2));
        Add(AItems, It);
    }
    return !AItems.empty();
}

bool CanChangeNote_Octave_Caret(const TNuo4SimpleBuffer& B, bool bDecrease,
                                TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        return AtCaret(B, false, AAnswer, [&](int32_t I, TNuo4ABCTextReplaceItems& It) {
            return CanChangeNote_Octave(B, I, bDecrease, It);
        });
    }());
}

bool CanChangeNote_Octave_Selection(const TNuo4SimpleBuffer& B, bool bDecrease,
                                    TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        AAnswer.SetToDefault();
        const TKoRange R = VoiceEdit_SelectionRange(B.InternalStatus.Selection);
        if (!B.Basic_CheckIndex(R)) return false;
        for (int32_t I = R.StartIndex; I <= R.EndIndex(); ++I) {
            TNuo4ABCTextReplaceItems One;
            if (CanChangeNote_Octave(B, I, bDecrease, One)) VoiceEdit_AddItems(AAnswer.Items, One);
        }
        if (AAnswer.Items.empty()) return false;
        AAnswer.WithSelection(B.InternalStatus.Selection);
        return true;
    }());
}

bool CanChangeNote_AddOrRemoveChordPitch(const TNuo4SimpleBuffer& B, int32_t AIndex,
                                         const TrecNuo4Pitch& APitch,
                                         TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    const auto* N = VoiceEdit_GetNoteRecord(B, AIndex);
    if (!N || !APitch.IsValid() || APitch.IsDrum() || MainIsDrum(*N)) return false;
    // A rest takes no chord pitches, and a rest is no chord pitch.
    if (APitch.IsRest() || MainPitch(*N).IsRest()) return false;
    TNuo4Pitches P = N->PitchesValue();
    const int K = Pitches_IndexOf(P, APitch);
    if (K < 0) {
        if (P.size() >= 8) return false;
        Pitches_Add(P, APitch);
    } else {
        if (P.size() <= 1) return false;
        Pitches_DeleteRange(P, K, 1);
    }
    return Add(AItems, VoiceEdit_PitchesItem(B, AIndex, P));
}

bool CanChangeNote_AddOrRemoveChordPitch_Caret(const TNuo4SimpleBuffer& B,
                                               const TrecNuo4Pitch& APitch,
                                               TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        return AtCaret(B, false, AAnswer, [&](int32_t I, TNuo4ABCTextReplaceItems& It) {
            return CanChangeNote_AddOrRemoveChordPitch(B, I, APitch, It);
        });
    }());
}

bool CanChangeNote_ToggleArticulation(const TNuo4SimpleBuffer& B, int32_t AIndex,
                                      TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (!B.InternalStatus.Selection.IsEmpty()) return false;
    const auto* N = VoiceEdit_GetNoteRecord(B, AIndex);
    if (!N) return false;
    const auto& Arts = N->Articulations().Value;
    TrecNuo4ABCTextReplaceItem It;
    if (Arts.empty() || !N->Articulations().Header.IsValid()) {
        // The group stands after the arc starts, before the grace group and the pitches.
        TKoRange At = GetABCTextRangeForNote_Grace(B, AIndex);
        if (!At.IsValid()) At = GetABCTextRangeForNote_Pitches(B, AIndex);
        if (!At.IsValid()) return false;
        It.InitializeForInsert(At.StartIndex,
                               ToABCText_Articulations(TNuo4Articulations{mfsaBoYin}));
        return Add(AItems, It);
    }
    if (Arts.size() > 1) return false;
    const TKoRange G = GetABCTextRangeForNote_Articulations(B, AIndex);
    if (!G.IsValid()) return false;
    TNuo4Articulations Next;
    switch (Arts[0].Articulation) {
        case mfsaBoYin:
            Next = {mfsaZhongYin};
            break;
        case mfsaZhongYin:
            Next = {mfsaDunYin};
            break;
        case mfsaDunYin:
            Next = {mfsaBaoChiYin};
            break;
        case mfsaBaoChiYin:
            Next = {mfsaYanYin};
            break;
        case mfsaYanYin:
            Next = {mfsaChanYin};
            break;
        default:
            break;  // the end of the cycle, or any other: the group goes
    }
    It.Initialize(G, ToABCText_Articulations(Next));
    return Add(AItems, It);
}

bool CanChangeNote_ToggleArticulation_Caret(const TNuo4SimpleBuffer& B,
                                            TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        return AtCaret(B, false, AAnswer, [&](int32_t I, TNuo4ABCTextReplaceItems& It) {
            return CanChangeNote_ToggleArticulation(B, I, It);
        });
    }());
}

}  // namespace nuo4
