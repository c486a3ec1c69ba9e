#include "editor/score_panel.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

namespace nuo4 {

const char* EnumName(TNuo4ScorePanelEventType AValue) {
    static const char* const Names[] = {"spetTransformChanged",
                                        "spetPaintBoxMouseMove",
                                        "spetPaintBoxMouseDown",
                                        "spetPaintBoxMouseUp",
                                        "spetPaintBoxMouseDblClick",
                                        "spetBeforeDraw",
                                        "spetRequestSelectionRectArray",
                                        "spetRequestDrawForeGround",
                                        "spetRequestDrawHighlight",
                                        "spetRequestDrawHighlightSymbolIndicator",
                                        "spetRequestDrawAWCoefLockedIndicator",
                                        "spetRequestDrawPageBreakMarker",
                                        "spetRequestDrawWithinSymbolEditStatusIndicator",
                                        "spetRequestDrawPlayingNote"};
    return AValue <= spetRequestDrawPlayingNote ? Names[AValue] : "?";
}

// The drawing area: shows the off-screen image and the caret, passes the mouse and keys on.
class TKoScorePanel::TPaintBox : public QWidget {
  public:
    explicit TPaintBox(TKoScorePanel* AOwner) : QWidget(AOwner), FOwner(AOwner) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_NoSystemBackground);
        setMouseTracking(true);
        setFocusPolicy(Qt::StrongFocus);
        // An active input method would swallow the letter keys that enter notes.
        setAttribute(Qt::WA_InputMethodEnabled, false);
    }

  protected:
    void paintEvent(QPaintEvent* E) override {
        QPainter P(this);
        FOwner->PaintBoxPaint(P, E->rect());
    }
    void mousePressEvent(QMouseEvent* E) override {
        setFocus(Qt::MouseFocusReason);
        FOwner->PaintBoxMouse(E, spetPaintBoxMouseDown);
    }
    void mouseMoveEvent(QMouseEvent* E) override {
        FOwner->PaintBoxMouse(E, spetPaintBoxMouseMove);
    }
    void mouseReleaseEvent(QMouseEvent* E) override {
        FOwner->PaintBoxMouse(E, spetPaintBoxMouseUp);
    }
    void mouseDoubleClickEvent(QMouseEvent* E) override {
        FOwner->PaintBoxMouse(E, spetPaintBoxMouseDblClick);
    }
    void wheelEvent(QWheelEvent* E) override { FOwner->PaintBoxWheel(E); }
    bool event(QEvent* E) override {
        // The keys the view's handlers take are the view's, not a menu shortcut's.
        // Esc ends a drag before any other use of the key.
        if ((E->type() == QEvent::ShortcutOverride || E->type() == QEvent::KeyPress) &&
            static_cast<QKeyEvent*>(E)->key() == Qt::Key_Escape && FOwner->FDrag.Status != dsNone) {
            if (E->type() == QEvent::KeyPress) FOwner->CancelDrag();
            E->accept();
            return true;
        }
        if (E->type() == QEvent::ShortcutOverride && FOwner->FKeyHandler &&
            FOwner->FKeyHandler(static_cast<QKeyEvent*>(E), true)) {
            E->accept();
            return true;
        }
        if (E->type() == QEvent::KeyPress && FOwner->FKeyHandler) {
            QKeyEvent* K = static_cast<QKeyEvent*>(E);
            // Tab is a key of the view in some modes, not a focus move.
            if (FOwner->FKeyHandler(K, false)) {
                E->accept();
                return true;
            }
        }
        if (E->type() == QEvent::KeyRelease && FOwner->FKeyHandler &&
            !static_cast<QKeyEvent*>(E)->isAutoRepeat())
            FOwner->FKeyHandler(static_cast<QKeyEvent*>(E), false);
        if (E->type() == QEvent::FocusIn || E->type() == QEvent::FocusOut) {
            FOwner->FCaretIsShowing = E->type() == QEvent::FocusIn && FOwner->FShowCaret;
            update(FOwner->GetCaretRect_Device().adjusted(-2, -2, 2, 2));
        }
        return QWidget::event(E);
    }

  private:
    TKoScorePanel* FOwner;
};

