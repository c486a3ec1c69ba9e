// The rows of the caret, highlight, spacing, paragraph and brace requests of `nuo4-cli edit`.

#include "app/cli/cmd_edit_requests.h"

#include <cstdlib>

#include "edit/edit_brace.h"
#include "edit/edit_paragraph.h"
#include "edit/edit_spacing.h"
#include "layout/buffer_caret.h"
#include "layout/buffer_highlight.h"
#include "layout/buffer_hit_test.h"
#include "layout/buffer_selection.h"
#include "layout/simple_buffer.h"

namespace nuo4::cli {

// ---- Arguments --------------------------------------------------------------------------------

namespace {

const std::string& Arg(const TArgs& A, size_t I) {
    if (I >= A.size()) throw TEditArgError{"missing argument " + std::to_string(I + 1)};
    return A[I];
}

TNuo4MoveDirection Direction(const TArgs& A, size_t I) {
    TNuo4MoveDirection D;
    if (!MoveDirectionFromName(Arg(A, I), D) || D == mdNone)
        throw TEditArgError{"unknown direction '" + Arg(A, I) +
                            "' (Left, Right, Up, Down, NextMeasure, PrevMeasure, NextPage, "
                            "PrevPage, LineStart, LineEnd, DocStart, DocEnd)"};
    return D;
}

}  // namespace

TNuo4InlineChangeAction_AWCoef EditArg_AWAction(const TArgs& A, size_t I) {
    const std::string& S = Arg(A, I);
    for (int K = 0; K < Nuo4InlineChangeActionAWCoefCount; ++K) {
        const std::string Name = EnumName(TNuo4InlineChangeAction_AWCoef(K));
        if (S == Name || S == Name.substr(std::string("nicaAWCoef_").size()))
            return TNuo4InlineChangeAction_AWCoef(K);
    }
    throw TEditArgError{"unknown action '" + S +
                        "' (Unlock, SetToValue, SetToNextGrid, SetToPrevGrid, Increase_Small, "
                        "Increase_Large, Decrease_Small, Decrease_Large, Zoom, Delta)"};
}

namespace {

TNuo4InlineChangeAction_AWCoef Action(const TArgs& A, size_t I) {
    return EditArg_AWAction(A, I);
}

TrecNuo4EditResult Moved(TrecNuo4Selection ASelection) {
    TrecNuo4EditResult R = TrecNuo4EditResult::Accepted({});
    R.WithSelection(ASelection);
    return R;
}

bool Move(TNuo4SimpleBuffer& B, TrecNuo4EditState& S, const TArgs& A, TrecNuo4EditResult& R,
          bool bExtend) {
    TrecNuo4CaretPos_Index New;
    const TrecNuo4Selection& Cur = B.InternalStatus.Selection;
    if (!CanMoveCaret(B, Cur.CaretPos_End, Direction(A, 0), S.RememberedCaretColumnX, New)) {
        R = TrecNuo4EditResult::Refused("the caret cannot move that way");
        return false;
    }
    R = Moved(bExtend ? TrecNuo4Selection::Create(Cur.CaretPos_Start, New)
                      : TrecNuo4Selection::CreateEmpty(New));
    return true;
}

bool Highlighted(TrecNuo4EditResult& R, bool bOk, const TrecNuo4Highlight& H) {
    if (!bOk) {
        R = TrecNuo4EditResult::Refused("no symbol to step to");
        return false;
    }
    R = TrecNuo4EditResult::Accepted({});
    R.WithHighlight(H);
    return true;
}

int32_t CaretLine(const TNuo4SimpleBuffer& B) {
    return GetLineIndexOfCaret(B, B.InternalStatus.Selection.CaretPos_End);
}

}  // namespace

int32_t EditArg_Int(const TArgs& A, size_t I) {
    const std::string& S = Arg(A, I);
    char* End = nullptr;
    const long V = std::strtol(S.c_str(), &End, 10);
    if (S.empty() || *End || V < -1000000000L || V > 1000000000L)
        throw TEditArgError{"argument " + std::to_string(I + 1) + " is not an integer: '" + S +
                            "'"};
    return int32_t(V);
}

double EditArg_Double(const TArgs& A, size_t I) {
    const std::string& S = Arg(A, I);
    char* End = nullptr;
    const double V = std::strtod(S.c_str(), &End);
    if (S.empty() || *End || !(V == V))
        throw TEditArgError{"argument " + std::to_string(I + 1) + " is not a number: '" + S + "'"};
    return V;
}

bool EditArg_Bool(const TArgs& A, size_t I) {
    const std::string& S = Arg(A, I);
    if (S == "true" || S == "True" || S == "1" || S == "yes") return true;
    if (S == "false" || S == "False" || S == "0" || S == "no") return false;
    throw TEditArgError{"argument " + std::to_string(I + 1) + " is not true or false: '" + S + "'"};
}

TKoRange EditArg_Range(const TArgs& A, size_t I) {
    const std::string& S = Arg(A, I);
    const size_t Comma = S.find(',');
    if (Comma == std::string::npos) {
        const int32_t V = EditArg_Int(A, I);
        return TKoRange(V, 1);
    }
    const int32_t From = EditArg_Int({S.substr(0, Comma)}, 0);
    const int32_t To = EditArg_Int({S.substr(Comma + 1)}, 0);
    if (From < 0 || To < From)
        throw TEditArgError{"argument " + std::to_string(I + 1) + " is not a range A,B: '" + S +
                            "'"};
    return TKoRange::FromStartEnd(From, To);
}

TKoRange EditArg_OptRange(const TArgs& A, size_t I, TKoRange ADefault) {
    return I < A.size() ? EditArg_Range(A, I) : ADefault;
}

// ---- Tables -----------------------------------------------------------------------------------

std::vector<TEditRequestRow> EditRequestRows_Caret() {
    using B_ = TNuo4SimpleBuffer;
    using S_ = TrecNuo4EditState;
    using R_ = TrecNuo4EditResult;
    return {
        {"move", "DIRECTION", "moves the caret (CanMoveCaret); the selection becomes empty", 1, 1,
         [](B_& B, S_& S, const TArgs& A, R_& R) { return Move(B, S, A, R, false); }},
        {"select", "DIRECTION", "moves the caret keeping the anchor (the selection grows)", 1, 1,
         [](B_& B, S_& S, const TArgs& A, R_& R) { return Move(B, S, A, R, true); }},
        {"select-all", "", "every basic symbol but a final return (GetSelectionForAll)", 0, 0,
         [](B_& B, S_&, const TArgs&, R_& R) {
             R = Moved(GetSelectionForAll(B));
             return true;
         }},
        {"click", "PAGE X Y", "the caret where a click at page position X, Y (mm) puts it", 3, 3,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             TrecNuo4CaretPos_Index C;
             if (!PagePosToCaretPos(B, EditArg_Int(A, 0),
                                    TGPPointF(EditArg_Double(A, 1), EditArg_Double(A, 2)), C)) {
                 R = R_::Refused("no line on that page");
                 return false;
             }
             R = Moved(TrecNuo4Selection::CreateEmpty(C));
             return true;
         }},
        {"highlight-toggle", "", "basic symbol -> its attach symbols -> back to the owner", 0, 0,
         [](B_& B, S_&, const TArgs&, R_& R) {
             TrecNuo4Highlight H;
             return Highlighted(
                 R, CanToggleHighlight_BasicAndAttach(B, B.InternalStatus.Highlight, H), H);
         }},
        {"highlight-page", "", "the next page symbol of the page-mode page", 0, 0,
         [](B_& B, S_&, const TArgs&, R_& R) {
             TrecNuo4Highlight H;
             return Highlighted(R, CanToggleHighlight_PageSymbol(B, B.InternalStatus.Highlight, H),
                                H);
         }},
        {"highlight-move", "-1|1", "the previous or next basic symbol", 1, 1,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             TrecNuo4Highlight H;
             return Highlighted(
                 R,
                 CanMoveHighlight_BasicSymbol(B, B.InternalStatus.Highlight, EditArg_Int(A, 0), H),
                 H);
         }},
    };
}

