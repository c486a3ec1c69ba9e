// Temporary voices: their own one-line layout (beats, tuplets, lyrics, positions counting
// dashes), their alignment under the main voice, and the bounded alignment record.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "format/abc_buffer.h"
#include "format/doc_options.h"
#include "layout/branch_data.h"
#include "layout/buffer_highlight.h"
#include "layout/simple_buffer.h"
#include "render/music_font.h"
#include "render/symbol_attach.h"
#include "render/symbol_lyric.h"

namespace nuo4 {
namespace {

constexpr double Eps = 0.01;

class Branch : public ::testing::Test {
  protected:
    void SetUp() override { Nuo4Render_Init(); }
    void TearDown() override { Nuo4DocOptions().SetToDefault(); }

    static std::unique_ptr<TrecNuo4AttachBranchData> Voice(const std::u16string& AVoice,
                                                           int32_t AFenZi, int32_t AFenMu,
                                                           int32_t AStart8th,
                                                           const std::u16string& ALyrics = u"") {
        TrecNuo4SymbolAttachBranch R;
        R.SetABCText_Voice(AVoice);
        R.SetABCText_Lyrics(ALyrics);
        R.InitMeter.Initialize(AFenZi, AFenMu);
        R.InitBeatPos_8thCount = AStart8th;
        return TrecNuo4AttachBranchData::Create(R);
    }
    // A score whose attachments section is AItems (one per line).
    TNuo4SimpleBuffer& Score(const std::u16string& AVoice, const std::u16string& AItems) {
        FABC = std::make_unique<TNuo4ABCBuffer>(u".Voice\r" + AVoice + u"\r.Attachments\r" +
                                                AItems + u"\r");
        FBuf = std::make_unique<TNuo4SimpleBuffer>(FABC.get());
        return *FBuf;
    }
    static TNuo4SymbolAttachBranch* BranchAt(TNuo4SimpleBuffer& B, int32_t AIndex) {
        for (int32_t A = 0; A < B.Attach_GetCount(); ++A)
            if (B.Attach_IsAttachBranch(A) && AIndex-- == 0)
                return static_cast<TNuo4SymbolAttachBranch*>(B.Attach_GetSymbol(A));
        return nullptr;
    }
    static TrecNuo4AttachBranchData* Data(TNuo4SymbolAttachBranch* S) {
        return S ? dynamic_cast<TrecNuo4AttachBranchData*>(S->GetDataPtr()) : nullptr;
    }
    // Page X of the temporary voice's symbol I (no transform in these scores).
    static double PageX(TNuo4SymbolAttachBranch* S, int32_t I) {
        return S->Pos().x() + Data(S)->Basic_GetSymbol(I)->Pos().x();
    }

