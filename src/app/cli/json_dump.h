#pragma once
// JSON forms of parse records for the dumps of nuo4-cli. Ranges are [StartIndex, Length] in
// UTF-16 positions of the scanned text; enumeration values are written by their names.

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "format/abc_common.h"
#include "format/abc_tokens.h"
#include "format/ko_range.h"
#include "format/music_common.h"

namespace nuo4 {
struct TrecNuo4ABCParseInfo_Section_Title;
struct TrecNuo4ABCParseInfo_Section_Fonts;
struct TrecNuo4ABCParseInfo_Section_Page;
struct TrecNuo4ABCParseInfo_Section_Voice;
struct TrecNuo4ABCParseInfo_Section_Lyrics;
struct TrecNuo4ABCParseInfo_Section_Attachments;
struct TrecNuo4ABCParseInfo_Note;
struct TrecNuo4ABCParseInfo_VoiceSymbol;
struct TrecNuo4SymbolControlOptions;
struct TrecNuo4ABCParseInfo_OptionItem;
class TNuo4SimpleBuffer;
struct TrecNuo4ArcInfoItem;
struct TrecNuo4FangZiInfoItem;
}  // namespace nuo4

namespace nuo4::cli {

using json = nlohmann::ordered_json;

json RangeToJson(TKoRange ARange);
json RangesToJson(const TKoRangeArray& ARanges);
json TokensToJson(const TNuo4ABCTokenInfoItems& ATokens);
// {"aType", "ABCTextRange", "TokenItems"}
json HeaderToJson(const TrecNuo4ABCParseInfo_SymbolHeader& AHeader);
std::string Utf8(std::u16string_view S);
// {"Digit", "Accidental", "Octave", "DrumPitch", "Text"}
json PitchToJson(const TrecNuo4Pitch& APitch);
json PitchesToJson(const TNuo4Pitches& APitches);

// Section dumps: the ranges, every item with its values and "text" from its writer
// (json_title.cpp).
json TitleSectionToJson(const TrecNuo4ABCParseInfo_Section_Title& ASection);
json FontsSectionToJson(const TrecNuo4ABCParseInfo_Section_Fonts& ASection);
json PageSectionToJson(const TrecNuo4ABCParseInfo_Section_Page& ASection);
// {"ItemType", "Header", "NameRange", "ValueRanges", "bAllValuesAccepted", "Values" (the
// group's fields by name), "text"}; defined in json_options.cpp.
json OptionItemToJson(const TrecNuo4ABCParseInfo_OptionItem& AItem);
// A voice note: its header with "Text" (the note's text in AText), then every sub-record with
// its header and value: pitches as {"Digit", "Accidental", "Octave", "DrumPitch"}, the
// duration, grace "Value" and "Value2", articulations, arc starts with "Depth", "ABCInfo" and
// "TextRange", the arc-end count and the control options.
json NoteToJson(const TrecNuo4ABCParseInfo_Note& ANote, TText AText);
// {"AWCoef": {"AWCoef", "RightLineSpacingCoefArray"}, "HideLevel", "UnderlineConnectType"}
json ControlOptionsToJson(const TrecNuo4SymbolControlOptions& AOptions);
// The ".Voice" section: ranges, PrefixRange and every symbol with its values and "text"
// ("Buffer", the last key, left empty without bWithSymbols: a long voice is written a symbol at
// a time by VoiceSymbolToJson).
json VoiceSectionToJson(const TrecNuo4ABCParseInfo_Section_Voice& ASection, TText AText,
                        bool bWithSymbols = true);
json VoiceSymbolToJson(const TrecNuo4ABCParseInfo_VoiceSymbol& ASymbol, TText AText);
// The ".Words" section: verses with prefix and lyrics.
json LyricsSectionToJson(const TrecNuo4ABCParseInfo_Section_Lyrics& ASection, TText AText);
// The ".Attachments" section: its ranges and items, each with its parse header, its own header
// (kind, location, offset), the record of its kind, "source" (its text in AText) and "text"
// (the item line as the writer writes it).
json AttachmentsSectionToJson(const TrecNuo4ABCParseInfo_Section_Attachments& ASection,
                              TText AText);

// Layout dumps (json_layout_symbols.cpp), positions and boxes in mm on the page: every attach
// symbol {"Index", "Kind" (its symbol type), "SourceIndex", "SourceIndex2", "AttachPos", "Page",
// "Pos", "Bounds": {"Black", "Layout"}}; every page symbol {"Index", "Kind", "Page", "Pos",
// "Bounds"}; the arc and volta information items with their fields by name.
json AttachSymbolsToJson(TNuo4SimpleBuffer& B);
json PageSymbolsToJson(TNuo4SimpleBuffer& B);
json ArcInfoArrayToJson(const std::vector<TrecNuo4ArcInfoItem>& AArcs);
json FangZiInfoArrayToJson(const std::vector<TrecNuo4FangZiInfoItem>& AVoltas);

}  // namespace nuo4::cli
