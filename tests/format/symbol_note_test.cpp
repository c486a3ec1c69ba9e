#include "format/symbol_note.h"

#include <gtest/gtest.h>

#include <random>

#include "test_util.h"

using namespace nuo4;
using nuo4::test::All;
using nuo4::test::U;
using nuo4::test::Utf8;

namespace {

struct TNoteResult {
    bool bOk = false;
    int32_t EndPos = -1;
    TrecNuo4ABCParseInfo_Note Note;
};

TNoteResult Read(const std::u16string& S, int32_t AStart = 0) {
    TNoteResult R;
    R.bOk = ReadNote(S, TKoRange::FromStartEnd(AStart, static_cast<int32_t>(S.size()) - 1), R.Note,
                     R.EndPos);
    return R;
}

TrecNuo4Pitch P(const char* S) {
    const std::u16string T = U(S);
    TrecNuo4Pitch Pitch;
    int32_t End = -1;
    EXPECT_TRUE(ReadPitch(T, All(T), Pitch, End)) << S;
    return Pitch;
}

std::u16string PitchesText(const TNuo4Pitches& A) {
    std::u16string S;
    for (const auto& X : A) S += X.ToABCText() + u" ";
    return S;
}

bool SamePitches(const TNuo4Pitches& A, const TNuo4Pitches& B) {
    if (A.size() != B.size()) return false;
    for (size_t I = 0; I < A.size(); ++I)
        if (!A[I].SameAs(B[I])) return false;
    return true;
}

std::vector<TNuo4ABCTokenType> TokenTypes(const TNuo4ABCTokenInfoItems& T) {
    std::vector<TNuo4ABCTokenType> R;
    for (const auto& X : T) R.push_back(X.aType);
    return R;
}

// Reads a voice token the way the section scan does: symbol after symbol, notes only.
std::vector<TrecNuo4ABCParseInfo_Note> ReadNotes(const std::u16string& S) {
    std::vector<TrecNuo4ABCParseInfo_Note> Notes;
    int32_t Pos = 0;
    while (Pos < static_cast<int32_t>(S.size())) {
        auto R = Read(S, Pos);
        if (!R.bOk) break;
        Notes.push_back(R.Note);
        Pos = R.EndPos + 1;
    }
    return Notes;
}

}  // namespace

// ---- Pitches and durations -------------------------------------------------------------------

TEST(NoteDuration, MissingDurationIsAQuarter) {
    const auto R = Read(u"5");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.EndPos, 0);
    EXPECT_EQ(R.Note.DurationValue(), sd4th);
    EXPECT_FALSE(R.Note.DurationHeader().IsValid());
    EXPECT_EQ(R.Note.GetTokenItems().FindFirst(ttNote_Duration), -1);
    ASSERT_EQ(R.Note.PitchesValue().size(), 1u);
    EXPECT_TRUE(R.Note.PitchesValue()[0].SameAs(P("5")));
}

TEST(NoteDuration, DurationDirectlyAfterThePitches) {
    auto R = Read(u"5_.");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.Note.DurationValue(), sd8thDot);
    EXPECT_EQ(R.Note.DurationHeader().ABCTextRange, TKoRange(1, 2));
    R = Read(u"0---");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.Note.DurationValue(), sd1th);
    EXPECT_TRUE(R.Note.PitchesValue()[0].IsRest());
    R = Read(u"3jf");  // the alternative underline and dot characters
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.Note.DurationValue(), sd8thDot);
}

TEST(NoteChord, BracketedPitchListIsAChord) {
    const auto R = Read(u"[135]--");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.EndPos, 6);
    EXPECT_TRUE(SamePitches(R.Note.PitchesValue(), {P("1"), P("3"), P("5")}));
    EXPECT_EQ(R.Note.PitchesHeader().ABCTextRange, TKoRange(0, 5));
    EXPECT_EQ(R.Note.DurationValue(), sd2thDot);
    EXPECT_DOUBLE_EQ(Duration_Beats(R.Note.DurationValue()), 3.0);
}

TEST(NoteChord, OnePitchInBracketsIsASingleNote) {
    const auto R = Read(u"[#5g]_");
    ASSERT_TRUE(R.bOk);
    ASSERT_EQ(R.Note.PitchesValue().size(), 1u);
    EXPECT_EQ(ToABCText_Pitches(R.Note.PitchesValue()), u"#5g");
}

TEST(NoteChord, MalformedChordsFailTheNote) {
    EXPECT_FALSE(Read(u"[]").bOk);
    EXPECT_FALSE(Read(u"[13").bOk);
    EXPECT_FALSE(Read(u"[13a]").bOk);
    EXPECT_FALSE(Read(u"[").bOk);
}

// ---- Where a note ends -----------------------------------------------------------------------

TEST(NoteEnd, APitchCharacterAfterThePitchesStartsTheNextNote) {
    auto R = Read(u"12");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.EndPos, 0);
    R = Read(u"5_b7");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.EndPos, 1);
    R = Read(u"5[13]");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.EndPos, 0);
    const auto Notes = ReadNotes(u"1_2_3_");
    ASSERT_EQ(Notes.size(), 3u);
    EXPECT_EQ(Notes[2].Header.ABCTextRange, TKoRange(4, 2));
}

TEST(NoteEnd, OtherCharactersEndTheNoteBeforeThem) {
    for (const char* S : {"5|", "5(6", "5\"a\"", "5 6", "5$", "5:|"}) {
        const auto R = Read(U(S));
        ASSERT_TRUE(R.bOk) << S;
        EXPECT_EQ(R.EndPos, 0) << S;
        EXPECT_EQ(R.Note.Header.ABCTextRange, TKoRange(0, 1)) << S;
    }
}

