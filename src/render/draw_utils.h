#pragma once
// The thin drawing layer every glyph uses: millimetre surfaces, world transforms, text
// measuring with reference points, text to path, path operations, dashed strokes, fonts and the
// private font collection. All geometry is in millimetres with the y axis pointing down.

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QRawFont>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QTransform>
#include <cstdint>
#include <vector>

namespace nuo4 {

using TGPColor = uint32_t;  // ARGB, alpha in the top byte
using TGPRectF = QRectF;
using TGPPointF = QPointF;
using TGPSizeF = QSizeF;

QColor ToQColor(TGPColor AColor);
TGPColor WithAlpha(TGPColor AColor, uint8_t AAlpha);

// A rectangle is empty when its width or height is not above the smallest Single step.
bool RectIsEmpty(const TGPRectF& R);
void RectUnion(TGPRectF& ADst, const TGPRectF& ASrc, bool bNoHorz = false, bool bNoVert = false);

// A rectangle stored in single precision: the boxes every laid-out symbol keeps, half the size
// of a TGPRectF. Its four edges are stored, so a union or a moved edge rounds once; every
// computation happens on the TGPRectF it converts to. The error, below a millionth of a
// millimetre for a symbol's local box, never reaches a position: positions stay doubles.
class TGPRectF32 {
  public:
    TGPRectF32() = default;
    explicit TGPRectF32(const TGPRectF& R)
        : FLeft(float(R.x())),
          FTop(float(R.y())),
          FRight(float(R.x() + R.width())),
          FBottom(float(R.y() + R.height())) {}
    TGPRectF32& operator=(const TGPRectF& R) { return *this = TGPRectF32(R); }
    operator TGPRectF() const { return Get(); }
    TGPRectF Get() const { return TGPRectF(x(), y(), width(), height()); }

    double x() const { return FLeft; }
    double y() const { return FTop; }
    double left() const { return FLeft; }
    double top() const { return FTop; }
    double right() const { return FRight; }
    double bottom() const { return FBottom; }
    double width() const { return double(FRight) - double(FLeft); }
    double height() const { return double(FBottom) - double(FTop); }
    TGPPointF topLeft() const { return TGPPointF(x(), y()); }
    TGPPointF center() const { return Get().center(); }
    bool isEmpty() const { return Get().isEmpty(); }
    bool isNull() const { return Get().isNull(); }
    TGPRectF translated(double ADx, double ADy) const { return Get().translated(ADx, ADy); }
    TGPRectF translated(TGPPointF ADelta) const { return Get().translated(ADelta); }
    void translate(double ADx, double ADy) { *this = translated(ADx, ADy); }
    void translate(TGPPointF ADelta) { *this = translated(ADelta); }
    bool operator==(const TGPRectF32&) const = default;

  private:
    float FLeft = 0;
    float FTop = 0;
    float FRight = 0;
    float FBottom = 0;
};
inline bool RectIsEmpty(const TGPRectF32& R) {
    return RectIsEmpty(R.Get());
}

enum TTextRectPos : uint8_t {
    rpLeftTop,
    rpMiddleTop,
    rpRightTop,
    rpLeftMiddle,
    rpMiddleMiddle,
    rpRightMiddle,
    rpLeftBottom,
    rpMiddleBottom,
    rpRightBottom,
    rpLeftBaseline,
    rpMiddleBaseline,
    rpRightBaseline,
    rpLeftDescent,
    rpMiddleDescent,
    rpRightDescent,
};
const char* EnumName(TTextRectPos AValue);

enum TKoUnit : uint8_t { kuWorld, kuDisplay, kuPixel, kuPoint, kuInch, kuDocument, kuMillimeter };

enum TGPFontStyleFlag : int {
    FontStyleBold = 1,
    FontStyleItalic = 2,
    FontStyleUnderline = 4,
    FontStyleStrikeout = 8
};
using TGPFontStyle = int;

enum TKoStringAlignment : uint8_t { saNear, saCenter, saFar };

// A graphics surface: a painter plus the page unit and scale and the world transform of the
// 2D library the glyph code is written for. The painter's matrix is always World * Page.
class TKoGraphics {
  public:
    explicit TKoGraphics(QPainter* APainter);
    QPainter* Painter() const { return FPainter; }
    double DpiX() const;
    double DpiY() const;

    TKoUnit PageUnit() const { return FPageUnit; }
    double PageScale() const { return FPageScale; }
    void SetPageUnit(TKoUnit AUnit);
    void SetPageScale(double AScale);

