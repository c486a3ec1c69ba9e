// Adding, changing and removing one basic symbol, and the insertions at the caret.

#include <cmath>

#include "edit/edit_internal.h"
#include "format/abc_buffer.h"
#include "format/doc_options.h"
#include "layout/simple_buffer.h"

namespace nuo4 {

namespace {

bool IsWhite(char16_t C) {
    return C == u' ' || C == u'\t' || C == u'\r' || C == u'\n';
}

// The add step of _CanEditSymbol without the attachments that follow: where the text of a new
// symbol at AIndex goes and what is put around it.
bool AddSymbolText(const TNuo4SimpleBuffer& B, int32_t AIndex, TText AText,
                   TrecNuo4ABCTextReplaceItem& AItem) {
    AItem.SetToInvalid();
    const TNuo4ABCBuffer* ABC = B.GetABCBuffer();
    if (!ABC || AIndex < 0 || AIndex > B.Basic_GetCount() || AText.empty()) return false;
    // Typing on at the end of a voice whose last symbol is no return stays on that symbol's
    // line: appending would start a new line (with a return) for every typed note.
    if (AIndex > 0 && AIndex == B.Basic_GetCount() && !B.Basic_IsReturn(AIndex - 1)) {
        const TKoRange Prev = GetABCTextRangeFromBasicIndex(B, AIndex - 1, true);
        if (Prev.IsValid()) {
            std::u16string S(AText);
            if (!B.Basic_IsNote(AIndex - 1) && !IsWhite(S.front())) S.insert(S.begin(), u' ');
            AItem.InitializeForInsert(Prev.StartIndex + Prev.Length, std::move(S));
            return true;
        }
    }
    if (B.Basic_GetCount() == 0 || AIndex == B.Basic_GetCount()) {
        std::u16string S(AText);
        // A bare melody takes the symbol at its very end: keep it off the last token.
        const std::u16string& T = ABC->ABCText();
        if (ABC->NoKeyWord() && !T.empty() && !IsWhite(T.back()) && !IsWhite(S.front()))
            S.insert(S.begin(), u' ');
        ABC->SectionVoice_AppendSymbol(S, AItem);
        return !AItem.IsInvalid();
    }
    const int32_t P = GetABCTextInsertPosFromBasicIndex(B, AIndex);
    if (P < 0) return false;
    if (B.Basic_IsNote(AIndex)) {
        AItem.InitializeForInsert(P, std::u16string(AText));
        return true;
    }
    if (AIndex == 0) {
        AItem.InitializeForInsert(P, std::u16string(AText) + u" ");
        return true;
    }
    const TKoRange Prev = GetABCTextRangeFromBasicIndex(B, AIndex - 1, true);
    if (!Prev.IsValid()) return false;
    const int32_t PrevEnd = Prev.StartIndex + Prev.Length;
    const bool bSameLine = ABC->GetLineIndexFromPos(PrevEnd - 1) == ABC->GetLineIndexFromPos(P);
    if (bSameLine && B.Basic_IsNote(AIndex - 1)) {
        AItem.InitializeForInsert(PrevEnd, std::u16string(AText));
        return true;
    }
    std::u16string S(AText);
    if (S.back() != u' ') S += u' ';
    AItem.InitializeForInsert(P, std::move(S));
    return true;
}

bool EditSymbol(const TNuo4SimpleBuffer& B, TNuo4SymbolEditType AEditType, int32_t AIndex,
                TText AAddText, TText AChangeText, TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (AIndex < 0) return false;
    TrecNuo4ABCTextReplaceItem It;
    if (AEditType == setAdd) {
        if (!AddSymbolText(B, AIndex, AAddText, It)) return false;
        VoiceEdit_AddItem(AItems, It);
        TNuo4ABCTextReplaceItems More;
        Attachments_CanInsertBasicSymbol(B, AIndex, 1, More);
        VoiceEdit_AddItems(AItems, More);
        return true;
    }
    const TKoRange R = GetABCTextRangeFromBasicIndex(B, AIndex, true);
    if (!R.IsValid()) return false;
    if (AEditType == setChange) {
        It.Initialize(R, std::u16string(AChangeText));
        VoiceEdit_AddItem(AItems, It);
        return !AItems.empty();
    }
    It.InitializeForDelete(R);
    VoiceEdit_AddItem(AItems, It);
    TNuo4ABCTextReplaceItems More;
    Attachments_CanDeleteBasicSymbol(B, AIndex, 1, More);
    VoiceEdit_AddItems(AItems, More);
    return true;
}

bool KindNeeded(const TNuo4SimpleBuffer& B, TNuo4SymbolEditType AEditType, int32_t AIndex,
                TNuo4SymbolType AType) {
    return AEditType == setAdd || B.Basic_GetSymbolType(AIndex) == AType;
}

// Insertions at the caret: an empty selection and, where asked, no highlight.
bool CaretFree(const TNuo4SimpleBuffer& B, bool bNoHighlight) {
    if (!B.InternalStatus.Selection.IsEmpty()) return false;
    return !bNoHighlight || B.InternalStatus.Highlight.IsEmpty();
}

bool InsertAtCaret(const TNuo4SimpleBuffer& B, TText AText, int32_t ACount,
                   TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        AAnswer.SetToDefault();
        const TrecNuo4Selection& S = B.InternalStatus.Selection;
        const int32_t P = S.CaretPos_End.GetRightPos();
        TrecNuo4ABCTextReplaceItem It;
        if (!AddSymbolText(B, P, AText, It)) return false;
        VoiceEdit_AddItem(AAnswer.Items, It);
        TNuo4ABCTextReplaceItems More;
        Attachments_CanInsertBasicSymbol(B, P, ACount, More);
        VoiceEdit_AddItems(AAnswer.Items, More);
        AAnswer.WithSelection(VoiceEdit_CaretAfter(S.CaretPos_End.GetLeftPos(), ACount));
        return true;
    }());
}