TEST(NoteEnd, NonControlGroupsAfterThePitchesEndTheNote) {
    auto R = Read(u"5{DunYin}");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.EndPos, 0);
    EXPECT_TRUE(R.Note.Articulations().Value.empty());
    R = Read(u"5{C:-1}");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.EndPos, 0);
    EXPECT_FALSE(R.Note.ControlOptions().IsValid());
    R = Read(u"5{56}");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.EndPos, 0);
}

TEST(NoteEnd, EmptyGroupAfterThePitchesAtTheTokenEndFormsNoNote) {
    EXPECT_FALSE(Read(u"5{}").bOk);
    EXPECT_FALSE(Read(u"5_{C:1}{}").bOk);
    // Inside the token the note ends before it; the next note skips it as a prefix group.
    const auto R = Read(u"5{}6");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.EndPos, 0);
    const auto Next = Read(u"5{}6", 1);
    ASSERT_TRUE(Next.bOk);
    EXPECT_EQ(Next.Note.Header.ABCTextRange, TKoRange(1, 3));
    EXPECT_EQ(Next.Note.PitchesHeader().ABCTextRange, TKoRange(3, 1));
}

// ---- What fails a note -----------------------------------------------------------------------

TEST(NoteFailure, DurationCharacterOutOfPlace) {
    EXPECT_FALSE(Read(u"5).").bOk);      // after an arc end
    EXPECT_FALSE(Read(u"5{C:1}_").bOk);  // after the control options
    EXPECT_FALSE(Read(u"5__-").bOk);     // a second duration of the other kind
    EXPECT_FALSE(Read(u".5").bOk);       // before the pitches
    EXPECT_FALSE(Read(u"(-5").bOk);
    const auto R = Read(u"5.)");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.Note.DurationValue(), sd4thDot);
    EXPECT_EQ(R.Note.ArcEndings().Value, 1);
}

TEST(NoteFailure, NoPitches) {
    for (const char* S : {"8", "9_", ")5", "a", "{DunYin}", "(", "((", "{56}", "{C:1}", "{}",
                          "{DunYin}|", "(g5", "d5"}) {
        const auto R = Read(U(S));
        EXPECT_FALSE(R.bOk) << S;
        EXPECT_EQ(R.EndPos, -1) << S;
        EXPECT_FALSE(R.Note.Header.IsValid()) << S;
    }
}

TEST(NoteFailure, UnmatchedBraceFailsTheNote) {
    EXPECT_FALSE(Read(u"{DunYin5").bOk);
    EXPECT_FALSE(Read(u"5{C:1.5").bOk);
    EXPECT_FALSE(Read(u"5_{").bOk);
}

TEST(NoteFailure, UnusableRangeFails) {
    TrecNuo4ABCParseInfo_Note N;
    int32_t End = 7;
    EXPECT_FALSE(ReadNote(u"", TKoRange(0, 1), N, End));
    EXPECT_EQ(End, -1);
    EXPECT_FALSE(ReadNote(u"5", TKoRange(0, 0), N, End));
    EXPECT_FALSE(ReadNote(u"5", TKoRange(0, 2), N, End));
    // A failed read leaves a previously filled record invalid.
    ASSERT_TRUE(ReadNote(u"5", TKoRange(0, 1), N, End));
    EXPECT_FALSE(ReadNote(u"8", TKoRange(0, 1), N, End));
    EXPECT_FALSE(N.IsValid());
    EXPECT_TRUE(N.PitchesValue().empty());
}

// ---- Arc starts and ends ---------------------------------------------------------------------

TEST(NoteArcs, SlurOverTwoNotes) {
    const auto Notes = ReadNotes(u"(1_2_)");
    ASSERT_EQ(Notes.size(), 2u);
    ASSERT_EQ(Notes[0].ArcStartings().Value.size(), 1u);
    EXPECT_EQ(Notes[0].ArcStartings().Value[0].TextRange, TKoRange(0, 1));
    EXPECT_TRUE(Notes[0].ArcStartings().Value[0].ABCInfo.IsDefault());
    EXPECT_EQ(Notes[0].ArcEndings().Value, 0);
    EXPECT_EQ(Notes[1].ArcEndings().Value, 1);
    EXPECT_EQ(Notes[1].ArcEndings().Header.ABCTextRange, TKoRange(5, 1));
    EXPECT_EQ(Notes[1].Header.ABCTextRange, TKoRange(3, 3));
}

TEST(NoteArcs, DepthsCountDownToZero) {
    const auto R = Read(u"((1");
    ASSERT_TRUE(R.bOk);
    const auto& Items = R.Note.ArcStartings().Value;
    ASSERT_EQ(Items.size(), 2u);
    EXPECT_EQ(Items[0].Depth, 1);
    EXPECT_EQ(Items[1].Depth, 0);
    EXPECT_EQ(Items[1].TextRange, TKoRange(1, 1));
    EXPECT_EQ(R.Note.ArcStartings().Header.ABCTextRange, TKoRange(0, 2));
    const auto R3 = Read(u"({(3}(1");
    ASSERT_TRUE(R3.bOk);
    ASSERT_EQ(R3.Note.ArcStartings().Value.size(), 3u);
    EXPECT_EQ(R3.Note.ArcStartings().Value[0].Depth, 2);
    EXPECT_EQ(R3.Note.ArcStartings().Value[1].ABCInfo.TupletNumber, 3);
    EXPECT_EQ(R3.Note.ArcStartings().Value[1].TextRange, TKoRange(1, 4));
    EXPECT_EQ(R3.Note.ArcStartings().Value[2].Depth, 0);
}

TEST(NoteArcs, TupletGroupOverThreeEighths) {
    const auto Notes = ReadNotes(u"{(3}1_2_3_)");
    ASSERT_EQ(Notes.size(), 3u);
    ASSERT_EQ(Notes[0].ArcStartings().Value.size(), 1u);
    const auto& Info = Notes[0].ArcStartings().Value[0].ABCInfo;
    EXPECT_EQ(Info.TupletNumber, 3);
    EXPECT_EQ(Info.Duration, 0);
    EXPECT_EQ(Notes[0].ArcStartings().Value[0].TextRange, TKoRange(0, 4));
    EXPECT_EQ(Notes[2].ArcEndings().Value, 1);
}

