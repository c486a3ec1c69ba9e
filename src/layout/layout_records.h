#pragma once
// The records that group the basic symbols into measures, lines, paragraphs, pages and system
// lines. Ranges of basic symbols are indexes into the basic buffer; measure, line and page
// ranges are indexes into their own arrays. Lengths are millimetres on the page.

#include <cstdint>
#include <vector>

#include "format/ko_range.h"
#include "format/music_common.h"
#include "format/symbol_return.h"
#include "render/symbol_calc_info.h"

namespace nuo4 {

struct TrecNuo4MeasureInfoItem {
    TKoRange BasicIndexRange;
    TrecNuo4Meter Meter;         // in force in the measure
    TrecNuo4Meter Meter_System;  // of the same measure of the first part of its system line
    float DVSum = 0;             // quarter notes
};
using TNuo4MeasureInfoArray = std::vector<TrecNuo4MeasureInfoItem>;

struct TrecNuo4LineInfoItem {
    TKoRange BasicIndexRange;    // the closing return included
    TKoRange MeasureIndexRange;  // empty for a line that holds only a return
    bool bWithReturn = false;
    float BaselineY = 0;  // page Y of the reference line after pagination
    float VertOffset_BasicSymbol_Top = 0;
    float VertOffset_BasicSymbol_Bottom = 0;
    float VertOffset_FirstLyricLine = 0;
    TrecNuo4CalcInfo_BoundsInfo Bounds;
    std::vector<int32_t> LyricVerseBufferIndex_RelocatedCompoundVerse_CompoundToSplit;
    std::vector<int32_t> LyricVerseBufferIndex_RelocatedCompoundVerse_SplitToCompound;

    bool IsEmpty() const { return MeasureIndexRange.Length <= 0; }
    TKoRange GetBasicIndexRangeExcludeReturn() const {
        TKoRange R = BasicIndexRange;
        if (bWithReturn && R.Length > 0) --R.Length;
        return R;
    }
};
using TNuo4LineInfoArray = std::vector<TrecNuo4LineInfoItem>;

struct TrecNuo4ParagraphInfoItem {
    TKoRange BasicIndexRange;
    TKoRange MeasureIndexRange;  // empty for a paragraph that is only a return
    TKoRange LineIndexRange;
    TrecNuo4SymbolReturnPrivateOptions Options;  // of the closing return; defaults without one
};
using TNuo4ParagraphInfoArray = std::vector<TrecNuo4ParagraphInfoItem>;

struct TrecNuo4PageInfoItem {
    TKoRange LineIndexRange;
    TKoRange MeasureIndexRange;
    TKoRange BasicIndexRange;
    TrecNuo4CalcInfo_BoundsInfo Bounds;  // union of the line bounds
};
using TNuo4PageInfoArray = std::vector<TrecNuo4PageInfoItem>;

struct TrecNuo4SystemLineInfoItem {
    int32_t AttachIndex_Brace = -1;  // -1 for a plain line
    TKoRange LineIndexRange;
    int32_t MaxMeasureCount_Line = 0;  // largest and smallest non-zero measure count
    int32_t MinMeasureCount_Line = 0;
    TKoRange MeasureIndexRange_Normal;  // the measures of all its lines
    TKoRange MeasureIndexRange_System;  // counting every system once
    std::vector<int32_t> NonEmptyLineArray;
    std::vector<TrecNuo4Meter> MeasureMeterArray;  // one per system measure
};
using TNuo4SystemLineInfoArray = std::vector<TrecNuo4SystemLineInfoItem>;

// Layout constants of the program.
constexpr double Nuo4LineWidthTolerance = 0.1;
constexpr double Nuo4PageHeightTolerance = 0.5;
constexpr double Nuo4OptionTolerance = 0.01;

// For every index 0 ... ACount-1, the range of ARanges that contains it, or -1.
std::vector<int32_t> Nuo4IndexToRangeMap(const TKoRangeArray& ARanges, int32_t ACount);

}  // namespace nuo4
