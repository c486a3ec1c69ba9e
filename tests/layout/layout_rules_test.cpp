// The rules of the voice stage and of horizontal spacing, computed on plain records.
#include "layout/layout_rules.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace nuo4;

namespace {

TrecNuo4Pitch P(int ADigit, int AAccidental = 0, int AOctave = 0) {
    TrecNuo4Pitch R;
    R.Initialize_ToNormalPitch(ADigit, AOctave, AAccidental);
    return R;
}

TrecNuo4ArcInfoItem Tuplet(int32_t AStart, int32_t AEnd, int32_t AN, int32_t AM = 0) {
    TrecNuo4ArcInfoItem A;
    A.BasicIndexRange = TKoRange::FromStartEnd(AStart, AEnd);
    A.ABCInfo.TupletNumber = AN;
    A.ABCInfo.Duration = AM;
    return A;
}

TrecNuo4MeasureSymbol M(TNuo4SymbolType AType, float ADV = 0) {
    TrecNuo4MeasureSymbol S;
    S.Type = AType;
    S.DV = ADV;
    return S;
}

}  // namespace

// ---- Durations ------------------------------------------------------------------------------

TEST(TupletDuration, TripletOfEighthsIsOneThirdEach) {
    EXPECT_NEAR(Nuo4TupletNoteDV(3, 0, sd8th), 1.0 / 3, 1e-9);
    // A quarter triplet and a sixteenth triplet use the same row of the table.
    EXPECT_NEAR(Nuo4TupletNoteDV(3, 0, sd4th), 2.0 / 3, 1e-9);
    EXPECT_NEAR(Nuo4TupletNoteDV(2, 0, sd16th), 0.25, 1e-9);
}

TEST(TupletDuration, TableRowsFollowTheTupletNumber) {
    EXPECT_NEAR(Nuo4TupletNoteDV(5, 0, sd16th), 1.0 / 5, 1e-9);  // 4 to 7: 2 underlines -> 1
    EXPECT_NEAR(Nuo4TupletNoteDV(7, 0, sd8th), 2.0 / 7, 1e-9);   // 1 underline -> 2
    EXPECT_NEAR(Nuo4TupletNoteDV(9, 0, sd32th), 1.0 / 9, 1e-9);  // other: 3 underlines -> 1
    EXPECT_NEAR(Nuo4TupletNoteDV(9, 0, sd64th), 0.5 / 9, 1e-9);  // 4 underlines -> 0.5
    EXPECT_NEAR(Nuo4TupletNoteDV(3, 0, sd64th), 0.125 / 3, 1e-9);
}

TEST(TupletDuration, WrittenTotalScalesTheNominalValue) {
    // "3:2" over eighths: each 0.5 x 2 / 3.
    EXPECT_NEAR(Nuo4TupletNoteDV(3, 2, sd8th), 1.0 / 3, 1e-9);
    EXPECT_NEAR(Nuo4TupletNoteDV(5, 4, sd16th), 0.25 * 4 / 5, 1e-9);
}

TEST(Durations, NotesOutsideTupletsTakeTheirNominalValueOthersZero) {
    std::vector<TrecNuo4DVSymbol> S = {
        {true, sd8th}, {true, sd8th}, {true, sd8th}, {false, sdNone}, {true, sd1thPlus4}};
    const std::vector<float> DV = Nuo4CalcDV(S, {Tuplet(0, 2, 3)});
    EXPECT_NEAR(DV[0], 1.0 / 3, 1e-6);
    EXPECT_NEAR(DV[2], 1.0 / 3, 1e-6);
    EXPECT_EQ(DV[3], 0);
    EXPECT_EQ(DV[4], 8);  // a whole with four added beats
}

TEST(Durations, PlainArcsAndBrokenRangesDoNotChangeDurations) {
    std::vector<TrecNuo4DVSymbol> S = {{true, sd8th}, {true, sd8th}};
    TrecNuo4ArcInfoItem Slur = Tuplet(0, 1, 0);
    const std::vector<float> DV = Nuo4CalcDV(S, {Slur, Tuplet(0, 5, 3)});
    EXPECT_EQ(DV[0], 0.5f);
    EXPECT_EQ(DV[1], 0.5f);
}

