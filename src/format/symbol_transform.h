#pragma once
// Scale, mirror, italic and rotation of an attach symbol, and their text forms.

#include <cstdint>
#include <string>

#include "format/abc_common.h"
#include "format/abc_tokens.h"
#include "format/geometry_types.h"

namespace nuo4 {

enum TNuo4RotateType : uint8_t { rtNone, rt90, rt180, rt270, rtAny };
const char* EnumName(TNuo4RotateType AValue);

struct TrecNuo4Rotate {
    TNuo4RotateType aType = rtNone;
    float Angle = 0;  // degrees, meaningful for rtAny only

    void SetToDefault() { *this = TrecNuo4Rotate(); }
    float ToAngle() const;
    // Fixed quarter turns within 0.01 degree snap to their type; any other angle is kept as is.
    void FromAngle(float AAngle);
    void Increase90() { FromAngle(ToAngle() + 90); }
    void Decrease90() { FromAngle(ToAngle() - 90); }
    // "Rotate%d" with the angle rounded to the nearest integer.
    std::u16string ToABCText() const;
    bool operator==(const TrecNuo4Rotate& B) const {
        return aType == B.aType && (aType != rtAny || Angle == B.Angle);
    }
};

struct TrecNuo4SymbolTransform2 {
    float Sx = 1;
    float Sy = 1;
    bool bMirror = false;
    bool bItalic = false;
    TrecNuo4Rotate Rotate;

    void SetToDefault() { *this = TrecNuo4SymbolTransform2(); }
    bool IsDefault() const {
        return Sx == 1 && Sy == 1 && !bMirror && !bItalic && Rotate.aType == rtNone;
    }
    // Nothing (or "{}") when default; the scale alone when there is no mirror, italic or
    // rotation; otherwise all five parts.
    std::u16string ToABCText(bool bWithDaKuoHao) const;
    // The parts without braces, read in order from APieces[AFirst]: Sx, Sy, bMirror, bItalic,
    // "Rotate" angle. bStopAtFailure stops at the first part that does not read (extend
    // items); otherwise such a part is skipped. Returns how many parts were read.
    int ReadParts(TText AText, const TKoRangeArray& APieces, size_t AFirst, bool bStopAtFailure,
                  TNuo4ABCTokenInfoItems* ATokens);
    bool operator==(const TrecNuo4SymbolTransform2&) const = default;
};

// "Rotate" (any case) followed by a number.
bool ReadRotate(TText AText, TKoRange ARange, TrecNuo4Rotate& ARotate, int32_t& AEndPos);

// A transform value "{...}": the range must start with "{" and hold its matching "}".
// "{}" is the default. Parts that do not read are skipped. Tokens ttNumber, ttNumber, ttBool,
// ttBool, ttRotate for the parts read (when ATokens is given).
bool ReadSymbolTransform(TText AText, TKoRange ARange, TrecNuo4SymbolTransform2& ATransform,
                         int32_t& AEndPos, TNuo4ABCTokenInfoItems* ATokens = nullptr);

}  // namespace nuo4
