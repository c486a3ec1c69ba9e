#include "editor/edit_commands.h"

namespace nuo4 {

TrecNuo4EditState& Nuo4EditorEditState() {
    static TrecNuo4EditState State;
    return State;
}

bool Nuo4ApplyEdit(INuo4EditorHost& H, const TNuo4ABCTextReplaceItems& AItems,
                   const TrecNuo4Selection* ANewSelection, const TrecNuo4Highlight* ANewHighlight,
                   bool bScrollToCaretVisible) {
    if (!H.ReplaceText(AItems)) return false;
    if (TNuo4SimpleBuffer* B = H.GetSimpleBuffer()) {
        if (ANewSelection) B->InternalStatus.Selection = *ANewSelection;
        if (ANewHighlight) B->InternalStatus.Highlight = *ANewHighlight;
    }
    H.UpdateCaretStatus();
    H.Redraw(bScrollToCaretVisible);
    H.PutUndoSnapshot();
    return true;
}

}  // namespace nuo4
