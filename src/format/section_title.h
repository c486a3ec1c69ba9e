#pragma once
// The ".Title" section: seven texts of the title block and the vertical position of each line.
//
// Item lines are "Name = text" for the seven text items and "LinePos = p1, ..., p7" for the
// positions. Texts are kept exactly as written (escapes and braces included); they are decoded
// only when drawn. A later line of the same item wins.

#include <array>
#include <cstdint>
#include <string>

#include "format/abc_common.h"
#include "format/abc_tokens.h"
#include "format/ko_range.h"
#include "format/music_common.h"

namespace nuo4 {

enum TNuo4SectionTitleItemType : uint8_t {
    tbitIntro,
    tbitTitle,
    tbitSubTitle,
    tbitSubTitle2,
    tbitKeyAndMeters,
    tbitWordsByAndMusicBy,
    tbitExpression,
    tbitLinePos,
};
const char* EnumName(TNuo4SectionTitleItemType AValue);

// The seven text items come first; tbitLinePos is not a text.
constexpr int Nuo4TitleTextItemCount = 7;
constexpr int Nuo4TitleItemTypeCount = 8;
constexpr int Nuo4SectionTitleItemTypeCount = Nuo4TitleItemTypeCount;

enum TNuo4TitleBlockTextHorzAlign : uint8_t { tbthaNone, tbthaLeft, tbthaMiddle, tbthaRight };
const char* EnumName(TNuo4TitleBlockTextHorzAlign AValue);

// The item name as written ("Intro" ... "LinePos"), the font usage and the alignment of the
// item's line in the title block (fuDefault and tbthaNone for tbitLinePos).
const char16_t* SectionTitle_ItemName(TNuo4SectionTitleItemType AType);
TNuo4FontUsage SectionTitle_ItemFontUsage(TNuo4SectionTitleItemType AType);
TNuo4TitleBlockTextHorzAlign SectionTitle_ItemHorzAlign(TNuo4SectionTitleItemType AType);

// One entry per item type; the entry of tbitLinePos stays empty / unused.
using TNuo4TitleTextArray = std::array<std::u16string, Nuo4TitleItemTypeCount>;
// Top of each item's line in millimetres below the top of the title block.
using TNuo4TitleLinePosArray = std::array<float, Nuo4TitleItemTypeCount>;

// One parsed title line: a text item or the line positions.
struct TrecNUo4SectionTitleItem {
    TNuo4SectionTitleItemType ItemType = tbitIntro;
    std::u16string ABCText;                 // text items
    TNuo4TitleLinePosArray LinePosArray{};  // tbitLinePos

    // A type of tbitLinePos is not a text item and gives an empty Intro instead.
    void InitializeToText(TNuo4SectionTitleItemType AItemTypeForText, TText AABCText);
    void InitializeToLinePos(const TNuo4TitleLinePosArray& ALinePosArray);

    // Reads one item line in ParseRange of S. TokenItems and EndPos (the end of the last value,
    // or of "=" without values) are outputs; on failure the item keeps no meaning.
    bool FromABCText(TText S, TKoRange ParseRange, TNuo4ABCTokenInfoItems& TokenItems,
                     int32_t& EndPos);
    std::u16string ToABCText() const;

    bool operator==(const TrecNUo4SectionTitleItem&) const = default;
};

struct TrecNuo4SectionTitleBuffer {
    TNuo4TitleTextArray ABCTextArray;
    TNuo4TitleLinePosArray LinePosArray{};

    TrecNuo4SectionTitleBuffer() { SetToDefault(); }

    void SetToDefault();
    // All seven texts empty or white.
    bool IsEmpty() const;
    void Trim();
    void UpdateFromItem(const TrecNUo4SectionTitleItem& AItem);

    const std::u16string& GetText(TNuo4SectionTitleItemType AType) const {
        return ABCTextArray[AType];
    }
    // Stores the text cut to its capacity (tbitLinePos is ignored).
    void SetText(TNuo4SectionTitleItemType AType, TText AText);

    // Multi-line form: optionally ".Title" + CR, then every item line + CR.
    std::u16string ToABCText(bool bWithSectionName) const;
    // "{t1}, ... {t7}, p1, ..., p7", optionally enclosed in braces (page title blocks).
    std::u16string ToABCText_SingleLine(bool bWithDaKuoHao) const;
    // The title without spaces and without enclosing braces.
    std::u16string GetTitleText() const;

    // What playback and the layout take from the title: the key-and-meters text and the
    // expression text are read as standard texts. 4/4, key 0 and 120 beats per minute unless
    // the texts say otherwise; the tempo is in quarter-note beats per minute.
    TrecNuo4Meter GetInitMeter() const;
    int32_t GetInitKey() const;  // ToKey12 of the first key-and-meters element
    double GetInitTempo() const;
    void GetMelodyInfo(TrecNuo4Meter& AInitMeter, int32_t& AInitKey, double& AInitTempo) const;
    // Whether the key-and-meters text is a proper key and meter text (an empty one is).
    bool CheckForKeyAndMeters() const;
    // Write the new initial key (a semitone offset from C) or tempo into the key-and-meters or
    // expression text, keeping the rest of the text. Always succeed.
    bool ChangeInitKey(int32_t ANewInitKey);
    bool ChangeInitTempo(double ANewTempo);

    bool operator==(const TrecNuo4SectionTitleBuffer&) const = default;
};

struct TrecNuo4ABCParseInfo_Section_Title {
    TNuo4ABCTokenInfoItems TokenItems;
    TKoRange ABCTextRange_SectionName;
    TKoRange ABCTextRange_All;
    TKoRange ABCTextRange_Line;  // line indexes
    TrecNuo4SectionTitleBuffer Buffer;
    int32_t ItemCount = 0;  // parsed item lines added

    void Clear();
    void AddItem(const TrecNUo4SectionTitleItem& AItem, const TNuo4ABCTokenInfoItems& ATokenItems);
    // The number of item lines added (the buffer itself is a fixed record).
    int32_t GetCount() const { return ItemCount; }
    // No item line was added (Buffer.IsEmpty() tells whether the title block shows nothing).
    bool BufferIsEmpty() const { return ItemCount == 0; }

    TrecNuo4Meter GetFirstMeter() const { return Buffer.GetInitMeter(); }
    void GetMelodyInfo(TrecNuo4Meter& AInitMeter, int32_t& AInitKey, double& AInitTempo) const {
        Buffer.GetMelodyInfo(AInitMeter, AInitKey, AInitTempo);
    }
};

}  // namespace nuo4
