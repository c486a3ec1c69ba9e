#include "format/section_attachments.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "format/doc_options.h"
#include "test_util.h"

using namespace nuo4;
using nuo4::test::All;
using nuo4::test::U;

namespace {

struct TRead {
    bool bOk = false;
    TrecNuo4SectiontItemWithParseInfo_Attachments Item;
    int32_t End = -1;
    std::u16string Text;
    const TrecNuo4SectionItem_Attachments& V() const { return Item.Value; }
};

TRead Read(std::string_view ALine) {
    TRead R;
    R.Text = U(ALine);
    R.bOk = ReadAttachmentItem(R.Text, All(R.Text), R.Item, R.End);
    return R;
}

bool Reads(std::string_view ALine) {
    return Read(ALine).bOk;
}

}  // namespace

// ---- Header ---------------------------------------------------------------------------------

TEST(AttachmentHeader, KindNamesIgnoreCaseButNoWhiteSpaceInside) {
    EXPECT_TRUE(Reads("Text@3,2(0,-2.5) = AttachText1, x"));
    EXPECT_TRUE(Reads("text@3,2(0,-2.5) = AttachText1, x"));
    EXPECT_TRUE(Reads("  TEXT@3,2(0,-2.5)   =   AttachText1, x  "));
    EXPECT_FALSE(Reads("Text @3,2(0,-2.5) = AttachText1, x"));
    EXPECT_FALSE(Reads("Text@3,2 (0,-2.5) = AttachText1, x"));
    EXPECT_FALSE(Reads("Txt@3,2(0,-2.5) = AttachText1, x"));
}

TEST(AttachmentHeader, OffsetPointIsRequiredAndTight) {
    EXPECT_FALSE(Reads("Text@3,2 = AttachText1, x"));
    EXPECT_FALSE(Reads("Text@3,2(0, -2.5) = AttachText1, x"));
    EXPECT_FALSE(Reads("Text@3,2(0,-2.5 = AttachText1, x"));
    EXPECT_FALSE(Reads("Text@3,2(0) = AttachText1, x"));
    EXPECT_FALSE(Reads("Text@3,2(0,-2.5)x = AttachText1, x"));
    EXPECT_FALSE(Reads("Text(0,-2.5) = AttachText1, x"));
}

TEST(AttachmentHeader, FieldsAndTokens) {
    const TRead R = Read("Dynamic@@7(0.5,-2.5) = 15, True");
    ASSERT_TRUE(R.bOk);
    const auto& H = R.V().Header;
    EXPECT_EQ(H.aType, satitDynamic);
    EXPECT_EQ(H.HorzLocation.aType, hltAbsLocate_BasicIndex);
    EXPECT_EQ(H.HorzLocation.AbsLocate_BasicIndex_BasicIndex, 6);
    EXPECT_FLOAT_EQ(H.OffsetCoef.X, 0.5f);
    EXPECT_FLOAT_EQ(H.OffsetCoef.Y, -2.5f);
    const auto& Tokens = R.Item.Header.TokenItems;
    EXPECT_EQ(R.Item.Header.aType, pitSectionItem_Attachments);
    EXPECT_EQ(Tokens.GetRangeOfFirst(ttSectionAttachmentsItemHeader), TKoRange(0, 20));
    EXPECT_EQ(Tokens.GetRangeOfFirst(ttSectionItemName), TKoRange(0, 7));
    EXPECT_EQ(Tokens.GetRangeOfFirst(ttHorzLocation), TKoRange(7, 3));
    EXPECT_EQ(Tokens.GetRangeOfFirst(ttOffset), TKoRange(10, 10));
    // The item ends with the last value read.
    EXPECT_EQ(R.End, static_cast<int32_t>(R.Text.size()) - 1);
    EXPECT_EQ(R.Item.Header.ABCTextRange, TKoRange(0, static_cast<int32_t>(R.Text.size())));
}

TEST(AttachmentHeader, EndIsTheLastValueReadNotASkippedOne) {
    const TRead R = Read("Dynamic@1,1(0.5,-2.5) = 15, True, False, maybe ");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.End, static_cast<int32_t>(R.Text.find(u"False")) + 4);
}

TEST(AttachmentHeader, RelativeLocationAndWriter) {
    const TRead R = Read("Brace||//(-1.5,-0.5) = ZhiKuoHao, Right, 15, []");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.V().Header.HorzLocation.aType, hltRelLocate_BarlineAndNote);
    EXPECT_EQ(R.V().ToABCText(), u"Brace||//(-1.50,-0.50) = ZhiKuoHao, Right, 15.0, []");
}

TEST(AttachmentHeader, LineWithoutValuesIsNoItem) {
    EXPECT_FALSE(Reads("Text@1,1(0,0) = "));
    EXPECT_FALSE(Reads("Text@1,1(0,0)"));
    EXPECT_FALSE(Reads(""));
}

// ---- Text -----------------------------------------------------------------------------------

