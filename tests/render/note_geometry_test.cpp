// Note geometry from the style metrics. With the default options the digit is H = 3 mm high
// and W = 2.4 mm wide; chords use the zip style (H 2.1, W 2.4, round parts x sqrt 0.7) and grace
// notes the grace style (everything x 0.65). Expected numbers are worked out from the rules.
#include "render/note_geometry.h"

#include <gtest/gtest.h>

#include <cmath>

#include "format/doc_options.h"

using namespace nuo4;

namespace {

constexpr double Eps = 1e-4;

class NoteGeometry : public ::testing::Test {
  protected:
    void SetUp() override {
        Nuo4DocOptions().SetToDefault();
        RebuildAll(Nuo4DocOptions());
    }
    void TearDown() override {
        Nuo4DocOptions().SetToDefault();
        RebuildAll(Nuo4DocOptions());
    }
};

TrecNuo4Pitch Pitch(int ADigit, int AOctave = 0, int AAccidental = 0) {
    TrecNuo4Pitch P;
    P.Initialize_ToNormalPitch(ADigit, AOctave, AAccidental);
    return P;
}

TrecNuo4PureNote Pure(int ADigit, int AOctave, int AAccidental, TNuo4Duration ADuration) {
    TrecNuo4PureNote N;
    N.Initialize(Pitch(ADigit, AOctave, AAccidental), ADuration);
    return N;
}

TrecNuo4SymbolNote Chord(const TNuo4Pitches& APitches, TNuo4Duration ADuration) {
    TrecNuo4SymbolNote N;
    N.MainNote.Initialize(APitches.front(), ADuration);
    N.SetPitches_Main(APitches);
    CheckChord(N);
    return N;
}

TrecNuo4SymbolNote WithGrace(const TNuo4Pitches& AGrace, bool bRight = false) {
    TrecNuo4SymbolNote N;
    N.MainNote.Initialize(Pitch(5), sd4th);
    N.SetPitches_Main({Pitch(5)});
    N.SetGrace(AGrace);
    N.GraceNote.Mut().Options.bRight = bRight;
    return N;
}

void ExpectRect(const QRectF& R, double AX, double AY, double AW, double AH) {
    EXPECT_NEAR(R.x(), AX, Eps);
    EXPECT_NEAR(R.y(), AY, Eps);
    EXPECT_NEAR(R.width(), AW, Eps);
    EXPECT_NEAR(R.height(), AH, Eps);
}

}  // namespace

// ---- Counts ---------------------------------------------------------------------------------

TEST_F(NoteGeometry, MarkCountsFollowTheDurationTable) {
    struct Row {
        TNuo4Duration D;
        int U, R, L;
    };
    const Row Rows[] = {
        {sdNone, 0, 0, 0},         {sd4th, 0, 0, 0},        {sd64th, 4, 0, 0},
        {sd32thDot, 3, 1, 0},      {sd16thDotDot, 2, 2, 0}, {sd8th, 1, 0, 0},
        {sd8thDotDotDot, 1, 3, 0}, {sd4thDot, 0, 1, 0},     {sd4thDotDotDot, 0, 3, 0},
        {sd2th, 0, 0, 1},          {sd2thDot, 0, 0, 2},     {sd1th, 0, 0, 3},
        {sd1thPlus1, 0, 0, 4},     {sd1thPlus4, 0, 0, 7}};
    for (const Row& R : Rows) {
        const TrecPureNoteElementCountInfo C = GetElementCountInfo(Pure(1, 0, 0, R.D));
        EXPECT_EQ(C.UnderlineCount, R.U) << EnumName(R.D);
        EXPECT_EQ(C.RightDotCount, R.R) << EnumName(R.D);
        EXPECT_EQ(C.RightLineCount, R.L) << EnumName(R.D);
    }
}