    const QTransform& WorldTransform() const { return FWorld; }
    void SetWorldTransform(const QTransform& AWorld);
    void ResetTransform() { SetWorldTransform(QTransform()); }
    // Prepended: the translation applies to points before the existing transform.
    void TranslateTransform(double ADx, double ADy);
    void ScaleTransform(double ASx, double ASy);
    // The page part: world units to device pixels.
    QTransform PageTransform() const;

    void Save();
    void Restore();

    void FillPath(const QPainterPath& APath, TGPColor AColor);
    void StrokePath(const QPainterPath& APath, const QPen& APen);
    void FillRect(const TGPRectF& ARect, TGPColor AColor);

  private:
    void Apply();
    QPainter* FPainter;
    TKoUnit FPageUnit = kuPixel;
    double FPageScale = 1.0;
    QTransform FWorld;
    std::vector<QTransform> FSavedWorld;
    std::vector<std::pair<TKoUnit, double>> FSavedPage;
};

// A font in millimetres (or another unit): the family actually used, its size and style.
struct TKoFont {
    QString FamilyName;
    double Size = 0;
    TGPFontStyle Style = 0;
    TKoUnit Unit = kuMillimeter;
    bool IsValid() const { return !FamilyName.isEmpty() && Size > 0; }
    // A font of the family at a fixed reference pixel size; paths and metrics are scaled from it.
    QFont ToReferenceQFont() const;
};
constexpr int Nuo4ReferencePixelSize = 1000;

struct TKoGDIPlusCommon {
    static double GetUnitConverRatio(TKoUnit AOld, TKoUnit ANew, double ADpi);
    static double MillimeterToPoint(double V) { return V * 72.0 / 25.4; }
    static double PointToMillimeter(double V) { return V * 25.4 / 72.0; }
    static uint32_t GPColorToColorRef(TGPColor AColor);
    static TGPColor ColorRefToGPColor(uint32_t AColorRef);
};

struct TKoGDIPlusTransform {
    static void SetPageTransform(TKoGraphics& G, TKoUnit AUnit, double AScale);
    static void SetWorldTransform(TKoGraphics& G, double ASx, double ASy, double ADx, double ADy);
    static void GetInfoFromMatrix(const QTransform& M, double& AScaleX, double& AScaleY,
                                  double& AOffsetX, double& AOffsetY);
    static void GetWorldTransformInfo(const TKoGraphics& G, double& AScaleX, double& AScaleY,
                                      double& AOffsetX, double& AOffsetY);
    static QTransform GetMatrix_ScaleAt(TGPPointF ACenter, double AZx, double AZy);
    static QPointF WorldToDevice_Point(const TKoGraphics& G, QPointF P);
    static QSizeF WorldToDevice_Size(const TKoGraphics& G, QSizeF S);
    static QRectF WorldToDevice_Rect_GP(const TKoGraphics& G, const QRectF& R);
    static QRect WorldToDevice_Rect_Int(const TKoGraphics& G, const QRectF& R);
    static double WorldToDevice_Height(const TKoGraphics& G, double H);
    static QPointF DeviceToWorld_Point(const TKoGraphics& G, QPointF P);
    static QSizeF DeviceToWorld_Size(const TKoGraphics& G, QSizeF S);
    static QRectF DeviceToWorld_Rect(const TKoGraphics& G, const QRectF& R);
    static double DeviceToWorld_Width(const TKoGraphics& G, double W);
};

struct TKoFontMetrics {
    double WinAscent = 0, WinDescent = 0, LineSpacing = 0, FontSizePerDesignUnit = 0;
    int UnitsPerEm = 0;
};

struct TKoGDIPlusFont {
    // Fonts named by the Windows family names of the defaults map to installed equivalents; a
    // family that is still missing falls back to "Arial" (itself mapped) at the same size.
    static TKoFont CreateFont(const QString& AFamilyName, double ASize, TGPFontStyle AStyle,
                              TKoUnit AUnit = kuMillimeter);
    // The installed family a requested one is drawn with ("微软雅黑" -> a CJK sans, ...).
    static QString ResolveFamily(const QString& AFamilyName);
    static bool FamilyInstalled(const QString& AFamilyName);
    static bool CodePointExists(const TKoFont& AFont, char16_t AUnicode);
    static TKoFontMetrics GetFontMetrics(const TKoFont& AFont);
    static double GetFontMetrics_WinAscent(const TKoFont& AFont) {
        return GetFontMetrics(AFont).WinAscent;
    }
};

struct TKoGDIPlusText {
    static TGPRectF MeasureStringAtLT(const TKoGraphics* G, const QString& AText,
                                      const TKoFont& AFont, TGPPointF APt);
    static TGPRectF MeasureStringAtPos(const TKoGraphics* G, const QString& AText,
                                       const TKoFont& AFont, TGPPointF ARefPt,
                                       TTextRectPos ARefPtPos);
    static TGPRectF MeasureStringRange(const TKoGraphics* G, const QString& AText,
                                       const TKoFont& AFont, TGPPointF APtLT, int AStart,
                                       int ALength);
    static double GetStringWidth(const TKoGraphics* G, const QString& AText, const TKoFont& AFont);
    // Forgets the kept line layouts and font metrics (after the installed fonts changed).
    static void ClearLayoutCache();
};

struct TKoGDIPlusPath {
    static QPainterPath CreateTextPath(const TKoGraphics* G, const TKoFont& AFont,
                                       const QString& AText, TGPPointF APt, TTextRectPos APtPos);
    static QPainterPath CreateTextPath_AtLT(const TKoFont& AFont, const QString& AText,
                                            TGPPointF APtLT);
    static QPainterPath CreateTextPath_MultiLines(const TKoGraphics* G, const TKoFont& AFont,
                                                  const QString& AText, TGPPointF APtLT,
                                                  double ALayoutWidth,
                                                  TKoStringAlignment AAlignment, TGPRectF& ABounds,
                                                  bool bOnlyCalc);
    static QPainterPath CreateRoundedRect(const TGPRectF& ARect, double ARadius);
    static QPainterPath CreateRoundedRectWithThickness(const TGPRectF& ARect, double ARadius,
                                                       double AThickness);
    static TGPRectF GetNewBoundsAfterTransform(const TGPRectF& AOld, const QTransform& M);
    static void PathAdd(QPainterPath& ADst, const QPainterPath& ASrc, bool bConnect,
                        bool bAlternate);
    static void Path_ReverseAndAddAndClose(QPainterPath& ADst, const QPainterPath& ASrc,
                                           bool bConnect);
    static bool PathIsEmpty(const QPainterPath& APath) { return APath.elementCount() == 0; }
    static void PathTranslate(QPainterPath& APath, double ADx, double ADy);
    static void PathTransform(QPainterPath& APath, const QTransform& M);
    static void PathScale(QPainterPath& APath, double ASx, double ASy);
    static void PathScaleAt(QPainterPath& APath, double ASx, double ASy, TGPPointF ACenter);
    static void PathRotate(QPainterPath& APath, double ADegrees);
    static void PathItalic(QPainterPath& APath, double AAngleDeg);
    static void PathMirrorY(QPainterPath& APath, double AAxleX);
    static void PathFill(TKoGraphics* G, const QPainterPath& APath, TGPColor AColor);
    static void PathFill_Rectangle(TKoGraphics* G, const TGPRectF& ARect, TGPColor AColor);
    static void PathStroke_Solid(TKoGraphics* G, const QPainterPath& APath, TGPColor AColor,
                                 double AWidth);
    static void PathStroke_Rectangle(TKoGraphics* G, const TGPRectF& ARect, TGPColor AColor,
                                     double AWidth);
    // Dash and gap are lengths in millimetres, whatever the device.
    static void PathStroke_Dashed(TKoGraphics* G, const QPainterPath& APath, TGPColor AColor,
                                  double AWidth, double ASolid, double AGap);
};

struct TKoGDIPlusDrawing {
    static QPen CreateDashPen(double AWidth, TGPColor AColor, double ASolid, double AGap);
    static void DrawDashedLine(TKoGraphics* G, TGPColor AColor, QPointF A, QPointF B);
    static void DrawCrossDashedLine(TKoGraphics* G, TGPColor AColor, QPointF ACenter);
    static void DrawRectangle_Dashed_Hair(TKoGraphics* G, TGPColor AColor, const TGPRectF& R);
    static void DrawGrid(TKoGraphics* G, const TGPRectF& ARect, double ASmallSize,
                         int ACountPerLarge, bool bSemiTrans);
};

// Fonts loaded from memory and kept for the whole program.
class TKoGDIPlusPrivateFontCollection {
  public:
    struct TFontInfoItem {
        QString FileName;
        QString FamilyName;
        int FontId = -1;
        QByteArray Data;
    };
    // Reads the resource (a Qt resource path such as ":/fonts/Nuo4Core.ttf") and registers it.
    // Returns the index of the new item, or -1 when the resource is missing or loading fails.
    int AddResouceFile(const QString& AResourceID);
    int AddFontData(const QString& AName, const QByteArray& AData);
    const TFontInfoItem* GetFontInfoItem(int AIndex) const;
    int Count() const { return static_cast<int>(FItems.size()); }

  private:
    std::vector<TFontInfoItem> FItems;
};

// Puts a surface into the drawing state: anti-aliasing, millimetre page unit with the scale,
// world transform reset.
void PrepareGraphics(TKoGraphics& G, double AScale);

}  // namespace nuo4
