#include "layout/export_document.h"

#include <QBuffer>
#include <QHash>
#include <QPageSize>
#include <QPdfWriter>
#include <QRegularExpression>
#include <algorithm>
#include <vector>

#include "format/doc_options.h"
#include "format/section_title.h"
#include "layout/draw_document.h"
#include "layout/simple_buffer.h"
#include "render/music_font.h"
#include "render/svg_device.h"

namespace nuo4 {

namespace {

// A text without lines still has its first page (title, page symbols).
int32_t PageCount(const TNuo4SimpleBuffer& B) {
    return std::max<int32_t>(1, int32_t(B.PageInfoArray.size()));
}

QString TitleText(const TNuo4SimpleBuffer& B, TNuo4SectionTitleItemType AType) {
    if (!B.GetABCBuffer()) return QString();
    const std::u16string& S = B.GetABCBuffer()->Section_Title.Buffer.GetText(AType);
    return QString::fromUtf16(S.data(), qsizetype(S.size())).simplified();
}

QString XmlEscaped(const QString& S) {
    return S.toHtmlEscaped();
}

// Title and author as XMP, the document metadata every PDF reader shows.
QByteArray XmpMetadata(const QString& ATitle, const QString& AAuthor) {
    QString X = QStringLiteral(
        "<?xpacket begin=\"\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
        "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
        "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
        "<rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
        "xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\" xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\">\n");
    X += QStringLiteral(
             "<dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">%1</rdf:li></rdf:Alt>"
             "</dc:title>\n")
             .arg(XmlEscaped(ATitle));
    if (!AAuthor.isEmpty())
        X += QStringLiteral("<dc:creator><rdf:Seq><rdf:li>%1</rdf:li></rdf:Seq></dc:creator>\n")
                 .arg(XmlEscaped(AAuthor));
    X += QStringLiteral(
        "<pdf:Producer>Nuo4</pdf:Producer>\n<xmp:CreatorTool>Nuo4</xmp:CreatorTool>\n"
        "</rdf:Description>\n</rdf:RDF>\n</x:xmpmeta>\n<?xpacket end=\"w\"?>");
    return X.toUtf8();
}

// A PDF text string: UTF-16BE with its byte-order mark, in hexadecimal.
QByteArray PdfTextString(const QString& S) {
    QByteArray B("<FEFF");
    for (const QChar C : S) B += QByteArray::number(C.unicode() + 0x10000, 16).mid(1).toUpper();
    return B + '>';
}

// Appends an incremental update to the writer's file: document information that names the title
// and the author (the writer has no author of its own), and the font dictionaries again with
// the subset tag their descriptors already carry, so that readers see the fonts as the subsets
// they are. The update is the new objects, their cross-reference section and a trailer that
// points back to the writer's. The file is left as it is when its trailer cannot be read.
void AddPdfUpdate(QByteArray& APdf, const QString& ATitle, const QString& AAuthor) {
    const qsizetype T = APdf.lastIndexOf("trailer"), X = APdf.lastIndexOf("startxref");
    if (T < 0 || X < T) return;
    const QString TrailerText = QString::fromLatin1(APdf.mid(T, X - T));
    const QRegularExpression SizeRe(QStringLiteral("/Size\\s+(\\d+)")),
        RootRe(QStringLiteral("/Root\\s+(\\d+\\s+\\d+\\s+R)")),
        IdRe(QStringLiteral("/ID\\s*(\\[[^\\]]*\\])"));
    const auto Size = SizeRe.match(TrailerText), Root = RootRe.match(TrailerText),
               Id = IdRe.match(TrailerText);
    bool bOk = false;
    const qint64 PrevXref =
        QString::fromLatin1(APdf.mid(X + 9, 32)).simplified().section(' ', 0, 0).toLongLong(&bOk);
    if (!Size.hasMatch() || !Root.hasMatch() || !bOk) return;
    const int Info = Size.captured(1).toInt();
    // Font names by their tagged names.
    const QString Text = QString::fromLatin1(APdf.left(T));
    QHash<QString, QString> Tagged;
    const QRegularExpression TagRe(QStringLiteral("/FontName /([A-Z]{6})\\+([^\\s/<>\\[\\]()]+)"));
    for (auto It = TagRe.globalMatch(Text); It.hasNext();) {
        const auto M = It.next();
        Tagged.insert(M.captured(2), M.captured(1) + '+' + M.captured(2));
    }
    const QRegularExpression FontRe(QStringLiteral(
        "(?:^|\\n)(\\d+) 0 obj\\n(<< /Type /Font\\n/Subtype /(?:Type0|CIDFontType2)\\n/BaseFont "
        "/)([^\\s/]+)([^e]*(?:e(?!ndobj)[^e]*)*)endobj"));
    std::vector<std::pair<int, QByteArray>> Objects;
    for (auto It = FontRe.globalMatch(Text); It.hasNext();) {
        const auto M = It.next();
        const auto Name = Tagged.constFind(M.captured(3));
        if (Name == Tagged.constEnd()) continue;
        Objects.push_back({M.captured(1).toInt(),
                           (M.captured(2) + *Name + M.captured(4)).toLatin1() + "endobj\n"});
    }
    QByteArray InfoObject = "<<\n/Title " + PdfTextString(ATitle);
    if (!AAuthor.isEmpty()) InfoObject += "\n/Author " + PdfTextString(AAuthor);
    InfoObject += "\n/Creator (Nuo4)\n/Producer (Nuo4)\n>>\nendobj\n";
    Objects.push_back({Info, InfoObject});
    if (!APdf.endsWith('\n')) APdf += '\n';
    QByteArray Xref = "xref\n";
    for (const auto& [Number, Body] : Objects) {
        Xref += QByteArray::number(Number) + " 1\n" +
                QByteArray::number(APdf.size()).rightJustified(10, '0') + " 00000 n \n";
        APdf += QByteArray::number(Number) + " 0 obj\n" + Body;
    }
    const qsizetype XrefPos = APdf.size();
    APdf += Xref;
    APdf += "trailer\n<<\n/Size " + QByteArray::number(Info + 1) + "\n/Root " +
            Root.captured(1).toLatin1() + "\n/Info " + QByteArray::number(Info) + " 0 R\n";
    if (Id.hasMatch()) APdf += "/ID " + Id.captured(1).toLatin1() + "\n";
    APdf += "/Prev " + QByteArray::number(PrevXref) + "\n>>\nstartxref\n" +
            QByteArray::number(XrefPos) + "\n%%EOF\n";
}

void DrawThrough(const TNuo4PageDrawHook& AHook, int32_t APage, const std::function<void()>& F) {
    if (AHook)
        AHook(APage, F);
    else
        F();
}

}  // namespace

void Nuo4DrawPageForExport(TNuo4SimpleBuffer& B, QPainter& APainter, int32_t APage, bool bAux,
                           QPointF AOrigin) {
    TKoGraphics G(&APainter);
    PrepareGraphics(G, 1.0);
    if (!AOrigin.isNull()) G.TranslateTransform(-AOrigin.x(), -AOrigin.y());
    TKoGraphics* Old = GetDestGraphics();
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
    SetDestGraphics(Old);
}

QString Nuo4ExportTitle(const TNuo4SimpleBuffer& B) {
    return TitleText(B, tbitTitle);
}

QString Nuo4ExportAuthor(const TNuo4SimpleBuffer& B) {
    return TitleText(B, tbitWordsByAndMusicBy);
}

bool Nuo4ExportPagesToPdf(TNuo4SimpleBuffer& B, QIODevice& ADevice, TKoRange APages, bool bAux,
                          const TNuo4PageDrawHook& AHook) {
    if (!APages.IsNonEmpty() || APages.StartIndex < 0 || APages.EndIndex() >= PageCount(B))
        return false;
    const TrecNuo4DocOptionsParam_Paper Paper = Nuo4DocOptions().Param_Paper;
    // Written whole first: the document information goes on at its end.
    QBuffer Bytes;
    Bytes.open(QIODevice::WriteOnly);
    QPdfWriter Writer(&Bytes);
    if (!Writer.setPageSize(QPageSize(QSizeF(Paper.Width, Paper.Height), QPageSize::Millimeter,
                                      QString(), QPageSize::ExactMatch)))
        return false;
    Writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    Writer.setResolution(1200);
    const QString Title = Nuo4ExportTitle(B), Author = Nuo4ExportAuthor(B);
    Writer.setTitle(Title);
    Writer.setCreator(QStringLiteral("Nuo4"));
    Writer.setDocumentXmpMetadata(XmpMetadata(Title, Author));
    QPainter P;
    if (!P.begin(&Writer)) return false;
    for (int32_t Pg = APages.StartIndex; Pg <= APages.EndIndex(); ++Pg) {
        if (Pg > APages.StartIndex && !Writer.newPage()) {
            P.end();
            return false;
        }
        DrawThrough(AHook, Pg, [&] { Nuo4DrawPageForExport(B, P, Pg, bAux); });
    }
    if (!P.end()) return false;
    QByteArray Pdf = Bytes.data();
    AddPdfUpdate(Pdf, Title, Author);
    return ADevice.write(Pdf) == Pdf.size();
}

bool Nuo4ExportPageToSvg(TNuo4SimpleBuffer& B, QIODevice& ADevice, int32_t APage, bool bAux,
                         const TNuo4PageDrawHook& AHook) {
    if (APage < 0 || APage >= PageCount(B)) return false;
    const TrecNuo4DocOptionsParam_Paper Paper = Nuo4DocOptions().Param_Paper;
    constexpr double SvgDpi = 96;
    const QSize Px(qRound(Paper.Width / 25.4 * SvgDpi), qRound(Paper.Height / 25.4 * SvgDpi));
    TKoSvgDevice Svg(Px, SvgDpi);
    Svg.SetTitle(Nuo4ExportTitle(B));
    Svg.SetDescription(Nuo4ExportAuthor(B));
    QPainter P;
    if (!P.begin(&Svg)) return false;
    // The aids of the view have no paper of their own.
    if (bAux) P.fillRect(QRect(QPoint(0, 0), Px), Qt::white);
    DrawThrough(AHook, APage, [&] { Nuo4DrawPageForExport(B, P, APage, bAux); });
    return P.end() && ADevice.write(Svg.Data()) == Svg.Data().size();
}

}  // namespace nuo4
