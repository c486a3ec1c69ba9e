// Beam groups: the rhythm patterns of a short run of notes, recognised from the durations and
// cycled by the beam-group key, and the run of notes a group is made of.

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "edit/edit_internal.h"
#include "layout/simple_buffer.h"

namespace nuo4 {

namespace {

struct TDVGroupRow {
    TNuo4DVGroupType Type;
    const char* Name;
    TNuo4Duration Unit;  // the duration of length 1
    std::initializer_list<int> Lengths;
    bool bDotted;
    TNuo4DVGroupType Next;
    TNuo4DVGroupType NextOlder;
};

// In the order of the enumeration.
const TDVGroupRow Rows[Nuo4DVGroupTypeCount] = {
    {dvg_None, "dvg_None", sdNone, {}, false, dvg_None, dvg_None},
    {dvg_8th_1_1, "dvg_8th_1_1", sd8th, {1, 1}, false, dvg_16th_3_1, dvg_8th_3_1},
    {dvg_16th_3_1, "dvg_16th_3_1", sd16th, {3, 1}, false, dvg_8th_3_1, dvg_16th_1_3},
    {dvg_8th_3_1, "dvg_8th_3_1", sd8th, {3, 1}, false, dvg_8th_1_3, dvg_16th_3_1},
    {dvg_8th_1_3, "dvg_8th_1_3", sd8th, {1, 3}, false, dvg_16th_1_3, dvg_8th_1_1},
    {dvg_16th_1_3, "dvg_16th_1_3", sd16th, {1, 3}, false, dvg_8th_1_1, dvg_8th_1_3},
    {dvg_8th_2_1, "dvg_8th_2_1", sd8th, {2, 1}, true, dvg_8th_1_2, dvg_8th_1_2},
    {dvg_8th_1_2, "dvg_8th_1_2", sd8th, {1, 2}, true, dvg_8th_2_1, dvg_8th_2_1},
    {dvg_16th_2_1_1, "dvg_16th_2_1_1", sd16th, {2, 1, 1}, false, dvg_16th_1_1_2, dvg_16th_1_1_2},
    {dvg_16th_1_1_2, "dvg_16th_1_1_2", sd16th, {1, 1, 2}, false, dvg_8th_1_2_1, dvg_8th_1_2_1},
    {dvg_8th_1_2_1, "dvg_8th_1_2_1", sd8th, {1, 2, 1}, false, dvg_16th_6_1_1, dvg_16th_1_2_1},
    {dvg_16th_6_1_1, "dvg_16th_6_1_1", sd16th, {6, 1, 1}, false, dvg_16th_1_2_1, dvg_16th_1_1_6},
    {dvg_16th_1_2_1, "dvg_16th_1_2_1", sd16th, {1, 2, 1}, false, dvg_16th_1_1_6, dvg_16th_6_1_1},
    {dvg_16th_1_1_6, "dvg_16th_1_1_6", sd16th, {1, 1, 6}, false, dvg_32th_4_3_1, dvg_32th_4_3_1},
    {dvg_32th_4_3_1, "dvg_32th_4_3_1", sd32th, {4, 3, 1}, false, dvg_32th_3_1_4, dvg_32th_3_1_4},
    {dvg_32th_3_1_4, "dvg_32th_3_1_4", sd32th, {3, 1, 4}, false, dvg_16th_2_1_1, dvg_16th_2_1_1},
    {dvg_8th_1_1_1, "dvg_8th_1_1_1", sd8th, {1, 1, 1}, true, dvg_16th_3_1_2, dvg_16th_3_1_2},
    {dvg_16th_3_1_2, "dvg_16th_3_1_2", sd16th, {3, 1, 2}, true, dvg_16th_2_3_1, dvg_16th_2_3_1},
    {dvg_16th_2_3_1, "dvg_16th_2_3_1", sd16th, {2, 3, 1}, true, dvg_16th_4_1_1, dvg_16th_4_1_1},
    {dvg_16th_4_1_1, "dvg_16th_4_1_1", sd16th, {4, 1, 1}, true, dvg_16th_1_1_4, dvg_16th_1_1_4},
    {dvg_16th_1_1_4, "dvg_16th_1_1_4", sd16th, {1, 1, 4}, true, dvg_8th_1_1_1, dvg_8th_1_1_1},
    {dvg_16th_1_1_1_1,
     "dvg_16th_1_1_1_1",
     sd16th,
     {1, 1, 1, 1},
     false,
     dvg_32th_3_1_2_2,
     dvg_16th_2_4_1_1},
    {dvg_32th_3_1_2_2,
     "dvg_32th_3_1_2_2",
     sd32th,
     {3, 1, 2, 2},
     false,
     dvg_16th_2_4_1_1,
     dvg_32th_2_3_1_2},
    {dvg_16th_2_4_1_1,
     "dvg_16th_2_4_1_1",
     sd16th,
     {2, 4, 1, 1},
     false,
     dvg_16th_1_1_4_2,
     dvg_16th_1_1_4_2},
    {dvg_16th_1_1_4_2,
     "dvg_16th_1_1_4_2",
     sd16th,
     {1, 1, 4, 2},
     false,
     dvg_32th_2_3_1_2,
     dvg_32th_3_1_2_2},
    {dvg_32th_2_3_1_2,
     "dvg_32th_2_3_1_2",
     sd32th,
     {2, 3, 1, 2},
     false,
     dvg_32th_2_2_3_1,
     dvg_32th_2_2_3_1},
    {dvg_32th_2_2_3_1,
     "dvg_32th_2_2_3_1",
     sd32th,
     {2, 2, 3, 1},
     false,
     dvg_16th_1_1_1_1,
     dvg_16th_1_1_1_1},
    {dvg_16th_1_1_2_2,
     "dvg_16th_1_1_2_2",
     sd16th,
     {1, 1, 2, 2},
     true,
     dvg_16th_2_1_1_2,
     dvg_16th_2_1_1_2},
    {dvg_16th_2_1_1_2,
     "dvg_16th_2_1_1_2",
     sd16th,
     {2, 1, 1, 2},
     true,
     dvg_16th_2_2_1_1,
     dvg_16th_2_2_1_1},
    {dvg_16th_2_2_1_1,
     "dvg_16th_2_2_1_1",
     sd16th,
     {2, 2, 1, 1},
     true,
     dvg_16th_1_1_2_2,
     dvg_16th_1_1_2_2},
    {dvg_16th_1_1_4_1_1,
     "dvg_16th_1_1_4_1_1",
     sd16th,
     {1, 1, 4, 1, 1},
     false,
     dvg_32th_2_1_1_2_2,
     dvg_32th_2_1_1_2_2},
    {dvg_32th_2_1_1_2_2,
     "dvg_32th_2_1_1_2_2",
     sd32th,
     {2, 1, 1, 2, 2},
     false,
     dvg_32th_1_1_2_2_2,
     dvg_32th_1_1_2_2_2},
    {dvg_32th_1_1_2_2_2,
     "dvg_32th_1_1_2_2_2",
     sd32th,
     {1, 1, 2, 2, 2},
     false,
     dvg_32th_2_2_1_1_2,
     dvg_32th_2_2_1_1_2},
    {dvg_32th_2_2_1_1_2,
     "dvg_32th_2_2_1_1_2",
     sd32th,
     {2, 2, 1, 1, 2},
     false,
     dvg_32th_2_2_2_1_1,
     dvg_32th_2_2_2_1_1},
    {dvg_32th_2_2_2_1_1,
     "dvg_32th_2_2_2_1_1",
     sd32th,
     {2, 2, 2, 1, 1},
     false,
     dvg_16th_1_1_4_1_1,
     dvg_16th_1_1_4_1_1},
    {dvg_16th_2_1_1_1_1,
     "dvg_16th_2_1_1_1_1",
     sd16th,
     {2, 1, 1, 1, 1},
     true,
     dvg_16th_1_1_2_1_1,
     dvg_16th_1_1_2_1_1},
    {dvg_16th_1_1_2_1_1,
     "dvg_16th_1_1_2_1_1",
     sd16th,
     {1, 1, 2, 1, 1},
     true,
     dvg_16th_1_1_1_1_2,
     dvg_16th_1_1_1_1_2},
    {dvg_16th_1_1_1_1_2,
     "dvg_16th_1_1_1_1_2",
     sd16th,
     {1, 1, 1, 1, 2},
     true,
     dvg_16th_2_1_1_1_1,
     dvg_16th_2_1_1_1_1},
    {dvg_16th_1_1_1_1_1_1,
     "dvg_16th_1_1_1_1_1_1",
     sd16th,
     {1, 1, 1, 1, 1, 1},
     true,
     dvg_16th_1_1_1_1_1_1,
     dvg_16th_1_1_1_1_1_1},
};

const TDVGroupRow& Row(TNuo4DVGroupType T) {
    return Rows[int(T) < Nuo4DVGroupTypeCount ? int(T) : 0];
}

int MaxNotes(bool bDotted) {
    return bDotted ? 6 : 5;
}

// Whether the meter at the symbol has a dotted-quarter beam-group duration.
bool DottedAt(const TNuo4SimpleBuffer& B, int32_t AIndex) {
    const int32_t M = B.GetMeasureIndex_FromBasicIndex(AIndex);
    return B.CheckMeasureIndex(M) && B.MeasureInfoArray[M].Meter.DurationForDVGroupIs4thDot();
}

bool AtFullBeat(const TNuo4SimpleBuffer& B, int32_t AIndex) {
    return B.Basic_CheckIndex(AIndex) &&
           B.Basic_GetSymbol(AIndex)->BasicInfo().DV.bAtFullBeat_Before;
}

std::vector<TNuo4Duration> RunDurations(const TNuo4SimpleBuffer& B, TKoRange R) {
    std::vector<TNuo4Duration> D;
    for (int32_t I = R.StartIndex; I <= R.EndIndex(); ++I)
        D.push_back(VoiceEdit_NoteDuration(*VoiceEdit_GetNoteRecord(B, I)));
    return D;
}

}  // namespace

const char* EnumName(TNuo4DVGroupType AValue) {
    return Row(AValue).Name;
}

std::vector<TNuo4Duration> DVGroup_Durations(TNuo4DVGroupType AType) {
    std::vector<TNuo4Duration> R;
    const TDVGroupRow& W = Row(AType);
    for (int L : W.Lengths) {
        // sdNone also counts as a quarter: look among the written durations only.
        TNuo4Duration D = sdNone;
        for (int K = 1; K < Nuo4DurationCount && D == sdNone; ++K)
            if (std::fabs(Duration_Beats(TNuo4Duration(K)) - Duration_Beats(W.Unit) * L) < 0.001)
                D = TNuo4Duration(K);
        R.push_back(D);
    }
    return R;
}

bool DVGroup_IsDotted(TNuo4DVGroupType AType) {
    return Row(AType).bDotted;
}

TNuo4DVGroupType DVGroup_Recognise(const std::vector<TNuo4Duration>& ADurations, bool bDotted) {
    const int N = int(ADurations.size());
    // Plain groups stop at five notes, and the six-16ths pattern is never recognised.
    if (N < 2 || N > 5) return dvg_None;
    for (int T = 1; T < Nuo4DVGroupTypeCount; ++T) {
        const TDVGroupRow& W = Rows[T];
        if (W.bDotted != bDotted || int(W.Lengths.size()) != N) continue;
        if (DVGroup_Durations(W.Type) == ADurations) return W.Type;
    }
    return dvg_None;
}

TNuo4DVGroupType DVGroup_Next(TNuo4DVGroupType AType, bool bOlderOrder) {
    return bOlderOrder ? Row(AType).NextOlder : Row(AType).Next;
}

TNuo4DVGroupType DVGroup_First(int32_t ANoteCount, bool bDotted) {
    if (bDotted) {
        switch (ANoteCount) {
            case 2:
                return dvg_8th_2_1;
            case 3:
                return dvg_8th_1_1_1;
            case 4:
                return dvg_16th_1_1_2_2;
            case 5:
                return dvg_16th_2_1_1_1_1;
            case 6:
                return dvg_16th_1_1_1_1_1_1;
        }
        return dvg_None;
    }
    switch (ANoteCount) {
        case 2:
            return dvg_8th_1_1;
        case 3:
            return dvg_16th_2_1_1;
        case 4:
            return dvg_16th_1_1_1_1;
        case 5:
            return dvg_16th_1_1_4_1_1;
    }
    return dvg_None;
}

bool CanToggleOrSetDVGroup_Range(const TNuo4SimpleBuffer& B, const TrecNuo4EditState& AState,
                                 TKoRange ARange, bool bDotted, TNuo4DVGroupType ANewTypeForSet,
                                 bool bSetDVGroup, TNuo4ABCTextReplaceItems& AItems,
                                 TNuo4DVGroupType& ANewType, TNuo4DVGroupType& AOldType) {
    AItems.clear();
    ANewType = AOldType = dvg_None;
    if (B.Basic_GetCount() == 0 || !VoiceEdit_AllNotes(B, ARange)) return false;
    if (ARange.Length < 2 || ARange.Length > MaxNotes(bDotted)) return false;
    const std::vector<TNuo4Duration> D = RunDurations(B, ARange);
    AOldType = DVGroup_Recognise(D, bDotted);
    TNuo4DVGroupType New = AOldType != dvg_None ? DVGroup_Next(AOldType, AState.bUseOldDVGroupOrder)
                                                : DVGroup_First(ARange.Length, bDotted);
    if (bSetDVGroup) {
        if (int32_t(Row(ANewTypeForSet).Lengths.size()) != ARange.Length) return false;
        New = ANewTypeForSet;
    }
    const std::vector<TNuo4Duration> ND = DVGroup_Durations(New);
    if (int32_t(ND.size()) != ARange.Length) return false;
    for (int32_t K = 0; K < ARange.Length; ++K)
        VoiceEdit_AddItem(AItems, VoiceEdit_DurationItem(B, ARange.StartIndex + K, ND[K]));
    ANewType = New;
    if (AItems.empty()) {
        ANewType = AOldType = dvg_None;
        return false;
    }
    return true;
}

TKoRange GetNoteRangeForDVGroup_from(const TNuo4SimpleBuffer& B, const TrecNuo4EditState& AState,
                                     int32_t AFrom, bool bAllNotesMustBe4th,
                                     bool bStartAtFullBeat) {
    if (!B.Basic_IsNote(AFrom)) return TKoRange::Invalid();
    const bool bDotted = DottedAt(B, AFrom);
    const int32_t M = MaxNotes(bDotted);
    TKoRange Run = TKoRange::Invalid();
    // 1. The shortest run ending at AFrom that already is a pattern.
    std::vector<TNuo4Duration> D;
    for (int32_t I = AFrom; I >= 0 && AFrom - I < M && B.Basic_IsNote(I); --I) {
        D.insert(D.begin(), VoiceEdit_NoteDuration(*VoiceEdit_GetNoteRecord(B, I)));
        if (DVGroup_Recognise(D, bDotted) != dvg_None) {
            if (AtFullBeat(B, I)) Run = TKoRange::FromStartEnd(I, AFrom);
            break;
        }
    }
    // 2. Otherwise the notes typed last, quarters when asked.
    if (!Run.IsValid()) {
        const int32_t Limit = std::min(M, std::max(AState.ConsecutiveNoteCount, 1));
        int32_t J = 0;
        for (int32_t I = AFrom; I >= 0 && J < Limit; --I, ++J) {
            const auto* N = VoiceEdit_GetNoteRecord(B, I);
            if (!N || (bAllNotesMustBe4th && VoiceEdit_NoteDuration(*N) != sd4th)) break;
        }
        if (J >= 2) Run = TKoRange(AFrom - J + 1, J);
    }
    // 3.
    if (Run.IsValid() && bStartAtFullBeat && !AtFullBeat(B, Run.StartIndex))
        return TKoRange::Invalid();
    return Run;
}

TKoRange GetNoteRangeForDVGroup_CaretOrSelection(const TNuo4SimpleBuffer& B,
                                                 const TrecNuo4EditState& AState,
                                                 bool bAllNotesMustBe4th, bool bStartAtFullBeat) {
    const TrecNuo4Selection& S = B.InternalStatus.Selection;
    if (!S.IsEmpty()) {
        const TKoRange R = VoiceEdit_SelectionRange(S);
        return VoiceEdit_AllNotes(B, R) ? R : TKoRange::Invalid();
    }
    return GetNoteRangeForDVGroup_from(B, AState, S.CaretPos_End.GetEditPos(), bAllNotesMustBe4th,
                                       bStartAtFullBeat);
}

bool CanToggleDVGroup_Caret(const TNuo4SimpleBuffer& B, const TrecNuo4EditState& AState,
                            TrecNuo4EditResult& AAnswer, bool* ABarlineInsertted) {
    if (ABarlineInsertted) *ABarlineInsertted = false;
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        AAnswer.SetToDefault();
        const TrecNuo4Selection& S = B.InternalStatus.Selection;
        if (B.Basic_GetCount() == 0 || !S.IsEmpty()) return false;
        const int32_t L = S.CaretPos_End.GetLeftPos();
        const auto* N = VoiceEdit_GetNoteRecord(B, L);
        if (!N) return false;
        if (AState.bAutoInsertBarline) {
            const bool bDashes = Duration_RightLineCount(VoiceEdit_NoteDuration(*N)) > 0;
            TrecNuo4EditResult Bar;
            if ((AState.ConsecutiveNoteCount == 1 ||
                 (AState.ConsecutiveNoteCount == 0 && bDashes)) &&
                CanAutoInsertBarline_Caret(B, Bar)) {
                AAnswer = Bar;
                if (ABarlineInsertted) *ABarlineInsertted = true;
                return true;
            }
        }
        const TKoRange R = GetNoteRangeForDVGroup_from(B, AState, L, true, true);
        TNuo4DVGroupType New, Old;
        if (!R.IsValid() || !CanToggleOrSetDVGroup_Range(B, AState, R, DottedAt(B, L), dvg_None,
                                                         false, AAnswer.Items, New, Old)) {
            AAnswer.SetToDefault();
            return false;
        }
        AAnswer.WithSelection(S);
        return true;
    }());
}

