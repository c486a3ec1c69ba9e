#include "format/symbol_meter.h"

#include "format/voice_symbol_parts.h"

namespace nuo4 {

std::u16string TrecNuo4SymbolMeter::ToABCText(bool bPadWithSpace) const {
    return PadWithSpace(Meter.ToABCString(false) + ControlOptions.ToABCText(), bPadWithSpace);
}

TrecNuo4SymbolMeter TrecNuo4ABCParseInfo_Meter::ToSymbolRec() const {
    TrecNuo4SymbolMeter R = Value;
    R.Scale = 1.0f;
    return R;
}

bool ReadVoiceMeter(TText AText, TKoRange ARange, TrecNuo4ABCParseInfo_Meter& AMeter,
                    int32_t& AEndPos) {
    AMeter.SetToInvalid();
    AEndPos = -1;
    if (!ABC_RangeIsUsable(AText, ARange) || ARange.Length < 3) return false;
    TrecNuo4ABCParseInfo_Meter M;
    int32_t End = -1;
    if (!ReadMeter(AText, ARange, M.Value.Meter, End)) return false;
    M.Header.aType = pitMeter;
    M.TokenItems.AddItem(ttKeyAndMeters, TKoRange::FromStartEnd(ARange.StartIndex, End));
    ReadOptionalControlOptions(AText, ARange, End + 1, M.Value.ControlOptions, M.TokenItems, End);
    M.Header.ABCTextRange = TKoRange::FromStartEnd(ARange.StartIndex, End);
    AMeter = std::move(M);
    AEndPos = End;
    return true;
}

}  // namespace nuo4
