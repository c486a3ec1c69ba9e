#include "render/music_font.h"

#include <QCoreApplication>
#include <QFile>
#include <QFontDatabase>
#include <QHash>
#include <cmath>
#include <memory>

#include "format/doc_options.h"
#include "render/glyph_outlines.h"
#include "render/note_style.h"

// Resources of a static library are registered explicitly; the initializer lives in the
// global namespace.
static void InitNuo4FontResources() {
#ifdef NUO4_HAVE_FONT_RESOURCES
    Q_INIT_RESOURCE(fonts);
#endif
}

namespace nuo4 {

namespace {
// The embedded font from the font database, for devices that keep text: they can embed that
// copy. Its glyph indexes are those of the raw font; it goes with the music font. Never
// destroyed: static destruction follows the application, which a font may not outlive.
QRawFont& CoreDrawRaw() {
    static QRawFont* F = new QRawFont;
    return *F;
}
}  // namespace

namespace {

constexpr double CoreFontSize = 6.0;  // mm: 0.006 mm per design unit
constexpr double BucketSize = 2 * Nuo4CacheTolerance;

int64_t Bucket(double AValue) {
    return static_cast<int64_t>(std::floor(AValue / BucketSize));
}

uint64_t Mix(uint64_t H, uint64_t V) {
    return H ^ (V + 0x9E3779B97F4A7C15ull + (H << 6) + (H >> 2));
}

uint64_t CoreCharHash(char16_t AUnicode, int64_t ABw, int64_t ABh) {
    return Mix(Mix(Mix(0, AUnicode), uint64_t(ABw)), uint64_t(ABh));
}

uint64_t TextHash(TNuo4FontUsage AUsage, size_t ATextHash, TTextRectPos APtPos, int64_t ABx,
                  int64_t ABy) {
    return Mix(Mix(Mix(Mix(Mix(0, AUsage), ATextHash), APtPos), uint64_t(ABx)), uint64_t(ABy));
}

bool Near(double A, double B) {
    return std::fabs(A - B) <= Nuo4CacheTolerance;
}

bool SameStyleAndSize(const TrecNuo4CachedFontInfoItem& AItem, double ASize, TGPFontStyle AStyle) {
    return AItem.IsAssigned() && AItem.Font.Style == AStyle &&
           std::fabs(AItem.Font.Size - ASize) <= 0.01;
}

// The obtained family named as the caller asked: the request itself when it resolves to the
// font's family, "Arial" when the font is the Arial fallback, else the installed name.
QString ObtainedFamilyName(const QString& AInit, const TKoFont& AFont) {
    if (!AFont.IsValid()) return QString();
    if (!AInit.isEmpty()) {
        const QString R = TKoGDIPlusFont::ResolveFamily(AInit);
        if (!R.isEmpty() && R.compare(AFont.FamilyName, Qt::CaseInsensitive) == 0) return AInit;
    }
    const QString Arial = TKoGDIPlusFont::ResolveFamily(QStringLiteral("Arial"));
    if (!Arial.isEmpty() && Arial.compare(AFont.FamilyName, Qt::CaseInsensitive) == 0)
        return QStringLiteral("Arial");
    return AFont.FamilyName;
}

QString ToQString(std::u16string_view S) {
    return QString::fromUtf16(S.data(), qsizetype(S.size()));
}

}  // namespace

// ---- Descriptors ----------------------------------------------------------------------------

const TrecNuo4CoreFontSymbolInfoItem& CoreFontSymbolInfo(TNuo4CoreFontSymbol ASymbol) {
    return Nuo4CoreFontSymbols[ASymbol < Nuo4CoreFontSymbolCount ? ASymbol : 0];
}

int CoreFontSymbolInfo_IndexOf(std::u16string_view AShortName) {
    for (int I = 0; I < Nuo4CoreFontSymbolCount; ++I)
        if (AShortName == Nuo4CoreFontSymbols[I].ShortName) return I;
    return -1;
}

char16_t CoreFont_NoteDigitCode(int ADigit, TNuo4DigitFace AFace) {
    const int Face = AFace < CoreFont_NoteDigitFaceCount ? AFace : 0;
    const int Digit = ADigit >= 0 && ADigit < CoreFont_NoteDigitFaceStride ? ADigit : 0;
    return char16_t(CoreFont_FirstNoteDigit + CoreFont_NoteDigitFaceStride * Face + Digit);
}

bool TrecNuo4CachedFontInfoItem::Check() const {
    if (FamilyName.isEmpty() && FamilyName_Init.isEmpty()) return true;
    return FamilyName.compare(FamilyName_Init, Qt::CaseInsensitive) == 0;
}

// ---- Construction ---------------------------------------------------------------------------

QString TNuo4MusicFont::ResourcePath(const QString& AResourceName) {
    if (AResourceName == QLatin1String("CoreTTF")) return QStringLiteral(":/fonts/Nuo4Core.ttf");
    return QStringLiteral(":/fonts/") + AResourceName;
}

TNuo4MusicFont::TNuo4MusicFont(const QString& ACoreResourceName) {
    static const bool bResources = (InitNuo4FontResources(), true);
    (void)bResources;
    const int Index = FPrivateFontCollection.AddResouceFile(ResourcePath(ACoreResourceName));
    TrecNuo4CachedFontInfoItem Core;
    Core.FamilyName_Init = QString::fromUtf16(CoreFont_FamilyName);
    Core.Font.Size = CoreFontSize;
    Core.Font.Unit = kuMillimeter;
    // Sizes are computed from the descriptors even when the font is missing.
    Core.FontSizePerDesignUnit = CoreFontSize / CoreFont_UnitsPerEm;
    Core.WinAscent = CoreFont_Ascent * Core.FontSizePerDesignUnit;
    Core.WinDescent = CoreFont_Descent * Core.FontSizePerDesignUnit;
    Core.LineSpacing = Core.WinAscent + Core.WinDescent;
    if (const auto* Item = FPrivateFontCollection.GetFontInfoItem(Index)) {
        FCoreRaw = QRawFont(Item->Data, CoreFont_UnitsPerEm, QFont::PreferNoHinting);
        // One raw pixel per design unit, whatever the font's grid.
        if (FCoreRaw.isValid() && FCoreRaw.unitsPerEm() > 0 &&
            FCoreRaw.unitsPerEm() != CoreFont_UnitsPerEm)
            FCoreRaw.setPixelSize(FCoreRaw.unitsPerEm());
        if (FCoreRaw.isValid()) {
            QFont F(Item->FamilyName);
            F.setPixelSize(qRound(FCoreRaw.pixelSize()));
            F.setHintingPreference(QFont::PreferNoHinting);
            const QRawFont Draw = QRawFont::fromFont(F);
            const QString Probe = QString(QChar(CoreFont_NoteDigitCode(1, dfFace0)));
            if (Draw.isValid() && Draw.familyName() == FCoreRaw.familyName() &&
                Draw.glyphIndexesForString(Probe) == FCoreRaw.glyphIndexesForString(Probe))
                CoreDrawRaw() = Draw;
        }
        Core.Font.FamilyName = Item->FamilyName;
        Core.Family.Name = Item->FamilyName;
        Core.FamilyName = Item->FamilyName;
        if (FCoreRaw.isValid() && FCoreRaw.unitsPerEm() > 0) {
            const double K = CoreFontSize / FCoreRaw.unitsPerEm();  // mm per raw pixel
            Core.FontSizePerDesignUnit = CoreFontSize / FCoreRaw.unitsPerEm();
            Core.WinAscent = FCoreRaw.ascent() * K;
            Core.WinDescent = FCoreRaw.descent() * K;
            Core.LineSpacing = (FCoreRaw.ascent() + FCoreRaw.descent() + FCoreRaw.leading()) * K;
        }
    }
    FontInfoArray[fuCore] = Core;
}

TNuo4MusicFont::~TNuo4MusicFont() {
    FontInfoArray_Clear();
    GlyphOutlines_Clear();
    CoreDrawRaw() = QRawFont();
    // The collection's fonts leave the font database with it (only while the application
    // that holds the database is alive).
    if (QCoreApplication::instance())
        for (int I = 0; I < FPrivateFontCollection.Count(); ++I)
            QFontDatabase::removeApplicationFont(FPrivateFontCollection.GetFontInfoItem(I)->FontId);
}

double TNuo4MusicFont::CoreSizePerDesignUnit() const {
    const double S = FontInfoArray[fuCore].FontSizePerDesignUnit;
    return S > 0 ? S : CoreFontSize / CoreFont_UnitsPerEm;
}

// ---- Usage fonts ----------------------------------------------------------------------------

TKoFont TNuo4MusicFont::GetFont(TNuo4FontUsage AUsage) const {
    if (AUsage < Nuo4FontUsageCount && FontInfoArray[AUsage].IsAssigned())
        return FontInfoArray[AUsage].Font;
    return FontInfoArray[fuDefault].Font;
}

TrecNuo4CachedFontInfoItem* TNuo4MusicFont::GetFontInfoPtr(TNuo4FontUsage AUsage) {
    return AUsage < Nuo4FontUsageCount ? &FontInfoArray[AUsage] : nullptr;
}

const TrecNuo4CachedFontInfoItem* TNuo4MusicFont::GetFontInfoPtr(TNuo4FontUsage AUsage) const {
    return AUsage < Nuo4FontUsageCount ? &FontInfoArray[AUsage] : nullptr;
}

void TNuo4MusicFont::SetItem(TNuo4FontUsage AUsage, const TrecNuo4CachedFontInfoItem& AItem) {
    if (AUsage >= Nuo4FontUsageCount) return;
    TrecNuo4CachedFontInfoItem& Old = FontInfoArray[AUsage];
    const bool bChanged = Old.Font.FamilyName != AItem.Font.FamilyName ||
                          Old.Font.Size != AItem.Font.Size || Old.Font.Style != AItem.Font.Style ||
                          Old.Font.Unit != AItem.Font.Unit;
    Old = AItem;
    if (bChanged) CachedTextPathArray_Clear(AUsage);
}

void TNuo4MusicFont::FontInfoArray_Set(TNuo4FontUsage AUsage, const TKoFont& AFont,
                                       const QString& AFamilyName_Init) {
    TrecNuo4CachedFontInfoItem Item;
    Item.FamilyName_Init = AFamilyName_Init;
    Item.Font = AFont;
    Item.Family.Name = AFont.FamilyName;
    Item.FamilyName = ObtainedFamilyName(AFamilyName_Init, AFont);
    const TKoFontMetrics M = TKoGDIPlusFont::GetFontMetrics(AFont);
    Item.WinAscent = M.WinAscent;
    Item.WinDescent = M.WinDescent;
    Item.LineSpacing = M.LineSpacing;
    Item.FontSizePerDesignUnit = M.FontSizePerDesignUnit;
    SetItem(AUsage, Item);
}

void TNuo4MusicFont::FontInfoArray_Set(TNuo4FontUsage AUsage, const TKoFontFamily& AFamily,
                                       double ASize, TGPFontStyle AStyle) {
    const int Index = FontInfoArray_IndexOf(AFamily, ASize, AStyle);
    if (Index >= 0) {
        TrecNuo4CachedFontInfoItem Item = FontInfoArray[Index];
        Item.FamilyName_Init = AFamily.Name;
        SetItem(AUsage, Item);
        return;
    }
    FontInfoArray_Set(AUsage, TKoGDIPlusFont::CreateFont(AFamily.Name, ASize, AStyle),
                      AFamily.Name);
}

void TNuo4MusicFont::FontInfoArray_Set(TNuo4FontUsage AUsage, const QString& AFamilyName,
                                       double ASize, TGPFontStyle AStyle) {
    const int Index = FontInfoArray_IndexOf(AFamilyName, ASize, AStyle);
    if (Index >= 0) {
        // The shared item was obtained under this very name, so it is asked for as such.
        TrecNuo4CachedFontInfoItem Item = FontInfoArray[Index];
        Item.FamilyName_Init = AFamilyName;
        SetItem(AUsage, Item);
        return;
    }
    FontInfoArray_Set(AUsage, TKoGDIPlusFont::CreateFont(AFamilyName, ASize, AStyle), AFamilyName);
}

void TNuo4MusicFont::FontInfoArray_Set(TNuo4FontUsage AUsage, const TrecNuo4FontInfo& AFontInfo) {
    FontInfoArray_Set(AUsage, ToQString(AFontInfo.FamilyName), AFontInfo.Size, AFontInfo.Style);
}

int TNuo4MusicFont::FontInfoArray_IndexOf(const TKoFontFamily& AFamily, double ASize,
                                          TGPFontStyle AStyle) const {
    if (AFamily.IsEmpty()) return -1;
    for (int U = 0; U < Nuo4FontUsageCount; ++U)
        if (FontInfoArray[U].Family == AFamily && SameStyleAndSize(FontInfoArray[U], ASize, AStyle))
            return U;
    return -1;
}

int TNuo4MusicFont::FontInfoArray_IndexOf(const QString& AFamilyName, double ASize,
                                          TGPFontStyle AStyle) const {
    if (AFamilyName.isEmpty()) return -1;
    for (int U = 0; U < Nuo4FontUsageCount; ++U)
        if (FontInfoArray[U].FamilyName == AFamilyName &&
            SameStyleAndSize(FontInfoArray[U], ASize, AStyle))
            return U;
    return -1;
}

void TNuo4MusicFont::FontInfoArray_Clear() {
    for (auto& Item : FontInfoArray) Item.Clear();
    CachedTextPathArray_ClearAll();
}

TrecNuo4FontInfos TNuo4MusicFont::GetFontInfos() const {
    TrecNuo4FontInfos R;
    for (int U = 0; U < Nuo4FontUsageCount; ++U) {
        const auto& Item = FontInfoArray[U];
        if (!Item.IsAssigned()) {
            R.Items[U].SetToInvalid();
            continue;
        }
        R.Items[U].Initialize(Item.FamilyName.toStdU16String(), float(Item.Font.Size),
                              TNuo4FontStyles(Item.Font.Style & 0x0F));
    }
    return R;
}

// ---- Text paths -----------------------------------------------------------------------------

QPainterPath TNuo4MusicFont::GetTextPath_AtPos_NoCached(const TKoGraphics* G, TNuo4FontUsage AUsage,
                                                        const QString& AText, TGPPointF APt,
                                                        TTextRectPos APtPos, TGPRectF& ABounds,
                                                        bool bOnlyCalc) const {
    ABounds = TGPRectF();
    if (!G) return QPainterPath();
    const TKoFont Font = GetFont(AUsage);
    ABounds = TKoGDIPlusText::MeasureStringAtPos(G, AText, Font, APt, APtPos);
    if (bOnlyCalc) return QPainterPath();
    return TKoGDIPlusPath::CreateTextPath_AtLT(Font, AText, ABounds.topLeft());
}

QPainterPath TNuo4MusicFont::GetCachedTextPath_AtPos(const TKoGraphics* G, TNuo4FontUsage AUsage,
                                                     const QString& AText, TGPPointF APt,
                                                     TTextRectPos APtPos, TGPRectF& ABounds,
                                                     bool bOnlyCalc) {
    ABounds = TGPRectF();
    if (!G) return QPainterPath();
    int Index = CachedTextPathArray_IndexOf(AUsage, AText, APt, APtPos);
    if (Index < 0) {
        TrecCachedTextPathItem Item;
        Item.Key.FontUsage = AUsage;
        Item.Key.Text = AText;
        Item.Key.Pt = APt;
        Item.Key.PtPos = APtPos;
        Item.Value.Path =
            GetTextPath_AtPos_NoCached(G, AUsage, AText, APt, APtPos, Item.Value.Bounds, false);
        Index = int(FTextCache.size());
        FTextCache.push_back(std::move(Item));
        FTextBuckets[TextHash(AUsage, qHash(AText), APtPos, Bucket(APt.x()), Bucket(APt.y()))]
            .push_back(Index);
    }
    const auto& Value = FTextCache[Index].Value;
    ABounds = Value.Bounds;
    return bOnlyCalc ? QPainterPath() : Value.Path;
}

int TNuo4MusicFont::CachedTextPathArray_IndexOf(TNuo4FontUsage AUsage, const QString& AText,
                                                TGPPointF APt, TTextRectPos APtPos) const {
    const size_t H = qHash(AText);
    const int64_t Bx = Bucket(APt.x()), By = Bucket(APt.y());
    int Best = -1;
    for (int64_t Dx = -1; Dx <= 1; ++Dx)
        for (int64_t Dy = -1; Dy <= 1; ++Dy) {
            const auto It = FTextBuckets.find(TextHash(AUsage, H, APtPos, Bx + Dx, By + Dy));
            if (It == FTextBuckets.end()) continue;
            for (const int I : It->second) {
                const auto& K = FTextCache[I].Key;
                if (K.FontUsage == AUsage && K.PtPos == APtPos && Near(K.Pt.x(), APt.x()) &&
                    Near(K.Pt.y(), APt.y()) && K.Text == AText && (Best < 0 || I < Best))
                    Best = I;
            }
        }
    return Best;
}

void TNuo4MusicFont::RebuildTextBuckets() {
    FTextBuckets.clear();
    for (int I = 0; I < int(FTextCache.size()); ++I) {
        const auto& K = FTextCache[I].Key;
        FTextBuckets[TextHash(K.FontUsage, qHash(K.Text), K.PtPos, Bucket(K.Pt.x()),
                              Bucket(K.Pt.y()))]
            .push_back(I);
    }
}

void TNuo4MusicFont::CachedTextPathArray_Clear(TNuo4FontUsage AUsage) {
    const auto Old = FTextCache.size();
    std::erase_if(FTextCache,
                  [AUsage](const TrecCachedTextPathItem& I) { return I.Key.FontUsage == AUsage; });
    if (FTextCache.size() != Old) RebuildTextBuckets();
}

void TNuo4MusicFont::CachedTextPathArray_ClearAll() {
    FTextCache.clear();
    FTextBuckets.clear();
}

// ---- Glyphs ---------------------------------------------------------------------------------

QPainterPath TNuo4MusicFont::CoreGlyphOutline(char16_t AUnicode) const {
    if (!FCoreRaw.isValid()) return QPainterPath();
    const QList<quint32> Glyphs = FCoreRaw.glyphIndexesForString(QString(QChar(AUnicode)));
    if (Glyphs.isEmpty() || Glyphs[0] == 0) return QPainterPath();
    return FCoreRaw.pathForGlyph(Glyphs[0]);
}

bool TNuo4MusicFont::CodePointExsitsForCoreFont(char16_t AUnicode) const {
    return FCoreRaw.isValid() && FCoreRaw.supportsCharacter(QChar(AUnicode)) &&
           !CoreGlyphOutline(AUnicode).isEmpty();
}

QPainterPath TNuo4MusicFont::CreatePath_CoreFont_Char_NoCached(
    const TKoGraphics* G, const TrecNuo4CoreFontSymbolInfoItem& AInfo, TGPSizeF ABlackBoxSize,
    TGPRectF& ABounds, double& AScaleX, double& AScaleY, bool bOnlyCalc) const {
    const double S = CoreSizePerDesignUnit();
    const TGPRectF& Box = AInfo.BlackBox;
    AScaleX = Box.width() > 0 ? ABlackBoxSize.width() / (S * Box.width()) : 1.0;
    AScaleY = Box.height() > 0 ? ABlackBoxSize.height() / (S * Box.height()) : 1.0;
    ABounds = TGPRectF((Box.x() - AInfo.RefPt.x()) * S * AScaleX,
                       -(Box.y() - AInfo.RefPt.y()) * S * AScaleY, ABlackBoxSize.width(),
                       ABlackBoxSize.height());
    if (bOnlyCalc) return QPainterPath();
    QPainterPath P = CoreGlyphOutline(AInfo.Unicode);
    if (P.isEmpty()) return P;
    // Raw outlines are design units with y down and the baseline at 0: move the reference
    // point to the origin, then scale to millimetres and to the box.
    const double Kx = S * AScaleX, Ky = S * AScaleY;
    const QTransform M(Kx, 0, 0, Ky, -AInfo.RefPt.x() * Kx, AInfo.RefPt.y() * Ky);
    if (CoreDrawRaw().isValid()) {
        const QList<quint32> Glyphs = FCoreRaw.glyphIndexesForString(QString(QChar(AInfo.Unicode)));
        if (!Glyphs.isEmpty())
            GlyphOutlines_NoteGlyph(CoreDrawRaw(), Glyphs[0], P, M, QString(QChar(AInfo.Unicode)));
    }
    P = M.map(P);
    P.setFillRule(Qt::WindingFill);
    return P;
}

int TNuo4MusicFont::CachedCoreCharPathArray_IndexOf(const TrecNuo4CoreFontSymbolInfoItem& AInfo,
                                                    TGPSizeF ABlackBoxSize) const {
    const int64_t Bw = Bucket(ABlackBoxSize.width()), Bh = Bucket(ABlackBoxSize.height());
    int Best = -1;
    for (int64_t Dw = -1; Dw <= 1; ++Dw)
        for (int64_t Dh = -1; Dh <= 1; ++Dh) {
            const auto It = FCoreCharBuckets.find(CoreCharHash(AInfo.Unicode, Bw + Dw, Bh + Dh));
            if (It == FCoreCharBuckets.end()) continue;
            for (const int I : It->second) {
                const auto& K = FCoreCharCache[I].Key;
                if (K.Unicode == AInfo.Unicode &&
                    Near(K.BlackBoxSize.width(), ABlackBoxSize.width()) &&
                    Near(K.BlackBoxSize.height(), ABlackBoxSize.height()) &&
                    K.InfoBox == AInfo.BlackBox && K.InfoRefPt == AInfo.RefPt &&
                    (Best < 0 || I < Best))
                    Best = I;
            }
        }
    return Best;
}

QPainterPath TNuo4MusicFont::CreatePath_CoreFont_Char(const TKoGraphics* G,
                                                      const TrecNuo4CoreFontSymbolInfoItem& AInfo,
                                                      TGPSizeF ABlackBoxSize, TGPRectF& ABounds,
                                                      bool bOnlyCalc) {
    int Index = CachedCoreCharPathArray_IndexOf(AInfo, ABlackBoxSize);
    if (Index < 0) {
        TrecCachedCoreCharPathItem Item;
        Item.Key.Unicode = AInfo.Unicode;
        Item.Key.BlackBoxSize = ABlackBoxSize;
        Item.Key.InfoBox = AInfo.BlackBox;
        Item.Key.InfoRefPt = AInfo.RefPt;
        double Sx = 1, Sy = 1;
        Item.Value.Path = CreatePath_CoreFont_Char_NoCached(G, AInfo, ABlackBoxSize,
                                                            Item.Value.Bounds, Sx, Sy, false);
        Index = int(FCoreCharCache.size());
        FCoreCharCache.push_back(std::move(Item));
        FCoreCharBuckets[CoreCharHash(AInfo.Unicode, Bucket(ABlackBoxSize.width()),
                                      Bucket(ABlackBoxSize.height()))]
            .push_back(Index);
    }
    const auto& Value = FCoreCharCache[Index].Value;
    ABounds = Value.Bounds;
    return bOnlyCalc ? QPainterPath() : Value.Path;
}

QPainterPath TNuo4MusicFont::CreatePath_CoreFont_Char(const TKoGraphics* G,
                                                      const TrecNuo4CoreFontSymbolInfoItem& AInfo,
                                                      TGPSizeF ADigitSize, double AScale,
                                                      TGPRectF& ABounds, bool bOnlyCalc) {
    const double F = ADigitSize.width() / 400.0 * AScale;
    return CreatePath_CoreFont_Char(
        G, AInfo, TGPSizeF(AInfo.BlackBox.width() * F, AInfo.BlackBox.height() * F), ABounds,
        bOnlyCalc);
}

void TNuo4MusicFont::CachedCoreCharPathArray_Clear() {
    FCoreCharCache.clear();
    FCoreCharBuckets.clear();
}

QPainterPath TNuo4MusicFont::CreatePath_NoteDigit(const TKoGraphics* G, int ADigit,
                                                  TNuo4DigitFace AFace, TGPSizeF ADigitSize) {
    TGPRectF Bounds;
    return CreatePath_CoreFont_Char(
        G, CoreFontSymbolInfo(cfsDigit0).WithUnicode(CoreFont_NoteDigitCode(ADigit, AFace)),
        ADigitSize, Bounds, false);
}

QPainterPath TNuo4MusicFont::CreatePath_NoteDigit_Drum(const TKoGraphics* G,
                                                       const TrecNuo4DrumPitch& ADrum,
                                                       TGPSizeF ADigitSize) {
    const double W = ADigitSize.width(), H = ADigitSize.height();
    const auto& Options = Nuo4DocOptions().Param_DrumPitchChar;
    if (ADrum.DrumChar == 0) return CreatePath_NoteDigit(G, DigitDrum, dfFace0, ADigitSize);
    if (ADrum.bUseCoreFont) {
        QPainterPath P = CoreGlyphOutline(ADrum.DrumChar);
        if (P.isEmpty()) return P;
        // The character at the fuCore size, centred on its advance, baseline at the origin.
        const QList<quint32> Glyphs =
            FCoreRaw.glyphIndexesForString(QString(QChar(ADrum.DrumChar)));
        const QList<QPointF> Advances = FCoreRaw.advancesForGlyphIndexes(Glyphs);
        const double Advance = Advances.isEmpty() ? 0 : Advances[0].x();
        const double S = CoreSizePerDesignUnit();
        P.translate(-Advance / 2, 0);
        TKoGDIPlusPath::PathScale(P, S, S);
        TKoGDIPlusPath::PathScale(P, Options.CoreFont_Scale, Options.CoreFont_Scale);
        TKoGDIPlusPath::PathTranslate(P, Options.CoreFont_OffsetCoef.X * W,
                                      Options.CoreFont_OffsetCoef.Y * H);
        P.setFillRule(Qt::WindingFill);
        return P;
    }
    TGPRectF Bounds;
    const TGPPointF Pt(Options.ExternalFont_OffsetCoef.X * W,
                       Options.ExternalFont_OffsetCoef.Y * H);
    QPainterPath P = GetCachedTextPath_AtPos(G, fuDrumPitch, QString(QChar(ADrum.DrumChar)), Pt,
                                             rpMiddleBaseline, Bounds, false);
    const TGPSizeF D0 = DocDigitSize();
    if (D0.width() > 0 && D0.height() > 0)
        TKoGDIPlusPath::PathScale(P, W / D0.width(), H / D0.height());
    return P;
}

QPainterPath TNuo4MusicFont::CreatePath_Accidental(const TKoGraphics* G,
                                                   TNuo4Accidental AAccidental, double AWidth,
                                                   double AHeight) {
    char16_t Code = 0;
    switch (AAccidental) {
        case ssSharp:
            Code = CoreFont_FirstAccidental + 1;
            break;
        case ssFlat:
            Code = CoreFont_FirstAccidental + 2;
            break;
        case ssNatural:
            Code = CoreFont_FirstAccidental;
            break;
        default:
            return QPainterPath();
    }
    TGPRectF Bounds;
    return CreatePath_CoreFont_Char(G, CoreFontSymbolInfo(cfsNatural).WithUnicode(Code),
                                    TGPSizeF(AWidth, AHeight), Bounds, false);
}

namespace {
QPainterPath ScriptStroke(TNuo4MusicFont& AFont, const TKoGraphics* G, TNuo4CoreFontSymbol ASymbol,
                          const TGPRectF& ABounds) {
    TGPRectF Box;
    QPainterPath P =
        AFont.CreatePath_CoreFont_Char(G, CoreFontSymbolInfo(ASymbol), ABounds.size(), Box, false);
    TKoGDIPlusPath::PathTranslate(P, ABounds.x() - Box.x(), ABounds.y() - Box.y());
    return P;
}
}  // namespace

QPainterPath TNuo4MusicFont::CreateScriptLine_Vert(const TKoGraphics* G, const TGPRectF& ABounds) {
    return ScriptStroke(*this, G, cfsScriptVert, ABounds);
}
QPainterPath TNuo4MusicFont::CreateScriptLine_Horz(const TKoGraphics* G, const TGPRectF& ABounds) {
    return ScriptStroke(*this, G, cfsScriptHorz, ABounds);
}
QPainterPath TNuo4MusicFont::CreateScriptDot(const TKoGraphics* G, const TGPRectF& ABounds) {
    return ScriptStroke(*this, G, cfsScriptDot, ABounds);
}

// ---- Global instance and facade -------------------------------------------------------------

namespace {

std::unique_ptr<TNuo4MusicFont> GMusicFont;

// The format layer's view of the font table.
class TMusicFontTable final : public INuo4FontTable {
  public:
    void ResetTextFonts() override { MusicFont_ResetTextFonts(); }
    std::u16string SetFont(TNuo4FontUsage AUsage, const TrecNuo4FontInfo& AInfo) override {
        MusicFont_SetFont(AUsage, AInfo);
        const auto* Item = Nuo4MusicFont().GetFontInfoPtr(AUsage);
        return Item ? Item->FamilyName.toStdU16String() : std::u16string();
    }
    TrecNuo4FontInfo GetFontInfo(TNuo4FontUsage AUsage) const override {
        const TrecNuo4FontInfos Infos = Nuo4MusicFont().GetFontInfos();
        return AUsage < Nuo4FontUsageCount ? Infos[AUsage] : TrecNuo4FontInfo();
    }
};
TMusicFontTable GFontTable;

void OnMainDigitChanged(const TrecNuo4DocOptions& AOptions) {
    // Only the process-wide options drive the style table.
    if (&AOptions == &Nuo4DocOptions()) RebuildAll(AOptions);
}

}  // namespace

void Nuo4Render_Init() {
    if (GMusicFont) return;
    GMusicFont = std::make_unique<TNuo4MusicFont>();
    MusicFont_ResetTextFonts();
    RebuildAll();
    Nuo4SetFontTable(&GFontTable);
    Nuo4DocOptions_SetMainDigitChangedHook(&OnMainDigitChanged);
}

void Nuo4Render_Done() {
    if (Nuo4GetFontTable() == &GFontTable) Nuo4SetFontTable(nullptr);
    if (Nuo4DocOptions_GetMainDigitChangedHook() == &OnMainDigitChanged)
        Nuo4DocOptions_SetMainDigitChangedHook(nullptr);
    // Kept text layouts hold Qt font engines, which must go while the application still exists.
    TKoGDIPlusText::ClearLayoutCache();
    GlyphOutlines_Clear();
    GMusicFont.reset();
}

TNuo4MusicFont& Nuo4MusicFont() {
    if (!GMusicFont) Nuo4Render_Init();
    return *GMusicFont;
}

TKoGraphics* GetDestGraphics() {
    return static_cast<TKoGraphics*>(Nuo4DocOptions().DestGraphics);
}

void SetDestGraphics(TKoGraphics* G) {
    Nuo4DocOptions().DestGraphics = G;
}

const TrecNuo4CachedFontInfoItem& MusicFont_GetFontInfoItem(TNuo4FontUsage AUsage) {
    const TNuo4MusicFont& F = Nuo4MusicFont();
    const auto* Item = F.GetFontInfoPtr(AUsage);
    if (Item && Item->IsAssigned()) return *Item;
    return *F.GetFontInfoPtr(fuDefault);
}

TKoFont MusicFont_GetFont(TNuo4FontUsage AUsage) {
    return MusicFont_GetFontInfoItem(AUsage).Font;
}

TKoFontFamily MusicFont_GetFontFamily(TNuo4FontUsage AUsage) {
    return MusicFont_GetFontInfoItem(AUsage).Family;
}

double MusicFont_GetFontSize(TNuo4FontUsage AUsage) {
    return MusicFont_GetFontInfoItem(AUsage).Font.Size;
}

void MusicFont_SetFont(TNuo4FontUsage AUsage, const QString& AFamilyName, double ASize,
                       TGPFontStyle AStyle) {
    // Setting the font drops the usage's cached text paths when the font changes; entries
    // of an unchanged font stay valid, so a rebuild that sets the same fonts keeps them.
    Nuo4MusicFont().FontInfoArray_Set(AUsage, AFamilyName, ASize, AStyle);
}

void MusicFont_SetFont(TNuo4FontUsage AUsage, const TrecNuo4FontInfo& AFontInfo) {
    MusicFont_SetFont(AUsage, ToQString(AFontInfo.FamilyName), AFontInfo.Size, AFontInfo.Style);
}

void MusicFont_SetFontSize(TNuo4FontUsage AUsage, double ASize) {
    const auto* Item = Nuo4MusicFont().GetFontInfoPtr(AUsage);
    if (!Item || !Item->IsAssigned()) return;
    const QString Name = Item->FamilyName_Init.isEmpty() ? Item->FamilyName : Item->FamilyName_Init;
    MusicFont_SetFont(AUsage, Name, ASize, Item->Font.Style);
}

void MusicFont_ResetTextFonts() {
    const TrecNuo4FontInfos Defaults = [] {
        TrecNuo4FontInfos D;
        D.SetToDefault_Init();
        return D;
    }();
    for (int U = fuDefault; U < Nuo4FontUsageCount; ++U)
        MusicFont_SetFont(static_cast<TNuo4FontUsage>(U), Defaults.Items[U]);
}

QPainterPath MusicFont_GetTextPath_AtPos(TNuo4FontUsage AUsage, const QString& AText, TGPPointF APt,
                                         TTextRectPos APtPos, TGPRectF& ABounds, bool bOnlyCalc) {
    return Nuo4MusicFont().GetCachedTextPath_AtPos(GetDestGraphics(), AUsage, AText, APt, APtPos,
                                                   ABounds, bOnlyCalc);
}

QPainterPath MusicFont_GetTextPath_AtPos_NoCached(TNuo4FontUsage AUsage, const QString& AText,
                                                  TGPPointF APt, TTextRectPos APtPos,
                                                  TGPRectF& ABounds, bool bOnlyCalc) {
    return Nuo4MusicFont().GetTextPath_AtPos_NoCached(GetDestGraphics(), AUsage, AText, APt, APtPos,
                                                      ABounds, bOnlyCalc);
}

void MusicFont_ClearAllCaches() {
    Nuo4MusicFont().CachedTextPathArray_ClearAll();
    TKoGDIPlusText::ClearLayoutCache();
    Nuo4MusicFont().CachedCoreCharPathArray_Clear();
}

TGPSizeF DocDigitSize() {
    const auto D = Nuo4DocOptions().GetNormalStyleDigitSize();
    return TGPSizeF(D.Width, D.Height);
}

double DocDigitCoefToMM_W(double ACoef) {
    return ACoef * DocDigitSize().width();
}
double DocDigitCoefToMM_H(double ACoef) {
    return ACoef * DocDigitSize().height();
}
double DocDigitMMToCoef_W(double AMM) {
    const double W = DocDigitSize().width();
    return W > 0 ? AMM / W : 0;
}
double DocDigitMMToCoef_H(double AMM) {
    const double H = DocDigitSize().height();
    return H > 0 ? AMM / H : 0;
}

}  // namespace nuo4
