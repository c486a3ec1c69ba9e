// The editor killed at random moments while it types by itself: after every kill the score file
// or the recovery file holds a complete text, and no edit made two seconds before the kill is
// lost. Several editors run at once to keep the test short.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

#include "editor/recovery_store.h"
#include "format/abc_buffer.h"
#include "format/score_file.h"
#include "format/score_file_save.h"

namespace nuo4 {
namespace {

constexpr int Rounds = 50;
constexpr int Parallel = 4;
constexpr int64_t MaxKillDelayMs = 6000;  // after the first edit
constexpr int64_t LossWindowMs = 2000;

int64_t MonotonicMs() {
    timespec T{};
    clock_gettime(CLOCK_MONOTONIC, &T);
    return int64_t(T.tv_sec) * 1000 + T.tv_nsec / 1000000;
}

uint64_t TextHash(std::u16string_view AText) {
    uint64_t H = 14695981039346656037ull;
    for (const char16_t C : AText) H = (H ^ uint64_t(C)) * 1099511628211ull;
    return H;
}

struct TrecEdit {
    int Number;
    int64_t TimeMs;
};

struct TrecRound {
    int Index = 0;
    std::string Folder, Score;
    pid_t Pid = -1;
    int Fd = -1;
    std::string Pending;
    std::map<uint64_t, int> States;  // text hash -> edit number (0: as loaded)
    std::vector<TrecEdit> Edits;
    int LastSaved = 0;
    int64_t LaunchMs = 0, FirstEditMs = -1, KillAtMs = -1, KilledMs = -1;
    int64_t Delay = 0;
};

void ParseLine(TrecRound& R, const std::string& ALine) {
    char Kind[8] = {};
    int N = 0;
    long long T = 0;
    unsigned long long H = 0;
    if (std::sscanf(ALine.c_str(), "START %lld %llx", &T, &H) == 2) {
        R.States[H] = 0;
    } else if (std::sscanf(ALine.c_str(), "EDIT %d %lld %llx", &N, &T, &H) == 3) {
        R.States[H] = N;
        R.Edits.push_back({N, T});
        if (R.FirstEditMs < 0) {
            R.FirstEditMs = T;
            R.KillAtMs = T + R.Delay;
        }
    } else if (std::sscanf(ALine.c_str(), "SAVED %d %lld", &N, &T) == 2) {
        R.LastSaved = N;
    }
    (void)Kind;
}

void ReadAvailable(TrecRound& R) {
    char Buf[4096];
    for (;;) {
        const ssize_t N = ::read(R.Fd, Buf, sizeof Buf);
        if (N <= 0) return;
        R.Pending.append(Buf, size_t(N));
        for (size_t End; (End = R.Pending.find('\n')) != std::string::npos;) {
            ParseLine(R, R.Pending.substr(0, End));
            R.Pending.erase(0, End + 1);
        }
    }
}

void Launch(TrecRound& R, const std::string& ABase) {
    R.Folder = ABase + "/round" + std::to_string(R.Index);
    std::filesystem::create_directories(R.Folder);
    R.Score = R.Folder + "/song.nuoabc";
    std::string Error;
    ASSERT_TRUE(SaveScoreFileAtomic(R.Score, u".Voice\r1 2 3 4 |\r", Error)) << Error;
    int Pipe[2];
    ASSERT_EQ(::pipe2(Pipe, O_CLOEXEC), 0);
    R.LaunchMs = MonotonicMs();
    R.Pid = ::fork();
    ASSERT_GE(R.Pid, 0);
    if (R.Pid == 0) {
        ::dup2(Pipe[1], 1);
        const int Null = ::open("/dev/null", O_WRONLY);
        ::dup2(Null, 2);
        ::setenv("XDG_STATE_HOME", (R.Folder + "/state").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (R.Folder + "/config").c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        // A note every 40 ms, a save every 75 notes (about three seconds): a kill between two
        // and three seconds, or after five, finds the edits it must keep in the recovery file only.
        ::setenv("NUO4_SELFTEST_TYPE", "40,75", 1);
        ::execl(NUO4_EDITOR_PATH, NUO4_EDITOR_PATH, R.Score.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(Pipe[1]);
    R.Fd = Pipe[0];
    ::fcntl(R.Fd, F_SETFL, O_NONBLOCK);
}

// The edit number a file's text belongs to; -1 for a text the editor never had.
int StateOf(const TrecRound& R, std::u16string_view AText) {
    const auto It = R.States.find(TextHash(AText));
    return It == R.States.end() ? -1 : It->second;
}

void Check(const TrecRound& R, int& ARoundsWithOldEdits, int& ARoundsRecovered) {
    SCOPED_TRACE("round " + std::to_string(R.Index) + ", killed " +
                 std::to_string(R.KilledMs - R.FirstEditMs) + " ms after the first edit");
    ASSERT_FALSE(R.States.empty()) << "the editor never started typing";
    std::u16string Text;
    std::string Error;
    ASSERT_TRUE(ReadScoreFile(R.Score, Text, Error)) << Error;
    const int Saved = StateOf(R, ABC_AdjustLineBreak(Text));
    ASSERT_GE(Saved, 0) << "the score file holds a text the editor never had";
    EXPECT_GE(Saved, R.LastSaved) << "a save reported as done is lost";
    int Recovered = -1;
    for (const auto& E : std::filesystem::directory_iterator(R.Folder + "/state/Nuo4")) {
        const std::string Name = E.path().filename().string();
        if (!Name.starts_with("Recovery-")) continue;
        std::ifstream F(E.path(), std::ios::binary);
        std::ostringstream S;
        S << F.rdbuf();
        TrecNuo4RecoveryHeader H;
        std::u16string T;
        ASSERT_TRUE(ParseRecoveryFile(S.str(), H, T)) << Name << " is not complete";
        EXPECT_EQ(H.OriginalPath, R.Score);
        Recovered = StateOf(R, T);
        ASSERT_GE(Recovered, 0) << Name << " holds a text the editor never had";
    }
    const int Survived = std::max(Saved, Recovered);
    int MustSurvive = 0;
    for (const TrecEdit& E : R.Edits)
        if (E.TimeMs <= R.KilledMs - LossWindowMs) MustSurvive = std::max(MustSurvive, E.Number);
    if (MustSurvive > 0) ++ARoundsWithOldEdits;
    if (MustSurvive > Saved) ++ARoundsRecovered;
    if (std::getenv("NUO4_KILL_TEST_VERBOSE"))
        std::printf("round %d: %zu edits, killed at +%lld ms, saved %d, recovered %d, must %d\n",
                    R.Index, R.Edits.size(), static_cast<long long>(R.KilledMs - R.FirstEditMs),
                    Saved, Recovered, MustSurvive);
    EXPECT_GE(Survived, MustSurvive) << "edits older than two seconds were lost (saved " << Saved
                                     << ", recovered " << Recovered << ")";
}

TEST(KillTest, NoEditOlderThanTwoSecondsIsLost) {
    const std::string Base =
        (std::filesystem::temp_directory_path() / ("nuo4-kill-" + std::to_string(::getpid())))
            .string();
    std::filesystem::remove_all(Base);
    const unsigned DrawStart = std::random_device{}();
    std::printf("kill moments drawn from %u\n", DrawStart);
    std::mt19937 Gen(DrawStart);
    std::uniform_int_distribution<int64_t> DelayOf(0, MaxKillDelayMs);

    std::vector<TrecRound> Running;
    int Started = 0, Done = 0, RoundsWithOldEdits = 0, RoundsRecovered = 0;
    const int64_t TestStart = MonotonicMs();
    while (Done < Rounds) {
        while (int(Running.size()) < Parallel && Started < Rounds) {
            TrecRound R;
            R.Index = Started++;
            R.Delay = DelayOf(Gen);
            Launch(R, Base);
            if (HasFatalFailure()) return;
            Running.push_back(std::move(R));
        }
        std::vector<pollfd> Fds;
        for (const TrecRound& R : Running) Fds.push_back({R.Fd, POLLIN, 0});
        ::poll(Fds.data(), Fds.size(), 10);
        const int64_t Now = MonotonicMs();
        for (size_t I = 0; I < Running.size();) {
            TrecRound& R = Running[I];
            ReadAvailable(R);
            const bool bDue = R.KillAtMs >= 0 && MonotonicMs() >= R.KillAtMs;
            const bool bHung = R.FirstEditMs < 0 && Now - R.LaunchMs > 20000;
            if (!bDue && !bHung) {
                ++I;
                continue;
            }
            R.KilledMs = MonotonicMs();
            ::kill(R.Pid, SIGKILL);
            int Status = 0;
            ::waitpid(R.Pid, &Status, 0);
            ::fcntl(R.Fd, F_SETFL, 0);
            ReadAvailable(R);
            ::close(R.Fd);
            EXPECT_TRUE(WIFSIGNALED(Status) && WTERMSIG(Status) == SIGKILL)
                << "round " << R.Index << " ended by itself";
            Check(R, RoundsWithOldEdits, RoundsRecovered);
            ++Done;
            Running.erase(Running.begin() + long(I));
        }
    }
    std::printf(
        "%d rounds in %lld ms, %d with edits older than two seconds, %d of them kept by the "
        "recovery file alone\n",
        Rounds, static_cast<long long>(MonotonicMs() - TestStart), RoundsWithOldEdits,
        RoundsRecovered);
    // Enough kills come late enough for the two-second promise to be tested at all.
    EXPECT_GE(RoundsWithOldEdits, Rounds / 4);
    EXPECT_GE(RoundsRecovered, Rounds / 10);
    if (!HasFailure()) std::filesystem::remove_all(Base);
}

}  // namespace
}  // namespace nuo4
