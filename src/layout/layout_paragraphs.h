#pragma once
// Paragraphs: the basic symbols from after one return up to and including the next return,
// or up to the last basic symbol.

#include <functional>
#include <vector>

#include "layout/layout_records.h"
#include "render/symbol_types.h"

namespace nuo4 {

// A paragraph ends at every return and at the last symbol.
TKoRangeArray GetParagraphRangeArray(const std::vector<TNuo4SymbolType>& ATypes);

// The options of the return at a basic index.
using TNuo4ReturnOptionsFunc = std::function<TrecNuo4SymbolReturnPrivateOptions(int32_t)>;

// Measure ranges from the measure of the first to that of the last symbol before a closing
// return (empty for a lone return), line ranges from the line of the first to that of the last
// symbol (empty while there are no lines yet), options from the closing return.
TNuo4ParagraphInfoArray GetParagraphInfoArray(const TKoRangeArray& AParagraphRanges,
                                              const std::vector<TNuo4SymbolType>& ATypes,
                                              const TNuo4MeasureInfoArray& AMeasures,
                                              const TNuo4LineInfoArray& ALines,
                                              const TNuo4ReturnOptionsFunc& AReturnOptions);

// The paragraph holding a line, -1 when none.
int32_t ParagraphIndexOfLine(const TNuo4ParagraphInfoArray& AParagraphs, int32_t ALineIndex);

}  // namespace nuo4
