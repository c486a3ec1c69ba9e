#pragma once
// The value types of the music: pitches (scale degrees relative to the key, rests and
// percussion characters), durations, pure notes, meters and key signatures, with their text
// forms in the score notation, plus the small note-style enumerations the grammars share.
//
// Readers follow the usual shape: the whole text, a range to read in, the output record and
// the position (UTF-16 code unit index into the text) of the last character consumed.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "format/abc_common.h"
#include "format/ko_range.h"
#include "format/small_vector.h"

namespace nuo4 {

// ---- Pitch ----------------------------------------------------------------------------------

enum TNuo4Digit : uint8_t {
    Digit0,  // rest
    Digit1,
    Digit2,
    Digit3,
    Digit4,
    Digit5,
    Digit6,
    Digit7,
    DigitDrum,  // a percussion character instead of a degree
    DigitHide,
    DigitUnkown,  // the invalid value
};
const char* EnumName(TNuo4Digit AValue);

enum TNuo4Accidental : uint8_t { ssNone, ssSharp, ssFlat, ssNatural };
const char* EnumName(TNuo4Accidental AValue);

using TNuo4Octave = int8_t;  // -3 ... 3; positive = dots above the digit
constexpr TNuo4Octave Nuo4MinOctave = -3;
constexpr TNuo4Octave Nuo4MaxOctave = 3;

using TNuo4MidiNote = uint8_t;  // 0 ... 127

struct TrecNuo4DrumPitch {
    bool bUseCoreFont = false;  // drawn from the music font rather than the text font
    char16_t DrumChar = 0;      // 0 = no character

    void Initiallize(char16_t ADrumChar, bool AbUseCoreFont) {
        DrumChar = ADrumChar;
        bUseCoreFont = AbUseCoreFont;
    }
    bool IsValid() const { return DrumChar != 0; }
    bool operator==(const TrecNuo4DrumPitch&) const = default;
};

struct TrecNuo4Pitch {
    TNuo4Digit Digit = Digit0;
    TNuo4Accidental Accidental = ssNone;
    TNuo4Octave Octave = 0;
    TrecNuo4DrumPitch DrumPitch;  // meaningful only when Digit is DigitDrum

    void SetToDefault() { Initialize_ToRest(); }
    void SetToInvalid();
    bool IsValid() const { return Digit != DigitUnkown; }

    void Initialize_ToRest();
    void Initialize_ToNormalPitch(TNuo4Digit ADigit, int32_t AOctave, TNuo4Accidental AAccidental);
    // AAccidental: -1 flat, 1 sharp, 2 natural, anything else none. A digit outside 0 ... 7
    // gives the invalid pitch; the octave is clamped to -3 ... 3.
    void Initialize_ToNormalPitch(int32_t ADigit, int32_t AOctave, int32_t AAccidental);
    void Initialize_ToDrumPitch(char16_t APitchChar, bool AbUseCoreFont);

    bool IsRest() const { return Digit == Digit0; }
    bool IsDrum() const { return Digit == DigitDrum; }
    bool IsCharDrum() const { return IsDrum() && DrumPitch.IsValid(); }
    bool IsHighTune() const { return !IsDrum() && Octave > 0; }
    bool WithAccidental() const { return !IsDrum() && Accidental != ssNone; }
    // Whether the digit is a scale degree 1 ... 7.
    bool IsNormalDegree() const { return Digit >= Digit1 && Digit <= Digit7; }
    TrecNuo4Pitch RemoveAccidental() const;

    // A rest gives 0, a drum 127, an invalid or hidden pitch 0; a degree gives
    // 60 + 12 * octave + its offset from C + Transpose, moved by its accidental.
    TNuo4MidiNote ToMidiNote(int32_t Transpose) const;
    // 0 sets a rest and 127 a drum without character, both returning false; 24 ... 107 set a
    // degree (black keys as sharps) and return true; any other value fails without change.
    bool FromMidiNote(int32_t Value);

