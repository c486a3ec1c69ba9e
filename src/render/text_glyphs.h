#pragma once
// Layout of standard texts: the elements of a text (white space, gaps, plain and multi-line
// texts, keys and meters, tempo marks, boxed bar numbers, inline notes, lines and shapes) set
// left to right from a point that is their left-middle.

#include "format/abc_common.h"
#include "format/note_style_index.h"
#include "format/text_element.h"
#include "render/draw_utils.h"
#include "render/symbol_element.h"

namespace nuo4 {

// One element built at APt (x, and the middle line y); white space and gaps have no paths and
// their bounds are set by the array layout.
TNuo4SymbolPathes CreatePath_TextElement(const TRecNuo4TextElement& AElement, TNuo4FontUsage AUsage,
                                         const TrecNuo4NoteStyleIndex& AStyle, TGPPointF APt,
                                         TGPRectF& ABounds, bool bOnlyCalc);

// The elements one after another from APt: each is built at the running x, united into the
// bounds, and x moves to the right edge of its bounds. White space advances by a quarter of the
// font size per character and gaps by their length; while the bounds have no height they
// are 0.1 high.
TNuo4SymbolPathes CreatePath_Text_FromElementArray(const TNuo4TextElementArray& AElements,
                                                   TNuo4FontUsage AUsage,
                                                   const TrecNuo4NoteStyleIndex& AStyle,
                                                   TGPPointF APt, TGPRectF& ABounds,
                                                   bool bOnlyCalc);

// A text right-aligned within its own widest line, left-top at APt; CR, LF or CR LF break lines.
QPainterPath CreatePath_MultiLineRightAlignText(TNuo4FontUsage AUsage, const QString& AText,
                                                TGPPointF APt, TGPRectF& ABounds, bool bOnlyCalc);

}  // namespace nuo4
