#include "render/symbol_arc.h"

#include <algorithm>
#include <cmath>

#include "format/doc_options.h"
#include "render/music_font.h"
#include "render/note_style.h"

namespace nuo4 {

namespace {

constexpr double Pi = 3.14159265358979323846;
double Rad(double ADeg) {
    return ADeg * Pi / 180;
}
double Deg(double ARad) {
    return ARad * 180 / Pi;
}

// Heights below this are drawn as the chord itself.
constexpr double MinHeight = 1e-6;

// The parametric angle (clockwise, y down) of the point of the ellipse inscribed in ARect whose
// ray from the centre has the true angle APolarDeg.
double ParametricDeg(const QRectF& ARect, double APolarDeg) {
    const double T = Rad(APolarDeg);
    return Deg(std::atan2(ARect.width() * std::sin(T), ARect.height() * std::cos(T)));
}

// An arc given by true ray angles clockwise on the page, as the platform's arcs are. It is
// built from cubic segments of at most 90 degrees whose ends lie exactly on the ellipse, so
// the arcs meet the chord ends to the thousandth (the general arc of the path class does
// not). With bMoveTo the arc begins a new figure, otherwise a line joins it to the current
// point.
void ArcClockwise(QPainterPath& P, const QRectF& ARect, double AStartDeg, double ASweepDeg,
                  bool bMoveTo) {
    const double U0 = ParametricDeg(ARect, AStartDeg);
    double Sweep = ParametricDeg(ARect, AStartDeg + ASweepDeg) - U0;
    while (ASweepDeg > 0 && Sweep < 0) Sweep += 360;
    while (ASweepDeg < 0 && Sweep > 0) Sweep -= 360;
    const QPointF C = ARect.center();
    const double Rx = ARect.width() / 2, Ry = ARect.height() / 2;
    auto At = [&](double U) { return C + QPointF(Rx * std::cos(U), Ry * std::sin(U)); };
    auto Tangent = [&](double U) { return QPointF(-Rx * std::sin(U), Ry * std::cos(U)); };
    double U = Rad(U0);
    if (bMoveTo)
        P.moveTo(At(U));
    else
        P.lineTo(At(U));
    const int N = std::max(1, int(std::ceil(std::abs(Sweep) / 90 - 1e-9)));
    const double D = Rad(Sweep) / N, K = 4.0 / 3 * std::tan(D / 4);
    for (int I = 0; I < N; ++I) {
        const double V = U + D;
        P.cubicTo(At(U) + K * Tangent(U), At(V) - K * Tangent(V), At(V));
        U = V;
    }
}

QPainterPath Line(TGPPointF A, TGPPointF B) {
    QPainterPath P(A);
    P.lineTo(B);
    return P;
}

// A filled arc from two curves: the outer one starts AT / 4 above the start point and stands
// AT / 4 higher, the inner one starts AT / 4 below and stands AT / 4 lower; the outer one,
// then the inner one backwards, closed.
template <typename TCurve>
QPainterPath Crescent(TGPPointF AStartPt, double AH, double AT, TCurve ACurve) {
    QPainterPath P = ACurve(AStartPt + TGPPointF(0, -AT / 4), AH + AT / 4);
    TKoGDIPlusPath::Path_ReverseAndAddAndClose(
        P, ACurve(AStartPt + TGPPointF(0, AT / 4), AH - AT / 4), true);
    return P;
}

// The rising corner of the flat curve: from the start point up to the top, or, when AStopX
// falls inside the corner, up to that x.
void FlatCorner(QPainterPath& P, TGPPointF AStartPt, double R, double C, double AH, double ATheta,
                double AStopX) {
    const QRectF Sq(AStartPt.x() - R + C, AStartPt.y() - AH, 2 * R, 2 * R);
    double Sweep = ATheta;
    if (AStopX < C) {
        // The corner's centre is C right of the start; a point of the circle at x has
        // cos(angle) = (x - C) / R.
        const double A = 360 - Deg(std::acos(std::clamp((AStopX - C) / R, -1.0, 1.0)));
        Sweep = std::clamp(A - (270 - ATheta), 0.0, ATheta);
    }
    ArcClockwise(P, Sq, 270 - ATheta, Sweep, true);
}

}  // namespace

// ---- Records --------------------------------------------------------------------------------

void TrecNuo4SymbolArcStyle::SetToDefault() {
    Initialize(Nuo4DocOptions().Param_Arc.DefaultShape, lscsFull);
}

void TrecNuo4SymbolArc::SetToDefault() {
    *this = TrecNuo4SymbolArc();
    Style.SetToDefault();
}

TGPSizeF TrecNuo4SymbolArc::GetDigitSize() const {
    return nuo4::GetDigitSize(NoteStyleIndex);
}

void TrecNuo4SymbolArc::Check() {
    if (!IsFull()) {
        if (Style.Shape == assEllipseFill) Style.Shape = assFlatFill;
        if (Style.Shape == assEllipseStroke) Style.Shape = assFlatStroke;
        ABCInfo.TupletNumber = 0;
        ABCInfo.ArrowStyle = aasNone;
        ArcLength_LeftOrRight = std::max(ArcLength_LeftOrRight, float(Nuo4ArcMinLength));
        ArcLength_Full = 2 * ArcLength_LeftOrRight;
    } else {
        ArcLength_Full = std::max(ArcLength_Full, float(Nuo4ArcMinLength));
        ArcLength_LeftOrRight = 0;
    }
}

void TrecNuo4SymbolArc::GetArcHeightAndThicknessFromArcLength() {
    Check();
    double H, T;
    TNuo4SymbolArc::GetArcHeightAndThickness(Style.Shape, ArcLength_Full, NoteStyleIndex, H, T);
    FArcHeight = float(H);
    FArcThickness = float(T);
}

TGPSizeF TupletDigitSize(TGPSizeF AStyleDigitSize) {
    const double Wd = 0.6 * AStyleDigitSize.width();
    return TGPSizeF(Wd, 1.2 * Wd);
}

// ---- Heights and curves ---------------------------------------------------------------------

void TNuo4SymbolArc::GetArcHeightAndThickness(TNuo4SymbolArcShape AArcShape, double AArcLength_Full,
                                              const TrecNuo4NoteStyleIndex& AIndex,
                                              double& AArcHeight, double& AThickness) {
    const double L = std::max(AArcLength_Full, Nuo4ArcMinLength);
    const double H = GetDigitSize(AIndex).height();
    switch (AArcShape) {
        case assEllipseFill:
            AArcHeight = 0.28 * std::sqrt(L) * std::sqrt(H);
            AThickness = 0.10 * H;
            break;
        case assEllipseStroke:
            AArcHeight = 0.28 * std::sqrt(L) * std::sqrt(H);
            AThickness = 0.07 * H;
            break;
        default:
            AArcHeight = 0.32 * H * std::pow(L, 1.0 / 8);
            AThickness = 0.07 * H;
            break;
    }
}

QPainterPath TNuo4SymbolArc::CreatePath_Arc_Ellispe_Hair_Full(TGPPointF AStartPt, double L,
                                                              double AH, double S) {
    if (AH < MinHeight) return Line(AStartPt, AStartPt + TGPPointF(L, 0));
    const double A = L / 2 * (1 + S) / std::sqrt(1 + 2 * S), B = (1 + S) * AH;
    const QRectF R(AStartPt.x() + L / 2 - A, AStartPt.y() - AH, 2 * A, 2 * B);
    const double Phi = Deg(std::atan2(L / 2, S * AH));
    QPainterPath P;
    ArcClockwise(P, R, 270 - Phi, 2 * Phi, true);
    return P;
}

QPainterPath TNuo4SymbolArc::CreatePath_Arc_Ellispe_Full_NoTuplet(bool bStroke, TGPPointF AStartPt,
                                                                  double L, double AH, double AT,
                                                                  double S) {
    if (bStroke) return CreatePath_Arc_Ellispe_Hair_Full(AStartPt, L, AH, S);
    return Crescent(AStartPt, AH, AT, [&](TGPPointF APt, double AHeight) {
        return CreatePath_Arc_Ellispe_Hair_Full(APt, L, AHeight, S);
    });
}

QPainterPath TNuo4SymbolArc::CreatePath_Arc_Ellispe_Hair_LeftHalf_UseForTuplet(TGPPointF AStartPt,
                                                                               double AF, double AH,
                                                                               double S) {
    if (AH < MinHeight) return Line(AStartPt, AStartPt + TGPPointF(0.4 * AF, 0));
    const double A = AF / 2 * (1 + S) / std::sqrt(1 + 2 * S), B = (1 + S) * AH;
    const QRectF R(AStartPt.x() + AF / 2 - A, AStartPt.y() - AH, 2 * A, 2 * B);
    const double Phi = Deg(std::atan2(AF / 2, S * AH));
    QPainterPath P;
    ArcClockwise(P, R, 270 - Phi, 0.8 * Phi, true);
    return P;
}

TNuo4SymbolPathes TNuo4SymbolArc::CreatePathes_Arc_Ellispe_Full_WithTuplet(
    const TrecNuo4SymbolArc& ARec, TGPPointF AStartPt, TGPSizeF ADigitSize, double S) {
    const int N = ARec.ABCInfo.TupletNumber;
    if (N < 1 || N > 99) return {};
    const double Wd = ADigitSize.width(), Hd = ADigitSize.height();
    const double L = ARec.ArcLength_Full, H = ARec.FArcHeight, T = ARec.FArcThickness;
    const double WN = N < 10 ? Wd : 2 * Wd;
    const double G = (L - WN - 2 * 0.3 * Wd) / 2;
    if (G < 0) return {};
    const double Xc = AStartPt.x() + L / 2;
    auto Half = [&](TGPPointF APt, double AHeight) {
        return CreatePath_Arc_Ellispe_Hair_LeftHalf_UseForTuplet(APt, 2 * G, AHeight, S);
    };
    QPainterPath Left = ARec.IsStroke() ? Half(AStartPt, H) : Crescent(AStartPt, H, T, Half);
    QPainterPath Right = Left;
    TKoGDIPlusPath::PathMirrorY(Right, Xc);
    TNuo4SymbolPathes Items;
    if (ARec.IsStroke()) {
        SymbolPathes_AddStroke(Items, Left, T);
        SymbolPathes_AddStroke(Items, Right, T);
    } else {
        SymbolPathes_AddFill(Items, Left);
        SymbolPathes_AddFill(Items, Right);
    }
    TGPRectF Bounds;
    SymbolPathes_AddFill(
        Items, CreatePath_TupletNumber(TGPPointF(Xc - WN / 2, AStartPt.y() - H - Hd / 2), N,
                                       ADigitSize, true, Bounds));
    return Items;
}

QPainterPath TNuo4SymbolArc::CreatePath_TupletNumber(TGPPointF APtLT, int AN, TGPSizeF ADigitSize,
                                                     bool bTupletNumberIsItalic,
                                                     TGPRectF& ABounds) {
    ABounds = TGPRectF();
    if (AN <= 0 || AN >= 100) return QPainterPath();
    const double Wd = ADigitSize.width(), Hd = ADigitSize.height();
    const TrecNuo4CoreFontSymbolInfoItem& Info = CoreFontSymbolInfo(cfsGeneralDigit0);
    auto Digit = [&](int D, double AX) {
        TGPRectF B;
        QPainterPath P = Nuo4MusicFont().CreatePath_CoreFont_Char(
            GetDestGraphics(), Info.WithUnicode(char16_t(CoreFont_FirstGeneralDigit + D)),
            ADigitSize, B, false);
        TKoGDIPlusPath::PathTranslate(P, AX, APtLT.y());
        return P;
    };
    QPainterPath P;
    if (AN < 10) {
        P = Digit(AN, APtLT.x());
    } else {
        P = Digit(AN / 10, APtLT.x());
        P.addPath(Digit(AN % 10, APtLT.x() + Wd));
    }
    if (bTupletNumberIsItalic) {
        const double Yc = APtLT.y() + Hd / 2;
        TKoGDIPlusPath::PathTranslate(P, 0, -Yc);
        TKoGDIPlusPath::PathItalic(P, Nuo4TupletNumberItalicAngle);
        TKoGDIPlusPath::PathTranslate(P, 0, Yc);
    }
    ABounds = TGPRectF(APtLT.x(), APtLT.y(), AN < 10 ? Wd : 2 * Wd, Hd);
    return P;
}

QPainterPath TNuo4SymbolArc::CreatePath_Arc_Flat_Hair_Full(TGPPointF AStartPt, double L, double AH,
                                                           double ATheta) {
    if (AH < MinHeight) return Line(AStartPt, AStartPt + TGPPointF(L, 0));
    const double R = AH / (1 - std::cos(Rad(ATheta)));
    const double C = R * std::sin(Rad(ATheta));
    const double F = L - 2 * C;
    QPainterPath P;
    if (F >= 0) {
        const QRectF Sq(AStartPt.x() - R + C, AStartPt.y() - AH, 2 * R, 2 * R);
        ArcClockwise(P, Sq, 270 - ATheta, ATheta, true);
        ArcClockwise(P, Sq.translated(F, 0), 270, ATheta, false);
    } else {
        // The circle through both chord ends with its top at the apex. The ray to a chord end
        // makes 2 atan(2h / L) with the vertical (twice the angle the end's chord from the
        // apex makes with the horizontal); at L = 2 c this is the corner angle, so both forms
        // meet there.
        const double E = AH + L * L / (4 * AH);
        const double Psi = 2 * Deg(std::atan2(2 * AH, L));
        ArcClockwise(P, QRectF(AStartPt.x() + (L - E) / 2, AStartPt.y() - AH, E, E), 270 - Psi,
                     2 * Psi, true);
    }
    return P;
}

QPainterPath TNuo4SymbolArc::CreatePath_Arc_Flat_Full_NoTuplet(bool bStroke, TGPPointF AStartPt,
                                                               double L, double AH, double AT,
                                                               double ATheta) {
    if (bStroke) return CreatePath_Arc_Flat_Hair_Full(AStartPt, L, AH, ATheta);
    QPainterPath P = CreatePath_Arc_Flat_Hair_Full(AStartPt + TGPPointF(0, -AT / 2), L, AH, ATheta);
    QPainterPath Lower = P;
    Lower.translate(0, AT);
    TKoGDIPlusPath::Path_ReverseAndAddAndClose(P, Lower, true);
    return P;
}

QPainterPath TNuo4SymbolArc::CreatePath_Arc_Flat_Hair_Left(TGPPointF AStartPt, double AH, double AP,
                                                           double ATheta) {
    if (AH < MinHeight) return Line(AStartPt, AStartPt + TGPPointF(AP, 0));
    const double R = AH / (1 - std::cos(Rad(ATheta)));
    const double C = R * std::sin(Rad(ATheta));
    QPainterPath P;
    FlatCorner(P, AStartPt, R, C, AH, ATheta, AP);
    if (AP > C) P.lineTo(AStartPt.x() + AP, AStartPt.y() - AH);
    return P;
}

QPainterPath TNuo4SymbolArc::CreatePath_Arc_Flat_Left_NoTuplet(bool bStroke, TGPPointF AStartPt,
                                                               double AH, double AT, double AP,
                                                               double ATheta) {
    if (bStroke) return CreatePath_Arc_Flat_Hair_Left(AStartPt, AH, AP, ATheta);
    return Crescent(AStartPt, AH, AT, [&](TGPPointF APt, double AHeight) {
        return CreatePath_Arc_Flat_Hair_Left(APt, AHeight, AP, ATheta);
    });
}

QPainterPath TNuo4SymbolArc::CreatePath_Arc_Flat_Right_NoTuplet(bool bStroke, TGPPointF AEndPt,
                                                                double AH, double AT, double AP,
                                                                double ATheta) {
    QPainterPath P = CreatePath_Arc_Flat_Left_NoTuplet(bStroke, AEndPt, AH, AT, AP, ATheta);
    TKoGDIPlusPath::PathMirrorY(P, AEndPt.x());
    return P;
}

TNuo4SymbolPathes TNuo4SymbolArc::CreatePathes_Arc_NoTuplet(const TrecNuo4SymbolArc& ARec) {
    const bool bStroke = !ARec.IsFill();
    const TGPPointF O(0, 0);
    const double H = ARec.FArcHeight, T = ARec.FArcThickness;
    QPainterPath P;
    if (!ARec.IsFlat()) {
        P = CreatePath_Arc_Ellispe_Full_NoTuplet(bStroke, O, ARec.ArcLength_Full, H, T,
                                                 Nuo4ArcEllipseShapeFactor);
    } else if (ARec.Style.Continue == lscsLeft) {
        P = CreatePath_Arc_Flat_Left_NoTuplet(bStroke, O, H, T, ARec.ArcLength_LeftOrRight,
                                              Nuo4ArcFlatCornerAngle);
    } else if (ARec.Style.Continue == lscsRight) {
        P = CreatePath_Arc_Flat_Right_NoTuplet(bStroke, O, H, T, ARec.ArcLength_LeftOrRight,
                                               Nuo4ArcFlatCornerAngle);
    } else {
        P = CreatePath_Arc_Flat_Full_NoTuplet(bStroke, O, ARec.ArcLength_Full, H, T,
                                              Nuo4ArcFlatCornerAngle);
    }
    TNuo4SymbolPathes Items;
    if (bStroke)
        SymbolPathes_AddStroke(Items, P, T);
    else
        SymbolPathes_AddFill(Items, P);
    return Items;
}

// ---- End marks ------------------------------------------------------------------------------

namespace {
// Marks grow slowly with the arc: k = (L / W0)^(1/4).
double MarkScale(double L) {
    const double W0 = DocDigitSize().width();
    return W0 > 0 ? std::pow(std::max(L, 0.0) / W0, 0.25) : 1.0;
}
}  // namespace

QPainterPath TNuo4SymbolArc::_CreateArrowPath_Fill(const std::vector<TGPPointF>& APolygon) {
    QPainterPath P;
    if (APolygon.empty()) return P;
    P.moveTo(APolygon[0]);
    for (size_t I = 1; I < APolygon.size(); ++I) P.lineTo(APolygon[I]);
    P.closeSubpath();
    return P;
}

QPainterPath TNuo4SymbolArc::_CreateArrow(TGPPointF AStartPt, double L, bool bFourSide) {
    const double W0 = DocDigitSize().width();
    const double A = 1.8 * MarkScale(L);
    const double Beta = 35 - (W0 > 0 ? L / W0 : 0);
    auto Dir = [](double ADeg) { return TGPPointF(std::cos(Rad(ADeg)), std::sin(Rad(ADeg))); };
    const TGPPointF E = AStartPt + TGPPointF(L, 0);
    const TGPPointF P1 = E - A * Dir(Beta + 22), P2 = E - A * Dir(Beta - 22);
    if (!bFourSide) return _CreateArrowPath_Fill({P1, E, P2});
    return _CreateArrowPath_Fill({P1, E, P2, E - 0.6 * A * Dir(Beta)});
}

QPainterPath TNuo4SymbolArc::_CreateDot(TGPPointF AStartPt, double L, double AH) {
    const double D = 0.4 * MarkScale(L) * DocDigitSize().width();
    QPainterPath P;
    P.addEllipse(AStartPt + TGPPointF(L / 2, -AH), D / 2, D / 2);
    return P;
}

QPainterPath TNuo4SymbolArc::_CreateHorzLine(TGPPointF AStartPt, double L) {
    const double K = MarkScale(L), H0 = DocDigitSize().height();
    QPainterPath P;
    P.addRect(TGPRectF(AStartPt.x() + L - 1.5 * K, AStartPt.y() - 0.03 * H0, 1.5 * K, 0.06 * H0));
    return P;
}

TNuo4SymbolPathes TNuo4SymbolArc::CreatePathes(const TrecNuo4SymbolArc& ARec) {
    TNuo4SymbolPathes Items;
    if (ARec.WithTuplet())
        Items = CreatePathes_Arc_Ellispe_Full_WithTuplet(
            ARec, TGPPointF(0, 0), TupletDigitSize(ARec.GetDigitSize()), Nuo4ArcEllipseShapeFactor);
    else
        Items = CreatePathes_Arc_NoTuplet(ARec);
    if (!ARec.IsFull()) return Items;
    const TGPPointF O(0, 0);
    const double L = ARec.ArcLength_Full;
    const TNuo4ArcArrowStyle M = ARec.ABCInfo.ArrowStyle;
    if (M == aasArrow || M == aasArrowAndDot) SymbolPathes_AddFill(Items, _CreateArrow(O, L, true));
    if (M == aasDot || M == aasArrowAndDot)
        SymbolPathes_AddFill(Items, _CreateDot(O, L, ARec.FArcHeight));
    if (M == aasHorzLine) SymbolPathes_AddFill(Items, _CreateHorzLine(O, L));
    return Items;
}

// ---- The arc symbol -------------------------------------------------------------------------

TNuo4SymbolArc::TNuo4SymbolArc(const TrecNuo4SymbolArc& ARec) {
    Create(&ARec);
}

std::unique_ptr<TNuo4SymbolArc> TNuo4SymbolArc::Create_Full(double AArcLength_Full,
                                                            const TrecNuo4ArcABCInfo& AABCInfo,
                                                            TNuo4SymbolArcShape AShapeStyle) {
    TrecNuo4SymbolArc R;
    R.SetToDefault();
    R.Style.Initialize(AShapeStyle, lscsFull);
    R.ArcLength_Full = float(AArcLength_Full);
    R.GetArcHeightAndThicknessFromArcLength();
    R.ArcRotateAngle_deg = 0;
    R.ABCInfo = AABCInfo;
    return std::make_unique<TNuo4SymbolArc>(R);
}

namespace {
TrecNuo4SymbolArc PieceRec(TNuo4LineSymbolContinueStyle AContinue, double AArcLength_Full,
                           double APieceLength, float AVertOffsetCoef,
                           TNuo4SymbolArcShape AShapeStyle) {
    TrecNuo4SymbolArc R;
    R.SetToDefault();
    R.Style.Initialize(AShapeStyle, AContinue);
    R.ArcLength_LeftOrRight = float(APieceLength);
    R.Check();
    double H, T;
    TNuo4SymbolArc::GetArcHeightAndThickness(R.Style.Shape, AArcLength_Full, R.NoteStyleIndex, H,
                                             T);
    R.FArcHeight = float(H);
    R.FArcThickness = float(T);
    R.ABCInfo.SetToDefault();
    R.ABCInfo.VertOffsetCoef = AVertOffsetCoef;
    return R;
}
}  // namespace

std::unique_ptr<TNuo4SymbolArc> TNuo4SymbolArc::Create_Left(double AArcLength_Full,
                                                            double AArcLength_Left,
                                                            float AVertOffsetCoef,
                                                            TNuo4SymbolArcShape AShapeStyle) {
    return std::make_unique<TNuo4SymbolArc>(
        PieceRec(lscsLeft, AArcLength_Full, AArcLength_Left, AVertOffsetCoef, AShapeStyle));
}

std::unique_ptr<TNuo4SymbolArc> TNuo4SymbolArc::Create_Right(double AArcLength_Full,
                                                             double AArcLength_LeftOrRight,
                                                             float AVertOffsetCoef,
                                                             TNuo4SymbolArcShape AShapeStyle) {
    return std::make_unique<TNuo4SymbolArc>(
        PieceRec(lscsRight, AArcLength_Full, AArcLength_LeftOrRight, AVertOffsetCoef, AShapeStyle));
}

void TNuo4SymbolArc::SetSymbolRec(const void* ASource) {
    if (ASource) FSymbolRec = *static_cast<const TrecNuo4SymbolArc*>(ASource);
    SetNeedUpdate();
}

void TNuo4SymbolArc::CalcBounds(TGPRectF& ARect) {
    const TrecNuo4SymbolArc& R = FSymbolRec;
    if (R.WithTuplet()) {
        // The tuplet arc's ink: the two halves and the number.
        TrecNuo4SymbolArc C = R;
        C.Check();
        ARect = SymbolPathes_Union(CreatePathes(C)).boundingRect();
        if (RectIsEmpty(ARect)) ARect = TGPRectF();
        return;
    }
    const double H = R.FArcHeight, T = R.FArcThickness;
    const double P = R.IsFull() ? R.ArcLength_Full : R.ArcLength_LeftOrRight;
    const double X = R.Style.Continue == lscsRight ? -P : 0;
    ARect = TGPRectF(X, -(H + T / 2), P, H + T / 2);
}

void TNuo4SymbolArc::CreateElements() {
    FSymbolRec.Check();
    AddElementsFromSymbolPathes(CreatePathes(FSymbolRec));
}

// ---- Special arcs ---------------------------------------------------------------------------

TrecNuo4SymbolArc ToSymbolRecArc(const TrecNuo4SymbolAttachArc& ARec) {
    TrecNuo4SymbolArc R;
    R.SetToDefault();
    R.NoteStyleIndex = ARec.NoteStyleIndex;
    R.ABCInfo.SetToDefault();
    R.ABCInfo.TupletNumber = ARec.TupletNumber;
    R.ABCInfo.ArrowStyle = ARec.ArrowStyle;
    R.Style.Initialize(ARec.Shape, ARec.ContinueStyle);
    R.ArcLength_Full = ARec.Length_Full;
    R.ArcLength_LeftOrRight = ARec.Length_LeftOrRight;
    R.GetArcHeightAndThicknessFromArcLength();
    return R;
}

TNuo4SymbolPathes GetPathes(const TrecNuo4SymbolAttachArc& ARec) {
    TrecNuo4SymbolArc R = ToSymbolRecArc(ARec);
    R.Check();
    return TNuo4SymbolArc::CreatePathes(R);
}

TrecNuo4SymbolAttachArc TNuo4SymbolAttachArc::DefaultRec() {
    TrecNuo4SymbolAttachArc R;
    R.SetToDefault(lscsFull, true);
    return R;
}

TNuo4SymbolAttachArc::TNuo4SymbolAttachArc(const TrecNuo4SymbolAttachArc& ARec) {
    Create(&ARec);
}

void TNuo4SymbolAttachArc::SetSymbolRec(const void* ASource) {
    if (ASource) FSymbolRec = *static_cast<const TrecNuo4SymbolAttachArc*>(ASource);
    SetNeedUpdate();
}

void TNuo4SymbolAttachArc::SetOcupy(TNuo4AttachmentsOcupyTypes AValue) {
    FSymbolRec.bOcupy = AValue != 0;
}

void TNuo4SymbolAttachArc::SetLength(float AValue) {
    FSymbolRec.SetLength(AValue);
    SetNeedUpdate();
}

void TNuo4SymbolAttachArc::CalcBounds(TGPRectF& ARect) {
    ARect = SymbolPathes_Union(GetPathes(FSymbolRec)).boundingRect();
    if (RectIsEmpty(ARect)) ARect = TGPRectF();
}

void TNuo4SymbolAttachArc::CreateElements() {
    AddElementsFromSymbolPathes(GetPathes(FSymbolRec));
}

}  // namespace nuo4
