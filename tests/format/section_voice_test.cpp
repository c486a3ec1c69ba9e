#include "format/section_voice.h"

#include <gtest/gtest.h>

#include "format/abc_buffer.h"
#include "format/symbol_accomp_marker.h"
#include "format/symbol_barline.h"
#include "format/symbol_meter.h"
#include "format/symbol_note.h"
#include "format/symbol_return.h"
#include "format/symbol_text.h"
#include "test_util.h"

using namespace nuo4;
using nuo4::test::All;
using nuo4::test::Utf8;

namespace {

// The symbols of one voice token, read one after another as the voice scan does.
std::vector<TNuo4VoiceSymbolPtr> Symbols(std::u16string_view S) {
    std::vector<TNuo4VoiceSymbolPtr> Out;
    TKoRange R = All(S);
    while (R.Length > 0) {
        TNuo4VoiceSymbolPtr P;
        int32_t End = -1;
        if (!ReadVoiceSymbol(S, R, P, End)) break;
        EXPECT_GE(End, R.StartIndex);
        Out.push_back(std::move(P));
        R = TKoRange::FromStartEnd(End + 1, R.EndIndex());
    }
    return Out;
}

// Names, so that a failure prints readably.
using K = std::vector<std::string>;
K Names(const std::vector<TNuo4ABCParseInfoType>& ATypes) {
    K Out;
    for (auto T : ATypes) Out.push_back(EnumName(T));
    return Out;
}

K Kinds(std::u16string_view S) {
    std::vector<TNuo4ABCParseInfoType> Types;
    for (const auto& P : Symbols(S)) Types.push_back(P->Header.aType);
    return Names(Types);
}

}  // namespace

TEST(VoiceDispatch, MeterIsTriedBeforeTheNote) {
    EXPECT_EQ(Kinds(u"2/4"), Names({pitMeter}));
    EXPECT_EQ(Kinds(u"2/4(5"), Names({pitMeter, pitNote}));
    EXPECT_EQ(Kinds(u"2/45"), Names({pitNote}));  // the denominator 45 is too large
    EXPECT_EQ(Kinds(u"3/16"), Names({pitNote}));  // "3" reads, "/16" does not
}

TEST(VoiceDispatch, NotesAndBarlinesShareATokenWithoutSeparators) {
    EXPECT_EQ(Kinds(u"1_2_|3"), Names({pitNote, pitNote, pitBarline, pitNote}));
    EXPECT_EQ(Kinds(u":|:5"), Names({pitBarline, pitNote}));
}

TEST(VoiceDispatch, ParenthesisAloneIsAMarkerButBeforeANoteAnArcStart) {
    EXPECT_EQ(Kinds(u"("), Names({pitAccompMarker}));
    EXPECT_EQ(Kinds(u")"), Names({pitAccompMarker}));
    const auto S = Symbols(u"(1");
    ASSERT_EQ(S.size(), 1u);
    ASSERT_EQ(S[0]->Header.aType, pitNote);
    EXPECT_EQ(static_cast<TrecNuo4ABCParseInfo_Note&>(*S[0]).ArcStartings().Value.size(), 1u);
    EXPECT_EQ(Kinds(u"5)"), Names({pitNote}));  // an arc end, not a marker
}

TEST(VoiceDispatch, TextsAndReturns) {
    EXPECT_EQ(Kinds(u"\"rit.\"5"), Names({pitText, pitNote}));
    EXPECT_EQ(Kinds(u"$"), Names({pitReturn}));
    EXPECT_EQ(Kinds(u"5$(True)|"), Names({pitNote, pitReturn, pitBarline}));
    // An unclosed return option list leaves "(" to the following kinds.
    EXPECT_EQ(Kinds(u"$("), Names({pitReturn, pitAccompMarker}));
}

