#pragma once
// What the layout decides about one arc of the voice before its symbols exist: lines, pieces,
// horizontal offsets, shape, height and the vertical offsets of both ends. Lengths in mm,
// offsets from the owner's reference point (negative Y is up).

#include <cstdint>

#include "format/arc_styles.h"
#include "layout/layout_info.h"

namespace nuo4 {

struct TrecNuo4ArcBasicInfo {
    int32_t LineIndex_Start = -1;
    int32_t LineIndex_End = -1;
    bool bWrap = false;
    double OffsetX_Start = 0;   // from the start note's reference point
    double OffsetX_End = 0;     // from the end note's reference point
    double ArcLength_Full = 0;  // chord of the whole arc, at least Nuo4ArcMinLayoutLength
    double PieceLength_Left = 0;
    double PieceLength_Right = 0;
    TNuo4SymbolArcShape Shape = assEllipseFill;
    double ArcHeight = 0;
    double ArcThickness = 0;
    double VertOffset_Start = 0;
    double VertOffset_End = 0;
};

// Whole arcs and wrapped pieces are laid out at least this long.
constexpr double Nuo4ArcMinLayoutLength = 3.0;

// The line whose basic range holds the index; -1 when none.
int32_t Nuo4LineIndexOfBasicIndex(const std::vector<TrecNuo4LineInfoItem>& ALines,
                                  int32_t ABasicIndex);

}  // namespace nuo4
