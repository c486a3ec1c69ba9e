#include "editor/abc_syn_rich_edit.h"

#include <QFont>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <cassert>

#include "editor/edit_state_check.h"
#include "editor/text_replace.h"
#include "format/score_file.h"
#include "format/score_file_save.h"
#include "render/measure_surface.h"

namespace nuo4 {

namespace {
QString ToQ(std::u16string_view S) {
    return QString::fromUtf16(S.data(), qsizetype(S.size()));
}
std::u16string FromQ(const QString& S) {
    return S.toStdU16String();
}
QColor Rgb(uint32_t C) {
    return QColor((C >> 16) & 0xFF, (C >> 8) & 0xFF, C & 0xFF);
}
}  // namespace

// ---- Highlighter ------------------------------------------------------------------------------

TNuo4ABCSyntaxHighlighter::TNuo4ABCSyntaxHighlighter(QTextDocument* ADocument)
    : QSyntaxHighlighter(ADocument) {}

void TNuo4ABCSyntaxHighlighter::SetSpans(TrecNuo4SyntaxSpans ASpans, bool bEnabled) {
    const bool bWasOn = FEnabled;
    FSpans = std::move(ASpans);
    FEnabled = bEnabled;
    // Nothing to take off when the text carried no colours.
    if (bEnabled || bWasOn) rehighlight();
}

void TNuo4ABCSyntaxHighlighter::highlightBlock(const QString& AText) {
    if (!FEnabled) return;
    QTextCharFormat Default;
    Default.setForeground(Rgb(Nuo4SyntaxDefaultColor));
    setFormat(0, int(AText.size()), Default);
    const int32_t Start = currentBlock().position();
    for (const TrecNuo4SyntaxSpan& S : Nuo4SyntaxSpansIn(FSpans, Start, int32_t(AText.size()))) {
        QTextCharFormat F;
        F.setForeground(Rgb(S.Style.Color));
        if (S.Style.bBold) F.setFontWeight(QFont::Bold);
        if (S.Style.bItalic) F.setFontItalic(true);
        setFormat(S.Start, S.Length, F);
    }
}

// ---- Editor ----------------------------------------------------------------------------------

TKoABCSynRichEdit::TKoABCSynRichEdit(QWidget* AOwner, TABCSynRichEditEventHandler AHandler)
    : QPlainTextEdit(AOwner), FHandler(std::move(AHandler)) {
    QFont F(QStringLiteral("Courier New"), 14);
    F.setStyleHint(QFont::Monospace);
    setFont(F);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    FHighlighter = new TNuo4ABCSyntaxHighlighter(document());
    // Typing in the control, its own undo and loading change the text behind our copy.
    connect(document(), &QTextDocument::contentsChanged, this, [this] {
        if (!bApplyingOwnEdit) bTextStale = true;
    });
    connect(this, &QPlainTextEdit::cursorPositionChanged, this,
            &TKoABCSynRichEdit::OnCursorPositionChanged);
}

TKoABCSynRichEdit::~TKoABCSynRichEdit() {
    FreeBuffers();
}

void TKoABCSynRichEdit::FreeBuffers() {
    FSimpleBuffer.reset();  // it refers to the scanned text
    FABCBuffer.reset();
}

void TKoABCSynRichEdit::RaiseEvent(const TrecNuo4ABCSynRichEditEventInfo& AInfo) {
    if (FHandler && FChangeEventsDisabled == 0) FHandler(AInfo);
}

void TKoABCSynRichEdit::OnCursorPositionChanged() {
    TrecNuo4ABCSynRichEditEventInfo I;
    I.aType = asreetSelectionChanged;
    const QTextCursor C = textCursor();
    I.SelectionChanged_Line = C.blockNumber();
    I.SelectionChanged_Column = C.positionInBlock();
    RaiseEvent(I);
}

void TKoABCSynRichEdit::keyPressEvent(QKeyEvent* E) {
    TrecNuo4ABCSynRichEditEventInfo I;
    I.aType = asreetKeyDown;
    I.KeyDown_Key = E->key();
    I.KeyDown_Shift = E->modifiers();
    RaiseEvent(I);
    if (E->key() == Qt::Key_Slash && (E->modifiers() & Qt::ControlModifier) && !FCompiled) {
        ToggleComment();
        return;
    }
    QPlainTextEdit::keyPressEvent(E);
}

bool TKoABCSynRichEdit::LoadFile(const QString& AFileName, QString& AError) {
    std::u16string Text;
    std::string Error;
    if (!ReadScoreFile(AFileName.toStdString(), Text, Error)) {
        AError = QString::fromStdString(Error);
        return false;
    }
    LoadText(Text);
    return true;
}

void TKoABCSynRichEdit::LoadText(std::u16string_view AText) {
    ++FChangeEventsDisabled;
    setPlainText(ToQ(Nuo4TextToLFBreaks(AText)));
    document()->setModified(false);
    --FChangeEventsDisabled;
}

bool TKoABCSynRichEdit::SaveFile(const QString& AFileName, bool bChangeModifed, QString& AError) {
    std::string Error;
    if (!SaveScoreFileAtomic(AFileName.toStdString(), GetABCText(), Error)) {
        AError = QString::fromStdString(Error);
        return false;
    }
    if (bChangeModifed) document()->setModified(false);
    return true;
}

std::u16string TKoABCSynRichEdit::ReadControlText() const {
    std::u16string T = FromQ(document()->toPlainText());
    for (char16_t& C : T)
        if (C == u'\n') C = u'\r';
    return T;
}

const std::u16string& TKoABCSynRichEdit::GetABCText() const {
    if (bTextStale) {
        FText = ReadControlText();
        bTextStale = false;
    }
    return FText;
}

int32_t TKoABCSynRichEdit::GetTextLength() const {
    return int32_t(document()->characterCount()) - 1;
}

TKoRange TKoABCSynRichEdit::GetSelection() const {
    const QTextCursor C = textCursor();
    return TKoRange(C.selectionStart(), C.selectionEnd() - C.selectionStart());
}

void TKoABCSynRichEdit::SetSelection(TKoRange R) {
    if (!R.IsValid()) return;
    QTextCursor C(document());
    const int N = GetTextLength();
    C.setPosition(std::clamp(R.StartIndex, 0, N));
    C.setPosition(std::clamp(R.StartIndex + R.Length, 0, N), QTextCursor::KeepAnchor);
    setTextCursor(C);
}

bool TKoABCSynRichEdit::ReplaceText(const TrecNuo4ABCTextReplaceItem& AItem) {
    TNuo4ABCTextReplaceItems A;
    A.push_back(AItem);
    return ReplaceText(A);
}

bool TKoABCSynRichEdit::ReplaceText(const TNuo4ABCTextReplaceItems& AItems) {
    const TNuo4ABCTextReplaceItems Sorted = Nuo4SortReplaceItems(AItems);
    // An answer that does not fit the text is refused whole: half an edit would corrupt it.
    if (Sorted.empty() || !Nuo4CheckReplaceItems(Sorted, GetTextLength())) return false;
    // The copy changes first, so whoever the control tells of the change reads the new text.
    std::u16string New = GetABCText();
    for (const TrecNuo4ABCTextReplaceItem& I : Sorted)
        New.replace(size_t(I.TextRange.StartIndex), size_t(I.TextRange.Length),
                    Nuo4TextAsControlReadsIt(I.NewText));
    FText = std::move(New);
    bApplyingOwnEdit = true;
    QTextCursor C(document());
    // One edit block: the control's own undo never splits a note from the rewrites that came
    // with it.
    C.beginEditBlock();
    for (const TrecNuo4ABCTextReplaceItem& I : Sorted) {
        C.setPosition(I.TextRange.StartIndex);
        C.setPosition(I.TextRange.StartIndex + I.TextRange.Length, QTextCursor::KeepAnchor);
        C.insertText(ToQ(Nuo4TextToLFBreaks(I.NewText)));
    }
    C.endEditBlock();
    bApplyingOwnEdit = false;
    assert(FText == ReadControlText());
    document()->setModified(true);
    return true;
}

void TKoABCSynRichEdit::ReplaceAllText(std::u16string_view AText) {
    QTextCursor C(document());
    C.beginEditBlock();
    C.select(QTextCursor::Document);
    C.insertText(ToQ(Nuo4TextToLFBreaks(AText)));
    C.endEditBlock();
    document()->setModified(true);
}

void TKoABCSynRichEdit::Compile() {
    auto NewABC = std::make_unique<TNuo4ABCBuffer>(GetABCText());
    std::unique_ptr<TNuo4SimpleBuffer> NewSimple;
    {
        TNuo4MeasureSurfaceScope Surface;
        NewSimple = std::make_unique<TNuo4SimpleBuffer>(NewABC.get(), [this](TNuo4SimpleBuffer*) {
            TrecNuo4ABCSynRichEditEventInfo I;
            I.aType = asreetSimpleBufferRequestHMIDocOptions;
            if (FHandler) FHandler(I);
        });
    }
    FSimpleBuffer = std::move(NewSimple);
    FABCBuffer = std::move(NewABC);
}

void TKoABCSynRichEdit::SetCompiled(bool AValue) {
    const bool bModified = IsModified();
    const int HScroll = horizontalScrollBar()->value(), VScroll = verticalScrollBar()->value();
    setUpdatesEnabled(false);
    ++FChangeEventsDisabled;
    TrecNuo4SimpleBufferInternalStatus Status;
    if (FSimpleBuffer) Status = FSimpleBuffer->InternalStatus;
    Compile();
    if (AValue)
        FHighlighter->SetSpans(Nuo4CollectSyntaxSpans(*FABCBuffer), true);
    else if (FHighlighter->Enabled())
        FHighlighter->SetSpans(TrecNuo4SyntaxSpans(), false);
    setReadOnly(AValue);
    FCompiled = AValue;
    // Caret, selection and highlight survive the re-processing, checked against the new buffer.
    FSimpleBuffer->InternalStatus = Status;
    Nuo4CheckInternalStatus(*FSimpleBuffer);
    horizontalScrollBar()->setValue(HScroll);
    verticalScrollBar()->setValue(VScroll);
    --FChangeEventsDisabled;
    setUpdatesEnabled(true);
    SetModified(bModified);
    if (AValue) {
        TrecNuo4ABCSynRichEditEventInfo I;
        I.aType = asreetSyntaxHighlightFinished;
        RaiseEvent(I);
    }
}

void TKoABCSynRichEdit::ToggleComment() {
    const TKoRange S = GetSelection();
    ReplaceText(Nuo4ToggleLineComments(GetABCText(), S.StartIndex, S.StartIndex + S.Length));
}

void TKoABCSynRichEdit::RemoveContinueBlankLines() {
    const TNuo4ABCTextReplaceItems Items = Nuo4RemoveContinueBlankLines(GetABCText());
    if (!Items.empty()) ReplaceText(Items);
}

bool TKoABCSynRichEdit::IsModified() const {
    return document()->isModified();
}
void TKoABCSynRichEdit::SetModified(bool AValue) {
    document()->setModified(AValue);
}

}  // namespace nuo4
