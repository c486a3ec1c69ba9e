// Inserting and deleting basic symbols: where the text goes, what is put around it, the arc
// marks that go with a deleted note, the attachments that follow, and the new caret.
#include "edit_test_support.h"

using namespace nuo4;
using namespace nuo4::test;

namespace {

struct TInsertCase {
    const char* Voice;
    int32_t Caret;  // right side of this symbol; -1: left side of symbol 0
    const char* Note;
    const char* Expected;
};

TrecNuo4MusicPureNote NoteOf(const char* AText) {
    TrecNuo4MusicPureNote N;
    const std::u16string T = U16(AText);
    int32_t End = -1;
    EXPECT_TRUE(ReadPureNote(T, TKoRange(0, int32_t(T.size())), N, End));
    return N;
}

class InsertAtCaret : public EditTest {};
class Delete : public EditTest {};

}  // namespace

TEST_F(InsertAtCaret, NoteTextGoesWhereTheInsertionRulesPutIt) {
    const TInsertCase Cases[] = {
        // Before a bar line that follows a note on the same line: joined to that note.
        {"1 2 | 3", 1, "3", "1 23 | 3"},
        // Before a note: unchanged at the note's start.
        {"1 2 3", 0, "5_", "1 5_2 3"},
        // At index 0 before a non-note: followed by one space.
        {"| 1 2", -1, "5", "5 | 1 2"},
        // After a bar line on the same line: at the insert position with a space.
        {"1 | 2", 1, "4", "1 | 42"},
        {"1 | |", 1, "4", "1 | 4 |"},
        // At the end of a voice without a final return: on the last symbol's line.
        {"1 2", 1, "3", "1 23"},
        {"1 |", 1, "4", "1 | 4"},
    };
    for (const auto& C : Cases) {
        Build(C.Voice);
        Caret(C.Caret < 0 ? 0 : C.Caret, C.Caret >= 0);
        TrecNuo4EditResult A;
        ASSERT_TRUE(CanInsertSymbol_PureNote_Caret(*FBuf, {}, NoteOf(C.Note), A)) << C.Voice;
        EXPECT_EQ(Voice(A.Items), C.Expected) << C.Voice;
        // The caret stands right of the new note.
        EXPECT_TRUE(A.bWithSelection);
        EXPECT_EQ(A.NewSelection.CaretPos_End, (TrecNuo4CaretPos_Index{C.Caret + 1, true}));
        EXPECT_TRUE(A.NewSelection.IsEmpty());
    }
}

TEST_F(InsertAtCaret, SymbolAtIndexZeroBeforeNonNoteGetsOneMoreSpace) {
    Build("| 1");
    Caret(0, false);
    TrecNuo4EditResult A;
    ASSERT_TRUE(CanInsertSymbol_Barline_Caret(*FBuf, blsFinal, A));
    EXPECT_EQ(Voice(A.Items), " |]  | 1");
}

TEST_F(InsertAtCaret, IsRefusedWithASelection) {
    Build("1 2 3");
    Select(0, 1);
    TrecNuo4EditResult A;
    EXPECT_FALSE(CanInsertSymbol_PureNote_Caret(*FBuf, {}, NoteOf("5"), A));
    EXPECT_TRUE(A.Items.empty());
    EXPECT_FALSE(A.bWithSelection);
}

