#include "format/section_lyrics.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include "format/abc_buffer.h"
#include "test_util.h"

using namespace nuo4;
using nuo4::test::All;
using nuo4::test::U;
using nuo4::test::Utf8;

namespace {

struct TLyricRead {
    bool bOk = false;
    int32_t End = -1;
    TrecNuo4ABCParseInfo_Lyric L;
};

TLyricRead ReadOne(std::string_view S) {
    const std::u16string T = U(S);
    TLyricRead R;
    R.bOk = ReadLyric(T, All(T), R.L, R.End);
    return R;
}

TrecNuo4ABCParseInfo_Lyrics_Verse VerseOf(const std::u16string& S) {
    TrecNuo4ABCParseInfo_Lyrics_Verse V;
    V.VersePrefix.SetToDefaultForLyrics(TKoRange(0, 0));
    V.AppendToLyricsArray(S, All(S));
    return V;
}

std::vector<std::string> Texts(const TrecNuo4ABCParseInfo_Lyrics_Verse& V) {
    std::vector<std::string> Out;
    for (const auto& L : V.LyricsArray) Out.push_back(Utf8(L.Text.Data.Text));
    return Out;
}

TrecNuo4ABCParseInfo_Lyric MakeLyric(std::string_view AText, TKoRange ACentred, int32_t ANotes = 0,
                                     bool bLineBreak = false) {
    TrecNuo4ABCParseInfo_Lyric L;
    L.Header.aType = pitLyric;
    L.Text.Header.aType = pitPureLyric;
    L.Text.Data.Text = U(AText);
    L.Text.Data.TextCenteredRange = ACentred;
    L.Text.Data.CheckUnderlineArray();
    L.Text.bLineBreak = bLineBreak;
    L.RightLocation.NotesCount = ANotes;
    return L;
}

// What a lyric means to the score; parse ranges left out.
struct TLyricValue {
    TrecNuo4SymbolPureLyricData Data;
    int32_t Barlines = 0, Notes = 0;
    bool bLineBreak = false;
    bool operator==(const TLyricValue&) const = default;
};

std::vector<TLyricValue> Values(const TrecNuo4ABCParseInfo_Lyrics_Verse& V) {
    std::vector<TLyricValue> Out;
    for (const auto& L : V.LyricsArray)
        Out.push_back({L.Text.Data, L.RightLocation.BarlinesCount, L.RightLocation.NotesCount,
                       L.Text.bLineBreak});
    return Out;
}

std::string Dump(const std::vector<TLyricValue>& A) {
    std::string S;
    for (const auto& V : A)
        S += "[" + Utf8(V.Data.Text) + " c" + std::to_string(V.Data.TextCenteredRange.StartIndex) +
             "," + std::to_string(V.Data.TextCenteredRange.Length) + " |" +
             std::to_string(V.Barlines) + "/" + std::to_string(V.Notes) +
             (V.bLineBreak ? " CR" : "") + "]";
    return S;
}

// The space written between two words joins the first when read again ("ab" "cd" gives
// "ab cd", read as "ab " and "cd"), and " //" loses its space: a word's trailing space is
// therefore left out of the comparison.
std::vector<TLyricValue> Normal(std::vector<TLyricValue> A) {
    for (auto& V : A) {
        auto& D = V.Data;
        while (D.Text.size() > 1 && D.Text.back() == u' ' &&
               D.TextCenteredRange.EndIndex() < static_cast<int32_t>(D.Text.size()) - 1) {
            D.Text.pop_back();
            D.TextUnderlineCountArray.pop_back();
        }
        if (D.Text.size() > 1 && D.Text.back() == u' ' &&
            D.TextCenteredRange.EndIndex() == static_cast<int32_t>(D.Text.size()) - 1 &&
            D.TextCenteredRange.Length > 1) {
            D.Text.pop_back();
            D.TextUnderlineCountArray.pop_back();
            --D.TextCenteredRange.Length;
        }
    }
    return A;
}

}  // namespace

// ---- Skip markers and lyrics --------------------------------------------------------------

