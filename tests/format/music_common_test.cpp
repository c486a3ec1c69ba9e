#include "format/music_common.h"

#include <gtest/gtest.h>

#include "format/pitches.h"
#include "test_util.h"

using namespace nuo4;
using nuo4::test::All;
using nuo4::test::U;

namespace {

// Reads a pitch from the whole text; the pitch and end position are returned by reference.
bool Pitch(std::u16string_view S, TrecNuo4Pitch& P, int32_t& End) {
    return ReadPitch(S, All(S), P, End);
}

TrecNuo4Pitch P(std::u16string_view S) {
    TrecNuo4Pitch R;
    int32_t End = -1;
    EXPECT_TRUE(ReadPitch(S, All(S), R, End)) << nuo4::test::Utf8(S);
    EXPECT_EQ(End, static_cast<int32_t>(S.size()) - 1) << nuo4::test::Utf8(S);
    return R;
}

TNuo4Duration D(std::u16string_view S, int32_t* AEnd = nullptr) {
    TNuo4Duration R = sdNone;
    int32_t End = -1;
    EXPECT_TRUE(ReadDuration(S, All(S), R, End)) << nuo4::test::Utf8(S);
    if (AEnd) *AEnd = End;
    return R;
}

}  // namespace

// ---- Pitch text read ------------------------------------------------------------------------

TEST(PitchText, AccidentalCountDecidesSharpFlatOrNatural) {
    EXPECT_EQ(P(u"#b5").Accidental, ssNatural);
    EXPECT_EQ(P(u"#b5").Digit, Digit5);
    EXPECT_EQ(P(u"##5").Accidental, ssSharp);
    EXPECT_EQ(P(u"b#b5").Accidental, ssFlat);
    EXPECT_EQ(P(u"5").Accidental, ssNone);
    EXPECT_EQ(P(u"bb7").Accidental, ssFlat);
}

TEST(PitchText, AccidentalsAloneOrBeforeNothingFail) {
    TrecNuo4Pitch Pi;
    int32_t End = 7;
    EXPECT_FALSE(Pitch(u"b", Pi, End));
    EXPECT_EQ(End, -1);
    EXPECT_FALSE(Pitch(u"#", Pi, End));
    EXPECT_FALSE(Pitch(u"", Pi, End));
}

TEST(PitchText, TrailingOctaveMarksAreClamped) {
    EXPECT_EQ(P(u"5gggg").Octave, 3);
    EXPECT_EQ(P(u"5dddd").Octave, -3);
    EXPECT_EQ(P(u"5''").Octave, 2);
    EXPECT_EQ(P(u"5,").Octave, -1);
    EXPECT_EQ(P(u"5gd").Octave, 0);  // marks add up
}

TEST(PitchText, OctaveMarksBeforeTheDigitAndNonDigitsFail) {
    TrecNuo4Pitch Pi;
    int32_t End;
    EXPECT_FALSE(Pitch(u"g5", Pi, End));
    EXPECT_FALSE(Pitch(u"d5", Pi, End));
    EXPECT_FALSE(Pitch(u"8", Pi, End));
    EXPECT_FALSE(Pitch(u"a", Pi, End));
    EXPECT_FALSE(Pitch(u"#g5", Pi, End));
}

TEST(PitchText, AnythingAfterTheMarksEndsThePitchBeforeIt) {
    TrecNuo4Pitch Pi;
    int32_t End = -1;
    ASSERT_TRUE(Pitch(u"18", Pi, End));
    EXPECT_EQ(Pi.Digit, Digit1);
    EXPECT_EQ(End, 0);
    ASSERT_TRUE(Pitch(u"3g#4", Pi, End));
    EXPECT_EQ(End, 1);
    ASSERT_TRUE(Pitch(u"2b", Pi, End));
    EXPECT_EQ(End, 0);
    ASSERT_TRUE(Pitch(u"0_", Pi, End));
    EXPECT_TRUE(Pi.IsRest());
    EXPECT_EQ(End, 0);
}

TEST(PitchText, ReadingStaysInsideTheRange) {
    const std::u16string S = u"x5gg";
    TrecNuo4Pitch Pi;
    int32_t End = -1;
    ASSERT_TRUE(ReadPitch(S, TKoRange(1, 2), Pi, End));
    EXPECT_EQ(Pi.Octave, 1);
    EXPECT_EQ(End, 2);
    EXPECT_FALSE(ReadPitch(S, TKoRange(1, 10), Pi, End));  // range beyond the text
}

TEST(PitchText, DrumTakesAWideCharacterOrAnEscape) {
    const TrecNuo4Pitch A = P(U("x鼓"));
    EXPECT_TRUE(A.IsCharDrum());
    EXPECT_TRUE(A.DrumPitch.bUseCoreFont);
    EXPECT_EQ(A.DrumPitch.DrumChar, 0x9F13);

    const TrecNuo4Pitch B = P(u"X\\x0041");
    EXPECT_TRUE(B.IsCharDrum());
    EXPECT_FALSE(B.DrumPitch.bUseCoreFont);
    EXPECT_EQ(B.DrumPitch.DrumChar, u'A');
}

TEST(PitchText, DrumFollowedByAPlainLowCharacterHasNoCharacter) {
    TrecNuo4Pitch Pi;
    int32_t End = -1;
    ASSERT_TRUE(Pitch(u"xA", Pi, End));
    EXPECT_TRUE(Pi.IsDrum());
    EXPECT_FALSE(Pi.IsCharDrum());
    EXPECT_EQ(End, 0);  // "A" is left for what follows

    // Octave marks after a drum are consumed but a drum stays in octave 0.
    ASSERT_TRUE(Pitch(u"xgg", Pi, End));
    EXPECT_EQ(End, 2);
    EXPECT_EQ(Pi.Octave, 0);
    ASSERT_TRUE(Pitch(u"x", Pi, End));
    EXPECT_FALSE(Pi.IsCharDrum());
}

