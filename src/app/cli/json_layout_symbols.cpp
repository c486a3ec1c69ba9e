// JSON of the attach and page symbols of a laid-out document and of its arc and volta
// information, for nuo4-cli layout.

#include "app/cli/json_dump.h"
#include "layout/branch_data.h"
#include "layout/simple_buffer.h"
#include "render/symbol_attach.h"

namespace nuo4::cli {

namespace {

json Rect(const TGPRectF& R) {
    return {R.x(), R.y(), R.width(), R.height()};
}
json Point(TGPPointF P) {
    return {P.x(), P.y()};
}
// Own boxes at the symbol's position on its page.
json BoxesAtPos(TNuo4Symbol& S) {
    return {{"Black", Rect(S.BlackBoxWithPos())}, {"Layout", Rect(S.BoundsWithPos())}};
}

// A temporary voice's own symbols, in its own coordinates (before the symbol's transform).
json BranchSymbolsToJson(TNuo4Symbol& S) {
    json R = json::array();
    auto* D = dynamic_cast<TrecNuo4AttachBranchData*>(
        static_cast<TNuo4SymbolAttachBranch&>(S).GetDataPtr());
    if (!D) return R;
    for (int32_t I = 0; I < D->Basic_GetCount(); ++I) {
        TNuo4Symbol* P = D->Basic_GetSymbol(I);
        R.push_back({{"Kind", EnumName(P->GetSymbolType())},
                     {"Pos", Point(P->Pos())},
                     {"Bounds", BoxesAtPos(*P)},
                     {"DV", P->GetDV()},
                     {"BeatPos", D->GetBeatPos_Before(I)}});
    }
    return R;
}

}  // namespace

json AttachSymbolsToJson(TNuo4SimpleBuffer& B) {
    json R = json::array();
    for (int32_t A = 0; A < B.Attach_GetCount(); ++A) {
        TNuo4Symbol* S = B.Attach_GetSymbol(A);
        const TrecNuo4CalcInfo_WhenAsAttachSymbol& I = S->AttachInfo();
        R.push_back({{"Index", A},
                     {"Kind", EnumName(S->GetSymbolType())},
                     {"SourceIndex", I.SourceIndex},
                     {"SourceIndex2", I.SourceIndex2},
                     {"AttachPos", Point(I.AttachPos)},
                     {"Page", B.Attach_GetPageIndex(A)},
                     {"Pos", Point(S->Pos())},
                     {"Bounds", BoxesAtPos(*S)}});
        if (S->GetSymbolType() == sbstAttachBranch)
            R.back()["BranchSymbols"] = BranchSymbolsToJson(*S);
    }
    return R;
}

json PageSymbolsToJson(TNuo4SimpleBuffer& B) {
    json R = json::array();
    for (int32_t P = 0; P < B.PageBuffer_GetCount(); ++P) {
        TNuo4Symbol* S = B.PageBuffer_GetSymbol(P);
        const int32_t Page = B.PageBuffer_GetPageIndex(P);
        R.push_back({{"Index", P},
                     {"Kind", EnumName(S->GetSymbolType())},
                     {"Page", Page},
                     {"Pos", Point(S->Pos())},
                     {"Bounds", BoxesAtPos(*S)}});
    }
    return R;
}

json ArcInfoArrayToJson(const std::vector<TrecNuo4ArcInfoItem>& AArcs) {
    json R = json::array();
    for (const TrecNuo4ArcInfoItem& A : AArcs)
        R.push_back({{"BasicIndexRange", RangeToJson(A.BasicIndexRange)},
                     {"Depth_Start", A.Depth_Start},
                     {"Depth_End", A.Depth_End},
                     {"ABCInfo",
                      {{"TupletNumber", A.ABCInfo.TupletNumber},
                       {"Duration", A.ABCInfo.Duration},
                       {"VertOffsetCoef", A.ABCInfo.VertOffsetCoef},
                       {"ArrowStyle", EnumName(A.ABCInfo.ArrowStyle)}}},
                     {"bTie", A.bTie},
                     {"bWrap", A.bWrap},
                     {"LineIndex_Start", A.LineIndex_Start},
                     {"LineIndex_End", A.LineIndex_End},
                     {"AttachIndex_Full", A.AttachIndex_Full},
                     {"AttachIndex_Left", A.AttachIndex_Left},
                     {"AttachIndex_Right", A.AttachIndex_Right}});
    return R;
}

json FangZiInfoArrayToJson(const std::vector<TrecNuo4FangZiInfoItem>& AVoltas) {
    json R = json::array();
    for (const TrecNuo4FangZiInfoItem& F : AVoltas)
        R.push_back({{"MeasureIndexRange", RangeToJson(F.MeasureIndexRange)},
                     {"Text_ABC", Utf8(F.Text_ABC)},
                     {"bWrap", F.bWrap},
                     {"BasicIndexRange_Full", RangeToJson(F.BasicIndexRange_Full)},
                     {"BasicIndexRange_Left", RangeToJson(F.BasicIndexRange_Left)},
                     {"BasicIndexRange_Right", RangeToJson(F.BasicIndexRange_Right)},
                     {"bFangZiStartIsAtLineStart", F.bFangZiStartIsAtLineStart},
                     {"bFangZiEndIsAtLineEnd", F.bFangZiEndIsAtLineEnd},
                     {"bFangZiStartWithOtherFangZiEndAtThisLine",
                      F.bFangZiStartWithOtherFangZiEndAtThisLine},
                     {"bFangZiEndWithOtherFangZiStartAtThisLine",
                      F.bFangZiEndWithOtherFangZiStartAtThisLine},
                     {"ArcsTopAtLine_Full", F.ArcsTopAtLine_Full},
                     {"ArcsTopAtLine_Left", F.ArcsTopAtLine_Left},
                     {"ArcsTopAtLine_Right", F.ArcsTopAtLine_Right},
                     {"AttachIndex_Full", F.AttachIndex_Full},
                     {"AttachIndex_Left", F.AttachIndex_Left},
                     {"AttachIndex_Right", F.AttachIndex_Right}});
    return R;
}

}  // namespace nuo4::cli
