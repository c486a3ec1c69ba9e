#include "format/section_fonts.h"

#include <gtest/gtest.h>

#include <random>

#include "test_util.h"

using namespace nuo4;
using nuo4::test::All;
using nuo4::test::U;

namespace {

struct TParsed {
    bool bOk = false;
    TrecNuo4ABCParseInfo_FontInfo Item;
    int32_t EndPos = -1;
};

TParsed Parse(const std::u16string& S) {
    TParsed P;
    P.bOk = ReadFontItem(S, All(S), P.Item, P.EndPos);
    return P;
}

}  // namespace

TEST(FontItemLine, UsageFamilySizeAndStyle) {
    const std::u16string S = U("Lyric = 宋体, 4.5, [BI]");
    const auto P = Parse(S);
    ASSERT_TRUE(P.bOk);
    EXPECT_EQ(P.Item.FontUsage, fuLyric);
    EXPECT_EQ(P.Item.FontInfo.FamilyName, U("宋体"));
    EXPECT_FLOAT_EQ(P.Item.FontInfo.Size, 4.5f);
    EXPECT_EQ(P.Item.FontInfo.Style, fsBold | fsItalic);
    EXPECT_EQ(P.EndPos, static_cast<int32_t>(S.size()) - 1);
    EXPECT_EQ(P.Item.Header.aType, pitFontInfo);
    EXPECT_EQ(P.Item.Header.ABCTextRange, All(S));
    const auto& T = P.Item.Header.TokenItems;
    ASSERT_EQ(T.size(), 4u);
    EXPECT_EQ(T[0].aType, ttFontUsage);
    EXPECT_EQ(T[0].ABCTextRange, TKoRange(0, 5));
    EXPECT_EQ(T[1].aType, ttString);
    EXPECT_EQ(T[1].ABCTextRange, TKoRange(8, 2));
    EXPECT_EQ(T[2].aType, ttNumber);
    EXPECT_EQ(T[2].ABCTextRange, TKoRange(12, 3));
    EXPECT_EQ(T[3].aType, ttFontStyle);
}

TEST(FontItemLine, WithoutStyleTheItemEndsAtTheSize) {
    const std::u16string S = u"title = Arial, 8, bold, more";
    const auto P = Parse(S);
    ASSERT_TRUE(P.bOk);
    EXPECT_EQ(P.Item.FontUsage, fuTitle);
    EXPECT_EQ(P.Item.FontInfo.Style, 0);
    EXPECT_EQ(P.EndPos, 15);  // the "8"; an unreadable third value is ignored
    EXPECT_EQ(P.Item.Header.ABCTextRange, TKoRange(0, 16));
    EXPECT_EQ(P.Item.Header.TokenItems.size(), 3u);
}

TEST(FontItemLine, SizeMustBePositive) {
    EXPECT_FALSE(Parse(u"Lyric = Arial, 0").bOk);
    EXPECT_FALSE(Parse(u"Lyric = Arial, -3").bOk);
    EXPECT_FALSE(Parse(u"Lyric = Arial, big").bOk);
    // Not bound to the value's end.
    const auto P = Parse(u"Lyric = Arial, 3.5mm");
    ASSERT_TRUE(P.bOk);
    EXPECT_FLOAT_EQ(P.Item.FontInfo.Size, 3.5f);
}

TEST(FontItemLine, FamilyNameMustBeThereAndIsTakenRaw) {
    EXPECT_FALSE(Parse(u"Lyric = , 4").bOk);
    EXPECT_FALSE(Parse(u"Lyric = Arial").bOk);
    EXPECT_FALSE(Parse(u"Lyric = ").bOk);
    const auto P = Parse(u"Text = {Times, New}\\s, 4");
    ASSERT_TRUE(P.bOk);
    EXPECT_EQ(P.Item.FontInfo.FamilyName, u"{Times, New}\\s");
}

TEST(FontItemLine, UsageNameMustEndTheName) {
    EXPECT_FALSE(Parse(u"Lyrics = Arial, 4").bOk);
    EXPECT_FALSE(Parse(u"Bogus = Arial, 4").bOk);
    auto P = Parse(u"SubTitle2 = Arial, 4");
    ASSERT_TRUE(P.bOk);
    EXPECT_EQ(P.Item.FontUsage, fuSubTitle2);
    P = Parse(u"fangzi = Arial, 4");
    ASSERT_TRUE(P.bOk);
    EXPECT_EQ(P.Item.FontUsage, fuFangZiText);
}

