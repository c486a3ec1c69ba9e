#include <gtest/gtest.h>

#include "app/cli/json_dump.h"
#include "format/section_attachments.h"

using namespace nuo4;
using namespace nuo4::cli;

TEST(AttachmentsJson, ItemsCarryHeaderValueSourceAndWrittenText) {
    const std::u16string Text =
        u"Dynamic@2,1(0.5,-2.5) = 15, True\rOften@1,1(0,-2) = force-ff, {}\r"
        u"Branch@1,1(0,-3) = True, 2, 4, 0, {1 2 $ 3}, {a\\nb}\r";
    TrecNuo4ABCParseInfo_Section_Attachments Section;
    Section.Clear();
    int32_t Start = 0;
    for (int32_t P = 0; P < static_cast<int32_t>(Text.size()); ++P)
        if (Text[P] == u'\r') {
            TrecNuo4SectiontItemWithParseInfo_Attachments Item;
            int32_t End;
            ASSERT_TRUE(ReadAttachmentItem(Text, TKoRange(Start, P - Start), Item, End));
            Section.AddItem(Item);
            Start = P + 1;
        }
    const json J = AttachmentsSectionToJson(Section, Text);
    ASSERT_EQ(J["Items"].size(), 3u);
    const json& D = J["Items"][0];
    EXPECT_EQ(D["aType"], "satitDynamic");
    EXPECT_EQ(D["HorzLocation"]["AbsLocate_BarlineAndNote_BarlinePos"], 1);
    EXPECT_EQ(D["Value"]["bJianRuo"], true);
    EXPECT_EQ(D["source"], "Dynamic@2,1(0.5,-2.5) = 15, True");
    EXPECT_EQ(D["text"], "Dynamic@2,1(0.50,-2.50) = 15.00, True, False, True");
    EXPECT_EQ(D["Header"]["aType"], "pitSectionItem_Attachments");
    const json& O = J["Items"][1];
    EXPECT_EQ(O["Value"]["ItemType"], "agitoForce_ff");
    EXPECT_EQ(O["source"], "Often@1,1(0,-2) = force-ff, {}");
    EXPECT_EQ(O["text"], "Often@1,1(0.00,-2.00) = Force-ff, {}, []");
    const json& B = J["Items"][2]["Value"];
    EXPECT_EQ(B["InitMeter"], "2/4");
    EXPECT_EQ(B["VoiceSymbolCount"], 2);
    EXPECT_EQ(B["LyricsVerseCount"], 2);
}
