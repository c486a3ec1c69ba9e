// The undo ring of 30 snapshots, alone and in the main window.
#include <gtest/gtest.h>

#include <QTest>
#include <algorithm>

#include "editor/undo_redo.h"
#include "editor_test_support.h"

namespace nuo4 {
namespace {

struct TRing {
    std::vector<std::u16string> Restored;
    TNuo4UndoRedoBuffer Ring{30, [this](TNuo4UndoRedoBuffer*, const TrecNuo4UndoRedoItem* I) {
                                 Restored.push_back(I->ABCText);
                             }};
    void Put(const std::u16string& T) {
        TrecNuo4UndoRedoItem I;
        I.Initialize(T, {}, {});
        Ring.PutItem(I);
    }
};

std::u16string N(int I) {
    return u"t" + std::u16string(1, char16_t(u'0' + I % 10)) + char16_t(I);
}

TEST(UndoRing, EdgeCasesOfTheRing) {
    TRing R;
    R.Put(u"loaded");
    // Right after loading: one snapshot, nothing to undo.
    EXPECT_EQ(R.Ring.Count(), 1);
    EXPECT_FALSE(R.Ring.CanUndo());
    EXPECT_FALSE(R.Ring.Undo());
    for (int I = 1; I <= 35; ++I) R.Put(N(I));
    // A full ring keeps 30 snapshots: 29 steps back, the 30th does nothing.
    EXPECT_TRUE(R.Ring.IsFull());
    int Steps = 0;
    while (R.Ring.Undo()) ++Steps;
    EXPECT_EQ(Steps, 29);
    EXPECT_EQ(R.Restored.back(), N(6));
    // Redo walks forward again to the newest.
    Steps = 0;
    while (R.Ring.Redo()) ++Steps;
    EXPECT_EQ(Steps, 29);
    EXPECT_EQ(R.Restored.back(), N(35));
    EXPECT_EQ(R.Ring.GetItem()->ABCText, N(35));
}

TEST(UndoRing, AnEditAfterUndoEndsTheRedoHistory) {
    TRing R;
    for (int I = 0; I < 5; ++I) R.Put(N(I));
    ASSERT_TRUE(R.Ring.Undo());
    ASSERT_TRUE(R.Ring.Undo());
    EXPECT_EQ(R.Ring.GetItem()->ABCText, N(2));
    R.Put(u"new");
    EXPECT_FALSE(R.Ring.CanRedo());
    // One undo returns to the state in which the edit was made.
    ASSERT_TRUE(R.Ring.Undo());
    EXPECT_EQ(R.Restored.back(), N(2));
    ASSERT_TRUE(R.Ring.Redo());
    EXPECT_EQ(R.Restored.back(), u"new");
    EXPECT_EQ(R.Ring.Count(), 4);
}

TEST(UndoRing, WrapsAfterUndoOnAFullRing) {
    TRing R;
    for (int I = 0; I < 40; ++I) R.Put(N(I));
    ASSERT_TRUE(R.Ring.Undo());
    R.Put(u"x");
    // 29 kept before the new one, so 29 steps back reach the oldest kept snapshot.
    int Steps = 0;
    while (R.Ring.Undo()) ++Steps;
    EXPECT_EQ(Steps, 29);
    EXPECT_EQ(R.Restored.back(), N(10));
}

TEST(EditorUndo, TextTabEditsAreAnUndoStepAndScoreUndoKeepsThem) {
    TEditorWindowFixture F;
    F.LoadVoice(QStringLiteral("1 2 3"));
    const std::u16string Loaded = F.Text();
    // Typed on the text tab: the control's own text, not an edit command.
    F.W->ShowTextTab();
    QTest::keyClick(F.W->TextEditor(), Qt::Key_F1);  // highlighted -> editable
    ASSERT_FALSE(F.W->TextEditor()->isReadOnly());
    F.W->TextEditor()->moveCursor(QTextCursor::End);
    QTest::keyClicks(F.W->TextEditor(), "5 6");
    F.W->ShowScoreTab();
    ASSERT_NE(F.Text(), Loaded);
    EXPECT_TRUE(F.W->UndoRedoBuffer()->CanUndo());
    const std::u16string Typed = F.Text();
    // Ctrl+Z on the score goes back to the loaded text, Ctrl+Shift+Z forward to the typed one.
    QTest::keyClick(F.View(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(F.Text(), Loaded);
    QTest::keyClick(F.View(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(F.Text(), Typed);
    // Restoring a snapshot marks the document modified and keeps the control's history.
    EXPECT_TRUE(F.W->TextEditor()->IsModified());
    EXPECT_TRUE(F.W->TextEditor()->document()->isUndoAvailable());
}

// Lines break by themselves between measures; a measure wider than the layout makes its line
// run over. A note typed there brings a return after it as a follow-up: the first Ctrl+Z takes
// only the return away, the second the note; redo brings the note back first.
TEST(EditorUndo, AutomaticLineBreakIsASecondUndoStep) {
    const struct {
        QString Voice;
        bool bBreak;
    } Rows[] = {{QStringLiteral("1 2 3 4 | ").repeated(40), false},
                {QStringLiteral("1 2 3 4 ").repeated(15), true}};
    for (const auto& R : Rows) {
        SCOPED_TRACE(R.bBreak);
        TEditorWindowFixture F;
        F.LoadVoice(R.Voice);
        const std::u16string Loaded = F.Text();
        auto Count = [](const std::u16string& T, char16_t C) {
            return std::count(T.begin(), T.end(), C);
        };
        QTest::keyClick(F.View(), Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(F.View(), Qt::Key_5);
        const std::u16string Typed = F.Text();
        ASSERT_EQ(Count(Typed, u'5'), Count(Loaded, u'5') + 1);
        EXPECT_EQ(Count(Typed, u'$'), Count(Loaded, u'$') + (R.bBreak ? 1 : 0));

        std::vector<std::u16string> Steps{Typed};
        while (F.W->UndoRedoBuffer()->CanUndo()) {
            QTest::keyClick(F.View(), Qt::Key_Z, Qt::ControlModifier);
            Steps.push_back(F.Text());
        }
        ASSERT_EQ(Steps.size(), R.bBreak ? 3u : 2u);
        EXPECT_EQ(Steps.back(), Loaded);
        if (R.bBreak) {
            EXPECT_EQ(Count(Steps[1], u'5'), Count(Typed, u'5'));
            EXPECT_EQ(Count(Steps[1], u'$'), Count(Loaded, u'$'));
        }
        QTest::keyClick(F.View(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(F.Text(), Steps[Steps.size() - 2]);
    }
}

}  // namespace
}  // namespace nuo4
