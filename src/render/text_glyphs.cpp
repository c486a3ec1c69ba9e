#include "render/text_glyphs.h"

#include <QStringList>

#include "render/basic_glyphs.h"
#include "render/music_font.h"

namespace nuo4 {

namespace {

QString Q(const std::u16string& S) {
    return QString::fromStdU16String(S);
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
