#pragma once
// The player's timing: a thread of its own sends every event of a melody to an output at its
// absolute time, sleeping until each deadline against the monotonic clock, so the timing does
// not depend on a timer period. The thread only sends and reports; starting, stopping and
// destroying happen on the caller's (user-interface) thread, which joins the timing thread.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "playback/midi_buffer.h"

namespace nuo4 {

// Where the player's messages go (a synthesiser, a MIDI port, nothing).
class TMidiOutput {
  public:
    virtual ~TMidiOutput() = default;
    virtual void PutShortMsg(uint8_t AStatus, uint8_t AData1, uint8_t AData2) = 0;
    // All notes off (controller 123) on every channel.
    void MuteAllChannel_Simple() {
        for (uint8_t C = 0; C < 16; ++C) PutShortMsg(uint8_t(0xB0 | C), 123, 0);
    }
};

// Swallows every message; counts them.
class TNullMidiOutput : public TMidiOutput {
  public:
    void PutShortMsg(uint8_t, uint8_t, uint8_t) override { ++Count; }
    int64_t Count = 0;
};

class TMidiScheduler {
  public:
    using TClock = std::chrono::steady_clock;
    // Called on the timing thread: with the basic index of the first note-on sent at each
    // wake-up (ATime is its score time in ms), and once at the end of the events. Handlers
    // must only hand the news over (a queued signal), never call the player themselves.
    std::function<void(int32_t ABasicIndex, double ATime_ms)> OnPlayingNote;
    std::function<void()> OnEndPlay;
    // Called on the timing thread right after each event is sent, with its deadline.
    std::function<void(size_t AIndex, TClock::time_point ADeadline)> OnSent;

    ~TMidiScheduler() { Stop(); }

    // Plays AEvents (times in ms at speed 1, ascending) from score time AFrom_ms.
    void Start(std::vector<TMidiEventType> AEvents, TMidiOutput& AOutput, double ASpeedRatio = 1.0,
               double AFrom_ms = 0);
    // Stops, joins the timing thread and silences the output. Safe to call at any time.
    void Stop();
    // The score position stays where it is; from now on it advances at the new ratio.
    void SetSpeedRatio(double ARatio);
    void SetPause(bool bPause);
    bool IsPlaying() const;
    // Score time reached, in ms.
    double GetTimeEscaped() const;

  private:
    void Run();
    double ScoreTimeAt(TClock::time_point ANow) const;  // under the lock
    TClock::time_point DeadlineOf(double ATime_ms) const;

    mutable std::mutex FLock;
    std::condition_variable FWake;
    std::thread FThread;
    std::vector<TMidiEventType> FEvents;
    TMidiOutput* FOutput = nullptr;
    bool FStop = false;
    bool FPause = false;
    bool FRunning = false;
    double FRatio = 1.0;
    // Reference point: at clock time FRefClock the score stood at FRefScore_ms.
    TClock::time_point FRefClock;
    double FRefScore_ms = 0;
};

}  // namespace nuo4