TEST(PitchText, ListReadsPitchesUntilOneFails) {
    TNuo4Pitches L;
    int32_t End = -1;
    const std::u16string S = u"135";
    ASSERT_TRUE(ReadPitchList(S, All(S), L, End));
    ASSERT_EQ(L.size(), 3u);
    EXPECT_EQ(L[2].Digit, Digit5);
    EXPECT_EQ(End, 2);

    const std::u16string T = u"#1gb3d8";
    ASSERT_TRUE(ReadPitchList(T, All(T), L, End));
    ASSERT_EQ(L.size(), 2u);
    EXPECT_EQ(L[1].Accidental, ssFlat);
    EXPECT_EQ(L[1].Octave, -1);
    EXPECT_EQ(End, 5);

    const std::u16string F = u"8123";
    EXPECT_FALSE(ReadPitchList(F, All(F), L, End));
    EXPECT_TRUE(L.empty());
}

// ---- Pitch text written -------------------------------------------------------------------------

TEST(PitchText, WriterOrderIsAccidentalDigitOctave) {
    TrecNuo4Pitch Pi;
    Pi.Initialize_ToNormalPitch(7, -1, -1);
    EXPECT_EQ(Pi.ToABCText(), u"b7d");
    Pi.Initialize_ToNormalPitch(4, 0, 1);
    EXPECT_EQ(Pi.ToABCText(), u"#4");
    Pi.Initialize_ToNormalPitch(5, 2, 0);
    EXPECT_EQ(Pi.ToABCText(), u"5gg");
    Pi.Initialize_ToNormalPitch(3, -3, 2);
    EXPECT_EQ(Pi.ToABCText(), u"#b3ddd");
    Pi.SetToInvalid();
    EXPECT_EQ(Pi.ToABCText(), u"");
}

TEST(PitchText, DrumWriterEscapesLowAndPrivateCharacters) {
    TrecNuo4Pitch Pi;
    Pi.Initialize_ToDrumPitch(u'A', true);
    EXPECT_EQ(Pi.ToABCText(), u"x\\x0041");
    Pi.Initialize_ToDrumPitch(0xF000, false);
    EXPECT_EQ(Pi.ToABCText(), u"X\\xf000");
    Pi.Initialize_ToDrumPitch(0x9F13, true);
    EXPECT_EQ(Pi.ToABCText(), U("x鼓"));
    Pi.Initialize_ToDrumPitch(0, false);
    EXPECT_EQ(Pi.ToABCText(), u"X");
}

TEST(PitchText, EveryWrittenPitchReadsBackIdentically) {
    for (int Digit = 0; Digit <= 7; ++Digit)
        for (int Oct = -3; Oct <= 3; ++Oct)
            for (int Acc : {0, 1, -1, 2}) {
                TrecNuo4Pitch Pi;
                Pi.Initialize_ToNormalPitch(Digit, Oct, Acc);
                const std::u16string S = Pi.ToABCText();
                EXPECT_TRUE(P(S).SameAs(Pi)) << nuo4::test::Utf8(S);
            }
    for (char16_t C : {u'A', u'\\', char16_t(0x00E9), char16_t(0x4E2D), char16_t(0xF123)})
        for (bool bCore : {false, true}) {
            TrecNuo4Pitch Pi;
            Pi.Initialize_ToDrumPitch(C, bCore);
            EXPECT_TRUE(P(Pi.ToABCText()).SameAs(Pi)) << static_cast<int>(C);
        }
}

// ---- Pitch model --------------------------------------------------------------------------------

TEST(PitchModel, DefaultsInvalidAndPredicates) {
    TrecNuo4Pitch Pi;
    EXPECT_TRUE(Pi.IsRest());
    EXPECT_TRUE(Pi.IsValid());
    Pi.SetToInvalid();
    EXPECT_FALSE(Pi.IsValid());
    Pi.Initialize_ToNormalPitch(9, 0, 0);  // no such degree
    EXPECT_FALSE(Pi.IsValid());
    Pi.Initialize_ToNormalPitch(1, 5, 7);
    EXPECT_EQ(Pi.Octave, 3);
    EXPECT_EQ(Pi.Accidental, ssNone);
    EXPECT_TRUE(Pi.IsHighTune());
    EXPECT_FALSE(Pi.WithAccidental());
    Pi.Initialize_ToNormalPitch(1, 0, 1);
    EXPECT_TRUE(Pi.WithAccidental());
    EXPECT_EQ(Pi.RemoveAccidental().Accidental, ssNone);
    EXPECT_EQ(Pi.Accidental, ssSharp);  // RemoveAccidental returns a copy

    Pi.Initialize_ToDrumPitch(u'A', false);
    Pi.Octave = 1;
    Pi.Accidental = ssSharp;
    EXPECT_FALSE(Pi.IsHighTune());  // drums have neither
    EXPECT_FALSE(Pi.WithAccidental());
}

TEST(PitchMidi, DegreesMapFromMiddleC) {
    const int Expected[8] = {0, 60, 62, 64, 65, 67, 69, 71};
    for (int Digit = 1; Digit <= 7; ++Digit) {
        TrecNuo4Pitch Pi;
        Pi.Initialize_ToNormalPitch(Digit, 0, 0);
        EXPECT_EQ(Pi.ToMidiNote(0), Expected[Digit]);
    }
    EXPECT_EQ(P(u"1g").ToMidiNote(0), 72);
    EXPECT_EQ(P(u"1ddd").ToMidiNote(0), 24);
    EXPECT_EQ(P(u"7ggg").ToMidiNote(0), 107);
    EXPECT_EQ(P(u"#4").ToMidiNote(0), 66);
    EXPECT_EQ(P(u"b7").ToMidiNote(0), 70);
    EXPECT_EQ(P(u"#b7").ToMidiNote(0), 71);
    EXPECT_EQ(P(u"5").ToMidiNote(2), 69);  // key of D
    EXPECT_EQ(P(u"0").ToMidiNote(5), 0);
    EXPECT_EQ(P(u"x").ToMidiNote(-5), 127);
}

TEST(PitchMidi, ResultStaysAMidiDataByte) {
    EXPECT_EQ(P(u"7ggg").ToMidiNote(100), 127);
    EXPECT_EQ(P(u"1ddd").ToMidiNote(-100), 0);
}

