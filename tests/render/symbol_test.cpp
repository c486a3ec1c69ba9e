#include "render/symbol.h"

#include <gtest/gtest.h>

#include "format/attach_symbols.h"
#include "format/section_page.h"
#include "format/symbol_barline.h"
#include "format/symbol_meter.h"
#include "format/symbol_return.h"
#include "render/articulation_symbol.h"
#include "render/note_style.h"
#include "render/note_symbol.h"
#include "render/symbol_arc.h"
#include "render/symbol_attach.h"
#include "render/symbol_basic.h"
#include "render/symbol_lyric.h"
#include "render/symbol_page.h"
#include "symbol_test_support.h"

using namespace nuo4;
using namespace nuo4::test;

namespace {

// Every test starts from the default settings, options and style table.
class SymbolTest : public ::testing::Test {
  protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset() {
        Nuo4SymbolViewSettings().SetToDefault();
        Nuo4SetDefaultSymbolColor(0xFF000000u);
        Nuo4DocOptions().SetToDefault();
        RebuildAll();
    }
};

using TTestMeter = TTestSymbol<TrecNuo4SymbolMeter, sbstMeter>;
using TTestBarline = TTestSymbol<TrecNuo4SymbolBarline, sbstBarline>;
using TTestReturn = TTestSymbol<TrecNuo4SymbolReturn, sbstReturn>;
using TTestAttachText = TTestSymbol<TrecNuo4SymbolAttachText, sbstAttachText>;
using TTestMemo = TTestSymbol<TrecNuo4SymbolMemo, sbstMemo>;
using TTestTitleBlock = TTestSymbol<TrecNuo4SymbolTitleBlock, sbstTitleBlock>;
using TTestLyric = TTestSymbol<TDummyRec, sbstLyric>;
using TTestArc = TTestSymbol<TDummyRec, sbstArc>;

TrecNuo4SymbolNote NoteWith(TNuo4Duration ADuration, TNuo4SymbolHideLevel ALevel = shlNone) {
    TrecNuo4SymbolNote N;
    N.SetMainNotePitch(TrecNuo4Pitch());
    N.SetDuration(ADuration);
    N.ControlOptions.HideLevel = ALevel;
    return N;
}

const QRgb White = qRgb(255, 255, 255);
const QRgb Black = qRgb(0, 0, 0);

}  // namespace

// ---- Update and the element list
// ------------------------------------------------------------------

TEST_F(SymbolTest, HiddenNonNoteInsideTemporaryVoiceBuildsNothingAndStaysMarked) {
    TrecNuo4SymbolMeter R;
    R.ControlOptions.HideLevel = shlAll;
    TTestMeter M(R, {RectPath(0, 0, 1, 1)});
    M.bWithinAttachBranch = true;
    M.Update(false);
    EXPECT_EQ(M.ElementsCount(), 0);
    EXPECT_TRUE(M.NeedUpdate());
    EXPECT_EQ(M.CreateElementsCalls, 0);
    // The same symbol outside a temporary voice builds its elements.
    M.bWithinAttachBranch = false;
    M.Update(false);
    EXPECT_EQ(M.ElementsCount(), 1);
    EXPECT_FALSE(M.NeedUpdate());
    // A hidden note inside a temporary voice still builds (its parts hide one by one).
    TTestNote N(NoteWith(sd4th, shlAll));
    N.bWithinAttachBranch = true;
    N.Update(false);
    EXPECT_EQ(N.ElementsCount(), 7);
    EXPECT_FALSE(N.NeedUpdate());
}

