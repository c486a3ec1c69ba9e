// The lines, pages and drawing of whole documents built from score texts.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <memory>

#include "format/abc_buffer.h"
#include "format/doc_options.h"
#include "layout/draw_document.h"
#include "layout/layout_system.h"
#include "layout/simple_buffer.h"
#include "render/music_font.h"

namespace nuo4 {
namespace {

struct TDoc {
    std::unique_ptr<TNuo4ABCBuffer> ABC;
    std::unique_ptr<TNuo4SimpleBuffer> B;
};

// A document of a voice section only (lines joined by CR, as the editor holds text).
TDoc Build(const std::string& AVoice) {
    Nuo4Render_Init();
    const std::string Text = ".Voice\r" + AVoice + "\r";
    TDoc D;
    D.ABC = std::make_unique<TNuo4ABCBuffer>(std::u16string(Text.begin(), Text.end()));
    D.B = std::make_unique<TNuo4SimpleBuffer>(D.ABC.get());
    return D;
}

std::string Repeat(const std::string& S, int N) {
    std::string R;
    for (int I = 0; I < N; ++I) R += S;
    return R;
}

double LayoutRight() {
    return Nuo4DocOptions().Param_Paper.GetLayoutRight();
}

TEST(DocumentLines, MeasureWiderThanTheLayoutWidthStandsAloneAndOverflows) {
    auto D = Build("1 1 1 1 | " + Repeat("1 ", 60) + "| 1 1 1 1 |");
    auto& B = *D.B;
    ASSERT_EQ(B.GetMeasureCount(), 3);
    ASSERT_EQ(B.LineInfoArray.size(), 3u);
    EXPECT_EQ(B.LineInfoArray[1].MeasureIndexRange, TKoRange(1, 1));
    EXPECT_GT(B.LineInfoArray[1].Bounds.Layout.right(), LayoutRight() + 1);
    // Every line starts its layout box at the left margin.
    for (const auto& L : B.LineInfoArray)
        EXPECT_NEAR(L.Bounds.Layout.left(), Nuo4DocOptions().Param_Paper.MarginLeft, 1e-3);
}

TEST(DocumentLines, LinesFitTheLayoutWidthWithinTheTolerance) {
    auto D = Build(Repeat("1 2 3 4 | ", 40));
    auto& B = *D.B;
    ASSERT_GT(B.LineInfoArray.size(), 2u);
    for (const auto& L : B.LineInfoArray) {
        const TNuo4Symbol* Last = B.Basic_GetSymbol(L.GetBasicIndexRangeExcludeReturn().EndIndex());
        EXPECT_LE(Last->RightPos_Total(), LayoutRight() + 0.1);
    }
    // One more measure would not have fitted on the first line.
    const auto& L0 = B.LineInfoArray[0];
    const TKoRange Next = B.MeasureInfoArray[L0.MeasureIndexRange.EndIndex() + 1].BasicIndexRange;
    const double W = B._GetTotalWidth_Range(
        TKoRange::FromStartEnd(L0.BasicIndexRange.StartIndex, Next.EndIndex()), 0);
    EXPECT_GT(W, Nuo4DocOptions().GetLayoutWidth() + 0.1);
}

TEST(DocumentLines, IndentMovesEveryLineOfTheParagraph) {
    auto D = Build(Repeat("1 2 3 4 | ", 12) + "$(False,15.00)" + "1 2 3 4 |");
    auto& B = *D.B;
    ASSERT_GE(B.ParagraphInfoArray.size(), 2u);
    const auto& P = B.ParagraphInfoArray[0];
    ASSERT_GE(P.LineIndexRange.Length, 2);
    for (int32_t L = P.LineIndexRange.StartIndex; L <= P.LineIndexRange.EndIndex(); ++L) {
        const int32_t First = B.LineInfoArray[L].BasicIndexRange.StartIndex;
        // The first symbol's reference point stands at the indent.
        EXPECT_NEAR(B.Basic_GetSymbol(First)->Pos().x(), 20 + 15, 1e-3);
    }
    const auto& Last = B.LineInfoArray.back();
    EXPECT_NEAR(Last.Bounds.Layout.left(), 20, 1e-3);
}

TEST(DocumentLines, JustifiedParagraphReachesTheRightMarginAndShowsJ) {
    // 11 measures: full lines, then a last line of one measure that would need a stretch
    // beyond the maximum factor 3 and stays as it is.
    auto D = Build(Repeat("1 2 3 4 | ", 11) + "$(True)" + "1 2 3 4 |");
    auto& B = *D.B;
    const auto& P = B.ParagraphInfoArray[0];
    ASSERT_TRUE(P.Options.bJustifyHorz);
    ASSERT_GE(P.LineIndexRange.Length, 2);
    auto HasJ = [&](int32_t L) {
        for (const auto& M : GetLineMarkers(B, L))
            if (M.Letter == u'J') return true;
        return false;
    };
    for (int32_t L = P.LineIndexRange.StartIndex; L <= P.LineIndexRange.EndIndex(); ++L) {
        const auto& Line = B.LineInfoArray[L];
        const TNuo4Symbol* Last =
            B.Basic_GetSymbol(Line.GetBasicIndexRangeExcludeReturn().EndIndex());
        if (L < P.LineIndexRange.EndIndex()) {
            EXPECT_NEAR(Last->RightPos_Total(), LayoutRight(), 0.1);
            EXPECT_TRUE(HasJ(L));
        } else {
            EXPECT_EQ(Line.MeasureIndexRange.Length, 1);
            EXPECT_LT(Last->RightPos_Total(), LayoutRight() - 10);
            EXPECT_FALSE(HasJ(L));
        }
    }
}

TEST(DocumentPages, LaterPagesStartAtTheTopMarginAndLinesStayInside) {
    auto D = Build(Repeat("1 2 3 4 | 5 6 7 1 | $", 60));
    auto& B = *D.B;
    ASSERT_GE(B.PageInfoArray.size(), 2u);
    const auto& Paper = Nuo4DocOptions().Param_Paper;
    for (size_t P = 0; P < B.PageInfoArray.size(); ++P) {
        const TKoRange R = B.PageInfoArray[P].LineIndexRange;
        if (P > 0) {
            EXPECT_NEAR(B.LineInfoArray[R.StartIndex].Bounds.Layout.top(), Paper.MarginTop, 1e-3);
            EXPECT_EQ(R.StartIndex, B.PageInfoArray[P - 1].LineIndexRange.EndIndex() + 1);
        }
        EXPECT_LE(B.LineInfoArray[R.EndIndex()].Bounds.Layout.bottom(),
                  Paper.Height - Paper.MarginBottom + 0.5);
    }
}

TEST(DocumentPages, PageBreakAndVerticalJustification) {
    auto D = Build("1 2 3 4 | $ 1 2 3 4 | $(False,0.00,1.00,True,True) 5 5 5 5 |");
    auto& B = *D.B;
    ASSERT_EQ(B.PageInfoArray.size(), 2u);
    EXPECT_EQ(B.PageInfoArray[0].LineIndexRange, TKoRange(0, 2));
    // No title block: line 0 stays, line 1 takes the whole extra space, which is the content
    // height (fit factor 2) as the page has room for it.
    const auto& L0 = B.LineInfoArray[0];
    const auto& L1 = B.LineInfoArray[1];
    EXPECT_NEAR(L0.Bounds.Layout.top(), B.FirstLineTop_Min, 1e-3);
    const double G = Nuo4DocOptions().Param_VertSpacing.GapCoef_Lyric_Score *
                     Nuo4DocOptions().GetNormalStyleDigitSize().Height;
    const double Content = L0.Bounds.Layout.height() + G + L1.Bounds.Layout.height();
    EXPECT_NEAR(L1.Bounds.Layout.bottom() - L0.Bounds.Layout.top(), 2 * Content, 1e-3);
    EXPECT_NEAR(B.LineInfoArray[2].Bounds.Layout.top(), Nuo4DocOptions().Param_Paper.MarginTop,
                1e-3);
}

TEST(DocumentSystem, DurationErrorsTurnTheLineNumberRed) {
    auto D = Build("1 2 3 4 | 1 2 3 | $ 1 2 3 4 | $ 1 2 3 4");
    auto& B = *D.B;
    ASSERT_EQ(B.GetMeasureCount(), 4);
    EXPECT_FALSE(MeasureHasDurationError(B.MeasureInfoArray[0]));
    EXPECT_TRUE(MeasureHasDurationError(B.MeasureInfoArray[1]));
    EXPECT_EQ(GetLineNumberColor(B, 0), 0xFFFF0000u);
    EXPECT_EQ(GetLineNumberColor(B, 1), 0xFF808080u);
    // The last line's last measure does not end with a bar line.
    EXPECT_EQ(GetLineNumberColor(B, 2), 0xFFFF0000u);
    EXPECT_EQ(GetBarNumberOfMeasure(B.SystemLineInfoArray, B.LineInfoArray, 2), u"3");
    EXPECT_EQ(B.SystemLineInfoArray.size(), 3u);
}

TEST(DocumentRulesCheck, RepeatEndAtALineStartIsReported) {
    auto D = Build("1 2 3 4 | $ :| 1 2 3 4 :| $");
    auto& B = *D.B;
    ASSERT_EQ(B.LineInfoArray.size(), 2u);
    const int32_t First = B.LineInfoArray[1].BasicIndexRange.StartIndex;
    ASSERT_TRUE(B.Basic_IsBarline(First));
    EXPECT_EQ(B.RulesCheckResult_ErrorArray_Barline, (std::vector<int32_t>{First}));
}

// The share of pixels that are not white.
double InkShare(const QImage& AImg) {
    int64_t N = 0;
    for (int Y = 0; Y < AImg.height(); ++Y)
        for (int X = 0; X < AImg.width(); ++X) N += AImg.pixel(X, Y) != qRgb(255, 255, 255);
    return double(N) / (double(AImg.width()) * AImg.height());
}

QImage DrawToImage(TNuo4SimpleBuffer& B, int32_t APage, bool bAux) {
    QImage Img(210, 297, QImage::Format_RGB32);
    Img.setDotsPerMeterX(qRound(25.4 / 0.0254));
    Img.setDotsPerMeterY(qRound(25.4 / 0.0254));
    Img.fill(Qt::white);
    QPainter P(&Img);
    TKoGraphics G(&P);
    PrepareGraphics(G, 1.0);
    if (bAux)
        Draw_AllSymbols_Page(B, G, odDisplay, APage, true, true, true, false, nullptr);
    else
        Draw_AllSymbols_Page(B, G, odPrinter, APage, false, false, false, true, nullptr);
    return Img;
}

TEST(DrawDocument, PagesDrawInkAndAuxiliaryInformationAddsMore) {
    auto D = Build(Repeat("1_ 2_ 3 4 | ", 8));
    auto& B = *D.B;
    Nuo4AuxInfoSettings().SetToDefault();
    const double Plain = InkShare(DrawToImage(B, 0, false));
    const double Aux = InkShare(DrawToImage(B, 0, true));
    EXPECT_GT(Plain, 0.001);
    EXPECT_GT(Aux, Plain);  // line numbers, bar numbers, page number
    // A page outside the document draws nothing.
    EXPECT_EQ(InkShare(DrawToImage(B, 5, true)), 0);
}

TEST(DrawDocument, EighthsWithinABeatShareOneBeamAcrossABeatTheyDoNot) {
    // 1_ 2_ share a beam; 3 ends on a beat; 4. 5_ : the dotted note is not underlined.
    auto D = Build("1_ 2_ 3_ 4_ 5 6 |");
    auto& B = *D.B;
    const auto Rects = GetUnderlineRects(B, TKoRange(0, 7));
    ASSERT_EQ(Rects.size(), 2u);
    EXPECT_LT(Rects[0].right(), Rects[1].left());  // two beams, one per beat
    EXPECT_GT(Rects[0].width(), B.Basic_GetSymbol(1)->Pos().x() - B.Basic_GetSymbol(0)->Pos().x());
}

TEST(DrawDocument, SixteenthThenEighthJoinOnlyAtTheFirstLevel) {
    auto D = Build("1__ 2_ 3__ 4 4 |");
    auto& B = *D.B;
    const auto Rects = GetUnderlineRects(B, TKoRange(0, 6));
    // Level 1: the three notes joined; level 2: the two sixteenths each alone.
    ASSERT_EQ(Rects.size(), 3u);
    EXPECT_LT(Rects[1].width(), Rects[0].width() / 2);
}

TEST(DrawDocument, PageNumberTextAndRulesMarkSpan) {
    EXPECT_EQ(GetPageNumberText(1, 5), u"___ 2 / 5 ___");
    const QLineF L = GetRulesCheckMarkLine(TGPRectF(10, 10, 1, 4), 1);
    EXPECT_DOUBLE_EQ(L.x1(), 9);  // centre 10.5 - 1.5
    EXPECT_DOUBLE_EQ(L.x2(), 12);
    EXPECT_DOUBLE_EQ(L.y1(), 15);
}

TEST(DrawDocument, PrintingToAFileRestoresSwitchesAndHighlight) {
    auto D = Build("1 2 3 4 | 5 6 7 1 |");
    auto& B = *D.B;
    Nuo4AuxInfoSettings().SetToDefault();
    B.InternalStatus.Highlight.BasicIndex = 2;
    B.Basic_GetSymbol(2)->SetHighlighted(true);
    QTemporaryDir Dir;
    const std::string Path = (Dir.path() + "/out.pdf").toStdString();
    EXPECT_TRUE(Draw_AllSymbols_ToPrinter(B, TKoRange(0, 1), u"test", Path));
    EXPECT_TRUE(Nuo4AuxInfoSettings().bShowLineNumber);
    EXPECT_EQ(B.InternalStatus.Highlight.BasicIndex, 2);
    EXPECT_TRUE(B.Basic_GetSymbol(2)->Highlighted());
    EXPECT_GT(QFileInfo(QString::fromStdString(Path)).size(), 500);
    // A range outside the pages fails and still restores.
    EXPECT_FALSE(Draw_AllSymbols_ToPrinter(B, TKoRange(3, 1), u"test", Path));
    EXPECT_TRUE(Nuo4AuxInfoSettings().bShowLineNumber);
}

}  // namespace
}  // namespace nuo4

