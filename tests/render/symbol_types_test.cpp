#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>

#include "format/symbol_meter.h"
#include "render/symbol_calc_info.h"
#include "render/symbol_element.h"
#include "render/symbol_types.h"
#include "symbol_test_support.h"

using namespace nuo4;
using namespace nuo4::test;

// ---- Kinds and groups ---------------------------------------------------------------------------

TEST(SymbolTypeGroups, EveryKindWithAClassLivesInExactlyOneBuffer) {
    for (int I = 0; I < Nuo4SymbolTypeCount; ++I) {
        const auto T = TNuo4SymbolType(I);
        const int Groups = int(IsBasicSymbol(T)) + int(IsAttach(T)) + int(IsPage(T));
        const bool bNoClass = T == sbstNone || T == sbstKeySignature || T == sbstAttachLyric;
        EXPECT_EQ(Groups, bNoClass ? 0 : 1) << EnumName(T);
        // Named in the user interface exactly when it is a kind the user meets.
        EXPECT_EQ(std::u16string(GetSymbolTypeName(T)).empty(), bNoClass) << EnumName(T);
        if (IsAttachments(T)) {
            EXPECT_TRUE(IsAttach(T)) << EnumName(T);
        }
        EXPECT_EQ(IsNoteOrBarline(T), IsNote(T) || IsBarline(T));
    }
    EXPECT_FALSE(IsAttachments(sbstAttachLyric));
    EXPECT_FALSE(IsAttachments(sbstReturn));
    EXPECT_TRUE(IsAttachments(sbstAttachBrace));
    EXPECT_FALSE(IsAttachments(sbstLyric));
    EXPECT_FALSE(IsAttachments(sbstArc));
    EXPECT_STREQ(EnumName(sbstTitleBlock), "sbstTitleBlock");
    EXPECT_STREQ(EnumName(TNuo4SymbolType(23)), "");
}

TEST(SymbolTypeGroups, InterfaceNamesAreDistinct) {
    std::set<std::u16string> Names;
    int Count = 0;
    for (int I = 0; I < Nuo4SymbolTypeCount; ++I) {
        const std::u16string N = GetSymbolTypeName(TNuo4SymbolType(I));
        if (N.empty()) continue;
        ++Count;
        Names.insert(N);
    }
    EXPECT_EQ(Count, 20);
    EXPECT_EQ(Names.size(), 20u);
    EXPECT_EQ(std::u16string(GetSymbolTypeName(sbstReturn)), u"段落标记(回车)");
}

TEST(SymbolBufferIndex, InvalidUntilGivenAnIndex) {
    TrecNuo4SymbolBufferIndex B;
    EXPECT_TRUE(B.IsInvalid());
    B.InitializeToPage(3);
    EXPECT_TRUE(B.IsPage());
    EXPECT_FALSE(B.IsInvalid());
    B.SetToInvalid();
    EXPECT_TRUE(B.IsInvalid());
    EXPECT_TRUE(B.IsPage());  // invalidating keeps the kind
}

// ---- Hide levels
// ----------------------------------------------------------------------------------

