// The main window: edit modes, the command pattern through real key events, undo keys, bad
// input, the options file and the command line.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>

#include <QAction>
#include <QFile>
#include <QTest>

#include "editor/app_options.h"
#include "editor/key_table.h"
#include "editor_test_support.h"

namespace nuo4 {
namespace {

TEST(EditorCommands, TypingANoteThroughARealKey) {
    TEditorWindowFixture F;
    F.LoadVoice(QStringLiteral("1 2 3"));
    F.View()->setFocus();
    TNuo4SimpleBuffer* B = F.W->GetSimpleBuffer();
    B->InternalStatus.Selection.CaretPos_Start =
        B->InternalStatus.Selection.CaretPos_End = {1, true};
    F.W->Redraw_Fast(false);
    const int32_t Count = F.W->UndoRedoBuffer()->Count();
    QTest::keyClick(F.View(), Qt::Key_5);
    EXPECT_EQ(F.Text(), u".Voice\r1 2 53\r");
    EXPECT_EQ(F.Selection().CaretPos_End, (TrecNuo4CaretPos_Index{2, true}));
    EXPECT_EQ(F.W->GetSimpleBuffer()->Basic_GetCount(), 4);
    EXPECT_EQ(F.W->StatusText(3), QStringLiteral("第1小节, 第1页,第1行,第3列"));
    EXPECT_EQ(F.W->StatusText(4), QStringLiteral("共1小节,1页,1行,4个符号"));
    EXPECT_EQ(F.W->UndoRedoBuffer()->Count(), Count + 1);
    EXPECT_TRUE(F.W->TextEditor()->IsModified());
    // Arrow left, Backspace: the caret moves, then the note left of it goes.
    QTest::keyClick(F.View(), Qt::Key_Left);
    EXPECT_EQ(F.Selection().CaretPos_End, (TrecNuo4CaretPos_Index{1, true}));
    QTest::keyClick(F.View(), Qt::Key_Backspace);
    EXPECT_EQ(F.W->GetSimpleBuffer()->Basic_GetCount(), 3);
    EXPECT_EQ(F.Text().find(u'2'), std::u16string::npos);
    // Undo twice through the keys: back to the loaded text.
    QTest::keyClick(F.View(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(F.Text(), u".Voice\r1 2 53\r");
    QTest::keyClick(F.View(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(F.Text(), u".Voice\r1 2 3\r");
    // The loaded snapshot carries the caret of the load.
    EXPECT_EQ(F.Selection().CaretPos_End, (TrecNuo4CaretPos_Index{0, false}));
    QTest::keyClick(F.View(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(F.Text(), u".Voice\r1 2 53\r");
    EXPECT_EQ(F.Selection().CaretPos_End, (TrecNuo4CaretPos_Index{2, true}));
    // A refused edit changes nothing: Delete at the end of the voice.
    const int32_t Before = F.W->UndoRedoBuffer()->Count();
    B = F.W->GetSimpleBuffer();
    B->InternalStatus.Selection.CaretPos_Start =
        B->InternalStatus.Selection.CaretPos_End = {3, true};
    QTest::keyClick(F.View(), Qt::Key_Delete);
    EXPECT_EQ(F.Text(), u".Voice\r1 2 53\r");
    EXPECT_EQ(F.W->UndoRedoBuffer()->Count(), Before);
}

TEST(EditorCommands, ClickPutsTheCaret) {
    TEditorWindowFixture F;
    F.LoadVoice(QStringLiteral("1 2 3 4"));
    TNuo4SimpleBuffer* B = F.W->GetSimpleBuffer();
    const TNuo4ScoreViewGeometry& G = F.W->ScorePanelWidget()->Geometry();
    TrecNuo4PagePos P;
    P.PageIndex = 0;
    P.PosAtPage = B->Basic_GetSymbol(1)->BoundsWithPos().center();
    QTest::mouseClick(F.View(), Qt::LeftButton, Qt::NoModifier, G.PagePosToDevicePos(P).toPoint());
    EXPECT_EQ(F.Selection().CaretPos_End.BasicIndex, 1);
    EXPECT_TRUE(F.Selection().IsEmpty());
}

TEST(EditModes, ModeChangeRules) {
    TEditorWindowFixture F;
    F.LoadVoice(QStringLiteral("1 2 3 4"));
    auto Status = [&]() -> TrecNuo4SimpleBufferInternalStatus& {
        return F.W->GetSimpleBuffer()->InternalStatus;
    };
    // Extend with a basic symbol highlighted -> standard: the caret goes to that symbol.
    F.W->SetEditMode(emExtend);
    EXPECT_EQ(F.W->StatusText(0), QStringLiteral("扩展"));
    EXPECT_EQ(Status().Highlight.BasicIndex, 0);  // the symbol at the caret
    Status().Highlight.BasicIndex = 2;
    F.W->SetEditMode(emStandard);
    EXPECT_EQ(Status().Selection.CaretPos_End, (TrecNuo4CaretPos_Index{2, true}));
    EXPECT_TRUE(Status().Highlight.IsEmpty());
    EXPECT_TRUE(F.W->Action("mnuEditMode_Standard")->isChecked());
    // Standard with a selection -> extend: selection and highlight cleared.
    Status().Selection.CaretPos_Start = {0, false};
    Status().Selection.CaretPos_End = {2, true};
    F.W->SetEditMode(emExtend);
    EXPECT_TRUE(Status().Selection.IsEmpty());
    EXPECT_TRUE(Status().Highlight.IsEmpty());
    // Extend (basic highlighted) -> layout: it becomes the caret, the highlight goes.
    Status().Highlight.BasicIndex = 1;
    F.W->SetEditMode(emLayout);
    EXPECT_EQ(Status().Selection.CaretPos_End, (TrecNuo4CaretPos_Index{1, true}));
    EXPECT_TRUE(Status().Highlight.IsEmpty());
    EXPECT_EQ(F.W->StatusText(0), QStringLiteral("排版"));
    // Page mode: the page at the centre of the view becomes the current page.
    Status().CurrPageIndexForPageMode = -1;
    F.W->SetEditMode(emPage);
    EXPECT_EQ(Status().CurrPageIndexForPageMode, 0);
    EXPECT_EQ(F.W->StatusText(0), QStringLiteral("页面"));
    // Note keys do nothing outside standard mode.
    const std::u16string T = F.Text();
    QTest::keyClick(F.View(), Qt::Key_5);
    EXPECT_EQ(F.Text(), T);
}

TEST(EditorKeys, EveryKeyHasOneOwner) {
    TEditorWindowFixture F;
    // A key of the view's table that is also a menu shortcut belongs to the view: it takes the
    // shortcut override, so the menu never sees it. Undo and redo differ.
    for (const TrecNuo4KeyTableItem& I : Nuo4KeyTable()) {
        if (I.Scope == ksMode && I.Mode != emStandard) continue;
        for (QAction* A : F.W->findChildren<QAction*>()) {
            if (A->shortcut().isEmpty() || A->shortcut()[0] != QKeyCombination(I.Modifiers, I.Key))
                continue;
            QKeyEvent E(QEvent::ShortcutOverride, I.Key, I.Modifiers);
            E.ignore();
            QApplication::sendEvent(F.View(), &E);
            EXPECT_TRUE(E.isAccepted()) << A->objectName().toStdString();
        }
    }
    EXPECT_NE(F.W->Action("mnuUndo")->shortcut(), F.W->Action("mnuRedo")->shortcut());
    // Items whose feature is not there yet are present, disabled and say so.
    QAction* Pdf = F.W->Action("mnuSpeedEntry");
    ASSERT_NE(Pdf, nullptr);
    EXPECT_FALSE(Pdf->isEnabled());
    EXPECT_FALSE(Pdf->toolTip().isEmpty());
    EXPECT_EQ(F.W->Action("mnuToggleAuxInfoVisible")->shortcut(), QKeySequence(Qt::Key_F9));
}

TEST(EditorFiles, DamagedFileLeavesTheDocumentUntouched) {
    TEditorWindowFixture F;
    F.LoadVoice(QStringLiteral("1 2 3"));
    const std::u16string Before = F.Text();
    const QString Path = F.Dir.filePath(QStringLiteral("bad.nuoabc"));
    QFile Bad(Path);
    ASSERT_TRUE(Bad.open(QIODevice::WriteOnly));
    Bad.write(QByteArray("\xFF\xFE\x31\x00\x32", 5));  // UTF-16 with an odd byte count
    Bad.close();
    EXPECT_FALSE(F.W->LoadFile(Path));
    EXPECT_EQ(F.Text(), Before);
    EXPECT_NE(F.W->FileNameOpened(), Path);
    ASSERT_EQ(F.Messages.size(), 1);
    EXPECT_TRUE(F.Messages[0].startsWith(QStringLiteral("打开文件失败!")));
    // The command line: the last argument naming an existing score wins.
    const QString Good = F.Dir.filePath(QStringLiteral("score.nuoabc"));
    EXPECT_EQ(TFormNuo4Main::FileFromCommandLine({"nuo4", Good, Path, "x.txt", "missing.nuoabc"}),
              Path);
    EXPECT_EQ(TFormNuo4Main::FileFromCommandLine({"nuo4", Path, Good}), Good);
}

TEST(ApplicationOptions, FileLayout) {
    QTemporaryDir Dir;
    const QString Path = Dir.filePath(QStringLiteral("Nuo4/Nuo4Options.cfg"));
    TrecNuo4ApplicationOptions O;
    O.SetToDefault();
    // A file of another size is ignored and the defaults stay.
    QDir().mkpath(Dir.filePath("Nuo4"));
    QFile Wrong(Path);
    ASSERT_TRUE(Wrong.open(QIODevice::WriteOnly));
    Wrong.write(QByteArray(3547, '\x01'));
    Wrong.close();
    TrecNuo4ApplicationOptions L;
    L.SetToDefault();
    EXPECT_FALSE(LoadApplicationOptions(Path, L));
    EXPECT_TRUE(L.bSoundNote);
    EXPECT_FALSE(L.bAutoBarline);
    // The right size is written, with the fields at their offsets.
    O.bAutoBarline = true;
    O.WindowWidth = 1234;
    O.LastFolders[lfkPDF] = QStringLiteral("/tmp/乐谱");
    ASSERT_TRUE(SaveApplicationOptions(Path, O));
    QFile R(Path);
    ASSERT_TRUE(R.open(QIODevice::ReadOnly));
    const QByteArray B = R.readAll();
    ASSERT_EQ(B.size(), 3548);
    EXPECT_EQ(B[0], 1);   // restore window position
    EXPECT_EQ(B[40], 1);  // automatic bar lines
    EXPECT_EQ(B[42], 1);  // sound notes
    EXPECT_EQ(uint8_t(B[16]) | (uint8_t(B[17]) << 8), 1234);
    EXPECT_EQ(QString::fromUtf16(reinterpret_cast<const char16_t*>(B.constData() + 46), 4),
              QStringLiteral("女高\r\n"));
    EXPECT_EQ(uint32_t(uint8_t(B[2112])) | uint32_t(uint8_t(B[2115])) << 24, 0xFF0000FFu);
    EXPECT_EQ(B[2524], 9);
    TrecNuo4ApplicationOptions Back;
    ASSERT_TRUE(LoadApplicationOptions(Path, Back));
    EXPECT_TRUE(Back.bAutoBarline);
    EXPECT_EQ(Back.LastFolders[lfkPDF], QStringLiteral("/tmp/乐谱"));
    EXPECT_FLOAT_EQ(Back.Transparency, 0.3f);
    // The folders on disk win at a full save; a folder change is written at once.
    O.LastFolders[lfkPDF] = QStringLiteral("/elsewhere");
    ASSERT_TRUE(SaveApplicationOptions(Path, O));
    ASSERT_TRUE(LoadApplicationOptions(Path, Back));
    EXPECT_EQ(Back.LastFolders[lfkPDF], QStringLiteral("/tmp/乐谱"));
    ASSERT_TRUE(SaveApplicationOptions_LastFolders(Path, O));
    ASSERT_TRUE(LoadApplicationOptions(Path, Back));
    EXPECT_EQ(Back.LastFolders[lfkPDF], QStringLiteral("/elsewhere"));
}

TEST(ApplicationOptions, WrittenAtShutdownAndFoldersAtOnce) {
    TEditorWindowFixture F;
    const QString Path = F.W->OptionsPath();
    F.W->SetLastFolder(lfkMidi, QStringLiteral("/music"));
    EXPECT_EQ(QFileInfo(Path).size(), 3548);  // before any shutdown
    F.W->Options().bSoundNote = false;
    F.W->close();
    TrecNuo4ApplicationOptions Back;
    ASSERT_TRUE(LoadApplicationOptions(Path, Back));
    EXPECT_FALSE(Back.bSoundNote);
    EXPECT_EQ(Back.LastFolders[lfkMidi], QStringLiteral("/music"));
    EXPECT_GT(Back.WindowWidth, 0);
}

}  // namespace
}  // namespace nuo4