TEST(AttachmentText, WriterMatchesTheDocumentedExample) {
    TrecNuo4SectionItem_Attachments I;
    I.SetToDefaultForText();
    I.Header.HorzLocation.AbsLocate_BarlineAndNote_BarlinePos = 2;
    I.Header.HorzLocation.AbsLocate_BarlineAndNote_NotePos = 1;
    I.Text.SetABCText(U("渐慢"));
    EXPECT_EQ(test::Utf8(I.ToABCText()),
              "Text@3,2(0.00,-2.50) = AttachText1, 渐慢, {}, [], $ff000000");
}

TEST(AttachmentText, RequiredUsageAndTextOptionalRest) {
    TRead R = Read("Text@1,1(0,0) = AttachText2, a\\sb, {2, 2}, [UD], $80112233");
    ASSERT_TRUE(R.bOk);
    const auto* T = R.V().IsText();
    ASSERT_NE(T, nullptr);
    EXPECT_EQ(R.V().IsArc(), nullptr);
    EXPECT_EQ(T->FontUsage, fuAttachText2);
    EXPECT_EQ(T->Text_ABC, u"a\\sb");
    EXPECT_FLOAT_EQ(T->Transform.Sx, 2);
    EXPECT_EQ(T->Ocupy, Nuo4OcupyUpDown);
    EXPECT_EQ(T->Color, 0x80112233u);
    EXPECT_FALSE(Reads("Text@1,1(0,0) = AttachText1"));
    EXPECT_FALSE(Reads("Text@1,1(0,0) = AttachText1x, a"));
    EXPECT_FALSE(Reads("Text@1,1(0,0) = Nothing, a"));
}

TEST(AttachmentText, OptionalValuesThatDoNotReadAreSkipped) {
    TRead R = Read("Text@1,1(0,0) = AttachText1, a, 2, [L], blue");
    ASSERT_TRUE(R.bOk);
    const auto* T = R.V().IsText();
    EXPECT_TRUE(T->Transform.IsDefault());
    EXPECT_EQ(T->Ocupy, 1 << atotLeft);
    EXPECT_EQ(T->Color, Nuo4DefaultColor);
}

TEST(AttachmentText, EmptyTextRoundTrips) {
    TrecNuo4SectionItem_Attachments I;
    I.SetToDefaultForText();
    const std::u16string S = I.ToABCText();
    TrecNuo4SectiontItemWithParseInfo_Attachments Back;
    int32_t End;
    ASSERT_TRUE(ReadAttachmentItem(S, All(S), Back, End));
    EXPECT_TRUE(Back.Value.SameAs(I));
}

TEST(AttachmentText, LongTextIsCutTo1000Characters) {
    const std::string Line = "Text@1,1(0,0) = AttachText1, " + std::string(1200, 'x');
    TRead R = Read(Line);
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.V().Text.Text_ABC.size(), 1000u);
}

TEST(AttachmentText, PlainTextWithSeparatorsSurvivesTheItemLine) {
    TrecNuo4SectionItem_Attachments I;
    const std::u16string Plain = u" a, {b} c\\d ";
    I.InitializeToText(Plain, fuAttachText3, 1, -3, 1.5f, 1.5f, 0);
    const std::u16string S = I.ToABCText();
    TrecNuo4SectiontItemWithParseInfo_Attachments Back;
    int32_t End;
    ASSERT_TRUE(ReadAttachmentItem(S, All(S), Back, End));
    const auto& T = Back.Value.Text;
    EXPECT_EQ(ABC_Unescape(T.Text_ABC, All(T.Text_ABC)), Plain);
    EXPECT_EQ(T.FontUsage, fuAttachText3);
    EXPECT_FLOAT_EQ(T.Transform.Sy, 1.5f);
    EXPECT_FLOAT_EQ(Back.Value.Header.OffsetCoef.Y, -3);
}

TEST(AttachmentText, LineTextsUseOneDecimal) {
    TrecNuo4SymbolAttachText T;
    T.SetABCTextToSolidLine(true, 12.345f);
    EXPECT_EQ(T.Text_ABC, u"{slv:12.3}");
    T.SetABCTextToSolidLine(false, 3);
    EXPECT_EQ(T.Text_ABC, u"{slh:3.0}");
    T.SetABCTextToWaveLine(true, 5);
    EXPECT_EQ(T.Text_ABC, u"{wlv:5.0}");
    T.SetABCTextToWaveLine(false, 5);
    EXPECT_EQ(T.Text_ABC, u"{wlh:5.0}");
}

// ---- FangZi ---------------------------------------------------------------------------------

TEST(AttachmentFangZi, TypeWordIsTheEarliestOccurrence) {
    struct {
        const char* Word;
        TNuo4AttachFangZiType Type;
        TNuo4LineSymbolContinueStyle Style;
    } Cases[] = {
        {"Full", afztFangZi, lscsFull},           {"Left", afztFangZi, lscsLeft},
        {"xRight", afztFangZi, lscsRight},        {"RepeatNoCount", afztRepeatNoCount, lscsFull},
        {"DashedLine", afztDashedLine, lscsFull}, {"Line", afztLine, lscsFull},
        {"WaveLine", afztWaveLine, lscsFull},     {"WaveLineLeft", afztWaveLine, lscsFull}};
    for (const auto& C : Cases) {
        TRead R = Read(std::string("FangZi@1,1(0,-2.89) = ") + C.Word + ", 20, 2.");
        ASSERT_TRUE(R.bOk) << C.Word;
        EXPECT_EQ(R.V().FangZi.FangZiType, C.Type) << C.Word;
        EXPECT_EQ(R.V().FangZi.ContinueStyle, C.Style) << C.Word;
    }
    EXPECT_FALSE(Reads("FangZi@1,1(0,-2.89) = Whole, 20, 2."));
}

