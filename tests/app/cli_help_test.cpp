// nuo4-cli help-pdf: the program's help pages typeset as PDFs, every score example in them as
// the picture the editor lays out; a page whose example lays out nothing is refused.
#ifdef NUO4_CLI_WITH_RENDER
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "app/cli/commands.h"

using namespace nuo4;
namespace fs = std::filesystem;

namespace {

std::string Slurp(const fs::path& APath) {
    std::ifstream In(APath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(In), {});
}

std::string Shell(const std::string& ACommand) {
    std::string Out;
    if (FILE* P = ::popen(ACommand.c_str(), "r")) {
        char Buf[4096];
        for (size_t N; (N = std::fread(Buf, 1, sizeof Buf, P)) > 0;) Out.append(Buf, N);
        ::pclose(P);
    }
    return Out;
}

int RunHelp(const cli::TArgs& AArgs, std::string& AErr) {
    std::ostringstream Out, Err;
    const int Status = cli::RunCli(AArgs, Out, Err);
    AErr = Err.str();
    return Status;
}

struct CliHelpPdf : ::testing::Test {
    void SetUp() override {
        Dir = fs::temp_directory_path() / ("nuo4_cli_help_" + std::to_string(::getpid()));
        fs::create_directories(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }
    fs::path Dir;
};

TEST_F(CliHelpPdf, EveryHelpPageTypesetsWithItsScoreExamplesAsPictures) {
    if (Shell("command -v pdfimages pdfinfo").empty()) GTEST_SKIP() << "no poppler-utils";
    int Pages = 0;
    for (const auto& E : fs::directory_iterator(fs::path(NUO4_SOURCE_DIR) / "resources/help")) {
        if (E.path().extension() != ".html") continue;
        SCOPED_TRACE(E.path().filename().string());
        const std::string Html = Slurp(E.path());
        const fs::path Pdf = Dir / (E.path().stem().string() + ".pdf");
        std::string Err;
        ASSERT_EQ(RunHelp({"help-pdf", E.path().string(), "-o", Pdf.string()}, Err), 0) << Err;
        std::smatch Title;
        ASSERT_TRUE(std::regex_search(Html, Title, std::regex("<title>([^<]*)</title>")));
        std::smatch Info;
        const std::string Meta = Shell("pdfinfo '" + Pdf.string() + "'");
        ASSERT_TRUE(std::regex_search(Meta, Info, std::regex("Title:\\s*([^\\n]*)")));
        EXPECT_EQ(Info[1].str(), Title[1].str());
        // pdfimages -list: two header lines, then one line per picture drawn.
        size_t Examples = 0;
        for (size_t At = 0; (At = Html.find("<pre class=\"score\">", At)) != std::string::npos;
             ++At)
            ++Examples;
        const std::string List = Shell("pdfimages -list '" + Pdf.string() + "'");
        EXPECT_EQ(size_t(std::count(List.begin(), List.end(), '\n')), 2 + Examples) << List;
        ++Pages;
    }
    EXPECT_GE(Pages, 7);
}

TEST_F(CliHelpPdf, APageThatCannotBeTypesetLeavesNoFile) {
    std::ofstream(Dir / "empty-example.html")
        << "<html><body><p>x</p><pre class=\"score\">.Words\nW1@1,1:\nla\n</pre></body></html>";
    const struct {
        cli::TArgs Args;
        const char* Error;
    } Rows[] = {
        {{"help-pdf", (Dir / "missing.html").string(), "-o", (Dir / "a.pdf").string()},
         "cannot read"},
        {{"help-pdf", (Dir / "empty-example.html").string(), "-o", (Dir / "a.pdf").string()},
         "score example 1 lays out nothing"},
        {{"help-pdf", (Dir / "empty-example.html").string()}, "usage"},
    };
    for (const auto& R : Rows) {
        std::string Err;
        EXPECT_EQ(RunHelp(R.Args, Err), 2);
        EXPECT_NE(Err.find(R.Error), std::string::npos) << Err;
        EXPECT_FALSE(fs::exists(Dir / "a.pdf"));
    }
}

}  // namespace
#endif