TEST(PitchMidi, FromMidiNoteUsesSharpsAndRefusesOutsideTheOctaves) {
    TrecNuo4Pitch Pi;
    ASSERT_TRUE(Pi.FromMidiNote(61));
    EXPECT_EQ(Pi.ToABCText(), u"#1");
    ASSERT_TRUE(Pi.FromMidiNote(70));
    EXPECT_EQ(Pi.ToABCText(), u"#6");
    ASSERT_TRUE(Pi.FromMidiNote(24));
    EXPECT_EQ(Pi.ToABCText(), u"1ddd");
    ASSERT_TRUE(Pi.FromMidiNote(107));
    EXPECT_EQ(Pi.ToABCText(), u"7ggg");

    const TrecNuo4Pitch Before = Pi;
    EXPECT_FALSE(Pi.FromMidiNote(23));
    EXPECT_FALSE(Pi.FromMidiNote(108));
    EXPECT_FALSE(Pi.FromMidiNote(-5));
    EXPECT_TRUE(Pi.SameAs(Before));

    EXPECT_FALSE(Pi.FromMidiNote(0));
    EXPECT_TRUE(Pi.IsRest());
    EXPECT_FALSE(Pi.FromMidiNote(127));
    EXPECT_TRUE(Pi.IsDrum());
    EXPECT_FALSE(Pi.IsCharDrum());
}

TEST(PitchMidi, EveryNoteInRangeRoundTrips) {
    for (int N = 24; N <= 107; ++N) {
        TrecNuo4Pitch Pi;
        ASSERT_TRUE(Pi.FromMidiNote(N));
        EXPECT_EQ(Pi.ToMidiNote(0), N);
    }
}

TEST(PitchOrdering, ComparesByMidiNote) {
    EXPECT_TRUE(P(u"#1") == P(u"b2"));
    EXPECT_FALSE(P(u"#1").SameAs(P(u"b2")));
    EXPECT_TRUE(P(u"1g") > P(u"7"));
    EXPECT_TRUE(P(u"1ddd") > P(u"0"));      // rests lowest
    EXPECT_TRUE(P(U("x鼓")) > P(u"7ggg"));  // drums highest
    EXPECT_FALSE(P(u"3") > P(u"3"));
}

// ---- Transposition ------------------------------------------------------------------------------

TEST(PitchTranspose, NaturalMovesDegreesAndCarriesOctaves) {
    TrecNuo4Pitch Pi = P(u"1");
    ASSERT_TRUE(Pi.Transpose_Natural(-7, false));
    EXPECT_EQ(Pi.ToABCText(), u"1d");
    Pi = P(u"7");
    ASSERT_TRUE(Pi.Transpose_Natural(1, false));
    EXPECT_EQ(Pi.ToABCText(), u"1g");
    Pi = P(u"2");
    ASSERT_TRUE(Pi.Transpose_Natural(-3, false));
    EXPECT_EQ(Pi.ToABCText(), u"6d");
    Pi = P(u"5g");
    ASSERT_TRUE(Pi.Transpose_Natural(7, false));
    EXPECT_EQ(Pi.ToABCText(), u"5gg");
}

TEST(PitchTranspose, NaturalKeepsOrClearsTheAccidental) {
    TrecNuo4Pitch Pi = P(u"#4");
    ASSERT_TRUE(Pi.Transpose_Natural(1, true));
    EXPECT_EQ(Pi.ToABCText(), u"#5");
    ASSERT_TRUE(Pi.Transpose(1, false));
    EXPECT_EQ(Pi.ToABCText(), u"6");
}

TEST(PitchTranspose, NaturalRefusalsLeaveThePitchUnchanged) {
    TrecNuo4Pitch Pi = P(u"1ddd");
    EXPECT_FALSE(Pi.Transpose_Natural(-1, false));
    EXPECT_EQ(Pi.ToABCText(), u"1ddd");
    Pi = P(u"b7ggg");
    EXPECT_FALSE(Pi.Adjust_Natural_1th_Up());
    EXPECT_EQ(Pi.ToABCText(), u"b7ggg");
    Pi = P(u"3");
    EXPECT_FALSE(Pi.Transpose_Natural(8, false));
    EXPECT_FALSE(Pi.Transpose_Natural(-8, false));
    Pi = P(u"0");
    EXPECT_FALSE(Pi.Transpose_Natural(1, false));
    Pi = P(u"x");
    EXPECT_FALSE(Pi.Transpose_Natural(1, false));
    EXPECT_FALSE(Pi.Transpose_Semitone(1));
}

TEST(PitchTranspose, ThirdsAndSteps) {
    TrecNuo4Pitch Pi = P(u"1");
    ASSERT_TRUE(Pi.Transpose_Natural_3th(false));
    EXPECT_EQ(Pi.ToABCText(), u"3");
    ASSERT_TRUE(Pi.Transpose_Natural_3th(true));
    ASSERT_TRUE(Pi.Transpose_Natural_3th(true));
    EXPECT_EQ(Pi.ToABCText(), u"6d");
    ASSERT_TRUE(Pi.Adjust_Natural_1th_Up());
    EXPECT_EQ(Pi.ToABCText(), u"7d");
    ASSERT_TRUE(Pi.Adjust_Natural_1th_Down());
    ASSERT_TRUE(Pi.Adjust_Natural_1th_Down());
    EXPECT_EQ(Pi.ToABCText(), u"5d");
}

TEST(PitchTranspose, SemitoneGoesThroughMidiNotes) {
    TrecNuo4Pitch Pi = P(u"7");
    ASSERT_TRUE(Pi.Transpose_Semitone(1));
    EXPECT_EQ(Pi.ToABCText(), u"1g");
    Pi = P(u"3");
    ASSERT_TRUE(Pi.Transpose_Semitone(1));
    EXPECT_EQ(Pi.ToABCText(), u"4");
    Pi = P(u"4");
    ASSERT_TRUE(Pi.Transpose(1, true));
    EXPECT_EQ(Pi.ToABCText(), u"#4");
    Pi = P(u"b3");
    ASSERT_TRUE(Pi.Transpose_Semitone(-12));
    EXPECT_EQ(Pi.ToABCText(), u"#2d");
}

