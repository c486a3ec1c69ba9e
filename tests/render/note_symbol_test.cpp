// The note and articulation symbols: their seven (or one) elements built from the music font,
// what each element holds, which are suppressed, the bounds they report and the spacing that
// follows the advance width. Default options: H = 3 mm, W = 2.4 mm; chords in the zip style
// (H 2.1), grace notes in the grace style (x 0.65).
#include "render/note_symbol.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstring>
#include <memory>

#include "format/doc_options.h"
#include "format/symbol_note.h"
#include "render/articulation_symbol.h"
#include "render/music_font.h"

using namespace nuo4;

namespace {

constexpr double Eps = 1e-4;

class NoteSymbol : public ::testing::Test {
  protected:
    void SetUp() override {
        Nuo4Render_Init();
        Reset();
        Nuo4DocOptions().bAutoBeam = false;
    }
    void TearDown() override { Reset(); }
    static void Reset() {
        Nuo4DocOptions().SetToDefault();
        RebuildAll(Nuo4DocOptions());
    }
};

TrecNuo4SymbolNote Rec(const char16_t* AText) {
    TrecNuo4SymbolNote R;
    EXPECT_TRUE(GetSymbolRecNote_FromABCText(AText, R)) << std::u16string(AText).size();
    return R;
}

std::unique_ptr<TNuo4SymbolNote> Make(const char16_t* AText) {
    auto S = std::make_unique<TNuo4SymbolNote>(Rec(AText));
    S->Update(true);
    return S;
}

QPainterPath PathOf(const TNuo4Symbol& S, int I) {
    const TNuo4SymbolElement* E = S.ReadElement(I);
    return E && !E->IsStroke() ? E->Path() : QPainterPath();
}

QRectF BoxOf(const TNuo4Symbol& S, int I) {
    return PathOf(S, I).boundingRect();
}

bool Empty(const TNuo4Symbol& S, int I) {
    return PathOf(S, I).elementCount() == 0;
}

void ExpectRect(const QRectF& R, double AX, double AY, double AW, double AH, double AEps = Eps) {
    EXPECT_NEAR(R.x(), AX, AEps);
    EXPECT_NEAR(R.y(), AY, AEps);
    EXPECT_NEAR(R.width(), AW, AEps);
    EXPECT_NEAR(R.height(), AH, AEps);
}

// A basic symbol of another kind, for the neighbours of notes.
class TStubSymbol : public TNuo4BasicSymbol {
  public:
    explicit TStubSymbol(TNuo4SymbolType AType) : FType(AType) {}
    void CalcBounds(TGPRectF& R) override { R = TGPRectF(); }
    void CreateElements() override {}
    void* GetSymbolRecPtr() override { return nullptr; }
    void SetSymbolRec(const void*) override {}
    TNuo4SymbolType GetSymbolType() const override { return FType; }
    void SetRecNoteStyleIndex(const TrecNuo4NoteStyleIndex&) override {}
    void SetRecMainStyle(TNuo4NoteMainStyle) override {}
    void SetRecSubStyle(TNuo4NoteSubStyle) override {}

  private:
    TNuo4SymbolType FType;
};

}  // namespace

// ---- Single notes -----------------------------------------------------------------------------

TEST_F(NoteSymbol, SingleNoteBuildsSevenElementsInTheirSlots) {
    auto S = Make(u"#3d_");
    ASSERT_EQ(S->ElementsCount(), 7);
    // Digit inside its cell, accidental left of it, dot below the underline.
    const QRectF D = BoxOf(*S, 0);
    EXPECT_GE(D.left(), -1.2 - 0.05);
    EXPECT_LE(D.right(), 1.2 + 0.05);
    EXPECT_NEAR(D.bottom(), 0.0, 0.1);
    EXPECT_NEAR(D.top(), -3.0, 0.1);
    EXPECT_LE(BoxOf(*S, 1).right(), -1.44 + 0.03);
    EXPECT_NEAR(BoxOf(*S, 1).center().y(), -2.4, 0.1);
    ExpectRect(BoxOf(*S, 2), -0.375, 1.65 - 0.375, 0.75, 0.75);
    ExpectRect(BoxOf(*S, 3), -0.96, 0.645, 1.92, 0.21);
    EXPECT_TRUE(Empty(*S, 4));
    EXPECT_TRUE(Empty(*S, 5));
    EXPECT_TRUE(Empty(*S, 6));
}

