#pragma once
// The note symbol: a note of the voice (single note, chord, grace notes) with its seven
// elements, layout bounds, the dot and dash spacing that follows its advance width, and the
// rule that joins its underlines to the next note's.

#include <vector>

#include "format/symbol_note_rec.h"
#include "render/note_geometry.h"
#include "render/note_glyphs.h"
#include "render/symbol.h"

namespace nuo4 {

class TNuo4SymbolNote : public TNuo4BasicSymbol {
  public:
    explicit TNuo4SymbolNote(const TrecNuo4SymbolNote& ARec);

    TrecNuo4SymbolNote SymbolRec;

    // ---- Slots ----
    // The main note or chord united with the grace group; also stored as the layout bounds
    // of the symbol itself, and the total bounds are brought up to date.
    void CalcBounds(TGPRectF& ARect) override;
    void CreateElements() override;
    void* GetSymbolRecPtr() override { return &SymbolRec; }
    // Copies the record, derives the chord spacing and takes the record's note style.
    void SetSymbolRec(const void* ASource) override;
    TNuo4SymbolType GetSymbolType() const override { return sbstNote; }
    void SetRecNoteStyleIndex(const TrecNuo4NoteStyleIndex& AIndex) override;
    void SetRecMainStyle(TNuo4NoteMainStyle AStyle) override;
    void SetRecSubStyle(TNuo4NoteSubStyle AStyle) override;

    // Which of the seven parts are not built: inside a temporary voice those hidden by the
    // hide level; with automatic beams the underlines (the layout joins them), except on a
    // hidden note.
    uint8_t GetElementSuppressFlags() const;
    // Chords take the document's chord sub style unless a temporary voice forces its own.
    bool ForceChordSubStyle() const { return !bWithinAttachBranchAndForceSubStyle; }

    // ---- Queries ----
    const TrecNuo4Pitch& GetMainNotePitch() const { return SymbolRec.GetMainNotePitch(); }
    TNuo4Pitches GetPitches() const { return SymbolRec.GetPitches(); }
    const TNuo4Pitches& GetGracePitches() const { return SymbolRec.GraceNote.Get().Pitches; }
    bool Is1To7() const { return GetMainNotePitch().IsNormalDegree(); }
    bool IsChord() const { return SymbolRec.IsChord(); }
    bool IsDrum() const { return GetMainNotePitch().IsDrum(); }
    bool IsRest() const { return GetMainNotePitch().IsRest(); }
    bool IsDrumOrRest() const { return IsDrum() || IsRest(); }
    bool IsCharDrum() const { return !IsChord() && GetMainNotePitch().IsCharDrum(); }
    // Digit 0 ... 8 (rest, degrees, drum).
    bool Is0To7AndX() const { return GetMainNotePitch().Digit <= DigitDrum; }
    bool IsRegular() const { return Is0To7AndX() && !IsChord(); }
    // Any of the note's pitches carries an accidental.
    bool WithAccidental() const;
    bool WithGrace() const { return SymbolRec.WithGrace(); }
    bool WithLeftExtra() const { return WithAccidental() || WithGrace(); }
    // The same pitches (chord or single) as another note, spelling included.
    bool PitchesIsSame(const TNuo4SymbolNote& AOther) const;

    TNuo4Digit GetDigit() const { return GetMainNotePitch().Digit; }
    int GetRightDotCount() const { return Duration_DotCount(SymbolRec.GetDuration()); }
    int GetRightLineCount() const { return Duration_RightLineCount(SymbolRec.GetDuration()); }
    int GetUnderlineCount() const { return Duration_UnderlineCount(SymbolRec.GetDuration()); }

    // Dash i measured from the digit centre, in W and in mm (W of the symbol's style).
    double GetRighlineOffsetCoefX(int I) const;
    double GetRighlineOffsetX(int I) const;
    QRectF GetRightlineRect(int I) const;
    // Entry i of the spacing array in mm.
    double GetRighlineSpacing(int I) const;
    const TRightLineSpacingCoefArray& GetRightLineSpacingCoefArray() const {
        return SymbolRec.MainNote.Options.RightLineSpacingCoefArray;
    }
    void SetRightLineSpacingCoefArray(const TRightLineSpacingCoefArray& AArray);
    // Also writes the locked copy in the control options, so the spacing survives the text.
    void RightLineSpacing_SetCoefArray(const TRightLineSpacingCoefArray& AArray);

    TNuo4UnderlineConnectType GetUnderlineConnectType() const {
        return SymbolRec.ControlOptions.UnderlineConnectType;
    }
    void SetUnderlineConnectType(TNuo4UnderlineConnectType AType) {
        SymbolRec.ControlOptions.UnderlineConnectType = AType;
    }
    bool GetUnderlineConnection() const { return SymbolRec.Options.bUnderlineConnection; }
    void SetUnderlineConnection(bool bValue) { SymbolRec.Options.bUnderlineConnection = bValue; }

    // Underline i as the layout joins it (drum characters take their own width).
    QRectF GetBounds_Underline(int I) const;
    QPointF GetGracePos() const;

    // ---- Changes (each marks the symbol for an update) ----
    void CheckChord();
    void SetPitches_Main(const TNuo4Pitches& APitches);
    void SetMainNotePitch(const TrecNuo4Pitch& APitch);
    void SetGrace(const TNuo4Pitches& APitches);
    // Replaces the digit of the main note (a single note only).
    void SetDigit(TNuo4Digit ADigit);
    // The spacing of dots and dashes starts afresh from the advance width; the style stays.
    void SetDuration(TNuo4Duration ADuration);
    bool CanIncreaseOctave() const { return nuo4::CanIncreaseOctave(SymbolRec); }
    bool CanDecreaseOctave() const { return nuo4::CanDecreaseOctave(SymbolRec); }
    bool IncreaseOctave();
    bool DecreaseOctave();

  protected:
    void Note_AutoSetRightLineSpacing(float AAWCoef) override;
    void Note_AutoSetRightDotSpacing(float AAWCoef) override;
    void Note_ZoomRightLineSpacing(float AFactor) override;
    void Note_SetRightLineSpacingCoefArray(const TRightLineSpacingCoefArray& AArray) override;
    // The advance width moves only the dots and dashes, the underlines that end with the dots
    // and a grace group placed after them; a chord packs its marks into the digit slot and is
    // rebuilt in full.
    bool UpdateElementsForAW() override;
};

// ---- Underline connection ---------------------------------------------------------------------

// Whether the underlines of the note at AIndex of a run of basic symbols join the next note's:
// forced by its connect type, or, automatically, when both notes have underlines and are
// visible, the next basic symbol is that note (accompaniment markers between are skipped
// unless they break underlines) and the note does not end on a full beat. False for anything
// but a note.
bool CalcUnderlineConnection(const std::vector<TNuo4Symbol*>& ASymbols, int AIndex);
// Stores the result for every note from AFirst to ALast (inclusive, cut to the run).
void UpdateUnderlineConnections(const std::vector<TNuo4Symbol*>& ASymbols, int AFirst, int ALast);

}  // namespace nuo4
