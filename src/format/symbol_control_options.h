#pragma once
// Control options: the per-symbol spacing lock, hide level and underline joining carried by
// notes, bar lines, meters, accompaniment markers, texts and returns of the voice, written as
// the group "{C:aw[(f1,...,f7)][,hide[,connect]]}" directly after the symbol's core text.

#include <array>
#include <cstdint>
#include <string>

#include "format/abc_common.h"
#include "format/abc_tokens.h"
#include "format/ko_range.h"

namespace nuo4 {

// What of a symbol is hidden; the written name says what stays visible.
enum TNuo4SymbolHideLevel : uint8_t {
    shlNone,
    shlAll,
    shlDurationExclude,
    shlDigitOnly,
    shlDurationExclude2,
    shlDigitOnly2,
    shlNote,
    shlOther,
};
constexpr int Nuo4SymbolHideLevelCount = 8;
const char* EnumName(TNuo4SymbolHideLevel AValue);
// "All", "None", "UnderlineOnly", "DigitExclude", "UnderlineOnly2", "DigitExclude2", "Other",
// "Note" (empty for a value outside the enumeration).
const char16_t* SymbolHideLevelName(TNuo4SymbolHideLevel AValue);

enum TNuo4UnderlineConnectType : uint8_t { ulctAuto, ulctAlwaysConnect, ulctAlwaysUnconnect };
constexpr int Nuo4UnderlineConnectTypeCount = 3;
const char* EnumName(TNuo4UnderlineConnectType AValue);
// "Auto", "Connect", "Unconnect".
const char16_t* UnderlineConnectTypeName(TNuo4UnderlineConnectType AValue);

constexpr int Nuo4RightLineSpacingCoefCount = 7;
using TRightLineSpacingCoefArray = std::array<float, Nuo4RightLineSpacingCoefCount>;

struct TrecNuo4SymbolControlOptions_AWCoef {
    float AWCoef = 0;  // 0 = automatic, otherwise locked to this advance factor
    // Spacing factors of a note's right lines; a first element of 0 means automatic.
    TRightLineSpacingCoefArray RightLineSpacingCoefArray{};

    bool AWCoefIsLocked() const { return AWCoef != 0; }
    bool RightLineSpacingCoefIsLocked() const { return RightLineSpacingCoefArray[0] != 0; }
    bool IsDefault() const { return !AWCoefIsLocked() && !RightLineSpacingCoefIsLocked(); }

    void InitializeToAuto() { Unlock(); }
    void Unlock() {
        AWCoef = 0;
        UnlockRightLineSpacing();
    }
    void InitializeToLock(float AValue) { LockTo(AValue); }
    void LockTo(float AValue) { AWCoef = AValue; }
    void UnlockAWCoef() { AWCoef = 0; }
    void UnlockRightLineSpacing() { RightLineSpacingCoefArray.fill(0); }
    // A new advance factor; locked right-line factors scale with it (0 unlocks everything).
    void ChangeAWCoef(float AValue);

    // "0", "%.3f", or "%.3f(f1,...,f7)" with each factor "%.3f" or "0".
    std::u16string ToABCText() const;
    bool operator==(const TrecNuo4SymbolControlOptions_AWCoef&) const = default;
};

struct TrecNuo4SymbolControlOptions {
    TrecNuo4SymbolControlOptions_AWCoef AWCoef;
    TNuo4SymbolHideLevel HideLevel = shlNone;
    TNuo4UnderlineConnectType UnderlineConnectType = ulctAuto;

    void SetToDefault() { *this = TrecNuo4SymbolControlOptions(); }

    bool AWCoefIsLocked() const { return AWCoef.AWCoefIsLocked(); }
    bool RightLineSpacingCoefIsLocked() const { return AWCoef.RightLineSpacingCoefIsLocked(); }
    bool IsDefault_AWCoef() const { return AWCoef.IsDefault(); }
    bool IsDefault_DisplayElement() const { return HideLevel == shlNone; }
    bool IsDefault_UnderlineConnect() const { return UnderlineConnectType == ulctAuto; }
    bool IsDefault_DisplayElement_UnderlineConnect() const {
        return IsDefault_DisplayElement() && IsDefault_UnderlineConnect();
    }
    bool IsDefault_All() const {
        return IsDefault_AWCoef() && IsDefault_DisplayElement_UnderlineConnect();
    }

    void ChangeAWCoef(float AValue) { AWCoef.ChangeAWCoef(AValue); }
    void InitializeToAuto() { AWCoef.InitializeToAuto(); }
    void Unlock() { AWCoef.Unlock(); }
    void InitializeToLock(float AValue) { AWCoef.InitializeToLock(AValue); }
    void LockTo(float AValue) { AWCoef.LockTo(AValue); }
    void UnlockAWCoef() { AWCoef.UnlockAWCoef(); }
    void UnlockRightLineSpacing() { AWCoef.UnlockRightLineSpacing(); }

    // The group text, empty when every option is default.
    std::u16string ToABCText() const;
    bool operator==(const TrecNuo4SymbolControlOptions&) const = default;
};

struct TrecNuo4ABCParseInfo_SymbolControlOptions {
    TrecNuo4ABCParseInfo_SymbolHeader Header;  // pitSymbolControlOptions when present
    TrecNuo4SymbolControlOptions Value;

    void SetToInvalid() {
        Header.SetToInvalid();
        Value.SetToDefault();
    }
    bool IsValid() const { return Header.IsValid(); }
};

// Reads the inner text of a group (what stands between "{" and its "}"), which must begin
// with "C:". Fails, leaving AOptions default, when the AW part is not a number of at least
// -0.01 or is followed by anything but the end or a comma. A value between -0.01 and 0 reads
// as automatic.
bool ReadSymbolControlOptionsInner(TText AText, TKoRange AInner,
                                   TrecNuo4SymbolControlOptions& AOptions);
// Reads a whole group "{C:...}" at the start of the range. On success the record's header is
// pitSymbolControlOptions with the group's range and one ttControlOptions token, and AEndPos
// is the position of the closing "}".
bool ReadSymbolControlOptions(TText AText, TKoRange ARange,
                              TrecNuo4ABCParseInfo_SymbolControlOptions& AOptions,
                              int32_t& AEndPos);

}  // namespace nuo4
