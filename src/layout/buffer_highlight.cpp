#include "layout/buffer_highlight.h"

#include "format/symbol_note.h"
#include "layout/buffer_caret.h"
#include "layout/buffer_hit_test.h"
#include "layout/buffer_text_pos.h"
#include "layout/simple_buffer.h"
#include "render/symbol_attach.h"

namespace nuo4 {

namespace {

TrecNuo4Highlight& H(TNuo4SimpleBuffer& B) {
    return B.InternalStatus.Highlight;
}
const TrecNuo4Highlight& H(const TNuo4SimpleBuffer& B) {
    return B.InternalStatus.Highlight;
}

bool FitsBuffer(const TNuo4SimpleBuffer& B, const TrecNuo4Highlight& A) {
    if (A.IsBasic()) return B.Basic_CheckIndex(A.BasicIndex);
    if (A.IsAttach()) return B.Attach_CheckIndex(A.AttachIndex);
    if (A.IsPage()) return B.PageBuffer_CheckIndex(A.PageSymbolIndex);
    return true;
}

const TrecNuo4SymbolAttachText* AttachTextRec(const TNuo4SimpleBuffer& B) {
    if (!H(B).IsAttach() || !B.Attach_IsAttachText(H(B).AttachIndex)) return nullptr;
    const TNuo4Symbol* S = B.Attach_GetSymbol(H(B).AttachIndex);
    return static_cast<const TrecNuo4SymbolAttachText*>(S->GetSymbolRecPtr());
}

// Attach symbols of one owner, in attach order.
std::vector<int32_t> AttachOfOwner(const TNuo4SimpleBuffer& B, int32_t AOwner) {
    std::vector<int32_t> R;
    for (int32_t A = 0; A < B.Attach_GetCount(); ++A)
        if (B.Attach_GetBasicIndex(A) == AOwner) R.push_back(A);
    return R;
}

int32_t PageSymbolPage(const TNuo4SimpleBuffer& B, int32_t I) {
    return GetPageIndexFromSymbolBufferIndex(B, TrecNuo4SymbolBufferIndex::Create(sbtPage, I));
}

// Symbols of the branch being edited, every dash of a note counted as one more: those of its
// laid-out voice, so positions match what is drawn.
int32_t BranchPositionCount(const TNuo4SimpleBuffer& B) {
    const auto& W = B.InternalStatus.WithinSymbolEditStatusInfo;
    TNuo4Symbol* S = B.Attach_GetSymbol(W.BufferIndex_Branch.BufferInex);
    if (!S || S->GetSymbolType() != sbstAttachBranch) return 0;
    return static_cast<TNuo4SymbolAttachBranch*>(S)->GetBasicSymbolCount_WithRightline();
}

}  // namespace

TrecNuo4Highlight Highlight_Get(const TNuo4SimpleBuffer& B) {
    return H(B);
}

void Highlight_Set(TNuo4SimpleBuffer& B, const TrecNuo4Highlight& AHighlight) {
    H(B) = AHighlight;
    if (!FitsBuffer(B, AHighlight)) H(B).Clear();
}
void Highlight_SetToBasic(TNuo4SimpleBuffer& B, int32_t I) {
    Highlight_Set(B, TrecNuo4Highlight::Basic(I));
}
void Highlight_SetToAttach(TNuo4SimpleBuffer& B, int32_t I) {
    Highlight_Set(B, TrecNuo4Highlight::Attach(I));
}
void Highlight_SetToPage(TNuo4SimpleBuffer& B, int32_t I) {
    Highlight_Set(B, TrecNuo4Highlight::Page(I));
}
void Highlight_SetFromSymbolBufferIndex(TNuo4SimpleBuffer& B,
                                        const TrecNuo4SymbolBufferIndex& AIndex) {
    switch (AIndex.BufferType) {
        case sbtBasic:
            Highlight_SetToBasic(B, AIndex.BufferInex);
            break;
        case sbtAttach:
            Highlight_SetToAttach(B, AIndex.BufferInex);
            break;
        case sbtPage:
            Highlight_SetToPage(B, AIndex.BufferInex);
            break;
        default:
            Highlight_Clear(B);
    }
}
void Highlight_Clear(TNuo4SimpleBuffer& B) {
    H(B).Clear();
}
void Highlight_Clear_Basic(TNuo4SimpleBuffer& B) {
    if (H(B).IsBasic()) H(B).Clear();
}
void Highlight_Clear_Attach(TNuo4SimpleBuffer& B) {
    if (H(B).IsAttach()) H(B).Clear();
}
void Highlight_Clear_Page(TNuo4SimpleBuffer& B) {
    if (H(B).IsPage()) H(B).Clear();
}

void Highlight_Update(TNuo4SimpleBuffer& B) {
    for (auto* Buf : {&B.BasicBuffer, &B.AttachBuffer, &B.PageBuffer})
        for (auto& S : *Buf)
            if (S && S->Highlighted()) S->SetHighlighted(false);
    if (TNuo4Symbol* S = Highlight_GetSymbol(B)) S->SetHighlighted(true);
}

TrecNuo4SymbolBufferIndex Highlight_GetSymbolBufferIndex(const TrecNuo4Highlight& A) {
    if (A.IsBasic()) return TrecNuo4SymbolBufferIndex::Create(sbtBasic, A.BasicIndex);
    if (A.IsAttach()) return TrecNuo4SymbolBufferIndex::Create(sbtAttach, A.AttachIndex);
    if (A.IsPage()) return TrecNuo4SymbolBufferIndex::Create(sbtPage, A.PageSymbolIndex);
    return TrecNuo4SymbolBufferIndex();
}

TNuo4Symbol* Highlight_GetSymbol(const TNuo4SimpleBuffer& B) {
    const TrecNuo4SymbolBufferIndex I = Highlight_GetSymbolBufferIndex(H(B));
    return I.IsInvalid() ? nullptr : B.GetSymbol(I);
}

TNuo4SymbolType Highlight_GetSymbolType(const TNuo4SimpleBuffer& B) {
    const TNuo4Symbol* S = Highlight_GetSymbol(B);
    return S ? S->GetSymbolType() : sbstNone;
}

TKoRange Highlight_GetABCTextRange(const TNuo4SimpleBuffer& B) {
    const TrecNuo4Highlight& A = H(B);
    if (A.IsBasic()) return GetABCTextRangeFromBasicIndex(B, A.BasicIndex, true);
    if (A.IsAttach()) return GetABCTextRangeFromAttachIndex(B, A.AttachIndex);
    if (A.IsPage()) return GetABCTextRangeFromPageSymbolIndex(B, A.PageSymbolIndex);
    return TKoRange::Invalid();
}

bool Highlight_IsNote(const TNuo4SimpleBuffer& B) {
    return Highlight_GetSymbolType(B) == sbstNote;
}
bool Highlight_IsBarline(const TNuo4SimpleBuffer& B) {
    return Highlight_GetSymbolType(B) == sbstBarline;
}
bool Highlight_IsReturn(const TNuo4SimpleBuffer& B) {
    return Highlight_GetSymbolType(B) == sbstReturn;
}
bool Highlight_IsMeter(const TNuo4SimpleBuffer& B) {
    return Highlight_GetSymbolType(B) == sbstMeter;
}
bool Highlight_IsText(const TNuo4SimpleBuffer& B) {
    return Highlight_GetSymbolType(B) == sbstText;
}
bool Highlight_IsAccompMarker(const TNuo4SimpleBuffer& B) {
    return Highlight_GetSymbolType(B) == sbstAccompMarker;
}
bool Highlight_IsArc(const TNuo4SimpleBuffer& B) {
    return Highlight_GetSymbolType(B) == sbstArc;
}
bool Highlight_IsLyric(const TNuo4SimpleBuffer& B) {
    return Highlight_GetSymbolType(B) == sbstLyric;
}
bool Highlight_IsAttachText(const TNuo4SimpleBuffer& B) {
    return Highlight_GetSymbolType(B) == sbstAttachText;
}
bool Highlight_IsAttachBranch(const TNuo4SimpleBuffer& B) {
    return Highlight_GetSymbolType(B) == sbstAttachBranch;
}
bool Highlight_IsAttachBrace(const TNuo4SimpleBuffer& B) {
    return Highlight_GetSymbolType(B) == sbstAttachBrace;
}
bool Highlight_IsAttachments(const TNuo4SimpleBuffer& B) {
    return H(B).IsAttach() && IsAttachments(Highlight_GetSymbolType(B));
}
bool Highlight_IsMemo(const TNuo4SimpleBuffer& B) {
    return Highlight_GetSymbolType(B) == sbstMemo;
}
bool Highlight_IsTitleBlock(const TNuo4SimpleBuffer& B) {
    return Highlight_GetSymbolType(B) == sbstTitleBlock;
}
bool Highlight_Is_AttachText_PartName(const TNuo4SimpleBuffer& B) {
    const auto* R = AttachTextRec(B);
    std::u16string T;
    return R && R->IsPartName(T);
}
bool Highlight_Is_AttachText_KeyChange(const TNuo4SimpleBuffer& B) {
    const auto* R = AttachTextRec(B);
    TrecNuo4KeySignature K;
    return R && R->IsKeyChange(K);
}

// ---- Stepping ---------------------------------------------------------------------------------

bool CanToggleHighlight_BasicAndAttach(const TNuo4SimpleBuffer& B, const TrecNuo4Highlight& ACur,
                                       TrecNuo4Highlight& ANew) {
    ANew = ACur;
    if (B.Basic_GetCount() == 0) return false;
    if (ACur.IsEmpty()) {
        ANew = TrecNuo4Highlight::Basic(0);
        return false;
    }
    if (ACur.IsBasic()) {
        const auto Own = AttachOfOwner(B, ACur.BasicIndex);
        if (Own.empty()) return false;
        ANew = TrecNuo4Highlight::Attach(Own.front());
        return true;
    }
    if (ACur.IsAttach()) {
        const int32_t Owner = B.Attach_GetBasicIndex(ACur.AttachIndex);
        if (Owner < 0) return false;
        const auto Own = AttachOfOwner(B, Owner);
        for (size_t I = 0; I + 1 < Own.size(); ++I)
            if (Own[I] == ACur.AttachIndex) {
                ANew = TrecNuo4Highlight::Attach(Own[I + 1]);
                return true;
            }
        ANew = TrecNuo4Highlight::Basic(Owner);
        return true;
    }
    return false;
}

bool CanToggleHighlight_PageSymbol(const TNuo4SimpleBuffer& B, const TrecNuo4Highlight& ACur,
                                   TrecNuo4Highlight& ANew) {
    ANew = ACur;
    int32_t Page;
    if (ACur.IsPage())
        Page = PageSymbolPage(B, ACur.PageSymbolIndex);
    else {
        Page = B.InternalStatus.CurrPageIndexForPageMode;
        if (Page < 0)
            Page = std::max(0, GetPageIndexOfCaret(B, B.InternalStatus.Selection.CaretPos_End));
    }
    std::vector<int32_t> OnPage;
    for (int32_t I = 0; I < B.PageBuffer_GetCount(); ++I)
        if (PageSymbolPage(B, I) == Page) OnPage.push_back(I);
    if (OnPage.empty()) return false;
    int32_t Next = OnPage.front();
    if (ACur.IsPage())
        for (size_t I = 0; I + 1 < OnPage.size(); ++I)
            if (OnPage[I] == ACur.PageSymbolIndex) Next = OnPage[I + 1];
    ANew = TrecNuo4Highlight::Page(Next);
    return !(ANew == ACur);
}

bool CanMoveHighlight_BasicSymbol(const TNuo4SimpleBuffer& B, const TrecNuo4Highlight& ACur,
                                  int32_t ADelta, TrecNuo4Highlight& ANew) {
    ANew = ACur;
    if (!ACur.IsBasic()) return false;
    const int32_t I = ACur.BasicIndex + (ADelta < 0 ? -1 : 1);
    if (!B.Basic_CheckIndex(I)) return false;
    ANew = TrecNuo4Highlight::Basic(I);
    return true;
}

// ---- Editing inside a symbol ------------------------------------------------------------------

bool WithinSymbolEdit_GetEnable(const TNuo4SimpleBuffer& B) {
    return B.InternalStatus.WithinSymbolEditStatusInfo.bEnable;
}

bool WithinSymbolEdit_IsValid(const TNuo4SimpleBuffer& B) {
    const auto& W = B.InternalStatus.WithinSymbolEditStatusInfo;
    if (!W.bEnable) return false;
    const TrecNuo4SymbolBufferIndex Cur = Highlight_GetSymbolBufferIndex(H(B));
    if (Cur.IsInvalid()) return false;
    return (!W.BufferIndex_Branch.IsInvalid() && Cur == W.BufferIndex_Branch) ||
           (!W.BufferIndex_NoteWithRighline.IsInvalid() && Cur == W.BufferIndex_NoteWithRighline);
}

bool WithinSymbolEdit_IsBranch(const TNuo4SimpleBuffer& B) {
    const auto& W = B.InternalStatus.WithinSymbolEditStatusInfo;
    return WithinSymbolEdit_IsValid(B) && !W.BufferIndex_Branch.IsInvalid() &&
           Highlight_GetSymbolBufferIndex(H(B)) == W.BufferIndex_Branch;
}

TNuo4Symbol* WithinSymbolEdit_GetSymbol(const TNuo4SimpleBuffer& B) {
    return WithinSymbolEdit_IsValid(B) ? Highlight_GetSymbol(B) : nullptr;
}

bool WithinSymbolEdit_Enable(TNuo4SimpleBuffer& B) {
    auto& W = B.InternalStatus.WithinSymbolEditStatusInfo;
    W.SetToDefault();
    if (Highlight_IsAttachBranch(B)) {
        W.BufferIndex_Branch = Highlight_GetSymbolBufferIndex(H(B));
        W.WithinSymbolPos_Branch = 0;
    } else if (Highlight_IsNote(B) &&
               Duration_RightLineCount(Highlight_GetSymbol(B)->GetDuration()) > 0) {
        W.BufferIndex_NoteWithRighline = Highlight_GetSymbolBufferIndex(H(B));
        W.WithinSymbolPos_Note = 0;
    } else {
        return false;
    }
    W.bEnable = true;
    return true;
}

bool WithinSymbolEdit_FirstPos(const TNuo4SimpleBuffer& B, int32_t& APos) {
    if (!WithinSymbolEdit_IsBranch(B) || BranchPositionCount(B) < 2) return false;
    APos = 0;
    return true;
}

bool WithinSymbolEdit_LastPos(const TNuo4SimpleBuffer& B, int32_t& APos) {
    const int32_t N = WithinSymbolEdit_IsBranch(B) ? BranchPositionCount(B) : 0;
    if (N < 2) return false;
    APos = N - 2;
    return true;
}

bool WithinSymbolEdit_NextPos(const TNuo4SimpleBuffer& B, int32_t& APos) {
    int32_t Last;
    if (!WithinSymbolEdit_LastPos(B, Last)) return false;
    APos =
        std::clamp(B.InternalStatus.WithinSymbolEditStatusInfo.WithinSymbolPos_Branch + 1, 0, Last);
    return true;
}

bool WithinSymbolEdit_PrevPos(const TNuo4SimpleBuffer& B, int32_t& APos) {
    int32_t Last;
    if (!WithinSymbolEdit_LastPos(B, Last)) return false;
    APos =
        std::clamp(B.InternalStatus.WithinSymbolEditStatusInfo.WithinSymbolPos_Branch - 1, 0, Last);
    return true;
}

void WithinSymbolEdit_Disable(TNuo4SimpleBuffer& B) {
    B.InternalStatus.WithinSymbolEditStatusInfo.SetToDefault();
}

}  // namespace nuo4
