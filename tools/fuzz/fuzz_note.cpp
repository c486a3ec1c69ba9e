// The note reader on arbitrary text, at every start position: nothing may crash, every range
// stays inside the note, the note's own text reads back the same, and its canonical text is a
// fixed point of reading and writing.
#include <cstddef>
#include <cstdint>

#include "format/symbol_note.h"
#include "fuzz_input.h"

using namespace nuo4;

namespace {

void CheckNote(TText AText, TKoRange ARange) {
    TrecNuo4ABCParseInfo_Note N;
    int32_t End = -1;
    if (!ReadNote(AText, ARange, N, End)) {
        NUO4_FUZZ_CHECK(End == -1 && !N.Header.IsValid());
        return;
    }
    NUO4_FUZZ_CHECK(End >= ARange.StartIndex && End <= ARange.EndIndex());
    NUO4_FUZZ_CHECK(N.Header.ABCTextRange == TKoRange::FromStartEnd(ARange.StartIndex, End));
    NUO4_FUZZ_CHECK(!N.PitchesValue().empty());
    for (const auto& T : N.GetTokenItems())
        NUO4_FUZZ_CHECK(T.ABCTextRange.StartIndex >= ARange.StartIndex &&
                        T.ABCTextRange.EndIndex() <= End);

    TrecNuo4ABCParseInfo_Note Again;
    int32_t AgainEnd = -1;
    NUO4_FUZZ_CHECK(ReadNote(AText, N.Header.ABCTextRange, Again, AgainEnd));
    NUO4_FUZZ_CHECK(AgainEnd == End && Again.GetTokenItems() == N.GetTokenItems());

    const std::u16string Canon = N.ToABCText();
    TrecNuo4ABCParseInfo_Note C;
    int32_t CEnd = -1;
    NUO4_FUZZ_CHECK(ReadNote(Canon, TKoRange(0, static_cast<int32_t>(Canon.size())), C, CEnd));
    NUO4_FUZZ_CHECK(CEnd == static_cast<int32_t>(Canon.size()) - 1);
    NUO4_FUZZ_CHECK(C.ToABCText() == Canon);
    (void)N.ToSymbolRecNote().ToABCText();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
    const fuzz::TFuzzInput In = fuzz::DecodeFuzzInput(AData, ASize);
    const TText T = In.Text;
    const int32_t Len = static_cast<int32_t>(T.size());
    for (int32_t Start = 0; Start < Len && Start < 256; ++Start)
        CheckNote(T, TKoRange::FromStartEnd(Start, Len - 1));
    TrecNuo4SymbolNote Rec;
    (void)GetSymbolRecNote_FromABCText(T, Rec);
    return 0;
}
