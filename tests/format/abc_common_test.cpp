#include "format/abc_common.h"

#include <gtest/gtest.h>

#include "format/abc_tokens.h"
#include "test_util.h"

using namespace nuo4;
using nuo4::test::All;
using nuo4::test::U;

namespace {

std::vector<std::u16string> Pieces(std::u16string_view S, const TKoRangeArray& R) {
    std::vector<std::u16string> Out;
    for (auto X : R)
        Out.push_back(X.IsValid() ? std::u16string(S.substr(X.StartIndex, X.Length))
                                  : u"<invalid>");
    return Out;
}

}  // namespace

TEST(CharacterClasses, WhiteIsControlSpaceNelAndNbsp) {
    EXPECT_TRUE(ABC_IsWhiteChar(0));
    EXPECT_TRUE(ABC_IsWhiteChar(32));
    EXPECT_TRUE(ABC_IsWhiteChar(0x85));
    EXPECT_TRUE(ABC_IsWhiteChar(0xA0));
    EXPECT_FALSE(ABC_IsWhiteChar(33));
    EXPECT_FALSE(ABC_IsWhiteChar(0x3000));
}

TEST(CharacterClasses, LettersFollowUnicodeCategories) {
    EXPECT_TRUE(ABC_IsLetterChar(u'V'));
    EXPECT_TRUE(ABC_IsLetterChar(0x4E2D));  // a CJK ideograph
    EXPECT_TRUE(ABC_IsLetterChar(0x00E9));
    EXPECT_FALSE(ABC_IsLetterChar(u'2'));
    EXPECT_FALSE(ABC_IsLetterChar(u'_'));
    EXPECT_FALSE(ABC_IsLetterChar(0x00D7));  // multiplication sign
}

TEST(CharacterClasses, WordWideAndPunctuation) {
    EXPECT_TRUE(ABC_IsWordChar(u'\''));
    EXPECT_TRUE(ABC_IsWordChar(0x2FFF));
    EXPECT_FALSE(ABC_IsWordChar(0x3000));
    EXPECT_TRUE(ABC_IsWideChar(0x3000));
    EXPECT_TRUE(ABC_IsOpeningPunctuation(0xFF08));
    EXPECT_TRUE(ABC_IsClosingPunctuation(u')'));
    EXPECT_FALSE(ABC_IsClosingPunctuationWithoutBrackets(u')'));
    EXPECT_TRUE(ABC_IsClosingPunctuationWithoutBrackets(0x3002));
}

TEST(Ranges, UnusableRangesFailWithoutReading) {
    const std::u16string T = u"abc";
    EXPECT_FALSE(ABC_RangeIsUsable(T, TKoRange(0, 0)));
    EXPECT_FALSE(ABC_RangeIsUsable(T, TKoRange(1, 3)));
    EXPECT_FALSE(ABC_RangeIsUsable(u"", TKoRange(0, 1)));
    EXPECT_EQ(ABC_FindFirstNonWhite(T, TKoRange(2, 5)), -1);
    EXPECT_EQ(ABC_GetRangeText(T, TKoRange(-1, 2)), u"");
    EXPECT_TRUE(ABC_RangeIsWhite(T, TKoRange(5, 1)));
    int32_t V, E;
    EXPECT_FALSE(ABC_ParseInt(u"12", TKoRange(0, 3), V, E));
}

TEST(Ranges, TrimFirstWordAndCharAt) {
    const std::u16string T = u"  ab cd  ";
    EXPECT_EQ(ABC_TrimRange(T, All(T)), TKoRange(2, 5));
    EXPECT_EQ(ABC_TrimRange(T, TKoRange(0, 2)), TKoRange::Invalid());
    EXPECT_EQ(ABC_FirstWordRange(T, All(T)), TKoRange(2, 2));
    EXPECT_EQ(ABC_FindFirstWhite(T, TKoRange(2, 7), true), 8);
    EXPECT_EQ(ABC_CharAt(T, 99), 0);
    EXPECT_TRUE(ABC_IsCRLF(u"a\r\n", 1));
    EXPECT_FALSE(ABC_IsCRLF(u"a\r", 1));
}

