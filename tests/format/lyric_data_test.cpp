#include "format/lyric_data.h"

#include <gtest/gtest.h>

#include <random>

#include "test_util.h"

using namespace nuo4;
using nuo4::test::All;
using nuo4::test::U;
using nuo4::test::Utf8;

namespace {

struct TRead {
    bool bOk = false;
    int32_t End = -1;
    TrecNuo4ABCParseInfo_PureLyric L;
};

TRead Read(const std::u16string& S) {
    TRead R;
    R.bOk = ReadPureLyric(S, All(S), R.L, R.End);
    return R;
}

TRead Read(std::string_view S) {
    return Read(U(S));
}

TrecNuo4SymbolPureLyricData Data(std::string_view AText, TKoRange ACentred,
                                 std::vector<int32_t> ACounts = {}) {
    TrecNuo4SymbolPureLyricData D;
    D.Text = U(AText);
    D.TextCenteredRange = ACentred;
    D.TextUnderlineCountArray = std::move(ACounts);
    return D;
}

std::string Centred(const TrecNuo4SymbolPureLyricData& D) {
    return Utf8(D.GetCenteredText());
}

}  // namespace

// ---- Plain form ---------------------------------------------------------------------------

TEST(PureLyricPlain, BracketedCharacterHasPrefixCentreAndPostfix) {
    const TRead R = Read("（我）");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(Utf8(R.L.Data.GetPrefixText()), "（");
    EXPECT_EQ(Centred(R.L.Data), "我");
    EXPECT_EQ(Utf8(R.L.Data.GetPostfixText()), "）");
    EXPECT_EQ(R.End, 2);
    EXPECT_EQ(R.L.Data.ToABCText(), U("（我）"));  // written back without braces
}

TEST(PureLyricPlain, OpeningPunctuationNeedsAMainPart) {
    EXPECT_FALSE(Read("（，").bOk);  // closing right after opening
    EXPECT_FALSE(Read("（").bOk);    // range end after opening
    EXPECT_FALSE(Read("（（我").bOk);
    EXPECT_FALSE(Read("( a").bOk);  // white after opening
    EXPECT_FALSE(Read(" a").bOk);   // white at the start
}

TEST(PureLyricPlain, ClosingPunctuationAloneIsACompleteLyric) {
    const TRead R = Read("，，");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.L.Data.Text, U("，"));
    EXPECT_EQ(R.L.Data.TextCenteredRange, TKoRange(0, 1));
    EXPECT_EQ(R.End, 0);
}

TEST(PureLyricPlain, ClosingPunctuationAfterTheMainPartIsAppended) {
    const TRead R = Read("我，。们");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.L.Data.Text, U("我，。"));
    EXPECT_EQ(Centred(R.L.Data), "我");
    EXPECT_EQ(R.End, 2);
}

TEST(PureLyricPlain, EveryWideCharacterIsALyricOfItsOwn) {
    const TRead R = Read("我们");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.L.Data.Text, U("我"));
    EXPECT_EQ(R.End, 0);
}

TEST(PureLyricPlain, WordStopsAfterTheFirstSpaceOrHyphen) {
    TRead R = Read("hello world");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(Utf8(R.L.Data.Text), "hello ");
    EXPECT_EQ(Centred(R.L.Data), "hello ");
    EXPECT_EQ(R.End, 5);

    R = Read("hel-lo");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(Utf8(R.L.Data.Text), "hel-");
    EXPECT_EQ(Centred(R.L.Data), "hel");  // the English hyphen is not centred
    EXPECT_EQ(R.End, 3);

    R = Read("don't");  // an apostrophe is a word character
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(Utf8(R.L.Data.Text), "don't");
}

TEST(PureLyricPlain, EnglishClosingPunctuationIsNotCentred) {
    const TRead R = Read("hello,");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(Utf8(R.L.Data.Text), "hello,");
    EXPECT_EQ(Centred(R.L.Data), "hello");
}

TEST(PureLyricPlain, WordAfterOpeningPunctuationCentresTheWholeText) {
    const TRead R = Read("(la)");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(Utf8(R.L.Data.Text), "(la)");
    EXPECT_EQ(R.L.Data.TextCenteredRange, TKoRange(0, 4));
}

