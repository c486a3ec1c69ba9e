#pragma once
// Glyph outlines that devices keeping text (PDF, SVG) receive as text. The makers of text and
// music-font outlines note the glyphs they outline; a path filled on such a device is read
// contour by contour, and every run of contours that is a noted glyph moved by some offset is
// drawn as that glyph of its font, the rest as outlines. Symbols keep their outline paths for
// bounds, hit-testing and draw lists; screens and images fill the outlines as before.

#include <QColor>
#include <QGlyphRun>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QString>
#include <QTransform>
#include <cstdint>

namespace nuo4 {

enum TKoTextDevice : uint8_t { tdNone, tdPdf, tdSvg, tdRaster };
// PDF writers and printers keep glyph runs; SVG keeps texts of installed fonts. Images and
// screens draw glyph runs from their glyph caches, much faster than filling the outlines and
// with the same look (large glyphs are filled as outlines by the raster engine itself).
TKoTextDevice TextDeviceOf(const QPainter* APainter);

// Every glyph as its outline on every device (files for a print shop that takes no fonts, and
// comparisons with such drawing); off by default.
void GlyphOutlines_SetOutlinesOnly(bool bOutlinesOnly);

// Notes the glyphs of laid-out runs of AText. AToPath maps the runs' coordinates to those of the
// outline made from them (up to a move). Each glyph keeps its character when the text has one
// glyph per character.
void GlyphOutlines_NoteRuns(const QList<QGlyphRun>& ARuns, const QString& AText,
                            const QTransform& AToPath);
// Notes one glyph whose outline AOutline (in the draw font's coordinates) was placed by AToPath.
void GlyphOutlines_NoteGlyph(const QRawFont& ADrawFont, quint32 AGlyph,
                             const QPainterPath& AOutline, const QTransform& AToPath,
                             const QString& AChars);
// Families loaded by the program itself: an SVG viewer does not have them.
void GlyphOutlines_NoteProgramFamily(const QString& AFamily);
// Forgets every noted glyph (the fonts changed, or the program ends: fonts must go first).
void GlyphOutlines_Clear();

// Fills APath on a text device: the noted glyphs in it as text, the rest as outlines.
void GlyphOutlines_FillPath(QPainter& APainter, TKoTextDevice ADevice, const QPainterPath& APath,
                            const QColor& AColor);

// How a path splits (for tests): the glyphs found and the elements left as outlines.
struct TrecGlyphOutlinesSplit {
    QList<quint32> Glyphs;
    QString Chars;
    int RestElementCount = 0;
};
TrecGlyphOutlinesSplit GlyphOutlines_Split(const QPainterPath& APath);

}  // namespace nuo4
