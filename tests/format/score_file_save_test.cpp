#include "format/score_file_save.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>

#include "format/score_file.h"

using namespace nuo4;
namespace fs = std::filesystem;

namespace {

class ScoreFileSaveTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Dir = fs::temp_directory_path() /
              ("nuo4_save_" + std::to_string(::getpid()) + "_" +
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
    // Every name in the folder (temporaries included).
    std::vector<std::string> Names(const fs::path& AFolder) const {
        std::vector<std::string> R;
        for (const auto& E : fs::directory_iterator(AFolder)) R.push_back(E.path().filename());
        std::sort(R.begin(), R.end());
        return R;
    }
    fs::path Dir;
};

const std::string NewBytes = std::string(
    "\xFF\xFE"
    "n\0e\0w\0",
    8);

}  // namespace

TEST_F(ScoreFileSaveTest, SymbolicLinksAreFollowedAndStayLinks) {
    fs::create_directories(Dir / "real");
    WriteBytes(Path("real/score.nuoabc"), "old");
    // A relative link to a relative link: each is read against its own folder.
    fs::create_symlink("real/score.nuoabc", Dir / "hop.nuoabc");
    fs::create_directories(Dir / "links");
    fs::create_symlink("../hop.nuoabc", Dir / "links" / "score.nuoabc");
    // A link whose target does not exist yet: the target is created.
    fs::create_symlink("real/fresh.nuoabc", Dir / "dangling.nuoabc");
    std::string E;
    ASSERT_TRUE(SaveScoreFileAtomic(Path("links/score.nuoabc"), u"new", E)) << E;
    ASSERT_TRUE(SaveScoreFileAtomic(Path("dangling.nuoabc"), u"new", E)) << E;
    EXPECT_TRUE(fs::is_symlink(Dir / "links" / "score.nuoabc"));
    EXPECT_TRUE(fs::is_symlink(Dir / "hop.nuoabc"));
    EXPECT_TRUE(fs::is_symlink(Dir / "dangling.nuoabc"));
    EXPECT_EQ(ReadBytes(Path("real/score.nuoabc")), NewBytes);
    EXPECT_EQ(ReadBytes(Path("real/fresh.nuoabc")), NewBytes);
    // The temporary was made beside the target, not beside the link, and is gone.
    EXPECT_EQ(Names(Dir / "real"), (std::vector<std::string>{"fresh.nuoabc", "score.nuoabc"}));
    EXPECT_EQ(Names(Dir / "links"), (std::vector<std::string>{"score.nuoabc"}));
    // A loop of links is an error, not a hang.
    fs::create_symlink("loop-b", Dir / "loop-a");
    fs::create_symlink("loop-a", Dir / "loop-b");
    EXPECT_FALSE(SaveScoreFileAtomic(Path("loop-a"), u"x", E));
    EXPECT_NE(E.find("symbolic links"), std::string::npos) << E;
}

TEST_F(ScoreFileSaveTest, NamesUpTo255BytesSaveAndStaleTemporariesAreRemoved) {
    const std::string Cjk = "\xE4\xB8\xAD";  // three bytes
    std::string Cjk255;
    for (int I = 0; I < 81; ++I) Cjk255 += Cjk;
    Cjk255 += "12345.nuoabc";
    ASSERT_EQ(Cjk255.size(), 255u);
    for (const std::string& Name :
         {std::string("s.nuoabc"), std::string(250, 'a'), std::string(255, 'b'), Cjk255}) {
        const std::string Prefix = AtomicSaveTempPrefix(Name);
        EXPECT_LE(Prefix.size() + 6, 255u) << Name;
        EXPECT_TRUE(IsValidUtf8(Prefix)) << Name;
        // An interrupted save of this score left a temporary; another score's stays.
        WriteBytes(Path(Prefix + "Ab12Cd"), "stale");
        WriteBytes(Path(".other.nuoabc.nuo4tmp-Ab12Cd"), "other");
        std::string E;
        ASSERT_TRUE(SaveScoreFileAtomic(Path(Name), u"new", E)) << Name.size() << ": " << E;
        EXPECT_EQ(ReadBytes(Path(Name)), NewBytes);
        EXPECT_EQ(Names(Dir), (std::vector<std::string>{".other.nuoabc.nuo4tmp-Ab12Cd", Name}));
        fs::remove(Path(Name));
    }
    // Two long names that differ only at their ends keep apart temporaries.
    EXPECT_NE(AtomicSaveTempPrefix(std::string(254, 'x') + "1"),
              AtomicSaveTempPrefix(std::string(254, 'x') + "2"));
}

