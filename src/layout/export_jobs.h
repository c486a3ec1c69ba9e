#pragma once
// The editor's ways out for a laid-out score, apart from any dialog: pictures of the pages at
// the three image resolutions, PDF and SVG files, the print job on a printer the print dialog
// chose, and the clipboard picture of the selection or the current page. Every page goes
// through Nuo4DrawPageForExport, as the printer draws it; page numbers follow the caller's
// choice. Failures come back as texts for the editor to show.

#include <QImage>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "format/ko_range.h"

class QMimeData;
class QPrinter;

namespace nuo4 {

class TNuo4SimpleBuffer;

// In the order of the image dialog's filter entries.
enum TNuo4ImageExportFormat : uint8_t { iefPng, iefPngTransparent, iefGif, iefJpeg, iefBmp };
enum TNuo4ImageResolution : uint8_t { irLow, irMedium, irHigh };

// 96, 200 and 400 dots per inch: the screen, a slide, a print.
double Nuo4ImageResolutionDpi(TNuo4ImageResolution AResolution);
// The writer's format name ("png", "gif", "jpeg", "bmp") and the file extension ("jpg").
QByteArray Nuo4ImageFormatWriterName(TNuo4ImageExportFormat AFormat);
QString Nuo4ImageFormatExtension(TNuo4ImageExportFormat AFormat);
// Whether this system's image writers can write the format.
bool Nuo4ImageFormatWritable(TNuo4ImageExportFormat AFormat);

// Whether every paragraph is justified to the right margin (an empty score is).
bool Nuo4AllParagraphsJustified(const TNuo4SimpleBuffer& B);

// The proposed name of an exported file, without extension: the score's file name, else its
// title (without the characters a file name cannot hold), else "新建文档".
QString Nuo4ProposedExportName(const QString& AFileName, const QString& ATitle);
// The file of each page: the chosen name itself for a single page, else the name with "-1",
// "-2", ... before its extension.
QStringList Nuo4PageFileNames(const QString& AChosen, int32_t APageCount);

// The page count of the layout (a score without lines still has its first page).
int32_t Nuo4ExportPageCount(const TNuo4SimpleBuffer& B);
// The page of the caret of the buffer's selection.
int32_t Nuo4CaretPageIndex(const TNuo4SimpleBuffer& B);

// Told the pages done and the pages in all; answering false cancels the job.
using TNuo4ExportProgress = std::function<bool(int32_t ADone, int32_t ATotal)>;

struct TrecNuo4ExportResult {
    bool bOk = false;
    bool bCancelled = false;
    QString Error;      // why it failed, for a message
    QStringList Files;  // written
};

// A page (or the piece APiece of it, mm on the page; an empty piece is the whole page) as an
// image of ADpi, its resolution recorded in the image. Transparent: no paper, else the paper
// colour under the ink.
QImage Nuo4RenderPageImage(TNuo4SimpleBuffer& B, int32_t APage, double ADpi, bool bTransparent,
                           bool bPageNumber, const QRectF& APiece = QRectF());

// Every page as its own image file (Nuo4PageFileNames of AChosen).
TrecNuo4ExportResult Nuo4ExportImages(TNuo4SimpleBuffer& B, const QString& AChosen,
                                      TNuo4ImageExportFormat AFormat,
                                      TNuo4ImageResolution AResolution, bool bPageNumber,
                                      const TNuo4ExportProgress& AProgress = nullptr);
// All pages as one vector PDF with the title as its document title.
TrecNuo4ExportResult Nuo4ExportPdf(TNuo4SimpleBuffer& B, const QString& AFileName, bool bPageNumber,
                                   const TNuo4ExportProgress& AProgress = nullptr);
// Every page as its own SVG file (Nuo4PageFileNames of AChosen).
TrecNuo4ExportResult Nuo4ExportSvg(TNuo4SimpleBuffer& B, const QString& AChosen, bool bPageNumber,
                                   const TNuo4ExportProgress& AProgress = nullptr);

// The pages the print dialog's choice names: all pages; "selection" is the caret's page;
// a page range from AFrom to ATo (1-based, clamped to the pages). Invalid when none.
enum TNuo4PrintChoice : uint8_t { pcAllPages, pcSelection, pcPageRange };
TKoRange Nuo4PrintPageRange(const TNuo4SimpleBuffer& B, TNuo4PrintChoice AChoice, int AFrom,
                            int ATo);
// Prints the page range on the printer.
TrecNuo4ExportResult Nuo4PrintPages(TNuo4SimpleBuffer& B, QPrinter& APrinter, TKoRange APages,
                                    const QString& ADocFileName, bool bPageNumber,
                                    const TNuo4ExportProgress& AProgress = nullptr);

// The rectangle (mm) on APage of the selected lines, from the first selected symbol to the last
// and over the lines' whole height (lyrics and attachments included); empty when the selection
// is empty or has nothing on that page.
QRectF Nuo4SelectionPieceOnPage(const TNuo4SimpleBuffer& B, int32_t APage);
// The parts of the clipboard picture, top to bottom: for a selection, its piece on every page it
// touches, all widened to one left and right edge and stacked without gaps; else the caret's
// whole page. Area: the part of the page (mm); Top: where it lands in the picture (mm). ASize:
// the picture's size (mm).
struct TrecNuo4ClipboardPiece {
    int32_t Page = 0;
    QRectF Area;
    double Top = 0;
};
std::vector<TrecNuo4ClipboardPiece> Nuo4ClipboardPieces(const TNuo4SimpleBuffer& B, QSizeF& ASize);
// The clipboard picture of those pieces as "image/png" (200 dpi) and "image/svg+xml" in one
// object, with the image itself for readers of pictures.
QMimeData* Nuo4MakeClipboardPicture(TNuo4SimpleBuffer& B, bool bPageNumber);

}  // namespace nuo4
