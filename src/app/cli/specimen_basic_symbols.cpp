// The basic symbols of the specimen: every bar line style in the plain and the script face,
// voltas over bar lines with their offsets, meters, accompaniment markers, keys, key-and-meter
// groups, tempo marks, standard texts and the paragraph mark, drawn through the symbol classes.
#ifdef NUO4_CLI_WITH_RENDER

#include <QString>
#include <functional>
#include <memory>

#include "app/cli/specimen_symbols.h"
#include "format/doc_options.h"
#include "render/music_font.h"
#include "render/note_style.h"
#include "render/symbol_basic.h"

namespace nuo4::cli {

namespace {

constexpr TGPColor GuideColor = 0xFFE2DED3, LabelColor = 0xFF6B6B6B;
constexpr TNuo4FontUsage LabelUsage = fuAuxInfo;
constexpr double LabelSize = 2.0;

void Label(TKoGraphics& G, const QString& AText, QPointF APt) {
    TGPRectF B;
    G.FillPath(MusicFont_GetTextPath_AtPos_NoCached(LabelUsage, AText, APt, rpMiddleTop, B),
               LabelColor);
}

void HLine(TKoGraphics& G, double AX0, double AX1, double AY, TGPColor AColor, double AWidth) {
    QPainterPath P(QPointF(AX0, AY));
    P.lineTo(AX1, AY);
    TKoGDIPlusPath::PathStroke_Solid(&G, P, AColor, AWidth);
}

void DrawSymbol(TKoGraphics& G, TNuo4Symbol& S, QPointF APos) {
    S.Update(true);
    S.SetPos(APos);
    S.Draw(G);
}

// One cell of a row: a symbol factory and its label.
struct TCell {
    QString Label;
    std::function<std::unique_ptr<TNuo4Symbol>()> Make;
};

// Cells left to right on a common baseline, wrapping at the width; faint guides mark the
// digit cell (its bottom and top) that every glyph is measured against.
double DrawCells(TKoGraphics& G, double AX, double AY, double AWidth,
                 const std::vector<TCell>& ACells, double AAbove = 6.5, double ABelow = 2.5) {
    constexpr double Pad = 3.5;
    const double H = DocDigitSize().height();
    double X = AX, Y = AY + AAbove;
    auto Guides = [&](double AY0) {
        HLine(G, AX, AX + AWidth, AY0, GuideColor, 0.08);
        HLine(G, AX, AX + AWidth, AY0 - H, GuideColor, 0.08);
    };
    Guides(Y);
    for (const TCell& C : ACells) {
        std::unique_ptr<TNuo4Symbol> S = C.Make();
        S->Update(true);
        const TGPRectF B = S->Bounds();
        const double LabelW =
            TKoGDIPlusText::GetStringWidth(&G, C.Label, MusicFont_GetFont(LabelUsage));
        const double CellW = std::max(B.width(), LabelW) + Pad;
        if (X + CellW > AX + AWidth && X > AX) {
            X = AX;
            Y += AAbove + ABelow + 5;
            Guides(Y);
        }
        const double Cx = X + CellW / 2;
        DrawSymbol(G, *S, QPointF(Cx - B.center().x(), Y));
        Label(G, C.Label, QPointF(Cx, Y + ABelow));
        X += CellW;
    }
    return Y + ABelow + 4 - AY;
}

template <typename TSym, typename TRec>
std::function<std::unique_ptr<TNuo4Symbol>()> Maker(TRec ARec) {
    return [ARec] { return std::make_unique<TSym>(ARec); };
}

TCell BarlineCell(TNuo4BarlineStyle AStyle) {
    TrecNuo4SymbolBarline R;
    R.BarlineStyle = AStyle;
    return {QString::fromStdU16String(BarlineStyleText(AStyle)), Maker<TNuo4SymbolBarline>(R)};
}

std::vector<TCell> BarlineCells() {
    std::vector<TCell> Cells;
    for (int I = 0; I < Nuo4BarlineStyleCount; ++I)
        Cells.push_back(BarlineCell(TNuo4BarlineStyle(I)));
    return Cells;
}

double DrawBarlines(TKoGraphics& G, double AX, double AY, double AWidth) {
    return DrawCells(G, AX, AY, AWidth, BarlineCells());
}

double DrawBarlinesScript(TKoGraphics& G, double AX, double AY, double AWidth) {
    TrecNuo4DocOptions& O = Nuo4DocOptions();
    const TNuo4DigitFace Old = O.Param_MainDigit.Face;
    O.Param_MainDigit.Face = dfFace3;
    RebuildAll();
    const double Used = DrawCells(G, AX, AY, AWidth, BarlineCells());
    O.Param_MainDigit.Face = Old;
    RebuildAll();
    return Used;
}

// Two endings over three bar lines, placed as the layout places them: the ends move from each
// bar line by its style's offset times W0, and the bracket hangs 1.9 H above the baseline.
double DrawVoltas(TKoGraphics& G, double AX, double AY, double AWidth) {
    const TGPSizeF D0 = DocDigitSize();
    const double W0 = D0.width(), H0 = D0.height();
    const double Height = GetFangZiAutoHeight();
    const double Base = AY + 1.9 * H0 + Height + 2;
    HLine(G, AX, AX + AWidth, Base, GuideColor, 0.08);
    HLine(G, AX, AX + AWidth, Base - H0, GuideColor, 0.08);
    struct TBar {
        TNuo4BarlineStyle Style;
        double X;
    };
    const TBar Bars[] = {{blsRepeatStart, AX + 4},
                         {blsRepeatEnd, AX + 44},
                         {blsFinal, AX + 80},
                         {blsNormal, AX + 104},
                         {blsDouble, AX + AWidth - 4}};
    for (const TBar& B : Bars) {
        TrecNuo4SymbolBarline R;
        R.BarlineStyle = B.Style;
        TNuo4SymbolBarline S(R);
        DrawSymbol(G, S, QPointF(B.X, Base));
    }
    const double Top =
        Base -
        (Nuo4DocOptions().BarlineHeightCoef_Top + Nuo4DocOptions().FangZiGapCoefY_Barline) * H0 -
        Height;
    auto Volta = [&](const TBar& A, TNuo4FangZiOffsetKind AKindA, const TBar& B,
                     TNuo4FangZiOffsetKind AKindB, const char16_t* AText) {
        const double X0 = A.X + GetBarlineFangZiOffsetCoef(A.Style, AKindA) * W0;
        const double X1 = B.X + GetBarlineFangZiOffsetCoef(B.Style, AKindB) * W0;
        auto S = TNuo4SymbolFangZi::Create_Full(X1 - X0, AText, 0);
        DrawSymbol(G, *S, QPointF(X0, Top));
    };
    Volta(Bars[0], fzokPlain, Bars[1], fzokSharedEnd, u"1.");
    Volta(Bars[1], fzokSharedStart, Bars[2], fzokPlain, u"2.");
    // A bracket broken at a line end and its continuation on the next line.
    {
        const double X0 = Bars[3].X + GetBarlineFangZiOffsetCoef(blsNormal, fzokPlain) * W0;
        const double Mid = (Bars[3].X + Bars[4].X) / 2;
        auto L = TNuo4SymbolFangZi::Create_Left(Mid - 3 - X0, u"3.", 0);
        DrawSymbol(G, *L, QPointF(X0, Top));
        const double X1 = Bars[4].X + GetBarlineFangZiOffsetCoef(blsDouble, fzokPlain) * W0;
        auto R = TNuo4SymbolFangZi::Create_Right(X1 - (Mid + 3), 0);
        DrawSymbol(G, *R, QPointF(X1, Top));
    }
    Label(G, QStringLiteral("|:  …  :|[2.  …  |]"),
          QPointF((Bars[0].X + Bars[2].X) / 2, Base + 2.5));
    Label(G, QStringLiteral("lscsLeft  ·  lscsRight"),
          QPointF((Bars[3].X + Bars[4].X) / 2, Base + 2.5));
    return Base + 6.5 - AY;
}

TCell MeterCell(int AFenZi, int AFenMu) {
    TrecNuo4SymbolMeter R;
    R.Meter = TrecNuo4Meter::Create(AFenZi, AFenMu);
    return {QString::fromStdU16String(R.ToABCText(false)), Maker<TNuo4SymbolMeter>(R)};
}

double DrawMeters(TKoGraphics& G, double AX, double AY, double AWidth) {
    std::vector<TCell> Cells = {MeterCell(2, 4),  MeterCell(3, 4), MeterCell(4, 4),
                                MeterCell(3, 8),  MeterCell(6, 8), MeterCell(9, 8),
                                MeterCell(12, 8), MeterCell(1, 4), MeterCell(0, 4)};
    Cells.back().Label = QStringLiteral("0/4 自由");
    TrecNuo4SymbolAccompMarker M;
    Cells.push_back({QStringLiteral("("), Maker<TNuo4SymbolAccompMarker>(M)});
    M.aType = sctEnd;
    Cells.push_back({QStringLiteral(")"), Maker<TNuo4SymbolAccompMarker>(M)});
    TrecNuo4SymbolReturn R;
    Cells.push_back({QStringLiteral("$"), Maker<TNuo4SymbolReturn>(R)});
    return DrawCells(G, AX, AY, AWidth, Cells, 6.5, 4);
}

TCell TextCell(const char16_t* AText, const QString& ALabel = QString()) {
    TrecNuo4SymbolText R;
    R.Text_ABC = AText;
    return {ALabel.isEmpty() ? QString::fromStdU16String(AText) : ALabel,
            Maker<TNuo4SymbolText>(R)};
}

double DrawKeys(TKoGraphics& G, double AX, double AY, double AWidth) {
    return DrawCells(G, AX, AY, AWidth,
                     {TextCell(u"{1=C}"), TextCell(u"{1=D}"), TextCell(u"{1=bE}"),
                      TextCell(u"{1=#F}"), TextCell(u"{1=bB}"), TextCell(u"{G}"),
                      TextCell(u"{1=bE,3/4}"), TextCell(u"{1=D,2/4,3/4}")},
                     6.5, 4);
}

double DrawTempi(TKoGraphics& G, double AX, double AY, double AWidth) {
    return DrawCells(
        G, AX, AY, AWidth,
        {TextCell(u"{J=60}"), TextCell(u"{J=96}"), TextCell(u"{J=120}"), TextCell(u"{J_=144}"),
         TextCell(u"{J.=72}"), TextCell(u"{J=250}"), TextCell(u"Allegro\\s{J=132}")},
        5, 3.5);
}

double DrawTexts(TKoGraphics& G, double AX, double AY, double AWidth) {
    double Used = DrawCells(G, AX, AY, AWidth,
                            {TextCell(u"rit."), TextCell(u"D.C.\\sal\\sFine"),
                             TextCell(u"{bny:12}"), TextCell(u"{bny:A}"), TextCell(u"Fine{GAP:4}|"),
                             TextCell(u"{rct:4,2.5,true}"), TextCell(u"{rct:4,2.5,false}"),
                             TextCell(u"{els:4,2.5,false,true}"), TextCell(u"{els:3,3,true}")},
                            6, 4);
    const double Y = AY + Used + 1;
    Used += 1 + DrawCells(G, AX, Y, AWidth,
                          {TextCell(u"{slh:16}"), TextCell(u"{glh:1,16}"), TextCell(u"{glh:2,16}"),
                           TextCell(u"{glh:3,16}"), TextCell(u"{glh:4,16}"),
                           TextCell(u"{glh:5,16}"), TextCell(u"{glh:6,16}")},
                          4, 4);
    const double Y2 = AY + Used + 1;
    Used += 1 + DrawCells(G, AX, Y2, AWidth,
                          {TextCell(u"{slv:6}"), TextCell(u"{wlv:6}"), TextCell(u"{glv:2,6}"),
                           TextCell(u"{glv:4,6}"), TextCell(u"{wlh:12}"), TextCell(u"{glh:3,12}")},
                          4, 8);
    const double Y3 = AY + Used + 1;
    Used +=
        1 + DrawCells(G, AX, Y3, AWidth,
                      {TextCell(u"{arc:16,0}"), TextCell(u"{arc:16,1}"), TextCell(u"{arc:16,3}"),
                       TextCell(u"{arc:16,4}"), TextCell(u"{arc:16,5}"), TextCell(u"{arc:16,8}"),
                       TextCell(u"{arc:3,5}")},
                      6, 3);
    const double Y4 = AY + Used + 1;
    Used += 1 + DrawCells(G, AX, Y4, AWidth,
                          {TextCell(u"{5}"), TextCell(u"{5_.}"), TextCell(u"{#4}"),
                           TextCell(u"{[135]}"), TextCell(u"{[1]}"), TextCell(u"{qyy:12}"),
                           TextCell(u"{hyy:345,true}"), TextCell(u"原速{GAP:2}{5}{GAP:1}{J=96}")},
                          13, 5);
    return Used;
}

}  // namespace

const std::vector<TSymbolSpecimenSection>& BasicSymbolSpecimenSections() {
    static const std::vector<TSymbolSpecimenSection> Sections = {
        {"小节线", &DrawBarlines},  {"小节线 (手写体)", &DrawBarlinesScript},
        {"房子", &DrawVoltas},      {"拍号 · 伴奏记号 · 段落标记", &DrawMeters},
        {"调号与拍号", &DrawKeys},  {"速度", &DrawTempi},
        {"(标准)文字", &DrawTexts},
    };
    // Labels are small: the label usage is sized whenever the sections are asked for.
    MusicFont_SetFontSize(LabelUsage, LabelSize);
    return Sections;
}

}  // namespace nuo4::cli

#endif
