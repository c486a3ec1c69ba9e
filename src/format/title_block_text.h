#pragma once
// The texts of a title block as the drawing sees them: lines stacked on each other with labels
// standing after ranges of them ("张三" / "店小二" followed by "词"), built from the raw title
// texts. The words-by and music-by text has a small grammar of its own.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "format/abc_common.h"
#include "format/ko_range.h"
#include "format/section_title.h"

namespace nuo4 {

// Default labels written after the names of the words-by and music-by line.
inline constexpr const char16_t* Nuo4WordsByLabel = u"词";
inline constexpr const char16_t* Nuo4MusicByLabel = u"曲";
inline constexpr const char16_t* Nuo4SingByLabel = u"唱";

struct TrecNuo4AfterTextChord {
    std::u16string Text;
    TKoRange LineRange;  // indexes of the TextChord lines the text stands after

    void Initalize(TText AText, TKoRange ALineRange) {
        Text = std::u16string(AText);
        LineRange = ALineRange;
    }
    bool IsEmpty() const { return Text.empty() || !LineRange.IsNonEmpty(); }
    bool operator==(const TrecNuo4AfterTextChord&) const = default;
};

enum TrecNuo4TitelBlockTextItemType : uint8_t {
    tbtitInvalid,
    tbtitNormalText,
    tbtitTwo_One,
    tbtitTwo_Two,
    tbtitThree_One,
    tbtitThree_Two,
    tbtitThree_Three,
};
const char* EnumName(TrecNuo4TitelBlockTextItemType AValue);

// Names first, then labels: Two_Two is (words by, music by, label 1, label 2), Three_Three is
// (words by, music by, sung by, label 1, label 2, label 3). A normal text is Parts[0].
struct TrecNuo4TitelBlockText_WordsByAndMusicBy {
    TrecNuo4TitelBlockTextItemType aType = tbtitInvalid;
    std::array<std::u16string, 6> Parts;

    bool operator==(const TrecNuo4TitelBlockText_WordsByAndMusicBy&) const = default;
};

struct TrecNuo4TitleBlockTextItem {
    std::vector<std::u16string> TextChord;
    std::vector<TrecNuo4AfterTextChord> AfterTextChordArray;
    TNuo4FontUsage FontUsage = fuDefault;
    bool bZipY = false;
    TNuo4TitleBlockTextHorzAlign HorzAlign = tbthaNone;
    float TextLeftWhenHorzAlignIsNone = 0;

    void SetToDefault();
    // Empty, but already in the words-by font and alignment.
    void SetToDefault_WordsByAndMusicBy();
    bool IsEmtpy() const { return IsEmpty_TextChord() && IsEmpty_AfterChord(); }
    bool IsEmpty_TextChord() const { return TextChord.empty(); }
    bool IsEmpty_AfterChord() const;

    void Initialize_SingleLineText(TText AText, TNuo4FontUsage AFontUsage,
                                   TNuo4TitleBlockTextHorzAlign AHorzAlign,
                                   float ATextLeftWhenHorzAlignIsNone);
    // A single-line item in the font and alignment of the title item type.
    void Initialize(TNuo4SectionTitleItemType AItemType, TText AABCText);
    // The words-by grammar over the raw text of the title item.
    void Initialize_WordsByAndMusicBy(TText AnyText);
    void Initialize_WordsByAndMusicBy(const TrecNuo4TitelBlockText_WordsByAndMusicBy& ATextInfo);
    void Initialize_WordsByAndMusicBy_NormalText(TText AText);
    void Initialize_WordsByAndMusicBy_Two_Two(TText AWordsBy, TText AMusicBy, TText AID_WordsBy,
                                              TText AID_MusicBy);
    void Initialize_WordsByAndMusicBy_Three_Three(TText AWordsBy, TText AMusicBy, TText ASingBy,
                                                  TText AID_WordsBy, TText AID_MusicBy,
                                                  TText AID_SingBy);

    bool operator==(const TrecNuo4TitleBlockTextItem&) const = default;
};

}  // namespace nuo4