    // All transpositions return false and leave the pitch unchanged when they cannot apply.
    bool Transpose_Semitone(int32_t Offset);
    bool Transpose_Natural(int32_t Offset, bool bKeepAccidental);
    bool Transpose(int32_t Offset, bool bSemitone);
    bool Transpose_Natural_3th(bool bDown);
    bool Adjust_Natural_1th_Up();
    bool Adjust_Natural_1th_Down();

    // Pitches compare by their MIDI note: "#1" equals "b2", rests are lowest, drums highest.
    bool operator==(const TrecNuo4Pitch& B) const { return ToMidiNote(0) == B.ToMidiNote(0); }
    bool operator>(const TrecNuo4Pitch& B) const { return ToMidiNote(0) > B.ToMidiNote(0); }
    bool operator<(const TrecNuo4Pitch& B) const { return ToMidiNote(0) < B.ToMidiNote(0); }
    // Field-wise identity (the drum character and accidental spelling count).
    bool SameAs(const TrecNuo4Pitch& B) const;

    std::u16string ToABCText() const;
};

// A note has one pitch, a chord or grace group mostly two: these stay inside the record.
using TNuo4Pitches = TNuo4SmallVector<TrecNuo4Pitch, 2>;

// One pitch from the start of the range: accidentals, a digit or drum mark, octave marks.
bool ReadPitch(TText AText, TKoRange ARange, TrecNuo4Pitch& APitch, int32_t& AEndPos);
// Pitches one after another until one fails ("135" is three); fails only when the first does.
bool ReadPitchList(TText AText, TKoRange ARange, TNuo4Pitches& APitches, int32_t& AEndPos);

// ---- Duration -------------------------------------------------------------------------------

enum TNuo4Duration : uint8_t {
    sdNone,
    sd64th,
    sd32th,
    sd32thDot,
    sd16th,
    sd16thDot,
    sd16thDotDot,
    sd8th,
    sd8thDot,
    sd8thDotDot,
    sd8thDotDotDot,
    sd4th,
    sd4thDot,
    sd4thDotDot,
    sd4thDotDotDot,
    sd2th,
    sd2thDot,
    sd1th,
    sd1thPlus1,
    sd1thPlus2,
    sd1thPlus3,
    sd1thPlus4,
};
constexpr int Nuo4DurationCount = 22;
const char* EnumName(TNuo4Duration AValue);

double Duration_Beats(TNuo4Duration ADuration);  // a beat is a quarter note
int Duration_UnderlineCount(TNuo4Duration ADuration);
int Duration_DotCount(TNuo4Duration ADuration);
int Duration_RightLineCount(TNuo4Duration ADuration);
// The first duration in enumeration order whose beats differ by less than 0.001.
bool Duration_FromBeats(double ABeats, TNuo4Duration& ADuration);

// Underlines "_", dots "." and dashes "-"; nothing for a quarter note or sdNone.
std::u16string Duration_ToABCText(TNuo4Duration ADuration);
// A run of underline ("_", "j") and dot (".", "f") characters, or a run of dashes ("-", "z").
bool ReadDuration(TText AText, TKoRange ARange, TNuo4Duration& ADuration, int32_t& AEndPos);

// Editing steps of the keyboard commands.
TNuo4Duration Duration_ToggleRightDot(TNuo4Duration ADuration);
TNuo4Duration Duration_ToggleRightLine(TNuo4Duration ADuration);
TNuo4Duration Duration_ToggleUnderline(TNuo4Duration ADuration);
// bAllValues steps through every value; otherwise through the common values only.
TNuo4Duration Duration_StepShorter(TNuo4Duration ADuration, bool bAllValues);
TNuo4Duration Duration_StepLonger(TNuo4Duration ADuration, bool bAllValues);
TNuo4Duration Duration_RemoveDots(TNuo4Duration ADuration);
TNuo4Duration Duration_RemoveUnderlines(TNuo4Duration ADuration);

// ---- Pure note ------------------------------------------------------------------------------

struct TrecNuo4MusicPureNote {
    TrecNuo4Pitch Pitch;
    TNuo4Duration Duration = sdNone;