TEST(SkipMarker, CountsBarLinesAndNotes) {
    const std::u16string S = u"||/x";
    TrecNuo4ABCParseInfo_BarlinesAndNotesToSkip K;
    int32_t End = -1;
    ASSERT_TRUE(ReadBarlinesAndNotesToSkip(S, All(S), K, End));
    EXPECT_EQ(K.BarlinesCount, 2);
    EXPECT_EQ(K.NotesCount, 1);
    EXPECT_EQ(End, 2);
    EXPECT_EQ(K.Header.aType, pitBarlinesAndNotesToSkip);
    EXPECT_EQ(K.Header.ABCTextRange, TKoRange(0, 3));
    EXPECT_EQ(Utf8(K.ToABCText()), "||/");
    const TrecNuo4HorzLocation L = K.ToHorzLocation();
    EXPECT_EQ(L.aType, hltRelLocate_BarlineAndNote);
    EXPECT_EQ(L.RelLocate_BarlineAndNote_BarlinesCount, 2);
    EXPECT_EQ(L.RelLocate_BarlineAndNote_NotesCount, 1);

    const std::u16string At = u"@1,1";  // an absolute location is no skip marker
    EXPECT_FALSE(ReadBarlinesAndNotesToSkip(At, All(At), K, End));
    EXPECT_FALSE(TrecNuo4ABCParseInfo_BarlinesAndNotesToSkip().IsValid());
}

TEST(LyricReader, SkipMarkerFollowsDirectlyOrAfterWhite) {
    for (const char* S : {"我/", "我 / "}) {
        const TLyricRead R = ReadOne(S);
        ASSERT_TRUE(R.bOk) << S;
        EXPECT_EQ(Utf8(R.L.Text.Data.Text), "我");
        EXPECT_EQ(R.L.RightLocation.NotesCount, 1) << S;
        EXPECT_EQ(R.End, static_cast<int32_t>(U(S).size()) - 1) << S;
    }
    TLyricRead R = ReadOne("我，///");
    EXPECT_EQ(Utf8(R.L.Text.Data.Text), "我，");
    EXPECT_EQ(R.L.RightLocation.NotesCount, 3);
    R = ReadOne("{我们}//");
    EXPECT_EQ(Utf8(R.L.Text.Data.Text), "我们");
    EXPECT_EQ(R.L.RightLocation.NotesCount, 2);
}

TEST(LyricReader, HeaderCoversLyricSkipMarkerAndWhite) {
    const TLyricRead R = ReadOne("我 || 们");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.L.Header.aType, pitLyric);
    EXPECT_EQ(R.L.Header.ABCTextRange, TKoRange(0, 5));
    ASSERT_EQ(R.L.GetTokenItems().size(), 2u);
    EXPECT_EQ(R.L.GetTokenItems()[0].aType, ttPureLyric);
    EXPECT_EQ(R.L.GetTokenItems()[1].ABCTextRange, TKoRange(2, 2));
    EXPECT_EQ(R.L.RightLocation.BarlinesCount, 2);
    EXPECT_FALSE(R.L.Text.bLineBreak);
}

TEST(LyricReader, LineBreakAfterTheSkipMarkerIsRemembered) {
    const TLyricRead R = ReadOne("我/ \r们");
    ASSERT_TRUE(R.bOk);
    EXPECT_TRUE(R.L.Text.bLineBreak);
    EXPECT_EQ(R.End, 3);
}

TEST(LyricWriter, SkipMarkerLineBreakAndCommentGuard) {
    auto L = MakeLyric("我", TKoRange(0, 1));
    L.RightLocation.BarlinesCount = 2;
    L.RightLocation.NotesCount = 1;
    EXPECT_EQ(Utf8(L.ToABCText(false, false)), "我||/");
    L.Text.bLineBreak = true;
    EXPECT_EQ(Utf8(L.ToABCText(true, true)), "我||/\r\n");
    EXPECT_EQ(Utf8(L.ToABCText(true, false)), "我||/\r");
    EXPECT_EQ(Utf8(L.ToABCText(false, true)), "我||/");
    // After a space "//" would open a comment.
    const auto W = MakeLyric("hello ", TKoRange(0, 6), 2);
    EXPECT_EQ(Utf8(W.ToABCText(false, false)), "hello//");
    EXPECT_EQ(Utf8(MakeLyric("{a  //}", TKoRange(0, 1)).ToABCText(false, false)), "{{a//}}");
}

