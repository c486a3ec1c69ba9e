// Text boxes and title blocks. The CJK faces the default fonts map to have square advances, so
// a run of n Chinese characters in a font of size s is n x s wide: fuTitle 6, fuMemo2 3.5,
// fuWordsByAndMusicBy 4 (a run of labels and names).
#include "render/title_block.h"

#include <cmath>

#include "basic_glyphs_test_support.h"
#include "render/measure_surface.h"
#include "render/symbol_page.h"

using namespace nuo4;
using namespace nuo4::test;

namespace {

constexpr double Tol = 0.02;  // measured advances against n x s

double LineHeight(TNuo4FontUsage AUsage) {
    const TKoFontMetrics M = TKoGDIPlusFont::GetFontMetrics(MusicFont_GetFont(AUsage));
    return M.WinAscent + M.WinDescent;
}

QRectF Ink(const TNuo4SymbolPathes& AItems) {
    return SymbolPathes_Union(AItems).boundingRect();
}

using TextBox = GlyphTest;
using TitleBlockLayout = GlyphTest;

TrecNuo4SymbolMemoPrivateOptions Memo(const std::u16string& AText, float AWidth) {
    TrecNuo4SymbolMemoPrivateOptions O;
    O.FontUsage = fuMemo2;
    O.SetABCText(AText);
    O.LayoutWidth = AWidth;
    return O;
}

// 25 characters of 3.5 mm.
const std::u16string Chars25 = u"一二三四五六七八九十一二三四五六七八九十一二三四五";

TEST_F(TextBox, WidthZeroKeepsOneLineAndAWidthWrapsAtIt) {
    TGPRectF B;
    const TNuo4SymbolPathes P = MemoPrivateOptions_GetPathes(Memo(Chars25, 0), B, false);
    ExpectRect(B, 0, 0, 25 * 3.5, LineHeight(fuMemo2), Tol);
    ASSERT_EQ(P.size(), 1u);
    EXPECT_GT(Ink(P).right(), 60);
    // 60 mm hold 17 characters (59.5 mm); the other 8 go to the second line.
    const TNuo4SymbolPathes P60 = MemoPrivateOptions_GetPathes(Memo(Chars25, 60), B, false);
    ExpectRect(B, 0, 0, 17 * 3.5, 2 * LineHeight(fuMemo2), Tol);
    EXPECT_LE(Ink(P60).right(), 60);
    // Centred lines: the short second line sits in the middle of the measured box.
    auto O = Memo(Chars25, 60);
    O.Align = matCenter;
    const TNuo4SymbolPathes Pc = MemoPrivateOptions_GetPathes(O, B, false);
    const double Mid = B.top() + B.height() * 0.75;
    QPainterPath Second;
    Second.addRect(-1, Mid - 0.5, 100, 1);
    const QRectF Line2 = Pc[0].APath.intersected(Second).boundingRect();
    EXPECT_NEAR(Line2.center().x(), 17 * 3.5 / 2, 0.3);
    EXPECT_NEAR(Line2.width(), 8 * 3.5, 2.0);
}

TEST_F(TextBox, EscapesBreakLinesAndTheFrameStaysOutOfTheBounds) {
    auto O = Memo(u"第一行\\n第二行", 0);
    O.bWithFrame = true;
    TGPRectF B;
    const TNuo4SymbolPathes P = MemoPrivateOptions_GetPathes(O, B, false);
    ExpectRect(B, 0, 0, 3 * 3.5, 2 * LineHeight(fuMemo2), Tol);
    ASSERT_EQ(P.size(), 2u);
    ASSERT_TRUE(P[1].IsStroke());
    EXPECT_FALSE(P[1].IsDashed());
    EXPECT_DOUBLE_EQ(P[1].PenWidth, 0.2);
    ExpectRect(P[1].APath.boundingRect(), B.x(), B.y(), B.width(), B.height());
    // The symbol reports the text's box, frame or not.
    TrecNuo4SymbolMemo Rec;
    Rec.PrivateOptions = O;
    TNuo4SymbolMemo S(Rec);
    S.Update(true);
    ExpectRect(S.Bounds(), 0, 0, B.width(), B.height());
    EXPECT_EQ(S.ElementsCount(), 2);
    // Nothing to show, nothing built.
    TNuo4SymbolMemo Empty;
    Empty.Update(true);
    EXPECT_EQ(Empty.ElementsCount(), 0);
    EXPECT_TRUE(RectIsEmpty(Empty.Bounds()));
}

// ---- Justified lines and letter-spaced titles -------------------------------------------------

TEST_F(TitleBlockLayout, OneCharacterIsCentredAndSeveralSpreadToTheTarget) {
    TGPRectF R;
    const QRectF One = CreatePath_TitleBlockJustifiedLine(QStringLiteral("茉"), fuTitle,
                                                          TGPPointF(10, 5), 40, R, false)
                           .boundingRect();
    ExpectRect(R, 10, 5, 40, LineHeight(fuTitle), Tol);
    EXPECT_NEAR(One.center().x(), 30, 0.3);
    // Three characters of 6 over 60: each gap grows by (60 - 18) / 2 = 21, so the third
    // character begins at 10 + 2 x (6 + 21) = 64.
    const QPainterPath Three = CreatePath_TitleBlockJustifiedLine(QStringLiteral("茉莉花"), fuTitle,
                                                                  TGPPointF(10, 5), 60, R, false);
    QPainterPath Right;
    Right.addRect(60, 0, 20, 20);
    const QRectF Third = Three.intersected(Right).boundingRect();
    EXPECT_GE(Third.left(), 64 - Tol);
    EXPECT_LE(Third.left(), 64 + 1.0);
    EXPECT_LE(Third.right(), 70 + Tol);
    EXPECT_GE(Third.right(), 70 - 1.0);
    // Wider than the target: drawn as it is, centred.
    const QRectF Wide = CreatePath_TitleBlockJustifiedLine(QStringLiteral("茉莉花"), fuTitle,
                                                           TGPPointF(0, 0), 12, R, false)
                            .boundingRect();
    EXPECT_NEAR(Wide.center().x(), 6, 0.3);
    EXPECT_GT(Wide.width(), 15);
}

TEST_F(TitleBlockLayout, LetterSpacingTargetsFollowTheCharacterCount) {
    QString S = QStringLiteral("茉 莉");
    EXPECT_DOUBLE_EQ(GetTitleLetterSpacingWidth(S, 170), 34);
    EXPECT_EQ(S, QStringLiteral("茉莉"));
    S = QStringLiteral("茉莉花");
    EXPECT_DOUBLE_EQ(GetTitleLetterSpacingWidth(S, 100), 25);
    S = QStringLiteral("好一朵花");
    EXPECT_DOUBLE_EQ(GetTitleLetterSpacingWidth(S, 100), 30);
    S = QStringLiteral("好一朵茉莉花");
    EXPECT_DOUBLE_EQ(GetTitleLetterSpacingWidth(S, 100), 33);
    // A Latin letter keeps the spaces and the third.
    S = QStringLiteral("Mo li");
    EXPECT_DOUBLE_EQ(GetTitleLetterSpacingWidth(S, 100), 33);
    EXPECT_EQ(S, QStringLiteral("Mo li"));
}

TrecNuo4SectionTitleBuffer Title(TNuo4SectionTitleItemType AType, const std::u16string& AText) {
    TrecNuo4SectionTitleBuffer B;
    B.SetText(AType, AText);
    return B;
}

TEST_F(TitleBlockLayout, BracedTitleSpreadsOverAFifthOfTheWidthCentred) {
    const TGPRectF Layout(20, 20, 170, 0);
    const auto T = Nuo4TitleBlock_GetPathes(Layout, Title(tbitTitle, u"{茉莉}"),
                                            TrecNuo4NoteStyleIndex(), false);
    ASSERT_EQ(T.ItemBounds.size(), 7u);
    // 0.2 x 170 = 34 wide, from 20 + (170 - 34) / 2 = 88; the title line is at 0.
    ExpectRect(T.ItemBounds[tbitTitle], 88, 20, 34, LineHeight(fuTitle), Tol);
    const QRectF I = T.ItemPathes[tbitTitle][0].boundingRect();
    EXPECT_GE(I.left(), 88 - Tol);
    EXPECT_LE(I.left(), 88 + 1.0);
    EXPECT_LE(I.right(), 122 + Tol);
    EXPECT_GE(I.right(), 122 - 1.0);
    EXPECT_NEAR(I.center().x(), 105, 0.3);
    // Without braces: its natural 12 mm, centred on 105.
    const auto N = Nuo4TitleBlock_GetPathes(Layout, Title(tbitTitle, u"茉莉"),
                                            TrecNuo4NoteStyleIndex(), false);
    ExpectRect(N.ItemBounds[tbitTitle], 99, 20, 12, LineHeight(fuTitle), Tol);
    EXPECT_NEAR(N.ItemPathes[tbitTitle][0].boundingRect().center().x(), 105, 0.3);
    // The block is always the whole layout width wide and reaches the title's bottom.
    ExpectRect(N.Bounds, 20, 20, 170, LineHeight(fuTitle), Tol);
}

TEST_F(TitleBlockLayout, EmptyBufferGivesNothing) {
    TrecNuo4SectionTitleBuffer B;
    B.SetText(tbitSubTitle, u"   ");
    const auto T =
        Nuo4TitleBlock_GetPathes(TGPRectF(0, 0, 100, 0), B, TrecNuo4NoteStyleIndex(), false);
    EXPECT_TRUE(T.ItemPathes.empty());
    EXPECT_TRUE(T.ItemBounds.empty());
    EXPECT_TRUE(RectIsEmpty(T.Bounds));
    TrecNuo4SymbolTitleBlock Rec;
    Rec.LayoutWidth = 100;
    Rec.TitleBuffer = B;
    TNuo4SymbolTitleBlock S(Rec);
    S.Update(true);
    EXPECT_EQ(S.ElementsCount(), 0);
    EXPECT_TRUE(RectIsEmpty(S.Bounds()));
    // A short intro on the left still makes the block the whole width wide.
    Rec.TitleBuffer.SetText(tbitIntro, u"  ab ");
    TNuo4SymbolTitleBlock S2(Rec);
    S2.Update(true);
    EXPECT_EQ(S2.ElementsCount(), 1);
    EXPECT_NEAR(S2.Bounds().left(), 0, 1e-9);
    EXPECT_NEAR(S2.Bounds().width(), 100, 1e-9);
    EXPECT_GT(S2.Bounds().height(), 0);
    EXPECT_LT(S2.BlackBox().right(), 10);
}

TEST_F(TitleBlockLayout, StackedNamesAreCentredOnTheirLineAndASingleTextHangsFromIt) {
    const TGPRectF Layout(0, 0, 150, 0);
    const double L = MusicFont_GetFontInfoItem(fuWordsByAndMusicBy).LineSpacing;
    const auto T = Nuo4TitleBlock_GetPathes(Layout, Title(tbitWordsByAndMusicBy, u"{张三,店小二}"),
                                            TrecNuo4NoteStyleIndex(), false);
    // Block 3 x 4 = 12 wide, then 2 and the label (4): 18 wide, against the right edge;
    // two lines centred on the line position 13.
    const TGPRectF& R = T.ItemBounds[tbitWordsByAndMusicBy];
    ExpectRect(R, 150 - 18, 13 - L, 18, 2 * L, Tol);
    // "张三" is spread over the block: its second character ends at the block's right.
    QPainterPath Top;
    Top.addRect(130, R.top(), 14.5, L / 2);
    const QRectF Names = T.ItemPathes[tbitWordsByAndMusicBy][0].intersected(Top).boundingRect();
    EXPECT_LE(Names.left(), 132 + 1.0);
    EXPECT_GE(Names.right(), 144 - 1.2);
    const auto S = Nuo4TitleBlock_GetPathes(Layout, Title(tbitWordsByAndMusicBy, u"江苏民歌"),
                                            TrecNuo4NoteStyleIndex(), false);
    const TGPRectF& Rs = S.ItemBounds[tbitWordsByAndMusicBy];
    EXPECT_NEAR(Rs.top(), 13, Tol);
    EXPECT_NEAR(Rs.right(), 150, Tol);
    EXPECT_NEAR(Rs.width(), 16, Tol);
    EXPECT_NEAR(S.Bounds.bottom(), Rs.bottom(), 1e-9);
}

TEST_F(TitleBlockLayout, BracedWordsByWithLineBreaksIsRightAligned) {
    const auto T = Nuo4TitleBlock_GetPathes(TGPRectF(10, 0, 150, 0),
                                            Title(tbitWordsByAndMusicBy, u"{江苏民歌\\n张三}"),
                                            TrecNuo4NoteStyleIndex(), false);
    const TGPRectF& R = T.ItemBounds[tbitWordsByAndMusicBy];
    ExpectRect(R, 160 - 16, 13, 16, 2 * LineHeight(fuWordsByAndMusicBy), Tol);
    // The shorter second line ends at the right as well.
    QPainterPath Second;
    Second.addRect(100, R.bottom() - 1.5, 70, 1);
    const QRectF Line2 = T.ItemPathes[tbitWordsByAndMusicBy][0].intersected(Second).boundingRect();
    EXPECT_NEAR(Line2.right(), 160, 0.6);
    EXPECT_NEAR(Line2.left(), 152, 1.0);
}

TEST_F(TitleBlockLayout, KeyAndMetersIsAStandardTextOnTheLeft) {
    const auto T =
        Nuo4TitleBlock_GetPathes(TGPRectF(20, 20, 170, 0), Title(tbitKeyAndMeters, u"{1=F}{2/4}"),
                                 TrecNuo4NoteStyleIndex(), false);
    const TGPRectF& R = T.ItemBounds[tbitKeyAndMeters];
    EXPECT_NEAR(R.left(), 20, 1e-6);
    EXPECT_NEAR(R.center().y(), 20 + 13 + R.height() / 2, 1e-6);
    // Wider than the key alone: a key and a meter.
    EXPECT_GT(R.width(), 2 * DocDigitSize().width());
    EXPECT_FALSE(T.ItemPathes[tbitKeyAndMeters][0].isEmpty());
}

TEST_F(TitleBlockLayout, MeasuringNeedsASurfaceAndOneIsLentWhenNoneIsCurrent) {
    SetDestGraphics(nullptr);
    const TrecNuo4SectionTitleBuffer B = Title(tbitTitle, u"茉莉");
    EXPECT_TRUE(RectIsEmpty(
        Nuo4TitleBlock_GetPathes(TGPRectF(0, 0, 100, 0), B, TrecNuo4NoteStyleIndex(), true)
            .Bounds));
    {
        TNuo4MeasureSurfaceScope Scope;
        ASSERT_NE(GetDestGraphics(), nullptr);
        EXPECT_NEAR(
            Nuo4TitleBlock_GetPathes(TGPRectF(0, 0, 100, 0), B, TrecNuo4NoteStyleIndex(), true)
                .Bounds.height(),
            LineHeight(fuTitle), Tol);
    }
    EXPECT_EQ(GetDestGraphics(), nullptr);
    // A current surface is kept.
    SetDestGraphics(FG.get());
    {
        TNuo4MeasureSurfaceScope Scope;
        EXPECT_EQ(GetDestGraphics(), FG.get());
    }
    EXPECT_EQ(GetDestGraphics(), FG.get());
}

}  // namespace
