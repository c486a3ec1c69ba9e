// Horizontal spacing: automatic advance widths, lyric spacing, widths of runs and
// justification of the lines of justified paragraphs.

#include <algorithm>
#include <cmath>

#include "layout/layout_rules.h"
#include "layout/simple_buffer.h"
#include "layout/symbol_prefetch.h"
#include "render/note_style.h"
#include "render/note_symbol.h"

namespace nuo4 {

TrecNuo4HorzSpacingInfoForGetAW TNuo4SimpleBuffer::GetHorzSpacingInfoForGetAW(
    int32_t AIndex) const {
    TrecNuo4HorzSpacingInfoForGetAW R;
    const TNuo4Symbol* S = Basic_GetSymbol(AIndex);
    if (!S) return R;
    R.ThisSymbol_Type = Basic_GetSymbolType(AIndex);
    R.ThisSymbol_Duration = S->GetDuration();
    R.ThisSymbol_DV = S->GetDV();
    R.ThisSymbol_RightWidth = S->RightWidth();
    R.ThisSymbol_NoteStyleIndex = S->NoteStyleIndex();
    R.ThisSymbol_DigitWidth = S->DigitSize().width();
    R.ThisSymbol_bAtFullBeat_After = S->BasicInfo().DV.bAtFullBeat_After;
    if (R.ThisSymbol_Type == sbstNote) {
        const TrecNuo4PureNoteStyle* Style = GetPureNoteStylePtr(S->MainStyle(), S->SubStyle());
        R.ThisSymbol_RightLineWidth = Style ? Style->GetRightLineWidth() : 0;
        const TrecNuo4SymbolControlOptions* O = S->GetControlOptionsPtr();
        R.ThisSymbol_WithRightlineAndRightlineSpacingIsNotLocked =
            S->WithRightline() && !(O && O->RightLineSpacingCoefIsLocked());
    }
    if (const TNuo4Symbol* N = Basic_GetSymbol(AIndex + 1)) {
        R.NextSymbol_Type = Basic_GetSymbolType(AIndex + 1);
        R.NextSymbol_Duration = N->GetDuration();
        R.NextSymbol_DV = N->GetDV();
        R.NextSymbol_LeftWidth = N->LeftWidth();
        R.NextSymbol_NoteStyleIndex = N->NoteStyleIndex();
        if (const TNuo4SymbolNote* NN = Basic_GetSymbolNote(AIndex + 1))
            R.NextSymbol_bWithLeftExtra = NN->WithLeftExtra();
    }
    return R;
}

float TNuo4SimpleBuffer::_AutoGetAWCoef(int32_t AIndex) const {
    return Nuo4AutoGetAWCoef(GetHorzSpacingInfoForGetAW(AIndex), Nuo4DocOptions());
}

namespace {

// The box of the lyrics that take part in spacing (relative to the owner); empty when none.
TGPRectF OcupyLyricBounds(const TNuo4Symbol* S) {
    return S->BasicInfo().AttachmentsInfo.Lyrics.Get().Bounds.Layout;
}

// Two symbols with lyrics, ABefore and AAfter, with none between: the symbol before AAfter is
// widened until the lyrics keep their gap.
void LyricOcupyPair(TNuo4SimpleBuffer& B, int32_t ABefore, int32_t AAfter) {
    const TrecNuo4DocOptionsParam_Lyric& P = Nuo4DocOptions().Param_Lyric;
    TNuo4Symbol* SA = B.Basic_GetSymbol(ABefore);
    TNuo4Symbol* SB = B.Basic_GetSymbol(AAfter);
    Nuo4PrefetchNextLyrics(B.AttachBuffer, SB);
    double Gap = P.GapBetweenLyrics;
    if (B.Basic_WithEnglishLyric(ABefore) || B.Basic_WithEnglishLyric(AAfter))
        Gap = std::max<double>(P.GapBetweenLyrics, P.GapBetweenEnglishLyrics);
    const double Needed = OcupyLyricBounds(SA).right() - OcupyLyricBounds(SB).left() + Gap;
    double Present = 0;
    for (int32_t I = ABefore; I < AAfter; ++I) Present += B.Basic_GetSymbol(I)->AW();
    TNuo4Symbol* Before = B.Basic_GetSymbol(AAfter - 1);
    if (Needed - Present > 0.01 && !Before->AWCoefIsLocked())
        Before->SetAW(Before->AW() + (Needed - Present));
}

}  // namespace

void TNuo4SimpleBuffer::AutoSetAWCoef() {
    AutoSetAWCoef_Walk(false, false);
}

void TNuo4SimpleBuffer::UpdateBoundsTotal_AutoSetAWCoef_LyricOcupy() {
    AutoSetAWCoef_Walk(true, true);
}

void TNuo4SimpleBuffer::AutoSetAWCoef_Walk(bool bBoundsTotalAhead, bool bLyricOcupy) {
    // The spacing of a symbol reads the total bounds of itself, the one before and the one
    // after: taken one symbol ahead, they are as a whole pass before would leave them, and the
    // symbol is reached once for both.
    if (bBoundsTotalAhead && Basic_GetCount() > 0) BasicBuffer[0]->Update_Bounds_Total(true);
    // Passages are found in order and never overlap: their ends rise with the index, so one
    // cursor meets them all (a scan of all passages per symbol would grow with the square).
    size_t NextPassage = 0;
    auto SpaceOne = [&](int32_t I, TNuo4Symbol* S) {
        const TrecNuo4SymbolControlOptions* O = S->GetControlOptionsPtr();
        if (O && O->AWCoefIsLocked())
            S->SetAWCoef(O->AWCoef.AWCoef);  // set again: a note respaces its dashes
        else
            S->SetAWCoef(_AutoGetAWCoef(I));
        // Only the marker that closes a passage; a stray end marker is no passage's end.
        while (NextPassage < AccompMarkerRangeArray.size() &&
               AccompMarkerRangeArray[NextPassage].EndIndex() < I)
            ++NextPassage;
        if (NextPassage == AccompMarkerRangeArray.size() ||
            AccompMarkerRangeArray[NextPassage].EndIndex() != I)
            return;
        TNuo4Symbol* P = Basic_GetSymbol(I - 1);
        if (!P || !Basic_IsNote(I - 1) || P->AWCoefIsLocked() || P->GetDV() > 1) return;
        float NoteCoef = P->AWCoef(), MarkerCoef = S->AWCoef();
        Nuo4AdjustAccompEndMarker(NoteCoef, MarkerCoef, P->RightWidth(), P->DigitSize().width());
        P->SetAWCoef(NoteCoef);
        S->SetAWCoef(MarkerCoef);
    };
    // The lyric spacing of two symbols with lyrics reads the advance widths from the first up to
    // the one before the second and widens that one; spacing a symbol changes only its own
    // width and the one before. So a pair is taken as soon as its second symbol is spaced, and
    // every width it reads or writes is the one a whole pass of spacing before would leave.
    int32_t LastWithLyric = -1;
    for (int32_t I = 0; I < Basic_GetCount(); ++I) {
        Basic_PrefetchAhead(I);
        if (bBoundsTotalAhead && I + 1 < Basic_GetCount())
            BasicBuffer[size_t(I + 1)]->Update_Bounds_Total(true);
        TNuo4Symbol* S = Basic_GetSymbol(I);
        SpaceOne(I, S);
        if (!bLyricOcupy || RectIsEmpty(OcupyLyricBounds(S))) continue;
        if (LastWithLyric >= 0) LyricOcupyPair(*this, LastWithLyric, I);
        LastWithLyric = I;
    }
}

// ---- Lyrics -----------------------------------------------------------------------------------

bool TNuo4SimpleBuffer::Basic_WithEnglishLyric(int32_t ABasicIndex) const {
    const TNuo4Symbol* S = Basic_GetSymbol(ABasicIndex);
    if (!S || !FABCBuffer) return false;
    const auto& Verses = FABCBuffer->Section_Lyrics.VerseBuffer;
    for (int32_t A : S->BasicInfo().AttachmentsInfo.Lyrics.Get().AttachIndexArray) {
        const TNuo4Symbol* L = Attach_GetSymbol(A);
        if (!L) continue;
        const TrecNuo4CalcInfo_SymboABCTextInfo& T = L->CalcInfo.SymbolABCTextInfo;
        if (T.aType != spwabtSectionLyrics || T.LyricVerseBufIndex() < 0 ||
            T.LyricVerseBufIndex() >= int32_t(Verses.size()))
            continue;
        const auto& Lyrics = Verses[T.LyricVerseBufIndex()].LyricsArray;
        if (T.LyricPos() >= 0 && T.LyricPos() < int32_t(Lyrics.size()) &&
            Lyrics[T.LyricPos()].Text.Data.IsEnglishLyric())
            return true;
    }
    return false;
}

void TNuo4SimpleBuffer::Lyric_CheckAllOcupy() {
    auto NextWithLyric = [&](int32_t AFrom) {
        for (int32_t I = AFrom; I < Basic_GetCount(); ++I) {
            Basic_PrefetchAhead(I);
            if (!RectIsEmpty(OcupyLyricBounds(Basic_GetSymbol(I)))) return I;
        }
        return int32_t(-1);
    };
    int32_t A = NextWithLyric(0);
    while (A >= 0) {
        const int32_t B = NextWithLyric(A + 1);
        if (B < 0) break;
        LyricOcupyPair(*this, A, B);
        A = B;
    }
}

// ---- Widths of runs ---------------------------------------------------------------------------

double TNuo4SimpleBuffer::_GetLeftWidthPlusRightWidth_Range(TKoRange ARange, double AIndent) {
    if (!Basic_CheckIndex(ARange)) return 0;
    TNuo4Symbol* First = Basic_GetSymbol(ARange.StartIndex);
    double Left = std::fabs(AIndent) > 0.01 ? AIndent : First->LeftWidth();
    double P = 0;
    for (int32_t I = ARange.StartIndex; I <= ARange.EndIndex(); ++I) {
        TNuo4Symbol* S = Basic_GetSymbol(I);
        if (!RectIsEmpty(OcupyLyricBounds(S))) {
            const double X = OcupyLyricBounds(S).left();
            const double Excess = -X - P - Left;
            if (Excess > 0.01) {
                First->MutBasicInfo().ExtraBoundsForLyric_Left = float(Excess);
                First->Update_Bounds_Total(true);
                Left = -X - P;
            }
            break;
        }
        P += S->AW();
    }
    return Left + Basic_GetSymbol(ARange.EndIndex())->RightWidth();
}

double TNuo4SimpleBuffer::_GetTotalWidth_Range(TKoRange ARange, double AIndent) {
    if (!Basic_CheckIndex(ARange)) return 0;
    double W = _GetLeftWidthPlusRightWidth_Range(ARange, AIndent);
    for (int32_t I = ARange.StartIndex; I < ARange.EndIndex(); ++I) {
        Basic_PrefetchAhead(I);
        W += Basic_GetSymbol(I)->AW();
    }
    return W;
}

double TNuo4SimpleBuffer::_GetTotalFixedWidth_Range(TKoRange ARange, double AIndent) {
    if (!Basic_CheckIndex(ARange)) return 0;
    double W = _GetLeftWidthPlusRightWidth_Range(ARange, AIndent);
    if (Nuo4DocOptions().HorzSpacing_IgnoreLockedAWCoef) return W;
    for (int32_t I = ARange.StartIndex; I < ARange.EndIndex(); ++I) {
        const TNuo4Symbol* S = Basic_GetSymbol(I);
        if (S->AWCoefIsLocked()) W += S->AW();
    }
    return W;
}

// ---- Paragraph lookups --------------------------------------------------------------------

int32_t TNuo4SimpleBuffer::GetParagraphIndex_FromBasicIndex(int32_t ABasicIndex) const {
    // Paragraphs follow one another in the basic buffer: the candidate is the last one starting
    // at or before the index. Called for every line, so a scan would grow with the square of the
    // score's length; the scan stays for ranges out of order.
    const auto It =
        std::upper_bound(ParagraphInfoArray.begin(), ParagraphInfoArray.end(), ABasicIndex,
                         [](int32_t V, const auto& P) { return V < P.BasicIndexRange.StartIndex; });
    if (It != ParagraphInfoArray.begin() && std::prev(It)->BasicIndexRange.Contains(ABasicIndex))
        return int32_t(std::prev(It) - ParagraphInfoArray.begin());
    for (int32_t P = 0; P < int32_t(ParagraphInfoArray.size()); ++P)
        if (ParagraphInfoArray[P].BasicIndexRange.Contains(ABasicIndex)) return P;
    return -1;
}

double TNuo4SimpleBuffer::GetParagraphIndent(int32_t AParagraphIndex) const {
    if (AParagraphIndex < 0 || AParagraphIndex >= int32_t(ParagraphInfoArray.size())) return 0;
    return ParagraphInfoArray[AParagraphIndex].Options.IndentValue;
}

// ---- Justification ------------------------------------------------------------------------

std::vector<TrecNuo4JustifyLineCall> TNuo4SimpleBuffer::GetJustifyLineCalls() const {
    std::vector<TrecNuo4JustifyLineCall> Calls;
    for (const TrecNuo4ParagraphInfoItem& Par : ParagraphInfoArray) {
        if (!Par.Options.bJustifyHorz || !Par.LineIndexRange.IsNonEmpty()) continue;
        for (int32_t LI = Par.LineIndexRange.StartIndex; LI <= Par.LineIndexRange.EndIndex();
             ++LI) {
            if (LI < 0 || LI >= int32_t(LineInfoArray.size())) break;
            Calls.push_back({LI, Par.Options.IndentValue});
        }
    }
    return Calls;
}

int32_t TNuo4SimpleBuffer::GetLastNonEmptyLine() const {
    int32_t LastNonEmpty = -1;
    for (int32_t I = 0; I < int32_t(LineInfoArray.size()); ++I)
        if (!LineInfoArray[I].IsEmpty()) LastNonEmpty = I;
    return LastNonEmpty;
}

void TNuo4SimpleBuffer::JustifyLine(const TrecNuo4JustifyLineCall& ACall, int32_t ALastNonEmpty) {
    const TrecNuo4DocOptions& O = Nuo4DocOptions();
    const double L = O.GetLayoutWidth();
    const TrecNuo4LineInfoItem& Line = LineInfoArray[ACall.LineIndex];
    if (Line.IsEmpty()) return;
    const TKoRange R = Line.GetBasicIndexRangeExcludeReturn();
    if (!Basic_CheckIndex(R)) return;
    if (R.Length == 1) {
        TNuo4Symbol* S = Basic_GetSymbol(R.StartIndex);
        S->SetAW(L - S->LeftWidth());
        return;
    }
    if (ACall.LineIndex == ALastNonEmpty && !O.Param_FitFactor.bFitWidthForLastLine) return;
    const double F = _GetTotalFixedWidth_Range(R, ACall.Indent);
    const double T = _GetTotalWidth_Range(R, ACall.Indent);
    double Factor = 1;
    if (!Nuo4GetFitFactor(L, F, T, O.Param_FitFactor.MaxFactorForFitWidth, Factor)) return;
    for (int32_t I = R.StartIndex; I < R.EndIndex(); ++I) {
        Basic_PrefetchAhead(I);
        TNuo4Symbol* S = Basic_GetSymbol(I);
        if (S->AWCoefIsLocked() && !O.HorzSpacing_IgnoreLockedAWCoef) continue;
        S->ZoomAWCoef(float(Factor));
    }
}

void TNuo4SimpleBuffer::AdjustAWCoefToFitLayoutWidth() {
    const int32_t LastNonEmpty = GetLastNonEmptyLine();
    for (const TrecNuo4JustifyLineCall& C : GetJustifyLineCalls()) JustifyLine(C, LastNonEmpty);
}

}  // namespace nuo4