TEST(PureLyricPlain, EscapeIsDecodedAndEndsTheMainPart) {
    TRead R = Read("\\x6211，x");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.L.Data.Text, U("我，"));
    EXPECT_EQ(R.End, 6);

    R = Read("a\\sb");  // the escape after a word starts the next lyric
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(Utf8(R.L.Data.Text), "a");
    EXPECT_EQ(R.End, 0);

    R = Read("\\q");  // no escape: an ordinary backslash
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(Utf8(R.L.Data.Text), "\\");
    EXPECT_EQ(R.End, 0);
}

TEST(PureLyricPlain, SlashAtTheStartIsALyric) {
    const TRead R = Read("/");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(Utf8(R.L.Data.Text), "/");
}

TEST(PureLyricPlain, TrailingWhiteIsConsumedAndALineBreakRemembered) {
    TRead R = Read("我  们");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.End, 2);
    EXPECT_FALSE(R.L.bLineBreak);
    EXPECT_EQ(R.L.Header.ABCTextRange, TKoRange(0, 1));  // the lyric's own characters
    EXPECT_EQ(R.L.Header.aType, pitPureLyric);

    R = Read("我 \r\n们");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.End, 3);
    EXPECT_TRUE(R.L.bLineBreak);
}

TEST(PureLyricPlain, ReadingStaysInsideTheRange) {
    const std::u16string S = u"xhello world";
    TrecNuo4ABCParseInfo_PureLyric L;
    int32_t End = -1;
    ASSERT_TRUE(ReadPureLyric(S, TKoRange(1, 3), L, End));
    EXPECT_EQ(L.Data.Text, u"hel");
    EXPECT_EQ(End, 3);
    EXPECT_FALSE(ReadPureLyric(S, TKoRange(1, 0), L, End));
    EXPECT_FALSE(ReadPureLyric(S, TKoRange(10, 5), L, End));
}

// ---- Braced form --------------------------------------------------------------------------

TEST(PureLyricBraced, TwoCharactersOnOneNote) {
    const TRead R = Read("{我们}x");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.L.Data.Text, U("我们"));
    EXPECT_EQ(R.L.Data.TextCenteredRange, TKoRange(0, 1));
    EXPECT_EQ(R.End, 3);
}

TEST(PureLyricBraced, BracketsMarkTheCentredPart) {
    TRead R = Read("{(女)[我]}");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(Utf8(R.L.Data.GetPrefixText()), "(女)");
    EXPECT_EQ(Centred(R.L.Data), "我");

    R = Read("{前缀[居中]后缀}");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(Utf8(R.L.Data.GetPrefixText()), "前缀");
    EXPECT_EQ(Centred(R.L.Data), "居中");
    EXPECT_EQ(Utf8(R.L.Data.GetPostfixText()), "后缀");

    R = Read("{[ab]}");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.L.Data.TextCenteredRange, TKoRange(0, 2));
}

TEST(PureLyricBraced, UnderscoresAddExtensionLinesToTheLastCharacter) {
    const TRead R = Read("{我_们__}");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.L.Data.Text, U("我们"));
    EXPECT_EQ(R.L.Data.TextUnderlineCountArray, (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(R.End, 6);
}

TEST(PureLyricBraced, StatesRejectMisplacedMarks) {
    EXPECT_FALSE(Read("{[ab}").bOk);   // "}" inside the brackets
    EXPECT_FALSE(Read("{}").bOk);      // empty inside
    EXPECT_FALSE(Read("{ab").bOk);     // no matching "}"
    EXPECT_FALSE(Read("{_a}").bOk);    // "_" before any character
    EXPECT_FALSE(Read("{[_a]}").bOk);  // "_" right after "["
    EXPECT_FALSE(Read("{a]}").bOk);    // "]" without "["
    EXPECT_FALSE(Read("{[]}").bOk);    // "]" right after "["
    EXPECT_FALSE(Read("{[a]b[c]}").bOk);
    EXPECT_FALSE(Read("{[}").bOk);
    EXPECT_TRUE(Read("{a [b] c}").bOk);  // white space is text
}

TEST(PureLyricBraced, FirstClosingBraceInAnEndStateCompletesTheLyric) {
    const TRead R = Read("{a{b}c}");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(Utf8(R.L.Data.Text), "a{b");
    EXPECT_EQ(R.End, 4);
}

TEST(PureLyricBraced, EnglishCentringIsNotApplied) {
    const TRead R = Read("{hello,}");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.L.Data.TextCenteredRange, TKoRange(0, 1));
}

