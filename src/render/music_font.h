#pragma once
// The music font object: the embedded notation font turned into vector paths of any size, one
// text font per usage, and the caches of the paths it makes. One global instance serves the
// whole program (user-interface thread only).
//
// Geometry is in millimetres with the y axis down. Glyph descriptors are in design units with
// the y axis up (1000 units per em, ascent 500, baseline at 0).

#include <QPainterPath>
#include <QRawFont>
#include <QString>
#include <array>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "format/font_table.h"
#include "format/music_common.h"
#include "render/core_font_symbols.h"
#include "render/draw_utils.h"

namespace nuo4 {

// ---- Glyph descriptors ----------------------------------------------------------------------

struct TrecNuo4CoreFontSymbolInfoItem {
    const char16_t* ShortName;
    const char16_t* DetailName;
    char16_t Unicode;   // the character of the embedded font
    TGPRectF BlackBox;  // design units, y up: X left edge, Y top edge, Width, Height
    TGPPointF RefPt;    // design units, y up: the point placed on the local origin

    // The same box and reference point at another code point of the descriptor's family.
    TrecNuo4CoreFontSymbolInfoItem WithUnicode(char16_t AUnicode) const {
        TrecNuo4CoreFontSymbolInfoItem R = *this;
        R.Unicode = AUnicode;
        return R;
    }
};

// The 67 descriptors, indexed by TNuo4CoreFontSymbol (core_font_symbols.cpp, generated).
extern const TrecNuo4CoreFontSymbolInfoItem Nuo4CoreFontSymbols[Nuo4CoreFontSymbolCount];
const TrecNuo4CoreFontSymbolInfoItem& CoreFontSymbolInfo(TNuo4CoreFontSymbol ASymbol);
// Index of the descriptor with that short name (exact), -1 when none.
int CoreFontSymbolInfo_IndexOf(std::u16string_view AShortName);
// Code point of a note digit (0 ... 7, 8 = the drum cross) in a face.
char16_t CoreFont_NoteDigitCode(int ADigit, TNuo4DigitFace AFace);

// ---- Usage fonts ----------------------------------------------------------------------------

// The family a font is drawn with; two fonts share a family when the names are identical.
struct TKoFontFamily {
    QString Name;
    bool IsEmpty() const { return Name.isEmpty(); }
    bool operator==(const TKoFontFamily&) const = default;
};

struct TrecNuo4CachedFontInfoItem {
    QString FamilyName_Init;  // the family asked for
    TKoFont Font;
    TKoFontFamily Family;  // the installed family the font is drawn with
    // The family obtained, named as asked: the requested name when that family or the
    // installed equivalent of a platform default is present, the fallback's name otherwise.
    QString FamilyName;
    double WinAscent = 0, WinDescent = 0, LineSpacing = 0;  // mm
    double FontSizePerDesignUnit = 0;                       // mm per design unit

    // The requested font is installed: the obtained name equals it ignoring case.
    bool Check() const;
    bool IsAssigned() const { return Font.IsValid(); }
    void Clear() { *this = TrecNuo4CachedFontInfoItem(); }
};

// ---- Caches ---------------------------------------------------------------------------------

struct TrecCachedTextPathItem {
    struct {
        TNuo4FontUsage FontUsage;
        QString Text;
        TGPPointF Pt;
        TTextRectPos PtPos;
    } Key;
    struct {
        TGPRectF Bounds;
        QPainterPath Path;
    } Value;
};

struct TrecCachedCoreCharPathItem {
    struct {
        char16_t Unicode;
        TGPSizeF BlackBoxSize;  // mm
        // The descriptor's box and reference point: two descriptors may share a code point.
        TGPRectF InfoBox;
        TGPPointF InfoRefPt;
    } Key;
    struct {
        TGPRectF Bounds;
        QPainterPath Path;
    } Value;
};

// Lengths and points within this many millimetres are the same key.
constexpr double Nuo4CacheTolerance = 0.01;

// ---- The music font -------------------------------------------------------------------------

class TNuo4MusicFont {
  public:
    // Loads the embedded font from the named resource into the private font collection and
    // makes it the fuCore font (6 mm, regular). Without the resource fuCore has no family:
    // glyph paths come out empty while their bounds are still computed.
    explicit TNuo4MusicFont(const QString& ACoreResourceName = QStringLiteral("CoreTTF"));
    ~TNuo4MusicFont();
    TNuo4MusicFont(const TNuo4MusicFont&) = delete;
    TNuo4MusicFont& operator=(const TNuo4MusicFont&) = delete;

    // The Qt resource path of a program resource name ("CoreTTF" -> ":/fonts/Nuo4Core.ttf").
    static QString ResourcePath(const QString& AResourceName);
    bool CoreFontLoaded() const { return FCoreRaw.isValid(); }
    // The embedded font at one pixel per design unit.
    const QRawFont& CoreRawFont() const { return FCoreRaw; }
    const TKoGDIPlusPrivateFontCollection& PrivateFontCollection() const {
        return FPrivateFontCollection;
    }