TEST(NoteArcs, PropertyItems) {
    TrecNuo4ArcABCInfo I;
    auto ReadProps = [&](const char* S) {
        const std::u16string T = U(S);
        return ReadArcABCInfo(T, All(T), I);
    };
    ASSERT_TRUE(ReadProps("3:2"));
    EXPECT_EQ(I.TupletNumber, 3);
    EXPECT_EQ(I.Duration, 2);
    ASSERT_TRUE(ReadProps(",0.5"));  // an empty first item is skipped
    EXPECT_EQ(I.TupletNumber, 0);
    EXPECT_FLOAT_EQ(I.VertOffsetCoef, 0.5f);
    ASSERT_TRUE(ReadProps("5:4, -1.25 , 3"));
    EXPECT_EQ(I.TupletNumber, 5);
    EXPECT_EQ(I.Duration, 4);
    EXPECT_FLOAT_EQ(I.VertOffsetCoef, -1.25f);
    EXPECT_EQ(I.ArrowStyle, aasArrowAndDot);
    ASSERT_TRUE(ReadProps("3,,9"));  // an unknown arrow style keeps the default
    EXPECT_EQ(I.ArrowStyle, aasNone);
    EXPECT_FALSE(ReadProps("x"));
    EXPECT_FALSE(ReadProps("3)"));
    EXPECT_FALSE(ReadProps("3:"));
    EXPECT_FALSE(ReadProps("3:a"));
    EXPECT_TRUE(ReadArcABCInfo(u"", TKoRange(0, 0), I));
    EXPECT_TRUE(I.IsDefault());
}

TEST(NoteArcs, GroupWithUnreadablePropertiesIsSkipped) {
    const auto R = Read(u"{(x}1");
    ASSERT_TRUE(R.bOk);
    EXPECT_TRUE(R.Note.ArcStartings().Value.empty());
    EXPECT_FALSE(R.Note.ArcStartings().Header.IsValid());
    // Inside a run it ends the run; the run before it stays.
    const auto R2 = Read(u"({(x}1");
    ASSERT_TRUE(R2.bOk);
    ASSERT_EQ(R2.Note.ArcStartings().Value.size(), 1u);
    EXPECT_EQ(R2.Note.ArcStartings().Header.ABCTextRange, TKoRange(0, 1));
}

TEST(NoteArcs, ALaterRunReplacesTheEarlierOne) {
    const auto R = Read(u"({DunYin}((1");
    ASSERT_TRUE(R.bOk);
    ASSERT_EQ(R.Note.ArcStartings().Value.size(), 2u);
    EXPECT_EQ(R.Note.ArcStartings().Value[0].Depth, 1);
    EXPECT_EQ(R.Note.ArcStartings().Header.ABCTextRange, TKoRange(9, 2));
    const auto Tokens = R.Note.GetTokenItems();
    EXPECT_EQ(Tokens.GetRangeOfFirst(ttNote_ArcStartings), TKoRange(9, 2));
    EXPECT_EQ(TokenTypes(Tokens), (std::vector<TNuo4ABCTokenType>{
                                      ttNote_Articulations, ttNote_ArcStartings, ttNote_Pitches}));
}

TEST(NoteArcs, ArcEndRunsAfterDurationAndControlOptions) {
    auto R = Read(u"5_))");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.Note.ArcEndings().Value, 2);
    EXPECT_EQ(R.Note.ArcEndings().Header.ABCTextRange, TKoRange(2, 2));
    R = Read(u"5){C:1})");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.EndPos, 7);
    EXPECT_EQ(R.Note.ArcEndings().Value, 2);
    EXPECT_FLOAT_EQ(R.Note.ControlOptions().Value.AWCoef.AWCoef, 1.0f);
    EXPECT_EQ(R.Note.GetPartHeader(pitNote_ArcEndings).TokenItems,
              (TNuo4ABCTokenInfoItems{{ttNote_ArcEndings, TKoRange(1, 1)},
                                      {ttNote_ArcEndings, TKoRange(7, 1)}}));
    EXPECT_EQ(TokenTypes(R.Note.GetTokenItems()),
              (std::vector<TNuo4ABCTokenType>{ttNote_Pitches, ttNote_ArcEndings, ttControlOptions,
                                              ttNote_ArcEndings}));
}

// ---- Articulations ---------------------------------------------------------------------------

TEST(NoteArticulations, NamedPiecesOnly) {
    auto R = Read(u"{DunYin,ZhongYin}5");
    ASSERT_TRUE(R.bOk);
    ASSERT_EQ(R.Note.Articulations().Value.size(), 2u);
    EXPECT_EQ(R.Note.Articulations().Value[0].Articulation, mfsaDunYin);
    EXPECT_EQ(R.Note.Articulations().Value[0].TextRange, TKoRange(1, 6));
    EXPECT_EQ(R.Note.Articulations().Value[1].Articulation, mfsaZhongYin);
    EXPECT_EQ(R.Note.Articulations().Header.ABCTextRange, TKoRange(0, 17));
    R = Read(u"{DunYin,Foo}5");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.Note.Articulations().Value.size(), 1u);
    R = Read(u"{Foo}5");
    ASSERT_TRUE(R.bOk);
    EXPECT_TRUE(R.Note.Articulations().Value.empty());
    EXPECT_EQ(R.Note.Header.ABCTextRange, TKoRange(0, 6));
    EXPECT_EQ(TokenTypes(R.Note.GetTokenItems()), (std::vector<TNuo4ABCTokenType>{ttNote_Pitches}));
}

