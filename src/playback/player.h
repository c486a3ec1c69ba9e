#pragma once
// The player: the melody's events and the metronome's clicks played through the timing thread
// into an output, with pause, speed ratio and stop. Every call but the callbacks belongs to one
// (the user-interface) thread; the callbacks run on the timing thread and must only hand the
// news over. The end of play is reported there too; the owner then calls Stop on its own
// thread, which joins the timing thread.

#include <cstdint>
#include <functional>
#include <vector>

#include "playback/metronome.h"
#include "playback/midi_scheduler.h"

namespace nuo4 {

enum TNuo4PlayState : uint8_t { psStopped, psPlaying, psPaused };
const char* EnumName(TNuo4PlayState AValue);

// The play window's speed track bar (0 to 200, 100 in the middle) as a ratio from 0.5 to 2.0:
// p / 100 from the middle up, (p div 2 + 50) / 100 below it.
double Nuo4SpeedRatioFromTrackBar(int32_t APosition);

class TNuo4Player {
  public:
    explicit TNuo4Player(TMidiScheduler::TNowFunc ANow = nullptr, bool bOwnThread = true);
    ~TNuo4Player() { Stop(); }
    TNuo4Player(const TNuo4Player&) = delete;
    TNuo4Player& operator=(const TNuo4Player&) = delete;

    // Plays an updated buffer (its times at speed 1) from its start, with the metronome's
    // beats. False, and stopped, when the buffer has no notes.
    bool Play(const TMidiBuffer& ABuffer, TMidiOutput& AOutput);
    // The metronome alone at its own tempo and meter, for AMinutes at most.
    bool PlayMetronome(double ATempo, TTact ATact, TMidiOutput& AOutput, double AMinutes = 60);
    void Pause();
    void Resume();
    void Stop();
    // Ratios that are not positive and finite are refused; the position never jumps.
    void SetSpeedRatio(double ARatio);
    double SpeedRatio() const { return FRatio; }
    void SetMetronomeSound(bool bOn);
    bool MetronomeSound() const { return bMetronomeSound; }

    TNuo4PlayState State() const { return FState; }
    bool IsMetronomeOnly() const { return bMetronomeOnly; }
    // True once the last event went out; the owner stops then.
    bool IsEnded() const { return FScheduler.IsEnded(); }
    double GetTimeEscaped() const;  // ms of score time at speed 1
    // Measures escaped (from 0, fractional) and the meter in force.
    double GetMeasureEscaped(TTact* ATact = nullptr) const;
    double TotalTime() const { return FTotalTime; }  // ms
    // Without a timing thread of its own: sends what is due; false at the end.
    bool Pump() { return FScheduler.Pump(); }

    // On the timing thread.
    std::function<void(int32_t ABasicIndex)> OnPlayingNote;
    std::function<void(int32_t AMeasure, int32_t ABeat)> OnNewBeat;
    std::function<void()> OnEndPlay;
    // Each event right after it went out, with its deadline (measurements).
    std::function<void(size_t AIndex, TMidiScheduler::TClock::time_point ADeadline)> OnSent;

  private:
    bool StartEvents(std::vector<TMidiEventType> AEvents, TMidiOutput& AOutput);

    TMidiScheduler FScheduler;
    // Read by the timing thread while playing; replaced only when it is joined.
    std::vector<TrecNuo4MetronomeBeat> FBeats;
    TNuo4PlayState FState = psStopped;
    double FRatio = 1.0;
    double FTotalTime = 0;
    bool bMetronomeSound = true;
    bool bMetronomeOnly = false;
};

}  // namespace nuo4
