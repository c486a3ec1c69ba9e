// The section stages of the build with their symbol builders, lyric spacing and the widths of
// runs with indents and lyric overhangs. Lyrics and attachments are stood in for by boxes of
// the right kind, since only their boxes and owners matter here.
#include <gtest/gtest.h>

#include <QPainterPath>
#include <cmath>
#include <memory>

#include "layout/layout_hooks.h"
#include "layout/simple_buffer.h"
#include "render/music_font.h"
#include "render/note_style.h"
#include "render/symbol_attach.h"

using namespace nuo4;

namespace {

// A symbol of any kind whose ink is one rectangle and whose layout box is the same.
template <TNuo4SymbolType AType>
class TBoxSymbol : public TNuo4SymbolBaseFor<AType> {
  public:
    explicit TBoxSymbol(TGPRectF ABox) : FBox(ABox) { this->Create(nullptr); }
    void CalcBounds(TGPRectF& ARect) override { ARect = FBox; }
    void CreateElements() override {
        QPainterPath P;
        P.addRect(FBox);
        this->AddElement_FillPath(P);
    }
    void* GetSymbolRecPtr() override { return nullptr; }
    void SetSymbolRec(const void*) override {}
    TNuo4SymbolType GetSymbolType() const override { return AType; }
    void SetRecNoteStyleIndex(const TrecNuo4NoteStyleIndex&) override {}
    void SetRecMainStyle(TNuo4NoteMainStyle) override {}
    void SetRecSubStyle(TNuo4NoteSubStyle) override {}

  private:
    TGPRectF FBox;
};
using TLyricBox = TBoxSymbol<sbstLyric>;

class BufferStages : public ::testing::Test {
  protected:
    void SetUp() override { Nuo4Render_Init(); }
    void TearDown() override {
        Nuo4LayoutSymbolBuilders() = TNuo4LayoutSymbolBuilders();
        Nuo4DocOptions().SetToDefault();
        RebuildAll(Nuo4DocOptions());
    }
    TNuo4SimpleBuffer& Build(const std::u16string& AText) {
        FABC = std::make_unique<TNuo4ABCBuffer>(AText);
        FBuf = std::make_unique<TNuo4SimpleBuffer>(FABC.get());
        return *FBuf;
    }
    // A lyric box under a note, added as the lyrics stage would.
    static int32_t AddLyric(TNuo4SimpleBuffer& B, int32_t ANote, double ALeft, double ARight) {
        auto L = std::make_unique<TLyricBox>(TGPRectF(ALeft, 2, ARight - ALeft, 3));
        L->Update(true);
        TrecNuo4AttachBufferItem Item;
        Item.Symbol = std::move(L);
        Item.SourceIndex = Item.SourceIndex2 = ANote;
        const int32_t I = B.Attach_AddItem(std::move(Item));
        B.UpdateAllBasicSymbolsBoundsTotal();
        return I;
    }
    std::unique_ptr<TNuo4ABCBuffer> FABC;
    std::unique_ptr<TNuo4SimpleBuffer> FBuf;
};

}  // namespace

// ---- Lyric spacing --------------------------------------------------------------------------

TEST_F(BufferStages, OverlappingLyricsPushTheLaterNoteByTheOverlap) {
    auto& B = Build(u".Voice\r1 2 3 4\r");
    AddLyric(B, 0, -1, 5);
    AddLyric(B, 1, -5, 1);
    ASSERT_LT(B.Basic_GetSymbol(0)->AW(), 10.0);
    Nuo4DocOptions().Param_Lyric.GapBetweenLyrics = 0.5f;
    B.Lyric_CheckAllOcupy();
    // 5 - (-5) + 0.5: the advance of the note before the second lyric.
    EXPECT_NEAR(B.Basic_GetSymbol(0)->AW(), 10.5, 1e-4);
    EXPECT_EQ(B.Attach_GetBasicIndex(1), 1);
}