TEST_F(NoteGeometry, OctaveDotsGoAboveOnlyForHighNonDrumPitches) {
    TrecPureNoteElementCountInfo C = GetElementCountInfo(Pure(3, 2, 1, sd4th));
    EXPECT_EQ(C.OctaveDotHighCount, 2);
    EXPECT_EQ(C.OctaveDotLowCount, 0);
    EXPECT_EQ(C.AccidentalCount, 1);
    C = GetElementCountInfo(Pure(3, -3, 0, sd4th));
    EXPECT_EQ(C.OctaveDotLowCount, 3);
    EXPECT_EQ(C.OctaveDotCount, 3);
    EXPECT_EQ(C.AccidentalCount, 0);
    // A rest carries its octave like any digit.
    EXPECT_EQ(GetElementCountInfo(Pure(0, 1, 0, sd4th)).OctaveDotHighCount, 1);
    // A drum never has dots above nor an accidental.
    TrecNuo4PureNote Drum;
    TrecNuo4Pitch P;
    P.Initialize_ToDrumPitch(0, false);
    P.Octave = 1;
    P.Accidental = ssSharp;
    Drum.Initialize(P, sd4th);
    C = GetElementCountInfo(Drum);
    EXPECT_EQ(C.OctaveDotHighCount, 0);
    EXPECT_EQ(C.OctaveDotLowCount, 1);
    EXPECT_EQ(C.AccidentalCount, 0);
}

TEST_F(NoteGeometry, ChordDurationTransforms) {
    EXPECT_EQ(Duration_StripRightDuration(sd8thDotDotDot), sd8th);
    EXPECT_EQ(Duration_StripRightDuration(sd32thDot), sd32th);
    EXPECT_EQ(Duration_StripRightDuration(sd4thDot), sd4th);
    EXPECT_EQ(Duration_StripRightDuration(sd1thPlus2), sd4th);
    EXPECT_EQ(Duration_StripUnderlines(sd16thDotDot), sd4thDotDot);
    EXPECT_EQ(Duration_StripUnderlines(sd64th), sd4th);
    EXPECT_EQ(Duration_StripUnderlines(sd2thDot), sd2thDot);
}

// ---- Part rectangles ------------------------------------------------------------------------

TEST_F(NoteGeometry, EighthUnderlineSpansEightTenthsOfTheDigit) {
    const TrecNuo4PureNote N = Pure(3, 0, 0, sd8th);
    // Thickness 0.07 H, centred 0.25 H below the digit, 0.8 W long.
    ExpectRect(GetBounds_Underline(N, 0), -0.96, 0.645, 1.92, 0.21);
    // The second underline of a sixteenth is 0.2 H lower.
    ExpectRect(GetBounds_Underline(Pure(3, 0, 0, sd16th), 1), -0.96, 1.245, 1.92, 0.21);
    EXPECT_NEAR(GetUnderlineBottom(Pure(3, 0, 0, sd16th)), 1.455, Eps);
}

TEST_F(NoteGeometry, DottedUnderlineReachesTheRightEdgeOfTheLastDot) {
    // First dot centre 0.9 W = 2.16, radius 0.125 H = 0.375.
    const QRectF U = GetBounds_Underline(Pure(3, 0, 0, sd8thDot), 0);
    EXPECT_NEAR(U.left(), -0.96, Eps);
    EXPECT_NEAR(U.right(), 2.16 + 0.375, Eps);
    // The style alone places a second dot 0.53 H further.
    const TrecNuo4PureNoteStyle& S = *GetPureNoteStylePtr(0, nssNormal);
    EXPECT_NEAR(GetBounds_Underline(S, 1, 2).right(), 2.16 + 1.59 + 0.375, Eps);
    // A note's line follows its dots as drawn: 0.53 W apart, the first where its spacing says.
    TrecNuo4PureNote N = Pure(3, 0, 0, sd16thDotDot);
    EXPECT_NEAR(GetBounds_Underline(N, 1).right(), (0.9 + 0.53) * 2.4 + 0.375, Eps);
    N.Options.RightLineSpacingCoefArray[0] = 0.6f;
    EXPECT_NEAR(GetBounds_Underline(N, 0).right(), GetBounds_RightDot(N, 1).right(), Eps);
    EXPECT_NEAR(GetBounds_Underline(N, 0).left(), -0.96, Eps);
}

