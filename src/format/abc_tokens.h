#pragma once
// Token records, parse headers and text replacements: how parsers remember where each part of
// a symbol stands in the text, and how every edit of a score is expressed.

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

#include "format/abc_common.h"
#include "format/ko_range.h"
#include "format/small_vector.h"

namespace nuo4 {

enum TNuo4ABCTokenType : uint8_t {
    ttUnknown,
    ttGeneral,
    ttControlOptions,
    ttTitleItemName,
    ttTitleItemText,
    ttSectionName,
    ttSectionItemName,
    ttHorzLocation,
    ttPageLocation,
    ttFontUsage,
    ttAttachOftenTypeName,
    ttFontInfo_Param,
    ttString,
    ttNumber,
    ttBool,
    ttFontStyle,
    ttOcupy,
    ttNoteSubStyle,
    ttOffset,
    ttRotate,
    ttLineSymbolContinueStyle,
    ttOpionName,
    ttOptionValue,
    ttAttachBranchVoice,
    ttAttachBranchLyrics,
    ttBarline_Pure,
    ttBarline_Pure_Barline,
    ttBarline_FangZi,
    ttAccompMarker,
    ttText,
    ttReturn,
    ttLyricPrefix,
    ttKeyAndMeters,
    ttNote_Pitches,
    ttNote_Duration,
    ttNote_Grace,
    ttNote_Articulations,
    ttNote_ArcStartings,
    ttNote_ArcEndings,
    ttBarlinesAndNotesToSkip,
    ttPureLyric,
    ttSectionAttachmentsItemHeader,
    ttSectionPageItemHeader,
    ttReserved,
};
const char* EnumName(TNuo4ABCTokenType AValue);

enum TNuo4ABCParseInfoType : uint8_t {
    pitInvalid,
    pitNote,
    pitNote_ArcStartings,
    pitNote_Articulations,
    pitNote_Grace,
    pitNote_Pithces,
    pitNote_Duration,
    pitNote_ArcEndings,
    pitSymbolControlOptions,
    pitBarline,
    pitBarline_Pure,
    pitBarline_FangZi,
    pitAccompMarker,
    pitReturn,
    pitMeter,
    pitKey,
    pitOption,
    pitFontInfo,
    pitSectionItem_Attachments,
    pitSectionItem_Attachments_Header,
    pitSectionItem_Attachments_Text,
    pitSectionItem_Attachments_FangZi,
    pitSectionItem_Attachments_Arc,
    pitSectionItem_Attachments_Dynamic,
    pitSectionItem_Attachments_Often,
    pitSectionItem_Attachments_Lyric,
    pitSectionItem_Attachments_Branch,
    pitSectionItem_Attachments_Brace,
    pitSectionItem_Page,
    pitSectionItem_Page_Header,
    pitSectionItem_Page_Value,
    pitPureLyric,
    pitLyric,
    pitLocationPrefix,
    pitHorzLocation,
    pitBarlinesAndNotesToSkip,
    pitText,
    pitText_WhiteSpace,
    pitText_Text,
    pitText_KeyAndMeters,
    pitText_PureNote,
    pitText_Gap,
    pitText_Tempo,
    pitText_Grace,
    pitText_Chord,
    pitText_BarNumber,
    pitText_Rectangle,
    pitText_Ellipse,
    pitText_Arc,
    pitPageSymbol_Value,
    pitReserved,
};
const char* EnumName(TNuo4ABCParseInfoType AValue);

struct TrecNuo4ABCTokenInfoItem {
    TNuo4ABCTokenType aType = ttUnknown;
    TKoRange ABCTextRange;
    bool operator==(const TrecNuo4ABCTokenInfoItem&) const = default;
};

// Token list with the lookups the grammars and the editor use. Most records hold one or two
// tokens, so they live inline; longer lists move to the heap. Iterators are plain pointers.
class TNuo4ABCTokenInfoItems {
  public:
    using value_type = TrecNuo4ABCTokenInfoItem;
    using iterator = TrecNuo4ABCTokenInfoItem*;
    using const_iterator = const TrecNuo4ABCTokenInfoItem*;

    TNuo4ABCTokenInfoItems() = default;
    TNuo4ABCTokenInfoItems(std::initializer_list<TrecNuo4ABCTokenInfoItem> AItems)
        : FItems(AItems) {}

