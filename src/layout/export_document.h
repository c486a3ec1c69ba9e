#pragma once
// Pages of a laid-out document as PDF and SVG files: a page per page at the score's paper size,
// drawn as the printer draws them (or with the score view's aids). Texts and music-font glyphs
// reach both as text: the PDF embeds subsets of the fonts, so its text can be searched and
// copied; the SVG holds texts of installed fonts as <text>.

#include <QIODevice>
#include <QPainter>
#include <QString>
#include <functional>

#include "format/ko_range.h"

namespace nuo4 {

class TNuo4SimpleBuffer;

// Draws a page through ADraw; a caller may wrap the drawing (say, to record it).
using TNuo4PageDrawHook = std::function<void(int32_t APage, const std::function<void()>& ADraw)>;

// The page on a painter at the paper's top-left: like the printer, or with the view's aids
// (line and bar numbers, page numbers, marks and indicators). AOrigin (mm on the page) lands on
// the painter's top-left, so a piece of the page can be drawn on a smaller device.
void Nuo4DrawPageForExport(TNuo4SimpleBuffer& B, QPainter& APainter, int32_t APage, bool bAux,
                           QPointF AOrigin = QPointF());

// The document information of an exported file: the title and the words-by and music-by text
// of the title section.
QString Nuo4ExportTitle(const TNuo4SimpleBuffer& B);
QString Nuo4ExportAuthor(const TNuo4SimpleBuffer& B);

// The pages of APages (page indexes) as one PDF written to ADevice. False when the range is not
// within the pages or writing fails.
bool Nuo4ExportPagesToPdf(TNuo4SimpleBuffer& B, QIODevice& ADevice, TKoRange APages, bool bAux,
                          const TNuo4PageDrawHook& AHook = nullptr);
// One page as an SVG document written to ADevice, on a white page of the paper's size.
bool Nuo4ExportPageToSvg(TNuo4SimpleBuffer& B, QIODevice& ADevice, int32_t APage, bool bAux,
                         const TNuo4PageDrawHook& AHook = nullptr);

}  // namespace nuo4
