#pragma once
// A small voice for the layout passes: symbol kinds, measures as the measure pass makes them,
// and a width rule of fixed advance widths.

#include <string>
#include <vector>

#include "layout/layout_records.h"
#include "render/symbol_types.h"

namespace nuo4::test {

// One character per symbol: 'n' note, '|' bar line, '$' return, 'm' meter.
inline std::vector<TNuo4SymbolType> Kinds(const std::string& S) {
    std::vector<TNuo4SymbolType> R;
    for (char C : S)
        R.push_back(C == 'n'   ? sbstNote
                    : C == '|' ? sbstBarline
                    : C == '$' ? sbstReturn
                               : sbstMeter);
    return R;
}

// Measures close at bar lines that follow content and before returns that follow content.
inline TNuo4MeasureInfoArray Measures(const std::vector<TNuo4SymbolType>& T) {
    TNuo4MeasureInfoArray R;
    int32_t Start = 0;
    bool bContent = false;
    const int32_t N = static_cast<int32_t>(T.size());
    for (int32_t I = 0; I < N; ++I) {
        TrecNuo4MeasureInfoItem M;
        if (IsBarline(T[I]) && bContent) {
            M.BasicIndexRange = TKoRange::FromStartEnd(Start, I);
            R.push_back(M);
            Start = I + 1;
            bContent = false;
        } else if (IsReturn(T[I])) {
            if (bContent) {
                M.BasicIndexRange = TKoRange::FromStartEnd(Start, I - 1);
                R.push_back(M);
                bContent = false;
            }
            Start = I + 1;
        } else {
            bContent = true;
        }
        if (I == N - 1 && bContent && !IsReturn(T[I])) {
            M.BasicIndexRange = TKoRange::FromStartEnd(Start, I);
            R.push_back(M);
        }
    }
    return R;
}

}  // namespace nuo4::test