// Nested and overlapping tuplets over six eighths (symbol 2 of the last rows is a bar line):
// in a voice the tuplet listed last decides, in a temporary voice the first that holds the note.
TEST(Durations, NestedTupletsDecideByArcOrder) {
    constexpr double T3 = 1.0 / 3, T5 = 0.4, T7 = 2.0 / 7, T16 = 0.25, E = 0.5;
    struct Case {
        const char* Name;
        bool bBarAt2;
        std::vector<TrecNuo4ArcInfoItem> Arcs;
        std::vector<double> Voice, Branch;
    };
    const Case Cases[] = {
        {"inner listed first",
         false,
         {Tuplet(1, 3, 3), Tuplet(0, 5, 5)},
         {T5, T5, T5, T5, T5, T5},
         {T5, T3, T3, T3, T5, T5}},
        {"outer listed first",
         false,
         {Tuplet(0, 5, 5), Tuplet(1, 3, 3)},
         {T5, T3, T3, T3, T5, T5},
         {T5, T5, T5, T5, T5, T5}},
        {"three deep, middle last",
         false,
         {Tuplet(2, 3, 3), Tuplet(0, 5, 7), Tuplet(1, 4, 5)},
         {T7, T5, T5, T5, T5, T7},
         {T7, T7, T3, T3, T7, T7}},
        {"one running past the end",
         false,
         {Tuplet(3, 9, 5), Tuplet(0, 1, 3)},
         {T3, T3, E, E, E, E},
         {T3, T3, E, T5, T5, T5}},
        {"out-of-table number, plain arc, bar line",
         true,
         {Tuplet(2, 3, 16), Tuplet(0, 5, 0), Tuplet(0, 5, 3)},
         {T3, T3, 0, T3, T3, T3},
         {T3, T3, 0, 0, T3, T3}},
        {"out-of-table number listed last",
         false,
         {Tuplet(0, 5, 3), Tuplet(2, 3, 16)},
         {T3, T3, T16, T16, T3, T3},
         {T3, T3, T3, T3, T3, T3}},
    };
    for (const Case& C : Cases) {
        std::vector<TrecNuo4DVSymbol> S(6, {true, sd8th});
        if (C.bBarAt2) S[2] = {false, sdNone};
        const std::vector<float> V = Nuo4CalcDV(S, C.Arcs);
        const std::vector<float> B = Nuo4CalcDV_AttachBranch(S, C.Arcs);
        for (size_t I = 0; I < S.size(); ++I) {
            EXPECT_FLOAT_EQ(V[I], float(C.Voice[I])) << C.Name << " voice " << I;
            EXPECT_FLOAT_EQ(B[I], float(C.Branch[I])) << C.Name << " branch " << I;
        }
    }
    // 200 tuplets nested inside each other over 400 notes, outermost listed first.
    constexpr int32_t N = 400;
    std::vector<TrecNuo4DVSymbol> S(N, {true, sd16th});
    std::vector<TrecNuo4ArcInfoItem> Arcs;
    for (int32_t K = 0; K < N / 2; ++K) Arcs.push_back(Tuplet(K, N - 1 - K, 3 + K % 13));
    const std::vector<float> V = Nuo4CalcDV(S, Arcs);
    const std::vector<float> B = Nuo4CalcDV_AttachBranch(S, Arcs);
    for (int32_t I = 0; I < N; ++I) {
        const int32_t Innermost = std::min(I, N - 1 - I);
        EXPECT_FLOAT_EQ(V[I], float(Nuo4TupletNoteDV(3 + Innermost % 13, 0, sd16th))) << I;
        EXPECT_FLOAT_EQ(B[I], float(Nuo4TupletNoteDV(3, 0, sd16th))) << I;
    }
}

// ---- Beats and measures -----------------------------------------------------------------------

