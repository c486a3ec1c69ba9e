// The stages of a temporary voice's own buffer: the main voice's steps on the voice text, its
// lyrics, and a layout reduced to one line in the voice's own coordinates.

#include <algorithm>

#include "layout/fine_timer.h"
#include "layout/layout_line_break.h"
#include "layout/simple_buffer.h"
#include "render/measure_surface.h"
#include "render/note_symbol.h"
#include "render/symbol_lyric.h"

namespace nuo4 {

void TNuo4SimpleBuffer::ProcessAttachBranch() {
    TNuo4MeasureSurfaceScope Surface;
    CreateAndAddBasicSymbols();
    if (Basic_GetCount() == 0) return;  // a buffer without symbols draws nothing
    GetArcInfoArray();
    GetCalcInfo_Arc();
    Basic_GetDV();
    GetMeasureInfoArray();
    CreateArticulations();
    GetAccompMarkerRangeArray();
    ProcessSection_Lyrics();
    Process_HiddenSymbols();
    LocateAllSymbols_AttachBranch();
}

void TNuo4SimpleBuffer::AutoSetAWCoefFromAutoAlignInfo() {
    const TrecNuo4AttachBranchAutoAlignInfo& Info = FBranch->AutoAlignInfo;
    const int32_t Count = std::min(Info.GetValidCount(), Basic_GetCount());
    for (int32_t I = 0; I < Count; ++I) {
        const TrecNuo4SymbolControlOptions_AWCoef& E = Info.Symbols[size_t(I)];
        if (E.AWCoef <= 0) continue;  // left open: the symbol keeps its coefficient
        TNuo4Symbol* S = Basic_GetSymbol(I);
        S->SetAWCoef(E.AWCoef);
        if (TNuo4SymbolNote* N = Basic_GetSymbolNote(I))
            if (N->WithRightline() && E.RightLineSpacingCoefIsLocked())
                N->SetRightLineSpacingCoefArray(E.RightLineSpacingCoefArray);
    }
    // Entries end at the array's capacity: a longer voice spaces the rest by the rule.
    if (Count == TrecNuo4AttachBranchAutoAlignInfo::Capacity)
        for (int32_t I = Count; I < Basic_GetCount(); ++I) {
            TNuo4Symbol* S = Basic_GetSymbol(I);
            if (!S->AWCoefIsLocked()) S->SetAWCoef(_AutoGetAWCoef(I));
        }
}

void TNuo4SimpleBuffer::LocateAllSymbols_AttachBranch() {
    // Every symbol reserves the room of lyrics as the voice's first lyric says.
    bool bLyricOcupy = false;
    for (const TNuo4SymbolPtr& A : AttachBuffer)
        if (auto* L = dynamic_cast<const TNuo4SymbolLyric*>(A.get())) {
            bLyricOcupy = L->IsOcupy();
            break;
        }
    auto BoundsTotal = [&] {
        for (const TNuo4SymbolPtr& S : BasicBuffer) S->Update_Bounds_Total(bLyricOcupy);
    };
    BoundsTotal();
    if (FBranch->bAutoAlign && FBranch->AutoAlignInfo.GetValidCount() > 0)
        AutoSetAWCoefFromAutoAlignInfo();
    else
        AutoSetAWCoef();
    Lyric_CheckAllOcupy();
    // One line of everything; no paragraphs, breaking, justification or pages.
    TrecNuo4LineInfoItem Line;
    Line.BasicIndexRange = TKoRange(0, Basic_GetCount());
    Line.MeasureIndexRange = TKoRange(0, GetMeasureCount());
    LineInfoArray.assign(1, Line);
    LineRangeArray = LineRangesOf(LineInfoArray);
    UpdateAllBasicSymbols();
    UpdateAllBasicSymbolsHorzPosFromAW(TGPPointF(0, 0));
    CreateArcs();
    LineInfoArray_GetVertOffsets();
    AdjustLyricsVertPos();
    BoundsTotal();
    LineInfoArray_GetBounds();
    LineInfoArray[0].BaselineY = 0;
    UpdateAllAttachSymbolsPos();
    GetAttachIndexArray_ByLine();
}

}  // namespace nuo4
