#include "render/basic_glyphs.h"

#include <cmath>

#include "format/arc_styles.h"
#include "format/doc_options.h"
#include "render/music_font.h"
#include "render/note_style.h"

namespace nuo4 {

namespace {

QSizeF StyleDigitSize(const TrecNuo4NoteStyleIndex& AStyle) {
    return GetPureNoteStylePtr(AStyle.IsValid() ? AStyle : TrecNuo4NoteStyleIndex())
        ->GetDigitSize();
}

// A glyph of the music font: the descriptor's code point (or ACode) with its black box scaled to
// ASize and its reference point on the origin.
QPainterPath Glyph(TNuo4CoreFontSymbol ASymbol, char16_t ACode, TGPSizeF ASize, TGPRectF& ABounds,
                   bool bOnlyCalc) {
    TrecNuo4CoreFontSymbolInfoItem Info = CoreFontSymbolInfo(ASymbol);
    if (ACode) Info = Info.WithUnicode(ACode);
    return Nuo4MusicFont().CreatePath_CoreFont_Char(GetDestGraphics(), Info, ASize, ABounds,
                                                    bOnlyCalc);
}

// The glyph moved so that its box's left-top is at APt.
QPainterPath GlyphAtLT(TNuo4CoreFontSymbol ASymbol, char16_t ACode, TGPSizeF ASize, TGPPointF APt,
                       TGPRectF& ABounds, bool bOnlyCalc) {
    QPainterPath P = Glyph(ASymbol, ACode, ASize, ABounds, bOnlyCalc);
    const QPointF D = APt - ABounds.topLeft();
    TKoGDIPlusPath::PathTranslate(P, D.x(), D.y());
    ABounds.translate(D);
    return P;
}

QPainterPath RectPath(const TGPRectF& R) {
    QPainterPath P;
    P.addRect(R);
    return P;
}

void AddUnited(TGPRectF& ADst, const TGPRectF& ASrc) {
    RectUnion(ADst, ASrc);
}

// Halves round to the even neighbour.
int RoundHalfEven(double V) {
    return static_cast<int>(std::nearbyint(V));
}

}  // namespace

// ---- Bar lines ------------------------------------------------------------------------------

TrecNuo4BarlineParts GetBarlineParts(const TrecNuo4SymbolBarline& ARec) {
    const QSizeF D = StyleDigitSize(ARec.NoteStyleIndex);
    const double W = D.width(), H = D.height();
    const TrecNuo4DocOptions& O = Nuo4DocOptions();
    const double t = 0.1 * W, T = 0.3 * W, g = 0.15 * W, d = 0.3 * W;
    const double Top = -O.BarlineHeightCoef_Top * H;
    const double h = (O.BarlineHeightCoef_Top + O.BarlineHeightCoef_Bottom) * H;
    const TGPRectF Thin(-t / 2, Top, t, h);
    const TGPRectF Thick(-t / 2 + t + g, Top, T, h);
    auto Dot = [&](double ACx, double ACy) { return TGPRectF(ACx - d / 2, ACy - d / 2, d, d); };
    auto RepeatEndDots = [&](std::vector<TGPRectF>& ADots, double ACx) {
        ADots.push_back(Dot(ACx, -H / 2 - 0.325 * H));
        ADots.push_back(Dot(ACx, -H / 2 + 0.325 * H));
    };

    TrecNuo4BarlineParts R;
    switch (ARec.BarlineStyle) {
        case blsNormal:
            R.Lines = {Thin};
            break;
        case blsDouble:
            R.Lines = {Thin, Thin.translated(t + g, 0)};
            break;
        case blsFinal:
            R.Lines = {Thin, Thick};
            break;
        case blsDashed:
            for (int I = 0; I < 4; ++I)
                R.Lines.push_back(TGPRectF(-t / 2, Top + I * (h / 6 + h / 9), t, h / 6));
            R.Bounds = Thin;
            return R;
        case blsInvisible:
            R.Bounds = Thin;
            return R;
        case blsRepeatEnd:
        case blsRepeatStart:
            R.Lines = {Thin, Thick};
            RepeatEndDots(R.Dots, -W / 2);
            break;
        case blsRepeatBoth:
            R.Lines = {Thin, Thick, Thin.translated(t + T + 2 * g, 0)};
            RepeatEndDots(R.Dots, -W / 2);
            RepeatEndDots(R.Dots, 2 * g + t + T + W / 2);
            break;
    }
    for (const TGPRectF& L : R.Lines) AddUnited(R.Bounds, L);
    for (const TGPRectF& P : R.Dots) AddUnited(R.Bounds, P);

    if (ARec.BarlineStyle == blsRepeatStart) {
        // The repeat end mirrored about x = 0, then moved so that the thick line is centred on
        // x = 0 with the thin line and the dots on its right.
        const double Shift = T / 2 + g + t / 2;
        auto Mirror = [&](TGPRectF& AR) {
            AR = TGPRectF(-AR.right() + Shift, AR.y(), AR.width(), AR.height());
        };
        for (TGPRectF& L : R.Lines) Mirror(L);
        for (TGPRectF& P : R.Dots) Mirror(P);
        Mirror(R.Bounds);
    }
    return R;
}

TNuo4SymbolPathes CreatePath_Barline(const TrecNuo4SymbolBarline& ARec, TGPRectF& ABounds,
                                     bool bOnlyCalc, bool bScript) {
    const TrecNuo4BarlineParts Parts = GetBarlineParts(ARec);
    ABounds = Parts.Bounds;
    if (bOnlyCalc) return {};
    const bool bUseScript = bScript && ARec.BarlineStyle != blsDashed;
    TNuo4MusicFont& F = Nuo4MusicFont();
    QPainterPath P;
    for (const TGPRectF& L : Parts.Lines)
        P.addPath(bUseScript ? F.CreateScriptLine_Vert(GetDestGraphics(), L) : RectPath(L));
    for (const TGPRectF& D : Parts.Dots) {
        if (bUseScript) {
            P.addPath(F.CreateScriptDot(GetDestGraphics(), D));
        } else {
            QPainterPath E;
            E.addEllipse(D);
            P.addPath(E);
        }
    }
    TNuo4SymbolPathes Items;
    SymbolPathes_AddFill(Items, P);
    return Items;
}

const char* EnumName(TNuo4FangZiOffsetKind AValue) {
    switch (AValue) {
        case fzokPlain:
            return "fzokPlain";
        case fzokSharedEnd:
            return "fzokSharedEnd";
        case fzokSharedStart:
            return "fzokSharedStart";
    }
    return "";
}

double GetBarlineFangZiOffsetCoef(TNuo4BarlineStyle AStyle, TNuo4FangZiOffsetKind AKind) {
    static const double Table[Nuo4BarlineStyleCount][3] = {
        {0, -0.2, 0.2},      // blsNormal
        {0.2, 0, 0.2},       // blsRepeatStart
        {0.2, -0.05, 0.35},  // blsRepeatEnd
        {0.2, -0.05, 0.35},  // blsFinal
        {0.15, 0, 0.25},     // blsDouble
        {0, -0.2, 0.2},      // blsDashed
        {0.25, 0, 0.5},      // blsRepeatBoth
        {0, -0.2, 0.2},      // blsInvisible
    };
    if (AStyle >= Nuo4BarlineStyleCount || AKind > fzokSharedStart) return 0;
    return Table[AStyle][AKind];
}

// ---- Accompaniment marker -------------------------------------------------------------------

TNuo4SymbolPathes CreatePath_AccompMarker(const TrecNuo4SymbolAccompMarker& ARec, TGPRectF& ABounds,
                                          bool bOnlyCalc) {
    const QSizeF D = StyleDigitSize(ARec.NoteStyleIndex);
    const double W = D.width(), H = D.height();
    QPainterPath P = Glyph(cfsLeftBracket, 0, TGPSizeF(0.5 * W * ARec.Scale, 1.4 * H * ARec.Scale),
                           ABounds, bOnlyCalc);
    TKoGDIPlusPath::PathTranslate(P, 0, -H / 2);
    ABounds.translate(0, -H / 2);
    if (ARec.aType == sctEnd) {
        TKoGDIPlusPath::PathMirrorY(P, 0);
        ABounds = TGPRectF(-ABounds.right(), ABounds.y(), ABounds.width(), ABounds.height());
    }
    if (bOnlyCalc) return {};
    TNuo4SymbolPathes Items;
    SymbolPathes_AddFill(Items, P);
    return Items;
}

// ---- Meter ----------------------------------------------------------------------------------

TNuo4SymbolPathes CreatePath_Meter(const TrecNuo4SymbolMeter& ARec, TGPRectF& ABounds,
                                   double& ACenterY, bool bOnlyCalc) {
    const TrecNuo4NoteStyleIndex SI =
        ARec.NoteStyleIndex.IsValid() ? ARec.NoteStyleIndex : TrecNuo4NoteStyleIndex();
    const TrecNuo4PureNoteStyle* S = GetPureNoteStylePtr(SI);
    const double W = S->GetDigitWidth(), H = S->GetDigitHeight();
    const double K = ARec.Scale;
    ACenterY = -H / 2;
    ABounds = TGPRectF();
    const int32_t N = ARec.Meter.FenZi, M = ARec.Meter.FenMu;
    if (N < 0 || N >= 100 || M < 0 || M >= 10) return {};

    QPainterPath P;
    if (N == 0) {
        const TGPSizeF Box(1.5 * W * K, 1.5 * H * K);
        TGPRectF B;
        P = GlyphAtLT(cfsFreeMeter, 0, Box, TGPPointF(0, -H / 2 - Box.height() / 2), B, bOnlyCalc);
        ABounds = B;
    } else {
        const double w = W * K, h = 0.7 * H * K, s = 0.2 * H;
        const double b = S->GetUnderLineHeight();
        const bool bTwo = N >= 10;
        const double BarW = bTwo ? 2 * w : 1.5 * w;
        auto Digit = [&](int ADigit, double AX, double AY) {
            TGPRectF B;
            P.addPath(GlyphAtLT(cfsGeneralDigit0, char16_t(0x0054 + ADigit), TGPSizeF(w, h),
                                TGPPointF(AX, AY), B, bOnlyCalc));
        };
        if (bTwo) {
            Digit(N / 10, -w, -(h + s));
            Digit(N % 10, 0, -(h + s));
        } else {
            Digit(N, -w / 2, -(h + s));
        }
        Digit(M, -w / 2, s);
        P.addRect(TGPRectF(-BarW / 2, -b / 2, BarW, b));
        ABounds = TGPRectF(-BarW / 2, -(h + s), BarW, 2 * (h + s));
        TKoGDIPlusPath::PathTranslate(P, BarW / 2, -H / 2);
        ABounds.translate(BarW / 2, -H / 2);
    }
    if (bOnlyCalc) return {};
    TNuo4SymbolPathes Items;
    SymbolPathes_AddFill(Items, P);
    return Items;
}

// ---- Key signature and key-and-meters -------------------------------------------------------

TrecNuo4SymbolKeySignature TrecNuo4SymbolKeySignature::FromKey(
    const TrecNuo4KeySignature& AKey, const TrecNuo4NoteStyleIndex& AStyle) {
    TrecNuo4SymbolKeySignature R;
    R.NoteStyleIndex = AStyle;
    R.Scale = 1.0f;
    R.MainKey = AKey.MainKey;
    R.Accidental = AKey.Accidental;
    R.bWithOneIs = AKey.bWithOneIs;
    return R;
}

TNuo4SymbolPathes CreatePath_KeySignature(const TrecNuo4SymbolKeySignature& ARec, TGPRectF& ABounds,
                                          double& ACenterY, bool bOnlyCalc) {
    const QSizeF D = StyleDigitSize(ARec.NoteStyleIndex);
    const double W = D.width(), H = D.height();
    const double k = H / 500.0 * ARec.Scale;
    ACenterY = -H / 2;
    ABounds = TGPRectF();
    if (ARec.MainKey < 0 || ARec.MainKey >= 7) return {};

    // Every glyph of the group has its design top at the same height, so the tops line up.
    QPainterPath P;
    double X = 0;
    TGPRectF B;
    if (ARec.bWithOneIs) {
        P.addPath(GlyphAtLT(cfsKeyOneEquals, 0, TGPSizeF(1100 * k, 500 * k), TGPPointF(X, 0), B,
                            bOnlyCalc));
        AddUnited(ABounds, B);
        X = B.right();
    }
    if (ARec.Accidental != 0) {
        P.addPath(GlyphAtLT(cfsNatural, ARec.Accidental > 0 ? u'\u0022' : u'\u0023',
                            TGPSizeF(200 * k, 593 * k), TGPPointF(X, 0), B, bOnlyCalc));
        AddUnited(ABounds, B);
        X = B.right();
    }
    X += 0.1 * W;
    P.addPath(GlyphAtLT(cfsKeyC, char16_t(0x0068 + ARec.MainKey), TGPSizeF(500 * k, 500 * k),
                        TGPPointF(X, 0), B, bOnlyCalc));
    AddUnited(ABounds, B);
    // The leading gap belongs to the group.
    ABounds.setLeft(0);
    // Centred by its letter cell (the height of "1=" and the letter), so that keys with and
    // without an accidental share one baseline; the accidental's tail hangs below it.
    const double Dy = -H / 2 - 250 * k;
    TKoGDIPlusPath::PathTranslate(P, 0, Dy);
    ABounds.translate(0, Dy);
    if (bOnlyCalc) return {};
    TNuo4SymbolPathes Items;
    SymbolPathes_AddFill(Items, P);
    return Items;
}

TNuo4SymbolPathes CreatePath_KeyAndMeters(const TrecNuo4KeyAndMeters& AValue,
                                          const TrecNuo4NoteStyleIndex& AStyle, TGPPointF APt,
                                          TGPRectF& ABounds, bool bOnlyCalc) {
    const double W0 = DocDigitSize().width();
    TNuo4SymbolPathes Items;
    ABounds = TGPRectF();
    double X = 0, CenterY = 0;
    auto Add = [&](TNuo4SymbolPathes APart, TGPRectF APartBounds) {
        if (RectIsEmpty(APartBounds)) return;
        const double Dx = X - APartBounds.left();
        SymbolPathes_Translate(APart, TGPPointF(Dx, 0));
        APartBounds.translate(Dx, 0);
        for (auto& I : APart) Items.push_back(std::move(I));
        AddUnited(ABounds, APartBounds);
        X += APartBounds.width() + W0;
    };
    if (AValue.Key.IsValid()) {
        TGPRectF B;
        TNuo4SymbolPathes Part = CreatePath_KeySignature(
            TrecNuo4SymbolKeySignature::FromKey(AValue.Key, AStyle), B, CenterY, bOnlyCalc);
        Add(std::move(Part), B);
    }
    for (const TrecNuo4Meter& M : AValue.Meters) {
        TrecNuo4SymbolMeter R;
        R.NoteStyleIndex = AStyle;
        R.Scale = 1.0f;
        R.Meter = M;
        TGPRectF B;
        TNuo4SymbolPathes Part = CreatePath_Meter(R, B, CenterY, bOnlyCalc);
        Add(std::move(Part), B);
    }
    if (RectIsEmpty(ABounds)) return {};
    // Every part is centred on the middle of the digit line, which goes to APt.Y.
    const QPointF D(APt.x() - ABounds.left(), APt.y() - CenterY);
    SymbolPathes_Translate(Items, D);
    ABounds.translate(D);
    if (bOnlyCalc) return {};
    // One fill element for the whole group.
    TNuo4SymbolPathes One;
    SymbolPathes_AddFill(One, SymbolPathes_Union(Items));
    return One;
}

// ---- Tempo ----------------------------------------------------------------------------------

TNuo4SymbolPathes CreatePath_Tempo(int32_t ATempo, TNuo4TempoIsType AType, TGPPointF APt,
                                   TGPRectF& ABounds, bool bOnlyCalc) {
    ABounds = TGPRectF();
    if (ATempo < 10 || ATempo > 250) return {};
    const double k = DocDigitSize().height() / 500.0;
    const TNuo4CoreFontSymbol Sym = AType == tit8th      ? cfsTempoEighth
                                    : AType == tit4thDot ? cfsTempoQuarterDot
                                                         : cfsTempoQuarter;
    const double GlyphW = AType == tit8th ? 1200 : AType == tit4thDot ? 1300 : 1100;
    QPainterPath P;
    TGPRectF B;
    P.addPath(GlyphAtLT(Sym, 0, TGPSizeF(GlyphW * k, 500 * k), TGPPointF(0, 0), B, bOnlyCalc));
    AddUnited(ABounds, B);
    double X = B.right();
    const QString Digits = QString::number(ATempo);
    for (QChar C : Digits) {
        P.addPath(GlyphAtLT(cfsSecondDigit0, char16_t(0x005E + (C.unicode() - u'0')),
                            TGPSizeF(400 * k, 500 * k), TGPPointF(X, 0), B, bOnlyCalc));
        AddUnited(ABounds, B);
        X = B.right();
    }
    const QPointF D(APt.x() - ABounds.left(), APt.y() - ABounds.center().y());
    TKoGDIPlusPath::PathTranslate(P, D.x(), D.y());
    ABounds.translate(D);
    if (bOnlyCalc) return {};
    TNuo4SymbolPathes Items;
    SymbolPathes_AddFill(Items, P);
    return Items;
}

// ---- Paragraph mark -------------------------------------------------------------------------

TNuo4SymbolPathes CreatePath_Return(const TrecNuo4NoteStyleIndex& AStyle, TGPRectF& ABounds,
                                    bool bOnlyCalc) {
    const QSizeF D = StyleDigitSize(AStyle);
    const TGPSizeF Box(0.8 * D.width(), 0.8 * D.height());
    const QPainterPath P =
        GlyphAtLT(cfsReturn, 0, Box, TGPPointF(0, -Box.height()), ABounds, bOnlyCalc);
    if (bOnlyCalc) return {};
    TNuo4SymbolPathes Items;
    SymbolPathes_AddFill(Items, P);
    return Items;
}

// ---- Volta bracket --------------------------------------------------------------------------

double GetFangZiAutoHeight() {
    return 0.8 * MusicFont_GetFontInfoItem(fuFangZiText).LineSpacing;
}

TNuo4SymbolPathes CreatePath_FangZi(const TrecNuo4SymbolFangZi& ARec, TGPRectF& ABounds,
                                    bool bOnlyCalc) {
    const TGPSizeF D0 = DocDigitSize();
    const double Thick = 0.07 * D0.height();
    const double L = ARec.FangZiLength;
    const double Hgt =
        std::fabs(ARec.FangZiHeight) < 0.01 ? GetFangZiAutoHeight() : double(ARec.FangZiHeight);
    ABounds = ARec.ContinueStyle == lscsRight ? TGPRectF(-L, 0, L, Hgt) : TGPRectF(0, 0, L, Hgt);
    if (bOnlyCalc) return {};

    TNuo4SymbolPathes Items;
    if (ARec.ContinueStyle != lscsRight) {
        const std::u16string Text =
            ABC_Unescape(ARec.Text_ABC, TKoRange{0, int32_t(ARec.Text_ABC.size())});
        TGPRectF TB;
        SymbolPathes_AddFill(
            Items, MusicFont_GetTextPath_AtPos(fuFangZiText, QString::fromStdU16String(Text),
                                               TGPPointF(D0.width(), 0), rpLeftTop, TB, false));
    }
    QPainterPath Line;
    switch (ARec.ContinueStyle) {
        case lscsFull:
            Line.moveTo(0, Hgt);
            Line.lineTo(0, 0);
            Line.lineTo(L, 0);
            Line.lineTo(L, Hgt);
            break;
        case lscsLeft:
            Line.moveTo(0, Hgt);
            Line.lineTo(0, 0);
            Line.lineTo(L, 0);
            break;
        case lscsRight:
            Line.moveTo(-L, 0);
            Line.lineTo(0, 0);
            Line.lineTo(0, Hgt);
            break;
    }
    SymbolPathes_AddStroke(Items, Line, Thick);
    return Items;
}

// ---- Lines and shapes -----------------------------------------------------------------------

TNuo4SymbolPathes CreatePath_SolidLine(TGPPointF APt, double ALength, bool bVert, TGPRectF& ABounds,
                                       bool bOnlyCalc) {
    const TGPSizeF D0 = DocDigitSize();
    ABounds = TGPRectF();
    if (ALength <= 0) return {};
    ABounds = bVert ? TGPRectF(APt.x(), APt.y(), 0.1 * D0.width(), ALength)
                    : TGPRectF(APt.x(), APt.y(), ALength, 0.07 * D0.height());
    if (bOnlyCalc) return {};
    return SymbolPathes_Fill(RectPath(ABounds));
}

namespace {

// A horizontal wave of ALength with its left-top at the origin; AHeight receives one copy's
// height.
QPainterPath HorzWave(double ALength, double& AHeight, bool bOnlyCalc) {
    const TGPSizeF D0 = DocDigitSize();
    const TrecNuo4CoreFontSymbolInfoItem& Info = CoreFontSymbolInfo(cfsWave_Horz);
    const double F = D0.width() / 400.0 * 1.1;
    const TGPSizeF Copy(Info.BlackBox.width() * F, Info.BlackBox.height() * F);
    AHeight = Copy.height();
    if (bOnlyCalc || ALength <= 0) return QPainterPath();
    const int N = std::max(1, RoundHalfEven(ALength / Copy.width()));
    QPainterPath P;
    for (int I = 0; I < N; ++I) {
        TGPRectF B;
        P.addPath(GlyphAtLT(cfsWave_Horz, 0, Copy, TGPPointF(I * Copy.width(), 0), B, false));
    }
    // Stretched to the exact length about its own start.
    TKoGDIPlusPath::PathScale(P, ALength / (N * Copy.width()), 1);
    return P;
}

QPainterPath Triangle(QPointF A, QPointF B, QPointF C) {
    QPainterPath P;
    P.moveTo(A);
    P.lineTo(B);
    P.lineTo(C);
    P.closeSubpath();
    return P;
}

// A horizontal line of the given kind with its left-top at the origin; ASize its extent.
QPainterPath HorzGeneralLine(TNuo4GeneralLineType AType, double L, TGPRectF& ABounds,
                             bool bOnlyCalc) {
    const TGPSizeF D0 = DocDigitSize();
    const double W0 = D0.width(), H0 = D0.height();
    const double e = 0.07 * H0;
    QPainterPath P;
    switch (AType) {
        case gltSolidLine:
            ABounds = TGPRectF(0, 0, L, e);
            if (!bOnlyCalc) P.addRect(ABounds);
            break;
        case gltDashedLine: {
            const double Dash = 0.6 * W0;
            ABounds = TGPRectF(0, 0, L, e);
            if (bOnlyCalc) break;
            const int N = static_cast<int>(std::trunc((L / W0 - 0.6) / 1.02)) + 2;
            for (int I = 0; I < N; ++I) P.addRect(TGPRectF(I * (L - Dash) / (N - 1), 0, Dash, e));
            break;
        }
        case gltDottedLine: {
            const double d = 0.14 * H0;
            ABounds = TGPRectF(-d / 2, -d / 2, L, d);
            if (bOnlyCalc) break;
            const int N = RoundHalfEven(L / (0.5 * W0));
            for (int I = 0; I <= N; ++I) {
                const double Cx = N > 0 ? I * L / N : 0;
                P.addEllipse(QPointF(Cx, 0), d / 2, d / 2);
            }
            break;
        }
        case gltWaveline: {
            double Ch = 0;
            P = HorzWave(L, Ch, bOnlyCalc);
            ABounds = TGPRectF(0, 0, L, Ch);
            break;
        }
        case gltSolidLine_Arrow: {
            const double Head = std::min(10 * e, L), Ym = 2.5 * e;
            ABounds = TGPRectF(0, 0, L, 5 * e);
            if (bOnlyCalc) break;
            P.moveTo(0, Ym - e / 2);
            P.lineTo(L - Head, Ym - e / 2);
            P.lineTo(L - Head, 0);
            P.lineTo(L, Ym);
            P.lineTo(L - Head, 5 * e);
            P.lineTo(L - Head, Ym + e / 2);
            P.lineTo(0, Ym + e / 2);
            P.closeSubpath();
            break;
        }
        case gltSolidLine_Arrow_SingleSide: {
            const double Hb = 3.75 * e + e / 2, Head = std::min(15 * e, L);
            ABounds = TGPRectF(0, 0, L, Hb);
            if (bOnlyCalc) break;
            P.moveTo(0, Hb - e);
            P.lineTo(L - Head, Hb - e);
            P.lineTo(L - Head, 0);
            P.lineTo(L, Hb);
            P.lineTo(0, Hb);
            P.closeSubpath();
            break;
        }
        case gltWaveline_Arrow: {
            const double Head = std::min(10 * e, L), Box = 5 * e;
            ABounds = TGPRectF(0, 0, L, Box);
            if (bOnlyCalc) break;
            double Ch = 0;
            QPainterPath Wave = HorzWave(L - 10 * e - 0.2, Ch, false);
            TKoGDIPlusPath::PathTranslate(Wave, 0, (Box - Ch) / 2);
            P.addPath(Wave);
            P.addPath(Triangle(QPointF(L - Head, 0), QPointF(L, Box / 2), QPointF(L - Head, Box)));
            break;
        }
    }
    return P;
}

}  // namespace

TNuo4SymbolPathes CreatePath_GeneralLine(TGPPointF APt, TNuo4GeneralLineType AType, double ALength,
                                         bool bVert, TGPRectF& ABounds, bool bOnlyCalc) {
    ABounds = TGPRectF();
    if (ALength <= 0 || AType >= Nuo4GeneralLineTypeCount) return {};
    if (AType == gltSolidLine) return CreatePath_SolidLine(APt, ALength, bVert, ABounds, bOnlyCalc);
    TGPRectF B;
    QPainterPath P = HorzGeneralLine(AType, ALength, B, bOnlyCalc);
    if (bVert) {
        // Turned clockwise about the start and moved right by its thickness, so the vertical
        // line hangs down from the point with its left edge there.
        QTransform M;
        M.rotate(90);
        P = M.map(P);
        B = M.mapRect(B);
        const double Dx = -B.left();
        TKoGDIPlusPath::PathTranslate(P, Dx, 0);
        B.translate(Dx, 0);
    }
    TKoGDIPlusPath::PathTranslate(P, APt.x(), APt.y());
    ABounds = B.translated(APt);
    if (bOnlyCalc) return {};
    TNuo4SymbolPathes Items;
    SymbolPathes_AddFill(Items, P);
    return Items;
}

TNuo4SymbolPathes CreatePath_WaveLine(TGPPointF APt, double ALength, bool bVert, TGPRectF& ABounds,
                                      bool bOnlyCalc) {
    return CreatePath_GeneralLine(APt, gltWaveline, ALength, bVert, ABounds, bOnlyCalc);
}

TNuo4SymbolPathes CreatePath_TextRectangle(TGPPointF APt, TrecNuo4SizeF ASize, bool bEllipse,
                                           bool bDashed, bool bFilled, TGPRectF& ABounds,
                                           bool bOnlyCalc) {
    ABounds = TGPRectF();
    if (!(ASize.Width > 0) || !(ASize.Height > 0)) return {};
    ABounds = TGPRectF(APt, TGPSizeF(ASize.Width, ASize.Height));
    if (bOnlyCalc) return {};
    QPainterPath P;
    if (bEllipse)
        P.addEllipse(ABounds);
    else
        P.addRect(ABounds);
    if (bFilled) return SymbolPathes_Fill(P);
    const double Pen = 0.1 * DocDigitSize().width();
    return bDashed ? SymbolPathes_Dashed(P, Pen) : SymbolPathes_Stroke(P, Pen);
}

namespace {

// The arcs here are given by the true angles of the rays from the centre, clockwise from +x
// on the page (270 degrees is the top). Qt takes the parametric angles of the ellipse,
// counter-clockwise, so both ends are converted.
double ParametricDeg(const QRectF& ARect, double APolarDeg) {
    const double T = APolarDeg * M_PI / 180;
    return std::atan2(ARect.width() * std::sin(T), ARect.height() * std::cos(T)) * 180 / M_PI;
}

void ArcClockwise(QPainterPath& P, const QRectF& ARect, double AStartDeg, double ASweepDeg,
                  bool bMoveTo) {
    const double T0 = ParametricDeg(ARect, AStartDeg);
    double Sweep = ParametricDeg(ARect, AStartDeg + ASweepDeg) - T0;
    // Keep the direction and the number of turns of the requested sweep.
    while (ASweepDeg > 0 && Sweep < 0) Sweep += 360;
    while (ASweepDeg < 0 && Sweep > 0) Sweep -= 360;
    if (bMoveTo) P.arcMoveTo(ARect, -T0);
    P.arcTo(ARect, -T0, -Sweep);
}

// The elliptic curve from (X0, Y0) to (X0 + L, Y0) with its apex AH above the chord's middle;
// the ellipse's centre lies S * AH below the chord.
QPainterPath EllipseArcCurve(double AX0, double AY0, double L, double AH, double S = 0.4) {
    const double A = L / 2 * (1 + S) / std::sqrt(1 + 2 * S), B = (1 + S) * AH;
    const QRectF R(AX0 + L / 2 - A, AY0 - AH, 2 * A, 2 * B);
    const double Phi = std::atan((L / 2) / (S * AH)) * 180 / M_PI;
    QPainterPath P;
    ArcClockwise(P, R, 270 - Phi, 2 * Phi, true);
    return P;
}

// Two 60 degree corners joined by a straight top; a short arc is one circular arc.
QPainterPath FlatArcCurve(double AX0, double AY0, double L, double AH) {
    constexpr double Theta = 60;
    const double R = AH / (1 - std::cos(Theta * M_PI / 180));
    const double C = R * std::sin(Theta * M_PI / 180);
    const double F = L - 2 * C;
    QPainterPath P;
    if (F >= 0) {
        const QRectF Sq(AX0 - R + C, AY0 - AH, 2 * R, 2 * R);
        ArcClockwise(P, Sq, 270 - Theta, Theta, true);
        ArcClockwise(P, Sq.translated(F, 0), 270, Theta, false);
    } else {
        // The circle through both chord ends with its top at the apex: the half angle at its
        // centre is twice the angle of the chord from the apex to an end.
        const double E = AH + L * L / (4 * AH);
        const double Psi = 2 * std::atan(2 * AH / L) * 180 / M_PI;
        ArcClockwise(P, QRectF(AX0 + (L - E) / 2, AY0 - AH, E, E), 270 - Psi, 2 * Psi, true);
    }
    return P;
}

}  // namespace

TNuo4SymbolPathes CreatePath_TextArc(TGPPointF APt, double ALength, int32_t AStyle,
                                     TGPRectF& ABounds, bool bOnlyCalc) {
    const bool bFlat = AStyle >= 5 && AStyle <= 9;
    const int Mark = AStyle >= 1 && AStyle <= 4 ? AStyle : bFlat ? AStyle - 5 : 0;
    const double H = StyleDigitSize(TrecNuo4NoteStyleIndex()).height();
    const TGPSizeF D0 = DocDigitSize();
    const double W0 = D0.width(), H0 = D0.height();
    // A full arc is never shorter than 2 mm.
    const double L = std::max(ALength, 2.0);
    const double h = bFlat ? 0.32 * H * std::pow(L, 1.0 / 8) : 0.28 * std::sqrt(L) * std::sqrt(H);
    const double T = bFlat ? 0.07 * H : 0.10 * H;
    ABounds = TGPRectF(APt.x(), APt.y() - (h + T / 2), L, h + T / 2);
    if (bOnlyCalc) return {};

    TNuo4SymbolPathes Items;
    QPainterPath Arc;
    if (bFlat) {
        Arc = FlatArcCurve(0, -T / 2, L, h);
        TKoGDIPlusPath::Path_ReverseAndAddAndClose(Arc, FlatArcCurve(0, T / 2, L, h), true);
    } else {
        Arc = EllipseArcCurve(0, -T / 4, L, h + T / 4);
        TKoGDIPlusPath::Path_ReverseAndAddAndClose(Arc, EllipseArcCurve(0, T / 4, L, h - T / 4),
                                                   true);
    }
    SymbolPathes_AddFill(Items, Arc);
    // End marks grow slowly with the length: k = (L / W0)^(1/4).
    const double K = std::pow(L / W0, 0.25);
    if (Mark == aasArrow || Mark == aasArrowAndDot) {
        const double A = 1.8 * K, Beta = (35 - L / W0) * M_PI / 180, Spread = 22 * M_PI / 180;
        const QPointF E(L, 0);
        auto Dir = [](double AAngle) { return QPointF(std::cos(AAngle), std::sin(AAngle)); };
        QPainterPath Head;
        Head.moveTo(E - A * Dir(Beta + Spread));
        Head.lineTo(E);
        Head.lineTo(E - A * Dir(Beta - Spread));
        Head.lineTo(E - 0.6 * A * Dir(Beta));
        Head.closeSubpath();
        SymbolPathes_AddFill(Items, Head);
    }
    if (Mark == aasDot || Mark == aasArrowAndDot) {
        QPainterPath Dot;
        const double R = 0.4 * K * W0 / 2;
        Dot.addEllipse(QPointF(L / 2, -h), R, R);
        SymbolPathes_AddFill(Items, Dot);
    }
    if (Mark == aasHorzLine)
        SymbolPathes_AddFill(Items,
                             RectPath(TGPRectF(L - 1.5 * K, -0.03 * H0, 1.5 * K, 0.06 * H0)));
    SymbolPathes_Translate(Items, APt);
    return Items;
}

TNuo4SymbolPathes CreatePath_BarNumber(const QString& AText, TNuo4FontUsage AUsage, TGPPointF APt,
                                       TGPRectF& ABounds, bool bOnlyCalc) {
    constexpr double Pad = 0.7, Frame = 0.2, Radius = 0.5;
    TGPRectF TB;
    const QPainterPath Text = MusicFont_GetTextPath_AtPos(
        AUsage, AText, TGPPointF(APt.x() + Pad, APt.y()), rpLeftBottom, TB, bOnlyCalc);
    ABounds = TGPRectF();
    if (RectIsEmpty(TB)) return {};
    ABounds = TB.adjusted(-Pad, 0, Pad, 0);
    if (bOnlyCalc) return {};
    QPainterPath P = Text;
    P.addPath(TKoGDIPlusPath::CreateRoundedRectWithThickness(ABounds, Radius, Frame));
    TNuo4SymbolPathes Items;
    SymbolPathes_AddFill(Items, P);
    return Items;
}

}  // namespace nuo4