// Whether the measure ends at the symbol left of the caret (a bar line is due there).
bool AutoBarlineDue(const TNuo4SimpleBuffer& B) {
    if (B.Basic_GetCount() == 0 || !B.InternalStatus.Selection.IsEmpty()) return false;
    const int32_t L = B.InternalStatus.Selection.CaretPos_End.GetLeftPos();
    if (!B.Basic_CheckIndex(L) || B.Basic_IsBarline(L)) return false;
    const int32_t M = B.GetMeasureIndex_FromBasicIndex(L);
    if (!B.CheckMeasureIndex(M)) return false;
    const double Full = B.MeasureInfoArray[M].Meter.GetFullDV();
    if (std::fabs(Full) < 0.01) return false;
    const double Sum = B.Basic_GetSymbol(L)->BasicInfo().DV.DVSumWithinMeasure_After;
    return std::fabs(Sum - Full) < 0.01;
}

std::u16string BarlineText(TNuo4BarlineStyle AStyle) {
    TrecNuo4SymbolBarline R;
    R.BarlineStyle = AStyle;
    return R.ToABCText(true);
}

std::u16string ReturnText(const TrecNuo4SymbolReturnPrivateOptions& AOptions) {
    TrecNuo4SymbolReturn R;
    R.PrivateOptions = AOptions;
    return R.ToABCText(true) + u"\r";
}

}  // namespace

// ---- One symbol ------------------------------------------------------------------------------

bool _CanEditSymbol(const TNuo4SimpleBuffer& B, TNuo4SymbolEditType AEditType, int32_t AIndex,
                    TText ASymbolText, TNuo4ABCTextReplaceItems& AItems) {
    return EditSymbol(B, AEditType, AIndex, ASymbolText, ASymbolText, AItems);
}

