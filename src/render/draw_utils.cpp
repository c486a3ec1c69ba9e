#include "render/draw_utils.h"

#include "render/glyph_outlines.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QPaintDevice>
#include <QTextLayout>
#include <QTextOption>
#include <algorithm>
#include <cmath>
#include <optional>

namespace nuo4 {

QColor ToQColor(TGPColor C) {
    return QColor((C >> 16) & 0xFF, (C >> 8) & 0xFF, C & 0xFF, C >> 24);
}

TGPColor WithAlpha(TGPColor C, uint8_t AAlpha) {
    return (C & 0x00FFFFFFu) | (uint32_t(AAlpha) << 24);
}

bool RectIsEmpty(const TGPRectF& R) {
    return R.width() <= 1.192092896e-7 || R.height() <= 1.192092896e-7;
}

void RectUnion(TGPRectF& ADst, const TGPRectF& ASrc, bool bNoHorz, bool bNoVert) {
    if (RectIsEmpty(ASrc) || (bNoHorz && bNoVert)) return;
    if (RectIsEmpty(ADst)) {
        ADst = ASrc;
        // A suppressed axis collapses to the source's centre with a token extent.
        if (bNoHorz) ADst = TGPRectF(ASrc.center().x() - 0.005, ASrc.y(), 0.01, ASrc.height());
        if (bNoVert) ADst = TGPRectF(ASrc.x(), ASrc.center().y() - 0.005, ASrc.width(), 0.01);
        return;
    }
    if (!bNoHorz) {
        const double L = std::min(ADst.left(), ASrc.left()),
                     R = std::max(ADst.right(), ASrc.right());
        ADst.setLeft(L);
        ADst.setRight(R);
    }
    if (!bNoVert) {
        const double T = std::min(ADst.top(), ASrc.top()),
                     B = std::max(ADst.bottom(), ASrc.bottom());
        ADst.setTop(T);
        ADst.setBottom(B);
    }
}

const char* EnumName(TTextRectPos AValue) {
    static constexpr const char* Names[] = {"rpLeftTop",      "rpMiddleTop",      "rpRightTop",
                                            "rpLeftMiddle",   "rpMiddleMiddle",   "rpRightMiddle",
                                            "rpLeftBottom",   "rpMiddleBottom",   "rpRightBottom",
                                            "rpLeftBaseline", "rpMiddleBaseline", "rpRightBaseline",
                                            "rpLeftDescent",  "rpMiddleDescent",  "rpRightDescent"};
    return AValue < std::size(Names) ? Names[AValue] : "";
}

// ---- Surface ------------------------------------------------------------------------------

TKoGraphics::TKoGraphics(QPainter* APainter) : FPainter(APainter) {
    Apply();
}

double TKoGraphics::DpiX() const {
    return FPainter && FPainter->device() ? FPainter->device()->logicalDpiX() : 96.0;
}
double TKoGraphics::DpiY() const {
    return FPainter && FPainter->device() ? FPainter->device()->logicalDpiY() : 96.0;
}

void TKoGraphics::SetPageUnit(TKoUnit AUnit) {
    FPageUnit = AUnit;
    Apply();
}
void TKoGraphics::SetPageScale(double AScale) {
    FPageScale = AScale;
    Apply();
}
void TKoGraphics::SetWorldTransform(const QTransform& AWorld) {
    FWorld = AWorld;
    Apply();
}
void TKoGraphics::TranslateTransform(double ADx, double ADy) {
    FWorld.translate(ADx, ADy);
    Apply();
}
void TKoGraphics::ScaleTransform(double ASx, double ASy) {
    FWorld.scale(ASx, ASy);
    Apply();
}

QTransform TKoGraphics::PageTransform() const {
    const double Rx = TKoGDIPlusCommon::GetUnitConverRatio(FPageUnit, kuPixel, DpiX()) * FPageScale;
    const double Ry = TKoGDIPlusCommon::GetUnitConverRatio(FPageUnit, kuPixel, DpiY()) * FPageScale;
    return QTransform::fromScale(Rx, Ry);
}

void TKoGraphics::Apply() {
    if (FPainter) FPainter->setTransform(FWorld * PageTransform());
}

void TKoGraphics::Save() {
    if (FPainter) FPainter->save();
    FSavedWorld.push_back(FWorld);
    FSavedPage.emplace_back(FPageUnit, FPageScale);
}

void TKoGraphics::Restore() {
    if (FSavedWorld.empty()) return;
    FWorld = FSavedWorld.back();
    FSavedWorld.pop_back();
    std::tie(FPageUnit, FPageScale) = FSavedPage.back();
    FSavedPage.pop_back();
    if (FPainter) FPainter->restore();
    Apply();
}

void TKoGraphics::FillPath(const QPainterPath& APath, TGPColor AColor) {
    if (!FPainter || APath.isEmpty()) return;
    // Devices that keep text take the glyphs in the path as text.
    if (const TKoTextDevice D = TextDeviceOf(FPainter); D != tdNone)
        return GlyphOutlines_FillPath(*FPainter, D, APath, ToQColor(AColor));
    QPainterPath P = APath;
    P.setFillRule(Qt::WindingFill);
    FPainter->fillPath(P, ToQColor(AColor));
}

void TKoGraphics::StrokePath(const QPainterPath& APath, const QPen& APen) {
    if (!FPainter || APath.isEmpty()) return;
    FPainter->strokePath(APath, APen);
}

void TKoGraphics::FillRect(const TGPRectF& ARect, TGPColor AColor) {
    if (FPainter) FPainter->fillRect(ARect, ToQColor(AColor));
}

void PrepareGraphics(TKoGraphics& G, double AScale) {
    if (QPainter* P = G.Painter()) {
        P->setRenderHint(QPainter::Antialiasing, true);
        P->setRenderHint(QPainter::TextAntialiasing, true);
    }
    G.SetPageUnit(kuMillimeter);
    G.SetPageScale(AScale);
    G.ResetTransform();
}

// ---- Units, colours, transforms -----------------------------------------------------------

double TKoGDIPlusCommon::GetUnitConverRatio(TKoUnit AOld, TKoUnit ANew, double ADpi) {
    if (AOld == kuPixel && ANew == kuPoint) return 72.0 / ADpi;
    if (AOld == kuPixel && ANew == kuMillimeter) return 25.4 / ADpi;
    if (AOld == kuPoint && ANew == kuPixel) return ADpi / 72.0;
    if (AOld == kuPoint && ANew == kuMillimeter) return 0.35277778;
    if (AOld == kuMillimeter && ANew == kuPixel) return ADpi / 25.4;
    if (AOld == kuMillimeter && ANew == kuPoint) return 2.8346457;
    return 1.0;
}

uint32_t TKoGDIPlusCommon::GPColorToColorRef(TGPColor C) {
    return ((C & 0xFF) << 16) | (C & 0xFF00) | ((C >> 16) & 0xFF);
}

TGPColor TKoGDIPlusCommon::ColorRefToGPColor(uint32_t R) {
    return 0xFF000000u | ((R & 0xFF) << 16) | (R & 0xFF00) | ((R >> 16) & 0xFF);
}

void TKoGDIPlusTransform::SetPageTransform(TKoGraphics& G, TKoUnit AUnit, double AScale) {
    G.SetPageUnit(AUnit);
    G.SetPageScale(AScale);
}

void TKoGDIPlusTransform::SetWorldTransform(TKoGraphics& G, double ASx, double ASy, double ADx,
                                            double ADy) {
    QTransform M;
    M.scale(ASx, ASy);
    M.translate(ADx, ADy);  // points are translated first, then scaled
    G.SetWorldTransform(M);
}

void TKoGDIPlusTransform::GetInfoFromMatrix(const QTransform& M, double& AScaleX, double& AScaleY,
                                            double& AOffsetX, double& AOffsetY) {
    AScaleX = M.m11();
    AScaleY = M.m22();
    AOffsetX = AScaleX != 0 ? M.dx() / AScaleX : 0;
    AOffsetY = AScaleY != 0 ? M.dy() / AScaleY : 0;
}

void TKoGDIPlusTransform::GetWorldTransformInfo(const TKoGraphics& G, double& AScaleX,
                                                double& AScaleY, double& AOffsetX,
                                                double& AOffsetY) {
    GetInfoFromMatrix(G.WorldTransform(), AScaleX, AScaleY, AOffsetX, AOffsetY);
}

QTransform TKoGDIPlusTransform::GetMatrix_ScaleAt(TGPPointF C, double AZx, double AZy) {
    QTransform M;
    M.translate(C.x(), C.y());
    M.scale(AZx, AZy);
    M.translate(-C.x(), -C.y());
    return M;
}

namespace {
QTransform DeviceMatrix(const TKoGraphics& G) {
    return G.WorldTransform() * G.PageTransform();
}
}  // namespace

QPointF TKoGDIPlusTransform::WorldToDevice_Point(const TKoGraphics& G, QPointF P) {
    return DeviceMatrix(G).map(P);
}
QSizeF TKoGDIPlusTransform::WorldToDevice_Size(const TKoGraphics& G, QSizeF S) {
    const QTransform M = DeviceMatrix(G);
    return QSizeF(S.width() * M.m11(), S.height() * M.m22());
}
QRectF TKoGDIPlusTransform::WorldToDevice_Rect_GP(const TKoGraphics& G, const QRectF& R) {
    return DeviceMatrix(G).mapRect(R);
}
QRect TKoGDIPlusTransform::WorldToDevice_Rect_Int(const TKoGraphics& G, const QRectF& R) {
    const QRectF D = WorldToDevice_Rect_GP(G, R);
    return QRect(qRound(D.x()), qRound(D.y()), qRound(D.width()), qRound(D.height()));
}
double TKoGDIPlusTransform::WorldToDevice_Height(const TKoGraphics& G, double H) {
    return H * DeviceMatrix(G).m22();
}
QPointF TKoGDIPlusTransform::DeviceToWorld_Point(const TKoGraphics& G, QPointF P) {
    return DeviceMatrix(G).inverted().map(P);
}
QSizeF TKoGDIPlusTransform::DeviceToWorld_Size(const TKoGraphics& G, QSizeF S) {
    const QTransform M = DeviceMatrix(G);
    return QSizeF(M.m11() ? S.width() / M.m11() : 0, M.m22() ? S.height() / M.m22() : 0);
}
QRectF TKoGDIPlusTransform::DeviceToWorld_Rect(const TKoGraphics& G, const QRectF& R) {
    return DeviceMatrix(G).inverted().mapRect(R);
}
double TKoGDIPlusTransform::DeviceToWorld_Width(const TKoGraphics& G, double W) {
    const QTransform M = DeviceMatrix(G);
    return M.m11() ? W / M.m11() : 0;
}

// ---- Fonts --------------------------------------------------------------------------------

QFont TKoFont::ToReferenceQFont() const {
    QFont F(FamilyName);
    F.setPixelSize(Nuo4ReferencePixelSize);
    F.setBold(Style & FontStyleBold);
    F.setItalic(Style & FontStyleItalic);
    F.setUnderline(Style & FontStyleUnderline);
    F.setStrikeOut(Style & FontStyleStrikeout);
    F.setHintingPreference(QFont::PreferNoHinting);
    F.setKerning(true);
    return F;
}

bool TKoGDIPlusFont::FamilyInstalled(const QString& AFamilyName) {
    if (AFamilyName.isEmpty()) return false;
    const QStringList Families = QFontDatabase::families();
    for (const QString& F : Families)
        if (F.compare(AFamilyName, Qt::CaseInsensitive) == 0) return true;
    return false;
}

QString TKoGDIPlusFont::ResolveFamily(const QString& AFamilyName) {
    if (FamilyInstalled(AFamilyName)) return AFamilyName;
    // Windows family names that scores and defaults use, with their Debian equivalents in order
    // of preference.
    static const QHash<QString, QStringList> Map = {
        {QStringLiteral("微软雅黑"),
         {"Noto Sans CJK SC", "WenQuanYi Micro Hei", "Droid Sans Fallback"}},
        {QStringLiteral("microsoft yahei"), {"Noto Sans CJK SC", "WenQuanYi Micro Hei"}},
        {QStringLiteral("黑体"), {"Noto Sans CJK SC", "WenQuanYi Micro Hei"}},
        {QStringLiteral("simhei"), {"Noto Sans CJK SC", "WenQuanYi Micro Hei"}},
        {QStringLiteral("仿宋"), {"AR PL UMing CN", "Noto Serif CJK SC"}},
        {QStringLiteral("仿宋_gb2312"), {"AR PL UMing CN", "Noto Serif CJK SC"}},
        {QStringLiteral("fangsong"), {"AR PL UMing CN", "Noto Serif CJK SC"}},
        // The mainland Kai sets "。" and "，" low at the left of the cell; every face of the
        // UKai collection, its CN face too, centres them as Taiwan does.
        {QStringLiteral("楷体"), {"AR PL KaitiM GB", "AR PL UKai CN"}},
        {QStringLiteral("楷体_gb2312"), {"AR PL KaitiM GB", "AR PL UKai CN"}},
        {QStringLiteral("kaiti"), {"AR PL KaitiM GB", "AR PL UKai CN"}},
        {QStringLiteral("宋体"), {"Noto Serif CJK SC", "AR PL UMing CN"}},
        {QStringLiteral("simsun"), {"Noto Serif CJK SC", "AR PL UMing CN"}},
        {QStringLiteral("新宋体"), {"Noto Serif CJK SC", "AR PL UMing CN"}},
        {QStringLiteral("arial"), {"Liberation Sans", "DejaVu Sans"}},
        {QStringLiteral("times new roman"), {"Liberation Serif", "DejaVu Serif"}},
        {QStringLiteral("courier new"), {"Liberation Mono", "DejaVu Sans Mono"}},
        {QStringLiteral("tahoma"), {"DejaVu Sans", "Liberation Sans"}},
        {QStringLiteral("verdana"), {"DejaVu Sans", "Liberation Sans"}},
    };
    const auto It = Map.constFind(AFamilyName.toLower());
    if (It != Map.constEnd())
        for (const QString& Candidate : *It)
            if (FamilyInstalled(Candidate)) return Candidate;
    return QString();
}

TKoFont TKoGDIPlusFont::CreateFont(const QString& AFamilyName, double ASize, TGPFontStyle AStyle,
                                   TKoUnit AUnit) {
    TKoFont F;
    F.Size = ASize;
    F.Style = AStyle;
    F.Unit = AUnit;
    F.FamilyName = ResolveFamily(AFamilyName);
    if (F.FamilyName.isEmpty()) F.FamilyName = ResolveFamily(QStringLiteral("Arial"));
    if (F.FamilyName.isEmpty())
        F.FamilyName = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    return F;
}

bool TKoGDIPlusFont::CodePointExists(const TKoFont& AFont, char16_t AUnicode) {
    if (!AFont.IsValid()) return false;
    const QRawFont Raw = QRawFont::fromFont(AFont.ToReferenceQFont());
    if (!Raw.isValid() || !Raw.supportsCharacter(QChar(AUnicode))) return false;
    const QList<quint32> Glyphs = Raw.glyphIndexesForString(QString(QChar(AUnicode)));
    return !Glyphs.isEmpty() && Glyphs[0] != 0 && !Raw.pathForGlyph(Glyphs[0]).isEmpty();
}

namespace {

// A font and a text, as the key of kept layouts and metrics (the text empty for metrics).
struct TTextKey {
    QString FamilyName;
    double Size = 0;
    TGPFontStyle Style = 0;
    QString Text;
    bool operator==(const TTextKey& O) const {
        return Size == O.Size && Style == O.Style && FamilyName == O.FamilyName && Text == O.Text;
    }
};

size_t qHash(const TTextKey& K, size_t ASeed = 0) {
    return qHashMulti(ASeed, K.FamilyName, K.Size, K.Style, K.Text);
}

TTextKey FontKey(const TKoFont& AFont, const QString& AText = QString()) {
    return TTextKey{AFont.FamilyName, AFont.Size, AFont.Style, AText};
}

// Kept laid-out lines and font metrics are bounded; see LayOutLine.
constexpr int MaxLaidOutLines = 4096;

QHash<TTextKey, TKoFontMetrics>& FontMetricsCache() {
    static QHash<TTextKey, TKoFontMetrics> Cache;
    return Cache;
}

}  // namespace

TKoFontMetrics TKoGDIPlusFont::GetFontMetrics(const TKoFont& AFont) {
    TKoFontMetrics M;
    if (!AFont.IsValid()) return M;
    const TTextKey Key = FontKey(AFont);
    auto& Cache = FontMetricsCache();
    if (auto It = Cache.constFind(Key); It != Cache.constEnd()) return It.value();
    const QRawFont Raw = QRawFont::fromFont(AFont.ToReferenceQFont());
    const double K = AFont.Size / Nuo4ReferencePixelSize;
    if (Raw.isValid()) {
        M.UnitsPerEm = static_cast<int>(Raw.unitsPerEm());
        M.WinAscent = Raw.ascent() * K;
        M.WinDescent = Raw.descent() * K;
        M.LineSpacing = (Raw.ascent() + Raw.descent() + Raw.leading()) * K;
        M.FontSizePerDesignUnit = M.UnitsPerEm > 0 ? AFont.Size / M.UnitsPerEm : 0;
    } else {
        const QFontMetricsF FM(AFont.ToReferenceQFont());
        M.WinAscent = FM.ascent() * K;
        M.WinDescent = FM.descent() * K;
        M.LineSpacing = FM.lineSpacing() * K;
    }
    if (Cache.size() >= MaxLaidOutLines) Cache.clear();
    Cache.insert(Key, M);
    return M;
}

// ---- Text ---------------------------------------------------------------------------------

namespace {

// A laid-out single line at the reference size; positions are reference pixels.
struct TLaidOut {
    std::unique_ptr<QTextLayout> Layout;
    double Width = 0, Ascent = 0, Descent = 0;
    // The outline at the reference size, the baseline on the font's own ascent; built on first
    // use, since most texts are only measured.
    std::optional<QPainterPath> Path;
    double BaselineShift = 0;
    // The scales at which the glyphs were noted for devices that keep text.
    std::vector<double> NotedScales;
};

// Laying out and shaping dominate the cost of lyrics and texts, and a score repeats the same few
// syllables in the same few fonts, so laid-out lines are kept. A layout is a pure function of
// the text and the font, and the callers scale and move its reference-size results exactly as
// they would a fresh one, so kept lines give the same outlines and boxes. The cache is bounded
// and is dropped whenever the installed fonts change.
QHash<TTextKey, std::shared_ptr<TLaidOut>>& LaidOutLines() {
    static QHash<TTextKey, std::shared_ptr<TLaidOut>> Cache;
    return Cache;
}

std::shared_ptr<TLaidOut> LayOutLine(const QString& AText, const TKoFont& AFont) {
    const TTextKey Key = FontKey(AFont, AText);
    auto& Cache = LaidOutLines();
    if (auto It = Cache.constFind(Key); It != Cache.constEnd()) return It.value();
    auto L = std::make_shared<TLaidOut>();
    QString Text = AText;
    Text.replace(QChar('\n'), QChar::LineSeparator);
    L->Layout = std::make_unique<QTextLayout>(Text, AFont.ToReferenceQFont());
    QTextOption Opt;
    Opt.setWrapMode(QTextOption::NoWrap);
    Opt.setUseDesignMetrics(true);
    L->Layout->setTextOption(Opt);
    L->Layout->beginLayout();
    QTextLine Line = L->Layout->createLine();
    if (Line.isValid()) {
        Line.setLineWidth(1e9);
        Line.setPosition(QPointF(0, 0));
    }
    L->Layout->endLayout();
    const TKoFontMetrics M = TKoGDIPlusFont::GetFontMetrics(AFont);
    const double K = AFont.Size / Nuo4ReferencePixelSize;
    L->Ascent = M.WinAscent / K;
    L->Descent = M.WinDescent / K;
    if (Line.isValid()) L->Width = Line.naturalTextWidth();
    if (Cache.size() >= MaxLaidOutLines) Cache.clear();
    Cache.insert(Key, L);
    return L;
}

QPainterPath GlyphRunsToPath(const QTextLayout& ALayout, double ABaselineShift) {
    QPainterPath Path;
    for (const QGlyphRun& Run : ALayout.glyphRuns()) {
        const QRawFont Raw = Run.rawFont();
        const QList<quint32> Indexes = Run.glyphIndexes();
        const QList<QPointF> Positions = Run.positions();
        for (int I = 0; I < Indexes.size(); ++I) {
            QPainterPath G = Raw.pathForGlyph(Indexes[I]);
            G.translate(Positions[I].x(), Positions[I].y() + ABaselineShift);
            Path.addPath(G);
        }
    }
    return Path;
}

bool UnitsMatch(const TKoGraphics* G, const TKoFont& AFont) {
    return G == nullptr || G->PageUnit() == AFont.Unit || G->PageUnit() == kuWorld;
}

}  // namespace

void TKoGDIPlusText::ClearLayoutCache() {
    LaidOutLines().clear();
    FontMetricsCache().clear();
}

TGPRectF TKoGDIPlusText::MeasureStringAtLT(const TKoGraphics* G, const QString& AText,
                                           const TKoFont& AFont, TGPPointF APt) {
    if (!AFont.IsValid() || !UnitsMatch(G, AFont)) return TGPRectF();
    const std::shared_ptr<TLaidOut> L = LayOutLine(AText, AFont);
    const double K = AFont.Size / Nuo4ReferencePixelSize;
    return TGPRectF(APt.x(), APt.y(), L->Width * K, (L->Ascent + L->Descent) * K);
}

TGPRectF TKoGDIPlusText::MeasureStringAtPos(const TKoGraphics* G, const QString& AText,
                                            const TKoFont& AFont, TGPPointF ARefPt,
                                            TTextRectPos ARefPtPos) {
    TGPRectF R = MeasureStringAtLT(G, AText, AFont, ARefPt);
    if (R.isNull() && R.width() == 0 && R.height() == 0) return R;
    const TKoFontMetrics M = TKoGDIPlusFont::GetFontMetrics(AFont);
    const int Col = ARefPtPos % 3, Row = ARefPtPos / 3;
    const double Dx = Col == 0 ? 0 : Col == 1 ? -R.width() / 2 : -R.width();
    double Dy = 0;
    switch (Row) {
        case 0:
            Dy = 0;
            break;
        case 1:
            Dy = -R.height() / 2;
            break;
        case 2:
            Dy = -R.height();
            break;
        case 3:
            Dy = -M.WinAscent;
            break;
        default:
            Dy = -(M.WinAscent + M.WinDescent);
            break;
    }
    R.translate(Dx, Dy);
    return R;
}

TGPRectF TKoGDIPlusText::MeasureStringRange(const TKoGraphics* G, const QString& AText,
                                            const TKoFont& AFont, TGPPointF APtLT, int AStart,
                                            int ALength) {
    if (AText.isEmpty() || AStart >= AText.size() || AStart < 0 || !AFont.IsValid() ||
        !UnitsMatch(G, AFont))
        return TGPRectF();
    const std::shared_ptr<TLaidOut> L = LayOutLine(AText, AFont);
    const QTextLine Line = L->Layout->lineAt(0);
    if (!Line.isValid()) return TGPRectF();
    const double K = AFont.Size / Nuo4ReferencePixelSize;
    const int End = std::min<int>(AText.size(), AStart + std::max(0, ALength));
    const double X0 = Line.cursorToX(AStart), X1 = Line.cursorToX(End);
    return TGPRectF(APtLT.x() + std::min(X0, X1) * K, APtLT.y(), std::fabs(X1 - X0) * K,
                    (L->Ascent + L->Descent) * K);
}

double TKoGDIPlusText::GetStringWidth(const TKoGraphics* G, const QString& AText,
                                      const TKoFont& AFont) {
    return MeasureStringAtLT(G, AText, AFont, QPointF(0, 0)).width();
}

// ---- Paths --------------------------------------------------------------------------------

QPainterPath TKoGDIPlusPath::CreateTextPath_AtLT(const TKoFont& AFont, const QString& AText,
                                                 TGPPointF APtLT) {
    if (!AFont.IsValid() || AText.isEmpty()) return QPainterPath();
    const std::shared_ptr<TLaidOut> L = LayOutLine(AText, AFont);
    if (!L->Path) {
        // Glyph positions have their baseline at the line's ascent; the font's own ascent
        // decides where the left-top of the text box is.
        const QTextLine Line = L->Layout->lineAt(0);
        L->BaselineShift = Line.isValid() ? L->Ascent - Line.ascent() : 0;
        L->Path = GlyphRunsToPath(*L->Layout, L->BaselineShift);
    }
    const QPainterPath& P = *L->Path;
    const double K = AFont.Size / Nuo4ReferencePixelSize;
    if (std::find(L->NotedScales.begin(), L->NotedScales.end(), K) == L->NotedScales.end()) {
        L->NotedScales.push_back(K);
        GlyphOutlines_NoteRuns(
            L->Layout->glyphRuns(), L->Layout->text(),
            QTransform::fromTranslate(0, L->BaselineShift) * QTransform::fromScale(K, K));
    }
    QTransform M;
    M.translate(APtLT.x(), APtLT.y());
    M.scale(K, K);
    return M.map(P);
}

QPainterPath TKoGDIPlusPath::CreateTextPath(const TKoGraphics* G, const TKoFont& AFont,
                                            const QString& AText, TGPPointF APt,
                                            TTextRectPos APtPos) {
    const TGPRectF R = TKoGDIPlusText::MeasureStringAtPos(G, AText, AFont, APt, APtPos);
    if (R.width() == 0 && R.height() == 0) return QPainterPath();
    return CreateTextPath_AtLT(AFont, AText, R.topLeft());
}

QPainterPath TKoGDIPlusPath::CreateTextPath_MultiLines(const TKoGraphics* G, const TKoFont& AFont,
                                                       const QString& AText, TGPPointF APtLT,
                                                       double ALayoutWidth,
                                                       TKoStringAlignment AAlignment,
                                                       TGPRectF& ABounds, bool bOnlyCalc) {
    ABounds = TGPRectF();
    if (!AFont.IsValid() || !UnitsMatch(G, AFont)) return QPainterPath();
    const double K = AFont.Size / Nuo4ReferencePixelSize;
    QString Text = AText;
    Text.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator));
    Text.replace(QChar('\n'), QChar::LineSeparator);
    Text.replace(QChar('\r'), QChar::LineSeparator);
    QTextLayout Layout(Text, AFont.ToReferenceQFont());
    QTextOption Opt;
    Opt.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    Opt.setUseDesignMetrics(true);
    // Lines are aligned below within the measured box; Qt's own alignment within the line
    // width would shift them a second time (and by half of 1e9 without a layout width).
    Opt.setAlignment(Qt::AlignLeft);
    Layout.setTextOption(Opt);
    const double Width = ALayoutWidth > 0 ? ALayoutWidth / K : 1e9;
    const TKoFontMetrics M = TKoGDIPlusFont::GetFontMetrics(AFont);
    const double LineHeight = (M.WinAscent + M.WinDescent) / K;
    Layout.beginLayout();
    double Y = 0, MaxW = 0;
    for (QTextLine Line = Layout.createLine(); Line.isValid(); Line = Layout.createLine()) {
        Line.setLineWidth(Width);
        Line.setPosition(QPointF(0, Y));
        MaxW = std::max(MaxW, Line.naturalTextWidth());
        Y += LineHeight;
    }
    Layout.endLayout();
    const double BoxW = ALayoutWidth > 0 ? Width : MaxW;
    ABounds = TGPRectF(APtLT.x(), APtLT.y(), (ALayoutWidth > 0 ? MaxW : BoxW) * K, Y * K);
    if (bOnlyCalc) return QPainterPath();
    QPainterPath P;
    for (int I = 0; I < Layout.lineCount(); ++I) {
        const QTextLine Line = Layout.lineAt(I);
        // Alignment inside the measured box, as the platform lays strings out in the bounds.
        double Dx = 0;
        const double Free = (ALayoutWidth > 0 ? MaxW : BoxW) - Line.naturalTextWidth();
        if (AAlignment == saCenter) Dx = Free / 2;
        if (AAlignment == saFar) Dx = Free;
        const QList<QGlyphRun> Runs = Line.glyphRuns();
        const QString LineText = Text.mid(Line.textStart(), Line.textLength());
        for (const QGlyphRun& Run : Runs) {
            const QRawFont Raw = Run.rawFont();
            const QList<quint32> Indexes = Run.glyphIndexes();
            const QList<QPointF> Positions = Run.positions();
            // Characters go with glyphs where the line is one run of a glyph per character.
            const bool bChars = Runs.size() == 1 && Indexes.size() == LineText.size() &&
                                Raw.glyphIndexesForString(LineText) == Indexes;
            for (int J = 0; J < Indexes.size(); ++J) {
                QPainterPath G2 = Raw.pathForGlyph(Indexes[J]);
                const QPointF At(
                    Positions[J].x() - Line.x() + Dx,
                    Line.y() + M.WinAscent / K + (Positions[J].y() - Line.y() - Line.ascent()));
                G2.translate(At);
                P.addPath(G2);
                GlyphOutlines_NoteGlyph(
                    Raw, Indexes[J], QPainterPath(),
                    QTransform::fromTranslate(At.x(), At.y()) * QTransform::fromScale(K, K),
                    bChars ? LineText.mid(J, 1) : QString());
            }
        }
    }
    QTransform T;
    T.translate(APtLT.x(), APtLT.y());
    T.scale(K, K);
    return T.map(P);
}

