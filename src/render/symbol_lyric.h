#pragma once
// The lyric symbol: one lyric under its note. The centred characters sit centred on the
// symbol's origin with their top at y = 0; a prefix (opening punctuation, a singer's mark) and
// the verse index stand directly to their left on the same baseline. Extension underlines are
// computed here and drawn by the layout engine, joined across the lyrics of a verse.

#include <QPainterPath>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "format/font_table.h"
#include "format/ko_range.h"
#include "format/lyric_data.h"
#include "format/lyric_prefix.h"
#include "format/note_style_index.h"
#include "render/draw_utils.h"
#include "render/symbol.h"

namespace nuo4 {

// The verse index before a lyric ("1."). Only the first lyric of a verse has one, so the text
// stands behind a pointer that every other lyric leaves empty; copies are deep.
class TNuo4LyricVerseIndexText {
  public:
    TNuo4LyricVerseIndexText() = default;
    TNuo4LyricVerseIndexText(const TNuo4LyricVerseIndexText& AOther) { *this = AOther.Get(); }
    TNuo4LyricVerseIndexText(TNuo4LyricVerseIndexText&&) noexcept = default;
    TNuo4LyricVerseIndexText& operator=(const TNuo4LyricVerseIndexText& AOther) {
        if (this != &AOther) *this = AOther.Get();
        return *this;
    }
    TNuo4LyricVerseIndexText& operator=(TNuo4LyricVerseIndexText&&) noexcept = default;
    TNuo4LyricVerseIndexText& operator=(std::u16string AText) {
        FText = AText.empty() ? nullptr : std::make_unique<std::u16string>(std::move(AText));
        return *this;
    }

    const std::u16string& Get() const;
    bool IsEmpty() const { return !FText; }
    bool operator==(const TNuo4LyricVerseIndexText& AOther) const { return Get() == AOther.Get(); }

  private:
    std::unique_ptr<std::u16string> FText;  // never an empty text
};

// The pure data of a lyric, owned or referred to. A lyric the layout makes from the scanned
// score refers to the scanned lyric, which the scanned buffer keeps as long as the layout that
// refers to it; every other lyric, and every copy, owns its data. Reading an empty reference
// gives the default data.
class TNuo4LyricDataRef {
  public:
    TNuo4LyricDataRef() = default;
    TNuo4LyricDataRef(const TNuo4LyricDataRef& AOther) { *this = AOther.Get(); }
    TNuo4LyricDataRef(TNuo4LyricDataRef&& AOther) noexcept { *this = std::move(AOther); }
    TNuo4LyricDataRef& operator=(const TNuo4LyricDataRef& AOther) {
        if (this != &AOther) *this = AOther.Get();
        return *this;
    }
    TNuo4LyricDataRef& operator=(TNuo4LyricDataRef&& AOther) noexcept;
    TNuo4LyricDataRef& operator=(TrecNuo4SymbolPureLyricData AData);

    // Refers to AData without a copy: AData must outlive this reference and every move of it.
    void Refer(const TrecNuo4SymbolPureLyricData& AData);
    bool IsReference() const { return FData && !FOwned; }
    // Gives a valid lyric one count per character; a referred lyric that lacks them becomes an
    // owned copy, since the scanned record is never changed.
    void CheckUnderlineArray();

    const TrecNuo4SymbolPureLyricData& Get() const;
    const TrecNuo4SymbolPureLyricData* operator->() const { return &Get(); }
    bool operator==(const TNuo4LyricDataRef& AOther) const { return Get() == AOther.Get(); }

  private:
    const TrecNuo4SymbolPureLyricData* FData = nullptr;  // FOwned's, or the referred one
    std::unique_ptr<TrecNuo4SymbolPureLyricData> FOwned;
};

struct TrecNuo4SymbolLyric {
    TrecNuo4NoteStyleIndex NoteStyleIndex;
    TNuo4LyricDataRef Data;
    TrecNuo4LyricExtraData ExtraData;
    TNuo4LyricVerseIndexText VerseIndexText;  // "1." before the first lyric of a verse

