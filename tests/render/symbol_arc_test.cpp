#include "render/symbol_arc.h"

#include <gtest/gtest.h>

#include <cmath>

#include "format/doc_options.h"
#include "render/music_font.h"
#include "render/note_style.h"
#include "symbol_test_support.h"

using namespace nuo4;
using namespace nuo4::test;

// Expected numbers are worked out by hand for the default document: digit 3.0 x 2.4 (H = H0 = 3,
// W = W0 = 2.4), so tuplet digits are 1.44 x 1.728.
namespace {

constexpr double Eps = 1e-3;

class ArcTest : public ::testing::Test {
  protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset() {
        Nuo4Render_Init();
        Nuo4SymbolViewSettings().SetToDefault();
        Nuo4SetDefaultSymbolColor(0xFF000000u);
        Nuo4DocOptions().SetToDefault();
        RebuildAll();
    }
};

TrecNuo4ArcABCInfo Info(int ATuplet = 0, TNuo4ArcArrowStyle AArrow = aasNone) {
    TrecNuo4ArcABCInfo R;
    R.TupletNumber = ATuplet;
    R.ArrowStyle = AArrow;
    return R;
}

std::unique_ptr<TNuo4SymbolArc> Full(double L, TNuo4SymbolArcShape AShape, int ATuplet = 0,
                                     TNuo4ArcArrowStyle AArrow = aasNone) {
    auto S = TNuo4SymbolArc::Create_Full(L, Info(ATuplet, AArrow), AShape);
    S->Update(true);
    return S;
}

TGPRectF ElementBox(const TNuo4Symbol& S, int I) {
    return S.ReadElement(I)->GetBlackBox();
}

QPainterPath ElementPath(const TNuo4Symbol& S, int I) {
    TNuo4SymbolPathes Items;
    S.ReadElement(I)->AddToSymbolPathes(Items);
    return Items.at(0).APath;
}

void ExpectRect(const TGPRectF& R, double X, double Y, double W, double H, double ATol = Eps) {
    EXPECT_NEAR(R.x(), X, ATol);
    EXPECT_NEAR(R.y(), Y, ATol);
    EXPECT_NEAR(R.width(), W, ATol);
    EXPECT_NEAR(R.height(), H, ATol);
}

int LineSegments(const QPainterPath& P) {
    int N = 0;
    for (int I = 0; I < P.elementCount(); ++I) N += P.elementAt(I).isLineTo();
    return N;
}

// ---- Heights, thicknesses and normalising ---------------------------------------------------

TEST_F(ArcTest, HeightsOfArcsOfLength20FollowTheShapeFormulas) {
    const TrecNuo4NoteStyleIndex Normal;
    double H, T;
    // 0.28 * sqrt(20) * sqrt(3) and 0.1 * 3.
    TNuo4SymbolArc::GetArcHeightAndThickness(assEllipseFill, 20, Normal, H, T);
    EXPECT_NEAR(H, 2.16887, Eps);
    EXPECT_NEAR(T, 0.30, Eps);
    TNuo4SymbolArc::GetArcHeightAndThickness(assEllipseStroke, 20, Normal, H, T);
    EXPECT_NEAR(H, 2.16887, Eps);
    EXPECT_NEAR(T, 0.21, Eps);
    // 0.32 * 3 * 20^(1/8).
    TNuo4SymbolArc::GetArcHeightAndThickness(assFlatFill, 20, Normal, H, T);
    EXPECT_NEAR(H, 1.39605, Eps);
    EXPECT_NEAR(T, 0.21, Eps);
    TNuo4SymbolArc::GetArcHeightAndThickness(assFlatStroke, 20, Normal, H, T);
    EXPECT_NEAR(H, 1.39605, Eps);
    EXPECT_NEAR(T, 0.21, Eps);
    // Lengths below 2 count as 2: 0.28 * sqrt(2) * sqrt(3).
    TNuo4SymbolArc::GetArcHeightAndThickness(assEllipseFill, 0.5, Normal, H, T);
    EXPECT_NEAR(H, 0.68586, Eps);
}

TEST_F(ArcTest, HeightsScaleWithTheDigitHeightOfTheStyle) {
    Nuo4DocOptions().Param_MainDigit.Height = 4.0f;
    RebuildAll();
    double H, T;
    TNuo4SymbolArc::GetArcHeightAndThickness(assEllipseFill, 16, TrecNuo4NoteStyleIndex(), H, T);
    EXPECT_NEAR(H, 0.28 * 4 * 2, Eps);  // sqrt(16) * sqrt(4)
    EXPECT_NEAR(T, 0.4, Eps);
}

TEST_F(ArcTest, CheckMakesPiecesFlatPlainAndAtLeastTwoLong) {
    TrecNuo4SymbolArc R;
    R.Style.Initialize(assEllipseStroke, lscsRight);
    R.ABCInfo = Info(3, aasArrowAndDot);
    R.ArcLength_LeftOrRight = 1.5f;
    R.Check();
    EXPECT_EQ(R.Style.Shape, assFlatStroke);
    EXPECT_EQ(R.ABCInfo.TupletNumber, 0);
    EXPECT_EQ(R.ABCInfo.ArrowStyle, aasNone);
    EXPECT_FLOAT_EQ(R.ArcLength_LeftOrRight, 2.0f);
    EXPECT_FLOAT_EQ(R.ArcLength_Full, 4.0f);

    R.Style.Initialize(assEllipseFill, lscsLeft);
    R.Check();
    EXPECT_EQ(R.Style.Shape, assFlatFill);

    TrecNuo4SymbolArc F;
    F.Style.Initialize(assEllipseFill, lscsFull);
    F.ABCInfo = Info(3, aasDot);
    F.ArcLength_Full = 1.0f;
    F.ArcLength_LeftOrRight = 7.0f;
    F.Check();
    EXPECT_EQ(F.Style.Shape, assEllipseFill);
    EXPECT_EQ(F.ABCInfo.TupletNumber, 3);
    EXPECT_EQ(F.ABCInfo.ArrowStyle, aasDot);
    EXPECT_FLOAT_EQ(F.ArcLength_Full, 2.0f);
    EXPECT_FLOAT_EQ(F.ArcLength_LeftOrRight, 0.0f);
}

TEST_F(ArcTest, RecordDefaultsTakeTheDocumentShape) {
    Nuo4DocOptions().Param_Arc.DefaultShape = assFlatStroke;
    TrecNuo4SymbolArc R;
    R.SetToDefault();
    EXPECT_EQ(R.Style.Shape, assFlatStroke);
    EXPECT_EQ(R.Style.Continue, lscsFull);
    EXPECT_EQ(R.FArcHeight, 0);
    EXPECT_TRUE(R.IsStroke());
    EXPECT_FALSE(R.IsFill());
}

// ---- Elliptic arcs --------------------------------------------------------------------------

TEST_F(ArcTest, StrokedEllipseRunsFromChordEndToChordEndThroughTheApex) {
    const QPainterPath P =
        TNuo4SymbolArc::CreatePath_Arc_Ellispe_Hair_Full(TGPPointF(1, 2), 20, 2.16887, 0.4);
    // The ends land on the chord ends (true ray angles, not parametric ones).
    EXPECT_NEAR(P.elementAt(0).x, 1, Eps);
    EXPECT_NEAR(P.elementAt(0).y, 2, Eps);
    EXPECT_NEAR(P.currentPosition().x(), 21, Eps);
    EXPECT_NEAR(P.currentPosition().y(), 2, Eps);
    // It bends upward, the apex over the chord's middle.
    ExpectRect(P.boundingRect(), 1, 2 - 2.16887, 20, 2.16887);
    EXPECT_NEAR(P.pointAtPercent(0.5).x(), 11, 0.01);
}

TEST_F(ArcTest, EllipticCurveStaysOnItsEllipseToTheHundredth) {
    // L = 20, h = 2: a = 10 * 1.4 / sqrt(1.8) = 10.43498, b = 2.8, centre 0.8 below the chord.
    const QPainterPath P =
        TNuo4SymbolArc::CreatePath_Arc_Ellispe_Hair_Full(TGPPointF(0, 0), 20, 2, 0.4);
    const double A = 10.43498, B = 2.8, Cx = 10, Cy = 0.8;
    for (int I = 0; I <= 20; ++I) {
        const QPointF Q = P.pointAtPercent(I / 20.0);
        // Distance from the ellipse along the ray from its centre.
        const double Dx = Q.x() - Cx, Dy = Q.y() - Cy;
        const double R = std::hypot(Dx, Dy);
        const double ROnEllipse =
            1 / std::sqrt((Dx / R / A) * (Dx / R / A) + (Dy / R / B) * (Dy / R / B));
        EXPECT_NEAR(R, ROnEllipse, 0.01) << I;
    }
}

TEST_F(ArcTest, FlatCornersAreCirclesOfRadiusTwiceTheHeight) {
    const double h = 1.5, R = 3;
    const QPainterPath P =
        TNuo4SymbolArc::CreatePath_Arc_Flat_Hair_Full(TGPPointF(0, 0), 20, h, 60);
    // The left corner's centre is (sqrt(3) h, R - h) = (2.59808, 1.5).
    for (int I = 0; I <= 10; ++I) {
        const QPointF Q = P.pointAtPercent(I / 10.0 * 0.1);
        if (Q.x() > 2.59808) break;
        EXPECT_NEAR(std::hypot(Q.x() - 2.59808, Q.y() - 1.5), R, 0.01) << I;
    }
}

TEST_F(ArcTest, FilledEllipseIsACrescentThickAtTheApexAndHalfAtTheEnds) {
    auto S = Full(20, assEllipseFill);
    ASSERT_EQ(S->ElementsCount(), 1);
    const QPainterPath P = ElementPath(*S, 0);
    // Outer apex h + T/2 above the chord, inner ends T/4 below it.
    ExpectRect(P.boundingRect(), 0, -2.31887, 20, 2.39387);
    // T = 0.3 at the apex: ink from -2.31887 to -2.01887.
    EXPECT_TRUE(P.contains(QPointF(10, -2.30)));
    EXPECT_TRUE(P.contains(QPointF(10, -2.03)));
    EXPECT_FALSE(P.contains(QPointF(10, -2.00)));
    EXPECT_FALSE(P.contains(QPointF(10, -2.33)));
    // T/2 = 0.15 at the ends: the outline starts at -0.075 and closes from +0.075.
    EXPECT_NEAR(P.elementAt(0).x, 0, Eps);
    EXPECT_NEAR(P.elementAt(0).y, -0.075, Eps);
    const QPointF Last = P.elementAt(P.elementCount() - 2);
    EXPECT_NEAR(Last.x(), 0, Eps);
    EXPECT_NEAR(Last.y(), 0.075, Eps);
}

TEST_F(ArcTest, StrokedEllipseIsOneSolidStrokeOfTheArcThickness) {
    auto S = Full(20, assEllipseStroke);
    ASSERT_EQ(S->ElementsCount(), 1);
    const TNuo4SymbolElement* E = S->ReadElement(0);
    ASSERT_TRUE(E && E->IsStroke());
    EXPECT_NEAR(E->PenWidth(), 0.21, Eps);
    EXPECT_FALSE(E->IsDashed());
    ExpectRect(E->GetBlackBox(), 0, -2.16887, 20, 2.16887);
}

TEST_F(ArcTest, ArcShorterThanTwoIsDrawnAndMeasuredAsTwo) {
    auto S = Full(1, assEllipseFill);
    EXPECT_FLOAT_EQ(S->SymbolRec().ArcLength_Full, 2.0f);
    EXPECT_NEAR(S->SymbolRec().FArcHeight, 0.68586, Eps);
    ExpectRect(S->Bounds(), 0, -(0.68586 + 0.15), 2, 0.68586 + 0.15);
    EXPECT_NEAR(S->BlackBox().width(), 2, Eps);
}

TEST_F(ArcTest, FullArcLayoutBoundsStopAtTheChord) {
    auto S = Full(20, assEllipseFill);
    ExpectRect(S->Bounds(), 0, -2.31887, 20, 2.31887);
    auto F = Full(20, assFlatFill);
    // The ink of a filled flat arc reaches T/2 below the chord; the bounds do not.
    ExpectRect(F->Bounds(), 0, -1.50105, 20, 1.50105);
    EXPECT_NEAR(F->BlackBox().bottom(), 0.105, Eps);
}

// ---- Flat arcs ------------------------------------------------------------------------------

TEST_F(ArcTest, FlatArcHasTwoCornersAndAStraightTop) {
    const double h = 1.39605, T = 0.21;
    const QPainterPath Hair =
        TNuo4SymbolArc::CreatePath_Arc_Flat_Hair_Full(TGPPointF(0, 0), 20, h, 60);
    EXPECT_EQ(LineSegments(Hair), 1);
    ExpectRect(Hair.boundingRect(), 0, -h, 20, h);
    // The corners end sqrt(3) h = 2.41803 from the chord ends, where the top begins.
    EXPECT_NEAR(Hair.elementAt(Hair.elementCount() - 4).x, 20 - 2.41803, Eps);
    EXPECT_NEAR(Hair.currentPosition().x(), 20, Eps);
    EXPECT_NEAR(Hair.currentPosition().y(), 0, Eps);

    auto S = Full(20, assFlatFill);
    const QPainterPath P = ElementPath(*S, 0);
    // A band of vertical thickness T all along: at the top and on a corner.
    EXPECT_TRUE(P.contains(QPointF(10, -h - T / 2 + 0.01)));
    EXPECT_TRUE(P.contains(QPointF(10, -h + T / 2 - 0.01)));
    EXPECT_FALSE(P.contains(QPointF(10, -h + T / 2 + 0.01)));
    EXPECT_TRUE(P.contains(QPointF(0.01, T / 2 - 0.02)));
    EXPECT_TRUE(P.contains(QPointF(0.01, -T / 2 + 0.005)));
}

TEST_F(ArcTest, ShortFlatArcIsOneCircularArcThatStillReachesTheChordEnds) {
    // L = 3 < 2 sqrt(3) h with h = 0.96 * 3^(1/8) = 1.10131.
    auto S = Full(3, assFlatStroke);
    const QPainterPath P = ElementPath(*S, 0);
    EXPECT_EQ(LineSegments(P), 0);
    ExpectRect(P.boundingRect(), 0, -1.10131, 3, 1.10131);
    EXPECT_NEAR(P.elementAt(0).x, 0, Eps);
    EXPECT_NEAR(P.elementAt(0).y, 0, Eps);
    EXPECT_NEAR(P.currentPosition().x(), 3, Eps);
    EXPECT_NEAR(P.currentPosition().y(), 0, Eps);
}

TEST_F(ArcTest, FlatFormsMeetWhereTheStraightTopVanishes) {
    // 2 sqrt(3) h = L at L = 3.9484 for H = 3: just below one circle, just above two corners.
    for (double L : {3.94, 3.96}) {
        auto S = Full(L, assFlatStroke);
        const QPainterPath P = ElementPath(*S, 0);
        EXPECT_EQ(LineSegments(P), L < 3.9484 ? 0 : 1) << L;
        ExpectRect(P.boundingRect(), 0, -S->SymbolRec().FArcHeight, L, S->SymbolRec().FArcHeight);
    }
    // Both put the middle of the curve at nearly the same height.
    const QPointF A = ElementPath(*Full(3.94, assFlatStroke), 0).pointAtPercent(0.5);
    const QPointF B = ElementPath(*Full(3.96, assFlatStroke), 0).pointAtPercent(0.5);
    EXPECT_NEAR(A.y(), B.y(), 0.01);
}

// ---- Pieces ---------------------------------------------------------------------------------

TEST_F(ArcTest, LeftPieceTakesTheWholeArcsHeightAndEndsCutAtItsLength) {
    // Height from the whole length 40: 0.96 * 40^(1/8) = 1.52242; T = 0.21.
    auto S = TNuo4SymbolArc::Create_Left(40, 15, 0.5f, assEllipseFill);
    S->Update(true);
    EXPECT_TRUE(S->IsLeft());
    EXPECT_EQ(S->SymbolRec().Style.Shape, assFlatFill);
    EXPECT_NEAR(S->SymbolRec().FArcHeight, 1.52242, Eps);
    EXPECT_NEAR(S->SymbolRec().FArcThickness, 0.21, Eps);
    EXPECT_FLOAT_EQ(S->VertOffsetCoef(), 0.5f);
    EXPECT_TRUE(S->IsForceVertLocation());
    ExpectRect(S->Bounds(), 0, -1.62742, 15, 1.62742);
    ASSERT_EQ(S->ElementsCount(), 1);
    const QPainterPath P = ElementPath(*S, 0);
    ExpectRect(P.boundingRect(), 0, -1.62742, 15, 1.62742 + 0.0525);
    // T thick along the top up to the cut.
    EXPECT_TRUE(P.contains(QPointF(14.99, -1.52242)));
    EXPECT_TRUE(P.contains(QPointF(14.99, -1.62)));
    EXPECT_TRUE(P.contains(QPointF(14.99, -1.42)));
}

TEST_F(ArcTest, RightPieceIsTheMirrorEndingAtItsOrigin) {
    auto S = TNuo4SymbolArc::Create_Right(40, 12, 0, assEllipseStroke);
    S->Update(true);
    EXPECT_TRUE(S->IsRight());
    EXPECT_FALSE(S->IsForceVertLocation());
    ExpectRect(S->Bounds(), -12, -(1.52242 + 0.105), 12, 1.52242 + 0.105);
    ASSERT_EQ(S->ElementsCount(), 1);
    const TNuo4SymbolElement* E = S->ReadElement(0);
    ASSERT_TRUE(E && E->IsStroke());
    const QPainterPath& P = E->Path();
    ExpectRect(P.boundingRect(), -12, -1.52242, 12, 1.52242);
    // The corner descends to the end point at the origin.
    EXPECT_NEAR(P.elementAt(0).x, 0, Eps);
    EXPECT_NEAR(P.elementAt(0).y, 0, Eps);
    EXPECT_NEAR(P.currentPosition().x(), -12, Eps);
}

TEST_F(ArcTest, PieceShorterThanItsCornerStaysWithinItsLength) {
    // Whole length 100: h = 1.70715, the corner is 2.95687 wide, the piece only 2.
    for (TNuo4SymbolArcShape Shape : {assFlatStroke, assFlatFill}) {
        auto S = TNuo4SymbolArc::Create_Left(100, 2, 0, Shape);
        S->Update(true);
        const TGPRectF B = S->BlackBox();
        EXPECT_NEAR(B.left(), 0, Eps) << Shape;
        EXPECT_LE(B.right(), 2 + Eps) << Shape;
        EXPECT_GE(B.right(), 1.99) << Shape;
    }
}

TEST_F(ArcTest, PiecesNeverShowTupletNumbersOrEndMarks) {
    TrecNuo4SymbolArc R;
    R.SetToDefault();
    R.Style.Initialize(assEllipseFill, lscsLeft);
    R.ABCInfo = Info(3, aasArrowAndDot);
    R.ArcLength_LeftOrRight = 10;
    R.GetArcHeightAndThicknessFromArcLength();
    R.ABCInfo = Info(3, aasArrowAndDot);  // given again after the check
    TNuo4SymbolArc S(R);
    S.Update(true);
    EXPECT_EQ(S.ElementsCount(), 1);
    EXPECT_EQ(S.SymbolRec().Style.Shape, assFlatFill);
    EXPECT_EQ(S.TupletNumber(), 0);
    ExpectRect(S.Bounds(), 0, -(R.FArcHeight + R.FArcThickness / 2), 10,
               R.FArcHeight + R.FArcThickness / 2);
}

// ---- Tuplets --------------------------------------------------------------------------------

TEST_F(ArcTest, TupletArcHasTwoHalvesAndTheNumberOnTheApexLine) {
    auto S = Full(20, assEllipseFill, 3);
    ASSERT_EQ(S->ElementsCount(), 3);
    // Left half: 0.8 of the rising half of an ellipse of chord 2g = 17.696; the outer edge
    // stops at (7.902, -2.302), the inner one at x = 7.960.
    const TGPRectF L = ElementBox(*S, 0), R = ElementBox(*S, 1);
    EXPECT_NEAR(L.left(), 0, Eps);
    EXPECT_NEAR(L.right(), 7.9604, 0.01);
    EXPECT_NEAR(L.top(), -2.30235, 0.01);
    // The right half mirrors it about x = 10.
    EXPECT_NEAR(R.left(), 20 - L.right(), Eps);
    EXPECT_NEAR(R.right(), 20, Eps);
    EXPECT_NEAR(R.top(), L.top(), Eps);
    // The number's box: left-top (9.28, -h - 0.864), 1.44 x 1.728, sheared by 11.3 degrees.
    const TGPRectF N = ElementBox(*S, 2);
    EXPECT_GT(N.left(), 9.28 - 0.18);
    EXPECT_LT(N.right(), 10.72 + 0.18);
    EXPECT_GE(N.top(), -2.16887 - 0.864 - Eps);
    EXPECT_LE(N.bottom(), -2.16887 + 0.864 + Eps);
    EXPECT_NEAR(N.center().x(), 10, 0.2);
    // Layout bounds of a tuplet arc are its ink.
    ExpectRect(S->Bounds(), S->BlackBox().x(), S->BlackBox().y(), S->BlackBox().width(),
               S->BlackBox().height());
}

TEST_F(ArcTest, StrokedTupletArcIsTwoStrokesAndAFilledNumber) {
    auto S = Full(20, assFlatStroke, 5);
    ASSERT_EQ(S->ElementsCount(), 3);
    for (int I : {0, 1}) {
        const TNuo4SymbolElement* E = S->ReadElement(I);
        ASSERT_TRUE(E && E->IsStroke());
        EXPECT_NEAR(E->PenWidth(), 0.21, Eps);
    }
    EXPECT_FALSE(S->ReadElement(2)->IsStroke());
    // A flat shape keeps its own height: the number sits on -1.39605.
    EXPECT_NEAR(ElementBox(*S, 2).center().y(), -1.39605, 0.15);
}

TEST_F(ArcTest, TupletNumbersTwoToTwelveTakeOneOrTwoDigitCells) {
    for (int N = 2; N <= 12; ++N) {
        auto S = Full(20, assEllipseFill, N);
        ASSERT_EQ(S->ElementsCount(), 3) << N;
        const TGPRectF B = ElementBox(*S, 2);
        const double WN = N < 10 ? 1.44 : 2.88;
        EXPECT_GT(B.left(), 10 - WN / 2 - 0.18) << N;
        EXPECT_LT(B.right(), 10 + WN / 2 + 0.18) << N;
        if (N >= 10) EXPECT_GT(B.width(), 1.44) << N;
        // The halves leave the wider gap for two digits.
        EXPECT_LT(ElementBox(*S, 0).right(), B.left()) << N;
        EXPECT_GT(ElementBox(*S, 1).left(), B.right()) << N;
    }
    // Different digits draw differently.
    EXPECT_NE(ElementPath(*Full(20, assEllipseFill, 2), 2),
              ElementPath(*Full(20, assEllipseFill, 3), 2));
}

TEST_F(ArcTest, TupletNumberPathAndItsBox) {
    TGPRectF B;
    const TGPSizeF D(1.44, 1.728);
    QPainterPath P = TNuo4SymbolArc::CreatePath_TupletNumber(TGPPointF(1, 2), 12, D, false, B);
    ExpectRect(B, 1, 2, 2.88, 1.728);
    EXPECT_FALSE(P.isEmpty());
    EXPECT_GE(P.boundingRect().left(), 1 - Eps);
    EXPECT_LE(P.boundingRect().right(), 3.88 + Eps);
    // The units digit stands one cell right of the tens digit.
    QPainterPath One = TNuo4SymbolArc::CreatePath_TupletNumber(TGPPointF(1, 2), 1, D, false, B);
    ExpectRect(B, 1, 2, 1.44, 1.728);
    QPainterPath Two = TNuo4SymbolArc::CreatePath_TupletNumber(TGPPointF(2.44, 2), 2, D, false, B);
    QPainterPath Both = One;
    Both.addPath(Two);
    EXPECT_NEAR(P.boundingRect().left(), Both.boundingRect().left(), Eps);
    EXPECT_NEAR(P.boundingRect().right(), Both.boundingRect().right(), Eps);
    // Italic leans right above the centre line and keeps that line.
    QPainterPath I = TNuo4SymbolArc::CreatePath_TupletNumber(TGPPointF(1, 2), 8, D, true, B);
    QPainterPath U = TNuo4SymbolArc::CreatePath_TupletNumber(TGPPointF(1, 2), 8, D, false, B);
    EXPECT_NEAR(I.boundingRect().top(), U.boundingRect().top(), Eps);
    EXPECT_GT(I.boundingRect().right(), U.boundingRect().right() + 0.05);
    EXPECT_LT(I.boundingRect().left(), U.boundingRect().left() - 0.05);
    EXPECT_NEAR(I.boundingRect().center().x(), U.boundingRect().center().x(), 0.05);
    for (int N : {0, 100, -3}) {
        P = TNuo4SymbolArc::CreatePath_TupletNumber(TGPPointF(1, 2), N, D, true, B);
        EXPECT_TRUE(P.isEmpty()) << N;
        EXPECT_TRUE(RectIsEmpty(B)) << N;
    }
}

TEST_F(ArcTest, TupletArcTooShortForItsNumberIsEmpty) {
    // One digit needs 1.44 + 0.6 * 1.44 = 2.304; two digits 3.744.
    auto A = Full(2.2, assEllipseFill, 3);
    EXPECT_EQ(A->ElementsCount(), 0);
    EXPECT_TRUE(RectIsEmpty(A->Bounds()));
    EXPECT_EQ(Full(2.4, assEllipseFill, 3)->ElementsCount(), 3);
    EXPECT_EQ(Full(3.7, assEllipseFill, 12)->ElementsCount(), 0);
    EXPECT_EQ(Full(3.8, assEllipseFill, 12)->ElementsCount(), 3);
}

TEST_F(ArcTest, TupletNumbersOutsideOneToNinetyNine) {
    // 100 and more draw nothing at all; a negative number is no tuplet and the arc is plain.
    EXPECT_EQ(Full(20, assEllipseFill, 100)->ElementsCount(), 0);
    auto N = Full(20, assEllipseFill, -3);
    EXPECT_EQ(N->ElementsCount(), 1);
    ExpectRect(N->Bounds(), 0, -2.31887, 20, 2.31887);
    EXPECT_EQ(Full(20, assEllipseFill, 99)->ElementsCount(), 3);
}

// ---- End marks ------------------------------------------------------------------------------

TEST_F(ArcTest, ArrowAndDotFollowTheCurveInThatOrder) {
    // k = (20 / 2.4)^(1/4) = 1.69904; arrow a = 3.05827 with beta = 26.667 degrees.
    auto S = Full(20, assEllipseFill, 0, aasArrowAndDot);
    ASSERT_EQ(S->ElementsCount(), 3);
    const TGPRectF A = ElementBox(*S, 1);
    EXPECT_NEAR(A.left(), 16.95187, Eps);
    EXPECT_NEAR(A.right(), 20, Eps);
    EXPECT_NEAR(A.top(), -2.29640, Eps);
    EXPECT_NEAR(A.bottom(), 0, Eps);
    // The four-sided head has its notch at E - 0.6 a (cos beta, sin beta).
    const QPainterPath Head = ElementPath(*S, 1);
    EXPECT_FALSE(Head.contains(QPointF(18.2, -0.9)));
    EXPECT_TRUE(Head.contains(QPointF(19.5, -0.4)));
    // The dot: diameter 0.4 k W0 = 1.63108 on the apex.
    ExpectRect(ElementBox(*S, 2), 10 - 0.81554, -2.16887 - 0.81554, 1.63108, 1.63108);
}

TEST_F(ArcTest, SingleEndMarks) {
    auto A = Full(20, assEllipseFill, 0, aasArrow);
    EXPECT_EQ(A->ElementsCount(), 2);
    auto D = Full(20, assFlatStroke, 0, aasDot);
    ASSERT_EQ(D->ElementsCount(), 2);
    EXPECT_NEAR(ElementBox(*D, 1).center().y(), -1.39605, Eps);
    auto L = Full(20, assEllipseFill, 0, aasHorzLine);
    ASSERT_EQ(L->ElementsCount(), 2);
    // 1.5 k = 2.54856 long, 0.06 H0 = 0.18 high, ending at the chord's right end.
    ExpectRect(ElementBox(*L, 1), 20 - 2.54856, -0.09, 2.54856, 0.18);
}

TEST_F(ArcTest, ArrowOfAnArcLongerThan35DigitsPointsBelowTheHorizontal) {
    // beta = 35 - 90 / 2.4 = -2.5 degrees: the lower barb dips under the chord.
    auto S = Full(90, assFlatFill, 0, aasArrow);
    ASSERT_EQ(S->ElementsCount(), 2);
    EXPECT_GT(ElementBox(*S, 1).bottom(), 0.5);
    EXPECT_NEAR(ElementBox(*S, 1).right(), 90, Eps);
}

TEST_F(ArcTest, TupletArcKeepsItsEndMark) {
    auto S = Full(20, assEllipseFill, 3, aasHorzLine);
    EXPECT_EQ(S->ElementsCount(), 4);
}

// ---- The symbol -----------------------------------------------------------------------------

TEST_F(ArcTest, ArcSymbolSlotsAndStyles) {
    auto S = Full(20, assEllipseFill);
    EXPECT_EQ(S->GetSymbolType(), sbstArc);
    EXPECT_TRUE(S->IsFull());
    S->SetNoteStyleIndex(TrecNuo4NoteStyleIndex::Create(2, nssGrace));
    EXPECT_EQ(S->SymbolRec().NoteStyleIndex, TrecNuo4NoteStyleIndex::Create(2, nssGrace));
    // Height and thickness stay as created; a redraw keeps the curve.
    S->Update(false);
    EXPECT_NEAR(S->BlackBox().height(), 2.39387, Eps);

    // The tuplet digits follow the style: grace digits are 0.65 of the normal ones.
    auto T = Full(20, assEllipseFill, 3);
    const double Normal = ElementBox(*T, 2).height();
    T->SetSubStyle(nssGrace);
    T->Update(false);
    EXPECT_NEAR(ElementBox(*T, 2).height(), 0.65 * Normal, 0.02);
}

TEST_F(ArcTest, FilledArcDrawsInkOnTheCrescentOnly) {
    auto S = Full(20, assEllipseFill);
    S->SetPos(TGPPointF(5, 10));
    const QImage Img = Render(*S, 30, 15);
    EXPECT_TRUE(Near(PixelAtMm(Img, 15, 10 - 2.17), qRgb(0, 0, 0), 60));
    EXPECT_TRUE(Near(PixelAtMm(Img, 15, 10 - 1.8), qRgb(255, 255, 255)));
    EXPECT_TRUE(Near(PixelAtMm(Img, 15, 10 - 2.6), qRgb(255, 255, 255)));
}

// ---- Special arcs ---------------------------------------------------------------------------

TEST_F(ArcTest, SpecialArcRecordBecomesACheckedArcRecord) {
    TrecNuo4SymbolAttachArc A;
    A.SetToDefault(lscsFull, true);
    A.NoteStyleIndex = TrecNuo4NoteStyleIndex::Create(1, nssZip);
    A.TupletNumber = 6;
    A.ArrowStyle = aasDot;
    TrecNuo4SymbolArc R = ToSymbolRecArc(A);
    EXPECT_EQ(R.NoteStyleIndex, A.NoteStyleIndex);
    EXPECT_EQ(R.ABCInfo.TupletNumber, 6);
    EXPECT_EQ(R.ABCInfo.ArrowStyle, aasDot);
    EXPECT_EQ(R.ABCInfo.VertOffsetCoef, 0);
    EXPECT_EQ(R.Style.Shape, assEllipseFill);
    EXPECT_FLOAT_EQ(R.ArcLength_Full, 10);
    EXPECT_FLOAT_EQ(R.ArcLength_LeftOrRight, 0);
    double H, T;
    TNuo4SymbolArc::GetArcHeightAndThickness(assEllipseFill, 10, A.NoteStyleIndex, H, T);
    EXPECT_NEAR(R.FArcHeight, H, Eps);

    // A piece: its whole length is twice the piece, flat, plain.
    A.ContinueStyle = lscsLeft;
    R = ToSymbolRecArc(A);
    EXPECT_EQ(R.Style.Shape, assFlatFill);
    EXPECT_EQ(R.ABCInfo.TupletNumber, 0);
    EXPECT_FLOAT_EQ(R.ArcLength_Full, 10);
    EXPECT_FLOAT_EQ(R.ArcLength_LeftOrRight, 5);
    A.NoteStyleIndex = TrecNuo4NoteStyleIndex();
    R = ToSymbolRecArc(A);
    EXPECT_NEAR(R.FArcHeight, 0.96 * std::pow(10.0, 0.125), Eps);
}

TEST_F(ArcTest, SpecialArcPathesMatchTheVoiceArc) {
    TrecNuo4SymbolAttachArc A;
    A.SetToDefault(lscsFull, true);
    A.TupletNumber = 5;
    EXPECT_EQ(GetPathes(A).size(), 3u);
    A.ArrowStyle = aasArrowAndDot;
    A.TupletNumber = 0;
    const TNuo4SymbolPathes P = GetPathes(A);
    ASSERT_EQ(P.size(), 3u);
    auto V = Full(10, assEllipseFill, 0, aasArrowAndDot);
    for (int I = 0; I < 3; ++I) EXPECT_EQ(P[I].APath.boundingRect(), ElementBox(*V, I)) << I;
    // A piece with a tuplet number is a plain piece.
    A.ContinueStyle = lscsRight;
    A.TupletNumber = 3;
    const TNuo4SymbolPathes R = GetPathes(A);
    ASSERT_EQ(R.size(), 1u);
    EXPECT_NEAR(R[0].APath.boundingRect().left(), -5, Eps);
    EXPECT_NEAR(R[0].APath.boundingRect().right(), 0, Eps);
}

TEST_F(ArcTest, SpecialArcSymbolKeepsItsOwnStyleAndMeasuresItsInk) {
    TrecNuo4SymbolAttachArc A;
    A.SetToDefault(lscsFull, true);
    TNuo4SymbolAttachArc S(A);
    S.Update(true);
    EXPECT_EQ(S.GetSymbolType(), sbstAttachArc);
    ASSERT_EQ(S.ElementsCount(), 1);
    // 0.28 sqrt(10) sqrt(3) = 1.53362, T = 0.3; the bounds are the ink, down to T/4 below.
    ExpectRect(S.Bounds(), 0, -1.68362, 10, 1.68362 + 0.075);
    const TGPRectF Before = S.BlackBox();
    S.SetNoteStyleIndex(TrecNuo4NoteStyleIndex::Create(3, nssGrace));
    S.Update(false);
    EXPECT_EQ(S.SymbolRec().NoteStyleIndex, TrecNuo4NoteStyleIndex());
    EXPECT_EQ(S.BlackBox(), Before);
}

TEST_F(ArcTest, SpecialArcProperties) {
    TrecNuo4SymbolAttachArc A;
    A.SetToDefault(lscsLeft, false);
    TNuo4SymbolAttachArc S(A);
    EXPECT_TRUE(S.IsLeft());
    EXPECT_EQ(S.Ocupy(), (1 << atotUp) | (1 << atotDown));
    S.SetOcupy(0);
    EXPECT_EQ(S.Ocupy(), 0);
    EXPECT_FALSE(S.SymbolRec().bOcupy);
    S.SetLength(7);
    EXPECT_FLOAT_EQ(S.Length(), 7);
    EXPECT_FLOAT_EQ(S.SymbolRec().Length_Full, 14);
    S.Update(false);
    EXPECT_NEAR(S.BlackBox().right(), 7, Eps);
    EXPECT_FALSE(S.AutoAlign());
    S.SetAutoAlign(true);
    EXPECT_TRUE(S.AutoAlign());
}

}  // namespace
