#include "format/symbol_text.h"

#include <gtest/gtest.h>

#include "test_util.h"

using namespace nuo4;
using nuo4::test::All;

namespace {

bool Read(std::u16string_view S, TrecNuo4ABCParseInfo_Text& T, int32_t& End) {
    return ReadVoiceText(S, All(S), T, End);
}

TrecNuo4ABCParseInfo_Text Standard(std::u16string_view S) {
    TrecNuo4ABCParseInfo_Text T;
    ReadStandardText(S, All(S), T);
    return T;
}

}  // namespace

TEST(VoiceText, QuotesEncloseTheRawText) {
    const std::u16string S = u"\"a\\sb\"5";
    TrecNuo4ABCParseInfo_Text T;
    int32_t End = -1;
    ASSERT_TRUE(Read(S, T, End));
    EXPECT_EQ(End, 5);
    EXPECT_EQ(T.Value.Text_ABC, u"a\\sb");
    EXPECT_EQ(T.Value.FontUsage, fuText);
    EXPECT_EQ(T.GetElementArrayWithParseInfo(S).size(), 3u);
    EXPECT_EQ(T.Header.aType, pitText);
    EXPECT_EQ(T.TokenItems.GetRangeOfFirst(ttText), TKoRange(0, 6));
    EXPECT_EQ(T.GetElementArrayWithParseInfo(S)[0].Header.ABCTextRange, TKoRange(1, 1));
    EXPECT_EQ(T.Value.ToABCText(false), u"\"a\\sb\"");
}

TEST(VoiceText, EmptyOrUnclosedTextDoesNotRead) {
    TrecNuo4ABCParseInfo_Text T;
    int32_t End = 0;
    EXPECT_FALSE(Read(u"\"\"", T, End));
    EXPECT_FALSE(Read(u"\"abc", T, End));
    EXPECT_FALSE(Read(u"abc\"", T, End));
    EXPECT_EQ(End, -1);
    EXPECT_FALSE(T.IsValid());
}

TEST(VoiceText, OnlyTheNextQuoteEndsTheText) {
    const std::u16string S = u"\"{a\"b}\"";
    TrecNuo4ABCParseInfo_Text T;
    int32_t End = -1;
    ASSERT_TRUE(Read(S, T, End));
    EXPECT_EQ(End, 3);
    EXPECT_EQ(T.Value.Text_ABC, u"{a");
}

TEST(VoiceText, ControlOptionsFollowTheClosingQuoteAndAreWritten) {
    const std::u16string S = u"\"rit.\"{C:0,None}";
    TrecNuo4ABCParseInfo_Text T;
    int32_t End = -1;
    ASSERT_TRUE(Read(S, T, End));
    EXPECT_EQ(End, 15);
    EXPECT_EQ(T.Value.ControlOptions.HideLevel, shlAll);
    EXPECT_EQ(T.TokenItems.GetRangeOfFirst(ttControlOptions), TKoRange(6, 10));
    EXPECT_EQ(T.Value.ToABCText(false), S);
    EXPECT_EQ(T.Value.ToABCText(true), u" " + S + u" ");
}

TEST(VoiceText, ConversionKeepsTextWithScaleOne) {
    const std::u16string S = u"\"{J=96}\"";
    TrecNuo4ABCParseInfo_Text T;
    int32_t End = -1;
    ASSERT_TRUE(Read(S, T, End));
    T.Value.Scale = 2;
    const TrecNuo4SymbolText R = T.ToSymbolRec();
    EXPECT_FLOAT_EQ(R.Scale, 1.0f);
    EXPECT_EQ(R.Text_ABC, u"{J=96}");
    ASSERT_EQ(R.GetElementArray().size(), 1u);
    EXPECT_EQ(R.GetElementArray()[0].Tempo, 96);
}

TEST(KeyAndMeterText, KeyChangeCounts) {
    EXPECT_TRUE(Standard(u"{1=D}").CheckForKeyAndMeters());
    EXPECT_TRUE(Standard(u"{2/4}").CheckForKeyAndMeters());
    EXPECT_TRUE(Standard(u"{1=bE,3/4}").CheckForKeyAndMeters());
    EXPECT_TRUE(Standard(u"a{1=D}b").CheckForKeyAndMeters());
}

TEST(KeyAndMeterText, EmptyTextPasses) {
    TrecNuo4ABCParseInfo_Text T;
    EXPECT_TRUE(T.CheckForKeyAndMeters());
}

TEST(KeyAndMeterText, EveryMarkNeedsItsElement) {
    EXPECT_FALSE(Standard(u"{J=96}").CheckForKeyAndMeters());    // neither "1=" nor "/"
    EXPECT_FALSE(Standard(u"1=D").CheckForKeyAndMeters());       // no braces
    EXPECT_FALSE(Standard(u"{1=D}a/b").CheckForKeyAndMeters());  // "/" without a meter
    EXPECT_FALSE(Standard(u"{2/4}1=").CheckForKeyAndMeters());   // "1=" without a key
    EXPECT_FALSE(Standard(u"{1=H}").CheckForKeyAndMeters());
}

TEST(NormalTextOnly, WhiteAndTextOnly) {
    EXPECT_TRUE(Standard(u"a\\sb {foo}").IsNormalTextOnly());
    EXPECT_FALSE(Standard(u"a{J=96}").IsNormalTextOnly());
    EXPECT_FALSE(Standard(u"{5}").IsNormalTextOnly());
}

TEST(StandardText, WholeRangeWithoutQuotes) {
    const std::u16string S = u"x {bny:3} y";
    TrecNuo4ABCParseInfo_Text T;
    ASSERT_TRUE(ReadStandardText(S, TKoRange(2, 7), T));
    EXPECT_EQ(T.Value.Text_ABC, u"{bny:3}");
    const auto Elements = T.GetElementArrayWithParseInfo(S);
    ASSERT_EQ(Elements.size(), 1u);
    EXPECT_EQ(Elements[0].Element.sBarNumber, u"3");
    EXPECT_EQ(Elements[0].Header.ABCTextRange, TKoRange(2, 7));
    EXPECT_FALSE(ReadStandardText(S, TKoRange(2, 0), T));
    EXPECT_FALSE(T.IsValid());
}
