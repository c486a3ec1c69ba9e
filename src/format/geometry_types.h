#pragma once
// Points and sizes of two Singles: offsets and positions in millimetres or in units of a
// digit size, as the records that hold them say.

namespace nuo4 {

struct TNuo4PointF {
    float X = 0;
    float Y = 0;
    bool operator==(const TNuo4PointF&) const = default;
};

struct TNuo4SizeF {
    float Width = 0;
    float Height = 0;
    bool operator==(const TNuo4SizeF&) const = default;
};

}  // namespace nuo4
