// Random requests on generated scores (notes, chords, graces, slurs, tuplets, bar lines, lyrics,
// attachments): an accepted answer applies cleanly, the rebuilt score reads back without new
// unread text, every attach symbol keeps an owner, no attachment item loses its owner, and a
// note inserted and deleted again leaves the text as it was.
#include <algorithm>
#include <random>

#include "edit_test_support.h"
#include "gen/edit_request_gen.h"
#include "gen/score_gen.h"

using namespace nuo4;
using namespace nuo4::test;

namespace {

// Characters of the voice section that no symbol read: text the parser gave up on.
int32_t UnreadVoiceChars(const TNuo4ABCBuffer& ABC) {
    const auto& V = ABC.Section_Voice;
    if (!V.ABCTextRange_Line.IsValid()) return 0;
    const std::u16string& T = ABC.ABCText();
    std::vector<bool> Read(T.size(), false);
    for (const auto& S : V.Buffer) {
        const TKoRange R = S->Header.ABCTextRange;
        for (int32_t P = R.StartIndex;
             P >= 0 && P < R.StartIndex + R.Length && P < int32_t(T.size()); ++P)
            Read[P] = true;
    }
    int32_t N = 0;
    for (int L = V.ABCTextRange_Line.StartIndex; L <= V.ABCTextRange_Line.EndIndex(); ++L) {
        if (ABC.LineTypeArray[L] == altSectionVoice_Start) continue;
        for (const TKoRange& Piece : ABC.NonCommentRangesArrayArray[L])
            for (int32_t P = Piece.StartIndex; Piece.IsNonEmpty() && P <= Piece.EndIndex(); ++P)
                if (!Read[P] && T[P] != u' ' && T[P] != u'\t') ++N;
    }
    return N;
}

// Attachments items that found no owner.
int32_t OwnerlessItems(const TNuo4SimpleBuffer& B) {
    std::vector<bool> Owned(B.GetABCBuffer()->Section_Attachments.Buffer.size(), false);
    for (int32_t A = 0; A < B.Attach_GetCount(); ++A) {
        const auto& I = B.Attach_GetSymbol(A)->CalcInfo.SymbolABCTextInfo;
        if (I.aType == spwabtSectionAttachments && I.AttachmentsBufIndex() >= 0 &&
            I.AttachmentsBufIndex() < int32_t(Owned.size()))
            Owned[I.AttachmentsBufIndex()] = true;
    }
    return int32_t(std::count(Owned.begin(), Owned.end(), false));
}

void ExpectOwners(const TNuo4SimpleBuffer& B) {
    for (int32_t A = 0; A < B.Attach_GetCount(); ++A)
        ASSERT_TRUE(B.Basic_CheckIndex(B.Attach_GetBasicIndex(A)));
}

// The voice section's text.
std::u16string VoiceText(const std::u16string& T) {
    const size_t A = T.find(u".Voice\r"), Z = T.find(u"\r.Words");
    return T.substr(A, Z - A);
}

// The voice's tokens between white space.
std::vector<std::u16string> Tokens(const std::u16string& T) {
    std::vector<std::u16string> R(1);
    for (char16_t C : T) {
        if (C == u' ' || C == u'\r' || C == u'\t') {
            if (!R.back().empty()) R.emplace_back();
        } else {
            R.back() += C;
        }
    }
    return R;
}

// The owner of every attachments item, in item order (-1 without one).
std::vector<int32_t> AttachmentOwners(const TNuo4SimpleBuffer& B) {
    std::vector<int32_t> R(B.GetABCBuffer()->Section_Attachments.Buffer.size(), -1);
    for (int32_t A = 0; A < B.Attach_GetCount(); ++A) {
        const auto& I = B.Attach_GetSymbol(A)->CalcInfo.SymbolABCTextInfo;
        if (I.aType == spwabtSectionAttachments && I.AttachmentsBufIndex() >= 0 &&
            I.AttachmentsBufIndex() < int32_t(R.size()))
            R[I.AttachmentsBufIndex()] = B.Attach_GetBasicIndex(A);
    }
    return R;
}

class EditProperty : public EditTest {};

}  // namespace

