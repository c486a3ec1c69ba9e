#pragma once
// The rules checks run at the end of every build; the score view marks what they find.

#include <functional>
#include <vector>

#include "format/symbol_barline.h"
#include "layout/layout_records.h"
#include "render/symbol_types.h"

namespace nuo4 {

// Bar lines within a line (return excluded), as basic indexes: a bar line that is not the
// line's last symbol with a coefficient below 0.1, a repeat start as the last symbol, a repeat
// end as the first symbol, a bar line followed by another bar line. AStyles holds the style of
// every bar line (anything for other kinds).
std::vector<int32_t> RulesCheck_Barline(const TNuo4LineInfoArray& ALines,
                                        const std::vector<TNuo4SymbolType>& ATypes,
                                        const std::vector<float>& AAWCoefs,
                                        const std::vector<TNuo4BarlineStyle>& AStyles);

struct TrecNuo4BraceCheckInfo {
    int32_t AttachIndex = -1;
    bool bWithExtraLine = false;
    double ExtraLineY = 0;  // page Y of its extra line
    double OwnerY = 0;      // page Y of its owner's reference point
};

// Attach indexes: every extension symbol that draws a square bracket, the brace of the first of
// three consecutive systems whose first and third have several lines and the middle one one
// line, and every brace whose extra line lies less than 5 below its owner.
std::vector<int32_t> RulesCheck_AttachBrace(const std::vector<int32_t>& ASquareBracketExtends,
                                            const TNuo4SystemLineInfoArray& ASystems,
                                            const std::vector<TrecNuo4BraceCheckInfo>& ABraces);

struct TrecNuo4AttachPlaceInfo {
    int32_t OwnerBasicIndex = -1;
    bool bOnPage = false;  // the owner lies on a page
    TGPRectF BoxAtPos;     // the attach symbol's box at its page position
};

// Owner basic indexes of the attach symbols on a page whose box misses the paper.
std::vector<int32_t> RulesCheck_OutOfPage(const std::vector<TrecNuo4AttachPlaceInfo>& AAttaches,
                                          const TGPRectF& APaperRect);

// One lyric of a verse in verse order: its attach index and owner.
struct TrecNuo4LyricCheckItem {
    int32_t AttachIndex = -1;
    int32_t OwnerBasicIndex = -1;
};
// The note that takes the lyric after the one on ANote (-1 when none), by the lyric rule.
using TNuo4NextLyricNoteFunc = std::function<int32_t(int32_t ANote)>;

// Attach indexes of lyrics (other than a verse's first) that are not on the note following
// their predecessor's note; verses whose first note is not found (-1 owner) are not checked.
std::vector<int32_t> RulesCheck_Lyric_AllVerse(
    const std::vector<std::vector<TrecNuo4LyricCheckItem>>& AVerses,
    const TNuo4NextLyricNoteFunc& ANext);

}  // namespace nuo4
