#pragma once
// Slurs, ties and tuplet brackets (arc symbols of the voice) and the special arcs of the
// attachments section: the elliptic and the flat curve, filled or stroked, the two pieces of
// an arc broken at a line end, the tuplet arc with its number in a gap at the top, and the
// end marks (arrow, dot, short horizontal line).
//
// Millimetres, y down: an arc bends upward into negative y. The origin is the left end of the
// chord for a full arc and a left piece, the right end of the chord for a right piece; the
// chord lies on y = 0. Path angles below are the drawing platform's: degrees clockwise from +x,
// measured as the true angle of the ray from the centre (270 is the top).

#include <QPainterPath>
#include <memory>
#include <vector>

#include "format/abc_common.h"
#include "format/arc_styles.h"
#include "format/attach_symbols.h"
#include "format/note_style_index.h"
#include "format/symbol_note.h"
#include "render/symbol.h"
#include "render/symbol_element.h"

namespace nuo4 {

// Shape factor of the elliptic curve and corner angle (degrees) of the flat curve.
constexpr double Nuo4ArcEllipseShapeFactor = 0.4;
constexpr double Nuo4ArcFlatCornerAngle = 60;
// Full arcs and pieces are never shorter than this.
constexpr double Nuo4ArcMinLength = 2.0;
// Shear of tuplet numbers, degrees.
constexpr double Nuo4TupletNumberItalicAngle = 11.3;

struct TrecNuo4SymbolArcStyle {
    TNuo4SymbolArcShape Shape = assEllipseFill;
    TNuo4LineSymbolContinueStyle Continue = lscsFull;

    void Initialize(TNuo4SymbolArcShape AShape, TNuo4LineSymbolContinueStyle AContinue) {
        Shape = AShape;
        Continue = AContinue;
    }
    // The document's default arc shape, a full arc.
    void SetToDefault();
    bool operator==(const TrecNuo4SymbolArcStyle&) const = default;
};

struct TrecNuo4SymbolArc {
    bool bHorz = false;     // carried, not used by the drawing
    TGPPointF EndPtOffset;  // carried, not used by the drawing
    TrecNuo4NoteStyleIndex NoteStyleIndex;
    TrecNuo4ArcABCInfo ABCInfo;
    TrecNuo4SymbolArcStyle Style;
    float ArcLength_Full = 0;         // chord of the whole arc
    float ArcLength_LeftOrRight = 0;  // chord of a piece; 0 for a full arc
    float ArcRotateAngle_deg = 0;     // carried, not used by the drawing
    float FArcHeight = 0;             // apex above the chord
    float FArcThickness = 0;          // pen width, or greatest thickness of a filled arc

    void SetToDefault();
    bool IsFull() const { return Style.Continue == lscsFull; }
    bool IsFill() const { return Style.Shape == assEllipseFill || Style.Shape == assFlatFill; }
    bool IsStroke() const {
        return Style.Shape == assEllipseStroke || Style.Shape == assFlatStroke;
    }
    bool IsFlat() const { return Style.Shape == assFlatFill || Style.Shape == assFlatStroke; }
    // A full arc that shows a tuplet number (negative numbers show none).
    bool WithTuplet() const { return IsFull() && ABCInfo.TupletNumber > 0; }
    TGPSizeF GetDigitSize() const;
    // Pieces become flat and lose tuplet number and end mark; lengths are at least 2 and a
    // piece's whole length is twice the piece.
    void Check();
    // Check, then height and thickness from the shape and the whole length.
    void GetArcHeightAndThicknessFromArcLength();
    bool operator==(const TrecNuo4SymbolArc&) const = default;
};

// Digit size of tuplet numbers from the digit width W of the arc's style: 0.6 W x 0.72 W.
TGPSizeF TupletDigitSize(TGPSizeF AStyleDigitSize);

class TNuo4SymbolArc : public TNuo4AttachSymbol {
  public:
    explicit TNuo4SymbolArc(const TrecNuo4SymbolArc& ARec = TrecNuo4SymbolArc());
    // An arc on one line.
    static std::unique_ptr<TNuo4SymbolArc> Create_Full(double AArcLength_Full,
                                                       const TrecNuo4ArcABCInfo& AABCInfo,
                                                       TNuo4SymbolArcShape AShapeStyle);
    // The pieces of an arc broken at a line end. Both take the height and thickness of the
    // whole arc's length in the (flat) shape they are drawn with, so the two halves of one
    // slur match and stand as high as the layout planned for the whole arc.
    static std::unique_ptr<TNuo4SymbolArc> Create_Left(double AArcLength_Full,
                                                       double AArcLength_Left,
                                                       float AVertOffsetCoef,
                                                       TNuo4SymbolArcShape AShapeStyle);
    static std::unique_ptr<TNuo4SymbolArc> Create_Right(double AArcLength_Full,
                                                        double AArcLength_LeftOrRight,
                                                        float AVertOffsetCoef,
                                                        TNuo4SymbolArcShape AShapeStyle);

