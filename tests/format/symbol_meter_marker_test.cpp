#include <gtest/gtest.h>

#include "format/symbol_accomp_marker.h"
#include "format/symbol_meter.h"
#include "test_util.h"

using namespace nuo4;
using nuo4::test::All;

TEST(VoiceMeter, ReadsNumeratorAndDenominator) {
    const std::u16string S = u"3/4";
    TrecNuo4ABCParseInfo_Meter M;
    int32_t End = -1;
    ASSERT_TRUE(ReadVoiceMeter(S, All(S), M, End));
    EXPECT_EQ(M.Value.Meter, TrecNuo4Meter::Create(3, 4));
    EXPECT_EQ(End, 2);
    EXPECT_EQ(M.Header.aType, pitMeter);
    EXPECT_EQ(M.TokenItems.GetRangeOfFirst(ttKeyAndMeters), TKoRange(0, 3));
}

TEST(VoiceMeter, ControlOptionsFollowDirectly) {
    const std::u16string S = u"3/4{C:1.200}5";
    TrecNuo4ABCParseInfo_Meter M;
    int32_t End = -1;
    ASSERT_TRUE(ReadVoiceMeter(S, All(S), M, End));
    EXPECT_TRUE(M.Value.ControlOptions.AWCoefIsLocked());
    EXPECT_FLOAT_EQ(M.Value.ControlOptions.AWCoef.AWCoef, 1.2f);
    EXPECT_EQ(End, 11);
    EXPECT_EQ(M.Header.ABCTextRange, TKoRange(0, 12));
    EXPECT_EQ(M.TokenItems.GetRangeOfFirst(ttControlOptions), TKoRange(3, 9));
    EXPECT_EQ(M.Value.ToABCText(false), u"3/4{C:1.200}");
}

TEST(VoiceMeter, BoundsOfNumeratorAndDenominator) {
    for (const std::u16string S : {u"12/8", u"0/4", u"99/9", u"1/0"}) {
        TrecNuo4ABCParseInfo_Meter M;
        int32_t End = -1;
        EXPECT_TRUE(ReadVoiceMeter(S, All(S), M, End)) << nuo4::test::Utf8(S);
    }
    for (const std::u16string S : {u"3/16", u"100/4", u"-1/4", u"3/", u"/4", u"34"}) {
        TrecNuo4ABCParseInfo_Meter M;
        int32_t End = 0;
        EXPECT_FALSE(ReadVoiceMeter(S, All(S), M, End)) << nuo4::test::Utf8(S);
        EXPECT_EQ(End, -1);
        EXPECT_FALSE(M.IsValid());
    }
}

TEST(VoiceMeter, DenominatorZeroReadsButIsNotValid) {
    const std::u16string S = u"1/0";
    TrecNuo4ABCParseInfo_Meter M;
    int32_t End = -1;
    ASSERT_TRUE(ReadVoiceMeter(S, All(S), M, End));
    EXPECT_FALSE(M.Value.Meter.IsValid());
}

TEST(VoiceMeter, NeedsThreeCharactersInTheRange) {
    const std::u16string S = u"2/4";
    TrecNuo4ABCParseInfo_Meter M;
    int32_t End = -1;
    EXPECT_FALSE(ReadVoiceMeter(S, TKoRange(0, 2), M, End));
}

TEST(VoiceMeter, FreeMeterIsWrittenWithNumeratorZero) {
    TrecNuo4SymbolMeter M;
    M.Meter = TrecNuo4Meter::Create(0, 4);
    EXPECT_EQ(M.ToABCText(false), u"0/4");
    EXPECT_EQ(M.ToABCText(true), u" 0/4 ");
}

TEST(AccompMarker, ParenthesesGiveStartAndEnd) {
    const std::u16string S = u"(";
    TrecNuo4ABCParseInfo_AccompMarker M;
    int32_t End = -1;
    ASSERT_TRUE(ReadAccompMarker(S, All(S), M, End));
    EXPECT_EQ(M.Value.aType, sctStart);
    EXPECT_EQ(End, 0);
    EXPECT_EQ(M.Header.aType, pitAccompMarker);
    EXPECT_EQ(M.TokenItems.GetRangeOfFirst(ttAccompMarker), TKoRange(0, 1));

    const std::u16string S2 = u"){C:0,None}";
    ASSERT_TRUE(ReadAccompMarker(S2, All(S2), M, End));
    EXPECT_EQ(M.Value.aType, sctEnd);
    EXPECT_EQ(M.Value.ControlOptions.HideLevel, shlAll);
    EXPECT_EQ(End, 10);
    EXPECT_EQ(M.Value.ToABCText(false), u"){C:0,None}");
    EXPECT_EQ(M.Value.ToABCText(true), u" ){C:0,None} ");
}

TEST(AccompMarker, OtherCharactersDoNotRead) {
    const std::u16string S = u"[(";
    TrecNuo4ABCParseInfo_AccompMarker M;
    int32_t End = 0;
    EXPECT_FALSE(ReadAccompMarker(S, All(S), M, End));
    EXPECT_EQ(End, -1);
}