TEST(NoteArticulations, NamesIgnoreCaseAndSurroundingWhite) {
    const auto R = Read(u"{ dunyin2 , BOYIN2,chanyin}5");
    ASSERT_TRUE(R.bOk);
    ASSERT_EQ(R.Note.Articulations().Value.size(), 3u);
    EXPECT_EQ(R.Note.Articulations().Value[0].Articulation, mfsaDunYin2);
    EXPECT_EQ(R.Note.Articulations().Value[0].TextRange, TKoRange(2, 7));
    EXPECT_EQ(R.Note.Articulations().Value[1].Articulation, mfsaBoYin2);
    EXPECT_EQ(R.Note.Articulations().Value[2].Articulation, mfsaChanYin);
}

TEST(NoteArticulations, ALaterGroupReplacesTheEarlierOne) {
    const auto R = Read(u"{DunYin}{ZhongYin,YanYin}5");
    ASSERT_TRUE(R.bOk);
    ASSERT_EQ(R.Note.Articulations().Value.size(), 2u);
    EXPECT_EQ(R.Note.Articulations().Value[0].Articulation, mfsaZhongYin);
    EXPECT_EQ(R.Note.GetTokenItems().GetRangeOfFirst(ttNote_Articulations), TKoRange(8, 17));
}

// ---- Grace notes -----------------------------------------------------------------------------

TEST(NoteGrace, GraceListBeforeTheMainNote) {
    auto R = Read(u"{56}5");
    ASSERT_TRUE(R.bOk);
    EXPECT_TRUE(SamePitches(R.Note.Grace().Value, {P("5"), P("6")}));
    EXPECT_TRUE(R.Note.Grace().Value2.empty());
    EXPECT_EQ(R.Note.Grace().Header.ABCTextRange, TKoRange(0, 4));
    R = Read(u"{56;7}5");
    ASSERT_TRUE(R.bOk);
    EXPECT_TRUE(SamePitches(R.Note.Grace().Value, {P("5"), P("6")}));
    EXPECT_TRUE(SamePitches(R.Note.Grace().Value2, {P("7")}));
    R = Read(u"{;7d}5");
    ASSERT_TRUE(R.bOk);
    EXPECT_TRUE(R.Note.Grace().Value.empty());
    EXPECT_TRUE(SamePitches(R.Note.Grace().Value2, {P("7d")}));
}

TEST(NoteGrace, IncompleteListsAreNotGrace) {
    for (const char* S : {"{56;}5", "{;}5", "{5a}5", "{5;6;7}5", "{5 6}5"}) {
        const auto R = Read(U(S));
        ASSERT_TRUE(R.bOk) << S;
        EXPECT_FALSE(R.Note.Grace().Header.IsValid()) << S;
        EXPECT_TRUE(R.Note.Grace().Value.empty()) << S;
    }
}

TEST(NoteGrace, OnlyTheFirstListBecomesTheGraceNotes) {
    const auto R = Read(u"{56;7}5");
    ASSERT_TRUE(R.bOk);
    const TrecNuo4SymbolNote Rec = R.Note.ToSymbolRecNote();
    EXPECT_TRUE(SamePitches(Rec.GraceNote.Get().Pitches, {P("5"), P("6")}));
    EXPECT_FALSE(Rec.GraceNote.Get().Options.bRight);
}

// ---- Control options on a note ---------------------------------------------------------------

TEST(NoteControlOptions, GroupAfterThePitches) {
    auto R = Read(u"5{C:1.5}");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.EndPos, 7);
    EXPECT_FLOAT_EQ(R.Note.ControlOptions().Value.AWCoef.AWCoef, 1.5f);
    EXPECT_EQ(R.Note.ControlOptions().Header.ABCTextRange, TKoRange(1, 7));
    R = Read(u"5_{C:0,None}))");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.Note.ControlOptions().Value.HideLevel, shlAll);
    EXPECT_EQ(R.Note.ArcEndings().Value, 2);
}

TEST(NoteControlOptions, TinyNegativeFactorIsKeptAndWrittenBack) {
    const auto R = Read(u"5{C:-0.005}");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.EndPos, 10);
    const TrecNuo4SymbolNote Rec = R.Note.ToSymbolRecNote();
    EXPECT_FLOAT_EQ(Rec.ControlOptions.AWCoef.AWCoef, -0.005f);
    EXPECT_EQ(Rec.ToABCText(), u"5{C:-0.005}");
}

TEST(NoteControlOptions, GroupBeforeThePitchesIsSkipped) {
    const auto R = Read(u"{C:1.5}5");
    ASSERT_TRUE(R.bOk);
    EXPECT_FALSE(R.Note.ControlOptions().IsValid());
    EXPECT_TRUE(R.Note.ControlOptions().Value.IsDefault_All());
}

TEST(NoteControlOptions, ALaterGroupReplacesTheEarlierOne) {
    const auto R = Read(u"5{C:1}{C:2}");
    ASSERT_TRUE(R.bOk);
    EXPECT_FLOAT_EQ(R.Note.ControlOptions().Value.AWCoef.AWCoef, 2.0f);
    EXPECT_EQ(R.Note.GetTokenItems().GetRangeOfFirst(ttControlOptions), TKoRange(6, 5));
    EXPECT_EQ(R.Note.GetTokenItems().size(), 2u);
}

// ---- Ranges and tokens -----------------------------------------------------------------------

