#include "format/music_common.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace nuo4 {

namespace {

template <typename T, size_t N>
const char* NameOf(const char* const (&ANames)[N], T AValue) {
    const size_t I = static_cast<size_t>(AValue);
    return I < N ? ANames[I] : "";
}

// Semitone offsets of the degrees 1 ... 7 from the tonic.
constexpr int DegreeOffset[8] = {0, 0, 2, 4, 5, 7, 9, 11};

TNuo4Octave ClampOctave(int32_t AOctave) {
    return static_cast<TNuo4Octave>(std::clamp<int32_t>(AOctave, Nuo4MinOctave, Nuo4MaxOctave));
}

// Floor division and non-negative remainder.
int32_t FloorDiv(int32_t A, int32_t B) {
    int32_t Q = A / B;
    if ((A % B != 0) && ((A < 0) != (B < 0))) --Q;
    return Q;
}
int32_t PosMod(int32_t A, int32_t B) {
    const int32_t R = A % B;
    return R < 0 ? R + B : R;
}

}  // namespace

// ---- Enumeration names ------------------------------------------------------------------------

const char* EnumName(TNuo4Digit AValue) {
    static const char* const Names[] = {"Digit0",    "Digit1",    "Digit2",     "Digit3",
                                        "Digit4",    "Digit5",    "Digit6",     "Digit7",
                                        "DigitDrum", "DigitHide", "DigitUnkown"};
    return NameOf(Names, AValue);
}

const char* EnumName(TNuo4Accidental AValue) {
    static const char* const Names[] = {"ssNone", "ssSharp", "ssFlat", "ssNatural"};
    return NameOf(Names, AValue);
}

const char* EnumName(TNuo4Duration AValue) {
    static const char* const Names[] = {"sdNone",     "sd64th",      "sd32th",         "sd32thDot",
                                        "sd16th",     "sd16thDot",   "sd16thDotDot",   "sd8th",
                                        "sd8thDot",   "sd8thDotDot", "sd8thDotDotDot", "sd4th",
                                        "sd4thDot",   "sd4thDotDot", "sd4thDotDotDot", "sd2th",
                                        "sd2thDot",   "sd1th",       "sd1thPlus1",     "sd1thPlus2",
                                        "sd1thPlus3", "sd1thPlus4"};
    return NameOf(Names, AValue);
}

const char* EnumName(TNuo4NoteSubStyle AValue) {
    static const char* const Names[] = {"nssNormal",          "nssZip",          "nssSmallSize",
                                        "nssGrace",           "nssItalicNormal", "nssItalicZip",
                                        "nssItalicSmallSize", "nssItalicGrace"};
    return NameOf(Names, AValue);
}

const char* EnumName(TNuo4DigitFace AValue) {
    static const char* const Names[] = {"dfFace0", "dfFace1", "dfFace2", "dfFace3"};
    return NameOf(Names, AValue);
}

const char* EnumName(TNuo4Articulation AValue) {
    static const char* const Names[] = {"mfsaDunYin", "mfsaZhongYin", "mfsaBaoChiYin",
                                        "mfsaYanYin", "mfsaBoYin",    "mfsaDunYin2",
                                        "mfsaBoYin2", "mfsaChanYin"};
    return NameOf(Names, AValue);
}

// ---- Pitch --------------------------------------------------------------------------------------

void TrecNuo4Pitch::SetToInvalid() {
    *this = TrecNuo4Pitch();
    Digit = DigitUnkown;
}

void TrecNuo4Pitch::Initialize_ToRest() {
    *this = TrecNuo4Pitch();
}

void TrecNuo4Pitch::Initialize_ToNormalPitch(TNuo4Digit ADigit, int32_t AOctave,
                                             TNuo4Accidental AAccidental) {
    *this = TrecNuo4Pitch();
    Digit = ADigit;
    Octave = ClampOctave(AOctave);
    Accidental = AAccidental;
}