TEST_F(BufferStages, LyricsApartOrLockedLeaveTheSpacingAlone) {
    auto& B = Build(u".Voice\r1 2 3{C:1.000} 4\r");
    AddLyric(B, 0, -1, 1);
    AddLyric(B, 1, -1, 1);
    const double Before = B.Basic_GetSymbol(0)->AW();
    B.Lyric_CheckAllOcupy();
    EXPECT_DOUBLE_EQ(B.Basic_GetSymbol(0)->AW(), Before);
    // The gap is measured over every advance up to the later lyric; the symbol before it is
    // locked, so nothing moves.
    AddLyric(B, 3, -30, 1);
    const double Locked = B.Basic_GetSymbol(2)->AW();
    B.Lyric_CheckAllOcupy();
    EXPECT_DOUBLE_EQ(B.Basic_GetSymbol(2)->AW(), Locked);
}

TEST_F(BufferStages, EnglishLyricsKeepTheLargerEnglishGap) {
    // The lyrics stage puts three centred characters under note 1 and an English word under
    // note 2, far wider together than a quarter note's advance.
    auto& B = Build(u".Voice\r1 2 3 4\r.Words\rW1: {我我我} hello\r");
    ASSERT_TRUE(FABC->Section_Lyrics.VerseBuffer[0].LyricsArray[1].Text.Data.IsEnglishLyric());
    ASSERT_TRUE(B.Basic_GetSymbol(0)->WithLyric());
    EXPECT_TRUE(B.Basic_WithEnglishLyric(1));
    EXPECT_FALSE(B.Basic_WithEnglishLyric(0));
    // GapBetweenLyrics 0, GapBetweenEnglishLyrics 1.0, between the lyrics' cells.
    const double Needed =
        B.Basic_GetSymbol(0)->BasicInfo().AttachmentsInfo.Lyrics.Get().Bounds.Layout.right() -
        B.Basic_GetSymbol(1)->BasicInfo().AttachmentsInfo.Lyrics.Get().Bounds.Layout.left() + 1.0;
    // The automatic advance already spans both total boxes; from a narrow advance the lyric
    // check alone restores exactly the needed distance.
    EXPECT_GE(B.Basic_GetSymbol(0)->AW(), Needed - 1e-3);
    B.Basic_GetSymbol(0)->SetAWCoef(1);
    B.Lyric_CheckAllOcupy();
    EXPECT_NEAR(B.Basic_GetSymbol(0)->AW(), Needed, 1e-3);
}

// ---- Widths of runs ---------------------------------------------------------------------------

TEST_F(BufferStages, RunWidthIsLeftPartPlusAdvancesPlusLastRightWidth) {
    auto& B = Build(u".Voice\r1 2 3\r");
    const TKoRange R(0, 3);
    const double Expected = B.Basic_GetSymbol(0)->LeftWidth() + B.Basic_GetSymbol(0)->AW() +
                            B.Basic_GetSymbol(1)->AW() + B.Basic_GetSymbol(2)->RightWidth();
    EXPECT_NEAR(B._GetTotalWidth_Range(R, 0), Expected, 1e-6);
    // An indent replaces the first symbol's left width.
    EXPECT_NEAR(B._GetTotalWidth_Range(R, 12), Expected - B.Basic_GetSymbol(0)->LeftWidth() + 12,
                1e-6);
    // Only the outer parts are fixed while locked symbols are ignored.
    EXPECT_NEAR(B._GetTotalFixedWidth_Range(R, 0),
                B.Basic_GetSymbol(0)->LeftWidth() + B.Basic_GetSymbol(2)->RightWidth(), 1e-6);
    EXPECT_EQ(B._GetTotalWidth_Range(TKoRange(2, 5), 0), 0);
}

