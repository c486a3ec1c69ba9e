#include "format/lyric_prefix.h"

#include <gtest/gtest.h>

#include "format/section_lyrics.h"
#include "test_util.h"

using namespace nuo4;
using nuo4::test::All;
using nuo4::test::U;
using nuo4::test::Utf8;

namespace {

struct TPrefixRead {
    bool bOk = false;
    int32_t End = -1;
    TrecNuo4LyricVersePrefix_WithParseInfo P;
};

TPrefixRead ReadPrefix(std::string_view S) {
    const std::u16string T = U(S);
    TPrefixRead R;
    R.bOk = ReadLyricVersePrefix(T, All(T), R.P, R.End);
    return R;
}

}  // namespace

// ---- Reader -------------------------------------------------------------------------------

TEST(VersePrefixReader, ShortFormsKeepTheDefaults) {
    for (const char* S : {"W:", "w1:"}) {
        const TPrefixRead R = ReadPrefix(S);
        ASSERT_TRUE(R.bOk) << S;
        EXPECT_EQ(R.P.Value, TrecNuo4LyricVersePrefix()) << S;
        EXPECT_EQ(R.End, static_cast<int32_t>(std::string_view(S).size()) - 1);
        EXPECT_EQ(R.P.Header.aType, pitLocationPrefix);
        EXPECT_EQ(R.P.Header.ABCTextRange, TKoRange(0, R.End + 1));
        EXPECT_EQ(R.P.Header.TokenItems.GetRangeOfFirst(ttLyricPrefix), R.P.Header.ABCTextRange);
    }
    TPrefixRead R = ReadPrefix("W2:我");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.P.Value.VertInfo.VerseNumber, 1);
    EXPECT_EQ(R.End, 2);
    R = ReadPrefix("W1-2:");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.P.Value.VertInfo.VerseCount, 2);
    EXPECT_TRUE(R.P.Value.VertInfo.IsCompound());
}

TEST(VersePrefixReader, VerseNumberAndCountAreBounded) {
    EXPECT_FALSE(ReadPrefix("W0:").bOk);  // numbers count from 1
    EXPECT_FALSE(ReadPrefix("W-1:").bOk);
    EXPECT_FALSE(ReadPrefix("W1-0:").bOk);
    EXPECT_FALSE(ReadPrefix("W1-12:").bOk);  // one digit only
    EXPECT_FALSE(ReadPrefix("W1-:").bOk);
    EXPECT_FALSE(ReadPrefix("W(True)@1,1:").bOk);  // the long form needs a number
    EXPECT_FALSE(ReadPrefix("We are").bOk);
    EXPECT_FALSE(ReadPrefix("W").bOk);
    EXPECT_FALSE(ReadPrefix("W1").bOk);
    EXPECT_FALSE(ReadPrefix("X1:").bOk);
}

TEST(VersePrefixReader, LongFormReadsEveryPart) {
    const TPrefixRead R = ReadPrefix("W3(False,True,2.0)@5R(False,AttachText1,0.80):x");
    ASSERT_TRUE(R.bOk);
    const auto& V = R.P.Value;
    EXPECT_EQ(V.VertInfo.VerseNumber, 2);
    EXPECT_FALSE(V.VertInfo.bShowVerseIndex);
    EXPECT_TRUE(V.VertInfo.bLockVertLocation);
    EXPECT_FLOAT_EQ(V.VertInfo.VertLocation_Locked, 1.0f);
    EXPECT_EQ(V.HorzLocation.aType, hltAbsLocate_Barline);
    EXPECT_EQ(V.HorzLocation.AbsLocate_Barline_MeasurePos, 4);
    EXPECT_FALSE(V.HorzLocation.AbsLocate_Barline_bLeft);
    EXPECT_FALSE(V.ExtraInfo.bOcupy);
    EXPECT_EQ(V.ExtraInfo.FontUsage, fuAttachText1);
    EXPECT_FLOAT_EQ(V.ExtraInfo.Scale, 0.8f);
    EXPECT_EQ(R.End, 45);
    EXPECT_EQ(R.P.Header.TokenItems.GetRangeOfFirst(ttHorzLocation), TKoRange(18, 3));
    EXPECT_EQ(R.P.Header.TokenItems.GetRangeOfFirst(ttFontUsage), TKoRange(28, 11));
}

