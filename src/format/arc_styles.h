#pragma once
// Shapes and end marks of arcs, shared by the special arcs of the attachments section.

#include <cstdint>

namespace nuo4 {

enum TNuo4SymbolArcShape : uint8_t { assEllipseFill, assEllipseStroke, assFlatFill, assFlatStroke };
const char* EnumName(TNuo4SymbolArcShape AValue);

enum TNuo4ArcArrowStyle : uint8_t { aasNone, aasArrow, aasDot, aasArrowAndDot, aasHorzLine };
const char* EnumName(TNuo4ArcArrowStyle AValue);

}  // namespace nuo4
