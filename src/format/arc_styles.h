#pragma once
// Shapes and end marks of arcs (slurs, ties, tuplet brackets and special arcs).

#include <cstdint>

namespace nuo4 {

enum TNuo4SymbolArcShape : uint8_t {
    assEllipseFill,    // rounded top, pointed ends
    assEllipseStroke,  // rounded top, thick ends
    assFlatFill,       // flat top, pointed ends
    assFlatStroke,     // flat top, thick ends
};
const char* EnumName(TNuo4SymbolArcShape AValue);

enum TNuo4ArcArrowStyle : uint8_t { aasNone, aasArrow, aasDot, aasArrowAndDot, aasHorzLine };
const char* EnumName(TNuo4ArcArrowStyle AValue);

}  // namespace nuo4
