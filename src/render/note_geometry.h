#pragma once
// The geometry of jianpu notes: how many marks a note carries, the rectangle of every mark,
// the bounds used by the layout, the spacing of dots and dashes that follows the advance width,
// and the arrangement of chords and grace groups.
//
// Coordinates are note-local millimetres: x = 0 at the digit's horizontal centre, y = 0 at the
// bottom of the digit cell, y grows downwards, so the digit spans y from -H to 0. H and W are
// the digit height and width of the note's style (note_style.h).

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <vector>

#include "format/music_common.h"
#include "format/symbol_note_rec.h"
#include "render/note_style.h"

namespace nuo4 {

// ---- Counts ---------------------------------------------------------------------------------

struct TrecPureNoteElementCountInfo {
    int OctaveDotHighCount = 0;
    int OctaveDotLowCount = 0;
    int OctaveDotCount = 0;
    int AccidentalCount = 0;
    int UnderlineCount = 0;
    int RightDotCount = 0;
    int RightLineCount = 0;
};

// Dotted underlined durations lose their dots; every other duration becomes a quarter.
TNuo4Duration Duration_StripRightDuration(TNuo4Duration ADuration);
// Underlined durations become quarters, keeping their dots.
TNuo4Duration Duration_StripUnderlines(TNuo4Duration ADuration);

TrecPureNoteElementCountInfo GetElementCountInfo(const TrecNuo4PureNote& ANote);

// ---- Part rectangles of a style ---------------------------------------------------------------

// A dot is the square of its diameter centred on its centre.
QRectF DotSquare(QPointF ACentre, double ADiameter);

// Upper octave dot i (from 0, counted away from the digit).
QRectF GetBounds_OctaveDotHigh(const TrecNuo4PureNoteStyle& S, int I);
// Lower octave dot i below a note with AUnderlineCount underlines.
QRectF GetBounds_OctaveDotLow(const TrecNuo4PureNoteStyle& S, int I, int AUnderlineCount);
// Augmentation dot i where the style places it (its own position and H-based gap).
QRectF GetBounds_RightDot(const TrecNuo4PureNoteStyle& S, int I);
// Underline i; with ARightDotCount > 0 it reaches the right edge of the last dot as the style
// places it.
QRectF GetBounds_Underline(const TrecNuo4PureNoteStyle& S, int I, int ARightDotCount);

// ---- Part rectangles of a note ----------------------------------------------------------------

const TrecNuo4PureNoteStyle& GetNoteStyle(const TrecNuo4PureNote& ANote);
QSizeF GetDigitSize(const TrecNuo4PureNote& ANote);
double GetDigitWidth(const TrecNuo4PureNote& ANote);
double GetDigitHeight(const TrecNuo4PureNote& ANote);

bool WithAccidental(const TrecNuo4PureNote& ANote);
bool WithUnderline(const TrecNuo4PureNote& ANote);
bool WithRightDot(const TrecNuo4PureNote& ANote);
bool WithRightLine(const TrecNuo4PureNote& ANote);
bool WithRightDuration(const TrecNuo4PureNote& ANote);
bool IsDrum(const TrecNuo4PureNote& ANote);
bool IsHighTune(const TrecNuo4PureNote& ANote);

// The accidental's reference point (its right edge, vertically its middle).
QPointF GetAccidentalPos(const TrecNuo4PureNote& ANote);
QRectF GetBounds_Accidental(const TrecNuo4PureNote& ANote);
QRectF GetBounds_Digit(const TrecNuo4PureNote& ANote);
// Octave dot i, above or below as the pitch says.
QRectF GetBounds_OctaveDot(const TrecNuo4PureNote& ANote, int I);
// Augmentation dot i: the first at entry 0 of the spacing array (x W), then steps of the
// style's dot gap x W.
QRectF GetBounds_RightDot(const TrecNuo4PureNote& ANote, int I);
// Dash line i: its centre is W x (entry 0 + ... + entry i) right of the digit centre.
QRectF GetBounds_RightLine(const TrecNuo4PureNote& ANote, int I);
double GetRightLinePosCoefX(const TrecNuo4PureNote& ANote, int I);
double GetRightLinePosX(const TrecNuo4PureNote& ANote, int I);
// Under augmentation dots the underline reaches the right edge of the last dot as drawn.
QRectF GetBounds_Underline(const TrecNuo4PureNote& ANote, int I);

// ---- Bounds of a note -------------------------------------------------------------------------

struct TrecPureNoteBoundsInfo {
    float X_Left = 0, X_DigitLeft = 0, X_DigitRight = 0, X_Right = 0;
    float Y_Top = 0, Y_Accidental = 0, Y_OctaveDotHigh = 0, Y_DigitTop = 0, Y_DigitBottom = 0;
    float Y_FirstUnderline = 0, Y_Bottom = 0;
    QRectF Bounds, Bounds_NoAccidental, Bounds_Basic;
    // The same three divided by (W, H).
    QRectF Bounds_Coef, Bounds_NoAccidental_Coef, Bounds_Basic_Coef;
};

TrecPureNoteBoundsInfo GetElementCountAndBoundsInfo(
    const TrecNuo4PureNote& ANote, TrecPureNoteElementCountInfo* ACounts = nullptr);
// Without the accidental the box starts at the digit's left edge; without the right duration
// it ends at the digit's right edge.
QRectF GetBounds(const TrecNuo4PureNote& ANote, bool bIgnoreAccidental = false,
                 bool bIgnoreRightDuration = false);
double GetLeft(const TrecNuo4PureNote& ANote);
double GetRight(const TrecNuo4PureNote& ANote);
double GetWidth(const TrecNuo4PureNote& ANote);
double GetBottom(const TrecNuo4PureNote& ANote);
// The bottom of the last underline, 0 without underlines.
double GetUnderlineBottom(const TrecNuo4PureNote& ANote);

// ---- Spacing of dots and dashes ---------------------------------------------------------------

// The first augmentation dot at half the advance width, pulled in beyond the document's
// default dot position; never nearer the digit centre than AMinCoef (in W).
void AutoSetRightDotSpacing(TRightLineSpacingCoefArray& AArray, float AAWCoef, double AMinCoef = 0);
// The nearest a note's first dot may come: its left edge on the digit cell's right edge, so
// that the dot of a tightly spaced note never runs into the digit.
double GetMinRightDotSpacingCoef(const TrecNuo4PureNoteStyle& S);
// The dashes divide the advance width evenly (all 0 for a negative coefficient).
void AutoSetRightLineSpacing(TRightLineSpacingCoefArray& AArray, int ARightLineCount,
                             float AAWCoef);
void ZoomRightLineSpacing(TRightLineSpacingCoefArray& AArray, float AFactor);

// ---- Chords -----------------------------------------------------------------------------------

// The style chord notes are drawn in: the document's chord sub style on the note's main style
// when forced, otherwise the note's own style.
const TrecNuo4PureNoteStyle& GetNoteStylePtr_Chord(const TrecNuo4SymbolNote& ANote,
                                                   bool bForceChordSubStyle = true);
TrecNuo4NoteStyleIndex GetChordStyleIndex(const TrecNuo4SymbolNote& ANote,
                                          bool bForceChordSubStyle = true);
const TrecNuo4PureNoteStyle& GetNoteStylePtr_Main(const TrecNuo4SymbolNote& ANote);

// Chord note k as a pure note in the chord style with the main duration and spacing: all but
// note 0 (and every note when the chord shares its right duration) lose dots and dashes with
// bStripRightDuration; with bStripUnderlines underlines go too.
TrecNuo4PureNote GetChordPureNote(const TrecNuo4SymbolNote& ANote, int K, bool bStripRightDuration,
                                  bool bStripUnderlines, bool bForceChordSubStyle = true);
// How far chord note k sits below the lowest (negative = above): -H x the sum of the first k
// gap entries, H of the chord style.
double GetChordNotePosY(const TrecNuo4SymbolNote& ANote, int K, bool bForceChordSubStyle = true);

// Sorts the chord, copies the lowest pitch into the main note and derives the chord spacing.
void CheckChord(TrecNuo4SymbolNote& ANote);
void AutoSetChordNoteSpacingArray(TrecNuo4SymbolNote& ANote);
void AutoSetChordNoteExtraOffsetYForCommonRightDuration(TrecNuo4SymbolNote& ANote);

QRectF GetBounds_Chord(const TrecNuo4SymbolNote& ANote, bool bIgnoreAccidental,
                       bool bIgnoreRightDuration, bool bForceChordSubStyle = true);
// A single note's own bounds, or those of the chord.
QRectF GetBounds_MainAndChord(const TrecNuo4SymbolNote& ANote, bool bIgnoreAccidental,
                              bool bIgnoreRightDuration, bool bForceChordSubStyle = true);
QRectF GetBounds_MainAndChord_Basic(const TrecNuo4SymbolNote& ANote);

double GetNoteLeft(const TrecNuo4SymbolNote& ANote, bool bForceChordSubStyle = true);
double GetNoteRight(const TrecNuo4SymbolNote& ANote, bool bForceChordSubStyle = true);
double GetNoteDigitHeight(const TrecNuo4SymbolNote& ANote, bool bForceChordSubStyle = true);

// ---- Grace groups -----------------------------------------------------------------------------

// Grace note k: an eighth or sixteenth in the grace sub style of the main style.
TrecNuo4PureNote GetGracePureNote(const TrecNuo4SymbolNote& ANote, int K);
// The group laid out with note 0 at x = 0: offset of each note.
std::vector<double> GetGraceOffsetsX(const TrecNuo4SymbolNote& ANote);

struct TrecNuo4GraceTieGeometry {
    QRectF EllipseRect;  // the full ellipse the quarter belongs to
    QPointF RefPt;       // left-middle (right-middle after the note) of the ellipse
    double StartAngle = 90, SweepAngle = 90;  // degrees, clockwise on the page (y down)
    double Thickness = 0;
};
// The quarter ring joining the group to the main note, in group coordinates.
TrecNuo4GraceTieGeometry GetGraceTieGeometry(const TrecNuo4SymbolNote& ANote);

// The group's shared underline i, in group coordinates.
QRectF GetGraceUnderline(const TrecNuo4SymbolNote& ANote, int I);

// Where the group's origin goes in note coordinates.
QPointF GetGracePos(const TrecNuo4SymbolNote& ANote, bool bForceChordSubStyle = true);
// The union of the grace notes' bounds (at the grace position unless ignored); the offset of
// the last note from the first in AGapBetweenFirstAndLastNote. Empty without grace notes.
QRectF GetBounds_Grace(const TrecNuo4SymbolNote& ANote, double& AGapBetweenFirstAndLastNote,
                       bool bIgnoreGracePos = false, bool bForceChordSubStyle = true);

// Main note, chord and grace group: the layout bounds of a note symbol.
QRectF GetBounds(const TrecNuo4SymbolNote& ANote, bool bForceChordSubStyle = true);

// ---- Octave changes ---------------------------------------------------------------------------

// Every pitch moves, chord and grace notes included, only when all stay in range; drums never.
bool CanIncreaseOctave(const TrecNuo4SymbolNote& ANote);
bool CanDecreaseOctave(const TrecNuo4SymbolNote& ANote);
bool IncreaseOctave(TrecNuo4SymbolNote& ANote);
bool DecreaseOctave(TrecNuo4SymbolNote& ANote);

// ---- Right-line spacing of a note record ------------------------------------------------------

TRightLineSpacingCoefArray RightLineSpacing_GetCoefArray(const TrecNuo4SymbolNote& ANote);
// Writes the note's array and the locked copy in its control options.
void RightLineSpacing_SetCoefArray(TrecNuo4SymbolNote& ANote,
                                   const TRightLineSpacingCoefArray& AArray);

}  // namespace nuo4
