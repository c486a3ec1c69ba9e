#include "editor/score_view_calc.h"

#include <algorithm>
#include <cmath>

namespace nuo4 {

namespace {
constexpr double LevelScales[Nuo4ViewScaleLevelCount] = {0.25, 0.5, 0.75, 1.0, 1.5, 2.0, 5.0};
}

const char* EnumName(TNuo4ViewScaleLevel AValue) {
    static const char* const Names[] = {"vslPercent25",  "vslPercent50",  "vslPercent75",
                                        "vslPercent100", "vslPercent150", "vslPercent200",
                                        "vslPercent500"};
    return AValue < Nuo4ViewScaleLevelCount ? Names[AValue] : "?";
}

double Nuo4ViewScaleOfLevel(TNuo4ViewScaleLevel ALevel) {
    return ALevel < Nuo4ViewScaleLevelCount ? LevelScales[ALevel] : 1.0;
}

bool Nuo4ViewScaleLevelOf(double AScale, TNuo4ViewScaleLevel& ALevel) {
    for (int I = 0; I < Nuo4ViewScaleLevelCount; ++I)
        if (std::abs(LevelScales[I] - AScale) <= 0.01) {
            ALevel = TNuo4ViewScaleLevel(I);
            return true;
        }
    return false;
}

void TNuo4ScoreViewGeometry::GetCalcInfo(QSize AViewSize) {
    TrecCalcInfo_ScrollBarAndPaintBox& C = CalcInfo;
    const TrecNuo4ScoreViewParams& P = Params;
    C.PageCount = std::max<int32_t>(1, P.PageCount);
    C.ViewSize_Pixel = AViewSize;
    const double K = DeviceScale();
    const double PageW = std::max(1.0, P.PageSize.width()),
                 PageH = std::max(1.0, P.PageSize.height());

    // Columns from the whole view's width, so that showing a scroll bar never changes them.
    const double ViewWidthMM = AViewSize.width() / K;
    int32_t Cols = P.FixedColumnCount > 0 ? P.FixedColumnCount
                                          : int32_t(std::floor(ViewWidthMM / PageW + 0.1));
    Cols = std::clamp<int32_t>(Cols, 1, C.PageCount);
    C.PageColumnCount = Cols;
    const int32_t Rows = (C.PageCount - 1) / Cols + 1;
    C.MinTotalSize_World =
        QSizeF(Cols * PageW + (Cols + 1) * P.GapHorz, Rows * PageH + (Rows + 1) * P.GapVert);
    C.PageRectArray.clear();
    for (int32_t I = 0; I < C.PageCount; ++I) {
        const int32_t Row = I / Cols, Col = I % Cols;
        C.PageRectArray.emplace_back(P.GapHorz + Col * (PageW + P.GapHorz),
                                     P.GapVert + Row * (PageH + P.GapVert), PageW, PageH);
    }

    // A scroll bar takes room from the other direction, which may then need its own bar.
    int W = AViewSize.width(), H = AViewSize.height();
    bool bHorz = false, bVert = false;
    for (int Pass = 0; Pass < 2; ++Pass) {
        bVert = C.MinTotalSize_World.height() * K > H + 0.5;
        W = AViewSize.width() - (bVert ? P.ScrollBarExtent : 0);
        bHorz = C.MinTotalSize_World.width() * K > W + 0.5;
        H = AViewSize.height() - (bHorz ? P.ScrollBarExtent : 0);
    }
    C.bScrollBarVisible_Horz = bHorz;
    C.bScrollBarVisible_Vert = bVert;
    C.HorzScrollBarHeight_Pixel = bHorz ? P.ScrollBarExtent : 0;
    C.HorzScrollBarHeight_World = C.HorzScrollBarHeight_Pixel / K;
    C.PaintBoxSize_Pixel = QSize(std::max(1, W), std::max(1, H));
    C.PaintBoxSize_World =
        QSizeF(C.PaintBoxSize_Pixel.width() / K, C.PaintBoxSize_Pixel.height() / K);
    C.ViewSize_World = C.PaintBoxSize_World;
    ClampLocation();
    C.ViewLocation_World = Transform.Location;

    auto Bar = [](double AView, double ATotal, double ALoc, int& APageSize, int& APos) {
        if (ATotal <= AView) {
            APageSize = Nuo4ScrollBarMax;
            APos = 0;
            return;
        }
        APageSize =
            std::clamp(int(std::lround(AView / ATotal * Nuo4ScrollBarMax)), 1, Nuo4ScrollBarMax);
        APos = std::clamp(int(std::lround(ALoc / ATotal * Nuo4ScrollBarMax)), 0,
                          Nuo4ScrollBarMax - APageSize);
    };
    Bar(C.ViewSize_World.width(), C.MinTotalSize_World.width(), Transform.Location.x(),
        C.ScrollBarPageSize_Horz, C.ScrollBarPosition_Horz);
    Bar(C.ViewSize_World.height(), C.MinTotalSize_World.height(), Transform.Location.y(),
        C.ScrollBarPageSize_Vert, C.ScrollBarPosition_Vert);
}

void TNuo4ScoreViewGeometry::ClampLocation() {
    const TrecCalcInfo_ScrollBarAndPaintBox& C = CalcInfo;
    auto Clamp = [](double ALoc, double AView, double ATotal) {
        // A sheet narrower than the view is centred in it.
        if (ATotal <= AView) return -(AView - ATotal) / 2;
        return std::clamp(ALoc, 0.0, ATotal - AView);
    };
    Transform.Location.setX(
        Clamp(Transform.Location.x(), C.ViewSize_World.width(), C.MinTotalSize_World.width()));
    Transform.Location.setY(
        Clamp(Transform.Location.y(), C.ViewSize_World.height(), C.MinTotalSize_World.height()));
}

void TNuo4ScoreViewGeometry::ScrollBarScroll(Qt::Orientation AOrientation, int APosition) {
    const bool bHorz = AOrientation == Qt::Horizontal;
    const int PageSize = bHorz ? CalcInfo.ScrollBarPageSize_Horz : CalcInfo.ScrollBarPageSize_Vert;
    const int Pos = std::clamp(APosition, 0, std::max(0, Nuo4ScrollBarMax - PageSize));
    const double Total =
        bHorz ? CalcInfo.MinTotalSize_World.width() : CalcInfo.MinTotalSize_World.height();
    const double Loc = double(Pos) / Nuo4ScrollBarMax * Total;
    if (bHorz)
        Transform.Location.setX(Loc);
    else
        Transform.Location.setY(Loc);
    GetCalcInfo(CalcInfo.ViewSize_Pixel);
}

QPointF TNuo4ScoreViewGeometry::DevicePosFToViewPos(QPointF D) const {
    return D / DeviceScale() + Transform.Location;
}
QPointF TNuo4ScoreViewGeometry::ViewPosToDevicePosF(QPointF V) const {
    return (V - Transform.Location) * DeviceScale();
}
QPoint TNuo4ScoreViewGeometry::ViewPosToDevicePos(QPointF V) const {
    return ViewPosToDevicePosF(V).toPoint();
}
QRectF TNuo4ScoreViewGeometry::ViewRectToDeviceRectF(const QRectF& R) const {
    return QRectF(ViewPosToDevicePosF(R.topLeft()), ViewPosToDevicePosF(R.bottomRight()));
}
QRect TNuo4ScoreViewGeometry::ViewRectToDeviceRect(const QRectF& R) const {
    return ViewRectToDeviceRectF(R).toAlignedRect();
}

TrecNuo4PagePos TNuo4ScoreViewGeometry::ViewPosToPagePos(QPointF V) const {
    TrecNuo4PagePos R;
    const auto& A = CalcInfo.PageRectArray;
    for (int32_t P = int32_t(A.size()) - 1; P >= 0; --P)
        if (V.x() >= A[P].left() && V.x() <= A[P].right() && V.y() >= A[P].top() &&
            V.y() <= A[P].bottom()) {
            R.PageIndex = P;
            R.PosAtPage = V - A[P].topLeft();
            return R;
        }
    R.PosAtPage = QPointF(-1, -1);
    return R;
}
TrecNuo4PagePos TNuo4ScoreViewGeometry::DevicePosToPagePos(QPoint D) const {
    return ViewPosToPagePos(DevicePosToViewPos(D));
}
QPointF TNuo4ScoreViewGeometry::PagePosToViewPos(const TrecNuo4PagePos& P) const {
    if (P.PageIndex < 0 || P.PageIndex >= int32_t(CalcInfo.PageRectArray.size()))
        return QPointF(-1, -1);
    return CalcInfo.PageRectArray[P.PageIndex].topLeft() + P.PosAtPage;
}
QPointF TNuo4ScoreViewGeometry::PagePosToDevicePos(const TrecNuo4PagePos& P) const {
    return ViewPosToDevicePosF(PagePosToViewPos(P));
}
QRectF TNuo4ScoreViewGeometry::PageRectToDeviceRect(int32_t APage, const QRectF& R) const {
    if (APage < 0 || APage >= int32_t(CalcInfo.PageRectArray.size())) return QRectF();
    return ViewRectToDeviceRectF(R.translated(CalcInfo.PageRectArray[APage].topLeft()));
}
double TNuo4ScoreViewGeometry::GetViewDistanceFromDeviceDistance(double D) const {
    return D / DeviceScale();
}
QPointF TNuo4ScoreViewGeometry::GetViewOffsetFromTwoDevicePts(QPoint A, QPoint B) const {
    return QPointF(B - A) / DeviceScale();
}
QPointF TNuo4ScoreViewGeometry::GetDeviceOffsetFromTwoViewPts(QPointF A, QPointF B) const {
    return (B - A) * DeviceScale();
}
QRectF TNuo4ScoreViewGeometry::VisibleViewRect() const {
    return QRectF(Transform.Location, CalcInfo.ViewSize_World);
}

bool TNuo4ScoreViewGeometry::CalcLocationToShow(const QRectF& R, double AMargin,
                                                QPointF& ALocation) const {
    const QRectF V = VisibleViewRect();
    ALocation = Transform.Location;
    if (V.contains(R)) return false;
    const QRectF M = R.adjusted(-AMargin, -AMargin, AMargin, AMargin);
    if (M.left() < V.left() || M.width() > V.width())
        ALocation.setX(M.left());
    else if (M.right() > V.right())
        ALocation.setX(M.right() - V.width());
    if (M.top() < V.top() || M.height() > V.height())
        ALocation.setY(M.top());
    else if (M.bottom() > V.bottom())
        ALocation.setY(M.bottom() - V.height());
    return ALocation != Transform.Location;
}

bool TNuo4ScoreViewGeometry::ScrollToLeftTop(const TrecNuo4PagePos& APagePos, bool bUncondition,
                                             bool bOnlyCalc) {
    const QPointF V = PagePosToViewPos(APagePos);
    if (!APagePos.IsValid()) return false;
    if (!bUncondition && VisibleViewRect().contains(V)) return false;
    const TrecNuo4GraphicsTransformInfo Old = Transform;
    Transform.Location = V;
    GetCalcInfo(CalcInfo.ViewSize_Pixel);
    const bool bChanged = !(Old == Transform);
    if (bOnlyCalc) {
        Transform = Old;
        GetCalcInfo(CalcInfo.ViewSize_Pixel);
    }
    return bChanged;
}

int32_t TNuo4ScoreViewGeometry::PageIndexAtViewCentre() const {
    const QPointF C = VisibleViewRect().center();
    int32_t Best = 0;
    double BestD = 1e300;
    for (int32_t P = 0; P < int32_t(CalcInfo.PageRectArray.size()); ++P) {
        const QRectF& R = CalcInfo.PageRectArray[P];
        const double Dx = std::max({R.left() - C.x(), 0.0, C.x() - R.right()});
        const double Dy = std::max({R.top() - C.y(), 0.0, C.y() - R.bottom()});
        const double D = Dx * Dx + Dy * Dy;
        if (D < BestD) {
            BestD = D;
            Best = P;
        }
    }
    return Best;
}

}  // namespace nuo4
