#pragma once
// Font items of the ".Fonts" section. Minimal interface until the fonts grammar lands; its
// owner replaces this file.

#include <cstdint>
#include <string>
#include <vector>

#include "format/abc_common.h"
#include "format/abc_tokens.h"
#include "format/ko_range.h"

namespace nuo4 {

struct TrecNuo4FontInfo {
    std::u16string FamilyName;
    float Size = 0;  // millimetres
    TNuo4FontStyles Style = 0;
};

struct TrecNuo4ABCParseInfo_FontInfo {
    TrecNuo4ABCParseInfo_SymbolHeader Header;
    TrecNuo4FontInfo FontInfo;
    TNuo4FontUsage FontUsage = fuDefault;

    std::u16string ToABCText() const;
};

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
    int GetCount() const { return static_cast<int>(Buffer.size()); }
    bool BufferIsEmpty() const { return Buffer.empty(); }
};

}  // namespace nuo4