TEST(PitchTranspose, SemitoneRefusalsLeaveThePitchUnchanged) {
    TrecNuo4Pitch Pi = P(u"7ggg");
    EXPECT_FALSE(Pi.Transpose_Semitone(1));
    EXPECT_EQ(Pi.ToABCText(), u"7ggg");
    Pi = P(u"b1ddd");  // MIDI 23
    EXPECT_FALSE(Pi.Transpose_Semitone(0));
    EXPECT_EQ(Pi.ToABCText(), u"b1ddd");
    Pi = P(u"5");
    EXPECT_FALSE(Pi.Transpose_Semitone(13));
    EXPECT_FALSE(Pi.Transpose_Semitone(-13));
    EXPECT_EQ(Pi.ToABCText(), u"5");
    Pi = P(u"0");
    EXPECT_FALSE(Pi.Transpose_Semitone(1));
    EXPECT_TRUE(Pi.IsRest());
}

// ---- Duration
// -------------------------------------------------------------------------------------

TEST(DurationModel, BeatsAndCountsAgree) {
    // An underline halves, each dot adds half of the previous addition, each dash one beat.
    for (int I = 1; I < Nuo4DurationCount; ++I) {
        const auto Du = static_cast<TNuo4Duration>(I);
        const int U = Duration_UnderlineCount(Du), Dots = Duration_DotCount(Du);
        const int R = Duration_RightLineCount(Du);
        double Base = 1.0 / (1 << U), Add = Base, Beats = Base;
        for (int K = 0; K < Dots; ++K) Beats += (Add /= 2);
        Beats += R;
        if (Du == sd2thDot) Beats = 3;  // three beats, written with two dashes
        EXPECT_DOUBLE_EQ(Duration_Beats(Du), Beats) << EnumName(Du);
    }
    EXPECT_DOUBLE_EQ(Duration_Beats(sdNone), 1);
    EXPECT_EQ(Duration_RightLineCount(sd1thPlus4), 7);
    EXPECT_EQ(Duration_UnderlineCount(sd64th), 4);
}

TEST(DurationModel, FromBeatsFindsTheFirstMatch) {
    TNuo4Duration Du = sd64th;
    ASSERT_TRUE(Duration_FromBeats(1.0, Du));
    EXPECT_EQ(Du, sdNone);  // sdNone comes first in enumeration order
    ASSERT_TRUE(Duration_FromBeats(0.7505, Du));
    EXPECT_EQ(Du, sd8thDot);
    ASSERT_TRUE(Duration_FromBeats(3, Du));
    EXPECT_EQ(Du, sd2thDot);
    EXPECT_FALSE(Duration_FromBeats(2.5, Du));
    EXPECT_FALSE(Duration_FromBeats(0.752, Du));
}

TEST(DurationText, WriterUsesCanonicalCharacters) {
    EXPECT_EQ(Duration_ToABCText(sd4th), u"");
    EXPECT_EQ(Duration_ToABCText(sdNone), u"");
    EXPECT_EQ(Duration_ToABCText(sd32thDot), u"___.");
    EXPECT_EQ(Duration_ToABCText(sd8thDotDotDot), u"_...");
    EXPECT_EQ(Duration_ToABCText(sd2thDot), u"--");
    EXPECT_EQ(Duration_ToABCText(sd1thPlus4), u"-------");
    for (int I = 1; I < Nuo4DurationCount; ++I) {
        const auto Du = static_cast<TNuo4Duration>(I);
        const std::u16string S = Duration_ToABCText(Du);
        if (S.empty()) continue;
        EXPECT_EQ(D(S), Du) << EnumName(Du);
    }
}

TEST(DurationText, UnderlinesAndDotsMixInAnyOrder) {
    EXPECT_EQ(D(u"_._"), sd16thDot);
    EXPECT_EQ(D(u"j"), sd8th);
    EXPECT_EQ(D(u"jf"), sd8thDot);
    EXPECT_EQ(D(u".._"), sd8thDotDot);
    EXPECT_EQ(D(u"."), sd4thDot);
    EXPECT_EQ(D(u"zz"), sd2thDot);
    EXPECT_EQ(D(u"-z-"), sd1th);
}

TEST(DurationText, RunStopsAtTheOtherKind) {
    int32_t End = -1;
    EXPECT_EQ(D(u"__---", &End), sd16th);
    EXPECT_EQ(End, 1);
    EXPECT_EQ(D(u"-_", &End), sd2th);
    EXPECT_EQ(End, 0);
    EXPECT_EQ(D(u"_a", &End), sd8th);
    EXPECT_EQ(End, 0);
    TNuo4Duration Du;
    const std::u16string S = u"a_";
    EXPECT_FALSE(ReadDuration(S, All(S), Du, End));
    EXPECT_EQ(End, -1);
}

TEST(DurationText, CountsAreClampedBeforeMapping) {
    EXPECT_EQ(D(u"----------"), sd1thPlus4);
    EXPECT_EQ(D(u"_......"), sd8thDotDotDot);
    EXPECT_EQ(D(u"__..."), sd16thDotDot);  // three dots as two
    EXPECT_EQ(D(u"___.."), sd32thDot);     // one or more dots
    EXPECT_EQ(D(u"____..."), sd64th);      // dots ignored
    EXPECT_EQ(D(u"_______"), sd64th);
}

TEST(DurationEditing, ToggleDot) {
    EXPECT_EQ(Duration_ToggleRightDot(sd64th), sd64th);
    EXPECT_EQ(Duration_ToggleRightDot(sd32th), sd32thDot);
    EXPECT_EQ(Duration_ToggleRightDot(sd32thDot), sd32th);
    EXPECT_EQ(Duration_ToggleRightDot(sd16th), sd16thDot);
    EXPECT_EQ(Duration_ToggleRightDot(sd16thDot), sd16th);
    EXPECT_EQ(Duration_ToggleRightDot(sd16thDotDot), sd16th);
    EXPECT_EQ(Duration_ToggleRightDot(sd8th), sd8thDot);
    EXPECT_EQ(Duration_ToggleRightDot(sd8thDot), sd8thDotDot);
    EXPECT_EQ(Duration_ToggleRightDot(sd8thDotDot), sd8th);
    EXPECT_EQ(Duration_ToggleRightDot(sd8thDotDotDot), sd8th);
    EXPECT_EQ(Duration_ToggleRightDot(sd4thDot), sd4thDotDot);
    EXPECT_EQ(Duration_ToggleRightDot(sd4thDotDot), sd4th);
    EXPECT_EQ(Duration_ToggleRightDot(sd4thDotDotDot), sd4th);
    EXPECT_EQ(Duration_ToggleRightDot(sd4th), sd4thDot);
    EXPECT_EQ(Duration_ToggleRightDot(sd2th), sd4thDot);
    EXPECT_EQ(Duration_ToggleRightDot(sdNone), sd4thDot);
}

