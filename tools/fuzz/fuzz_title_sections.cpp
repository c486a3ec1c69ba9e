// Item lines of the title, fonts and page sections: every line of the input is read by the
// three grammars. Nothing may crash, every recorded range must lie inside the line, and what
// a writer produces must read back and write again to the same text.
#include <cstddef>
#include <cstdint>

#include "format/section_fonts.h"
#include "format/section_page.h"
#include "format/section_title.h"
#include "format/title_block_text.h"
#include "fuzz_input.h"

using namespace nuo4;

namespace {

TKoRange Whole(const std::u16string& S) {
    return TKoRange(0, static_cast<int32_t>(S.size()));
}

void CheckIn(TKoRange R, TKoRange ALine) {
    if (!R.IsValid()) return;
    NUO4_FUZZ_CHECK(R.StartIndex >= ALine.StartIndex && R.EndIndex() <= ALine.EndIndex());
}

void CheckTokens(const TNuo4ABCTokenInfoItems& ATokens, TKoRange ALine) {
    for (const auto& T : ATokens) CheckIn(T.ABCTextRange, ALine);
}

bool BracesBalanced(const std::u16string& S) {
    int Depth = 0;
    for (char16_t C : S) {
        if (C == u'{') ++Depth;
        if (C == u'}' && --Depth < 0) return false;
    }
    return Depth == 0;
}

void TitleLine(const std::u16string& AText, TKoRange ALine) {
    TrecNUo4SectionTitleItem Item;
    TNuo4ABCTokenInfoItems Tokens;
    int32_t End = -1;
    if (!Item.FromABCText(AText, ALine, Tokens, End)) return;
    CheckIn(TKoRange(End, 1), ALine);
    CheckTokens(Tokens, ALine);
    NUO4_FUZZ_CHECK(Item.ABCText.size() <= Nuo4CharArray1Capacity);
    const std::u16string W1 = Item.ToABCText();
    TrecNUo4SectionTitleItem Back;
    NUO4_FUZZ_CHECK(Back.FromABCText(W1, Whole(W1), Tokens, End));
    NUO4_FUZZ_CHECK(Back.ItemType == Item.ItemType);
    // A text cut at its capacity may end in white space or a comma, which the reader drops.
    if (Item.ItemType != tbitLinePos && Item.ABCText.size() < Nuo4CharArray1Capacity)
        NUO4_FUZZ_CHECK(Back.ABCText == Item.ABCText && Back.ToABCText() == W1);
    {
        const std::u16string W2 = Back.ToABCText();
        TrecNUo4SectionTitleItem Again;
        NUO4_FUZZ_CHECK(Again.FromABCText(W2, Whole(W2), Tokens, End));
        NUO4_FUZZ_CHECK(Again.ToABCText() == W2);
    }
    TrecNuo4SectionTitleBuffer B;
    B.UpdateFromItem(Item);
    B.GetInitMeter();
    B.GetInitKey();
    B.GetInitTempo();
    B.CheckForKeyAndMeters();
    B.ChangeInitKey(static_cast<int32_t>(AText.size() % 24) - 12);
    B.ChangeInitTempo(static_cast<double>(AText.size() % 300));
    NUO4_FUZZ_CHECK(B.GetText(tbitKeyAndMeters).size() <= Nuo4CharArray1Capacity);
    NUO4_FUZZ_CHECK(B.GetText(tbitExpression).size() <= Nuo4CharArray1Capacity);
    for (int I = 0; I < Nuo4TitleTextItemCount; ++I) {
        TrecNuo4TitleBlockTextItem T;
        T.Initialize_WordsByAndMusicBy(B.ABCTextArray[I]);
        // Stacked names: every label stands after lines that exist (a single-line item has no
        // stacked lines and its one label covers line 0 by definition).
        if (T.TextChord.empty()) continue;
        for (const auto& A : T.AfterTextChordArray)
            NUO4_FUZZ_CHECK(A.LineRange.StartIndex >= 0 &&
                            A.LineRange.StartIndex + A.LineRange.Length <=
                                static_cast<int32_t>(T.TextChord.size()));
    }
}

void FontLine(const std::u16string& AText, TKoRange ALine) {
    TrecNuo4ABCParseInfo_FontInfo Item;
    int32_t End = -1;
    if (!ReadFontItem(AText, ALine, Item, End)) return;
    CheckIn(TKoRange(End, 1), ALine);
    CheckIn(Item.Header.ABCTextRange, ALine);
    CheckTokens(Item.Header.TokenItems, ALine);
    NUO4_FUZZ_CHECK(Item.FontInfo.IsValid());
    const std::u16string W1 = Item.ToABCText();
    TrecNuo4ABCParseInfo_FontInfo Back;
    NUO4_FUZZ_CHECK(ReadFontItem(W1, Whole(W1), Back, End));
    NUO4_FUZZ_CHECK(Back.FontUsage == Item.FontUsage &&
                    Back.FontInfo.FamilyName == Item.FontInfo.FamilyName &&
                    Back.FontInfo.Style == Item.FontInfo.Style);
    const std::u16string W2 = Back.ToABCText();
    TrecNuo4ABCParseInfo_FontInfo Again;
    NUO4_FUZZ_CHECK(ReadFontItem(W2, Whole(W2), Again, End) && Again.ToABCText() == W2);
}

void PageLine(const std::u16string& AText, TKoRange ALine) {
    TrecNuo4SectiontItemWithParseInfo_Page Item;
    int32_t End = -1;
    if (!ReadPageItem(AText, ALine, Item, End)) return;
    CheckIn(TKoRange(End, 1), ALine);
    CheckIn(Item.Header.ABCTextRange, ALine);
    CheckTokens(Item.Header.TokenItems, ALine);
    const auto& V = Item.Value;
    if (V.IsMemo()) NUO4_FUZZ_CHECK(V.Memo.PrivateOptions.ABCText.size() <= 1000);
    // A title block text with unbalanced braces cannot be written inside braces.
    if (V.IsTitleBlock())
        for (int I = 0; I < Nuo4TitleTextItemCount; ++I)
            if (!BracesBalanced(V.TitleBlock.TitleBuffer.ABCTextArray[I])) return;
    const std::u16string W1 = V.ToABCText();
    TrecNuo4SectiontItemWithParseInfo_Page Back;
    NUO4_FUZZ_CHECK(ReadPageItem(W1, Whole(W1), Back, End));
    NUO4_FUZZ_CHECK(Back.Value.Header.aType == V.Header.aType);
    NUO4_FUZZ_CHECK(Back.Value.Header.Location.PageIndex == V.Header.Location.PageIndex);
    if (V.IsMemo() && V.Memo.PrivateOptions.ABCText.size() < Nuo4CharArray2Capacity)
        NUO4_FUZZ_CHECK(Back.Value.Memo.PrivateOptions.ABCText == V.Memo.PrivateOptions.ABCText);
    const std::u16string W2 = Back.Value.ToABCText();
    TrecNuo4SectiontItemWithParseInfo_Page Again;
    NUO4_FUZZ_CHECK(ReadPageItem(W2, Whole(W2), Again, End) && Again.Value.ToABCText() == W2);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
    const fuzz::TFuzzInput In = fuzz::DecodeFuzzInput(AData, ASize);
    const std::u16string& T = In.Text;
    size_t Start = 0;
    while (Start <= T.size()) {
        size_t Stop = T.find_first_of(u"\r\n", Start);
        if (Stop == std::u16string::npos) Stop = T.size();
        const TKoRange Line = ABC_TrimRange(
            T, TKoRange(static_cast<int32_t>(Start), static_cast<int32_t>(Stop - Start)));
        if (Line.IsNonEmpty()) {
            TitleLine(T, Line);
            FontLine(T, Line);
            PageLine(T, Line);
        }
        Start = Stop + 1;
    }
    return 0;
}
