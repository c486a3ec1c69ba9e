#include "format/horz_location.h"

#include <gtest/gtest.h>

#include "test_util.h"

using namespace nuo4;
using nuo4::test::All;

namespace {

// Reads the whole string; the end position must be reported for success.
bool Read(std::u16string_view S, TrecNuo4HorzLocation& L, int32_t& End) {
    return ReadHorzLocation(S, All(S), L, End);
}

}  // namespace

TEST(HorzLocationRead, BasicIndexIsOneBasedAfterDoubleAt) {
    TrecNuo4HorzLocation L;
    int32_t End = -1;
    ASSERT_TRUE(Read(u"@@12", L, End));
    EXPECT_EQ(L.aType, hltAbsLocate_BasicIndex);
    EXPECT_EQ(L.AbsLocate_BasicIndex_BasicIndex, 11);
    EXPECT_EQ(End, 3);
    EXPECT_FALSE(Read(u"@@0", L, End));
    EXPECT_FALSE(Read(u"@@", L, End));
    EXPECT_EQ(L.aType, hltNone);
}

TEST(HorzLocationRead, BarlineAndNotePairIsOneBased) {
    TrecNuo4HorzLocation L;
    int32_t End = -1;
    ASSERT_TRUE(Read(u"@3,2 rest", L, End));
    EXPECT_EQ(L.aType, hltAbsLocate_BarlineAndNote);
    EXPECT_EQ(L.AbsLocate_BarlineAndNote_BarlinePos, 2);
    EXPECT_EQ(L.AbsLocate_BarlineAndNote_NotePos, 1);
    EXPECT_EQ(End, 3);
    EXPECT_FALSE(Read(u"@3,0", L, End));
    EXPECT_FALSE(Read(u"@3,", L, End));
    EXPECT_FALSE(Read(u"@0,2", L, End));
}

TEST(HorzLocationRead, DecimalPointGivesMeasurePosition) {
    TrecNuo4HorzLocation L;
    int32_t End = -1;
    ASSERT_TRUE(Read(u"@2.5", L, End));
    EXPECT_EQ(L.aType, hltAbsLocate_MeasurePos);
    EXPECT_FLOAT_EQ(L.AbsLocate_MeasurePos_MeasurePos, 1.5f);
    EXPECT_EQ(End, 3);
    EXPECT_FALSE(Read(u"@0.5", L, End));  // integer part below 1
}

TEST(HorzLocationRead, SideLetterGivesBarlineSide) {
    TrecNuo4HorzLocation L;
    int32_t End = -1;
    ASSERT_TRUE(Read(u"@3R", L, End));
    EXPECT_EQ(L.aType, hltAbsLocate_Barline);
    EXPECT_EQ(L.AbsLocate_Barline_MeasurePos, 2);
    EXPECT_FALSE(L.AbsLocate_Barline_bLeft);
    EXPECT_EQ(End, 2);
    ASSERT_TRUE(Read(u"@1l", L, End));
    EXPECT_TRUE(L.AbsLocate_Barline_bLeft);
}

TEST(HorzLocationRead, IntegerWithoutContinuationDoesNotRead) {
    TrecNuo4HorzLocation L;
    int32_t End = 0;
    EXPECT_FALSE(Read(u"@2", L, End));
    EXPECT_FALSE(Read(u"@2x", L, End));
    EXPECT_FALSE(Read(u"@", L, End));
    EXPECT_FALSE(Read(u"x@2,1", L, End));
    EXPECT_EQ(End, -1);
}

TEST(HorzLocationRead, RelativeRunCountsBarsAndNotes) {
    TrecNuo4HorzLocation L;
    int32_t End = -1;
    ASSERT_TRUE(Read(u"||//x", L, End));
    EXPECT_EQ(L.aType, hltRelLocate_BarlineAndNote);
    EXPECT_EQ(L.RelLocate_BarlineAndNote_BarlinesCount, 2);
    EXPECT_EQ(L.RelLocate_BarlineAndNote_NotesCount, 2);
    EXPECT_EQ(End, 3);
    ASSERT_TRUE(Read(u"/|/", L, End));
    EXPECT_EQ(L.RelLocate_BarlineAndNote_BarlinesCount, 1);
    EXPECT_EQ(L.RelLocate_BarlineAndNote_NotesCount, 2);
}

TEST(HorzLocationRead, StaysInsideTheGivenRange) {
    const std::u16string T = u"a@12,34";
    TrecNuo4HorzLocation L;
    int32_t End = -1;
    ASSERT_TRUE(ReadHorzLocation(T, TKoRange(1, 5), L, End));  // "@12,3"
    EXPECT_EQ(L.AbsLocate_BarlineAndNote_NotePos, 2);
    EXPECT_EQ(End, 5);
    EXPECT_FALSE(ReadHorzLocation(T, TKoRange(1, 10), L, End));  // unusable range
}

TEST(HorzLocationWrite, EveryTypeReadsBackEqual) {
    TrecNuo4HorzLocation A;
    A.aType = hltAbsLocate_Barline;
    A.AbsLocate_Barline_MeasurePos = 2;
    A.AbsLocate_Barline_bLeft = true;
    TrecNuo4HorzLocation B;
    B.aType = hltAbsLocate_MeasurePos;
    B.AbsLocate_MeasurePos_MeasurePos = 0.25f;
    TrecNuo4HorzLocation C;
    C.aType = hltAbsLocate_BarlineAndNote;
    C.AbsLocate_BarlineAndNote_BarlinePos = 4;
    C.AbsLocate_BarlineAndNote_NotePos = 0;
    TrecNuo4HorzLocation D;
    D.aType = hltAbsLocate_BasicIndex;
    D.AbsLocate_BasicIndex_BasicIndex = 9;
    TrecNuo4HorzLocation E;
    E.InitializeToSkipNoteCount(3);
    E.RelLocate_BarlineAndNote_BarlinesCount = 1;

    EXPECT_EQ(A.ToABCText(), u"@3L");
    EXPECT_EQ(B.ToABCText(), u"@1.25");
    EXPECT_EQ(C.ToABCText(), u"@5,1");
    EXPECT_EQ(D.ToABCText(), u"@@10");
    EXPECT_EQ(E.ToABCText(), u"|///");
    for (const auto& X : {A, B, C, D, E}) {
        const std::u16string S = X.ToABCText();
        TrecNuo4HorzLocation R;
        int32_t End = -1;
        ASSERT_TRUE(Read(S, R, End)) << nuo4::test::Utf8(S);
        EXPECT_EQ(R, X) << nuo4::test::Utf8(S);
        EXPECT_EQ(End, static_cast<int32_t>(S.size()) - 1);
    }
}

TEST(HorzLocationWrite, NoneWritesNothingAndDefaultsAreFirstNote) {
    TrecNuo4HorzLocation L;
    EXPECT_EQ(L.aType, hltAbsLocate_BarlineAndNote);
    EXPECT_EQ(L.ToABCText(), u"@1,1");
    L.InitializeToNoteIndex(4);
    EXPECT_EQ(L.ToABCText(), u"@1,5");
    L.SetToInvalid();
    EXPECT_EQ(L.ToABCText(), u"");
}

TEST(HorzLocationAdjust, OnlyRelativeLocationsMove) {
    TrecNuo4HorzLocation R;
    R.InitializeToSkipNoteCount(2);
    EXPECT_EQ(R.AdjustForRelBarlineNote(3).RelLocate_BarlineAndNote_NotesCount, 5);
    TrecNuo4HorzLocation A;
    A.InitializeToNoteIndex(2);
    EXPECT_EQ(A.AdjustForRelBarlineNote(3), A);
}
