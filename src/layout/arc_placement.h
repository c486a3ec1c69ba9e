#pragma once
// What the layout decides about one arc of the voice before its symbols exist: lines, pieces,
// horizontal offsets, shape, height and the vertical offsets of both ends. Lengths in mm,
// offsets from the owner's reference point (negative Y is up).

#include <cstdint>
#include <vector>

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

// Minima over index ranges of values that only ever decrease: a segment tree, so that the arc
// pass clears what lies under each arc in logarithmic time instead of scanning it.
class TNuo4RangeMin {
  public:
    // ACount values, all infinite.
    void Reset(int32_t ACount);
    // value[AIndex] = min(value[AIndex], AValue); an index outside the range is ignored.
    void Lower(int32_t AIndex, double AValue);
    // The least value in [AFirst, ALast], clipped to the range; infinite when empty.
    double Min(int32_t AFirst, int32_t ALast) const;

  private:
    int32_t FCount = 0;
    std::vector<double> FTree;
};

// What the arc pass knows while it places the arcs in order: the tops of the voice's symbols
// and, keyed by the first basic index each covers, the arcs (and pieces) placed so far.
struct TNuo4ArcPlacementState {
    TNuo4RangeMin SymbolTops;               // top of each basic symbol and its articulations
    TNuo4RangeMin ArcTops;                  // top of each placed arc symbol at its first index
    TNuo4RangeMin LeftPieceOffsets;         // vertical offset of each left piece at its start note
    std::vector<double> RightPieceOffsets;  // least offset of the right pieces of each line
};

// The line whose basic range holds the index; -1 when none.
int32_t Nuo4LineIndexOfBasicIndex(const std::vector<TrecNuo4LineInfoItem>& ALines,
                                  int32_t ABasicIndex);

}  // namespace nuo4
