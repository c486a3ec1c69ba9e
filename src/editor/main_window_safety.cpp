// The main window's safety net: recovery files written within moments of every change, the
// per-copy autosave, the start-up offer of what an ended session left, and the crash report's
// hooks (the text it saves, the picture of the window, where its message goes).
#include <unistd.h>
#include <QBuffer>
#include <QDateTime>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <algorithm>
#include <cstdio>
#include <ctime>

#include "editor/crash_report.h"
#include "editor/main_window.h"
#include "format/abc_common.h"
#include "format/score_file.h"

namespace nuo4 {

namespace {

// A change reaches the recovery file once typing pauses this long...
constexpr int RecoveryPauseMs = 400;
// ...and never later than this after it was made, however long the typing goes on.
constexpr int RecoveryMaxDelayMs = 1000;

int64_t MonotonicMs() {
    timespec T{};
    clock_gettime(CLOCK_MONOTONIC, &T);
    return int64_t(T.tv_sec) * 1000 + T.tv_nsec / 1000000;
}

uint64_t TextHash(std::u16string_view AText) {
    uint64_t H = 14695981039346656037ull;
    for (const char16_t C : AText) H = (H ^ uint64_t(C)) * 1099511628211ull;
    return H;
}

}  // namespace

bool TFormNuo4Main::NoticeOtherInstances(const QString& AStateFolder) {
    FInstanceLock = std::make_unique<TNuo4InstanceLock>(AStateFolder.toStdString());
    bool bOthers = false;
    std::string Error;
    // A lock that cannot be had only costs the notice.
    if (!FInstanceLock->Acquire(bOthers, Error) || !bOthers) return false;
    ShowMessage(QStringLiteral("注意：检测到已经有NUO程序在运行！"));
    return true;
}

void TFormNuo4Main::EnableSafety(const QString& AStateFolder) {
    const std::string Folder = AStateFolder.toStdString();
    FRecoveryStore = std::make_unique<TNuo4RecoveryStore>(Folder, int64_t(::getpid()),
                                                          Nuo4ProcessStartTime(::getpid()));
    FAutoSave = std::make_unique<TNuo4AutoSave>(Folder);
    std::string Error;
    FAutoSave->AcquireSlot(Error);  // a failure is tried again at the first autosave

    TNuo4CrashReport& C = TNuo4CrashReport::Instance();
    C.Setup(Folder);
    C.SetScoreText(ABCSynRichEdit->GetABCText());
    // The hooks outlive no window: a report after it has gone takes no picture and prints.
    const QPointer<TFormNuo4Main> Self(this);
    C.SetHooks(
        [Self]() -> std::string {
            QByteArray Bytes;
            QBuffer B(&Bytes);
            B.open(QIODevice::WriteOnly);
            if (!Self || !Self->grab().toImage().save(&B, "BMP")) return std::string();
            return Bytes.toStdString();
        },
        [Self](const std::string& M) {
            if (Self)
                Self->ShowMessage(QString::fromStdString(M));
            else
                std::fprintf(stderr, "%s\n", M.c_str());
        });
    C.Install();

    tmrRecovery.setSingleShot(true);
    connect(&tmrRecovery, &QTimer::timeout, this, &TFormNuo4Main::FlushRecovery,
            Qt::UniqueConnection);
    connect(ABCSynRichEdit, &QPlainTextEdit::textChanged, this,
            &TFormNuo4Main::OnTextChangedForSafety, Qt::UniqueConnection);
    connect(ABCSynRichEdit->document(), &QTextDocument::modificationChanged, this,
            &TFormNuo4Main::OnTextChangedForSafety, Qt::UniqueConnection);
}

void TFormNuo4Main::OnTextChangedForSafety() {
    if (!FRecoveryStore) return;
    TNuo4CrashReport::Instance().SetScoreText(ABCSynRichEdit->GetABCText());
    const int64_t Now = MonotonicMs();
    if (FRecoveryPendingSinceMs < 0) FRecoveryPendingSinceMs = Now;
    const int64_t Left = FRecoveryPendingSinceMs + RecoveryMaxDelayMs - Now;
    tmrRecovery.start(int(std::clamp<int64_t>(Left, 0, RecoveryPauseMs)));
}

void TFormNuo4Main::FlushRecovery() {
    if (!FRecoveryStore) return;
    tmrRecovery.stop();
    FRecoveryPendingSinceMs = -1;
    // An unmodified text is in its file already (or is the empty new document).
    if (!ABCSynRichEdit->IsModified()) {
        FRecoveryStore->Remove(FDocumentId);
        return;
    }
    std::string Error;
    if (!FRecoveryStore->Write(FDocumentId, FFileNameOpened.toStdString(),
                               ABCSynRichEdit->GetABCText(), Error)) {
        // Tried again at the next change; a full disk must not stop the editing.
        std::fprintf(stderr, "nuo4: %s\n", Error.c_str());
    }
}

void TFormNuo4Main::RemoveRecoveryFile() {
    if (FRecoveryStore) FRecoveryStore->Remove(FDocumentId);
}

QString TFormNuo4Main::RecoveryFilePath() const {
    return FRecoveryStore ? QString::fromStdString(FRecoveryStore->FilePath(FDocumentId))
                          : QString();
}

QString TFormNuo4Main::AutoSaveFilePath() const {
    return FAutoSave ? QString::fromStdString(FAutoSave->FilePath()) : QString();
}

void TFormNuo4Main::AutoSaveTick() {
    if (!FAutoSave) return;
    std::string Error;
    // The autosave leaves the modified flag alone: closing still asks.
    if (!FAutoSave->Tick(ABCSynRichEdit->IsModified(), ABCSynRichEdit->GetABCText(), Error))
        std::fprintf(stderr, "nuo4: %s\n", Error.c_str());
}

void TFormNuo4Main::LoadTextAsModified(std::u16string_view AText, const QString& AFileName) {
    LoadFile(QString());
    ABCSynRichEdit->LoadText(AText);
    ABCSynRichEdit->SetModified(true);
    DoRedraw(!ScoreTabShown(), false);
    Redraw_Fast(true);
    ResetUndoRing();
    FFileNameOpened = AFileName;
    UpdateCaption();
    OnTextChangedForSafety();
}

void TFormNuo4Main::OpenAutoSaveFile() {
    const QString Path = FAutoSave ? AutoSaveFilePath() : QString();
    if (Path.isEmpty() || !QFileInfo(Path).isFile()) {
        ShowMessage(QStringLiteral("没有找到文件:\r\n%1").arg(Path));
        return;
    }
    std::u16string Text;
    std::string Error;
    if (!ReadScoreFile(Path.toStdString(), Text, Error)) {
        ShowMessage(QStringLiteral("打开文件失败!\n") + QString::fromStdString(Error));
        return;
    }
    if (!AskToSave()) return;
    // Untitled: a save asks for a name and never writes into the autosave copy.
    LoadTextAsModified(Text, QString());
}

bool TFormNuo4Main::OfferRecovery() {
    if (!FRecoveryStore) return false;
    std::vector<std::string> Stale;
    const std::vector<TrecNuo4RecoveryFile> Leftovers =
        FRecoveryStore->FindLeftovers(nullptr, &Stale);
    for (const std::string& S : Stale) ::unlink(S.c_str());
    for (const TrecNuo4RecoveryFile& F : Leftovers) {
        const QString Original = QString::fromStdString(F.Header.OriginalPath);
        const QString When = QDateTime::fromMSecsSinceEpoch(F.ModifiedTimeNs / 1000000)
                                 .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        const QString Question =
            QStringLiteral("上次编辑未正常结束，找到未保存的修改：\n%1\n（%2）\n\n是否恢复？")
                .arg(Original.isEmpty() ? QStringLiteral("未命名文档") : Original, When);
        int Answer = 2;
        if (RecoveryQuestionSink) {
            Answer = RecoveryQuestionSink(Question);
        } else {
            QMessageBox B(QMessageBox::Question, QStringLiteral("恢复"), Question,
                          QMessageBox::NoButton, this);
            QPushButton* Recover = B.addButton(QStringLiteral("恢复"), QMessageBox::AcceptRole);
            QPushButton* Discard =
                B.addButton(QStringLiteral("放弃"), QMessageBox::DestructiveRole);
            B.addButton(QStringLiteral("以后再说"), QMessageBox::RejectRole);
            B.setDefaultButton(Recover);
            B.exec();
            Answer = B.clickedButton() == Recover ? 0 : B.clickedButton() == Discard ? 1 : 2;
        }
        if (Answer == 1) ::unlink(F.Path.c_str());
        if (Answer != 0) continue;
        LoadTextAsModified(F.Text, Original);
        // This session's own file holds the text before the leftover goes.
        FlushRecovery();
        if (FRecoveryStore->Holds(FDocumentId, ABCSynRichEdit->GetABCText()))
            ::unlink(F.Path.c_str());
        return true;
    }
    return false;
}

void TFormNuo4Main::StartSelfTestTyping(int AIntervalMs, int ASaveEvery) {
    FSelfTestSaveEvery = ASaveEvery;
    tmrSelfTest.setInterval(std::max(1, AIntervalMs));
    connect(&tmrSelfTest, &QTimer::timeout, this, &TFormNuo4Main::SelfTestStep,
            Qt::UniqueConnection);
    std::printf("START %lld %016llx\n", static_cast<long long>(MonotonicMs()),
                static_cast<unsigned long long>(TextHash(ABCSynRichEdit->GetABCText())));
    std::fflush(stdout);
    tmrSelfTest.start();
}

void TFormNuo4Main::SelfTestStep() {
    const int Digit = 1 + FSelfTestCount % 7;
    QKeyEvent E(QEvent::KeyPress, Qt::Key_0 + Digit, Qt::NoModifier, QString::number(Digit));
    if (!ScoreViewKey(&E, false)) return;
    ++FSelfTestCount;
    std::printf("EDIT %d %lld %016llx\n", FSelfTestCount, static_cast<long long>(MonotonicMs()),
                static_cast<unsigned long long>(TextHash(ABCSynRichEdit->GetABCText())));
    std::fflush(stdout);
    if (FSelfTestSaveEvery > 0 && FSelfTestCount % FSelfTestSaveEvery == 0 &&
        !FFileNameOpened.isEmpty() && SaveFile()) {
        std::printf("SAVED %d %lld\n", FSelfTestCount, static_cast<long long>(MonotonicMs()));
        std::fflush(stdout);
    }
}

}  // namespace nuo4
