// The layout steps that run in one walk over a long score (justification with the update and
// placement of the symbols, line by line; the two moves of the lines onto their pages; the total
// bounds and the lyric spacing inside the automatic spacing; the total bounds inside the line
// bounds) leave every number exactly as the steps run one after another do: on the demo songs, and
// on line and paragraph arrangements that the line walk must not take as they are.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "format/doc_options.h"
#include "format/score_file.h"
#include "layout/simple_buffer.h"
#include "render/music_font.h"
#include "render/note_style.h"

using namespace nuo4;

namespace {

enum TArrangement {
    arOwn,            // the lines and paragraphs of the build, every paragraph justified
    arCallsReversed,  // the paragraphs listed backwards: their lines come out of order
    arLinesOverlap,   // the second line starts on the last symbol of the first
};

struct TWalkCase {
    const char* Song;
    TArrangement Arrangement;
};

std::string CaseName(const ::testing::TestParamInfo<TWalkCase>& AInfo) {
    static const char* const Names[] = {"Own", "CallsReversed", "LinesOverlap"};
    return std::string(AInfo.param.Song) + Names[AInfo.param.Arrangement];
}

void AddRect(std::vector<double>& AOut, const TGPRectF& R) {
    AOut.insert(AOut.end(), {R.x(), R.y(), R.width(), R.height()});
}

void AddBounds(std::vector<double>& AOut, const TrecNuo4CalcInfo_BoundsInfo& B) {
    AddRect(AOut, B.Black);
    AddRect(AOut, B.Layout);
}

// Every number the steps write, per symbol, line and page; compared exactly.
std::vector<double> Numbers(TNuo4SimpleBuffer& B) {
    std::vector<double> R;
    for (int32_t I = 0; I < B.Basic_GetCount(); ++I) {
        TNuo4Symbol* S = B.Basic_GetSymbol(I);
        R.insert(R.end(), {S->Pos().x(), S->Pos().y(), double(S->AWCoef()),
                           double(S->BasicInfo().ExtraBoundsForLyric_Left), double(S->NeedUpdate()),
                           double(S->ElementsCount())});
        AddBounds(R, S->CalcInfo.Bounds_Self);
        AddBounds(R, S->BasicInfo().Bounds_Total);
        AddRect(R, S->BlackBox());
    }
    for (const TrecNuo4LineInfoItem& L : B.LineInfoArray) {
        AddBounds(R, L.Bounds);
        R.push_back(L.BaselineY);
    }
    for (const TrecNuo4PageInfoItem& P : B.PageInfoArray) AddBounds(R, P.Bounds);
    return R;
}

class LayoutWalks : public ::testing::TestWithParam<TWalkCase> {
  protected:
    void SetUp() override {
        Nuo4Render_Init();
        std::u16string Text;
        std::string Error;
        ASSERT_TRUE(ReadScoreFile(
            std::string(NUO4_SOURCE_DIR "/resources/demo/") + GetParam().Song + ".nuoabc", Text,
            Error));
        // Two builds of one text are equal; each then runs one way.
        for (int K = 0; K < 2; ++K) {
            FABC[K] = std::make_unique<TNuo4ABCBuffer>(Text);
            FBuf[K] = std::make_unique<TNuo4SimpleBuffer>(FABC[K].get());
            Arrange(*FBuf[K]);
        }
        ASSERT_GE(A().LineInfoArray.size(), 3u);
    }
    void TearDown() override {
        Nuo4DocOptions().SetToDefault();
        RebuildAll(Nuo4DocOptions());
    }
    TNuo4SimpleBuffer& A() { return *FBuf[0]; }
    TNuo4SimpleBuffer& B() { return *FBuf[1]; }

