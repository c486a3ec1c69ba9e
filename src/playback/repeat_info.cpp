#include "playback/repeat_info.h"

#include <algorithm>

#include "layout/simple_buffer.h"
#include "render/symbol_basic.h"

namespace nuo4 {

namespace {

TNuo4BarlineStyle BarlineStyleAt(const TNuo4SimpleBuffer& B, int32_t I) {
    if (!B.Basic_IsBarline(I)) return blsNormal;
    return static_cast<const TNuo4SymbolBarline*>(B.Basic_GetSymbol(I))->Rec().BarlineStyle;
}
bool IsStartRepeat(TNuo4BarlineStyle S) {
    return S == blsRepeatStart || S == blsRepeatBoth;
}
bool IsEndRepeat(TNuo4BarlineStyle S) {
    return S == blsRepeatEnd || S == blsRepeatBoth;
}

void Emit(std::vector<TKoRange>& AOrder, int32_t AStart, int32_t AEnd) {
    if (AEnd >= AStart) AOrder.push_back(TKoRange::FromStartEnd(AStart, AEnd));
}

}  // namespace

TrecNuo4RepeatInfo GetRepeatInfo(const TNuo4SimpleBuffer& B) {
    TrecNuo4RepeatInfo R;
    std::vector<TKoRange> Voltas;
    for (const TrecNuo4FangZiInfoItem& F : B.FangZiInfoArray) {
        const TKoRange M = F.MeasureIndexRange;
        if (!M.IsNonEmpty() || !B.CheckMeasureIndex(M.StartIndex) ||
            !B.CheckMeasureIndex(M.EndIndex()))
            continue;
        Voltas.push_back(TKoRange::FromStartEnd(
            B.MeasureInfoArray[size_t(M.StartIndex)].BasicIndexRange.StartIndex,
            B.MeasureInfoArray[size_t(M.EndIndex())].BasicIndexRange.EndIndex()));
    }
    std::sort(Voltas.begin(), Voltas.end(),
              [](const TKoRange& A, const TKoRange& C) { return A.StartIndex < C.StartIndex; });
    int32_t PrevEnd = -1;  // last basic index of the previous section
    for (size_t V = 0; V < Voltas.size();) {
        if (Voltas[V].StartIndex <= PrevEnd) {
            ++V;
            continue;
        }
        TrecNuo4RepeatSection S;
        // The run of voltas: each after one that sends back, starting where it ends.
        while (V < Voltas.size()) {
            const bool bBack = IsEndRepeat(BarlineStyleAt(B, Voltas[V].EndIndex()));
            S.Voltas.push_back(Voltas[V]);
            S.EndsWithRepeat.push_back(bBack);
            ++V;
            if (!bBack || V >= Voltas.size() ||
                Voltas[V].StartIndex != S.Voltas.back().EndIndex() + 1)
                break;
        }
        S.BodyStart = PrevEnd + 1;
        for (int32_t I = S.Voltas.front().StartIndex - 1; I > PrevEnd; --I)
            if (IsStartRepeat(BarlineStyleAt(B, I))) {
                S.BodyStart = I + 1;
                break;
            }
        PrevEnd = S.Voltas.back().EndIndex();
        // A single volta that does not send back repeats nothing.
        if (S.EndsWithRepeat.front()) R.Sections.push_back(std::move(S));
    }
    return R;
}

std::vector<TKoRange> TrecNuo4RepeatInfo::PlayOrder(int32_t ALast) const {
    std::vector<TKoRange> Order;
    int32_t Cursor = 0;
    for (const TrecNuo4RepeatSection& S : Sections) {
        const int32_t FirstVolta = S.Voltas.front().StartIndex;
        if (S.Voltas.back().EndIndex() > ALast) break;
        Emit(Order, Cursor, FirstVolta - 1);
        for (size_t J = 0; J < S.Voltas.size(); ++J) {
            if (J > 0) Emit(Order, S.BodyStart, FirstVolta - 1);
            Emit(Order, S.Voltas[J].StartIndex, S.Voltas[J].EndIndex());
        }
        if (S.EndsWithRepeat.back()) Emit(Order, S.BodyStart, FirstVolta - 1);
        Cursor = S.Voltas.back().EndIndex() + 1;
    }
    Emit(Order, Cursor, ALast);
    return Order;
}

std::vector<TKoRange> ClipPlayOrder(const std::vector<TKoRange>& AOrder, int32_t AFirst,
                                    int32_t ALast) {
    std::vector<TKoRange> R;
    bool bStarted = false;
    for (const TKoRange& P : AOrder) {
        if (!bStarted && !P.Contains(AFirst)) continue;
        bStarted = true;
        const int32_t S = std::max(P.StartIndex, AFirst), E = std::min(P.EndIndex(), ALast);
        if (E >= S) R.push_back(TKoRange::FromStartEnd(S, E));
    }
    return R;
}

}  // namespace nuo4
