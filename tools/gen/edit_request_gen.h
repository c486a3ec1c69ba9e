#pragma once
// Random voice edit requests for the property test and the edit fuzz target: a request kind and
// two small numbers choose the request, the caret or selection and its arguments.

#include <cstdint>
#include <string>

#include "edit/edit_voice.h"
#include "layout/simple_buffer.h"

namespace nuo4::gen {

constexpr int EditRequestKindCount = 40;

// Installs a caret (ASel = 0) or a selection of ASel symbols from APos in the buffer's status,
// clamped to the buffer.
inline void PlaceCaret(TNuo4SimpleBuffer& B, int32_t APos, int32_t ASel) {
    const int32_t N = B.Basic_GetCount();
    TrecNuo4Selection& S = B.InternalStatus.Selection;
    S.SetToDefault();
    B.InternalStatus.Highlight.Clear();
    if (N == 0) return;
    const int32_t P = ((APos % N) + N) % N;
    if (ASel <= 0) {
        S.CaretPos_Start = S.CaretPos_End = {P, (APos & 1) != 0};
        return;
    }
    const int32_t Last = std::min(N - 1, P + ASel - 1);
    S.CaretPos_Start = {P, false};
    S.CaretPos_End = {Last, true};
}

// Runs request AKind (modulo the count) on the buffer's caret or selection; AArg picks its
// argument. AName receives the request's name.
inline bool RunEditRequest(const TNuo4SimpleBuffer& B, const TrecNuo4EditState& AState, int AKind,
                           int32_t AArg, TrecNuo4EditResult& R, std::string& AName) {
    R.SetToDefault();
    const TrecNuo4Selection& S = B.InternalStatus.Selection;
    const TKoRange Sel = VoiceEdit_SelectionRange(S);
    const int32_t E = S.CaretPos_End.GetEditPos();
    TNuo4ABCTextReplaceItems It;
    auto Items = [&](bool bOk) {
        if (bOk) R = TrecNuo4EditResult::Accepted(It);
        return bOk;
    };
    TrecNuo4MusicPureNote Note;
    Note.SetPitch(AArg % 8, (AArg / 8) % 3 - 1, (AArg / 24) % 3 - 1);
    Note.SetDuration(TNuo4Duration(1 + (AArg / 3) % 20));
    TrecNuo4Pitch Pitch;
    Pitch.Initialize_ToNormalPitch(1 + AArg % 7, AArg % 3 - 1, 0);
    switch (((AKind % EditRequestKindCount) + EditRequestKindCount) % EditRequestKindCount) {
        case 0:
            AName = "InsertPureNote_Caret";
            return CanInsertSymbol_PureNote_Caret(B, AState, Note, R);
        case 1:
            AName = "InsertBarline_Caret";
            return CanInsertSymbol_Barline_Caret(B, TNuo4BarlineStyle(AArg % 8), R);
        case 2:
            AName = "InsertMeter_Caret";
            return CanInsertSymbol_Meter_Caret(B, TrecNuo4Meter::Create(1 + AArg % 6, 4), R);
        case 3:
            AName = "InsertText_Caret";
            return CanInsertSymbol_Text_Caret(B, u"ab", R);
        case 4:
            AName = "InsertAccompMarker_Caret";
            return CanInsertSymbol_AccompMarker_Caret(B, AState, AArg & 1, R);
        case 5:
            AName = "InsertReturn_Caret";
            return CanInsertSymbol_Return_Caret(B, R);
        case 6:
            AName = "InsertOrToggleBarline_Caret";
            return CanInsertOrToggleBarline_Style_Caret(B, R);
        case 7:
            AName = "AutoInsertBarline_Caret";
            return CanAutoInsertBarline_Caret(B, R);
        case 8:
            AName = "DeleteBasicSymbol_Caret";
            return CanDeleteBasicSymbol_Caret(B, AArg & 1, R);
        case 9:
            AName = "DeleteBasicSymbol_Selection";
            return CanDeleteBasicSymbol_Selection(B, R);
        case 10:
            AName = "DeleteBasicSymbol";
            return Items(CanDeleteBasicSymbol(B, E, It));
        case 11:
            AName = "ChangeNote_Digit";
            return Items(CanChangeNote_Digit(B, E, AArg % 8, It));
        case 12:
            AName = "ChangeNote_Digit_Selection";
            return CanChangeNote_Digit_Selection(B, AArg % 8, R);
        case 13:
            AName = "ChangeNote_SetDuration_Caret";
            return CanChangeNote_SetDuration_Caret(B, Note.Duration, R);
        case 14:
            AName = "ToggleRightDot_Caret";
            return CanChangeNote_ToggleRightDot_Caret(B, R);
        case 15:
            AName = "ToggleRightLine_Caret";
            return CanChangeNote_ToggleRightLine_Caret(B, R);
        case 16:
            AName = "ToggleUnderline_Caret";
            return CanChangeNote_ToggleUnderline_Caret(B, R);
        case 17:
            AName = "ChangeNote_Octave_Caret";
            return CanChangeNote_Octave_Caret(B, AArg & 1, R);
        case 18:
            AName = "ChangeNote_Octave_Selection";
            return CanChangeNote_Octave_Selection(B, AArg & 1, R);
        case 19:
            AName = "AddOrRemoveChordPitch_Caret";
            return CanChangeNote_AddOrRemoveChordPitch_Caret(B, Pitch, R);
        case 20:
            AName = "ToggleArticulation_Caret";
            return CanChangeNote_ToggleArticulation_Caret(B, R);
        case 21:
            AName = "Chord_AddNote_Natural3th_Caret";
            return CanChangeChord_AddNote_Natural3th_Caret(B, R);
        case 22:
            AName = "Chord_AdjustHighestNote_Caret";
            return CanChangeChord_AdjustHighestNote_Caret(B, AArg & 1, R);
        case 23:
            AName = "Chord_DeleteHighestNote_Caret";
            return CanChangeChord_DeleteHighestNote_Caret(B, R);
        case 24:
            AName = "Transpose_SelectionOrCaret";
            return CanTranspose_SelectionOrCaret(B, AArg % 7 - 3, AArg & 1, (AArg & 2) != 0, R);
        case 25:
            AName = "ToggleUnderline_Selection";
            return CanToggleUnderline_Selection(B, R);
        case 26:
            AName = "ToggleDVGroup_Caret";
            return CanToggleDVGroup_Caret(B, AState, R);
        case 27:
            AName = "ToggleDVGroup_Selection";
            return CanToggleDVGroup_Selection(B, AState, R);
        case 28:
            AName = "SetDVGroup_CaretOrSelection";
            return CanSetDVGroup_CaretOrSelection(B, AState,
                                                  TNuo4DVGroupType(AArg % Nuo4DVGroupTypeCount), R);
        case 29:
            AName = "AddTupletArc_Caret";
            return CanAddTupletArc_Caret(B, AState, R);
        case 30:
            AName = "ToggleArc_Selection";
            return CanToggleArc_Selection(B, AArg & 1, R);
        case 31:
            AName = "AddArc_From_Caret";
            return CanAddArc_From_Caret(B, R);
        case 32:
            AName = "ExtendArc_From_Caret";
            return CanExtendArc_From_Caret(B, R);
        case 33:
            AName = "SetArcABCInfo";
            {
                TrecNuo4ArcABCInfo Info;
                Info.TupletNumber = AArg % 5;
                return Items(CanSetArcABCInfo(B, AArg % 7, Info, It));
            }
        case 34:
            AName = "ToggleAccompMarker_Selection";
            return CanToggleAccompMarker_Selection(B, R);
        case 35:
            AName = "ChangeHideLevel_Selection";
            return CanChangeHideLevel_Selection(B, TNuo4SymbolHideLevel(AArg % 8), R);
        case 36:
            AName = "ChangeControlOptions";
            {
                TrecNuo4SymbolControlOptions O;
                O.LockTo(float(AArg % 4) * 0.5f);
                return Items(CanChangeControlOptions(B, E, O, It));
            }
        case 37:
            AName = "LongRest_SelectionOrCaret";
            return LongRest_CanAdd_SelectionOrCaret(B, (AArg & 1) ? u"8" : u"", R);
        case 38:
            AName = "DeleteBasicSymbol_Range";
            return Items(Sel.Length > 0 && CanDeleteBasicSymbol_Range(B, Sel, It));
        default:
            AName = "ToggleBarlineStyle";
            return Items(CanToggleBarlineStyle(B, E, It));
    }
}

}  // namespace nuo4::gen
