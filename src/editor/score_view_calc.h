#pragma once
// The score view's geometry without a widget: pages arranged in columns on a virtual sheet in
// millimetres (view coordinates), the view transform, scroll bars in the 0..5000 range, and
// every conversion between device pixels, view positions and page positions.

#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <cstdint>
#include <vector>

#include "layout/draw_document.h"

namespace nuo4 {

struct TrecNuo4GraphicsTransformInfo {
    QPointF Location;  // view point shown at the view's top-left, mm
    double Scale = 1.0;
    bool operator==(const TrecNuo4GraphicsTransformInfo&) const = default;
};

enum TNuo4ViewScaleLevel : uint8_t {
    vslPercent25,
    vslPercent50,
    vslPercent75,
    vslPercent100,
    vslPercent150,
    vslPercent200,
    vslPercent500,
};
constexpr int Nuo4ViewScaleLevelCount = 7;
const char* EnumName(TNuo4ViewScaleLevel AValue);
double Nuo4ViewScaleOfLevel(TNuo4ViewScaleLevel ALevel);
// The level whose scale equals AScale within 0.01; false when none does.
bool Nuo4ViewScaleLevelOf(double AScale, TNuo4ViewScaleLevel& ALevel);

constexpr int Nuo4ScrollBarMax = 5000;

struct TrecCalcInfo_ScrollBarAndPaintBox {
    int32_t PageCount = 1;
    QSize ViewSize_Pixel;
    int HorzScrollBarHeight_Pixel = 0;
    QSizeF MinTotalSize_World;
    double HorzScrollBarHeight_World = 0;
    QSizeF ViewSize_World;
    bool bScrollBarVisible_Horz = false;
    bool bScrollBarVisible_Vert = false;
    QSize PaintBoxSize_Pixel;
    QSizeF PaintBoxSize_World;
    QPointF ViewLocation_World;
    int ScrollBarPageSize_Horz = Nuo4ScrollBarMax;
    int ScrollBarPageSize_Vert = Nuo4ScrollBarMax;
    int ScrollBarPosition_Horz = 0;
    int ScrollBarPosition_Vert = 0;
    int32_t PageColumnCount = 1;
    std::vector<QRectF> PageRectArray;  // view coordinates
};

// What the arrangement depends on besides the transform.
struct TrecNuo4ScoreViewParams {
    int32_t PageCount = 1;
    QSizeF PageSize = QSizeF(210, 297);  // mm
    double GapHorz = 5, GapVert = 5;     // mm
    int32_t FixedColumnCount = 0;        // 0: as many as fit
    double PixelsPerMM = 96 / 25.4;      // device pixels per millimetre at scale 1
    int ScrollBarExtent = 16;            // pixels a visible scroll bar takes
};

class TNuo4ScoreViewGeometry {
  public:
    TrecNuo4ScoreViewParams Params;
    TrecNuo4GraphicsTransformInfo Transform;
    TrecCalcInfo_ScrollBarAndPaintBox CalcInfo;

    // Arranges the pages for a view of AViewSize pixels (scroll bars included) and clamps the
    // location so that the sheet never scrolls past its ends.
    void GetCalcInfo(QSize AViewSize);
    // The location from a scroll bar position (clamped to the usable range).
    void ScrollBarScroll(Qt::Orientation AOrientation, int APosition);

    double DeviceScale() const { return Transform.Scale * Params.PixelsPerMM; }
    QPointF DevicePosFToViewPos(QPointF ADevice) const;
    QPointF DevicePosToViewPos(QPoint ADevice) const { return DevicePosFToViewPos(ADevice); }
    QPointF ViewPosToDevicePosF(QPointF AView) const;
    QPoint ViewPosToDevicePos(QPointF AView) const;
    QRectF ViewRectToDeviceRectF(const QRectF& AView) const;
    QRect ViewRectToDeviceRect(const QRectF& AView) const;
    // Page -1 when the point lies on no page.
    TrecNuo4PagePos ViewPosToPagePos(QPointF AView) const;
    TrecNuo4PagePos DevicePosToPagePos(QPoint ADevice) const;
    QPointF PagePosToViewPos(const TrecNuo4PagePos& APos) const;  // (-1, -1) for no page
    QPointF PagePosToDevicePos(const TrecNuo4PagePos& APos) const;
    QRectF PageRectToDeviceRect(int32_t APageIndex, const QRectF& ARectAtPage) const;
    double GetViewDistanceFromDeviceDistance(double ADevice) const;
    QPointF GetViewOffsetFromTwoDevicePts(QPoint A, QPoint B) const;
    QPointF GetDeviceOffsetFromTwoViewPts(QPointF A, QPointF B) const;
    // The visible part of the sheet, view coordinates.
    QRectF VisibleViewRect() const;

    // A location that brings AViewRect inside the visible view (with AMargin mm around it);
    // false when it is visible already.
    bool CalcLocationToShow(const QRectF& AViewRect, double AMargin, QPointF& ALocation) const;
    // Puts APagePos at the top-left: only when it is not visible unless bUncondition, and only
    // computes when bOnlyCalc. True when the location changes (or would change).
    bool ScrollToLeftTop(const TrecNuo4PagePos& APagePos, bool bUncondition, bool bOnlyCalc);
    // The page at the centre of the view (the nearest page when the centre lies between pages).
    int32_t PageIndexAtViewCentre() const;

  private:
    void ClampLocation();
};

}  // namespace nuo4