TKoScorePanel::TKoScorePanel(QWidget* AOwner, TScorePanelEventHandler AHandler)
    : QWidget(AOwner), FScorePanelEvent(std::move(AHandler)) {
    FPaintBox = new TPaintBox(this);
    sbHorz = new QScrollBar(Qt::Horizontal, this);
    sbVert = new QScrollBar(Qt::Vertical, this);
    FCorner = new QWidget(this);
    FCorner->setAutoFillBackground(true);
    FCorner->setBackgroundRole(QPalette::Button);
    for (QScrollBar* S : {sbHorz, sbVert}) {
        S->setRange(0, Nuo4ScrollBarMax);
        S->setSingleStep(50);
    }
    FGeom.Params.ScrollBarExtent = sbVert->sizeHint().width();
    connect(sbHorz, &QScrollBar::valueChanged, this,
            [this](int V) { OnScroll(Qt::Horizontal, V); });
    connect(sbVert, &QScrollBar::valueChanged, this, [this](int V) { OnScroll(Qt::Vertical, V); });
    Timer_Caret.setInterval(400);
    connect(&Timer_Caret, &QTimer::timeout, this, &TKoScorePanel::OnCaretTimer);
    Timer_Caret.start();
    setFocusProxy(FPaintBox);
}

void TKoScorePanel::resizeEvent(QResizeEvent*) {
    GetCalcInfoAndUpdateHMI();
    InvalidateImage();
}

void TKoScorePanel::SetFixedColumnCount(int32_t ACount) {
    FGeom.Params.FixedColumnCount = ACount;
}

void TKoScorePanel::Redraw(int32_t APagesCount, QSizeF APageSize) {
    if (APagesCount > 0) FGeom.Params.PageCount = APagesCount;
    if (APageSize.isValid()) FGeom.Params.PageSize = APageSize;
    GetCalcInfoAndUpdateHMI();
    InvalidateImage();
}

void TKoScorePanel::GetCalcInfoAndUpdateHMI() {
    const TrecNuo4GraphicsTransformInfo Old = FGeom.Transform;
    FGeom.GetCalcInfo(size());
    const TrecCalcInfo_ScrollBarAndPaintBox& C = FGeom.CalcInfo;
    const int Bar = FGeom.Params.ScrollBarExtent;
    FPaintBox->setGeometry(0, 0, C.PaintBoxSize_Pixel.width(), C.PaintBoxSize_Pixel.height());
    FUpdatingBars = true;
    sbHorz->setVisible(C.bScrollBarVisible_Horz);
    sbVert->setVisible(C.bScrollBarVisible_Vert);
    sbHorz->setGeometry(0, height() - Bar, C.PaintBoxSize_Pixel.width(), Bar);
    sbVert->setGeometry(width() - Bar, 0, Bar, C.PaintBoxSize_Pixel.height());
    sbHorz->setPageStep(C.ScrollBarPageSize_Horz);
    sbHorz->setMaximum(Nuo4ScrollBarMax - C.ScrollBarPageSize_Horz);
    sbHorz->setValue(C.ScrollBarPosition_Horz);
    sbVert->setPageStep(C.ScrollBarPageSize_Vert);
    sbVert->setMaximum(Nuo4ScrollBarMax - C.ScrollBarPageSize_Vert);
    sbVert->setValue(C.ScrollBarPosition_Vert);
    FUpdatingBars = false;
    const bool bCorner = C.bScrollBarVisible_Horz && C.bScrollBarVisible_Vert;
    FCorner->setVisible(bCorner);
    if (bCorner) FCorner->setGeometry(width() - Bar, height() - Bar, Bar, Bar);
    if (!(Old == FGeom.Transform)) RaiseTransformChanged();
}

void TKoScorePanel::RaiseTransformChanged() {
    TrecNuo4ScorePanelEventInfo I;
    I.aType = spetTransformChanged;
    if (FScorePanelEvent) FScorePanelEvent(I);
}