TEST_F(NoteSymbol, OctaveDotsStackAwayFromTheDigit) {
    auto S = Make(u"1dd");
    // Centres 0.81 and 1.80 below the digit, diameter 0.75.
    ExpectRect(BoxOf(*S, 2), -0.375, 0.81 - 0.375, 0.75, 0.99 + 0.75);
    S = Make(u"6gg");
    ExpectRect(BoxOf(*S, 2), -0.375, -4.89 - 0.375, 0.75, 0.99 + 0.75);
    // A rest carries octave dots like any digit.
    S = Make(u"0g");
    EXPECT_NEAR(BoxOf(*S, 2).center().y(), -3.9, Eps);
}

TEST_F(NoteSymbol, AutomaticBeamsLeaveUnderlinesToTheLayoutExceptOnHiddenNotes) {
    Nuo4DocOptions().bAutoBeam = true;
    auto S = Make(u"3_");
    EXPECT_EQ(S->ElementsCount(), 7);
    EXPECT_TRUE(Empty(*S, 3));
    S->SetHideLevel(shlNote);
    S->Update(true);
    ExpectRect(BoxOf(*S, 3), -0.96, 0.645, 1.92, 0.21);
}

TEST_F(NoteSymbol, TemporaryVoiceDropsWhatTheHideLevelHides) {
    auto S = Make(u"#3d_");
    S->bWithinAttachBranch = true;
    S->SetHideLevel(shlDigitOnly);
    S->Update(true);
    EXPECT_TRUE(Empty(*S, 0));
    EXPECT_TRUE(Empty(*S, 1));
    EXPECT_FALSE(Empty(*S, 2));
    EXPECT_FALSE(Empty(*S, 3));
    // Automatic beams take the underlines there too.
    Nuo4DocOptions().bAutoBeam = true;
    S->SetHideLevel(shlNone);
    S->Update(true);
    EXPECT_FALSE(Empty(*S, 0));
    EXPECT_TRUE(Empty(*S, 3));
}

TEST_F(NoteSymbol, DotsFollowTheAdvanceWidth) {
    auto S = Make(u"2.");
    S->SetAWCoef(1.6f);  // first dot at 0.8 W
    S->Update(false);
    ExpectRect(BoxOf(*S, 4), 1.92 - 0.375, -1.2 - 0.375, 0.75, 0.75);
    S->SetAWCoef(3.0f);  // 0.9 + 0.6 x 0.2
    S->Update(false);
    EXPECT_NEAR(BoxOf(*S, 4).center().x(), 1.02 * 2.4, Eps);
    // A second dot 0.53 W further; the underline of a dotted note ends with it.
    S = Make(u"2_..");
    S->SetAWCoef(1.6f);
    S->Update(false);
    EXPECT_NEAR(BoxOf(*S, 4).right(), (0.8 + 0.53) * 2.4 + 0.375, Eps);
    EXPECT_NEAR(BoxOf(*S, 3).right(), BoxOf(*S, 4).right(), Eps);
}

TEST_F(NoteSymbol, TightlySpacedDotStaysOutOfTheDigitCell) {
    // Half of 1.0 would put the dot's centre at 1.2, half inside the digit; it stops with its
    // left edge on the cell's edge instead: 0.5 + 0.375 / 2.4.
    auto S = Make(u"4___.");
    S->SetAWCoef(1.0f);
    S->Update(false);
    EXPECT_NEAR(S->GetRightLineSpacingCoefArray()[0], 0.5 + 0.375 / 2.4, Eps);
    EXPECT_NEAR(BoxOf(*S, 4).left(), 1.2, Eps);
    S->SetAWCoef(1.4f);  // 0.7: already clear of the cell
    EXPECT_NEAR(S->GetRightLineSpacingCoefArray()[0], 0.7, Eps);
}

TEST_F(NoteSymbol, DashesDivideTheAdvanceWidthAndZoomWithIt) {
    auto S = Make(u"5---");
    ASSERT_EQ(S->GetRightLineCount(), 3);
    S->SetAWCoef(4.0f);
    S->Update(false);
    // Dashes centred at W, 2W, 3W, each 0.8 W long and 0.15 H thick.
    ExpectRect(BoxOf(*S, 5), 2.4 - 0.96, -1.5 - 0.225, 4.8 + 1.92, 0.45);
    EXPECT_NEAR(S->GetRighlineOffsetX(2), 7.2, Eps);
    EXPECT_NEAR(S->GetRighlineSpacing(1), 2.4, Eps);
    S->ZoomAWCoef(0.5f);
    S->Update(false);
    EXPECT_NEAR(S->AWCoef(), 2.0f, Eps);
    EXPECT_NEAR(BoxOf(*S, 5).right(), 3.6 + 0.96, Eps);
    EXPECT_NEAR(S->Bounds().right(), 3.6 + 0.96, Eps);
}