void TrecNuo4Pitch::Initialize_ToNormalPitch(int32_t ADigit, int32_t AOctave, int32_t AAccidental) {
    if (ADigit < 0 || ADigit > 7) {
        SetToInvalid();
        return;
    }
    TNuo4Accidental A = ssNone;
    if (AAccidental == -1)
        A = ssFlat;
    else if (AAccidental == 1)
        A = ssSharp;
    else if (AAccidental == 2)
        A = ssNatural;
    Initialize_ToNormalPitch(static_cast<TNuo4Digit>(ADigit), ClampOctave(AOctave), A);
}

void TrecNuo4Pitch::Initialize_ToDrumPitch(char16_t APitchChar, bool AbUseCoreFont) {
    *this = TrecNuo4Pitch();
    Digit = DigitDrum;
    DrumPitch.Initiallize(APitchChar, AbUseCoreFont);
}

TrecNuo4Pitch TrecNuo4Pitch::RemoveAccidental() const {
    TrecNuo4Pitch P = *this;
    P.Accidental = ssNone;
    return P;
}

bool TrecNuo4Pitch::SameAs(const TrecNuo4Pitch& B) const {
    if (Digit != B.Digit) return false;
    if (IsDrum()) return DrumPitch == B.DrumPitch;
    return Accidental == B.Accidental && Octave == B.Octave;
}

TNuo4MidiNote TrecNuo4Pitch::ToMidiNote(int32_t Transpose) const {
    if (Digit == DigitDrum) return 127;
    if (!IsNormalDegree()) return 0;  // rest, hidden or invalid
    int32_t N = 60 + 12 * Octave + DegreeOffset[Digit] + Transpose;
    if (Accidental == ssSharp) ++N;
    if (Accidental == ssFlat) --N;
    // Keep the result a MIDI data byte: a wrapped value above 127 would be a status byte.
    return static_cast<TNuo4MidiNote>(std::clamp<int32_t>(N, 0, 127));
}

bool TrecNuo4Pitch::FromMidiNote(int32_t Value) {
    if (Value == 0) {
        Initialize_ToRest();
        return false;
    }
    if (Value == 127) {
        Initialize_ToDrumPitch(0, false);
        return false;
    }
    if (Value < 24 || Value > 107) return false;
    static constexpr TNuo4Digit Degrees[12] = {Digit1, Digit1, Digit2, Digit2, Digit3, Digit4,
                                               Digit4, Digit5, Digit5, Digit6, Digit6, Digit7};
    static constexpr bool Sharps[12] = {false, true,  false, true,  false, false,
                                        true,  false, true,  false, true,  false};
    const int32_t PC = Value % 12;
    Initialize_ToNormalPitch(Degrees[PC], static_cast<TNuo4Octave>(Value / 12 - 5),
                             Sharps[PC] ? ssSharp : ssNone);
    return true;
}

bool TrecNuo4Pitch::Transpose_Semitone(int32_t Offset) {
    if (!IsNormalDegree() || Offset < -12 || Offset > 12) return false;
    TrecNuo4Pitch P;
    if (!P.FromMidiNote(static_cast<int32_t>(ToMidiNote(0)) + Offset)) return false;
    *this = P;
    return true;
}

bool TrecNuo4Pitch::Transpose_Natural(int32_t Offset, bool bKeepAccidental) {
    if (!IsNormalDegree() || Offset < -7 || Offset > 7) return false;
    const int32_t K = static_cast<int32_t>(Digit) - 1 + Offset;
    const int32_t NewOctave = Octave + FloorDiv(K, 7);
    if (NewOctave < Nuo4MinOctave || NewOctave > Nuo4MaxOctave) return false;
    Digit = static_cast<TNuo4Digit>(PosMod(K, 7) + 1);
    Octave = static_cast<TNuo4Octave>(NewOctave);
    if (!bKeepAccidental) Accidental = ssNone;
    return true;
}

bool TrecNuo4Pitch::Transpose(int32_t Offset, bool bSemitone) {
    return bSemitone ? Transpose_Semitone(Offset) : Transpose_Natural(Offset, false);
}

bool TrecNuo4Pitch::Transpose_Natural_3th(bool bDown) {
    return Transpose_Natural(bDown ? -2 : 2, false);
}

bool TrecNuo4Pitch::Adjust_Natural_1th_Up() {
    return Transpose_Natural(1, false);
}

