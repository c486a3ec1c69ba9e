// Requests inside a temporary voice: every answer is a set of replacements of the voice text
// (never of the score), read from what the voice text says, and refused where nothing changes.
#include <cmath>
#include <functional>

#include "edit/edit_branch.h"
#include "edit_test_support.h"
#include "format/doc_options.h"
#include "layout/branch_data.h"
#include "layout/buffer_text_pos.h"
#include "render/note_symbol.h"

using namespace nuo4;
using namespace nuo4::test;

namespace {

class BranchEdit : public EditTest {
  public:
    void TearDown() override { Nuo4DocOptions().SetToDefault(); }

    static std::unique_ptr<TrecNuo4AttachBranchData> Voice(const std::string& AVoice) {
        TrecNuo4SymbolAttachBranch R;
        R.SetABCText_Voice(U16(AVoice));
        R.InitMeter.Initialize(4, 4);
        return TrecNuo4AttachBranchData::Create(R);
    }
    // The voice text after the answer.
    static std::string After(const TrecNuo4AttachBranchData& D,
                             const TNuo4ABCTextReplaceItems& AItems) {
        std::u16string T = D.ABCText_Voice;
        EXPECT_TRUE(ApplyTextReplaceItems(T, AItems));
        return U8(T);
    }
};

TrecNuo4Pitch P(int32_t ADigit, int32_t AOctave = 0) {
    TrecNuo4Pitch R;
    R.Initialize_ToNormalPitch(ADigit, AOctave, 0);
    return R;
}

using TRequest = std::function<bool(const TrecNuo4AttachBranchData&, TNuo4ABCTextReplaceItems&)>;

}  // namespace

TEST_F(BranchEdit, RequestsRewriteTheVoiceText) {
    TRightLineSpacingCoefArray Gaps{};
    Gaps[0] = 1.25f;
    Gaps[1] = 1.5f;
    TrecNuo4SymbolControlOptions Hidden;
    Hidden.HideLevel = shlAll;
    const struct {
        const char* Voice;
        TRequest Request;
        const char* Expected;  // nullptr: refused
    } Cases[] = {
        // Advances set outright: the existing group is rewritten, its hide level kept.
        {"1 2 3", [](auto& D, auto& I) { return CanChangeAWCoef(D, 1, 1.5, I); }, "1 2{C:1.500} 3"},
        {"1 2{C:1.500,None} 3", [](auto& D, auto& I) { return CanChangeAWCoef(D, 1, 2.0, I); },
         "1 2{C:2.000,None} 3"},
        {"1 2{C:1.500} 3", [](auto& D, auto& I) { return CanChangeAWCoef(D, 1, 1.5, I); }, nullptr},
        {"1 2", [](auto& D, auto& I) { return CanChangeAWCoef(D, 1, -1.0, I); }, nullptr},
        {"1 2", [](auto& D, auto& I) { return CanChangeAWCoef(D, 2, 1.0, I); }, nullptr},
        {"1-- 2",
         [&](auto& D, auto& I) { return CanChangeAWCoefAndRightlineSpacingCoef(D, 0, 3, Gaps, I); },
         "1--{C:3.000(1.250,1.500,0,0,0,0,0)} 2"},
        // Advances by an action, from what the text says.
        {"1{C:1.500} 2",
         [](auto& D, auto& I) { return CanChangeAWCoef(D, 0, nicaAWCoef_Delta, 0.5, I); },
         "1{C:2.000} 2"},
        {"1{C:1.500} 2",
         [](auto& D, auto& I) { return CanChangeAWCoef(D, 0, nicaAWCoef_Zoom, 2, I); },
         "1{C:3.000} 2"},
        {"1{C:1.500} 2",
         [](auto& D, auto& I) { return CanChangeAWCoef(D, 0, nicaAWCoef_Delta, -5, I); },
         "1{C:0.010} 2"},
        {"1{C:1.500,None} 2",
         [](auto& D, auto& I) { return CanChangeAWCoef(D, 0, nicaAWCoef_Unlock, 0, I); },
         "1{C:0,None} 2"},
        {"1 2",  // the last symbol has no next one to take a grid from
         [](auto& D, auto& I) { return CanChangeAWCoef(D, 1, nicaAWCoef_SetToNextGrid, 0, I); },
         nullptr},
        // Control options, pitches and transposition.
        {"1 | 2", [&](auto& D, auto& I) { return CanChangeControlOptions(D, 1, Hidden, I); },
         "1 |{C:0,None} 2"},
        {"1 2_ 3", [](auto& D, auto& I) { return CanChangeNote_Pitch(D, 1, P(5, 1), I); },
         "1 5g_ 3"},
        {"1 | 2", [](auto& D, auto& I) { return CanChangeNote_Pitch(D, 1, P(5), I); }, nullptr},
        {"1 2",
         [](auto& D, auto& I) {
             return CanChangeNote_Pitches(D, 0, {P(1), P(3)}, I);
         },
         "[13] 2"},
        {"(1 2) 3", [](auto& D, auto& I) { return CanTranspose(D, 1, 2, false, I); }, "(1 4) 3"},
        {"1 0 | 5",
         [](auto& D, auto& I) { return CanTranspose_Range(D, TKoRange(0, 4), 12, true, I); },
         "1g 0 | 5g"},
        {"0 |", [](auto& D, auto& I) { return CanTranspose_Range(D, TKoRange(0, 2), 1, true, I); },
         nullptr},
    };
    for (const auto& C : Cases) {
        const auto D = Voice(C.Voice);
        ASSERT_TRUE(D) << C.Voice;
        TNuo4ABCTextReplaceItems It;
        const bool bOk = C.Request(*D, It);
        if (!C.Expected) {
            EXPECT_FALSE(bOk) << C.Voice;
            EXPECT_TRUE(It.empty()) << C.Voice;
            continue;
        }
        ASSERT_TRUE(bOk) << C.Voice << " -> " << C.Expected;
        EXPECT_EQ(After(*D, It), C.Expected) << C.Voice;
    }
}