TEST(FullBeat, SixEightCountsDottedQuarters) {
    const TrecNuo4Meter M68 = TrecNuo4Meter::Create(6, 8);
    for (double Pos : {0.0, 1.5, 3.0, 4.5}) EXPECT_TRUE(Nuo4IsAtFullBeat(Pos, M68)) << Pos;
    for (double Pos : {0.5, 1.0, 2.0, 4.0}) EXPECT_FALSE(Nuo4IsAtFullBeat(Pos, M68)) << Pos;
    EXPECT_TRUE(Nuo4IsAtFullBeat(1.509, M68));  // within 0.01
    EXPECT_FALSE(Nuo4IsAtFullBeat(1.52, M68));
}

TEST(FullBeat, FourFourCountsEveryWholeNumberAndNeverANegative) {
    const TrecNuo4Meter M44 = TrecNuo4Meter::Create(4, 4);
    for (double Pos : {0.0, 1.0, 2.0, 3.0, 4.0}) EXPECT_TRUE(Nuo4IsAtFullBeat(Pos, M44));
    EXPECT_FALSE(Nuo4IsAtFullBeat(0.5, M44));
    EXPECT_FALSE(Nuo4IsAtFullBeat(-1.0, M44));
    EXPECT_EQ(Nuo4BeatUnit(TrecNuo4Meter::Create(3, 8)), 1.5);
    EXPECT_EQ(Nuo4BeatUnit(TrecNuo4Meter::Create(2, 8)), 1.0);
}

TEST(Measures, BarlineAtStartOpensTheFirstMeasure) {
    std::vector<TrecNuo4CalcInfo_DV> DV;
    auto R = Nuo4CalcMeasures({M(sbstBarline), M(sbstNote, 1), M(sbstBarline), M(sbstNote, 1)},
                              TrecNuo4Meter(), DV);
    ASSERT_EQ(R.size(), 2u);
    EXPECT_EQ(R[0].BasicIndexRange, TKoRange(0, 3));
    EXPECT_EQ(R[1].BasicIndexRange, TKoRange(3, 1));
}

TEST(Measures, TwoBarlinesInARowCloseAtTheFirstAndStartWithTheSecond) {
    std::vector<TrecNuo4CalcInfo_DV> DV;
    auto R = Nuo4CalcMeasures(
        {M(sbstNote, 1), M(sbstBarline), M(sbstBarline), M(sbstNote, 2), M(sbstBarline)},
        TrecNuo4Meter(), DV);
    ASSERT_EQ(R.size(), 2u);
    EXPECT_EQ(R[0].BasicIndexRange, TKoRange(0, 2));
    EXPECT_EQ(R[1].BasicIndexRange, TKoRange(2, 3));
    EXPECT_EQ(R[1].DVSum, 2);
}

TEST(Measures, ReturnBelongsToNoMeasure) {
    std::vector<TrecNuo4CalcInfo_DV> DV;
    auto R = Nuo4CalcMeasures({M(sbstNote, 1), M(sbstBarline), M(sbstReturn), M(sbstNote, 1),
                               M(sbstReturn), M(sbstReturn)},
                              TrecNuo4Meter(), DV);
    ASSERT_EQ(R.size(), 2u);
    EXPECT_EQ(R[0].BasicIndexRange, TKoRange(0, 2));
    EXPECT_EQ(R[1].BasicIndexRange, TKoRange(3, 1));  // ends before the return
}

TEST(Measures, BeatPositionsRestartAfterEveryMeasureAndFollowMeterChanges) {
    std::vector<TrecNuo4CalcInfo_DV> DV;
    TrecNuo4MeasureSymbol Meter = M(sbstMeter);
    Meter.Meter = TrecNuo4Meter::Create(6, 8);
    auto R = Nuo4CalcMeasures(
        {M(sbstNote, 1), M(sbstBarline), Meter, M(sbstNote, 1.5f), M(sbstNote, 0.5f)},
        TrecNuo4Meter::Create(2, 4), DV);
    ASSERT_EQ(R.size(), 2u);
    EXPECT_EQ(R[0].Meter, TrecNuo4Meter::Create(2, 4));
    EXPECT_EQ(R[1].Meter, TrecNuo4Meter::Create(6, 8));
    EXPECT_EQ(R[1].DVSum, 2.0f);
    EXPECT_EQ(DV[3].DVSumWithinMeasure_Before, 0);
    EXPECT_EQ(DV[3].DVSumWithinMeasure_After, 1.5f);
    EXPECT_TRUE(DV[3].bAtFullBeat_After);   // 1.5 in 6/8
    EXPECT_FALSE(DV[4].bAtFullBeat_After);  // 2.0 in 6/8
    EXPECT_TRUE(DV[0].bAtFullBeat_After);   // 1 in 2/4
}