// ---- Predicates ---------------------------------------------------------------------------

TEST(PureLyricData, DefaultIsInvalid) {
    TrecNuo4SymbolPureLyricData D;
    EXPECT_FALSE(D.IsValid());
    EXPECT_EQ(D.TextCenteredRange, TKoRange(0, 1));
    EXPECT_EQ(D.ToABCText(), u"");
    EXPECT_FALSE(Data("ab", TKoRange(2, 1)).IsValid());
    EXPECT_FALSE(Data("ab", TKoRange(0, 0)).IsValid());
    EXPECT_TRUE(Data("ab", TKoRange(1, 1)).IsValid());
}

TEST(PureLyricData, CountsSplitTheText) {
    const auto D = Data("(女)我们", TKoRange(3, 1));
    EXPECT_EQ(D.GetPrefixTextCharCount(), 3);
    EXPECT_EQ(D.GetCenteredTextCharCount(), 1);
    EXPECT_EQ(D.GetPostfixTextCharCount(), 1);
    EXPECT_EQ(D.GetLyricTextCharCount(), 2);
    EXPECT_EQ(Utf8(D.GetLyricText()), "我们");
    EXPECT_TRUE(D.IsWithPrefixText());
    EXPECT_TRUE(D.IsWithPostfixText());
    // A damaged centred range never reaches outside the text.
    const auto Bad = Data("ab", TKoRange(1, 9));
    EXPECT_EQ(Bad.GetCenteredTextCharCount(), 1);
    EXPECT_EQ(Bad.GetPostfixTextCharCount(), 0);
}

TEST(PureLyricData, PunctuationPredicates) {
    EXPECT_TRUE(Data("（我）", TKoRange(1, 1)).PrefixIsLeftBiaoDian());
    EXPECT_FALSE(Data("((我", TKoRange(2, 1)).PrefixIsLeftBiaoDian());
    EXPECT_FALSE(Data("女我", TKoRange(1, 1)).PrefixIsLeftBiaoDian());
    EXPECT_TRUE(Data("我，）", TKoRange(0, 1)).PostfixIsRightBiaoDian());
    EXPECT_FALSE(Data("我们", TKoRange(0, 1)).PostfixIsRightBiaoDian());
    EXPECT_FALSE(Data("我", TKoRange(0, 1)).PostfixIsRightBiaoDian());
    EXPECT_TRUE(Data("hel-", TKoRange(0, 3)).EndsWithRightBiaoDianOrMinus());
    EXPECT_TRUE(Data("我。", TKoRange(0, 1)).EndsWithRightBiaoDianOrMinus());
    EXPECT_FALSE(Data("我", TKoRange(0, 1)).EndsWithRightBiaoDianOrMinus());
}

TEST(PureLyricData, EnglishLyricIsWordCharactersWithOneFinalMark) {
    EXPECT_TRUE(Data("it's", TKoRange(0, 4)).IsEnglishLyric());
    EXPECT_TRUE(Data("hel-", TKoRange(0, 3)).IsEnglishLyric());
    EXPECT_TRUE(Data("so long!", TKoRange(0, 7)).IsEnglishLyric());
    EXPECT_FALSE(Data("a,b", TKoRange(0, 3)).IsEnglishLyric());  // not final
    EXPECT_FALSE(Data("(a)", TKoRange(1, 1)).IsEnglishLyric());  // prefix
    EXPECT_FALSE(Data("-a", TKoRange(0, 2)).IsEnglishLyric());   // first is no word character
    EXPECT_FALSE(Data("我", TKoRange(0, 1)).IsEnglishLyric());   // wide character
    EXPECT_FALSE(Data("", TKoRange(0, 1)).IsEnglishLyric());
}

TEST(PureLyricData, CheckForEnglishLyricCutsOneCharacterOnce) {
    auto D = Data("hello,", TKoRange(0, 6));
    D.CheckForEnglishLyric();
    EXPECT_EQ(D.TextCenteredRange, TKoRange(0, 5));
    D.CheckForEnglishLyric();  // a second call changes nothing
    EXPECT_EQ(D.TextCenteredRange, TKoRange(0, 5));
    auto W = Data("我，", TKoRange(0, 2));
    W.CheckForEnglishLyric();
    EXPECT_EQ(W.TextCenteredRange, TKoRange(0, 2));
}

