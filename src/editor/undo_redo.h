#pragma once
// The undo ring: whole score texts with the selection and highlight that belong to them. The
// ring holds the current state too, so a ring of N snapshots offers at most N - 1 undo steps.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "layout/layout_info.h"

namespace nuo4 {

struct TrecNuo4UndoRedoItem {
    std::u16string ABCText;
    TrecNuo4Selection Selection;
    TrecNuo4Highlight Highlight;

    void Initialize(std::u16string AABCText, const TrecNuo4Selection& ASelection,
                    const TrecNuo4Highlight& AHighlight) {
        ABCText = std::move(AABCText);
        Selection = ASelection;
        Highlight = AHighlight;
    }
};

class TNuo4UndoRedoBuffer {
  public:
    // Called with the snapshot to restore after an undo or redo step.
    using TNuo4UndoRedoEventHandler =
        std::function<void(TNuo4UndoRedoBuffer* ASender, const TrecNuo4UndoRedoItem* APItem)>;

    TNuo4UndoRedoBuffer(int32_t AMaxUndo, TNuo4UndoRedoEventHandler AUndoRedoEventHandler);

    void Clear();
    void PutItem(const TrecNuo4UndoRedoItem& AItem);
    bool Undo();  // true when a step was made
    bool Redo();
    // The snapshot of the current state; null when the ring is empty.
    const TrecNuo4UndoRedoItem* GetItem() const;

    int32_t Count() const;
    bool IsEmpty() const { return Count() == 0; }
    bool IsFull() const { return Count() >= FMaxUndo; }
    bool CanUndo() const { return FUndoRedoOffset + 1 < Count(); }
    bool CanRedo() const { return FUndoRedoOffset > 0; }
    int32_t MaxUndo() const { return FMaxUndo; }
    int32_t UndoRedoOffset() const { return FUndoRedoOffset; }

  private:
    int32_t Wrap(int32_t AIndex) const;

    int32_t FMaxUndo;
    int32_t FHead = 0;
    int32_t FTail = -1;
    int32_t FUndoRedoOffset = 0;
    std::vector<TrecNuo4UndoRedoItem> FBuf;
    TNuo4UndoRedoEventHandler FUndoRedoEventHandler;
};

}  // namespace nuo4
