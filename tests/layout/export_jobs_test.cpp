// The editor's exports of a score of several pages, read back from the files: the PDF has the
// layout's pages at the paper's size with its text, the images carry their resolution, the
// print job draws exactly the chosen pages (told by their page numbers), and the clipboard
// picture holds both formats.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <memory>

#include "format/abc_buffer.h"
#include "format/doc_options.h"
#include "layout/buffer_selection.h"
#include "layout/draw_document.h"
#include "layout/export_jobs.h"
#include "layout/simple_buffer.h"
#include "render/music_font.h"

using namespace nuo4;

namespace {

class ExportJobs : public ::testing::Test {
  protected:
    void SetUp() override {
        Nuo4Render_Init();
        MusicFont_ResetTextFonts();
        std::u16string Text = u".Title\rTitle = Longsong\r\r.Voice\r";
        for (int I = 0; I < 70; ++I) Text += u"1 2 3 4 | 5 6 7 1 | 2 3 4 5 | 6 5 4 3 | $(True)\r";
        FABC = std::make_unique<TNuo4ABCBuffer>(Text);
        FBuf = std::make_unique<TNuo4SimpleBuffer>(FABC.get());
        Nuo4AuxInfoSettings().SetToDefault();
        ASSERT_TRUE(FDir.isValid());
        ASSERT_GE(Nuo4ExportPageCount(*FBuf), 4) << "the score must run over several pages";
    }
    void TearDown() override { Nuo4AuxInfoSettings().SetToDefault(); }

    static QString Run(const QString& ATool, const QStringList& AArgs) {
        QProcess P;
        P.start(ATool, AArgs);
        EXPECT_TRUE(P.waitForFinished(60000)) << ATool.toStdString();
        EXPECT_EQ(P.exitCode(), 0) << ATool.toStdString();
        return QString::fromUtf8(P.readAllStandardOutput());
    }
    static int PdfPages(const QString& APath) {
        const auto M =
            QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(Run("pdfinfo", {APath}));
        return M.hasMatch() ? M.captured(1).toInt() : -1;
    }
    // The page numbers drawn, in order, as "n/N".
    static QStringList PageNumbers(const QString& APdf) {
        QStringList R;
        const QString T = Run("pdftotext", {APdf, "-"});
        for (auto It = QRegularExpression(QStringLiteral("(\\d+)\\s*/\\s*(\\d+)")).globalMatch(T);
             It.hasNext();) {
            const auto M = It.next();
            R << M.captured(1) + '/' + M.captured(2);
        }
        return R;
    }
    std::unique_ptr<TNuo4ABCBuffer> FABC;
    std::unique_ptr<TNuo4SimpleBuffer> FBuf;
    QTemporaryDir FDir;
};

#define NEED_TOOLS()                                           \
    if (QStandardPaths::findExecutable("pdfinfo").isEmpty() || \
        QStandardPaths::findExecutable("pdftotext").isEmpty()) \
    GTEST_SKIP() << "poppler-utils is not installed"

}  // namespace

TEST_F(ExportJobs, PdfHasTheLayoutsPagesAtThePaperSizeWithItsTextAndTitle) {
    NEED_TOOLS();
    const QString Path = FDir.filePath("score.pdf");
    const TrecNuo4ExportResult R = Nuo4ExportPdf(*FBuf, Path, true);
    ASSERT_TRUE(R.bOk) << R.Error.toStdString();
    const int32_t N = Nuo4ExportPageCount(*FBuf);
    EXPECT_EQ(PdfPages(Path), N);
    const QString Info = Run("pdfinfo", {Path});
    const TrecNuo4DocOptionsParam_Paper& P = Nuo4DocOptions().Param_Paper;
    const auto Size =
        QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(Info);
    ASSERT_TRUE(Size.hasMatch()) << Info.toStdString();
    EXPECT_NEAR(Size.captured(1).toDouble(), P.Width / 25.4 * 72, 0.5);
    EXPECT_NEAR(Size.captured(2).toDouble(), P.Height / 25.4 * 72, 0.5);
    EXPECT_TRUE(Info.contains(QRegularExpression(QStringLiteral("Title:\\s+Longsong"))));
    // The option puts every page's number on it; the title is text.
    QStringList Want;
    for (int32_t I = 1; I <= N; ++I) Want << QStringLiteral("%1/%2").arg(I).arg(N);
    EXPECT_EQ(PageNumbers(Path), Want);
    EXPECT_TRUE(Run("pdftotext", {Path, "-"}).contains(QStringLiteral("Longsong")));
    // Without the option no page carries its number.
    ASSERT_TRUE(Nuo4ExportPdf(*FBuf, Path, false).bOk);
    EXPECT_TRUE(PageNumbers(Path).isEmpty());
}