namespace nuo4 {
namespace {

TEST(DrawDocument, DisplayDrawsEveryPageAtItsViewRectangle) {
    std::string Voice;
    for (int I = 0; I < 40; ++I) Voice += "1 2 3 4 | $";
    auto D = Build(Voice);
    auto& B = *D.B;
    ASSERT_EQ(B.PageInfoArray.size(), 2u);
    // Two pages side by side at 127 dpi, exactly 5 pixels per millimetre.
    B.PageRectArray_View = {TGPRectF(0, 0, 210, 297), TGPRectF(220, 0, 210, 297)};
    constexpr int K = 5;
    QImage Img(430 * K, 297 * K, QImage::Format_RGB32);
    Img.setDotsPerMeterX(5000);
    Img.setDotsPerMeterY(5000);
    Img.fill(Qt::white);
    {
        QPainter P(&Img);
        TKoGraphics G(&P);
        PrepareGraphics(G, 1.0);
        Draw_AllSymbols_ToDisplay(B, G);
    }
    EXPECT_GT(InkShare(Img.copy(0, 0, 210 * K, 297 * K)), 0.001);
    EXPECT_GT(InkShare(Img.copy(220 * K, 0, 210 * K, 297 * K)), 0.001);
    EXPECT_EQ(InkShare(Img.copy(211 * K, 0, 8 * K, 297 * K)), 0);  // nothing between the pages
}

}  // namespace
}  // namespace nuo4

