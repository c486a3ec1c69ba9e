#pragma once
// Lyrics in the document buffer: the lyric symbols of every verse on their notes, their
// vertical places on the lines (compound verses centred between the verse lines where they
// split or join), the lyric rule that tells which note takes the next lyric, and the extension
// underlines joined across the lyrics of a verse.

#include <cstdint>
#include <vector>

#include "format/abc_common.h"
#include "format/ko_range.h"
#include "render/draw_utils.h"

namespace nuo4 {

class TNuo4SimpleBuffer;

// Creates the lyric symbols of all verses in the order of the lyrics section and records each
// verse's first note and attach range. Run by the lyrics stage of the build.
void Lyric_CreateAll(TNuo4SimpleBuffer& B);

// The distance between two lyric lines of a verse drawn in AUsage at AScale.
double Lyric_GetLineSpacing(TNuo4FontUsage AUsage, double AScale);

// The note the lyric rule gives after ANote and the number of notes passed over between them.
struct TrecNuo4NextLyricPos {
    int32_t BasicIndex = -1;  // -1 when there is none
    int32_t NotesSkipped = 0;
    bool IsValid() const { return BasicIndex >= 0; }
};
// Non-tuplet arcs starting at the note are followed to their ends (and on along arcs that
// start where one ends), then the next note is taken; accompaniment passages and rests are
// skipped. Each part of the rule can be switched off.
TrecNuo4NextLyricPos FindNextLyricPos(const TNuo4SimpleBuffer& B, int32_t ANote,
                                      bool bFollowSlurs = true, bool bSkipRests = true,
                                      bool bSkipAccomp = true);

// The extension underlines of the lyrics owned by the basic range, at page positions: within a
// verse, the lines of consecutive lyrics join when the last character of one and the first of
// the next are underlined, the first owner does not end on a full beat and the next does not
// start on one.
std::vector<TGPRectF> GetLyricUnderlineRects(const TNuo4SimpleBuffer& B, TKoRange ARange);
void Draw_LyricUnderlines(const TNuo4SimpleBuffer& B, TKoGraphics& G, TKoRange ARange,
                          TGPColor AColor);

}  // namespace nuo4
