#include "format/symbol_text.h"

#include "format/voice_symbol_parts.h"

namespace nuo4 {

std::u16string TrecNuo4SymbolText::ToABCText(bool bPadWithSpace) const {
    // White or a quote would end the text, a lone "{" would swallow the tokens after it.
    const std::u16string T =
        ABC_GuardText(Text_ABC, tgWhite | tgQuotes | tgOpenBraces | tgAfterMark);
    return PadWithSpace(u"\"" + T + u"\"" + ControlOptions.ToABCText(), bPadWithSpace);
}

TrecNuo4SymbolText TrecNuo4ABCParseInfo_Text::ToSymbolRec() const {
    TrecNuo4SymbolText R = Value;
    R.Scale = 1.0f;
    return R;
}

bool TrecNuo4ABCParseInfo_Text::CheckForKeyAndMeters() const {
    const std::u16string& S = Value.Text_ABC;
    if (S.empty()) return true;
    const bool bKey = S.find(u"1=") != std::u16string::npos;
    const bool bMeter = S.find(u'/') != std::u16string::npos;
    if (S.find(u'{') == std::u16string::npos || S.find(u'}') == std::u16string::npos ||
        !(bKey || bMeter))
        return false;
    bool bHasKey = false, bHasMeter = false;
    for (const auto& Element : Value.GetElementArray()) {
        TrecNuo4KeyAndMeters KM;
        if (!Element.IsKeyAndMeters(KM)) continue;
        if (KM.Key.IsValid()) bHasKey = true;
        if (!KM.Meters.empty()) bHasMeter = true;
    }
    return (!bKey || bHasKey) && (!bMeter || bHasMeter);
}

bool TrecNuo4ABCParseInfo_Text::IsNormalTextOnly() const {
    for (const auto& Element : Value.GetElementArray())
        if (Element.aType != stetWhiteSpace && Element.aType != stetNormalText) return false;
    return true;
}

TNuo4TextElementParseInfoArray TrecNuo4ABCParseInfo_Text::GetElementArrayWithParseInfo(
    TText AText) const {
    TNuo4TextElementParseInfoArray R;
    // The text token holds the quotes of a voice text (two more characters than Text_ABC) and
    // nothing more for a standard text.
    TKoRange Inner = TokenItems.GetRangeOfFirst(ttText);
    if (Inner.IsValid() && Inner.Length == static_cast<int32_t>(Value.Text_ABC.size()) + 2)
        Inner = TKoRange(Inner.StartIndex + 1, Inner.Length - 2);
    ReadTextElements(AText, Inner, R);
    return R;
}

bool ReadVoiceText(TText AText, TKoRange ARange, TrecNuo4ABCParseInfo_Text& AText_,
                   int32_t& AEndPos) {
    AText_.SetToInvalid();
    AEndPos = -1;
    if (!ABC_RangeIsUsable(AText, ARange) || AText[ARange.StartIndex] != u'"') return false;
    const int32_t Open = ARange.StartIndex;
    const int32_t Close = ABC_Find(AText, ABC_RangeFrom(ARange, Open + 1), u"\"");
    if (Close < 0 || Close == Open + 1) return false;  // unclosed, or the empty text ""
    TrecNuo4ABCParseInfo_Text T;
    const TKoRange Inner = TKoRange::FromStartEnd(Open + 1, Close - 1);
    T.Value.Text_ABC = ABC_GetRangeText(AText, Inner);
    T.Header.aType = pitText;
    T.TokenItems.AddItem(ttText, TKoRange::FromStartEnd(Open, Close));
    int32_t End = Close;
    ReadOptionalControlOptions(AText, ARange, Close + 1, T.Value.ControlOptions, T.TokenItems, End);
    T.Header.ABCTextRange = TKoRange::FromStartEnd(Open, End);
    AText_ = std::move(T);
    AEndPos = End;
    return true;
}

bool ReadStandardText(TText AText, TKoRange ARange, TrecNuo4ABCParseInfo_Text& AText_) {
    AText_.SetToInvalid();
    if (!ABC_RangeIsUsable(AText, ARange)) return false;
    TrecNuo4ABCParseInfo_Text T;
    T.Value.Text_ABC = ABC_GetRangeText(AText, ARange);
    T.Header.aType = pitText;
    T.Header.ABCTextRange = ARange;
    T.TokenItems.AddItem(ttText, ARange);
    AText_ = std::move(T);
    return true;
}

}  // namespace nuo4
