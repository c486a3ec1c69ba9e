#pragma once
// Draw lists: every symbol drawn, with its path items on the page, as JSON. Regression tests
// compare them numerically with recorded references; images are for people.
//
// A list is an array of symbols {"kind", "items": [{"t": "fill" | "stroke", "w", "d", "p"}]},
// where "w" is the pen width and "p" the path as flat triples (element type, x, y); lengths are
// whole thousandths of a millimetre in page coordinates.

#ifdef NUO4_CLI_WITH_RENDER

#include <QPainterPath>
#include <functional>
#include <string>
#include <vector>

#include "app/cli/json_dump.h"

namespace nuo4::cli {

// An entry of outlines filled in page coordinates that are no symbol (the document's title
// block), empty paths left out.
json DrawListFillEntry(const char* AKind, const std::vector<QPainterPath>& APathes);
// Runs ADraw and records every symbol it draws.
json RecordDrawList(const std::function<void()>& ADraw);
// Compares two lists: same symbols, kinds, items and element types; coordinates and pen
// widths within ATolerance thousandths of a millimetre. On a difference AWhy says where.
bool CompareDrawLists(const json& AExpected, const json& AActual, int ATolerance,
                      std::string& AWhy);

}  // namespace nuo4::cli

#endif
