// Recovery files, the autosave copy and the crash report: the rules alone, and through a window.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QImage>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "editor/autosave.h"
#include "editor/crash_report.h"
#include "editor/instance_lock.h"
#include "editor/recovery_store.h"
#include "editor_test_support.h"
#include "format/score_file.h"
#include "format/score_file_save.h"

namespace nuo4 {
namespace {

std::string ReadBytes(const std::string& APath) {
    std::ifstream F(APath, std::ios::binary);
    std::ostringstream S;
    S << F.rdbuf();
    return S.str();
}

void WriteBytes(const std::string& APath, std::string_view ABytes) {
    std::ofstream(APath, std::ios::binary) << ABytes;
}

void SetModifiedTime(const std::string& APath, int64_t ASecondsFromNow) {
    namespace fs = std::filesystem;
    fs::last_write_time(APath,
                        fs::file_time_type::clock::now() + std::chrono::seconds(ASecondsFromNow));
}

TEST(RecoveryFile, OnlyACompleteFileIsRead) {
    const TrecNuo4RecoveryHeader H{4321, 99, 7, "/a b/新\nname\\x.nuoabc"};
    const std::u16string Text = u".Voice\r1 2 3 乐\r";
    const std::string Bytes = FormatRecoveryFile(H, Text);
    struct {
        const char* What;
        std::string Bytes;
        bool bRead;
    } const Rows[] = {
        {"complete", Bytes, true},
        {"cut in the text", Bytes.substr(0, Bytes.size() - 3), false},
        {"cut in the header", Bytes.substr(0, 30), false},
        {"grown", Bytes + "x", false},
        {"empty", "", false},
        {"foreign", ".Voice\r\n1 2 3\r\n", false},
    };
    for (const auto& R : Rows) {
        TrecNuo4RecoveryHeader Got;
        std::u16string GotText;
        EXPECT_EQ(ParseRecoveryFile(R.Bytes, Got, GotText), R.bRead) << R.What;
        if (!R.bRead) continue;
        EXPECT_EQ(Got.Pid, H.Pid);
        EXPECT_EQ(Got.StartTime, H.StartTime);
        EXPECT_EQ(Got.DocumentId, H.DocumentId);
        EXPECT_EQ(Got.OriginalPath, H.OriginalPath);
        EXPECT_EQ(GotText, Text);
    }
}

TEST(RecoveryStore, WritesChangesAndOffersOnlyEndedSessionsNewerThanTheirScore) {
    QTemporaryDir Dir;
    const std::string Folder = Dir.filePath(QStringLiteral("state/Nuo4")).toStdString();
    const std::string Score = Dir.filePath(QStringLiteral("score.nuoabc")).toStdString();
    std::string Error;

    // The same text is not written again; a changed one is.
    TNuo4RecoveryStore Own(Folder, ::getpid(), Nuo4ProcessStartTime(::getpid()));
    ASSERT_TRUE(Own.Write(1, Score, u"A", Error)) << Error;
    SetModifiedTime(Own.FilePath(1), -100);
    ASSERT_TRUE(Own.Write(1, Score, u"A", Error));
    EXPECT_LT(std::filesystem::last_write_time(Own.FilePath(1)),
              std::filesystem::file_time_type::clock::now() - std::chrono::seconds(50));
    ASSERT_TRUE(Own.Write(1, Score, u"AB", Error));
    TrecNuo4RecoveryHeader H;
    std::u16string Text;
    ASSERT_TRUE(ParseRecoveryFile(ReadBytes(Own.FilePath(1)), H, Text));
    EXPECT_EQ(Text, u"AB");
    // This process's own files are never offered to it.
    EXPECT_TRUE(Own.FindLeftovers([](const TrecNuo4RecoveryHeader&) { return false; }).empty());
    Own.Remove(1);
    EXPECT_FALSE(std::filesystem::exists(Own.FilePath(1)));

    // Leftovers of other sessions: pid 1 is alive (init), a reaped child's pid with another start
    // time is not.
    struct {
        const char* What;
        bool bWriterAlive;
        int ScoreAge;  // seconds relative to the recovery file; 0: no score on disk
        bool bUntitled;
        bool bOffered;
    } const Rows[] = {
        {"ended, score older", false, -60, false, true},
        {"ended, score newer (saved after)", false, +60, false, false},
        {"ended, score gone", false, 0, false, true},
        {"ended, untitled", false, 0, true, true},
        {"writer still runs", true, -60, false, false},
    };
    for (const auto& R : Rows) {
        std::filesystem::remove_all(Folder);
        std::filesystem::remove(Score);
        TNuo4RecoveryStore Other(Folder, 1, R.bWriterAlive ? Nuo4ProcessStartTime(1) : 12345);
        ASSERT_TRUE(Other.Write(3, R.bUntitled ? "" : Score, u"text", Error)) << Error;
        if (R.ScoreAge != 0) {
            WriteBytes(Score, "old");
            std::filesystem::last_write_time(Score,
                                             std::filesystem::last_write_time(Other.FilePath(3)) +
                                                 std::chrono::seconds(R.ScoreAge));
        }
        std::vector<std::string> Stale;
        const auto Found = Own.FindLeftovers(nullptr, &Stale);
        ASSERT_EQ(Found.size(), R.bOffered ? 1u : 0u) << R.What;
        if (R.bOffered) {
            EXPECT_EQ(Found[0].Text, u"text");
            EXPECT_EQ(Found[0].Path, Other.FilePath(3));
        }
        // Only a leftover its score has overtaken is stale; a live writer's file is not.
        EXPECT_EQ(Stale.size(), !R.bWriterAlive && R.ScoreAge > 0 ? 1u : 0u) << R.What;
    }
}

TEST(AutoSave, WritesOnlyModifiedTextsThatDifferAndOneSlotPerCopy) {
    QTemporaryDir Dir;
    const std::string Folder = Dir.path().toStdString();
    TNuo4AutoSave A(Folder);
    struct {
        bool bModified;
        std::u16string Text;
        bool bWrites;
    } const Steps[] = {
        {false, u"new empty document", false},  // a fresh start never replaces the last copy
        {true, u"one", true},
        {true, u"one", false},  // unchanged
        {true, u"two", true},
        {false, u"three", false},  // saved: the file holds it
        {true, u"two", false},     // the copy holds it already
        {true, u"four", true},
    };
    int32_t Writes = 0;
    std::string Error;
    for (size_t I = 0; I < std::size(Steps); ++I) {
        ASSERT_TRUE(A.Tick(Steps[I].bModified, Steps[I].Text, Error)) << Error;
        Writes += Steps[I].bWrites;
        EXPECT_EQ(A.WriteCount(), Writes) << "step " << I;
    }
    std::u16string Text;
    ASSERT_TRUE(ReadScoreFile(A.FilePath(), Text, Error));
    EXPECT_EQ(Text, u"four");
    EXPECT_EQ(A.FilePath(), Folder + "/AutoSave.nuoabc");
    // A second running copy gets its own file; a slot freed by an ended copy is taken again.
    auto B = std::make_unique<TNuo4AutoSave>(Folder);
    ASSERT_TRUE(B->AcquireSlot(Error));
    EXPECT_EQ(B->FilePath(), Folder + "/AutoSave-2.nuoabc");
    B.reset();
    TNuo4AutoSave C(Folder);
    ASSERT_TRUE(C.AcquireSlot(Error));
    EXPECT_EQ(C.Slot(), 2);
}

TEST(CrashReport, FatalSignalsAndUncaughtExceptionsWriteOneReport) {
    const std::u16string Text = u".Voice\r1 2 乐\r";
    for (const int Sig : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL}) {
        QTemporaryDir Dir;
        const std::string Folder = Dir.filePath(QStringLiteral("state")).toStdString();
        TNuo4CrashReport& C = TNuo4CrashReport::Instance();
        EXPECT_EXIT(
            {
                C.Setup(Folder);
                C.SetScoreText(u"older text");
                C.SetScoreText(Text);
                C.Install();
                std::raise(Sig);
            },
            ::testing::KilledBySignal(Sig), "fatal signal");
        const std::string Report = ReadBytes(Folder + "/NUO4Error.txt");
        EXPECT_EQ(Report.rfind("Fatal signal " + std::to_string(Sig) + " (", 0), 0u) << Report;
        // The stack: several frames, one per line.
        EXPECT_GT(std::count(Report.begin(), Report.end(), '\n'), 4) << Report;
        EXPECT_EQ(ReadBytes(Folder + "/NUO4Error.nuoabc"),
                  "\xEF\xBB\xBF.Voice\r\n1 2 \xE4\xB9\x90\r\n");
        EXPECT_FALSE(std::filesystem::exists(Folder + "/NUO4Error.bmp"));
        // The next start shows what the handler could not.
        C.Setup(Folder);
        const std::string M = C.TakePendingSignalReport();
        EXPECT_EQ(M.rfind("NUO发生如下异常：\r\nFatal signal " + std::to_string(Sig) + " (", 0), 0u)
            << M;
        EXPECT_NE(M.find("出错的消息已被保存为" + Folder + "/NUO4Error.txt."), std::string::npos)
            << M;
        EXPECT_NE(M.find("出错的文档已被保存为" + Folder + "/NUO4Error.nuoabc."), std::string::npos)
            << M;
        EXPECT_NE(M.find("程序窗体图像未能保存为"), std::string::npos) << M;
        EXPECT_EQ(C.TakePendingSignalReport(), "");
    }
    // An uncaught exception: one report with its message (the abort that follows does not
    // write a second one over it), the message says which file could not be written.
    QTemporaryDir Dir;
    const std::string Folder = Dir.filePath(QStringLiteral("state")).toStdString();
    EXPECT_EXIT(
        {
            TNuo4CrashReport& C = TNuo4CrashReport::Instance();
            C.Setup(Folder);
            C.SetScoreText(Text);
            C.SetHooks(nullptr, nullptr);
            C.ResetCount();
            C.Install();
            try {
                throw std::runtime_error("lost the thread");
            } catch (...) {
                std::terminate();
            }
        },
        ::testing::KilledBySignal(SIGABRT), "程序窗体图像未能保存为.*程序即将关闭");
    EXPECT_EQ(ReadBytes(Folder + "/NUO4Error.txt").rfind("lost the thread\n\n", 0), 0u);
    EXPECT_EQ(ReadBytes(Folder + "/NUO4Error.nuoabc"),
              "\xEF\xBB\xBF.Voice\r\n1 2 \xE4\xB9\x90\r\n");
}

TEST(CrashReport, FirstExceptionReportsEachFileKeepsTheFlagAndASecondOnlyShows) {
    TEditorWindowFixture F;
    F.LoadVoice(QStringLiteral("1 2 3"));
    const QString State = F.Dir.filePath(QStringLiteral("state"));
    TNuo4CrashReport& C = TNuo4CrashReport::Instance();
    // A state folder that cannot be made: every file says it was not written.
    WriteBytes(State.toStdString(), "a file in the way");
    F.W->EnableSafety(State + QStringLiteral("/Nuo4"));
    C.ResetCount();
    C.ReportException("first failure", false);
    ASSERT_EQ(F.Messages.size(), 1);
    EXPECT_EQ(F.Messages[0].count(QStringLiteral("未能保存为")), 3) << F.Messages[0].toStdString();
    EXPECT_FALSE(F.Messages[0].contains(QStringLiteral("已被保存为")));

    QFile::remove(State);
    F.W->EnableSafety(State);
    F.W->TextEditor()->ReplaceText(TrecNuo4ABCTextReplaceItem{{7, 0}, u"5 "});
    ASSERT_TRUE(F.W->TextEditor()->IsModified());
    C.ResetCount();
    C.ReportException("boom", false);
    ASSERT_EQ(F.Messages.size(), 2);
    const QString M = F.Messages[1];
    EXPECT_TRUE(M.startsWith(QStringLiteral("NUO发生如下异常：\r\nboom\r\n\r\n")))
        << M.toStdString();
    for (const char* Name : {"NUO4Error.txt", "NUO4Error.nuoabc", "NUO4Error.bmp"})
        EXPECT_TRUE(M.contains(QStringLiteral("已被保存为") + State + QLatin1Char('/') +
                               QLatin1String(Name) + QLatin1Char('.')))
            << Name << M.toStdString();
    EXPECT_TRUE(
        M.endsWith(QStringLiteral("建议您将上述3个文件发送给软件作者并说明情况，以便排查问题.")));
    EXPECT_TRUE(F.W->TextEditor()->IsModified());
    std::u16string Saved;
    std::string Error;
    ASSERT_TRUE(ReadScoreFile(C.ScorePath(), Saved, Error)) << Error;
    EXPECT_EQ(Saved, u".Voice\r\n5 1 2 3\r\n");
    EXPECT_FALSE(QImage(QString::fromStdString(C.PicturePath())).isNull());
    EXPECT_NE(ReadBytes(C.TextPath()).find("boom\n\n"), std::string::npos);

    // The second exception is shown as it is and leaves the report alone.
    for (const std::string& P : {C.TextPath(), C.ScorePath(), C.PicturePath()})
        std::filesystem::remove(P);
    C.ReportException("second", false);
    ASSERT_EQ(F.Messages.size(), 3);
    EXPECT_EQ(F.Messages[2], QStringLiteral("second"));
    for (const std::string& P : {C.TextPath(), C.ScorePath(), C.PicturePath()})
        EXPECT_FALSE(std::filesystem::exists(P)) << P;
    EXPECT_EQ(C.ExceptionCount(), 2);
}

TEST(SafetyWindow, ALeftoverIsRecoveredAsTheModifiedDocumentOfItsPath) {
    TEditorWindowFixture F;
    const QString State = F.Dir.filePath(QStringLiteral("state"));
    const QString Score = F.Dir.filePath(QStringLiteral("song.nuoabc"));
    std::string Error;
    ASSERT_TRUE(SaveScoreFileAtomic(Score.toStdString(), u".Voice\r1\r", Error));
    SetModifiedTime(Score.toStdString(), -60);
    // Left by an ended session: this pid with another start time.
    TNuo4RecoveryStore Ended(State.toStdString(), ::getpid(), 1);
    ASSERT_TRUE(Ended.Write(9, Score.toStdString(), u".Voice\r1 2 3 4\r", Error)) << Error;
    F.W->EnableSafety(State);
    QStringList Questions;
    F.W->RecoveryQuestionSink = [&](const QString& Q) {
        Questions << Q;
        return 0;
    };
    ASSERT_TRUE(F.W->OfferRecovery());
    ASSERT_EQ(Questions.size(), 1);
    EXPECT_TRUE(Questions[0].contains(Score));
    EXPECT_EQ(F.Text(), u".Voice\r1 2 3 4\r");
    EXPECT_TRUE(F.W->TextEditor()->IsModified());
    EXPECT_EQ(F.W->FileNameOpened(), Score);
    // Taken over: this session's file holds the text, the leftover is gone.
    EXPECT_FALSE(std::filesystem::exists(Ended.FilePath(9)));
    EXPECT_TRUE(QFileInfo::exists(F.W->RecoveryFilePath()));
    EXPECT_FALSE(F.W->OfferRecovery());

    // An edit reaches the file within two seconds; a save makes it go.
    F.W->TextEditor()->ReplaceText(TrecNuo4ABCTextReplaceItem{{7, 0}, u"5 "});
    TrecNuo4RecoveryHeader H;
    std::u16string Text;
    QElapsedTimer T;
    T.start();
    while (T.elapsed() < 2000 &&
           !(ParseRecoveryFile(ReadBytes(F.W->RecoveryFilePath().toStdString()), H, Text) &&
             Text == F.Text()))
        QTest::qWait(20);
    EXPECT_EQ(Text, u".Voice\r5 1 2 3 4\r");
    ASSERT_TRUE(F.W->SaveFile());
    F.W->FlushRecovery();
    EXPECT_FALSE(QFileInfo::exists(F.W->RecoveryFilePath()));
}

TEST(SafetyWindow, TheAutoSaveCopyOpensUntitledAndModifiedAfterTheSaveQuestion) {
    TEditorWindowFixture F;
    const QString State = F.Dir.filePath(QStringLiteral("state"));
    F.W->EnableSafety(State);
    F.W->OpenAutoSaveFile();
    ASSERT_EQ(F.Messages.size(), 1);
    EXPECT_TRUE(F.Messages[0].startsWith(QStringLiteral("没有找到文件:")));
    std::string Error;
    ASSERT_TRUE(
        SaveScoreFileAtomic(F.W->AutoSaveFilePath().toStdString(), u".Voice\r7 6 5\r", Error));
    F.LoadVoice(QStringLiteral("1 2"));
    F.W->TextEditor()->ReplaceText(TrecNuo4ABCTextReplaceItem{{7, 0}, u"3 "});
    int Asked = 0;
    F.W->SaveQuestionSink = [&] { return ++Asked, 2; };  // cancel: nothing changes
    F.W->OpenAutoSaveFile();
    EXPECT_EQ(Asked, 1);
    EXPECT_EQ(F.Text(), u".Voice\r3 1 2\r");
    F.W->SaveQuestionSink = [&] { return ++Asked, 1; };
    F.W->OpenAutoSaveFile();
    EXPECT_EQ(Asked, 2);
    EXPECT_EQ(F.Text(), u".Voice\r7 6 5\r");
    EXPECT_TRUE(F.W->TextEditor()->IsModified());
    EXPECT_TRUE(F.W->FileNameOpened().isEmpty());
}

TEST(SafetyWindow, ASaveOnAFullDiskFailsWithAMessageAndKeepsFileAndFlag) {
    TEditorWindowFixture F;
    F.LoadVoice(QStringLiteral("1 2 3"));
    const std::string Path = F.W->FileNameOpened().toStdString();
    const std::string Old = ReadBytes(Path);
    F.W->TextEditor()->ReplaceText(TrecNuo4ABCTextReplaceItem{{7, 0}, std::u16string(6000, u'5')});
    rlimit Saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &Saved), 0);
    rlimit Small = Saved;
    Small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &Small), 0);
    const bool bSaved = F.W->SaveFile();
    ::setrlimit(RLIMIT_FSIZE, &Saved);
    EXPECT_FALSE(bSaved);
    ASSERT_EQ(F.Messages.size(), 1);
    EXPECT_TRUE(F.Messages[0].startsWith(QStringLiteral("保存文件失败!")))
        << F.Messages[0].toStdString();
    EXPECT_TRUE(F.Messages[0].contains(QStringLiteral("File too large")));
    EXPECT_EQ(ReadBytes(Path), Old);
    EXPECT_TRUE(F.W->TextEditor()->IsModified());
    EXPECT_EQ(
        QDir(F.Dir.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("nuo4tmp")),
        QStringList());
    // With room again the same save succeeds.
    EXPECT_TRUE(F.W->SaveFile());
    EXPECT_FALSE(F.W->TextEditor()->IsModified());
}

