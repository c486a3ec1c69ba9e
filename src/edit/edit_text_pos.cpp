// Where basic symbols and their parts stand in the score text, and how answers are built.

#include <algorithm>

#include "edit/edit_internal.h"
#include "format/abc_buffer.h"
#include "format/symbol_note.h"
#include "layout/simple_buffer.h"

namespace nuo4 {

const char* EnumName(TNuo4SymbolEditType AValue) {
    switch (AValue) {
        case setAdd:
            return "setAdd";
        case setChange:
            return "setChange";
        case setRemove:
            return "setRemove";
    }
    return "";
}

// ---- Answer building ---------------------------------------------------------------------------

void VoiceEdit_AddItem(TNuo4ABCTextReplaceItems& AItems, const TrecNuo4ABCTextReplaceItem& AItem) {
    if (AItem.IsInvalid()) return;
    for (TrecNuo4ABCTextReplaceItem& Old : AItems) {
        if (Old.TextRange.StartIndex != AItem.TextRange.StartIndex) continue;
        if (AItem.TextRange.Length == 0) {
            // An insertion goes in front of whatever starts here: after earlier insertions at
            // the same place, before the replaced text.
            if (Old.TextRange.Length == 0)
                Old.NewText += AItem.NewText;
            else
                Old.NewText = AItem.NewText + Old.NewText;
            return;
        }
        if (Old.TextRange.Length == 0) {
            Old.TextRange = AItem.TextRange;
            Old.NewText += AItem.NewText;
            return;
        }
        // Two replacements of one start would overlap: the wider one wins.
        if (AItem.TextRange.Length > Old.TextRange.Length) Old = AItem;
        return;
    }
    AItems.push_back(AItem);
}

void VoiceEdit_AddItems(TNuo4ABCTextReplaceItems& AItems, const TNuo4ABCTextReplaceItems& AMore) {
    for (const auto& I : AMore) VoiceEdit_AddItem(AItems, I);
}

// ---- Records
// -------------------------------------------------------------------------------------

const TrecNuo4ABCParseInfo_VoiceSymbol* VoiceEdit_GetRecord(const TNuo4SimpleBuffer& B,
                                                            int32_t AIndex) {
    return GetVoiceParseItemFromBasicIndex(B, AIndex);
}

const TrecNuo4ABCParseInfo_Note* VoiceEdit_GetNoteRecord(const TNuo4SimpleBuffer& B,
                                                         int32_t AIndex) {
    const auto* R = VoiceEdit_GetRecord(B, AIndex);
    if (!R || R->Header.aType != pitNote) return nullptr;
    return static_cast<const TrecNuo4ABCParseInfo_Note*>(R);
}

namespace {

TKoRange Union(TKoRange A, TKoRange B) {
    if (!A.IsValid()) return B;
    if (!B.IsValid()) return A;
    const int32_t S = std::min(A.StartIndex, B.StartIndex);
    const int32_t E = std::max(A.StartIndex + A.Length, B.StartIndex + B.Length);
    return TKoRange(S, E - S);
}

TKoRange FirstToken(const TNuo4SimpleBuffer& B, int32_t AIndex, TNuo4ABCTokenType AType) {
    const auto* R = VoiceEdit_GetRecord(B, AIndex);
    if (!R) return TKoRange::Invalid();
    return R->GetTokenItems().GetRangeOfFirst(AType);
}

}  // namespace

// ---- Ranges
// --------------------------------------------------------------------------------------

#define NUO4_NOTE_PART(NAME, TOKEN)                                                      \
    TKoRange GetABCTextRangeForNote_##NAME(const TNuo4SimpleBuffer& B, int32_t AIndex) { \
        if (!VoiceEdit_GetNoteRecord(B, AIndex)) return TKoRange::Invalid();             \
        return FirstToken(B, AIndex, TOKEN);                                             \
    }
NUO4_NOTE_PART(Pitches, ttNote_Pitches)
NUO4_NOTE_PART(Duration, ttNote_Duration)
NUO4_NOTE_PART(Grace, ttNote_Grace)
NUO4_NOTE_PART(Articulations, ttNote_Articulations)
NUO4_NOTE_PART(ArcStartings, ttNote_ArcStartings)
NUO4_NOTE_PART(ArcEndings, ttNote_ArcEndings)
#undef NUO4_NOTE_PART

TKoRange GetABCTextRangeForNote_PitchesAndDuration(const TNuo4SimpleBuffer& B, int32_t AIndex) {
    const TKoRange P = GetABCTextRangeForNote_Pitches(B, AIndex);
    if (!P.IsValid()) return P;
    return Union(P, GetABCTextRangeForNote_Duration(B, AIndex));
}

// ---- Arc marks
// -----------------------------------------------------------------------------------

bool GetABCTextRangeForArc(const TNuo4SimpleBuffer& B, int32_t AArcIndex, TKoRange& AStartMark,
                           TKoRange& AEndMark) {
    AStartMark = AEndMark = TKoRange::Invalid();
    if (AArcIndex < 0 || AArcIndex >= int32_t(B.ArcInfoArray.size())) return false;
    const TrecNuo4ArcInfoItem& Arc = B.ArcInfoArray[AArcIndex];
    const auto* S = VoiceEdit_GetNoteRecord(B, Arc.BasicIndexRange.StartIndex);
    const auto* E = VoiceEdit_GetNoteRecord(B, Arc.BasicIndexRange.EndIndex());
    if (!S || !E) return false;
    for (const auto& M : S->ArcStartings().Value)
        if (M.Depth == Arc.Depth_Start) AStartMark = M.TextRange;
    // The end note's ")" close its arcs innermost first, over all its runs in text order.
    int32_t K = Arc.Depth_End;
    for (const auto& T : E->GetTokenItems()) {
        if (T.aType != ttNote_ArcEndings) continue;
        if (K < T.ABCTextRange.Length) {
            AEndMark = TKoRange(T.ABCTextRange.StartIndex + K, 1);
            break;
        }
        K -= T.ABCTextRange.Length;
    }
    return AStartMark.IsValid() && AEndMark.IsValid();
}

