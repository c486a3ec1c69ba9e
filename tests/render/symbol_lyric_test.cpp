// The lyric symbol: centring, prefixes on the lyric's baseline, punctuation compression, scale,
// and the extension underlines by depth. Widths come from the text measuring of the drawing
// layer; H = 3 (underline thickness 0.21, lines 0.6 apart).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "basic_glyphs_test_support.h"
#include "format/lyric_data.h"
#include "render/symbol_lyric.h"

using namespace nuo4;
using nuo4::test::GlyphTest;

namespace {

constexpr double Eps = 1e-4;

TrecNuo4SymbolLyric Lyric(const std::u16string& AText, TKoRange ACentred,
                          std::vector<int32_t> ACounts = {}) {
    TrecNuo4SymbolPureLyricData D;
    D.Text = AText;
    D.TextCenteredRange = ACentred;
    D.TextUnderlineCountArray = std::move(ACounts);
    D.CheckUnderlineArray();
    TrecNuo4SymbolLyric R;
    R.Data = std::move(D);
    return R;
}

double Width(const std::u16string& AText, TNuo4FontUsage AUsage) {
    return TKoGDIPlusText::GetStringWidth(GetDestGraphics(),
                                          QString::fromUtf16(AText.data(), qsizetype(AText.size())),
                                          MusicFont_GetFont(AUsage));
}

double Ascent(TNuo4FontUsage AUsage) {
    return TKoGDIPlusFont::GetFontMetrics(MusicFont_GetFont(AUsage)).WinAscent;
}

class LyricSymbol : public GlyphTest {};

}  // namespace

TEST_F(LyricSymbol, CentredCharacterAndOpeningParenthesisInTheLyricFont) {
    const double W = Width(u"我", fuLyric);
    ASSERT_GT(W, 1.0);
    TNuo4SymbolLyric Plain(Lyric(u"我", TKoRange(0, 1)));
    TGPRectF B;
    Plain.CalcBounds(B);
    EXPECT_NEAR(B.left(), -W / 2, Eps);
    EXPECT_NEAR(B.right(), W / 2, Eps);
    EXPECT_NEAR(B.top(), 0, Eps);

    // "（" stands directly left of the centred character, same font, same baseline.
    TNuo4SymbolLyric Paren(Lyric(u"（我", TKoRange(1, 1)));
    const TrecNuo4LyricLayout L = Paren.GetLayout();
    EXPECT_EQ(L.PrefixFont, fuLyric);
    EXPECT_NEAR(L.LyricRect.left(), -W / 2, Eps);
    EXPECT_NEAR(L.PrefixRect.right(), -W / 2, Eps);
    EXPECT_NEAR(L.PrefixRect.width(), Width(u"（", fuLyric), Eps);
    EXPECT_NEAR(L.PrefixRect.top(), 0, Eps);
    EXPECT_NEAR(L.Bounds.left(), -W / 2 - Width(u"（", fuLyric), Eps);
    // Its ink lies left of the centred character.
    Paren.Update(true);
    EXPECT_LT(Paren.BlackBox().left(), -W / 2);
}

TEST_F(LyricSymbol, TwoLetterPrefixUsesThePrefixFontOnTheLyricBaseline) {
    MusicFont_SetFontSize(fuLyricPrefix, 5.0);
    TNuo4SymbolLyric S(Lyric(u"ab我", TKoRange(2, 1)));
    const TrecNuo4LyricLayout L = S.GetLayout();
    EXPECT_EQ(L.PrefixFont, fuLyricPrefix);
    EXPECT_NEAR(L.PrefixRect.width(), Width(u"ab", fuLyricPrefix), Eps);
    EXPECT_NEAR(L.PrefixRect.right(), L.LyricRect.left(), Eps);
    // Baselines: lyric at its ascent below y = 0; the larger prefix reaches above 0.
    EXPECT_NEAR(L.PrefixRect.top() + Ascent(fuLyricPrefix), Ascent(fuLyric), Eps);
    EXPECT_LT(L.PrefixRect.top(), -0.1);
    MusicFont_ResetTextFonts();
}

TEST_F(LyricSymbol, VerseIndexStandsLeftOfThePrefix) {
    TrecNuo4SymbolLyric R = Lyric(u"（我", TKoRange(1, 1));
    R.VerseIndexText = u"2.";
    const TrecNuo4LyricLayout L = TNuo4SymbolLyric(R).GetLayout();
    EXPECT_NEAR(L.VerseIndexRect.right(), L.PrefixRect.left(), Eps);
    EXPECT_NEAR(L.VerseIndexRect.width(), Width(u"2.", fuLyricVerseIndex), Eps);
    EXPECT_NEAR(L.VerseIndexRect.top() + Ascent(fuLyricVerseIndex), Ascent(fuLyric), Eps);
    EXPECT_NEAR(L.Bounds.left(), L.VerseIndexRect.left(), Eps);
}

