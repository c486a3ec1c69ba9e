// The edits of the voice through the edit requests.
#include "editor/edit_commands.h"

namespace nuo4 {

bool Nuo4ExecuteVoiceEdit(INuo4EditorHost& H, TNuo4SimpleBuffer& B, const TrecNuo4KeyCommand& C) {
    if (H.GetEditMode() != emStandard) return false;
    return false;
}

}  // namespace nuo4
