#pragma once
// What the lines, pages, system and drawing steps read from the document buffer in the form
// their passes take.

#include <vector>

#include "format/symbol_return.h"
#include "render/symbol_types.h"

namespace nuo4 {

class TNuo4SimpleBuffer;

// The kind of every basic symbol.
const std::vector<TNuo4SymbolType>& Buffer_BasicTypes(const TNuo4SimpleBuffer& B);
// The options of the return at the basic index; defaults for any other symbol.
TrecNuo4SymbolReturnPrivateOptions Buffer_ReturnOptions(const TNuo4SimpleBuffer& B,
                                                        int32_t ABasicIndex);

}  // namespace nuo4
