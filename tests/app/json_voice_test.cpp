#include <gtest/gtest.h>

#include "app/cli/json_dump.h"
#include "format/abc_buffer.h"
#include "format/section_voice.h"

using namespace nuo4;
using nuo4::cli::json;
using nuo4::cli::VoiceSectionToJson;

namespace {

json Dump(const std::u16string& ADoc) {
    TNuo4ABCBuffer B(ADoc);
    return VoiceSectionToJson(B.Section_Voice, B.ABCText());
}

}  // namespace

TEST(VoiceJson, SectionRangesAndSymbolsInOrder) {
    const json J = Dump(u".Voice\r5_ |[2. 3/4{C:1.2} ( ) $(True,5)");
    EXPECT_EQ(J["ABCTextRange_SectionName"], json::array({0, 6}));
    EXPECT_EQ(J["PrefixRange"], json::array({-1, -1}));
    const json& S = J["Buffer"];
    ASSERT_EQ(S.size(), 6u);
    EXPECT_EQ(S[0]["Header"]["aType"], "pitNote");
    EXPECT_EQ(S[0]["text"], "5_");
    EXPECT_EQ(S[1]["Header"]["aType"], "pitBarline");
    EXPECT_EQ(S[1]["Header"]["ABCTextRange"], json::array({10, 4}));
    EXPECT_EQ(S[1]["Header"]["TokenItems"][0]["aType"], "ttBarline_Pure");
    EXPECT_EQ(S[1]["Value"]["BarlineStyle"], "blsNormal");
    EXPECT_EQ(S[1]["Value"]["FangZi"]["bWithFangZi"], true);
    EXPECT_EQ(S[1]["Value"]["FangZi"]["FangZiText"], "2.");
    EXPECT_EQ(S[1]["text"], "|[2.");
    EXPECT_EQ(S[2]["Value"]["Meter"]["FenZi"], 3);
    EXPECT_EQ(S[2]["Value"]["ControlOptions"]["AWCoef"]["AWCoef"], 1.2f);
    EXPECT_EQ(S[2]["text"], "3/4{C:1.200}");
    EXPECT_EQ(S[3]["Value"]["aType"], "sctStart");
    EXPECT_EQ(S[4]["Value"]["aType"], "sctEnd");
    EXPECT_EQ(S[5]["Value"]["PrivateOptions"]["bJustifyHorz"], true);
    EXPECT_EQ(S[5]["Value"]["PrivateOptions"]["IndentValue"], 5.0f);
    EXPECT_EQ(S[5]["text"], "$(True,5.00)");
}

TEST(VoiceJson, TextWithItsElements) {
    const json J = Dump(u".Voice\r\"{1=D}\\s{J_=120}{[15],SubStyleZip}\"");
    const json& T = J["Buffer"].at(0);
    EXPECT_EQ(T["Header"]["aType"], "pitText");
    EXPECT_EQ(T["Value"]["Text_ABC"], "{1=D}\\s{J_=120}{[15],SubStyleZip}");
    EXPECT_EQ(T["Value"]["FontUsage"], "fuText");
    EXPECT_EQ(T["CheckForKeyAndMeters"], true);
    EXPECT_EQ(T["IsNormalTextOnly"], false);
    const json& E = T["ElementArrayWithParseInfo"];
    ASSERT_EQ(E.size(), 4u);
    EXPECT_EQ(E[0]["Header"]["aType"], "pitText_KeyAndMeters");
    EXPECT_EQ(E[0]["Element"]["KeyAndMeters"]["Key"]["MainKey"], 1);
    EXPECT_EQ(E[1]["Element"]["WhiteSpaceCount"], 1);
    EXPECT_EQ(E[2]["Header"]["TokenItems"][0]["aType"], "ttNumber");
    EXPECT_EQ(E[2]["Element"]["TempoIsType"], "tit8th");
    EXPECT_EQ(E[2]["Element"]["BPM"], 60.0);
    EXPECT_EQ(E[3]["Element"]["ChordPitches"][1]["Digit"], "Digit5");
    EXPECT_EQ(E[3]["Element"]["ChordSubStyle"], "nssZip");
    EXPECT_EQ(T["text"], "\"{1=D}\\s{J_=120}{[15],SubStyleZip}\"");
}
