// nuo4-cli render FILE -o OUT [--dpi N] [--page N] [--aux] [--draw-list LIST]: the pages of a
// laid-out score as a vector PDF (one page per page), SVG or PNG images (OUT itself for one page,
// else OUT-1.png, OUT-2.png ...). With --aux the auxiliary information of the score view is drawn
// too. --draw-list writes the symbols drawn and the title block as JSON, an array with one draw
// list per page drawn. Every file is drawn in memory and then written in one atomic step, so a
// failed write (full disk, size limit) leaves no truncated file and ends with status 2.

#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <ostream>

#include "app/cli/cli_files.h"
#include "app/cli/commands.h"
#include "app/cli/draw_list.h"
#include "app/cli/layout_document.h"
#include "layout/draw_document.h"
#include "render/music_font.h"

namespace nuo4::cli {

namespace {

struct TRenderArgs {
    std::string Input, Output, DrawList;
    double Dpi = 150;
    int Page = 0;  // from 1; 0 for all
    bool bAux = false;
};

bool ParseRenderArgs(const TArgs& A, TRenderArgs& R, std::string& AError) {
    for (size_t I = 0; I < A.size(); ++I) {
        const std::string& S = A[I];
        auto Value = [&](std::string& AOut) {
            if (I + 1 >= A.size()) return false;
            AOut = A[++I];
            return true;
        };
        std::string V;
        if (S == "-o") {
            if (!Value(R.Output)) return AError = "-o needs a file", false;
        } else if (S == "--dpi") {
            if (!Value(V)) return AError = "--dpi needs a number", false;
            char* End = nullptr;
            R.Dpi = std::strtod(V.c_str(), &End);
            if (*End || !(R.Dpi >= 10 && R.Dpi <= 1200))
                return AError = "--dpi must lie between 10 and 1200", false;
        } else if (S == "--page") {
            if (!Value(V)) return AError = "--page needs a number", false;
            char* End = nullptr;
            const long P = std::strtol(V.c_str(), &End, 10);
            if (*End || P < 1 || P > 100000) return AError = "--page must be a page number", false;
            R.Page = int(P);
        } else if (S == "--draw-list") {
            if (!Value(R.DrawList)) return AError = "--draw-list needs a file", false;
        } else if (S == "--aux") {
            R.bAux = true;
        } else if (!S.empty() && S[0] == '-') {
            return AError = "unknown option '" + S + "'", false;
        } else if (R.Input.empty()) {
            R.Input = S;
        } else {
            return AError = "unexpected argument '" + S + "'", false;
        }
    }
    if (R.Input.empty()) return AError = "expected a score file", false;
    if (R.Output.empty()) return AError = "give the output with -o OUT.pdf|OUT.svg|OUT.png", false;
    return true;
}

std::string Lower(std::string S) {
    for (char& C : S) C = char(std::tolower(static_cast<unsigned char>(C)));
    return S;
}

bool EndsWith(const std::string& S, const std::string& AEnd) {
    return S.size() >= AEnd.size() && Lower(S.substr(S.size() - AEnd.size())) == AEnd;
}

// OUT for a single page, else OUT-N before the extension.
std::string PagePath(const std::string& AOut, int APageNumber, bool bSeveral) {
    if (!bSeveral) return AOut;
    const size_t Dot = AOut.find_last_of('.');
    return AOut.substr(0, Dot) + "-" + std::to_string(APageNumber) + AOut.substr(Dot);
}

// One page on a surface at the paper's top-left: like the printer, or with the view's aids.
void DrawPage(TNuo4SimpleBuffer& B, QPainter& P, int32_t APage, bool bAux) {
    TKoGraphics G(&P);
    PrepareGraphics(G, 1.0);
    SetDestGraphics(&G);
    const TrecNuo4AuxInfoSettings& A = Nuo4AuxInfoSettings();
    if (bAux) {
        Draw_AllSymbols_Page(B, G, odDisplay, APage, A.bShowBarNumber, A.bShowLineNumber,
                             A.bShowPageNumber, false, nullptr);
        DrawAWCoefLockedIndicator(B, G, APage);
        DrawPageBreakMarker(B, G, APage);
    } else {
        Draw_AllSymbols_Page(B, G, odPrinter, APage, false, false, false, true, nullptr);
    }
    SetDestGraphics(nullptr);
}

// Draws a page, recording its symbols into APages when asked.
void DrawPageRecorded(TNuo4SimpleBuffer& B, QPainter& P, int32_t APage, bool bAux, json* APages) {
    if (!APages) return DrawPage(B, P, APage, bAux);
    json List = RecordDrawList([&] { DrawPage(B, P, APage, bAux); });
    // The document's title block is drawn from outlines, not as a symbol.
    if (APage == 0 && B.bWithTitleBlock) {
        std::vector<QPainterPath> Title;
        for (const auto& Line : B.TitleBlockPathes)
            Title.insert(Title.end(), Line.begin(), Line.end());
        List.push_back(DrawListFillEntry("TitleBlock", Title));
    }
    APages->push_back(std::move(List));
}

std::string_view BytesOf(const QByteArray& A) {
    return std::string_view(A.constData(), size_t(A.size()));
}

}  // namespace

int RunRender(const TArgs& AArgs, std::ostream& AOut, std::ostream& AErr) {
    TRenderArgs R;
    std::string Error;
    if (!ParseRenderArgs(AArgs, R, Error)) {
        AErr << "nuo4-cli render: " << Error
             << " (usage: nuo4-cli render FILE -o OUT [--dpi N] [--page N] [--aux] "
                "[--draw-list LIST])\n";
        return 2;
    }
    const bool bPdf = EndsWith(R.Output, ".pdf"), bSvg = EndsWith(R.Output, ".svg"),
               bPng = EndsWith(R.Output, ".png");
    if (!bPdf && !bSvg && !bPng) {
        AErr << "nuo4-cli render: the output must end with .pdf, .svg or .png\n";
        return 2;
    }
    TLayoutDocument Doc;
    if (!LoadLayoutDocument(R.Input, Doc, Error)) {
        AErr << "nuo4-cli render: " << Error << "\n";
        return 2;
    }
    if (const std::string Note = ScoreEncodingNote(R.Input, Doc.Encoding); !Note.empty())
        AErr << "nuo4-cli render: " << Note << "\n";
    TNuo4SimpleBuffer& B = *Doc.Buffer;
    // A text without lines still has its first page (title, page symbols).
    const int32_t Count = std::max<int32_t>(1, int32_t(B.PageInfoArray.size()));
    if (R.Page > Count) {
        AErr << "nuo4-cli render: the score has " << Count << " page(s), not " << R.Page << "\n";
        return 2;
    }
    const int32_t First = R.Page ? R.Page - 1 : 0, Last = R.Page ? R.Page - 1 : Count - 1;
    Nuo4AuxInfoSettings().SetToDefault();
    if (R.bAux)
        Nuo4AuxInfoSettings().SetAllOn();
    else
        Nuo4AuxInfoSettings().SetAllOff();
    const TrecNuo4DocOptionsParam_Paper Paper = Nuo4DocOptions().Param_Paper;
    const QSizeF PaperMM(Paper.Width, Paper.Height);
    json Pages = json::array();
    json* Record = R.DrawList.empty() ? nullptr : &Pages;
    auto Finish = [&] {
        if (Record && !WriteOutputFile(R.DrawList, Pages.dump() + "\n", "render", AErr)) return 2;
        return 0;
    };

    if (bPdf) {
        QBuffer Bytes;
        Bytes.open(QIODevice::WriteOnly);
        QPdfWriter Writer(&Bytes);
        Writer.setPageSize(
            QPageSize(PaperMM, QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
        Writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        Writer.setResolution(1200);
        Writer.setCreator(QStringLiteral("nuo4-cli render"));
        QPainter P;
        if (!P.begin(&Writer)) {
            AErr << "nuo4-cli render: cannot write '" << R.Output << "'\n";
            return 2;
        }
        for (int32_t Pg = First; Pg <= Last; ++Pg) {
            if (Pg > First) Writer.newPage();
            DrawPageRecorded(B, P, Pg, R.bAux, Record);
        }
        if (!P.end() || Bytes.data().isEmpty()) {
            AErr << "nuo4-cli render: cannot write '" << R.Output
                 << "': the PDF could not be finished\n";
            return 2;
        }
        if (!WriteOutputFile(R.Output, BytesOf(Bytes.data()), "render", AErr)) return 2;
        AOut << R.Output << ": " << (Last - First + 1) << " page(s)\n";
        return Finish();
    }
    const bool bSeveral = Last > First;
    for (int32_t Pg = First; Pg <= Last; ++Pg) {
        const std::string Path = PagePath(R.Output, Pg + 1, bSeveral);
        QBuffer Bytes;
        Bytes.open(QIODevice::WriteOnly);
        bool bOk = true;
        if (bSvg) {
            constexpr double SvgDpi = 96;
            QSvgGenerator Svg;
            Svg.setOutputDevice(&Bytes);
            Svg.setResolution(int(SvgDpi));
            const QSize Px(qRound(PaperMM.width() / 25.4 * SvgDpi),
                           qRound(PaperMM.height() / 25.4 * SvgDpi));
            Svg.setSize(Px);
            Svg.setViewBox(QRect(QPoint(0, 0), Px));
            QPainter P;
            bOk = P.begin(&Svg);
            if (bOk) {
                P.fillRect(QRect(QPoint(0, 0), Px), Qt::white);
                DrawPageRecorded(B, P, Pg, R.bAux, Record);
                bOk = P.end();
            }
        } else {
            const int W = qRound(PaperMM.width() / 25.4 * R.Dpi),
                      H = qRound(PaperMM.height() / 25.4 * R.Dpi);
            QImage Img(W, H, QImage::Format_RGB32);
            if (Img.isNull()) {
                AErr << "nuo4-cli render: cannot write '" << Path << "': no memory for a " << W
                     << " by " << H << " pixel page\n";
                return 2;
            }
            Img.setDotsPerMeterX(qRound(R.Dpi / 0.0254));
            Img.setDotsPerMeterY(qRound(R.Dpi / 0.0254));
            Img.fill(Qt::white);
            {
                QPainter P(&Img);
                DrawPageRecorded(B, P, Pg, R.bAux, Record);
            }
            bOk = Img.save(&Bytes, "PNG");
        }
        if (!bOk || Bytes.data().isEmpty()) {
            AErr << "nuo4-cli render: cannot write '" << Path << "': the " << (bSvg ? "SVG" : "PNG")
                 << " could not be made\n";
            return 2;
        }
        if (!WriteOutputFile(Path, BytesOf(Bytes.data()), "render", AErr)) return 2;
        AOut << Path << "\n";
    }
    return Finish();
}

}  // namespace nuo4::cli
