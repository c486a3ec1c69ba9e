#pragma once
// The symbols placed freely on a page: the text box (memo) and the title block. Their origin is
// the top-left corner of their layout box.

#include "format/section_page.h"
#include "render/symbol_basic.h"
#include "render/title_block.h"

namespace nuo4 {

// The memo's text with its escapes resolved, laid out from (0, 0) in the memo's font,
// wrapped at LayoutWidth (0: not wrapped) and aligned within its lines. ABounds is the
// measured text; the frame, a 0.2 solid stroke around it, is not part of the bounds.
TNuo4SymbolPathes MemoPrivateOptions_GetPathes(const TrecNuo4SymbolMemoPrivateOptions& AOptions,
                                               TGPRectF& ABounds, bool bOnlyCalc);
constexpr double Nuo4MemoFrameWidth = 0.2;

// The title-block layout in (0, 0, LayoutWidth, 0): every non-empty item path one fill item.
TNuo4SymbolPathes SymbolTitleBlock_GetPathes(const TrecNuo4SymbolTitleBlock& ARec,
                                             TGPRectF& ABounds, bool bOnlyCalc);

class TNuo4SymbolMemo : public TNuo4SymbolWithRec<TrecNuo4SymbolMemo, sbstMemo> {
  public:
    explicit TNuo4SymbolMemo(const TrecNuo4SymbolMemo& ARec = TrecNuo4SymbolMemo()) { Init(ARec); }
    void CalcBounds(TGPRectF& ARect) override;
    void CreateElements() override;
};

class TNuo4SymbolTitleBlock : public TNuo4SymbolWithRec<TrecNuo4SymbolTitleBlock, sbstTitleBlock> {
  public:
    explicit TNuo4SymbolTitleBlock(
        const TrecNuo4SymbolTitleBlock& ARec = TrecNuo4SymbolTitleBlock()) {
        Init(ARec);
    }
    void CalcBounds(TGPRectF& ARect) override;
    void CreateElements() override;
};

}  // namespace nuo4
