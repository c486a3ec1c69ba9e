// The temporary voice symbol: its laid-out voice under the record's transform.

#include "render/attach_branch_data.h"
#include "render/symbol_attach.h"

namespace nuo4 {

TNuo4AttachBranchDataBuilder& Nuo4AttachBranchDataBuilder() {
    static TNuo4AttachBranchDataBuilder Builder;
    return Builder;
}

TNuo4AttachBranchDataBase* TNuo4SymbolAttachBranch::GetDataPtr(bool bForceUpdateData) {
    if (bForceUpdateData) FreeDataPtr();
    if (!FDataPtr && !FRec.GetABCText_Voice().empty() && Nuo4AttachBranchDataBuilder())
        FDataPtr = Nuo4AttachBranchDataBuilder()(FRec);
    return FDataPtr.get();
}

void TNuo4SymbolAttachBranch::UpdateAutoAlignInfo(const TrecNuo4AttachBranchAutoAlignInfo& AInfo) {
    FRec.AutoAlignInfo = AInfo;
    FRec.AutoAlignInfo.SetSymbolCount(AInfo.SymbolCount);
    GetDataPtr(true);
    SetNeedUpdate();
}

int32_t TNuo4SymbolAttachBranch::GetBasicSymbolCount_WithRightline() {
    TNuo4AttachBranchDataBase* D = GetDataPtr();
    return D ? D->GetBasicSymbolCount_WithRightline() : 0;
}

double TNuo4SymbolAttachBranch::GetBasicSymbolBoundsRight_FromSymbolIndexWithRightline(
    int32_t AIndex) {
    TNuo4AttachBranchDataBase* D = GetDataPtr();
    if (!D || AIndex < 0 || AIndex >= D->GetBasicSymbolCount_WithRightline()) return 0;
    const double X = D->GetBasicSymbolBoundsRight_FromSymbolIndexWithRightline(AIndex);
    return GetTransformMatrix().map(QPointF(X, 0)).x();
}

QTransform TNuo4SymbolAttachBranch::GetTransformMatrix() const {
    return SymbolTransformFromTransform2(FRec.Transform).GetMatrix();
}

void TNuo4SymbolAttachBranch::CalcBounds(TGPRectF& ARect) {
    ARect = TGPRectF();
    TNuo4AttachBranchDataBase* D = GetDataPtr();
    if (!D) return;
    TGPRectF B;
    D->GetPathes(B, true);
    if (!RectIsEmpty(B)) ARect = GetTransformMatrix().mapRect(B);
}

void TNuo4SymbolAttachBranch::CreateElements() {
    TNuo4AttachBranchDataBase* D = GetDataPtr();
    if (!D) return;
    TGPRectF B;
    TNuo4SymbolPathes Items = D->GetPathes(B, false);
    SymbolPathes_Transform(Items, GetTransformMatrix());
    AddElementsFromSymbolPathes(Items);
}

}  // namespace nuo4
