// The buffer's steps of paragraphs, line breaking and the vertical layout of lines, over the
// passes of layout_paragraphs, layout_line_break and layout_vertical.

#include "format/doc_options.h"
#include "layout/buffer_layout_access.h"
#include "layout/layout_line_break.h"
#include "layout/layout_paragraphs.h"
#include "layout/layout_vertical.h"
#include "layout/simple_buffer.h"

namespace nuo4 {

const std::vector<TNuo4SymbolType>& Buffer_BasicTypes(const TNuo4SimpleBuffer& B) {
    return B.Basic_GetTypes();
}

TrecNuo4SymbolReturnPrivateOptions Buffer_ReturnOptions(const TNuo4SimpleBuffer& B,
                                                        int32_t ABasicIndex) {
    if (!B.Basic_IsReturn(ABasicIndex)) return TrecNuo4SymbolReturnPrivateOptions();
    const TNuo4Symbol* S = B.Basic_GetSymbol(ABasicIndex);
    if (!S->GetSymbolRecPtr()) return TrecNuo4SymbolReturnPrivateOptions();
    return static_cast<const TrecNuo4SymbolReturn*>(S->GetSymbolRecPtr())->PrivateOptions;
}

void TNuo4SimpleBuffer::GetParagraphRangeArray() {
    ParagraphRangeArray = nuo4::GetParagraphRangeArray(Buffer_BasicTypes(*this));
}

void TNuo4SimpleBuffer::GetParagraphInfoArray() {
    ParagraphInfoArray = nuo4::GetParagraphInfoArray(
        ParagraphRangeArray, Buffer_BasicTypes(*this), MeasureInfoArray, LineInfoArray,
        [this](int32_t I) { return Buffer_ReturnOptions(*this, I); });
}

void TNuo4SimpleBuffer::GetLineRangeArray() {
    // A run starts a line, so its paragraph's indent is its left part.
    auto Width = [this](TKoRange R) {
        return _GetTotalWidth_Range(
            R, GetParagraphIndent(GetParagraphIndex_FromBasicIndex(R.StartIndex)));
    };
    LineInfoArray = nuo4::GetLineRangeArray(Buffer_BasicTypes(*this), MeasureInfoArray, Width,
                                            Nuo4DocOptions().GetLayoutWidth());
    LineRangeArray = LineRangesOf(LineInfoArray);
}

void TNuo4SimpleBuffer::LineInfoArray_GetVertOffsets() {
    std::vector<TGPRectF> Own;
    Own.reserve(BasicBuffer.size());
    for (int32_t I = 0; I < Basic_GetCount(); ++I) {
        Basic_PrefetchAhead(I);
        Own.push_back(BasicBuffer[I]->Bounds());
    }
    const TrecNuo4DocOptions& O = Nuo4DocOptions();
    nuo4::LineInfoArray_GetVertOffsets(
        LineInfoArray, Own,
        O.Param_VertSpacing.GapCoef_Score_Lyric * O.GetNormalStyleDigitSize().Height,
        O.bFirstLineLyricGapYIsRelToBaseline);
}

void TNuo4SimpleBuffer::LineInfoArray_GetBounds() {
    std::vector<TrecNuo4CalcInfo_BoundsInfo> Boxes;
    Boxes.reserve(BasicBuffer.size());
    for (int32_t I = 0; I < Basic_GetCount(); ++I) {
        Basic_PrefetchAhead(I);
        const TNuo4Symbol* S = BasicBuffer[I].get();
        TrecNuo4CalcInfo_BoundsInfo Bx = S->BasicInfo().Bounds_Total;
        Bx.MyOffset(S->Pos());
        Boxes.push_back(Bx);
    }
    nuo4::LineInfoArray_GetBounds(LineInfoArray, Boxes);
}

void TNuo4SimpleBuffer::UpdateAllBasicSymbolsBoundsTotal_LineBounds() {
    std::vector<TrecNuo4CalcInfo_BoundsInfo> Boxes;
    Boxes.reserve(BasicBuffer.size());
    for (int32_t I = 0; I < Basic_GetCount(); ++I) {
        Basic_PrefetchAhead(I);
        TNuo4Symbol* S = BasicBuffer[I].get();
        S->Update_Bounds_Total(true);
        TrecNuo4CalcInfo_BoundsInfo Bx = S->BasicInfo().Bounds_Total;
        Bx.MyOffset(S->Pos());
        Boxes.push_back(Bx);
    }
    nuo4::LineInfoArray_GetBounds(LineInfoArray, Boxes);
}

void TNuo4SimpleBuffer::LineInfoArray_GetBaselineY() {
    const TrecNuo4DocOptions& O = Nuo4DocOptions();
    nuo4::LineInfoArray_GetBaselineY(
        LineInfoArray, ParagraphInfoArray, FirstLineTop_Min,
        O.Param_VertSpacing.GapCoef_Lyric_Score * O.GetNormalStyleDigitSize().Height);
}

std::vector<TGPPointF> TNuo4SimpleBuffer::SingleLineToSinglePage_Offsets() {
    std::vector<double> Gaps;
    for (const auto& L : LineInfoArray) {
        const int32_t First = L.BasicIndexRange.StartIndex;
        const TNuo4Symbol* S = Basic_GetSymbol(First);
        Gaps.push_back(
            GetLineIndentGap(float(GetParagraphIndent(GetParagraphIndex_FromBasicIndex(First))),
                             S ? S->LeftWidth() : 0));
    }
    return nuo4::SingleLineToSinglePage(LineInfoArray, Gaps,
                                        Nuo4DocOptions().Param_Paper.MarginLeft);
}

void TNuo4SimpleBuffer::SingleLineToSinglePage() {
    const std::vector<TGPPointF> Offsets = SingleLineToSinglePage_Offsets();
    for (size_t I = 0; I < LineInfoArray.size(); ++I)
        Basic_OffsetSymbols(LineInfoArray[I].BasicIndexRange, Offsets[I]);
}

void TNuo4SimpleBuffer::MoveLinesOntoPages(const std::vector<TGPPointF>& ALineOffsets,
                                           const std::vector<double>& APageMoves) {
    const size_t Lines = LineInfoArray.size();
    // Lines over rising, separate ranges: each symbol is moved onto the endless page and then
    // onto its own page in one visit, by the same two additions as in two passes.
    bool bSeparate = ALineOffsets.size() == Lines && APageMoves.size() == Lines;
    int32_t End = -1;
    for (size_t L = 0; bSeparate && L < Lines; ++L) {
        const TKoRange R = LineInfoArray[L].BasicIndexRange;
        if (!R.IsNonEmpty()) continue;
        bSeparate = R.StartIndex > End;
        End = R.EndIndex();
    }
    if (!bSeparate) {
        for (size_t L = 0; L < Lines && L < ALineOffsets.size(); ++L)
            Basic_OffsetSymbols(LineInfoArray[L].BasicIndexRange, ALineOffsets[L]);
        for (size_t L = 0; L < APageMoves.size(); ++L)
            if (APageMoves[L] != 0) Basic_OffsetYSymbols(int32_t(L), APageMoves[L]);
        return;
    }
    for (size_t L = 0; L < Lines; ++L) {
        const TKoRange R = LineInfoArray[L].BasicIndexRange;
        if (!R.IsNonEmpty()) continue;
        const TGPPointF D = ALineOffsets[L];
        const double Dy = APageMoves[L];
        for (int32_t I = R.StartIndex; I <= R.EndIndex(); ++I) {
            Basic_PrefetchAhead(I);
            TNuo4Symbol* S = Basic_GetSymbol(I);
            if (!S) continue;
            S->SetPos(S->Pos() + D);
            if (Dy != 0) S->SetPos(S->Pos() + TGPPointF(0, Dy));
        }
    }
}

}  // namespace nuo4