    // The usage's font, or the fuDefault font when the usage has none.
    TKoFont GetFont(TNuo4FontUsage AUsage) const;
    TKoFont GetCoreFont() const { return GetFont(fuCore); }
    TrecNuo4CachedFontInfoItem* GetFontInfoPtr(TNuo4FontUsage AUsage);
    const TrecNuo4CachedFontInfoItem* GetFontInfoPtr(TNuo4FontUsage AUsage) const;

    // Stores the font, its family, the obtained family name and the metrics. A change of the
    // usage's family, size or style drops that usage's cached text paths.
    void FontInfoArray_Set(TNuo4FontUsage AUsage, const TKoFont& AFont,
                           const QString& AFamilyName_Init);
    // These share the item of another usage that holds the same family (by identity, or by
    // name compared exactly), style and size within 0.01; otherwise a millimetre font is
    // created.
    void FontInfoArray_Set(TNuo4FontUsage AUsage, const TKoFontFamily& AFamily, double ASize,
                           TGPFontStyle AStyle);
    void FontInfoArray_Set(TNuo4FontUsage AUsage, const QString& AFamilyName, double ASize,
                           TGPFontStyle AStyle);
    void FontInfoArray_Set(TNuo4FontUsage AUsage, const TrecNuo4FontInfo& AFontInfo);
    // The first usage holding that family, style and size within 0.01; -1 when none.
    int FontInfoArray_IndexOf(const TKoFontFamily& AFamily, double ASize,
                              TGPFontStyle AStyle) const;
    int FontInfoArray_IndexOf(const QString& AFamilyName, double ASize, TGPFontStyle AStyle) const;
    void FontInfoArray_Clear();
    // Family name, size and style of every usage; invalid records for usages without a font.
    TrecNuo4FontInfos GetFontInfos() const;

    // ABounds = the text measured at APt with its APtPos point there (usage font); unless
    // only calculating, the path of the text with its left-top at the left-top of ABounds.
    // Nothing without a surface.
    QPainterPath GetTextPath_AtPos_NoCached(const TKoGraphics* G, TNuo4FontUsage AUsage,
                                            const QString& AText, TGPPointF APt,
                                            TTextRectPos APtPos, TGPRectF& ABounds,
                                            bool bOnlyCalc) const;
    QPainterPath GetCachedTextPath_AtPos(const TKoGraphics* G, TNuo4FontUsage AUsage,
                                         const QString& AText, TGPPointF APt, TTextRectPos APtPos,
                                         TGPRectF& ABounds, bool bOnlyCalc);

    // The glyph of a descriptor scaled so that its box is ABlackBoxSize (mm), placed with the
    // reference point on the origin; ABounds is the scaled box. Outlines come from the font
    // bytes, so the surface is not needed for them.
    QPainterPath CreatePath_CoreFont_Char_NoCached(const TKoGraphics* G,
                                                   const TrecNuo4CoreFontSymbolInfoItem& AInfo,
                                                   TGPSizeF ABlackBoxSize, TGPRectF& ABounds,
                                                   double& AScaleX, double& AScaleY,
                                                   bool bOnlyCalc) const;
    // Through the glyph cache (code point and box size within 0.01 mm).
    QPainterPath CreatePath_CoreFont_Char(const TKoGraphics* G,
                                          const TrecNuo4CoreFontSymbolInfoItem& AInfo,
                                          TGPSizeF ABlackBoxSize, TGPRectF& ABounds,
                                          bool bOnlyCalc);
    // Sized by the digit width: one design unit = ADigitSize.Width / 400 * AScale mm.
    QPainterPath CreatePath_CoreFont_Char(const TKoGraphics* G,
                                          const TrecNuo4CoreFontSymbolInfoItem& AInfo,
                                          TGPSizeF ADigitSize, double AScale, TGPRectF& ABounds,
                                          bool bOnlyCalc);

    // The note digit (0 ... 7, 8 the drum cross) of a face filling the digit cell: x from
    // -W/2 to W/2, y from -H to 0.
    QPainterPath CreatePath_NoteDigit(const TKoGraphics* G, int ADigit, TNuo4DigitFace AFace,
                                      TGPSizeF ADigitSize);
    // No character: the drum cross of face 0. A music-font character: centred on the
    // baseline at the origin, scaled by the document's core-font scale and moved by its
    // offset. Any other: the fuDrumPitch text at the document's offset, scaled by the digit
    // size over the document digit size (this one needs a surface).
    QPainterPath CreatePath_NoteDigit_Drum(const TKoGraphics* G, const TrecNuo4DrumPitch& ADrum,
                                           TGPSizeF ADigitSize);
    // Sharp, flat or natural in a box of AWidth x AHeight; nothing for ssNone.
    QPainterPath CreatePath_Accidental(const TKoGraphics* G, TNuo4Accidental AAccidental,
                                       double AWidth, double AHeight);
    // The script strokes filling ABounds (their box's left-top on ABounds' left-top).
    QPainterPath CreateScriptLine_Vert(const TKoGraphics* G, const TGPRectF& ABounds);
    QPainterPath CreateScriptLine_Horz(const TKoGraphics* G, const TGPRectF& ABounds);
    QPainterPath CreateScriptDot(const TKoGraphics* G, const TGPRectF& ABounds);

