#pragma once
// The base of every drawable symbol: it holds a parsed record (in the concrete class), builds
// a short list of path elements from it in local millimetres, knows its bounds and advance
// width, and draws the elements at its position with the colour rules of the score view.

#include <QPainterPath>
#include <cassert>
#include <memory>
#include <type_traits>
#include <vector>

#include "format/music_common.h"
#include "format/note_style_index.h"
#include "format/symbol_control_options.h"
#include "format/symbol_note.h"
#include "render/draw_utils.h"
#include "render/symbol_calc_info.h"
#include "render/symbol_element.h"
#include "render/symbol_types.h"
#include "render/symbol_view.h"

namespace nuo4 {

class TNuo4Symbol {
  public:
    virtual ~TNuo4Symbol() = default;
    TNuo4Symbol(const TNuo4Symbol&) = delete;
    TNuo4Symbol& operator=(const TNuo4Symbol&) = delete;

    // ---- Implemented by every concrete class ----
    // Layout bounds in local coordinates, computed without building elements.
    virtual void CalcBounds(TGPRectF& ARect) = 0;
    // Builds the element list from the record (through the AddElement family).
    virtual void CreateElements() = 0;
    // The record of a note, bar line, accompaniment marker, meter, text, return, attach text,
    // memo or title block must be the record type of that kind: the base reads control
    // options, durations and colours through it.
    virtual void* GetSymbolRecPtr() = 0;
    const void* GetSymbolRecPtr() const {
        return const_cast<TNuo4Symbol*>(this)->GetSymbolRecPtr();
    }
    // Deep-copies a record of the class's record type.
    virtual void SetSymbolRec(const void* ASource) = 0;
    virtual TNuo4SymbolType GetSymbolType() const = 0;
    // Store the style into the record, where the record has one.
    virtual void SetRecNoteStyleIndex(const TrecNuo4NoteStyleIndex& AIndex) = 0;
    virtual void SetRecMainStyle(TNuo4NoteMainStyle AStyle) = 0;
    virtual void SetRecSubStyle(TNuo4NoteSubStyle AStyle) = 0;

    // ---- Elements ----
    void Update(bool bForce);
    // Empties the element list and the cached bounds; the symbol needs an update afterwards.
    void ClearElements();
    void AddElement(TNuo4SymbolElement AElement);
    // Room for ACount elements in all, before a known number are added; empty fills need none.
    void ReserveElements(int ACount) { FElementList.Reserve(ACount); }
    void AddElement_FillPath(const QPainterPath& APath);
    // Fill items become fill elements, stroke items solid or dashed stroke elements; a dashed
    // item always takes the standard dash pattern.
    void AddElementsFromSymbolPathes(const TNuo4SymbolPathes& AItems);
    TNuo4SymbolPathes GetSymbolPathes() const;
    // Null outside 0 ... ElementsCount()-1; valid until the elements change.
    const TNuo4SymbolElement* ReadElement(int AIndex) const;
    int ElementsCount() const { return FElementList.Count(); }
    bool NeedUpdate() const { return FNeedUpdate; }
    void SetNeedUpdate() {
        FNeedUpdate = true;
        FOnlyAWChanged = false;
    }

    // ---- Geometry ----
    // The layout bounds are cached while not empty; an empty result (say of zero height) is
    // computed again. The ink box is the union of the elements' own bounds, which every path
    // keeps, so it is not stored twice.
    TGPRectF Bounds();
    TGPRectF BlackBox() const;
    TGPRectF BoundsWithPos() { return Bounds().translated(FPos); }
    TGPRectF BlackBoxWithPos() const { return BlackBox().translated(FPos); }
    TGPRectF GetLyricBounds() const {
        return BasicInfo().AttachmentsInfo.Lyrics.Get().Bounds.Black;
    }
    double LeftWidth() const { return -BasicInfo().Bounds_Total.Layout.x(); }
    double RightWidth() const { return BasicInfo().Bounds_Total.Layout.right(); }
    double RightPos_Total() const { return FPos.x() + RightWidth(); }
    double RightPos_Self() { return BoundsWithPos().right(); }
    double NextSymbolRefPosX() const { return FPos.x() + AW(); }
    TGPPointF Pos() const { return FPos; }
    // Elements are local: moving needs no update.
    void SetPos(TGPPointF APos) { FPos = APos; }

    // ---- Advance width ----
    TGPSizeF DigitSize() const;
    double AW() const { return FAWCoef * DigitSize().width(); }
    void SetAW(double AValue);
    float AWCoef() const { return FAWCoef; }
    // A note whose dash spacing is not locked spreads its dashes or places its dots anew.
    void SetAWCoef(float AValue);
    void ZoomAWCoef(float AFactor);
    bool AWCoefIsLocked() const;
    void SetAWCoefIsLocked(bool bLocked);

