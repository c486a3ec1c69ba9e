#include "format/text_element.h"

#include <gtest/gtest.h>

#include "format/doc_options.h"
#include "test_util.h"

using namespace nuo4;
using nuo4::test::All;
using nuo4::test::U;

namespace {

TNuo4TextElementParseInfoArray Elements(std::u16string_view S) {
    TNuo4TextElementParseInfoArray A;
    ReadTextElements(S, All(S), A);
    return A;
}

// The single element of a text, failing the test when there is not exactly one.
TRecNuo4TextElement One(std::u16string_view S) {
    const auto A = Elements(S);
    EXPECT_EQ(A.size(), 1u) << nuo4::test::Utf8(S);
    return A.empty() ? TRecNuo4TextElement() : A[0].Element;
}

}  // namespace

TEST(TextElementWhite, EscapedAndPlainWhiteCountTogether) {
    const auto A = Elements(u"a\\s\\t b");
    ASSERT_EQ(A.size(), 3u);
    EXPECT_EQ(A[0].Element.NormalText, u"a");
    EXPECT_EQ(A[1].Element.aType, stetWhiteSpace);
    EXPECT_EQ(A[1].Element.WhiteSpaceCount, 3);
    EXPECT_EQ(A[1].Header.aType, pitText_WhiteSpace);
    EXPECT_EQ(A[1].Header.ABCTextRange, TKoRange(1, 5));
    EXPECT_EQ(A[2].Element.NormalText, u"b");
}

TEST(TextElementNormal, EscapedSpaceSplitsPlainText) {
    const auto A = Elements(u"a\\sb");
    ASSERT_EQ(A.size(), 3u);
    EXPECT_EQ(A[0].Element.aType, stetNormalText);
    EXPECT_EQ(A[0].Header.aType, pitText_Text);
    EXPECT_EQ(A[0].Header.TokenItems.at(0).aType, ttString);
    EXPECT_EQ(A[1].Element.WhiteSpaceCount, 1);
    EXPECT_EQ(A[2].Element.NormalText, u"b");
}

TEST(TextElementNormal, TextIsDecodedAndRunsToABrace) {
    const auto A = Elements(u"x\\x4e2dy{1=D}");
    ASSERT_EQ(A.size(), 2u);
    EXPECT_EQ(A[0].Element.NormalText, U("x中y"));
    EXPECT_EQ(A[0].Header.ABCTextRange, TKoRange(0, 8));
    EXPECT_EQ(A[1].Element.aType, stetKeyAndMeters);
}

TEST(TextElementNormal, EscapedLineBreakStaysInsideTheText) {
    EXPECT_EQ(One(u"a\\nb").NormalText, u"a\nb");
}

TEST(TextElementNormal, IsCutToTheLongTextCapacity) {
    const std::u16string S(1500, u'a');
    EXPECT_EQ(One(S).NormalText.size(), Nuo4CharArray2Capacity);
}

TEST(TextElementGroup, EmptyAndUnknownGroupsAreText) {
    EXPECT_EQ(One(u"{}").NormalText, u"{}");
    const auto E = One(u"{foo\\sbar}");
    EXPECT_EQ(E.aType, stetNormalText);
    EXPECT_EQ(E.NormalText, u"{foo bar}");  // braces kept, escapes decoded
    EXPECT_EQ(One(u"{ }").NormalText, u"{ }");
}

TEST(TextElementGroup, UnmatchedBraceRunsToTheNextWhite) {
    const auto A = Elements(u"{ab\\x0041 cd");
    ASSERT_EQ(A.size(), 3u);
    EXPECT_EQ(A[0].Element.NormalText, u"{abA");
    EXPECT_EQ(A[1].Element.aType, stetWhiteSpace);
    EXPECT_EQ(A[2].Element.NormalText, u"cd");
}

TEST(TextElementGroup, GapIsANumberToken) {
    const auto A = Elements(u"{gap:2.5}");
    ASSERT_EQ(A.size(), 1u);
    EXPECT_EQ(A[0].Element.aType, stetGap);
    EXPECT_FLOAT_EQ(A[0].Element.Gap, 2.5f);
    EXPECT_EQ(A[0].Header.aType, pitText_Gap);
    EXPECT_EQ(A[0].Header.TokenItems.at(0).aType, ttNumber);
    EXPECT_EQ(One(u"{GAP:x}").aType, stetNormalText);
}

TEST(TextElementGroup, GraceBeforeAndAfter) {
    auto E = One(u"{qyy:56}");
    EXPECT_EQ(E.aType, stetGrace);
    ASSERT_EQ(E.GracePitches.size(), 2u);
    EXPECT_EQ(E.GracePitches[1].Digit, Digit6);
    EXPECT_FALSE(E.bGraceIsRight);
    EXPECT_FALSE(E.bGraceIs8th);
    E = One(u"{HYY:1g,true}");
    EXPECT_EQ(E.aType, stetGrace);
    EXPECT_TRUE(E.bGraceIsRight);
    EXPECT_TRUE(E.bGraceIs8th);
    EXPECT_EQ(E.GracePitches.at(0).Octave, 1);
    EXPECT_EQ(One(u"{qyy:}").aType, stetNormalText);
    EXPECT_EQ(One(u"{qyy:5q}").aType, stetNormalText);
}

