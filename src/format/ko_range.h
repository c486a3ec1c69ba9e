#pragma once
// A range of UTF-16 code unit positions in a score text, or of indexes in a buffer.

#include <cstdint>
#include <vector>

namespace nuo4 {

struct TKoRange {
    int32_t StartIndex = -1;
    int32_t Length = -1;

    constexpr TKoRange() = default;
    constexpr TKoRange(int32_t AStart, int32_t ALength) : StartIndex(AStart), Length(ALength) {}

    static constexpr TKoRange Invalid() { return TKoRange(-1, -1); }
    // A range from AStart through AEnd inclusive.
    static constexpr TKoRange FromStartEnd(int32_t AStart, int32_t AEnd) {
        return TKoRange(AStart, AEnd - AStart + 1);
    }

    constexpr int32_t EndIndex() const { return StartIndex + Length - 1; }
    constexpr bool IsValid() const { return StartIndex >= 0 && Length >= 0; }
    constexpr bool IsEmpty() const { return StartIndex >= 0 && Length == 0; }
    constexpr bool IsNonEmpty() const { return StartIndex >= 0 && Length > 0; }
    constexpr void SetToInvalid() { StartIndex = Length = -1; }
    // Whether the position lies inside a non-empty range.
    constexpr bool Contains(int32_t APos) const {
        return IsNonEmpty() && APos >= StartIndex && APos <= EndIndex();
    }
    // Whether two non-empty ranges share at least one position.
    constexpr bool Intersects(const TKoRange& AOther) const {
        return IsNonEmpty() && AOther.IsNonEmpty() && StartIndex <= AOther.EndIndex() &&
               AOther.StartIndex <= EndIndex();
    }
    constexpr bool operator==(const TKoRange&) const = default;
};

using TKoRangeArray = std::vector<TKoRange>;
using TTwoDimArrayOfTKoRange = std::vector<TKoRangeArray>;

}  // namespace nuo4
