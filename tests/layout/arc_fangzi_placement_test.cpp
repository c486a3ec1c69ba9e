// Placement of arcs, voltas and articulations in documents built from score texts. The normal
// digit is 2.4 x 3.0 mm (dw x dh); numbers below follow from the placement rules and the
// positions the spacing gave the notes.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "format/abc_buffer.h"
#include "format/doc_options.h"
#include "format/section_attachments.h"
#include "layout/layout_hooks.h"
#include "layout/simple_buffer.h"
#include "render/music_font.h"
#include "render/symbol_arc.h"
#include "render/symbol_basic.h"

namespace nuo4 {
namespace {

constexpr double Dw = 2.4, Dh = 3.0, Q = 0.25 * Dh;

class ArcPlacement : public ::testing::Test {
  protected:
    void SetUp() override { Nuo4Render_Init(); }
    void TearDown() override { Nuo4LayoutSymbolBuilders() = TNuo4LayoutSymbolBuilders(); }
    TNuo4SimpleBuffer& Build(const std::string& AVoice, const std::u16string& AAttachments = u"") {
        std::u16string Text = u".Voice\r" + std::u16string(AVoice.begin(), AVoice.end()) + u"\r";
        if (!AAttachments.empty()) Text += u".Attachments\r" + AAttachments + u"\r";
        FABC = std::make_unique<TNuo4ABCBuffer>(Text);
        FBuf = std::make_unique<TNuo4SimpleBuffer>(FABC.get());
        return *FBuf;
    }
    TNuo4SymbolArc* Arc(int32_t AAttach) {
        return dynamic_cast<TNuo4SymbolArc*>(FBuf->Attach_GetSymbol(AAttach));
    }
    double X(int32_t ABasic) { return FBuf->Basic_GetSymbol(ABasic)->Pos().x(); }
    static TGPPointF Offset(TNuo4Symbol* S) { return S->AttachInfo().AttachPos; }

