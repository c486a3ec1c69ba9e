#include "format/symbol_control_options.h"

#include <vector>

namespace nuo4 {

namespace {

const char* const HideLevelEnumNames[] = {"shlNone",
                                          "shlAll",
                                          "shlDurationExclude",
                                          "shlDigitOnly",
                                          "shlDurationExclude2",
                                          "shlDigitOnly2",
                                          "shlNote",
                                          "shlOther"};
const char16_t* const HideLevelTexts[] = {
    u"All",           u"None",  u"UnderlineOnly", u"DigitExclude", u"UnderlineOnly2",
    u"DigitExclude2", u"Other", u"Note"};
const char* const ConnectEnumNames[] = {"ulctAuto", "ulctAlwaysConnect", "ulctAlwaysUnconnect"};
const char16_t* const ConnectTexts[] = {u"Auto", u"Connect", u"Unconnect"};

// A factor is written "0" when zero so that unlocked slots stay short.
std::u16string FactorText(float AValue) {
    return AValue == 0 ? std::u16string(u"0") : ABC_FormatFloat(AValue, 3);
}

bool ReadNonNegativeNumber(TText AText, TKoRange APiece, float& AValue) {
    int32_t End = -1;
    if (!APiece.IsNonEmpty() || !ABC_ParseFloat(AText, APiece, true, AValue, End)) return false;
    return AValue >= 0;
}

// The name list matched at the start of a piece, ignoring case; the longest name wins so that
// "UnderlineOnly2" is not read as "UnderlineOnly".
template <size_t N>
int MatchNameAtStart(TText AText, TKoRange APiece, const char16_t* const (&ANames)[N]) {
    if (!APiece.IsNonEmpty()) return -1;
    std::vector<TText> List;
    for (const char16_t* Name : ANames) List.emplace_back(Name);
    int Index = -1;
    int32_t End = -1;
    if (!ABC_StartsWithOneOf(AText, APiece, List, false, true, Index, End)) return -1;
    return Index;
}

}  // namespace

const char* EnumName(TNuo4SymbolHideLevel AValue) {
    return AValue < Nuo4SymbolHideLevelCount ? HideLevelEnumNames[AValue] : "?";
}

const char16_t* SymbolHideLevelName(TNuo4SymbolHideLevel AValue) {
    return AValue < Nuo4SymbolHideLevelCount ? HideLevelTexts[AValue] : u"";
}

const char* EnumName(TNuo4UnderlineConnectType AValue) {
    return AValue < Nuo4UnderlineConnectTypeCount ? ConnectEnumNames[AValue] : "?";
}

const char16_t* UnderlineConnectTypeName(TNuo4UnderlineConnectType AValue) {
    return AValue < Nuo4UnderlineConnectTypeCount ? ConnectTexts[AValue] : u"";
}

void TrecNuo4SymbolControlOptions_AWCoef::ChangeAWCoef(float AValue) {
    if (AValue == 0) {
        Unlock();
        return;
    }
    if (AWCoefIsLocked()) {
        if (RightLineSpacingCoefIsLocked()) {
            // Locked right-line factors keep their proportion to the advance factor.
            const float Ratio = AValue / AWCoef;
            for (float& F : RightLineSpacingCoefArray) F *= Ratio;
        }
        AWCoef = AValue;
        return;
    }
    AWCoef = AValue;
    UnlockRightLineSpacing();
}

std::u16string TrecNuo4SymbolControlOptions_AWCoef::ToABCText() const {
    if (IsDefault()) return u"0";
    std::u16string S = ABC_FormatFloat(AWCoef, 3);
    if (!RightLineSpacingCoefIsLocked()) return S;
    S += u'(';
    for (int I = 0; I < Nuo4RightLineSpacingCoefCount; ++I) {
        if (I > 0) S += u',';
        S += FactorText(RightLineSpacingCoefArray[I]);
    }
    S += u')';
    return S;
}

std::u16string TrecNuo4SymbolControlOptions::ToABCText() const {
    if (IsDefault_All()) return u"";
    std::u16string S = u"{C:" + AWCoef.ToABCText();
    if (!IsDefault_DisplayElement_UnderlineConnect()) {
        S += u',';
        S += SymbolHideLevelName(HideLevel);
        if (!IsDefault_UnderlineConnect()) {
            S += u',';
            S += UnderlineConnectTypeName(UnderlineConnectType);
        }
    }
    S += u'}';
    return S;
}

bool ReadSymbolControlOptionsInner(TText AText, TKoRange AInner,
                                   TrecNuo4SymbolControlOptions& AOptions) {
    AOptions.SetToDefault();
    if (!ABC_RangeIsUsable(AText, AInner) || !ABC_StartsWith(AText, AInner, u"C:")) return false;
    const int32_t Last = AInner.EndIndex();
    int32_t P = AInner.StartIndex + 2;
    if (P > Last) return false;

    TrecNuo4SymbolControlOptions Result;
    float AW = 0;
    int32_t NumEnd = -1;
    if (!ABC_ParseFloat(AText, TKoRange::FromStartEnd(P, Last), false, AW, NumEnd)) return false;
    if (AW < -0.01f) return false;
    // The tolerance admits rounding noise around zero; what lies within it is kept as written,
    // so that the factor reads back and writes out unchanged.
    Result.AWCoef.AWCoef = AW;
    P = NumEnd + 1;

    if (P <= Last && AText[P] == u'(') {
        const int32_t Close =
            ABC_FindMatchingClose(AText, TKoRange::FromStartEnd(P, Last), u"(", u")");
        if (Close < 0) return false;
        if (Close > P + 1) {
            const TKoRangeArray Pieces = ABC_SplitBySeparator(
                AText, TKoRange::FromStartEnd(P + 1, Close - 1), u',', true, true);
            for (size_t I = 0; I < Pieces.size() && I < Nuo4RightLineSpacingCoefCount; ++I) {
                float F = 0;
                if (!ReadNonNegativeNumber(AText, Pieces[I], F)) break;
                Result.AWCoef.RightLineSpacingCoefArray[I] = F;
            }
        }
        P = Close + 1;
    }

    if (P <= Last) {
        if (AText[P] != u',') return false;
        const TKoRangeArray Names =
            P + 1 <= Last
                ? ABC_SplitBySeparator(AText, TKoRange::FromStartEnd(P + 1, Last), u',', true, true)
                : TKoRangeArray();
        if (Names.size() > 0) {
            const int I = MatchNameAtStart(AText, Names[0], HideLevelTexts);
            if (I >= 0) Result.HideLevel = static_cast<TNuo4SymbolHideLevel>(I);
        }
        if (Names.size() > 1) {
            const int I = MatchNameAtStart(AText, Names[1], ConnectTexts);
            if (I >= 0) Result.UnderlineConnectType = static_cast<TNuo4UnderlineConnectType>(I);
        }
    }
    AOptions = Result;
    return true;
}

bool ReadSymbolControlOptions(TText AText, TKoRange ARange,
                              TrecNuo4ABCParseInfo_SymbolControlOptions& AOptions,
                              int32_t& AEndPos) {
    AOptions.SetToInvalid();
    AEndPos = -1;
    if (!ABC_RangeIsUsable(AText, ARange) || !ABC_StartsWith(AText, ARange, u"{C:")) return false;
    const int32_t Close = ABC_FindMatchingClose(AText, ARange, u"{", u"}");
    if (Close < 0) return false;
    const TKoRange Inner = TKoRange::FromStartEnd(ARange.StartIndex + 1, Close - 1);
    TrecNuo4SymbolControlOptions Value;
    if (!ReadSymbolControlOptionsInner(AText, Inner, Value)) return false;
    const TKoRange Group = TKoRange::FromStartEnd(ARange.StartIndex, Close);
    AOptions.Value = Value;
    AOptions.Header.aType = pitSymbolControlOptions;
    AOptions.Header.ABCTextRange = Group;
    AOptions.Header.TokenItems.AddItem(ttControlOptions, Group);
    AEndPos = Close;
    return true;
}

}  // namespace nuo4
