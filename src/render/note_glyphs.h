#pragma once
// The vector paths of a note: the seven parts of a single note (digit, accidental, octave dots,
// underlines, augmentation dots, dash lines, grace notes), chords packed into the same seven
// slots, and grace groups with their shared underlines and the small tie to the main note.
// Outlines come from the music font; coordinates are note-local millimetres (note_geometry.h).

#include <QPainterPath>
#include <array>
#include <cstdint>

#include "format/symbol_note_rec.h"
#include "render/draw_utils.h"
#include "render/note_geometry.h"

namespace nuo4 {

constexpr int Nuo4NotePathCount = 7;
using TNuo4NotePaths = std::array<QPainterPath, Nuo4NotePathCount>;

// Italic note styles lean right above the baseline by this angle.
constexpr double Nuo4NoteItalicAngle = 11.3;

// Bit i suppresses part i.
enum TNuo4NotePartFlag : uint8_t {
    npfDigit = 0x01,
    npfAccidental = 0x02,
    npfOctaveDots = 0x04,
    npfUnderlines = 0x08,
    npfRightDots = 0x10,
    npfRightLines = 0x20,
    npfGrace = 0x40,
};
const char* EnumName(TNuo4NotePartFlag AValue);

// A path equal, element by element and in fill rule, to APath, sharing one kept copy with
// every other path so made. Scores repeat the same accidentals, chords, grace groups, bar lines
// and meters, each built by translating or uniting outlines (which copies them).
QPainterPath SharedGlyphPath(const QPainterPath& APath);

// Whether marks take the strokes of the script face (the document's main digit face).
bool NoteMarksAreScript();

// The seven paths of one pure note in its own style; slot 6 stays empty. bNoLowOctaveDots
// leaves out octave dots below the digit (the lowest note of a chord).
TNuo4NotePaths CreatePureNotePaths(const TKoGraphics* G, const TrecNuo4PureNote& ANote,
                                   uint8_t ASuppress = 0, bool bNoLowOctaveDots = false);

// The quarter ring of a grace tie: outer edge radius + t/2, inner edge radius - t/2.
QPainterPath CreateGraceTiePath(const TrecNuo4GraceTieGeometry& ATie);
// The grace group at the grace position: the notes without underlines, the shared
// underlines and the tie. Empty without grace notes.
QPainterPath CreateGraceGroupPath(const TKoGraphics* G, const TrecNuo4SymbolNote& ANote,
                                  bool bForceChordSubStyle = true);

// The seven element paths of a note symbol (single note or chord, and grace notes).
TNuo4NotePaths CreateSymbolNotePaths(const TKoGraphics* G, const TrecNuo4SymbolNote& ANote,
                                     uint8_t ASuppress = 0, bool bForceChordSubStyle = true);

// Underline i of the note as the layout joins it across notes; a single drum note with a
// character takes the character's horizontal extent in the drum pitch font.
QRectF GetBounds_Underline(const TrecNuo4SymbolNote& ANote, int I, bool bForceChordSubStyle = true);

}  // namespace nuo4
