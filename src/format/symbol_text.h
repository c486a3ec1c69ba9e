#pragma once
// Standard texts: quoted texts of the voice made of text elements, which also carry key and
// meter changes and tempo marks ('"{1=D}"', '"{J=96}"', '"rit."'). Outside the voice the same
// text is read from a whole range without quotes.

#include <string>

#include "format/abc_common.h"
#include "format/note_style_index.h"
#include "format/section_voice.h"
#include "format/symbol_control_options.h"
#include "format/text_element.h"

namespace nuo4 {

struct TrecNuo4SymbolText {
    TrecNuo4NoteStyleIndex NoteStyleIndex;
    float Scale = 1.0f;
    std::u16string Text_ABC;  // exactly as written between the quotes, escapes included
    TNuo4FontUsage FontUsage = fuText;
    TrecNuo4SymbolControlOptions ControlOptions;

    void SetToDefault() { *this = TrecNuo4SymbolText(); }
    // A double quote, Text_ABC, a double quote, then the control options text. Text_ABC is
    // written as it is: a space in a voice text must already be the escape "\s".
    std::u16string ToABCText(bool bPadWithSpace) const;
    TNuo4TextElementArray GetElementArray() const { return GetElementArray_FromABCText(Text_ABC); }
    bool operator==(const TrecNuo4SymbolText&) const = default;
};

struct TrecNuo4ABCParseInfo_Text : TrecNuo4ABCParseInfo_VoiceSymbol {
    // The header tokens the reader lists.
    TNuo4ABCTokenInfoItems TokenItems;
    TrecNuo4SymbolText Value;

    void SetToInvalid() { *this = TrecNuo4ABCParseInfo_Text(); }
    bool IsValid() const { return Header.IsValid(); }
    TNuo4ABCTokenInfoItems GetTokenItems() const override { return TokenItems; }
    TrecNuo4SymbolText ToSymbolRec() const;
    // The elements with their places, read again from the scanned text AText: only the parse
    // dump asks for them, so the record does not keep them.
    TNuo4TextElementParseInfoArray GetElementArrayWithParseInfo(TText AText) const;

    // Whether the text stands for a key or meter change: Text_ABC holds "{", "}" and "1=" or
    // "/", and every one of "1=" and "/" it holds is matched by a key-and-meters element with
    // a valid key, respectively with a meter. An empty text passes.
    bool CheckForKeyAndMeters() const;
    // Every element is white space or normal text.
    bool IsNormalTextOnly() const;
};

// A voice text: from a double quote to the next one in the range, not empty, then an optional
// control options group. Header tokens: ttText (the quotes and what they hold),
// ttControlOptions (when present).
bool ReadVoiceText(TText AText, TKoRange ARange, TrecNuo4ABCParseInfo_Text& AText_,
                   int32_t& AEndPos);

// A text outside the voice (attachments, page, title): the whole range is Text_ABC. Fails only
// on an unusable range.
bool ReadStandardText(TText AText, TKoRange ARange, TrecNuo4ABCParseInfo_Text& AText_);

}  // namespace nuo4