    // ---- Hiding, highlight, styles, colour ----
    TNuo4SymbolHideLevel HideLevel() const;
    void SetHideLevel(TNuo4SymbolHideLevel ALevel);
    bool Hided() const;
    bool Highlighted() const { return FHighlighted; }
    void SetHighlighted(bool bValue);
    TNuo4NoteMainStyle MainStyle() const { return FNoteStyleIndex.MainStyle; }
    TNuo4NoteSubStyle SubStyle() const { return FNoteStyleIndex.SubStyle; }
    TrecNuo4NoteStyleIndex NoteStyleIndex() const { return FNoteStyleIndex; }
    void SetMainStyle(TNuo4NoteMainStyle AStyle);
    void SetSubStyle(TNuo4NoteSubStyle AStyle);
    void SetNoteStyleIndex(const TrecNuo4NoteStyleIndex& AIndex);
    // The document's default main and sub style.
    void UpdateStyleToDefault();
    void UpdateColorToDefault() { FColor = Nuo4DefaultSymbolColor(); }
    void UpdateColorAndStyleToDefault() {
        UpdateColorToDefault();
        UpdateStyleToDefault();
    }
    TGPColor Color() const { return FColor; }
    void SetColor(TGPColor AColor) { FColor = AColor; }

    // ---- Record queries ----
    // The control options inside the record of a basic symbol; null for every other kind.
    TrecNuo4SymbolControlOptions* GetControlOptionsPtr();
    const TrecNuo4SymbolControlOptions* GetControlOptionsPtr() const;
    TNuo4Duration GetDuration() const;  // sdNone unless a note
    float GetDV() const { return BasicInfo().DV.DV; }
    bool WithLyric() const {
        return !BasicInfo().AttachmentsInfo.Lyrics.Get().AttachIndexArray.empty();
    }
    bool WithRightDot() const;
    bool WithRightline() const;
    bool WithUnderline() const;

    // ---- Drawing ----
    void Draw(TKoGraphics& G);
    // PDF output draws through Draw on the painter of a PDF writer; there is no separate
    // PDF page writer, so this does nothing.
    void DrawToPDF() const {}

    TrecNuo4SymbolCalcInfo CalcInfo;
    // The layout data of a basic symbol (TNuo4BasicSymbol); every other kind reads a shared
    // empty one. Only basic symbols may be written (a debug build asserts it).
    const TrecNuo4BasicCalcInfo& BasicInfo() const;
    TrecNuo4BasicCalcInfo& MutBasicInfo();
    // Where an attach symbol (TNuo4AttachSymbol) hangs; every other kind reads a shared
    // default (no source, at the origin) and may not write it.
    const TrecNuo4CalcInfo_WhenAsAttachSymbol& AttachInfo() const;
    TrecNuo4CalcInfo_WhenAsAttachSymbol& MutAttachInfo();
    bool HasBasicInfo() const { return FDataKind == sdkBasic; }
    bool HasAttachInfo() const { return FDataKind == sdkAttach; }
    // Bounds_Total of a basic symbol from its own box and what is attached to it.
    void Update_Bounds_Total(bool bLyricOcupy) {
        MutBasicInfo().Update_Bounds_Total(CalcInfo.Bounds_Self, bLyricOcupy);
    }
    // Arc marks, volta text and articulations of the symbol's text; read with Get().
    TNuo4OutOfLine<TrecNuo4ABCAttachmentsInfoWithinSectionVoice> ABCAttachmentsInfo;
    // bWithinAttachBranch and bWithinAttachBranchAndForceSubStyle follow the private fields
    // (below), beside the other flags.

  protected:
    // Which of the kind-specific layout data the most-derived class carries.
    enum TDataKind : uint8_t { sdkNone, sdkBasic, sdkAttach };
    TNuo4Symbol() = default;
    explicit TNuo4Symbol(TDataKind AKind) : FDataKind(AKind) {}
    // Called by the most-derived constructor once its record member exists (virtual calls
    // reach only the classes already constructed): resets the layout data, takes the colour,
    // copies the record and derives the advance width.
    void Create(const void* APSymbolRec);

    // Hooks of the note class: the spacing of its dashes and dots follows the advance width.
    virtual void Note_AutoSetRightLineSpacing(float /*AAWCoef*/) {}
    virtual void Note_AutoSetRightDotSpacing(float /*AAWCoef*/) {}
    virtual void Note_ZoomRightLineSpacing(float /*AFactor*/) {}
    // Takes the locked dash spacing of the control options into the note's own array.
    virtual void Note_SetRightLineSpacingCoefArray(const TRightLineSpacingCoefArray& /*A*/) {}
    // Brings the elements up to date when nothing but the advance width changed since they
    // were built, by rebuilding only the parts that follow it; false asks for a full rebuild.
    virtual bool UpdateElementsForAW() { return false; }
    // Replaces the element in slot AIndex (which must exist).
    void ReplaceElement(int AIndex, TNuo4SymbolElement AElement);
    // For CreateElements: the layout bounds measured while building, so that the update right
    // after need not measure them again.
    void KeepBoundsOfNewElements(const TGPRectF& ABounds) { FBounds = ABounds; }

