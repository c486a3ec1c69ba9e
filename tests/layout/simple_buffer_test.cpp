// The document buffer built from score texts: basic symbols, arcs, durations, measures, MIDI
// notes, advance widths and justification, checked on the numbers of the layout. Default
// options: digit 3 x 2.4 mm, layout width 170 mm.
#include "layout/simple_buffer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "layout/fine_timer.h"
#include "layout/layout_hooks.h"
#include "render/music_font.h"
#include "render/note_style.h"
#include "render/note_symbol.h"
#include "render/symbol_basic.h"

using namespace nuo4;

namespace {

class SimpleBuffer : public ::testing::Test {
  protected:
    void SetUp() override { Nuo4Render_Init(); }
    void TearDown() override {
        Nuo4DocOptions().SetToDefault();
        RebuildAll(Nuo4DocOptions());
    }

    // A score of the given title key-and-meters text and voice text.
    TNuo4SimpleBuffer& Build(const std::u16string& AVoice,
                             const std::u16string& AKeyAndMeters = u"",
                             const std::u16string& AExtra = u"") {
        std::u16string Text;
        if (!AKeyAndMeters.empty()) Text += u".Title\rKeyAndMeters = " + AKeyAndMeters + u"\r";
        Text += u".Voice\r" + AVoice + u"\r" + AExtra;
        FABC = std::make_unique<TNuo4ABCBuffer>(Text);
        FBuf = std::make_unique<TNuo4SimpleBuffer>(FABC.get());
        return *FBuf;
    }

    std::unique_ptr<TNuo4ABCBuffer> FABC;
    std::unique_ptr<TNuo4SimpleBuffer> FBuf;
};

std::vector<uint8_t> Midi(const TNuo4SimpleBuffer& B, int32_t I) {
    const TNuo4MidiNoteList& M = B.Basic_GetSymbol(I)->BasicInfo().MidiNotes;
    return {M.begin(), M.end()};
}

}  // namespace

// ---- Basic symbols --------------------------------------------------------------------------

TEST_F(SimpleBuffer, VoiceRecordsBecomeBasicSymbolsInTextOrder) {
    auto& B = Build(u"1 2 | 3/4 3 \"ab\" ( 4 ) || $");
    ASSERT_EQ(B.Basic_GetCount(), 11);
    EXPECT_TRUE(B.Basic_IsNote(0));
    EXPECT_TRUE(B.Basic_IsBarline(2));
    EXPECT_TRUE(B.Basic_IsMeter(3));
    EXPECT_TRUE(B.Basic_IsText(5));
    EXPECT_TRUE(B.Basic_IsAccompMarker_Start(6));
    EXPECT_TRUE(B.Basic_IsAccompMarker_End(8));
    EXPECT_TRUE(B.Basic_IsReturn(10));
    for (int32_t I = 0; I < B.Basic_GetCount(); ++I) {
        const TNuo4Symbol* S = B.Basic_GetSymbol(I);
        EXPECT_EQ(S->CalcInfo.SymbolBufferIndex, TrecNuo4SymbolBufferIndex::Create(sbtBasic, I));
        EXPECT_EQ(S->CalcInfo.SymbolABCTextInfo.aType, spwabtSectionVoice);
        EXPECT_EQ(S->CalcInfo.SymbolABCTextInfo.VoiceBufIndex(), I);
    }
    EXPECT_FALSE(RectIsEmpty(B.Basic_GetSymbol(0)->CalcInfo.Bounds_Self.Layout));
    const TNuo4DocInfo D = B.GetDocInfo();
    EXPECT_EQ(D.BasicSymbolCount, 11);
    EXPECT_EQ(D.NoteCount, 4);
    EXPECT_EQ(D.BarlineCount, 2);
    EXPECT_EQ(D.MeterCount, 1);
    EXPECT_EQ(D.TextCount, 1);
    EXPECT_EQ(D.AccompMarkerCount, 2);
    EXPECT_EQ(D.ReturnCount, 1);
    EXPECT_EQ(D.MeasureCount, 2);
}

