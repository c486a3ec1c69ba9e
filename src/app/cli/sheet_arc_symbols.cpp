// The arcs of the symbol specimen: slurs and ties in the four shapes over real notes, tuplets
// 2 to 12, the two pieces of an arc broken at a line end, the end marks, and special arcs,
// drawn through the arc symbols.
#ifdef NUO4_CLI_WITH_RENDER

#include <QString>
#include <algorithm>
#include <memory>
#include <vector>

#include "app/cli/sheet_symbols.h"
#include "format/doc_options.h"
#include "format/symbol_note.h"
#include "render/music_font.h"
#include "render/note_geometry.h"
#include "render/note_style.h"
#include "render/note_symbol.h"
#include "render/symbol_arc.h"

namespace nuo4::cli {

namespace {

constexpr TGPColor GuideColor = 0xFFE2DED3, LabelColor = 0xFF6B6B6B;
constexpr TNuo4FontUsage LabelUsage = fuAuxInfo;

double Dw() {
    return DocDigitSize().width();
}

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

void VLine(TKoGraphics& G, double AX, double AY0, double AY1, TGPColor AColor, double AWidth) {
    QPainterPath P(QPointF(AX, AY0));
    P.lineTo(AX, AY1);
    TKoGDIPlusPath::PathStroke_Solid(&G, P, AColor, AWidth);
}

void DrawSymbol(TKoGraphics& G, TNuo4Symbol& S, QPointF APos) {
    S.Update(true);
    S.SetPos(APos);
    S.Draw(G);
}

// Notes drawn without a layout: each draws its own underlines.
class TNoBeamScope {
  public:
    TNoBeamScope() : FSaved(Nuo4DocOptions().bAutoBeam) { Nuo4DocOptions().bAutoBeam = false; }
    ~TNoBeamScope() { Nuo4DocOptions().bAutoBeam = FSaved; }

