// The in-symbol edit indicator: it frames the temporary voice or the note being edited and its
// marker stands right of the element the position names, on the symbol's page, and it is gone
// as soon as the edit is not valid.
#include <gtest/gtest.h>

#include <memory>

#include "format/abc_buffer.h"
#include "layout/buffer_highlight.h"
#include "layout/draw_document.h"
#include "layout/simple_buffer.h"
#include "render/music_font.h"
#include "render/note_symbol.h"
#include "render/symbol_attach.h"

namespace nuo4 {
namespace {

class WithinSymbolIndicator : public ::testing::Test {
  protected:
    void SetUp() override { Nuo4Render_Init(); }
    TNuo4SimpleBuffer& Score(const std::u16string& AVoice, const std::u16string& AItems) {
        FABC = std::make_unique<TNuo4ABCBuffer>(u".Voice\r" + AVoice + u"\r.Attachments\r" +
                                                AItems + u"\r");
        FBuf = std::make_unique<TNuo4SimpleBuffer>(FABC.get());
        return *FBuf;
    }
    std::unique_ptr<TNuo4ABCBuffer> FABC;
    std::unique_ptr<TNuo4SimpleBuffer> FBuf;
};

TEST_F(WithinSymbolIndicator, MarkerStandsRightOfTheElementOfThePosition) {
    auto& B = Score(u"1 2 3 4 |", u"Branch@1,2(0,-3) = False, 4, 4, 0, {5 6-- 7}, {}");
    int32_t A = 0;
    while (A < B.Attach_GetCount() && !B.Attach_IsAttachBranch(A)) ++A;
    ASSERT_LT(A, B.Attach_GetCount());
    auto* S = static_cast<TNuo4SymbolAttachBranch*>(B.Attach_GetSymbol(A));
    EXPECT_EQ(GetWithinSymbolEditIndicator(B).PageIndex, -1);  // no edit yet
    Highlight_SetToAttach(B, A);
    ASSERT_TRUE(WithinSymbolEdit_Enable(B));
    // Elements: 5, 6, its two dashes, 7; positions 0 ... 3 are the gaps after the first four.
    auto Right = [&](int32_t E) {
        return S->Pos().x() + S->GetBasicSymbolBoundsRight_FromSymbolIndexWithRightline(E);
    };
    for (int32_t P = 0; P <= 3; ++P) {
        B.InternalStatus.WithinSymbolEditStatusInfo.WithinSymbolPos_Branch = P;
        const TrecNuo4WithinSymbolEditIndicator I = GetWithinSymbolEditIndicator(B);
        ASSERT_EQ(I.PageIndex, 0) << P;
        EXPECT_EQ(I.Frame, S->BoundsWithPos());
        EXPECT_GT(I.Marker.x1(), Right(P)) << P;
        EXPECT_LT(I.Marker.x1(), Right(P + 1)) << P;
        EXPECT_EQ(I.Marker.x1(), I.Marker.x2());
        EXPECT_DOUBLE_EQ(I.Marker.y1(), I.Frame.top());
        EXPECT_DOUBLE_EQ(I.Marker.y2(), I.Frame.bottom());
    }
    // Another highlight ends the edit's validity; so does disabling it.
    Highlight_SetToBasic(B, 0);
    EXPECT_EQ(GetWithinSymbolEditIndicator(B).PageIndex, -1);
    Highlight_SetToAttach(B, A);
    WithinSymbolEdit_Disable(B);
    EXPECT_EQ(GetWithinSymbolEditIndicator(B).PageIndex, -1);
}

TEST_F(WithinSymbolIndicator, ANoteWithDashesMarksItsDigitsOrADash) {
    auto& B = Score(u"1 2--- 3 |", u"");
    Highlight_SetToBasic(B, 1);
    ASSERT_TRUE(WithinSymbolEdit_Enable(B));
    const auto* N = dynamic_cast<const TNuo4SymbolNote*>(B.Basic_GetSymbol(1));
    ASSERT_TRUE(N);
    double Prev = -1;
    for (int32_t P = 0; P <= 4; ++P) {
        B.InternalStatus.WithinSymbolEditStatusInfo.WithinSymbolPos_Note = P;
        const TrecNuo4WithinSymbolEditIndicator I = GetWithinSymbolEditIndicator(B);
        if (P == 4) {  // three dashes: no fourth
            EXPECT_EQ(I.PageIndex, -1);
            break;
        }
        ASSERT_EQ(I.PageIndex, 0) << P;
        if (P > 0) {
            const QRectF Dash = N->GetRightlineRect(P - 1).translated(N->Pos());
            EXPECT_GT(I.Marker.x1(), Dash.right()) << P;
        }
        EXPECT_GT(I.Marker.x1(), Prev) << P;
        EXPECT_LT(I.Marker.x1(), B.Basic_GetSymbol(2)->Pos().x()) << P;
        Prev = I.Marker.x1();
    }
}

}  // namespace
}  // namespace nuo4
