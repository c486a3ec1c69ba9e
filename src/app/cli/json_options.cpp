// JSON form of an option item: its parse ranges, the values of its group by field name and the
// line it writes.

#include "app/cli/json_dump.h"
#include "format/doc_options.h"

namespace nuo4::cli {

namespace {

json PointToJson(const TNuo4PointF& P) {
    return {{"X", P.X}, {"Y", P.Y}};
}

json GroupValuesToJson(const TrecNuo4ABCParseInfo_OptionItem& I) {
    switch (I.ItemType) {
        case soitDigit:
            return {{"Face", EnumName(I.Param_Digit.Face)},
                    {"Height", I.Param_Digit.Height},
                    {"WHRatio", I.Param_Digit.WHRatio}};
        case soitPaper: {
            const auto& P = I.Param_Paper;
            return {{"Width", P.Width},           {"Height", P.Height},
                    {"MarginLeft", P.MarginLeft}, {"MarginRight", P.MarginRight},
                    {"MarginTop", P.MarginTop},   {"MarginBottom", P.MarginBottom}};
        }
        case soitHorzSpacing_AW: {
            const auto& P = I.Param_HorzSpacing_AW;
            json Table = json::array();
            for (float V : P.AWCoefTable) Table.push_back(V);
            return {{"bUseAWCoefTable", P.bUseAWCoefTable},
                    {"RefDuration", EnumName(P.RefDuration)},
                    {"RefAWCoef", P.RefAWCoef},
                    {"PowerFactor", P.PowerFactor},
                    {"AWCoefTable", Table}};
        }
        case soitHorzSpacing_Gap: {
            const auto& P = I.Param_HorzSpacing_Gap;
            return {{"Note_Note", P.Note_Note},
                    {"Note_Note_FullBeat", P.Note_Note_FullBeat},
                    {"Note_Note_NonFullBeat_To4th", P.Note_Note_NonFullBeat_To4th},
                    {"Note_Barline", P.Note_Barline},
                    {"Note_Other", P.Note_Other},
                    {"bNoteBarlineGapIsFixed", P.bNoteBarlineGapIsFixed}};
        }
        case soitVertSpacing: {
            const auto& P = I.Param_VertSpacing;
            return {{"GapCoef_TitleBlock_Score", P.GapCoef_TitleBlock_Score},
                    {"GapCoef_Score_Lyric", P.GapCoef_Score_Lyric},
                    {"GapCoef_Lyric_Lyric", P.GapCoef_Lyric_Lyric},
                    {"GapCoef_Lyric_Score", P.GapCoef_Lyric_Score}};
        }
        case soitFitFactor: {
            const auto& P = I.Param_FitFactor;
            return {{"MaxFactorForFitWidth", P.MaxFactorForFitWidth},
                    {"bFitWidthForLastLine", P.bFitWidthForLastLine},
                    {"MaxFactorForFitHeight", P.MaxFactorForFitHeight},
                    {"bFitHeightForLastPage", P.bFitHeightForLastPage}};
        }
        case soitArc: {
            const auto& P = I.Param_Arc;
            return {{"DefaultShape", EnumName(P.DefaultShape)},
                    {"CaseForConvertToFlat", EnumName(P.CaseForConvertToFlat)},
                    {"MaxLengthForConvertToFlat", P.MaxLengthForConvertToFlat},
                    {"GapCoefY_Arc_Underlay", P.GapCoefY_Arc_Underlay},
                    {"GapCoefY_Arcs", P.GapCoefY_Arcs}};
        }
        case soitAccomp:
            return {{"NoteSubStyle", EnumName(I.Param_Accomp.NoteSubStyle)},
                    {"bAccompMarkerBreakUnderline", I.Param_Accomp.bAccompMarkerBreakUnderline}};
        case soitChord: {
            const auto& P = I.Param_Chord;
            return {{"NoteSubStyle", EnumName(P.NoteSubStyle)},
                    {"bUseCommonRightDuration", P.bUseCommonRightDuration},
                    {"CommonRightDurationPosYCoef", P.CommonRightDurationPosYCoef},
                    {"NoteSpacing",
                     {{"bGapMode", P.NoteSpacing.bGapMode},
                      {"SpacingCoef_GapMode", P.NoteSpacing.SpacingCoef_GapMode},
                      {"SpacingCoef_NonGapMode", P.NoteSpacing.SpacingCoef_NonGapMode}}}};
        }
        case soitDrumPitchChar: {
            const auto& P = I.Param_DrumPitchChar;
            return {{"ExternalFont_OffsetCoef", PointToJson(P.ExternalFont_OffsetCoef)},
                    {"CoreFont_OffsetCoef", PointToJson(P.CoreFont_OffsetCoef)},
                    {"CoreFont_Scale", P.CoreFont_Scale}};
        }
        case soitLyric: {
            const auto& P = I.Param_Lyric;
            return {{"bCompressBiaoDian", P.bCompressBiaoDian},
                    {"GapBetweenLyrics", P.GapBetweenLyrics},
                    {"GapBetweenEnglishLyrics", P.GapBetweenEnglishLyrics}};
        }
    }
    return json::object();
}

}  // namespace

json OptionItemToJson(const TrecNuo4ABCParseInfo_OptionItem& AItem) {
    json J;
    J["ItemType"] = EnumName(AItem.ItemType);
    J["Header"] = HeaderToJson(AItem.Header);
    J["NameRange"] = RangeToJson(AItem.NameRange);
    J["ValueRanges"] = RangesToJson(AItem.ValueRanges);
    J["bAllValuesAccepted"] = AItem.bAllValuesAccepted;
    J["Values"] = GroupValuesToJson(AItem);
    J["text"] = Utf8(AItem.ToABCText());
    return J;
}

}  // namespace nuo4::cli