bool TrecNuo4Pitch::Adjust_Natural_1th_Down() {
    return Transpose_Natural(-1, false);
}

std::u16string TrecNuo4Pitch::ToABCText() const {
    std::u16string S;
    if (IsDrum()) {
        S = DrumPitch.bUseCoreFont ? u"x" : u"X";
        const char16_t C = DrumPitch.DrumChar;
        if (C != 0) {
            // Low and private-use characters would be ambiguous with the note grammar or
            // invisible, so they are written coded.
            if (C < 0x100 || C > 0xEFFF)
                S += ABC_EscapeChar(C, false, true);
            else
                S += C;
        }
        return S;
    }
    if (Digit > Digit7) return S;  // hidden or invalid: nothing to write
    switch (Accidental) {
        case ssSharp:
            S += u"#";
            break;
        case ssFlat:
            S += u"b";
            break;
        case ssNatural:
            S += u"#b";
            break;
        default:
            break;
    }
    S += static_cast<char16_t>(u'0' + Digit);
    for (int I = 0; I < Octave; ++I) S += u'g';
    for (int I = 0; I > Octave; --I) S += u'd';
    return S;
}

bool ReadPitch(TText AText, TKoRange ARange, TrecNuo4Pitch& APitch, int32_t& AEndPos) {
    AEndPos = -1;
    if (!ABC_RangeIsUsable(AText, ARange)) return false;
    const int32_t Last = ARange.EndIndex();
    int32_t P = ARange.StartIndex;
    int AccCount = 0;
    bool bAnyAcc = false;
    TrecNuo4Pitch Result;
    bool bDigit = false;
    while (P <= Last && !bDigit) {
        const char16_t C = AText[P];
        if (C == u'#' || C == u'b') {
            AccCount += C == u'#' ? 1 : -1;
            bAnyAcc = true;
            ++P;
        } else if (C >= u'0' && C <= u'7') {
            Result.Initialize_ToNormalPitch(static_cast<TNuo4Digit>(C - u'0'), 0, ssNone);
            bDigit = true;
            ++P;
        } else if (C == u'x' || C == u'X') {
            const bool bCore = C == u'x';
            char16_t DrumChar = 0;
            ++P;
            if (P <= Last) {
                if (AText[P] < 0x100) {
                    char16_t E = 0;
                    int32_t EEnd = -1;
                    bool bEscaped = false;
                    if (ABC_ReadCharOrEscape(AText, TKoRange::FromStartEnd(P, Last), E, EEnd,
                                             bEscaped) &&
                        bEscaped) {
                        DrumChar = E;
                        P = EEnd + 1;
                    }
                } else {
                    DrumChar = AText[P];
                    ++P;
                }
            }
            Result.Initialize_ToDrumPitch(DrumChar, bCore);
            bDigit = true;
        } else {
            return false;  // includes octave marks before the digit
        }
    }
    if (!bDigit) return false;
    int32_t Octave = 0;
    while (P <= Last) {
        const char16_t C = AText[P];
        if (C == u'g' || C == u'\'')
            ++Octave;
        else if (C == u'd' || C == u',')
            --Octave;
        else
            break;
        ++P;
    }
    // A drum keeps octave 0 and no accidental; its marks are consumed so they are not garbage.
    if (!Result.IsDrum()) {
        Result.Octave = ClampOctave(Octave);
        if (AccCount < 0)
            Result.Accidental = ssFlat;
        else if (AccCount > 0)
            Result.Accidental = ssSharp;
        else if (bAnyAcc)
            Result.Accidental = ssNatural;
    }
    APitch = Result;
    AEndPos = P - 1;
    return true;
}

bool ReadPitchList(TText AText, TKoRange ARange, TNuo4Pitches& APitches, int32_t& AEndPos) {
    APitches.clear();
    AEndPos = -1;
    if (!ABC_RangeIsUsable(AText, ARange)) return false;
    int32_t P = ARange.StartIndex;
    const int32_t Last = ARange.EndIndex();
    while (P <= Last) {
        TrecNuo4Pitch Pitch;
        int32_t End = -1;
        if (!ReadPitch(AText, TKoRange::FromStartEnd(P, Last), Pitch, End)) break;
        APitches.push_back(Pitch);
        AEndPos = End;
        P = End + 1;
    }
    return !APitches.empty();
}

