// The key commands: caret moves, highlight steps, the edits of the voice that keys make and the
// pop-up menus of the duration and beam-group keys.
#include "edit/edit_brace.h"
#include "edit/edit_voice.h"
#include "editor/edit_commands.h"
#include "editor/key_dispatch.h"
#include "layout/buffer_caret.h"
#include "layout/buffer_highlight.h"
#include "layout/buffer_selection.h"

namespace nuo4 {

namespace {

bool MoveCaret(INuo4EditorHost& H, TNuo4SimpleBuffer& B, const TrecNuo4KeyCommand& C) {
    TrecNuo4Selection& S = B.InternalStatus.Selection;
    TrecNuo4CaretPos_Index New;
    if (!CanMoveCaret(B, S.CaretPos_End, TNuo4MoveDirection(C.Param),
                      Nuo4EditorEditState().RememberedCaretColumnX, New))
        return false;
    S.CaretPos_End = New;
    if (!C.bExtend) S.CaretPos_Start = New;
    H.Redraw_Fast(true);
    return true;
}

bool StepHighlight(INuo4EditorHost& H, TNuo4SimpleBuffer& B, const TrecNuo4KeyCommand& C) {
    TrecNuo4Highlight New;
    const TrecNuo4Highlight Cur = B.InternalStatus.Highlight;
    constexpr int32_t Left = mdLeft;
    bool bOk = false;
    if (C.Command == ecMoveHighlight)
        bOk = CanMoveHighlight_BasicSymbol(B, Cur, C.Param == Left ? -1 : 1, New);
    else if (H.GetEditMode() == emPage)
        bOk = CanToggleHighlight_PageSymbol(B, Cur, New);
    else
        bOk = CanToggleHighlight_BasicAndAttach(B, Cur, New);
    // "No change" answers still put a first highlight in place.
    if (!bOk && !(Cur.IsEmpty() && !New.IsEmpty())) return false;
    Highlight_Set(B, New);
    H.Redraw_Fast(false);
    return true;
}

TrecNuo4EditState KeyState(const INuo4EditorHost& H) {
    TrecNuo4EditState S = Nuo4EditorEditState();
    S.bAutoInsertBarline = H.AutoInsertBarline();
    S.bUseOldDVGroupOrder = H.OldDVGroupOrder();
    return S;
}

bool Apply(INuo4EditorHost& H, const TrecNuo4EditResult& A, bool bScroll = true) {
    return Nuo4ApplyEdit(H, A.Items, A.bWithSelection ? &A.NewSelection : nullptr,
                         A.bWithHighlight ? &A.NewHighlight : nullptr, bScroll);
}

// Runs a caret or selection request and applies its answer.
template <class F>
bool Run(INuo4EditorHost& H, F&& ARequest) {
    TrecNuo4EditResult A;
    return ARequest(A) && Apply(H, A);
}

bool HasSelection(const TNuo4SimpleBuffer& B) {
    return !B.InternalStatus.Selection.IsEmpty();
}

TrecNuo4Pitch PitchOf(const TrecNuo4KeyCommand& C) {
    TrecNuo4Pitch P;
    if (C.Param == 8)
        P.Initialize_ToDrumPitch(u'X', true);
    else
        P.Initialize_ToNormalPitch(C.Param, C.Param2, 0);
    return P;
}

bool DurationStep(INuo4EditorHost& H, const TNuo4SimpleBuffer& B, int32_t AStep) {
    const TrecNuo4ABCParseInfo_Note* N = VoiceEdit_GetNoteRecord(B, GetCaretLeftPos(B));
    if (!N) return false;
    const TNuo4Duration D = N->DurationValue();
    const TNuo4Duration New =
        AStep < 0 ? Duration_StepShorter(D, false) : Duration_StepLonger(D, false);
    if (New == D) return false;
    return Run(H,
               [&](TrecNuo4EditResult& A) { return CanChangeNote_SetDuration_Caret(B, New, A); });
}

// The durations the duration menu offers, shortest first; the note's own is the default item.
constexpr TNuo4Duration MenuDurations[] = {sd32th, sd16th,   sd16thDot, sd8th,    sd8thDot,
                                           sd4th,  sd4thDot, sd2th,     sd2thDot, sd1th};

bool DurationMenu(INuo4EditorHost& H, const TNuo4SimpleBuffer& B) {
    const TrecNuo4ABCParseInfo_Note* N = VoiceEdit_GetNoteRecord(B, GetCaretLeftPos(B));
    if (!N) return false;
    QStringList Items;
    int32_t Default = -1;
    for (TNuo4Duration D : MenuDurations) {
        if (D == N->DurationValue()) Default = int32_t(Items.size());
        Items << QString::fromUtf16(Duration_ToABCText(D).c_str());
    }
    for (int32_t I = 0; I < Items.size(); ++I) {
        const QString Key = GetHotKeyStringFromMenuItemIndex(I, Default);
        if (!Key.isEmpty()) Items[I] = Key + QStringLiteral("  ") + Items[I];
    }
    const int32_t Chosen = H.ChooseFromPopupMenu(Items, Default);
    if (Chosen < 0 || Chosen >= int32_t(std::size(MenuDurations))) return false;
    const TNuo4Duration New = MenuDurations[Chosen];
    return Run(H,
               [&](TrecNuo4EditResult& A) { return CanChangeNote_SetDuration_Caret(B, New, A); });
}

bool DVGroupKey(INuo4EditorHost& H, const TNuo4SimpleBuffer& B) {
    const TrecNuo4EditState State = KeyState(H);
    bool bDone = false;
    if (H.KeyOptions().bPopupOnDVGroupKey) {
        std::vector<std::u16string> Texts;
        TNuo4DVGroupType Start = dvg_None, End = dvg_None;
        int32_t Current = -1;
        if (GetABCTextArrayForDVGroup_CaretOrSelection(B, State, false, false, Texts, Start, End,
                                                       Current) &&
            !Texts.empty()) {
            QStringList Items;
            for (size_t I = 0; I < Texts.size(); ++I) {
                const QString Key = GetHotKeyStringFromMenuItemIndex(int32_t(I), Current);
                Items << (Key.isEmpty() ? QString() : Key + QStringLiteral("  ")) +
                             QString::fromUtf16(Texts[I].c_str());
            }
            const int32_t Chosen = H.ChooseFromPopupMenu(Items, Current);
            if (Chosen >= 0 && Chosen < int32_t(Texts.size()))
                bDone = Run(H, [&](TrecNuo4EditResult& A) {
                    return CanSetDVGroup_CaretOrSelection(B, State,
                                                          TNuo4DVGroupType(Start + Chosen), A);
                });
        }
    } else {
        bDone = Run(H, [&](TrecNuo4EditResult& A) {
            return HasSelection(B) ? CanToggleDVGroup_Selection(B, State, A)
                                   : CanToggleDVGroup_Caret(B, State, A);
        });
    }
    Nuo4ConsecutiveNoteCount() = 0;
    return bDone;
}

bool Return(INuo4EditorHost& H, const TNuo4SimpleBuffer& B) {
    if (Nuo4ReturnSplitsMeasure(B) && !H.AskOkCancel(QString::fromUtf16(Nuo4ReturnSplitQuestion)))
        return false;
    return Run(H, [&](TrecNuo4EditResult& A) { return CanInsertSymbol_Return_Caret(B, A); });
}

// Layout mode: Backspace and Delete remove only a paragraph return.
bool DeleteReturn(INuo4EditorHost& H, const TNuo4SimpleBuffer& B, bool bRight) {
    const TrecNuo4CaretPos_Index C = B.InternalStatus.Selection.CaretPos_End;
    if (!B.Basic_IsReturn(bRight ? C.GetRightPos() : C.GetLeftPos())) return false;
    return Run(H, [&](TrecNuo4EditResult& A) { return CanDeleteBasicSymbol_Caret(B, !bRight, A); });
}

bool StandardKey(INuo4EditorHost& H, TNuo4SimpleBuffer& B, const TrecNuo4KeyCommand& C) {
    const TrecNuo4EditState State = KeyState(H);
    switch (C.Command) {
        case ecInsertNote:
            // With a selection, 0 first turns the selected notes into rests.
            if (C.Param == 0 && HasSelection(B) && Run(H, [&](TrecNuo4EditResult& A) {
                    return CanChangeNote_Digit_Selection(B, 0, A);
                }))
                return true;
            return Nuo4ExecuteVoiceEdit(H, B, C);
        case ecChordPitch:
            if (C.Param == 0) return false;
            return Run(H, [&](TrecNuo4EditResult& A) {
                return CanChangeNote_AddOrRemoveChordPitch_Caret(B, PitchOf(C), A);
            });
        case ecReturn:
            return Return(H, B);
        case ecPageBreak:
            return Run(H, [&](TrecNuo4EditResult& A) {
                return CanInsertSymbol_PageBreak_Caret(B, false, A);
            });
        case ecSelectAll: {
            if (B.Basic_GetCount() == 0) return false;
            B.InternalStatus.Selection =
                TrecNuo4Selection::Create(TrecNuo4CaretPos_Index::Create(0, false),
                                          TrecNuo4CaretPos_Index::Create(B.Basic_GetLast(), true));
            H.Redraw_Fast(false);
            return true;
        }
        case ecToggleDash:
            return Run(H, [&](TrecNuo4EditResult& A) {
                return CanChangeNote_ToggleRightLine_Caret(B, A);
            });
        case ecToggleUnderline:
            return Run(H, [&](TrecNuo4EditResult& A) {
                return HasSelection(B) ? CanToggleUnderline_Selection(B, A)
                                       : CanChangeNote_ToggleUnderline_Caret(B, A);
            });
        case ecToggleDot:
            return Run(
                H, [&](TrecNuo4EditResult& A) { return CanChangeNote_ToggleRightDot_Caret(B, A); });
        case ecOctave:
            return Run(H, [&](TrecNuo4EditResult& A) {
                return HasSelection(B) ? CanChangeNote_Octave_Selection(B, C.Param == 1, A)
                                       : CanChangeNote_Octave_Caret(B, C.Param == 1, A);
            });
        case ecTranspose:
            return Run(H, [&](TrecNuo4EditResult& A) {
                return CanTranspose_SelectionOrCaret(B, C.Param, false, false, A);
            });
        case ecDurationStep:
            return DurationStep(H, B, C.Param);
        case ecChordAdd3rd:
            return Run(H, [&](TrecNuo4EditResult& A) {
                return CanChangeChord_AddNote_Natural3th_Caret(B, A);
            });
        case ecChordDeleteHighest:
            return Run(H, [&](TrecNuo4EditResult& A) {
                return CanChangeChord_DeleteHighestNote_Caret(B, A);
            });
        case ecChordAdjustHighest:
            return Run(H, [&](TrecNuo4EditResult& A) {
                return CanChangeChord_AdjustHighestNote_Caret(B, C.Param == 1, A);
            });
        case ecAccompMarker: {
            bool bBarline = false;
            if (!Run(H, [&](TrecNuo4EditResult& A) {
                    return CanInsertSymbol_AccompMarker_Caret(B, State, C.Param == 1, A, &bBarline);
                }))
                return false;
            Nuo4ConsecutiveNoteCount() = 0;
            return true;
        }
        case ecMeter: {
            const TrecNuo4Meter M = TrecNuo4Meter::Create(C.Param, C.Param2);
            if (!Run(H, [&](TrecNuo4EditResult& A) {
                    return CanChangeMeter_Caret(B, M, A) || CanInsertSymbol_Meter_Caret(B, M, A);
                }))
                return false;
            Nuo4ConsecutiveNoteCount() = 0;
            return true;
        }
        case ecToggleArc:
            return Run(H,
                       [&](TrecNuo4EditResult& A) { return CanToggleArc_Selection(B, false, A); });
        case ecToggleArticulation:
            return Run(H, [&](TrecNuo4EditResult& A) {
                return CanChangeNote_ToggleArticulation_Caret(B, A);
            });
        case ecDurationMenu:
            return DurationMenu(H, B);
        case ecDVGroupKey:
            return DVGroupKey(H, B);
        case ecSpaceKey:
            Nuo4ConsecutiveNoteCount() = 0;
            return true;
        case ecClipboard:
            if (C.Param != 2 && !HasSelection(B)) {
                H.ShowMessage(QStringLiteral("请先选中要复制或剪切的符号。"));
                return false;
            }
            H.ShowMessage(QStringLiteral("剪贴板：此功能尚未提供。"));
            return false;
        default:
            return Nuo4ExecuteVoiceEdit(H, B, C);
    }
}

}  // namespace

bool Nuo4ExecuteCommand(INuo4EditorHost& H, const TrecNuo4KeyCommand& C) {
    if (C.Command == ecPending) {
        H.ShowMessage(QString::fromUtf8(C.Pending ? C.Pending : "") +
                      QStringLiteral("：此功能尚未提供。"));
        return false;
    }
    if (C.Command >= ecSwitchTab) return H.RunWindowCommand(C);
    TNuo4SimpleBuffer* B = H.GetSimpleBuffer();
    if (!B) return false;
    switch (C.Command) {
        case ecMoveCaret:
            return MoveCaret(H, *B, C);
        case ecToggleHighlight:
        case ecMoveHighlight:
            return StepHighlight(H, *B, C);
        case ecDeleteReturn:
            return H.GetEditMode() == emLayout && DeleteReturn(H, *B, C.Param == 1);
        case ecBraceAndAlign:
            return H.GetEditMode() == emLayout && Run(H, [&](TrecNuo4EditResult& A) {
                       return CanBraceAndAlign_Caret(*B, A.Items);
                   });
        case ecReturn:
        case ecPageBreak:
            if (H.GetEditMode() != emStandard && H.GetEditMode() != emLayout) return false;
            return StandardKey(H, *B, C);
        default:
            if (H.GetEditMode() != emStandard) return false;
            return StandardKey(H, *B, C);
    }
}

}  // namespace nuo4
