#include <gtest/gtest.h>

#include "app/cli/json_dump.h"
#include "format/doc_options.h"

using namespace nuo4;

TEST(OptionItemJson, CarriesRangesValuesByFieldAndText) {
    const std::u16string S = u"Lyric = False, 0.5, 2";
    TrecNuo4ABCParseInfo_OptionItem Item;
    int32_t End = -1;
    ASSERT_TRUE(ReadOptionItem(S, TKoRange(0, static_cast<int32_t>(S.size())), Item, true, End));
    const cli::json J = cli::OptionItemToJson(Item);
    EXPECT_EQ(J["ItemType"], "soitLyric");
    EXPECT_EQ(J["NameRange"], cli::json::array({0, 5}));
    EXPECT_EQ(J["ValueRanges"].size(), 3u);
    EXPECT_EQ(J["ValueRanges"][2], cli::json::array({20, 1}));
    EXPECT_EQ(J["Values"]["bCompressBiaoDian"], false);
    EXPECT_FLOAT_EQ(J["Values"]["GapBetweenEnglishLyrics"].get<float>(), 2.0f);
    EXPECT_EQ(J["bAllValuesAccepted"], true);
    EXPECT_EQ(J["text"], "Lyric = False, 0.5, 2.0");
    EXPECT_EQ(J["Header"]["aType"], "pitOption");
}

TEST(OptionItemJson, NestedGroupsAndEnumerationsByName) {
    TrecNuo4ABCParseInfo_OptionItem Item;
    Item.Initialize_Chord();
    cli::json J = cli::OptionItemToJson(Item);
    EXPECT_EQ(J["Values"]["NoteSubStyle"], "nssZip");
    EXPECT_EQ(J["Values"]["NoteSpacing"]["bGapMode"], false);
    Item.Initialize_Paper();
    J = cli::OptionItemToJson(Item);
    EXPECT_EQ(J["text"], "");  // a default paper writes no line
    EXPECT_EQ(J["Values"]["Width"], 210.0);
}