TEST_F(NoteSymbol, LockedDashSpacingIgnoresTheAdvanceWidth) {
    TrecNuo4SymbolNote R = Rec(u"5--");
    R.ControlOptions.AWCoef.RightLineSpacingCoefArray = {2, 1, 1, 1, 1, 1, 1};
    TNuo4SymbolNote S(R);
    S.SetAWCoef(6.0f);
    S.Update(false);
    EXPECT_NEAR(S.GetRightlineRect(0).center().x(), 4.8, Eps);
    EXPECT_NEAR(S.GetRightlineRect(1).center().x(), 7.2, Eps);
}

TEST_F(NoteSymbol, LockedSpacingWrittenBySymbolSurvivesAdvanceChanges) {
    auto S = Make(u"5---");
    S->RightLineSpacing_SetCoefArray({1.5f, 0.5f, 0.5f, 1, 1, 1, 1});
    EXPECT_TRUE(S->SymbolRec.ControlOptions.RightLineSpacingCoefIsLocked());
    S->SetAWCoef(8.0f);
    S->Update(false);
    EXPECT_NEAR(BoxOf(*S, 5).right(), 2.5 * 2.4 + 0.96, Eps);
}

TEST_F(NoteSymbol, ItalicStyleLeansEveryPartRightAboveTheBaseline) {
    auto S = Make(u"3_");
    S->SetSubStyle(nssItalicNormal);
    S->Update(true);
    // The underline lies below the baseline, so it moves left by tan 11.3 x y.
    const double T = std::tan(11.3 * M_PI / 180);
    const QRectF U = BoxOf(*S, 3);
    EXPECT_NEAR(U.left(), -0.96 - T * 0.855, Eps);
    EXPECT_NEAR(U.right(), 0.96 - T * 0.645, Eps);
    // The digit leans right: its upper half moves by up to tan 11.3 x 3.
    auto Plain = Make(u"3_");
    EXPECT_GT(BoxOf(*S, 0).right(), BoxOf(*Plain, 0).right() + 0.1);
    EXPECT_LT(BoxOf(*S, 0).right(), BoxOf(*Plain, 0).right() + T * 3.0 + Eps);
}

TEST_F(NoteSymbol, ScriptFaceDrawsMarksWithItsStrokes) {
    Nuo4DocOptions().Param_MainDigit.Face = dfFace3;
    RebuildAll(Nuo4DocOptions());
    auto S = Make(u"1g_.");
    S->SetAWCoef(1.6f);
    S->Update(false);
    // Strokes, not rectangles, filling the same boxes.
    EXPECT_NE(PathOf(*S, 3).elementCount(), 5);
    ExpectRect(BoxOf(*S, 3), -0.96, 0.645, S->GetBounds_Underline(0).width(), 0.21, 0.05);
    // Octave dots shrink to 0.7 of their square at its left-top.
    ExpectRect(BoxOf(*S, 2), -0.375, -4.275, 0.525, 0.525, 0.03);
    ExpectRect(BoxOf(*S, 4), 1.92 - 0.375, -1.575, 0.75, 0.75, 0.03);
}

TEST_F(NoteSymbol, PlainDrumCrossTakesTheDigitFace) {
    const QSizeF Cell(2.4, 3.0);
    const QRectF Cross0 =
        Nuo4MusicFont().CreatePath_NoteDigit(nullptr, 8, dfFace0, Cell).boundingRect();
    const QRectF Cross3 =
        Nuo4MusicFont().CreatePath_NoteDigit(nullptr, 8, dfFace3, Cell).boundingRect();
    ASSERT_NE(Cross0, Cross3);
    EXPECT_EQ(BoxOf(*Make(u"X"), 0), Cross0);
    Nuo4DocOptions().Param_MainDigit.Face = dfFace3;
    RebuildAll(Nuo4DocOptions());
    EXPECT_EQ(BoxOf(*Make(u"X"), 0), Cross3);
}

