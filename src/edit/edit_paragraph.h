#pragma once
// Paragraph requests: justification, indents, gaps and page breaks. A paragraph's options live
// in the return that closes it ("$(...)"): the requests rewrite that return's text, or insert
// a return carrying the options after the last paragraph's last symbol when it has none.
// Paragraph ranges are ranges of paragraph indexes; each request answers replacements and
// never changes the buffer.

#include <cstdint>

#include "format/abc_tokens.h"
#include "format/ko_range.h"
#include "format/symbol_return.h"

namespace nuo4 {

class TNuo4SimpleBuffer;

// The items that give every paragraph of the range the options (all of them).
bool CanChangeParagraphOptions_Range(const TNuo4SimpleBuffer& B, TKoRange AParagraphs,
                                     const TrecNuo4SymbolReturnPrivateOptions& AOptions,
                                     TNuo4ABCTextReplaceItems& AItems);
bool CanChangeParagraphOptions_Selection(const TNuo4SimpleBuffer& B,
                                         const TrecNuo4SymbolReturnPrivateOptions& AOptions,
                                         TNuo4ABCTextReplaceItems& AItems);
// Only one option changed, the others kept per paragraph.
bool CanChangeParagraphOptions_JustifyHorz_Range(const TNuo4SimpleBuffer& B, TKoRange AParagraphs,
                                                 bool bValue, TNuo4ABCTextReplaceItems& AItems);
bool CanChangeParagraphOptions_JustifyHorz_Selection(const TNuo4SimpleBuffer& B, bool bValue,
                                                     TNuo4ABCTextReplaceItems& AItems);
bool System_CanChangeParagraphOptions_Indent_Range(const TNuo4SimpleBuffer& B, TKoRange AParagraphs,
                                                   double AValue, TNuo4ABCTextReplaceItems& AItems);
bool CanChangeParagraphOptions_Gap_Range(const TNuo4SimpleBuffer& B, TKoRange AParagraphs,
                                         double AGapCoef, TNuo4ABCTextReplaceItems& AItems);
bool CanRemoveParagraphIndent_Range(const TNuo4SimpleBuffer& B, TKoRange AParagraphs,
                                    TNuo4ABCTextReplaceItems& AItems);
bool CanRemoveParagraphIndent_Selection(const TNuo4SimpleBuffer& B,
                                        TNuo4ABCTextReplaceItems& AItems);
// The page-break return at the caret and the return inserted when a line grows too wide are
// insertions of the voice (edit_voice.h: CanInsertSymbol_PageBreak_Caret,
// CanInsertReturnIfOverWidth).

}  // namespace nuo4
