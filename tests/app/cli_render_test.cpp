#ifdef NUO4_CLI_WITH_RENDER
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "app/cli/commands.h"

using namespace nuo4;

namespace {

int RunTool(const cli::TArgs& AArgs, std::string& AOut, std::string& AErr) {
    std::ostringstream Out, Err;
    const int Status = cli::RunCli(AArgs, Out, Err);
    AOut = Out.str();
    AErr = Err.str();
    return Status;
}

std::string Demo(const char* AName) {
    return std::string(NUO4_SOURCE_DIR) + "/resources/demo/" + AName;
}

std::filesystem::path Temp(const char* AName) {
    return std::filesystem::temp_directory_path() / AName;
}

// A score file of the given text (UTF-8, CR LF).
std::string WriteScore(const char* AName, const std::string& AText) {
    const auto P = Temp(AName).string();
    std::ofstream(P, std::ios::binary) << AText;
    return P;
}

}  // namespace

TEST(CliRender, PngAtTheDefaultDpiHasInk) {
    const auto Path = Temp("nuo4_render_test.png").string();
    std::filesystem::remove(Path);
    std::string Out, Err;
    ASSERT_EQ(RunTool({"render", Demo("huanle.nuoabc"), "-o", Path}, Out, Err), 0) << Err;
    QImage Img(QString::fromStdString(Path));
    ASSERT_FALSE(Img.isNull());
    EXPECT_EQ(Img.width(), 1240);  // 210 mm at 150 dpi
    int Dark = 0;
    for (int Y = 0; Y < Img.height(); Y += 2)
        for (int X = 0; X < Img.width(); X += 2)
            if (qGray(Img.pixel(X, Y)) < 96) ++Dark;
    EXPECT_GT(Dark, 500);
}

TEST(CliRender, SeveralPagesGiveNumberedPngsAndOnePdf) {
    std::string Voice;
    for (int I = 0; I < 70; ++I) Voice += "1 2 3 4 | 5 6 7 1 | $\r\n";
    const auto Score = WriteScore("nuo4_render_pages.nuoabc", ".Voice\r\n" + Voice);
    const auto Png = Temp("nuo4_render_pages.png").string();
    std::string Out, Err;
    ASSERT_EQ(RunTool({"render", Score, "-o", Png, "--dpi", "30"}, Out, Err), 0) << Err;
    EXPECT_TRUE(std::filesystem::exists(Temp("nuo4_render_pages-1.png")));
    EXPECT_TRUE(std::filesystem::exists(Temp("nuo4_render_pages-2.png")));
    const auto Pdf = Temp("nuo4_render_pages.pdf").string();
    ASSERT_EQ(RunTool({"render", Score, "-o", Pdf}, Out, Err), 0) << Err;
    EXPECT_NE(Out.find("page(s)"), std::string::npos);
    const auto Svg = Temp("nuo4_render_pages.svg").string();
    ASSERT_EQ(RunTool({"render", Score, "-o", Svg, "--page", "2"}, Out, Err), 0) << Err;
    std::ifstream F(Svg);
    std::stringstream S;
    S << F.rdbuf();
    EXPECT_NE(S.str().find("<svg"), std::string::npos);
    // Page 99 does not exist.
    EXPECT_EQ(RunTool({"render", Score, "-o", Png, "--page", "99"}, Out, Err), 2);
}

TEST(CliRender, BadInputGivesStatusTwo) {
    std::string Out, Err;
    EXPECT_EQ(RunTool({"render", "/no/such/file.nuoabc", "-o", "/tmp/x.png"}, Out, Err), 2);
    EXPECT_FALSE(Err.empty());
    EXPECT_EQ(RunTool({"render", Demo("huanle.nuoabc")}, Out, Err), 2);
    EXPECT_EQ(RunTool({"render", Demo("huanle.nuoabc"), "-o", "/tmp/x.bmp"}, Out, Err), 2);
    EXPECT_EQ(
        RunTool({"render", Demo("huanle.nuoabc"), "-o", "/tmp/x.png", "--dpi", "abc"}, Out, Err),
        2);
    EXPECT_EQ(RunTool({"layout"}, Out, Err), 2);
}

TEST(CliRender, AnyTextRendersSomething) {
    // Not a score at all: the page is still written.
    const auto Score = WriteScore("nuo4_render_garbage.nuoabc", "\x01\x02 {{{ $$$ ((( ||| \r\n");
    const auto Png = Temp("nuo4_render_garbage.png").string();
    std::filesystem::remove(Png);
    std::string Out, Err;
    EXPECT_EQ(RunTool({"render", Score, "-o", Png, "--aux"}, Out, Err), 0) << Err;
    EXPECT_TRUE(std::filesystem::exists(Png));
}

TEST(CliLayout, JsonNamesKindsAndRanges) {
    std::string Out, Err;
    ASSERT_EQ(RunTool({"layout", Demo("huanle.nuoabc")}, Out, Err), 0) << Err;
    const auto J = nlohmann::json::parse(Out);
    ASSERT_FALSE(J["Pages"].empty());
    ASSERT_FALSE(J["Lines"].empty());
    EXPECT_EQ(J["BasicSymbols"][0]["Kind"], "sbstBarline");
    EXPECT_EQ(J["Measures"][0]["BarNumber"], "1");
    EXPECT_EQ(J["Measures"][0]["Meter"], "4/4");
    // Lines cover the basic symbols without gaps.
    int32_t Next = 0;
    for (const auto& L : J["Lines"]) {
        EXPECT_EQ(L["BasicIndexRange"][0], Next);
        Next += L["BasicIndexRange"][1].get<int32_t>();
    }
    EXPECT_EQ(Next, int32_t(J["BasicSymbols"].size()));
    EXPECT_TRUE(J["RulesCheck"]["ErrorArray_Barline"].is_array());
}
#endif
