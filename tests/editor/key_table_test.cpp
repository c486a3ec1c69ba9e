// The key table typed through the headless host: every kind of row gives its edit on a small
// score, in both letter-key layouts, with the counter rules and the Enter question.
#include <gtest/gtest.h>

#include "editor/key_host.h"
#include "editor_test_support.h"

namespace nuo4 {
namespace {

// The voice after typing AKeys (names of the typing notation) into ".Voice  $ " with the caret
// at the start; the questions asked are counted.
struct TTyped {
    std::u16string Voice;
    int Questions = 0;
    QStringList Messages;
};

TTyped TypeKeys(const char* AVoice, const char* AKeys, TrecNuo4KeyOptions AOptions = {},
                bool bCancel = false, bool bAutoBarline = false) {
    TNuo4HeadlessEditorHost H(u".Voice\r\n" + QString::fromUtf8(AVoice).toStdU16String() + u"\r\n");
    H.Options = AOptions;
    H.bAutoBarline = bAutoBarline;
    H.Answer = [&](const QString& Q) {
        EXPECT_EQ(Q.toStdU16String(), Nuo4ReturnSplitQuestion);
        return !bCancel;
    };
    H.Chooser = [](const QStringList&, int32_t) { return 0; };  // the first item
    Nuo4ConsecutiveNoteCount() = 0;
    for (const QString& N : QString::fromUtf8(AKeys).split(' ', Qt::SkipEmptyParts)) {
        TrecNuo4PhysicalKey K;
        QString Error;
        EXPECT_TRUE(Nuo4ParseKeyName(N, K, Error)) << Error.toStdString();
        H.Type(K);
    }
    TTyped R;
    R.Voice = H.Text().substr(8);  // after ".Voice\r "
    R.Questions = int(H.Questions.size());
    R.Messages = H.Messages;
    return R;
}

TEST(KeyTable, EveryKindOfRowTypesItsEdit) {
    const TrecNuo4KeyOptions Four{true, false, true};
    struct {
        const char* Voice;
        const char* Keys;
        TrecNuo4KeyOptions Options;
        const char16_t* Expected;
    } const Rows[] = {
        // Note keys of the three-octave layout, then of the four-octave layout.
        {" $ ", "1 2 3 0", {}, u"1230 $ "},
        {" $ ", "q a z", {}, u"1g11d $ "},
        {" $ ", "q a z 1", Four, u"11d1dd1g $ "},
        // The keypad and Alt: 5 6 down, 1 2 up, 3 up, rest, Alt+/ 5 up, Alt+Left 1 down.
        {" $ ", "KP0 KP. KP8 KP9 KP+ KP* Alt+KP/ Alt+Left", {}, u"5d6d1g2g3g05g1d $ "},
        {" $ ", "K Shift+X", {}, u"0x\\x0058 $ "},
        // Chord pitches with Ctrl+Shift; the chord keys.
        {" $ ", "1 Ctrl+Shift+3", {}, u"[13] $ "},
        {" $ ", "1 Shift+PgUp", {}, u"[13] $ "},
        {" $ ", "1 Shift+PgUp Shift+PgDown", {}, u"1 $ "},
        // Dashes, underlines, dots, octaves, transposition, durations.
        {" $ ", "1 -", {}, u"1- $ "},
        {" $ ", "1 L", {}, u"1- $ "},
        {" $ ", "1 Shift+-", {}, u"1_ $ "},
        {" $ ", "1 .", {}, u"1. $ "},
        {" $ ", "1 `", {}, u"1g $ "},
        {" $ ", "1 Shift+`", {}, u"1d $ "},
        {" $ ", "1 Ctrl+Up", {}, u"2 $ "},
        {" $ ", "1 Ctrl+Right", {}, u"1. $ "},
        // Bar lines, accompaniment markers, meters, arcs, articulations.
        {" $ ", "1 ;", {}, u"1 |  $ "},
        {" $ ", "1 \\", {}, u"1 |  $ "},
        {" $ ", "1 ( 2 )", {}, u"1 (  2 )  $ "},
        {" $ ", "Ctrl+3 1", {}, u" 3/4  1 $ "},
        {" $ ", "1 2 Shift+Left Shift+Left F4", {}, u"(12) $ "},
        {" $ ", "1 F7", {}, u"{BoYin}1 $ "},
        // Selections, deletions, rests over a selection, select all.
        {" $ ", "1 2 Shift+Left Shift+Left 0", {}, u"00 $ "},
        {" $ ", "1 2 Backspace", {}, u"1 $ "},
        {" $ ", "1 2 Left Delete", {}, u"1 $ "},
        {" $ ", "1 2 3 Ctrl+A 0", {}, u"000 $ "},
        // Returns and page breaks.
        {" $ ", "1 2 Left Enter", {}, u"1 $ \r2 $ "},
        {" $ ", "1 2 Ctrl+Enter", {}, u"12 $(False,0.00,1.00,True) \r $ "},
        // The duration menu and the beam-group menu, first item chosen.
        {" $ ", "1 Tab", {}, u"1___ $ "},
        {" $ ", "1 1 Space", {}, u"1_1_ $ "},
        // Undo and redo.
        {" $ ", "1 2 Ctrl+Z", {}, u"1 $ "},
        {" $ ", "1 2 Ctrl+Z Ctrl+Shift+Z", {}, u"12 $ "},
        // Extend mode takes no note keys; F1 goes there and back.
        {" $ ", "F1 1 F1 2", {}, u"2 $ "},
    };
    for (const auto& R : Rows) {
        const TTyped T = TypeKeys(R.Voice, R.Keys, R.Options);
        EXPECT_EQ(T.Voice, std::u16string(R.Expected) + u"\r") << R.Keys;
    }
}

TEST(KeyTable, QtKeysBecomeTheirPhysicalKeys) {
    struct {
        int QtKey;
        Qt::KeyboardModifiers Mods;
        quint32 ScanCode;
        TNuo4EditorCommand Command;
        int32_t Param, Param2;
    } const Rows[] = {
        {Qt::Key_ParenLeft, Qt::ShiftModifier, 0, ecAccompMarker, 0, 0},
        {Qt::Key_ParenRight, Qt::ShiftModifier, 19, ecAccompMarker, 1, 0},
        {Qt::Key_Underscore, Qt::ShiftModifier, 0, ecToggleUnderline, 0, 0},
        {Qt::Key_Exclam, Qt::ControlModifier | Qt::ShiftModifier, 0, ecChordPitch, 1, 0},
        {Qt::Key_AsciiTilde, Qt::ShiftModifier, 49, ecOctave, 1, 0},
        // A German layout's Shift+7 is "/": the key code still names the 7 key.
        {Qt::Key_Slash, Qt::ControlModifier | Qt::ShiftModifier, 16, ecChordPitch, 7, 0},
        {Qt::Key_Colon, Qt::ShiftModifier, 0, ecNone, 0, 0},
        {Qt::Key_Bar, Qt::ShiftModifier, 0, ecInsertBarline, 0, 0},
        // Keypad keys, with and without NumLock; the main-block digit is another key.
        {Qt::Key_0, Qt::KeypadModifier, 0, ecInsertNote, 5, -1},
        {Qt::Key_Insert, Qt::KeypadModifier, 0, ecInsertNote, 5, -1},
        {Qt::Key_0, Qt::NoModifier, 0, ecInsertNote, 0, 0},
        {Qt::Key_Minus, Qt::KeypadModifier, 0, ecToggleDash, 0, 0},
        {Qt::Key_Slash, Qt::KeypadModifier, 0, ecInsertBarline, 0, 0},
        {Qt::Key_Slash, Qt::NoModifier, 0, ecNone, 0, 0},
        {Qt::Key_Minus, Qt::KeypadModifier | Qt::AltModifier, 0, ecInsertNote, 7, 1},
        // Exact modifiers: Ctrl+Shift+0 is not Ctrl+0.
        {Qt::Key_ParenRight, Qt::ControlModifier | Qt::ShiftModifier, 0, ecNone, 0, 0},
        {Qt::Key_0, Qt::ControlModifier, 0, ecMeter, 0, 4},
    };
    for (const auto& R : Rows) {
        const TrecNuo4PhysicalKey K = Nuo4PhysicalKeyOf(R.QtKey, R.Mods, R.ScanCode);
        const TrecNuo4KeyTableItem* I = Nuo4FindKeyRow(emStandard, K, TrecNuo4KeyOptions());
        const TrecNuo4KeyCommand C = I ? I->Command : TrecNuo4KeyCommand();
        EXPECT_EQ(EnumName(C.Command), std::string(EnumName(R.Command))) << R.QtKey;
        EXPECT_EQ(C.Param, R.Param) << R.QtKey;
        EXPECT_EQ(C.Param2, R.Param2) << R.QtKey;
    }
}

TEST(KeyTable, EnterAsksOnlyWhereAReturnWouldSplitAMeasure) {
    struct {
        const char* Keys;
        bool bCancel;
        int Questions;
        const char16_t* Expected;
    } const Rows[] = {
        {"1 2 Left Enter", false, 1, u"1 $ \r2 $ "},  // inside a measure
        {"1 2 Left Enter", true, 1, u"12 $ "},        // Cancel: nothing changes
        {"1 2 Enter", false, 0, u"12 $ \r $ "},       // just left of the line's return
        {"1 2 Home End Enter", false, 0, u"12 $ \r $ "},
        {"1 2 Home Enter", false, 0, u" $ \r12 $ "},        // line start
        {"1 ; 2 Left Enter", false, 0, u"1 |   $ \r2 $ "},  // right of a bar line
    };
    for (const auto& R : Rows) {
        const TTyped T = TypeKeys(" $ ", R.Keys, {}, R.bCancel);
        EXPECT_EQ(T.Questions, R.Questions) << R.Keys;
        EXPECT_EQ(T.Voice, std::u16string(R.Expected) + u"\r") << R.Keys;
    }
}

TEST(KeyTable, SpaceResetsTheNoteCounterAndAnAutomaticBarlineSetsItToOne) {
    const TrecNuo4KeyOptions TabBeams{false, true, true};
    TypeKeys(" $ ", "1 2 3", TabBeams);
    EXPECT_EQ(Nuo4ConsecutiveNoteCount(), 3);
    TypeKeys(" $ ", "1 2 3 Space", TabBeams);
    EXPECT_EQ(Nuo4ConsecutiveNoteCount(), 0);
    TypeKeys(" $ ", "1 2 3 Space", {});  // Space as the beam-group key resets it too
    EXPECT_EQ(Nuo4ConsecutiveNoteCount(), 0);
    // With the counter at 0 and the measure full, the next note brings its bar line along.
    const TTyped T = TypeKeys(" $ ", "Ctrl+2 1 2 Space 3", TabBeams, false, true);
    EXPECT_EQ(Nuo4ConsecutiveNoteCount(), 1);
    EXPECT_NE(T.Voice.find(u'|'), std::u16string::npos);
}

// Shift+F4 braces and aligns the caret's page only in layout mode: the two lines get a brace
// item and the paragraph indent; elsewhere the key leaves the text alone.
TEST(KeyTable, ShiftF4BracesTheLinesOfThePageInLayoutModeOnly) {
    const char* Voice = " 1 2 | 3 4 $ \r 5 6 7 | 1 $ ";
    const std::u16string Before = TypeKeys(Voice, "").Voice;
    EXPECT_EQ(TypeKeys(Voice, "Shift+F4").Voice, Before);
    const TTyped T = TypeKeys(Voice, "Ctrl+F4 Shift+F4");
    EXPECT_NE(T.Voice.find(u"Brace@"), std::u16string::npos)
        << QString::fromStdU16String(T.Voice).toStdString();
    EXPECT_NE(T.Voice, Before);
}

TEST(KeyTable, UnbuiltCommandsSayGoAndPopupHotKeysFollowTheMenuOrder) {
    EXPECT_EQ(TypeKeys(" $ ", "F5").Messages.size(), 1);
    EXPECT_EQ(TypeKeys(" $ ", "Ctrl+C").Messages.size(), 1);
    struct {
        int32_t Index, Default;
        const char* Label;
    } const Rows[] = {{0, -1, "1"},  {8, -1, "9"}, {9, -1, "A"},
                      {34, -1, "Z"}, {35, -1, ""}, {3, 3, "空格"}};
    for (const auto& R : Rows)
        EXPECT_EQ(GetHotKeyStringFromMenuItemIndex(R.Index, R.Default).toStdString(), R.Label);
    TrecNuo4PhysicalKey K;
    QString Error;
    EXPECT_FALSE(Nuo4ParseKeyName(QStringLiteral("Spcae"), K, Error));
    EXPECT_FALSE(Nuo4ParseKeyName(QStringLiteral("Ctrl+"), K, Error));
}

}  // namespace
}  // namespace nuo4

namespace nuo4 {
namespace {

// The score view hands its key events to the same dispatcher: shifted characters as Qt reports
// them, the Enter question through the window, input methods off.
TEST(KeyTable, TheScoreViewTypesThroughTheDispatcher) {
    TEditorWindowFixture F;
    F.LoadVoice(QStringLiteral(" $ "));
    int Questions = 0;
    F.W->OkCancelSink = [&](const QString&) { return ++Questions, false; };
    QTest::keyClick(F.View(), Qt::Key_1);
    QTest::keyClick(F.View(), Qt::Key_ParenLeft, Qt::ShiftModifier);
    QTest::keyClick(F.View(), Qt::Key_2);
    QTest::keyClick(F.View(), Qt::Key_Underscore, Qt::ShiftModifier);
    QTest::keyClick(F.View(), Qt::Key_Left);
    QTest::keyClick(F.View(), Qt::Key_Return);  // inside the measure: asked, cancelled
    EXPECT_EQ(Questions, 1);
    EXPECT_NE(F.Text().find(u"1 (  2_ $ "), std::u16string::npos);
    EXPECT_FALSE(F.View()->testAttribute(Qt::WA_InputMethodEnabled));
}

}  // namespace
}  // namespace nuo4
