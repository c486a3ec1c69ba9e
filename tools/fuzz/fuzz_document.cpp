// Whole documents: scan arbitrary (mostly score-like) text, apply a replace list, scan again,
// and run the section edits and clean-ups. Nothing may crash, every recorded range must lie in
// the text, and every edit the scanner proposes must apply to the text it was made from.
#include <cstddef>
#include <cstdint>

#include "format/abc_buffer.h"
#include "fuzz_input.h"

using namespace nuo4;

namespace {

void CheckRange(TKoRange R, size_t ASize) {
    if (!R.IsValid()) return;
    NUO4_FUZZ_CHECK(static_cast<size_t>(R.StartIndex) + static_cast<size_t>(R.Length) <= ASize);
}

void CheckHeader(const TrecNuo4ABCParseInfo_SymbolHeader& H, size_t ASize) {
    CheckRange(H.ABCTextRange, ASize);
    for (const auto& T : H.TokenItems) CheckRange(T.ABCTextRange, ASize);
}

void CheckEditApplies(const std::u16string& AText, const TrecNuo4ABCTextReplaceItem& AItem) {
    if (AItem.IsInvalid()) return;
    CheckRange(AItem.TextRange, AText.size());
    std::u16string Copy = AText;
    TNuo4ABCTextReplaceItems Items;
    Items.AddItem(AItem);
    NUO4_FUZZ_CHECK(ABC_ApplyReplaceItems(Copy, Items) == 1);
    TNuo4ABCBuffer After(Copy);  // the edited text scans again
}

void Exercise(const std::u16string& AText) {
    TNuo4ABCBuffer B(AText);
    const std::u16string& T = B.ABCText();
    const size_t N = T.size();
    // Lines are contiguous and cover the whole text.
    int32_t Next = 0;
    for (const auto& L : B.LineRangeArray) {
        NUO4_FUZZ_CHECK(L.StartIndex == Next && L.Length > 0);
        Next = L.StartIndex + L.Length;
    }
    NUO4_FUZZ_CHECK(static_cast<size_t>(Next) == N);
    NUO4_FUZZ_CHECK(B.LineTypeArray.size() == B.LineRangeArray.size());
    NUO4_FUZZ_CHECK(B.NonCommentRangesArrayArray.size() == B.LineRangeArray.size());
    for (const auto& C : B.CommentRangeArray) CheckRange(C, N);
    for (const auto& Pieces : B.NonCommentRangesArrayArray)
        for (const auto& P : Pieces) CheckRange(P, N);
    for (const auto& S : B.Section_Voice.Buffer) CheckHeader(S->Header, N);
    for (const auto& I : B.Section_Options.Buffer) CheckHeader(I.Header, N);
    for (const auto& I : B.Section_Fonts.Buffer) CheckHeader(I.Header, N);
    for (const auto& I : B.Section_Attachments.Buffer) CheckHeader(I.Header, N);
    for (const auto& I : B.Section_Page.Buffer) CheckHeader(I.Header, N);
    for (const auto& Tok : B.Section_Title.TokenItems) CheckRange(Tok.ABCTextRange, N);
    CheckRange(B.Section_Voice.ABCTextRange_All, N);
    CheckRange(B.Section_Lyrics.ABCTextRange_All, N);

    for (int32_t P : {-1, 0, static_cast<int32_t>(N / 2), static_cast<int32_t>(N),
                      static_cast<int32_t>(N) + 1}) {
        int Row, Col;
        B.GetRowColFromPos(P, Row, Col);
        NUO4_FUZZ_CHECK(Row <= B.GetABCLinesCount());
    }
    const int32_t Empty = B.SectionVoice_GetInsertPosWhenBufferIsEmtpy();
    NUO4_FUZZ_CHECK(Empty <= static_cast<int32_t>(N) + 1);
    const int32_t Last = B.SectionVoice_GetLastInsertPosWhenBufferIsNonEmtpy();
    NUO4_FUZZ_CHECK(Last <= static_cast<int32_t>(N));

    TrecNuo4ABCTextReplaceItem Item;
    B.SectionVoice_AppendSymbol(u"1_2_3_", Item);
    CheckEditApplies(T, Item);
    B.SectionLyrics_AppendLyricsVerse(u"W2@1,1:\r\u6211\u4eec", Item);
    CheckEditApplies(T, Item);
    B.SectionAttachments_AddItemText(u"Often@1,1(0.00,-2.50) = HuanQi, {}, []", Item);
    CheckEditApplies(T, Item);
    B.SectionOptions_EditItemText(soitPaper, u"Paper = 297, 210", Item);
    CheckEditApplies(T, Item);
    B.SectionPage_AddItemText(u"Memo@1,20.00,35.50 = 60.0, Memo1, AlignCenter, True, $ff000000, x",
                              Item);
    CheckEditApplies(T, Item);

    TNuo4ABCTextReplaceItems Items;
    for (auto Format : {&TNuo4ABCBuffer::FormatSectionVoice_RemoveBlankLines,
                        &TNuo4ABCBuffer::FormatSectionAttachments_RemoveBlankLines,
                        &TNuo4ABCBuffer::FormatSectionVoice_RemoveComment}) {
        Items.clear();
        if ((B.*Format)(Items)) {
            for (const auto& I : Items) CheckRange(I.TextRange, N);
            std::u16string Copy = T;
            NUO4_FUZZ_CHECK(ABC_ApplyReplaceItems(Copy, Items) == static_cast<int>(Items.size()));
        }
    }
    B.UpdateOptions();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
    fuzz::TFuzzInput In = fuzz::DecodeFuzzInput(AData, ASize);
    Exercise(In.Text);
    if (!In.Replaces.empty()) {
        std::u16string Edited = TNuo4ABCBuffer(In.Text).ABCText();
        ABC_ApplyReplaceItems(Edited, In.Replaces);
        Exercise(Edited);
    }
    return 0;
}