    // Height and thickness of an arc of that shape, whole length (at least 2) and style.
    static void GetArcHeightAndThickness(TNuo4SymbolArcShape AArcShape, double AArcLength_Full,
                                         const TrecNuo4NoteStyleIndex& AIndex, double& AArcHeight,
                                         double& AThickness);

    // ---- Path builders: each path lies in the coordinates of the given start (end) point ----
    // The elliptic arc from the start point to L to its right, apex AH above the chord's
    // middle; the ellipse's centre lies S * AH below the chord.
    static QPainterPath CreatePath_Arc_Ellispe_Hair_Full(TGPPointF AStartPt, double L, double AH,
                                                         double S);
    // Stroked: the curve. Filled: a crescent AT thick at the apex and AT / 2 at the ends.
    static QPainterPath CreatePath_Arc_Ellispe_Full_NoTuplet(bool bStroke, TGPPointF AStartPt,
                                                             double L, double AH, double AT,
                                                             double S);
    // The rising part (0.8 of the half) of the elliptic curve of chord AF and height AH.
    static QPainterPath CreatePath_Arc_Ellispe_Hair_LeftHalf_UseForTuplet(TGPPointF AStartPt,
                                                                          double AF, double AH,
                                                                          double S);
    // Both halves of the tuplet arc and its number; nothing unless 1 <= number <= 99 and the
    // arc is long enough for the number and its gaps.
    static TNuo4SymbolPathes CreatePathes_Arc_Ellispe_Full_WithTuplet(const TrecNuo4SymbolArc& ARec,
                                                                      TGPPointF AStartPt,
                                                                      TGPSizeF ADigitSize,
                                                                      double S);
    // The digits of 0 < AN < 100 with the box's left-top at APtLT, each ADigitSize; italic
    // shears about the digits' horizontal centre line. ABounds: the unsheared box.
    static QPainterPath CreatePath_TupletNumber(TGPPointF APtLT, int AN, TGPSizeF ADigitSize,
                                                bool bTupletNumberIsItalic, TGPRectF& ABounds);
    // Two circular corners of angle ATheta joined by a straight top; an arc too short for the
    // corners is one circular arc through both chord ends with its top at the apex.
    static QPainterPath CreatePath_Arc_Flat_Hair_Full(TGPPointF AStartPt, double L, double AH,
                                                      double ATheta);
    // Filled: a band of uniform vertical thickness AT around the curve.
    static QPainterPath CreatePath_Arc_Flat_Full_NoTuplet(bool bStroke, TGPPointF AStartPt,
                                                          double L, double AH, double AT,
                                                          double ATheta);
    // The rising corner, then the straight top to AP right of the start. A piece shorter than
    // its corner ends on the corner at AP.
    static QPainterPath CreatePath_Arc_Flat_Hair_Left(TGPPointF AStartPt, double AH, double AP,
                                                      double ATheta);
    static QPainterPath CreatePath_Arc_Flat_Left_NoTuplet(bool bStroke, TGPPointF AStartPt,
                                                          double AH, double AT, double AP,
                                                          double ATheta);
    // The left piece built at the end point and mirrored about the vertical through it.
    static QPainterPath CreatePath_Arc_Flat_Right_NoTuplet(bool bStroke, TGPPointF AEndPt,
                                                           double AH, double AT, double AP,
                                                           double ATheta);
    // The arc of a record without tuplet number, at the origin: one fill item, or one solid
    // stroke item of the arc's thickness.
    static TNuo4SymbolPathes CreatePathes_Arc_NoTuplet(const TrecNuo4SymbolArc& ARec);
    // Arrow head at the arc's right end (L, 0) pointing down the arc's end; flatter for longer
    // arcs. Four-sided (with a notch) or a triangle.
    static QPainterPath _CreateArrow(TGPPointF AStartPt, double L, bool bFourSide);
    static QPainterPath _CreateArrowPath_Fill(const std::vector<TGPPointF>& APolygon);
    // A dot centred on the apex (L / 2, -AH).
    static QPainterPath _CreateDot(TGPPointF AStartPt, double L, double AH);
    // A short bar ending at the arc's right end, centred on the chord.
    static QPainterPath _CreateHorzLine(TGPPointF AStartPt, double L);

