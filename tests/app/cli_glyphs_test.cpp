#ifdef NUO4_CLI_WITH_RENDER
#include <gtest/gtest.h>

#include <unistd.h>
#include <QImage>
#include <filesystem>
#include <fstream>
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

}  // namespace

TEST(CliGlyphs, PngSheetAtThreeHundredDpiWithInk) {
    const auto Path = (std::filesystem::temp_directory_path() / "nuo4_glyphs_test.png").string();
    std::filesystem::remove(Path);
    std::string Out, Err;
    ASSERT_EQ(RunTool({"glyphs", "-o", Path}, Out, Err), 0) << Err;
    EXPECT_NE(Out.find("67 descriptors, 36 note digits"), std::string::npos) << Out;
    QImage Img(QString::fromStdString(Path));
    ASSERT_FALSE(Img.isNull());
    EXPECT_EQ(Img.width(), 2480);  // 210 mm at 300 dpi
    EXPECT_GT(Img.height(), Img.width());
    int Dark = 0;
    for (int Y = 0; Y < Img.height(); Y += 4)
        for (int X = 0; X < Img.width(); X += 4)
            if (qGray(Img.pixel(X, Y)) < 64) ++Dark;
    EXPECT_GT(Dark, 2000);
}

TEST(CliGlyphs, PdfSheetOnA4Pages) {
    const auto Path = (std::filesystem::temp_directory_path() / "nuo4_glyphs_test.pdf").string();
    std::string Out, Err;
    ASSERT_EQ(RunTool({"glyphs", "-o", Path}, Out, Err), 0) << Err;
    std::ifstream F(Path, std::ios::binary);
    std::string Head(5, '\0');
    F.read(Head.data(), 5);
    EXPECT_EQ(Head, "%PDF-");
    EXPECT_NE(Out.find("pages"), std::string::npos);
}

TEST(CliGlyphs, SymbolSheetDrawsTheSymbolSectionsAndDoesNotStick) {
    // One name per process: several checkouts may run this test at the same time.
    const auto Path = (std::filesystem::temp_directory_path() /
                       ("nuo4_symbols_test_" + std::to_string(getpid()) + ".png"))
                          .string();
    std::filesystem::remove(Path);
    std::string Out, Err;
    ASSERT_EQ(RunTool({"glyphs", "--symbols", "-o", Path}, Out, Err), 0) << Err;
    EXPECT_NE(Out.find("symbol sections"), std::string::npos) << Out;
    QImage Img(QString::fromStdString(Path));
    ASSERT_FALSE(Img.isNull());
    EXPECT_EQ(Img.width(), 2480);
    int Dark = 0;
    for (int Y = 0; Y < Img.height(); Y += 4)
        for (int X = 0; X < Img.width(); X += 4)
            if (qGray(Img.pixel(X, Y)) < 64) ++Dark;
    EXPECT_GT(Dark, 2000);
    // The next run without the option is the font sheet again.
    ASSERT_EQ(RunTool({"glyphs", "-o", Path}, Out, Err), 0) << Err;
    EXPECT_NE(Out.find("descriptors"), std::string::npos) << Out;
    std::filesystem::remove(Path);
}

TEST(CliGlyphs, BadCommandLinesAreRejected) {
    std::string Out, Err;
    EXPECT_EQ(RunTool({"glyphs"}, Out, Err), 2);
    EXPECT_EQ(RunTool({"glyphs", "-o", "sheet.svg"}, Out, Err), 2);
    EXPECT_EQ(RunTool({"glyphs", "-o", "a.png", "extra"}, Out, Err), 2);
    EXPECT_NE(Err.find("unexpected argument"), std::string::npos);
}
#endif