bool CanToggleDVGroup_Selection(const TNuo4SimpleBuffer& B, const TrecNuo4EditState& AState,
                                TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        AAnswer.SetToDefault();
        const TrecNuo4Selection& S = B.InternalStatus.Selection;
        const TKoRange R = VoiceEdit_SelectionRange(S);
        TNuo4DVGroupType New, Old;
        if (S.IsEmpty() || !CanToggleOrSetDVGroup_Range(B, AState, R, DottedAt(B, R.StartIndex),
                                                        dvg_None, false, AAnswer.Items, New, Old))
            return false;
        AAnswer.WithSelection(S);
        return true;
    }());
}

bool CanSetDVGroup_CaretOrSelection(const TNuo4SimpleBuffer& B, const TrecNuo4EditState& AState,
                                    TNuo4DVGroupType AType, TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        AAnswer.SetToDefault();
        const TKoRange R = GetNoteRangeForDVGroup_CaretOrSelection(B, AState, true, true);
        TNuo4DVGroupType New, Old;
        if (!R.IsValid() || !CanToggleOrSetDVGroup_Range(B, AState, R, DottedAt(B, R.StartIndex),
                                                         AType, true, AAnswer.Items, New, Old))
            return false;
        AAnswer.WithSelection(B.InternalStatus.Selection);
        return true;
    }());
}

