// The player against a clock of its own: play, pause, resume, speed changes and stop keep the
// score position and send exactly what is due; the metronome counts its beats through meter
// and tempo changes; the device choice finds a remembered device.
#include "playback/player.h"

#include <gtest/gtest.h>

#include <functional>

#include "playback/midi_devices.h"

using namespace nuo4;

namespace {

using TClock = TMidiScheduler::TClock;

class TCountingOutput : public TMidiOutput {
  public:
    void PutShortMsg(uint8_t AStatus, uint8_t AData1, uint8_t) override {
        const uint8_t Kind = AStatus & 0xF0, Ch = AStatus & 0x0F;
        if (Kind == 0x90 && Ch == 0) ++NoteOns;
        if (Kind == 0x90 && Ch == 9) ++Clicks;
        if (Kind == 0xB0 && AData1 == 123) ++AllOff;
    }
    int NoteOns = 0, Clicks = 0, AllOff = 0;
};

// Eight quarter notes at 120: one every 500 ms.
TMidiBuffer EightQuarters() {
    TMidiBuffer B;
    B.InitBuffer(TMidiBufferInitStatus());
    for (int I = 0; I < 8; ++I) B.AddNote(I, 1, 0, 60 + I, 100, I);
    B.Update();
    return B;
}

TEST(Player, StatesKeepTheScorePositionAndSendWhatIsDue) {
    TClock::time_point Now{};
    TNuo4Player P([&] { return Now; }, false);
    TCountingOutput Out;
    int32_t Playing = -1, Beats = 0, Ends = 0;
    P.OnPlayingNote = [&](int32_t I) { Playing = I; };
    P.OnNewBeat = [&](int32_t, int32_t) { ++Beats; };
    P.OnEndPlay = [&] { ++Ends; };
    const TMidiBuffer B = EightQuarters();

    struct TStep {
        const char* What;
        std::function<void()> Act;
        double Advance_ms;
        TNuo4PlayState State;
        double Position_ms;
        int NoteOns, Clicks, Beats, Playing;
    };
    const TStep Steps[] = {
        {"play", [&] { P.Play(B, Out); }, 0, psPlaying, 0, 1, 1, 1, 0},
        {"a second", [] {}, 1000, psPlaying, 1000, 3, 3, 3, 2},
        {"pause holds", [&] { P.Pause(); }, 5000, psPaused, 1000, 3, 3, 3, 2},
        {"resume", [&] { P.Resume(); }, 250, psPlaying, 1250, 3, 3, 3, 2},
        {"twice as fast", [&] { P.SetSpeedRatio(2.0); }, 250, psPlaying, 1750, 4, 4, 4, 3},
        {"refused ratio", [&] { P.SetSpeedRatio(0); }, 100, psPlaying, 1950, 4, 4, 4, 3},
        {"half speed", [&] { P.SetSpeedRatio(0.5); }, 200, psPlaying, 2050, 5, 5, 5, 4},
        {"muted clicks", [&] { P.SetMetronomeSound(false); }, 1000, psPlaying, 2550, 6, 5, 6, 5},
        {"stop", [&] { P.Stop(); }, 1000, psStopped, 0, 6, 5, 6, 5},
        {"again at 2",
         [&] {
             P.SetMetronomeSound(true);
             P.SetSpeedRatio(2);
             P.Play(B, Out);
         },
         1000, psPlaying, 2000, 11, 10, 11, 4},
        {"to the end", [] {}, 5000, psPlaying, 12000, 14, 13, 14, 7},
    };
    for (const TStep& S : Steps) {
        S.Act();
        Now += std::chrono::microseconds(int64_t(S.Advance_ms * 1000));
        P.Pump();
        EXPECT_EQ(P.State(), S.State) << S.What;
        EXPECT_NEAR(P.GetTimeEscaped(), S.Position_ms, 1e-6) << S.What;
        EXPECT_EQ(Out.NoteOns, S.NoteOns) << S.What;
        EXPECT_EQ(Out.Clicks, S.Clicks) << S.What;
        EXPECT_EQ(Beats, S.Beats) << S.What;
        EXPECT_EQ(Playing, S.Playing) << S.What;
    }
    // The pause and the stop silenced every channel.
    EXPECT_EQ(Out.AllOff, 2 * 16);
    EXPECT_EQ(Ends, 1);
    EXPECT_TRUE(P.IsEnded());
    P.Stop();
    EXPECT_EQ(Ends, 1);
}

TEST(Player, MetronomeAloneClicksAtItsTempoAndStops) {
    TClock::time_point Now{};
    TNuo4Player P([&] { return Now; }, false);
    TCountingOutput Out;
    P.SetMetronomeSound(false);  // the switch is for clicks along the score
    ASSERT_TRUE(P.PlayMetronome(90, TTact{3, 4}, Out, 1));
    Now += std::chrono::milliseconds(4100);
    P.Pump();
    EXPECT_EQ(Out.Clicks, 7);  // at 0, 2/3 s, ..., 4 s
    TTact T;
    EXPECT_NEAR(P.GetMeasureEscaped(&T), 2.05, 1e-9);
    EXPECT_EQ(T, (TTact{3, 4}));
    P.Stop();
    EXPECT_FALSE(P.PlayMetronome(0, TTact{3, 4}, Out));
    EXPECT_EQ(P.State(), psStopped);
}

TEST(Player, SpeedTrackBarGivesHalfToDoubleSpeed) {
    const std::pair<int, double> Cases[] = {{0, 0.5},   {1, 0.5},   {3, 0.51},
                                            {99, 0.99}, {100, 1.0}, {150, 1.5},
                                            {200, 2.0}, {-7, 0.5},  {999, 2.0}};
    for (auto [Pos, Ratio] : Cases) EXPECT_DOUBLE_EQ(Nuo4SpeedRatioFromTrackBar(Pos), Ratio) << Pos;
}

TEST(Metronome, BeatsFollowMeterAndTempoChanges) {
    struct TCase {
        const char* What;
        TTact Init;
        std::vector<std::pair<double, TTact>> Meters;
        std::vector<std::pair<double, double>> Tempi;
        double Until_4th;
        // at (quarters), ms, measure, beat
        std::vector<std::tuple<double, double, int, int>> Beats;
    };
    const TCase Cases[] = {
        {"4/4",
         {4, 4},
         {},
         {},
         6,
         {{0, 0, 0, 0},
          {1, 500, 0, 1},
          {2, 1000, 0, 2},
          {3, 1500, 0, 3},
          {4, 2000, 1, 0},
          {5, 2500, 1, 1}}},
        {"3/4 then 6/8",
         {3, 4},
         {{3, {6, 8}}},
         {},
         5,
         {{0, 0, 0, 0},
          {1, 500, 0, 1},
          {2, 1000, 0, 2},
          {3, 1500, 1, 0},
          {3.5, 1750, 1, 1},
          {4, 2000, 1, 2},
          {4.5, 2250, 1, 3}}},
        {"a change inside a measure starts one",
         {4, 4},
         {{2, {2, 4}}},
         {},
         4,
         {{0, 0, 0, 0}, {1, 500, 0, 1}, {2, 1000, 1, 0}, {3, 1500, 1, 1}}},
        {"free meter clicks quarters", {0, 4}, {}, {}, 2, {{0, 0, 0, 0}, {1, 500, 1, 0}}},
        {"slower tempo stretches the beats",
         {2, 2},
         {},
         {{2, 60}},
         6,
         {{0, 0, 0, 0}, {2, 1000, 0, 1}, {4, 3000, 1, 0}}},
    };
    for (const TCase& C : Cases) {
        TMidiBufferInitStatus Init;
        Init.Tact = C.Init;
        TMidiBuffer B;
        B.InitBuffer(Init);
        for (const auto& [At, T] : C.Meters) B.AddTact(At, T);
        for (const auto& [At, T] : C.Tempi) B.AddTempo(At, T);
        B.Update();
        const std::vector<TrecNuo4MetronomeBeat> R = Metronome_Beats(B, C.Until_4th);
        ASSERT_EQ(R.size(), C.Beats.size()) << C.What;
        for (size_t I = 0; I < R.size(); ++I) {
            const auto& [At, Ms, Measure, Beat] = C.Beats[I];
            EXPECT_DOUBLE_EQ(R[I].AtTime_4th, At) << C.What << " " << I;
            EXPECT_NEAR(R[I].time, Ms, 1e-9) << C.What << " " << I;
            EXPECT_EQ(R[I].Measure, Measure) << C.What << " " << I;
            EXPECT_EQ(R[I].Beat, Beat) << C.What << " " << I;
        }
        // The clicks: the first beat of a measure strong, each ended before the next begins.
        const std::vector<TMidiEventType> E = Metronome_Events(R);
        ASSERT_EQ(E.size(), 2 * R.size()) << C.What;
        for (size_t I = 0; I + 1 < E.size(); ++I) EXPECT_LE(E[I].time, E[I + 1].time) << C.What;
        for (const TMidiEventType& Ev : E) {
            EXPECT_EQ(Ev.Channel, 9);
            if (Ev.Kind == mekNoteOn) {
                EXPECT_EQ(Ev.Data1, R[size_t(Ev.MetronomeBeat)].Beat == 0 ? 77 : 76) << C.What;
            }
        }
    }
}

TEST(MidiDevices, TheRememberedDeviceIsFoundElseTheDefault) {
    std::vector<TrecNuo4MidiDevice> L(3);
    L[0].Name = "FluidSynth (General MIDI)";
    L[1].Kind = L[2].Kind = mdkAlsaPort;
    L[1].Name = "Midi Through: Midi Through Port-0 (14:0)";
    L[2].Name = "TiMidity: TiMidity port 0 (129:0)";
    const std::pair<const char*, int32_t> Cases[] = {
        {"TiMidity: TiMidity port 0 (129:0)", 2},
        {"TiMidity: TiMidity port 0 (128:0)", 2},  // renumbered since
        {"Gone: port (20:0)", 0},
        {"", 0},
    };
    for (auto [Name, Index] : Cases) EXPECT_EQ(Nuo4FindMidiDevice(L, Name), Index) << Name;
    EXPECT_EQ(Nuo4FindMidiDevice({}, "x"), -1);
}

}  // namespace
