#include "layout/export_jobs.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>
#include <QMimeData>
#include <QPainter>
#include <QPrinter>
#include <QSaveFile>
#include <algorithm>

#include "format/doc_options.h"
#include "layout/buffer_caret.h"
#include "layout/buffer_selection.h"
#include "layout/draw_document.h"
#include "layout/export_document.h"
#include "layout/simple_buffer.h"
#include "render/svg_device.h"

namespace nuo4 {

namespace {

constexpr double ClipboardDpi = 200;
constexpr double PieceMargin = 1.0;  // mm around a selection's piece

// The printer's state for the time of a job, with page numbers as the caller chose.
struct TExportScope {
    TNuo4PrintDrawScope Print;
    TExportScope(TNuo4SimpleBuffer& B, bool bPageNumber, bool bTransparent = false) : Print(B) {
        Nuo4AuxInfoSettings().bPrintPageNumber = bPageNumber;
        if (bTransparent) Nuo4AuxInfoSettings().PaperColor = 0;
    }
};

bool WriteFile(const QString& AName, const QByteArray& AData, QString& AError) {
    QSaveFile F(AName);
    if (!F.open(QIODevice::WriteOnly) || F.write(AData) != AData.size() || !F.commit()) {
        AError = QStringLiteral("无法写入文件“%1”：%2").arg(AName, F.errorString());
        return false;
    }
    return true;
}

bool Tell(const TNuo4ExportProgress& AProgress, int32_t ADone, int32_t ATotal) {
    return !AProgress || AProgress(ADone, ATotal);
}

TrecNuo4ExportResult Cancelled() {
    TrecNuo4ExportResult R;
    R.bCancelled = true;
    return R;
}

TrecNuo4ExportResult Failed(const QString& AError) {
    TrecNuo4ExportResult R;
    R.Error = AError;
    return R;
}

QSizeF PaperSize() {
    const TrecNuo4DocOptionsParam_Paper& P = Nuo4DocOptions().Param_Paper;
    return QSizeF(P.Width, P.Height);
}

// Draws every piece clipped to its own band, so a page's ink outside its piece (the lines above
// and below the selection) never runs into its neighbours. ADpi maps millimetres to the device.
template <typename TClip>
void DrawPieces(TNuo4SimpleBuffer& B, QPainter& P,
                const std::vector<TrecNuo4ClipboardPiece>& APieces, double ADpi, TClip AClip) {
    for (const TrecNuo4ClipboardPiece& C : APieces) {
        const double K = ADpi / 25.4;
        const QRectF Band(0, C.Top * K, C.Area.width() * K, C.Area.height() * K);
        P.save();
        AClip(Band);
        Nuo4DrawPageForExport(B, P, C.Page, false, QPointF(C.Area.left(), C.Area.top() - C.Top));
        P.restore();
    }
}

QSize PixelsOf(QSizeF AMm, double ADpi) {
    return QSize(std::max(1, qRound(AMm.width() / 25.4 * ADpi)),
                 std::max(1, qRound(AMm.height() / 25.4 * ADpi)));
}

// The pieces as SVG at 96 dpi.
bool PiecesToSvg(TNuo4SimpleBuffer& B, const std::vector<TrecNuo4ClipboardPiece>& APieces,
                 QSizeF ASize, QByteArray& AOut) {
    constexpr double Dpi = 96;
    TKoSvgDevice Svg(PixelsOf(ASize, Dpi), Dpi);
    Svg.SetTitle(Nuo4ExportTitle(B));
    QPainter P;
    if (!P.begin(&Svg)) return false;
    bool bOpen = false;
    DrawPieces(B, P, APieces, Dpi, [&](const QRectF& ABand) {
        if (bOpen) Svg.EndClipGroup();
        Svg.BeginClipGroup(ABand);
        bOpen = true;
    });
    if (bOpen) Svg.EndClipGroup();
    if (!P.end()) return false;
    AOut = Svg.Data();
    return !AOut.isEmpty();
}

}  // namespace

double Nuo4ImageResolutionDpi(TNuo4ImageResolution AResolution) {
    switch (AResolution) {
        case irLow:
            return 96;
        case irMedium:
            return 200;
        case irHigh:
            return 400;
    }
    return 96;
}

QByteArray Nuo4ImageFormatWriterName(TNuo4ImageExportFormat AFormat) {
    switch (AFormat) {
        case iefPng:
        case iefPngTransparent:
            return "png";
        case iefGif:
            return "gif";
        case iefJpeg:
            return "jpeg";
        case iefBmp:
            return "bmp";
    }
    return "png";
}

QString Nuo4ImageFormatExtension(TNuo4ImageExportFormat AFormat) {
    return AFormat == iefJpeg ? QStringLiteral("jpg")
                              : QString::fromLatin1(Nuo4ImageFormatWriterName(AFormat));
}

bool Nuo4ImageFormatWritable(TNuo4ImageExportFormat AFormat) {
    return QImageWriter::supportedImageFormats().contains(Nuo4ImageFormatWriterName(AFormat));
}

bool Nuo4AllParagraphsJustified(const TNuo4SimpleBuffer& B) {
    return std::all_of(B.ParagraphInfoArray.begin(), B.ParagraphInfoArray.end(),
                       [](const TrecNuo4ParagraphInfoItem& P) { return P.Options.bJustifyHorz; });
}

QString Nuo4ProposedExportName(const QString& AFileName, const QString& ATitle) {
    if (!AFileName.isEmpty()) return QFileInfo(AFileName).completeBaseName();
    QString T;
    for (const QChar C : ATitle.simplified())
        if (C.unicode() >= 0x20 && !QStringLiteral("/\\:*?\"<>|").contains(C)) T += C;
    T = T.trimmed();
    while (T.startsWith(QLatin1Char('.'))) T.remove(0, 1);
    return T.isEmpty() ? QStringLiteral("新建文档") : T;
}

QStringList Nuo4PageFileNames(const QString& AChosen, int32_t APageCount) {
    if (APageCount <= 1) return {AChosen};
    const QFileInfo F(AChosen);
    const QString Suffix = F.suffix().isEmpty() ? QString() : QLatin1Char('.') + F.suffix();
    const QString Stem = AChosen.left(AChosen.size() - Suffix.size());
    QStringList R;
    for (int32_t I = 1; I <= APageCount; ++I)
        R << Stem + QLatin1Char('-') + QString::number(I) + Suffix;
    return R;
}

int32_t Nuo4ExportPageCount(const TNuo4SimpleBuffer& B) {
    return std::max<int32_t>(1, int32_t(B.PageInfoArray.size()));
}

int32_t Nuo4CaretPageIndex(const TNuo4SimpleBuffer& B) {
    const int32_t P = GetPageIndexOfCaret(B, Selection_GetCaretPos(B));
    return std::clamp<int32_t>(P, 0, Nuo4ExportPageCount(B) - 1);
}

QImage Nuo4RenderPageImage(TNuo4SimpleBuffer& B, int32_t APage, double ADpi, bool bTransparent,
                           bool bPageNumber, const QRectF& APiece) {
    const QRectF Area = APiece.isEmpty() ? QRectF(QPointF(), PaperSize()) : APiece;
    const QSize Px(std::max(1, qRound(Area.width() / 25.4 * ADpi)),
                   std::max(1, qRound(Area.height() / 25.4 * ADpi)));
    QImage Img(Px, bTransparent ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (Img.isNull()) return Img;
    // The surface's millimetres come from the image's resolution.
    Img.setDotsPerMeterX(qRound(ADpi / 0.0254));
    Img.setDotsPerMeterY(qRound(ADpi / 0.0254));
    TExportScope Scope(B, bPageNumber, bTransparent);
    Img.fill(bTransparent ? QColor(Qt::transparent)
                          : QColor::fromRgba(Scope.Print.SavedAux().PaperColor | 0xFF000000u));
    QPainter P(&Img);
    Nuo4DrawPageForExport(B, P, APage, false, Area.topLeft());
    return Img;
}

TrecNuo4ExportResult Nuo4ExportImages(TNuo4SimpleBuffer& B, const QString& AChosen,
                                      TNuo4ImageExportFormat AFormat,
                                      TNuo4ImageResolution AResolution, bool bPageNumber,
                                      const TNuo4ExportProgress& AProgress) {
    const QByteArray Writer = Nuo4ImageFormatWriterName(AFormat);
    if (!Nuo4ImageFormatWritable(AFormat))
        return Failed(
            QStringLiteral("本系统无法写入%1格式的图像文件。").arg(QString::fromLatin1(Writer)));
    const int32_t Count = Nuo4ExportPageCount(B);
    const QStringList Names = Nuo4PageFileNames(AChosen, Count);
    const double Dpi = Nuo4ImageResolutionDpi(AResolution);
    TrecNuo4ExportResult R;
    for (int32_t Pg = 0; Pg < Count; ++Pg) {
        if (!Tell(AProgress, Pg, Count)) return Cancelled();
        const QImage Img =
            Nuo4RenderPageImage(B, Pg, Dpi, AFormat == iefPngTransparent, bPageNumber);
        if (Img.isNull())
            return Failed(QStringLiteral("内存不足，无法生成第%1页的图像。").arg(Pg + 1));
        QBuffer Bytes;
        Bytes.open(QIODevice::WriteOnly);
        QImageWriter W(&Bytes, Writer);
        if (AFormat == iefJpeg) W.setQuality(95);
        if (!W.write(Img)) return Failed(QStringLiteral("无法生成图像：%1").arg(W.errorString()));
        if (!WriteFile(Names[Pg], Bytes.data(), R.Error)) return R;
        R.Files << Names[Pg];
    }
    Tell(AProgress, Count, Count);
    R.bOk = true;
    return R;
}

TrecNuo4ExportResult Nuo4ExportPdf(TNuo4SimpleBuffer& B, const QString& AFileName, bool bPageNumber,
                                   const TNuo4ExportProgress& AProgress) {
    const int32_t Count = Nuo4ExportPageCount(B);
    QBuffer Bytes;
    Bytes.open(QIODevice::WriteOnly);
    bool bCancelled = false, bOk = false;
    {
        TExportScope Scope(B, bPageNumber);
        // A cancelled job draws no further pages and writes nothing.
        const TNuo4PageDrawHook Hook = [&](int32_t APage, const std::function<void()>& ADraw) {
            if (bCancelled || !Tell(AProgress, APage, Count)) {
                bCancelled = true;
                return;
            }
            ADraw();
        };
        bOk = Nuo4ExportPagesToPdf(B, Bytes, TKoRange(0, Count), false, Hook);
    }
    if (bCancelled) return Cancelled();
    if (!bOk || Bytes.data().isEmpty()) return Failed(QStringLiteral("无法生成PDF文档。"));
    TrecNuo4ExportResult R;
    if (!WriteFile(AFileName, Bytes.data(), R.Error)) return R;
    Tell(AProgress, Count, Count);
    R.Files << AFileName;
    R.bOk = true;
    return R;
}

TrecNuo4ExportResult Nuo4ExportSvg(TNuo4SimpleBuffer& B, const QString& AChosen, bool bPageNumber,
                                   const TNuo4ExportProgress& AProgress) {
    const int32_t Count = Nuo4ExportPageCount(B);
    const QStringList Names = Nuo4PageFileNames(AChosen, Count);
    TrecNuo4ExportResult R;
    TExportScope Scope(B, bPageNumber);
    for (int32_t Pg = 0; Pg < Count; ++Pg) {
        if (!Tell(AProgress, Pg, Count)) return Cancelled();
        QBuffer Bytes;
        Bytes.open(QIODevice::WriteOnly);
        if (!Nuo4ExportPageToSvg(B, Bytes, Pg, false))
            return Failed(QStringLiteral("无法生成第%1页的SVG。").arg(Pg + 1));
        if (!WriteFile(Names[Pg], Bytes.data(), R.Error)) return R;
        R.Files << Names[Pg];
    }
    Tell(AProgress, Count, Count);
    R.bOk = true;
    return R;
}

TKoRange Nuo4PrintPageRange(const TNuo4SimpleBuffer& B, TNuo4PrintChoice AChoice, int AFrom,
                            int ATo) {
    const int32_t Count = Nuo4ExportPageCount(B);
    switch (AChoice) {
        case pcAllPages:
            return TKoRange(0, Count);
        case pcSelection:
            return TKoRange(Nuo4CaretPageIndex(B), 1);
        case pcPageRange: {
            // The dialog gives 0 for "to" when only "from" was set.
            const int32_t F = std::max(1, AFrom),
                          T = std::min<int32_t>(ATo < F ? Count : ATo, Count);
            if (F > T) return TKoRange::Invalid();
            return TKoRange::FromStartEnd(F - 1, T - 1);
        }
    }
    return TKoRange::Invalid();
}

TrecNuo4ExportResult Nuo4PrintPages(TNuo4SimpleBuffer& B, QPrinter& APrinter, TKoRange APages,
                                    const QString& ADocFileName, bool bPageNumber,
                                    const TNuo4ExportProgress& AProgress) {
    if (!APages.IsNonEmpty()) return Failed(QStringLiteral("无法完成打印作业。"));
    bool bCancelled = false;
    bool bOk;
    {
        // The printer's own scope turns the switches off; page numbers are set before it.
        const bool bOld = Nuo4AuxInfoSettings().bPrintPageNumber;
        Nuo4AuxInfoSettings().bPrintPageNumber = bPageNumber;
        bOk = Draw_AllSymbols_ToPrinter(
            B, APrinter, APages, ADocFileName.toStdU16String(), [&](int32_t APage) {
                bCancelled = !Tell(AProgress, APage - APages.StartIndex, APages.Length);
                return !bCancelled;
            });
        Nuo4AuxInfoSettings().bPrintPageNumber = bOld;
    }
    if (bCancelled) return Cancelled();
    if (!bOk) return Failed(QStringLiteral("无法完成打印作业。"));
    Tell(AProgress, APages.Length, APages.Length);
    TrecNuo4ExportResult R;
    R.bOk = true;
    return R;
}

QRectF Nuo4SelectionPieceOnPage(const TNuo4SimpleBuffer& B, int32_t APage) {
    QRectF Piece;
    for (const TrecNuo4SelectionRect& S : GetSelectionRectArray(B, Selection_Get(B))) {
        if (S.PageIndex != APage || S.LineIndex < 0 ||
            S.LineIndex >= int32_t(B.LineInfoArray.size()))
            continue;
        const TrecNuo4CalcInfo_BoundsInfo& L = B.LineInfoArray[S.LineIndex].Bounds;
        const QRectF Lines = L.Black.united(L.Layout);
        Piece = Piece.united(QRectF(
            S.Rect.left(), std::min(Lines.top(), S.Rect.top()), S.Rect.width(),
            std::max(Lines.bottom(), S.Rect.bottom()) - std::min(Lines.top(), S.Rect.top())));
    }
    if (Piece.isEmpty()) return QRectF();
    return Piece.adjusted(-PieceMargin, -PieceMargin, PieceMargin, PieceMargin)
        .intersected(QRectF(QPointF(), PaperSize()));
}

std::vector<TrecNuo4ClipboardPiece> Nuo4ClipboardPieces(const TNuo4SimpleBuffer& B, QSizeF& ASize) {
    std::vector<TrecNuo4ClipboardPiece> R;
    if (!Selection_IsEmpty(B)) {
        int32_t First = -1, Last = -1;
        for (const TrecNuo4SelectionRect& S : GetSelectionRectArray(B, Selection_Get(B))) {
            if (S.PageIndex < 0) continue;
            First = First < 0 ? S.PageIndex : std::min(First, S.PageIndex);
            Last = std::max(Last, S.PageIndex);
        }
        double Left = 0, Right = 0;
        for (int32_t Pg = First; Pg >= 0 && Pg <= Last; ++Pg) {
            const QRectF Piece = Nuo4SelectionPieceOnPage(B, Pg);
            if (Piece.isEmpty()) continue;
            Left = R.empty() ? Piece.left() : std::min(Left, Piece.left());
            Right = R.empty() ? Piece.right() : std::max(Right, Piece.right());
            R.push_back({Pg, Piece, 0});
        }
        // One left edge for all: the lines keep their places across the page breaks.
        double Top = 0;
        for (TrecNuo4ClipboardPiece& C : R) {
            C.Area = QRectF(Left, C.Area.top(), Right - Left, C.Area.height());
            C.Top = Top;
            Top += C.Area.height();
        }
        ASize = QSizeF(Right - Left, Top);
    }
    if (R.empty()) {
        R.push_back({Nuo4CaretPageIndex(B), QRectF(QPointF(), PaperSize()), 0});
        ASize = PaperSize();
    }
    return R;
}

QMimeData* Nuo4MakeClipboardPicture(TNuo4SimpleBuffer& B, bool bPageNumber) {
    QSizeF Size;
    const std::vector<TrecNuo4ClipboardPiece> Pieces = Nuo4ClipboardPieces(B, Size);
    QByteArray Png, Svg;
    QImage Img(PixelsOf(Size, ClipboardDpi), QImage::Format_RGB32);
    if (Img.isNull()) return nullptr;
    {
        TExportScope Scope(B, bPageNumber);
        Img.setDotsPerMeterX(qRound(ClipboardDpi / 0.0254));
        Img.setDotsPerMeterY(qRound(ClipboardDpi / 0.0254));
        Img.fill(QColor::fromRgba(Scope.Print.SavedAux().PaperColor | 0xFF000000u));
        QPainter P(&Img);
        DrawPieces(B, P, Pieces, ClipboardDpi, [&](const QRectF& ABand) { P.setClipRect(ABand); });
        P.end();
        if (!PiecesToSvg(B, Pieces, Size, Svg)) return nullptr;
    }
    {
        QBuffer Bytes(&Png);
        Bytes.open(QIODevice::WriteOnly);
        if (!Img.save(&Bytes, "PNG")) return nullptr;
    }
    auto* M = new QMimeData;
    M->setImageData(Img);
    M->setData(QStringLiteral("image/png"), Png);
    M->setData(QStringLiteral("image/svg+xml"), Svg);
    return M;
}

}  // namespace nuo4