    std::unique_ptr<TNuo4ABCBuffer> FABC;
    std::unique_ptr<TNuo4SimpleBuffer> FBuf;
};

TEST_F(Branch, BeatsCountFromTheStartPositionAndDurationsFollowTuplets) {
    struct Case {
        std::u16string Voice;
        int32_t FenZi, FenMu, Start8th;
        std::vector<double> DV, Before;
        std::vector<bool> bFullAfter;
        std::vector<int32_t> Measure;
    };
    const double T = 1.0 / 3;
    const std::vector<Case> Cases = {
        // Starts at beat 1 of 2/4: the bar line closes the first measure, 2 starts the second.
        {u"1 | 2 3", 2, 4, 2, {1, 0, 1, 1}, {1, 2, 0, 1}, {true, true, true, true}, {0, 0, 1, 1}},
        // 3/8 counts in dotted quarters: 1.5 and 3 are full beats, 1 and 2 are not.
        {u"1 2 3", 3, 8, 0, {1, 1, 1}, {0, 1, 2}, {false, false, true}, {0, 0, 0}},
        {u"{(3}1_ 2_ 3_) 4",
         4,
         4,
         0,
         {T, T, T, 1},
         {0, T, 2 * T, 1},
         {false, false, true, true},
         {0, 0, 0, 0}},
        // A tuplet number beyond the table gives its notes no duration.
        {u"{(16}1_ 2_) 3", 4, 4, 0, {0, 0, 1}, {0, 0, 0}, {true, true, true}, {0, 0, 0}},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(std::string(C.Voice.begin(), C.Voice.end()));
        auto D = Voice(C.Voice, C.FenZi, C.FenMu, C.Start8th);
        ASSERT_TRUE(D);
        ASSERT_EQ(D->Basic_GetCount(), int32_t(C.DV.size()));
        for (int32_t I = 0; I < D->Basic_GetCount(); ++I) {
            const TrecNuo4CalcInfo_DV& V = D->Basic_GetSymbol(I)->BasicInfo().DV;
            EXPECT_NEAR(V.DV, C.DV[size_t(I)], 1e-4) << I;
            EXPECT_NEAR(D->GetBeatPos_Before(I), C.Before[size_t(I)], 1e-4) << I;
            EXPECT_EQ(bool(V.bAtFullBeat_After), C.bFullAfter[size_t(I)]) << I;
            EXPECT_EQ(D->GetMeasureIndexFromBasicIndex(I), C.Measure[size_t(I)]) << I;
        }
        // One line in the voice's own coordinates: the first symbol at the origin, rising X.
        EXPECT_EQ(D->Basic_GetSymbol(0)->Pos(), TGPPointF(0, 0));
        for (int32_t I = 1; I < D->Basic_GetCount(); ++I)
            EXPECT_GE(D->Basic_GetSymbol(I)->Pos().x(), D->Basic_GetSymbol(I - 1)->Pos().x());
    }
}

TEST_F(Branch, PositionsCountEveryDashOfANote) {
    auto D = Voice(u"1 2--- 3", 4, 4, 0);
    ASSERT_TRUE(D);
    ASSERT_EQ(D->GetBasicSymbolCount_WithRightline(), 6);
    const int32_t Expected[6][2] = {{0, 0}, {1, 0}, {1, 1}, {1, 2}, {1, 3}, {2, 0}};
    for (int32_t P = 0; P < 6; ++P) {
        TrecNuo4NormalIndexAndRightlineIndex R;
        ASSERT_TRUE(D->Basic_GetSymbolIndexAndRightlineIndex_FromIndexWithRightline(P, R));
        EXPECT_EQ(R.ASymbolIndex, Expected[P][0]) << P;
        EXPECT_EQ(R.ARightlineIndex, Expected[P][1]) << P;
        // Each position ends further right than the one before.
        if (P > 0)
            EXPECT_GT(D->GetBasicSymbolBoundsRight_FromSymbolIndexWithRightline(P),
                      D->GetBasicSymbolBoundsRight_FromSymbolIndexWithRightline(P - 1));
    }
    TrecNuo4NormalIndexAndRightlineIndex R;
    EXPECT_FALSE(D->Basic_GetSymbolIndexAndRightlineIndex_FromIndexWithRightline(6, R));
    EXPECT_FALSE(D->Basic_GetSymbolIndexAndRightlineIndex_FromIndexWithRightline(-1, R));
    EXPECT_EQ(R.ASymbolIndex, -1);

    // Editing inside the highlighted voice runs over the same positions, the last one left
    // out; a voice of one symbol has no span.
    auto& B = Score(u"1 2 3 4 |",
                    u"Branch@1,1(0,-3) = False, 4, 4, 0, {1 2--- 3}, {}\r"
                    u"Branch@1,2(0,-3) = False, 4, 4, 0, {5}, {}");
    for (int32_t A = 0; A < B.Attach_GetCount(); ++A) {
        Highlight_SetToAttach(B, A);
        ASSERT_TRUE(WithinSymbolEdit_Enable(B));
        ASSERT_TRUE(WithinSymbolEdit_IsBranch(B));
        int32_t Last = -1;
        if (A == 0) {
            ASSERT_TRUE(WithinSymbolEdit_LastPos(B, Last));
            EXPECT_EQ(Last, 4);
        } else {
            EXPECT_FALSE(WithinSymbolEdit_LastPos(B, Last));
        }
        WithinSymbolEdit_Disable(B);
    }
}

TEST_F(Branch, LyricsStandCentredUnderTheirNotesAndEveryLineStartsAtTheFirstNote) {
    auto D = Voice(u"1 2 3", 4, 4, 0, u"a b c\\nx y");
    ASSERT_TRUE(D);
    const TNuo4SimpleBuffer& B = D->Buffer();
    std::vector<int32_t> Owners;
    for (int32_t A = 0; A < B.Attach_GetCount(); ++A) {
        if (!B.Attach_IsLyric(A)) continue;
        const int32_t Owner = B.Attach_GetBasicIndex(A);
        Owners.push_back(Owner);
        TNuo4Symbol* L = B.Attach_GetSymbol(A);
        const double NoteX = B.Basic_GetSymbol(Owner)->Pos().x();
        EXPECT_NEAR(L->Pos().x(), NoteX, Eps) << A;
        EXPECT_NEAR(L->BoundsWithPos().center().x(), NoteX, 0.3) << A;
        EXPECT_GT(L->Pos().y(), 0) << A;  // below the voice's baseline
    }
    EXPECT_EQ(Owners, (std::vector<int32_t>{0, 1, 2, 0, 1}));
}

TEST_F(Branch, EighthsUnderQuartersAlignWithTheNotesTheySoundWith) {
    auto& B = Score(u"1 2 3 4 | 5 6 7 1 |",
                    u"Branch@1,1(0,-3) = True, 4, 4, 0, {3_1_ 4_2_ 5 | 3}, {}\r"
                    u"Branch@1,3(0,-3) = True, 4, 4, 4, {1_2_ 3_4_ | 5}, {}\r"
                    u"Branch@1,1(0,-3) = False, 4, 4, 0, {3_1_ 4_2_}, {}");
    TNuo4SymbolAttachBranch* S = BranchAt(B, 0);
    ASSERT_TRUE(Data(S));
    auto MainX = [&](int32_t I) { return B.Basic_GetSymbol(I)->Pos().x(); };
    EXPECT_NEAR(PageX(S, 0), MainX(0), Eps);
    EXPECT_NEAR(PageX(S, 1), (MainX(0) + MainX(1)) / 2, Eps);
    EXPECT_NEAR(PageX(S, 2), MainX(1), Eps);
    EXPECT_NEAR(PageX(S, 4), MainX(2), Eps);
    EXPECT_NEAR(PageX(S, 5), MainX(4), Eps);  // its bar line on the main one
    EXPECT_NEAR(PageX(S, 6), MainX(5), Eps);  // the next measure
    // Starting at beat 2, under the third note, wherever its owner stands.
    TNuo4SymbolAttachBranch* M = BranchAt(B, 1);
    ASSERT_TRUE(Data(M));
    EXPECT_NEAR(PageX(M, 0), MainX(2), Eps);
    EXPECT_NEAR(PageX(M, 2), MainX(3), Eps);
    EXPECT_NEAR(PageX(M, 5), MainX(5), Eps);
    // Without automatic alignment the voice keeps its own spacing at its offset.
    TNuo4SymbolAttachBranch* F = BranchAt(B, 2);
    ASSERT_TRUE(Data(F));
    EXPECT_NEAR(PageX(F, 0), MainX(0), Eps);
    EXPECT_GT(std::abs(PageX(F, 2) - MainX(1)), 0.1);
}

TEST_F(Branch, AlignmentRecordStaysWithinItsHundredEntries) {
    TrecNuo4AttachBranchAutoAlignInfo Info;
    Info.SetSymbolCount(1000);
    EXPECT_EQ(Info.SymbolCount, TrecNuo4AttachBranchAutoAlignInfo::Capacity);
    EXPECT_FALSE(Info.SetItem(100, {}));
    Info.SymbolCount = 700;  // as a damaged or foreign record may hold it
    EXPECT_EQ(Info.GetValidCount(), 100);

    // A voice of 150 notes (600 characters) aligned under a long main voice: the record keeps
    // 100 entries, the voice is still built whole and spaced past them.
    std::u16string Main, Voice;
    for (int I = 0; I < 40; ++I) Main += u"1 2 3 4 | ";
    for (int I = 0; I < 150; ++I) Voice += u"1_2 ";
    auto& B = Score(Main, u"Branch@1,1(0,-3) = True, 4, 4, 0, {" + Voice + u"}, {}");
    TNuo4SymbolAttachBranch* S = BranchAt(B, 0);
    ASSERT_TRUE(S);
    const auto& Rec = *static_cast<const TrecNuo4SymbolAttachBranch*>(S->GetSymbolRecPtr());
    EXPECT_EQ(Rec.AutoAlignInfo.SymbolCount, 100);
    TrecNuo4AttachBranchData* D = Data(S);
    ASSERT_TRUE(D);
    ASSERT_EQ(D->Basic_GetCount(), 300);
    for (int32_t I = 100; I < 300; ++I) EXPECT_GT(D->Basic_GetSymbol(I)->AW(), 0) << I;

    // Reading a record whose count runs past the array reads only the array.
    TrecNuo4SymbolAttachBranch Damaged = Rec;
    Damaged.AutoAlignInfo.SymbolCount = 1000;
    auto Built = TrecNuo4AttachBranchData::Create(Damaged);
    ASSERT_TRUE(Built);
    EXPECT_EQ(Built->Basic_GetCount(), 300);
}

}  // namespace
}  // namespace nuo4