TEST(SymbolHideRules, LevelsEndingInTwoDifferOnlyForNonNoteSymbols) {
    const std::pair<TNuo4SymbolHideLevel, TNuo4SymbolHideLevel> Pairs[] = {
        {shlDurationExclude, shlDurationExclude2},
        {shlDigitOnly, shlDigitOnly2},
        {shlNone, shlOther},
        {shlAll, shlNote}};
    for (auto [Plain, Two] : Pairs) {
        EXPECT_EQ(NoteElementHideMask(Plain), NoteElementHideMask(Two)) << EnumName(Two);
        EXPECT_EQ(SymbolHided(sbstNote, Plain, false), SymbolHided(sbstNote, Two, false));
    }
    // For a bar line the second forms hide the whole symbol, the plain ones do not.
    EXPECT_FALSE(SymbolHided(sbstBarline, shlDurationExclude, false));
    EXPECT_TRUE(SymbolHided(sbstBarline, shlDurationExclude2, false));
    EXPECT_FALSE(SymbolHided(sbstBarline, shlDigitOnly, false));
    EXPECT_TRUE(SymbolHided(sbstBarline, shlDigitOnly2, false));
    EXPECT_TRUE(SymbolHided(sbstBarline, shlOther, false));
    EXPECT_FALSE(SymbolHided(sbstBarline, shlNote, false));
    EXPECT_TRUE(SymbolHided(sbstNote, shlNote, false));
    EXPECT_FALSE(SymbolHided(sbstNote, shlOther, false));
    // Symbols without control options follow their flag alone.
    EXPECT_TRUE(SymbolHided(sbstLyric, shlNone, true));
    EXPECT_FALSE(SymbolHided(sbstLyric, shlAll, false));
}

TEST(SymbolHideRules, DurationExcludeHidesWhatDigitOnlyHidesPlusOctaveDots) {
    for (int I = 0; I < Nuo4NoteElementCount; ++I) {
        const bool bDigitOnly = NoteElementHided(shlDigitOnly, I);
        EXPECT_EQ(bDigitOnly, I == neiDigit || I == neiAccidental) << I;
        EXPECT_EQ(NoteElementHided(shlDurationExclude, I), bDigitOnly || I == neiOctaveDots) << I;
        EXPECT_TRUE(NoteElementHided(shlAll, I));
        EXPECT_FALSE(NoteElementHided(shlNone, I));
    }
    EXPECT_FALSE(NoteElementHided(shlAll, 7));  // no such element
    EXPECT_FALSE(NoteElementHided(shlAll, -1));
}

// ---- Calculation record
// -----------------------------------------------------------------------------

namespace {

TrecNuo4CalcInfo_BoundsInfo Both(TGPRectF R) {
    return {R, R};
}

}  // namespace

TEST(SymbolCalcInfo, DefaultHasNoIndexesAndNoTextOrigin) {
    TrecNuo4SymbolCalcInfo C;
    C.SymbolBufferIndex.InitializeToBasic(4);
    C.Bounds_Self = Both(TGPRectF(0, 0, 1, 1));
    C.SymbolABCTextInfo.InitializeToLyrics(1, 2);
    C.SetToDefault();
    EXPECT_TRUE(C.SymbolBufferIndex.IsInvalid());
    EXPECT_TRUE(RectIsEmpty(C.Bounds_Self.Layout));
    EXPECT_EQ(C.SymbolABCTextInfo.aType, spwabtNone);
    EXPECT_EQ(C.SymbolABCTextInfo.LyricVerseBufIndex(), -1);
    TrecNuo4BasicCalcInfo Basic;
    Basic.Key = 3;
    Basic.Bounds_Total = Both(TGPRectF(0, 0, 1, 1));
    Basic.SetToDefault();
    EXPECT_EQ(Basic.Key, 0);
    EXPECT_TRUE(RectIsEmpty(Basic.Bounds_Total.Layout));
    EXPECT_TRUE(Basic.Arc.IsEmpty());
    Basic.Arc.Include(aptEnd);
    EXPECT_TRUE(Basic.Arc.Contains(aptEnd));
    EXPECT_FALSE(Basic.Arc.Contains(aptStart));
}

