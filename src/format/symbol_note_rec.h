#pragma once
// The note symbol record: the music of one note of the voice (main note, chord, grace notes)
// with its control options and drawing options. Its geometry is computed by the renderer.

#include <cstdint>
#include <string>
#include <vector>

#include "format/doc_options.h"
#include "format/music_common.h"
#include "format/note_style_index.h"
#include "format/out_of_line.h"
#include "format/symbol_control_options.h"

namespace nuo4 {

struct TrecNuo4PureNoteOptions {
    TRightLineSpacingCoefArray RightLineSpacingCoefArray{};
    TrecNuo4NoteStyleIndex StyleIndex;

    // Style (0, nssNormal); all spacing entries the document's right-dot position for a
    // dotted note, otherwise its default right-line spacing.
    void SetToDefault(bool bForRightDot);
    bool operator==(const TrecNuo4PureNoteOptions&) const = default;
};

struct TrecNuo4PureNote {
    TrecNuo4MusicPureNote MusicNote;
    TrecNuo4PureNoteOptions Options;

    void SetToDefault() { Initialize(TrecNuo4Pitch(), sdNone); }
    void Initialize(const TrecNuo4Pitch& APitch, TNuo4Duration ADuration);
    void SetPitch(const TrecNuo4Pitch& APitch) { MusicNote.Pitch = APitch; }
    // Changing the duration re-initialises the options (their meaning depends on it).
    void SetDuration(TNuo4Duration ADuration) { Initialize(MusicNote.Pitch, ADuration); }
};

struct TrecNuo4ChordNoteOptions {
    std::vector<float> NoteSpacingCoefArray;
    bool bUseCommonRightDuration = true;
    float ExtraOffsetYForCommonRightDuration = 10.0f;

    void SetToDefault();
    bool operator==(const TrecNuo4ChordNoteOptions&) const = default;
};

struct TrecNuo4ChordNote {
    TNuo4Pitches Pitches;  // lowest first; empty for a single note, whose pitch is the main note
    TrecNuo4ChordNoteOptions Options;
};

struct TrecNuo4GraceNoteOptions {
    TNuo4PointF GapCoef{0.1f, 0};
    bool bRight = false;  // after the main note instead of before
    bool b8th = false;    // drawn as eighths instead of sixteenths

    void SetToDefault();
    bool operator==(const TrecNuo4GraceNoteOptions&) const = default;
};

struct TrecNuo4GraceNote {
    TNuo4Pitches Pitches;
    TrecNuo4GraceNoteOptions Options;

    // Stores the pitches and resets the options (bRight false).
    void SetGrace(const TNuo4Pitches& APitches) {
        Pitches = APitches;
        Options.SetToDefault();
    }
};

struct TNuo4NoteOptions {
    bool bUnderlineConnection = false;  // computed by the layout
    bool operator==(const TNuo4NoteOptions&) const = default;
};

// Most notes are neither chords nor have grace notes: those parts are kept out of line (read
// with Get(), written with Mut()) and made with the document's defaults when a note takes
// them on; an absent part reads as empty, and its options are never read.
struct TrecNuo4SymbolNote {
    TrecNuo4PureNote MainNote;  // for a chord: the lowest pitch and the shared duration
    TNuo4FormatOutOfLine<TrecNuo4ChordNote> ChordNote;
    TNuo4FormatOutOfLine<TrecNuo4GraceNote> GraceNote;
    TrecNuo4SymbolControlOptions ControlOptions;
    TNuo4NoteOptions Options;

    TrecNuo4SymbolNote() { SetToDefault(); }
    // A rest without duration, chord, grace notes or options.
    void SetToDefault();

    // One pitch sets the main note; several make a chord (sorted, the lowest in MainNote). An
    // empty list changes nothing.
    void SetPitches_Main(const TNuo4Pitches& APitches);
    // An empty list removes the grace part.
    void SetGrace(const TNuo4Pitches& APitches);
    void SetMainNotePitch(const TrecNuo4Pitch& APitch) { SetPitches_Main(TNuo4Pitches{APitch}); }
    void SetDuration(TNuo4Duration ADuration) { MainNote.SetDuration(ADuration); }
    // After a change of the chord pitches: sort them and copy the lowest into the main note.
    void CheckChord();

    bool IsChord() const { return ChordNote.Get().Pitches.size() > 1; }
    bool WithGrace() const { return !GraceNote.Get().Pitches.empty(); }
    const TrecNuo4Pitch& GetMainNotePitch() const { return MainNote.MusicNote.Pitch; }
    TNuo4Duration GetDuration() const { return MainNote.MusicNote.Duration; }
    // The chord pitches, or the single main pitch.
    TNuo4Pitches GetPitches() const;

    // Grace group, pitch or chord, duration and control options.
    std::u16string ToABCText() const;
};

}  // namespace nuo4
