// The export and print commands of the main window: the justification question comes first and
// its Cancel ends every command before a dialog; a justified score asks nothing, and the
// clipboard command leaves the picture in both formats.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "editor_test_support.h"

using namespace nuo4;

TEST(EditorExport, JustificationQuestionGuardsEveryCommand) {
    TEditorWindowFixture F;
    int Asked = 0;
    F.W->JustifyQuestionSink = [&] {
        ++Asked;
        return false;
    };
    F.LoadVoice(QStringLiteral("1 2 3 |"));
    QApplication::clipboard()->clear();
    const char* Commands[] = {"mnuPrint",
                              "mnuExportToImageFile_LowResolution",
                              "mnuExportToImageFile_MediumResolution",
                              "mnuExportToImageFile_HighResolution",
                              "mnuExportToPdf",
                              "mnuExportToSvg",
                              "mnuExportCurrPageOrSelectionToWindowsClipboard"};
    int N = 0;
    for (const char* C : Commands) {
        SCOPED_TRACE(C);
        QAction* A = F.W->Action(C);
        ASSERT_NE(A, nullptr);
        ASSERT_TRUE(A->isEnabled());
        // A dialog shown here would block the test: Cancel must end the command first.
        A->trigger();
        EXPECT_EQ(Asked, ++N);
    }
    const QMimeData* Before = QApplication::clipboard()->mimeData();
    EXPECT_TRUE(!Before || !Before->hasFormat("image/png"));
    // Justified paragraphs ask nothing.
    F.LoadVoice(QStringLiteral("1 2 3 | $(True)"));
    F.W->Action("mnuExportCurrPageOrSelectionToWindowsClipboard")->trigger();
    EXPECT_EQ(Asked, N);
    const QMimeData* M = QApplication::clipboard()->mimeData();
    ASSERT_NE(M, nullptr);
    EXPECT_TRUE(M->hasFormat("image/png"));
    EXPECT_TRUE(M->hasFormat("image/svg+xml"));
    EXPECT_TRUE(F.Messages.isEmpty()) << F.Messages.join('\n').toStdString();
}