QPainterPath TKoGDIPlusPath::CreateRoundedRect(const TGPRectF& R, double ARadius) {
    QPainterPath P;
    const double D = 2 * ARadius;
    // Corners clockwise in a y-down system; Qt counts angles counter-clockwise, so negate.
    P.arcMoveTo(R.left(), R.top(), D, D, -180);
    P.arcTo(R.left(), R.top(), D, D, -180, -90);
    P.arcTo(R.right() - D, R.top(), D, D, -270, -90);
    P.arcTo(R.right() - D, R.bottom() - D, D, D, 0, -90);
    P.arcTo(R.left(), R.bottom() - D, D, D, -90, -90);
    P.closeSubpath();
    return P;
}

QPainterPath TKoGDIPlusPath::CreateRoundedRectWithThickness(const TGPRectF& R, double ARadius,
                                                            double T) {
    QPainterPath Outer =
        CreateRoundedRect(R.adjusted(-T / 2, -T / 2, T / 2, T / 2), ARadius + T / 2);
    QPainterPath Inner =
        CreateRoundedRect(R.adjusted(T / 2, T / 2, -T / 2, -T / 2), std::max(0.0, ARadius - T / 2));
    Outer.addPath(Inner.toReversed());
    Outer.setFillRule(Qt::WindingFill);
    return Outer;
}