TEST(SymbolCalcInfo, TextOriginAnswersOnlyForItsOwnKind) {
    using TInfo = TrecNuo4CalcInfo_SymboABCTextInfo;
    struct {
        void (*Init)(TInfo&);
        // Voice item, verse, lyric position, attachments item, page item.
        int32_t Want[5];
    } Cases[] = {
        {[](TInfo& I) { I.InitializeToVoice(7); }, {7, -1, -1, -1, -1}},
        {[](TInfo& I) { I.InitializeToLyrics(2, 9); }, {-1, 2, 9, -1, -1}},
        {[](TInfo& I) { I.InitializeToAttachments(4); }, {-1, -1, -1, 4, -1}},
        {[](TInfo& I) { I.InitializeToPage(3); }, {-1, -1, -1, -1, 3}},
    };
    for (const auto& C : Cases) {
        TInfo I;
        I.InitializeToLyrics(5, 6);  // an earlier origin leaves nothing behind
        C.Init(I);
        const int32_t Got[5] = {I.VoiceBufIndex(), I.LyricVerseBufIndex(), I.LyricPos(),
                                I.AttachmentsBufIndex(), I.PageBufIndex()};
        for (int K = 0; K < 5; ++K) EXPECT_EQ(Got[K], C.Want[K]) << "kind " << EnumName(I.aType);
    }
}

TEST(SymbolCalcInfo, SymbolBoxesKeepTheirEdgesInSinglePrecision) {
    const TGPRectF R(-123.456789, 0.1234567, 0.3333333, 41.7);
    const TGPRectF32 F(R);
    EXPECT_NEAR(F.left(), R.left(), 1e-5);
    EXPECT_NEAR(F.right(), R.right(), 1e-5);
    EXPECT_NEAR(F.top(), R.top(), 1e-6);
    EXPECT_NEAR(F.bottom(), R.bottom(), 1e-5);
    EXPECT_TRUE(RectIsEmpty(TGPRectF32()));
    EXPECT_FALSE(RectIsEmpty(TGPRectF32(TGPRectF(5, 5, 1e-6, 1))));
    // Uniting and moving in single precision agree with the same work in double.
    TrecNuo4CalcInfo_SymbolBoundsInfo S = Both(R);
    TrecNuo4CalcInfo_BoundsInfo D = Both(R);
    const TrecNuo4CalcInfo_BoundsInfo Other{TGPRectF(0.7, -2.2, 1.1, 0.9),
                                            TGPRectF(-200.1, 3.3, 0.5, 50)};
    S.MyUnion(Other);
    D.MyUnion(Other);
    S.MyOffset(12.345, -6.789);
    D.MyOffset(12.345, -6.789);
    const TrecNuo4CalcInfo_BoundsInfo Back = S;
    for (const auto& [A, B] : {std::pair{Back.Black, D.Black}, std::pair{Back.Layout, D.Layout}}) {
        EXPECT_NEAR(A.left(), B.left(), 1e-4);
        EXPECT_NEAR(A.right(), B.right(), 1e-4);
        EXPECT_NEAR(A.top(), B.top(), 1e-4);
        EXPECT_NEAR(A.bottom(), B.bottom(), 1e-4);
    }
}

TEST(SymbolCalcInfo, TotalBoundsTakeLyricsHorizontallyOnlyWhenTheyOccupy) {
    TrecNuo4BasicCalcInfo C;
    TrecNuo4CalcInfo_SymbolBoundsInfo Self = Both(TGPRectF(-1, -3, 2, 3));  // x -1..1, y -3..0
    C.AttachmentsInfo.Lyrics.Mut().Bounds = Both(TGPRectF(-4, 2, 8, 3));    // x -4..4, y 2..5
    C.AttachmentsInfo.Articulations.Mut().Bounds = Both(TGPRectF(-0.5, -5, 1, 1));

    C.Update_Bounds_Total(Self, false);
    for (const TGPRectF R : {C.Bounds_Total.Layout, C.Bounds_Total.Black}) {
        EXPECT_DOUBLE_EQ(R.left(), -1);
        EXPECT_DOUBLE_EQ(R.right(), 1);
        EXPECT_DOUBLE_EQ(R.top(), -5);    // articulation on top
        EXPECT_DOUBLE_EQ(R.bottom(), 5);  // lyrics below, even without occupying
    }
    C.Update_Bounds_Total(Self, true);
    EXPECT_DOUBLE_EQ(C.Bounds_Total.Layout.left(), -4);
    EXPECT_DOUBLE_EQ(C.Bounds_Total.Layout.right(), 4);
    EXPECT_DOUBLE_EQ(C.Bounds_Total.Black.right(), 4);
    // The self boxes stay as they were.
    EXPECT_EQ(Self.Layout, TGPRectF(-1, -3, 2, 3));
}