    void Initialize(const TrecNuo4Pitch& APitch, TNuo4Duration ADuration) {
        Pitch = APitch;
        Duration = ADuration;
    }
    void SetPitch(const TrecNuo4Pitch& APitch) { Pitch = APitch; }
    void SetPitch(int32_t ADigit, int32_t AOctave, int32_t AAccidental) {
        Pitch.Initialize_ToNormalPitch(ADigit, AOctave, AAccidental);
    }
    void SetDuration(TNuo4Duration ADuration) { Duration = ADuration; }
    void SetToDefault() {
        Pitch.SetToDefault();
        Duration = sdNone;
    }

    int GetUnderlineCount() const { return Duration_UnderlineCount(Duration); }
    int GetDotCount() const { return Duration_DotCount(Duration); }
    int GetRightLineCount() const { return Duration_RightLineCount(Duration); }
    double GetBeats() const { return Duration_Beats(Duration); }
    bool IsRest() const { return Pitch.IsRest(); }
    bool IsDrum() const { return Pitch.IsDrum(); }
    bool IsCharDrum() const { return Pitch.IsCharDrum(); }
    bool IsHighTune() const { return Pitch.IsHighTune(); }
    bool WithAccidental() const { return Pitch.WithAccidental(); }

    std::u16string ToABCText(bool bWithDaKuoHao) const;
    bool operator==(const TrecNuo4MusicPureNote& B) const {
        return Pitch.SameAs(B.Pitch) && Duration == B.Duration;
    }
};

// A pitch followed by an optional duration (a quarter note when none is written).
bool ReadPureNote(TText AText, TKoRange ARange, TrecNuo4MusicPureNote& ANote, int32_t& AEndPos);

// ---- Meter ----------------------------------------------------------------------------------

struct TTact {
    int32_t FenZi = 4;
    int32_t FenMu = 4;
    bool operator==(const TTact&) const = default;
};

struct TrecNuo4Meter {
    int32_t FenZi = 4;  // numerator; 0 = free meter
    int32_t FenMu = 4;  // denominator

    static TrecNuo4Meter Create(int32_t AFenZi, int32_t AFenMu) {
        TrecNuo4Meter M;
        M.Initialize(AFenZi, AFenMu);
        return M;
    }
    void Initialize(int32_t AFenZi, int32_t AFenMu) {
        FenZi = AFenZi;
        FenMu = AFenMu;
    }
    void SetToDefault() { Initialize(4, 4); }
    void SetToInvalid() { Initialize(0, 0); }
    bool IsValid() const { return FenZi >= 0 && FenZi <= 99 && FenMu >= 1 && FenMu <= 9; }
    bool IsFreeBeat() const { return FenZi == 0; }
    bool Equal(const TrecNuo4Meter& B) const { return FenZi == B.FenZi && FenMu == B.FenMu; }
    bool operator==(const TrecNuo4Meter&) const = default;

    double GetFullDV() const;  // beats per measure
    double GetDurationForDVGroup() const;
    bool DurationForDVGroupIs4thDot() const;
    TTact ToTact() const;
    std::u16string ToABCString(bool bWithDaKuoHao) const;

    // The offered meters, in menu order.
    static const std::vector<TrecNuo4Meter>& AllMetersList();
    static TrecNuo4Meter FromIndex(int AIndex);  // the invalid meter outside 0 ... 18
    int IndexOf() const;                         // -1 when not offered
};

// N "/" D with 0 <= N <= 99 and 0 <= D <= 9, read from the start of the range.
bool ReadMeter(TText AText, TKoRange ARange, TrecNuo4Meter& AMeter, int32_t& AEndPos);

// ---- Key ------------------------------------------------------------------------------------

struct TrecNuo4KeySignature {
    int32_t MainKey = 0;      // 0 ... 6 for C, D, E, F, G, A, B
    int32_t Accidental = 0;   // < 0 flat, 0 none, > 0 sharp
    bool bWithOneIs = false;  // written with the prefix "1="

