#include <gtest/gtest.h>

#include "app/cli/json_dump.h"
#include "format/abc_buffer.h"

using namespace nuo4;

namespace {

const std::u16string Doc = ABC_FromUtf8(
    ".Fonts\r"
    "Title = Arial, 8, [B]\r"
    ".Title\r"
    "Title = T\r"
    "WordsByAndMusicBy = {张三,李四}\r"
    "KeyAndMeters = {1=D}{3/4}\r"
    ".Page\r"
    "Memo@1,20,30 = 60, Memo2, AlignCenter, True, a, b\r"
    "TitleBlock@2,0,0 = 150, {}, {T2}, {}, {}, {}, {}, {}, 0, 0, 13, 20, 13, 13, 20, $ff000000\r");

}  // namespace

TEST(TitleSectionJson, BufferMelodyInfoAndText) {
    const TNuo4ABCBuffer B(Doc);
    const cli::json J = cli::TitleSectionToJson(B.Section_Title);
    EXPECT_EQ(J["ABCTextRange_SectionName"], cli::json::array({29, 6}));
    EXPECT_EQ(J["ItemCount"], 3);
    EXPECT_EQ(J["Buffer"]["ABCTextArray"]["Title"], "T");
    EXPECT_EQ(J["Buffer"]["InitMeter"], "3/4");
    EXPECT_EQ(J["Buffer"]["InitKey"], 2);
    EXPECT_EQ(J["Buffer"]["InitTempo"], 120.0);
    EXPECT_EQ(J["Buffer"]["LinePosArray"]["SubTitle2"], 20.0);
    EXPECT_EQ(J["Buffer"]["WordsByAndMusicBy"]["TextChord"].size(), 2u);
    EXPECT_EQ(J["TokenItems"][0]["aType"], "ttTitleItemName");
    const std::string Text = J["text"];
    EXPECT_EQ(Text.substr(0, 7), ".Title\r");
    EXPECT_NE(Text.find("KeyAndMeters = {1=D}{3/4}\r"), std::string::npos);
}

TEST(FontsSectionJson, ItemsWithText) {
    const TNuo4ABCBuffer B(Doc);
    const cli::json J = cli::FontsSectionToJson(B.Section_Fonts);
    ASSERT_EQ(J["Buffer"].size(), 1u);
    EXPECT_EQ(J["Buffer"][0]["FontUsage"], "Title");
    EXPECT_EQ(J["Buffer"][0]["Style"], "[B]");
    EXPECT_EQ(J["Buffer"][0]["Header"]["aType"], "pitFontInfo");
    EXPECT_EQ(J["Buffer"][0]["text"], "Title = Arial, 8.00, [B]");
}

TEST(PageSectionJson, MemoAndTitleBlockWithText) {
    const TNuo4ABCBuffer B(Doc);
    const cli::json J = cli::PageSectionToJson(B.Section_Page);
    ASSERT_EQ(J["Buffer"].size(), 2u);
    const auto& Memo = J["Buffer"][0];
    EXPECT_EQ(Memo["Header"]["aType"], "pitSectionItem_Page");
    EXPECT_EQ(Memo["Value"]["aType"], "spitMemo");
    EXPECT_EQ(Memo["Value"]["Memo"]["Align"], "matCenter");
    EXPECT_EQ(Memo["Value"]["Memo"]["ABCText"], "a, b");
    EXPECT_EQ(Memo["text"], "Memo@1,20.00,30.00 = 60.0, Memo2, AlignCenter, True, $ff000000, a, b");
    const auto& Block = J["Buffer"][1];
    EXPECT_EQ(Block["Value"]["Location"]["PageIndex"], 1);
    EXPECT_EQ(Block["Value"]["TitleBlock"]["TitleBuffer"]["ABCTextArray"]["Title"], "T2");
    EXPECT_EQ(Block["Value"]["TitleBlock"]["Color"], "$ff000000");
}
