// The mouse in the score view: the drag machine on its own, then clicks and drags through
// mouse events on the view of a main window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTest>

#include "editor/score_drag.h"
#include "editor_test_support.h"
#include "format/abc_common.h"
#include "format/doc_options.h"
#include "layout/buffer_hit_test.h"

namespace nuo4 {
namespace {

TEST(ScoreDrag, StatusFollowsGrabPointModifiersAndDistance) {
    struct TCase {
        TNuo4DragSymbolKind Kind;
        QPoint Press, Move;
        Qt::KeyboardModifiers Mods;
        TNuo4DragStatus Status;
        QPoint Offset;  // what the release asks for; null: no request
        TNuo4AttachDragAction Action;
    };
    // A wide symbol from x 100 to 200 (quarters end at 125 and 175), y 50 to 60; a tall one
    // from y 0 to 100. The start distance is 5 (Manhattan).
    const QRectF Wide(100, 50, 100, 10), Tall(100, 0, 10, 100);
    const Qt::KeyboardModifiers None, Shift = Qt::ShiftModifier, Ctrl = Qt::ControlModifier;
    const TCase Cases[] = {
        {dskAttach, {150, 55}, {152, 57}, None, dsBefore, {}, adaMove},  // 4 < 5: no drag yet
        {dskAttach, {150, 55}, {160, 40}, None, dsMoveAny, {10, -15}, adaMove},
        {dskAttach, {150, 55}, {160, 40}, Shift, dsMoveLimit, {0, -15}, adaMove},
        {dskAttach, {150, 55}, {170, 50}, Shift, dsMoveLimit, {20, 0}, adaMove},
        {dskAttach, {150, 55}, {160, 40}, Ctrl, dsDuplicateAny, {10, -15}, adaDuplicate},
        {dskAttach, {150, 55}, {160, 40}, Ctrl | Shift, dsDuplicateLimit, {0, -15}, adaDuplicate},
        {dskLyric, {150, 55}, {160, 40}, Shift, dsMoveAny, {10, -15}, adaMove},
        {dskNone, {150, 55}, {160, 40}, None, dsNoSymbol, {}, adaMove},
        // A line-shaped symbol: its outer quarters resize along its length only.
        {dskLineAttach, {110, 55}, {100, 70}, None, dsResizeToLeft, {-10, 0}, adaResizeToLeft},
        {dskLineAttach, {190, 55}, {210, 70}, None, dsResizeToRight, {20, 0}, adaResizeToRight},
        {dskLineAttach, {150, 55}, {160, 70}, Shift, dsMoveLimit, {0, 15}, adaMove},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(std::string(EnumName(C.Status)) + " " + std::to_string(C.Press.x()));
        TrecNuo4DragInfo D;
        TrecNuo4DragInfo_MouseDown Down;
        Down.MousePos = C.Press;
        Down.Kind = C.Kind;
        Down.SymbolRect = Wide;
        Down.SymbolBufferIndex = TrecNuo4SymbolBufferIndex::Create(sbtAttach, 7);
        Down.BasicIndexAttachTo = 2;
        Down.AttachLine = {QPointF(100, 55), QPointF(90, 80)};
        Nuo4DragStart(D, Down);
        Nuo4DragMove(D, C.Move, C.Mods, 5);
        EXPECT_EQ(D.Status, C.Status);
        const TrecNuo4DragRequest R = Nuo4DragRequestOf(D);
        EXPECT_EQ(R.bValid, !C.Offset.isNull());
        if (!R.bValid) continue;
        EXPECT_EQ(R.Offset, C.Offset);
        EXPECT_EQ(R.Action, C.Action);
        EXPECT_EQ(R.SymbolBufferIndex.BufferInex, 7);
        // The feedback: the rectangle moved or stretched, the attach line from the moved
        // reference point to the unmoved owner.
        const QRectF F = D.MouseMove.SymbolRect;
        if (D.IsResizing()) {
            EXPECT_DOUBLE_EQ(F.width(), Wide.width() + std::abs(C.Offset.x()));
            EXPECT_DOUBLE_EQ(F.height(), Wide.height());
        } else {
            EXPECT_EQ(F, Wide.translated(QPointF(C.Offset)));
        }
        EXPECT_EQ(D.MouseMove.AttachLine.Pt_To, QPointF(90, 80));
    }
    // Once decided, a line symbol's resize stays a resize whatever the modifiers.
    TrecNuo4DragInfo D;
    TrecNuo4DragInfo_MouseDown Down;
    Down.Kind = dskLineAttach;
    Down.SymbolRect = Tall;
    Down.MousePos = {105, 95};
    Nuo4DragStart(D, Down);
    Nuo4DragMove(D, {105, 120}, None, 5);
    EXPECT_EQ(D.Status, dsResizeToBottom);
    Nuo4DragMove(D, {130, 130}, Ctrl, 5);
    EXPECT_EQ(D.Status, dsResizeToBottom);
    EXPECT_EQ(Nuo4DragOffset(D), QPoint(0, 35));
    EXPECT_EQ(GetDragPosForLineSymbolWhenStart(Tall, {105, 10}), dptTop);
    EXPECT_EQ(GetDragPosForLineSymbolWhenStart(Tall, {105, 50}), dptCenter);
}

// Mouse events as the window system sends them.
void Mouse(QWidget* AView, QEvent::Type AType, QPoint APos, Qt::KeyboardModifiers AMods = {}) {
    const Qt::MouseButton Button = AType == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons Held =
        AType == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
    QMouseEvent E(AType, QPointF(APos), AView->mapToGlobal(QPointF(APos)), Button, Held, AMods);
    QApplication::sendEvent(AView, &E);
}
void Drag(QWidget* AView, QPoint AFrom, QPoint ATo, bool bRelease = true) {
    Mouse(AView, QEvent::MouseButtonPress, AFrom);
    for (int Step = 1; Step <= 4; ++Step)
        Mouse(AView, QEvent::MouseMove, AFrom + (ATo - AFrom) * Step / 4);
    if (bRelease) Mouse(AView, QEvent::MouseButtonRelease, ATo);
}

class TScoreMouse : public TEditorWindowFixture {
  public:
    const TNuo4ScoreViewGeometry& G() const { return W->ScorePanelWidget()->Geometry(); }
    // The device centre of an attach symbol (its owner's page).
    QPoint AttachCentre(int32_t AIndex) const {
        const TNuo4SimpleBuffer& B = *W->GetSimpleBuffer();
        TNuo4Symbol* S = B.Attach_GetSymbol(AIndex);
        const int32_t P = GetPageIndexFromSymbolBufferIndex(
            B, TrecNuo4SymbolBufferIndex::Create(sbtAttach, AIndex));
        return G().PageRectToDeviceRect(P, S->BoundsWithPos()).center().toPoint();
    }
};

TEST(ScoreViewMouse, ClicksPlaceTheCaretAndHighlightTheSmallerAttachment) {
    TScoreMouse F;
    F.LoadVoice(
        QStringLiteral("1 2 3 | 4 5 6 |\r\n.Attachments\r\n"
                       "Text@@1(0,-3) = AttachText1, wwwwwwwwwwwwwwww\r\n"
                       "Text@@1(0,-3) = AttachText1, w"));
    F.View()->setFocus();
    const TNuo4SimpleBuffer& B = *F.W->GetSimpleBuffer();
    ASSERT_GE(B.Basic_GetCount(), 8);
    const std::u16string Before = F.Text();
    // Points on, between, left of and right of the symbols: the caret is where the
    // hit-test puts it for the clicked pixel.
    std::vector<QPoint> Points;
    for (int32_t I : {0, 2, 3, 5, 7}) {
        TNuo4Symbol* S = B.Basic_GetSymbol(I);
        const int32_t P =
            GetPageIndexFromSymbolBufferIndex(B, TrecNuo4SymbolBufferIndex::Create(sbtBasic, I));
        const QRectF R = F.G().PageRectToDeviceRect(P, S->BoundsWithPos());
        Points.push_back(R.center().toPoint());
        Points.push_back(QPoint(int(R.right()) + 2, int(R.center().y())));
    }
    Points.push_back(Points.front() - QPoint(40, 0));
    Points.push_back(Points.back() + QPoint(300, 0));
    int Changed = 0;
    TrecNuo4CaretPos_Index Last = F.Selection().CaretPos_End;
    for (const QPoint& Pt : Points) {
        SCOPED_TRACE(std::to_string(Pt.x()) + "," + std::to_string(Pt.y()));
        const TrecNuo4PagePos P = F.G().DevicePosToPagePos(Pt);
        TrecNuo4CaretPos_Index Want;
        ASSERT_TRUE(PagePosToCaretPos(*F.W->GetSimpleBuffer(), P.PageIndex, P.PosAtPage, Want));
        QTest::mouseClick(F.View(), Qt::LeftButton, {}, Pt);
        EXPECT_EQ(F.Selection().CaretPos_End, Want);
        EXPECT_TRUE(F.Selection().IsEmpty());
        Changed += !(Want == Last);
        Last = Want;
    }
    EXPECT_GE(Changed, 6);  // the points really are at different carets
    // Shift-click keeps the anchor and moves the end.
    const TrecNuo4CaretPos_Index Anchor = F.Selection().CaretPos_End;
    QTest::mouseClick(F.View(), Qt::LeftButton, Qt::ShiftModifier, Points[2]);
    EXPECT_EQ(F.Selection().CaretPos_Start, Anchor);
    EXPECT_FALSE(F.Selection().IsEmpty());
    // Dragging in standard mode selects from the press to the pointer.
    Drag(F.View(), Points[0], Points[6]);
    const TrecNuo4PagePos P6 = F.G().DevicePosToPagePos(Points[6]);
    TrecNuo4CaretPos_Index End;
    ASSERT_TRUE(PagePosToCaretPos(B, P6.PageIndex, P6.PosAtPage, End));
    EXPECT_EQ(F.Selection().CaretPos_End, End);
    EXPECT_EQ(F.Selection().CaretPos_Start.BasicIndex, 0);
    EXPECT_EQ(F.Text(), Before);

    // Extend mode: on the short text, which lies inside the long one, the short one is
    // highlighted though the long one comes first.
    F.W->SetEditMode(emExtend);
    int32_t Long = -1, Short = -1;
    const TNuo4SimpleBuffer& E = *F.W->GetSimpleBuffer();
    for (int32_t A = 0; A < E.Attach_GetCount(); ++A)
        if (E.Attach_IsAttachText(A)) (Long < 0 ? Long : Short) = A;
    ASSERT_GE(Short, 0);
    QTest::mouseClick(F.View(), Qt::LeftButton, {}, F.AttachCentre(Short));
    EXPECT_EQ(F.W->GetSimpleBuffer()->InternalStatus.Highlight.AttachIndex, Short);
    // Off the short one but on the long one: the long one.
    const QRectF LR = F.G().PageRectToDeviceRect(0, E.Attach_GetSymbol(Long)->BoundsWithPos());
    QTest::mouseClick(F.View(), Qt::LeftButton, {},
                      QPoint(int(LR.right()) - 3, int(LR.center().y())));
    EXPECT_EQ(F.W->GetSimpleBuffer()->InternalStatus.Highlight.AttachIndex, Long);
    // Layout mode: an attachment is highlighted without a caret, a note takes the caret back.
    F.W->SetEditMode(emLayout);
    QTest::mouseClick(F.View(), Qt::LeftButton, {}, F.AttachCentre(Short));
    EXPECT_EQ(F.W->GetSimpleBuffer()->InternalStatus.Highlight.AttachIndex, Short);
    EXPECT_FALSE(F.W->ScorePanelWidget()->GetShowCaret());
    QTest::mouseClick(F.View(), Qt::LeftButton, {}, Points[4]);
    EXPECT_TRUE(F.W->GetSimpleBuffer()->InternalStatus.Highlight.IsEmpty());
    EXPECT_TRUE(F.W->ScorePanelWidget()->GetShowCaret());
    F.W->SetEditMode(emExtend);
    // A double click on a symbol whose dialog is not built says so.
    QTest::mouseDClick(F.View(), Qt::LeftButton, {}, F.AttachCentre(Short));
    EXPECT_EQ(F.W->statusBar()->currentMessage(), QStringLiteral("此功能尚未实现"));
}

TEST(ScoreViewMouse, DragMovesAnAttachmentInOneUndoStep) {
    TScoreMouse F;
    const QString Item = QStringLiteral("Text@@1(0.00,-3.00) = AttachText1, mark");
    F.LoadVoice(QStringLiteral("1 2 3 | 4 5 6 |\r\n.Attachments\r\n") + Item);
    F.View()->setFocus();
    F.W->SetEditMode(emExtend);
    F.W->ScorePanelWidget()->SetStartDragDistance(12);
    const std::u16string Before = F.Text();
    const int32_t UndoCount = F.W->UndoRedoBuffer()->Count();
    int32_t A = -1;
    for (int32_t I = 0; I < F.W->GetSimpleBuffer()->Attach_GetCount() && A < 0; ++I)
        if (F.W->GetSimpleBuffer()->Attach_IsAttachText(I)) A = I;
    ASSERT_GE(A, 0);
    const QPoint From = F.AttachCentre(A);

    // Below the start distance nothing moves.
    Drag(F.View(), From, From + QPoint(5, 6));
    EXPECT_EQ(F.Text(), Before);
    // Esc during a drag cancels it: the release changes nothing.
    Drag(F.View(), From, From + QPoint(60, 30), false);
    EXPECT_TRUE(F.W->ScorePanelWidget()->DragInfo().IsMoving());
    QTest::keyClick(F.View(), Qt::Key_Escape);
    EXPECT_EQ(F.W->ScorePanelWidget()->DragInfo().Status, dsNone);
    Mouse(F.View(), QEvent::MouseButtonRelease, From + QPoint(60, 30));
    EXPECT_EQ(F.Text(), Before);
    EXPECT_EQ(F.W->UndoRedoBuffer()->Count(), UndoCount);

    // A drag: the feedback is drawn over the image; the score is drawn again only on release.
    const QPoint Delta(48, -24);
    Mouse(F.View(), QEvent::MouseButtonPress, From);
    const int64_t Draws = F.W->ScoreDrawCount();
    for (int Step = 1; Step <= 4; ++Step)
        Mouse(F.View(), QEvent::MouseMove, From + Delta * Step / 4);
    EXPECT_EQ(F.W->ScoreDrawCount(), Draws);
    // On the screen the dashed outline lies over the image, at the moved place only.
    const QImage Screen = F.View()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage& Image = F.W->ScorePanelWidget()->MemImage();
    const QRect Outline = F.W->ScorePanelWidget()->DragInfo().MouseMove.SymbolRect.toAlignedRect();
    auto Differs = [&](const QRect& ARect) {
        int N = 0;
        for (int Y = ARect.top(); Y <= ARect.bottom(); ++Y)
            for (int X = ARect.left(); X <= ARect.right(); ++X)
                N += Image.rect().contains(X, Y) && Screen.pixel(X, Y) != Image.pixel(X, Y);
        return N;
    };
    EXPECT_GT(Differs(Outline.adjusted(-1, -1, 1, 1)), 10);
    EXPECT_EQ(Differs(QRect(0, Image.height() - 40, 40, 40)), 0);
    EXPECT_EQ(F.W->ScorePanelWidget()->DragInfo().MouseMove.SymbolRect.center().toPoint(),
              From + Delta);
    Mouse(F.View(), QEvent::MouseButtonRelease, From + Delta);
    const double Scale = F.G().DeviceScale();
    const TNuo4SizeF D = Nuo4DocOptions().GetNormalStyleDigitSize();
    const std::u16string Offset =
        ABC_FormatPoint(Delta.x() / Scale / D.Width, -3.0 + Delta.y() / Scale / D.Height);
    std::u16string Want = Before;
    const std::u16string Old = u"(0.00,-3.00)";
    Want.replace(Want.find(Old), Old.size(), Offset);
    EXPECT_EQ(F.Text(), Want);
    EXPECT_EQ(F.W->UndoRedoBuffer()->Count(), UndoCount + 1);
    // The moved symbol is drawn where the pointer left it (to the written precision).
    const QPoint Now = F.AttachCentre(A);
    EXPECT_NEAR(Now.x(), From.x() + Delta.x(), 0.01 * D.Width * Scale + 1);
    EXPECT_NEAR(Now.y(), From.y() + Delta.y(), 0.01 * D.Height * Scale + 1);
    // One undo takes the whole drag back.
    QTest::keyClick(F.View(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(F.Text(), Before);
}

}  // namespace
}  // namespace nuo4
