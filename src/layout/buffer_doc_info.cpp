// Document statistics and the melody information written in the title section.

#include "layout/simple_buffer.h"

namespace nuo4 {

TNuo4DocInfo TNuo4SimpleBuffer::GetDocInfo() const {
    TNuo4DocInfo R;
    R.PageCount = int32_t(PageInfoArray.size());
    R.LineCount = int32_t(LineInfoArray.size());
    R.MeasureCount = GetMeasureCount();
    R.BasicSymbolCount = Basic_GetCount();
    for (int32_t I = 0; I < Basic_GetCount(); ++I) switch (Basic_GetSymbolType(I)) {
            case sbstNote:
                ++R.NoteCount;
                break;
            case sbstBarline:
                ++R.BarlineCount;
                break;
            case sbstText:
                ++R.TextCount;
                break;
            case sbstMeter:
                ++R.MeterCount;
                break;
            case sbstAccompMarker:
                ++R.AccompMarkerCount;
                break;
            case sbstReturn:
                ++R.ReturnCount;
                break;
            default:
                break;
        }
    R.AttachSymbolCount = Attach_GetCount();
    for (int32_t I = 0; I < Attach_GetCount(); ++I) {
        const TNuo4SymbolType T = Attach_GetSymbolType(I);
        if (IsAttachments(T)) ++R.AttachmentsCount;
        switch (T) {
            case sbstLyric:
                ++R.LyricCount;
                break;
            case sbstArc:
                ++R.ArcCount;
                break;
            case sbstArticulation:
                ++R.ArticulationCount;
                break;
            case sbstFangZi:
                ++R.FangZiCount;
                break;
            case sbstAttachArc:
                ++R.Attachments_ArcCount;
                break;
            case sbstAttachFangZi:
                ++R.Attachments_FangZiCount;
                break;
            case sbstAttachText:
                ++R.Attachments_TextCount;
                break;
            case sbstAttachDynamic:
                ++R.Attachments_DynamicCount;
                break;
            case sbstAttachOften:
                ++R.Attachments_OftenCount;
                break;
            case sbstAttachLyric:
                ++R.Attachments_LyricCount;
                break;
            case sbstAttachBranch:
                ++R.Attachments_BranchCount;
                break;
            case sbstAttachBrace:
                ++R.Attachments_BraceCount;
                break;
            default:
                break;
        }
    }
    R.PageSymbolCount = PageBuffer_GetCount();
    for (int32_t I = 0; I < PageBuffer_GetCount(); ++I) {
        if (PageBuffer_IsMemo(I)) ++R.MemoCount;
        if (PageBuffer_IsTitleBlock(I)) ++R.TitleBlockCount;
    }
    return R;
}

TrecNuo4Meter TNuo4SimpleBuffer::GetInitMeter() const {
    return FABCBuffer ? FABCBuffer->Section_Title.GetFirstMeter() : TrecNuo4Meter();
}

int32_t TNuo4SimpleBuffer::GetInitKey() const {
    return FABCBuffer ? FABCBuffer->Section_Title.Buffer.GetInitKey() : 0;
}

double TNuo4SimpleBuffer::GetInitTempo() const {
    return FABCBuffer ? FABCBuffer->Section_Title.Buffer.GetInitTempo() : 120;
}

void TNuo4SimpleBuffer::GetMelodyInfo_FromTitleBlock(TrecNuo4Meter& AInitMeter, int32_t& AInitKey,
                                                     double& AInitTempo) const {
    AInitMeter = GetInitMeter();
    AInitKey = GetInitKey();
    AInitTempo = GetInitTempo();
}

}  // namespace nuo4