TEST(NoteTokens, OneTokenPerSubPartInReadingOrder) {
    const std::u16string S = u"({DunYin}{12}[35]_.{C:1.5})";
    const auto R = Read(S);
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.EndPos, static_cast<int32_t>(S.size()) - 1);
    const auto& N = R.Note;
    EXPECT_EQ(N.Header.aType, pitNote);
    EXPECT_EQ(N.Header.ABCTextRange, All(S));
    EXPECT_EQ(TokenTypes(N.GetTokenItems()),
              (std::vector<TNuo4ABCTokenType>{ttNote_ArcStartings, ttNote_Articulations,
                                              ttNote_Grace, ttNote_Pitches, ttNote_Duration,
                                              ttControlOptions, ttNote_ArcEndings}));
    EXPECT_EQ(N.ArcStartings().Header.aType, pitNote_ArcStartings);
    EXPECT_EQ(N.Articulations().Header.aType, pitNote_Articulations);
    EXPECT_EQ(N.Grace().Header.aType, pitNote_Grace);
    EXPECT_EQ(N.PitchesHeader().aType, pitNote_Pithces);
    EXPECT_EQ(N.DurationHeader().aType, pitNote_Duration);
    EXPECT_EQ(N.ControlOptions().Header.aType, pitSymbolControlOptions);
    EXPECT_EQ(N.ArcEndings().Header.aType, pitNote_ArcEndings);
    // Each sub-record's range matches the note's token of that type, and its full header is
    // that token alone.
    const std::pair<TNuo4ABCParseInfoType, const char*> Parts[] = {
        {pitNote_ArcStartings, "("}, {pitNote_Articulations, "{DunYin}"},
        {pitNote_Grace, "{12}"},     {pitNote_Pithces, "[35]"},
        {pitNote_Duration, "_."},    {pitSymbolControlOptions, "{C:1.5}"},
        {pitNote_ArcEndings, ")"}};
    for (const auto& [Type, Text] : Parts) {
        const TrecNuo4ABCParseInfo_SymbolHeader Part = N.GetPartHeader(Type);
        EXPECT_EQ(Part.aType, Type) << Text;
        EXPECT_EQ(Utf8(ABC_GetRangeText(S, Part.ABCTextRange)), Text);
        ASSERT_EQ(Part.TokenItems.size(), 1u) << Text;
        EXPECT_EQ(Part.TokenItems[0].ABCTextRange, Part.ABCTextRange) << Text;
        EXPECT_EQ(N.GetTokenItems().GetRangeOfFirst(Part.TokenItems[0].aType), Part.ABCTextRange)
            << Text;
    }
    // A note without a part answers the invalid header for it.
    const auto Plain = Read(u"5");
    EXPECT_FALSE(Plain.Note.HasMarks());
    EXPECT_FALSE(Plain.Note.GetPartHeader(pitNote_Grace).IsValid());
    EXPECT_TRUE(Plain.Note.GetPartHeader(pitNote_ArcEndings).TokenItems.empty());
    // The groups before the pitches may come in any order; the tokens follow the text.
    const auto Mixed = Read(u"{12}({DunYin}5)");
    ASSERT_TRUE(Mixed.bOk);
    EXPECT_EQ(
        TokenTypes(Mixed.Note.GetTokenItems()),
        (std::vector<TNuo4ABCTokenType>{ttNote_Grace, ttNote_ArcStartings, ttNote_Articulations,
                                        ttNote_Pitches, ttNote_ArcEndings}));
}

TEST(NoteTokens, RangeIsRelativeToTheWholeText) {
    const std::u16string S = u"| 5_{C:2} |";
    const auto R = Read(S, 2);
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.EndPos, 8);
    EXPECT_EQ(R.Note.Header.ABCTextRange, TKoRange(2, 7));
    EXPECT_EQ(R.Note.DurationHeader().ABCTextRange, TKoRange(3, 1));
}

// ---- The note symbol record ------------------------------------------------------------------

TEST(NoteSymbolRec, ToSymbolRecNoteTakesDurationPitchesGraceAndOptions) {
    const auto R = Read(u"{DunYin}{3}5_.{C:1.5}");
    ASSERT_TRUE(R.bOk);
    const TrecNuo4SymbolNote Rec = R.Note.ToSymbolRecNote();
    EXPECT_EQ(Rec.GetDuration(), sd8thDot);
    EXPECT_TRUE(Rec.GetMainNotePitch().SameAs(P("5")));
    EXPECT_FALSE(Rec.IsChord());
    EXPECT_TRUE(SamePitches(Rec.GraceNote.Get().Pitches, {P("3")}));
    EXPECT_FLOAT_EQ(Rec.ControlOptions.AWCoef.AWCoef, 1.5f);
    // A dotted note starts its spacing entries at the right-dot position.
    EXPECT_FLOAT_EQ(Rec.MainNote.Options.RightLineSpacingCoefArray[0], 0.9f);
    const TrecNuo4SymbolNote Plain = Read(u"5--").Note.ToSymbolRecNote();
    EXPECT_FLOAT_EQ(Plain.MainNote.Options.RightLineSpacingCoefArray[6], 1.0f);
    EXPECT_EQ(Read(u"5").Note.ToSymbolRecNote().GetDuration(), sd4th);
}

TEST(NoteSymbolRec, FreshRecordsTakeTheDocumentDefaults) {
    TrecNuo4DocOptions& D = Nuo4DocOptions();
    D.Grace_PosCoef = {0.3f, 0.2f};
    D.RightLine_SpacingCoef_Default = 1.5f;
    D.RightDot_DefaultPosCoef = {0.7f, 0};
    D.Param_Chord.bUseCommonRightDuration = false;
    const TrecNuo4SymbolNote Plain = Read(u"{1}[35]-").Note.ToSymbolRecNote();
    const TrecNuo4SymbolNote Dotted = Read(u"5.").Note.ToSymbolRecNote();
    D.SetToDefault();
    EXPECT_FLOAT_EQ(Plain.GraceNote.Get().Options.GapCoef.X, 0.3f);
    EXPECT_FLOAT_EQ(Plain.GraceNote.Get().Options.GapCoef.Y, 0.2f);
    EXPECT_FLOAT_EQ(Plain.MainNote.Options.RightLineSpacingCoefArray[0], 1.5f);
    EXPECT_FALSE(Plain.ChordNote.Get().Options.bUseCommonRightDuration);
    EXPECT_FLOAT_EQ(Dotted.MainNote.Options.RightLineSpacingCoefArray[0], 0.7f);
    EXPECT_FLOAT_EQ(
        Read(u"5.").Note.ToSymbolRecNote().MainNote.Options.RightLineSpacingCoefArray[0], 0.9f);
}

