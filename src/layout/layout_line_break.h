#pragma once
// Line breaking by width: lines are runs of whole measures, possibly closed by the return of
// their paragraph, or a lone return.

#include <functional>
#include <vector>

#include "layout/layout_records.h"
#include "render/symbol_types.h"

namespace nuo4 {

// The width a run of basic symbols takes on a line: its left part (the paragraph's indent or
// the first symbol's left width), the advance widths in between and the last right width.
using TNuo4RangeWidthFunc = std::function<double(TKoRange ABasicRange)>;

// Lines for the basic symbols of ATypes, with L = the layout width. A line closes when its
// measures exceed L by more than the line width tolerance (the last measure then starts the
// next line unless it stands alone) or at the document's last measure; a return right after a
// line joins it. Only BasicIndexRange, MeasureIndexRange and bWithReturn are set.
TNuo4LineInfoArray GetLineRangeArray(const std::vector<TNuo4SymbolType>& ATypes,
                                     const TNuo4MeasureInfoArray& AMeasures,
                                     const TNuo4RangeWidthFunc& AWidth, double ALayoutWidth);

// The measure range of every line.
TKoRangeArray LineRangesOf(const TNuo4LineInfoArray& ALines);

// The gap a line's indent leaves before its first symbol: the indent minus that symbol's left
// width, 0 without indent.
double GetLineIndentGap(float AIndentValue, double AFirstSymbolLeftWidth);

}  // namespace nuo4