TEST_F(LyricSymbol, CompressedCommaCountsHalfItsWidth) {
    const double Whole = Width(u"我，", fuLyric), Comma = Width(u"，", fuLyric);
    ASSERT_GT(Comma, 0.5);
    TrecNuo4LyricLayout L = TNuo4SymbolLyric(Lyric(u"我，", TKoRange(0, 2))).GetLayout();
    EXPECT_NEAR(L.LyricRect.width(), Whole - Comma / 2, Eps);
    EXPECT_NEAR(L.LyricRect.left(), -(Whole - Comma / 2) / 2, Eps);
    Nuo4DocOptions().Param_Lyric.bCompressBiaoDian = false;
    L = TNuo4SymbolLyric(Lyric(u"我，", TKoRange(0, 2))).GetLayout();
    EXPECT_NEAR(L.LyricRect.left(), -Whole / 2, Eps);
    // With only 我 centred the comma is a postfix right of it.
    L = TNuo4SymbolLyric(Lyric(u"我，", TKoRange(0, 1))).GetLayout();
    EXPECT_NEAR(L.LyricRect.left(), -Width(u"我", fuLyric) / 2, 0.05);
    EXPECT_NEAR(L.LyricRect.right(), Whole - Width(u"我", fuLyric) / 2, 0.05);
}

TEST_F(LyricSymbol, ScaledLyricIsCentredAsAWholeAndScaledAboutItsLeftTop) {
    TrecNuo4SymbolLyric R = Lyric(u"我们", TKoRange(0, 1));
    TNuo4SymbolLyric Plain(R);
    R.ExtraData.Scale = 1.2f;
    TNuo4SymbolLyric Big(R);
    const TrecNuo4LyricLayout P = Plain.GetLayout(), L = Big.GetLayout();
    const double W = Width(u"我们", fuLyric);
    EXPECT_TRUE(L.bScaled);
    EXPECT_NEAR(L.LyricRect.left(), -W * 1.2 / 2, 1e-3);
    EXPECT_NEAR(L.LyricRect.width(), W * 1.2, 1e-3);
    EXPECT_NEAR(L.LyricRect.height(), P.LyricRect.height() * 1.2, 1e-3);
    EXPECT_NEAR(L.LyricRect.top(), 0, Eps);
    Plain.Update(true);
    Big.Update(true);
    const TGPRectF InkP = Plain.BlackBox(), InkB = Big.BlackBox();
    EXPECT_NEAR(InkB.width(), InkP.width() * 1.2, 0.01);
    EXPECT_NEAR(InkB.top(), (InkP.top() - P.LyricRect.top()) * 1.2, 0.01);
    EXPECT_NEAR(InkB.left() - L.LyricRect.left(), (InkP.left() - P.LyricRect.left()) * 1.2, 0.01);
    // A scale within 0.01 of 1 is no scale.
    R.ExtraData.Scale = 1.005f;
    EXPECT_FALSE(TNuo4SymbolLyric(R).GetLayout().bScaled);
}

TEST_F(LyricSymbol, UnderlineCountsGiveLinesByDepth) {
    TNuo4SymbolLyric S(Lyric(u"一二三四", TKoRange(0, 1), {2, 1, 0, 1}));
    const TrecNuo4LyricLayout L = S.GetLayout();
    const auto Ranges = S.Underline_GeConnectRangeInfoArray();
    ASSERT_EQ(Ranges.size(), 3u);
    EXPECT_EQ(Ranges[0].Deepth, 0);
    EXPECT_EQ(Ranges[0].CharIndexRange, TKoRange(0, 2));
    EXPECT_EQ(Ranges[1].Deepth, 0);
    EXPECT_EQ(Ranges[1].CharIndexRange, TKoRange(3, 1));
    EXPECT_EQ(Ranges[2].Deepth, 1);
    EXPECT_EQ(Ranges[2].CharIndexRange, TKoRange(0, 1));

    const TKoFont F = MusicFont_GetFont(fuLyric);
    const QString T = QStringLiteral("一二三四");
    auto Char = [&](int I) {
        return TKoGDIPlusText::MeasureStringRange(GetDestGraphics(), T, F, L.LyricRect.topLeft(), I,
                                                  1);
    };
    const auto Rects = S.Underline_GetRectArray();
    ASSERT_EQ(Rects.size(), 3u);
    const double Bottom = L.LyricRect.bottom();
    EXPECT_NEAR(Rects[0].left(), Char(0).left(), Eps);
    EXPECT_NEAR(Rects[0].right(), Char(1).right(), Eps);
    EXPECT_NEAR(Rects[0].top(), Bottom, Eps);
    EXPECT_NEAR(Rects[0].height(), 0.21, Eps);
    EXPECT_NEAR(Rects[1].left(), Char(3).left(), Eps);
    EXPECT_NEAR(Rects[1].right(), Char(3).right(), Eps);
    EXPECT_NEAR(Rects[2].top(), Bottom + 0.6, Eps);
    EXPECT_NEAR(Rects[2].right(), Char(0).right(), Eps);
    EXPECT_TRUE(S.Underline_FirstCharIsWithUnderline());
    EXPECT_TRUE(S.Underline_LastCharIsWithUnderline());

    // The preview carries the lines in the lyric's own path.
    S.Update(true);
    const TGPRectF Ink = S.BlackBox();
    Nuo4LyricPreviewUnderlines() = true;
    S.Update(true);
    Nuo4LyricPreviewUnderlines() = false;
    EXPECT_NEAR(S.BlackBox().bottom(), std::max(Ink.bottom(), Bottom + 0.81), Eps);
}

