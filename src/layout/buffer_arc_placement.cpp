// Placement of the arcs of the voice (slurs, ties, tuplet brackets): their lines, lengths,
// shapes and heights above the notes, their symbols (one, or two pieces when the arc breaks at
// a line end), and the automatic length of wrapped special arcs and voltas.

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "format/doc_options.h"
#include "layout/arc_placement.h"
#include "layout/simple_buffer.h"
#include "render/note_geometry.h"
#include "render/note_symbol.h"
#include "render/symbol_arc.h"
#include "render/symbol_attach.h"

namespace nuo4 {

int32_t Nuo4LineIndexOfBasicIndex(const std::vector<TrecNuo4LineInfoItem>& ALines,
                                  int32_t ABasicIndex) {
    // Lines hold increasing basic ranges: the last line starting at or before the index.
    auto It = std::upper_bound(
        ALines.begin(), ALines.end(), ABasicIndex,
        [](int32_t I, const TrecNuo4LineInfoItem& L) { return I < L.BasicIndexRange.StartIndex; });
    if (It == ALines.begin()) return -1;
    --It;
    return It->BasicIndexRange.Contains(ABasicIndex) ? int32_t(It - ALines.begin()) : -1;
}

void TNuo4RangeMin::Reset(int32_t ACount) {
    FCount = std::max(ACount, 0);
    FTree.assign(size_t(2 * FCount), std::numeric_limits<double>::infinity());
}

void TNuo4RangeMin::Lower(int32_t AIndex, double AValue) {
    if (AIndex < 0 || AIndex >= FCount) return;
    for (size_t I = size_t(AIndex + FCount); I >= 1 && AValue < FTree[I]; I /= 2) FTree[I] = AValue;
}

double TNuo4RangeMin::Min(int32_t AFirst, int32_t ALast) const {
    double R = std::numeric_limits<double>::infinity();
    size_t L = size_t(std::max(AFirst, 0) + FCount);
    size_t H = size_t(std::min(ALast, FCount - 1) + FCount + 1);
    for (; L < H; L /= 2, H /= 2) {
        if (L & 1) R = std::min(R, FTree[L++]);
        if (H & 1) R = std::min(R, FTree[--H]);
    }
    return R;
}

namespace {

constexpr double kNone = std::numeric_limits<double>::infinity();

double TopOf(const TGPRectF& R) {
    return RectIsEmpty(R) ? kNone : R.top();
}

// The highest point of a symbol that an arc passes over: its own box and its articulations.
double SymbolTopForArc(TNuo4Symbol* S) {
    return std::min(TopOf(S->Bounds()),
                    TopOf(S->BasicInfo().AttachmentsInfo.Articulations.Get().Bounds.Black));
}

// The gap between a tuplet's number and the symbols under it, in digit heights.
constexpr double TupletNumberGapCoef = 0.1;

// The highest top of the symbols from AFirst to ALast whose boxes reach into [AX1, AX2]. Their
// reference points run left to right, and a box reaches at most AMargin beyond its point: a
// binary search finds the few to look at. Many symbols at one place (empty ones) fall back to
// the highest top of them all.
double TopOverX(const TNuo4SimpleBuffer& B, int32_t AFirst, int32_t ALast, double AX1, double AX2,
                double AMargin, const TNuo4RangeMin& ATops) {
    auto X = [&](int32_t I) { return B.Basic_GetSymbol(I)->Pos().x(); };
    int32_t Lo = AFirst, Hi = ALast + 1;  // the first point at or right of AX1 - AMargin
    while (Lo < Hi) {
        const int32_t M = Lo + (Hi - Lo) / 2;
        (X(M) < AX1 - AMargin ? Lo = M + 1 : Hi = M);
    }
    const int32_t First = Lo;
    Hi = ALast + 1;  // the first point right of AX2 + AMargin
    while (Lo < Hi) {
        const int32_t M = Lo + (Hi - Lo) / 2;
        (X(M) <= AX2 + AMargin ? Lo = M + 1 : Hi = M);
    }
    const int32_t Last = Lo - 1;
    if (Last - First >= 32) return ATops.Min(First, Last);
    double T = kNone;
    for (int32_t I = First; I <= Last; ++I) {
        TNuo4Symbol* S = B.Basic_GetSymbol(I);
        const TGPRectF R = S->Bounds();
        if (!RectIsEmpty(R) && X(I) + R.left() < AX2 && X(I) + R.right() > AX1)
            T = std::min(T, SymbolTopForArc(S));
    }
    return T;
}

TNuo4SymbolArcShape FlatOf(TNuo4SymbolArcShape AShape) {
    if (AShape == assEllipseFill) return assFlatFill;
    if (AShape == assEllipseStroke) return assFlatStroke;
    return AShape;
}

}  // namespace

void TNuo4SimpleBuffer::_CalcArcBasicInfo(int32_t AArcIndex, const TNuo4ArcPlacementState& AState,
                                          TrecNuo4ArcBasicInfo& AInfo) const {
    AInfo = TrecNuo4ArcBasicInfo();
    if (AArcIndex < 0 || AArcIndex >= int32_t(ArcInfoArray.size())) return;
    const TrecNuo4ArcInfoItem& Arc = ArcInfoArray[AArcIndex];
    const int32_t S = Arc.BasicIndexRange.StartIndex, E = Arc.BasicIndexRange.EndIndex();
    TNuo4Symbol* SS = Basic_GetSymbol(S);
    TNuo4Symbol* SE = Basic_GetSymbol(E);
    if (!SS || !SE) return;
    const TrecNuo4DocOptions& O = Nuo4DocOptions();
    const TrecNuo4DocOptionsParam_Arc& P = O.Param_Arc;
    const TNuo4SizeF D = O.GetNormalStyleDigitSize();
    const double Dw = D.Width, Dh = D.Height;

    // 1. Lines.
    AInfo.LineIndex_Start = Nuo4LineIndexOfBasicIndex(LineInfoArray, S);
    AInfo.LineIndex_End = Nuo4LineIndexOfBasicIndex(LineInfoArray, E);
    if (AInfo.LineIndex_Start < 0 || AInfo.LineIndex_End < 0) return;
    AInfo.bWrap = AInfo.LineIndex_Start != AInfo.LineIndex_End;
    const TKoRange LineS = LineInfoArray[AInfo.LineIndex_Start].GetBasicIndexRangeExcludeReturn();
    const TKoRange LineE = LineInfoArray[AInfo.LineIndex_End].GetBasicIndexRangeExcludeReturn();

    // 2. Horizontal offsets: an arc that ends where another starts leaves it room.
    AInfo.OffsetX_Start = (SS->BasicInfo().Arc.Contains(aptEnd) ? 0.1 : -0.1) * Dw;
    AInfo.OffsetX_End = (SE->BasicInfo().Arc.Contains(aptStart) ? -0.1 : 0.1) * Dw;
    const double XS = SS->Pos().x() + AInfo.OffsetX_Start;
    const double XE = SE->Pos().x() + AInfo.OffsetX_End;
    AInfo.ArcLength_Full = std::max(XE - XS, Nuo4ArcMinLayoutLength);
    if (AInfo.bWrap) {
        TNuo4Symbol* LastS = Basic_GetSymbol(LineS.EndIndex());
        TNuo4Symbol* FirstE = Basic_GetSymbol(LineE.StartIndex);
        AInfo.PieceLength_Left =
            std::max(LastS->Pos().x() + LastS->Bounds().right() - XS, Nuo4ArcMinLayoutLength);
        AInfo.PieceLength_Right =
            std::max(XE - (FirstE->Pos().x() + FirstE->Bounds().left()), Nuo4ArcMinLayoutLength);
    }

    // 3, 4. Shape, height and thickness; pieces are drawn flat.
    const bool bOverMeasure =
        GetMeasureIndex_FromBasicIndex(S) != GetMeasureIndex_FromBasicIndex(E);
    AInfo.Shape = P.GetArcShape(AInfo.bWrap, bOverMeasure, float(AInfo.ArcLength_Full));
    TrecNuo4SymbolArc Rec;
    Rec.SetToDefault();
    TNuo4SymbolArc::GetArcHeightAndThickness(AInfo.bWrap ? FlatOf(AInfo.Shape) : AInfo.Shape,
                                             AInfo.ArcLength_Full, Rec.NoteStyleIndex,
                                             AInfo.ArcHeight, AInfo.ArcThickness);
    const double H = AInfo.ArcHeight, HalfT = AInfo.ArcThickness / 2;

    // 5. Both ends above their notes: above the digits (not the sharp or flat beside them,
    // which reaches higher) and the notes' articulations.
    auto EndTop = [&](int32_t I) {
        TNuo4Symbol* Sym = Basic_GetSymbol(I);
        double T = TopOf(Sym->Bounds());
        if (const TNuo4SymbolNote* N = Basic_GetSymbolNote(I)) {
            const QRectF Digits = GetBounds_MainAndChord_Basic(N->SymbolRec);
            if (!RectIsEmpty(Digits)) T = Digits.top();
        }
        T = std::min(T, TopOf(Sym->BasicInfo().AttachmentsInfo.Articulations.Get().Bounds.Black));
        return T == kNone ? 0.0 : T;
    };
    double YS = EndTop(S) - P.GapCoefY_Arc_Underlay * Dh;
    double YE = EndTop(E) - P.GapCoefY_Arc_Underlay * Dh;

    // 6. The apex clears what lies under the arc by Q: the symbols, and the arcs placed before
    // this one (ArcInfoArray runs by end index, so every arc inside this one comes earlier).
    // Every arc or piece placed so far that starts in a range of this arc's line also ends in
    // it, as arcs start and end on notes; their pieces count on their own lines.
    const double Q = 0.25 * Dh;
    auto ClearSymbols = [&](int32_t AFirst, int32_t ALast, double& AY) {
        const double T = AState.SymbolTops.Min(AFirst, ALast);
        if (T != kNone) AY = std::min(AY, T - Q + H);
    };
    auto ClearArcs = [&](int32_t AFirst, int32_t ALast, double& AY) {
        const double T = AState.ArcTops.Min(AFirst, ALast);
        if (T != kNone) AY = std::min(AY, T - Q + H + HalfT);
    };
    if (!AInfo.bWrap) {
        ClearSymbols(S + 1, E - 1, YS);
        ClearSymbols(S + 1, E - 1, YE);
        ClearArcs(S, E, YS);
        ClearArcs(S, E, YE);
    } else {
        ClearSymbols(S + 1, LineS.EndIndex(), YS);
        ClearArcs(S, LineS.EndIndex(), YS);
        ClearSymbols(LineE.StartIndex, E - 1, YE);
        ClearArcs(LineE.StartIndex, E, YE);
        // A wrapped arc's piece never runs below the piece of an arc inside it.
        YS = std::min(YS, AState.LeftPieceOffsets.Min(S, LineS.EndIndex()));
        YE = std::min(YE, AState.RightPieceOffsets[size_t(AInfo.LineIndex_End)]);
    }

    // 6b. A tuplet's number is centred on the apex line, half its height below it: the arc
    // rises until the number also clears the symbols under it.
    const int32_t TN = Arc.ABCInfo.TupletNumber;
    if (!AInfo.bWrap && TN >= 1 && TN <= 99) {
        const TGPSizeF Nd = TupletDigitSize(Rec.GetDigitSize());
        const double WN = TN < 10 ? Nd.width() : 2 * Nd.width();
        // Only an arc with room for its number beside the two halves draws one.
        if (AInfo.ArcLength_Full >= WN + 0.6 * Nd.width()) {
            const double Slant =
                Nd.height() / 2 * std::tan(Nuo4TupletNumberItalicAngle * std::numbers::pi / 180);
            const double Xc = XS + AInfo.ArcLength_Full / 2;
            const double T = TopOverX(*this, S, E, Xc - WN / 2 - Slant, Xc + WN / 2 + Slant, 2 * Dw,
                                      AState.SymbolTops);
            if (T != kNone) {
                const double Y = T - TupletNumberGapCoef * Dh - Nd.height() / 2 + H;
                YS = std::min(YS, Y);
                YE = std::min(YE, Y);
            }
        }
    }

    // 7. Arcs sharing an end stack outward from the innermost.
    YS -= Arc.Depth_Start * P.GapCoefY_Arcs * Dh;
    YE -= Arc.Depth_End * P.GapCoefY_Arcs * Dh;
    // 8. An arc on one line is level.
    if (!AInfo.bWrap) YS = YE = std::min(YS, YE);
    // 9. A height written in the text wins.
    if (Arc.ABCInfo.VertOffsetCoef != 0)
        YS = YE = YS + Arc.ABCInfo.VertOffsetCoef * SS->DigitSize().height();
    AInfo.VertOffset_Start = YS;
    AInfo.VertOffset_End = YE;
}

void TNuo4SimpleBuffer::CreateArcs() {
    const int32_t NBasic = Basic_GetCount();
    TNuo4ArcPlacementState State;
    State.SymbolTops.Reset(NBasic);
    State.ArcTops.Reset(NBasic);
    State.LeftPieceOffsets.Reset(NBasic);
    State.RightPieceOffsets.assign(LineInfoArray.size(), kNone);
    if (!ArcInfoArray.empty())
        for (int32_t I = 0; I < NBasic; ++I) {
            Basic_PrefetchAhead(I);
            State.SymbolTops.Lower(I, SymbolTopForArc(Basic_GetSymbol(I)));
        }
    // A placed arc symbol counts at the first index it covers on its line; a piece's offset
    // also bounds the outer pieces of its kind.
    auto Record = [&](int32_t AAttach, int32_t AFirst, double* APieceOffset) {
        TNuo4Symbol* Sym = Attach_GetSymbol(AAttach);
        if (!Sym) return;
        const double Y = Sym->AttachInfo().AttachPos.y();
        const double T = TopOf(Sym->Bounds());
        State.ArcTops.Lower(AFirst, T == kNone ? Y : Y + T);
        if (APieceOffset) *APieceOffset = std::min(*APieceOffset, Y);
    };

    for (TrecNuo4ArcInfoItem& Arc : ArcInfoArray)
        Arc.AttachIndex_Full = Arc.AttachIndex_Left = Arc.AttachIndex_Right = -1;
    for (int32_t I = 0; I < int32_t(ArcInfoArray.size()); ++I) {
        TrecNuo4ArcInfoItem& Arc = ArcInfoArray[I];
        const int32_t S = Arc.BasicIndexRange.StartIndex, E = Arc.BasicIndexRange.EndIndex();
        if (!Basic_CheckIndex(S) || !Basic_CheckIndex(E)) continue;
        TrecNuo4ArcBasicInfo Info;
        _CalcArcBasicInfo(I, State, Info);
        Arc.LineIndex_Start = Info.LineIndex_Start;
        Arc.LineIndex_End = Info.LineIndex_End;
        Arc.bWrap = Info.bWrap;
        if (Info.LineIndex_Start < 0 || Info.LineIndex_End < 0) continue;
        if (!Info.bWrap) {
            Arc.AttachIndex_Full = Attach_AddPlacedSymbol(
                TNuo4SymbolArc::Create_Full(Info.ArcLength_Full, Arc.ABCInfo, Info.Shape), S, E,
                TGPPointF(Info.OffsetX_Start, Info.VertOffset_Start));
            Record(Arc.AttachIndex_Full, S, nullptr);
        } else {
            const float Coef = Arc.ABCInfo.VertOffsetCoef;
            Arc.AttachIndex_Left = Attach_AddPlacedSymbol(
                TNuo4SymbolArc::Create_Left(Info.ArcLength_Full, Info.PieceLength_Left, Coef,
                                            Info.Shape),
                S, E, TGPPointF(Info.OffsetX_Start, Info.VertOffset_Start));
            Arc.AttachIndex_Right = Attach_AddPlacedSymbol(
                TNuo4SymbolArc::Create_Right(Info.ArcLength_Full, Info.PieceLength_Right, Coef,
                                             Info.Shape),
                E, S, TGPPointF(Info.OffsetX_End, Info.VertOffset_End));
            double LeftOffset = kNone;
            Record(Arc.AttachIndex_Left, S, &LeftOffset);
            State.LeftPieceOffsets.Lower(S, LeftOffset);
            Record(Arc.AttachIndex_Right,
                   LineInfoArray[size_t(Info.LineIndex_End)].BasicIndexRange.StartIndex,
                   &State.RightPieceOffsets[size_t(Info.LineIndex_End)]);
        }
    }
}

// The length a wrapped piece at page X needs to reach the edge of its line: a left piece the
// right edge of the line's last symbol, a right piece the left edge of its first symbol.
// Negative when the owner is on no line.
double TNuo4SimpleBuffer::WrappedPieceLengthToLineEdge(int32_t AAttachIndex, bool bLeftPiece,
                                                       double AX) const {
    const int32_t Line =
        Nuo4LineIndexOfBasicIndex(LineInfoArray, Attach_GetBasicIndex(AAttachIndex));
    if (Line < 0) return -1;
    const TKoRange R = LineInfoArray[Line].GetBasicIndexRangeExcludeReturn();
    if (bLeftPiece) {
        TNuo4Symbol* Last = Basic_GetSymbol(R.EndIndex());
        return Last->Pos().x() + Last->Bounds().right() - AX;
    }
    TNuo4Symbol* First = Basic_GetSymbol(R.StartIndex);
    return AX - (First->Pos().x() + First->Bounds().left());
}

void TNuo4SimpleBuffer::AutoAlign_WrappedSpecialArcs() {
    for (int32_t A = 0; A < Attach_GetCount(); ++A) {
        if (!Attach_IsAttachArc(A)) continue;
        auto* S = static_cast<TNuo4SymbolAttachArc*>(Attach_GetSymbol(A));
        if (S->IsFull() || !S->AutoAlign()) continue;
        const double Length = WrappedPieceLengthToLineEdge(A, S->IsLeft(), S->Pos().x());
        if (Length < 0) continue;
        S->SetLength(float(std::max(Length, Nuo4ArcMinLength)));
        S->Update(true);
    }
}

void TNuo4SimpleBuffer::AutoAlign_WrappedSpecialFangZis() {
    for (int32_t A = 0; A < Attach_GetCount(); ++A) {
        if (!Attach_IsAttachFangZi(A)) continue;
        auto* S = static_cast<TNuo4SymbolAttachFangZi*>(Attach_GetSymbol(A));
        if (S->FangZiType() != afztFangZi || S->IsFull() || !S->AutoAlign()) continue;
        const double Length = WrappedPieceLengthToLineEdge(A, S->IsLeft(), S->Pos().x());
        if (Length < 0) continue;
        S->SetLength(float(std::max(Length, Nuo4ArcMinLength)));
        S->Update(true);
    }
}

void TNuo4SimpleBuffer::AutoAlign_WrappedSpecialArcsAndFangZis() {
    AutoAlign_WrappedSpecialArcs();
    AutoAlign_WrappedSpecialFangZis();
}

}  // namespace nuo4