TEST_F(InsertAtCaret, AutomaticBarlineAfterAFullMeasureOnlyWhenTheCounterIsZero) {
    // The attachment on the last note moves two symbols right with the bar line and note.
    const char* Att = "Text@@4(0,-2.5) = AttachText1, x";  // 1-based: the fourth symbol
    for (int32_t Counter : {0, 2}) {
        Build("1 2 3 4 $", Att);
        Caret(3, true);
        TrecNuo4EditState S;
        S.bAutoInsertBarline = true;
        S.ConsecutiveNoteCount = Counter;
        TrecNuo4EditResult A;
        bool bBar = false;
        ASSERT_TRUE(CanInsertSymbol_PureNote_Caret(*FBuf, S, NoteOf("5"), A, &bBar));
        EXPECT_TRUE(A.bAccepted);
        if (Counter == 0) {
            EXPECT_EQ(Voice(A.Items), "1 2 3 4 | 5 $");
            EXPECT_TRUE(bBar);
            EXPECT_EQ(A.NewSelection.CaretPos_End, (TrecNuo4CaretPos_Index{5, true}));
        } else {
            EXPECT_EQ(Voice(A.Items), "1 2 3 45 $");
            EXPECT_FALSE(bBar);
            EXPECT_EQ(A.NewSelection.CaretPos_End, (TrecNuo4CaretPos_Index{4, true}));
        }
        // The note left of the caret keeps its attachment: only owners at or after the new
        // symbols move.
        EXPECT_EQ(Attachments(A.Items), "Text@@4(0,-2.5) = AttachText1, x");
    }
}

TEST_F(InsertAtCaret, LaterAttachmentOwnersMoveByTheInsertedCount) {
    Build("1 2 3", "Text@@1(0,-2.5) = AttachText1, a\rText@@3(0,-2.5) = AttachText1, b");
    Caret(0, true);
    TrecNuo4EditResult A;
    ASSERT_TRUE(CanInsertSymbol_PureNote_Caret(*FBuf, {}, NoteOf("5"), A));
    EXPECT_EQ(Voice(A.Items), "1 52 3");
    EXPECT_EQ(Attachments(A.Items),
              "Text@@1(0,-2.5) = AttachText1, a|Text@@4(0,-2.5) = AttachText1, b");
}

TEST_F(InsertAtCaret, AppendingToABareMelodyKeepsTheNewSymbolApart) {
    // Without any section header the text is no voice: the note goes at its very end.
    BuildText(u"1 2/4");
    ASSERT_EQ(FBuf->Basic_GetCount(), 0);
    TrecNuo4EditResult A;
    ASSERT_TRUE(CanInsertSymbol_PureNote_Caret(*FBuf, {}, NoteOf("5"), A));
    EXPECT_EQ(U8(Applied(A.Items)), "1 2/4 5");
}

TEST_F(InsertAtCaret, ReturnTakesTheParagraphOptionsAndMovesTheCaretToTheNextLine) {
    Build("1 2 3 $");
    Caret(0, true);
    TrecNuo4EditResult A;
    ASSERT_TRUE(CanInsertSymbol_Return_Caret(*FBuf, A));
    EXPECT_EQ(U8(Applied(A.Items)), ".Voice\r1  $ \r2 3 $\r");
    EXPECT_EQ(A.NewSelection.CaretPos_End, (TrecNuo4CaretPos_Index{2, false}));
    // At the end of a voice without a final return: the line is closed where it is and the
    // caret goes past the new return.
    Build("1 2");
    Caret(1, true);
    ASSERT_TRUE(CanInsertSymbol_Return_Caret(*FBuf, A));
    EXPECT_EQ(U8(Applied(A.Items)), ".Voice\r1 2 $ \r\r");
    EXPECT_EQ(A.NewSelection.CaretPos_End, (TrecNuo4CaretPos_Index{2, true}));
}

TEST_F(InsertAtCaret, BarlineKeyCyclesTheStyleOfTheBarlineLeftOfTheCaret) {
    Build("1 | 2");
    Caret(1, true);
    TrecNuo4EditResult A;
    ASSERT_TRUE(CanInsertOrToggleBarline_Style_Caret(*FBuf, A));
    EXPECT_EQ(Voice(A.Items), "1 |: 2");
    // After a note a normal bar line is inserted.
    Caret(0, true);
    ASSERT_TRUE(CanInsertOrToggleBarline_Style_Caret(*FBuf, A));
    EXPECT_EQ(Voice(A.Items), "1 |  | 2");
    // The cycle ends where it began; the invisible style returns to normal.
    const char* Styles[][2] = {{"|:", ":|"},  {":|", "|]"}, {"|]", "||"}, {"||", "::"},
                               {"::", ":|:"}, {":|:", "|"}, {"[|]", "|"}};
    for (const auto& S : Styles) {
        Build(std::string("1 ") + S[0] + " 2");
        TNuo4ABCTextReplaceItems It;
        ASSERT_TRUE(CanToggleBarlineStyle(*FBuf, 1, It)) << S[0];
        EXPECT_EQ(Voice(It), std::string("1 ") + S[1] + " 2") << S[0];
    }
}

