#pragma once
// The Standard MIDI File of a melody's event buffer: format 1, 480 ticks per quarter note; a
// conductor track with the tempi, meters and the key; then one track per channel that has
// notes, with its program change and notes. Ticks are rounded from the quarter-note times of
// the events (deltas are differences of rounded absolute ticks, so rounding never adds up).

#include <cstdint>
#include <string>

#include "playback/midi_buffer.h"

namespace nuo4 {

constexpr int32_t Nuo4MidiTicksPerQuarter = 480;

class TMidiWrite {
  public:
    explicit TMidiWrite(const TMidiBuffer& ABuffer) : MidiBuffer(ABuffer) {}
    std::string ToBytes(const std::string& ASongTitle = std::string()) const;

    // The denominator written as a power of two: the nearest one, 4 for 0 or less.
    static int32_t DenominatorPower(int32_t AFenMu);
    // The key signature (sharps positive, flats negative) of a major key ASemitones above C.
    static int32_t KeySharps(int32_t ASemitones);

  private:
    const TMidiBuffer& MidiBuffer;
};

}  // namespace nuo4