// ---- Verses -------------------------------------------------------------------------------

TEST(VerseLyrics, ReadingStopsAtTheFirstLyricThatDoesNotRead) {
    TrecNuo4ABCParseInfo_Lyrics_Verse V = VerseOf(U("hello world"));
    EXPECT_EQ(Texts(V), (std::vector<std::string>{"hello ", "world"}));
    V = VerseOf(U("hel-lo"));
    EXPECT_EQ(Texts(V), (std::vector<std::string>{"hel-", "lo"}));
    V = VerseOf(U("  我 们 （， 你"));
    EXPECT_EQ(Texts(V), (std::vector<std::string>{"我", "们"}));
    V = VerseOf(U("/我"));  // a "/" that opens the verse is a lyric
    EXPECT_EQ(Texts(V), (std::vector<std::string>{"/", "我"}));
    TrecNuo4ABCParseInfo_Lyrics_Verse E;
    const std::u16string Bad = U("（，");
    EXPECT_FALSE(E.AppendToLyricsArray(Bad, All(Bad)));
    EXPECT_TRUE(E.IsEmpty());
}

TEST(VerseLyrics, RangeStretchesToTheLastLyric) {
    TrecNuo4ABCParseInfo_Lyrics_Verse V;
    V.VersePrefix.SetToDefaultForLyrics(TKoRange(0, 0));
    V.ABCTextRange = TKoRange(0, 0);
    const std::u16string S = U("我 们/");
    V.AppendToLyricsArray(S, All(S));
    EXPECT_EQ(V.ABCTextRange, TKoRange(0, 4));
    EXPECT_TRUE(V.IsValid());
    EXPECT_FALSE(V.IsEmpty());
    EXPECT_EQ(V.FromBasicIndex, -1);
}

TEST(VerseLyrics, CompoundNeedsLyricsAndAGroupFromTheFirstVerse) {
    TrecNuo4ABCParseInfo_Lyrics_Verse V = VerseOf(U("我"));
    V.GetVertInfoPtr()->VerseCount = 2;
    EXPECT_TRUE(V.IsCompound());
    V.LyricsArray.clear();
    EXPECT_FALSE(V.IsCompound());
    TrecNuo4ABCParseInfo_Lyrics_Verse Invalid;
    EXPECT_FALSE(Invalid.IsValid());
}

TEST(VerseWriter, SpaceOnlyBetweenLetters) {
    TrecNuo4ABCParseInfo_Lyrics_Verse V;
    V.LyricsArray = {MakeLyric("hello ", TKoRange(0, 6)), MakeLyric("world", TKoRange(0, 5))};
    EXPECT_EQ(Utf8(V.ToABCText_Lyrics()), "hello world");

    V.LyricsArray = {MakeLyric("ab", TKoRange(0, 2)), MakeLyric("cd", TKoRange(0, 2))};
    TKoRangeArray Ranges;
    EXPECT_EQ(Utf8(V.ToABCText_Lyrics(Ranges)), "ab cd");
    EXPECT_EQ(Ranges, (TKoRangeArray{TKoRange(0, 2), TKoRange(3, 2)}));

    V.LyricsArray = {MakeLyric("我", TKoRange(0, 1)), MakeLyric("们", TKoRange(0, 1))};
    EXPECT_EQ(Utf8(V.ToABCText_Lyrics()), "我们");
}

TEST(VerseWriter, RangesIncludeLineBreaksAndSkipMarkers) {
    TrecNuo4ABCParseInfo_Lyrics_Verse V;
    V.LyricsArray = {MakeLyric("我", TKoRange(0, 1), 1), MakeLyric("们", TKoRange(0, 1), 0, true),
                     MakeLyric("ab", TKoRange(0, 2))};
    TKoRangeArray Ranges;
    EXPECT_EQ(Utf8(V.ToABCText_Lyrics(Ranges)), "我/们\r\nab");
    EXPECT_EQ(Ranges, (TKoRangeArray{TKoRange(0, 2), TKoRange(2, 3), TKoRange(5, 2)}));
}

