#include "edit/edit_spacing.h"

#include <algorithm>
#include <cmath>

#include "format/abc_buffer.h"
#include "format/doc_options.h"
#include "layout/buffer_caret.h"
#include "layout/buffer_selection.h"
#include "layout/buffer_text_pos.h"
#include "layout/simple_buffer.h"
#include "render/note_symbol.h"

namespace nuo4 {

const char* EnumName(TNuo4InlineChangeAction_AWCoef AValue) {
    static const char* const Names[Nuo4InlineChangeActionAWCoefCount] = {
        "nicaAWCoef_Unlock",         "nicaAWCoef_SetToValue",     "nicaAWCoef_SetToNextGrid",
        "nicaAWCoef_SetToPrevGrid",  "nicaAWCoef_Increase_Small", "nicaAWCoef_Increase_Large",
        "nicaAWCoef_Decrease_Small", "nicaAWCoef_Decrease_Large", "nicaAWCoef_Zoom",
        "nicaAWCoef_Delta"};
    return AValue < Nuo4InlineChangeActionAWCoefCount ? Names[AValue] : "";
}

double Spacing_GridStep() {
    return 0.25 * Nuo4DocOptions().GetNormalStyleDigitSize().Width;
}

namespace {

double GridDelta(double AX, bool bNext) {
    const double Step = Spacing_GridStep();
    const double Rem = AX - std::floor(AX / Step) * Step;
    // A point within a tenth of a step of a grid line counts as on it and goes on to the line
    // after it; the target is the grid line itself (moving the point by a whole step would
    // leave it as far off the grid as it was).
    double G;
    if (bNext)
        G = AX + (Step - Rem) + ((Step - Rem < Step / 10) ? Step : 0);
    else
        G = AX - Rem - ((Rem < Step / 10) ? Step : 0);
    return (G - AX) / Nuo4DocOptions().GetNormalStyleDigitSize().Width;
}

}  // namespace

namespace {

constexpr double MinCoef = 0.01;

// The control options as written in the text (the symbol's copy may carry what the layout
// made of them, such as a locked value stretched by justification); default without a group.
const TrecNuo4SymbolControlOptions* OptionsOf(const TNuo4SimpleBuffer& B, int32_t I) {
    thread_local TrecNuo4SymbolControlOptions Read;
    if (!B.Basic_CheckIndex(I)) return nullptr;
    const TKoRange Pos = GetABCTextRangeForAllSymbol_ControlOptions(B, I);
    if (!Pos.IsValid()) return nullptr;
    TrecNuo4ABCParseInfo_SymbolControlOptions P;
    int32_t End = -1;
    if (Pos.Length > 0 && ReadSymbolControlOptions(B.GetABCBuffer()->ABCText(), Pos, P, End))
        Read = P.Value;
    else
        Read.SetToDefault();
    return &Read;
}

double Coef(const TNuo4SimpleBuffer& B, int32_t I) {
    return B.Basic_GetSymbol(I)->AWCoef();
}
double DigitW(const TNuo4SimpleBuffer& B, int32_t I) {
    return B.Basic_GetSymbol(I)->DigitSize().width();
}
double AW(const TNuo4SimpleBuffer& B, int32_t I) {
    return B.Basic_GetSymbol(I)->AW();
}
double X(const TNuo4SimpleBuffer& B, int32_t I) {
    return B.Basic_GetSymbol(I)->Pos().x();
}
bool Locked(const TNuo4SimpleBuffer& B, int32_t I) {
    const auto* O = OptionsOf(B, I);
    return O && O->AWCoefIsLocked();
}

bool Done(TNuo4ABCTextReplaceItems& AItems, bool bOk) {
    if (!bOk || AItems.empty()) {
        AItems.clear();
        return false;
    }
    return true;
}

// The symbol locked at AValue, its dash spacing kept.
bool LockAt(const TNuo4SimpleBuffer& B, int32_t I, double AValue,
            TNuo4ABCTextReplaceItems& AItems) {
    const auto* O = OptionsOf(B, I);
    if (!O) return false;
    TrecNuo4SymbolControlOptions_AWCoef A = O->AWCoef;
    A.LockTo(float(std::max(MinCoef, AValue)));
    return CanSetAWCoefOptions(B, I, A, AItems);
}

// A new coefficient through the options' own change rule (locked dash spacing scales along).
bool ChangeTo(const TNuo4SimpleBuffer& B, int32_t I, double AValue,
              TNuo4ABCTextReplaceItems& AItems) {
    const auto* O = OptionsOf(B, I);
    if (!O) return false;
    TrecNuo4SymbolControlOptions_AWCoef A = O->AWCoef;
    if (!A.AWCoefIsLocked()) A.LockTo(float(Coef(B, I)));  // scale from the present value
    A.ChangeAWCoef(float(std::max(MinCoef, AValue)));
    return CanSetAWCoefOptions(B, I, A, AItems);
}

bool UnlockOne(const TNuo4SimpleBuffer& B, int32_t I, bool bDashes,
               TNuo4ABCTextReplaceItems& AItems) {
    const auto* O = OptionsOf(B, I);
    if (!O) return false;
    TrecNuo4SymbolControlOptions_AWCoef A = O->AWCoef;
    A.UnlockAWCoef();
    if (bDashes) A.UnlockRightLineSpacing();
    return CanSetAWCoefOptions(B, I, A, AItems);
}

const TrecNuo4LineInfoItem* Line(const TNuo4SimpleBuffer& B, int32_t ALine) {
    return ALine >= 0 && ALine < int32_t(B.LineInfoArray.size()) ? &B.LineInfoArray[ALine]
                                                                 : nullptr;
}

bool LineJustified(const TNuo4SimpleBuffer& B, int32_t ALine) {
    const auto* L = Line(B, ALine);
    if (!L) return false;
    const int32_t P = B.GetParagraphIndex_FromBasicIndex(L->BasicIndexRange.StartIndex);
    return P >= 0 && B.ParagraphInfoArray[P].Options.bJustifyHorz;
}

TKoRange LineSymbols(const TNuo4SimpleBuffer& B, int32_t ALine) {
    const auto* L = Line(B, ALine);
    return L ? L->GetBasicIndexRangeExcludeReturn() : TKoRange::Invalid();
}

// Left part of a run as the line breaking measures it: the paragraph's indent, or the first
// symbol's left width (which the build already widened for lyrics).
double LeftPart(const TNuo4SimpleBuffer& B, TKoRange R) {
    const double Indent = B.GetParagraphIndent(B.GetParagraphIndex_FromBasicIndex(R.StartIndex));
    return std::fabs(Indent) > 0.01 ? Indent : B.Basic_GetSymbol(R.StartIndex)->LeftWidth();
}

// Total and fixed width of a run, from the laid-out positions.
void RunWidths(const TNuo4SimpleBuffer& B, TKoRange R, bool bIgnoreLocked, double& T, double& F) {
    const double Outer = LeftPart(B, R) + B.Basic_GetSymbol(R.EndIndex())->RightWidth();
    T = Outer;
    F = Outer;
    for (int32_t I = R.StartIndex; I < R.EndIndex(); ++I) {
        T += AW(B, I);
        if (!bIgnoreLocked && Locked(B, I)) F += AW(B, I);
    }
}

double LayoutRight() {
    const TrecNuo4DocOptions& O = Nuo4DocOptions();
    return O.Param_Paper.MarginLeft + O.GetLayoutWidth();
}

bool ForLines(const TNuo4SimpleBuffer& B, TKoRange ALines,
              bool (*AFn)(const TNuo4SimpleBuffer&, TKoRange, TNuo4ABCTextReplaceItems&),
              TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (!ALines.IsNonEmpty()) return false;
    for (int32_t L = ALines.StartIndex; L <= ALines.EndIndex(); ++L) {
        const TKoRange R = LineSymbols(B, L);
        if (!R.IsNonEmpty()) continue;
        TNuo4ABCTextReplaceItems More;
        AFn(B, R, More);
        AItems.AddItems(More);
    }
    return Done(AItems, true);
}

// The delta an action gives one symbol's coefficient; false when the action does not apply.
bool ActionDelta(const TNuo4SimpleBuffer& B, int32_t I, TNuo4InlineChangeAction_AWCoef AAction,
                 double AValue, double& ADelta) {
    const double Step = Spacing_GridStep(), Present = Coef(B, I);
    switch (AAction) {
        case nicaAWCoef_SetToValue:
            ADelta = AValue - Present;
            return true;
        case nicaAWCoef_Increase_Small:
            ADelta = Step / 5;
            return true;
        case nicaAWCoef_Increase_Large:
            ADelta = Step;
            return true;
        case nicaAWCoef_Decrease_Small:
            ADelta = -Step / 5;
            return true;
        case nicaAWCoef_Decrease_Large:
            ADelta = -Step;
            return true;
        case nicaAWCoef_Zoom:
            ADelta = Present * AValue - Present;
            return true;
        case nicaAWCoef_Delta:
            ADelta = AValue;
            return true;
        case nicaAWCoef_SetToNextGrid:
        case nicaAWCoef_SetToPrevGrid: {
            const int32_t L = GetLineIndexFromBasicIndex(B, I);
            const TKoRange R = LineSymbols(B, L);
            if (!R.IsNonEmpty() || I >= R.EndIndex()) return false;  // the line's last symbol
            ADelta = GridDelta(X(B, I + 1), AAction == nicaAWCoef_SetToNextGrid);
            return true;
        }
        default:
            return false;
    }
}

bool NoEditFocus(const TNuo4SimpleBuffer& B) {
    return B.InternalStatus.Highlight.IsEmpty() && B.InternalStatus.Selection.IsEmpty();
}

// Scales the coefficients of the symbols I with APick(I) so that their sum grows by ADelta.
template <class P>
bool ScaleSum(const TNuo4SimpleBuffer& B, TKoRange R, double ADelta, P APick,
              TNuo4ABCTextReplaceItems& AItems) {
    double Sum = 0;
    for (int32_t I = R.StartIndex; I <= R.EndIndex(); ++I)
        if (APick(I)) Sum += Coef(B, I);
    if (Sum <= MinCoef || Sum + ADelta <= MinCoef) return false;
    const double F = (Sum + ADelta) / Sum;
    for (int32_t I = R.StartIndex; I <= R.EndIndex(); ++I)
        if (APick(I)) ChangeTo(B, I, Coef(B, I) * F, AItems);
    return true;
}

}  // namespace

bool CanSetAWCoefOptions(const TNuo4SimpleBuffer& B, int32_t AIndex,
                         const TrecNuo4SymbolControlOptions_AWCoef& AAWCoef,
                         TNuo4ABCTextReplaceItems& AItems) {
    const auto* O = OptionsOf(B, AIndex);
    const TKoRange Pos = GetABCTextRangeForAllSymbol_ControlOptions(B, AIndex);
    if (!O || !Pos.IsValid()) return false;
    TrecNuo4SymbolControlOptions New = *O;
    New.AWCoef = AAWCoef;
    // The written form is what must change: a value that prints the same is no change.
    const std::u16string Text = New.ToABCText();
    if (Text == O->ToABCText() && Pos.Length > 0) return true;
    TrecNuo4ABCTextReplaceItem Item;
    Item.Initialize(Pos, Text);
    AItems.AddItem(Item);
    return true;
}

// ---- Locking ------------------------------------------------------------------------------------

bool CanLockAWCoef(const TNuo4SimpleBuffer& B, int32_t AIndex, TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (!B.Basic_CheckIndex(AIndex)) return false;
    return Done(AItems, LockAt(B, AIndex, Coef(B, AIndex), AItems));
}

bool CanUnlockAWCoef(const TNuo4SimpleBuffer& B, int32_t AIndex, bool bUnlockRightlineSpacing,
                     TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (!B.Basic_CheckIndex(AIndex)) return false;
    return Done(AItems, UnlockOne(B, AIndex, bUnlockRightlineSpacing, AItems));
}

bool CanLockAWCoef_Range(const TNuo4SimpleBuffer& B, TKoRange ARange,
                         TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (!B.Basic_CheckIndex(ARange)) return false;
    for (int32_t I = ARange.StartIndex; I <= ARange.EndIndex(); ++I)
        LockAt(B, I, Coef(B, I), AItems);
    return Done(AItems, true);
}

bool CanLockAWCoef_LineRange(const TNuo4SimpleBuffer& B, TKoRange ALines,
                             TNuo4ABCTextReplaceItems& AItems) {
    return ForLines(B, ALines, &CanLockAWCoef_Range, AItems);
}
bool CanLockAWCoef_Line(const TNuo4SimpleBuffer& B, int32_t ALine,
                        TNuo4ABCTextReplaceItems& AItems) {
    return CanLockAWCoef_LineRange(B, TKoRange(ALine, 1), AItems);
}
bool CanLockAWCoef_Selection(const TNuo4SimpleBuffer& B, TNuo4ABCTextReplaceItems& AItems) {
    return CanLockAWCoef_Range(B, Selection_GetBasicRange(B), AItems);
}
bool CanLockAWCoef_SelectedLines(const TNuo4SimpleBuffer& B, TNuo4ABCTextReplaceItems& AItems) {
    return CanLockAWCoef_LineRange(B, Selection_GetLineRange(B), AItems);
}

bool CanUnlockAWCoef_Range(const TNuo4SimpleBuffer& B, TKoRange ARange,
                           TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (!B.Basic_CheckIndex(ARange)) return false;
    for (int32_t I = ARange.StartIndex; I <= ARange.EndIndex(); ++I) UnlockOne(B, I, true, AItems);
    return Done(AItems, true);
}

bool CanUnlockAWCoef_LineRange(const TNuo4SimpleBuffer& B, TKoRange ALines,
                               TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (!ALines.IsNonEmpty()) return false;
    // The whole lines, returns included: a return can carry a lock too.
    for (int32_t L = ALines.StartIndex; L <= ALines.EndIndex(); ++L) {
        const auto* Info = Line(B, L);
        if (!Info) return Done(AItems, false);
        for (int32_t I = Info->BasicIndexRange.StartIndex; I <= Info->BasicIndexRange.EndIndex();
             ++I)
            UnlockOne(B, I, true, AItems);
    }
    return Done(AItems, true);
}
bool CanUnlockAWCoef_CaretLine(const TNuo4SimpleBuffer& B, TNuo4ABCTextReplaceItems& AItems) {
    return CanUnlockAWCoef_LineRange(
        B, TKoRange(GetLineIndexOfCaret(B, B.InternalStatus.Selection.CaretPos_End), 1), AItems);
}
bool CanUnlockAWCoef_Selection(const TNuo4SimpleBuffer& B, TNuo4ABCTextReplaceItems& AItems) {
    return CanUnlockAWCoef_Range(B, Selection_GetBasicRange(B), AItems);
}
bool CanUnlockAWCoef_SelectedLines(const TNuo4SimpleBuffer& B, TNuo4ABCTextReplaceItems& AItems) {
    return CanUnlockAWCoef_LineRange(B, Selection_GetLineRange(B), AItems);
}

bool CanLockAWCoefToGrid_Line(const TNuo4SimpleBuffer& B, int32_t ALine,
                              TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    const TKoRange R = LineSymbols(B, ALine);
    if (!R.IsNonEmpty() || LineJustified(B, ALine)) return false;
    const double Step = Spacing_GridStep();
    double Cur = X(B, R.StartIndex);
    for (int32_t I = R.StartIndex; I < R.EndIndex(); ++I) {
        const double Next = Cur + AW(B, I);
        const double Down = std::floor(Next / Step) * Step;
        // Exactly half a step rounds down; the tolerance absorbs float noise of the positions.
        const double Rounded = (Next - Down > Step / 2 + 1e-6) ? Down + Step : Down;
        LockAt(B, I, (Rounded - Cur) / DigitW(B, I), AItems);
        Cur = Rounded;
    }
    return Done(AItems, true);
}
bool CanLockAWCoefToGrid_CaretLine(const TNuo4SimpleBuffer& B, TNuo4ABCTextReplaceItems& AItems) {
    return CanLockAWCoefToGrid_Line(
        B, GetLineIndexOfCaret(B, B.InternalStatus.Selection.CaretPos_End), AItems);
}
bool CanLockAWCoefToGrid_SelectedLines(const TNuo4SimpleBuffer& B,
                                       TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    const TKoRange Lines = Selection_GetLineRange(B);
    if (!Lines.IsNonEmpty()) return false;
    for (int32_t L = Lines.StartIndex; L <= Lines.EndIndex(); ++L) {
        TNuo4ABCTextReplaceItems More;
        if (CanLockAWCoefToGrid_Line(B, L, More)) AItems.AddItems(More);
    }
    return Done(AItems, true);
}

// ---- Changing -----------------------------------------------------------------------------------

bool CanChangeAWCoef(const TNuo4SimpleBuffer& B, int32_t AIndex,
                     TNuo4InlineChangeAction_AWCoef AAction, double AValue,
                     TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (!B.Basic_CheckIndex(AIndex)) return false;
    if (AAction == nicaAWCoef_Unlock) return Done(AItems, UnlockOne(B, AIndex, false, AItems));
    double D;
    if (!ActionDelta(B, AIndex, AAction, AValue, D)) return false;
    return Done(AItems, ChangeTo(B, AIndex, Coef(B, AIndex) + D, AItems));
}

bool CanChangeAWCoef_Range(const TNuo4SimpleBuffer& B, TKoRange ARange,
                           TNuo4InlineChangeAction_AWCoef AAction, double AValue,
                           TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (!B.Basic_CheckIndex(ARange)) return false;
    if (AAction == nicaAWCoef_Unlock) {
        for (int32_t I = ARange.StartIndex; I <= ARange.EndIndex(); ++I)
            UnlockOne(B, I, false, AItems);
        return Done(AItems, true);
    }
    double Sum = 0;
    for (int32_t I = ARange.StartIndex; I <= ARange.EndIndex(); ++I) Sum += Coef(B, I);
    double SumDelta;
    if (AAction == nicaAWCoef_SetToValue)
        SumDelta = AValue - Sum;
    else if (AAction == nicaAWCoef_Zoom)
        SumDelta = Sum * AValue - Sum;
    else if (AAction == nicaAWCoef_Delta)
        SumDelta = AValue;
    else if (!ActionDelta(B, ARange.EndIndex(), AAction, AValue, SumDelta))
        return false;
    return Done(AItems, ScaleSum(
                            B, ARange, SumDelta, [](int32_t) { return true; }, AItems));
}

bool CanChangeAWCoef_Line(const TNuo4SimpleBuffer& B, int32_t ALine,
                          TNuo4InlineChangeAction_AWCoef AAction, double AValue,
                          TNuo4ABCTextReplaceItems& AItems) {
    return CanChangeAWCoef_Range(B, LineSymbols(B, ALine), AAction, AValue, AItems);
}

bool CanAdjustAWCoef_Delta_Caret(const TNuo4SimpleBuffer& B, double ADelta,
                                 TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    const TrecNuo4CaretPos_Index C = B.InternalStatus.Selection.CaretPos_End;
    if (!NoEditFocus(B) || CaretPos_IsLineStart(B, C) || CaretPos_IsLineEnd(B, C)) return false;
    // The gap at the caret belongs to the symbol on its left.
    const int32_t I = C.GetLeftPos();
    if (!B.Basic_CheckIndex(I) || LineJustified(B, GetLineIndexFromBasicIndex(B, I))) return false;
    return Done(AItems, ChangeTo(B, I, Coef(B, I) + ADelta, AItems));
}

bool CanAdjustLineWidth_Range_Delta(const TNuo4SimpleBuffer& B, TKoRange ALines, bool bIgnoreLocked,
                                    double ADelta, TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (!ALines.IsNonEmpty()) return false;
    for (int32_t L = ALines.StartIndex; L <= ALines.EndIndex(); ++L) {
        if (LineJustified(B, L)) break;
        const TKoRange R = LineSymbols(B, L);
        if (!R.IsNonEmpty()) continue;
        ScaleSum(
            B, R, ADelta, [&](int32_t I) { return bIgnoreLocked || !Locked(B, I); }, AItems);
    }
    return Done(AItems, true);
}

bool CanAdjustLineWidth_Caret(const TNuo4SimpleBuffer& B, bool bIgnoreLocked, double ADelta,
                              TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (!NoEditFocus(B)) return false;
    return CanAdjustLineWidth_Range_Delta(
        B, TKoRange(GetLineIndexOfCaret(B, B.InternalStatus.Selection.CaretPos_End), 1),
        bIgnoreLocked, ADelta, AItems);
}

bool CanAdjustMeasureWidth_Range(const TNuo4SimpleBuffer& B, TKoRange AMeasures, bool bIgnoreLocked,
                                 double ADelta, TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (!AMeasures.IsNonEmpty() || !B.CheckMeasureIndex(AMeasures.StartIndex) ||
        !B.CheckMeasureIndex(AMeasures.EndIndex()))
        return false;
    const int32_t First = B.MeasureInfoArray[AMeasures.StartIndex].BasicIndexRange.StartIndex;
    const int32_t Last = B.MeasureInfoArray[AMeasures.EndIndex()].BasicIndexRange.EndIndex();
    const int32_t Line = GetLineIndexFromBasicIndex(B, First);
    if (Line < 0 || Line != GetLineIndexFromBasicIndex(B, Last) || LineJustified(B, Line) ||
        Last <= First)
        return false;
    double W = 0, F = 0;
    for (int32_t I = First; I < Last; ++I) {
        W += AW(B, I);
        if (!bIgnoreLocked && Locked(B, I)) F += AW(B, I);
    }
    if (W <= F + 0.01 || W + ADelta <= F + 0.01) return false;
    const double Factor = (W + ADelta - F) / (W - F);
    if (Factor < 0.1 || Factor > 10) return false;
    // The gap before the first measure is part of its width unless it starts the line.
    const int32_t From =
        First > B.LineInfoArray[Line].BasicIndexRange.StartIndex ? First - 1 : First;
    for (int32_t I = From; I < Last; ++I)
        if (bIgnoreLocked || !Locked(B, I)) ChangeTo(B, I, Coef(B, I) * Factor, AItems);
    return Done(AItems, true);
}

bool CanAdjustMeasureWidth_Selection(const TNuo4SimpleBuffer& B, bool bIgnoreLocked, double ADelta,
                                     TNuo4ABCTextReplaceItems& AItems) {
    return CanAdjustMeasureWidth_Range(B, Selection_GetMeasureRange(B), bIgnoreLocked, ADelta,
                                       AItems);
}

bool CanAdjustMeasuresWidthToJustifyLine_Range(const TNuo4SimpleBuffer& B, TKoRange AMeasures,
                                               TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (!AMeasures.IsNonEmpty() || !B.CheckMeasureIndex(AMeasures.EndIndex())) return false;
    const int32_t Last = B.MeasureInfoArray[AMeasures.EndIndex()].BasicIndexRange.EndIndex();
    const TKoRange R = LineSymbols(B, GetLineIndexFromBasicIndex(B, Last));
    if (!R.IsNonEmpty()) return false;
    const TNuo4Symbol* E = B.Basic_GetSymbol(R.EndIndex());
    const double Free = LayoutRight() - E->Pos().x() - E->RightWidth();
    return CanAdjustMeasureWidth_Range(
        B, AMeasures, Nuo4DocOptions().HorzSpacing_IgnoreLockedAWCoef, Free, AItems);
}

bool CanAdjustMeasuresWidthToJustifyLine_Selection(const TNuo4SimpleBuffer& B,
                                                   TNuo4ABCTextReplaceItems& AItems) {
    return CanAdjustMeasuresWidthToJustifyLine_Range(B, Selection_GetMeasureRange(B), AItems);
}

bool CanAdjustAllSymbolPosAtLineToJustifyLine_Line(const TNuo4SimpleBuffer& B, int32_t ALine,
                                                   bool bIgnoreLocked,
                                                   TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    const auto* L = Line(B, ALine);
    if (!L || L->IsEmpty() || LineJustified(B, ALine)) return false;
    const TKoRange R = LineSymbols(B, ALine);
    double T, F;
    RunWidths(B, R, bIgnoreLocked, T, F);
    if (T - F <= 0.01) return false;
    const double Factor = (Nuo4DocOptions().GetLayoutWidth() - F) / (T - F);
    if (Factor <= 0) return false;
    for (int32_t I = R.StartIndex; I <= R.EndIndex(); ++I)
        if (bIgnoreLocked || !Locked(B, I)) ChangeTo(B, I, Coef(B, I) * Factor, AItems);
    return Done(AItems, true);
}

bool CanAdjustAllSymbolPosAtLineToJustifyLine_Caret(const TNuo4SimpleBuffer& B, bool bIgnoreLocked,
                                                    TNuo4ABCTextReplaceItems& AItems) {
    return CanAdjustAllSymbolPosAtLineToJustifyLine_Line(
        B, GetLineIndexOfCaret(B, B.InternalStatus.Selection.CaretPos_End), bIgnoreLocked, AItems);
}

bool CanAdjustLastSymbolPosAtLineToJustifyLine_Line(const TNuo4SimpleBuffer& B, int32_t ALine,
                                                    TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    const auto* L = Line(B, ALine);
    if (!L || L->IsEmpty() || LineJustified(B, ALine)) return false;
    const TKoRange M = B.MeasureInfoArray[L->MeasureIndexRange.EndIndex()].BasicIndexRange;
    if (M.Length < 2) return false;
    const TNuo4Symbol* E = B.Basic_GetSymbol(LineSymbols(B, ALine).EndIndex());
    const double Free = LayoutRight() - E->Pos().x() - E->RightWidth();
    const int32_t I = M.EndIndex() - 1;
    return Done(AItems, ChangeTo(B, I, (AW(B, I) + Free) / DigitW(B, I), AItems));
}

bool CanAdjustLastSymbolPosAtLineToJustifyLine_Caret(const TNuo4SimpleBuffer& B,
                                                     TNuo4ABCTextReplaceItems& AItems) {
    return CanAdjustLastSymbolPosAtLineToJustifyLine_Line(
        B, GetLineIndexOfCaret(B, B.InternalStatus.Selection.CaretPos_End), AItems);
}

bool Layout_UnlockBarlineAW_WhenOverlap_Range(const TNuo4SimpleBuffer& B, TKoRange ARange,
                                              TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (!B.Basic_CheckIndex(ARange)) return false;
    for (int32_t I = ARange.StartIndex; I <= ARange.EndIndex(); ++I) {
        const auto* O = OptionsOf(B, I);
        if (B.Basic_IsBarline(I) && O && O->AWCoefIsLocked() && O->AWCoef.AWCoef < 0.1)
            UnlockOne(B, I, true, AItems);
    }
    return Done(AItems, true);
}

bool Layout_UnlockBarlineAW_WhenOverlap_SelectionOrCaret(const TNuo4SimpleBuffer& B,
                                                         TNuo4ABCTextReplaceItems& AItems) {
    TKoRange R = Selection_GetBasicRange(B);
    if (!R.IsNonEmpty()) R = TKoRange(B.InternalStatus.Selection.GetCaretEditPos(), 1);
    return Layout_UnlockBarlineAW_WhenOverlap_Range(B, R, AItems);
}

// ---- Dashes and dots
// ------------------------------------------------------------------------------

namespace {

// The step delta of an action, in coefficient units as the step actions define it.
bool StepDelta(TNuo4InlineChangeAction_AWCoef AAction, double AValue, double& ADelta) {
    const double Step = Spacing_GridStep();
    switch (AAction) {
        case nicaAWCoef_Increase_Small:
            ADelta = Step / 5;
            return true;
        case nicaAWCoef_Increase_Large:
            ADelta = Step;
            return true;
        case nicaAWCoef_Decrease_Small:
            ADelta = -Step / 5;
            return true;
        case nicaAWCoef_Decrease_Large:
            ADelta = -Step;
            return true;
        case nicaAWCoef_Delta:
            ADelta = AValue;
            return true;
        default:
            return false;
    }
}

}  // namespace

double Spacing_ActionDeltaAt(TNuo4InlineChangeAction_AWCoef AAction, double AX) {
    double D = 0;
    switch (AAction) {
        case nicaAWCoef_SetToNextGrid:
        case nicaAWCoef_SetToPrevGrid:
            return GridDelta(AX, AAction == nicaAWCoef_SetToNextGrid);
        case nicaAWCoef_Increase_Small:
        case nicaAWCoef_Increase_Large:
        case nicaAWCoef_Decrease_Small:
        case nicaAWCoef_Decrease_Large:
            StepDelta(AAction, 0, D);
            return D;
        default:
            return 0;
    }
}

namespace {

// The note left of the caret, with no highlight and an empty selection.
const TNuo4SymbolNote* CaretNote(const TNuo4SimpleBuffer& B, int32_t& AIndex) {
    if (!NoEditFocus(B)) return nullptr;
    AIndex = B.InternalStatus.Selection.GetCaretLeftPos();
    return B.Basic_GetSymbolNote(AIndex);
}

// Writes the note's new advance and spacing; in a justified line every other symbol is locked
// where it stands, so the line keeps its stretch.
bool WriteNoteSpacing(const TNuo4SimpleBuffer& B, int32_t AIndex, double ACoef,
                      const TRightLineSpacingCoefArray& AArray, TNuo4ABCTextReplaceItems& AItems) {
    const auto* O = OptionsOf(B, AIndex);
    if (!O) return false;
    TrecNuo4SymbolControlOptions_AWCoef A = O->AWCoef;
    A.LockTo(float(std::max(MinCoef, ACoef)));
    A.RightLineSpacingCoefArray = AArray;
    if (!CanSetAWCoefOptions(B, AIndex, A, AItems)) return false;
    const int32_t Line = GetLineIndexFromBasicIndex(B, AIndex);
    if (LineJustified(B, Line)) {
        const TKoRange R = LineSymbols(B, Line);
        for (int32_t I = R.StartIndex; I <= R.EndIndex(); ++I)
            if (I != AIndex) LockAt(B, I, Coef(B, I), AItems);
    }
    return true;
}

}  // namespace

bool CanAdjustRightlineSpacingCoef(const TNuo4SimpleBuffer& B, int32_t AIndex, int32_t ADashIndex,
                                   double ADelta, bool bKeepWidth,
                                   TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    const TNuo4SymbolNote* N = B.Basic_GetSymbolNote(AIndex);
    if (!N || ADashIndex < 0) return false;
    const int32_t Dashes = N->GetRightLineCount();
    if (Dashes <= 0) return false;
    if (!bKeepWidth && LineJustified(B, GetLineIndexFromBasicIndex(B, AIndex))) return false;
    TRightLineSpacingCoefArray Gaps = N->GetRightLineSpacingCoefArray();
    double Coef = N->AWCoef();
    if (ADashIndex >= Dashes) {
        double LastOffset = 0;
        for (int32_t K = 0; K < Dashes && K < Nuo4RightLineSpacingCoefCount; ++K)
            LastOffset += Gaps[K];
        Coef = std::max(Coef + ADelta, 1 + LastOffset);
    } else {
        if (ADashIndex >= Nuo4RightLineSpacingCoefCount) return false;
        const double Old = Gaps[ADashIndex];
        const double New = std::max(1.0, Old + ADelta);
        const double Moved = New - Old;
        if (std::fabs(Moved) < 1e-6) return false;
        Gaps[ADashIndex] = float(New);
        if (bKeepWidth) {
            const int32_t Next = ADashIndex + 1;
            if (Next >= Nuo4RightLineSpacingCoefCount || Gaps[Next] - Moved < 1) return false;
            Gaps[Next] = float(Gaps[Next] - Moved);
        } else {
            Coef += Moved;
        }
    }
    return Done(AItems, WriteNoteSpacing(B, AIndex, Coef, Gaps, AItems));
}

bool CanAdjustRightlineSpacingCoef_Caret(const TNuo4SimpleBuffer& B,
                                         TNuo4InlineChangeAction_AWCoef AAction, double AValue,
                                         int32_t ADashIndex, bool bKeepWidth,
                                         TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    int32_t I = -1;
    double D;
    if (!CaretNote(B, I) || !StepDelta(AAction, AValue, D)) return false;
    return CanAdjustRightlineSpacingCoef(B, I, ADashIndex, D, bKeepWidth, AItems);
}

bool CanAdjustRightDotSpacingCoef_Caret(const TNuo4SimpleBuffer& B,
                                        TNuo4InlineChangeAction_AWCoef AAction, double AValue,
                                        bool bKeepWidth, TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    int32_t I = -1;
    const TNuo4SymbolNote* N = CaretNote(B, I);
    double D;
    if (!N || !StepDelta(AAction, AValue, D) || N->GetRightDotCount() <= 0) return false;
    TRightLineSpacingCoefArray Gaps = N->GetRightLineSpacingCoefArray();
    const double Old = Gaps[0], New = std::max(0.5, Old + D);
    if (std::fabs(New - Old) < 1e-6) return false;
    Gaps[0] = float(New);
    const double Coef = N->AWCoef() + (bKeepWidth ? 0 : New - Old);
    return Done(AItems, WriteNoteSpacing(B, I, Coef, Gaps, AItems));
}

}  // namespace nuo4
