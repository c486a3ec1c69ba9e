// The voice stage: basic symbols from the voice records, their attach groups, articulations,
// accompaniment passages and hidden symbols.

#include <algorithm>

#include "format/symbol_accomp_marker.h"
#include "format/symbol_barline.h"
#include "format/symbol_meter.h"
#include "format/symbol_return.h"
#include "format/symbol_text.h"
#include "layout/fine_timer.h"
#include "layout/simple_buffer.h"
#include "render/articulation_symbol.h"
#include "render/note_geometry.h"
#include "render/note_symbol.h"
#include "render/symbol_basic.h"
#include "render/symbol_lyric.h"

namespace nuo4 {

namespace {

// The symbol of one voice record; null for a kind the basic buffer does not hold.
TNuo4SymbolPtr CreateBasicSymbol(const TrecNuo4ABCParseInfo_VoiceSymbol& R) {
    switch (R.Header.aType) {
        case pitNote: {
            const auto& N = static_cast<const TrecNuo4ABCParseInfo_Note&>(R);
            auto S = std::make_unique<TNuo4SymbolNote>(N.ToSymbolRecNote());
            // Most notes carry no marks; those keep no copy.
            if (N.HasMarks() && (!N.ArcStartings().Value.empty() || N.ArcEndings().Value != 0 ||
                                 !N.Articulations().Value.empty()))
                S->ABCAttachmentsInfo = N.GetABCAttachmentsInfo();
            return S;
        }
        case pitBarline: {
            const auto& B = static_cast<const TrecNuo4ABCParseInfo_Barline&>(R);
            auto S = std::make_unique<TNuo4SymbolBarline>(B.ToSymbolRec());
            const TrecNuo4SymbolBarline& Rec = S->Rec();
            if (Rec.FangZi.bWithFangZi || !Rec.FangZi.FangZiText.empty()) {
                auto& F = S->ABCAttachmentsInfo.Mut().FangZiInfo;
                F.bWithFangZi = Rec.FangZi.bWithFangZi;
                F.FangeZiText = Rec.FangZi.FangZiText;
            }
            return S;
        }
        case pitAccompMarker:
            return std::make_unique<TNuo4SymbolAccompMarker>(
                static_cast<const TrecNuo4ABCParseInfo_AccompMarker&>(R).ToSymbolRec());
        case pitReturn:
            return std::make_unique<TNuo4SymbolReturn>(
                static_cast<const TrecNuo4ABCParseInfo_Return&>(R).ToSymbolRec());
        case pitMeter:
            return std::make_unique<TNuo4SymbolMeter>(
                static_cast<const TrecNuo4ABCParseInfo_Meter&>(R).ToSymbolRec());
        case pitText:
            return std::make_unique<TNuo4SymbolText>(
                static_cast<const TrecNuo4ABCParseInfo_Text&>(R).ToSymbolRec());
        default:
            return nullptr;
    }
}

void GrowBox(TGPRectF32& ADst, const TGPRectF& ASrc) {
    TGPRectF R = ADst;
    RectUnion(R, ASrc);
    ADst = R;
}

}  // namespace

void TNuo4SimpleBuffer::ProcesSectionVoice() {
    TKoFineTimer& T = Nuo4FineTimer();
    T.Mark(0, "Enter-SimBuf.ProcesSectionVoice");
    T.Mark(0, "Enter-SimBuf.CreateAndAddBasicSymbols");
    CreateAndAddBasicSymbols();
    if (Basic_GetCount() > 0) {
        GetArcInfoArray();
        GetCalcInfo_Arc();
        Basic_GetDV();
        GetMeasureInfoArray();
        CreateArticulations();
        GetAccompMarkerRangeArray();
    }
    T.Mark(0, "Exit-SimBuf.ProcesSectionVoice");
}

void TNuo4SimpleBuffer::CreateAndAddBasicSymbols() {
    const auto& Items = FABCBuffer->Section_Voice.Buffer;
    for (int32_t I = 0; I < int32_t(Items.size()); ++I) {
        if (!Items[I]) break;
        TNuo4SymbolPtr S = CreateBasicSymbol(*Items[I]);
        if (!S) break;  // creation stops at the first record of any other kind
        S->bWithinAttachBranch = IsAttachBranch();
        S->bWithinAttachBranchAndForceSubStyle = FBranch && FBranch->bForceUseSubStyle;
        S->UpdateColorAndStyleToDefault();
        S->Update(true);
        TNuo4Symbol* P = S.get();
        Basic_AddItem(std::move(S));
        Basic_UpdateBoundsSelf(P->CalcInfo.SymbolBufferIndex.BufferInex);
        P->MutBasicInfo().Bounds_Total = P->CalcInfo.Bounds_Self;
        P->CalcInfo.SymbolABCTextInfo.InitializeToVoice(I);
    }
}

int32_t TNuo4SimpleBuffer::Attach_AddPlacedSymbol(std::unique_ptr<TNuo4Symbol> ASymbol,
                                                  int32_t AOwner, int32_t AOther,
                                                  TGPPointF AOffset) {
    if (!ASymbol) return -1;
    ASymbol->UpdateColorToDefault();
    ASymbol->Update(true);
    TrecNuo4AttachBufferItem Item;
    Item.Symbol = std::move(ASymbol);
    Item.SourceIndex = AOwner;
    Item.SourceIndex2 = AOther;
    Item.AttachOffset = AOffset;
    return Attach_AddItem(std::move(Item));
}

int32_t TNuo4SimpleBuffer::Attach_AddItem(TrecNuo4AttachBufferItem AItem) {
    if (!AItem.Symbol || !Basic_CheckIndex(AItem.SourceIndex)) return -1;
    TNuo4Symbol* Owner = Basic_GetSymbol(AItem.SourceIndex);
    TNuo4Symbol* S = AItem.Symbol.get();
    const TNuo4SymbolType T = S->GetSymbolType();
    AttachBuffer.push_back(std::move(AItem.Symbol));
    FAttachOcupy.push_back(IsAttachments(T) ? AItem.Ocupy : 0);
    FAttachTypes.push_back(T);
    FAttachOwners.push_back(AItem.SourceIndex);
    const int32_t I = Attach_GetLast();
    S->CalcInfo.SymbolBufferIndex.InitializeToAttach(I);
    TrecNuo4CalcInfo_WhenAsAttachSymbol& A = S->MutAttachInfo();
    A.SourceIndex = AItem.SourceIndex;
    A.SourceIndex2 = Basic_CheckIndex(AItem.SourceIndex2) ? AItem.SourceIndex2 : AItem.SourceIndex;
    A.AttachPos = AItem.AttachOffset;

    const TGPRectF Black = S->BlackBox().translated(AItem.AttachOffset);
    TrecNuo4CalcInfo_AttachmentsInfo& G = Owner->MutBasicInfo().AttachmentsInfo;
    TNuo4CalcInfo_AttachmentsGroup* Group = nullptr;
    bool bGrowsLayout = true;
    TGPRectF LayoutBox = Black;
    if (T == sbstArc)
        Group = &G.Arcs;
    else if (T == sbstLyric || T == sbstAttachLyric) {
        Group = &G.Lyrics;
        // A lyric that does not occupy space leaves the owner's layout box as it is.
        if (auto* L = dynamic_cast<TNuo4SymbolLyric*>(S)) {
            bGrowsLayout = L->IsOcupy();
            LayoutBox = L->SpacingBox().translated(AItem.AttachOffset);
        } else
            bGrowsLayout = !RectIsEmpty(S->Bounds());
    } else if (T == sbstArticulation)
        Group = &G.Articulations;
    else if (T == sbstFangZi)
        Group = &G.FangZis;
    else if (IsAttachments(T)) {
        Group = &G.Attachments;
        // Attachments take room only on the sides their occupancy names (below).
        bGrowsLayout = false;
    }
    if (Group) {
        TrecNuo4CalcInfo_AttachmentsInfoItem& Item = Group->Mut();
        Item.AttachIndexArray.push_back(I);
        GrowBox(Item.Bounds.Black, Black);
        if (bGrowsLayout) GrowBox(Item.Bounds.Layout, LayoutBox);
    }
    if (IsAttachments(T) && AItem.Ocupy != 0) {
        TGPRectF Layout = Owner->CalcInfo.Bounds_Self.Layout;
        Nuo4GrowByOcupy(Layout, Black, AItem.Ocupy);
        Owner->CalcInfo.Bounds_Self.Layout = Layout;
        Owner->Update_Bounds_Total(true);
    }
    return I;
}

void Nuo4GrowByOcupy(TGPRectF& ALayout, const TGPRectF& ABox, TNuo4AttachmentsOcupyTypes AOcupy) {
    if (RectIsEmpty(ABox)) return;
    if (RectIsEmpty(ALayout)) {
        // An empty box grows from the owner's reference point.
        ALayout = TGPRectF(0, 0, 0, 0);
    }
    if (AOcupy & (1 << atotUp)) ALayout.setTop(std::min(ALayout.top(), ABox.top()));
    if (AOcupy & (1 << atotDown)) ALayout.setBottom(std::max(ALayout.bottom(), ABox.bottom()));
    if (AOcupy & (1 << atotLeft)) ALayout.setLeft(std::min(ALayout.left(), ABox.left()));
    if (AOcupy & (1 << atotRight)) ALayout.setRight(std::max(ALayout.right(), ABox.right()));
}

void TNuo4SimpleBuffer::Basic_UpdateBoundsSelf(int32_t AIndex) {
    TNuo4Symbol* S = Basic_GetSymbol(AIndex);
    if (!S) return;
    TrecNuo4CalcInfo_BoundsInfo B{S->BlackBox(), S->Bounds()};
    for (int32_t A : S->BasicInfo().AttachmentsInfo.Attachments.Get().AttachIndexArray) {
        TNuo4Symbol* P = Attach_GetSymbol(A);
        if (P && FAttachOcupy[A] != 0)
            Nuo4GrowByOcupy(B.Layout, P->BlackBox().translated(P->AttachInfo().AttachPos),
                            FAttachOcupy[A]);
    }
    S->CalcInfo.Bounds_Self = B;
}

void TNuo4SimpleBuffer::CreateArticulations() {
    const TrecNuo4DocOptions& O = Nuo4DocOptions();
    for (int32_t B = 0; B < Basic_GetCount(); ++B) {
        Basic_PrefetchAhead(B);
        TNuo4SymbolNote* N = Basic_GetSymbolNote(B);
        if (!N) continue;
        N->MutBasicInfo().AttachmentsInfo.Articulations.Reset();
        const TNuo4ArticulationInfoItems& Items = N->ABCAttachmentsInfo.Get().Articulations;
        if (Items.empty()) continue;
        // The gaps are coefficients of the document's normal digit, whatever the note's style.
        const double Dh = O.GetNormalStyleDigitSize().Height;
        // From the digits: the marks stand over them, not over the sharp or flat beside them.
        // A temporary voice stacks them from the top of the note's own box.
        const QRectF Digits =
            IsAttachBranch() ? QRectF() : GetBounds_MainAndChord_Basic(N->SymbolRec);
        double Y =
            (RectIsEmpty(Digits) ? N->Bounds().top() : Digits.top()) + O.ArticulationPosCoefY * Dh;
        for (const TrecNuo4ArticulationInfoItem& It : Items) {
            auto A = TNuo4SymbolArticulation::CreateFromDocument(It.Articulation);
            A->SetNoteStyleIndex(N->NoteStyleIndex());
            A->Update(true);
            const double H = A->BlackBox().height();
            TrecNuo4AttachBufferItem Item;
            Item.Symbol = std::move(A);
            Item.SourceIndex = Item.SourceIndex2 = B;
            Item.AttachOffset = TGPPointF(0, Y);
            Attach_AddItem(std::move(Item));
            Y = Y - H + O.ArticulationPosCoefY * Dh;
        }
    }
}

void TNuo4SimpleBuffer::GetAccompMarkerRangeArray() {
    AccompMarkerRangeArray.clear();
    int32_t Open = -1;
    for (int32_t I = 0; I < Basic_GetCount(); ++I) {
        if (Basic_IsAccompMarker_Start(I))
            Open = I;  // a second start replaces the open one
        else if (Basic_IsAccompMarker_End(I) && Open >= 0) {
            AccompMarkerRangeArray.push_back(TKoRange::FromStartEnd(Open, I));
            Open = -1;
        }
    }
    // A temporary voice that forces its sub-style gives it to every symbol.
    if (FBranch && FBranch->bForceUseSubStyle) {
        for (int32_t I = 0; I < Basic_GetCount(); ++I) {
            TNuo4Symbol* S = Basic_GetSymbol(I);
            S->SetSubStyle(FBranch->SubStyleToForceUse);
            S->Update(true);
            Basic_UpdateBoundsSelf(I);
        }
        return;
    }
    const TNuo4NoteSubStyle Sub = Nuo4DocOptions().Param_Accomp.NoteSubStyle;
    for (const TKoRange& R : AccompMarkerRangeArray)
        for (int32_t I = R.StartIndex; I <= R.EndIndex(); ++I) {
            TNuo4Symbol* S = Basic_GetSymbol(I);
            S->SetSubStyle(Sub);
            S->Update(true);
            Basic_UpdateBoundsSelf(I);
        }
}

void TNuo4SimpleBuffer::Process_HiddenSymbols() {
    for (int32_t I = 0; I < Basic_GetCount(); ++I) {
        Basic_PrefetchAhead(I);
        const TNuo4Symbol* S = BasicBuffer[I].get();
        if (!S->Hided()) continue;
        const TrecNuo4CalcInfo_AttachmentsInfo& G = S->BasicInfo().AttachmentsInfo;
        for (int32_t A : G.Articulations.Get().AttachIndexArray)
            if (TNuo4Symbol* P = Attach_GetSymbol(A)) P->SetHideLevel(shlAll);
        for (int32_t A : G.Arcs.Get().AttachIndexArray)
            if (TNuo4Symbol* P = Attach_GetSymbol(A)) P->SetHideLevel(shlAll);
    }
}

}  // namespace nuo4