TEST(VerseWriter, VerseTextIsShortPrefixThenLyrics) {
    TrecNuo4ABCParseInfo_Lyrics_Verse V = VerseOf(U("我 们"));
    V.VersePrefix.Value.VertInfo.VerseNumber = 1;
    EXPECT_EQ(Utf8(V.ToABCText()), "W2@1,1:\r我们");
}

// Lyrics that would join their neighbour when read again are kept apart.
TEST(VerseWriter, NeighboursThatWouldJoinAreKeptApart) {
    TrecNuo4ABCParseInfo_Lyrics_Verse V;
    V.LyricsArray = {MakeLyric("é", TKoRange(0, 1)), MakeLyric("b", TKoRange(0, 1))};
    EXPECT_EQ(Utf8(V.ToABCText_Lyrics()), "é b");
    V.LyricsArray = {MakeLyric("我", TKoRange(0, 1)), MakeLyric("，", TKoRange(0, 1))};
    EXPECT_EQ(Utf8(V.ToABCText_Lyrics()), "我{，}");
    V.LyricsArray = {MakeLyric("我", TKoRange(0, 1), 1), MakeLyric("，", TKoRange(0, 1))};
    EXPECT_EQ(Utf8(V.ToABCText_Lyrics()), "我/，");  // the skip marker already separates
    V.LyricsArray = {MakeLyric("我", TKoRange(0, 1)), MakeLyric("/", TKoRange(0, 1))};
    EXPECT_EQ(Utf8(V.ToABCText_Lyrics()), "我{/}");
    V.LyricsArray = {MakeLyric("a", TKoRange(0, 1)), MakeLyric("-", TKoRange(0, 1))};
    EXPECT_EQ(Utf8(V.ToABCText_Lyrics()), "a{-}");
    V.LyricsArray = {MakeLyric("我", TKoRange(0, 1), 1), MakeLyric("*", TKoRange(0, 1))};
    EXPECT_EQ(Utf8(V.ToABCText_Lyrics()), "我/ *");       // "/*" would open a comment
    V.LyricsArray = {MakeLyric("/", TKoRange(0, 1), 2)};  // "///" at a line start is a comment
    EXPECT_EQ(Utf8(V.ToABCText_Lyrics()), "{/}//");
    V.LyricsArray = {MakeLyric("/", TKoRange(0, 1)), MakeLyric("我", TKoRange(0, 1))};
    EXPECT_EQ(Utf8(V.ToABCText_Lyrics()), "/我");
    V.LyricsArray = {MakeLyric("\\", TKoRange(0, 1)), MakeLyric("s", TKoRange(0, 1))};
    EXPECT_EQ(Utf8(V.ToABCText_Lyrics()), "\\ s");
}

// Verses read from a text, written and read again give the same lyrics.
TEST(VerseRoundTrip, ReadVersesWriteAndReadBackUnchanged) {
    const std::vector<std::string> Pieces = {
        "我", "们",     "（我）",  "我，",       "hello ",    "world",  "hel-",
        "lo", "it's",   "{我们}",  "{(女)[我]}", "{我_们__}", "{[ab]}", "，",
        "/",  "|",      "\\x6211", "é",          "{ }",       "x",      "-",
        "a",  "don't,", "（a）",   "\\n",        "（\\r）",   "\\x000b"};
    const std::vector<std::string> Gaps = {" ", "", "/", "||/ ", "\r\n", " \r\n"};
    std::mt19937 Rng(7);
    for (int Round = 0; Round < 3000; ++Round) {
        std::string S;
        const int Count = 1 + static_cast<int>(Rng() % 8);
        for (int I = 0; I < Count; ++I) {
            S += Pieces[Rng() % Pieces.size()];
            S += Gaps[Rng() % Gaps.size()];
        }
        const std::u16string Text = U(S);
        const TrecNuo4ABCParseInfo_Lyrics_Verse First = VerseOf(Text);
        const std::u16string Written = First.ToABCText_Lyrics();
        const TrecNuo4ABCParseInfo_Lyrics_Verse Second = VerseOf(Written);
        ASSERT_EQ(Normal(Values(Second)), Normal(Values(First)))
            << "read: " << S << "\nwritten: " << Utf8(Written) << "\n"
            << Dump(Values(First)) << "\n"
            << Dump(Values(Second));
    }
}

