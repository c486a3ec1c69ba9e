#pragma once
// Sound through the FluidSynth software synthesiser with a General MIDI SoundFont: a live
// output for the player, and the offline rendering of a melody to a WAV file.

#include <memory>
#include <string>

#include "playback/midi_buffer.h"
#include "playback/midi_scheduler.h"

namespace nuo4 {

// The first General MIDI SoundFont installed at a known path; empty when there is none.
std::string Nuo4DefaultSoundFont();

// The melody (its times in ms) as a 16-bit stereo WAV file image at ARate frames per second,
// with one second after the last event for the sound to die away. Each event starts at the
// frame of its own time, rounded, so that rounding does not add up.
bool RenderMelodyToWav(const TMidiBuffer& ABuffer, const std::string& ASoundFont, std::string& AWav,
                       std::string& AError, int ARate = 44100);

// The synthesiser played through the desktop's audio (whatever driver FluidSynth finds).
class TFluidSynthOutput : public TMidiOutput {
  public:
    TFluidSynthOutput();
    ~TFluidSynthOutput() override;
    // False with the reason when the SoundFont or the audio device cannot be opened.
    bool Open(const std::string& ASoundFont, std::string& AError);
    void PutShortMsg(uint8_t AStatus, uint8_t AData1, uint8_t AData2) override;

  private:
    struct TImpl;
    std::unique_ptr<TImpl> F;
};

}  // namespace nuo4
