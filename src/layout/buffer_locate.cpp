// The layout proper, in its order.

#include "layout/simple_buffer.h"

namespace nuo4 {

void TNuo4SimpleBuffer::LocateAllSymbols() {
    UpdateAllBasicSymbolsBoundsTotal();
    AutoSetAWCoef();
    Lyric_CheckAllOcupy();
    GetParagraphRangeArray();
    GetParagraphInfoArray();
    GetLineRangeArray();
    GetParagraphInfoArray();  // now with the line ranges
    AdjustAWCoefToFitLayoutWidth();
    UpdateAllBasicSymbols();
    UpdateAllBasicSymbolsHorzPosFromAW(TGPPointF(0, 0));
    // Arcs; volta information and voltas.
    CreateArcs();
    GetFangZiInfoArray();
    CreateFangZis();
    LineInfoArray_GetVertOffsets();
    AdjustLyricsVertPos();
    UpdateAllBasicSymbolsBoundsTotal();
    LineInfoArray_GetBounds();
    LineInfoArray_GetBaselineY();
    SingleLineToSinglePage();
    GetPageRangeArray();
    GetPageInfoArray();
    SinglePageToMultiPage();
    AttachBranch_AutoAlign();
    UpdateAllAttachSymbolsPos();
    // Wrapped special arcs and voltas aligned.
    AutoAlign_WrappedSpecialArcsAndFangZis();
}

}  // namespace nuo4
