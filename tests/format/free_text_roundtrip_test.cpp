// Property: every writer of free text puts it into the score so that a whole-score scan (which
// cuts comments before any grammar) reads back the same text, and what follows the text (the
// rest of its item, the next item, the voice) is still read.
#include <gtest/gtest.h>

#include "format/abc_buffer.h"
#include "format/section_attachments.h"
#include "format/section_page.h"
#include "format/symbol_barline.h"
#include "format/symbol_text.h"
#include "test_util.h"

using namespace nuo4;
using nuo4::test::Utf8;

namespace {

// Texts a program may store: comment openers and closers, braces, commas, backslashes, line
// breaks. PlainTexts hold no special character and must be written exactly as stored.
const char16_t* const Texts[] = {
    u"春 /* 夏", u"a */ b",  u"x//y",  u"//lead",   u"a //b",    u"{a, b}", u"a{b", u"a}b",
    u"a, b",     u"a\\b\\n", u"a\\,b", u"one\rtwo", u"one\ntwo", u"/*/",    u"a/",
};
const char16_t* const PlainTexts[] = {u"春天", u"Allegro 稍快", u"{1=D}{3/4}", u"x//y"};

std::u16string Decoded(TText S) {
    return ABC_Unescape(S, TKoRange(0, static_cast<int32_t>(S.size())));
}

const TNuo4Color OtherColor = 0xff102030;

}  // namespace

TEST(FreeTextRoundTrip, TitleItemsAndTheVoiceAfterThem) {
    for (const char16_t* T : Texts) {
        TrecNuo4SectionTitleBuffer Title;
        Title.SetText(tbitTitle, T);
        const std::u16string Score = Title.ToABCText(true) + u".Voice\r1 2 3\r";
        const TNuo4ABCBuffer B(Score);
        EXPECT_EQ(Decoded(B.Section_Title.Buffer.GetText(tbitTitle)), Decoded(T)) << Utf8(T);
        EXPECT_EQ(B.Section_Voice.GetCount(), 3) << Utf8(Score);
    }
}

TEST(FreeTextRoundTrip, PageMemosAndTitleBlocksAndTheItemAfterThem) {
    const std::u16string Next = u"Memo@1,0.00,0.00 = 0.0, Memo1, AlignLeft, False, next\r";
    for (const char16_t* T : Texts) {
        TrecNuo4SectionItem_Page Memo;
        Memo.SetToDefaultForMemo();
        Memo.Memo.PrivateOptions.SetABCText(T);
        TrecNuo4SectionItem_Page Block;
        Block.InitializeToTitleBlock(TrecNuo4PageLocation());
        Block.TitleBlock.TitleBuffer.SetText(tbitSubTitle, T);
        Block.TitleBlock.Color = OtherColor;
        const std::u16string Score =
            u".Page\r" + Memo.ToABCText() + u"\r" + Block.ToABCText() + u"\r" + Next;
        const TNuo4ABCBuffer B(Score);
        const auto& Items = B.Section_Page.Buffer;
        ASSERT_EQ(Items.size(), 3u) << Utf8(Score);
        EXPECT_EQ(Decoded(Items[0].Value.Memo.PrivateOptions.ABCText), Decoded(T)) << Utf8(T);
        const TrecNuo4SymbolTitleBlock& Read = Items[1].Value.TitleBlock;
        EXPECT_EQ(Decoded(Read.TitleBuffer.GetText(tbitSubTitle)), Decoded(T)) << Utf8(T);
        EXPECT_EQ(Read.Color, OtherColor) << Utf8(Score);
    }
}

