#include "format/section_attachments.h"

#include <iterator>

namespace nuo4 {

namespace {

constexpr const char16_t* kKindNames[Nuo4SectionAttachmentsItemTypeCount] = {
    u"Text", u"FangZi", u"Arc", u"Dynamic", u"Often", u"Extend", u"Branch", u"Brace"};

// Reads "(X,Y)" at the start of the range: two numbers and nothing between them but the comma.
bool ReadOffsetPoint(TText AText, TKoRange ARange, TNuo4PointF& APoint, int32_t& AEndPos) {
    AEndPos = -1;
    if (!ABC_RangeIsUsable(AText, ARange) || ARange.Length < 5 || AText[ARange.StartIndex] != u'(')
        return false;
    float X, Y;
    int32_t End;
    if (!ABC_ParseFloat(AText, ABC_RangeFrom(ARange, ARange.StartIndex + 1), false, X, End) ||
        ABC_CharAt(AText, End + 1) != u',' || End + 1 >= ARange.EndIndex())
        return false;
    if (!ABC_ParseFloat(AText, ABC_RangeFrom(ARange, End + 2), false, Y, End) ||
        End + 1 > ARange.EndIndex() || AText[End + 1] != u')')
        return false;
    APoint = {X, Y};
    AEndPos = End + 1;
    return true;
}

}  // namespace

const char* EnumName(TNuo4SectionAttachmentsItemType AValue) {
    static constexpr const char* Names[] = {"satitText",    "satitFangZi", "satitArc",
                                            "satitDynamic", "satitOften",  "satitExtend",
                                            "satitBranch",  "satitBrace"};
    return AValue < std::size(Names) ? Names[AValue] : "";
}

const char16_t* AttachmentsItemTypeName(TNuo4SectionAttachmentsItemType AValue) {
    return AValue < Nuo4SectionAttachmentsItemTypeCount ? kKindNames[AValue] : u"";
}

TNuo4PointF AttachmentsItemDefaultOffset(TNuo4SectionAttachmentsItemType AValue) {
    switch (AValue) {
        case satitText:
            return {0, -2.5f};
        case satitFangZi:
            return {0, -2.89f};
        case satitArc:
            return {0, -1.6f};
        case satitDynamic:
            return {0.5f, -2.5f};
        case satitOften:
            return AttachOftenDefaults(agitoHuanQi).OffsetCoef;
        case satitExtend:
            return {0, -2.0f};
        case satitBranch:
            return {0, -3.0f};
        default:
            return {-1.5f, -0.5f};
    }
}

std::u16string TrecNuo4SectionItem_Attachments_Header::ToABCText() const {
    return AttachmentsItemTypeName(aType) + HorzLocation.ToABCText() +
           ABC_FormatPoint(OffsetCoef.X, OffsetCoef.Y);
}

bool ReadAttachmentItemHeader(TText AText, TKoRange ARange,
                              TrecNuo4SectionItem_Attachments_Header& AHeader,
                              TNuo4ABCTokenInfoItems& ATokens, int32_t& AEndPos) {
    AEndPos = -1;
    static const std::vector<TText> Names(std::begin(kKindNames), std::end(kKindNames));
    int Index;
    int32_t NameEnd, LocationEnd, OffsetEnd;
    if (!ABC_StartsWithOneOf(AText, ARange, Names, false, true, Index, NameEnd)) return false;
    TrecNuo4SectionItem_Attachments_Header H;
    H.aType = static_cast<TNuo4SectionAttachmentsItemType>(Index);
    if (!ReadHorzLocation(AText, ABC_RangeFrom(ARange, NameEnd + 1), H.HorzLocation, LocationEnd))
        return false;
    // The offset must follow directly and end the header.
    if (!ReadOffsetPoint(AText, ABC_RangeFrom(ARange, LocationEnd + 1), H.OffsetCoef, OffsetEnd) ||
        OffsetEnd != ARange.EndIndex())
        return false;
    ATokens.AddItem(ttSectionItemName, TKoRange::FromStartEnd(ARange.StartIndex, NameEnd));
    ATokens.AddItem(ttHorzLocation, TKoRange::FromStartEnd(NameEnd + 1, LocationEnd));
    ATokens.AddItem(ttOffset, TKoRange::FromStartEnd(LocationEnd + 1, OffsetEnd));
    AHeader = H;
    AEndPos = OffsetEnd;
    return true;
}

// ---- Item ----------------------------------------------------------------------------------

const TrecNuo4SymbolAttachText* TrecNuo4SectionItem_Attachments::IsText() const {
    return Header.aType == satitText ? &Text : nullptr;
}
const TrecNuo4SymbolAttachFangZi* TrecNuo4SectionItem_Attachments::IsFangZi() const {
    return Header.aType == satitFangZi ? &FangZi : nullptr;
}
const TrecNuo4SymbolAttachArc* TrecNuo4SectionItem_Attachments::IsArc() const {
    return Header.aType == satitArc ? &Arc : nullptr;
}
const TrecNuo4SymbolAttachDynamic* TrecNuo4SectionItem_Attachments::IsAttachDynamic() const {
    return Header.aType == satitDynamic ? &ADynamic : nullptr;
}
const TrecNuo4SymbolAttachOften* TrecNuo4SectionItem_Attachments::IsOften() const {
    return Header.aType == satitOften ? &Often : nullptr;
}
const TrecNuo4SymbolAttachExtend* TrecNuo4SectionItem_Attachments::IsExtend() const {
    return Header.aType == satitExtend ? &Extend : nullptr;
}
const TrecNuo4SymbolAttachBranch* TrecNuo4SectionItem_Attachments::IsBranch() const {
    return Header.aType == satitBranch ? &Branch : nullptr;
}
const TrecNuo4SymbolAttachBrace* TrecNuo4SectionItem_Attachments::IsBrace() const {
    return Header.aType == satitBrace ? &Brace : nullptr;
}

namespace {
void ResetHeader(TrecNuo4SectionItem_Attachments_Header& AHeader,
                 TNuo4SectionAttachmentsItemType AType) {
    AHeader = TrecNuo4SectionItem_Attachments_Header();
    AHeader.aType = AType;
    AHeader.OffsetCoef = AttachmentsItemDefaultOffset(AType);
}
}  // namespace

void TrecNuo4SectionItem_Attachments::SetToDefaultForText() {
    *this = TrecNuo4SectionItem_Attachments();
    ResetHeader(Header, satitText);
}

void TrecNuo4SectionItem_Attachments::SetToDefaultForFangZi(
    TNuo4AttachFangZiType AFangZiType, TNuo4LineSymbolContinueStyle AContinueStyle,
    bool AbAutoAlign) {
    *this = TrecNuo4SectionItem_Attachments();
    ResetHeader(Header, satitFangZi);
    FangZi.SetToDefault(AFangZiType, AContinueStyle, AbAutoAlign);
}

void TrecNuo4SectionItem_Attachments::SetToDefaultForArc(
    TNuo4LineSymbolContinueStyle AContinueStyle, bool AbAutoAlign) {
    *this = TrecNuo4SectionItem_Attachments();
    ResetHeader(Header, satitArc);
    Arc.SetToDefault(AContinueStyle, AbAutoAlign);
}

void TrecNuo4SectionItem_Attachments::SetToDefaultForDynamic() {
    *this = TrecNuo4SectionItem_Attachments();
    ResetHeader(Header, satitDynamic);
}

void TrecNuo4SectionItem_Attachments::SetToDefaultForOften(
    TNuo4AttachmentsGroupItemType_Often AItemType) {
    *this = TrecNuo4SectionItem_Attachments();
    ResetHeader(Header, satitOften);
    Header.OffsetCoef = AttachOftenDefaults(AItemType).OffsetCoef;
    Often.Initialize(AItemType);
}

void TrecNuo4SectionItem_Attachments::SetToDefaultForExtend() {
    *this = TrecNuo4SectionItem_Attachments();
    ResetHeader(Header, satitExtend);
}

void TrecNuo4SectionItem_Attachments::SetToDefaultForBranch() {
    *this = TrecNuo4SectionItem_Attachments();
    ResetHeader(Header, satitBranch);
}

void TrecNuo4SectionItem_Attachments::SetToDefaultForBrace() {
    *this = TrecNuo4SectionItem_Attachments();
    ResetHeader(Header, satitBrace);
}

void TrecNuo4SectionItem_Attachments::InitializeToText(TText AText, TNuo4FontUsage AFontUsage,
                                                       float OffsetCoefX, float OffsetCoefY,
                                                       float AScaleX, float AScaleY,
                                                       TNuo4AttachmentsOcupyTypes AOcupy) {
    SetToDefaultForText();
    Header.OffsetCoef = {OffsetCoefX, OffsetCoefY};
    Text.SetABCTextFromRealText(AText);
    Text.FontUsage = AFontUsage;
    Text.Transform.Sx = AScaleX;
    Text.Transform.Sy = AScaleY;
    Text.Ocupy = AOcupy;
}

void TrecNuo4SectionItem_Attachments::InitializeToExtend(char16_t AUnicode, float OffsetCoefX,
                                                         float OffsetCoefY, float AScaleX,
                                                         float AScaleY,
                                                         TNuo4AttachmentsOcupyTypes AOcupy) {
    SetToDefaultForExtend();
    Header.OffsetCoef = {OffsetCoefX, OffsetCoefY};
    Extend.Initialize(AUnicode, AScaleX, AScaleY, AOcupy);
}

std::u16string TrecNuo4SectionItem_Attachments::ValueToABCText() const {
    switch (Header.aType) {
        case satitText:
            return Text.ToABCText();
        case satitFangZi:
            return FangZi.ToABCText();
        case satitArc:
            return Arc.ToABCText();
        case satitDynamic:
            return ADynamic.ToABCText();
        case satitOften:
            return Often.ToABCText();
        case satitExtend:
            return Extend.ToABCText();
        case satitBranch:
            return Branch.ToABCText();
        default:
            return Brace.ToABCText();
    }
}

std::u16string TrecNuo4SectionItem_Attachments::ToABCText() const {
    return Header.ToABCText() + u" = " + ValueToABCText();
}

bool TrecNuo4SectionItem_Attachments::SameAs(const TrecNuo4SectionItem_Attachments& B) const {
    if (!(Header == B.Header)) return false;
    switch (Header.aType) {
        case satitText:
            return Text == B.Text;
        case satitFangZi:
            return FangZi == B.FangZi;
        case satitArc:
            return Arc == B.Arc;
        case satitDynamic:
            return ADynamic == B.ADynamic;
        case satitOften:
            return Often == B.Often;
        case satitExtend:
            return Extend == B.Extend;
        case satitBranch:
            return Branch == B.Branch;
        default:
            return Brace == B.Brace;
    }
}

bool ReadAttachmentItem(TText AText, TKoRange ARange,
                        TrecNuo4SectiontItemWithParseInfo_Attachments& AItem, int32_t& AEndPos) {
    AEndPos = -1;
    TKoRange NameRange;
    TKoRangeArray Values;
    int32_t End;
    if (!ABC_SplitNameValues(AText, ARange, u',', u'=', true, true, NameRange, Values, End))
        return false;
    TrecNuo4SectiontItemWithParseInfo_Attachments Item;
    TNuo4ABCTokenInfoItems Tokens;
    Tokens.AddItem(ttSectionAttachmentsItemHeader, NameRange);
    TrecNuo4SectionItem_Attachments& V = Item.Value;
    if (!ReadAttachmentItemHeader(AText, NameRange, V.Header, Tokens, End)) return false;
    int32_t ValueEnd = -1;
    bool bRead = false;
    switch (V.Header.aType) {
        case satitText:
            bRead = V.Text.FromABCValues(AText, Values, Tokens, ValueEnd);
            break;
        case satitFangZi:
            bRead = V.FangZi.FromABCValues(AText, Values, Tokens, ValueEnd);
            break;
        case satitArc:
            bRead = V.Arc.FromABCValues(AText, Values, Tokens, ValueEnd);
            break;
        case satitDynamic:
            bRead = V.ADynamic.FromABCValues(AText, Values, Tokens, ValueEnd);
            break;
        case satitOften:
            bRead = V.Often.FromABCValues(AText, Values, Tokens, ValueEnd);
            break;
        case satitExtend:
            bRead = V.Extend.FromABCValues(AText, Values, Tokens, ValueEnd);
            break;
        case satitBranch:
            bRead = V.Branch.FromABCValues(AText, Values, Tokens, ValueEnd);
            break;
        case satitBrace:
            bRead = V.Brace.FromABCValues(AText, Values, Tokens, ValueEnd);
            break;
    }
    if (!bRead || ValueEnd < 0) return false;
    Item.Header.aType = pitSectionItem_Attachments;
    Item.Header.ABCTextRange = TKoRange::FromStartEnd(NameRange.StartIndex, ValueEnd);
    Item.Header.TokenItems = std::move(Tokens);
    AItem = std::move(Item);
    AEndPos = ValueEnd;
    return true;
}

}  // namespace nuo4