TEST(SymbolCalcInfo, ExtraLyricRoomMovesOneEdgeOfBothBoxes) {
    TrecNuo4BasicCalcInfo C;
    TrecNuo4CalcInfo_SymbolBoundsInfo Self = Both(TGPRectF(-1, -3, 2, 3));
    C.ExtraBoundsForLyric_Left = 0.5f;
    C.Update_Bounds_Total(Self, false);
    EXPECT_DOUBLE_EQ(C.Bounds_Total.Layout.left(), -1.5);
    EXPECT_DOUBLE_EQ(C.Bounds_Total.Layout.right(), 1);
    EXPECT_DOUBLE_EQ(C.Bounds_Total.Black.left(), -1.5);
    C.ExtraBoundsForLyric_Left = 0;
    C.ExtraBoundsForLyric_Right = 2;
    C.Update_Bounds_Total(Self, false);
    EXPECT_DOUBLE_EQ(C.Bounds_Total.Layout.left(), -1);
    EXPECT_DOUBLE_EQ(C.Bounds_Total.Black.right(), 3);
    // Widening is measured from the united box, not from the self box.
    C.AttachmentsInfo.Lyrics.Mut().Bounds = Both(TGPRectF(-2, 1, 6, 1));
    C.Update_Bounds_Total(Self, true);
    EXPECT_DOUBLE_EQ(C.Bounds_Total.Layout.right(), 6);
}

TEST(SymbolCalcInfo, TopsAreTheSmallestOfTheBoxesPresent) {
    TrecNuo4BasicCalcInfo C;
    TrecNuo4CalcInfo_SymbolBoundsInfo Self = Both(TGPRectF(-1, -3, 2, 3));
    EXPECT_DOUBLE_EQ(C.GetArticulationsTop(Self), -3);
    EXPECT_DOUBLE_EQ(C.GetArcsTop(Self), -3);
    C.AttachmentsInfo.Articulations.Mut().Bounds = Both(TGPRectF(-1, -5, 2, 1));
    C.AttachmentsInfo.Arcs.Mut().Bounds = Both(TGPRectF(-1, -7, 4, 1));
    EXPECT_DOUBLE_EQ(C.GetArticulationsTop(Self), -5);
    EXPECT_DOUBLE_EQ(C.GetArcsTop(Self), -7);
    // A symbol hanging below the line has no phantom top at 0 from missing articulations.
    TrecNuo4BasicCalcInfo L;
    const TrecNuo4CalcInfo_SymbolBoundsInfo Below = Both(TGPRectF(-1, 4, 2, 3));
    EXPECT_DOUBLE_EQ(L.GetArticulationsTop(Below), 4);
    EXPECT_DOUBLE_EQ(L.GetArcsTop(Below), 4);
}

TEST(SymbolCalcInfo, BoundsInfoMovesAndUnitesBothBoxes) {
    TrecNuo4CalcInfo_BoundsInfo B{TGPRectF(0, 0, 1, 1), TGPRectF(0, 0, 2, 2)};
    B.MyOffset(1, 2);
    EXPECT_EQ(B.Black.topLeft(), QPointF(1, 2));
    EXPECT_EQ(B.Layout.topLeft(), QPointF(1, 2));
    B.MyOffsetY(-2);
    EXPECT_EQ(B.Layout.topLeft(), QPointF(1, 0));
    B.MyUnion(Both(TGPRectF(5, 5, 1, 1)), false, true);
    EXPECT_DOUBLE_EQ(B.Black.right(), 6);
    EXPECT_DOUBLE_EQ(B.Black.bottom(), 1);  // vertical suppressed
    EXPECT_DOUBLE_EQ(B.Layout.right(), 6);
}