    std::unique_ptr<TNuo4ABCBuffer> FABC;
    std::unique_ptr<TNuo4SimpleBuffer> FBuf;
};

double EllipseHeight(double L) {
    return 0.28 * std::sqrt(L) * std::sqrt(Dh);
}

TEST_F(ArcPlacement, ArcsFromOneNoteStackByDepthAndLevel) {
    auto& B = Build("((1 2) 3 4 5)");
    ASSERT_EQ(B.ArcInfoArray.size(), 2u);
    // Sorted by end: the short arc first.
    const auto& Inner = B.ArcInfoArray[0];
    const auto& Outer = B.ArcInfoArray[1];
    EXPECT_EQ(Inner.BasicIndexRange, TKoRange(0, 2));
    EXPECT_EQ(Outer.BasicIndexRange, TKoRange(0, 5));
    EXPECT_EQ(Inner.Depth_Start, 0);
    EXPECT_EQ(Outer.Depth_Start, 1);
    TNuo4SymbolArc* AI = Arc(Inner.AttachIndex_Full);
    TNuo4SymbolArc* AO = Arc(Outer.AttachIndex_Full);
    ASSERT_TRUE(AI && AO);
    EXPECT_TRUE(AI->IsFull() && AO->IsFull());
    // Both start 0.1 dw left of the note; the chord runs to 0.1 dw right of the end note.
    EXPECT_NEAR(Offset(AI).x(), -0.1 * Dw, 1e-4);
    EXPECT_NEAR(AI->SymbolRec().ArcLength_Full, X(1) - X(0) + 0.2 * Dw, 1e-4);
    EXPECT_NEAR(AO->SymbolRec().ArcLength_Full, X(4) - X(0) + 0.2 * Dw, 1e-4);
    EXPECT_NEAR(AI->SymbolRec().FArcHeight, EllipseHeight(X(1) - X(0) + 0.2 * Dw), 1e-4);
    // The inner arc sits 0.4 dh above the digit tops (-dh); the outer one is not held down by
    // the inner one (its apex is far higher) and stands GapCoefY_Arcs x dh higher, level.
    EXPECT_NEAR(Offset(AI).y(), -Dh - 0.4 * Dh, 1e-4);
    EXPECT_NEAR(Offset(AO).y(), -Dh - 0.4 * Dh - 0.2 * Dh, 1e-4);
    EXPECT_EQ(B.Attach_GetBasicIndex(Inner.AttachIndex_Full), 0);
    EXPECT_EQ(AO->AttachInfo().SourceIndex2, 4);
}

TEST_F(ArcPlacement, UnmatchedEndsAndStartsMakeNoArc) {
    auto& B = Build("1 2) 3 (4");
    EXPECT_TRUE(B.ArcInfoArray.empty());
    for (int32_t A = 0; A < B.Attach_GetCount(); ++A) EXPECT_FALSE(B.Attach_IsArc(A));
    // One of two ends finds a start.
    auto& C = Build("(1 2)) 3");
    ASSERT_EQ(C.ArcInfoArray.size(), 1u);
    EXPECT_EQ(C.ArcInfoArray[0].BasicIndexRange, TKoRange(0, 2));
}

TEST_F(ArcPlacement, SlurRisesSoItsApexClearsAHigherNoteBetween) {
    auto& B = Build("(1_ {ZhongYin,ZhongYin}1ggg_ 1_)");
    ASSERT_EQ(B.ArcInfoArray.size(), 1u);
    EXPECT_FALSE(B.ArcInfoArray[0].bTie);  // a note lies between
    TNuo4SymbolArc* A = Arc(B.ArcInfoArray[0].AttachIndex_Full);
    ASSERT_TRUE(A);
    TNuo4Symbol* Mid = B.Basic_GetSymbol(1);
    const double Top =
        std::min(Mid->Bounds().top(),
                 Mid->BasicInfo().AttachmentsInfo.Articulations.Get().Bounds.Black.top());
    const double H = A->SymbolRec().FArcHeight;
    // Without the middle note the ends would stay 0.4 dh above the digits; that is too low.
    ASSERT_GT(-1.4 * Dh - H, Top - Q);
    EXPECT_NEAR(Offset(A).y() - H, Top - Q, 1e-4);
}

TEST_F(ArcPlacement, TieOnlyBetweenEqualNeighbours) {
    auto& B = Build("(5 | 5) (5 6 5) (3 4)");
    ASSERT_EQ(B.ArcInfoArray.size(), 3u);
    EXPECT_TRUE(B.ArcInfoArray[0].bTie);  // a bar line between is no note
    EXPECT_FALSE(B.ArcInfoArray[1].bTie);
    EXPECT_FALSE(B.ArcInfoArray[2].bTie);
    // A tie ending where a slur starts ends 0.1 dw short of that note.
    auto& C = Build("(5 (5) 6)");
    ASSERT_EQ(C.ArcInfoArray.size(), 2u);
    TNuo4SymbolArc* Tie = Arc(C.ArcInfoArray[0].AttachIndex_Full);
    TNuo4SymbolArc* Slur = Arc(C.ArcInfoArray[1].AttachIndex_Full);
    EXPECT_NEAR(Tie->SymbolRec().ArcLength_Full, X(1) - X(0), 1e-4);
    EXPECT_NEAR(Offset(Slur).x(), 0.1 * Dw, 1e-4);
}

TEST_F(ArcPlacement, WrappedArcIsTwoFlatPiecesOfAtLeastThree) {
    std::string Voice;
    for (int I = 0; I < 30; ++I) Voice += "1 2 3 4 | ";
    const auto& Lines = Build(Voice).LineInfoArray;
    ASSERT_GE(Lines.size(), 2u);
    // The same text with a slur from the last note of line 0 to the first note of line 1.
    const int32_t M = Lines[0].MeasureIndexRange.EndIndex();  // the last measure of line 0
    std::string Marked;
    for (int I = 0; I < 30; ++I)
        Marked += I == M ? "1 2 3 (4 | " : I == M + 1 ? "1) 2 3 4 | " : "1 2 3 4 | ";
    auto& B = Build(Marked);
    ASSERT_EQ(B.ArcInfoArray.size(), 1u);
    const auto& Info = B.ArcInfoArray[0];
    ASSERT_TRUE(Info.bWrap);
    EXPECT_EQ(Info.LineIndex_End, Info.LineIndex_Start + 1);
    EXPECT_EQ(Info.AttachIndex_Full, -1);
    TNuo4SymbolArc* L = Arc(Info.AttachIndex_Left);
    TNuo4SymbolArc* R = Arc(Info.AttachIndex_Right);
    ASSERT_TRUE(L && R);
    EXPECT_TRUE(L->IsLeft());
    EXPECT_TRUE(R->IsRight());
    EXPECT_EQ(R->SymbolRec().Style.Shape, assFlatFill);
    const int32_t S = Info.BasicIndexRange.StartIndex, E = Info.BasicIndexRange.EndIndex();
    EXPECT_EQ(B.Attach_GetBasicIndex(Info.AttachIndex_Left), S);
    EXPECT_EQ(B.Attach_GetBasicIndex(Info.AttachIndex_Right), E);
    // Left piece: to the right edge of the bar line closing line 0; right piece: from the
    // left edge of line 1's first symbol (the end note itself). Both too short: 3.
    TNuo4Symbol* Bar = B.Basic_GetSymbol(S + 1);
    TNuo4Symbol* First = B.Basic_GetSymbol(E);
    const double LeftLen = Bar->Pos().x() + Bar->Bounds().right() - (X(S) - 0.1 * Dw);
    const double RightLen = X(E) + 0.1 * Dw - (First->Pos().x() + First->Bounds().left());
    EXPECT_NEAR(L->SymbolRec().ArcLength_LeftOrRight, std::max(LeftLen, 3.0), 1e-4);
    EXPECT_NEAR(R->SymbolRec().ArcLength_LeftOrRight, std::max(RightLen, 3.0), 1e-4);
    EXPECT_GE(L->SymbolRec().ArcLength_LeftOrRight, 3.0);
    // Each piece is drawn at its own note's line.
    EXPECT_NEAR(R->Pos().y(), B.LineInfoArray[Info.LineIndex_End].BaselineY - 1.4 * Dh, 1e-3);
    // The left piece also clears the bar line after its note by Q at its top.
    const double YS = std::min(-1.4 * Dh, Bar->Bounds().top() - Q + L->SymbolRec().FArcHeight);
    EXPECT_LT(YS, -1.4 * Dh);
    EXPECT_NEAR(L->Pos().y(), B.LineInfoArray[Info.LineIndex_Start].BaselineY + YS, 1e-3);
}

TEST_F(ArcPlacement, ArticulationsStackUpwardFromTheDigits) {
    auto& B = Build("{DunYin,ZhongYin}5 (5 {ZhongYin}5)");
    const auto& Arts = B.Basic_GetSymbol(0)->BasicInfo().AttachmentsInfo.Articulations.Get();
    ASSERT_EQ(Arts.AttachIndexArray.size(), 2u);
    TNuo4Symbol* A0 = B.Attach_GetSymbol(Arts.AttachIndexArray[0]);
    TNuo4Symbol* A1 = B.Attach_GetSymbol(Arts.AttachIndexArray[1]);
    EXPECT_EQ(A0->GetSymbolType(), sbstArticulation);
    EXPECT_NEAR(Offset(A0).y(), -Dh - 0.3 * Dh, 1e-4);
    EXPECT_NEAR(Offset(A1).y(), Offset(A0).y() - A0->BlackBox().height() - 0.3 * Dh, 1e-4);
    EXPECT_NEAR(Offset(A0).x(), 0, 1e-6);
    // An arc ending on a note with an articulation starts from the articulation's top.
    TNuo4SymbolArc* S = Arc(B.ArcInfoArray[0].AttachIndex_Full);
    TNuo4Symbol* Accent = B.Attach_GetSymbol(
        B.Basic_GetSymbol(2)->BasicInfo().AttachmentsInfo.Articulations.Get().AttachIndexArray[0]);
    const double Top = std::min(B.Basic_GetSymbol(2)->Bounds().top(),
                                Offset(Accent).y() + Accent->BlackBox().top());
    EXPECT_NEAR(Offset(S).y(), Top - 0.4 * Dh, 1e-4);
}

// Nested slurs over several lines and a staircase of slurs from one note: every arc clears
// each arc inside it on the lines they share (at its apex by Q over the inner arc's top), and a
// wrapped arc's piece never runs below the piece of a wrapped arc inside it.
TEST_F(ArcPlacement, EveryArcClearsTheArcsInsideIt) {
    constexpr int N = 40;
    // Bar lines after every fourth note, where lines may break.
    std::string Voice;
    int Notes = 0;
    auto Add = [&](const std::string& ANote) { Voice += ANote + (++Notes % 4 ? " " : " | "); };
    for (int I = 0; I < N; ++I) Add(I % 7 == 3 ? "(3g_" : "(3_");
    for (int I = 0; I < N; ++I) Add(I % 5 == 2 ? "3g_)" : "3_)");
    Add(std::string(N, '(') + "1_");
    for (int I = 0; I < N; ++I) Add(I % 3 ? "2_)" : "2gg_)");
    auto& B = Build(Voice);
    ASSERT_EQ(B.ArcInfoArray.size(), 2u * N);
    ASSERT_GE(B.LineInfoArray.size(), 2u);
    // The symbol of arc AArc on line ALine: the whole arc or the piece there.
    auto On = [&](const TrecNuo4ArcInfoItem& AArc, int32_t ALine) -> TNuo4SymbolArc* {
        if (!AArc.bWrap)
            return AArc.LineIndex_Start == ALine ? Arc(AArc.AttachIndex_Full) : nullptr;
        if (AArc.LineIndex_Start == ALine) return Arc(AArc.AttachIndex_Left);
        return AArc.LineIndex_End == ALine ? Arc(AArc.AttachIndex_Right) : nullptr;
    };
    int Pairs = 0, Pieces = 0;
    for (size_t J = 0; J < B.ArcInfoArray.size(); ++J) {
        const TrecNuo4ArcInfoItem& Outer = B.ArcInfoArray[J];
        for (size_t I = 0; I < J; ++I) {
            const TrecNuo4ArcInfoItem& Inner = B.ArcInfoArray[I];
            if (Inner.BasicIndexRange.StartIndex < Outer.BasicIndexRange.StartIndex) continue;
            for (int32_t Line : {Inner.LineIndex_Start, Inner.LineIndex_End}) {
                TNuo4SymbolArc* O = On(Outer, Line);
                TNuo4SymbolArc* In = On(Inner, Line);
                if (!O || !In) continue;
                SCOPED_TRACE(testing::Message() << "arc " << J << " over arc " << I);
                const double Apex = Offset(O).y() - O->SymbolRec().FArcHeight;
                EXPECT_LE(Apex, Offset(In).y() + In->Bounds().top() - Q +
                                    O->SymbolRec().FArcThickness / 2 + 1e-4);
                ++Pairs;
                if (!O->IsFull() && O->Continue() == In->Continue()) {
                    EXPECT_LE(Offset(O).y(), Offset(In).y() + 1e-6);
                    ++Pieces;
                }
            }
        }
    }
    EXPECT_GT(Pairs, N * N / 2);
    EXPECT_GT(Pieces, N);
}

// Slurs, ties and articulations stand over the digits of a note: the sharp or flat beside
// them, which reaches higher, does not lift them.
TEST_F(ArcPlacement, MarksOverANoteIgnoreItsAccidental) {
    struct THeights {
        double Slur, Tie, Articulation, ArcOverArticulation, NoteTop;
    };
    auto Measure = [&](const std::string& AAcc) {
        const std::string A = AAcc + "5";
        auto& B = Build("(" + A + " 6) (" + A + " " + A + ") ({DunYin}" + A + " 6)");
        EXPECT_EQ(B.ArcInfoArray.size(), 3u);
        const auto& Arts = B.Basic_GetSymbol(4)->BasicInfo().AttachmentsInfo.Articulations.Get();
        EXPECT_EQ(Arts.AttachIndexArray.size(), 1u);
        if (B.ArcInfoArray.size() != 3 || Arts.AttachIndexArray.size() != 1) return THeights{};
        auto ArcY = [&](int K) { return Offset(Arc(B.ArcInfoArray[K].AttachIndex_Full)).y(); };
        return THeights{ArcY(0), ArcY(1), Offset(B.Attach_GetSymbol(Arts.AttachIndexArray[0])).y(),
                        ArcY(2), B.Basic_GetSymbol(0)->Bounds().top()};
    };
    const THeights Plain = Measure("");
    for (const char* Acc : {"#", "b"}) {
        SCOPED_TRACE(Acc);
        const THeights With = Measure(Acc);
        ASSERT_LT(With.NoteTop, Plain.NoteTop - 0.5);  // the accidental stands above the digit
        EXPECT_NEAR(With.Slur, Plain.Slur, 1e-4);
        EXPECT_NEAR(With.Tie, Plain.Tie, 1e-4);
        EXPECT_NEAR(With.Articulation, Plain.Articulation, 1e-4);
        EXPECT_NEAR(With.ArcOverArticulation, Plain.ArcOverArticulation, 1e-4);
    }
}

// A tuplet's number, centred on the apex line, clears the symbols under it by 0.1 dh: the
// arc rises with it over an octave dot or an articulation of a middle note.
TEST_F(ArcPlacement, TupletNumberClearsTheNotesUnderIt) {
    for (const char* Voice : {"{(3}1_ 1g_ 1_)", "{(3}1_ 1gg_ 1_)", "{(3}5_ {ZhongYin}5_ 5_)",
                              "{(11}1__ 1__ 1__ 1__ 1__ 1g__ 1__ 1__ 1__ 1__ 1__)"}) {
        SCOPED_TRACE(Voice);
        auto& B = Build(Voice);
        ASSERT_EQ(B.ArcInfoArray.size(), 1u);
        TNuo4SymbolArc* A = Arc(B.ArcInfoArray[0].AttachIndex_Full);
        ASSERT_TRUE(A && A->ElementsCount() >= 3);
        const TGPRectF Number =
            A->ReadElement(A->ElementsCount() - 1)->GetBlackBox().translated(A->Pos());
        int Under = 0;
        for (int32_t I = 0; I < B.Basic_GetCount(); ++I) {
            TNuo4Symbol* S = B.Basic_GetSymbol(I);
            const TGPRectF Box = S->BoundsWithPos();
            if (Box.right() <= Number.left() || Box.left() >= Number.right()) continue;
            const TGPRectF& Art = S->BasicInfo().AttachmentsInfo.Articulations.Get().Bounds.Black;
            const double Top =
                Art.isEmpty() ? Box.top() : std::min(Box.top(), Art.top() + S->Pos().y());
            EXPECT_LE(Number.bottom(), Top - 0.1 * Dh + 1e-3);
            ++Under;
        }
        EXPECT_GE(Under, 1);
    }
}

// ---- Voltas -----------------------------------------------------------------------------------

TEST_F(ArcPlacement, VoltaSpansFromItsBarLineToTheRepeatEnd) {
    //                0 1 2 3 4      5 6 7 8 9 ...            19              24
    auto& B = Build("1 1 1 1 |[1. 2 2 2 2 | 3 3 3 3 | 4 4 4 4 :|[2. 5 5 5 5 || 6 6 6 6 |");
    ASSERT_EQ(B.FangZiInfoArray.size(), 2u);
    const auto& V1 = B.FangZiInfoArray[0];
    const auto& V2 = B.FangZiInfoArray[1];
    EXPECT_EQ(V1.MeasureIndexRange, TKoRange(1, 3));
    EXPECT_EQ(V1.Text_ABC, u"1.");
    EXPECT_EQ(V1.BasicIndexRange_Full, TKoRange::FromStartEnd(4, 19));
    EXPECT_EQ(V2.MeasureIndexRange, TKoRange(4, 1));
    EXPECT_EQ(V2.BasicIndexRange_Full, TKoRange::FromStartEnd(19, 24));
    EXPECT_FALSE(V1.bWrap);
    // They meet at the repeat bar line.
    EXPECT_TRUE(V1.bFangZiEndWithOtherFangZiStartAtThisLine);
    EXPECT_FALSE(V1.bFangZiStartWithOtherFangZiEndAtThisLine);
    EXPECT_TRUE(V2.bFangZiStartWithOtherFangZiEndAtThisLine);
    auto* F1 = dynamic_cast<TNuo4SymbolFangZi*>(B.Attach_GetSymbol(V1.AttachIndex_Full));
    auto* F2 = dynamic_cast<TNuo4SymbolFangZi*>(B.Attach_GetSymbol(V2.AttachIndex_Full));
    ASSERT_TRUE(F1 && F2);
    EXPECT_EQ(B.Attach_GetBasicIndex(V1.AttachIndex_Full), 4);
    // Ends: plain bar line 0; repeat end shared -0.05 dw (end) and 0.35 dw (start); double
    // bar line plain 0.15 dw.
    EXPECT_NEAR(Offset(F1).x(), 0, 1e-5);
    EXPECT_NEAR(F1->Rec().FangZiLength, X(19) - X(4) - 0.05 * Dw, 1e-4);
    EXPECT_NEAR(Offset(F2).x(), 0.35 * Dw, 1e-5);
    EXPECT_NEAR(F2->Rec().FangZiLength, X(24) - X(19) + 0.15 * Dw - 0.35 * Dw, 1e-4);
    // Over plain notes the bar lines decide: 0.3 dh above their tops at 1.6 dh.
    const double H = TNuo4SymbolFangZi::GetFangZiHeight();
    EXPECT_NEAR(Offset(F1).y(), -1.9 * Dh - H, 1e-4);
    EXPECT_NEAR(Offset(F2).y(), Offset(F1).y(), 1e-6);
    // A volta never opens without its closing bar line.
    auto& C = Build("1 1 |[1. 2 2 | 3 3 |");
    EXPECT_TRUE(C.FangZiInfoArray.empty());
}

TEST_F(ArcPlacement, VoltasOfOneLineShareTheHeightOfItsHighestArc) {
    auto& B = Build("1 1 1 1 |[1. 2 2 2 2 :|[2. (5 5 5 5) || 6 6 6 6 |");
    ASSERT_EQ(B.FangZiInfoArray.size(), 2u);
    const auto& V1 = B.FangZiInfoArray[0];
    const auto& V2 = B.FangZiInfoArray[1];
    ASSERT_EQ(B.ArcInfoArray.size(), 1u);
    TNuo4SymbolArc* A = Arc(B.ArcInfoArray[0].AttachIndex_Full);
    const double ArcTop = Offset(A).y() + A->Bounds().top();
    EXPECT_NEAR(V2.ArcsTopAtLine_Full, ArcTop, 1e-4);
    EXPECT_NEAR(V1.ArcsTopAtLine_Full, ArcTop, 1e-4);  // the first volta has no arc itself
    const double H = TNuo4SymbolFangZi::GetFangZiHeight();
    ASSERT_LT(ArcTop - 0.5 * Dh, -1.9 * Dh);  // the slur reaches above the bar-line term
    TNuo4Symbol* F1 = B.Attach_GetSymbol(V1.AttachIndex_Full);
    TNuo4Symbol* F2 = B.Attach_GetSymbol(V2.AttachIndex_Full);
    EXPECT_NEAR(Offset(F1).y(), ArcTop - 0.5 * Dh - H, 1e-4);
    EXPECT_NEAR(F1->Pos().y(), F2->Pos().y(), 1e-5);
    // The bracket's bottom clears the slur.
    EXPECT_LT(F2->BoundsWithPos().bottom(), A->BoundsWithPos().top());
}

TEST_F(ArcPlacement, WrappedVoltaBecomesTwoPiecesWithTheirLines) {
    std::string Voice = "1 1 1 1 |[1. ";
    for (int I = 0; I < 30; ++I) Voice += "2 2 2 2 | ";
    Voice += "3 3 3 3 :|";
    auto& B = Build(Voice);
    ASSERT_EQ(B.FangZiInfoArray.size(), 1u);
    const auto& V = B.FangZiInfoArray[0];
    ASSERT_TRUE(V.bWrap);
    EXPECT_EQ(V.AttachIndex_Full, -1);
    auto* L = dynamic_cast<TNuo4SymbolFangZi*>(B.Attach_GetSymbol(V.AttachIndex_Left));
    auto* R = dynamic_cast<TNuo4SymbolFangZi*>(B.Attach_GetSymbol(V.AttachIndex_Right));
    ASSERT_TRUE(L && R);
    EXPECT_EQ(L->Rec().ContinueStyle, lscsLeft);
    EXPECT_EQ(R->Rec().ContinueStyle, lscsRight);
    const int32_t LineS = 0;
    const int32_t LineE = int32_t(B.LineInfoArray.size()) - 1;
    // The left piece ends at the right edge of line 0's last symbol, the right piece starts
    // at the left edge of the last line's first symbol.
    TNuo4Symbol* LastS = B.Basic_GetSymbol(V.BasicIndexRange_Left.EndIndex());
    TNuo4Symbol* FirstE = B.Basic_GetSymbol(B.LineInfoArray[LineE].BasicIndexRange.StartIndex);
    EXPECT_EQ(V.BasicIndexRange_Left.EndIndex(), B.LineInfoArray[LineS].BasicIndexRange.EndIndex());
    EXPECT_NEAR(L->BoundsWithPos().right(), LastS->BoundsWithPos().right(), 1e-3);
    EXPECT_NEAR(R->BoundsWithPos().left(), FirstE->BoundsWithPos().left(), 1e-3);
    EXPECT_NEAR(R->BoundsWithPos().right(),
                B.Basic_GetSymbol(V.BasicIndexRange_Full.EndIndex())->Pos().x() + 0.2 * Dw, 1e-3);
}

// ---- Special arcs ---------------------------------------------------------------------------

TEST_F(ArcPlacement, WrappedSpecialArcsWithAutoAlignReachTheLineEdge) {
    Nuo4LayoutSymbolBuilders().Attachments =
        [](const TrecNuo4SectionItem_Attachments& AItem) -> std::unique_ptr<TNuo4Symbol> {
        if (const TrecNuo4SymbolAttachArc* R = AItem.IsArc())
            return std::make_unique<TNuo4SymbolAttachArc>(*R);
        return nullptr;
    };
    TrecNuo4SectionItem_Attachments Left, Right, Fixed;
    Left.SetToDefaultForArc(lscsLeft, true);
    Left.Header.HorzLocation.InitializeToNoteIndex(1);
    Right.SetToDefaultForArc(lscsRight, true);
    Right.Header.HorzLocation.InitializeToNoteIndex(2);
    Fixed.SetToDefaultForArc(lscsLeft, false);
    Fixed.Header.HorzLocation.InitializeToNoteIndex(1);
    auto& B = Build("1 2 3 4 |",
                    Left.ToABCText() + u"\r" + Right.ToABCText() + u"\r" + Fixed.ToABCText());
    ASSERT_EQ(B.Attach_GetCount(), 3);
    auto* L = dynamic_cast<TNuo4SymbolAttachArc*>(B.Attach_GetSymbol(0));
    auto* R = dynamic_cast<TNuo4SymbolAttachArc*>(B.Attach_GetSymbol(1));
    auto* F = dynamic_cast<TNuo4SymbolAttachArc*>(B.Attach_GetSymbol(2));
    ASSERT_TRUE(L && R && F);
    TNuo4Symbol* Bar = B.Basic_GetSymbol(4);
    TNuo4Symbol* First = B.Basic_GetSymbol(0);
    EXPECT_NEAR(L->Length(), Bar->BoundsWithPos().right() - L->Pos().x(), 1e-4);
    EXPECT_NEAR(R->Length(), R->Pos().x() - First->BoundsWithPos().left(), 1e-4);
    EXPECT_NEAR(F->Length(), 5.0, 1e-6);  // without automatic alignment the written length
}

}  // namespace
}  // namespace nuo4
