// Underlines of a run: one step shorter for a run of equal durations, quarters otherwise.

#include "edit/edit_internal.h"
#include "layout/simple_buffer.h"

namespace nuo4 {

bool CanToggleUnderline_Range(const TNuo4SimpleBuffer& B, TKoRange ARange,
                              TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (!VoiceEdit_AllNotes(B, ARange)) return false;
    const TNuo4Duration First =
        VoiceEdit_NoteDuration(*VoiceEdit_GetNoteRecord(B, ARange.StartIndex));
    bool bSame = true;
    for (int32_t I = ARange.StartIndex; I <= ARange.EndIndex(); ++I)
        if (VoiceEdit_NoteDuration(*VoiceEdit_GetNoteRecord(B, I)) != First) bSame = false;
    TNuo4Duration New = sd4th;
    if (bSame) switch (First) {
            case sd32th:
                New = sd64th;
                break;
            case sd16th:
                New = sd32th;
                break;
            case sd8th:
                New = sd16th;
                break;
            case sd4th:
                New = sd8th;
                break;
            default:
                New = sd4th;
                break;
        }
    for (int32_t I = ARange.StartIndex; I <= ARange.EndIndex(); ++I)
        VoiceEdit_AddItem(AItems, VoiceEdit_DurationItem(B, I, New));
    return !AItems.empty();
}

bool CanToggleUnderline_Selection(const TNuo4SimpleBuffer& B, TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        AAnswer.SetToDefault();
        const TrecNuo4Selection& S = B.InternalStatus.Selection;
        if (!CanToggleUnderline_Range(B, VoiceEdit_SelectionRange(S), AAnswer.Items)) return false;
        AAnswer.WithSelection(S);
        return true;
    }());
}

}  // namespace nuo4
