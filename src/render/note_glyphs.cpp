#include "render/note_glyphs.h"

#include <QString>
#include <algorithm>
#include <bit>
#include <functional>
#include <unordered_map>
#include <unordered_set>

#include "format/doc_options.h"
#include "render/music_font.h"

namespace nuo4 {

namespace {

// Notes of one style repeat the same few underlines and dots at the same local places. A kept
// shape is shared by every note that draws it (paths are shared until changed) instead of each
// note holding a copy of its own. The shapes are only ever added to a note's parts, which fill
// by the winding rule, so they are kept with that rule and sharing survives the addition.
struct TShapeKey {
    double X, Y, W, H;
    bool bEllipse;
    bool operator==(const TShapeKey& O) const {
        return X == O.X && Y == O.Y && W == O.W && H == O.H && bEllipse == O.bEllipse;
    }
};

struct TShapeKeyHash {
    size_t operator()(const TShapeKey& K) const {
        size_t H = std::hash<bool>()(K.bEllipse);
        for (double V : {K.X, K.Y, K.W, K.H}) H = H * 1000003u ^ std::hash<double>()(V);
        return H;
    }
};

QPainterPath SharedShape(const QRectF& R, bool bEllipse) {
    static std::unordered_map<TShapeKey, QPainterPath, TShapeKeyHash> Kept;
    const TShapeKey Key{R.x(), R.y(), R.width(), R.height(), bEllipse};
    if (auto It = Kept.find(Key); It != Kept.end()) return It->second;
    QPainterPath P;
    if (bEllipse)
        P.addEllipse(R);
    else
        P.addRect(R);
    P.setFillRule(Qt::WindingFill);
    if (Kept.size() >= 4096) Kept.clear();
    Kept.emplace(Key, P);
    return P;
}

QPainterPath RectPath(const QRectF& R) {
    return SharedShape(R, false);
}

QPainterPath EllipsePath(const QRectF& R) {
    return SharedShape(R, true);
}

// One kept copy of each distinct path that notes build by translating or uniting outlines.
// Paths compare exactly, element by element: the shared path is the very path the note built.
struct TExactPathHash {
    size_t operator()(const QPainterPath& P) const {
        uint64_t H = 0x9E3779B97F4A7C15ull ^ uint64_t(P.fillRule());
        auto Mix = [&H](uint64_t V) { H = (H ^ V) * 0x100000001B3ull + (H >> 29); };
        // Zero is hashed as +0, since -0 compares equal to it.
        auto Bits = [](double V) { return V == 0 ? uint64_t(0) : std::bit_cast<uint64_t>(V); };
        for (int I = 0; I < P.elementCount(); ++I) {
            const QPainterPath::Element E = P.elementAt(I);
            Mix(uint64_t(E.type));
            Mix(Bits(E.x));
            Mix(Bits(E.y));
        }
        return size_t(H);
    }
};

struct TExactPathEqual {
    bool operator()(const QPainterPath& A, const QPainterPath& B) const {
        if (A.fillRule() != B.fillRule() || A.elementCount() != B.elementCount()) return false;
        for (int I = 0; I < A.elementCount(); ++I) {
            const QPainterPath::Element EA = A.elementAt(I), EB = B.elementAt(I);
            if (EA.type != EB.type || EA.x != EB.x || EA.y != EB.y) return false;
        }
        return true;
    }
};

std::unordered_set<QPainterPath, TExactPathHash, TExactPathEqual>& KeptPaths() {
    static std::unordered_set<QPainterPath, TExactPathHash, TExactPathEqual> Kept;
    return Kept;
}

void Add(QPainterPath& ADst, const QPainterPath& ASrc) {
    TKoGDIPlusPath::PathAdd(ADst, ASrc, false, false);
}

// A line-shaped mark: the script stroke or a rectangle.
QPainterPath LinePath(const TKoGraphics* G, const QRectF& R, bool bScript) {
    if (bScript) return Nuo4MusicFont().CreateScriptLine_Horz(G, R);
    return RectPath(R);
}

// A dot-shaped mark in its square.
QPainterPath DotPath(const TKoGraphics* G, const QRectF& ASquare, bool bScript) {
    if (bScript) return Nuo4MusicFont().CreateScriptDot(G, ASquare);
    return EllipsePath(ASquare);
}

// Octave dots of the script face are smaller than their squares.
QPainterPath OctaveDotPath(const TKoGraphics* G, const QRectF& ASquare, bool bScript) {
    if (bScript) {
        const QRectF Small(ASquare.topLeft(), ASquare.size() * 0.7);
        return Nuo4MusicFont().CreateScriptDot(G, Small);
    }
    return EllipsePath(ASquare);
}

void ItalicIfNeeded(QPainterPath& P, const TrecNuo4PureNoteStyle& S) {
    if (S.GetbItalic()) TKoGDIPlusPath::PathItalic(P, Nuo4NoteItalicAngle);
}

QPainterPath DigitPath(const TKoGraphics* G, const TrecNuo4PureNote& ANote) {
    const TrecNuo4PureNoteStyle& S = GetNoteStyle(ANote);
    const TrecNuo4Pitch& P = ANote.MusicNote.Pitch;
    // The plain drum cross follows the digit face like the digits around it (the music font
    // has one per face); characters go through the drum path.
    if (P.Digit == DigitDrum && P.DrumPitch.IsValid())
        return Nuo4MusicFont().CreatePath_NoteDigit_Drum(G, P.DrumPitch, S.GetDigitSize());
    // A hidden or unknown digit has no glyph: its code point would fall into the next face.
    if (P.Digit > DigitDrum) return QPainterPath();
    return Nuo4MusicFont().CreatePath_NoteDigit(G, int(P.Digit), S.GetDigitFace(),
                                                S.GetDigitSize());
}

}  // namespace

QPainterPath SharedGlyphPath(const QPainterPath& APath) {
    if (APath.isEmpty()) return APath;
    auto& Kept = KeptPaths();
    if (auto It = Kept.find(APath); It != Kept.end()) return *It;
    // A bound on what long sessions keep; dropping the copies only ends their sharing.
    if (Kept.size() >= 4096) Kept.clear();
    Kept.insert(APath);
    return APath;
}

const char* EnumName(TNuo4NotePartFlag AValue) {
    switch (AValue) {
        case npfDigit:
            return "npfDigit";
        case npfAccidental:
            return "npfAccidental";
        case npfOctaveDots:
            return "npfOctaveDots";
        case npfUnderlines:
            return "npfUnderlines";
        case npfRightDots:
            return "npfRightDots";
        case npfRightLines:
            return "npfRightLines";
        case npfGrace:
            return "npfGrace";
    }
    return "";
}

bool NoteMarksAreScript() {
    return Nuo4DocOptions().Param_MainDigit.IsScript();
}

TNuo4NotePaths CreatePureNotePaths(const TKoGraphics* G, const TrecNuo4PureNote& ANote,
                                   uint8_t ASuppress, bool bNoLowOctaveDots) {
    TNuo4NotePaths R;
    const TrecNuo4PureNoteStyle& S = GetNoteStyle(ANote);
    const TrecPureNoteElementCountInfo C = GetElementCountInfo(ANote);
    const bool bScript = NoteMarksAreScript();

    if (!(ASuppress & npfDigit)) R[0] = DigitPath(G, ANote);

    if (!(ASuppress & npfAccidental) && C.AccidentalCount > 0) {
        R[1] = Nuo4MusicFont().CreatePath_Accidental(
            G, ANote.MusicNote.Pitch.Accidental, S.GetAccidentalWidth(), S.GetAccidentalHeight());
        const QPointF P = S.GetAccidentalPos();
        TKoGDIPlusPath::PathTranslate(R[1], P.x(), P.y());
    }

    if (!(ASuppress & npfOctaveDots) && !(bNoLowOctaveDots && C.OctaveDotLowCount > 0))
        for (int I = 0; I < C.OctaveDotCount; ++I)
            Add(R[2], OctaveDotPath(G, GetBounds_OctaveDot(ANote, I), bScript));

    if (!(ASuppress & npfUnderlines))
        for (int I = 0; I < C.UnderlineCount; ++I)
            Add(R[3], LinePath(G, GetBounds_Underline(ANote, I), bScript));

    if (!(ASuppress & npfRightDots))
        for (int I = 0; I < C.RightDotCount; ++I)
            Add(R[4], DotPath(G, GetBounds_RightDot(ANote, I), bScript));

    if (!(ASuppress & npfRightLines))
        for (int I = 0; I < C.RightLineCount; ++I)
            Add(R[5], LinePath(G, GetBounds_RightLine(ANote, I), bScript));

    for (QPainterPath& P : R) ItalicIfNeeded(P, S);
    // The accidental and octave dots sit where the style puts them; underlines, dots and dashes
    // also follow the advance width, which notes of one duration on a line share. The digit is
    // shared already unless the style leans it.
    for (size_t I = S.GetbItalic() ? 0 : 1; I < R.size(); ++I) R[I] = SharedGlyphPath(R[I]);
    return R;
}

QPainterPath CreateGraceTiePath(const TrecNuo4GraceTieGeometry& ATie) {
    QPainterPath P;
    const QRectF E = ATie.EllipseRect;
    const double A = E.width() / 2, B = E.height() / 2, T2 = ATie.Thickness / 2;
    if (A <= 0 || B <= 0) return P;
    const QPointF C = E.center();
    const QRectF Outer(C.x() - A - T2, C.y() - B - T2, 2 * (A + T2), 2 * (B + T2));
    // A thickness beyond the radii would turn the inner edge inside out.
    const double IA = std::max(0.0, A - T2), IB = std::max(0.0, B - T2);
    const QRectF Inner(C.x() - IA, C.y() - IB, 2 * IA, 2 * IB);
    // The angles run clockwise on the page; the path functions count them the other way.
    const double Start = -ATie.StartAngle, Sweep = -ATie.SweepAngle;
    P.arcMoveTo(Outer, Start);
    P.arcTo(Outer, Start, Sweep);
    QPainterPath InnerEdge;
    InnerEdge.arcMoveTo(Inner, Start + Sweep);
    InnerEdge.arcTo(Inner, Start + Sweep, -Sweep);
    P.connectPath(InnerEdge);
    P.closeSubpath();
    P.setFillRule(Qt::WindingFill);
    return P;
}

QPainterPath CreateGraceGroupPath(const TKoGraphics* G, const TrecNuo4SymbolNote& ANote,
                                  bool bForceChordSubStyle) {
    QPainterPath Group;
    if (!ANote.WithGrace()) return Group;
    const std::vector<double> X = GetGraceOffsetsX(ANote);
    for (int K = 0; K < int(X.size()); ++K) {
        const TNuo4NotePaths P = CreatePureNotePaths(G, GetGracePureNote(ANote, K), npfUnderlines);
        for (const QPainterPath& Part : P) Add(Group, Part.translated(X[K], 0));
    }
    const TrecNuo4PureNote First = GetGracePureNote(ANote, 0);
    const TrecNuo4PureNoteStyle& S = GetNoteStyle(First);
    QPainterPath Lines;
    for (int I = 0; I < First.MusicNote.GetUnderlineCount(); ++I)
        Add(Lines, LinePath(G, GetGraceUnderline(ANote, I), NoteMarksAreScript()));
    ItalicIfNeeded(Lines, S);
    Add(Group, Lines);
    Add(Group, CreateGraceTiePath(GetGraceTieGeometry(ANote)));
    const QPointF Pos = GetGracePos(ANote, bForceChordSubStyle);
    TKoGDIPlusPath::PathTranslate(Group, Pos.x(), Pos.y());
    return SharedGlyphPath(Group);
}

TNuo4NotePaths CreateSymbolNotePaths(const TKoGraphics* G, const TrecNuo4SymbolNote& ANote,
                                     uint8_t ASuppress, bool bForceChordSubStyle) {
    TNuo4NotePaths R;
    if (!ANote.IsChord()) {
        R = CreatePureNotePaths(G, ANote.MainNote, ASuppress);
    } else {
        const bool bCommon = ANote.ChordNote.Get().Options.bUseCommonRightDuration;
        const int N = int(ANote.ChordNote.Get().Pitches.size());
        // Every chord digit with its own marks in slot 0.
        if (!(ASuppress & npfDigit)) {
            for (int K = 0; K < N; ++K) {
                const TrecNuo4PureNote Note =
                    GetChordPureNote(ANote, K, bCommon, true, bForceChordSubStyle);
                const TNuo4NotePaths P = CreatePureNotePaths(G, Note, 0, K == 0);
                const double Dy = GetChordNotePosY(ANote, K, bForceChordSubStyle);
                for (const QPainterPath& Part : P) Add(R[0], Part.translated(0, Dy));
            }
            R[0] = SharedGlyphPath(R[0]);
        }
        const TrecNuo4PureNote Main = GetChordPureNote(ANote, 0, false, false, bForceChordSubStyle);
        const TrecNuo4PureNoteStyle& S = GetNoteStyle(Main);
        const TrecPureNoteElementCountInfo C = GetElementCountInfo(Main);
        // The lowest note's dots below go under the shared underlines.
        if (!(ASuppress & npfOctaveDots) && C.OctaveDotLowCount > 0) {
            const TNuo4NotePaths P = CreatePureNotePaths(G, Main, uint8_t(~npfOctaveDots));
            R[2] = P[2];
        }
        // Chord underlines are always rectangles.
        if (!(ASuppress & npfUnderlines)) {
            for (int I = 0; I < C.UnderlineCount; ++I)
                Add(R[3], RectPath(GetBounds_Underline(Main, I)));
            ItalicIfNeeded(R[3], S);
        }
        if (bCommon && !(ASuppress & npfRightDots) &&
            (C.RightDotCount > 0 || C.RightLineCount > 0)) {
            const TNuo4NotePaths P =
                CreatePureNotePaths(G, Main, uint8_t(~(npfRightDots | npfRightLines)));
            Add(R[4], P[4]);
            Add(R[4], P[5]);
            TKoGDIPlusPath::PathTranslate(
                R[4], 0, -ANote.ChordNote.Get().Options.ExtraOffsetYForCommonRightDuration);
        }
    }
    if (!(ASuppress & npfGrace)) R[6] = CreateGraceGroupPath(G, ANote, bForceChordSubStyle);
    return R;
}

QRectF GetBounds_Underline(const TrecNuo4SymbolNote& ANote, int I, bool bForceChordSubStyle) {
    if (ANote.IsChord())
        return GetBounds_Underline(GetChordPureNote(ANote, 0, false, false, bForceChordSubStyle),
                                   I);
    QRectF R = GetBounds_Underline(ANote.MainNote, I);
    const TrecNuo4Pitch& P = ANote.MainNote.MusicNote.Pitch;
    if (P.IsCharDrum()) {
        const TGPRectF C = TKoGDIPlusText::MeasureStringAtPos(
            GetDestGraphics(), QString(QChar(P.DrumPitch.DrumChar)), MusicFont_GetFont(fuDrumPitch),
            QPointF(0, 0), rpMiddleBottom);
        if (C.width() > 0) {
            R.setLeft(C.left());
            R.setWidth(C.width());
        }
    }
    return R;
}

}  // namespace nuo4