TEST_F(SymbolTest, UpdateRebuildsOnlyWhenNeededOrForced) {
    TTestMeter M(TrecNuo4SymbolMeter(), {RectPath(0, 0, 1, 1)});
    M.Update(false);
    M.Update(false);
    EXPECT_EQ(M.CreateElementsCalls, 1);
    M.Update(true);
    EXPECT_EQ(M.CreateElementsCalls, 2);
    EXPECT_EQ(M.ElementsCount(), 1);  // the old elements were cleared first
    M.SetPos(QPointF(5, 5));          // elements are local
    EXPECT_FALSE(M.NeedUpdate());
    M.SetHighlighted(false);  // no change
    EXPECT_FALSE(M.NeedUpdate());
    M.SetHighlighted(true);
    EXPECT_TRUE(M.NeedUpdate());
    M.Update(false);
    M.SetSubStyle(nssSmallSize);
    EXPECT_TRUE(M.NeedUpdate());
    M.Update(false);
    M.SetAWCoef(2);
    EXPECT_TRUE(M.NeedUpdate());
}

TEST_F(SymbolTest, ElementsAreReadBackInOrder) {
    TTestNote N;
    N.Update(false);
    ASSERT_EQ(N.ElementsCount(), 7);
    EXPECT_EQ(N.ReadElement(3)->GetBlackBox(), TGPRectF(10, 1, 2, 2));
    EXPECT_EQ(N.ReadElement(7), nullptr);
    EXPECT_EQ(N.ReadElement(-1), nullptr);
    const TNuo4SymbolPathes P = N.GetSymbolPathes();
    ASSERT_EQ(P.size(), 7u);
    EXPECT_EQ(P[6].APath.boundingRect(), TGPRectF(19, 1, 2, 2));
    N.ClearElements();
    EXPECT_EQ(N.ElementsCount(), 0);
    EXPECT_TRUE(N.NeedUpdate());
}

// ---- Bounds
// ----------------------------------------------------------------------------------------

TEST_F(SymbolTest, BoundsWithZeroHeightAreRecomputedOnEveryCall) {
    TTestMeter M;
    M.LayoutBounds = TGPRectF(-1, 0, 3, 0);
    M.Bounds();
    M.Bounds();
    EXPECT_EQ(M.CalcBoundsCalls, 2);
    // A real box is computed once and kept.
    TTestMeter K;
    K.LayoutBounds = TGPRectF(-1, -2, 3, 2);
    K.Bounds();
    K.Bounds();
    EXPECT_EQ(K.CalcBoundsCalls, 1);
    K.SetPos(QPointF(10, 20));
    EXPECT_EQ(K.BoundsWithPos(), TGPRectF(9, 18, 3, 2));
    EXPECT_DOUBLE_EQ(K.RightPos_Self(), 12);
}

TEST_F(SymbolTest, BlackBoxUnitesTheElements) {
    TTestMeter M(TrecNuo4SymbolMeter(), {RectPath(0, 0, 1, 1), RectPath(3, -2, 1, 1)});
    M.Update(false);
    EXPECT_EQ(M.BlackBox(), TGPRectF(0, -2, 4, 3));
    M.SetPos(QPointF(1, 1));
    EXPECT_EQ(M.BlackBoxWithPos(), TGPRectF(1, -1, 4, 3));
}

