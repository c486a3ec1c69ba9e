#include "format/symbol_barline.h"

#include <vector>

#include "format/voice_symbol_parts.h"

namespace nuo4 {

const char* EnumName(TNuo4BarlineStyle AValue) {
    switch (AValue) {
        case blsNormal:
            return "blsNormal";
        case blsRepeatStart:
            return "blsRepeatStart";
        case blsRepeatEnd:
            return "blsRepeatEnd";
        case blsFinal:
            return "blsFinal";
        case blsDouble:
            return "blsDouble";
        case blsDashed:
            return "blsDashed";
        case blsRepeatBoth:
            return "blsRepeatBoth";
        case blsInvisible:
            return "blsInvisible";
    }
    return "?";
}

const char16_t* BarlineStyleText(TNuo4BarlineStyle AValue) {
    switch (AValue) {
        case blsNormal:
            return u"|";
        case blsRepeatStart:
            return u"|:";
        case blsRepeatEnd:
            return u":|";
        case blsFinal:
            return u"|]";
        case blsDouble:
            return u"||";
        case blsDashed:
            return u"::";
        case blsRepeatBoth:
            return u":|:";
        case blsInvisible:
            return u"[|]";
    }
    return u"";
}

bool ReadBarlineStyle(TText AText, TKoRange ARange, TNuo4BarlineStyle& AStyle, int32_t& AEndPos) {
    static const std::vector<TText> Styles = [] {
        std::vector<TText> L;
        for (int I = 0; I < Nuo4BarlineStyleCount; ++I)
            L.emplace_back(BarlineStyleText(static_cast<TNuo4BarlineStyle>(I)));
        return L;
    }();
    AStyle = blsNormal;
    AEndPos = -1;
    int Index = -1;
    if (!ABC_StartsWithOneOf(AText, ARange, Styles, false, false, Index, AEndPos)) return false;
    AStyle = static_cast<TNuo4BarlineStyle>(Index);
    return true;
}

std::u16string TrecNuo4BarlineAttachments_FangZi::ToABCText() const {
    // The label ends at white space; a comment opener or a lone "{" would hide what follows.
    return bWithFangZi ? u"[" + ABC_GuardText(FangZiText, tgAllWhite | tgOpenBraces | tgAfterMark)
                       : u"";
}

bool TrecNuo4SymbolBarline::CanEndWithFangZi() const {
    switch (BarlineStyle) {
        case blsRepeatStart:
        case blsRepeatEnd:
        case blsFinal:
        case blsDouble:
        case blsRepeatBoth:
            return true;
        default:
            return false;
    }
}

std::u16string TrecNuo4SymbolBarline::ToABCText(bool bPadWithSpace) const {
    return PadWithSpace(
        BarlineStyleText(BarlineStyle) + ControlOptions.ToABCText() + FangZi.ToABCText(),
        bPadWithSpace);
}

TrecNuo4SymbolBarline TrecNuo4ABCParseInfo_Barline::ToSymbolRec() const {
    TrecNuo4SymbolBarline R = Value;
    R.Scale = 1.0f;
    return R;
}

bool ReadBarline(TText AText, TKoRange ARange, TrecNuo4ABCParseInfo_Barline& ABarline,
                 int32_t& AEndPos) {
    ABarline.SetToInvalid();
    AEndPos = -1;
    TNuo4BarlineStyle Style = blsNormal;
    int32_t End = -1;
    if (!ReadBarlineStyle(AText, ARange, Style, End)) return false;

    TrecNuo4ABCParseInfo_Barline B;
    const int32_t Start = ARange.StartIndex;
    const int32_t Last = ARange.EndIndex();
    B.Value.BarlineStyle = Style;
    B.Pure.Style = Style;
    B.Pure.Header.aType = pitBarline_Pure;
    TNuo4ABCTokenInfoItems PureTokens;
    PureTokens.AddItem(ttBarline_Pure_Barline, TKoRange::FromStartEnd(Start, End));
    ReadOptionalControlOptions(AText, ARange, End + 1, B.Value.ControlOptions, PureTokens, End);
    B.Pure.Header.ABCTextRange = TKoRange::FromStartEnd(Start, End);

    B.Header.aType = pitBarline;
    B.TokenItems.AddItem(ttBarline_Pure, B.Pure.Header.ABCTextRange);
    B.TokenItems.AddItems(PureTokens);

    if (End < Last && AText[End + 1] == u'[') {
        // The label runs raw from the first non-white character after "[" to the next white
        // character or the end of the token; "[" alone gives an empty label.
        const int32_t Open = End + 1;
        int32_t LabelEnd = Open;
        const int32_t LabelStart = ABC_FindFirstNonWhite(AText, ABC_RangeFrom(ARange, Open + 1));
        if (LabelStart >= 0) {
            const int32_t White = ABC_FindFirstWhite(AText, ABC_RangeFrom(ARange, LabelStart));
            LabelEnd = White >= 0 ? White - 1 : Last;
            B.Value.FangZi.SetFangZiText(
                ABC_GetRangeText(AText, TKoRange::FromStartEnd(LabelStart, LabelEnd)));
        }
        B.Value.FangZi.bWithFangZi = true;
        B.TokenItems.AddItem(ttBarline_FangZi, TKoRange::FromStartEnd(Open, LabelEnd));
        End = LabelEnd;
    }
    B.Header.ABCTextRange = TKoRange::FromStartEnd(Start, End);
    ABarline = std::move(B);
    AEndPos = End;
    return true;
}

}  // namespace nuo4
