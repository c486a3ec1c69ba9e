#pragma once
// One lyric: its text, the part centred under its note (the characters before it are the
// prefix, those after it the postfix) and the extension lines written after each character;
// with the reader and writer of its two written forms, plain ("我，", "hel-") and braced
// ("{(女)[我]}", "{我_们__}").

#include <cstdint>
#include <string>
#include <vector>

#include "format/abc_common.h"
#include "format/abc_tokens.h"
#include "format/ko_range.h"

namespace nuo4 {

struct TrecNuo4SymbolPureLyricData {
    std::u16string Text;
    TKoRange TextCenteredRange{0, 1};              // within Text
    std::vector<int32_t> TextUnderlineCountArray;  // one count per character of Text

    void SetToDefault() { *this = TrecNuo4SymbolPureLyricData(); }
    bool IsValid() const;

    int32_t GetPrefixTextCharCount() const;
    int32_t GetCenteredTextCharCount() const;
    int32_t GetPostfixTextCharCount() const;
    int32_t GetLyricTextCharCount() const;  // centred part and postfix
    std::u16string GetPrefixText() const;
    std::u16string GetCenteredText() const;
    std::u16string GetPostfixText() const;
    std::u16string GetLyricText() const;
    bool IsWithPrefixText() const { return GetPrefixTextCharCount() > 0; }
    bool IsWithPostfixText() const { return GetPostfixTextCharCount() > 0; }

    // Extension lines, counted from the centred start to the end of the text.
    int32_t GetUnderlineMaxCount() const;
    bool IsWithUnderline() const { return GetUnderlineMaxCount() > 0; }
    void SetUnderlineCount(int32_t AUnderlineCount);
    // Gives a valid lyric one count per character (missing counts become 0, surplus ones go).
    void CheckUnderlineArray();
    int32_t GetUnderlineCount(int32_t ACharIndex) const;  // 0 outside the array

    bool PrefixIsLeftBiaoDian() const;
    bool PostfixIsRightBiaoDian() const;
    bool EndsWithRightBiaoDianOrMinus() const;
    bool IsEnglishLyric() const;
    // An English lyric ending in closing punctuation or "-" centres all but that character.
    void CheckForEnglishLyric();

    bool CanNoDaKuoHao_ForToABCText() const;     // may be written without braces
    bool CanNoZhongKuoHao_ForToABCText() const;  // braced, but without the centring brackets

    // Texts in lyric records hold at most ACapacity characters; the rest is cut silently.
    void CutToCapacity(size_t ACapacity);

    // Appends the next lyric's text; the centred range stays. With ANewUnderlineCount < 0 the
    // counts of both lyrics are kept, otherwise every character gets ANewUnderlineCount.
    void Merge(const TrecNuo4SymbolPureLyricData* APNextData, int32_t ANewUnderlineCount);

    std::u16string ToABCText() const;
    // The braced form whatever the plain form would allow (empty for an invalid lyric).
    std::u16string ToABCText_Braced() const;
    // The plain form with its centred character written as an escape, for a lyric that holds a
    // control character; false when that form would not read back to this lyric.
    bool ToABCText_Escaped(std::u16string& AText) const;

    bool operator==(const TrecNuo4SymbolPureLyricData&) const = default;
};

struct TrecNuo4ABCParseInfo_PureLyric {
    // The data first, so that no padding stands between it and the header and flag.
    TrecNuo4SymbolPureLyricData Data;
    // pitPureLyric, the lyric's own characters; their token (ttPureLyric, the same range) is
    // listed by the lyric record that holds this one.
    TrecNuo4ABCParseInfo_PartHeader Header;
    bool bLineBreak = false;  // the lyric is the last one of its text line

    void SetToInvalid() { *this = TrecNuo4ABCParseInfo_PureLyric(); }
    bool IsValid() const { return Header.IsValid(); }
    std::u16string ToABCText() const { return Data.ToABCText(); }
};

// Reads a lyric at the start of ARange (plain or braced form) and the white space after it.
// AEndPos is the last character consumed, trailing white space included; a CR or LF in it sets
// bLineBreak.
bool ReadPureLyric(TText AText, TKoRange ARange, TrecNuo4ABCParseInfo_PureLyric& ALyric,
                   int32_t& AEndPos);

}  // namespace nuo4
