#pragma once
// Meter changes in the voice: "%d/%d" with an optional control options group ("3/4{C:1.200}").

#include <string>

#include "format/abc_common.h"
#include "format/music_common.h"
#include "format/note_style_index.h"
#include "format/section_voice.h"
#include "format/symbol_control_options.h"

namespace nuo4 {

struct TrecNuo4SymbolMeter {
    TrecNuo4NoteStyleIndex NoteStyleIndex;
    float Scale = 1.0f;
    TrecNuo4Meter Meter;
    TrecNuo4SymbolControlOptions ControlOptions;

    void SetToDefault() { *this = TrecNuo4SymbolMeter(); }
    // "%d/%d" + control options text; a free meter is written with the numerator 0.
    std::u16string ToABCText(bool bPadWithSpace) const;
    bool operator==(const TrecNuo4SymbolMeter&) const = default;
};

struct TrecNuo4ABCParseInfo_Meter : TrecNuo4ABCParseInfo_VoiceSymbol {
    // The header tokens the reader lists.
    TNuo4ABCTokenInfoItems TokenItems;
    TrecNuo4SymbolMeter Value;

    void SetToInvalid() { *this = TrecNuo4ABCParseInfo_Meter(); }
    bool IsValid() const { return Header.IsValid(); }
    TNuo4ABCTokenInfoItems GetTokenItems() const override { return TokenItems; }
    TrecNuo4SymbolMeter ToSymbolRec() const;
};

// At least three characters must remain in the range, so "2/4" never reads as a note. The
// denominator 0 reads ("1/0") and is left for TrecNuo4Meter::IsValid to reject. Header tokens:
// ttKeyAndMeters (the meter), ttControlOptions (when present).
bool ReadVoiceMeter(TText AText, TKoRange ARange, TrecNuo4ABCParseInfo_Meter& AMeter,
                    int32_t& AEndPos);

}  // namespace nuo4