TEST(Measures, InvalidInitialMeterFallsBackToTheDefault) {
    std::vector<TrecNuo4CalcInfo_DV> DV;
    TrecNuo4Meter Bad;
    Bad.SetToInvalid();
    auto R = Nuo4CalcMeasures({M(sbstNote, 1)}, Bad, DV);
    ASSERT_EQ(R.size(), 1u);
    EXPECT_EQ(R[0].Meter, TrecNuo4Meter::Create(4, 4));
}

// ---- MIDI notes -----------------------------------------------------------------------------

namespace {

TrecNuo4MidiSymbol Note(TrecNuo4Pitch AP) {
    TrecNuo4MidiSymbol S;
    S.bNote = true;
    S.Pitches = {AP};
    return S;
}
TrecNuo4MidiSymbol Bar() {
    return TrecNuo4MidiSymbol();
}
TrecNuo4MeasureInfoItem Measure(int32_t AStart, int32_t AEnd) {
    TrecNuo4MeasureInfoItem M;
    M.BasicIndexRange = TKoRange::FromStartEnd(AStart, AEnd);
    return M;
}

}  // namespace

TEST(MidiNotes, SharpCarriesWithinTheMeasureAndIsClearedAtTheBarline) {
    // #1 1 | 1
    auto R = Nuo4CalcMidiNotes({Note(P(1, 1)), Note(P(1)), Bar(), Note(P(1))},
                               {Measure(0, 2), Measure(3, 3)}, {{0, 0}});
    EXPECT_EQ(R[0].MidiNotes, std::vector<uint8_t>{61});
    EXPECT_EQ(R[1].MidiNotes, std::vector<uint8_t>{61});
    EXPECT_EQ(R[3].MidiNotes, std::vector<uint8_t>{60});
    EXPECT_TRUE(R[2].MidiNotes.empty());
}

TEST(MidiNotes, FlatCarriesOnlyToTheSameDigitAndOctave) {
    auto R = Nuo4CalcMidiNotes({Note(P(7, -1)), Note(P(7, 0, 1)), Note(P(7)), Note(P(6))},
                               {Measure(0, 3)}, {{0, 0}});
    EXPECT_EQ(R[1].MidiNotes[0], 83);  // high 7 unchanged
    EXPECT_EQ(R[2].MidiNotes[0], 70);  // 7 flattened
    EXPECT_EQ(R[3].MidiNotes[0], 69);
}

TEST(MidiNotes, NaturalCancelsTheRememberedAccidental) {
    auto R =
        Nuo4CalcMidiNotes({Note(P(4, 1)), Note(P(4, 2)), Note(P(4))}, {Measure(0, 2)}, {{0, 0}});
    EXPECT_EQ(R[0].MidiNotes[0], 66);
    EXPECT_EQ(R[1].MidiNotes[0], 65);
    EXPECT_EQ(R[2].MidiNotes[0], 65);
}

TEST(MidiNotes, KeyChangesApplyFromTheirIndex) {
    // 1=D from the start, 1=F from index 2.
    const std::vector<TrecNuo4KeyChange> Keys = {{0, 2}, {2, 5}};
    auto R =
        Nuo4CalcMidiNotes({Note(P(1)), Note(P(1)), Note(P(1)), Note(P(5))}, {Measure(0, 3)}, Keys);
    EXPECT_EQ(R[0].MidiNotes[0], 62);
    EXPECT_EQ(R[0].Key, 2);
    EXPECT_EQ(R[1].MidiNotes[0], 62);
    EXPECT_EQ(R[2].MidiNotes[0], 65);
    EXPECT_EQ(R[3].Key, 5);
    EXPECT_EQ(R[3].MidiNotes[0], 72);
}