TEST(VersePrefixReader, LongFormNeedsALocationAndTheColon) {
    EXPECT_FALSE(ReadPrefix("W1(True):").bOk);
    EXPECT_FALSE(ReadPrefix("W1@2").bOk);
    EXPECT_FALSE(ReadPrefix("W1@2,3").bOk);
    EXPECT_FALSE(ReadPrefix("W1@2,3 :").bOk);
    const TPrefixRead R = ReadPrefix("W2||/:");  // a relative location reads as well
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.P.Value.HorzLocation.aType, hltRelLocate_BarlineAndNote);
    EXPECT_EQ(R.P.Value.HorzLocation.RelLocate_BarlineAndNote_BarlinesCount, 2);
}

TEST(VersePrefixReader, VerticalGroupNeedsOnlyItsFirstBoolean) {
    TPrefixRead R = ReadPrefix("W1(True,x)@1,1:");
    ASSERT_TRUE(R.bOk);
    EXPECT_TRUE(R.P.Value.VertInfo.bShowVerseIndex);
    EXPECT_FALSE(R.P.Value.VertInfo.bLockVertLocation);
    EXPECT_FLOAT_EQ(R.P.Value.VertInfo.VertLocation_Locked, 0);

    R = ReadPrefix("W1(1,true,x)@1,1:");  // the locked line does not read
    ASSERT_TRUE(R.bOk);
    EXPECT_TRUE(R.P.Value.VertInfo.bLockVertLocation);
    EXPECT_FLOAT_EQ(R.P.Value.VertInfo.VertLocation_Locked, 0);

    EXPECT_FALSE(ReadPrefix("W1(x)@1,1:").bOk);
    EXPECT_FALSE(ReadPrefix("W1()@1,1:").bOk);
    EXPECT_FALSE(ReadPrefix("W1(True@1,1:").bOk);  // no closing parenthesis
}

TEST(VersePrefixReader, ExtraGroupNeedsThreeItems) {
    EXPECT_FALSE(ReadPrefix("W1@1,1(True,Lyric):").bOk);
    EXPECT_FALSE(ReadPrefix("W1@1,1(x,Lyric,1):").bOk);
    TPrefixRead R = ReadPrefix("W1@1,1(False,Nope,2):");  // the usage ends the reading
    ASSERT_TRUE(R.bOk);
    EXPECT_FALSE(R.P.Value.ExtraInfo.bOcupy);
    EXPECT_EQ(R.P.Value.ExtraInfo.FontUsage, fuLyric);
    EXPECT_FLOAT_EQ(R.P.Value.ExtraInfo.Scale, 1.0f);
    R = ReadPrefix("W1@1,1(True,memo1,x):");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(R.P.Value.ExtraInfo.FontUsage, fuMemo1);
    EXPECT_FLOAT_EQ(R.P.Value.ExtraInfo.Scale, 1.0f);
}

TEST(VersePrefixReader, LinesStartingWithAPrefix) {
    const std::u16string S = U("  W2@3,1: 我们");
    EXPECT_TRUE(Lyrics_StartsWithVersePrefix(S, TKoRange(2, 10)));
    EXPECT_FALSE(Lyrics_StartsWithVersePrefix(S, TKoRange(0, 12)));  // white before "W"
    EXPECT_FALSE(Lyrics_StartsWithVersePrefix(S, TKoRange::Invalid()));
}

// ---- Writer -------------------------------------------------------------------------------

TEST(VersePrefixWriter, WritesTheDocumentedForms) {
    TrecNuo4LyricVersePrefix P;
    EXPECT_EQ(Utf8(P.ToABCText(true)), "W1@1,1:");
    EXPECT_EQ(Utf8(P.ToABCText(false)), "W1@1,1(True,Lyric,1.00):");

    P.VertInfo.VerseNumber = 1;
    P.VertInfo.bShowVerseIndex = true;
    P.HorzLocation.AbsLocate_BarlineAndNote_BarlinePos = 2;
    P.HorzLocation.AbsLocate_BarlineAndNote_NotePos = 1;
    EXPECT_EQ(Utf8(P.ToABCText(true)), "W2(True)@3,2:");

    TrecNuo4LyricVersePrefix C;
    C.VertInfo.VerseCount = 2;
    EXPECT_EQ(Utf8(C.ToABCText(true)), "W1-2@1,1:");

    const TPrefixRead R = ReadPrefix("W3(False,True,2.0)@5R(False,AttachText1,0.80):");
    ASSERT_TRUE(R.bOk);
    EXPECT_EQ(Utf8(R.P.Value.ToABCText(true)), "W3(False,True,2.0)@5R(False,AttachText1,0.80):");
}

