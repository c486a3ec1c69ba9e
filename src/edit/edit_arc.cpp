// Arcs written in the voice (slurs, ties, tuplet brackets): adding, toggling, deleting,
// extending and changing their start marks.

#include <string>

#include "edit/edit_internal.h"
#include "layout/simple_buffer.h"

namespace nuo4 {

namespace {

int32_t FindArc(const TNuo4SimpleBuffer& B, int32_t AStart, int32_t AEnd) {
    for (int32_t A = 0; A < int32_t(B.ArcInfoArray.size()); ++A) {
        const TKoRange R = B.ArcInfoArray[A].BasicIndexRange;
        if (R.StartIndex == AStart && R.EndIndex() == AEnd) return A;
    }
    return -1;
}

// Whether a new arc from AStart to AEnd crosses none of the arcs: one arc starting strictly
// inside the other and ending strictly after its end. Shared ends and nesting are allowed.
bool ArcInfoArray_CanAddArc(const TNuo4SimpleBuffer& B, int32_t AStart, int32_t AEnd) {
    for (const auto& A : B.ArcInfoArray) {
        const int32_t S = A.BasicIndexRange.StartIndex, E = A.BasicIndexRange.EndIndex();
        if (S < AStart && AStart < E && AEnd > E) return false;
        if (AStart < S && S < AEnd && E > AEnd) return false;
    }
    return true;
}

int32_t CountNotes(const TNuo4SimpleBuffer& B, TKoRange R) {
    int32_t N = 0;
    for (int32_t I = R.StartIndex; I <= R.EndIndex(); ++I) N += B.Basic_IsNote(I);
    return N;
}

void Insert(TNuo4ABCTextReplaceItems& AItems, int32_t APos, std::u16string AText) {
    TrecNuo4ABCTextReplaceItem It;
    It.InitializeForInsert(APos, std::move(AText));
    VoiceEdit_AddItem(AItems, It);
}

void Delete(TNuo4ABCTextReplaceItems& AItems, TKoRange ARange) {
    TrecNuo4ABCTextReplaceItem It;
    It.InitializeForDelete(ARange);
    VoiceEdit_AddItem(AItems, It);
}

template <typename F>
bool AtIndex(const TNuo4SimpleBuffer& B, int32_t AIndex, TrecNuo4EditResult& AAnswer, F AFn) {
    AAnswer.SetToDefault();
    if (AIndex < 0 || !AFn(AIndex, AAnswer.Items)) {
        AAnswer.SetToDefault();
        return false;
    }
    return true;
}

}  // namespace

bool CanAddArc(const TNuo4SimpleBuffer& B, int32_t AStart, int32_t AEnd, int32_t& AStartPos,
               int32_t& AEndPos) {
    AStartPos = AEndPos = -1;
    const auto* S = VoiceEdit_GetNoteRecord(B, AStart);
    const auto* E = VoiceEdit_GetNoteRecord(B, AEnd);
    if (!S || !E || AStart >= AEnd || FindArc(B, AStart, AEnd) >= 0) return false;
    if (!ArcInfoArray_CanAddArc(B, AStart, AEnd)) return false;

    const TKoRange Ends = GetABCTextRangeForNote_ArcEndings(B, AEnd);
    if (Ends.IsValid()) {
        AEndPos = Ends.StartIndex;
    } else {
        const TKoRange Core = GetABCTextRangeFromBasicIndex(B, AEnd, false);
        if (!Core.IsValid()) return false;
        AEndPos = Core.StartIndex + Core.Length;
    }

    // Marks on one note open the longer arcs first: the new mark goes in front of the first
    // mark whose arc is shorter than the new one, else after all of them.
    const auto& Marks = S->ArcStartings().Value;
    if (!Marks.empty()) {
        for (const auto& M : Marks) {
            int32_t ArcEnd = -1;
            for (const auto& A : B.ArcInfoArray)
                if (A.BasicIndexRange.StartIndex == AStart && A.Depth_Start == M.Depth)
                    ArcEnd = A.BasicIndexRange.EndIndex();
            if (ArcEnd >= 0 && ArcEnd < AEnd) {
                AStartPos = M.TextRange.StartIndex;
                break;
            }
        }
        if (AStartPos < 0) {
            const TKoRange T = GetABCTextRangeForNote_ArcStartings(B, AStart);
            if (T.IsValid()) AStartPos = T.StartIndex + T.Length;
        }
    }
    if (AStartPos < 0) {
        const TKoRange Core = GetABCTextRangeFromBasicIndex(B, AStart, false);
        if (!Core.IsValid()) return false;
        AStartPos = Core.StartIndex;
    }
    return true;
}

bool CanAddArc_Range(const TNuo4SimpleBuffer& B, TKoRange ARange, bool bWithTuplet,
                     TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (!B.Basic_CheckIndex(ARange)) return false;
    int32_t SP, EP;
    if (!CanAddArc(B, ARange.StartIndex, ARange.EndIndex(), SP, EP)) return false;
    TrecNuo4ArcABCInfo Info;
    if (bWithTuplet) Info.TupletNumber = CountNotes(B, ARange);
    Insert(AItems, SP, ToABCText_ArcStarting(Info));
    Insert(AItems, EP, u")");
    return true;
}

bool CanDeleteArc(const TNuo4SimpleBuffer& B, int32_t AStart, int32_t AEnd,
                  TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    TKoRange S, E;
    if (!GetABCTextRangeForArc(B, FindArc(B, AStart, AEnd), S, E)) return false;
    Delete(AItems, S);
    Delete(AItems, E);
    return true;
}

bool CanToggleArc_Range(const TNuo4SimpleBuffer& B, TKoRange ARange, bool bWithTuplet,
                        TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (!B.Basic_CheckIndex(ARange) || !B.Basic_IsNote(ARange.StartIndex) ||
        !B.Basic_IsNote(ARange.EndIndex()))
        return false;
    if (CanDeleteArc(B, ARange.StartIndex, ARange.EndIndex(), AItems)) return true;
    return CanAddArc_Range(B, ARange, bWithTuplet, AItems);
}

bool CanToggleArc_Selection(const TNuo4SimpleBuffer& B, bool bWithTuplet,
                            TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        AAnswer.SetToDefault();
        const TrecNuo4Selection& S = B.InternalStatus.Selection;
        if (S.IsEmpty() ||
            !CanToggleArc_Range(B, VoiceEdit_SelectionRange(S), bWithTuplet, AAnswer.Items))
            return false;
        AAnswer.WithSelection(VoiceEdit_ClearToTail(S));
        return true;
    }());
}