TEST_F(NoteGeometry, OctaveDotPositionsAboveAndBelow) {
    // Diameter 0.25 H; above: first centre 0.3 H over the digit top, then 0.33 H apart.
    ExpectRect(GetBounds_OctaveDot(Pure(1, 2, 0, sd4th), 0), -0.375, -3.9 - 0.375, 0.75, 0.75);
    EXPECT_NEAR(GetBounds_OctaveDot(Pure(1, 2, 0, sd4th), 1).center().y(), -4.89, Eps);
    // Below without underlines: 0.27 H under the digit.
    EXPECT_NEAR(GetBounds_OctaveDot(Pure(1, -2, 0, sd4th), 0).center().y(), 0.81, Eps);
    EXPECT_NEAR(GetBounds_OctaveDot(Pure(1, -2, 0, sd4th), 1).center().y(), 1.80, Eps);
    // Under one underline: 0.75 + 0.9.
    EXPECT_NEAR(GetBounds_OctaveDot(Pure(1, -1, 0, sd8th), 0).center().y(), 1.65, Eps);
    // Under two underlines: H x (0.2 + 0.25 + 0.3).
    EXPECT_NEAR(GetBounds_OctaveDot(Pure(1, -1, 0, sd16th), 0).center().y(), 2.25, Eps);
    EXPECT_NEAR(GetBounds_OctaveDot(Pure(1, -1, 0, sd16th), 0).center().x(), 0.0, Eps);
}

TEST_F(NoteGeometry, AugmentationDotsStepByTheGapTimesTheWidth) {
    const TrecNuo4PureNote N = Pure(2, 0, 0, sd4thDotDot);  // entry 0 = 0.9
    ExpectRect(GetBounds_RightDot(N, 0), 2.16 - 0.375, -1.2 - 0.375, 0.75, 0.75);
    EXPECT_NEAR(GetBounds_RightDot(N, 1).center().x(), (0.9 + 0.53) * 2.4, Eps);
    EXPECT_NEAR(GetBounds_RightDot(N, 1).center().y(), -1.2, Eps);
}

TEST_F(NoteGeometry, DashLinesFollowTheRunningSumOfTheSpacing) {
    TrecNuo4PureNote N = Pure(5, 0, 0, sd1th);  // three dashes, spacing 1.0 each
    for (int I = 0; I < 3; ++I) {
        const QRectF R = GetBounds_RightLine(N, I);
        EXPECT_NEAR(R.center().x(), 2.4 * (I + 1), Eps);
        EXPECT_NEAR(R.center().y(), -1.5, Eps);
        EXPECT_NEAR(R.width(), 1.92, Eps);
        EXPECT_NEAR(R.height(), 0.45, Eps);
    }
    N.Options.RightLineSpacingCoefArray = {1.5f, 1.0f, 0.5f, 1, 1, 1, 1};
    EXPECT_NEAR(GetRightLinePosCoefX(N, 2), 3.0, Eps);
    EXPECT_NEAR(GetRightLinePosX(N, 1), 6.0, Eps);
}

// ---- Bounds ---------------------------------------------------------------------------------

TEST_F(NoteGeometry, AccidentalWidensTheBoundsToTheLeftAndUp) {
    const TrecPureNoteBoundsInfo B = GetElementCountAndBoundsInfo(Pure(4, 0, 1, sd4th));
    // Reference at (-0.6 W, -0.8 H) = (-1.44, -2.4); size 0.35 x 3.6 by 3.6.
    EXPECT_NEAR(B.X_Left, -1.44 - 1.26, Eps);
    EXPECT_NEAR(B.Y_Accidental, -2.4 - 1.8, Eps);
    EXPECT_NEAR(B.Y_Top, -4.2, Eps);
    EXPECT_NEAR(B.Y_OctaveDotHigh, -3.0, Eps);
    ExpectRect(B.Bounds, -2.7, -4.2, 3.9, 4.2);
    ExpectRect(B.Bounds_NoAccidental, -1.2, -3.0, 2.4, 3.0);
    ExpectRect(B.Bounds_Coef, -2.7 / 2.4, -4.2 / 3, 3.9 / 2.4, 4.2 / 3);
}

