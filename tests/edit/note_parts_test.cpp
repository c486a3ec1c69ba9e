// One note's sub-parts, chords and transposition: each request rewrites exactly the tokens of
// the part it changes and leaves arc marks, articulations and grace groups where they stand.
#include "edit_test_support.h"

using namespace nuo4;
using namespace nuo4::test;

namespace {

class NoteParts : public EditTest {};

struct TCase {
    const char* Voice;
    int32_t Index;
    int32_t Arg;
    const char* Expected;  // nullptr: refused
};

template <typename F>
void RunCases(EditTest& T, std::initializer_list<TCase> ACases, F ARequest) {
    for (const TCase& C : ACases) {
        T.Build(C.Voice);
        TNuo4ABCTextReplaceItems It;
        const bool bOk = ARequest(C, It);
        if (!C.Expected) {
            EXPECT_FALSE(bOk) << C.Voice << " / " << C.Arg;
            EXPECT_TRUE(It.empty());
            continue;
        }
        ASSERT_TRUE(bOk) << C.Voice << " / " << C.Arg;
        EXPECT_EQ(T.Voice(It), C.Expected) << C.Voice << " / " << C.Arg;
    }
}

TrecNuo4Pitch P(int32_t ADigit, int32_t AOctave = 0, int32_t AAccidental = 0) {
    TrecNuo4Pitch R;
    R.Initialize_ToNormalPitch(ADigit, AOctave, AAccidental);
    return R;
}

}  // namespace

TEST_F(NoteParts, DigitKeepsOctaveAndAccidentalButARestCarriesNeither) {
    RunCases(*this,
             {
                 {"#1g_ 2", 0, 5, "#5g_ 2"},
                 {"(#1g_ 2)", 0, 0, "(0_ 2)"},
                 {"[135]_ 2", 0, 2, "2_ 2"},
                 {"0 2", 0, 3, "3 2"},
                 {"1 | 2", 1, 3, nullptr},
                 {"1 2", 0, 8, nullptr},
             },
             [&](const TCase& C, TNuo4ABCTextReplaceItems& It) {
                 return CanChangeNote_Digit(*FBuf, C.Index, C.Arg, It);
             });
}

TEST_F(NoteParts, RestKeyTurnsEverySelectedNoteIntoARest) {
    Build("1 #2 | 3g_ 4");
    Select(0, 3);
    TrecNuo4EditResult R;
    ASSERT_TRUE(CanChangeNote_Digit_Selection(*FBuf, 0, R));
    EXPECT_EQ(Voice(R.Items), "0 0 | 0_ 4");
    EXPECT_TRUE(R.NewSelection.IsEmpty());
    // Other digits change a single selected symbol only.
    EXPECT_FALSE(CanChangeNote_Digit_Selection(*FBuf, 5, R));
    Select(1, 1);
    ASSERT_TRUE(CanChangeNote_Digit_Selection(*FBuf, 5, R));
    EXPECT_EQ(Voice(R.Items), "1 #5 | 3g_ 4");
}

TEST_F(NoteParts, DurationOfAQuarterIsWrittenDirectlyAfterThePitches) {
    RunCases(*this,
             {
                 {"(1{C:1.500}) 2", 0, sd8th, "(1_{C:1.500}) 2"},
                 {"[13]) 2", 0, sd16thDot, "[13]__.) 2"},
                 {"1_ 2", 0, sd4th, "1 2"},
                 {"1- 2", 0, sd2thDot, "1-- 2"},
                 {"1_ 2", 0, sd8th, nullptr},  // nothing changes
                 {"| 2", 0, sd8th, nullptr},
             },
             [&](const TCase& C, TNuo4ABCTextReplaceItems& It) {
                 return CanChangeNote_SetDuration(*FBuf, C.Index, TNuo4Duration(C.Arg), It);
             });
}

TEST_F(NoteParts, CaretTogglesOfDotDashAndUnderline) {
    Build("1 2_");
    TrecNuo4EditResult R;
    Caret(0, true);
    ASSERT_TRUE(CanChangeNote_ToggleRightDot_Caret(*FBuf, R));
    EXPECT_EQ(Voice(R.Items), "1. 2_");
    ASSERT_TRUE(CanChangeNote_ToggleRightLine_Caret(*FBuf, R));
    EXPECT_EQ(Voice(R.Items), "1- 2_");
    Caret(1, true);
    ASSERT_TRUE(CanChangeNote_ToggleUnderline_Caret(*FBuf, R));
    EXPECT_EQ(Voice(R.Items), "1 2__");
    EXPECT_TRUE(R.bWithSelection);
    Select(0, 1);
    EXPECT_FALSE(CanChangeNote_ToggleRightDot_Caret(*FBuf, R));
}

