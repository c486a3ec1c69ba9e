#pragma once
// A compact SVG page: paths in page pixels with two decimals and no group per state change,
// texts as <text>, and every glyph outline of the program's own fonts defined once and placed
// by <use>. A score page has hundreds of the same few digits; drawing them through a general
// SVG writer repeats each outline and its state.

#include <QByteArray>
#include <QHash>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QRectF>
#include <QSize>
#include <QString>
#include <memory>

namespace nuo4 {

class TKoSvgEngine;

class TKoSvgDevice : public QPaintDevice {
  public:
    // APixels: the page in pixels of ADpi.
    TKoSvgDevice(QSize APixels, double ADpi);
    ~TKoSvgDevice() override;
    void SetTitle(const QString& ATitle) { FTitle = ATitle; }
    void SetDescription(const QString& AText) { FDescription = AText; }
    const QString& Title() const { return FTitle; }
    const QString& Description() const { return FDescription; }
    QSize Pixels() const { return FPixels; }
    double Dpi() const { return FDpi; }
    // The document, complete once the painter has ended.
    const QByteArray& Data() const { return FData; }
    QByteArray& MutableData() { return FData; }
    // While a painter is active: what is drawn until EndClipGroup shows only inside ARect
    // (pixels). Pieces of several pages then share one picture without one page's ink running
    // into the next piece.
    void BeginClipGroup(const QRectF& ARect);
    void EndClipGroup();
    QPaintEngine* paintEngine() const override;

  protected:
    int metric(PaintDeviceMetric AMetric) const override;

  private:
    QSize FPixels;
    double FDpi;
    QString FTitle, FDescription;
    QByteArray FData;
    int FClipCount = 0;
    std::unique_ptr<TKoSvgEngine> FEngine;
};

class TKoSvgEngine : public QPaintEngine {
  public:
    TKoSvgEngine();
    bool begin(QPaintDevice* ADevice) override;
    bool end() override;
    void updateState(const QPaintEngineState& AState) override;
    void drawPath(const QPainterPath& APath) override;
    void drawPolygon(const QPointF* APoints, int ACount, PolygonDrawMode AMode) override;
    void drawPixmap(const QRectF& ARect, const QPixmap& APixmap, const QRectF& ASource) override;
    void drawImage(const QRectF& ARect, const QImage& AImage, const QRectF& ASource,
                   Qt::ImageConversionFlags AFlags) override;
    void drawTextItem(const QPointF& APoint, const QTextItem& AItem) override;
    Type type() const override { return QPaintEngine::User; }

    // A glyph outline (AShape: local coordinates relative to its first point) with that first
    // point at AFirst (local), filled in AColor; AKey names the outline among the page's.
    // AToDevice maps local coordinates to the page (the painter's, which the engine learns
    // only at its next drawing).
    void UseGlyph(int AKey, const QPainterPath& AShape, QPointF AFirst, const QColor& AColor,
                  const QTransform& AToDevice);

  private:
    TKoSvgDevice* FDevice = nullptr;
    QByteArray* FOut = nullptr;
    QTransform FTransform;
    QBrush FBrush;
    QPen FPen;
    QFont FFont;
    double FOpacity = 1;
    // Defined outlines by key and the linear part of the transform they were defined under.
    QHash<QByteArray, int> FDefined;
};

// The engine of a painter drawing on a TKoSvgDevice; null for any other.
TKoSvgEngine* SvgEngineOf(const QPainter* APainter);

}  // namespace nuo4
