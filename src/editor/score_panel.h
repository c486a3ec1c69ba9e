#pragma once
// The score view: the pages of the score on a virtual sheet, an off-screen image of the score
// layers, two scroll bars in the 0..5000 range and a blinking caret. The score is drawn into the
// image only when it changed (Redraw, a scroll or a zoom), and then once, at the next paint:
// several changes before a paint (an edit and its scroll, keys that came in together) cost one
// drawing. The caret, the mouse and the overlay (the in-symbol edit indicator, asked for on every
// paint) never redraw it, they only repaint the screen from the image.

#include <QImage>
#include <QScrollBar>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

#include "editor/score_drag.h"
#include "editor/score_view_calc.h"
#include "render/draw_utils.h"

namespace nuo4 {

enum TNuo4ScorePanelEventType : uint8_t {
    spetTransformChanged,
    spetPaintBoxMouseMove,
    spetPaintBoxMouseDown,
    spetPaintBoxMouseUp,
    spetPaintBoxMouseDblClick,
    spetBeforeDraw,
    spetRequestSelectionRectArray,
    spetRequestDrawForeGround,
    spetRequestDrawHighlight,
    spetRequestDrawHighlightSymbolIndicator,
    spetRequestDrawAWCoefLockedIndicator,
    spetRequestDrawPageBreakMarker,
    spetRequestDrawWithinSymbolEditStatusIndicator,
    spetRequestDrawPlayingNote,
};
const char* EnumName(TNuo4ScorePanelEventType AValue);

struct TrecRectWithinPage {
    int32_t PageIndex = -1;
    QRectF Rect;  // mm within the page
};

struct TrecNuo4PanelCaret {
    TrecNuo4PagePos PtLT;  // the caret's top
    double Height = 0;
};

struct TrecNuo4ScorePanelEventInfo {
    TNuo4ScorePanelEventType aType = spetBeforeDraw;
    // Drawing requests: the surface in view coordinates (millimetres).
    TKoGraphics* Graphics = nullptr;
    // Mouse events.
    Qt::MouseButton Button = Qt::NoButton;
    Qt::MouseButtons Buttons;
    Qt::KeyboardModifiers Shift;
    int X = 0, Y = 0;
    bool bStartDrag = false, bDragging = false;
    // Mouse up: the drag that ends (applied by the handler when it asks for an edit); null
    // when it was cancelled or never started.
    const TrecNuo4DragInfo* DragInfo = nullptr;
    // spetRequestSelectionRectArray: filled by the handler.
    std::vector<TrecRectWithinPage>* SelectionRects = nullptr;
};

// View colours (the background, frames, selection and caret are this view's own).
struct TrecNuo4ScorePanelColors {
    QColor Panel = QColor(0x80, 0x80, 0x80);
    QColor PageShadow = QColor(0x50, 0x50, 0x50);
    QColor PageFrame = QColor(0x40, 0x40, 0x40);
    QColor Paper = Qt::white;
    QColor Selection = QColor(0x33, 0x99, 0xFF, 0x50);
    QColor Caret = QColor(0, 0, 0xFF);
    QColor Margin = QColor(0x00, 0x80, 0xFF, 0x60);
    QColor Grid = QColor(0xC0, 0xC0, 0xC0, 0x80);
};

class TKoScorePanel : public QWidget {
  public:
    using TScorePanelEventHandler = std::function<void(TrecNuo4ScorePanelEventInfo&)>;
    // A key for the view's own handlers: true when it was taken. AOnlyAsk asks whether it would
    // be (for ShortcutOverride), without acting.
    using TKeyHandler = std::function<bool(QKeyEvent* AEvent, bool bOnlyAsk)>;

    TKoScorePanel(QWidget* AOwner, TScorePanelEventHandler AHandler);

    void SetKeyHandler(TKeyHandler AHandler) { FKeyHandler = std::move(AHandler); }
    // The page count (when positive) and page size; arranges the pages and has the score drawn
    // at the next paint.
    void Redraw(int32_t APagesCount, QSizeF APageSize);
    void Redraw(int32_t APagesCount = 0) { Redraw(APagesCount, FGeom.Params.PageSize); }
    // Draws the layers into the off-screen image now.
    void Draw();
    // Shows the off-screen image on the screen.
    void UpdateScreen();

    const TNuo4ScoreViewGeometry& Geometry() const { return FGeom; }
    TNuo4ScoreViewGeometry& Geometry() { return FGeom; }
    void SetFixedColumnCount(int32_t ACount);