TEST(FreeTextRoundTrip, AttachmentTextsVoltasAndBranchesKeepTheValuesAfterThem) {
    const std::u16string Next = u"Text@1,2(0.00,-2.50) = AttachText1, next\r";
    for (const char16_t* T : Texts) {
        TrecNuo4SectionItem_Attachments Text;
        Text.SetToDefaultForText();
        Text.Text.SetABCText(T);
        Text.Text.Color = OtherColor;
        TrecNuo4SectionItem_Attachments RealText;
        RealText.SetToDefaultForText();
        RealText.Text.SetABCTextFromRealText(T);
        TrecNuo4SectionItem_Attachments Volta;
        Volta.SetToDefaultForFangZi(afztFangZi, lscsFull, true);
        Volta.FangZi.Text_ABC = T;
        Volta.FangZi.bOcupy = false;
        TrecNuo4SectionItem_Attachments Branch;
        Branch.SetToDefaultForBranch();
        Branch.Branch.Initialize(u"1 2", T, nssSmallSize, 0.8f);
        const std::u16string Score = u".Voice\r1 2 3\r.Attachments\r" + Text.ToABCText() + u"\r" +
                                     RealText.ToABCText() + u"\r" + Volta.ToABCText() + u"\r" +
                                     Branch.ToABCText() + u"\r" + Next;
        const TNuo4ABCBuffer B(Score);
        const auto& Items = B.Section_Attachments.Buffer;
        ASSERT_EQ(Items.size(), 5u) << Utf8(Score);
        EXPECT_EQ(Decoded(Items[0].Value.Text.Text_ABC), Decoded(T)) << Utf8(T);
        EXPECT_EQ(Items[0].Value.Text.Color, OtherColor) << Utf8(Score);
        // A real text is literal: decoding its stored form gives it back as it was.
        EXPECT_EQ(Decoded(Items[1].Value.Text.Text_ABC), T) << Utf8(T);
        EXPECT_EQ(Decoded(Items[2].Value.FangZi.Text_ABC), Decoded(T)) << Utf8(T);
        EXPECT_FALSE(Items[2].Value.FangZi.bOcupy) << Utf8(Score);
        EXPECT_EQ(Decoded(Items[3].Value.Branch.ABCText_Lyrics), Decoded(T)) << Utf8(T);
        EXPECT_EQ(Items[3].Value.Branch.SubStyleToForceUse, nssSmallSize) << Utf8(Score);
        EXPECT_EQ(B.Section_Voice.GetCount(), 3);
    }
}

TEST(FreeTextRoundTrip, VoiceTextsAndBarlineVoltasKeepTheSymbolsAfterThem) {
    for (const char16_t* T : Texts) {
        TrecNuo4SymbolText Text;
        Text.Text_ABC = T;
        TrecNuo4SymbolBarline Bar;
        Bar.BarlineStyle = blsRepeatEnd;
        Bar.FangZi.bWithFangZi = true;
        Bar.FangZi.SetFangZiText(T);
        const std::u16string Score =
            u".Voice\r1" + Text.ToABCText(true) + u"2" + Bar.ToABCText(true) + u"3 4\r";
        const TNuo4ABCBuffer B(Score);
        ASSERT_EQ(B.Section_Voice.GetCount(), 6) << Utf8(Score);
        const auto* RT =
            dynamic_cast<const TrecNuo4ABCParseInfo_Text*>(B.Section_Voice.Buffer[1].get());
        ASSERT_NE(RT, nullptr) << Utf8(Score);
        EXPECT_EQ(Decoded(RT->Value.Text_ABC), Decoded(T)) << Utf8(T);
        const auto* RB =
            dynamic_cast<const TrecNuo4ABCParseInfo_Barline*>(B.Section_Voice.Buffer[3].get());
        ASSERT_NE(RB, nullptr) << Utf8(Score);
        EXPECT_EQ(Decoded(RB->Value.FangZi.FangZiText), Decoded(T)) << Utf8(T);
    }
}

TEST(FreeTextRoundTrip, TextsWithoutSpecialCharactersAreWrittenAsStored) {
    for (const char16_t* T : PlainTexts) {
        EXPECT_EQ(ABC_GuardText(T), T);
        TrecNUo4SectionTitleItem Item;
        Item.InitializeToText(tbitTitle, T);
        EXPECT_EQ(Item.ToABCText(), std::u16string(u"Title = ") + T);
        TrecNuo4SymbolMemoPrivateOptions Memo;
        Memo.SetABCText(T);
        EXPECT_TRUE(Memo.ToABCText().ends_with(T));
        TrecNuo4SymbolAttachText Text;
        Text.SetABCText(T);
        EXPECT_EQ(Text.ToABCText().find(T), std::u16string(u"AttachText1, ").size());
    }
    // Only the slash that would open a comment is coded.
    EXPECT_EQ(ABC_GuardText(u"a /* b // c x//y"), u"a \\x002f* b \\x002f/ c x//y");
}
