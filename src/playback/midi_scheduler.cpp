#include "playback/midi_scheduler.h"

#include <pthread.h>
#include <sched.h>

#include <cmath>

namespace nuo4 {

void TMidiScheduler::Start(std::vector<TMidiEventType> AEvents, TMidiOutput& AOutput,
                           double ASpeedRatio, double AFrom_ms) {
    Stop();
    std::lock_guard<std::mutex> L(FLock);
    FEvents = std::move(AEvents);
    FOutput = &AOutput;
    FStop = FPause = false;
    FRunning = true;
    FRatio = ASpeedRatio > 0 && std::isfinite(ASpeedRatio) ? ASpeedRatio : 1.0;
    FRefScore_ms = AFrom_ms;
    FRefClock = TClock::now();
    FThread = std::thread([this] { Run(); });
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
    if (FPause) return FRefScore_ms;
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
        const TClock::time_point Now = TClock::now();
        FRefScore_ms = ScoreTimeAt(Now);
        FRefClock = Now;
        FRatio = ARatio;
    }
    FWake.notify_all();
}

void TMidiScheduler::SetPause(bool bPause) {
    {
        std::lock_guard<std::mutex> L(FLock);
        if (bPause == FPause) return;
        const TClock::time_point Now = TClock::now();
        FRefScore_ms = ScoreTimeAt(Now);
        FRefClock = Now;
        FPause = bPause;
        if (bPause && FOutput) FOutput->MuteAllChannel_Simple();
    }
    FWake.notify_all();
}

bool TMidiScheduler::IsPlaying() const {
    std::lock_guard<std::mutex> L(FLock);
    return FRunning && !FStop;
}

double TMidiScheduler::GetTimeEscaped() const {
    std::lock_guard<std::mutex> L(FLock);
    return ScoreTimeAt(TClock::now());
}

void TMidiScheduler::Run() {
    // A real-time priority where the system grants it (the thread mostly sleeps, so it takes
    // little from others); otherwise the ordinary one.
    sched_param Param{};
    Param.sched_priority = sched_get_priority_min(SCHED_FIFO) + 10;
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &Param);
    std::unique_lock<std::mutex> L(FLock);
    size_t Next = 0;
    while (!FStop && Next < FEvents.size()) {
        if (FPause) {
            FWake.wait(L, [&] { return FStop || !FPause; });
            continue;
        }
        // Sleep until the next event is due; a speed change or a stop wakes the thread.
        const TClock::time_point Deadline = DeadlineOf(FEvents[Next].time);
        if (TClock::now() < Deadline) {
            FWake.wait_until(L, Deadline);
            continue;  // the reference may have moved: recompute
        }
        // Everything due now goes out together; the first note-on reports its symbol.
        bool bReported = false;
        const TClock::time_point Now = TClock::now();
        while (Next < FEvents.size() && !FStop && DeadlineOf(FEvents[Next].time) <= Now) {
            const TMidiEventType& E = FEvents[Next];
            const TClock::time_point Due = DeadlineOf(E.time);
            FOutput->PutShortMsg(E.Status(), E.Data1, E.Kind == mekProgramChange ? 0 : E.Data2);
            if (OnSent) OnSent(Next, Due);
            if (E.Kind == mekNoteOn && !bReported && E.Reserved >= 0 && OnPlayingNote) {
                bReported = true;
                OnPlayingNote(E.Reserved, E.time);
            }
            ++Next;
        }
    }
    const bool bEnded = !FStop;
    L.unlock();
    if (bEnded && OnEndPlay) OnEndPlay();
}

}  // namespace nuo4
