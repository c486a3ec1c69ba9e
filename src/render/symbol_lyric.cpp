#include "render/symbol_lyric.h"

#include <algorithm>
#include <cmath>

#include "format/doc_options.h"
#include "render/music_font.h"
#include "render/note_style.h"

namespace nuo4 {

namespace {

// Every lyric is converted several times per build: a plain copy of the code units, and the
// conversion only where it would read a leading byte-order mark.
QString Q(const std::u16string& S) {
    if (S.empty()) return QString();
    if (S[0] == u'\xFEFF' || S[0] == u'\xFFFE')
        return QString::fromUtf16(S.data(), qsizetype(S.size()));
    return QString(reinterpret_cast<const QChar*>(S.data()), qsizetype(S.size()));
}

// The font of a usage is read in place, not copied.
TGPRectF Measure(const TKoGraphics* G, const QString& AText, TNuo4FontUsage AUsage) {
    if (AText.isEmpty()) return TGPRectF();
    return TKoGDIPlusText::MeasureStringAtLT(G, AText, MusicFont_GetFontInfoItem(AUsage).Font,
                                             TGPPointF(0, 0));
}

double Ascent(TNuo4FontUsage AUsage) {
    return TKoGDIPlusFont::GetFontMetrics(MusicFont_GetFontInfoItem(AUsage).Font).WinAscent;
}

// Through the text path cache when there is a surface; the same outline without one (the
// layout measures and builds lyrics before any drawing surface exists).
QPainterPath TextPath(const TKoGraphics* G, TNuo4FontUsage AUsage, const QString& AText,
                      TGPPointF ALT) {
    if (AText.isEmpty()) return QPainterPath();
    if (G) {
        TGPRectF Bounds;
        return Nuo4MusicFont().GetCachedTextPath_AtPos(G, AUsage, AText, ALT, rpLeftTop, Bounds,
                                                       false);
    }
    return TKoGDIPlusPath::CreateTextPath_AtLT(MusicFont_GetFont(AUsage), AText, ALT);
}

bool EndsWithCompressibleBiaoDian(const QString& AText) {
    return !AText.isEmpty() && (AText.back() == QChar(0xFF0C) || AText.back() == QChar(0x3002));
}

const TrecNuo4PureNoteStyle* StyleOf(const TrecNuo4NoteStyleIndex& AIndex) {
    TrecNuo4NoteStyleIndex I = AIndex;
    if (!I.IsValid()) I.SetToDefault();
    return GetPureNoteStylePtr(I);
}

}  // namespace

bool& Nuo4LyricPreviewUnderlines() {
    static bool bValue = false;
    return bValue;
}

TrecNuo4LyricLayout GetLyricLayout(const TKoGraphics* G, const TrecNuo4SymbolLyric& ARec) {
    TrecNuo4LyricLayout R;
    const TrecNuo4SymbolPureLyricData& D = ARec.Data;
    if (!D.IsValid()) return R;
    R.LyricText = Q(D.GetLyricText());
    R.PrefixText = Q(D.GetPrefixText());
    R.VerseIndexText = Q(ARec.VerseIndexText);
    R.LyricFont = ARec.ExtraData.FontUsage;
    // An opening parenthesis belongs to the lyric's own font; any other prefix is a mark.
    const bool bParen =
        R.PrefixText == QStringLiteral("(") || R.PrefixText == QString(QChar(0xFF08));
    R.PrefixFont = bParen ? R.LyricFont : fuLyricPrefix;
    R.bScaled = std::fabs(ARec.ExtraData.Scale - 1.0) > 0.01;
    R.Scale = R.bScaled ? ARec.ExtraData.Scale : 1.0;

    TGPRectF L = Measure(G, R.LyricText, R.LyricFont);
    double W = L.width();
    if (Nuo4DocOptions().Param_Lyric.bCompressBiaoDian && EndsWithCompressibleBiaoDian(R.LyricText))
        W -= Measure(G, R.LyricText.right(1), R.LyricFont).width() / 2;
    if (R.bScaled) {
        L = TGPRectF(-W * R.Scale / 2, 0, W * R.Scale, L.height() * R.Scale);
    } else if (D.GetPostfixTextCharCount() == 0) {
        L = TGPRectF(-W / 2, 0, W, L.height());
    } else {
        const TGPRectF C =
            TKoGDIPlusText::MeasureStringRange(G, R.LyricText, MusicFont_GetFont(R.LyricFont),
                                               TGPPointF(0, 0), 0, D.GetCenteredTextCharCount());
        L = TGPRectF(-(C.left() + C.width() / 2), 0, W, L.height());
    }
    R.LyricRect = L;
    R.Bounds = L;

    const double Baseline = Ascent(R.LyricFont) * R.Scale;
    double PrefixWidth = 0;
    if (!R.PrefixText.isEmpty()) {
        TGPRectF P = Measure(G, R.PrefixText, R.PrefixFont);
        PrefixWidth = P.width();
        P.translate(L.left() - PrefixWidth, Baseline - Ascent(R.PrefixFont));
        R.PrefixRect = P;
        RectUnion(R.Bounds, P);
    }
    if (!R.VerseIndexText.isEmpty()) {
        TGPRectF V = Measure(G, R.VerseIndexText, fuLyricVerseIndex);
        V.translate(L.left() - PrefixWidth - V.width(), Baseline - Ascent(fuLyricVerseIndex));
        R.VerseIndexRect = V;
        RectUnion(R.Bounds, V);
    }
    return R;
}

QPainterPath CreatePath_Lyric(const TKoGraphics* G, const TrecNuo4SymbolLyric& ARec,
                              bool bWithUnderlines) {
    return CreatePath_Lyric(G, ARec, GetLyricLayout(G, ARec), bWithUnderlines);
}

QPainterPath CreatePath_Lyric(const TKoGraphics* G, const TrecNuo4SymbolLyric& ARec,
                              const TrecNuo4LyricLayout& L, bool bWithUnderlines) {
    QPainterPath Path;
    if (L.LyricText.isEmpty()) return Path;
    QPainterPath Lyric = TextPath(G, L.LyricFont, L.LyricText, L.LyricRect.topLeft());
    if (L.bScaled) TKoGDIPlusPath::PathScaleAt(Lyric, L.Scale, L.Scale, L.LyricRect.topLeft());
    // The lyric's own path becomes the result instead of being copied into an empty one; the
    // fill rule stays what an added path would have left.
    Path = std::move(Lyric);
    Path.setFillRule(Qt::OddEvenFill);
    if (!L.PrefixText.isEmpty())
        Path.addPath(TextPath(G, L.PrefixFont, L.PrefixText, L.PrefixRect.topLeft()));
    if (!L.VerseIndexText.isEmpty())
        Path.addPath(TextPath(G, fuLyricVerseIndex, L.VerseIndexText, L.VerseIndexRect.topLeft()));
    if (bWithUnderlines) {
        TNuo4SymbolLyric S(ARec);
        for (const TGPRectF& R : S.Underline_GetRectArray()) Path.addRect(R);
    }
    return Path;
}

// ---- Underlines -----------------------------------------------------------------------------

TNuo4LyricUnderlineConnectRangeInfoArray Underline_GetConnectRanges(
    TNuo4LyricUnderlineBuffer ABuffer) {
    TNuo4LyricUnderlineConnectRangeInfoArray R;
    const int32_t N = int32_t(ABuffer.size());
    for (int32_t Depth = 0;; ++Depth) {
        bool bAny = false;
        for (int32_t I = 0; I < N;) {
            if (ABuffer[I].UnderlineCount < 1) {
                ++I;
                continue;
            }
            int32_t J = I;
            while (J + 1 < N && ABuffer[J + 1].UnderlineCount >= 1) ++J;
            TrecNuo4LyricUnderlineConnectRangeInfo Item;
            Item.Deepth = Depth;
            Item.CharIndexRange = TKoRange::FromStartEnd(I, J);
            Item.X_Left = ABuffer[I].CharRect.left();
            Item.X_Right = ABuffer[J].CharRect.right();
            R.push_back(Item);
            for (int32_t K = I; K <= J; ++K) --ABuffer[K].UnderlineCount;
            bAny = true;
            I = J + 1;
        }
        if (!bAny) break;
    }
    return R;
}

std::vector<TGPRectF> Underline_GetRects(const TNuo4LyricUnderlineConnectRangeInfoArray& ARanges,
                                         const TrecNuo4LyricUnderlineCommonParams& AParams) {
    std::vector<TGPRectF> R;
    for (const auto& Item : ARanges)
        R.emplace_back(Item.X_Left,
                       AParams.FirstTop + Item.Deepth * (AParams.Gap + AParams.Thickness),
                       Item.X_Right - Item.X_Left, AParams.Thickness);
    return R;
}

TNuo4SymbolLyric::TNuo4SymbolLyric(const TrecNuo4SymbolLyric& ARec) {
    Create(&ARec);
}

void TNuo4SymbolLyric::SetSymbolRec(const void* ASource) {
    if (!ASource) return;
    SymbolRec = *static_cast<const TrecNuo4SymbolLyric*>(ASource);
    SymbolRec.Data.CheckUnderlineArray();
    if (!SymbolRec.NoteStyleIndex.IsValid()) SymbolRec.NoteStyleIndex.SetToDefault();
    SetNoteStyleIndex(SymbolRec.NoteStyleIndex);
    SetNeedUpdate();
}

TrecNuo4LyricLayout TNuo4SymbolLyric::GetLayout() const {
    return GetLyricLayout(GetDestGraphics(), SymbolRec);
}

void TNuo4SymbolLyric::CalcBounds(TGPRectF& ARect) {
    ARect = GetLayout().Bounds;
}

TGPRectF TNuo4SymbolLyric::SpacingBox() {
    const TGPRectF Ink = BlackBox();
    const TGPRectF Cell = Bounds();
    if (RectIsEmpty(Ink) || RectIsEmpty(Cell)) return Ink;
    const double Left = std::min(Ink.left(), Cell.left());
    const double Right = std::max(Ink.right(), Cell.right());
    return TGPRectF(Left, Ink.top(), Right - Left, Ink.height());
}

void TNuo4SymbolLyric::CreateElements() {
    const TKoGraphics* G = GetDestGraphics();
    // A lyric is measured once per update: the bounds come from the layout the path is built
    // from.
    const TrecNuo4LyricLayout L = GetLyricLayout(G, SymbolRec);
    const QPainterPath P = CreatePath_Lyric(G, SymbolRec, L, Nuo4LyricPreviewUnderlines());
    if (!P.isEmpty()) AddElement_FillPath(P);
    KeepBoundsOfNewElements(L.Bounds);
}

TrecNuo4LyricUnderlineCommonParams TNuo4SymbolLyric::Underline_GetCommonParams() const {
    TrecNuo4LyricUnderlineCommonParams R;
    R.FirstTop = GetLayout().LyricRect.bottom();
    if (const TrecNuo4PureNoteStyle* S = StyleOf(SymbolRec.NoteStyleIndex)) {
        R.Thickness = S->GetUnderLineHeight();
        R.Gap = S->GetUnderLinesGap() - R.Thickness;
    }
    return R;
}

TNuo4LyricUnderlineBuffer TNuo4SymbolLyric::Underline_GetBuffer() const {
    TNuo4LyricUnderlineBuffer R;
    const TrecNuo4SymbolPureLyricData& D = SymbolRec.Data;
    if (!D.IsValid()) return R;
    const TrecNuo4LyricLayout L = GetLayout();
    const TKoFont Font = MusicFont_GetFont(L.LyricFont);
    const TGPPointF LT = L.LyricRect.topLeft();
    const int32_t First = D.GetPrefixTextCharCount();
    const int32_t N = D.GetLyricTextCharCount();
    const bool bClosing = D.PostfixIsRightBiaoDian();
    for (int32_t I = 0; I < N; ++I) {
        TrecNuo4LyricUnderlineBufferItem Item;
        Item.UnderlineCount = (I == N - 1 && bClosing) ? 0 : D.GetUnderlineCount(First + I);
        if (Item.UnderlineCount > 0) {
            TGPRectF C =
                TKoGDIPlusText::MeasureStringRange(GetDestGraphics(), L.LyricText, Font, LT, I, 1);
            if (L.bScaled)
                C = TGPRectF(LT.x() + (C.left() - LT.x()) * L.Scale, LT.y(), C.width() * L.Scale,
                             C.height() * L.Scale);
            Item.CharRect = C;
        }
        R.push_back(Item);
    }
    return R;
}

TNuo4LyricUnderlineConnectRangeInfoArray TNuo4SymbolLyric::Underline_GeConnectRangeInfoArray()
    const {
    return Underline_GetConnectRanges(Underline_GetBuffer());
}

std::vector<TGPRectF> TNuo4SymbolLyric::Underline_GetRectArray() const {
    return Underline_GetRects(Underline_GeConnectRangeInfoArray(), Underline_GetCommonParams());
}

bool TNuo4SymbolLyric::Underline_FirstCharIsWithUnderline() const {
    const TrecNuo4SymbolPureLyricData& D = SymbolRec.Data;
    return D.IsValid() && D.IsWithUnderline() &&
           D.GetUnderlineCount(D.TextCenteredRange.StartIndex) > 0;
}

bool TNuo4SymbolLyric::Underline_LastCharIsWithUnderline() const {
    const TrecNuo4SymbolPureLyricData& D = SymbolRec.Data;
    return D.IsValid() && D.IsWithUnderline() &&
           D.GetUnderlineCount(int32_t(D.Text.size()) - 1) > 0 && !D.PostfixIsRightBiaoDian();
}

}  // namespace nuo4
