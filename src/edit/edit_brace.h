#pragma once
// The brace command of the layout mode: joins the lines of a multi-part system with a brace,
// indents them so the brace has room, and lines them up as an engraver would: every bar line
// and the note that starts each beat stand at the same x in every part. The alignment is
// written as locked advance widths (control options), so the text stays the only state.

#include <cstdint>

#include "format/abc_tokens.h"
#include "format/ko_range.h"

namespace nuo4 {

class TNuo4SimpleBuffer;

// The indent (mm) given to braced paragraphs that have none.
constexpr double Nuo4BraceIndentDefault = 8.0;

// Braces the lines ALines (line indexes, at least two non-empty lines on one page): adds the
// brace attachment on the first line's first note unless one already starts a system there,
// gives every paragraph of the lines the indent, and locks the advance widths so the columns
// of every part meet. Refused for fewer than two parts or lines on different pages.
bool CanBraceAndAlignLines(const TNuo4SimpleBuffer& B, TKoRange ALines,
                           TNuo4ABCTextReplaceItems& AItems);
// Only the alignment of an existing system line (no brace, no indent).
bool CanAlignSystemLine(const TNuo4SimpleBuffer& B, int32_t ASystemLineIndex,
                        TNuo4ABCTextReplaceItems& AItems);
// The command: the system of the caret's line when it is braced, else the lines of the
// selection (or of the caret's page when nothing is selected).
bool CanBraceAndAlign_Caret(const TNuo4SimpleBuffer& B, TNuo4ABCTextReplaceItems& AItems);

}  // namespace nuo4
