#ifdef NUO4_CLI_WITH_RENDER
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <new>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "app/cli/commands.h"

using namespace nuo4;
namespace fs = std::filesystem;

namespace {

struct TRun {
    int Status;
    std::string Out, Err;
};

class CliFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Dir = fs::temp_directory_path() /
              ("nuo4_cli_files_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Dir);
        fs::create_directories(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }
    std::string Path(const std::string& AName) const { return (Dir / AName).string(); }
    static void WriteBytes(const std::string& APath, std::string_view ABytes) {
        std::ofstream(APath, std::ios::binary).write(ABytes.data(), std::streamsize(ABytes.size()));
    }
    static std::string ReadBytes(const std::string& APath) {
        std::ifstream In(APath, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(In), {});
    }
    size_t Entries() const {
        return size_t(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()));
    }
    // In this process (Qt wants its application on the main thread). Should a read wait on the
    // FIFO, a watchdog opens its other end after a while, so the run ends and is reported.
    TRun Run(const cli::TArgs& AArgs, const std::string& AFifo = {}) {
        std::mutex Lock;
        std::condition_variable Done;
        bool bDone = false, bReleased = false;
        std::thread Watchdog([&] {
            std::unique_lock<std::mutex> L(Lock);
            if (!Done.wait_for(L, std::chrono::seconds(20), [&] { return bDone; }) &&
                !AFifo.empty()) {
                bReleased = true;
                ::close(::open(AFifo.c_str(), O_WRONLY | O_NONBLOCK));
            }
        });
        std::ostringstream Out, Err;
        const int Status = cli::RunCli(AArgs, Out, Err);
        {
            const std::lock_guard<std::mutex> L(Lock);
            bDone = true;
        }
        Done.notify_all();
        Watchdog.join();
        EXPECT_FALSE(bReleased) << AArgs[0] << " " << AArgs[1] << " blocked";
        return TRun{Status, Out.str(), Err.str()};
    }
    // The tool as its own process under a file-size limit, with the signal it raises at its
    // default (killing) disposition.
    TRun RunLimited(const cli::TArgs& AArgs, rlim_t AFileSizeLimit) {
        const std::string ErrPath =
            (fs::temp_directory_path() / ("nuo4_cli_files_err_" + std::to_string(::getpid())))
                .string();
        std::vector<std::string> Args{NUO4_CLI_PATH};
        Args.insert(Args.end(), AArgs.begin(), AArgs.end());
        std::vector<char*> Argv;
        for (auto& A : Args) Argv.push_back(A.data());
        Argv.push_back(nullptr);
        const pid_t Child = ::fork();
        if (Child == 0) {
            const int Err = ::open(ErrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            ::dup2(Err, 2);
            const int Null = ::open("/dev/null", O_WRONLY);
            ::dup2(Null, 1);
            std::signal(SIGXFSZ, SIG_DFL);
            const rlimit Limit{AFileSizeLimit, AFileSizeLimit};
            ::setrlimit(RLIMIT_FSIZE, &Limit);
            ::execv(Argv[0], Argv.data());
            ::_exit(127);
        }
        int Status = 0;
        ::waitpid(Child, &Status, 0);
        TRun R{WIFEXITED(Status) ? WEXITSTATUS(Status) : 1000 + WTERMSIG(Status),
               {},
               ReadBytes(ErrPath)};
        fs::remove(ErrPath);
        return R;
    }
    fs::path Dir;
};

const char* const Score = ".Voice\r\n1 2 3 4 | 5 6 7 1 |\r\n";

}  // namespace