TEST_F(NoteParts, OctaveMovesEveryPitchAndRewritesOnlyThePitchTokens) {
    RunCases(*this,
             {
                 // The arc start between the grace group and the pitch stays.
                 {"{56}(5 6)", 0, 0, "{5g6g}(5g 6)"},
                 {"{DunYin}[13]_ 2", 0, 1, "{DunYin}[1d3d]_ 2"},
                 {"1ggg 2", 0, 0, nullptr},
                 {"0 2", 0, 0, nullptr},
             },
             [&](const TCase& C, TNuo4ABCTextReplaceItems& It) {
                 return CanChangeNote_Octave(*FBuf, C.Index, C.Arg != 0, It);
             });
    // The selection form changes every note that can move.
    Build("1 | 2ggg 3");
    Select(0, 3);
    TrecNuo4EditResult R;
    ASSERT_TRUE(CanChangeNote_Octave_Selection(*FBuf, false, R));
    EXPECT_EQ(Voice(R.Items), "1g | 2ggg 3g");
}

TEST_F(NoteParts, ChordPitchesAreAddedUpToEightAndTheLastOneStays) {
    RunCases(*this,
             {
                 {"1_ 2", 0, 3, "[13]_ 2"},
                 {"[135] 2", 0, 3, "[15] 2"},
                 {"1 2", 0, 1, nullptr},
                 {"[12345671g] 2", 0, 2, "[1345671g] 2"},
                 {"[12345671g] 2", 0, 8, nullptr},  // a ninth pitch
                 {"0 2", 0, 3, nullptr},
             },
             [&](const TCase& C, TNuo4ABCTextReplaceItems& It) {
                 const TrecNuo4Pitch Pitch = C.Arg == 8 ? P(2, 1) : P(C.Arg);
                 return CanChangeNote_AddOrRemoveChordPitch(*FBuf, C.Index, Pitch, It);
             });
}

TEST_F(NoteParts, ArticulationCycle) {
    RunCases(*this,
             {
                 {"(1 2)", 0, 0, "({BoYin}1 2)"},
                 {"{56}1 2", 0, 0, "{BoYin}{56}1 2"},
                 {"{BoYin}1 2", 0, 0, "{ZhongYin}1 2"},
                 {"{YanYin}1 2", 0, 0, "{ChanYin}1 2"},
                 {"{ChanYin}1 2", 0, 0, "1 2"},
                 {"{DunYin2}1 2", 0, 0, "1 2"},
                 {"{BoYin,DunYin}1 2", 0, 0, nullptr},
             },
             [&](const TCase& C, TNuo4ABCTextReplaceItems& It) {
                 return CanChangeNote_ToggleArticulation(*FBuf, C.Index, It);
             });
}

TEST_F(NoteParts, Chords) {
    RunCases(*this,
             {
                 {"[13]_ 2", 0, 0, "[135]_ 2"},
                 {"1 2", 0, 0, "[13] 2"},
                 {"0 2", 0, 0, nullptr},
             },
             [&](const TCase& C, TNuo4ABCTextReplaceItems& It) {
                 return CanChangeChord_AddNote_Natural3th(*FBuf, C.Index, It);
             });
    RunCases(*this,
             {
                 {"[13] 2", 0, 0, "[14] 2"},
                 {"[13] 2", 0, 1, "[1#2] 2"},
                 {"[#23] 2", 0, 1, nullptr},  // the result equals a chord pitch
                 {"3 2", 0, 1, nullptr},
             },
             [&](const TCase& C, TNuo4ABCTextReplaceItems& It) {
                 return CanChangeChord_AdjustHighestNote(*FBuf, C.Index, C.Arg != 0, It);
             });
    RunCases(*this,
             {
                 {"[135]_ 2", 0, 0, "[13]_ 2"},
                 {"1 2", 0, 0, nullptr},
             },
             [&](const TCase& C, TNuo4ABCTextReplaceItems& It) {
                 return CanChangeChord_DeleteHighestNote(*FBuf, C.Index, It);
             });
}

TEST_F(NoteParts, TranspositionMovesAWholeChordOrNone) {
    Build("1 [13ggg] 0 | 5");
    TNuo4ABCTextReplaceItems It;
    ASSERT_TRUE(CanTranspose_Range(*FBuf, TKoRange(0, 5), 12, true, It));
    EXPECT_EQ(Voice(It), "1g [13ggg] 0 | 5g");
    EXPECT_FALSE(CanTranspose(*FBuf, 1, 12, true, It));
    EXPECT_FALSE(CanTranspose(*FBuf, 2, 1, true, It));  // a rest
    ASSERT_TRUE(CanTranspose(*FBuf, 0, 1, false, It));  // one scale degree
    EXPECT_EQ(Voice(It), "2 [13ggg] 0 | 5");
    // Without a selection: the whole document, or the note at the caret.
    Caret(4, true);
    TrecNuo4EditResult R;
    ASSERT_TRUE(CanTranspose_SelectionOrCaret(*FBuf, -1, false, false, R));
    EXPECT_EQ(Voice(R.Items), "1 [13ggg] 0 | 4");
    ASSERT_TRUE(CanTranspose_SelectionOrCaret(*FBuf, -1, false, true, R));
    EXPECT_EQ(Voice(R.Items), "7d [7d2ggg] 0 | 4");
}
