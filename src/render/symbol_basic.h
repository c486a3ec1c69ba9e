#pragma once
// The basic symbols of the voice other than notes (bar line, accompaniment marker, meter,
// paragraph mark, standard text) and the volta bracket. Each holds its record, computes its
// bounds with the path builder in calculate-only mode and builds its elements in full.

#include <memory>

#include "format/symbol_accomp_marker.h"
#include "format/symbol_barline.h"
#include "format/symbol_meter.h"
#include "format/symbol_return.h"
#include "format/symbol_text.h"
#include "render/basic_glyphs.h"
#include "render/symbol.h"
#include "render/text_glyphs.h"

namespace nuo4 {

// Common slots of the classes below: the record and its style index.
template <typename TRec, TNuo4SymbolType AType>
class TNuo4SymbolWithRec : public TNuo4SymbolBaseFor<AType> {
  public:
    const TRec& Rec() const { return FRec; }
    void* GetSymbolRecPtr() override { return &FRec; }
    void SetSymbolRec(const void* ASource) override {
        FRec = *static_cast<const TRec*>(ASource);
        this->SetNeedUpdate();
    }
    TNuo4SymbolType GetSymbolType() const override { return AType; }
    void SetRecNoteStyleIndex(const TrecNuo4NoteStyleIndex& AIndex) override {
        FRec.NoteStyleIndex = AIndex;
    }
    void SetRecMainStyle(TNuo4NoteMainStyle AStyle) override {
        FRec.NoteStyleIndex.MainStyle = AStyle;
    }
    void SetRecSubStyle(TNuo4NoteSubStyle AStyle) override {
        FRec.NoteStyleIndex.SubStyle = AStyle;
    }

  protected:
    // Takes the record and the style it names.
    void Init(const TRec& ARec) {
        this->Create(&ARec);
        if (FRec.NoteStyleIndex.IsValid()) this->SetNoteStyleIndex(FRec.NoteStyleIndex);
    }
    TRec FRec;
};

class TNuo4SymbolBarline : public TNuo4SymbolWithRec<TrecNuo4SymbolBarline, sbstBarline> {
  public:
    explicit TNuo4SymbolBarline(const TrecNuo4SymbolBarline& ARec = TrecNuo4SymbolBarline()) {
        Init(ARec);
    }
    void CalcBounds(TGPRectF& ARect) override;
    void CreateElements() override;

    bool IsLeftRepeat() const { return FRec.IsLeftRepeat(); }
    bool IsRightRepeat() const { return FRec.IsRightRepeat(); }
    bool CanEndWithFangZi() const { return FRec.CanEndWithFangZi(); }
    // The volta offset coefficient of this bar line's style (times W0 in the layout).
    double GetFangZiOffsetCoef(TNuo4FangZiOffsetKind AKind) const {
        return GetBarlineFangZiOffsetCoef(FRec.BarlineStyle, AKind);
    }
};

class TNuo4SymbolAccompMarker
    : public TNuo4SymbolWithRec<TrecNuo4SymbolAccompMarker, sbstAccompMarker> {
  public:
    explicit TNuo4SymbolAccompMarker(
        const TrecNuo4SymbolAccompMarker& ARec = TrecNuo4SymbolAccompMarker()) {
        Init(ARec);
    }
    void CalcBounds(TGPRectF& ARect) override;
    void CreateElements() override;
};

class TNuo4SymbolMeter : public TNuo4SymbolWithRec<TrecNuo4SymbolMeter, sbstMeter> {
  public:
    explicit TNuo4SymbolMeter(const TrecNuo4SymbolMeter& ARec = TrecNuo4SymbolMeter()) {
        Init(ARec);
    }
    void CalcBounds(TGPRectF& ARect) override;
    void CreateElements() override;
};

class TNuo4SymbolReturn : public TNuo4SymbolWithRec<TrecNuo4SymbolReturn, sbstReturn> {
  public:
    explicit TNuo4SymbolReturn(const TrecNuo4SymbolReturn& ARec = TrecNuo4SymbolReturn()) {
        Init(ARec);
    }
    void CalcBounds(TGPRectF& ARect) override;
    void CreateElements() override;
};

class TNuo4SymbolText : public TNuo4SymbolWithRec<TrecNuo4SymbolText, sbstText> {
  public:
    explicit TNuo4SymbolText(const TrecNuo4SymbolText& ARec = TrecNuo4SymbolText()) { Init(ARec); }
    void CalcBounds(TGPRectF& ARect) override;
    void CreateElements() override;

    // The text's elements laid out from its left-middle (0, -H/2).
    TNuo4SymbolPathes CreatePath(TGPRectF& ABounds, bool bOnlyCalc) const;

    // Texts for the dialogs that build standard texts.
    static std::u16string GetABCText_BarNumber(int32_t ABarNumber) {
        return nuo4::GetABCText_BarNumber(ABarNumber);
    }
    static std::u16string GetABCText_BarNumber(TText ABarNumber) {
        return nuo4::GetABCText_BarNumber(ABarNumber);
    }
    static std::u16string GetABCText_NormalText(TText AText) {
        return nuo4::GetABCText_NormalText(AText);
    }
    static std::u16string GetABCText_PureNote(const TrecNuo4MusicPureNote& ANote) {
        return nuo4::GetABCText_PureNote(ANote);
    }
    static TNuo4TextElementArray GetElementArray_FromABCText(TText AText_ABC) {
        return nuo4::GetElementArray_FromABCText(AText_ABC);
    }
};

// The volta bracket: an attach symbol without control options. It keeps the bounds of its
// last build.
class TNuo4SymbolFangZi : public TNuo4AttachSymbol {
  public:
    explicit TNuo4SymbolFangZi(const TrecNuo4SymbolFangZi& ARec = TrecNuo4SymbolFangZi());
    static std::unique_ptr<TNuo4SymbolFangZi> Create_Full(double ALength, TText AText,
                                                          double AHeight);
    static std::unique_ptr<TNuo4SymbolFangZi> Create_Left(double ALength, TText AText,
                                                          double AHeight);
    static std::unique_ptr<TNuo4SymbolFangZi> Create_Right(double ALength, double AHeight);

    const TrecNuo4SymbolFangZi& Rec() const { return FRec; }
    // The automatic height: 0.8 times the line spacing of the volta text font.
    static double GetFangZiHeight() { return GetFangZiAutoHeight(); }

    void CalcBounds(TGPRectF& ARect) override;
    void CreateElements() override;
    void* GetSymbolRecPtr() override { return &FRec; }
    void SetSymbolRec(const void* ASource) override;
    TNuo4SymbolType GetSymbolType() const override { return sbstFangZi; }
    void SetRecNoteStyleIndex(const TrecNuo4NoteStyleIndex& AIndex) override {
        FRec.NoteStyleIndex = AIndex;
    }
    void SetRecMainStyle(TNuo4NoteMainStyle AStyle) override {
        FRec.NoteStyleIndex.MainStyle = AStyle;
    }
    void SetRecSubStyle(TNuo4NoteSubStyle AStyle) override {
        FRec.NoteStyleIndex.SubStyle = AStyle;
    }

  private:
    TrecNuo4SymbolFangZi FRec;
    TGPRectF FFangZiBounds;
};

}  // namespace nuo4
