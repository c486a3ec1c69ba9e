#include "render/symbol_lyric.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <unordered_map>
#include <utility>

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

// A text's outline with its box's left-top at ALT. Outlines do not depend on the surface: the
// layout builds lyrics before any drawing surface exists, and the score draws them unchanged.
QPainterPath TextPath(const TKoFont& AFont, const QString& AText, TGPPointF ALT) {
    if (AText.isEmpty()) return QPainterPath();
    return TKoGDIPlusPath::CreateTextPath_AtLT(AFont, AText, ALT);
}

// The whole input of a lyric's outline: its three texts, the font and left-top of each, and the
// scale of the lyric text. Lyrics equal in all of them have equal outlines, so one kept outline
// serves them all; a score sings its few hundred syllables over and over.
struct TLyricOutlineKey {
    std::array<QString, 3> Texts;
    std::array<TKoFont, 3> Fonts;
    std::array<TGPPointF, 3> Places;
    double Scale = 1.0;

    bool operator==(const TLyricOutlineKey& O) const {
        for (size_t I = 0; I < 3; ++I) {
            const TKoFont &A = Fonts[I], &B = O.Fonts[I];
            // Places compare exactly: QPointF's own comparison is fuzzy.
            if (Texts[I] != O.Texts[I] || Places[I].x() != O.Places[I].x() ||
                Places[I].y() != O.Places[I].y() || A.Size != B.Size || A.Style != B.Style ||
                A.Unit != B.Unit || A.FamilyName != B.FamilyName)
                return false;
        }
        return Scale == O.Scale;
    }
};

struct TLyricOutlineKeyHash {
    size_t operator()(const TLyricOutlineKey& K) const {
        uint64_t H = std::bit_cast<uint64_t>(K.Scale);
        auto Mix = [&H](uint64_t V) { H = (H ^ V) * 0x100000001B3ull + (H >> 29); };
        // Zero is hashed as +0, since -0 compares equal to it.
        auto Bits = [](double V) { return V == 0 ? uint64_t(0) : std::bit_cast<uint64_t>(V); };
        for (size_t I = 0; I < 3; ++I) {
            Mix(qHash(K.Texts[I]));
            Mix(Bits(K.Fonts[I].Size));
            Mix(Bits(K.Places[I].x()));
            Mix(Bits(K.Places[I].y()));
        }
        return size_t(H);
    }
};

TLyricOutlineKey OutlineKey(const TrecNuo4LyricLayout& L) {
    TLyricOutlineKey K;
    K.Texts = {L.LyricText, L.PrefixText, L.VerseIndexText};
    const TNuo4FontUsage Usages[3] = {L.LyricFont, L.PrefixFont, fuLyricVerseIndex};
    const TGPRectF* Rects[3] = {&L.LyricRect, &L.PrefixRect, &L.VerseIndexRect};
    for (size_t I = 0; I < 3; ++I) {
        if (K.Texts[I].isEmpty()) continue;
        K.Fonts[I] = MusicFont_GetFontInfoItem(Usages[I]).Font;
        K.Places[I] = Rects[I]->topLeft();
    }
    K.Scale = L.bScaled ? L.Scale : 1.0;
    return K;
}

QPainterPath BuildLyricOutline(const TLyricOutlineKey& K) {
    QPainterPath Path = TextPath(K.Fonts[0], K.Texts[0], K.Places[0]);
    if (K.Scale != 1.0) TKoGDIPlusPath::PathScaleAt(Path, K.Scale, K.Scale, K.Places[0]);
    // The lyric's own path becomes the result instead of being copied into an empty one; the
    // fill rule stays what an added path would have left.
    Path.setFillRule(Qt::OddEvenFill);
    for (size_t I = 1; I < 3; ++I)
        if (!K.Texts[I].isEmpty()) Path.addPath(TextPath(K.Fonts[I], K.Texts[I], K.Places[I]));
    return Path;
}

