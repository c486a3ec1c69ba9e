// The indicator of an edit inside a symbol: which temporary voice or note is being edited and
// where inside it the spacing keys act. Drawn over the score by the view, never into it.

#include "layout/buffer_highlight.h"
#include "layout/buffer_hit_test.h"
#include "layout/draw_document.h"
#include "layout/simple_buffer.h"
#include "render/note_geometry.h"
#include "render/note_symbol.h"
#include "render/symbol_attach.h"

namespace nuo4 {

namespace {

constexpr TGPColor IndicatorColor = 0xC0E00000u;  // red, alpha 192
constexpr double MarkerWidth = 0.3;               // mm
constexpr double MarkerGap = 0.5;                 // right of the element, as the caret stands

// The right edge of element AIndex of a note (0: its digits, k: its k-th dash), from the
// note's reference point; -1 outside.
double NoteElementRight(const TNuo4SymbolNote& N, int32_t AIndex) {
    if (AIndex < 0 || AIndex > N.GetRightLineCount()) return -1;
    return AIndex == 0 ? GetBounds_MainAndChord_Basic(N.SymbolRec).right()
                       : N.GetRightlineRect(AIndex - 1).right();
}

}  // namespace

TrecNuo4WithinSymbolEditIndicator GetWithinSymbolEditIndicator(const TNuo4SimpleBuffer& B) {
    TrecNuo4WithinSymbolEditIndicator R;
    TNuo4Symbol* S = WithinSymbolEdit_GetSymbol(B);
    if (!S) return R;
    const TrecNuo4WithinSymbolEditStatusInfo& W = B.InternalStatus.WithinSymbolEditStatusInfo;
    double Right = -1;
    int32_t Page = -1;
    if (WithinSymbolEdit_IsBranch(B)) {
        auto* Branch = dynamic_cast<TNuo4SymbolAttachBranch*>(S);
        const int32_t P = W.WithinSymbolPos_Branch;
        if (!Branch || P < 0 || P >= Branch->GetBasicSymbolCount_WithRightline()) return R;
        Right = Branch->GetBasicSymbolBoundsRight_FromSymbolIndexWithRightline(P);
        Page = B.Attach_GetPageIndex(W.BufferIndex_Branch.BufferInex);
    } else {
        const auto* Note = dynamic_cast<const TNuo4SymbolNote*>(S);
        if (!Note) return R;
        Right = NoteElementRight(*Note, W.WithinSymbolPos_Note);
        if (Right < 0) return R;
        Page = GetPageIndexFromSymbolBufferIndex(B, W.BufferIndex_NoteWithRighline);
    }
    if (Page < 0) return R;
    R.PageIndex = Page;
    R.Frame = S->BoundsWithPos();
    const double X = S->Pos().x() + Right + MarkerGap;
    R.Marker = QLineF(X, R.Frame.top(), X, R.Frame.bottom());
    return R;
}

void DrawWithinSymbolEditStatusIndicator(TNuo4SimpleBuffer& B, TKoGraphics& G, int32_t APage) {
    const TrecNuo4WithinSymbolEditIndicator I = GetWithinSymbolEditIndicator(B);
    if (I.PageIndex < 0 || I.PageIndex != APage) return;
    TKoGDIPlusDrawing::DrawRectangle_Dashed_Hair(&G, IndicatorColor, I.Frame);
    QPainterPath Marker;
    Marker.moveTo(I.Marker.p1());
    Marker.lineTo(I.Marker.p2());
    TKoGDIPlusPath::PathStroke_Solid(&G, Marker, IndicatorColor, MarkerWidth);
}

}  // namespace nuo4
