#pragma once
// The selection of basic symbols as queries of the laid-out buffer. The buffer keeps one
// selection in InternalStatus.Selection (the editor may read and write it directly); the
// Selection_ functions work on that one, the others on the selection they are given.
// Ranges are basic index ranges unless they say text.

#include <cstdint>

#include "format/ko_range.h"
#include "layout/layout_info.h"

namespace nuo4 {

class TNuo4SimpleBuffer;

// ---- The buffer's own selection --------------------------------------------------------------

TrecNuo4Selection Selection_Get(const TNuo4SimpleBuffer& B);
void Selection_Set(TNuo4SimpleBuffer& B, const TrecNuo4Selection& ASelection);
// Empty at its caret.
void Selection_Clear(TNuo4SimpleBuffer& B);
bool Selection_IsEmpty(const TNuo4SimpleBuffer& B);
TKoRange Selection_GetBasicRange(const TNuo4SimpleBuffer& B);
TrecNuo4CaretPos_Index Selection_GetCaretPos(const TNuo4SimpleBuffer& B);
// The selection cleared to its caret.
TrecNuo4Selection Selection_GetEmpty(const TNuo4SimpleBuffer& B);
// The selection cleared to its tail.
TrecNuo4Selection Selection_GetNewSelectionForClear(const TNuo4SimpleBuffer& B);
// An empty caret one symbol right of the caret's left position: (left + 1, right).
TrecNuo4Selection Selection_GetNewSelectionAfterInsertSymbol(const TNuo4SimpleBuffer& B);
// The line, measure and paragraph index ranges the selection's basic range touches (of the
// caret's symbol when the selection is empty); invalid when none.
TKoRange Selection_GetLineRange(const TNuo4SimpleBuffer& B);
TKoRange Selection_GetMeasureRange(const TNuo4SimpleBuffer& B);
TKoRange Selection_GetParagraphRange(const TNuo4SimpleBuffer& B);
// The text range of the selected symbols (from the first's full range to the last's); invalid
// for an empty selection.
TKoRange Selection_GetABCTextRange(const TNuo4SimpleBuffer& B);

// ---- Selections made from other things -------------------------------------------------------

// All basic symbols except a final return; the default selection for an empty document.
TrecNuo4Selection GetSelectionForAll(const TNuo4SimpleBuffer& B);
// Start at the range's first symbol (left side), end at its last (right side); (0, left) for a
// range outside the buffer.
TrecNuo4Selection GetSelectionForBasicIndexRange(const TNuo4SimpleBuffer& B, TKoRange ARange);
// An empty caret at the highlighted basic symbol, or at the owner of a highlighted attach
// symbol, on its right side unless that symbol is a return; (0, left) for a page symbol or no
// highlight.
TrecNuo4Selection GetSelectionFromHighlight(const TNuo4SimpleBuffer& B,
                                            const TrecNuo4Highlight& AHighlight);

// Whether ASelection fits the buffer. An empty selection is valid unless its caret lies
// beyond the last symbol (then corrected to (last, right)); a non-empty one when its basic
// range lies inside the buffer; otherwise, and for an empty document, it is corrected to
// (0, left). With bCorrect the correction is written back into ASelection.
bool Selection_Check(const TNuo4SimpleBuffer& B, TrecNuo4Selection& ASelection, bool bCorrect);

}  // namespace nuo4