TGPRectF TKoGDIPlusPath::GetNewBoundsAfterTransform(const TGPRectF& AOld, const QTransform& M) {
    if (RectIsEmpty(AOld)) return TGPRectF();
    return M.map(QPolygonF(AOld)).boundingRect();
}

void TKoGDIPlusPath::PathAdd(QPainterPath& ADst, const QPainterPath& ASrc, bool bConnect,
                             bool bAlternate) {
    if (PathIsEmpty(ASrc)) return;
    if (PathIsEmpty(ADst)) {
        ADst = ASrc;
    } else if (bConnect) {
        ADst.connectPath(ASrc);
    } else {
        ADst.addPath(ASrc);
    }
    ADst.setFillRule(bAlternate ? Qt::OddEvenFill : Qt::WindingFill);
}

void TKoGDIPlusPath::Path_ReverseAndAddAndClose(QPainterPath& ADst, const QPainterPath& ASrc,
                                                bool bConnect) {
    const QPainterPath R = ASrc.toReversed();
    if (bConnect && !PathIsEmpty(ADst))
        ADst.connectPath(R);
    else
        ADst.addPath(R);
    ADst.closeSubpath();
}

void TKoGDIPlusPath::PathTranslate(QPainterPath& P, double ADx, double ADy) {
    if (!PathIsEmpty(P)) P.translate(ADx, ADy);
}
void TKoGDIPlusPath::PathTransform(QPainterPath& P, const QTransform& M) {
    if (!PathIsEmpty(P)) P = M.map(P);
}
void TKoGDIPlusPath::PathScale(QPainterPath& P, double ASx, double ASy) {
    PathTransform(P, QTransform::fromScale(ASx, ASy));
}
void TKoGDIPlusPath::PathScaleAt(QPainterPath& P, double ASx, double ASy, TGPPointF C) {
    PathTransform(P, TKoGDIPlusTransform::GetMatrix_ScaleAt(C, ASx, ASy));
}
void TKoGDIPlusPath::PathRotate(QPainterPath& P, double ADegrees) {
    // Clockwise on the page (y down) for positive angles, as the platform rotates.
    QTransform M;
    M.rotate(ADegrees);
    PathTransform(P, M);
}
void TKoGDIPlusPath::PathItalic(QPainterPath& P, double AAngleDeg) {
    PathTransform(P, QTransform(1, 0, -std::tan(AAngleDeg * M_PI / 180.0), 1, 0, 0));
}
void TKoGDIPlusPath::PathMirrorY(QPainterPath& P, double AAxleX) {
    PathTransform(P, QTransform(-1, 0, 0, 1, 2 * AAxleX, 0));
}

