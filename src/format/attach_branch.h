#pragma once
// The temporary voice: a short second voice with its own lyrics, held as its two texts and
// the options of its item line. Its layout belongs to the layout engine.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "format/abc_common.h"
#include "format/abc_tokens.h"
#include "format/music_common.h"
#include "format/note_style_index.h"
#include "format/symbol_control_options.h"
#include "format/symbol_transform.h"

namespace nuo4 {

// The spacing that puts a temporary voice under the main voice: entry i for basic symbol i.
// A voice text of 1000 characters can hold far more symbols than entries, so the count is
// kept within the array whenever it is written and read.
// The entries written so far. Every parsed branch item carries an alignment record that only
// the layout fills, so the room grows with the entries written instead of being kept for all
// of them. Reading an entry not written gives the default entry; records compare by their
// entries, unwritten ones counting as default.
class TNuo4AutoAlignEntries {
  public:
    const TrecNuo4SymbolControlOptions_AWCoef& operator[](size_t AIndex) const {
        return AIndex < FItems.size() ? FItems[AIndex] : Default();
    }
    void Set(size_t AIndex, const TrecNuo4SymbolControlOptions_AWCoef& AItem);
    bool operator==(const TNuo4AutoAlignEntries& AOther) const;

  private:
    static const TrecNuo4SymbolControlOptions_AWCoef& Default() {
        static const TrecNuo4SymbolControlOptions_AWCoef Value{};
        return Value;
    }
    std::vector<TrecNuo4SymbolControlOptions_AWCoef> FItems;
};

struct TrecNuo4AttachBranchAutoAlignInfo {
    static constexpr int32_t Capacity = 100;
    int32_t SymbolCount = 0;        // 0: no information
    TNuo4AutoAlignEntries Symbols;  // at most Capacity

    void SetToDefault() { *this = TrecNuo4AttachBranchAutoAlignInfo(); }
    // The count of entries that may be read: SymbolCount within 0 ... Capacity.
    int32_t GetValidCount() const;
    void SetSymbolCount(int32_t ACount);  // clamped to 0 ... Capacity
    // Writes entry AIndex and grows the count to cover it; false (nothing written) outside
    // the array.
    bool SetItem(int32_t AIndex, const TrecNuo4SymbolControlOptions_AWCoef& AItem);
    bool operator==(const TrecNuo4AttachBranchAutoAlignInfo&) const = default;
};

struct TrecNuo4SymbolAttachBranch {
    std::u16string FABCText_Voice;          // inside of the voice braces, as written, at most 1000
    TrecNuo4NoteStyleIndex NoteStyleIndex;  // written by the layout engine, not part of the text
    TrecNuo4Meter InitMeter;                // meter in force at the first symbol
    int32_t InitBeatPos_8thCount = 0;       // beat position of the first symbol, in eighths
    std::u16string ABCText_Lyrics;          // inside of the lyrics braces, at most 1000
    TrecNuo4SymbolTransform2 Transform;
    TNuo4AttachmentsOcupyTypes Ocupy = (1 << atotUp) | (1 << atotDown);
    bool bForceUseSubStyle = false;
    TNuo4NoteSubStyle SubStyleToForceUse = nssNormal;
    TNuo4FontUsage FontUsageForLyric = fuLyric;
    bool bAutoAlign = false;
    // Computed by the automatic alignment, never written in the text.
    TrecNuo4AttachBranchAutoAlignInfo AutoAlignInfo;

    void SetToDefault() { *this = TrecNuo4SymbolAttachBranch(); }
    // The defaults with both texts, forced to the sub-style and scaled by AScale.
    void Initialize(TText AABCText_Voice, TText AABCText_Lyrics, TNuo4NoteSubStyle ANoteSubStyle,
                    float AScale);
    const std::u16string& GetABCText_Voice() const { return FABCText_Voice; }
    void SetABCText_Voice(TText AValue);
    void SetABCText_Lyrics(TText AValue);
    // "%s, %d, %d, %d, {%s}, {%s}, %s, %s, %s, %s, %s".
    std::u16string ToABCText() const;
    // At least 5 values: bAutoAlign, numerator 0 ... 99, denominator 0 ... 9, start position
    // 0 ... 20 and the voice text in braces (not empty) are required; the lyrics in braces
    // are optional, and only after them transform, occupancy, bForceUseSubStyle, sub-style
    // and lyrics font usage (each optional).
    bool FromABCValues(TText AText, const TKoRangeArray& AValues, TNuo4ABCTokenInfoItems& ATokens,
                       int32_t& AEndPos);
    bool operator==(const TrecNuo4SymbolAttachBranch&) const = default;
};

}  // namespace nuo4