TEST_F(NoteSymbol, HiddenDigitHasNoGlyph) {
    TrecNuo4SymbolNote R = Rec(u"5");
    R.MainNote.MusicNote.Pitch.Digit = DigitHide;
    R.ChordNote.Reset();
    TNuo4SymbolNote S(R);
    S.Update(true);
    EXPECT_EQ(S.ElementsCount(), 7);
    EXPECT_TRUE(Empty(S, 0));
}

TEST_F(NoteSymbol, DrawingFillsTheElementsAtThePosition) {
    // 20 pixels per mm; the note's origin at (10, 10) mm.
    QImage Img(400, 400, QImage::Format_RGB32);
    Img.setDotsPerMeterX(20000);
    Img.setDotsPerMeterY(20000);
    Img.fill(Qt::white);
    {
        QPainter P(&Img);
        TKoGraphics G(&P);
        PrepareGraphics(G, 1.0);
        auto S = Make(u"3d_");
        S->SetPos(QPointF(10, 10));
        S->Draw(G);
    }
    auto Dark = [&](double AXmm, double AYmm) {
        return qGray(Img.pixel(int(AXmm * 20), int(AYmm * 20))) < 100;
    };
    EXPECT_TRUE(Dark(10.0, 10.75));  // underline, 0.645 ... 0.855 below the baseline
    EXPECT_FALSE(Dark(10.0, 10.5));  // between digit and underline
    EXPECT_TRUE(Dark(10.0, 11.65));  // octave dot centre under the underline
    EXPECT_FALSE(Dark(10.0, 11.2));  // between underline and dot
    EXPECT_FALSE(Dark(12.0, 8.5));   // right of the digit
}

TEST_F(NoteSymbol, InkStaysInsideTheLayoutBounds) {
    // Upright styles: every part the elements draw lies inside the bounds the layout reserves.
    for (const char16_t* T : {u"5", u"#1g", u"b7ddd___", u"#b3gg_..", u"2----", u"0d__.", u"X_",
                              u"[135]_.", u"[1d3g5gg]---", u"[#14b6]__", u"{12}5", u"{b7g1g}6dd_",
                              u"{3}[135]", u"{12}#5_.", u"{123}0-"}) {
        auto S = Make(T);
        S->SetAWCoef(2.5f);
        S->Update(false);
        const QRectF B = S->Bounds().adjusted(-0.05, -0.05, 0.05, 0.05);
        const QRectF Ink = S->BlackBox();
        EXPECT_TRUE(B.contains(Ink))
            << QString::fromStdU16String(T).toStdString() << " ink " << Ink.left() << ","
            << Ink.top() << " " << Ink.right() << "," << Ink.bottom() << " bounds " << B.left()
            << "," << B.top() << " " << B.right() << "," << B.bottom();
    }
}

TEST_F(NoteSymbol, UpdateAfterAnAdvanceChangeMatchesAFullRebuild) {
    // Justification changes advances after the notes were built and then updates only what
    // follows the advance; the result must be what a full rebuild at that advance gives.
    for (const char16_t* T :
         {u"5", u"#1g_", u"{12}5__", u"3.", u"6_..", u"2---", u"{3}4-", u"0d__.", u"[135]_."}) {
        const std::string Name = QString::fromStdU16String(T).toStdString();
        auto Partial = Make(T);
        Partial->SetAWCoef(3.3f);
        Partial->Update(false);
        auto Full = Make(T);
        Full->SetAWCoef(3.3f);
        Full->Update(true);
        ASSERT_EQ(Partial->ElementsCount(), Full->ElementsCount()) << Name;
        for (int I = 0; I < Full->ElementsCount(); ++I)
            EXPECT_EQ(PathOf(*Partial, I), PathOf(*Full, I)) << Name << " element " << I;
        EXPECT_EQ(Partial->BlackBox(), Full->BlackBox()) << Name;
        EXPECT_EQ(Partial->Bounds(), Full->Bounds()) << Name;
    }
}

// ---- Chords -----------------------------------------------------------------------------------

