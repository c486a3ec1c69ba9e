#pragma once
// The player's timing: a thread of its own sends every event of a melody to an output at its
// absolute time, sleeping until each deadline against the monotonic clock, so the timing does
// not depend on a timer period. The thread only sends and reports; starting, stopping and
// destroying happen on the caller's (user-interface) thread, which joins the timing thread.
// Without a thread of its own (tests), the caller pumps the due events against its own clock.

#include <atomic>
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
    std::atomic<int64_t> Count = 0;
};

class TMidiScheduler {
  public:
    using TClock = std::chrono::steady_clock;
    using TNowFunc = std::function<TClock::time_point()>;
    // Called on the timing thread: with the basic index of the latest note-on sent at each
    // wake-up (ATime is its score time in ms), and once at the end of the events. Handlers
    // must only hand the news over (a queued signal), never call the player themselves.
    std::function<void(int32_t ABasicIndex, double ATime_ms)> OnPlayingNote;
    std::function<void()> OnEndPlay;
    // Called on the timing thread at each metronome click's note-on, sounded or not.
    std::function<void(int32_t ABeatIndex)> OnBeat;
    // Called on the timing thread right after each event is sent, with its deadline.
    std::function<void(size_t AIndex, TClock::time_point ADeadline)> OnSent;

    // ANow: the clock (the monotonic clock when empty). Without a thread of its own the
    // events go out only in Pump.
    explicit TMidiScheduler(TNowFunc ANow = nullptr, bool bOwnThread = true);
    ~TMidiScheduler() { Stop(); }

    // Plays AEvents (times in ms at speed 1, ascending) from score time AFrom_ms.
    void Start(std::vector<TMidiEventType> AEvents, TMidiOutput& AOutput, double ASpeedRatio = 1.0,
               double AFrom_ms = 0);
    // Stops, joins the timing thread and silences the output. Safe to call at any time.
    void Stop();
    // The score position stays where it is; from now on it advances at the new ratio.
    void SetSpeedRatio(double ARatio);
    void SetPause(bool bPause);
    // The metronome's clicks still clock their notifications but are not sounded.
    void SetMetronomeMuted(bool bMuted) { FMetronomeMuted = bMuted; }
    bool IsPlaying() const;
    // True once the last event went out (until the next Start).
    bool IsEnded() const;
    // Score time reached, in ms.
    double GetTimeEscaped() const;
    // Without a thread of its own: sends what is due at the clock's time; false at the end.
    bool Pump();

  private:
    void Run();
    // Sends every event due at ANow (under the lock); true when the end was reached now.
    bool SendDue(TClock::time_point ANow);
    double ScoreTimeAt(TClock::time_point ANow) const;  // under the lock
    TClock::time_point DeadlineOf(double ATime_ms) const;

    TNowFunc FNow;
    const bool bOwnThread;
    mutable std::mutex FLock;
    std::condition_variable FWake;
    std::thread FThread;
    std::vector<TMidiEventType> FEvents;
    size_t FNext = 0;
    TMidiOutput* FOutput = nullptr;
    bool FStop = false;
    bool FPause = false;
    bool FRunning = false;
    bool FEnded = false;
    std::atomic<bool> FMetronomeMuted = false;
    double FRatio = 1.0;
    // Reference point: at clock time FRefClock the score stood at FRefScore_ms.
    TClock::time_point FRefClock;
    double FRefScore_ms = 0;
};

}  // namespace nuo4
