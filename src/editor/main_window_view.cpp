// The main window's redraw cycle, edit modes, tabs, score view events and keys.
#include <QAction>
#include <QActionGroup>
#include <QDockWidget>
#include <QKeyEvent>
#include <QMessageBox>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <cmath>

#include "edit/edit_attach_drag.h"
#include "editor/caret_view.h"
#include "editor/edit_state_check.h"
#include "editor/main_window.h"
#include "editor/status_texts.h"
#include "layout/buffer_highlight.h"
#include "layout/buffer_hit_test.h"
#include "layout/draw_document.h"
#include "render/music_font.h"

namespace nuo4 {

// ---- Redraw ---------------------------------------------------------------------------------

void TFormNuo4Main::SetCompiled(bool AValue) {
    ABCSynRichEdit->SetCompiled(AValue);
    if (QAction* A = Action("mnuSyntaxHighlight")) A->setChecked(AValue);
}

void TFormNuo4Main::Redraw(bool bScrollToCaretVisible) {
    DoRedraw(!ScoreTabShown(), bScrollToCaretVisible);
}

void TFormNuo4Main::DoRedraw(bool bCompiled, bool bScrollToCaretVisible) {
    SetCompiled(bCompiled);
    const TrecNuo4DocOptionsParam_Paper& P = Nuo4DocOptions().Param_Paper;
    const QSizeF PageSize(P.Width, P.Height);
    if (std::abs(PageSize.width() - FLastPageSize.width()) > 0.01 ||
        std::abs(PageSize.height() - FLastPageSize.height()) > 0.01) {
        FLastPageSize = PageSize;
        ScorePanel->Geometry().Params.PageSize = PageSize;
        UpdateAuxInfoChecks();  // the margin marker follows the paper
    }
    Redraw_Fast(bScrollToCaretVisible);
    UpdateTotalsStatus();
}

void TFormNuo4Main::Redraw_Fast(bool bScrollToCaretVisible) {
    TNuo4SimpleBuffer* B = GetSimpleBuffer();
    if (!B) return;
    Nuo4CheckInternalStatus(*B);
    ScorePanel->Geometry().Params.PageCount =
        std::max<int32_t>(1, int32_t(B->PageInfoArray.size()));
    ScorePanel->Geometry().GetCalcInfo(ScorePanel->size());
    const TrecNuo4PanelCaret Caret = Nuo4PanelCaretOf(*B);
    ScorePanel->SetCaretPos_PtAndSize(Caret);
    ScorePanel->SetShowCaret(FEditMode == emStandard || FEditMode == emLayout);
    if (bScrollToCaretVisible) ScorePanel->ScrollToCaretVisible();
    ScorePanel->Redraw(0, ScorePanel->Geometry().Params.PageSize);
    UpdateCaretStatus();
}

void TFormNuo4Main::UpdateOverlay() {
    ScorePanel->UpdateScreen();
}

void TFormNuo4Main::UpdateCaretStatus() {
    SetStatus(3, Nuo4StatusText_Caret(GetSimpleBuffer()));
}

void TFormNuo4Main::UpdateTotalsStatus() {
    SetStatus(4, Nuo4StatusText_Totals(GetSimpleBuffer()));
}

void TFormNuo4Main::UpdateScaleStatus() {
    SetStatus(2, Nuo4StatusText_Scale(ScorePanel->GetViewScale()));
    TNuo4ViewScaleLevel L;
    const bool bLevel = ScorePanel->GetViewScaleLevel(L);
    for (QAction* A : FScaleGroup->actions()) A->setChecked(false);
    if (bLevel) FScaleGroup->actions()[L]->setChecked(true);
}

void TFormNuo4Main::ShowMessage(const QString& AText) {
    if (MessageSink) return MessageSink(AText);
    QMessageBox::information(this, QStringLiteral("Nuo4"), AText);
}

// ---- Modes ----------------------------------------------------------------------------------

void TFormNuo4Main::SetEditMode(TNuo4EditMode AValue) {
    TNuo4SimpleBuffer* B = GetSimpleBuffer();
    if (B && B->InternalStatus.WithinSymbolEditStatusInfo.bEnable) {
        B->InternalStatus.WithinSymbolEditStatusInfo.SetToDefault();
        Redraw_Fast(false);
    }
    if (AValue == FEditMode) {
        UpdateModeUI();
        return;
    }
    if (B)
        Nuo4ChangeEditModeStatus(*B, FEditMode, AValue,
                                 ScorePanel->Geometry().PageIndexAtViewCentre());
    FEditMode = AValue;
    Redraw_Fast(false);
    UpdateModeUI();
}

void TFormNuo4Main::UpdateModeUI() {
    FModeGroup->actions()[FEditMode]->setChecked(true);
    setUpdatesEnabled(false);
    const bool bShow[6] = {FEditMode == emStandard, FEditMode == emStandard, FEditMode == emExtend,
                           FEditMode == emExtend,   FEditMode == emPage,     FEditMode == emLayout};
    for (int I = 0; I < 6; ++I) FToolBars[I]->setVisible(bShow[I]);
    FToolBarLayout2->setVisible(FEditMode == emLayout);
    setUpdatesEnabled(true);
    FFloatPages->setCurrentIndex(FEditMode);
    SetStatus(0, Nuo4EditModeName(FEditMode));
}

// ---- Tabs -----------------------------------------------------------------------------------

bool TFormNuo4Main::ScoreTabShown() const {
    return FTabs->currentIndex() == 0;
}
void TFormNuo4Main::ShowScoreTab() {
    FTabs->setCurrentIndex(0);
}
void TFormNuo4Main::ShowTextTab() {
    FTabs->setCurrentIndex(1);
}

void TFormNuo4Main::OnTabChanged(int AIndex) {
    if (AIndex == 0) {
        // Leaving the text: what was typed there becomes an undo step of the score.
        DoRedraw(false, false);
        RecordTextTabEdits();
        ScorePanel->MySetFocus();
    } else {
        DoRedraw(true, false);
        ABCSynRichEdit->setFocus();
    }
}

void TFormNuo4Main::RecordTextTabEdits() {
    if (!FUndoRedoBuffer) return;
    const TrecNuo4UndoRedoItem* Cur = FUndoRedoBuffer->GetItem();
    if (!Cur || Cur->ABCText != ABCSynRichEdit->GetABCText()) PutUndoSnapshot();
}

// ---- Undo ------------------------------------------------------------------------------------

void TFormNuo4Main::PutUndoSnapshot() {
    if (!FUndoRedoBuffer) return;
    TrecNuo4UndoRedoItem I;
    const TNuo4SimpleBuffer* B = GetSimpleBuffer();
    I.Initialize(ABCSynRichEdit->GetABCText(),
                 B ? B->InternalStatus.Selection : TrecNuo4Selection(),
                 B ? B->InternalStatus.Highlight : TrecNuo4Highlight());
    FUndoRedoBuffer->PutItem(I);
}

void TFormNuo4Main::ResetUndoRing() {
    FUndoRedoBuffer = std::make_unique<TNuo4UndoRedoBuffer>(
        30, [this](TNuo4UndoRedoBuffer*, const TrecNuo4UndoRedoItem* I) { RestoreSnapshot(I); });
    FUndoRedoBuffer->Clear();
    PutUndoSnapshot();
}

void TFormNuo4Main::RestoreSnapshot(const TrecNuo4UndoRedoItem* AItem) {
    if (!AItem) return;
    // Through one edit block of the control: its own history stays, the modified flag is ours.
    ABCSynRichEdit->ReplaceAllText(AItem->ABCText);
    DoRedraw(!ScoreTabShown(), false);
    if (TNuo4SimpleBuffer* B = GetSimpleBuffer()) {
        if (FEditMode == emStandard)
            B->InternalStatus.Selection = AItem->Selection;
        else if (FEditMode == emExtend)
            B->InternalStatus.Highlight = AItem->Highlight;
    }
    Redraw_Fast(false);
}

void TFormNuo4Main::Undo() {
    if (!ScoreTabShown()) {
        ABCSynRichEdit->document()->undo();
        if (GetCompiled()) DoRedraw(true, false);
        return;
    }
    if (FUndoRedoBuffer) FUndoRedoBuffer->Undo();
}

void TFormNuo4Main::Redo() {
    if (!ScoreTabShown()) {
        ABCSynRichEdit->document()->redo();
        if (GetCompiled()) DoRedraw(true, false);
        return;
    }
    if (FUndoRedoBuffer) FUndoRedoBuffer->Redo();
}

bool TFormNuo4Main::ReplaceText(const TNuo4ABCTextReplaceItems& AItems) {
    return ABCSynRichEdit->ReplaceText(AItems);
}

// ---- Score view events -------------------------------------------------------------------------

void TFormNuo4Main::ScorePanelEventHandler(TrecNuo4ScorePanelEventInfo& I) {
    switch (I.aType) {
        case spetTransformChanged:
            UpdateScaleStatus();
            UpdatePlayingNoteIndicator();
            break;
        case spetPaintBoxMouseMove:
            OnScorePanelEvent_PaintBoxMouseMove(I);
            break;
        case spetPaintBoxMouseDown:
            OnScorePanelEvent_PaintBoxMouseDown(I);
            break;
        case spetPaintBoxMouseUp:
            OnScorePanelEvent_PaintBoxMouseUp(I);
            break;
        case spetPaintBoxMouseDblClick:
            OnScorePanelEvent_PaintBoxDblClick(I);
            break;
        case spetBeforeDraw:
            OnScorePanelEvent_BeforeDraw();
            break;
        default:
            DrawLayer(I);
            break;
    }
}

void TFormNuo4Main::OnScorePanelEvent_BeforeDraw() {
    TNuo4SimpleBuffer* B = GetSimpleBuffer();
    if (!B) return;
    const TNuo4ScoreViewGeometry& G = ScorePanel->Geometry();
    B->PageRectArray_View = G.CalcInfo.PageRectArray;
    B->ViewPortArea = G.VisibleViewRect();
    B->ScoreArea = G.VisibleViewRect();
}

void TFormNuo4Main::DrawLayer(const TrecNuo4ScorePanelEventInfo& I) {
    TNuo4SimpleBuffer* B = GetSimpleBuffer();
    if (!B) return;
    if (I.aType == spetRequestSelectionRectArray) {
        if (I.SelectionRects && FEditMode != emPage) *I.SelectionRects = Nuo4SelectionRectsOf(*B);
        return;
    }
    if (!I.Graphics) return;
    TKoGraphics& G = *I.Graphics;
    // The overlay is drawn on every paint, which may come while another drawing (a print)
    // holds the surface: that one is given back afterwards.
    TKoGraphics* const Outer = GetDestGraphics();
    SetDestGraphics(&G);
    // Each page's layers are drawn with the surface at that page's corner.
    auto ForEachVisiblePage = [&](auto AFn) {
        const QRectF Visible = ScorePanel->Geometry().VisibleViewRect();
        for (int32_t P = 0; P < int32_t(B->PageRectArray_View.size()); ++P) {
            const QRectF& R = B->PageRectArray_View[P];
            if (!R.intersects(Visible)) continue;
            G.TranslateTransform(R.left(), R.top());
            AFn(P);
            G.TranslateTransform(-R.left(), -R.top());
        }
    };
    switch (I.aType) {
        case spetRequestDrawForeGround: {
            const QRectF Visible = ScorePanel->Geometry().VisibleViewRect();
            const TrecNuo4AuxInfoSettings& A = Nuo4AuxInfoSettings();
            // Pages outside the view are not drawn at all.
            ForEachVisiblePage([&](int32_t P) {
                (void)Visible;
                Draw_AllSymbols_Page(*B, G, odDisplay, P, A.bShowBarNumber, A.bShowLineNumber,
                                     A.bShowPageNumber, false, nullptr);
            });
            break;
        }
        case spetRequestDrawHighlight:
            Nuo4DrawHighlight(*B, G);
            break;
        case spetRequestDrawHighlightSymbolIndicator:
            ForEachVisiblePage([&](int32_t P) { DrawHighlightSymbolIndicator(*B, G, P); });
            break;
        case spetRequestDrawAWCoefLockedIndicator:
            ForEachVisiblePage([&](int32_t P) { DrawAWCoefLockedIndicator(*B, G, P); });
            break;
        case spetRequestDrawPageBreakMarker:
            ForEachVisiblePage([&](int32_t P) { DrawPageBreakMarker(*B, G, P); });
            break;
        case spetRequestDrawWithinSymbolEditStatusIndicator:
            ForEachVisiblePage([&](int32_t P) { DrawWithinSymbolEditStatusIndicator(*B, G, P); });
            break;
        default:
            break;
    }
    SetDestGraphics(Outer);
}

void TFormNuo4Main::OnScorePanelEvent_PaintBoxMouseMove(const TrecNuo4ScorePanelEventInfo& I) {
    if (!bFirstActivated) return;
    // Only the status bar changes: the score is not drawn again for a mouse move.
    const TNuo4ScoreViewGeometry& G = ScorePanel->Geometry();
    const QPoint D(I.X, I.Y);
    const QPointF V = G.DevicePosToViewPos(D);
    const TrecNuo4PagePos P = G.ViewPosToPagePos(V);
    SetStatus(6, Nuo4StatusText_Pointer(P.PosAtPage, V, D));
    TNuo4SimpleBuffer* B = GetSimpleBuffer();
    SetStatus(5, Nuo4StatusText_Symbol(
                     B, B ? Nuo4BasicIndexAtPagePos(*B, P.PageIndex, P.PosAtPage) : -1));
    // Standard mode, button down: the caret end follows the pointer, the start stays.
    if (B && FEditMode == emStandard && (I.Buttons & Qt::LeftButton) && ScorePanel->MouseIsDown() &&
        P.IsValid()) {
        TrecNuo4CaretPos_Index C;
        TrecNuo4Selection& S = B->InternalStatus.Selection;
        if (PagePosToCaretPos(*B, P.PageIndex, P.PosAtPage, C) && !(C == S.CaretPos_End)) {
            S.CaretPos_End = C;
            Nuo4EditorEditState().RememberedCaretColumnX = -1;
            Redraw_Fast(false);
        }
    }
}

void TFormNuo4Main::OnScorePanelEvent_PaintBoxMouseDown(const TrecNuo4ScorePanelEventInfo& I) {
    if (I.Button != Qt::LeftButton) return;
    const TrecNuo4PagePos P = ScorePanel->Geometry().DevicePosToPagePos(QPoint(I.X, I.Y));
    if (!P.IsValid()) return;
    TNuo4SimpleBuffer* B = GetSimpleBuffer();
    if (B && FEditMode == emLayout &&
        !(I.Shift &
          (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) &&
        !WithinSymbolEdit_GetEnable(*B)) {
        // Layout mode: an attachment under the pointer is taken for the nudging keys, with the
        // caret hidden; elsewhere the caret is placed as in standard mode.
        const TrecNuo4BufferPos Hit = PagePosToBufferPos(*B, P.PageIndex, P.PosAtPage);
        if (Hit.AttachIndex >= 0) {
            Highlight_SetToAttach(*B, Hit.AttachIndex);
            Redraw_Fast(false);
            ScorePanel->SetShowCaret(false);
            return;
        }
        Highlight_Clear(*B);
    }
    Nuo4ExecuteClick(*this, P, (I.Shift & Qt::ShiftModifier) != 0);
    if (FEditMode == emExtend || FEditMode == emPage) StartSymbolDrag(I);
}

void TFormNuo4Main::StartSymbolDrag(const TrecNuo4ScorePanelEventInfo& I) {
    const TNuo4SimpleBuffer* B = GetSimpleBuffer();
    if (!B) return;
    const TNuo4ScoreViewGeometry& G = ScorePanel->Geometry();
    TrecNuo4DragInfo_MouseDown D;
    D.MousePos = QPoint(I.X, I.Y);
    // The click has just highlighted what lies under the pointer.
    const TrecNuo4Highlight& H = B->InternalStatus.Highlight;
    TNuo4Symbol* S = Highlight_GetSymbol(*B);
    if (S && (H.IsAttach() || H.IsPage())) {
        D.SymbolBufferIndex = Highlight_GetSymbolBufferIndex(H);
        const int32_t Page = GetPageIndexFromSymbolBufferIndex(*B, D.SymbolBufferIndex);
        D.SymbolRect = G.PageRectToDeviceRect(Page, S->BoundsWithPos());
        if (H.IsPage()) {
            D.Kind = dskPage;
        } else {
            const int32_t A = H.AttachIndex;
            D.Kind = B->Attach_IsLyric(A) ? dskLyric
                     : (B->Attach_IsAttachArc(A) || B->Attach_IsAttachFangZi(A) ||
                        B->Attach_IsAttachDynamic(A) || B->Attach_IsAttachBrace(A))
                         ? dskLineAttach
                         : dskAttach;
            D.BasicIndexAttachTo = B->Attach_GetBasicIndex(A);
            if (const TNuo4Symbol* Owner = B->Basic_GetSymbol(D.BasicIndexAttachTo)) {
                D.AttachLine.Pt_from = G.PagePosToDevicePos({Page, S->Pos()});
                D.AttachLine.Pt_To = G.PagePosToDevicePos({Page, Owner->Pos()});
            } else {
                D.BasicIndexAttachTo = -1;
            }
        }
    }
    ScorePanel->StartDrag(D);
}

void TFormNuo4Main::ShowStatusMessage(const QString& AText) {
    statusBar()->showMessage(AText, 5000);
}

void TFormNuo4Main::OnScorePanelEvent_PaintBoxMouseUp(const TrecNuo4ScorePanelEventInfo& I) {
    if (I.Button != Qt::LeftButton || !I.DragInfo) return;
    const TrecNuo4DragRequest R = Nuo4DragRequestOf(*I.DragInfo);
    TNuo4SimpleBuffer* B = GetSimpleBuffer();
    if (!R.bValid || !B) return;
    const int32_t Index = R.SymbolBufferIndex.BufferInex;
    const bool bPage = R.SymbolBufferIndex.BufferType == sbtPage;
    if (!bPage && (R.SymbolBufferIndex.BufferType != sbtAttach || B->Attach_IsLyric(Index))) {
        ShowStatusMessage(QStringLiteral("此功能尚未实现"));
        return;
    }
    // The whole drag is one edit: one text change, one undo step.
    const double Scale = ScorePanel->Geometry().DeviceScale();
    const QPointF Offset = Scale > 0 ? QPointF(R.Offset) / Scale : QPointF();
    TrecNuo4EditResult A;
    const bool bOk =
        Scale > 0 && (bPage ? CanDragPageSymbol(*B, Index, R.Action == adaDuplicate, Offset, A)
                            : CanDragAttachSymbol(*B, Index, R.Action, Offset, A));
    if (!bOk || !Nuo4ApplyEdit(*this, A.Items, nullptr, nullptr, false))
        ShowStatusMessage(QStringLiteral("这个符号不能这样拖动"));
}

void TFormNuo4Main::OnScorePanelEvent_PaintBoxDblClick(const TrecNuo4ScorePanelEventInfo& I) {
    if (I.Button != Qt::LeftButton || (FEditMode != emStandard && FEditMode != emExtend)) return;
    const TNuo4SimpleBuffer* B = GetSimpleBuffer();
    const TrecNuo4PagePos P = ScorePanel->Geometry().DevicePosToPagePos(QPoint(I.X, I.Y));
    if (!B || !P.IsValid()) return;
    // The symbol and lyric dialogs are not part of the editor yet: say so instead of nothing.
    const TrecNuo4BufferPos Hit = PagePosToBufferPos(*B, P.PageIndex, P.PosAtPage);
    if (Hit.bAtTitleBlock || Hit.AttachIndex >= 0 || Hit.BasicIndex >= 0 || Hit.LineIndex >= 0)
        ShowStatusMessage(QStringLiteral("此功能尚未实现"));
}

void TFormNuo4Main::ABCSynRichEditEventHandler(const TrecNuo4ABCSynRichEditEventInfo& I) {
    if (I.aType == asreetSelectionChanged) {
        const TKoRange S = ABCSynRichEdit->GetSelection();
        SetStatus(7, Nuo4StatusText_Text(I.SelectionChanged_Line + 1, I.SelectionChanged_Column + 1,
                                         S.StartIndex, S.Length, ABCSynRichEdit->GetTextLength()));
    }
}

}  // namespace nuo4
