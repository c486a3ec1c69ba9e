// Playback speed: the melody of a generated score of about 50 full pages built from its
// laid-out buffer (repeats unfolded, events sorted and timed), the MIDI file written, and the
// lateness of the timing thread.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "format/abc_buffer.h"
#include "gen/score_gen.h"
#include "layout/simple_buffer.h"
#include "playback/melody_build.h"
#include "playback/midi_scheduler.h"
#include "playback/midi_write.h"
#include "playback/player.h"
#include "render/music_font.h"

using namespace nuo4;

namespace {

// As in the layout bench: one application for the whole run, never destroyed.
void EnsureApplication() {
    if (!QCoreApplication::instance()) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int Argc = 1;
        static char Name[] = "nuo4_bench";
        static char* Argv[] = {Name, nullptr};
        new QGuiApplication(Argc, Argv);
        std::atexit([] { Nuo4Render_Done(); });
    }
    Nuo4Render_Init();
}

std::u16string ScoreText(size_t AChars) {
    const std::u16string Raw = gen::GenerateScore(7, AChars);
    std::u16string S;
    S.reserve(Raw.size());
    for (size_t I = 0; I < Raw.size(); ++I)
        if (!(Raw[I] == u'\n' && I > 0 && Raw[I - 1] == u'\r')) S += Raw[I];
    return S;
}

int32_t PageCount(const std::u16string& AText) {
    TNuo4ABCBuffer ABC(AText);
    TNuo4SimpleBuffer B(&ABC);
    return int32_t(B.PageInfoArray.size());
}

// The buffer of the longest generated text that fits 50 pages.
struct TFiftyPages {
    std::unique_ptr<TNuo4ABCBuffer> ABC;
    std::unique_ptr<TNuo4SimpleBuffer> Buffer;
};
TFiftyPages& FiftyPages() {
    static TFiftyPages Doc;
    if (Doc.Buffer) return Doc;
    size_t Low = 200, High = 2000;
    while (PageCount(ScoreText(High)) <= 50) Low = High, High *= 2;
    while (High - Low > High / 100) {
        const size_t Mid = (Low + High) / 2;
        (PageCount(ScoreText(Mid)) <= 50 ? Low : High) = Mid;
    }
    Doc.ABC = std::make_unique<TNuo4ABCBuffer>(ScoreText(Low));
    Doc.Buffer = std::make_unique<TNuo4SimpleBuffer>(Doc.ABC.get());
    return Doc;
}

void BM_MelodyFiftyPages(benchmark::State& AState) {
    EnsureApplication();
    const TNuo4SimpleBuffer& B = *FiftyPages().Buffer;
    TNuo4Melody M;
    for (auto _ : AState) {
        const bool bNotes = Melody_MakeBuffer(B, TrecNuo4Melody_PlayInfo(), M);
        benchmark::DoNotOptimize(bNotes);
    }
    AState.counters["pages"] = double(B.PageInfoArray.size());
    AState.counters["symbols"] = B.Basic_GetCount();
    AState.counters["events"] = double(M.MidiBuffer().EventCount());
}
BENCHMARK(BM_MelodyFiftyPages)->Unit(benchmark::kMillisecond);

void BM_MidiFileFiftyPages(benchmark::State& AState) {
    EnsureApplication();
    TNuo4Melody M;
    Melody_MakeBuffer(*FiftyPages().Buffer, TrecNuo4Melody_PlayInfo(), M);
    size_t Bytes = 0;
    for (auto _ : AState) Bytes = TMidiWrite(M.MidiBuffer()).ToBytes().size();
    AState.counters["bytes"] = double(Bytes);
}
BENCHMARK(BM_MidiFileFiftyPages)->Unit(benchmark::kMillisecond);

}  // namespace