TEST_F(SimpleBuffer, AccessorsAnswerNothingOutsideTheirBuffers) {
    auto& B = Build(u"1 2");
    EXPECT_EQ(B.Basic_GetSymbol(-1), nullptr);
    EXPECT_EQ(B.Basic_GetSymbol(2), nullptr);
    EXPECT_EQ(B.Basic_GetSymbolType(7), sbstNone);
    EXPECT_FALSE(B.Basic_IsNote(2));
    EXPECT_FALSE(B.Basic_CheckIndex(TKoRange(1, 2)));
    EXPECT_TRUE(B.Basic_CheckIndex(TKoRange(0, 2)));
    EXPECT_EQ(B.Attach_GetSymbol(0), nullptr);
    EXPECT_EQ(B.Attach_GetBasicIndex(0), -1);
    EXPECT_EQ(B.PageBuffer_GetSymbol(0), nullptr);
    EXPECT_EQ(B.GetMeasureIndex_FromBasicIndex(9), -1);
}

// Searches read the kinds and owners kept beside the symbols: they must agree with the symbols
// of every buffer, lyrics, arcs and articulations included, and go with them when cleared.
TEST_F(SimpleBuffer, KindsAndOwnersBesideTheSymbolsAgreeWithThem) {
    auto& B = Build(u"{DunYin}1 (2 3) | 3/4 4_ 5_ ( 6 ) || $ 7", u"",
                    u".Words\rW1: la la la la la la\rW2: a b c\r");
    ASSERT_GT(B.Attach_GetCount(), 8);
    int32_t Lyrics = 0, Arcs = 0, Articulations = 0;
    for (int32_t I = 0; I < B.Basic_GetCount(); ++I)
        EXPECT_EQ(B.Basic_GetSymbolType(I), B.Basic_GetSymbol(I)->GetSymbolType()) << I;
    for (int32_t A = 0; A < B.Attach_GetCount(); ++A) {
        const TNuo4Symbol* S = B.Attach_GetSymbol(A);
        EXPECT_EQ(B.Attach_GetSymbolType(A), S->GetSymbolType()) << A;
        EXPECT_EQ(B.Attach_GetBasicIndex(A), S->AttachInfo().SourceIndex) << A;
        Lyrics += B.Attach_IsLyric(A);
        Arcs += B.Attach_IsArc(A);
        Articulations += B.Attach_IsArticulation(A);
    }
    EXPECT_GE(Lyrics, 6);
    EXPECT_GE(Arcs, 1);
    EXPECT_EQ(Articulations, 1);
    B.Basic_Clear();
    B.Attach_Clear();
    EXPECT_EQ(B.Basic_GetSymbolType(0), sbstNone);
    EXPECT_EQ(B.Attach_GetSymbolType(0), sbstNone);
    EXPECT_EQ(B.Attach_GetBasicIndex(0), -1);
}

TEST_F(SimpleBuffer, EmptyVoiceBuildsNoMeasures) {
    auto& B = Build(u"");
    EXPECT_EQ(B.Basic_GetCount(), 0);
    EXPECT_EQ(B.GetMeasureCount(), 0);
    EXPECT_EQ(B.GetDocInfo().MeasureCount, 0);
    // Without title the first line starts at the top margin plus the title gap (1.0 x 3 mm).
    EXPECT_FLOAT_EQ(B.FirstLineTop_Min, 23.0f);
    EXPECT_FALSE(B.bWithTitleBlock);
}

TEST_F(SimpleBuffer, BuildRecordsItsTimingMarksInOrder) {
    // Only the latest build's marks are kept: an earlier build leaves none behind.
    Build(u"1 2");
    Build(u"1 2 3");
    const auto& Marks = Nuo4FineTimer().Marks(0);
    ASSERT_GE(Marks.size(), 11u);
    EXPECT_EQ(Marks.front().Hint, "Enter-SimBuf.Process");
    EXPECT_EQ(Marks.back().Hint, "Exit-SimBuf.Process");
    std::vector<std::string> Main;
    for (const auto& M : Marks)
        if (M.Hint.find("SimBuf.Process") != std::string::npos) Main.push_back(M.Hint);
    ASSERT_EQ(Main.size(), 11u);
    for (int I = 0; I < 11; ++I) EXPECT_EQ(Main[I], Nuo4SimBufProcessMarks[I]);
    const std::string Text = Nuo4FineTimer().ToText(0);
    EXPECT_NE(Text.find("Enter-SimBuf.CreateAndAddBasicSymbols"), std::string::npos);
}

