#pragma once
// The four edit modes and what a change of mode does to the caret, selection and highlight.

#include <QString>
#include <cstdint>

#include "layout/simple_buffer.h"

namespace nuo4 {

enum TNuo4EditMode : uint8_t { emStandard, emExtend, emPage, emLayout };
constexpr int Nuo4EditModeCount = 4;
const char* EnumName(TNuo4EditMode AValue);
// "标准", "扩展", "页面", "排版".
QString Nuo4EditModeName(TNuo4EditMode AValue);

// The status changes of a mode change from AOld to ANew (nothing when they are equal). An
// in-symbol edit ends; ACentrePage is the page at the centre of the view (page mode's page).
// True when the mode changes.
bool Nuo4ChangeEditModeStatus(TNuo4SimpleBuffer& B, TNuo4EditMode AOld, TNuo4EditMode ANew,
                              int32_t ACentrePage);

}  // namespace nuo4
