#pragma once
// Drawing a laid-out document buffer: the symbols of every page, the title block, page
// symbols, beams, and the auxiliary information of the score view (line numbers with their
// markers, bar numbers, page numbers, rules-check marks and the indicators). All geometry is
// in millimetres on the page; the caller's surface is translated to the page.

#include <QImage>
#include <QPageSize>
#include <functional>
#include <string>
#include <vector>

#include "layout/layout_records.h"
#include "render/draw_utils.h"
#include "render/symbol_view.h"

class QPrinter;

namespace nuo4 {

class TNuo4SimpleBuffer;

enum TNuo4OutputDest : uint8_t { odDisplay, odPrinter, odPDF, odEMF };
const char* EnumName(TNuo4OutputDest AValue);

// The switches of auxiliary information and the colours this drawing reads; program settings
// kept by the editor (process-wide, user-interface thread only).
struct TrecNuo4AuxInfoSettings {
    bool bShowGrid = false;
    bool bShowHidedSymbol = true;
    bool bShowBarNumber = true;
    bool bShowLineNumber = true;
    bool bShowAttachIndicator = true;
    bool bShowAWCoefLockedMarker = true;
    bool bShowPageNumber = true;
    bool bShowMarginMarker = true;
    bool bShowReturnSymbol = true;
    bool bShowLyricVerseStart = true;
    bool bShowAttachmentsBk = true;
    bool bShowPageSymbolBk = true;
    bool bShowRulesCheckMark = true;
    // Bar number offset from the first symbol of the measure, in digit widths and heights.
    double BarNumberOffsetCoefX = -0.5;
    double BarNumberOffsetCoefY = -2.5;
    TGPColor BarNumberColor = 0x80808080u;
    TGPColor BarNumberErrorColor = 0xC0FF0000u;
    TGPColor InkColor = 0xFF000000u;
    TGPColor PaperColor = 0xFFFFFFFFu;
    bool bPrintPageNumber = false;  // page numbers on printed pages

