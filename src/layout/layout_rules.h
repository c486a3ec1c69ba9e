#pragma once
// The rules of the voice stage and of horizontal spacing as functions of plain records, so
// that each rule can be computed (and checked) without symbols. The document buffer feeds
// them from its symbols.

#include <cstdint>
#include <vector>

#include "format/doc_options.h"
#include "format/ko_range.h"
#include "format/music_common.h"
#include "layout/layout_info.h"
#include "render/symbol_calc_info.h"
#include "render/symbol_types.h"

namespace nuo4 {

// ---- Arcs -----------------------------------------------------------------------------------

// A basic symbol with arc marks in its text.
struct TrecNuo4ArcMarkCount {
    int32_t Index = -1;  // basic index
    int32_t StartCount = 0;
    int32_t EndCount = 0;
};
// Each end is matched with the nearest earlier unmatched start; the ranges come in the order
// the ends are met. Unmatched ends and starts are dropped. AMarks in text order.
TKoRangeArray Nuo4MatchArcMarks(const std::vector<TrecNuo4ArcMarkCount>& AMarks);
// Depth_Start and Depth_End of every arc; leaves the arcs sorted by end, ties by start
// descending.
void Nuo4ArcInfoArray_GetArcDepth(TNuo4ArcInfoArray& AArcs);

// ---- Durations, measures, beats -------------------------------------------------------------

struct TrecNuo4DVSymbol {
    bool bNote = false;
    TNuo4Duration Duration = sdNone;
};
// The duration of one note inside a tuplet: written total m (not 0) gives nominal * m / n;
// otherwise the table value for n and the note's underline count, divided by n.
double Nuo4TupletNoteDV(int32_t ATupletNumber, int32_t AWrittenTotal, TNuo4Duration ADuration);
// DV of every symbol: tuplets (arcs with a tuplet number, in arc order) first, then the
// nominal value of every note still at 0; 0 for symbols other than notes.
std::vector<float> Nuo4CalcDV(const std::vector<TrecNuo4DVSymbol>& ASymbols,
                              const TNuo4ArcInfoArray& AArcs);
// The same for a temporary voice: a note takes the first tuplet that holds it, written totals
// are not used and a tuplet number outside 2 ... 15 gives its notes 0.
std::vector<float> Nuo4CalcDV_AttachBranch(const std::vector<TrecNuo4DVSymbol>& ASymbols,
                                           const TNuo4ArcInfoArray& AArcs);

// 1.5 beats for 3/8, 6/8, 9/8 and 12/8, otherwise 1.
double Nuo4BeatUnit(const TrecNuo4Meter& AMeter);
// Not negative and a whole multiple of the beat unit within 0.01.
bool Nuo4IsAtFullBeat(double APos, const TrecNuo4Meter& AMeter);

struct TrecNuo4MeasureSymbol {
    TNuo4SymbolType Type = sbstNone;
    float DV = 0;
    TrecNuo4Meter Meter;  // of a meter symbol
};
// Measures of the basic symbols and every symbol's beat positions (ADV receives one record
// per symbol with DV set). AInitMeter is the meter in force at the start; the first measure
// starts counting at AInitBeatPos beats (a temporary voice that begins inside a measure).
TNuo4MeasureInfoArray Nuo4CalcMeasures(const std::vector<TrecNuo4MeasureSymbol>& ASymbols,
                                       const TrecNuo4Meter& AInitMeter,
                                       std::vector<TrecNuo4CalcInfo_DV>& ADV,
                                       double AInitBeatPos = 0);

// ---- MIDI notes -----------------------------------------------------------------------------

struct TrecNuo4KeyChange {
    int32_t FromIndex = 0;  // basic index
    int32_t Key = 0;        // semitones from C, as the title's key gives them (-3 ... 8)
};
// The last entry whose start is not after the index; the first entry when none; 0 for an
// empty list.
int32_t Nuo4KeyInForce(const std::vector<TrecNuo4KeyChange>& AKeys, int32_t ABasicIndex);

struct TrecNuo4MidiSymbol {
    bool bNote = false;
    TNuo4Pitches Pitches;  // of a note
};
struct TrecNuo4MidiResult {
    std::vector<uint8_t> MidiNotes;
    int32_t Key = 0;  // 0 ... 11
};
// MIDI notes of every note, measure by measure, with accidentals remembered within a
// measure. Symbols outside every measure keep an empty result.
std::vector<TrecNuo4MidiResult> Nuo4CalcMidiNotes(const std::vector<TrecNuo4MidiSymbol>& ASymbols,
                                                  const TNuo4MeasureInfoArray& AMeasures,
                                                  const std::vector<TrecNuo4KeyChange>& AKeys);

// ---- Horizontal spacing ---------------------------------------------------------------------

// The input of the automatic advance rule for one symbol and its successor.
struct TrecNuo4HorzSpacingInfoForGetAW {
    TNuo4SymbolType ThisSymbol_Type = sbstNone;
    TNuo4SymbolType NextSymbol_Type = sbstNone;  // none when there is no successor
    TNuo4Duration ThisSymbol_Duration = sdNone;
    TNuo4Duration NextSymbol_Duration = sdNone;
    float ThisSymbol_DV = 0;
    float NextSymbol_DV = 0;
    double ThisSymbol_RightWidth = 0;
    double NextSymbol_LeftWidth = 0;
    TrecNuo4NoteStyleIndex ThisSymbol_NoteStyleIndex;
    TrecNuo4NoteStyleIndex NextSymbol_NoteStyleIndex;
    double ThisSymbol_DigitWidth = 0;
    double ThisSymbol_RightLineWidth = 0;  // the dash width of the symbol's style
    bool ThisSymbol_bAtFullBeat_After = false;
    bool NextSymbol_bWithLeftExtra = false;
    bool ThisSymbol_WithRightlineAndRightlineSpacingIsNotLocked = false;

