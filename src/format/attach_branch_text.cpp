#include "format/attach_branch_text.h"

namespace nuo4 {

namespace {

bool IsTakenKind(TNuo4ABCParseInfoType AType) {
    switch (AType) {
        case pitNote:
        case pitBarline:
        case pitAccompMarker:
        case pitMeter:
        case pitText:
            return true;
        default:
            return false;
    }
}

}  // namespace

std::vector<TNuo4VoiceSymbolPtr> Branch_ReadVoiceSymbols(TText AVoiceText) {
    std::vector<TNuo4VoiceSymbolPtr> Symbols;
    const TKoRange All(0, static_cast<int32_t>(AVoiceText.size()));
    for (const TKoRange& Piece : ABC_SplitByWhite(AVoiceText, All, true)) {
        int32_t P = Piece.StartIndex;
        while (Piece.IsNonEmpty() && P <= Piece.EndIndex()) {
            TNuo4VoiceSymbolPtr Symbol;
            int32_t End;
            if (!ReadVoiceSymbol(AVoiceText, TKoRange::FromStartEnd(P, Piece.EndIndex()), Symbol,
                                 End) ||
                !Symbol || End < P)
                break;
            if (!IsTakenKind(Symbol->Header.aType)) return Symbols;
            Symbols.push_back(std::move(Symbol));
            P = End + 1;
        }
    }
    return Symbols;
}

bool Branch_VoiceTextIsValid(TText AVoiceText) {
    return !Branch_ReadVoiceSymbols(AVoiceText).empty();
}

}  // namespace nuo4
