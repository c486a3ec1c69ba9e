// Volta brackets, the lines and shapes of standard texts, the layout of text elements and the
// symbol classes. Document digit W0 = 2.4, H0 = 3 (e = 0.07 H0 = 0.21).
#include "render/text_glyphs.h"

#include <cmath>

#include "basic_glyphs_test_support.h"
#include "render/basic_glyphs.h"
#include "render/symbol_basic.h"

using namespace nuo4;
using namespace nuo4::test;

namespace {

std::vector<QPointF> Points(const QPainterPath& P) {
    std::vector<QPointF> R;
    for (int I = 0; I < P.elementCount(); ++I) R.push_back(P.elementAt(I));
    return R;
}

// ---- Volta bracket --------------------------------------------------------------------------

using FangZiGlyph = GlyphTest;

TEST_F(FangZiGlyph, FullBracketHasTextAndOpenRectangle) {
    TrecNuo4SymbolFangZi R;
    R.FangZiLength = 30;
    R.FangZiHeight = 5;
    TGPRectF B;
    const TNuo4SymbolPathes P = CreatePath_FangZi(R, B, false);
    ExpectRect(B, 0, 0, 30, 5);
    ASSERT_EQ(P.size(), 2u);
    EXPECT_FALSE(P[0].IsStroke());
    const QRectF Text = P[0].APath.boundingRect();
    EXPECT_GE(Text.left(), 2.4 - 0.3);  // left-top of the text box at (W0, 0)
    EXPECT_GE(Text.top(), 0);
    ASSERT_TRUE(P[1].IsStroke());
    EXPECT_FALSE(P[1].IsDashed());
    EXPECT_NEAR(P[1].PenWidth, 0.21, Eps);
    const std::vector<QPointF> Pts = Points(P[1].APath);
    ASSERT_EQ(Pts.size(), 4u);
    EXPECT_EQ(Pts[0], QPointF(0, 5));
    EXPECT_EQ(Pts[1], QPointF(0, 0));
    EXPECT_EQ(Pts[2], QPointF(30, 0));
    EXPECT_EQ(Pts[3], QPointF(30, 5));
}

TEST_F(FangZiGlyph, LeftPieceIsOpenAtItsRightEnd) {
    TrecNuo4SymbolFangZi R;
    R.ContinueStyle = lscsLeft;
    R.FangZiLength = 20;
    R.FangZiHeight = 4;
    TGPRectF B;
    const TNuo4SymbolPathes P = CreatePath_FangZi(R, B, false);
    ExpectRect(B, 0, 0, 20, 4);
    ASSERT_EQ(P.size(), 2u);
    const std::vector<QPointF> Pts = Points(P[1].APath);
    ASSERT_EQ(Pts.size(), 3u);
    EXPECT_EQ(Pts[0], QPointF(0, 4));
    EXPECT_EQ(Pts[2], QPointF(20, 0));
}

TEST_F(FangZiGlyph, ContinuationHasNoTextAndHooksDownAtItsRightEnd) {
    TrecNuo4SymbolFangZi R;
    R.ContinueStyle = lscsRight;
    R.FangZiLength = 12;
    R.FangZiHeight = 4;
    TGPRectF B;
    const TNuo4SymbolPathes P = CreatePath_FangZi(R, B, false);
    ExpectRect(B, -12, 0, 12, 4);
    ASSERT_EQ(P.size(), 1u);
    ASSERT_TRUE(P[0].IsStroke());
    const std::vector<QPointF> Pts = Points(P[0].APath);
    ASSERT_EQ(Pts.size(), 3u);
    EXPECT_EQ(Pts[0], QPointF(-12, 0));
    EXPECT_EQ(Pts[1], QPointF(0, 0));
    EXPECT_EQ(Pts[2], QPointF(0, 4));
}

TEST_F(FangZiGlyph, HeightNearZeroIsAutomatic) {
    const double Auto = 0.8 * MusicFont_GetFontInfoItem(fuFangZiText).LineSpacing;
    ASSERT_GT(Auto, 0);
    EXPECT_NEAR(GetFangZiAutoHeight(), Auto, Eps);
    TrecNuo4SymbolFangZi R;
    R.FangZiHeight = 0.005f;
    TGPRectF B;
    CreatePath_FangZi(R, B, true);
    EXPECT_NEAR(B.height(), Auto, Eps);
    R.FangZiHeight = 0.02f;
    CreatePath_FangZi(R, B, true);
    EXPECT_NEAR(B.height(), 0.02, 1e-6);
}

TEST_F(FangZiGlyph, EscapesOfTheTextAreResolved) {
    TrecNuo4SymbolFangZi A, B;
    A.Text_ABC = u"1.\\s2.";
    B.Text_ABC = u"1. 2.";
    TGPRectF RA, RB;
    const TNuo4SymbolPathes PA = CreatePath_FangZi(A, RA, false);
    const TNuo4SymbolPathes PB = CreatePath_FangZi(B, RB, false);
    ASSERT_EQ(PA.size(), 2u);
    ASSERT_EQ(PB.size(), 2u);
    EXPECT_TRUE(PA[0].APath == PB[0].APath);
}

TEST_F(FangZiGlyph, SymbolKeepsItsBoundsAndFactoriesSetTheContinuation) {
    auto Full = TNuo4SymbolFangZi::Create_Full(25, u"2.", 3);
    EXPECT_EQ(Full->GetSymbolType(), sbstFangZi);
    EXPECT_EQ(Full->Rec().ContinueStyle, lscsFull);
    ExpectRect(Full->Bounds(), 0, 0, 25, 3);
    Full->Update(true);
    EXPECT_EQ(Full->ElementsCount(), 2);
    auto Right = TNuo4SymbolFangZi::Create_Right(8, 3);
    EXPECT_EQ(Right->Rec().ContinueStyle, lscsRight);
    EXPECT_TRUE(Right->Rec().Text_ABC.empty());
    Right->Update(true);
    EXPECT_EQ(Right->ElementsCount(), 1);
    ExpectRect(Right->Bounds(), -8, 0, 8, 3);
    auto Left = TNuo4SymbolFangZi::Create_Left(8, u"1.", 0);
    Left->Update(true);
    EXPECT_NEAR(Left->Bounds().height(), TNuo4SymbolFangZi::GetFangZiHeight(), Eps);
}

// ---- Lines and shapes -----------------------------------------------------------------------

using LineGlyph = GlyphTest;

TEST_F(LineGlyph, SolidLinesHorizontalAndVertical) {
    TGPRectF B;
    TNuo4SymbolPathes P = CreatePath_SolidLine(TGPPointF(1, 2), 10, false, B, false);
    ExpectRect(B, 1, 2, 10, 0.21);
    ASSERT_EQ(P.size(), 1u);
    ExpectRect(P[0].APath.boundingRect(), 1, 2, 10, 0.21);
    P = CreatePath_SolidLine(TGPPointF(1, 2), 10, true, B, false);
    ExpectRect(B, 1, 2, 0.24, 10);
    EXPECT_TRUE(CreatePath_SolidLine(TGPPointF(), 0, false, B, false).empty());
}

TEST_F(LineGlyph, DashedLineCountsAndSpacesItsDashes) {
    // L = 10: n = trunc((10 / 2.4 - 0.6) / 1.02) + 2 = 5, spaced (10 - 1.44) / 4.
    TGPRectF B;
    const TNuo4SymbolPathes P =
        CreatePath_GeneralLine(TGPPointF(3, 1), gltDashedLine, 10, false, B, false);
    ExpectRect(B, 3, 1, 10, 0.21);
    ASSERT_EQ(P.size(), 1u);
    EXPECT_EQ(FigureCount(P[0].APath), 5);
    ExpectRect(P[0].APath.boundingRect(), 3, 1, 10, 0.21);
    QPainterPath Second;
    Second.addRect(QRectF(3 + 1.5, 0, 2.5, 2));
    ExpectRect(P[0].APath.intersected(Second).boundingRect(), 3 + 2.14, 1, 1.44, 0.21);
}

TEST_F(LineGlyph, DottedLineRoundsHalvesToEven) {
    // A digit of 2 x 4 mm: dots of 0.56 about every 1 mm; 10 mm -> 11 dots, 2.5 -> 2 -> 3 dots,
    // 3.5 -> 4 -> 5 dots, 3.4 -> 3 -> 4 dots.
    Nuo4DocOptions().Param_MainDigit.Height = 4.0f;
    Nuo4DocOptions().Param_MainDigit.WHRatio = 0.5f;
    struct Case {
        double L;
        int Dots;
    };
    for (const Case& C : {Case{10, 11}, Case{2.5, 3}, Case{3.5, 5}, Case{3.4, 4}}) {
        TGPRectF B;
        const TNuo4SymbolPathes P =
            CreatePath_GeneralLine(TGPPointF(0, 0), gltDottedLine, C.L, false, B, false);
        ExpectRect(B, -0.28, -0.28, C.L, 0.56);
        ASSERT_EQ(P.size(), 1u);
        EXPECT_EQ(FigureCount(P[0].APath), C.Dots) << C.L;
        // First and last dots lie on the ends.
        ExpectRect(P[0].APath.boundingRect(), -0.28, -0.28, C.L + 0.56, 0.56, 1e-3);
    }
}

TEST_F(LineGlyph, WaveLineIsStretchedToItsLengthFromItsStart) {
    // One copy 1.309 W0 = 3.1416 wide and 0.825 high.
    TGPRectF B;
    const TNuo4SymbolPathes P = CreatePath_WaveLine(TGPPointF(5, 2), 10, false, B, false);
    ExpectRect(B, 5, 2, 10, 0.825);
    ASSERT_EQ(P.size(), 1u);
    EXPECT_TRUE(InkWithin(P[0].APath.boundingRect(), B, 0.05));
    EXPECT_NEAR(P[0].APath.boundingRect().left(), 5, 0.2);
    EXPECT_NEAR(P[0].APath.boundingRect().right(), 15, 0.2);
}

TEST_F(LineGlyph, VerticalWaveLineHangsFromItsPoint) {
    TGPRectF B;
    const TNuo4SymbolPathes P = CreatePath_WaveLine(TGPPointF(5, 2), 10, true, B, false);
    ExpectRect(B, 5, 2, 0.825, 10);
    ASSERT_EQ(P.size(), 1u);
    EXPECT_TRUE(InkWithin(P[0].APath.boundingRect(), B, 0.05));
    EXPECT_NEAR(P[0].APath.boundingRect().top(), 2, 0.2);
}

TEST_F(LineGlyph, ArrowsFillTheirBoxes) {
    TGPRectF B;
    TNuo4SymbolPathes P =
        CreatePath_GeneralLine(TGPPointF(1, 1), gltSolidLine_Arrow, 10, false, B, false);
    ExpectRect(B, 1, 1, 10, 1.05);
    ASSERT_EQ(P.size(), 1u);
    ExpectRect(P[0].APath.boundingRect(), 1, 1, 10, 1.05);
    // The tip at the right end's middle.
    EXPECT_TRUE(P[0].APath.contains(QPointF(10.9, 1.525)));
    EXPECT_FALSE(P[0].APath.contains(QPointF(10.9, 1.2)));

    P = CreatePath_GeneralLine(TGPPointF(1, 1), gltSolidLine_Arrow_SingleSide, 10, false, B, false);
    ExpectRect(B, 1, 1, 10, 0.8925);
    ExpectRect(P[0].APath.boundingRect(), 1, 1, 10, 0.8925);
    // Half head: ink above the bar only on the barbed side.
    EXPECT_TRUE(P[0].APath.contains(QPointF(1 + 10 - 3.1, 1.05)));
    EXPECT_FALSE(P[0].APath.contains(QPointF(5, 1.3)));

    P = CreatePath_GeneralLine(TGPPointF(1, 1), gltWaveline_Arrow, 10, false, B, false);
    ExpectRect(B, 1, 1, 10, 1.05);
    EXPECT_TRUE(InkWithin(P[0].APath.boundingRect(), B, 0.02));
}

TEST_F(LineGlyph, RectanglesAndEllipses) {
    TGPRectF B;
    TNuo4SymbolPathes P =
        CreatePath_TextRectangle(TGPPointF(2, -1), {4, 2}, false, false, true, B, false);
    ExpectRect(B, 2, -1, 4, 2);
    ASSERT_EQ(P.size(), 1u);
    EXPECT_FALSE(P[0].IsStroke());
    // Not filled: an outline 0.1 W0 wide, dashed when asked.
    P = CreatePath_TextRectangle(TGPPointF(2, -1), {4, 2}, true, true, false, B, false);
    ASSERT_EQ(P.size(), 1u);
    EXPECT_TRUE(P[0].IsDashed());
    EXPECT_NEAR(P[0].PenWidth, 0.24, Eps);
    ExpectRect(P[0].APath.boundingRect(), 2, -1, 4, 2);
    for (TrecNuo4SizeF S : {TrecNuo4SizeF{0, 2}, TrecNuo4SizeF{3, -1}}) {
        EXPECT_TRUE(CreatePath_TextRectangle(TGPPointF(), S, false, false, true, B, false).empty());
        EXPECT_TRUE(RectIsEmpty(B));
    }
}

TEST_F(LineGlyph, ArcElementHeightsAndMarks) {
    // H = 3, L = 20: elliptic h = 0.28 sqrt(20) sqrt(3) = 2.1689, T = 0.3; flat
    // h = 0.96 * 20^(1/8) = 1.3960, T = 0.21.
    const double He = 0.28 * std::sqrt(20.0) * std::sqrt(3.0), Hf = 0.96 * std::pow(20.0, 0.125);
    TGPRectF B;
    TNuo4SymbolPathes P = CreatePath_TextArc(TGPPointF(1, -1.5), 20, 0, B, false);
    ExpectRect(B, 1, -1.5 - He - 0.15, 20, He + 0.15);
    ASSERT_EQ(P.size(), 1u);
    // The crescent ends on the chord ends and its outer edge peaks T/2 above the apex.
    const QRectF Ink = P[0].APath.boundingRect();
    EXPECT_NEAR(Ink.left(), 1, 0.01);
    EXPECT_NEAR(Ink.right(), 21, 0.01);
    EXPECT_NEAR(Ink.top(), -1.5 - He - 0.15, 0.01);
    P = CreatePath_TextArc(TGPPointF(0, 0), 20, 5, B, false);
    ExpectRect(B, 0, -Hf - 0.105, 20, Hf + 0.105);
    ASSERT_EQ(P.size(), 1u);
    // A flat band of uniform thickness: ink reaches T/2 below the chord.
    EXPECT_NEAR(P[0].APath.boundingRect().bottom(), 0.105, 0.01);
    EXPECT_NEAR(P[0].APath.boundingRect().top(), -Hf - 0.105, 0.01);
    EXPECT_NEAR(P[0].APath.boundingRect().left(), 0, 0.01);
    EXPECT_NEAR(P[0].APath.boundingRect().right(), 20, 0.01);
    // Marks: style 3 arrow and dot, style 4 the short line, style 8 a flat arc with both.
    EXPECT_EQ(CreatePath_TextArc(TGPPointF(), 20, 3, B, false).size(), 3u);
    EXPECT_EQ(CreatePath_TextArc(TGPPointF(), 20, 4, B, false).size(), 2u);
    EXPECT_EQ(CreatePath_TextArc(TGPPointF(), 20, 8, B, false).size(), 3u);
    EXPECT_EQ(CreatePath_TextArc(TGPPointF(), 20, 12, B, false).size(), 1u);
    // The dot sits on the apex.
    P = CreatePath_TextArc(TGPPointF(), 20, 2, B, false);
    ASSERT_EQ(P.size(), 2u);
    EXPECT_NEAR(P[1].APath.boundingRect().center().x(), 10, Eps);
    EXPECT_NEAR(P[1].APath.boundingRect().center().y(), -He, Eps);
    // Shorter than 2 mm: measured and drawn as 2 mm.
    CreatePath_TextArc(TGPPointF(), 1, 0, B, true);
    EXPECT_NEAR(B.width(), 2, Eps);
}

TEST_F(LineGlyph, ShortFlatArcIsOneCircularArc) {
    // L = 3 < 2 sqrt(3) h: the top is still the apex above the chord's middle and the ends
    // stay on the chord ends.
    const double Hf = 0.96 * std::pow(3.0, 0.125);
    TGPRectF B;
    const TNuo4SymbolPathes P = CreatePath_TextArc(TGPPointF(), 3, 5, B, false);
    ASSERT_EQ(P.size(), 1u);
    const QRectF Ink = P[0].APath.boundingRect();
    EXPECT_NEAR(Ink.top(), -Hf - 0.105, 0.01);
    EXPECT_NEAR(Ink.left(), 0, 0.01);
    EXPECT_NEAR(Ink.right(), 3, 0.01);
}

TEST_F(LineGlyph, BarNumberFrameWidensTheTextBox) {
    TGPRectF B;
    const TNuo4SymbolPathes P =
        CreatePath_BarNumber(QStringLiteral("12"), fuText, TGPPointF(3, -1.5), B, false);
    const TGPRectF T = TKoGDIPlusText::MeasureStringAtPos(FG.get(), QStringLiteral("12"),
                                                          MusicFont_GetFont(fuText),
                                                          TGPPointF(3.7, -1.5), rpLeftBottom);
    ExpectRect(B, 3, T.y(), T.width() + 1.4, T.height());
    EXPECT_NEAR(B.bottom(), -1.5, Eps);
    ASSERT_EQ(P.size(), 1u);
    // The frame ring 0.2 thick lies half outside the bounds.
    ExpectRect(P[0].APath.boundingRect(), 2.9, B.y() - 0.1, B.width() + 0.2, B.height() + 0.2,
               1e-3);
}

// ---- Text layout ----------------------------------------------------------------------------

using TextLayout = GlyphTest;

TGPRectF LayOut(std::u16string_view AText, TNuo4SymbolPathes* AItems = nullptr) {
    TGPRectF B;
    TNuo4SymbolPathes P = CreatePath_Text_FromElementArray(
        GetElementArray_FromABCText(AText), fuText, TrecNuo4NoteStyleIndex(), TGPPointF(0, -1.5), B,
        AItems == nullptr);
    if (AItems) *AItems = std::move(P);
    return B;
}

double TextWidth(const char* S) {
    return TKoGDIPlusText::MeasureStringAtLT(GetDestGraphics(), QString::fromUtf8(S),
                                             MusicFont_GetFont(fuText), QPointF())
        .width();
}

TEST_F(TextLayout, WhiteSpaceAloneIsOneTenthHigh) {
    // Two spaces: 2 x 3.5 / 4.
    ExpectRect(LayOut(u"\\s\\s"), 0, -1.55, 1.75, 0.1);
    ExpectRect(LayOut(u"{GAP:5}"), 0, -1.55, 5, 0.1);
}

TEST_F(TextLayout, WhiteSpaceAndGapsMoveTheFollowingElements) {
    const double Ab = TextWidth("ab"), Cd = TextWidth("cd");
    ASSERT_GT(Ab, 0);
    EXPECT_NEAR(LayOut(u"ab{GAP:2}cd").width(), Ab + 2 + Cd, 1e-3);
    EXPECT_NEAR(LayOut(u"ab\\scd").width(), Ab + 3.5 / 4 + Cd, 1e-3);
    // Leading white space widens the bounds of the text that follows.
    const TGPRectF B = LayOut(u"\\s\\sab");
    EXPECT_NEAR(B.left(), 0, Eps);
    EXPECT_NEAR(B.width(), 1.75 + Ab, 1e-3);
    // Trailing white space too.
    EXPECT_NEAR(LayOut(u"ab{GAP:3}").width(), Ab + 3, 1e-3);
}

TEST_F(TextLayout, NormalTextIsCentredOnTheMiddleLine) {
    const TGPRectF B = LayOut(u"rit.");
    EXPECT_NEAR(B.left(), 0, Eps);
    EXPECT_NEAR(B.center().y(), -1.5, Eps);
}

TEST_F(TextLayout, KeyTempoAndMetersInText) {
    ExpectRect(LayOut(u"{1=D}"), 0, -3, 9.84, 3);
    ExpectRect(LayOut(u"{J=96}"), 0, -3, 11.4, 3);
    ExpectRect(LayOut(u"{2/4}"), 0, -4.2, 3.6, 5.4);
    // Elements one after another: the tempo starts where the key ends.
    ExpectRect(LayOut(u"{1=D}{J=96}"), 0, -3, 9.84 + 11.4, 3);
    ExpectRect(LayOut(u"{J=251}"), 0, 0, 0, 0);
}

TEST_F(TextLayout, LinesAndShapesStartAtTheMiddleLine) {
    ExpectRect(LayOut(u"{slh:10}"), 0, -1.5, 10, 0.21);
    ExpectRect(LayOut(u"{slv:6}"), 0, -1.5, 0.24, 6);
    ExpectRect(LayOut(u"{glh:1,10}"), 0, -1.5, 10, 0.21);
    ExpectRect(LayOut(u"{wlh:10}"), 0, -1.5, 10, 0.825);
    ExpectRect(LayOut(u"{rct:4,2,true}"), 0, -1.5, 4, 2);
    ExpectRect(LayOut(u"{els:4,2,false}"), 0, -1.5, 4, 2);
    ExpectRect(LayOut(u"{GAP:1}{slh:4}"), 0, -1.55, 5, 0.26);
    const double He = 0.28 * std::sqrt(10.0) * std::sqrt(3.0);
    ExpectRect(LayOut(u"{arc:10,1}"), 0, -1.5 - He - 0.15, 10, He + 0.15);
}

TEST_F(TextLayout, ElementCountAndBarNumber) {
    TNuo4SymbolPathes Items;
    const TGPRectF B = LayOut(u"{bny:12}\\s{slh:3}{rct:1,1,false}", &Items);
    ASSERT_EQ(Items.size(), 3u);
    EXPECT_FALSE(Items[0].IsStroke());
    EXPECT_FALSE(Items[1].IsStroke());
    EXPECT_TRUE(Items[2].IsStroke());
    EXPECT_NEAR(B.left(), 0, Eps);
    EXPECT_NEAR(B.width(), TextWidth("12") + 1.4 + 3.5 / 4 + 3 + 1, 1e-3);
}

TEST_F(TextLayout, MultiLineTextIsRightAlignedInItsWidestLine) {
    TGPRectF B;
    const QPainterPath P = CreatePath_MultiLineRightAlignText(
        fuText, QStringLiteral("a\rlong line"), TGPPointF(1, 2), B, false);
    EXPECT_NEAR(B.left(), 1, Eps);
    EXPECT_NEAR(B.top(), 2, Eps);
    EXPECT_NEAR(B.width(), TextWidth("long line"), 0.01);
    const double LineH = B.height() / 2;
    ASSERT_GT(LineH, 0);
    QPainterPath First;
    First.addRect(QRectF(0, 2, 40, LineH));
    const QRectF FirstInk = P.intersected(First).boundingRect();
    EXPECT_GT(FirstInk.left(), 1 + B.width() / 2);  // "a" sits at the right
}

// ---- Symbols --------------------------------------------------------------------------------

using BasicSymbol = GlyphTest;

TEST_F(BasicSymbol, BarlineBoundsAndElements) {
    TrecNuo4SymbolBarline R;
    R.BarlineStyle = blsFinal;
    TNuo4SymbolBarline S(R);
    EXPECT_EQ(S.GetSymbolType(), sbstBarline);
    ExpectRect(S.Bounds(), -0.12, -4.8, 1.32, 6.3);
    S.Update(true);
    EXPECT_EQ(S.ElementsCount(), 1);
    EXPECT_TRUE(S.CanEndWithFangZi());
    EXPECT_DOUBLE_EQ(S.GetFangZiOffsetCoef(fzokSharedStart), 0.35);
    R.BarlineStyle = blsInvisible;
    TNuo4SymbolBarline I(R);
    I.Update(true);
    EXPECT_EQ(I.ElementsCount(), 0);
    ExpectRect(I.Bounds(), -0.12, -4.8, 0.24, 6.3);
}

TEST_F(BasicSymbol, SubStyleOfTheSymbolReachesTheRecord) {
    TNuo4SymbolBarline S;
    S.SetSubStyle(nssZip);
    EXPECT_EQ(S.Rec().NoteStyleIndex.SubStyle, nssZip);
    S.Update(true);
    ExpectRect(S.Bounds(), -0.12, -3.36, 0.24, 4.41);
}

TEST_F(BasicSymbol, MeterMarkerReturnAndText) {
    TrecNuo4SymbolMeter M;
    M.Meter = TrecNuo4Meter::Create(6, 8);
    TNuo4SymbolMeter SM(M);
    SM.Update(true);
    EXPECT_EQ(SM.ElementsCount(), 1);
    ExpectRect(SM.Bounds(), 0, -4.2, 3.6, 5.4);

    TNuo4SymbolAccompMarker SA;
    SA.Update(true);
    EXPECT_EQ(SA.ElementsCount(), 1);
    EXPECT_EQ(SA.GetSymbolType(), sbstAccompMarker);

    TNuo4SymbolReturn SR;
    SR.Update(true);
    EXPECT_EQ(SR.ElementsCount(), 1);
    ExpectRect(SR.Bounds(), 0, -2.4, 1.92, 2.4);

    TrecNuo4SymbolText T;
    T.Text_ABC = u"{1=C}\\s{2/4}";
    TNuo4SymbolText ST(T);
    ST.Update(true);
    EXPECT_EQ(ST.ElementsCount(), 2);
    ExpectRect(ST.Bounds(), 0, -4.2, 9.84 + 3.5 / 4 + 3.6, 5.4);
}

TEST_F(BasicSymbol, DialogTextHelpers) {
    EXPECT_EQ(TNuo4SymbolText::GetABCText_BarNumber(5), u"{bny:05}");
    EXPECT_EQ(TNuo4SymbolText::GetABCText_BarNumber(u"A1"), u"{bny:A1}");
    EXPECT_EQ(TNuo4SymbolText::GetABCText_NormalText(u"rit."), u"rit.");
    const TNuo4TextElementArray E = TNuo4SymbolText::GetElementArray_FromABCText(u"{bny:05}");
    ASSERT_EQ(E.size(), 1u);
    EXPECT_EQ(E[0].aType, stetBarNumber);
}

using TextNotes = GlyphTest;

TEST_F(TextNotes, PureNoteHasItsLeftEdgeAtXAndDigitMiddleOnTheLine) {
    // Default style: digit 2.4 x 3, so the digit spans -3 ... 0 around the middle line -1.5.
    TNuo4SymbolPathes Items;
    ExpectRect(LayOut(u"{5}", &Items), 0, -3, 2.4, 3);
    ASSERT_EQ(Items.size(), 1u);
    EXPECT_TRUE(InkWithin(Items[0].APath.boundingRect(), QRectF(0, -3, 2.4, 3)));
    // Notes follow each other edge to edge.
    ExpectRect(LayOut(u"{5}{5}"), 0, -3, 4.8, 3);
    // An accidental widens the note to the left; the digit keeps its height.
    const TGPRectF Sharp = LayOut(u"{#4}");
    EXPECT_NEAR(Sharp.left(), 0, Eps);
    EXPECT_GT(Sharp.width(), 2.4 + 0.5);
    // A dotted eighth draws its underline below the digit.
    const TGPRectF Eighth = LayOut(u"{5_.}", &Items);
    ASSERT_EQ(Items.size(), 1u);
    EXPECT_NEAR(Eighth.top(), -3, Eps);
    EXPECT_GT(Eighth.bottom(), 0);
}

TEST_F(TextNotes, ChordStandsOnTheLineInItsSubStyle) {
    // Three notes of the zipped style (2.4 x 2.1): the lowest digit bottom on -1.5.
    TNuo4SymbolPathes Items;
    const TGPRectF B = LayOut(u"{[135]}", &Items);
    ASSERT_EQ(Items.size(), 1u);
    EXPECT_NEAR(B.left(), 0, Eps);
    EXPECT_NEAR(B.width(), 2.4, Eps);
    EXPECT_NEAR(B.bottom(), -1.5, Eps);
    EXPECT_LT(B.top(), -1.5 - 3 * 2.1);
    // One pitch: a single note of the chord's sub style.
    ExpectRect(LayOut(u"{[1]}"), 0, -3.6, 2.4, 2.1);
}

TEST_F(TextNotes, GraceGroupWithoutItsOffsetFromAMainNote) {
    // Grace digits 1.95 high (0.65 H) stand on the middle line.
    TNuo4SymbolPathes Items;
    const TGPRectF B = LayOut(u"{qyy:12}", &Items);
    ASSERT_EQ(Items.size(), 1u);
    EXPECT_NEAR(B.left(), 0, Eps);
    EXPECT_NEAR(B.top(), -1.5 - 1.95, Eps);
    EXPECT_GT(B.bottom(), -1.5);  // shared underlines and the tie hang below
    // The notes' bounds; the tie to the (absent) main note hangs below them.
    const QRectF Ink = Items[0].APath.boundingRect();
    EXPECT_NEAR(Ink.top(), B.top(), 0.05);
    EXPECT_GE(Ink.left(), B.left() - 0.05);
    EXPECT_LE(Ink.right(), B.right() + 0.05);
    // Eighth graces have one underline less than sixteenths.
    EXPECT_LT(LayOut(u"{hyy:12,true}").bottom(), B.bottom());
}

}  // namespace