TEST(VersePrefixWriter, ScaleCloseToOneIsTheDefault) {
    TrecNuo4LyricExtraData E;
    E.Scale = 1.005f;
    EXPECT_TRUE(E.IsDefault());
    EXPECT_EQ(E.ToABCText(true), u"");
    E.Scale = 1.02f;
    EXPECT_EQ(Utf8(E.ToABCText(true)), "(True,Lyric,1.02)");
}

TEST(VersePrefixWriter, UnreadableRecordsAreWrittenReadably) {
    TrecNuo4LyricVersePrefix P;
    P.VertInfo.VerseCount = 12;  // the reader takes one digit
    P.VertInfo.VerseNumber = -3;
    P.HorzLocation.SetToInvalid();  // the long form needs a location
    P.VertInfo.bShowVerseIndex = true;
    const std::u16string S = P.ToABCText(true);
    EXPECT_EQ(Utf8(S), "W1-9(True)@1,1:");
    TrecNuo4LyricVersePrefix_WithParseInfo Back;
    int32_t End = -1;
    EXPECT_TRUE(ReadLyricVersePrefix(S, All(S), Back, End));
}

TEST(VersePrefixWriter, WrittenPrefixesReadBack) {
    TrecNuo4LyricVersePrefix P;
    for (int Number : {0, 4})
        for (int Count : {1, 3})
            for (bool bShow : {false, true})
                for (bool bLock : {false, true})
                    for (bool bDefaultExtra : {false, true}) {
                        P.SetToDefault();
                        P.VertInfo.VerseNumber = Number;
                        P.VertInfo.VerseCount = Count;
                        P.VertInfo.bShowVerseIndex = bShow;
                        P.VertInfo.bLockVertLocation = bLock;
                        P.VertInfo.VertLocation_Locked = bLock ? 2.5f : 0;
                        P.HorzLocation.InitializeToNoteIndex(3);
                        if (!bDefaultExtra) {
                            P.ExtraInfo.bOcupy = false;
                            P.ExtraInfo.FontUsage = fuLyricPrefix;
                            P.ExtraInfo.Scale = 0.75f;
                        }
                        const std::u16string S = P.ToABCText(true);
                        TrecNuo4LyricVersePrefix_WithParseInfo Back;
                        int32_t End = -1;
                        ASSERT_TRUE(ReadLyricVersePrefix(S, All(S), Back, End)) << Utf8(S);
                        EXPECT_EQ(End, static_cast<int32_t>(S.size()) - 1);
                        EXPECT_EQ(Back.Value, P) << Utf8(S);
                    }
}

TEST(VersePrefixVertInfo, VerseIndexTextAndVerticalLine) {
    TrecNuo4LyricVersePrefix_VertInfo V;
    EXPECT_EQ(V.GetVerseIndexText(), u"");
    V.bShowVerseIndex = true;
    EXPECT_EQ(Utf8(V.GetVerseIndexText()), "1.");
    V.VerseCount = 2;
    EXPECT_EQ(Utf8(V.GetVerseIndexText()), "1.2.");
    V.VerseCount = 3;
    EXPECT_EQ(Utf8(V.GetVerseIndexText()), "1-3.");
    V.VerseNumber = 1;
    EXPECT_EQ(Utf8(V.GetVerseIndexText()), "2-4.");
    EXPECT_FALSE(V.IsCompound());  // only a group that includes the first verse
    EXPECT_FALSE(V.IncludeFirstVerse());
    EXPECT_EQ(V.GetVerseNumberRange(), TKoRange(1, 3));
    EXPECT_FLOAT_EQ(V.GetRealVertLocation(), 1);
    V.bLockVertLocation = true;
    V.VertLocation_Locked = 4;
    EXPECT_FLOAT_EQ(V.GetRealVertLocation(), 4);
}

TEST(VerseInfo, PrefixOfTheDialogRecord) {
    TrecNuo4LyricVerseInfo I;
    EXPECT_EQ(Utf8(I.ToABCText_VersePrefix(true)), "W1@1,1:");
    I.VertInfo.VerseNumber = 2;
    I.HorzLocation.InitializeToNoteIndex(4);
    I.ExtraData.Scale = 1.5f;
    EXPECT_EQ(Utf8(I.ToABCText_VersePrefix(true)), "W3@1,5(True,Lyric,1.50):");
}
