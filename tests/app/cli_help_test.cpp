// nuo4-cli help-pdf: the program's help pages typeset as PDFs, every score example in them as
// the picture the editor lays out; a page whose example lays out nothing is refused.
#ifdef NUO4_CLI_WITH_RENDER
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <sstream>

#include "app/cli/commands.h"

using namespace nuo4;

namespace {

QString Tool(const QString& AName, const QStringList& AArgs) {
    QProcess P;
    P.start(AName, AArgs);
    P.waitForFinished(60000);
    return QString::fromUtf8(P.readAllStandardOutput());
}

TEST(CliHelpPdf, EveryHelpPageTypesetsWithItsExamplesAsPicturesAndABadExampleIsRefused) {
    QTemporaryDir Dir;
    const QString Bad = Dir.filePath("bad.html"), Pdf = Dir.filePath("out.pdf");
    {
        QFile F(Bad);
        ASSERT_TRUE(F.open(QIODevice::WriteOnly));
        F.write("<pre class=\"score\">.Words\nW1@1,1:\nla\n</pre>");
    }
    const QDir Help(NUO4_SOURCE_DIR "/resources/help");
    QStringList Pages;
    for (const QString& P : Help.entryList({"*.html"}, QDir::Files)) Pages << Help.filePath(P);
    ASSERT_GE(Pages.size(), 7);
    for (const QString& Page : Pages + QStringList{Bad}) {
        SCOPED_TRACE(Page.toStdString());
        QFile::remove(Pdf);
        std::ostringstream Out, Err;
        const int Status =
            cli::RunCli({"help-pdf", Page.toStdString(), "-o", Pdf.toStdString()}, Out, Err);
        if (Page == Bad) {
            EXPECT_EQ(Status, 2);
            EXPECT_NE(Err.str().find("score example 1 lays out nothing"), std::string::npos);
            EXPECT_FALSE(QFile::exists(Pdf));
            continue;
        }
        ASSERT_EQ(Status, 0) << Err.str();
        QFile F(Page);
        ASSERT_TRUE(F.open(QIODevice::ReadOnly));
        const QString Html = QString::fromUtf8(F.readAll());
        const QString Title = QRegularExpression("<title>([^<]*)</title>").match(Html).captured(1);
        EXPECT_TRUE(
            Tool("pdfinfo", {Pdf}).contains(QRegularExpression("Title:\\s*" + Title + "\n")));
        // pdfimages -list: two header lines, then one line per picture drawn.
        EXPECT_EQ(Tool("pdfimages", {"-list", Pdf}).count('\n'),
                  2 + Html.count("<pre class=\"score\">"));
    }
}

}  // namespace
#endif
