#include "format/section_page.h"

#include <gtest/gtest.h>

#include <random>

#include "format/doc_options.h"
#include "test_util.h"

using namespace nuo4;
using nuo4::test::All;
using nuo4::test::U;

namespace {

struct TParsed {
    bool bOk = false;
    TrecNuo4SectiontItemWithParseInfo_Page Item;
    int32_t EndPos = -1;
};

TParsed Parse(const std::u16string& S) {
    TParsed P;
    P.bOk = ReadPageItem(S, All(S), P.Item, P.EndPos);
    return P;
}

const TrecNuo4SymbolMemoPrivateOptions& MemoOf(const TParsed& P) {
    return P.Item.Value.Memo.PrivateOptions;
}

}  // namespace

// ---- Header and location
// ------------------------------------------------------------------

TEST(PageItemHeader, MemoLocationCountsPagesFromOne) {
    const std::u16string S = U("Memo@2,20,35.5 = 60, Memo1, AlignCenter, True, 第一行");
    const auto P = Parse(S);
    ASSERT_TRUE(P.bOk);
    const auto& H = P.Item.Value.Header;
    EXPECT_EQ(H.aType, spitMemo);
    EXPECT_EQ(H.Location.PageIndex, 1);
    EXPECT_FLOAT_EQ(H.Location.PagePos.X, 20);
    EXPECT_FLOAT_EQ(H.Location.PagePos.Y, 35.5f);
    EXPECT_EQ(P.Item.Header.aType, pitSectionItem_Page);
    EXPECT_EQ(P.Item.Header.ABCTextRange, All(S));
    const auto& T = P.Item.Header.TokenItems;
    ASSERT_GE(T.size(), 3u);
    EXPECT_EQ(T[0].aType, ttSectionItemName);
    EXPECT_EQ(T[0].ABCTextRange, TKoRange(0, 4));
    EXPECT_EQ(T[1].aType, ttPageLocation);
    EXPECT_EQ(T[1].ABCTextRange, TKoRange(4, 10));
    EXPECT_EQ(T[2].aType, ttSectionPageItemHeader);
    EXPECT_EQ(T[2].ABCTextRange, TKoRange(0, 14));
}

TEST(PageItemHeader, TypeNamesIgnoreCaseWithoutWordEnd) {
    EXPECT_TRUE(Parse(u"mEmO@1,0,0 = 0, Memo1, AlignLeft, False, x").bOk);
    EXPECT_FALSE(Parse(u"Note@1,0,0 = 0, Memo1, AlignLeft, False, x").bOk);
    EXPECT_FALSE(Parse(u"Memos@1,0,0 = 0, Memo1, AlignLeft, False, x").bOk);
}

TEST(PageItemHeader, NoWhiteSpaceBeforeTheLocation) {
    EXPECT_FALSE(Parse(u"Memo @1,10,10 = 0, Memo1, AlignLeft, False, x").bOk);
}

TEST(PageItemHeader, LocationNeedsSixCharactersAndThreeNumbers) {
    EXPECT_FALSE(Parse(u"Memo@1,1, = 0, Memo1, AlignLeft, False, x").bOk);     // 5 characters
    EXPECT_FALSE(Parse(u"Memo@10,100 = 0, Memo1, AlignLeft, False, x").bOk);   // two pieces
    EXPECT_FALSE(Parse(u"Memo@a,10,10 = 0, Memo1, AlignLeft, False, x").bOk);  // page no number
    EXPECT_FALSE(Parse(u"Memo@1,10,y = 0, Memo1, AlignLeft, False, x").bOk);
    EXPECT_FALSE(Parse(u"Memo = 0, Memo1, AlignLeft, False, x").bOk);
    // Numbers are not bound to their pieces and further pieces are ignored.
    const auto P = Parse(u"Memo@3p, 1.5mm, 2 ,9 = 0, Memo1, AlignLeft, False, x");
    ASSERT_TRUE(P.bOk);
    EXPECT_EQ(P.Item.Value.Header.Location.PageIndex, 2);
    EXPECT_FLOAT_EQ(P.Item.Value.Header.Location.PagePos.X, 1.5f);
    EXPECT_FLOAT_EQ(P.Item.Value.Header.Location.PagePos.Y, 2);
}

TEST(PageItemHeader, PageZeroGivesIndexMinusOne) {
    const auto P = Parse(u"Memo@0,10,10 = 0, Memo1, AlignLeft, False, x");
    ASSERT_TRUE(P.bOk);
    EXPECT_EQ(P.Item.Value.Header.Location.PageIndex, -1);
}

// ---- Memo values
// --------------------------------------------------------------------------

