// The scanner with the real section grammars: items found by line classification, and the
// edits that write item records with their own writers.
#include <gtest/gtest.h>

#include "format/abc_buffer.h"
#include "test_util.h"

using namespace nuo4;
using nuo4::test::All;

namespace {

std::u16string Applied(std::u16string AText, const TrecNuo4ABCTextReplaceItem& AItem) {
    TNuo4ABCTextReplaceItems Items;
    Items.AddItem(AItem);
    ABC_ApplyReplaceItems(AText, Items);
    return AText;
}

std::u16string Sub(std::u16string_view S, TKoRange R) {
    return R.IsValid() ? std::u16string(S.substr(R.StartIndex, R.Length)) : u"<invalid>";
}

struct TResetOptions {
    ~TResetOptions() { Nuo4DocOptions().SetToDefault(); }
};

}  // namespace

TEST(ScanWithGrammars, ItemLinesAndVoiceSymbols) {
    const std::u16string T =
        u".Options\rPaper = 297, 210\rnot an option\r.Title\rTitle = Song\r.Voice\r1 2 | 3\r";
    const TNuo4ABCBuffer B(T);
    EXPECT_EQ(B.LineTypeArray[1], altSectionOptions_Item);
    EXPECT_EQ(B.LineTypeArray[2], altSectionOptions_Continue);
    EXPECT_EQ(B.LineTypeArray[4], altSectionTitle_Item);
    EXPECT_EQ(B.Section_Options.GetCount(), 1);
    EXPECT_EQ(B.Section_Title.Buffer.GetText(tbitTitle), u"Song");
    EXPECT_EQ(B.Section_Voice.GetCount(), 4);
    EXPECT_EQ(Sub(T, B.Section_Voice.ABCTextRange_All), u".Voice\r1 2 | 3");
    EXPECT_EQ(B.SectionVoice_GetLastInsertPosWhenBufferIsNonEmtpy(),
              static_cast<int32_t>(T.size()) - 1);
}

TEST(ScanWithGrammars, ArticulationGroupWithSpacesStaysOneToken) {
    const std::u16string T = u".Voice\r{DunYin, ZhongYin}5 6\r";
    const TNuo4ABCBuffer B(T);
    ASSERT_EQ(B.Section_Voice.GetCount(), 2);
    EXPECT_EQ(Sub(T, B.Section_Voice.Buffer[0]->Header.ABCTextRange), u"{DunYin, ZhongYin}5");
    EXPECT_EQ(Sub(T, B.Section_Voice.Buffer[1]->Header.ABCTextRange), u"6");
}

TEST(ScanWithGrammars, ScanningAppliesNoOptionsUpdateOptionsDoes) {
    TResetOptions Reset;
    Nuo4DocOptions().SetToDefault();
    const TNuo4ABCBuffer B(u".Options\rPaper = 297, 210\rPaper = 300, 200\r");
    EXPECT_EQ(Nuo4DocOptions().Param_Paper.Width, 210);
    B.UpdateOptions();
    EXPECT_EQ(Nuo4DocOptions().Param_Paper.Width, 300);  // the later line wins
}

TEST(EditsWithGrammars, OptionItemReplacesTheItemOfItsType) {
    const std::u16string T = u".Options\rPaper = 297, 210\r\r.Voice\r1\r";
    const TNuo4ABCBuffer B(T);
    const std::u16string NewLine = u"Paper = 200, 300";
    TrecNuo4ABCParseInfo_OptionItem NewItem;
    int32_t End;
    ASSERT_TRUE(ReadOptionItem(NewLine, All(NewLine), NewItem, true, End));
    TrecNuo4ABCTextReplaceItem R;
    B.SectionOptions_EditItem(NewItem, R);
    const std::u16string Out = Applied(T, R);
    EXPECT_EQ(Out, u".Options\r" + NewItem.ToABCText() + u"\r\r.Voice\r1\r");
    const TNuo4ABCBuffer After(Out);
    ASSERT_EQ(After.Section_Options.GetCount(), 1);
    EXPECT_EQ(After.Section_Options.Buffer[0].ItemType, soitPaper);
}

TEST(EditsWithGrammars, OptionGroupBackAtItsDefaultsRemovesItsLine) {
    TResetOptions Reset;
    struct TCase {
        const char16_t* Text;
        const char16_t* DefaultItem;  // read, then written back by the edit
        const char16_t* Expected;
    };
    const TCase Cases[] = {
        {u".Options\rPaper = 297, 210\r\r.Voice\r1\r", u"Paper = 210, 297",
         u".Options\r\r.Voice\r1\r"},
        {u".Options\rDigit = 1\rArc = 2, 1\r.Voice\r1\r", u"Arc = 0",
         u".Options\rDigit = 1\r.Voice\r1\r"},
        // The last line, without a line break of its own.
        {u".Options\rPaper = 297, 210", u"Paper = 210, 297, 20, 20, 20, 20", u".Options\r"},
        // A comment on the line stays; only the item goes.
        {u".Options\rPaper = 297, 210 // wide\r", u"Paper = 210, 297", u".Options\r // wide\r"},
        // Nothing to remove: no item of the group, or no options section at all.
        {u".Options\rDigit = 1\r", u"Paper = 210, 297", u".Options\rDigit = 1\r"},
        {u".Voice\r1\r", u"Paper = 210, 297", u".Voice\r1\r"},
    };
    for (const TCase& C : Cases) {
        const std::u16string T = C.Text, Line = C.DefaultItem;
        TrecNuo4ABCParseInfo_OptionItem Item;
        int32_t End = -1;
        ASSERT_TRUE(ReadOptionItem(Line, All(Line), Item, true, End));
        ASSERT_EQ(Item.ToABCText(), u"");
        TrecNuo4ABCTextReplaceItem R;
        TNuo4ABCBuffer(T).SectionOptions_EditItem(Item, R);
        const std::u16string Out = Applied(T, R);
        EXPECT_EQ(Out, C.Expected) << nuo4::test::Utf8(T);
        Nuo4DocOptions().SetToDefault();
        TNuo4ABCBuffer(Out).UpdateOptions();
        EXPECT_EQ(Nuo4DocOptions().Param_Paper.Width, 210);
        EXPECT_EQ(Nuo4DocOptions().Param_Paper.Height, 297);
        EXPECT_EQ(Nuo4DocOptions().Param_Arc.DefaultShape, assEllipseFill);
    }
}