TEST(Matching, StartsWithWordEndAndCase) {
    const std::u16string T = u"Paper = 1";
    EXPECT_TRUE(ABC_StartsWith(T, All(T), u"paper", true, true));
    EXPECT_FALSE(ABC_StartsWith(T, All(T), u"paper", true, false));
    EXPECT_FALSE(ABC_StartsWith(T, All(T), u"Pap", true, false));
    EXPECT_TRUE(ABC_StartsWith(T, All(T), u"Pap", false, false));
    EXPECT_TRUE(ABC_StartsWith(T, TKoRange(0, 5), u"Paper", true, false));  // ends at range end
}

TEST(Matching, StartsWithOneOfPrefersLongestThenEarliest) {
    const std::u16string T = u"SubTitle2 x";
    int Index;
    int32_t End;
    ASSERT_TRUE(ABC_StartsWithOneOf(T, All(T), {u"Sub", u"SubTitle2", u"SubTitle"}, false, false,
                                    Index, End));
    EXPECT_EQ(Index, 1);
    EXPECT_EQ(End, 8);
    ASSERT_TRUE(ABC_StartsWithOneOf(T, All(T), {u"Su", u"sU"}, false, true, Index, End));
    EXPECT_EQ(Index, 0);
    EXPECT_FALSE(ABC_StartsWithOneOf(T, All(T), {u"x"}, false, false, Index, End));
    EXPECT_EQ(Index, -1);
}

TEST(Matching, FindEarliestOfTiesGoToTheEarlierString) {
    const std::u16string T = u"xx-->ab";
    int Index;
    EXPECT_EQ(ABC_FindEarliestOf(T, All(T), {u"ab", u"--", u"-->"}, Index), 2);
    EXPECT_EQ(Index, 1);
    EXPECT_EQ(ABC_FindEarliestCharOf(T, All(T), u"ba>", Index), 4);
    EXPECT_EQ(Index, 2);
    EXPECT_EQ(ABC_Find(T, TKoRange(0, 6), u"ab"), -1);  // must lie completely inside the range
}

TEST(Matching, MatchingCloseNestsAndSameStringAlwaysCloses) {
    const std::u16string T = u"{a{b}c}d";
    EXPECT_EQ(ABC_FindMatchingClose(T, All(T), u"{", u"}"), 6);
    EXPECT_EQ(ABC_FindMatchingClose(T, TKoRange(0, 6), u"{", u"}"), -1);
    EXPECT_EQ(ABC_FindMatchingClose(T, TKoRange(1, 7), u"{", u"}"), -1);  // must start with open
    const std::u16string Q = u"\"a\"b\"";
    EXPECT_EQ(ABC_FindMatchingClose(Q, All(Q), u"\"", u"\""), 2);
    TKoRange Inner;
    int32_t End;
    ASSERT_TRUE(ABC_RangeBetween(T, All(T), u"{", u"}", Inner, End));
    EXPECT_EQ(Inner, TKoRange(1, 5));
    EXPECT_EQ(End, 6);
    EXPECT_FALSE(ABC_RangeBetween(T, TKoRange(1, 7), u"{", u"}", Inner, End));
    EXPECT_EQ(Inner, TKoRange::Invalid());
    EXPECT_EQ(End, 7);
}

TEST(Matching, WrappedByBracesNeedsTheFirstBraceToMatchTheLast) {
    EXPECT_TRUE(ABC_IsWrappedByBraces(u"{a{b}}", All(u"{a{b}}")));
    EXPECT_FALSE(ABC_IsWrappedByBraces(u"{a}{b}", All(u"{a}{b}")));
    EXPECT_EQ(ABC_StripBracesOfString(u"{a}{b}"), u"{a}{b}");
    EXPECT_EQ(ABC_StripBracesOfString(u"{a,b}"), u"a,b");
    EXPECT_EQ(ABC_StripBracesOfString(u"{}"), u"");
    EXPECT_TRUE(ABC_RangeEquals(u"xTrue", TKoRange(1, 4), u"TRUE", true));
    EXPECT_FALSE(ABC_RangeEquals(u"xTrue", TKoRange(1, 4), u"TRUE", false));
}

