// The attach symbols grouped by the line of their owner: drawing a line reads only its own
// attachments, so drawing a page costs the same in a short score and a long one.

#include <algorithm>

#include "layout/simple_buffer.h"

namespace nuo4 {

void TNuo4SimpleBuffer::GetAttachIndexArray_ByLine() {
    const int32_t LineCount = int32_t(LineInfoArray.size());
    // The line of every basic symbol; lines follow one another in the basic buffer.
    std::vector<int32_t> LineOfBasic(size_t(Basic_GetCount()), -1);
    for (int32_t L = 0; L < LineCount; ++L) {
        const TKoRange R = LineInfoArray[L].BasicIndexRange;
        if (!R.IsNonEmpty()) continue;
        for (int32_t I = std::max(0, R.StartIndex); I <= R.EndIndex() && I < Basic_GetCount(); ++I)
            LineOfBasic[size_t(I)] = L;
    }
    std::vector<int32_t> LineOfAttach(size_t(Attach_GetCount()), -1);
    AttachLineStartArray.assign(size_t(LineCount) + 1, 0);
    for (int32_t A = 0; A < Attach_GetCount(); ++A) {
        const int32_t Owner = Attach_GetBasicIndex(A);
        if (Owner < 0 || Owner >= Basic_GetCount() || LineOfBasic[size_t(Owner)] < 0) continue;
        LineOfAttach[size_t(A)] = LineOfBasic[size_t(Owner)];
        ++AttachLineStartArray[size_t(LineOfAttach[size_t(A)]) + 1];
    }
    for (int32_t L = 0; L < LineCount; ++L)
        AttachLineStartArray[size_t(L) + 1] += AttachLineStartArray[size_t(L)];
    AttachIndexArray_ByLine.assign(size_t(AttachLineStartArray.back()), -1);
    std::vector<int32_t> Next(AttachLineStartArray.begin(), AttachLineStartArray.end() - 1);
    for (int32_t A = 0; A < Attach_GetCount(); ++A)
        if (LineOfAttach[size_t(A)] >= 0)
            AttachIndexArray_ByLine[size_t(Next[size_t(LineOfAttach[size_t(A)])]++)] = A;
}

std::vector<int32_t> TNuo4SimpleBuffer::Attach_GetIndexesOfBasicRange(TKoRange ARange) const {
    std::vector<int32_t> R;
    if (!ARange.IsNonEmpty()) return R;
    if (AttachLineStartArray.size() != LineInfoArray.size() + 1) {
        // Not grouped (a buffer between its stages): every attachment is a candidate.
        for (int32_t A = 0; A < Attach_GetCount(); ++A)
            if (ARange.Contains(Attach_GetBasicIndex(A))) R.push_back(A);
        return R;
    }
    // The first line that ends at or after the range's start.
    const auto First = std::lower_bound(
        LineInfoArray.begin(), LineInfoArray.end(), ARange.StartIndex,
        [](const TrecNuo4LineInfoItem& L, int32_t V) { return L.BasicIndexRange.EndIndex() < V; });
    int32_t Lines = 0;
    for (auto It = First; It != LineInfoArray.end(); ++It) {
        if (It->BasicIndexRange.StartIndex > ARange.EndIndex()) break;
        const size_t L = size_t(It - LineInfoArray.begin());
        const bool bWhole = ARange.Contains(It->BasicIndexRange.StartIndex) &&
                            ARange.Contains(It->BasicIndexRange.EndIndex());
        for (int32_t K = AttachLineStartArray[L]; K < AttachLineStartArray[L + 1]; ++K) {
            const int32_t A = AttachIndexArray_ByLine[size_t(K)];
            if (bWhole || ARange.Contains(Attach_GetBasicIndex(A))) R.push_back(A);
        }
        ++Lines;
    }
    if (Lines > 1) std::sort(R.begin(), R.end());
    return R;
}

}  // namespace nuo4