// ---- Symbol transform
// -------------------------------------------------------------------------------

TEST(SymbolTransform, PointIsShearedThenScaledThenRotated) {
    TrecNuo4SymbolTransform T;
    T.Sx = 2;
    T.Sy = 3;
    T.RotateAngle = 90;
    T.bItalic = true;
    const QPointF P(1, -1);
    // By hand: shear x += -0.2 y -> (1.2, -1); scale -> (2.4, -3); rotate 90 degrees with y
    // down: (x cos - y sin, x sin + y cos) = (3, 2.4).
    const QPointF Q = T.GetMatrix().map(P);
    EXPECT_NEAR(Q.x(), 3, 1e-6);
    EXPECT_NEAR(Q.y(), 2.4, 1e-6);
    T.bItalic = false;
    const QPointF Q2 = T.GetMatrix().map(P);
    EXPECT_NEAR(Q2.x(), 3, 1e-6);
    EXPECT_NEAR(Q2.y(), 2, 1e-6);
}

TEST(SymbolTransform, IsSameWithinAHundredth) {
    TrecNuo4SymbolTransform T;
    EXPECT_TRUE(T.IsSame());
    T.Sx = 1.005f;
    T.RotateAngle = -0.005f;
    EXPECT_TRUE(T.IsSame());
    T.Sy = 0.98f;
    EXPECT_FALSE(T.IsSame());
    T.Sy = 1;
    T.bItalic = true;
    EXPECT_FALSE(T.IsSame());
    T.bItalic = false;
    T.RotateAngle = 0.02f;
    EXPECT_FALSE(T.IsSame());
}

TEST(SymbolTransform, MirrorNegatesTheXScaleAndTheRotationGivesTheAngle) {
    TrecNuo4SymbolTransform2 T2;
    T2.Sx = 2;
    T2.Sy = 3;
    T2.bMirror = true;
    T2.Rotate.FromAngle(-90);
    const TrecNuo4SymbolTransform T = SymbolTransformFromTransform2(T2);
    EXPECT_FLOAT_EQ(T.Sx, -2);
    EXPECT_FLOAT_EQ(T.Sy, 3);
    EXPECT_FLOAT_EQ(T.RotateAngle, 270);
    EXPECT_FALSE(T.bItalic);
    const QPointF Q = T.GetMatrix().map(QPointF(1, 0));  // (-2, 0) turned by 270 degrees
    EXPECT_NEAR(Q.x(), 0, 1e-6);
    EXPECT_NEAR(Q.y(), 2, 1e-6);
    EXPECT_TRUE(SymbolTransformFromTransform2(TrecNuo4SymbolTransform2()).IsSame());
}

// ---- Path items and elements
// ---------------------------------------------------------------------

TEST(SymbolPathes, AddingSkipsPathsWithoutPoints) {
    TNuo4SymbolPathes A;
    SymbolPathes_AddFill(A, QPainterPath());
    SymbolPathes_AddStroke(A, QPainterPath(), 0.2);
    EXPECT_TRUE(A.empty());
    QPainterPath Dot(QPointF(1, 1));  // one point is not empty
    SymbolPathes_AddFill(A, Dot);
    SymbolPathes_AddStroke(A, RectPath(0, 0, 1, 1), 0.2);
    ASSERT_EQ(A.size(), 2u);
    EXPECT_FALSE(A[0].IsStroke());
    EXPECT_TRUE(A[1].IsStroke());
    EXPECT_FALSE(A[1].IsDashed());
    EXPECT_DOUBLE_EQ(A[1].PenWidth, 0.2);
}

