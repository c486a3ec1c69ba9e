#include "layout/layout_rules_check.h"

namespace nuo4 {

std::vector<int32_t> RulesCheck_Barline(const TNuo4LineInfoArray& ALines,
                                        const std::vector<TNuo4SymbolType>& ATypes,
                                        const std::vector<float>& AAWCoefs,
                                        const std::vector<TNuo4BarlineStyle>& AStyles) {
    std::vector<int32_t> Errors;
    const int32_t N = static_cast<int32_t>(ATypes.size());
    auto IsBar = [&](int32_t I) { return I >= 0 && I < N && IsBarline(ATypes[I]); };
    auto Style = [&](int32_t I) {
        return I < static_cast<int32_t>(AStyles.size()) ? AStyles[I] : blsNormal;
    };
    for (const auto& L : ALines) {
        const TKoRange R = L.GetBasicIndexRangeExcludeReturn();
        if (!R.IsNonEmpty()) continue;
        for (int32_t I = R.StartIndex; I <= R.EndIndex(); ++I) {
            if (!IsBar(I)) continue;
            const bool bLast = I == R.EndIndex();
            const float Coef = I < static_cast<int32_t>(AAWCoefs.size()) ? AAWCoefs[I] : 1.0f;
            const bool bError = (!bLast && Coef < 0.1f) || (bLast && Style(I) == blsRepeatStart) ||
                                (I == R.StartIndex && Style(I) == blsRepeatEnd) ||
                                (!bLast && IsBar(I + 1));
            if (bError) Errors.push_back(I);
        }
    }
    return Errors;
}

std::vector<int32_t> RulesCheck_AttachBrace(const std::vector<int32_t>& ASquareBracketExtends,
                                            const TNuo4SystemLineInfoArray& ASystems,
                                            const std::vector<TrecNuo4BraceCheckInfo>& ABraces) {
    std::vector<int32_t> Errors = ASquareBracketExtends;
    for (size_t S = 0; S + 2 < ASystems.size(); ++S)
        if (ASystems[S].LineIndexRange.Length > 1 && ASystems[S + 1].LineIndexRange.Length == 1 &&
            ASystems[S + 2].LineIndexRange.Length > 1 && ASystems[S].AttachIndex_Brace >= 0)
            Errors.push_back(ASystems[S].AttachIndex_Brace);
    for (const auto& B : ABraces)
        if (B.bWithExtraLine && B.ExtraLineY - B.OwnerY < 5) Errors.push_back(B.AttachIndex);
    return Errors;
}

namespace {
// Edges count: a box of zero width or height that touches the paper is on it.
bool Touches(const TGPRectF& A, const TGPRectF& B) {
    const TGPRectF N = A.normalized();
    return N.left() <= B.right() && N.right() >= B.left() && N.top() <= B.bottom() &&
           N.bottom() >= B.top();
}
}  // namespace

std::vector<int32_t> RulesCheck_OutOfPage(const std::vector<TrecNuo4AttachPlaceInfo>& AAttaches,
                                          const TGPRectF& APaperRect) {
    std::vector<int32_t> Errors;
    for (const auto& A : AAttaches)
        if (A.bOnPage && !Touches(A.BoxAtPos, APaperRect)) Errors.push_back(A.OwnerBasicIndex);
    return Errors;
}

std::vector<int32_t> RulesCheck_Lyric_AllVerse(
    const std::vector<std::vector<TrecNuo4LyricCheckItem>>& AVerses,
    const TNuo4NextLyricNoteFunc& ANext) {
    std::vector<int32_t> Errors;
    for (const auto& Verse : AVerses) {
        if (Verse.empty() || Verse[0].OwnerBasicIndex < 0) continue;
        for (size_t I = 1; I < Verse.size(); ++I) {
            const int32_t Expected = ANext ? ANext(Verse[I - 1].OwnerBasicIndex) : -1;
            if (Verse[I].OwnerBasicIndex != Expected) Errors.push_back(Verse[I].AttachIndex);
        }
    }
    return Errors;
}

}  // namespace nuo4
