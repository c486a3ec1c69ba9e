#include "playback/played_note_map.h"

#include <algorithm>

#include "format/abc_buffer.h"
#include "layout/buffer_text_pos.h"
#include "layout/simple_buffer.h"

namespace nuo4 {

namespace {
const std::u16string& TextOf(const TNuo4SimpleBuffer& B) {
    static const std::u16string Empty;
    return B.GetABCBuffer() ? B.GetABCBuffer()->ABCText() : Empty;
}
}  // namespace

void TNuo4PlayedNoteMap::Start(const TNuo4SimpleBuffer& ABuffer) {
    Clear();
    bStarted = true;
    FText = TextOf(ABuffer);
    FRanges.resize(size_t(std::max<int32_t>(0, ABuffer.Basic_GetCount())));
    for (size_t I = 0; I < FRanges.size(); ++I)
        FRanges[I] = GetABCTextRangeFromBasicIndex(ABuffer, int32_t(I), true);
}

void TNuo4PlayedNoteMap::Clear() {
    bStarted = bCompared = false;
    FText.clear();
    FRanges.clear();
    FLastText.clear();
    FIndexByStart.clear();
}

void TNuo4PlayedNoteMap::Compare(const TNuo4SimpleBuffer& ABuffer) {
    const std::u16string& New = TextOf(ABuffer);
    if (bCompared && New == FLastText) return;
    bCompared = true;
    FLastText = New;
    const size_t Common = std::min(FText.size(), New.size());
    size_t P = 0;
    while (P < Common && FText[P] == New[P]) ++P;
    size_t S = 0;
    while (S < Common - P && FText[FText.size() - 1 - S] == New[New.size() - 1 - S]) ++S;
    FPrefix = int32_t(P);
    FSuffix = int32_t(S);
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
    const int32_t Shift = int32_t(FLastText.size()) - int32_t(FText.size());
    int32_t Start = -1;
    if (R.StartIndex + R.Length <= FPrefix)
        Start = R.StartIndex;
    else if (R.StartIndex >= int32_t(FText.size()) - FSuffix)
        Start = R.StartIndex + Shift;
    if (Start < 0) return -1;
    const auto It = FIndexByStart.find(Start);
    if (It == FIndexByStart.end()) return -1;
    // The same text must make the whole symbol: "1" before an edit may begin "1_" after it.
    const TKoRange N = GetABCTextRangeFromBasicIndex(ABuffer, It->second, true);
    return N.Length == R.Length ? It->second : -1;
}

}  // namespace nuo4
