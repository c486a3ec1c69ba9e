#include "layout/layout_paragraphs.h"

#include <algorithm>

namespace nuo4 {

std::vector<int32_t> Nuo4IndexToRangeMap(const TKoRangeArray& ARanges, int32_t ACount) {
    std::vector<int32_t> Map(ACount > 0 ? ACount : 0, -1);
    for (size_t R = 0; R < ARanges.size(); ++R) {
        const TKoRange& Rg = ARanges[R];
        if (!Rg.IsNonEmpty()) continue;
        for (int32_t I = std::max(0, Rg.StartIndex); I <= Rg.EndIndex() && I < ACount; ++I)
            Map[I] = static_cast<int32_t>(R);
    }
    return Map;
}

TKoRangeArray GetParagraphRangeArray(const std::vector<TNuo4SymbolType>& ATypes) {
    TKoRangeArray Result;
    const int32_t N = static_cast<int32_t>(ATypes.size());
    int32_t Start = 0;
    for (int32_t I = 0; I < N; ++I)
        if (IsReturn(ATypes[I]) || I == N - 1) {
            Result.push_back(TKoRange::FromStartEnd(Start, I));
            Start = I + 1;
        }
    return Result;
}

namespace {

template <class T>
TKoRangeArray RangesOf(const std::vector<T>& AItems, TKoRange T::*AField) {
    TKoRangeArray R;
    R.reserve(AItems.size());
    for (const auto& It : AItems) R.push_back(It.*AField);
    return R;
}

// The first index at or after AFrom (walking down to ATo) that the map assigns, or -1.
int32_t FirstMapped(const std::vector<int32_t>& AMap, int32_t AFrom, int32_t ATo) {
    for (int32_t I = AFrom; I <= ATo; ++I)
        if (I >= 0 && I < static_cast<int32_t>(AMap.size()) && AMap[I] >= 0) return AMap[I];
    return -1;
}
int32_t LastMapped(const std::vector<int32_t>& AMap, int32_t AFrom, int32_t ATo) {
    for (int32_t I = ATo; I >= AFrom; --I)
        if (I >= 0 && I < static_cast<int32_t>(AMap.size()) && AMap[I] >= 0) return AMap[I];
    return -1;
}

}  // namespace

TNuo4ParagraphInfoArray GetParagraphInfoArray(const TKoRangeArray& AParagraphRanges,
                                              const std::vector<TNuo4SymbolType>& ATypes,
                                              const TNuo4MeasureInfoArray& AMeasures,
                                              const TNuo4LineInfoArray& ALines,
                                              const TNuo4ReturnOptionsFunc& AReturnOptions) {
    const int32_t N = static_cast<int32_t>(ATypes.size());
    const auto MeasureMap =
        Nuo4IndexToRangeMap(RangesOf(AMeasures, &TrecNuo4MeasureInfoItem::BasicIndexRange), N);
    const auto LineMap =
        Nuo4IndexToRangeMap(RangesOf(ALines, &TrecNuo4LineInfoItem::BasicIndexRange), N);
    TNuo4ParagraphInfoArray Result;
    int32_t MeasuresBefore = 0, LinesBefore = 0;
    for (const TKoRange& P : AParagraphRanges) {
        TrecNuo4ParagraphInfoItem Item;
        Item.BasicIndexRange = P;
        const int32_t Last = P.EndIndex();
        const bool bWithReturn = Last >= 0 && Last < N && IsReturn(ATypes[Last]);
        const int32_t LastContent = bWithReturn ? Last - 1 : Last;
        const int32_t M0 = FirstMapped(MeasureMap, P.StartIndex, LastContent);
        const int32_t M1 = LastMapped(MeasureMap, P.StartIndex, LastContent);
        Item.MeasureIndexRange =
            M0 >= 0 ? TKoRange::FromStartEnd(M0, M1) : TKoRange(MeasuresBefore, 0);
        if (M0 >= 0) MeasuresBefore = M1 + 1;
        const int32_t L0 = FirstMapped(LineMap, P.StartIndex, Last);
        const int32_t L1 = LastMapped(LineMap, P.StartIndex, Last);
        Item.LineIndexRange = L0 >= 0 ? TKoRange::FromStartEnd(L0, L1) : TKoRange(LinesBefore, 0);
        if (L0 >= 0) LinesBefore = L1 + 1;
        if (bWithReturn && AReturnOptions) Item.Options = AReturnOptions(Last);
        Result.push_back(Item);
    }
    return Result;
}

int32_t ParagraphIndexOfLine(const TNuo4ParagraphInfoArray& AParagraphs, int32_t ALineIndex) {
    // Paragraphs hold increasing line ranges; the scan stays for ranges out of order.
    const auto It =
        std::upper_bound(AParagraphs.begin(), AParagraphs.end(), ALineIndex,
                         [](int32_t V, const auto& P) { return V < P.LineIndexRange.StartIndex; });
    if (It != AParagraphs.begin() && std::prev(It)->LineIndexRange.Contains(ALineIndex))
        return int32_t(std::prev(It) - AParagraphs.begin());
    for (size_t P = 0; P < AParagraphs.size(); ++P)
        if (AParagraphs[P].LineIndexRange.Contains(ALineIndex)) return static_cast<int32_t>(P);
    return -1;
}

}  // namespace nuo4
