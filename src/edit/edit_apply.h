#pragma once
// Applying the replacements of one answer to the text they were computed on.
//
// Order: items are applied from the highest start position down, so earlier positions stay
// valid. At one start position the result reads, left to right: every insertion (empty range)
// in the order the answer lists them, then the replacement of the non-empty range, if any.
// (Requests answer one combined item per position; this rule only decides what happens when
// an answer does hold several, and it never depends on the texts themselves.)
//
// Validation: the whole answer is refused, and the text left unchanged, when an item reaches
// outside the text, has a negative start or length, or overlaps another item (two non-empty
// ranges sharing a position, or an insertion strictly inside a replaced range). Items that
// are invalid in themselves (empty range and empty text) are skipped. CR LF in a new text
// becomes CR, as everywhere in the scanned text.

#include <string>

#include "format/abc_tokens.h"

namespace nuo4 {

// True when applied (also for an answer with nothing to do); false, with AText unchanged and
// AError saying why, when refused.
bool ApplyTextReplaceItems(std::u16string& AText, const TNuo4ABCTextReplaceItems& AItems,
                           std::string* AError = nullptr);

}  // namespace nuo4
