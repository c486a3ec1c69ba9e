#pragma once
// JSON forms of parse records for the dumps of nuo4-cli. Ranges are [StartIndex, Length] in
// UTF-16 positions of the scanned text; enumeration values are written by their names.

#include <nlohmann/json.hpp>
#include <string>

#include "format/abc_common.h"
#include "format/abc_tokens.h"
#include "format/ko_range.h"

namespace nuo4 {
struct TrecNuo4ABCParseInfo_Section_Lyrics;
}

namespace nuo4::cli {

using json = nlohmann::ordered_json;

json RangeToJson(TKoRange ARange);
json RangesToJson(const TKoRangeArray& ARanges);
json TokensToJson(const TNuo4ABCTokenInfoItems& ATokens);
// {"aType", "ABCTextRange", "TokenItems"}
json HeaderToJson(const TrecNuo4ABCParseInfo_SymbolHeader& AHeader);
std::string Utf8(std::u16string_view S);

// The lyrics section: ranges, and per verse its prefix, its lyrics (data, centred range,
// extension counts, skip marker, bLineBreak) and its "text" as the writers give it. AText is
// the scanned text the ranges refer to; each range also carries its text.
json LyricsSectionToJson(const TrecNuo4ABCParseInfo_Section_Lyrics& ASection, TText AText);

}  // namespace nuo4::cli