    void SetToDefault() { *this = TrecNuo4KeySignature(); }
    void SetToInvalid() {
        SetToDefault();
        MainKey = -1;
    }
    bool IsValid() const { return MainKey >= 0 && MainKey <= 6; }
    bool operator==(const TrecNuo4KeySignature&) const = default;

    std::u16string ToABCString(bool bWithDaKuoHao) const;
    // Semitones from C folded into -3 ... 8 (0 for an invalid key).
    int32_t ToKey12() const;
    void FromKey12(int32_t AKey);
};

// Optional "1=", optional "#" or "b", an upper-case letter "A" ... "G" that ends the key.
bool ReadKeySignature(TText AText, TKoRange ARange, TrecNuo4KeySignature& AKey, int32_t& AEndPos);

struct TrecNuo4KeyAndMeters {
    TrecNuo4KeySignature Key;
    std::vector<TrecNuo4Meter> Meters;

    void SetToDefault() {
        Key.SetToDefault();
        Meters.clear();
    }
    void SetToInvalid() {
        Key.SetToInvalid();
        Meters.clear();
    }
    bool operator==(const TrecNuo4KeyAndMeters&) const = default;
};

// "1=bE,3/4", "{2/4}", "G": an optional key then meters, split at commas.
bool ReadKeyAndMeters(TText AText, TKoRange ARange, TrecNuo4KeyAndMeters& AValue, int32_t& AEndPos);

// The 17 spelled keys "C", "#C", "bD", ... "B" (0 ... 16).
using TNuo4Key17 = int32_t;
constexpr int Nuo4Key17Count = 17;
std::u16string Key17_Name(TNuo4Key17 AKey);  // empty outside 0 ... 16
TrecNuo4KeySignature Key17_ToKeySignature(TNuo4Key17 AKey);
// The twelve pitch classes for display: "C", "#C(bD)", ... "B"; the index is folded mod 12.
std::u16string Key12_DisplayName(int32_t AKey12);

// ---- Note styles, faces and articulations ----------------------------------------------------

using TNuo4NoteMainStyle = uint8_t;  // 0 ... 7

enum TNuo4NoteSubStyle : uint8_t {
    nssNormal,
    nssZip,
    nssSmallSize,
    nssGrace,
    nssItalicNormal,
    nssItalicZip,
    nssItalicSmallSize,
    nssItalicGrace,
};
constexpr int Nuo4NoteSubStyleCount = 8;
const char* EnumName(TNuo4NoteSubStyle AValue);
// The written names "SubStyleNormal" ... "SubStyleItalicGrace".
const char16_t* NoteSubStyleName(TNuo4NoteSubStyle AValue);
// A sub-style name at the start of the range, ignoring case; with bWordEnd it must be
// followed by white space or the end of the range.
bool ABC_ParseNoteSubStyle(TText AText, TKoRange ARange, bool bWordEnd, TNuo4NoteSubStyle& AValue,
                           int32_t& AEndPos);

enum TNuo4DigitFace : uint8_t { dfFace0, dfFace1, dfFace2, dfFace3 };
constexpr int Nuo4DigitFaceCount = 4;
const char* EnumName(TNuo4DigitFace AValue);

enum TNuo4Articulation : uint8_t {
    mfsaDunYin,
    mfsaZhongYin,
    mfsaBaoChiYin,
    mfsaYanYin,
    mfsaBoYin,
    mfsaDunYin2,
    mfsaBoYin2,
    mfsaChanYin,
};
constexpr int Nuo4ArticulationCount = 8;
const char* EnumName(TNuo4Articulation AValue);
// The written names "DunYin", "ZhongYin", ... "ChanYin".
const char16_t* ArticulationName(TNuo4Articulation AValue);

}  // namespace nuo4
