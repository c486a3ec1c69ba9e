#pragma once
// Verses of the ".Words" section. Minimal interface until the lyrics grammar lands; its owner
// replaces this file.

#include <cstdint>
#include <vector>

#include "format/abc_common.h"
#include "format/abc_lines.h"
#include "format/abc_tokens.h"
#include "format/ko_range.h"

namespace nuo4 {

// Whether the piece begins with a verse prefix (line classification uses it).
bool Lyrics_StartsWithVersePrefix(TText AText, TKoRange APiece);

struct TrecNuo4ABCParseInfo_LyricsVerse {
    TKoRange ABCTextRange;  // from the prefix to the last lyric
};

struct TrecNuo4ABCSectionCalcInfo_Lyrics {
    int32_t TotalVerseCount = 0;
    std::vector<int32_t> CompoundVerseArray;
};

struct TrecNuo4ABCParseInfo_Section_Lyrics {
    TKoRange ABCTextRange_SectionName;
    TKoRange ABCTextRange_All;
    TKoRange ABCTextRange_Line;  // line indexes
    std::vector<TrecNuo4ABCParseInfo_LyricsVerse> VerseBuffer;
    TrecNuo4ABCSectionCalcInfo_Lyrics CalcInfo;

    void Clear() {
        ABCTextRange_SectionName.SetToInvalid();
        ABCTextRange_All.SetToInvalid();
        ABCTextRange_Line.SetToInvalid();
        VerseBuffer.clear();
        CalcInfo = {};
    }
    void AddItem(const TrecNuo4ABCParseInfo_LyricsVerse& AVerse) { VerseBuffer.push_back(AVerse); }
    int GetCount() const { return static_cast<int>(VerseBuffer.size()); }
    bool BufferIsEmpty() const { return VerseBuffer.empty(); }
};

// The lyrics scan walks all lines of the text (not only the section's). The scanner calls it
// after clearing the section and setting ABCTextRange_Line, and, when the section has a
// header, ABCTextRange_SectionName and ABCTextRange_All (the header word); it adds the verses
// and extends ABCTextRange_All.
void ScanLyrics(const TNuo4ABCScanLines& ALines, TrecNuo4ABCParseInfo_Section_Lyrics& ASection);

}  // namespace nuo4