TEST(AttachmentFangZi, AutoAlignIsTrueForShortLines) {
    TRead R = Read("FangZi@1,1(0,-2.89) = Left, 20, 2., False");
    ASSERT_TRUE(R.bOk);
    EXPECT_FALSE(R.V().FangZi.bOcupy);
    EXPECT_TRUE(R.V().FangZi.bAutoAlign);
    R = Read("FangZi@1,1(0,-2.89) = Left, 20, 2., True, False");
    ASSERT_TRUE(R.bOk);
    EXPECT_FALSE(R.V().FangZi.bAutoAlign);
}

TEST(AttachmentFangZi, RequiredLengthAndTextCapacity) {
    EXPECT_FALSE(Reads("FangZi@1,1(0,-2.89) = Full, long, 1."));
    EXPECT_FALSE(Reads("FangZi@1,1(0,-2.89) = Full, 20"));
    TRead R = Read("FangZi@1,1(0,-2.89) = Full, 20, " + std::string(300, 'v'));
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.V().FangZi.Text_ABC.size(), 200u);
}

TEST(AttachmentFangZi, WriterWritesTheContinueStyleOnlyForAVolta) {
    TrecNuo4SectionItem_Attachments I;
    I.SetToDefaultForFangZi(afztFangZi, lscsRight, true);
    EXPECT_EQ(I.ValueToABCText(), u"Right, 30.00, 1., True, True");
    I.SetToDefaultForFangZi(afztDashedLine, lscsLeft, false);
    EXPECT_EQ(I.ValueToABCText(), u"DashedLine, 30.00, 1., True, False");
    EXPECT_FLOAT_EQ(I.Header.OffsetCoef.Y, -2.89f);
}

// ---- Arc ------------------------------------------------------------------------------------

TEST(AttachmentArc, AutoAlignOfShortLinesDependsOnARightPartsLength) {
    TRead R = Read("Arc@1,1(0,-1.6) = Right, 0, 12, 6");
    ASSERT_TRUE(R.bOk);
    EXPECT_FALSE(R.V().Arc.bAutoAlign);
    R = Read("Arc@1,1(0,-1.6) = Right, 0, 12, 9");
    ASSERT_TRUE(R.bOk);
    EXPECT_TRUE(R.V().Arc.bAutoAlign);
    R = Read("Arc@1,1(0,-1.6) = Left, 0, 12, 6");
    ASSERT_TRUE(R.bOk);
    EXPECT_TRUE(R.V().Arc.bAutoAlign);
    R = Read("Arc@1,1(0,-1.6) = Right, 0, 12, 6, 0, True, 0, True");
    ASSERT_TRUE(R.bOk);
    EXPECT_TRUE(R.V().Arc.bAutoAlign);
}

TEST(AttachmentArc, UnknownShapeKeepsTheDefaultAndStillReads) {
    TRead R = Read("Arc@1,1(0,-1.6) = Full, 7, 12");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.V().Arc.Shape, assEllipseFill);
    R = Read("Arc@1,1(0,-1.6) = Full, 3, 12");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.V().Arc.Shape, assFlatStroke);
    EXPECT_FLOAT_EQ(R.V().Arc.Length_Full, 12);
    EXPECT_FLOAT_EQ(R.V().Arc.Length_LeftOrRight, 5);
}

TEST(AttachmentArc, DefaultShapeIsTheDocumentsDefaultArcShape) {
    const TNuo4SymbolArcShape Saved = Nuo4DocOptions().Param_Arc.DefaultShape;
    Nuo4DocOptions().Param_Arc.DefaultShape = assFlatFill;
    TRead R = Read("Arc@1,1(0,-1.6) = Full, 9, 12");
    TrecNuo4SectionItem_Attachments I;
    I.SetToDefaultForArc(lscsFull, false);
    Nuo4DocOptions().Param_Arc.DefaultShape = Saved;
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.V().Arc.Shape, assFlatFill);
    EXPECT_EQ(I.Arc.Shape, assFlatFill);
}

TEST(AttachmentArc, ValuesAfterTheThirdAreRequiredWhenPresent) {
    EXPECT_FALSE(Reads("Arc@1,1(0,-1.6) = Full, 0"));
    EXPECT_FALSE(Reads("Arc@1,1(0,-1.6) = Full, x, 12"));
    EXPECT_FALSE(Reads("Arc@1,1(0,-1.6) = Full, 0, 12, x"));
    EXPECT_FALSE(Reads("Arc@1,1(0,-1.6) = Full, 0, 12, 6, 1.5"));
    EXPECT_FALSE(Reads("Arc@1,1(0,-1.6) = Full, 0, 12, 6, 3, True, x"));
    // bOcupy and bAutoAlign are optional.
    TRead R = Read("Arc@1,1(0,-1.6) = Full, 0, 12, 6, 3, x, 2, x");
    ASSERT_TRUE(R.bOk);
    const auto& A = R.V().Arc;
    EXPECT_EQ(A.TupletNumber, 3);
    EXPECT_TRUE(A.bOcupy);
    EXPECT_EQ(A.ArrowStyle, aasDot);
    EXPECT_FALSE(A.bAutoAlign);
}

