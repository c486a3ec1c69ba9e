// The MIDI file of a melody read back by a small reader of its own: the header, the conductor
// track's tempo, meter and key, and each channel's notes (key, start tick, length) against the
// melody the file came from.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "format/abc_buffer.h"
#include "format/score_file.h"
#include "layout/simple_buffer.h"
#include "playback/melody_build.h"
#include "playback/midi_write.h"
#include "render/music_font.h"

using namespace nuo4;

namespace {

struct TFileEvent {
    int64_t Tick;
    std::vector<uint8_t> Bytes;  // status (0xFF for meta: type, data) and data
};

struct TMidiFile {
    int Format = -1, Division = 0;
    std::vector<std::vector<TFileEvent>> Tracks;
    bool bEveryTrackEnds = true;
};

// Reads what the writer writes: no running status, no system-exclusive events.
TMidiFile ReadMidi(const std::string& S) {
    TMidiFile F;
    size_t P = 0;
    auto U = [&](int N) {
        uint32_t V = 0;
        for (int I = 0; I < N; ++I) V = V << 8 | uint8_t(S.at(P++));
        return V;
    };
    auto Var = [&] {
        uint32_t V = 0;
        uint8_t C;
        do V = V << 7 | ((C = uint8_t(S.at(P++))) & 0x7F);
        while (C & 0x80);
        return V;
    };
    EXPECT_EQ(S.substr(0, 4), "MThd");
    P = 4;
    EXPECT_EQ(U(4), 6u);
    F.Format = int(U(2));
    const int Count = int(U(2));
    F.Division = int(U(2));
    for (int T = 0; T < Count; ++T) {
        EXPECT_EQ(S.substr(P, 4), "MTrk");
        P += 4;
        const uint32_t Length = U(4);
        const size_t End = P + Length;
        std::vector<TFileEvent> Track;
        int64_t Tick = 0;
        bool bEnded = false;
        while (P < End) {
            Tick += Var();
            const uint8_t Status = uint8_t(S.at(P++));
            TFileEvent E{Tick, {Status}};
            if (Status == 0xFF) {
                E.Bytes.push_back(uint8_t(S.at(P++)));
                const uint32_t Len = Var();
                for (uint32_t I = 0; I < Len; ++I) E.Bytes.push_back(uint8_t(S.at(P++)));
                bEnded = E.Bytes[1] == 0x2F;
            } else {
                const int Data = (Status & 0xF0) == 0xC0 ? 1 : 2;
                for (int I = 0; I < Data; ++I) E.Bytes.push_back(uint8_t(S.at(P++)));
            }
            Track.push_back(E);
        }
        F.bEveryTrackEnds = F.bEveryTrackEnds && bEnded && P == End;
        F.Tracks.push_back(Track);
    }
    return F;
}

using TFileNote = std::tuple<int, int, int64_t, int64_t>;  // channel, key, start, length

// Note-ons matched with the next note-off of their key; a note-off with no sounding note and a
// note left open are reported as length -1.
std::vector<TFileNote> FileNotes(const TMidiFile& F) {
    std::vector<TFileNote> R;
    for (size_t T = 1; T < F.Tracks.size(); ++T) {
        std::map<int, std::vector<size_t>> Open;
        for (const TFileEvent& E : F.Tracks[T]) {
            const int Kind = E.Bytes[0] & 0xF0, Ch = E.Bytes[0] & 0x0F;
            if (Kind == 0x90 && E.Bytes[2] > 0) {
                Open[E.Bytes[1]].push_back(R.size());
                R.push_back({Ch, E.Bytes[1], E.Tick, -1});
            } else if (Kind == 0x80 || Kind == 0x90) {
                auto& List = Open[E.Bytes[1]];
                if (List.empty()) {
                    R.push_back({Ch, E.Bytes[1], E.Tick, -1});
                    continue;
                }
                auto& N = R[List.front()];
                std::get<3>(N) = E.Tick - std::get<2>(N);
                List.erase(List.begin());
            }
        }
    }
    std::sort(R.begin(), R.end(), [](const TFileNote& A, const TFileNote& B) {
        return std::tie(std::get<2>(A), std::get<0>(A), std::get<1>(A)) <
               std::tie(std::get<2>(B), std::get<0>(B), std::get<1>(B));
    });
    return R;
}

std::vector<TFileNote> MelodyNotes(const TMidiBuffer& B) {
    std::vector<TFileNote> R;
    for (int C = 0; C < 16; ++C)
        for (const TMidiEventType& E : B.ChannelEvents(C))
            if (E.Kind == mekNoteOff) {
                const int64_t On = std::llround(E.NoteOnAt_4th * 480);
                R.push_back(
                    {C, E.Data1, On, std::max<int64_t>(1, std::llround(E.AtTime_4th * 480) - On)});
            }
    std::sort(R.begin(), R.end(), [](const TFileNote& A, const TFileNote& B) {
        return std::tie(std::get<2>(A), std::get<0>(A), std::get<1>(A)) <
               std::tie(std::get<2>(B), std::get<0>(B), std::get<1>(B));
    });
    return R;
}

std::vector<uint8_t> FirstMeta(const TMidiFile& F, uint8_t AType) {
    for (const TFileEvent& E : F.Tracks.at(0))
        if (E.Bytes[0] == 0xFF && E.Bytes[1] == AType) return {E.Bytes.begin() + 2, E.Bytes.end()};
    return {};
}

class MidiFile : public ::testing::Test {
  protected:
    void SetUp() override { Nuo4Render_Init(); }
    TMidiFile Write(const std::u16string& AText, TNuo4Melody& AMelody) {
        FABC = std::make_unique<TNuo4ABCBuffer>(AText);
        FBuf = std::make_unique<TNuo4SimpleBuffer>(FABC.get());
        EXPECT_TRUE(Melody_MakeBuffer(*FBuf, TrecNuo4Melody_PlayInfo(), AMelody));
        return ReadMidi(TMidiWrite(AMelody.MidiBuffer()).ToBytes());
    }
    std::unique_ptr<TNuo4ABCBuffer> FABC;
    std::unique_ptr<TNuo4SimpleBuffer> FBuf;
};

TEST_F(MidiFile, DemoScoresReadBackAsTheirMelodies) {
    struct TCase {
        const char* File;
        size_t Tracks;
        std::vector<uint8_t> Tempo, Meter, Key;
    };
    const std::vector<TCase> Cases = {
        {"huanle", 2, {0x09, 0x27, 0xC0}, {4, 2, 24, 8}, {2, 0}},         // 100, 4/4, D
        {"molihua", 2, {0x0C, 0xB7, 0x35}, {2, 2, 24, 8}, {0xFF, 0}},     // 72, 2/4, F
        {"liangzhilaohu", 3, {0x07, 0xA1, 0x20}, {4, 2, 24, 8}, {0, 0}},  // 120, 4/4, C
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.File);
        std::u16string Text;
        std::string Error;
        ASSERT_TRUE(ReadScoreFile(
            std::string(NUO4_SOURCE_DIR "/resources/demo/") + C.File + ".nuoabc", Text, Error));
        TNuo4Melody M;
        const TMidiFile F = Write(Text, M);
        EXPECT_EQ(F.Format, 1);
        EXPECT_EQ(F.Division, 480);
        EXPECT_EQ(F.Tracks.size(), C.Tracks);
        EXPECT_TRUE(F.bEveryTrackEnds);
        EXPECT_EQ(FirstMeta(F, 0x51), C.Tempo);
        EXPECT_EQ(FirstMeta(F, 0x58), C.Meter);
        EXPECT_EQ(FirstMeta(F, 0x59), C.Key);
        const std::vector<TFileNote> Notes = FileNotes(F);
        EXPECT_EQ(Notes, MelodyNotes(M.MidiBuffer()));
        for (const TFileNote& N : Notes) EXPECT_GT(std::get<3>(N), 0);
    }
}

