#pragma once
// The ".Attachments" section: one item per line, a header naming the kind, the owning symbol
// of the voice (a horizontal location) and the offset from it, then "=" and the kind's values:
//     Text@3,2(0.00,-2.50) = AttachText1, 渐慢, {}, [], $ff000000

#include <cstdint>
#include <string>
#include <vector>

#include "format/abc_common.h"
#include "format/abc_tokens.h"
#include "format/attach_branch.h"
#include "format/attach_symbols.h"
#include "format/horz_location.h"
#include "format/ko_range.h"
#include "format/symbol_transform.h"

namespace nuo4 {

enum TNuo4SectionAttachmentsItemType : uint8_t {
    satitText,
    satitFangZi,
    satitArc,
    satitDynamic,
    satitOften,
    satitExtend,
    satitBranch,
    satitBrace,
};
constexpr int Nuo4SectionAttachmentsItemTypeCount = 8;
const char* EnumName(TNuo4SectionAttachmentsItemType AValue);
// "Text", "FangZi", "Arc", "Dynamic", "Often", "Extend", "Branch", "Brace".
const char16_t* AttachmentsItemTypeName(TNuo4SectionAttachmentsItemType AValue);
// Offset of a new item of the kind from its owner, in units of the owner's digit width and
// height (negative Y is upwards). An often mark takes its own from the often-used table.
TNuo4PointF AttachmentsItemDefaultOffset(TNuo4SectionAttachmentsItemType AValue);

struct TrecNuo4SectionItem_Attachments_Header {
    TNuo4SectionAttachmentsItemType aType = satitText;
    TrecNuo4HorzLocation HorzLocation;
    TNuo4PointF OffsetCoef;

    // Kind name, location and "(%.2f,%.2f)".
    std::u16string ToABCText() const;
    bool operator==(const TrecNuo4SectionItem_Attachments_Header&) const = default;
};

// The name part of an item line: kind name (any case), directly a horizontal location,
// directly an offset point "(X,Y)" ending the range; no white space inside. Tokens
// ttSectionItemName, ttHorzLocation, ttOffset. AEndPos is the ")" of the offset.
bool ReadAttachmentItemHeader(TText AText, TKoRange ARange,
                              TrecNuo4SectionItem_Attachments_Header& AHeader,
                              TNuo4ABCTokenInfoItems& ATokens, int32_t& AEndPos);

// One item: the header and, by Header.aType, one of the kind records (only that one is
// meaningful).
struct TrecNuo4SectionItem_Attachments {
    TrecNuo4SectionItem_Attachments_Header Header;
    TrecNuo4SymbolAttachText Text;
    TrecNuo4SymbolAttachFangZi FangZi;
    TrecNuo4SymbolAttachArc Arc;
    TrecNuo4SymbolAttachDynamic ADynamic;
    TrecNuo4SymbolAttachOften Often;
    TrecNuo4SymbolAttachExtend Extend;
    TrecNuo4SymbolAttachBranch Branch;
    TrecNuo4SymbolAttachBrace Brace;

    // The record of the kind, or null when the item is of another kind.
    const TrecNuo4SymbolAttachText* IsText() const;
    const TrecNuo4SymbolAttachFangZi* IsFangZi() const;
    const TrecNuo4SymbolAttachArc* IsArc() const;
    const TrecNuo4SymbolAttachDynamic* IsAttachDynamic() const;
    const TrecNuo4SymbolAttachOften* IsOften() const;
    const TrecNuo4SymbolAttachExtend* IsExtend() const;
    const TrecNuo4SymbolAttachBranch* IsBranch() const;
    const TrecNuo4SymbolAttachBrace* IsBrace() const;

    // Each sets the kind, the default location and offset of the kind, and the record's
    // defaults.
    void SetToDefaultForText();
    void SetToDefaultForFangZi(TNuo4AttachFangZiType AFangZiType,
                               TNuo4LineSymbolContinueStyle AContinueStyle, bool AbAutoAlign);
    void SetToDefaultForArc(TNuo4LineSymbolContinueStyle AContinueStyle, bool AbAutoAlign);
    void SetToDefaultForDynamic();
    void SetToDefaultForOften(TNuo4AttachmentsGroupItemType_Often AItemType);
    void SetToDefaultForExtend();
    void SetToDefaultForBranch();
    void SetToDefaultForBrace();
    // A text item whose text is escaped from the plain text AText.
    void InitializeToText(TText AText, TNuo4FontUsage AFontUsage, float OffsetCoefX,
                          float OffsetCoefY, float AScaleX, float AScaleY,
                          TNuo4AttachmentsOcupyTypes AOcupy);
    void InitializeToExtend(char16_t AUnicode, float OffsetCoefX, float OffsetCoefY, float AScaleX,
                            float AScaleY, TNuo4AttachmentsOcupyTypes AOcupy);
    // The laid-out data of a temporary voice is held by the layout engine, not here.
    void MyDispose() {}

    // The value text of the kind.
    std::u16string ValueToABCText() const;
    // "%s = %s": header and value text.
    std::u16string ToABCText() const;
    // Equal kind, header and record of the kind.
    bool SameAs(const TrecNuo4SectionItem_Attachments& B) const;
};

struct TrecNuo4SectiontItemWithParseInfo_Attachments {
    TrecNuo4ABCParseInfo_SymbolHeader Header;  // pitSectionItem_Attachments
    TrecNuo4SectionItem_Attachments Value;
};

// One item line in ARange (header, "=", values). Header.ABCTextRange runs from the header's
// first character to AEndPos, the end of the last value read; its tokens are
// ttSectionAttachmentsItemHeader for the whole name part, the header's and the values'.
bool ReadAttachmentItem(TText AText, TKoRange ARange,
                        TrecNuo4SectiontItemWithParseInfo_Attachments& AItem, int32_t& AEndPos);

struct TrecNuo4ABCParseInfo_Section_Attachments {
    TKoRange ABCTextRange_SectionName;
    TKoRange ABCTextRange_All;
    TKoRange ABCTextRange_Line;                                         // line indexes
    std::vector<TrecNuo4SectiontItemWithParseInfo_Attachments> Buffer;  // in text order

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
