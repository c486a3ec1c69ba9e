// Exported PDF and SVG pages carry their texts as text: the PDF embeds the music font and the
// lyric font and its text reads back in order, the SVG holds the lyrics as <text>, and the PDF
// page looks like the image of the same page. The poppler tools read the files back.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <memory>

#include "format/abc_buffer.h"
#include "format/doc_options.h"
#include "format/score_file.h"
#include "layout/draw_document.h"
#include "layout/export_document.h"
#include "layout/simple_buffer.h"
#include "render/draw_utils.h"
#include "render/glyph_outlines.h"
#include "render/music_font.h"

using namespace nuo4;

namespace {

class Export : public ::testing::Test {
  protected:
    void SetUp() override {
        Nuo4Render_Init();
        MusicFont_ResetTextFonts();
        std::u16string Text;
        std::string Error;
        ASSERT_TRUE(ReadScoreFile(NUO4_SOURCE_DIR "/resources/demo/molihua.nuoabc", Text, Error));
        FABC = std::make_unique<TNuo4ABCBuffer>(Text);
        FBuf = std::make_unique<TNuo4SimpleBuffer>(FABC.get());
        Nuo4AuxInfoSettings().SetAllOff();
        ASSERT_TRUE(FDir.isValid());
    }
    void TearDown() override { Nuo4AuxInfoSettings().SetToDefault(); }

    QString WritePdf() {
        const QString Path = FDir.filePath("score.pdf");
        QFile F(Path);
        EXPECT_TRUE(F.open(QIODevice::WriteOnly));
        EXPECT_TRUE(Nuo4ExportPagesToPdf(*FBuf, F, TKoRange(0, 1), false));
        return Path;
    }
    // The tool's standard output; skips the test when the tool is missing.
    static QString Run(const QString& ATool, const QStringList& AArgs) {
        if (QStandardPaths::findExecutable(ATool).isEmpty()) return QString();
        QProcess P;
        P.start(ATool, AArgs);
        EXPECT_TRUE(P.waitForFinished(60000)) << ATool.toStdString();
        EXPECT_EQ(P.exitCode(), 0) << ATool.toStdString();
        return QString::fromUtf8(P.readAllStandardOutput());
    }
    QImage RenderImage(double ADpi) {
        const TrecNuo4DocOptionsParam_Paper Paper = Nuo4DocOptions().Param_Paper;
        QImage Img(qRound(Paper.Width / 25.4 * ADpi), qRound(Paper.Height / 25.4 * ADpi),
                   QImage::Format_RGB32);
        Img.setDotsPerMeterX(qRound(ADpi / 0.0254));
        Img.setDotsPerMeterY(qRound(ADpi / 0.0254));
        Img.fill(Qt::white);
        QPainter P(&Img);
        Nuo4DrawPageForExport(*FBuf, P, 0, false);
        return Img;
    }
    std::unique_ptr<TNuo4ABCBuffer> FABC;
    std::unique_ptr<TNuo4SimpleBuffer> FBuf;
    QTemporaryDir FDir;
};

#define NEED_TOOL(T) \
    if (QStandardPaths::findExecutable(T).isEmpty()) GTEST_SKIP() << T << " is not installed"

// Glyph text that lost characters to shared outlines (U+2F00 for U+4E00) reads back by NFKC.
QString Plain(const QString& S) {
    QString R = S.normalized(QString::NormalizationForm_KC);
    R.remove(QRegularExpression(QStringLiteral("\\s")));
    return R;
}

}  // namespace

TEST_F(Export, PdfEmbedsSubsetsOfTheMusicFontAndTheLyricFont) {
    NEED_TOOL("pdffonts");
    const QString Fonts = Run("pdffonts", {WritePdf()});
    const QStringList Lines = Fonts.split('\n', Qt::SkipEmptyParts);
    auto Embedded = [&](const QString& AName) {
        for (const QString& L : Lines)
            if (L.contains(AName, Qt::CaseInsensitive))
                return L.contains(QRegularExpression(QStringLiteral("\\syes\\s+yes\\s")));
        return false;
    };
    EXPECT_TRUE(Embedded("Nuo4Core")) << Fonts.toStdString();
    // The lyrics are set in 楷体, drawn with an installed Kai face (UKai, or KaitiM whose
    // PostScript name is GBZenKai).
    EXPECT_TRUE(Embedded(QStringLiteral("Kai"))) << Fonts.toStdString();
}