TEST_F(BufferStages, LyricOverhangWidensTheRunToTheLeft) {
    auto& B = Build(u".Voice\r1 2 3\r");
    AddLyric(B, 1, -20, 1);
    const double P = B.Basic_GetSymbol(0)->AW();
    const double Left0 = B.Basic_GetSymbol(0)->LeftWidth();
    const double W = B._GetLeftWidthPlusRightWidth_Range(TKoRange(0, 3), 0);
    EXPECT_NEAR(W, 20 - P + B.Basic_GetSymbol(2)->RightWidth(), 1e-4);
    EXPECT_NEAR(B.Basic_GetSymbol(0)->BasicInfo().ExtraBoundsForLyric_Left, 20 - P - Left0, 1e-4);
    EXPECT_NEAR(B.Basic_GetSymbol(0)->LeftWidth(), 20 - P, 1e-4);
    // An indent wider than the overhang hides it.
    auto& B2 = Build(u".Voice\r1 2 3\r");
    AddLyric(B2, 1, -20, 1);
    EXPECT_NEAR(B2._GetLeftWidthPlusRightWidth_Range(TKoRange(0, 3), 30),
                30 + B2.Basic_GetSymbol(2)->RightWidth(), 1e-4);
    EXPECT_EQ(B2.Basic_GetSymbol(0)->BasicInfo().ExtraBoundsForLyric_Left, 0);
}

// ---- Section stages ---------------------------------------------------------------------------

TEST_F(BufferStages, AttachmentsGetTheirOwnerOffsetAndTextOrigin) {
    Nuo4LayoutSymbolBuilders().Attachments = [](const TrecNuo4SectionItem_Attachments&) {
        return std::make_unique<TBoxSymbol<sbstAttachText>>(TGPRectF(-1, -1, 2, 2));
    };
    TrecNuo4SectionItem_Attachments On2, Nowhere;
    On2.InitializeToText(u"a", fuAttachText1, 1.0f, -2.0f, 1, 1, 0);
    On2.Header.HorzLocation.InitializeToNoteIndex(1);
    Nowhere.InitializeToText(u"b", fuAttachText1, 0, 0, 1, 1, 0);
    Nowhere.Header.HorzLocation.InitializeToNoteIndex(9);
    auto& B = Build(u".Voice\r1 2 3\r.Attachments\r" + Nowhere.ToABCText() + u"\r" +
                    On2.ToABCText() + u"\r");
    ASSERT_EQ(FABC->Section_Attachments.GetCount(), 2);
    ASSERT_EQ(B.Attach_GetCount(), 1);  // the item at the tenth note names nothing
    EXPECT_TRUE(B.Attach_IsAttachText(0));
    EXPECT_EQ(B.Attach_GetBasicIndex(0), 1);
    const TNuo4Symbol* S = B.Attach_GetSymbol(0);
    EXPECT_EQ(S->CalcInfo.SymbolABCTextInfo.aType, spwabtSectionAttachments);
    EXPECT_EQ(S->CalcInfo.SymbolABCTextInfo.AttachmentsBufIndex(), 1);
    EXPECT_NEAR(S->AttachInfo().AttachPos.x(), 2.4, 1e-5);
    EXPECT_NEAR(S->AttachInfo().AttachPos.y(), -6.0, 1e-5);
    // Placed at its owner plus the offset.
    EXPECT_NEAR(S->Pos().x(), B.Basic_GetSymbol(1)->Pos().x() + 2.4, 1e-5);
    EXPECT_EQ(B.Basic_GetSymbol(1)->BasicInfo().AttachmentsInfo.Attachments.Get().AttachIndexArray,
              std::vector<int32_t>{0});
    EXPECT_EQ(B.GetDocInfo().Attachments_TextCount, 1);
}

TEST_F(BufferStages, WithoutBuildersAttachmentsTakeTheirOwnClasses) {
    TrecNuo4SectionItem_Attachments Item;
    Item.InitializeToText(u"a", fuAttachText1, 0, 0, 1, 1, 0);
    auto& B = Build(u".Voice\r1 2 3\r.Attachments\r" + Item.ToABCText() + u"\r");
    ASSERT_EQ(B.Attach_GetCount(), 1);
    EXPECT_NE(dynamic_cast<const TNuo4SymbolAttachText*>(B.Attach_GetSymbol(0)), nullptr);
    EXPECT_EQ(B.Basic_GetCount(), 3);
}

