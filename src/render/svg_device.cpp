#include "render/svg_device.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTextItem>
#include <cmath>

namespace nuo4 {

namespace {

// Two decimals of a pixel (a hundredth of a pixel at 96 dpi is 2.6 micrometres), without
// trailing zeros.
void Num(QByteArray& AOut, double AValue) {
    if (!std::isfinite(AValue)) AValue = 0;
    long long V = std::llround(AValue * 100);
    if (V < 0) {
        AOut += '-';
        V = -V;
    }
    AOut += QByteArray::number(V / 100);
    const int F = int(V % 100);
    if (F == 0) return;
    AOut += '.';
    AOut += char('0' + F / 10);
    if (F % 10) AOut += char('0' + F % 10);
}

void Pt(QByteArray& AOut, QPointF P) {
    Num(AOut, P.x());
    AOut += ' ';
    Num(AOut, P.y());
}

void PathData(QByteArray& AOut, const QPainterPath& APath, const QTransform& M) {
    const int N = APath.elementCount();
    for (int I = 0; I < N; ++I) {
        const QPainterPath::Element& E = APath.elementAt(I);
        switch (E.type) {
            case QPainterPath::MoveToElement:
                AOut += 'M';
                Pt(AOut, M.map(QPointF(E)));
                break;
            case QPainterPath::LineToElement:
                AOut += 'L';
                Pt(AOut, M.map(QPointF(E)));
                break;
            case QPainterPath::CurveToElement:
                if (I + 2 < N) {
                    AOut += 'C';
                    Pt(AOut, M.map(QPointF(E)));
                    AOut += ' ';
                    Pt(AOut, M.map(QPointF(APath.elementAt(I + 1))));
                    AOut += ' ';
                    Pt(AOut, M.map(QPointF(APath.elementAt(I + 2))));
                    I += 2;
                }
                break;
            case QPainterPath::CurveToDataElement:
                break;
        }
    }
}

void Color(QByteArray& AOut, const char* AName, const QColor& C, double AOpacity) {
    AOut += ' ';
    AOut += AName;
    AOut += "=\"";
    AOut += C.name(QColor::HexRgb).toLatin1();
    AOut += '"';
    const double A = C.alphaF() * AOpacity;
    if (A < 0.999) {
        AOut += ' ';
        AOut += AName;
        AOut += "-opacity=\"";
        AOut += QByteArray::number(A, 'g', 3);
        AOut += '"';
    }
}

void Matrix(QByteArray& AOut, const QTransform& M) {
    AOut += " transform=\"matrix(";
    for (const double V : {M.m11(), M.m12(), M.m21(), M.m22()}) {
        AOut += QByteArray::number(V, 'g', 6);
        AOut += ' ';
    }
    Num(AOut, M.dx());
    AOut += ' ';
    Num(AOut, M.dy());
    AOut += ")\"";
}

QByteArray Escaped(const QString& S) {
    return S.toHtmlEscaped().toUtf8();
}

QTransform Linear(const QTransform& M) {
    return QTransform(M.m11(), M.m12(), M.m21(), M.m22(), 0, 0);
}

}  // namespace

// ---- Device -------------------------------------------------------------------------------

TKoSvgDevice::TKoSvgDevice(QSize APixels, double ADpi)
    : FPixels(APixels), FDpi(ADpi), FEngine(std::make_unique<TKoSvgEngine>()) {}

TKoSvgDevice::~TKoSvgDevice() = default;

void TKoSvgDevice::BeginClipGroup(const QRectF& ARect) {
    const QByteArray Id = "clip" + QByteArray::number(++FClipCount);
    FData += "<clipPath id=\"" + Id + "\"><rect x=\"";
    Num(FData, ARect.x());
    FData += "\" y=\"";
    Num(FData, ARect.y());
    FData += "\" width=\"";
    Num(FData, ARect.width());
    FData += "\" height=\"";
    Num(FData, ARect.height());
    FData += "\"/></clipPath>\n<g clip-path=\"url(#" + Id + ")\">\n";
}

void TKoSvgDevice::EndClipGroup() {
    FData += "</g>\n";
}

QPaintEngine* TKoSvgDevice::paintEngine() const {
    return FEngine.get();
}

int TKoSvgDevice::metric(PaintDeviceMetric AMetric) const {
    switch (AMetric) {
        case PdmWidth:
            return FPixels.width();
        case PdmHeight:
            return FPixels.height();
        case PdmWidthMM:
            return qRound(FPixels.width() * 25.4 / FDpi);
        case PdmHeightMM:
            return qRound(FPixels.height() * 25.4 / FDpi);
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return qRound(FDpi);
        case PdmNumColors:
            return 0x7FFFFFFF;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
    }
    return 0;
}

// ---- Engine -------------------------------------------------------------------------------

TKoSvgEngine::TKoSvgEngine()
    : QPaintEngine(PaintEngineFeatures(AllFeatures) &
                   ~PaintEngineFeatures(PatternBrush | PerspectiveTransform | ConicalGradientFill |
                                        PorterDuff)) {}

bool TKoSvgEngine::begin(QPaintDevice* ADevice) {
    FDevice = static_cast<TKoSvgDevice*>(ADevice);
    FOut = &FDevice->MutableData();
    FOut->clear();
    FDefined.clear();
    FTransform = QTransform();
    FBrush = QBrush();
    FPen = QPen();
    FOpacity = 1;
    const QSize Px = FDevice->Pixels();
    const double Dpi = FDevice->Dpi();
    QByteArray& O = *FOut;
    O += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
         "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
         "version=\"1.1\" width=\"";
    Num(O, Px.width() * 25.4 / Dpi);
    O += "mm\" height=\"";
    Num(O, Px.height() * 25.4 / Dpi);
    O += "mm\" viewBox=\"0 0 " + QByteArray::number(Px.width()) + ' ' +
         QByteArray::number(Px.height()) + "\">\n";
    O += "<title>" + Escaped(FDevice->Title()) + "</title>\n";
    if (!FDevice->Description().isEmpty())
        O += "<desc>" + Escaped(FDevice->Description()) + "</desc>\n";
    setActive(true);
    return true;
}

bool TKoSvgEngine::end() {
    if (FOut) *FOut += "</svg>\n";
    FOut = nullptr;
    setActive(false);
    return true;
}

void TKoSvgEngine::updateState(const QPaintEngineState& AState) {
    const DirtyFlags F = AState.state();
    if (F & DirtyTransform) FTransform = AState.transform();
    if (F & DirtyBrush) FBrush = AState.brush();
    if (F & DirtyPen) FPen = AState.pen();
    if (F & DirtyFont) FFont = AState.font();
    if (F & DirtyOpacity) FOpacity = AState.opacity();
}

void TKoSvgEngine::drawPath(const QPainterPath& APath) {
    if (!FOut || APath.isEmpty()) return;
    QByteArray& O = *FOut;
    if (FBrush.style() != Qt::NoBrush) {
        O += "<path d=\"";
        PathData(O, APath, FTransform);
        O += '"';
        Color(O, "fill", FBrush.color(), FOpacity);
        if (APath.fillRule() == Qt::OddEvenFill) O += " fill-rule=\"evenodd\"";
        O += "/>\n";
    }
    if (FPen.style() != Qt::NoPen && FPen.brush().style() != Qt::NoBrush) {
        const double Scale = std::sqrt(std::fabs(FTransform.determinant()));
        const double W = FPen.widthF() <= 0  ? 1.0
                         : FPen.isCosmetic() ? FPen.widthF()
                                             : FPen.widthF() * Scale;
        O += "<path d=\"";
        PathData(O, APath, FTransform);
        O += "\" fill=\"none\"";
        Color(O, "stroke", FPen.color(), FOpacity);
        O += " stroke-width=\"";
        Num(O, W);
        O += '"';
        if (FPen.style() != Qt::SolidLine) {
            const double Unit = FPen.widthF() <= 0 ? 1.0 : W;
            O += " stroke-dasharray=\"";
            const QList<qreal> Dashes = FPen.dashPattern();
            for (int I = 0; I < Dashes.size(); ++I) {
                if (I) O += ' ';
                Num(O, Dashes[I] * Unit);
            }
            O += '"';
            if (FPen.dashOffset() != 0) {
                O += " stroke-dashoffset=\"";
                Num(O, FPen.dashOffset() * Unit);
                O += '"';
            }
        }
        if (FPen.capStyle() == Qt::SquareCap) O += " stroke-linecap=\"square\"";
        if (FPen.capStyle() == Qt::RoundCap) O += " stroke-linecap=\"round\"";
        if (FPen.joinStyle() == Qt::BevelJoin) O += " stroke-linejoin=\"bevel\"";
        if (FPen.joinStyle() == Qt::RoundJoin) O += " stroke-linejoin=\"round\"";
        O += "/>\n";
    }
}

void TKoSvgEngine::drawPolygon(const QPointF* APoints, int ACount, PolygonDrawMode AMode) {
    if (ACount < 2) return;
    QPainterPath P;
    P.moveTo(APoints[0]);
    for (int I = 1; I < ACount; ++I) P.lineTo(APoints[I]);
    if (AMode != PolylineMode) P.closeSubpath();
    P.setFillRule(AMode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
    if (AMode == PolylineMode) {
        const QBrush Brush = FBrush;
        FBrush = QBrush();
        drawPath(P);
        FBrush = Brush;
    } else {
        drawPath(P);
    }
}

void TKoSvgEngine::drawImage(const QRectF& ARect, const QImage& AImage, const QRectF& ASource,
                             Qt::ImageConversionFlags) {
    if (!FOut || AImage.isNull()) return;
    QByteArray Png;
    QBuffer Buf(&Png);
    Buf.open(QIODevice::WriteOnly);
    AImage.copy(ASource.toAlignedRect()).save(&Buf, "PNG");
    QByteArray& O = *FOut;
    O += "<image";
    Matrix(O, FTransform);
    O += " x=\"";
    Num(O, ARect.x());
    O += "\" y=\"";
    Num(O, ARect.y());
    O += "\" width=\"";
    Num(O, ARect.width());
    O += "\" height=\"";
    Num(O, ARect.height());
    O += "\" preserveAspectRatio=\"none\" xlink:href=\"data:image/png;base64," + Png.toBase64() +
         "\"/>\n";
}

void TKoSvgEngine::drawPixmap(const QRectF& ARect, const QPixmap& APixmap, const QRectF& ASource) {
    drawImage(ARect, APixmap.toImage(), ASource, Qt::AutoColor);
}

void TKoSvgEngine::drawTextItem(const QPointF& APoint, const QTextItem& AItem) {
    if (!FOut || AItem.text().isEmpty()) return;
    const QFont F = AItem.font();
    QByteArray& O = *FOut;
    O += "<text xml:space=\"preserve\"";
    Matrix(O, FTransform);
    O += " x=\"";
    Num(O, APoint.x());
    O += "\" y=\"";
    Num(O, APoint.y());
    O += "\" font-family=\"" + Escaped(F.family()) + "\" font-size=\"";
    Num(O, F.pixelSize() > 0 ? F.pixelSize() : F.pointSizeF() * FDevice->Dpi() / 72.0);
    O += '"';
    if (F.weight() >= QFont::DemiBold) O += " font-weight=\"bold\"";
    if (F.style() != QFont::StyleNormal) O += " font-style=\"italic\"";
    Color(O, "fill", FPen.color(), FOpacity);
    O += '>' + Escaped(AItem.text()) + "</text>\n";
}

void TKoSvgEngine::UseGlyph(int AKey, const QPainterPath& AShape, QPointF AFirst,
                            const QColor& AColor, const QTransform& AToDevice) {
    if (!FOut) return;
    const QTransform L = Linear(AToDevice);
    QByteArray Key = QByteArray::number(AKey) + '|';
    for (const double V : {L.m11(), L.m12(), L.m21(), L.m22()})
        Key += QByteArray::number(V, 'g', 12) + ',';
    QByteArray& O = *FOut;
    int Id = FDefined.value(Key, -1);
    if (Id < 0) {
        Id = int(FDefined.size());
        FDefined.insert(Key, Id);
        O += "<defs><path id=\"g" + QByteArray::number(Id) + "\" d=\"";
        PathData(O, AShape, L);
        O += "\"/></defs>\n";
    }
    O += "<use xlink:href=\"#g" + QByteArray::number(Id) + "\" x=\"";
    const QPointF P = AToDevice.map(AFirst);
    Num(O, P.x());
    O += "\" y=\"";
    Num(O, P.y());
    O += '"';
    Color(O, "fill", AColor, FOpacity);
    O += "/>\n";
}

TKoSvgEngine* SvgEngineOf(const QPainter* APainter) {
    return APainter ? dynamic_cast<TKoSvgEngine*>(APainter->paintEngine()) : nullptr;
}

}  // namespace nuo4
