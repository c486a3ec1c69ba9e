#include "playback/midi_write.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace nuo4 {

namespace {

struct TTrackEvent {
    int64_t Tick = 0;
    int32_t Order = 0;  // at one tick: meta, program, note-off, note-on
    std::string Bytes;
};

void PutVarLen(std::string& AOut, uint32_t AValue) {
    char Buf[5];
    int N = 0;
    Buf[N++] = char(AValue & 0x7F);
    while (AValue >>= 7) Buf[N++] = char(0x80 | (AValue & 0x7F));
    while (N > 0) AOut.push_back(Buf[--N]);
}

void PutBE(std::string& AOut, uint32_t AValue, int ABytes) {
    for (int I = ABytes - 1; I >= 0; --I) AOut.push_back(char((AValue >> (8 * I)) & 0xFF));
}

int64_t TickOf(double AtTime_4th) {
    return std::max<int64_t>(0, std::llround(AtTime_4th * Nuo4MidiTicksPerQuarter));
}

std::string Meta(uint8_t AType, const std::string& AData) {
    std::string S{char(0xFF), char(AType)};
    PutVarLen(S, uint32_t(AData.size()));
    return S + AData;
}

// The track chunk: events sorted by tick (stable), then the end of track.
std::string Track(std::vector<TTrackEvent> AEvents) {
    std::stable_sort(AEvents.begin(), AEvents.end(),
                     [](const TTrackEvent& A, const TTrackEvent& B) {
                         return A.Tick != B.Tick ? A.Tick < B.Tick : A.Order < B.Order;
                     });
    std::string Body;
    int64_t Prev = 0;
    for (const TTrackEvent& E : AEvents) {
        PutVarLen(Body, uint32_t(std::min<int64_t>(E.Tick - Prev, 0x0FFFFFFF)));
        Body += E.Bytes;
        Prev = E.Tick;
    }
    PutVarLen(Body, 0);
    Body += std::string{char(0xFF), char(0x2F), char(0x00)};
    std::string Chunk = "MTrk";
    PutBE(Chunk, uint32_t(Body.size()), 4);
    return Chunk + Body;
}

}  // namespace

int32_t TMidiWrite::DenominatorPower(int32_t AFenMu) {
    if (AFenMu <= 0) return 2;
    int32_t Best = 0;
    for (int32_t P = 1; P <= 7; ++P)  // ties go to the larger power (3 -> 4, 6 -> 8)
        if (std::abs((1 << P) - AFenMu) <= std::abs((1 << Best) - AFenMu)) Best = P;
    return Best;
}

int32_t TMidiWrite::KeySharps(int32_t ASemitones) {
    static constexpr int32_t Sharps[12] = {0, -5, 2, -3, 4, -1, 6, 1, -4, 3, -2, 5};
    return Sharps[((ASemitones % 12) + 12) % 12];
}

std::string TMidiWrite::ToBytes(const std::string& ASongTitle) const {
    std::vector<std::string> Tracks;
    // The conductor track.
    std::vector<TTrackEvent> Conductor;
    if (!ASongTitle.empty()) Conductor.push_back({0, 0, Meta(0x03, ASongTitle)});
    for (const TMidiMetaEvent& E : MidiBuffer.MetaEvents()) {
        const int64_t Tick = TickOf(E.AtTime_4th);
        std::string D;
        switch (E.Kind) {
            case mmkTempo: {
                const auto T = TMidiBuffer::GetTempoDataFromTempo(E.Tempo);
                D = Meta(0x51, std::string{char(T[0]), char(T[1]), char(T[2])});
                break;
            }
            case mmkTact: {
                const int32_t Num = std::clamp(E.Tact.FenZi > 0 ? E.Tact.FenZi : 1, 1, 255);
                D = Meta(0x58, std::string{char(Num), char(DenominatorPower(E.Tact.FenMu)),
                                           char(24), char(8)});
                break;
            }
            case mmkTranspose:
                D = Meta(0x59, std::string{char(int8_t(KeySharps(E.Transpose))), char(0)});
                break;
        }
        Conductor.push_back({Tick, 0, D});
    }
    Tracks.push_back(Track(std::move(Conductor)));

    for (int32_t C = 0; C < 16; ++C) {
        if (!MidiBuffer.ChannelHasNotes(C)) continue;
        std::vector<TTrackEvent> Events;
        for (const TMidiEventType& E : MidiBuffer.ChannelEvents(C)) {
            int64_t Tick = TickOf(E.AtTime_4th);
            std::string Msg{char(E.Status()), char(E.Data1)};
            if (E.Kind != mekProgramChange) Msg.push_back(char(E.Data2));
            // A note-off never falls on or before the tick of its own note-on, where it would
            // be sorted first and leave the note sounding.
            if (E.Kind == mekNoteOff) Tick = std::max(Tick, TickOf(E.NoteOnAt_4th) + 1);
            Events.push_back({Tick, 1 + int32_t(E.Kind), Msg});
        }
        // Every note-on closed: count them per key in tick order.
        std::vector<TTrackEvent> Sorted = Events;
        std::stable_sort(Sorted.begin(), Sorted.end(),
                         [](const TTrackEvent& A, const TTrackEvent& B) {
                             return A.Tick != B.Tick ? A.Tick < B.Tick : A.Order < B.Order;
                         });
        int32_t Open[128] = {};
        int64_t LastTick = 0;
        for (const TTrackEvent& E : Sorted) {
            LastTick = std::max(LastTick, E.Tick);
            const uint8_t Key = uint8_t(E.Bytes[1]) & 0x7F;
            if (E.Order == 1 + mekNoteOn) ++Open[Key];
            if (E.Order == 1 + mekNoteOff && Open[Key] > 0) --Open[Key];
        }
        for (int32_t K = 0; K < 128; ++K)
            for (; Open[K] > 0; --Open[K])
                Events.push_back(
                    {LastTick, 1 + mekNoteOff, std::string{char(0x80 | C), char(K), char(64)}});
        Tracks.push_back(Track(std::move(Events)));
    }

    std::string Out = "MThd";
    PutBE(Out, 6, 4);
    PutBE(Out, 1, 2);
    PutBE(Out, uint32_t(Tracks.size()), 2);
    PutBE(Out, uint32_t(Nuo4MidiTicksPerQuarter), 2);
    for (const std::string& T : Tracks) Out += T;
    return Out;
}

}  // namespace nuo4