TEST_F(BufferStages, TitleGapAndLayoutHeightPlaceTheFirstLine) {
    auto& B = Build(u".Options\rVertSpacing = 2.0, 0.3, 0.2, 2.0\r.Voice\r1\r");
    EXPECT_FLOAT_EQ(Nuo4DocOptions().Param_VertSpacing.GapCoef_TitleBlock_Score, 2.0f);
    EXPECT_FALSE(B.bWithTitleBlock);
    EXPECT_FLOAT_EQ(B.FirstLineTop_Min, 20 + 2.0f * 3);
    // A title of 6 mm at line position 0 ends one line height of its font below the margin.
    const TKoFontMetrics M = TKoGDIPlusFont::GetFontMetrics(MusicFont_GetFont(fuTitle));
    const double H = M.WinAscent + M.WinDescent;
    auto& B2 = Build(u".Title\rTitle = \u8309\u8389\r.Voice\r1\r");
    ASSERT_TRUE(B2.bWithTitleBlock);
    EXPECT_NEAR(B2.TitleBlockBounds.left(), 20, 1e-4);
    EXPECT_NEAR(B2.TitleBlockBounds.top(), 20, 1e-4);
    EXPECT_NEAR(B2.TitleBlockBounds.width(), 170, 1e-4);
    EXPECT_NEAR(B2.TitleBlockBounds.height(), H, 0.01);
    EXPECT_NEAR(B2.FirstLineTop_Min, 20 + H + 3, 0.01);
    // The first line's layout top lies there.
    ASSERT_EQ(B2.LineInfoArray.size(), 1u);
    const auto& L2 = B2.LineInfoArray[0];
    EXPECT_NEAR(L2.Bounds.Layout.top(), B2.FirstLineTop_Min, 0.01);
    // A fixed height for layout replaces the title's own.
    auto ABC = std::make_unique<TNuo4ABCBuffer>(u".Title\rTitle = x\r.Voice\r1\r");
    TNuo4SimpleBuffer B3(
        ABC.get(), [](TNuo4SimpleBuffer*) { Nuo4DocOptions().TitleBlock_HeightForLayout = 40; });
    EXPECT_TRUE(B3.bWithTitleBlock);
    EXPECT_FLOAT_EQ(B3.FirstLineTop_Min, 20 + 40 + 3);
}

TEST_F(BufferStages, DeletingTheTitleMovesTheFirstLineUpToTheMarginAndGap) {
    const std::u16string Voice = u".Voice\r1 2 3 4 |\r";
    auto& With = Build(
        u".Title\rTitle = {\u8309\u8389\u82B1}\rWordsByAndMusicBy = "
        u"\u6C5F\u82CF\u6C11\u6B4C\r" +
        Voice);
    ASSERT_TRUE(With.bWithTitleBlock);
    ASSERT_EQ(With.TitleItemsBoundsArray.size(), 7u);
    // The words-by line hangs from 13 below the margin, at the layout's right.
    const TGPRectF W = With.TitleItemsBoundsArray[tbitWordsByAndMusicBy];
    EXPECT_NEAR(W.top(), 33, 0.01);
    EXPECT_NEAR(W.right(), 190, 0.01);
    EXPECT_NEAR(With.TitleBlockBounds.bottom(), W.bottom(), 1e-4);
    const double TopWith = With.LineInfoArray[0].BaselineY;
    auto& Without = Build(Voice);
    EXPECT_FALSE(Without.bWithTitleBlock);
    EXPECT_TRUE(Without.TitleBlockPathes.empty());
    EXPECT_FLOAT_EQ(Without.FirstLineTop_Min, 20 + 1.0f * 3);
    const auto& L = Without.LineInfoArray[0];
    EXPECT_NEAR(L.Bounds.Layout.top(), 23, 0.01);
    EXPECT_NEAR(TopWith - L.BaselineY, W.bottom() - 20, 0.01);
}