TEST_F(NoteSymbol, ChordFromTextGetsItsSpacingAndSharedMarks) {
    auto S = Make(u"[531]_.");
    ASSERT_TRUE(S->IsChord());
    EXPECT_EQ(S->GetMainNotePitch().Digit, Digit1);
    ASSERT_EQ(S->SymbolRec.ChordNote.Get().Options.NoteSpacingCoefArray.size(), 2u);
    S->SetAWCoef(1.6f);
    S->Update(false);
    ASSERT_EQ(S->ElementsCount(), 7);
    // Three digits from the lowest bottom to the highest top: T = 2.1 + 2 x 1.7 x 2.1.
    const QRectF D = BoxOf(*S, 0);
    EXPECT_NEAR(D.top(), -9.24, 0.1);
    EXPECT_NEAR(D.bottom(), 0.0, 0.1);
    // Underlines keep the normal thickness; the common dot sits at 0.4 T with the zip size.
    ExpectRect(BoxOf(*S, 3), -0.96, 0.645, S->GetBounds_Underline(0).width(), 0.21);
    const double ZipDot = 0.75 * std::sqrt(0.7);
    ExpectRect(BoxOf(*S, 4), 1.92 - ZipDot / 2, -0.4 * 9.24 - ZipDot / 2, ZipDot, ZipDot);
    EXPECT_TRUE(Empty(*S, 5));
}

TEST_F(NoteSymbol, ChordLowestDotsGoUnderTheSharedUnderlines) {
    auto S = Make(u"[1d3]_");
    // Zip dot below one underline: 2.1 x (0.25 + 0.3) / 0.7 = 1.65.
    EXPECT_NEAR(BoxOf(*S, 2).center().y(), 1.65, Eps);
    EXPECT_LE(BoxOf(*S, 0).bottom(), 0.1);
}

TEST_F(NoteSymbol, ChordWithoutCommonDurationDotsEveryNote) {
    Nuo4DocOptions().Param_Chord.bUseCommonRightDuration = false;
    auto S = Make(u"[13]-");
    EXPECT_FALSE(S->SymbolRec.ChordNote.Get().Options.bUseCommonRightDuration);
    S->Update(true);
    EXPECT_TRUE(Empty(*S, 4));
    // Each digit carries its own dash: two dashes in slot 0, right of the digits.
    EXPECT_GT(BoxOf(*S, 0).right(), 1.2 + 0.5);
}

TEST_F(NoteSymbol, ScriptFaceChordUnderlinesStayRectangles) {
    Nuo4DocOptions().Param_MainDigit.Face = dfFace3;
    RebuildAll(Nuo4DocOptions());
    auto S = Make(u"[13]_");
    EXPECT_EQ(PathOf(*S, 3).elementCount(), 5);
}

// ---- Grace groups -----------------------------------------------------------------------------

TEST_F(NoteSymbol, GraceGroupBeforeTheNoteWithItsTie) {
    auto S = Make(u"{12}5");
    ASSERT_TRUE(S->WithGrace());
    const QRectF G = BoxOf(*S, 6);
    // Shared underlines from -0.624 to 2.184 in the group, the group at x = -3.78, y = -3.
    EXPECT_NEAR(G.left(), -0.624 - 3.78, 0.2);
    EXPECT_LE(G.right(), -1.44 + 0.02);
    // The tie's outer edge: 1.05495 + b + t/2 below the group's baseline.
    const double B = 1.95 * 0.3 * std::sqrt(2.0);
    EXPECT_NEAR(G.bottom(), -3 + 1.05495 + B + 0.06825, 1e-3);
    EXPECT_NEAR(S->GetGracePos().x(), -3.78, Eps);
    // The symbol's bounds hold the group (to its right edge, 0.1 W before the note).
    EXPECT_NEAR(S->Bounds().left(), -4.56, Eps);
    EXPECT_NEAR(S->Bounds().top(), -4.95, Eps);
}

TEST_F(NoteSymbol, GraceGroupAfterTheNote) {
    TrecNuo4SymbolNote R = Rec(u"{12}5");
    R.GraceNote.Mut().Options.bRight = true;
    TNuo4SymbolNote S(R);
    S.Update(true);
    EXPECT_NEAR(S.GetGracePos().x(), 1.2 + 0.24 + 0.78, Eps);
    const QRectF G = BoxOf(S, 6);
    EXPECT_GE(G.left(), 1.44 - 0.02);
    // The tie mirrors: from the group's middle down to its left end.
    EXPECT_NEAR(G.left(), 2.22 - 0.624, 0.2);
    EXPECT_NEAR(S.Bounds().right(), 2.22 + 2.34, Eps);
}

