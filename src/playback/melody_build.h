#pragma once
// The melody of a laid-out score: the buffer's basic symbols walked in the order they sound
// (repeats unfolded in single-part stretches, system lines part by part in multi-part
// scores) into the melody's event buffer.

#include <cstdint>

#include "format/ko_range.h"
#include "playback/melody.h"
#include "playback/repeat_info.h"

namespace nuo4 {

class TNuo4SimpleBuffer;

// Builds and finalises the melody of the play range (the caret and the selection are the
// buffer's). False, with an empty melody, when the range holds no note to play.
bool Melody_MakeBuffer(const TNuo4SimpleBuffer& ABuffer, const TrecNuo4Melody_PlayInfo& APlayInfo,
                       TNuo4Melody& AMelody, double ASpeedRatio = 1.0);

// The basic range of the selection (empty selections give an invalid range).
TKoRange Melody_SelectionRange(const TNuo4SimpleBuffer& ABuffer);

}  // namespace nuo4
