#ifdef NUO4_CLI_WITH_RENDER
// nuo4-cli edit: answers as JSON, chained requests on the rebuilt score, the saved text, and
// the exit codes of refusals and bad input.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "app/cli/commands.h"
#include "format/score_file.h"

using namespace nuo4;

namespace {

int RunTool(const cli::TArgs& AArgs, std::string& AOut, std::string& AErr) {
    std::ostringstream Out, Err;
    const int Status = cli::RunCli(AArgs, Out, Err);
    AOut = Out.str();
    AErr = Err.str();
    return Status;
}

std::string WriteScore(const char* AName, const std::string& AText) {
    const auto P = (std::filesystem::temp_directory_path() / AName).string();
    std::ofstream(P, std::ios::binary) << AText;
    return P;
}

TEST(CliEdit, ChainedRequestsAreAskedOfTheRebuiltScore) {
    const std::string In = WriteScore("nuo4_edit_in.nuoabc", ".Voice\r\n1 2 3 | 4 $\r\n5 6 |\r\n");
    const std::string Out =
        (std::filesystem::temp_directory_path() / "nuo4_edit_out.nuoabc").string();
    std::filesystem::remove(Out);
    std::string J, Err;
    ASSERT_EQ(RunTool({"edit", In, "move", "Right", "--caret", "0", "--then", "change-aw", "0",
                       "SetToValue", "2", "--then", "paragraph-indent", "10", "0,1", "-o", Out},
                      J, Err),
              0)
        << Err;
    const auto Doc = nlohmann::json::parse(J);
    ASSERT_EQ(Doc["Answers"].size(), 3u);
    EXPECT_EQ(Doc["Answers"][0]["NewSelection"]["CaretPos_End"]["bRight"], true);
    EXPECT_EQ(Doc["Answers"][1]["Items"][0]["TextRange"], nlohmann::json::array({8, 0}));
    EXPECT_EQ(Doc["Answers"][1]["Items"][0]["NewText"], "{C:2.000}");
    std::u16string Saved;
    ASSERT_TRUE(ReadScoreFile(Out, Saved, Err)) << Err;
    EXPECT_EQ(Saved, u".Voice\r\n1{C:2.000} 2 3 | 4 $(False,10.00)\r\n5 6 | $(False,10.00)\r\n");
}

TEST(CliEdit, RefusalsBadInputAndHelp) {
    const std::string In = WriteScore("nuo4_edit_in2.nuoabc", ".Voice\r\n1 2\r\n");
    const std::string Out =
        (std::filesystem::temp_directory_path() / "nuo4_edit_out2.nuoabc").string();
    std::filesystem::remove(Out);
    std::string J, Err;
    EXPECT_EQ(RunTool({"edit", In, "unlock-aw", "0", "-o", Out}, J, Err), 1) << "nothing to unlock";
    EXPECT_EQ(nlohmann::json::parse(J)["Answers"][0]["Accepted"], false);
    EXPECT_FALSE(std::filesystem::exists(Out)) << "a refused edit writes nothing";
    EXPECT_EQ(RunTool({"edit", "/nonexistent/x.nuoabc", "move", "Left"}, J, Err), 2);
    EXPECT_EQ(RunTool({"edit", In, "move", "Sideways"}, J, Err), 2);
    EXPECT_EQ(RunTool({"edit", In, "no-such-request"}, J, Err), 2);
    EXPECT_EQ(RunTool({"edit", In, "change-aw", "0"}, J, Err), 2) << "too few arguments";
    ASSERT_EQ(RunTool({"edit", "--help"}, J, Err), 0);
    for (const char* Name : {"move DIRECTION", "lock-aw-grid", "paragraph-justify", "brace"})
        EXPECT_NE(J.find(Name), std::string::npos) << Name;
}

TEST(CliEdit, TemporaryVoiceRequestsWriteInsideTheVoiceBraces) {
    const std::string In = WriteScore("nuo4_edit_branch.nuoabc",
                                      ".Voice\r\n1 2 3 4 |\r\n.Attachments\r\n"
                                      "Branch@1,2(0,-3) = False, 4, 4, 0, {5 6-- 7}, {}\r\n");
    const std::string Out =
        (std::filesystem::temp_directory_path() / "nuo4_edit_branch_out.nuoabc").string();
    std::filesystem::remove(Out);
    std::string J, Err;
    // Chained: each asks the rebuilt score, whose voice now holds the earlier change.
    ASSERT_EQ(RunTool({"edit", In, "branch-set-aw", "0", "1.5", "--highlight", "attach:0", "--then",
                       "branch-transpose", "1", "false", "0,1", "--then", "branch-aw", "0", "Zoom",
                       "2", "-o", Out},
                      J, Err),
              0)
        << Err;
    EXPECT_EQ(nlohmann::json::parse(J)["Answers"][2]["NewHighlight"]["AttachIndex"], 0);
    std::u16string Saved;
    ASSERT_TRUE(ReadScoreFile(Out, Saved, Err)) << Err;
    EXPECT_NE(Saved.find(u"{6{C:3.000} 7-- 7}, {}"), std::u16string::npos);
    // Without a temporary voice highlighted the requests are refused.
    EXPECT_EQ(RunTool({"edit", In, "branch-transpose", "1", "--highlight", "basic:0"}, J, Err), 1);
}

}  // namespace
#endif
