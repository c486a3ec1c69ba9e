// The brace command on the two-part demo score and on two unbraced lines: every bar line and
// every note that starts a beat stands at the same x in both parts after the rebuild.
#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "edit/edit_apply.h"
#include "edit/edit_brace.h"
#include "format/score_file.h"
#include "layout/simple_buffer.h"
#include "render/music_font.h"

using namespace nuo4;

namespace {

class Brace : public ::testing::Test {
  protected:
    void SetUp() override { Nuo4Render_Init(); }
    TNuo4SimpleBuffer& Rebuild(const std::u16string& AText) {
        FBuf.reset();
        FABC = std::make_unique<TNuo4ABCBuffer>(AText);
        FBuf = std::make_unique<TNuo4SimpleBuffer>(FABC.get());
        return *FBuf;
    }
    void Apply(const TNuo4ABCTextReplaceItems& AItems) {
        std::u16string T = FABC->ABCText();
        ASSERT_TRUE(ApplyTextReplaceItems(T, AItems));
        Rebuild(T);
    }
    // (measure in line, beat) -> x of every bar line and beat-starting note of a line.
    std::map<std::pair<int32_t, double>, double> Columns(int32_t ALine) {
        std::map<std::pair<int32_t, double>, double> R;
        const auto& L = FBuf->LineInfoArray[ALine];
        for (int32_t K = 0; K < L.MeasureIndexRange.Length; ++K) {
            const TKoRange M =
                FBuf->MeasureInfoArray[L.MeasureIndexRange.StartIndex + K].BasicIndexRange;
            for (int32_t I = M.StartIndex; I <= M.EndIndex(); ++I) {
                const TNuo4Symbol* S = FBuf->Basic_GetSymbol(I);
                if (FBuf->Basic_IsBarline(I))
                    R[{K, 99}] = S->Pos().x();
                else if (FBuf->Basic_IsNote(I) && S->BasicInfo().DV.bAtFullBeat_Before &&
                         !R.count({K, S->BasicInfo().DV.DVSumWithinMeasure_Before}))
                    R[{K, S->BasicInfo().DV.DVSumWithinMeasure_Before}] = S->Pos().x();
            }
        }
        return R;
    }
    // Every column both lines have stands at one x; returns how many they share.
    int ExpectAligned(int32_t A, int32_t B) {
        const auto CA = Columns(A), CB = Columns(B);
        int Shared = 0;
        for (const auto& [Key, X] : CA)
            if (CB.count(Key)) {
                ++Shared;
                EXPECT_NEAR(X, CB.at(Key), 0.05) << "lines " << A << "," << B << " measure "
                                                 << Key.first << " beat " << Key.second;
            }
        return Shared;
    }

    std::unique_ptr<TNuo4ABCBuffer> FABC;
    std::unique_ptr<TNuo4SimpleBuffer> FBuf;
};

TEST_F(Brace, AlignsBothSystemsOfTheTwoPartDemo) {
    std::u16string Text;
    std::string Error;
    ASSERT_TRUE(ReadScoreFile(std::string(NUO4_SOURCE_DIR) + "/resources/demo/liangzhilaohu.nuoabc",
                              Text, Error))
        << Error;
    Rebuild(Text);
    ASSERT_EQ(FBuf->SystemLineInfoArray.size(), 2u);
    const int32_t Braces = FBuf->Attach_GetCount();
    for (int32_t S = 0; S < 2; ++S) {
        const TKoRange Lines = FBuf->SystemLineInfoArray[S].LineIndexRange;
        TNuo4ABCTextReplaceItems Items;
        ASSERT_TRUE(CanBraceAndAlignLines(*FBuf, Lines, Items));
        Apply(Items);
    }
    ASSERT_EQ(FBuf->SystemLineInfoArray.size(), 2u) << "the systems survive the edit";
    EXPECT_EQ(FBuf->Attach_GetCount(), Braces) << "the existing braces are kept, none added";
    EXPECT_GE(ExpectAligned(0, 1), 16);
    // The second system: quarters against eighths and half notes.
    EXPECT_GE(ExpectAligned(2, 3), 14);
    for (int32_t L = 0; L < 4; ++L)
        EXPECT_NEAR(
            FBuf->Basic_GetSymbol(FBuf->LineInfoArray[L].BasicIndexRange.StartIndex)->Pos().x(),
            20 + Nuo4BraceIndentDefault, 0.01)
            << "every part starts at the indent";
    // The demo's paragraphs are justified, so the locked widths come back stretched to the
    // margin: aligning again takes them over once, and from then on there is nothing to change.
    TNuo4ABCTextReplaceItems Again;
    if (CanAlignSystemLine(*FBuf, 1, Again)) Apply(Again);
    EXPECT_GE(ExpectAligned(2, 3), 14);
    ASSERT_EQ(FBuf->SystemLineInfoArray.size(), 2u);
    Again.clear();
    ASSERT_TRUE(CanAlignSystemLine(*FBuf, 1, Again) || Again.empty());
    EXPECT_TRUE(Again.empty()) << "aligned already: nothing to change";
}

TEST_F(Brace, BracesTwoLinesIntoOneSystem) {
    Rebuild(u".Voice\r1 2 3 4 | 5_6_ 7 1 2 | 3- 4 5 |\r$\r1_1_ 1 1 1 | 2 2 2 2 | 3 3 3 3 |\r");
    ASSERT_EQ(FBuf->SystemLineInfoArray.size(), 2u);
    TNuo4ABCTextReplaceItems Items;
    ASSERT_TRUE(CanBraceAndAlignLines(*FBuf, TKoRange(0, 2), Items));
    Apply(Items);
    ASSERT_EQ(FBuf->SystemLineInfoArray.size(), 1u) << "one braced system";
    EXPECT_GE(FBuf->SystemLineInfoArray[0].AttachIndex_Brace, 0);
    EXPECT_GE(ExpectAligned(0, 1), 12);
    EXPECT_NE(FABC->ABCText().find(u".Attachments\rBrace@@1("), std::u16string::npos);

    TNuo4ABCTextReplaceItems None;
    EXPECT_FALSE(CanBraceAndAlignLines(*FBuf, TKoRange(0, 1), None)) << "one part is no system";
    EXPECT_TRUE(None.empty());
}

}  // namespace