TEST_F(BufferStages, OptionsAreResetAndTheHostMayAdjustThem) {
    Nuo4DocOptions().Param_FitFactor.MaxFactorForFitWidth = 9;
    int Calls = 0;
    auto ABC = std::make_unique<TNuo4ABCBuffer>(u".Voice\r1 2\r");
    TNuo4SimpleBuffer B(ABC.get(), [&](TNuo4SimpleBuffer* ASender) {
        ++Calls;
        EXPECT_EQ(ASender->Basic_GetCount(), 0);  // before the voice is built
        Nuo4DocOptions().Param_HorzSpacing_AW.RefAWCoef = 2.0f;
    });
    EXPECT_EQ(Calls, 1);
    EXPECT_FLOAT_EQ(Nuo4DocOptions().Param_FitFactor.MaxFactorForFitWidth, 3.0f);
    // The host's change reached the advance widths: a quarter is 2 x 4^0.6.
    const TNuo4Symbol* S = B.Basic_GetSymbol(0);
    EXPECT_NEAR(S->AWCoef(), 2.0 * std::pow(4.0, 0.6), 0.01);
}

TEST_F(BufferStages, LyricsSectionCountsVersesAndCompoundVerses) {
    // "W1-2" sings verses 0 and 1 together; "W4" is verse 3, so four verse lines are used.
    Build(u".Voice\r1 2 3\r.Words\rW1-2: a b c\rW4: d e f\r");
    const auto& Section = FABC->Section_Lyrics;
    ASSERT_EQ(Section.VerseBuffer.size(), 2u);
    EXPECT_EQ(Section.CalcInfo.TotalVerseCount, 4);
    EXPECT_EQ(Section.CalcInfo.CompoundVerseArray, std::vector<int32_t>{0});
}

TEST_F(BufferStages, OccupiedSidesOfAnAttachmentGrowTheOwnersLayoutBox) {
    auto& B = Build(u".Voice\r1 2\r");
    const TGPRectF Before = B.Basic_GetSymbol(0)->CalcInfo.Bounds_Self.Layout;
    auto Add = [&](int32_t AOwner, TNuo4AttachmentsOcupyTypes AOcupy) {
        auto S = std::make_unique<TBoxSymbol<sbstAttachText>>(TGPRectF(-1, -1, 2, 2));
        S->Update(true);
        TrecNuo4AttachBufferItem Item;
        Item.Symbol = std::move(S);
        Item.SourceIndex = Item.SourceIndex2 = AOwner;
        Item.AttachOffset = TGPPointF(10, -20);
        Item.Ocupy = AOcupy;
        return B.Attach_AddItem(std::move(Item));
    };
    // Without occupancy only the ink of the group grows.
    Add(0, 0);
    EXPECT_EQ(B.Basic_GetSymbol(0)->CalcInfo.Bounds_Self.Layout, Before);
    EXPECT_NEAR(
        B.Basic_GetSymbol(0)->BasicInfo().AttachmentsInfo.Attachments.Get().Bounds.Black.top(), -21,
        1e-9);
    B.UpdateAllBasicSymbolsBoundsTotal();
    EXPECT_EQ(B.Basic_GetSymbol(0)->BasicInfo().Bounds_Total.Layout, Before);
    // Occupying upwards raises the top only.
    Add(1, 1 << atotUp);
    const TGPRectF After = B.Basic_GetSymbol(1)->CalcInfo.Bounds_Self.Layout;
    EXPECT_NEAR(After.top(), -21, 1e-9);
    EXPECT_NEAR(After.right(), B.Basic_GetSymbol(1)->Bounds().right(), 1e-9);
    EXPECT_EQ(Nuo4AttachmentsItemOcupy(TrecNuo4SectionItem_Attachments()), 0);
    // A rebuilt symbol keeps the room its attachments take.
    B.Basic_GetSymbol(1)->SetNeedUpdate();
    B.UpdateAllBasicSymbols();
    EXPECT_NEAR(B.Basic_GetSymbol(1)->CalcInfo.Bounds_Self.Layout.top(), -21, 1e-9);
}