  private:
    bool FSaved;
};

std::unique_ptr<TNuo4SymbolNote> MakeNote(const std::u16string& AText) {
    TrecNuo4SymbolNote R;
    if (!GetSymbolRecNote_FromABCText(AText, R)) GetSymbolRecNote_FromABCText(u"1", R);
    auto S = std::make_unique<TNuo4SymbolNote>(R);
    S->Update(true);
    return S;
}

// One arc over a phrase: from note AFrom to note ATo (indexes).
struct TArcSpec {
    int From, To;
    TNuo4SymbolArcShape Shape = assEllipseFill;
    int Tuplet = 0;
    TNuo4ArcArrowStyle Arrow = aasNone;
};

// A phrase of notes AStep apart on a baseline with its arcs placed the way the layout places
// them: the chord runs from 0.1 W left of the first note to 0.1 W right of the last, 0.4 H
// above the higher end note, raised so the arc clears the notes between by 0.25 H; arcs are
// drawn innermost first and outer ones clear them too. Returns the phrase's width.
double DrawPhrase(TKoGraphics& G, double AX, double ABase,
                  const std::vector<std::u16string>& ANotes, double AStep,
                  std::vector<TArcSpec> AArcs) {
    TNoBeamScope NoBeam;
    const TGPSizeF D = DocDigitSize();
    const double Dw = D.width(), Dh = D.height();
    std::vector<std::unique_ptr<TNuo4SymbolNote>> Notes;
    std::vector<double> Xs, Tops;
    for (size_t I = 0; I < ANotes.size(); ++I) {
        Notes.push_back(MakeNote(ANotes[I]));
        const double X = AX + Dw / 2 + I * AStep;
        Xs.push_back(X);
        Tops.push_back(ABase + GetBounds_MainAndChord(Notes.back()->SymbolRec, false, false,
                                                      Notes.back()->ForceChordSubStyle())
                                   .top());
        DrawSymbol(G, *Notes.back(), QPointF(X, ABase));
    }
    std::sort(AArcs.begin(), AArcs.end(),
              [](const TArcSpec& A, const TArcSpec& B) { return A.To - A.From < B.To - B.From; });
    struct TPlaced {
        int From, To;
        double Top;
    };
    std::vector<TPlaced> Placed;
    for (const TArcSpec& A : AArcs) {
        const double X0 = Xs[A.From] - 0.1 * Dw, X1 = Xs[A.To] + 0.1 * Dw;
        double Height, Thickness;
        TNuo4SymbolArc::GetArcHeightAndThickness(A.Shape, X1 - X0, TrecNuo4NoteStyleIndex(), Height,
                                                 Thickness);
        double Y = std::min(Tops[A.From], Tops[A.To]) - 0.4 * Dh;
        for (int I = A.From + 1; I < A.To; ++I) Y = std::min(Y, Tops[I] - 0.25 * Dh + Height);
        for (const TPlaced& P : Placed)
            if (P.From >= A.From && P.To <= A.To && !(P.From == A.From && P.To == A.To))
                Y = std::min(Y, P.Top - 0.25 * Dh + Height + Thickness / 2);
        TrecNuo4ArcABCInfo Info;
        Info.TupletNumber = A.Tuplet;
        Info.ArrowStyle = A.Arrow;
        auto S = TNuo4SymbolArc::Create_Full(X1 - X0, Info, A.Shape);
        DrawSymbol(G, *S, QPointF(X0, Y));
        Placed.push_back({A.From, A.To, Y + S->Bounds().top()});
    }
    return Xs.back() - AX + Dw / 2;
}

void Guides(TKoGraphics& G, double AX, double AWidth, double ABase) {
    HLine(G, AX, AX + AWidth, ABase, GuideColor, 0.08);
    HLine(G, AX, AX + AWidth, ABase - DocDigitSize().height(), GuideColor, 0.08);
}

const char* ShapeLabel(TNuo4SymbolArcShape AShape) {
    switch (AShape) {
        case assEllipseFill:
            return "assEllipseFill";
        case assEllipseStroke:
            return "assEllipseStroke";
        case assFlatFill:
            return "assFlatFill";
        default:
            return "assFlatStroke";
    }
}

// Each shape: a tie, a slur over three notes, a slur over a phrase with a high note in it,
// and a long slur holding two short ones.
double DrawShapes(TKoGraphics& G, double AX, double AY, double AWidth) {
    constexpr double RowH = 17;
    const TNuo4SymbolArcShape Shapes[] = {assEllipseFill, assEllipseStroke, assFlatFill,
                                          assFlatStroke};
    double Y = AY + 9;
    for (TNuo4SymbolArcShape Shape : Shapes) {
        Guides(G, AX + 30, AWidth - 30, Y);
        Label(G, QString::fromLatin1(ShapeLabel(Shape)), QPointF(AX + 14, Y - 2));
        double X = AX + 32;
        X += DrawPhrase(G, X, Y, {u"5", u"5"}, 6, {{0, 1, Shape}}) + 8;
        X += DrawPhrase(G, X, Y, {u"3", u"2", u"1"}, 5, {{0, 2, Shape}}) + 8;
        X += DrawPhrase(G, X, Y, {u"1", u"3", u"5", u"1'", u"6", u"5"}, 5, {{0, 5, Shape}}) + 8;
        DrawPhrase(G, X, Y, {u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"1'"}, 5.5,
                   {{0, 7, Shape}, {0, 2, Shape}, {4, 6, Shape}});
        Y += RowH;
    }
    return Y - RowH + 5 - AY;
}

// Tuplets 2 to 12 over as many eighths (sixteenths from nine on), as the voice writes them.
double DrawTuplets(TKoGraphics& G, double AX, double AY, double AWidth) {
    double X = AX, Y = AY + 10;
    Guides(G, AX, AWidth, Y);
    for (int N = 2; N <= 12; ++N) {
        const std::u16string Note = N <= 8 ? u"5_" : u"5__";
        const std::vector<std::u16string> Notes(N, Note);
        const double Step = N <= 8 ? 3.6 : 3.1;
        const double W = Dw() / 2 + (N - 1) * Step + Dw() / 2;
        if (X + W > AX + AWidth) {
            X = AX;
            Y += 16;
            Guides(G, AX, AWidth, Y);
        }
        DrawPhrase(G, X, Y, Notes, Step, {{0, N - 1, N <= 6 ? assEllipseFill : assFlatFill, N}});
        Label(G, QString::number(N), QPointF(X + W / 2, Y + 3.5));
        X += W + 6;
    }
    return Y + 8 - AY;
}

// The two pieces of a slur broken at a line end: the line ends at the dashed mark and the next
// line starts at the dashed mark; then the stroked pieces, and a tuplet that breaks (its
// pieces are plain).
double DrawPieces(TKoGraphics& G, double AX, double AY, double AWidth) {
    TNoBeamScope NoBeam;
    const double Base = AY + 9, Dh = DocDigitSize().height();
    Guides(G, AX, AWidth, Base);
    double X = AX + 2;
    struct TCase {
        TNuo4SymbolArcShape Shape;
        const char* Text;
    };
    for (const TCase& C : {TCase{assEllipseFill, "lscsLeft | lscsRight"},
                           TCase{assEllipseStroke, "stroke: Left | Right"}}) {
        auto N1 = MakeNote(u"3"), N2 = MakeNote(u"2"), N3 = MakeNote(u"5");
        const double X1 = X + Dw() / 2, X2 = X1 + 6, Edge = X2 + 8;
        DrawSymbol(G, *N1, QPointF(X1, Base));
        DrawSymbol(G, *N2, QPointF(X2, Base));
        const double Y = Base - Dh - 0.4 * Dh;
        auto L = TNuo4SymbolArc::Create_Left(40, Edge - (X1 - 0.1 * Dw()), 0, C.Shape);
        DrawSymbol(G, *L, QPointF(X1 - 0.1 * Dw(), Y));
        const double Start = Edge + 5, X3 = Start + 10;
        auto R = TNuo4SymbolArc::Create_Right(40, X3 + 0.1 * Dw() - Start, 0, C.Shape);
        DrawSymbol(G, *N3, QPointF(X3, Base));
        DrawSymbol(G, *R, QPointF(X3 + 0.1 * Dw(), Y));
        for (double E : {Edge, Start}) {
            QPainterPath P(QPointF(E, Base + 1));
            P.lineTo(E, Y - 3);
            TKoGDIPlusPath::PathStroke_Dashed(&G, P, LabelColor, 0.1, 0.6, 0.4);
        }
        Label(G, QString::fromLatin1(C.Text), QPointF((X1 + X3) / 2, Base + 2.5));
        X = X3 + 14;
    }
    // Short pieces stay within their lengths even where the corner is wider.
    for (double P : {2.0, 3.0, 5.0}) {
        auto L = TNuo4SymbolArc::Create_Left(60, P, 0, assFlatFill);
        DrawSymbol(G, *L, QPointF(X, Base - 1.5 * Dh));
        VLine(G, X + P, Base - 1.5 * Dh - 2.5, Base - 1.5 * Dh + 0.5, LabelColor, 0.06);
        X += P + 5;
    }
    Label(G, QStringLiteral("2 · 3 · 5"), QPointF(X - 9, Base + 2.5));
    return Base + 7 - AY;
}

// Every end mark on a short, a middle and a long arc (the arrow flattens as the arc grows).
double DrawEndMarks(TKoGraphics& G, double AX, double AY, double AWidth) {
    struct TMark {
        TNuo4ArcArrowStyle Style;
        const char* Text;
    };
    const TMark Marks[] = {{aasArrow, "aasArrow"},
                           {aasDot, "aasDot"},
                           {aasArrowAndDot, "aasArrowAndDot"},
                           {aasHorzLine, "aasHorzLine"}};
    double Y = AY + 8;
    for (const TMark& M : Marks) {
        Label(G, QString::fromLatin1(M.Text), QPointF(AX + 14, Y - 2));
        double X = AX + 32;
        for (double L : {8.0, 20.0, 45.0}) {
            TrecNuo4ArcABCInfo Info;
            Info.ArrowStyle = M.Style;
            auto S = TNuo4SymbolArc::Create_Full(L, Info, assEllipseFill);
            DrawSymbol(G, *S, QPointF(X, Y));
            X += L + 10;
        }
        auto S = TNuo4SymbolArc::Create_Full(
            std::min(95.0, AX + AWidth - X),
            [&] {
                TrecNuo4ArcABCInfo Info;
                Info.ArrowStyle = M.Style;
                return Info;
            }(),
            assFlatFill);
        DrawSymbol(G, *S, QPointF(X, Y));
        Y += 11;
    }
    return Y - 11 + 3 - AY;
}

// Special arcs of the attachments section: given by length, in their own style whatever the
// symbol's; a full arc with a tuplet number and marks, pieces, and a piece that was given a
// tuplet number.
double DrawSpecialArcs(TKoGraphics& G, double AX, double AY, double /*AWidth*/) {
    const double Y = AY + 8;
    double X = AX + 2;
    auto Add = [&](TNuo4LineSymbolContinueStyle AContinue, float ALength,
                   TNuo4SymbolArcShape AShape, int ATuplet, TNuo4ArcArrowStyle AArrow,
                   const QString& AText) {
        TrecNuo4SymbolAttachArc R;
        R.SetToDefault(AContinue, true);
        R.Shape = AShape;
        R.SetLength(ALength);
        R.TupletNumber = ATuplet;
        R.ArrowStyle = AArrow;
        TNuo4SymbolAttachArc S(R);
        S.Update(true);
        const double Pos = AContinue == lscsRight ? X + ALength : X;
        DrawSymbol(G, S, QPointF(Pos, Y));
        Label(G, AText, QPointF(X + ALength / 2, Y + 1.5));
        X += ALength + 8;
    };
    Add(lscsFull, 10, assEllipseFill, 0, aasNone, QStringLiteral("Full 10"));
    Add(lscsFull, 16, assEllipseStroke, 3, aasNone, QStringLiteral("Full 16, 3"));
    Add(lscsFull, 24, assFlatFill, 0, aasArrowAndDot, QStringLiteral("Full 24, 箭头+点"));
    Add(lscsLeft, 12, assEllipseFill, 0, aasNone, QStringLiteral("Left 12"));
    Add(lscsRight, 12, assFlatStroke, 0, aasNone, QStringLiteral("Right 12"));
    Add(lscsLeft, 12, assEllipseFill, 5, aasArrow, QStringLiteral("Left 12, 5 → 无"));
    return Y + 6 - AY;
}

}  // namespace

const std::vector<TSymbolSpecimenSection>& ArcSymbolSpecimenSections() {
    static const std::vector<TSymbolSpecimenSection> Sections = {
        {"弧线与连音线 (四种形状)", &DrawShapes}, {"连音 2–12", &DrawTuplets},
        {"跨行弧线 (左段 · 右段)", &DrawPieces},  {"弧线端记号", &DrawEndMarks},
        {"特殊弧线", &DrawSpecialArcs},
    };
    return Sections;
}

}  // namespace nuo4::cli

#endif
