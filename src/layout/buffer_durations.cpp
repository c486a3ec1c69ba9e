// Durations with tuplets, measures and full beats.

#include "format/symbol_meter.h"
#include "layout/layout_rules.h"
#include "layout/simple_buffer.h"
#include "render/symbol_basic.h"

namespace nuo4 {

void TNuo4SimpleBuffer::Basic_GetDV() {
    std::vector<TrecNuo4DVSymbol> Symbols(Basic_GetCount());
    for (int32_t I = 0; I < Basic_GetCount(); ++I) {
        Basic_PrefetchAhead(I);
        const TNuo4Symbol* S = Basic_GetSymbol(I);
        Symbols[I].bNote = Basic_IsNote(I);
        Symbols[I].Duration = S->GetDuration();
    }
    const std::vector<float> DV = IsAttachBranch() ? Nuo4CalcDV_AttachBranch(Symbols, ArcInfoArray)
                                                   : Nuo4CalcDV(Symbols, ArcInfoArray);
    for (int32_t I = 0; I < Basic_GetCount(); ++I) {
        Basic_PrefetchAhead(I);
        Basic_GetSymbol(I)->MutBasicInfo().DV.DV = DV[I];
    }
}

void TNuo4SimpleBuffer::GetMeasureInfoArray() {
    std::vector<TrecNuo4MeasureSymbol> Symbols(Basic_GetCount());
    for (int32_t I = 0; I < Basic_GetCount(); ++I) {
        Basic_PrefetchAhead(I);
        const TNuo4Symbol* S = Basic_GetSymbol(I);
        Symbols[I].Type = Basic_GetSymbolType(I);
        Symbols[I].DV = S->BasicInfo().DV.DV;
        if (Symbols[I].Type == sbstMeter)
            Symbols[I].Meter = static_cast<const TNuo4SymbolMeter*>(S)->Rec().Meter;
    }
    std::vector<TrecNuo4CalcInfo_DV> DV;
    if (FBranch)  // eighths to quarter-note beats
        MeasureInfoArray =
            Nuo4CalcMeasures(Symbols, FBranch->InitMeter, DV, FBranch->InitBeatPos_8thCount * 0.5);
    else
        MeasureInfoArray = Nuo4CalcMeasures(Symbols, GetInitMeter(), DV);
    for (int32_t I = 0; I < Basic_GetCount(); ++I) {
        Basic_PrefetchAhead(I);
        Basic_GetSymbol(I)->MutBasicInfo().DV = DV[I];
    }
}

}  // namespace nuo4
