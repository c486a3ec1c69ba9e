#include "format/score_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

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
    ASSERT_TRUE(WriteScoreFile(Path("a.nuoabc"), Text, E)) << E;
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
    ASSERT_TRUE(WriteScoreFile(Path("b.nuoabc"), u"new", E)) << E;
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
    EXPECT_FALSE(WriteScoreFile(Path("missing/c.nuoabc"), u"x", E));
    EXPECT_NE(E.find("cannot save"), std::string::npos);
    // Saving over a folder fails at the rename and leaves no temporary file behind.
    fs::create_directories(Dir / "d.nuoabc" / "inner");
    EXPECT_FALSE(WriteScoreFile(Path("d.nuoabc"), u"x", E));
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
