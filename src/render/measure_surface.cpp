#include "render/measure_surface.h"

#include "render/music_font.h"

namespace nuo4 {

TNuo4MeasureSurfaceScope::TNuo4MeasureSurfaceScope() {
    if (GetDestGraphics()) return;
    FImage = std::make_unique<QImage>(8, 8, QImage::Format_ARGB32_Premultiplied);
    FPainter = std::make_unique<QPainter>(FImage.get());
    FGraphics = std::make_unique<TKoGraphics>(FPainter.get());
    PrepareGraphics(*FGraphics, 1.0);
    SetDestGraphics(FGraphics.get());
}

TNuo4MeasureSurfaceScope::~TNuo4MeasureSurfaceScope() {
    if (!FGraphics) return;
    if (GetDestGraphics() == FGraphics.get()) SetDestGraphics(nullptr);
    FPainter->end();
}

}  // namespace nuo4