TEST(PureLyricData, UnderlineCountsStartAtTheCentredPart) {
    auto D = Data("(我们", TKoRange(1, 1), {5, 0, 2});
    EXPECT_EQ(D.GetUnderlineMaxCount(), 2);  // the prefix's 5 does not count
    EXPECT_TRUE(D.IsWithUnderline());
    D.SetUnderlineCount(3);
    EXPECT_EQ(D.TextUnderlineCountArray, (std::vector<int32_t>{5, 3, 3}));
    auto N = Data("我们", TKoRange(0, 1));
    EXPECT_FALSE(N.IsWithUnderline());
    N.CheckUnderlineArray();
    EXPECT_EQ(N.TextUnderlineCountArray, (std::vector<int32_t>{0, 0}));
    auto Short = Data("我们", TKoRange(0, 1), {1});
    Short.CheckUnderlineArray();  // a short array is completed, not trusted
    EXPECT_EQ(Short.TextUnderlineCountArray, (std::vector<int32_t>{1, 0}));
}

TEST(PureLyricData, MergeJoinsTextsAndCounts) {
    auto A = Data("(我", TKoRange(1, 1), {0, 1});
    const auto B = Data("们，", TKoRange(0, 1));  // no counts yet
    auto Keep = A;
    Keep.Merge(&B, -1);
    EXPECT_EQ(Utf8(Keep.Text), "(我们，");
    EXPECT_EQ(Keep.TextCenteredRange, TKoRange(1, 1));
    EXPECT_EQ(Keep.TextUnderlineCountArray, (std::vector<int32_t>{0, 1, 0, 0}));
    auto Set = A;
    Set.Merge(&B, 2);
    EXPECT_EQ(Set.TextUnderlineCountArray, (std::vector<int32_t>{2, 2, 2, 2}));
    auto None = A;
    None.Merge(nullptr, -1);
    EXPECT_EQ(None.Text, A.Text);
}

// ---- Writer -------------------------------------------------------------------------------

TEST(PureLyricWriter, ChoosesTheShortestForm) {
    EXPECT_EQ(Utf8(Data("我", TKoRange(0, 1), {1}).ToABCText()), "{我_}");
    EXPECT_EQ(Utf8(Data("我们", TKoRange(0, 1)).ToABCText()), "{我们}");
    EXPECT_EQ(Utf8(Data("(女)我", TKoRange(3, 1)).ToABCText()), "{(女)[我]}");
    EXPECT_EQ(Utf8(Data("ab", TKoRange(0, 2)).ToABCText()), "ab");
    EXPECT_EQ(Utf8(Data("ab", TKoRange(0, 1)).ToABCText()), "{ab}");
    EXPECT_EQ(Utf8(Data("hel-", TKoRange(0, 3)).ToABCText()), "hel-");
    EXPECT_EQ(Utf8(Data("我，。", TKoRange(0, 1)).ToABCText()), "我，。");
    EXPECT_EQ(Utf8(Data("前缀居中后缀", TKoRange(2, 2)).ToABCText()), "{前缀[居中]后缀}");
    // The run of the last centred character stands before "]".
    EXPECT_EQ(Utf8(Data("(我了", TKoRange(1, 1), {1, 2, 1}).ToABCText()), "{(_[我__]了_}");
}

TEST(PureLyricWriter, PlainFormOnlyWhenItReadsBack) {
    // Each would be lost or changed if written without braces.
    EXPECT_EQ(Utf8(Data(" ", TKoRange(0, 1)).ToABCText()), "{ }");
    EXPECT_EQ(Utf8(Data("(", TKoRange(0, 1)).ToABCText()), "{(}");
    EXPECT_EQ(Utf8(Data("\\,", TKoRange(0, 1)).ToABCText()), "{\\,}");
    EXPECT_EQ(Utf8(Data("hello,", TKoRange(0, 6)).ToABCText()), "{[hello,]}");
    // "(a)" read plain would centre all three characters.
    EXPECT_EQ(Utf8(Data("(a)", TKoRange(1, 1)).ToABCText()), "{([a])}");
}