TEST(Splitting, SeparatorRespectsBraceGroups) {
    const std::u16string T = u"a,{b,c},d";
    EXPECT_EQ(Pieces(T, ABC_SplitBySeparator(T, All(T), u',', true, true)),
              (std::vector<std::u16string>{u"a", u"{b,c}", u"d"}));
    EXPECT_EQ(Pieces(T, ABC_SplitBySeparator(T, All(T), u',', false, true)),
              (std::vector<std::u16string>{u"a", u"{b", u"c}", u"d"}));
    EXPECT_EQ(ABC_SplitBySeparator(u"a,", All(u"a,"), u',', true, true).size(), 1u);
    const auto Lead = ABC_SplitBySeparator(u",a", All(u",a"), u',', true, false);
    ASSERT_EQ(Lead.size(), 2u);
    EXPECT_TRUE(Lead[0].IsEmpty());
    const std::u16string U1 = u"a, {b, c";  // an unmatched brace runs to the end
    EXPECT_EQ(Pieces(U1, ABC_SplitBySeparator(U1, All(U1), u',', true, true)),
              (std::vector<std::u16string>{u"a", u"{b, c"}));
    const std::u16string W = u"a,  ,b";
    EXPECT_EQ(Pieces(W, ABC_SplitBySeparator(W, All(W), u',', true, true)),
              (std::vector<std::u16string>{u"a", u"<invalid>", u"b"}));
}

TEST(Splitting, WhiteKeepsBraceGroupsWhole) {
    const std::u16string T = u" {DunYin, ZhongYin}5\t6  ";
    EXPECT_EQ(Pieces(T, ABC_SplitByWhite(T, All(T), true)),
              (std::vector<std::u16string>{u"{DunYin, ZhongYin}5", u"6"}));
    EXPECT_EQ(Pieces(T, ABC_SplitByWhite(T, All(T), false)),
              (std::vector<std::u16string>{u"{DunYin,", u"ZhongYin}5", u"6"}));
    const std::u16string N = u"a\u00A0b c";  // only space and tab separate brace-aware tokens
    EXPECT_EQ(ABC_SplitByWhite(N, All(N), true).size(), 2u);
    EXPECT_EQ(ABC_SplitByWhite(N, All(N), false).size(), 3u);
}

TEST(Splitting, NameValues) {
    const std::u16string T = u" Paper = 297, 210 ";
    TKoRange Name;
    TKoRangeArray Values;
    int32_t End;
    ASSERT_TRUE(ABC_SplitNameValues(T, All(T), u',', u'=', true, true, Name, Values, End));
    EXPECT_EQ(Name, TKoRange(1, 5));
    EXPECT_EQ(Pieces(T, Values), (std::vector<std::u16string>{u"297", u"210"}));
    EXPECT_EQ(End, 16);
    const std::u16string E = u"Title = ";
    ASSERT_TRUE(ABC_SplitNameValues(E, All(E), u',', u'=', true, false, Name, Values, End));
    EXPECT_EQ(End, 6);
    EXPECT_FALSE(ABC_SplitNameValues(E, All(E), u',', u'=', true, true, Name, Values, End));
    EXPECT_FALSE(
        ABC_SplitNameValues(u" = 1", All(u" = 1"), u',', u'=', true, false, Name, Values, End));
    EXPECT_FALSE(
        ABC_SplitNameValues(u"abc", All(u"abc"), u',', u'=', true, false, Name, Values, End));
}

TEST(Numbers, IntegersStopAtTheFirstNonDigit) {
    int32_t V, E;
    ASSERT_TRUE(ABC_ParseInt(u"-42x", All(u"-42x"), V, E));
    EXPECT_EQ(V, -42);
    EXPECT_EQ(E, 2);
    EXPECT_FALSE(ABC_ParseInt(u"-x", All(u"-x"), V, E));
    EXPECT_FALSE(ABC_ParseInt(u"-", All(u"-"), V, E));
    ASSERT_TRUE(ABC_ParseInt(u"4294967297", All(u"4294967297"), V, E));
    EXPECT_EQ(V, 1);  // wraps like 32-bit arithmetic
}

