#include "render/glyph_outlines.h"

#include "render/svg_device.h"

#include <QFont>
#include <QHash>
#include <QPaintEngine>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <vector>

namespace nuo4 {

namespace {

// Two outlines of one glyph moved by different offsets differ by rounding only.
constexpr double MatchTolerance = 1e-5;
// The grid of the key's first step; a lookup also tries the neighbouring cells.
constexpr double KeyGrid = 1e-3;

struct TPending {
    QRawFont DrawFont;
    quint32 Glyph = 0;
    QPainterPath Outline;  // draw-font coordinates; empty: the draw font's own
    QTransform ToPath;
    QString Chars;
};

struct TEntry {
    int Font = -1;
    quint32 Glyph = 0;
    QTransform ToPath;
    QString Chars;
    QPointF First;               // the first point of the placed outline
    std::vector<QPointF> Rel;    // every element relative to the first
    std::vector<uint8_t> Types;  // QPainterPath::ElementType
    QPointF Advance;             // in path coordinates
};

struct TFont {
    QRawFont Raw;
    bool bSvgText = false;  // an installed family: SVG keeps it as text
};

struct TRegistry {
    std::vector<TPending> Pending;
    QSet<QByteArray> Noted;  // font, glyph and placement already noted
    std::vector<TFont> Fonts;
    std::vector<TEntry> Entries;
    std::unordered_map<uint64_t, std::vector<int>> Buckets;
    QSet<QString> ProgramFamilies;
};

// Never destroyed: its fonts may not outlive the application, which static destruction follows;
// the program empties it while the application exists.
TRegistry& Registry() {
    static TRegistry* R = new TRegistry;
    return *R;
}

uint64_t Key(int AContourLength, int64_t AQx, int64_t AQy) {
    return (uint64_t(uint32_t(AContourLength)) << 48) ^ (uint64_t(AQx & 0xFFFFFF) << 24) ^
           uint64_t(AQy & 0xFFFFFF);
}

int64_t Quantize(double V) {
    return int64_t(std::llround(V / KeyGrid));
}

int ContourLength(const QPainterPath& P, int AStart) {
    int J = AStart + 1;
    while (J < P.elementCount() && P.elementAt(J).type != QPainterPath::MoveToElement) ++J;
    return J - AStart;
}

QByteArray NotedKey(const QRawFont& AFont, quint32 AGlyph, const QTransform& M) {
    QByteArray K = AFont.familyName().toUtf8() + '|' + AFont.styleName().toUtf8();
    const double V[] = {AFont.pixelSize(), double(AGlyph), M.m11(), M.m12(), M.m21(), M.m22()};
    K.append(reinterpret_cast<const char*>(V), sizeof(V));
    return K;
}

int FontIndex(TRegistry& R, const QRawFont& AFont) {
    for (size_t I = 0; I < R.Fonts.size(); ++I)
        if (R.Fonts[I].Raw == AFont) return int(I);
    R.Fonts.push_back({AFont, !R.ProgramFamilies.contains(AFont.familyName())});
    return int(R.Fonts.size()) - 1;
}

void Register(TRegistry& R, const TPending& A) {
    const QPainterPath Raw = A.Outline.isEmpty() ? A.DrawFont.pathForGlyph(A.Glyph) : A.Outline;
    const QPainterPath P = A.ToPath.map(Raw);
    const int N = P.elementCount();
    if (N < 2) return;
    const int C = ContourLength(P, 0);
    if (C < 2) return;
    TEntry E;
    E.Font = FontIndex(R, A.DrawFont);
    E.Glyph = A.Glyph;
    E.ToPath = A.ToPath;
    E.Chars = A.Chars;
    E.First = P.elementAt(0);
    E.Rel.reserve(size_t(N));
    E.Types.reserve(size_t(N));
    for (int K = 0; K < N; ++K) {
        const QPainterPath::Element& El = P.elementAt(K);
        E.Rel.push_back(QPointF(El) - E.First);
        E.Types.push_back(uint8_t(El.type));
    }
    const QList<QPointF> Adv = A.DrawFont.advancesForGlyphIndexes(QList<quint32>{A.Glyph});
    if (!Adv.isEmpty()) {
        const QTransform& M = A.ToPath;
        E.Advance = QTransform(M.m11(), M.m12(), M.m21(), M.m22(), 0, 0).map(Adv[0]);
    }
    R.Buckets[Key(C, Quantize(E.Rel[1].x()), Quantize(E.Rel[1].y()))].push_back(
        int(R.Entries.size()));
    R.Entries.push_back(std::move(E));
}

void RegisterPending() {
    TRegistry& R = Registry();
    if (R.Pending.empty()) return;
    std::vector<TPending> Todo;
    Todo.swap(R.Pending);
    for (const TPending& A : Todo) Register(R, A);
}

// The longest noted glyph whose outline starts at element AStart of APath in one cell of keys.
int MatchInCell(const TRegistry& R, const QPainterPath& APath, int AStart, uint64_t AKey) {
    const auto It = R.Buckets.find(AKey);
    if (It == R.Buckets.end()) return -1;
    const int N = APath.elementCount();
    const QPointF First = APath.elementAt(AStart);
    int Best = -1;
    for (const int I : It->second) {
        const TEntry& E = R.Entries[size_t(I)];
        const int Count = int(E.Rel.size());
        if (AStart + Count > N) continue;
        if (Best >= 0 && Count <= int(R.Entries[size_t(Best)].Rel.size())) continue;
        // A glyph ends where a contour ends.
        bool bSame = AStart + Count == N ||
                     APath.elementAt(AStart + Count).type == QPainterPath::MoveToElement;
        for (int K = 1; K < Count && bSame; ++K) {
            const QPainterPath::Element& El = APath.elementAt(AStart + K);
            bSame = uint8_t(El.type) == E.Types[size_t(K)] &&
                    std::fabs(El.x - First.x() - E.Rel[size_t(K)].x()) < MatchTolerance &&
                    std::fabs(El.y - First.y() - E.Rel[size_t(K)].y()) < MatchTolerance;
        }
        if (bSame) Best = I;
    }
    return Best;
}

// The cell of the contour's first step, then its neighbours (a step may round either way).
int Match(const TRegistry& R, const QPainterPath& APath, int AStart, int AContour) {
    const QPointF Step = QPointF(APath.elementAt(AStart + 1)) - QPointF(APath.elementAt(AStart));
    const int64_t Qx = Quantize(Step.x()), Qy = Quantize(Step.y());
    int Best = MatchInCell(R, APath, AStart, Key(AContour, Qx, Qy));
    for (int Dx = -1; Dx <= 1 && Best < 0; ++Dx)
        for (int Dy = -1; Dy <= 1 && Best < 0; ++Dy)
            if (Dx != 0 || Dy != 0)
                Best = MatchInCell(R, APath, AStart, Key(AContour, Qx + Dx, Qy + Dy));
    return Best;
}

void CopyContour(const QPainterPath& APath, int AStart, int ALength, QPainterPath& ADst) {
    for (int K = AStart; K < AStart + ALength; ++K) {
        const QPainterPath::Element& El = APath.elementAt(K);
        switch (El.type) {
            case QPainterPath::MoveToElement:
                ADst.moveTo(El);
                break;
            case QPainterPath::LineToElement:
                ADst.lineTo(El);
                break;
            case QPainterPath::CurveToElement:
                if (K + 2 < AStart + ALength) {
                    ADst.cubicTo(El, APath.elementAt(K + 1), APath.elementAt(K + 2));
                    K += 2;
                }
                break;
            case QPainterPath::CurveToDataElement:
                break;
        }
    }
}

struct TPlaced {
    int Entry = -1;
    QPointF Offset;  // where the noted outline was moved to
    int Start = 0;   // its elements in the path
};

void Split(const QPainterPath& APath, std::vector<TPlaced>& APlaced, QPainterPath& ARest) {
    RegisterPending();
    const TRegistry& R = Registry();
    const int N = APath.elementCount();
    for (int I = 0; I < N;) {
        const int C = ContourLength(APath, I);
        const int M = C >= 2 ? Match(R, APath, I, C) : -1;
        if (M >= 0) {
            const TEntry& E = R.Entries[size_t(M)];
            APlaced.push_back({M, QPointF(APath.elementAt(I)) - E.First, I});
            I += int(E.Rel.size());
        } else {
            CopyContour(APath, I, C, ARest);
            I += C;
        }
    }
}

QTransform Linear(const QTransform& M) {
    return QTransform(M.m11(), M.m12(), M.m21(), M.m22(), 0, 0);
}

bool SameLinear(const QTransform& A, const QTransform& B) {
    return std::fabs(A.m11() - B.m11()) < 1e-9 && std::fabs(A.m12() - B.m12()) < 1e-9 &&
           std::fabs(A.m21() - B.m21()) < 1e-9 && std::fabs(A.m22() - B.m22()) < 1e-9;
}

// The glyph's origin in path coordinates.
QPointF Origin(const TEntry& E, const TPlaced& P) {
    return QPointF(E.ToPath.dx(), E.ToPath.dy()) + P.Offset;
}

// Glyphs of one font and one linear placement, drawn as one run each.
void DrawGlyphRuns(QPainter& APainter, const std::vector<TPlaced>& APlaced, const QColor& AColor) {
    const TRegistry& R = Registry();
    std::vector<bool> Done(APlaced.size(), false);
    APainter.save();
    APainter.setPen(AColor);
    const QTransform World = APainter.worldTransform();
    for (size_t I = 0; I < APlaced.size(); ++I) {
        if (Done[I]) continue;
        const TEntry& E0 = R.Entries[size_t(APlaced[I].Entry)];
        const QTransform L = Linear(E0.ToPath);
        bool bInvertible = false;
        const QTransform Inv = L.inverted(&bInvertible);
        if (!bInvertible) continue;
        QList<quint32> Glyphs;
        QList<QPointF> Positions;
        for (size_t J = I; J < APlaced.size(); ++J) {
            const TEntry& E = R.Entries[size_t(APlaced[J].Entry)];
            if (Done[J] || E.Font != E0.Font || !SameLinear(E.ToPath, E0.ToPath)) continue;
            Done[J] = true;
            Glyphs.push_back(E.Glyph);
            Positions.push_back(Inv.map(Origin(E, APlaced[J])));
        }
        QGlyphRun Run;
        Run.setRawFont(R.Fonts[size_t(E0.Font)].Raw);
        Run.setGlyphIndexes(Glyphs);
        Run.setPositions(Positions);
        APainter.setWorldTransform(L * World);
        APainter.drawGlyphRun(QPointF(0, 0), Run);
    }
    APainter.restore();
}

// The outline of an entry relative to its first point.
QPainterPath Shape(const TEntry& E) {
    QPainterPath P;
    const int N = int(E.Rel.size());
    for (int K = 0; K < N; ++K) switch (E.Types[size_t(K)]) {
            case QPainterPath::MoveToElement:
                P.moveTo(E.Rel[size_t(K)]);
                break;
            case QPainterPath::LineToElement:
                P.lineTo(E.Rel[size_t(K)]);
                break;
            case QPainterPath::CurveToElement:
                if (K + 2 < N) {
                    P.cubicTo(E.Rel[size_t(K)], E.Rel[size_t(K) + 1], E.Rel[size_t(K) + 2]);
                    K += 2;
                }
                break;
            default:
                break;
        }
    return P;
}

QFont FontOf(const QRawFont& ARaw) {
    QFont F(ARaw.familyName());
    F.setStyleName(ARaw.styleName());
    F.setPixelSize(qMax(1, qRound(ARaw.pixelSize())));
    F.setWeight(QFont::Weight(ARaw.weight()));
    F.setStyle(ARaw.style());
    F.setKerning(false);
    return F;
}

// Texts of installed fonts, a text for each row of glyphs that follow one another by their
// advances; glyphs without characters or of the program's own fonts stay outlines.
void DrawSvgTexts(QPainter& APainter, const QPainterPath& APath,
                  const std::vector<TPlaced>& APlaced, const QColor& AColor, QPainterPath& ARest) {
    const TRegistry& R = Registry();
    APainter.save();
    APainter.setPen(AColor);
    const QTransform World = APainter.worldTransform();
    for (size_t I = 0; I < APlaced.size();) {
        const TEntry& E0 = R.Entries[size_t(APlaced[I].Entry)];
        const TFont& F = R.Fonts[size_t(E0.Font)];
        bool bInvertible = false;
        const QTransform L = Linear(E0.ToPath);
        const QTransform Inv = L.inverted(&bInvertible);
        if (!F.bSvgText || E0.Chars.isEmpty() || !bInvertible) {
            // The compact writer defines the outline once and places it; others take it whole.
            if (TKoSvgEngine* Svg = SvgEngineOf(&APainter))
                Svg->UseGlyph(APlaced[I].Entry, Shape(E0), E0.First + APlaced[I].Offset, AColor,
                              World);
            else
                CopyContour(APath, APlaced[I].Start, int(E0.Rel.size()), ARest);
            ++I;
            continue;
        }
        QString Text = E0.Chars;
        QPointF Next = Origin(E0, APlaced[I]) + E0.Advance;
        size_t J = I + 1;
        for (; J < APlaced.size(); ++J) {
            const TEntry& E = R.Entries[size_t(APlaced[J].Entry)];
            const QPointF O = Origin(E, APlaced[J]);
            if (E.Font != E0.Font || E.Chars.isEmpty() || !SameLinear(E.ToPath, E0.ToPath) ||
                std::fabs(O.x() - Next.x()) > 1e-3 || std::fabs(O.y() - Next.y()) > 1e-3)
                break;
            Text += E.Chars;
            Next = O + E.Advance;
        }
        APainter.setWorldTransform(L * World);
        APainter.setFont(FontOf(F.Raw));
        APainter.drawText(Inv.map(Origin(E0, APlaced[I])), Text);
        I = J;
    }
    APainter.restore();
}

bool GOutlinesOnly = false;

}  // namespace

void GlyphOutlines_SetOutlinesOnly(bool bOutlinesOnly) {
    GOutlinesOnly = bOutlinesOnly;
}

TKoTextDevice TextDeviceOf(const QPainter* APainter) {
    const QPaintEngine* E = APainter ? APainter->paintEngine() : nullptr;
    if (!E || GOutlinesOnly) return tdNone;
    if (E->type() == QPaintEngine::Pdf) return tdPdf;
    if (E->type() == QPaintEngine::SVG || dynamic_cast<const TKoSvgEngine*>(E)) return tdSvg;
    if (E->type() == QPaintEngine::Raster) return tdRaster;
    return tdNone;
}

void GlyphOutlines_NoteRuns(const QList<QGlyphRun>& ARuns, const QString& AText,
                            const QTransform& AToPath) {
    // Characters go with glyphs only where one run has one glyph per character.
    bool bChars = ARuns.size() == 1;
    if (bChars) {
        const QList<quint32> G = ARuns[0].glyphIndexes();
        bChars = G.size() == AText.size() && ARuns[0].rawFont().glyphIndexesForString(AText) == G;
    }
    for (const QGlyphRun& Run : ARuns) {
        const QList<quint32> Indexes = Run.glyphIndexes();
        const QList<QPointF> Positions = Run.positions();
        for (int I = 0; I < Indexes.size() && I < Positions.size(); ++I) {
            QTransform M;
            M.translate(Positions[I].x(), Positions[I].y());
            GlyphOutlines_NoteGlyph(Run.rawFont(), Indexes[I], QPainterPath(), M * AToPath,
                                    bChars ? AText.mid(I, 1) : QString());
        }
    }
}

void GlyphOutlines_NoteGlyph(const QRawFont& ADrawFont, quint32 AGlyph,
                             const QPainterPath& AOutline, const QTransform& AToPath,
                             const QString& AChars) {
    if (!ADrawFont.isValid() || AGlyph == 0) return;
    // Outlines are compared up to a move: one note per font, glyph and linear placement, with
    // the move of the placement kept in the grid of the key.
    TRegistry& R = Registry();
    const QByteArray K = NotedKey(ADrawFont, AGlyph, AToPath);
    if (R.Noted.contains(K)) return;
    R.Noted.insert(K);
    R.Pending.push_back({ADrawFont, AGlyph, AOutline, AToPath, AChars});
}

void GlyphOutlines_NoteProgramFamily(const QString& AFamily) {
    Registry().ProgramFamilies.insert(AFamily);
}

void GlyphOutlines_Clear() {
    TRegistry& R = Registry();
    const QSet<QString> Families = R.ProgramFamilies;
    R = TRegistry();
    R.ProgramFamilies = Families;
}

void GlyphOutlines_FillPath(QPainter& APainter, TKoTextDevice ADevice, const QPainterPath& APath,
                            const QColor& AColor) {
    std::vector<TPlaced> Placed;
    QPainterPath Rest;
    Split(APath, Placed, Rest);
    if (ADevice == tdPdf || ADevice == tdRaster)
        DrawGlyphRuns(APainter, Placed, AColor);
    else if (ADevice == tdSvg)
        DrawSvgTexts(APainter, APath, Placed, AColor, Rest);
    if (!Rest.isEmpty()) {
        Rest.setFillRule(Qt::WindingFill);
        APainter.fillPath(Rest, AColor);
    }
}

TrecGlyphOutlinesSplit GlyphOutlines_Split(const QPainterPath& APath) {
    std::vector<TPlaced> Placed;
    QPainterPath Rest;
    Split(APath, Placed, Rest);
    TrecGlyphOutlinesSplit S;
    for (const TPlaced& P : Placed) {
        const TEntry& E = Registry().Entries[size_t(P.Entry)];
        S.Glyphs.push_back(E.Glyph);
        S.Chars += E.Chars;
    }
    S.RestElementCount = Rest.elementCount();
    return S;
}

}  // namespace nuo4
