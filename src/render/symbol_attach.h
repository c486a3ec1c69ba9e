#pragma once
// The attachment symbols of the attachments section: special texts, special voltas and lines,
// crescendo and diminuendo hairpins, often-used marks, extend symbols (music-font characters
// with a transform), braces and temporary voices. Each holds its record, builds its path items
// in its own millimetres (y down, origin = the symbol's position) and reports its bounds.
// Special arcs have their class in symbol_arc.h.

#include <QPainterPath>
#include <array>
#include <memory>
#include <string>

#include "format/attach_branch.h"
#include "format/attach_symbols.h"
#include "format/section_attachments.h"
#include "render/attach_branch_data.h"
#include "render/music_font.h"
#include "render/symbol.h"
#include "render/symbol_basic.h"
#include "render/symbol_element.h"

namespace nuo4 {

// ---- Special text ---------------------------------------------------------------------------

// The text laid out as a standard text with its left-middle at the origin, centred on x = 0
// and transformed about the origin. ABounds: the layout bounds under the transform.
TNuo4SymbolPathes CreatePathes_AttachText(const TrecNuo4SymbolAttachText& ARec, TGPRectF& ABounds,
                                          bool bOnlyCalc);

class TNuo4SymbolAttachText : public TNuo4SymbolWithRec<TrecNuo4SymbolAttachText, sbstAttachText> {
  public:
    explicit TNuo4SymbolAttachText(const TrecNuo4SymbolAttachText& ARec = {}) { Init(ARec); }

    TNuo4AttachmentsOcupyTypes Ocupy() const { return FRec.Ocupy; }
    void SetOcupy(TNuo4AttachmentsOcupyTypes AValue) { FRec.Ocupy = AValue; }
    bool IsNormalText(std::u16string& AText) const { return FRec.IsNormalText(AText); }
    bool IsKeyChange(TrecNuo4KeySignature& AKey) const { return FRec.IsKeyChange(AKey); }
    bool IsLineSymbol(bool& bVert, float& ALength) const {
        return FRec.IsLineSymbol(bVert, ALength);
    }
    // Whether a text would draw nothing in that font.
    static bool PathIsEmpty(TText AText_ABC, TNuo4FontUsage AUsage = fuAttachText1);

    void CalcBounds(TGPRectF& ARect) override;
    void CreateElements() override;
};

// ---- Special volta and lines ----------------------------------------------------------------

// The volta bracket, the repeat sign without count, or a dashed, solid or wave line of the
// record's length, from the origin at the left end (the right piece of a volta ends there).
TNuo4SymbolPathes CreatePathes_AttachFangZi(const TrecNuo4SymbolAttachFangZi& ARec,
                                            TGPRectF& ABounds, bool bOnlyCalc);

class TNuo4SymbolAttachFangZi
    : public TNuo4SymbolWithRec<TrecNuo4SymbolAttachFangZi, sbstAttachFangZi> {
  public:
    explicit TNuo4SymbolAttachFangZi(const TrecNuo4SymbolAttachFangZi& ARec = {}) { Init(ARec); }

    void SetSymbolRec(const void* ASource) override {
        TNuo4SymbolWithRec::SetSymbolRec(ASource);
        FFangZiBounds = TGPRectF();
    }
    TNuo4AttachmentsOcupyTypes Ocupy() const { return FRec.Ocupy(); }
    TNuo4AttachFangZiType FangZiType() const { return FRec.FangZiType; }
    TNuo4LineSymbolContinueStyle Continue() const { return FRec.ContinueStyle; }
    bool IsFull() const { return Continue() == lscsFull; }
    bool IsLeft() const { return Continue() == lscsLeft; }
    bool IsRight() const { return Continue() == lscsRight; }
    bool AutoAlign() const { return FRec.bAutoAlign; }
    float Length() const { return FRec.Length; }
    void SetLength(float AValue);

    // The bounds of the last build (those the builder gives before any build).
    void CalcBounds(TGPRectF& ARect) override;
    void CreateElements() override;

  private:
    TGPRectF FFangZiBounds;
};

// ---- Crescendo and diminuendo ---------------------------------------------------------------

// Hairpin height h = 0.5 H and stroke t = 0.07 H of the record's style.
void AttachDynamic_GetHeightAndThickness(const TrecNuo4SymbolAttachDynamic& ARec, double& AHeight,
                                         double& AThickness);
TNuo4SymbolPathes CreatePathces_Dynamic(const TrecNuo4SymbolAttachDynamic& ARec, TGPRectF& ABounds,
                                        bool bOnlyCalc);

class TNuo4SymbolAttachDynamic
    : public TNuo4SymbolWithRec<TrecNuo4SymbolAttachDynamic, sbstAttachDynamic> {
  public:
    explicit TNuo4SymbolAttachDynamic(const TrecNuo4SymbolAttachDynamic& ARec = {}) { Init(ARec); }

    TNuo4AttachmentsOcupyTypes Ocupy() const { return FRec.Ocupy(); }
    void GetHeightAndThickness(double& AHeight, double& AThickness) const {
        AttachDynamic_GetHeightAndThickness(FRec, AHeight, AThickness);
    }

    // (0, -h/2, L, h).
    void CalcBounds(TGPRectF& ARect) override;
    void CreateElements() override;
    // A hairpin keeps the style written in its record.
    void SetRecNoteStyleIndex(const TrecNuo4NoteStyleIndex&) override {}
    void SetRecMainStyle(TNuo4NoteMainStyle) override {}
    void SetRecSubStyle(TNuo4NoteSubStyle) override {}
};

// ---- Often-used marks -----------------------------------------------------------------------

struct TrecNuo4CoreFontAttachmentsSymbolInfoItem {
    std::u16string ShortName;
    std::u16string DetailName;
    TrecNuo4CoreFontSymbolInfoItem FontInfo{};
    TGPPointF OffsetCoef;  // default offset of a new mark, in the owner's digit width and height
    TrecNuo4SymbolTransform2 Transform;
    TNuo4AttachmentsOcupyTypes Ocupy = 0;
};

// One item per often-used mark type, filled once.
class TNuo4AttachmentsGroupItemArray_Often {
  public:
    void Init();
    bool IsInitialized() const { return FInitialized; }
    // Null for a type outside the table.
    const TrecNuo4CoreFontAttachmentsSymbolInfoItem* GetItemPtr(
        TNuo4AttachmentsGroupItemType_Often AItemType) const;
    int Count() const { return Nuo4AttachOftenCount; }