TEST(DurationEditing, ToggleRightLine) {
    EXPECT_EQ(Duration_ToggleRightLine(sdNone), sd2th);
    EXPECT_EQ(Duration_ToggleRightLine(sd4th), sd2th);
    EXPECT_EQ(Duration_ToggleRightLine(sd2th), sd2thDot);
    EXPECT_EQ(Duration_ToggleRightLine(sd2thDot), sd1th);
    EXPECT_EQ(Duration_ToggleRightLine(sd1thPlus3), sd1thPlus4);
    EXPECT_EQ(Duration_ToggleRightLine(sd1thPlus4), sd4th);
    EXPECT_EQ(Duration_ToggleRightLine(sd8thDot), sd4th);
}

TEST(DurationEditing, ToggleUnderline) {
    EXPECT_EQ(Duration_ToggleUnderline(sd4th), sd8th);
    EXPECT_EQ(Duration_ToggleUnderline(sd8th), sd16th);
    EXPECT_EQ(Duration_ToggleUnderline(sd16th), sd32th);
    EXPECT_EQ(Duration_ToggleUnderline(sd32th), sd4th);
    EXPECT_EQ(Duration_ToggleUnderline(sd64th), sd4th);
    EXPECT_EQ(Duration_ToggleUnderline(sd4thDot), sd8thDot);
    EXPECT_EQ(Duration_ToggleUnderline(sd8thDot), sd16thDot);
    EXPECT_EQ(Duration_ToggleUnderline(sd16thDot), sd32thDot);
    EXPECT_EQ(Duration_ToggleUnderline(sd32thDot), sd4thDot);
    EXPECT_EQ(Duration_ToggleUnderline(sd4thDotDot), sd8thDotDot);
    EXPECT_EQ(Duration_ToggleUnderline(sd8thDotDot), sd16thDotDot);
    EXPECT_EQ(Duration_ToggleUnderline(sd16thDotDot), sd32thDot);
    EXPECT_EQ(Duration_ToggleUnderline(sd4thDotDotDot), sd8thDotDotDot);
    EXPECT_EQ(Duration_ToggleUnderline(sd8thDotDotDot), sd16thDotDot);
    EXPECT_EQ(Duration_ToggleUnderline(sd2th), sd8th);
    EXPECT_EQ(Duration_ToggleUnderline(sdNone), sd8th);
}

TEST(DurationEditing, StepThroughAllValuesStopsAtTheEnds) {
    EXPECT_EQ(Duration_StepShorter(sd4th, true), sd8thDotDotDot);
    EXPECT_EQ(Duration_StepShorter(sd64th, true), sd64th);
    EXPECT_EQ(Duration_StepLonger(sd4thDotDotDot, true), sd2th);
    EXPECT_EQ(Duration_StepLonger(sd1thPlus4, true), sd1thPlus4);
    EXPECT_EQ(Duration_StepShorter(sdNone, true), sd4th);
    EXPECT_EQ(Duration_StepLonger(sdNone, true), sd4th);
}

TEST(DurationEditing, StepThroughCommonValues) {
    EXPECT_EQ(Duration_StepShorter(sd4th, false), sd8thDot);
    EXPECT_EQ(Duration_StepShorter(sd4thDotDot, false), sd4thDot);
    EXPECT_EQ(Duration_StepShorter(sd16th, false), sd32th);
    EXPECT_EQ(Duration_StepShorter(sd32th, false), sd32th);
    EXPECT_EQ(Duration_StepShorter(sd64th, false), sd32th);
    EXPECT_EQ(Duration_StepShorter(sd1thPlus4, false), sd1th);
    EXPECT_EQ(Duration_StepLonger(sd4th, false), sd4thDot);
    EXPECT_EQ(Duration_StepLonger(sd8thDotDot, false), sd4th);
    EXPECT_EQ(Duration_StepLonger(sd64th, false), sd32th);
    EXPECT_EQ(Duration_StepLonger(sd2thDot, false), sd1th);
    EXPECT_EQ(Duration_StepLonger(sd1th, false), sd1th);
    EXPECT_EQ(Duration_StepLonger(sd1thPlus2, false), sd1th);
    EXPECT_EQ(Duration_StepShorter(sdNone, false), sd4th);
    EXPECT_EQ(Duration_StepLonger(sdNone, false), sd4th);
}

TEST(DurationEditing, RemoveDotsKeepsUnderlinesAndViceVersa) {
    EXPECT_EQ(Duration_RemoveDots(sd32thDot), sd32th);
    EXPECT_EQ(Duration_RemoveDots(sd16thDotDot), sd16th);
    EXPECT_EQ(Duration_RemoveDots(sd8thDotDotDot), sd8th);
    EXPECT_EQ(Duration_RemoveDots(sd4thDotDot), sd4th);
    EXPECT_EQ(Duration_RemoveDots(sd2thDot), sd4th);
    EXPECT_EQ(Duration_RemoveUnderlines(sd64th), sd4th);
    EXPECT_EQ(Duration_RemoveUnderlines(sd32thDot), sd4thDot);
    EXPECT_EQ(Duration_RemoveUnderlines(sd16thDotDot), sd4thDotDot);
    EXPECT_EQ(Duration_RemoveUnderlines(sd8thDotDotDot), sd4thDotDotDot);
    EXPECT_EQ(Duration_RemoveUnderlines(sd8th), sd4th);
    EXPECT_EQ(Duration_RemoveUnderlines(sd2th), sd2th);
}

// ---- Pure note
// -------------------------------------------------------------------------------------

