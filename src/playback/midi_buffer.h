#pragma once
// The time-stamped event buffer of one melody. Events are added at times in quarter notes;
// Update sorts them and converts every time to milliseconds through the tempo map (the
// tempo events of the buffer), divided by the speed ratio. Times in quarter notes stay, so
// the file writer counts ticks from them and not from rounded milliseconds.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "format/music_common.h"

namespace nuo4 {

struct TMidiBufferInitStatus {
    int32_t Transpose = 0;  // semitones; the initial key
    TTact Tact;
    double Tempo = 120.0;              // quarter notes per minute
    std::array<uint8_t, 16> Voices{};  // program per channel

    // All programs 0, 40, 48, 56 or 68 for groups 0 to 4; 0 for any other group.
    void SetToVoiceGroup(int32_t AGroupIndex);
};

// The order of the kinds is the order of events at one time: the instrument first, then the
// ends of notes, so that a note struck again where another ends sounds anew.
enum TMidiEventKind : uint8_t { mekProgramChange, mekNoteOff, mekNoteOn };

struct TMidiEventType {
    double AtTime_4th = 0;
    double time = 0;  // milliseconds from the start, set by Update
    TMidiEventKind Kind = mekNoteOn;
    uint8_t Channel = 0;
    uint8_t Data1 = 0;           // note or program
    uint8_t Data2 = 0;           // velocity
    int32_t Reserved = -1;       // for notes the basic index of the score symbol
    double NoteOnAt_4th = 0;     // for a note-off: when its note began
    int32_t MetronomeBeat = -1;  // a metronome click: its beat's index; -1 for the score's events

    uint8_t Status() const;
};

enum TMidiMetaKind : uint8_t { mmkTranspose, mmkTact, mmkTempo };

struct TMidiMetaEvent {
    double AtTime_4th = 0;
    double time = 0;
    TMidiMetaKind Kind = mmkTempo;
    int32_t Transpose = 0;
    TTact Tact;
    double Tempo = 120.0;
};

// No melody grows beyond this many events; a score that would is cut there.
constexpr size_t Nuo4MidiEventCap = 4'000'000;

class TMidiBuffer {
  public:
    void Clear();
    // Clears, then at time 0 the transpose, meter and tempo and a program change on every
    // channel but the drums'.
    void InitBuffer(const TMidiBufferInitStatus& AInitStatus);

    // Refused outside channels 0 to 15, for notes outside 0 to 127 and past the event cap.
    // A note of no length still ends: its end never comes before its start.
    bool AddNote(double AtTime_4th, double Duration_4th, int32_t AChannel, int32_t ANoteIndex,
                 int32_t AVelocity, int32_t ABasicIndex);
    void AddTact(double AtTime_4th, TTact ATact);
    void AddTempo(double AtTime_4th, double ATempo);
    void AddProgramChange(double AtTime_4th, int32_t AChannel, int32_t AProgram);

    // Sorts (stable, by time and kind), merges identical coinciding events and computes the
    // times in milliseconds and the totals.
    void Update(double ASpeedRatio = 1.0);

    // Through the tempo map and the speed ratio of the last Update.
    double ConvertAtTime_4th_To_ms(double AtTime_4th) const;
    static double GetMsPer4th(double ATempo);
    static std::array<uint8_t, 3> GetTempoDataFromTempo(double ATempo);
    static double GetTempoFromTempoData(const std::array<uint8_t, 3>& AData);

    const std::vector<TMidiEventType>& ChannelEvents(int32_t AChannel) const {
        return FChannels[size_t(AChannel & 15)];
    }
    const std::vector<TMidiMetaEvent>& MetaEvents() const { return FMeta; }
    // Every channel's events merged in time order (the order of Update at equal times).
    std::vector<TMidiEventType> AllEventsInTimeOrder() const;

    bool ChannelHasNotes(int32_t AChannel) const { return NoteOnCount(AChannel) > 0; }
    int32_t NoteOnCount(int32_t AChannel) const;
    bool FullEmpty() const;
    bool Capped() const { return FCapped; }
    size_t EventCount() const { return FEventCount; }
    double TotalTime() const { return FTotalTime; }          // ms of the last event
    double TotalTime_4th() const { return FTotalTime_4th; }  // quarter notes
    const TMidiBufferInitStatus& InitStatus() const { return FInit; }

  private:
    bool Room();
    TMidiBufferInitStatus FInit;
    std::array<std::vector<TMidiEventType>, 16> FChannels;
    std::vector<TMidiMetaEvent> FMeta;
    size_t FEventCount = 0;
    bool FCapped = false;
    double FSpeedRatio = 1.0;
    double FTotalTime = 0;
    double FTotalTime_4th = 0;
    // The tempo map: quarter-note times where a tempo starts, the tempo and the ms there.
    struct TTempoPoint {
        double At_4th;
        double Tempo;
        double At_ms;
    };
    std::vector<TTempoPoint> FTempoMap;
};

}  // namespace nuo4
