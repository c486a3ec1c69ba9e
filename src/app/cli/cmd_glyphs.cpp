// "glyphs": a specimen sheet of the embedded music font, drawn through the render library:
// every note digit face and every glyph descriptor with its name, code point, box and
// reference point, and the code-point families reached through the descriptors.
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <cstdlib>
#include <functional>
#include <memory>
#include <ostream>
#include <vector>

#include "app/cli/cli_files.h"
#include "app/cli/commands.h"
#include "app/cli/draw_list.h"
#include "app/cli/sheet_symbols.h"
#include "render/draw_utils.h"
#include "render/music_font.h"

namespace nuo4::cli {

namespace {

// Fonts need a GUI application; a headless run gets the offscreen platform. The one made here
// lives for the command only: destroyed after main returns it would outlive Qt's own globals.
std::unique_ptr<QGuiApplication> MakeGuiApplication() {
    if (QCoreApplication::instance()) return nullptr;
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int Argc = 1;
    static char Name[] = "nuo4-cli";
    static char* Argv[] = {Name, nullptr};
    return std::make_unique<QGuiApplication>(Argc, Argv);
}

constexpr double PageW = 210, PageH = 297, Margin = 14;
constexpr TGPColor Ink = 0xFF1A1A1A, Muted = 0xFF6B6B6B, Accent = 0xFF1F5FAF, RefColor = 0xFFD0312D,
                   BoxFill = 0xFFEAF1FA, BoxLine = 0xFF9DB8D9, CardFill = 0xFFFAFAF7,
                   CardLine = 0xFFD9D6CC, Rule = 0xFFB8B2A3;

// The usages the sheet writes with.
constexpr TNuo4FontUsage TitleFont = fuMemo4, HeadFont = fuMemo3, LabelFont = fuMemo2,
                         SmallFont = fuMemo1;

void SetSheetFonts() {
    MusicFont_SetFont(TitleFont, QStringLiteral("微软雅黑"), 7.5, FontStyleBold);
    MusicFont_SetFont(HeadFont, QStringLiteral("微软雅黑"), 4.2, FontStyleBold);
    MusicFont_SetFont(LabelFont, QStringLiteral("微软雅黑"), 2.6, 0);
    MusicFont_SetFont(SmallFont, QStringLiteral("DejaVu Sans Mono"), 1.9, 0);
}

QString Hex(char16_t C) {
    return QStringLiteral("U+%1").arg(int(C), 4, 16, QLatin1Char('0')).toUpper();
}

// Draws the sheet onto a surface page by page; a paged sheet breaks before a block that does
// not fit, a continuous one grows downwards.
class TSheet {
  public:
    TSheet(TKoGraphics& G, bool bPaged, std::function<void()> ANewPage)
        : FG(G), FPaged(bPaged), FNewPage(std::move(ANewPage)) {}

    double Y = Margin;
    int Pages = 1;

    void Need(double AHeight) {
        if (!FPaged || Y + AHeight <= PageH - Margin) return;
        Footer();
        FNewPage();
        ++Pages;
        Y = Margin;
    }
    void Text(TNuo4FontUsage AUsage, const QString& S, QPointF P, TTextRectPos APos,
              TGPColor AColor) {
        TGPRectF B;
        const QPainterPath Path = MusicFont_GetTextPath_AtPos_NoCached(AUsage, S, P, APos, B);
        FG.FillPath(Path, AColor);
    }
    void Line(QPointF A, QPointF B, TGPColor AColor, double AWidth) {
        QPainterPath P(A);
        P.lineTo(B);
        TKoGDIPlusPath::PathStroke_Solid(&FG, P, AColor, AWidth);
    }
    void RefMark(QPointF P) {
        const double R = 0.9;
        Line(P - QPointF(R, 0), P + QPointF(R, 0), RefColor, 0.15);
        Line(P - QPointF(0, R), P + QPointF(0, R), RefColor, 0.15);
        QPainterPath C;
        C.addEllipse(P, 0.35, 0.35);
        TKoGDIPlusPath::PathStroke_Solid(&FG, C, RefColor, 0.12);
    }
    void Heading(const QString& ATitle, const QString& ANote) {
        Need(16);
        Y += 3;
        Text(HeadFont, ATitle, QPointF(Margin, Y), rpLeftTop, Ink);
        Text(LabelFont, ANote, QPointF(PageW - Margin, Y + 1.2), rpRightTop, Muted);
        Y += 6.5;
        Line(QPointF(Margin, Y), QPointF(PageW - Margin, Y), Rule, 0.2);
        Y += 3;
    }
    void Footer() {
        if (!FPaged) return;
        Text(SmallFont, QStringLiteral("Nuo4Core  ·  %1").arg(Pages), QPointF(PageW / 2, PageH - 7),
             rpMiddleTop, Muted);
    }
    TKoGraphics& G() { return FG; }

