#pragma once
// A MIDI port of the ALSA sequencer as the player's output: our own port, connected to the
// chosen one, every message sent at once (the timing thread keeps the time).

#include <memory>
#include <string>

#include "playback/midi_scheduler.h"

namespace nuo4 {

class TAlsaSeqOutput : public TMidiOutput {
  public:
    TAlsaSeqOutput();
    ~TAlsaSeqOutput() override;
    // False with the reason when the sequencer or the port cannot be opened.
    bool Open(int AClient, int APort, std::string& AError);
    void PutShortMsg(uint8_t AStatus, uint8_t AData1, uint8_t AData2) override;

  private:
    struct TImpl;
    std::unique_ptr<TImpl> F;
};

}  // namespace nuo4
