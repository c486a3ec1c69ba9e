#include "playback/midi_scheduler.h"

#include <pthread.h>
#include <sched.h>

#include <cmath>

namespace nuo4 {

TMidiScheduler::TMidiScheduler(TNowFunc ANow, bool bAOwnThread)
    : FNow(ANow ? std::move(ANow) : TNowFunc([] { return TClock::now(); })),
      bOwnThread(bAOwnThread) {}

void TMidiScheduler::Start(std::vector<TMidiEventType> AEvents, TMidiOutput& AOutput,
                           double ASpeedRatio, double AFrom_ms) {
    Stop();
    std::lock_guard<std::mutex> L(FLock);
    FEvents = std::move(AEvents);
    FNext = 0;
    // Events before the starting point are not sent.
    while (FNext < FEvents.size() && FEvents[FNext].time < AFrom_ms) ++FNext;
    FOutput = &AOutput;
    FStop = FPause = FEnded = false;
    FRunning = true;
    FRatio = ASpeedRatio > 0 && std::isfinite(ASpeedRatio) ? ASpeedRatio : 1.0;
    FRefScore_ms = AFrom_ms;
    FRefClock = FNow();
    if (bOwnThread) FThread = std::thread([this] { Run(); });
}

void TMidiScheduler::Stop() {
    {
        std::lock_guard<std::mutex> L(FLock);
        FStop = true;
    }
    FWake.notify_all();
    if (FThread.joinable()) FThread.join();
    std::lock_guard<std::mutex> L(FLock);
    if (FOutput) FOutput->MuteAllChannel_Simple();
    FOutput = nullptr;
    FRunning = false;
}

double TMidiScheduler::ScoreTimeAt(TClock::time_point ANow) const {
    if (FPause || !FRunning) return FRefScore_ms;
    return FRefScore_ms +
           std::chrono::duration<double, std::milli>(ANow - FRefClock).count() * FRatio;
}

TMidiScheduler::TClock::time_point TMidiScheduler::DeadlineOf(double ATime_ms) const {
    const double Real_ms = (ATime_ms - FRefScore_ms) / FRatio;
    return FRefClock + std::chrono::duration_cast<TClock::duration>(
                           std::chrono::duration<double, std::milli>(Real_ms));
}

void TMidiScheduler::SetSpeedRatio(double ARatio) {
    if (!(ARatio > 0) || !std::isfinite(ARatio)) return;
    {
        std::lock_guard<std::mutex> L(FLock);
        const TClock::time_point Now = FNow();
        FRefScore_ms = ScoreTimeAt(Now);
        FRefClock = Now;
        FRatio = ARatio;
    }
    FWake.notify_all();
}

void TMidiScheduler::SetPause(bool bPause) {
    {
        std::lock_guard<std::mutex> L(FLock);
        if (bPause == FPause || !FRunning) return;
        const TClock::time_point Now = FNow();
        FRefScore_ms = ScoreTimeAt(Now);
        FRefClock = Now;
        FPause = bPause;
        if (bPause && FOutput) FOutput->MuteAllChannel_Simple();
    }
    FWake.notify_all();
}

bool TMidiScheduler::IsPlaying() const {
    std::lock_guard<std::mutex> L(FLock);
    return FRunning && !FStop && !FEnded;
}

bool TMidiScheduler::IsEnded() const {
    std::lock_guard<std::mutex> L(FLock);
    return FEnded;
}

double TMidiScheduler::GetTimeEscaped() const {
    std::lock_guard<std::mutex> L(FLock);
    return ScoreTimeAt(FNow());
}

bool TMidiScheduler::SendDue(TClock::time_point ANow) {
    // Everything due now goes out together; the latest note-on reports its symbol (one
    // report a wake-up; when the thread was late, the notes passed over are not shown).
    int32_t Reported = -1;
    double ReportedTime = 0;
    while (FNext < FEvents.size() && !FStop && DeadlineOf(FEvents[FNext].time) <= ANow) {
        const TMidiEventType& E = FEvents[FNext];
        const TClock::time_point Due = DeadlineOf(E.time);
        const bool bClick = E.MetronomeBeat >= 0;
        // A muted click still ends: its note-off goes out so that nothing is left sounding.
        if (!(bClick && E.Kind == mekNoteOn && FMetronomeMuted))
            FOutput->PutShortMsg(E.Status(), E.Data1, E.Kind == mekProgramChange ? 0 : E.Data2);
        if (OnSent) OnSent(FNext, Due);
        if (bClick) {
            if (E.Kind == mekNoteOn && OnBeat) OnBeat(E.MetronomeBeat);
        } else if (E.Kind == mekNoteOn && E.Reserved >= 0) {
            Reported = E.Reserved;
            ReportedTime = E.time;
        }
        ++FNext;
    }
    if (Reported >= 0 && OnPlayingNote) OnPlayingNote(Reported, ReportedTime);
    if (FNext < FEvents.size() || FStop || FEnded) return false;
    FEnded = true;
    return true;
}

bool TMidiScheduler::Pump() {
    bool bEndedNow = false;
    {
        std::lock_guard<std::mutex> L(FLock);
        if (!FRunning || FStop || FEnded) return false;
        if (!FPause) bEndedNow = SendDue(FNow());
    }
    if (bEndedNow && OnEndPlay) OnEndPlay();
    return !bEndedNow;
}

void TMidiScheduler::Run() {
    // A real-time priority where the system grants it (the thread mostly sleeps, so it takes
    // little from others); otherwise the ordinary one.
    sched_param Param{};
    Param.sched_priority = sched_get_priority_min(SCHED_FIFO) + 10;
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &Param);
    std::unique_lock<std::mutex> L(FLock);
    bool bEndedNow = false;
    while (!FStop && !bEndedNow) {
        if (FPause) {
            FWake.wait(L, [&] { return FStop || !FPause; });
            continue;
        }
        // Sleep until the next event is due; a speed change or a stop wakes the thread.
        if (FNext < FEvents.size()) {
            const TClock::time_point Deadline = DeadlineOf(FEvents[FNext].time);
            if (TClock::now() < Deadline) {
                FWake.wait_until(L, Deadline);
                continue;  // the reference may have moved: recompute
            }
        }
        bEndedNow = SendDue(TClock::now());
    }
    L.unlock();
    if (bEndedNow && OnEndPlay) OnEndPlay();
}

}  // namespace nuo4