TEST_F(LyricSymbol, ClosingPunctuationAtTheEndIsNotUnderlined) {
    TNuo4SymbolLyric S(Lyric(u"我，", TKoRange(0, 1), {1, 1}));
    const auto Buffer = S.Underline_GetBuffer();
    ASSERT_EQ(Buffer.size(), 2u);
    EXPECT_EQ(Buffer[0].UnderlineCount, 1);
    EXPECT_EQ(Buffer[1].UnderlineCount, 0);
    EXPECT_TRUE(S.Underline_FirstCharIsWithUnderline());
    EXPECT_FALSE(S.Underline_LastCharIsWithUnderline());
    // No underline on the first centred character.
    EXPECT_FALSE(TNuo4SymbolLyric(Lyric(u"（我们", TKoRange(1, 1), {1, 0, 1}))
                     .Underline_FirstCharIsWithUnderline());
}

TEST_F(LyricSymbol, RecordSlotsAndProperties) {
    TrecNuo4SymbolLyric R = Lyric(u"hello", TKoRange(0, 5));
    R.ExtraData.bOcupy = false;
    TNuo4SymbolLyric S(R);
    EXPECT_EQ(S.GetSymbolType(), sbstLyric);
    EXPECT_TRUE(S.IsEnglishLyric());
    EXPECT_FALSE(S.IsOcupy());
    EXPECT_EQ(S.GetPureDataPtr()->Text, u"hello");
    S.SetRecNoteStyleIndex(TrecNuo4NoteStyleIndex::Create(2, nssNormal));
    EXPECT_EQ(S.SymbolRec.NoteStyleIndex.MainStyle, 2);
    // An invalid lyric has no bounds and no elements.
    TNuo4SymbolLyric Empty(Lyric(u"", TKoRange(0, 1)));
    Empty.Update(true);
    EXPECT_EQ(Empty.ElementsCount(), 0);
}

namespace {

const QPainterPath& OutlineOf(TNuo4SymbolLyric& S) {
    S.Update(true);
    static const QPainterPath None;
    return S.ElementsCount() > 0 ? S.ReadElement(0)->Path() : None;
}

// Copies that share one path refer to the same data.
bool SameStorage(const QPainterPath& A, const QPainterPath& B) {
    static_assert(sizeof(QPainterPath) == sizeof(void*));
    const void *DA = nullptr, *DB = nullptr;
    std::memcpy(&DA, &A, sizeof DA);
    std::memcpy(&DB, &B, sizeof DB);
    return A.elementCount() > 0 && DA == DB;
}

}  // namespace

