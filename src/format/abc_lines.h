#pragma once
// Line types and section types of a scanned score text, and the read-only view of the scanned
// lines that section grammars walking the whole text (the lyrics) receive.

#include <cstdint>
#include <vector>

#include "format/abc_common.h"
#include "format/ko_range.h"

namespace nuo4 {

enum TNuo4ABCLineType : uint8_t {
    altEmptyOrComment,
    altSectionNone,
    altSectionOptions_Start,
    altSectionOptions_Continue,
    altSectionFonts_Start,
    altSectionFonts_Continue,
    altSectionTitle_Start,
    altSectionTitle_Continue,
    altSectionVoice_Start,
    altSectionVoice_Continue,
    altSectionLyrics_Start,
    altSectionLyrics_Continue,
    altSectionAttachments_Start,
    altSectionAttachments_Continue,
    altSectionPage_Start,
    altSectionPage_Continue,
    altSectionUnknown_Start,
    altSectionUnknown_Continue,
    altSectionVoice_Prefix_Start,
    altSectionVoice_Prefix_Continue,
    altSectionLyrics_Prefix_Start,
    altSectionLyrics_Prefix_Continue,
    altSectionTitle_Item,
    altSectionFonts_Item,
    altSectionOptions_Item,
    altSectionAttachments_Item,
    altSectionPage_Item,
    altSectionNone_LyricsPrefix_Start,
    altSectionNone_LyricsPrefix_Continue,
    altSectionNone_PrefixVoice_Start,
    altSectionNone_PrefixVoice_Continue,
    altSectionNone_PrefixNone,
    altReserved,
};
const char* EnumName(TNuo4ABCLineType AValue);

enum TNuo4ABCSectionType : uint8_t {
    astOptions,
    astFonts,
    astTitle,
    astVoice,
    astWords,
    astAttachments,
    astPage,
};
constexpr int Nuo4ABCSectionTypeCount = 7;
const char* EnumName(TNuo4ABCSectionType AValue);
// The header as written, for example ".Voice".
const char16_t* ABC_SectionHeaderName(TNuo4ABCSectionType AValue);
// The header line type (_Start) of a section.
TNuo4ABCLineType ABC_SectionStartLineType(TNuo4ABCSectionType AValue);
// Whether the type marks a header line (of a known or an unknown section).
bool ABC_IsHeaderLineType(TNuo4ABCLineType AValue);

// What the scanner knows about every line; all arrays have one element per line. Positions are
// UTF-16 code units of Text, whose line breaks are single CRs.
struct TNuo4ABCScanLines {
    TText Text;
    const TKoRangeArray& LineRanges;
    const std::vector<TNuo4ABCLineType>& LineTypes;
    const TTwoDimArrayOfTKoRange& NonCommentRanges;
};

}  // namespace nuo4
