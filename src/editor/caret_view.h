#pragma once
// What the score view shows of the buffer's editing state: the caret, the selection's
// rectangles, the highlight; and the mouse click that places the caret.

#include <vector>

#include "editor/edit_commands.h"
#include "editor/score_panel.h"
#include "layout/simple_buffer.h"

namespace nuo4 {

// The caret of the buffer's selection as the view draws it (page position of its top, height).
TrecNuo4PanelCaret Nuo4PanelCaretOf(const TNuo4SimpleBuffer& B);
std::vector<TrecRectWithinPage> Nuo4SelectionRectsOf(const TNuo4SimpleBuffer& B);
// A translucent box over the highlighted symbol; the surface is in view coordinates.
void Nuo4DrawHighlight(TNuo4SimpleBuffer& B, TKoGraphics& G);
// A left click at a page position: the caret (standard and layout modes; with Shift the
// selection grows to it) or the highlight (extend and page modes). False when nothing changed.
bool Nuo4ExecuteClick(INuo4EditorHost& H, const TrecNuo4PagePos& APos, bool bShift);

}  // namespace nuo4