TEST_F(BranchEdit, DashSpacingMovesTheAdvanceWithTheDash) {
    const double Step = Spacing_GridStep();
    const char* const Locked = "1--{C:3.500(1.000,1.000,0,0,0,0,0)} 2";
    struct {
        TNuo4InlineChangeAction_AWCoef Action;
        int32_t Dash;
        bool bOk;
        double Gap0, Advance;
    } Cases[] = {
        {nicaAWCoef_Increase_Large, 0, true, 1 + Step, 3.5 + Step},
        {nicaAWCoef_Increase_Small, 1, true, 1, 3.5 + Step / 5},
        {nicaAWCoef_Increase_Small, 2, true, 1, 3.5 + Step / 5},  // past the dashes: the advance
        {nicaAWCoef_Decrease_Large, 0, false, 0, 0},              // a gap is never below one digit
        {nicaAWCoef_Delta, 0, false, 0, 0},  // no delta inside a temporary voice
        {nicaAWCoef_Increase_Small, -1, false, 0, 0},
    };
    // Past the dashes the advance never comes closer than one digit after the last dash.
    {
        const auto D = Voice("1--{C:2.500(1.000,1.000,0,0,0,0,0)} 2");
        TNuo4ABCTextReplaceItems It;
        ASSERT_TRUE(CanAdjustRightlineSpacingCoef(*D, nicaAWCoef_Increase_Small, 0, 2, 0, It));
        EXPECT_NEAR(Voice(After(*D, It))->Buffer().Basic_GetSymbol(0)->AWCoef(), 3, 0.002);
    }
    for (const auto& C : Cases) {
        const auto D = Voice(Locked);
        TNuo4ABCTextReplaceItems It;
        const bool bOk = CanAdjustRightlineSpacingCoef(*D, C.Action, 0, C.Dash, 7.0, It);
        ASSERT_EQ(bOk, C.bOk) << C.Action << "/" << C.Dash;
        if (!bOk) continue;
        // The answer, laid out again, gives the note its new gap and advance.
        const auto D2 = Voice(After(*D, It));
        const TNuo4SymbolNote* N = D2->Buffer().Basic_GetSymbolNote(0);
        ASSERT_TRUE(N);
        EXPECT_NEAR(N->GetRightLineSpacingCoefArray()[0], C.Gap0, 0.002) << C.Action;
        EXPECT_NEAR(N->AWCoef(), C.Advance, 0.002) << C.Action;
    }
    // Only notes with dashes.
    const auto D = Voice("1 2");
    TNuo4ABCTextReplaceItems It;
    EXPECT_FALSE(CanAdjustRightlineSpacingCoef(*D, nicaAWCoef_Increase_Large, 0, 0, 0, It));
}

