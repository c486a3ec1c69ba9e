#pragma once
// Page breaking by height or by the page break of a paragraph, and the move of each page's
// lines onto a page of its own with optional vertical justification.

#include <vector>

#include "layout/layout_records.h"

namespace nuo4 {

struct TrecNuo4PageLayoutParams {
    double MarginTop = 20;
    double LayoutHeight = 257;  // paper height minus both margins
    double FirstLineTop_Min = 20;
    double MaxFactorForFitHeight = 2;
    bool bWithTitleBlock = false;
};

// Pages of whole lines (line bounds on the endless page). A page closes when a line's layout
// bottom lies more than the page height tolerance below the page top plus the layout height
// (the line starts the next page unless it stands alone), after the last line of a paragraph
// with a page break, and at the last line. The page top is the top margin for the first page,
// else the layout top of the page's first line.
TNuo4PageInfoArray GetPageRangeArray(const TNuo4LineInfoArray& ALines,
                                     const TNuo4ParagraphInfoArray& AParas,
                                     const TrecNuo4PageLayoutParams& AParams);

// Whether the page's last complete paragraph asks for a page break with vertical justification.
bool PageIsJustifiedVert(const TrecNuo4PageInfoItem& APage, const TNuo4ParagraphInfoArray& AParas);

// Moves the lines of every page after the first up to the top margin and spreads the lines of
// vertically justified pages; returns the vertical move of every line (the caller moves the
// symbols) and updates baselines, line bounds and page bounds.
std::vector<double> SinglePageToMultiPage(TNuo4PageInfoArray& APages, TNuo4LineInfoArray& ALines,
                                          const TNuo4ParagraphInfoArray& AParas,
                                          const TrecNuo4PageLayoutParams& AParams);

// The page that holds a line, -1 when none.
int32_t PageIndexOfLine(const TNuo4PageInfoArray& APages, int32_t ALineIndex);

}  // namespace nuo4
