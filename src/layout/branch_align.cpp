// The automatic alignment of temporary voices: every symbol of a voice under the main voice's
// note it sounds with, by beat positions within the owner's measure and the measures after it.

#include <algorithm>
#include <cmath>

#include "layout/arc_placement.h"
#include "layout/branch_data.h"
#include "layout/simple_buffer.h"
#include "render/note_symbol.h"
#include "render/symbol_attach.h"

namespace nuo4 {

namespace {

// The X on the page of beat position APos inside main measure AMeasure: the note whose beat
// span holds it plus the proportional part of its advance (of the matching dash segment for a
// note with dashes); at or after the measure's sum, the last note's X plus its advance.
double GetPagePosXFromBeatPos(const TNuo4SimpleBuffer& B, int32_t AMeasure, double APos) {
    const TrecNuo4MeasureInfoItem& M = B.MeasureInfoArray[size_t(AMeasure)];
    const TKoRange R = M.BasicIndexRange;
    int32_t Last = -1;
    for (int32_t I = R.StartIndex; I <= R.EndIndex(); ++I) {
        const TNuo4SymbolNote* N = B.Basic_GetSymbolNote(I);
        if (!N) continue;
        Last = I;
        const double Before = N->BasicInfo().DV.DVSumWithinMeasure_Before;
        const double DV = N->GetDV();
        if (DV <= 0 || APos < Before - 1e-4 || APos >= Before + DV - 1e-4) continue;
        const double Frac = std::clamp((APos - Before) / DV, 0.0, 1.0);
        const double X = N->Pos().x();
        const int K = N->GetRightLineCount();
        if (K <= 0) return X + N->AW() * Frac;
        // Segment boundaries: the note, each dash, the next symbol.
        std::vector<double> Bounds{X};
        for (int J = 0; J < K; ++J) Bounds.push_back(Bounds.back() + N->GetRighlineSpacing(J));
        Bounds.push_back(X + N->AW());
        const double Seg = Frac * (K + 1);
        const int S = std::min(int(Seg), K);
        return Bounds[size_t(S)] + (Bounds[size_t(S) + 1] - Bounds[size_t(S)]) * (Seg - S);
    }
    if (const TNuo4Symbol* N = B.Basic_GetSymbol(Last)) return N->Pos().x() + N->AW();
    const TNuo4Symbol* First = B.Basic_GetSymbol(R.StartIndex);
    return First ? First->Pos().x() : 0;
}

// The X of the main voice's bar line that ends AMeasure (its end beat when it has none).
double GetPagePosXOfMeasureEnd(const TNuo4SimpleBuffer& B, int32_t AMeasure) {
    const TrecNuo4MeasureInfoItem& M = B.MeasureInfoArray[size_t(AMeasure)];
    const int32_t E = M.BasicIndexRange.EndIndex();
    if (B.Basic_IsBarline(E)) return B.Basic_GetSymbol(E)->Pos().x();
    return GetPagePosXFromBeatPos(B, AMeasure, M.DVSum);
}

}  // namespace

TrecNuo4AttachBranchAutoAlignInfo Nuo4AttachBranchAlignment(const TNuo4SimpleBuffer& B,
                                                            int32_t AOwner,
                                                            TrecNuo4AttachBranchData& AData,
                                                            double AScaleX, double& AOffsetX) {
    TrecNuo4AttachBranchAutoAlignInfo Info;
    AOffsetX = 0;
    const int32_t M0 = B.GetMeasureIndex_FromBasicIndex(AOwner);
    const int32_t Line = Nuo4LineIndexOfBasicIndex(B.LineInfoArray, AOwner);
    const int32_t Count = AData.Basic_GetCount();
    if (M0 < 0 || Line < 0 || Count == 0 || AScaleX <= 0) return Info;
    // The voice cannot wrap: measures past its line's end keep the voice's own spacing.
    const int32_t LastMeasure = B.LineInfoArray[size_t(Line)].MeasureIndexRange.EndIndex();
    std::vector<double> X(size_t(Count) + 1, 0.0);
    std::vector<bool> bAligned(size_t(Count) + 1, false);
    int32_t Measure = 0;
    auto MainMeasure = [&](int32_t I) {
        const int32_t M = AData.GetMeasureIndexFromBasicIndex(I);
        if (M >= 0) Measure = M;
        return M0 + Measure;
    };
    auto Own = [&](int32_t I) { return AData.Basic_GetSymbol(I); };
    for (int32_t I = 0; I < Count; ++I) {
        const int32_t MM = MainMeasure(I);
        if (MM <= LastMeasure && B.CheckMeasureIndex(MM)) {
            X[size_t(I)] = Own(I)->GetSymbolType() == sbstBarline
                               ? GetPagePosXOfMeasureEnd(B, MM)
                               : GetPagePosXFromBeatPos(B, MM, AData.GetBeatPos_Before(I));
            bAligned[size_t(I)] = true;
        } else {
            X[size_t(I)] = I == 0 ? 0 : X[size_t(I) - 1] + Own(I - 1)->AW() * AScaleX;
        }
    }
    // The end of the last symbol: its end beat, or left open for a note without dot.
    const TNuo4Symbol* LastSym = Own(Count - 1);
    const bool bLastOpen = LastSym->GetSymbolType() != sbstNote || !LastSym->WithRightDot();
    {
        const int32_t MM = MainMeasure(Count - 1);
        const double After = LastSym->BasicInfo().DV.DVSumWithinMeasure_After;
        if (!bLastOpen && bAligned[size_t(Count) - 1] && B.CheckMeasureIndex(MM))
            X[size_t(Count)] = GetPagePosXFromBeatPos(B, MM, After);
        else
            X[size_t(Count)] = X[size_t(Count) - 1] + LastSym->AW() * AScaleX;
    }
    const int32_t N = std::min(Count, TrecNuo4AttachBranchAutoAlignInfo::Capacity);
    for (int32_t I = 0; I < N; ++I) {
        const TNuo4Symbol* S = Own(I);
        const double Dw = S->DigitSize().width() * AScaleX;
        TrecNuo4SymbolControlOptions_AWCoef E;
        if (Dw > 0 && !(I == Count - 1 && bLastOpen))
            E.AWCoef = float(std::max(0.01, (X[size_t(I) + 1] - X[size_t(I)]) / Dw));
        const auto* Note = dynamic_cast<const TNuo4SymbolNote*>(S);
        const int K = Note ? Note->GetRightLineCount() : 0;
        if (K > 0 && E.AWCoef > 0 && bAligned[size_t(I)]) {
            const int32_t MM = MainMeasure(I);
            const double Before = AData.GetBeatPos_Before(I), Step = S->GetDV() / (K + 1);
            double Prev = X[size_t(I)];
            for (int J = 1; J <= K && J <= Nuo4RightLineSpacingCoefCount; ++J) {
                const double DX = GetPagePosXFromBeatPos(B, MM, Before + J * Step);
                E.RightLineSpacingCoefArray[size_t(J) - 1] =
                    float(std::max(0.01, (DX - Prev) / Dw));
                Prev = DX;
            }
        }
        Info.SetItem(I, E);
    }
    if (const TNuo4Symbol* O = B.Basic_GetSymbol(AOwner)) AOffsetX = X[0] - O->Pos().x();
    return Info;
}

void TNuo4SimpleBuffer::AttachBranch_AutoAlign() {
    for (int32_t A = 0; A < Attach_GetCount(); ++A) {
        if (!Attach_IsAttachBranch(A)) continue;
        auto* Br = static_cast<TNuo4SymbolAttachBranch*>(Attach_GetSymbol(A));
        if (!Br->AutoAlign()) continue;
        auto* D = dynamic_cast<TrecNuo4AttachBranchData*>(Br->GetDataPtr());
        if (!D || D->Basic_GetCount() == 0) continue;
        const double Sx = std::fabs(Br->GetTransformMatrix().m11());
        double OffsetX = 0;
        const TrecNuo4AttachBranchAutoAlignInfo Info =
            Nuo4AttachBranchAlignment(*this, Attach_GetBasicIndex(A), *D, Sx, OffsetX);
        if (Info.GetValidCount() == 0) continue;
        Br->UpdateAutoAlignInfo(Info);
        Br->Update(true);
        Br->MutAttachInfo().AttachPos.setX(OffsetX);
    }
}

}  // namespace nuo4
