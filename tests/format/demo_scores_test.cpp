// The bundled demo scores must be read completely: every line of a known section is an item,
// every voice token is consumed by symbols, and the lyrics give one syllable per note.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "format/abc_buffer.h"
#include "format/score_file.h"
#include "test_util.h"

using namespace nuo4;

namespace {

std::u16string ReadDemo(const char* AName) {
    std::u16string Text;
    std::string Error;
    EXPECT_TRUE(
        ReadScoreFile(std::string(NUO4_SOURCE_DIR) + "/resources/demo/" + AName, Text, Error))
        << Error;
    return Text;
}

bool IsUnrecognisedItemLine(TNuo4ABCLineType T) {
    return T == altSectionOptions_Continue || T == altSectionFonts_Continue ||
           T == altSectionTitle_Continue || T == altSectionAttachments_Continue ||
           T == altSectionPage_Continue || T == altSectionUnknown_Start ||
           T == altSectionUnknown_Continue || T == altSectionNone_PrefixNone;
}

void ExpectFullyRead(const char* AName, size_t AVoiceSymbols, std::vector<size_t> ALyricsPerVerse,
                     size_t AAttachments) {
    SCOPED_TRACE(AName);
    const std::u16string Source = ReadDemo(AName);
    const TNuo4ABCBuffer B(Source);
    const std::u16string& T = B.ABCText();
    for (int L = 0; L < B.GetABCLinesCount(); ++L)
        EXPECT_FALSE(IsUnrecognisedItemLine(B.LineTypeArray[L]))
            << "line " << L << " (" << EnumName(B.LineTypeArray[L])
            << "): " << test::Utf8(ABC_GetRangeText(T, B.LineRangeArray[L]));
    // Every non-white character of a voice line lies inside a parsed symbol.
    std::vector<bool> Covered(T.size(), false);
    for (const auto& S : B.Section_Voice.Buffer)
        for (int32_t P = S->Header.ABCTextRange.StartIndex; P <= S->Header.ABCTextRange.EndIndex();
             ++P)
            Covered[P] = true;
    const TKoRange VoiceLines = B.GetLineIndexRange_SectionVoice();
    ASSERT_TRUE(VoiceLines.IsValid());
    for (int L = VoiceLines.StartIndex + 1; L <= VoiceLines.EndIndex(); ++L)
        for (const TKoRange& Piece : B.NonCommentRangesArrayArray[L])
            for (int32_t P = Piece.StartIndex; Piece.IsValid() && P <= Piece.EndIndex(); ++P)
                EXPECT_TRUE(ABC_IsWhiteChar(T[P]) || Covered[P])
                    << "unread voice text at " << P << ": "
                    << test::Utf8(ABC_GetRangeText(T, B.LineRangeArray[L]));
    EXPECT_EQ(B.Section_Voice.Buffer.size(), AVoiceSymbols);
    ASSERT_EQ(B.Section_Lyrics.VerseBuffer.size(), ALyricsPerVerse.size());
    for (size_t V = 0; V < ALyricsPerVerse.size(); ++V)
        EXPECT_EQ(B.Section_Lyrics.VerseBuffer[V].LyricsArray.size(), ALyricsPerVerse[V])
            << "verse " << V;
    EXPECT_EQ(B.Section_Attachments.Buffer.size(), AAttachments);
    EXPECT_EQ(B.Section_Title.Buffer.GetTitleText().empty(), false);
}

}  // namespace

TEST(DemoScores, SongWithTwoVersesIsReadCompletely) {
    ExpectFullyRead("molihua.nuoabc", 99, {51, 51}, 3);
}

TEST(DemoScores, InstrumentalPieceIsReadCompletely) {
    ExpectFullyRead("huanle.nuoabc", 72, {}, 2);
}

TEST(DemoScores, TwoPartCanonIsReadCompletely) {
    ExpectFullyRead("liangzhilaohu.nuoabc", 90, {}, 6);
}

TEST(DemoScores, UnixLineBreaksReadAsTheSameScore) {
    const std::u16string Source = ReadDemo("molihua.nuoabc");
    std::u16string Unix;
    for (char16_t C : Source)
        if (C != u'\r') Unix += C;
    ASSERT_NE(Unix.find(u'\n'), std::u16string::npos);
    const TNuo4ABCBuffer Dos(Source), Lf(Unix);
    EXPECT_EQ(Lf.ABCText(), Dos.ABCText());
    EXPECT_EQ(Lf.Section_Voice.Buffer.size(), Dos.Section_Voice.Buffer.size());
    EXPECT_EQ(Lf.Section_Lyrics.VerseBuffer.size(), 2u);
}
