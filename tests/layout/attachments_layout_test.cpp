// Attachments in documents built from score texts, with the attachment classes themselves:
// braces at their owner, occupancy growing the owner's box and the line, wrapped special
// voltas aligned to the line edges, and texts measured during the build. The normal digit is
// 2.4 x 3.0 mm.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <memory>
#include <string>

#include "format/abc_buffer.h"
#include "format/doc_options.h"
#include "format/section_attachments.h"
#include "layout/layout_hooks.h"
#include "layout/simple_buffer.h"
#include "render/music_font.h"
#include "render/note_style.h"
#include "render/symbol_attach.h"
#include "render/symbol_basic.h"

namespace nuo4 {
namespace {

constexpr double Dw = 2.4, Dh = 3.0, Eps = 1e-4;

class AttachmentsLayout : public ::testing::Test {
  protected:
    void SetUp() override {
        Nuo4Render_Init();
        Nuo4LayoutSymbolBuilders() = TNuo4LayoutSymbolBuilders();
    }
    void TearDown() override {
        SetDestGraphics(nullptr);
        Nuo4DocOptions().SetToDefault();
        RebuildAll(Nuo4DocOptions());
    }
    TNuo4SimpleBuffer& Build(const std::u16string& AVoice,
                             const std::vector<TrecNuo4SectionItem_Attachments>& AItems) {
        std::u16string Text = u".Voice\r" + AVoice + u"\r.Attachments\r";
        for (const auto& I : AItems) Text += I.ToABCText() + u"\r";
        FABC = std::make_unique<TNuo4ABCBuffer>(Text);
        FBuf = std::make_unique<TNuo4SimpleBuffer>(FABC.get());
        return *FBuf;
    }
    static TrecNuo4SectionItem_Attachments TextAt(int32_t ANote, const std::u16string& AText,
                                                  float AOffsetY,
                                                  TNuo4AttachmentsOcupyTypes AOcupy) {
        TrecNuo4SectionItem_Attachments I;
        I.InitializeToText(AText, fuAttachText1, 0, AOffsetY, 1, 1, AOcupy);
        I.Header.HorzLocation.InitializeToNoteIndex(ANote);
        return I;
    }