TEST(TextElementGroup, BarNumberIsRawAndNotWhite) {
    auto E = One(u"{bny:12}");
    EXPECT_EQ(E.aType, stetBarNumber);
    EXPECT_EQ(E.sBarNumber, u"12");
    EXPECT_EQ(One(u"{BNY:A\\s1}").sBarNumber, u"A\\s1");
    EXPECT_EQ(One(u"{bny: }").aType, stetNormalText);
}

TEST(TextElementGroup, LinesShareTheBarNumberParseType) {
    const auto A = Elements(u"{wlv:3.5}{slh:2}{glv:4,10}");
    ASSERT_EQ(A.size(), 3u);
    EXPECT_EQ(A[0].Element.aType, stetWaveLine);
    EXPECT_TRUE(A[0].Element.WaveLine_bVert);
    EXPECT_FLOAT_EQ(A[0].Element.WaveLine_Length, 3.5f);
    EXPECT_EQ(A[1].Element.aType, stetSolidLine);
    EXPECT_FALSE(A[1].Element.SolidLine_bVert);
    EXPECT_EQ(A[2].Element.aType, stetGeneralLine);
    EXPECT_EQ(A[2].Element.GeneralLine_Type, gltSolidLine_Arrow);
    EXPECT_TRUE(A[2].Element.GeneralLine_bVert);
    EXPECT_FLOAT_EQ(A[2].Element.GeneralLine_Length, 10.0f);
    for (const auto& Item : A) EXPECT_EQ(Item.Header.aType, pitText_BarNumber);
    EXPECT_EQ(One(u"{glh:7,10}").aType, stetNormalText);  // type beyond 6
    EXPECT_EQ(One(u"{glh:1}").aType, stetNormalText);
}

TEST(TextElementGroup, KeyAndMeters) {
    auto E = One(u"{1=bE,3/4}");
    ASSERT_EQ(E.aType, stetKeyAndMeters);
    EXPECT_TRUE(E.KeyAndMeters.Key.IsValid());
    EXPECT_EQ(E.KeyAndMeters.Key.MainKey, 2);
    EXPECT_EQ(E.KeyAndMeters.Key.Accidental, -1);
    ASSERT_EQ(E.KeyAndMeters.Meters.size(), 1u);
    EXPECT_EQ(E.KeyAndMeters.Meters[0], TrecNuo4Meter::Create(3, 4));
    E = One(u"{2/4}");
    EXPECT_EQ(E.aType, stetKeyAndMeters);
    EXPECT_FALSE(E.KeyAndMeters.Key.IsValid());
    // Only a group that is entirely a key-and-meters text counts.
    EXPECT_EQ(One(u"{1=D,xyz}").aType, stetNormalText);
}

TEST(TextElementGroup, PureNoteWithOrWithoutDuration) {
    auto E = One(u"{5_.}");
    ASSERT_EQ(E.aType, stetPureNote);
    EXPECT_EQ(E.PureNote.Pitch.Digit, Digit5);
    EXPECT_EQ(E.PureNote.Duration, sd8thDot);
    E = One(u"{#4}");
    EXPECT_EQ(E.aType, stetPureNote);
    EXPECT_EQ(E.PureNote.Duration, sd4th);
    EXPECT_EQ(One(u"{5abc}").aType, stetNormalText);
}

TEST(TextElementGroup, TempoKindsAndRange) {
    auto E = One(u"{J=96}");
    ASSERT_EQ(E.aType, stetTempo);
    EXPECT_EQ(E.Tempo, 96);
    EXPECT_DOUBLE_EQ(E.GetTempo_BPM(), 96);
    E = One(u"{J_=120}");
    EXPECT_EQ(E.TempoIsType, tit8th);
    EXPECT_DOUBLE_EQ(E.GetTempo_BPM(), 60);
    E = One(u"{J.=60}");
    EXPECT_EQ(E.TempoIsType, tit4thDot);
    EXPECT_DOUBLE_EQ(E.GetTempo_BPM(), 90);
    EXPECT_EQ(One(u"{J=10}").aType, stetTempo);
    EXPECT_EQ(One(u"{J=300}").aType, stetTempo);
    EXPECT_EQ(One(u"{J=9}").aType, stetNormalText);
    EXPECT_EQ(One(u"{J=301}").aType, stetNormalText);
    EXPECT_EQ(One(u"{J=9.5}").aType, stetNormalText);
    EXPECT_DOUBLE_EQ(One(u"x").GetTempo_BPM(), 0);
}