    bool IsInvalid() const { return ThisSymbol_Type == sbstNone; }
    bool ThisSymbolIsReturn() const { return ThisSymbol_Type == sbstReturn; }
    bool ThisSymbolIsLastSymbol() const {
        return NextSymbol_Type == sbstNone || NextSymbol_Type == sbstReturn;
    }
    bool ThisSymbolIsNote() const { return ThisSymbol_Type == sbstNote; }
    bool NextSymbolIsNote() const { return NextSymbol_Type == sbstNote; }
    bool NextSymbolIsBarline() const { return NextSymbol_Type == sbstBarline; }
    bool IsWithRightLine() const { return Duration_RightLineCount(ThisSymbol_Duration) > 0; }
    bool NextIsWithUnderline() const { return Duration_UnderlineCount(NextSymbol_Duration) > 0; }
    bool bAtFullBeat() const { return ThisSymbol_bAtFullBeat_After; }
    double GetAWCoefForNoGap() const;
};

// The automatic coefficient of one symbol.
float Nuo4AutoGetAWCoef(const TrecNuo4HorzSpacingInfoForGetAW& AInfo,
                        const TrecNuo4DocOptions& AOptions);

// The accompaniment end-marker rule: a note of at most one beat before an end marker keeps
// only its right width plus 0.5 and the marker takes the rest of both coefficients minus 0.5.
void Nuo4AdjustAccompEndMarker(float& ANoteCoef, float& AMarkerCoef, double ANoteRightWidth,
                               double ANoteDigitWidth);

// The stretch factor of a justified line: (L - F) / (T - F); false when the line must stay as
// it is (T not above F, or a factor at or within 0.01 of the maximum or above it).
bool Nuo4GetFitFactor(double ALayoutWidth, double AFixedWidth, double ATotalWidth,
                      double AMaxFactor, double& AFactor);

}  // namespace nuo4
