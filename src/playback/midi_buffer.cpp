#include "playback/midi_buffer.h"

#include <algorithm>
#include <cmath>

namespace nuo4 {

namespace {
// A note ends this much before its written end so that the next note on the same key is
// struck anew, but never more than half of its length.
constexpr double NoteOffGap_ms = 5.0;
// Even a note of no length sounds this long, so that its end follows its start.
constexpr double MinNoteLength_ms = 1.0;
}  // namespace

void TMidiBufferInitStatus::SetToVoiceGroup(int32_t AGroupIndex) {
    static constexpr uint8_t Programs[5] = {0, 40, 48, 56, 68};
    Voices.fill(AGroupIndex >= 0 && AGroupIndex < 5 ? Programs[AGroupIndex] : 0);
}

uint8_t TMidiEventType::Status() const {
    switch (Kind) {
        case mekProgramChange:
            return uint8_t(0xC0 | Channel);
        case mekNoteOff:
            return uint8_t(0x80 | Channel);
        case mekNoteOn:
            return uint8_t(0x90 | Channel);
    }
    return 0;
}

void TMidiBuffer::Clear() {
    for (auto& C : FChannels) C.clear();
    FMeta.clear();
    FEventCount = 0;
    FCapped = false;
    FTotalTime = FTotalTime_4th = 0;
    FTempoMap.clear();
    FInit = TMidiBufferInitStatus();
}

void TMidiBuffer::InitBuffer(const TMidiBufferInitStatus& AInitStatus) {
    Clear();
    FInit = AInitStatus;
    if (!(FInit.Tempo > 0)) FInit.Tempo = 120.0;
    TMidiMetaEvent E;
    E.Kind = mmkTranspose;
    E.Transpose = FInit.Transpose;
    FMeta.push_back(E);
    E.Kind = mmkTact;
    E.Tact = FInit.Tact;
    FMeta.push_back(E);
    AddTempo(0, FInit.Tempo);
    for (int32_t C = 0; C < 16; ++C)
        if (C != 9) AddProgramChange(0, C, FInit.Voices[size_t(C)]);
    Update();
}

bool TMidiBuffer::Room() {
    if (FEventCount + 2 > Nuo4MidiEventCap) {
        FCapped = true;
        return false;
    }
    return true;
}

bool TMidiBuffer::AddNote(double AtTime_4th, double Duration_4th, int32_t AChannel,
                          int32_t ANoteIndex, int32_t AVelocity, int32_t ABasicIndex) {
    if (AChannel < 0 || AChannel > 15 || ANoteIndex < 0 || ANoteIndex > 127) return false;
    if (!std::isfinite(AtTime_4th) || !std::isfinite(Duration_4th) || !Room()) return false;
    TMidiEventType On;
    On.AtTime_4th = std::max(0.0, AtTime_4th);
    On.Kind = mekNoteOn;
    On.Channel = uint8_t(AChannel);
    On.Data1 = uint8_t(ANoteIndex);
    On.Data2 = uint8_t(std::clamp(AVelocity, 1, 127));
    On.Reserved = ABasicIndex;
    TMidiEventType Off = On;
    Off.AtTime_4th = On.AtTime_4th + std::max(0.0, Duration_4th);
    Off.Kind = mekNoteOff;
    Off.Data2 = 64;
    Off.Reserved = -1;
    Off.NoteOnAt_4th = On.AtTime_4th;
    FChannels[size_t(AChannel)].push_back(On);
    FChannels[size_t(AChannel)].push_back(Off);
    FEventCount += 2;
    return true;
}

void TMidiBuffer::AddTact(double AtTime_4th, TTact ATact) {
    if (FEventCount + 1 > Nuo4MidiEventCap) return void(FCapped = true);
    TMidiMetaEvent E;
    E.AtTime_4th = std::max(0.0, AtTime_4th);
    E.Kind = mmkTact;
    E.Tact = ATact;
    FMeta.push_back(E);
    ++FEventCount;
}

void TMidiBuffer::AddTempo(double AtTime_4th, double ATempo) {
    if (!(ATempo > 0) || !std::isfinite(ATempo)) return;
    if (FEventCount + 1 > Nuo4MidiEventCap) return void(FCapped = true);
    TMidiMetaEvent E;
    E.AtTime_4th = std::max(0.0, AtTime_4th);
    E.Kind = mmkTempo;
    E.Tempo = ATempo;
    FMeta.push_back(E);
    ++FEventCount;
}

void TMidiBuffer::AddProgramChange(double AtTime_4th, int32_t AChannel, int32_t AProgram) {
    if (AChannel < 0 || AChannel > 15 || AProgram < 0 || AProgram > 127) return;
    TMidiEventType E;
    E.AtTime_4th = std::max(0.0, AtTime_4th);
    E.Kind = mekProgramChange;
    E.Channel = uint8_t(AChannel);
    E.Data1 = uint8_t(AProgram);
    FChannels[size_t(AChannel)].push_back(E);
    ++FEventCount;
}

double TMidiBuffer::GetMsPer4th(double ATempo) {
    return 60000.0 / (ATempo > 0 ? ATempo : 120.0);
}

std::array<uint8_t, 3> TMidiBuffer::GetTempoDataFromTempo(double ATempo) {
    const long Us =
        std::clamp(std::lround(60'000'000.0 / (ATempo > 0 ? ATempo : 120.0)), 1L, 0xFFFFFFL);
    return {uint8_t(Us >> 16), uint8_t(Us >> 8), uint8_t(Us)};
}

double TMidiBuffer::GetTempoFromTempoData(const std::array<uint8_t, 3>& AData) {
    const double Us = AData[0] * 65536.0 + AData[1] * 256.0 + AData[2];
    return Us > 0 ? 60'000'000.0 / Us : 0;
}

double TMidiBuffer::ConvertAtTime_4th_To_ms(double AtTime_4th) const {
    if (FTempoMap.empty()) return AtTime_4th * GetMsPer4th(FInit.Tempo) / FSpeedRatio;
    // The last tempo point at or before the time.
    auto It = std::upper_bound(FTempoMap.begin(), FTempoMap.end(), AtTime_4th,
                               [](double T, const TTempoPoint& P) { return T < P.At_4th; });
    const TTempoPoint& P = It == FTempoMap.begin() ? FTempoMap.front() : *(It - 1);
    return P.At_ms + (AtTime_4th - P.At_4th) * GetMsPer4th(P.Tempo) / FSpeedRatio;
}

void TMidiBuffer::Update(double ASpeedRatio) {
    FSpeedRatio = ASpeedRatio > 0 && std::isfinite(ASpeedRatio) ? ASpeedRatio : 1.0;
    std::stable_sort(FMeta.begin(), FMeta.end(),
                     [](const TMidiMetaEvent& A, const TMidiMetaEvent& B) {
                         return A.AtTime_4th < B.AtTime_4th;
                     });
    // The tempo map: at one time the last tempo written wins.
    FTempoMap.clear();
    FTempoMap.push_back({0, FInit.Tempo, 0});
    for (const TMidiMetaEvent& E : FMeta) {
        if (E.Kind != mmkTempo) continue;
        TTempoPoint& Last = FTempoMap.back();
        if (E.AtTime_4th <= Last.At_4th) {
            Last.Tempo = E.Tempo;
            continue;
        }
        const double Ms =
            Last.At_ms + (E.AtTime_4th - Last.At_4th) * GetMsPer4th(Last.Tempo) / FSpeedRatio;
        FTempoMap.push_back({E.AtTime_4th, E.Tempo, Ms});
    }
    for (TMidiMetaEvent& E : FMeta) E.time = ConvertAtTime_4th_To_ms(E.AtTime_4th);

    FTotalTime = FTotalTime_4th = 0;
    for (auto& List : FChannels) {
        for (TMidiEventType& E : List) {
            E.time = ConvertAtTime_4th_To_ms(E.AtTime_4th);
            if (E.Kind != mekNoteOff) continue;
            // Never before its own note-on, whatever the length.
            const double On = ConvertAtTime_4th_To_ms(E.NoteOnAt_4th);
            const double Length = E.time - On;
            E.time = std::max(On + MinNoteLength_ms,
                              E.time - std::min(NoteOffGap_ms, std::max(0.0, Length) / 2));
        }
        std::stable_sort(List.begin(), List.end(),
                         [](const TMidiEventType& A, const TMidiEventType& B) {
                             if (A.time != B.time) return A.time < B.time;
                             return A.Kind < B.Kind;
                         });
        // Identical events at one time sound once.
        auto Same = [](const TMidiEventType& A, const TMidiEventType& B) {
            return A.time == B.time && A.Kind == B.Kind && A.Data1 == B.Data1 && A.Data2 == B.Data2;
        };
        List.erase(std::unique(List.begin(), List.end(), Same), List.end());
        for (const TMidiEventType& E : List) {
            FTotalTime = std::max(FTotalTime, E.time);
            FTotalTime_4th = std::max(FTotalTime_4th, E.AtTime_4th);
        }
    }
    FEventCount = FMeta.size();
    for (const auto& List : FChannels) FEventCount += List.size();
}

std::vector<TMidiEventType> TMidiBuffer::AllEventsInTimeOrder() const {
    std::vector<TMidiEventType> R;
    for (const auto& List : FChannels) R.insert(R.end(), List.begin(), List.end());
    std::stable_sort(R.begin(), R.end(), [](const TMidiEventType& A, const TMidiEventType& B) {
        if (A.time != B.time) return A.time < B.time;
        return A.Kind < B.Kind;
    });
    return R;
}

int32_t TMidiBuffer::NoteOnCount(int32_t AChannel) const {
    if (AChannel < 0 || AChannel > 15) return 0;
    return int32_t(std::count_if(FChannels[size_t(AChannel)].begin(),
                                 FChannels[size_t(AChannel)].end(),
                                 [](const TMidiEventType& E) { return E.Kind == mekNoteOn; }));
}

bool TMidiBuffer::FullEmpty() const {
    for (int32_t C = 0; C < 16; ++C)
        if (NoteOnCount(C) > 0) return false;
    return true;
}

}  // namespace nuo4