// ---- Arcs and durations -----------------------------------------------------------------------

TEST_F(SimpleBuffer, TripletOfEighthsGivesOneThirdEach) {
    auto& B = Build(u"{(3}1_2_3_) 4");
    ASSERT_EQ(B.ArcInfoArray.size(), 1u);
    EXPECT_EQ(B.ArcInfoArray[0].BasicIndexRange, TKoRange(0, 3));
    EXPECT_EQ(B.ArcInfoArray[0].ABCInfo.TupletNumber, 3);
    EXPECT_FALSE(B.ArcInfoArray[0].bTie);
    for (int I = 0; I < 3; ++I) EXPECT_NEAR(B.Basic_GetSymbol(I)->GetDV(), 1.0 / 3, 1e-6);
    EXPECT_EQ(B.Basic_GetSymbol(3)->GetDV(), 1.0f);
    EXPECT_TRUE(B.Basic_GetSymbol(2)->BasicInfo().DV.bAtFullBeat_After);
    EXPECT_TRUE(B.Basic_GetSymbol(0)->BasicInfo().Arc.Contains(aptStart));
    EXPECT_TRUE(B.Basic_GetSymbol(1)->BasicInfo().Arc.Contains(aptPass));
    EXPECT_TRUE(B.Basic_GetSymbol(2)->BasicInfo().Arc.Contains(aptEnd));
    EXPECT_TRUE(B.Basic_GetSymbol(3)->BasicInfo().Arc.IsEmpty());
}

TEST_F(SimpleBuffer, NestedArcMarksTakeTheirInfoByDepth) {
    // The inner (last written) mark is the triplet; the outer one a plain slur.
    auto& B = Build(u"({(3}1_2_3_) 4)");
    ASSERT_EQ(B.ArcInfoArray.size(), 2u);
    EXPECT_EQ(B.ArcInfoArray[0].BasicIndexRange, TKoRange(0, 3));
    EXPECT_EQ(B.ArcInfoArray[0].ABCInfo.TupletNumber, 3);
    EXPECT_EQ(B.ArcInfoArray[1].BasicIndexRange, TKoRange(0, 4));
    EXPECT_EQ(B.ArcInfoArray[1].ABCInfo.TupletNumber, 0);
    EXPECT_EQ(B.ArcInfoArray[1].Depth_Start, 1);
    EXPECT_NEAR(B.Basic_GetSymbol(1)->GetDV(), 1.0 / 3, 1e-6);
}

TEST_F(SimpleBuffer, TieJoinsEqualPitchesWithNoNoteBetween) {
    auto& B = Build(u"(5 | 5) (5 6) (1 2 1)");
    ASSERT_EQ(B.ArcInfoArray.size(), 3u);
    EXPECT_TRUE(B.ArcInfoArray[0].bTie);
    EXPECT_FALSE(B.ArcInfoArray[1].bTie);
    EXPECT_FALSE(B.ArcInfoArray[2].bTie);
}

// ---- Measures and beats -----------------------------------------------------------------------

