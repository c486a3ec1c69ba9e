#include "render/text_glyphs.h"

#include <QStringList>

#include "format/doc_options.h"
#include "render/basic_glyphs.h"
#include "render/music_font.h"
#include "render/note_geometry.h"
#include "render/note_glyphs.h"

namespace nuo4 {

namespace {

QString Q(const std::u16string& S) {
    return QString::fromStdU16String(S);
}

QPainterPath UnionOf(const TNuo4NotePaths& APaths) {
    QPainterPath R;
    for (const QPainterPath& P : APaths)
        if (!TKoGDIPlusPath::PathIsEmpty(P)) R.addPath(P);
    return R;
}

// Note-like elements are built as note records in note coordinates (digit centre at x = 0,
// digit bottom at y = 0) and moved so that their left edge is at APt.X and their reference
// height (ADy below the digit bottom) is at APt.Y.
TNuo4SymbolPathes PlaceNotePaths(QPainterPath APath, TGPRectF ALocal, TGPPointF APt, double ADy,
                                 TGPRectF& ABounds, bool bOnlyCalc) {
    ABounds = TGPRectF();
    if (RectIsEmpty(ALocal)) return {};
    const QPointF D(APt.x() - ALocal.left(), APt.y() + ADy);
    ABounds = ALocal.translated(D);
    if (bOnlyCalc) return {};
    TKoGDIPlusPath::PathTranslate(APath, D.x(), D.y());
    TNuo4SymbolPathes Items;
    SymbolPathes_AddFill(Items, APath);
    return Items;
}

TrecNuo4NoteStyleIndex DefaultNoteStyle() {
    const TrecNuo4DocOptions& O = Nuo4DocOptions();
    TrecNuo4NoteStyleIndex S =
        TrecNuo4NoteStyleIndex::Create(O.NoteMainStyle_Default, O.NoteSubStyle_Default);
    return S.IsValid() ? S : TrecNuo4NoteStyleIndex();
}

// A single note in the default style, its digit middle on APt.Y; underlines drawn by the note
// itself since no layout joins them here.
TNuo4SymbolPathes CreatePath_TextPureNote(const TrecNuo4MusicPureNote& ANote, TGPPointF APt,
                                          TGPRectF& ABounds, bool bOnlyCalc) {
    TrecNuo4SymbolNote N;
    N.MainNote.Initialize(ANote.Pitch, ANote.Duration);
    N.MainNote.Options.StyleIndex = DefaultNoteStyle();
    const double H = GetNoteStyle(N.MainNote).GetDigitHeight();
    return PlaceNotePaths(
        bOnlyCalc ? QPainterPath() : UnionOf(CreateSymbolNotePaths(GetDestGraphics(), N)),
        GetBounds(N), APt, H / 2, ABounds, bOnlyCalc);
}

// A chord in (default main style, its sub style), the lowest digit bottom on APt.Y.
TNuo4SymbolPathes CreatePath_TextChord(const TNuo4Pitches& APitches, TNuo4NoteSubStyle ASubStyle,
                                       TGPPointF APt, TGPRectF& ABounds, bool bOnlyCalc) {
    ABounds = TGPRectF();
    if (APitches.empty()) return {};
    TrecNuo4SymbolNote N;
    N.MainNote.Options.StyleIndex =
        TrecNuo4NoteStyleIndex::Create(DefaultNoteStyle().MainStyle, ASubStyle);
    if (!N.MainNote.Options.StyleIndex.IsValid())
        N.MainNote.Options.StyleIndex = DefaultNoteStyle();
    N.SetPitches_Main(APitches);
    CheckChord(N);
    return PlaceNotePaths(
        bOnlyCalc ? QPainterPath() : UnionOf(CreateSymbolNotePaths(GetDestGraphics(), N, 0, false)),
        GetBounds(N, false), APt, 0, ABounds, bOnlyCalc);
}

// A grace group of the default main style without its offset from a main note, the grace
// digit bottoms on APt.Y.
TNuo4SymbolPathes CreatePath_TextGrace(const TRecNuo4TextElement& E, TGPPointF APt,
                                       TGPRectF& ABounds, bool bOnlyCalc) {
    ABounds = TGPRectF();
    if (E.GracePitches.empty()) return {};
    TrecNuo4SymbolNote N;
    N.MainNote.Options.StyleIndex =
        TrecNuo4NoteStyleIndex::Create(DefaultNoteStyle().MainStyle, nssNormal);
    N.SetGrace(E.GracePitches);
    N.GraceNote.Mut().Options.bRight = E.bGraceIsRight;
    N.GraceNote.Mut().Options.b8th = E.bGraceIs8th;
    double Gap = 0;
    const TGPRectF Local = GetBounds_Grace(N, Gap, true);
    QPainterPath P;
    if (!bOnlyCalc) {
        P = CreateGraceGroupPath(GetDestGraphics(), N);
        const QPointF Pos = GetGracePos(N);
        TKoGDIPlusPath::PathTranslate(P, -Pos.x(), -Pos.y());
    }
    return PlaceNotePaths(P, Local, APt, 0, ABounds, bOnlyCalc);
}

}  // namespace

QPainterPath CreatePath_MultiLineRightAlignText(TNuo4FontUsage AUsage, const QString& AText,
                                                TGPPointF APt, TGPRectF& ABounds, bool bOnlyCalc) {
    ABounds = TGPRectF();
    const TKoFont Font = MusicFont_GetFont(AUsage);
    const TKoGraphics* G = GetDestGraphics();
    QString Text = AText;
    Text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Text.replace(QChar('\r'), QChar('\n'));
    double Widest = 0;
    for (const QString& Line : Text.split(QChar('\n')))
        Widest = std::max(Widest, TKoGDIPlusText::GetStringWidth(G, Line, Font));
    if (Widest <= 0) return QPainterPath();
    // A hair of room keeps the widest line from wrapping on rounding.
    return TKoGDIPlusPath::CreateTextPath_MultiLines(G, Font, Text, APt, Widest + 0.001, saFar,
                                                     ABounds, bOnlyCalc);
}

TNuo4SymbolPathes CreatePath_TextElement(const TRecNuo4TextElement& E, TNuo4FontUsage AUsage,
                                         const TrecNuo4NoteStyleIndex& AStyle, TGPPointF APt,
                                         TGPRectF& ABounds, bool bOnlyCalc) {
    ABounds = TGPRectF();
    TNuo4SymbolPathes Items;
    switch (E.aType) {
        case stetNormalText: {
            if (E.NormalText.empty()) break;
            const QPainterPath P = MusicFont_GetTextPath_AtPos(AUsage, Q(E.NormalText), APt,
                                                               rpLeftMiddle, ABounds, bOnlyCalc);
            if (!bOnlyCalc) SymbolPathes_AddFill(Items, P);
            break;
        }
        case stetMultiLineRightAlignText: {
            const QPainterPath P = CreatePath_MultiLineRightAlignText(
                AUsage, Q(E.MultiLineRightAlignText), APt, ABounds, bOnlyCalc);
            if (!bOnlyCalc) SymbolPathes_AddFill(Items, P);
            break;
        }
        case stetPureNote:
            Items = CreatePath_TextPureNote(E.PureNote, APt, ABounds, bOnlyCalc);
            break;
        case stetChord:
            Items = CreatePath_TextChord(E.ChordPitches, E.ChordSubStyle, APt, ABounds, bOnlyCalc);
            break;
        case stetGrace:
            Items = CreatePath_TextGrace(E, APt, ABounds, bOnlyCalc);
            break;
        case stetArc:
            Items = CreatePath_TextArc(APt, E.Arc_Length, E.Arc_Style, ABounds, bOnlyCalc);
            break;
        case stetKeyAndMeters:
            Items = CreatePath_KeyAndMeters(E.KeyAndMeters, AStyle, APt, ABounds, bOnlyCalc);
            break;
        case stetTempo:
            Items = CreatePath_Tempo(E.Tempo, E.TempoIsType, APt, ABounds, bOnlyCalc);
            break;
        case stetBarNumber: {
            const std::u16string Number =
                ABC_Unescape(E.sBarNumber, TKoRange{0, int32_t(E.sBarNumber.size())});
            Items = CreatePath_BarNumber(Q(Number), AUsage, APt, ABounds, bOnlyCalc);
            break;
        }
        case stetWaveLine:
            Items =
                CreatePath_WaveLine(APt, E.WaveLine_Length, E.WaveLine_bVert, ABounds, bOnlyCalc);
            break;
        case stetSolidLine:
            Items = CreatePath_SolidLine(APt, E.SolidLine_Length, E.SolidLine_bVert, ABounds,
                                         bOnlyCalc);
            break;
        case stetGeneralLine:
            Items = CreatePath_GeneralLine(APt, E.GeneralLine_Type, E.GeneralLine_Length,
                                           E.GeneralLine_bVert, ABounds, bOnlyCalc);
            break;
        case stetRectangle:
            Items = CreatePath_TextRectangle(APt, E.Rectangle_Size, false, E.Rectangle_bDashed,
                                             E.Rectangle_bFilled, ABounds, bOnlyCalc);
            break;
        case stetEllipse:
            Items = CreatePath_TextRectangle(APt, E.Ellipse_Size, true, E.Ellipse_bDashed,
                                             E.Ellipse_bFilled, ABounds, bOnlyCalc);
            break;
        default:
            break;
    }
    return Items;
}

TNuo4SymbolPathes CreatePath_Text_FromElementArray(const TNuo4TextElementArray& AElements,
                                                   TNuo4FontUsage AUsage,
                                                   const TrecNuo4NoteStyleIndex& AStyle,
                                                   TGPPointF APt, TGPRectF& ABounds,
                                                   bool bOnlyCalc) {
    ABounds = TGPRectF();
    TNuo4SymbolPathes Items;
    double X = APt.x();
    const double Y = APt.y();
    // White space and gaps widen the bounds to the right; bounds without height become 0.1
    // high around the middle line so that a text of spaces still takes room.
    auto Advance = [&](double ADx) {
        if (ADx <= 0) {
            X += ADx;
            return;
        }
        if (RectIsEmpty(ABounds))
            ABounds = TGPRectF(X, Y - 0.05, ADx, 0.1);
        else
            ABounds.setRight(std::max(ABounds.right(), X + ADx));
        X += ADx;
    };
    for (const TRecNuo4TextElement& E : AElements) {
        if (E.aType == stetWhiteSpace) {
            Advance(E.WhiteSpaceCount * MusicFont_GetFontSize(AUsage) / 4);
            continue;
        }
        if (E.aType == stetGap) {
            Advance(E.Gap);
            continue;
        }
        TGPRectF B;
        TNuo4SymbolPathes Part =
            CreatePath_TextElement(E, AUsage, AStyle, TGPPointF(X, Y), B, bOnlyCalc);
        if (RectIsEmpty(B)) continue;
        RectUnion(ABounds, B);
        X = B.right();
        for (auto& I : Part) Items.push_back(std::move(I));
    }
    return Items;
}

}  // namespace nuo4
