#pragma once
// Parsed symbols of the ".Voice" section and the dispatcher that reads one symbol of a voice
// token. The records of each kind are declared in their own headers (symbol_note.h,
// symbol_barline.h, symbol_meter.h, symbol_accomp_marker.h, symbol_return.h, symbol_text.h),
// which all build on the base record below.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "format/abc_common.h"
#include "format/abc_tokens.h"
#include "format/ko_range.h"

namespace nuo4 {

// The pool the voice records and their out-of-line parts come from: size classes of free
// lists, kept per thread for the whole program. Blocks freed go back to their class.
void* VoiceRecordPool_Allocate(size_t ASize);
void VoiceRecordPool_Release(void* APtr, size_t ASize) noexcept;
// The bytes of this thread's pool blocks handed out and not yet released: what the records of
// the scans alive hold (general heap counters do not see blocks reused from the free lists).
size_t VoiceRecordPool_BytesInUse();

// Base of every parsed voice symbol record (note, bar line, accompaniment marker, return,
// meter, text); Header.aType tells which record it is. The header holds the type and the
// symbol's range only: a note, the bulk of a voice, rebuilds its tokens from its parts instead
// of keeping a list beside them.
struct TrecNuo4ABCParseInfo_VoiceSymbol {
    TrecNuo4ABCParseInfo_PartHeader Header;
    virtual ~TrecNuo4ABCParseInfo_VoiceSymbol() = default;

    // The symbol's tokens in text order.
    virtual TNuo4ABCTokenInfoItems GetTokenItems() const = 0;
    // Type, range and tokens together.
    TrecNuo4ABCParseInfo_SymbolHeader GetFullHeader() const {
        TrecNuo4ABCParseInfo_SymbolHeader R;
        R.aType = Header.aType;
        R.ABCTextRange = Header.ABCTextRange;
        R.TokenItems = GetTokenItems();
        return R;
    }

    // A voice section holds one record per symbol and the whole section is rebuilt on every
    // keystroke; records come from size-class free lists instead of the general heap, which
    // spends most of a large score's rebuild coalescing freed blocks.
    static void* operator new(size_t ASize);
    static void operator delete(void* APtr, size_t ASize) noexcept;
};
using TNuo4VoiceSymbolPtr = std::unique_ptr<TrecNuo4ABCParseInfo_VoiceSymbol>;

// The symbol dispatcher: at the start of ARange (the rest of a voice token) tries a meter, a
// note, a bar line, an accompaniment marker, a text and a return, in this order; the first
// that reads wins. On failure ASymbol is empty and AEndPos -1.
bool ReadVoiceSymbol(TText AText, TKoRange ARange, TNuo4VoiceSymbolPtr& ASymbol, int32_t& AEndPos);

// The canonical text of a parsed symbol, written by its kind's writer (empty for a record of
// an unknown kind). bPadWithSpace adds one space on each side, except for notes, which are
// written one after another without separators.
std::u16string VoiceSymbolToABCText(const TrecNuo4ABCParseInfo_VoiceSymbol& ASymbol,
                                    bool bPadWithSpace);

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