// Basic symbols alone carry the layout data of the voice and attach symbols alone where they
// hang; every other kind reads shared empty data, so that code walking all symbols need not ask.
TEST_F(SymbolTest, EveryClassCarriesTheLayoutDataOfItsKindOnly) {
    std::vector<std::unique_ptr<TNuo4Symbol>> All;
    All.push_back(std::make_unique<TNuo4SymbolNote>(TrecNuo4SymbolNote()));
    All.push_back(std::make_unique<TNuo4SymbolBarline>());
    All.push_back(std::make_unique<TNuo4SymbolAccompMarker>());
    All.push_back(std::make_unique<TNuo4SymbolMeter>());
    All.push_back(std::make_unique<TNuo4SymbolReturn>());
    All.push_back(std::make_unique<TNuo4SymbolText>());
    All.push_back(std::make_unique<TNuo4SymbolLyric>());
    All.push_back(std::make_unique<TNuo4SymbolFangZi>());
    All.push_back(std::make_unique<TNuo4SymbolArc>());
    All.push_back(std::make_unique<TNuo4SymbolArticulation>(TrecNuo4SymbolArticulation()));
    All.push_back(std::make_unique<TNuo4SymbolAttachText>());
    All.push_back(std::make_unique<TNuo4SymbolAttachFangZi>());
    All.push_back(std::make_unique<TNuo4SymbolAttachArc>());
    All.push_back(std::make_unique<TNuo4SymbolAttachDynamic>());
    All.push_back(std::make_unique<TNuo4SymbolAttachOften>());
    All.push_back(std::make_unique<TNuo4SymbolAttachExtend>());
    All.push_back(std::make_unique<TNuo4SymbolAttachBranch>());
    All.push_back(std::make_unique<TNuo4SymbolAttachBrace>());
    All.push_back(std::make_unique<TNuo4SymbolMemo>());
    All.push_back(std::make_unique<TNuo4SymbolTitleBlock>());
    for (const auto& S : All) {
        const TNuo4SymbolType T = S->GetSymbolType();
        SCOPED_TRACE(EnumName(T));
        EXPECT_EQ(S->HasBasicInfo(), IsBasicSymbol(T));
        EXPECT_EQ(S->HasAttachInfo(), IsAttach(T));
        EXPECT_EQ(&S->BasicInfo() == &Nuo4EmptyBasicInfo, !IsBasicSymbol(T));
        EXPECT_EQ(&S->AttachInfo() == &Nuo4EmptyAttachInfo, !IsAttach(T));
        if (S->HasBasicInfo()) {
            S->MutBasicInfo().Bounds_Total.Layout = TGPRectF(-1, -1, 3, 2);
            EXPECT_DOUBLE_EQ(S->RightWidth(), 2);
        } else {
            EXPECT_DOUBLE_EQ(S->RightWidth(), 0);
            EXPECT_FALSE(S->WithLyric());
        }
        if (S->HasAttachInfo()) S->MutAttachInfo().SourceIndex = 3;
        EXPECT_EQ(S->AttachInfo().SourceIndex, S->HasAttachInfo() ? 3 : -1);
    }
    EXPECT_TRUE(RectIsEmpty(Nuo4EmptyBasicInfo.Bounds_Total.Layout));
}

TEST_F(SymbolTest, WidthsComeFromTheTotalLayoutBox) {
    TTestMeter M;
    M.MutBasicInfo().Bounds_Total.Layout = TGPRectF(-1.5, -3, 4, 3);
    M.SetPos(QPointF(10, 0));
    M.SetAWCoef(2);
    EXPECT_DOUBLE_EQ(M.LeftWidth(), 1.5);
    EXPECT_DOUBLE_EQ(M.RightWidth(), 2.5);
    EXPECT_DOUBLE_EQ(M.RightPos_Total(), 12.5);
    EXPECT_NEAR(M.NextSymbolRefPosX(), 10 + 2 * 2.4, 1e-6);
    EXPECT_FALSE(M.WithLyric());
    M.MutBasicInfo().AttachmentsInfo.Lyrics.Mut().AttachIndexArray.push_back(0);
    EXPECT_TRUE(M.WithLyric());
}

// ---- Advance width
// ---------------------------------------------------------------------------------

TEST_F(SymbolTest, AdvanceWidthIsCoefTimesTheDigitWidthOfTheOwnStyle) {
    TTestMeter M;
    M.SetAWCoef(2);
    const double W = GetDigitSize(TrecNuo4NoteStyleIndex()).width();
    EXPECT_NEAR(M.AW(), 2 * W, 1e-6);
    M.SetAW(3 * W);
    EXPECT_NEAR(M.AWCoef(), 3, 1e-6);
    M.SetSubStyle(nssSmallSize);
    const double Ws = GetDigitSize(TrecNuo4NoteStyleIndex::Create(0, nssSmallSize)).width();
    EXPECT_LT(Ws, W);
    EXPECT_NEAR(M.AW(), 3 * Ws, 1e-6);
}