void TKoGDIPlusPath::PathFill(TKoGraphics* G, const QPainterPath& P, TGPColor AColor) {
    if (G) G->FillPath(P, AColor);
}
void TKoGDIPlusPath::PathFill_Rectangle(TKoGraphics* G, const TGPRectF& R, TGPColor AColor) {
    QPainterPath P;
    P.addRect(R);
    PathFill(G, P, AColor);
}
void TKoGDIPlusPath::PathStroke_Solid(TKoGraphics* G, const QPainterPath& P, TGPColor AColor,
                                      double AWidth) {
    if (!G) return;
    QPen Pen(ToQColor(AColor), AWidth);
    Pen.setCapStyle(Qt::FlatCap);
    Pen.setJoinStyle(Qt::MiterJoin);
    G->StrokePath(P, Pen);
}
void TKoGDIPlusPath::PathStroke_Rectangle(TKoGraphics* G, const TGPRectF& R, TGPColor AColor,
                                          double AWidth) {
    QPainterPath P;
    P.addRect(R);
    PathStroke_Solid(G, P, AColor, AWidth);
}
void TKoGDIPlusPath::PathStroke_Dashed(TKoGraphics* G, const QPainterPath& P, TGPColor AColor,
                                       double AWidth, double ASolid, double AGap) {
    if (G) G->StrokePath(P, TKoGDIPlusDrawing::CreateDashPen(AWidth, AColor, ASolid, AGap));
}

