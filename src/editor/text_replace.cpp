#include "editor/text_replace.h"

#include <algorithm>
#include <vector>

namespace nuo4 {

TNuo4ABCTextReplaceItems Nuo4SortReplaceItems(const TNuo4ABCTextReplaceItems& AItems) {
    // The same rule as ApplyTextReplaceItems of the edit layer, so the text control and the
    // headless tools agree: at one start the text reads, left to right, the insertions in the
    // order the answer lists them, then the replaced range.
    std::vector<size_t> Order;
    for (size_t I = 0; I < AItems.size(); ++I)
        if (!AItems[I].IsInvalid()) Order.push_back(I);
    std::stable_sort(Order.begin(), Order.end(), [&](size_t AI, size_t BI) {
        const TrecNuo4ABCTextReplaceItem &A = AItems[AI], &B = AItems[BI];
        if (A.TextRange.StartIndex != B.TextRange.StartIndex)
            return A.TextRange.StartIndex > B.TextRange.StartIndex;
        // The replaced range goes first: inserted first, an insertion would be replaced with
        // the range. Each later insertion lands left of the earlier ones, so the listed order
        // is applied backwards.
        const bool AInsert = A.TextRange.Length == 0, BInsert = B.TextRange.Length == 0;
        if (AInsert != BInsert) return BInsert;
        return AI > BI;
    });
    TNuo4ABCTextReplaceItems R;
    for (size_t I : Order) R.push_back(AItems[I]);
    return R;
}

namespace {
std::u16string Breaks(std::u16string_view T, char16_t ABreak) {
    std::u16string R;
    R.reserve(T.size());
    for (size_t I = 0; I < T.size(); ++I) {
        const char16_t C = T[I];
        if (C == u'\r') {
            R += ABreak;
            if (I + 1 < T.size() && T[I + 1] == u'\n') ++I;
        } else if (C == u'\n') {
            R += ABreak;
        } else {
            R += C;
        }
    }
    return R;
}
}  // namespace

std::u16string Nuo4TextToCRBreaks(std::u16string_view AText) {
    return Breaks(AText, u'\r');
}
std::u16string Nuo4TextToLFBreaks(std::u16string_view AText) {
    return Breaks(AText, u'\n');
}
std::u16string Nuo4TextAsControlReadsIt(std::u16string_view AText) {
    std::u16string R = Breaks(AText, u'\r');
    for (char16_t& C : R) {
        if (C == u'\u2028' || C == u'\u2029' || C == u'\uFDD0' || C == u'\uFDD1')
            C = u'\r';
        else if (C == u'\u00A0')
            C = u' ';
    }
    return R;
}

bool Nuo4CheckReplaceItems(const TNuo4ABCTextReplaceItems& ASorted, int32_t ATextLength) {
    int32_t Floor = ATextLength;  // start of the previous (later) item's range
    for (const TrecNuo4ABCTextReplaceItem& I : ASorted) {
        const TKoRange R = I.TextRange;
        if (R.StartIndex < 0 || R.Length < 0 || R.StartIndex + R.Length > ATextLength) return false;
        // Sorted from the end: each range must end where the later one starts, or before.
        if (R.Length > 0 && R.StartIndex + R.Length > Floor) return false;
        Floor = std::min(Floor, R.StartIndex);
    }
    return true;
}

bool Nuo4ApplyReplaceItems(std::u16string& AText, const TNuo4ABCTextReplaceItems& AItems) {
    const TNuo4ABCTextReplaceItems Sorted = Nuo4SortReplaceItems(AItems);
    if (!Nuo4CheckReplaceItems(Sorted, int32_t(AText.size()))) return false;
    for (const TrecNuo4ABCTextReplaceItem& I : Sorted)
        AText.replace(size_t(I.TextRange.StartIndex), size_t(I.TextRange.Length),
                      Nuo4TextToCRBreaks(I.NewText));
    return true;
}

}  // namespace nuo4

namespace nuo4 {

namespace {
// Start positions of the lines of a CR-break text.
std::vector<int32_t> LineStarts(std::u16string_view T) {
    std::vector<int32_t> S{0};
    for (size_t I = 0; I < T.size(); ++I)
        if (T[I] == u'\r') S.push_back(int32_t(I + 1));
    return S;
}
int32_t LineOf(const std::vector<int32_t>& AStarts, int32_t APos) {
    return int32_t(std::upper_bound(AStarts.begin(), AStarts.end(), APos) - AStarts.begin()) - 1;
}
}  // namespace

TNuo4ABCTextReplaceItems Nuo4ToggleLineComments(std::u16string_view T, int32_t ASelStart,
                                                int32_t ASelEnd) {
    const std::vector<int32_t> Starts = LineStarts(T);
    const int32_t N = int32_t(T.size());
    const int32_t First = LineOf(Starts, std::clamp(std::min(ASelStart, ASelEnd), 0, N));
    const int32_t Last = LineOf(Starts, std::clamp(std::max(ASelStart, ASelEnd), 0, N));
    bool bAll = true;
    for (int32_t L = First; L <= Last && bAll; ++L)
        bAll = T.substr(size_t(Starts[L])).starts_with(u"//");
    TNuo4ABCTextReplaceItems R;
    for (int32_t L = First; L <= Last; ++L) {
        TrecNuo4ABCTextReplaceItem I;
        if (bAll)
            I.InitializeForDelete(TKoRange(Starts[L], 2));
        else
            I.InitializeForInsert(Starts[L], u"//");
        R.push_back(I);
    }
    return R;
}

TNuo4ABCTextReplaceItems Nuo4RemoveContinueBlankLines(std::u16string_view T) {
    const std::vector<int32_t> Starts = LineStarts(T);
    const int32_t Count = int32_t(Starts.size());
    auto LineEnd = [&](int32_t L) {  // position of the line's CR, or the text's end
        return L + 1 < Count ? Starts[L + 1] - 1 : int32_t(T.size());
    };
    auto Blank = [&](int32_t L) {
        for (int32_t P = Starts[L]; P < LineEnd(L); ++P)
            if (T[P] != u' ' && T[P] != u'\t') return false;
        return true;
    };
    TNuo4ABCTextReplaceItems R;
    // Walking from the last line up, as the items then come out in descending order.
    for (int32_t L = Count - 1; L >= 0;) {
        if (!Blank(L)) {
            --L;
            continue;
        }
        int32_t First = L;
        while (First > 0 && Blank(First - 1)) --First;
        if (L - First + 1 > 2) {
            // Lines First+2 .. L go, each with the break that ends the line before it.
            const int32_t From = LineEnd(First + 1);
            TrecNuo4ABCTextReplaceItem I;
            I.InitializeForDelete(TKoRange(From, LineEnd(L) - From));
            R.push_back(I);
        }
        L = First - 1;
    }
    return R;
}

}  // namespace nuo4