TEST_F(Export, PdfTextHoldsTheTitleAndTheLyricsInOrder) {
    NEED_TOOL("pdftotext");
    const QString Text = Plain(Run("pdftotext", {"-layout", WritePdf(), "-"}));
    const int Title = Text.indexOf(QStringLiteral("茉莉花"));
    const int Line1 = Text.indexOf(QStringLiteral("好一朵美丽的茉莉花"));
    const int Line3 = Text.indexOf(QStringLiteral("芬芳美丽满枝桠"));
    const int Verse2 = Text.indexOf(QStringLiteral("雪白芬芳满枝桠"));
    const int Last = Text.lastIndexOf(QStringLiteral("茉莉花呀茉莉花"));
    EXPECT_GE(Title, 0) << Text.toStdString();
    EXPECT_GT(Line1, Title);
    EXPECT_GT(Line3, Line1);
    EXPECT_GT(Verse2, Line3);
    EXPECT_GT(Last, Verse2);
    NEED_TOOL("pdfinfo");
    const QString Info = Run("pdfinfo", {FDir.filePath("score.pdf")});
    EXPECT_TRUE(Info.contains(QRegularExpression(QStringLiteral("Title:\\s+茉莉花"))))
        << Info.toStdString();
    EXPECT_TRUE(Info.contains(QRegularExpression(QStringLiteral("Author:\\s+江苏民歌"))))
        << Info.toStdString();
    EXPECT_TRUE(Info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))));
    EXPECT_TRUE(
        Info.contains(QRegularExpression(QStringLiteral("Page size:\\s+595(\\.\\d+)? x 84[12]"))))
        << Info.toStdString();
}

TEST_F(Export, SvgHoldsTheLyricsAsText) {
    QBuffer Svg;
    ASSERT_TRUE(Svg.open(QIODevice::WriteOnly));
    ASSERT_TRUE(Nuo4ExportPageToSvg(*FBuf, Svg, 0, false));
    const QString S = QString::fromUtf8(Svg.data());
    int Texts = 0;
    for (int I = S.indexOf("<text"); I >= 0; I = S.indexOf("<text", I + 1)) ++Texts;
    // Two verses of 54 syllables, the title lines among them.
    EXPECT_GE(Texts, 100);
    EXPECT_TRUE(S.contains(QRegularExpression(QStringLiteral("<text[^>]*>\\s*茉\\s*</text>"))));
    EXPECT_LT(Svg.data().size(), 300 * 1024);
}

// The page rendered from the PDF and the page drawn as an image differ in anti-aliasing only:
// over cells of 4 x 4 pixels the grey levels agree within a few percent.
TEST_F(Export, PdfPageLooksLikeTheImage) {
    NEED_TOOL("pdftoppm");
    constexpr double Dpi = 100;
    const QString Pdf = WritePdf();
    Run("pdftoppm",
        {"-r", QString::number(Dpi), "-png", "-singlefile", Pdf, FDir.filePath("page")});
    const QImage FromPdf =
        QImage(FDir.filePath("page.png")).convertToFormat(QImage::Format_Grayscale8);
    const QImage Own = RenderImage(Dpi).convertToFormat(QImage::Format_Grayscale8);
    ASSERT_FALSE(FromPdf.isNull());
    ASSERT_LE(std::abs(FromPdf.width() - Own.width()), 1);
    ASSERT_LE(std::abs(FromPdf.height() - Own.height()), 1);
    const int W = std::min(FromPdf.width(), Own.width()) / 4,
              H = std::min(FromPdf.height(), Own.height()) / 4;
    int64_t Ink = 0, Off = 0;
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            int A = 0, B = 0;
            for (int K = 0; K < 16; ++K) {
                A += FromPdf.constScanLine(Y * 4 + K / 4)[X * 4 + K % 4];
                B += Own.constScanLine(Y * 4 + K / 4)[X * 4 + K % 4];
            }
            Ink += (A < 16 * 250) || (B < 16 * 250);
            Off += std::abs(A - B) > 16 * 64;
        }
    ASSERT_GT(Ink, 1000);
    EXPECT_LT(double(Off) / double(Ink), 0.03) << Off << " of " << Ink;
}

// Glyph outlines moved anywhere are found glyph by glyph; other contours and glyphs drawn
// slanted stay outlines.
TEST(GlyphOutlines, MovedTextOutlinesSplitIntoTheirGlyphs) {
    Nuo4Render_Init();
    const TKoFont F = TKoGDIPlusFont::CreateFont(QStringLiteral("楷体"), 4.2, 0);
    QPainterPath P = TKoGDIPlusPath::CreateTextPath_AtLT(F, QStringLiteral("茉莉"), QPointF(3, 7));
    P.translate(11.125, -3.5);
    P.addRect(QRectF(0, 0, 2, 1));
    P.addPath(TKoGDIPlusPath::CreateTextPath_AtLT(F, QStringLiteral("花"), QPointF(40.3, 80.7)));
    const TrecGlyphOutlinesSplit S = GlyphOutlines_Split(P);
    EXPECT_EQ(S.Chars, QStringLiteral("茉莉花"));
    EXPECT_EQ(S.RestElementCount, 5);  // the rectangle

    QPainterPath Slanted = TKoGDIPlusPath::CreateTextPath_AtLT(F, QStringLiteral("花"), QPointF());
    TKoGDIPlusPath::PathItalic(Slanted, 12);
    const TrecGlyphOutlinesSplit T = GlyphOutlines_Split(Slanted);
    EXPECT_TRUE(T.Chars.isEmpty());
    EXPECT_EQ(T.RestElementCount, Slanted.elementCount());
}
