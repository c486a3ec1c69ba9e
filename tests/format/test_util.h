#pragma once
// Helpers shared by the format tests: UTF-16 literals from UTF-8 and whole-text ranges.

#include <string>
#include <string_view>

#include "format/abc_common.h"

namespace nuo4::test {

inline std::u16string U(std::string_view S) {
    return ABC_FromUtf8(S);
}
inline std::string Utf8(std::u16string_view S) {
    return ABC_ToUtf8(S);
}
inline TKoRange All(std::u16string_view S) {
    return TKoRange(0, static_cast<int32_t>(S.size()));
}

}  // namespace nuo4::test
