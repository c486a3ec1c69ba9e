#pragma once
// The laid-out temporary voice: its voice text and lyrics text read into a small text buffer
// and laid out by a document buffer of its own (TNuo4SimpleBuffer in its temporary-voice
// form), so its symbols are made and placed by the same steps as the main voice's.

#include <cstdint>
#include <memory>
#include <string>

#include "format/abc_buffer.h"
#include "layout/simple_buffer.h"
#include "render/attach_branch_data.h"

namespace nuo4 {

struct TrecNuo4NormalIndexAndRightlineIndex {
    int32_t ASymbolIndex = -1;
    int32_t ARightlineIndex = 0;  // 0: the symbol; k >= 1: its k-th dash
};

class TrecNuo4AttachBranchData final : public TNuo4AttachBranchDataBase {
  public:
    // Null for an empty voice text; a voice text without symbols gives a buffer without
    // symbols.
    static std::unique_ptr<TrecNuo4AttachBranchData> Create(const TrecNuo4SymbolAttachBranch& ARec);

    TNuo4SymbolPathes GetPathes(TGPRectF& ABounds, bool bOnlyCalc) override;
    int32_t GetBasicSymbolCount_WithRightline() const override;
    double GetBasicSymbolBoundsRight_FromSymbolIndexWithRightline(int32_t AIndex) const override;

    // Position AIndex (dashes counted) as a symbol and a sub-position; (-1, 0) and false for a
    // negative index or one beyond the end.
    bool Basic_GetSymbolIndexAndRightlineIndex_FromIndexWithRightline(
        int32_t AIndex, TrecNuo4NormalIndexAndRightlineIndex& AResult) const;
    // The beat position before basic symbol AIndex inside its measure; 0 when none.
    double GetBeatPos_Before(int32_t AIndex) const;
    int32_t GetMeasureIndexFromBasicIndex(int32_t AIndex) const {
        return FBuffer->GetMeasureIndex_FromBasicIndex(AIndex);
    }
    int32_t Basic_GetCount() const { return FBuffer->Basic_GetCount(); }
    TNuo4Symbol* Basic_GetSymbol(int32_t AIndex) const { return FBuffer->Basic_GetSymbol(AIndex); }
    const TNuo4SimpleBuffer& Buffer() const { return *FBuffer; }
    TNuo4SimpleBuffer& Buffer() { return *FBuffer; }

    std::u16string ABCText_Voice;
    std::u16string ABCText_Lyrics;

  private:
    TrecNuo4AttachBranchData() = default;
    std::unique_ptr<TNuo4ABCBuffer> FABCBuf;  // the voice and lyrics records
    std::unique_ptr<TNuo4SimpleBuffer> FBuffer;
};

// The alignment of a temporary voice owned by basic symbol AOwner of the laid-out main buffer:
// one entry per symbol (at most the capacity), and the X offset from the owner that puts its
// first symbol at its beat. AScaleX: the voice's horizontal scale.
TrecNuo4AttachBranchAutoAlignInfo Nuo4AttachBranchAlignment(const TNuo4SimpleBuffer& B,
                                                            int32_t AOwner,
                                                            TrecNuo4AttachBranchData& AData,
                                                            double AScaleX, double& AOffsetX);

// Sets the process-wide builder of temporary voices (idempotent).
void Nuo4RegisterAttachBranchDataBuilder();

}  // namespace nuo4