TEST(PureNote, TextIsPitchThenDurationOptionallyBraced) {
    TrecNuo4MusicPureNote N;
    EXPECT_EQ(N.Duration, sdNone);
    EXPECT_TRUE(N.IsRest());
    N.SetPitch(5, 1, 1);
    N.SetDuration(sd8thDot);
    EXPECT_EQ(N.ToABCText(false), u"#5g_.");
    EXPECT_EQ(N.ToABCText(true), u"{#5g_.}");
    EXPECT_EQ(N.GetUnderlineCount(), 1);
    EXPECT_EQ(N.GetDotCount(), 1);
    EXPECT_TRUE(N.IsHighTune());

    TrecNuo4MusicPureNote R;
    int32_t End = -1;
    const std::u16string S = u"#5g_.x";
    ASSERT_TRUE(ReadPureNote(S, All(S), R, End));
    EXPECT_EQ(R, N);
    EXPECT_EQ(End, 4);
    const std::u16string T = u"3";
    ASSERT_TRUE(ReadPureNote(T, All(T), R, End));
    EXPECT_EQ(R.Duration, sd4th);
}

// ---- Meter
// -----------------------------------------------------------------------------------------

TEST(MeterModel, ValidityFreeBeatAndBeatsPerMeasure) {
    TrecNuo4Meter M;
    EXPECT_EQ(M, TrecNuo4Meter::Create(4, 4));
    M.SetToInvalid();
    EXPECT_FALSE(M.IsValid());
    EXPECT_TRUE(TrecNuo4Meter::Create(0, 4).IsFreeBeat());
    EXPECT_TRUE(TrecNuo4Meter::Create(99, 9).IsValid());
    EXPECT_FALSE(TrecNuo4Meter::Create(100, 4).IsValid());
    EXPECT_FALSE(TrecNuo4Meter::Create(3, 0).IsValid());
    EXPECT_DOUBLE_EQ(TrecNuo4Meter::Create(3, 4).GetFullDV(), 3);
    EXPECT_DOUBLE_EQ(TrecNuo4Meter::Create(6, 8).GetFullDV(), 3);
    EXPECT_DOUBLE_EQ(TrecNuo4Meter::Create(3, 0).GetFullDV(), 0);
    EXPECT_DOUBLE_EQ(TrecNuo4Meter::Create(0, 4).GetFullDV(), 0);
    EXPECT_EQ(TrecNuo4Meter::Create(0, 4).ToTact(), (TTact{1, 4}));
    EXPECT_EQ(TrecNuo4Meter::Create(6, 8).ToTact(), (TTact{6, 8}));
}

TEST(MeterModel, CompoundMetersGroupByDottedQuarters) {
    for (int N : {3, 6, 9, 12}) {
        EXPECT_DOUBLE_EQ(TrecNuo4Meter::Create(N, 8).GetDurationForDVGroup(), 1.5);
        EXPECT_TRUE(TrecNuo4Meter::Create(N, 8).DurationForDVGroupIs4thDot());
    }
    EXPECT_FALSE(TrecNuo4Meter::Create(5, 8).DurationForDVGroupIs4thDot());
    EXPECT_FALSE(TrecNuo4Meter::Create(6, 4).DurationForDVGroupIs4thDot());
}

TEST(MeterModel, OfferedListOrderAndLookups) {
    const auto& L = TrecNuo4Meter::AllMetersList();
    ASSERT_EQ(L.size(), 19u);
    EXPECT_EQ(TrecNuo4Meter::FromIndex(0), TrecNuo4Meter::Create(2, 4));
    EXPECT_EQ(TrecNuo4Meter::FromIndex(3), TrecNuo4Meter::Create(0, 4));
    EXPECT_EQ(TrecNuo4Meter::FromIndex(18), TrecNuo4Meter::Create(12, 8));
    EXPECT_FALSE(TrecNuo4Meter::FromIndex(19).IsValid());
    EXPECT_FALSE(TrecNuo4Meter::FromIndex(-1).IsValid());
    EXPECT_EQ(TrecNuo4Meter::Create(9, 8).IndexOf(), 17);
    EXPECT_EQ(TrecNuo4Meter::Create(5, 2).IndexOf(), -1);
    for (int I = 0; I < 19; ++I) EXPECT_EQ(TrecNuo4Meter::FromIndex(I).IndexOf(), I);
}

TEST(MeterText, ReadAcceptsTwoDigitNumeratorsAndOneDigitDenominators) {
    auto Read = [](std::u16string_view S, TrecNuo4Meter& M, int32_t& End) {
        return ReadMeter(S, All(S), M, End);
    };
    TrecNuo4Meter M;
    int32_t End = -1;
    ASSERT_TRUE(Read(u"12/8", M, End));
    EXPECT_EQ(M, TrecNuo4Meter::Create(12, 8));
    EXPECT_EQ(End, 3);
    ASSERT_TRUE(Read(u"0/4", M, End));
    EXPECT_TRUE(M.IsFreeBeat());
    EXPECT_FALSE(Read(u"3/16", M, End));
    EXPECT_FALSE(Read(u"100/4", M, End));
    EXPECT_FALSE(Read(u"-1/4", M, End));
    EXPECT_FALSE(Read(u"3/", M, End));
    EXPECT_FALSE(Read(u"/4", M, End));
    EXPECT_FALSE(Read(u"3-4", M, End));
    ASSERT_TRUE(Read(u"3/4x", M, End));
    EXPECT_EQ(End, 2);
}

TEST(MeterText, WriterUsesNumeratorSlashDenominator) {
    EXPECT_EQ(TrecNuo4Meter::Create(6, 8).ToABCString(false), u"6/8");
    EXPECT_EQ(TrecNuo4Meter::Create(0, 4).ToABCString(true), u"{0/4}");
}

// ---- Key
// -------------------------------------------------------------------------------------------

