#pragma once
// The colours of the score text: the token ranges the scanner and the section readers found,
// each with the colour and style of its token type in its section. Positions are those of the
// scanned text (one code unit per line break), which are also the text control's positions.

#include <cstdint>
#include <vector>

#include "format/abc_buffer.h"

namespace nuo4 {

// Colours as 0xRRGGBB.
struct TrecNuo4SyntaxStyle {
    uint32_t Color = 0;
    bool bBold = false;
    bool bItalic = false;
    bool operator==(const TrecNuo4SyntaxStyle&) const = default;
};

struct TrecNuo4SyntaxSpan {
    int32_t Start = 0;
    int32_t Length = 0;
    TrecNuo4SyntaxStyle Style;
};

constexpr uint32_t Nuo4SyntaxDefaultColor = 0xC0C0C0;  // silver: text no token claims

// Where a token stands decides some of its colours (a number is blue bold among fonts, green in
// the title).
enum TNuo4SyntaxContext : uint8_t { scOptions, scFonts, scTitle, scVoice, scOther };
TrecNuo4SyntaxStyle Nuo4SyntaxStyleOf(TNuo4ABCTokenType AType, TNuo4SyntaxContext AContext);

// Every coloured span of the scanned text: tokens and comments, each sorted by start. Comments
// may run over several lines and are drawn over the tokens they cover.
struct TrecNuo4SyntaxSpans {
    std::vector<TrecNuo4SyntaxSpan> Tokens;
    std::vector<TrecNuo4SyntaxSpan> Comments;
    bool IsEmpty() const { return Tokens.empty() && Comments.empty(); }
};
TrecNuo4SyntaxSpans Nuo4CollectSyntaxSpans(const TNuo4ABCBuffer& ABuffer);
// The spans of [AStart, AStart + ALength), cut to it, positions relative to AStart; tokens first,
// then comments.
std::vector<TrecNuo4SyntaxSpan> Nuo4SyntaxSpansIn(const TrecNuo4SyntaxSpans& ASpans, int32_t AStart,
                                                  int32_t ALength);

}  // namespace nuo4
