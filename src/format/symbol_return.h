#pragma once
// Returns ("$"): paragraph marks that end a line of the score and carry the paragraph's
// properties ("$", "$(True)", "$(False,10.00)", "$(False,0.00,1.00,True)").

#include <string>

#include "format/abc_common.h"
#include "format/note_style_index.h"
#include "format/section_voice.h"
#include "format/symbol_control_options.h"

namespace nuo4 {

struct TrecNuo4SymbolReturnPrivateOptions {
    bool bJustifyHorz = false;      // stretch the line to the full width
    float IndentValue = 0;          // indent of the paragraph in millimetres
    float ParagraphGapCoef = 1.0f;  // space after the paragraph as a multiple
    bool bPageBreak = false;        // start a new page
    bool bJustifyVert = false;      // spread the lines of this page over its height

    void SetToDefault() { *this = TrecNuo4SymbolReturnPrivateOptions(); }
    bool IndentValueIsLocked() const;
    bool ParagraphGapCoefIsDefault() const;
    bool IsDefault() const;
    // "" when every option is default, otherwise "(...)" up to the last non-default option.
    std::u16string ToABCText() const;
    bool operator==(const TrecNuo4SymbolReturnPrivateOptions&) const = default;
};

struct TrecNuo4SymbolReturn {
    TrecNuo4NoteStyleIndex NoteStyleIndex;
    TrecNuo4SymbolControlOptions ControlOptions;
    TrecNuo4SymbolReturnPrivateOptions PrivateOptions;

    void SetToDefault() { *this = TrecNuo4SymbolReturn(); }
    // "$" + options text + control options text. The control options are written after the
    // options so that a return whose hide level or spacing was changed keeps them.
    std::u16string ToABCText(bool bPadWithSpace) const;
    bool operator==(const TrecNuo4SymbolReturn&) const = default;
};

struct TrecNuo4ABCParseInfo_Return : TrecNuo4ABCParseInfo_VoiceSymbol {
    // The header tokens the reader lists.
    TNuo4ABCTokenInfoItems TokenItems;
    TrecNuo4SymbolReturn Value;

    void SetToInvalid() { *this = TrecNuo4ABCParseInfo_Return(); }
    bool IsValid() const { return Header.IsValid(); }
    TNuo4ABCTokenInfoItems GetTokenItems() const override { return TokenItems; }
    TrecNuo4SymbolReturn ToSymbolRec() const { return Value; }
};

// "$", then "(" options ")" when a matching ")" follows directly (the items are read until one
// does not read; the return ends at the ")" whatever they hold), then an optional control
// options group. Header tokens: ttReturn ("$" and its options), ttControlOptions.
bool ReadReturn(TText AText, TKoRange ARange, TrecNuo4ABCParseInfo_Return& AReturn,
                int32_t& AEndPos);

}  // namespace nuo4
