// The score text editor: the order of replacements, line breaks, the comment toggle, blank
// lines, colours, and the checks after a compile.
#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextCursor>
#include <functional>

#include "edit/edit_apply.h"
#include "editor/abc_syn_rich_edit.h"
#include "editor/edit_state_check.h"
#include "editor/syntax_tokens.h"
#include "editor/text_replace.h"

namespace nuo4 {
namespace {

TrecNuo4ABCTextReplaceItem Item(int32_t AStart, int32_t ALength, std::u16string AText) {
    TrecNuo4ABCTextReplaceItem I;
    I.Initialize(TKoRange(AStart, ALength), std::move(AText));
    return I;
}

TNuo4ABCTextReplaceItems Items(std::initializer_list<TrecNuo4ABCTextReplaceItem> A) {
    TNuo4ABCTextReplaceItems R;
    R.insert(R.end(), A.begin(), A.end());
    return R;
}

// Each case runs on the text control and on the plain reference; both must agree.
TEST(ReplaceText, OrderingOnTheControlAndTheReference) {
    const std::u16string Base = u"0123456789abcdefghij0123456789ABCDEFGHIJ0123456789XYZ";
    struct {
        const char* Name;
        TNuo4ABCTextReplaceItems Items;
        std::u16string Expected;
    } const Cases[] = {
        // 50 goes first, so the text at 10 is replaced where it stood before either.
        {"ascending input", Items({Item(10, 2, u"<a>"), Item(50, 3, u"<b>")}),
         u"0123456789<a>cdefghij0123456789ABCDEFGHIJ0123456789<b>"},
        {"CR LF becomes one break", Items({Item(5, 0, u"x\r\ny")}),
         u"01234x\ry56789abcdefghij0123456789ABCDEFGHIJ0123456789XYZ"},
        // Same start: the insertions read in the order the answer lists them.
        {"same start", Items({Item(3, 0, u"b"), Item(3, 0, u"a")}),
         u"012ba3456789abcdefghij0123456789ABCDEFGHIJ0123456789XYZ"},
        // A replaced range goes before an insertion at its start, which then stays.
        {"insert and replace", Items({Item(3, 0, u"+"), Item(3, 2, u"R")}),
         u"012+R56789abcdefghij0123456789ABCDEFGHIJ0123456789XYZ"},
    };
    for (const auto& C : Cases) {
        std::u16string Ref = Base;
        ASSERT_TRUE(Nuo4ApplyReplaceItems(Ref, C.Items)) << C.Name;
        EXPECT_EQ(Ref, C.Expected) << C.Name;
        // The headless tools apply answers the same way.
        std::u16string Headless = Base;
        ASSERT_TRUE(ApplyTextReplaceItems(Headless, C.Items)) << C.Name;
        EXPECT_EQ(Headless, C.Expected) << C.Name;
        TKoABCSynRichEdit E(nullptr, nullptr);
        E.LoadText(Base);
        ASSERT_TRUE(E.ReplaceText(C.Items)) << C.Name;
        EXPECT_EQ(E.GetABCText(), C.Expected) << C.Name;
        EXPECT_TRUE(E.IsModified());
        // One undo step of the control takes the whole answer back.
        E.document()->undo();
        EXPECT_EQ(E.GetABCText(), Base) << C.Name;
    }
    // Overlapping or outside items are refused whole.
    TKoABCSynRichEdit E(nullptr, nullptr);
    E.LoadText(Base);
    EXPECT_FALSE(E.ReplaceText(Items({Item(10, 5, u"a"), Item(12, 5, u"b")})));
    EXPECT_FALSE(E.ReplaceText(Items({Item(50, 10, u"a")})));
    EXPECT_EQ(E.GetABCText(), Base);
    EXPECT_FALSE(E.IsModified());
}

TEST(ReplaceText, PositionsCountOneUnitPerLineBreak) {
    TKoABCSynRichEdit E(nullptr, nullptr);
    E.LoadText(u".Voice\r\n1 2 3\r\n4 5\r\n");
    EXPECT_EQ(E.GetABCText(), u".Voice\r1 2 3\r4 5\r");
    E.Compile();
    // The scanner's position of "4" is a position of the control too.
    const int32_t Pos = int32_t(E.GetABCText().find(u'4'));
    ASSERT_TRUE(E.ReplaceText(Item(Pos, 1, u"7")));
    EXPECT_EQ(E.document()->findBlockByNumber(2).text(), QStringLiteral("7 5"));
}

// The editor keeps its own copy of the text; whatever changed the control, the copy reads as
// the control does.
TEST(ReplaceText, KeptTextFollowsEveryChangeOfTheControl) {
    TKoABCSynRichEdit E(nullptr, nullptr);
    auto ControlText = [&] {
        std::u16string T = E.document()->toPlainText().toStdU16String();
        for (char16_t& C : T)
            if (C == u'\n') C = u'\r';
        return T;
    };
    auto Type = [&](int APos, const QString& AText) {
        QTextCursor C(E.document());
        C.setPosition(APos);
        C.insertText(AText);
    };
    struct {
        const char* Name;
        std::function<void()> Change;
    } const Steps[] = {
        {"load", [&] { E.LoadText(u".Voice\r\n1 2 3\r\n4 5\r\n"); }},
        {"breaks of every kind", [&] { E.ReplaceText(Item(7, 0, u"a\rb\nc\r\nd")); }},
        {"characters the control reads as breaks or spaces",
         [&] { E.ReplaceText(Item(2, 1, u"x\u2028y\u2029z\u00A0w\uFDD0v\uFDD1u")); }},
        {"typed in the control", [&] { Type(4, QStringLiteral("typed\n")); }},
        {"an edit after typing", [&] { E.ReplaceText(Item(0, 3, u"6")); }},
        {"the control's undo", [&] { E.document()->undo(); }},
        {"the control's redo", [&] { E.document()->redo(); }},
        {"the whole text", [&] { E.ReplaceAllText(u"1\r\n2"); }},
        {"two items at once",
         [&] {
             E.ReplaceText(Items({Item(0, 1, u"3"), Item(2, 1, u"\n")}));
         }},
    };
    for (const auto& S : Steps) {
        S.Change();
        EXPECT_EQ(E.GetABCText(), ControlText()) << S.Name;
        EXPECT_EQ(E.GetTextLength(), int32_t(E.GetABCText().size())) << S.Name;
    }
    // The last steps are what the copy says.
    EXPECT_EQ(E.GetABCText(), u"3\r\r");
}

TEST(TextTools, CommentToggleAndBlankLines) {
    const std::u16string T = u"a\r//b\rc";
    std::u16string R = T;
    ASSERT_TRUE(Nuo4ApplyReplaceItems(R, Nuo4ToggleLineComments(T, 0, 4)));
    EXPECT_EQ(R, u"//a\r////b\rc");  // not all commented: "//" put on each line
    std::u16string R2 = R;
    ASSERT_TRUE(Nuo4ApplyReplaceItems(R2, Nuo4ToggleLineComments(R, 0, 6)));
    EXPECT_EQ(R2, u"a\r//b\rc");  // all commented: one "//" taken off each
    std::u16string B = u"x\r\r \r\r\t\r\ry\r\r\rz";
    ASSERT_TRUE(Nuo4ApplyReplaceItems(B, Nuo4RemoveContinueBlankLines(B)));
    EXPECT_EQ(B, u"x\r\r \ry\r\r\rz");
}

TEST(SyntaxColours, TokensOfTheVoiceAndComments) {
    const std::u16string T = u".Voice\r1_ | 5 // end\r";
    TNuo4ABCBuffer A(T);
    const TrecNuo4SyntaxSpans S = Nuo4CollectSyntaxSpans(A);
    auto StyleAt = [&](int32_t P) {
        TrecNuo4SyntaxStyle R{Nuo4SyntaxDefaultColor};
        for (const auto& Sp : Nuo4SyntaxSpansIn(S, P, 1)) R = Sp.Style;
        return R;
    };
    EXPECT_EQ(StyleAt(0), (TrecNuo4SyntaxStyle{0x000080, true}));  // section name, navy bold
    EXPECT_EQ(StyleAt(7), (TrecNuo4SyntaxStyle{0x0000FF, true}));  // pitch, blue bold
    EXPECT_EQ(StyleAt(8), (TrecNuo4SyntaxStyle{0xA6CAF0, true}));  // duration, light blue bold
    EXPECT_EQ(StyleAt(10).Color, 0xFF00FFu);                       // bar line, fuchsia
    EXPECT_EQ(StyleAt(16), (TrecNuo4SyntaxStyle{0x008000, false, true}));  // comment
}

TEST(CompileChecks, StatusOutOfRangeIsCleared) {
    TKoABCSynRichEdit E(nullptr, nullptr);
    E.LoadText(u".Voice\r1 2 3 4\r");
    E.SetCompiled(false);
    TrecNuo4SimpleBufferInternalStatus& S = E.SimpleBuffer()->InternalStatus;
    S.Selection.CaretPos_Start = S.Selection.CaretPos_End = {3, true};
    S.Highlight.BasicIndex = 3;
    S.CurrPageIndexForPageMode = 0;
    S.WithinSymbolEditStatusInfo.bEnable = true;
    S.WithinSymbolEditStatusInfo.BufferIndex_NoteWithRighline =
        TrecNuo4SymbolBufferIndex::Create(sbtBasic, 3);
    // Two notes go: the carried status is checked against the new buffer.
    E.ReplaceText(Item(10, 4, u""));
    E.SetCompiled(true);
    const TrecNuo4SimpleBufferInternalStatus& N = E.SimpleBuffer()->InternalStatus;
    EXPECT_EQ(E.SimpleBuffer()->Basic_GetCount(), 2);
    EXPECT_TRUE(N.Highlight.IsEmpty());
    EXPECT_FALSE(N.WithinSymbolEditStatusInfo.bEnable);
    EXPECT_EQ(N.Selection.CaretPos_End, (TrecNuo4CaretPos_Index{1, true}));
    EXPECT_TRUE(E.isReadOnly());
    // A highlight that still exists survives the compile.
    E.SimpleBuffer()->InternalStatus.Highlight.BasicIndex = 1;
    E.SetCompiled(false);
    EXPECT_EQ(E.SimpleBuffer()->InternalStatus.Highlight.BasicIndex, 1);
    EXPECT_FALSE(E.isReadOnly());
}

}  // namespace
}  // namespace nuo4
