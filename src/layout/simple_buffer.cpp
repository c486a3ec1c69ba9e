#include "layout/simple_buffer.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <utility>

#include "layout/branch_data.h"
#include "layout/fine_timer.h"
#include "layout/symbol_prefetch.h"
#include "render/measure_surface.h"
#include "render/note_symbol.h"
#include "render/symbol_basic.h"

namespace nuo4 {

const char* const Nuo4SimBufProcessMarks[11] = {
    "Enter-SimBuf.Process",
    "SimBuf.Process-SectionsFonts",
    "SimBuf.Process-SectionsOptions",
    "SimBuf.Process-SectionTitle",
    "SimBuf.Process-SectionsVoice",
    "SimBuf.Process-SectionsLyric",
    "SimBuf.Process-SectionsAttachments",
    "SimBuf.Process-SectionsPage",
    "SimBuf.Process-LocateAllSymbols",
    "SimBuf.Process-Other",
    "Exit-SimBuf.Process",
};

TNuo4SimpleBuffer::TNuo4SimpleBuffer(TNuo4ABCBuffer* AABCBuffer, TNotifyEvent ARequestHMIDocOptions)
    : FEventHandler_RequestHMIDocOptions(std::move(ARequestHMIDocOptions)), FABCBuffer(AABCBuffer) {
    BasicBufferIndexOfPlayingNote = -1;
    InternalStatus.Clear();  // empty caret at basic index 0, left side; no highlight
    Nuo4RegisterAttachBranchDataBuilder();
    if (FABCBuffer) ProcessABCBuffer();
}

TNuo4SimpleBuffer::TNuo4SimpleBuffer(TNuo4ABCBuffer* AABCBuffer,
                                     const TrecNuo4AttachBranchSettings& ABranch)
    : FABCBuffer(AABCBuffer), FBranch(std::make_unique<TrecNuo4AttachBranchSettings>(ABranch)) {
    InternalStatus.Clear();
    if (FABCBuffer) ProcessAttachBranch();
}

namespace {

// glibc keeps small freed blocks unmerged in its fast lists until a large block is asked for
// or freed. Freeing a long score's symbols piles up hundreds of thousands of them, and the first
// large free after (a buffer's array) merges them all when they have long left the caches: a
// wait on memory for each. Asking for a large block every few hundred symbols has them merged
// while they are still in the caches.
constexpr int32_t Nuo4FreedBlocksMergeEvery = 256;

void MergeFreedSmallBlocks() {
#if defined(__GLIBC__)
    // Volatile, so that the request is not left out as unused.
    void* volatile Block = std::malloc(4096);
    std::free(Block);
#endif
}

}  // namespace

TNuo4SimpleBuffer::~TNuo4SimpleBuffer() {
    TitleBlockPathes.clear();
    // Every symbol is reached once more to be freed, asked for ahead as the passes do, in the
    // reverse of the order the build made them: attach symbols (made after their owners) first,
    // each buffer from its end, so that freed blocks tend to lie next to blocks freed just
    // before (measured a little faster on a long score than the order of making).
    for (int32_t I = Attach_GetCount() - 1; I >= 0; --I) {
        if (I - Nuo4PrefetchFar >= 0)
            Nuo4PrefetchSymbol(AttachBuffer[size_t(I - Nuo4PrefetchFar)].get());
        if (I - Nuo4PrefetchNear >= 0)
            Nuo4PrefetchGroups(AttachBuffer[size_t(I - Nuo4PrefetchNear)].get());
        AttachBuffer[size_t(I)].reset();
        if (I % Nuo4FreedBlocksMergeEvery == 0) MergeFreedSmallBlocks();
    }
    PageBuffer_Clear();
    for (int32_t I = Basic_GetCount() - 1; I >= 0; --I) {
        if (I - Nuo4PrefetchFar >= 0)
            Nuo4PrefetchSymbol(BasicBuffer[size_t(I - Nuo4PrefetchFar)].get());
        if (I - Nuo4PrefetchNear >= 0)
            Nuo4PrefetchGroups(BasicBuffer[size_t(I - Nuo4PrefetchNear)].get());
        BasicBuffer[size_t(I)].reset();
        if (I % Nuo4FreedBlocksMergeEvery == 0) MergeFreedSmallBlocks();
    }
    Basic_Clear();
    Attach_Clear();
}

void TNuo4SimpleBuffer::ProcessABCBuffer() {
    TKoFineTimer& T = Nuo4FineTimer();
    const char* const* M = Nuo4SimBufProcessMarks;
    // Texts are measured and outlined on a surface; a build outside any drawing lends one.
    TNuo4MeasureSurfaceScope Surface;
    // Each build records its own marks: kept across builds they would grow with every edit.
    T.Clear(0);
    T.Mark(0, M[0]);
    ProcessSection_Fonts();
    T.Mark(0, M[1]);
    ProcessSection_Options();
    T.Mark(0, M[2]);
    ProcessSection_Title();
    T.Mark(0, M[3]);
    ProcesSectionVoice();
    T.Mark(0, M[4]);
    ProcessSection_Lyrics();
    T.Mark(0, M[5]);
    ProcessSection_Attachments();
    T.Mark(0, M[6]);
    ProcessSection_Page();
    T.Mark(0, M[7]);
    LocateAllSymbols();
    T.Mark(0, M[8]);
    Process_HiddenSymbols();
    Process_System();
    UpdateMidiNotes();
    RulesCheck_All();
    GetAttachIndexArray_ByLine();
    T.Mark(0, M[9]);
    T.Mark(0, M[10]);
}

// ---- Basic buffer ---------------------------------------------------------------------------

int32_t TNuo4SimpleBuffer::Basic_AddItem(TNuo4SymbolPtr ASymbol) {
    if (!ASymbol) return -1;
    FBasicTypes.push_back(ASymbol->GetSymbolType());
    BasicBuffer.push_back(std::move(ASymbol));
    const int32_t I = Basic_GetLast();
    BasicBuffer[I]->CalcInfo.SymbolBufferIndex.InitializeToBasic(I);
    return I;
}

bool TNuo4SimpleBuffer::Basic_CheckIndex(int32_t AIndex) const {
    return AIndex >= 0 && AIndex < Basic_GetCount();
}

bool TNuo4SimpleBuffer::Basic_CheckIndex(TKoRange ARange) const {
    return ARange.IsNonEmpty() && Basic_CheckIndex(ARange.StartIndex) &&
           Basic_CheckIndex(ARange.EndIndex());
}

TNuo4Symbol* TNuo4SimpleBuffer::Basic_GetSymbol(int32_t AIndex) const {
    return Basic_CheckIndex(AIndex) ? BasicBuffer[AIndex].get() : nullptr;
}

TNuo4SymbolNote* TNuo4SimpleBuffer::Basic_GetSymbolNote(int32_t AIndex) const {
    return Basic_IsNote(AIndex) ? static_cast<TNuo4SymbolNote*>(BasicBuffer[AIndex].get())
                                : nullptr;
}

TNuo4SymbolType TNuo4SimpleBuffer::Basic_GetSymbolType(int32_t AIndex) const {
    return Basic_CheckIndex(AIndex) ? FBasicTypes[size_t(AIndex)] : sbstNone;
}

const TrecNuo4SymbolAccompMarker* TNuo4SimpleBuffer::AccompMarkerRec(int32_t AIndex) const {
    if (!Basic_IsAccompMarker(AIndex)) return nullptr;
    return static_cast<const TrecNuo4SymbolAccompMarker*>(
        std::as_const(*BasicBuffer[AIndex]).GetSymbolRecPtr());
}

bool TNuo4SimpleBuffer::Basic_IsAccompMarker_Start(int32_t AIndex) const {
    const TrecNuo4SymbolAccompMarker* R = AccompMarkerRec(AIndex);
    return R && R->aType == sctStart;
}

bool TNuo4SimpleBuffer::Basic_IsAccompMarker_End(int32_t AIndex) const {
    const TrecNuo4SymbolAccompMarker* R = AccompMarkerRec(AIndex);
    return R && R->aType == sctEnd;
}

void TNuo4SimpleBuffer::Basic_PrefetchAhead(int32_t AIndex) const {
    const int32_t N = Basic_GetCount();
    if (AIndex + Nuo4PrefetchFar < N)
        Nuo4PrefetchSymbol(BasicBuffer[AIndex + Nuo4PrefetchFar].get());
    if (AIndex + Nuo4PrefetchNear < N)
        Nuo4PrefetchGroups(BasicBuffer[AIndex + Nuo4PrefetchNear].get());
}

void TNuo4SimpleBuffer::Basic_OffsetSymbols(TKoRange ARange, TGPPointF AOffset) {
    if (!ARange.IsNonEmpty()) return;
    for (int32_t I = ARange.StartIndex; I <= ARange.EndIndex(); ++I) {
        Basic_PrefetchAhead(I);
        if (TNuo4Symbol* S = Basic_GetSymbol(I)) S->SetPos(S->Pos() + AOffset);
    }
}

void TNuo4SimpleBuffer::Basic_OffsetYSymbols(int32_t ALineIndex, double ADy) {
    if (ALineIndex < 0 || ALineIndex >= int32_t(LineInfoArray.size())) return;
    Basic_OffsetSymbols(LineInfoArray[ALineIndex].BasicIndexRange, TGPPointF(0, ADy));
}

// ---- Attach buffer --------------------------------------------------------------------------

bool TNuo4SimpleBuffer::Attach_CheckIndex(int32_t AIndex) const {
    return AIndex >= 0 && AIndex < Attach_GetCount();
}

bool TNuo4SimpleBuffer::Attach_CheckIndex(TKoRange ARange) const {
    return ARange.IsNonEmpty() && Attach_CheckIndex(ARange.StartIndex) &&
           Attach_CheckIndex(ARange.EndIndex());
}

TNuo4Symbol* TNuo4SimpleBuffer::Attach_GetSymbol(int32_t AIndex) const {
    if (!Attach_CheckIndex(AIndex)) return nullptr;
    if (FAttachAccessLog && AIndex < int32_t(FAttachAccessLog->size()))
        (*FAttachAccessLog)[AIndex] = 1;
    return AttachBuffer[AIndex].get();
}

TNuo4SymbolType TNuo4SimpleBuffer::Attach_GetSymbolType(int32_t AIndex) const {
    return Attach_GetSymbol(AIndex) ? FAttachTypes[size_t(AIndex)] : sbstNone;
}

int32_t TNuo4SimpleBuffer::Attach_GetBasicIndex(int32_t AIndex) const {
    return Attach_GetSymbol(AIndex) ? FAttachOwners[size_t(AIndex)] : -1;
}

void TNuo4SimpleBuffer::Attach_PrefetchAhead(int32_t AIndex) const {
    const int32_t A = AIndex + Nuo4PrefetchFar;
    if (A < 0 || A >= Attach_GetCount()) return;
    Nuo4PrefetchSymbol(AttachBuffer[A].get());
    if (Basic_CheckIndex(FAttachOwners[A])) Nuo4PrefetchSymbol(BasicBuffer[FAttachOwners[A]].get());
}

TGPPointF TNuo4SimpleBuffer::Attach_GetPagePos(int32_t AIndex) const {
    const TNuo4Symbol* S = Attach_GetSymbol(AIndex);
    return S ? S->Pos() : TGPPointF();
}

int32_t TNuo4SimpleBuffer::Attach_GetPageIndex(int32_t AIndex) const {
    const int32_t B = Attach_GetBasicIndex(AIndex);
    if (B < 0) return -1;
    // Pages follow one another in the basic buffer: the candidate is the last page starting at
    // or before B. Called for every attachment, so a scan of all pages would grow with the square
    // of the score's length.
    const auto It = std::upper_bound(
        PageInfoArray.begin(), PageInfoArray.end(), B,
        [](int32_t V, const TrecNuo4PageInfoItem& P) { return V < P.BasicIndexRange.StartIndex; });
    if (It != PageInfoArray.begin() && std::prev(It)->BasicIndexRange.Contains(B))
        return int32_t(std::prev(It) - PageInfoArray.begin());
    for (int32_t P = 0; P < int32_t(PageInfoArray.size()); ++P)
        if (PageInfoArray[P].BasicIndexRange.Contains(B)) return P;
    return -1;
}

// ---- Page buffer ----------------------------------------------------------------------------

int32_t TNuo4SimpleBuffer::PageBuffer_AddItem(TNuo4SymbolPtr ASymbol) {
    if (!ASymbol) return -1;
    PageBuffer.push_back(std::move(ASymbol));
    const int32_t I = PageBuffer_GetLast();
    PageBuffer[I]->CalcInfo.SymbolBufferIndex.InitializeToPage(I);
    return I;
}

bool TNuo4SimpleBuffer::PageBuffer_CheckIndex(int32_t AIndex) const {
    return AIndex >= 0 && AIndex < PageBuffer_GetCount();
}

TNuo4Symbol* TNuo4SimpleBuffer::PageBuffer_GetSymbol(int32_t AIndex) const {
    return PageBuffer_CheckIndex(AIndex) ? PageBuffer[AIndex].get() : nullptr;
}

int32_t TNuo4SimpleBuffer::PageBuffer_GetPageIndex(int32_t AIndex) const {
    const TNuo4Symbol* S = PageBuffer_GetSymbol(AIndex);
    if (!S || !FABCBuffer) return -1;
    const int32_t Item = S->CalcInfo.SymbolABCTextInfo.PageBufIndex();
    const auto& Items = FABCBuffer->Section_Page.Buffer;
    if (Item < 0 || Item >= int32_t(Items.size())) return -1;
    return Items[Item].Value.Header.Location.PageIndex;
}

TNuo4SymbolType TNuo4SimpleBuffer::PageBuffer_GetSymbolType(int32_t AIndex) const {
    const TNuo4Symbol* S = PageBuffer_GetSymbol(AIndex);
    return S ? S->GetSymbolType() : sbstNone;
}

TNuo4Symbol* TNuo4SimpleBuffer::GetSymbol(const TrecNuo4SymbolBufferIndex& AIndex) const {
    switch (AIndex.BufferType) {
        case sbtBasic:
            return Basic_GetSymbol(AIndex.BufferInex);
        case sbtAttach:
            return Attach_GetSymbol(AIndex.BufferInex);
        case sbtPage:
            return PageBuffer_GetSymbol(AIndex.BufferInex);
    }
    return nullptr;
}

// ---- Measures -------------------------------------------------------------------------------

bool TNuo4SimpleBuffer::CheckMeasureIndex(int32_t AIndex) const {
    return AIndex >= 0 && AIndex < GetMeasureCount();
}

int32_t TNuo4SimpleBuffer::GetMeasureIndex_FromBasicIndex(int32_t ABasicIndex) const {
    if (!Basic_CheckIndex(ABasicIndex)) return -1;
    // Measures are sorted by start: binary search for the last one starting at or before.
    int32_t Lo = 0, Hi = GetMeasureCount() - 1, Found = -1;
    while (Lo <= Hi) {
        const int32_t Mid = (Lo + Hi) / 2;
        if (MeasureInfoArray[Mid].BasicIndexRange.StartIndex <= ABasicIndex) {
            Found = Mid;
            Lo = Mid + 1;
        } else {
            Hi = Mid - 1;
        }
    }
    if (Found >= 0 && MeasureInfoArray[Found].BasicIndexRange.Contains(ABasicIndex)) return Found;
    return -1;
}

// ---- Placement in one row -------------------------------------------------------------------

void TNuo4SimpleBuffer::UpdateAllBasicSymbolsHorzPosFromAW(TGPPointF AFirstPoint) {
    TGPPointF P = AFirstPoint;
    for (int32_t I = 0; I < Basic_GetCount(); ++I) {
        Basic_PrefetchAhead(I);
        TNuo4Symbol* S = BasicBuffer[I].get();
        S->SetPos(P);
        P.setX(P.x() + S->AW());
    }
}

void TNuo4SimpleBuffer::UpdateAllAttachSymbolsPos() {
    for (int32_t I = 0; I < Attach_GetCount(); ++I) {
        Attach_PrefetchAhead(I);
        TNuo4Symbol* S = AttachBuffer[I].get();
        const TrecNuo4CalcInfo_WhenAsAttachSymbol& A = S->AttachInfo();
        if (const TNuo4Symbol* Owner = Basic_GetSymbol(A.SourceIndex))
            S->SetPos(Owner->Pos() + A.AttachPos);
    }
}

void TNuo4SimpleBuffer::UpdateAllBasicSymbols() {
    for (int32_t I = 0; I < Basic_GetCount(); ++I) {
        Basic_PrefetchAhead(I);
        TNuo4Symbol* S = BasicBuffer[I].get();
        if (!S->NeedUpdate()) continue;
        S->Update(false);
        Basic_UpdateBoundsSelf(I);
    }
}

namespace {

// Whether the non-empty lines cover rising, separate basic ranges, and the justification calls
// come in the order of their lines: then each line can be justified, updated and placed in one
// walk, and every symbol sees the same steps in the same order as in three passes.
bool LinesCanBeWalkedOnce(const std::vector<TrecNuo4LineInfoItem>& ALines,
                          const std::vector<TrecNuo4JustifyLineCall>& ACalls) {
    int32_t End = -1;
    for (const TrecNuo4LineInfoItem& L : ALines) {
        const TKoRange R = L.BasicIndexRange;
        if (!R.IsNonEmpty()) continue;
        if (R.StartIndex <= End) return false;
        End = R.EndIndex();
    }
    for (size_t C = 1; C < ACalls.size(); ++C)
        if (ACalls[C].LineIndex < ACalls[C - 1].LineIndex) return false;
    return true;
}

}  // namespace

void TNuo4SimpleBuffer::JustifyUpdateAndPlaceByLine(TGPPointF AFirstPoint) {
    const std::vector<TrecNuo4JustifyLineCall> Calls = GetJustifyLineCalls();
    if (!LinesCanBeWalkedOnce(LineInfoArray, Calls)) {
        AdjustAWCoefToFitLayoutWidth();
        UpdateAllBasicSymbols();
        UpdateAllBasicSymbolsHorzPosFromAW(AFirstPoint);
        return;
    }
    // A long score's symbols lie far beyond the caches: a line's few dozen are brought in once
    // for all three steps rather than once per pass over the whole score.
    const int32_t LastNonEmpty = GetLastNonEmptyLine();
    const int32_t N = Basic_GetCount();
    int32_t Next = 0;  // the first symbol not yet updated and placed
    TGPPointF P = AFirstPoint;
    auto UpdateAndPlaceTo = [&](int32_t ALast) {
        for (; Next <= ALast && Next < N; ++Next) {
            Basic_PrefetchAhead(Next);
            TNuo4Symbol* S = BasicBuffer[Next].get();
            if (S->NeedUpdate()) {
                S->Update(false);
                Basic_UpdateBoundsSelf(Next);
            }
            S->SetPos(P);
            P.setX(P.x() + S->AW());
        }
    };
    size_t C = 0;
    for (int32_t LI = 0; LI < int32_t(LineInfoArray.size()); ++LI) {
        const TKoRange R = LineInfoArray[LI].BasicIndexRange;
        if (R.IsNonEmpty()) UpdateAndPlaceTo(R.StartIndex - 1);
        for (; C < Calls.size() && Calls[C].LineIndex == LI; ++C)
            JustifyLine(Calls[C], LastNonEmpty);
        if (R.IsNonEmpty()) UpdateAndPlaceTo(R.EndIndex());
    }
    UpdateAndPlaceTo(N - 1);
}

void TNuo4SimpleBuffer::UpdateAllBasicSymbolsBoundsTotal() {
    for (int32_t I = 0; I < Basic_GetCount(); ++I) {
        Basic_PrefetchAhead(I);
        BasicBuffer[I]->Update_Bounds_Total(true);
    }
}
}  // namespace nuo4