// ---- Duration ----------------------------------------------------------------------------------

namespace {

struct TDurationInfo {
    double Beats;
    int8_t Underlines, Dots, RightLines;
};

constexpr TDurationInfo DurationInfo[Nuo4DurationCount] = {
    {1, 0, 0, 0},       // sdNone
    {0.0625, 4, 0, 0},  // sd64th
    {0.125, 3, 0, 0},   // sd32th
    {0.1875, 3, 1, 0},  // sd32thDot
    {0.25, 2, 0, 0},    // sd16th
    {0.375, 2, 1, 0},   // sd16thDot
    {0.4375, 2, 2, 0},  // sd16thDotDot
    {0.5, 1, 0, 0},     // sd8th
    {0.75, 1, 1, 0},    // sd8thDot
    {0.875, 1, 2, 0},   // sd8thDotDot
    {0.9375, 1, 3, 0},  // sd8thDotDotDot
    {1, 0, 0, 0},       // sd4th
    {1.5, 0, 1, 0},     // sd4thDot
    {1.75, 0, 2, 0},    // sd4thDotDot
    {1.875, 0, 3, 0},   // sd4thDotDotDot
    {2, 0, 0, 1},       // sd2th
    {3, 0, 0, 2},       // sd2thDot
    {4, 0, 0, 3},       // sd1th
    {5, 0, 0, 4},       // sd1thPlus1
    {6, 0, 0, 5},       // sd1thPlus2
    {7, 0, 0, 6},       // sd1thPlus3
    {8, 0, 0, 7},       // sd1thPlus4
};

const TDurationInfo& InfoOf(TNuo4Duration D) {
    return DurationInfo[D < Nuo4DurationCount ? D : sdNone];
}

constexpr TNuo4Duration CommonDurations[] = {sd32th, sd16th,   sd16thDot, sd8th,    sd8thDot,
                                             sd4th,  sd4thDot, sd2th,     sd2thDot, sd1th};

}  // namespace

double Duration_Beats(TNuo4Duration ADuration) {
    return InfoOf(ADuration).Beats;
}
int Duration_UnderlineCount(TNuo4Duration ADuration) {
    return InfoOf(ADuration).Underlines;
}
int Duration_DotCount(TNuo4Duration ADuration) {
    return InfoOf(ADuration).Dots;
}
int Duration_RightLineCount(TNuo4Duration ADuration) {
    return InfoOf(ADuration).RightLines;
}

bool Duration_FromBeats(double ABeats, TNuo4Duration& ADuration) {
    for (int I = 0; I < Nuo4DurationCount; ++I)
        if (std::fabs(DurationInfo[I].Beats - ABeats) < 0.001) {
            ADuration = static_cast<TNuo4Duration>(I);
            return true;
        }
    return false;
}

std::u16string Duration_ToABCText(TNuo4Duration ADuration) {
    const TDurationInfo& I = InfoOf(ADuration);
    return std::u16string(I.Underlines, u'_') + std::u16string(I.Dots, u'.') +
           std::u16string(I.RightLines, u'-');
}

