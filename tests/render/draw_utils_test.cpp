#include "render/draw_utils.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

using namespace nuo4;

namespace {

// A white image of AWmm x AHmm at 254 dpi (10 pixels per millimetre).
QImage MakeImage(int AWmm, int AHmm) {
    QImage Img(AWmm * 10, AHmm * 10, QImage::Format_ARGB32);
    Img.setDotsPerMeterX(10000);
    Img.setDotsPerMeterY(10000);
    Img.fill(Qt::white);
    return Img;
}

// The bounding box, in pixels, of all pixels darker than mid grey.
QRect InkBox(const QImage& AImg) {
    int L = AImg.width(), T = AImg.height(), R = -1, B = -1;
    for (int Y = 0; Y < AImg.height(); ++Y)
        for (int X = 0; X < AImg.width(); ++X)
            if (qGray(AImg.pixel(X, Y)) < 128) {
                L = std::min(L, X);
                R = std::max(R, X);
                T = std::min(T, Y);
                B = std::max(B, Y);
            }
    return R < 0 ? QRect() : QRect(QPoint(L, T), QPoint(R, B));
}

}  // namespace

TEST(RectUnionRule, EmptyDestinationTakesSourceWithSuppressedAxisCollapsed) {
    TGPRectF Dst;
    RectUnion(Dst, TGPRectF(1, 2, 4, 6), false, true);
    EXPECT_DOUBLE_EQ(Dst.x(), 1);
    EXPECT_DOUBLE_EQ(Dst.width(), 4);
    EXPECT_NEAR(Dst.height(), 0.01, 1e-12);
    EXPECT_NEAR(Dst.center().y(), 5, 1e-12);
    TGPRectF D2(0, 0, 1, 1);
    RectUnion(D2, TGPRectF(5, 5, 1, 1), true, false);  // only vertical grows
    EXPECT_DOUBLE_EQ(D2.width(), 1);
    EXPECT_DOUBLE_EQ(D2.height(), 6);
    TGPRectF D3(0, 0, 1, 1);
    RectUnion(D3, TGPRectF(5, 5, 0, 1));  // an empty source changes nothing
    EXPECT_EQ(D3, TGPRectF(0, 0, 1, 1));
    EXPECT_TRUE(RectIsEmpty(TGPRectF(0, 0, 5, 1e-8)));
}

TEST(UnitConversion, RatiosBetweenPixelsPointsAndMillimetres) {
    EXPECT_DOUBLE_EQ(TKoGDIPlusCommon::GetUnitConverRatio(kuMillimeter, kuPixel, 254), 10);
    EXPECT_DOUBLE_EQ(TKoGDIPlusCommon::GetUnitConverRatio(kuPixel, kuPoint, 96), 0.75);
    EXPECT_DOUBLE_EQ(TKoGDIPlusCommon::GetUnitConverRatio(kuInch, kuPixel, 96), 1);
    EXPECT_EQ(TKoGDIPlusCommon::GPColorToColorRef(0xFF112233u), 0x332211u);
    EXPECT_EQ(TKoGDIPlusCommon::ColorRefToGPColor(0x332211u), 0xFF112233u);
}

TEST(WorldTransform, PointsAreTranslatedFirstThenScaled) {
    QImage Img = MakeImage(10, 10);
    QPainter P(&Img);
    TKoGraphics G(&P);
    PrepareGraphics(G, 1.0);
    TKoGDIPlusTransform::SetWorldTransform(G, 2, 3, 1, 1);
    const QPointF D = TKoGDIPlusTransform::WorldToDevice_Point(G, QPointF(1, 1));
    EXPECT_NEAR(D.x(), (1 + 1) * 2 * 10, 1e-9);
    EXPECT_NEAR(D.y(), (1 + 1) * 3 * 10, 1e-9);
    double Sx, Sy, Ox, Oy;
    TKoGDIPlusTransform::GetWorldTransformInfo(G, Sx, Sy, Ox, Oy);
    EXPECT_DOUBLE_EQ(Sx, 2);
    EXPECT_DOUBLE_EQ(Oy, 1);
    const QPointF Back = TKoGDIPlusTransform::DeviceToWorld_Point(G, D);
    EXPECT_NEAR(Back.x(), 1, 1e-9);
}

TEST(Drawing, FilledMillimetrePathLandsOnTheRightPixels) {
    QImage Img = MakeImage(20, 20);
    {
        QPainter P(&Img);
        TKoGraphics G(&P);
        PrepareGraphics(G, 1.0);
        G.TranslateTransform(5, 5);
        QPainterPath R;
        R.addRect(0, 0, 4, 2);
        TKoGDIPlusPath::PathFill(&G, R, 0xFF000000u);
    }
    const QRect Box = InkBox(Img);
    EXPECT_EQ(Box, QRect(50, 50, 40, 20));
    EXPECT_EQ(Img.pixel(70, 60), qRgb(0, 0, 0));
}

