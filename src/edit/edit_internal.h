#pragma once
// Pieces shared by the request files of this folder; not part of the editing interface.

#include <functional>

#include "edit/edit_voice.h"
#include "format/symbol_note.h"

namespace nuo4 {

// The item that writes a new duration into a note: its duration token replaced, or, for a
// note written without one (a quarter), the duration inserted directly after the pitches.
// Invalid when nothing changes.
TrecNuo4ABCTextReplaceItem VoiceEdit_DurationItem(const TNuo4SimpleBuffer& B, int32_t AIndex,
                                                  TNuo4Duration ADuration);
// The item that rewrites a note's pitches token.
TrecNuo4ABCTextReplaceItem VoiceEdit_PitchesItem(const TNuo4SimpleBuffer& B, int32_t AIndex,
                                                 const TNuo4Pitches& APitches);
// The duration a note is written with (a quarter when no duration is written).
TNuo4Duration VoiceEdit_NoteDuration(const TrecNuo4ABCParseInfo_Note& ANote);
// The caret's edit position for the caret forms: an empty selection and, with bNoHighlight,
// no highlight; -1 otherwise.
int32_t VoiceEdit_CaretEditPos(const TNuo4SimpleBuffer& B, bool bNoHighlight);
// Whether a range of basic indexes holds notes only.
bool VoiceEdit_AllNotes(const TNuo4SimpleBuffer& B, TKoRange ARange);

// The end of every request that answers a result: accepted when AOk, otherwise cleared.
inline bool VoiceEdit_Finish(TrecNuo4EditResult& AResult, bool AOk) {
    if (!AOk) {
        AResult.SetToDefault();
        return false;
    }
    AResult.bAccepted = true;
    return true;
}

// Items that move every attachments item from its owner O to AMap(O) (deleted for -1).
bool VoiceEdit_RemapAttachments(const TNuo4SimpleBuffer& B,
                                const std::function<int32_t(int32_t)>& AMap,
                                TNuo4ABCTextReplaceItems& AItems);

}  // namespace nuo4
