#include "playback/player.h"

#include <cmath>

namespace nuo4 {

const char* EnumName(TNuo4PlayState AValue) {
    switch (AValue) {
        case psStopped:
            return "psStopped";
        case psPlaying:
            return "psPlaying";
        case psPaused:
            return "psPaused";
    }
    return "?";
}

double Nuo4SpeedRatioFromTrackBar(int32_t APosition) {
    const int32_t P = APosition < 0 ? 0 : APosition > 200 ? 200 : APosition;
    return P >= 100 ? P / 100.0 : (P / 2 + 50) / 100.0;
}

TNuo4Player::TNuo4Player(TMidiScheduler::TNowFunc ANow, bool bOwnThread)
    : FScheduler(std::move(ANow), bOwnThread) {
    FScheduler.OnPlayingNote = [this](int32_t I, double) {
        if (OnPlayingNote) OnPlayingNote(I);
    };
    FScheduler.OnBeat = [this](int32_t I) {
        if (OnNewBeat && I >= 0 && size_t(I) < FBeats.size())
            OnNewBeat(FBeats[size_t(I)].Measure, FBeats[size_t(I)].Beat);
    };
    FScheduler.OnSent = [this](size_t I, TMidiScheduler::TClock::time_point D) {
        if (OnSent) OnSent(I, D);
    };
    FScheduler.OnEndPlay = [this] {
        if (OnEndPlay) OnEndPlay();
    };
}

bool TNuo4Player::StartEvents(std::vector<TMidiEventType> AEvents, TMidiOutput& AOutput) {
    FScheduler.SetMetronomeMuted(!bMetronomeSound);
    FScheduler.Start(std::move(AEvents), AOutput, FRatio, 0);
    FState = psPlaying;
    return true;
}

bool TNuo4Player::Play(const TMidiBuffer& ABuffer, TMidiOutput& AOutput) {
    Stop();
    if (ABuffer.FullEmpty()) return false;
    bMetronomeOnly = false;
    FBeats = Metronome_Beats(ABuffer, ABuffer.TotalTime_4th());
    FTotalTime = ABuffer.TotalTime();
    return StartEvents(
        Metronome_MergeEvents(ABuffer.AllEventsInTimeOrder(), Metronome_Events(FBeats)), AOutput);
}

bool TNuo4Player::PlayMetronome(double ATempo, TTact ATact, TMidiOutput& AOutput, double AMinutes) {
    Stop();
    if (!(ATempo > 0) || !std::isfinite(ATempo) || !(AMinutes > 0)) return false;
    TMidiBufferInitStatus Init;
    Init.Tempo = ATempo;
    Init.Tact = ATact;
    TMidiBuffer B;
    B.InitBuffer(Init);
    bMetronomeOnly = true;
    FBeats = Metronome_Beats(B, AMinutes * ATempo);
    if (FBeats.empty()) return false;
    FTotalTime = FBeats.back().time;
    std::vector<TMidiEventType> Events = Metronome_Events(FBeats);
    // Alone, the clicks are what is asked for: they sound whatever the sound switch says.
    FScheduler.SetMetronomeMuted(false);
    FScheduler.Start(std::move(Events), AOutput, FRatio, 0);
    FState = psPlaying;
    return true;
}

void TNuo4Player::Pause() {
    if (FState != psPlaying) return;
    FScheduler.SetPause(true);
    FState = psPaused;
}

void TNuo4Player::Resume() {
    if (FState != psPaused) return;
    FScheduler.SetPause(false);
    FState = psPlaying;
}

void TNuo4Player::Stop() {
    FScheduler.Stop();
    FState = psStopped;
    bMetronomeOnly = false;
}

void TNuo4Player::SetSpeedRatio(double ARatio) {
    if (!(ARatio > 0) || !std::isfinite(ARatio)) return;
    FRatio = ARatio;
    FScheduler.SetSpeedRatio(ARatio);
}

void TNuo4Player::SetMetronomeSound(bool bOn) {
    bMetronomeSound = bOn;
    if (!bMetronomeOnly) FScheduler.SetMetronomeMuted(!bOn);
}

double TNuo4Player::GetTimeEscaped() const {
    return FState == psStopped ? 0 : FScheduler.GetTimeEscaped();
}

double TNuo4Player::GetMeasureEscaped(TTact* ATact) const {
    return Metronome_MeasureAt(FBeats, GetTimeEscaped(), ATact);
}

}  // namespace nuo4