    void SetToDefault() { *this = TrecNuo4AuxInfoSettings(); }
    // Every switch off, colours kept.
    void SetAllOff();
    void SetAllOn();
};
TrecNuo4AuxInfoSettings& Nuo4AuxInfoSettings();

// ---- Coordinates ----------------------------------------------------------------------------

// A position on a page: millimetres from the paper's top-left corner.
struct TrecNuo4PagePos {
    int32_t PageIndex = -1;
    TGPPointF PosAtPage;
    bool IsValid() const { return PageIndex >= 0; }
};
// The page rectangle's top-left plus the position; (-1, -1) for a page without rectangle.
TGPPointF PagePosToViewPos(const TNuo4SimpleBuffer& B, const TrecNuo4PagePos& APos);
// The last page rectangle that contains the point, and the point relative to it; page -1 when
// none does.
TrecNuo4PagePos ViewPosToPagePos(const TNuo4SimpleBuffer& B, TGPPointF AViewPos);

// ---- Drawing ---------------------------------------------------------------------------------

// All pages, each translated to its rectangle of PageRectArray_View.
void Draw_AllSymbols_ToDisplay(TNuo4SimpleBuffer& B, TKoGraphics& G);
// One page, the surface at the paper's top-left corner. A page outside the pages draws nothing.
void Draw_AllSymbols_Page(TNuo4SimpleBuffer& B, TKoGraphics& G, TNuo4OutputDest ADest,
                          int32_t APageIndex, bool bBarlineNumber, bool bLineNumber,
                          bool bPageNumber, bool bFillBkGnd, const QImage* ABkGndImage);
void Draw_Basic(TNuo4SimpleBuffer& B, TKoGraphics& G, TNuo4OutputDest ADest, TKoRange ARange);
void Draw_Attach(TNuo4SimpleBuffer& B, TKoGraphics& G, TNuo4OutputDest ADest, TKoRange ARange);
void Draw_PageSymbol(TNuo4SimpleBuffer& B, TKoGraphics& G, TNuo4OutputDest ADest, int32_t AIndex);
void Draw_TitleBlock(TNuo4SimpleBuffer& B, TKoGraphics& G, TNuo4OutputDest ADest);
void Draw_Underlines(TNuo4SimpleBuffer& B, TKoGraphics& G, TNuo4OutputDest ADest, TKoRange ARange);
void Draw_BarNumberAndLineNumber(TNuo4SimpleBuffer& B, TKoGraphics& G, int32_t ALine,
                                 bool bBarlineNumber, bool bLineNumber);
void DrawPageNumber(TNuo4SimpleBuffer& B, TKoGraphics& G, int32_t APage, TGPColor AColor);
void Draw_RulesCheckMarks_Line(TNuo4SimpleBuffer& B, TKoGraphics& G, int32_t ALine);

// Indicators, in page coordinates of the page being drawn.
void DrawAWCoefLockedIndicator(TNuo4SimpleBuffer& B, TKoGraphics& G, int32_t APage);
void DrawHighlightSymbolIndicator(TNuo4SimpleBuffer& B, TKoGraphics& G, int32_t APage);
void DrawPageBreakMarker(TNuo4SimpleBuffer& B, TKoGraphics& G, int32_t APage);
// The symbol being edited inside (an attach branch or a note's dashes) framed, and a marker
// where its position stands (draw_within_symbol.cpp); nothing when no such edit is valid.
void DrawWithinSymbolEditStatusIndicator(TNuo4SimpleBuffer& B, TKoGraphics& G, int32_t APage);

// ---- Pieces the drawing is made of (tested on their own) -------------------------------------

// The in-symbol edit indicator on its page: the symbol's box and a vertical marker just right
// of the element (a symbol of the branch or a note's digits or dash, each dash counted) the
// position names, as the caret stands right of a symbol. Page -1 when no edit is valid.
struct TrecNuo4WithinSymbolEditIndicator {
    int32_t PageIndex = -1;
    TGPRectF Frame;
    QLineF Marker;
};
TrecNuo4WithinSymbolEditIndicator GetWithinSymbolEditIndicator(const TNuo4SimpleBuffer& B);

// "___ %d / %d ___" with the page number (index + 1) and the page count.
std::u16string GetPageNumberText(int32_t APageIndex, int32_t APageCount);

// The markers after a line number, each with its colour: "B", "I", "L", "J", "M".
struct TrecNuo4LineMarker {
    char16_t Letter = 0;
    TGPColor Color = 0;
};
std::vector<TrecNuo4LineMarker> GetLineMarkers(TNuo4SimpleBuffer& B, int32_t ALine);
// Grey, or red when the line is not empty and has a duration error or its last measure does
// not end with a bar line.
TGPColor GetLineNumberColor(TNuo4SimpleBuffer& B, int32_t ALine);

// The beam rectangles of the notes of a basic range, at the notes' positions.
std::vector<TGPRectF> GetUnderlineRects(TNuo4SimpleBuffer& B, TKoRange ARange);

// The rules-check mark under a box: from the smaller of its left and centre - 1.5 to the larger
// of its right and centre + 1.5, at its bottom plus AOffset.
QLineF GetRulesCheckMarkLine(const TGPRectF& ABox, double AOffset);

// ---- Printing -------------------------------------------------------------------------------

// Prints the page range (page indexes) through the printer of APrinterName ("" for the default
// one) or, with AOutputFile, to a PDF file. The caret, highlight, surface and switches are
// restored in every case. True on success.
bool Draw_AllSymbols_ToPrinter(TNuo4SimpleBuffer& B, TKoRange APageRange,
                               const std::u16string& AFileName,
                               const std::string& AOutputFile = std::string());
// The same on a printer the caller has set up (say, through the print dialog); the paper size
// and the job title are set here. AOnPage is told each page index before it is drawn and
// aborts the job by answering false.
bool Draw_AllSymbols_ToPrinter(TNuo4SimpleBuffer& B, QPrinter& APrinter, TKoRange APageRange,
                               const std::u16string& AFileName,
                               const std::function<bool(int32_t)>& AOnPage = nullptr);

// The state of a printed or exported drawing while it lives: no highlight and every switch of
// auxiliary information off (page numbers on paper are the caller's choice through
// bPrintPageNumber, which stays as it was). The surface, switches, view settings and
// highlight are restored when it ends.
class TNuo4PrintDrawScope {
  public:
    explicit TNuo4PrintDrawScope(TNuo4SimpleBuffer& B);
    ~TNuo4PrintDrawScope();
    TNuo4PrintDrawScope(const TNuo4PrintDrawScope&) = delete;
    TNuo4PrintDrawScope& operator=(const TNuo4PrintDrawScope&) = delete;
    const TrecNuo4AuxInfoSettings& SavedAux() const { return FAux; }

  private:
    TNuo4SimpleBuffer& FBuffer;
    TrecNuo4Highlight FHighlight;
    TKoGraphics* FGraphics;
    TrecNuo4AuxInfoSettings FAux;
    TrecNuo4SymbolViewSettings FView;
    std::vector<int32_t> FHighlighted;
};

}  // namespace nuo4
