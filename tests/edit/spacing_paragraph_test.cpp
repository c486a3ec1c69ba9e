// Spacing and paragraph requests: the exact control-options and return texts they write, and
// what the rebuilt layout makes of them (locks keep positions, grid locks land on the grid,
// indents and justification reach their margins).
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

#include "edit/edit_apply.h"
#include "edit/edit_paragraph.h"
#include "edit/edit_spacing.h"
#include "format/doc_options.h"
#include "layout/simple_buffer.h"
#include "render/music_font.h"
#include "render/note_symbol.h"

using namespace nuo4;

namespace {

class Requests : public ::testing::Test {
  protected:
    void SetUp() override { Nuo4Render_Init(); }
    // The voice text starts at position 7, after ".Voice\r".
    TNuo4SimpleBuffer& Build(const std::u16string& AVoice) { return Rebuild(u".Voice\r" + AVoice); }
    TNuo4SimpleBuffer& Rebuild(const std::u16string& AText) {
        FBuf.reset();
        FABC = std::make_unique<TNuo4ABCBuffer>(AText);
        FBuf = std::make_unique<TNuo4SimpleBuffer>(FABC.get());
        return *FBuf;
    }
    std::u16string Voice() const { return FABC->ABCText().substr(7); }
    // Applies an answer and builds the new text.
    TNuo4SimpleBuffer& Apply(const TNuo4ABCTextReplaceItems& AItems) {
        std::u16string T = FABC->ABCText();
        EXPECT_TRUE(ApplyTextReplaceItems(T, AItems));
        return Rebuild(T);
    }
    double X(int32_t I) const { return FBuf->Basic_GetSymbol(I)->Pos().x(); }