bool CanEditSymbol_Barline(const TNuo4SimpleBuffer& B, TNuo4SymbolEditType AEditType,
                           int32_t AIndex, const TrecNuo4SymbolBarline& ABarline,
                           TNuo4SymbolElementEditTypes_Barline AElements,
                           TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (!KindNeeded(B, AEditType, AIndex, sbstBarline)) return false;
    TrecNuo4SymbolBarline New = ABarline;
    if (AEditType == setChange && AElements != 0) {
        const auto* R =
            static_cast<const TrecNuo4ABCParseInfo_Barline*>(VoiceEdit_GetRecord(B, AIndex));
        if (!R) return false;
        New = R->Value;
        if (AElements & seetbBarlineStyle) New.BarlineStyle = ABarline.BarlineStyle;
        if (AElements & seetbControlOptions) New.ControlOptions = ABarline.ControlOptions;
        if (AElements & seetbFangZi) New.FangZi = ABarline.FangZi;
    }
    std::u16string AddText = New.ToABCText(true);
    if (AEditType == setAdd) {
        const TNuo4ABCBuffer* ABC = B.GetABCBuffer();
        const int32_t P = GetABCTextInsertPosFromBasicIndex(B, AIndex);
        int Row = 0, Col = 0;
        if (ABC && P >= 0) ABC->GetRowColFromPos(P, Row, Col);
        if (Col > 80) AddText += u"\r  ";
    }
    return EditSymbol(B, AEditType, AIndex, AddText, New.ToABCText(false), AItems);
}

bool CanEditSymbol_AccompMarker(const TNuo4SimpleBuffer& B, TNuo4SymbolEditType AEditType,
                                int32_t AIndex, const TrecNuo4SymbolAccompMarker& AMarker,
                                TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (!KindNeeded(B, AEditType, AIndex, sbstAccompMarker)) return false;
    return EditSymbol(B, AEditType, AIndex, AMarker.ToABCText(true), AMarker.ToABCText(false),
                      AItems);
}

bool CanEditSymbol_Meter(const TNuo4SimpleBuffer& B, TNuo4SymbolEditType AEditType, int32_t AIndex,
                         const TrecNuo4SymbolMeter& AMeter, TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (!KindNeeded(B, AEditType, AIndex, sbstMeter)) return false;
    return EditSymbol(B, AEditType, AIndex, AMeter.ToABCText(true), AMeter.ToABCText(false),
                      AItems);
}

bool CanEditSymbol_Return(const TNuo4SimpleBuffer& B, TNuo4SymbolEditType AEditType, int32_t AIndex,
                          const TrecNuo4SymbolReturn& AReturn, TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (!KindNeeded(B, AEditType, AIndex, sbstReturn)) return false;
    return EditSymbol(B, AEditType, AIndex, AReturn.ToABCText(true) + u"\r  ",
                      AReturn.ToABCText(false), AItems);
}

bool CanEditSymbol_Text(const TNuo4SimpleBuffer& B, TNuo4SymbolEditType AEditType, int32_t AIndex,
                        const TrecNuo4SymbolText& AText, TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (!KindNeeded(B, AEditType, AIndex, sbstText)) return false;
    return EditSymbol(B, AEditType, AIndex, AText.ToABCText(true), AText.ToABCText(false), AItems);
}

bool CanEditNote(const TNuo4SimpleBuffer& B, TNuo4SymbolEditType AEditType, int32_t AIndex,
                 TText ANoteText, TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (AEditType == setRemove) return CanDeleteBasicSymbol(B, AIndex, AItems);
    if (ANoteText.empty() || AIndex < 0) return false;
    if (AEditType == setChange) {
        if (!B.Basic_IsNote(AIndex)) return false;
        return EditSymbol(B, setChange, AIndex, ANoteText, ANoteText, AItems);
    }
    // Added unchanged at the insert position of the index (at the end as any symbol).
    if (AIndex < B.Basic_GetCount()) {
        const int32_t P = GetABCTextInsertPosFromBasicIndex(B, AIndex);
        if (P < 0) return false;
        TrecNuo4ABCTextReplaceItem It;
        It.InitializeForInsert(P, std::u16string(ANoteText));
        VoiceEdit_AddItem(AItems, It);
        TNuo4ABCTextReplaceItems More;
        Attachments_CanInsertBasicSymbol(B, AIndex, 1, More);
        VoiceEdit_AddItems(AItems, More);
        return true;
    }
    return EditSymbol(B, setAdd, AIndex, ANoteText, ANoteText, AItems);
}

