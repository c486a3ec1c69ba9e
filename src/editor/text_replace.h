#pragma once
// The order in which replacements of one edit reach the text, and the line breaks of the text
// control: every break is one code unit, so the positions of the scanned text (CR breaks) are
// also positions in the control.

#include <string>

#include "format/abc_tokens.h"

namespace nuo4 {

// Highest start first; items of the same start by their new texts in ascending order. Invalid
// items are dropped. Replacing from the end keeps the ranges of the remaining items valid.
TNuo4ABCTextReplaceItems Nuo4SortReplaceItems(const TNuo4ABCTextReplaceItems& AItems);

// CR LF and lone LF become CR.
std::u16string Nuo4TextToCRBreaks(std::u16string_view AText);
// Every CR LF, CR or LF becomes LF, the break the text control takes.
std::u16string Nuo4TextToLFBreaks(std::u16string_view AText);

// Applies the sorted items to a CR-break text (the reference for the control's edits and for
// edits without a control). Items reaching past the text are cut to it.
void Nuo4ApplyReplaceItems(std::u16string& AText, const TNuo4ABCTextReplaceItems& AItems);

}  // namespace nuo4

namespace nuo4 {

// The comment toggle for the lines that the CR-break range [ASelStart, ASelEnd] touches: when
// all of them start with "//" it is removed from each, else "//" is put at each line start.
TNuo4ABCTextReplaceItems Nuo4ToggleLineComments(std::u16string_view AText, int32_t ASelStart,
                                                int32_t ASelEnd);
// Runs of blank lines (empty or white space only) shortened to at most two.
TNuo4ABCTextReplaceItems Nuo4RemoveContinueBlankLines(std::u16string_view AText);

}  // namespace nuo4