QPen TKoGDIPlusDrawing::CreateDashPen(double AWidth, TGPColor AColor, double ASolid, double AGap) {
    QPen Pen(ToQColor(AColor), AWidth);
    Pen.setCapStyle(Qt::FlatCap);
    // Qt measures dash patterns in pen widths; the lengths asked for are millimetres.
    const double W = AWidth > 0 ? AWidth : 1.0;
    Pen.setDashPattern({std::max(ASolid / W, 0.01), std::max(AGap / W, 0.01)});
    return Pen;
}

namespace {
QPen HairDashPen(TGPColor AColor) {
    QPen Pen(ToQColor(AColor), 0);  // cosmetic: one device pixel wide
    Pen.setCosmetic(true);
    Pen.setDashPattern({3, 3});
    return Pen;
}
}  // namespace

void TKoGDIPlusDrawing::DrawDashedLine(TKoGraphics* G, TGPColor AColor, QPointF A, QPointF B) {
    if (!G || !G->Painter()) return;
    QPainterPath P(A);
    P.lineTo(B);
    G->StrokePath(P, HairDashPen(AColor));
}

void TKoGDIPlusDrawing::DrawCrossDashedLine(TKoGraphics* G, TGPColor AColor, QPointF C) {
    DrawDashedLine(G, AColor, QPointF(-1000, C.y()), QPointF(1000, C.y()));
    DrawDashedLine(G, AColor, QPointF(C.x(), -1000), QPointF(C.x(), 1000));
}

