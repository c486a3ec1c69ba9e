#include "format/section_title.h"

#include <gtest/gtest.h>

#include <random>

#include "test_util.h"

using namespace nuo4;
using nuo4::test::All;
using nuo4::test::U;

namespace {

struct TParsed {
    bool bOk = false;
    TrecNUo4SectionTitleItem Item;
    TNuo4ABCTokenInfoItems Tokens;
    int32_t EndPos = -1;
};

TParsed Parse(const std::u16string& S) {
    TParsed P;
    P.bOk = P.Item.FromABCText(S, All(S), P.Tokens, P.EndPos);
    return P;
}

TrecNuo4SectionTitleBuffer BufferWith(TNuo4SectionTitleItemType AType, const std::string& AText) {
    TrecNuo4SectionTitleBuffer B;
    B.SetText(AType, U(AText));
    return B;
}

}  // namespace

// ---- Item line grammar --------------------------------------------------------------------

TEST(TitleItemLine, EmptyValueGivesEmptyText) {
    const auto P = Parse(u"Title = ");
    ASSERT_TRUE(P.bOk);
    EXPECT_EQ(P.Item.ItemType, tbitTitle);
    EXPECT_EQ(P.Item.ABCText, u"");
    EXPECT_EQ(P.EndPos, 6);  // the "=" without values
    ASSERT_EQ(P.Tokens.size(), 1u);
    EXPECT_EQ(P.Tokens[0].aType, ttTitleItemName);
    EXPECT_EQ(P.Tokens[0].ABCTextRange, TKoRange(0, 5));
}

TEST(TitleItemLine, MisspelledOrUnknownNameIsNoItem) {
    EXPECT_FALSE(Parse(u"Titel = x").bOk);
    EXPECT_FALSE(Parse(u"Titles = x").bOk);  // the name must end after the item name
    EXPECT_FALSE(Parse(u"Title x").bOk);     // no "="
    EXPECT_FALSE(Parse(u" = x").bOk);        // no name
}

TEST(TitleItemLine, NamesIgnoreCaseAndTheLongestWins) {
    auto P = Parse(u"subtitle2 = b");
    ASSERT_TRUE(P.bOk);
    EXPECT_EQ(P.Item.ItemType, tbitSubTitle2);
    P = Parse(u"SUBTITLE = a");
    ASSERT_TRUE(P.bOk);
    EXPECT_EQ(P.Item.ItemType, tbitSubTitle);
    P = Parse(u"wordsbyandmusicby = x");
    ASSERT_TRUE(P.bOk);
    EXPECT_EQ(P.Item.ItemType, tbitWordsByAndMusicBy);
    // White space after the item name still counts as its end.
    P = Parse(u"Intro extra = y");
    ASSERT_TRUE(P.bOk);
    EXPECT_EQ(P.Item.ItemType, tbitIntro);
}

TEST(TitleItemLine, TextKeepsCommasAndEqualSigns) {
    const std::u16string S = u"KeyAndMeters = 1=bE, 3/4";
    const auto P = Parse(S);
    ASSERT_TRUE(P.bOk);
    EXPECT_EQ(P.Item.ItemType, tbitKeyAndMeters);
    EXPECT_EQ(P.Item.ABCText, u"1=bE, 3/4");
    EXPECT_EQ(P.EndPos, static_cast<int32_t>(S.size()) - 1);
    ASSERT_EQ(P.Tokens.size(), 2u);
    EXPECT_EQ(P.Tokens[1].aType, ttTitleItemText);
    EXPECT_EQ(P.Tokens[1].ABCTextRange, TKoRange(15, 9));
}

TEST(TitleItemLine, TextKeepsBracesAndEscapesAsWritten) {
    const auto P = Parse(U("WordsByAndMusicBy = {{张三,店小二}作词, 王二}\\n"));
    ASSERT_TRUE(P.bOk);
    EXPECT_EQ(P.Item.ABCText, U("{{张三,店小二}作词, 王二}\\n"));
}

