#pragma once
// The notes of a melody that goes on playing while its score is edited. The melody names its
// notes by basic index of the buffer it was built from; every edit builds a new buffer, where the
// same index may be another symbol. A played symbol is found again by its own text: the lines of
// the played text are matched with the lines of the new text (an edit usually changes a few lines,
// say a voice line and the attachment lines naming its symbols); on a line kept as it was the
// symbol has moved with its line, on a line changed in place only the text before the line's
// first change and after its last one is known to be the same. A symbol the edits touched has no
// counterpart.

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "format/ko_range.h"

namespace nuo4 {

class TNuo4SimpleBuffer;

class TNuo4PlayedNoteMap {
  public:
    // At the start of play: the text ABuffer was built from and its symbols' text ranges.
    void Start(const TNuo4SimpleBuffer& ABuffer);
    // Nothing is found any more (another score was loaded).
    void Clear();
    // The basic index in ABuffer of the played symbol APlayedIndex (an index of the buffer given
    // to Start); -1 when the edits touched it, it is gone, or nothing was started.
    int32_t Map(int32_t APlayedIndex, const TNuo4SimpleBuffer& ABuffer);

  private:
    void Compare(const TNuo4SimpleBuffer& ABuffer);

    bool bStarted = false;
    std::u16string FText;           // the played text
    std::vector<TKoRange> FRanges;  // the full text range of each played basic symbol
    // The last buffer compared: its text, the length of the common start and end of both texts,
    // and its symbols by the start of their full text range.
    std::u16string FLastText;
    bool bCompared = false;
    // For each line of the played text: the start of its counterpart in the last text, or -1
    // when it has none; for a line changed in place also the length of its unchanged start and
    // end and the counterpart's length.
    struct TLineMatch {
        int32_t NewStart = -1, NewLength = 0, Prefix = 0, Suffix = 0;
        bool bSame = false;
    };
    std::vector<int32_t> FLineStarts;  // of the played text, with its length at the end
    std::vector<TLineMatch> FLines;
    std::unordered_map<int32_t, int32_t> FIndexByStart;
};

}  // namespace nuo4