  private:
    TKoGraphics& FG;
    bool FPaged;
    std::function<void()> FNewPage;
};

void DrawHeader(TSheet& S) {
    const TNuo4MusicFont& F = Nuo4MusicFont();
    S.Text(TitleFont, QStringLiteral("Nuo4Core 音乐字体样张"), QPointF(Margin, S.Y), rpLeftTop,
           Ink);
    S.Y += 11;
    const QRawFont& Raw = F.CoreRawFont();
    const QString Info =
        F.CoreFontLoaded()
            ? QStringLiteral("字族 %1  ·  每 em %2 单位  ·  上升 %3  ·  下降 %4  ·  %5 个描述符")
                  .arg(Raw.familyName())
                  .arg(Raw.unitsPerEm())
                  .arg(Raw.ascent())
                  .arg(Raw.descent())
                  .arg(Nuo4CoreFontSymbolCount)
            : QStringLiteral("音乐字体资源缺失：字形为空，尺寸照常计算");
    S.Text(LabelFont, Info, QPointF(Margin, S.Y), rpLeftTop, Muted);
    S.Y += 5;
    // Legend.
    const double LY = S.Y + 2;
    QPainterPath Box;
    Box.addRect(TGPRectF(Margin, LY - 1.5, 5, 3));
    S.G().FillPath(Box, BoxFill);
    TKoGDIPlusPath::PathStroke_Solid(&S.G(), Box, BoxLine, 0.15);
    S.Text(LabelFont, QStringLiteral("描述符的框 (设计单位, y 向上: x, 上沿 y, 宽, 高)"),
           QPointF(Margin + 7, LY), rpLeftMiddle, Muted);
    S.RefMark(QPointF(Margin + 100, LY));
    S.Text(LabelFont, QStringLiteral("参考点 (落在符号原点上)"), QPointF(Margin + 102.5, LY),
           rpLeftMiddle, Muted);
    S.Y += 7;
}

// One glyph in its box: the box at one design unit = AUnit mm, centred in ACell.
void DrawGlyphInBox(TSheet& S, const TrecNuo4CoreFontSymbolInfoItem& AInfo, double AUnit,
                    const TGPRectF& ACell, bool bShowBox, bool bBaseline = false) {
    TNuo4MusicFont& F = Nuo4MusicFont();
    TGPRectF B;
    QPainterPath P =
        F.CreatePath_CoreFont_Char(&S.G(), AInfo, TGPSizeF(400 * AUnit, 0), 1.0, B, false);
    const QPointF Origin(ACell.center().x() - B.center().x(), ACell.center().y() - B.center().y());
    if (bShowBox) {
        QPainterPath Box;
        Box.addRect(B.translated(Origin));
        S.G().FillPath(Box, BoxFill);
        TKoGDIPlusPath::PathStroke_Solid(&S.G(), Box, BoxLine, 0.12);
    }
    if (bBaseline) {
        // The font's baseline (design y = 0) across the cell.
        const double BaseY = Origin.y() + AInfo.RefPt.y() * AUnit;
        QPainterPath L(QPointF(ACell.left() + 1, BaseY));
        L.lineTo(QPointF(ACell.right() - 1, BaseY));
        TKoGDIPlusPath::PathStroke_Dashed(&S.G(), L, Rule, 0.1, 0.6, 0.5);
    }
    P.translate(Origin);
    S.G().FillPath(P, Ink);
    S.RefMark(Origin);
}

void DrawDigitFaces(TSheet& S) {
    S.Heading(
        QStringLiteral("音符数字"),
        QStringLiteral("U+0030 + 9 × 字面 + 数字；数字 8 为鼓点叉 · 框 \"Digit0\" 400 × 500"));
    static const char* FaceNames[] = {"dfFace0  标准", "dfFace1  雅致", "dfFace2  正体",
                                      "dfFace3  手写"};
    const double LabelW = 30, CellW = (PageW - 2 * Margin - LabelW) / 9, RowH = 17;
    const double Unit = 0.021;  // a 8.4 x 10.5 mm digit cell
    const auto& Digit0 = CoreFontSymbolInfo(cfsDigit0);
    for (int Face = 0; Face < CoreFont_NoteDigitFaceCount; ++Face) {
        S.Need(RowH);
        S.Text(LabelFont, QString::fromUtf8(FaceNames[Face]), QPointF(Margin, S.Y + 6.5),
               rpLeftMiddle, Ink);
        for (int D = 0; D <= DigitDrum; ++D) {
            const char16_t Code = CoreFont_NoteDigitCode(D, TNuo4DigitFace(Face));
            const TGPRectF Cell(Margin + LabelW + D * CellW, S.Y, CellW, 13);
            DrawGlyphInBox(S, Digit0.WithUnicode(Code), Unit, Cell, true);
            S.Text(SmallFont, Hex(Code), QPointF(Cell.center().x(), S.Y + 13.6), rpMiddleTop,
                   Accent);
        }
        S.Y += RowH;
    }
    S.Y += 2;
}

void DrawDescriptors(TSheet& S) {
    S.Heading(
        QStringLiteral("字形描述符"),
        QStringLiteral("67 个 · 名称 · 码位 · 框 · 参考点 · 虚线为基线 · 1 设计单位 = 0.016 mm"));
    const int Cols = 4;
    const double Gap = 2.5, CardW = (PageW - 2 * Margin - (Cols - 1) * Gap) / Cols;
    const double GlyphH = 19, CardH = GlyphH + 12, Unit = 0.016;
    for (int Row = 0; Row * Cols < Nuo4CoreFontSymbolCount; ++Row) {
        S.Need(CardH + Gap);
        for (int C = 0; C < Cols; ++C) {
            const int I = Row * Cols + C;
            if (I >= Nuo4CoreFontSymbolCount) break;
            const auto& Info = Nuo4CoreFontSymbols[I];
            const double X = Margin + C * (CardW + Gap);
            const TGPRectF Card(X, S.Y, CardW, CardH);
            const QPainterPath Frame = TKoGDIPlusPath::CreateRoundedRect(Card, 1.2);
            S.G().FillPath(Frame, CardFill);
            TKoGDIPlusPath::PathStroke_Solid(&S.G(), Frame, CardLine, 0.15);
            DrawGlyphInBox(S, Info, Unit, TGPRectF(X + 1, S.Y + 3.5, CardW - 2, GlyphH - 3), true,
                           true);
            const QRectF& Bx = Info.BlackBox;
            double TY = S.Y + GlyphH + 1.8;
            S.Text(SmallFont, QString::number(I), QPointF(X + 1.5, S.Y + 1.5), rpLeftTop, Muted);
            S.Text(SmallFont, Hex(Info.Unicode), QPointF(X + CardW - 1.5, S.Y + 1.5), rpRightTop,
                   Accent);
            S.Text(LabelFont, QString::fromUtf16(Info.ShortName), QPointF(X + 1.5, TY), rpLeftTop,
                   Ink);
            if (std::u16string_view(Info.DetailName) != Info.ShortName)
                S.Text(SmallFont, QString::fromUtf16(Info.DetailName),
                       QPointF(X + CardW - 1.5, TY + 0.4), rpRightTop, Muted);
            TY += 4.6;
            S.Text(SmallFont,
                   QStringLiteral("框 %1, %2, %3, %4")
                       .arg(Bx.x())
                       .arg(Bx.y())
                       .arg(Bx.width())
                       .arg(Bx.height()),
                   QPointF(X + 1.5, TY), rpLeftTop, Ink);
            TY += 2.8;
            S.Text(SmallFont,
                   QStringLiteral("参考点 %1, %2").arg(Info.RefPt.x()).arg(Info.RefPt.y()),
                   QPointF(X + 1.5, TY), rpLeftTop, RefColor);
        }
        S.Y += CardH + Gap;
    }
}

void DrawFamilies(TSheet& S) {
    S.Heading(QStringLiteral("码位族"), QStringLiteral("由描述符的码位加偏移得到，共用其框"));
    struct TFamily {
        const char* Name;
        TNuo4CoreFontSymbol Descriptor;
        char16_t First;
        int Count;
        const char* Labels;
    };
    static const TFamily Families[] = {
        {"变音记号  Natural", cfsNatural, CoreFont_FirstAccidental, 3, "还原 升 降"},
        {"通用数字  拍号、连音", cfsGeneralDigit0, CoreFont_FirstGeneralDigit, 10, ""},
        {"第二套数字  序号、速度", cfsSecondDigit0, CoreFont_FirstSecondDigit, 10, ""},
        {"调号字母", cfsKeyC, CoreFont_FirstKeyLetter, 7, "C D E F G A B"},
    };
    const double LabelW = 40, CellW = (PageW - 2 * Margin - LabelW) / 10, RowH = 17;
    for (const auto& Fam : Families) {
        S.Need(RowH);
        S.Text(LabelFont, QString::fromUtf8(Fam.Name), QPointF(Margin, S.Y + 6.5), rpLeftMiddle,
               Ink);
        const auto& Info = CoreFontSymbolInfo(Fam.Descriptor);
        // Key letters have a 500-wide cell: a smaller unit keeps them in the column.
        const double Unit = Info.BlackBox.width() > 400 ? 0.02 : 0.024;
        const QStringList Labels = QString::fromUtf8(Fam.Labels).split(' ', Qt::SkipEmptyParts);
        for (int K = 0; K < Fam.Count; ++K) {
            const char16_t Code = char16_t(Fam.First + K);
            const TGPRectF Cell(Margin + LabelW + K * CellW, S.Y, CellW, 13);
            DrawGlyphInBox(S, Info.WithUnicode(Code), Unit, Cell, true);
            QString L = Hex(Code);
            if (K < Labels.size()) L = Labels[K] + QStringLiteral(" ") + L.mid(2);
            S.Text(SmallFont, L, QPointF(Cell.center().x(), S.Y + 13.6), rpMiddleTop, Accent);
        }
        S.Y += RowH;
    }
}

// The sections of the symbol page, in order.
std::vector<TSymbolSpecimenSection> SymbolSections() {
    std::vector<TSymbolSpecimenSection> R;
    for (const auto& Part :
         {BasicSymbolSpecimenSections(), NoteSymbolSpecimenSections(), ArcSymbolSpecimenSections()})
        R.insert(R.end(), Part.begin(), Part.end());
    return R;
}

// The height a section takes, from a dry run on an image without pixels.
double SectionHeight(const TSymbolSpecimenSection& ASection, double AWidth) {
    QImage Probe(10, 10, QImage::Format_ARGB32);
    Probe.setDotsPerMeterX(11811);
    Probe.setDotsPerMeterY(11811);
    QPainter P(&Probe);
    TKoGraphics G(&P);
    PrepareGraphics(G, 1.0);
    TKoGraphics* Dest = GetDestGraphics();
    SetDestGraphics(&G);
    const double H = ASection.Draw(G, 0, 0, AWidth);
    SetDestGraphics(Dest);
    return H;
}

// Real symbols drawn through their classes, section by section.
void DrawSymbolsSheet(TSheet& S) {
    S.Text(TitleFont, QStringLiteral("Nuo4 符号样张"), QPointF(Margin, S.Y), rpLeftTop, Ink);
    S.Y += 11;
    S.Text(
        LabelFont,
        QStringLiteral("音符、和弦、倚音、技法记号等由符号类绘制；浅色线为常规样式的数字格上下沿"),
        QPointF(Margin, S.Y), rpLeftTop, Muted);
    S.Y += 5;
    const double Width = PageW - 2 * Margin;
    for (const TSymbolSpecimenSection& Section : SymbolSections()) {
        const double H = SectionHeight(Section, Width);
        S.Need(H + 16);
        S.Heading(QString::fromUtf8(Section.Title), QString());
        S.Y += Section.Draw(S.G(), Margin, S.Y, Width);
    }
    S.Footer();
}

bool GSymbolsSheet = false;

void DrawSheet(TSheet& S) {
    if (GSymbolsSheet) {
        DrawSymbolsSheet(S);
        return;
    }
    DrawHeader(S);
    DrawDigitFaces(S);
    DrawFamilies(S);
    DrawDescriptors(S);
    S.Footer();
}

// The height the continuous sheet needs, from a dry run on an image without pixels.
double ContinuousHeight() {
    QImage Probe(10, 10, QImage::Format_ARGB32);
    Probe.setDotsPerMeterX(11811);
    Probe.setDotsPerMeterY(11811);
    QPainter P(&Probe);
    TKoGraphics G(&P);
    PrepareGraphics(G, 1.0);
    TSheet S(G, false, [] {});
    DrawSheet(S);
    return S.Y + Margin;
}

}  // namespace

int RunGlyphs(const TArgs& AArgs, std::ostream& AOut, std::ostream& AErr) {
    // Every run chooses its sheet afresh: a "--symbols" run must not leak into the next one.
    GSymbolsSheet = false;
    std::string OutPath, DrawListPath;
    for (size_t I = 0; I < AArgs.size(); ++I) {
        if ((AArgs[I] == "-o" || AArgs[I] == "--output") && I + 1 < AArgs.size())
            OutPath = AArgs[++I];
        else if (AArgs[I] == "--draw-list" && I + 1 < AArgs.size())
            DrawListPath = AArgs[++I];
        else if (AArgs[I] == "--symbols")
            GSymbolsSheet = true;
        else {
            AErr << "nuo4-cli glyphs: unexpected argument '" << AArgs[I] << "'\n";
            return 2;
        }
    }
    const QString Path = QString::fromStdString(OutPath);
    const bool bPdf = Path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
    const bool bPng = Path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive);
    if (OutPath.empty() || (!bPdf && !bPng)) {
        AErr << "nuo4-cli glyphs: give the output with -o FILE.png or -o FILE.pdf\n";
        return 2;
    }
    std::unique_ptr<QGuiApplication> App = MakeGuiApplication();
    Nuo4Render_Init();
    SetSheetFonts();
    // The music font goes before the application that made it.
    struct TRenderDone {
        bool bOwn;
        ~TRenderDone() {
            if (bOwn) Nuo4Render_Done();
        }
    } RenderDone{App != nullptr};