TEST(TitleItemLine, TextIsTrimmedAndAnEmptyFirstValueKeepsItsComma) {
    EXPECT_EQ(Parse(u"Intro =   a b  ").Item.ABCText, u"a b");
    EXPECT_EQ(Parse(u"Intro = , a").Item.ABCText, u", a");
}

TEST(TitleItemLine, TextIsCutTo200Characters) {
    const std::u16string Long(250, u'x');
    const auto P = Parse(u"Expression = " + Long);
    ASSERT_TRUE(P.bOk);
    EXPECT_EQ(P.Item.ABCText.size(), 200u);
}

TEST(TitleItemLine, ReadsOnlyInsideItsRange) {
    const std::u16string S = u"xxTitle = abc, defyy";
    TrecNUo4SectionTitleItem Item;
    TNuo4ABCTokenInfoItems Tokens;
    int32_t End = -1;
    ASSERT_TRUE(Item.FromABCText(S, TKoRange(2, 16), Tokens, End));
    EXPECT_EQ(Item.ABCText, u"abc, def");
    EXPECT_EQ(End, 17);
    EXPECT_FALSE(Item.FromABCText(S, TKoRange(2, 0), Tokens, End));
    EXPECT_FALSE(Item.FromABCText(S, TKoRange(15, 40), Tokens, End));
}

TEST(TitleLinePosLine, SixValuesAreNoItem) {
    EXPECT_FALSE(Parse(u"LinePos = 0, 0, 13, 20, 13, 13").bOk);
}

TEST(TitleLinePosLine, SevenValuesSetAllPositionsAndLaterOnesAreIgnored) {
    const std::u16string S = u"LinePos = 1, 2.5, 13, 20, 13, 13, 20.75, 99, x";
    const auto P = Parse(S);
    ASSERT_TRUE(P.bOk);
    EXPECT_EQ(P.Item.ItemType, tbitLinePos);
    const float Want[7] = {1, 2.5f, 13, 20, 13, 13, 20.75f};
    for (int I = 0; I < 7; ++I) EXPECT_FLOAT_EQ(P.Item.LinePosArray[I], Want[I]) << I;
    EXPECT_EQ(P.EndPos, static_cast<int32_t>(S.size()) - 1);
    ASSERT_EQ(P.Tokens.size(), 8u);
    EXPECT_EQ(P.Tokens[0].aType, ttTitleItemName);
    for (int I = 1; I < 8; ++I) EXPECT_EQ(P.Tokens[I].aType, ttNumber);
    EXPECT_EQ(P.Tokens[2].ABCTextRange, TKoRange(13, 3));
}

TEST(TitleLinePosLine, AnyUnreadablePositionRejectsTheLine) {
    EXPECT_FALSE(Parse(u"LinePos = 0, 0, x, 20, 13, 13, 20").bOk);
    EXPECT_FALSE(Parse(u"LinePos = 0, , 13, 20, 13, 13, 20").bOk);
    // A number is not bound to the end of its value.
    const auto P = Parse(u"LinePos = 0mm, -1, 13, 20, 13, 13, 20");
    ASSERT_TRUE(P.bOk);
    EXPECT_FLOAT_EQ(P.Item.LinePosArray[1], -1);
}

// ---- Writers ------------------------------------------------------------------------------

TEST(TitleWriter, ItemLines) {
    TrecNUo4SectionTitleItem Item;
    Item.InitializeToText(tbitIntro, u"");
    EXPECT_EQ(Item.ToABCText(), u"Intro = ");
    Item.InitializeToText(tbitSubTitle2, u"a, b");
    EXPECT_EQ(Item.ToABCText(), u"SubTitle2 = a, b");
    TNuo4TitleLinePosArray Pos{0, 0.25f, 13, 20, 13, 13.06f, 20, 0};
    Item.InitializeToLinePos(Pos);
    EXPECT_EQ(Item.ToABCText(), u"LinePos = 0.0, 0.2, 13.0, 20.0, 13.0, 13.1, 20.0");
}

