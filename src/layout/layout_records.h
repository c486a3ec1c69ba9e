#pragma once
// Array names of the line, paragraph, page and system line records, the layout tolerances and
// an index lookup the passes share.

#include <cstdint>
#include <vector>

#include "format/ko_range.h"
#include "format/music_common.h"
#include "format/symbol_return.h"
#include "layout/layout_info.h"
#include "render/symbol_calc_info.h"

namespace nuo4 {

using TNuo4LineInfoArray = std::vector<TrecNuo4LineInfoItem>;
using TNuo4ParagraphInfoArray = std::vector<TrecNuo4ParagraphInfoItem>;
using TNuo4PageInfoArray = std::vector<TrecNuo4PageInfoItem>;
using TNuo4SystemLineInfoArray = std::vector<TrecNuo4SystemLineInfoItem>;

// Layout constants of the program.
constexpr double Nuo4LineWidthTolerance = 0.1;
constexpr double Nuo4PageHeightTolerance = 0.5;
constexpr double Nuo4OptionTolerance = 0.01;

// For every index 0 ... ACount-1, the range of ARanges that contains it, or -1.
std::vector<int32_t> Nuo4IndexToRangeMap(const TKoRangeArray& ARanges, int32_t ACount);

}  // namespace nuo4