bool ReadDuration(TText AText, TKoRange ARange, TNuo4Duration& ADuration, int32_t& AEndPos) {
    AEndPos = -1;
    if (!ABC_RangeIsUsable(AText, ARange)) return false;
    auto IsUnderline = [](char16_t C) { return C == u'_' || C == u'j'; };
    auto IsDot = [](char16_t C) { return C == u'.' || C == u'f'; };
    auto IsDash = [](char16_t C) { return C == u'-' || C == u'z'; };
    const int32_t Last = ARange.EndIndex();
    int32_t P = ARange.StartIndex;
    int Underlines = 0, Dots = 0, Dashes = 0;
    if (IsDash(AText[P])) {
        while (P <= Last && IsDash(AText[P])) {
            ++Dashes;
            ++P;
        }
    } else if (IsUnderline(AText[P]) || IsDot(AText[P])) {
        while (P <= Last && (IsUnderline(AText[P]) || IsDot(AText[P]))) {
            if (IsUnderline(AText[P]))
                ++Underlines;
            else
                ++Dots;
            ++P;
        }
    } else {
        return false;
    }
    Underlines = std::min(Underlines, 4);
    Dots = std::min(Dots, 3);
    Dashes = std::min(Dashes, 7);
    TNuo4Duration D = sd4th;
    if (Dashes > 0) {
        static constexpr TNuo4Duration ByDashes[8] = {
            sd4th, sd2th, sd2thDot, sd1th, sd1thPlus1, sd1thPlus2, sd1thPlus3, sd1thPlus4};
        D = ByDashes[Dashes];
    } else {
        switch (Underlines) {
            case 0:
                D = static_cast<TNuo4Duration>(sd4th + Dots);
                break;
            case 1:
                D = static_cast<TNuo4Duration>(sd8th + Dots);
                break;
            case 2:
                D = static_cast<TNuo4Duration>(sd16th + std::min(Dots, 2));
                break;
            case 3:
                D = Dots > 0 ? sd32thDot : sd32th;
                break;
            default:
                D = sd64th;
                break;
        }
    }
    ADuration = D;
    AEndPos = P - 1;
    return true;
}

TNuo4Duration Duration_ToggleRightDot(TNuo4Duration D) {
    switch (D) {
        case sd64th:
            return sd64th;
        case sd32th:
            return sd32thDot;
        case sd32thDot:
            return sd32th;
        case sd16th:
            return sd16thDot;
        case sd16thDot:
        case sd16thDotDot:
            return sd16th;
        case sd8th:
            return sd8thDot;
        case sd8thDot:
            return sd8thDotDot;
        case sd8thDotDot:
        case sd8thDotDotDot:
            return sd8th;
        case sd4thDot:
            return sd4thDotDot;
        case sd4thDotDot:
        case sd4thDotDotDot:
            return sd4th;
        default:
            return sd4thDot;
    }
}

TNuo4Duration Duration_ToggleRightLine(TNuo4Duration D) {
    if (D == sdNone || D == sd4th) return sd2th;
    if (D >= sd2th && D < sd1thPlus4) return static_cast<TNuo4Duration>(D + 1);
    return sd4th;
}

TNuo4Duration Duration_ToggleUnderline(TNuo4Duration D) {
    switch (D) {
        case sd4th:
            return sd8th;
        case sd8th:
            return sd16th;
        case sd16th:
            return sd32th;
        case sd32th:
        case sd64th:
            return sd4th;
        case sd4thDot:
            return sd8thDot;
        case sd8thDot:
            return sd16thDot;
        case sd16thDot:
            return sd32thDot;
        case sd32thDot:
            return sd4thDot;
        case sd4thDotDot:
            return sd8thDotDot;
        case sd8thDotDot:
            return sd16thDotDot;
        case sd16thDotDot:
            return sd32thDot;
        case sd4thDotDotDot:
            return sd8thDotDotDot;
        case sd8thDotDotDot:
            return sd16thDotDot;
        default:
            return sd8th;  // right lines or none
    }
}

TNuo4Duration Duration_StepShorter(TNuo4Duration D, bool bAllValues) {
    if (D == sdNone || D >= Nuo4DurationCount) return sd4th;
    if (bAllValues) return D > sd64th ? static_cast<TNuo4Duration>(D - 1) : sd64th;
    const double B = Duration_Beats(D);
    TNuo4Duration Result = sd32th;
    for (TNuo4Duration C : CommonDurations)
        if (Duration_Beats(C) < B - 0.001) Result = C;
    return Result;
}

TNuo4Duration Duration_StepLonger(TNuo4Duration D, bool bAllValues) {
    if (D == sdNone || D >= Nuo4DurationCount) return sd4th;
    if (bAllValues) return D < sd1thPlus4 ? static_cast<TNuo4Duration>(D + 1) : sd1thPlus4;
    const double B = Duration_Beats(D);
    for (TNuo4Duration C : CommonDurations)
        if (Duration_Beats(C) > B + 0.001) return C;
    return sd1th;
}