  private:
    void CopyLockedRightLineSpacing();

    // Every symbol of a long score holds these: ordered so that no room is lost to alignment.
    TGPPointF FPos;
    TGPRectF32 FBounds;
    TNuo4SymbolElementList FElementList;
    TGPColor FColor = 0xFF000000u;
    float FAWCoef = 0;
    // The main and sub style, also kept in the record where the record has one.
    TrecNuo4NoteStyleIndex FNoteStyleIndex;
    bool FHideForNonBasicSymbol : 1 = false;
    bool FHighlighted : 1 = false;
    bool FNeedUpdate : 1 = true;
    // The elements were current until the advance width changed, and nothing else did since.
    bool FOnlyAWChanged : 1 = false;
    uint8_t FDataKind : 2 = sdkNone;

  public:
    // Built for a temporary voice; there, forced to the voice's sub style.
    bool bWithinAttachBranch = false;
    bool bWithinAttachBranchAndForceSubStyle = false;

  private:
    void MarkAWChanged() {
        if (!FNeedUpdate) FOnlyAWChanged = true;
        FNeedUpdate = true;
    }
};

// The symbols of the voice: notes, bar lines, accompaniment markers, meters, texts, returns.
class TNuo4BasicSymbol : public TNuo4Symbol {
  public:
    TrecNuo4BasicCalcInfo BasicCalcInfo;

  protected:
    TNuo4BasicSymbol() : TNuo4Symbol(sdkBasic) {}
};

// The symbols hung on the voice: arcs, lyrics, articulations, voltas and the attachments.
class TNuo4AttachSymbol : public TNuo4Symbol {
  public:
    TrecNuo4CalcInfo_WhenAsAttachSymbol InfoWhenAsAttachSymbol;

  protected:
    TNuo4AttachSymbol() : TNuo4Symbol(sdkAttach) {}
};

// The base class of a concrete symbol class of kind AType: the one that carries its layout data.
template <TNuo4SymbolType AType>
using TNuo4SymbolBaseFor =
    std::conditional_t<IsBasicSymbol(AType), TNuo4BasicSymbol,
                       std::conditional_t<IsAttach(AType), TNuo4AttachSymbol, TNuo4Symbol>>;

// Misused writes land in a scratch record, reset at every such call, so that they never leak
// into another symbol.
TrecNuo4BasicCalcInfo& Nuo4ScratchBasicInfo();
TrecNuo4CalcInfo_WhenAsAttachSymbol& Nuo4ScratchAttachInfo();
extern const TrecNuo4BasicCalcInfo Nuo4EmptyBasicInfo;
extern const TrecNuo4CalcInfo_WhenAsAttachSymbol Nuo4EmptyAttachInfo;

inline const TrecNuo4BasicCalcInfo& TNuo4Symbol::BasicInfo() const {
    return HasBasicInfo() ? static_cast<const TNuo4BasicSymbol*>(this)->BasicCalcInfo
                          : Nuo4EmptyBasicInfo;
}
inline TrecNuo4BasicCalcInfo& TNuo4Symbol::MutBasicInfo() {
    assert(HasBasicInfo());
    if (!HasBasicInfo()) [[unlikely]]
        return Nuo4ScratchBasicInfo();
    return static_cast<TNuo4BasicSymbol*>(this)->BasicCalcInfo;
}
inline const TrecNuo4CalcInfo_WhenAsAttachSymbol& TNuo4Symbol::AttachInfo() const {
    return HasAttachInfo() ? static_cast<const TNuo4AttachSymbol*>(this)->InfoWhenAsAttachSymbol
                           : Nuo4EmptyAttachInfo;
}
inline TrecNuo4CalcInfo_WhenAsAttachSymbol& TNuo4Symbol::MutAttachInfo() {
    assert(HasAttachInfo());
    if (!HasAttachInfo()) [[unlikely]]
        return Nuo4ScratchAttachInfo();
    return static_cast<TNuo4AttachSymbol*>(this)->InfoWhenAsAttachSymbol;
}

// Told of every symbol as it is drawn, with the world transform that places its local
// coordinates on the page (the symbol's position included). Regression tests record draw lists
// through it; null (the default) costs nothing.
using TNuo4SymbolDrawObserver = void (*)(const TNuo4Symbol& ASymbol, const QTransform& AToPage,
                                         void* AContext);
void Nuo4SetSymbolDrawObserver(TNuo4SymbolDrawObserver AObserver, void* AContext);

}  // namespace nuo4
