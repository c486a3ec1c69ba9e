#include "format/section_page.h"

#include "format/doc_options.h"

namespace nuo4 {

namespace {

constexpr const char16_t* ItemTypeNames[2] = {u"Memo", u"TitleBlock"};
constexpr const char16_t* AlignNames[3] = {u"AlignLeft", u"AlignCenter", u"AlignRight"};

// The value pieces that are not empty; the last one ends the line's values.
int32_t LastValueEnd(const TKoRangeArray& AValues) {
    for (auto It = AValues.rbegin(); It != AValues.rend(); ++It)
        if (It->IsNonEmpty()) return It->EndIndex();
    return -1;
}

// The raw text after the separator that follows value AIndex - 1, through AEnd:
// a text that runs over several values keeps its commas, and an empty first
// piece keeps its comma too.
TKoRange RawTextFrom(TText AText, const TKoRangeArray& AValues, size_t AIndex, int32_t AEnd) {
    if (AIndex == 0 || AIndex > AValues.size() || !AValues[AIndex - 1].IsNonEmpty())
        return TKoRange::Invalid();
    const int32_t PrevEnd = AValues[AIndex - 1].EndIndex();
    if (AEnd <= PrevEnd) return TKoRange::Invalid();
    const int32_t Sep = ABC_Find(AText, TKoRange::FromStartEnd(PrevEnd + 1, AEnd), u",");
    if (Sep < 0 || Sep >= AEnd) return TKoRange::Invalid();
    return ABC_TrimRange(AText, TKoRange::FromStartEnd(Sep + 1, AEnd));
}

}  // namespace

const char* EnumName(TNuo4SectionPageItemType AValue) {
    return AValue == spitMemo ? "spitMemo" : AValue == spitTitleBlock ? "spitTitleBlock" : "?";
}

const char16_t* SectionPage_ItemTypeName(TNuo4SectionPageItemType AType) {
    return AType <= spitTitleBlock ? ItemTypeNames[AType] : u"";
}

const char* EnumName(TNuo4MemoAlignType AValue) {
    static constexpr const char* Names[] = {"matNear", "matCenter", "matFar"};
    return AValue <= matFar ? Names[AValue] : "?";
}

const char16_t* MemoAlignName(TNuo4MemoAlignType AValue) {
    return AValue <= matFar ? AlignNames[AValue] : u"";
}

// ---- Writers
// ------------------------------------------------------------------------------

std::u16string TrecNuo4PageLocation::ToABCText() const {
    return u"@" + ABC_FormatInt(static_cast<int64_t>(PageIndex) + 1) + u"," +
           ABC_FormatFloat(PagePos.X, 2) + u"," + ABC_FormatFloat(PagePos.Y, 2);
}

std::u16string TrecNuo4SectionItem_Page_Header::ToABCText() const {
    return SectionPage_ItemTypeName(aType) + Location.ToABCText();
}

void TrecNuo4SymbolMemoPrivateOptions::SetABCText(TText AText) {
    ABCText = ABC_CutToCapacity(std::u16string(AText), Nuo4CharArray2Capacity);
}

std::u16string TrecNuo4SymbolMemoPrivateOptions::ToABCText() const {
    return ABC_FormatFloat(LayoutWidth, 1) + u", " + ABC_FontUsageName(FontUsage) + u", " +
           MemoAlignName(Align) + u", " + ABC_BoolToText(bWithFrame) + u", " +
           ABC_ColorToText(Color) + u", " + ABC_GuardText(ABCText, tgEndWhite);
}

void TrecNuo4SymbolTitleBlock::SetToDefault() {
    NoteStyleIndex.SetToDefault();
    LayoutWidth = Nuo4DocOptions().GetLayoutWidth();
    TitleBuffer.SetToDefault();
    Color = Nuo4DefaultColor;
}

std::u16string TrecNuo4SymbolTitleBlock::ToABCText() const {
    return ABC_FormatFloat(LayoutWidth, 1) + u", " + TitleBuffer.ToABCText_SingleLine(false) +
           u", " + ABC_ColorToText(Color);
}

void TrecNuo4SectionItem_Page::InitializeToMemo(const TrecNuo4PageLocation& ALocation) {
    Header.aType = spitMemo;
    Header.Location = ALocation;
    Memo.SetToDefault();
}

void TrecNuo4SectionItem_Page::InitializeToTitleBlock(const TrecNuo4PageLocation& ALocation) {
    Header.aType = spitTitleBlock;
    Header.Location = ALocation;
    TitleBlock.SetToDefault();
}

std::u16string TrecNuo4SectionItem_Page::ToABCText() const {
    return Header.ToABCText() + u" = " + (IsMemo() ? Memo.ToABCText() : TitleBlock.ToABCText());
}

// ---- Readers
// ------------------------------------------------------------------------------

bool ReadPageLocation(TText AText, TKoRange ARange, TrecNuo4PageLocation& ALocation,
                      int32_t& AEndPos) {
    ALocation.SetToDefault();
    AEndPos = -1;
    if (!ABC_RangeIsUsable(AText, ARange) || ARange.Length < 6 || AText[ARange.StartIndex] != u'@')
        return false;
    const TKoRange Rest = ABC_RangeFrom(ARange, ARange.StartIndex + 1);
    const TKoRangeArray Pieces = ABC_SplitBySeparator(AText, Rest, u',', true, true);
    if (Pieces.size() < 3) return false;
    int32_t Page = 0, End = -1;
    float X = 0, Y = 0;
    if (!ABC_ParseInt(AText, Pieces[0], Page, End)) return false;
    if (!ABC_ParseFloat(AText, Pieces[1], false, X, End)) return false;
    if (!ABC_ParseFloat(AText, Pieces[2], false, Y, End)) return false;
    // The page number counts from 1; 0 or below leaves a page index the placement
    // must handle.
    ALocation.PageIndex = static_cast<int32_t>(static_cast<int64_t>(Page) - 1);
    ALocation.PagePos = {X, Y};
    AEndPos = End;
    return true;
}

bool ReadPageItemHeader(TText AText, TKoRange ANameRange, TrecNuo4SectionItem_Page_Header& AHeader,
                        TNuo4ABCTokenInfoItems& ATokens, int32_t& AEndPos) {
    AHeader = TrecNuo4SectionItem_Page_Header();
    ATokens.clear();
    AEndPos = -1;
    static const std::vector<TText> Names(std::begin(ItemTypeNames), std::end(ItemTypeNames));
    int Index = -1;
    int32_t NameEnd = -1;
    if (!ABC_StartsWithOneOf(AText, ANameRange, Names, false, true, Index, NameEnd)) return false;
    // The location follows the type name directly: no white space before "@".
    const TKoRange LocationRange = ABC_RangeFrom(ANameRange, NameEnd + 1);
    TrecNuo4PageLocation Location;
    int32_t LocationEnd = -1;
    if (!ReadPageLocation(AText, LocationRange, Location, LocationEnd)) return false;
    AHeader.aType = static_cast<TNuo4SectionPageItemType>(Index);
    AHeader.Location = Location;
    ATokens.AddItem(ttSectionItemName, TKoRange::FromStartEnd(ANameRange.StartIndex, NameEnd));
    ATokens.AddItem(ttPageLocation, LocationRange);
    ATokens.AddItem(ttSectionPageItemHeader, ANameRange);
    AEndPos = ANameRange.EndIndex();
    return true;
}

bool ReadPageMemoValue(TText AText, const TKoRangeArray& AValues, TrecNuo4ABCParseInfo_Memo& AMemo,
                       int32_t& AEndPos) {
    AMemo = TrecNuo4ABCParseInfo_Memo();
    AEndPos = -1;
    if (AValues.size() < 5) return false;
    TrecNuo4SymbolMemoPrivateOptions O;
    int32_t End = -1;
    if (!ABC_ParseFloat(AText, AValues[0], false, O.LayoutWidth, End)) return false;
    if (!ABC_ParseFontUsage(AText, AValues[1], O.FontUsage, End)) return false;
    static const std::vector<TText> Aligns(std::begin(AlignNames), std::end(AlignNames));
    int AlignIndex = -1;
    if (!ABC_StartsWithOneOf(AText, AValues[2], Aligns, true, true, AlignIndex, End)) return false;
    O.Align = static_cast<TNuo4MemoAlignType>(AlignIndex);
    if (!ABC_ParseBool(AText, AValues[3], true, O.bWithFrame, End)) return false;
    size_t TextIndex = 4;
    TNuo4Color Color = Nuo4DefaultColor;
    if (ABC_ParseColor(AText, AValues[4], Color, End)) {
        O.Color = Color;
        TextIndex = 5;
        if (AValues.size() < 6) return false;
    }
    const int32_t LastEnd = LastValueEnd(AValues);
    const TKoRange TextRange = RawTextFrom(AText, AValues, TextIndex, LastEnd);
    if (!TextRange.IsNonEmpty()) return false;
    O.SetABCText(ABC_GetRangeText(AText, TextRange));
    AMemo.Value.PrivateOptions = std::move(O);
    AMemo.Header.aType = pitPageSymbol_Value;
    AMemo.Header.ABCTextRange = TKoRange::FromStartEnd(AValues[0].StartIndex, TextRange.EndIndex());
    AMemo.Header.TokenItems.AddItem(ttString, TextRange);
    AEndPos = TextRange.EndIndex();
    return true;
}

bool ReadPageTitleBlockValue(TText AText, const TKoRangeArray& AValues,
                             TrecNuo4ABCParseInfo_TitleBlock& ATitleBlock, int32_t& AEndPos) {
    ATitleBlock = TrecNuo4ABCParseInfo_TitleBlock();
    AEndPos = -1;
    constexpr size_t Count = 2 + 2 * Nuo4TitleTextItemCount;
    if (AValues.size() < Count) return false;
    TrecNuo4SymbolTitleBlock B;
    int32_t End = -1;
    if (!ABC_ParseFloat(AText, AValues[0], false, B.LayoutWidth, End)) return false;
    for (int I = 0; I < Nuo4TitleTextItemCount; ++I) {
        const TKoRange V = AValues[1 + I];
        // An empty piece is an empty text; the writer always wraps texts in braces.
        B.TitleBuffer.SetText(static_cast<TNuo4SectionTitleItemType>(I),
                              V.IsNonEmpty() ? ABC_GetRangeTextWithoutBraces(AText, V) : u"");
    }
    for (int I = 0; I < Nuo4TitleTextItemCount; ++I)
        if (!ABC_ParseFloat(AText, AValues[1 + Nuo4TitleTextItemCount + I], false,
                            B.TitleBuffer.LinePosArray[I], End))
            return false;
    const TKoRange ColorRange = AValues[Count - 1];
    if (!ABC_ParseColor(AText, ColorRange, B.Color, End)) return false;
    ATitleBlock.Value = std::move(B);
    ATitleBlock.Header.aType = pitPageSymbol_Value;
    ATitleBlock.Header.ABCTextRange = TKoRange::FromStartEnd(AValues[0].StartIndex, End);
    AEndPos = End;
    return true;
}

bool ReadPageItem(TText AText, TKoRange ARange, TrecNuo4SectiontItemWithParseInfo_Page& AItem,
                  int32_t& AEndPos) {
    AItem = TrecNuo4SectiontItemWithParseInfo_Page();
    AEndPos = -1;
    TKoRange NameRange;
    TKoRangeArray Values;
    int32_t SplitEnd = -1;
    if (!ABC_SplitNameValues(AText, ARange, u',', u'=', true, true, NameRange, Values, SplitEnd))
        return false;
    TrecNuo4SectiontItemWithParseInfo_Page Item;
    TNuo4ABCTokenInfoItems Tokens;
    int32_t End = -1;
    if (!ReadPageItemHeader(AText, NameRange, Item.Value.Header, Tokens, End)) return false;
    if (Item.Value.IsMemo()) {
        TrecNuo4ABCParseInfo_Memo Memo;
        if (!ReadPageMemoValue(AText, Values, Memo, End)) return false;
        Item.Value.Memo = std::move(Memo.Value);
        Tokens.AddItems(Memo.Header.TokenItems);
    } else {
        TrecNuo4ABCParseInfo_TitleBlock Block;
        if (!ReadPageTitleBlockValue(AText, Values, Block, End)) return false;
        Item.Value.TitleBlock = std::move(Block.Value);
        Tokens.AddItems(Block.Header.TokenItems);
    }
    Item.Header.aType = pitSectionItem_Page;
    Item.Header.ABCTextRange = TKoRange::FromStartEnd(NameRange.StartIndex, End);
    Item.Header.TokenItems = std::move(Tokens);
    AItem = std::move(Item);
    AEndPos = End;
    return true;
}

}  // namespace nuo4