TEST(TextElementGroup, ChordWithOptionalSubStyle) {
    auto E = One(u"{[135]}");
    ASSERT_EQ(E.aType, stetChord);
    EXPECT_EQ(E.ChordPitches.size(), 3u);
    EXPECT_EQ(E.ChordSubStyle, Nuo4DocOptions().Param_Chord.NoteSubStyle);
    E = One(u"{[15],subStyleItalicZip}");
    ASSERT_EQ(E.aType, stetChord);
    EXPECT_EQ(E.ChordSubStyle, nssItalicZip);
    TrecNuo4Pitch P;
    EXPECT_FALSE(E.IsChord_SingleNote(P));
    EXPECT_TRUE(One(u"{[3]}").IsChord_SingleNote(P));
    EXPECT_EQ(P.Digit, Digit3);
    EXPECT_EQ(One(u"{[15],Foo}").aType, stetNormalText);
    EXPECT_EQ(One(u"{[]}").aType, stetNormalText);
}

TEST(TextElementGroup, RectangleAndEllipse) {
    auto E = One(u"{rct:3,2.5,true}");
    ASSERT_EQ(E.aType, stetRectangle);
    EXPECT_FLOAT_EQ(E.Rectangle_Size.Width, 3);
    EXPECT_FLOAT_EQ(E.Rectangle_Size.Height, 2.5f);
    EXPECT_TRUE(E.Rectangle_bFilled);
    EXPECT_FALSE(E.Rectangle_bDashed);
    E = One(u"{els:1,1,false,true}");
    ASSERT_EQ(E.aType, stetEllipse);
    EXPECT_FALSE(E.Ellipse_bFilled);
    EXPECT_TRUE(E.Ellipse_bDashed);
    EXPECT_EQ(One(u"{rct:3,2}").aType, stetNormalText);
    EXPECT_EQ(One(u"{els:1,1,maybe}").aType, stetNormalText);
}

TEST(TextElementGroup, Arc) {
    auto E = One(u"{arc:12.5,3}");
    ASSERT_EQ(E.aType, stetArc);
    EXPECT_FLOAT_EQ(E.Arc_Length, 12.5f);
    EXPECT_EQ(E.Arc_Style, 3);
    EXPECT_EQ(One(u"{arc:12.5}").aType, stetNormalText);
}

TEST(TextElementRead, NestedGroupEndsAtItsMatchingBrace) {
    const auto A = Elements(u"{a{b}c}d");
    ASSERT_EQ(A.size(), 2u);
    EXPECT_EQ(A[0].Element.NormalText, u"{a{b}c}");
    EXPECT_EQ(A[0].Header.ABCTextRange, TKoRange(0, 7));
    EXPECT_EQ(A[1].Element.NormalText, u"d");
}

TEST(TextElementRead, RangesTileTheWholeRange) {
    const std::u16string S = u"xx\"a{J=96}\\s{bny:3}b c{\"";
    const TKoRange R(3, static_cast<int32_t>(S.size()) - 4);
    TNuo4TextElementParseInfoArray A;
    ASSERT_TRUE(ReadTextElements(S, R, A));
    int32_t Next = R.StartIndex;
    for (const auto& Item : A) {
        EXPECT_EQ(Item.Header.ABCTextRange.StartIndex, Next);
        EXPECT_GT(Item.Header.ABCTextRange.Length, 0);
        Next = Item.Header.ABCTextRange.EndIndex() + 1;
    }
    EXPECT_EQ(Next, R.EndIndex() + 1);
    TNuo4TextElementParseInfoArray None;
    EXPECT_FALSE(ReadTextElements(S, TKoRange(3, 0), None));
    EXPECT_TRUE(None.empty());
}

TEST(TextElementWriters, BarNumberPureNoteAndNormalText) {
    EXPECT_EQ(GetABCText_BarNumber(5), u"{bny:05}");
    EXPECT_EQ(GetABCText_BarNumber(123), u"{bny:123}");
    EXPECT_EQ(GetABCText_BarNumber(TText(u"A1")), u"{bny:A1}");
    TrecNuo4MusicPureNote N;
    N.Pitch.Initialize_ToNormalPitch(Digit7, -1, ssFlat);
    N.Duration = sd16th;
    EXPECT_EQ(GetABCText_PureNote(N), u"{b7d__}");
    EXPECT_EQ(GetABCText_NormalText(u"a\\sb"), u"a\\sb");
}

TEST(TextElementWriters, ElementArrayOfAWholeString) {
    const auto A = GetElementArray_FromABCText(u"rit.\\s{J=80}");
    ASSERT_EQ(A.size(), 3u);
    EXPECT_EQ(A[0].NormalText, u"rit.");
    EXPECT_EQ(A[2].Tempo, 80);
    EXPECT_TRUE(GetElementArray_FromABCText(u"").empty());
}