TEST_F(SymbolTest, NoteSpacingFollowsTheCoefUnlessLocked) {
    TTestNote Dashes(NoteWith(sd2th));
    Dashes.HookCalls.clear();
    Dashes.SetAWCoef(3);
    ASSERT_EQ(Dashes.HookCalls.size(), 1u);
    EXPECT_EQ(Dashes.HookCalls[0], "lines 3.000000");

    TTestNote Dotted(NoteWith(sd4thDot));
    Dotted.HookCalls.clear();
    Dotted.SetAWCoef(2.5f);
    ASSERT_EQ(Dotted.HookCalls.size(), 1u);
    EXPECT_EQ(Dotted.HookCalls[0], "dots 2.500000");

    TTestNote Plain(NoteWith(sd8th));
    Plain.HookCalls.clear();
    Plain.SetAWCoef(2);
    EXPECT_TRUE(Plain.HookCalls.empty());

    TrecNuo4SymbolNote L = NoteWith(sd2th);
    L.ControlOptions.AWCoef.RightLineSpacingCoefArray[0] = 1.2f;
    TTestNote Locked(L);
    Locked.HookCalls.clear();
    Locked.SetAWCoef(3);
    EXPECT_TRUE(Locked.HookCalls.empty());
    // Zooming scales the dashes whatever the lock says.
    Locked.ZoomAWCoef(2);
    ASSERT_EQ(Locked.HookCalls.size(), 1u);
    EXPECT_EQ(Locked.HookCalls[0], "zoom 2.000000");
    EXPECT_FLOAT_EQ(Locked.AWCoef(), 6);
    // Zooming a dotted note places its dots for the new coefficient.
    Dotted.HookCalls.clear();
    Dotted.ZoomAWCoef(2);
    ASSERT_EQ(Dotted.HookCalls.size(), 1u);
    EXPECT_EQ(Dotted.HookCalls[0], "dots 5.000000");
}

TEST_F(SymbolTest, CreationTakesLockedCoefOrTheNoteDurationCoef) {
    TTestNote Quarter(NoteWith(sd4th));
    EXPECT_NEAR(Quarter.AWCoef(), Nuo4DocOptions().Param_HorzSpacing_AW.GetAWCoef(1), 1e-6);
    EXPECT_NEAR(Quarter.AWCoef(), 2.987, 0.001);

    TrecNuo4SymbolNote L = NoteWith(sd2th);
    L.ControlOptions.LockTo(1.5f);
    L.ControlOptions.AWCoef.RightLineSpacingCoefArray[0] = 0.7f;
    TTestNote Locked(L);
    EXPECT_FLOAT_EQ(Locked.AWCoef(), 1.5f);
    EXPECT_TRUE(Locked.AWCoefIsLocked());
    // The locked dash spacing reaches the note's own array, without automatic spacing.
    ASSERT_EQ(Locked.HookCalls.size(), 1u);
    EXPECT_EQ(Locked.HookCalls[0], "copy 0.700000");

    // Other basic symbols keep no coefficient until spacing gives them one.
    TTestBarline B;
    EXPECT_FLOAT_EQ(B.AWCoef(), 0);
    TrecNuo4SymbolBarline BL;
    BL.ControlOptions.LockTo(0.8f);
    TTestBarline LockedBar(BL);
    EXPECT_FLOAT_EQ(LockedBar.AWCoef(), 0.8f);
}

