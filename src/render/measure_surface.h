#pragma once
// Text is measured and turned into paths on the current surface. Steps that build symbols
// outside any drawing (the build of the document buffer, tests) lend a small millimetre surface
// for their duration when none is current; a current surface is left alone.

#include <QImage>
#include <QPainter>
#include <memory>

#include "render/draw_utils.h"

namespace nuo4 {

class TNuo4MeasureSurfaceScope {
  public:
    TNuo4MeasureSurfaceScope();
    ~TNuo4MeasureSurfaceScope();
    TNuo4MeasureSurfaceScope(const TNuo4MeasureSurfaceScope&) = delete;
    TNuo4MeasureSurfaceScope& operator=(const TNuo4MeasureSurfaceScope&) = delete;

  private:
    std::unique_ptr<QImage> FImage;
    std::unique_ptr<QPainter> FPainter;
    std::unique_ptr<TKoGraphics> FGraphics;
};

}  // namespace nuo4
