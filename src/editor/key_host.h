#pragma once
// A host of the edit commands without a window: the score text, its document buffer and the
// undo ring. It types exactly as the editor does (the same key table and dispatcher), for
// tests, benchmarks and nuo4-cli type. Messages and questions are collected or answered by
// callbacks. Needs a QGuiApplication (the layout measures text).

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>

#include "editor/edit_commands.h"
#include "editor/key_dispatch.h"
#include "editor/undo_redo.h"
#include "format/abc_buffer.h"

namespace nuo4 {

class TNuo4HeadlessEditorHost : public INuo4EditorHost {
  public:
    explicit TNuo4HeadlessEditorHost(std::u16string AText);
    ~TNuo4HeadlessEditorHost() override;

    TNuo4SimpleBuffer* GetSimpleBuffer() override { return FBuffer.get(); }
    TNuo4EditMode GetEditMode() const override { return Mode; }
    bool ReplaceText(const TNuo4ABCTextReplaceItems& AItems) override;
    void Redraw(bool bScrollToCaretVisible) override;
    void Redraw_Fast(bool) override {}
    void PutUndoSnapshot() override;
    void UpdateCaretStatus() override {}
    void ShowMessage(const QString& AText) override { Messages << AText; }
    void AuditionCaretNote() override { ++AuditionCount; }
    bool AskOkCancel(const QString& AText) override;
    int32_t ChooseFromPopupMenu(const QStringList& AItems, int32_t ADefaultItem) override;
    bool RunWindowCommand(const TrecNuo4KeyCommand& ACommand) override;
    TrecNuo4KeyOptions KeyOptions() const override { return Options; }
    bool AutoInsertBarline() const override { return bAutoBarline; }
    bool OldDVGroupOrder() const override { return false; }

    // Presses and releases one key.
    void Type(const TrecNuo4PhysicalKey& AKey);
    // The scanned score text (every line break a CR).
    const std::u16string& Text() const { return FText; }
    TNuo4UndoRedoBuffer& UndoRing() { return *FUndo; }
    int64_t RebuildCount() const { return FRebuilds; }

    TNuo4EditMode Mode = emStandard;
    TrecNuo4KeyOptions Options;
    bool bAutoBarline = false;
    QStringList Messages, Questions;
    std::function<bool(const QString&)> Answer;  // the OK/Cancel question; OK when unset
    std::function<int32_t(const QStringList&, int32_t)> Chooser;  // the pop-up menus
    int32_t AuditionCount = 0;

  private:
    void Rebuild();
    void Restore(const TrecNuo4UndoRedoItem* AItem);

    std::u16string FText;
    std::unique_ptr<TNuo4ABCBuffer> FABCBuffer;
    std::unique_ptr<TNuo4SimpleBuffer> FBuffer;
    std::unique_ptr<TNuo4UndoRedoBuffer> FUndo;
    int64_t FRebuilds = 0;
};

// A key in the typing notation: a key name as Qt's portable key sequences spell it ("Space",
// "Enter", "Backspace", "Left", "PgUp", "PgDown", "F1", "Esc", "Tab"), or one character ("1",
// "q", "-", ".", ";", "`"; a shifted character such as "_" or "(" is its key with Shift), with
// "Ctrl+", "Shift+", "Alt+" in front, and "KP" before a keypad key ("KP0", "KP+", "KP/").
// False with AError for a name that is no key.
bool Nuo4ParseKeyName(const QString& AName, TrecNuo4PhysicalKey& AKey, QString& AError);

}  // namespace nuo4