// Lyric texts without "[", "]", "_", "{" and "}" read back to the same data, whatever form the
// writer chose.
TEST(PureLyricWriter, RandomLyricsReadBackToTheSameData) {
    const std::vector<std::u16string> Alphabet = {u"我", u"们", u"a",  u"b",  u"é", u"-", u"'",
                                                  u",",  u"。", u"（", u"）", u"(", u")", u"!",
                                                  u" ",  u"\\", u"/",  u"|",  u"x", u"s"};
    std::mt19937 Rng(20261209);
    for (int Round = 0; Round < 4000; ++Round) {
        TrecNuo4SymbolPureLyricData D;
        const int Len = 1 + static_cast<int>(Rng() % 5);
        for (int I = 0; I < Len; ++I) D.Text += Alphabet[Rng() % Alphabet.size()];
        const int32_t Start = static_cast<int32_t>(Rng() % Len);
        D.TextCenteredRange = TKoRange(Start, 1 + static_cast<int32_t>(Rng() % (Len - Start)));
        for (int I = 0; I < Len; ++I) D.TextUnderlineCountArray.push_back(Rng() % 4 == 0 ? 1 : 0);
        const std::u16string S = D.ToABCText();
        const TRead R = Read(S);
        ASSERT_TRUE(R.bOk) << Utf8(S);
        EXPECT_EQ(R.End, static_cast<int32_t>(S.size()) - 1) << Utf8(S);
        EXPECT_EQ(R.L.Data, D) << Utf8(S);
    }
}

// A control character (a decoded "\n", say) never stands raw in a lyrics line: the centred
// character of the plain form is written as an escape; where only braces could hold the lyric
// (no escapes there) it becomes a space rather than a line break.
TEST(PureLyricWriter, ControlCharactersAreEscapedNeverRaw) {
    struct TCase {
        std::u16string Text;
        TKoRange Centred;
        std::vector<int32_t> Counts;
        const char* Written;
        bool bReadsBack;
    };
    const TCase Cases[] = {
        {u"\n", {0, 1}, {}, "\\n", true},       {u"\r", {0, 1}, {}, "\\r", true},
        {u"\x0b", {0, 1}, {}, "\\x000b", true}, {u"（\n）", {1, 1}, {}, "（\\n）", true},
        {u"\n", {0, 1}, {1}, "{ _}", false},    {u"a\nb", {0, 1}, {}, "{a b}", false},
    };
    for (const TCase& C : Cases) {
        TrecNuo4SymbolPureLyricData D;
        D.Text = C.Text;
        D.TextCenteredRange = C.Centred;
        D.TextUnderlineCountArray = C.Counts;
        const std::u16string S = D.ToABCText();
        EXPECT_EQ(Utf8(S), C.Written);
        EXPECT_EQ(S.find_first_of(u"\r\n\x0b"), std::u16string::npos);
        const TRead R = Read(S);
        ASSERT_TRUE(R.bOk) << Utf8(S);
        D.CheckUnderlineArray();
        if (C.bReadsBack) {
            EXPECT_EQ(R.L.Data, D) << Utf8(S);
        }
    }
}

// Lyric records hold at most 1000 characters: a huge lyric is cut when it is read, in both
// forms, and its centred part stays inside what is kept.
TEST(PureLyricReader, HugeLyricsAreCutToTheRecordCapacity) {
    const std::u16string Huge(1 << 20, u'我');
    const std::u16string Word(1 << 20, u'a');
    const std::u16string Forms[] = {u"{" + Huge + u"}", u"{" + Huge + u"[x]}", Word};
    for (const std::u16string& S : Forms) {
        const TRead R = Read(S);
        ASSERT_TRUE(R.bOk);
        EXPECT_EQ(R.End, static_cast<int32_t>(S.size()) - 1);
        EXPECT_EQ(R.L.Data.Text.size(), Nuo4CharArray2Capacity);
        EXPECT_EQ(R.L.Data.TextUnderlineCountArray.size(), Nuo4CharArray2Capacity);
        EXPECT_TRUE(R.L.Data.IsValid());
    }
    EXPECT_EQ(Read(u"{" + Huge + u"}").L.Data.TextCenteredRange, TKoRange(0, 1));
    EXPECT_EQ(Read(u"{" + Huge + u"[x]}").L.Data.TextCenteredRange, TKoRange(999, 1));
    EXPECT_EQ(Read(Word).L.Data.TextCenteredRange, TKoRange(0, 1000));
}
