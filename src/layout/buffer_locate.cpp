// The layout proper, in its order. The steps of lines, paragraphs, pages and placement are
// defined with those passes; the steps marked below run at their places once those passes
// are part of the library.

#include "layout/simple_buffer.h"

namespace nuo4 {

void TNuo4SimpleBuffer::LocateAllSymbols() {
    UpdateAllBasicSymbolsBoundsTotal();
    AutoSetAWCoef();
    Lyric_CheckAllOcupy();
    // Paragraph ranges and information, line breaking, paragraph information again.
    AdjustAWCoefToFitLayoutWidth();
    UpdateAllBasicSymbols();
    UpdateAllBasicSymbolsHorzPosFromAW(TGPPointF(0, 0));
    // Arcs; volta information and voltas; vertical offsets of the lines; lyrics placed.
    UpdateAllBasicSymbolsBoundsTotal();
    // Line bounds and baselines; one endless page; page breaking; separate pages; attach
    // branches aligned.
    UpdateAllAttachSymbolsPos();
    // Wrapped special arcs and voltas aligned.
}

}  // namespace nuo4
