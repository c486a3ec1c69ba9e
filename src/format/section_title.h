#pragma once
// Title items of the ".Title" section and the title buffer. Minimal interface until the title
// grammar lands; its owner replaces this file.

#include <array>
#include <cstdint>
#include <string>

#include "format/abc_common.h"
#include "format/abc_tokens.h"
#include "format/ko_range.h"

namespace nuo4 {

enum TNuo4SectionTitleItemType : uint8_t {
    tbitIntro,
    tbitTitle,
    tbitSubTitle,
    tbitSubTitle2,
    tbitKeyAndMeters,
    tbitWordsByAndMusicBy,
    tbitExpression,
    tbitLinePos,
};
constexpr int Nuo4SectionTitleItemTypeCount = 8;
const char* EnumName(TNuo4SectionTitleItemType AValue);

struct TrecNUo4SectionTitleItem {
    TNuo4SectionTitleItemType ItemType = tbitIntro;
    std::u16string ABCText;
    std::array<float, Nuo4SectionTitleItemTypeCount> LinePosArray{};

    bool FromABCText(TText S, TKoRange ParseRange, TNuo4ABCTokenInfoItems& TokenItems,
                     int32_t& EndPos);
};

struct TrecNuo4SectionTitleBuffer {
    std::array<std::u16string, Nuo4SectionTitleItemTypeCount> ABCTextArray;
    std::array<float, Nuo4SectionTitleItemTypeCount> LinePosArray{};

    void SetToDefault();
    void UpdateFromItem(const TrecNUo4SectionTitleItem& AItem);
    std::u16string ToABCText(bool bWithSectionName) const;
};

struct TrecNuo4ABCParseInfo_Section_Title {
    TNuo4ABCTokenInfoItems TokenItems;
    TKoRange ABCTextRange_SectionName;
    TKoRange ABCTextRange_All;
    TKoRange ABCTextRange_Line;  // line indexes
    TrecNuo4SectionTitleBuffer Buffer;
    int ItemCount = 0;

    void Clear() {
        TokenItems.clear();
        ABCTextRange_SectionName.SetToInvalid();
        ABCTextRange_All.SetToInvalid();
        ABCTextRange_Line.SetToInvalid();
        Buffer.SetToDefault();
        ItemCount = 0;
    }
    void AddItem(const TrecNUo4SectionTitleItem& AItem, const TNuo4ABCTokenInfoItems& ATokens) {
        Buffer.UpdateFromItem(AItem);
        TokenItems.AddItems(ATokens);
        ++ItemCount;
    }
    int GetCount() const { return ItemCount; }
    bool BufferIsEmpty() const { return ItemCount == 0; }
};

}  // namespace nuo4
