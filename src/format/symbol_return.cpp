#include "format/symbol_return.h"

#include <cmath>

#include "format/voice_symbol_parts.h"

namespace nuo4 {

bool TrecNuo4SymbolReturnPrivateOptions::IndentValueIsLocked() const {
    return std::fabs(IndentValue) >= 0.01f;
}

bool TrecNuo4SymbolReturnPrivateOptions::ParagraphGapCoefIsDefault() const {
    return std::fabs(ParagraphGapCoef - 1.0f) < 0.01f;
}

bool TrecNuo4SymbolReturnPrivateOptions::IsDefault() const {
    return !bJustifyHorz && !IndentValueIsLocked() && ParagraphGapCoefIsDefault() && !bPageBreak &&
           !bJustifyVert;
}

std::u16string TrecNuo4SymbolReturnPrivateOptions::ToABCText() const {
    const bool NonDefault[5] = {bJustifyHorz, IndentValueIsLocked(), !ParagraphGapCoefIsDefault(),
                                bPageBreak, bJustifyVert};
    int Count = 0;
    for (int I = 0; I < 5; ++I)
        if (NonDefault[I]) Count = I + 1;
    if (Count == 0) return u"";
    std::u16string S = u"(" + ABC_BoolToText(bJustifyHorz);
    if (Count > 1) S += u"," + ABC_FormatFloat(IndentValue, 2);
    if (Count > 2) S += u"," + ABC_FormatFloat(ParagraphGapCoef, 2);
    if (Count > 3) S += u"," + ABC_BoolToText(bPageBreak);
    if (Count > 4) S += u"," + ABC_BoolToText(bJustifyVert);
    return S + u")";
}

std::u16string TrecNuo4SymbolReturn::ToABCText(bool bPadWithSpace) const {
    return PadWithSpace(u"$" + PrivateOptions.ToABCText() + ControlOptions.ToABCText(),
                        bPadWithSpace);
}

namespace {

bool ReadWholeBool(TText AText, TKoRange APiece, bool& AValue) {
    int32_t End = -1;
    return APiece.IsNonEmpty() && ABC_ParseBool(AText, APiece, false, AValue, End) &&
           End == APiece.EndIndex();
}

bool ReadWholeFloat(TText AText, TKoRange APiece, float& AValue) {
    int32_t End = -1;
    return APiece.IsNonEmpty() && ABC_ParseFloat(AText, APiece, true, AValue, End);
}

// Items in order; a value is taken only when its item reads, and reading stops at the first
// item that does not.
void ReadReturnOptions(TText AText, TKoRange AInner, TrecNuo4SymbolReturnPrivateOptions& AOpts) {
    if (!ABC_RangeIsUsable(AText, AInner)) return;
    const TKoRangeArray Items = ABC_SplitBySeparator(AText, AInner, u',', true, true);
    for (size_t I = 0; I < Items.size() && I < 5; ++I) {
        bool B = false;
        float F = 0;
        switch (I) {
            case 0:
                if (!ReadWholeBool(AText, Items[I], B)) return;
                AOpts.bJustifyHorz = B;
                break;
            case 1:
                if (!ReadWholeFloat(AText, Items[I], F)) return;
                AOpts.IndentValue = F;
                break;
            case 2:
                if (!ReadWholeFloat(AText, Items[I], F)) return;
                AOpts.ParagraphGapCoef = F;
                break;
            case 3:
                if (!ReadWholeBool(AText, Items[I], B)) return;
                AOpts.bPageBreak = B;
                break;
            default:
                if (!ReadWholeBool(AText, Items[I], B)) return;
                AOpts.bJustifyVert = B;
                break;
        }
    }
}

}  // namespace

bool ReadReturn(TText AText, TKoRange ARange, TrecNuo4ABCParseInfo_Return& AReturn,
                int32_t& AEndPos) {
    AReturn.SetToInvalid();
    AEndPos = -1;
    if (!ABC_RangeIsUsable(AText, ARange) || AText[ARange.StartIndex] != u'$') return false;
    TrecNuo4ABCParseInfo_Return R;
    const int32_t Start = ARange.StartIndex;
    int32_t End = Start;
    if (Start < ARange.EndIndex() && AText[Start + 1] == u'(') {
        const int32_t Close =
            ABC_FindMatchingClose(AText, ABC_RangeFrom(ARange, Start + 1), u"(", u")");
        if (Close >= 0) {
            ReadReturnOptions(AText, TKoRange::FromStartEnd(Start + 2, Close - 1),
                              R.Value.PrivateOptions);
            End = Close;
        }
    }
    R.Header.aType = pitReturn;
    R.TokenItems.AddItem(ttReturn, TKoRange::FromStartEnd(Start, End));
    ReadOptionalControlOptions(AText, ARange, End + 1, R.Value.ControlOptions, R.TokenItems, End);
    R.Header.ABCTextRange = TKoRange::FromStartEnd(Start, End);
    AReturn = std::move(R);
    AEndPos = End;
    return true;
}

}  // namespace nuo4
