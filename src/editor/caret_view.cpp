#include "editor/caret_view.h"

#include "layout/draw_document.h"

namespace nuo4 {

TrecNuo4PanelCaret Nuo4PanelCaretOf(const TNuo4SimpleBuffer& B) {
    TrecNuo4PanelCaret C;
    C.PtLT.PageIndex = 0;
    if (B.Basic_GetCount() == 0) {
        C.PtLT.PosAtPage = QPointF(Nuo4DocOptions().Param_Paper.MarginLeft, B.FirstLineTop_Min);
        C.Height = 6;
        return C;
    }
    TrecNuo4CaretPos_Index I = B.InternalStatus.Selection.CaretPos_End;
    if (I.BasicIndex > B.Basic_GetLast()) I = {B.Basic_GetLast(), true};
    TNuo4Symbol* S = B.Basic_GetSymbol(std::max(0, I.BasicIndex));
    const QRectF Box = S->BoundsWithPos();
    C.PtLT.PosAtPage = QPointF(I.bRight ? Box.right() + 0.5 : Box.left(), Box.top());
    C.Height = std::max(3.0, Box.height());
    int32_t Page = 0;
    for (int32_t P = 0; P < int32_t(B.PageInfoArray.size()); ++P)
        if (B.PageInfoArray[P].BasicIndexRange.Contains(I.BasicIndex)) Page = P;
    C.PtLT.PageIndex = Page;
    return C;
}

std::vector<TrecRectWithinPage> Nuo4SelectionRectsOf(const TNuo4SimpleBuffer&) {
    return {};
}

void Nuo4DrawHighlight(TNuo4SimpleBuffer& B, TKoGraphics& G) {
    const TrecNuo4Highlight& H = B.InternalStatus.Highlight;
    TNuo4Symbol* S = nullptr;
    int32_t Page = -1;
    if (H.IsBasic()) {
        S = B.Basic_GetSymbol(H.BasicIndex);
        for (int32_t P = 0; P < int32_t(B.PageInfoArray.size()); ++P)
            if (B.PageInfoArray[P].BasicIndexRange.Contains(H.BasicIndex)) Page = P;
    } else if (H.IsAttach()) {
        S = B.Attach_GetSymbol(H.AttachIndex);
        Page = B.Attach_GetPageIndex(H.AttachIndex);
    }
    if (!S || Page < 0 || Page >= int32_t(B.PageRectArray_View.size())) return;
    const QRectF R = S->BoundsWithPos().translated(B.PageRectArray_View[Page].topLeft());
    G.FillRect(R, 0x80FF0000u);
}

bool Nuo4ExecuteClick(INuo4EditorHost&, const TrecNuo4PagePos&, bool) {
    return false;
}

}  // namespace nuo4
