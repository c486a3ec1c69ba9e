#pragma once
// A small profiling timer: numbered timers that record named marks with the time since the
// timer's first mark. Build steps mark "Enter-" and "Exit-" around themselves; the marks
// never change a result.

#include <chrono>
#include <string>
#include <vector>

namespace nuo4 {

class TKoFineTimer {
  public:
    static constexpr int TimerCount = 8;

    struct TrecMark {
        std::string Hint;
        double ElapsedMs = 0;  // since the first mark of the timer
    };

    // Records a mark; a timer outside 0 ... TimerCount - 1 is ignored.
    void Mark(int ATimer, const std::string& AHint);
    void Clear(int ATimer);
    void ClearAll();
    const std::vector<TrecMark>& Marks(int ATimer) const;
    // One line per mark: elapsed milliseconds, the step since the previous mark, the hint.
    std::string ToText(int ATimer) const;

  private:
    using TClock = std::chrono::steady_clock;
    struct TTimer {
        TClock::time_point Start;
        std::vector<TrecMark> Marks;
    };
    TTimer FTimers[TimerCount];
};

// The process-wide timer (user-interface thread only).
TKoFineTimer& Nuo4FineTimer();

}  // namespace nuo4