TEST(Numbers, FloatsWithFractionsAndTheirFailures) {
    float V;
    int32_t E;
    ASSERT_TRUE(ABC_ParseFloat(u"3.05", All(u"3.05"), true, V, E));
    EXPECT_FLOAT_EQ(V, 3.05f);
    ASSERT_TRUE(ABC_ParseFloat(u"-0.5", All(u"-0.5"), true, V, E));
    EXPECT_FLOAT_EQ(V, -0.5f);
    ASSERT_TRUE(ABC_ParseFloat(u"2.", All(u"2."), true, V, E));
    EXPECT_FLOAT_EQ(V, 2.0f);
    EXPECT_EQ(E, 1);
    ASSERT_TRUE(ABC_ParseFloat(u"1.25", All(u"1.25"), true, V, E));
    EXPECT_FLOAT_EQ(V, 1.25f);
    EXPECT_FALSE(ABC_ParseFloat(u".5", All(u".5"), false, V, E));
    EXPECT_FALSE(ABC_ParseFloat(u"-.5", All(u"-.5"), false, V, E));
    EXPECT_FALSE(ABC_ParseFloat(u"1.-5", All(u"1.-5"), false, V, E));
    EXPECT_FALSE(ABC_ParseFloat(u"1.5x", All(u"1.5x"), true, V, E));
    ASSERT_TRUE(ABC_ParseFloat(u"1.5x", All(u"1.5x"), false, V, E));
    EXPECT_EQ(E, 2);
}

TEST(Numbers, WritingIgnoresTheLocale) {
    EXPECT_EQ(ABC_FormatFloat(3.3, 2), u"3.30");
    EXPECT_EQ(ABC_FormatFloat(297, 0), u"297");
    EXPECT_EQ(ABC_FormatFloat(-0.001, 2), u"0.00");
    EXPECT_EQ(ABC_FormatPoint(-0.6, -0.8), u"(-0.60,-0.80)");
}

TEST(Flags, BooleansStylesSidesAndColours) {
    bool B;
    int32_t E;
    EXPECT_TRUE(ABC_ParseBool(u"TRUE", All(u"TRUE"), true, B, E) && B);
    EXPECT_TRUE(ABC_ParseBool(u"0", All(u"0"), true, B, E) && !B);
    EXPECT_FALSE(ABC_ParseBool(u"yes", All(u"yes"), true, B, E));
    EXPECT_FALSE(ABC_ParseBool(u"truex", All(u"truex"), true, B, E));
    TNuo4FontStyles S;
    ASSERT_TRUE(ABC_ParseFontStyle(u"[sbI]", All(u"[sbI]"), S, E));
    EXPECT_EQ(ABC_FontStyleToText(S), u"[BIS]");
    EXPECT_EQ(E, 4);
    EXPECT_TRUE(ABC_ParseFontStyle(u"[]", All(u"[]"), S, E) && S == 0);
    EXPECT_FALSE(ABC_ParseFontStyle(u"[BX]", All(u"[BX]"), S, E));
    TNuo4AttachmentsOcupyTypes O;
    ASSERT_TRUE(ABC_ParseOcupy(u"[rU]", All(u"[rU]"), O, E));
    EXPECT_EQ(ABC_OcupyToText(O), u"[UR]");
    TNuo4Color C;
    ASSERT_TRUE(ABC_ParseColor(u"$80FF0010", All(u"$80FF0010"), C, E));
    EXPECT_EQ(C, 0x80ff0010u);
    EXPECT_EQ(ABC_ColorToText(C), u"$80ff0010");
    EXPECT_FALSE(ABC_ParseColor(u"$80FF001", All(u"$80FF001"), C, E));
    EXPECT_EQ(C, Nuo4DefaultColor);
}

TEST(Flags, FontUsagesAndContinueStyles) {
    TNuo4FontUsage Usage;
    int32_t E;
    ASSERT_TRUE(ABC_ParseFontUsage(u"fangzi x", All(u"fangzi x"), Usage, E));
    EXPECT_EQ(Usage, fuFangZiText);
    EXPECT_EQ(E, 5);
    ASSERT_TRUE(ABC_ParseFontUsage(u"SubTitle2", All(u"SubTitle2"), Usage, E));
    EXPECT_EQ(Usage, fuSubTitle2);
    EXPECT_FALSE(ABC_ParseFontUsage(u"Memo5", All(u"Memo5"), Usage, E));
    TNuo4LineSymbolContinueStyle L;
    ASSERT_TRUE(ABC_ParseLineSymbolContinueStyle(u"xRightLeft", All(u"xRightLeft"), L, E));
    EXPECT_EQ(L, lscsRight);
    EXPECT_EQ(E, 5);
}

