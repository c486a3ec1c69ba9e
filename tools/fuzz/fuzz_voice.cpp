// Voice symbols, text elements and horizontal locations on arbitrary text: nothing may crash,
// every range stays inside what was given, and every writer's output is a fixed point of
// reading and writing again.
#include <cstddef>
#include <cstdint>

#include "format/abc_common.h"
#include "format/horz_location.h"
#include "format/section_voice.h"
#include "format/text_element.h"
#include "fuzz_input.h"

using namespace nuo4;

namespace {

void CheckInside(TKoRange APiece, TKoRange ARange) {
    NUO4_FUZZ_CHECK(APiece.IsValid());
    NUO4_FUZZ_CHECK(APiece.StartIndex >= ARange.StartIndex);
    NUO4_FUZZ_CHECK(APiece.StartIndex + APiece.Length <= ARange.StartIndex + ARange.Length);
}

TKoRange Whole(const std::u16string& S) {
    return TKoRange(0, static_cast<int32_t>(S.size()));
}

// Reads the symbols of one token one after another, as the voice scan does.
void ReadToken(TText T, TKoRange AToken) {
    TKoRange R = AToken;
    while (R.Length > 0) {
        TNuo4VoiceSymbolPtr P;
        int32_t End = -1;
        if (!ReadVoiceSymbol(T, R, P, End)) {
            NUO4_FUZZ_CHECK(P == nullptr && End == -1);
            return;
        }
        NUO4_FUZZ_CHECK(P != nullptr && End >= R.StartIndex && End <= R.EndIndex());
        NUO4_FUZZ_CHECK(P->Header.ABCTextRange.StartIndex == R.StartIndex);
        CheckInside(P->Header.ABCTextRange, R);
        for (const auto& Tok : P->GetTokenItems()) CheckInside(Tok.ABCTextRange, R);

        const std::u16string Written = VoiceSymbolToABCText(*P, false);
        NUO4_FUZZ_CHECK(!Written.empty());
        TNuo4VoiceSymbolPtr Again;
        int32_t End2 = -1;
        NUO4_FUZZ_CHECK(ReadVoiceSymbol(Written, Whole(Written), Again, End2));
        NUO4_FUZZ_CHECK(Again->Header.aType == P->Header.aType);
        NUO4_FUZZ_CHECK(End2 == static_cast<int32_t>(Written.size()) - 1);
        NUO4_FUZZ_CHECK(VoiceSymbolToABCText(*Again, false) == Written);
        R = TKoRange::FromStartEnd(End + 1, R.EndIndex());
    }
}

void CheckElements(TText T, TKoRange R) {
    TNuo4TextElementParseInfoArray A;
    if (!ReadTextElements(T, R, A)) return;
    int32_t Next = R.StartIndex;
    for (const auto& Item : A) {
        NUO4_FUZZ_CHECK(Item.Header.ABCTextRange.StartIndex == Next);
        NUO4_FUZZ_CHECK(Item.Header.ABCTextRange.Length > 0);
        CheckInside(Item.Header.ABCTextRange, R);
        NUO4_FUZZ_CHECK(Item.Element.NormalText.size() <= Nuo4CharArray2Capacity);
        Next = Item.Header.ABCTextRange.EndIndex() + 1;
    }
    NUO4_FUZZ_CHECK(Next == R.EndIndex() + 1);
}

void CheckLocation(TText T, TKoRange R) {
    TrecNuo4HorzLocation L;
    int32_t End = -1;
    if (!ReadHorzLocation(T, R, L, End)) return;
    NUO4_FUZZ_CHECK(End >= R.StartIndex && End <= R.EndIndex());
    const std::u16string Written = L.ToABCText();
    TrecNuo4HorzLocation Again;
    int32_t End2 = -1;
    NUO4_FUZZ_CHECK(ReadHorzLocation(Written, Whole(Written), Again, End2));
    NUO4_FUZZ_CHECK(Again.ToABCText() == Written);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
    const fuzz::TFuzzInput In = fuzz::DecodeFuzzInput(AData, ASize);
    const std::u16string& T = In.Text;
    if (T.empty()) return 0;
    const TKoRange All = Whole(T);
    for (const TKoRange& Token : ABC_SplitByWhite(T, All, true)) ReadToken(T, Token);
    CheckElements(T, All);
    for (int32_t P = 0; P < static_cast<int32_t>(T.size()); ++P)
        if (T[P] == u'@' || T[P] == u'|' || T[P] == u'/')
            CheckLocation(T, TKoRange::FromStartEnd(P, All.EndIndex()));
    return 0;
}