TEST_F(Delete, ArcMarksAtTheOtherEndGoWithTheNote) {
    struct {
        const char* Voice;
        int32_t First, Last;
        const char* Expected;
    } Cases[] = {
        {"(1 2 3)", 0, 0, " 2 3"},
        // Only the mark that closes the deleted note's arc: the inner slur stays whole.
        {"(1 (2 3))", 0, 0, " (2 3)"},
        {"((1 2) 3)", 2, 2, "(1 2) "},
        // A run holding only the end of a slur takes its start mark along.
        {"1 (2 3) 4", 2, 2, "1 2  4"},
        {"1 (2 3) 4", 1, 2, "1  4"},
        {"{(3}1_ 2_ 3_) 4", 1, 2, "1_  4"},
    };
    for (const auto& C : Cases) {
        Build(C.Voice);
        TNuo4ABCTextReplaceItems It;
        ASSERT_TRUE(CanDeleteBasicSymbol_Range(*FBuf, TKoRange::FromStartEnd(C.First, C.Last), It))
            << C.Voice;
        EXPECT_EQ(Voice(It), C.Expected) << C.Voice;
    }
}

TEST_F(Delete, AttachmentsOfTheDeletedSymbolGoAndLaterOnesMoveLeft) {
    Build("1 2 3 4",
          "Text@@1(0,-2.5) = AttachText1, a\rText@@2(0,-2.5) = AttachText1, b\r"
          "Text@@4(0,-2.5) = AttachText1, c");
    TNuo4ABCTextReplaceItems It;
    ASSERT_TRUE(CanDeleteBasicSymbol(*FBuf, 1, It));
    EXPECT_EQ(Voice(It), "1  3 4");
    EXPECT_EQ(Attachments(It), "Text@@1(0,-2.5) = AttachText1, a|Text@@3(0,-2.5) = AttachText1, c");
    // Relative locations are rewritten in the basic-index form too.
    Build("1 2 | 3", "Text@2,1(0,-2.5) = AttachText1, z");
    ASSERT_EQ(FBuf->Attach_GetBasicIndex(FBuf->Attach_GetLast()), 3);
    ASSERT_TRUE(CanDeleteBasicSymbol(*FBuf, 0, It));
    EXPECT_EQ(Attachments(It), "Text@@3(0,-2.5) = AttachText1, z");
}

TEST_F(Delete, CaretFormsAndRefusals) {
    Build("1 2 $");
    TNuo4ABCTextReplaceItems It;
    EXPECT_FALSE(CanDeleteBasicSymbol(*FBuf, 2, It));  // the closing return
    EXPECT_FALSE(CanDeleteBasicSymbol(*FBuf, 3, It));
    EXPECT_FALSE(CanDeleteBasicSymbol(*FBuf, -1, It));
    TrecNuo4EditResult A;
    // Backspace at index 0 leaves the default caret.
    Caret(0, true);
    ASSERT_TRUE(CanDeleteBasicSymbol_Caret(*FBuf, true, A));
    EXPECT_EQ(Voice(A.Items), " 2 $");
    EXPECT_EQ(A.NewSelection.CaretPos_End, (TrecNuo4CaretPos_Index{0, false}));
    // Backspace after the second note: the caret on the right of the first.
    Caret(1, true);
    ASSERT_TRUE(CanDeleteBasicSymbol_Caret(*FBuf, true, A));
    EXPECT_EQ(Voice(A.Items), "1  $");
    EXPECT_EQ(A.NewSelection.CaretPos_End, (TrecNuo4CaretPos_Index{0, true}));
    // Delete removes the symbol right of the caret and keeps the caret.
    Caret(0, true);
    ASSERT_TRUE(CanDeleteBasicSymbol_Caret(*FBuf, false, A));
    EXPECT_EQ(Voice(A.Items), "1  $");
    EXPECT_EQ(A.NewSelection.CaretPos_End, (TrecNuo4CaretPos_Index{0, true}));
    // A selection is deleted and cleared to its head.
    Select(0, 1);
    ASSERT_TRUE(CanDeleteBasicSymbol_Selection(*FBuf, A));
    EXPECT_EQ(Voice(A.Items), " $");
    EXPECT_TRUE(A.NewSelection.IsEmpty());
    EXPECT_EQ(A.NewSelection.CaretPos_End.GetRightPos(), 0);
    EXPECT_FALSE(CanDeleteBasicSymbol_Caret(*FBuf, true, A));  // not with a selection
}