    if (!DrawListPath.empty() && bPdf) {
        AErr << "nuo4-cli glyphs: --draw-list goes with a PNG output\n";
        return 2;
    }
    int Pages = 1;
    json DrawList;
    // Drawn in memory, then written in one atomic step.
    QBuffer Bytes;
    Bytes.open(QIODevice::WriteOnly);
    if (bPdf) {
        QPdfWriter Writer(&Bytes);
        Writer.setPageSize(QPageSize(QPageSize::A4));
        Writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        Writer.setResolution(600);
        Writer.setTitle(QStringLiteral("Nuo4Core"));
        Writer.setCreator(QStringLiteral("nuo4-cli glyphs"));
        QPainter P;
        if (!P.begin(&Writer)) {
            AErr << "nuo4-cli glyphs: cannot write '" << OutPath << "'\n";
            return 2;
        }
        TKoGraphics G(&P);
        PrepareGraphics(G, 1.0);
        SetDestGraphics(&G);
        TSheet S(G, true, [&Writer] { Writer.newPage(); });
        DrawSheet(S);
        SetDestGraphics(nullptr);
        Pages = S.Pages;
        if (!P.end()) {
            AErr << "nuo4-cli glyphs: cannot write '" << OutPath
                 << "': the PDF could not be finished\n";
            return 2;
        }
    } else {
        constexpr double Dpi = 300;
        const double Height = ContinuousHeight();
        QImage Img(qRound(PageW / 25.4 * Dpi), qRound(Height / 25.4 * Dpi), QImage::Format_RGB32);
        Img.setDotsPerMeterX(qRound(Dpi / 0.0254));
        Img.setDotsPerMeterY(qRound(Dpi / 0.0254));
        Img.fill(QColor(0xFF, 0xFF, 0xFF));
        {
            QPainter P(&Img);
            TKoGraphics G(&P);
            PrepareGraphics(G, 1.0);
            SetDestGraphics(&G);
            TSheet S(G, false, [] {});
            DrawList = RecordDrawList([&S] { DrawSheet(S); });
            SetDestGraphics(nullptr);
        }
        if (!Img.save(&Bytes, "PNG")) {
            AErr << "nuo4-cli glyphs: cannot write '" << OutPath
                 << "': the PNG could not be made\n";
            return 2;
        }
    }
    const QByteArray& Data = Bytes.data();
    if (!WriteOutputFile(OutPath, std::string_view(Data.constData(), size_t(Data.size())), "glyphs",
                         AErr))
        return 2;
    if (!DrawListPath.empty() &&
        !WriteOutputFile(DrawListPath, DrawList.dump() + "\n", "glyphs", AErr))
        return 2;
    if (GSymbolsSheet) {
        AOut << OutPath << ": " << SymbolSections().size() << " symbol sections"
             << (bPdf ? ", " + std::to_string(Pages) + " pages" : std::string()) << "\n";
        return 0;
    }
    AOut << OutPath << ": " << Nuo4CoreFontSymbolCount << " descriptors, "
         << CoreFont_NoteDigitFaceCount * CoreFont_NoteDigitFaceStride << " note digits"
         << (bPdf ? ", " + std::to_string(Pages) + " pages" : std::string()) << "\n";
    return 0;
}

}  // namespace nuo4::cli