// ---- Insertion at an index -------------------------------------------------------------------

bool CanInsertSymbol_PureNote(const TNuo4SimpleBuffer& B, int32_t AIndex,
                              const TrecNuo4MusicPureNote& ANote,
                              TNuo4ABCTextReplaceItems& AItems) {
    return _CanEditSymbol(B, setAdd, AIndex, ToABCText_NewNote(ANote), AItems);
}

bool CanInsertSymbol_Barline(const TNuo4SimpleBuffer& B, int32_t AIndex, TNuo4BarlineStyle AStyle,
                             TNuo4ABCTextReplaceItems& AItems) {
    TrecNuo4SymbolBarline R;
    R.BarlineStyle = AStyle;
    return CanEditSymbol_Barline(B, setAdd, AIndex, R, 0, AItems);
}

bool CanInsertSymbol_Meter(const TNuo4SimpleBuffer& B, int32_t AIndex, const TrecNuo4Meter& AMeter,
                           TNuo4ABCTextReplaceItems& AItems) {
    TrecNuo4SymbolMeter R;
    R.Meter = AMeter;
    R.Scale = 1.0f;
    return CanEditSymbol_Meter(B, setAdd, AIndex, R, AItems);
}

bool CanInsertSymbol_Text(const TNuo4SimpleBuffer& B, int32_t AIndex, TText AText_ABC,
                          TNuo4ABCTextReplaceItems& AItems) {
    TrecNuo4SymbolText R;
    R.Text_ABC = std::u16string(AText_ABC);
    return CanEditSymbol_Text(B, setAdd, AIndex, R, AItems);
}

bool CanInsertSymbol_AccompMarker(const TNuo4SimpleBuffer& B, int32_t AIndex, bool bEnd,
                                  TNuo4ABCTextReplaceItems& AItems) {
    TrecNuo4SymbolAccompMarker R;
    R.aType = bEnd ? sctEnd : sctStart;
    return CanEditSymbol_AccompMarker(B, setAdd, AIndex, R, AItems);
}

bool CanInsertSymbol_Return(const TNuo4SimpleBuffer& B, int32_t AIndex,
                            const TrecNuo4SymbolReturnPrivateOptions& AOptions,
                            TNuo4ABCTextReplaceItems& AItems) {
    return _CanEditSymbol(B, setAdd, AIndex, ReturnText(AOptions), AItems);
}

// ---- Insertion at the caret ------------------------------------------------------------------

bool CanAutoInsertBarline_Caret(const TNuo4SimpleBuffer& B, TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        AAnswer.SetToDefault();
        if (!AutoBarlineDue(B)) return false;
        return InsertAtCaret(B, BarlineText(blsNormal), 1, AAnswer);
    }());
}

bool CanInsertSymbol_PureNote_Caret(const TNuo4SimpleBuffer& B, const TrecNuo4EditState& AState,
                                    const TrecNuo4MusicPureNote& ANote, TrecNuo4EditResult& AAnswer,
                                    bool* ABarlineInsertted) {
    if (ABarlineInsertted) *ABarlineInsertted = false;
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        AAnswer.SetToDefault();
        if (!CaretFree(B, false)) return false;
        std::u16string Text = ToABCText_NewNote(ANote);
        int32_t N = 1;
        const bool bBarline =
            AState.bAutoInsertBarline && AState.ConsecutiveNoteCount == 0 && AutoBarlineDue(B);
        if (bBarline) {
            Text = u" | " + Text;
            N = 2;
        }
        if (!InsertAtCaret(B, Text, N, AAnswer)) return false;
        if (ABarlineInsertted) *ABarlineInsertted = bBarline;
        return true;
    }());
}