bool GetABCTextArrayForDVGroup_CaretOrSelection(const TNuo4SimpleBuffer& B,
                                                const TrecNuo4EditState& AState,
                                                bool bAllNotesMustBe4th, bool bStartAtFullBeat,
                                                std::vector<std::u16string>& ATexts,
                                                TNuo4DVGroupType& AStart, TNuo4DVGroupType& AEnd,
                                                int32_t& AItemIndex) {
    ATexts.clear();
    AStart = AEnd = dvg_None;
    AItemIndex = -1;
    const TKoRange R =
        GetNoteRangeForDVGroup_CaretOrSelection(B, AState, bAllNotesMustBe4th, bStartAtFullBeat);
    if (!R.IsValid()) return false;
    const bool bDotted = DottedAt(B, R.StartIndex);
    if (R.Length < 2 || R.Length > MaxNotes(bDotted)) return false;
    // The patterns of one note count and beat kind stand together in the table.
    for (int T = 1; T < Nuo4DVGroupTypeCount; ++T) {
        const TDVGroupRow& W = Rows[T];
        if (W.bDotted != bDotted || int32_t(W.Lengths.size()) != R.Length) continue;
        if (AStart == dvg_None) AStart = W.Type;
        AEnd = W.Type;
    }
    const TNuo4DVGroupType Old = DVGroup_Recognise(RunDurations(B, R), bDotted);
    for (int T = AStart; T <= AEnd; ++T) {
        const std::vector<TNuo4Duration> D = DVGroup_Durations(TNuo4DVGroupType(T));
        std::u16string S;
        for (int32_t K = 0; K < R.Length; ++K) {
            S += ToABCText_Pitches(VoiceEdit_GetNoteRecord(B, R.StartIndex + K)->PitchesValue());
            S += Duration_ToABCText(D[K]);
        }
        ATexts.push_back(std::move(S));
        if (T == Old) AItemIndex = T - AStart;
    }
    return !ATexts.empty();
}

}  // namespace nuo4
