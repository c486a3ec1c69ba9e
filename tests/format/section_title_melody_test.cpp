#include <gtest/gtest.h>

#include "format/section_title.h"
#include "test_util.h"

using namespace nuo4;
using nuo4::test::U;

namespace {

TrecNuo4SectionTitleBuffer KeyAndMeters(const std::string& AText) {
    TrecNuo4SectionTitleBuffer B;
    B.SetText(tbitKeyAndMeters, U(AText));
    return B;
}

TrecNuo4SectionTitleBuffer Expression(const std::string& AText) {
    TrecNuo4SectionTitleBuffer B;
    B.SetText(tbitExpression, U(AText));
    return B;
}

std::string KeyAfterChange(const std::string& AText, int32_t AKey) {
    auto B = KeyAndMeters(AText);
    EXPECT_TRUE(B.ChangeInitKey(AKey));
    return ABC_ToUtf8(B.GetText(tbitKeyAndMeters));
}

std::string TempoAfterChange(const std::string& AText, double ATempo) {
    auto B = Expression(AText);
    EXPECT_TRUE(B.ChangeInitTempo(ATempo));
    return ABC_ToUtf8(B.GetText(tbitExpression));
}

}  // namespace

TEST(TitleInitMeter, FirstMeterOfTheFirstElementWithMeters) {
    EXPECT_EQ(KeyAndMeters("").GetInitMeter(), TrecNuo4Meter::Create(4, 4));
    EXPECT_EQ(KeyAndMeters("{1=D}{3/4}").GetInitMeter(), TrecNuo4Meter::Create(3, 4));
    EXPECT_EQ(KeyAndMeters("{1=F,6/8,3/4}").GetInitMeter(), TrecNuo4Meter::Create(6, 8));
    EXPECT_EQ(KeyAndMeters("{2/4} {3/4}").GetInitMeter(), TrecNuo4Meter::Create(2, 4));
    // Outside braces a key-and-meters text is plain text.
    EXPECT_EQ(KeyAndMeters("1=bE, 3/4").GetInitMeter(), TrecNuo4Meter::Create(4, 4));
}

TEST(TitleInitKey, KeyOfTheFirstKeyAndMetersElement) {
    EXPECT_EQ(KeyAndMeters("").GetInitKey(), 0);
    EXPECT_EQ(KeyAndMeters("{1=D}{3/4}").GetInitKey(), 2);
    EXPECT_EQ(KeyAndMeters("{1=bE,3/4}").GetInitKey(), 3);
    EXPECT_EQ(KeyAndMeters("{1=A}").GetInitKey(), -3);
    EXPECT_EQ(KeyAndMeters("{1=#C}").GetInitKey(), 1);
    // The first element has no key: C, even though a key follows.
    EXPECT_EQ(KeyAndMeters("{3/4}{1=D}").GetInitKey(), 0);
}

TEST(TitleInitTempo, QuarterBeatsOfTheFirstTempoElement) {
    EXPECT_DOUBLE_EQ(Expression("欢快、热烈地 {J=120}").GetInitTempo(), 120);
    EXPECT_DOUBLE_EQ(Expression("{J_=160}").GetInitTempo(), 80);
    EXPECT_DOUBLE_EQ(Expression("{J.=80}").GetInitTempo(), 120);
    EXPECT_DOUBLE_EQ(Expression("{J=72}{J=140}").GetInitTempo(), 72);
    EXPECT_DOUBLE_EQ(Expression("稍快").GetInitTempo(), 120);
    EXPECT_DOUBLE_EQ(Expression("").GetInitTempo(), 120);
}

TEST(TitleMelodyInfo, AllThreeTogether) {
    TrecNuo4ABCParseInfo_Section_Title Section;
    Section.Clear();
    Section.Buffer.SetText(tbitKeyAndMeters, u"{1=G}{6/8}");
    Section.Buffer.SetText(tbitExpression, u"{J=96}");
    TrecNuo4Meter Meter;
    int32_t Key = 99;
    double Tempo = 0;
    Section.GetMelodyInfo(Meter, Key, Tempo);
    EXPECT_EQ(Meter, TrecNuo4Meter::Create(6, 8));
    EXPECT_EQ(Key, 7);
    EXPECT_DOUBLE_EQ(Tempo, 96);
    EXPECT_EQ(Section.GetFirstMeter(), Meter);
}

TEST(TitleKeyAndMetersCheck, EmptyOrProperKeyAndMeterTexts) {
    EXPECT_TRUE(KeyAndMeters("").CheckForKeyAndMeters());
    EXPECT_TRUE(KeyAndMeters("{1=D}{3/4}").CheckForKeyAndMeters());
    EXPECT_TRUE(KeyAndMeters("{1=bE,3/4}").CheckForKeyAndMeters());
    EXPECT_FALSE(KeyAndMeters("1=D").CheckForKeyAndMeters());     // no braces
    EXPECT_FALSE(KeyAndMeters("{1=H}").CheckForKeyAndMeters());   // no valid key
    EXPECT_FALSE(KeyAndMeters("{中速}").CheckForKeyAndMeters());  // neither key nor meter
}

TEST(TitleChangeInitKey, ReplacesTheLeadingKeyOrPutsOneInFront) {
    EXPECT_EQ(KeyAfterChange("{1=F}{3/4}", 2), "{1=D}{3/4}");
    EXPECT_EQ(KeyAfterChange("", 2), "{1=D}");
    EXPECT_EQ(KeyAfterChange("{3/4}", 2), "{1=D}{3/4}");
    EXPECT_EQ(KeyAfterChange("", 3), "{1=bE}");
    EXPECT_EQ(KeyAfterChange("{1=bE}", -1), "{1=B}");
    EXPECT_EQ(KeyAfterChange("{1=C} 中速", 6), "{1=#F} 中速");
}

TEST(TitleChangeInitKey, MetersInTheKeyGroupSurvive) {
    EXPECT_EQ(KeyAfterChange("{1=F,3/4}", 2), "{1=D,3/4}");
    auto B = KeyAndMeters("{1=bB, 6/8}");
    B.ChangeInitKey(7);
    EXPECT_EQ(B.GetInitKey(), 7);
    EXPECT_EQ(B.GetInitMeter(), TrecNuo4Meter::Create(6, 8));
    // After "{1=" something that is no key: the group's inside is replaced.
    EXPECT_EQ(KeyAfterChange("{1=x}{2/4}", 2), "{1=D}{2/4}");
}

TEST(TitleChangeInitKey, ResultIsCutTo200Characters) {
    auto B = KeyAndMeters("{3/4}" + std::string(195, 'x'));
    B.ChangeInitKey(2);
    EXPECT_EQ(B.GetText(tbitKeyAndMeters).size(), 200u);
    EXPECT_EQ(B.GetText(tbitKeyAndMeters).substr(0, 10), u"{1=D}{3/4}");
}

TEST(TitleChangeInitTempo, ReplacesALeadingTempoOrPutsOneInFront) {
    EXPECT_EQ(TempoAfterChange("{J=120} 稍快", 96), "{J=96} 稍快");
    EXPECT_EQ(TempoAfterChange("稍快 {J=120}", 96), "{J=96}稍快 {J=120}");
    EXPECT_EQ(TempoAfterChange("", 96), "{J=96}");
    EXPECT_EQ(TempoAfterChange("{J_=160}", 72.4), "{J=72}");
    auto B = Expression("{J=120}");
    B.ChangeInitTempo(88);
    EXPECT_DOUBLE_EQ(B.GetInitTempo(), 88);
}