bool CanAddArc_From(const TNuo4SimpleBuffer& B, int32_t ANote, TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (!B.Basic_IsNote(ANote)) return false;
    for (const auto& A : B.ArcInfoArray)
        if (A.BasicIndexRange.StartIndex == ANote) return false;
    for (int32_t E = ANote + 1; E < B.Basic_GetCount(); ++E)
        if (B.Basic_IsNote(E) &&
            CanAddArc_Range(B, TKoRange::FromStartEnd(ANote, E), false, AItems))
            return true;
    return false;
}

bool CanExtendArc_From(const TNuo4SimpleBuffer& B, int32_t ANote,
                       TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (!B.Basic_IsNote(ANote)) return false;
    int32_t Arc = -1, Count = 0;
    for (int32_t A = 0; A < int32_t(B.ArcInfoArray.size()); ++A)
        if (B.ArcInfoArray[A].BasicIndexRange.StartIndex == ANote) {
            Arc = A;
            ++Count;
        }
    if (Count != 1) return false;
    TKoRange SM, EM;
    if (!GetABCTextRangeForArc(B, Arc, SM, EM)) return false;
    const int32_t OldEnd = B.ArcInfoArray[Arc].BasicIndexRange.EndIndex();
    for (int32_t E = OldEnd + 1; E < B.Basic_GetCount(); ++E) {
        int32_t SP, EP;
        if (!B.Basic_IsNote(E) || !CanAddArc(B, ANote, E, SP, EP)) continue;
        Delete(AItems, EM);
        Insert(AItems, EP, u")");
        return true;
    }
    return false;
}

bool CanAddArc_From_Caret(const TNuo4SimpleBuffer& B, TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        return AtIndex(
            B, VoiceEdit_CaretEditPos(B, false), AAnswer,
            [&](int32_t I, TNuo4ABCTextReplaceItems& It) { return CanAddArc_From(B, I, It); });
    }());
}

bool CanAddArc_From_Highlight(const TNuo4SimpleBuffer& B, TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        if (!AtIndex(
                B, B.InternalStatus.Highlight.BasicIndex, AAnswer,
                [&](int32_t I, TNuo4ABCTextReplaceItems& It) { return CanAddArc_From(B, I, It); }))
            return false;
        // Arc marks move no symbol: the note stays highlighted in the rebuilt buffer.
        AAnswer.WithHighlight(B.InternalStatus.Highlight);
        return true;
    }());
}

bool CanExtendArc_From_Caret(const TNuo4SimpleBuffer& B, TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        return AtIndex(
            B, VoiceEdit_CaretEditPos(B, false), AAnswer,
            [&](int32_t I, TNuo4ABCTextReplaceItems& It) { return CanExtendArc_From(B, I, It); });
    }());
}

bool CanExtendArc_From_Highlight(const TNuo4SimpleBuffer& B, TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        if (!AtIndex(B, B.InternalStatus.Highlight.BasicIndex, AAnswer,
                     [&](int32_t I, TNuo4ABCTextReplaceItems& It) {
                         return CanExtendArc_From(B, I, It);
                     }))
            return false;
        // Arc marks move no symbol: the note stays highlighted in the rebuilt buffer.
        AAnswer.WithHighlight(B.InternalStatus.Highlight);
        return true;
    }());
}

bool CanSetArcABCInfo(const TNuo4SimpleBuffer& B, int32_t AArcIndex,
                      const TrecNuo4ArcABCInfo& AInfo, TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    TKoRange S, E;
    if (!GetABCTextRangeForArc(B, AArcIndex, S, E)) return false;
    TrecNuo4ABCTextReplaceItem It;
    It.Initialize(S, ToABCText_ArcStarting(AInfo));
    VoiceEdit_AddItem(AItems, It);
    return true;
}

bool CanSetArcABCInfo_Highlight(const TNuo4SimpleBuffer& B, const TrecNuo4ArcABCInfo& AInfo,
                                TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        AAnswer.SetToDefault();
        const int32_t A =
            VoiceEdit_ArcIndexFromAttachIndex(B, B.InternalStatus.Highlight.AttachIndex);
        if (!CanSetArcABCInfo(B, A, AInfo, AAnswer.Items)) return false;
        AAnswer.WithHighlight(B.InternalStatus.Highlight);
        return true;
    }());
}

}  // namespace nuo4
