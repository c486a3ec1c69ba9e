#include "format/symbol_accomp_marker.h"

#include "format/voice_symbol_parts.h"

namespace nuo4 {

const char* EnumName(TNuo4SymbolAccompMarkerType AValue) {
    switch (AValue) {
        case sctStart:
            return "sctStart";
        case sctEnd:
            return "sctEnd";
    }
    return "?";
}

std::u16string TrecNuo4SymbolAccompMarker::ToABCText(bool bPadWithSpace) const {
    return PadWithSpace((aType == sctEnd ? u")" : u"(") + ControlOptions.ToABCText(),
                        bPadWithSpace);
}

TrecNuo4SymbolAccompMarker TrecNuo4ABCParseInfo_AccompMarker::ToSymbolRec() const {
    TrecNuo4SymbolAccompMarker R = Value;
    R.Scale = 1.0f;
    return R;
}

bool ReadAccompMarker(TText AText, TKoRange ARange, TrecNuo4ABCParseInfo_AccompMarker& AMarker,
                      int32_t& AEndPos) {
    AMarker.SetToInvalid();
    AEndPos = -1;
    if (!ABC_RangeIsUsable(AText, ARange)) return false;
    const char16_t C = AText[ARange.StartIndex];
    if (C != u'(' && C != u')') return false;
    TrecNuo4ABCParseInfo_AccompMarker M;
    M.Value.aType = C == u'(' ? sctStart : sctEnd;
    int32_t End = ARange.StartIndex;
    M.Header.aType = pitAccompMarker;
    M.TokenItems.AddItem(ttAccompMarker, TKoRange(ARange.StartIndex, 1));
    ReadOptionalControlOptions(AText, ARange, End + 1, M.Value.ControlOptions, M.TokenItems, End);
    M.Header.ABCTextRange = TKoRange::FromStartEnd(ARange.StartIndex, End);
    AMarker = std::move(M);
    AEndPos = End;
    return true;
}

}  // namespace nuo4