QPainterPath SharedLyricOutline(const TrecNuo4LyricLayout& L) {
    static std::unordered_map<TLyricOutlineKey, QPainterPath, TLyricOutlineKeyHash> Kept;
    TLyricOutlineKey Key = OutlineKey(L);
    if (auto It = Kept.find(Key); It != Kept.end()) return It->second;
    // A bound on what long sessions keep; dropping the outlines only ends their sharing.
    if (Kept.size() >= 4096) Kept.clear();
    QPainterPath Path = BuildLyricOutline(Key);
    Kept.emplace(std::move(Key), Path);
    return Path;
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

TNuo4LyricDataRef& TNuo4LyricDataRef::operator=(TNuo4LyricDataRef&& AOther) noexcept {
    if (this != &AOther) {
        FOwned = std::move(AOther.FOwned);
        FData = std::exchange(AOther.FData, nullptr);
    }
    return *this;
}

TNuo4LyricDataRef& TNuo4LyricDataRef::operator=(TrecNuo4SymbolPureLyricData AData) {
    FOwned = std::make_unique<TrecNuo4SymbolPureLyricData>(std::move(AData));
    FData = FOwned.get();
    return *this;
}

void TNuo4LyricDataRef::Refer(const TrecNuo4SymbolPureLyricData& AData) {
    FOwned.reset();
    FData = &AData;
}

void TNuo4LyricDataRef::CheckUnderlineArray() {
    const TrecNuo4SymbolPureLyricData& D = Get();
    if (!D.IsValid() || D.TextUnderlineCountArray.size() == D.Text.size()) return;
    TrecNuo4SymbolPureLyricData Checked = D;
    Checked.CheckUnderlineArray();
    *this = std::move(Checked);
}

const TrecNuo4SymbolPureLyricData& TNuo4LyricDataRef::Get() const {
    static const TrecNuo4SymbolPureLyricData Default;
    return FData ? *FData : Default;
}

const std::u16string& TNuo4LyricVerseIndexText::Get() const {
    static const std::u16string Empty;
    return FText ? *FText : Empty;
}

bool& Nuo4LyricPreviewUnderlines() {
    static bool bValue = false;
    return bValue;
}

TrecNuo4LyricLayout GetLyricLayout(const TKoGraphics* G, const TrecNuo4SymbolLyric& ARec) {
    TrecNuo4LyricLayout R;
    const TrecNuo4SymbolPureLyricData& D = ARec.Data.Get();
    if (!D.IsValid()) return R;
    R.LyricText = Q(D.GetLyricText());
    R.PrefixText = Q(D.GetPrefixText());
    R.VerseIndexText = Q(ARec.VerseIndexText.Get());
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
    if (L.LyricText.isEmpty()) return QPainterPath();
    QPainterPath Path = SharedLyricOutline(L);
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

TNuo4SymbolLyric::TNuo4SymbolLyric(TrecNuo4SymbolLyric&& ARec) {
    Create(nullptr);
    SymbolRec = std::move(ARec);
    AcceptRec();
}

void TNuo4SymbolLyric::SetSymbolRec(const void* ASource) {
    if (!ASource) return;
    SymbolRec = *static_cast<const TrecNuo4SymbolLyric*>(ASource);
    AcceptRec();
}

void TNuo4SymbolLyric::AcceptRec() {
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
    const TrecNuo4SymbolPureLyricData& D = SymbolRec.Data.Get();
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
    const TrecNuo4SymbolPureLyricData& D = SymbolRec.Data.Get();
    return D.IsValid() && D.IsWithUnderline() &&
           D.GetUnderlineCount(D.TextCenteredRange.StartIndex) > 0;
}

bool TNuo4SymbolLyric::Underline_LastCharIsWithUnderline() const {
    const TrecNuo4SymbolPureLyricData& D = SymbolRec.Data.Get();
    return D.IsValid() && D.IsWithUnderline() &&
           D.GetUnderlineCount(int32_t(D.Text.size()) - 1) > 0 && !D.PostfixIsRightBiaoDian();
}

}  // namespace nuo4