void TKoScorePanel::OnScroll(Qt::Orientation AOrientation, int AValue) {
    if (FUpdatingBars) return;
    FGeom.ScrollBarScroll(AOrientation, AValue);
    RaiseTransformChanged();
    InvalidateImage();
}

void TKoScorePanel::SetViewScale(double AScale) {
    AScale = std::clamp(AScale, 0.05, 10.0);
    if (std::abs(AScale - FGeom.Transform.Scale) < 1e-9) return;
    // The view point at the top-left stays where it is.
    FGeom.Transform.Scale = AScale;
    GetCalcInfoAndUpdateHMI();
    RaiseTransformChanged();
    InvalidateImage();
}

void TKoScorePanel::StepViewScale(int ADelta) {
    const double S = GetViewScale();
    int Level = -1;
    if (ADelta > 0) {
        for (int I = 0; I < Nuo4ViewScaleLevelCount && Level < 0; ++I)
            if (Nuo4ViewScaleOfLevel(TNuo4ViewScaleLevel(I)) > S + 0.01) Level = I;
    } else {
        for (int I = Nuo4ViewScaleLevelCount - 1; I >= 0 && Level < 0; --I)
            if (Nuo4ViewScaleOfLevel(TNuo4ViewScaleLevel(I)) < S - 0.01) Level = I;
    }
    if (Level >= 0) SetViewScaleLevel(TNuo4ViewScaleLevel(Level));
}

void TKoScorePanel::SetViewLocation(QPointF ALocation) {
    TrecNuo4GraphicsTransformInfo T = FGeom.Transform;
    T.Location = ALocation;
    SetTransformInfo(T);
}

void TKoScorePanel::SetTransformInfo(const TrecNuo4GraphicsTransformInfo& AInfo) {
    if (AInfo == FGeom.Transform) return;
    FGeom.Transform = AInfo;
    GetCalcInfoAndUpdateHMI();
    RaiseTransformChanged();
    InvalidateImage();
}

void TKoScorePanel::SetShowMarginMarker(bool AOn, QMarginsF AMargins) {
    FShowMargin = AOn;
    FMargins = AMargins;
}

// ---- Drawing --------------------------------------------------------------------------------

void TKoScorePanel::DrawBackground(QPainter& P) {
    P.fillRect(FImage.rect(), FColors.Panel);
    const double Px = 1.0;
    for (const QRectF& R : FGeom.CalcInfo.PageRectArray) {
        const QRectF D = FGeom.ViewRectToDeviceRectF(R);
        if (!D.intersects(QRectF(FImage.rect()))) continue;
        P.fillRect(D.translated(3 * Px, 3 * Px), FColors.PageShadow);
        P.fillRect(D, FColors.Paper);
        P.setPen(QPen(FColors.PageFrame, 0));
        P.drawRect(D);
        if (FShowMargin) {
            const QRectF M = R.marginsRemoved(FMargins);
            P.setPen(QPen(FColors.Margin, 0, Qt::DashLine));
            P.drawRect(FGeom.ViewRectToDeviceRectF(M));
        }
        if (FShowGrid) {
            P.setPen(QPen(FColors.Grid, 0, Qt::DotLine));
            for (double X = 10; X < R.width(); X += 10)
                P.drawLine(FGeom.ViewPosToDevicePosF(R.topLeft() + QPointF(X, 0)),
                           FGeom.ViewPosToDevicePosF(R.topLeft() + QPointF(X, R.height())));
            for (double Y = 10; Y < R.height(); Y += 10)
                P.drawLine(FGeom.ViewPosToDevicePosF(R.topLeft() + QPointF(0, Y)),
                           FGeom.ViewPosToDevicePosF(R.topLeft() + QPointF(R.width(), Y)));
        }
    }
}

void TKoScorePanel::InvalidateImage() {
    // The buffer learns the view's page rectangles now: the mouse may ask before the paint.
    TrecNuo4ScorePanelEventInfo I;
    I.aType = spetBeforeDraw;
    if (FScorePanelEvent) FScorePanelEvent(I);
    bImageStale = true;
    UpdateScreen();
}

