#pragma once
// The layout of a title block: seven lines, one per title item, each holding text items that
// are placed inside a layout rectangle (the paper's layout rectangle for the document's own
// title, the symbol's box for a title block placed on a page). Lengths are millimetres, y down.
//
// Texts are measured on the current surface; without one nothing is measured.

#include <QPainterPath>
#include <QString>
#include <array>
#include <vector>

#include "format/note_style_index.h"
#include "format/section_title.h"
#include "format/title_block_text.h"
#include "render/draw_utils.h"

namespace nuo4 {

enum TNuo4TitleBlockTextLineAlign : uint8_t {
    tbtlaTop,
    tbtlaMiddle,
    tbtlaBaseline,
    tbtlaDescent,
    tbtlaBottom,
};
const char* EnumName(TNuo4TitleBlockTextLineAlign AValue);

struct TrecNuo4TitleBlockTextLine {
    TNuo4TitleBlockTextLineAlign LineAlign = tbtlaTop;
    float LineAlignY = 0;  // below the top of the layout rectangle
    std::vector<TrecNuo4TitleBlockTextItem> Texts;
};

// What a title block layout gives: per line the path of each of its text items, per line the
// union of its items' rectangles (empty when the line shows nothing), and the bounds.
struct TrecNuo4TitleBlockPathes {
    std::vector<std::vector<QPainterPath>> ItemPathes;
    std::vector<TGPRectF> ItemBounds;
    TGPRectF Bounds;
};

struct TrecNuo4TitleBlock {
    TGPRectF LayoutRect;  // only left, top and width are used
    std::array<TrecNuo4TitleBlockTextLine, Nuo4TitleTextItemCount> Lines;
    // Inline notes and key signatures of standard texts are drawn in this style.
    TrecNuo4NoteStyleIndex NoteStyleIndex;

    // Line i shows title item i at its line position: the words-by item through its grammar,
    // every other item as one text in its usage font and alignment.
    void Initialize_7Items_7Lines(const TGPRectF& ALayoutRect,
                                  const TrecNuo4SectionTitleBuffer& ABuffer);
    // Bounds are (left, top, width, bottom of the united items - top): always the layout width
    // wide, 0 high when nothing was measured. With bOnlyCalc no paths are built.
    TrecNuo4TitleBlockPathes GetPathes(bool bOnlyCalc) const;
};

// The whole layout from a title buffer, which is trimmed first; an empty buffer gives no
// paths and empty bounds.
TrecNuo4TitleBlockPathes Nuo4TitleBlock_GetPathes(const TGPRectF& ALayoutRect,
                                                  const TrecNuo4SectionTitleBuffer& ABuffer,
                                                  const TrecNuo4NoteStyleIndex& AStyle,
                                                  bool bOnlyCalc);

// A line of characters spread over ATargetWidth from its left-top APtLT: the gaps between
// characters all grow by the same amount; a line that is already as wide (or wider, or of one
// character) is centred in the target width. ARect = (APtLT, ATargetWidth, text height).
QPainterPath CreatePath_TitleBlockJustifiedLine(const QString& AText, TNuo4FontUsage AUsage,
                                                TGPPointF APtLT, double ATargetWidth,
                                                TGPRectF& ARect, bool bOnlyCalc);

// The letter-spacing target of a title written in braces (the text inside, trimmed): 0.33 of
// the layout width, or 0.2, 0.25 or 0.3 of it for two, three or four wide characters (every
// character a space or above U+2FFF; the spaces are then removed from AText).
double GetTitleLetterSpacingWidth(QString& AText, double ALayoutWidth);

}  // namespace nuo4
