// The main window's ways out for the score: printing, image, PDF and SVG files and the
// clipboard picture. The work is done by export_jobs; here are the dialogs, the remembered
// folders, the progress and the messages.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <memory>

#include "editor/main_window.h"
#include "layout/export_document.h"

namespace nuo4 {

namespace {

// Shown once a job takes longer than a moment; Cancel stops it between pages.
class TExportProgress {
  public:
    TExportProgress(QWidget* AParent, const QString& ALabel)
        : FDialog(ALabel, QStringLiteral("取消"), 0, 1, AParent) {
        FDialog.setWindowModality(Qt::WindowModal);
        FDialog.setMinimumDuration(400);
        FDialog.setValue(0);
    }
    TNuo4ExportProgress Callback() {
        return [this](int32_t ADone, int32_t ATotal) {
            FDialog.setMaximum(std::max(1, ATotal));
            FDialog.setValue(ADone);
            QCoreApplication::processEvents();
            return !FDialog.wasCanceled();
        };
    }

  private:
    QProgressDialog FDialog;
};

// The chosen name, the dialog's filter entry and its folder.
struct TSaveChoice {
    QString FileName;
    int FilterIndex = 0;
};

TSaveChoice AskSaveName(QWidget* AParent, const QString& ATitle, const QString& AFolder,
                        const QString& AProposed, const QStringList& AFilters,
                        const QString& ASuffix) {
    QFileDialog D(AParent, ATitle, QDir(AFolder).filePath(AProposed));
    D.setAcceptMode(QFileDialog::AcceptSave);
    D.setNameFilters(AFilters);
    D.selectNameFilter(AFilters.first());
    D.setDefaultSuffix(ASuffix);
    D.setOption(QFileDialog::DontConfirmOverwrite, false);
    D.setSizeGripEnabled(true);
    TSaveChoice C;
    if (D.exec() != QDialog::Accepted || D.selectedFiles().isEmpty()) return C;
    C.FileName = D.selectedFiles().first();
    C.FilterIndex = std::max(0, int(AFilters.indexOf(D.selectedNameFilter())));
    return C;
}

}  // namespace

bool TFormNuo4Main::ExportJustificationCheck() {
    const TNuo4SimpleBuffer* B = GetSimpleBuffer();
    if (!B || Nuo4AllParagraphsJustified(*B)) return true;
    if (JustifyQuestionSink) return JustifyQuestionSink();
    return QMessageBox::question(
               this, QStringLiteral("Nuo4"),
               QStringLiteral(
                   "发现“两端对齐”按钮处在松开状态，这意味着乐谱的右侧没有对齐到排版右边界。\r\n"
                   "\r\n是否继续？\r\n\r\n注意：平常的编辑操作多数时候在“两端对齐”按钮松开状态下"
                   "进行；在最终输出和打印时，通常需要“两端对齐”按钮按下。"),
               QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) == QMessageBox::Ok;
}

void TFormNuo4Main::ExportPrint() {
    TNuo4SimpleBuffer* B = GetSimpleBuffer();
    if (!B || !ExportJustificationCheck()) return;
    const int Count = Nuo4ExportPageCount(*B);
    QPrinter Printer(QPrinter::HighResolution);
    QPrintDialog D(&Printer, this);
    D.setOption(QAbstractPrintDialog::PrintPageRange, true);
    D.setOption(QAbstractPrintDialog::PrintSelection, true);
    D.setMinMax(1, Count);
    D.setFromTo(1, Count);
    if (D.exec() != QDialog::Accepted) return;
    const TNuo4PrintChoice Choice = D.printRange() == QAbstractPrintDialog::Selection ? pcSelection
                                    : D.printRange() == QAbstractPrintDialog::PageRange
                                        ? pcPageRange
                                        : pcAllPages;
    const TKoRange Pages = Nuo4PrintPageRange(*B, Choice, D.fromPage(), D.toPage());
    ScorePanel->setUpdatesEnabled(false);
    TrecNuo4ExportResult R;
    {
        TExportProgress Progress(this, QStringLiteral("正在打印…"));
        R = Nuo4PrintPages(*B, Printer, Pages, FFileNameOpened, FOptions.bExportPageNumber,
                           Progress.Callback());
    }
    ScorePanel->setUpdatesEnabled(true);
    if (!R.bOk && !R.bCancelled) ShowMessage(QStringLiteral("无法完成打印作业。"));
}

void TFormNuo4Main::ExportImage(TNuo4ImageResolution AResolution) {
    TNuo4SimpleBuffer* B = GetSimpleBuffer();
    if (!B || !ExportJustificationCheck()) return;
    const QStringList Filters = {
        QStringLiteral("png文件 (*.png)"), QStringLiteral("透明png文件 (*.png)"),
        QStringLiteral("gif文件 (*.gif)"), QStringLiteral("jpg文件 (*.jpg)"),
        QStringLiteral("bmp文件 (*.bmp)")};
    const TSaveChoice C =
        AskSaveName(this, QStringLiteral("输出到图像文件"), FOptions.LastFolders[lfkImage],
                    Nuo4ProposedExportName(FFileNameOpened, Nuo4ExportTitle(*B)), Filters,
                    QStringLiteral("png"));
    if (C.FileName.isEmpty()) return;
    SetLastFolder(lfkImage, QFileInfo(C.FileName).absolutePath());
    const auto Format = TNuo4ImageExportFormat(std::clamp(C.FilterIndex, 0, int(iefBmp)));
    // The filter chooses the format; a name without its extension gets it.
    QString Name = C.FileName;
    const QString Ext = Nuo4ImageFormatExtension(Format);
    const QString Suffix = QFileInfo(Name).suffix().toLower();
    if (Suffix != Ext && !(Format == iefJpeg && Suffix == QStringLiteral("jpeg")))
        Name += QLatin1Char('.') + Ext;
    TrecNuo4ExportResult R;
    {
        TExportProgress Progress(this, QStringLiteral("正在输出图像文件…"));
        R = Nuo4ExportImages(*B, Name, Format, AResolution, FOptions.bExportPageNumber,
                             Progress.Callback());
    }
    if (!R.bOk && !R.bCancelled) ShowMessage(R.Error);
}

void TFormNuo4Main::ExportPdf() {
    TNuo4SimpleBuffer* B = GetSimpleBuffer();
    if (!B || !ExportJustificationCheck()) return;
    const TSaveChoice C = AskSaveName(
        this, QStringLiteral("输出到PDF文件"), FOptions.LastFolders[lfkPDF],
        Nuo4ProposedExportName(FFileNameOpened, Nuo4ExportTitle(*B)) + QStringLiteral(".pdf"),
        {QStringLiteral("pdf文件(*.pdf)")}, QStringLiteral(".pdf"));
    if (C.FileName.isEmpty()) return;
    SetLastFolder(lfkPDF, QFileInfo(C.FileName).absolutePath());
    TrecNuo4ExportResult R;
    {
        TExportProgress Progress(this, QStringLiteral("正在输出PDF文件…"));
        R = Nuo4ExportPdf(*B, C.FileName, FOptions.bExportPageNumber, Progress.Callback());
    }
    if (!R.bOk && !R.bCancelled) ShowMessage(R.Error);
}

void TFormNuo4Main::ExportSvg() {
    TNuo4SimpleBuffer* B = GetSimpleBuffer();
    if (!B || !ExportJustificationCheck()) return;
    // SVG pages are pictures: they share the images' folder.
    const TSaveChoice C = AskSaveName(
        this, QStringLiteral("输出到SVG文件"), FOptions.LastFolders[lfkImage],
        Nuo4ProposedExportName(FFileNameOpened, Nuo4ExportTitle(*B)) + QStringLiteral(".svg"),
        {QStringLiteral("svg文件(*.svg)")}, QStringLiteral("svg"));
    if (C.FileName.isEmpty()) return;
    SetLastFolder(lfkImage, QFileInfo(C.FileName).absolutePath());
    TrecNuo4ExportResult R;
    {
        TExportProgress Progress(this, QStringLiteral("正在输出SVG文件…"));
        R = Nuo4ExportSvg(*B, C.FileName, FOptions.bExportPageNumber, Progress.Callback());
    }
    if (!R.bOk && !R.bCancelled) ShowMessage(R.Error);
}

void TFormNuo4Main::ExportToClipboard() {
    TNuo4SimpleBuffer* B = GetSimpleBuffer();
    if (!B || !ExportJustificationCheck()) return;
    QMimeData* M = Nuo4MakeClipboardPicture(*B, FOptions.bExportPageNumber);
    if (!M) return ShowMessage(QStringLiteral("无法生成剪贴板图像。"));
    QApplication::clipboard()->setMimeData(M);
}

}  // namespace nuo4