TEST_F(LyricSymbol, EqualLyricsShareOneOutlineThatFollowsEveryInput) {
    TrecNuo4SymbolLyric R = Lyric(u"（我", TKoRange(1, 1));
    R.VerseIndexText = u"1.";
    TNuo4SymbolLyric A(R), B(R);
    const QPainterPath PA = OutlineOf(A);
    ASSERT_GT(PA.elementCount(), 0);
    EXPECT_TRUE(SameStorage(PA, OutlineOf(B)));

    // Each input gives its own outline, never a kept one of other inputs.
    const TGPRectF Ink = PA.boundingRect();
    auto Changed = [&](auto AChange) {
        TrecNuo4SymbolLyric C = R;
        AChange(C);
        TNuo4SymbolLyric S(C);
        const QPainterPath P = OutlineOf(S);
        EXPECT_FALSE(SameStorage(PA, P));
        return P.boundingRect();
    };
    // Without the verse index the ink starts at the prefix.
    EXPECT_GT(Changed([](auto& C) { C.VerseIndexText = u""; }).left(), Ink.left() + 0.1);
    EXPECT_GT(Changed([](auto& C) { C.ExtraData.Scale = 1.5f; }).height(), Ink.height() * 1.4);
    EXPECT_NE(Changed([](auto& C) { C.Data = Lyric(u"（你", TKoRange(1, 1)).Data; }), Ink);
    // The same record after the lyric font changed size.
    MusicFont_SetFontSize(fuLyric, 2 * MusicFont_GetFont(fuLyric).Size);
    TNuo4SymbolLyric Big(R);
    const QPainterPath PB = OutlineOf(Big);
    MusicFont_ResetTextFonts();
    EXPECT_FALSE(SameStorage(PA, PB));
    EXPECT_GT(PB.boundingRect().height(), Ink.height() * 1.5);
    // A bold face of the same advance puts every text at the same place.
    const TKoFont F = MusicFont_GetFont(fuLyric);
    MusicFont_SetFont(fuLyric, F.FamilyName, F.Size, F.Style | FontStyleBold);
    TNuo4SymbolLyric Bold(R);
    const QPainterPath PBold = OutlineOf(Bold);
    MusicFont_ResetTextFonts();
    EXPECT_FALSE(SameStorage(PA, PBold));
    EXPECT_NE(PBold, PA);
    TNuo4SymbolLyric Again(R);
    EXPECT_EQ(OutlineOf(Again).boundingRect(), Ink);

    // A preview's own underlines stay out of the kept outline.
    TNuo4SymbolLyric U(Lyric(u"我们", TKoRange(0, 1), {1, 1}));
    const QRectF Plain = OutlineOf(U).boundingRect();
    Nuo4LyricPreviewUnderlines() = true;
    const QRectF Preview = OutlineOf(U).boundingRect();
    Nuo4LyricPreviewUnderlines() = false;
    EXPECT_GT(Preview.bottom(), Plain.bottom());
    TNuo4SymbolLyric V(Lyric(u"我们", TKoRange(0, 1), {1, 1}));
    EXPECT_EQ(OutlineOf(V).boundingRect(), Plain);
}

TEST_F(LyricSymbol, VerseIndexTextIsCopiedDeepAndComparedByText) {
    TrecNuo4SymbolLyric A = Lyric(u"我", TKoRange(0, 1));
    EXPECT_TRUE(A.VerseIndexText.IsEmpty());
    A.VerseIndexText = u"1.2.";
    TrecNuo4SymbolLyric B = A;
    A.VerseIndexText = u"3.";
    EXPECT_EQ(B.VerseIndexText.Get(), u"1.2.");
    EXPECT_FALSE(A == B);
    B.VerseIndexText = u"3.";
    EXPECT_TRUE(A == B);
    B.VerseIndexText = u"";
    EXPECT_TRUE(B.VerseIndexText.IsEmpty());
    EXPECT_EQ(B.VerseIndexText, TNuo4LyricVerseIndexText());
}

TEST_F(LyricSymbol, ReferredLyricDataIsNeverChangedAndCopiesOwnTheirs) {
    TrecNuo4SymbolLyric Copy;
    TrecNuo4SymbolPureLyricData Unchecked;  // scanned data as a fuzzed text may leave it
    Unchecked.Text = u"我们";
    {
        TrecNuo4SymbolPureLyricData Scanned = Lyric(u"我们", TKoRange(0, 1), {1, 0}).Data.Get();
        TrecNuo4SymbolLyric R;
        R.Data.Refer(Scanned);
        EXPECT_TRUE(R.Data.IsReference());
        Copy = R;
        EXPECT_FALSE(Copy.Data.IsReference());
        // A symbol takes the reference over without a copy.
        TNuo4SymbolLyric S(std::move(R));
        EXPECT_EQ(S.GetPureDataPtr(), &Scanned);
        EXPECT_EQ(S.Underline_GetBuffer()[0].UnderlineCount, 1);

        TrecNuo4SymbolLyric U;
        U.Data.Refer(Unchecked);
        TNuo4SymbolLyric SU(std::move(U));
        EXPECT_NE(SU.GetPureDataPtr(), &Unchecked);
        EXPECT_EQ(SU.GetPureDataPtr()->TextUnderlineCountArray, std::vector<int32_t>({0, 0}));
    }
    // The copy outlives the referred data (AddressSanitizer would see a stale read).
    EXPECT_EQ(Copy.Data->Text, u"我们");
    EXPECT_EQ(Copy.Data->GetUnderlineCount(0), 1);
    EXPECT_TRUE(Unchecked.TextUnderlineCountArray.empty());
}
