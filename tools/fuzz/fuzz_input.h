#pragma once
// Shared decoding of fuzz inputs: the bytes up to the first NUL are a score text in UTF-8 (so a
// corpus of real scores mutates into score-like texts); the bytes after it drive a replace list.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "format/abc_common.h"
#include "format/abc_tokens.h"

namespace nuo4::fuzz {

#define NUO4_FUZZ_CHECK(cond)      \
    do {                           \
        if (!(cond)) std::abort(); \
    } while (0)

struct TFuzzInput {
    std::u16string Text;
    TNuo4ABCTextReplaceItems Replaces;
};

inline TFuzzInput DecodeFuzzInput(const uint8_t* AData, size_t ASize) {
    TFuzzInput In;
    const std::string_view Bytes(reinterpret_cast<const char*>(AData), ASize);
    const size_t Nul = Bytes.find('\0');
    In.Text = ABC_FromUtf8(Bytes.substr(0, Nul));
    if (Nul == std::string_view::npos) return In;
    std::string_view Ops = Bytes.substr(Nul + 1);
    // Each item: start (2 bytes), length (1 byte, 255 = -1), text length (1 byte), text.
    while (Ops.size() >= 4 && In.Replaces.size() < 32) {
        const auto B = [&](size_t I) { return static_cast<uint8_t>(Ops[I]); };
        const int32_t Start = (B(0) | (B(1) << 8)) - (B(1) == 0xFF ? 65536 : 0);
        const int32_t Len = B(2) == 0xFF ? -1 : B(2);
        const size_t TextLen = std::min<size_t>(B(3), Ops.size() - 4);
        TrecNuo4ABCTextReplaceItem Item;
        Item.Initialize(TKoRange(Start, Len), ABC_FromUtf8(Ops.substr(4, TextLen)));
        In.Replaces.push_back(Item);  // invalid items too: applying must skip them
        Ops.remove_prefix(4 + TextLen);
    }
    return In;
}

}  // namespace nuo4::fuzz
