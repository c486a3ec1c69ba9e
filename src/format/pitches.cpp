#include "format/pitches.h"

#include <algorithm>

namespace nuo4 {

int Pitches_IndexOf(const TNuo4Pitches& APitches, const TrecNuo4Pitch& APitch) {
    for (size_t I = 0; I < APitches.size(); ++I)
        if (APitches[I] == APitch) return static_cast<int>(I);
    return -1;
}

bool Pitches_Equal(const TNuo4Pitches& A, const TNuo4Pitches& B) {
    if (A.size() != B.size()) return false;
    for (size_t I = 0; I < A.size(); ++I)
        if (!(A[I] == B[I])) return false;
    return true;
}

bool Pitches_IsSingle(const TNuo4Pitches& APitches) {
    return APitches.size() == 1;
}

bool Pitches_IsMultiple(const TNuo4Pitches& APitches) {
    return APitches.size() > 1;
}

bool Pitches_CanOctaveUp(const TNuo4Pitches& APitches) {
    if (APitches.empty()) return false;
    return std::all_of(APitches.begin(), APitches.end(),
                       [](const TrecNuo4Pitch& P) { return P.Octave < Nuo4MaxOctave; });
}

bool Pitches_CanOctaveDown(const TNuo4Pitches& APitches) {
    if (APitches.empty()) return false;
    return std::all_of(APitches.begin(), APitches.end(),
                       [](const TrecNuo4Pitch& P) { return P.Octave > Nuo4MinOctave; });
}

bool Pitches_OctaveUp(TNuo4Pitches& APitches) {
    if (!Pitches_CanOctaveUp(APitches)) return false;
    for (auto& P : APitches) ++P.Octave;
    return true;
}

bool Pitches_OctaveDown(TNuo4Pitches& APitches) {
    if (!Pitches_CanOctaveDown(APitches)) return false;
    for (auto& P : APitches) --P.Octave;
    return true;
}

void Pitches_Sort(TNuo4Pitches& APitches, bool bReverse) {
    if (bReverse)
        std::sort(APitches.begin(), APitches.end(),
                  [](const TrecNuo4Pitch& A, const TrecNuo4Pitch& B) { return A > B; });
    else
        std::sort(APitches.begin(), APitches.end(),
                  [](const TrecNuo4Pitch& A, const TrecNuo4Pitch& B) { return A < B; });
}

std::vector<TNuo4MidiNote> Pitches_ToMidiNotes(const TNuo4Pitches& APitches, int32_t Transpose) {
    std::vector<TNuo4MidiNote> Result;
    Result.reserve(APitches.size());
    for (const auto& P : APitches) Result.push_back(P.IsValid() ? P.ToMidiNote(Transpose) : 0);
    return Result;
}

std::u16string Pitches_ToABCText(const TNuo4Pitches& APitches) {
    std::u16string S;
    for (const auto& P : APitches) S += P.ToABCText();
    return S;
}

std::u16string Pitches_ToABCText_Grace(const TNuo4Pitches& APitches) {
    return u"{" + Pitches_ToABCText(APitches) + u"}";
}

std::u16string Pitches_ToABCText_Chord(const TNuo4Pitches& APitches) {
    if (APitches.empty()) return u"";
    if (APitches.size() == 1) return APitches[0].ToABCText();
    return u"[" + Pitches_ToABCText(APitches) + u"]";
}

void Pitches_Add(TNuo4Pitches& APitches, const TrecNuo4Pitch& APitch) {
    APitches.push_back(APitch);
}

void Pitches_Add(TNuo4Pitches& APitches, const TNuo4Pitches& AMore) {
    APitches.insert(APitches.end(), AMore.begin(), AMore.end());
}

namespace {
// Clips [AStart, AStart + ACount) to the array; false when nothing remains.
bool ClipRange(size_t ASize, int AStart, int ACount, size_t& AFrom, size_t& ATo) {
    const int64_t From = std::max<int64_t>(AStart, 0);
    const int64_t To =
        std::min<int64_t>(static_cast<int64_t>(AStart) + ACount, static_cast<int64_t>(ASize));
    if (ACount <= 0 || From >= To) return false;
    AFrom = static_cast<size_t>(From);
    ATo = static_cast<size_t>(To);
    return true;
}
}  // namespace

TNuo4Pitches Pitches_Copy(const TNuo4Pitches& APitches, int AStart, int ACount) {
    size_t From = 0, To = 0;
    if (!ClipRange(APitches.size(), AStart, ACount, From, To)) return {};
    return TNuo4Pitches(APitches.begin() + From, APitches.begin() + To);
}

int Pitches_DeleteRange(TNuo4Pitches& APitches, int AStart, int ACount) {
    size_t From = 0, To = 0;
    if (!ClipRange(APitches.size(), AStart, ACount, From, To)) return 0;
    APitches.erase(APitches.begin() + From, APitches.begin() + To);
    return static_cast<int>(To - From);
}

}  // namespace nuo4