TEST(NoteSymbolRec, ChordPitchesAreSortedWithTheLowestInTheMainNote) {
    const TrecNuo4SymbolNote Rec = Read(u"[5g31d]_").Note.ToSymbolRecNote();
    ASSERT_TRUE(Rec.IsChord());
    EXPECT_EQ(PitchesText(Rec.ChordNote.Get().Pitches), u"1d 3 5g ");
    EXPECT_TRUE(Rec.GetMainNotePitch().SameAs(P("1d")));
    EXPECT_EQ(Rec.GetDuration(), sd8th);
    EXPECT_EQ(Rec.ToABCText(), u"[1d35g]_");
}

TEST(NoteSymbolRec, AttachmentsInfoCarriesArcsAndArticulations) {
    const auto R = Read(u"({(3}{BoYin}5_))");
    ASSERT_TRUE(R.bOk);
    const auto Info = R.Note.GetABCAttachmentsInfo();
    EXPECT_EQ(Info.ArcInfo.ArcStartCount_Copy, 2);
    EXPECT_EQ(Info.ArcInfo.ArcEndCount_Copy, 2);
    ASSERT_EQ(Info.ArcInfo.ArcStartings.size(), 2u);
    EXPECT_EQ(Info.ArcInfo.ArcStartings[1].ABCInfo.TupletNumber, 3);
    EXPECT_EQ(Info.ArcInfo.ArcEndings.Header.ABCTextRange, TKoRange(14, 2));
    ASSERT_EQ(Info.Articulations.size(), 1u);
    EXPECT_EQ(Info.Articulations[0].Articulation, mfsaBoYin);
    EXPECT_FALSE(Info.FangZiInfo.bWithFangZi);
}

TEST(NoteSymbolRec, WholeStringParse) {
    TrecNuo4SymbolNote Rec;
    ASSERT_TRUE(GetSymbolRecNote_FromABCText(u"  [13]_ rest", Rec));
    EXPECT_TRUE(Rec.IsChord());
    EXPECT_EQ(Rec.GetDuration(), sd8th);
    ASSERT_TRUE(GetSymbolRecNote_FromABCText(u"{7}6--|", Rec));
    EXPECT_EQ(Rec.ToABCText(), u"{7}6--");
    EXPECT_FALSE(GetSymbolRecNote_FromABCText(u"|5", Rec));
    EXPECT_FALSE(GetSymbolRecNote_FromABCText(u"", Rec));
    EXPECT_FALSE(GetSymbolRecNote_FromABCText(u"   ", Rec));
}

// ---- Writers ---------------------------------------------------------------------------------

TEST(NoteWriters, ArcStartingForms) {
    TrecNuo4ArcABCInfo I;
    EXPECT_EQ(ToABCText_ArcStarting(I), u"(");
    I.VertOffsetCoef = 0.5f;
    EXPECT_EQ(ToABCText_ArcStarting(I), u"{(,0.50}");
    I.SetToDefault();
    I.TupletNumber = 3;
    EXPECT_EQ(ToABCText_ArcStarting(I), u"{(3}");
    I.Duration = 2;
    EXPECT_EQ(ToABCText_ArcStarting(I), u"{(3:2}");
    I.VertOffsetCoef = -1.25f;
    EXPECT_EQ(ToABCText_ArcStarting(I), u"{(3:2,-1.25}");
    I.ArrowStyle = aasHorzLine;
    EXPECT_EQ(ToABCText_ArcStarting(I), u"{(3:2,-1.25,4}");
    I.SetToDefault();
    I.ArrowStyle = aasArrow;
    EXPECT_EQ(ToABCText_ArcStarting(I), u"{(0:0,0.00,1}");
    I.SetToDefault();
    I.TupletNumber = 3;
    I.VertOffsetCoef = 1;
    EXPECT_EQ(ToABCText_ArcStarting(I), u"{(3:0,1.00}");
}

TEST(NoteWriters, SubParts) {
    EXPECT_EQ(ToABCText_Articulations(TNuo4Articulations{mfsaDunYin, mfsaChanYin}),
              u"{DunYin,ChanYin}");
    EXPECT_EQ(ToABCText_Articulations(TNuo4Articulations{}), u"");
    EXPECT_EQ(ToABCText_Grace({P("5"), P("6")}), u"{56}");
    EXPECT_EQ(ToABCText_Grace({P("5")}, {P("#7d")}), u"{5;#7d}");
    EXPECT_EQ(ToABCText_Grace({}), u"");
    EXPECT_EQ(ToABCText_Pitches({P("1"), P("3"), P("5")}), u"[135]");
    EXPECT_EQ(ToABCText_Pitches({P("b3g")}), u"b3g");
    EXPECT_EQ(ToABCText_Pitches({}), u"");
    EXPECT_EQ(ToABCText_ArcEndings(3), u")))");
    EXPECT_EQ(ToABCText_ArcEndings(0), u"");
    EXPECT_EQ(ToABCText_ArcEndings(-2), u"");
    EXPECT_EQ(ToABCText_Duration(sd16thDot), u"__.");
}

TEST(NoteWriters, NewNotesStandWithoutSeparators) {
    EXPECT_EQ(ToABCText_NewNote({P("1"), P("3"), P("5")}, sd8th), u"[135]_");
    TrecNuo4MusicPureNote N;
    N.Initialize(P("5"), sd4th);
    EXPECT_EQ(ToABCText_NewNote(N), u"5");
    N.Initialize(P("2"), sd2th);
    const std::u16string Two = ToABCText_NewNote(N) + ToABCText_NewNote(N);
    EXPECT_EQ(Two, u"2-2-");
    EXPECT_EQ(ReadNotes(Two).size(), 2u);
}

// ---- Round trip ------------------------------------------------------------------------------

