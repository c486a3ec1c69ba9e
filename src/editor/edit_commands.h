#pragma once
// The edit command pattern, apart from any widget: ask the document buffer for the edit, apply
// its replacements, store the new selection, redraw, record an undo snapshot, then the
// command's follow-ups. The main window is the host; a test can be one without a window.

#include <QString>
#include <QStringList>

#include "edit/edit_state.h"
#include "editor/edit_mode.h"
#include "editor/key_table.h"
#include "format/abc_tokens.h"
#include "layout/simple_buffer.h"

namespace nuo4 {

class INuo4EditorHost {
  public:
    virtual ~INuo4EditorHost() = default;
    virtual TNuo4SimpleBuffer* GetSimpleBuffer() = 0;
    virtual TNuo4EditMode GetEditMode() const = 0;
    // False (nothing changed) when the items do not fit the text.
    virtual bool ReplaceText(const TNuo4ABCTextReplaceItems& AItems) = 0;
    // Re-processes the text, then draws; the buffer is a new one afterwards.
    virtual void Redraw(bool bScrollToCaretVisible) = 0;
    // Draws the current buffer (caret, selection, highlight changes).
    virtual void Redraw_Fast(bool bScrollToCaretVisible) = 0;
    // Shows the view's overlay again (the in-symbol edit indicator) over the score as it is
    // drawn; a host without an overlay draws the whole view.
    virtual void UpdateOverlay() { Redraw_Fast(false); }
    virtual void PutUndoSnapshot() = 0;
    virtual void UpdateCaretStatus() = 0;
    virtual void ShowMessage(const QString& AText) = 0;
    virtual void AuditionCaretNote() {}
    // An OK/Cancel question; true for OK. Without a window every question is answered OK.
    virtual bool AskOkCancel(const QString& AText) {
        (void)AText;
        return true;
    }
    // The pop-up menu of the duration or beam-group key: the chosen item, -1 when none.
    virtual int32_t ChooseFromPopupMenu(const QStringList& AItems, int32_t ADefaultItem) {
        (void)AItems;
        (void)ADefaultItem;
        return -1;
    }
    // The commands of the window itself (tabs, zoom, save, undo, modes, tool windows); false
    // when this host has none of them.
    virtual bool RunWindowCommand(const TrecNuo4KeyCommand& ACommand) {
        (void)ACommand;
        return false;
    }
    // The options that choose between the rows of the key table.
    virtual TrecNuo4KeyOptions KeyOptions() const { return TrecNuo4KeyOptions(); }
    // Application options the requests read.
    virtual bool AutoInsertBarline() const = 0;
    virtual bool OldDVGroupOrder() const = 0;
};

// The process-wide inputs of the edit requests: the consecutive-note counter, the remembered
// caret column and the options the requests read (user-interface thread only).
TrecNuo4EditState& Nuo4EditorEditState();
inline int32_t& Nuo4ConsecutiveNoteCount() {
    return Nuo4EditorEditState().ConsecutiveNoteCount;
}

// An accepted edit: applies the items, stores the selection (when given) in the buffer that is
// about to be replaced so that the compile carries it over, redraws and records a snapshot.
// False when the items do not fit the text: then nothing happened.
bool Nuo4ApplyEdit(INuo4EditorHost& H, const TNuo4ABCTextReplaceItems& AItems,
                   const TrecNuo4Selection* ANewSelection, const TrecNuo4Highlight* ANewHighlight,
                   bool bScrollToCaretVisible);

// Runs a key command in the host's mode; false when the command does not apply (nothing
// changed: text, caret and undo ring stay as they were).
bool Nuo4ExecuteCommand(INuo4EditorHost& H, const TrecNuo4KeyCommand& ACommand);
// The commands that edit the voice (notes, deletions, bar lines), in standard mode only.
bool Nuo4ExecuteVoiceEdit(INuo4EditorHost& H, TNuo4SimpleBuffer& B,
                          const TrecNuo4KeyCommand& ACommand);

}  // namespace nuo4