TEST(VoiceDispatch, UnreadableRestStopsTheToken) {
    EXPECT_EQ(Kinds(u"5?6"), Names({pitNote}));
    EXPECT_TRUE(Kinds(u"\"abc").empty());
    TNuo4VoiceSymbolPtr P;
    int32_t End = 0;
    EXPECT_FALSE(ReadVoiceSymbol(u"?", All(u"?"), P, End));
    EXPECT_EQ(P, nullptr);
    EXPECT_EQ(End, -1);
    EXPECT_FALSE(ReadVoiceSymbol(u"5", TKoRange(0, 0), P, End));
}

TEST(VoiceDispatch, RecordsAreOfTheKindTheirHeaderNames) {
    const auto S = Symbols(u"3/4|[1.");
    ASSERT_EQ(S.size(), 2u);
    EXPECT_NE(dynamic_cast<TrecNuo4ABCParseInfo_Meter*>(S[0].get()), nullptr);
    const auto* B = dynamic_cast<TrecNuo4ABCParseInfo_Barline*>(S[1].get());
    ASSERT_NE(B, nullptr);
    EXPECT_EQ(B->Value.FangZi.FangZiText, u"1.");
}

TEST(VoiceSymbolText, EveryKindIsWrittenByItsWriter) {
    const std::u16string S = u"3/4{C:1.200}(1_2_)||[2.\"a\\sb\"$(True)";
    const auto Syms = Symbols(S);
    std::vector<std::u16string> Texts;
    for (const auto& P : Syms) Texts.push_back(VoiceSymbolToABCText(*P, true));
    const std::vector<std::u16string> Expected = {u" 3/4{C:1.200} ", u"(1_", u"2_)",
                                                  u" ||[2.\"a\\sb\"$(True) "};
    // The volta label runs to the token end, so the rest belongs to the bar line.
    EXPECT_EQ(Texts, Expected);
}

TEST(VoiceSymbolText, PaddingLeavesNotesBare) {
    const auto Syms = Symbols(u"\"x\"5)");
    ASSERT_EQ(Syms.size(), 2u);
    EXPECT_EQ(VoiceSymbolToABCText(*Syms[0], true), u" \"x\" ");
    EXPECT_EQ(VoiceSymbolToABCText(*Syms[1], true), u"5)");
}

TEST(VoiceSection, ScannerCollectsEverySymbolKind) {
    const std::u16string Doc =
        u".Voice\r1=D \"{1=D,2/4}\" 1_2_ | 3/4 ( 5 ) \"a\\sb\"{C:0,None}\r:|[2. 6 $(True) |]";
    TNuo4ABCBuffer B(Doc);
    const auto& V = B.Section_Voice;
    std::vector<TNuo4ABCParseInfoType> Types;
    for (const auto& P : V.Buffer) Types.push_back(P->Header.aType);
    // "1=D" is no voice symbol: "1" reads as a note and the rest of the token is skipped.
    const K Expected =
        Names({pitNote, pitText, pitNote, pitNote, pitBarline, pitMeter, pitAccompMarker, pitNote,
               pitAccompMarker, pitText, pitBarline, pitNote, pitReturn, pitBarline});
    EXPECT_EQ(Names(Types), Expected);
    const auto& T = static_cast<const TrecNuo4ABCParseInfo_Text&>(*V.Buffer[1]);
    EXPECT_TRUE(T.CheckForKeyAndMeters());
    // Every symbol's range covers exactly the text its writer reproduces here.
    for (const auto& P : V.Buffer) {
        const std::u16string Written = VoiceSymbolToABCText(*P, false);
        EXPECT_EQ(Utf8(ABC_GetRangeText(B.ABCText(), P->Header.ABCTextRange)), Utf8(Written));
    }
}

TEST(VoiceSection, SpaceEndsTheTokenSoATextNeedsTheEscape) {
    TNuo4ABCBuffer Plain(u".Voice\r\"a b\"");
    for (const auto& P : Plain.Section_Voice.Buffer) EXPECT_NE(P->Header.aType, pitText);
    TNuo4ABCBuffer Escaped(u".Voice\r\"a\\sb\"");
    ASSERT_EQ(Escaped.Section_Voice.GetCount(), 1);
    EXPECT_EQ(Escaped.Section_Voice.Buffer[0]->Header.aType, pitText);
}