const QImage& TKoScorePanel::MemImage() {
    if (bImageStale) Draw();
    return FImage;
}

void TKoScorePanel::Draw() {
    bImageStale = false;
    const QSize Size = FGeom.CalcInfo.PaintBoxSize_Pixel;
    if (Size.isEmpty()) return;
    if (FImage.size() != Size) {
        FImage = QImage(Size, QImage::Format_RGB32);
        // The surface's millimetres follow the image's resolution.
        const int Dpm = int(std::lround(FGeom.Params.PixelsPerMM * 1000));
        FImage.setDotsPerMeterX(Dpm);
        FImage.setDotsPerMeterY(Dpm);
    }
    ++FDrawCount;
    TrecNuo4ScorePanelEventInfo I;
    I.aType = spetBeforeDraw;
    if (FScorePanelEvent) FScorePanelEvent(I);
    QPainter P(&FImage);
    DrawBackground(P);

    TKoGraphics G(&P);
    PrepareGraphics(G, FGeom.Transform.Scale);
    G.TranslateTransform(-FGeom.Transform.Location.x(), -FGeom.Transform.Location.y());
    auto Raise = [&](TNuo4ScorePanelEventType AType) {
        TrecNuo4ScorePanelEventInfo E;
        E.aType = AType;
        E.Graphics = &G;
        if (FScorePanelEvent) FScorePanelEvent(E);
    };
    // Selection under the symbols, so that they stay readable.
    std::vector<TrecRectWithinPage> Rects;
    {
        TrecNuo4ScorePanelEventInfo E;
        E.aType = spetRequestSelectionRectArray;
        E.SelectionRects = &Rects;
        if (FScorePanelEvent) FScorePanelEvent(E);
        P.save();
        P.resetTransform();
        for (const TrecRectWithinPage& R : Rects)
            P.fillRect(FGeom.PageRectToDeviceRect(R.PageIndex, R.Rect), FColors.Selection);
        P.restore();
    }
    Raise(spetRequestDrawForeGround);
    Raise(spetRequestDrawHighlight);
    Raise(spetRequestDrawHighlightSymbolIndicator);
    Raise(spetRequestDrawAWCoefLockedIndicator);
    Raise(spetRequestDrawPageBreakMarker);
    // The in-symbol edit indicator is the overlay (PaintBoxPaint): it moves without this.
    Raise(spetRequestDrawPlayingNote);
}

void TKoScorePanel::DrawOverlay(QPainter& P) {
    if (!FScorePanelEvent) return;
    P.save();
    TKoGraphics G(&P);
    PrepareGraphics(G, FGeom.Transform.Scale);
    G.TranslateTransform(-FGeom.Transform.Location.x(), -FGeom.Transform.Location.y());
    TrecNuo4ScorePanelEventInfo E;
    E.aType = spetRequestDrawWithinSymbolEditStatusIndicator;
    E.Graphics = &G;
    FScorePanelEvent(E);
    P.restore();
}

void TKoScorePanel::UpdateScreen() {
    FPaintBox->update();
}

void TKoScorePanel::PaintBoxPaint(QPainter& P, const QRect& ARect) {
    if (bImageStale) Draw();
    if (FImage.isNull())
        P.fillRect(ARect, FColors.Panel);
    else
        P.drawImage(ARect.topLeft(), FImage, ARect);
    if (!FImage.isNull()) DrawOverlay(P);
    if (FCaretIsShowing && FShowCaret && FCaretPos_PtAndSize.PtLT.IsValid()) {
        const QRect C = GetCaretRect_Device();
        if (C.intersects(ARect)) P.fillRect(C, FColors.Caret);
    }
    if (FDrag.HasFeedback()) DrawDragFeedback(P);
}

// ---- Drag feedback -------------------------------------------------------------------------

