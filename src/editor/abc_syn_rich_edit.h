#pragma once
// The score text editor: a plain-text control holding the score text, and the owner of the two
// buffers built from it (the scanned text and the document buffer). Every edit made in the score
// view reaches the text here; every re-processing ("compile") starts here. Highlighted
// ("compiled") text is read-only.

#include <QPlainTextEdit>
#include <QSyntaxHighlighter>
#include <functional>
#include <memory>
#include <string>

#include "editor/syntax_tokens.h"
#include "format/abc_buffer.h"
#include "layout/simple_buffer.h"

namespace nuo4 {

enum TNuo4ABCSynRichEditEventType : uint8_t {
    asreetSyntaxHighlightFinished,
    asreetKeyDown,
    asreetSelectionChanged,
    asreetSimpleBufferRequestHMIDocOptions,
};

struct TrecNuo4ABCSynRichEditEventInfo {
    TNuo4ABCSynRichEditEventType aType = asreetSelectionChanged;
    int KeyDown_Key = 0;
    Qt::KeyboardModifiers KeyDown_Shift;
    int SelectionChanged_Line = 0;    // from 0
    int SelectionChanged_Column = 0;  // from 0
};

class TNuo4ABCSyntaxHighlighter : public QSyntaxHighlighter {
  public:
    explicit TNuo4ABCSyntaxHighlighter(QTextDocument* ADocument);
    // Empty spans and bEnabled false: every block loses its colours.
    void SetSpans(TrecNuo4SyntaxSpans ASpans, bool bEnabled);
    bool Enabled() const { return FEnabled; }

  protected:
    void highlightBlock(const QString& AText) override;

  private:
    TrecNuo4SyntaxSpans FSpans;
    bool FEnabled = false;
};

class TKoABCSynRichEdit : public QPlainTextEdit {
  public:
    using TABCSynRichEditEventHandler = std::function<void(const TrecNuo4ABCSynRichEditEventInfo&)>;

    TKoABCSynRichEdit(QWidget* AOwner, TABCSynRichEditEventHandler AHandler);
    ~TKoABCSynRichEdit() override;

    // Reads a score file; false with a message (the text untouched) when it cannot be read or
    // decoded. A missing file is not read here: the caller decides about a new document.
    bool LoadFile(const QString& AFileName, QString& AError);
    // Puts a text in as loaded: undo history and modified flag cleared.
    void LoadText(std::u16string_view AText);
    // UTF-16 LE with byte-order mark and CR LF breaks, written atomically.
    bool SaveFile(const QString& AFileName, bool bChangeModifed, QString& AError);

    // The text with CR line breaks: the positions of the scanned text. A copy kept beside the
    // control: the edits made here update it, any other change of the control marks it for
    // reading again. The reference lasts until the next change of the text.
    const std::u16string& GetABCText() const;
    int32_t GetTextLength() const;
    TKoRange GetSelection() const;
    void SetSelection(TKoRange ASelection);

    // Applies the replacements in one undo step of the control and sets the modified flag;
    // false (nothing changed) when they reach outside the text or overlap.
    bool ReplaceText(const TNuo4ABCTextReplaceItems& AItems);
    bool ReplaceText(const TrecNuo4ABCTextReplaceItem& AItem);
    // The whole text replaced in one undo step of the control (undo snapshots); modified set.
    void ReplaceAllText(std::u16string_view AText);

    // Re-scans the text and rebuilds the document buffer; the modified flag is kept.
    void Compile();
    // Compiles, carrying the document buffer's internal status across; highlighted and
    // read-only when AValue.
    void SetCompiled(bool AValue);
    bool GetCompiled() const { return FCompiled; }

    void ToggleComment();
    void RemoveContinueBlankLines();

    bool IsModified() const;
    void SetModified(bool AValue);

    TNuo4ABCBuffer* ABCBuffer() const { return FABCBuffer.get(); }
    TNuo4SimpleBuffer* SimpleBuffer() const { return FSimpleBuffer.get(); }
    // Frees both buffers (before the music font goes).
    void FreeBuffers();

  protected:
    void keyPressEvent(QKeyEvent* AEvent) override;

  private:
    void RaiseEvent(const TrecNuo4ABCSynRichEditEventInfo& AInfo);
    void OnCursorPositionChanged();
    std::u16string ReadControlText() const;

    TABCSynRichEditEventHandler FHandler;
    TNuo4ABCSyntaxHighlighter* FHighlighter;
    std::unique_ptr<TNuo4ABCBuffer> FABCBuffer;
    std::unique_ptr<TNuo4SimpleBuffer> FSimpleBuffer;
    bool FCompiled = false;
    int FChangeEventsDisabled = 0;
    mutable std::u16string FText;
    mutable bool bTextStale = true;
    bool bApplyingOwnEdit = false;
};

}  // namespace nuo4
