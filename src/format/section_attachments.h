#pragma once
// Attachment items of the ".Attachments" section. Minimal interface until the attachments
// grammar lands; its owner replaces this file.

#include <cstdint>
#include <string>
#include <vector>

#include "format/abc_common.h"
#include "format/abc_tokens.h"
#include "format/ko_range.h"

namespace nuo4 {

struct TrecNuo4SectionItem_Attachments {
    std::u16string ToABCText() const;
};

struct TrecNuo4SectiontItemWithParseInfo_Attachments {
    TrecNuo4ABCParseInfo_SymbolHeader Header;
    TrecNuo4SectionItem_Attachments Value;
};

bool ReadAttachmentItem(TText AText, TKoRange ARange,
                        TrecNuo4SectiontItemWithParseInfo_Attachments& AItem, int32_t& AEndPos);

struct TrecNuo4ABCParseInfo_Section_Attachments {
    TKoRange ABCTextRange_SectionName;
    TKoRange ABCTextRange_All;
    TKoRange ABCTextRange_Line;  // line indexes
    std::vector<TrecNuo4SectiontItemWithParseInfo_Attachments> Buffer;

    void Clear() {
        ABCTextRange_SectionName.SetToInvalid();
        ABCTextRange_All.SetToInvalid();
        ABCTextRange_Line.SetToInvalid();
        Buffer.clear();
    }
    void AddItem(const TrecNuo4SectiontItemWithParseInfo_Attachments& AItem) {
        Buffer.push_back(AItem);
    }
    int GetCount() const { return static_cast<int>(Buffer.size()); }
    bool BufferIsEmpty() const { return Buffer.empty(); }
};

}  // namespace nuo4
