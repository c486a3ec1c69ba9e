#pragma once
// Document options: the option items of the ".Options" section and the process-wide options.
// Minimal interface until the options grammar lands; its owner replaces this file.

#include <cstdint>
#include <string>
#include <vector>

#include "format/abc_common.h"
#include "format/abc_tokens.h"
#include "format/ko_range.h"

namespace nuo4 {

enum TNuo4SectionOptionItemType : uint8_t {
    soitDigit,
    soitPaper,
    soitHorzSpacing_AW,
    soitHorzSpacing_Gap,
    soitVertSpacing,
    soitFitFactor,
    soitArc,
    soitAccomp,
    soitChord,
    soitDrumPitchChar,
    soitLyric,
};
const char* EnumName(TNuo4SectionOptionItemType AValue);

struct TrecNuo4ABCParseInfo_OptionItem {
    TrecNuo4ABCParseInfo_SymbolHeader Header;
    TKoRange NameRange;
    TKoRangeArray ValueRanges;
    TNuo4SectionOptionItemType ItemType = soitDigit;

    std::u16string ToABCText() const;
};

// bParseOnly false also assigns the values to the global options.
bool ReadOptionItem(TText AText, TKoRange ARange, TrecNuo4ABCParseInfo_OptionItem& AItem,
                    bool bParseOnly, int32_t& AEndPos);

struct TrecNuo4ABCParseInfo_Section_Options {
    TKoRange ABCTextRange_SectionName;
    TKoRange ABCTextRange_All;
    TKoRange ABCTextRange_Line;  // line indexes
    std::vector<TrecNuo4ABCParseInfo_OptionItem> Buffer;

    void Clear() {
        ABCTextRange_SectionName.SetToInvalid();
        ABCTextRange_All.SetToInvalid();
        ABCTextRange_Line.SetToInvalid();
        Buffer.clear();
    }
    void AddItem(const TrecNuo4ABCParseInfo_OptionItem& AItem) { Buffer.push_back(AItem); }
    int GetCount() const { return static_cast<int>(Buffer.size()); }
    bool BufferIsEmpty() const { return Buffer.empty(); }
};

struct TrecNuo4DocOptions {
    void SetToDefault();
};

// The process-wide current options.
TrecNuo4DocOptions& Nuo4DocOptions();

}  // namespace nuo4
