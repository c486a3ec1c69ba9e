// The timing thread: every event sent in order and never before its time, the playing note
// reported, a stop that joins and silences, and a speed change that keeps the position.
#include "playback/midi_scheduler.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace nuo4;

namespace {

class TRecordingOutput : public TMidiOutput {
  public:
    void PutShortMsg(uint8_t AStatus, uint8_t AData1, uint8_t) override {
        Sent.push_back({AStatus, AData1, TMidiScheduler::TClock::now()});
    }
    struct TMsg {
        uint8_t Status, Data1;
        TMidiScheduler::TClock::time_point At;
    };
    std::vector<TMsg> Sent;
};

std::vector<TMidiEventType> Events(int ACount, double AStep_ms) {
    std::vector<TMidiEventType> R;
    for (int I = 0; I < ACount; ++I) {
        TMidiEventType E;
        E.time = I * AStep_ms;
        E.Kind = I % 2 ? mekNoteOff : mekNoteOn;
        E.Data1 = uint8_t(60 + I / 2);
        E.Data2 = 100;
        E.Reserved = I % 2 ? -1 : I;
        R.push_back(E);
    }
    return R;
}

TEST(MidiScheduler, SendsEveryEventInOrderAndNeverEarly) {
    TRecordingOutput Out;
    TMidiScheduler S;
    std::atomic<bool> bEnded = false;
    std::vector<int32_t> Reported;
    S.OnPlayingNote = [&](int32_t I, double) { Reported.push_back(I); };
    S.OnEndPlay = [&] { bEnded = true; };
    const auto Start = TMidiScheduler::TClock::now();
    S.Start(Events(20, 5), Out);
    while (!bEnded && TMidiScheduler::TClock::now() - Start < std::chrono::seconds(5))
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    S.Stop();
    ASSERT_TRUE(bEnded);
    ASSERT_EQ(Out.Sent.size(), 20u + 16u);  // then all notes off on every channel
    for (int I = 0; I < 20; ++I) {
        EXPECT_EQ(Out.Sent[I].Data1, 60 + I / 2) << I;
        EXPECT_GE(Out.Sent[I].At - Start, std::chrono::milliseconds(5 * I)) << I;
    }
    EXPECT_EQ(Out.Sent[20].Status, 0xB0);
    EXPECT_EQ(Out.Sent[20].Data1, 123);
    EXPECT_EQ(Reported, (std::vector<int32_t>{0, 2, 4, 6, 8, 10, 12, 14, 16, 18}));
}

TEST(MidiScheduler, StopJoinsAndSpeedKeepsThePosition) {
    TRecordingOutput Out;
    TMidiScheduler S;
    bool bEnded = false;
    S.OnEndPlay = [&] { bEnded = true; };
    S.Start(Events(100, 100), Out);  // ten seconds
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    const double Before = S.GetTimeEscaped();
    S.SetSpeedRatio(4.0);
    const auto Changed = TMidiScheduler::TClock::now();
    const double After = S.GetTimeEscaped();
    EXPECT_NEAR(After, Before, 20);  // no jump
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    // Four times as fast as the clock since the change, however long the sleep really was.
    const double Real_ms =
        std::chrono::duration<double, std::milli>(TMidiScheduler::TClock::now() - Changed).count();
    EXPECT_NEAR(S.GetTimeEscaped(), Before + 4 * Real_ms, 25);
    S.Stop();
    EXPECT_FALSE(S.IsPlaying());
    EXPECT_FALSE(bEnded);
    EXPECT_LT(Out.Sent.size(), 100u);
    EXPECT_EQ(Out.Sent.back().Data1, 123);  // silenced
}

}  // namespace