TEST_F(BufferStages, PageItemsBecomePageSymbolsAtTheirPositions) {
    // The page symbols are built also without a voice.
    auto& B = Build(
        u".Page\rMemo@1,20,30 = 60, Memo1, AlignLeft, True, x\r"
        u"Memo@2,5,6 = 60, Memo1, AlignLeft, False, y\r"
        u"TitleBlock@1,20,100 = 120.0, {}, {{\u8309\u8389}}, {}, {}, {}, {}, {}, 0, 0, 13, 20, 13, "
        u"13, 20, $ff0000ff\r");
    ASSERT_EQ(FABC->Section_Page.GetCount(), 3);
    ASSERT_EQ(B.PageBuffer_GetCount(), 3);
    EXPECT_TRUE(B.PageBuffer_IsMemo(1));
    EXPECT_FALSE(B.PageBuffer_IsTitleBlock(1));
    EXPECT_EQ(B.PageBuffer_GetSymbol(1)->Pos(), TGPPointF(5, 6));
    EXPECT_EQ(B.PageBuffer_GetSymbol(1)->CalcInfo.SymbolABCTextInfo.PageBufIndex(), 1);
    EXPECT_EQ(B.PageBuffer_GetSymbol(0)->CalcInfo.SymbolBufferIndex,
              TrecNuo4SymbolBufferIndex::Create(sbtPage, 0));
    // Built with their shapes: the framed memo has its text and frame, the title block its
    // whole layout width and the colour of its item.
    TNuo4Symbol* M = B.PageBuffer_GetSymbol(0);
    EXPECT_EQ(M->ElementsCount(), 2);
    EXPECT_GT(M->Bounds().width(), 0);
    EXPECT_LT(M->Bounds().width(), 60);
    ASSERT_TRUE(B.PageBuffer_IsTitleBlock(2));
    TNuo4Symbol* T = B.PageBuffer_GetSymbol(2);
    EXPECT_EQ(T->Pos(), TGPPointF(20, 100));
    EXPECT_NEAR(T->Bounds().width(), 120, 1e-4);
    EXPECT_EQ(T->Color(), 0xff0000ffu);
    // The item's braces go, the title's own stay: 0.2 x 120 = 24 wide, centred in the box.
    EXPECT_NEAR(T->BlackBox().center().x(), 60, 0.3);
    EXPECT_GT(T->BlackBox().width(), 22);
    EXPECT_EQ(B.GetDocInfo().MemoCount, 2);
    EXPECT_EQ(B.Basic_GetCount(), 0);
}

namespace {

// A special text as the attachments stage would add it: only its record matters here.
class TKeyChangeText : public TBoxSymbol<sbstAttachText> {
  public:
    explicit TKeyChangeText(std::u16string AText) : TBoxSymbol(TGPRectF(-1, -1, 2, 2)) {
        Rec.Text_ABC = std::move(AText);
    }
    void* GetSymbolRecPtr() override { return &Rec; }
    TrecNuo4SymbolAttachText Rec;
};

}  // namespace

TEST_F(BufferStages, KeyChangesWrittenAsSpecialTextsApplyFromTheirOwner) {
    Nuo4LayoutSymbolBuilders().Attachments = [](const TrecNuo4SectionItem_Attachments& AItem) {
        return std::make_unique<TKeyChangeText>(AItem.Text.Text_ABC);
    };
    TrecNuo4SectionItem_Attachments Item;
    Item.InitializeToText(u"", fuAttachText1, 0, 0, 1, 1, 0);
    Item.Text.SetABCText(u"\u8F6C{1=F}");  // a standard text: the group stays as written
    Item.Header.HorzLocation.InitializeToNoteIndex(2);
    auto& B = Build(u".Title\rKeyAndMeters = {1=D,4/4}\r.Voice\r1 1 | 1 1\r.Attachments\r" +
                    Item.ToABCText() + u"\r");
    ASSERT_EQ(B.Attach_GetCount(), 1);
    ASSERT_EQ(B.Attach_GetBasicIndex(0), 3);  // the third note
    const auto Keys = B.GetKeyChangeArray();
    ASSERT_EQ(Keys.size(), 2u);
    EXPECT_EQ(Keys[0].FromIndex, 0);
    EXPECT_EQ(Keys[0].Key, 2);
    EXPECT_EQ(Keys[1].FromIndex, 3);
    EXPECT_EQ(Keys[1].Key, 5);
    EXPECT_EQ(B.Basic_GetSymbol(1)->BasicInfo().MidiNotes, std::vector<uint8_t>{62});
    EXPECT_EQ(B.Basic_GetSymbol(3)->BasicInfo().MidiNotes, std::vector<uint8_t>{65});
    EXPECT_EQ(B.Basic_GetSymbol(4)->BasicInfo().Key, 5);
    // Inside a system line joined by a brace the key change belongs to one part only.
    TrecNuo4LineInfoItem Line;
    Line.BasicIndexRange = TKoRange(0, 5);
    B.LineInfoArray = {Line};
    TrecNuo4SystemLineInfoItem System;
    System.LineIndexRange = TKoRange(0, 1);
    System.AttachIndex_Brace = 7;
    B.SystemLineInfoArray = {System};
    EXPECT_EQ(B.GetKeyChangeArray().size(), 1u);
    B.SystemLineInfoArray[0].AttachIndex_Brace = -1;
    EXPECT_EQ(B.GetKeyChangeArray().size(), 2u);
}