    double GetViewScale() const { return FGeom.Transform.Scale; }
    void SetViewScale(double AScale);
    void SetViewScaleLevel(TNuo4ViewScaleLevel ALevel) {
        SetViewScale(Nuo4ViewScaleOfLevel(ALevel));
    }
    bool GetViewScaleLevel(TNuo4ViewScaleLevel& ALevel) const {
        return Nuo4ViewScaleLevelOf(GetViewScale(), ALevel);
    }
    // One level up or down from the current scale.
    void StepViewScale(int ADelta);
    void SetViewLocation(QPointF ALocation);
    TrecNuo4GraphicsTransformInfo GetTransformInfo() const { return FGeom.Transform; }
    void SetTransformInfo(const TrecNuo4GraphicsTransformInfo& AInfo);

    // Caret: page position of its top and its height; shown only while enabled and focused.
    void SetCaretPos_PtAndSize(const TrecNuo4PanelCaret& ACaret);
    void SetShowCaret(bool AValue);
    bool GetShowCaret() const { return FShowCaret; }
    QRect GetCaretRect_Device() const;
    QPoint GetCaretPt_Device() const { return GetCaretRect_Device().topLeft(); }
    // Scrolls so that the caret is visible; true when the location changed.
    bool ScrollToCaretVisible();

    void MySetFocus();
    QWidget* PaintBox() const;
    // The off-screen image, drawn first when the score changed since.
    const QImage& MemImage();
    QColor PaperColor() const { return FColors.Paper; }
    void SetPaperColor(QColor AColor) { FColors.Paper = AColor; }
    void SetShowMarginMarker(bool AOn, QMarginsF AMargins);
    void SetShowGrid(bool AOn) { FShowGrid = AOn; }

    // The drag of a symbol: the press handler starts it with what was grabbed; the view then
    // follows the pointer, draws the feedback over the score image (the score is not drawn
    // again while dragging), reports the drag with the release and forgets it; Esc cancels.
    void StartDrag(const TrecNuo4DragInfo_MouseDown& ADown);
    void CancelDrag();
    const TrecNuo4DragInfo& DragInfo() const { return FDrag; }
    // The left button went down on this view and has not come up yet.
    bool MouseIsDown() const { return bMouseDown; }
    // The Manhattan distance in pixels the pointer goes before a press becomes a drag.
    void SetStartDragDistance(int ADistance) { FStartDragDistance = ADistance; }

    // How often the score was drawn into the image (a caret blink or a mouse move adds nothing).
    int64_t DrawCount() const { return FDrawCount; }

  protected:
    void resizeEvent(QResizeEvent* AEvent) override;

  private:
    class TPaintBox;
    friend class TPaintBox;
    void GetCalcInfoAndUpdateHMI();
    // The score changed: drawn again at the next paint.
    void InvalidateImage();
    void OnScroll(Qt::Orientation AOrientation, int AValue);
    void OnCaretTimer();
    void RaiseTransformChanged();
    void DrawBackground(QPainter& P);
    void PaintBoxPaint(QPainter& P, const QRect& ARect);
    void PaintBoxMouse(QMouseEvent* AEvent, TNuo4ScorePanelEventType AType);
    void PaintBoxWheel(QWheelEvent* AEvent);
    void DrawDragFeedback(QPainter& P) const;
    // Layers drawn over the score image on every paint, in view coordinates.
    void DrawOverlay(QPainter& P);
    QRect DragFeedbackDeviceRect() const;
    void UpdateDragFeedback(const QRect& AOld);

    TScorePanelEventHandler FScorePanelEvent;
    TKeyHandler FKeyHandler;
    TNuo4ScoreViewGeometry FGeom;
    TPaintBox* FPaintBox;
    QScrollBar* sbHorz;
    QScrollBar* sbVert;
    QWidget* FCorner;
    QImage FImage;
    QTimer Timer_Caret;
    TrecNuo4PanelCaret FCaretPos_PtAndSize;
    bool FShowCaret = true;
    bool FCaretIsShowing = false;
    bool FUpdatingBars = false;
    bool bMouseDown = false;
    bool bDragging = false;
    QPoint Pos_MouseDown;
    TrecNuo4ScorePanelColors FColors;
    bool FShowMargin = false;
    bool FShowGrid = false;
    QMarginsF FMargins;
    int64_t FDrawCount = 0;
    bool bImageStale = false;
    TrecNuo4DragInfo FDrag;
    int FStartDragDistance = -1;  // -1: the platform's
};

}  // namespace nuo4