TEST(MidiNotes, KeyInForceBeforeEveryEntryIsTheFirstEntry) {
    EXPECT_EQ(Nuo4KeyInForce({{3, 7}, {5, 2}}, 1), 7);
    EXPECT_EQ(Nuo4KeyInForce({{3, 7}, {5, 2}}, 5), 2);
    EXPECT_EQ(Nuo4KeyInForce({}, 5), 0);
}

TEST(MidiNotes, AccidentalInAKeyMovesTheSoundingPitch) {
    // In D, #4 sounds G# and carries to the next 4.
    auto R = Nuo4CalcMidiNotes({Note(P(4, 1)), Note(P(4))}, {Measure(0, 1)}, {{0, 2}});
    EXPECT_EQ(R[0].MidiNotes[0], 68);
    EXPECT_EQ(R[1].MidiNotes[0], 68);
}

// ---- Arcs -----------------------------------------------------------------------------------

TEST(ArcMarks, EndsMatchTheNearestEarlierStart) {
    // ((1 2) 3): index 0 has two starts, 1 one end, 2 one end.
    auto R = Nuo4MatchArcMarks({{0, 2, 0}, {1, 0, 1}, {2, 0, 1}});
    ASSERT_EQ(R.size(), 2u);
    EXPECT_EQ(R[0], TKoRange::FromStartEnd(0, 1));
    EXPECT_EQ(R[1], TKoRange::FromStartEnd(0, 2));
}

TEST(ArcMarks, UnmatchedEndsAndStartsAreDropped) {
    auto R = Nuo4MatchArcMarks({{0, 0, 1}, {1, 1, 0}, {2, 0, 2}, {3, 1, 0}});
    ASSERT_EQ(R.size(), 1u);
    EXPECT_EQ(R[0], TKoRange::FromStartEnd(1, 2));
}

TEST(ArcMarks, AnEndNeverMatchesAStartOnTheSameNote) {
    // 1( 2)( 3): the middle note ends one arc and starts the next.
    auto R = Nuo4MatchArcMarks({{0, 1, 0}, {1, 1, 1}, {2, 0, 1}});
    ASSERT_EQ(R.size(), 2u);
    EXPECT_EQ(R[0], TKoRange::FromStartEnd(0, 1));
    EXPECT_EQ(R[1], TKoRange::FromStartEnd(1, 2));
}

TEST(ArcDepth, SharedStartsAndEndsCountOutward) {
    TNuo4ArcInfoArray A(3);
    A[0].BasicIndexRange = TKoRange::FromStartEnd(0, 4);
    A[1].BasicIndexRange = TKoRange::FromStartEnd(0, 2);
    A[2].BasicIndexRange = TKoRange::FromStartEnd(2, 4);
    Nuo4ArcInfoArray_GetArcDepth(A);
    // Sorted by end, ties by start descending: (0,2), (2,4), (0,4).
    ASSERT_EQ(A[0].BasicIndexRange, TKoRange::FromStartEnd(0, 2));
    EXPECT_EQ(A[0].Depth_Start, 0);
    EXPECT_EQ(A[0].Depth_End, 0);
    ASSERT_EQ(A[1].BasicIndexRange, TKoRange::FromStartEnd(2, 4));
    EXPECT_EQ(A[1].Depth_Start, 0);
    EXPECT_EQ(A[1].Depth_End, 0);
    ASSERT_EQ(A[2].BasicIndexRange, TKoRange::FromStartEnd(0, 4));
    EXPECT_EQ(A[2].Depth_Start, 1);
    EXPECT_EQ(A[2].Depth_End, 1);
}

// ---- Automatic advance widths -----------------------------------------------------------------

namespace {

// Two notes of the default style: W = 2.4 mm.
TrecNuo4HorzSpacingInfoForGetAW NotePair(TNuo4Duration AThis, TNuo4Duration ANext, bool bFullBeat) {
    TrecNuo4HorzSpacingInfoForGetAW A;
    A.ThisSymbol_Type = A.NextSymbol_Type = sbstNote;
    A.ThisSymbol_Duration = AThis;
    A.NextSymbol_Duration = ANext;
    A.ThisSymbol_DV = float(Duration_Beats(AThis));
    A.NextSymbol_DV = float(Duration_Beats(ANext));
    A.ThisSymbol_RightWidth = 1.2;
    A.NextSymbol_LeftWidth = 1.2;
    A.ThisSymbol_DigitWidth = 2.4;
    A.ThisSymbol_RightLineWidth = 1.92;
    A.ThisSymbol_bAtFullBeat_After = bFullBeat;
    return A;
}

TrecNuo4DocOptions Defaults() {
    TrecNuo4DocOptions O;
    O.SetToDefault();
    return O;
}

}  // namespace

