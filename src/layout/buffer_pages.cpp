// The buffer's steps of page breaking, separate pages and system lines, over the passes of
// layout_pages and layout_system.

#include "format/attach_symbols.h"
#include "format/doc_options.h"
#include "format/symbol_meter.h"
#include "layout/buffer_layout_access.h"
#include "layout/layout_pages.h"
#include "layout/layout_system.h"
#include "layout/simple_buffer.h"

namespace nuo4 {

namespace {

TrecNuo4PageLayoutParams PageParams(const TNuo4SimpleBuffer& B) {
    const TrecNuo4DocOptions& O = Nuo4DocOptions();
    TrecNuo4PageLayoutParams P;
    P.MarginTop = O.Param_Paper.MarginTop;
    P.LayoutHeight = O.GetLayoutHeight();
    P.FirstLineTop_Min = B.FirstLineTop_Min;
    P.MaxFactorForFitHeight = O.Param_FitFactor.MaxFactorForFitHeight;
    P.bWithTitleBlock = B.bWithTitleBlock;
    return P;
}

}  // namespace

void TNuo4SimpleBuffer::GetPageRangeArray() {
    PageInfoArray = nuo4::GetPageRangeArray(LineInfoArray, ParagraphInfoArray, PageParams(*this));
    PageRangeArray.clear();
    for (const auto& P : PageInfoArray) PageRangeArray.push_back(P.LineIndexRange);
}

void TNuo4SimpleBuffer::GetPageInfoArray() {
    for (auto& P : PageInfoArray) {
        P.Bounds.SetToEmpty();
        for (int32_t L = P.LineIndexRange.StartIndex; L <= P.LineIndexRange.EndIndex(); ++L)
            if (L >= 0 && L < int32_t(LineInfoArray.size()))
                P.Bounds.MyUnion(LineInfoArray[L].Bounds);
    }
}

std::vector<double> TNuo4SimpleBuffer::SinglePageToMultiPage_Moves() {
    return nuo4::SinglePageToMultiPage(PageInfoArray, LineInfoArray, ParagraphInfoArray,
                                       PageParams(*this));
}

void TNuo4SimpleBuffer::SinglePageToMultiPage() {
    const std::vector<double> Moves = SinglePageToMultiPage_Moves();
    for (size_t L = 0; L < Moves.size(); ++L)
        if (Moves[L] != 0) Basic_OffsetYSymbols(int32_t(L), Moves[L]);
}

std::vector<TrecNuo4BraceLayoutInfo> Buffer_Braces(const TNuo4SimpleBuffer& B) {
    std::vector<TrecNuo4BraceLayoutInfo> R;
    for (int32_t A = 0; A < B.Attach_GetCount(); ++A) {
        if (!B.Attach_IsAttachBrace(A)) continue;
        TNuo4Symbol* S = B.Attach_GetSymbol(A);
        TrecNuo4BraceLayoutInfo Info;
        Info.AttachIndex = A;
        Info.OwnerBasicIndex = B.Attach_GetBasicIndex(A);
        const TGPRectF Box = S->BoundsWithPos();
        Info.Top = Box.top();
        Info.Bottom = Box.bottom();
        // Only the square bracket and the second curly style draw their extra line.
        if (const auto* Rec = static_cast<const TrecNuo4SymbolAttachBrace*>(S->GetSymbolRecPtr()))
            if (Rec->Style == absZhiKuoHao || Rec->Style == absHuaKuoHao2)
                Info.ExtraLineLength = std::max(0.0f, Rec->Length_ExtraLine);
        R.push_back(Info);
    }
    return R;
}

void TNuo4SimpleBuffer::Process_System() {
    const auto& Types = Buffer_BasicTypes(*this);
    std::vector<TrecNuo4Meter> Meters(Types.size(), TrecNuo4Meter::Create(0, 0));
    for (int32_t I = 0; I < int32_t(Types.size()); ++I)
        if (Types[I] == sbstMeter)
            if (const auto* Rec =
                    static_cast<const TrecNuo4SymbolMeter*>(Basic_GetSymbol(I)->GetSymbolRecPtr()))
                Meters[I] = Rec->Meter;
    TrecNuo4SystemLayoutInput In;
    In.Types = &Types;
    In.SymbolMeters = &Meters;
    In.Braces = Buffer_Braces(*this);
    In.InitMeter = GetInitMeter();
    if (!In.InitMeter.IsValid()) In.InitMeter.SetToDefault();
    In.DigitHeight = Nuo4DocOptions().GetNormalStyleDigitSize().Height;
    nuo4::Process_System(In, LineInfoArray, PageInfoArray, MeasureInfoArray, SystemLineRangeArray,
                         SystemLineInfoArray);
}

}  // namespace nuo4