TEST(Drawing, RoundedRingIsHollow) {
    QImage Img = MakeImage(20, 20);
    {
        QPainter P(&Img);
        TKoGraphics G(&P);
        PrepareGraphics(G, 1.0);
        TKoGDIPlusPath::PathFill(
            &G, TKoGDIPlusPath::CreateRoundedRectWithThickness(TGPRectF(2, 2, 16, 16), 2, 1),
            0xFF000000u);
    }
    EXPECT_EQ(InkBox(Img), QRect(15, 15, 170, 170));
    EXPECT_EQ(Img.pixel(100, 100), qRgb(255, 255, 255));  // the middle stays white
    EXPECT_EQ(Img.pixel(100, 20), qRgb(0, 0, 0));         // the top edge is inked
}

TEST(Drawing, DashedStrokeUsesMillimetreDashesOnEveryDevice) {
    for (int Dpm : {10000, 40000}) {  // 254 and 1016 dpi
        QImage Img(30 * Dpm / 1000, 4 * Dpm / 1000, QImage::Format_ARGB32);
        Img.setDotsPerMeterX(Dpm);
        Img.setDotsPerMeterY(Dpm);
        Img.fill(Qt::white);
        {
            QPainter P(&Img);
            TKoGraphics G(&P);
            PrepareGraphics(G, 1.0);
            QPainterPath L(QPointF(0, 2));
            L.lineTo(30, 2);
            TKoGDIPlusPath::PathStroke_Dashed(&G, L, 0xFF000000u, 0.5, 1.2, 0.9);
        }
        // Count dark runs along the middle row: 30 mm / 2.1 mm per period gives 15 dashes.
        int Runs = 0;
        bool bIn = false;
        const int Y = Img.height() / 2;
        for (int X = 0; X < Img.width(); ++X) {
            const bool bDark = qGray(Img.pixel(X, Y)) < 128;
            if (bDark && !bIn) ++Runs;
            bIn = bDark;
        }
        EXPECT_EQ(Runs, 15) << "dots per metre " << Dpm;
    }
}

TEST(Fonts, WindowsFamilyNamesMapToInstalledFonts) {
    for (const char* Name : {"微软雅黑", "楷体", "仿宋", "Arial", "Courier New", "Tahoma"}) {
        const QString Resolved = TKoGDIPlusFont::ResolveFamily(QString::fromUtf8(Name));
        EXPECT_FALSE(Resolved.isEmpty()) << Name;
        EXPECT_TRUE(TKoGDIPlusFont::FamilyInstalled(Resolved)) << Name;
    }
    EXPECT_TRUE(TKoGDIPlusFont::ResolveFamily("No Such Family 123").isEmpty());
    const TKoFont F = TKoGDIPlusFont::CreateFont("No Such Family 123", 3.5, FontStyleItalic);
    EXPECT_EQ(F.FamilyName, TKoGDIPlusFont::ResolveFamily("Arial"));  // the Arial fallback
    EXPECT_EQ(F.Style, FontStyleItalic);
    EXPECT_TRUE(
        TKoGDIPlusFont::CodePointExists(TKoGDIPlusFont::CreateFont("微软雅黑", 3, 0), 0x4E2D));
}

// Mainland punctuation sits at the left of its cell; a centred "。" is Taiwan's.
TEST(Fonts, KaiMapsToMainlandPunctuation) {
    for (const char* Name : {"楷体", "楷体_GB2312", "KaiTi"}) {
        const TKoFont F = TKoGDIPlusFont::CreateFont(QString::fromUtf8(Name), 10.0, 0);
        for (const char* Mark : {"。", "，"}) {
            const QString Text = QString::fromUtf8(Mark);
            const TGPRectF Cell = TKoGDIPlusText::MeasureStringAtLT(nullptr, Text, F, {0, 0});
            const QRectF Ink =
                TKoGDIPlusPath::CreateTextPath_AtLT(F, Text, QPointF(0, 0)).boundingRect();
            EXPECT_LT(Ink.center().x(), Cell.center().x() - 0.08 * Cell.width())
                << Name << " " << Mark << " in " << F.FamilyName.toStdString();
        }
    }
}

