// The main window's files: load, save, the save question, the command line, the options file,
// the general timer and shutdown.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include "editor/file_assoc.h"
#include "editor/file_names.h"
#include "editor/main_window.h"
#include "format/score_file.h"
#include "format/score_file_save.h"

namespace nuo4 {

namespace {

QString FontUsageCaption(TNuo4FontUsage U) {
    static const char* const Names[Nuo4FontUsageCount] = {
        "Core",     "缺省",     "引语",      "标题",      "副标题",    "副标题2",   "词曲作者",
        "调号拍号", "速度表情", "歌词",      "歌词前缀",  "歌词段号",  "锣鼓经",    "辅助信息",
        "标准文字", "房子",     "特殊文字1", "特殊文字2", "特殊文字3", "特殊文字4", "声部名称",
        "文本框1",  "文本框2",  "文本框3",   "文本框4"};
    return U < Nuo4FontUsageCount ? QString::fromUtf8(Names[U]) : QString();
}

const QString ScoreFilter = QStringLiteral("Nuo4文档 (*.nuoabc)");

}  // namespace

QString TFormNuo4Main::FileFromCommandLine(const QStringList& AArguments) {
    QString R;
    for (int I = 1; I < AArguments.size(); ++I)
        if (AArguments[I].contains(QStringLiteral(".nuoabc")) && QFileInfo(AArguments[I]).isFile())
            R = AArguments[I];
    return R;
}

bool TFormNuo4Main::LoadFile(const QString& AFileName) {
    if (!AFileName.isEmpty()) {
        if (!QFileInfo(AFileName).isFile()) return false;
        QString Error;
        // A file that cannot be read or decoded changes nothing: the current text stays, so a
        // later save never writes an empty text over the file.
        if (!ABCSynRichEdit->LoadFile(AFileName, Error)) {
            ShowMessage(QStringLiteral("打开文件失败!") +
                        (Error.isEmpty() ? QString() : QStringLiteral("\n") + Error));
            return false;
        }
        SetLastFolder(lfkScore, QFileInfo(AFileName).absolutePath());
        if (FMyRecentFilesMenu) FMyRecentFilesMenu->Add(AFileName);
    } else {
        ABCSynRichEdit->LoadText(TNuo4ABCBuffer::CreateEmptyDoc());
        if (FMyRecentFilesMenu) FMyRecentFilesMenu->CheckedMenuItemFromMenuItemIndex(-1);
    }
    ForgetPlayedScore();
    DoRedraw(!ScoreTabShown(), false);
    // A loaded score starts in standard mode with the caret before its first symbol.
    if (TNuo4SimpleBuffer* B = GetSimpleBuffer()) B->InternalStatus.Clear();
    Nuo4ConsecutiveNoteCount() = 0;
    FEditMode = emStandard;
    UpdateModeUI();
    Redraw_Fast(true);
    if (ScoreTabShown())
        ScorePanel->MySetFocus();
    else
        ABCSynRichEdit->setFocus();
    ResetUndoRing();
    FFileNameOpened = AFileName;
    UpdateCaption();
    if (TNuo4ABCBuffer* A = ABCSynRichEdit->ABCBuffer(); A && !A->FontsCheckInfoArray.empty()) {
        QString M = QStringLiteral("此文档中的下列字体在本机当中不存在：\n\n");
        for (const auto& F : A->FontsCheckInfoArray)
            M += QStringLiteral("%1, 用于: %2\n")
                     .arg(QString::fromStdU16String(F.FamilyName), FontUsageCaption(F.FontUsage));
        M += QStringLiteral("\n上述字体已被替换为默认字体：Arial");
        // A hidden window (a script, a test with its own sink) still hears of it.
        if (isVisible() || MessageSink) ShowMessage(M);
    }
    return true;
}

void TFormNuo4Main::UpdateCaption() {
    setWindowTitle(FFileNameOpened.isEmpty()
                       ? QStringLiteral("Nuo4")
                       : QStringLiteral("Nuo4 - ") + QFileInfo(FFileNameOpened).fileName());
}

QString TFormNuo4Main::OpenFileDialog() {
    QFileDialog D(this, QStringLiteral("打开文档"), FOptions.LastFolders[lfkScore], ScoreFilter);
    D.setDefaultSuffix(QStringLiteral("nuoabc"));
    D.setFileMode(QFileDialog::ExistingFile);
    if (D.exec() != QDialog::Accepted || D.selectedFiles().isEmpty()) return QString();
    return D.selectedFiles().first();
}

bool TFormNuo4Main::SaveFile() {
    if (FFileNameOpened.isEmpty()) return SaveFileAs();
    QString Error;
    if (!ABCSynRichEdit->SaveFile(FFileNameOpened, true, Error)) {
        ShowMessage(QStringLiteral("保存文件失败!\n") + Error);
        return false;
    }
    return true;
}

QString TFormNuo4Main::ProposedSaveName() const {
    const TNuo4ABCBuffer B(ABCSynRichEdit->GetABCText());
    return Nuo4ProposedSaveName(FFileNameOpened,
                                QString::fromStdU16String(B.Section_Title.Buffer.GetTitleText()));
}

bool TFormNuo4Main::SaveFileAs() {
    const QString Proposed = ProposedSaveName();
    QString Name;
    if (SaveFileNameSink) {
        Name = SaveFileNameSink(Proposed);
    } else {
        const QString Folder =
            QFileInfo(Proposed).isAbsolute()
                ? QFileInfo(Proposed).absolutePath()
                : (FOptions.LastFolders[lfkScore].isEmpty() ? FProgramFolder
                                                            : FOptions.LastFolders[lfkScore]);
        QFileDialog D(this, QStringLiteral("文档另存为"),
                      QDir(Folder).filePath(QFileInfo(Proposed).fileName()), ScoreFilter);
        D.setAcceptMode(QFileDialog::AcceptSave);
        D.setDefaultSuffix(QStringLiteral("nuoabc"));
        if (D.exec() == QDialog::Accepted && !D.selectedFiles().isEmpty())
            Name = D.selectedFiles().first();
    }
    if (Name.isEmpty()) return false;
    QString Error;
    // The name, the caption, the recent list and the folder change only after a good write.
    if (!ABCSynRichEdit->SaveFile(Name, true, Error)) {
        ShowMessage(QStringLiteral("保存文件失败!\n") + Error);
        return false;
    }
    FFileNameOpened = Name;
    UpdateCaption();
    if (FMyRecentFilesMenu) FMyRecentFilesMenu->Add(Name);
    SetLastFolder(lfkScore, QFileInfo(Name).absolutePath());
    return true;
}

bool TFormNuo4Main::AskToSave() {
    if (!ABCSynRichEdit->IsModified()) return true;
    if (SaveQuestionSink) {
        const int Answer = SaveQuestionSink();
        return Answer == 0 ? SaveFile() : Answer == 1;
    }
    QMessageBox B(QMessageBox::Warning, QStringLiteral("警告"),
                  QStringLiteral("文件已修改。是否保存？"), QMessageBox::NoButton, this);
    QPushButton* Save = B.addButton(QStringLiteral("保存"), QMessageBox::AcceptRole);
    QPushButton* Discard = B.addButton(QStringLiteral("不保存"), QMessageBox::DestructiveRole);
    QPushButton* Cancel = B.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
    B.setDefaultButton(Save);
    B.exec();
    if (B.clickedButton() == Save) return SaveFile();
    if (B.clickedButton() == Discard) return true;
    (void)Cancel;
    return false;
}

void TFormNuo4Main::SetLastFolder(TNuo4LastFolderKind AKind, const QString& AFolder) {
    if (FOptions.LastFolders[AKind] == AFolder) return;
    FOptions.LastFolders[AKind] = AFolder;
    // Written at once: a crash or a first run must not forget it.
    SaveApplicationOptions_LastFolders(FOptionsPath, FOptions);
}

void TFormNuo4Main::SaveOptions() {
    FOptions.bMaximized = isMaximized();
    const QRect G = normalGeometry().isValid() ? normalGeometry() : geometry();
    FOptions.WindowLeft = G.left();
    FOptions.WindowTop = G.top();
    FOptions.WindowWidth = G.width();
    FOptions.WindowHeight = G.height();
    FOptions.bFloatToolWindowVisible = FFloatToolWindow->isVisible();
    FOptions.FloatToolWindowLeft = FFloatToolWindow->x();
    FOptions.FloatToolWindowTop = FFloatToolWindow->y();
    SaveApplicationOptions(FOptionsPath, FOptions);
}

void TFormNuo4Main::closeEvent(QCloseEvent* E) {
    if (!AskToSave()) {
        E->ignore();
        return;
    }
    SaveOptions();
    E->accept();
}

// ---- General timer ----------------------------------------------------------------------------

void TFormNuo4Main::OnGeneralTimer() {
    if (!bFirstActivated) return;
    ++TimerCount;
    if (TimerCount % 3 == 0) CheckMemory();
    if (TimerCount % 60 == 0) AutoSaveTick();
}

void TFormNuo4Main::CheckMemory() {
    if (bMemeoryWarningShowed) return;
    QFile F(QStringLiteral("/proc/meminfo"));
    if (!F.open(QIODevice::ReadOnly)) return;
    qint64 Total = 0, Avail = -1;
    for (const QByteArray& L : F.readAll().split('\n')) {
        const QList<QByteArray> P = L.simplified().split(' ');
        if (P.size() < 2) continue;
        if (P[0] == "MemTotal:") Total = P[1].toLongLong() * 1024;
        if (P[0] == "MemAvailable:") Avail = P[1].toLongLong() * 1024;
    }
    if (Total <= 0 || Avail < 0) return;
    const double Load = 1.0 - double(Avail) / double(Total);
    if (Load >= 0.96 || Avail < 100LL * 1024 * 1024) {
        bMemeoryWarningShowed = true;
        ShowMessage(QStringLiteral("系统内存吃紧，建议保存文档，然后重启软件或者重启系统。"));
    }
}

// ---- Help and demonstration files ------------------------------------------------------------

QString Nuo4ResourceFolderFrom(const QString& AProgramFolder, const QString& AName) {
    // Installed beside the program or in its share folder; in the build tree the generated
    // files (the help PDFs) lie in the build's share folder.
    for (const QString& F : {AProgramFolder + QLatin1Char('/') + AName,
                             AProgramFolder + QStringLiteral("/../share/nuo4/") + AName,
                             QStringLiteral(NUO4_BUILD_SHARE_DIR "/") + AName})
        if (QFileInfo(F).isDir()) return QDir::cleanPath(F);
    return QStringLiteral(NUO4_RESOURCE_DIR "/") + AName;
}

QString Nuo4ResourceFolder(const QString& AName) {
    return Nuo4ResourceFolderFrom(QCoreApplication::applicationDirPath(), AName);
}

bool TFormNuo4Main::OpenReplacing(const QString& AFileName) {
    return AskToSave() && LoadFile(AFileName);
}

void TFormNuo4Main::OpenDemo(const QString& APath) {
    if (!QFileInfo(APath).isFile()) {
        ShowMessage(QStringLiteral("没有找到文件:\r\n%1").arg(APath));
        return;
    }
    OpenReplacing(APath);
}

void TFormNuo4Main::OpenHelpFile(const QString& AName) {
    const QString Path = Nuo4ResourceFolder(QStringLiteral("help")) + QLatin1Char('/') + AName;
    if (!QFileInfo(Path).isFile()) {
        ShowMessage(QStringLiteral("没有找到文件:\r\n%1").arg(Path));
        return;
    }
    const QUrl Url = QUrl::fromLocalFile(Path);
    if (!(OpenUrlSink ? OpenUrlSink(Url) : QDesktopServices::openUrl(Url)))
        ShowMessage(QStringLiteral("打开文件失败，原因可能是没有与pdf文件关联的应用程序."));
}

TNuo4HelpWindow* TFormNuo4Main::ShowHelpWindow(THelpWindowKind AKind, bool bActivate) {
    TNuo4HelpWindow*& W = FHelpWindows[AKind];
    if (!W) {
        bool TrecNuo4ApplicationOptions::*Flag =
            AKind == hwQuickStart ? &TrecNuo4ApplicationOptions::bShowQuickStart
                                  : &TrecNuo4ApplicationOptions::bShowBasicIntroduce;
        W = new TNuo4HelpWindow(
            AKind == hwQuickStart ? QStringLiteral("快速入门") : QStringLiteral("基础操作"),
            AKind == hwBasicIntroduce, FOptions.*Flag,
            [this, Flag](bool bOn) { FOptions.*Flag = bOn; }, this);
    }
    // At start-up the keys stay with the score.
    W->setAttribute(Qt::WA_ShowWithoutActivating, !bActivate);
    W->show();
    if (bActivate) {
        W->raise();
        W->activateWindow();
    }
    return W;
}

void TFormNuo4Main::ShowStartupHelpWindows() {
    if (FOptions.bShowQuickStart) ShowHelpWindow(hwQuickStart, false);
    if (FOptions.bShowBasicIntroduce)
        ShowHelpWindow(hwBasicIntroduce, false)->move(mapToGlobal(QPoint(5, 180)));
}

bool TFormNuo4Main::SetFileAssociate() {
    QString Error;
    if (!Nuo4SetFileAssociate(Nuo4ResourceFolder(QStringLiteral("desktop")),
                              QCoreApplication::applicationFilePath(), Nuo4XdgDataHome(), true,
                              Error)) {
        ShowMessage(QStringLiteral("关联nuoabc文件操作失败.\n") + Error);
        return false;
    }
    ShowMessage(QStringLiteral("关联nuoabc文件操作成功. 有可能需要重启电脑才能完全生效."));
    return true;
}

// ---- New document, recent files, clipboard -----------------------------------------------------

bool TFormNuo4Main::NewFile() {
    if (!AskToSave()) return false;
    TrecNuo4FormInfo_NewFile Info;
    Info.SetToDefault();
    if (!(NewFileSink ? NewFileSink(Info) : Nuo4ShowNewFileDialog(this, Info))) return false;
    LoadFile(QString());
    // The paper and the title come as edits after the empty document's snapshot, so an undo
    // returns to the empty document.
    const TNuo4ABCBuffer B(ABCSynRichEdit->GetABCText());
    const TNuo4ABCTextReplaceItems Items = Nuo4NewFileReplaceItems(B, Info);
    if (!Items.empty() && ABCSynRichEdit->ReplaceText(Items)) {
        ABCSynRichEdit->SetModified(false);
        DoRedraw(!ScoreTabShown(), false);
        PutUndoSnapshot();
    }
    return true;
}

void TFormNuo4Main::CreateRecentFilesMenu(QMenu* AMenu) {
    FMyRecentFilesMenu =
        std::make_unique<TMyRecentFilesMenu>(this, QFileInfo(FOptionsPath).absolutePath());
    FMyRecentFilesMenu->SetMaxMenuItemCount(16);
    FMyRecentFilesMenu->SetParentMenu(AMenu);
    FMyRecentFilesMenu->SetOnRecentMenuItemClick([this](const QString& F) { OpenRecentFile(F); });
}

void TFormNuo4Main::OpenRecentFile(const QString& AFileName) {
    if (!QFileInfo(AFileName).isFile()) {
        ShowMessage(QStringLiteral("找不到文件：%1").arg(AFileName));
        FMyRecentFilesMenu->CheckedMenuItemFromMenuItemIndex(-1);
        return;
    }
    if (!OpenReplacing(AFileName)) {
        // The check mark of a failed or cancelled load goes; the open file keeps its own.
        const int32_t I =
            int32_t(FMyRecentFilesMenu->Ring().NewestFirst().indexOf(FFileNameOpened));
        FMyRecentFilesMenu->CheckedMenuItemFromMenuItemIndex(FFileNameOpened.isEmpty() ? -1 : I);
    }
}

bool TFormNuo4Main::OpenFileFromClipboard() {
    const QString F = Nuo4ScoreFileFromMimeData(QApplication::clipboard()->mimeData());
    if (F.isEmpty() || !QFileInfo(F).isFile()) {
        ShowMessage(QStringLiteral("Windows剪贴板当中没有nuoabc文件！"));
        return false;
    }
    return OpenReplacing(F);
}

}  // namespace nuo4