TEST_F(ScoreFileSaveTest, ModeOwnerAndGroupAreKept) {
    WriteBytes(Path("m.nuoabc"), "old");
    ::chmod(Path("m.nuoabc").c_str(), 0604);
    const bool bRoot = ::geteuid() == 0;
    if (bRoot) {
        ASSERT_EQ(::chown(Path("m.nuoabc").c_str(), 4321, 4322), 0);
    }
    std::string E;
    ASSERT_TRUE(SaveScoreFileAtomic(Path("m.nuoabc"), u"new", E)) << E;
    struct stat St {};
    ASSERT_EQ(::stat(Path("m.nuoabc").c_str(), &St), 0);
    EXPECT_EQ(St.st_mode & 07777, 0604u);
    if (bRoot) {
        EXPECT_EQ(St.st_uid, 4321u);
        EXPECT_EQ(St.st_gid, 4322u);
    }
    // A new file gets the mode the umask gives any new file.
    const mode_t Mask = ::umask(022);
    ASSERT_TRUE(WriteFileAtomic(Path("n.png"), "png", E)) << E;
    ::umask(Mask);
    ASSERT_EQ(::stat(Path("n.png").c_str(), &St), 0);
    EXPECT_EQ(St.st_mode & 07777, 0644u);
}

TEST_F(ScoreFileSaveTest, RefusedTargetsAreLeftAsTheyWere) {
    fs::create_directories(Dir / "folder.nuoabc" / "inner");
    ASSERT_EQ(::mkfifo(Path("pipe.nuoabc").c_str(), 0600), 0);
    struct TCase {
        std::string Target, Message;
    } Cases[] = {
        {Path("missing/x.nuoabc"), "No such file or directory"},
        {Path("folder.nuoabc"), "folder"},
        {Path("pipe.nuoabc"), "not a regular file"},
        {Path("folder.nuoabc/"), "folder"},
    };
    for (const TCase& C : Cases) {
        std::string E;
        EXPECT_FALSE(SaveScoreFileAtomic(C.Target, u"x", E)) << C.Target;
        EXPECT_EQ(E.rfind("cannot save '" + C.Target + "': ", 0), 0u) << E;
        EXPECT_NE(E.find(C.Message), std::string::npos) << E;
    }
    EXPECT_TRUE(fs::is_directory(Dir / "folder.nuoabc" / "inner"));
    EXPECT_TRUE(fs::is_fifo(Dir / "pipe.nuoabc"));
    EXPECT_EQ(Names(Dir), (std::vector<std::string>{"folder.nuoabc", "pipe.nuoabc"}));
}

// The file-size limit stands in for a full disk: the write fails part-way. The save must say
// why, keep the old file and leave no temporary, and the signal the limit raises must not kill.
TEST_F(ScoreFileSaveTest, AWriteThatFailsPartWayKeepsTheOldFile) {
    const std::string Old = std::string("\xFF\xFE", 2) + std::string(40, 'o');
    WriteBytes(Path("f.nuoabc"), Old);
    int Pipe[2];
    ASSERT_EQ(::pipe(Pipe), 0);
    const pid_t Child = ::fork();
    ASSERT_GE(Child, 0);
    if (Child == 0) {
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit Limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &Limit);
        std::string E;
        const bool bOk = SaveScoreFileAtomic(Path("f.nuoabc"), std::u16string(10000, u'1'), E);
        (void)!::write(Pipe[1], E.data(), E.size());
        ::_exit(bOk ? 0 : 3);
    }
    ::close(Pipe[1]);
    std::string Message;
    char Buf[512];
    for (ssize_t N; (N = ::read(Pipe[0], Buf, sizeof Buf)) > 0;) Message.append(Buf, size_t(N));
    ::close(Pipe[0]);
    int Status = 0;
    ASSERT_EQ(::waitpid(Child, &Status, 0), Child);
    ASSERT_TRUE(WIFEXITED(Status)) << "killed by signal " << WTERMSIG(Status);
    EXPECT_EQ(WEXITSTATUS(Status), 3);
    EXPECT_NE(Message.find("cannot save '" + Path("f.nuoabc") + "': File too large"),
              std::string::npos)
        << Message;
    EXPECT_EQ(ReadBytes(Path("f.nuoabc")), Old);
    EXPECT_EQ(Names(Dir), (std::vector<std::string>{"f.nuoabc"}));
}