TEST(PageMemo, ValuesWithColourAndTextRunningOverCommas) {
    const std::u16string S =
        U("Memo@1,20.00,35.50 = 60.0, memo2, alignright, 1, "
          "$80ff0000, 第一行\\n第二行, 还有");
    const auto P = Parse(S);
    ASSERT_TRUE(P.bOk);
    const auto& O = MemoOf(P);
    EXPECT_FLOAT_EQ(O.LayoutWidth, 60);
    EXPECT_EQ(O.FontUsage, fuMemo2);
    EXPECT_EQ(O.Align, matFar);
    EXPECT_TRUE(O.bWithFrame);
    EXPECT_EQ(O.Color, 0x80ff0000u);
    EXPECT_EQ(O.ABCText, U("第一行\\n第二行, 还有"));
    EXPECT_EQ(P.EndPos, static_cast<int32_t>(S.size()) - 1);
    EXPECT_EQ(P.Item.Header.TokenItems.back().aType, ttString);
}

TEST(PageMemo, WithoutColourTheTextStartsAtTheFifthValue) {
    const auto P = Parse(u"Memo@1,0,0 = 0, Memo1, AlignLeft, False, $ff00, x");
    ASSERT_TRUE(P.bOk);
    EXPECT_EQ(MemoOf(P).ABCText,
              u"$ff00, x");  // not a colour: eight hex digits are needed
    EXPECT_EQ(MemoOf(P).Color, Nuo4DefaultColor);
}

TEST(PageMemo, FiveValuesEndingInAColourHaveNoText) {
    EXPECT_FALSE(Parse(u"Memo@1,0,0 = 0, Memo1, AlignLeft, False, $ff000000").bOk);
    EXPECT_FALSE(Parse(u"Memo@1,0,0 = 0, Memo1, AlignLeft, False, $ff000000,  ").bOk);
    EXPECT_FALSE(Parse(u"Memo@1,0,0 = 0, Memo1, AlignLeft, False").bOk);
}

TEST(PageMemo, EveryFixedValueMustRead) {
    EXPECT_FALSE(Parse(u"Memo@1,0,0 = w, Memo1, AlignLeft, False, x").bOk);
    EXPECT_FALSE(Parse(u"Memo@1,0,0 = 0, Memo9, AlignLeft, False, x").bOk);
    EXPECT_FALSE(Parse(u"Memo@1,0,0 = 0, Memo1, Left, False, x").bOk);
    EXPECT_FALSE(Parse(u"Memo@1,0,0 = 0, Memo1, AlignLeft, maybe, x").bOk);
}

TEST(PageMemo, TextIsCutTo1000Characters) {
    const auto P = Parse(u"Memo@1,0,0 = 0, Memo1, AlignLeft, False, " + std::u16string(1200, u'z'));
    ASSERT_TRUE(P.bOk);
    EXPECT_EQ(MemoOf(P).ABCText.size(), 1000u);
}

TEST(PageMemo, WriterFormat) {
    TrecNuo4SectionItem_Page Item;
    Item.InitializeToMemo({0, {20, 35.5f}});
    auto& O = Item.Memo.PrivateOptions;
    O.LayoutWidth = 60;
    O.Align = matCenter;
    O.bWithFrame = true;
    O.SetABCText(U("第一行\\n第二行"));
    EXPECT_EQ(Item.ToABCText(), U("Memo@1,20.00,35.50 = 60.0, Memo1, AlignCenter, True, $ff000000, "
                                  "第一行\\n第二行"));
}

TEST(PageMemo, DefaultMemo) {
    TrecNuo4SectionItem_Page Item;
    Item.InitializeToTitleBlock({4, {1, 2}});
    Item.SetToDefaultForMemo();
    EXPECT_TRUE(Item.IsMemo());
    EXPECT_EQ(Item.Header.Location, TrecNuo4PageLocation());
    const auto& O = Item.Memo.PrivateOptions;
    EXPECT_EQ(O.FontUsage, fuMemo1);
    EXPECT_EQ(O.Align, matNear);
    EXPECT_FALSE(O.bWithFrame);
    EXPECT_FLOAT_EQ(O.LayoutWidth, 0);
    EXPECT_TRUE(O.ABCText.empty());
}

// ---- Title block values
// -------------------------------------------------------------------

