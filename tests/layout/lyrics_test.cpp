// Lyrics in the document: verses on their notes and lines, skip markers, locked lines,
// compound verses centred where they split, lyric spacing, the lyric rule and the joined
// extension underlines. Digit 2.4 x 3: the first lyric line is 0.3 x 3 = 0.9 below the
// lowest symbol of the line.
#include <gtest/gtest.h>

#include <memory>

#include "layout/buffer_lyrics.h"
#include "layout/simple_buffer.h"
#include "render/music_font.h"
#include "render/note_style.h"
#include "render/symbol_lyric.h"

using namespace nuo4;

namespace {

constexpr double Eps = 1e-4;

class DocumentLyrics : public ::testing::Test {
  protected:
    void SetUp() override {
        Nuo4Render_Init();
        MusicFont_ResetTextFonts();
    }
    void TearDown() override {
        Nuo4DocOptions().SetToDefault();
        RebuildAll(Nuo4DocOptions());
    }
    TNuo4SimpleBuffer& Build(const std::u16string& AText) {
        FABC = std::make_unique<TNuo4ABCBuffer>(AText);
        FBuf = std::make_unique<TNuo4SimpleBuffer>(FABC.get());
        return *FBuf;
    }
    // The lyrics of a verse as attach indexes, in verse order.
    std::vector<int32_t> VerseLyrics(int32_t AVerse) const {
        std::vector<int32_t> R;
        for (int32_t A = 0; A < FBuf->Attach_GetCount(); ++A)
            if (FBuf->Attach_IsLyric(A) &&
                FBuf->Attach_GetSymbol(A)->CalcInfo.SymbolABCTextInfo.LyricVerseBufIndex() ==
                    AVerse)
                R.push_back(A);
        return R;
    }
    std::vector<int32_t> Owners(int32_t AVerse) const {
        std::vector<int32_t> R;
        for (int32_t A : VerseLyrics(AVerse)) R.push_back(FBuf->Attach_GetBasicIndex(A));
        return R;
    }
    double OffsetY(int32_t A) const {
        return FBuf->Attach_GetSymbol(A)->AttachInfo().AttachPos.y();
    }
    static double Spacing() { return Lyric_GetLineSpacing(fuLyric, 1.0); }
    std::unique_ptr<TNuo4ABCBuffer> FABC;
    std::unique_ptr<TNuo4SimpleBuffer> FBuf;
};

}  // namespace

TEST_F(DocumentLyrics, VersesHangCentredUnderTheirNotesOneLinePerVerse) {
    auto& B = Build(u".Voice\r1 2 3 4 |\r.Words\rW1: 我 你 他\rW2: 甲 乙\r");
    EXPECT_EQ(Owners(0), (std::vector<int32_t>{0, 1, 2}));
    EXPECT_EQ(Owners(1), (std::vector<int32_t>{0, 1}));
    const auto& V0 = FABC->Section_Lyrics.VerseBuffer[0];
    EXPECT_EQ(V0.FromBasicIndex, 0);
    EXPECT_EQ(V0.AttachIndexRange, TKoRange(0, 3));
    EXPECT_EQ(FABC->Section_Lyrics.CalcInfo.TotalVerseCount, 2);

    const double First = B.LineInfoArray[0].VertOffset_FirstLyricLine;
    EXPECT_NEAR(First, 0.9 + B.LineInfoArray[0].VertOffset_BasicSymbol_Bottom, Eps);
    ASSERT_GT(Spacing(), 3.0);
    for (int32_t A : VerseLyrics(0)) EXPECT_NEAR(OffsetY(A), First, Eps);
    for (int32_t A : VerseLyrics(1)) EXPECT_NEAR(OffsetY(A), First + Spacing(), Eps);
    // On the page: centred on the note, its top on the lyric line.
    TNuo4Symbol* L = B.Attach_GetSymbol(1);
    const TNuo4Symbol* Note = B.Basic_GetSymbol(1);
    EXPECT_NEAR(L->Pos().x(), Note->Pos().x(), Eps);
    EXPECT_NEAR(L->Pos().y(), Note->Pos().y() + First, Eps);
    EXPECT_NEAR(L->BoundsWithPos().center().x(), Note->Pos().x(), Eps);
    // The note's lyric box moved with its lyrics and widens its total box downwards.
    EXPECT_GT(Note->GetLyricBounds().top(), First - 0.5);
    EXPECT_GE(Note->BasicInfo().Bounds_Total.Layout.bottom(), First + Spacing());
    // Only the first lyric of a verse is its start.
    EXPECT_TRUE(B.Attach_GetSymbol(0)->CalcInfo.bIsLyricVerseStart);
    EXPECT_FALSE(B.Attach_GetSymbol(1)->CalcInfo.bIsLyricVerseStart);
}

