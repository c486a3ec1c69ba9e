#pragma once
// Edit requests inside a temporary voice. Its laid-out voice is a document buffer of its own
// whose text is the voice text, so these answer through the main voice's requests: every
// position is one of the voice text, and nothing in the voice or its record changes. What a
// temporary voice does differently is here: an advance set outright (the alignment writes
// whole coefficients), a grid delta of 0 for its last symbol, and dash spacing asked by
// symbol index with the action's delta taken where the dash stands.
//
// The text ranges of a symbol's parts are those of layout/buffer_text_pos.h and edit_voice.h
// asked of AData.Buffer(); they too are positions of the voice text.

#include <cstdint>

#include "edit/edit_spacing.h"
#include "format/abc_tokens.h"
#include "format/ko_range.h"
#include "format/music_common.h"
#include "format/symbol_control_options.h"

namespace nuo4 {

class TrecNuo4AttachBranchData;
class TNuo4SimpleBuffer;

// ---- The temporary voice of an attach symbol in the score ------------------------------------

// The laid-out voice of attach symbol AAttachIndex of B; null when it is no temporary voice or
// its voice is empty.
const TrecNuo4AttachBranchData* Branch_GetData(const TNuo4SimpleBuffer& B, int32_t AAttachIndex);
// Items of the voice text moved to the score text B was built from: the voice text is the
// inside of its braces, so a voice position lies one past the brace. False (no items) when the
// attach symbol is no temporary voice of the attachments section or an item does not fit the
// voice text.
bool Branch_ItemsToScoreText(const TNuo4SimpleBuffer& B, int32_t AAttachIndex,
                             const TNuo4ABCTextReplaceItems& AVoiceItems,
                             TNuo4ABCTextReplaceItems& AItems);

// The spacing at position APos of the voice (each dash counted; a position is the gap after
// its element, as the in-symbol edit walks them): a note's dash gap or its advance past the
// dashes, any other symbol's advance. The answer is in the score text.
bool CanEditAttachBranch_AdjustSymbolSpacing(const TNuo4SimpleBuffer& B, int32_t AAttachIndex,
                                             int32_t APos, TNuo4InlineChangeAction_AWCoef AAction,
                                             double AValue, TNuo4ABCTextReplaceItems& AItems);

// ---- Requests on the voice text --------------------------------------------------------------

// The symbol's control options written with the new advance, from the present one by the
// action (unlock gives 0; every other result is at least 0.01).
bool CanChangeAWCoef(const TrecNuo4AttachBranchData& AData, int32_t AIndex,
                     TNuo4InlineChangeAction_AWCoef AAction, double AValue,
                     TNuo4ABCTextReplaceItems& AItems);
// The advance set to AValue as it is (its dash spacing kept).
bool CanChangeAWCoef(const TrecNuo4AttachBranchData& AData, int32_t AIndex, double AValue,
                     TNuo4ABCTextReplaceItems& AItems);
// The advance and the whole dash spacing array set.
bool CanChangeAWCoefAndRightlineSpacingCoef(const TrecNuo4AttachBranchData& AData, int32_t AIndex,
                                            double ACoef,
                                            const TRightLineSpacingCoefArray& ASpacing,
                                            TNuo4ABCTextReplaceItems& AItems);
// Note AIndex with dashes: below the dash count, the gap before dash ADashIndex grows by the
// action's delta at that dash (at least 1) and the advance with it; at or past the count, the
// advance by the delta at the next symbol (at least 1 + the last dash's offset). Unlock,
// set-to-value, zoom and delta move nothing here; AValue is not used.
bool CanAdjustRightlineSpacingCoef(const TrecNuo4AttachBranchData& AData,
                                   TNuo4InlineChangeAction_AWCoef AAction, int32_t AIndex,
                                   int32_t ADashIndex, double AValue,
                                   TNuo4ABCTextReplaceItems& AItems);
bool CanChangeControlOptions(const TrecNuo4AttachBranchData& AData, int32_t AIndex,
                             const TrecNuo4SymbolControlOptions& AOptions,
                             TNuo4ABCTextReplaceItems& AItems);
bool CanChangeNote_Pitch(const TrecNuo4AttachBranchData& AData, int32_t ANote,
                         const TrecNuo4Pitch& APitch, TNuo4ABCTextReplaceItems& AItems);
bool CanChangeNote_Pitches(const TrecNuo4AttachBranchData& AData, int32_t ANote,
                           const TNuo4Pitches& APitches, TNuo4ABCTextReplaceItems& AItems);
bool CanTranspose(const TrecNuo4AttachBranchData& AData, int32_t ANote, int32_t AOffset,
                  bool bSemitone, TNuo4ABCTextReplaceItems& AItems);
// One item per note that changed; true when at least one did.
bool CanTranspose_Range(const TrecNuo4AttachBranchData& AData, TKoRange ARange, int32_t AOffset,
                        bool bSemitone, TNuo4ABCTextReplaceItems& AItems);

}  // namespace nuo4