// A full disk, stood in for by the file-size limit: status 2 with the reason, the old output
// kept and no truncated or temporary file left.
TEST_F(CliFilesTest, RenderThatCannotBeWrittenExitsTwoAndSaysWhy) {
    WriteBytes(Path("s.nuoabc"), Score);
    for (const char* Ext : {".png", ".pdf", ".svg"}) {
        const std::string Out = Path(std::string("out") + Ext);
        WriteBytes(Out, "old");
        const TRun R = RunLimited({"render", Path("s.nuoabc"), "-o", Out}, 512);
        EXPECT_EQ(R.Status, 2) << Ext << (R.Status > 1000 ? ": killed by a signal" : "");
        EXPECT_NE(R.Err.find("nuo4-cli render: cannot write '" + Out + "': File too large"),
                  std::string::npos)
            << R.Err;
        EXPECT_EQ(ReadBytes(Out), "old") << Ext;
        EXPECT_EQ(Entries(), 2u) << Ext;
        fs::remove(Out);
    }
    // Without the limit the same run writes the file.
    const TRun R = RunLimited({"render", Path("s.nuoabc"), "-o", Path("ok.svg")}, RLIM_INFINITY);
    EXPECT_EQ(R.Status, 0) << R.Err;
    EXPECT_NE(ReadBytes(Path("ok.svg")).find("</svg>"), std::string::npos);
    // Places that cannot take a file.
    fs::create_directories(Dir / "folder.png");
    struct TCase {
        cli::TArgs Args;
        std::string Message;
    } Cases[] = {
        {{"render", Path("s.nuoabc"), "-o", Path("missing/out.png")},
         "cannot write '" + Path("missing/out.png") + "': No such file or directory"},
        {{"render", Path("s.nuoabc"), "-o", Path("folder.png")}, "folder"},
        {{"render", Path("s.nuoabc"), "-o", Path("x.pdf"), "--draw-list", Path("missing/l.json")},
         "cannot write '" + Path("missing/l.json") + "'"},
        {{"glyphs", "-o", Path("missing/sheet.png")}, "No such file or directory"},
    };
    for (const TCase& C : Cases) {
        const TRun R = Run(C.Args);
        EXPECT_EQ(R.Status, 2) << C.Message;
        EXPECT_NE(R.Err.find(C.Message), std::string::npos) << R.Err;
    }
}

TEST_F(CliFilesTest, InputsThatAreNoScoreFilesAreRefusedAndUnmarkedUtf16IsRead) {
    const std::string Fifo = Path("pipe.nuoabc"), Big = Path("big.nuoabc");
    ASSERT_EQ(::mkfifo(Fifo.c_str(), 0600), 0);
    WriteBytes(Big, "");
    fs::resize_file(Big, 33u << 20);
    std::string Le, Be;
    for (const char* C = Score; *C; ++C) {
        Le += {*C, '\0'};
        Be += {'\0', *C};
    }
    WriteBytes(Path("le.nuoabc"), Le);
    WriteBytes(Path("be.nuoabc"), Be);
    struct TCase {
        std::string Input;
        int Status;
        std::string Message;
    } Cases[] = {
        {Fifo, 2, "it is a FIFO, not a regular file"},
        {"/dev/zero", 2, "it is a character device"},
        {Big, 2, "more than the 32 MB a score file may have"},
        {Path("le.nuoabc"), 0, "has no byte-order mark; read as UTF-16LE"},
        {Path("be.nuoabc"), 0, "has no byte-order mark; read as UTF-16BE"},
    };
    for (const char* Command : {"scan", "parse", "layout", "render"}) {
        for (const TCase& C : Cases) {
            cli::TArgs Args{Command, C.Input};
            if (std::string(Command) == "render") Args.insert(Args.end(), {"-o", Path("o.svg")});
            const auto Start = std::chrono::steady_clock::now();
            const TRun R = Run(Args, Fifo);
            EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(10));
            EXPECT_EQ(R.Status, C.Status) << Command << " " << C.Input << ": " << R.Err;
            EXPECT_EQ(R.Err.rfind(std::string("nuo4-cli ") + Command + ": ", 0), 0u) << R.Err;
            EXPECT_NE(R.Err.find(C.Message), std::string::npos) << R.Err;
            // Read as UTF-16 the score has its voice.
            if (C.Status == 0 && std::string(Command) == "scan") {
                EXPECT_NE(R.Out.find("\"astVoice\""), std::string::npos) << R.Out;
            }
        }
    }
}

TEST(CliGuard, WhateverEscapesACommandBecomesOneLineAndStatusTwo) {
    struct TCase {
        int (*Run)(const cli::TArgs&, std::ostream&, std::ostream&);
        const char* Message;
    } Cases[] = {
        {[](const cli::TArgs&, std::ostream&, std::ostream&) -> int { throw std::bad_alloc(); },
         "nuo4-cli boom: out of memory\n"},
        {[](const cli::TArgs&, std::ostream&, std::ostream&) -> int {
             throw std::runtime_error("no more pages");
         },
         "nuo4-cli boom: internal error: no more pages\n"},
        {[](const cli::TArgs&, std::ostream&, std::ostream&) -> int { throw 7; },
         "nuo4-cli boom: internal error\n"},
        {[](const cli::TArgs&, std::ostream& AOut, std::ostream&) -> int {
             AOut << "fine";
             return 0;
         },
         ""},
    };
    for (const TCase& C : Cases) {
        std::ostringstream Out, Err;
        const cli::TCommand Command{"boom", "boom", "throws", C.Run};
        const int Status = cli::RunCommandGuarded(Command, {}, Out, Err);
        EXPECT_EQ(Err.str(), C.Message);
        EXPECT_EQ(Status, *C.Message ? 2 : 0) << C.Message;
    }
}

#endif
