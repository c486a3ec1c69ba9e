#ifdef NUO4_CLI_WITH_RENDER
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>

#include "app/cli/commands.h"
#include "app/cli/specimen_symbols.h"
#include "render/music_font.h"

using namespace nuo4;

namespace {

// The symbol sheet is a different picture from the font sheet, drawn with ink on every
// section of the basic symbols.
TEST(CliGlyphsSymbols, SymbolSheetListsItsSectionsAndHasInk) {
    const auto Path = (std::filesystem::temp_directory_path() / "nuo4_symbols_test.png").string();
    std::filesystem::remove(Path);
    std::ostringstream Out, Err;
    ASSERT_EQ(cli::RunCli({"glyphs", "--symbols", "-o", Path}, Out, Err), 0) << Err.str();
    EXPECT_NE(Out.str().find("symbol sections"), std::string::npos) << Out.str();
    EXPECT_EQ(Out.str().find("descriptors"), std::string::npos) << Out.str();
    QImage Img(QString::fromStdString(Path));
    ASSERT_FALSE(Img.isNull());
    EXPECT_EQ(Img.width(), 2480);
    int Dark = 0;
    for (int Y = 0; Y < Img.height(); Y += 4)
        for (int X = 0; X < Img.width(); X += 4)
            if (qGray(Img.pixel(X, Y)) < 64) ++Dark;
    EXPECT_GT(Dark, 2000);
}

TEST(CliGlyphsSymbols, EveryBasicSectionTakesRoom) {
    // Fonts need a GUI application; the music font goes before it.
    std::unique_ptr<QGuiApplication> App;
    if (!QCoreApplication::instance()) {
        if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int Argc = 1;
        static char Name[] = "nuo4_app_tests";
        static char* Argv[] = {Name, nullptr};
        App = std::make_unique<QGuiApplication>(Argc, Argv);
    }
    Nuo4Render_Init();
    {
        QImage Img(100, 100, QImage::Format_ARGB32);
        Img.setDotsPerMeterX(11811);
        Img.setDotsPerMeterY(11811);
        QPainter P(&Img);
        TKoGraphics G(&P);
        PrepareGraphics(G, 1.0);
        SetDestGraphics(&G);
        const auto& Sections = cli::BasicSymbolSpecimenSections();
        EXPECT_EQ(Sections.size(), 7u);
        for (const auto& S : Sections) EXPECT_GT(S.Draw(G, 0, 0, 180), 5) << S.Title;
        SetDestGraphics(nullptr);
    }
    if (App) Nuo4Render_Done();
}

}  // namespace
#endif
