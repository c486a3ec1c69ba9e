#pragma once
// Parsed symbols of the ".Voice" section. Minimal interface until the voice grammar lands; its
// owner replaces this file.

#include <cstdint>
#include <memory>
#include <vector>

#include "format/abc_common.h"
#include "format/abc_tokens.h"
#include "format/ko_range.h"

namespace nuo4 {

// Base of every parsed voice symbol record (note, bar line, accompaniment marker, return,
// meter, text); Header.aType tells which record it is.
struct TrecNuo4ABCParseInfo_VoiceSymbol {
    TrecNuo4ABCParseInfo_SymbolHeader Header;
    virtual ~TrecNuo4ABCParseInfo_VoiceSymbol() = default;
};
using TNuo4VoiceSymbolPtr = std::unique_ptr<TrecNuo4ABCParseInfo_VoiceSymbol>;

// The symbol dispatcher: meter, note, bar line, accompaniment marker, text, return.
bool ReadVoiceSymbol(TText AText, TKoRange ARange, TNuo4VoiceSymbolPtr& ASymbol, int32_t& AEndPos);

struct TrecNuo4ABCParseInfo_Section_Voice {
    TKoRange ABCTextRange_SectionName;
    TKoRange ABCTextRange_All;
    TKoRange ABCTextRange_Line;  // line indexes
    TKoRange PrefixRange;
    std::vector<TNuo4VoiceSymbolPtr> Buffer;

    void Clear() {
        ABCTextRange_SectionName.SetToInvalid();
        ABCTextRange_All.SetToInvalid();
        ABCTextRange_Line.SetToInvalid();
        PrefixRange.SetToInvalid();
        Buffer.clear();
    }
    void AddItem(TNuo4VoiceSymbolPtr ASymbol) { Buffer.push_back(std::move(ASymbol)); }
    int GetCount() const { return static_cast<int>(Buffer.size()); }
    bool BufferIsEmpty() const { return Buffer.empty(); }
};

}  // namespace nuo4
