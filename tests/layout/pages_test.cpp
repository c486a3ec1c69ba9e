#include <gtest/gtest.h>

#include "layout/layout_pages.h"
#include "layout/layout_vertical.h"

namespace nuo4 {
namespace {

// Lines of one measure each, ALineHeight high, reference line 6 below the layout top; APara
// gives the paragraph of every line (lines of one paragraph are consecutive).
struct TDoc {
    TNuo4LineInfoArray Lines;
    TNuo4ParagraphInfoArray Paras;
};

TDoc MakeDoc(const std::vector<double>& AHeights, const std::vector<int>& APara,
             const std::vector<TrecNuo4SymbolReturnPrivateOptions>& AOptions = {}) {
    TDoc D;
    int32_t Measure = 0;
    for (size_t I = 0; I < AHeights.size(); ++I) {
        TrecNuo4LineInfoItem L;
        L.BasicIndexRange = TKoRange(static_cast<int32_t>(I) * 2, 2);
        L.MeasureIndexRange = AHeights[I] > 0 ? TKoRange(Measure++, 1) : TKoRange(Measure, 0);
        const double H = AHeights[I] > 0 ? AHeights[I] : 4;
        L.Bounds.Layout = L.Bounds.Black = TGPRectF(0, -6, 100, H);
        L.bWithReturn = I + 1 == AHeights.size() || APara[I + 1] != APara[I];
        D.Lines.push_back(L);
    }
    for (size_t I = 0; I < APara.size(); ++I) {
        if (D.Paras.size() <= static_cast<size_t>(APara[I])) {
            TrecNuo4ParagraphInfoItem P;
            P.LineIndexRange = TKoRange(static_cast<int32_t>(I), 0);
            if (static_cast<size_t>(APara[I]) < AOptions.size()) P.Options = AOptions[APara[I]];
            D.Paras.push_back(P);
        }
        ++D.Paras[APara[I]].LineIndexRange.Length;
    }
    return D;
}

// Baselines, then the move onto the endless page.
void Place(TDoc& D, double ATop, double AG) {
    LineInfoArray_GetBaselineY(D.Lines, D.Paras, ATop, AG);
    SingleLineToSinglePage(D.Lines, std::vector<double>(D.Lines.size(), 0), 20);
}

TEST(Baselines, FirstLayoutTopAtFirstLineTopAndGapsBetweenLayoutBoxes) {
    auto D = MakeDoc({10, 10, 10}, {0, 0, 0});
    Place(D, 30, 5);
    EXPECT_FLOAT_EQ(D.Lines[0].BaselineY, 36);
    EXPECT_DOUBLE_EQ(D.Lines[0].Bounds.Layout.top(), 30);
    // Free space between layout boxes is G.
    EXPECT_DOUBLE_EQ(D.Lines[1].Bounds.Layout.top() - D.Lines[0].Bounds.Layout.bottom(), 5);
    EXPECT_DOUBLE_EQ(D.Lines[2].Bounds.Layout.top() - D.Lines[1].Bounds.Layout.bottom(), 5);
    EXPECT_DOUBLE_EQ(D.Lines[0].Bounds.Layout.left(), 20);
}

TEST(Baselines, ParagraphGapScalesOnlyTheGapAfterItsLastLine) {
    TrecNuo4SymbolReturnPrivateOptions Wide;
    Wide.ParagraphGapCoef = 2;
    auto D = MakeDoc({10, 10, 10}, {0, 0, 1}, {Wide, {}});
    Place(D, 30, 5);
    EXPECT_DOUBLE_EQ(D.Lines[1].Bounds.Layout.top() - D.Lines[0].Bounds.Layout.bottom(), 5);
    EXPECT_DOUBLE_EQ(D.Lines[2].Bounds.Layout.top() - D.Lines[1].Bounds.Layout.bottom(), 10);
}

TEST(Baselines, GapsAboveAndBelowAnEmptyLineAreHalved) {
    // Line 1 is a lone return.
    auto D = MakeDoc({10, 0, 10}, {0, 1, 2});
    Place(D, 30, 6);
    EXPECT_DOUBLE_EQ(D.Lines[1].Bounds.Layout.top() - D.Lines[0].Bounds.Layout.bottom(), 3);
    EXPECT_DOUBLE_EQ(D.Lines[2].Bounds.Layout.top() - D.Lines[1].Bounds.Layout.bottom(), 3);
}

TEST(Baselines, IndentGapMovesTheLayoutBoxPastTheMargin) {
    auto D = MakeDoc({10}, {0});
    D.Lines[0].Bounds.Layout.moveLeft(-3);
    LineInfoArray_GetBaselineY(D.Lines, D.Paras, 30, 5);
    const auto Off = SingleLineToSinglePage(D.Lines, {7.5}, 20);
    EXPECT_DOUBLE_EQ(D.Lines[0].Bounds.Layout.left(), 27.5);
    EXPECT_DOUBLE_EQ(Off[0].x(), 30.5);
    EXPECT_DOUBLE_EQ(Off[0].y(), 36);
}

TEST(VertOffsets, LowestTopHighestBottomNeverBeyondZero) {
    TNuo4LineInfoArray Lines(2);
    Lines[0].BasicIndexRange = TKoRange(0, 2);
    Lines[1].BasicIndexRange = TKoRange(2, 1);
    const std::vector<TGPRectF> Own = {TGPRectF(0, -5, 2, 6), TGPRectF(0, -7, 2, 4),
                                       TGPRectF(0, 1, 2, 2)};
    LineInfoArray_GetVertOffsets(Lines, Own, 1.5, false);
    EXPECT_FLOAT_EQ(Lines[0].VertOffset_BasicSymbol_Top, -7);
    EXPECT_FLOAT_EQ(Lines[0].VertOffset_BasicSymbol_Bottom, 1);
    EXPECT_FLOAT_EQ(Lines[0].VertOffset_FirstLyricLine, 2.5);
    EXPECT_FLOAT_EQ(Lines[1].VertOffset_BasicSymbol_Top, 0);  // a box below 0 keeps top 0
    EXPECT_FLOAT_EQ(Lines[1].VertOffset_BasicSymbol_Bottom, 3);
    LineInfoArray_GetVertOffsets(Lines, Own, 1.5, true);
    EXPECT_FLOAT_EQ(Lines[0].VertOffset_FirstLyricLine, 1.5);
}

TrecNuo4PageLayoutParams Params(double ATop) {
    TrecNuo4PageLayoutParams P;
    P.MarginTop = 20;
    P.LayoutHeight = 100;
    P.FirstLineTop_Min = ATop;
    P.MaxFactorForFitHeight = 2;
    return P;
}

TEST(PageBreak, LinesFillThePageUpToTheToleranceOfHalfAMillimetre) {
    // Lines of 20 with gaps of 5 from Y 20: bottoms at 40, 65, 90, 115, 140 ...
    auto D = MakeDoc({20, 20, 20, 20, 20}, {0, 0, 0, 0, 0});
    Place(D, 20, 5);
    auto P = Params(20);
    P.LayoutHeight = 94.6;  // line 3 ends at 115 = 20 + 94.6 + 0.4: it fits
    auto Pages = GetPageRangeArray(D.Lines, D.Paras, P);
    ASSERT_EQ(Pages.size(), 2u);
    EXPECT_EQ(Pages[0].LineIndexRange, TKoRange(0, 4));
    P.LayoutHeight = 94.4;  // 0.6 over: line 3 starts the next page
    Pages = GetPageRangeArray(D.Lines, D.Paras, P);
    ASSERT_EQ(Pages.size(), 2u);
    EXPECT_EQ(Pages[0].LineIndexRange, TKoRange(0, 3));
    EXPECT_EQ(Pages[1].LineIndexRange, TKoRange(3, 2));
    EXPECT_EQ(Pages[1].MeasureIndexRange, TKoRange(3, 2));
    EXPECT_EQ(Pages[1].BasicIndexRange, TKoRange(6, 4));
}

TEST(PageBreak, ParagraphPageBreakEndsThePageEvenWithRoomLeft) {
    TrecNuo4SymbolReturnPrivateOptions Brk;
    Brk.bPageBreak = true;
    auto D = MakeDoc({10, 10, 10}, {0, 1, 1}, {Brk, {}});
    Place(D, 20, 5);
    const auto Pages = GetPageRangeArray(D.Lines, D.Paras, Params(20));
    ASSERT_EQ(Pages.size(), 2u);
    EXPECT_EQ(Pages[0].LineIndexRange, TKoRange(0, 1));
    EXPECT_EQ(Pages[1].LineIndexRange, TKoRange(1, 2));
}

TEST(PageBreak, LineTallerThanThePageStaysAlone) {
    auto D = MakeDoc({10, 150, 10}, {0, 0, 0});
    Place(D, 20, 5);
    const auto Pages = GetPageRangeArray(D.Lines, D.Paras, Params(20));
    ASSERT_EQ(Pages.size(), 3u);
    EXPECT_EQ(Pages[0].LineIndexRange, TKoRange(0, 1));
    EXPECT_EQ(Pages[1].LineIndexRange, TKoRange(1, 1));
    EXPECT_EQ(Pages[2].LineIndexRange, TKoRange(2, 1));
}

TEST(MultiPage, LaterPagesStartAtTheTopMargin) {
    auto D = MakeDoc({40, 40, 40, 40}, {0, 0, 0, 0});
    Place(D, 20, 5);
    auto Pages = GetPageRangeArray(D.Lines, D.Paras, Params(20));
    ASSERT_EQ(Pages.size(), 2u);
    const float Before = D.Lines[2].BaselineY;
    const auto Moves = SinglePageToMultiPage(Pages, D.Lines, D.Paras, Params(20));
    EXPECT_DOUBLE_EQ(D.Lines[2].Bounds.Layout.top(), 20);
    EXPECT_DOUBLE_EQ(Moves[2], D.Lines[2].BaselineY - Before);
    EXPECT_DOUBLE_EQ(Moves[0], 0);
    EXPECT_DOUBLE_EQ(Pages[1].Bounds.Layout.top(), 20);
    EXPECT_DOUBLE_EQ(D.Lines[3].Bounds.Layout.top() - D.Lines[2].Bounds.Layout.bottom(), 5);
}

TrecNuo4SymbolReturnPrivateOptions JustifiedBreak() {
    TrecNuo4SymbolReturnPrivateOptions O;
    O.bPageBreak = true;
    O.bJustifyVert = true;
    return O;
}

TEST(MultiPage, VerticalJustificationGrowsContentByAtMostTheFitFactor) {
    // Three lines of 10 with gaps 5 on page 1: content 40; factor 2 allows 40 more, the page
    // room (100) allows 60: the lines spread by 40 in total.
    auto D = MakeDoc({10, 80, 10, 10, 10}, {0, 0, 1, 1, 1}, {{}, JustifiedBreak()});
    Place(D, 20, 5);
    auto Pages = GetPageRangeArray(D.Lines, D.Paras, Params(20));
    ASSERT_EQ(Pages.size(), 2u);
    ASSERT_EQ(Pages[1].LineIndexRange, TKoRange(2, 3));
    SinglePageToMultiPage(Pages, D.Lines, D.Paras, Params(20));
    EXPECT_DOUBLE_EQ(D.Lines[2].Bounds.Layout.top(), 20);
    EXPECT_DOUBLE_EQ(D.Lines[4].Bounds.Layout.bottom() - 20, 80);
}

TEST(MultiPage, VerticalJustificationNeverPassesTheLayoutBottom) {
    // Content 70 on a page of 100: factor 2 would allow 70, the room only 30.
    auto D = MakeDoc({20, 20, 20}, {0, 0, 0}, {JustifiedBreak()});
    auto P = Params(20);
    Place(D, 20, 5);
    auto Pages = GetPageRangeArray(D.Lines, D.Paras, P);
    ASSERT_EQ(Pages.size(), 1u);
    SinglePageToMultiPage(Pages, D.Lines, D.Paras, P);
    EXPECT_DOUBLE_EQ(D.Lines[0].Bounds.Layout.top(), 20);  // no title: line 0 stays
    EXPECT_DOUBLE_EQ(D.Lines[2].Bounds.Layout.bottom(), 120);
}

TEST(MultiPage, FirstPageWithTitleBlockMovesLineZeroByOneShare) {
    auto D = MakeDoc({30, 30}, {0, 0}, {JustifiedBreak()});
    auto P = Params(40);
    P.bWithTitleBlock = true;
    Place(D, 40, 5);
    auto Pages = GetPageRangeArray(D.Lines, D.Paras, P);
    SinglePageToMultiPage(Pages, D.Lines, D.Paras, P);
    // Content 65, room 120 - 40 - 65 = 15 < 65: X = 15, shared in two.
    EXPECT_DOUBLE_EQ(D.Lines[0].Bounds.Layout.top(), 47.5);
    EXPECT_DOUBLE_EQ(D.Lines[1].Bounds.Layout.bottom(), 120);
}

// Paragraphs on several pages: each page follows the last paragraph lying wholly on it, not the
// score's last or first one.
TEST(MultiPage, EachPageFollowsItsOwnLastParagraph) {
    auto D = MakeDoc({10, 10, 10, 10, 10, 10, 10}, {0, 0, 1, 1, 2, 2, 3},
                     {{}, JustifiedBreak(), {}, JustifiedBreak()});
    Place(D, 20, 5);
    auto Pages = GetPageRangeArray(D.Lines, D.Paras, Params(20));
    ASSERT_EQ(Pages.size(), 2u);
    EXPECT_EQ(Pages[0].LineIndexRange, TKoRange(0, 4));  // broken after paragraph 1
    EXPECT_TRUE(PageIsJustifiedVert(Pages[0], D.Paras));
    EXPECT_TRUE(PageIsJustifiedVert(Pages[1], D.Paras));  // paragraph 3 closes it
    Pages[1].LineIndexRange = TKoRange(4, 2);             // now paragraph 2 is its last
    EXPECT_FALSE(PageIsJustifiedVert(Pages[1], D.Paras));
    SinglePageToMultiPage(Pages, D.Lines, D.Paras, Params(20));
    EXPECT_DOUBLE_EQ(D.Lines[3].Bounds.Layout.bottom(), 120);  // spread to the layout bottom
    EXPECT_DOUBLE_EQ(D.Lines[4].Bounds.Layout.top(), 20);
    EXPECT_DOUBLE_EQ(D.Lines[5].Bounds.Layout.top() - D.Lines[4].Bounds.Layout.bottom(), 5);
}

TEST(MultiPage, PageWithoutJustifiedBreakIsNotSpread) {
    TrecNuo4SymbolReturnPrivateOptions OnlyVert;
    OnlyVert.bJustifyVert = true;  // without the page break it does nothing
    auto D = MakeDoc({10, 10}, {0, 0}, {OnlyVert});
    Place(D, 20, 5);
    auto Pages = GetPageRangeArray(D.Lines, D.Paras, Params(20));
    EXPECT_FALSE(PageIsJustifiedVert(Pages[0], D.Paras));
    SinglePageToMultiPage(Pages, D.Lines, D.Paras, Params(20));
    EXPECT_DOUBLE_EQ(D.Lines[1].Bounds.Layout.top(), 35);
}

}  // namespace
}  // namespace nuo4
