#pragma once
// The ".Words" section: verses, each a verse prefix followed by lyrics, one per note, with
// optional skip markers ("|" per bar line, "/" per note) that move the next lyric further right.

#include <cstdint>
#include <string>
#include <vector>

#include "format/abc_common.h"
#include "format/abc_lines.h"
#include "format/abc_tokens.h"
#include "format/horz_location.h"
#include "format/ko_range.h"
#include "format/lyric_data.h"
#include "format/lyric_prefix.h"

namespace nuo4 {

// ---- Skip markers and lyrics -------------------------------------------------------------

struct TrecNuo4ABCParseInfo_BarlinesAndNotesToSkip {
    // pitBarlinesAndNotesToSkip; its token (ttBarlinesAndNotesToSkip, the same range) is in the
    // header of the lyric record that holds this one.
    TrecNuo4ABCParseInfo_PartHeader Header;
    int32_t BarlinesCount = 0;
    int32_t NotesCount = 0;

    bool IsValid() const { return BarlinesCount != 0 || NotesCount != 0; }
    void SetToInvalid() { *this = TrecNuo4ABCParseInfo_BarlinesAndNotesToSkip(); }
    TrecNuo4HorzLocation ToHorzLocation() const;
    // "|" repeated BarlinesCount times, then "/" repeated NotesCount times.
    std::u16string ToABCText() const;
};

// A run of "|" and "/" at the start of ARange; AEndPos is its last character.
bool ReadBarlinesAndNotesToSkip(TText AText, TKoRange ARange,
                                TrecNuo4ABCParseInfo_BarlinesAndNotesToSkip& ASkip,
                                int32_t& AEndPos);

struct TrecNuo4ABCParseInfo_Lyric {
    TrecNuo4ABCParseInfo_PureLyric Text;
    // pitLyric, from the lyric to the end position. Its tokens are those of its parts, made by
    // GetTokenItems: a verse holds a record per lyric, and a list beside them would double them.
    TrecNuo4ABCParseInfo_PartHeader Header;
    TrecNuo4ABCParseInfo_BarlinesAndNotesToSkip RightLocation;  // passed before the next lyric

    bool IsValid() const { return Header.IsValid(); }
    void SetToInvalid() { *this = TrecNuo4ABCParseInfo_Lyric(); }
    // ttPureLyric and, with a skip marker, ttBarlinesAndNotesToSkip.
    TNuo4ABCTokenInfoItems GetTokenItems() const;
    // Type, range and tokens together.
    TrecNuo4ABCParseInfo_SymbolHeader GetFullHeader() const;
    // The lyric and its skip marker, then a line break when asked for and the lyric ends its
    // line. " //" becomes "//": after a space it would start a comment.
    std::u16string ToABCText(bool bWithLineBreak, bool bLineBreakUseCRLF) const;
};

// A lyric, the white space after it, an optional skip marker and the white space after that.
bool ReadLyric(TText AText, TKoRange ARange, TrecNuo4ABCParseInfo_Lyric& ALyric, int32_t& AEndPos);

// ---- Verses ------------------------------------------------------------------------------

struct TrecNuo4ABCParseInfo_Lyrics_Verse {
    TrecNuo4LyricVersePrefix_WithParseInfo VersePrefix;
    std::vector<TrecNuo4ABCParseInfo_Lyric> LyricsArray;
    TKoRange ABCTextRange;      // from the prefix to the last lyric
    TKoRange AttachIndexRange;  // the lyric symbols made for this verse (layout engine)
    int32_t FromBasicIndex = -1;