TEST_F(SymbolTest, LockingWritesTheCurrentCoefIntoTheControlOptions) {
    TTestMeter M;
    M.SetAWCoef(1.75f);
    EXPECT_FALSE(M.AWCoefIsLocked());
    M.Update(false);
    M.SetAWCoefIsLocked(true);
    EXPECT_TRUE(M.AWCoefIsLocked());
    EXPECT_FLOAT_EQ(M.Rec.ControlOptions.AWCoef.AWCoef, 1.75f);
    EXPECT_TRUE(M.NeedUpdate());
    M.SetAWCoefIsLocked(false);
    EXPECT_FALSE(M.AWCoefIsLocked());
    EXPECT_TRUE(M.Rec.ControlOptions.IsDefault_AWCoef());
    // Symbols without control options are never locked.
    TTestLyric Ly;
    Ly.SetAWCoefIsLocked(true);
    EXPECT_FALSE(Ly.AWCoefIsLocked());
    EXPECT_EQ(Ly.GetControlOptionsPtr(), nullptr);
    // A note whose dashes are locked takes them again after locking.
    TrecNuo4SymbolNote L = NoteWith(sd1th);
    L.ControlOptions.AWCoef.RightLineSpacingCoefArray[0] = 1.1f;
    TTestNote N(L);
    N.HookCalls.clear();
    N.SetAWCoefIsLocked(true);
    ASSERT_EQ(N.HookCalls.size(), 1u);
    EXPECT_EQ(N.HookCalls[0], "copy 1.100000");
}

// ---- Records, hide levels, styles, colours
// ---------------------------------------------------------

TEST_F(SymbolTest, ControlOptionsAndDurationComeFromTheRecord) {
    TTestNote N(NoteWith(sd8thDot));
    ASSERT_NE(N.GetControlOptionsPtr(), nullptr);
    EXPECT_EQ(N.GetControlOptionsPtr(), &N.Rec.ControlOptions);
    EXPECT_EQ(N.GetDuration(), sd8thDot);
    EXPECT_TRUE(N.WithUnderline());
    EXPECT_TRUE(N.WithRightDot());
    EXPECT_FALSE(N.WithRightline());
    TTestReturn R;
    EXPECT_EQ(R.GetControlOptionsPtr(), &R.Rec.ControlOptions);
    EXPECT_EQ(R.GetDuration(), sdNone);
    EXPECT_FALSE(R.WithUnderline());
    TTestArc A;
    EXPECT_EQ(A.GetControlOptionsPtr(), nullptr);
    N.MutBasicInfo().DV.DV = 0.75f;
    EXPECT_FLOAT_EQ(N.GetDV(), 0.75f);
}

TEST_F(SymbolTest, HideLevelOfSymbolsWithoutControlOptionsIsAllOrNone) {
    TTestArc A;
    A.SetHideLevel(shlDigitOnly);
    EXPECT_EQ(A.HideLevel(), shlNone);
    EXPECT_FALSE(A.Hided());
    A.SetHideLevel(shlAll);
    EXPECT_EQ(A.HideLevel(), shlAll);
    EXPECT_TRUE(A.Hided());
    A.SetHideLevel(shlNone);
    EXPECT_FALSE(A.Hided());
    // A basic symbol stores the level in its record.
    TTestBarline B;
    B.SetHideLevel(shlDigitOnly2);
    EXPECT_EQ(B.Rec.ControlOptions.HideLevel, shlDigitOnly2);
    EXPECT_TRUE(B.Hided());
    TTestNote N;
    N.SetHideLevel(shlDigitOnly2);
    EXPECT_FALSE(N.Hided());
}

