// JSON dumps of the title, fonts and page sections.

#include "app/cli/json_dump.h"
#include "format/section_fonts.h"
#include "format/section_page.h"
#include "format/section_title.h"
#include "format/title_block_text.h"

namespace nuo4::cli {

namespace {

template <typename TSection>
json SectionRangesToJson(const TSection& ASection) {
    return {{"ABCTextRange_SectionName", RangeToJson(ASection.ABCTextRange_SectionName)},
            {"ABCTextRange_All", RangeToJson(ASection.ABCTextRange_All)},
            {"ABCTextRange_Line", RangeToJson(ASection.ABCTextRange_Line)}};
}

json TitleBlockTextItemToJson(const TrecNuo4TitleBlockTextItem& AItem) {
    json Lines = json::array();
    for (const auto& L : AItem.TextChord) Lines.push_back(Utf8(L));
    json Afters = json::array();
    for (const auto& A : AItem.AfterTextChordArray)
        Afters.push_back({{"Text", Utf8(A.Text)}, {"LineRange", RangeToJson(A.LineRange)}});
    return {{"TextChord", Lines},
            {"AfterTextChordArray", Afters},
            {"FontUsage", Utf8(ABC_FontUsageName(AItem.FontUsage))},
            {"HorzAlign", EnumName(AItem.HorzAlign)}};
}

json TitleBufferToJson(const TrecNuo4SectionTitleBuffer& ABuffer) {
    json Texts = json::object();
    json Positions = json::object();
    for (int I = 0; I < Nuo4TitleTextItemCount; ++I) {
        const auto Type = static_cast<TNuo4SectionTitleItemType>(I);
        Texts[Utf8(SectionTitle_ItemName(Type))] = Utf8(ABuffer.ABCTextArray[I]);
        Positions[Utf8(SectionTitle_ItemName(Type))] = ABuffer.LinePosArray[I];
    }
    TrecNuo4TitleBlockTextItem WordsBy;
    WordsBy.Initialize_WordsByAndMusicBy(ABuffer.GetText(tbitWordsByAndMusicBy));
    const TrecNuo4Meter Meter = ABuffer.GetInitMeter();
    return {{"ABCTextArray", Texts},
            {"LinePosArray", Positions},
            {"IsEmpty", ABuffer.IsEmpty()},
            {"TitleText", Utf8(ABuffer.GetTitleText())},
            {"InitMeter", Utf8(Meter.ToABCString(false))},
            {"InitKey", ABuffer.GetInitKey()},
            {"InitTempo", ABuffer.GetInitTempo()},
            {"CheckForKeyAndMeters", ABuffer.CheckForKeyAndMeters()},
            {"WordsByAndMusicBy", TitleBlockTextItemToJson(WordsBy)}};
}

json PageLocationToJson(const TrecNuo4PageLocation& ALocation) {
    return {{"PageIndex", ALocation.PageIndex},
            {"PagePos", json::array({ALocation.PagePos.X, ALocation.PagePos.Y})}};
}

json PageItemToJson(const TrecNuo4SectionItem_Page& AItem) {
    json J = {{"aType", EnumName(AItem.Header.aType)},
              {"Location", PageLocationToJson(AItem.Header.Location)}};
    if (AItem.IsMemo()) {
        const auto& O = AItem.Memo.PrivateOptions;
        J["Memo"] = {{"LayoutWidth", O.LayoutWidth},
                     {"FontUsage", Utf8(ABC_FontUsageName(O.FontUsage))},
                     {"Align", EnumName(O.Align)},
                     {"bWithFrame", O.bWithFrame},
                     {"Color", Utf8(ABC_ColorToText(O.Color))},
                     {"ABCText", Utf8(O.ABCText)}};
    } else {
        const auto& B = AItem.TitleBlock;
        J["TitleBlock"] = {{"LayoutWidth", B.LayoutWidth},
                           {"TitleBuffer", TitleBufferToJson(B.TitleBuffer)},
                           {"Color", Utf8(ABC_ColorToText(B.Color))}};
    }
    return J;
}

}  // namespace

json TitleSectionToJson(const TrecNuo4ABCParseInfo_Section_Title& ASection) {
    json J = SectionRangesToJson(ASection);
    J["TokenItems"] = TokensToJson(ASection.TokenItems);
    J["ItemCount"] = ASection.GetCount();
    J["Buffer"] = TitleBufferToJson(ASection.Buffer);
    J["text"] = Utf8(ASection.Buffer.ToABCText(true));
    return J;
}

json FontsSectionToJson(const TrecNuo4ABCParseInfo_Section_Fonts& ASection) {
    json J = SectionRangesToJson(ASection);
    json Items = json::array();
    for (const auto& Item : ASection.Buffer)
        Items.push_back({{"Header", HeaderToJson(Item.Header)},
                         {"FontUsage", Utf8(ABC_FontUsageName(Item.FontUsage))},
                         {"FamilyName", Utf8(Item.FontInfo.FamilyName)},
                         {"Size", Item.FontInfo.Size},
                         {"Style", Utf8(ABC_FontStyleToText(Item.FontInfo.Style))},
                         {"text", Utf8(Item.ToABCText())}});
    J["Buffer"] = Items;
    return J;
}

json PageSectionToJson(const TrecNuo4ABCParseInfo_Section_Page& ASection) {
    json J = SectionRangesToJson(ASection);
    json Items = json::array();
    for (const auto& Item : ASection.Buffer)
        Items.push_back({{"Header", HeaderToJson(Item.Header)},
                         {"Value", PageItemToJson(Item.Value)},
                         {"text", Utf8(Item.Value.ToABCText())}});
    J["Buffer"] = Items;
    return J;
}

}  // namespace nuo4::cli
