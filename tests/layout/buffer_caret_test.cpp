// Caret moves, rectangles, selections and hit-testing on laid-out scores: the move table, the
// remembered column, clicks beside lines and the selection check.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "format/doc_options.h"
#include "layout/buffer_caret.h"
#include "layout/buffer_highlight.h"
#include "layout/buffer_hit_test.h"
#include "layout/buffer_selection.h"
#include "layout/simple_buffer.h"
#include "render/music_font.h"
#include "render/note_style.h"

using namespace nuo4;

namespace {

using TCaret = TrecNuo4CaretPos_Index;
TCaret L(int32_t I) {
    return TCaret::Create(I, false);
}
TCaret R(int32_t I) {
    return TCaret::Create(I, true);
}

class Caret : public ::testing::Test {
  protected:
    void SetUp() override { Nuo4Render_Init(); }
    TNuo4SimpleBuffer& Build(const std::u16string& AVoice, const std::u16string& AExtra = u"") {
        FABC = std::make_unique<TNuo4ABCBuffer>(u".Voice\r" + AVoice + u"\r" + AExtra);
        FBuf = std::make_unique<TNuo4SimpleBuffer>(FABC.get());
        return *FBuf;
    }
    TCaret Move(TCaret C, TNuo4MoveDirection D, bool* bOk = nullptr) {
        double Column = -1;
        TCaret N;
        const bool Ok = CanMoveCaret(*FBuf, C, D, Column, N);
        if (bOk) *bOk = Ok;
        return N;
    }
    double X(int32_t I) { return FBuf->Basic_GetSymbol(I)->Pos().x(); }
    double Y(int32_t I) { return FBuf->Basic_GetSymbol(I)->Pos().y(); }

