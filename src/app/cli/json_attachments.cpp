#include "app/cli/json_dump.h"

#include "format/attach_branch_text.h"
#include "format/section_attachments.h"

namespace nuo4::cli {

namespace {

json PointJson(TNuo4PointF P) {
    return json::array({P.X, P.Y});
}

json LocationJson(const TrecNuo4HorzLocation& L) {
    json J = {{"aType", EnumName(L.aType)}};
    switch (L.aType) {
        case hltAbsLocate_Barline:
            J["AbsLocate_Barline_MeasurePos"] = L.AbsLocate_Barline_MeasurePos;
            J["AbsLocate_Barline_bLeft"] = L.AbsLocate_Barline_bLeft;
            break;
        case hltAbsLocate_MeasurePos:
            J["AbsLocate_MeasurePos_MeasurePos"] = L.AbsLocate_MeasurePos_MeasurePos;
            break;
        case hltAbsLocate_BarlineAndNote:
            J["AbsLocate_BarlineAndNote_BarlinePos"] = L.AbsLocate_BarlineAndNote_BarlinePos;
            J["AbsLocate_BarlineAndNote_NotePos"] = L.AbsLocate_BarlineAndNote_NotePos;
            break;
        case hltAbsLocate_BasicIndex:
            J["AbsLocate_BasicIndex_BasicIndex"] = L.AbsLocate_BasicIndex_BasicIndex;
            break;
        case hltRelLocate_BarlineAndNote:
            J["RelLocate_BarlineAndNote_BarlinesCount"] = L.RelLocate_BarlineAndNote_BarlinesCount;
            J["RelLocate_BarlineAndNote_NotesCount"] = L.RelLocate_BarlineAndNote_NotesCount;
            break;
        default:
            break;
    }
    return J;
}

json TransformJson(const TrecNuo4SymbolTransform2& T) {
    return {{"Sx", T.Sx},
            {"Sy", T.Sy},
            {"bMirror", T.bMirror},
            {"bItalic", T.bItalic},
            {"Rotate", {{"aType", EnumName(T.Rotate.aType)}, {"Angle", T.Rotate.ToAngle()}}}};
}

std::string OcupyJson(TNuo4AttachmentsOcupyTypes O) {
    return Utf8(ABC_OcupyToText(O));
}

json ValueJson(const TrecNuo4SectionItem_Attachments& I) {
    if (const auto* T = I.IsText())
        return {{"FontUsage", Utf8(ABC_FontUsageName(T->FontUsage))},
                {"Text_ABC", Utf8(T->Text_ABC)},
                {"Transform", TransformJson(T->Transform)},
                {"Ocupy", OcupyJson(T->Ocupy)},
                {"Color", Utf8(ABC_ColorToText(T->Color))}};
    if (const auto* F = I.IsFangZi())
        return {{"FangZiType", EnumName(F->FangZiType)},
                {"ContinueStyle", Utf8(ABC_LineSymbolContinueStyleName(F->ContinueStyle))},
                {"Length", F->Length},
                {"Text_ABC", Utf8(F->Text_ABC)},
                {"bOcupy", F->bOcupy},
                {"bAutoAlign", F->bAutoAlign}};
    if (const auto* A = I.IsArc())
        return {{"ContinueStyle", Utf8(ABC_LineSymbolContinueStyleName(A->ContinueStyle))},
                {"Length_Full", A->Length_Full},
                {"Length_LeftOrRight", A->Length_LeftOrRight},
                {"Shape", EnumName(A->Shape)},
                {"TupletNumber", A->TupletNumber},
                {"bAutoAlign", A->bAutoAlign},
                {"bOcupy", A->bOcupy},
                {"ArrowStyle", EnumName(A->ArrowStyle)}};
    if (const auto* D = I.IsAttachDynamic())
        return {{"Length", D->Length},
                {"bJianRuo", D->bJianRuo},
                {"bPartial", D->bPartial},
                {"bOcupy", D->bOcupy}};
    if (const auto* O = I.IsOften())
        return {{"ItemType", EnumName(O->ItemType)},
                {"Name", Utf8(AttachOftenName(O->ItemType))},
                {"Transform", TransformJson(O->Transform)},
                {"Ocupy", OcupyJson(O->Ocupy)}};
    if (const auto* E = I.IsExtend()) {
        json Items = json::array();
        TrecNuo4AttachExtendData Data;
        if (E->GetData(Data))
            for (const auto& It : Data.Items)
                Items.push_back({{"Text_ABC", Utf8(It.Text_ABC)},
                                 {"Pos", PointJson(It.Pos)},
                                 {"Transform", TransformJson(It.Transform)}});
        return {{"Text_ABC", Utf8(E->Text_ABC)},
                {"Items", Items},
                {"Transform", TransformJson(E->Transform)},
                {"Ocupy", OcupyJson(E->Ocupy)}};
    }
    if (const auto* B = I.IsBranch())
        return {{"ABCText_Voice", Utf8(B->GetABCText_Voice())},
                {"InitMeter", Utf8(B->InitMeter.ToABCString(false))},
                {"InitBeatPos_8thCount", B->InitBeatPos_8thCount},
                {"ABCText_Lyrics", Utf8(B->ABCText_Lyrics)},
                {"Transform", TransformJson(B->Transform)},
                {"Ocupy", OcupyJson(B->Ocupy)},
                {"bForceUseSubStyle", B->bForceUseSubStyle},
                {"SubStyleToForceUse", EnumName(B->SubStyleToForceUse)},
                {"FontUsageForLyric", Utf8(ABC_FontUsageName(B->FontUsageForLyric))},
                {"bAutoAlign", B->bAutoAlign},
                // What the two texts yield: voice symbols (a return ends them) and verses.
                {"VoiceSymbolCount", Branch_ReadVoiceSymbols(B->GetABCText_Voice()).size()},
                {"LyricsVerseCount", Branch_ReadLyricsVerses(B->ABCText_Lyrics).size()}};
    const auto& R = I.Brace;
    return {{"Style", EnumName(R.Style)},
            {"Direction", EnumName(R.Direction)},
            {"Length", R.Length},
            {"Ocupy", OcupyJson(R.Ocupy)},
            {"Length_ExtraLine", R.Length_ExtraLine}};
}

}  // namespace

json AttachmentsSectionToJson(const TrecNuo4ABCParseInfo_Section_Attachments& ASection,
                              TText AText) {
    json Items = json::array();
    for (const auto& It : ASection.Buffer) {
        const auto& H = It.Value.Header;
        Items.push_back({{"Header", HeaderToJson(It.Header)},
                         {"aType", EnumName(H.aType)},
                         {"HorzLocation", LocationJson(H.HorzLocation)},
                         {"OffsetCoef", PointJson(H.OffsetCoef)},
                         {"Value", ValueJson(It.Value)},
                         {"source", Utf8(ABC_GetRangeText(AText, It.Header.ABCTextRange))},
                         {"text", Utf8(It.Value.ToABCText())}});
    }
    return {{"ABCTextRange_SectionName", RangeToJson(ASection.ABCTextRange_SectionName)},
            {"ABCTextRange_All", RangeToJson(ASection.ABCTextRange_All)},
            {"ABCTextRange_Line", RangeToJson(ASection.ABCTextRange_Line)},
            {"Items", Items}};
}

}  // namespace nuo4::cli