TEST_F(NoteSymbol, GraceNotesTakeTheEighthShapeWhenAsked) {
    TrecNuo4SymbolNote R = Rec(u"{1}5");
    R.GraceNote.Mut().Options.b8th = true;
    TNuo4SymbolNote S(R);
    S.Update(true);
    // One underline: the group's bottom is the tie under it (t = 0.1365, b = 0.585).
    const double UnderBottom = 1.95 * 0.25 + 0.06825;
    EXPECT_NEAR(BoxOf(S, 6).bottom(), -3 + UnderBottom + 0.8 * 0.1365 + 0.585 + 0.06825, 1e-3);
}

// ---- Underline rectangles for the layout -------------------------------------------------------

TEST_F(NoteSymbol, DrumCharacterUnderlineTakesTheCharacterWidth) {
    TrecNuo4SymbolNote R;
    TrecNuo4Pitch P;
    P.Initialize_ToDrumPitch(u'W', false);
    R.MainNote.Initialize(P, sd8th);
    R.SetPitches_Main({P});
    TNuo4SymbolNote S(R);
    const QRectF U = S.GetBounds_Underline(0);
    EXPECT_GT(U.width(), 0.0);
    EXPECT_NE(U.width(), 1.92);
    EXPECT_NEAR(U.left(), -U.width() / 2, Eps);  // measured centred on the origin
    EXPECT_NEAR(U.top(), 0.645, Eps);
    // A drum cross keeps the plain underline.
    P.Initialize_ToDrumPitch(0, false);
    R.SetPitches_Main({P});
    TNuo4SymbolNote X(R);
    ExpectRect(X.GetBounds_Underline(0), -0.96, 0.645, 1.92, 0.21);
}

TEST_F(NoteSymbol, CalcBoundsAreStoredAsTheSymbolsOwnLayout) {
    auto S = Make(u"b7g");
    const QRectF B = S->Bounds();
    EXPECT_EQ(S->CalcInfo.Bounds_Self.Layout, B);
    EXPECT_EQ(S->BasicInfo().Bounds_Total.Layout, B);
    EXPECT_NEAR(B.left(), -2.7, Eps);
    EXPECT_NEAR(B.top(), -4.275, Eps);
    EXPECT_NEAR(S->LeftWidth(), 2.7, Eps);
}

TEST_F(NoteSymbol, DurationChangeKeepsTheStyleAndRespacesTheMarks) {
    auto S = Make(u"5");
    S->SetSubStyle(nssSmallSize);
    S->SetAWCoef(3.0f);
    S->SetDuration(sd2thDot);
    EXPECT_EQ(S->SymbolRec.MainNote.Options.StyleIndex.SubStyle, nssSmallSize);
    EXPECT_NEAR(S->GetRightLineSpacingCoefArray()[0], 1.0, Eps);  // 3 / (2 + 1)
}

TEST_F(NoteSymbol, OctaveChangesRebuildTheNote) {
    auto S = Make(u"{1ggg}5");
    EXPECT_FALSE(S->IncreaseOctave());
    EXPECT_FALSE(S->NeedUpdate());
    EXPECT_TRUE(S->DecreaseOctave());
    EXPECT_TRUE(S->NeedUpdate());
    EXPECT_EQ(S->GetMainNotePitch().Octave, -1);
}

// ---- Underline connection -----------------------------------------------------------------------

TEST_F(NoteSymbol, UnderlinesConnectWithinTheBeat) {
    auto A = Make(u"5_"), B = Make(u"3_"), C = Make(u"2");
    std::vector<TNuo4Symbol*> Run{A.get(), B.get(), C.get()};
    EXPECT_TRUE(CalcUnderlineConnection(Run, 0));
    EXPECT_FALSE(CalcUnderlineConnection(Run, 1));  // a quarter follows
    EXPECT_FALSE(CalcUnderlineConnection(Run, 2));
    A->MutBasicInfo().DV.bAtFullBeat_After = true;
    EXPECT_FALSE(CalcUnderlineConnection(Run, 0));
    A->SetUnderlineConnectType(ulctAlwaysConnect);
    EXPECT_TRUE(CalcUnderlineConnection(Run, 0));
    B->SetUnderlineConnectType(ulctAlwaysConnect);
    EXPECT_TRUE(CalcUnderlineConnection(Run, 1));
    A->SetUnderlineConnectType(ulctAuto);
    A->MutBasicInfo().DV.bAtFullBeat_After = false;
    B->SetHideLevel(shlAll);
    EXPECT_FALSE(CalcUnderlineConnection(Run, 0));
    B->SetHideLevel(shlNone);
    A->SetUnderlineConnectType(ulctAlwaysUnconnect);
    EXPECT_FALSE(CalcUnderlineConnection(Run, 0));
}

