#include "format/lyric_data.h"

#include <algorithm>

namespace nuo4 {

namespace {

bool IsClosingOrMinus(char16_t C) {
    return C == u'-' || ABC_IsClosingPunctuation(C);
}

}  // namespace

// ---- Counts and texts --------------------------------------------------------------------

bool TrecNuo4SymbolPureLyricData::IsValid() const {
    const int32_t Len = static_cast<int32_t>(Text.size());
    return Len > 0 && TextCenteredRange.IsNonEmpty() && TextCenteredRange.EndIndex() < Len;
}

// The counts are clamped to the text so that a damaged record never indexes outside it.
int32_t TrecNuo4SymbolPureLyricData::GetPrefixTextCharCount() const {
    const int32_t Len = static_cast<int32_t>(Text.size());
    return std::clamp(TextCenteredRange.StartIndex, 0, Len);
}

int32_t TrecNuo4SymbolPureLyricData::GetCenteredTextCharCount() const {
    const int32_t Len = static_cast<int32_t>(Text.size());
    return std::clamp(TextCenteredRange.Length, 0, Len - GetPrefixTextCharCount());
}

int32_t TrecNuo4SymbolPureLyricData::GetPostfixTextCharCount() const {
    return static_cast<int32_t>(Text.size()) - GetPrefixTextCharCount() -
           GetCenteredTextCharCount();
}

int32_t TrecNuo4SymbolPureLyricData::GetLyricTextCharCount() const {
    return static_cast<int32_t>(Text.size()) - GetPrefixTextCharCount();
}

std::u16string TrecNuo4SymbolPureLyricData::GetPrefixText() const {
    return Text.substr(0, GetPrefixTextCharCount());
}

std::u16string TrecNuo4SymbolPureLyricData::GetCenteredText() const {
    return Text.substr(GetPrefixTextCharCount(), GetCenteredTextCharCount());
}

std::u16string TrecNuo4SymbolPureLyricData::GetPostfixText() const {
    return Text.substr(GetPrefixTextCharCount() + GetCenteredTextCharCount());
}

std::u16string TrecNuo4SymbolPureLyricData::GetLyricText() const {
    return Text.substr(GetPrefixTextCharCount());
}

// ---- Extension lines ---------------------------------------------------------------------

int32_t TrecNuo4SymbolPureLyricData::GetUnderlineCount(int32_t ACharIndex) const {
    if (ACharIndex < 0 || static_cast<size_t>(ACharIndex) >= TextUnderlineCountArray.size())
        return 0;
    return TextUnderlineCountArray[ACharIndex];
}

int32_t TrecNuo4SymbolPureLyricData::GetUnderlineMaxCount() const {
    int32_t Max = 0;
    for (int32_t I = GetPrefixTextCharCount(); I < static_cast<int32_t>(Text.size()); ++I)
        Max = std::max(Max, GetUnderlineCount(I));
    return Max;
}

void TrecNuo4SymbolPureLyricData::SetUnderlineCount(int32_t AUnderlineCount) {
    TextUnderlineCountArray.resize(Text.size(), 0);
    for (size_t I = GetPrefixTextCharCount(); I < Text.size(); ++I)
        TextUnderlineCountArray[I] = AUnderlineCount;
}

void TrecNuo4SymbolPureLyricData::CheckUnderlineArray() {
    if (IsValid()) TextUnderlineCountArray.resize(Text.size(), 0);
}

// ---- Punctuation and English lyrics ------------------------------------------------------

bool TrecNuo4SymbolPureLyricData::PrefixIsLeftBiaoDian() const {
    return GetPrefixTextCharCount() == 1 && ABC_IsOpeningPunctuation(Text[0]);
}

bool TrecNuo4SymbolPureLyricData::PostfixIsRightBiaoDian() const {
    const std::u16string Postfix = GetPostfixText();
    return !Postfix.empty() && std::all_of(Postfix.begin(), Postfix.end(),
                                           [](char16_t C) { return ABC_IsClosingPunctuation(C); });
}

bool TrecNuo4SymbolPureLyricData::EndsWithRightBiaoDianOrMinus() const {
    return GetLyricTextCharCount() > 0 && IsClosingOrMinus(Text.back());
}

bool TrecNuo4SymbolPureLyricData::IsEnglishLyric() const {
    if (!IsValid() || IsWithPrefixText() || !ABC_IsWordChar(Text[0])) return false;
    const size_t Len = Text.size();
    for (size_t I = 0; I < Len; ++I) {
        const char16_t C = Text[I];
        if (ABC_IsWordChar(C) || C == u' ' || C == u'-') continue;
        if (I == Len - 1 && ABC_IsClosingPunctuation(C)) continue;
        return false;
    }
    return true;
}

void TrecNuo4SymbolPureLyricData::CheckForEnglishLyric() {
    // Only a centred range that still reaches the last character shrinks, so calling this twice
    // does not cut a second character, and the range never becomes empty.
    if (IsEnglishLyric() && EndsWithRightBiaoDianOrMinus() && TextCenteredRange.Length > 1 &&
        TextCenteredRange.EndIndex() == static_cast<int32_t>(Text.size()) - 1)
        --TextCenteredRange.Length;
}

// ---- Writers -----------------------------------------------------------------------------

bool TrecNuo4SymbolPureLyricData::CanNoDaKuoHao_ForToABCText() const {
    if (!IsValid()) return false;
    for (size_t I = 0; I < Text.size(); ++I)
        if (GetUnderlineCount(static_cast<int32_t>(I)) > 0) return false;
    const int32_t Len = static_cast<int32_t>(Text.size());
    const int32_t Centred = GetCenteredTextCharCount();
    const bool bEnglishWhole =
        IsEnglishLyric() &&
        (Centred == Len || (EndsWithRightBiaoDianOrMinus() && Centred == Len - 1));
    const bool bSingleCentred = (!IsWithPrefixText() || PrefixIsLeftBiaoDian()) && Centred == 1 &&
                                (!IsWithPostfixText() || PostfixIsRightBiaoDian());
    if (!bEnglishWhole && !bSingleCentred) return false;
    // The plain form must read back to this very lyric: otherwise a centred space, a lone
    // opening bracket or a "\," pair would be lost or changed when the score is read again.
    TrecNuo4ABCParseInfo_PureLyric Back;
    int32_t End = -1;
    if (!ReadPureLyric(Text, TKoRange(0, Len), Back, End) || End != Len - 1) return false;
    return Back.Data.Text == Text && Back.Data.TextCenteredRange == TextCenteredRange;
}

bool TrecNuo4SymbolPureLyricData::CanNoZhongKuoHao_ForToABCText() const {
    return !IsWithPrefixText() && GetCenteredTextCharCount() == 1;
}

namespace {

// A control character (a decoded line break, say) cannot stand raw in a lyrics line.
bool IsRawUnwritable(char16_t C) {
    return C < 0x20 && C != u'\t';
}

}  // namespace

bool TrecNuo4SymbolPureLyricData::ToABCText_Escaped(std::u16string& AText) const {
    AText.clear();
    bool bAny = false;
    for (char16_t C : Text) bAny = bAny || IsRawUnwritable(C);
    if (!bAny || GetCenteredTextCharCount() != 1 || GetUnderlineMaxCount() > 0) return false;
    // Only the centred character of the plain form may be an escape: an opening mark before
    // it, closing marks after it.
    const int32_t C = TextCenteredRange.StartIndex;
    std::u16string S(Text.substr(0, static_cast<size_t>(C)));
    S += ABC_EscapeChar(Text[static_cast<size_t>(C)], true);
    S += Text.substr(static_cast<size_t>(C) + 1);
    TrecNuo4ABCParseInfo_PureLyric Back;
    int32_t End = -1;
    if (!ReadPureLyric(S, TKoRange(0, static_cast<int32_t>(S.size())), Back, End) ||
        End != static_cast<int32_t>(S.size()) - 1 || Back.Data.Text != Text ||
        Back.Data.TextCenteredRange != TextCenteredRange)
        return false;
    AText = std::move(S);
    return true;
}

std::u16string TrecNuo4SymbolPureLyricData::ToABCText_Braced() const {
    if (!IsValid()) return u"";
    TrecNuo4SymbolPureLyricData D = *this;
    D.CheckUnderlineArray();
    auto Run = [&](int32_t AFrom, int32_t ACount) {
        std::u16string S;
        for (int32_t I = AFrom; I < AFrom + ACount; ++I) {
            // Braces take no escapes: a control character there becomes a space rather than
            // a line break that would split the verse.
            S += IsRawUnwritable(D.Text[I]) ? u' ' : D.Text[I];
            S.append(static_cast<size_t>(std::max(0, D.TextUnderlineCountArray[I])), u'_');
        }
        return S;
    };
    const int32_t Len = static_cast<int32_t>(D.Text.size());
    if (D.CanNoZhongKuoHao_ForToABCText()) return u"{" + Run(0, Len) + u"}";
    const int32_t Pre = D.GetPrefixTextCharCount(), Centred = D.GetCenteredTextCharCount();
    return u"{" + Run(0, Pre) + u"[" + Run(Pre, Centred) + u"]" +
           Run(Pre + Centred, Len - Pre - Centred) + u"}";
}

std::u16string TrecNuo4SymbolPureLyricData::ToABCText() const {
    if (!IsValid()) return u"";
    TrecNuo4SymbolPureLyricData D = *this;
    D.CheckUnderlineArray();
    if (D.CanNoDaKuoHao_ForToABCText()) return D.Text;
    std::u16string Escaped;
    if (D.ToABCText_Escaped(Escaped)) return Escaped;
    return D.ToABCText_Braced();
}

void TrecNuo4SymbolPureLyricData::CutToCapacity(size_t ACapacity) {
    if (ACapacity == 0 || Text.size() <= ACapacity) return;
    Text.resize(ACapacity);
    if (TextUnderlineCountArray.size() > ACapacity) TextUnderlineCountArray.resize(ACapacity);
    // The centred part keeps what is left of it; one that lay wholly beyond the cut becomes the
    // last character kept, so the lyric stays valid.
    const int32_t Last = static_cast<int32_t>(ACapacity) - 1;
    const int32_t Start = std::min(TextCenteredRange.StartIndex, Last);
    const int32_t End = std::clamp(TextCenteredRange.EndIndex(), Start, Last);
    TextCenteredRange = TKoRange::FromStartEnd(Start, End);
}

void TrecNuo4SymbolPureLyricData::Merge(const TrecNuo4SymbolPureLyricData* APNextData,
                                        int32_t ANewUnderlineCount) {
    // Both count arrays are completed first so that they stay aligned with the joined text.
    TextUnderlineCountArray.resize(Text.size(), 0);
    if (APNextData) {
        std::vector<int32_t> NextCounts = APNextData->TextUnderlineCountArray;
        NextCounts.resize(APNextData->Text.size(), 0);
        Text += APNextData->Text;
        TextUnderlineCountArray.insert(TextUnderlineCountArray.end(), NextCounts.begin(),
                                       NextCounts.end());
    }
    if (ANewUnderlineCount >= 0)
        std::fill(TextUnderlineCountArray.begin(), TextUnderlineCountArray.end(),
                  ANewUnderlineCount);
}

// ---- Reader ------------------------------------------------------------------------------

namespace {

// Plain form. AEnd is the last character of the lyric.
bool ReadPlainLyric(TText AText, TKoRange ARange, TrecNuo4SymbolPureLyricData& AData,
                    int32_t& AEnd) {
    enum { sStart, sAfterOpening, sAfterMain, sAfterClosing };
    int State = sStart;
    bool bWord = false;
    std::u16string Text;
    TKoRange Centred(0, 1);
    const int32_t Last = ARange.EndIndex();
    int32_t P = ARange.StartIndex;
    while (P <= Last) {
        const char16_t C = AText[P];
        const bool bOpenState = State == sStart || State == sAfterOpening;
        if (C == u'\\') {
            char16_t Decoded = 0;
            int32_t EscEnd = -1;
            bool bEscaped = false;
            ABC_ReadCharOrEscape(AText, ABC_RangeFrom(ARange, P), Decoded, EscEnd, bEscaped);
            if (bEscaped) {
                if (!bOpenState) break;
                Text += Decoded;
                State = sAfterMain;
                P = EscEnd + 1;
                continue;
            }
            // A backslash that begins no escape is an ordinary character (below).
        } else if (ABC_IsWhiteChar(C)) {
            if (bOpenState) return false;
            break;
        } else if (ABC_IsOpeningPunctuation(C)) {
            if (State == sAfterOpening) return false;
            if (State != sStart) break;
            Text = C;
            Centred = TKoRange(1, 1);
            State = sAfterOpening;
            ++P;
            continue;
        } else if (ABC_IsClosingPunctuation(C)) {
            if (State == sAfterOpening) return false;
            if (State == sStart) {  // a complete lyric by itself
                AData.Text = C;
                AData.TextCenteredRange = TKoRange(0, 1);
                AData.TextUnderlineCountArray.assign(1, 0);
                AEnd = P;
                return true;
            }
            Text += C;
            State = sAfterClosing;
            ++P;
            continue;
        }
        if (!bOpenState) break;
        if (ABC_IsWordChar(C)) {
            while (P <= Last) {
                const char16_t W = AText[P];
                if (!ABC_IsWordChar(W) && W != u' ' && W != u'-') break;
                Text += W;
                ++P;
                if (W == u' ' || W == u'-') break;
            }
            bWord = true;
        } else {
            Text += C;
            ++P;
        }
        State = sAfterMain;
    }
    if (State == sStart || State == sAfterOpening) return false;
    AData.Text = Text;
    AData.TextCenteredRange = bWord ? TKoRange(0, static_cast<int32_t>(Text.size())) : Centred;
    AData.TextUnderlineCountArray.assign(Text.size(), 0);
    AData.CheckForEnglishLyric();
    AEnd = P - 1;
    return true;
}

// Braced form, "{" at the range start. AEnd is the "}" that completed the lyric.
bool ReadBracedLyric(TText AText, TKoRange ARange, TrecNuo4SymbolPureLyricData& AData,
                     int32_t& AEnd) {
    const int32_t Close = ABC_FindMatchingClose(AText, ARange, u"{", u"}");
    if (Close < 0 || Close == ARange.StartIndex + 1) return false;
    enum { sStart, sPlain, sAfterOpen, sInside, sAfterClose, sAfterTail };
    int State = sStart;
    std::u16string Text;
    std::vector<int32_t> Counts;
    TKoRange Centred(0, 1);
    for (int32_t P = ARange.StartIndex + 1; P <= Close; ++P) {
        const char16_t C = AText[P];
        switch (C) {
            case u'[':
                if (State != sStart && State != sPlain) return false;
                State = sAfterOpen;
                break;
            case u']':
                if (State != sInside) return false;
                State = sAfterClose;
                break;
            case u'_':
                if (State == sStart || State == sAfterOpen) return false;
                ++Counts.back();
                break;
            case u'}':
                if (State != sPlain && State != sAfterClose && State != sAfterTail) return false;
                AData.Text = Text;
                AData.TextCenteredRange = Centred;
                AData.TextUnderlineCountArray = Counts;
                AEnd = P;
                return true;
            default:
                Text += C;
                Counts.push_back(0);
                if (State == sStart) {
                    State = sPlain;
                } else if (State == sAfterOpen) {
                    Centred = TKoRange(static_cast<int32_t>(Text.size()) - 1, 1);
                    State = sInside;
                } else if (State == sInside) {
                    ++Centred.Length;
                } else if (State == sAfterClose) {
                    State = sAfterTail;
                }
                break;
        }
    }
    return false;  // not reached: the matching "}" ends the loop
}

}  // namespace

bool ReadPureLyric(TText AText, TKoRange ARange, TrecNuo4ABCParseInfo_PureLyric& ALyric,
                   int32_t& AEndPos) {
    ALyric.SetToInvalid();
    AEndPos = -1;
    if (!ABC_RangeIsUsable(AText, ARange)) return false;
    TrecNuo4ABCParseInfo_PureLyric L;
    int32_t End = -1;
    const bool bOk = AText[ARange.StartIndex] == u'{' ? ReadBracedLyric(AText, ARange, L.Data, End)
                                                      : ReadPlainLyric(AText, ARange, L.Data, End);
    if (!bOk) return false;
    L.Data.CutToCapacity(Nuo4CharArray2Capacity);
    const TKoRange LyricRange = TKoRange::FromStartEnd(ARange.StartIndex, End);
    L.Header.aType = pitPureLyric;
    L.Header.ABCTextRange = LyricRange;
    while (End < ARange.EndIndex() && ABC_IsWhiteChar(AText[End + 1])) {
        ++End;
        if (AText[End] == u'\r' || AText[End] == u'\n') L.bLineBreak = true;
    }
    ALyric = std::move(L);
    AEndPos = End;
    return true;
}

}  // namespace nuo4