TEST_F(SimpleBuffer, SixEightFullBeatsFromTheTitleMeter) {
    auto& B = Build(u"1. 2_ 3 4. |", u"{1=C,6/8}");
    ASSERT_EQ(B.GetMeasureCount(), 1);
    EXPECT_EQ(B.MeasureInfoArray[0].Meter, TrecNuo4Meter::Create(6, 8));
    EXPECT_FLOAT_EQ(B.MeasureInfoArray[0].DVSum, 4.5f);
    const auto DV = [&](int32_t I) { return B.Basic_GetSymbol(I)->BasicInfo().DV; };
    EXPECT_TRUE(DV(0).bAtFullBeat_Before);  // 0
    EXPECT_TRUE(DV(0).bAtFullBeat_After);   // 1.5
    EXPECT_FALSE(DV(1).bAtFullBeat_After);  // 2
    EXPECT_TRUE(DV(2).bAtFullBeat_After);   // 3
    EXPECT_TRUE(DV(3).bAtFullBeat_After);   // 4.5
    EXPECT_FLOAT_EQ(DV(3).DVSumWithinMeasure_Before, 3.0f);
    // In 4/4 the same 1.5 is no full beat.
    auto& B44 = Build(u"1. 2_ |", u"{1=C,4/4}");
    EXPECT_FALSE(B44.Basic_GetSymbol(0)->BasicInfo().DV.bAtFullBeat_After);
    EXPECT_TRUE(B44.Basic_GetSymbol(1)->BasicInfo().DV.bAtFullBeat_After);
}

TEST_F(SimpleBuffer, MeasuresOfBarlinesAndReturns) {
    auto& B = Build(u"| 1 2 || 3 | $ 4");
    // "|" opens measure 0; "||" closes it; "|" closes the next; the return belongs to none.
    ASSERT_EQ(B.GetMeasureCount(), 3);
    EXPECT_EQ(B.MeasureInfoArray[0].BasicIndexRange, TKoRange(0, 4));
    EXPECT_EQ(B.MeasureInfoArray[1].BasicIndexRange, TKoRange(4, 2));
    EXPECT_EQ(B.MeasureInfoArray[2].BasicIndexRange, TKoRange(7, 1));
    EXPECT_EQ(B.GetMeasureIndex_FromBasicIndex(6), -1);
    EXPECT_EQ(B.GetMeasureIndex_FromBasicIndex(5), 1);
    EXPECT_EQ(B.GetMeasureIndex_FromBasicIndex(7), 2);
}

// ---- MIDI notes -----------------------------------------------------------------------------

TEST_F(SimpleBuffer, AccidentalsCarryWithinTheMeasureOnly) {
    auto& B = Build(u"#1 1 1g | 1 #2 #b2 2", u"{1=C,4/4}");
    EXPECT_EQ(Midi(B, 0), std::vector<uint8_t>{61});
    EXPECT_EQ(Midi(B, 1), std::vector<uint8_t>{61});
    EXPECT_EQ(Midi(B, 2), std::vector<uint8_t>{72});  // another octave
    EXPECT_EQ(Midi(B, 4), std::vector<uint8_t>{60});  // cleared at the bar line
    EXPECT_EQ(Midi(B, 5), std::vector<uint8_t>{63});
    EXPECT_EQ(Midi(B, 6), std::vector<uint8_t>{62});
    EXPECT_EQ(Midi(B, 7), std::vector<uint8_t>{62});  // the natural cancelled it
}

TEST_F(SimpleBuffer, TitleKeyTransposesAndRestsStayZero) {
    auto& B = Build(u"1 0 [135] 6", u"{1=D,4/4}");
    EXPECT_EQ(Midi(B, 0), std::vector<uint8_t>{62});
    EXPECT_EQ(B.Basic_GetSymbol(0)->BasicInfo().Key, 2);
    EXPECT_EQ(Midi(B, 1), std::vector<uint8_t>{0});
    EXPECT_EQ(Midi(B, 2), (std::vector<uint8_t>{62, 66, 69}));
    EXPECT_EQ(Midi(B, 3), std::vector<uint8_t>{71});
    // A key below C is folded into 0 ... 11 in the note's information.
    auto& B2 = Build(u"1", u"{1=bB,4/4}");
    EXPECT_EQ(Midi(B2, 0), std::vector<uint8_t>{58});
    EXPECT_EQ(B2.Basic_GetSymbol(0)->BasicInfo().Key, 10);
}