TEST(PageTitleBlock, SixteenValues) {
    const std::u16string S =
        U("TitleBlock@1,10,20 = 150.0, {引子}, {黄河颂}, {}, {}, {1=C, 4/4}, "
          "{{张三,李四}}, {{J=96}}, 0.0, 1.0, 13.0, 20.0, 13.0, 13.0, 20.0, "
          "$ff102030, extra");
    const auto P = Parse(S);
    ASSERT_TRUE(P.bOk);
    EXPECT_TRUE(P.Item.Value.IsTitleBlock());
    const auto& B = P.Item.Value.TitleBlock;
    EXPECT_FLOAT_EQ(B.LayoutWidth, 150);
    EXPECT_EQ(B.TitleBuffer.GetText(tbitIntro), U("引子"));
    EXPECT_EQ(B.TitleBuffer.GetText(tbitTitle), U("黄河颂"));
    EXPECT_EQ(B.TitleBuffer.GetText(tbitSubTitle), u"");
    EXPECT_EQ(B.TitleBuffer.GetText(tbitKeyAndMeters), u"1=C, 4/4");
    EXPECT_EQ(B.TitleBuffer.GetText(tbitWordsByAndMusicBy), U("{张三,李四}"));
    EXPECT_EQ(B.TitleBuffer.GetText(tbitExpression), u"{J=96}");
    EXPECT_FLOAT_EQ(B.TitleBuffer.LinePosArray[tbitTitle], 1);
    EXPECT_FLOAT_EQ(B.TitleBuffer.LinePosArray[tbitExpression], 20);
    EXPECT_EQ(B.Color, 0xff102030u);
    EXPECT_EQ(S.substr(P.EndPos - 8, 9),
              u"$ff102030");  // later values are ignored
}

TEST(PageTitleBlock, AnyFailureRejectsTheLine) {
    const std::u16string Head = u"TitleBlock@1,0,0 = 150, {}, {}, {}, {}, {}, {}, {}, ";
    EXPECT_TRUE(Parse(Head + u"0, 0, 13, 20, 13, 13, 20, $ff000000").bOk);
    EXPECT_FALSE(Parse(Head + u"0, 0, 13, 20, 13, 13, 20").bOk);            // 15 values
    EXPECT_FALSE(Parse(Head + u"0, 0, 13, x, 13, 13, 20, $ff000000").bOk);  // a position
    EXPECT_FALSE(Parse(Head + u"0, 0, 13, 20, 13, 13, 20, black").bOk);     // the colour
    EXPECT_FALSE(Parse(u"TitleBlock@1,0,0 = w, {}, {}, {}, {}, {}, {}, {}, "
                       u"0, 0, 13, 20, 13, 13, 20, $ff000000")
                     .bOk);
}

TEST(PageTitleBlock, DefaultTakesTheLayoutWidthOfThePaper) {
    TrecNuo4SectionItem_Page Item;
    Item.InitializeToTitleBlock({});
    EXPECT_TRUE(Item.IsTitleBlock());
    EXPECT_FLOAT_EQ(Item.TitleBlock.LayoutWidth, Nuo4DocOptions().GetLayoutWidth());
    EXPECT_EQ(Item.TitleBlock.TitleBuffer, TrecNuo4SectionTitleBuffer());
    EXPECT_EQ(Item.TitleBlock.Color, Nuo4DefaultColor);
}

TEST(PageSection, ItemsInTextOrder) {
    TrecNuo4ABCParseInfo_Section_Page Section;
    Section.Clear();
    EXPECT_TRUE(Section.BufferIsEmpty());
    for (const std::u16string S : {u"Memo@1,0,0 = 0, Memo1, AlignLeft, False, a",
                                   u"Memo@2,0,0 = 0, Memo1, AlignLeft, False, b"}) {
        const auto P = Parse(S);
        ASSERT_TRUE(P.bOk);
        Section.AddItem(P.Item);
    }
    ASSERT_EQ(Section.GetCount(), 2);
    EXPECT_EQ(Section.Buffer[1].Value.Memo.PrivateOptions.ABCText, u"b");
}

// ---- Round trips
// --------------------------------------------------------------------------

namespace {

std::u16string RandomText(std::mt19937& R, const std::u16string& APool, int AMaxLen) {
    std::uniform_int_distribution<int> Len(0, AMaxLen), Pick(0, static_cast<int>(APool.size()) - 1);
    std::u16string S;
    for (int I = Len(R); I > 0; --I) S += APool[Pick(R)];
    return S;
}

TrecNuo4PageLocation RandomLocation(std::mt19937& R) {
    std::uniform_int_distribution<int> Page(-1, 20), Hundredths(-10000, 40000);
    TrecNuo4PageLocation L;
    L.PageIndex = Page(R);
    L.PagePos = {Hundredths(R) / 100.0f, Hundredths(R) / 100.0f};
    return L;
}

void ExpectSameLocation(const TrecNuo4PageLocation& A, const TrecNuo4PageLocation& B) {
    EXPECT_EQ(A.PageIndex, B.PageIndex);
    EXPECT_NEAR(A.PagePos.X, B.PagePos.X, 1e-3);
    EXPECT_NEAR(A.PagePos.Y, B.PagePos.Y, 1e-3);
}

}  // namespace