    std::unique_ptr<TNuo4ABCBuffer> FABC;
    std::unique_ptr<TNuo4SimpleBuffer> FBuf;
};

struct TChangeCase {
    const char* Name;
    std::u16string Voice;
    int32_t Index;
    TNuo4InlineChangeAction_AWCoef Action;
    double Value;
    std::u16string Result;  // the voice after; empty when refused
};

TEST_F(Requests, ChangeAWCoefWritesTheControlOptions) {
    const std::vector<TChangeCase> Cases = {
        {"delta on a lock", u"1{C:2.000} 2", 0, nicaAWCoef_Delta, 0.5, u"1{C:2.500} 2"},
        {"set to value", u"1{C:2.000} 2", 0, nicaAWCoef_SetToValue, 3, u"1{C:3.000} 2"},
        {"never below 0.01", u"1{C:2.000} 2", 0, nicaAWCoef_SetToValue, -4, u"1{C:0.010} 2"},
        {"zoom", u"1{C:2.000} 2", 0, nicaAWCoef_Zoom, 2, u"1{C:4.000} 2"},
        {"unlock removes the group", u"1{C:2.000} 2", 0, nicaAWCoef_Unlock, 0, u"1 2"},
        {"hide level kept on unlock", u"1{C:2.000,None} 2", 0, nicaAWCoef_Unlock, 0,
         u"1{C:0,None} 2"},
        {"after the duration of a note", u"1_ 2", 0, nicaAWCoef_SetToValue, 2, u"1_{C:2.000} 2"},
        {"after a bar line", u"1 | 2", 1, nicaAWCoef_SetToValue, 2, u"1 |{C:2.000} 2"},
        {"nothing to unlock", u"1 2", 0, nicaAWCoef_Unlock, 0, u""},
        {"no symbol", u"1 2", 7, nicaAWCoef_Delta, 1, u""},
    };
    for (const TChangeCase& C : Cases) {
        const TNuo4SimpleBuffer& B = Build(C.Voice);
        TNuo4ABCTextReplaceItems Items;
        const bool Ok = CanChangeAWCoef(B, C.Index, C.Action, C.Value, Items);
        EXPECT_EQ(Ok, !C.Result.empty()) << C.Name;
        if (!Ok) {
            EXPECT_TRUE(Items.empty()) << C.Name;
            continue;
        }
        Apply(Items);
        EXPECT_EQ(Voice(), C.Result) << C.Name;
    }
}

TEST_F(Requests, RangesScaleTheirSum) {
    Build(u"1{C:1.000} 2{C:3.000} 3");
    TNuo4ABCTextReplaceItems Items;
    ASSERT_TRUE(CanChangeAWCoef_Range(*FBuf, TKoRange(0, 2), nicaAWCoef_SetToValue, 8, Items));
    Apply(Items);
    EXPECT_EQ(Voice(), u"1{C:2.000} 2{C:6.000} 3");
    ASSERT_TRUE(CanChangeAWCoef_Range(*FBuf, TKoRange(0, 2), nicaAWCoef_Delta, -4, Items));
    Apply(Items);
    EXPECT_EQ(Voice(), u"1{C:1.000} 2{C:3.000} 3");
    EXPECT_FALSE(CanChangeAWCoef_Range(*FBuf, TKoRange(2, 5), nicaAWCoef_Zoom, 2, Items));
}

TEST_F(Requests, LockingKeepsEveryPositionAndUnlockingRestoresTheText) {
    const std::u16string Text = u"1 2_ 3_ 4 | 5- 6 | 7 1 2 3 |";
    Build(Text);
    std::vector<double> Before;
    for (int32_t I = 0; I < FBuf->Basic_GetCount(); ++I) Before.push_back(X(I));
    TNuo4ABCTextReplaceItems Items;
    ASSERT_TRUE(CanLockAWCoef_Line(*FBuf, 0, Items));
    EXPECT_EQ(int32_t(Items.size()), FBuf->Basic_GetCount());
    Apply(Items);
    for (int32_t I = 0; I < FBuf->Basic_GetCount(); ++I)
        EXPECT_NEAR(X(I), Before[I], 0.01) << "symbol " << I;
    EXPECT_FALSE(CanLockAWCoef_Line(*FBuf, 0, Items)) << "locked already: nothing to write";
    ASSERT_TRUE(CanUnlockAWCoef_LineRange(*FBuf, TKoRange(0, 1), Items));
    Apply(Items);
    EXPECT_EQ(Voice(), Text);
}

TEST_F(Requests, GridLockPutsEveryNextSymbolOnTheGrid) {
    Build(u"1 2_ 3_ 4 | 5. 6_ 7 1 |");
    TNuo4ABCTextReplaceItems Items;
    ASSERT_TRUE(CanLockAWCoefToGrid_Line(*FBuf, 0, Items));
    Apply(Items);
    const double Step = Spacing_GridStep();
    for (int32_t I = 1; I < FBuf->Basic_GetCount(); ++I) {
        const double Rem = std::fmod(X(I) - X(0) + std::fmod(X(0), Step), Step);
        EXPECT_TRUE(Rem < 0.002 || Step - Rem < 0.002) << "symbol " << I << " at " << X(I);
    }
}

TEST_F(Requests, BarlinesLockedTooTightAreUnlocked) {
    Build(u"1 |{C:0.050} 2 |{C:0.500} 3");
    TNuo4ABCTextReplaceItems Items;
    ASSERT_TRUE(Layout_UnlockBarlineAW_WhenOverlap_Range(*FBuf, TKoRange(0, 5), Items));
    Apply(Items);
    EXPECT_EQ(Voice(), u"1 | 2 |{C:0.500} 3");
}

TEST_F(Requests, JustifyingALineReachesTheRightMargin) {
    Build(u"1 2 3 4 | 5 6 7 1 $\r2 3");
    TNuo4ABCTextReplaceItems Items;
    ASSERT_TRUE(CanAdjustAllSymbolPosAtLineToJustifyLine_Line(*FBuf, 0, true, Items));
    Apply(Items);
    const TrecNuo4DocOptions& O = Nuo4DocOptions();
    const TNuo4Symbol* Last = FBuf->Basic_GetSymbol(8);
    EXPECT_NEAR(Last->Pos().x() + Last->RightWidth(), O.Param_Paper.MarginLeft + O.GetLayoutWidth(),
                0.05);

    Build(u"1 2 3 4 | 5 6 7 1 $\r2 3");
    ASSERT_TRUE(CanAdjustLastSymbolPosAtLineToJustifyLine_Line(*FBuf, 0, Items));
    ASSERT_EQ(Items.size(), 1u) << "only the second-to-last symbol of the last measure";
    Apply(Items);
    Last = FBuf->Basic_GetSymbol(8);
    EXPECT_NEAR(Last->Pos().x() + Last->RightWidth(), O.Param_Paper.MarginLeft + O.GetLayoutWidth(),
                0.05);
}

TEST_F(Requests, MeasureWidthRefusals) {
    Build(u"1 2 | 3 4 | 5 6 $(True)\r7");
    TNuo4ABCTextReplaceItems Items;
    EXPECT_FALSE(CanAdjustMeasureWidth_Range(*FBuf, TKoRange(0, 1), true, 5, Items))
        << "a justified paragraph";
    Build(u"1 2 | 3 4 | 5 6");
    EXPECT_FALSE(CanAdjustMeasureWidth_Range(*FBuf, TKoRange(0, 1), true, -100, Items))
        << "narrower than nothing";
    const double W0 = X(5) - X(3);
    ASSERT_TRUE(CanAdjustMeasureWidth_Range(*FBuf, TKoRange(1, 1), true, 5, Items));
    Apply(Items);
    EXPECT_GT(X(5) - X(3), W0 + 4) << "the measure grew";
}

struct TParagraphCase {
    const char* Name;
    std::u16string Voice;
    std::function<bool(const TNuo4SimpleBuffer&, TNuo4ABCTextReplaceItems&)> Request;
    std::u16string Result;  // empty when refused
};

TEST_F(Requests, ParagraphOptionsRewriteTheReturns) {
    const std::vector<TParagraphCase> Cases = {
        {"justify both paragraphs, a return added to the last", u"1 2 $\r3 4",
         [](auto& B, auto& I) {
             return CanChangeParagraphOptions_JustifyHorz_Range(B, TKoRange(0, 2), true, I);
         },
         u"1 2 $(True)\r3 4 $(True)"},
        {"an indent keeps the justification", u"1 2 $(True)\r3",
         [](auto& B, auto& I) {
             return System_CanChangeParagraphOptions_Indent_Range(B, TKoRange(0, 1), 10, I);
         },
         u"1 2 $(True,10.00)\r3"},
        {"removing the indent", u"1 2 $(False,10.00)\r3",
         [](auto& B, auto& I) { return CanRemoveParagraphIndent_Range(B, TKoRange(0, 1), I); },
         u"1 2 $\r3"},
        {"the gap", u"1 $\r2",
         [](auto& B, auto& I) {
             return CanChangeParagraphOptions_Gap_Range(B, TKoRange(0, 1), 2, I);
         },
         u"1 $(False,0.00,2.00)\r2"},
        {"control options of the return stay", u"1 ${C:0,None}\r2",
         [](auto& B, auto& I) {
             return CanChangeParagraphOptions_JustifyHorz_Range(B, TKoRange(0, 1), true, I);
         },
         u"1 $(True){C:0,None}\r2"},
        {"no change", u"1 $(True)\r2",
         [](auto& B, auto& I) {
             return CanChangeParagraphOptions_JustifyHorz_Range(B, TKoRange(0, 1), true, I);
         },
         u""},
        {"no such paragraph", u"1 $\r2",
         [](auto& B, auto& I) { return CanRemoveParagraphIndent_Range(B, TKoRange(1, 3), I); },
         u""},
    };
    for (const TParagraphCase& C : Cases) {
        Build(C.Voice);
        TNuo4ABCTextReplaceItems Items;
        const bool Ok = C.Request(*FBuf, Items);
        EXPECT_EQ(Ok, !C.Result.empty()) << C.Name;
        if (!Ok) continue;
        Apply(Items);
        EXPECT_EQ(Voice(), C.Result) << C.Name;
    }
}

TEST_F(Requests, AnIndentMovesEveryLineOfItsParagraph) {
    Build(
        u"1 2 3 4 | 5 6 7 1 | 2 3 4 5 | 6 7 1 2 | 3 4 5 6 | 7 1 2 3 | 1 2 3 4 | 5 6 7 1 | 2 3 4 5 "
        u"| 6 7 1 2 | 3 4 5 6 | 7 1 2 3 |");
    ASSERT_GE(FBuf->LineInfoArray.size(), 2u);
    TNuo4ABCTextReplaceItems Items;
    ASSERT_TRUE(System_CanChangeParagraphOptions_Indent_Range(*FBuf, TKoRange(0, 1), 10, Items));
    Apply(Items);
    const double Margin = Nuo4DocOptions().Param_Paper.MarginLeft;
    for (const auto& L : FBuf->LineInfoArray)
        if (!L.IsEmpty()) EXPECT_NEAR(X(L.BasicIndexRange.StartIndex), Margin + 10, 0.01);
}

TEST_F(Requests, DashSpacingMovesOneDash) {
    struct TCase {
        const char* Name;
        int32_t Dash;
        bool bKeepWidth;
        double CoefDelta, Gap0Delta, Gap1Delta;
    };
    const TCase Cases[] = {
        {"the first gap grows, and the advance with it", 0, false, 0.5, 0.5, 0},
        {"keeping the width: the next gap gives the room back", 0, true, 0, 0.5, -0.5},
        {"past the last dash: the advance alone", 3, false, 0.5, 0, 0},
    };
    for (const TCase& C : Cases) {
        Build(u"5- 6 |");
        FBuf->InternalStatus.Selection =
            TrecNuo4Selection::CreateEmpty(TrecNuo4CaretPos_Index::Create(0, true));
        const TNuo4SymbolNote* N = FBuf->Basic_GetSymbolNote(0);
        const double Coef = N->AWCoef();
        const auto Gaps = N->GetRightLineSpacingCoefArray();
        TNuo4ABCTextReplaceItems Items;
        ASSERT_TRUE(CanAdjustRightlineSpacingCoef_Caret(*FBuf, nicaAWCoef_Delta, 0.5, C.Dash,
                                                        C.bKeepWidth, Items))
            << C.Name;
        Apply(Items);
        const TNuo4SymbolNote* M = FBuf->Basic_GetSymbolNote(0);
        EXPECT_NEAR(M->AWCoef(), Coef + C.CoefDelta, 0.002) << C.Name;
        if (C.Dash == 0) {
            EXPECT_NEAR(M->GetRightLineSpacingCoefArray()[0], Gaps[0] + C.Gap0Delta, 0.002)
                << C.Name;
            EXPECT_NEAR(M->GetRightLineSpacingCoefArray()[1], Gaps[1] + C.Gap1Delta, 0.002)
                << C.Name;
        }
    }
    Build(u"5 6 |");
    FBuf->InternalStatus.Selection =
        TrecNuo4Selection::CreateEmpty(TrecNuo4CaretPos_Index::Create(0, true));
    TNuo4ABCTextReplaceItems Items;
    EXPECT_FALSE(CanAdjustRightlineSpacingCoef_Caret(*FBuf, nicaAWCoef_Delta, 0.5, 0, false, Items))
        << "a quarter has no dashes";
    EXPECT_FALSE(CanAdjustRightDotSpacingCoef_Caret(*FBuf, nicaAWCoef_Delta, 0.5, false, Items))
        << "nor a dot";
    Build(u"5. 6_ |");
    FBuf->InternalStatus.Selection =
        TrecNuo4Selection::CreateEmpty(TrecNuo4CaretPos_Index::Create(0, true));
    const double Dot = FBuf->Basic_GetSymbolNote(0)->GetRightLineSpacingCoefArray()[0];
    ASSERT_TRUE(CanAdjustRightDotSpacingCoef_Caret(*FBuf, nicaAWCoef_Delta, -10, true, Items));
    Apply(Items);
    EXPECT_NEAR(FBuf->Basic_GetSymbolNote(0)->GetRightLineSpacingCoefArray()[0], 0.5, 0.002)
        << "the dot comes no nearer than 0.5 (from " << Dot << ")";
}

}  // namespace
