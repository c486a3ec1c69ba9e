// Voltas written on bar lines: which measures each spans, its pieces on the lines it touches,
// one common height for all voltas of a line, and the bracket symbols.

#include <algorithm>
#include <limits>

#include "format/attach_symbols.h"
#include "format/doc_options.h"
#include "layout/arc_placement.h"
#include "layout/simple_buffer.h"
#include "render/music_font.h"
#include "render/symbol_basic.h"

namespace nuo4 {

namespace {

constexpr double kNone = std::numeric_limits<double>::infinity();

double TopOf(const TGPRectF& R) {
    return RectIsEmpty(R) ? kNone : R.top();
}

// One piece of a volta on one line: the whole volta, or its left or right part.
struct TFangZiPiece {
    int32_t Volta;
    TNuo4LineSymbolContinueStyle Continue;
    int32_t Line;
    TKoRange Range;
};

}  // namespace

void TNuo4SimpleBuffer::GetFangZiInfoArray() {
    FangZiInfoArray.clear();
    const int32_t Count = GetMeasureCount();
    auto LineOfMeasure = [&](int32_t M) {
        return Nuo4LineIndexOfBasicIndex(LineInfoArray,
                                         MeasureInfoArray[M].BasicIndexRange.StartIndex);
    };

    // 1. Marks on the bar line before a measure open a volta; a bar line that can end one
    // closes the open volta at the end of its measure.
    bool bOpen = false;
    TrecNuo4FangZiInfoItem Open;
    for (int32_t M = 1; M < Count; ++M) {
        const TKoRange R = MeasureInfoArray[M].BasicIndexRange;
        const TKoRange Before = MeasureInfoArray[M - 1].BasicIndexRange;
        int32_t Bar = -1;
        if (Basic_IsBarline(R.StartIndex))
            Bar = R.StartIndex;
        else if (Basic_IsBarline(Before.EndIndex()))
            Bar = Before.EndIndex();
        if (Bar >= 0) {
            const auto& F = Basic_GetSymbol(Bar)->ABCAttachmentsInfo.Get().FangZiInfo;
            if (F.bWithFangZi) {
                bOpen = true;  // a new mark replaces an open one
                Open = TrecNuo4FangZiInfoItem();
                Open.MeasureIndexRange = TKoRange(M, 1);
                Open.Text_ABC = F.FangeZiText;
            }
        }
        const auto* Last = dynamic_cast<const TNuo4SymbolBarline*>(Basic_GetSymbol(R.EndIndex()));
        if (bOpen && Last && Last->CanEndWithFangZi()) {
            Open.MeasureIndexRange = TKoRange::FromStartEnd(Open.MeasureIndexRange.StartIndex, M);
            FangZiInfoArray.push_back(Open);
            bOpen = false;
        }
    }

    // 2. Lines and ranges.
    std::vector<TFangZiPiece> Pieces;
    for (int32_t V = 0; V < int32_t(FangZiInfoArray.size()); ++V) {
        TrecNuo4FangZiInfoItem& F = FangZiInfoArray[V];
        const int32_t MS = F.MeasureIndexRange.StartIndex, ME = F.MeasureIndexRange.EndIndex();
        const int32_t LS = LineOfMeasure(MS), LE = LineOfMeasure(ME);
        if (LS < 0 || LE < 0) continue;
        F.bWrap = LS != LE;
        F.bFangZiStartIsAtLineStart = LineInfoArray[LS].MeasureIndexRange.StartIndex == MS;
        F.bFangZiEndIsAtLineEnd = LineInfoArray[LE].MeasureIndexRange.EndIndex() == ME;
        const int32_t First = F.bFangZiStartIsAtLineStart
                                  ? MeasureInfoArray[MS].BasicIndexRange.StartIndex
                                  : MeasureInfoArray[MS - 1].BasicIndexRange.EndIndex();
        const int32_t Last = MeasureInfoArray[ME].BasicIndexRange.EndIndex();
        F.BasicIndexRange_Full = TKoRange::FromStartEnd(First, Last);
        if (!F.bWrap) {
            Pieces.push_back({V, lscsFull, LS, F.BasicIndexRange_Full});
            continue;
        }
        F.BasicIndexRange_Left = TKoRange::FromStartEnd(
            First, LineInfoArray[LS].GetBasicIndexRangeExcludeReturn().EndIndex());
        F.BasicIndexRange_Right =
            TKoRange::FromStartEnd(LineInfoArray[LE].BasicIndexRange.StartIndex, Last);
        Pieces.push_back({V, lscsLeft, LS, F.BasicIndexRange_Left});
        Pieces.push_back({V, lscsRight, LE, F.BasicIndexRange_Right});
    }

    // 3. One height per line: the highest top over the ranges of its voltas. Bar lines are
    // cleared by the bar-line term of the vertical offset, so only their attachments count.
    auto SymbolTop = [&](int32_t I) {
        TNuo4Symbol* S = Basic_GetSymbol(I);
        const auto& G = S->BasicInfo().AttachmentsInfo;
        double T =
            std::min(TopOf(G.Articulations.Get().Bounds.Black), TopOf(G.Arcs.Get().Bounds.Black));
        if (!Basic_IsBarline(I)) T = std::min(T, TopOf(S->Bounds()));
        return std::min(T, 0.0);
    };
    std::vector<double> LineTop(LineInfoArray.size(), 0.0);
    for (const TFangZiPiece& P : Pieces)
        for (int32_t I = P.Range.StartIndex; I <= P.Range.EndIndex(); ++I)
            LineTop[P.Line] = std::min(LineTop[P.Line], SymbolTop(I));
    for (const TFangZiPiece& P : Pieces) {
        TrecNuo4FangZiInfoItem& F = FangZiInfoArray[P.Volta];
        const float T = float(LineTop[P.Line]);
        if (P.Continue == lscsFull) F.ArcsTopAtLine_Full = T;
        if (P.Continue == lscsLeft) F.ArcsTopAtLine_Left = T;
        if (P.Continue == lscsRight) F.ArcsTopAtLine_Right = T;
    }

    // Shared ends: a volta's start (full or left piece) on the symbol where another piece of
    // the same line ends, and its end (full or right piece) where another starts.
    for (const TFangZiPiece& P : Pieces)
        for (const TFangZiPiece& Q : Pieces) {
            if (P.Volta == Q.Volta || P.Line != Q.Line) continue;
            if (P.Continue != lscsRight && Q.Continue != lscsLeft &&
                P.Range.StartIndex == Q.Range.EndIndex())
                FangZiInfoArray[P.Volta].bFangZiStartWithOtherFangZiEndAtThisLine = true;
            if (P.Continue != lscsLeft && Q.Continue != lscsRight &&
                P.Range.EndIndex() == Q.Range.StartIndex)
                FangZiInfoArray[P.Volta].bFangZiEndWithOtherFangZiStartAtThisLine = true;
        }

    // Special voltas of the attachments section start at their owner (full or left piece)
    // and end at it (right piece); a full one also ends at the symbol of its line under its
    // right end.
    std::vector<int32_t> SpecialStarts, SpecialEnds;
    const double Dw = Nuo4DocOptions().GetNormalStyleDigitSize().Width;
    for (int32_t A = 0; A < Attach_GetCount(); ++A) {
        if (!Attach_IsAttachFangZi(A)) continue;
        TNuo4Symbol* S = Attach_GetSymbol(A);
        const auto* Rec = static_cast<const TrecNuo4SymbolAttachFangZi*>(S->GetSymbolRecPtr());
        if (!Rec || Rec->FangZiType != afztFangZi) continue;
        const int32_t Owner = Attach_GetBasicIndex(A);
        if (Rec->ContinueStyle == lscsRight) {
            SpecialEnds.push_back(Owner);
            continue;
        }
        SpecialStarts.push_back(Owner);
        if (Rec->ContinueStyle != lscsFull) continue;
        const int32_t Line = Nuo4LineIndexOfBasicIndex(LineInfoArray, Owner);
        if (Line < 0) continue;
        const double X =
            Basic_GetSymbol(Owner)->Pos().x() + S->AttachInfo().AttachPos.x() + Rec->Length;
        const TKoRange R = LineInfoArray[Line].GetBasicIndexRangeExcludeReturn();
        int32_t Best = -1;
        double BestD = 0.5 * Dw;
        for (int32_t I = R.StartIndex; I <= R.EndIndex(); ++I) {
            const double D = std::abs(Basic_GetSymbol(I)->Pos().x() - X);
            if (D <= BestD) {
                Best = I;
                BestD = D;
            }
        }
        if (Best >= 0) SpecialEnds.push_back(Best);
    }
    auto Has = [](const std::vector<int32_t>& A, int32_t I) {
        return std::find(A.begin(), A.end(), I) != A.end();
    };
    for (TrecNuo4FangZiInfoItem& F : FangZiInfoArray) {
        if (!F.BasicIndexRange_Full.IsNonEmpty()) continue;
        if (!F.bFangZiStartWithOtherFangZiEndAtThisLine &&
            Has(SpecialEnds, F.BasicIndexRange_Full.StartIndex))
            F.bFangZiStartWithOtherFangZiEndAtThisLine = true;
        if (!F.bFangZiEndWithOtherFangZiStartAtThisLine &&
            Has(SpecialStarts, F.BasicIndexRange_Full.EndIndex()))
            F.bFangZiEndWithOtherFangZiStartAtThisLine = true;
    }
}

void TNuo4SimpleBuffer::CreateFangZis() {
    const TrecNuo4DocOptions& O = Nuo4DocOptions();
    const TNuo4SizeF D = O.GetNormalStyleDigitSize();
    const double Dw = D.Width, Dh = D.Height;
    const double H = TNuo4SymbolFangZi::GetFangZiHeight();
    // Clear of the bar lines' tops, and of everything else under it on its line.
    auto VertOffset = [&](double ALineTop) {
        return std::min(-(O.BarlineHeightCoef_Top + O.FangZiGapCoefY_Barline) * Dh - H,
                        ALineTop - O.FangZiGapCoefY_Arc * Dh - H);
    };
    auto LeftX = [&](int32_t I, bool bShared) {
        TNuo4Symbol* S = Basic_GetSymbol(I);
        if (const auto* B = dynamic_cast<const TNuo4SymbolBarline*>(S))
            return B->GetFangZiOffsetCoef(bShared ? fzokSharedStart : fzokPlain) * Dw;
        return double(S->Bounds().left());
    };
    auto RightX = [&](int32_t I, bool bShared) {
        TNuo4Symbol* S = Basic_GetSymbol(I);
        if (const auto* B = dynamic_cast<const TNuo4SymbolBarline*>(S))
            return B->GetFangZiOffsetCoef(bShared ? fzokSharedEnd : fzokPlain) * Dw;
        return double(S->Bounds().right());
    };
    auto Add = [&](std::unique_ptr<TNuo4SymbolFangZi> ASym, int32_t AOwner, int32_t AOther,
                   TGPPointF AOffset) {
        TNuo4Symbol* S = ASym.get();
        const int32_t I = Attach_AddPlacedSymbol(std::move(ASym), AOwner, AOther, AOffset);
        // The label's outline needs the drawing surface, which a build may run without; the
        // bracket's box does not, so the layout is complete and the drawing builds it again.
        if (I >= 0 && !GetDestGraphics()) S->SetNeedUpdate();
        return I;
    };
    for (TrecNuo4FangZiInfoItem& F : FangZiInfoArray) {
        F.AttachIndex_Full = F.AttachIndex_Left = F.AttachIndex_Right = -1;
        if (!F.BasicIndexRange_Full.IsNonEmpty()) continue;
        const int32_t S = F.BasicIndexRange_Full.StartIndex, E = F.BasicIndexRange_Full.EndIndex();
        const double XS = Basic_GetSymbol(S)->Pos().x(), XE = Basic_GetSymbol(E)->Pos().x();
        const double LX = LeftX(S, F.bFangZiStartWithOtherFangZiEndAtThisLine);
        const double RX = RightX(E, F.bFangZiEndWithOtherFangZiStartAtThisLine);
        if (!F.bWrap) {
            const double Y = VertOffset(F.ArcsTopAtLine_Full);
            F.AttachIndex_Full =
                Add(TNuo4SymbolFangZi::Create_Full(std::max(RX - LX + XE - XS, 0.0), F.Text_ABC, 0),
                    S, E, TGPPointF(LX, Y));
            continue;
        }
        TNuo4Symbol* LastS = Basic_GetSymbol(F.BasicIndexRange_Left.EndIndex());
        TNuo4Symbol* FirstE = Basic_GetSymbol(F.BasicIndexRange_Right.StartIndex);
        const double LeftLength = LastS->Pos().x() + LastS->Bounds().right() - (XS + LX);
        const double RightLength = XE + RX - (FirstE->Pos().x() + FirstE->Bounds().left());
        F.AttachIndex_Left =
            Add(TNuo4SymbolFangZi::Create_Left(std::max(LeftLength, 0.0), F.Text_ABC, 0), S, E,
                TGPPointF(LX, VertOffset(F.ArcsTopAtLine_Left)));
        F.AttachIndex_Right = Add(TNuo4SymbolFangZi::Create_Right(std::max(RightLength, 0.0), 0), E,
                                  S, TGPPointF(RX, VertOffset(F.ArcsTopAtLine_Right)));
    }
}

}  // namespace nuo4
