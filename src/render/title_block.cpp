#include "render/title_block.h"

#include <QPainterPathStroker>
#include <algorithm>
#include <cmath>

#include "format/abc_common.h"
#include "format/text_element.h"
#include "render/music_font.h"
#include "render/symbol_element.h"
#include "render/text_glyphs.h"

namespace nuo4 {

namespace {

// Gap between a block of stacked names and the label after it.
constexpr double AfterTextGap = 2.0;
// Below this extra space per gap a line is drawn as it is, centred.
constexpr double JustifyTolerance = 0.01;

QString Q(TText S) {
    return QString::fromUtf16(S.data(), qsizetype(S.size()));
}

TKoStringAlignment ToStringAlignment(TNuo4TitleBlockTextHorzAlign A) {
    return A == tbthaMiddle ? saCenter : A == tbthaRight ? saFar : saNear;
}

// The left edge of a text ATotalWidth wide on its line.
double AlignedLeft(const TrecNuo4TitleBlockTextItem& AItem, const TGPRectF& ALayout,
                   double ATotalWidth) {
    switch (AItem.HorzAlign) {
        case tbthaLeft:
            return ALayout.left();
        case tbthaMiddle:
            return ALayout.left() + ALayout.width() / 2 - ATotalWidth / 2;
        case tbthaRight:
            return ALayout.left() + ALayout.width() - ATotalWidth;
        default:
            return ALayout.left() + AItem.TextLeftWhenHorzAlignIsNone;
    }
}

// Standard texts may hold strokes (lines, open rectangles); a title block is filled only, so
// they become their outlines.
QPainterPath ToFillPath(const TNuo4SymbolPathes& AItems) {
    QPainterPath R;
    for (const TrecNuo4SymbolPathItem& I : AItems) {
        if (!I.IsStroke()) {
            TKoGDIPlusPath::PathAdd(R, I.APath, false, false);
            continue;
        }
        QPainterPathStroker S;
        S.setWidth(I.PenWidth);
        if (I.IsDashed() && I.PenWidth > 0)
            S.setDashPattern(
                QList<qreal>{Nuo4DashedSolidLength / I.PenWidth, Nuo4DashedGapLength / I.PenWidth});
        TKoGDIPlusPath::PathAdd(R, S.createStroke(I.APath), false, false);
    }
    return R;
}

// The characters of a text as (start, length) in UTF-16 units; a surrogate pair is one.
std::vector<std::pair<int, int>> Characters(const QString& AText) {
    std::vector<std::pair<int, int>> R;
    for (int I = 0; I < AText.size();) {
        const int N = AText[I].isHighSurrogate() && I + 1 < AText.size() ? 2 : 1;
        R.emplace_back(I, N);
        I += N;
    }
    return R;
}

struct TPlaced {
    QPainterPath Path;
    TGPRectF Rect;
};

// An item with stacked lines: the block of names justified to its widest line, the labels
// after their lines, the whole centred vertically on the line position.
TPlaced LayoutStackedItem(const TrecNuo4TitleBlockTextItem& AItem, const TGPRectF& ALayout,
                          double ALineY, bool bOnlyCalc) {
    TPlaced R;
    const TKoGraphics* G = GetDestGraphics();
    const TKoFont Font = MusicFont_GetFont(AItem.FontUsage);
    const double L = MusicFont_GetFontInfoItem(AItem.FontUsage).LineSpacing;
    const int N = int(AItem.TextChord.size());
    double Wb = 0;
    for (const std::u16string& S : AItem.TextChord)
        Wb = std::max(Wb, TKoGDIPlusText::MeasureStringAtLT(G, Q(S), Font, TGPPointF()).width());
    QPainterPath P;
    for (int K = 0; K < N; ++K) {
        TGPRectF LineRect;
        TKoGDIPlusPath::PathAdd(
            P,
            CreatePath_TitleBlockJustifiedLine(Q(AItem.TextChord[K]), AItem.FontUsage,
                                               TGPPointF(0, K * L), Wb, LineRect, bOnlyCalc),
            false, false);
    }
    double Right = Wb;
    for (const TrecNuo4AfterTextChord& A : AItem.AfterTextChordArray) {
        if (A.IsEmpty()) continue;
        const TGPPointF Pt(Wb + AfterTextGap,
                           (A.LineRange.StartIndex + 0.5 * A.LineRange.Length) * L);
        TGPRectF B;
        TKoGDIPlusPath::PathAdd(
            P,
            MusicFont_GetTextPath_AtPos(AItem.FontUsage, Q(A.Text), Pt, rpLeftMiddle, B, bOnlyCalc),
            false, false);
        if (!RectIsEmpty(B)) Right = std::max(Right, B.right());
    }
    const double W = Right, H = N * L;
    if (W <= 0 || H <= 0) return R;
    const double X = AlignedLeft(AItem, ALayout, W);
    const double Y = ALayout.top() + ALineY - H / 2;
    P.translate(X, Y);
    R.Path = P;
    R.Rect = TGPRectF(X, Y, W, H);
    return R;
}

// One text of a single-line item whose top lies on ALineY below the layout's top.
TPlaced LayoutSingleText(const TrecNuo4TitleBlockTextItem& AItem, const std::u16string& ARaw,
                         const TGPRectF& ALayout, double ALineY,
                         const TrecNuo4NoteStyleIndex& AStyle, bool bOnlyCalc) {
    TPlaced R;
    const TKoGraphics* G = GetDestGraphics();
    const TKoFont Font = MusicFont_GetFont(AItem.FontUsage);
    const TKoRange Whole = ABC_TrimRange(ARaw, TKoRange(0, int32_t(ARaw.size())));
    const bool bBraced = ABC_IsWrappedByBraces(ARaw, Whole);
    const TKoRange Inner = ABC_TrimRange(ARaw, ABC_StripBraces(ARaw, Whole));
    const double Top = ALayout.top() + ALineY;

    // A braced title is letter-spaced over a share of the width.
    if (bBraced && AItem.FontUsage == fuTitle && AItem.HorzAlign == tbthaMiddle) {
        QString Text = Q(ABC_GetRangeText(ARaw, Inner));
        const double Target = GetTitleLetterSpacingWidth(Text, ALayout.width());
        R.Path = CreatePath_TitleBlockJustifiedLine(
            Text, AItem.FontUsage, TGPPointF(ALayout.left() + (ALayout.width() - Target) / 2, Top),
            Target, R.Rect, bOnlyCalc);
        return R;
    }
    // Names in braces on several lines, right-aligned among themselves at the layout's right.
    if (bBraced && AItem.FontUsage == fuWordsByAndMusicBy && AItem.HorzAlign == tbthaRight) {
        const std::u16string Text = ABC_Unescape(ARaw, Inner);
        if (Text.find(u'\n') != std::u16string::npos) {
            TGPRectF B;
            R.Path = TKoGDIPlusPath::CreateTextPath_MultiLines(G, Font, Q(Text), TGPPointF(), 0,
                                                               saFar, B, bOnlyCalc);
            if (RectIsEmpty(B)) return TPlaced();
            const double X = ALayout.right() - B.width();
            R.Path.translate(X, Top);
            R.Rect = TGPRectF(X, Top, B.width(), B.height());
            return R;
        }
    }
    const std::u16string Unescaped = ABC_Unescape(ARaw, Whole);
    TGPRectF B;
    if (Unescaped.find(u'\n') == std::u16string::npos) {
        // A standard text: plain words with inline notes, keys and meters, tempo marks.
        const TNuo4SymbolPathes Items = CreatePath_Text_FromElementArray(
            GetElementArray_FromABCText(ABC_GetRangeText(ARaw, Whole)), AItem.FontUsage, AStyle,
            TGPPointF(), B, bOnlyCalc);
        if (RectIsEmpty(B)) return TPlaced();
        const double X = AlignedLeft(AItem, ALayout, B.width());
        const double Dx = X - B.left(), Dy = Top + B.height() / 2;
        R.Path = ToFillPath(Items);
        R.Path.translate(Dx, Dy);
        R.Rect = B.translated(Dx, Dy);
        return R;
    }
    // Several lines, aligned among themselves as the item is on its line.
    R.Path = TKoGDIPlusPath::CreateTextPath_MultiLines(
        G, Font, Q(Unescaped), TGPPointF(), 0, ToStringAlignment(AItem.HorzAlign), B, bOnlyCalc);
    if (RectIsEmpty(B)) return TPlaced();
    const double X = AlignedLeft(AItem, ALayout, B.width());
    R.Path.translate(X, Top);
    R.Rect = TGPRectF(X, Top, B.width(), B.height());
    return R;
}

}  // namespace

const char* EnumName(TNuo4TitleBlockTextLineAlign AValue) {
    switch (AValue) {
        case tbtlaTop:
            return "tbtlaTop";
        case tbtlaMiddle:
            return "tbtlaMiddle";
        case tbtlaBaseline:
            return "tbtlaBaseline";
        case tbtlaDescent:
            return "tbtlaDescent";
        case tbtlaBottom:
            return "tbtlaBottom";
    }
    return "";
}

double GetTitleLetterSpacingWidth(QString& AText, double ALayoutWidth) {
    bool bAllWide = !AText.isEmpty();
    for (const QChar C : AText)
        if (C != QChar(u' ') && C.unicode() <= 0x2FFF) bAllWide = false;
    if (!bAllWide) return 0.33 * ALayoutWidth;
    AText.remove(QChar(u' '));
    switch (AText.size()) {
        case 2:
            return 0.2 * ALayoutWidth;
        case 3:
            return 0.25 * ALayoutWidth;
        case 4:
            return 0.3 * ALayoutWidth;
        default:
            return 0.33 * ALayoutWidth;
    }
}

QPainterPath CreatePath_TitleBlockJustifiedLine(const QString& AText, TNuo4FontUsage AUsage,
                                                TGPPointF APtLT, double ATargetWidth,
                                                TGPRectF& ARect, bool bOnlyCalc) {
    ARect = TGPRectF();
    const TKoGraphics* G = GetDestGraphics();
    if (!G || AText.isEmpty()) return QPainterPath();
    const TKoFont Font = MusicFont_GetFont(AUsage);
    const TGPRectF M = TKoGDIPlusText::MeasureStringAtLT(G, AText, Font, APtLT);
    if (M.height() <= 0) return QPainterPath();
    ARect = TGPRectF(APtLT.x(), APtLT.y(), ATargetWidth, M.height());
    const auto Chars = Characters(AText);
    const int N = int(Chars.size());
    double E = N > 1 ? (ATargetWidth - M.width()) / (N - 1) : 0;
    if (E < 0) E = 0;
    if (std::fabs(E) <= JustifyTolerance) {
        TGPRectF B;
        return MusicFont_GetTextPath_AtPos(AUsage, AText,
                                           TGPPointF(APtLT.x() + ATargetWidth / 2, APtLT.y()),
                                           rpMiddleTop, B, bOnlyCalc);
    }
    if (bOnlyCalc) return QPainterPath();
    // Every character at its natural place plus its share of the extra space, as tab stops
    // of the natural advance plus E would set them.
    QPainterPath P;
    for (int K = 0; K < N; ++K) {
        const auto [Start, Len] = Chars[K];
        const TGPRectF C = TKoGDIPlusText::MeasureStringRange(G, AText, Font, APtLT, Start, Len);
        TKoGDIPlusPath::PathAdd(
            P,
            TKoGDIPlusPath::CreateTextPath_AtLT(Font, AText.mid(Start, Len),
                                                TGPPointF(C.left() + K * E, APtLT.y())),
            false, false);
    }
    return P;
}

void TrecNuo4TitleBlock::Initialize_7Items_7Lines(const TGPRectF& ALayoutRect,
                                                  const TrecNuo4SectionTitleBuffer& ABuffer) {
    LayoutRect = ALayoutRect;
    for (int I = 0; I < Nuo4TitleTextItemCount; ++I) {
        const auto Type = TNuo4SectionTitleItemType(I);
        TrecNuo4TitleBlockTextLine& Line = Lines[I];
        Line.LineAlign = tbtlaTop;
        Line.LineAlignY = ABuffer.LinePosArray[I];
        TrecNuo4TitleBlockTextItem Item;
        if (Type == tbitWordsByAndMusicBy)
            Item.Initialize_WordsByAndMusicBy(ABuffer.GetText(Type));
        else
            Item.Initialize(Type, ABuffer.GetText(Type));
        Item.TextLeftWhenHorzAlignIsNone = 0;
        Line.Texts = {Item};
    }
}

TrecNuo4TitleBlockPathes TrecNuo4TitleBlock::GetPathes(bool bOnlyCalc) const {
    TrecNuo4TitleBlockPathes R;
    TGPRectF United;
    for (const TrecNuo4TitleBlockTextLine& Line : Lines) {
        std::vector<QPainterPath> Pathes;
        TGPRectF LineRect;
        for (const TrecNuo4TitleBlockTextItem& Item : Line.Texts) {
            TPlaced Placed;
            if (!Item.IsEmpty_TextChord()) {
                Placed = LayoutStackedItem(Item, LayoutRect, Line.LineAlignY, bOnlyCalc);
            } else {
                const double L = MusicFont_GetFontInfoItem(Item.FontUsage).LineSpacing;
                for (size_t J = 0; J < Item.AfterTextChordArray.size(); ++J) {
                    const std::u16string& Text = Item.AfterTextChordArray[J].Text;
                    if (Text.empty()) continue;
                    const TPlaced One = LayoutSingleText(
                        Item, Text, LayoutRect, Line.LineAlignY + J * L, NoteStyleIndex, bOnlyCalc);
                    TKoGDIPlusPath::PathAdd(Placed.Path, One.Path, false, false);
                    RectUnion(Placed.Rect, One.Rect);
                }
            }
            Pathes.push_back(Placed.Path);
            RectUnion(LineRect, Placed.Rect);
        }
        R.ItemPathes.push_back(std::move(Pathes));
        R.ItemBounds.push_back(LineRect);
        RectUnion(United, LineRect);
    }
    const double H = RectIsEmpty(United) ? 0 : United.bottom() - LayoutRect.top();
    R.Bounds = TGPRectF(LayoutRect.left(), LayoutRect.top(), LayoutRect.width(), H);
    return R;
}

TrecNuo4TitleBlockPathes Nuo4TitleBlock_GetPathes(const TGPRectF& ALayoutRect,
                                                  const TrecNuo4SectionTitleBuffer& ABuffer,
                                                  const TrecNuo4NoteStyleIndex& AStyle,
                                                  bool bOnlyCalc) {
    TrecNuo4SectionTitleBuffer Buffer = ABuffer;
    Buffer.Trim();
    if (Buffer.IsEmpty()) return TrecNuo4TitleBlockPathes();
    TrecNuo4TitleBlock Block;
    Block.NoteStyleIndex = AStyle;
    Block.Initialize_7Items_7Lines(ALayoutRect, Buffer);
    return Block.GetPathes(bOnlyCalc);
}

}  // namespace nuo4
