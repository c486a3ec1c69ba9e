#include "format/symbol_barline.h"

#include <gtest/gtest.h>

#include "test_util.h"

using namespace nuo4;
using nuo4::test::All;
using nuo4::test::U;

namespace {

struct TRead {
    bool bOk = false;
    TrecNuo4ABCParseInfo_Barline B;
    int32_t End = -1;
};

TRead Read(std::u16string_view S) {
    TRead R;
    R.bOk = ReadBarline(S, All(S), R.B, R.End);
    return R;
}

}  // namespace

TEST(BarlineStyle, LongestStyleTextWins) {
    const std::pair<const char*, TNuo4BarlineStyle> Cases[] = {
        {"|", blsNormal},  {"|:", blsRepeatStart}, {":|", blsRepeatEnd},   {"|]", blsFinal},
        {"||", blsDouble}, {"::", blsDashed},      {":|:", blsRepeatBoth}, {"[|]", blsInvisible}};
    for (const auto& [Text, Style] : Cases) {
        const auto S = U(Text);
        const TRead R = Read(S);
        ASSERT_TRUE(R.bOk) << Text;
        EXPECT_EQ(R.B.Value.BarlineStyle, Style) << Text;
        EXPECT_EQ(R.End, static_cast<int32_t>(S.size()) - 1) << Text;
        EXPECT_EQ(R.B.Value.ToABCText(false), S);
    }
}

TEST(BarlineStyle, RepeatBothIsNotRepeatEndAndColon) {
    const TRead R = Read(u":|:5");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.B.Value.BarlineStyle, blsRepeatBoth);
    EXPECT_EQ(R.End, 2);
}

TEST(BarlineStyle, StopsAfterTheStyleAndNeedsOne) {
    const TRead R = Read(u"|5");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.End, 0);
    EXPECT_FALSE(Read(u"5|").bOk);
    EXPECT_FALSE(Read(u"[1]").bOk);
    EXPECT_FALSE(Read(u":").bOk);
    const TRead Bad = Read(u"x");
    EXPECT_FALSE(Bad.B.IsValid());
    EXPECT_EQ(Bad.End, -1);
}

TEST(BarlineVolta, LabelRunsRawToTheTokenEnd) {
    const TRead R = Read(u":|[2.\\s5");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.B.Value.BarlineStyle, blsRepeatEnd);
    EXPECT_TRUE(R.B.Value.FangZi.bWithFangZi);
    EXPECT_EQ(R.B.Value.FangZi.FangZiText, u"2.\\s5");  // escapes are not decoded
    EXPECT_EQ(R.End, 7);
    EXPECT_EQ(R.B.TokenItems.GetRangeOfFirst(ttBarline_FangZi), TKoRange(2, 6));
}

TEST(BarlineVolta, LabelMayHoldWhatLooksLikeNotes) {
    const TRead R = Read(u"|[1.5");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.B.Value.FangZi.FangZiText, u"1.5");
    EXPECT_EQ(R.End, 4);
}

TEST(BarlineVolta, BracketAtTheTokenEndGivesAnEmptyLabel) {
    const TRead R = Read(u"|[");
    ASSERT_TRUE(R.bOk);
    EXPECT_TRUE(R.B.Value.FangZi.bWithFangZi);
    EXPECT_EQ(R.B.Value.FangZi.FangZiText, u"");
    EXPECT_EQ(R.End, 1);
    EXPECT_EQ(R.B.Value.ToABCText(false), u"|[");
}

TEST(BarlineVolta, LabelEndsAtWhiteInsideTheRange) {
    // Outside a voice token the range may hold white: the label stops before it.
    const std::u16string S = u"|[ 2. x";
    TrecNuo4ABCParseInfo_Barline B;
    int32_t End = -1;
    ASSERT_TRUE(ReadBarline(S, All(S), B, End));
    EXPECT_EQ(B.Value.FangZi.FangZiText, u"2.");
    EXPECT_EQ(End, 4);
}

TEST(BarlineVolta, LabelIsCutToTheShortTextCapacity) {
    const std::u16string S = u"|[" + std::u16string(300, u'a');
    const TRead R = Read(S);
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.B.Value.FangZi.FangZiText.size(), Nuo4CharArray1Capacity);
    EXPECT_EQ(R.End, static_cast<int32_t>(S.size()) - 1);
}

TEST(BarlineControlOptions, GroupFollowsTheStyleBeforeTheVolta) {
    const TRead R = Read(u"||{C:1.5}[1.");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.B.Value.BarlineStyle, blsDouble);
    EXPECT_FLOAT_EQ(R.B.Value.ControlOptions.AWCoef.AWCoef, 1.5f);
    EXPECT_EQ(R.B.Value.FangZi.FangZiText, u"1.");
    EXPECT_EQ(R.B.Value.ToABCText(false), u"||{C:1.500}[1.");
    EXPECT_EQ(R.B.Value.ToABCText(true), u" ||{C:1.500}[1. ");
    const auto& T = R.B.TokenItems;
    ASSERT_EQ(T.size(), 4u);
    EXPECT_EQ(T[0].aType, ttBarline_Pure);
    EXPECT_EQ(T[0].ABCTextRange, TKoRange(0, 9));
    EXPECT_EQ(T[1].aType, ttBarline_Pure_Barline);
    EXPECT_EQ(T[1].ABCTextRange, TKoRange(0, 2));
    EXPECT_EQ(T[2].aType, ttControlOptions);
    EXPECT_EQ(T[2].ABCTextRange, TKoRange(2, 7));
    EXPECT_EQ(T[3].aType, ttBarline_FangZi);
    EXPECT_EQ(R.B.Header.ABCTextRange, TKoRange(0, 12));
    EXPECT_EQ(R.B.Pure.Header.aType, pitBarline_Pure);
    EXPECT_EQ(R.B.Pure.Header.ABCTextRange, TKoRange(0, 9));
}

TEST(BarlineControlOptions, UnreadableGroupEndsTheBarline) {
    const TRead R = Read(u"|{C:-1}");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.End, 0);
    EXPECT_TRUE(R.B.Value.ControlOptions.IsDefault_All());
    EXPECT_EQ(R.B.TokenItems.FindFirst(ttControlOptions), -1);
}

TEST(BarlineSymbol, ConversionKeepsTheRecordWithScaleOne) {
    TRead R = Read(u":|[2.");
    R.B.Value.Scale = 3;
    const TrecNuo4SymbolBarline S = R.B.ToSymbolRec();
    EXPECT_FLOAT_EQ(S.Scale, 1.0f);
    EXPECT_EQ(S.BarlineStyle, blsRepeatEnd);
    EXPECT_EQ(S.FangZi.FangZiText, u"2.");
}

TEST(BarlineSymbol, RepeatAndVoltaEndPredicates) {
    TrecNuo4SymbolBarline B;
    EXPECT_FALSE(B.CanEndWithFangZi());
    B.BarlineStyle = blsRepeatStart;
    EXPECT_TRUE(B.IsLeftRepeat());
    EXPECT_TRUE(B.CanEndWithFangZi());
    B.BarlineStyle = blsRepeatEnd;
    EXPECT_TRUE(B.IsRightRepeat());
    for (auto S : {blsFinal, blsDouble, blsRepeatBoth}) {
        B.BarlineStyle = S;
        EXPECT_TRUE(B.CanEndWithFangZi()) << EnumName(S);
    }
    for (auto S : {blsNormal, blsDashed, blsInvisible}) {
        B.BarlineStyle = S;
        EXPECT_FALSE(B.CanEndWithFangZi()) << EnumName(S);
    }
}
