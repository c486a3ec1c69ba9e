// The lyrics grammar on arbitrary text: nothing may crash, every range stays inside the text,
// every lyric read is valid, and writing lyrics and reading them again keeps each lyric apart
// with its skip marker and line break.
#include <cstddef>
#include <cstdint>

#include "format/abc_buffer.h"
#include "format/section_lyrics.h"
#include "fuzz_input.h"

using namespace nuo4;

namespace {

void CheckInside(TKoRange ARange, int32_t ALength) {
    if (!ARange.IsValid()) return;
    NUO4_FUZZ_CHECK(ARange.StartIndex + ARange.Length <= ALength);
}

// Texts with these characters are outside what the written forms promise to keep.
bool IsPlainText(const std::u16string& S) {
    if (S.size() > 1 && S.find(u'/') != std::u16string::npos) return false;
    return S.find_first_of(u"[]_{}\r\n") == std::u16string::npos;
}

void CheckVerse(const TrecNuo4ABCParseInfo_Lyrics_Verse& AVerse, int32_t ALength) {
    CheckInside(AVerse.ABCTextRange, ALength);
    CheckInside(AVerse.VersePrefix.Header.ABCTextRange, ALength);
    bool bPlain = true;
    for (const auto& L : AVerse.LyricsArray) {
        NUO4_FUZZ_CHECK(L.Text.Data.IsValid());
        NUO4_FUZZ_CHECK(L.Text.Data.TextUnderlineCountArray.size() == L.Text.Data.Text.size());
        CheckInside(L.Header.ABCTextRange, ALength);
        if (AVerse.ABCTextRange.IsValid())
            NUO4_FUZZ_CHECK(L.Header.ABCTextRange.EndIndex() <= AVerse.ABCTextRange.EndIndex());
        bPlain = bPlain && IsPlainText(L.Text.Data.Text);
    }
    TKoRangeArray Ranges;
    const std::u16string Written = AVerse.ToABCText_Lyrics(Ranges);
    NUO4_FUZZ_CHECK(Ranges.size() == AVerse.LyricsArray.size());
    for (const auto& R : Ranges) CheckInside(R, static_cast<int32_t>(Written.size()));
    if (!bPlain || Written.empty()) return;
    TrecNuo4ABCParseInfo_Lyrics_Verse Back;
    Back.AppendToLyricsArray(Written, TKoRange(0, static_cast<int32_t>(Written.size())));
    NUO4_FUZZ_CHECK(Back.LyricsArray.size() == AVerse.LyricsArray.size());
    for (size_t I = 0; I < Back.LyricsArray.size(); ++I) {
        const auto& A = AVerse.LyricsArray[I];
        const auto& B = Back.LyricsArray[I];
        NUO4_FUZZ_CHECK(A.RightLocation.BarlinesCount == B.RightLocation.BarlinesCount);
        NUO4_FUZZ_CHECK(A.RightLocation.NotesCount == B.RightLocation.NotesCount);
        NUO4_FUZZ_CHECK(A.Text.bLineBreak == B.Text.bLineBreak);
        NUO4_FUZZ_CHECK(A.Text.Data.GetPrefixText() == B.Text.Data.GetPrefixText());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
    const fuzz::TFuzzInput In = fuzz::DecodeFuzzInput(AData, ASize);
    const TNuo4ABCBuffer Buffer(In.Text);
    const int32_t N = static_cast<int32_t>(Buffer.ABCText().size());
    const auto& Sec = Buffer.Section_Lyrics;
    CheckInside(Sec.ABCTextRange_All, N);
    for (const auto& V : Sec.VerseBuffer) CheckVerse(V, N);

    // The same text read as the lyrics of one verse, as the verse dialog does.
    const std::u16string& T = In.Text;
    TrecNuo4ABCParseInfo_Lyrics_Verse Whole;
    Whole.VersePrefix.SetToDefaultForLyrics(TKoRange(0, 0));
    Whole.ABCTextRange = TKoRange(0, 0);
    Whole.AppendToLyricsArray(T, TKoRange(0, static_cast<int32_t>(T.size())));
    CheckVerse(Whole, static_cast<int32_t>(T.size()));

    TrecNuo4LyricVersePrefix_WithParseInfo Prefix;
    int32_t End = -1;
    if (ReadLyricVersePrefix(T, TKoRange(0, static_cast<int32_t>(T.size())), Prefix, End)) {
        const std::u16string S = Prefix.Value.ToABCText(true);
        TrecNuo4LyricVersePrefix_WithParseInfo Back;
        NUO4_FUZZ_CHECK(
            ReadLyricVersePrefix(S, TKoRange(0, static_cast<int32_t>(S.size())), Back, End));
    }
    return 0;
}
