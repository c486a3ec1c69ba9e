#pragma once
// A fixture for glyph geometry: default document options (digit 2.4 x 3 mm), the music font,
// and a millimetre image surface as the current surface, so that text paths can be built.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <memory>

#include "format/doc_options.h"
#include "render/draw_utils.h"
#include "render/music_font.h"
#include "render/note_style.h"

namespace nuo4::test {

class GlyphTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Nuo4Render_Init();
        Nuo4DocOptions().SetToDefault();
        MusicFont_ResetTextFonts();
        RebuildAll();
        FImage = std::make_unique<QImage>(200, 200, QImage::Format_ARGB32_Premultiplied);
        FPainter = std::make_unique<QPainter>(FImage.get());
        FG = std::make_unique<TKoGraphics>(FPainter.get());
        PrepareGraphics(*FG, 1.0);
        SetDestGraphics(FG.get());
    }
    void TearDown() override {
        SetDestGraphics(nullptr);
        Nuo4DocOptions().SetToDefault();
        RebuildAll();
        FG.reset();
        FPainter.reset();
        FImage.reset();
    }

    std::unique_ptr<QImage> FImage;
    std::unique_ptr<QPainter> FPainter;
    std::unique_ptr<TKoGraphics> FG;
};

constexpr double Eps = 1e-4;

inline void ExpectRect(const QRectF& A, double X, double Y, double W, double H, double AEps = Eps) {
    EXPECT_NEAR(A.x(), X, AEps) << "x";
    EXPECT_NEAR(A.y(), Y, AEps) << "y";
    EXPECT_NEAR(A.width(), W, AEps) << "width";
    EXPECT_NEAR(A.height(), H, AEps) << "height";
}

// Whether the ink lies within the box, allowing a margin of AFrac of the box's size (glyph
// outlines fill their descriptor boxes only approximately).
inline bool InkWithin(const QRectF& AInk, const QRectF& ABox, double AFrac = 0.03) {
    const double Mx = AFrac * ABox.width() + 1e-6, My = AFrac * ABox.height() + 1e-6;
    return AInk.left() >= ABox.left() - Mx && AInk.right() <= ABox.right() + Mx &&
           AInk.top() >= ABox.top() - My && AInk.bottom() <= ABox.bottom() + My;
}

// Number of closed figures (sub-paths) of a path.
inline int FigureCount(const QPainterPath& P) {
    int N = 0;
    for (int I = 0; I < P.elementCount(); ++I)
        if (P.elementAt(I).isMoveTo()) ++N;
    return N;
}

}  // namespace nuo4::test