TEST_F(BufferStages, TitleSectionGivesTheInitialMeterKeyAndTempo) {
    auto& B = Build(u".Title\rKeyAndMeters = {1=bE,3/4}\rExpression = x {J=96}\r.Voice\r1\r");
    EXPECT_EQ(B.GetInitMeter(), TrecNuo4Meter::Create(3, 4));
    EXPECT_EQ(B.GetFirstMeterFromTitleBlock(), TrecNuo4Meter::Create(3, 4));
    EXPECT_EQ(B.GetInitKey(), 3);
    EXPECT_DOUBLE_EQ(B.GetInitTempo(), 96);
    TrecNuo4Meter M;
    int32_t Key = 0;
    double Tempo = 0;
    B.GetMelodyInfo_FromTitleBlock(M, Key, Tempo);
    EXPECT_EQ(M, TrecNuo4Meter::Create(3, 4));
    EXPECT_EQ(Key, 3);
    EXPECT_DOUBLE_EQ(Tempo, 96);
    // The measures take the title's meter.
    EXPECT_EQ(B.MeasureInfoArray[0].Meter, TrecNuo4Meter::Create(3, 4));
}

TEST_F(BufferStages, CoefficientTableReplacesTheFormulaWhenChosen) {
    auto ABC = std::make_unique<TNuo4ABCBuffer>(u".Voice\r1 2 5_ 6_ |\r");
    TNuo4SimpleBuffer B(ABC.get(), [](TNuo4SimpleBuffer*) {
        auto& AW = Nuo4DocOptions().Param_HorzSpacing_AW;
        AW.bUseAWCoefTable = true;
        AW.AWCoefTable = {1.5f, 2.5f, 3, 4, 5, 6, 7, 8};
    });
    // A quarter is the fourth entry; an eighth the second.
    EXPECT_NEAR(B.Basic_GetSymbol(0)->AWCoef(), 4.0, 1e-5);
    EXPECT_NEAR(B.Basic_GetSymbol(2)->AWCoef(),
                std::max(2.5, B.GetHorzSpacingInfoForGetAW(2).GetAWCoefForNoGap()), 1e-5);
}

TEST_F(BufferStages, KeyAndMetersOfTheTitleAreCheckedWhereTheyAreDrawn) {
    auto& Bad = Build(u".Title\rKeyAndMeters = 1=F 2/4\r.Voice\r1\r");
    EXPECT_TRUE(Bad.RulesCheckResult_Error_TitleBlock_KeyAndMeters);
    // The mark goes under the item's box: on the left margin, 13 below the top margin.
    ASSERT_EQ(Bad.TitleItemsBoundsArray.size(), 7u);
    const TGPRectF K = Bad.TitleItemsBoundsArray[tbitKeyAndMeters];
    EXPECT_NEAR(K.left(), 20, 1e-4);
    EXPECT_GT(K.bottom(), 33);
    EXPECT_FALSE(Build(u".Title\rKeyAndMeters = {1=F}{2/4}\r.Voice\r1\r")
                     .RulesCheckResult_Error_TitleBlock_KeyAndMeters);
    EXPECT_FALSE(Build(u".Voice\r1\r").RulesCheckResult_Error_TitleBlock_KeyAndMeters);
}
