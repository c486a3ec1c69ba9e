// The title, fonts and page grammars inside whole documents: what the scanner collects with
// them, and edits written by their writers that read back after the next scan.

#include <gtest/gtest.h>

#include "format/abc_buffer.h"
#include "format/section_fonts.h"
#include "format/section_page.h"
#include "format/section_title.h"
#include "test_util.h"

using namespace nuo4;
using nuo4::test::U;

namespace {

std::u16string Applied(std::u16string AText, const TrecNuo4ABCTextReplaceItem& AItem) {
    TNuo4ABCTextReplaceItems Items;
    Items.AddItem(AItem);
    ABC_ApplyReplaceItems(AText, Items);
    return AText;
}

std::u16string Sub(const TNuo4ABCBuffer& B, TKoRange R) {
    return R.IsValid() ? B.ABCText().substr(R.StartIndex, R.Length) : u"<invalid>";
}

const std::u16string Doc =
    U(".Fonts\r"
      "Title = 黑体, 8, [B]\r"
      "Lyric = , 4\r"
      ".Title\r"
      "Title = 黄河颂 // a comment\r"
      "Titel = wrong\r"
      "KeyAndMeters = {1=bB,3/4}\r"
      "Expression = 稍慢 {J=66}\r"
      "LinePos = 0, 1, 13, 20, 13, 13, 20\r"
      ".Page\r"
      "Memo@1,20,30 = 60, Memo1, AlignLeft, False, 你好\r"
      "Memo @1,20,30 = 60, Memo1, AlignLeft, False, no\r"
      "TitleBlock@2,0,0 = 170, {}, {T2}, {}, {}, {}, {}, {}, 0, 0, 13, 20, 13, 13, 20, $ff000000\r"
      ".Voice\r"
      "1 2 3\r");

}  // namespace

TEST(TitleSectionScan, ItemLinesAreCollectedAndOthersStayContinueLines) {
    const TNuo4ABCBuffer B(Doc);
    EXPECT_EQ(B.LineTypeArray[4], altSectionTitle_Item);
    EXPECT_EQ(B.LineTypeArray[5], altSectionTitle_Continue);  // "Titel"
    const auto& T = B.Section_Title;
    EXPECT_EQ(T.GetCount(), 4);
    EXPECT_EQ(T.Buffer.GetText(tbitTitle), U("黄河颂"));  // the comment is not part of it
    EXPECT_EQ(Sub(B, T.ABCTextRange_SectionName), u".Title");
    EXPECT_EQ(Sub(B, T.ABCTextRange_All).substr(0, 6), u".Title");
    EXPECT_EQ(Sub(B, T.ABCTextRange_All).substr(Sub(B, T.ABCTextRange_All).size() - 2), u"20");
    EXPECT_FLOAT_EQ(T.Buffer.LinePosArray[tbitTitle], 1);
    EXPECT_EQ(T.GetFirstMeter(), TrecNuo4Meter::Create(3, 4));
    EXPECT_EQ(T.Buffer.GetInitKey(), -2);
    EXPECT_DOUBLE_EQ(T.Buffer.GetInitTempo(), 66);
    ASSERT_FALSE(T.TokenItems.empty());
    EXPECT_EQ(Sub(B, T.TokenItems[0].ABCTextRange), u"Title");
    EXPECT_EQ(Sub(B, T.TokenItems[1].ABCTextRange), U("黄河颂"));
}

TEST(TitleSectionScan, FontAndPageItems) {
    const TNuo4ABCBuffer B(Doc);
    ASSERT_EQ(B.Section_Fonts.GetCount(), 1);  // "Lyric = , 4" has no family name
    EXPECT_EQ(B.LineTypeArray[2], altSectionFonts_Continue);
    EXPECT_EQ(B.Section_Fonts.Buffer[0].FontInfo.FamilyName, U("黑体"));
    ASSERT_EQ(B.Section_Page.GetCount(), 2);  // the memo with a space before "@" is none
    EXPECT_EQ(B.LineTypeArray[11], altSectionPage_Continue);
    EXPECT_EQ(B.Section_Page.Buffer[0].Value.Memo.PrivateOptions.ABCText, U("你好"));
    EXPECT_EQ(B.Section_Page.Buffer[1].Value.Header.Location.PageIndex, 1);
    EXPECT_EQ(B.Section_Page.Buffer[1].Value.TitleBlock.TitleBuffer.GetText(tbitTitle), u"T2");
}

