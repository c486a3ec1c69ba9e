// The notes of a melody that plays on while its score is edited are found again in the new
// layout by their own text, and only there: a note the edit touched has no counterpart, and
// after another score is loaded nothing is found.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "format/abc_buffer.h"
#include "layout/simple_buffer.h"
#include "playback/played_note_map.h"
#include "render/music_font.h"

using namespace nuo4;

namespace {

struct TScore {
    explicit TScore(const std::u16string& AVoice)
        : ABC(u".Title\rKeyAndMeters = {1=C}{4/4}\r.Voice\r" + AVoice + u"\r"), B(&ABC) {
        for (int32_t I = 0; I < B.Basic_GetCount(); ++I)
            if (B.Basic_IsNote(I)) Notes.push_back(I);
    }
    // The note's ordinal among the score's notes; -1 for no note.
    int32_t Ordinal(int32_t ABasicIndex) const {
        for (size_t K = 0; K < Notes.size(); ++K)
            if (Notes[K] == ABasicIndex) return int32_t(K);
        return -1;
    }
    TNuo4ABCBuffer ABC;
    TNuo4SimpleBuffer B;
    std::vector<int32_t> Notes;
};

TEST(PlayedNoteMap, NotesAreFoundByTheirUntouchedText) {
    Nuo4Render_Init();
    const TScore Played(u"1 2 3 4 | 5 6 7 1 |");
    ASSERT_EQ(Played.Notes.size(), 8u);
    const struct {
        const char* What;
        std::u16string Voice;
        std::vector<int32_t> Ordinals;  // of each played note in the edited score
    } Cases[] = {
        {"unchanged", u"1 2 3 4 | 5 6 7 1 |", {0, 1, 2, 3, 4, 5, 6, 7}},
        {"a note inserted before all", u"5 1 2 3 4 | 5 6 7 1 |", {1, 2, 3, 4, 5, 6, 7, 8}},
        {"the third note changed", u"1 2 5 4 | 5 6 7 1 |", {0, 1, -1, 3, 4, 5, 6, 7}},
        {"a note lengthened in place", u"1 2 3 4- | 5 6 7 1 |", {0, 1, 2, -1, 4, 5, 6, 7}},
        {"the last measure removed", u"1 2 3 4 |", {0, 1, 2, 3, -1, -1, -1, -1}},
        {"two notes swapped", u"1 2 3 4 | 6 5 7 1 |", {0, 1, 2, 3, -1, -1, 6, 7}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.What);
        TNuo4PlayedNoteMap Map;
        Map.Start(Played.B);
        const TScore Edited(C.Voice);
        std::vector<int32_t> Got;
        for (int32_t I : Played.Notes) Got.push_back(Edited.Ordinal(Map.Map(I, Edited.B)));
        EXPECT_EQ(Got, C.Ordinals);
        // Asked again (the marker is placed on every note-on) the answer holds.
        EXPECT_EQ(Edited.Ordinal(Map.Map(Played.Notes[1], Edited.B)), C.Ordinals[1]);
        // Another score loaded: nothing of the former melody is marked.
        Map.Clear();
        EXPECT_EQ(Map.Map(Played.Notes[0], Edited.B), -1);
    }
}

}  // namespace
