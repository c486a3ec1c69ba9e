// Accompaniment markers around a run of symbols. The attachments of the run and after it move
// with the markers, so no attachment changes its owner.

#include "edit/edit_internal.h"
#include "layout/simple_buffer.h"

namespace nuo4 {

bool CanConvetRange_ToAccomp(const TNuo4SimpleBuffer& B, TKoRange ARange,
                             TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (!B.Basic_CheckIndex(ARange)) return false;
    for (const TKoRange& R : B.AccompMarkerRangeArray)
        if (R.Intersects(ARange)) return false;
    const int32_t P = GetABCTextInsertPosFromBasicIndex(B, ARange.StartIndex);
    const TKoRange Last = GetABCTextRangeFromBasicIndex(B, ARange.EndIndex(), true);
    if (P < 0 || !Last.IsValid()) return false;
    TrecNuo4ABCTextReplaceItem Open, Close;
    Open.InitializeForInsert(P, u" ( ");
    Close.InitializeForInsert(Last.StartIndex + Last.Length, u" ) ");
    VoiceEdit_AddItem(AItems, Open);
    VoiceEdit_AddItem(AItems, Close);
    const int32_t S = ARange.StartIndex, E = ARange.EndIndex();
    TNuo4ABCTextReplaceItems More;
    VoiceEdit_RemapAttachments(
        B, [&](int32_t O) { return O < S    ? O
                                   : O <= E ? O + 1
                                            : O + 2; }, More);
    VoiceEdit_AddItems(AItems, More);
    return true;
}

bool CanConvetRange_ToNonAccomp(const TNuo4SimpleBuffer& B, TKoRange ARange,
                                TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (!B.Basic_CheckIndex(ARange)) return false;
    bool bFound = false;
    for (const TKoRange& R : B.AccompMarkerRangeArray)
        if (R == ARange) bFound = true;
    const int32_t S = ARange.StartIndex, E = ARange.EndIndex();
    if (!bFound || !B.Basic_IsAccompMarker_Start(S) || !B.Basic_IsAccompMarker_End(E)) return false;
    for (int32_t I : {S, E}) {
        TrecNuo4ABCTextReplaceItem It;
        It.InitializeForDelete(GetABCTextRangeFromBasicIndex(B, I, true));
        VoiceEdit_AddItem(AItems, It);
    }
    // Attachments on a marker stay with the symbol that follows it.
    TNuo4ABCTextReplaceItems More;
    VoiceEdit_RemapAttachments(
        B,
        [&](int32_t O) {
            if (O < S) return O;
            if (O <= E) return O == S ? S : O - 1;
            return O - 2;
        },
        More);
    VoiceEdit_AddItems(AItems, More);
    return true;
}

bool CanToggleAccompMarker_Selection(const TNuo4SimpleBuffer& B, TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        AAnswer.SetToDefault();
        const TrecNuo4Selection& S = B.InternalStatus.Selection;
        if (S.IsEmpty()) return false;
        const TKoRange R = VoiceEdit_SelectionRange(S);
        if (!CanConvetRange_ToAccomp(B, R, AAnswer.Items) &&
            !CanConvetRange_ToNonAccomp(B, R, AAnswer.Items))
            return false;
        AAnswer.WithSelection(VoiceEdit_ClearToTail(S));
        return true;
    }());
}

}  // namespace nuo4