TEST(TitleWriter, SectionWritesEveryLineInTypeOrder) {
    TrecNuo4SectionTitleBuffer B;
    B.SetText(tbitTitle, u"T");
    EXPECT_EQ(B.ToABCText(true),
              u".Title\rIntro = \rTitle = T\rSubTitle = \rSubTitle2 = \rKeyAndMeters = \r"
              u"WordsByAndMusicBy = \rExpression = \r"
              u"LinePos = 0.0, 0.0, 13.0, 20.0, 13.0, 13.0, 20.0\r");
    EXPECT_EQ(B.ToABCText(false).substr(0, 9), u"Intro = \r");
}

TEST(TitleWriter, SingleLineForm) {
    TrecNuo4SectionTitleBuffer B;
    B.SetText(tbitTitle, u"T");
    B.SetText(tbitExpression, u"{J=96}");
    const std::u16string Inner =
        u"{}, {T}, {}, {}, {}, {}, {{J=96}}, 0.0, 0.0, 13.0, 20.0, 13.0, 13.0, 20.0";
    EXPECT_EQ(B.ToABCText_SingleLine(false), Inner);
    EXPECT_EQ(B.ToABCText_SingleLine(true), u"{" + Inner + u"}");
}

// ---- Buffer -------------------------------------------------------------------------------

TEST(TitleBuffer, DefaultsAreEmptyTextsAndStandardLinePositions) {
    TrecNuo4SectionTitleBuffer B;
    B.SetText(tbitTitle, u"x");
    B.LinePosArray[3] = 99;
    B.SetToDefault();
    for (int I = 0; I < Nuo4TitleItemTypeCount; ++I) EXPECT_TRUE(B.ABCTextArray[I].empty());
    const float Want[7] = {0, 0, 13, 20, 13, 13, 20};
    for (int I = 0; I < 7; ++I) EXPECT_FLOAT_EQ(B.LinePosArray[I], Want[I]);
}

TEST(TitleBuffer, EmptyMeansEveryTextIsWhite) {
    TrecNuo4SectionTitleBuffer B;
    EXPECT_TRUE(B.IsEmpty());
    B.SetText(tbitSubTitle, u" \t ");
    EXPECT_TRUE(B.IsEmpty());
    B.SetText(tbitExpression, u" a");
    EXPECT_FALSE(B.IsEmpty());
}

TEST(TitleBuffer, TrimRemovesWhiteAtBothEnds) {
    auto B = BufferWith(tbitTitle, "  黄河 颂 \t");
    B.SetText(tbitIntro, u"   ");
    B.Trim();
    EXPECT_EQ(B.GetText(tbitTitle), U("黄河 颂"));
    EXPECT_EQ(B.GetText(tbitIntro), u"");
}

TEST(TitleBuffer, TitleTextDropsSpacesAndEnclosingBraces) {
    EXPECT_EQ(BufferWith(tbitTitle, "{ 黄 河 }").GetTitleText(), U("黄河"));
    EXPECT_EQ(BufferWith(tbitTitle, "Ode to Joy").GetTitleText(), u"OdetoJoy");
    EXPECT_EQ(BufferWith(tbitTitle, "{a}{b}").GetTitleText(), u"{a}{b}");
}

TEST(TitleBuffer, SetTextCutsAndIgnoresLinePosType) {
    TrecNuo4SectionTitleBuffer B;
    B.SetText(tbitIntro, std::u16string(300, u'a'));
    EXPECT_EQ(B.GetText(tbitIntro).size(), 200u);
    B.SetText(tbitLinePos, u"x");
    EXPECT_TRUE(B.ABCTextArray[tbitLinePos].empty());
}