int32_t VoiceEdit_ArcIndexFromAttachIndex(const TNuo4SimpleBuffer& B, int32_t AAttachIndex) {
    if (!B.Attach_CheckIndex(AAttachIndex)) return -1;
    for (int32_t I = 0; I < int32_t(B.ArcInfoArray.size()); ++I) {
        const auto& A = B.ArcInfoArray[I];
        if (A.AttachIndex_Full == AAttachIndex || A.AttachIndex_Left == AAttachIndex ||
            A.AttachIndex_Right == AAttachIndex)
            return I;
    }
    return -1;
}

bool GetABCTextRangeForArc_FromAttachIndex(const TNuo4SimpleBuffer& B, int32_t AAttachIndex,
                                           TKoRange& AStartMark, TKoRange& AEndMark) {
    return GetABCTextRangeForArc(B, VoiceEdit_ArcIndexFromAttachIndex(B, AAttachIndex), AStartMark,
                                 AEndMark);
}

// ---- Selection helpers
// ---------------------------------------------------------------------------

TKoRange VoiceEdit_SelectionRange(const TrecNuo4Selection& S) {
    const int32_t A = S.CaretPos_Start.GetRightPos(), Z = S.CaretPos_End.GetRightPos();
    if (A == Z) return TKoRange(S.CaretPos_Start.BasicIndex, 0);
    return TKoRange(std::min(A, Z), std::abs(Z - A));
}

TrecNuo4Selection VoiceEdit_CaretAfter(int32_t ALeftPos, int32_t AOffset) {
    TrecNuo4Selection S;
    const int32_t P = ALeftPos + AOffset;
    if (P < 0) return S;
    S.CaretPos_Start = {P, true};
    S.CaretPos_End = S.CaretPos_Start;
    return S;
}

TrecNuo4Selection VoiceEdit_ClearToHead(const TrecNuo4Selection& S) {
    TrecNuo4Selection R = S;
    const TrecNuo4CaretPos_Index H = S.IsInvert() ? S.CaretPos_End : S.CaretPos_Start;
    R.CaretPos_Start = R.CaretPos_End = H;
    return R;
}

TrecNuo4Selection VoiceEdit_ClearToTail(const TrecNuo4Selection& S) {
    TrecNuo4Selection R = S;
    const TrecNuo4CaretPos_Index T = S.IsInvert() ? S.CaretPos_Start : S.CaretPos_End;
    R.CaretPos_Start = R.CaretPos_End = T;
    return R;
}

TrecNuo4Selection VoiceEdit_ClearToCaret(const TrecNuo4Selection& S) {
    TrecNuo4Selection R = S;
    R.CaretPos_Start = S.CaretPos_End;
    return R;
}

}  // namespace nuo4

// ---- Shared pieces
// -------------------------------------------------------------------------------

namespace nuo4 {

TNuo4Duration VoiceEdit_NoteDuration(const TrecNuo4ABCParseInfo_Note& ANote) {
    return ANote.DurationHeader().IsValid() ? ANote.DurationValue() : sd4th;
}

TrecNuo4ABCTextReplaceItem VoiceEdit_DurationItem(const TNuo4SimpleBuffer& B, int32_t AIndex,
                                                  TNuo4Duration ADuration) {
    TrecNuo4ABCTextReplaceItem It;
    const auto* N = VoiceEdit_GetNoteRecord(B, AIndex);
    if (!N || ADuration == sdNone) return It;
    const std::u16string Text = Duration_ToABCText(ADuration);
    const TKoRange D = GetABCTextRangeForNote_Duration(B, AIndex);
    if (D.IsValid()) {
        It.Initialize(D, Text);
        return It;
    }
    // A quarter has no duration token: the new one follows the pitches.
    const TKoRange P = GetABCTextRangeForNote_Pitches(B, AIndex);
    if (P.IsValid() && !Text.empty()) It.InitializeForInsert(P.StartIndex + P.Length, Text);
    return It;
}

TrecNuo4ABCTextReplaceItem VoiceEdit_PitchesItem(const TNuo4SimpleBuffer& B, int32_t AIndex,
                                                 const TNuo4Pitches& APitches) {
    TrecNuo4ABCTextReplaceItem It;
    const TKoRange P = GetABCTextRangeForNote_Pitches(B, AIndex);
    if (P.IsValid() && !APitches.empty()) It.Initialize(P, ToABCText_Pitches(APitches));
    return It;
}

int32_t VoiceEdit_CaretEditPos(const TNuo4SimpleBuffer& B, bool bNoHighlight) {
    if (!B.InternalStatus.Selection.IsEmpty()) return -1;
    if (bNoHighlight && !B.InternalStatus.Highlight.IsEmpty()) return -1;
    return B.InternalStatus.Selection.CaretPos_End.GetEditPos();
}

bool VoiceEdit_AllNotes(const TNuo4SimpleBuffer& B, TKoRange ARange) {
    if (!B.Basic_CheckIndex(ARange)) return false;
    for (int32_t I = ARange.StartIndex; I <= ARange.EndIndex(); ++I)
        if (!B.Basic_IsNote(I)) return false;
    return true;
}

}  // namespace nuo4