bool CanInsertSymbol_Barline_Caret(const TNuo4SimpleBuffer& B, TNuo4BarlineStyle AStyle,
                                   TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        AAnswer.SetToDefault();
        if (!CaretFree(B, true)) return false;
        return InsertAtCaret(B, BarlineText(AStyle), 1, AAnswer);
    }());
}

bool CanInsertSymbol_Text_Caret(const TNuo4SimpleBuffer& B, TText AText_ABC,
                                TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        AAnswer.SetToDefault();
        if (!CaretFree(B, true)) return false;
        TrecNuo4SymbolText R;
        R.Text_ABC = std::u16string(AText_ABC);
        return InsertAtCaret(B, R.ToABCText(true), 1, AAnswer);
    }());
}

bool CanInsertSymbol_Meter_Caret(const TNuo4SimpleBuffer& B, const TrecNuo4Meter& AMeter,
                                 TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        AAnswer.SetToDefault();
        if (!CaretFree(B, true) || !AMeter.IsValid()) return false;
        TrecNuo4SymbolMeter R;
        R.Meter = AMeter;
        return InsertAtCaret(B, R.ToABCText(true), 1, AAnswer);
    }());
}

bool CanInsertSymbol_AccompMarker_Caret(const TNuo4SimpleBuffer& B, const TrecNuo4EditState& AState,
                                        bool bEnd, TrecNuo4EditResult& AAnswer,
                                        bool* ABarlineInsertted) {
    if (ABarlineInsertted) *ABarlineInsertted = false;
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        AAnswer.SetToDefault();
        if (!CaretFree(B, false)) return false;
        TrecNuo4SymbolAccompMarker R;
        R.aType = bEnd ? sctEnd : sctStart;
        std::u16string Text = R.ToABCText(true);
        int32_t N = 1;
        const bool bBarline = AState.bAutoInsertBarline && AutoBarlineDue(B);
        if (bBarline) {
            Text = bEnd ? Text + u" | " : u" | " + Text;
            N = 2;
        }
        if (!InsertAtCaret(B, Text, N, AAnswer)) return false;
        if (ABarlineInsertted) *ABarlineInsertted = bBarline;
        return true;
    }());
}

namespace {

bool InsertReturnAtCaret(const TNuo4SimpleBuffer& B, bool bPageBreak, bool bJustifyVert,
                         TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        AAnswer.SetToDefault();
        if (!CaretFree(B, true)) return false;
        const TrecNuo4Selection& S = B.InternalStatus.Selection;
        const int32_t P = S.CaretPos_End.GetRightPos();
        TrecNuo4SymbolReturnPrivateOptions O;
        const int32_t Par = B.GetParagraphIndex_FromBasicIndex(S.CaretPos_End.GetEditPos());
        if (Par >= 0 && Par < int32_t(B.ParagraphInfoArray.size())) {
            O.bJustifyHorz = B.ParagraphInfoArray[Par].Options.bJustifyHorz;
            O.IndentValue = B.ParagraphInfoArray[Par].Options.IndentValue;
        }
        O.ParagraphGapCoef = 1.0f;
        O.bPageBreak = bPageBreak;
        O.bJustifyVert = bPageBreak && bJustifyVert;
        const bool bWasEmpty = B.Basic_GetCount() == 0;
        TrecNuo4ABCTextReplaceItem It;
        if (!AddSymbolText(B, P, ReturnText(O), It)) return false;
        VoiceEdit_AddItem(AAnswer.Items, It);
        TNuo4ABCTextReplaceItems More;
        Attachments_CanInsertBasicSymbol(B, P, 1, More);
        VoiceEdit_AddItems(AAnswer.Items, More);
        if (bWasEmpty) {
            AAnswer.WithSelection(TrecNuo4Selection());
        } else if (P != B.Basic_GetCount() || B.Basic_IsReturn(B.Basic_GetLast())) {
            TrecNuo4Selection N;
            N.CaretPos_Start = N.CaretPos_End = {P + 1, false};
            AAnswer.WithSelection(N);
        } else {
            // The return closed the last line: the caret goes past it, so typing goes on in
            // a new line.
            TrecNuo4Selection N;
            N.CaretPos_Start = N.CaretPos_End = {P, true};
            AAnswer.WithSelection(N);
        }
        return true;
    }());
}

}  // namespace