TEST_F(MidiFile, RepeatsAndRestruckNotesInTicks) {
    // The second pass of the repeat starts at tick 8 x 480; the repeated "1" is struck again.
    TNuo4Melody M;
    const TMidiFile F = Write(
        u".Title\rKeyAndMeters = {1=C}{4/4}\r.Voice\r|: 1 1 1 1 |[1. 2--- :|[2. 3/8 3 3 3 |\r", M);
    const std::vector<TFileNote> Expected = {
        {0, 60, 0, 480},     {0, 60, 480, 480},  {0, 60, 960, 480},  {0, 60, 1440, 480},
        {0, 62, 1920, 1920}, {0, 60, 3840, 480}, {0, 60, 4320, 480}, {0, 60, 4800, 480},
        {0, 60, 5280, 480},  {0, 64, 5760, 480}, {0, 64, 6240, 480}, {0, 64, 6720, 480}};
    EXPECT_EQ(FileNotes(F), Expected);
    // The meter of the second ending comes where it starts.
    bool bMeter = false;
    for (const TFileEvent& E : F.Tracks.at(0))
        if (E.Bytes[0] == 0xFF && E.Bytes[1] == 0x58 && E.Tick == 5760)
            bMeter = E.Bytes[2] == 3 && E.Bytes[3] == 3;
    EXPECT_TRUE(bMeter);
}

TEST(MidiWrite, DenominatorsAndKeys) {
    // Powers of two for every denominator a meter may have, 0 included.
    const std::vector<std::pair<int, int>> Powers = {{0, 2}, {1, 0}, {2, 1}, {3, 2}, {4, 2}, {5, 2},
                                                     {6, 3}, {7, 3}, {8, 3}, {9, 3}, {-4, 2}};
    for (auto [FenMu, Power] : Powers)
        EXPECT_EQ(TMidiWrite::DenominatorPower(FenMu), Power) << FenMu;
    const std::vector<std::pair<int, int>> Keys = {{0, 0},  {2, 2},  {5, -1}, {-2, -2}, {7, 1},
                                                   {-3, 3}, {3, -3}, {8, -4}, {13, -5}};
    for (auto [Semis, Sharps] : Keys) EXPECT_EQ(TMidiWrite::KeySharps(Semis), Sharps) << Semis;
}

}  // namespace