TEST_F(EditProperty, AcceptedAnswersApplyAndKeepTheScoreWhole) {
    int Accepted = 0;
    for (uint64_t Variant = 1; Variant <= 3; ++Variant) {
        std::u16string Text = ABC_AdjustLineBreak(gen::GenerateScore(Variant, 1500));
        std::mt19937 Rng{uint32_t(Variant)};
        for (int Step = 0; Step < 50; ++Step) {
            BuildText(Text);
            const int32_t Unread = UnreadVoiceChars(*FABC);
            const int32_t Ownerless = OwnerlessItems(*FBuf);
            const int Kind = int(Rng() % gen::EditRequestKindCount);
            gen::PlaceCaret(*FBuf, int32_t(Rng() % 1000), Rng() % 3 ? 0 : int32_t(Rng() % 6));
            TrecNuo4EditState State;
            State.bAutoInsertBarline = Rng() % 2;
            State.ConsecutiveNoteCount = int32_t(Rng() % 5);
            TrecNuo4EditResult R;
            std::string Name;
            const bool bOk =
                gen::RunEditRequest(*FBuf, State, Kind, int32_t(Rng() % 4096), R, Name);
            ASSERT_EQ(bOk, R.bAccepted) << Name;
            if (!bOk) {
                EXPECT_TRUE(R.Items.empty()) << Name;
                continue;
            }
            ++Accepted;
            std::u16string Edited = FABC->ABCText();
            std::string Error;
            ASSERT_TRUE(ApplyTextReplaceItems(Edited, R.Items, &Error)) << Name << ": " << Error;
            BuildText(Edited);
            ExpectOwners(*FBuf);
            EXPECT_LE(UnreadVoiceChars(*FABC), Unread) << Name << "\n" << U8(Edited);
            // Deleting a symbol may take its attachments along, but never strands one.
            EXPECT_LE(OwnerlessItems(*FBuf), Ownerless) << Name;
            Text = Edited;
        }
    }
    EXPECT_GT(Accepted, 40);
}

TEST_F(EditProperty, InsertThenDeleteOfANoteRestoresTheText) {
    int Exact = 0;
    for (uint64_t Variant = 11; Variant <= 14; ++Variant) {
        const std::u16string Text = ABC_AdjustLineBreak(gen::GenerateScore(Variant, 2000));
        std::mt19937 Rng{uint32_t(Variant)};
        for (int Step = 0; Step < 15; ++Step) {
            BuildText(Text);
            const int32_t N = FBuf->Basic_GetCount();
            ASSERT_GT(N, 2);
            const int32_t P = 1 + int32_t(Rng() % uint32_t(N - 2));  // never the document end
            const bool bBeforeNote = FBuf->Basic_IsNote(P);
            const std::vector<int32_t> Owners = AttachmentOwners(*FBuf);
            Caret(P - 1, true);
            TrecNuo4MusicPureNote Note;
            Note.SetPitch(1 + int32_t(Rng() % 7), 0, 0);
            Note.SetDuration(Rng() % 2 ? sd8th : sd4th);
            TrecNuo4EditResult R;
            ASSERT_TRUE(CanInsertSymbol_PureNote_Caret(*FBuf, {}, Note, R));
            std::u16string Edited = Text;
            ASSERT_TRUE(ApplyTextReplaceItems(Edited, R.Items));
            BuildText(Edited);
            ASSERT_EQ(FBuf->Basic_GetCount(), N + 1);
            ASSERT_TRUE(FBuf->Basic_IsNote(P));
            TNuo4ABCTextReplaceItems Del;
            ASSERT_TRUE(CanDeleteBasicSymbol(*FBuf, P, Del));
            ASSERT_TRUE(ApplyTextReplaceItems(Edited, Del));
            // Before a note the text is put in unchanged; elsewhere a separating space stays.
            if (bBeforeNote) {
                EXPECT_EQ(U8(VoiceText(Edited)), U8(VoiceText(Text)));
                ++Exact;
            } else {
                EXPECT_EQ(Tokens(VoiceText(Edited)), Tokens(VoiceText(Text)));
            }
            // Locations come back in the basic-index form, naming the same owners.
            BuildText(Edited);
            EXPECT_EQ(AttachmentOwners(*FBuf), Owners);
        }
    }
    EXPECT_GT(Exact, 10);
}
