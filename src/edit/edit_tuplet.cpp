// Tuplets from typed quarters: the quarters left of the caret become one tuplet.

#include <string>

#include "edit/edit_internal.h"
#include "layout/simple_buffer.h"

namespace nuo4 {

bool CanAddTupletArc_Caret(const TNuo4SimpleBuffer& B, const TrecNuo4EditState& AState,
                           TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        AAnswer.SetToDefault();
        if (!B.InternalStatus.Highlight.IsEmpty() || !B.InternalStatus.Selection.IsEmpty())
            return false;
        const int32_t From = B.InternalStatus.Selection.CaretPos_End.GetEditPos();
        int32_t K = 0;
        for (int32_t I = From; I >= 0 && K < AState.ConsecutiveNoteCount; --I, ++K) {
            const auto* N = VoiceEdit_GetNoteRecord(B, I);
            if (!N || VoiceEdit_NoteDuration(*N) != sd4th) break;
        }
        if (K < 2) return false;
        const int32_t First = From - K + 1;
        if (!B.Basic_GetSymbol(First)->BasicInfo().DV.bAtFullBeat_Before) return false;
        const TNuo4Duration D = K <= 3    ? sd8th
                                : K <= 7  ? sd16th
                                : K <= 15 ? sd32th
                                : K <= 31 ? sd64th
                                          : sd16th;
        for (int32_t I = First; I <= From; ++I) {
            TrecNuo4ABCTextReplaceItem It = VoiceEdit_DurationItem(B, I, D);
            // The arc end follows the last note's new duration, in the same item.
            if (I == From) It.NewText += u")";
            VoiceEdit_AddItem(AAnswer.Items, It);
        }
        const TKoRange Full = GetABCTextRangeFromBasicIndex(B, First, true);
        if (!Full.IsValid()) {
            AAnswer.SetToDefault();
            return false;
        }
        TrecNuo4ABCTextReplaceItem Start;
        TrecNuo4ArcABCInfo Info;
        Info.TupletNumber = K;
        Start.InitializeForInsert(Full.StartIndex, ToABCText_ArcStarting(Info));
        VoiceEdit_AddItem(AAnswer.Items, Start);
        AAnswer.WithSelection(B.InternalStatus.Selection);
        return true;
    }());
}

}  // namespace nuo4
