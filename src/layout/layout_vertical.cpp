#include "layout/layout_vertical.h"

#include <algorithm>

#include "layout/layout_paragraphs.h"

namespace nuo4 {

void LineInfoArray_GetVertOffsets(TNuo4LineInfoArray& ALines,
                                  const std::vector<TGPRectF>& AOwnBoxes, double AGapScoreLyric,
                                  bool bRelToBaseline) {
    const int32_t N = static_cast<int32_t>(AOwnBoxes.size());
    for (auto& L : ALines) {
        double Top = 0, Bottom = 0;
        for (int32_t I = L.BasicIndexRange.StartIndex; I <= L.BasicIndexRange.EndIndex(); ++I) {
            if (I < 0 || I >= N || RectIsEmpty(AOwnBoxes[I])) continue;
            Top = std::min(Top, AOwnBoxes[I].top());
            Bottom = std::max(Bottom, AOwnBoxes[I].bottom());
        }
        L.VertOffset_BasicSymbol_Top = static_cast<float>(Top);
        L.VertOffset_BasicSymbol_Bottom = static_cast<float>(Bottom);
        L.VertOffset_FirstLyricLine =
            static_cast<float>(bRelToBaseline ? AGapScoreLyric : AGapScoreLyric + Bottom);
    }
}

void LineInfoArray_GetBounds(TNuo4LineInfoArray& ALines,
                             const std::vector<TrecNuo4CalcInfo_BoundsInfo>& ATotalBoxesAtPos) {
    const int32_t N = static_cast<int32_t>(ATotalBoxesAtPos.size());
    for (auto& L : ALines) {
        L.Bounds.SetToEmpty();
        for (int32_t I = L.BasicIndexRange.StartIndex; I <= L.BasicIndexRange.EndIndex(); ++I)
            if (I >= 0 && I < N) L.Bounds.MyUnion(ATotalBoxesAtPos[I]);
    }
}

double GetGapAboveLine(const TNuo4LineInfoArray& ALines, const TNuo4ParagraphInfoArray& AParas,
                       int32_t ALine, double AG) {
    if (ALine <= 0 || ALine >= static_cast<int32_t>(ALines.size())) return 0;
    const auto& Prev = ALines[ALine - 1];
    if (ALines[ALine].IsEmpty() || Prev.IsEmpty()) return AG / 2;
    if (Prev.bWithReturn) {
        const int32_t P = ParagraphIndexOfLine(AParas, ALine - 1);
        if (P >= 0) return AG * AParas[P].Options.ParagraphGapCoef;
    }
    return AG;
}

void LineInfoArray_GetBaselineY(TNuo4LineInfoArray& ALines, const TNuo4ParagraphInfoArray& AParas,
                                double AFirstLineTop_Min, double AG) {
    for (size_t I = 0; I < ALines.size(); ++I) {
        auto& L = ALines[I];
        if (I == 0) {
            L.BaselineY = static_cast<float>(AFirstLineTop_Min - L.Bounds.Layout.top());
            continue;
        }
        const auto& Prev = ALines[I - 1];
        const double Gap = GetGapAboveLine(ALines, AParas, static_cast<int32_t>(I), AG);
        L.BaselineY = static_cast<float>(Prev.Bounds.Layout.bottom() + Prev.BaselineY + Gap -
                                         L.Bounds.Layout.top());
    }
}

std::vector<TGPPointF> SingleLineToSinglePage(TNuo4LineInfoArray& ALines,
                                              const std::vector<double>& AIndentGaps,
                                              double AMarginLeft) {
    std::vector<TGPPointF> Offsets;
    for (size_t I = 0; I < ALines.size(); ++I) {
        auto& L = ALines[I];
        const double Gap = I < AIndentGaps.size() ? AIndentGaps[I] : 0;
        const TGPPointF D(AMarginLeft + Gap - L.Bounds.Layout.left(), L.BaselineY);
        L.Bounds.MyOffset(D);
        Offsets.push_back(D);
    }
    return Offsets;
}

}  // namespace nuo4