    std::unique_ptr<TNuo4ABCBuffer> FABC;
    std::unique_ptr<TNuo4SimpleBuffer> FBuf;
};

TEST_F(AttachmentsLayout, EveryItemBecomesASymbolOfItsKindAtItsOwner) {
    TrecNuo4SectionItem_Attachments Mark, Hairpin, Text;
    Mark.SetToDefaultForOften(agitoHuanQi);
    Mark.Header.HorzLocation.InitializeToNoteIndex(1);
    Hairpin.SetToDefaultForDynamic();
    Hairpin.Header.HorzLocation.InitializeToNoteIndex(0);
    Text = TextAt(2, u"rit.", -2.5f, 0);
    auto& B = Build(u"1 2 3 4 |", {Mark, Hairpin, Text});
    ASSERT_EQ(B.Attach_GetCount(), 3);
    EXPECT_TRUE(B.Attach_IsAttachOften(0));
    EXPECT_TRUE(B.Attach_IsAttachDynamic(1));
    EXPECT_TRUE(B.Attach_IsAttachText(2));
    for (int32_t A = 0; A < 3; ++A) {
        TNuo4Symbol* S = B.Attach_GetSymbol(A);
        EXPECT_FALSE(RectIsEmpty(S->Bounds())) << A;
        EXPECT_GT(S->ElementsCount(), 0) << A;
    }
    // The breath mark sits left of and above its note by its offset coefficients.
    TNuo4Symbol* Breath = B.Attach_GetSymbol(0);
    TNuo4Symbol* Owner = B.Basic_GetSymbol(B.Attach_GetBasicIndex(0));
    EXPECT_NEAR(Breath->Pos().x(), Owner->Pos().x() - 1.0 * Dw, Eps);
    EXPECT_NEAR(Breath->Pos().y(), Owner->Pos().y() - 0.8 * Dh, Eps);
}

TEST_F(AttachmentsLayout, TextsAreMeasuredDuringTheBuild) {
    // No surface outside: the build lends one, and the options reset keeps it.
    ASSERT_EQ(GetDestGraphics(), nullptr);
    auto& B = Build(u"\"\u7532\" 1 2 |", {TextAt(1, u"\u4E59", -2.5f, 0)});
    ASSERT_EQ(B.Attach_GetCount(), 1);
    EXPECT_FALSE(RectIsEmpty(B.Attach_GetSymbol(0)->Bounds()));
    EXPECT_GT(B.Attach_GetSymbol(0)->ElementsCount(), 0);
    ASSERT_EQ(B.Basic_GetSymbolType(0), sbstText);
    EXPECT_FALSE(RectIsEmpty(B.Basic_GetSymbol(0)->BlackBox()));
    EXPECT_EQ(GetDestGraphics(), nullptr);

    // A surface the caller holds stays current through the build.
    QImage Image(8, 8, QImage::Format_ARGB32_Premultiplied);
    QPainter Painter(&Image);
    TKoGraphics G(&Painter);
    PrepareGraphics(G, 1.0);
    SetDestGraphics(&G);
    auto& B2 = Build(u"\"\u7532\" 1 2 |", {TextAt(1, u"\u4E59", -2.5f, 0)});
    EXPECT_EQ(GetDestGraphics(), &G);
    EXPECT_FALSE(RectIsEmpty(B2.Attach_GetSymbol(0)->Bounds()));
    EXPECT_FALSE(RectIsEmpty(B2.Basic_GetSymbol(0)->BlackBox()));
    SetDestGraphics(nullptr);
    Painter.end();
}

TEST_F(AttachmentsLayout, ABraceOfLength20StandsAtItsOwner) {
    TrecNuo4SectionItem_Attachments Brace;
    Brace.SetToDefaultForBrace();
    Brace.Brace.Length = 20;
    Brace.Header.HorzLocation.InitializeToNoteIndex(0);
    auto& B = Build(u"1 2 3 4 |", {Brace});
    ASSERT_EQ(B.Attach_GetCount(), 1);
    ASSERT_TRUE(B.Attach_IsAttachBrace(0));
    TNuo4Symbol* S = B.Attach_GetSymbol(0);
    TNuo4Symbol* Owner = B.Basic_GetSymbol(0);
    const TGPRectF Box = S->BoundsWithPos();
    EXPECT_NEAR(Box.width(), 1.92, Eps);
    EXPECT_NEAR(Box.height(), 20, Eps);
    // Default offset (-1.5, -0.5) digits: left of the first note, from half a digit above it.
    EXPECT_NEAR(Box.left(), Owner->Pos().x() - 1.5 * Dw, Eps);
    EXPECT_NEAR(Box.top(), Owner->Pos().y() - 0.5 * Dh, Eps);
    EXPECT_LT(Box.right(), Owner->BoundsWithPos().left());
    // Without occupancy the owner's box is its own.
    EXPECT_GT(Owner->CalcInfo.Bounds_Self.Layout.left(), Box.left() - Owner->Pos().x());
}

TEST_F(AttachmentsLayout, OccupancyGrowsTheOwnerAndPushesTheLines) {
    const std::u16string Voice = u"1 2 3 4 | 5 6 7 1 |";
    // High above the second note of the second line.
    auto Build2 = [&](TNuo4AttachmentsOcupyTypes AOcupy) -> TNuo4SimpleBuffer& {
        Nuo4DocOptions().SetToDefault();
        auto& B = Build(Voice, {TextAt(5, u"\u7532", -5.0f, AOcupy)});
        return B;
    };
    auto& Free = Build2(0);
    ASSERT_EQ(Free.Attach_GetCount(), 1);
    const int32_t Owner = Free.Attach_GetBasicIndex(0);
    const double FreeTop = Free.Basic_GetSymbol(Owner)->CalcInfo.Bounds_Self.Layout.top();
    const double FreeLineTop = Free.LineInfoArray.back().Bounds.Layout.top();
    const double FreeY = Free.Basic_GetSymbol(Owner)->Pos().y();
    const TGPRectF TextBox = Free.Attach_GetSymbol(0)->BoundsWithPos();

    auto& Up = Build2(1 << atotUp);
    TNuo4Symbol* O = Up.Basic_GetSymbol(Owner);
    TNuo4Symbol* T = Up.Attach_GetSymbol(0);
    // The owner's box reaches up to the text's ink.
    EXPECT_NEAR(O->CalcInfo.Bounds_Self.Layout.top(), T->BlackBoxWithPos().top() - O->Pos().y(),
                1e-3);
    EXPECT_LT(O->CalcInfo.Bounds_Self.Layout.top(), FreeTop - 5);
    // The line's box grows with it, and the line moves down below the title gap to make room.
    EXPECT_LT(Up.LineInfoArray.back().Bounds.Layout.top() - O->Pos().y(), FreeLineTop - FreeY - 5);
    EXPECT_GT(O->Pos().y(), FreeY + 5);
    EXPECT_NEAR(T->BoundsWithPos().height(), TextBox.height(), 1e-3);

    // Occupancy to the left widens the owner only horizontally.
    auto& Left = Build2(1 << atotLeft);
    EXPECT_NEAR(Left.Basic_GetSymbol(Owner)->CalcInfo.Bounds_Self.Layout.top(), FreeTop, 1e-3);
}

TEST_F(AttachmentsLayout, WrappedSpecialVoltasWithAutoAlignReachTheLineEdge) {
    TrecNuo4SectionItem_Attachments Left, Right, Fixed;
    Left.SetToDefaultForFangZi(afztFangZi, lscsLeft, true);
    Left.FangZi.Length = 4;
    Left.Header.HorzLocation.InitializeToNoteIndex(1);
    Right.SetToDefaultForFangZi(afztFangZi, lscsRight, true);
    Right.FangZi.Length = 4;
    Right.Header.HorzLocation.InitializeToNoteIndex(2);
    Fixed.SetToDefaultForFangZi(afztFangZi, lscsLeft, false);
    Fixed.FangZi.Length = 4;
    Fixed.Header.HorzLocation.InitializeToNoteIndex(1);
    auto& B = Build(u"1 2 3 4 |", {Left, Right, Fixed});
    ASSERT_EQ(B.Attach_GetCount(), 3);
    auto* L = dynamic_cast<TNuo4SymbolAttachFangZi*>(B.Attach_GetSymbol(0));
    auto* R = dynamic_cast<TNuo4SymbolAttachFangZi*>(B.Attach_GetSymbol(1));
    auto* F = dynamic_cast<TNuo4SymbolAttachFangZi*>(B.Attach_GetSymbol(2));
    ASSERT_TRUE(L && R && F);
    TNuo4Symbol* Bar = B.Basic_GetSymbol(4);
    TNuo4Symbol* First = B.Basic_GetSymbol(0);
    // The left piece runs to the right edge of the line's last symbol, the right piece from
    // the left edge of its first symbol; both drawn that long.
    EXPECT_NEAR(L->Length(), Bar->BoundsWithPos().right() - L->Pos().x(), 1e-4);
    EXPECT_NEAR(L->BoundsWithPos().right(), Bar->BoundsWithPos().right(), 1e-4);
    EXPECT_NEAR(R->Length(), R->Pos().x() - First->BoundsWithPos().left(), 1e-4);
    EXPECT_NEAR(R->BoundsWithPos().left(), First->BoundsWithPos().left(), 1e-4);
    EXPECT_NEAR(F->Length(), 4.0, 1e-6);  // the written length without alignment
}

}  // namespace
}  // namespace nuo4
