#include "render/note_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "format/doc_options.h"
#include "format/pitches.h"

namespace nuo4 {

namespace {

QRectF FromEdges(double ALeft, double ATop, double ARight, double ABottom) {
    return QRectF(QPointF(ALeft, ATop), QPointF(ARight, ABottom));
}

QRectF DivideRect(const QRectF& R, double W, double H) {
    if (W <= 0 || H <= 0) return QRectF();
    return QRectF(R.x() / W, R.y() / H, R.width() / W, R.height() / H);
}

// Unites without treating a zero-width or zero-height box as absent: note boxes of rests
// without marks are still real boxes.
void UniteBox(QRectF& ADst, const QRectF& ASrc, bool& bHas) {
    if (!bHas) {
        ADst = ASrc;
        bHas = true;
        return;
    }
    ADst = FromEdges(std::min(ADst.left(), ASrc.left()), std::min(ADst.top(), ASrc.top()),
                     std::max(ADst.right(), ASrc.right()), std::max(ADst.bottom(), ASrc.bottom()));
}

int ChordCount(const TrecNuo4SymbolNote& ANote) {
    return ANote.IsChord() ? int(ANote.ChordNote.Get().Pitches.size()) : 1;
}

}  // namespace

// ---- Counts ---------------------------------------------------------------------------------

TNuo4Duration Duration_StripRightDuration(TNuo4Duration ADuration) {
    return Duration_RemoveDots(ADuration);
}

TNuo4Duration Duration_StripUnderlines(TNuo4Duration ADuration) {
    return Duration_RemoveUnderlines(ADuration);
}

TrecPureNoteElementCountInfo GetElementCountInfo(const TrecNuo4PureNote& ANote) {
    const TrecNuo4MusicPureNote& M = ANote.MusicNote;
    TrecPureNoteElementCountInfo C;
    C.OctaveDotCount = std::abs(int(M.Pitch.Octave));
    if (M.Pitch.IsHighTune())
        C.OctaveDotHighCount = C.OctaveDotCount;
    else
        C.OctaveDotLowCount = C.OctaveDotCount;
    C.AccidentalCount = M.Pitch.WithAccidental() ? 1 : 0;
    C.UnderlineCount = M.GetUnderlineCount();
    C.RightDotCount = M.GetDotCount();
    C.RightLineCount = M.GetRightLineCount();
    return C;
}

// ---- Part rectangles of a style ---------------------------------------------------------------

QRectF DotSquare(QPointF ACentre, double ADiameter) {
    return QRectF(ACentre.x() - ADiameter / 2, ACentre.y() - ADiameter / 2, ADiameter, ADiameter);
}

QRectF GetBounds_OctaveDotHigh(const TrecNuo4PureNoteStyle& S, int I) {
    const double H = S.GetDigitHeight();
    const double Y =
        -H * (1 + double(S.OctaveDotHigh_Digit_GapCoef) + I * double(S.OctaveDotsGapCoef));
    return DotSquare(QPointF(0, Y), S.GetOctaveDotSize());
}

QRectF GetBounds_OctaveDotLow(const TrecNuo4PureNoteStyle& S, int I, int AUnderlineCount) {
    const double H = S.GetDigitHeight();
    double Y;
    if (AUnderlineCount <= 0)
        Y = H * (double(S.OctaveDotLow_Digit_GapCoef) + I * double(S.OctaveDotsGapCoef));
    else
        Y = H * ((AUnderlineCount - 1) * double(S.UnderLinesGapCoef) +
                 double(S.UnderLine_Digit_GapCoef) + double(S.UnderLine_OctaveDotLow_GapCoef) +
                 I * double(S.OctaveDotsGapCoef));
    return DotSquare(QPointF(0, Y), S.GetOctaveDotSize());
}

QRectF GetBounds_RightDot(const TrecNuo4PureNoteStyle& S, int I) {
    const QPointF P = S.GetRightDotPos();
    return DotSquare(QPointF(P.x() + I * S.GetRightDotsGap(), P.y()), S.GetRightDotSize());
}

QRectF GetBounds_Underline(const TrecNuo4PureNoteStyle& S, int I, int ARightDotCount) {
    const double H = S.GetDigitHeight();
    const double T = S.GetUnderLineHeight();
    const double Top =
        H * (I * double(S.UnderLinesGapCoef) + double(S.UnderLine_Digit_GapCoef)) - T / 2;
    const double Left = -S.GetUnderLineWidth() / 2;
    double Width = S.GetUnderLineWidth();
    if (ARightDotCount > 0) Width = GetBounds_RightDot(S, ARightDotCount - 1).right() - Left;
    return QRectF(Left, Top, Width, T);
}

// ---- Part rectangles of a note ----------------------------------------------------------------

const TrecNuo4PureNoteStyle& GetNoteStyle(const TrecNuo4PureNote& ANote) {
    return *GetPureNoteStylePtr(ANote.Options.StyleIndex);
}
QSizeF GetDigitSize(const TrecNuo4PureNote& ANote) {
    return GetNoteStyle(ANote).GetDigitSize();
}
double GetDigitWidth(const TrecNuo4PureNote& ANote) {
    return GetNoteStyle(ANote).GetDigitWidth();
}
double GetDigitHeight(const TrecNuo4PureNote& ANote) {
    return GetNoteStyle(ANote).GetDigitHeight();
}

bool WithAccidental(const TrecNuo4PureNote& ANote) {
    return ANote.MusicNote.WithAccidental();
}
bool WithUnderline(const TrecNuo4PureNote& ANote) {
    return ANote.MusicNote.GetUnderlineCount() > 0;
}
bool WithRightDot(const TrecNuo4PureNote& ANote) {
    return ANote.MusicNote.GetDotCount() > 0;
}
bool WithRightLine(const TrecNuo4PureNote& ANote) {
    return ANote.MusicNote.GetRightLineCount() > 0;
}
bool WithRightDuration(const TrecNuo4PureNote& ANote) {
    return WithRightDot(ANote) || WithRightLine(ANote);
}
bool IsDrum(const TrecNuo4PureNote& ANote) {
    return ANote.MusicNote.IsDrum();
}
bool IsHighTune(const TrecNuo4PureNote& ANote) {
    return ANote.MusicNote.IsHighTune();
}

QPointF GetAccidentalPos(const TrecNuo4PureNote& ANote) {
    return GetNoteStyle(ANote).GetAccidentalPos();
}

QRectF GetBounds_Accidental(const TrecNuo4PureNote& ANote) {
    const TrecNuo4PureNoteStyle& S = GetNoteStyle(ANote);
    const QPointF P = S.GetAccidentalPos();
    const double AW = S.GetAccidentalWidth(), AH = S.GetAccidentalHeight();
    return QRectF(P.x() - AW, P.y() - AH / 2, AW, AH);
}

QRectF GetBounds_Digit(const TrecNuo4PureNote& ANote) {
    const QSizeF D = GetDigitSize(ANote);
    return QRectF(-D.width() / 2, -D.height(), D.width(), D.height());
}

QRectF GetBounds_OctaveDot(const TrecNuo4PureNote& ANote, int I) {
    const TrecNuo4PureNoteStyle& S = GetNoteStyle(ANote);
    if (IsHighTune(ANote)) return GetBounds_OctaveDotHigh(S, I);
    return GetBounds_OctaveDotLow(S, I, ANote.MusicNote.GetUnderlineCount());
}

QRectF GetBounds_RightDot(const TrecNuo4PureNote& ANote, int I) {
    const TrecNuo4PureNoteStyle& S = GetNoteStyle(ANote);
    const double W = S.GetDigitWidth(), H = S.GetDigitHeight();
    const double X =
        (double(S.RightDotsGapCoef) * I + double(ANote.Options.RightLineSpacingCoefArray[0])) * W;
    return DotSquare(QPointF(X, double(S.RightDotPosCoef.Y) * H), S.GetRightDotSize());
}

double GetRightLinePosCoefX(const TrecNuo4PureNote& ANote, int I) {
    double Sum = 0;
    const int Last = std::min(I, Nuo4RightLineSpacingCoefCount - 1);
    for (int K = 0; K <= Last; ++K) Sum += ANote.Options.RightLineSpacingCoefArray[K];
    return Sum;
}

double GetRightLinePosX(const TrecNuo4PureNote& ANote, int I) {
    return GetRightLinePosCoefX(ANote, I) * GetDigitWidth(ANote);
}

QRectF GetBounds_RightLine(const TrecNuo4PureNote& ANote, int I) {
    const TrecNuo4PureNoteStyle& S = GetNoteStyle(ANote);
    const double L = S.GetRightLineWidth(), T = S.GetRightLineHeight();
    const double X = GetRightLinePosX(ANote, I);
    return QRectF(X - L / 2, S.GetRightLineY() - T / 2, L, T);
}

QRectF GetBounds_Underline(const TrecNuo4PureNote& ANote, int I) {
    QRectF R = GetBounds_Underline(GetNoteStyle(ANote), I, 0);
    // Under dots the line ends with the last dot as drawn: the style's own dot positions step
    // by a gap of the height and ignore the advance width, so a line ending there would stick
    // out beyond the dots (or stop short of them).
    const int Dots = ANote.MusicNote.GetDotCount();
    if (Dots > 0) R.setRight(GetBounds_RightDot(ANote, Dots - 1).right());
    return R;
}

// ---- Bounds of a note -------------------------------------------------------------------------

TrecPureNoteBoundsInfo GetElementCountAndBoundsInfo(const TrecNuo4PureNote& ANote,
                                                    TrecPureNoteElementCountInfo* ACounts) {
    const TrecNuo4PureNoteStyle& S = GetNoteStyle(ANote);
    const TrecPureNoteElementCountInfo C = GetElementCountInfo(ANote);
    if (ACounts) *ACounts = C;
    const double W = S.GetDigitWidth(), H = S.GetDigitHeight();

    TrecPureNoteBoundsInfo B;
    B.X_DigitLeft = float(-W / 2);
    B.X_DigitRight = float(W / 2);
    B.X_Left = C.AccidentalCount > 0 ? float(S.GetAccidentalPos().x() - S.GetAccidentalWidth())
                                     : B.X_DigitLeft;
    if (C.RightLineCount > 0)
        B.X_Right = float(GetBounds_RightLine(ANote, C.RightLineCount - 1).right());
    else if (C.RightDotCount > 0)
        B.X_Right = float(GetBounds_RightDot(ANote, C.RightDotCount - 1).right());
    else
        B.X_Right = B.X_DigitRight;

    B.Y_DigitTop = float(-H);
    B.Y_DigitBottom = 0;
    B.Y_Accidental = C.AccidentalCount > 0
                         ? float(S.GetAccidentalPos().y() - S.GetAccidentalHeight() / 2)
                         : B.Y_DigitTop;
    B.Y_OctaveDotHigh = C.OctaveDotHighCount > 0
                            ? float(GetBounds_OctaveDotHigh(S, C.OctaveDotHighCount - 1).top())
                            : B.Y_DigitTop;
    B.Y_Top = std::min(B.Y_Accidental, B.Y_OctaveDotHigh);

    B.Y_FirstUnderline = C.UnderlineCount > 0 ? float(H * S.UnderLine_Digit_GapCoef) : 0.0f;
    if (C.OctaveDotLowCount > 0)
        B.Y_Bottom =
            float(GetBounds_OctaveDotLow(S, C.OctaveDotLowCount - 1, C.UnderlineCount).bottom());
    else if (C.UnderlineCount > 0)
        B.Y_Bottom = float(GetBounds_Underline(S, C.UnderlineCount - 1, 0).bottom());
    else
        B.Y_Bottom = 0;

    B.Bounds = FromEdges(B.X_Left, B.Y_Top, B.X_Right, B.Y_Bottom);
    B.Bounds_NoAccidental = FromEdges(B.X_DigitLeft, B.Y_OctaveDotHigh, B.X_Right, B.Y_Bottom);
    B.Bounds_Basic = QRectF(B.X_DigitLeft, B.Y_OctaveDotHigh, W, B.Y_Bottom - B.Y_OctaveDotHigh);
    B.Bounds_Coef = DivideRect(B.Bounds, W, H);
    B.Bounds_NoAccidental_Coef = DivideRect(B.Bounds_NoAccidental, W, H);
    B.Bounds_Basic_Coef = DivideRect(B.Bounds_Basic, W, H);
    return B;
}

QRectF GetBounds(const TrecNuo4PureNote& ANote, bool bIgnoreAccidental, bool bIgnoreRightDuration) {
    const TrecPureNoteBoundsInfo B = GetElementCountAndBoundsInfo(ANote);
    QRectF R = bIgnoreAccidental ? B.Bounds_NoAccidental : B.Bounds;
    if (bIgnoreRightDuration) R.setRight(B.X_DigitRight);
    return R;
}

double GetLeft(const TrecNuo4PureNote& ANote) {
    return GetBounds(ANote).left();
}
double GetRight(const TrecNuo4PureNote& ANote) {
    return GetBounds(ANote).right();
}
double GetWidth(const TrecNuo4PureNote& ANote) {
    return GetBounds(ANote).width();
}
double GetBottom(const TrecNuo4PureNote& ANote) {
    return GetBounds(ANote).bottom();
}

double GetUnderlineBottom(const TrecNuo4PureNote& ANote) {
    const int U = ANote.MusicNote.GetUnderlineCount();
    return U > 0 ? GetBounds_Underline(ANote, U - 1).bottom() : 0.0;
}

// ---- Spacing of dots and dashes ---------------------------------------------------------------

void AutoSetRightDotSpacing(TRightLineSpacingCoefArray& AArray, float AAWCoef, double AMinCoef) {
    const double D = Nuo4DocOptions().RightDot_DefaultPosCoef.X;
    const double X = double(AAWCoef) / 2;
    AArray[0] = float(std::max(AMinCoef, X < D ? X : D + (X - D) * 0.2));
}

double GetMinRightDotSpacingCoef(const TrecNuo4PureNoteStyle& S) {
    const double W = S.GetDigitWidth();
    return W > 0 ? 0.5 + S.GetRightDotSize() / 2 / W : 0.0;
}

void AutoSetRightLineSpacing(TRightLineSpacingCoefArray& AArray, int ARightLineCount,
                             float AAWCoef) {
    const float V = AAWCoef < 0 ? 0.0f : AAWCoef / float(std::max(0, ARightLineCount) + 1);
    AArray.fill(V);
}

void ZoomRightLineSpacing(TRightLineSpacingCoefArray& AArray, float AFactor) {
    for (float& V : AArray) V *= AFactor;
}

// ---- Chords -----------------------------------------------------------------------------------

TrecNuo4NoteStyleIndex GetChordStyleIndex(const TrecNuo4SymbolNote& ANote,
                                          bool bForceChordSubStyle) {
    const TrecNuo4NoteStyleIndex Own = ANote.MainNote.Options.StyleIndex;
    if (!bForceChordSubStyle) return Own;
    return TrecNuo4NoteStyleIndex::Create(Own.MainStyle, Nuo4DocOptions().Param_Chord.NoteSubStyle);
}

const TrecNuo4PureNoteStyle& GetNoteStylePtr_Chord(const TrecNuo4SymbolNote& ANote,
                                                   bool bForceChordSubStyle) {
    return *GetPureNoteStylePtr(GetChordStyleIndex(ANote, bForceChordSubStyle));
}

const TrecNuo4PureNoteStyle& GetNoteStylePtr_Main(const TrecNuo4SymbolNote& ANote) {
    return GetNoteStyle(ANote.MainNote);
}

TrecNuo4PureNote GetChordPureNote(const TrecNuo4SymbolNote& ANote, int K, bool bStripRightDuration,
                                  bool bStripUnderlines, bool bForceChordSubStyle) {
    TrecNuo4PureNote N = ANote.MainNote;
    if (ANote.IsChord() && K >= 0 && K < int(ANote.ChordNote.Get().Pitches.size()))
        N.MusicNote.Pitch = ANote.ChordNote.Get().Pitches[K];
    TNuo4Duration D = N.MusicNote.Duration;
    if (bStripRightDuration) D = Duration_StripRightDuration(D);
    if (bStripUnderlines) D = Duration_StripUnderlines(D);
    N.MusicNote.Duration = D;
    N.Options.StyleIndex = GetChordStyleIndex(ANote, bForceChordSubStyle);
    return N;
}

double GetChordNotePosY(const TrecNuo4SymbolNote& ANote, int K, bool bForceChordSubStyle) {
    const double H = GetNoteStylePtr_Chord(ANote, bForceChordSubStyle).GetDigitHeight();
    const std::vector<float>& A = ANote.ChordNote.Get().Options.NoteSpacingCoefArray;
    // A record whose spacing was never derived stacks at the document's fixed distance.
    const double Fallback = Nuo4DocOptions().Param_Chord.NoteSpacing.SpacingCoef_NonGapMode;
    double Sum = 0;
    for (int I = 0; I < K; ++I) Sum += I < int(A.size()) ? double(A[I]) : Fallback;
    return -H * Sum;
}

void AutoSetChordNoteSpacingArray(TrecNuo4SymbolNote& ANote) {
    // A note without a chord part has no spacing to clear.
    if (!ANote.IsChord() && !ANote.ChordNote.IsPresent()) return;
    std::vector<float>& A = ANote.ChordNote.Mut().Options.NoteSpacingCoefArray;
    A.clear();
    if (!ANote.IsChord()) return;
    const TrecNuo4DocOptionsParam_Chord_NoteSpacing& P = Nuo4DocOptions().Param_Chord.NoteSpacing;
    const int N = int(ANote.ChordNote.Get().Pitches.size());
    const double H = GetNoteStylePtr_Chord(ANote).GetDigitHeight();
    for (int K = 0; K + 1 < N; ++K) {
        if (!P.bGapMode || H <= 0) {
            A.push_back(P.SpacingCoef_NonGapMode);
            continue;
        }
        const QRectF Lower = GetBounds(GetChordPureNote(ANote, K, true, true), true, false);
        const QRectF Upper = GetBounds(GetChordPureNote(ANote, K + 1, true, true), true, false);
        A.push_back(float((Upper.bottom() - Lower.top()) / H + P.SpacingCoef_GapMode));
    }
}

void AutoSetChordNoteExtraOffsetYForCommonRightDuration(TrecNuo4SymbolNote& ANote) {
    // A note without a chord part reads no offset: there is none to set.
    if (!ANote.IsChord() && !ANote.ChordNote.IsPresent()) return;
    TrecNuo4ChordNoteOptions& O = ANote.ChordNote.Mut().Options;
    const TNuo4Duration D = ANote.GetDuration();
    const bool bDots = Duration_DotCount(D) > 0, bLines = Duration_RightLineCount(D) > 0;
    if (!ANote.IsChord() || !O.bUseCommonRightDuration || !(bDots || bLines)) {
        O.ExtraOffsetYForCommonRightDuration = 0;
        return;
    }
    const TrecNuo4PureNoteStyle& S = GetNoteStylePtr_Chord(ANote);
    const double H = S.GetDigitHeight();
    const int Last = int(ANote.ChordNote.Get().Pitches.size()) - 1;
    const double T = H - GetChordNotePosY(ANote, Last);
    const double C = bDots ? -S.GetRightDotPos().y() : H / 2;
    O.ExtraOffsetYForCommonRightDuration =
        float(T * Nuo4DocOptions().Param_Chord.CommonRightDurationPosYCoef - C);
}

void CheckChord(TrecNuo4SymbolNote& ANote) {
    ANote.CheckChord();
    if (ANote.ChordNote.Get().Pitches.size() >= 2) {
        AutoSetChordNoteSpacingArray(ANote);
        AutoSetChordNoteExtraOffsetYForCommonRightDuration(ANote);
    }
}

QRectF GetBounds_Chord(const TrecNuo4SymbolNote& ANote, bool bIgnoreAccidental,
                       bool bIgnoreRightDuration, bool bForceChordSubStyle) {
    QRectF R = GetBounds(GetChordPureNote(ANote, 0, false, false, bForceChordSubStyle),
                         bIgnoreAccidental, false);
    bool bHas = true;
    for (int K = 1; K < ChordCount(ANote); ++K) {
        QRectF B = GetBounds(GetChordPureNote(ANote, K, true, true, bForceChordSubStyle),
                             bIgnoreAccidental, false);
        B.translate(0, GetChordNotePosY(ANote, K, bForceChordSubStyle));
        UniteBox(R, B, bHas);
    }
    if (bIgnoreRightDuration)
        R.setRight(GetNoteStylePtr_Chord(ANote, bForceChordSubStyle).GetDigitWidth() / 2);
    return R;
}

QRectF GetBounds_MainAndChord(const TrecNuo4SymbolNote& ANote, bool bIgnoreAccidental,
                              bool bIgnoreRightDuration, bool bForceChordSubStyle) {
    if (ANote.IsChord())
        return GetBounds_Chord(ANote, bIgnoreAccidental, bIgnoreRightDuration, bForceChordSubStyle);
    return GetBounds(ANote.MainNote, bIgnoreAccidental, bIgnoreRightDuration);
}

QRectF GetBounds_MainAndChord_Basic(const TrecNuo4SymbolNote& ANote) {
    return GetBounds_MainAndChord(ANote, true, true, true);
}

double GetNoteLeft(const TrecNuo4SymbolNote& ANote, bool bForceChordSubStyle) {
    if (!ANote.IsChord()) return GetLeft(ANote.MainNote);
    const TrecNuo4PureNoteStyle& S = GetNoteStylePtr_Chord(ANote, bForceChordSubStyle);
    const bool bAccidental =
        std::any_of(ANote.ChordNote.Get().Pitches.begin(), ANote.ChordNote.Get().Pitches.end(),
                    [](const TrecNuo4Pitch& P) { return P.WithAccidental(); });
    if (bAccidental) return S.GetAccidentalPos().x() - S.GetAccidentalWidth();
    return -S.GetDigitWidth() / 2;
}

double GetNoteRight(const TrecNuo4SymbolNote& ANote, bool bForceChordSubStyle) {
    if (!ANote.IsChord()) return GetRight(ANote.MainNote);
    return GetRight(GetChordPureNote(ANote, 0, false, false, bForceChordSubStyle));
}

double GetNoteDigitHeight(const TrecNuo4SymbolNote& ANote, bool bForceChordSubStyle) {
    if (!ANote.IsChord()) return GetDigitHeight(ANote.MainNote);
    const double H = GetNoteStylePtr_Chord(ANote, bForceChordSubStyle).GetDigitHeight();
    return H - GetChordNotePosY(ANote, ChordCount(ANote) - 1, bForceChordSubStyle);
}

// ---- Grace groups -----------------------------------------------------------------------------

TrecNuo4PureNote GetGracePureNote(const TrecNuo4SymbolNote& ANote, int K) {
    TrecNuo4PureNote N;
    TrecNuo4Pitch P;
    const TrecNuo4GraceNote& Grace = ANote.GraceNote.Get();
    if (K >= 0 && K < int(Grace.Pitches.size())) P = Grace.Pitches[K];
    N.Initialize(P, Grace.Options.b8th ? sd8th : sd16th);
    N.Options.StyleIndex =
        TrecNuo4NoteStyleIndex::Create(ANote.MainNote.Options.StyleIndex.MainStyle, nssGrace);
    return N;
}

std::vector<double> GetGraceOffsetsX(const TrecNuo4SymbolNote& ANote) {
    const int N = int(ANote.GraceNote.Get().Pitches.size());
    std::vector<double> X(N, 0.0);
    for (int K = 1; K < N; ++K) X[K] = X[K - 1] + GetWidth(GetGracePureNote(ANote, K));
    return X;
}

QRectF GetGraceUnderline(const TrecNuo4SymbolNote& ANote, int I) {
    const std::vector<double> X = GetGraceOffsetsX(ANote);
    if (X.empty()) return QRectF();
    QRectF R = GetBounds_Underline(GetNoteStyle(GetGracePureNote(ANote, 0)), I, 0);
    R.setWidth(R.width() + X.back());
    return R;
}

TrecNuo4GraceTieGeometry GetGraceTieGeometry(const TrecNuo4SymbolNote& ANote) {
    TrecNuo4GraceTieGeometry G;
    const std::vector<double> X = GetGraceOffsetsX(ANote);
    const int N = int(X.size());
    if (N == 0) return G;
    const TrecNuo4PureNote First = GetGracePureNote(ANote, 0);
    const TrecNuo4PureNoteStyle& S = GetNoteStyle(First);
    G.Thickness = S.GetUnderLineHeight();
    const double UW = S.GetUnderLineWidth();
    const double Span = UW + X.back();
    const double A = Span / 2;
    const double B = S.GetDigitHeight() * 0.3 * std::sqrt(double(N));
    double Y;
    if (N % 2 == 0)
        Y = GetUnderlineBottom(First);
    else
        Y = GetBottom(GetGracePureNote(ANote, N / 2));
    G.RefPt = QPointF(Span / 2 - UW / 2, Y + 0.8 * G.Thickness);
    if (ANote.GraceNote.Get().Options.bRight) {
        G.EllipseRect = QRectF(G.RefPt.x() - 2 * A, G.RefPt.y() - B, 2 * A, 2 * B);
        G.StartAngle = 0;
    } else {
        G.EllipseRect = QRectF(G.RefPt.x(), G.RefPt.y() - B, 2 * A, 2 * B);
        G.StartAngle = 90;
    }
    G.SweepAngle = 90;
    return G;
}

namespace {
QRectF GraceGroupBounds(const TrecNuo4SymbolNote& ANote, double& AGap) {
    const std::vector<double> X = GetGraceOffsetsX(ANote);
    AGap = X.empty() ? 0.0 : X.back();
    QRectF R;
    bool bHas = false;
    for (int K = 0; K < int(X.size()); ++K)
        UniteBox(R, GetBounds(GetGracePureNote(ANote, K)).translated(X[K], 0), bHas);
    return R;
}
}  // namespace

QPointF GetGracePos(const TrecNuo4SymbolNote& ANote, bool bForceChordSubStyle) {
    if (!ANote.WithGrace()) return QPointF();
    const TrecNuo4PureNoteStyle& S = GetNoteStylePtr_Main(ANote);
    const double W = S.GetDigitWidth(), H = S.GetDigitHeight();
    const TNuo4PointF Gap = ANote.GraceNote.Get().Options.GapCoef;
    double Dummy = 0;
    const QRectF Group = GraceGroupBounds(ANote, Dummy);
    const double Y = -H * (1 + double(Gap.Y));
    double X;
    if (ANote.GraceNote.Get().Options.bRight)
        X = GetNoteRight(ANote, bForceChordSubStyle) + W * Gap.X - Group.left();
    else
        X = GetNoteLeft(ANote, bForceChordSubStyle) - W * Gap.X - Group.right();
    return QPointF(X, Y);
}

QRectF GetBounds_Grace(const TrecNuo4SymbolNote& ANote, double& AGapBetweenFirstAndLastNote,
                       bool bIgnoreGracePos, bool bForceChordSubStyle) {
    QRectF R = GraceGroupBounds(ANote, AGapBetweenFirstAndLastNote);
    if (!ANote.WithGrace()) return QRectF();
    if (!bIgnoreGracePos) R.translate(GetGracePos(ANote, bForceChordSubStyle));
    return R;
}

QRectF GetBounds(const TrecNuo4SymbolNote& ANote, bool bForceChordSubStyle) {
    QRectF R = GetBounds_MainAndChord(ANote, false, false, bForceChordSubStyle);
    if (ANote.WithGrace()) {
        double Gap = 0;
        bool bHas = true;
        UniteBox(R, GetBounds_Grace(ANote, Gap, false, bForceChordSubStyle), bHas);
    }
    return R;
}

// ---- Octave changes ---------------------------------------------------------------------------

namespace {
TNuo4Pitches AllPitches(const TrecNuo4SymbolNote& ANote) {
    TNuo4Pitches P = ANote.GetPitches();
    Pitches_Add(P, ANote.GraceNote.Get().Pitches);
    return P;
}
bool AnyDrum(const TNuo4Pitches& P) {
    return std::any_of(P.begin(), P.end(), [](const TrecNuo4Pitch& X) { return X.IsDrum(); });
}
// Only after the range was checked.
void ShiftOctave(TrecNuo4SymbolNote& ANote, int ADelta) {
    auto Shift = [ADelta](TNuo4Pitches& P) {
        for (TrecNuo4Pitch& X : P) X.Octave = TNuo4Octave(X.Octave + ADelta);
    };
    if (ANote.IsChord()) {
        Shift(ANote.ChordNote.Mut().Pitches);
        // Octave dots change the gaps of a chord in gap mode.
        CheckChord(ANote);
    } else {
        TrecNuo4Pitch& P = ANote.MainNote.MusicNote.Pitch;
        P.Octave = TNuo4Octave(P.Octave + ADelta);
        // A one-entry pitch list set directly on the record stays in step.
        if (ANote.ChordNote.Get().Pitches.size() == 1) ANote.ChordNote.Mut().Pitches[0] = P;
    }
    if (ANote.WithGrace()) Shift(ANote.GraceNote.Mut().Pitches);
}
}  // namespace

bool CanIncreaseOctave(const TrecNuo4SymbolNote& ANote) {
    const TNuo4Pitches P = AllPitches(ANote);
    return !AnyDrum(P) && Pitches_CanOctaveUp(P);
}

bool CanDecreaseOctave(const TrecNuo4SymbolNote& ANote) {
    const TNuo4Pitches P = AllPitches(ANote);
    return !AnyDrum(P) && Pitches_CanOctaveDown(P);
}

bool IncreaseOctave(TrecNuo4SymbolNote& ANote) {
    if (!CanIncreaseOctave(ANote)) return false;
    ShiftOctave(ANote, +1);
    return true;
}

bool DecreaseOctave(TrecNuo4SymbolNote& ANote) {
    if (!CanDecreaseOctave(ANote)) return false;
    ShiftOctave(ANote, -1);
    return true;
}

// ---- Right-line spacing of a note record ------------------------------------------------------

TRightLineSpacingCoefArray RightLineSpacing_GetCoefArray(const TrecNuo4SymbolNote& ANote) {
    return ANote.MainNote.Options.RightLineSpacingCoefArray;
}

void RightLineSpacing_SetCoefArray(TrecNuo4SymbolNote& ANote,
                                   const TRightLineSpacingCoefArray& AArray) {
    ANote.MainNote.Options.RightLineSpacingCoefArray = AArray;
    ANote.ControlOptions.AWCoef.RightLineSpacingCoefArray = AArray;
}

}  // namespace nuo4