    void SetToInvalid() { *this = TrecNuo4ABCParseInfo_Lyrics_Verse(); }
    bool IsValid() const { return VersePrefix.IsValid(); }
    bool IsEmpty() const { return LyricsArray.empty(); }
    bool IsCompound() const {
        return IsValid() && !IsEmpty() && VersePrefix.Value.VertInfo.IsCompound();
    }
    TrecNuo4LyricVersePrefix_VertInfo* GetVertInfoPtr() { return &VersePrefix.Value.VertInfo; }
    const TrecNuo4LyricVersePrefix_VertInfo* GetVertInfoPtr() const {
        return &VersePrefix.Value.VertInfo;
    }
    void Initialize(const TrecNuo4LyricVersePrefix_WithParseInfo& APrefix,
                    const std::vector<TrecNuo4ABCParseInfo_Lyric>& ALyricsArray,
                    TKoRange AABCTextRange);
    // Appends a lyric and stretches ABCTextRange (when valid) to its end.
    void AddItem(TrecNuo4ABCParseInfo_Lyric ALyric);
    // Reads lyrics one after another from the start of AParseRange of AABCText_Lyrics until
    // one does not read; true when at least one was read.
    bool AppendToLyricsArray(TText AABCText_Lyrics, TKoRange AParseRange);

    // The lyrics in order with CR LF line breaks. LyricTextRangeArray_WithinResult gets, per
    // lyric, the range it occupies in the result (its line break included).
    std::u16string ToABCText_Lyrics(TKoRangeArray& LyricTextRangeArray_WithinResult) const;
    std::u16string ToABCText_Lyrics() const;
    // The same with the lyrics marked in AForceBraces written in braces.
    std::u16string ToABCText_Lyrics(const std::vector<bool>& AForceBraces,
                                    TKoRangeArray& LyricTextRangeArray_WithinResult) const;
    // The short prefix, CR, the lyrics.
    std::u16string ToABCText() const;
    std::u16string GetVerseIndexText() const { return GetVertInfoPtr()->GetVerseIndexText(); }
};
// The name the section interfaces use.
using TrecNuo4ABCParseInfo_LyricsVerse = TrecNuo4ABCParseInfo_Lyrics_Verse;

// ---- Section -----------------------------------------------------------------------------

struct TrecNuo4ABCSectionCalcInfo_Lyrics {
    int32_t TotalVerseCount = 0;  // both computed by the layout engine
    std::vector<int32_t> CompoundVerseArray;
};

struct TrecNuo4ABCParseInfo_Section_Lyrics {
    TKoRange ABCTextRange_SectionName;
    TKoRange ABCTextRange_All;
    TKoRange ABCTextRange_Line;                                  // line indexes
    std::vector<TrecNuo4ABCParseInfo_Lyrics_Verse> VerseBuffer;  // in text order
    TrecNuo4ABCSectionCalcInfo_Lyrics CalcInfo;

    void Clear() { *this = TrecNuo4ABCParseInfo_Section_Lyrics(); }
    void AddItem(const TrecNuo4ABCParseInfo_Lyrics_Verse& AVerse) { VerseBuffer.push_back(AVerse); }
    int GetCount() const { return static_cast<int>(VerseBuffer.size()); }
    int GetBufferItemCount() const { return GetCount(); }
    bool BufferIsEmpty() const { return VerseBuffer.empty(); }
    // The last lyric of the last verse that has lyrics; null when there is none.
    TrecNuo4ABCParseInfo_Lyric* GetLastLyricPtr();
    const TrecNuo4ABCParseInfo_Lyric* GetLastLyricPtr() const;
};

// Whether the piece begins with a verse prefix (line classification uses it).
bool Lyrics_StartsWithVersePrefix(TText AText, TKoRange APiece);

// The lyrics scan walks all lines of the text (not only the section's): lyrics lines of the
// section and preamble lines that begin with a verse prefix. The scanner calls it after
// clearing the section and setting ABCTextRange_Line and, when the section has a header,
// ABCTextRange_SectionName and ABCTextRange_All (the header word); it adds the verses and
// extends ABCTextRange_All to the last lyric.
void ScanLyrics(const TNuo4ABCScanLines& ALines, TrecNuo4ABCParseInfo_Section_Lyrics& ASection);

// The verse text of the verse dialog as verses are built from it: leading empty or white
// lines removed, every other line trimmed and followed by CR.
std::u16string Lyrics_NormalizeVerseDialogText(TText AText);

}  // namespace nuo4