TEST_F(ExportJobs, ImagesHaveTheChosenResolutionOneFilePerPage) {
    const TrecNuo4DocOptionsParam_Paper& P = Nuo4DocOptions().Param_Paper;
    const int32_t N = Nuo4ExportPageCount(*FBuf);
    struct {
        TNuo4ImageResolution Res;
        TNuo4ImageExportFormat Format;
        double Dpi;
    } const Cases[] = {{irLow, iefPng, 96},
                       {irMedium, iefPngTransparent, 200},
                       {irHigh, iefPng, 400},
                       {irLow, iefJpeg, 96},
                       {irLow, iefBmp, 96}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Dpi);
        const QString Ext = Nuo4ImageFormatExtension(C.Format);
        const QString Chosen = FDir.filePath(QStringLiteral("s%1.%2").arg(int(C.Format)).arg(Ext));
        const TrecNuo4ExportResult R =
            Nuo4ExportImages(*FBuf, Chosen, C.Format, C.Res, false, [&](int32_t ADone, int32_t T) {
                EXPECT_EQ(T, N);
                return ADone <= T;
            });
        ASSERT_TRUE(R.bOk) << R.Error.toStdString();
        ASSERT_EQ(R.Files, Nuo4PageFileNames(Chosen, N));
        ASSERT_TRUE(R.Files.last().endsWith(QStringLiteral("-%1.%2").arg(N).arg(Ext)));
        QImageReader Reader(R.Files.last());
        const QImage Img = Reader.read();
        ASSERT_FALSE(Img.isNull()) << Reader.errorString().toStdString();
        EXPECT_EQ(Img.width(), qRound(P.Width / 25.4 * C.Dpi));
        EXPECT_EQ(Img.height(), qRound(P.Height / 25.4 * C.Dpi));
        if (C.Format != iefJpeg)  // the JPEG writer keeps whole dots per inch only
            EXPECT_NEAR(Img.dotsPerMeterX(), C.Dpi / 0.0254, 1);
        // Transparent paper, or the paper's white, in the corner; ink somewhere.
        EXPECT_EQ(qAlpha(Img.pixel(0, 0)), C.Format == iefPngTransparent ? 0 : 255);
        bool bInk = false;
        for (int Y = 0; Y < Img.height() && !bInk; Y += 2)
            for (int X = 0; X < Img.width() && !bInk; X += 2)
                bInk = qAlpha(Img.pixel(X, Y)) > 128 && qGray(Img.pixel(X, Y)) < 64;
        EXPECT_TRUE(bInk);
    }
    // A cancelled job stops; a target that cannot be written is an error, not silence.
    EXPECT_TRUE(
        Nuo4ExportImages(*FBuf, FDir.filePath("c.png"), iefPng, irLow, false, [](int32_t, int32_t) {
            return false;
        }).bCancelled);
    const TrecNuo4ExportResult Bad =
        Nuo4ExportImages(*FBuf, FDir.filePath("missing/x.png"), iefPng, irLow, false);
    EXPECT_FALSE(Bad.bOk);
    EXPECT_FALSE(Bad.Error.isEmpty());
    const TrecNuo4ExportResult BadPdf = Nuo4ExportPdf(*FBuf, FDir.filePath("missing/x.pdf"), false);
    EXPECT_FALSE(BadPdf.bOk);
    EXPECT_FALSE(BadPdf.Error.isEmpty());
}

