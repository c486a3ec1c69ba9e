#pragma once
// A main window on a private options folder, with messages collected instead of shown.

#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "editor/main_window.h"

namespace nuo4 {

class TEditorWindowFixture {
  public:
    TEditorWindowFixture() {
        W = std::make_unique<TFormNuo4Main>(Dir.filePath(QStringLiteral("Nuo4Options.cfg")));
        W->MessageSink = [this](const QString& M) { Messages << M; };
        W->SaveQuestionSink = [] { return 1; };
        W->resize(1000, 800);
        W->show();
        W->activateWindow();
        (void)QTest::qWaitForWindowExposed(W.get());
    }
    ~TEditorWindowFixture() {
        if (W) W->close();
    }
    // A score with the given voice line (and nothing else).
    void LoadVoice(const QString& AVoice) {
        const QString Path = Dir.filePath(QStringLiteral("score.nuoabc"));
        QFile F(Path);
        F.open(QIODevice::WriteOnly);
        F.write((QStringLiteral(".Voice\r\n") + AVoice + QStringLiteral("\r\n")).toUtf8());
        F.close();
        W->LoadFile(Path);
    }
    std::u16string Text() const { return W->TextEditor()->GetABCText(); }
    QWidget* View() const { return W->ScorePanelWidget()->PaintBox(); }
    TrecNuo4Selection Selection() const { return W->GetSimpleBuffer()->InternalStatus.Selection; }

    QTemporaryDir Dir;
    std::unique_ptr<TFormNuo4Main> W;
    QStringList Messages;
};

}  // namespace nuo4