TEST(EditsWithGrammars, FontItemAddedThenReplaced) {
    const std::u16string T = u".Fonts\rLyric = Arial, 3.5\r";
    const std::u16string NewLine = u"Title = SimSun, 8";
    TrecNuo4ABCParseInfo_FontInfo NewItem;
    int32_t End;
    ASSERT_TRUE(ReadFontItem(NewLine, All(NewLine), NewItem, End));
    TrecNuo4ABCTextReplaceItem R;
    TNuo4ABCBuffer(T).SectionFonts_EditItem(NewItem, R);
    const std::u16string Added = Applied(T, R);
    EXPECT_EQ(Added, T + NewItem.ToABCText() + u"\r");
    NewItem.FontInfo.Size = 9;
    TNuo4ABCBuffer(Added).SectionFonts_EditItem(NewItem, R);
    const TNuo4ABCBuffer After(Applied(Added, R));
    ASSERT_EQ(After.Section_Fonts.GetCount(), 2);
    EXPECT_EQ(After.Section_Fonts.Buffer[1].FontUsage, fuTitle);
    EXPECT_EQ(After.Section_Fonts.Buffer[1].FontInfo.Size, 9);
}

TEST(EditsWithGrammars, AttachmentAndPageItemsReadBackAfterAdding) {
    const std::u16string T = u".Voice\r1 2\r.Attachments\r\r.Page\r";
    const std::u16string AttachLine = u"Brace||//(-1.5,-0.5) = ZhiKuoHao, Right, 15, []";
    TrecNuo4SectiontItemWithParseInfo_Attachments Attach;
    int32_t End;
    ASSERT_TRUE(ReadAttachmentItem(AttachLine, All(AttachLine), Attach, End));
    TrecNuo4ABCTextReplaceItem R;
    TNuo4ABCBuffer(T).SectionAttachments_AddItem(Attach.Value, R);
    const std::u16string WithAttach = Applied(T, R);
    const TNuo4ABCBuffer B(WithAttach);
    EXPECT_EQ(B.Section_Attachments.GetCount(), 1);

    const std::u16string PageLine = u"Memo@1,0,0 = 0, Memo1, AlignLeft, False, x";
    TrecNuo4SectiontItemWithParseInfo_Page Page;
    ASSERT_TRUE(ReadPageItem(PageLine, All(PageLine), Page, End));
    B.SectionPage_AddItem(Page.Value, R);
    const TNuo4ABCBuffer C(Applied(WithAttach, R));
    EXPECT_EQ(C.Section_Page.GetCount(), 1);
    EXPECT_EQ(C.Section_Attachments.GetCount(), 1);
    EXPECT_EQ(C.Section_Voice.GetCount(), 2);
}

TEST(EditsWithGrammars, TitleBlockRewriteIsStableAndReadsBack) {
    const std::u16string T = u".Title\rTitle = Old\rIntro = i\r\r.Voice\r1\r";
    TrecNuo4SectionTitleBuffer Title = TNuo4ABCBuffer(T).Section_Title.Buffer;
    Title.SetText(tbitTitle, u"New");
    TrecNuo4ABCTextReplaceItem R;
    TNuo4ABCBuffer(T).SectionTitle_EditTitleBlock(Title, R);
    const std::u16string Once = Applied(T, R);
    const TNuo4ABCBuffer B(Once);
    EXPECT_EQ(B.Section_Title.Buffer.GetText(tbitTitle), u"New");
    EXPECT_EQ(B.Section_Title.Buffer.GetText(tbitIntro), u"i");
    EXPECT_EQ(B.Section_Voice.GetCount(), 1);
    // Writing the same title again changes nothing.
    B.SectionTitle_EditTitleBlock(Title, R);
    EXPECT_EQ(Applied(Once, R), Once);
}

TEST(EditsWithGrammars, AppendedSymbolsGetAReturnAndReadBack) {
    const std::u16string T = u".Voice\r1 2\r\r.Words\r";
    const TNuo4ABCBuffer B(T);
    TrecNuo4ABCTextReplaceItem R;
    B.SectionVoice_AppendSymbol(u"3", R);
    const TNuo4ABCBuffer After(Applied(T, R));
    EXPECT_EQ(After.Section_Voice.GetCount(), B.Section_Voice.GetCount() + 2);  // "3" and "$"
}
