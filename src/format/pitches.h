#pragma once
// Operations on arrays of pitches: chords, grace groups and the pitch lists of notes.

#include <string>

#include "format/music_common.h"

namespace nuo4 {

// First index of a pitch equal by MIDI note, -1 when none.
int Pitches_IndexOf(const TNuo4Pitches& APitches, const TrecNuo4Pitch& APitch);
bool Pitches_Equal(const TNuo4Pitches& A, const TNuo4Pitches& B);
bool Pitches_IsSingle(const TNuo4Pitches& APitches);
bool Pitches_IsMultiple(const TNuo4Pitches& APitches);

bool Pitches_CanOctaveUp(const TNuo4Pitches& APitches);
bool Pitches_CanOctaveDown(const TNuo4Pitches& APitches);
// Move every pitch one octave, only when all can; return whether done.
bool Pitches_OctaveUp(TNuo4Pitches& APitches);
bool Pitches_OctaveDown(TNuo4Pitches& APitches);

// In place by MIDI note, ascending, or descending with bReverse; equal pitches in any order.
void Pitches_Sort(TNuo4Pitches& APitches, bool bReverse);
// One note per pitch, 0 for an invalid pitch.
std::vector<TNuo4MidiNote> Pitches_ToMidiNotes(const TNuo4Pitches& APitches, int32_t Transpose);

std::u16string Pitches_ToABCText(const TNuo4Pitches& APitches);
std::u16string Pitches_ToABCText_Grace(const TNuo4Pitches& APitches);  // "{...}"
// One pitch bare, several in "[" "]", nothing for none.
std::u16string Pitches_ToABCText_Chord(const TNuo4Pitches& APitches);

void Pitches_Add(TNuo4Pitches& APitches, const TrecNuo4Pitch& APitch);
void Pitches_Add(TNuo4Pitches& APitches, const TNuo4Pitches& AMore);
// A copy of ACount pitches from AStart, cut to the array.
TNuo4Pitches Pitches_Copy(const TNuo4Pitches& APitches, int AStart, int ACount);
// Deletes ACount pitches from AStart, cut to the array; returns how many were deleted.
int Pitches_DeleteRange(TNuo4Pitches& APitches, int AStart, int ACount);

}  // namespace nuo4