TEST(KeyChangeText, ReadsTheKeyOfAWrittenKeyChange) {
    int32_t Key = -1;
    EXPECT_TRUE(Nuo4AttachTextKeyChange(u"\u8F6C{1=F}", Key));
    EXPECT_EQ(Key, 5);
    EXPECT_TRUE(Nuo4AttachTextKeyChange(u"\u8F6C{3/4}{1=G}", Key));
    EXPECT_EQ(Key, 7);
    EXPECT_FALSE(Nuo4AttachTextKeyChange(u"{1=F}", Key));  // not a key change text
    EXPECT_FALSE(Nuo4AttachTextKeyChange(u"\u8F6C{1=F", Key));
    EXPECT_FALSE(Nuo4AttachTextKeyChange(u"", Key));
}

// ---- Attach symbols ---------------------------------------------------------------------------

TEST_F(SimpleBuffer, ArticulationsStackUpwardFromTheDigits) {
    auto& B = Build(u"{DunYin,ZhongYin}5 1");
    const auto& G = B.Basic_GetSymbol(0)->BasicInfo().AttachmentsInfo.Articulations.Get();
    ASSERT_EQ(G.AttachIndexArray.size(), 2u);
    TNuo4Symbol* A0 = B.Attach_GetSymbol(G.AttachIndexArray[0]);
    const TNuo4Symbol* A1 = B.Attach_GetSymbol(G.AttachIndexArray[1]);
    ASSERT_TRUE(A0 && A1);
    EXPECT_TRUE(B.Attach_IsArticulation(G.AttachIndexArray[0]));
    EXPECT_EQ(B.Attach_GetBasicIndex(G.AttachIndexArray[1]), 0);
    const double Y0 = A0->AttachInfo().AttachPos.y();
    const double Y1 = A1->AttachInfo().AttachPos.y();
    // Digit top -3 (H 3 above the reference line) - 0.3 x 3; then up by the first's height
    // and 0.9 more.
    EXPECT_NEAR(Y0, -3.0 - 0.9, 0.05);
    EXPECT_NEAR(Y1, Y0 - A0->BlackBox().height() - 0.9, 1e-4);
    EXPECT_EQ(B.GetDocInfo().ArticulationCount, 2);
    // The owner's total box reaches up to the articulations.
    EXPECT_LT(B.Basic_GetSymbol(0)->BasicInfo().Bounds_Total.Black.top(),
              B.Basic_GetSymbol(0)->CalcInfo.Bounds_Self.Black.top());
}

TEST_F(SimpleBuffer, AttachmentsLieOnThePageOfTheirOwner) {
    std::u16string Voice, Words = u".Words\rW1:";
    for (int L = 0; L < 60; ++L) {
        Voice += u"1 2 3 4 | 5 6 7 1 | $\r";
        Words += u" 甲 乙 丙 丁 戊 己 庚 辛";
    }
    auto& B = Build(Voice, u"", Words + u"\r");
    ASSERT_GE(B.PageInfoArray.size(), 3u);
    ASSERT_GT(B.Attach_GetCount(), 400);
    int32_t LastPage = 0;
    for (int32_t A = 0; A < B.Attach_GetCount(); ++A) {
        int32_t Expected = -1;
        for (int32_t P = 0; P < int32_t(B.PageInfoArray.size()); ++P)
            if (B.PageInfoArray[P].BasicIndexRange.Contains(B.Attach_GetBasicIndex(A)))
                Expected = P;
        EXPECT_EQ(B.Attach_GetPageIndex(A), Expected) << "attachment " << A;
        LastPage = std::max(LastPage, B.Attach_GetPageIndex(A));
    }
    EXPECT_EQ(LastPage, int32_t(B.PageInfoArray.size()) - 1);
    EXPECT_EQ(B.Attach_GetPageIndex(-1), -1);
}

TEST_F(SimpleBuffer, AttachAddItemRefusesItemsWithoutSymbolOrOwner) {
    auto& B = Build(u"1 2");
    TrecNuo4AttachBufferItem NoSymbol;
    NoSymbol.SourceIndex = 0;
    EXPECT_EQ(B.Attach_AddItem(std::move(NoSymbol)), -1);
    TrecNuo4AttachBufferItem BadOwner;
    BadOwner.Symbol = std::make_unique<TNuo4SymbolBarline>();
    BadOwner.SourceIndex = 5;
    EXPECT_EQ(B.Attach_AddItem(std::move(BadOwner)), -1);
    EXPECT_EQ(B.Attach_GetCount(), 0);
}

