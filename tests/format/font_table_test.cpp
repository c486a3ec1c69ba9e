#include "format/font_table.h"

#include <gtest/gtest.h>

#include <map>

#include "format/abc_buffer.h"
#include "test_util.h"

using namespace nuo4;
using nuo4::test::U;
using nuo4::test::Utf8;

namespace {

// A table that knows a fixed set of installed families and falls back to "Arial".
class TFakeFontTable : public INuo4FontTable {
  public:
    std::vector<std::u16string> Installed{u"Arial", u"微软雅黑", u"仿宋", u"楷体"};
    TrecNuo4FontInfos Table;
    int Resets = 0;
    std::vector<TNuo4FontUsage> SetOrder;

    void ResetTextFonts() override {
        ++Resets;
        Table.SetToDefault_Init();
    }
    std::u16string SetFont(TNuo4FontUsage AUsage, const TrecNuo4FontInfo& AInfo) override {
        SetOrder.push_back(AUsage);
        std::u16string Obtained = u"Arial";
        for (const auto& F : Installed)
            if (ABC_SameTextIgnoreCase(F, AInfo.FamilyName)) Obtained = AInfo.FamilyName;
        Table[AUsage].Initialize(Obtained, AInfo.Size, AInfo.Style);
        return Obtained;
    }
    TrecNuo4FontInfo GetFontInfo(TNuo4FontUsage AUsage) const override { return Table[AUsage]; }
};

std::u16string Apply(std::u16string AText, const TNuo4ABCTextReplaceItems& AItems) {
    ABC_ApplyReplaceItems(AText, AItems);
    return AText;
}

}  // namespace

TEST(DefaultFonts, TableOfEveryUsageWithTheChineseFamilies) {
    TrecNuo4FontInfos F;
    F[fuCore].Initialize(u"Nuo4Core", 6, 0);
    F.SetToDefault_Init();
    EXPECT_EQ(F[fuCore].FamilyName, u"Nuo4Core");  // not part of the defaults
    EXPECT_EQ(F[fuDefault], (TrecNuo4FontInfo{u"Arial", 3.5f, 0}));
    EXPECT_EQ(F[fuIntro], (TrecNuo4FontInfo{u"Arial", 3.0f, fsItalic}));
    EXPECT_EQ(F[fuTitle], (TrecNuo4FontInfo{u"微软雅黑", 6.0f, 0}));
    EXPECT_EQ(F[fuSubTitle], (TrecNuo4FontInfo{u"仿宋", 4.0f, 0}));
    EXPECT_EQ(F[fuSubTitle2], (TrecNuo4FontInfo{u"仿宋", 3.8f, 0}));
    EXPECT_EQ(F[fuWordsByAndMusicBy], (TrecNuo4FontInfo{u"楷体", 4.0f, 0}));
    EXPECT_EQ(F[fuLyric], (TrecNuo4FontInfo{u"微软雅黑", 3.2f, 0}));
    EXPECT_EQ(F[fuLyricPrefix], (TrecNuo4FontInfo{u"仿宋", 3.2f, 0}));
    EXPECT_EQ(F[fuLyricVerseIndex], (TrecNuo4FontInfo{u"仿宋", 3.2f, fsItalic}));
    EXPECT_EQ(F[fuFangZiText], (TrecNuo4FontInfo{u"微软雅黑", 2.8f, fsItalic}));
    EXPECT_EQ(F[fuAuxInfo].Size, 3.0f);
    EXPECT_EQ(F[fuAttachText4].Size, 3.5f);
    EXPECT_EQ(F[fuPartName].Size, 3.2f);
    EXPECT_EQ(F[fuMemo1].Size, 3.0f);
    EXPECT_EQ(F[fuMemo4].Size, 4.5f);
    for (int I = fuDefault; I < Nuo4FontUsageCount; ++I) EXPECT_TRUE(F.Items[I].IsValid()) << I;
}

