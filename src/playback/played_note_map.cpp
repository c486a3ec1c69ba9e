#include "playback/played_note_map.h"

#include <algorithm>
#include <string_view>

#include "format/abc_buffer.h"
#include "layout/buffer_text_pos.h"
#include "layout/simple_buffer.h"

namespace nuo4 {

namespace {
const std::u16string& TextOf(const TNuo4SimpleBuffer& B) {
    static const std::u16string Empty;
    return B.GetABCBuffer() ? B.GetABCBuffer()->ABCText() : Empty;
}

// The start of every line (CR breaks), then the text's length.
std::vector<int32_t> LineStarts(const std::u16string& AText) {
    std::vector<int32_t> R{0};
    for (size_t I = 0; I < AText.size(); ++I)
        if (AText[I] == u'\r') R.push_back(int32_t(I) + 1);
    if (R.back() != int32_t(AText.size())) R.push_back(int32_t(AText.size()));
    return R;
}

std::u16string_view Line(const std::u16string& AText, const std::vector<int32_t>& AStarts,
                         size_t AIndex) {
    return std::u16string_view(AText).substr(size_t(AStarts[AIndex]),
                                             size_t(AStarts[AIndex + 1] - AStarts[AIndex]));
}
}  // namespace

void TNuo4PlayedNoteMap::Start(const TNuo4SimpleBuffer& ABuffer) {
    Clear();
    bStarted = true;
    FText = TextOf(ABuffer);
    FLineStarts = LineStarts(FText);
    FRanges.resize(size_t(std::max<int32_t>(0, ABuffer.Basic_GetCount())));
    for (size_t I = 0; I < FRanges.size(); ++I)
        FRanges[I] = GetABCTextRangeFromBasicIndex(ABuffer, int32_t(I), true);
}

void TNuo4PlayedNoteMap::Clear() {
    bStarted = bCompared = false;
    FText.clear();
    FRanges.clear();
    FLastText.clear();
    FLineStarts.clear();
    FLines.clear();
    FIndexByStart.clear();
}

void TNuo4PlayedNoteMap::Compare(const TNuo4SimpleBuffer& ABuffer) {
    const std::u16string& New = TextOf(ABuffer);
    if (bCompared && New == FLastText) return;
    bCompared = true;
    FLastText = New;
    const std::vector<int32_t> NewStarts = LineStarts(New);
    const size_t N = FLineStarts.size() - 1, M = NewStarts.size() - 1;
    FLines.assign(N, TLineMatch());
    const auto OldLine = [&](size_t I) { return Line(FText, FLineStarts, I); };
    const auto NewLine = [&](size_t J) { return Line(New, NewStarts, J); };
    // Lines kept at the start and the end, then the longest common run of lines between.
    size_t Head = 0;
    while (Head < N && Head < M && OldLine(Head) == NewLine(Head)) ++Head;
    size_t Tail = 0;
    while (Tail < N - Head && Tail < M - Head && OldLine(N - 1 - Tail) == NewLine(M - 1 - Tail))
        ++Tail;
    const size_t A = N - Head - Tail, B = M - Head - Tail;
    std::vector<std::pair<size_t, size_t>> Kept;  // (old, new) line pairs, ascending
    for (size_t K = 0; K < Head; ++K) Kept.push_back({K, K});
    if (A > 0 && B > 0 && A * B <= 4000000) {
        std::vector<uint32_t> L((A + 1) * (B + 1), 0);  // common lines of the suffixes
        for (size_t I = A; I-- > 0;)
            for (size_t J = B; J-- > 0;)
                L[I * (B + 1) + J] =
                    OldLine(Head + I) == NewLine(Head + J)
                        ? L[(I + 1) * (B + 1) + J + 1] + 1
                        : std::max(L[(I + 1) * (B + 1) + J], L[I * (B + 1) + J + 1]);
        for (size_t I = 0, J = 0; I < A && J < B;) {
            if (OldLine(Head + I) == NewLine(Head + J)) {
                Kept.push_back({Head + I++, Head + J++});
            } else if (L[(I + 1) * (B + 1) + J] >= L[I * (B + 1) + J + 1]) {
                ++I;
            } else {
                ++J;
            }
        }
    }
    for (size_t K = 0; K < Tail; ++K) Kept.push_back({N - Tail + K, M - Tail + K});
    for (const auto& [I, J] : Kept) {
        FLines[I].bSame = true;
        FLines[I].NewStart = NewStarts[J];
    }
    // Between two kept lines, as many lines on both sides: each changed in place.
    size_t PrevOld = 0, PrevNew = 0;
    Kept.push_back({N, M});
    for (const auto& [I, J] : Kept) {
        if (I - PrevOld == J - PrevNew)
            for (size_t K = 0; K < I - PrevOld; ++K) {
                const std::u16string_view O = OldLine(PrevOld + K), W = NewLine(PrevNew + K);
                TLineMatch& Match = FLines[PrevOld + K];
                const size_t Common = std::min(O.size(), W.size());
                size_t P = 0;
                while (P < Common && O[P] == W[P]) ++P;
                size_t S = 0;
                while (S < Common - P && O[O.size() - 1 - S] == W[W.size() - 1 - S]) ++S;
                Match.NewStart = NewStarts[PrevNew + K];
                Match.NewLength = int32_t(W.size());
                Match.Prefix = int32_t(P);
                Match.Suffix = int32_t(S);
            }
        PrevOld = I + 1;
        PrevNew = J + 1;
    }
    FIndexByStart.clear();
    for (int32_t I = 0; I < ABuffer.Basic_GetCount(); ++I) {
        const TKoRange R = GetABCTextRangeFromBasicIndex(ABuffer, I, true);
        if (R.StartIndex >= 0) FIndexByStart.emplace(R.StartIndex, I);
    }
}

int32_t TNuo4PlayedNoteMap::Map(int32_t APlayedIndex, const TNuo4SimpleBuffer& ABuffer) {
    if (!bStarted || APlayedIndex < 0 || APlayedIndex >= int32_t(FRanges.size())) return -1;
    if (TextOf(ABuffer) == FText)  // the same text gives the same layout
        return ABuffer.Basic_CheckIndex(APlayedIndex) ? APlayedIndex : -1;
    const TKoRange R = FRanges[size_t(APlayedIndex)];
    if (R.StartIndex < 0 || R.Length <= 0) return -1;
    Compare(ABuffer);
    // The line of the symbol; a symbol over a line break has no line of its own.
    const auto It = std::upper_bound(FLineStarts.begin(), FLineStarts.end(), R.StartIndex);
    if (It == FLineStarts.begin()) return -1;
    const size_t L = size_t(It - FLineStarts.begin() - 1);
    if (L >= FLines.size() || R.StartIndex + R.Length > FLineStarts[L + 1]) return -1;
    const TLineMatch& Match = FLines[L];
    if (Match.NewStart < 0) return -1;
    const int32_t InLine = R.StartIndex - FLineStarts[L];
    const int32_t OldLength = FLineStarts[L + 1] - FLineStarts[L];
    int32_t Start = -1;
    if (Match.bSame)
        Start = Match.NewStart + InLine;
    else if (InLine + R.Length <= Match.Prefix)
        Start = Match.NewStart + InLine;
    else if (InLine >= OldLength - Match.Suffix)
        Start = Match.NewStart + InLine + (Match.NewLength - OldLength);
    if (Start < 0) return -1;
    const auto Found = FIndexByStart.find(Start);
    if (Found == FIndexByStart.end()) return -1;
    // The same text must make the whole symbol: "1" before an edit may begin "1_" after it.
    const TKoRange New = GetABCTextRangeFromBasicIndex(ABuffer, Found->second, true);
    return New.Length == R.Length ? Found->second : -1;
}

}  // namespace nuo4