TEST_F(ExportJobs, PrintingDrawsExactlyTheChosenPages) {
    NEED_TOOLS();
    const int32_t N = Nuo4ExportPageCount(*FBuf);
    // The caret on the first symbol of page 2.
    Selection_Set(*FBuf, TrecNuo4Selection::CreateEmpty(TrecNuo4CaretPos_Index::Create(
                             FBuf->PageInfoArray[1].BasicIndexRange.StartIndex, false)));
    struct {
        TNuo4PrintChoice Choice;
        int From, To;
        QStringList Pages;
    } const Cases[] = {
        {pcAllPages, 0, 0, {}},
        {pcSelection, 0, 0, {QStringLiteral("2/%1").arg(N)}},
        {pcPageRange, 2, 3, {QStringLiteral("2/%1").arg(N), QStringLiteral("3/%1").arg(N)}},
        {pcPageRange, N, N + 5, {QStringLiteral("%1/%1").arg(N)}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(int(C.Choice) * 100 + C.From);
        const QString Path = FDir.filePath("print.pdf");
        QFile::remove(Path);
        QPrinter Printer(QPrinter::HighResolution);
        Printer.setOutputFormat(QPrinter::PdfFormat);
        Printer.setOutputFileName(Path);
        const TKoRange Pages = Nuo4PrintPageRange(*FBuf, C.Choice, C.From, C.To);
        ASSERT_TRUE(Nuo4PrintPages(*FBuf, Printer, Pages, "score.nuoabc", true).bOk);
        QStringList Want = C.Pages;
        if (C.Choice == pcAllPages)
            for (int32_t I = 1; I <= N; ++I) Want << QStringLiteral("%1/%2").arg(I).arg(N);
        EXPECT_EQ(PdfPages(Path), Want.size());
        EXPECT_EQ(PageNumbers(Path), Want);
    }
    EXPECT_FALSE(Nuo4PrintPageRange(*FBuf, pcPageRange, N + 1, N + 2).IsValid());
    // The editor's switches come back after the job.
    EXPECT_TRUE(Nuo4AuxInfoSettings().bShowLineNumber);
    EXPECT_FALSE(Nuo4AuxInfoSettings().bPrintPageNumber);
}

// Dark pixels in a band of rows: the ink of that part of a picture.
static int InkIn(const QImage& AImg, int ATop, int ABottom) {
    int N = 0;
    for (int Y = std::max(0, ATop); Y < std::min(ABottom, AImg.height()); ++Y)
        for (int X = 0; X < AImg.width(); ++X) N += qGray(AImg.pixel(X, Y)) < 128;
    return N;
}

TEST_F(ExportJobs, ClipboardPictureCoversTheWholeSelectionOrThePage) {
    const TrecNuo4DocOptionsParam_Paper& P = Nuo4DocOptions().Param_Paper;
    const QSize PagePx(qRound(P.Width / 25.4 * 200), qRound(P.Height / 25.4 * 200));
    ASSERT_GE(FBuf->PageInfoArray.size(), 2u);
    const int32_t LastOfFirstPage = FBuf->PageInfoArray[0].LineIndexRange.EndIndex();
    // No selection: the caret's page; the first line: a strip of it; the last line of page 1
    // with the first of page 2: both lines, one above the other.
    const struct {
        int32_t FromLine, ToLine;  // -1: no selection
        std::vector<int32_t> Pages;
    } Cases[] = {{-1, -1, {0}}, {0, 0, {0}}, {LastOfFirstPage, LastOfFirstPage + 1, {0, 1}}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.FromLine);
        Selection_Clear(*FBuf);
        if (C.FromLine >= 0) {
            const TKoRange From = FBuf->LineInfoArray[C.FromLine].GetBasicIndexRangeExcludeReturn();
            const TKoRange To = FBuf->LineInfoArray[C.ToLine].GetBasicIndexRangeExcludeReturn();
            Selection_Set(
                *FBuf, GetSelectionForBasicIndexRange(
                           *FBuf, TKoRange(From.StartIndex, To.EndIndex() - From.StartIndex + 1)));
        }
        QSizeF Size;
        const std::vector<TrecNuo4ClipboardPiece> Pieces = Nuo4ClipboardPieces(*FBuf, Size);
        std::vector<int32_t> Pages;
        double Height = 0;
        for (const TrecNuo4ClipboardPiece& Pc : Pieces) {
            Pages.push_back(Pc.Page);
            EXPECT_DOUBLE_EQ(Pc.Top, Height);
            Height += Pc.Area.height();
        }
        EXPECT_EQ(Pages, C.Pages);
        EXPECT_DOUBLE_EQ(Size.height(), Height);

        std::unique_ptr<QMimeData> M(Nuo4MakeClipboardPicture(*FBuf, false));
        ASSERT_TRUE(M);
        const QImage Png = QImage::fromData(M->data("image/png"), "PNG");
        ASSERT_FALSE(Png.isNull());
        const QByteArray Svg = M->data("image/svg+xml");
        EXPECT_EQ(Svg.count("<clipPath"), qsizetype(Pieces.size()));
        if (C.FromLine < 0) {
            EXPECT_EQ(Png.size(), PagePx);
            continue;
        }
        EXPECT_EQ(Png.height(), qRound(Height / 25.4 * 200));
        EXPECT_GT(Png.width(), PagePx.width() / 2);
        // Each band carries the ink of its own page's piece, and no more.
        for (const TrecNuo4ClipboardPiece& Pc : Pieces) {
            const QImage Alone = Nuo4RenderPageImage(*FBuf, Pc.Page, 200, false, false, Pc.Area);
            const int Want = InkIn(Alone, 0, Alone.height());
            const int Got = InkIn(Png, qRound(Pc.Top / 25.4 * 200),
                                  qRound((Pc.Top + Pc.Area.height()) / 25.4 * 200));
            EXPECT_GT(Want, 100);
            EXPECT_NEAR(Got, Want, Want / 10) << "page " << Pc.Page;
        }
    }
}

TEST(ExportNames, ProposedNamesAndPageFiles) {
    EXPECT_EQ(Nuo4ProposedExportName("/a/b/song.v2.nuoabc", "T"), "song.v2");
    EXPECT_EQ(Nuo4ProposedExportName("", QStringLiteral("AC/DC: \"1?\"")), "ACDC 1");
    EXPECT_EQ(Nuo4ProposedExportName("", "/"), QStringLiteral("新建文档"));
    EXPECT_EQ(Nuo4PageFileNames("/t/a.png", 1), QStringList{"/t/a.png"});
    EXPECT_EQ(Nuo4PageFileNames("/t/a.b.png", 2), (QStringList{"/t/a.b-1.png", "/t/a.b-2.png"}));
}