TEST(UpdateFonts, ResetsThenSetsEveryItemAndReportsFamiliesNotObtained) {
    TNuo4ABCBuffer B(
        U(".Fonts\r\nTitle = 微软雅黑, 7\r\nLyric = NoSuchFamily, 3.00\r\nCore = Arial, 5\r\n"
          "SubTitle = ARIAL, 4, [B]\r\nMemo1 = 楷体_GB2312, 3\r\n"));
    ASSERT_EQ(B.Section_Fonts.GetCount(), 5);
    TFakeFontTable T;
    B.UpdateFonts(T);
    EXPECT_EQ(T.Resets, 1);
    // The music font's own usage is never replaced by a document.
    EXPECT_EQ(T.SetOrder, (std::vector<TNuo4FontUsage>{fuTitle, fuLyric, fuSubTitle, fuMemo1}));
    EXPECT_EQ(T.Table[fuTitle].Size, 7.0f);
    EXPECT_EQ(T.Table[fuSubTitle].Style, fsBold);
    ASSERT_EQ(B.FontsCheckInfoArray.size(), 2u);
    EXPECT_EQ(B.FontsCheckInfoArray[0].FontUsage, fuLyric);
    EXPECT_EQ(B.FontsCheckInfoArray[0].FamilyName, u"NoSuchFamily");
    EXPECT_EQ(B.FontsCheckInfoArray[1].FontUsage, fuMemo1);
    EXPECT_EQ(Utf8(B.FontsCheckInfoArray[1].FamilyName), "楷体_GB2312");
    // A second run refills rather than appends.
    B.UpdateFonts(T);
    EXPECT_EQ(B.FontsCheckInfoArray.size(), 2u);
}

TEST(UpdateFonts, UsesTheInstalledTableAndDoesNothingWithoutOne) {
    TNuo4ABCBuffer B(U(".Fonts\rLyric = Nope, 3\r"));
    INuo4FontTable* Old = Nuo4GetFontTable();
    Nuo4SetFontTable(nullptr);
    B.UpdateFonts();
    EXPECT_TRUE(B.FontsCheckInfoArray.empty());
    TNuo4ABCTextReplaceItems Items;
    B.SectionFonts_UpdateAllTitleBlockFonts(Items);
    EXPECT_TRUE(Items.empty());
    TFakeFontTable T;
    Nuo4SetFontTable(&T);
    B.UpdateFonts();
    EXPECT_EQ(B.FontsCheckInfoArray.size(), 1u);
    Nuo4SetFontTable(Old);
}

TEST(UpdateAllTitleBlockFonts, ReplacesExistingItemsAndInsertsTheRestTogether) {
    const std::u16string Text = U(".Fonts\rTitle = Arial, 9\rLyric = Arial, 3\r\r.Voice\r1 2 3\r");
    TNuo4ABCBuffer B(Text);
    TFakeFontTable T;
    T.ResetTextFonts();
    T.Table[fuTitle].Initialize(u"楷体", 8, fsBold);
    TNuo4ABCTextReplaceItems Items;
    B.SectionFonts_UpdateAllTitleBlockFonts(T, Items);
    ASSERT_EQ(Items.size(), 2u);
    EXPECT_EQ(Utf8(Items[0].NewText), "Title = 楷体, 8.00, [B]");
    const std::u16string After = Apply(Text, Items);
    EXPECT_EQ(Utf8(After),
              ".Fonts\rTitle = 楷体, 8.00, [B]\rLyric = Arial, 3\r"
              "Intro = Arial, 3.00, [I]\rSubTitle = 仿宋, 4.00\rSubTitle2 = 仿宋, 3.80\r"
              "KeyAndMeters = 微软雅黑, 3.50\rWordsByAndMusicBy = 楷体, 4.00\r"
              "Expression = 微软雅黑, 3.50\r\r.Voice\r1 2 3\r");
    // Applying the edits and updating again leaves nothing but identical replacements.
    TNuo4ABCBuffer B2(After);
    B2.SectionFonts_UpdateAllTitleBlockFonts(T, Items);
    ASSERT_EQ(Items.size(), 7u);
    EXPECT_EQ(Apply(After, Items), After);
}

TEST(UpdateAllTitleBlockFonts, WithoutAFontsSectionCreatesExactlyOne) {
    const std::u16string Text = U(".Voice\r1 2 3\r");
    TNuo4ABCBuffer B(Text);
    TFakeFontTable T;
    T.ResetTextFonts();
    T.Table[fuExpression].SetToInvalid();  // a usage without a font is left out
    TNuo4ABCTextReplaceItems Items;
    B.SectionFonts_UpdateAllTitleBlockFonts(T, Items);
    ASSERT_EQ(Items.size(), 1u);
    const std::u16string After = Apply(Text, Items);
    EXPECT_EQ(Utf8(After),
              ".Voice\r1 2 3\r\r.Fonts\rIntro = Arial, 3.00, [I]\rTitle = 微软雅黑, 6.00\r"
              "SubTitle = 仿宋, 4.00\rSubTitle2 = 仿宋, 3.80\rKeyAndMeters = 微软雅黑, 3.50\r"
              "WordsByAndMusicBy = 楷体, 4.00\r");
    TNuo4ABCBuffer B2(After);
    EXPECT_EQ(B2.Section_Fonts.GetCount(), 6);
}
