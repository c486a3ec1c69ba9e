#include "app/cli/json_dump.h"
#include "format/symbol_note.h"

namespace nuo4::cli {

namespace {

json ArcABCInfoJson(const TrecNuo4ArcABCInfo& AInfo) {
    return {{"TupletNumber", AInfo.TupletNumber},
            {"Duration", AInfo.Duration},
            {"VertOffsetCoef", AInfo.VertOffsetCoef},
            {"ArrowStyle", EnumName(AInfo.ArrowStyle)}};
}

// A sub-record: its header, with the text it covers when present.
json PartJson(const TrecNuo4ABCParseInfo_SymbolHeader& AHeader, TText AText, json AValue) {
    json J = {{"Header", HeaderToJson(AHeader)}};
    if (AHeader.IsValid()) J["Text"] = Utf8(ABC_GetRangeText(AText, AHeader.ABCTextRange));
    J["Value"] = std::move(AValue);
    return J;
}

}  // namespace

json ControlOptionsToJson(const TrecNuo4SymbolControlOptions& AOptions) {
    json Factors = json::array();
    for (float F : AOptions.AWCoef.RightLineSpacingCoefArray) Factors.push_back(F);
    return {
        {"AWCoef", {{"AWCoef", AOptions.AWCoef.AWCoef}, {"RightLineSpacingCoefArray", Factors}}},
        {"HideLevel", EnumName(AOptions.HideLevel)},
        {"UnderlineConnectType", EnumName(AOptions.UnderlineConnectType)}};
}

json NoteToJson(const TrecNuo4ABCParseInfo_Note& ANote, TText AText) {
    json J = {{"Header", HeaderToJson(ANote.GetFullHeader())}};
    J["Text"] = Utf8(ABC_GetRangeText(AText, ANote.Header.ABCTextRange));

    json Arcs = json::array();
    for (const auto& Item : ANote.ArcStartings().Value)
        Arcs.push_back({{"Depth", Item.Depth},
                        {"ABCInfo", ArcABCInfoJson(Item.ABCInfo)},
                        {"TextRange", RangeToJson(Item.TextRange)}});
    J["ArcStartings"] = PartJson(ANote.GetPartHeader(pitNote_ArcStartings), AText, std::move(Arcs));

    json Arts = json::array();
    for (const auto& Item : ANote.Articulations().Value)
        Arts.push_back({{"Articulation", EnumName(Item.Articulation)},
                        {"TextRange", RangeToJson(Item.TextRange)}});
    J["Articulations"] =
        PartJson(ANote.GetPartHeader(pitNote_Articulations), AText, std::move(Arts));

    J["Grace"] =
        PartJson(ANote.GetPartHeader(pitNote_Grace), AText, PitchesToJson(ANote.Grace().Value));
    J["Grace"]["Value2"] = PitchesToJson(ANote.Grace().Value2);
    J["Pitches"] =
        PartJson(ANote.GetPartHeader(pitNote_Pithces), AText, PitchesToJson(ANote.PitchesValue()));
    J["Duration"] =
        PartJson(ANote.GetPartHeader(pitNote_Duration), AText, EnumName(ANote.DurationValue()));
    J["ControlOptions"] = PartJson(ANote.GetPartHeader(pitSymbolControlOptions), AText,
                                   ControlOptionsToJson(ANote.ControlOptions().Value));
    J["ArcEndings"] =
        PartJson(ANote.GetPartHeader(pitNote_ArcEndings), AText, ANote.ArcEndings().Value);
    J["ABCText"] = Utf8(ANote.ToABCText());
    return J;
}

}  // namespace nuo4::cli
