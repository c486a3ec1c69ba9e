#include "format/score_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fcntl.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <future>

#include "format/score_file_save.h"
#include "test_util.h"

using namespace nuo4;
namespace fs = std::filesystem;

namespace {

class ScoreFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Dir = fs::temp_directory_path() /
              ("nuo4_score_file_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }
    std::string Path(const char* AName) const { return (Dir / AName).string(); }
    void WriteBytes(const std::string& APath, std::string_view ABytes) const {
        std::ofstream(APath, std::ios::binary).write(ABytes.data(), ABytes.size());
    }
    std::string ReadBytes(const std::string& APath) const {
        std::ifstream In(APath, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(In), {});
    }
    fs::path Dir;
};

}  // namespace

TEST(ScoreEncoding, ByteOrderMarksChooseTheDecoding) {
    std::u16string T;
    std::string E;
    TNuo4ScoreFileEncoding Enc;
    ASSERT_TRUE(DecodeScoreBytes(std::string("\xFF\xFE"
                                             "1\0\r\0\n\0-\x4E",
                                             10),
                                 T, E, &Enc));
    EXPECT_EQ(T, u"1\r\n\u4e2d");
    EXPECT_EQ(Enc, sfeUtf16LE);
    ASSERT_TRUE(DecodeScoreBytes(std::string("\xFE\xFF\0"
                                             "1\x4E-",
                                             6),
                                 T, E, &Enc));
    EXPECT_EQ(T, u"1\u4e2d");
    EXPECT_EQ(Enc, sfeUtf16BE);
    ASSERT_TRUE(
        DecodeScoreBytes("\xEF\xBB\xBF"
                         "5 \xE4\xB8\xAD",
                         T, E, &Enc));
    EXPECT_EQ(T, u"5 \u4e2d");
    EXPECT_EQ(Enc, sfeUtf8Bom);
}

TEST(ScoreEncoding, WithoutMarkValidUtf8WinsElseGB18030) {
    std::u16string T;
    std::string E;
    TNuo4ScoreFileEncoding Enc;
    ASSERT_TRUE(DecodeScoreBytes("\xE4\xB8\xAD", T, E, &Enc));
    EXPECT_EQ(Enc, sfeUtf8);
    EXPECT_EQ(T, u"\u4e2d");
    // "中文" in GB18030 is not valid UTF-8.
    ASSERT_TRUE(DecodeScoreBytes("\xD6\xD0\xCE\xC4", T, E, &Enc));
    EXPECT_EQ(Enc, sfeGB18030);
    EXPECT_EQ(T, u"\u4e2d\u6587");
    ASSERT_TRUE(DecodeScoreBytes("", T, E, &Enc));
    EXPECT_TRUE(T.empty());
}

TEST(ScoreEncoding, DamagedBytesGiveAClearError) {
    std::u16string T;
    std::string E;
    EXPECT_FALSE(DecodeScoreBytes(std::string("\xFF\xFE"
                                              "1\0"
                                              "2",
                                              5),
                                  T, E));
    EXPECT_NE(E.find("odd number of bytes"), std::string::npos);
    EXPECT_FALSE(DecodeScoreBytes("\xEF\xBB\xBF\xC3", T, E));
    EXPECT_FALSE(DecodeScoreBytes("ab\x81", T, E));  // a lone GB18030 lead byte
    EXPECT_FALSE(E.empty());
    EXPECT_TRUE(T.empty());
}

TEST(ScoreEncoding, Utf8ValidationRejectsOverlongsAndSurrogates) {
    EXPECT_TRUE(IsValidUtf8("a\xC3\xA9\xF0\x9F\x8E\xB5"));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));
    EXPECT_FALSE(IsValidUtf8("\xE0\x80\xAF"));
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));
}

TEST(ScoreEncoding, WritingUsesUtf16LEBomAndCRLF) {
    EXPECT_EQ(EncodeScoreBytes(u"a\rb\nc\r\nd"), std::string("\xFF\xFE"
                                                             "a\0\r\0\n\0b\0\r\0\n\0c\0\r\0\n\0d\0",
                                                             22));
}

TEST_F(ScoreFileTest, SaveThenReadRoundTrips) {
    const std::u16string Text = u".Voice\r1 2 3 | \u4e2d\r";
    std::string E;
    ASSERT_TRUE(SaveScoreFileAtomic(Path("a.nuoabc"), Text, E)) << E;
    std::u16string Back;
    TNuo4ScoreFileEncoding Enc;
    ASSERT_TRUE(ReadScoreFile(Path("a.nuoabc"), Back, E, &Enc)) << E;
    EXPECT_EQ(Enc, sfeUtf16LE);
    EXPECT_EQ(Back, u".Voice\r\n1 2 3 | \u4e2d\r\n");
}

TEST_F(ScoreFileTest, SaveReplacesAtomicallyAndLeavesNoTemporaryFile) {
    std::string E;
    WriteBytes(Path("b.nuoabc"), "old");
    ::chmod(Path("b.nuoabc").c_str(), 0640);
    ASSERT_TRUE(SaveScoreFileAtomic(Path("b.nuoabc"), u"new", E)) << E;
    EXPECT_EQ(ReadBytes(Path("b.nuoabc")), std::string("\xFF\xFE"
                                                       "n\0e\0w\0",
                                                       8));
    EXPECT_EQ(fs::status(Path("b.nuoabc")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 1);
}

TEST_F(ScoreFileTest, FailedSaveKeepsTheOldFile) {
    std::string E;
    // Saving into a folder that does not exist fails before anything is touched.
    EXPECT_FALSE(SaveScoreFileAtomic(Path("missing/c.nuoabc"), u"x", E));
    EXPECT_NE(E.find("cannot save"), std::string::npos);
    // Saving over a folder fails at the rename and leaves no temporary file behind.
    fs::create_directories(Dir / "d.nuoabc" / "inner");
    EXPECT_FALSE(SaveScoreFileAtomic(Path("d.nuoabc"), u"x", E));
    EXPECT_TRUE(fs::is_directory(Dir / "d.nuoabc"));
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 1);
}