TEST_F(NoteSymbol, AccompanimentMarkerBetweenNotesIsSkippedUnlessItBreaks) {
    auto A = Make(u"5_"), B = Make(u"3_");
    TStubSymbol M(sbstAccompMarker), Bar(sbstBarline);
    std::vector<TNuo4Symbol*> Run{A.get(), &M, B.get()};
    EXPECT_TRUE(CalcUnderlineConnection(Run, 0));
    UpdateUnderlineConnections(Run, 0, 5);
    EXPECT_TRUE(A->GetUnderlineConnection());
    EXPECT_FALSE(B->GetUnderlineConnection());
    Nuo4DocOptions().Param_Accomp.bAccompMarkerBreakUnderline = true;
    EXPECT_FALSE(CalcUnderlineConnection(Run, 0));
    std::vector<TNuo4Symbol*> WithBar{A.get(), &Bar, B.get()};
    Nuo4DocOptions().Param_Accomp.bAccompMarkerBreakUnderline = false;
    EXPECT_FALSE(CalcUnderlineConnection(WithBar, 0));
    EXPECT_FALSE(CalcUnderlineConnection(WithBar, 1));  // not a note
}

// ---- Shared outlines ----------------------------------------------------------------------------

namespace {

// The data a path refers to: equal for copies that share it.
const void* DataOf(const QPainterPath& P) {
    static_assert(sizeof(QPainterPath) == sizeof(void*));
    const void* D = nullptr;
    std::memcpy(&D, &P, sizeof D);
    return D;
}

}  // namespace

TEST_F(NoteSymbol, NotesOfTheSameShapeShareOneOutline) {
    struct TCase {
        const char16_t* A;
        const char16_t* B;
        int Slot;
        bool bShared;
    };
    const TCase Cases[] = {
        {u"#4", u"#4_", 1, true},       // the sharp at the same place, whatever the duration
        {u"#4", u"b4", 1, false},       // another accidental
        {u"1dd", u"3dd", 2, true},      // two octave dots united
        {u"[15]", u"[15]", 0, true},    // the chord's digits united
        {u"[15]", u"[16]", 0, false},   // another chord
        {u"{56}1", u"{56}3", 6, true},  // the grace group before the note
    };
    for (const TCase& C : Cases) {
        auto A = Make(C.A);
        auto B = Make(C.B);
        const QPainterPath PA = PathOf(*A, C.Slot), PB = PathOf(*B, C.Slot);
        ASSERT_FALSE(PA.isEmpty()) << C.Slot;
        EXPECT_EQ(DataOf(PA) == DataOf(PB), C.bShared) << C.Slot;
    }
}

TEST_F(NoteSymbol, SharedPathIsExactlyThePathAskedFor) {
    QPainterPath A;
    A.addRect(QRectF(1, 2, 3, 4));
    // A path a fuzzy comparison would take for A, and A under the other fill rule.
    QPainterPath Near;
    Near.addRect(QRectF(1 + 1e-9, 2, 3, 4));
    QPainterPath Odd = A;
    Odd.setFillRule(Qt::WindingFill);
    const QPainterPath KeptA = SharedGlyphPath(A);
    for (const QPainterPath& P : {Near, Odd}) {
        const QPainterPath K = SharedGlyphPath(P);
        EXPECT_NE(DataOf(K), DataOf(KeptA));
        EXPECT_EQ(K.fillRule(), P.fillRule());
        for (int I = 0; I < P.elementCount(); ++I) {
            EXPECT_EQ(K.elementAt(I).x, P.elementAt(I).x);
            EXPECT_EQ(K.elementAt(I).y, P.elementAt(I).y);
        }
    }
    // An equal path built anew gets the kept one.
    QPainterPath Again;
    Again.addRect(QRectF(1, 2, 3, 4));
    EXPECT_EQ(DataOf(SharedGlyphPath(Again)), DataOf(KeptA));
}

// ---- Articulations ----------------------------------------------------------------------------

