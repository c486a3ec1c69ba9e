#include <gtest/gtest.h>

#include "layout/layout_line_break.h"
#include "layout/layout_paragraphs.h"
#include "layout_test_support.h"

namespace nuo4 {
namespace {

using test::Kinds;
using test::Measures;

// Every symbol is 10 mm wide: the width of a run is 10 per symbol.
TNuo4RangeWidthFunc Fixed(double AEach) {
    return [AEach](TKoRange R) { return R.Length * AEach; };
}

TEST(Paragraphs, EndAtEveryReturnAndAtTheLastSymbol) {
    const auto T = Kinds("nn|$nn|$$nn");
    const auto P = GetParagraphRangeArray(T);
    ASSERT_EQ(P.size(), 4u);
    EXPECT_EQ(P[0], TKoRange(0, 4));
    EXPECT_EQ(P[1], TKoRange(4, 4));
    EXPECT_EQ(P[2], TKoRange(8, 1));  // a lone return
    EXPECT_EQ(P[3], TKoRange(9, 2));
}

TEST(Paragraphs, LoneReturnHasEmptyMeasureRangeAndOptionsComeFromTheReturn) {
    const auto T = Kinds("nn|$$nn");
    const auto M = Measures(T);
    TrecNuo4SymbolReturnPrivateOptions Opt;
    Opt.bJustifyHorz = true;
    Opt.IndentValue = 12;
    const auto Info = GetParagraphInfoArray(GetParagraphRangeArray(T), T, M, {}, [&](int32_t I) {
        return I == 3 ? Opt : TrecNuo4SymbolReturnPrivateOptions();
    });
    ASSERT_EQ(Info.size(), 3u);
    EXPECT_EQ(Info[0].MeasureIndexRange, TKoRange(0, 1));
    EXPECT_TRUE(Info[0].Options.bJustifyHorz);
    EXPECT_FLOAT_EQ(Info[0].Options.IndentValue, 12);
    EXPECT_EQ(Info[1].MeasureIndexRange.Length, 0);
    EXPECT_EQ(Info[2].MeasureIndexRange, TKoRange(1, 1));
    // The last paragraph has no return: default options.
    EXPECT_FALSE(Info[2].Options.bJustifyHorz);
    EXPECT_FLOAT_EQ(Info[2].Options.ParagraphGapCoef, 1.0f);
}

TEST(LineBreak, NoReturnsBreaksOnlyByWidth) {
    // Four measures of three symbols (30 mm) on a 70 mm line: two per line.
    const auto T = Kinds("nn|nn|nn|nn|");
    const auto M = Measures(T);
    const auto L = GetLineRangeArray(T, M, Fixed(10), 70);
    ASSERT_EQ(L.size(), 2u);
    EXPECT_EQ(L[0].MeasureIndexRange, TKoRange(0, 2));
    EXPECT_EQ(L[0].BasicIndexRange, TKoRange(0, 6));
    EXPECT_EQ(L[1].MeasureIndexRange, TKoRange(2, 2));
    EXPECT_FALSE(L[0].bWithReturn);
}

TEST(LineBreak, WidthToleranceIsOneTenthMillimetre) {
    const auto T = Kinds("nn|nn|nn|");
    const auto M = Measures(T);
    // Two measures are 60.09 on a 60 line: within the tolerance, they stay together.
    auto L = GetLineRangeArray(T, M, Fixed(60.09 / 6), 60);
    ASSERT_EQ(L.size(), 2u);
    EXPECT_EQ(L[0].MeasureIndexRange.Length, 2);
    // 60.11 exceeds it: one measure per line.
    L = GetLineRangeArray(T, M, Fixed(60.11 / 6), 60);
    ASSERT_EQ(L.size(), 3u);
    EXPECT_EQ(L[0].MeasureIndexRange.Length, 1);
}

TEST(LineBreak, MeasureWiderThanLayoutWidthStandsAlone) {
    const auto T = Kinds("nn|nnnnnnnnnn|nn|");
    const auto M = Measures(T);
    const auto L = GetLineRangeArray(T, M, Fixed(10), 50);
    ASSERT_EQ(L.size(), 3u);
    EXPECT_EQ(L[0].MeasureIndexRange, TKoRange(0, 1));
    EXPECT_EQ(L[1].MeasureIndexRange, TKoRange(1, 1));  // 110 mm on its own line
    EXPECT_EQ(L[1].BasicIndexRange, TKoRange(3, 11));
    EXPECT_EQ(L[2].MeasureIndexRange, TKoRange(2, 1));
}

TEST(LineBreak, ReturnJoinsTheLineAndTwoReturnsGiveAnEmptyLine) {
    const auto T = Kinds("nn|nn|$$nn|");
    const auto M = Measures(T);
    const auto L = GetLineRangeArray(T, M, Fixed(10), 100);
    ASSERT_EQ(L.size(), 3u);
    EXPECT_TRUE(L[0].bWithReturn);
    EXPECT_EQ(L[0].BasicIndexRange, TKoRange(0, 7));
    EXPECT_TRUE(L[1].IsEmpty());
    EXPECT_EQ(L[1].BasicIndexRange, TKoRange(7, 1));
    EXPECT_EQ(L[2].BasicIndexRange, TKoRange(8, 3));
    EXPECT_EQ(L[2].GetBasicIndexRangeExcludeReturn(), TKoRange(8, 3));
    EXPECT_EQ(L[0].GetBasicIndexRangeExcludeReturn(), TKoRange(0, 6));
}

TEST(LineBreak, ReturnGoesWithTheLineOfTheMeasureBeforeIt) {
    // The second measure overflows and starts the second line; the return after it closes
    // that line, not the first.
    const auto T = Kinds("nnn|nnn|$");
    const auto M = Measures(T);
    const auto L = GetLineRangeArray(T, M, Fixed(10), 50);
    ASSERT_EQ(L.size(), 2u);
    EXPECT_FALSE(L[0].bWithReturn);
    EXPECT_TRUE(L[1].bWithReturn);
    EXPECT_EQ(L[1].BasicIndexRange, TKoRange(4, 5));
}

TEST(LineBreak, EveryParagraphStartsANewLine) {
    const auto T = Kinds("n|$n|$n|");
    const auto M = Measures(T);
    const auto L = GetLineRangeArray(T, M, Fixed(1), 200);
    ASSERT_EQ(L.size(), 3u);
    for (int I = 0; I < 3; ++I) EXPECT_EQ(L[I].MeasureIndexRange, TKoRange(I, 1));
    const auto P = GetParagraphInfoArray(GetParagraphRangeArray(T), T, M, L, {});
    ASSERT_EQ(P.size(), 3u);
    EXPECT_EQ(P[1].LineIndexRange, TKoRange(1, 1));
    EXPECT_EQ(ParagraphIndexOfLine(P, 2), 2);
}

TEST(LineBreak, IndentGapIsTheIndentLessTheFirstLeftWidth) {
    EXPECT_DOUBLE_EQ(GetLineIndentGap(10, 1.5), 8.5);
    EXPECT_DOUBLE_EQ(GetLineIndentGap(0.005f, 1.5), 0);  // within 0.01: no indent
}

}  // namespace
}  // namespace nuo4
