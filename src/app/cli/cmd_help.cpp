// nuo4-cli help-pdf PAGE.html -o OUT.pdf: a help page as an A4 PDF document. Every score example
// written in the page as <pre class="score">TEXT</pre> is shown as its text followed by the
// picture of its lines as the editor's own layout draws them, so the pictures in the manuals are
// what the editor draws for that text. The build makes the help folder's PDFs with this command.

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QScreen>
#include <QTextDocument>
#include <QUrl>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <ostream>

#include "app/cli/cli_files.h"
#include "app/cli/commands.h"
#include "format/abc_buffer.h"
#include "layout/buffer_selection.h"
#include "layout/draw_document.h"
#include "layout/export_jobs.h"
#include "layout/simple_buffer.h"
#include "render/measure_surface.h"
#include "render/music_font.h"

namespace nuo4::cli {

namespace {

constexpr double PageMarginMm = 18;  // on A4

QString Unescaped(QString S) {
    S.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    S.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    S.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    S.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return S;
}

// The lines of a score text as the clipboard picture of all its notes (200 dpi); null when the
// text lays out no symbol.
QImage ScorePicture(const QString& AText) {
    QString Text = AText.trimmed();
    Text.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
    Text.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    const std::u16string T = Text.toStdU16String() + u"\r";
    TNuo4ABCBuffer ABC(T);
    TNuo4MeasureSurfaceScope Surface;
    TNuo4SimpleBuffer B(&ABC);
    if (B.Basic_GetCount() == 0) return QImage();
    Nuo4AuxInfoSettings().SetAllOff();
    Selection_Set(B, GetSelectionForBasicIndexRange(B, TKoRange(0, B.Basic_GetCount())));
    std::unique_ptr<QMimeData> M(Nuo4MakeClipboardPicture(B, false));
    return M ? qvariant_cast<QImage>(M->imageData()) : QImage();
}

}  // namespace

int RunHelpPdf(const TArgs& AArgs, std::ostream& AOut, std::ostream& AErr) {
    std::string Input, Output;
    bool bBad = false;
    for (size_t I = 0; I < AArgs.size(); ++I) {
        if (AArgs[I] == "-o" && I + 1 < AArgs.size())
            Output = AArgs[++I];
        else if (Input.empty() && !AArgs[I].empty() && AArgs[I][0] != '-')
            Input = AArgs[I];
        else
            bBad = true;
    }
    if (bBad || Input.empty() || Output.empty()) {
        AErr << "nuo4-cli help-pdf: usage: nuo4-cli help-pdf PAGE.html -o OUT.pdf\n";
        return 2;
    }
    QFile In(QString::fromStdString(Input));
    if (!In.open(QIODevice::ReadOnly)) {
        AErr << "nuo4-cli help-pdf: cannot read '" << Input
             << "': " << In.errorString().toStdString() << "\n";
        return 2;
    }
    QString Html = QString::fromUtf8(In.readAll());

    std::unique_ptr<QGuiApplication> App;
    if (!QCoreApplication::instance()) {
        if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int Argc = 1;
        static char Name[] = "nuo4-cli";
        static char* Argv[] = {Name, nullptr};
        App = std::make_unique<QGuiApplication>(Argc, Argv);
    }
    Nuo4Render_Init();
    int Status = 0;
    {
        QTextDocument Doc;
        // Each example in place of its text, at its printed size but never wider than the text
        // on the page: the document lays out in the screen's logical pixels.
        const QScreen* Screen = QGuiApplication::primaryScreen();
        const double DocDpi = Screen ? Screen->logicalDotsPerInchX() : 96;
        const double TextWidthMm = 210 - 2 * PageMarginMm;
        static const QRegularExpression Score(QStringLiteral("<pre class=\"score\">(.*?)</pre>"),
                                              QRegularExpression::DotMatchesEverythingOption);
        int N = 0;
        QString Out;
        qsizetype From = 0;
        for (auto It = Score.globalMatch(Html); It.hasNext();) {
            const QRegularExpressionMatch M = It.next();
            const QImage Img = ScorePicture(Unescaped(M.captured(1)));
            if (Img.isNull()) {
                AErr << "nuo4-cli help-pdf: " << Input << ": score example " << N + 1
                     << " lays out nothing\n";
                Status = 2;
                break;
            }
            const QString Url = QStringLiteral("score:%1").arg(++N);
            Doc.addResource(QTextDocument::ImageResource, QUrl(Url), Img);
            Out += Html.mid(From, M.capturedStart() - From);
            // The text as typed, then what the editor makes of it.
            Out += QStringLiteral("<pre style=\"background-color:#f2f2f2\">%1</pre>")
                       .arg(M.captured(1).trimmed());
            Out +=
                QStringLiteral("<p align=\"center\"><img src=\"%1\" width=\"%2\"></p>")
                    .arg(Url)
                    .arg(qRound(std::min(Img.width() / 200.0, 0.98 * TextWidthMm / 25.4) * DocDpi));
            From = M.capturedEnd();
        }
        Out += Html.mid(From);
        if (Status == 0) {
            Doc.setHtml(Out);
            // A page size of its own makes the print keep this layout (and no margins of its
            // own): the text is as wide as the page between the writer's margins.
            Doc.setPageSize(QSizeF(TextWidthMm, 297 - 2 * PageMarginMm) / 25.4 * DocDpi);
            QBuffer Bytes;
            Bytes.open(QIODevice::WriteOnly);
            {
                QPdfWriter W(&Bytes);
                W.setTitle(Doc.metaInformation(QTextDocument::DocumentTitle));
                W.setCreator(QStringLiteral("Nuo4"));
                W.setPageLayout(
                    QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                QMarginsF(PageMarginMm, PageMarginMm, PageMarginMm, PageMarginMm),
                                QPageLayout::Millimeter));
                Doc.print(&W);
            }
            const QByteArray& Pdf = Bytes.data();
            if (Pdf.isEmpty() ||
                !WriteOutputFile(Output, std::string_view(Pdf.constData(), size_t(Pdf.size())),
                                 "help-pdf", AErr))
                Status = 2;
            else
                AOut << Output << ": " << N << " score example(s)\n";
        }
    }
    // The music font goes before the application it was made under.
    if (App) Nuo4Render_Done();
    return Status;
}

}  // namespace nuo4::cli