TEST(AttachmentArc, LengthOfAPartIsHalfTheWhole) {
    TrecNuo4SymbolAttachArc A;
    A.SetToDefault(lscsLeft, false);
    A.SetLength(7);
    EXPECT_FLOAT_EQ(A.GetLength(), 7);
    EXPECT_FLOAT_EQ(A.Length_Full, 14);
    A.SetToDefault(lscsFull, false);
    A.SetLength(9);
    EXPECT_FLOAT_EQ(A.GetLength(), 9);
    EXPECT_FLOAT_EQ(A.Length_LeftOrRight, 9);
}

TEST(AttachmentArc, WriterWritesAllEightValues) {
    TrecNuo4SectionItem_Attachments I;
    I.SetToDefaultForArc(lscsLeft, true);
    EXPECT_EQ(I.ValueToABCText(), u"Left, 0, 10.00, 5.00, 0, True, 0, True");
}

// ---- Dynamic --------------------------------------------------------------------------------

TEST(AttachmentDynamic, DirectionIsRequired) {
    EXPECT_FALSE(Reads("Dynamic@1,1(0.5,-2.5) = 15"));
    TRead R = Read("Dynamic@1,1(0.5,-2.5) = 15, True");
    ASSERT_TRUE(R.bOk);
    const auto* D = R.V().IsAttachDynamic();
    ASSERT_NE(D, nullptr);
    EXPECT_TRUE(D->bJianRuo);
    EXPECT_FLOAT_EQ(D->Length, 15);
    EXPECT_FALSE(D->bPartial);
    EXPECT_TRUE(D->bOcupy);
    R = Read("Dynamic@1,1(0.5,-2.5) = 12.5, 0, 1, false");
    ASSERT_TRUE(R.bOk);
    EXPECT_FALSE(R.V().ADynamic.bJianRuo);
    EXPECT_TRUE(R.V().ADynamic.bPartial);
    EXPECT_FALSE(R.V().ADynamic.bOcupy);
    EXPECT_EQ(R.V().ValueToABCText(), u"12.50, False, True, False");
}

// ---- Often ----------------------------------------------------------------------------------

TEST(AttachmentOften, LongestNameWins) {
    struct {
        const char* Name;
        TNuo4AttachmentsGroupItemType_Often Type;
    } Cases[] = {{"Force-ff", agitoForce_ff},
                 {"force-FFF", agitoForce_fff},
                 {"Force-f", agitoForce_f},
                 {"BoYin-down", agitoArticulation_BoYin_Down},
                 {"DS12", agitoRepeat_DS12},
                 {"Segno1x", agitoRepeat_Segno1},
                 {"RenYiYanChang", agitoArticulation_YanYin}};
    for (const auto& C : Cases) {
        TRead R = Read(std::string("Often@1,1(0,-2) = ") + C.Name + ", {}");
        ASSERT_TRUE(R.bOk) << C.Name;
        EXPECT_EQ(R.V().Often.ItemType, C.Type) << C.Name;
    }
    EXPECT_FALSE(Reads("Often@1,1(0,-2) = Forte, {}"));
    EXPECT_FALSE(Reads("Often@1,1(0,-2) = HuanQi"));
}

TEST(AttachmentOften, NewMarksTakeTheTableDefaults) {
    TrecNuo4SectionItem_Attachments I;
    I.SetToDefaultForOften(agitoGlideUp_Arrow);
    EXPECT_FLOAT_EQ(I.Header.OffsetCoef.X, -1.1f);
    EXPECT_FLOAT_EQ(I.Header.OffsetCoef.Y, -0.3f);
    EXPECT_FLOAT_EQ(I.Often.Transform.Sx, 1.2f);
    EXPECT_EQ(I.Often.Ocupy, (1 << atotLeft) | (1 << atotRight));
    EXPECT_EQ(I.ValueToABCText(), u"GlideUp-Arc, {1.20, 1.00}, [LR]");
    // A line that leaves the occupancy out keeps the table's.
    TRead R = Read("Often@1,1(0,-1.7) = ChanYin, {}");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.V().Often.Ocupy, Nuo4OcupyUpDown);
    R = Read("Often@1,1(0,-1.7) = ChanYin, {}, []");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.V().Often.Ocupy, 0);
}

TEST(AttachmentOften, EveryNameReadsBackAsItsType) {
    for (int I = 0; I < Nuo4AttachOftenCount; ++I) {
        const auto Type = static_cast<TNuo4AttachmentsGroupItemType_Often>(I);
        const std::u16string Name = AttachOftenName(Type);
        TNuo4AttachmentsGroupItemType_Often Back;
        int32_t End;
        ASSERT_TRUE(ABC_ParseAttachOftenName(Name, All(Name), Back, End)) << EnumName(Type);
        EXPECT_EQ(Back, Type) << EnumName(Type);
        EXPECT_EQ(End, static_cast<int32_t>(Name.size()) - 1);
    }
}

