#pragma once
// The document buffer's carried-over status checked against a new buffer: after every compile
// the selection, the highlight, the page-mode page and the in-symbol edit state are brought
// back inside the buffer, so nothing refers to a symbol that no longer exists.

#include "layout/simple_buffer.h"

namespace nuo4 {

// True when everything was in range already.
bool Nuo4CheckInternalStatus(TNuo4SimpleBuffer& B);

// The empty caret that a highlight stands for: at the highlighted basic symbol, or at the owner
// of a highlighted attach symbol, right side unless that symbol is a return; (0, left) for a page
// symbol or no highlight.
TrecNuo4Selection Nuo4SelectionFromHighlight(const TNuo4SimpleBuffer& B);

}  // namespace nuo4