    void SetToDefault() { *this = TrecNuo4SymbolLyric(); }
    bool operator==(const TrecNuo4SymbolLyric&) const = default;
};

// Where the parts of a lyric stand, in the symbol's coordinates.
struct TrecNuo4LyricLayout {
    QString LyricText, PrefixText, VerseIndexText;
    TNuo4FontUsage LyricFont = fuLyric;
    TNuo4FontUsage PrefixFont = fuLyricPrefix;
    double Scale = 1.0;  // 1 when within 0.01 of it
    bool bScaled = false;
    TGPRectF LyricRect;       // the lyric text (centred part and postfix)
    TGPRectF PrefixRect;      // empty without a prefix
    TGPRectF VerseIndexRect;  // empty without a verse index
    TGPRectF Bounds;          // the union of the three
};

// The layout of a lyric measured on the surface G (null measures without one).
TrecNuo4LyricLayout GetLyricLayout(const TKoGraphics* G, const TrecNuo4SymbolLyric& ARec);
// All texts of the lyric in one path; with bWithUnderlines its own extension underlines too.
// Without underlines the path is shared with every lyric of the same texts, fonts and scale.
QPainterPath CreatePath_Lyric(const TKoGraphics* G, const TrecNuo4SymbolLyric& ARec,
                              bool bWithUnderlines);
// The same from the layout GetLyricLayout(G, ARec) already gave.
QPainterPath CreatePath_Lyric(const TKoGraphics* G, const TrecNuo4SymbolLyric& ARec,
                              const TrecNuo4LyricLayout& ALayout, bool bWithUnderlines);

// ---- Extension underlines -------------------------------------------------------------------

struct TrecNuo4LyricUnderlineBufferItem {
    int32_t UnderlineCount = 0;
    TGPRectF CharRect;  // measured only when the count is positive
};
using TNuo4LyricUnderlineBuffer = std::vector<TrecNuo4LyricUnderlineBufferItem>;

struct TrecNuo4LyricUnderlineConnectRangeInfo {
    int32_t Deepth = 0;
    TKoRange CharIndexRange;  // characters of the lyric text
    double X_Left = 0;
    double X_Right = 0;
};
using TNuo4LyricUnderlineConnectRangeInfoArray =
    std::vector<TrecNuo4LyricUnderlineConnectRangeInfo>;

struct TrecNuo4LyricUnderlineCommonParams {
    double FirstTop = 0;   // the bottom of the lyric rectangle
    double Thickness = 0;  // of one line
    double Gap = 0;        // free space between consecutive lines
};

// Switched on around the drawing of a single lyric as a preview: its path then carries its own
// underlines. In the score the layout engine draws them.
bool& Nuo4LyricPreviewUnderlines();

class TNuo4SymbolLyric : public TNuo4AttachSymbol {
  public:
    explicit TNuo4SymbolLyric(const TrecNuo4SymbolLyric& ARec = TrecNuo4SymbolLyric());
    // Takes the record over: a reference to scanned data stays a reference.
    explicit TNuo4SymbolLyric(TrecNuo4SymbolLyric&& ARec);

    // The lyric layout's bounds.
    void CalcBounds(TGPRectF& ARect) override;
    void CreateElements() override;
    void* GetSymbolRecPtr() override { return &SymbolRec; }
    void SetSymbolRec(const void* ASource) override;
    TNuo4SymbolType GetSymbolType() const override { return sbstLyric; }
    void SetRecNoteStyleIndex(const TrecNuo4NoteStyleIndex& AIndex) override {
        SymbolRec.NoteStyleIndex = AIndex;
    }
    void SetRecMainStyle(TNuo4NoteMainStyle AStyle) override {
        SymbolRec.NoteStyleIndex.MainStyle = AStyle;
    }
    void SetRecSubStyle(TNuo4NoteSubStyle AStyle) override {
        SymbolRec.NoteStyleIndex.SubStyle = AStyle;
    }

    bool IsOcupy() const { return SymbolRec.ExtraData.bOcupy; }
    bool IsEnglishLyric() const { return SymbolRec.Data->IsEnglishLyric(); }
    const TrecNuo4SymbolPureLyricData* GetPureDataPtr() const { return &SymbolRec.Data.Get(); }
    TrecNuo4LyricLayout GetLayout() const;
    // The room the lyric takes beside its neighbours: the advance of its text across (a "，" or
    // "。" is a whole cell wide though its ink is a dot), the ink up and down.
    TGPRectF SpacingBox();

    // Underlines in the symbol's coordinates.
    TrecNuo4LyricUnderlineCommonParams Underline_GetCommonParams() const;
    TNuo4LyricUnderlineBuffer Underline_GetBuffer() const;
    TNuo4LyricUnderlineConnectRangeInfoArray Underline_GeConnectRangeInfoArray() const;
    std::vector<TGPRectF> Underline_GetRectArray() const;
    bool Underline_FirstCharIsWithUnderline() const;
    bool Underline_LastCharIsWithUnderline() const;

    TrecNuo4SymbolLyric SymbolRec;

  private:
    // What every new record needs: one underline count per character, a valid style.
    void AcceptRec();
};

// The connected ranges of an underline buffer, depth by depth (the counts are used up).
TNuo4LyricUnderlineConnectRangeInfoArray Underline_GetConnectRanges(
    TNuo4LyricUnderlineBuffer ABuffer);
// One rectangle per range: from X_Left to X_Right, at FirstTop + depth x (gap + thickness).
std::vector<TGPRectF> Underline_GetRects(const TNuo4LyricUnderlineConnectRangeInfoArray& ARanges,
                                         const TrecNuo4LyricUnderlineCommonParams& AParams);

}  // namespace nuo4
