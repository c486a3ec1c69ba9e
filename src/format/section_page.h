#pragma once
// The ".Page" section: symbols placed freely on a page, each on one line
//   Memo@page,x,y = width, usage, align, frame[, colour], text
//   TitleBlock@page,x,y = width, {intro}, ... {expression}, p1, ..., p7, colour
// Page numbers in the text count from 1; positions are millimetres from the paper's top-left
// corner to the top-left corner of the symbol's box.

#include <cstdint>
#include <string>
#include <vector>

#include "format/abc_common.h"
#include "format/abc_tokens.h"
#include "format/ko_range.h"
#include "format/note_style_index.h"
#include "format/section_title.h"

namespace nuo4 {

struct TNuo4PagePoint {
    float X = 0;
    float Y = 0;
    bool operator==(const TNuo4PagePoint&) const = default;
};

struct TrecNuo4PageLocation {
    int32_t PageIndex = 0;  // from 0
    TNuo4PagePoint PagePos;

    void SetToDefault() { *this = TrecNuo4PageLocation(); }
    // "@%d,%.2f,%.2f" with the page number counted from 1.
    std::u16string ToABCText() const;
    bool operator==(const TrecNuo4PageLocation&) const = default;
};

enum TNuo4SectionPageItemType : uint8_t { spitMemo, spitTitleBlock };
const char* EnumName(TNuo4SectionPageItemType AValue);
const char16_t* SectionPage_ItemTypeName(TNuo4SectionPageItemType AType);  // "Memo", "TitleBlock"

struct TrecNuo4SectionItem_Page_Header {
    TNuo4SectionPageItemType aType = spitMemo;
    TrecNuo4PageLocation Location;

    std::u16string ToABCText() const;  // type name + location
    bool operator==(const TrecNuo4SectionItem_Page_Header&) const = default;
};

enum TNuo4MemoAlignType : uint8_t { matNear, matCenter, matFar };
const char* EnumName(TNuo4MemoAlignType AValue);
const char16_t* MemoAlignName(TNuo4MemoAlignType AValue);  // "AlignLeft" ...

struct TrecNuo4SymbolMemoPrivateOptions {
    float LayoutWidth = 0;  // mm; 0 = no wrapping
    TNuo4FontUsage FontUsage = fuMemo1;
    std::u16string ABCText;  // as written, at most 1000 characters
    TNuo4MemoAlignType Align = matNear;
    bool bWithFrame = false;
    TNuo4Color Color = Nuo4DefaultColor;

    void SetToDefault() { *this = TrecNuo4SymbolMemoPrivateOptions(); }
    void SetABCText(TText AText);
    // "%.1f, usage, align, frame, colour, text"
    std::u16string ToABCText() const;
    bool operator==(const TrecNuo4SymbolMemoPrivateOptions&) const = default;
};

struct TrecNuo4SymbolMemo {
    TrecNuo4NoteStyleIndex NoteStyleIndex;
    TrecNuo4SymbolMemoPrivateOptions PrivateOptions;

    void SetToDefault() { *this = TrecNuo4SymbolMemo(); }
    std::u16string ToABCText() const { return PrivateOptions.ToABCText(); }
    bool operator==(const TrecNuo4SymbolMemo&) const = default;
};

struct TrecNuo4SymbolTitleBlock {
    TrecNuo4NoteStyleIndex NoteStyleIndex;
    float LayoutWidth = 0;  // mm
    TrecNuo4SectionTitleBuffer TitleBuffer;
    TNuo4Color Color = Nuo4DefaultColor;

    TrecNuo4SymbolTitleBlock() { SetToDefault(); }
    // The layout width of the current paper and a default title buffer.
    void SetToDefault();
    // "%.1f, {t1}, ... {t7}, p1, ..., p7, colour"
    std::u16string ToABCText() const;
    bool operator==(const TrecNuo4SymbolTitleBlock&) const = default;
};

struct TrecNuo4SectionItem_Page {
    TrecNuo4SectionItem_Page_Header Header;
    TrecNuo4SymbolMemo Memo;              // spitMemo
    TrecNuo4SymbolTitleBlock TitleBlock;  // spitTitleBlock

    bool IsMemo() const { return Header.aType == spitMemo; }
    bool IsTitleBlock() const { return Header.aType == spitTitleBlock; }
    void SetToDefaultForMemo() { InitializeToMemo(TrecNuo4PageLocation()); }
    void InitializeToMemo(const TrecNuo4PageLocation& ALocation);
    void InitializeToTitleBlock(const TrecNuo4PageLocation& ALocation);
    // "header = value"
    std::u16string ToABCText() const;
    bool operator==(const TrecNuo4SectionItem_Page&) const = default;
};

struct TrecNuo4SectiontItemWithParseInfo_Page {
    TrecNuo4ABCParseInfo_SymbolHeader Header;  // pitSectionItem_Page
    TrecNuo4SectionItem_Page Value;
};

// Value parse records of the two kinds (header type pitPageSymbol_Value).
struct TrecNuo4ABCParseInfo_Memo {
    TrecNuo4ABCParseInfo_SymbolHeader Header;
    TrecNuo4SymbolMemo Value;
};
struct TrecNuo4ABCParseInfo_TitleBlock {
    TrecNuo4ABCParseInfo_SymbolHeader Header;
    TrecNuo4SymbolTitleBlock Value;
};

// The parts of a page item line. Values are the trimmed value pieces of the line.
// "@page,x,y" in ARange, at least six characters; further pieces are ignored.
bool ReadPageLocation(TText AText, TKoRange ARange, TrecNuo4PageLocation& ALocation,
                      int32_t& AEndPos);
// "Memo" or "TitleBlock" directly followed by the location: the whole name of the line.
bool ReadPageItemHeader(TText AText, TKoRange ANameRange, TrecNuo4SectionItem_Page_Header& AHeader,
                        TNuo4ABCTokenInfoItems& ATokens, int32_t& AEndPos);
bool ReadPageMemoValue(TText AText, const TKoRangeArray& AValues, TrecNuo4ABCParseInfo_Memo& AMemo,
                       int32_t& AEndPos);
bool ReadPageTitleBlockValue(TText AText, const TKoRangeArray& AValues,
                             TrecNuo4ABCParseInfo_TitleBlock& ATitleBlock, int32_t& AEndPos);

// Reads one page item line in ARange.
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
    int32_t GetCount() const { return static_cast<int32_t>(Buffer.size()); }
    bool BufferIsEmpty() const { return Buffer.empty(); }
};

}  // namespace nuo4
