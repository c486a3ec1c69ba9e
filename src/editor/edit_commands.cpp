#include "editor/edit_commands.h"

namespace nuo4 {

int32_t& Nuo4ConsecutiveNoteCount() {
    static int32_t Count = 0;
    return Count;
}

void Nuo4ApplyEdit(INuo4EditorHost& H, const TNuo4ABCTextReplaceItems& AItems,
                   const TrecNuo4Selection* ANewSelection, const TrecNuo4Highlight* ANewHighlight,
                   bool bScrollToCaretVisible) {
    H.ReplaceText(AItems);
    if (TNuo4SimpleBuffer* B = H.GetSimpleBuffer()) {
        if (ANewSelection) B->InternalStatus.Selection = *ANewSelection;
        if (ANewHighlight) B->InternalStatus.Highlight = *ANewHighlight;
    }
    H.UpdateCaretStatus();
    H.Redraw(bScrollToCaretVisible);
    H.PutUndoSnapshot();
}

}  // namespace nuo4

namespace nuo4 {

bool Nuo4ExecuteCommand(INuo4EditorHost&, const TrecNuo4KeyCommand&) {
    return false;
}

}  // namespace nuo4
