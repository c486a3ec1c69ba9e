#include <gtest/gtest.h>
#include <algorithm>

#include <filesystem>
#include <sstream>

#include "app/cli/commands.h"
#include "app/cli/json_dump.h"
#include "format/abc_buffer.h"
#include "format/score_file.h"
#include "format/score_file_save.h"

using namespace nuo4;
using nuo4::cli::json;

namespace {

struct TRun {
    int Status;
    std::string Out, Err;
};

TRun RunTool(const cli::TArgs& AArgs) {
    std::ostringstream Out, Err;
    const int Status = cli::RunCli(AArgs, Out, Err);
    return {Status, Out.str(), Err.str()};
}

std::string TempScore(const std::string& AName, std::u16string_view AText) {
    const auto Path = std::filesystem::temp_directory_path() / AName;
    std::string Error;
    EXPECT_TRUE(SaveScoreFileAtomic(Path.string(), AText, Error)) << Error;
    return Path.string();
}

}  // namespace

TEST(CliScan, LinesCommentsSectionsAsJson) {
    // Written with CR LF, as every score file; the scan sees single CRs.
    const std::string Path = TempScore("nuo4_cli_scan_a.nuoabc", u".Voice\r1 2 // c\r.Lyrics\rx\r");
    const TRun R = RunTool({"scan", Path});
    ASSERT_EQ(R.Status, 0) << R.Err;
    const json J = json::parse(R.Out);
    ASSERT_EQ(J["lines"].size(), 4u);
    EXPECT_EQ(J["lines"][0]["type"], "altSectionVoice_Start");
    EXPECT_EQ(J["lines"][1]["range"], json::array({7, 9}));
    EXPECT_EQ(J["lines"][1]["pieces"], json::array({json::array({7, 3})}));
    EXPECT_EQ(J["lines"][2]["type"], "altSectionUnknown_Start");
    EXPECT_EQ(J["lines"][3]["type"], "altSectionUnknown_Continue");
    EXPECT_EQ(J["comments"], json::array({json::array({11, 4})}));
    EXPECT_EQ(J["sections"].size(), 1u);  // the unknown section ends the voice and is not listed
    EXPECT_EQ(J["sections"]["astVoice"]["ABCTextRange_SectionName"], json::array({0, 6}));
    EXPECT_EQ(J["sections"]["astVoice"]["ABCTextRange_Line"], json::array({0, 2}));
    EXPECT_EQ(J["NoKeyWord"], false);
    std::filesystem::remove(Path);
}

TEST(CliScan, CommentOnlyLineHasNoPieces) {
    const std::string Path = TempScore("nuo4_cli_scan_b.nuoabc", u"/* c */\r1");
    const TRun R = RunTool({"scan", Path});
    ASSERT_EQ(R.Status, 0) << R.Err;
    const json J = json::parse(R.Out);
    EXPECT_TRUE(J["lines"][0]["pieces"].empty());
    EXPECT_EQ(J["lines"][1]["type"], "altSectionNone_PrefixNone");
    EXPECT_EQ(J["NoKeyWord"], true);
    std::filesystem::remove(Path);
}

TEST(CliScan, MissingFileOrBadArgumentsExitWithTwo) {
    const TRun Missing = RunTool({"scan", "/nonexistent/dir/x.nuoabc"});
    EXPECT_EQ(Missing.Status, 2);
    EXPECT_TRUE(Missing.Out.empty());
    EXPECT_EQ(std::count(Missing.Err.begin(), Missing.Err.end(), '\n'), 1);
    EXPECT_EQ(RunTool({"scan"}).Status, 2);
    EXPECT_EQ(RunTool({"scan", "a", "b"}).Status, 2);
    EXPECT_EQ(RunTool({"empty", "x"}).Status, 2);
}

TEST(CliEmpty, PrintsTheNewDocumentAndItScansToAllSections) {
    const TRun R = RunTool({"empty"});
    ASSERT_EQ(R.Status, 0);
    EXPECT_EQ(R.Out, ABC_ToUtf8(TNuo4ABCBuffer::CreateEmptyDoc()));
    const std::string Path = TempScore("nuo4_cli_scan_c.nuoabc", TNuo4ABCBuffer::CreateEmptyDoc());
    const json J = json::parse(RunTool({"scan", Path}).Out);
    EXPECT_EQ(J["sections"].size(), 7u);
    EXPECT_EQ(J["sections"]["astPage"]["ABCTextRange_Line"], json::array({29, 3}));
    std::filesystem::remove(Path);
}
