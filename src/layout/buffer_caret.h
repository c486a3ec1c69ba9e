#pragma once
// The caret of the score view as a query of the laid-out buffer: where it stands (line,
// measure, page, paragraph), how it moves by direction, and the rectangles that draw it and a
// selection. Nothing here changes the buffer or rebuilds anything; every function reads the
// state left by the last build and the caret it is given.
//
// Positions are basic indexes (TrecNuo4CaretPos_Index, layout_info.h); rectangles are in
// millimetres of the page named with them.

#include <cstdint>
#include <string_view>
#include <vector>

#include "layout/layout_info.h"
#include "render/draw_utils.h"

namespace nuo4 {

class TNuo4SimpleBuffer;
class TNuo4Symbol;

enum TNuo4MoveDirection : uint8_t {
    mdNone,
    mdLeft,
    mdRight,
    mdUp,
    mdDown,
    mdNextMeasure,
    mdPrevMeasure,
    mdNextPage,
    mdPrevPage,
    mdLineStart,
    mdLineEnd,
    mdDocStart,
    mdDocEnd,
};
constexpr int Nuo4MoveDirectionCount = 13;
const char* EnumName(TNuo4MoveDirection AValue);
// The direction whose name is AName with or without the "md" prefix, ignoring case
// ("Left", "mdLeft", "lineend"); false when none is.
bool MoveDirectionFromName(std::string_view AName, TNuo4MoveDirection& ADirection);

// The caret's top on its page and its height.
struct TrecNuo4CaretPos_PtAndSize {
    TGPPointF PtLT;
    double Height = 0;
    int32_t PageIndex = 0;
};

// One rectangle of a selection, on the page of its line.
struct TrecNuo4SelectionRect {
    TGPRectF Rect;
    int32_t PageIndex = -1;
    int32_t LineIndex = -1;
};

// ---- Where a basic symbol or the caret stands (-1 when nowhere) ------------------------------

int32_t GetLineIndexFromBasicIndex(const TNuo4SimpleBuffer& B, int32_t ABasicIndex);
int32_t GetPageIndexFromLineIndex(const TNuo4SimpleBuffer& B, int32_t ALineIndex);
int32_t GetPageIndexFromBasicIndex(const TNuo4SimpleBuffer& B, int32_t ABasicIndex);

// A caret beyond the last symbol is taken as (last, right); an empty document gives (0, left).
TrecNuo4CaretPos_Index NormalizeCaret(const TNuo4SimpleBuffer& B, TrecNuo4CaretPos_Index ACaret);

// Left side of a line's first symbol / right side of a line's last symbol.
bool CaretPos_IsLineStart(const TNuo4SimpleBuffer& B, TrecNuo4CaretPos_Index ACaret);
bool CaretPos_IsLineEnd(const TNuo4SimpleBuffer& B, TrecNuo4CaretPos_Index ACaret);
int32_t GetLineIndexOfCaret(const TNuo4SimpleBuffer& B, TrecNuo4CaretPos_Index ACaret);
int32_t GetMeasureIndexOfCaret(const TNuo4SimpleBuffer& B, TrecNuo4CaretPos_Index ACaret);
int32_t GetPageIndexOfCaret(const TNuo4SimpleBuffer& B, TrecNuo4CaretPos_Index ACaret);
int32_t GetParagraphIndexOfCaret(const TNuo4SimpleBuffer& B, TrecNuo4CaretPos_Index ACaret);
// The symbol at the caret's edit position; null when none.
TNuo4Symbol* GetSymbolOfCaret(const TNuo4SimpleBuffer& B, TrecNuo4CaretPos_Index ACaret);
// The same questions for the caret of the buffer's own selection.
int32_t GetCaretEditPos(const TNuo4SimpleBuffer& B);
int32_t GetCaretRightPos(const TNuo4SimpleBuffer& B);
int32_t GetCaretLeftPos(const TNuo4SimpleBuffer& B);

// ---- Moving ----------------------------------------------------------------------------------

// The caret after a move in ADirection from ACaret; false when no move is possible (an empty
// document, up on the first line, down on the last, measure moves outside measures).
// "No change" moves answer true with the same caret. ARememberedColumnX (mm, -1 for none) is
// the column kept across consecutive up and down moves: up and down read and set it, every
// other direction resets it to -1. The caller keeps it (the editor in its edit state).
bool CanMoveCaret(const TNuo4SimpleBuffer& B, TrecNuo4CaretPos_Index ACaret,
                  TNuo4MoveDirection ADirection, double& ARememberedColumnX,
                  TrecNuo4CaretPos_Index& ANewCaret);

// ---- Rectangles ------------------------------------------------------------------------------

// The caret's top-left on its page and its height ((BarlineHeightCoef_Top + _Bottom) x digit
// height): at the right edge of the symbol's box + 0.5 on the right side, at its left edge on
// the left side; an empty document puts it at (MarginLeft, FirstLineTop_Min) on page 0.
TrecNuo4CaretPos_PtAndSize ConvertCaretInfo_IndexToPosAndSize(const TNuo4SimpleBuffer& B,
                                                              TrecNuo4CaretPos_Index ACaret);
// One rectangle per line a non-empty selection touches, as high as the caret; empty for an
// empty selection.
std::vector<TrecNuo4SelectionRect> GetSelectionRectArray(const TNuo4SimpleBuffer& B,
                                                         const TrecNuo4Selection& ASelection);

}  // namespace nuo4
