// Music value readers and option items on arbitrary text: nothing may crash, end positions stay
// inside the range, and what a writer produces from a read value reads back to the same value.
#include <cstddef>
#include <cstdint>

#include "format/doc_options.h"
#include "format/music_common.h"
#include "fuzz_input.h"

using namespace nuo4;

namespace {

void CheckEnd(bool bOk, int32_t AEnd, TKoRange ARange) {
    if (!bOk) return;
    NUO4_FUZZ_CHECK(AEnd >= ARange.StartIndex && AEnd <= ARange.EndIndex());
}

TKoRange All(const std::u16string& S) {
    return TKoRange(0, static_cast<int32_t>(S.size()));
}

void Exercise(TText T, TKoRange R) {
    int32_t End = -1;
    TrecNuo4Pitch Pitch;
    const bool bPitch = ReadPitch(T, R, Pitch, End);
    CheckEnd(bPitch, End, R);
    if (bPitch) {
        const std::u16string S = Pitch.ToABCText();
        TrecNuo4Pitch Back;
        int32_t E = -1;
        NUO4_FUZZ_CHECK(ReadPitch(S, All(S), Back, E) && Back.SameAs(Pitch));
        NUO4_FUZZ_CHECK(E == static_cast<int32_t>(S.size()) - 1);
        TrecNuo4Pitch Moved = Pitch;
        if (Moved.Transpose_Semitone(5))
            NUO4_FUZZ_CHECK(Moved.ToMidiNote(0) == Pitch.ToMidiNote(0) + 5);
        Moved = Pitch;
        if (!Moved.Transpose_Natural(-7, true)) NUO4_FUZZ_CHECK(Moved.SameAs(Pitch));
    }
    TNuo4Pitches Pitches;
    CheckEnd(ReadPitchList(T, R, Pitches, End), End, R);
    TNuo4Duration D;
    const bool bDuration = ReadDuration(T, R, D, End);
    CheckEnd(bDuration, End, R);
    if (bDuration && D != sd4th) {
        const std::u16string S = Duration_ToABCText(D);
        TNuo4Duration Back;
        int32_t E;
        NUO4_FUZZ_CHECK(ReadDuration(S, All(S), Back, E) && Back == D);
    }
    TrecNuo4MusicPureNote Note;
    CheckEnd(ReadPureNote(T, R, Note, End), End, R);
    TrecNuo4Meter Meter;
    CheckEnd(ReadMeter(T, R, Meter, End), End, R);
    TrecNuo4KeySignature Key;
    CheckEnd(ReadKeySignature(T, R, Key, End), End, R);
    TrecNuo4KeyAndMeters KM;
    CheckEnd(ReadKeyAndMeters(T, R, KM, End), End, R);

    TrecNuo4ABCParseInfo_OptionItem Item;
    Nuo4DocOptions().SetToDefault();
    const bool bItem = ReadOptionItem(T, R, Item, false, End);
    CheckEnd(bItem, End, R);
    if (bItem && Item.bAllValuesAccepted) {
        NUO4_FUZZ_CHECK(Nuo4DocOptions().Param_Paper.Check());
        // The written line is a fixed point: reading it back writes it again unchanged.
        const std::u16string S = Item.ToABCText();
        if (!S.empty()) {
            TrecNuo4ABCParseInfo_OptionItem Back;
            int32_t E;
            NUO4_FUZZ_CHECK(ReadOptionItem(S, All(S), Back, true, E) && Back.bAllValuesAccepted);
            NUO4_FUZZ_CHECK(Back.ToABCText() == S);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
    const fuzz::TFuzzInput In = fuzz::DecodeFuzzInput(AData, ASize);
    const TText T = In.Text;
    const int32_t N = static_cast<int32_t>(T.size());
    if (N == 0) return 0;
    Exercise(T, TKoRange(0, N));
    // A range that starts and ends inside the text, as grammars pass pieces of a line.
    if (N > 2) Exercise(T, TKoRange(1, N - 2));
    return 0;
}
