// Durations of runs: underlines, beam groups with both cycle orders and the run finder, and
// tuplets made from typed quarters.
#include "edit_test_support.h"

using namespace nuo4;
using namespace nuo4::test;

namespace {

class Rhythm : public EditTest {};

TrecNuo4EditState Typed(int32_t ANotes, bool bOlder = false) {
    TrecNuo4EditState S;
    S.ConsecutiveNoteCount = ANotes;
    S.bUseOldDVGroupOrder = bOlder;
    return S;
}

}  // namespace

TEST_F(Rhythm, UnderlinesOfARun) {
    const char* Cases[][2] = {
        {"1 2 3", "1_ 2_ 3_"},
        {"1___ 2___ 3___", "1____ 2____ 3____"},
        {"1_ 2 3", "1 2 3"},  // mixed durations become quarters
        {"1- 2- 3-", "1 2 3"},
    };
    for (const auto& C : Cases) {
        Build(C[0]);
        TNuo4ABCTextReplaceItems It;
        ASSERT_TRUE(CanToggleUnderline_Range(*FBuf, TKoRange(0, 3), It)) << C[0];
        EXPECT_EQ(Voice(It), C[1]) << C[0];
    }
    Build("1 | 2");
    TNuo4ABCTextReplaceItems It;
    EXPECT_FALSE(CanToggleUnderline_Range(*FBuf, TKoRange(0, 3), It));
}

TEST_F(Rhythm, PatternTableCyclesWithinEachNoteCount) {
    // Every pattern's successors stay within its note count and beat kind and come back to it.
    for (int T = 1; T < Nuo4DVGroupTypeCount; ++T)
        for (bool bOlder : {false, true}) {
            const TNuo4DVGroupType Start = TNuo4DVGroupType(T);
            TNuo4DVGroupType X = Start;
            int Steps = 0;
            do {
                const TNuo4DVGroupType N = DVGroup_Next(X, bOlder);
                ASSERT_EQ(DVGroup_Durations(N).size(), DVGroup_Durations(Start).size());
                ASSERT_EQ(DVGroup_IsDotted(N), DVGroup_IsDotted(Start));
                X = N;
            } while (X != Start && ++Steps < 20);
            EXPECT_EQ(X, Start) << EnumName(Start);
        }
    // Each pattern fills one beat: a quarter for plain, a dotted quarter for dotted patterns.
    for (int T = 1; T < Nuo4DVGroupTypeCount; ++T) {
        double Sum = 0;
        for (TNuo4Duration D : DVGroup_Durations(TNuo4DVGroupType(T))) Sum += Duration_Beats(D);
        const TNuo4DVGroupType X = TNuo4DVGroupType(T);
        // The table's beat column: the two-note 8th patterns with a dotted quarter are plain
        // patterns of two beats.
        if (X == dvg_8th_3_1 || X == dvg_8th_1_3 || X == dvg_8th_1_2_1 || X == dvg_16th_6_1_1 ||
            X == dvg_16th_1_1_6 || X == dvg_16th_2_4_1_1 || X == dvg_16th_1_1_4_2 ||
            X == dvg_16th_1_1_4_1_1)
            EXPECT_DOUBLE_EQ(Sum, 2.0) << EnumName(X);
        else
            EXPECT_DOUBLE_EQ(Sum, DVGroup_IsDotted(X) ? 1.5 : 1.0) << EnumName(X);
    }
    EXPECT_EQ(DVGroup_Recognise(DVGroup_Durations(dvg_16th_1_1_1_1_1_1), true), dvg_None);
    EXPECT_EQ(DVGroup_Next(dvg_8th_1_1, false), dvg_16th_3_1);
    EXPECT_EQ(DVGroup_Next(dvg_8th_1_1, true), dvg_8th_3_1);
}

