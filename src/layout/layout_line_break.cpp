#include "layout/layout_line_break.h"

#include <cmath>

namespace nuo4 {

TNuo4LineInfoArray GetLineRangeArray(const std::vector<TNuo4SymbolType>& ATypes,
                                     const TNuo4MeasureInfoArray& AMeasures,
                                     const TNuo4RangeWidthFunc& AWidth, double ALayoutWidth) {
    const int32_t N = static_cast<int32_t>(ATypes.size());
    TKoRangeArray MeasureRanges;
    for (const auto& M : AMeasures) MeasureRanges.push_back(M.BasicIndexRange);
    const auto MeasureOf = Nuo4IndexToRangeMap(MeasureRanges, N);
    const int32_t LastMeasure = static_cast<int32_t>(AMeasures.size()) - 1;

    TNuo4LineInfoArray Lines;
    int32_t PendingFirst = -1;  // first pending measure, -1 when none
    int32_t I = 0;
    while (I < N) {
        if (IsReturn(ATypes[I])) {
            TrecNuo4LineInfoItem Line;
            Line.bWithReturn = true;
            if (PendingFirst >= 0) {
                // The return closes the measures that fit so far.
                Line.BasicIndexRange =
                    TKoRange::FromStartEnd(AMeasures[PendingFirst].BasicIndexRange.StartIndex, I);
                Line.MeasureIndexRange = TKoRange::FromStartEnd(PendingFirst, MeasureOf[I - 1]);
            } else {
                Line.BasicIndexRange = TKoRange(I, 1);
                Line.MeasureIndexRange =
                    TKoRange(Lines.empty() ? 0
                                           : Lines.back().MeasureIndexRange.StartIndex +
                                                 std::max(0, Lines.back().MeasureIndexRange.Length),
                             0);
            }
            Lines.push_back(Line);
            PendingFirst = -1;
            ++I;
            continue;
        }
        const int32_t M = MeasureOf[I];
        if (M < 0) {  // a symbol outside every measure cannot be placed on a line
            ++I;
            continue;
        }
        if (PendingFirst < 0) PendingFirst = M;
        const int32_t First = AMeasures[PendingFirst].BasicIndexRange.StartIndex;
        const int32_t LastSym = AMeasures[M].BasicIndexRange.EndIndex();
        const double W = AWidth ? AWidth(TKoRange::FromStartEnd(First, LastSym)) : 0;
        const bool bExceeded = W - ALayoutWidth > Nuo4LineWidthTolerance;
        if (!bExceeded && M != LastMeasure) {
            I = LastSym + 1;
            continue;
        }
        int32_t LineLastMeasure = M;
        if (bExceeded && M > PendingFirst) LineLastMeasure = M - 1;
        TrecNuo4LineInfoItem Line;
        Line.MeasureIndexRange = TKoRange::FromStartEnd(PendingFirst, LineLastMeasure);
        int32_t End = AMeasures[LineLastMeasure].BasicIndexRange.EndIndex();
        if (End + 1 < N && IsReturn(ATypes[End + 1])) {
            ++End;
            Line.bWithReturn = true;
        }
        Line.BasicIndexRange = TKoRange::FromStartEnd(First, End);
        Lines.push_back(Line);
        PendingFirst = -1;
        I = End + 1;
    }
    return Lines;
}

TKoRangeArray LineRangesOf(const TNuo4LineInfoArray& ALines) {
    TKoRangeArray R;
    for (const auto& L : ALines) R.push_back(L.MeasureIndexRange);
    return R;
}

double GetLineIndentGap(float AIndentValue, double AFirstSymbolLeftWidth) {
    if (std::fabs(AIndentValue) < Nuo4OptionTolerance) return 0;
    return AIndentValue - AFirstSymbolLeftWidth;
}

}  // namespace nuo4
