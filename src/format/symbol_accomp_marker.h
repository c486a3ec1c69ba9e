#pragma once
// Accompaniment markers: "(" starts and ")" ends a passage played by the accompaniment. Notes
// are tried first, so a marker stands as a token of its own.

#include <cstdint>
#include <string>

#include "format/abc_common.h"
#include "format/note_style_index.h"
#include "format/section_voice.h"
#include "format/symbol_control_options.h"

namespace nuo4 {

enum TNuo4SymbolAccompMarkerType : uint8_t { sctStart, sctEnd };
const char* EnumName(TNuo4SymbolAccompMarkerType AValue);

struct TrecNuo4SymbolAccompMarker {
    TrecNuo4NoteStyleIndex NoteStyleIndex;
    float Scale = 1.0f;
    TNuo4SymbolAccompMarkerType aType = sctStart;
    TrecNuo4SymbolControlOptions ControlOptions;

    void SetToDefault() { *this = TrecNuo4SymbolAccompMarker(); }
    // "(" or ")" + control options text.
    std::u16string ToABCText(bool bPadWithSpace) const;
    bool operator==(const TrecNuo4SymbolAccompMarker&) const = default;
};

struct TrecNuo4ABCParseInfo_AccompMarker : TrecNuo4ABCParseInfo_VoiceSymbol {
    // The header tokens the reader lists.
    TNuo4ABCTokenInfoItems TokenItems;
    TrecNuo4SymbolAccompMarker Value;

    void SetToInvalid() { *this = TrecNuo4ABCParseInfo_AccompMarker(); }
    bool IsValid() const { return Header.IsValid(); }
    TNuo4ABCTokenInfoItems GetTokenItems() const override { return TokenItems; }
    TrecNuo4SymbolAccompMarker ToSymbolRec() const;
};

// Header tokens: ttAccompMarker (the parenthesis), ttControlOptions (when present).
bool ReadAccompMarker(TText AText, TKoRange ARange, TrecNuo4ABCParseInfo_AccompMarker& AMarker,
                      int32_t& AEndPos);

}  // namespace nuo4
