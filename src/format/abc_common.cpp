#include "format/abc_common.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <utility>

namespace nuo4 {

namespace {

struct TCodeRange {
    char16_t First, Last;
};
constexpr TCodeRange LetterRanges[] = {
#include "format/unicode_letters.inc"
};

bool InList(char16_t C, std::initializer_list<char16_t> AList) {
    return std::find(AList.begin(), AList.end(), C) != AList.end();
}

}  // namespace

// ---- Character classes -------------------------------------------------------------------

bool ABC_IsWhiteChar(char16_t C) {
    return C <= 32 || C == 0x85 || C == 0xA0;
}
bool ABC_IsDigitChar(char16_t C) {
    return C >= u'0' && C <= u'9';
}
bool ABC_IsHexDigitChar(char16_t C) {
    return ABC_HexDigitValue(C) >= 0;
}

int ABC_HexDigitValue(char16_t C) {
    if (C >= u'0' && C <= u'9') return C - u'0';
    if (C >= u'a' && C <= u'f') return C - u'a' + 10;
    if (C >= u'A' && C <= u'F') return C - u'A' + 10;
    return -1;
}

bool ABC_IsLetterChar(char16_t C) {
    auto It = std::upper_bound(std::begin(LetterRanges), std::end(LetterRanges), C,
                               [](char16_t V, const TCodeRange& R) { return V < R.First; });
    if (It == std::begin(LetterRanges)) return false;
    --It;
    return C >= It->First && C <= It->Last;
}

bool ABC_IsWordChar(char16_t C) {
    return C == u'\'' || (C >= u'A' && C <= u'Z') || C == u'_' || (C >= u'a' && C <= u'z') ||
           (C >= 0x80 && C <= 0x2FFF);
}

bool ABC_IsWideChar(char16_t C) {
    return C > 0x2FFF;
}

bool ABC_IsOpeningPunctuation(char16_t C) {
    return InList(C, {u'(', 0x201C, 0x300A, 0x3010, 0xFF08});
}

bool ABC_IsClosingPunctuationWithoutBrackets(char16_t C) {
    return InList(C, {u'!', u',', u'.', u':', u';', u'?', 0x201D, 0x2026, 0x3001, 0x3002, 0xFF01,
                      0xFF0C, 0xFF1A, 0xFF1B, 0xFF1F});
}

bool ABC_IsClosingPunctuation(char16_t C) {
    return ABC_IsClosingPunctuationWithoutBrackets(C) || InList(C, {u')', 0x300B, 0x3011, 0xFF09});
}

// ---- Characters and ranges ---------------------------------------------------------------

bool ABC_IsCR(TText AText, int32_t AIndex) {
    return ABC_CharAt(AText, AIndex) == u'\r';
}
bool ABC_IsLF(TText AText, int32_t AIndex) {
    return ABC_CharAt(AText, AIndex) == u'\n';
}
bool ABC_IsCRLF(TText AText, int32_t AIndex) {
    return ABC_IsCR(AText, AIndex) && ABC_IsLF(AText, AIndex + 1);
}
bool ABC_IsWhiteAt(TText AText, int32_t AIndex) {
    return AIndex >= 0 && static_cast<size_t>(AIndex) < AText.size() &&
           ABC_IsWhiteChar(AText[AIndex]);
}
bool ABC_IsLeftBraceAt(TText AText, int32_t AIndex) {
    return ABC_CharAt(AText, AIndex) == u'{';
}

namespace {
int32_t FindWhiteness(TText AText, TKoRange ARange, bool bFromRight, bool bWhite) {
    if (!ABC_RangeIsUsable(AText, ARange)) return -1;
    const int32_t First = ARange.StartIndex, Last = ARange.EndIndex();
    if (bFromRight) {
        for (int32_t I = Last; I >= First; --I)
            if (ABC_IsWhiteChar(AText[I]) == bWhite) return I;
    } else {
        for (int32_t I = First; I <= Last; ++I)
            if (ABC_IsWhiteChar(AText[I]) == bWhite) return I;
    }
    return -1;
}
}  // namespace

int32_t ABC_FindFirstWhite(TText AText, TKoRange ARange, bool bFromRight) {
    return FindWhiteness(AText, ARange, bFromRight, true);
}

int32_t ABC_FindFirstNonWhite(TText AText, TKoRange ARange, bool bFromRight) {
    return FindWhiteness(AText, ARange, bFromRight, false);
}

TKoRange ABC_TrimRange(TText AText, TKoRange ARange) {
    const int32_t First = ABC_FindFirstNonWhite(AText, ARange, false);
    if (First < 0) return TKoRange::Invalid();
    const int32_t Last = ABC_FindFirstNonWhite(AText, ARange, true);
    return TKoRange::FromStartEnd(First, Last);
}

bool ABC_RangeIsWhite(TText AText, TKoRange ARange) {
    return ABC_FindFirstNonWhite(AText, ARange, false) < 0;
}

std::u16string ABC_GetRangeText(TText AText, TKoRange ARange) {
    if (!ABC_RangeIsUsable(AText, ARange)) return {};
    return std::u16string(AText.substr(ARange.StartIndex, ARange.Length));
}

TKoRange ABC_FirstWordRange(TText AText, TKoRange ARange) {
    const int32_t First = ABC_FindFirstNonWhite(AText, ARange, false);
    if (First < 0) return TKoRange::Invalid();
    const int32_t White = ABC_FindFirstWhite(AText, ABC_RangeFrom(ARange, First), false);
    return TKoRange::FromStartEnd(First, White < 0 ? ARange.EndIndex() : White - 1);
}

TKoRange ABC_RangeFrom(TKoRange ARange, int32_t APos) {
    if (!ARange.IsValid() || APos < ARange.StartIndex || APos > ARange.EndIndex())
        return TKoRange::Invalid();
    return TKoRange::FromStartEnd(APos, ARange.EndIndex());
}

// ---- Matching -----------------------------------------------------------------------------

char16_t ABC_AsciiLower(char16_t C) {
    return (C >= u'A' && C <= u'Z') ? C + 32 : C;
}

bool ABC_SameTextIgnoreCase(TText A, TText B) {
    if (A.size() != B.size()) return false;
    for (size_t I = 0; I < A.size(); ++I)
        if (ABC_AsciiLower(A[I]) != ABC_AsciiLower(B[I])) return false;
    return true;
}

namespace {
bool MatchAt(TText AText, int32_t APos, TText S, bool bIgnoreCase) {
    for (size_t I = 0; I < S.size(); ++I) {
        const char16_t A = AText[APos + I], B = S[I];
        if (bIgnoreCase ? ABC_AsciiLower(A) != ABC_AsciiLower(B) : A != B) return false;
    }
    return true;
}
}  // namespace

bool ABC_StartsWith(TText AText, TKoRange ARange, TText S, bool bWordEnd, bool bIgnoreCase) {
    if (!ABC_RangeIsUsable(AText, ARange) || S.empty()) return false;
    if (static_cast<int64_t>(S.size()) > ARange.Length) return false;
    if (!MatchAt(AText, ARange.StartIndex, S, bIgnoreCase)) return false;
    if (bWordEnd) {
        const int32_t After = ARange.StartIndex + static_cast<int32_t>(S.size());
        if (After <= ARange.EndIndex() && !ABC_IsWhiteChar(AText[After])) return false;
    }
    return true;
}

bool ABC_StartsWithOneOf(TText AText, TKoRange ARange, const std::vector<TText>& AList,
                         bool bWordEnd, bool bIgnoreCase, int& AIndex, int32_t& AEndPos) {
    AIndex = -1;
    AEndPos = -1;
    size_t BestLen = 0;
    for (size_t I = 0; I < AList.size(); ++I) {
        if (AList[I].size() > BestLen &&
            ABC_StartsWith(AText, ARange, AList[I], bWordEnd, bIgnoreCase)) {
            AIndex = static_cast<int>(I);
            BestLen = AList[I].size();
        }
    }
    if (AIndex < 0) return false;
    AEndPos = ARange.StartIndex + static_cast<int32_t>(BestLen) - 1;
    return true;
}

int32_t ABC_Find(TText AText, TKoRange ARange, TText S) {
    if (!ABC_RangeIsUsable(AText, ARange) || S.empty()) return -1;
    if (static_cast<int64_t>(S.size()) > ARange.Length) return -1;
    const auto Hay = AText.substr(ARange.StartIndex, ARange.Length);
    const size_t Pos = Hay.find(S);
    return Pos == TText::npos ? -1 : ARange.StartIndex + static_cast<int32_t>(Pos);
}

namespace {
// The smallest position any string of the list is found at; the earlier string wins ties.
template <typename TFind>
int32_t FindEarliest(const std::vector<TText>& AList, int& AIndex, TFind AFind) {
    AIndex = -1;
    int32_t Best = -1;
    for (size_t I = 0; I < AList.size(); ++I) {
        const int32_t P = AFind(AList[I]);
        if (P >= 0 && (Best < 0 || P < Best)) {
            Best = P;
            AIndex = static_cast<int>(I);
        }
    }
    return Best;
}
}  // namespace

int32_t ABC_FindEarliestOf(TText AText, TKoRange ARange, const std::vector<TText>& AList,
                           int& AIndex) {
    return FindEarliest(AList, AIndex, [&](TText S) { return ABC_Find(AText, ARange, S); });
}

int32_t ABC_FindEarliestCharOf(TText AText, TKoRange ARange, TText AChars, int& AIndex) {
    AIndex = -1;
    if (!ABC_RangeIsUsable(AText, ARange) || AChars.empty()) return -1;
    for (int32_t P = ARange.StartIndex; P <= ARange.EndIndex(); ++P) {
        const size_t I = AChars.find(AText[P]);
        if (I != TText::npos) {
            AIndex = static_cast<int>(I);
            return P;
        }
    }
    return -1;
}

int32_t ABC_FindMatchingClose(TText AText, TKoRange ARange, TText AOpen, TText AClose) {
    if (AOpen.empty() || AClose.empty() || !ABC_StartsWith(AText, ARange, AOpen)) return -1;
    if (AOpen.size() == 1 && AClose.size() == 1 && AOpen[0] != AClose[0]) {
        // Single-character brackets, the case of every brace group of the voice.
        const char16_t O = AOpen[0], C = AClose[0];
        int Depth = 1;
        const int32_t Last = ARange.EndIndex();
        for (int32_t P = ARange.StartIndex + 1; P <= Last; ++P) {
            if (AText[P] == O)
                ++Depth;
            else if (AText[P] == C && --Depth == 0)
                return P;
        }
        return -1;
    }
    const bool bSame = AOpen == AClose;
    int Depth = 1;
    int32_t P = ARange.StartIndex + static_cast<int32_t>(AOpen.size());
    const int32_t Last = ARange.EndIndex();
    while (P <= Last) {
        // The nearest occurrence of open or close is taken each time.
        if (!bSame && P + static_cast<int32_t>(AOpen.size()) - 1 <= Last &&
            MatchAt(AText, P, AOpen, false)) {
            ++Depth;
            P += static_cast<int32_t>(AOpen.size());
            continue;
        }
        if (P + static_cast<int32_t>(AClose.size()) - 1 <= Last &&
            MatchAt(AText, P, AClose, false)) {
            if (--Depth == 0) return P;
            P += static_cast<int32_t>(AClose.size());
            continue;
        }
        ++P;
    }
    return -1;
}

bool ABC_RangeBetween(TText AText, TKoRange ARange, TText AOpen, TText AClose,
                      TKoRange& AInnerRange, int32_t& AEndPos) {
    AInnerRange = TKoRange::Invalid();
    AEndPos = ARange.IsValid() ? ARange.EndIndex() : -1;
    const int32_t Close = ABC_FindMatchingClose(AText, ARange, AOpen, AClose);
    if (Close < 0) return false;
    const int32_t InnerStart = ARange.StartIndex + static_cast<int32_t>(AOpen.size());
    AInnerRange = TKoRange(InnerStart, Close - InnerStart);
    AEndPos = Close + static_cast<int32_t>(AClose.size()) - 1;
    return true;
}

bool ABC_IsWrappedBy(TText AText, TKoRange ARange, char16_t AOpenChar, char16_t ACloseChar) {
    if (!ABC_RangeIsUsable(AText, ARange) || ARange.Length < 2) return false;
    const char16_t Open[1] = {AOpenChar}, Close[1] = {ACloseChar};
    return ABC_FindMatchingClose(AText, ARange, TText(Open, 1), TText(Close, 1)) ==
           ARange.EndIndex();
}

bool ABC_IsWrappedByBraces(TText AText, TKoRange ARange) {
    return ABC_IsWrappedBy(AText, ARange, u'{', u'}');
}

TKoRange ABC_StripBraces(TText AText, TKoRange ARange) {
    if (!ABC_IsWrappedByBraces(AText, ARange)) return ARange;
    return TKoRange(ARange.StartIndex + 1, ARange.Length - 2);
}

std::u16string ABC_StripBracesOfString(TText S) {
    const TKoRange R = ABC_StripBraces(S, TKoRange(0, static_cast<int32_t>(S.size())));
    return std::u16string(S.substr(R.StartIndex, R.Length));
}

std::u16string ABC_GetRangeTextWithoutBraces(TText AText, TKoRange ARange) {
    return ABC_GetRangeText(AText, ABC_StripBraces(AText, ARange));
}

bool ABC_RangeEquals(TText AText, TKoRange ARange, TText S, bool bIgnoreCase) {
    if (!ABC_RangeIsUsable(AText, ARange)) return S.empty() && ARange.IsEmpty();
    if (static_cast<size_t>(ARange.Length) != S.size()) return false;
    return MatchAt(AText, ARange.StartIndex, S, bIgnoreCase);
}

// ---- Splitting ----------------------------------------------------------------------------

namespace {
// Position of the "}" matching the "{" at APos, or the range end when unmatched.
int32_t SkipBraceGroup(TText AText, int32_t APos, int32_t ALast) {
    const int32_t Close =
        ABC_FindMatchingClose(AText, TKoRange::FromStartEnd(APos, ALast), u"{", u"}");
    return Close < 0 ? ALast : Close;
}
}  // namespace

TKoRangeArray ABC_SplitBySeparator(TText AText, TKoRange ARange, char16_t ASep, bool bBraceGroups,
                                   bool bTrim) {
    TKoRangeArray Result;
    if (!ABC_RangeIsUsable(AText, ARange)) return Result;
    const int32_t Last = ARange.EndIndex();
    int32_t PieceStart = ARange.StartIndex;
    auto Emit = [&](int32_t AEnd) {
        TKoRange Piece = TKoRange::FromStartEnd(PieceStart, AEnd);
        if (bTrim) Piece = ABC_TrimRange(AText, Piece);
        Result.push_back(Piece);
    };
    int32_t P = ARange.StartIndex;
    while (P <= Last) {
        const char16_t C = AText[P];
        if (bBraceGroups && C == u'{') {
            P = SkipBraceGroup(AText, P, Last) + 1;
            continue;
        }
        if (C == ASep) {
            Emit(P - 1);
            PieceStart = P + 1;
        }
        ++P;
    }
    if (PieceStart <= Last) Emit(Last);
    return Result;
}

TKoRangeArray ABC_SplitByWhite(TText AText, TKoRange ARange, bool bBraceGroups) {
    TKoRangeArray Result;
    if (!ABC_RangeIsUsable(AText, ARange)) return Result;
    auto IsSeparator = [&](char16_t C) {
        return bBraceGroups ? (C == u' ' || C == u'\t') : ABC_IsWhiteChar(C);
    };
    const int32_t Last = ARange.EndIndex();
    int32_t P = ARange.StartIndex;
    while (P <= Last) {
        while (P <= Last && IsSeparator(AText[P])) ++P;
        if (P > Last) break;
        const int32_t Start = P;
        while (P <= Last && !IsSeparator(AText[P])) {
            if (bBraceGroups && AText[P] == u'{') P = SkipBraceGroup(AText, P, Last);
            ++P;
        }
        Result.push_back(TKoRange::FromStartEnd(Start, P - 1));
    }
    return Result;
}

bool ABC_SplitNameValues(TText AText, TKoRange ARange, char16_t ASep, char16_t ANameValueChar,
                         bool bBraceGroups, bool bNeedValue, TKoRange& ANameRange,
                         TKoRangeArray& AValueRanges, int32_t& AEndPos) {
    ANameRange = TKoRange::Invalid();
    AValueRanges.clear();
    AEndPos = -1;
    const char16_t NV[1] = {ANameValueChar};
    const int32_t EqPos = ABC_Find(AText, ARange, TText(NV, 1));
    if (EqPos < 0) return false;
    const TKoRange Name =
        ABC_TrimRange(AText, TKoRange::FromStartEnd(ARange.StartIndex, EqPos - 1));
    if (!Name.IsNonEmpty()) return false;
    TKoRangeArray Values;
    if (EqPos < ARange.EndIndex())
        Values = ABC_SplitBySeparator(AText, TKoRange::FromStartEnd(EqPos + 1, ARange.EndIndex()),
                                      ASep, bBraceGroups, true);
    int32_t End = EqPos;
    bool bAnyValue = false;
    for (const auto& V : Values)
        if (V.IsNonEmpty()) {
            End = V.EndIndex();
            bAnyValue = true;
        }
    if (bNeedValue && !bAnyValue) return false;
    ANameRange = Name;
    AValueRanges = std::move(Values);
    AEndPos = End;
    return true;
}

// ---- Numbers ------------------------------------------------------------------------------

bool ABC_ParseInt(TText AText, TKoRange ARange, int32_t& AValue, int32_t& AEndPos) {
    AValue = 0;
    AEndPos = -1;
    if (!ABC_RangeIsUsable(AText, ARange)) return false;
    int32_t P = ARange.StartIndex;
    const int32_t Last = ARange.EndIndex();
    const bool bNegative = AText[P] == u'-';
    if (bNegative) ++P;
    if (P > Last || !ABC_IsDigitChar(AText[P])) return false;
    uint32_t Value = 0;  // wraps on overflow, as 32-bit arithmetic does
    while (P <= Last && ABC_IsDigitChar(AText[P])) {
        Value = Value * 10u + static_cast<uint32_t>(AText[P] - u'0');
        ++P;
    }
    if (bNegative) Value = 0u - Value;
    AValue = static_cast<int32_t>(Value);
    AEndPos = P - 1;
    return true;
}

bool ABC_ParseFloat(TText AText, TKoRange ARange, bool bWholeRange, float& AValue,
                    int32_t& AEndPos) {
    AValue = 0;
    AEndPos = -1;
    int32_t IntPart = 0, IntEnd = -1;
    if (!ABC_ParseInt(AText, ARange, IntPart, IntEnd)) return false;
    const bool bNegative = AText[ARange.StartIndex] == u'-';
    double Value = std::fabs(static_cast<double>(IntPart));
    int32_t End = IntEnd;
    if (IntEnd < ARange.EndIndex() && AText[IntEnd + 1] == u'.') {
        End = IntEnd + 1;
        if (End < ARange.EndIndex()) {
            const TKoRange FracRange = TKoRange::FromStartEnd(End + 1, ARange.EndIndex());
            if (AText[End + 1] == u'-') return false;
            int32_t Frac = 0, FracEnd = -1;
            if (ABC_ParseInt(AText, FracRange, Frac, FracEnd)) {
                const int Digits = FracEnd - End;
                Value += static_cast<double>(static_cast<uint32_t>(Frac)) / std::pow(10.0, Digits);
                End = FracEnd;
            }
        }
    }
    if (bWholeRange && End != ARange.EndIndex()) return false;
    AValue = static_cast<float>(bNegative ? -Value : Value);
    AEndPos = End;
    return true;
}

std::u16string ABC_FormatFloat(double AValue, int ADecimals) {
    char Buf[64];
    // snprintf honours LC_NUMERIC; the notation always uses ".", so fix it up.
    std::snprintf(Buf, sizeof Buf, "%.*f", std::clamp(ADecimals, 0, 9), AValue);
    std::u16string Result;
    for (const char* P = Buf; *P; ++P) Result += (*P == ',') ? u'.' : static_cast<char16_t>(*P);
    if (Result == u"-0" || Result.starts_with(u"-0.")) {
        // A value that rounds to zero is written without a sign.
        bool bAllZero = true;
        for (char16_t C : Result)
            if (C >= u'1' && C <= u'9') bAllZero = false;
        if (bAllZero) Result.erase(0, 1);
    }
    return Result;
}

std::u16string ABC_FormatInt(int64_t AValue) {
    const std::string S = std::to_string(AValue);
    return std::u16string(S.begin(), S.end());
}

std::u16string ABC_FormatPoint(double AX, double AY) {
    return u"(" + ABC_FormatFloat(AX, 2) + u"," + ABC_FormatFloat(AY, 2) + u")";
}

// ---- Booleans, flags, colours, usages -----------------------------------------------------

bool ABC_ParseBool(TText AText, TKoRange ARange, bool bWordEnd, bool& AValue, int32_t& AEndPos) {
    AValue = false;
    AEndPos = -1;
    static const std::vector<TText> Words = {u"true", u"false", u"1", u"0"};
    int Index = -1;
    if (!ABC_StartsWithOneOf(AText, ARange, Words, bWordEnd, true, Index, AEndPos)) return false;
    AValue = Index == 0 || Index == 2;
    return true;
}

std::u16string ABC_BoolToText(bool AValue) {
    return AValue ? u"True" : u"False";
}

namespace {
// Reads "[" letters "]" where each letter names one flag of ALetters (upper case, bit order).
bool ParseLetterSet(TText AText, TKoRange ARange, TText ALetters, uint8_t& ASet, int32_t& AEndPos) {
    ASet = 0;
    AEndPos = -1;
    TKoRange Inner;
    int32_t End = -1;
    if (!ABC_RangeBetween(AText, ARange, u"[", u"]", Inner, End)) return false;
    uint8_t Set = 0;
    for (int32_t P = Inner.StartIndex; P < Inner.StartIndex + Inner.Length; ++P) {
        const char16_t C = AText[P];
        const char16_t Upper = (C >= u'a' && C <= u'z') ? C - 32 : C;
        const size_t I = ALetters.find(Upper);
        if (I == TText::npos) return false;
        Set |= static_cast<uint8_t>(1u << I);
    }
    ASet = Set;
    AEndPos = End;
    return true;
}

std::u16string LetterSetToText(uint8_t ASet, TText ALetters) {
    std::u16string S = u"[";
    for (size_t I = 0; I < ALetters.size(); ++I)
        if (ASet & (1u << I)) S += ALetters[I];
    return S + u"]";
}
}  // namespace

bool ABC_ParseFontStyle(TText AText, TKoRange ARange, TNuo4FontStyles& AStyles, int32_t& AEndPos) {
    return ParseLetterSet(AText, ARange, u"BIUS", AStyles, AEndPos);
}

std::u16string ABC_FontStyleToText(TNuo4FontStyles AStyles) {
    return LetterSetToText(AStyles, u"BIUS");
}

bool ABC_ParseOcupy(TText AText, TKoRange ARange, TNuo4AttachmentsOcupyTypes& ASides,
                    int32_t& AEndPos) {
    return ParseLetterSet(AText, ARange, u"UDLR", ASides, AEndPos);
}

std::u16string ABC_OcupyToText(TNuo4AttachmentsOcupyTypes ASides) {
    return LetterSetToText(ASides, u"UDLR");
}

bool ABC_ParseColor(TText AText, TKoRange ARange, TNuo4Color& AColor, int32_t& AEndPos) {
    AColor = Nuo4DefaultColor;
    AEndPos = -1;
    if (!ABC_RangeIsUsable(AText, ARange) || ARange.Length != 9 || AText[ARange.StartIndex] != u'$')
        return false;
    uint32_t Value = 0;
    for (int32_t P = ARange.StartIndex + 1; P <= ARange.EndIndex(); ++P) {
        const int D = ABC_HexDigitValue(AText[P]);
        if (D < 0) return false;
        Value = (Value << 4) | static_cast<uint32_t>(D);
    }
    AColor = Value;
    AEndPos = ARange.EndIndex();
    return true;
}

std::u16string ABC_ColorToText(TNuo4Color AColor) {
    char Buf[16];
    std::snprintf(Buf, sizeof Buf, "$%.8x", AColor);
    return std::u16string(Buf, Buf + 9);
}

namespace {
constexpr const char16_t* FontUsageNames[Nuo4FontUsageCount] = {u"Core",
                                                                u"Default",
                                                                u"Intro",
                                                                u"Title",
                                                                u"SubTitle",
                                                                u"SubTitle2",
                                                                u"WordsByAndMusicBy",
                                                                u"KeyAndMeters",
                                                                u"Expression",
                                                                u"Lyric",
                                                                u"LyricPrefix",
                                                                u"LyricVerseIndex",
                                                                u"DrumPitch",
                                                                u"AuxInfo",
                                                                u"Text",
                                                                u"FangZi",
                                                                u"AttachText1",
                                                                u"AttachText2",
                                                                u"AttachText3",
                                                                u"AttachText4",
                                                                u"PartName",
                                                                u"Memo1",
                                                                u"Memo2",
                                                                u"Memo3",
                                                                u"Memo4"};
constexpr const char16_t* ContinueStyleNames[3] = {u"Full", u"Left", u"Right"};
}  // namespace

const char16_t* ABC_FontUsageName(TNuo4FontUsage AUsage) {
    return AUsage < Nuo4FontUsageCount ? FontUsageNames[AUsage] : u"";
}

bool ABC_ParseFontUsage(TText AText, TKoRange ARange, TNuo4FontUsage& AUsage, int32_t& AEndPos) {
    static const std::vector<TText> Names(std::begin(FontUsageNames), std::end(FontUsageNames));
    int Index = -1;
    AUsage = fuDefault;
    if (!ABC_StartsWithOneOf(AText, ARange, Names, true, true, Index, AEndPos)) return false;
    AUsage = static_cast<TNuo4FontUsage>(Index);
    return true;
}

const char16_t* ABC_LineSymbolContinueStyleName(TNuo4LineSymbolContinueStyle AStyle) {
    return AStyle <= lscsRight ? ContinueStyleNames[AStyle] : u"";
}

bool ABC_ParseLineSymbolContinueStyle(TText AText, TKoRange ARange,
                                      TNuo4LineSymbolContinueStyle& AStyle, int32_t& AEndPos) {
    static const std::vector<TText> Names(std::begin(ContinueStyleNames),
                                          std::end(ContinueStyleNames));
    AStyle = lscsFull;
    AEndPos = -1;
    int Index = -1;
    const int32_t P = ABC_FindEarliestOf(AText, ARange, Names, Index);
    if (P < 0) return false;
    AStyle = static_cast<TNuo4LineSymbolContinueStyle>(Index);
    AEndPos = P + static_cast<int32_t>(Names[Index].size()) - 1;
    return true;
}

// ---- Escapes ------------------------------------------------------------------------------

bool ABC_ReadCharOrEscape(TText AText, TKoRange ARange, char16_t& AChar, int32_t& AEndPos,
                          bool& bEscaped) {
    AChar = 0;
    AEndPos = -1;
    bEscaped = false;
    if (!ABC_RangeIsUsable(AText, ARange)) return false;
    const int32_t P = ARange.StartIndex, Last = ARange.EndIndex();
    AChar = AText[P];
    AEndPos = P;
    if (AChar != u'\\' || P == Last) return true;
    const char16_t N = AText[P + 1];
    auto Take = [&](char16_t C, int32_t AEnd) {
        AChar = C;
        AEndPos = AEnd;
        bEscaped = true;
        return true;
    };
    switch (N) {
        case u',':
            return Take(u',', P + 1);
        case u'n':
        case u'N':
            return Take(u'\n', P + 1);
        case u'r':
        case u'R':
            return Take(u'\r', P + 1);
        case u's':
        case u'S':
            return Take(u' ', P + 1);
        case u't':
        case u'T':
            return Take(u'\t', P + 1);
        case u'x':
        case u'X':
            if (P + 5 <= Last) {
                uint32_t V = 0;
                bool bOk = true;
                for (int32_t I = P + 2; I <= P + 5 && bOk; ++I) {
                    const int D = ABC_HexDigitValue(AText[I]);
                    bOk = D >= 0;
                    V = (V << 4) | static_cast<uint32_t>(D < 0 ? 0 : D);
                }
                if (bOk) return Take(static_cast<char16_t>(V), P + 5);
            }
            return true;
        default:
            if (ABC_IsDigitChar(N) && P + 5 <= Last) {
                uint32_t V = 0;
                for (int32_t I = P + 1; I <= P + 5; ++I) {
                    if (!ABC_IsDigitChar(AText[I])) return true;
                    V = V * 10u + static_cast<uint32_t>(AText[I] - u'0');
                }
                return Take(static_cast<char16_t>(V % 65536u), P + 5);
            }
            return true;
    }
}

std::u16string ABC_Unescape(TText AText, TKoRange ARange) {
    std::u16string Result;
    if (!ABC_RangeIsUsable(AText, ARange)) return Result;
    int32_t P = ARange.StartIndex;
    const int32_t Last = ARange.EndIndex();
    Result.reserve(ARange.Length);
    while (P <= Last) {
        char16_t C;
        int32_t End;
        bool bEscaped;
        ABC_ReadCharOrEscape(AText, TKoRange::FromStartEnd(P, Last), C, End, bEscaped);
        Result += C;
        P = End + 1;
    }
    return Result;
}

std::u16string ABC_EscapeChar(char16_t C, bool bSpaceAsEscape, bool bForceEscape, bool bDecimal) {
    auto Coded = [&]() {
        char Buf[16];
        if (bDecimal)
            std::snprintf(Buf, sizeof Buf, "\\%.5d", static_cast<int>(C));
        else
            std::snprintf(Buf, sizeof Buf, "\\x%.4x", static_cast<unsigned>(C));
        return std::u16string(Buf, Buf + std::char_traits<char>::length(Buf));
    };
    if (bForceEscape) return Coded();
    // A backslash written as itself would read back as the start of an escape ("\n" typed by
    // the user would come back as a line break), so it is always written coded.
    if (C == u'\\') return Coded();
    if ((C >= 0x21 && C <= 0x7E) || (C >= 0x3000 && C <= 0x9FFF)) return std::u16string(1, C);
    switch (C) {
        case u'\t':
            return u"\\t";
        case u'\n':
            return u"\\n";
        case u'\r':
            return u"\\r";
        case u' ':
            return bSpaceAsEscape ? u"\\s" : u" ";
        default:
            return Coded();
    }
}

std::u16string ABC_EscapeText(TText S, bool bSpaceAsEscape, bool bForceEscape, bool bDecimal) {
    std::u16string Result;
    Result.reserve(S.size());
    for (char16_t C : S) Result += ABC_EscapeChar(C, bSpaceAsEscape, bForceEscape, bDecimal);
    return Result;
}

int32_t ABC_CountLeadingWhite(TText AText, TKoRange ARange) {
    if (!ABC_RangeIsUsable(AText, ARange)) return 0;
    int32_t Count = 0, P = ARange.StartIndex;
    const int32_t Last = ARange.EndIndex();
    while (P <= Last) {
        char16_t C;
        int32_t End;
        bool bEscaped;
        ABC_ReadCharOrEscape(AText, TKoRange::FromStartEnd(P, Last), C, End, bEscaped);
        if (!ABC_IsWhiteChar(C)) break;
        ++Count;
        P = End + 1;
    }
    return Count;
}

int32_t ABC_FindEscaped(TText AText, TKoRange ARange, TText S) {
    if (S.size() != 1 || !ABC_IsWhiteChar(S[0])) return ABC_Find(AText, ARange, S);
    if (!ABC_RangeIsUsable(AText, ARange)) return -1;
    int32_t P = ARange.StartIndex;
    const int32_t Last = ARange.EndIndex();
    while (P <= Last) {
        char16_t C;
        int32_t End;
        bool bEscaped;
        ABC_ReadCharOrEscape(AText, TKoRange::FromStartEnd(P, Last), C, End, bEscaped);
        if (C == S[0]) return P;
        P = End + 1;
    }
    return -1;
}

int32_t ABC_FindEarliestEscaped(TText AText, TKoRange ARange, const std::vector<TText>& AList,
                                int& AIndex) {
    return FindEarliest(AList, AIndex, [&](TText S) { return ABC_FindEscaped(AText, ARange, S); });
}

std::u16string ABC_GuardText(TText S, uint8_t AGuards) {
    const size_t N = S.size();
    // Braces that belong to a balanced pair, found once; the others are unmatched. Depth of
    // brace groups per position decides whether a comma or white splits there.
    std::vector<uint8_t> Paired;
    std::vector<int32_t> Open;
    const bool bNeedPairs = (AGuards & (tgCommas | tgBraces | tgWhite)) != 0;
    if (bNeedPairs) {
        Paired.assign(N, 0);
        for (size_t I = 0; I < N; ++I) {
            if (S[I] == u'{') {
                Open.push_back(static_cast<int32_t>(I));
            } else if (S[I] == u'}' && !Open.empty()) {
                Paired[static_cast<size_t>(Open.back())] = 1;
                Paired[I] = 1;
                Open.pop_back();
            }
        }
    }
    auto Coded = [](char16_t C) { return ABC_EscapeChar(C, false, true); };
    std::u16string R;
    R.reserve(N);
    int32_t Depth = 0;
    for (size_t I = 0; I < N; ++I) {
        const char16_t C = S[I];
        const char16_t Next = I + 1 < N ? S[I + 1] : u'\0';
        const char16_t Prev = I > 0 ? S[I - 1] : (AGuards & tgAfterMark) ? u'{' : u' ';
        if (C == u'/' &&
            (Next == u'*' || (Next == u'/' && (Prev == u' ' || Prev == u'\r' || Prev == u'\n')))) {
            R += Coded(C);
        } else if (C == u'\r' || C == u'\n') {
            R += ABC_EscapeChar(C, false);
        } else if (C == u'{' || C == u'}') {
            const bool bPaired = bNeedPairs && Paired[I];
            if (!bPaired && (AGuards & (C == u'{' ? tgOpenBraces : tgCloseBraces)))
                R += Coded(C);
            else
                R += C;
            if (bPaired) Depth += C == u'{' ? 1 : -1;
        } else if (C == u',' && (AGuards & tgCommas) && Depth == 0) {
            // "\," is itself an escape for the comma, and still splits: it becomes one code.
            if (I > 0 && S[I - 1] == u'\\') R.pop_back();
            R += Coded(C);
        } else if (C == u'"' && (AGuards & tgQuotes)) {
            R += Coded(C);
        } else if ((((AGuards & tgWhite) && Depth == 0) || (AGuards & tgAllWhite)) &&
                   ABC_IsWhiteChar(C)) {
            R += ABC_EscapeChar(C, true, C != u' ' && C != u'\t');
        } else if ((AGuards & tgEndWhite) && (I == 0 || I + 1 == N) && ABC_IsWhiteChar(C)) {
            R += ABC_EscapeChar(C, true, C != u' ');
        } else {
            R += C;
        }
    }
    return R;
}

std::u16string ABC_LineBreaksToEscapes(TText S) {
    std::u16string Result;
    Result.reserve(S.size());
    for (size_t I = 0; I < S.size(); ++I) {
        if (S[I] == u'\r' && I + 1 < S.size() && S[I + 1] == u'\n') {
            Result += u"\\n";
            ++I;
        } else if (S[I] == u'\n') {
            Result += u"\\n";
        } else {
            Result += S[I];
        }
    }
    return Result;
}

std::u16string ABC_CutToCapacity(std::u16string S, size_t ACapacity) {
    if (S.size() > ACapacity) S.resize(ACapacity);
    return S;
}

// ---- UTF-8 conversions ---------------------------------------------------------------------

std::u16string ABC_FromUtf8(std::string_view S) {
    std::u16string Out;
    Out.reserve(S.size());
    size_t I = 0;
    while (I < S.size()) {
        const unsigned char B0 = static_cast<unsigned char>(S[I]);
        uint32_t Cp = 0xFFFD;
        size_t Len = 1;
        auto Cont = [&](size_t K) {
            return I + K < S.size() && (static_cast<unsigned char>(S[I + K]) & 0xC0) == 0x80;
        };
        if (B0 < 0x80) {
            Cp = B0;
        } else if (B0 >= 0xC2 && B0 < 0xE0 && Cont(1)) {
            Cp = ((B0 & 0x1Fu) << 6) | (S[I + 1] & 0x3Fu);
            Len = 2;
        } else if (B0 >= 0xE0 && B0 < 0xF0 && Cont(1) && Cont(2)) {
            Cp = ((B0 & 0x0Fu) << 12) | ((S[I + 1] & 0x3Fu) << 6) | (S[I + 2] & 0x3Fu);
            Len = 3;
            if (Cp < 0x800 || (Cp >= 0xD800 && Cp <= 0xDFFF)) Cp = 0xFFFD;
        } else if (B0 >= 0xF0 && B0 < 0xF5 && Cont(1) && Cont(2) && Cont(3)) {
            Cp = ((B0 & 0x07u) << 18) | ((S[I + 1] & 0x3Fu) << 12) | ((S[I + 2] & 0x3Fu) << 6) |
                 (S[I + 3] & 0x3Fu);
            Len = 4;
            if (Cp < 0x10000 || Cp > 0x10FFFF) Cp = 0xFFFD;
        }
        if (Cp >= 0x10000) {
            Cp -= 0x10000;
            Out += static_cast<char16_t>(0xD800 + (Cp >> 10));
            Out += static_cast<char16_t>(0xDC00 + (Cp & 0x3FF));
        } else {
            Out += static_cast<char16_t>(Cp);
        }
        I += Len;
    }
    return Out;
}

std::string ABC_ToUtf8(std::u16string_view S) {
    std::string Out;
    Out.reserve(S.size());
    for (size_t I = 0; I < S.size(); ++I) {
        uint32_t Cp = S[I];
        if (Cp >= 0xD800 && Cp <= 0xDBFF && I + 1 < S.size() && S[I + 1] >= 0xDC00 &&
            S[I + 1] <= 0xDFFF) {
            Cp = 0x10000 + ((Cp - 0xD800) << 10) + (S[I + 1] - 0xDC00);
            ++I;
        } else if (Cp >= 0xD800 && Cp <= 0xDFFF) {
            Cp = 0xFFFD;
        }
        if (Cp < 0x80) {
            Out += static_cast<char>(Cp);
        } else if (Cp < 0x800) {
            Out += static_cast<char>(0xC0 | (Cp >> 6));
            Out += static_cast<char>(0x80 | (Cp & 0x3F));
        } else if (Cp < 0x10000) {
            Out += static_cast<char>(0xE0 | (Cp >> 12));
            Out += static_cast<char>(0x80 | ((Cp >> 6) & 0x3F));
            Out += static_cast<char>(0x80 | (Cp & 0x3F));
        } else {
            Out += static_cast<char>(0xF0 | (Cp >> 18));
            Out += static_cast<char>(0x80 | ((Cp >> 12) & 0x3F));
            Out += static_cast<char>(0x80 | ((Cp >> 6) & 0x3F));
            Out += static_cast<char>(0x80 | (Cp & 0x3F));
        }
    }
    return Out;
}

}  // namespace nuo4