  private:
    std::array<TrecNuo4CoreFontAttachmentsSymbolInfoItem, Nuo4AttachOftenCount> FItems;
    bool FInitialized = false;
};
// The table of the program, initialised on first use.
const TNuo4AttachmentsGroupItemArray_Often& Nuo4AttachOftenTable();
// The music-font glyph of an often-used mark.
TNuo4CoreFontSymbol AttachOftenGlyph(TNuo4AttachmentsGroupItemType_Often AItemType);

// The mark's glyph at the digit size of its style (one design unit = W / 400), under its
// transform; one fill item.
TNuo4SymbolPathes CreatePathces_Often(const TrecNuo4SymbolAttachOften& ARec, TGPRectF& ABounds,
                                      bool bOnlyCalc);

class TNuo4SymbolAttachOften
    : public TNuo4SymbolWithRec<TrecNuo4SymbolAttachOften, sbstAttachOften> {
  public:
    explicit TNuo4SymbolAttachOften(const TrecNuo4SymbolAttachOften& ARec = DefaultRec()) {
        Init(ARec);
    }

    TNuo4AttachmentsOcupyTypes Ocupy() const { return FRec.Ocupy; }
    TNuo4AttachmentsGroupItemType_Often ItemType() const { return FRec.ItemType; }
    // The vertical and horizontal line marks; ALength is the height or width of the bounds.
    bool IsLineSymbol(bool& bVert, double& ALength);

    void CalcBounds(TGPRectF& ARect) override;
    void CreateElements() override;
    // A mark keeps the style written in its record.
    void SetRecNoteStyleIndex(const TrecNuo4NoteStyleIndex&) override {}
    void SetRecMainStyle(TNuo4NoteMainStyle) override {}
    void SetRecSubStyle(TNuo4NoteSubStyle) override {}

  private:
    static TrecNuo4SymbolAttachOften DefaultRec() {
        TrecNuo4SymbolAttachOften R;
        R.SetToDefault();
        return R;
    }
};

// ---- Extend symbols -------------------------------------------------------------------------

// One item of the list: its characters as a path of the fuCore font with the left-top at the
// origin, under the item's transform, moved by its position (in units of ADigitSize).
QPainterPath AttachExtendItem_ToPath(const TrecNuo4AttachExtendDataItem& AItem, TGPSizeF ADigitSize,
                                     TGPRectF& ABounds);
// All items, centred on x = 0, under the record's transform. ABlackBox: the path's own bounds
// (empty when only calculating).
TNuo4SymbolPathes CreatePathes_AttachExtend(const TrecNuo4SymbolAttachExtend& ARec,
                                            TGPRectF& ABounds, TGPRectF& ABlackBox, bool bOnlyCalc);

class TNuo4SymbolAttachExtend
    : public TNuo4SymbolWithRec<TrecNuo4SymbolAttachExtend, sbstAttachExtend> {
  public:
    explicit TNuo4SymbolAttachExtend(const TrecNuo4SymbolAttachExtend& ARec = {}) { Init(ARec); }

    TNuo4AttachmentsOcupyTypes Ocupy() const { return FRec.Ocupy; }
    bool IsSingleChar(char16_t& AUnicode) const { return FRec.IsSingleChar(AUnicode); }
    bool IsBrace_ZhiKuoHao() const { return FRec.IsBrace_ZhiKuoHao(); }
    // The single horizontal line character; ALength is the width of the bounds.
    bool IsLineSymbol(double& ALength);
    // The first character moves to the next or previous code point of the music font: never
    // above U+FFFF, never down to U+F000 or below.
    bool EditFirstChar_Next();
    bool EditFirstChar_Prev();

    // The ink bounds of the built path.
    void CalcBounds(TGPRectF& ARect) override;
    void CreateElements() override;
};

// ---- Braces ---------------------------------------------------------------------------------

// Width of the brace (0.8 W square, 0.5 W curly), thick-line width (0.1 W0) and thick-line
// offset (0.65 w square, 0 curly, 1.3 w second curly style).
void AttachBrace_GetWidthFromLengthAndDigitSize(const TrecNuo4SymbolAttachBrace& ARec,
                                                double& AWidth, double& AThickLineWidth,
                                                double& AThickLineOffset);
// The outline of the square bracket with curled ends, length L, 3 design units wide (before
// the horizontal scale); AGapBetweenBarlineAndTop: the height of the curl.
QPainterPath AttachBrace_GetBracketPath(double ALength, double& AGapBetweenBarlineAndTop);
// The brace in its direction, one fill item. ABounds: (0, 0, w, L) left and right, (0, 0, L, w)
// up and down; the extra line is outside them.
TNuo4SymbolPathes CreatePathes_AttachBrace(const TrecNuo4SymbolAttachBrace& ARec, TGPRectF& ABounds,
                                           double& AGapBetweenBarlineAndTop, bool bOnlyCalc);

class TNuo4SymbolAttachBrace
    : public TNuo4SymbolWithRec<TrecNuo4SymbolAttachBrace, sbstAttachBrace> {
  public:
    explicit TNuo4SymbolAttachBrace(const TrecNuo4SymbolAttachBrace& ARec = {}) { Init(ARec); }

    TNuo4AttachmentsOcupyTypes Ocupy() const { return FRec.Ocupy; }
    TNuo4AttachBraceStyle Style() const { return FRec.Style; }
    TNuo4AttachBraceDirection Direction() const { return FRec.Direction; }
    float Length() const { return FRec.Length; }
    void SetLength(float AValue);
    float GetExtraLineLength() const { return FRec.GetExtraLineLength(); }
    float GetTotalLength() const { return FRec.GetTotalLength(); }
    bool GetWithExtraLine() const { return FRec.GetWithExtraLine(); }
    bool StyleIsZhiKuoHao() const { return FRec.StyleIsZhiKuoHao(); }
    bool StyleIsHuaKuoHao2() const { return FRec.StyleIsHuaKuoHao2(); }
    double GetWidth() const;

    void CalcBounds(TGPRectF& ARect) override;
    void CreateElements() override;
};

// ---- Temporary voice ------------------------------------------------------------------------

// The record keeps the texts and options; what is drawn is its laid-out voice, built on first
// use and owned by the symbol. The record's transform applies to all of it.
class TNuo4SymbolAttachBranch
    : public TNuo4SymbolWithRec<TrecNuo4SymbolAttachBranch, sbstAttachBranch> {
  public:
    explicit TNuo4SymbolAttachBranch(const TrecNuo4SymbolAttachBranch& ARec = {}) { Init(ARec); }
    ~TNuo4SymbolAttachBranch() override { FreeDataPtr(); }

    TNuo4AttachmentsOcupyTypes Ocupy() const { return FRec.Ocupy; }
    bool AutoAlign() const { return FRec.bAutoAlign; }

    // The laid-out voice, built when there is none or when forced; null for an empty voice
    // text or without a builder.
    TNuo4AttachBranchDataBase* GetDataPtr(bool bForceUpdateData = false);
    void FreeDataPtr() { FDataPtr.reset(); }
    // Takes the alignment (its count kept within the array) and lays the voice out again.
    void UpdateAutoAlignInfo(const TrecNuo4AttachBranchAutoAlignInfo& AInfo);
    int32_t GetBasicSymbolCount_WithRightline();
    // In the symbol's own millimetres, after the transform.
    double GetBasicSymbolBoundsRight_FromSymbolIndexWithRightline(int32_t AIndex);
    QTransform GetTransformMatrix() const;

    void SetSymbolRec(const void* ASource) override {
        TNuo4SymbolWithRec::SetSymbolRec(ASource);
        FreeDataPtr();
    }
    void CalcBounds(TGPRectF& ARect) override;
    void CreateElements() override;
    // A temporary voice keeps the styles of its own symbols.
    void SetRecNoteStyleIndex(const TrecNuo4NoteStyleIndex&) override {}
    void SetRecMainStyle(TNuo4NoteMainStyle) override {}
    void SetRecSubStyle(TNuo4NoteSubStyle) override {}

  private:
    std::unique_ptr<TNuo4AttachBranchDataBase> FDataPtr;
};

// ---- Factory --------------------------------------------------------------------------------

// The symbol of one attachments item, of its kind; special arcs are TNuo4SymbolAttachArc.
std::unique_ptr<TNuo4Symbol> CreateAttachmentsSymbol(const TrecNuo4SectionItem_Attachments& AItem);

}  // namespace nuo4