TEST(TitleSectionEdit, ChangedKeyAndTempoReadBackAfterRewritingTheSection) {
    const TNuo4ABCBuffer B(Doc);
    TrecNuo4SectionTitleBuffer Title = B.Section_Title.Buffer;
    Title.ChangeInitKey(2);
    Title.ChangeInitTempo(100);
    TrecNuo4ABCTextReplaceItem R;
    B.SectionTitle_EditTitleBlock(Title, R);
    const TNuo4ABCBuffer After(Applied(B.ABCText(), R));
    EXPECT_EQ(After.Section_Title.Buffer.GetText(tbitKeyAndMeters), u"{1=D,3/4}");
    EXPECT_EQ(After.Section_Title.Buffer.GetInitKey(), 2);
    EXPECT_EQ(After.Section_Title.GetFirstMeter(), TrecNuo4Meter::Create(3, 4));
    EXPECT_DOUBLE_EQ(After.Section_Title.Buffer.GetInitTempo(), 100);
    EXPECT_EQ(After.Section_Title.Buffer.GetText(tbitTitle), U("黄河颂"));
    // The other sections are untouched.
    EXPECT_EQ(After.Section_Page.GetCount(), 2);
    EXPECT_EQ(After.Section_Fonts.GetCount(), 1);
}

TEST(TitleSectionEdit, FontItemIsReplacedInPlace) {
    const TNuo4ABCBuffer B(Doc);
    TrecNuo4ABCParseInfo_FontInfo F;
    F.FontUsage = fuTitle;
    F.FontInfo.Initialize(u"Arial", 9.5f, fsItalic);
    TrecNuo4ABCTextReplaceItem R;
    B.SectionFonts_EditItem(F, R);
    const TNuo4ABCBuffer After(Applied(B.ABCText(), R));
    ASSERT_EQ(After.Section_Fonts.GetCount(), 1);
    EXPECT_EQ(After.Section_Fonts.Buffer[0].FontInfo, F.FontInfo);
    EXPECT_EQ(After.Section_Title.GetCount(), 4);
}

TEST(TitleSectionEdit, AddedPageItemsReadBack) {
    const TNuo4ABCBuffer B(Doc);
    TrecNuo4SectionItem_Page Memo;
    Memo.InitializeToMemo({2, {5, 6}});
    Memo.Memo.PrivateOptions.SetABCText(U("第一行\\n第二行, 还有"));
    TrecNuo4ABCTextReplaceItem R;
    B.SectionPage_AddItem(Memo, R);
    const TNuo4ABCBuffer After(Applied(B.ABCText(), R));
    ASSERT_EQ(After.Section_Page.GetCount(), 3);
    EXPECT_EQ(After.Section_Page.Buffer[2].Value, Memo);

    // Into a document without a page section: the section is created.
    const TNuo4ABCBuffer Empty(TNuo4ABCBuffer::CreateEmptyDoc());
    TrecNuo4SectionItem_Page Block;
    Block.InitializeToTitleBlock({0, {10, 10}});
    Block.TitleBlock.TitleBuffer.SetText(tbitTitle, u"{T}");
    Empty.SectionPage_AddItem(Block, R);
    const TNuo4ABCBuffer After2(Applied(Empty.ABCText(), R));
    ASSERT_EQ(After2.Section_Page.GetCount(), 1);
    EXPECT_EQ(After2.Section_Page.Buffer[0].Value.TitleBlock.TitleBuffer.GetText(tbitTitle),
              u"{T}");
}

TEST(TitleSectionScan, EmptyDocumentHasEveryTitleItemEmpty) {
    const TNuo4ABCBuffer B(TNuo4ABCBuffer::CreateEmptyDoc());
    EXPECT_EQ(B.Section_Title.GetCount(), 7);
    EXPECT_TRUE(B.Section_Title.Buffer.IsEmpty());
    EXPECT_EQ(B.Section_Title.Buffer, TrecNuo4SectionTitleBuffer());
}
