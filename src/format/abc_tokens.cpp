#include "format/abc_tokens.h"

#include <algorithm>
#include <iterator>

namespace nuo4 {

const char* EnumName(TNuo4ABCTokenType AValue) {
    static constexpr const char* Names[] = {"ttUnknown",
                                            "ttGeneral",
                                            "ttControlOptions",
                                            "ttTitleItemName",
                                            "ttTitleItemText",
                                            "ttSectionName",
                                            "ttSectionItemName",
                                            "ttHorzLocation",
                                            "ttPageLocation",
                                            "ttFontUsage",
                                            "ttAttachOftenTypeName",
                                            "ttFontInfo_Param",
                                            "ttString",
                                            "ttNumber",
                                            "ttBool",
                                            "ttFontStyle",
                                            "ttOcupy",
                                            "ttNoteSubStyle",
                                            "ttOffset",
                                            "ttRotate",
                                            "ttLineSymbolContinueStyle",
                                            "ttOpionName",
                                            "ttOptionValue",
                                            "ttAttachBranchVoice",
                                            "ttAttachBranchLyrics",
                                            "ttBarline_Pure",
                                            "ttBarline_Pure_Barline",
                                            "ttBarline_FangZi",
                                            "ttAccompMarker",
                                            "ttText",
                                            "ttReturn",
                                            "ttLyricPrefix",
                                            "ttKeyAndMeters",
                                            "ttNote_Pitches",
                                            "ttNote_Duration",
                                            "ttNote_Grace",
                                            "ttNote_Articulations",
                                            "ttNote_ArcStartings",
                                            "ttNote_ArcEndings",
                                            "ttBarlinesAndNotesToSkip",
                                            "ttPureLyric",
                                            "ttSectionAttachmentsItemHeader",
                                            "ttSectionPageItemHeader",
                                            "ttReserved"};
    return AValue < std::size(Names) ? Names[AValue] : "";
}

const char* EnumName(TNuo4ABCParseInfoType AValue) {
    static constexpr const char* Names[] = {"pitInvalid",
                                            "pitNote",
                                            "pitNote_ArcStartings",
                                            "pitNote_Articulations",
                                            "pitNote_Grace",
                                            "pitNote_Pithces",
                                            "pitNote_Duration",
                                            "pitNote_ArcEndings",
                                            "pitSymbolControlOptions",
                                            "pitBarline",
                                            "pitBarline_Pure",
                                            "pitBarline_FangZi",
                                            "pitAccompMarker",
                                            "pitReturn",
                                            "pitMeter",
                                            "pitKey",
                                            "pitOption",
                                            "pitFontInfo",
                                            "pitSectionItem_Attachments",
                                            "pitSectionItem_Attachments_Header",
                                            "pitSectionItem_Attachments_Text",
                                            "pitSectionItem_Attachments_FangZi",
                                            "pitSectionItem_Attachments_Arc",
                                            "pitSectionItem_Attachments_Dynamic",
                                            "pitSectionItem_Attachments_Often",
                                            "pitSectionItem_Attachments_Lyric",
                                            "pitSectionItem_Attachments_Branch",
                                            "pitSectionItem_Attachments_Brace",
                                            "pitSectionItem_Page",
                                            "pitSectionItem_Page_Header",
                                            "pitSectionItem_Page_Value",
                                            "pitPureLyric",
                                            "pitLyric",
                                            "pitLocationPrefix",
                                            "pitHorzLocation",
                                            "pitBarlinesAndNotesToSkip",
                                            "pitText",
                                            "pitText_WhiteSpace",
                                            "pitText_Text",
                                            "pitText_KeyAndMeters",
                                            "pitText_PureNote",
                                            "pitText_Gap",
                                            "pitText_Tempo",
                                            "pitText_Grace",
                                            "pitText_Chord",
                                            "pitText_BarNumber",
                                            "pitText_Rectangle",
                                            "pitText_Ellipse",
                                            "pitText_Arc",
                                            "pitPageSymbol_Value",
                                            "pitReserved"};
    return AValue < std::size(Names) ? Names[AValue] : "";
}

int TNuo4ABCTokenInfoItems::FindFirst(TNuo4ABCTokenType AType) const {
    for (size_t I = 0; I < size(); ++I)
        if ((*this)[I].aType == AType) return static_cast<int>(I);
    return -1;
}

TKoRange TNuo4ABCTokenInfoItems::GetRangeOfFirst(TNuo4ABCTokenType AType) const {
    const int I = FindFirst(AType);
    return I < 0 ? TKoRange::Invalid() : (*this)[I].ABCTextRange;
}

TNuo4ABCTextReplaceItems TNuo4ABCTextReplaceItems::MakeTwo(const TrecNuo4ABCTextReplaceItem& A,
                                                           const TrecNuo4ABCTextReplaceItem& B) {
    TNuo4ABCTextReplaceItems Items;
    Items.AddItem(A);
    Items.AddItem(B);
    return Items;
}

TNuo4ABCTextReplaceItems TNuo4ABCTextReplaceItems::MakeDeletes(const TKoRangeArray& ARanges) {
    TNuo4ABCTextReplaceItems Items;
    for (const auto& R : ARanges) {
        TrecNuo4ABCTextReplaceItem Item;
        Item.InitializeForDelete(R);
        Items.AddItem(Item);
    }
    return Items;
}

int ABC_ApplyReplaceItems(std::u16string& AText, const TNuo4ABCTextReplaceItems& AItems) {
    std::vector<const TrecNuo4ABCTextReplaceItem*> Order;
    Order.reserve(AItems.size());
    for (const auto& Item : AItems) Order.push_back(&Item);
    std::stable_sort(Order.begin(), Order.end(), [](const auto* A, const auto* B) {
        if (A->TextRange.StartIndex != B->TextRange.StartIndex)
            return A->TextRange.StartIndex > B->TextRange.StartIndex;
        return A->NewText > B->NewText;  // ordinal comparison of code units
    });
    int Applied = 0;
    for (const auto* Item : Order) {
        if (Item->IsInvalid()) continue;
        const TKoRange R = Item->TextRange;
        // An item reaching past the text cannot come from this text; applying it would corrupt.
        if (static_cast<int64_t>(R.StartIndex) + R.Length > static_cast<int64_t>(AText.size()))
            continue;
        std::u16string NewText;
        NewText.reserve(Item->NewText.size());
        for (size_t I = 0; I < Item->NewText.size(); ++I) {
            const char16_t C = Item->NewText[I];
            if (C == u'\r' && I + 1 < Item->NewText.size() && Item->NewText[I + 1] == u'\n') ++I;
            NewText += C;
        }
        AText.replace(R.StartIndex, R.Length, NewText);
        ++Applied;
    }
    return Applied;
}

}  // namespace nuo4
