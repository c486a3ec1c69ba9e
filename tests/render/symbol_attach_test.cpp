// The attachment symbols: hairpins, often-used marks and their table, extend symbols, braces in
// their styles and directions, special texts and special voltas, and the factory. Default
// document digit 2.4 x 3 mm, so W0 = W = 2.4 and H = 3 for the default style.
#include <gtest/gtest.h>

#include <cmath>

#include "basic_glyphs_test_support.h"
#include "render/symbol_arc.h"
#include "render/symbol_attach.h"

using namespace nuo4;
using nuo4::test::ExpectRect;
using nuo4::test::FigureCount;
using nuo4::test::GlyphTest;
using nuo4::test::InkWithin;

namespace {

constexpr double Eps = 1e-4;

class AttachSymbol : public GlyphTest {};

QPainterPath AllPaths(const TNuo4Symbol& S) {
    return SymbolPathes_Union(S.GetSymbolPathes());
}

bool HasPoint(const QPainterPath& P, double X, double Y) {
    for (int I = 0; I < P.elementCount(); ++I)
        if (std::fabs(P.elementAt(I).x - X) < Eps && std::fabs(P.elementAt(I).y - Y) < Eps)
            return true;
    return false;
}

// The closed figures of a path that are rectangles of the given width.
std::vector<QRectF> RectsOfWidth(const QPainterPath& P, double AWidth) {
    std::vector<QRectF> R;
    for (const QPolygonF& Poly : P.toSubpathPolygons()) {
        const QRectF B = Poly.boundingRect();
        if (std::fabs(B.width() - AWidth) < Eps && Poly.size() <= 5) R.push_back(B);
    }
    return R;
}

// ---- Hairpins -------------------------------------------------------------------------------

TEST_F(AttachSymbol, HairpinsOpenAtTheirWideEnd) {
    TrecNuo4SymbolAttachDynamic R;
    R.Initialize(15, false, false, true);
    TNuo4SymbolAttachDynamic Cresc(R);
    Cresc.Update(true);
    ExpectRect(Cresc.Bounds(), 0, -0.75, 15, 1.5);
    double H, T;
    Cresc.GetHeightAndThickness(H, T);
    EXPECT_NEAR(H, 1.5, Eps);
    EXPECT_NEAR(T, 0.21, Eps);
    ASSERT_EQ(Cresc.ElementsCount(), 1);
    const auto Items = Cresc.GetSymbolPathes();
    ASSERT_TRUE(Items[0].IsStroke());
    EXPECT_NEAR(Items[0].PenWidth, 0.21, Eps);
    // The crescendo starts at a point and spans -0.75 ... 0.75 at its open right end.
    EXPECT_TRUE(HasPoint(Items[0].APath, 0, 0));
    EXPECT_TRUE(HasPoint(Items[0].APath, 15, -0.75));
    EXPECT_TRUE(HasPoint(Items[0].APath, 15, 0.75));

    R.Initialize(15, true, false, true);
    TNuo4SymbolAttachDynamic Dim(R);
    Dim.Update(true);
    const QPainterPath D = AllPaths(Dim);
    EXPECT_TRUE(HasPoint(D, 15, 0));
    EXPECT_TRUE(HasPoint(D, 0, -0.75));
    EXPECT_TRUE(HasPoint(D, 0, 0.75));

    // A partial crescendo starts open, half as wide.
    R.Initialize(15, false, true, true);
    TNuo4SymbolAttachDynamic Part(R);
    Part.Update(true);
    const QPainterPath P = AllPaths(Part);
    EXPECT_FALSE(HasPoint(P, 0, 0));
    EXPECT_TRUE(HasPoint(P, 0, -0.375));
    EXPECT_TRUE(HasPoint(P, 0, 0.375));
    EXPECT_EQ(FigureCount(P), 2);
    EXPECT_EQ(Part.Ocupy(), Nuo4OcupyUpDown);
}

// ---- Often-used marks -----------------------------------------------------------------------

TEST_F(AttachSymbol, OftenTableGivesGlyphOffsetTransformAndOccupancy) {
    const auto& Table = Nuo4AttachOftenTable();
    const auto* Breath = Table.GetItemPtr(agitoHuanQi);
    ASSERT_NE(Breath, nullptr);
    EXPECT_EQ(Breath->ShortName, u"\u6362\u6C14");  // "换气"
    EXPECT_EQ(Breath->FontInfo.Unicode, CoreFontSymbolInfo(cfsHuanQi).Unicode);
    EXPECT_NEAR(Breath->OffsetCoef.x(), -1.0, Eps);
    EXPECT_NEAR(Breath->OffsetCoef.y(), -0.8, Eps);
    EXPECT_EQ(Breath->Ocupy, 0);
    EXPECT_TRUE(Breath->Transform.IsDefault());

    const auto* Glide = Table.GetItemPtr(agitoGlideUp_Arrow);
    EXPECT_NEAR(Glide->Transform.Sx, 1.2f, 1e-6);
    EXPECT_EQ(Glide->Ocupy, (1 << atotLeft) | (1 << atotRight));
    EXPECT_EQ(Table.GetItemPtr(agitoArticulation_ChanYin)->Ocupy, Nuo4OcupyUpDown);
    // Rows follow the glyph table, not the enumeration's neighbours.
    EXPECT_EQ(Table.GetItemPtr(agitoRepeat_DC)->ShortName, u"\u91CD\u590D-DC");
    EXPECT_EQ(Table.GetItemPtr(agitoArticulation_BoYin_Down)->ShortName, u"BoYin-Down");
    EXPECT_EQ(Table.GetItemPtr(agitoForce_ff)->ShortName, u"\u529B\u5EA6-ff");
    EXPECT_EQ(Table.GetItemPtr(agitoRepeat_Segno23)->FontInfo.Unicode, 0xF04B);
    EXPECT_NEAR(Table.GetItemPtr(agitoRepeat_DS1)->OffsetCoef.y(), 1.8, Eps);
    EXPECT_EQ(Table.GetItemPtr(TNuo4AttachmentsGroupItemType_Often(Nuo4AttachOftenCount)), nullptr);
}

TEST_F(AttachSymbol, OftenMarksAreSizedByTheDigitWidthAndTransformed) {
    TrecNuo4SymbolAttachOften R;
    R.Initialize(agitoHuanQi);
    TNuo4SymbolAttachOften Breath(R);
    Breath.Update(true);
    // 264 x 345 design units at 2.4 / 400 mm each, the reference point at the bottom middle.
    ExpectRect(Breath.Bounds(), -0.792, -2.07, 1.584, 2.07);
    EXPECT_TRUE(InkWithin(Breath.BlackBox(), Breath.Bounds()));

    R.Initialize(agitoGlideUp_Arrow);
    EXPECT_NEAR(R.Transform.Sx, 1.2f, 1e-6);
    TNuo4SymbolAttachOften Glide(R);
    Glide.Update(true);
    EXPECT_NEAR(Glide.Bounds().width(), 233 * 0.006 * 1.2, Eps);
    EXPECT_NEAR(Glide.Bounds().height(), 500 * 0.006, Eps);

    R.Initialize(agitoLineVert);
    TNuo4SymbolAttachOften Line(R);
    bool bVert = false;
    double L = 0;
    ASSERT_TRUE(Line.IsLineSymbol(bVert, L));
    EXPECT_TRUE(bVert);
    EXPECT_NEAR(L, 3.0, Eps);
    R.Initialize(agitoRing);
    TNuo4SymbolAttachOften Ring(R);
    EXPECT_FALSE(Ring.IsLineSymbol(bVert, L));
}

// ---- Extend symbols -------------------------------------------------------------------------

TEST_F(AttachSymbol, ExtendSymbolsAreCentredAndTheLineCharacterIsALineSymbol) {
    ASSERT_TRUE(Nuo4MusicFont().CodePointExsitsForCoreFont(0xF00C));
    TrecNuo4SymbolAttachExtend R;
    R.Initialize(char16_t(0xF00C), 2.0f, 1.0f, 0);
    TNuo4SymbolAttachExtend S(R);
    S.Update(true);
    ASSERT_FALSE(RectIsEmpty(S.Bounds()));
    double L = 0;
    ASSERT_TRUE(S.IsLineSymbol(L));
    EXPECT_NEAR(L, S.Bounds().width(), Eps);
    // Centred on x = 0 and stretched by the record's scale.
    EXPECT_NEAR(S.Bounds().center().x(), 0, 0.01);
    R.Initialize(char16_t(0xF00C), 1.0f, 1.0f, 0);
    TNuo4SymbolAttachExtend Narrow(R);
    EXPECT_NEAR(S.Bounds().width(), 2 * Narrow.Bounds().width(), 0.01);
    EXPECT_FALSE(S.IsBrace_ZhiKuoHao());

    R.Initialize(char16_t(0xF0D4), 1, 1, 0);
    TNuo4SymbolAttachExtend Bracket(R);
    EXPECT_TRUE(Bracket.IsBrace_ZhiKuoHao());
    EXPECT_FALSE(Bracket.IsLineSymbol(L));

    // An unreadable list draws nothing.
    R.Text_ABC = u"x";
    TNuo4SymbolAttachExtend Bad(R);
    Bad.Update(true);
    EXPECT_TRUE(RectIsEmpty(Bad.Bounds()));
    EXPECT_EQ(Bad.ElementsCount(), 0);
}

TEST_F(AttachSymbol, ExtendFirstCharMovesOnlyToGlyphsOfTheFont) {
    TrecNuo4SymbolAttachExtend R;
    R.Initialize(char16_t(0xF001), 1, 1, 0);
    TNuo4SymbolAttachExtend S(R);
    // Never down to U+F000.
    EXPECT_FALSE(S.EditFirstChar_Prev());
    char16_t C = 0;
    ASSERT_TRUE(S.IsSingleChar(C));
    EXPECT_EQ(C, 0xF001);
    const bool bNext = S.EditFirstChar_Next();
    ASSERT_TRUE(S.IsSingleChar(C));
    EXPECT_EQ(bNext, Nuo4MusicFont().CodePointExsitsForCoreFont(0xF002));
    EXPECT_EQ(C, bNext ? 0xF002 : 0xF001);
    // A code point the font lacks is refused.
    R.Initialize(char16_t(0xFFFE), 1, 1, 0);
    TNuo4SymbolAttachExtend Top(R);
    EXPECT_FALSE(Top.EditFirstChar_Next());
}

// ---- Braces ---------------------------------------------------------------------------------

TEST_F(AttachSymbol, SquareBraceHasCurledEndsAndAThickLineBetweenThem) {
    TrecNuo4SymbolAttachBrace R;
    R.Length = 20;
    TNuo4SymbolAttachBrace S(R);
    S.Update(true);
    EXPECT_NEAR(S.GetWidth(), 1.92, Eps);
    ExpectRect(S.Bounds(), 0, 0, 1.92, 20);
    const QPainterPath P = AllPaths(S);
    const auto Thick = RectsOfWidth(P, 0.24);
    ASSERT_EQ(Thick.size(), 1u);
    EXPECT_NEAR(Thick[0].top(), 1.7391, 1e-3);
    EXPECT_NEAR(Thick[0].bottom(), 18.2609, 1e-3);
    EXPECT_NEAR(Thick[0].center().x(), 0.65 * 1.92, Eps);
    EXPECT_TRUE(InkWithin(S.BlackBox(), S.Bounds(), 0.001));
    double Gap = 0;
    AttachBrace_GetBracketPath(20, Gap);
    EXPECT_NEAR(Gap, 1.7391, 1e-4);

    // The extra line rises above the bracket, outside its bounds.
    R.Length_ExtraLine = 3;
    TNuo4SymbolAttachBrace Extra(R);
    Extra.Update(true);
    ExpectRect(Extra.Bounds(), 0, 0, 1.92, 20);
    EXPECT_NEAR(Extra.BlackBox().top(), -3, Eps);
    EXPECT_TRUE(Extra.GetWithExtraLine());
    EXPECT_NEAR(Extra.GetTotalLength(), 23, Eps);
    // A plain curly brace has no extra line.
    R.Style = absHuaKuoHao;
    EXPECT_FALSE(TNuo4SymbolAttachBrace(R).GetWithExtraLine());
    EXPECT_NEAR(TNuo4SymbolAttachBrace(R).GetTotalLength(), 20, Eps);
}

TEST_F(AttachSymbol, BracesTurnToTheirDirection) {
    TrecNuo4SymbolAttachBrace R;
    R.Length = 20;
    R.Direction = abdUp;
    TNuo4SymbolAttachBrace Up(R);
    Up.Update(true);
    ExpectRect(Up.Bounds(), 0, 0, 20, 1.92);
    EXPECT_TRUE(InkWithin(Up.BlackBox(), Up.Bounds(), 0.001));
    // Turned up, the thick line lies horizontally at 0.65 w above the bottom edge.
    const auto Bars = RectsOfWidth(AllPaths(Up), 20 - 2 * 1.7391);
    ASSERT_EQ(Bars.size(), 1u);
    EXPECT_NEAR(Bars[0].center().y(), 1.92 - 0.65 * 1.92, 1e-3);

    R.Direction = abdDown;
    TNuo4SymbolAttachBrace Down(R);
    Down.Update(true);
    ExpectRect(Down.Bounds(), 0, 0, 20, 1.92);
    EXPECT_TRUE(InkWithin(Down.BlackBox(), Down.Bounds(), 0.001));

    // Turned left, the bracket is mirrored: the thick line at 0.35 w.
    R.Direction = abdLeft;
    TNuo4SymbolAttachBrace Left(R);
    Left.Update(true);
    ExpectRect(Left.Bounds(), 0, 0, 1.92, 20);
    const auto Thick = RectsOfWidth(AllPaths(Left), 0.24);
    ASSERT_EQ(Thick.size(), 1u);
    EXPECT_NEAR(Thick[0].center().x(), 0.35 * 1.92, Eps);
}

TEST_F(AttachSymbol, CurlyBracesFillTheirBoxAndTheSecondStyleAddsALine) {
    TrecNuo4SymbolAttachBrace R;
    R.Style = absHuaKuoHao;
    R.Direction = abdLeft;
    R.Length = 22;
    TNuo4SymbolAttachBrace Curly(R);
    Curly.Update(true);
    ExpectRect(Curly.Bounds(), 0, 0, 1.2, 22);
    ASSERT_EQ(Curly.ElementsCount(), 1);
    EXPECT_TRUE(InkWithin(Curly.BlackBox(), Curly.Bounds()));
    EXPECT_GT(Curly.BlackBox().height(), 0.9 * 22);

    R.Style = absHuaKuoHao2;
    R.Direction = abdRight;
    R.Length_ExtraLine = 2;
    TNuo4SymbolAttachBrace Second(R);
    Second.Update(true);
    const auto Lines = RectsOfWidth(AllPaths(Second), 0.24);
    ASSERT_EQ(Lines.size(), 1u);
    EXPECT_NEAR(Lines[0].center().x(), 1.3 * 1.2, Eps);
    EXPECT_NEAR(Lines[0].top(), -2, Eps);
    EXPECT_NEAR(Lines[0].bottom(), 22, Eps);
}

// ---- Special texts --------------------------------------------------------------------------

TEST_F(AttachSymbol, SpecialTextsAreCentredAndTransformed) {
    TrecNuo4SymbolAttachText R;
    R.SetABCText(u"\u7532");  // "甲"
    TNuo4SymbolAttachText S(R);
    S.Update(true);
    ASSERT_FALSE(RectIsEmpty(S.Bounds()));
    EXPECT_NEAR(S.Bounds().center().x(), 0, Eps);
    // The left-middle of the text is on the origin's line.
    EXPECT_NEAR(S.Bounds().center().y(), 0, 0.05);
    ASSERT_EQ(S.ElementsCount(), 1);
    std::u16string T;
    EXPECT_TRUE(S.IsNormalText(T));
    EXPECT_EQ(T, u"\u7532");

    R.Transform.Sx = 2;
    TNuo4SymbolAttachText Wide(R);
    EXPECT_NEAR(Wide.Bounds().width(), 2 * S.Bounds().width(), Eps);
    EXPECT_NEAR(Wide.Bounds().center().x(), 0, Eps);
    EXPECT_TRUE(TNuo4SymbolAttachText::PathIsEmpty(u""));
    EXPECT_FALSE(TNuo4SymbolAttachText::PathIsEmpty(u"\u7532"));
}

TEST_F(AttachSymbol, SpecialTextLinesAndShapes) {
    TrecNuo4SymbolAttachText R;
    R.SetABCTextToSolidLine(false, 10);
    TNuo4SymbolAttachText Bar(R);
    Bar.Update(true);
    ASSERT_EQ(Bar.ElementsCount(), 1);
    EXPECT_FALSE(Bar.GetSymbolPathes()[0].IsStroke());
    EXPECT_NEAR(Bar.Bounds().left(), -5, Eps);
    EXPECT_NEAR(Bar.Bounds().width(), 10, Eps);
    EXPECT_NEAR(Bar.Bounds().height(), 0.21, Eps);
    bool bVert = true;
    float L = 0;
    ASSERT_TRUE(Bar.IsLineSymbol(bVert, L));
    EXPECT_FALSE(bVert);
    EXPECT_NEAR(L, 10, 1e-5);

    R.SetABCText(u"{rct:6,4,False,False}");
    TNuo4SymbolAttachText Frame(R);
    Frame.Update(true);
    auto Items = Frame.GetSymbolPathes();
    ASSERT_EQ(Items.size(), 1u);
    EXPECT_TRUE(Items[0].IsStroke());
    EXPECT_FALSE(Items[0].IsDashed());
    EXPECT_NEAR(Items[0].PenWidth, 0.24, Eps);
    ExpectRect(Frame.Bounds(), -3, -0, 6, 4);

    R.SetABCText(u"{rct:6,4,False,True}");
    TNuo4SymbolAttachText Dashed(R);
    Dashed.Update(true);
    EXPECT_TRUE(Dashed.GetSymbolPathes()[0].IsDashed());
    R.SetABCText(u"{els:6,4,True}");
    TNuo4SymbolAttachText Filled(R);
    Filled.Update(true);
    EXPECT_FALSE(Filled.GetSymbolPathes()[0].IsStroke());
}

TEST(AttachTextRecord, KeyChangesAndSingleElements) {
    TrecNuo4SymbolAttachText R;
    TrecNuo4KeySignature K;
    R.SetABCText(u"\u8F6C{1=F}");
    ASSERT_TRUE(R.IsKeyChange(K));
    EXPECT_EQ(K.MainKey, 3);
    R.SetABCText(u"{1=F}");
    EXPECT_FALSE(R.IsKeyChange(K));  // without "转" it is only a key drawn as text
    R.SetABCText(u"\u8F6C\u8C03");   // "转调" names no key
    EXPECT_FALSE(R.IsKeyChange(K));

    std::u16string S;
    R.SetABCText(u"a b");
    EXPECT_FALSE(R.IsNormalText(S));  // three elements
    R.FontUsage = fuPartName;
    R.SetABCText(u"Sop");
    EXPECT_TRUE(R.IsPartName(S));
    R.FontUsage = fuAttachText1;
    EXPECT_FALSE(R.IsPartName(S));

    R.InitializeToBarNumber(7, Nuo4OcupyUpDown);
    EXPECT_TRUE(R.IsBarNumber(S));
    EXPECT_EQ(R.Ocupy, Nuo4OcupyUpDown);
    EXPECT_FALSE(R.IsLineSymbol());
    R.InitializeToWaveLine(true, 8, 0);
    bool bVert = false;
    float L = 0;
    ASSERT_TRUE(R.IsWaveLine(bVert, L));
    EXPECT_TRUE(bVert);
    EXPECT_TRUE(R.IsLineSymbol());
    R.SetABCText(u"{rct:2,9,False}");
    ASSERT_TRUE(R.IsLineSymbol(bVert, L));
    EXPECT_TRUE(bVert);
    EXPECT_NEAR(L, 9, 1e-5);
}

// ---- Special voltas and lines ---------------------------------------------------------------

TEST_F(AttachSymbol, SpecialVoltasAndRepeatSigns) {
    TrecNuo4SymbolAttachFangZi R;
    R.SetToDefault(afztFangZi, lscsFull, false);
    TNuo4SymbolAttachFangZi Full(R);
    Full.Update(true);
    const double Hgt = GetFangZiAutoHeight();
    ExpectRect(Full.Bounds(), 0, 0, 30, Hgt);
    EXPECT_EQ(Full.ElementsCount(), 2);  // the text and the bracket

    R.SetToDefault(afztFangZi, lscsRight, true);
    R.Length = 12;
    TNuo4SymbolAttachFangZi Right(R);
    Right.Update(true);
    ExpectRect(Right.Bounds(), -12, 0, 12, Hgt);
    EXPECT_EQ(Right.ElementsCount(), 1);  // no text on the continuation
    Right.SetLength(20);
    Right.Update(true);
    ExpectRect(Right.Bounds(), -20, 0, 20, Hgt);

    R.SetToDefault(afztRepeatNoCount, lscsFull, false);
    R.Length = 24;
    TNuo4SymbolAttachFangZi Repeat(R);
    Repeat.Update(true);
    ExpectRect(Repeat.Bounds(), 0, 0, 24, 0.75 + 1.8);
    EXPECT_EQ(Repeat.ElementsCount(), 4);  // two hooks, two circles

    R.SetToDefault(afztLine, lscsFull, false);
    R.Length = 10;
    TNuo4SymbolAttachFangZi Line(R);
    Line.Update(true);
    ExpectRect(Line.Bounds(), 0, 0, 10, 0.21);
}

// ---- Factory --------------------------------------------------------------------------------

TEST_F(AttachSymbol, EveryAttachmentKindGetsItsSymbol) {
    TrecNuo4SectionItem_Attachments Item;
    const std::pair<void (*)(TrecNuo4SectionItem_Attachments&), TNuo4SymbolType> Kinds[] = {
        {[](TrecNuo4SectionItem_Attachments& I) { I.SetToDefaultForText(); }, sbstAttachText},
        {[](TrecNuo4SectionItem_Attachments& I) {
             I.SetToDefaultForFangZi(afztFangZi, lscsFull, false);
         },
         sbstAttachFangZi},
        {[](TrecNuo4SectionItem_Attachments& I) { I.SetToDefaultForArc(lscsFull, false); },
         sbstAttachArc},
        {[](TrecNuo4SectionItem_Attachments& I) { I.SetToDefaultForDynamic(); }, sbstAttachDynamic},
        {[](TrecNuo4SectionItem_Attachments& I) { I.SetToDefaultForOften(agitoRing); },
         sbstAttachOften},
        {[](TrecNuo4SectionItem_Attachments& I) { I.SetToDefaultForExtend(); }, sbstAttachExtend},
        {[](TrecNuo4SectionItem_Attachments& I) { I.SetToDefaultForBranch(); }, sbstAttachBranch},
        {[](TrecNuo4SectionItem_Attachments& I) { I.SetToDefaultForBrace(); }, sbstAttachBrace},
    };
    for (const auto& [Set, Type] : Kinds) {
        Set(Item);
        const auto S = CreateAttachmentsSymbol(Item);
        ASSERT_TRUE(S) << EnumName(Type);
        EXPECT_EQ(S->GetSymbolType(), Type);
    }
    // The record travels with the symbol.
    Item.SetToDefaultForOften(agitoRing);
    const auto Ring = CreateAttachmentsSymbol(Item);
    EXPECT_EQ(static_cast<const TrecNuo4SymbolAttachOften*>(Ring->GetSymbolRecPtr())->ItemType,
              agitoRing);
    // A temporary voice keeps its record and draws nothing until it is laid out.
    Item.SetToDefaultForBranch();
    Item.Branch.SetABCText_Voice(u"1 2");
    const auto Branch = CreateAttachmentsSymbol(Item);
    Branch->Update(true);
    EXPECT_EQ(Branch->ElementsCount(), 0);
    EXPECT_TRUE(RectIsEmpty(Branch->Bounds()));
    EXPECT_EQ(static_cast<const TrecNuo4SymbolAttachBranch*>(Branch->GetSymbolRecPtr())
                  ->GetABCText_Voice(),
              u"1 2");
}

}  // namespace