TNuo4Duration Duration_RemoveDots(TNuo4Duration D) {
    switch (Duration_UnderlineCount(D)) {
        case 4:
            return sd64th;
        case 3:
            return sd32th;
        case 2:
            return sd16th;
        case 1:
            return sd8th;
        default:
            return sd4th;
    }
}

TNuo4Duration Duration_RemoveUnderlines(TNuo4Duration D) {
    if (Duration_UnderlineCount(D) == 0) return D;
    return static_cast<TNuo4Duration>(sd4th + Duration_DotCount(D));
}

// ---- Pure note
// -----------------------------------------------------------------------------------

std::u16string TrecNuo4MusicPureNote::ToABCText(bool bWithDaKuoHao) const {
    const std::u16string S = Pitch.ToABCText() + Duration_ToABCText(Duration);
    return bWithDaKuoHao ? u"{" + S + u"}" : S;
}

bool ReadPureNote(TText AText, TKoRange ARange, TrecNuo4MusicPureNote& ANote, int32_t& AEndPos) {
    AEndPos = -1;
    TrecNuo4Pitch Pitch;
    int32_t End = -1;
    if (!ReadPitch(AText, ARange, Pitch, End)) return false;
    TNuo4Duration D = sd4th;
    int32_t DEnd = -1;
    if (End < ARange.EndIndex() &&
        ReadDuration(AText, TKoRange::FromStartEnd(End + 1, ARange.EndIndex()), D, DEnd))
        End = DEnd;
    else
        D = sd4th;
    ANote.Initialize(Pitch, D);
    AEndPos = End;
    return true;
}

// ---- Meter
// ---------------------------------------------------------------------------------------

double TrecNuo4Meter::GetFullDV() const {
    if (FenZi <= 0 || FenMu <= 0) return 0;
    return static_cast<double>(FenZi) / FenMu * 4.0;
}

double TrecNuo4Meter::GetDurationForDVGroup() const {
    if (FenMu == 8 && (FenZi == 3 || FenZi == 6 || FenZi == 9 || FenZi == 12)) return 1.5;
    return 1.0;
}

bool TrecNuo4Meter::DurationForDVGroupIs4thDot() const {
    return std::fabs(GetDurationForDVGroup() - 1.5) < 0.01;
}

TTact TrecNuo4Meter::ToTact() const {
    if (IsFreeBeat()) return TTact{1, 4};
    return TTact{FenZi, FenMu};
}

std::u16string TrecNuo4Meter::ToABCString(bool bWithDaKuoHao) const {
    const std::u16string S = ABC_FormatInt(FenZi) + u"/" + ABC_FormatInt(FenMu);
    return bWithDaKuoHao ? u"{" + S + u"}" : S;
}

const std::vector<TrecNuo4Meter>& TrecNuo4Meter::AllMetersList() {
    static const std::vector<TrecNuo4Meter> List = {
        Create(2, 4), Create(3, 4), Create(4, 4), Create(0, 4), Create(1, 2),
        Create(2, 2), Create(1, 4), Create(5, 4), Create(6, 4), Create(7, 4),
        Create(1, 8), Create(2, 8), Create(3, 8), Create(4, 8), Create(5, 8),
        Create(6, 8), Create(7, 8), Create(9, 8), Create(12, 8)};
    return List;
}

TrecNuo4Meter TrecNuo4Meter::FromIndex(int AIndex) {
    const auto& L = AllMetersList();
    if (AIndex < 0 || AIndex >= static_cast<int>(L.size())) return Create(0, 0);
    return L[AIndex];
}

int TrecNuo4Meter::IndexOf() const {
    const auto& L = AllMetersList();
    for (size_t I = 0; I < L.size(); ++I)
        if (L[I].Equal(*this)) return static_cast<int>(I);
    return -1;
}