TEST(TextMeasuring, ReferencePositionsMoveTheBox) {
    const TKoFont F = TKoGDIPlusFont::CreateFont("Arial", 5.0, 0);
    const TKoFontMetrics M = TKoGDIPlusFont::GetFontMetrics(F);
    EXPECT_GT(M.WinAscent, 3.0);
    EXPECT_LT(M.WinAscent, 5.5);
    const TGPRectF LT = TKoGDIPlusText::MeasureStringAtLT(nullptr, "Hello", F, QPointF(10, 10));
    EXPECT_GT(LT.width(), 5.0);
    EXPECT_NEAR(LT.height(), M.WinAscent + M.WinDescent, 1e-6);
    const TGPRectF MB =
        TKoGDIPlusText::MeasureStringAtPos(nullptr, "Hello", F, QPointF(10, 10), rpMiddleBaseline);
    EXPECT_NEAR(MB.center().x(), 10, 1e-6);
    EXPECT_NEAR(MB.top() + M.WinAscent, 10, 1e-6);
    const TGPRectF RD =
        TKoGDIPlusText::MeasureStringAtPos(nullptr, "Hello", F, QPointF(10, 10), rpRightDescent);
    EXPECT_NEAR(RD.right(), 10, 1e-6);
    EXPECT_NEAR(RD.bottom(), 10, 1e-6);
    const TGPRectF Range =
        TKoGDIPlusText::MeasureStringRange(nullptr, "Hello", F, QPointF(0, 0), 1, 2);
    EXPECT_GT(Range.x(), 0);
    EXPECT_LT(Range.right(), LT.width());
    EXPECT_TRUE(
        TKoGDIPlusText::MeasureStringRange(nullptr, "Hello", F, QPointF(0, 0), 7, 1).isNull());
}

TEST(TextPaths, GlyphsSitOnTheBaselineOfTheMeasuredBox) {
    const TKoFont F = TKoGDIPlusFont::CreateFont("Arial", 10.0, 0);
    const QPainterPath P =
        TKoGDIPlusPath::CreateTextPath(nullptr, F, "H", QPointF(0, 0), rpLeftBaseline);
    const QRectF B = P.boundingRect();
    EXPECT_NEAR(B.bottom(), 0, 0.05);  // "H" stands on the baseline
    EXPECT_LT(B.top(), -6.0);          // cap height of a 10 mm font
    EXPECT_GT(B.left(), -0.01);
    const QPainterPath CJK = TKoGDIPlusPath::CreateTextPath(nullptr, F, QString::fromUtf8("中"),
                                                            QPointF(0, 0), rpLeftTop);
    EXPECT_FALSE(CJK.isEmpty());  // drawn with a fallback font
}

TEST(TextPaths, MultiLineTextWrapsAndAligns) {
    const TKoFont F = TKoGDIPlusFont::CreateFont("Arial", 4.0, 0);
    TGPRectF Bounds;
    const QPainterPath P = TKoGDIPlusPath::CreateTextPath_MultiLines(
        nullptr, F, "one two three four five six", QPointF(5, 5), 20.0, saCenter, Bounds, false);
    EXPECT_DOUBLE_EQ(Bounds.x(), 5);
    EXPECT_LE(Bounds.width(), 20.0);
    const TKoFontMetrics M = TKoGDIPlusFont::GetFontMetrics(F);
    EXPECT_GT(Bounds.height(), 1.5 * (M.WinAscent + M.WinDescent));  // wrapped onto several lines
    EXPECT_GE(P.boundingRect().left(), 5.0);
    TGPRectF B2;
    EXPECT_TRUE(TKoGDIPlusPath::CreateTextPath_MultiLines(nullptr, F, "a\nb", QPointF(0, 0), 0,
                                                          saNear, B2, true)
                    .isEmpty());
    EXPECT_NEAR(B2.height(), 2 * (M.WinAscent + M.WinDescent), 1e-6);
}

TEST(PathOperations, ItalicMirrorAndTransformedBounds) {
    QPainterPath P;
    P.addRect(0, -2, 1, 2);
    QPainterPath I = P;
    TKoGDIPlusPath::PathItalic(I, 45);
    EXPECT_NEAR(I.boundingRect().right(), 3, 1e-9);  // the top moves right by its height
    QPainterPath M = P;
    TKoGDIPlusPath::PathMirrorY(M, 2);
    EXPECT_NEAR(M.boundingRect().left(), 3, 1e-9);
    QTransform R;
    R.rotate(90);
    const TGPRectF B = TKoGDIPlusPath::GetNewBoundsAfterTransform(TGPRectF(0, 0, 2, 1), R);
    EXPECT_NEAR(B.width(), 1, 1e-9);
    EXPECT_NEAR(B.height(), 2, 1e-9);
    EXPECT_TRUE(RectIsEmpty(TKoGDIPlusPath::GetNewBoundsAfterTransform(TGPRectF(), R)));
    QPainterPath Dst;
    TKoGDIPlusPath::PathAdd(Dst, QPainterPath(), false, true);
    EXPECT_TRUE(TKoGDIPlusPath::PathIsEmpty(Dst));
    TKoGDIPlusPath::PathAdd(Dst, P, false, true);
    EXPECT_EQ(Dst.fillRule(), Qt::OddEvenFill);
}

TEST(PrivateFonts, MissingResourceGivesMinusOne) {
    TKoGDIPlusPrivateFontCollection C;
    EXPECT_EQ(C.AddResouceFile(":/no/such/font.ttf"), -1);
    EXPECT_EQ(C.Count(), 0);
    EXPECT_EQ(C.AddFontData("junk", QByteArray("not a font")), -1);
}
