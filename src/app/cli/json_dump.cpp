#include "app/cli/json_dump.h"

namespace nuo4::cli {

json RangeToJson(TKoRange ARange) {
    return json::array({ARange.StartIndex, ARange.Length});
}

json RangesToJson(const TKoRangeArray& ARanges) {
    json A = json::array();
    for (const auto& R : ARanges) A.push_back(RangeToJson(R));
    return A;
}

json TokensToJson(const TNuo4ABCTokenInfoItems& ATokens) {
    json A = json::array();
    for (const auto& T : ATokens)
        A.push_back({{"aType", EnumName(T.aType)}, {"ABCTextRange", RangeToJson(T.ABCTextRange)}});
    return A;
}

json HeaderToJson(const TrecNuo4ABCParseInfo_SymbolHeader& AHeader) {
    return {{"aType", EnumName(AHeader.aType)},
            {"ABCTextRange", RangeToJson(AHeader.ABCTextRange)},
            {"TokenItems", TokensToJson(AHeader.TokenItems)}};
}

std::string Utf8(std::u16string_view S) {
    return ABC_ToUtf8(S);
}

json PitchToJson(const TrecNuo4Pitch& APitch) {
    const char16_t Drum[1] = {APitch.DrumPitch.DrumChar};
    return {{"Digit", EnumName(APitch.Digit)},
            {"Accidental", EnumName(APitch.Accidental)},
            {"Octave", static_cast<int>(APitch.Octave)},
            {"DrumPitch",
             {{"bUseCoreFont", APitch.DrumPitch.bUseCoreFont},
              {"DrumChar",
               APitch.DrumPitch.DrumChar ? Utf8(std::u16string_view(Drum, 1)) : std::string()}}},
            {"Text", Utf8(APitch.ToABCText())}};
}

json PitchesToJson(const TNuo4Pitches& APitches) {
    json A = json::array();
    for (const auto& P : APitches) A.push_back(PitchToJson(P));
    return A;
}

}  // namespace nuo4::cli