TEST_F(NoteGeometry, BoundsReachTheOuterMarks) {
    // Two dots above: top of the second dot.
    TrecPureNoteBoundsInfo B = GetElementCountAndBoundsInfo(Pure(1, 2, 0, sd4th));
    EXPECT_NEAR(B.Y_OctaveDotHigh, -4.89 - 0.375, Eps);
    EXPECT_NEAR(B.Y_Top, -5.265, Eps);
    // Eighth with a dot below: the dot's bottom; without: the underline's bottom.
    B = GetElementCountAndBoundsInfo(Pure(1, -1, 0, sd8th));
    EXPECT_NEAR(B.Y_FirstUnderline, 0.75, Eps);
    EXPECT_NEAR(B.Y_Bottom, 1.65 + 0.375, Eps);
    EXPECT_NEAR(GetElementCountAndBoundsInfo(Pure(1, 0, 0, sd8th)).Y_Bottom, 0.855, Eps);
    EXPECT_NEAR(GetElementCountAndBoundsInfo(Pure(1, 0, 0, sd4th)).Y_Bottom, 0.0, Eps);
    // Right edge: last dash centre + half its length, or the last dot's edge.
    EXPECT_NEAR(GetRight(Pure(1, 0, 0, sd1th)), 7.2 + 0.96, Eps);
    EXPECT_NEAR(GetRight(Pure(1, 0, 0, sd4thDot)), 2.535, Eps);
    EXPECT_NEAR(GetRight(Pure(1, 0, 0, sd8th)), 1.2, Eps);
    // Ignoring the right duration cuts at the digit; Basic keeps the digit width.
    EXPECT_NEAR(GetBounds(Pure(1, 0, 1, sd1th), true, true).right(), 1.2, Eps);
    EXPECT_NEAR(GetBounds(Pure(1, 0, 1, sd1th), true, true).left(), -1.2, Eps);
    B = GetElementCountAndBoundsInfo(Pure(1, 0, 0, sd1th));
    EXPECT_NEAR(B.Bounds_Basic.width(), 2.4, Eps);
}

// ---- Spacing from the advance width ---------------------------------------------------------

TEST_F(NoteGeometry, DotSpacingIsHalfTheAdvanceUntilTheDefaultThenDamped) {
    TRightLineSpacingCoefArray A{};
    A.fill(7);
    AutoSetRightDotSpacing(A, 1.2f);
    EXPECT_NEAR(A[0], 0.6, Eps);
    EXPECT_NEAR(A[1], 7.0, Eps);  // only the first entry places the dots
    AutoSetRightDotSpacing(A, 3.0f);
    EXPECT_NEAR(A[0], 0.9 + (1.5 - 0.9) * 0.2, Eps);
    Nuo4DocOptions().RightDot_DefaultPosCoef.X = 1.2f;
    AutoSetRightDotSpacing(A, 3.0f);
    EXPECT_NEAR(A[0], 1.2 + (1.5 - 1.2) * 0.2, Eps);
    // A lower bound holds the dot off the digit.
    AutoSetRightDotSpacing(A, 1.0f, 0.65625);
    EXPECT_NEAR(A[0], 0.65625, Eps);
    EXPECT_NEAR(GetMinRightDotSpacingCoef(*GetPureNoteStylePtr(0, nssNormal)), 0.5 + 0.375 / 2.4,
                Eps);
}

TEST_F(NoteGeometry, DashesDivideTheAdvanceWidthEvenly) {
    TRightLineSpacingCoefArray A{};
    AutoSetRightLineSpacing(A, 3, 4.0f);  // a whole note with advance 4 W
    for (float V : A) EXPECT_NEAR(V, 1.0, Eps);
    TrecNuo4PureNote N = Pure(1, 0, 0, sd1th);
    N.Options.RightLineSpacingCoefArray = A;
    EXPECT_NEAR(GetBounds_RightLine(N, 0).center().x(), 2.4, Eps);
    EXPECT_NEAR(GetBounds_RightLine(N, 2).center().x(), 7.2, Eps);
    AutoSetRightLineSpacing(A, 1, 3.0f);
    EXPECT_NEAR(A[6], 1.5, Eps);
    AutoSetRightLineSpacing(A, 2, -1.0f);
    for (float V : A) EXPECT_EQ(V, 0.0f);
    A.fill(1.5f);
    ZoomRightLineSpacing(A, 2.0f);
    for (float V : A) EXPECT_NEAR(V, 3.0, Eps);
}

