#pragma once
// Spacing requests: lock, change and clear the advance widths of basic symbols. Each reads the
// laid-out buffer (never changes it) and answers the replacements that rewrite the symbols'
// control options ("{C:aw...}") in the score text; true when there is anything to change.
// Indexes are basic indexes; _Selection and _Caret forms read B.InternalStatus.

#include <cstdint>

#include "format/abc_tokens.h"
#include "format/ko_range.h"
#include "format/symbol_control_options.h"

namespace nuo4 {

class TNuo4SimpleBuffer;

enum TNuo4InlineChangeAction_AWCoef : uint8_t {
    nicaAWCoef_Unlock,
    nicaAWCoef_SetToValue,
    nicaAWCoef_SetToNextGrid,
    nicaAWCoef_SetToPrevGrid,
    nicaAWCoef_Increase_Small,
    nicaAWCoef_Increase_Large,
    nicaAWCoef_Decrease_Small,
    nicaAWCoef_Decrease_Large,
    nicaAWCoef_Zoom,
    nicaAWCoef_Delta,
};
constexpr int Nuo4InlineChangeActionAWCoefCount = 10;
const char* EnumName(TNuo4InlineChangeAction_AWCoef AValue);

// The grid step (mm): 0.25 x the normal digit width.
double Spacing_GridStep();
// The change of a coefficient by a grid or step action for a point at AX (mm): the grid
// actions move AX to the next or previous grid line (a point within a tenth of a step of a
// line goes on to the line after it), the step actions add their step; 0 for every other
// action.
double Spacing_ActionDeltaAt(TNuo4InlineChangeAction_AWCoef AAction, double AX);

// ---- The one rewrite every request goes through ----------------------------------------------

// The item that gives the symbol the advance part AAWCoef, its hide level and underline
// joining kept; nothing (true, no item) when the options stay as they are.
bool CanSetAWCoefOptions(const TNuo4SimpleBuffer& B, int32_t AIndex,
                         const TrecNuo4SymbolControlOptions_AWCoef& AAWCoef,
                         TNuo4ABCTextReplaceItems& AItems);

// ---- Locking and unlocking -------------------------------------------------------------------

bool CanLockAWCoef(const TNuo4SimpleBuffer& B, int32_t AIndex, TNuo4ABCTextReplaceItems& AItems);
bool CanUnlockAWCoef(const TNuo4SimpleBuffer& B, int32_t AIndex, bool bUnlockRightlineSpacing,
                     TNuo4ABCTextReplaceItems& AItems);
bool CanLockAWCoef_Range(const TNuo4SimpleBuffer& B, TKoRange ARange,
                         TNuo4ABCTextReplaceItems& AItems);
bool CanLockAWCoef_Line(const TNuo4SimpleBuffer& B, int32_t ALine,
                        TNuo4ABCTextReplaceItems& AItems);
bool CanLockAWCoef_LineRange(const TNuo4SimpleBuffer& B, TKoRange ALines,
                             TNuo4ABCTextReplaceItems& AItems);
bool CanLockAWCoef_Selection(const TNuo4SimpleBuffer& B, TNuo4ABCTextReplaceItems& AItems);
bool CanLockAWCoef_SelectedLines(const TNuo4SimpleBuffer& B, TNuo4ABCTextReplaceItems& AItems);
bool CanUnlockAWCoef_Range(const TNuo4SimpleBuffer& B, TKoRange ARange,
                           TNuo4ABCTextReplaceItems& AItems);
bool CanUnlockAWCoef_LineRange(const TNuo4SimpleBuffer& B, TKoRange ALines,
                               TNuo4ABCTextReplaceItems& AItems);
bool CanUnlockAWCoef_CaretLine(const TNuo4SimpleBuffer& B, TNuo4ABCTextReplaceItems& AItems);
bool CanUnlockAWCoef_Selection(const TNuo4SimpleBuffer& B, TNuo4ABCTextReplaceItems& AItems);
bool CanUnlockAWCoef_SelectedLines(const TNuo4SimpleBuffer& B, TNuo4ABCTextReplaceItems& AItems);
// The indent of the lines' paragraphs removed and all their symbols unlocked.
bool CanUnlockAWCoefAndRemoveIndent_LineRange(const TNuo4SimpleBuffer& B, TKoRange ALines,
                                              TNuo4ABCTextReplaceItems& AItems);
bool CanUnlockAWCoefAndRemoveIndent_SelectedLines(const TNuo4SimpleBuffer& B,
                                                  TNuo4ABCTextReplaceItems& AItems);
// Every next symbol's X on the nearest grid line (a remainder of exactly half a step rounds
// down); refused for a line of a justified paragraph.
bool CanLockAWCoefToGrid_Line(const TNuo4SimpleBuffer& B, int32_t ALine,
                              TNuo4ABCTextReplaceItems& AItems);
bool CanLockAWCoefToGrid_CaretLine(const TNuo4SimpleBuffer& B, TNuo4ABCTextReplaceItems& AItems);
bool CanLockAWCoefToGrid_SelectedLines(const TNuo4SimpleBuffer& B,
                                       TNuo4ABCTextReplaceItems& AItems);

// ---- Changing --------------------------------------------------------------------------------

// One symbol by an action; every new value below 0.01 becomes 0.01 (except unlocking).
bool CanChangeAWCoef(const TNuo4SimpleBuffer& B, int32_t AIndex,
                     TNuo4InlineChangeAction_AWCoef AAction, double AValue,
                     TNuo4ABCTextReplaceItems& AItems);
// A run: set-to-value scales the run so its coefficients sum to the value, zoom multiplies,
// delta scales so the sum grows by the value, the grid and step actions apply their delta as a
// sum delta.
bool CanChangeAWCoef_Range(const TNuo4SimpleBuffer& B, TKoRange ARange,
                           TNuo4InlineChangeAction_AWCoef AAction, double AValue,
                           TNuo4ABCTextReplaceItems& AItems);
bool CanChangeAWCoef_Line(const TNuo4SimpleBuffer& B, int32_t ALine,
                          TNuo4InlineChangeAction_AWCoef AAction, double AValue,
                          TNuo4ABCTextReplaceItems& AItems);
// The symbol at the caret + ADelta (at least 0.01): no highlight, an empty selection, the
// caret neither at a line start nor at a line end, its paragraph not justified.
bool CanAdjustAWCoef_Delta_Caret(const TNuo4SimpleBuffer& B, double ADelta,
                                 TNuo4ABCTextReplaceItems& AItems);
// Every line of the caret (or of the lines given) scaled so that its coefficients sum to
// ADelta more; stops at the first line of a justified paragraph.
bool CanAdjustLineWidth_Caret(const TNuo4SimpleBuffer& B, bool bIgnoreLocked, double ADelta,
                              TNuo4ABCTextReplaceItems& AItems);
bool CanAdjustLineWidth_Range_Delta(const TNuo4SimpleBuffer& B, TKoRange ALines, bool bIgnoreLocked,
                                    double ADelta, TNuo4ABCTextReplaceItems& AItems);
// Measures on one line of a paragraph that is not justified, widened by ADelta mm.
bool CanAdjustMeasureWidth_Range(const TNuo4SimpleBuffer& B, TKoRange AMeasures, bool bIgnoreLocked,
                                 double ADelta, TNuo4ABCTextReplaceItems& AItems);
bool CanAdjustMeasureWidth_Selection(const TNuo4SimpleBuffer& B, bool bIgnoreLocked, double ADelta,
                                     TNuo4ABCTextReplaceItems& AItems);
// The measure-width request with the line's free space at the right as delta.
bool CanAdjustMeasuresWidthToJustifyLine_Range(const TNuo4SimpleBuffer& B, TKoRange AMeasures,
                                               TNuo4ABCTextReplaceItems& AItems);
bool CanAdjustMeasuresWidthToJustifyLine_Selection(const TNuo4SimpleBuffer& B,
                                                   TNuo4ABCTextReplaceItems& AItems);
// Every symbol of the line (return excluded) scaled by (L - F) / (T - F).
bool CanAdjustAllSymbolPosAtLineToJustifyLine_Line(const TNuo4SimpleBuffer& B, int32_t ALine,
                                                   bool bIgnoreLocked,
                                                   TNuo4ABCTextReplaceItems& AItems);
bool CanAdjustAllSymbolPosAtLineToJustifyLine_Caret(const TNuo4SimpleBuffer& B, bool bIgnoreLocked,
                                                    TNuo4ABCTextReplaceItems& AItems);
// The second-to-last symbol of the last measure takes the line's free space at the right.
bool CanAdjustLastSymbolPosAtLineToJustifyLine_Line(const TNuo4SimpleBuffer& B, int32_t ALine,
                                                    TNuo4ABCTextReplaceItems& AItems);
bool CanAdjustLastSymbolPosAtLineToJustifyLine_Caret(const TNuo4SimpleBuffer& B,
                                                     TNuo4ABCTextReplaceItems& AItems);
// Bar lines locked below 0.1 are unlocked (dash spacing included).
bool Layout_UnlockBarlineAW_WhenOverlap_Range(const TNuo4SimpleBuffer& B, TKoRange ARange,
                                              TNuo4ABCTextReplaceItems& AItems);
bool Layout_UnlockBarlineAW_WhenOverlap_SelectionOrCaret(const TNuo4SimpleBuffer& B,
                                                         TNuo4ABCTextReplaceItems& AItems);

// ---- Dashes and dots of the note left of the caret (no highlight, an empty selection) -------

// The gap before dash ADashIndex (0 = digit to first dash) moves by the action's delta, never
// below 1 digit width. With bKeepWidth the next gap gives the room back and the advance stays
// (in a justified line every other symbol is locked where it stands); otherwise the advance
// grows by the same amount and the paragraph must not be justified. A dash index past the last
// dash changes the advance itself, never below 1 + the last dash's offset.
// The same for note AIndex with the change ADelta (coefficient units) already known.
bool CanAdjustRightlineSpacingCoef(const TNuo4SimpleBuffer& B, int32_t AIndex, int32_t ADashIndex,
                                   double ADelta, bool bKeepWidth,
                                   TNuo4ABCTextReplaceItems& AItems);
bool CanAdjustRightlineSpacingCoef_Caret(const TNuo4SimpleBuffer& B,
                                         TNuo4InlineChangeAction_AWCoef AAction, double AValue,
                                         int32_t ADashIndex, bool bKeepWidth,
                                         TNuo4ABCTextReplaceItems& AItems);
// The distance of the first right dot moves by the action's delta (at least 0.5); without
// bKeepWidth the advance grows by the change.
bool CanAdjustRightDotSpacingCoef_Caret(const TNuo4SimpleBuffer& B,
                                        TNuo4InlineChangeAction_AWCoef AAction, double AValue,
                                        bool bKeepWidth, TNuo4ABCTextReplaceItems& AItems);

}  // namespace nuo4