TEST_F(Delete, EditSymbolChangesAndRemovesOnlySymbolsOfItsKind) {
    Build("1 | 2 3/4 4");
    TNuo4ABCTextReplaceItems It;
    TrecNuo4SymbolMeter M;
    M.Meter = TrecNuo4Meter::Create(6, 8);
    ASSERT_TRUE(CanEditSymbol_Meter(*FBuf, setChange, 3, M, It));
    EXPECT_EQ(Voice(It), "1 | 2 6/8 4");
    EXPECT_FALSE(CanEditSymbol_Meter(*FBuf, setChange, 1, M, It));
    EXPECT_FALSE(CanEditSymbol_Meter(*FBuf, setRemove, 0, M, It));
    ASSERT_TRUE(CanEditSymbol_Meter(*FBuf, setRemove, 3, M, It));
    EXPECT_EQ(Voice(It), "1 | 2  4");
    ASSERT_TRUE(CanEditNote(*FBuf, setChange, 2, u"[25]_", It));
    EXPECT_EQ(Voice(It), "1 | [25]_ 3/4 4");
    EXPECT_FALSE(CanEditNote(*FBuf, setAdd, 0, u"", It));
    // A bar line change takes only the named parts from the new value.
    Build("1 |{C:1.500}[2. 2");
    TrecNuo4SymbolBarline Bar;
    Bar.BarlineStyle = blsDouble;
    ASSERT_TRUE(CanEditSymbol_Barline(*FBuf, setChange, 1, Bar, seetbBarlineStyle, It));
    EXPECT_EQ(Voice(It), "1 ||{C:1.500}[2. 2");
}

TEST(VoiceEditItems, OneCombinedItemPerPosition) {
    TNuo4ABCTextReplaceItems Items;
    TrecNuo4ABCTextReplaceItem A, B, C, D;
    A.Initialize(TKoRange(4, 1), u"_");  // a duration written over "x"
    B.InitializeForInsert(4, u"(");      // then an insertion at the same start
    C.InitializeForInsert(9, u"_");
    D.InitializeForInsert(9, u")");
    for (const auto* It : {&A, &B, &C, &D}) VoiceEdit_AddItem(Items, *It);
    ASSERT_EQ(Items.size(), 2u);
    EXPECT_EQ(Items[0].TextRange, TKoRange(4, 1));
    EXPECT_EQ(U8(Items[0].NewText), "(_");
    EXPECT_EQ(U8(Items[1].NewText), "_)");
    std::u16string T = u"0123x5678";
    ASSERT_TRUE(ApplyTextReplaceItems(T, Items));
    EXPECT_EQ(U8(T), "0123(_5678_)");
    // An invalid item (no range, no text) never enters an answer.
    TrecNuo4ABCTextReplaceItem E;
    E.InitializeForInsert(2, u"");
    VoiceEdit_AddItem(Items, E);
    EXPECT_EQ(Items.size(), 2u);
}