// ---- Chords ---------------------------------------------------------------------------------

TEST_F(NoteGeometry, ChordWithoutGapModeStacksAtFixedDistances) {
    const TrecNuo4SymbolNote N = Chord({Pitch(5), Pitch(1), Pitch(3)}, sd4th);
    ASSERT_TRUE(N.IsChord());
    EXPECT_EQ(N.MainNote.MusicNote.Pitch.Digit, Digit1);  // the lowest
    ASSERT_EQ(N.ChordNote.Get().Options.NoteSpacingCoefArray.size(), 2u);
    EXPECT_NEAR(GetChordNotePosY(N, 1), -1.7 * 2.1, Eps);
    EXPECT_NEAR(GetChordNotePosY(N, 2), -2 * 1.7 * 2.1, Eps);
    // Bounds from the lowest digit's bottom to the highest digit's top.
    ExpectRect(GetBounds_Chord(N, false, false), -1.2, -2.1 - 7.14, 2.4, 9.24);
    EXPECT_NEAR(GetNoteDigitHeight(N), 9.24, Eps);
}

TEST_F(NoteGeometry, ChordGapModeKeepsAFixedGapBetweenMarks) {
    Nuo4DocOptions().Param_Chord.NoteSpacing.bGapMode = true;
    // Plain digits: the gap 0.4 H on top of one digit height.
    TrecNuo4SymbolNote N = Chord({Pitch(1), Pitch(3)}, sd4th);
    EXPECT_NEAR(N.ChordNote.Get().Options.NoteSpacingCoefArray[0], 1.4, Eps);
    // A dot above the lower note: its top is 1.3 H + half a zip dot (0.75 sqrt 0.7 / 2) up.
    N = Chord({Pitch(1, 1), Pitch(5, 1)}, sd4th);
    const double ZipDot = 0.75 * std::sqrt(0.7);
    EXPECT_NEAR(N.ChordNote.Get().Options.NoteSpacingCoefArray[0], (2.73 + ZipDot / 2) / 2.1 + 0.4,
                Eps);
    // A dot below the upper note: 0.27 H under it plus half a dot.
    N = Chord({Pitch(1, -1), Pitch(5, -1)}, sd8th);
    EXPECT_NEAR(N.ChordNote.Get().Options.NoteSpacingCoefArray[0],
                (2.1 + 0.567 + ZipDot / 2) / 2.1 + 0.4, Eps);
}

TEST_F(NoteGeometry, CommonRightDurationSitsAtFourTenthsOfTheChordHeight) {
    // Two notes: T = 2.1 + 1.7 x 2.1 = 5.67; the dot's own height is 0.4 H = 0.84.
    TrecNuo4SymbolNote N = Chord({Pitch(1), Pitch(3)}, sd4thDot);
    EXPECT_NEAR(N.ChordNote.Get().Options.ExtraOffsetYForCommonRightDuration, 0.4 * 5.67 - 0.84,
                Eps);
    // Dashes sit at half the digit height.
    N = Chord({Pitch(1), Pitch(3)}, sd2th);
    EXPECT_NEAR(N.ChordNote.Get().Options.ExtraOffsetYForCommonRightDuration, 0.4 * 5.67 - 1.05,
                Eps);
    // Nothing to share: no offset.
    N = Chord({Pitch(1), Pitch(3)}, sd8th);
    EXPECT_EQ(N.ChordNote.Get().Options.ExtraOffsetYForCommonRightDuration, 0.0f);
    Nuo4DocOptions().Param_Chord.bUseCommonRightDuration = false;
    N = Chord({Pitch(1), Pitch(3)}, sd4thDot);
    N.ChordNote.Mut().Options.bUseCommonRightDuration = false;
    AutoSetChordNoteExtraOffsetYForCommonRightDuration(N);
    EXPECT_EQ(N.ChordNote.Get().Options.ExtraOffsetYForCommonRightDuration, 0.0f);
}