TEST_F(DocumentLyrics, LyricSymbolsReferToTheScannedLyricsWithoutACopy) {
    Build(u".Voice\r1 2 3 4 |\r.Words\rW1: 我 {(女)[你]} 他_\rW2: hel- lo\r");
    for (int32_t V = 0; V < 2; ++V) {
        const auto& Lyrics = FABC->Section_Lyrics.VerseBuffer[V].LyricsArray;
        const std::vector<int32_t> A = VerseLyrics(V);
        ASSERT_EQ(A.size(), Lyrics.size());
        for (size_t K = 0; K < A.size(); ++K) {
            const auto* L = dynamic_cast<const TNuo4SymbolLyric*>(FBuf->Attach_GetSymbol(A[K]));
            ASSERT_NE(L, nullptr);
            EXPECT_EQ(L->GetPureDataPtr(), &Lyrics[K].Text.Data) << V << " " << K;
        }
    }
}

TEST_F(DocumentLyrics, SkipMarkersBarLineLocationsAndLockedLines) {
    Build(
        u".Voice\r1 2 | 3 4 | 5 6 |\r.Words\rW1: 我/ 你| 他\rW2@1R: 甲 乙\r"
        u"W3(False,True,3.0)@2,2: 丙\r");
    // "/" passes one note, "|" starts at the first note of the next measure.
    EXPECT_EQ(Owners(0), (std::vector<int32_t>{0, 3, 6}));
    // A verse whose location is a bar line gets no lyrics.
    EXPECT_TRUE(VerseLyrics(1).empty());
    EXPECT_EQ(FABC->Section_Lyrics.VerseBuffer[1].FromBasicIndex, -1);
    // The locked verse takes line 3 (index 2), not its own number's line.
    ASSERT_EQ(Owners(2), (std::vector<int32_t>{4}));
    EXPECT_NEAR(OffsetY(VerseLyrics(2)[0]),
                FBuf->LineInfoArray[0].VertOffset_FirstLyricLine + 2 * Spacing(), Eps);
}

TEST_F(DocumentLyrics, CompoundVerseIsCentredWhereItSplits) {
    const std::u16string Voice = u".Voice\r1 2 3 4 | 5 6 7 1 |\r.Words\r";
    auto& B = Build(Voice + u"W1-2: 啊 啊 啊 啊\rW1@2,1: 甲 乙\rW2@2,1: 丙 丁\r");
    const double First = B.LineInfoArray[0].VertOffset_FirstLyricLine;
    ASSERT_EQ(Owners(0), (std::vector<int32_t>{0, 1, 2, 3}));
    for (int32_t A : VerseLyrics(0)) EXPECT_NEAR(OffsetY(A), First + Spacing() / 2, Eps);
    for (int32_t A : VerseLyrics(1)) EXPECT_NEAR(OffsetY(A), First, Eps);
    for (int32_t A : VerseLyrics(2)) EXPECT_NEAR(OffsetY(A), First + Spacing(), Eps);
    EXPECT_EQ(B.LineInfoArray[0].LyricVerseBufferIndex_RelocatedCompoundVerse_CompoundToSplit,
              (std::vector<int32_t>{0}));
    EXPECT_TRUE(
        B.LineInfoArray[0].LyricVerseBufferIndex_RelocatedCompoundVerse_SplitToCompound.empty());

    // Joining: separate verses first, the compound one after them.
    Build(Voice + u"W1: 甲 乙\rW2: 丙 丁\rW1-2@2,1: 啊 啊\r");
    for (int32_t A : VerseLyrics(2)) EXPECT_NEAR(OffsetY(A), First + Spacing() / 2, Eps);
    EXPECT_EQ(FBuf->LineInfoArray[0].LyricVerseBufferIndex_RelocatedCompoundVerse_SplitToCompound,
              (std::vector<int32_t>{2}));

    // A locked verse at the split keeps the compound verse on its own line.
    Build(Voice + u"W1-2: 啊 啊 啊 啊\rW1@2,1: 甲 乙\rW2(False,True,2.0)@2,1: 丙 丁\r");
    for (int32_t A : VerseLyrics(0)) EXPECT_NEAR(OffsetY(A), First, Eps);
    for (int32_t A : VerseLyrics(2)) EXPECT_NEAR(OffsetY(A), First + Spacing(), Eps);
    // So does a compound verse that locks its own line.
    Build(Voice + u"W1-2(False,True,1.0): 啊 啊 啊 啊\rW1@2,1: 甲 乙\rW2@2,1: 丙 丁\r");
    for (int32_t A : VerseLyrics(0)) EXPECT_NEAR(OffsetY(A), First, Eps);
}

