// Text primitives on arbitrary text: nothing may crash, and the invariants the grammars rely on
// (ranges inside their input, escapes reading back) must hold.
#include <cstddef>
#include <cstdint>

#include "format/abc_common.h"
#include "format/abc_tokens.h"
#include "fuzz_input.h"

using namespace nuo4;

namespace {

void CheckInside(TKoRange APiece, TKoRange ARange) {
    if (!APiece.IsValid()) return;
    NUO4_FUZZ_CHECK(APiece.StartIndex >= ARange.StartIndex);
    NUO4_FUZZ_CHECK(APiece.StartIndex + APiece.Length <= ARange.StartIndex + ARange.Length);
}

void Exercise(TText T, TKoRange R) {
    for (bool bBraces : {false, true}) {
        for (const auto& P : ABC_SplitBySeparator(T, R, u',', bBraces, true)) CheckInside(P, R);
        for (const auto& P : ABC_SplitByWhite(T, R, bBraces)) {
            CheckInside(P, R);
            NUO4_FUZZ_CHECK(P.Length > 0);
        }
    }
    TKoRange Name;
    TKoRangeArray Values;
    int32_t End;
    if (ABC_SplitNameValues(T, R, u',', u'=', true, false, Name, Values, End)) {
        CheckInside(Name, R);
        for (const auto& V : Values) CheckInside(V, R);
    }
    const int32_t Close = ABC_FindMatchingClose(T, R, u"{", u"}");
    if (Close >= 0) NUO4_FUZZ_CHECK(Close <= R.EndIndex() && T[Close] == u'}');
    CheckInside(ABC_TrimRange(T, R), R);
    CheckInside(ABC_FirstWordRange(T, R), R);
    CheckInside(ABC_StripBraces(T, R), R);
    int32_t I;
    float F;
    bool B;
    ABC_ParseInt(T, R, I, End);
    ABC_ParseFloat(T, R, false, F, End);
    ABC_ParseBool(T, R, true, B, End);
    TNuo4FontStyles S;
    ABC_ParseFontStyle(T, R, S, End);
    TNuo4Color C;
    ABC_ParseColor(T, R, C, End);
    TNuo4FontUsage U;
    ABC_ParseFontUsage(T, R, U, End);
    ABC_CountLeadingWhite(T, R);
    int Index;
    ABC_FindEarliestEscaped(T, R, {u" ", u"-->", u"}"}, Index);
    const std::u16string Plain = ABC_Unescape(T, R);
    for (bool bDecimal : {false, true}) {
        const std::u16string Escaped = ABC_EscapeText(Plain, true, false, bDecimal);
        NUO4_FUZZ_CHECK(ABC_Unescape(Escaped, TKoRange(0, static_cast<int32_t>(Escaped.size()))) ==
                        Plain);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
    fuzz::TFuzzInput In = fuzz::DecodeFuzzInput(AData, ASize);
    std::u16string Text = In.Text;
    const size_t Before = Text.size();
    const int Applied = ABC_ApplyReplaceItems(Text, In.Replaces);
    NUO4_FUZZ_CHECK(Applied >= 0 && static_cast<size_t>(Applied) <= In.Replaces.size());
    if (In.Replaces.empty()) NUO4_FUZZ_CHECK(Text.size() == Before);
    const int32_t N = static_cast<int32_t>(Text.size());
    Exercise(Text, TKoRange(0, N));
    // A few sub-ranges, including unusable ones.
    for (int32_t K = 1; K < 4; ++K) Exercise(Text, TKoRange(N / (K + 1), N / K));
    Exercise(Text, TKoRange(N - 1, 2));
    Exercise(Text, TKoRange(-1, 3));
    return 0;
}