TEST_F(SymbolTest, StyleSettersReachTheRecordAndTheDocumentDefaultsApply) {
    TTestMeter M;
    M.SetMainStyle(2);
    M.SetSubStyle(nssSmallSize);
    M.SetNoteStyleIndex(TrecNuo4NoteStyleIndex::Create(3, nssGrace));
    ASSERT_EQ(M.RecStyleCalls.size(), 3u);
    EXPECT_EQ(M.RecStyleCalls[0], "main 2");
    EXPECT_EQ(M.RecStyleCalls[1], "sub " + std::to_string(int(nssSmallSize)));
    EXPECT_EQ(M.RecStyleCalls[2], "index 3," + std::to_string(int(nssGrace)));
    EXPECT_EQ(M.MainStyle(), 3);
    EXPECT_EQ(M.SubStyle(), nssGrace);
    Nuo4DocOptions().NoteMainStyle_Default = 1;
    Nuo4DocOptions().NoteSubStyle_Default = nssSmallSize;
    Nuo4SetDefaultSymbolColor(0xFF112233u);
    M.SetColor(0xFF00FF00u);
    M.UpdateColorAndStyleToDefault();
    EXPECT_EQ(M.MainStyle(), 1);
    EXPECT_EQ(M.SubStyle(), nssSmallSize);
    EXPECT_EQ(M.NoteStyleIndex(), TrecNuo4NoteStyleIndex::Create(1, nssSmallSize));
    EXPECT_EQ(M.Color(), 0xFF112233u);
}

TEST_F(SymbolTest, NewSymbolsTakeTheDefaultColourOrTheirRecordsColour) {
    Nuo4SetDefaultSymbolColor(0xFF204060u);
    EXPECT_EQ(TTestMeter().Color(), 0xFF204060u);
    TrecNuo4SymbolMemo Memo;
    Memo.PrivateOptions.Color = 0xFF0000AAu;
    EXPECT_EQ(TTestMemo(Memo).Color(), 0xFF0000AAu);
    TrecNuo4SymbolTitleBlock Title;
    Title.Color = 0xFF00AA00u;
    EXPECT_EQ(TTestTitleBlock(Title).Color(), 0xFF00AA00u);
    TrecNuo4SymbolAttachText Text;
    Text.Color = 0xFFAA0000u;
    EXPECT_EQ(TTestAttachText(Text).Color(), 0xFFAA0000u);
}

TEST_F(SymbolTest, CreationResetsTheLayoutData) {
    TTestNote N;
    EXPECT_TRUE(N.CalcInfo.SymbolBufferIndex.IsInvalid());
    EXPECT_EQ(N.CalcInfo.SymbolABCTextInfo.aType, spwabtNone);
    EXPECT_FALSE(N.ABCAttachmentsInfo.Get().FangZiInfo.bWithFangZi);
    EXPECT_TRUE(N.NeedUpdate());
    EXPECT_FALSE(N.Highlighted());
}

// ---- Drawing
// ---------------------------------------------------------------------------------------

TEST_F(SymbolTest, NoteAtDigitOnlyDrawsDigitAndAccidentalGhosted) {
    TTestNote N(NoteWith(sd4th, shlDigitOnly));
    N.Update(false);
    const QRgb Ghost = Over(0x20000000u, White);
    QImage Img = Render(N, 24, 4);
    for (int I = 0; I < 7; ++I) {
        const QRgb C = PixelAtMm(Img, TTestNote::ElementCentreX(I), 2);
        EXPECT_TRUE(Near(C, I < 2 ? Ghost : Black)) << I << ": " << RgbText(C);
    }
    // Without the hidden-symbols setting the hidden parts vanish.
    Nuo4SymbolViewSettings().bShowAuxInfo_HidedSymbol = false;
    Img = Render(N, 24, 4);
    for (int I = 0; I < 7; ++I) {
        const QRgb C = PixelAtMm(Img, TTestNote::ElementCentreX(I), 2);
        EXPECT_EQ(C, I < 2 ? White : Black) << I << ": " << RgbText(C);
    }
}

TEST_F(SymbolTest, NoteHiddenPartsKeepTheNoteColourWhenHighlighted) {
    TTestNote N(NoteWith(sd4th, shlDurationExclude));
    N.SetColor(0xFFFF0000u);
    N.SetHighlighted(true);
    N.Update(false);
    const TrecNuo4SymbolViewSettings& V = Nuo4SymbolViewSettings();
    const QImage Img = Render(N, 24, 4);
    for (int I = 0; I < 7; ++I) {
        const QRgb C = PixelAtMm(Img, TTestNote::ElementCentreX(I), 2);
        const QRgb Want = I < 3 ? Over(0x20FF0000u, White) : Over(V.HighlightColor, White);
        EXPECT_TRUE(Near(C, Want)) << I << ": " << RgbText(C) << " want " << RgbText(Want);
    }
}

