// The layout proper, in its order.

#include "layout/simple_buffer.h"

namespace nuo4 {

void TNuo4SimpleBuffer::LocateAllSymbols() {
    // Total bounds of all basic symbols, automatic advance-width coefficients and widening for
    // lyrics.
    UpdateBoundsTotal_AutoSetAWCoef_LyricOcupy();
    GetParagraphRangeArray();
    GetParagraphInfoArray();
    GetLineRangeArray();
    GetParagraphInfoArray();  // now with the line ranges
    // Justification, update of all basic symbols and their placement in one row from (0, 0).
    JustifyUpdateAndPlaceByLine(TGPPointF(0, 0));
    // Arcs; volta information and voltas.
    CreateArcs();
    GetFangZiInfoArray();
    CreateFangZis();
    LineInfoArray_GetVertOffsets();
    AdjustLyricsVertPos();
    // Total bounds again and line bounds.
    UpdateAllBasicSymbolsBoundsTotal_LineBounds();
    LineInfoArray_GetBaselineY();
    // Lines onto one endless page, page breaking, pages made separate: the symbols are moved
    // once, by both offsets, when the pages are known.
    const std::vector<TGPPointF> LineOffsets = SingleLineToSinglePage_Offsets();
    GetPageRangeArray();
    GetPageInfoArray();
    MoveLinesOntoPages(LineOffsets, SinglePageToMultiPage_Moves());
    AttachBranch_AutoAlign();
    UpdateAllAttachSymbolsPos();
    // Wrapped special arcs and voltas aligned.
    AutoAlign_WrappedSpecialArcsAndFangZis();
}

}  // namespace nuo4
