#pragma once
// Page items of the ".Page" section. Minimal interface until the page grammar lands; its owner
// replaces this file.

#include <cstdint>
#include <string>
#include <vector>

#include "format/abc_common.h"
#include "format/abc_tokens.h"
#include "format/ko_range.h"

namespace nuo4 {

struct TrecNuo4SectionItem_Page {
    std::u16string ToABCText() const;
};

struct TrecNuo4SectiontItemWithParseInfo_Page {
    TrecNuo4ABCParseInfo_SymbolHeader Header;
    TrecNuo4SectionItem_Page Value;
};

bool ReadPageItem(TText AText, TKoRange ARange, TrecNuo4SectiontItemWithParseInfo_Page& AItem,
                  int32_t& AEndPos);

struct TrecNuo4ABCParseInfo_Section_Page {
    TKoRange ABCTextRange_SectionName;
    TKoRange ABCTextRange_All;
    TKoRange ABCTextRange_Line;  // line indexes
    std::vector<TrecNuo4SectiontItemWithParseInfo_Page> Buffer;

    void Clear() {
        ABCTextRange_SectionName.SetToInvalid();
        ABCTextRange_All.SetToInvalid();
        ABCTextRange_Line.SetToInvalid();
        Buffer.clear();
    }
    void AddItem(const TrecNuo4SectiontItemWithParseInfo_Page& AItem) { Buffer.push_back(AItem); }
    int GetCount() const { return static_cast<int>(Buffer.size()); }
    bool BufferIsEmpty() const { return Buffer.empty(); }
};

}  // namespace nuo4