namespace {

TrecNuo4Pitch RandomPitch(std::mt19937& G) {
    TrecNuo4Pitch Pitch;
    if (G() % 8 == 0) {
        static const char16_t DrumChars[] = {0, u'A', u'}', 0x4E2D, 0x00E9, 0xF123, u' '};
        Pitch.Initialize_ToDrumPitch(DrumChars[G() % 7], G() % 2 == 0);
        return Pitch;
    }
    const int Digit = static_cast<int>(G() % 8);
    const int Octave = static_cast<int>(G() % 7) - 3;
    static const TNuo4Accidental Accs[] = {ssNone, ssNone, ssSharp, ssFlat, ssNatural};
    Pitch.Initialize_ToNormalPitch(static_cast<TNuo4Digit>(Digit), Octave, Accs[G() % 5]);
    return Pitch;
}

TNuo4Pitches RandomPitches(std::mt19937& G, int AMin, int AMax) {
    TNuo4Pitches R;
    const int N = AMin + static_cast<int>(G() % (AMax - AMin + 1));
    for (int I = 0; I < N; ++I) R.push_back(RandomPitch(G));
    return R;
}

// A parse record built from random values, with no ranges: what the writers are given.
TrecNuo4ABCParseInfo_Note RandomNote(std::mt19937& G) {
    TrecNuo4ABCParseInfo_Note N;
    const int Arcs = static_cast<int>(G() % 4);
    for (int I = 0; I < Arcs; ++I) {
        TrecNuo4ABCArcStartingsInfoItem Item;
        if (G() % 2) {
            Item.ABCInfo.TupletNumber = static_cast<int32_t>(G() % 10);
            Item.ABCInfo.Duration = G() % 2 ? static_cast<int32_t>(G() % 9) : 0;
            Item.ABCInfo.VertOffsetCoef =
                G() % 2 ? (static_cast<int>(G() % 801) - 400) / 100.0f : 0;
            Item.ABCInfo.ArrowStyle = G() % 2 ? static_cast<TNuo4ArcArrowStyle>(G() % 5) : aasNone;
        }
        Item.Depth = Arcs - 1 - I;
        N.MutArcStartings().Value.push_back(Item);
    }
    const int Arts = static_cast<int>(G() % 4);
    for (int I = 0; I < Arts; ++I)
        N.MutArticulations().Value.push_back(
            {static_cast<TNuo4Articulation>(G() % Nuo4ArticulationCount), TKoRange()});
    if (G() % 2) {
        N.MutGrace().Value = RandomPitches(G, 0, 3);
        if (G() % 3 == 0) N.MutGrace().Value2 = RandomPitches(G, 1, 2);
    }
    N.SetPitchesValue(RandomPitches(G, 1, 4));
    N.SetDurationValue(static_cast<TNuo4Duration>(1 + G() % (Nuo4DurationCount - 1)));
    if (G() % 2) {
        auto& O = N.MutControlOptions().Value;
        if (G() % 2) O.LockTo(static_cast<float>(G() % 4000) / 1000.0f);
        if (G() % 3 == 0)
            for (int I = 0; I < Nuo4RightLineSpacingCoefCount; ++I)
                O.AWCoef.RightLineSpacingCoefArray[I] = static_cast<float>(G() % 3000) / 1000.0f;
        O.HideLevel = static_cast<TNuo4SymbolHideLevel>(G() % Nuo4SymbolHideLevelCount);
        O.UnderlineConnectType =
            static_cast<TNuo4UnderlineConnectType>(G() % Nuo4UnderlineConnectTypeCount);
    }
    N.MutArcEndings().Value = static_cast<int32_t>(G() % 4);
    return N;
}

void ExpectSameValues(const TrecNuo4ABCParseInfo_Note& A, const TrecNuo4ABCParseInfo_Note& B,
                      const std::u16string& AText) {
    const std::string T = Utf8(AText);
    ASSERT_EQ(A.ArcStartings().Value.size(), B.ArcStartings().Value.size()) << T;
    for (size_t I = 0; I < A.ArcStartings().Value.size(); ++I) {
        EXPECT_EQ(A.ArcStartings().Value[I].ABCInfo, B.ArcStartings().Value[I].ABCInfo) << T;
        EXPECT_EQ(A.ArcStartings().Value[I].Depth, B.ArcStartings().Value[I].Depth) << T;
    }
    ASSERT_EQ(A.Articulations().Value.size(), B.Articulations().Value.size()) << T;
    for (size_t I = 0; I < A.Articulations().Value.size(); ++I)
        EXPECT_EQ(A.Articulations().Value[I].Articulation, B.Articulations().Value[I].Articulation)
            << T;
    EXPECT_TRUE(SamePitches(A.Grace().Value, B.Grace().Value)) << T;
    EXPECT_TRUE(SamePitches(A.Grace().Value2, B.Grace().Value2)) << T;
    EXPECT_TRUE(SamePitches(A.PitchesValue(), B.PitchesValue())) << T;
    const auto Dur = [](TNuo4Duration D) { return D == sdNone ? sd4th : D; };
    EXPECT_EQ(Dur(A.DurationValue()), Dur(B.DurationValue())) << T;
    EXPECT_EQ(A.ControlOptions().Value.ToABCText(), B.ControlOptions().Value.ToABCText()) << T;
    EXPECT_EQ(A.ArcEndings().Value, B.ArcEndings().Value) << T;
}

}  // namespace

