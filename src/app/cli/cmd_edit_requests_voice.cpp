// Rows of the voice requests (insertion, deletion, note parts, beams, tuplets, arcs) of
// `nuo4-cli edit`. Each works at the caret or on the selection given on the command line.

#include "app/cli/cmd_edit_requests.h"
#include "edit/edit_voice.h"
#include "format/abc_common.h"
#include "format/music_common.h"
#include "layout/simple_buffer.h"

namespace nuo4::cli {

namespace {

TrecNuo4MusicPureNote PureNote(const TArgs& A, size_t I) {
    const std::string& S = A.at(I);
    const std::u16string T(S.begin(), S.end());
    TrecNuo4MusicPureNote N;
    int32_t End = -1;
    if (T.empty() || !ReadPureNote(T, TKoRange(0, int32_t(T.size())), N, End) ||
        End != int32_t(T.size()) - 1)
        throw TEditArgError{"not a note: '" + S +
                            "' (a digit with octave marks and a duration, "
                            "such as 5, 3_ or 1'-)"};
    return N;
}

}  // namespace

std::vector<TEditRequestRow> EditRequestRows_Voice() {
    using B_ = TNuo4SimpleBuffer;
    using S_ = TrecNuo4EditState;
    using R_ = TrecNuo4EditResult;
    return {
        {"insert-note", "NOTE", "a note at the caret (CanInsertSymbol_PureNote_Caret)", 1, 1,
         [](B_& B, S_& S, const TArgs& A, R_& R) {
             const bool Ok = CanInsertSymbol_PureNote_Caret(B, S, PureNote(A, 0), R);
             if (Ok) ++S.ConsecutiveNoteCount;
             return Ok;
         }},
        {"insert-barline", "", "a bar line at the caret", 0, 0,
         [](B_& B, S_& S, const TArgs&, R_& R) {
             S.ConsecutiveNoteCount = 0;
             return CanInsertSymbol_Barline_Caret(B, blsNormal, R);
         }},
        {"insert-return", "", "a return (paragraph mark) at the caret", 0, 0,
         [](B_& B, S_& S, const TArgs&, R_& R) {
             S.ConsecutiveNoteCount = 0;
             return CanInsertSymbol_Return_Caret(B, R);
         }},
        {"insert-page-break", "[JUSTIFY_VERT]", "a page-break return at the caret", 0, 1,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             return CanInsertSymbol_PageBreak_Caret(B, !A.empty() && EditArg_Bool(A, 0), R);
         }},
        {"return-if-over-width", "", "a return at the caret when its line is too wide", 0, 0,
         [](B_& B, S_&, const TArgs&, R_& R) { return CanInsertReturnIfOverWidth(B, R); }},
        {"delete", "", "the symbol right of the caret (Delete)", 0, 0,
         [](B_& B, S_&, const TArgs&, R_& R) { return CanDeleteBasicSymbol_Caret(B, false, R); }},
        {"backspace", "", "the symbol left of the caret", 0, 0,
         [](B_& B, S_&, const TArgs&, R_& R) { return CanDeleteBasicSymbol_Caret(B, true, R); }},
        {"delete-selection", "", "the selected symbols", 0, 0,
         [](B_& B, S_&, const TArgs&, R_& R) { return CanDeleteBasicSymbol_Selection(B, R); }},
        {"digit", "D", "the selected notes (or the one at the caret) become digit D (0 a rest)", 1,
         1,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             return CanChangeNote_Digit_Selection(B, EditArg_Int(A, 0), R);
         }},
        {"octave", "up|down", "the octave of the note at the caret", 1, 1,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             return CanChangeNote_Octave_Caret(B, A[0] == "down", R);
         }},
        {"transpose", "STEPS [SEMITONE]",
         "the selection (or the caret's note) by steps or semitones", 1, 2,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             return CanTranspose_SelectionOrCaret(B, EditArg_Int(A, 0),
                                                  A.size() > 1 && EditArg_Bool(A, 1), false, R);
         }},
        {"toggle-underline", "", "one more underline for the selected run", 0, 0,
         [](B_& B, S_&, const TArgs&, R_& R) { return CanToggleUnderline_Selection(B, R); }},
        {"beam-group", "", "the next beam-group pattern of the notes before the caret", 0, 0,
         [](B_& B, S_& S, const TArgs&, R_& R) { return CanToggleDVGroup_Caret(B, S, R); }},
        {"tuplet", "", "the typed quarters before the caret become a tuplet", 0, 0,
         [](B_& B, S_& S, const TArgs&, R_& R) { return CanAddTupletArc_Caret(B, S, R); }},
        {"toggle-arc", "[TUPLET]", "a slur (or tuplet) over the selection, or off again", 0, 1,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             return CanToggleArc_Selection(B, !A.empty() && EditArg_Bool(A, 0), R);
         }},
        {"articulation", "", "toggles the articulation of the note at the caret", 0, 0,
         [](B_& B, S_&, const TArgs&, R_& R) {
             return CanChangeNote_ToggleArticulation_Caret(B, R);
         }},
        {"set-duration", "NOTE", "the duration of NOTE (its pitch is ignored) for the caret's note",
         1, 1,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             return CanChangeNote_SetDuration_Caret(B, PureNote(A, 0).Duration, R);
         }},
        {"toggle-dot", "", "the right dot of the note at the caret", 0, 0,
         [](B_& B, S_&, const TArgs&, R_& R) { return CanChangeNote_ToggleRightDot_Caret(B, R); }},
        {"toggle-dash", "", "the dash of the note at the caret", 0, 0,
         [](B_& B, S_&, const TArgs&, R_& R) { return CanChangeNote_ToggleRightLine_Caret(B, R); }},
        {"toggle-note-underline", "", "the underline of the note at the caret", 0, 0,
         [](B_& B, S_&, const TArgs&, R_& R) { return CanChangeNote_ToggleUnderline_Caret(B, R); }},
        {"chord-pitch", "NOTE", "adds or removes NOTE's pitch in the chord at the caret", 1, 1,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             return CanChangeNote_AddOrRemoveChordPitch_Caret(B, PureNote(A, 0).Pitch, R);
         }},
        {"chord-third", "", "a natural third above the chord at the caret", 0, 0,
         [](B_& B, S_&, const TArgs&, R_& R) {
             return CanChangeChord_AddNote_Natural3th_Caret(B, R);
         }},
        {"chord-top", "up|down", "the chord's highest pitch one semitone up or down", 1, 1,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             return CanChangeChord_AdjustHighestNote_Caret(B, A[0] == "down", R);
         }},
        {"chord-top-delete", "", "removes the chord's highest pitch", 0, 0,
         [](B_& B, S_&, const TArgs&, R_& R) {
             return CanChangeChord_DeleteHighestNote_Caret(B, R);
         }},
        {"set-beam-group", "PATTERN", "the beam-group pattern (dvg_... or its number) of the run",
         1, 1,
         [](B_& B, S_& S, const TArgs& A, R_& R) {
             int T = -1;
             for (int K = 0; K < Nuo4DVGroupTypeCount; ++K)
                 if (A[0] == EnumName(TNuo4DVGroupType(K))) T = K;
             if (T < 0) T = EditArg_Int(A, 0);
             if (T < 0 || T >= Nuo4DVGroupTypeCount)
                 throw TEditArgError{"not a beam-group pattern: '" + A[0] + "'"};
             return CanSetDVGroup_CaretOrSelection(B, S, TNuo4DVGroupType(T), R);
         }},
        {"add-arc-from", "", "a slur from the note at the caret to the next note that admits it", 0,
         0, [](B_& B, S_&, const TArgs&, R_& R) { return CanAddArc_From_Caret(B, R); }},
        {"extend-arc", "", "the slur starting at the caret's note ends one note later", 0, 0,
         [](B_& B, S_&, const TArgs&, R_& R) { return CanExtendArc_From_Caret(B, R); }},
        {"toggle-barline", "", "cycles the style of the bar line left of the caret, or adds one", 0,
         0,
         [](B_& B, S_&, const TArgs&, R_& R) {
             return CanInsertOrToggleBarline_Style_Caret(B, R);
         }},
        {"auto-barline", "", "a bar line at the caret when the measure before it is full", 0, 0,
         [](B_& B, S_&, const TArgs&, R_& R) { return CanAutoInsertBarline_Caret(B, R); }},
        {"insert-meter", "N/D", "a meter at the caret", 1, 1,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             const size_t Slash = A[0].find('/');
             if (Slash == std::string::npos) throw TEditArgError{"not a meter: '" + A[0] + "'"};
             TArgs Terms{A[0].substr(0, Slash), A[0].substr(Slash + 1)};
             return CanInsertSymbol_Meter_Caret(
                 B, TrecNuo4Meter::Create(EditArg_Int(Terms, 0), EditArg_Int(Terms, 1)), R);
         }},
        {"insert-text", "TEXT", "a text symbol at the caret (score-text escapes)", 1, 1,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             return CanInsertSymbol_Text_Caret(B, ABC_FromUtf8(A[0]), R);
         }},
        {"accomp", "", "accompaniment markers around the selection, or off again", 0, 0,
         [](B_& B, S_&, const TArgs&, R_& R) { return CanToggleAccompMarker_Selection(B, R); }},
        {"hide", "LEVEL", "the hide level (0 ... 7, 1 hides all) of the selected symbols", 1, 1,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             const int L = EditArg_Int(A, 0);
             if (L < 0 || L >= Nuo4SymbolHideLevelCount)
                 throw TEditArgError{"not a hide level: '" + A[0] + "'"};
             return CanChangeHideLevel_Selection(B, TNuo4SymbolHideLevel(L), R);
         }},
        {"long-rest", "[TEXT]", "a long rest over the selection or the caret's measure", 0, 1,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             return LongRest_CanAdd_SelectionOrCaret(B, A.empty() ? u"" : ABC_FromUtf8(A[0]), R);
         }},
    };
}

}  // namespace nuo4::cli
