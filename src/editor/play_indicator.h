#pragma once
// The playing-note marker: a small translucent box laid over the score view at the note that
// sounds. It is a child of the view's paint box, so moving it repaints only the two boxes from
// the view's image; the score is neither laid out nor drawn again.

#include <QRect>
#include <QWidget>

namespace nuo4 {

class TNuo4PlayingNoteIndicator : public QWidget {
  public:
    explicit TNuo4PlayingNoteIndicator(QWidget* APaintBox);
    // The note's box in the paint box's pixels; an empty one hides the marker.
    void SetNoteRect(const QRect& ARect);

  protected:
    void paintEvent(QPaintEvent* AEvent) override;
};

}  // namespace nuo4