TEST_F(Delete, ArcMarkRangesNameTheOneClosingMark) {
    Build("{(3}(1 2) 3))");
    ASSERT_EQ(FBuf->ArcInfoArray.size(), 2u);
    const int32_t V = 7;  // ".Voice\r"
    for (int32_t A = 0; A < 2; ++A) {
        TKoRange S, E;
        ASSERT_TRUE(GetABCTextRangeForArc(*FBuf, A, S, E));
        const bool bInner = FBuf->ArcInfoArray[A].BasicIndexRange.EndIndex() == 1;
        EXPECT_EQ(S, bInner ? TKoRange(V + 4, 1) : TKoRange(V, 4));
        EXPECT_EQ(E, bInner ? TKoRange(V + 8, 1) : TKoRange(V + 11, 1));
    }
    EXPECT_EQ(GetABCTextRangeForNote_Pitches(*FBuf, 0), TKoRange(V + 5, 1));
    EXPECT_FALSE(GetABCTextRangeForNote_Duration(*FBuf, 0).IsValid());
    EXPECT_EQ(GetABCTextRangeForAllSymbol_ControlOptions(*FBuf, 0), TKoRange(V + 6, 0));
}

TEST_F(InsertAtCaret, BarlineAddedPastColumn80StartsANewTextLine) {
    // Note i of a run of ones stands at column 2 i.
    auto Ones = [](int N) {
        std::string S;
        for (int I = 0; I < N; ++I) S += I ? " 1" : "1";
        return S;
    };
    const struct {
        int Notes, Index;
        bool bWrap;
    } Cases[] = {
        {4, 4, false},    // at the end of a short line
        {41, 1, false},   // column 2
        {41, 40, false},  // column 80 itself
        {41, 41, true},   // appended at column 81
        {45, 42, true},   // before a note at column 84
    };
    for (const auto& C : Cases) {
        Build(Ones(C.Notes));
        TNuo4ABCTextReplaceItems It;
        ASSERT_TRUE(CanInsertSymbol_Barline(*FBuf, C.Index, blsNormal, It)) << C.Index;
        ASSERT_FALSE(It.empty());
        const std::u16string& New = It[0].NewText;
        EXPECT_EQ(New.find(u'|') != std::u16string::npos, true) << C.Index;
        const bool bWrap = New.size() >= 3 && New.substr(New.size() - 3) == u"\r  ";
        EXPECT_EQ(bWrap, C.bWrap) << C.Notes << "/" << C.Index << ": " << U8(New);
        // The bar line lands where it was asked for, whatever the wrapping.
        BuildText(Applied(It));
        ASSERT_EQ(FBuf->Basic_GetCount(), C.Notes + 1);
        EXPECT_TRUE(FBuf->Basic_IsBarline(C.Index)) << C.Index;
    }
}

TEST_F(InsertAtCaret, ReturnIfOverWidthOnlyOnALineThatOverflows) {
    // Without bar lines the whole run is one measure: it overflows its line.
    std::string Long;
    for (int I = 0; I < 90; ++I) Long += "1 ";
    const struct {
        std::string Voice;
        int32_t Caret;
        bool bOk;
    } Cases[] = {
        {Long, 5, true},
        {"1 2 3 4 |", 1, false},
        {Long + "| 1 2 |", 92, false},  // the caret's own line is short
        {Long + "| 1 2 |", 89, true},
    };
    for (const auto& C : Cases) {
        Build(C.Voice);
        Caret(C.Caret, true);
        TrecNuo4EditResult A;
        ASSERT_EQ(CanInsertReturnIfOverWidth(*FBuf, A), C.bOk) << C.Caret;
        ASSERT_EQ(A.bAccepted, C.bOk);
        if (!C.bOk) {
            EXPECT_TRUE(A.Items.empty());
            continue;
        }
        // The same answer as a return typed at the caret.
        TrecNuo4EditResult Typed;
        ASSERT_TRUE(CanInsertSymbol_Return_Caret(*FBuf, Typed));
        EXPECT_EQ(Applied(A.Items), Applied(Typed.Items));
        BuildText(Applied(A.Items));
        EXPECT_TRUE(FBuf->Basic_IsReturn(C.Caret + 1)) << C.Caret;
    }
    // A selection refuses it.
    Build(Long);
    Select(2, 4);
    TrecNuo4EditResult A;
    EXPECT_FALSE(CanInsertReturnIfOverWidth(*FBuf, A));
}