    size_t size() const { return FItems.size(); }
    bool empty() const { return FItems.empty(); }
    TrecNuo4ABCTokenInfoItem* data() { return FItems.data(); }
    const TrecNuo4ABCTokenInfoItem* data() const { return FItems.data(); }
    iterator begin() { return FItems.begin(); }
    iterator end() { return FItems.end(); }
    const_iterator begin() const { return FItems.begin(); }
    const_iterator end() const { return FItems.end(); }
    TrecNuo4ABCTokenInfoItem& operator[](size_t I) { return FItems[I]; }
    const TrecNuo4ABCTokenInfoItem& operator[](size_t I) const { return FItems[I]; }
    const TrecNuo4ABCTokenInfoItem& at(size_t I) const {
        if (I >= size()) throw std::out_of_range("token index");
        return FItems[I];
    }
    TrecNuo4ABCTokenInfoItem& back() { return FItems.back(); }
    const TrecNuo4ABCTokenInfoItem& back() const { return FItems.back(); }
    const TrecNuo4ABCTokenInfoItem& front() const { return FItems.front(); }
    void clear() { FItems.clear(); }
    void push_back(const TrecNuo4ABCTokenInfoItem& AItem) { FItems.push_back(AItem); }
    iterator erase(const_iterator APos) {
        if (APos < begin() || APos >= end()) return end();
        return FItems.erase(APos);
    }
    bool operator==(const TNuo4ABCTokenInfoItems& AOther) const { return FItems == AOther.FItems; }

    void AddItem(TNuo4ABCTokenType AType, TKoRange ARange) { push_back({AType, ARange}); }
    void AddItem(const TrecNuo4ABCTokenInfoItem& AItem) { push_back(AItem); }
    void AddItems(const TNuo4ABCTokenInfoItems& AItems) {
        for (const auto& I : AItems) push_back(I);
    }
    // Index of the first record of the type, -1 when absent.
    int FindFirst(TNuo4ABCTokenType AType) const;
    TKoRange GetRangeOfFirst(TNuo4ABCTokenType AType) const;

  private:
    TNuo4SmallVector<TrecNuo4ABCTokenInfoItem, 2> FItems;
};

struct TrecNuo4ABCParseInfo_SymbolHeader {
    TNuo4ABCParseInfoType aType = pitInvalid;
    TKoRange ABCTextRange;
    TNuo4ABCTokenInfoItems TokenItems;

    bool IsValid() const { return aType != pitInvalid; }
    void SetToInvalid() {
        aType = pitInvalid;
        ABCTextRange.SetToInvalid();
        TokenItems.clear();
    }
    void InitializeToLyrics(TKoRange ARange) {
        aType = pitLocationPrefix;
        ABCTextRange = ARange;
        TokenItems.clear();
    }
};

// The place of a part of a symbol whose token the symbol's own header lists: type and range,
// set when the part is present. Kept instead of a full header where records are many.
struct TrecNuo4ABCParseInfo_PartHeader {
    TNuo4ABCParseInfoType aType = pitInvalid;
    TKoRange ABCTextRange;

    bool IsValid() const { return aType != pitInvalid; }
    void SetToInvalid() {
        aType = pitInvalid;
        ABCTextRange.SetToInvalid();
    }
    bool operator==(const TrecNuo4ABCParseInfo_PartHeader&) const = default;
};

struct TrecNuo4ABCTextReplaceItem {
    TKoRange TextRange;
    std::u16string NewText;

    void Initialize(TKoRange ATextRange, std::u16string ANewText) {
        TextRange = ATextRange;
        NewText = std::move(ANewText);
    }
    void InitializeForDelete(TKoRange ATextRange) { Initialize(ATextRange, u""); }
    void InitializeForInsert(int32_t AInsertPos, std::u16string ANewText) {
        Initialize(TKoRange(AInsertPos, 0), std::move(ANewText));
    }
    void SetToInvalid() { Initialize(TKoRange::Invalid(), u""); }
    bool IsInvalid() const {
        return !TextRange.IsValid() || (TextRange.Length == 0 && NewText.empty());
    }
    bool operator==(const TrecNuo4ABCTextReplaceItem&) const = default;
};

struct TNuo4ABCTextReplaceItems : std::vector<TrecNuo4ABCTextReplaceItem> {
    // Appends only items that are not invalid.
    void AddItem(const TrecNuo4ABCTextReplaceItem& AItem) {
        if (!AItem.IsInvalid()) push_back(AItem);
    }
    void AddItems(const TNuo4ABCTextReplaceItems& AItems) {
        for (const auto& Item : AItems) AddItem(Item);
    }
    static TNuo4ABCTextReplaceItems MakeTwo(const TrecNuo4ABCTextReplaceItem& A,
                                            const TrecNuo4ABCTextReplaceItem& B);
    static TNuo4ABCTextReplaceItems MakeDeletes(const TKoRangeArray& ARanges);
};

// Applies a replace list to a text as the text editor does: items sorted by start descending
// (equal starts by NewText descending), invalid items and items reaching outside the text
// skipped, CR LF in every NewText turned into CR. Returns the number of items applied.
int ABC_ApplyReplaceItems(std::u16string& AText, const TNuo4ABCTextReplaceItems& AItems);

}  // namespace nuo4