// Lyrics built in memory keep their number, order, skip markers and line breaks through
// writing and reading; only a word's trailing space may come or go.
TEST(VerseRoundTrip, BuiltVersesKeepTheirLyrics) {
    const std::vector<std::u16string> Alphabet = {u"我", u"a", u"b",  u"é",  u"-",
                                                  u"'",  u",", u"。", u"（", u"）",
                                                  u"(",  u"!", u" ",  u"\\", u"s"};
    std::mt19937 Rng(11);
    for (int Round = 0; Round < 3000; ++Round) {
        TrecNuo4ABCParseInfo_Lyrics_Verse V;
        const int Count = 1 + static_cast<int>(Rng() % 6);
        for (int I = 0; I < Count; ++I) {
            TrecNuo4ABCParseInfo_Lyric L;
            auto& D = L.Text.Data;
            const int Len = 1 + static_cast<int>(Rng() % 4);
            for (int K = 0; K < Len; ++K) D.Text += Alphabet[Rng() % Alphabet.size()];
            const int32_t Start = static_cast<int32_t>(Rng() % Len);
            D.TextCenteredRange = TKoRange(Start, 1 + static_cast<int32_t>(Rng() % (Len - Start)));
            for (int K = 0; K < Len; ++K) D.TextUnderlineCountArray.push_back(Rng() % 5 == 0);
            L.RightLocation.BarlinesCount = Rng() % 4 == 0 ? 1 : 0;
            L.RightLocation.NotesCount = static_cast<int32_t>(Rng() % 3);
            L.Text.bLineBreak = Rng() % 4 == 0;
            V.LyricsArray.push_back(L);
        }
        const std::u16string Written = V.ToABCText_Lyrics();
        const TrecNuo4ABCParseInfo_Lyrics_Verse Back = VerseOf(Written);
        ASSERT_EQ(Normal(Values(Back)), Normal(Values(V))) << "written: " << Utf8(Written) << "\n"
                                                           << Dump(Values(V)) << "\n"
                                                           << Dump(Values(Back));
        // Writing what was read gives the same text again.
        EXPECT_EQ(Back.ToABCText_Lyrics(), VerseOf(Back.ToABCText_Lyrics()).ToABCText_Lyrics());
    }
}

// Verses written into a ".Words" section and scanned again give the same verses: no written
// line turns into a comment, a header ("." and letters) or a verse prefix ("W:", "w2:"), and a
// decoded line break or other control character does not end its line.
TEST(VerseRoundTrip, WrittenSectionScansToTheSameVerses) {
    const std::vector<std::string> Pieces = {
        "我", "们", "（我）", "hello ", "world", "hel-", "lo",    "{我们}", "，",     "/",
        "|",  "é",  "{ }",    "x",      "-",     "a",    "（a）", "\\",     "*",      ".",
        "W:", "w:", "W",      "w",      "2:",    "1",    "\\n",   "\\r",    "\\x0001"};
    const std::vector<std::string> Gaps = {" ", "", "/", "//", "||/ ", "\r\n"};
    std::mt19937 Rng(5);
    for (int Round = 0; Round < 1000; ++Round) {
        std::vector<TrecNuo4ABCParseInfo_Lyrics_Verse> Verses;
        std::u16string Section = u".Words\r";
        const int VerseCount = 1 + static_cast<int>(Rng() % 3);
        for (int K = 0; K < VerseCount; ++K) {
            std::string S;
            const int Count = 1 + static_cast<int>(Rng() % 6);
            for (int I = 0; I < Count; ++I) {
                S += Pieces[Rng() % Pieces.size()];
                S += Gaps[Rng() % Gaps.size()];
            }
            TrecNuo4ABCParseInfo_Lyrics_Verse V = VerseOf(U(S));
            if (V.IsEmpty()) continue;
            auto& P = V.VersePrefix.Value;
            P.VertInfo.VerseNumber = static_cast<int32_t>(Rng() % 4);
            P.VertInfo.VerseCount = 1 + static_cast<int32_t>(Rng() % 3);
            P.VertInfo.bShowVerseIndex = Rng() % 2 == 0;
            P.HorzLocation.InitializeToNoteIndex(static_cast<int32_t>(Rng() % 5));
            Section += V.ToABCText() + u"\r";
            Verses.push_back(V);
        }
        const TNuo4ABCBuffer B(Section);
        const auto& Back = B.Section_Lyrics.VerseBuffer;
        ASSERT_EQ(Back.size(), Verses.size()) << Utf8(Section);
        for (size_t K = 0; K < Verses.size(); ++K) {
            EXPECT_EQ(Back[K].VersePrefix.Value, Verses[K].VersePrefix.Value) << Utf8(Section);
            // A verse's last lyric ends its line however it was written.
            auto A = Normal(Values(Back[K])), E = Normal(Values(Verses[K]));
            if (!A.empty()) A.back().bLineBreak = false;
            if (!E.empty()) E.back().bLineBreak = false;
            ASSERT_EQ(A, E) << Utf8(Section) << "\n" << Dump(A) << "\n" << Dump(E);
        }
    }
}

