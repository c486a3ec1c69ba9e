#include "render/note_style.h"

#include <gtest/gtest.h>

using namespace nuo4;

TEST(NoteStyleTable, ZipStyleKeepsUnderlinesOfTheNormalStyle) {
    TrecNuo4DocOptions O;
    O.SetToDefault();
    RebuildAll(O);
    const auto* N = GetPureNoteStylePtr(0, nssNormal);
    const auto* Z = GetPureNoteStylePtr(0, nssZip);
    EXPECT_NEAR(Z->GetDigitHeight(), 2.1, 1e-5);
    EXPECT_NEAR(Z->GetDigitWidth(), 2.4, 1e-5);
    EXPECT_NEAR(Z->GetUnderLineHeight(), N->GetUnderLineHeight(), 1e-6);
    EXPECT_NEAR(Z->GetUnderLinesGap(), N->GetUnderLinesGap(), 1e-6);
    EXPECT_NEAR(Z->GetUnderLine_Digit_Gap(), N->GetUnderLine_Digit_Gap(), 1e-6);
    // Round parts scale by the geometric mean of 1.0 and 0.7.
    EXPECT_NEAR(Z->GetOctaveDotSize(), N->GetOctaveDotSize() * std::sqrt(0.7), 1e-6);
    EXPECT_FALSE(Z->GetbItalic());
}

TEST(NoteStyleTable, GraceStyleShrinksEverythingAndItalicStylesShear) {
    TrecNuo4DocOptions O;
    O.SetToDefault();
    RebuildAll(O);
    const auto* N = GetPureNoteStylePtr(3, nssNormal);
    const auto* G = GetPureNoteStylePtr(3, nssGrace);
    EXPECT_NEAR(G->GetDigitHeight(), 3.0 * 0.65, 1e-5);
    EXPECT_NEAR(G->GetDigitWidth(), 2.4 * 0.65, 1e-5);
    EXPECT_NEAR(G->GetUnderLineHeight(), N->GetUnderLineHeight() * 0.65, 1e-6);  // not kept
    EXPECT_TRUE(GetPureNoteStylePtr(3, nssItalicGrace)->GetbItalic());
    EXPECT_TRUE(GetPureNoteStylePtr(3, nssItalicNormal)->GetbItalic());
    EXPECT_NEAR(GetPureNoteStylePtr(3, nssItalicNormal)->GetDigitHeight(), 3.0, 1e-6);
}

TEST(NoteStyleTable, DocumentOptionsFeedTheBaseRecord) {
    TrecNuo4DocOptions O;
    O.SetToDefault();
    O.Param_MainDigit.Height = 4.0f;
    O.Param_MainDigit.WHRatio = 0.5f;
    O.Param_MainDigit.Face = dfFace3;
    O.bSubStyleSmallSizeIsItalic = true;
    RebuildAll(O);
    const auto* N = GetPureNoteStylePtr(7, nssNormal);
    EXPECT_TRUE(N->IsScript());
    EXPECT_NEAR(N->GetDigitWidth(), 2.0, 1e-6);
    EXPECT_NEAR(N->GetAccidentalPos().x(), -0.6 * 2.0, 1e-6);
    EXPECT_NEAR(N->GetRightDotPos().y(), -0.4 * 4.0, 1e-6);
    EXPECT_NEAR(N->GetRightLineY(), -2.0, 1e-6);
    EXPECT_TRUE(GetPureNoteStylePtr(7, nssSmallSize)->GetbItalic());
    O.SetToDefault();
    RebuildAll(O);
    EXPECT_NEAR(GetDigitSize(TrecNuo4NoteStyleIndex::Create(7, nssNormal)).width(), 2.4, 1e-6);
}

TEST(NoteStyleTableDeathTest, InvalidIndexStopsWithTheAssertion) {
    EXPECT_DEATH(GetPureNoteStylePtr(8, nssNormal), "GetPureNoteStylePtr Assert Failure.");
}