TEST_F(NoteGeometry, ChordLeftEdgeComesFromAnyAccidental) {
    TrecNuo4SymbolNote N = Chord({Pitch(1), Pitch(3, 0, 1)}, sd4th);
    // Zip accidental: 3.6 sqrt 0.7 high, 0.35 of that wide, right edge at -0.6 W.
    const double AccW = 3.6 * std::sqrt(0.7) * 0.35;
    EXPECT_NEAR(GetNoteLeft(N), -1.44 - AccW, Eps);
    N = Chord({Pitch(1), Pitch(3)}, sd4thDot);
    EXPECT_NEAR(GetNoteLeft(N), -1.2, Eps);
    EXPECT_NEAR(GetNoteRight(N), 2.16 + 0.375 * std::sqrt(0.7), Eps);
}

// ---- Grace groups ---------------------------------------------------------------------------

TEST_F(NoteGeometry, GraceGroupSharesItsUnderlinesAcrossTheNotes) {
    // Grace style: H 1.95, W 1.56, underlines 0.1365 thick (not kept at the normal size).
    const TrecNuo4SymbolNote N = WithGrace({Pitch(1), Pitch(2)});
    const std::vector<double> X = GetGraceOffsetsX(N);
    ASSERT_EQ(X.size(), 2u);
    EXPECT_NEAR(X[1], 1.56, Eps);
    ExpectRect(GetGraceUnderline(N, 0), -0.624, 0.48750 - 0.06825, 1.248 + 1.56, 0.1365);
    EXPECT_NEAR(GetGraceUnderline(N, 1).top(), 0.8775 - 0.06825, Eps);
    // Eighth grace notes have one underline.
    TrecNuo4SymbolNote E = N;
    E.GraceNote.Mut().Options.b8th = true;
    EXPECT_EQ(GetGracePureNote(E, 0).MusicNote.GetUnderlineCount(), 1);
}

TEST_F(NoteGeometry, GraceOffsetsAddTheWidthsOfTheLaterNotes) {
    // The second note's accidental widens it: 0.78 + 0.6 x 1.56 + 0.35 x 2.34.
    const TrecNuo4SymbolNote N = WithGrace({Pitch(1), Pitch(2, 0, -1), Pitch(3)});
    const std::vector<double> X = GetGraceOffsetsX(N);
    ASSERT_EQ(X.size(), 3u);
    EXPECT_NEAR(X[1], 0.78 + 0.936 + 0.819, Eps);
    EXPECT_NEAR(X[2], X[1] + 1.56, Eps);
}

TEST_F(NoteGeometry, GraceGroupSitsBeforeOrAfterTheNoteAtTheDigitTop) {
    TrecNuo4SymbolNote N = WithGrace({Pitch(1), Pitch(2)});
    double Gap = 0;
    // Group from -0.78 to 1.56 + 0.78, down to the second underline's bottom.
    ExpectRect(GetBounds_Grace(N, Gap, true), -0.78, -1.95, 3.12, 1.95 + 0.94575);
    EXPECT_NEAR(Gap, 1.56, Eps);
    // Before: 0.1 W left of the digit's left edge; baseline at the main digit's top.
    const QPointF Before = GetGracePos(N);
    EXPECT_NEAR(Before.y(), -3.0, Eps);
    EXPECT_NEAR(Before.x(), -1.2 - 0.24 - 2.34, Eps);
    EXPECT_NEAR(GetBounds_Grace(N, Gap).right(), -1.2 - 0.24, Eps);
    N.GraceNote.Mut().Options.bRight = true;
    EXPECT_NEAR(GetBounds_Grace(N, Gap).left(), 1.2 + 0.24, Eps);
    // The symbol's bounds hold the group.
    N.GraceNote.Mut().Options.bRight = false;
    ExpectRect(GetBounds(N), -1.2 - 0.24 - 3.12, -4.95, 0.24 + 3.12 + 2.4, 4.95);
}