void TKoScorePanel::DrawDragFeedback(QPainter& P) const {
    const TrecNuo4DragInfo_MouseMove& M = FDrag.MouseMove;
    P.save();
    P.setRenderHint(QPainter::Antialiasing, false);
    // Drawn over the score image; the image under it is shown again when it moves.
    P.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    QPen Dashed(Qt::white, 0, Qt::DashLine);
    P.setPen(Dashed);
    P.setBrush(Qt::NoBrush);
    P.drawRect(M.SymbolRect);
    if (FDrag.MouseDown.BasicIndexAttachTo >= 0) {
        P.drawLine(M.AttachLine.Pt_from, M.AttachLine.Pt_To);
        P.setPen(QPen(Qt::white, 0));
        const QPointF C = M.AttachLine.Pt_from;
        P.drawLine(C - QPointF(4, 0), C + QPointF(4, 0));
        P.drawLine(C - QPointF(0, 4), C + QPointF(0, 4));
    }
    P.restore();
}

QRect TKoScorePanel::DragFeedbackDeviceRect() const {
    if (!FDrag.HasFeedback()) return QRect();
    const TrecNuo4DragInfo_MouseMove& M = FDrag.MouseMove;
    QRectF R = M.SymbolRect;
    if (FDrag.MouseDown.BasicIndexAttachTo >= 0)
        R = R.united(QRectF(M.AttachLine.Pt_from, M.AttachLine.Pt_To).normalized())
                .united(QRectF(M.AttachLine.Pt_from - QPointF(4, 4), QSizeF(8, 8)));
    return R.toAlignedRect().adjusted(-2, -2, 2, 2);
}

void TKoScorePanel::UpdateDragFeedback(const QRect& AOld) {
    // Only the pixels of the old and the new feedback come again from the image.
    if (!AOld.isNull()) FPaintBox->update(AOld);
    const QRect New = DragFeedbackDeviceRect();
    if (!New.isNull()) FPaintBox->update(New);
}

void TKoScorePanel::StartDrag(const TrecNuo4DragInfo_MouseDown& ADown) {
    const QRect Old = DragFeedbackDeviceRect();
    Nuo4DragStart(FDrag, ADown);
    UpdateDragFeedback(Old);
}

void TKoScorePanel::CancelDrag() {
    const QRect Old = DragFeedbackDeviceRect();
    FDrag.SetToDefault();
    FPaintBox->unsetCursor();
    UpdateDragFeedback(Old);
}

// ---- Caret ---------------------------------------------------------------------------------

void TKoScorePanel::SetCaretPos_PtAndSize(const TrecNuo4PanelCaret& ACaret) {
    const QRect Old = GetCaretRect_Device();
    FCaretPos_PtAndSize = ACaret;
    // A moved caret shows at once and blinks from there.
    FCaretIsShowing = FShowCaret && FPaintBox->hasFocus();
    Timer_Caret.start();
    FPaintBox->update(Old.adjusted(-2, -2, 2, 2));
    FPaintBox->update(GetCaretRect_Device().adjusted(-2, -2, 2, 2));
}

void TKoScorePanel::SetShowCaret(bool AValue) {
    FShowCaret = AValue;
    if (!AValue) FCaretIsShowing = false;
    FPaintBox->update(GetCaretRect_Device().adjusted(-2, -2, 2, 2));
}

QRect TKoScorePanel::GetCaretRect_Device() const {
    if (!FCaretPos_PtAndSize.PtLT.IsValid()) return QRect();
    const QPointF Top = FGeom.PagePosToDevicePos(FCaretPos_PtAndSize.PtLT);
    const double H = FCaretPos_PtAndSize.Height * FGeom.DeviceScale();
    const int W = std::max(2, int(std::lround(0.4 * FGeom.DeviceScale())));
    return QRect(int(std::floor(Top.x())), int(std::floor(Top.y())), W,
                 std::max(1, int(std::lround(H))));
}

void TKoScorePanel::OnCaretTimer() {
    if (!FShowCaret || !FPaintBox->hasFocus()) {
        if (FCaretIsShowing) {
            FCaretIsShowing = false;
            FPaintBox->update(GetCaretRect_Device().adjusted(-2, -2, 2, 2));
        }
        return;
    }
    FCaretIsShowing = !FCaretIsShowing;
    // Only the caret's few pixels are repainted, from the image; the score is not drawn.
    FPaintBox->update(GetCaretRect_Device().adjusted(-2, -2, 2, 2));
}

