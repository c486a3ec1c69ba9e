#include "layout/buffer_hit_test.h"

#include "layout/buffer_caret.h"
#include "layout/buffer_text_pos.h"
#include "layout/draw_document.h"
#include "layout/simple_buffer.h"

namespace nuo4 {

namespace {

bool PageOk(const TNuo4SimpleBuffer& B, int32_t P) {
    return P >= 0 && P < int32_t(B.PageInfoArray.size());
}

// Inclusive of the edges, so a click on a box's border hits it.
bool Inside(const TGPRectF& R, TGPPointF P) {
    return P.x() >= R.left() && P.x() <= R.right() && P.y() >= R.top() && P.y() <= R.bottom();
}

TGPRectF BoxAtPos(const TNuo4SimpleBuffer& B, int32_t ABasicIndex) {
    TNuo4Symbol* S = B.Basic_GetSymbol(ABasicIndex);
    return S ? S->BoundsWithPos() : TGPRectF();
}

double X(const TNuo4SimpleBuffer& B, int32_t I) {
    const TNuo4Symbol* S = B.Basic_GetSymbol(I);
    return S ? S->Pos().x() : 0;
}

}  // namespace

int32_t GetLineIndexFromPagePos(const TNuo4SimpleBuffer& B, int32_t APageIndex, TGPPointF APagePos,
                                bool* bExactly) {
    if (bExactly) *bExactly = false;
    if (!PageOk(B, APageIndex)) return -1;
    const TKoRange Lines = B.PageInfoArray[APageIndex].LineIndexRange;
    if (!Lines.IsNonEmpty()) return -1;
    const auto& L = B.LineInfoArray;
    const double Y = APagePos.y();
    int32_t R;
    if (Lines.Length == 1 || Y < L[Lines.StartIndex].BaselineY)
        R = Lines.StartIndex;
    else if (Y >= L[Lines.EndIndex()].BaselineY)
        R = Lines.EndIndex();
    else {
        R = Lines.EndIndex();
        for (int32_t K = Lines.StartIndex + 1; K <= Lines.EndIndex(); ++K)
            if (L[K].Bounds.Layout.top() > Y) {
                R = K - 1;
                break;
            }
    }
    if (bExactly) {
        const TGPRectF& Box = L[R].Bounds.Layout;
        *bExactly = Y >= Box.top() && Y <= Box.bottom();
    }
    return R;
}

int32_t GetBasicIndexFromPagePosAndLineIndex(const TNuo4SimpleBuffer& B, int32_t ALineIndex,
                                             TGPPointF APagePos, bool* bExactly) {
    if (bExactly) *bExactly = false;
    if (ALineIndex < 0 || ALineIndex >= int32_t(B.LineInfoArray.size())) return -1;
    const TKoRange R = B.LineInfoArray[ALineIndex].BasicIndexRange;
    if (!B.Basic_CheckIndex(R)) return -1;
    const double Px = APagePos.x();
    int32_t I;
    if (Px < X(B, R.StartIndex))
        I = R.StartIndex;
    else if (Px > X(B, R.EndIndex()))
        I = R.EndIndex();
    else {
        I = R.EndIndex();
        for (int32_t K = R.StartIndex; K < R.EndIndex(); ++K)
            if (BoxAtPos(B, K + 1).left() > Px) {
                I = K;
                break;
            }
    }
    if (bExactly) *bExactly = Inside(BoxAtPos(B, I), APagePos);
    return I;
}

int32_t PagePosToBasicIndex(const TNuo4SimpleBuffer& B, int32_t APageIndex, TGPPointF APagePos,
                            bool bAvoidReturn, bool* bExactly) {
    const int32_t L = GetLineIndexFromPagePos(B, APageIndex, APagePos);
    int32_t I = GetBasicIndexFromPagePosAndLineIndex(B, L, APagePos, bExactly);
    if (bAvoidReturn && I > 0 && B.Basic_IsReturn(I) &&
        B.LineInfoArray[L].BasicIndexRange.Contains(I - 1)) {
        --I;
        if (bExactly) *bExactly = Inside(BoxAtPos(B, I), APagePos);
    }
    return I;
}

bool PagePosToCaretPos(const TNuo4SimpleBuffer& B, int32_t APageIndex, TGPPointF APagePos,
                       TrecNuo4CaretPos_Index& ACaret) {
    const int32_t L = GetLineIndexFromPagePos(B, APageIndex, APagePos);
    if (L < 0) return false;
    const TrecNuo4LineInfoItem& Line = B.LineInfoArray[L];
    const TKoRange R = Line.BasicIndexRange;
    if (!B.Basic_CheckIndex(R)) return false;
    const double Px = APagePos.x();
    if (Px < X(B, R.StartIndex))
        ACaret = TrecNuo4CaretPos_Index::Create(R.StartIndex, false);
    else if (Px <= X(B, R.EndIndex()))
        ACaret = TrecNuo4CaretPos_Index::Create(PagePosToBasicIndex(B, APageIndex, APagePos, true),
                                                true);
    else if (Line.IsEmpty())
        ACaret = TrecNuo4CaretPos_Index::Create(R.EndIndex(), false);
    else if (Line.bWithReturn)
        ACaret = TrecNuo4CaretPos_Index::Create(R.EndIndex() - 1, true);
    else
        ACaret = TrecNuo4CaretPos_Index::Create(R.EndIndex(), true);
    return true;
}

TrecNuo4BufferPos PagePosToBufferPos(const TNuo4SimpleBuffer& B, int32_t APageIndex,
                                     TGPPointF APagePos) {
    TrecNuo4BufferPos R;
    if (!PageOk(B, APageIndex) && !(APageIndex == 0 && B.PageInfoArray.empty())) return R;
    R.PageIndex = APageIndex;
    R.PosAtPage = APagePos;
    if (APageIndex == 0 && B.bWithTitleBlock && Inside(B.TitleBlockBounds, APagePos)) {
        R.bAtTitleBlock = true;
        for (int32_t I = 0; I < int32_t(B.TitleItemsBoundsArray.size()); ++I)
            if (Inside(B.TitleItemsBoundsArray[I], APagePos)) {
                R.TitleItemIndex = I;
                break;
            }
    }
    if (PageOk(B, APageIndex)) {
        const TKoRange Lines = B.PageInfoArray[APageIndex].LineIndexRange;
        for (int32_t L = Lines.StartIndex; Lines.IsNonEmpty() && L <= Lines.EndIndex(); ++L) {
            if (!Inside(B.LineInfoArray[L].Bounds.Layout, APagePos)) continue;
            R.LineIndex = L;
            const TKoRange Syms = B.LineInfoArray[L].BasicIndexRange;
            for (int32_t I = Syms.StartIndex; Syms.IsNonEmpty() && I <= Syms.EndIndex(); ++I)
                if (Inside(BoxAtPos(B, I), APagePos)) {
                    R.BasicIndex = I;
                    R.MeasureIndex = B.GetMeasureIndex_FromBasicIndex(I);
                    R.ABCTextRange_Basic = GetABCTextRangeFromBasicIndex(B, I, true);
                    break;
                }
            break;
        }
        // The smallest box wins: a small mark over a large bracket is what the user points at.
        // Attach symbols are reached through the owners on this page, so the cost follows the
        // page, not the score. Ties keep the earlier attach index.
        double Best = 0;
        auto Try = [&](int32_t A) {
            TNuo4Symbol* S = B.Attach_GetSymbol(A);
            if (!S) return;
            const TGPRectF Box = S->BoundsWithPos();
            const double Area = Box.width() * Box.height();
            if (Area >= 999999 || !Inside(Box, APagePos)) return;
            if (R.AttachIndex < 0 || Area < Best || (Area == Best && A < R.AttachIndex)) {
                R.AttachIndex = A;
                Best = Area;
            }
        };
        const TKoRange Owners = B.PageInfoArray[APageIndex].BasicIndexRange;
        for (int32_t I = Owners.StartIndex; Owners.IsNonEmpty() && I <= Owners.EndIndex(); ++I) {
            const auto& G = B.Basic_GetSymbol(I)->BasicInfo().AttachmentsInfo;
            for (const auto* Group :
                 {&G.Lyrics, &G.Articulations, &G.Arcs, &G.FangZis, &G.Attachments})
                for (int32_t A : Group->Get().AttachIndexArray) Try(A);
        }
        if (R.AttachIndex >= 0)
            R.ABCTextRange_Attach = GetABCTextRangeFromAttachIndex(B, R.AttachIndex);
    }
    for (int32_t P = 0; P < B.PageBuffer_GetCount(); ++P) {
        TNuo4Symbol* S = B.PageBuffer_GetSymbol(P);
        if (!S || B.PageBuffer_GetPageIndex(P) != APageIndex ||
            !Inside(S->BoundsWithPos(), APagePos))
            continue;
        R.PageSymbolIndex = P;
        R.ABCTextRange_Page = GetABCTextRangeFromPageSymbolIndex(B, P);
        break;
    }
    return R;
}

TrecNuo4BufferPos ViewPosToBufferPos(const TNuo4SimpleBuffer& B, TGPPointF AViewPos) {
    const TrecNuo4PagePos P = ViewPosToPagePos(B, AViewPos);
    if (!P.IsValid()) {
        TrecNuo4BufferPos R;
        R.DevicePos = AViewPos;
        return R;
    }
    TrecNuo4BufferPos R = PagePosToBufferPos(B, P.PageIndex, P.PosAtPage);
    R.DevicePos = AViewPos;
    return R;
}

int32_t DevicePosToBasicIndex(const TNuo4SimpleBuffer& B, TGPPointF AViewPos, bool bAvoidReturn) {
    const TrecNuo4PagePos P = ViewPosToPagePos(B, AViewPos);
    return P.IsValid() ? PagePosToBasicIndex(B, P.PageIndex, P.PosAtPage, bAvoidReturn) : -1;
}

TNuo4Symbol* GetSymbolFromSymbolBufferIndex(const TNuo4SimpleBuffer& B,
                                            const TrecNuo4SymbolBufferIndex& AIndex) {
    return B.GetSymbol(AIndex);
}

int32_t GetPageIndexFromSymbolBufferIndex(const TNuo4SimpleBuffer& B,
                                          const TrecNuo4SymbolBufferIndex& AIndex) {
    switch (AIndex.BufferType) {
        case sbtBasic:
            return GetPageIndexFromBasicIndex(B, AIndex.BufferInex);
        case sbtAttach:
            return B.Attach_GetPageIndex(AIndex.BufferInex);
        case sbtPage:
            return B.PageBuffer_GetPageIndex(AIndex.BufferInex);
        default:
            return -1;
    }
}

}  // namespace nuo4
