#include "layout/layout_rules.h"

#include <algorithm>
#include <cmath>

namespace nuo4 {

// ---- Durations --------------------------------------------------------------------------------

double Nuo4TupletNoteDV(int32_t ATupletNumber, int32_t AWrittenTotal, TNuo4Duration ADuration) {
    if (ATupletNumber <= 0) return Duration_Beats(ADuration);
    const double N = ATupletNumber;
    if (AWrittenTotal != 0) return Duration_Beats(ADuration) * AWrittenTotal / N;
    static const double Table[3][5] = {
        {2, 1, 0.5, 0.25, 0.125},
        {4, 2, 1, 0.5, 0.25},
        {8, 4, 2, 1, 0.5},
    };
    const int Row = ATupletNumber <= 3 ? 0 : ATupletNumber <= 7 ? 1 : 2;
    const int U = Duration_UnderlineCount(ADuration);
    const double S = U >= 0 && U <= 4 ? Table[Row][U] : 0;
    return S / N;
}

namespace {

// The tuplet ranges are painted onto the symbols, each index once: a painted run is skipped in
// one step (path-halving union-find), so tuplets nested a thousand deep cost about their count
// rather than the total length of their ranges.
class TUnpaintedIndexes {
  public:
    explicit TUnpaintedIndexes(int32_t ACount) : Next(size_t(ACount) + 1) {
        for (int32_t I = 0; I <= ACount; ++I) Next[I] = I;
    }
    // The first unpainted index not before AIndex (the count when none is left).
    int32_t From(int32_t AIndex) {
        while (Next[AIndex] != AIndex) {
            Next[AIndex] = Next[Next[AIndex]];
            AIndex = Next[AIndex];
        }
        return AIndex;
    }
    void Paint(int32_t AIndex) { Next[AIndex] = AIndex + 1; }

