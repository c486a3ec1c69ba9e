#pragma once
// Bar lines of the voice: eight styles, an optional control options group and an optional
// volta label that starts a volta bracket at the bar line ("|", ":|[2.", "||{C:1.500}").

#include <cstdint>
#include <string>

#include "format/abc_common.h"
#include "format/abc_tokens.h"
#include "format/note_style_index.h"
#include "format/section_voice.h"
#include "format/symbol_control_options.h"

namespace nuo4 {

enum TNuo4BarlineStyle : uint8_t {
    blsNormal,
    blsRepeatStart,
    blsRepeatEnd,
    blsFinal,
    blsDouble,
    blsDashed,
    blsRepeatBoth,
    blsInvisible,
};
constexpr int Nuo4BarlineStyleCount = 8;
const char* EnumName(TNuo4BarlineStyle AValue);
// "|", "|:", ":|", "|]", "||", "::", ":|:", "[|]".
const char16_t* BarlineStyleText(TNuo4BarlineStyle AValue);
// The longest style text the range starts with (exact case).
bool ReadBarlineStyle(TText AText, TKoRange ARange, TNuo4BarlineStyle& AStyle, int32_t& AEndPos);

// A volta bracket that starts at this bar line, with its label (kept in score-text escapes).
struct TrecNuo4BarlineAttachments_FangZi {
    bool bWithFangZi = false;
    std::u16string FangZiText;  // at most Nuo4CharArray1Capacity characters

    void SetToDefault() { *this = TrecNuo4BarlineAttachments_FangZi(); }
    void SetFangZiText(std::u16string AText) {
        FangZiText = ABC_CutToCapacity(std::move(AText), Nuo4CharArray1Capacity);
    }
    // "[" + label when present, else nothing.
    std::u16string ToABCText() const;
    bool operator==(const TrecNuo4BarlineAttachments_FangZi&) const = default;
};

struct TrecNuo4SymbolBarline {
    TrecNuo4NoteStyleIndex NoteStyleIndex;
    float Scale = 1.0f;
    TNuo4BarlineStyle BarlineStyle = blsNormal;
    TrecNuo4SymbolControlOptions ControlOptions;
    TrecNuo4BarlineAttachments_FangZi FangZi;

    void SetToDefault() { *this = TrecNuo4SymbolBarline(); }
    bool IsLeftRepeat() const { return BarlineStyle == blsRepeatStart; }
    bool IsRightRepeat() const { return BarlineStyle == blsRepeatEnd; }
    // Whether a volta bracket may end at this bar line.
    bool CanEndWithFangZi() const;
    // Style text + control options text + volta part.
    std::u16string ToABCText(bool bPadWithSpace) const;
    bool operator==(const TrecNuo4SymbolBarline&) const = default;
};

// The bar line without its volta part: the style and the control options group. Its tokens
// (the style text, the group) follow the ttBarline_Pure token in the bar line's header; its
// options are the bar line's.
struct TrecNuo4ABCParseInfo_Barline_Pure {
    TrecNuo4ABCParseInfo_PartHeader Header;  // pitBarline_Pure
    TNuo4BarlineStyle Style = blsNormal;
    bool bLineBreak = false;
};

struct TrecNuo4ABCParseInfo_Barline : TrecNuo4ABCParseInfo_VoiceSymbol {
    // The header tokens the reader lists.
    TNuo4ABCTokenInfoItems TokenItems;
    TrecNuo4ABCParseInfo_Barline_Pure Pure;
    TrecNuo4SymbolBarline Value;

    void SetToInvalid() { *this = TrecNuo4ABCParseInfo_Barline(); }
    bool IsValid() const { return Header.IsValid(); }
    TNuo4ABCTokenInfoItems GetTokenItems() const override { return TokenItems; }
    TrecNuo4SymbolBarline ToSymbolRec() const;
};

// Header tokens in order: ttBarline_Pure (style and options), ttBarline_Pure_Barline (the
// style text), ttControlOptions (when present), ttBarline_FangZi ("[" through the label).
bool ReadBarline(TText AText, TKoRange ARange, TrecNuo4ABCParseInfo_Barline& ABarline,
                 int32_t& AEndPos);

}  // namespace nuo4
