// The document scanner on arbitrary text: nothing may crash, every range stays inside the text,
// and the edits it computes apply cleanly and never overlap.
#include <cstddef>
#include <cstdint>

#include "format/abc_buffer.h"
#include "fuzz_input.h"

using namespace nuo4;

namespace {

int KnownHeaders(const TNuo4ABCBuffer& B) {
    int Count = 0;
    for (auto T : B.LineTypeArray)
        if (ABC_IsHeaderLineType(T) && T != altSectionUnknown_Start) ++Count;
    return Count;
}

void CheckEdit(const TNuo4ABCBuffer& B, const TrecNuo4ABCTextReplaceItem& AItem) {
    const std::u16string& AText = B.ABCText();
    if (AItem.IsInvalid()) return;
    const int32_t N = static_cast<int32_t>(AText.size());
    NUO4_FUZZ_CHECK(AItem.TextRange.StartIndex >= 0 && AItem.TextRange.Length >= 0);
    NUO4_FUZZ_CHECK(AItem.TextRange.StartIndex + AItem.TextRange.Length <= N);
    TNuo4ABCTextReplaceItems Items;
    Items.AddItem(AItem);
    std::u16string After = AText;
    NUO4_FUZZ_CHECK(ABC_ApplyReplaceItems(After, Items) == 1);
    const TNuo4ABCBuffer Again(After);  // the edited text scans again
    NUO4_FUZZ_CHECK(Again.ABCText().size() == After.size());
    // An edit never glues text to a header line.
    NUO4_FUZZ_CHECK(KnownHeaders(Again) >= KnownHeaders(B));
}

void CheckDeletes(const std::u16string& AText, const TNuo4ABCTextReplaceItems& AItems) {
    int32_t LastEnd = -1;
    for (const auto& Item : AItems) {
        NUO4_FUZZ_CHECK(Item.NewText.empty() && Item.TextRange.IsNonEmpty());
        NUO4_FUZZ_CHECK(Item.TextRange.StartIndex > LastEnd);  // sorted, never overlapping
        NUO4_FUZZ_CHECK(Item.TextRange.EndIndex() < static_cast<int32_t>(AText.size()));
        LastEnd = Item.TextRange.EndIndex();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
    const fuzz::TFuzzInput In = fuzz::DecodeFuzzInput(AData, ASize);
    const TNuo4ABCBuffer B(In.Text);
    const std::u16string& T = B.ABCText();
    const int32_t N = static_cast<int32_t>(T.size());
    const int Lines = B.GetABCLinesCount();

    int32_t Next = 0;
    for (int L = 0; L < Lines; ++L) {
        const TKoRange Line = B.LineRangeArray[L];
        NUO4_FUZZ_CHECK(Line.StartIndex == Next && Line.Length > 0);
        Next = Line.StartIndex + Line.Length;
        const auto& Pieces = B.NonCommentRangesArrayArray[L];
        NUO4_FUZZ_CHECK(!Pieces.empty());
        int32_t PieceEnd = Line.StartIndex - 1;
        for (const TKoRange& P : Pieces) {
            if (!P.IsValid()) {
                NUO4_FUZZ_CHECK(Pieces.size() == 1);
                continue;
            }
            NUO4_FUZZ_CHECK(P.Length > 0 && P.StartIndex > PieceEnd);
            NUO4_FUZZ_CHECK(P.EndIndex() <= Line.EndIndex());
            PieceEnd = P.EndIndex();
        }
        int Row, Col;
        B.GetRowColFromPos(Line.StartIndex, Row, Col);
        NUO4_FUZZ_CHECK(Row == L && Col == 0);
    }
    NUO4_FUZZ_CHECK(Next == N);
    for (const TKoRange& C : B.CommentRangeArray)
        NUO4_FUZZ_CHECK(C.IsNonEmpty() && C.EndIndex() < N);

    // Section line ranges lie inside the text and never overlap.
    std::vector<int> Owner(Lines, -1);
    for (int S = 0; S < Nuo4ABCSectionTypeCount; ++S) {
        const TKoRange R = B.GetLineIndexRange_Section(static_cast<TNuo4ABCSectionType>(S));
        if (!R.IsValid()) continue;
        NUO4_FUZZ_CHECK(R.Length > 0 && R.EndIndex() < Lines);
        for (int L = R.StartIndex; L <= R.EndIndex(); ++L) {
            NUO4_FUZZ_CHECK(Owner[L] < 0);
            Owner[L] = S;
        }
    }

    TrecNuo4ABCTextReplaceItem Item;
    B.SectionVoice_AppendSymbol(u"1", Item);
    CheckEdit(B, Item);
    B.SectionLyrics_AppendLyricsVerse(u"a", Item);
    CheckEdit(B, Item);
    B.SectionAttachments_AddItemText(u"x", Item);
    CheckEdit(B, Item);
    B.SectionPage_AddItemText(u"x", Item);
    CheckEdit(B, Item);
    B.SectionOptions_EditItemText(soitDigit, u"x", Item);
    CheckEdit(B, Item);
    B.SectionFonts_EditItemText(fuTitle, u"x", Item);
    CheckEdit(B, Item);
    B.SectionTitle_EditTitleBlockText(u"x", u".Title\rx", Item);
    CheckEdit(B, Item);
    const int32_t Pos = B.SectionVoice_GetInsertPosWhenBufferIsEmtpy();
    NUO4_FUZZ_CHECK(Pos >= -1 && Pos <= N);
    NUO4_FUZZ_CHECK(B.SectionVoice_GetLastInsertPosWhenBufferIsNonEmtpy() <= N);

    TNuo4ABCTextReplaceItems Deletes;
    B.FormatSectionVoice_RemoveBlankLines(Deletes);
    CheckDeletes(T, Deletes);
    B.FormatSectionAttachments_RemoveBlankLines(Deletes);
    CheckDeletes(T, Deletes);
    B.FormatSectionVoice_RemoveComment(Deletes);
    CheckDeletes(T, Deletes);
    return 0;
}
