#include "editor/undo_redo.h"

#include <algorithm>

namespace nuo4 {

TNuo4UndoRedoBuffer::TNuo4UndoRedoBuffer(int32_t AMaxUndo,
                                         TNuo4UndoRedoEventHandler AUndoRedoEventHandler)
    : FMaxUndo(std::max<int32_t>(1, AMaxUndo)),
      FBuf(size_t(FMaxUndo)),
      FUndoRedoEventHandler(std::move(AUndoRedoEventHandler)) {
    Clear();
}

void TNuo4UndoRedoBuffer::Clear() {
    FHead = 0;
    FTail = -1;
    FUndoRedoOffset = 0;
}

int32_t TNuo4UndoRedoBuffer::Wrap(int32_t AIndex) const {
    AIndex %= FMaxUndo;
    return AIndex < 0 ? AIndex + FMaxUndo : AIndex;
}

int32_t TNuo4UndoRedoBuffer::Count() const {
    if (FTail < 0) return 0;
    return FTail < FHead ? FHead - FTail : FHead + FMaxUndo - FTail;
}

void TNuo4UndoRedoBuffer::PutItem(const TrecNuo4UndoRedoItem& AItem) {
    // Snapshots newer than the current state are dropped: a new edit ends the redo history.
    const int32_t OldCount = Count();
    FHead = Wrap(FHead - FUndoRedoOffset);
    const int32_t Remaining = OldCount - FUndoRedoOffset;
    FBuf[size_t(FHead)] = AItem;
    if (Remaining <= 0) {
        FTail = FHead;
        FHead = Wrap(FHead + 1);
    } else if (Remaining >= FMaxUndo) {
        FHead = Wrap(FHead + 1);
        FTail = Wrap(FTail + 1);
    } else {
        FHead = Wrap(FHead + 1);
    }
    FUndoRedoOffset = 0;
}

bool TNuo4UndoRedoBuffer::Undo() {
    if (!CanUndo() || !FUndoRedoEventHandler) return false;
    const TrecNuo4UndoRedoItem& Item = FBuf[size_t(Wrap(FHead - FUndoRedoOffset - 2))];
    ++FUndoRedoOffset;
    FUndoRedoEventHandler(this, &Item);
    return true;
}

bool TNuo4UndoRedoBuffer::Redo() {
    if (!CanRedo() || !FUndoRedoEventHandler) return false;
    const TrecNuo4UndoRedoItem& Item = FBuf[size_t(Wrap(FHead - FUndoRedoOffset))];
    --FUndoRedoOffset;
    FUndoRedoEventHandler(this, &Item);
    return true;
}

const TrecNuo4UndoRedoItem* TNuo4UndoRedoBuffer::GetItem() const {
    if (IsEmpty()) return nullptr;
    return &FBuf[size_t(Wrap(FHead - FUndoRedoOffset - 1))];
}

}  // namespace nuo4