TEST(SymbolPathes, OneItemArraysAndTheirKinds) {
    const QPainterPath P = RectPath(0, 0, 1, 1);
    const TNuo4SymbolPathes F = SymbolPathes_Fill(P);
    const TNuo4SymbolPathes S = SymbolPathes_Stroke(P, 0.3);
    const TNuo4SymbolPathes D = SymbolPathes_Dashed(P, 0.3);
    ASSERT_EQ(F.size(), 1u);
    ASSERT_EQ(S.size(), 1u);
    ASSERT_EQ(D.size(), 1u);
    EXPECT_EQ(F[0].AType, spitFill);
    EXPECT_FALSE(F[0].IsDashed());
    EXPECT_TRUE(S[0].IsStroke() && !S[0].IsDashed());
    EXPECT_DOUBLE_EQ(S[0].DashPatternLength_Solid, 0);
    EXPECT_TRUE(D[0].IsDashed());
    EXPECT_DOUBLE_EQ(D[0].DashPatternLength_Solid, 1.2);
    EXPECT_DOUBLE_EQ(D[0].DashPatternLength_Gap, 0.9);
    // A fill item marked dashed is still no dashed stroke.
    TrecNuo4SymbolPathItem I = F[0];
    I.bDashed = true;
    EXPECT_FALSE(I.IsDashed());
}

TEST(SymbolPathes, TransformsActOnEveryPathAndUnionKeepsThemAll) {
    TNuo4SymbolPathes A = SymbolPathes_Fill(RectPath(0, 0, 1, 1));
    SymbolPathes_AddStroke(A, RectPath(2, 0, 1, 1), 0.1);
    SymbolPathes_Translate(A, QPointF(1, 2));
    EXPECT_EQ(A[0].APath.boundingRect(), TGPRectF(1, 2, 1, 1));
    EXPECT_EQ(A[1].APath.boundingRect(), TGPRectF(3, 2, 1, 1));
    SymbolPathes_Transform(A, QTransform::fromScale(2, 1));
    EXPECT_EQ(A[1].APath.boundingRect(), TGPRectF(6, 2, 2, 1));
    const QPainterPath U = SymbolPathes_Union(A);
    EXPECT_EQ(U.boundingRect(), TGPRectF(2, 2, 6, 1));
    EXPECT_FALSE(U.contains(QPointF(5, 2.5)));  // the gap between them stays empty
    EXPECT_TRUE(U.contains(QPointF(3, 2.5)));
    EXPECT_TRUE(U.contains(QPointF(7, 2.5)));
}

TEST(SymbolElements, BlackBoxIsThePathBoundsWithoutPen) {
    EXPECT_TRUE(RectIsEmpty(TNuo4SymbolElement::Fill(QPainterPath()).GetBlackBox()));
    const TNuo4SymbolElement F = TNuo4SymbolElement::Fill(RectPath(1, 2, 3, 4));
    EXPECT_EQ(F.GetBlackBox(), TGPRectF(1, 2, 3, 4));
    EXPECT_FALSE(F.IsStroke());
    const auto S = TNuo4SymbolElement::Stroke_Solid(RectPath(1, 2, 3, 4), 1.0);
    EXPECT_EQ(S.GetBlackBox(), TGPRectF(1, 2, 3, 4));
    EXPECT_TRUE(S.IsStroke());
    EXPECT_FALSE(S.IsDashed());
    const auto D = TNuo4SymbolElement::Stroke_Dashed(RectPath(0, 0, 1, 1), 0.2);
    EXPECT_TRUE(D.IsDashed());
    EXPECT_DOUBLE_EQ(D.DashPatternLength_Solid(), 1.2);
    EXPECT_DOUBLE_EQ(D.DashPatternLength_Gap(), 0.9);
    // The element keeps its own copy of the path.
    QPainterPath P = RectPath(0, 0, 1, 1);
    const TNuo4SymbolElement C = TNuo4SymbolElement::Fill(P);
    P.translate(5, 5);
    EXPECT_EQ(C.GetBlackBox(), TGPRectF(0, 0, 1, 1));
}

