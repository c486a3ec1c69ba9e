#ifdef NUO4_CLI_WITH_RENDER
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <memory>

#include "app/cli/sheet_symbols.h"
#include "render/music_font.h"

using namespace nuo4;

namespace {

// Every arc section of the symbol sheet takes room and puts ink inside the room it reports.
TEST(CliGlyphsSymbols, EveryArcSectionDrawsInsideItsRoom) {
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
        const auto& Sections = cli::ArcSymbolSpecimenSections();
        EXPECT_EQ(Sections.size(), 5u);
        for (const auto& S : Sections) {
            // 190 x 150 mm at 10 pixels per millimetre.
            QImage Img(1900, 1500, QImage::Format_ARGB32);
            Img.setDotsPerMeterX(10000);
            Img.setDotsPerMeterY(10000);
            Img.fill(Qt::white);
            double Used = 0;
            {
                QPainter P(&Img);
                TKoGraphics G(&P);
                PrepareGraphics(G, 1.0);
                SetDestGraphics(&G);
                Used = S.Draw(G, 5, 0, 180);
                SetDestGraphics(nullptr);
            }
            EXPECT_GT(Used, 5) << S.Title;
            int Inside = 0, Below = 0;
            for (int Y = 0; Y < Img.height(); Y += 2)
                for (int X = 0; X < Img.width(); X += 2)
                    if (qGray(Img.pixel(X, Y)) < 64) ++(Y < Used * 10 ? Inside : Below);
            EXPECT_GT(Inside, 200) << S.Title;
            EXPECT_EQ(Below, 0) << S.Title;
        }
    }
    if (App) Nuo4Render_Done();
}

}  // namespace
#endif