// ---- Extend ---------------------------------------------------------------------------------

TEST(AttachmentExtend, ListIsRequiredAndStoredRaw) {
    TRead R = Read("Extend@1,1(0,-2) = {{\\xe001}, {1, 0, \\xe002}}");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.V().Extend.Text_ABC, u"{{\\xe001}, {1, 0, \\xe002}}");
    EXPECT_EQ(R.V().ValueToABCText(), u"{{\\xe001}, {1, 0, \\xe002}}");
    EXPECT_FALSE(Reads("Extend@1,1(0,-2) = \\xe001"));
    EXPECT_FALSE(Reads("Extend@1,1(0,-2) = {}"));
}

TEST(AttachmentExtend, WriterDropsDefaultTrailingValues) {
    TrecNuo4SectionItem_Attachments I;
    I.InitializeToExtend(0xe123, 0, -2, 1, 1, 0);
    EXPECT_EQ(I.ToABCText(), u"Extend@1,1(0.00,-2.00) = {\\xe123}");
    I.Extend.Transform.Sx = 2;
    EXPECT_EQ(I.ValueToABCText(), u"{\\xe123}, {2.00, 1.00}");
    I.Extend.Transform.Sx = 1;
    I.Extend.Ocupy = 1 << atotDown;
    EXPECT_EQ(I.ValueToABCText(), u"{\\xe123}, {}, [D]");
    TRead R = Read("Extend@1,1(0,-2) = {\\xe123}, {}, [D]");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.V().Extend.Ocupy, 1 << atotDown);
}

// ---- Branch ---------------------------------------------------------------------------------

TEST(AttachmentBranch, RequiredValuesAndTheirRanges) {
    TRead R = Read("Branch@2,1(0,-3) = True, 3, 4, 2, {1 2 3}");
    ASSERT_TRUE(R.bOk);
    const auto* B = R.V().IsBranch();
    ASSERT_NE(B, nullptr);
    EXPECT_TRUE(B->bAutoAlign);
    EXPECT_EQ(B->InitMeter, TrecNuo4Meter::Create(3, 4));
    EXPECT_EQ(B->InitBeatPos_8thCount, 2);
    EXPECT_EQ(B->GetABCText_Voice(), u"1 2 3");
    EXPECT_EQ(B->ABCText_Lyrics, u"");
    EXPECT_EQ(B->Ocupy, Nuo4OcupyUpDown);
    EXPECT_FALSE(Reads("Branch@2,1(0,-3) = True, 7, 12, 0, {1 2 3}"));
    EXPECT_FALSE(Reads("Branch@2,1(0,-3) = True, 100, 4, 0, {1 2 3}"));
    EXPECT_FALSE(Reads("Branch@2,1(0,-3) = True, 4, 4, 21, {1 2 3}"));
    EXPECT_FALSE(Reads("Branch@2,1(0,-3) = True, 4, 4, -1, {1 2 3}"));
    EXPECT_FALSE(Reads("Branch@2,1(0,-3) = True, 4, 4, 0, { }"));
    EXPECT_FALSE(Reads("Branch@2,1(0,-3) = True, 4, 4, 0, 1 2 3"));
    EXPECT_FALSE(Reads("Branch@2,1(0,-3) = maybe, 4, 4, 0, {1}"));
    EXPECT_TRUE(Reads("Branch@2,1(0,-3) = False, 0, 0, 20, {1}"));
}

TEST(AttachmentBranch, OptionsAreReadOnlyAfterBracedLyrics) {
    TRead R = Read(
        "Branch@2,1(0,-3) = False, 4, 4, 0, {1 2}, {a b}, {0.8, 0.8}, [U], True, "
        "SubStyleSmallSize, AttachText2");
    ASSERT_TRUE(R.bOk);
    const auto& B = R.V().Branch;
    EXPECT_EQ(B.ABCText_Lyrics, u"a b");
    EXPECT_FLOAT_EQ(B.Transform.Sx, 0.8f);
    EXPECT_EQ(B.Ocupy, 1 << atotUp);
    EXPECT_TRUE(B.bForceUseSubStyle);
    EXPECT_EQ(B.SubStyleToForceUse, nssSmallSize);
    EXPECT_EQ(B.FontUsageForLyric, fuAttachText2);
    EXPECT_EQ(R.Item.Header.TokenItems.GetRangeOfFirst(ttAttachBranchLyrics).Length, 5);

    R = Read("Branch@2,1(0,-3) = False, 4, 4, 0, {1 2}, a b, {0.8, 0.8}, [U], True");
    ASSERT_TRUE(R.bOk);
    EXPECT_TRUE(R.V().Branch.Transform.IsDefault());
    EXPECT_FALSE(R.V().Branch.bForceUseSubStyle);
    EXPECT_EQ(R.End, static_cast<int32_t>(R.Text.find(u"{1 2}")) + 4);
}

