#pragma once
// The note style table: for every main style and sub style, the metrics of a jianpu note as
// coefficients of the digit height H or width W. Lengths returned by the accessors are mm.

#include <QPointF>
#include <QSizeF>

#include "format/doc_options.h"
#include "format/note_style_index.h"

namespace nuo4 {

struct TrecNuo4PureNoteStyle {
    TNuo4DigitFace DigitFace = dfFace0;
    float DigitHeight = 3.0f;
    float DigitWHRatio = 0.8f;
    bool bItalic = false;
    float AccidentalHeightCoef = 1.2f;
    float AccidentalWHRatio = 0.35f;
    TNuo4PointF AccidentalPosCoef{-0.6f, -0.8f};
    float OctaveDotSizeCoef = 0.25f;
    float OctaveDotsGapCoef = 0.33f;
    float OctaveDotHigh_Digit_GapCoef = 0.3f;
    float OctaveDotLow_Digit_GapCoef = 0.27f;
    float UnderLineHeightCoef = 0.07f;
    float UnderLineWidthCoef = 0.8f;
    float UnderLinesGapCoef = 0.2f;
    float UnderLine_Digit_GapCoef = 0.25f;
    float UnderLine_OctaveDotLow_GapCoef = 0.3f;
    float RightDotSizeCoef = 0.25f;
    TNuo4PointF RightDotPosCoef{0.9f, -0.4f};
    float RightDotsGapCoef = 0.53f;
    float RightLineHeightCoef = 0.15f;
    float RightLineWidthCoef = 0.8f;
    float RightLinesGapCoef = 2.0f;

    TNuo4DigitFace GetDigitFace() const { return DigitFace; }
    bool IsScript() const { return DigitFace == dfFace3; }
    double GetDigitHeight() const { return DigitHeight; }
    double GetDigitWidth() const { return double(DigitHeight) * DigitWHRatio; }
    QSizeF GetDigitSize() const { return QSizeF(GetDigitWidth(), GetDigitHeight()); }
    bool GetbItalic() const { return bItalic; }
    double GetAccidentalHeight() const { return double(DigitHeight) * AccidentalHeightCoef; }
    double GetAccidentalWidth() const { return GetAccidentalHeight() * AccidentalWHRatio; }
    QPointF GetAccidentalPos() const {
        return QPointF(AccidentalPosCoef.X * GetDigitWidth(),
                       AccidentalPosCoef.Y * GetDigitHeight());
    }
    double GetOctaveDotSize() const { return double(DigitHeight) * OctaveDotSizeCoef; }
    double GetOctaveDotsGap() const { return double(DigitHeight) * OctaveDotsGapCoef; }
    double GetOctaveDotHigh_Digit_Gap() const {
        return double(DigitHeight) * OctaveDotHigh_Digit_GapCoef;
    }
    double GetOctaveDotLow_Digit_Gap() const {
        return double(DigitHeight) * OctaveDotLow_Digit_GapCoef;
    }
    double GetUnderLineHeight() const { return double(DigitHeight) * UnderLineHeightCoef; }
    double GetUnderLineWidth() const { return GetDigitWidth() * UnderLineWidthCoef; }
    double GetUnderLinesGap() const { return double(DigitHeight) * UnderLinesGapCoef; }
    double GetUnderLine_Digit_Gap() const { return double(DigitHeight) * UnderLine_Digit_GapCoef; }
    double GetUnderLine_OctaveDotLow_Gap() const {
        return double(DigitHeight) * UnderLine_OctaveDotLow_GapCoef;
    }
    double GetRightDotSize() const { return double(DigitHeight) * RightDotSizeCoef; }
    QPointF GetRightDotPos() const {
        return QPointF(RightDotPosCoef.X * GetDigitWidth(), RightDotPosCoef.Y * GetDigitHeight());
    }
    double GetRightDotsGap() const { return double(DigitHeight) * RightDotsGapCoef; }
    double GetRightDotsGapCoef() const { return RightDotsGapCoef; }
    double GetRightLineHeight() const { return double(DigitHeight) * RightLineHeightCoef; }
    double GetRightLineWidth() const { return GetDigitWidth() * RightLineWidthCoef; }
    double GetRightLineY() const { return -double(DigitHeight) / 2; }
};

// The base record of the normal sub style, from the document options.
TrecNuo4PureNoteStyle MakeBaseNoteStyle(const TrecNuo4DocOptions& AOptions);
// A sub style: the base scaled by (sx, sy), sheared when italic; underline metrics kept at
// the normal style's when asked.
TrecNuo4PureNoteStyle TransformNoteStyle(const TrecNuo4PureNoteStyle& ABase, double ASx, double ASy,
                                         bool bItalic, bool bKeepUnderlines);

// Rebuilds all 8 x 8 records from the options (the process-wide options by default).
void RebuildAll();
void RebuildAll(const TrecNuo4DocOptions& AOptions);
// An invalid index stops the program with "GetPureNoteStylePtr Assert Failure.".
const TrecNuo4PureNoteStyle* GetPureNoteStylePtr(const TrecNuo4NoteStyleIndex& AIndex);
const TrecNuo4PureNoteStyle* GetPureNoteStylePtr(TNuo4NoteMainStyle AMain, TNuo4NoteSubStyle ASub);
// The main style with the document's chord sub style.
const TrecNuo4PureNoteStyle* GetPureNoteStylePtr_Chord(TNuo4NoteMainStyle AMain);
QSizeF GetDigitSize(const TrecNuo4NoteStyleIndex& AIndex);

}  // namespace nuo4