TEST(PageRoundTrip, MemoItemsReadBack) {
    std::mt19937 R(3);
    std::uniform_int_distribution<int> Tenths(0, 3000), Usage(0, Nuo4FontUsageCount - 1),
        Align(0, 2), Bit(0, 1);
    std::uniform_int_distribution<uint32_t> Color;
    for (int Round = 0; Round < 300; ++Round) {
        TrecNuo4SectionItem_Page Item;
        Item.InitializeToMemo(RandomLocation(R));
        auto& O = Item.Memo.PrivateOptions;
        O.LayoutWidth = Tenths(R) / 10.0f;
        O.FontUsage = static_cast<TNuo4FontUsage>(Usage(R));
        O.Align = static_cast<TNuo4MemoAlignType>(Align(R));
        O.bWithFrame = Bit(R) == 1;
        O.Color = Color(R);
        // Any text without white at its ends (the reader trims): commas, "=",
        // braces included.
        O.SetABCText(u"<" + RandomText(R, U("a ,={}$\\n第行"), 30) + u">");
        const std::u16string Text = Item.ToABCText();
        const auto P = Parse(Text);
        ASSERT_TRUE(P.bOk) << ABC_ToUtf8(Text);
        EXPECT_EQ(P.EndPos, static_cast<int32_t>(Text.size()) - 1);
        const auto& Back = P.Item.Value;
        ASSERT_TRUE(Back.IsMemo());
        ExpectSameLocation(Back.Header.Location, Item.Header.Location);
        const auto& B = Back.Memo.PrivateOptions;
        EXPECT_NEAR(B.LayoutWidth, O.LayoutWidth, 1e-3);
        EXPECT_EQ(B.FontUsage, O.FontUsage);
        EXPECT_EQ(B.Align, O.Align);
        EXPECT_EQ(B.bWithFrame, O.bWithFrame);
        EXPECT_EQ(B.Color, O.Color);
        EXPECT_EQ(B.ABCText, O.ABCText) << ABC_ToUtf8(Text);
    }
}

TEST(PageRoundTrip, TitleBlockItemsReadBack) {
    std::mt19937 R(5);
    std::uniform_int_distribution<int> Tenths(-300, 3000);
    std::uniform_int_distribution<uint32_t> Color;
    for (int Round = 0; Round < 300; ++Round) {
        TrecNuo4SectionItem_Page Item;
        Item.InitializeToTitleBlock(RandomLocation(R));
        auto& B = Item.TitleBlock;
        B.LayoutWidth = Tenths(R) / 10.0f;
        B.Color = Color(R);
        for (int I = 0; I < 7; ++I) {
            // Balanced braces only: "{x}" groups, never a lone brace.
            std::u16string T = RandomText(R, U("a b,=1/4黄\\n"), 8);
            if (Tenths(R) % 3 == 0) T = u"{" + T + u"}" + RandomText(R, u"xy", 2);
            B.TitleBuffer.SetText(static_cast<TNuo4SectionTitleItemType>(I), T);
            B.TitleBuffer.LinePosArray[I] = Tenths(R) / 10.0f;
        }
        const std::u16string Text = Item.ToABCText();
        const auto P = Parse(Text);
        ASSERT_TRUE(P.bOk) << ABC_ToUtf8(Text);
        EXPECT_EQ(P.EndPos, static_cast<int32_t>(Text.size()) - 1);
        const auto& Back = P.Item.Value;
        ASSERT_TRUE(Back.IsTitleBlock());
        ExpectSameLocation(Back.Header.Location, Item.Header.Location);
        EXPECT_NEAR(Back.TitleBlock.LayoutWidth, B.LayoutWidth, 1e-3);
        EXPECT_EQ(Back.TitleBlock.Color, B.Color);
        // A "//" that would open a comment in the score is written coded: the same text once
        // decoded, as it is drawn.
        auto Decoded = [](const std::u16string& S) {
            return ABC_Unescape(S, TKoRange(0, static_cast<int32_t>(S.size())));
        };
        for (int I = 0; I < 7; ++I) {
            EXPECT_EQ(Decoded(Back.TitleBlock.TitleBuffer.ABCTextArray[I]),
                      Decoded(B.TitleBuffer.ABCTextArray[I]))
                << ABC_ToUtf8(Text);
            EXPECT_NEAR(Back.TitleBlock.TitleBuffer.LinePosArray[I], B.TitleBuffer.LinePosArray[I],
                        1e-3);
        }
    }
}