TEST_F(SimpleBuffer, HiddenNoteHidesItsArticulations) {
    auto& B = Build(u"{DunYin}5{C:0,None} 1");
    ASSERT_TRUE(B.Basic_GetSymbol(0)->Hided());
    const auto& G = B.Basic_GetSymbol(0)->BasicInfo().AttachmentsInfo.Articulations.Get();
    ASSERT_EQ(G.AttachIndexArray.size(), 1u);
    EXPECT_TRUE(B.Attach_GetSymbol(G.AttachIndexArray[0])->Hided());
}

// ---- Accompaniment ----------------------------------------------------------------------------

TEST_F(SimpleBuffer, AccompanimentPassagesTakeTheAccompanimentSubStyle) {
    auto& B = Build(u"1 ( ( 2 3 ) 4 ) 5");
    // The second start replaces the first; the stray end is ignored.
    ASSERT_EQ(B.AccompMarkerRangeArray.size(), 1u);
    EXPECT_EQ(B.AccompMarkerRangeArray[0], TKoRange::FromStartEnd(2, 5));
    const TNuo4NoteSubStyle Sub = Nuo4DocOptions().Param_Accomp.NoteSubStyle;
    EXPECT_EQ(B.Basic_GetSymbol(3)->SubStyle(), Sub);
    EXPECT_EQ(B.Basic_GetSymbol(0)->SubStyle(), nssNormal);
    EXPECT_EQ(B.Basic_GetSymbol(6)->SubStyle(), nssNormal);
}

// ---- Horizontal locations -----------------------------------------------------------------

TEST_F(SimpleBuffer, HorizontalLocationsNameBasicSymbols) {
    auto& B = Build(u"| 1 2 | 3 4 |");
    TrecNuo4HorzLocation L;
    L.aType = hltAbsLocate_BarlineAndNote;
    L.AbsLocate_BarlineAndNote_BarlinePos = 1;
    L.AbsLocate_BarlineAndNote_NotePos = 1;
    EXPECT_EQ(B.GetBasicIndexFromHorzLocation(L, 0), 5);
    L.AbsLocate_BarlineAndNote_NotePos = 5;  // runs out of notes
    EXPECT_EQ(B.GetBasicIndexFromHorzLocation(L, 0), -1);
    L.aType = hltAbsLocate_Barline;
    L.AbsLocate_Barline_MeasurePos = 0;
    L.AbsLocate_Barline_bLeft = true;
    EXPECT_EQ(B.GetBasicIndexFromHorzLocation(L, 0), 0);
    L.AbsLocate_Barline_bLeft = false;
    EXPECT_EQ(B.GetBasicIndexFromHorzLocation(L, 0), 3);
    L.aType = hltRelLocate_BarlineAndNote;
    L.RelLocate_BarlineAndNote_BarlinesCount = 0;
    L.RelLocate_BarlineAndNote_NotesCount = 0;
    EXPECT_EQ(B.GetBasicIndexFromHorzLocation(L, 1), 2);  // a note skips itself
    EXPECT_EQ(B.GetBasicIndexFromHorzLocation(L, 3), 4);  // a bar line does not
    L.RelLocate_BarlineAndNote_BarlinesCount = 1;
    EXPECT_EQ(B.GetBasicIndexFromHorzLocation(L, 1), 4);
    L.aType = hltNone;
    EXPECT_EQ(B.GetBasicIndexFromHorzLocation(L, 1), -1);
}

// ---- Advance widths -------------------------------------------------------------------------

TEST_F(SimpleBuffer, QuarterFollowedByQuarterGetsItsDurationCoefficient) {
    auto& B = Build(u"1 2 3 4 |");
    const TNuo4Symbol* S = B.Basic_GetSymbol(0);
    const auto Info = B.GetHorzSpacingInfoForGetAW(0);
    EXPECT_TRUE(Info.bAtFullBeat());
    const double N = Info.GetAWCoefForNoGap();
    EXPECT_NEAR(S->AWCoef(), std::max(2.987, N + 1.0), 0.001);
    // The next reference point lies AW further right.
    // (Lines move to the page afterwards, so this holds between the two reference points.)
    EXPECT_NEAR(B.Basic_GetSymbol(1)->Pos().x() - S->Pos().x(), S->AW(), 1e-4);
    EXPECT_NEAR(S->AW(), S->AWCoef() * 2.4, 1e-4);
}