TEST(AttachmentBranch, DefaultsAndInitialize) {
    TrecNuo4SectionItem_Attachments I;
    I.SetToDefaultForBranch();
    EXPECT_FLOAT_EQ(I.Header.OffsetCoef.Y, -3);
    EXPECT_EQ(I.Branch.InitMeter, TrecNuo4Meter::Create(4, 4));
    EXPECT_EQ(I.Branch.FontUsageForLyric, fuLyric);
    I.Branch.Initialize(u"5 6", u"la la", nssZip, 0.75f);
    EXPECT_TRUE(I.Branch.bForceUseSubStyle);
    EXPECT_EQ(I.Branch.SubStyleToForceUse, nssZip);
    EXPECT_EQ(I.ValueToABCText(),
              u"False, 4, 4, 0, {5 6}, {la la}, {0.75, 0.75}, [UD], True, SubStyleZip, Lyric");
}

// ---- Brace ----------------------------------------------------------------------------------

TEST(AttachmentBrace, NegativeExtraLineBecomesZero) {
    TRead R = Read("Brace@1,1(-1.5,-0.5) = HuaKuoHao, Left, 20, [], -3");
    ASSERT_TRUE(R.bOk);
    const auto* B = R.V().IsBrace();
    ASSERT_NE(B, nullptr);
    EXPECT_EQ(B->Style, absHuaKuoHao);
    EXPECT_EQ(B->Direction, abdLeft);
    EXPECT_FLOAT_EQ(B->Length_ExtraLine, 0);
    EXPECT_EQ(R.V().ValueToABCText(), u"HuaKuoHao, Left, 20.0, []");
    R = Read("Brace@1,1(-1.5,-0.5) = huakuohao2, up, 20, [R], 2.5");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.V().Brace.Style, absHuaKuoHao2);
    EXPECT_EQ(R.V().Brace.Direction, abdUp);
    EXPECT_EQ(R.V().ValueToABCText(), u"HuaKuoHao2, Up, 20.0, [R], 2.50");
}

TEST(AttachmentBrace, AllFourLeadingValuesAreRequired) {
    EXPECT_FALSE(Reads("Brace@1,1(-1.5,-0.5) = ZhiKuoHao, Left, 20"));
    EXPECT_FALSE(Reads("Brace@1,1(-1.5,-0.5) = ZhiKuoHaoX, Left, 20, []"));
    EXPECT_FALSE(Reads("Brace@1,1(-1.5,-0.5) = ZhiKuoHao, Leftward, 20, []"));
    EXPECT_FALSE(Reads("Brace@1,1(-1.5,-0.5) = ZhiKuoHao, Left, long, []"));
    EXPECT_FALSE(Reads("Brace@1,1(-1.5,-0.5) = ZhiKuoHao, Left, 20, [X]"));
    EXPECT_TRUE(Reads("Brace@1,1(-1.5,-0.5) = ZhiKuoHao Thick, Left, 20, []"));
}

// ---- Round trip -----------------------------------------------------------------------------

