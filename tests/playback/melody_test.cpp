// The melody of small scores: the notes that sound (channel, key, start and end in quarter
// notes) in the order they sound, repeats unfolded, ties merged, grace notes, articulations and
// upbeats timed; the event buffer in milliseconds; the channels of the parts.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "format/abc_buffer.h"
#include "format/score_file.h"
#include "layout/simple_buffer.h"
#include "playback/melody_build.h"
#include "render/music_font.h"

using namespace nuo4;

namespace {

struct TNote {
    int Channel, Key;
    double On, Off;
    bool operator==(const TNote&) const = default;
};

std::ostream& operator<<(std::ostream& O, const TNote& N) {
    return O << "{" << N.Channel << "," << N.Key << "," << N.On << "," << N.Off << "}";
}

// Note-ons paired with their note-offs, in the order they sound.
std::vector<TNote> Notes(const TMidiBuffer& B) {
    std::vector<TNote> R;
    for (const TMidiEventType& E : B.AllEventsInTimeOrder()) {
        if (E.Kind == mekNoteOn) R.push_back({E.Channel, E.Data1, E.AtTime_4th, -1});
        if (E.Kind != mekNoteOff) continue;
        for (TNote& N : R)
            if (N.Off < 0 && N.Channel == E.Channel && N.Key == E.Data1 && N.On == E.NoteOnAt_4th) {
                N.Off = E.AtTime_4th;
                break;
            }
    }
    return R;
}

class Melody : public ::testing::Test {
  protected:
    void SetUp() override { Nuo4Render_Init(); }
    TNuo4SimpleBuffer& Build(const std::u16string& AText) {
        FABC = std::make_unique<TNuo4ABCBuffer>(AText);
        FBuf = std::make_unique<TNuo4SimpleBuffer>(FABC.get());
        return *FBuf;
    }
    TNuo4SimpleBuffer& BuildVoice(const std::u16string& AVoice) {
        return Build(u".Title\rKeyAndMeters = {1=C}{4/4}\r.Voice\r" + AVoice + u"\r");
    }
    std::unique_ptr<TNuo4ABCBuffer> FABC;
    std::unique_ptr<TNuo4SimpleBuffer> FBuf;
};

std::u16string U16(const char* S) {
    return QString::fromUtf8(S).toStdU16String();
}

TEST_F(Melody, SoundsTheNotesInPlayOrder) {
    // C major: 1 = 60, 2 = 62, 3 = 64, 4 = 65, 5 = 67.
    struct TCase {
        const char* Name;
        const char* Voice;
        std::vector<TNote> Expected;
    };
    const std::vector<TCase> Cases = {
        {"one volta ending at the end-repeat",
         "|: 1 1 1 1 |[1. 2 2 2 2 :| 3 3 3 3 |",
         {{0, 60, 0, 1},
          {0, 60, 1, 2},
          {0, 60, 2, 3},
          {0, 60, 3, 4},
          {0, 62, 4, 5},
          {0, 62, 5, 6},
          {0, 62, 6, 7},
          {0, 62, 7, 8},
          {0, 60, 8, 9},
          {0, 60, 9, 10},
          {0, 60, 10, 11},
          {0, 60, 11, 12},
          {0, 64, 12, 13},
          {0, 64, 13, 14},
          {0, 64, 14, 15},
          {0, 64, 15, 16}}},
        {"no volta: repeat bar lines play once",
         "|: 1--- | 2--- :| 3--- |",
         {{0, 60, 0, 4}, {0, 62, 4, 8}, {0, 64, 8, 12}}},
        {"two voltas",
         "|: 1--- |[1. 2--- :|[2. 3--- | 4--- |",
         {{0, 60, 0, 4}, {0, 62, 4, 8}, {0, 60, 8, 12}, {0, 64, 12, 16}, {0, 65, 16, 20}}},
        {"two repeated sections with voltas",
         "1--- |[1. 2--- :|[2. 3--- |: 4--- |[1. 5--- :|[2. 1--- |]",
         {{0, 60, 0, 4},
          {0, 62, 4, 8},
          {0, 60, 8, 12},
          {0, 64, 12, 16},
          {0, 65, 16, 20},
          {0, 67, 20, 24},
          {0, 65, 24, 28},
          {0, 60, 28, 32}}},
        {"a tie into the first ending",
         "|: 1-- (2 |[1. 2---) :|[2. 3--- |",
         {{0, 60, 0, 3}, {0, 62, 3, 8}, {0, 60, 8, 11}, {0, 62, 11, 12}, {0, 64, 12, 16}}},
        {"a tie across the end-repeat",
         "|: 1--- |[1. 1-- (2 :|[2. 2---) |",
         {{0, 60, 0, 4}, {0, 60, 4, 7}, {0, 62, 7, 8}, {0, 60, 8, 12}, {0, 62, 12, 16}}},
        {"a chain of three ties sounds once", "(5 (5) 5) 1 |", {{0, 67, 0, 3}, {0, 60, 3, 4}}},
        {"a tie across a line end",
         "1 2 3 (5 | $\r5) 1 2 3 |",
         {{0, 60, 0, 1},
          {0, 62, 1, 2},
          {0, 64, 2, 3},
          {0, 67, 3, 5},
          {0, 60, 5, 6},
          {0, 62, 6, 7},
          {0, 64, 7, 8}}},
        {"two grace notes on a quarter",
         "{12}3 1 1 1 |",
         {{0, 60, 0, 0.25},
          {0, 62, 0.25, 0.5},
          {0, 64, 0.5, 1},
          {0, 60, 1, 2},
          {0, 60, 2, 3},
          {0, 60, 3, 4}}},
        {"three grace notes on a quarter",
         "{123}4 1 1 1 |",
         {{0, 60, 0, 0.125},
          {0, 62, 0.125, 0.25},
          {0, 64, 0.25, 0.375},
          {0, 65, 0.375, 1},
          {0, 60, 1, 2},
          {0, 60, 2, 3},
          {0, 60, 3, 4}}},
        {"grace notes too many for their note share half of it",
         "{12}3__ 1. 1 1 1__ |",
         {{0, 60, 0, 0.0625},
          {0, 62, 0.0625, 0.125},
          {0, 64, 0.125, 0.25},
          {0, 60, 0.25, 1.75},
          {0, 60, 1.75, 2.75},
          {0, 60, 2.75, 3.75},
          {0, 60, 3.75, 4}}},
        {"staccato sounds half the note",
         "{DunYin}1 2 2 2 |",
         {{0, 60, 0, 0.5}, {0, 62, 1, 2}, {0, 62, 2, 3}, {0, 62, 3, 4}}},
        {"a mordent",
         "{BoYin}3 2 2 2 |",
         {{0, 64, 0, 0.125},
          {0, 65, 0.125, 0.25},
          {0, 64, 0.25, 1},
          {0, 62, 1, 2},
          {0, 62, 2, 3},
          {0, 62, 3, 4}}},
        {"a one-beat upbeat starts at beat 3",
         "5 | 1 2 3 4 |",
         {{0, 67, 3, 4}, {0, 60, 4, 5}, {0, 62, 5, 6}, {0, 64, 6, 7}, {0, 65, 7, 8}}},
        {"a drum plays key 65 on channel 9",
         "X\xe9\xbc\x93 1 1 1 |",
         {{9, 65, 0, 1}, {0, 60, 1, 2}, {0, 60, 2, 3}, {0, 60, 3, 4}}},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        TNuo4SimpleBuffer& B = BuildVoice(U16(C.Voice));
        TNuo4Melody M;
        ASSERT_TRUE(Melody_MakeBuffer(B, TrecNuo4Melody_PlayInfo(), M));
        EXPECT_EQ(Notes(M.MidiBuffer()), C.Expected);
    }
}

TEST_F(Melody, PlayRangesStartAtTheCaretOrCoverTheSelection) {
    TNuo4SimpleBuffer& B = BuildVoice(u"1 2 3 4 | 5 1 2 3 |");
    TrecNuo4Melody_PlayInfo Info;
    TNuo4Melody M;
    // From the caret on the "2" of the second measure: it keeps its beat in the measure.
    Info.PlayRange = mprFromCaret;
    B.InternalStatus.Selection.CaretPos_End = {7, false};
    ASSERT_TRUE(Melody_MakeBuffer(B, Info, M));
    EXPECT_EQ(Notes(M.MidiBuffer()), (std::vector<TNote>{{0, 62, 2, 3}, {0, 64, 3, 4}}));
    // The selection of "3 4".
    Info.PlayRange = mprSelection;
    B.InternalStatus.Selection.CaretPos_Start = {2, false};
    B.InternalStatus.Selection.CaretPos_End = {3, true};
    ASSERT_TRUE(Melody_MakeBuffer(B, Info, M));
    EXPECT_EQ(Notes(M.MidiBuffer()), (std::vector<TNote>{{0, 64, 2, 3}, {0, 65, 3, 4}}));
    // An empty selection and a range of rests play nothing.
    B.InternalStatus.Selection.CaretPos_Start = B.InternalStatus.Selection.CaretPos_End;
    EXPECT_FALSE(Melody_MakeBuffer(B, Info, M));
    TNuo4SimpleBuffer& Rests = BuildVoice(u"0 0 0 0 |");
    EXPECT_FALSE(Melody_MakeBuffer(Rests, TrecNuo4Melody_PlayInfo(), M));
}

TEST_F(Melody, TempoAndMeterChangesMoveTheFollowingEvents) {
    TNuo4SimpleBuffer& B = BuildVoice(u"1 1 1 1 | 3/4 \"{J=60}\" 2 2 2 | 3 |");
    TNuo4Melody M;
    ASSERT_TRUE(Melody_MakeBuffer(B, TrecNuo4Melody_PlayInfo(), M));
    const TMidiBuffer& Buf = M.MidiBuffer();
    std::vector<double> OnMs;
    for (const TMidiEventType& E : Buf.ChannelEvents(0))
        if (E.Kind == mekNoteOn) OnMs.push_back(E.time);
    // Four quarters at 120, then quarters of 1000 ms.
    EXPECT_EQ(OnMs, (std::vector<double>{0, 500, 1000, 1500, 2000, 3000, 4000, 5000}));
    bool bMeter = false;
    for (const TMidiMetaEvent& E : Buf.MetaEvents())
        if (E.Kind == mmkTact && E.AtTime_4th == 4) bMeter = E.Tact == TTact{3, 4};
    EXPECT_TRUE(bMeter);
}

TEST(MidiBuffer, TimesInMillisecondsEndEveryNoteAfterItsStart) {
    TMidiBuffer B;
    TMidiBufferInitStatus Init;  // tempo 120
    B.InitBuffer(Init);
    B.AddNote(1, 1, 0, 60, 100, 7);
    B.AddNote(2, 1, 0, 60, 100, 8);  // struck again where the first ends
    B.AddNote(3, 0, 0, 62, 100, 9);  // no length at all
    B.AddNote(4, 0.001, 0, 64, 100, 10);
    B.Update();
    std::vector<std::tuple<int, int, double>> R;
    for (const TMidiEventType& E : B.ChannelEvents(0))
        if (E.Kind != mekProgramChange) R.push_back({E.Kind, E.Data1, E.time});
    const std::vector<std::tuple<int, int, double>> Expected = {
        {mekNoteOn, 60, 500},   {mekNoteOff, 60, 995}, {mekNoteOn, 60, 1000},
        {mekNoteOff, 60, 1495}, {mekNoteOn, 62, 1500}, {mekNoteOff, 62, 1501},
        {mekNoteOn, 64, 2000},  {mekNoteOff, 64, 2001}};
    EXPECT_EQ(R, Expected);
    EXPECT_EQ(B.ChannelEvents(0)[0].Kind, mekProgramChange);  // the instrument comes first
    // Tempo 120 is 500,000 microseconds per quarter; the speed ratio scales every time.
    EXPECT_EQ(TMidiBuffer::GetTempoDataFromTempo(120), (std::array<uint8_t, 3>{0x07, 0xA1, 0x20}));
    EXPECT_DOUBLE_EQ(TMidiBuffer::GetTempoFromTempoData({0x07, 0xA1, 0x20}), 120);
    B.Update(2.0);
    EXPECT_DOUBLE_EQ(B.ConvertAtTime_4th_To_ms(1), 250);
    // Channels outside 0 to 15 are refused.
    EXPECT_FALSE(B.AddNote(0, 1, 16, 60, 100, 0));
}

TEST_F(Melody, PartsPlayOnTheirChannels) {
    const std::vector<std::pair<int32_t, int32_t>> Channels = {{0, 0},   {8, 8},   {9, 10},
                                                               {14, 15}, {15, -1}, {-1, -1}};
    for (auto [Part, Channel] : Channels)
        EXPECT_EQ(TNuo4Melody::GetMidiChannelFromPartIndex(Part), Channel) << Part;

    // The round: the second part enters after two measures of rests on its own channel;
    // the second system starts for both parts at 16.
    std::u16string Text;
    std::string Error;
    ASSERT_TRUE(ReadScoreFile(NUO4_SOURCE_DIR "/resources/demo/liangzhilaohu.nuoabc", Text, Error));
    TNuo4SimpleBuffer& B = Build(Text);
    TNuo4Melody M;
    ASSERT_TRUE(Melody_MakeBuffer(B, TrecNuo4Melody_PlayInfo(), M));
    std::vector<TNote> Part1;
    for (const TNote& N : Notes(M.MidiBuffer()))
        if (N.Channel == 1) Part1.push_back(N);
    ASSERT_GE(Part1.size(), 9u);
    EXPECT_EQ(Part1[0], (TNote{1, 60, 8, 9}));
    EXPECT_EQ(Part1[8], (TNote{1, 64, 16, 17}));  // "3" of the second system
    EXPECT_EQ(M.MidiBuffer().NoteOnCount(0), 32);
    EXPECT_EQ(M.MidiBuffer().NoteOnCount(1), 26);
    for (int C = 2; C < 16; ++C) EXPECT_FALSE(M.MidiBuffer().ChannelHasNotes(C)) << C;

    // A short first measure in a later system starts on time: no silence mid-piece.
    TNuo4SimpleBuffer& Short = Build(
        u".Title\rKeyAndMeters = {1=C}{4/4}\r.Voice\r1 2 3 4 | $\r5 6 7 1 | $\r3 4 | 5 6 7 1 | "
        u"$\r1 2 | 3 4 5 6 | $\r.Attachments\rBrace@@1(-1.50,-0.50) = HuaKuoHao, Left, 22.0, "
        u"[]\rBrace@@13(-1.50,-0.50) = HuaKuoHao, Left, 22.0, []\r");
    ASSERT_TRUE(Melody_MakeBuffer(Short, TrecNuo4Melody_PlayInfo(), M));
    const std::vector<TNote> All = Notes(M.MidiBuffer());
    ASSERT_EQ(All.size(), 20u);
    EXPECT_EQ(All[8], (TNote{0, 64, 4, 5}));
    EXPECT_EQ(All[9], (TNote{1, 60, 4, 5}));
}

}  // namespace
