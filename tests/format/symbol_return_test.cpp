#include "format/symbol_return.h"

#include <gtest/gtest.h>

#include "test_util.h"

using namespace nuo4;
using nuo4::test::All;

namespace {

TrecNuo4ABCParseInfo_Return Read(std::u16string_view S, int32_t& End) {
    TrecNuo4ABCParseInfo_Return R;
    ReadReturn(S, All(S), R, End);
    return R;
}

}  // namespace

TEST(ReturnRead, DollarAloneHasDefaultOptions) {
    int32_t End = -1;
    const auto R = Read(u"$", End);
    ASSERT_TRUE(R.IsValid());
    EXPECT_EQ(End, 0);
    EXPECT_TRUE(R.Value.PrivateOptions.IsDefault());
    EXPECT_FLOAT_EQ(R.Value.PrivateOptions.ParagraphGapCoef, 1.0f);
    EXPECT_EQ(R.TokenItems.GetRangeOfFirst(ttReturn), TKoRange(0, 1));
}

TEST(ReturnRead, ItemsInOrder) {
    int32_t End = -1;
    const auto R = Read(u"$(True,5,1.5)", End);
    ASSERT_TRUE(R.IsValid());
    EXPECT_EQ(End, 12);
    const auto& O = R.Value.PrivateOptions;
    EXPECT_TRUE(O.bJustifyHorz);
    EXPECT_FLOAT_EQ(O.IndentValue, 5.0f);
    EXPECT_FLOAT_EQ(O.ParagraphGapCoef, 1.5f);
    EXPECT_FALSE(O.bPageBreak);

    const auto R2 = Read(u"$( false , 0 , 1 , TRUE , 1 )", End);
    EXPECT_TRUE(R2.Value.PrivateOptions.bPageBreak);
    EXPECT_TRUE(R2.Value.PrivateOptions.bJustifyVert);
    EXPECT_EQ(End, 28);
}

TEST(ReturnRead, ReadingStopsAtTheFirstBadItemKeepingEarlierOnes) {
    int32_t End = -1;
    const auto R = Read(u"$(True,x,2,True)", End);
    ASSERT_TRUE(R.IsValid());
    EXPECT_TRUE(R.Value.PrivateOptions.bJustifyHorz);
    EXPECT_FLOAT_EQ(R.Value.PrivateOptions.ParagraphGapCoef, 1.0f);
    EXPECT_FALSE(R.Value.PrivateOptions.bPageBreak);
    EXPECT_EQ(End, 15);
}

TEST(ReturnRead, UnreadableItemsStillEndAtTheParenthesis) {
    int32_t End = -1;
    const auto R = Read(u"$(maybe)5", End);
    ASSERT_TRUE(R.IsValid());
    EXPECT_TRUE(R.Value.PrivateOptions.IsDefault());
    EXPECT_EQ(End, 7);
    EXPECT_EQ(R.TokenItems.GetRangeOfFirst(ttReturn), TKoRange(0, 8));
}

TEST(ReturnRead, ParenthesesNest) {
    int32_t End = -1;
    const auto R = Read(u"$(True,(1))x", End);
    ASSERT_TRUE(R.IsValid());
    EXPECT_EQ(End, 10);
    EXPECT_TRUE(R.Value.PrivateOptions.bJustifyHorz);
}

TEST(ReturnRead, UnclosedParenthesisLeavesTheDollarAlone) {
    int32_t End = -1;
    const auto R = Read(u"$(True", End);
    ASSERT_TRUE(R.IsValid());
    EXPECT_EQ(End, 0);
    EXPECT_FALSE(R.Value.PrivateOptions.bJustifyHorz);
}

TEST(ReturnRead, OtherFirstCharactersFail) {
    int32_t End = 0;
    const auto R = Read(u"S", End);
    EXPECT_FALSE(R.IsValid());
    EXPECT_EQ(End, -1);
}

TEST(ReturnRead, ControlOptionsAfterTheOptionsAreKept) {
    int32_t End = -1;
    const auto R = Read(u"$(True){C:0,None}", End);
    ASSERT_TRUE(R.IsValid());
    EXPECT_EQ(End, 16);
    EXPECT_EQ(R.Value.ControlOptions.HideLevel, shlAll);
    EXPECT_EQ(R.Value.ToABCText(false), u"$(True){C:0,None}");
}

TEST(ReturnWrite, ShortestFormCoveringTheLastNonDefaultOption) {
    TrecNuo4SymbolReturn R;
    EXPECT_EQ(R.ToABCText(false), u"$");
    EXPECT_EQ(R.ToABCText(true), u" $ ");
    R.PrivateOptions.bJustifyHorz = true;
    EXPECT_EQ(R.ToABCText(false), u"$(True)");
    R.PrivateOptions.bJustifyHorz = false;
    R.PrivateOptions.IndentValue = 10;
    EXPECT_EQ(R.ToABCText(false), u"$(False,10.00)");
    R.PrivateOptions.IndentValue = 0;
    R.PrivateOptions.bPageBreak = true;
    EXPECT_EQ(R.ToABCText(false), u"$(False,0.00,1.00,True)");
    R.PrivateOptions.bJustifyVert = true;
    EXPECT_EQ(R.ToABCText(false), u"$(False,0.00,1.00,True,True)");
}

TEST(ReturnWrite, NearDefaultValuesCountAsDefault) {
    TrecNuo4SymbolReturnPrivateOptions O;
    O.IndentValue = 0.009f;
    O.ParagraphGapCoef = 1.009f;
    EXPECT_FALSE(O.IndentValueIsLocked());
    EXPECT_TRUE(O.ParagraphGapCoefIsDefault());
    EXPECT_EQ(O.ToABCText(), u"");
    O.ParagraphGapCoef = 1.5f;
    EXPECT_EQ(O.ToABCText(), u"(False,0.01,1.50)");
}

TEST(ReturnWrite, WrittenFormReadsBack) {
    TrecNuo4SymbolReturn R;
    R.PrivateOptions.IndentValue = 7.5f;
    R.PrivateOptions.ParagraphGapCoef = 2;
    R.PrivateOptions.bJustifyVert = true;
    R.ControlOptions.LockTo(1.25f);
    const std::u16string S = R.ToABCText(false);
    int32_t End = -1;
    const auto Back = Read(S, End);
    EXPECT_EQ(Back.Value, R);
    EXPECT_EQ(End, static_cast<int32_t>(S.size()) - 1);
}
