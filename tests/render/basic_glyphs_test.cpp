// Bar lines, volta offsets, accompaniment markers, meters, keys, tempo marks and paragraph
// marks. Default digit: W = 2.4, H = 3 (so t = 0.24, T = 0.72, g = 0.36, d = 0.72).
#include "render/basic_glyphs.h"

#include "basic_glyphs_test_support.h"

using namespace nuo4;
using namespace nuo4::test;

namespace {

TrecNuo4SymbolBarline Barline(TNuo4BarlineStyle AStyle) {
    TrecNuo4SymbolBarline R;
    R.BarlineStyle = AStyle;
    return R;
}

QRectF InkOf(const TNuo4SymbolPathes& AItems) {
    return SymbolPathes_Union(AItems).boundingRect();
}

using BarlineGlyph = GlyphTest;

TEST_F(BarlineGlyph, NormalIsOneThinLineFromTopCoefToBottomCoef) {
    TGPRectF B;
    const TNuo4SymbolPathes P = CreatePath_Barline(Barline(blsNormal), B, false, false);
    ExpectRect(B, -0.12, -4.8, 0.24, 6.3);
    ASSERT_EQ(P.size(), 1u);
    EXPECT_FALSE(P[0].IsStroke());
    ExpectRect(P[0].APath.boundingRect(), -0.12, -4.8, 0.24, 6.3);
}

TEST_F(BarlineGlyph, FinalAddsThickLineAfterGap) {
    const TrecNuo4BarlineParts Parts = GetBarlineParts(Barline(blsFinal));
    ASSERT_EQ(Parts.Lines.size(), 2u);
    ExpectRect(Parts.Lines[1], 0.48, -4.8, 0.72, 6.3);
    ExpectRect(Parts.Bounds, -0.12, -4.8, 1.32, 6.3);
    TGPRectF B;
    ExpectRect(InkOf(CreatePath_Barline(Barline(blsFinal), B, false, false)), -0.12, -4.8, 1.32,
               6.3);
}

TEST_F(BarlineGlyph, DoubleRepeatsTheThinLine) {
    const TrecNuo4BarlineParts Parts = GetBarlineParts(Barline(blsDouble));
    ASSERT_EQ(Parts.Lines.size(), 2u);
    ExpectRect(Parts.Lines[1], 0.48, -4.8, 0.24, 6.3);
    ExpectRect(Parts.Bounds, -0.12, -4.8, 0.84, 6.3);
}

TEST_F(BarlineGlyph, DashedIsFourDashesWithinTheThinLine) {
    const TrecNuo4BarlineParts Parts = GetBarlineParts(Barline(blsDashed));
    ASSERT_EQ(Parts.Lines.size(), 4u);
    const double Tops[] = {-4.8, -3.05, -1.3, 0.45};
    for (int I = 0; I < 4; ++I) ExpectRect(Parts.Lines[I], -0.12, Tops[I], 0.24, 1.05);
    ExpectRect(Parts.Bounds, -0.12, -4.8, 0.24, 6.3);
    // The script face leaves a dashed bar line as plain rectangles.
    TGPRectF B;
    const QPainterPath Plain =
        SymbolPathes_Union(CreatePath_Barline(Barline(blsDashed), B, false, false));
    const QPainterPath Script =
        SymbolPathes_Union(CreatePath_Barline(Barline(blsDashed), B, false, true));
    EXPECT_EQ(FigureCount(Plain), 4);
    EXPECT_TRUE(Plain == Script);
}

TEST_F(BarlineGlyph, InvisibleHasBoundsButNoPath) {
    TGPRectF B;
    EXPECT_TRUE(CreatePath_Barline(Barline(blsInvisible), B, false, false).empty());
    ExpectRect(B, -0.12, -4.8, 0.24, 6.3);
}

TEST_F(BarlineGlyph, RepeatEndHasDotsLeftOfTheThinLine) {
    const TrecNuo4BarlineParts Parts = GetBarlineParts(Barline(blsRepeatEnd));
    ASSERT_EQ(Parts.Dots.size(), 2u);
    // Centred at x = -W/2, y = -H/2 -+ 0.325 H.
    ExpectRect(Parts.Dots[0], -1.56, -2.835, 0.72, 0.72);
    ExpectRect(Parts.Dots[1], -1.56, -0.885, 0.72, 0.72);
    ExpectRect(Parts.Bounds, -1.56, -4.8, 2.76, 6.3);
    TGPRectF B;
    const TNuo4SymbolPathes P = CreatePath_Barline(Barline(blsRepeatEnd), B, false, false);
    ASSERT_EQ(P.size(), 1u);
    EXPECT_EQ(FigureCount(P[0].APath), 4);
    ExpectRect(P[0].APath.boundingRect(), -1.56, -4.8, 2.76, 6.3);
}

TEST_F(BarlineGlyph, RepeatStartCentresTheThickLineWithDotsOnTheRight) {
    const TrecNuo4BarlineParts Parts = GetBarlineParts(Barline(blsRepeatStart));
    ASSERT_EQ(Parts.Lines.size(), 2u);
    ExpectRect(Parts.Lines[1], -0.36, -4.8, 0.72, 6.3);  // thick, centred on 0
    ExpectRect(Parts.Lines[0], 0.72, -4.8, 0.24, 6.3);   // thin, after the gap
    ASSERT_EQ(Parts.Dots.size(), 2u);
    EXPECT_NEAR(Parts.Dots[0].center().x(), 2.04, Eps);
    ExpectRect(Parts.Bounds, -0.36, -4.8, 2.76, 6.3);
}

TEST_F(BarlineGlyph, RepeatBothIsSymmetricAboutTheThickLine) {
    const TrecNuo4BarlineParts Parts = GetBarlineParts(Barline(blsRepeatBoth));
    ASSERT_EQ(Parts.Lines.size(), 3u);
    ExpectRect(Parts.Lines[2], 1.56, -4.8, 0.24, 6.3);
    ASSERT_EQ(Parts.Dots.size(), 4u);
    EXPECT_NEAR(Parts.Dots[2].center().x(), 2.88, Eps);
    ExpectRect(Parts.Bounds, -1.56, -4.8, 4.8, 6.3);
    // Same distance from each outer thin line to its dots.
    const double Thick = Parts.Lines[1].center().x();
    EXPECT_NEAR(Thick - Parts.Dots[0].center().x(), Parts.Dots[2].center().x() - Thick, Eps);
}

TEST_F(BarlineGlyph, HeightFollowsDocumentCoefficientsAndStyle) {
    Nuo4DocOptions().BarlineHeightCoef_Top = 2.0f;
    Nuo4DocOptions().BarlineHeightCoef_Bottom = 1.0f;
    TGPRectF B;
    CreatePath_Barline(Barline(blsNormal), B, true, false);
    ExpectRect(B, -0.12, -6.0, 0.24, 9.0);
    Nuo4DocOptions().SetToDefault();
    // The zipped sub style: digit 2.4 x 2.1.
    TrecNuo4SymbolBarline R = Barline(blsNormal);
    R.NoteStyleIndex.SubStyle = nssZip;
    CreatePath_Barline(R, B, true, false);
    ExpectRect(B, -0.12, -3.36, 0.24, 4.41);
}

TEST_F(BarlineGlyph, ScriptStrokesStayInsideThePlainParts) {
    TGPRectF B;
    const TNuo4SymbolPathes P = CreatePath_Barline(Barline(blsRepeatEnd), B, false, true);
    ASSERT_EQ(P.size(), 1u);
    ExpectRect(B, -1.56, -4.8, 2.76, 6.3);
    const QPainterPath Plain =
        SymbolPathes_Union(CreatePath_Barline(Barline(blsRepeatEnd), B, false, false));
    EXPECT_FALSE(P[0].APath == Plain);
    EXPECT_TRUE(InkWithin(P[0].APath.boundingRect(), B, 0.05));
}

TEST(BarlineFangZiOffset, CoefficientsByStyle) {
    EXPECT_DOUBLE_EQ(GetBarlineFangZiOffsetCoef(blsNormal, fzokPlain), 0);
    EXPECT_DOUBLE_EQ(GetBarlineFangZiOffsetCoef(blsNormal, fzokSharedEnd), -0.2);
    EXPECT_DOUBLE_EQ(GetBarlineFangZiOffsetCoef(blsNormal, fzokSharedStart), 0.2);
    EXPECT_DOUBLE_EQ(GetBarlineFangZiOffsetCoef(blsRepeatStart, fzokPlain), 0.2);
    EXPECT_DOUBLE_EQ(GetBarlineFangZiOffsetCoef(blsRepeatEnd, fzokSharedEnd), -0.05);
    EXPECT_DOUBLE_EQ(GetBarlineFangZiOffsetCoef(blsFinal, fzokSharedStart), 0.35);
    EXPECT_DOUBLE_EQ(GetBarlineFangZiOffsetCoef(blsDouble, fzokPlain), 0.15);
    EXPECT_DOUBLE_EQ(GetBarlineFangZiOffsetCoef(blsDouble, fzokSharedStart), 0.25);
    EXPECT_DOUBLE_EQ(GetBarlineFangZiOffsetCoef(blsDashed, fzokSharedEnd), -0.2);
    EXPECT_DOUBLE_EQ(GetBarlineFangZiOffsetCoef(blsRepeatBoth, fzokPlain), 0.25);
    EXPECT_DOUBLE_EQ(GetBarlineFangZiOffsetCoef(blsRepeatBoth, fzokSharedStart), 0.5);
    EXPECT_DOUBLE_EQ(GetBarlineFangZiOffsetCoef(blsInvisible, fzokSharedStart), 0.2);
    EXPECT_STREQ(EnumName(fzokSharedStart), "fzokSharedStart");
    // Out of range styles give no offset.
    EXPECT_DOUBLE_EQ(GetBarlineFangZiOffsetCoef(TNuo4BarlineStyle(9), fzokPlain), 0);
}

// ---- Accompaniment marker -------------------------------------------------------------------

using AccompMarkerGlyph = GlyphTest;

TEST_F(AccompMarkerGlyph, StartIsCentredOnDigitMiddleAndEndIsItsMirror) {
    TrecNuo4SymbolAccompMarker R;
    TGPRectF B;
    const TNuo4SymbolPathes P = CreatePath_AccompMarker(R, B, false);
    // Box 1.2 x 4.2 with the reference point (56, 250) of a 111 x 500 box on (0, -1.5).
    ExpectRect(B, -56.0 / 111 * 1.2, -3.6, 1.2, 4.2);
    ASSERT_EQ(P.size(), 1u);
    EXPECT_TRUE(InkWithin(P[0].APath.boundingRect(), B));
    R.aType = sctEnd;
    TGPRectF E;
    const TNuo4SymbolPathes PE = CreatePath_AccompMarker(R, E, false);
    ExpectRect(E, -(B.right()), -3.6, 1.2, 4.2);
    ASSERT_EQ(PE.size(), 1u);
    const QRectF Ink = P[0].APath.boundingRect(), InkE = PE[0].APath.boundingRect();
    EXPECT_NEAR(InkE.left(), -Ink.right(), Eps);
    EXPECT_NEAR(InkE.top(), Ink.top(), Eps);
}

TEST_F(AccompMarkerGlyph, ScaleEnlargesTheBox) {
    TrecNuo4SymbolAccompMarker R;
    R.Scale = 2.0f;
    TGPRectF B;
    CreatePath_AccompMarker(R, B, true);
    EXPECT_NEAR(B.width(), 2.4, Eps);
    EXPECT_NEAR(B.height(), 8.4, Eps);
    EXPECT_NEAR(B.center().y(), -1.5, 0.01);
}

// ---- Meter ----------------------------------------------------------------------------------

using MeterGlyph = GlyphTest;

TrecNuo4SymbolMeter Meter(int AFenZi, int AFenMu) {
    TrecNuo4SymbolMeter R;
    R.Meter = TrecNuo4Meter::Create(AFenZi, AFenMu);
    return R;
}

TEST_F(MeterGlyph, SingleDigitNumeratorStartsAtZeroCentredOnDigitMiddle) {
    // w = 2.4, h = 2.1, s = 0.6, bar 3.6 x 0.21.
    TGPRectF B;
    double Cy = 0;
    const TNuo4SymbolPathes P = CreatePath_Meter(Meter(3, 4), B, Cy, false);
    ExpectRect(B, 0, -4.2, 3.6, 5.4);
    EXPECT_DOUBLE_EQ(Cy, -1.5);
    ASSERT_EQ(P.size(), 1u);
    const QRectF Ink = P[0].APath.boundingRect();
    // The fraction bar gives the exact horizontal extent; the digits stay in their cells.
    EXPECT_NEAR(Ink.left(), 0, Eps);
    EXPECT_NEAR(Ink.right(), 3.6, Eps);
    EXPECT_TRUE(InkWithin(Ink, B));
    EXPECT_GE(FigureCount(P[0].APath), 3);
}

TEST_F(MeterGlyph, TwoDigitNumeratorWidensTheBar) {
    TGPRectF B;
    double Cy = 0;
    const TNuo4SymbolPathes P = CreatePath_Meter(Meter(12, 8), B, Cy, false);
    ExpectRect(B, 0, -4.2, 4.8, 5.4);
    ASSERT_EQ(P.size(), 1u);
    const QRectF Ink = P[0].APath.boundingRect();
    EXPECT_NEAR(Ink.left(), 0, Eps);
    EXPECT_NEAR(Ink.right(), 4.8, Eps);
    // Numerator ink reaches the left half (digit 1 in the cell 0 ... 2.4) and the right half.
    QPainterPath Top;
    Top.addRect(QRectF(-1, -4.3, 7, 2.3));
    const QRectF TopInk = P[0].APath.intersected(Top).boundingRect();
    EXPECT_LT(TopInk.left(), 2.4);
    EXPECT_GT(TopInk.right(), 2.4);
}

TEST_F(MeterGlyph, FreeMeterIsOneGlyphOfOneAndAHalfDigits) {
    TGPRectF B;
    double Cy = 0;
    const TNuo4SymbolPathes P = CreatePath_Meter(Meter(0, 4), B, Cy, false);
    ExpectRect(B, 0, -3.75, 3.6, 4.5);
    ASSERT_EQ(P.size(), 1u);
    EXPECT_TRUE(InkWithin(P[0].APath.boundingRect(), B));
}

TEST_F(MeterGlyph, OutOfRangeMetersAreEmpty) {
    for (const auto& M : {Meter(100, 4), Meter(3, 10), Meter(-1, 4), Meter(3, -2)}) {
        TGPRectF B(1, 1, 1, 1);
        double Cy = 0;
        EXPECT_TRUE(CreatePath_Meter(M, B, Cy, false).empty());
        EXPECT_TRUE(RectIsEmpty(B));
    }
    // The denominator 0 reads and draws its digit.
    TGPRectF B;
    double Cy = 0;
    EXPECT_EQ(CreatePath_Meter(Meter(1, 0), B, Cy, false).size(), 1u);
}

// ---- Key signature, key and meters ----------------------------------------------------------

using KeyGlyph = GlyphTest;

TrecNuo4SymbolKeySignature Key(int AMain, int AAcc, bool bOneIs) {
    TrecNuo4SymbolKeySignature K;
    K.MainKey = AMain;
    K.Accidental = AAcc;
    K.bWithOneIs = bOneIs;
    return K;
}

TEST_F(KeyGlyph, OneIsFlatE) {
    // k = 0.006: "1=" 6.6 x 3, flat 1.2 x 3.558, gap 0.24, letter 3 x 3.
    TGPRectF B;
    double Cy = 0;
    const TNuo4SymbolPathes P = CreatePath_KeySignature(Key(2, -1, true), B, Cy, false);
    ExpectRect(B, 0, -3, 11.04, 3.558);
    EXPECT_DOUBLE_EQ(Cy, -1.5);
    ASSERT_EQ(P.size(), 1u);
    EXPECT_TRUE(InkWithin(P[0].APath.boundingRect(), B));
}

TEST_F(KeyGlyph, AccidentalDoesNotMoveTheLetterOffTheDigitLine) {
    TGPRectF B1, B2;
    double Cy = 0;
    const QPainterPath Flat =
        SymbolPathes_Union(CreatePath_KeySignature(Key(2, -1, true), B1, Cy, false));
    const QPainterPath Plain =
        SymbolPathes_Union(CreatePath_KeySignature(Key(2, 0, true), B2, Cy, false));
    // The letter E is the last 3 mm of each group.
    QPainterPath L1, L2;
    L1.addRect(QRectF(B1.right() - 3, -10, 3, 20));
    L2.addRect(QRectF(B2.right() - 3, -10, 3, 20));
    const QRectF E1 = Flat.intersected(L1).boundingRect(),
                 E2 = Plain.intersected(L2).boundingRect();
    ASSERT_FALSE(E1.isEmpty());
    EXPECT_NEAR(E1.top(), E2.top(), 1e-3);
    EXPECT_NEAR(E1.bottom(), E2.bottom(), 1e-3);
    // The letter fills the digit cell from -H to 0.
    EXPECT_TRUE(InkWithin(E2, QRectF(B2.right() - 3, -3, 3, 3)));
}

TEST_F(KeyGlyph, BareLetterKeepsTheGapInFront) {
    TGPRectF B;
    double Cy = 0;
    const TNuo4SymbolPathes P = CreatePath_KeySignature(Key(4, 0, false), B, Cy, false);
    ExpectRect(B, 0, -3, 3.24, 3);
    ASSERT_EQ(P.size(), 1u);
    EXPECT_GE(P[0].APath.boundingRect().left(), 0.24 - 0.03 * 3);
}

TEST_F(KeyGlyph, SharpWithoutOneIs) {
    TGPRectF B;
    double Cy = 0;
    CreatePath_KeySignature(Key(3, 1, false), B, Cy, true);
    ExpectRect(B, 0, -3, 1.2 + 0.24 + 3, 3.558);
}

TEST_F(KeyGlyph, KeyLetterOutOfRangeDrawsNothing) {
    for (int M : {7, -1}) {
        TGPRectF B;
        double Cy = 0;
        EXPECT_TRUE(CreatePath_KeySignature(Key(M, 0, true), B, Cy, false).empty());
        EXPECT_TRUE(RectIsEmpty(B));
    }
}

TEST_F(KeyGlyph, KeyAndMetersAdvanceByWidthPlusDocumentDigit) {
    TrecNuo4KeyAndMeters KM;
    KM.Key.MainKey = 1;
    KM.Key.bWithOneIs = true;
    KM.Meters = {TrecNuo4Meter::Create(2, 4), TrecNuo4Meter::Create(12, 8)};
    TGPRectF B;
    const TNuo4SymbolPathes P =
        CreatePath_KeyAndMeters(KM, TrecNuo4NoteStyleIndex(), TGPPointF(10, -1.5), B, false);
    // Key 9.84 wide, + 2.4, meter 3.6, + 2.4, meter 4.8.
    ExpectRect(B, 10, -4.2, 9.84 + 2.4 + 3.6 + 2.4 + 4.8, 5.4);
    ASSERT_EQ(P.size(), 1u);
    EXPECT_NEAR(P[0].APath.boundingRect().right(), B.right(), Eps);
    // A key with an accidental keeps the middle line on APt.Y.
    KM.Key.Accidental = 1;
    CreatePath_KeyAndMeters(KM, TrecNuo4NoteStyleIndex(), TGPPointF(0, 0), B, true);
    ExpectRect(B, 0, -2.7, 9.84 + 1.2 + 2.4 + 3.6 + 2.4 + 4.8, 5.4);
    // Meters only: the group starts with the first meter.
    KM.Key.SetToInvalid();
    CreatePath_KeyAndMeters(KM, TrecNuo4NoteStyleIndex(), TGPPointF(0, 0), B, true);
    ExpectRect(B, 0, -2.7, 3.6 + 2.4 + 4.8, 5.4);
    // Nothing valid: empty.
    KM.Meters = {TrecNuo4Meter::Create(100, 4)};
    EXPECT_TRUE(
        CreatePath_KeyAndMeters(KM, TrecNuo4NoteStyleIndex(), TGPPointF(0, 0), B, false).empty());
    EXPECT_TRUE(RectIsEmpty(B));
}

// ---- Tempo ----------------------------------------------------------------------------------

using TempoGlyph = GlyphTest;

TEST_F(TempoGlyph, GlyphWidthByNoteKindAndDigitCount) {
    // k = 0.006: glyph 6.6, 7.2 or 7.8 wide, digits 2.4 x 3.
    struct Case {
        int Tempo;
        TNuo4TempoIsType Type;
        double Width;
    };
    for (const Case& C :
         {Case{96, tit4th, 6.6 + 4.8}, Case{100, tit4th, 6.6 + 7.2}, Case{60, tit8th, 7.2 + 4.8},
          Case{250, tit4thDot, 7.8 + 7.2}, Case{10, tit4th, 6.6 + 4.8}}) {
        TGPRectF B;
        const TNuo4SymbolPathes P = CreatePath_Tempo(C.Tempo, C.Type, TGPPointF(5, -1.5), B, false);
        ExpectRect(B, 5, -3, C.Width, 3);
        ASSERT_EQ(P.size(), 1u) << C.Tempo;
        EXPECT_TRUE(InkWithin(P[0].APath.boundingRect(), B)) << C.Tempo;
    }
}

TEST_F(TempoGlyph, OutsideTenToTwoHundredFiftyIsEmpty) {
    for (int T : {9, 251, 300, 0}) {
        TGPRectF B;
        EXPECT_TRUE(CreatePath_Tempo(T, tit4th, TGPPointF(0, 0), B, false).empty()) << T;
        EXPECT_TRUE(RectIsEmpty(B));
    }
}

TEST_F(TempoGlyph, FollowsTheDocumentDigitNotTheStyle) {
    Nuo4DocOptions().Param_MainDigit.Height = 4.0f;
    TGPRectF B;
    CreatePath_Tempo(96, tit4th, TGPPointF(0, 0), B, true);
    ExpectRect(B, 0, -2, (1100 + 800) * 0.008, 4);
}

// ---- Paragraph mark -------------------------------------------------------------------------

using ReturnGlyph = GlyphTest;

TEST_F(ReturnGlyph, LeftBottomOnOrigin) {
    TGPRectF B;
    const TNuo4SymbolPathes P = CreatePath_Return(TrecNuo4NoteStyleIndex(), B, false);
    ExpectRect(B, 0, -2.4, 1.92, 2.4);
    ASSERT_EQ(P.size(), 1u);
    EXPECT_TRUE(InkWithin(P[0].APath.boundingRect(), B));
}

}  // namespace