TEST(KeyText, ReadOptionalPrefixAccidentalAndLetter) {
    auto Read = [](std::u16string_view S, TrecNuo4KeySignature& K, int32_t& End) {
        return ReadKeySignature(S, All(S), K, End);
    };
    TrecNuo4KeySignature K;
    int32_t End = -1;
    ASSERT_TRUE(Read(u"1=bE", K, End));
    EXPECT_EQ(K.MainKey, 2);
    EXPECT_LT(K.Accidental, 0);
    EXPECT_TRUE(K.bWithOneIs);
    EXPECT_EQ(End, 3);
    ASSERT_TRUE(Read(u"#F", K, End));
    EXPECT_EQ(K.MainKey, 3);
    EXPECT_GT(K.Accidental, 0);
    EXPECT_FALSE(K.bWithOneIs);
    ASSERT_TRUE(Read(u"Gx", K, End));
    EXPECT_EQ(End, 0);                   // the letter ends the key
    EXPECT_FALSE(Read(u"1D", K, End));   // "1" without "="
    EXPECT_FALSE(Read(u"=D", K, End));   // "=" without "1"
    EXPECT_FALSE(Read(u"1=g", K, End));  // lower case
    EXPECT_FALSE(Read(u"##C", K, End));
    EXPECT_FALSE(Read(u"H", K, End));
    EXPECT_FALSE(Read(u"1=", K, End));
}

TEST(KeyText, WriterAddsPrefixAndBraces) {
    TrecNuo4KeySignature K;
    EXPECT_EQ(K.ToABCString(false), u"C");
    K.MainKey = 2;
    K.Accidental = -1;
    K.bWithOneIs = true;
    EXPECT_EQ(K.ToABCString(true), u"{1=bE}");
    K.Accidental = 3;
    K.bWithOneIs = false;
    EXPECT_EQ(K.ToABCString(false), u"#E");
    K.SetToInvalid();
    EXPECT_EQ(K.ToABCString(true), u"");
}

TEST(KeyModel, ToKey12FoldsIntoMinus3To8) {
    const std::pair<const char16_t*, int> Cases[] = {
        {u"C", 0},  {u"#C", 1}, {u"bD", 1},  {u"D", 2},   {u"#D", 3},  {u"bE", 3},
        {u"E", 4},  {u"#E", 5}, {u"bF", 4},  {u"F", 5},   {u"#F", 6},  {u"bG", 6},
        {u"G", 7},  {u"#G", 8}, {u"bA", 8},  {u"A", -3},  {u"#A", -2}, {u"bB", -2},
        {u"B", -1}, {u"#B", 0}, {u"bC", -1}, {u"1=#C", 1}};
    for (auto [Text, Expected] : Cases) {
        const std::u16string S = Text;
        TrecNuo4KeySignature K;
        int32_t End;
        ASSERT_TRUE(ReadKeySignature(S, All(S), K, End));
        EXPECT_EQ(K.ToKey12(), Expected) << nuo4::test::Utf8(S);
    }
}

TEST(KeyModel, FromKey12SpellsTheTwelveClassesAndKeepsThePrefix) {
    const char16_t* Names[12] = {u"C",  u"#C", u"D",  u"bE", u"E",  u"F",
                                 u"#F", u"G",  u"bA", u"A",  u"bB", u"B"};
    for (int K = 0; K < 12; ++K) {
        TrecNuo4KeySignature Key;
        Key.FromKey12(K);
        EXPECT_EQ(Key.ToABCString(false), Names[K]);
    }
    TrecNuo4KeySignature Key;
    Key.bWithOneIs = true;
    Key.FromKey12(1);
    EXPECT_EQ(Key.ToABCString(false), u"1=#C");
    Key.FromKey12(-3);
    EXPECT_EQ(Key.ToABCString(false), u"1=A");
    Key.FromKey12(-100);  // far below -60 still folds
    EXPECT_EQ(Key.ToABCString(false), u"1=bA");
    for (int K = -3; K <= 8; ++K) {
        Key.FromKey12(K);
        EXPECT_EQ(Key.ToKey12(), K);
    }
}

TEST(KeyModel, Key17AndDisplayNames) {
    EXPECT_EQ(Key17_Name(0), u"C");
    EXPECT_EQ(Key17_Name(9), u"bG");
    EXPECT_EQ(Key17_Name(16), u"B");
    EXPECT_EQ(Key17_Name(17), u"");
    EXPECT_EQ(Key17_ToKeySignature(12).ToKey12(), 8);
    EXPECT_FALSE(Key17_ToKeySignature(-1).IsValid());
    EXPECT_EQ(Key12_DisplayName(1), u"#C(bD)");
    EXPECT_EQ(Key12_DisplayName(-1), u"B");
}

TEST(KeyAndMetersText, KeyThenMetersSplitAtCommas) {
    auto Read = [](std::u16string_view S, TrecNuo4KeyAndMeters& V, int32_t& End) {
        return ReadKeyAndMeters(S, All(S), V, End);
    };
    TrecNuo4KeyAndMeters V;
    int32_t End = -1;
    ASSERT_TRUE(Read(u"1=bE,3/4", V, End));
    EXPECT_EQ(V.Key.ToABCString(false), u"1=bE");
    ASSERT_EQ(V.Meters.size(), 1u);
    EXPECT_EQ(V.Meters[0], TrecNuo4Meter::Create(3, 4));
    EXPECT_EQ(End, 7);

    ASSERT_TRUE(Read(u"{2/4, 3/4}", V, End));
    EXPECT_FALSE(V.Key.IsValid());
    EXPECT_EQ(V.Meters.size(), 2u);
    EXPECT_EQ(End, 9);  // the closing brace

    ASSERT_TRUE(Read(u"G", V, End));
    EXPECT_TRUE(V.Key.IsValid());
    EXPECT_TRUE(V.Meters.empty());
}

TEST(KeyAndMetersText, MetersStopAtTheFirstFailureAndSomethingMustRead) {
    TrecNuo4KeyAndMeters V;
    int32_t End = -1;
    const std::u16string S = u"D,2/4,x,3/4";
    ASSERT_TRUE(ReadKeyAndMeters(S, All(S), V, End));
    EXPECT_EQ(V.Meters.size(), 1u);
    EXPECT_EQ(End, 4);
    for (const std::u16string F : {u"abc", u"2/4abc", u"{}", u"3/16", u"x,2/4"}) {
        EXPECT_FALSE(ReadKeyAndMeters(F, All(F), V, End)) << nuo4::test::Utf8(F);
    }
}

// ---- Pitch arrays
// ------------------------------------------------------------------------------------