TEST(NoteRoundTrip, WrittenNotesReadBackToTheSameRecords) {
    std::mt19937 G(20261209);
    for (int Case = 0; Case < 3000; ++Case) {
        const TrecNuo4ABCParseInfo_Note Built = RandomNote(G);
        const std::u16string Text = Built.ToABCText();
        const auto R = Read(Text);
        ASSERT_TRUE(R.bOk) << Utf8(Text);
        EXPECT_EQ(R.EndPos, static_cast<int32_t>(Text.size()) - 1) << Utf8(Text);
        ExpectSameValues(Built, R.Note, Text);
        EXPECT_EQ(R.Note.ToABCText(), Text);
        // Several notes written one after another read back one by one.
        const std::u16string Second = RandomNote(G).ToABCText();
        const auto Both = ReadNotes(Text + Second);
        ASSERT_GE(Both.size(), 2u) << Utf8(Text + Second);
        EXPECT_EQ(Both[0].Header.ABCTextRange, All(Text)) << Utf8(Text + Second);
    }
}

TEST(NoteRoundTrip, SymbolRecordTextReadsBack) {
    std::mt19937 G(7);
    for (int Case = 0; Case < 500; ++Case) {
        const TrecNuo4SymbolNote Rec = RandomNote(G).ToSymbolRecNote();
        const std::u16string Text = Rec.ToABCText();
        TrecNuo4SymbolNote Back;
        ASSERT_TRUE(GetSymbolRecNote_FromABCText(Text, Back)) << Utf8(Text);
        EXPECT_EQ(Back.ToABCText(), Text);
        EXPECT_TRUE(SamePitches(Back.GetPitches(), Rec.GetPitches())) << Utf8(Text);
        EXPECT_TRUE(SamePitches(Back.GraceNote.Get().Pitches, Rec.GraceNote.Get().Pitches))
            << Utf8(Text);
        EXPECT_EQ(Back.ControlOptions, Rec.ControlOptions) << Utf8(Text);
    }
}

TEST(NoteNames, ArrowStyleEnumNames) {
    EXPECT_STREQ(EnumName(aasArrowAndDot), "aasArrowAndDot");
    EXPECT_STREQ(EnumName(static_cast<TNuo4ArcArrowStyle>(40)), "");
}

// ---- Robustness ------------------------------------------------------------------------------

TEST(NoteRobustness, RandomTextKeepsRangesInsideAndRereadsTheSame) {
    static const std::vector<std::u16string> Pieces = {
        u"(",     u")",  u"{",  u"}",       u"[",      u"]",   u"#",   u"b",    u"0",
        u"1",     u"5",  u"7",  u"8",       u"x",      u"X",   u"g",   u"d",    u"'",
        u",",     u"_",  u".",  u"-",       u"f",      u"j",   u"z",   u";",    u":",
        u"|",     u" ",  u"\\", u"\\x4e2d", u"\u4e2d", u"{C:", u"1.5", u"None", u"DunYin",
        u"{(3:2", u"{}", u"C:", u"Connect", u"-1"};
    std::mt19937 G(99);
    int Read_ = 0;
    for (int Case = 0; Case < 20000; ++Case) {
        std::u16string S;
        const int N = 1 + static_cast<int>(G() % 12);
        for (int I = 0; I < N; ++I) S += Pieces[G() % Pieces.size()];
        const auto R = Read(S);
        if (!R.bOk) {
            EXPECT_EQ(R.EndPos, -1);
            continue;
        }
        ++Read_;
        const std::string T = Utf8(S);
        ASSERT_GE(R.EndPos, 0) << T;
        ASSERT_LT(R.EndPos, static_cast<int32_t>(S.size())) << T;
        EXPECT_EQ(R.Note.Header.ABCTextRange, TKoRange::FromStartEnd(0, R.EndPos)) << T;
        EXPECT_FALSE(R.Note.PitchesValue().empty()) << T;
        for (const auto& Tok : R.Note.GetTokenItems()) {
            EXPECT_GE(Tok.ABCTextRange.StartIndex, 0) << T;
            EXPECT_LE(Tok.ABCTextRange.EndIndex(), R.EndPos) << T;
        }
        // The note's own text, read alone, gives the same note.
        const std::u16string Own = S.substr(0, R.EndPos + 1);
        const auto Again = Read(Own);
        ASSERT_TRUE(Again.bOk) << T;
        EXPECT_EQ(Again.EndPos, R.EndPos) << T;
        EXPECT_EQ(Again.Note.GetTokenItems(), R.Note.GetTokenItems()) << T;
        // The canonical text is a fixed point of reading and writing.
        const std::u16string Canon = R.Note.ToABCText();
        const auto C = Read(Canon);
        ASSERT_TRUE(C.bOk) << T << " -> " << Utf8(Canon);
        EXPECT_EQ(C.EndPos, static_cast<int32_t>(Canon.size()) - 1) << Utf8(Canon);
        EXPECT_EQ(C.Note.ToABCText(), Canon) << T;
    }
    EXPECT_GT(Read_, 1000);
}

// ---- The record's out-of-line marks ------------------------------------------------------------

TEST(NoteRecord, MarksOfAnEarlierReadLeaveTheRecordAndCopiesKeepTheirOwn) {
    // The voice scan reads into one record again and again: a plain note read after a marked
    // one, or a read that fails after its marks, must not keep them.
    const std::u16string Marked = u"({DunYin}{12}5{C:1.5}))";
    TrecNuo4ABCParseInfo_Note N;
    int32_t End = -1;
    ASSERT_TRUE(ReadNote(Marked, All(Marked), N, End));
    ASSERT_TRUE(N.HasMarks());
    const TrecNuo4ABCParseInfo_Note Copy = N;
    for (const std::u16string S : {u"6", u"(7{"}) {
        ReadNote(S, All(S), N, End);
        EXPECT_FALSE(N.HasMarks()) << Utf8(S);
        EXPECT_TRUE(N.ArcStartings().Value.empty() && N.Articulations().Value.empty() &&
                    N.Grace().Value.empty() && N.ArcEndings().Value == 0 &&
                    !N.ControlOptions().IsValid())
            << Utf8(S);
    }
    EXPECT_EQ(Copy.ToABCText(), u"({DunYin}{12}5{C:1.500}))");
    EXPECT_EQ(Copy.GetPartHeader(pitNote_ArcEndings).TokenItems.size(), 1u);
}