TEST_F(SymbolTest, ReturnIsLightGreyOrNotDrawnAtAll) {
    TTestReturn R(TrecNuo4SymbolReturn(), {RectPath(1, 1, 2, 2)});
    R.Update(false);
    EXPECT_EQ(R.Color(), 0xFF000000u);
    QImage Img = Render(R, 4, 4);
    EXPECT_EQ(PixelAtMm(Img, 2, 2), qRgb(0xD3, 0xD3, 0xD3));
    Nuo4SymbolViewSettings().bShowAuxInfo_ReturnSymbol = false;
    Img = Render(R, 4, 4);
    EXPECT_EQ(PixelAtMm(Img, 2, 2), White);
}

TEST_F(SymbolTest, HighlightFillsTheBoundsAndInksInTheHighlightColour) {
    TTestMeter M(TrecNuo4SymbolMeter(), {RectPath(2, 2, 1, 1)});
    M.LayoutBounds = TGPRectF(1, 1, 4, 3);
    M.SetHighlighted(true);
    M.Update(false);
    const TrecNuo4SymbolViewSettings& V = Nuo4SymbolViewSettings();
    const QImage Img = Render(M, 6, 5);
    const QRgb Bk = Over(V.HighlightBkColor, White);
    EXPECT_EQ(Bk, qRgb(0xF0, 0xF8, 0xFF));
    EXPECT_TRUE(Near(PixelAtMm(Img, 4.5, 3.5), Bk));                          // bounds, no ink
    EXPECT_TRUE(Near(PixelAtMm(Img, 2.5, 2.5), Over(V.HighlightColor, Bk)));  // ink over it
    EXPECT_EQ(PixelAtMm(Img, 0.5, 0.5), White);                               // outside the bounds
    EXPECT_EQ(PixelAtMm(Img, 5.5, 4.5), White);
}

TEST_F(SymbolTest, BackgroundsOfVerseStartsAttachmentsAndPageSymbols) {
    const TrecNuo4SymbolViewSettings& V = Nuo4SymbolViewSettings();
    auto BackgroundOf = [](TNuo4Symbol& S) {
        S.Update(false);
        return PixelAtMm(Render(S, 4, 4), 0.5, 0.5);  // inside the bounds, away from the ink
    };
    TTestLyric Lyric(TDummyRec(), {RectPath(1, 1, 1, 1)});
    Lyric.LayoutBounds = TGPRectF(0, 0, 3, 3);
    EXPECT_EQ(BackgroundOf(Lyric), White);  // an ordinary lyric has none
    Lyric.CalcInfo.bIsLyricVerseStart = true;
    EXPECT_TRUE(Near(BackgroundOf(Lyric), Over(V.LyricVerseStartBkColor, White)));

    TTestAttachText Text(TrecNuo4SymbolAttachText(), {RectPath(1, 1, 1, 1)});
    Text.LayoutBounds = TGPRectF(0, 0, 3, 3);
    EXPECT_TRUE(Near(BackgroundOf(Text), Over(V.AttachmentsBkColor, White)));
    TTestMemo Memo(TrecNuo4SymbolMemo(), {RectPath(1, 1, 1, 1)});
    Memo.LayoutBounds = TGPRectF(0, 0, 3, 3);
    EXPECT_TRUE(Near(BackgroundOf(Memo), Over(V.PageSymbolBkColor, White)));
    // Arcs are attach symbols but not attachments: no background.
    TTestArc Arc(TDummyRec(), {RectPath(1, 1, 1, 1)});
    Arc.LayoutBounds = TGPRectF(0, 0, 3, 3);
    EXPECT_EQ(BackgroundOf(Arc), White);

    Nuo4SymbolViewSettings().bShowAuxInfo_LyricVerseStart = false;
    Nuo4SymbolViewSettings().bShowAuxInfo_AttachmentsBk = false;
    Nuo4SymbolViewSettings().bShowAuxInfo_PageSymbolBk = false;
    EXPECT_EQ(BackgroundOf(Lyric), White);
    EXPECT_EQ(BackgroundOf(Text), White);
    EXPECT_EQ(BackgroundOf(Memo), White);
}