TEST(Escapes, UnescapeEveryForm) {
    const std::u16string T = u"a\\sb\\x0041\\65";
    EXPECT_EQ(ABC_Unescape(T, All(T)), u"a bA\\65");
    const std::u16string T2 = u"\\,\\n\\R\\T\\00065\\65601\\xZZ\\";
    EXPECT_EQ(ABC_Unescape(T2, All(T2)), u",\n\r\tAA\\xZZ\\");  // 65601 wraps to 65
    // An escape must lie inside the range.
    EXPECT_EQ(ABC_Unescape(u"\\x0041", TKoRange(0, 5)), u"\\x004");
}

TEST(Escapes, EscapeCharChoosesTheForm) {
    EXPECT_EQ(ABC_EscapeChar(u'a', false), u"a");
    EXPECT_EQ(ABC_EscapeChar(0x4E2D, false), std::u16string(1, 0x4E2D));
    EXPECT_EQ(ABC_EscapeChar(u' ', true), u"\\s");
    EXPECT_EQ(ABC_EscapeChar(u' ', false), u" ");
    EXPECT_EQ(ABC_EscapeChar(u'\n', false), u"\\n");
    EXPECT_EQ(ABC_EscapeChar(0x00E9, false), u"\\x00e9");
    EXPECT_EQ(ABC_EscapeChar(0x00E9, false, false, true), u"\\00233");
    EXPECT_EQ(ABC_EscapeChar(u'a', false, true), u"\\x0061");
}

TEST(Escapes, EscapedTextReadsBackUnchanged) {
    const std::u16string Texts[] = {u"C:\\temp\\new", u"a b\tc\n", u"\u00e9\u4e2d\uffff,",
                                    u"\\x0041"};
    for (const auto& S : Texts)
        for (bool bDecimal : {false, true}) {
            const std::u16string E = ABC_EscapeText(S, true, false, bDecimal);
            EXPECT_EQ(ABC_Unescape(E, All(E)), S) << nuo4::test::Utf8(E);
        }
}

TEST(Escapes, EscapeAwareScanning) {
    const std::u16string T = u"\\s \\t x y";
    EXPECT_EQ(ABC_CountLeadingWhite(T, All(T)), 4);
    EXPECT_EQ(ABC_FindEscaped(T, TKoRange(6, 3), u" "), 7);
    EXPECT_EQ(ABC_FindEscaped(u"a\\sb", All(u"a\\sb"), u" "), 1);
    int Index;
    EXPECT_EQ(ABC_FindEarliestEscaped(u"ab\\tc d", All(u"ab\\tc d"), {u" ", u"\t"}, Index), 2);
    EXPECT_EQ(Index, 1);
    EXPECT_EQ(ABC_LineBreaksToEscapes(u"a\r\nb\nc\rd"), u"a\\nb\\nc\rd");
}

TEST(ReplaceItems, ValidityAndArrays) {
    TrecNuo4ABCTextReplaceItem Item;
    Item.InitializeForInsert(10, u"");
    EXPECT_TRUE(Item.IsInvalid());
    Item.InitializeForDelete(TKoRange(10, 3));
    EXPECT_FALSE(Item.IsInvalid());
    Item.SetToInvalid();
    EXPECT_TRUE(Item.IsInvalid());
    TNuo4ABCTextReplaceItems Items =
        TNuo4ABCTextReplaceItems::MakeDeletes({TKoRange(1, 1), TKoRange(-1, -1), TKoRange(4, 0)});
    EXPECT_EQ(Items.size(), 1u);
}

TEST(ReplaceItems, ApplyInDescendingOrderLikeTheTextEditor) {
    std::u16string T = u"0123456789";
    TNuo4ABCTextReplaceItems Items;
    TrecNuo4ABCTextReplaceItem A, B, C, D, Bad;
    A.Initialize(TKoRange(0, 2), u"ab");
    B.InitializeForInsert(5, u"y");
    C.InitializeForInsert(5, u"x");
    D.Initialize(TKoRange(8, 2), u"\r\nZ");
    Bad.Initialize(TKoRange(9, 5), u"out");
    Items.AddItem(A);
    Items.AddItem(C);
    Items.AddItem(B);
    Items.AddItem(D);
    Items.AddItem(Bad);
    EXPECT_EQ(ABC_ApplyReplaceItems(T, Items), 4);
    // Two insertions at one position end up in ascending order of their texts.
    EXPECT_EQ(T, u"ab234xy567\rZ");
}
