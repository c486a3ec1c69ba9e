#include <gtest/gtest.h>

#include "app/cli/json_dump.h"
#include "format/abc_buffer.h"
#include "format/section_lyrics.h"

using namespace nuo4;
using namespace nuo4::cli;

TEST(LyricsJson, VersesCarryPrefixLyricsAndWrittenText) {
    const std::u16string Text = u".Words\rW2(True)@3,1:\r{\u6211_\u4eec}/ hello\rworld\r";
    const TNuo4ABCBuffer Buffer(Text);
    const json J = LyricsSectionToJson(Buffer.Section_Lyrics, Buffer.ABCText());
    EXPECT_EQ(J["ABCTextRange_SectionName"]["text"], ".Words");
    ASSERT_EQ(J["VerseBuffer"].size(), 1u);
    const json& V = J["VerseBuffer"][0];
    EXPECT_EQ(V["VersePrefix"]["VertInfo"]["VerseNumber"], 1);
    EXPECT_EQ(V["VersePrefix"]["HorzLocation"]["text"], "@3,1");
    EXPECT_EQ(V["VersePrefix"]["verseIndexText"], "2.");
    EXPECT_EQ(V["VersePrefix"]["headerText"], "W2(True)@3,1:");
    ASSERT_EQ(V["LyricsArray"].size(), 3u);
    const json& L = V["LyricsArray"][0];
    EXPECT_EQ(L["Data"]["Text"], "\xE6\x88\x91\xE4\xBB\xAC");
    EXPECT_EQ(L["Data"]["TextCenteredRange"], json::array({0, 1}));
    EXPECT_EQ(L["Data"]["TextUnderlineCountArray"], json::array({1, 0}));
    EXPECT_EQ(L["RightLocation"]["NotesCount"], 1);
    EXPECT_EQ(L["text"], "{\xE6\x88\x91_\xE4\xBB\xAC}/");
    EXPECT_EQ(V["LyricsArray"][1]["Data"]["IsEnglishLyric"], true);
    EXPECT_EQ(V["LyricsArray"][1]["bLineBreak"], true);
    EXPECT_EQ(V["text"], "W2(True)@3,1:\r{\xE6\x88\x91_\xE4\xBB\xAC}/hello\r\nworld");
}