TEST_F(SymbolTest, HiddenNonNoteGhostsItsWholeForegroundHighlightIncluded) {
    TrecNuo4SymbolBarline R;
    R.ControlOptions.HideLevel = shlOther;
    TTestBarline B(R, {RectPath(1, 1, 2, 2)});
    B.LayoutBounds = TGPRectF(0, 0, 4, 4);
    B.Update(false);
    QImage Img = Render(B, 4, 4);
    EXPECT_TRUE(Near(PixelAtMm(Img, 2, 2), Over(0x20000000u, White)));
    B.SetHighlighted(true);
    const TrecNuo4SymbolViewSettings& V = Nuo4SymbolViewSettings();
    Img = Render(B, 4, 4);
    const QRgb Bk = Over(V.HighlightBkColor, White);
    EXPECT_TRUE(Near(PixelAtMm(Img, 2, 2), Over(WithAlpha(V.HighlightColor, 32), Bk)));
    EXPECT_TRUE(Near(PixelAtMm(Img, 0.5, 0.5), Bk));  // the background is not ghosted
    Nuo4SymbolViewSettings().bShowAuxInfo_HidedSymbol = false;
    Img = Render(B, 4, 4);
    EXPECT_TRUE(Near(PixelAtMm(Img, 2, 2), Bk));
    // A bar line at a level that only hides parts of notes is drawn normally.
    B.SetHighlighted(false);
    B.SetHideLevel(shlDigitOnly);
    B.Update(false);
    EXPECT_EQ(PixelAtMm(Render(B, 4, 4), 2, 2), Black);
}

TEST_F(SymbolTest, ElementsAreDrawnAtThePosition) {
    TTestMeter M(TrecNuo4SymbolMeter(), {RectPath(0, 0, 1, 1)});
    M.Update(false);
    M.SetPos(QPointF(3, 2));
    const QImage Img = Render(M, 6, 6);
    EXPECT_EQ(PixelAtMm(Img, 3.5, 2.5), Black);
    EXPECT_EQ(PixelAtMm(Img, 0.5, 0.5), White);
    // The surface's own transform is left as it was.
    QImage Img2 = MakeImage(6, 6);
    {
        QPainter P(&Img2);
        TKoGraphics G(&P);
        PrepareGraphics(G, 1.0);
        M.Draw(G);
        EXPECT_TRUE(G.WorldTransform().isIdentity());
        TKoGDIPlusPath::PathFill(&G, RectPath(0, 0, 1, 1), 0xFF000000u);
    }
    EXPECT_EQ(PixelAtMm(Img2, 0.5, 0.5), Black);
    // Without a surface there is nothing to draw on.
    TKoGraphics None(nullptr);
    M.Draw(None);
    EXPECT_TRUE(None.WorldTransform().isIdentity());
}

TEST_F(SymbolTest, HighlightedReturnTakesTheHighlightColourNotGrey) {
    TTestReturn R(TrecNuo4SymbolReturn(), {RectPath(1, 1, 2, 2)});
    R.LayoutBounds = TGPRectF(0, 0, 4, 4);
    R.SetHighlighted(true);
    R.Update(false);
    const TrecNuo4SymbolViewSettings& V = Nuo4SymbolViewSettings();
    const QRgb Bk = Over(V.HighlightBkColor, White);
    EXPECT_TRUE(Near(PixelAtMm(Render(R, 4, 4), 2, 2), Over(V.HighlightColor, Bk)));
}