TEST(AutoAWCoef, QuarterFollowedByQuarterTakesItsDurationCoefficient) {
    const TrecNuo4DocOptions O = Defaults();
    // N = 1, D = 2.987 > N + 1.0.
    EXPECT_NEAR(Nuo4AutoGetAWCoef(NotePair(sd4th, sd4th, true), O), 2.987, 0.001);
    // Wide digits: N = 2.5, so N + the full-beat gap wins.
    auto Wide = NotePair(sd4th, sd4th, true);
    Wide.ThisSymbol_RightWidth = Wide.NextSymbol_LeftWidth = 3.0;
    EXPECT_NEAR(Nuo4AutoGetAWCoef(Wide, O), 3.5, 1e-5);
}

TEST(AutoAWCoef, NonFullBeatBeforeANoteWithoutUnderlineKeepsItsMinimumGap) {
    const TrecNuo4DocOptions O = Defaults();
    auto A = NotePair(sd16th, sd4th, false);
    A.ThisSymbol_RightWidth = A.NextSymbol_LeftWidth = 1.8;  // N = 1.5
    EXPECT_NEAR(Nuo4AutoGetAWCoef(A, O), 1.5 + 0.7, 1e-5);
    // Before an underlined note the gap is Note_Note only: max(N + 0, D = 1.3).
    auto B = NotePair(sd16th, sd8th, false);
    B.ThisSymbol_RightWidth = B.NextSymbol_LeftWidth = 1.8;
    EXPECT_NEAR(Nuo4AutoGetAWCoef(B, O), 1.5, 1e-5);
}

TEST(AutoAWCoef, GapsShrinkToSixTenthsBeforeANoteWithLeftExtra) {
    const TrecNuo4DocOptions O = Defaults();
    auto A = NotePair(sd4th, sd4th, true);
    A.ThisSymbol_RightWidth = A.NextSymbol_LeftWidth = 3.0;  // N = 2.5
    A.NextSymbol_bWithLeftExtra = true;
    EXPECT_NEAR(Nuo4AutoGetAWCoef(A, O), 2.5 + 0.6, 1e-5);
    // Bar line to a grace-led note.
    TrecNuo4HorzSpacingInfoForGetAW B = A;
    B.ThisSymbol_Type = sbstBarline;
    EXPECT_NEAR(Nuo4AutoGetAWCoef(B, O), 2.5 + 0.6, 1e-5);
    B.NextSymbol_bWithLeftExtra = false;
    EXPECT_NEAR(Nuo4AutoGetAWCoef(B, O), 2.5 + 1.0, 1e-5);
}

TEST(AutoAWCoef, LastSymbolBeforeAReturnGetsNoGap) {
    const TrecNuo4DocOptions O = Defaults();
    auto A = NotePair(sd4th, sdNone, true);
    A.NextSymbol_Type = sbstReturn;
    A.ThisSymbol_RightWidth = 4.8;  // N = 2 (the next left width is ignored)
    EXPECT_NEAR(Nuo4AutoGetAWCoef(A, O), 2.987, 0.001);
    A.ThisSymbol_RightWidth = 9.6;
    EXPECT_NEAR(Nuo4AutoGetAWCoef(A, O), 4.0, 1e-5);
    A.ThisSymbol_Type = sbstBarline;
    A.ThisSymbol_RightWidth = 1.2;
    EXPECT_NEAR(Nuo4AutoGetAWCoef(A, O), 0.5, 1e-5);
    A.ThisSymbol_Type = sbstReturn;
    EXPECT_EQ(Nuo4AutoGetAWCoef(A, O), 0);
    EXPECT_EQ(Nuo4AutoGetAWCoef(TrecNuo4HorzSpacingInfoForGetAW(), O), 0);
}