// Each holder opens the file anew, as another process would: the system's locks belong to the
// open file, so holders within one process see each other as separate copies do.
TEST(RunningCopies, ACopyIsNoticedWhileAnyOtherRunsAndBothGoOn) {
    QTemporaryDir Dir;
    const std::string Folder = Dir.filePath(QStringLiteral("state/Nuo4")).toStdString();
    std::map<char, std::unique_ptr<TNuo4InstanceLock>> Held;
    const struct {
        const char* Drop;  // holders that end first
        char Start;
        bool bOthers;
    } Steps[] = {{"", 'A', false}, {"", 'B', true}, {"A", 'C', true}, {"BC", 'D', false}};
    for (const auto& S : Steps) {
        for (const char* D = S.Drop; *D; ++D) Held.erase(*D);
        auto L = std::make_unique<TNuo4InstanceLock>(Folder);
        bool bOthers = !S.bOthers;
        std::string Error;
        ASSERT_TRUE(L->Acquire(bOthers, Error)) << Error;
        EXPECT_EQ(bOthers, S.bOthers) << S.Start;
        Held[S.Start] = std::move(L);
    }

    // Through two windows: only the second says so.
    TEditorWindowFixture First, Second;
    const QString State = First.Dir.filePath(QStringLiteral("state"));
    EXPECT_FALSE(First.W->NoticeOtherInstances(State));
    EXPECT_TRUE(Second.W->NoticeOtherInstances(State));
    EXPECT_TRUE(First.Messages.isEmpty());
    EXPECT_EQ(Second.Messages, QStringList{QStringLiteral("注意：检测到已经有NUO程序在运行！")});
}

}  // namespace
}  // namespace nuo4