// 10,000 events over ten minutes of score time played at 30 times the speed (20 s of real
// time) into a null sink: how late each one is sent against its deadline, and the drift
// between the first and the last hundred.
void BM_SchedulerLateness(benchmark::State& AState) {
    constexpr int Count = 10'000;
    constexpr double Score_ms = 600'000, Ratio = 30;
    std::vector<TMidiEventType> Events(Count);
    for (int I = 0; I < Count; ++I) {
        Events[size_t(I)].time = I * Score_ms / Count;
        Events[size_t(I)].Kind = I % 2 ? mekNoteOff : mekNoteOn;
        Events[size_t(I)].Data1 = 60;
        Events[size_t(I)].Data2 = 100;
    }
    std::vector<double> Late_us(Count);
    for (auto _ : AState) {
        TNullMidiOutput Out;
        TMidiScheduler S;
        S.OnSent = [&](size_t I, TMidiScheduler::TClock::time_point ADeadline) {
            Late_us[I] =
                std::chrono::duration<double, std::micro>(TMidiScheduler::TClock::now() - ADeadline)
                    .count();
        };
        std::atomic<bool> bEnd = false;
        S.OnEndPlay = [&] { bEnd = true; };
        S.Start(Events, Out, Ratio);
        while (!bEnd) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        S.Stop();
    }
    double FirstMean = 0, LastMean = 0;
    for (int I = 0; I < 100; ++I) FirstMean += Late_us[size_t(I)] / 100;
    for (int I = Count - 100; I < Count; ++I) LastMean += Late_us[size_t(I)] / 100;
    std::vector<double> Sorted = Late_us;
    std::sort(Sorted.begin(), Sorted.end());
    AState.counters["p50_us"] = Sorted[Count / 2];
    AState.counters["p99_us"] = Sorted[size_t(Count * 0.99)];
    AState.counters["max_us"] = Sorted.back();
    AState.counters["drift_us"] = LastMean - FirstMean;
}
BENCHMARK(BM_SchedulerLateness)->Iterations(1)->Unit(benchmark::kSecond);

// The same through the player: a melody of 5,000 notes over ten minutes with the metronome's
// clicks merged in (muted, so they still clock the beat news), the playing note and the beats
// reported as the editor takes them, and a speed change halfway.
void BM_PlayerLateness(benchmark::State& AState) {
    constexpr int Notes = 5'000;
    TMidiBuffer B;
    B.InitBuffer(TMidiBufferInitStatus());  // 120: ten minutes are 1,200 quarter notes
    for (int I = 0; I < Notes; ++I) B.AddNote(I * 0.24, 0.2, 0, 60 + I % 12, 100, I);
    B.Update();
    std::vector<double> Late_us;
    size_t Beats = 0;
    for (auto _ : AState) {
        TNullMidiOutput Out;
        TNuo4Player P;
        Late_us.assign(B.EventCount() + 4000, 0);
        size_t Sent = 0;  // written by the timing thread, read after the join
        std::atomic<int64_t> News = 0;
        P.OnPlayingNote = [&](int32_t) { ++News; };
        P.OnNewBeat = [&](int32_t, int32_t) { ++News; };
        P.OnSent = [&](size_t I, TMidiScheduler::TClock::time_point ADeadline) {
            if (I >= Late_us.size()) Late_us.resize(I + 1, 0);
            Sent = std::max(Sent, I + 1);
            Late_us[I] =
                std::chrono::duration<double, std::micro>(TMidiScheduler::TClock::now() - ADeadline)
                    .count();
        };
        std::atomic<bool> bEnd = false;
        P.OnEndPlay = [&] { bEnd = true; };
        P.SetSpeedRatio(30);
        P.Play(B, Out);
        std::this_thread::sleep_for(std::chrono::seconds(10));
        P.SetSpeedRatio(40);
        while (!bEnd) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        Beats = size_t(News.load());
        P.Stop();
        Late_us.resize(Sent);
    }
    std::vector<double> Sorted = Late_us;
    std::sort(Sorted.begin(), Sorted.end());
    const size_t N = Sorted.size();
    AState.counters["events"] = double(N);
    AState.counters["news"] = double(Beats);
    AState.counters["p50_us"] = Sorted[N / 2];
    AState.counters["p99_us"] = Sorted[size_t(double(N) * 0.99)];
    AState.counters["max_us"] = Sorted.back();
}
BENCHMARK(BM_PlayerLateness)->Iterations(1)->Unit(benchmark::kSecond);