namespace {

// Values the writers reproduce exactly: two decimals for most numbers, one for a brace.
float Decimals(std::mt19937& G, int AMin, int AMax, int ADecimals) {
    const int Scale = ADecimals == 1 ? 10 : 100;
    std::uniform_int_distribution<int> D(AMin * Scale, AMax * Scale);
    return static_cast<float>(D(G)) / Scale;
}
int Int(std::mt19937& G, int AMin, int AMax) {
    return std::uniform_int_distribution<int>(AMin, AMax)(G);
}
bool Bool(std::mt19937& G) {
    return Int(G, 0, 1) == 1;
}

TrecNuo4SymbolTransform2 RandomTransform(std::mt19937& G) {
    TrecNuo4SymbolTransform2 T;
    if (Int(G, 0, 2) == 0) return T;
    T.Sx = Decimals(G, -3, 3, 2);
    T.Sy = Decimals(G, -3, 3, 2);
    if (Bool(G)) {
        T.bMirror = Bool(G);
        T.bItalic = Bool(G);
        T.Rotate.FromAngle(static_cast<float>(Int(G, -400, 400)));
    }
    return T;
}

TrecNuo4HorzLocation RandomLocation(std::mt19937& G) {
    TrecNuo4HorzLocation L;
    switch (Int(G, 0, 4)) {
        case 0:
            L.aType = hltAbsLocate_Barline;
            L.AbsLocate_Barline_MeasurePos = Int(G, 0, 50);
            L.AbsLocate_Barline_bLeft = Bool(G);
            break;
        case 1:
            L.aType = hltAbsLocate_MeasurePos;
            // Quarters survive the "+ 1" of the written form exactly.
            L.AbsLocate_MeasurePos_MeasurePos = static_cast<float>(Int(G, 0, 160)) / 4;
            break;
        case 2:
            L.AbsLocate_BarlineAndNote_BarlinePos = Int(G, 0, 50);
            L.AbsLocate_BarlineAndNote_NotePos = Int(G, 0, 9);
            break;
        case 3:
            L.aType = hltAbsLocate_BasicIndex;
            L.AbsLocate_BasicIndex_BasicIndex = Int(G, 0, 500);
            break;
        default:
            L.aType = hltRelLocate_BarlineAndNote;
            L.RelLocate_BarlineAndNote_BarlinesCount = Int(G, 0, 3);
            L.RelLocate_BarlineAndNote_NotesCount = Int(G, 1, 4);
            break;
    }
    return L;
}

TNuo4AttachmentsOcupyTypes RandomOcupy(std::mt19937& G) {
    return static_cast<TNuo4AttachmentsOcupyTypes>(Int(G, 0, 15));
}

std::u16string RandomText(std::mt19937& G, bool bAllowEmpty) {
    static const char16_t* Pieces[] = {u"a",        u"渐慢",    u"{1=D}",     u"\\s",    u"x y",
                                       u"{bny:05}", u"\\x0041", u"{slh:5.0}", u"转{1=F}"};
    std::u16string S;
    const int N = Int(G, bAllowEmpty ? 0 : 1, 4);
    for (int I = 0; I < N; ++I) S += Pieces[Int(G, 0, 8)];
    return S;
}

TrecNuo4SectionItem_Attachments RandomItem(std::mt19937& G, TNuo4SectionAttachmentsItemType K) {
    TrecNuo4SectionItem_Attachments I;
    switch (K) {
        case satitText:
            I.SetToDefaultForText();
            I.Text.FontUsage = static_cast<TNuo4FontUsage>(Int(G, 0, Nuo4FontUsageCount - 1));
            I.Text.SetABCText(RandomText(G, true));
            I.Text.Transform = RandomTransform(G);
            I.Text.Ocupy = RandomOcupy(G);
            I.Text.Color = static_cast<TNuo4Color>(G());
            break;
        case satitFangZi:
            I.SetToDefaultForFangZi(static_cast<TNuo4AttachFangZiType>(Int(G, 0, 4)),
                                    static_cast<TNuo4LineSymbolContinueStyle>(Int(G, 0, 2)),
                                    Bool(G));
            if (I.FangZi.FangZiType != afztFangZi) I.FangZi.ContinueStyle = lscsFull;
            I.FangZi.Length = Decimals(G, 0, 200, 2);
            I.FangZi.Text_ABC = RandomText(G, true);
            I.FangZi.bOcupy = Bool(G);
            break;
        case satitArc:
            I.SetToDefaultForArc(static_cast<TNuo4LineSymbolContinueStyle>(Int(G, 0, 2)), Bool(G));
            I.Arc.Shape = static_cast<TNuo4SymbolArcShape>(Int(G, 0, 3));
            I.Arc.Length_Full = Decimals(G, 0, 100, 2);
            I.Arc.Length_LeftOrRight = Decimals(G, 0, 100, 2);
            I.Arc.TupletNumber = Int(G, 0, 9);
            I.Arc.bOcupy = Bool(G);
            I.Arc.ArrowStyle = static_cast<TNuo4ArcArrowStyle>(Int(G, 0, 4));
            break;
        case satitDynamic:
            I.SetToDefaultForDynamic();
            I.ADynamic.Initialize(Decimals(G, 0, 100, 2), Bool(G), Bool(G), Bool(G));
            break;
        case satitOften:
            I.SetToDefaultForOften(static_cast<TNuo4AttachmentsGroupItemType_Often>(
                Int(G, 0, Nuo4AttachOftenCount - 1)));
            if (Bool(G)) I.Often.Transform = RandomTransform(G);
            if (Bool(G)) I.Often.Ocupy = RandomOcupy(G);
            break;
        case satitExtend: {
            I.InitializeToExtend(static_cast<char16_t>(Int(G, 0xe000, 0xe0ff)), 0, -2,
                                 Decimals(G, 0, 3, 2), Decimals(G, 0, 3, 2), RandomOcupy(G));
            if (Bool(G)) {
                TrecNuo4AttachExtendData D;
                I.Extend.GetData(D);
                TrecNuo4AttachExtendDataItem Second;
                Second.Text_ABC = ABC_EscapeText(u"\xe010\xe011", false, true);
                Second.Pos = {Decimals(G, -5, 5, 2), Decimals(G, -5, 5, 2)};
                Second.Transform = RandomTransform(G);
                D.Items.push_back(Second);
                I.Extend.Text_ABC = D.ToABCText(true);
            }
            I.Extend.Transform.bMirror = Bool(G);
            break;
        }
        case satitBranch:
            I.SetToDefaultForBranch();
            I.Branch.bAutoAlign = Bool(G);
            I.Branch.InitMeter.Initialize(Int(G, 0, 99), Int(G, 0, 9));
            I.Branch.InitBeatPos_8thCount = Int(G, 0, 20);
            I.Branch.SetABCText_Voice(Bool(G) ? u"1 2 | 3_4_ 5 $" : u"{DunYin}5 \"a\" 6");
            I.Branch.SetABCText_Lyrics(Bool(G) ? u"" : u"la\\nli");
            I.Branch.Transform = RandomTransform(G);
            I.Branch.Ocupy = RandomOcupy(G);
            I.Branch.bForceUseSubStyle = Bool(G);
            I.Branch.SubStyleToForceUse = static_cast<TNuo4NoteSubStyle>(Int(G, 0, 7));
            I.Branch.FontUsageForLyric =
                static_cast<TNuo4FontUsage>(Int(G, 0, Nuo4FontUsageCount - 1));
            break;
        case satitBrace:
            I.SetToDefaultForBrace();
            I.Brace.Style = static_cast<TNuo4AttachBraceStyle>(Int(G, 0, 2));
            I.Brace.Direction = static_cast<TNuo4AttachBraceDirection>(Int(G, 0, 3));
            I.Brace.Length = Decimals(G, 0, 90, 1);
            I.Brace.Ocupy = RandomOcupy(G);
            I.Brace.Length_ExtraLine = Bool(G) ? 0 : Decimals(G, 0, 20, 2);
            break;
    }
    I.Header.HorzLocation = RandomLocation(G);
    I.Header.OffsetCoef = {Decimals(G, -9, 9, 2), Decimals(G, -9, 9, 2)};
    return I;
}

}  // namespace