void TKoGDIPlusDrawing::DrawRectangle_Dashed_Hair(TKoGraphics* G, TGPColor AColor,
                                                  const TGPRectF& R) {
    if (!G || !G->Painter()) return;
    QPainterPath P;
    P.addRect(R);
    G->StrokePath(P, HairDashPen(AColor));
}

void TKoGDIPlusDrawing::DrawGrid(TKoGraphics* G, const TGPRectF& R, double ASmall,
                                 int ACountPerLarge, bool bSemiTrans) {
    if (!G || !G->Painter() || ASmall <= 0 || ACountPerLarge <= 0) return;
    QPainter* P = G->Painter();
    const bool bAA = P->testRenderHint(QPainter::Antialiasing);
    P->setRenderHint(QPainter::Antialiasing, false);
    const uint8_t Alpha = bSemiTrans ? 64 : 255;
    auto LineAt = [&](double APos, bool bVert) {
        const double N = APos / ASmall / ACountPerLarge;
        const bool bLarge = std::fabs(N - std::round(N)) < 0.01;
        QPen Pen(ToQColor(WithAlpha(bLarge ? 0xFF808080u : 0xFFE0E0E0u, Alpha)), 0.001);
        QPainterPath L;
        if (bVert) {
            L.moveTo(APos, R.top());
            L.lineTo(APos, R.bottom());
        } else {
            L.moveTo(R.left(), APos);
            L.lineTo(R.right(), APos);
        }
        G->StrokePath(L, Pen);
    };
    for (double X = std::ceil(R.left() / ASmall - 0.01) * ASmall; X <= R.right() + 0.01;
         X += ASmall)
        LineAt(X, true);
    for (double Y = std::ceil(R.top() / ASmall - 0.01) * ASmall; Y <= R.bottom() + 0.01;
         Y += ASmall)
        LineAt(Y, false);
    P->setRenderHint(QPainter::Antialiasing, bAA);
}

