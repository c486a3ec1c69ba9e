#include "playback/melody.h"

namespace nuo4 {

int32_t TNuo4Melody::GetMidiChannelFromPartIndex(int32_t APartIndex) {
    if (APartIndex >= 0 && APartIndex <= 8) return APartIndex;
    if (APartIndex >= 9 && APartIndex <= 14) return APartIndex + 1;
    return -1;
}

}  // namespace nuo4
