// The editor tests drive real widgets on the offscreen platform (or on a display when one is set
// with QT_QPA_PLATFORM).
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "render/music_font.h"

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication App(argc, argv);
    nuo4::Nuo4Render_Init();
    ::testing::InitGoogleTest(&argc, argv);
    const int R = RUN_ALL_TESTS();
    nuo4::Nuo4Render_Done();
    return R;
}
