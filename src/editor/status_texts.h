#pragma once
// The texts of the status bar's eight panels, made from the document buffer and the view.

#include <QPointF>
#include <QString>

#include "editor/edit_mode.h"
#include "layout/simple_buffer.h"

namespace nuo4 {

constexpr int Nuo4StatusPanelCount = 8;
extern const int Nuo4StatusPanelWidths[Nuo4StatusPanelCount];

QString Nuo4StatusText_Scale(double AScale);  // "%.0f%%"
// "第%s小节, 第%d页,第%d行,第%d列" for the caret's symbol, or the dashed form without one.
QString Nuo4StatusText_Caret(const TNuo4SimpleBuffer* B);
// "共%d小节,%d页,%d行,%d个符号".
QString Nuo4StatusText_Totals(const TNuo4SimpleBuffer* B);
// The basic symbol under a page point: "Symbol: %s, Index=%d, Pos=%.1f,%.1fmm,
// Bounds=%.1f,%.1f,%.1f,%.1f", or the dashed form. ABasicIndex -1 for none.
QString Nuo4StatusText_Symbol(const TNuo4SimpleBuffer* B, int32_t ABasicIndex);
QString Nuo4StatusText_Pointer(QPointF APagePos, QPointF AViewPos, QPoint ADevicePos);
// "ABC: %d行,%d列,Sel=%d,%d,L=%d" (line and column from 1).
QString Nuo4StatusText_Text(int ALine, int AColumn, int ASelStart, int ASelLength, int ALength);

// Where a basic symbol stands: line and page (-1 when nowhere).
int32_t Nuo4LineOfBasicIndex(const TNuo4SimpleBuffer& B, int32_t ABasicIndex);
int32_t Nuo4PageOfLine(const TNuo4SimpleBuffer& B, int32_t ALine);
// The first basic symbol of the page whose box contains the page point; -1 when none.
int32_t Nuo4BasicIndexAtPagePos(const TNuo4SimpleBuffer& B, int32_t APage, QPointF APagePos);

}  // namespace nuo4
