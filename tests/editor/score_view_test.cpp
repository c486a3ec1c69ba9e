// Page arrangement, conversions and zoom levels of the score view, and what its caret and the
// mouse cost.
#include <gtest/gtest.h>

#include <QTest>

#include "editor/score_view_calc.h"
#include "editor_test_support.h"
#include "layout/buffer_highlight.h"
#include "layout/draw_document.h"

namespace nuo4 {
namespace {

// A view of AWidthMM x AHeightMM at scale 1.
TNuo4ScoreViewGeometry Geometry(double AWidthMM, double AHeightMM, int32_t APages,
                                int32_t AFixedColumns = 0) {
    TNuo4ScoreViewGeometry G;
    G.Params.PageCount = APages;
    G.Params.FixedColumnCount = AFixedColumns;
    G.GetCalcInfo(
        QSize(int(AWidthMM * G.Params.PixelsPerMM), int(AHeightMM * G.Params.PixelsPerMM)));
    return G;
}

TEST(ScoreViewGeometry, PagesInColumns) {
    struct {
        double Width;
        int32_t Pages, Fixed, Columns, Rows;
    } const Cases[] = {
        {450, 3, 0, 2, 2},   // 450 / 210 + 0.1 -> 2 columns, 3 pages in 2 rows
        {450, 1, 0, 1, 1},   // never more columns than pages
        {1000, 5, 1, 1, 5},  // a fixed count of 1, however wide
        {150, 4, 0, 1, 4},   // narrower than a page: still one column
    };
    for (const auto& C : Cases) {
        const TNuo4ScoreViewGeometry G = Geometry(C.Width, 300, C.Pages, C.Fixed);
        EXPECT_EQ(G.CalcInfo.PageColumnCount, C.Columns) << C.Width << " " << C.Pages;
        const QRectF& Last = G.CalcInfo.PageRectArray.back();
        EXPECT_NEAR(Last.top(), 5 + (C.Rows - 1) * (297 + 5), 1e-9);
        EXPECT_NEAR(G.CalcInfo.MinTotalSize_World.height(), C.Rows * 297 + (C.Rows + 1) * 5, 1e-9);
    }
    const TNuo4ScoreViewGeometry G = Geometry(450, 300, 3);
    EXPECT_EQ(G.CalcInfo.PageRectArray[1], QRectF(220, 5, 210, 297));
    EXPECT_EQ(G.CalcInfo.PageRectArray[2], QRectF(5, 307, 210, 297));
}

TEST(ScoreViewGeometry, ConversionsAndScrolling) {
    TNuo4ScoreViewGeometry G = Geometry(450, 300, 3);
    G.Transform.Scale = 2;
    G.Transform.Location = QPointF(100, 150);
    const QPointF Loc = G.Transform.Location;
    // device = (view - location) x scale x pixels per mm, and back.
    const QPointF V(100, 320);
    const QPointF D = G.ViewPosToDevicePosF(V);
    EXPECT_NEAR(D.x(), (100 - Loc.x()) * 2 * G.Params.PixelsPerMM, 1e-9);
    EXPECT_NEAR(G.DevicePosFToViewPos(D).x(), V.x(), 1e-9);
    const TrecNuo4PagePos P = G.ViewPosToPagePos(V);
    EXPECT_EQ(P.PageIndex, 2);
    EXPECT_EQ(P.PosAtPage, QPointF(95, 13));
    EXPECT_EQ(G.PagePosToViewPos(P), V);
    EXPECT_FALSE(G.ViewPosToPagePos(QPointF(217, 100)).IsValid());  // in the gap between pages
    // The vertical bar at its end shows the bottom gap below the last page.
    G.Transform = TrecNuo4GraphicsTransformInfo();
    G.GetCalcInfo(G.CalcInfo.ViewSize_Pixel);
    G.ScrollBarScroll(Qt::Vertical, Nuo4ScrollBarMax);
    EXPECT_NEAR(G.VisibleViewRect().bottom(), G.CalcInfo.MinTotalSize_World.height(), 0.5);
    EXPECT_GT(G.VisibleViewRect().bottom(), G.CalcInfo.PageRectArray.back().bottom() + 4);
    TNuo4ViewScaleLevel L;
    EXPECT_FALSE(Nuo4ViewScaleLevelOf(1.2, L));
    ASSERT_TRUE(Nuo4ViewScaleLevelOf(1.505, L));
    EXPECT_EQ(L, vslPercent150);
}

TEST(ScoreView, CaretBlinkAndMouseMoveDoNotDrawTheScore) {
    TEditorWindowFixture F;
    F.LoadVoice(QStringLiteral("1 2 3 | 4 5 6"));
    F.View()->setFocus();
    F.View()->repaint();
    const int64_t Before = F.W->ScoreDrawCount();
    QTest::qWait(900);  // two blinks
    QTest::mouseMove(F.View(), QPoint(200, 200));
    QTest::mouseMove(F.View(), QPoint(260, 240));
    EXPECT_EQ(F.W->ScoreDrawCount(), Before);
    EXPECT_TRUE(F.W->StatusText(6).startsWith(QStringLiteral("Page=")));
    // Ctrl+wheel zooms one level: the score is drawn again, the scale panel follows.
    QWheelEvent E(QPointF(100, 100), F.View()->mapToGlobal(QPointF(100, 100)), QPoint(),
                  QPoint(0, 120), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(F.View(), &E);
    EXPECT_EQ(F.W->StatusText(2), QStringLiteral("150%"));
    F.View()->repaint();
    const int64_t Zoomed = F.W->ScoreDrawCount();
    EXPECT_GT(Zoomed, Before);
    // Changes before a paint are drawn once, at the paint: a note, its undo and its redo.
    const std::u16string Typed = (QTest::keyClick(F.View(), Qt::Key_5), F.Text());
    QTest::keyClick(F.View(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(F.View(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(F.W->ScoreDrawCount(), Zoomed);
    F.View()->repaint();
    EXPECT_EQ(F.W->ScoreDrawCount(), Zoomed + 1);
    EXPECT_EQ(F.Text(), Typed);
    EXPECT_NE(Typed, u".Voice\r1 2 3 | 4 5 6\r");
}

TEST(ScoreView, InSymbolEditIndicatorIsAnOverlayThatMovesWithoutDrawingTheScore) {
    TEditorWindowFixture F;
    const QString Path = F.Dir.filePath(QStringLiteral("branch.nuoabc"));
    QFile File(Path);
    ASSERT_TRUE(File.open(QIODevice::WriteOnly));
    File.write(
        ".Voice\r\n1 2 3 4 |\r\n.Attachments\r\n"
        "Branch@1,2(0,-3) = False, 4, 4, 0, {5 6-- 7}, {}\r\n");
    File.close();
    F.W->LoadFile(Path);
    TNuo4SimpleBuffer* B = F.W->GetSimpleBuffer();
    ASSERT_TRUE(B);
    int32_t A = 0;
    while (A < B->Attach_GetCount() && !B->Attach_IsAttachBranch(A)) ++A;
    ASSERT_LT(A, B->Attach_GetCount());
    Highlight_SetToAttach(*B, A);
    ASSERT_TRUE(WithinSymbolEdit_Enable(*B));
    F.W->Redraw_Fast(false);
    F.View()->setFocus();
    QApplication::processEvents();
    // The indicator's box on the screen, and how many of its pixels differ from the score image.
    const TrecNuo4WithinSymbolEditIndicator I = GetWithinSymbolEditIndicator(*B);
    ASSERT_EQ(I.PageIndex, 0);
    const QRect Box = F.W->ScorePanelWidget()
                          ->Geometry()
                          .PageRectToDeviceRect(0, I.Frame)
                          .toAlignedRect()
                          .adjusted(-2, -2, 2, 2);
    auto Screen = [&] {
        return F.View()->grab().toImage().convertToFormat(QImage::Format_RGB32).copy(Box);
    };
    auto DiffersFromImage = [&](const QImage& AScreen) {
        const QImage Image = F.W->ScorePanelWidget()->MemImage().copy(Box);
        int N = 0;
        for (int Y = 0; Y < Image.height(); ++Y)
            for (int X = 0; X < Image.width(); ++X) N += Image.pixel(X, Y) != AScreen.pixel(X, Y);
        return N;
    };
    const int64_t Draws = F.W->ScoreDrawCount();
    const QImage At0 = Screen();
    EXPECT_GT(DiffersFromImage(At0), 0);  // drawn over the image, not into it
    QTest::keyClick(F.View(), Qt::Key_Right);
    EXPECT_EQ(B->InternalStatus.WithinSymbolEditStatusInfo.WithinSymbolPos_Branch, 1);
    const QImage At1 = Screen();
    EXPECT_NE(At1, At0);  // the marker moved
    QTest::keyClick(F.View(), Qt::Key_Escape);
    EXPECT_FALSE(WithinSymbolEdit_GetEnable(*B));
    EXPECT_EQ(DiffersFromImage(Screen()), 0);
    EXPECT_EQ(F.W->ScoreDrawCount(), Draws);
}

}  // namespace
}  // namespace nuo4