    // Every item of a checked record: the tuplet arc or the plain arc, then the end marks of
    // a full arc (arrow, dot, line).
    static TNuo4SymbolPathes CreatePathes(const TrecNuo4SymbolArc& ACheckedRec);

    const TrecNuo4SymbolArc& SymbolRec() const { return FSymbolRec; }
    const TrecNuo4ArcABCInfo& ABCInfo() const { return FSymbolRec.ABCInfo; }
    int32_t TupletNumber() const { return FSymbolRec.ABCInfo.TupletNumber; }
    float VertOffsetCoef() const { return FSymbolRec.ABCInfo.VertOffsetCoef; }
    bool IsForceVertLocation() const { return VertOffsetCoef() != 0; }
    TNuo4LineSymbolContinueStyle Continue() const { return FSymbolRec.Style.Continue; }
    bool IsFull() const { return Continue() == lscsFull; }
    bool IsLeft() const { return Continue() == lscsLeft; }
    bool IsRight() const { return Continue() == lscsRight; }

    void CalcBounds(TGPRectF& ARect) override;
    void CreateElements() override;
    void* GetSymbolRecPtr() override { return &FSymbolRec; }
    void SetSymbolRec(const void* ASource) override;
    TNuo4SymbolType GetSymbolType() const override { return sbstArc; }
    void SetRecNoteStyleIndex(const TrecNuo4NoteStyleIndex& AIndex) override {
        FSymbolRec.NoteStyleIndex = AIndex;
    }
    void SetRecMainStyle(TNuo4NoteMainStyle AStyle) override {
        FSymbolRec.NoteStyleIndex.MainStyle = AStyle;
    }
    void SetRecSubStyle(TNuo4NoteSubStyle AStyle) override {
        FSymbolRec.NoteStyleIndex.SubStyle = AStyle;
    }

  private:
    TrecNuo4SymbolArc FSymbolRec;
};

// ---- Special arcs ---------------------------------------------------------------------------

// The arc record of a special arc: its style index, shape, continuation, lengths, tuplet
// number and end mark, checked, with height and thickness.
TrecNuo4SymbolArc ToSymbolRecArc(const TrecNuo4SymbolAttachArc& ARec);
// The path items of a special arc; a piece with a tuplet number is a plain piece.
TNuo4SymbolPathes GetPathes(const TrecNuo4SymbolAttachArc& ARec);

class TNuo4SymbolAttachArc : public TNuo4AttachSymbol {
  public:
    explicit TNuo4SymbolAttachArc(const TrecNuo4SymbolAttachArc& ARec = DefaultRec());

    const TrecNuo4SymbolAttachArc& SymbolRec() const { return FSymbolRec; }
    int32_t TupletNumber() const { return FSymbolRec.TupletNumber; }
    TNuo4LineSymbolContinueStyle Continue() const { return FSymbolRec.ContinueStyle; }
    bool IsFull() const { return Continue() == lscsFull; }
    bool IsLeft() const { return Continue() == lscsLeft; }
    bool IsRight() const { return Continue() == lscsRight; }
    TNuo4SymbolArcShape Shape() const { return FSymbolRec.Shape; }
    TNuo4AttachmentsOcupyTypes Ocupy() const { return FSymbolRec.Ocupy(); }
    void SetOcupy(TNuo4AttachmentsOcupyTypes AValue);
    float Length() const { return FSymbolRec.GetLength(); }
    void SetLength(float AValue);
    bool AutoAlign() const { return FSymbolRec.bAutoAlign; }
    void SetAutoAlign(bool AValue) { FSymbolRec.bAutoAlign = AValue; }

    // The black box of its elements.
    void CalcBounds(TGPRectF& ARect) override;
    void CreateElements() override;
    void* GetSymbolRecPtr() override { return &FSymbolRec; }
    void SetSymbolRec(const void* ASource) override;
    TNuo4SymbolType GetSymbolType() const override { return sbstAttachArc; }
    // A special arc keeps the style of its record whatever style the symbol is given.
    void SetRecNoteStyleIndex(const TrecNuo4NoteStyleIndex&) override {}
    void SetRecMainStyle(TNuo4NoteMainStyle) override {}
    void SetRecSubStyle(TNuo4NoteSubStyle) override {}

  private:
    static TrecNuo4SymbolAttachArc DefaultRec();
    TrecNuo4SymbolAttachArc FSymbolRec;
};

}  // namespace nuo4
