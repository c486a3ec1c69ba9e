#pragma once
// Vertical layout of lines on one endless page: the extent of each line's basic symbols, the
// place of its first lyric line, its bounds, its baseline and its move onto the page.

#include <vector>

#include "layout/layout_records.h"

namespace nuo4 {

// Top and bottom of each line's basic symbols (their own boxes, reference line at Y 0), never
// beyond 0, and the first lyric line: AGapScoreLyric (mm) below the reference line when
// bRelToBaseline, else that much below the lowest bottom.
void LineInfoArray_GetVertOffsets(TNuo4LineInfoArray& ALines,
                                  const std::vector<TGPRectF>& AOwnBoxes, double AGapScoreLyric,
                                  bool bRelToBaseline);

// Each line's bounds: the union of its basic symbols' total boxes at their positions.
void LineInfoArray_GetBounds(TNuo4LineInfoArray& ALines,
                             const std::vector<TrecNuo4CalcInfo_BoundsInfo>& ATotalBoxesAtPos);

// The gap above line ALine: half of AG next to an empty line, AG times the paragraph gap after
// a line that closes its paragraph, else AG.
double GetGapAboveLine(const TNuo4LineInfoArray& ALines, const TNuo4ParagraphInfoArray& AParas,
                       int32_t ALine, double AG);

// Baselines: line 0's layout top lands on AFirstLineTop_Min; every later line keeps the gap
// below the layout box of the line above it.
void LineInfoArray_GetBaselineY(TNuo4LineInfoArray& ALines, const TNuo4ParagraphInfoArray& AParas,
                                double AFirstLineTop_Min, double AG);

// The move of every line from the single row to its place on the endless page: its layout box
// starts at AMarginLeft plus its indent gap, its reference line lies at its baseline. The
// lines' bounds are moved; the caller moves the symbols by the returned offsets.
std::vector<TGPPointF> SingleLineToSinglePage(TNuo4LineInfoArray& ALines,
                                              const std::vector<double>& AIndentGaps,
                                              double AMarginLeft);

}  // namespace nuo4