  private:
    std::vector<int32_t> Next;
};

// Calls AVisit(index, arc) once for every index inside a tuplet range, with the first of
// AArcOrder's arcs that holds it. Ranges must lie within ACount.
template <class TOrder, class TVisit>
void ForFirstTupletHolding(int32_t ACount, const TOrder& AArcOrder, TVisit AVisit) {
    TUnpaintedIndexes Unpainted(ACount);
    for (const TrecNuo4ArcInfoItem* Arc : AArcOrder) {
        const int32_t End = Arc->BasicIndexRange.EndIndex();
        for (int32_t I = Unpainted.From(Arc->BasicIndexRange.StartIndex); I <= End;
             I = Unpainted.From(I + 1)) {
            AVisit(I, *Arc);
            Unpainted.Paint(I);
        }
    }
}

}  // namespace

std::vector<float> Nuo4CalcDV(const std::vector<TrecNuo4DVSymbol>& ASymbols,
                              const TNuo4ArcInfoArray& AArcs) {
    const int32_t Count = int32_t(ASymbols.size());
    std::vector<float> DV(Count, 0.0f);
    // The tuplet listed last decides a note's value: the arcs are painted from the last on.
    std::vector<const TrecNuo4ArcInfoItem*> Order;
    for (auto It = AArcs.rbegin(); It != AArcs.rend(); ++It) {
        const TKoRange R = It->BasicIndexRange;
        if (It->WithTuplet() && R.IsNonEmpty() && R.EndIndex() < Count) Order.push_back(&*It);
    }
    ForFirstTupletHolding(Count, Order, [&](int32_t I, const TrecNuo4ArcInfoItem& Arc) {
        if (ASymbols[I].bNote)
            DV[I] = float(Nuo4TupletNoteDV(Arc.ABCInfo.TupletNumber, Arc.ABCInfo.Duration,
                                           ASymbols[I].Duration));
    });
    for (int32_t I = 0; I < Count; ++I)
        if (ASymbols[I].bNote && DV[I] == 0) DV[I] = float(Duration_Beats(ASymbols[I].Duration));
    return DV;
}

std::vector<float> Nuo4CalcDV_AttachBranch(const std::vector<TrecNuo4DVSymbol>& ASymbols,
                                           const TNuo4ArcInfoArray& AArcs) {
    const int32_t Count = int32_t(ASymbols.size());
    std::vector<float> DV(Count, 0.0f);
    // A note takes the first tuplet that holds it; a range running past the last symbol still
    // holds the symbols before its end.
    std::vector<TrecNuo4ArcInfoItem> Clipped;
    Clipped.reserve(AArcs.size());
    for (const TrecNuo4ArcInfoItem& Arc : AArcs) {
        const TKoRange R = Arc.BasicIndexRange;
        if (!Arc.WithTuplet() || !R.IsNonEmpty() || R.StartIndex >= Count) continue;
        Clipped.push_back(Arc);
        Clipped.back().BasicIndexRange =
            TKoRange::FromStartEnd(R.StartIndex, std::min(R.EndIndex(), Count - 1));
    }
    std::vector<const TrecNuo4ArcInfoItem*> Order;
    for (const TrecNuo4ArcInfoItem& Arc : Clipped) Order.push_back(&Arc);
    std::vector<bool> InTuplet(Count, false);
    ForFirstTupletHolding(Count, Order, [&](int32_t I, const TrecNuo4ArcInfoItem& Arc) {
        InTuplet[I] = true;
        const int32_t N = Arc.ABCInfo.TupletNumber;
        if (ASymbols[I].bNote)
            DV[I] = N >= 2 && N <= 15 ? float(Nuo4TupletNoteDV(N, 0, ASymbols[I].Duration)) : 0.0f;
    });
    for (int32_t I = 0; I < Count; ++I)
        if (ASymbols[I].bNote && !InTuplet[I]) DV[I] = float(Duration_Beats(ASymbols[I].Duration));
    return DV;
}

// ---- Measures and beats -------------------------------------------------------------------

double Nuo4BeatUnit(const TrecNuo4Meter& AMeter) {
    if (AMeter.FenMu == 8 &&
        (AMeter.FenZi == 3 || AMeter.FenZi == 6 || AMeter.FenZi == 9 || AMeter.FenZi == 12))
        return 1.5;
    return 1.0;
}

bool Nuo4IsAtFullBeat(double APos, const TrecNuo4Meter& AMeter) {
    if (APos < 0) return false;
    const double U = Nuo4BeatUnit(AMeter);
    const double Q = APos / U;
    return std::fabs(APos - std::round(Q) * U) <= 0.01;
}

TNuo4MeasureInfoArray Nuo4CalcMeasures(const std::vector<TrecNuo4MeasureSymbol>& ASymbols,
                                       const TrecNuo4Meter& AInitMeter,
                                       std::vector<TrecNuo4CalcInfo_DV>& ADV, double AInitBeatPos) {
    TNuo4MeasureInfoArray R;
    const int32_t Count = int32_t(ASymbols.size());
    ADV.assign(Count, TrecNuo4CalcInfo_DV());
    TrecNuo4Meter Meter = AInitMeter.IsValid() ? AInitMeter : TrecNuo4Meter();
    double Sum = AInitBeatPos;
    bool bContent = false;
    int32_t Start = 0;
    auto Store = [&](int32_t AEnd) {
        TrecNuo4MeasureInfoItem M;
        M.BasicIndexRange = TKoRange::FromStartEnd(Start, AEnd);
        M.Meter = Meter;
        M.Meter_System = Meter;
        M.DVSum = float(Sum);
        R.push_back(M);
    };
    for (int32_t I = 0; I < Count; ++I) {
        const TrecNuo4MeasureSymbol& S = ASymbols[I];
        TrecNuo4CalcInfo_DV& D = ADV[I];
        D.DV = S.DV;
        D.DVSumWithinMeasure_Before = float(Sum);
        Sum += S.DV;
        D.DVSumWithinMeasure_After = float(Sum);
        D.bAtFullBeat_Before = Nuo4IsAtFullBeat(D.DVSumWithinMeasure_Before, Meter);
        D.bAtFullBeat_After = Nuo4IsAtFullBeat(D.DVSumWithinMeasure_After, Meter);
        switch (S.Type) {
            case sbstMeter:
                Meter = S.Meter;
                bContent = true;
                break;
            case sbstBarline:
                if (bContent) {
                    Store(I);
                    Start = I + 1;
                    Sum = 0;
                    bContent = false;
                } else {
                    bContent = true;  // the bar line opens the next measure
                }
                break;
            case sbstReturn:
                if (bContent) {
                    Store(I - 1);
                    Sum = 0;
                    bContent = false;
                }
                Start = I + 1;  // a return never belongs to a measure
                break;
            default:
                bContent = true;
                break;
        }
        if (I == Count - 1 && bContent && S.Type != sbstReturn) Store(I);
    }
    return R;
}

// ---- MIDI notes -----------------------------------------------------------------------------

int32_t Nuo4KeyInForce(const std::vector<TrecNuo4KeyChange>& AKeys, int32_t ABasicIndex) {
    if (AKeys.empty()) return 0;
    for (auto It = AKeys.rbegin(); It != AKeys.rend(); ++It)
        if (It->FromIndex <= ABasicIndex) return It->Key;
    return AKeys.front().Key;
}

std::vector<TrecNuo4MidiResult> Nuo4CalcMidiNotes(const std::vector<TrecNuo4MidiSymbol>& ASymbols,
                                                  const TNuo4MeasureInfoArray& AMeasures,
                                                  const std::vector<TrecNuo4KeyChange>& AKeys) {
    const int32_t Count = int32_t(ASymbols.size());
    std::vector<TrecNuo4MidiResult> R(Count);
    for (const TrecNuo4MeasureInfoItem& M : AMeasures) {
        if (!M.BasicIndexRange.IsNonEmpty()) continue;
        std::vector<TrecNuo4Pitch> Remembered;  // pitches with a sharp or flat, latest last
        // The latest remembered accidental on the same digit and octave (compared in C).
        auto FindLatest = [&](const TrecNuo4Pitch& P) -> int {
            const TrecNuo4Pitch Plain = P.RemoveAccidental();
            for (int K = int(Remembered.size()) - 1; K >= 0; --K)
                if (Remembered[K].RemoveAccidental() == Plain) return K;
            return -1;
        };
        const int32_t End = std::min(M.BasicIndexRange.EndIndex(), Count - 1);
        for (int32_t I = M.BasicIndexRange.StartIndex; I <= End; ++I) {
            const TrecNuo4MidiSymbol& S = ASymbols[I];
            if (!S.bNote || S.Pitches.empty()) continue;
            const int32_t Key = Nuo4KeyInForce(AKeys, I);
            R[I].Key = ((Key % 12) + 12) % 12;  // the transposition may be folded below C
            for (const TrecNuo4Pitch& P : S.Pitches) R[I].MidiNotes.push_back(P.ToMidiNote(Key));
            const TrecNuo4Pitch& First = S.Pitches.front();
            if (!First.IsNormalDegree()) continue;
            switch (First.Accidental) {
                case ssNone: {
                    const int K = FindLatest(First);
                    if (K >= 0) {
                        int V = R[I].MidiNotes[0] + (Remembered[K].Accidental == ssSharp ? 1 : -1);
                        R[I].MidiNotes[0] = uint8_t(std::clamp(V, 0, 127));
                    }
                    break;
                }
                case ssSharp:
                case ssFlat: {
                    bool bKnown = false;
                    for (const TrecNuo4Pitch& Q : Remembered)
                        if (Q == First) bKnown = true;
                    if (!bKnown) Remembered.push_back(First);
                    break;
                }
                case ssNatural: {
                    const int K = FindLatest(First);
                    if (K >= 0) Remembered.erase(Remembered.begin() + K);
                    break;
                }
            }
        }
    }
    return R;
}

// ---- Horizontal spacing ---------------------------------------------------------------------

double TrecNuo4HorzSpacingInfoForGetAW::GetAWCoefForNoGap() const {
    if (ThisSymbol_DigitWidth <= 0) return 0;
    if (ThisSymbolIsLastSymbol()) return ThisSymbol_RightWidth / ThisSymbol_DigitWidth;
    return (ThisSymbol_RightWidth + NextSymbol_LeftWidth) / ThisSymbol_DigitWidth;
}

float Nuo4AutoGetAWCoef(const TrecNuo4HorzSpacingInfoForGetAW& A,
                        const TrecNuo4DocOptions& AOptions) {
    if (A.IsInvalid() || A.ThisSymbolIsReturn()) return 0;
    const TrecNuo4DocOptionsParam_HorzSpacing_MinGapCoef& G = AOptions.Param_HorzSpacing_Gap;
    const double N = A.GetAWCoefForNoGap();
    const double D = AOptions.Param_HorzSpacing_AW.GetAWCoef(A.ThisSymbol_DV);
    // A grace note or accidental before the next note already keeps it apart.
    const double LeftExtra = A.NextSymbol_bWithLeftExtra ? 0.6 : 1.0;

    if (A.ThisSymbolIsLastSymbol()) return float(A.ThisSymbolIsNote() ? std::max(N, D) : N);

    if (A.ThisSymbolIsNote()) {
        if (A.NextSymbolIsNote()) {
            const double Gap = G.Note_Note * LeftExtra;
            double V;
            if (A.ThisSymbol_WithRightlineAndRightlineSpacingIsNotLocked &&
                A.ThisSymbol_DigitWidth > 0) {
                const int K = Duration_RightLineCount(A.ThisSymbol_Duration);
                V = std::max(N, (K + 1) *
                                    (Gap * A.ThisSymbol_DigitWidth +
                                     A.ThisSymbol_RightLineWidth / 2 + A.NextSymbol_LeftWidth) /
                                    A.ThisSymbol_DigitWidth);
            } else {
                V = std::max(N + Gap, D);
            }
            if (A.bAtFullBeat())
                V = std::max(V, N + G.Note_Note_FullBeat * LeftExtra);
            else if (!A.NextIsWithUnderline())
                V = std::max(V, N + G.Note_Note_NonFullBeat_To4th * LeftExtra);
            return float(V);
        }
        if (A.NextSymbolIsBarline()) {
            const double H = N + G.Note_Barline;
            if (!G.bNoteBarlineGapIsFixed || A.IsWithRightLine()) return float(std::max(D, H));
            return float(H);
        }
        const double V = N + G.Note_Other;
        if (A.IsWithRightLine() || A.NextSymbol_Type == sbstAccompMarker)
            return float(std::max(V, D));
        return float(V);
    }
    if (A.ThisSymbol_Type == sbstBarline && A.NextSymbolIsNote())
        return float(N + G.Note_Barline * LeftExtra);
    return float(N + G.Note_Other);
}

void Nuo4AdjustAccompEndMarker(float& ANoteCoef, float& AMarkerCoef, double ANoteRightWidth,
                               double ANoteDigitWidth) {
    if (ANoteDigitWidth <= 0) return;
    const double S = double(ANoteCoef) + AMarkerCoef;
    const double NoteCoef = ANoteRightWidth / ANoteDigitWidth + 0.5;
    ANoteCoef = float(NoteCoef);
    AMarkerCoef = float(S - NoteCoef - 0.5);
}

bool Nuo4GetFitFactor(double ALayoutWidth, double AFixedWidth, double ATotalWidth,
                      double AMaxFactor, double& AFactor) {
    AFactor = 1;
    if (ATotalWidth - AFixedWidth <= 0) return false;
    const double F = (ALayoutWidth - AFixedWidth) / (ATotalWidth - AFixedWidth);
    // A layout width narrower than the fixed part would turn widths negative.
    if (F <= 0 || F >= AMaxFactor - 0.01) return false;
    AFactor = F;
    return true;
}

}  // namespace nuo4