TEST_F(NoteGeometry, GraceTieIsAQuarterEllipseGrowingWithTheRootOfTheCount) {
    TrecNuo4SymbolNote N = WithGrace({Pitch(1), Pitch(2)});
    TrecNuo4GraceTieGeometry T = GetGraceTieGeometry(N);
    // Span 2.808: a = 1.404; b = 1.95 x 0.3 x sqrt 2; from the group's middle x = 0.78, just
    // under note 0's last underline (0.94575 + 0.8 t).
    EXPECT_NEAR(T.RefPt.x(), 0.78, Eps);
    EXPECT_NEAR(T.RefPt.y(), 0.94575 + 0.8 * 0.1365, Eps);
    ExpectRect(T.EllipseRect, 0.78, T.RefPt.y() - 0.585 * std::sqrt(2.0), 2.808,
               1.17 * std::sqrt(2.0));
    EXPECT_EQ(T.StartAngle, 90);
    EXPECT_EQ(T.SweepAngle, 90);
    EXPECT_NEAR(T.Thickness, 0.1365, Eps);
    // After the note the ellipse hangs from its right-middle and runs from 0 to 90 degrees.
    N.GraceNote.Mut().Options.bRight = true;
    T = GetGraceTieGeometry(N);
    EXPECT_NEAR(T.EllipseRect.right(), 0.78, Eps);
    EXPECT_EQ(T.StartAngle, 0);
    // Three notes: b grows to sqrt 3 and starts under the middle note.
    N = WithGrace({Pitch(1), Pitch(2, -1), Pitch(3)});
    T = GetGraceTieGeometry(N);
    EXPECT_NEAR(T.EllipseRect.height(), 1.17 * std::sqrt(3.0), Eps);
    // The middle note's dot below its two underlines: 1.95 x 0.75 + half of 0.4875.
    EXPECT_NEAR(T.RefPt.y(), 1.4625 + 0.24375 + 0.8 * 0.1365, Eps);
}

// ---- Octave changes -------------------------------------------------------------------------

TEST_F(NoteGeometry, OctaveChangesMoveEveryPitchOrNone) {
    TrecNuo4SymbolNote N = WithGrace({Pitch(1, 3)});
    EXPECT_FALSE(CanIncreaseOctave(N));
    EXPECT_FALSE(IncreaseOctave(N));
    EXPECT_EQ(N.MainNote.MusicNote.Pitch.Octave, 0);
    EXPECT_EQ(N.GraceNote.Get().Pitches[0].Octave, 3);
    EXPECT_TRUE(DecreaseOctave(N));
    EXPECT_EQ(N.MainNote.MusicNote.Pitch.Octave, -1);
    EXPECT_EQ(N.GetPitches()[0].Octave, -1);
    EXPECT_EQ(N.GraceNote.Get().Pitches[0].Octave, 2);

    TrecNuo4SymbolNote C = Chord({Pitch(1), Pitch(3, 2)}, sd4th);
    EXPECT_TRUE(IncreaseOctave(C));
    EXPECT_EQ(C.ChordNote.Get().Pitches[1].Octave, 3);
    EXPECT_EQ(C.MainNote.MusicNote.Pitch.Octave, 1);
    EXPECT_FALSE(IncreaseOctave(C));

    TrecNuo4SymbolNote D;
    TrecNuo4Pitch P;
    P.Initialize_ToDrumPitch(0, false);
    D.SetPitches_Main({P});
    EXPECT_FALSE(CanIncreaseOctave(D));
    EXPECT_FALSE(CanDecreaseOctave(D));
}

TEST_F(NoteGeometry, RightLineSpacingWritesTheLockedCopyToo) {
    TrecNuo4SymbolNote N;
    N.MainNote.Initialize(Pitch(1), sd1th);
    TRightLineSpacingCoefArray A{};
    A.fill(1.25f);
    RightLineSpacing_SetCoefArray(N, A);
    EXPECT_EQ(RightLineSpacing_GetCoefArray(N), A);
    EXPECT_TRUE(N.ControlOptions.RightLineSpacingCoefIsLocked());
}