  private:
    void Arrange(TNuo4SimpleBuffer& AB) {
        for (TrecNuo4ParagraphInfoItem& P : AB.ParagraphInfoArray) P.Options.bJustifyHorz = true;
        if (GetParam().Arrangement == arCallsReversed) {
            // One paragraph over all lines, listed after one over the last two.
            TrecNuo4ParagraphInfoItem Last = AB.ParagraphInfoArray.back();
            TrecNuo4ParagraphInfoItem All = Last;
            const int32_t Lines = int32_t(AB.LineInfoArray.size());
            Last.LineIndexRange = TKoRange(Lines - 2, 2);
            All.LineIndexRange = TKoRange(0, Lines);
            AB.ParagraphInfoArray = {Last, All};
        }
        if (GetParam().Arrangement == arLinesOverlap) {
            TKoRange& Second = AB.LineInfoArray[1].BasicIndexRange;
            Second = TKoRange(Second.StartIndex - 1, Second.Length + 1);
        }
    }

    std::unique_ptr<TNuo4ABCBuffer> FABC[2];
    std::unique_ptr<TNuo4SimpleBuffer> FBuf[2];
};

TEST_P(LayoutWalks, JustificationUpdateAndPlacementByLineEqualThePasses) {
    // Spacing anew, so that justification has lines to stretch and symbols to update.
    A().AutoSetAWCoef();
    B().AutoSetAWCoef();
    const std::vector<double> Unstretched = Numbers(A());
    A().AdjustAWCoefToFitLayoutWidth();
    A().UpdateAllBasicSymbols();
    A().UpdateAllBasicSymbolsHorzPosFromAW(TGPPointF(0, 0));
    B().JustifyUpdateAndPlaceByLine(TGPPointF(0, 0));
    EXPECT_NE(Numbers(A()), Unstretched);
    EXPECT_EQ(Numbers(B()), Numbers(A()));
}

TEST_P(LayoutWalks, LinesMovedOntoPagesInOneWalkEqualTheTwoMoves) {
    A().SingleLineToSinglePage();
    A().GetPageRangeArray();
    A().GetPageInfoArray();
    A().SinglePageToMultiPage();
    const std::vector<TGPPointF> Offsets = B().SingleLineToSinglePage_Offsets();
    B().GetPageRangeArray();
    B().GetPageInfoArray();
    B().MoveLinesOntoPages(Offsets, B().SinglePageToMultiPage_Moves());
    EXPECT_EQ(Numbers(B()), Numbers(A()));
}

TEST_P(LayoutWalks, TotalBoundsAndLyricSpacingInsideOtherWalksEqualTheirOwnPasses) {
    // Lyrics wide enough to push their neighbours apart, and totals emptied: a walk that read a
    // total before taking it would space by nothing.
    for (TNuo4SimpleBuffer* X : {&A(), &B()})
        for (int32_t I = 0; I < X->Basic_GetCount(); ++I) {
            TNuo4Symbol* S = X->Basic_GetSymbol(I);
            if (S->WithLyric())
                S->MutBasicInfo().AttachmentsInfo.Lyrics.Mut().Bounds.Layout =
                    TGPRectF(-4, 4, 8, 3);
            S->MutBasicInfo().Bounds_Total.SetToEmpty();
        }
    A().UpdateAllBasicSymbolsBoundsTotal();
    A().AutoSetAWCoef();
    A().Lyric_CheckAllOcupy();
    B().UpdateBoundsTotal_AutoSetAWCoef_LyricOcupy();
    EXPECT_EQ(Numbers(B()), Numbers(A()));
    for (TNuo4SimpleBuffer* X : {&A(), &B()})
        for (int32_t I = 0; I < X->Basic_GetCount(); ++I)
            X->Basic_GetSymbol(I)->MutBasicInfo().Bounds_Total.SetToEmpty();
    A().UpdateAllBasicSymbolsBoundsTotal();
    A().LineInfoArray_GetBounds();
    B().UpdateAllBasicSymbolsBoundsTotal_LineBounds();
    EXPECT_EQ(Numbers(B()), Numbers(A()));
}

INSTANTIATE_TEST_SUITE_P(DemoSongs, LayoutWalks,
                         ::testing::Values(TWalkCase{"molihua", arOwn}, TWalkCase{"huanle", arOwn},
                                           TWalkCase{"liangzhilaohu", arOwn},
                                           TWalkCase{"molihua", arCallsReversed},
                                           TWalkCase{"molihua", arLinesOverlap}),
                         CaseName);

}  // namespace