TEST(FontItemLine, EmptyStyleIsReadButNotWritten) {
    const auto P = Parse(u"Memo4 = Arial, 4, []");
    ASSERT_TRUE(P.bOk);
    EXPECT_EQ(P.Item.FontInfo.Style, 0);
    EXPECT_EQ(P.Item.Header.TokenItems.back().aType, ttFontStyle);
    EXPECT_EQ(P.Item.ToABCText(), u"Memo4 = Arial, 4.00");
}

TEST(FontWriter, FamilySizeAndStyleLetters) {
    TrecNuo4ABCParseInfo_FontInfo F;
    F.FontUsage = fuWordsByAndMusicBy;
    F.FontInfo.Initialize(U("黑体"), 3.456f, fsBold | fsStrikeOut | fsUnderline);
    EXPECT_EQ(F.ToABCText(), U("WordsByAndMusicBy = 黑体, 3.46, [BUS]"));
    F.FontInfo.Style = 0;
    EXPECT_EQ(F.FontInfo.ToABCText(), U("黑体, 3.46"));
    F.FontInfo.SetToInvalid();
    EXPECT_FALSE(F.FontInfo.IsValid());
    EXPECT_EQ(F.FontInfo.FamilyName, u"");
}

TEST(FontSection, ItemsInTextOrderAndFirstOfAUsage) {
    TrecNuo4ABCParseInfo_Section_Fonts Section;
    Section.Clear();
    EXPECT_TRUE(Section.BufferIsEmpty());
    for (const std::u16string S : {u"Lyric = A, 4", u"Title = B, 8", u"Lyric = C, 5"}) {
        const auto P = Parse(S);
        ASSERT_TRUE(P.bOk);
        Section.AddItem(P.Item);
    }
    EXPECT_EQ(Section.GetCount(), 3);
    EXPECT_EQ(Section.IndexOfUsage(fuLyric), 0);
    EXPECT_EQ(Section.IndexOfUsage(fuTitle), 1);
    EXPECT_EQ(Section.IndexOfUsage(fuMemo1), -1);
}

TEST(FontRoundTrip, WrittenItemsReadBack) {
    std::mt19937 R(11);
    static const std::u16string Pool = U("Arial 宋体-_.=");
    std::uniform_int_distribution<int> Len(1, 10), Pick(0, static_cast<int>(Pool.size()) - 1);
    std::uniform_int_distribution<int> Usage(0, Nuo4FontUsageCount - 1), Style(0, 15),
        Hundredths(1, 5000), Coin(0, 3);
    for (int Round = 0; Round < 300; ++Round) {
        std::u16string Family;
        for (int I = Len(R); I > 0; --I) Family += Pool[Pick(R)];
        // The reader trims the name; a comma can only stand inside braces.
        Family = u"x" + Family + u"x";
        if (Coin(R) == 0) Family = u"{" + Family + u", Bold}";
        TrecNuo4ABCParseInfo_FontInfo F;
        F.FontUsage = static_cast<TNuo4FontUsage>(Usage(R));
        F.FontInfo.Initialize(Family, static_cast<float>(Hundredths(R)) / 100.0f,
                              static_cast<TNuo4FontStyles>(Style(R)));
        const std::u16string Text = F.ToABCText();
        const auto P = Parse(Text);
        ASSERT_TRUE(P.bOk) << ABC_ToUtf8(Text);
        EXPECT_EQ(P.Item.FontUsage, F.FontUsage);
        EXPECT_EQ(P.Item.FontInfo.FamilyName, F.FontInfo.FamilyName) << ABC_ToUtf8(Text);
        EXPECT_NEAR(P.Item.FontInfo.Size, F.FontInfo.Size, 1e-4);
        EXPECT_EQ(P.Item.FontInfo.Style, F.FontInfo.Style);
        EXPECT_EQ(P.EndPos, static_cast<int32_t>(Text.size()) - 1);
    }
}
