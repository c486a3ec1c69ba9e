#include "format/voice_symbol_parts.h"

namespace nuo4 {

bool ReadOptionalControlOptions(TText AText, TKoRange ARange, int32_t APos,
                                TrecNuo4SymbolControlOptions& AOptions,
                                TNuo4ABCTokenInfoItems& ATokens, int32_t& AEndPos) {
    if (APos > ARange.EndIndex() || ABC_CharAt(AText, APos) != u'{') return false;
    TrecNuo4ABCParseInfo_SymbolControlOptions Group;
    int32_t End = -1;
    if (!ReadSymbolControlOptions(AText, ABC_RangeFrom(ARange, APos), Group, End)) return false;
    AOptions = Group.Value;
    ATokens.AddItem(ttControlOptions, Group.Header.ABCTextRange);
    AEndPos = End;
    return true;
}

std::u16string PadWithSpace(std::u16string S, bool bPadWithSpace) {
    if (!bPadWithSpace) return S;
    return u" " + S + u" ";
}

}  // namespace nuo4