namespace nuo4 {
namespace {

TEST(DocumentLines, EmptyVoiceHasNoLinesOrPagesAndDrawsWithoutThem) {
    auto D = Build("");
    auto& B = *D.B;
    EXPECT_EQ(B.GetMeasureCount(), 0);
    EXPECT_TRUE(B.LineInfoArray.empty());
    EXPECT_TRUE(B.PageInfoArray.empty());
    EXPECT_TRUE(B.SystemLineInfoArray.empty());
    // The first page still draws (title and page symbols); nothing else is there to draw.
    EXPECT_EQ(InkShare(DrawToImage(B, 0, true)), 0);
    EXPECT_TRUE(GetLineMarkers(B, 0).empty());
}

TEST(DocumentLines, LockedMarkerIsBlueOnlyWhenAllButTheLastAreLocked) {
    auto D = Build("1{C:3.000} 2{C:3.000} 3{C:3.000} 4{C:3.000} | $ 1{C:3.000} 2 3 4 | $");
    auto& B = *D.B;
    auto Marker = [&](int32_t L) {
        for (const auto& M : GetLineMarkers(B, L))
            if (M.Letter == u'L') return M.Color;
        return TGPColor(0);
    };
    // Line 0: only the bar line closing it, its last symbol, is not locked.
    EXPECT_EQ(Marker(0), 0xFF0000FFu);
    EXPECT_EQ(Marker(1), 0xFF808080u);
}

}  // namespace
}  // namespace nuo4

namespace nuo4 {
namespace {

TEST(DrawDocument, PageAndViewPositionsConvertBothWays) {
    auto D = Build("1 2 3 4 |");
    auto& B = *D.B;
    B.PageRectArray_View = {TGPRectF(5, 5, 210, 297), TGPRectF(5, 310, 210, 297)};
    const TrecNuo4PagePos P{1, TGPPointF(10, 20)};
    EXPECT_EQ(PagePosToViewPos(B, P), TGPPointF(15, 330));
    const auto Back = ViewPosToPagePos(B, TGPPointF(15, 330));
    EXPECT_EQ(Back.PageIndex, 1);
    EXPECT_EQ(Back.PosAtPage, TGPPointF(10, 20));
    EXPECT_EQ(ViewPosToPagePos(B, TGPPointF(2, 2)).PageIndex, -1);  // between pages
    EXPECT_EQ(PagePosToViewPos(B, TrecNuo4PagePos{7, TGPPointF()}), TGPPointF(-1, -1));
}

}  // namespace
}  // namespace nuo4
