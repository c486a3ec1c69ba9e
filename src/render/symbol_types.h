#pragma once
// The kinds of drawable symbols and their groups, references into the document's symbol
// buffers, and which parts of a symbol a hide level hides.

#include <cstdint>

#include "format/symbol_control_options.h"

namespace nuo4 {

enum TNuo4SymbolType : uint8_t {
    sbstNone,
    sbstNote,
    sbstBarline,
    sbstArc,
    sbstLyric,
    sbstAccompMarker,
    sbstKeySignature,  // key changes are drawn as text; no class of its own
    sbstMeter,
    sbstArticulation,
    sbstFangZi,
    sbstText,
    sbstAttachText,
    sbstAttachFangZi,
    sbstAttachArc,
    sbstAttachDynamic,
    sbstAttachOften,
    sbstAttachExtend,
    sbstAttachBranch,
    sbstReturn,
    sbstAttachBrace,
    sbstAttachLyric,  // no class of its own
    sbstMemo,
    sbstTitleBlock,
};
constexpr int Nuo4SymbolTypeCount = 23;
const char* EnumName(TNuo4SymbolType AValue);

// The name shown in messages and dialogs; empty for kinds the user never meets.
const char16_t* GetSymbolTypeName(TNuo4SymbolType AType);

// Symbols of the voice: they live in the basic buffer, carry control options and take part in
// horizontal spacing.
constexpr bool IsBasicSymbol(TNuo4SymbolType T) {
    switch (T) {
        case sbstNote:
        case sbstBarline:
        case sbstAccompMarker:
        case sbstMeter:
        case sbstText:
        case sbstReturn:
            return true;
        default:
            return false;
    }
}

// Symbols hung on the voice: arcs, lyrics, articulations, voltas and the attachments.
constexpr bool IsAttach(TNuo4SymbolType T) {
    switch (T) {
        case sbstArc:
        case sbstLyric:
        case sbstArticulation:
        case sbstFangZi:
        case sbstAttachText:
        case sbstAttachFangZi:
        case sbstAttachArc:
        case sbstAttachDynamic:
        case sbstAttachOften:
        case sbstAttachExtend:
        case sbstAttachBranch:
        case sbstAttachBrace:
            return true;
        default:
            return false;
    }
}

// The items of the attachments section.
bool IsAttachments(TNuo4SymbolType T);
// Text boxes and the title block, placed freely on pages.
bool IsPage(TNuo4SymbolType T);
bool IsNoteOrBarline(TNuo4SymbolType T);

inline bool IsNote(TNuo4SymbolType T) {
    return T == sbstNote;
}
inline bool IsBarline(TNuo4SymbolType T) {
    return T == sbstBarline;
}
inline bool IsArc(TNuo4SymbolType T) {
    return T == sbstArc;
}
inline bool IsLyric(TNuo4SymbolType T) {
    return T == sbstLyric;
}
inline bool IsAccompMarker(TNuo4SymbolType T) {
    return T == sbstAccompMarker;
}
inline bool IsMeter(TNuo4SymbolType T) {
    return T == sbstMeter;
}
inline bool IsArticulation(TNuo4SymbolType T) {
    return T == sbstArticulation;
}
inline bool IsFangZi(TNuo4SymbolType T) {
    return T == sbstFangZi;
}
inline bool IsText(TNuo4SymbolType T) {
    return T == sbstText;
}
inline bool IsAttachText(TNuo4SymbolType T) {
    return T == sbstAttachText;
}
inline bool IsAttachFangZi(TNuo4SymbolType T) {
    return T == sbstAttachFangZi;
}
inline bool IsAttachArc(TNuo4SymbolType T) {
    return T == sbstAttachArc;
}
inline bool IsAttachDynamic(TNuo4SymbolType T) {
    return T == sbstAttachDynamic;
}
inline bool IsAttachOften(TNuo4SymbolType T) {
    return T == sbstAttachOften;
}
inline bool IsAttachExtend(TNuo4SymbolType T) {
    return T == sbstAttachExtend;
}
inline bool IsAttachBranch(TNuo4SymbolType T) {
    return T == sbstAttachBranch;
}
inline bool IsReturn(TNuo4SymbolType T) {
    return T == sbstReturn;
}
inline bool IsAttachBrace(TNuo4SymbolType T) {
    return T == sbstAttachBrace;
}
inline bool IsMemo(TNuo4SymbolType T) {
    return T == sbstMemo;
}
inline bool IsTitleBlock(TNuo4SymbolType T) {
    return T == sbstTitleBlock;
}

// ---- Buffer references ------------------------------------------------------------------------

enum TNuo4SymbolBufferType : uint8_t { sbtBasic, sbtAttach, sbtPage };
const char* EnumName(TNuo4SymbolBufferType AValue);

struct TrecNuo4SymbolBufferIndex {
    TNuo4SymbolBufferType BufferType = sbtBasic;
    int32_t BufferInex = -1;

    static TrecNuo4SymbolBufferIndex Create(TNuo4SymbolBufferType AType, int32_t AIndex) {
        TrecNuo4SymbolBufferIndex R;
        R.Initialize(AType, AIndex);
        return R;
    }
    void Initialize(TNuo4SymbolBufferType AType, int32_t AIndex) {
        BufferType = AType;
        BufferInex = AIndex;
    }
    void InitializeToBasic(int32_t AIndex) { Initialize(sbtBasic, AIndex); }
    void InitializeToAttach(int32_t AIndex) { Initialize(sbtAttach, AIndex); }
    void InitializeToPage(int32_t AIndex) { Initialize(sbtPage, AIndex); }
    bool IsBasic() const { return BufferType == sbtBasic; }
    bool IsAttach() const { return BufferType == sbtAttach; }
    bool IsPage() const { return BufferType == sbtPage; }
    bool IsInvalid() const { return BufferInex < 0; }
    void SetToInvalid() { BufferInex = -1; }
    bool operator==(const TrecNuo4SymbolBufferIndex&) const = default;
};

// ---- Hide levels ------------------------------------------------------------------------------

// The seven parts of a note, in the order of its elements.
enum TNuo4NoteElementIndex : uint8_t {
    neiDigit,
    neiAccidental,
    neiOctaveDots,
    neiUnderlines,
    neiRightDots,
    neiRightLines,
    neiGrace,
};
constexpr int Nuo4NoteElementCount = 7;
const char* EnumName(TNuo4NoteElementIndex AValue);

// Bit i set: element i of a note is hidden at that level.
uint8_t NoteElementHideMask(TNuo4SymbolHideLevel ALevel);
// Elements past the seventh are never hidden by level.
bool NoteElementHided(TNuo4SymbolHideLevel ALevel, int AElementIndex);

// Whether a symbol is hidden as a whole. ALevel is the control options' level of a basic
// symbol; a symbol without control options is hidden exactly when its own flag is set.
bool SymbolHided(TNuo4SymbolType AType, TNuo4SymbolHideLevel ALevel, bool bHideForNonBasicSymbol);

}  // namespace nuo4