// ---- Section scan -------------------------------------------------------------------------

TEST(LyricsScan, LinesWithoutPrefixOpenAnImplicitVerse) {
    const std::u16string S = U(".Words\r  我 们\r你/\r");
    const TNuo4ABCBuffer B(S);
    const auto& Sec = B.Section_Lyrics;
    ASSERT_EQ(Sec.GetCount(), 1);
    const auto& V = Sec.VerseBuffer[0];
    EXPECT_TRUE(V.IsValid());
    EXPECT_EQ(V.VersePrefix.Header.ABCTextRange, TKoRange(7, 0));  // the line's start
    EXPECT_EQ(V.VersePrefix.Value, TrecNuo4LyricVersePrefix());
    EXPECT_EQ(Texts(V), (std::vector<std::string>{"我", "们", "你"}));
    EXPECT_FALSE(V.LyricsArray[0].Text.bLineBreak);
    EXPECT_TRUE(V.LyricsArray[1].Text.bLineBreak);  // the next lyric is on another line
    EXPECT_FALSE(V.LyricsArray[2].Text.bLineBreak);
    EXPECT_EQ(V.ABCTextRange, TKoRange::FromStartEnd(7, 14));
    EXPECT_EQ(Sec.ABCTextRange_SectionName, TKoRange(0, 6));
    EXPECT_EQ(Sec.ABCTextRange_All, TKoRange::FromStartEnd(0, 14));
    EXPECT_EQ(Sec.GetLastLyricPtr(), &V.LyricsArray[2]);
}

TEST(LyricsScan, PrefixLinesOpenVersesAndLyricsMayFollowOnTheLine) {
    const std::u16string S = U(".Words\rW1@1,1:\r我 们\rW2@3,1: 你/*c*/好\r");
    const TNuo4ABCBuffer B(S);
    const auto& Sec = B.Section_Lyrics;
    ASSERT_EQ(Sec.GetCount(), 2);
    EXPECT_EQ(Texts(Sec.VerseBuffer[0]), (std::vector<std::string>{"我", "们"}));
    EXPECT_EQ(Texts(Sec.VerseBuffer[1]), (std::vector<std::string>{"你", "好"}));
    EXPECT_EQ(Sec.VerseBuffer[1].VersePrefix.Value.VertInfo.VerseNumber, 1);
    EXPECT_EQ(Sec.VerseBuffer[1].VersePrefix.Value.HorzLocation.AbsLocate_BarlineAndNote_BarlinePos,
              2);
    // The previous verse's last lyric ended its line.
    EXPECT_TRUE(Sec.VerseBuffer[0].LyricsArray[1].Text.bLineBreak);
    EXPECT_FALSE(Sec.VerseBuffer[1].LyricsArray[0].Text.bLineBreak);  // same line as 好
    EXPECT_EQ(Sec.VerseBuffer[0].ABCTextRange, TKoRange::FromStartEnd(7, 17));
    EXPECT_EQ(Sec.VerseBuffer[1].ABCTextRange.StartIndex, 19);
    EXPECT_EQ(Sec.ABCTextRange_All.EndIndex(), static_cast<int32_t>(S.size()) - 2);
}

