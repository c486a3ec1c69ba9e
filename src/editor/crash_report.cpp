#include "editor/crash_report.h"

#include <execinfo.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "format/abc_common.h"
#include "format/score_file_save.h"

namespace nuo4 {

namespace {

constexpr int FatalSignals[] = {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL};
constexpr int MaxFrames = 64;
std::atomic<int> SignalEntered{0};

const char* SignalName(int ASignal) {
    switch (ASignal) {
        case SIGSEGV:
            return "SIGSEGV";
        case SIGABRT:
            return "SIGABRT";
        case SIGBUS:
            return "SIGBUS";
        case SIGFPE:
            return "SIGFPE";
        case SIGILL:
            return "SIGILL";
        default:
            return "signal";
    }
}

// Async-signal-safe helpers: no allocation, no stdio.
void WriteAll(int AFd, const char* AData, size_t ALength) {
    while (ALength > 0) {
        const ssize_t N = ::write(AFd, AData, ALength);
        if (N < 0) {
            if (errno == EINTR) continue;
            return;
        }
        AData += N;
        ALength -= size_t(N);
    }
}
void WriteText(int AFd, const char* AText) {
    WriteAll(AFd, AText, std::strlen(AText));
}
void WriteNumber(int AFd, long AValue) {
    char Buf[24];
    int I = int(sizeof Buf);
    const bool bNegative = AValue < 0;
    unsigned long V =
        bNegative ? 0ul - static_cast<unsigned long>(AValue) : static_cast<unsigned long>(AValue);
    do {
        Buf[--I] = char('0' + V % 10);
        V /= 10;
    } while (V != 0 && I > 1);
    if (bNegative) Buf[--I] = '-';
    WriteAll(AFd, Buf + I, sizeof Buf - size_t(I));
}

void SignalHandler(int ASignal) {
    // A fault inside the handler, or a second thread faulting, goes straight to the default.
    if (SignalEntered.exchange(1) == 0) TNuo4CrashReport::Instance().WriteSignalReport(ASignal);
    ::signal(ASignal, SIG_DFL);
    ::raise(ASignal);
}

void TerminateHandler() {
    std::string Message = "std::terminate";
    if (std::exception_ptr P = std::current_exception()) {
        try {
            std::rethrow_exception(P);
        } catch (const std::exception& E) {
            Message = E.what();
        } catch (...) {
            Message = "unknown exception";
        }
    }
    // The abort that ends the process must not report a second time as a signal.
    ::signal(SIGABRT, SIG_DFL);
    TNuo4CrashReport::Instance().ReportException(Message, true);
    std::abort();
}

void MakeFolders(const std::string& AFolder) {
    for (size_t Slash = AFolder.find('/', 1);; Slash = AFolder.find('/', Slash + 1)) {
        ::mkdir(AFolder.substr(0, Slash).c_str(), 0700);
        if (Slash == std::string::npos) break;
    }
}

std::string StackTrace() {
    void* Frames[MaxFrames];
    const int N = ::backtrace(Frames, MaxFrames);
    std::string R;
    if (char** Symbols = ::backtrace_symbols(Frames, N)) {
        for (int I = 0; I < N; ++I) R += std::string(Symbols[I]) + "\n";
        std::free(Symbols);
    }
    return R;
}

}  // namespace

TNuo4CrashReport& TNuo4CrashReport::Instance() {
    // Never destroyed: a fault during exit() (a static's destructor, after this object's would
    // have run) still reaches the signal handler, which must find its paths and score intact.
    static TNuo4CrashReport* R = new TNuo4CrashReport;
    return *R;
}

void TNuo4CrashReport::Setup(const std::string& AFolder) {
    FFolder = AFolder;
    FTextPath = AFolder + "/NUO4Error.txt";
    FTextTemp = FTextPath + ".part";
    FScorePath = AFolder + "/NUO4Error.nuoabc";
    FScoreTemp = FScorePath + ".part";
    FPicturePath = AFolder + "/NUO4Error.bmp";
    FPendingPath = AFolder + "/NUO4Error.pending";
}

void TNuo4CrashReport::SetScoreText(std::u16string_view AText) {
    const int Next = 1 - FPublished;
    std::string& B = FScoreBytes[Next];
    B.assign("\xEF\xBB\xBF");
    const std::string U = ABC_ToUtf8(AText);
    B.reserve(U.size() + U.size() / 16 + 4);
    for (size_t I = 0; I < U.size(); ++I) {
        if (U[I] == '\r' || U[I] == '\n') {
            if (U[I] == '\r' && I + 1 < U.size() && U[I + 1] == '\n') ++I;
            B += "\r\n";
        } else {
            B += U[I];
        }
    }
    std::atomic_signal_fence(std::memory_order_seq_cst);
    FPublished = Next;
}

void TNuo4CrashReport::Install() {
    // backtrace loads its unwinder on first use; that must not happen inside the handler.
    void* Frames[2];
    (void)::backtrace(Frames, 2);
    static char* AltStack = nullptr;
    if (!AltStack) {
        const size_t Size = 256 * 1024;
        AltStack = static_cast<char*>(std::malloc(Size));
        stack_t S{};
        S.ss_sp = AltStack;
        S.ss_size = Size;
        ::sigaltstack(&S, nullptr);
    }
    for (const int Sig : FatalSignals) {
        struct sigaction A {};
        A.sa_handler = SignalHandler;
        sigemptyset(&A.sa_mask);
        A.sa_flags = SA_ONSTACK;
        ::sigaction(Sig, &A, nullptr);
    }
    std::set_terminate(TerminateHandler);
}

void TNuo4CrashReport::SetHooks(std::function<std::string()> AGrabPicture,
                                std::function<void(const std::string&)> AShowMessage) {
    FGrabPicture = std::move(AGrabPicture);
    FShowMessage = std::move(AShowMessage);
}

void TNuo4CrashReport::WriteSignalReport(int ASignal) {
    if (FTextPath.empty()) return;
    ::mkdir(FFolder.c_str(), 0700);
    bool bText = false, bScore = false;
    int Fd = ::open(FTextTemp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (Fd >= 0) {
        WriteText(Fd, "Fatal signal ");
        WriteNumber(Fd, ASignal);
        WriteText(Fd, " (");
        WriteText(Fd, SignalName(ASignal));
        WriteText(Fd, ")\n\n");
        void* Frames[MaxFrames];
        const int N = ::backtrace(Frames, MaxFrames);
        ::backtrace_symbols_fd(Frames, N, Fd);
        bText = ::close(Fd) == 0 && ::rename(FTextTemp.c_str(), FTextPath.c_str()) == 0;
    }
    const std::string& Score = FScoreBytes[FPublished];
    Fd = ::open(FScoreTemp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (Fd >= 0) {
        WriteAll(Fd, Score.data(), Score.size());
        bScore = ::close(Fd) == 0 && ::rename(FScoreTemp.c_str(), FScorePath.c_str()) == 0;
    }
    // What was written, for the message at the next start.
    Fd = ::open(FPendingPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (Fd >= 0) {
        WriteText(Fd, bText ? "1" : "0");
        WriteText(Fd, bScore ? "1" : "0");
        ::close(Fd);
    }
    WriteText(2, "nuo4: fatal signal ");
    WriteText(2, SignalName(ASignal));
    WriteText(2, bText ? "; report written to " : "; report NOT written to ");
    WriteText(2, FTextPath.c_str());
    WriteText(2, bScore ? ", score text written to " : ", score text NOT written to ");
    WriteText(2, FScorePath.c_str());
    WriteText(2, "\n");
}

TrecNuo4CrashReportResult TNuo4CrashReport::HandleException(std::string_view AMessage,
                                                            bool bFatal) {
    TrecNuo4CrashReportResult R;
    R.Message = std::string(AMessage);
    const bool bFirst = FExceptionCount++ == 0;
    (void)bFatal;
    if (!bFirst || FTextPath.empty()) return R;
    R.bReported = true;
    MakeFolders(FFolder);
    R.bTextWritten = WriteFileAtomic(FTextPath, R.Message + "\n\n" + StackTrace(), R.TextError);
    R.bScoreWritten = WriteFileAtomic(FScorePath, FScoreBytes[FPublished], R.ScoreError);
    std::string Picture;
    if (FGrabPicture) {
        try {
            Picture = FGrabPicture();
        } catch (...) {
            Picture.clear();
        }
    }
    if (Picture.empty())
        R.PictureError = "no picture of the window could be taken";
    else
        R.bPictureWritten = WriteFileAtomic(FPicturePath, Picture, R.PictureError);
    return R;
}

std::string TNuo4CrashReport::ReportMessage(const TrecNuo4CrashReportResult& AResult, bool bFatal) {
    if (!AResult.bReported) return AResult.Message;
    const TNuo4CrashReport& C = Instance();
    auto Line = [](const char* AWhat, bool bWritten, const std::string& APath,
                   const std::string& AError) {
        return std::string(AWhat) + (bWritten ? "已被保存为" + APath + ".\r\n"
                                              : "未能保存为" + APath + " (" + AError + ").\r\n");
    };
    std::string M = "NUO发生如下异常：\r\n" + AResult.Message + "\r\n\r\n";
    M += Line("出错的消息", AResult.bTextWritten, C.FTextPath, AResult.TextError);
    M += Line("出错的文档", AResult.bScoreWritten, C.FScorePath, AResult.ScoreError);
    M += Line("程序窗体图像", AResult.bPictureWritten, C.FPicturePath, AResult.PictureError);
    const bool bAll = AResult.bTextWritten && AResult.bScoreWritten && AResult.bPictureWritten;
    M += bAll ? "\r\n建议您将上述3个文件发送给软件作者并说明情况，以便排查问题."
              : "\r\n建议您将已保存的文件发送给软件作者并说明情况，以便排查问题.";
    if (bFatal) M += "\r\n\r\n程序即将关闭.";
    return M;
}

std::string TNuo4CrashReport::TakePendingSignalReport() {
    char Flags[2] = {'0', '0'};
    const int Fd = FPendingPath.empty() ? -1 : ::open(FPendingPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (Fd < 0) return std::string();
    const ssize_t N = ::read(Fd, Flags, sizeof Flags);
    ::close(Fd);
    ::unlink(FPendingPath.c_str());
    TrecNuo4CrashReportResult R;
    R.bReported = true;
    R.bTextWritten = N == 2 && Flags[0] == '1';
    R.bScoreWritten = N == 2 && Flags[1] == '1';
    if (!R.bTextWritten) R.TextError = "the handler could not write it";
    if (!R.bScoreWritten) R.ScoreError = "the handler could not write it";
    R.PictureError = "no picture can be taken in a fatal-signal handler";
    R.Message = "fatal signal";
    if (R.bTextWritten) {
        char Line[128] = {};
        if (FILE* F = std::fopen(FTextPath.c_str(), "r")) {
            if (std::fgets(Line, sizeof Line, F))
                R.Message = std::string(Line, std::strcspn(Line, "\n"));
            std::fclose(F);
        }
    }
    return ReportMessage(R, false);
}

void TNuo4CrashReport::ReportException(std::string_view AMessage, bool bFatal) {
    const TrecNuo4CrashReportResult R = HandleException(AMessage, bFatal);
    const std::string M = ReportMessage(R, bFatal);
    if (FShowMessage) {
        try {
            FShowMessage(M);
            return;
        } catch (...) {
        }
    }
    WriteText(2, (M + "\n").c_str());
}

}  // namespace nuo4