namespace {
TNuo4Pitches L(std::u16string_view S) {
    TNuo4Pitches R;
    int32_t End;
    EXPECT_TRUE(ReadPitchList(S, All(S), R, End));
    return R;
}
}  // namespace

TEST(PitchArrays, LookupAndEqualityByMidiNote) {
    const TNuo4Pitches A = L(u"13#15");
    EXPECT_EQ(Pitches_IndexOf(A, P(u"b2")), 2);
    EXPECT_EQ(Pitches_IndexOf(A, P(u"2")), -1);
    EXPECT_TRUE(Pitches_Equal(L(u"#12"), L(u"b22")));
    EXPECT_FALSE(Pitches_Equal(L(u"12"), L(u"123")));
    EXPECT_TRUE(Pitches_IsSingle(L(u"1")));
    EXPECT_FALSE(Pitches_IsSingle(L(u"12")));
    EXPECT_TRUE(Pitches_IsMultiple(L(u"12")));
    EXPECT_FALSE(Pitches_IsMultiple({}));
}

TEST(PitchArrays, OctaveMovesOnlyWhenEveryPitchCan) {
    TNuo4Pitches A = L(u"1ggg5");
    EXPECT_FALSE(Pitches_CanOctaveUp(A));
    EXPECT_FALSE(Pitches_OctaveUp(A));
    EXPECT_EQ(Pitches_ToABCText(A), u"1ggg5");
    ASSERT_TRUE(Pitches_OctaveDown(A));
    EXPECT_EQ(Pitches_ToABCText(A), u"1gg5d");
    TNuo4Pitches B = L(u"1dd");
    ASSERT_TRUE(Pitches_OctaveDown(B));
    EXPECT_FALSE(Pitches_CanOctaveDown(B));
    TNuo4Pitches Empty;
    EXPECT_FALSE(Pitches_CanOctaveUp(Empty));
    EXPECT_FALSE(Pitches_OctaveDown(Empty));
}

TEST(PitchArrays, SortAscendingOrDescending) {
    TNuo4Pitches A = L(u"5g1x#40");
    Pitches_Sort(A, false);
    EXPECT_EQ(Pitches_ToABCText(A), u"01#45gx");
    Pitches_Sort(A, true);
    EXPECT_EQ(Pitches_ToABCText(A), u"x5g#410");
}

TEST(PitchArrays, MidiNotesAndTexts) {
    TNuo4Pitches A = L(u"15");
    TrecNuo4Pitch Bad;
    Bad.SetToInvalid();
    A.push_back(Bad);
    EXPECT_EQ(Pitches_ToMidiNotes(A, 2), (std::vector<TNuo4MidiNote>{62, 69, 0}));
    EXPECT_EQ(Pitches_ToABCText_Grace(L(u"12")), u"{12}");
    EXPECT_EQ(Pitches_ToABCText_Chord(L(u"135")), u"[135]");
    EXPECT_EQ(Pitches_ToABCText_Chord(L(u"3")), u"3");
    EXPECT_EQ(Pitches_ToABCText_Chord({}), u"");
}

TEST(PitchArrays, AddCopyAndDeleteAreCutToTheArray) {
    TNuo4Pitches A = L(u"123");
    Pitches_Add(A, P(u"4"));
    Pitches_Add(A, L(u"56"));
    EXPECT_EQ(Pitches_ToABCText(A), u"123456");
    EXPECT_EQ(Pitches_ToABCText(Pitches_Copy(A, 4, 10)), u"56");
    EXPECT_TRUE(Pitches_Copy(A, 6, 1).empty());
    EXPECT_TRUE(Pitches_Copy(A, 1, -1).empty());
    EXPECT_EQ(Pitches_ToABCText(Pitches_Copy(A, -2, 3)), u"1");
    EXPECT_EQ(Pitches_DeleteRange(A, 1, 2), 2);
    EXPECT_EQ(Pitches_ToABCText(A), u"1456");
    EXPECT_EQ(Pitches_DeleteRange(A, 3, 100), 1);
    EXPECT_EQ(Pitches_DeleteRange(A, 10, 1), 0);
    EXPECT_EQ(Pitches_ToABCText(A), u"145");
}

// ---- Style names
// -----------------------------------------------------------------------------------

TEST(NoteSubStyleText, NamesMatchIgnoringCaseAndMayNeedAWordEnd) {
    for (int I = 0; I < Nuo4NoteSubStyleCount; ++I) {
        const auto Style = static_cast<TNuo4NoteSubStyle>(I);
        const std::u16string S = NoteSubStyleName(Style);
        TNuo4NoteSubStyle R = nssNormal;
        int32_t End = -1;
        ASSERT_TRUE(ABC_ParseNoteSubStyle(S, All(S), true, R, End));
        EXPECT_EQ(R, Style);
        EXPECT_EQ(End, static_cast<int32_t>(S.size()) - 1);
    }
    TNuo4NoteSubStyle R;
    int32_t End;
    const std::u16string A = u"substyleZIP rest";
    ASSERT_TRUE(ABC_ParseNoteSubStyle(A, All(A), true, R, End));
    EXPECT_EQ(R, nssZip);
    EXPECT_EQ(End, 10);
    const std::u16string B = u"SubStyleZipper";
    EXPECT_FALSE(ABC_ParseNoteSubStyle(B, All(B), true, R, End));
    ASSERT_TRUE(ABC_ParseNoteSubStyle(B, All(B), false, R, End));
    EXPECT_EQ(End, 10);
}

TEST(EnumNames, CoverEveryValue) {
    EXPECT_STREQ(EnumName(DigitUnkown), "DigitUnkown");
    EXPECT_STREQ(EnumName(ssNatural), "ssNatural");
    EXPECT_STREQ(EnumName(sd1thPlus4), "sd1thPlus4");
    EXPECT_STREQ(EnumName(nssItalicGrace), "nssItalicGrace");
    EXPECT_STREQ(EnumName(dfFace3), "dfFace3");
    EXPECT_STREQ(EnumName(mfsaChanYin), "mfsaChanYin");
    EXPECT_EQ(std::u16string(ArticulationName(mfsaBoYin2)), u"BoYin2");
}
