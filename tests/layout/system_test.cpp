#include <gtest/gtest.h>

#include "layout/layout_rules_check.h"
#include "layout/layout_system.h"

namespace nuo4 {
namespace {

// Lines of AMeasureCounts measures of two symbols (note, bar line) each, on one page, with
// baselines 20 apart from Y 40.
struct TSysDoc {
    std::vector<TNuo4SymbolType> Types;
    std::vector<TrecNuo4Meter> Meters;
    TNuo4MeasureInfoArray Measures;
    TNuo4LineInfoArray Lines;
    TNuo4PageInfoArray Pages;
};

TSysDoc MakeSysDoc(const std::vector<int>& AMeasureCounts) {
    TSysDoc D;
    for (size_t L = 0; L < AMeasureCounts.size(); ++L) {
        TrecNuo4LineInfoItem Line;
        const int32_t First = static_cast<int32_t>(D.Types.size());
        Line.MeasureIndexRange =
            TKoRange(static_cast<int32_t>(D.Measures.size()), AMeasureCounts[L]);
        for (int M = 0; M < AMeasureCounts[L]; ++M) {
            TrecNuo4MeasureInfoItem Mi;
            Mi.BasicIndexRange = TKoRange(static_cast<int32_t>(D.Types.size()), 2);
            Mi.DVSum = 4;
            D.Measures.push_back(Mi);
            D.Types.push_back(sbstNote);
            D.Types.push_back(sbstBarline);
        }
        D.Types.push_back(sbstReturn);
        Line.bWithReturn = true;
        Line.BasicIndexRange =
            TKoRange::FromStartEnd(First, static_cast<int32_t>(D.Types.size()) - 1);
        Line.BaselineY = 40 + 20 * static_cast<float>(L);
        D.Lines.push_back(Line);
    }
    D.Meters.assign(D.Types.size(), TrecNuo4Meter::Create(0, 0));
    TrecNuo4PageInfoItem P;
    P.LineIndexRange = TKoRange(0, static_cast<int32_t>(D.Lines.size()));
    D.Pages.push_back(P);
    return D;
}

TrecNuo4SystemLayoutInput Input(const TSysDoc& D) {
    TrecNuo4SystemLayoutInput In;
    In.Types = &D.Types;
    In.SymbolMeters = &D.Meters;
    In.InitMeter = TrecNuo4Meter::Create(4, 4);
    In.DigitHeight = 4;
    return In;
}

// A brace on the first symbol of ALine reaching from just above it to just below ALast.
TrecNuo4BraceLayoutInfo Brace(const TSysDoc& D, int32_t ALine, int32_t ALast, int32_t AAttach) {
    TrecNuo4BraceLayoutInfo B;
    B.AttachIndex = AAttach;
    B.OwnerBasicIndex = D.Lines[ALine].BasicIndexRange.StartIndex;
    B.Top = D.Lines[ALine].BaselineY - 5;
    B.Bottom = D.Lines[ALast].BaselineY + 1;
    return B;
}

TEST(SystemLines, PlainLinesAreSystemsOfOne) {
    auto D = MakeSysDoc({3, 2});
    TKoRangeArray Ranges;
    TNuo4SystemLineInfoArray Sys;
    Process_System(Input(D), D.Lines, D.Pages, D.Measures, Ranges, Sys);
    ASSERT_EQ(Sys.size(), 2u);
    EXPECT_EQ(Sys[1].MeasureIndexRange_System, TKoRange(3, 2));
    EXPECT_EQ(Sys[0].AttachIndex_Brace, -1);
    EXPECT_FALSE(IsMultiParts(Sys));
    EXPECT_EQ(GetBarNumberOfMeasure(Sys, D.Lines, 4), u"5");
}

TEST(SystemLines, TwoPartSystemCountsItsLongestLineAndRepeatsTheLastMeter) {
    auto D = MakeSysDoc({2, 4, 5, 1});
    // A 3/4 meter written in the second measure of the system's first line.
    const int32_t MeterAt = D.Measures[3].BasicIndexRange.StartIndex;
    D.Types[MeterAt] = sbstMeter;
    D.Meters[MeterAt] = TrecNuo4Meter::Create(3, 4);
    auto In = Input(D);
    In.Braces.push_back(Brace(D, 1, 2, 7));
    TKoRangeArray Ranges;
    TNuo4SystemLineInfoArray Sys;
    Process_System(In, D.Lines, D.Pages, D.Measures, Ranges, Sys);
    ASSERT_EQ(Sys.size(), 3u);
    EXPECT_EQ(Ranges[1], TKoRange(1, 2));
    const auto& S = Sys[1];
    EXPECT_EQ(S.AttachIndex_Brace, 7);
    EXPECT_EQ(S.MaxMeasureCount_Line, 5);
    EXPECT_EQ(S.MinMeasureCount_Line, 4);
    EXPECT_EQ(S.MeasureIndexRange_Normal, TKoRange(2, 9));
    EXPECT_EQ(S.MeasureIndexRange_System, TKoRange(2, 5));
    ASSERT_EQ(S.MeasureMeterArray.size(), 5u);
    EXPECT_EQ(S.MeasureMeterArray[0], TrecNuo4Meter::Create(4, 4));
    EXPECT_EQ(S.MeasureMeterArray[1], TrecNuo4Meter::Create(3, 4));
    EXPECT_EQ(S.MeasureMeterArray[4], S.MeasureMeterArray[3]);
    EXPECT_EQ(Sys[2].MeasureIndexRange_System, TKoRange(7, 1));
    // The second part's measures take the first part's meters by position.
    EXPECT_EQ(D.Measures[6 + 1].Meter_System, TrecNuo4Meter::Create(3, 4));
    EXPECT_TRUE(IsMultiParts(Sys));
    // Measure 8 is the third of the second part: system measure 2 + 2, numbered from 1.
    EXPECT_EQ(GetBarNumberOfMeasure(Sys, D.Lines, 8), u"9(5)");
    // The next system starts from the last meter of the previous one.
    EXPECT_EQ(Sys[2].MeasureMeterArray[0], TrecNuo4Meter::Create(3, 4));
}

TEST(SystemLines, BraceOwnedAfterTheFirstNoteStartsNoSystem) {
    auto D = MakeSysDoc({2, 2});
    auto In = Input(D);
    auto B = Brace(D, 0, 1, 3);
    B.OwnerBasicIndex = D.Lines[0].BasicIndexRange.StartIndex + 2;  // the second note
    In.Braces.push_back(B);
    TKoRangeArray Ranges;
    TNuo4SystemLineInfoArray Sys;
    Process_System(In, D.Lines, D.Pages, D.Measures, Ranges, Sys);
    EXPECT_EQ(Sys.size(), 2u);
}

TEST(DurationErrors, DifferenceOfOneHundredthIsAnError) {
    TrecNuo4MeasureInfoItem M;
    M.Meter_System = TrecNuo4Meter::Create(3, 4);
    M.DVSum = 3;
    EXPECT_FALSE(MeasureHasDurationError(M));
    M.DVSum = 3.005f;
    EXPECT_FALSE(MeasureHasDurationError(M));
    M.DVSum = 2.99f;
    EXPECT_TRUE(MeasureHasDurationError(M));
    M.Meter_System = TrecNuo4Meter::Create(0, 4);  // a free meter has no length
    EXPECT_FALSE(MeasureHasDurationError(M));
    M.Meter_System.SetToInvalid();
    EXPECT_FALSE(MeasureHasDurationError(M));
}

TEST(RulesCheckBarline, RepeatEndStartingALineIsReportedNotEndingOne) {
    // Line 0: |: n | ; line 1: n :| $ ; line 2: :| n | | $
    const std::vector<TNuo4SymbolType> T = {sbstNote,    sbstBarline, sbstNote, sbstBarline,
                                            sbstReturn,  sbstBarline, sbstNote, sbstBarline,
                                            sbstBarline, sbstReturn};
    std::vector<TNuo4BarlineStyle> St(T.size(), blsNormal);
    St[3] = blsRepeatEnd;  // at the end of line 0: fine
    St[5] = blsRepeatEnd;  // at the start of line 1: reported
    std::vector<float> Coefs(T.size(), 2.0f);
    TNuo4LineInfoArray L(2);
    L[0].BasicIndexRange = TKoRange(0, 5);
    L[0].bWithReturn = true;
    L[0].MeasureIndexRange = TKoRange(0, 2);
    L[1].BasicIndexRange = TKoRange(5, 5);
    L[1].bWithReturn = true;
    L[1].MeasureIndexRange = TKoRange(2, 2);
    auto E = RulesCheck_Barline(L, T, Coefs, St);
    // 5: repeat end first; 7: followed by a bar line.
    EXPECT_EQ(E, (std::vector<int32_t>{5, 7}));
    St[8] = blsRepeatStart;  // a repeat start closing a line
    Coefs[1] = 0.05f;        // a squeezed bar line inside a line
    E = RulesCheck_Barline(L, T, Coefs, St);
    EXPECT_EQ(E, (std::vector<int32_t>{1, 5, 7, 8}));
}

TEST(RulesCheckBrace, SinglePartBetweenTwoMultiPartSystemsMarksTheFirstBrace) {
    TNuo4SystemLineInfoArray S(3);
    S[0].LineIndexRange = TKoRange(0, 2);
    S[0].AttachIndex_Brace = 4;
    S[1].LineIndexRange = TKoRange(2, 1);
    S[2].LineIndexRange = TKoRange(3, 2);
    S[2].AttachIndex_Brace = 9;
    TrecNuo4BraceCheckInfo Near{9, true, 103, 100};
    TrecNuo4BraceCheckInfo Far{4, true, 110, 100};
    const auto E = RulesCheck_AttachBrace({1}, S, {Near, Far});
    EXPECT_EQ(E, (std::vector<int32_t>{1, 4, 9}));
}

TEST(RulesCheckOutOfPage, AttachmentMissingThePaperIsReportedByItsOwner) {
    const TGPRectF Paper(0, 0, 210, 297);
    std::vector<TrecNuo4AttachPlaceInfo> A = {{3, true, TGPRectF(100, 100, 5, 5)},
                                              {5, true, TGPRectF(215, 100, 5, 5)},
                                              {6, false, TGPRectF(215, 100, 5, 5)},
                                              {8, true, TGPRectF(210, 10, 0, 3)}};
    EXPECT_EQ(RulesCheck_OutOfPage(A, Paper), (std::vector<int32_t>{5}));
}

TEST(RulesCheckLyric, LyricOffItsExpectedNoteIsReported) {
    // Notes at 0, 2, 4, 6: the next lyric note is two symbols on.
    auto Next = [](int32_t N) { return N + 2; };
    const std::vector<std::vector<TrecNuo4LyricCheckItem>> V = {
        {{10, 0}, {11, 2}, {12, 6}},  // 12 skipped a note
        {{20, -1}, {21, 5}},          // first note not found: not checked
    };
    EXPECT_EQ(RulesCheck_Lyric_AllVerse(V, Next), (std::vector<int32_t>{12}));
}

}  // namespace
}  // namespace nuo4
