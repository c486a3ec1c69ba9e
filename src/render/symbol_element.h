#pragma once
// The drawable pieces of a symbol: filled or stroked paths in symbol-local millimetres, their
// plain descriptions (path items) as glyph code returns them, and the symbol transform.

#include <QPainterPath>
#include <QTransform>
#include <bit>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "format/abc_common.h"
#include "format/symbol_transform.h"
#include "render/draw_utils.h"

namespace nuo4 {

// Dash pattern of dashed strokes, millimetres.
constexpr double Nuo4DashedSolidLength = 1.2;
constexpr double Nuo4DashedGapLength = 0.9;

enum TNuo4SymbolPathItemType : uint8_t { spitFill, spitStroke };
const char* EnumName(TNuo4SymbolPathItemType AValue);

// One element before it becomes an object.
struct TrecNuo4SymbolPathItem {
    TNuo4SymbolPathItemType AType = spitFill;
    QPainterPath APath;
    double PenWidth = 0;
    bool bDashed = false;
    double DashPatternLength_Solid = 0;
    double DashPatternLength_Gap = 0;

    void InitializeToFill(const QPainterPath& APathSrc);
    void InitializeToStroke_Solid(const QPainterPath& APathSrc, double APenWidth);
    void InitializeToStroke_Dashed(const QPainterPath& APathSrc, double APenWidth, double ASolid,
                                   double AGap);
    bool IsStroke() const { return AType == spitStroke; }
    bool IsDashed() const { return IsStroke() && bDashed; }
};
using TNuo4SymbolPathes = std::vector<TrecNuo4SymbolPathItem>;

TNuo4SymbolPathes SymbolPathes_Fill(const QPainterPath& APath);
TNuo4SymbolPathes SymbolPathes_Stroke(const QPainterPath& APath, double APenWidth);
// Dashed with the standard pattern.
TNuo4SymbolPathes SymbolPathes_Dashed(const QPainterPath& APath, double APenWidth);
// Append only a path that has points.
void SymbolPathes_AddFill(TNuo4SymbolPathes& AItems, const QPainterPath& APath);
void SymbolPathes_AddStroke(TNuo4SymbolPathes& AItems, const QPainterPath& APath, double APenWidth);
void SymbolPathes_Transform(TNuo4SymbolPathes& AItems, const QTransform& AMatrix);
void SymbolPathes_Translate(TNuo4SymbolPathes& AItems, TGPPointF ADelta);
// Every path of the items in one.
QPainterPath SymbolPathes_Union(const TNuo4SymbolPathes& AItems);

// ---- Elements -----------------------------------------------------------------------------------

// One drawable piece: a path filled by the winding rule, or stroked solid or with the standard
// dash pattern. A plain value: a symbol keeps its elements side by side in one array, since a
// long score holds several per symbol and most of them are small or empty.
class TNuo4SymbolElement {
  public:
    TNuo4SymbolElement() = default;
    static TNuo4SymbolElement Fill(const QPainterPath& APath);
    static TNuo4SymbolElement Stroke_Solid(const QPainterPath& APath, double APenWidth);
    // Always the standard dash pattern.
    static TNuo4SymbolElement Stroke_Dashed(const QPainterPath& APath, double APenWidth);

    const QPainterPath& Path() const { return FPath; }
    bool IsStroke() const { return FType == spitStroke; }
    bool IsDashed() const { return IsStroke() && FbDashed; }
    double PenWidth() const { return double(FPenWidth); }
    double DashPatternLength_Solid() const { return IsDashed() ? Nuo4DashedSolidLength : 0; }
    double DashPatternLength_Gap() const { return IsDashed() ? Nuo4DashedGapLength : 0; }

    // Ink rectangle in symbol-local coordinates: the path's own bounds, without the pen.
    TGPRectF GetBlackBox() const;
    void Draw(TKoGraphics& G, TGPColor AColor) const;
    void AddToSymbolPathes(TNuo4SymbolPathes& AItems) const;

  private:
    QPainterPath FPath;
    // Pen widths are a few tenths of a millimetre and never summed: single precision keeps
    // them far below a thousandth, and an element takes two words.
    float FPenWidth = 0;
    TNuo4SymbolPathItemType FType = spitFill;
    bool FbDashed = false;
};

// The elements of one symbol, in order. An empty fill among the first 32 slots (a note keeps
// seven slots, most of them empty) is not stored: a mask marks it, and reading it gives the one
// shared empty fill, so drawing and the path items still see every slot in its place. The
// stored elements sit in one block of exactly the reserved size, which keeps its capacity in a
// word before them: the allocator's rounding makes room for it, and the list takes two words.
class TNuo4SymbolElementList {
  public:
    TNuo4SymbolElementList() = default;
    ~TNuo4SymbolElementList() { Clear(); }
    TNuo4SymbolElementList(const TNuo4SymbolElementList&) = delete;
    TNuo4SymbolElementList& operator=(const TNuo4SymbolElementList&) = delete;

    int Count() const { return int(FStored) + std::popcount(FEmptyMask); }
    // 0 <= AIndex < Count().
    const TNuo4SymbolElement& At(int AIndex) const {
        if (AIndex < MaskSlots && (FEmptyMask >> AIndex) & 1u) return EmptyFill();
        return FItems[StoredIndex(AIndex)];
    }
    // The elements kept in the block: every element except the unstored empty fills.
    const TNuo4SymbolElement* StoredBegin() const { return FItems; }
    const TNuo4SymbolElement* StoredEnd() const { return FItems + FStored; }

    void Clear();
    // Room for ACount stored elements in all (empty fills need none).
    void Reserve(int ACount);
    void Add(TNuo4SymbolElement AElement);
    // Replaces the element of slot AIndex (0 <= AIndex < Count()).
    void Replace(int AIndex, TNuo4SymbolElement AElement);

    static bool IsEmptyFill(const TNuo4SymbolElement& AElement) {
        return !AElement.IsStroke() && AElement.Path().elementCount() == 0;
    }

  private:
    static constexpr int MaskSlots = 32;
    static const TNuo4SymbolElement& EmptyFill();
    int StoredIndex(int ASlot) const {
        const uint32_t Below = ASlot >= MaskSlots ? FEmptyMask : FEmptyMask & ((1u << ASlot) - 1u);
        return ASlot - int(std::popcount(Below));
    }
    void Grow(int ACapacity);
    void InsertStored(int AAt, TNuo4SymbolElement&& AElement);
    void RemoveStored(int AAt);

    uint32_t Capacity() const;

    TNuo4SymbolElement* FItems = nullptr;  // just after the block's capacity word
    uint32_t FStored = 0;
    // Slot I (below 32) is an unstored empty fill; every slot is either that or stored.
    uint32_t FEmptyMask = 0;
};

// ---- Symbol transform ---------------------------------------------------------------------------

struct TrecNuo4SymbolTransform {
    float Sx = 1;
    float Sy = 1;
    float RotateAngle = 0;  // degrees
    bool bItalic = false;

    void SetToDefault() { *this = TrecNuo4SymbolTransform(); }
    // A point is sheared (x by -0.2 y when italic), then scaled, then rotated.
    QTransform GetMatrix() const;
    // Whether the transform changes nothing (within 0.01).
    bool IsSame() const;
};

// The mirror becomes a negative x scale; the angle comes from the rotation.
TrecNuo4SymbolTransform SymbolTransformFromTransform2(const TrecNuo4SymbolTransform2& ASource);

}  // namespace nuo4