TEST_F(Rhythm, TypedQuartersBecomeABeamGroupAndCycle) {
    Build("2/4 1 2 3 4 $");
    Caret(4, true);
    TrecNuo4EditResult R;
    ASSERT_TRUE(CanToggleDVGroup_Caret(*FBuf, Typed(4), R));
    const std::string Once = Voice(R.Items);
    EXPECT_EQ(Once, "2/4 1__ 2__ 3__ 4__ $");
    EXPECT_EQ(R.NewSelection.CaretPos_End, (TrecNuo4CaretPos_Index{4, true}));
    // Toggling again finds the pattern and takes its successor (default and older order).
    Build(Once);
    Caret(4, true);
    ASSERT_TRUE(CanToggleDVGroup_Caret(*FBuf, Typed(0), R));
    EXPECT_EQ(Voice(R.Items), "2/4 1__. 2___ 3__ 4__ $");
    ASSERT_TRUE(CanToggleDVGroup_Caret(*FBuf, Typed(0, true), R));
    EXPECT_EQ(Voice(R.Items), "2/4 1_ 2 3__ 4__ $");
    // In 6/8 three typed quarters become three 8ths.
    Build("6/8 1 2 3 $");
    Caret(3, true);
    ASSERT_TRUE(CanToggleDVGroup_Caret(*FBuf, Typed(3), R));
    EXPECT_EQ(Voice(R.Items), "6/8 1_ 2_ 3_ $");
}

TEST_F(Rhythm, BeamGroupRefusals) {
    TrecNuo4EditResult R;
    Build("1 $");
    Caret(0, true);
    EXPECT_FALSE(CanToggleDVGroup_Caret(*FBuf, Typed(1), R));
    Build("1 2 3 4 5 6 7 $");
    Select(0, 6);
    EXPECT_FALSE(CanToggleDVGroup_Selection(*FBuf, Typed(7), R));
    Build("1 2 | 3 $");
    Select(0, 3);
    EXPECT_FALSE(CanToggleDVGroup_Selection(*FBuf, Typed(3), R));
    // A set pattern must have as many notes as the run.
    Build("1 2 $");
    Select(0, 1);
    EXPECT_FALSE(CanSetDVGroup_CaretOrSelection(*FBuf, Typed(2), dvg_16th_2_1_1, R));
    ASSERT_TRUE(CanSetDVGroup_CaretOrSelection(*FBuf, Typed(2), dvg_16th_3_1, R));
    EXPECT_EQ(Voice(R.Items), "1_. 2__ $");
}

TEST_F(Rhythm, BeamGroupMenuTextsCoverTheBlockOfTheRun) {
    Build("1 2 $");
    Caret(1, true);
    std::vector<std::u16string> Texts;
    TNuo4DVGroupType S, E;
    int32_t Item = 0;
    ASSERT_TRUE(
        GetABCTextArrayForDVGroup_CaretOrSelection(*FBuf, Typed(2), true, true, Texts, S, E, Item));
    EXPECT_EQ(S, dvg_8th_1_1);
    EXPECT_EQ(E, dvg_16th_1_3);
    ASSERT_EQ(Texts.size(), 5u);
    EXPECT_EQ(U8(Texts[0]), "1_2_");
    EXPECT_EQ(U8(Texts[2]), "1.2_");
    EXPECT_LT(Item, 0);  // two quarters are no pattern
}

TEST_F(Rhythm, TypedQuartersBecomeATuplet) {
    struct {
        const char* Voice;
        int32_t Caret, Typed;
        const char* Expected;
    } Cases[] = {
        {"1 2 3 $", 2, 3, "{(3}1_ 2_ 3_) $"},
        {"1 2 $", 1, 2, "{(2}1_ 2_) $"},
        // The arc end follows the new duration of a note that closes a slur too.
        {"(5 1 2) $", 2, 2, "(5 {(2}1_ 2_)) $"},
        {"1 2 3 4 $", 3, 4, "{(4}1__ 2__ 3__ 4__) $"},
    };
    for (const auto& C : Cases) {
        Build(C.Voice);
        Caret(C.Caret, true);
        TrecNuo4EditResult R;
        ASSERT_TRUE(CanAddTupletArc_Caret(*FBuf, Typed(C.Typed), R)) << C.Voice;
        EXPECT_EQ(Voice(R.Items), C.Expected) << C.Voice;
    }
    // The counter limits the run; an 8th stops it.
    Build("1 2 3 $");
    Caret(2, true);
    TrecNuo4EditResult R;
    EXPECT_FALSE(CanAddTupletArc_Caret(*FBuf, Typed(1), R));
    Build("1 2_ 3 $");
    Caret(2, true);
    EXPECT_FALSE(CanAddTupletArc_Caret(*FBuf, Typed(3), R));
}
