#include "layout/fine_timer.h"

#include <cstdio>

namespace nuo4 {

void TKoFineTimer::Mark(int ATimer, const std::string& AHint) {
    if (ATimer < 0 || ATimer >= TimerCount) return;
    TTimer& T = FTimers[ATimer];
    const auto Now = TClock::now();
    if (T.Marks.empty()) T.Start = Now;
    T.Marks.push_back({AHint, std::chrono::duration<double, std::milli>(Now - T.Start).count()});
}

void TKoFineTimer::Clear(int ATimer) {
    if (ATimer >= 0 && ATimer < TimerCount) FTimers[ATimer].Marks.clear();
}

void TKoFineTimer::ClearAll() {
    for (TTimer& T : FTimers) T.Marks.clear();
}

const std::vector<TKoFineTimer::TrecMark>& TKoFineTimer::Marks(int ATimer) const {
    static const std::vector<TrecMark> Empty;
    if (ATimer < 0 || ATimer >= TimerCount) return Empty;
    return FTimers[ATimer].Marks;
}

std::string TKoFineTimer::ToText(int ATimer) const {
    std::string R;
    double Prev = 0;
    char Buf[64];
    for (const TrecMark& M : Marks(ATimer)) {
        std::snprintf(Buf, sizeof Buf, "%10.3f %10.3f  ", M.ElapsedMs, M.ElapsedMs - Prev);
        R += Buf;
        R += M.Hint;
        R += '\n';
        Prev = M.ElapsedMs;
    }
    return R;
}

TKoFineTimer& Nuo4FineTimer() {
    static TKoFineTimer Timer;
    return Timer;
}

}  // namespace nuo4
