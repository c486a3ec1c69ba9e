#pragma once
// The verse prefix that opens a verse of lyrics: "W" + verse number(s), an optional group of
// vertical options, the horizontal location of the first lyric and an optional group of font
// data, ended by ":" ("W:", "W2:", "W1-2@1,1:", "W3(False,True,2.0)@5R(False,AttachText1,0.80):").

#include <cstdint>
#include <string>

#include "format/abc_common.h"
#include "format/abc_tokens.h"
#include "format/horz_location.h"
#include "format/ko_range.h"

namespace nuo4 {

struct TrecNuo4LyricVersePrefix_VertInfo {
    int32_t VerseNumber = 0;  // 0 for the first verse
    int32_t VerseCount = 1;   // more than 1: sung for that many consecutive verse numbers
    bool bShowVerseIndex = false;
    bool bLockVertLocation = false;
    float VertLocation_Locked = 0;  // the lyric line used when locked, 0 for the first

    void SetToDefault() { *this = TrecNuo4LyricVersePrefix_VertInfo(); }
    float GetRealVertLocation() const {
        return bLockVertLocation ? VertLocation_Locked : static_cast<float>(VerseNumber);
    }
    TKoRange GetVerseNumberRange() const { return TKoRange(VerseNumber, VerseCount); }
    bool IncludeFirstVerse() const { return VerseNumber == 0; }
    bool IsCompound() const { return VerseNumber == 0 && VerseCount > 1; }
    // "W" + number(s) + options, e.g. "W2(True)" or "W1-2".
    std::u16string ToABCText() const;
    // The index drawn before the verse's first lyric: "", "2.", "1.2." or "1-3.".
    std::u16string GetVerseIndexText() const;

    bool operator==(const TrecNuo4LyricVersePrefix_VertInfo&) const = default;
};

struct TrecNuo4LyricExtraData {
    bool bOcupy = true;  // the lyric takes part in horizontal spacing
    TNuo4FontUsage FontUsage = fuLyric;
    float Scale = 1.0f;  // size factor of the lyric font

    void SetToDefault() { *this = TrecNuo4LyricExtraData(); }
    bool IsDefault() const;
    // "(%s,%s,%.2f)"; with bSimply nothing for the default data.
    std::u16string ToABCText(bool bSimply) const;

    bool operator==(const TrecNuo4LyricExtraData&) const = default;
};

struct TrecNuo4LyricVersePrefix {
    TrecNuo4LyricVersePrefix_VertInfo VertInfo;
    TrecNuo4HorzLocation HorzLocation;  // default: the first note of the first measure
    TrecNuo4LyricExtraData ExtraInfo;

    void Initialize(const TrecNuo4LyricVersePrefix_VertInfo& AVertInfo,
                    const TrecNuo4HorzLocation& AHorzLocation,
                    const TrecNuo4LyricExtraData& AExtraInfo);
    void SetToDefault() { *this = TrecNuo4LyricVersePrefix(); }
    float GetRealVertLocation() const { return VertInfo.GetRealVertLocation(); }
    std::u16string ToABCText(bool bSimply) const;

    bool operator==(const TrecNuo4LyricVersePrefix&) const = default;
};

struct TrecNuo4LyricVersePrefix_WithParseInfo {
    TrecNuo4ABCParseInfo_SymbolHeader Header;  // pitLocationPrefix, from "W" to ":"
    TrecNuo4LyricVersePrefix Value;

    bool IsValid() const { return Header.IsValid(); }
    void SetToInvalid() {
        Header.SetToInvalid();
        Value.SetToDefault();
    }
    // The prefix of a verse written without one, placed at AABCTextRange.
    void SetToDefaultForLyrics(TKoRange AABCTextRange) {
        Header.InitializeToLyrics(AABCTextRange);
        Value.SetToDefault();
    }
};

// A verse as the verse dialog edits it.
struct TrecNuo4LyricVerseInfo {
    TrecNuo4LyricVersePrefix_VertInfo VertInfo;
    TrecNuo4HorzLocation HorzLocation;
    TrecNuo4LyricExtraData ExtraData;
    bool bAutoRightLocate = false;  // skip markers are recomputed from the melody
    std::u16string ABCText_Lyrics;

    void SetToDefault() { *this = TrecNuo4LyricVerseInfo(); }
    std::u16string ToABCText_VersePrefix(bool bSimply) const;
};

// Reads "(" bShowVerseIndex [, bLockVertLocation [, locked line from 1]] ")" at the start of
// ARange. Fails only when the group is missing or its first item is no boolean; a later item
// that does not read ends the reading. AEndPos is the ")".
bool ReadLyricVersePrefix_VertOptions(TText AText, TKoRange ARange,
                                      TrecNuo4LyricVersePrefix_VertInfo& AVertInfo,
                                      int32_t& AEndPos, TNuo4ABCTokenInfoItems& ATokens);
// Reads "(" bOcupy, usage, scale ")" at the start of ARange: at least three items, the first a
// boolean; a usage or scale that does not read ends the reading. AEndPos is the ")".
bool ReadLyricExtraData(TText AText, TKoRange ARange, TrecNuo4LyricExtraData& AExtraData,
                        int32_t& AEndPos, TNuo4ABCTokenInfoItems& ATokens);
// Reads a verse prefix at the start of ARange; AEndPos is its ":".
bool ReadLyricVersePrefix(TText AText, TKoRange ARange,
                          TrecNuo4LyricVersePrefix_WithParseInfo& APrefix, int32_t& AEndPos);

}  // namespace nuo4
