#pragma once
// Where the symbols of the laid-out buffer stand in the score text the buffer was built from.
// Every edit request computes its replacements from these. Positions are UTF-16 code units of
// the scanned text (line breaks single CRs); invalid ranges when a symbol has no such text.

#include <cstdint>

#include "format/abc_tokens.h"
#include "format/ko_range.h"

namespace nuo4 {

class TNuo4SimpleBuffer;
struct TrecNuo4ABCParseInfo_VoiceSymbol;

// The parse record of the voice item a basic symbol came from; null when none.
const TrecNuo4ABCParseInfo_VoiceSymbol* GetVoiceParseItemFromBasicIndex(const TNuo4SimpleBuffer& B,
                                                                        int32_t ABasicIndex);
// The first token of that type in the symbol's parse item; invalid when absent.
TKoRange GetABCTextRangeOfTokenFromBasicIndex(const TNuo4SimpleBuffer& B, int32_t ABasicIndex,
                                              TNuo4ABCTokenType AType);

// With bAll the whole text of the symbol's parse item (the full range); without it the core
// range: a note's pitches, duration, grace, articulations and control options; a bar line's
// pure bar line; an accompaniment marker, meter, text or return token.
TKoRange GetABCTextRangeFromBasicIndex(const TNuo4SimpleBuffer& B, int32_t ABasicIndex, bool bAll);
// From the start of the first symbol's full range to the end of the last's.
TKoRange GetABCTextRangeFromBasicIndexRange(const TNuo4SimpleBuffer& B, TKoRange ARange);
// The control-options token; without one an empty range just after a note's pitches and
// duration, a bar line's pure bar line, or any other symbol's core range.
TKoRange GetABCTextRangeForAllSymbol_ControlOptions(const TNuo4SimpleBuffer& B,
                                                    int32_t ABasicIndex);
// The start of the symbol's full range; at the document end (index = count) the end of the
// last full range + 1; with no basic symbol, where the text buffer inserts into an empty voice.
int32_t GetABCTextInsertPosFromBasicIndex(const TNuo4SimpleBuffer& B, int32_t ABasicIndex);

// The text line of an attachments-section or page-section symbol (its item's range), and the
// text of a lyric symbol; invalid when the symbol has none.
TKoRange GetABCTextRangeFromAttachIndex(const TNuo4SimpleBuffer& B, int32_t AAttachIndex);
TKoRange GetABCTextRangeFromPageSymbolIndex(const TNuo4SimpleBuffer& B, int32_t APageIndex);

}  // namespace nuo4