TEST_F(ScoreFileTest, MissingFilesAndFoldersAreErrorsNotCrashes) {
    std::u16string T;
    std::string E;
    EXPECT_FALSE(ReadScoreFile(Path("nope.nuoabc"), T, E));
    EXPECT_NE(E.find("cannot open"), std::string::npos);
    EXPECT_FALSE(ReadScoreFile(Dir.string(), T, E));
    EXPECT_NE(E.find("folder"), std::string::npos);
}

TEST(ScoreEncoding, Utf16WithoutMarkIsRecognisedByItsNulBytes) {
    auto Le = [](std::u16string_view S) {
        std::string B;
        for (char16_t C : S) B += {char(C & 0xFF), char(C >> 8)};
        return B;
    };
    auto Be = [](std::u16string_view S) {
        std::string B;
        for (char16_t C : S) B += {char(C >> 8), char(C & 0xFF)};
        return B;
    };
    const std::u16string Score = u".Voice\r\n1 2 3 | \u4e00\u4e2d\r\n";
    const std::u16string Ascii = u".Voice\r\n1 2\r\n", Lyric = u"\u82b1\u597d \u6708\u5706 1";
    struct TCase {
        const char* Name;
        std::string Bytes;
        TNuo4ScoreFileEncoding Expected;
        std::u16string Text;  // empty: not compared
    } Cases[] = {
        {"LE with CJK", Le(Score), sfeUtf16LENoMark, Score},
        {"BE with CJK", Be(Score), sfeUtf16BENoMark, Score},
        // ASCII-only UTF-16 is valid UTF-8 with NULs: still UTF-16.
        {"LE ASCII only", Le(Ascii), sfeUtf16LENoMark, Ascii},
        {"mostly CJK", Le(Lyric), sfeUtf16LENoMark, Lyric},
        {"plain UTF-8", "1 2 \xE4\xB8\xAD", sfeUtf8, u"1 2 \u4e2d"},
        {"GB18030", "1 \xD6\xD0\xCE\xC4", sfeGB18030, u"1 \u4e2d\u6587"},
        // A stray NUL does not turn UTF-8 into UTF-16.
        {"UTF-8 with one NUL", std::string("1 2 3 4 5 6\0 7", 14), sfeUtf8, {}},
    };
    for (const TCase& C : Cases) {
        std::u16string T;
        std::string E;
        TNuo4ScoreFileEncoding Enc = sfeUtf16LE;
        ASSERT_TRUE(DecodeScoreBytes(C.Bytes, T, E, &Enc)) << C.Name << ": " << E;
        EXPECT_EQ(Enc, C.Expected) << C.Name;
        if (!C.Text.empty()) {
            EXPECT_EQ(T, C.Text) << C.Name;
        }
    }
    // An unpaired surrogate is no UTF-16: the bytes are left to the other decodings.
    std::u16string T;
    std::string E;
    TNuo4ScoreFileEncoding Enc = sfeUtf8;
    DecodeScoreBytes(Le(u"1 2 ") + std::string("\x00\xD8", 2) + Le(u"3 4"), T, E, &Enc);
    EXPECT_NE(Enc, sfeUtf16LENoMark);
    EXPECT_STREQ(ScoreFileEncodingName(sfeUtf16BENoMark), "UTF-16BE");
}

TEST_F(ScoreFileTest, NonRegularOrOversizedInputsAreRefusedAtOnce) {
    const std::string Fifo = Path("pipe.nuoabc");
    ASSERT_EQ(::mkfifo(Fifo.c_str(), 0600), 0);
    const std::string Big = Path("big.nuoabc");
    WriteBytes(Big, "");
    fs::resize_file(Big, 33u << 20);  // sparse: nothing to write
    fs::create_symlink(Fifo, Path("link-to-pipe.nuoabc"));
    WriteBytes(Path("real.nuoabc"), "1 2 3");
    fs::create_symlink("real.nuoabc", Path("link.nuoabc"));
    struct TCase {
        std::string File;
        const char* Message;  // nullptr: reads
    } Cases[] = {
        {Fifo, "FIFO"},
        {Path("link-to-pipe.nuoabc"), "FIFO"},
        {"/dev/zero", "character device"},
        {Big, "more than the 32 MB"},
        {Path("link.nuoabc"), nullptr},
    };
    for (const TCase& C : Cases) {
        std::u16string T;
        std::string E;
        // A FIFO nobody writes would block a plain open for ever: run it aside and release it
        // by opening the other end if it does not come back.
        auto Result = std::async(std::launch::async, [&] { return ReadScoreFile(C.File, T, E); });
        if (Result.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
            ::close(::open(Fifo.c_str(), O_WRONLY | O_NONBLOCK));
            ADD_FAILURE() << C.File << " blocked";
        }
        const bool bRead = Result.get();
        if (!C.Message) {
            EXPECT_TRUE(bRead) << E;
            EXPECT_EQ(T, u"1 2 3");
        } else {
            EXPECT_FALSE(bRead) << C.File;
            EXPECT_NE(E.find(C.Message), std::string::npos) << E;
            EXPECT_NE(E.find(C.File), std::string::npos) << E;
        }
    }
}