bool ReadMeter(TText AText, TKoRange ARange, TrecNuo4Meter& AMeter, int32_t& AEndPos) {
    AEndPos = -1;
    if (!ABC_RangeIsUsable(AText, ARange) || ARange.Length < 3) return false;
    const int32_t Last = ARange.EndIndex();
    int32_t P = ARange.StartIndex;
    // Plain digit runs only: a sign is no part of a meter.
    auto ReadDigits = [&](int32_t& AValue) {
        const int32_t Start = P;
        int64_t V = 0;
        while (P <= Last && AText[P] >= u'0' && AText[P] <= u'9') {
            V = std::min<int64_t>(V * 10 + (AText[P] - u'0'), 1000);
            ++P;
        }
        AValue = static_cast<int32_t>(V);
        return P > Start;
    };
    int32_t N = 0, D = 0;
    if (!ReadDigits(N)) return false;
    if (P > Last || AText[P] != u'/') return false;
    ++P;
    if (!ReadDigits(D)) return false;
    if (N < 0 || N > 99 || D < 0 || D > 9) return false;
    AMeter.Initialize(N, D);
    AEndPos = P - 1;
    return true;
}

// ---- Key
// -----------------------------------------------------------------------------------------

namespace {
constexpr char16_t KeyLetters[7] = {u'C', u'D', u'E', u'F', u'G', u'A', u'B'};
constexpr int KeyLetterSemitones[7] = {0, 2, 4, 5, 7, 9, 11};
}  // namespace

std::u16string TrecNuo4KeySignature::ToABCString(bool bWithDaKuoHao) const {
    if (!IsValid()) return u"";
    std::u16string S;
    if (bWithOneIs) S += u"1=";
    if (Accidental < 0) S += u'b';
    if (Accidental > 0) S += u'#';
    S += KeyLetters[MainKey];
    return bWithDaKuoHao ? u"{" + S + u"}" : S;
}

int32_t TrecNuo4KeySignature::ToKey12() const {
    if (!IsValid()) return 0;
    int32_t V = KeyLetterSemitones[MainKey] + (Accidental > 0 ? 1 : Accidental < 0 ? -1 : 0);
    if (V > 8) V -= 12;
    if (V < -3) V += 12;
    return V;
}

void TrecNuo4KeySignature::FromKey12(int32_t AKey) {
    static constexpr int Main[12] = {0, 0, 1, 2, 2, 3, 3, 4, 5, 5, 6, 6};
    static constexpr int Acc[12] = {0, 1, 0, -1, 0, 0, 1, 0, -1, 0, -1, 0};
    const int32_t K = PosMod(AKey, 12);
    MainKey = Main[K];
    Accidental = Acc[K];
}

bool ReadKeySignature(TText AText, TKoRange ARange, TrecNuo4KeySignature& AKey, int32_t& AEndPos) {
    AEndPos = -1;
    if (!ABC_RangeIsUsable(AText, ARange)) return false;
    const int32_t Last = ARange.EndIndex();
    int32_t P = ARange.StartIndex;
    TrecNuo4KeySignature K;
    if (AText[P] == u'1') {
        if (P + 1 > Last || AText[P + 1] != u'=') return false;
        K.bWithOneIs = true;
        P += 2;
    }
    if (P <= Last && (AText[P] == u'#' || AText[P] == u'b')) {
        K.Accidental = AText[P] == u'#' ? 1 : -1;
        ++P;
    }
    if (P > Last) return false;
    const char16_t C = AText[P];
    const TText Letters(KeyLetters, 7);
    const size_t I = Letters.find(C);
    if (I == TText::npos) return false;
    K.MainKey = static_cast<int32_t>(I);
    AKey = K;
    AEndPos = P;
    return true;
}