TEST_F(SimpleBuffer, LockedCoefficientIsKeptAndNeighboursStayAutomatic) {
    auto& B = Build(u"1{C:1.200} 2 3");
    EXPECT_TRUE(B.Basic_GetSymbol(0)->AWCoefIsLocked());
    EXPECT_FLOAT_EQ(B.Basic_GetSymbol(0)->AWCoef(), 1.2f);
    EXPECT_FALSE(B.Basic_GetSymbol(1)->AWCoefIsLocked());
    EXPECT_NEAR(B.Basic_GetSymbol(1)->AWCoef(), 2.987, 0.001);
}

TEST_F(SimpleBuffer, OwnBoxesFollowTheDashesSpreadByTheAdvanceWidth) {
    auto& B = Build(u"1-- 2 3 |");
    TNuo4Symbol* S = B.Basic_GetSymbol(0);
    EXPECT_FALSE(S->NeedUpdate());
    EXPECT_EQ(S->CalcInfo.Bounds_Self.Layout, S->Bounds());
    EXPECT_EQ(S->CalcInfo.Bounds_Self.Black,
              TGPRectF32(S->BlackBox()));  // kept in single precision
    EXPECT_GE(S->BasicInfo().Bounds_Total.Layout.right(), S->Bounds().right());
}

TEST_F(SimpleBuffer, LastNoteBeforeAReturnGetsNoGap) {
    auto& B = Build(u"1 2 $ 3");
    const TNuo4Symbol* S = B.Basic_GetSymbol(1);
    EXPECT_NEAR(S->AWCoef(), std::max(2.987, S->RightWidth() / 2.4), 0.001);
    EXPECT_EQ(B.Basic_GetSymbol(2)->AWCoef(), 0);  // the return itself
}

TEST_F(SimpleBuffer, AccompanimentEndMarkerTakesTheSpaceOfTheNoteBeforeIt) {
    auto& B = Build(u"( 1 2 ) 3");
    const TNuo4Symbol* Note = B.Basic_GetSymbol(2);
    const TNuo4Symbol* Marker = B.Basic_GetSymbol(3);
    const double W = Note->DigitSize().width();
    EXPECT_NEAR(Note->AWCoef(), Note->RightWidth() / W + 0.5, 1e-4);
    // The note alone would have had its quarter coefficient; the marker got the rest.
    EXPECT_NEAR(Note->AWCoef() + Marker->AWCoef() + 0.5, B._AutoGetAWCoef(2) + B._AutoGetAWCoef(3),
                1e-3);
    // An end marker that closes no passage leaves the note before it alone, and every passage
    // after it still gives its end marker the room of its last note.
    auto& B2 = Build(u"1 2 ) 3 ( 4 5 ) 6 7 ) 1 ( 2 3 ) 4");
    EXPECT_NEAR(B2.Basic_GetSymbol(1)->AWCoef(), B2._AutoGetAWCoef(1), 1e-5);
    EXPECT_NEAR(B2.Basic_GetSymbol(9)->AWCoef(), B2._AutoGetAWCoef(9), 1e-5);
    for (const int32_t End : {7, 15}) {
        ASSERT_TRUE(B2.Basic_IsAccompMarker_End(End)) << End;
        const TNuo4Symbol* Before = B2.Basic_GetSymbol(End - 1);
        EXPECT_NEAR(Before->AWCoef(), Before->RightWidth() / Before->DigitSize().width() + 0.5,
                    1e-4)
            << End;
    }
}

// ---- Justification ----------------------------------------------------------------------------