TEST(AttachmentRoundTrip, EveryKindReadsBackAsWritten) {
    std::mt19937 G(20261209);
    for (int K = 0; K < Nuo4SectionAttachmentsItemTypeCount; ++K)
        for (int N = 0; N < 200; ++N) {
            const auto Item = RandomItem(G, static_cast<TNuo4SectionAttachmentsItemType>(K));
            const std::u16string S = Item.ToABCText();
            TrecNuo4SectiontItemWithParseInfo_Attachments Back;
            int32_t End;
            ASSERT_TRUE(ReadAttachmentItem(S, All(S), Back, End)) << test::Utf8(S);
            EXPECT_EQ(End, static_cast<int32_t>(S.size()) - 1) << test::Utf8(S);
            ASSERT_TRUE(Back.Value.SameAs(Item)) << test::Utf8(S) << "\n"
                                                 << test::Utf8(Back.Value.ToABCText());
            EXPECT_EQ(Back.Value.ToABCText(), S);
        }
}

TEST(AttachmentRoundTrip, UnmatchedBraceInARawTextDoesNotSwallowLaterValues) {
    TRead R = Read("FangZi@1,1(0,-2.89) = Full, 20, a{b");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.V().FangZi.Text_ABC, u"a{b");
    const std::u16string W1 = R.V().ToABCText();
    EXPECT_EQ(W1, u"FangZi@1,1(0.00,-2.89) = Full, 20.00, a\\x007bb, True, True");
    TrecNuo4SectiontItemWithParseInfo_Attachments Back;
    int32_t End;
    ASSERT_TRUE(ReadAttachmentItem(W1, All(W1), Back, End));
    EXPECT_TRUE(Back.Value.FangZi.bAutoAlign);
    EXPECT_EQ(Back.Value.ToABCText(), W1);
    R = Read("Text@1,1(0,0) = AttachText1, {x}{y, {}, [U]");
    ASSERT_TRUE(R.bOk);
    // The unmatched brace took the rest of the line into the text; it stays one text.
    EXPECT_EQ(R.V().Text.Text_ABC, u"{x}{y, {}, [U]");
    const std::u16string W2 = R.V().ToABCText();
    ASSERT_TRUE(ReadAttachmentItem(W2, All(W2), Back, End));
    EXPECT_EQ(ABC_Unescape(Back.Value.Text.Text_ABC, All(Back.Value.Text.Text_ABC)),
              u"{x}{y, {}, [U]");
    EXPECT_EQ(Back.Value.Text.Ocupy, 0);
    EXPECT_EQ(Back.Value.ToABCText(), W2);
}

TEST(AttachmentRoundTrip, CodedTextStillFitsItsCapacity) {
    // 199 characters and a lone brace: coding the brace would pass the 200 of a volta text.
    TrecNuo4SectionItem_Attachments I;
    I.SetToDefaultForFangZi(afztFangZi, lscsFull, true);
    I.FangZi.Text_ABC = std::u16string(198, u'v') + u"{ ";
    const std::u16string W1 = I.ToABCText();
    TrecNuo4SectiontItemWithParseInfo_Attachments Back;
    int32_t End;
    ASSERT_TRUE(ReadAttachmentItem(W1, All(W1), Back, End));
    EXPECT_LE(Back.Value.FangZi.Text_ABC.size(), 200u);
    EXPECT_EQ(Back.Value.FangZi.Text_ABC.substr(0, 198), std::u16string(198, u'v'));
    EXPECT_EQ(Back.Value.ToABCText(), W1);
}

TEST(AttachmentExtend, OverlongListKeepsTheLeadingItemsThatFit) {
    std::string List = "{";
    for (int I = 0; I < 150; ++I) List += (I ? ", " : "") + std::string("{\\xe001}");
    List += "}";
    TRead R = Read("Extend@1,1(0,-2) = " + List + ", {2, 2}");
    ASSERT_TRUE(R.bOk);
    const auto& E = R.V().Extend;
    EXPECT_LE(E.Text_ABC.size(), 1000u);
    TrecNuo4AttachExtendData D;
    ASSERT_TRUE(E.GetData(D));
    EXPECT_EQ(D.Items.size(), 100u);  // "{\xe001}" and ", " make 10 characters an item
    EXPECT_FLOAT_EQ(E.Transform.Sx, 2);
}
