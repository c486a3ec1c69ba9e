#include "edit/edit_apply.h"

#include <algorithm>
#include <vector>

namespace nuo4 {

namespace {

std::u16string WithSingleCR(const std::u16string& AText) {
    std::u16string R;
    R.reserve(AText.size());
    for (size_t I = 0; I < AText.size(); ++I) {
        R += AText[I];
        if (AText[I] == u'\r' && I + 1 < AText.size() && AText[I + 1] == u'\n') ++I;
    }
    return R;
}

bool Fail(std::string* AError, std::string AWhy) {
    if (AError) *AError = std::move(AWhy);
    return false;
}

}  // namespace

bool ApplyTextReplaceItems(std::u16string& AText, const TNuo4ABCTextReplaceItems& AItems,
                           std::string* AError) {
    struct TItem {
        int64_t Start, Length;
        size_t Order;  // place in the answer
    };
    std::vector<TItem> Items;
    Items.reserve(AItems.size());
    const int64_t Size = int64_t(AText.size());
    for (size_t I = 0; I < AItems.size(); ++I) {
        const TrecNuo4ABCTextReplaceItem& Item = AItems[I];
        const TKoRange R = Item.TextRange;
        if (R.Length == 0 && Item.NewText.empty() && R.StartIndex >= 0) continue;  // nothing
        if (R.StartIndex < 0 || R.Length < 0)
            return Fail(AError, "item " + std::to_string(I) + " has an invalid range");
        if (int64_t(R.StartIndex) + R.Length > Size)
            return Fail(AError, "item " + std::to_string(I) + " reaches past the text");
        Items.push_back({R.StartIndex, R.Length, I});
    }
    // Highest start first; at one start the replaced range before the insertions, insertions
    // from the last listed to the first, so that they read in answer order before it.
    std::sort(Items.begin(), Items.end(), [](const TItem& A, const TItem& B) {
        if (A.Start != B.Start) return A.Start > B.Start;
        if (A.Length != B.Length) return A.Length > B.Length;
        return A.Order > B.Order;
    });
    // Overlaps: walking down, every item must end at or before the start of the one applied
    // just before it (an insertion may sit at that start); two non-empty ranges at one start
    // overlap.
    for (size_t I = 1; I < Items.size(); ++I) {
        const TItem& Later = Items[I - 1];  // higher in the text
        const TItem& Cur = Items[I];
        const bool bSameStart = Cur.Start == Later.Start;
        if (bSameStart ? (Cur.Length > 0 && Later.Length > 0)
                       : Cur.Start + Cur.Length > Later.Start)
            return Fail(AError, "items " + std::to_string(Cur.Order) + " and " +
                                    std::to_string(Later.Order) + " overlap");
    }
    for (const TItem& Item : Items)
        AText.replace(size_t(Item.Start), size_t(Item.Length),
                      WithSingleCR(AItems[Item.Order].NewText));
    return true;
}

}  // namespace nuo4
