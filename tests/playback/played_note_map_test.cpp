// The notes of a melody that plays on while its score is edited are found again in the new
// layout by their own text, and only there: a note the edit touched has no counterpart, and
// after another score is loaded nothing is found.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "format/abc_buffer.h"
#include "format/score_file.h"
#include "layout/simple_buffer.h"
#include "playback/played_note_map.h"
#include "render/music_font.h"

using namespace nuo4;

namespace {

struct TScore {
    explicit TScore(const std::u16string& AVoice, const std::u16string& AWords = u"a b c d e f g h")
        : ABC(u".Title\rKeyAndMeters = {1=C}{4/4}\r.Voice\r" + AVoice + u"\r.Words\rW1: " + AWords +
              u"\r"),
          B(&ABC) {
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
    const std::u16string W = u"a b c d e f g h";
    const TScore Played(u"1 2 3 4 | 5 6 7 1 |", W);
    ASSERT_EQ(Played.Notes.size(), 8u);
    const struct {
        const char* What;
        std::u16string Voice, Words;
        std::vector<int32_t> Ordinals;  // of each played note in the edited score
    } Cases[] = {
        {"unchanged", u"1 2 3 4 | 5 6 7 1 |", W, {0, 1, 2, 3, 4, 5, 6, 7}},
        {"a note inserted before all", u"5 1 2 3 4 | 5 6 7 1 |", W, {1, 2, 3, 4, 5, 6, 7, 8}},
        {"the third note changed", u"1 2 5 4 | 5 6 7 1 |", W, {0, 1, -1, 3, 4, 5, 6, 7}},
        {"a note lengthened in place", u"1 2 3 4- | 5 6 7 1 |", W, {0, 1, 2, -1, 4, 5, 6, 7}},
        {"the last measure removed", u"1 2 3 4 |", W, {0, 1, 2, 3, -1, -1, -1, -1}},
        {"two notes swapped", u"1 2 3 4 | 6 5 7 1 |", W, {0, 1, 2, 3, -1, -1, 6, 7}},
        // An edit of the voice and of a later line at once (attachments follow their notes).
        {"a note inserted and the words changed",
         u"5 1 2 3 4 | 5 6 7 1 |",
         u"x a b c d e f g h",
         {1, 2, 3, 4, 5, 6, 7, 8}},
        // Between two changes of one line nothing is sure: no mark rather than a wrong one.
        {"two changes in one line", u"1 2 5 4 | 5 6 6 1 |", W, {0, 1, -1, -1, -1, -1, -1, 7}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.What);
        TNuo4PlayedNoteMap Map;
        Map.Start(Played.B);
        const TScore Edited(C.Voice, C.Words);
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

namespace {

// A note typed before the first of a demo score, as in the editor: the edit also renumbers the
// attachments that name symbols by index, several lines below the voice.
TEST(PlayedNoteMap, DemoScoreEditedAtItsStart) {
    Nuo4Render_Init();
    std::u16string Text;
    std::string Error;
    ASSERT_TRUE(ReadScoreFile(NUO4_SOURCE_DIR "/resources/demo/molihua.nuoabc", Text, Error));
    TNuo4ABCBuffer PlayedABC(Text);
    TNuo4SimpleBuffer Played(&PlayedABC);
    const size_t Voice = Text.find(u".Voice\r") + 7;
    std::u16string EditedText = Text;
    EditedText.insert(Voice, u"1 ");
    TNuo4ABCBuffer EditedABC(EditedText);
    TNuo4SimpleBuffer Edited(&EditedABC);
    std::vector<int32_t> PlayedNotes, EditedNotes;
    for (int32_t I = 0; I < Played.Basic_GetCount(); ++I)
        if (Played.Basic_IsNote(I)) PlayedNotes.push_back(I);
    for (int32_t I = 0; I < Edited.Basic_GetCount(); ++I)
        if (Edited.Basic_IsNote(I)) EditedNotes.push_back(I);
    ASSERT_EQ(EditedNotes.size(), PlayedNotes.size() + 1);
    TNuo4PlayedNoteMap Map;
    Map.Start(Played);
    for (size_t K = 0; K < PlayedNotes.size(); ++K)
        EXPECT_EQ(Map.Map(PlayedNotes[K], Edited), EditedNotes[K + 1]) << "note " << K;
}

}  // namespace
