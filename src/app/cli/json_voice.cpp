// JSON form of the parsed ".Voice" section: every symbol in order with its header, its values
// and the text its writer produces.

#include "app/cli/json_dump.h"
#include "format/section_voice.h"
#include "format/symbol_accomp_marker.h"
#include "format/symbol_barline.h"
#include "format/symbol_meter.h"
#include "format/symbol_note.h"
#include "format/symbol_return.h"
#include "format/symbol_text.h"

namespace nuo4::cli {

namespace {

const char* FontUsageEnumName(TNuo4FontUsage AUsage) {
    static const char* const Names[Nuo4FontUsageCount] = {"fuCore",
                                                          "fuDefault",
                                                          "fuIntro",
                                                          "fuTitle",
                                                          "fuSubTitle",
                                                          "fuSubTitle2",
                                                          "fuWordsByAndMusicBy",
                                                          "fuKeyAndMeters",
                                                          "fuExpression",
                                                          "fuLyric",
                                                          "fuLyricPrefix",
                                                          "fuLyricVerseIndex",
                                                          "fuDrumPitch",
                                                          "fuAuxInfo",
                                                          "fuText",
                                                          "fuFangZiText",
                                                          "fuAttachText1",
                                                          "fuAttachText2",
                                                          "fuAttachText3",
                                                          "fuAttachText4",
                                                          "fuPartName",
                                                          "fuMemo1",
                                                          "fuMemo2",
                                                          "fuMemo3",
                                                          "fuMemo4"};
    return AUsage < Nuo4FontUsageCount ? Names[AUsage] : "?";
}

json StyleIndexJson(const TrecNuo4NoteStyleIndex& AIndex) {
    return {{"MainStyle", static_cast<int>(AIndex.MainStyle)},
            {"SubStyle", EnumName(AIndex.SubStyle)}};
}

json MeterJson(const TrecNuo4Meter& AMeter) {
    return {{"FenZi", AMeter.FenZi}, {"FenMu", AMeter.FenMu}};
}

json SizeJson(const TrecNuo4SizeF& ASize) {
    return {{"Width", ASize.Width}, {"Height", ASize.Height}};
}

// The element's kind and the fields meaningful for it.
json ElementJson(const TRecNuo4TextElement& E) {
    json J = {{"aType", EnumName(E.aType)}};
    switch (E.aType) {
        case stetInvalid:
            break;
        case stetWhiteSpace:
            J["WhiteSpaceCount"] = E.WhiteSpaceCount;
            break;
        case stetGap:
            J["Gap"] = E.Gap;
            break;
        case stetNormalText:
            J["NormalText"] = Utf8(E.NormalText);
            break;
        case stetMultiLineRightAlignText:
            J["MultiLineRightAlignText"] = Utf8(E.MultiLineRightAlignText);
            break;
        case stetKeyAndMeters: {
            json Meters = json::array();
            for (const auto& M : E.KeyAndMeters.Meters) Meters.push_back(MeterJson(M));
            const auto& K = E.KeyAndMeters.Key;
            J["KeyAndMeters"] = {{"Key",
                                  {{"MainKey", K.MainKey},
                                   {"Accidental", K.Accidental},
                                   {"bWithOneIs", K.bWithOneIs},
                                   {"Text", Utf8(K.ToABCString(false))}}},
                                 {"Meters", Meters}};
            break;
        }
        case stetPureNote:
            J["PureNote"] = {{"Pitch", PitchToJson(E.PureNote.Pitch)},
                             {"Duration", EnumName(E.PureNote.Duration)}};
            break;
        case stetTempo:
            J["Tempo"] = E.Tempo;
            J["TempoIsType"] = EnumName(E.TempoIsType);
            J["BPM"] = E.GetTempo_BPM();
            break;
        case stetGrace:
            J["bGraceIsRight"] = E.bGraceIsRight;
            J["bGraceIs8th"] = E.bGraceIs8th;
            J["GracePitches"] = PitchesToJson(E.GracePitches);
            break;
        case stetChord:
            J["ChordPitches"] = PitchesToJson(E.ChordPitches);
            J["ChordSubStyle"] = EnumName(E.ChordSubStyle);
            break;
        case stetBarNumber:
            J["sBarNumber"] = Utf8(E.sBarNumber);
            break;
        case stetWaveLine:
            J["WaveLine_bVert"] = E.WaveLine_bVert;
            J["WaveLine_Length"] = E.WaveLine_Length;
            break;
        case stetSolidLine:
            J["SolidLine_bVert"] = E.SolidLine_bVert;
            J["SolidLine_Length"] = E.SolidLine_Length;
            break;
        case stetGeneralLine:
            J["GeneralLine_Type"] = EnumName(E.GeneralLine_Type);
            J["GeneralLine_bVert"] = E.GeneralLine_bVert;
            J["GeneralLine_Length"] = E.GeneralLine_Length;
            break;
        case stetRectangle:
            J["Rectangle_Size"] = SizeJson(E.Rectangle_Size);
            J["Rectangle_bDashed"] = E.Rectangle_bDashed;
            J["Rectangle_bFilled"] = E.Rectangle_bFilled;
            break;
        case stetEllipse:
            J["Ellipse_Size"] = SizeJson(E.Ellipse_Size);
            J["Ellipse_bDashed"] = E.Ellipse_bDashed;
            J["Ellipse_bFilled"] = E.Ellipse_bFilled;
            break;
        case stetArc:
            J["Arc_Length"] = E.Arc_Length;
            J["Arc_Style"] = E.Arc_Style;
            break;
    }
    return J;
}

// The bar line's part without its volta, as a full header: its tokens (the style text and the
// control options group) are kept in the bar line's header.
TrecNuo4ABCParseInfo_SymbolHeader PureHeader(const TrecNuo4ABCParseInfo_Barline& ABarline) {
    TrecNuo4ABCParseInfo_SymbolHeader R;
    R.aType = ABarline.Pure.Header.aType;
    R.ABCTextRange = ABarline.Pure.Header.ABCTextRange;
    for (const auto& T : ABarline.TokenItems)
        if (T.aType == ttBarline_Pure_Barline || T.aType == ttControlOptions)
            R.TokenItems.AddItem(T);
    return R;
}

json SymbolValueJson(const TrecNuo4ABCParseInfo_VoiceSymbol& ASymbol, TText AText) {
    json J = {{"Header", HeaderToJson(ASymbol.GetFullHeader())}};
    if (const auto* B = dynamic_cast<const TrecNuo4ABCParseInfo_Barline*>(&ASymbol)) {
        const auto& V = B->Value;
        J["Pure"] = {{"Header", HeaderToJson(PureHeader(*B))},
                     {"Style", EnumName(B->Pure.Style)},
                     {"bLineBreak", B->Pure.bLineBreak}};
        J["Value"] = {
            {"NoteStyleIndex", StyleIndexJson(V.NoteStyleIndex)},
            {"Scale", V.Scale},
            {"BarlineStyle", EnumName(V.BarlineStyle)},
            {"ControlOptions", ControlOptionsToJson(V.ControlOptions)},
            {"FangZi",
             {{"bWithFangZi", V.FangZi.bWithFangZi}, {"FangZiText", Utf8(V.FangZi.FangZiText)}}}};
    } else if (const auto* M = dynamic_cast<const TrecNuo4ABCParseInfo_Meter*>(&ASymbol)) {
        const auto& V = M->Value;
        J["Value"] = {{"NoteStyleIndex", StyleIndexJson(V.NoteStyleIndex)},
                      {"Scale", V.Scale},
                      {"Meter", MeterJson(V.Meter)},
                      {"ControlOptions", ControlOptionsToJson(V.ControlOptions)}};
    } else if (const auto* A = dynamic_cast<const TrecNuo4ABCParseInfo_AccompMarker*>(&ASymbol)) {
        const auto& V = A->Value;
        J["Value"] = {{"NoteStyleIndex", StyleIndexJson(V.NoteStyleIndex)},
                      {"Scale", V.Scale},
                      {"aType", EnumName(V.aType)},
                      {"ControlOptions", ControlOptionsToJson(V.ControlOptions)}};
    } else if (const auto* R = dynamic_cast<const TrecNuo4ABCParseInfo_Return*>(&ASymbol)) {
        const auto& V = R->Value;
        const auto& O = V.PrivateOptions;
        J["Value"] = {{"NoteStyleIndex", StyleIndexJson(V.NoteStyleIndex)},
                      {"ControlOptions", ControlOptionsToJson(V.ControlOptions)},
                      {"PrivateOptions",
                       {{"bJustifyHorz", O.bJustifyHorz},
                        {"IndentValue", O.IndentValue},
                        {"ParagraphGapCoef", O.ParagraphGapCoef},
                        {"bPageBreak", O.bPageBreak},
                        {"bJustifyVert", O.bJustifyVert}}}};
    } else if (const auto* T = dynamic_cast<const TrecNuo4ABCParseInfo_Text*>(&ASymbol)) {
        const auto& V = T->Value;
        J["Value"] = {{"NoteStyleIndex", StyleIndexJson(V.NoteStyleIndex)},
                      {"Scale", V.Scale},
                      {"Text_ABC", Utf8(V.Text_ABC)},
                      {"FontUsage", FontUsageEnumName(V.FontUsage)},
                      {"ControlOptions", ControlOptionsToJson(V.ControlOptions)}};
        json Elements = json::array();
        for (const auto& Item : T->GetElementArrayWithParseInfo(AText))
            Elements.push_back(
                {{"Header", HeaderToJson(Item.Header)}, {"Element", ElementJson(Item.Element)}});
        J["ElementArrayWithParseInfo"] = Elements;
        J["CheckForKeyAndMeters"] = T->CheckForKeyAndMeters();
        J["IsNormalTextOnly"] = T->IsNormalTextOnly();
    } else if (const auto* N = dynamic_cast<const TrecNuo4ABCParseInfo_Note*>(&ASymbol)) {
        J = NoteToJson(*N, AText);
    }
    return J;
}

}  // namespace

json VoiceSymbolToJson(const TrecNuo4ABCParseInfo_VoiceSymbol& ASymbol, TText AText) {
    json J = SymbolValueJson(ASymbol, AText);
    J["text"] = Utf8(VoiceSymbolToABCText(ASymbol, false));
    return J;
}

json VoiceSectionToJson(const TrecNuo4ABCParseInfo_Section_Voice& ASection, TText AText,
                        bool bWithSymbols) {
    json Symbols = json::array();
    if (bWithSymbols)
        for (const auto& P : ASection.Buffer)
            if (P) Symbols.push_back(VoiceSymbolToJson(*P, AText));
    return {{"ABCTextRange_SectionName", RangeToJson(ASection.ABCTextRange_SectionName)},
            {"ABCTextRange_All", RangeToJson(ASection.ABCTextRange_All)},
            {"ABCTextRange_Line", RangeToJson(ASection.ABCTextRange_Line)},
            {"PrefixRange", RangeToJson(ASection.PrefixRange)},
            {"Buffer", Symbols}};
}

}  // namespace nuo4::cli
