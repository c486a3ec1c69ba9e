#include "layout/layout_system.h"

#include <algorithm>
#include <cmath>

#include "layout/layout_pages.h"

namespace nuo4 {

namespace {

int32_t LineOfBasic(const TNuo4LineInfoArray& ALines, int32_t ABasic) {
    for (size_t L = 0; L < ALines.size(); ++L)
        if (ALines[L].BasicIndexRange.Contains(ABasic)) return static_cast<int32_t>(L);
    return -1;
}

// The brace is attached to one of the line's symbols up to and including its first note.
bool BraceStartsAtLine(const TrecNuo4BraceLayoutInfo& ABrace, const TrecNuo4LineInfoItem& ALine,
                       const std::vector<TNuo4SymbolType>& ATypes) {
    const TKoRange R = ALine.BasicIndexRange;
    if (!R.Contains(ABrace.OwnerBasicIndex)) return false;
    for (int32_t I = R.StartIndex; I < ABrace.OwnerBasicIndex; ++I)
        if (I < static_cast<int32_t>(ATypes.size()) && IsNote(ATypes[I])) return false;
    return true;
}

}  // namespace

TKoRange GetBraceCoveredLines(const TrecNuo4BraceLayoutInfo& ABrace,
                              const TNuo4LineInfoArray& ALines, const TNuo4PageInfoArray& APages,
                              double ADigitHeight) {
    const int32_t OwnerLine = LineOfBasic(ALines, ABrace.OwnerBasicIndex);
    const int32_t P = PageIndexOfLine(APages, OwnerLine);
    if (P < 0) return TKoRange::Invalid();
    const TKoRange Lines = APages[P].LineIndexRange;
    int32_t First = -1, Last = -1;
    for (int32_t L = Lines.StartIndex; L <= Lines.EndIndex(); ++L)
        if (ALines[L].BaselineY > ABrace.Top - ABrace.ExtraLineLength) {
            First = L;
            break;
        }
    if (First < 0) return TKoRange::Invalid();
    if (ALines[First].IsEmpty() && First < Lines.EndIndex()) ++First;
    for (int32_t L = Lines.StartIndex; L <= Lines.EndIndex(); ++L)
        if (ALines[L].BaselineY - ADigitHeight < ABrace.Bottom) Last = L;
    if (Last < First) return TKoRange::Invalid();
    return TKoRange::FromStartEnd(First, Last);
}

void Process_System(const TrecNuo4SystemLayoutInput& AInput, const TNuo4LineInfoArray& ALines,
                    const TNuo4PageInfoArray& APages, TNuo4MeasureInfoArray& AMeasures,
                    TKoRangeArray& ASystemLineRanges, TNuo4SystemLineInfoArray& ASystems) {
    ASystemLineRanges.clear();
    ASystems.clear();
    static const std::vector<TNuo4SymbolType> NoTypes;
    const auto& Types = AInput.Types ? *AInput.Types : NoTypes;
    const int32_t N = static_cast<int32_t>(ALines.size());

    // The brace that starts a system at each line, with its covered range.
    std::vector<int32_t> BraceAt(N, -1);
    std::vector<TKoRange> BraceLines(N);
    for (size_t B = 0; B < AInput.Braces.size(); ++B) {
        const auto& Br = AInput.Braces[B];
        const TKoRange Cov = GetBraceCoveredLines(Br, ALines, APages, AInput.DigitHeight);
        if (!Cov.IsNonEmpty() || BraceAt[Cov.StartIndex] >= 0) continue;
        if (!BraceStartsAtLine(Br, ALines[Cov.StartIndex], Types)) continue;
        BraceAt[Cov.StartIndex] = static_cast<int32_t>(B);
        BraceLines[Cov.StartIndex] = Cov;
    }
    std::vector<int32_t> BraceIndexOfSystem;
    for (int32_t L = 0; L < N;) {
        if (BraceAt[L] >= 0) {
            ASystemLineRanges.push_back(BraceLines[L]);
            BraceIndexOfSystem.push_back(BraceAt[L]);
            L = BraceLines[L].EndIndex() + 1;
            continue;
        }
        if (!ALines[L].IsEmpty()) {
            ASystemLineRanges.push_back(TKoRange(L, 1));
            BraceIndexOfSystem.push_back(-1);
        }
        ++L;
    }

    TrecNuo4Meter Running = AInput.InitMeter;
    int32_t SystemMeasureStart = 0;
    for (size_t S = 0; S < ASystemLineRanges.size(); ++S) {
        TrecNuo4SystemLineInfoItem Info;
        Info.LineIndexRange = ASystemLineRanges[S];
        Info.AttachIndex_Brace =
            BraceIndexOfSystem[S] >= 0 ? AInput.Braces[BraceIndexOfSystem[S]].AttachIndex : -1;
        int32_t M0 = -1, M1 = -1;
        for (int32_t L = Info.LineIndexRange.StartIndex; L <= Info.LineIndexRange.EndIndex(); ++L) {
            const TKoRange R = ALines[L].MeasureIndexRange;
            if (ALines[L].IsEmpty()) continue;
            Info.NonEmptyLineArray.push_back(L);
            Info.MaxMeasureCount_Line = std::max(Info.MaxMeasureCount_Line, R.Length);
            Info.MinMeasureCount_Line = Info.MinMeasureCount_Line == 0
                                            ? R.Length
                                            : std::min(Info.MinMeasureCount_Line, R.Length);
            if (M0 < 0) M0 = R.StartIndex;
            M1 = R.EndIndex();
        }
        Info.MeasureIndexRange_Normal =
            M0 >= 0 ? TKoRange::FromStartEnd(M0, M1) : TKoRange(std::max(0, M1 + 1), 0);
        Info.MeasureIndexRange_System = TKoRange(SystemMeasureStart, Info.MaxMeasureCount_Line);
        SystemMeasureStart += Info.MaxMeasureCount_Line;

        // Meters follow the first part only: the other parts repeat its measures.
        if (!Info.NonEmptyLineArray.empty()) {
            const TKoRange R = ALines[Info.NonEmptyLineArray[0]].MeasureIndexRange;
            for (int32_t M = R.StartIndex; M <= R.EndIndex(); ++M) {
                const TKoRange B = AMeasures[M].BasicIndexRange;
                for (int32_t I = B.StartIndex; I <= B.EndIndex(); ++I)
                    if (AInput.SymbolMeters && I >= 0 &&
                        I < static_cast<int32_t>(AInput.SymbolMeters->size()) &&
                        (*AInput.SymbolMeters)[I].IsValid() &&
                        I < static_cast<int32_t>(Types.size()) && IsMeter(Types[I]))
                        Running = (*AInput.SymbolMeters)[I];
                Info.MeasureMeterArray.push_back(Running);
            }
            while (static_cast<int32_t>(Info.MeasureMeterArray.size()) < Info.MaxMeasureCount_Line)
                Info.MeasureMeterArray.push_back(Info.MeasureMeterArray.back());
        }
        ASystems.push_back(std::move(Info));
    }

    for (auto& M : AMeasures) M.Meter_System.SetToInvalid();
    for (const auto& Sys : ASystems)
        for (int32_t L : Sys.NonEmptyLineArray) {
            const TKoRange R = ALines[L].MeasureIndexRange;
            for (int32_t M = R.StartIndex; M <= R.EndIndex(); ++M) {
                const size_t Pos = static_cast<size_t>(M - R.StartIndex);
                if (M >= 0 && M < static_cast<int32_t>(AMeasures.size()) &&
                    Pos < Sys.MeasureMeterArray.size())
                    AMeasures[M].Meter_System = Sys.MeasureMeterArray[Pos];
            }
        }
}

TrecNuo4SystemMeasureInfo System_GetMeasureInfoFromMeasureIndex(
    const TNuo4SystemLineInfoArray& ASystems, const TNuo4LineInfoArray& ALines,
    int32_t AMeasureIndex) {
    TrecNuo4SystemMeasureInfo R;
    for (size_t S = 0; S < ASystems.size(); ++S)
        for (int32_t L : ASystems[S].NonEmptyLineArray) {
            const TKoRange M = ALines[L].MeasureIndexRange;
            if (!M.Contains(AMeasureIndex)) continue;
            R.SystemIndex = static_cast<int32_t>(S);
            R.IndexWithinSystem = AMeasureIndex - M.StartIndex;
            R.IndexWithinAllSystems =
                ASystems[S].MeasureIndexRange_System.StartIndex + R.IndexWithinSystem;
            return R;
        }
    return R;
}

bool IsMultiParts(const TNuo4SystemLineInfoArray& ASystems) {
    for (const auto& S : ASystems)
        if (S.LineIndexRange.Length > 1) return true;
    return false;
}

std::u16string GetBarNumberOfMeasure(const TNuo4SystemLineInfoArray& ASystems,
                                     const TNuo4LineInfoArray& ALines, int32_t AMeasureIndex) {
    std::string S = std::to_string(AMeasureIndex + 1);
    if (IsMultiParts(ASystems)) {
        const auto Info = System_GetMeasureInfoFromMeasureIndex(ASystems, ALines, AMeasureIndex);
        S += "(" + std::to_string(Info.IndexWithinAllSystems + 1) + ")";
    }
    return std::u16string(S.begin(), S.end());
}

bool MeasureHasDurationError(const TrecNuo4MeasureInfoItem& AMeasure) {
    const TrecNuo4Meter& M = AMeasure.Meter_System;
    if (!M.IsValid() || M.IsFreeBeat()) return false;
    return std::fabs(AMeasure.DVSum - M.GetFullDV()) >= 0.01 - 1e-6;
}

bool LineHasDurationError(const TrecNuo4LineInfoItem& ALine,
                          const TNuo4MeasureInfoArray& AMeasures) {
    const TKoRange R = ALine.MeasureIndexRange;
    for (int32_t M = R.StartIndex; R.Length > 0 && M <= R.EndIndex(); ++M)
        if (M >= 0 && M < static_cast<int32_t>(AMeasures.size()) &&
            MeasureHasDurationError(AMeasures[M]))
            return true;
    return false;
}

}  // namespace nuo4
