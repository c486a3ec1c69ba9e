#include "editor/play_indicator.h"

#include <QPainter>

namespace nuo4 {

TNuo4PlayingNoteIndicator::TNuo4PlayingNoteIndicator(QWidget* APaintBox) : QWidget(APaintBox) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void TNuo4PlayingNoteIndicator::SetNoteRect(const QRect& ARect) {
    if (ARect.isEmpty()) {
        hide();
        return;
    }
    setGeometry(ARect.adjusted(-3, -3, 3, 3));
    if (isHidden()) show();
    raise();
}

void TNuo4PlayingNoteIndicator::paintEvent(QPaintEvent*) {
    QPainter P(this);
    P.fillRect(rect(), QColor(0xFF, 0x8C, 0x00, 0x50));
    P.setPen(QPen(QColor(0xFF, 0x60, 0x00), 1.5));
    P.drawRoundedRect(QRectF(rect()).adjusted(0.75, 0.75, -0.75, -0.75), 2, 2);
}

}  // namespace nuo4
