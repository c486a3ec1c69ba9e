// Control options of voice symbols: the whole group, or only the hide level in it.

#include "edit/edit_internal.h"
#include "format/abc_buffer.h"
#include "layout/simple_buffer.h"

namespace nuo4 {

TrecNuo4SymbolControlOptions VoiceEdit_GetControlOptions(const TNuo4SimpleBuffer& B,
                                                         int32_t AIndex) {
    TrecNuo4SymbolControlOptions O;
    const TKoRange R = GetABCTextRangeForAllSymbol_ControlOptions(B, AIndex);
    if (!R.IsNonEmpty()) return O;
    TrecNuo4ABCParseInfo_SymbolControlOptions P;
    int32_t End = -1;
    if (ReadSymbolControlOptions(B.GetABCBuffer()->ABCText(), R, P, End)) O = P.Value;
    return O;
}

bool CanChangeControlOptions(const TNuo4SimpleBuffer& B, int32_t AIndex,
                             const TrecNuo4SymbolControlOptions& AOptions,
                             TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    const TKoRange R = GetABCTextRangeForAllSymbol_ControlOptions(B, AIndex);
    if (!R.IsValid()) return false;
    TrecNuo4ABCTextReplaceItem It;
    It.Initialize(R, AOptions.ToABCText());
    if (It.IsInvalid()) return false;
    if (R.Length > 0 && B.GetABCBuffer()->ABCText().compare(size_t(R.StartIndex), size_t(R.Length),
                                                            It.NewText) == 0)
        return false;
    VoiceEdit_AddItem(AItems, It);
    return true;
}

bool CanChangeHideLevel(const TNuo4SimpleBuffer& B, int32_t AIndex, TNuo4SymbolHideLevel ALevel,
                        TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (!B.Basic_CheckIndex(AIndex)) return false;
    TrecNuo4SymbolControlOptions O = VoiceEdit_GetControlOptions(B, AIndex);
    if (O.HideLevel == ALevel) return false;
    O.HideLevel = ALevel;
    return CanChangeControlOptions(B, AIndex, O, AItems);
}

bool CanChangeHideLevel_Range(const TNuo4SimpleBuffer& B, TKoRange ARange,
                              TNuo4SymbolHideLevel ALevel, TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (!B.Basic_CheckIndex(ARange)) return false;
    for (int32_t I = ARange.StartIndex; I <= ARange.EndIndex(); ++I) {
        TNuo4ABCTextReplaceItems One;
        if (CanChangeHideLevel(B, I, ALevel, One)) VoiceEdit_AddItems(AItems, One);
    }
    return !AItems.empty();
}

bool CanChangeHideLevel_Selection(const TNuo4SimpleBuffer& B, TNuo4SymbolHideLevel ALevel,
                                  TrecNuo4EditResult& AAnswer) {
    return VoiceEdit_Finish(AAnswer, [&]() -> bool {
        AAnswer.SetToDefault();
        const TrecNuo4Selection& S = B.InternalStatus.Selection;
        if (!CanChangeHideLevel_Range(B, VoiceEdit_SelectionRange(S), ALevel, AAnswer.Items))
            return false;
        AAnswer.WithSelection(S);
        return true;
    }());
}

}  // namespace nuo4
