#pragma once
// Repeats of a single-part score, unfolded section by section in score order. A section is a
// run of voltas, each starting right where the previous one ends, and the body before its
// first volta (from the last start-repeat bar line, else from the end of the previous
// section). Every volta that ends at an end-repeat bar line sends the play back to the body
// once; the next pass plays the body and then the next volta. When the last volta also ends
// at an end-repeat, the last pass plays the body alone. End-repeats outside voltas are played
// as plain bar lines: a repeat needs at least one volta.

#include <cstdint>
#include <vector>

#include "format/ko_range.h"

namespace nuo4 {

class TNuo4SimpleBuffer;

struct TrecNuo4RepeatSection {
    int32_t BodyStart = 0;             // basic index of the first symbol of the body
    std::vector<TKoRange> Voltas;      // basic ranges, the closing bar line included
    std::vector<bool> EndsWithRepeat;  // per volta
};

struct TrecNuo4RepeatInfo {
    std::vector<TrecNuo4RepeatSection> Sections;

    void SetToDefault() { Sections.clear(); }
    bool IsValid() const { return !Sections.empty(); }
    // The basic ranges of 0 ... ALast in the order they sound.
    std::vector<TKoRange> PlayOrder(int32_t ALast) const;
};

// Computed from the buffer each time a melody is built.
TrecNuo4RepeatInfo GetRepeatInfo(const TNuo4SimpleBuffer& ABuffer);

// The pieces of AOrder from the first one holding AFirst, each cut to AFirst ... ALast.
std::vector<TKoRange> ClipPlayOrder(const std::vector<TKoRange>& AOrder, int32_t AFirst,
                                    int32_t ALast);

}  // namespace nuo4