bool TKoScorePanel::ScrollToCaretVisible() {
    if (!FCaretPos_PtAndSize.PtLT.IsValid()) return false;
    const QPointF Top = FGeom.PagePosToViewPos(FCaretPos_PtAndSize.PtLT);
    const QRectF R(Top, QSizeF(0.5, FCaretPos_PtAndSize.Height));
    QPointF Loc;
    if (!FGeom.CalcLocationToShow(R, 10, Loc)) return false;
    FGeom.Transform.Location = Loc;
    GetCalcInfoAndUpdateHMI();
    RaiseTransformChanged();
    return true;
}

QWidget* TKoScorePanel::PaintBox() const {
    return FPaintBox;
}

void TKoScorePanel::MySetFocus() {
    FPaintBox->setFocus(Qt::OtherFocusReason);
}

// ---- Mouse -----------------------------------------------------------------------------------

void TKoScorePanel::PaintBoxMouse(QMouseEvent* E, TNuo4ScorePanelEventType AType) {
    TrecNuo4ScorePanelEventInfo I;
    I.aType = AType;
    I.Button = E->button();
    I.Buttons = E->buttons();
    I.Shift = E->modifiers();
    I.X = int(E->position().x());
    I.Y = int(E->position().y());
    if (AType == spetPaintBoxMouseDown && E->button() == Qt::LeftButton) {
        bMouseDown = true;
        bDragging = false;
        Pos_MouseDown = E->position().toPoint();
        // A new press forgets a drag whose release never came (the pointer left the window).
        FDrag.SetToDefault();
    } else if (AType == spetPaintBoxMouseMove && bMouseDown) {
        const int Distance =
            FStartDragDistance >= 0 ? FStartDragDistance : QApplication::startDragDistance();
        if (!bDragging && (E->position().toPoint() - Pos_MouseDown).manhattanLength() >= Distance) {
            bDragging = true;
            I.bStartDrag = true;
        }
        const QRect Old = DragFeedbackDeviceRect();
        if (Nuo4DragMove(FDrag, E->position().toPoint(), E->modifiers(), Distance)) {
            UpdateDragFeedback(Old);
            const bool bHorz = FDrag.Status == dsResizeToLeft || FDrag.Status == dsResizeToRight;
            FPaintBox->setCursor(!FDrag.IsResizing() ? Qt::SizeAllCursor
                                 : bHorz             ? Qt::SizeHorCursor
                                                     : Qt::SizeVerCursor);
        }
    } else if (AType == spetPaintBoxMouseUp && E->button() == Qt::LeftButton) {
        bMouseDown = false;
    }
    I.bDragging = bDragging;
    const bool bUp = AType == spetPaintBoxMouseUp && E->button() == Qt::LeftButton;
    if (bUp) {
        bDragging = false;
        if (FDrag.Status != dsNone) I.DragInfo = &FDrag;
    }
    if (FScorePanelEvent) FScorePanelEvent(I);
    if (bUp) CancelDrag();
}

void TKoScorePanel::PaintBoxWheel(QWheelEvent* E) {
    const QPointF Steps = QPointF(E->angleDelta()) / 120.0;
    if (E->modifiers() & Qt::ControlModifier) {
        if (Steps.y() != 0) StepViewScale(Steps.y() > 0 ? 1 : -1);
    } else {
        // Three lines of 10 mm per notch, as desktop viewers scroll.
        QPointF Loc = FGeom.Transform.Location;
        const bool bHorz = (E->modifiers() & Qt::ShiftModifier) || Steps.y() == 0;
        const double D = -(bHorz ? (Steps.x() ? Steps.x() : Steps.y()) : Steps.y()) * 30.0;
        if (bHorz)
            Loc.rx() += D;
        else
            Loc.ry() += D;
        SetViewLocation(Loc);
    }
    E->accept();
}

}  // namespace nuo4