// ---- Private font collection --------------------------------------------------------------

int TKoGDIPlusPrivateFontCollection::AddResouceFile(const QString& AResourceID) {
    QFile F(AResourceID);
    if (!F.open(QIODevice::ReadOnly)) return -1;
    return AddFontData(AResourceID, F.readAll());
}

int TKoGDIPlusPrivateFontCollection::AddFontData(const QString& AName, const QByteArray& AData) {
    if (AData.isEmpty()) return -1;
    const int Id = QFontDatabase::addApplicationFontFromData(AData);
    if (Id < 0) return -1;
    const QStringList Families = QFontDatabase::applicationFontFamilies(Id);
    if (Families.isEmpty()) return -1;
    FItems.push_back({AName, Families.last(), Id, AData});
    for (const QString& F : Families) GlyphOutlines_NoteProgramFamily(F);
    // A family that was missing may now resolve to the new font.
    TKoGDIPlusText::ClearLayoutCache();
    return static_cast<int>(FItems.size()) - 1;
}

const TKoGDIPlusPrivateFontCollection::TFontInfoItem*
TKoGDIPlusPrivateFontCollection::GetFontInfoItem(int AIndex) const {
    return AIndex >= 0 && AIndex < Count() ? &FItems[AIndex] : nullptr;
}

}  // namespace nuo4