TEST(TitleSection, LaterItemOfTheSameTypeWinsAndTokensAccumulate) {
    TrecNuo4ABCParseInfo_Section_Title Section;
    Section.Clear();
    EXPECT_TRUE(Section.BufferIsEmpty());
    for (const std::u16string S : {u"Title = A", u"LinePos = 1,2,3,4,5,6,7", u"Title = B"}) {
        const auto P = Parse(S);
        ASSERT_TRUE(P.bOk);
        Section.AddItem(P.Item, P.Tokens);
    }
    EXPECT_EQ(Section.GetCount(), 3);
    EXPECT_FALSE(Section.BufferIsEmpty());
    EXPECT_EQ(Section.Buffer.GetText(tbitTitle), u"B");
    EXPECT_FLOAT_EQ(Section.Buffer.LinePosArray[tbitExpression], 7);
    EXPECT_EQ(Section.TokenItems.size(), 2u + 8u + 2u);
    Section.Clear();
    EXPECT_EQ(Section.GetCount(), 0);
    EXPECT_TRUE(Section.TokenItems.empty());
    EXPECT_EQ(Section.Buffer, TrecNuo4SectionTitleBuffer());
}

// ---- Round trip ---------------------------------------------------------------------------

namespace {

// Texts as a user types them: no leading or trailing white (the reader trims), no CR, and no
// trailing comma (a text ends with its last value).
std::u16string RandomTitleText(std::mt19937& R) {
    static const std::u16string Pool = U("abc XYZ,={}=1/4#b黄河作词\\n");
    std::uniform_int_distribution<int> Len(0, 12), Pick(0, static_cast<int>(Pool.size()) - 1);
    std::u16string S;
    for (int I = Len(R); I > 0; --I) S += Pool[Pick(R)];
    while (!S.empty() && (ABC_IsWhiteChar(S.back()) || S.back() == u',')) S.pop_back();
    while (!S.empty() && ABC_IsWhiteChar(S.front())) S.erase(0, 1);
    return S;
}

}  // namespace

TEST(TitleRoundTrip, SectionTextReadsBackToTheSameBuffer) {
    std::mt19937 R(7);
    std::uniform_int_distribution<int> Tenths(-500, 3000);
    for (int Round = 0; Round < 200; ++Round) {
        TrecNuo4SectionTitleBuffer B;
        for (int I = 0; I < 7; ++I) {
            B.SetText(static_cast<TNuo4SectionTitleItemType>(I), RandomTitleText(R));
            B.LinePosArray[I] = static_cast<float>(Tenths(R)) / 10.0f;
        }
        const std::u16string Text = B.ToABCText(false);
        TrecNuo4SectionTitleBuffer Back;
        int Lines = 0;
        size_t Start = 0;
        for (size_t Cr = Text.find(u'\r'); Cr != std::u16string::npos;
             Start = Cr + 1, Cr = Text.find(u'\r', Start)) {
            const TKoRange Line = ABC_TrimRange(
                Text,
                TKoRange::FromStartEnd(static_cast<int32_t>(Start), static_cast<int32_t>(Cr) - 1));
            TrecNUo4SectionTitleItem Item;
            TNuo4ABCTokenInfoItems Tokens;
            int32_t End = -1;
            ASSERT_TRUE(Item.FromABCText(Text, Line, Tokens, End)) << ABC_ToUtf8(Text);
            Back.UpdateFromItem(Item);
            ++Lines;
        }
        EXPECT_EQ(Lines, 8);
        // A "//" that would open a comment in the score is written coded: the same text once
        // decoded, as it is drawn.
        auto Decoded = [](const std::u16string& S) {
            return ABC_Unescape(S, TKoRange(0, static_cast<int32_t>(S.size())));
        };
        for (int I = 0; I < 7; ++I) {
            EXPECT_EQ(Decoded(Back.ABCTextArray[I]), Decoded(B.ABCTextArray[I]))
                << ABC_ToUtf8(Text);
            EXPECT_NEAR(Back.LinePosArray[I], B.LinePosArray[I], 1e-4);
        }
    }
}