    std::unique_ptr<TNuo4ABCBuffer> FABC;
    std::unique_ptr<TNuo4SimpleBuffer> FBuf;
};

// Lines: [0..5] "1 2 3 | 4 $", [6..9] "5 6 | $", [10] a lone return, [11..13] "7 1 |".
const std::u16string Voice4Lines = u"1 2 3 | 4 $\r5 6 | $\r$\r7 1 |";

TEST_F(Caret, MoveTable) {
    TNuo4SimpleBuffer& B = Build(Voice4Lines);
    ASSERT_EQ(B.LineInfoArray.size(), 4u);
    ASSERT_TRUE(B.LineInfoArray[2].IsEmpty());
    struct TCase {
        TCaret From;
        TNuo4MoveDirection Dir;
        TCaret To;
    };
    const TCase Cases[] = {
        {R(0), mdLeft, L(0)},          {L(0), mdLeft, L(0)},
        {R(3), mdLeft, R(2)},          {R(6), mdLeft, L(6)},  // right side of a line start
        {L(6), mdLeft, R(4)},    // before the return of a line with content
        {L(11), mdLeft, L(10)},  // the line before is a lone return
        {L(10), mdLeft, R(8)},   // a lone return's line start
        {L(3), mdRight, R(3)},         {R(3), mdRight, R(4)},
        {R(4), mdRight, L(6)},  // over the return to the next line start
        {L(5), mdRight, L(6)},  // at a return
        {R(12), mdRight, R(13)},       {R(13), mdRight, R(13)},  // the last symbol
        {R(99), mdLeft, R(12)},  // beyond the end: first taken as (last, right)
        {R(7), mdLineStart, L(6)},     {R(7), mdLineEnd, R(8)},
        {L(10), mdLineEnd, L(10)},     {L(11), mdLineEnd, R(13)},
        {R(7), mdDocStart, L(0)},      {R(7), mdDocEnd, R(13)},
        {R(1), mdNextMeasure, R(4)},   {R(4), mdPrevMeasure, R(0)},
        {R(12), mdNextMeasure, R(12)},
    };
    for (const TCase& C : Cases) {
        bool Ok = false;
        EXPECT_EQ(Move(C.From, C.Dir, &Ok), C.To)
            << EnumName(C.Dir) << " from " << C.From.BasicIndex << "," << C.From.bRight;
        EXPECT_TRUE(Ok);
    }
    bool Ok = true;
    Move(R(2), mdUp, &Ok);
    EXPECT_FALSE(Ok) << "up on the first line";
    Move(R(12), mdDown, &Ok);
    EXPECT_FALSE(Ok) << "down on the last line";
    EXPECT_EQ(Move(R(7), mdDown), L(10)) << "an empty target line takes its return";
    Move(R(10), mdNextMeasure, &Ok);
    EXPECT_FALSE(Ok) << "a return lies outside measures";
}

TEST_F(Caret, DocumentEndBeforeAFinalReturn) {
    Build(u"1 2 $");
    EXPECT_EQ(Move(L(0), mdDocEnd), R(1));
    EXPECT_EQ(Move(R(1), mdRight), R(1)) << "the last symbol is a return: no change";
    Build(u"1 2 $\r$");
    EXPECT_EQ(Move(L(0), mdDocEnd), L(3)) << "the last line is empty";
    Build(u"");
    bool Ok = true;
    Move(L(0), mdRight, &Ok);
    EXPECT_FALSE(Ok) << "an empty document cannot move";
}

TEST_F(Caret, DownKeepsTheColumnAcrossAShorterLine) {
    TNuo4SimpleBuffer& B = Build(u"1 2 3 4 5 6 7 $\r1 2 $\r1 2 3 4 5 6 7");
    ASSERT_EQ(B.LineInfoArray.size(), 3u);
    double Column = -1;
    TCaret C;
    ASSERT_TRUE(CanMoveCaret(B, R(5), mdDown, Column, C));
    EXPECT_EQ(C, R(9)) << "past the end of the short line: its last symbol";
    EXPECT_DOUBLE_EQ(Column, X(5));
    ASSERT_TRUE(CanMoveCaret(B, C, mdDown, Column, C));
    EXPECT_EQ(C, R(16)) << "back under the remembered column";
    ASSERT_TRUE(CanMoveCaret(B, C, mdLeft, Column, C));
    EXPECT_EQ(Column, -1) << "a horizontal move forgets the column";
}

TEST_F(Caret, RectanglesFollowTheSymbolBoxes) {
    TNuo4SimpleBuffer& B = Build(Voice4Lines);
    const TrecNuo4DocOptions& O = Nuo4DocOptions();
    const double Dh = B.Basic_GetSymbol(1)->DigitSize().height();
    const auto PL = ConvertCaretInfo_IndexToPosAndSize(B, L(1));
    const auto PR = ConvertCaretInfo_IndexToPosAndSize(B, R(1));
    const TGPRectF Box = B.Basic_GetSymbol(1)->BoundsWithPos();
    EXPECT_DOUBLE_EQ(PL.PtLT.x(), Box.left());
    EXPECT_DOUBLE_EQ(PR.PtLT.x(), Box.right() + 0.5);
    EXPECT_DOUBLE_EQ(PL.PtLT.y(), Y(1) - O.BarlineHeightCoef_Top * Dh);
    EXPECT_NEAR(PL.Height, (1.6 + 0.5) * Dh, 1e-6);

    // A selection over four lines: one rectangle each, the middle ones whole.
    const auto Rects = GetSelectionRectArray(B, TrecNuo4Selection::Create(L(2), R(11)));
    ASSERT_EQ(Rects.size(), 4u);
    EXPECT_DOUBLE_EQ(Rects[0].Rect.left(), ConvertCaretInfo_IndexToPosAndSize(B, L(2)).PtLT.x());
    EXPECT_DOUBLE_EQ(Rects[0].Rect.right(), ConvertCaretInfo_IndexToPosAndSize(B, R(5)).PtLT.x());
    EXPECT_DOUBLE_EQ(Rects[1].Rect.left(), ConvertCaretInfo_IndexToPosAndSize(B, L(6)).PtLT.x());
    EXPECT_DOUBLE_EQ(Rects[1].Rect.right(), ConvertCaretInfo_IndexToPosAndSize(B, R(9)).PtLT.x());
    EXPECT_DOUBLE_EQ(Rects[3].Rect.right(), ConvertCaretInfo_IndexToPosAndSize(B, R(11)).PtLT.x());
    EXPECT_TRUE(GetSelectionRectArray(B, TrecNuo4Selection::CreateEmpty(R(3))).empty());

    Build(u"");
    const auto E = ConvertCaretInfo_IndexToPosAndSize(*FBuf, L(0));
    EXPECT_DOUBLE_EQ(E.PtLT.x(), O.Param_Paper.MarginLeft);
    EXPECT_DOUBLE_EQ(E.PtLT.y(), FBuf->FirstLineTop_Min);
}

TEST_F(Caret, ClicksPutTheCaretBesideSymbols) {
    TNuo4SimpleBuffer& B = Build(Voice4Lines);
    auto Click = [&](double Px, double Py) {
        TCaret C;
        EXPECT_TRUE(PagePosToCaretPos(B, 0, TGPPointF(Px, Py), C));
        return C;
    };
    EXPECT_EQ(Click(X(0) - 3, Y(0)), L(0)) << "left of a line";
    EXPECT_EQ(Click(X(2) + 0.1, Y(2)), R(2)) << "on a symbol";
    EXPECT_EQ(Click(X(5) + 20, Y(5)), R(4)) << "right of a line ending with a return";
    EXPECT_EQ(Click(X(13) + 20, Y(13)), R(13)) << "right of a line without return";
    EXPECT_EQ(Click(X(10) + 20, Y(10)), L(10)) << "right of a lone return";
    EXPECT_EQ(Click(X(6) + 0.1, Y(6) + 0.5), R(6)) << "the second line";

    bool bExactly = false;
    EXPECT_EQ(PagePosToBasicIndex(B, 0, TGPPointF(X(5) + 0.1, Y(5)), true, &bExactly), 4)
        << "a return steps back to the symbol before it";
    const TrecNuo4BufferPos P =
        PagePosToBufferPos(B, 0, B.Basic_GetSymbol(1)->BoundsWithPos().center());
    EXPECT_EQ(P.BasicIndex, 1);
    EXPECT_EQ(P.MeasureIndex, 0);
    EXPECT_EQ(P.ABCTextRange_Basic, TKoRange(9, 1)) << "the text of the note \"2\"";
    EXPECT_EQ(PagePosToBufferPos(B, 5, TGPPointF(10, 10)).BasicIndex, -1) << "no such page";
}

TEST_F(Caret, OfTwoOverlappingAttachmentsTheSmallerIsHit) {
    TNuo4SimpleBuffer& B = Build(u"1 2 3 |",
                                 u".Attachments\rText@1,1(0,-2.5) = AttachText1, WideWideWide\r"
                                 u"Text@1,1(0,-2.5) = AttachText1, x\r");
    ASSERT_EQ(B.Attach_GetCount(), 2);
    const TGPRectF Small = B.Attach_GetSymbol(1)->BoundsWithPos();
    ASSERT_TRUE(B.Attach_GetSymbol(0)->BoundsWithPos().contains(Small.center()));
    EXPECT_EQ(PagePosToBufferPos(B, 0, Small.center()).AttachIndex, 1);
}

TEST_F(Caret, SelectionCheckAndHelpers) {
    TNuo4SimpleBuffer& B = Build(u"1 2 3 | 4 $");
    TrecNuo4Selection S = TrecNuo4Selection::Create(R(3), R(9));  // past the end
    EXPECT_FALSE(Selection_Check(B, S, true));
    EXPECT_EQ(S, TrecNuo4Selection()) << "reset to (0, left)";
    S = TrecNuo4Selection::CreateEmpty(R(9));
    EXPECT_FALSE(Selection_Check(B, S, true));
    EXPECT_EQ(S, TrecNuo4Selection::CreateEmpty(R(5)));
    S = TrecNuo4Selection::Create(R(4), L(1));  // inverted
    EXPECT_TRUE(Selection_Check(B, S, true));
    EXPECT_TRUE(S.IsInvert());
    EXPECT_EQ(S.GetBasicRange(), TKoRange(1, 4));
    EXPECT_EQ(S.Head(), L(1));
    EXPECT_EQ(GetSelectionForAll(B), TrecNuo4Selection::Create(L(0), R(4)))
        << "final return excluded";
    EXPECT_EQ(GetSelectionFromHighlight(B, TrecNuo4Highlight::Basic(5)),
              TrecNuo4Selection::CreateEmpty(L(5)))
        << "a return keeps the caret on its left";
    B.InternalStatus.Selection = TrecNuo4Selection::Create(R(0), R(2));
    EXPECT_EQ(Selection_GetMeasureRange(B), TKoRange(0, 1));
    EXPECT_EQ(Selection_GetABCTextRange(B), TKoRange(9, 3)) << "\"2 3\"";
    EXPECT_EQ(Selection_GetNewSelectionAfterInsertSymbol(B), TrecNuo4Selection::CreateEmpty(R(3)));
}

}  // namespace