namespace {

// Lengths in pixels of the inked and blank runs along one image row, inner runs only.
void RowRuns(const QImage& AImg, int AY, std::vector<int>& AInk, std::vector<int>& ABlank) {
    std::vector<std::pair<bool, int>> Runs;
    for (int X = 0; X < AImg.width(); ++X) {
        const bool bInk = qGray(AImg.pixel(X, AY)) < 128;
        if (Runs.empty() || Runs.back().first != bInk)
            Runs.emplace_back(bInk, 1);
        else
            ++Runs.back().second;
    }
    // Drop the margins and the last, possibly cut, dash.
    for (size_t I = 1; I + 2 < Runs.size(); ++I)
        (Runs[I].first ? AInk : ABlank).push_back(Runs[I].second);
}

}  // namespace

TEST(SymbolElements, DashedItemDrawsWithStandardPatternWhateverItsOwnLengths) {
    TNuo4SymbolPathes Items(1);
    QPainterPath Line(QPointF(1, 2));
    Line.lineTo(21, 2);
    Items[0].InitializeToStroke_Dashed(Line, 0.6, 3.0, 3.0);
    TTestSymbol<TDummyRec, sbstAttachExtend> S;
    S.AddElementsFromSymbolPathes(Items);
    Nuo4SymbolViewSettings().bShowAuxInfo_AttachmentsBk = false;
    const QImage Img = Render(S, 23, 4);
    Nuo4SymbolViewSettings().SetToDefault();
    std::vector<int> Ink, Blank;
    RowRuns(Img, 20, Ink, Blank);
    ASSERT_GE(Ink.size(), 5u);
    for (int L : Ink) EXPECT_NEAR(L, 12, 1);   // 1.2 mm at 10 px/mm
    for (int L : Blank) EXPECT_NEAR(L, 9, 1);  // 0.9 mm
    // Read back, the element describes itself with the standard lengths.
    const TNuo4SymbolPathes Back = S.GetSymbolPathes();
    ASSERT_EQ(Back.size(), 1u);
    EXPECT_TRUE(Back[0].IsDashed());
    EXPECT_DOUBLE_EQ(Back[0].DashPatternLength_Solid, 1.2);
    EXPECT_FLOAT_EQ(float(Back[0].PenWidth), 0.6f);  // kept in single precision
}

TEST(SymbolElements, SolidStrokeAndFillDrawWhereTheirPathsAre) {
    TNuo4SymbolPathes Items = SymbolPathes_Fill(RectPath(1, 1, 2, 2));
    QPainterPath Line(QPointF(5, 2));
    Line.lineTo(15, 2);
    SymbolPathes_AddStroke(Items, Line, 0.6);
    TTestSymbol<TrecNuo4SymbolMeter, sbstMeter> S;
    S.AddElementsFromSymbolPathes(Items);
    ASSERT_EQ(S.ElementsCount(), 2);
    const QImage Img = Render(S, 17, 4);
    EXPECT_EQ(PixelAtMm(Img, 2, 2), qRgb(0, 0, 0));
    std::vector<int> Ink, Blank;
    RowRuns(Img, 20, Ink, Blank);  // fill, gap, then one unbroken line
    ASSERT_EQ(Blank.size(), 1u);
    EXPECT_NEAR(Blank[0], 20, 1);
    EXPECT_EQ(qGray(PixelAtMm(Img, 10, 2.15)), 0);    // inside the 0.6 mm pen
    EXPECT_EQ(qGray(PixelAtMm(Img, 10, 2.45)), 255);  // outside it
}

