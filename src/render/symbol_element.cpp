#include "render/symbol_element.h"

#include <cmath>
#include <memory>
#include <new>

namespace nuo4 {

const char* EnumName(TNuo4SymbolPathItemType AValue) {
    switch (AValue) {
        case spitFill:
            return "spitFill";
        case spitStroke:
            return "spitStroke";
    }
    return "";
}

void TrecNuo4SymbolPathItem::InitializeToFill(const QPainterPath& APathSrc) {
    *this = TrecNuo4SymbolPathItem();
    AType = spitFill;
    APath = APathSrc;
}

void TrecNuo4SymbolPathItem::InitializeToStroke_Solid(const QPainterPath& APathSrc,
                                                      double APenWidth) {
    InitializeToStroke_Dashed(APathSrc, APenWidth, 0, 0);
    bDashed = false;
}

void TrecNuo4SymbolPathItem::InitializeToStroke_Dashed(const QPainterPath& APathSrc,
                                                       double APenWidth, double ASolid,
                                                       double AGap) {
    AType = spitStroke;
    APath = APathSrc;
    PenWidth = APenWidth;
    bDashed = true;
    DashPatternLength_Solid = ASolid;
    DashPatternLength_Gap = AGap;
}

TNuo4SymbolPathes SymbolPathes_Fill(const QPainterPath& APath) {
    TNuo4SymbolPathes R(1);
    R[0].InitializeToFill(APath);
    return R;
}

TNuo4SymbolPathes SymbolPathes_Stroke(const QPainterPath& APath, double APenWidth) {
    TNuo4SymbolPathes R(1);
    R[0].InitializeToStroke_Solid(APath, APenWidth);
    return R;
}

TNuo4SymbolPathes SymbolPathes_Dashed(const QPainterPath& APath, double APenWidth) {
    TNuo4SymbolPathes R(1);
    R[0].InitializeToStroke_Dashed(APath, APenWidth, Nuo4DashedSolidLength, Nuo4DashedGapLength);
    return R;
}

void SymbolPathes_AddFill(TNuo4SymbolPathes& AItems, const QPainterPath& APath) {
    if (TKoGDIPlusPath::PathIsEmpty(APath)) return;
    AItems.emplace_back().InitializeToFill(APath);
}

void SymbolPathes_AddStroke(TNuo4SymbolPathes& AItems, const QPainterPath& APath,
                            double APenWidth) {
    if (TKoGDIPlusPath::PathIsEmpty(APath)) return;
    AItems.emplace_back().InitializeToStroke_Solid(APath, APenWidth);
}

void SymbolPathes_Transform(TNuo4SymbolPathes& AItems, const QTransform& AMatrix) {
    for (TrecNuo4SymbolPathItem& I : AItems) TKoGDIPlusPath::PathTransform(I.APath, AMatrix);
}

void SymbolPathes_Translate(TNuo4SymbolPathes& AItems, TGPPointF ADelta) {
    for (TrecNuo4SymbolPathItem& I : AItems)
        TKoGDIPlusPath::PathTranslate(I.APath, ADelta.x(), ADelta.y());
}

QPainterPath SymbolPathes_Union(const TNuo4SymbolPathes& AItems) {
    QPainterPath R;
    for (const TrecNuo4SymbolPathItem& I : AItems)
        TKoGDIPlusPath::PathAdd(R, I.APath, false, false);
    return R;
}

// ---- Elements ---------------------------------------------------------------------------------

namespace {

TGPRectF PathBlackBox(const QPainterPath& APath) {
    if (TKoGDIPlusPath::PathIsEmpty(APath)) return TGPRectF();
    return APath.boundingRect();
}

}  // namespace

TNuo4SymbolElement TNuo4SymbolElement::Fill(const QPainterPath& APath) {
    TNuo4SymbolElement E;
    E.FPath = APath;
    return E;
}

TNuo4SymbolElement TNuo4SymbolElement::Stroke_Solid(const QPainterPath& APath, double APenWidth) {
    TNuo4SymbolElement E;
    E.FPath = APath;
    E.FPenWidth = float(APenWidth);
    E.FType = spitStroke;
    return E;
}

TNuo4SymbolElement TNuo4SymbolElement::Stroke_Dashed(const QPainterPath& APath, double APenWidth) {
    TNuo4SymbolElement E = Stroke_Solid(APath, APenWidth);
    E.FbDashed = true;
    return E;
}

TGPRectF TNuo4SymbolElement::GetBlackBox() const {
    return PathBlackBox(FPath);
}

void TNuo4SymbolElement::Draw(TKoGraphics& G, TGPColor AColor) const {
    if (!IsStroke())
        TKoGDIPlusPath::PathFill(&G, FPath, AColor);
    else if (FbDashed)
        TKoGDIPlusPath::PathStroke_Dashed(&G, FPath, AColor, PenWidth(), Nuo4DashedSolidLength,
                                          Nuo4DashedGapLength);
    else
        TKoGDIPlusPath::PathStroke_Solid(&G, FPath, AColor, PenWidth());
}

void TNuo4SymbolElement::AddToSymbolPathes(TNuo4SymbolPathes& AItems) const {
    TrecNuo4SymbolPathItem& I = AItems.emplace_back();
    if (!IsStroke())
        I.InitializeToFill(FPath);
    else if (FbDashed)
        I.InitializeToStroke_Dashed(FPath, PenWidth(), Nuo4DashedSolidLength, Nuo4DashedGapLength);
    else
        I.InitializeToStroke_Solid(FPath, PenWidth());
}

// ---- Element list -------------------------------------------------------------------------------

const TNuo4SymbolElement& TNuo4SymbolElementList::EmptyFill() {
    static const TNuo4SymbolElement Empty;
    return Empty;
}

namespace {
// The block's capacity word, padded so that the elements stay aligned.
constexpr size_t ElementBlockHeader = alignof(TNuo4SymbolElement) > sizeof(uint32_t)
                                          ? alignof(TNuo4SymbolElement)
                                          : sizeof(uint32_t);
uint32_t* BlockOf(TNuo4SymbolElement* AItems) {
    return reinterpret_cast<uint32_t*>(reinterpret_cast<char*>(AItems) - ElementBlockHeader);
}
}  // namespace

uint32_t TNuo4SymbolElementList::Capacity() const {
    return FItems ? *BlockOf(FItems) : 0;
}

void TNuo4SymbolElementList::Clear() {
    if (FItems) {
        std::destroy_n(FItems, FStored);
        ::operator delete(BlockOf(FItems));
    }
    FItems = nullptr;
    FStored = FEmptyMask = 0;
}

void TNuo4SymbolElementList::Grow(int ACapacity) {
    char* Block = static_cast<char*>(
        ::operator new(ElementBlockHeader + size_t(ACapacity) * sizeof(TNuo4SymbolElement)));
    *reinterpret_cast<uint32_t*>(Block) = uint32_t(ACapacity);
    auto* Items = reinterpret_cast<TNuo4SymbolElement*>(Block + ElementBlockHeader);
    if (FItems) {
        std::uninitialized_move_n(FItems, FStored, Items);
        std::destroy_n(FItems, FStored);
        ::operator delete(BlockOf(FItems));
    }
    FItems = Items;
}

void TNuo4SymbolElementList::Reserve(int ACount) {
    if (ACount > int(Capacity())) Grow(ACount);
}

void TNuo4SymbolElementList::InsertStored(int AAt, TNuo4SymbolElement&& AElement) {
    if (const uint32_t C = Capacity(); FStored == C) Grow(C ? 2 * int(C) : 1);
    if (AAt == int(FStored)) {
        new (FItems + FStored) TNuo4SymbolElement(std::move(AElement));
    } else {
        new (FItems + FStored) TNuo4SymbolElement(std::move(FItems[FStored - 1]));
        std::move_backward(FItems + AAt, FItems + FStored - 1, FItems + FStored);
        FItems[AAt] = std::move(AElement);
    }
    ++FStored;
}

void TNuo4SymbolElementList::RemoveStored(int AAt) {
    std::move(FItems + AAt + 1, FItems + FStored, FItems + AAt);
    --FStored;
    std::destroy_at(FItems + FStored);
}

void TNuo4SymbolElementList::Add(TNuo4SymbolElement AElement) {
    const int Slot = Count();
    if (Slot < MaskSlots && IsEmptyFill(AElement))
        FEmptyMask |= 1u << Slot;
    else
        InsertStored(int(FStored), std::move(AElement));
}

void TNuo4SymbolElementList::Replace(int AIndex, TNuo4SymbolElement AElement) {
    const bool bAbsent = AIndex < MaskSlots && (FEmptyMask >> AIndex) & 1u;
    const bool bEmpty = AIndex < MaskSlots && IsEmptyFill(AElement);
    const int At = StoredIndex(AIndex);
    if (bAbsent && !bEmpty) {
        FEmptyMask &= ~(1u << AIndex);
        InsertStored(At, std::move(AElement));
    } else if (!bAbsent && bEmpty) {
        RemoveStored(At);
        FEmptyMask |= 1u << AIndex;
    } else if (!bAbsent) {
        FItems[At] = std::move(AElement);
    }
}

// ---- Symbol transform -------------------------------------------------------------------------

QTransform TrecNuo4SymbolTransform::GetMatrix() const {
    // Each step is prepended, so the last one applies to points first.
    QTransform M;
    M.rotate(RotateAngle);
    M.scale(Sx, Sy);
    if (bItalic) M.shear(-0.2, 0);
    return M;
}

bool TrecNuo4SymbolTransform::IsSame() const {
    return std::fabs(Sx - 1) < 0.01 && std::fabs(Sy - 1) < 0.01 && std::fabs(RotateAngle) < 0.01 &&
           !bItalic;
}

TrecNuo4SymbolTransform SymbolTransformFromTransform2(const TrecNuo4SymbolTransform2& ASource) {
    TrecNuo4SymbolTransform R;
    R.Sx = ASource.bMirror ? -ASource.Sx : ASource.Sx;
    R.Sy = ASource.Sy;
    R.bItalic = ASource.bItalic;
    R.RotateAngle = ASource.Rotate.ToAngle();
    return R;
}

}  // namespace nuo4
