#pragma once
// The ".Fonts" section: one line per font usage, "Usage = family, size[, [style]]", the size
// in millimetres.

#include <cstdint>
#include <string>
#include <vector>

#include "format/abc_common.h"
#include "format/abc_tokens.h"
#include "format/ko_range.h"

namespace nuo4 {

struct TrecNuo4FontInfo {
    std::u16string FamilyName;
    float Size = 0;             // millimetres
    TNuo4FontStyles Style = 0;  // fsBold | fsItalic | fsUnderline | fsStrikeOut

    void SetToInvalid() {
        FamilyName.clear();
        Size = 0;
        Style = 0;
    }
    void Initialize(TText AFamilyName, float ASize, TNuo4FontStyles AStyle) {
        FamilyName = std::u16string(AFamilyName);
        Size = ASize;
        Style = AStyle;
    }
    bool IsValid() const { return !FamilyName.empty() && Size > 0; }
    // "family, size" or "family, size, [style]" (size "%.2f"; the style only when not empty).
    std::u16string ToABCText() const;

    bool operator==(const TrecNuo4FontInfo&) const = default;
};

struct TrecNuo4ABCParseInfo_FontInfo {
    TrecNuo4ABCParseInfo_SymbolHeader Header;  // pitFontInfo
    TrecNuo4FontInfo FontInfo;
    TNuo4FontUsage FontUsage = fuDefault;

    // "Usage = font text"
    std::u16string ToABCText() const;
};

// Reads one font item line in ARange. The family name is taken raw (braces included); the
// size must be a number above 0; a third value that is no font style is ignored.
bool ReadFontItem(TText AText, TKoRange ARange, TrecNuo4ABCParseInfo_FontInfo& AItem,
                  int32_t& AEndPos);

struct TrecNuo4ABCParseInfo_Section_Fonts {
    TKoRange ABCTextRange_SectionName;
    TKoRange ABCTextRange_All;
    TKoRange ABCTextRange_Line;  // line indexes
    std::vector<TrecNuo4ABCParseInfo_FontInfo> Buffer;

    void Clear() {
        ABCTextRange_SectionName.SetToInvalid();
        ABCTextRange_All.SetToInvalid();
        ABCTextRange_Line.SetToInvalid();
        Buffer.clear();
    }
    void AddItem(const TrecNuo4ABCParseInfo_FontInfo& AItem) { Buffer.push_back(AItem); }
    int32_t GetCount() const { return static_cast<int32_t>(Buffer.size()); }
    bool BufferIsEmpty() const { return Buffer.empty(); }
    // Index of the first item of the usage, -1 when none (the edit replaces that one).
    int32_t IndexOfUsage(TNuo4FontUsage AUsage) const;
};

}  // namespace nuo4
