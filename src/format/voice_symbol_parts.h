#pragma once
// Pieces shared by the readers and writers of the voice symbols other than notes.

#include <string>

#include "format/abc_common.h"
#include "format/abc_tokens.h"
#include "format/symbol_control_options.h"

namespace nuo4 {

// Reads a control options group when one starts at APos inside ARange. On success the options
// are set, the group's ttControlOptions token is appended and AEndPos moves to its "}";
// otherwise nothing changes (the symbol simply ends before APos).
bool ReadOptionalControlOptions(TText AText, TKoRange ARange, int32_t APos,
                                TrecNuo4SymbolControlOptions& AOptions,
                                TNuo4ABCTokenInfoItems& ATokens, int32_t& AEndPos);

// One space on each side, so that an inserted symbol forms a token of its own.
std::u16string PadWithSpace(std::u16string S, bool bPadWithSpace);

}  // namespace nuo4