std::vector<TEditRequestRow> EditRequestRows_Spacing() {
    using B_ = TNuo4SimpleBuffer;
    using S_ = TrecNuo4EditState;
    using R_ = TrecNuo4EditResult;
    using I_ = TNuo4ABCTextReplaceItems;
    return {
        {"lock-aw", "INDEX", "locks a symbol's advance width at its present value (CanLockAWCoef)",
         1, 1,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             return EditAnswerItems(R,
                                    [&](I_& I) { return CanLockAWCoef(B, EditArg_Int(A, 0), I); });
         }},
        {"unlock-aw", "INDEX [DASHES]",
         "automatic advance width again; DASHES true also clears a "
         "locked dash spacing (CanUnlockAWCoef)",
         1, 2,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             const bool bDashes = A.size() > 1 && EditArg_Bool(A, 1);
             return EditAnswerItems(
                 R, [&](I_& I) { return CanUnlockAWCoef(B, EditArg_Int(A, 0), bDashes, I); });
         }},
        {"lock-aw-range", "[A,B]", "locks basic symbols A..B (the selection without)", 0, 1,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             const TKoRange Rg = EditArg_OptRange(A, 0, Selection_GetBasicRange(B));
             return EditAnswerItems(R, [&](I_& I) { return CanLockAWCoef_Range(B, Rg, I); });
         }},
        {"lock-aw-lines", "[L1,L2]",
         "locks every symbol of lines L1..L2 (the selected lines without)", 0, 1,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             const TKoRange Rg = EditArg_OptRange(A, 0, Selection_GetLineRange(B));
             return EditAnswerItems(R, [&](I_& I) { return CanLockAWCoef_LineRange(B, Rg, I); });
         }},
        {"unlock-aw-range", "[A,B]", "unlocks basic symbols A..B, dash spacing included", 0, 1,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             const TKoRange Rg = EditArg_OptRange(A, 0, Selection_GetBasicRange(B));
             return EditAnswerItems(R, [&](I_& I) { return CanUnlockAWCoef_Range(B, Rg, I); });
         }},
        {"unlock-aw-lines", "[L1,L2]",
         "unlocks every symbol of lines L1..L2 (the caret's line without)", 0, 1,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             const TKoRange Rg = EditArg_OptRange(A, 0, TKoRange(CaretLine(B), 1));
             return EditAnswerItems(R, [&](I_& I) { return CanUnlockAWCoef_LineRange(B, Rg, I); });
         }},
        {"unlock-aw-remove-indent", "[L1,L2]",
         "unlocks lines L1..L2 and removes their paragraphs' "
         "indent",
         0, 1,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             const TKoRange Rg = EditArg_OptRange(A, 0, Selection_GetLineRange(B));
             return EditAnswerItems(
                 R, [&](I_& I) { return CanUnlockAWCoefAndRemoveIndent_LineRange(B, Rg, I); });
         }},
        {"lock-aw-grid", "[LINE]",
         "puts every next symbol of a line on the spacing grid "
         "(CanLockAWCoefToGrid_Line; the caret's line without)",
         0, 1,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             const int32_t L = A.empty() ? CaretLine(B) : EditArg_Int(A, 0);
             return EditAnswerItems(R, [&](I_& I) { return CanLockAWCoefToGrid_Line(B, L, I); });
         }},
        {"change-aw", "INDEX ACTION [VALUE]",
         "changes one advance width by an action "
         "(CanChangeAWCoef)",
         2, 3,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             const double V = A.size() > 2 ? EditArg_Double(A, 2) : 0;
             return EditAnswerItems(R, [&](I_& I) {
                 return CanChangeAWCoef(B, EditArg_Int(A, 0), Action(A, 1), V, I);
             });
         }},
        {"change-aw-range", "A,B ACTION [VALUE]",
         "changes the advance widths of A..B as a sum "
         "(CanChangeAWCoef_Range)",
         2, 3,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             const double V = A.size() > 2 ? EditArg_Double(A, 2) : 0;
             return EditAnswerItems(R, [&](I_& I) {
                 return CanChangeAWCoef_Range(B, EditArg_Range(A, 0), Action(A, 1), V, I);
             });
         }},
        {"adjust-aw-caret", "DELTA", "the gap at the caret grows by DELTA digit widths", 1, 1,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             return EditAnswerItems(
                 R, [&](I_& I) { return CanAdjustAWCoef_Delta_Caret(B, EditArg_Double(A, 0), I); });
         }},
        {"line-width", "DELTA [IGNORE_LOCKED] [L1,L2]",
         "the lines' advance widths sum DELTA more "
         "(the caret's line without lines)",
         1, 3,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             const bool bIgnore = A.size() > 1 && EditArg_Bool(A, 1);
             const TKoRange Rg = EditArg_OptRange(A, 2, TKoRange(CaretLine(B), 1));
             return EditAnswerItems(R, [&](I_& I) {
                 return CanAdjustLineWidth_Range_Delta(B, Rg, bIgnore, EditArg_Double(A, 0), I);
             });
         }},
        {"measure-width", "M1,M2 DELTA [IGNORE_LOCKED]",
         "measures M1..M2 of one line DELTA mm wider", 2, 3,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             const bool bIgnore = A.size() > 2 && EditArg_Bool(A, 2);
             return EditAnswerItems(R, [&](I_& I) {
                 return CanAdjustMeasureWidth_Range(B, EditArg_Range(A, 0), bIgnore,
                                                    EditArg_Double(A, 1), I);
             });
         }},
        {"justify-measures", "M1,M2", "measures M1..M2 take the free space of their line", 1, 1,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             return EditAnswerItems(R, [&](I_& I) {
                 return CanAdjustMeasuresWidthToJustifyLine_Range(B, EditArg_Range(A, 0), I);
             });
         }},
        {"justify-line", "[LINE] [IGNORE_LOCKED]",
         "every symbol of a line spread to the right "
         "margin",
         0, 2,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             const int32_t L = A.empty() ? CaretLine(B) : EditArg_Int(A, 0);
             const bool bIgnore = A.size() < 2 || EditArg_Bool(A, 1);
             return EditAnswerItems(R, [&](I_& I) {
                 return CanAdjustAllSymbolPosAtLineToJustifyLine_Line(B, L, bIgnore, I);
             });
         }},
        {"justify-line-last", "[LINE]",
         "the last measure's second-to-last symbol takes the free "
         "space",
         0, 1,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             const int32_t L = A.empty() ? CaretLine(B) : EditArg_Int(A, 0);
             return EditAnswerItems(
                 R, [&](I_& I) { return CanAdjustLastSymbolPosAtLineToJustifyLine_Line(B, L, I); });
         }},
        {"unlock-loose-barlines", "[A,B]",
         "bar lines locked below 0.1 unlocked (the selection or "
         "caret without)",
         0, 1,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             return EditAnswerItems(R, [&](I_& I) {
                 return A.empty()
                            ? Layout_UnlockBarlineAW_WhenOverlap_SelectionOrCaret(B, I)
                            : Layout_UnlockBarlineAW_WhenOverlap_Range(B, EditArg_Range(A, 0), I);
             });
         }},
        {"dash-spacing", "DASH DELTA [KEEP_WIDTH]",
         "the gap before a dash of the note left of the "
         "caret moves by DELTA (CanAdjustRightlineSpacingCoef_Caret)",
         2, 3,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             const bool bKeep = A.size() > 2 && EditArg_Bool(A, 2);
             return EditAnswerItems(R, [&](I_& I) {
                 return CanAdjustRightlineSpacingCoef_Caret(
                     B, nicaAWCoef_Delta, EditArg_Double(A, 1), EditArg_Int(A, 0), bKeep, I);
             });
         }},
        {"dot-spacing", "DELTA [KEEP_WIDTH]",
         "the right dot of the note left of the caret moves "
         "by DELTA",
         1, 2,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             const bool bKeep = A.size() > 1 && EditArg_Bool(A, 1);
             return EditAnswerItems(R, [&](I_& I) {
                 return CanAdjustRightDotSpacingCoef_Caret(B, nicaAWCoef_Delta,
                                                           EditArg_Double(A, 0), bKeep, I);
             });
         }},
        // Paragraphs: ranges of paragraph indexes (the selection's paragraphs without).
        {"paragraph-justify", "TRUE|FALSE [P1,P2]", "stretch the paragraphs' lines to the margin",
         1, 2,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             const TKoRange Rg = EditArg_OptRange(A, 1, Selection_GetParagraphRange(B));
             return EditAnswerItems(R, [&](I_& I) {
                 return CanChangeParagraphOptions_JustifyHorz_Range(B, Rg, EditArg_Bool(A, 0), I);
             });
         }},
        {"paragraph-indent", "MM [P1,P2]", "indent of every line of the paragraphs (0 removes it)",
         1, 2,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             const TKoRange Rg = EditArg_OptRange(A, 1, Selection_GetParagraphRange(B));
             return EditAnswerItems(R, [&](I_& I) {
                 return System_CanChangeParagraphOptions_Indent_Range(B, Rg, EditArg_Double(A, 0),
                                                                      I);
             });
         }},
        {"paragraph-gap", "COEF [P1,P2]", "factor of the gap after the paragraphs' last lines", 1,
         2,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             const TKoRange Rg = EditArg_OptRange(A, 1, Selection_GetParagraphRange(B));
             return EditAnswerItems(R, [&](I_& I) {
                 return CanChangeParagraphOptions_Gap_Range(B, Rg, EditArg_Double(A, 0), I);
             });
         }},
        {"paragraph-options", "JUSTIFY INDENT GAP PAGEBREAK JUSTIFYVERT [P1,P2]",
         "every option of the paragraphs at once", 5, 6,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             TrecNuo4SymbolReturnPrivateOptions O;
             O.bJustifyHorz = EditArg_Bool(A, 0);
             O.IndentValue = float(EditArg_Double(A, 1));
             O.ParagraphGapCoef = float(EditArg_Double(A, 2));
             O.bPageBreak = EditArg_Bool(A, 3);
             O.bJustifyVert = EditArg_Bool(A, 4);
             const TKoRange Rg = EditArg_OptRange(A, 5, Selection_GetParagraphRange(B));
             return EditAnswerItems(
                 R, [&](I_& I) { return CanChangeParagraphOptions_Range(B, Rg, O, I); });
         }},
        {"brace", "[L1,L2]",
         "braces lines L1..L2 into one system and aligns their bar lines and "
         "beats (the caret's system or page without)",
         0, 1,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             return EditAnswerItems(R, [&](I_& I) {
                 return A.empty() ? CanBraceAndAlign_Caret(B, I)
                                  : CanBraceAndAlignLines(B, EditArg_Range(A, 0), I);
             });
         }},
        {"align-system", "SYSTEM", "aligns the bar lines and beats of a braced system line", 1, 1,
         [](B_& B, S_&, const TArgs& A, R_& R) {
             return EditAnswerItems(
                 R, [&](I_& I) { return CanAlignSystemLine(B, EditArg_Int(A, 0), I); });
         }},
    };
}

const std::vector<TEditRequestRow>& EditRequestTable() {
    static const std::vector<TEditRequestRow> Table = [] {
        std::vector<TEditRequestRow> T;
        for (auto Rows : {EditRequestRows_Caret(), EditRequestRows_Voice(),
                          EditRequestRows_Spacing(), EditRequestRows_Branch()})
            T.insert(T.end(), Rows.begin(), Rows.end());
        return T;
    }();
    return Table;
}

const TEditRequestRow* FindEditRequest(const std::string& AName) {
    for (const TEditRequestRow& R : EditRequestTable())
        if (AName == R.Name) return &R;
    return nullptr;
}

}  // namespace nuo4::cli