    bool CodePointExsitsForCoreFont(char16_t AUnicode) const;

    // ---- Cache maintenance ----
    void CachedTextPathArray_Clear(TNuo4FontUsage AUsage);
    void CachedTextPathArray_ClearAll();
    void CachedCoreCharPathArray_Clear();
    int CachedTextPathArray_GetItemCount() const { return int(FTextCache.size()); }
    int CachedCoreCharPathArray_GetItemCount() const { return int(FCoreCharCache.size()); }
    // Index of the first entry matching the key, -1 when none.
    int CachedTextPathArray_IndexOf(TNuo4FontUsage AUsage, const QString& AText, TGPPointF APt,
                                    TTextRectPos APtPos) const;
    int CachedCoreCharPathArray_IndexOf(const TrecNuo4CoreFontSymbolInfoItem& AInfo,
                                        TGPSizeF ABlackBoxSize) const;
    const TrecCachedTextPathItem& CachedTextPathItem(int AIndex) const {
        return FTextCache[AIndex];
    }
    const TrecCachedCoreCharPathItem& CachedCoreCharPathItem(int AIndex) const {
        return FCoreCharCache[AIndex];
    }

  private:
    TKoGDIPlusPrivateFontCollection FPrivateFontCollection;
    std::array<TrecNuo4CachedFontInfoItem, Nuo4FontUsageCount> FontInfoArray;
    std::vector<TrecCachedTextPathItem> FTextCache;
    std::vector<TrecCachedCoreCharPathItem> FCoreCharCache;
    // Buckets of entry indexes by the key rounded to twice the tolerance; a lookup visits
    // the neighbouring buckets as well.
    std::unordered_map<uint64_t, std::vector<int>> FTextBuckets, FCoreCharBuckets;
    QRawFont FCoreRaw;

    void SetItem(TNuo4FontUsage AUsage, const TrecNuo4CachedFontInfoItem& AItem);
    void RebuildTextBuckets();
    // The outline of a character of the embedded font in design units, y down.
    QPainterPath CoreGlyphOutline(char16_t AUnicode) const;
    double CoreSizePerDesignUnit() const;
};

// ---- The global instance and the facade glyph code uses -------------------------------------

// Registers the font resources, creates the music font, resets the text fonts, builds the
// note style table and connects the format layer's font table and digit hook. Needs a
// QGuiApplication; later calls do nothing.
void Nuo4Render_Init();
// Frees the music font (the format layer's font table is disconnected).
void Nuo4Render_Done();
// The music font; created by Nuo4Render_Init on first use.
TNuo4MusicFont& Nuo4MusicFont();

// The surface being drawn or measured on (held in the document options' DestGraphics).
TKoGraphics* GetDestGraphics();
void SetDestGraphics(TKoGraphics* G);

// Font of a usage, falling back to fuDefault when the usage has none.
TKoFont MusicFont_GetFont(TNuo4FontUsage AUsage);
TKoFontFamily MusicFont_GetFontFamily(TNuo4FontUsage AUsage);
const TrecNuo4CachedFontInfoItem& MusicFont_GetFontInfoItem(TNuo4FontUsage AUsage);
double MusicFont_GetFontSize(TNuo4FontUsage AUsage);
void MusicFont_SetFont(TNuo4FontUsage AUsage, const QString& AFamilyName, double ASize,
                       TGPFontStyle AStyle);
void MusicFont_SetFont(TNuo4FontUsage AUsage, const TrecNuo4FontInfo& AFontInfo);
// Keeps family and style.
void MusicFont_SetFontSize(TNuo4FontUsage AUsage, double ASize);
// Usages fuDefault ... fuMemo4 back to the default table.
void MusicFont_ResetTextFonts();
// Text paths of a usage on the current surface.
QPainterPath MusicFont_GetTextPath_AtPos(TNuo4FontUsage AUsage, const QString& AText, TGPPointF APt,
                                         TTextRectPos APtPos, TGPRectF& ABounds,
                                         bool bOnlyCalc = false);
QPainterPath MusicFont_GetTextPath_AtPos_NoCached(TNuo4FontUsage AUsage, const QString& AText,
                                                  TGPPointF APt, TTextRectPos APtPos,
                                                  TGPRectF& ABounds, bool bOnlyCalc = false);

// Empties both path caches (a file was loaded).
void MusicFont_ClearAllCaches();

// The document digit size W0 x H0 (main digit height x ratio by height) and conversions
// between millimetres and coefficients of it.
TGPSizeF DocDigitSize();
double DocDigitCoefToMM_W(double ACoef);
double DocDigitCoefToMM_H(double ACoef);
double DocDigitMMToCoef_W(double AMM);
double DocDigitMMToCoef_H(double AMM);

}  // namespace nuo4