TEST(LyricsScan, PreamblePrefixLinesAreCollected) {
    const std::u16string S = U("W1:我\r.Voice\r1 2\r.Words\r们\r");
    const TNuo4ABCBuffer B(S);
    const auto& Sec = B.Section_Lyrics;
    ASSERT_EQ(Sec.GetCount(), 1);  // the section's line adds to the preamble verse
    EXPECT_EQ(Texts(Sec.VerseBuffer[0]), (std::vector<std::string>{"我", "们"}));
    EXPECT_EQ(Sec.VerseBuffer[0].ABCTextRange, TKoRange::FromStartEnd(0, 23));
    // All runs from the header word: a lyric before it does not move it.
    EXPECT_EQ(Sec.ABCTextRange_All, TKoRange::FromStartEnd(16, 23));
}

TEST(LyricsScan, UnreadableRestOfAPieceIsSkipped) {
    const std::u16string S = U(".Words\r我 （，们 你\r好\r");
    const TNuo4ABCBuffer B(S);
    EXPECT_EQ(Texts(B.Section_Lyrics.VerseBuffer.at(0)), (std::vector<std::string>{"我", "好"}));
}

TEST(LyricsScan, PrefixLineWithoutLyricsStillCounts) {
    const std::u16string S = U(".Words\rW1@1,1:\r.Page\r");
    const TNuo4ABCBuffer B(S);
    const auto& Sec = B.Section_Lyrics;
    ASSERT_EQ(Sec.GetCount(), 1);
    EXPECT_TRUE(Sec.VerseBuffer[0].IsEmpty());
    EXPECT_EQ(Sec.GetLastLyricPtr(), nullptr);
    EXPECT_EQ(Sec.ABCTextRange_All, TKoRange::FromStartEnd(0, 13));
}

TEST(LyricsScan, NoLyricsWithoutLyricsLines) {
    const std::u16string S = U(".Voice\r1 2\r.Words\r\r");
    const TNuo4ABCBuffer B(S);
    EXPECT_TRUE(B.Section_Lyrics.BufferIsEmpty());
    EXPECT_EQ(B.Section_Lyrics.ABCTextRange_All, TKoRange(11, 6));
}

TEST(LyricsScan, DemoSongHasTwoVersesOfSkippedNotes) {
    std::ifstream F(std::string(NUO4_SOURCE_DIR) + "/resources/demo/molihua.nuoabc",
                    std::ios::binary);
    ASSERT_TRUE(F.good());
    std::stringstream Buf;
    Buf << F.rdbuf();
    const TNuo4ABCBuffer B(U(Buf.str()));
    const auto& Sec = B.Section_Lyrics;
    ASSERT_EQ(Sec.GetCount(), 2);
    EXPECT_EQ(Sec.VerseBuffer[1].VersePrefix.Value.VertInfo.VerseNumber, 1);
    const auto& First = Sec.VerseBuffer[0].LyricsArray;
    ASSERT_GT(First.size(), 6u);
    EXPECT_EQ(Utf8(First[5].Text.Data.Text), "的");
    EXPECT_EQ(First[5].RightLocation.NotesCount, 1);
    EXPECT_TRUE(Sec.VerseBuffer[0].LyricsArray[8].Text.bLineBreak);  // "花" ends its line
    // Written back, a verse reads as the same lyrics.
    const std::u16string W = Sec.VerseBuffer[0].ToABCText_Lyrics();
    EXPECT_EQ(Values(VerseOf(W)), Values(Sec.VerseBuffer[0]));
}

// ---- Verse dialog -------------------------------------------------------------------------

TEST(VerseDialogText, LeadingBlankLinesGoAndLinesAreTrimmed) {
    EXPECT_EQ(Utf8(Lyrics_NormalizeVerseDialogText(U(" \r\n\t\r  我 们 \r\n你\n"))), "我 们\r你\r");
    EXPECT_EQ(Utf8(Lyrics_NormalizeVerseDialogText(U("a\r\r b"))), "a\r\rb\r");
    EXPECT_EQ(Lyrics_NormalizeVerseDialogText(U(" \r \r")), u"");
    EXPECT_EQ(Lyrics_NormalizeVerseDialogText(u""), u"");
}
