#include "render/symbol_types.h"

namespace nuo4 {

const char* EnumName(TNuo4SymbolType AValue) {
    static const char* const Names[] = {
        "sbstNone",         "sbstNote",         "sbstBarline",       "sbstArc",
        "sbstLyric",        "sbstAccompMarker", "sbstKeySignature",  "sbstMeter",
        "sbstArticulation", "sbstFangZi",       "sbstText",          "sbstAttachText",
        "sbstAttachFangZi", "sbstAttachArc",    "sbstAttachDynamic", "sbstAttachOften",
        "sbstAttachExtend", "sbstAttachBranch", "sbstReturn",        "sbstAttachBrace",
        "sbstAttachLyric",  "sbstMemo",         "sbstTitleBlock",
    };
    return AValue < Nuo4SymbolTypeCount ? Names[AValue] : "";
}

const char16_t* GetSymbolTypeName(TNuo4SymbolType AType) {
    switch (AType) {
        case sbstNote:
            return u"音符";
        case sbstBarline:
            return u"小节线";
        case sbstMeter:
            return u"拍号";
        case sbstAccompMarker:
            return u"伴奏记号";
        case sbstText:
            return u"(标准)文字";
        case sbstReturn:
            return u"段落标记(回车)";
        case sbstArc:
            return u"弧线";
        case sbstLyric:
            return u"歌词";
        case sbstFangZi:
            return u"房子";
        case sbstArticulation:
            return u"技法";
        case sbstAttachOften:
            return u"特殊记号";
        case sbstAttachText:
            return u"特殊文字";
        case sbstAttachFangZi:
            return u"特殊房子";
        case sbstAttachArc:
            return u"特殊弧线";
        case sbstAttachDynamic:
            return u"渐强渐弱";
        case sbstAttachExtend:
            return u"扩展符号";
        case sbstAttachBranch:
            return u"临时声部";
        case sbstAttachBrace:
            return u"连谱号";
        case sbstMemo:
            return u"文本框";
        case sbstTitleBlock:
            return u"标题框";
        default:
            return u"";
    }
}

bool IsAttachments(TNuo4SymbolType T) {
    return (T >= sbstAttachText && T <= sbstAttachBranch) || T == sbstAttachBrace;
}

bool IsPage(TNuo4SymbolType T) {
    return T == sbstMemo || T == sbstTitleBlock;
}

bool IsNoteOrBarline(TNuo4SymbolType T) {
    return T == sbstNote || T == sbstBarline;
}

const char* EnumName(TNuo4SymbolBufferType AValue) {
    switch (AValue) {
        case sbtBasic:
            return "sbtBasic";
        case sbtAttach:
            return "sbtAttach";
        case sbtPage:
            return "sbtPage";
    }
    return "";
}

const char* EnumName(TNuo4NoteElementIndex AValue) {
    static const char* const Names[] = {"neiDigit",      "neiAccidental", "neiOctaveDots",
                                        "neiUnderlines", "neiRightDots",  "neiRightLines",
                                        "neiGrace"};
    return AValue < Nuo4NoteElementCount ? Names[AValue] : "";
}

uint8_t NoteElementHideMask(TNuo4SymbolHideLevel ALevel) {
    switch (ALevel) {
        case shlAll:
        case shlNote:
            return 0x7F;
        case shlDurationExclude:
        case shlDurationExclude2:
            return 0x07;  // digit, accidental, octave dots
        case shlDigitOnly:
        case shlDigitOnly2:
            return 0x03;  // digit, accidental
        default:
            return 0;
    }
}

bool NoteElementHided(TNuo4SymbolHideLevel ALevel, int AElementIndex) {
    if (AElementIndex < 0 || AElementIndex >= Nuo4NoteElementCount) return false;
    return (NoteElementHideMask(ALevel) >> AElementIndex) & 1;
}

bool SymbolHided(TNuo4SymbolType AType, TNuo4SymbolHideLevel ALevel, bool bHideForNonBasicSymbol) {
    if (!IsBasicSymbol(AType)) return bHideForNonBasicSymbol;
    if (AType == sbstNote) return ALevel == shlAll || ALevel == shlNote;
    return ALevel == shlAll || ALevel == shlDurationExclude2 || ALevel == shlDigitOnly2 ||
           ALevel == shlOther;
}

}  // namespace nuo4
