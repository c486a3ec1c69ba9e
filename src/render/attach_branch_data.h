#pragma once
// What a temporary voice symbol needs of its laid-out voice. The layout engine builds the
// voice (its own small document buffer) and registers the builder, so the symbol draws it
// without depending on the engine.

#include <cstdint>
#include <functional>
#include <memory>

#include "format/attach_branch.h"
#include "render/draw_utils.h"
#include "render/symbol_element.h"

namespace nuo4 {

class TNuo4AttachBranchDataBase {
  public:
    virtual ~TNuo4AttachBranchDataBase() = default;
    // Everything laid out, in the voice's own millimetres: the reference point of its first
    // symbol at (0, 0), its baseline at y 0. ABounds: the union of the symbols' layout bounds.
    virtual TNuo4SymbolPathes GetPathes(TGPRectF& ABounds, bool bOnlyCalc) = 0;
    // Basic symbols, each dash of a note counted as one more.
    virtual int32_t GetBasicSymbolCount_WithRightline() const = 0;
    // The right edge of position AIndex (a symbol, or one of a note's dashes) plus the
    // symbol's x, in the voice's own millimetres; 0 outside.
    virtual double GetBasicSymbolBoundsRight_FromSymbolIndexWithRightline(int32_t AIndex) const = 0;
};

using TNuo4AttachBranchDataBuilder =
    std::function<std::unique_ptr<TNuo4AttachBranchDataBase>(const TrecNuo4SymbolAttachBranch&)>;

// Process-wide (user-interface thread only); unset: temporary voices draw nothing.
TNuo4AttachBranchDataBuilder& Nuo4AttachBranchDataBuilder();

}  // namespace nuo4