namespace {

// One paragraph of one line over the whole buffer, closed by the return at its end.
void OneJustifiedLine(TNuo4SimpleBuffer& B, bool bJustify) {
    const int32_t N = B.Basic_GetCount();
    TrecNuo4LineInfoItem Line;
    Line.BasicIndexRange = TKoRange(0, N);
    Line.MeasureIndexRange = TKoRange(0, B.GetMeasureCount());
    Line.bWithReturn = B.Basic_IsReturn(N - 1);
    B.LineInfoArray = {Line};
    TrecNuo4ParagraphInfoItem Par;
    Par.BasicIndexRange = TKoRange(0, N);
    Par.LineIndexRange = TKoRange(0, 1);
    Par.Options.bJustifyHorz = bJustify;
    B.ParagraphInfoArray = {Par};
}

double LineWidth(TNuo4SimpleBuffer& B) {
    const TKoRange R = B.LineInfoArray[0].GetBasicIndexRangeExcludeReturn();
    return B._GetTotalWidth_Range(R, 0);
}

}  // namespace

TEST_F(SimpleBuffer, JustifiedLineReachesTheLayoutWidth) {
    auto& B = Build(u"1 2 3 4 | 5 6 7 1g | 1 2 3 4 | 5 6 7 1g | 1 2 3 4 | $");
    OneJustifiedLine(B, true);
    const double Before = LineWidth(B);
    ASSERT_LT(Before, 170);
    ASSERT_GT(170 / Before, 1.0);
    B.AdjustAWCoefToFitLayoutWidth();
    EXPECT_NEAR(LineWidth(B), 170, 1e-3);
}

TEST_F(SimpleBuffer, JustificationLeavesLinesThatNeedMoreThanTheMaximumStretch) {
    auto& B = Build(u"1 2 | $");
    OneJustifiedLine(B, true);
    const double Before = LineWidth(B);
    ASSERT_GT(170 / Before, 3.0);
    B.AdjustAWCoefToFitLayoutWidth();
    EXPECT_NEAR(LineWidth(B), Before, 1e-6);
    // With a larger maximum the same line is stretched.
    Nuo4DocOptions().Param_FitFactor.MaxFactorForFitWidth = 100;
    B.AdjustAWCoefToFitLayoutWidth();
    EXPECT_NEAR(LineWidth(B), 170, 1e-3);
}

TEST_F(SimpleBuffer, JustificationSkipsTheLastLineWhenAsked) {
    auto& B = Build(u"1 2 3 4 | 5 6 7 1g | 1 2 3 4 | $");
    OneJustifiedLine(B, true);
    const double Before = LineWidth(B);
    Nuo4DocOptions().Param_FitFactor.bFitWidthForLastLine = false;
    B.AdjustAWCoefToFitLayoutWidth();
    EXPECT_NEAR(LineWidth(B), Before, 1e-6);
    // A paragraph that is not justified is never stretched.
    Nuo4DocOptions().Param_FitFactor.bFitWidthForLastLine = true;
    OneJustifiedLine(B, false);
    B.AdjustAWCoefToFitLayoutWidth();
    EXPECT_NEAR(LineWidth(B), Before, 1e-6);
}

TEST_F(SimpleBuffer, SingleSymbolLineFillsTheLayoutWidth) {
    auto& B = Build(u"1 $");
    OneJustifiedLine(B, true);
    B.AdjustAWCoefToFitLayoutWidth();
    const TNuo4Symbol* S = B.Basic_GetSymbol(0);
    EXPECT_NEAR(S->AW(), 170 - S->LeftWidth(), 1e-3);
}

TEST_F(SimpleBuffer, LockedSymbolsStayFixedWhenTheyAreNotIgnored) {
    auto& B = Build(u"1{C:2.000} 2 3 4 | 5 6 7 1g | 1 2 3 4 | $");
    Nuo4DocOptions().HorzSpacing_IgnoreLockedAWCoef = false;
    OneJustifiedLine(B, true);
    B.AdjustAWCoefToFitLayoutWidth();
    EXPECT_FLOAT_EQ(B.Basic_GetSymbol(0)->AWCoef(), 2.0f);
    EXPECT_NEAR(LineWidth(B), 170, 1e-3);
}