TEST(AutoAWCoef, NoteBeforeABarlineUsesTheFixedGapUnlessItHasDashes) {
    TrecNuo4DocOptions O = Defaults();
    auto A = NotePair(sd4th, sdNone, true);
    A.NextSymbol_Type = sbstBarline;  // N = 1
    EXPECT_NEAR(Nuo4AutoGetAWCoef(A, O), 2.0, 1e-5);
    O.Param_HorzSpacing_Gap.bNoteBarlineGapIsFixed = false;
    EXPECT_NEAR(Nuo4AutoGetAWCoef(A, O), 2.987, 0.001);
    O.Param_HorzSpacing_Gap.bNoteBarlineGapIsFixed = true;
    A.ThisSymbol_Duration = sd2th;
    A.ThisSymbol_DV = 2;
    EXPECT_NEAR(Nuo4AutoGetAWCoef(A, O), 4.527, 0.001);
}

TEST(AutoAWCoef, UnlockedDashesSpreadOverTheirSlots) {
    const TrecNuo4DocOptions O = Defaults();
    auto A = NotePair(sd2thDot, sd4th, true);
    A.ThisSymbol_WithRightlineAndRightlineSpacingIsNotLocked = true;
    // k = 2: 3 x (0 + 0.96 + 1.2) / 2.4 = 2.7; then at least N + 1.0 = 2.
    EXPECT_NEAR(Nuo4AutoGetAWCoef(A, O), 2.7, 1e-5);
    A.ThisSymbol_WithRightlineAndRightlineSpacingIsNotLocked = false;
    EXPECT_NEAR(Nuo4AutoGetAWCoef(A, O), O.Param_HorzSpacing_AW.GetAWCoef(3), 1e-5);
}

TEST(AutoAWCoef, NoteBeforeOtherSymbols) {
    const TrecNuo4DocOptions O = Defaults();
    auto A = NotePair(sd4th, sdNone, true);
    A.NextSymbol_Type = sbstText;
    EXPECT_NEAR(Nuo4AutoGetAWCoef(A, O), 1.5, 1e-5);
    A.NextSymbol_Type = sbstAccompMarker;
    EXPECT_NEAR(Nuo4AutoGetAWCoef(A, O), 2.987, 0.001);
    A.ThisSymbol_Type = sbstMeter;
    EXPECT_NEAR(Nuo4AutoGetAWCoef(A, O), 1.5, 1e-5);
}

TEST(AccompEndMarker, NoteKeepsItsRightWidthAndMarkerTakesTheRest) {
    float Note = 2.987f, Marker = 1.5f;
    Nuo4AdjustAccompEndMarker(Note, Marker, 1.2, 2.4);
    EXPECT_NEAR(Note, 1.0, 1e-6);
    EXPECT_NEAR(Marker, 2.987 + 1.5 - 1.0 - 0.5, 1e-5);
}

// ---- Justification ----------------------------------------------------------------------------

TEST(FitFactor, StretchesUpToTheMaximumOnly) {
    double F = 0;
    ASSERT_TRUE(Nuo4GetFitFactor(170, 10, 90, 3, F));
    EXPECT_NEAR(F, 2.0, 1e-9);
    EXPECT_FALSE(Nuo4GetFitFactor(170, 10, 60, 3, F));     // factor 3.2
    EXPECT_FALSE(Nuo4GetFitFactor(170, 10, 63.35, 3, F));  // within 0.01 of the maximum
    EXPECT_EQ(F, 1);
    ASSERT_TRUE(Nuo4GetFitFactor(170, 10, 63.7, 3, F));
}

TEST(FitFactor, CompressesAnOverlongLineAndRefusesDegenerateWidths) {
    double F = 0;
    ASSERT_TRUE(Nuo4GetFitFactor(170, 10, 330, 3, F));
    EXPECT_NEAR(F, 0.5, 1e-9);
    EXPECT_FALSE(Nuo4GetFitFactor(170, 10, 10, 3, F));  // nothing to stretch
    EXPECT_FALSE(Nuo4GetFitFactor(5, 10, 50, 3, F));    // the fixed part alone overflows
}
