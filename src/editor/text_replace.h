#pragma once
// The order in which replacements of one edit reach the text, and the line breaks of the text
// control: every break is one code unit, so the positions of the scanned text (CR breaks) are
// also positions in the control.

#include <string>

#include "format/abc_tokens.h"

namespace nuo4 {

// Highest start first; at one start the replaced range first, then the insertions in reverse of
// the listed order, so the text reads the insertions in listed order, then the replacement.
// Invalid items are dropped. Replacing from the end keeps the ranges of the remaining items
// valid.
TNuo4ABCTextReplaceItems Nuo4SortReplaceItems(const TNuo4ABCTextReplaceItems& AItems);

// CR LF and lone LF become CR.
std::u16string Nuo4TextToCRBreaks(std::u16string_view AText);
// Every CR LF, CR or LF becomes LF, the break the text control takes.
std::u16string Nuo4TextToLFBreaks(std::u16string_view AText);
// The text the control reads back (CR breaks) after AText was put in: every break, and each
// character that the control keeps as a break (U+2028, U+2029, U+FDD0, U+FDD1), is one CR, and
// a no-break space reads as a space. Lets the editor keep its copy of the text without reading
// the whole control after each edit.
std::u16string Nuo4TextAsControlReadsIt(std::u16string_view AText);

// Sorted items that all lie inside a text of ATextLength units and do not overlap.
bool Nuo4CheckReplaceItems(const TNuo4ABCTextReplaceItems& ASorted, int32_t ATextLength);
// Applies the items to a CR-break text in the sorted order; false (text unchanged) when they
// reach outside the text or overlap.
bool Nuo4ApplyReplaceItems(std::u16string& AText, const TNuo4ABCTextReplaceItems& AItems);

}  // namespace nuo4

namespace nuo4 {

// The comment toggle for the lines that the CR-break range [ASelStart, ASelEnd] touches: when
// all of them start with "//" it is removed from each, else "//" is put at each line start.
TNuo4ABCTextReplaceItems Nuo4ToggleLineComments(std::u16string_view AText, int32_t ASelStart,
                                                int32_t ASelEnd);
// Runs of blank lines (empty or white space only) shortened to at most two.
TNuo4ABCTextReplaceItems Nuo4RemoveContinueBlankLines(std::u16string_view AText);

}  // namespace nuo4
