#pragma once
// Counts of what a laid-out document holds, for the document information dialog.

#include <cstdint>

namespace nuo4 {

struct TNuo4DocInfo {
    int32_t PageCount = 0;
    int32_t LineCount = 0;
    int32_t MeasureCount = 0;

    int32_t BasicSymbolCount = 0;
    int32_t NoteCount = 0;
    int32_t BarlineCount = 0;
    int32_t TextCount = 0;
    int32_t MeterCount = 0;
    int32_t AccompMarkerCount = 0;
    int32_t ReturnCount = 0;

    int32_t AttachSymbolCount = 0;
    int32_t LyricCount = 0;
    int32_t ArcCount = 0;
    int32_t ArticulationCount = 0;
    int32_t FangZiCount = 0;
    int32_t AttachmentsCount = 0;  // every item of the attachments section
    int32_t Attachments_ArcCount = 0;
    int32_t Attachments_FangZiCount = 0;
    int32_t Attachments_TextCount = 0;
    int32_t Attachments_DynamicCount = 0;
    int32_t Attachments_OftenCount = 0;  // special marks
    int32_t Attachments_LyricCount = 0;
    int32_t Attachments_BranchCount = 0;
    int32_t Attachments_BraceCount = 0;

    int32_t PageSymbolCount = 0;
    int32_t MemoCount = 0;
    int32_t TitleBlockCount = 0;
};

}  // namespace nuo4