TEST_F(NoteSymbol, ArticulationGlyphIsSizedByTheDigitWidth) {
    // One design unit = 2.4 / 400 = 0.006 mm; staccato box 226 x 318, reference (113, 182).
    TNuo4SymbolArticulation A(mfsaDunYin, 1.0f);
    A.Update(true);
    ASSERT_EQ(A.ElementsCount(), 1);
    ExpectRect(A.Bounds(), -0.678, -1.908, 1.356, 1.908);
    const QRectF Ink = A.BlackBox();
    EXPECT_NEAR(Ink.width(), 1.356, 0.04);
    EXPECT_NEAR(Ink.bottom(), 0.0, 0.04);
    // Trill: box from -12, reference 238, 234; twice the scale doubles it.
    TNuo4SymbolArticulation T(mfsaChanYin, 2.0f);
    ExpectRect(T.Bounds(), -3.0, -3.192, 6.0, 3.192);
    EXPECT_EQ(T.GetSymbolType(), sbstArticulation);
    // The document's scale.
    Nuo4DocOptions().ArticulationScales[mfsaZhongYin] = 0.5f;
    auto Z = TNuo4SymbolArticulation::CreateFromDocument(mfsaZhongYin);
    EXPECT_NEAR(Z->Bounds().width(), 345 * 0.003, Eps);
}

// ---- Rebuilding after a change of the advance width ----------------------------------------

namespace {

// The elements and boxes of two notes agree exactly.
void ExpectSameShape(TNuo4SymbolNote& A, TNuo4SymbolNote& B, const char* AWhat) {
    ASSERT_EQ(A.ElementsCount(), B.ElementsCount()) << AWhat;
    for (int I = 0; I < A.ElementsCount(); ++I) EXPECT_EQ(PathOf(A, I), PathOf(B, I)) << AWhat << I;
    EXPECT_EQ(A.BlackBox(), B.BlackBox()) << AWhat;
    EXPECT_EQ(A.Bounds(), B.Bounds()) << AWhat;
    EXPECT_EQ(A.BasicInfo().Bounds_Total.Layout, B.BasicInfo().Bounds_Total.Layout) << AWhat;
}

}  // namespace

TEST_F(NoteSymbol, KeptElementsAfterAnAdvanceWidthChangeMatchAFreshBuild) {
    for (const char16_t* Text : {u"2_..", u"5--", u"{12}5-", u"6d__.", u"1g", u"{34}2_."}) {
        for (const bool bRightGrace : {false, true}) {
            TrecNuo4SymbolNote R = Rec(Text);
            R.GraceNote.Mut().Options.bRight = bRightGrace;
            // Built once, then respaced (set, then zoomed as justification does).
            TNuo4SymbolNote Kept(R);
            Kept.Update(true);
            Kept.SetAWCoef(2.5f);
            Kept.Update(false);
            TNuo4SymbolNote Fresh(R);
            Fresh.SetAWCoef(2.5f);
            Fresh.Update(true);
            ExpectSameShape(Kept, Fresh, "set ");
            Kept.ZoomAWCoef(1.37f);
            Kept.Update(false);
            Fresh.ZoomAWCoef(1.37f);
            Fresh.Update(true);
            ExpectSameShape(Kept, Fresh, "zoomed ");
        }
    }
}

TEST_F(NoteSymbol, OtherChangesBeforeAnAdvanceWidthChangeStillRebuildEverything) {
    // The octave dot comes between the build and the respacing; it must not be lost.
    auto Kept = Make(u"2_.");
    ASSERT_TRUE(Kept->IncreaseOctave());
    Kept->SetAWCoef(2.0f);
    Kept->Update(false);
    TrecNuo4SymbolNote R = Rec(u"2_.");
    ASSERT_TRUE(nuo4::IncreaseOctave(R));
    TNuo4SymbolNote Fresh(R);
    Fresh.SetAWCoef(2.0f);
    Fresh.Update(true);
    EXPECT_FALSE(Empty(*Kept, 2));
    ExpectSameShape(*Kept, Fresh, "octave ");
    // The same after the respacing: a hide level set afterwards rebuilds in full too.
    Kept->SetAWCoef(2.2f);
    Kept->SetHideLevel(shlDigitOnly);
    Kept->Update(false);
    Fresh.SetAWCoef(2.2f);
    Fresh.SetHideLevel(shlDigitOnly);
    Fresh.Update(true);
    ExpectSameShape(*Kept, Fresh, "hidden ");
}