TEST_F(BranchEdit, TextRangesArePositionsOfTheVoiceText) {
    const auto D = Voice("1 2_{C:1.500} | 3");
    const TNuo4SimpleBuffer& B = D->Buffer();
    EXPECT_EQ(GetABCTextRangeFromBasicIndex(B, 1, true), TKoRange(2, 11));
    EXPECT_EQ(GetABCTextRangeForAllSymbol_ControlOptions(B, 1), TKoRange(4, 9));
    EXPECT_EQ(GetABCTextRangeForNote_Pitches(B, 1), TKoRange(2, 1));
    EXPECT_EQ(GetABCTextRangeForNote_Duration(B, 1), TKoRange(3, 1));
    EXPECT_EQ(GetABCTextRangeFromBasicIndex(B, 2, true), TKoRange(14, 1));
    EXPECT_EQ(GetABCTextRangeForNote_Pitches(B, 3), TKoRange(16, 1));
    EXPECT_EQ(GetABCTextRangeForNote_Pitches(B, 2), TKoRange::Invalid());
}

TEST_F(BranchEdit, AnswersMoveIntoTheScoreTextInsideTheBraces) {
    Build("1 2 3 4 |",
          "Branch@1,2(0,-3) = False, 4, 4, 0, {5 6-- 7}, {}\r"
          "Text@@1(0,-2.5) = AttachText1, x");
    int32_t Branch = -1, Text = -1;
    for (int32_t A = 0; A < FBuf->Attach_GetCount(); ++A)
        (FBuf->Attach_IsAttachBranch(A) ? Branch : Text) = A;
    const TrecNuo4AttachBranchData* D = Branch_GetData(*FBuf, Branch);
    ASSERT_TRUE(D);
    EXPECT_FALSE(Branch_GetData(*FBuf, Text));
    TNuo4ABCTextReplaceItems Voice, Score;
    ASSERT_TRUE(CanTranspose_Range(*D, TKoRange(0, 2), 1, false, Voice));
    ASSERT_TRUE(CanChangeAWCoef(*D, 2, 1.25, Score));
    VoiceEdit_AddItems(Voice, Score);
    ASSERT_TRUE(Branch_ItemsToScoreText(*FBuf, Branch, Voice, Score));
    EXPECT_EQ(Attachments(Score),
              "Branch@1,2(0,-3) = False, 4, 4, 0, {6 7-- 7{C:1.250}}, {}|"
              "Text@@1(0,-2.5) = AttachText1, x");
    // Items that do not fit the voice text, or another kind of attachment, give nothing.
    TrecNuo4ABCTextReplaceItem Past;
    Past.Initialize(TKoRange(6, 5), u"x");
    TNuo4ABCTextReplaceItems Outside;
    Outside.push_back(Past);
    EXPECT_FALSE(Branch_ItemsToScoreText(*FBuf, Branch, Outside, Score));
    EXPECT_TRUE(Score.empty());
    EXPECT_FALSE(Branch_ItemsToScoreText(*FBuf, Text, Voice, Score));
}

