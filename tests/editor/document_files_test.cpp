// Document files: the recent-files ring and its file, proposed names, the clipboard file list,
// the new document, failed saves, symbolic links and the save question.
#include <gtest/gtest.h>

#include <unistd.h>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QSet>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QUrl>

#include "editor/file_assoc.h"
#include "editor/file_names.h"
#include "editor/help_window.h"
#include "editor/recent_files.h"
#include "editor_test_support.h"

namespace nuo4 {
namespace {

QByteArray ReadAll(const QString& APath) {
    QFile F(APath);
    return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray("<missing>");
}

QString WriteScore(const QDir& ADir, const QString& AName, const QString& AVoice) {
    const QString Path = ADir.filePath(AName);
    QFile F(Path);
    F.open(QIODevice::WriteOnly);
    F.write((QStringLiteral(".Voice\r\n") + AVoice + QStringLiteral("\r\n")).toUtf8());
    return Path;
}

TEST(RecentFiles, RingOfSixteenKeepsOrderCaptionsAndFile) {
    QTemporaryDir Dir;
    QMenu Menu;
    QObject Owner;
    auto M = std::make_unique<TMyRecentFilesMenu>(&Owner, Dir.path());
    M->SetMaxMenuItemCount(16);
    M->SetParentMenu(&Menu);
    ASSERT_EQ(Menu.actions().size(), 1);
    EXPECT_EQ(Menu.actions()[0]->text(), QStringLiteral("空"));
    EXPECT_FALSE(Menu.actions()[0]->isEnabled());
    QStringList Names;
    for (int I = 1; I <= 17; ++I) Names << QStringLiteral("/music/f%1.nuoabc").arg(I);
    for (const QString& N : Names) ASSERT_TRUE(M->Add(N));
    // The first name fell out; the file holds the other sixteen, oldest first.
    const QStringList Kept = Names.mid(1);
    EXPECT_EQ(QString::fromUtf8(ReadAll(M->FilePath())).split('\n', Qt::SkipEmptyParts), Kept);
    ASSERT_EQ(Menu.actions().size(), 16);
    EXPECT_EQ(Menu.actions()[0]->text(), QStringLiteral("1#: f17.nuoabc (/music)"));
    EXPECT_EQ(Menu.actions()[15]->text(), QStringLiteral("16#: f2.nuoabc (/music)"));
    // A known name keeps its place and is the only one checked.
    ASSERT_TRUE(M->Add(Names[4]));
    EXPECT_EQ(M->Ring().OldestFirst(), Kept);
    for (int I = 0; I < 16; ++I) EXPECT_EQ(Menu.actions()[I]->isChecked(), I == 12) << I;
    // Read again at the next start: same order, and the ring goes on from the oldest.
    QMenu Menu2;
    TMyRecentFilesMenu M2(&Owner, Dir.path());
    M2.SetParentMenu(&Menu2);
    EXPECT_EQ(M2.Ring().OldestFirst(), Kept);
    M2.Add(QStringLiteral("/music/new.nuoabc"));
    EXPECT_EQ(M2.Ring().OldestFirst().first(), Names[2]);
    EXPECT_EQ(M2.Ring().NewestFirst().first(), QStringLiteral("/music/new.nuoabc"));
}

TEST(RecentFiles, LongFoldersAreShortenedAfter40Characters) {
    const QString F40 = QStringLiteral("/") + QString(39, QLatin1Char('a'));
    const QString F41 = F40 + QLatin1Char('b');
    EXPECT_EQ(Nuo4RecentFileCaption(3, F40 + QStringLiteral("/x.nuoabc")),
              QStringLiteral("3#: x.nuoabc (%1)").arg(F40));
    EXPECT_EQ(Nuo4RecentFileCaption(3, F41 + QStringLiteral("/x.nuoabc")),
              QStringLiteral("3#: x.nuoabc (%1...)").arg(F41.left(37)));
}

TEST(FileNames, ProposedSaveName) {
    const struct {
        const char* Opened;
        const char* Title;
        const char* Expected;
    } Cases[] = {
        {"/a/b/song.v2.nuoabc", "标题", "/a/b/song.v2"},
        {"", "AC/DC: 新歌", "AC_DC_ 新歌"},
        {"", "  ", "新建文档"},
        {"", "..", "新建文档"},
        {"", "a\tb?", "a_b_"},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(Nuo4ProposedSaveName(QString::fromUtf8(C.Opened), QString::fromUtf8(C.Title)),
                  QString::fromUtf8(C.Expected))
            << C.Title;
    // A long title stays within a file name's 255 bytes with the extension.
    const QString Long = Nuo4ProposedSaveName(QString(), QString(200, QChar(u'谱')));
    EXPECT_LE(Long.toUtf8().size() + 7, 255);
    EXPECT_GT(Long.size(), 70);
}

TEST(FileNames, ClipboardFileList) {
    const struct {
        const char* Format;
        const char* Data;
        const char* Expected;
    } Cases[] = {
        {"text/uri-list", "file:///tmp/a.nuoabc\r\nfile:///tmp/b.nuoabc\r\n", "/tmp/a.nuoabc"},
        {"text/uri-list", "file:///tmp/A.NUOABC\r\n", ""},
        {"text/uri-list", "file:///tmp/a.txt\r\nfile:///tmp/b.nuoabc\r\n", ""},
        {"x-special/gnome-copied-files", "copy\nfile:///tmp/%E6%AD%8C.nuoabc", "/tmp/歌.nuoabc"},
        {"text/plain", "/tmp/a.nuoabc", ""},
    };
    for (const auto& C : Cases) {
        QMimeData D;
        D.setData(QString::fromLatin1(C.Format), QByteArray(C.Data));
        EXPECT_EQ(Nuo4ScoreFileFromMimeData(&D), QString::fromUtf8(C.Expected)) << C.Data;
    }
}

TEST(EditorFiles, NewDocumentThenUndoGivesTheEmptyDocument) {
    TEditorWindowFixture F;
    F.W->LoadFile(QString());
    const std::u16string Empty = F.Text();
    F.W->NewFileSink = [](TrecNuo4FormInfo_NewFile& I) {
        I.Title.SetText(tbitTitle, u"山歌");
        I.Paper.Paper.Width = 182;
        return true;
    };
    ASSERT_TRUE(F.W->NewFile());
    const QString New = QString::fromStdU16String(F.Text());
    EXPECT_TRUE(New.contains(QStringLiteral("山歌")));
    EXPECT_TRUE(New.contains(QStringLiteral("182")));
    EXPECT_FALSE(F.W->TextEditor()->IsModified());
    EXPECT_EQ(F.W->ProposedSaveName(), QStringLiteral("山歌"));
    F.W->Undo();
    EXPECT_EQ(F.Text(), Empty);
    // A cancelled dialog changes nothing.
    F.W->Redo();
    F.W->NewFileSink = [](TrecNuo4FormInfo_NewFile&) { return false; };
    EXPECT_FALSE(F.W->NewFile());
    EXPECT_EQ(QString::fromStdU16String(F.Text()), New);
}

TEST(EditorFiles, FailedSaveKeepsFileTextFlagNameAndRecentList) {
    TEditorWindowFixture F;
    QDir Root(F.Dir.path());
    ASSERT_TRUE(Root.mkdir("ro"));
    const QString Path = WriteScore(QDir(Root.filePath("ro")), "song.nuoabc", "1 2 3");
    ASSERT_TRUE(F.W->LoadFile(Path));
    const QByteArray OldBytes = ReadAll(Path);
    const QStringList OldRecent = F.W->RecentFilesMenu()->Ring().OldestFirst();
    F.W->TextEditor()->ReplaceAllText(u".Voice\r5 6 7\r");
    const std::u16string Edited = F.Text();
    const QString NotAFolder = WriteScore(Root, "plain.nuoabc", "1");
    struct {
        const char* What;
        std::function<bool()> Save;
    } const Cases[] = {
        {"save-as below a regular file",
         [&] {
             F.W->SaveFileNameSink = [&](const QString&) { return NotAFolder + "/x.nuoabc"; };
             return F.W->SaveFileAs();
         }},
        {"read-only folder",
         [&] {
             QFile::setPermissions(Root.filePath("ro"), QFile::ReadOwner | QFile::ExeOwner);
             const bool R = geteuid() == 0 ? false : F.W->SaveFile();
             QFile::setPermissions(Root.filePath("ro"),
                                   QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
             return R;
         }},
        {"save-as cancelled",
         [&] {
             F.W->SaveFileNameSink = [](const QString&) { return QString(); };
             return F.W->SaveFileAs();
         }},
    };
    for (const auto& C : Cases) {
        F.Messages.clear();
        EXPECT_FALSE(C.Save()) << C.What;
        EXPECT_EQ(ReadAll(Path), OldBytes) << C.What;
        EXPECT_EQ(F.Text(), Edited) << C.What;
        EXPECT_TRUE(F.W->TextEditor()->IsModified()) << C.What;
        EXPECT_EQ(F.W->FileNameOpened(), Path) << C.What;
        EXPECT_EQ(F.W->RecentFilesMenu()->Ring().OldestFirst(), OldRecent) << C.What;
    }
    EXPECT_TRUE(F.Messages.isEmpty());  // the cancel says nothing
}

TEST(EditorFiles, SavingOverASymbolicLinkWritesItsTarget) {
    TEditorWindowFixture F;
    QDir Root(F.Dir.path());
    Root.mkdir("real");
    const QString Target = WriteScore(QDir(Root.filePath("real")), "t.nuoabc", "1");
    const QString Link = Root.filePath("link.nuoabc");
    ASSERT_TRUE(QFile::link(Target, Link));
    ASSERT_TRUE(F.W->LoadFile(Link));
    F.W->TextEditor()->ReplaceAllText(u".Voice\r7 7 7\r");
    ASSERT_TRUE(F.W->SaveFile());
    EXPECT_EQ(QFileInfo(Link).symLinkTarget(), QFileInfo(Target).absoluteFilePath());
    EXPECT_TRUE(QString::fromUtf16(reinterpret_cast<const char16_t*>(ReadAll(Target).constData()),
                                   ReadAll(Target).size() / 2)
                    .contains(QStringLiteral("7 7 7")));
    EXPECT_FALSE(F.W->TextEditor()->IsModified());
}

// A font the machine lacks is named once after the load; a Windows name with an installed
// equivalent is not.
TEST(EditorFiles, MissingFontsAreNamedAfterTheLoad) {
    TEditorWindowFixture F;
    QStringList Messages;
    F.W->MessageSink = [&](const QString& M) { Messages << M; };
    const QString Path = QDir(F.Dir.path()).filePath("fonts.nuoabc");
    QFile File(Path);
    ASSERT_TRUE(File.open(QIODevice::WriteOnly));
    File.write(
        QStringLiteral(".Fonts\r\nLyric = NoSuchFamily Xyz, 4.20\r\n.Voice\r\n1 2\r\n").toUtf8());
    File.close();
    ASSERT_TRUE(F.W->LoadFile(Path));
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_TRUE(Messages[0].startsWith(QStringLiteral("此文档中的下列字体在本机当中不存在：\n\n")));
    EXPECT_TRUE(Messages[0].contains(QStringLiteral("NoSuchFamily Xyz, 用于: 歌词\n")));
    EXPECT_TRUE(Messages[0].endsWith(QStringLiteral("上述字体已被替换为默认字体：Arial")));
    // molihua asks for 楷体 for its lyrics, which maps to the installed Kai face.
    Messages.clear();
    ASSERT_TRUE(F.W->LoadFile(QStringLiteral(NUO4_SOURCE_DIR "/resources/demo/molihua.nuoabc")));
    EXPECT_TRUE(Messages.isEmpty()) << Messages.join('|').toStdString();
}

// Every load that replaces a modified text asks first; "保存" goes on only after a good save.
TEST(EditorFiles, SaveQuestionBeforeReplacingAModifiedText) {
    enum { Save, Discard, Cancel };
    const struct {
        int Answer;
        bool bSaveWorks;  // for Save: the save-as dialog gives a good name or cancels
        bool bLoaded;
    } Cases[] = {
        {Save, true, true}, {Save, false, false}, {Discard, true, true}, {Cancel, true, false}};
    const char* const Routes[] = {"demo", "clipboard", "recent"};
    for (const char* Route : Routes)
        for (const auto& C : Cases) {
            TEditorWindowFixture F;
            const QString Other = WriteScore(QDir(F.Dir.path()), "other.nuoabc", "5 5");
            F.W->LoadFile(Other);
            F.W->LoadFile(QString());
            F.W->TextEditor()->ReplaceAllText(u".Voice\r3 3\r");
            const std::u16string Edited = F.Text();
            int Asked = 0;
            F.W->SaveQuestionSink = [&] {
                ++Asked;
                return C.Answer;
            };
            const QString SavedAs = F.Dir.filePath("mine.nuoabc");
            F.W->SaveFileNameSink = [&](const QString&) {
                return C.bSaveWorks ? SavedAs : QString();
            };
            const std::string R = Route;
            if (R == "demo") {
                for (QAction* A : F.W->findChildren<QAction*>())
                    if (A->objectName().startsWith("mnuDemo_")) {
                        A->trigger();
                        break;
                    }
            } else if (R == "clipboard") {
                auto* D = new QMimeData;
                D->setUrls({QUrl::fromLocalFile(Other)});
                QApplication::clipboard()->setMimeData(D);
                F.W->Action("mnuOpenFileFromWindowsClipboard")->trigger();
            } else {
                F.W->OpenRecentFile(Other);
            }
            const std::string What = R + " answer " + std::to_string(C.Answer);
            EXPECT_EQ(Asked, 1) << What;
            EXPECT_EQ(F.Text() == Edited, !C.bLoaded) << What;
            if (C.Answer == Save && C.bSaveWorks)
                EXPECT_TRUE(QString::fromUtf16(
                                reinterpret_cast<const char16_t*>(ReadAll(SavedAs).constData()),
                                ReadAll(SavedAs).size() / 2)
                                .contains("3 3"))
                    << What;
        }
}

TEST(FileNames, ResourceFoldersInstalledBesideTheProgramOrFromTheSourceTree) {
    QTemporaryDir Tmp;
    const QDir D(Tmp.path());
    for (const char* F :
         {"inst/bin", "inst/share/nuo4/demo", "side/bin/demo", "side/share/nuo4/demo", "bare/bin"})
        ASSERT_TRUE(D.mkpath(QString::fromUtf8(F)));
    const struct {
        const char* Program;
        QString Want;
    } Rows[] = {
        {"inst/bin", D.filePath("inst/share/nuo4/demo")},
        {"side/bin", D.filePath("side/bin/demo")},  // beside the program comes first
        {"bare/bin", QStringLiteral(NUO4_SOURCE_DIR "/resources/demo")},
    };
    for (const auto& R : Rows)
        EXPECT_EQ(Nuo4ResourceFolderFrom(D.filePath(QString::fromUtf8(R.Program)),
                                         QStringLiteral("demo")),
                  R.Want)
            << R.Program;
}

// Each help item opens its own file of the help folder with the viewer (the PDFs once the build
// made them); a viewer that refuses and a missing file are said.
TEST(EditorHelp, HelpItemsOpenTheirFilesWithTheViewerOrSayWhyNot) {
    TEditorWindowFixture F;
    const QString Help = Nuo4ResourceFolder(QStringLiteral("help"));
    QList<QUrl> Opened;
    bool bViewer = true;
    F.W->OpenUrlSink = [&](const QUrl& U) { return Opened << U, bViewer; };
    const struct {
        const char *Item, *File;
        bool bViewer;
    } Rows[] = {{"mnuWhatsNew", "What's New.txt", true},
                {"mnuWhatsNew", "What's New.txt", false},
                {"mnuTutorial_图文教程-基础篇", "图文教程-基础篇.pdf", true},
                {"mnuTutorial_图文教程-提高篇", "图文教程-提高篇.pdf", true},
                {"mnuTutorial_图文教程-高级篇", "图文教程-高级篇.pdf", true},
                {"mnuTutorial_图文教程-怎样打合唱谱", "图文教程-怎样打合唱谱.pdf", true},
                {"mnuTutorial_使用说明", "使用说明.pdf", true},
                {nullptr, "没有这个文件.pdf", true}};
    for (const auto& R : Rows) {
        SCOPED_TRACE(R.File);
        F.Messages.clear();
        Opened.clear();
        bViewer = R.bViewer;
        const QString Path = Help + QLatin1Char('/') + QString::fromUtf8(R.File);
        if (R.Item)
            F.W->Action(QString::fromUtf8(R.Item))->trigger();
        else
            F.W->OpenHelpFile(QString::fromUtf8(R.File));
        if (!QFileInfo::exists(Path)) {
            EXPECT_TRUE(Opened.isEmpty());
            EXPECT_EQ(F.Messages, QStringList{QStringLiteral("没有找到文件:\r\n") + Path});
            continue;
        }
        EXPECT_EQ(Opened, QList<QUrl>{QUrl::fromLocalFile(Path)});
        EXPECT_EQ(F.Messages, R.bViewer
                                  ? QStringList()
                                  : QStringList{QStringLiteral(
                                        "打开文件失败，原因可能是没有与pdf文件关联的应用程序.")});
    }
}

TEST(EditorHelp, HelpWindowsShowTheirPagesSearchAndKeepTheStartUpChoice) {
    TEditorWindowFixture F;
    TrecNuo4ApplicationOptions& O = F.W->Options();
    O.bShowQuickStart = false;
    O.bShowBasicIntroduce = true;
    const struct {
        const char* Action;
        const char* Title;
        bool bSearch;
        bool* Option;
    } Rows[] = {{"mnuShowQuickStartWindow", "快速入门", false, &O.bShowQuickStart},
                {"mnuShowBasicIntroduceWindow", "基础操作", true, &O.bShowBasicIntroduce}};
    for (const auto& R : Rows) {
        SCOPED_TRACE(R.Title);
        F.W->Action(QString::fromUtf8(R.Action))->trigger();
        auto* W = F.W->findChild<TNuo4HelpWindow*>(QString::fromUtf8(R.Title));
        ASSERT_TRUE(W && W->isVisible());
        // The built-in page, not an empty browser.
        EXPECT_TRUE(W->Browser()->toPlainText().startsWith(QString::fromUtf8(R.Title)));
        EXPECT_EQ(W->SearchLine() != nullptr, R.bSearch);
        // The box shows the start-up option and changes it.
        const bool bWas = *R.Option;
        EXPECT_EQ(W->ShowAtStartBox()->isChecked(), bWas);
        W->ShowAtStartBox()->setChecked(!bWas);
        EXPECT_EQ(*R.Option, !bWas);
    }
    // The search finds every place of a key word in turn, wraps, and says when there is none.
    auto* Basic = F.W->ShowHelpWindow(TFormNuo4Main::hwBasicIntroduce);
    const int Count = int(Basic->Browser()->toPlainText().count(QStringLiteral("和弦")));
    ASSERT_GE(Count, 2);
    QList<int> Places;
    for (int I = 0; I <= Count; ++I) {
        ASSERT_TRUE(Basic->FindNext(QStringLiteral("和弦")));
        Places << Basic->Browser()->textCursor().selectionStart();
    }
    EXPECT_EQ(Places.front(), Places.back());
    EXPECT_EQ(QSet<int>(Places.begin(), Places.end()).size(), Count);
    EXPECT_FALSE(Basic->FindNext(QStringLiteral("没有这样的词语")));
}

TEST(FileAssociation, DesktopEntryMimeTypeAndIconsForTheUser) {
    const struct {
        const char* Exe;
        const char* Exec;
    } Cases[] = {
        {"/usr/bin/nuo4", "/usr/bin/nuo4"},
        {"/opt/my apps/nuo4", "\"/opt/my apps/nuo4\""},
        {"/o/a\"b$c/nuo4", "\"/o/a\\\\\"b\\\\$c/nuo4\""},
        {"/o/100%/nuo4", "\"/o/100%%/nuo4\""},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(Nuo4DesktopExecProgram(QString::fromUtf8(C.Exe)), QString::fromUtf8(C.Exec))
            << C.Exe;
    QTemporaryDir Home;
    QString Error;
    const QString Src = QStringLiteral(NUO4_SOURCE_DIR "/resources/desktop");
    ASSERT_TRUE(Nuo4SetFileAssociate(Src, "/opt/my apps/nuo4", Home.path(), false, Error))
        << Error.toStdString();
    const QString Entry = QString::fromUtf8(ReadAll(Home.filePath("applications/nuo4.desktop")));
    EXPECT_TRUE(Entry.contains("\nExec=\"/opt/my apps/nuo4\" %f\n"));
    EXPECT_TRUE(Entry.contains("MimeType=application/x-nuoabc;"));
    EXPECT_TRUE(ReadAll(Home.filePath("mime/packages/nuo4.xml")).contains("*.nuoabc"));
    for (const char* Icon : {"icons/hicolor/scalable/apps/nuo4.svg",
                             "icons/hicolor/scalable/mimetypes/application-x-nuoabc.svg"})
        EXPECT_TRUE(ReadAll(Home.filePath(Icon)).startsWith("<?xml")) << Icon;
    // A data folder that cannot be made fails with the reason.
    const QString Plain = Home.filePath("plain");
    QFile(Plain).open(QIODevice::WriteOnly);
    EXPECT_FALSE(Nuo4SetFileAssociate(Src, "/usr/bin/nuo4", Plain, false, Error));
    EXPECT_FALSE(Error.isEmpty());
    EXPECT_FALSE(
        Nuo4SetFileAssociate(Home.filePath("none"), "/usr/bin/nuo4", Home.path(), false, Error));
}

}  // namespace
}  // namespace nuo4
