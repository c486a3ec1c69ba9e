#include "render/note_style.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace nuo4 {

namespace {

TrecNuo4PureNoteStyle StyleTable[8][8];
bool bStyleTableBuilt = false;

void EnsureBuilt() {
    if (!bStyleTableBuilt) RebuildAll();
}

}  // namespace

TrecNuo4PureNoteStyle MakeBaseNoteStyle(const TrecNuo4DocOptions& O) {
    TrecNuo4PureNoteStyle S;
    S.DigitFace = O.Param_MainDigit.Face;
    S.DigitHeight = O.Param_MainDigit.Height;
    S.DigitWHRatio = O.Param_MainDigit.WHRatio;
    S.bItalic = false;
    S.AccidentalHeightCoef = O.Accidental_HeightCoef;
    S.AccidentalWHRatio = O.Accidental_WHRatio;
    S.AccidentalPosCoef = O.Accidental_PosCoef;
    S.RightDotPosCoef = O.RightDot_DefaultPosCoef;
    return S;
}

TrecNuo4PureNoteStyle TransformNoteStyle(const TrecNuo4PureNoteStyle& ABase, double ASx, double ASy,
                                         bool bItalic, bool bKeepUnderlines) {
    TrecNuo4PureNoteStyle S = ABase;
    if (ASy <= 0) ASy = 1;
    if (ASx <= 0) ASx = 1;
    S.bItalic = bItalic;
    S.DigitHeight = float(ABase.DigitHeight * ASy);
    S.DigitWHRatio = float(ABase.DigitWHRatio * ASx / ASy);
    // Round parts scale with the geometric mean of the two factors.
    const double D = std::sqrt(ASx * ASy) / ASy;
    S.AccidentalHeightCoef = float(ABase.AccidentalHeightCoef * D);
    S.OctaveDotSizeCoef = float(ABase.OctaveDotSizeCoef * D);
    S.RightDotSizeCoef = float(ABase.RightDotSizeCoef * D);
    if (bKeepUnderlines) {
        S.UnderLineHeightCoef = float(ABase.UnderLineHeightCoef / ASy);
        S.UnderLinesGapCoef = float(ABase.UnderLinesGapCoef / ASy);
        S.UnderLine_Digit_GapCoef = float(ABase.UnderLine_Digit_GapCoef / ASy);
        S.UnderLine_OctaveDotLow_GapCoef = float(ABase.UnderLine_OctaveDotLow_GapCoef / ASy);
    }
    return S;
}

void RebuildAll() {
    RebuildAll(Nuo4DocOptions());
}

void RebuildAll(const TrecNuo4DocOptions& O) {
    const TrecNuo4PureNoteStyle Base = MakeBaseNoteStyle(O);
    struct TSub {
        double Sx, Sy;
        bool bItalic, bKeep;
    };
    const double Small = O.SubStyleSmallSizeScaleXY, Grace = O.SubStyleGraceScaleXY;
    const TSub Subs[8] = {
        {1, 1, false, false},                                         // nssNormal
        {O.SubStyleChordScaleX, O.SubStyleChordScaleY, false, true},  // nssZip
        {Small, Small, O.bSubStyleSmallSizeIsItalic, true},           // nssSmallSize
        {Grace, Grace, false, false},                                 // nssGrace
        {1, 1, true, true},                                           // nssItalicNormal
        {O.SubStyleChordScaleX, O.SubStyleChordScaleY, true, true},   // nssItalicZip
        {Small, Small, true, true},                                   // nssItalicSmallSize
        {Grace, Grace, true, false},                                  // nssItalicGrace
    };
    for (int M = 0; M < 8; ++M)
        for (int S = 0; S < 8; ++S)
            StyleTable[M][S] = S == nssNormal ? Base
                                              : TransformNoteStyle(Base, Subs[S].Sx, Subs[S].Sy,
                                                                   Subs[S].bItalic, Subs[S].bKeep);
    bStyleTableBuilt = true;
}

const TrecNuo4PureNoteStyle* GetPureNoteStylePtr(const TrecNuo4NoteStyleIndex& AIndex) {
    if (!AIndex.IsValid()) {
        std::fprintf(stderr,
                     "GetPureNoteStylePtr Assert Failure. (Nuo4.Basic.PureNoteStyle, line 232)\n");
        std::abort();
    }
    EnsureBuilt();
    return &StyleTable[AIndex.MainStyle][AIndex.SubStyle];
}

const TrecNuo4PureNoteStyle* GetPureNoteStylePtr(TNuo4NoteMainStyle AMain, TNuo4NoteSubStyle ASub) {
    return GetPureNoteStylePtr(TrecNuo4NoteStyleIndex::Create(AMain, ASub));
}

const TrecNuo4PureNoteStyle* GetPureNoteStylePtr_Chord(TNuo4NoteMainStyle AMain) {
    return GetPureNoteStylePtr(AMain, Nuo4DocOptions().Param_Chord.NoteSubStyle);
}

QSizeF GetDigitSize(const TrecNuo4NoteStyleIndex& AIndex) {
    return GetPureNoteStylePtr(AIndex)->GetDigitSize();
}

}  // namespace nuo4
