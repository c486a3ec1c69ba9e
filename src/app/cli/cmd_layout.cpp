// nuo4-cli layout FILE: the laid-out document as JSON: pages, lines, measures, paragraphs,
// system lines, every basic, attach and page symbol, the arcs and voltas and the rules-check
// results. Lengths are millimetres on the
// page; ranges are [StartIndex, Length].

#include <ostream>

#include "app/cli/cli_files.h"
#include "app/cli/commands.h"
#include "app/cli/json_dump.h"
#include "app/cli/layout_document.h"
#include "layout/layout_system.h"
#include "render/note_symbol.h"

namespace nuo4::cli {

namespace {

json RectJson(const TGPRectF& R) {
    return {R.x(), R.y(), R.width(), R.height()};
}
json BoundsJson(const TrecNuo4CalcInfo_BoundsInfo& B) {
    return {{"Black", RectJson(B.Black)}, {"Layout", RectJson(B.Layout)}};
}
json MeterJson(const TrecNuo4Meter& M) {
    if (!M.IsValid()) return nullptr;
    return std::to_string(M.FenZi) + "/" + std::to_string(M.FenMu);
}
std::string Utf8(const std::u16string& S) {
    return QString::fromUtf16(S.data(), qsizetype(S.size())).toStdString();
}

json SymbolJson(TNuo4SimpleBuffer& B, int32_t I) {
    TNuo4Symbol* S = B.Basic_GetSymbol(I);
    const auto& C = S->BasicInfo();
    json Midi = json::array();
    for (uint8_t N : C.MidiNotes) Midi.push_back(N);
    TrecNuo4CalcInfo_BoundsInfo Self{S->BlackBoxWithPos(), S->BoundsWithPos()};
    TrecNuo4CalcInfo_BoundsInfo Total = C.Bounds_Total;
    Total.MyOffset(S->Pos());
    return {{"Index", I},
            {"Kind", EnumName(S->GetSymbolType())},
            {"Pos", {S->Pos().x(), S->Pos().y()}},
            {"AWCoef", S->AWCoef()},
            {"AW", S->AW()},
            {"bAWCoefLocked", S->AWCoefIsLocked()},
            {"Bounds", BoundsJson(Self)},
            {"Bounds_Total", BoundsJson(Total)},
            {"DV", C.DV.DV},
            {"DVSumWithinMeasure_Before", C.DV.DVSumWithinMeasure_Before},
            {"DVSumWithinMeasure_After", C.DV.DVSumWithinMeasure_After},
            {"bAtFullBeat_Before", C.DV.bAtFullBeat_Before},
            {"bAtFullBeat_After", C.DV.bAtFullBeat_After},
            {"MidiNotes", Midi},
            {"Key", C.Key}};
}

}  // namespace

json LayoutToJson(TNuo4SimpleBuffer& B) {
    json Pages = json::array(), Lines = json::array(), Measures = json::array(),
         Paras = json::array(), Systems = json::array(), Symbols = json::array(),
         Attach = json::array();
    for (const auto& P : B.PageInfoArray)
        Pages.push_back({{"LineIndexRange", RangeToJson(P.LineIndexRange)},
                         {"MeasureIndexRange", RangeToJson(P.MeasureIndexRange)},
                         {"BasicIndexRange", RangeToJson(P.BasicIndexRange)},
                         {"Bounds", BoundsJson(P.Bounds)}});
    for (const auto& L : B.LineInfoArray)
        Lines.push_back({{"BasicIndexRange", RangeToJson(L.BasicIndexRange)},
                         {"MeasureIndexRange", RangeToJson(L.MeasureIndexRange)},
                         {"bWithReturn", L.bWithReturn},
                         {"BaselineY", L.BaselineY},
                         {"VertOffset_BasicSymbol_Top", L.VertOffset_BasicSymbol_Top},
                         {"VertOffset_BasicSymbol_Bottom", L.VertOffset_BasicSymbol_Bottom},
                         {"VertOffset_FirstLyricLine", L.VertOffset_FirstLyricLine},
                         {"bDurationError", LineHasDurationError(L, B.MeasureInfoArray)},
                         {"Bounds", BoundsJson(L.Bounds)}});
    for (int32_t M = 0; M < B.GetMeasureCount(); ++M) {
        const auto& Mi = B.MeasureInfoArray[M];
        Measures.push_back({{"BasicIndexRange", RangeToJson(Mi.BasicIndexRange)},
                            {"Meter", MeterJson(Mi.Meter)},
                            {"Meter_System", MeterJson(Mi.Meter_System)},
                            {"DVSum", Mi.DVSum},
                            {"bDurationError", MeasureHasDurationError(Mi)},
                            {"BarNumber", Utf8(GetBarNumberOfMeasure(B.SystemLineInfoArray,
                                                                     B.LineInfoArray, M))}});
    }
    for (const auto& P : B.ParagraphInfoArray)
        Paras.push_back({{"BasicIndexRange", RangeToJson(P.BasicIndexRange)},
                         {"MeasureIndexRange", RangeToJson(P.MeasureIndexRange)},
                         {"LineIndexRange", RangeToJson(P.LineIndexRange)},
                         {"Options",
                          {{"bJustifyHorz", P.Options.bJustifyHorz},
                           {"IndentValue", P.Options.IndentValue},
                           {"ParagraphGapCoef", P.Options.ParagraphGapCoef},
                           {"bPageBreak", P.Options.bPageBreak},
                           {"bJustifyVert", P.Options.bJustifyVert}}}});
    for (const auto& S : B.SystemLineInfoArray) {
        json Meters = json::array();
        for (const auto& M : S.MeasureMeterArray) Meters.push_back(MeterJson(M));
        Systems.push_back({{"AttachIndex_Brace", S.AttachIndex_Brace},
                           {"LineIndexRange", RangeToJson(S.LineIndexRange)},
                           {"MaxMeasureCount_Line", S.MaxMeasureCount_Line},
                           {"MinMeasureCount_Line", S.MinMeasureCount_Line},
                           {"MeasureIndexRange_Normal", RangeToJson(S.MeasureIndexRange_Normal)},
                           {"MeasureIndexRange_System", RangeToJson(S.MeasureIndexRange_System)},
                           {"NonEmptyLineArray", S.NonEmptyLineArray},
                           {"MeasureMeterArray", Meters}});
    }
    for (int32_t I = 0; I < B.Basic_GetCount(); ++I) Symbols.push_back(SymbolJson(B, I));
    Attach = AttachSymbolsToJson(B);
    return {{"FirstLineTop_Min", B.FirstLineTop_Min},
            {"bWithTitleBlock", B.bWithTitleBlock},
            {"TitleBlockBounds", RectJson(B.TitleBlockBounds)},
            {"Pages", Pages},
            {"Lines", Lines},
            {"Measures", Measures},
            {"Paragraphs", Paras},
            {"SystemLines", Systems},
            {"BasicSymbols", Symbols},
            {"AttachSymbols", Attach},
            {"PageSymbols", PageSymbolsToJson(B)},
            {"ArcInfoArray", ArcInfoArrayToJson(B.ArcInfoArray)},
            {"FangZiInfoArray", FangZiInfoArrayToJson(B.FangZiInfoArray)},
            {"RulesCheck",
             {{"Error_TitleBlock_KeyAndMeters", B.RulesCheckResult_Error_TitleBlock_KeyAndMeters},
              {"ErrorArray_Lyric", B.RulesCheckResult_ErrorArray_Lyric},
              {"ErrorArray_AttachBrace", B.RulesCheckResult_ErrorArray_AttachBrace},
              {"ErrorArray_Barline", B.RulesCheckResult_ErrorArray_Barline},
              {"ErrorArray_OutOfPage", B.RulesCheckResult_ErrorArray_OutOfPage},
              {"ErrorArray_Arc", B.RulesCheckResult_ErrorArray_Arc}}}};
}

int RunLayout(const TArgs& AArgs, std::ostream& AOut, std::ostream& AErr) {
    if (AArgs.size() != 1) {
        AErr << "nuo4-cli layout: expected one score file (usage: nuo4-cli layout FILE)\n";
        return 2;
    }
    TLayoutDocument Doc;
    std::string Error;
    if (!LoadLayoutDocument(AArgs[0], Doc, Error)) {
        AErr << "nuo4-cli layout: " << Error << "\n";
        return 2;
    }
    if (const std::string Note = ScoreEncodingNote(AArgs[0], Doc.Encoding); !Note.empty())
        AErr << "nuo4-cli layout: " << Note << "\n";
    AOut << LayoutToJson(*Doc.Buffer).dump(2) << "\n";
    return 0;
}

}  // namespace nuo4::cli