// A list with empty fills among its slots reads back, slot by slot and as path items, exactly
// what was added, through every kind of replacement.
TEST(SymbolElementList, EmptyFillsTakeNoRoomAndEverySlotReadsBack) {
    auto Square = [](double X) {
        QPainterPath P;
        P.addRect(X, 0, 1, 1);
        return P;
    };
    const QPainterPath Empty;
    std::vector<TNuo4SymbolElement> Want = {
        TNuo4SymbolElement::Fill(Square(0)), TNuo4SymbolElement::Fill(Empty),
        TNuo4SymbolElement::Stroke_Solid(Empty, 0.5),  // an empty stroke stays stored
        TNuo4SymbolElement::Fill(Empty), TNuo4SymbolElement::Fill(Square(4))};
    // Beyond the masked slots everything is stored, empty or not.
    for (int I = 0; I < 40; ++I)
        Want.push_back(TNuo4SymbolElement::Fill(I % 3 ? Empty : Square(10 + I)));
    TNuo4SymbolElementList L;
    for (const TNuo4SymbolElement& E : Want) L.Add(E);
    auto Check = [&](const char* AStep) {
        ASSERT_EQ(L.Count(), int(Want.size())) << AStep;
        int Stored = 0;
        for (int I = 0; I < L.Count(); ++I) {
            const TNuo4SymbolElement& A = L.At(I);
            EXPECT_EQ(A.IsStroke(), Want[I].IsStroke()) << AStep << " slot " << I;
            EXPECT_EQ(A.PenWidth(), Want[I].PenWidth()) << AStep << " slot " << I;
            EXPECT_EQ(A.Path(), Want[I].Path()) << AStep << " slot " << I;
            Stored += I >= 32 || !TNuo4SymbolElementList::IsEmptyFill(Want[I]);
        }
        EXPECT_EQ(L.StoredEnd() - L.StoredBegin(), Stored) << AStep;
    };
    Check("added");
    const struct {
        int Slot;
        double X;  // < 0: an empty fill
    } Steps[] = {{1, 1}, {0, -1}, {4, -1}, {3, 3}, {1, 7}, {36, -1}, {2, 2}, {0, 0}};
    for (const auto& S : Steps) {
        const TNuo4SymbolElement E = TNuo4SymbolElement::Fill(S.X < 0 ? Empty : Square(S.X));
        L.Replace(S.Slot, E);
        Want[size_t(S.Slot)] = E;
        Check(("slot " + std::to_string(S.Slot)).c_str());
    }
    L.Clear();
    EXPECT_EQ(L.Count(), 0);
    EXPECT_EQ(L.StoredBegin(), L.StoredEnd());
}

// The MIDI notes and attach indexes keep a few values in place and more in a block: both
// read back, copy and compare alike on either side of that limit.
TEST(SymbolCalcInfo, SmallListsHoldAnyCountAndCopyDeeply) {
    for (size_t N : {0, 1, 2, 3, 12, 13, 40}) {
        std::vector<uint8_t> Midi;
        std::vector<int32_t> Indexes;
        for (size_t I = 0; I < N; ++I) {
            Midi.push_back(uint8_t(60 + I));
            Indexes.push_back(int32_t(1000 + I));
        }
        TNuo4MidiNoteList M;
        M = Midi;
        TNuo4AttachIndexList A;
        for (int32_t X : Indexes) A.push_back(X);
        const TNuo4MidiNoteList M2 = M;
        TNuo4AttachIndexList A2;
        A2.push_back(7);
        A2 = A;
        M = std::vector<uint8_t>{1};  // the copies are their own
        EXPECT_EQ(M2, Midi) << N;
        EXPECT_EQ(M2.size(), N);
        EXPECT_EQ(A2, Indexes) << N;
        EXPECT_EQ(A, A2) << N;
        EXPECT_EQ(A2.size(), N);
        if (N) {
            EXPECT_EQ(M2.at(N - 1), Midi.back());
            EXPECT_EQ(A2[N - 1], Indexes.back());
        }
        EXPECT_THROW(M2.at(N), std::out_of_range);
    }
}
