#pragma once
// Hit-testing: which title item, line, measure, basic, attach and page symbol lies under a
// point of the view or of a page, and where a click puts the caret. Pure queries of the
// last build; nothing is rebuilt or changed.
//
// View positions are those of PageRectArray_View (ViewPosToPagePos, draw_document.h); page
// positions are millimetres from the paper's top-left corner.

#include <cstdint>

#include "format/ko_range.h"
#include "layout/layout_info.h"
#include "render/draw_utils.h"

namespace nuo4 {

class TNuo4SimpleBuffer;
class TNuo4Symbol;

// What lies under a point. Indexes -1 and ranges invalid when nothing is found.
struct TrecNuo4BufferPos {
    TGPPointF DevicePos{-1, -1};  // the point as given
    bool bAtTitleBlock = false;
    int32_t TitleItemIndex = -1;
    int32_t PageIndex = -1;
    int32_t LineIndex = -1;
    int32_t MeasureIndex = -1;
    int32_t BasicIndex = -1;
    int32_t AttachIndex = -1;
    int32_t PageSymbolIndex = -1;
    TGPPointF PosAtPage{-1, -1};
    TKoRange ABCTextRange_Basic = TKoRange::Invalid();
    TKoRange ABCTextRange_Attach = TKoRange::Invalid();
    TKoRange ABCTextRange_Page = TKoRange::Invalid();

    void SetToDefault() { *this = TrecNuo4BufferPos(); }
};

// Everything under a view point; outside every page the result stays default.
TrecNuo4BufferPos ViewPosToBufferPos(const TNuo4SimpleBuffer& B, TGPPointF AViewPos);
// The same for a point already on a page.
TrecNuo4BufferPos PagePosToBufferPos(const TNuo4SimpleBuffer& B, int32_t APageIndex,
                                     TGPPointF APagePos);

// The line of the page nearest the point vertically (see the rule in the .cpp); -1 for a
// page without lines. bExactly: the point lies inside that line's layout box vertically.
int32_t GetLineIndexFromPagePos(const TNuo4SimpleBuffer& B, int32_t APageIndex, TGPPointF APagePos,
                                bool* bExactly = nullptr);
// The basic symbol of the line nearest the point horizontally; -1 for a line without symbols.
// bExactly: the point lies inside that symbol's box.
int32_t GetBasicIndexFromPagePosAndLineIndex(const TNuo4SimpleBuffer& B, int32_t ALineIndex,
                                             TGPPointF APagePos, bool* bExactly = nullptr);
// Line, then symbol; with bAvoidReturn a return steps back to the symbol before it on the
// same line.
int32_t PagePosToBasicIndex(const TNuo4SimpleBuffer& B, int32_t APageIndex, TGPPointF APagePos,
                            bool bAvoidReturn, bool* bExactly = nullptr);
// Where a click at the point puts the caret; false for a page without lines.
bool PagePosToCaretPos(const TNuo4SimpleBuffer& B, int32_t APageIndex, TGPPointF APagePos,
                       TrecNuo4CaretPos_Index& ACaret);
// The view point through the page rectangles; -1 outside every page.
int32_t DevicePosToBasicIndex(const TNuo4SimpleBuffer& B, TGPPointF AViewPos, bool bAvoidReturn);

TNuo4Symbol* GetSymbolFromSymbolBufferIndex(const TNuo4SimpleBuffer& B,
                                            const TrecNuo4SymbolBufferIndex& AIndex);
// The page of a symbol of any buffer (an attach symbol's owner's page); -1 when none.
int32_t GetPageIndexFromSymbolBufferIndex(const TNuo4SimpleBuffer& B,
                                          const TrecNuo4SymbolBufferIndex& AIndex);

}  // namespace nuo4