namespace {

TEST_F(Caret, HighlightSteppingThroughAttachments) {
    TNuo4SimpleBuffer& B = Build(u"1 2 3 |",
                                 u".Attachments\rText@1,2(0,-2.5) = AttachText1, a\r"
                                 u"Text@1,2(0,-4.5) = AttachText1, b\r");
    ASSERT_EQ(B.Attach_GetCount(), 2);
    ASSERT_EQ(B.Attach_GetBasicIndex(0), 1);
    struct TCase {
        TrecNuo4Highlight From;
        bool bChange;
        TrecNuo4Highlight To;
    };
    const TCase Cases[] = {
        {TrecNuo4Highlight::Basic(1), true, TrecNuo4Highlight::Attach(0)},
        {TrecNuo4Highlight::Attach(0), true, TrecNuo4Highlight::Attach(1)},
        {TrecNuo4Highlight::Attach(1), true, TrecNuo4Highlight::Basic(1)},  // back to the owner
        {TrecNuo4Highlight::Basic(0), false, TrecNuo4Highlight::Basic(0)},  // owns nothing
        {TrecNuo4Highlight(), false, TrecNuo4Highlight::Basic(0)},          // reported as no change
    };
    for (const TCase& C : Cases) {
        TrecNuo4Highlight N;
        EXPECT_EQ(CanToggleHighlight_BasicAndAttach(B, C.From, N), C.bChange);
        EXPECT_EQ(N, C.To);
    }
    TrecNuo4Highlight N;
    EXPECT_TRUE(CanMoveHighlight_BasicSymbol(B, TrecNuo4Highlight::Basic(2), 1, N));
    EXPECT_EQ(N, TrecNuo4Highlight::Basic(3));
    EXPECT_FALSE(CanMoveHighlight_BasicSymbol(B, TrecNuo4Highlight::Basic(3), 1, N)) << "the end";
    EXPECT_EQ(GetSelectionFromHighlight(B, TrecNuo4Highlight::Attach(1)),
              TrecNuo4Selection::CreateEmpty(R(1)))
        << "an attach symbol puts the caret at its owner";

    Highlight_Set(B, TrecNuo4Highlight::Attach(1));
    Highlight_Update(B);
    EXPECT_TRUE(B.Attach_GetSymbol(1)->Highlighted());
    EXPECT_TRUE(Highlight_IsAttachText(B));
    const TKoRange Item = Highlight_GetABCTextRange(B);
    ASSERT_TRUE(Item.IsNonEmpty());
    EXPECT_EQ(FABC->ABCText().substr(Item.StartIndex, Item.Length),
              u"Text@1,2(0,-4.5) = AttachText1, b")
        << "the whole item line";
    Highlight_Set(B, TrecNuo4Highlight::Attach(7));
    EXPECT_TRUE(Highlight_Get(B).IsEmpty()) << "an index outside its buffer clears";
    Highlight_Update(B);
    EXPECT_FALSE(B.Attach_GetSymbol(1)->Highlighted());
}

}  // namespace
