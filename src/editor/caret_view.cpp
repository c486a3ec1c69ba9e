#include "editor/caret_view.h"

#include "layout/buffer_caret.h"
#include "layout/buffer_highlight.h"
#include "layout/buffer_hit_test.h"
#include "layout/buffer_selection.h"
#include "layout/draw_document.h"

namespace nuo4 {

TrecNuo4PanelCaret Nuo4PanelCaretOf(const TNuo4SimpleBuffer& B) {
    const TrecNuo4CaretPos_PtAndSize C =
        ConvertCaretInfo_IndexToPosAndSize(B, B.InternalStatus.Selection.CaretPos_End);
    TrecNuo4PanelCaret R;
    R.PtLT.PageIndex = C.PageIndex;
    R.PtLT.PosAtPage = C.PtLT;
    R.Height = C.Height;
    return R;
}

std::vector<TrecRectWithinPage> Nuo4SelectionRectsOf(const TNuo4SimpleBuffer& B) {
    std::vector<TrecRectWithinPage> R;
    for (const TrecNuo4SelectionRect& S : GetSelectionRectArray(B, B.InternalStatus.Selection))
        R.push_back({S.PageIndex, S.Rect});
    return R;
}

void Nuo4DrawHighlight(TNuo4SimpleBuffer& B, TKoGraphics& G) {
    const TrecNuo4Highlight& H = B.InternalStatus.Highlight;
    TNuo4Symbol* S = Highlight_GetSymbol(B);
    if (!S) return;
    const int32_t Page = GetPageIndexFromSymbolBufferIndex(B, Highlight_GetSymbolBufferIndex(H));
    if (Page < 0 || Page >= int32_t(B.PageRectArray_View.size())) return;
    const QRectF R = S->BoundsWithPos().translated(B.PageRectArray_View[Page].topLeft());
    G.FillRect(R.adjusted(-0.3, -0.3, 0.3, 0.3), 0x40FF0000u);
}

bool Nuo4ExecuteClick(INuo4EditorHost& H, const TrecNuo4PagePos& APos, bool bShift) {
    TNuo4SimpleBuffer* B = H.GetSimpleBuffer();
    if (!B || !APos.IsValid()) return false;
    TrecNuo4SimpleBufferInternalStatus& S = B->InternalStatus;
    switch (H.GetEditMode()) {
        case emStandard:
        case emLayout: {
            TrecNuo4CaretPos_Index C;
            if (!PagePosToCaretPos(*B, APos.PageIndex, APos.PosAtPage, C)) return false;
            S.Selection.CaretPos_End = C;
            if (!bShift) S.Selection.CaretPos_Start = C;
            Nuo4EditorEditState().RememberedCaretColumnX = -1;
            break;
        }
        case emExtend: {
            const TrecNuo4BufferPos P = PagePosToBufferPos(*B, APos.PageIndex, APos.PosAtPage);
            if (P.AttachIndex >= 0)
                Highlight_SetToAttach(*B, P.AttachIndex);
            else if (P.BasicIndex >= 0)
                Highlight_SetToBasic(*B, P.BasicIndex);
            else
                Highlight_Clear(*B);
            break;
        }
        case emPage: {
            const TrecNuo4BufferPos P = PagePosToBufferPos(*B, APos.PageIndex, APos.PosAtPage);
            S.CurrPageIndexForPageMode = APos.PageIndex;
            if (P.PageSymbolIndex >= 0)
                Highlight_SetToPage(*B, P.PageSymbolIndex);
            else
                Highlight_Clear(*B);
            break;
        }
    }
    H.Redraw_Fast(false);
    return true;
}

}  // namespace nuo4
