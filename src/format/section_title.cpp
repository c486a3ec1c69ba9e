#include "format/section_title.h"

#include <vector>

namespace nuo4 {

namespace {

constexpr const char16_t* ItemNames[Nuo4TitleItemTypeCount] = {
    u"Intro",      u"Title",  u"SubTitle", u"SubTitle2", u"KeyAndMeters", u"WordsByAndMusicBy",
    u"Expression", u"LinePos"};

constexpr TNuo4FontUsage ItemFontUsages[Nuo4TitleItemTypeCount] = {
    fuIntro,      fuTitle,  fuSubTitle, fuSubTitle2, fuKeyAndMeters, fuWordsByAndMusicBy,
    fuExpression, fuDefault};

constexpr TNuo4TitleBlockTextHorzAlign ItemAligns[Nuo4TitleItemTypeCount] = {
    tbthaLeft, tbthaMiddle, tbthaMiddle, tbthaMiddle, tbthaLeft, tbthaRight, tbthaLeft, tbthaNone};

constexpr float DefaultLinePos[Nuo4TitleItemTypeCount] = {0, 0, 13, 20, 13, 13, 20, 0};

bool IsTextType(TNuo4SectionTitleItemType AType) {
    return AType < Nuo4TitleTextItemCount;
}

std::u16string TrimString(TText S) {
    size_t First = 0, Last = S.size();
    while (First < Last && ABC_IsWhiteChar(S[First])) ++First;
    while (Last > First && ABC_IsWhiteChar(S[Last - 1])) --Last;
    return std::u16string(S.substr(First, Last - First));
}

}  // namespace

const char* EnumName(TNuo4SectionTitleItemType AValue) {
    static constexpr const char* Names[] = {"tbitIntro",        "tbitTitle",
                                            "tbitSubTitle",     "tbitSubTitle2",
                                            "tbitKeyAndMeters", "tbitWordsByAndMusicBy",
                                            "tbitExpression",   "tbitLinePos"};
    return AValue < Nuo4TitleItemTypeCount ? Names[AValue] : "?";
}

const char* EnumName(TNuo4TitleBlockTextHorzAlign AValue) {
    static constexpr const char* Names[] = {"tbthaNone", "tbthaLeft", "tbthaMiddle", "tbthaRight"};
    return AValue <= tbthaRight ? Names[AValue] : "?";
}

const char16_t* SectionTitle_ItemName(TNuo4SectionTitleItemType AType) {
    return AType < Nuo4TitleItemTypeCount ? ItemNames[AType] : u"";
}

TNuo4FontUsage SectionTitle_ItemFontUsage(TNuo4SectionTitleItemType AType) {
    return AType < Nuo4TitleItemTypeCount ? ItemFontUsages[AType] : fuDefault;
}

TNuo4TitleBlockTextHorzAlign SectionTitle_ItemHorzAlign(TNuo4SectionTitleItemType AType) {
    return AType < Nuo4TitleItemTypeCount ? ItemAligns[AType] : tbthaNone;
}

// ---- One item line ------------------------------------------------------------------------

void TrecNUo4SectionTitleItem::InitializeToText(TNuo4SectionTitleItemType AItemTypeForText,
                                                TText AABCText) {
    ItemType = IsTextType(AItemTypeForText) ? AItemTypeForText : tbitIntro;
    ABCText = ABC_CutToCapacity(std::u16string(AABCText), Nuo4CharArray1Capacity);
    LinePosArray.fill(0);
}

void TrecNUo4SectionTitleItem::InitializeToLinePos(const TNuo4TitleLinePosArray& ALinePosArray) {
    ItemType = tbitLinePos;
    ABCText.clear();
    LinePosArray = ALinePosArray;
}

bool TrecNUo4SectionTitleItem::FromABCText(TText S, TKoRange ParseRange,
                                           TNuo4ABCTokenInfoItems& TokenItems, int32_t& EndPos) {
    TokenItems.clear();
    EndPos = -1;
    TKoRange NameRange;
    TKoRangeArray Values;
    int32_t SplitEnd = -1;
    if (!ABC_SplitNameValues(S, ParseRange, u',', u'=', true, false, NameRange, Values, SplitEnd))
        return false;
    static const std::vector<TText> Names(std::begin(ItemNames), std::end(ItemNames));
    int Index = -1;
    int32_t NameEnd = -1;
    if (!ABC_StartsWithOneOf(S, NameRange, Names, true, true, Index, NameEnd)) return false;
    const auto Type = static_cast<TNuo4SectionTitleItemType>(Index);
    const TKoRange NameToken = TKoRange::FromStartEnd(NameRange.StartIndex, NameEnd);

    if (Type == tbitLinePos) {
        if (Values.size() < static_cast<size_t>(Nuo4TitleTextItemCount)) return false;
        TNuo4TitleLinePosArray Positions{};
        TNuo4ABCTokenInfoItems Tokens;
        Tokens.AddItem(ttTitleItemName, NameToken);
        for (int I = 0; I < Nuo4TitleTextItemCount; ++I) {
            int32_t NumberEnd = -1;
            if (!ABC_ParseFloat(S, Values[I], false, Positions[I], NumberEnd)) return false;
            Tokens.AddItem(ttNumber, TKoRange::FromStartEnd(Values[I].StartIndex, NumberEnd));
        }
        InitializeToLinePos(Positions);
        TokenItems = std::move(Tokens);
        EndPos = SplitEnd;
        return true;
    }

    // The text is everything after "=" up to the last value, so commas and "=" inside it stay.
    const int32_t EqPos = ABC_Find(S, ParseRange, u"=");
    TKoRange TextRange = TKoRange::Invalid();
    if (SplitEnd > EqPos) TextRange = ABC_TrimRange(S, TKoRange::FromStartEnd(EqPos + 1, SplitEnd));
    InitializeToText(Type, TextRange.IsNonEmpty() ? TText(ABC_GetRangeText(S, TextRange)) : u"");
    TokenItems.AddItem(ttTitleItemName, NameToken);
    if (TextRange.IsNonEmpty()) TokenItems.AddItem(ttTitleItemText, TextRange);
    EndPos = SplitEnd;
    return true;
}

std::u16string TrecNUo4SectionTitleItem::ToABCText() const {
    std::u16string S = SectionTitle_ItemName(ItemType);
    S += u" = ";
    // The reader trims the text and the scanner sees comments before any item: a text set by a
    // program is written so that it reads back the same.
    if (ItemType != tbitLinePos) return S + ABC_GuardText(ABCText, tgEndWhite);
    for (int I = 0; I < Nuo4TitleTextItemCount; ++I) {
        if (I > 0) S += u", ";
        S += ABC_FormatFloat(LinePosArray[I], 1);
    }
    return S;
}

// ---- The title buffer ---------------------------------------------------------------------

void TrecNuo4SectionTitleBuffer::SetToDefault() {
    for (auto& T : ABCTextArray) T.clear();
    for (int I = 0; I < Nuo4TitleItemTypeCount; ++I) LinePosArray[I] = DefaultLinePos[I];
}

bool TrecNuo4SectionTitleBuffer::IsEmpty() const {
    for (int I = 0; I < Nuo4TitleTextItemCount; ++I)
        for (char16_t C : ABCTextArray[I])
            if (!ABC_IsWhiteChar(C)) return false;
    return true;
}

void TrecNuo4SectionTitleBuffer::Trim() {
    for (int I = 0; I < Nuo4TitleTextItemCount; ++I)
        ABCTextArray[I] = ABC_CutToCapacity(TrimString(ABCTextArray[I]), Nuo4CharArray1Capacity);
}

void TrecNuo4SectionTitleBuffer::SetText(TNuo4SectionTitleItemType AType, TText AText) {
    if (!IsTextType(AType)) return;
    ABCTextArray[AType] = ABC_CutToCapacity(std::u16string(AText), Nuo4CharArray1Capacity);
}

void TrecNuo4SectionTitleBuffer::UpdateFromItem(const TrecNUo4SectionTitleItem& AItem) {
    if (AItem.ItemType == tbitLinePos) {
        for (int I = 0; I < Nuo4TitleTextItemCount; ++I) LinePosArray[I] = AItem.LinePosArray[I];
        return;
    }
    SetText(AItem.ItemType, AItem.ABCText);
}

std::u16string TrecNuo4SectionTitleBuffer::ToABCText(bool bWithSectionName) const {
    std::u16string S;
    if (bWithSectionName) S += u".Title\r";
    TrecNUo4SectionTitleItem Item;
    for (int I = 0; I < Nuo4TitleTextItemCount; ++I) {
        Item.InitializeToText(static_cast<TNuo4SectionTitleItemType>(I), ABCTextArray[I]);
        S += Item.ToABCText() + u"\r";
    }
    Item.InitializeToLinePos(LinePosArray);
    return S + Item.ToABCText() + u"\r";
}

std::u16string TrecNuo4SectionTitleBuffer::ToABCText_SingleLine(bool bWithDaKuoHao) const {
    std::u16string S;
    // A lone brace would end or extend the group around its text.
    for (int I = 0; I < Nuo4TitleTextItemCount; ++I)
        S += u"{" + ABC_GuardText(ABCTextArray[I], tgBraces | tgAfterMark) + u"}, ";
    for (int I = 0; I < Nuo4TitleTextItemCount; ++I) {
        if (I > 0) S += u", ";
        S += ABC_FormatFloat(LinePosArray[I], 1);
    }
    return bWithDaKuoHao ? u"{" + S + u"}" : S;
}

std::u16string TrecNuo4SectionTitleBuffer::GetTitleText() const {
    std::u16string S;
    for (char16_t C : ABCTextArray[tbitTitle])
        if (C != u' ') S += C;
    return ABC_StripBracesOfString(S);
}

// ---- The section record -------------------------------------------------------------------

void TrecNuo4ABCParseInfo_Section_Title::Clear() {
    TokenItems.clear();
    ABCTextRange_SectionName.SetToInvalid();
    ABCTextRange_All.SetToInvalid();
    ABCTextRange_Line.SetToInvalid();
    Buffer.SetToDefault();
    ItemCount = 0;
}

void TrecNuo4ABCParseInfo_Section_Title::AddItem(const TrecNUo4SectionTitleItem& AItem,
                                                 const TNuo4ABCTokenInfoItems& ATokenItems) {
    Buffer.UpdateFromItem(AItem);
    TokenItems.AddItems(ATokenItems);
    ++ItemCount;
}

}  // namespace nuo4