TEST_F(BranchEdit, GridActionsPutTheNextElementOnAGridLine) {
    const double Step = Spacing_GridStep();
    auto OnGrid = [&](double X) {
        const double R = std::fmod(X, Step);
        return std::min(R, Step - R) < 0.002;
    };
    for (TNuo4InlineChangeAction_AWCoef A : {nicaAWCoef_SetToNextGrid, nicaAWCoef_SetToPrevGrid}) {
        // The advance of symbol 0 brings symbol 1 onto a grid line of the voice.
        auto D = Voice("1 2 3");
        const double Before = D->Buffer().Basic_GetSymbol(1)->Pos().x();
        TNuo4ABCTextReplaceItems It;
        ASSERT_TRUE(CanChangeAWCoef(*D, 0, A, 0, It)) << int(A);
        auto D2 = Voice(After(*D, It));
        const double X = D2->Buffer().Basic_GetSymbol(1)->Pos().x();
        EXPECT_TRUE(OnGrid(X)) << int(A) << ": " << X;
        EXPECT_EQ(X > Before, A == nicaAWCoef_SetToNextGrid) << int(A);
        // The gap before the second dash puts that dash on a grid line.
        D = Voice("1-- 2");
        ASSERT_TRUE(CanAdjustRightlineSpacingCoef(*D, A, 0, 1, 0, It)) << int(A);
        D2 = Voice(After(*D, It));
        const TNuo4SymbolNote* N = D2->Buffer().Basic_GetSymbolNote(0);
        const double DashX = N->Pos().x() + N->GetRightlineRect(1).left();
        EXPECT_TRUE(OnGrid(DashX)) << int(A) << ": " << DashX;
    }
}

TEST_F(BranchEdit, SpacingAtAPositionChangesTheElementBeforeTheGap) {
    Build("1 2 3 4 |", "Branch@1,2(0,-3) = False, 4, 4, 0, {5 6-- 7}, {}");
    int32_t A = 0;
    while (!FBuf->Attach_IsAttachBranch(A)) ++A;
    const int32_t Brace = int32_t(Applied({}).find(u"{5 6--"));
    // Positions: after 5 (its advance), after the digit 6 and after its first dash (the gaps
    // before its dashes), after its last dash (its advance past them). The effect on the gaps
    // is DashSpacingMovesTheAdvanceWithTheDash's; here: which symbol's options are written.
    const struct {
        int32_t Pos;
        int32_t VoicePos;  // where the options are written; -1: refused
    } Cases[] = {{0, 1}, {1, 5}, {2, 5}, {3, 5}, {5, -1}, {-1, -1}};
    for (const auto& C : Cases) {
        TNuo4ABCTextReplaceItems It;
        const bool bOk = CanEditAttachBranch_AdjustSymbolSpacing(*FBuf, A, C.Pos,
                                                                 nicaAWCoef_Increase_Large, 0, It);
        ASSERT_EQ(bOk, C.VoicePos >= 0) << C.Pos;
        if (!bOk) continue;
        ASSERT_EQ(It.size(), 1u);
        EXPECT_EQ(It[0].TextRange.StartIndex, Brace + 1 + C.VoicePos) << C.Pos;
    }
    // The gap after the digit is the first dash's: only it and the advance grow.
    TNuo4ABCTextReplaceItems It;
    ASSERT_TRUE(
        CanEditAttachBranch_AdjustSymbolSpacing(*FBuf, A, 1, nicaAWCoef_Increase_Large, 0, It));
    const TRightLineSpacingCoefArray Gaps =
        Branch_GetData(*FBuf, A)->Buffer().Basic_GetSymbolNote(1)->GetRightLineSpacingCoefArray();
    BuildText(Applied(It));
    const auto* New = Branch_GetData(*FBuf, A)->Buffer().Basic_GetSymbolNote(1);
    EXPECT_NEAR(New->GetRightLineSpacingCoefArray()[0], Gaps[0] + Spacing_GridStep(), 0.002);
    EXPECT_NEAR(New->GetRightLineSpacingCoefArray()[1], Gaps[1], 0.002);
}
