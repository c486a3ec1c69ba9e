#include "format/symbol_note_rec.h"

#include <algorithm>

#include "format/symbol_note.h"

namespace nuo4 {

void TrecNuo4PureNoteOptions::SetToDefault(bool bForRightDot) {
    const TrecNuo4DocOptions& D = Nuo4DocOptions();
    StyleIndex.SetToDefault();
    RightLineSpacingCoefArray.fill(bForRightDot ? D.RightDot_DefaultPosCoef.X
                                                : D.RightLine_SpacingCoef_Default);
}

void TrecNuo4PureNote::Initialize(const TrecNuo4Pitch& APitch, TNuo4Duration ADuration) {
    MusicNote.Initialize(APitch, ADuration);
    Options.SetToDefault(Duration_DotCount(ADuration) > 0);
}

void TrecNuo4ChordNoteOptions::SetToDefault() {
    NoteSpacingCoefArray.clear();
    bUseCommonRightDuration = Nuo4DocOptions().Param_Chord.bUseCommonRightDuration;
    ExtraOffsetYForCommonRightDuration = 10.0f;
}

void TrecNuo4GraceNoteOptions::SetToDefault() {
    GapCoef = Nuo4DocOptions().Grace_PosCoef;
    bRight = false;
    b8th = false;
}

void TrecNuo4SymbolNote::SetToDefault() {
    MainNote.SetToDefault();
    ChordNote.Reset();
    GraceNote.Reset();
    ControlOptions.SetToDefault();
    Options = TNuo4NoteOptions();
}

void TrecNuo4SymbolNote::SetPitches_Main(const TNuo4Pitches& APitches) {
    if (APitches.empty()) return;
    if (APitches.size() == 1) {
        // A single note keeps its pitch in the main note only: no chord part for every note.
        ChordNote.Reset();
        MainNote.SetPitch(APitches.front());
        return;
    }
    if (!ChordNote.IsPresent()) ChordNote.Mut().Options.SetToDefault();
    ChordNote.Mut().Pitches = APitches;
    CheckChord();
}

void TrecNuo4SymbolNote::SetGrace(const TNuo4Pitches& APitches) {
    if (APitches.empty())
        GraceNote.Reset();
    else
        GraceNote.Mut().SetGrace(APitches);
}

void TrecNuo4SymbolNote::CheckChord() {
    if (ChordNote.Get().Pitches.empty()) return;
    TNuo4Pitches& P = ChordNote.Mut().Pitches;
    if (P.size() > 1) {
        // Stable, so that equal pitches ("#1" and "b2") keep their written order.
        std::stable_sort(P.begin(), P.end(),
                         [](const TrecNuo4Pitch& A, const TrecNuo4Pitch& B) { return A < B; });
    }
    MainNote.SetPitch(P.front());
}

TNuo4Pitches TrecNuo4SymbolNote::GetPitches() const {
    if (IsChord()) return ChordNote.Get().Pitches;
    return TNuo4Pitches{MainNote.MusicNote.Pitch};
}

std::u16string TrecNuo4SymbolNote::ToABCText() const {
    return ToABCText_Grace(GraceNote.Get().Pitches) + ToABCText_Pitches(GetPitches()) +
           ToABCText_Duration(GetDuration()) + ControlOptions.ToABCText();
}

}  // namespace nuo4