TEST_F(DocumentLyrics, OverlappingLyricsPushTheLaterNoteByTheOverlapPlusTheGap) {
    // With the default gap of 0 the automatic advance already clears the lyrics.
    auto& B = Build(u".Voice\r1 2 3 4 |\r.Words\rW1: 我 你\r");
    const double Dw = 2.4;
    EXPECT_NEAR(B.Basic_GetSymbol(0)->AW(), B._AutoGetAWCoef(0) * Dw, Eps);
    // A lyric gap of 5 mm is more than the note gap: the second note moves right until the
    // lyrics' cells are exactly 5 apart. A closing "，" or "。" keeps its whole cell, though its
    // ink is a dot at the cell's left: "花，" and "好" stay two words.
    for (const char16_t* Words : {u"W1: 我 你\r", u"W1: 花， 好\r", u"W1: 花。 好\r"}) {
        auto& C = Build(
            u".Options\rLyric = True, 5.0, 1.0\r.Fonts\rLyric = 楷体, 4.20\r"
            u".Voice\r1 2 3 4 |\r.Words\r" +
            std::u16string(Words));
        const TNuo4Symbol* N0 = C.Basic_GetSymbol(0);
        const TNuo4Symbol* N1 = C.Basic_GetSymbol(1);
        auto* L0 = dynamic_cast<TNuo4SymbolLyric*>(C.Attach_GetSymbol(0));
        auto* L1 = dynamic_cast<TNuo4SymbolLyric*>(C.Attach_GetSymbol(1));
        ASSERT_TRUE(L0 && L1);
        const TGPRectF Cell0 = L0->Bounds().translated(L0->Pos());
        const TGPRectF Cell1 = L1->Bounds().translated(L1->Pos());
        const double Needed = N0->BasicInfo().AttachmentsInfo.Lyrics.Get().Bounds.Layout.right() -
                              N1->BasicInfo().AttachmentsInfo.Lyrics.Get().Bounds.Layout.left() +
                              5.0;
        EXPECT_GT(Needed, C._AutoGetAWCoef(0) * Dw + 0.1);
        EXPECT_NEAR(N0->AW(), Needed, 1e-3);
        EXPECT_NEAR(N1->Pos().x() - N0->Pos().x(), Needed, 1e-3);
        // On the page: the cells 5 apart, and the ink of the second word no nearer.
        EXPECT_NEAR(Cell1.left() - Cell0.right(), 5.0, 1e-3);
        EXPECT_GE(L1->BlackBoxWithPos().left() - Cell0.right(), 5.0 - 1e-3);
        // The punctuation's ink ends inside its (half-compressed) cell.
        if (std::u16string(Words).find(u'花') != std::u16string::npos)
            EXPECT_GT(Cell0.right() - L0->BlackBoxWithPos().right(), 0.1);
    }
}

