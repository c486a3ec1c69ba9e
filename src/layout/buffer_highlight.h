#pragma once
// The highlighted symbol (extend and page edit modes) and editing inside a symbol (an attach
// branch or a note's dashes), as queries of the laid-out buffer. The buffer keeps one
// highlight in InternalStatus.Highlight; the Highlight_ functions read and write that one.
// Stepping requests (Can...) answer the new highlight and change nothing.

#include <cstdint>

#include "format/ko_range.h"
#include "layout/layout_info.h"
#include "render/symbol_types.h"

namespace nuo4 {

class TNuo4SimpleBuffer;
class TNuo4Symbol;

// ---- The buffer's own highlight --------------------------------------------------------------

TrecNuo4Highlight Highlight_Get(const TNuo4SimpleBuffer& B);
// Indexes outside their buffer clear the highlight instead.
void Highlight_Set(TNuo4SimpleBuffer& B, const TrecNuo4Highlight& AHighlight);
void Highlight_SetToBasic(TNuo4SimpleBuffer& B, int32_t ABasicIndex);
void Highlight_SetToAttach(TNuo4SimpleBuffer& B, int32_t AAttachIndex);
void Highlight_SetToPage(TNuo4SimpleBuffer& B, int32_t APageSymbolIndex);
void Highlight_SetFromSymbolBufferIndex(TNuo4SimpleBuffer& B,
                                        const TrecNuo4SymbolBufferIndex& AIndex);
void Highlight_Clear(TNuo4SimpleBuffer& B);
// Clear only when the highlight is of that buffer.
void Highlight_Clear_Basic(TNuo4SimpleBuffer& B);
void Highlight_Clear_Attach(TNuo4SimpleBuffer& B);
void Highlight_Clear_Page(TNuo4SimpleBuffer& B);
// Clears the highlighted flag of every symbol and sets it on the highlighted one.
void Highlight_Update(TNuo4SimpleBuffer& B);

TrecNuo4SymbolBufferIndex Highlight_GetSymbolBufferIndex(const TrecNuo4Highlight& AHighlight);
TNuo4Symbol* Highlight_GetSymbol(const TNuo4SimpleBuffer& B);
TNuo4SymbolType Highlight_GetSymbolType(const TNuo4SimpleBuffer& B);  // sbstNone without
// The text of the highlighted symbol: a basic symbol's full range, an attachments or page
// item's line, a lyric's text; invalid when it has none.
TKoRange Highlight_GetABCTextRange(const TNuo4SimpleBuffer& B);

// One test per kind the editor asks about.
bool Highlight_IsNote(const TNuo4SimpleBuffer& B);
bool Highlight_IsBarline(const TNuo4SimpleBuffer& B);
bool Highlight_IsReturn(const TNuo4SimpleBuffer& B);
bool Highlight_IsMeter(const TNuo4SimpleBuffer& B);
bool Highlight_IsText(const TNuo4SimpleBuffer& B);
bool Highlight_IsAccompMarker(const TNuo4SimpleBuffer& B);
bool Highlight_IsArc(const TNuo4SimpleBuffer& B);
bool Highlight_IsLyric(const TNuo4SimpleBuffer& B);
bool Highlight_IsAttachText(const TNuo4SimpleBuffer& B);
bool Highlight_IsAttachBranch(const TNuo4SimpleBuffer& B);
bool Highlight_IsAttachBrace(const TNuo4SimpleBuffer& B);
bool Highlight_IsAttachments(const TNuo4SimpleBuffer& B);  // any attachments-section item
bool Highlight_IsMemo(const TNuo4SimpleBuffer& B);
bool Highlight_IsTitleBlock(const TNuo4SimpleBuffer& B);
// Special texts: a normal text in the part-name font, a key change.
bool Highlight_Is_AttachText_PartName(const TNuo4SimpleBuffer& B);
bool Highlight_Is_AttachText_KeyChange(const TNuo4SimpleBuffer& B);

// ---- Stepping (answers only) -----------------------------------------------------------------

// Basic symbol -> its first attach symbol; attach symbol -> the next of the same owner, after
// the last (or the only one) -> the owner. No highlight -> basic symbol 0, reported as no
// change (false). False also when nothing can be highlighted.
bool CanToggleHighlight_BasicAndAttach(const TNuo4SimpleBuffer& B, const TrecNuo4Highlight& ACur,
                                       TrecNuo4Highlight& ANew);
// No highlight -> the first page symbol of the page-mode page (CurrPageIndexForPageMode, or
// the caret's page when that is -1); a page symbol -> the next one of the same page, wrapping.
bool CanToggleHighlight_PageSymbol(const TNuo4SimpleBuffer& B, const TrecNuo4Highlight& ACur,
                                   TrecNuo4Highlight& ANew);
// The previous or next basic symbol (ADelta -1 or +1); false at either end or without a basic
// highlight.
bool CanMoveHighlight_BasicSymbol(const TNuo4SimpleBuffer& B, const TrecNuo4Highlight& ACur,
                                  int32_t ADelta, TrecNuo4Highlight& ANew);

// ---- Editing inside a symbol (InternalStatus.WithinSymbolEditStatusInfo) ----------------------

bool WithinSymbolEdit_GetEnable(const TNuo4SimpleBuffer& B);
// Enabled and the highlight is still the branch or the note being edited.
bool WithinSymbolEdit_IsValid(const TNuo4SimpleBuffer& B);
bool WithinSymbolEdit_IsBranch(const TNuo4SimpleBuffer& B);
TNuo4Symbol* WithinSymbolEdit_GetSymbol(const TNuo4SimpleBuffer& B);
// Starts editing inside the highlighted branch (position 0) or note with dashes (dash 0).
bool WithinSymbolEdit_Enable(TNuo4SimpleBuffer& B);
// The span of positions inside the branch: 0 .. (symbols, each dash counted) - 2. These fail
// when the branch has fewer than 2 such symbols or editing is not valid.
bool WithinSymbolEdit_FirstPos(const TNuo4SimpleBuffer& B, int32_t& APos);
bool WithinSymbolEdit_LastPos(const TNuo4SimpleBuffer& B, int32_t& APos);
bool WithinSymbolEdit_NextPos(const TNuo4SimpleBuffer& B, int32_t& APos);  // clamps at last
bool WithinSymbolEdit_PrevPos(const TNuo4SimpleBuffer& B, int32_t& APos);  // clamps at first
void WithinSymbolEdit_Disable(TNuo4SimpleBuffer& B);

}  // namespace nuo4
