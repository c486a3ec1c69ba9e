#pragma once
// The metronome: the beats of a melody's meters through its tempo map, each a click note on the
// drum channel (a stronger one on the first beat of a measure), merged into the events the
// timing thread plays. Muted, the clicks still clock the beat notifications; alone (without a
// melody) it clicks at a tempo and meter of its own.

#include <cstdint>
#include <vector>

#include "playback/midi_buffer.h"

namespace nuo4 {

struct TMetronomeNoteParam {
    uint8_t Channel = 9;
    uint8_t FirstNote_NoteIndex = 77;
    uint8_t FirstNote_Velocity = 127;
    double FirstNote_Duration = 100;  // ms
    uint8_t OtherNote_NoteIndex = 76;
    uint8_t OtherNote_Velocity = 90;
    double OtherNote_Duration = 100;  // ms
};

struct TrecNuo4MetronomeBeat {
    double AtTime_4th = 0;
    double time = 0;      // ms at speed 1
    int32_t Measure = 0;  // from 0
    int32_t Beat = 0;     // within the measure, from 0
    TTact Tact;
};

// No metronome counts beyond this many beats.
constexpr size_t Nuo4MetronomeBeatCap = 200'000;

// The beats from time 0 up to (not including) AUntil_4th quarter notes. A meter event starts
// a new measure where it stands; a beat is a 1/FenMu note and a measure has FenZi of them
// (a free or broken meter clicks every quarter note, one beat a measure).
std::vector<TrecNuo4MetronomeBeat> Metronome_Beats(const TMidiBuffer& ABuffer, double AUntil_4th);

// The click events of the beats (a note-on and its note-off each), marked as the metronome's.
std::vector<TMidiEventType> Metronome_Events(const std::vector<TrecNuo4MetronomeBeat>& ABeats,
                                             const TMetronomeNoteParam& AParam = {});

// Two time-ordered event lists as one, ordered by time and then kind (stable).
std::vector<TMidiEventType> Metronome_MergeEvents(const std::vector<TMidiEventType>& A,
                                                  const std::vector<TMidiEventType>& B);

// The measures escaped at ATime_ms (fractional, from 0) and the meter in force then.
double Metronome_MeasureAt(const std::vector<TrecNuo4MetronomeBeat>& ABeats, double ATime_ms,
                           TTact* ATact = nullptr);

}  // namespace nuo4
