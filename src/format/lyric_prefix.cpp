#include "format/lyric_prefix.h"

#include <algorithm>
#include <cmath>

namespace nuo4 {

// ---- Writers -----------------------------------------------------------------------------

std::u16string TrecNuo4LyricVersePrefix_VertInfo::ToABCText() const {
    // The reader takes verse numbers from 1 and counts from 1 to 9 only; a record outside
    // that is written at the nearest readable value rather than as a line that is no prefix.
    const int64_t Number = std::max<int64_t>(0, VerseNumber) + 1;
    const int32_t Count = std::min(VerseCount, 9);
    std::u16string S = u"W" + ABC_FormatInt(Number);
    if (Count >= 2) S += u"-" + ABC_FormatInt(Count);
    if (bLockVertLocation)
        S += u"(" + ABC_BoolToText(bShowVerseIndex) + u"," + ABC_BoolToText(true) + u"," +
             ABC_FormatFloat(static_cast<double>(VertLocation_Locked) + 1, 1) + u")";
    else if (bShowVerseIndex)
        S += u"(" + ABC_BoolToText(true) + u")";
    return S;
}

std::u16string TrecNuo4LyricVersePrefix_VertInfo::GetVerseIndexText() const {
    if (!bShowVerseIndex) return u"";
    const int64_t First = static_cast<int64_t>(VerseNumber) + 1;
    if (VerseCount <= 1) return ABC_FormatInt(First) + u".";
    if (VerseCount == 2) return ABC_FormatInt(First) + u"." + ABC_FormatInt(First + 1) + u".";
    return ABC_FormatInt(First) + u"-" + ABC_FormatInt(VerseNumber + int64_t{VerseCount}) + u".";
}

bool TrecNuo4LyricExtraData::IsDefault() const {
    return bOcupy && FontUsage == fuLyric && std::fabs(Scale - 1.0f) <= 0.01f;
}

std::u16string TrecNuo4LyricExtraData::ToABCText(bool bSimply) const {
    if (bSimply && IsDefault()) return u"";
    return u"(" + ABC_BoolToText(bOcupy) + u"," + ABC_FontUsageName(FontUsage) + u"," +
           ABC_FormatFloat(Scale, 2) + u")";
}

void TrecNuo4LyricVersePrefix::Initialize(const TrecNuo4LyricVersePrefix_VertInfo& AVertInfo,
                                          const TrecNuo4HorzLocation& AHorzLocation,
                                          const TrecNuo4LyricExtraData& AExtraInfo) {
    VertInfo = AVertInfo;
    HorzLocation = AHorzLocation;
    ExtraInfo = AExtraInfo;
}

namespace {
std::u16string PrefixText(const TrecNuo4LyricVersePrefix_VertInfo& AVertInfo,
                          const TrecNuo4HorzLocation& AHorzLocation,
                          const TrecNuo4LyricExtraData& AExtraData, bool bSimply) {
    // The long form needs a location: a record without one is written at the default place.
    std::u16string Location = AHorzLocation.ToABCText();
    if (Location.empty()) Location = TrecNuo4HorzLocation().ToABCText();
    return AVertInfo.ToABCText() + Location + AExtraData.ToABCText(bSimply) + u":";
}
}  // namespace

std::u16string TrecNuo4LyricVersePrefix::ToABCText(bool bSimply) const {
    return PrefixText(VertInfo, HorzLocation, ExtraInfo, bSimply);
}

std::u16string TrecNuo4LyricVerseInfo::ToABCText_VersePrefix(bool bSimply) const {
    return PrefixText(VertInfo, HorzLocation, ExtraData, bSimply);
}

// ---- Readers -----------------------------------------------------------------------------

namespace {

bool ReadWholeBool(TText AText, TKoRange AItem, bool& AValue) {
    int32_t End = -1;
    return AItem.IsNonEmpty() && ABC_ParseBool(AText, AItem, true, AValue, End) &&
           End == AItem.EndIndex();
}

bool ReadWholeFloat(TText AText, TKoRange AItem, float& AValue) {
    int32_t End = -1;
    return AItem.IsNonEmpty() && ABC_ParseFloat(AText, AItem, true, AValue, End);
}

// The items of a "(" … ")" group at the start of ARange, split at commas outside braces.
bool ReadGroupItems(TText AText, TKoRange ARange, TKoRangeArray& AItems, int32_t& AEndPos) {
    TKoRange Inner;
    if (!ABC_StartsWith(AText, ARange, u"(") ||
        !ABC_RangeBetween(AText, ARange, u"(", u")", Inner, AEndPos))
        return false;
    AItems = ABC_SplitBySeparator(AText, Inner, u',', true, true);
    return true;
}

}  // namespace

bool ReadLyricVersePrefix_VertOptions(TText AText, TKoRange ARange,
                                      TrecNuo4LyricVersePrefix_VertInfo& AVertInfo,
                                      int32_t& AEndPos, TNuo4ABCTokenInfoItems& ATokens) {
    AEndPos = -1;
    TKoRangeArray Items;
    int32_t End = -1;
    if (!ReadGroupItems(AText, ARange, Items, End)) return false;
    bool bShow = false;
    if (Items.empty() || !ReadWholeBool(AText, Items[0], bShow)) return false;
    AVertInfo.bShowVerseIndex = bShow;
    ATokens.AddItem(ttBool, Items[0]);
    bool bLock = false;
    if (Items.size() > 1 && ReadWholeBool(AText, Items[1], bLock)) {
        AVertInfo.bLockVertLocation = bLock;
        ATokens.AddItem(ttBool, Items[1]);
        float Line = 0;
        if (Items.size() > 2 && ReadWholeFloat(AText, Items[2], Line)) {
            AVertInfo.VertLocation_Locked = Line - 1;
            ATokens.AddItem(ttNumber, Items[2]);
        }
    }
    AEndPos = End;
    return true;
}

bool ReadLyricExtraData(TText AText, TKoRange ARange, TrecNuo4LyricExtraData& AExtraData,
                        int32_t& AEndPos, TNuo4ABCTokenInfoItems& ATokens) {
    AEndPos = -1;
    TKoRangeArray Items;
    int32_t End = -1;
    if (!ReadGroupItems(AText, ARange, Items, End) || Items.size() < 3) return false;
    bool bOcupy = true;
    if (!ReadWholeBool(AText, Items[0], bOcupy)) return false;
    AExtraData.bOcupy = bOcupy;
    ATokens.AddItem(ttBool, Items[0]);
    TNuo4FontUsage Usage = fuLyric;
    int32_t UsageEnd = -1;
    if (Items[1].IsNonEmpty() && ABC_ParseFontUsage(AText, Items[1], Usage, UsageEnd) &&
        UsageEnd == Items[1].EndIndex()) {
        AExtraData.FontUsage = Usage;
        ATokens.AddItem(ttFontUsage, Items[1]);
        float Scale = 1;
        if (ReadWholeFloat(AText, Items[2], Scale)) {
            AExtraData.Scale = Scale;
            ATokens.AddItem(ttNumber, Items[2]);
        }
    }
    AEndPos = End;
    return true;
}

bool ReadLyricVersePrefix(TText AText, TKoRange ARange,
                          TrecNuo4LyricVersePrefix_WithParseInfo& APrefix, int32_t& AEndPos) {
    APrefix.SetToInvalid();
    AEndPos = -1;
    if (!ABC_RangeIsUsable(AText, ARange)) return false;
    const int32_t First = ARange.StartIndex, Last = ARange.EndIndex();
    auto At = [&](int32_t P) -> char16_t { return P <= Last ? AText[P] : char16_t(0); };
    if (At(First) != u'W' && At(First) != u'w') return false;

    TrecNuo4LyricVersePrefix Value;
    TNuo4ABCTokenInfoItems Parts;
    int32_t P = First + 1;  // the next character to read
    auto Finish = [&](int32_t AColon) {
        const TKoRange Whole = TKoRange::FromStartEnd(First, AColon);
        APrefix.Header.aType = pitLocationPrefix;
        APrefix.Header.ABCTextRange = Whole;
        APrefix.Header.TokenItems.AddItem(ttLyricPrefix, Whole);
        APrefix.Header.TokenItems.AddItems(Parts);
        APrefix.Value = Value;
        AEndPos = AColon;
        return true;
    };
    if (At(P) == u':') return Finish(P);

    int32_t N = 0, NEnd = -1;
    if (!ABC_ParseInt(AText, ABC_RangeFrom(ARange, P), N, NEnd) || N < 1) return false;
    Value.VertInfo.VerseNumber = N - 1;
    P = NEnd + 1;
    if (At(P) == u':') return Finish(P);

    if (At(P) == u'-') {
        const char16_t K = At(P + 1);
        if (K < u'1' || K > u'9') return false;
        Value.VertInfo.VerseCount = K - u'0';
        P += 2;
        if (At(P) == u':') return Finish(P);
    }

    if (At(P) == u'(') {
        int32_t GroupEnd = -1;
        if (!ReadLyricVersePrefix_VertOptions(AText, ABC_RangeFrom(ARange, P), Value.VertInfo,
                                              GroupEnd, Parts))
            return false;
        P = GroupEnd + 1;
    }

    if (P > Last) return false;
    int32_t LocationEnd = -1;
    if (!ReadHorzLocation(AText, ABC_RangeFrom(ARange, P), Value.HorzLocation, LocationEnd))
        return false;
    Parts.AddItem(ttHorzLocation, TKoRange::FromStartEnd(P, LocationEnd));
    P = LocationEnd + 1;

    if (At(P) == u'(') {
        int32_t GroupEnd = -1;
        if (!ReadLyricExtraData(AText, ABC_RangeFrom(ARange, P), Value.ExtraInfo, GroupEnd, Parts))
            return false;
        P = GroupEnd + 1;
    }
    if (At(P) != u':') return false;
    return Finish(P);
}

}  // namespace nuo4
