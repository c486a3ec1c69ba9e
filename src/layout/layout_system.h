#pragma once
// System lines: a plain non-empty line, or the lines one brace joins into a multi-part system;
// the measure numbering that counts every system once, the meters of the system measures, bar
// number texts and duration errors.

#include <string>
#include <vector>

#include "layout/layout_records.h"
#include "render/symbol_types.h"

namespace nuo4 {

// A brace of the attachments section as it lies on its page.
struct TrecNuo4BraceLayoutInfo {
    int32_t AttachIndex = -1;
    int32_t OwnerBasicIndex = -1;
    double Top = 0;  // page Y of its box
    double Bottom = 0;
    double ExtraLineLength = 0;  // how far its extra line reaches above the box
};

struct TrecNuo4SystemLayoutInput {
    const std::vector<TNuo4SymbolType>* Types = nullptr;
    // The meter each basic symbol sets: invalid for every symbol that is not a meter.
    const std::vector<TrecNuo4Meter>* SymbolMeters = nullptr;
    std::vector<TrecNuo4BraceLayoutInfo> Braces;  // in attach order
    TrecNuo4Meter InitMeter;                      // the title's first meter, or the default
    double DigitHeight = 0;
};

// The lines a brace covers on the page of its owner; invalid when it covers none.
TKoRange GetBraceCoveredLines(const TrecNuo4BraceLayoutInfo& ABrace,
                              const TNuo4LineInfoArray& ALines, const TNuo4PageInfoArray& APages,
                              double ADigitHeight);

// System line ranges and information; every measure's Meter_System is set.
void Process_System(const TrecNuo4SystemLayoutInput& AInput, const TNuo4LineInfoArray& ALines,
                    const TNuo4PageInfoArray& APages, TNuo4MeasureInfoArray& AMeasures,
                    TKoRangeArray& ASystemLineRanges, TNuo4SystemLineInfoArray& ASystems);

struct TrecNuo4SystemMeasureInfo {
    int32_t SystemIndex = -1;
    int32_t IndexWithinSystem = -1;  // position of the measure in its line
    int32_t IndexWithinAllSystems = -1;
};
TrecNuo4SystemMeasureInfo System_GetMeasureInfoFromMeasureIndex(
    const TNuo4SystemLineInfoArray& ASystems, const TNuo4LineInfoArray& ALines,
    int32_t AMeasureIndex);

bool IsMultiParts(const TNuo4SystemLineInfoArray& ASystems);

// "%d" (measure index + 1), or "%d(%d)" with the system measure number in a multi-part document.
std::u16string GetBarNumberOfMeasure(const TNuo4SystemLineInfoArray& ASystems,
                                     const TNuo4LineInfoArray& ALines, int32_t AMeasureIndex);

// The measure's length differs from its system meter by 0.01 quarter notes or more. A free
// meter has no length to compare with.
bool MeasureHasDurationError(const TrecNuo4MeasureInfoItem& AMeasure);
bool LineHasDurationError(const TrecNuo4LineInfoItem& ALine,
                          const TNuo4MeasureInfoArray& AMeasures);

}  // namespace nuo4
