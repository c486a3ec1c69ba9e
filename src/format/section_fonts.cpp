#include "format/section_fonts.h"

namespace nuo4 {

std::u16string TrecNuo4FontInfo::ToABCText() const {
    std::u16string S = FamilyName + u", " + ABC_FormatFloat(Size, 2);
    if (Style != 0) S += u", " + ABC_FontStyleToText(Style);
    return S;
}

std::u16string TrecNuo4ABCParseInfo_FontInfo::ToABCText() const {
    return std::u16string(ABC_FontUsageName(FontUsage)) + u" = " + FontInfo.ToABCText();
}

bool ReadFontItem(TText AText, TKoRange ARange, TrecNuo4ABCParseInfo_FontInfo& AItem,
                  int32_t& AEndPos) {
    AItem = TrecNuo4ABCParseInfo_FontInfo();
    AEndPos = -1;
    TKoRange NameRange;
    TKoRangeArray Values;
    int32_t SplitEnd = -1;
    if (!ABC_SplitNameValues(AText, ARange, u',', u'=', true, true, NameRange, Values, SplitEnd))
        return false;
    TNuo4FontUsage Usage = fuDefault;
    int32_t UsageEnd = -1;
    if (!ABC_ParseFontUsage(AText, NameRange, Usage, UsageEnd)) return false;
    if (Values.size() < 2 || !Values[0].IsNonEmpty()) return false;
    float Size = 0;
    int32_t SizeEnd = -1;
    if (!ABC_ParseFloat(AText, Values[1], false, Size, SizeEnd) || !(Size > 0)) return false;

    TrecNuo4ABCParseInfo_FontInfo Item;
    Item.FontUsage = Usage;
    Item.FontInfo.Initialize(ABC_GetRangeText(AText, Values[0]), Size, 0);
    auto& Tokens = Item.Header.TokenItems;
    Tokens.AddItem(ttFontUsage, TKoRange::FromStartEnd(NameRange.StartIndex, UsageEnd));
    Tokens.AddItem(ttString, Values[0]);
    Tokens.AddItem(ttNumber, TKoRange::FromStartEnd(Values[1].StartIndex, SizeEnd));
    int32_t End = SizeEnd;
    TNuo4FontStyles Style = 0;
    int32_t StyleEnd = -1;
    if (Values.size() >= 3 && ABC_ParseFontStyle(AText, Values[2], Style, StyleEnd)) {
        Item.FontInfo.Style = Style;
        Tokens.AddItem(ttFontStyle, TKoRange::FromStartEnd(Values[2].StartIndex, StyleEnd));
        End = StyleEnd;
    }
    Item.Header.aType = pitFontInfo;
    Item.Header.ABCTextRange = TKoRange::FromStartEnd(NameRange.StartIndex, End);
    AItem = std::move(Item);
    AEndPos = End;
    return true;
}

int32_t TrecNuo4ABCParseInfo_Section_Fonts::IndexOfUsage(TNuo4FontUsage AUsage) const {
    for (size_t I = 0; I < Buffer.size(); ++I)
        if (Buffer[I].FontUsage == AUsage) return static_cast<int32_t>(I);
    return -1;
}

}  // namespace nuo4
