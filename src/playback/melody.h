#pragma once
// The melody: notes, meters and tempi added at times in quarter notes into the event buffer,
// and the channel each part of a score plays on.

#include <cstdint>
#include <vector>

#include "playback/midi_buffer.h"

namespace nuo4 {

enum TNuo4MelodyPlayRange : uint8_t { mprWhole, mprFromCaret, mprSelection };

struct TrecNuo4Melody_PlayInfo {
    TMidiBufferInitStatus InitStatus;
    TNuo4MelodyPlayRange PlayRange = mprWhole;
};

class TNuo4Melody {
  public:
    void InitBuffer(const TMidiBufferInitStatus& AInitStatus) { FBuffer.InitBuffer(AInitStatus); }
    void AddNote(double AtTime_4th, double Duration_4th, int32_t AChannel, int32_t ANoteIndex,
                 int32_t AVelocity, int32_t ABasicIndex) {
        FBuffer.AddNote(AtTime_4th, Duration_4th, AChannel, ANoteIndex, AVelocity, ABasicIndex);
    }
    // One note per element, all at the same times.
    void AddNotes(double AtTime_4th, double Duration_4th, int32_t AChannel,
                  const std::vector<uint8_t>& ANotes, int32_t AVelocity, int32_t ABasicIndex) {
        for (uint8_t N : ANotes)
            FBuffer.AddNote(AtTime_4th, Duration_4th, AChannel, N, AVelocity, ABasicIndex);
    }
    void AddTact(double AtTime_4th, TTact ANewTact) { FBuffer.AddTact(AtTime_4th, ANewTact); }
    void AddTempo(double AtTime_4th, double ATempo) { FBuffer.AddTempo(AtTime_4th, ATempo); }
    void UpdateBuffer(double ASpeedRatio = 1.0) { FBuffer.Update(ASpeedRatio); }

    // Parts 0 to 8 play on channels 0 to 8 and parts 9 to 14 on 10 to 15: channel 9 is the
    // drums'. Any other part has no channel (-1) and is not played.
    static int32_t GetMidiChannelFromPartIndex(int32_t APartIndex);

    TMidiBuffer& MidiBuffer() { return FBuffer; }
    const TMidiBuffer& MidiBuffer() const { return FBuffer; }

  private:
    TMidiBuffer FBuffer;
};

}  // namespace nuo4