bool ReadKeyAndMeters(TText AText, TKoRange ARange, TrecNuo4KeyAndMeters& AValue,
                      int32_t& AEndPos) {
    AEndPos = -1;
    if (!ABC_RangeIsUsable(AText, ARange)) return false;
    const TKoRange Inner = ABC_StripBraces(AText, ARange);
    const bool bBraced = Inner.StartIndex != ARange.StartIndex;
    if (!ABC_RangeIsUsable(AText, Inner)) return false;
    const TKoRangeArray Items = ABC_SplitBySeparator(AText, Inner, u',', true, true);
    TrecNuo4KeyAndMeters Result;
    Result.Key.SetToInvalid();
    size_t I = 0;
    int32_t End = -1;
    // An item counts only when read entirely, so "2/4abc" is no meter.
    auto Whole = [](TKoRange R, int32_t AEnd) { return R.IsNonEmpty() && AEnd == R.EndIndex(); };
    if (!Items.empty()) {
        TrecNuo4KeySignature Key;
        int32_t KEnd = -1;
        if (Items[0].IsNonEmpty() && ReadKeySignature(AText, Items[0], Key, KEnd) &&
            Whole(Items[0], KEnd)) {
            Result.Key = Key;
            End = KEnd;
            I = 1;
        }
    }
    for (; I < Items.size(); ++I) {
        TrecNuo4Meter M;
        int32_t MEnd = -1;
        if (!Items[I].IsNonEmpty() || !ReadMeter(AText, Items[I], M, MEnd) ||
            !Whole(Items[I], MEnd))
            break;
        Result.Meters.push_back(M);
        End = MEnd;
    }
    if (!Result.Key.IsValid() && Result.Meters.empty()) return false;
    if (bBraced && I == Items.size()) End = ARange.EndIndex();
    AValue = Result;
    AEndPos = End;
    return true;
}

std::u16string Key17_Name(TNuo4Key17 AKey) {
    static const char16_t* const Names[Nuo4Key17Count] = {u"C",  u"#C", u"bD", u"D",  u"#D", u"bE",
                                                          u"E",  u"F",  u"#F", u"bG", u"G",  u"#G",
                                                          u"bA", u"A",  u"#A", u"bB", u"B"};
    if (AKey < 0 || AKey >= Nuo4Key17Count) return u"";
    return Names[AKey];
}

TrecNuo4KeySignature Key17_ToKeySignature(TNuo4Key17 AKey) {
    TrecNuo4KeySignature K;
    const std::u16string Name = Key17_Name(AKey);
    if (Name.empty()) {
        K.SetToInvalid();
        return K;
    }
    int32_t End = -1;
    ReadKeySignature(Name, TKoRange(0, static_cast<int32_t>(Name.size())), K, End);
    return K;
}

std::u16string Key12_DisplayName(int32_t AKey12) {
    static const char16_t* const Names[12] = {u"C",      u"#C(bD)", u"D",      u"#D(bE)",
                                              u"E",      u"F",      u"#F(bG)", u"G",
                                              u"#G(bA)", u"A",      u"#A(bB)", u"B"};
    return Names[PosMod(AKey12, 12)];
}

// ---- Sub-styles and articulations
// -------------------------------------------------------------------

const char16_t* NoteSubStyleName(TNuo4NoteSubStyle AValue) {
    static const char16_t* const Names[Nuo4NoteSubStyleCount] = {
        u"SubStyleNormal",          u"SubStyleZip",          u"SubStyleSmallSize",
        u"SubStyleGrace",           u"SubStyleItalicNormal", u"SubStyleItalicZip",
        u"SubStyleItalicSmallSize", u"SubStyleItalicGrace"};
    return AValue < Nuo4NoteSubStyleCount ? Names[AValue] : u"";
}

bool ABC_ParseNoteSubStyle(TText AText, TKoRange ARange, bool bWordEnd, TNuo4NoteSubStyle& AValue,
                           int32_t& AEndPos) {
    AEndPos = -1;
    std::vector<TText> List;
    for (int I = 0; I < Nuo4NoteSubStyleCount; ++I)
        List.push_back(NoteSubStyleName(static_cast<TNuo4NoteSubStyle>(I)));
    int Index = -1;
    int32_t End = -1;
    if (!ABC_StartsWithOneOf(AText, ARange, List, false, true, Index, End)) return false;
    if (bWordEnd && End < ARange.EndIndex() && !ABC_IsWhiteChar(AText[End + 1])) return false;
    AValue = static_cast<TNuo4NoteSubStyle>(Index);
    AEndPos = End;
    return true;
}

const char16_t* ArticulationName(TNuo4Articulation AValue) {
    static const char16_t* const Names[Nuo4ArticulationCount] = {
        u"DunYin", u"ZhongYin", u"BaoChiYin", u"YanYin",
        u"BoYin",  u"DunYin2",  u"BoYin2",    u"ChanYin"};
    return AValue < Nuo4ArticulationCount ? Names[AValue] : u"";
}

}  // namespace nuo4