bool CanInsertSymbol_Return_Caret(const TNuo4SimpleBuffer& B, TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(
        AAnswer, [&]() -> bool { return InsertReturnAtCaret(B, false, false, AAnswer); }());
}

bool CanInsertSymbol_PageBreak_Caret(const TNuo4SimpleBuffer& B, bool bJustifyVert,
                                     TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(
        AAnswer, [&]() -> bool { return InsertReturnAtCaret(B, true, bJustifyVert, AAnswer); }());
}

bool CanToggleBarlineStyle(const TNuo4SimpleBuffer& B, int32_t AIndex,
                           TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    const auto* R = VoiceEdit_GetRecord(B, AIndex);
    if (!R || R->Header.aType != pitBarline) return false;
    TrecNuo4SymbolBarline New = static_cast<const TrecNuo4ABCParseInfo_Barline*>(R)->Value;
    switch (New.BarlineStyle) {
        case blsNormal:
            New.BarlineStyle = blsRepeatStart;
            break;
        case blsRepeatStart:
            New.BarlineStyle = blsRepeatEnd;
            break;
        case blsRepeatEnd:
            New.BarlineStyle = blsFinal;
            break;
        case blsFinal:
            New.BarlineStyle = blsDouble;
            break;
        case blsDouble:
            New.BarlineStyle = blsDashed;
            break;
        case blsDashed:
            New.BarlineStyle = blsRepeatBoth;
            break;
        default:
            New.BarlineStyle = blsNormal;
            break;
    }
    return CanEditSymbol_Barline(B, setChange, AIndex, New, seetbBarlineStyle, AItems);
}

bool CanInsertOrToggleBarline_Style_Caret(const TNuo4SimpleBuffer& B, TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        AAnswer.SetToDefault();
        const TrecNuo4Selection& S = B.InternalStatus.Selection;
        if (!S.IsEmpty()) return false;
        const int32_t L = S.CaretPos_End.GetLeftPos();
        bool bLineStart = false;
        if (!S.CaretPos_End.bRight)
            for (const auto& Line : B.LineInfoArray)
                if (Line.BasicIndexRange.StartIndex == S.CaretPos_End.BasicIndex) bLineStart = true;
        if (B.Basic_IsBarline(L) && !bLineStart) {
            if (!CanToggleBarlineStyle(B, L, AAnswer.Items)) return false;
            AAnswer.WithSelection(S);
            return true;
        }
        return CanInsertSymbol_Barline_Caret(B, blsNormal, AAnswer);
    }());
}

bool CanInsertReturnIfOverWidth(const TNuo4SimpleBuffer& B, TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        AAnswer.SetToDefault();
        const int32_t E = B.InternalStatus.Selection.CaretPos_End.GetEditPos();
        const TrecNuo4DocOptions& O = Nuo4DocOptions();
        const double Right = O.Param_Paper.MarginLeft + O.GetLayoutWidth();
        for (const auto& Line : B.LineInfoArray) {
            const TKoRange R = Line.GetBasicIndexRangeExcludeReturn();
            if (!(E >= Line.BasicIndexRange.StartIndex && E <= Line.BasicIndexRange.EndIndex()))
                continue;
            if (!R.IsNonEmpty()) return false;
            const TNuo4Symbol* Last = B.Basic_GetSymbol(R.EndIndex());
            // A line laid out to the margin may end a little past it by rounding (a
            // justified line): only a real overflow takes a return.
            if (!Last || Last->RightPos_Total() <= Right + 0.1) return false;
            return CanInsertSymbol_Return_Caret(B, AAnswer);
        }
        return false;
    }());
}

bool CanChangeMeter_Caret(const TNuo4SimpleBuffer&, const TrecNuo4Meter&,
                          TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        AAnswer.SetToDefault();
        return false;
    }());
}

}  // namespace nuo4