TEST_F(DocumentLyrics, LyricRuleTakesTheOutermostSlurButNotTupletArcs) {
    // Slurs 0-1 and 0-5 start together, 3-4 inside; 6..8 a triplet; 9 the last note.
    auto& B = Build(u".Voice\r((1 2) 3 (4 5) 6) {(3}1_2_3_) 7\r.Words\rW1: 甲 乙 丙\r");
    EXPECT_EQ(FindNextLyricPos(B, 0).BasicIndex, 6);
    EXPECT_EQ(FindNextLyricPos(B, 0).NotesSkipped, 5);
    EXPECT_EQ(FindNextLyricPos(B, 1).BasicIndex, 2);
    EXPECT_EQ(FindNextLyricPos(B, 3).BasicIndex, 5);
    // A tuplet's arc holds no syllable: each of its notes takes its own.
    EXPECT_EQ(FindNextLyricPos(B, 6).BasicIndex, 7);
    EXPECT_EQ(FindNextLyricPos(B, 8).BasicIndex, 9);
}

TEST_F(DocumentLyrics, LyricRuleFollowsSlursAndSkipsRests) {
    // 0: 1, 1: (2, 2: 3), 3: rest, 4: 4, 5: bar line.
    auto& B = Build(u".Voice\r1 (2 3) 0 4 |\r.Words\rW1: 甲 乙 丙\r");
    const TrecNuo4NextLyricPos P0 = FindNextLyricPos(B, 0);
    EXPECT_EQ(P0.BasicIndex, 1);
    EXPECT_EQ(P0.NotesSkipped, 0);
    const TrecNuo4NextLyricPos P1 = FindNextLyricPos(B, 1);
    EXPECT_EQ(P1.BasicIndex, 4);
    EXPECT_EQ(P1.NotesSkipped, 2);
    EXPECT_EQ(FindNextLyricPos(B, 1, false).BasicIndex, 2);
    EXPECT_EQ(FindNextLyricPos(B, 2, true, false).BasicIndex, 3);
    EXPECT_FALSE(FindNextLyricPos(B, 4).IsValid());  // no note after it
    EXPECT_FALSE(FindNextLyricPos(B, 5).IsValid());  // not a note
    // 丙 sits on the second note of the slur instead of the note after the rest.
    ASSERT_EQ(Owners(0), (std::vector<int32_t>{0, 1, 2}));
    EXPECT_EQ(B.RulesCheckResult_ErrorArray_Lyric, (std::vector<int32_t>{2}));
    Build(u".Voice\r1 (2 3) 0 4 |\r.Words\rW1: 甲 乙// 丙\r");
    EXPECT_EQ(Owners(0), (std::vector<int32_t>{0, 1, 4}));
    EXPECT_TRUE(FBuf->RulesCheckResult_ErrorArray_Lyric.empty());
}

TEST_F(DocumentLyrics, ExtensionUnderlinesJoinWithinABeat) {
    auto Lines = [&](TNuo4SimpleBuffer& B) {
        return GetLyricUnderlineRects(B, B.LineInfoArray[0].BasicIndexRange);
    };
    auto Own = [&](TNuo4SimpleBuffer& B, int32_t A) {
        const auto* L = dynamic_cast<const TNuo4SymbolLyric*>(B.Attach_GetSymbol(A));
        return L->Underline_GetRectArray()[0].translated(L->Pos());
    };
    // Two eighths in one beat: one line from the first lyric to the second.
    auto& B = Build(u".Voice\r1_ 2_ 3 4 |\r.Words\rW1: {我_} {们_} 他\r");
    auto R = Lines(B);
    ASSERT_EQ(R.size(), 1u);
    EXPECT_NEAR(R[0].left(), Own(B, 0).left(), Eps);
    EXPECT_NEAR(R[0].right(), Own(B, 1).right(), Eps);
    EXPECT_NEAR(R[0].top(), Own(B, 0).top(), Eps);
    // The first quarter ends on a full beat: two separate lines.
    auto& C = Build(u".Voice\r1 2 3 4 |\r.Words\rW1: {我_} {们_} 他\r");
    R = Lines(C);
    ASSERT_EQ(R.size(), 2u);
    EXPECT_NEAR(R[0].right(), Own(C, 0).right(), Eps);
    EXPECT_NEAR(R[1].left(), Own(C, 1).left(), Eps);
}
