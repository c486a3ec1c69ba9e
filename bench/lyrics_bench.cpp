// Lyrics speed: reading verses of N lyrics and writing them back.
#include <benchmark/benchmark.h>

#include <string>

#include "format/section_lyrics.h"

using namespace nuo4;

namespace {

// A verse text mixing the lyric forms: single characters, words, punctuation, braced lyrics
// with extension lines and centring brackets, skip markers and line breaks.
std::u16string VerseText(int64_t ALyrics) {
    static const std::u16string Forms[] = {
        u"\u6211 ", u"hello ", u"\uFF08\u4F60\uFF09/ ",   u"{\u6211_\u4EEC}// ",
        u"hel-",    u"lo, ",   u"{(\u5973)[\u6211]}||/ ", u"\u597D\uFF0C\r\n"};
    std::u16string S;
    for (int64_t I = 0; I < ALyrics; ++I) S += Forms[I % 8];
    return S;
}

void BM_ReadVerse(benchmark::State& AState) {
    const std::u16string Text = VerseText(AState.range(0));
    for (auto _ : AState) {
        TrecNuo4ABCParseInfo_Lyrics_Verse Verse;
        Verse.AppendToLyricsArray(Text, TKoRange(0, static_cast<int32_t>(Text.size())));
        benchmark::DoNotOptimize(Verse.LyricsArray.size());
    }
    AState.SetItemsProcessed(AState.iterations() * AState.range(0));
}
BENCHMARK(BM_ReadVerse)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_WriteVerse(benchmark::State& AState) {
    const std::u16string Text = VerseText(AState.range(0));
    TrecNuo4ABCParseInfo_Lyrics_Verse Verse;
    Verse.AppendToLyricsArray(Text, TKoRange(0, static_cast<int32_t>(Text.size())));
    for (auto _ : AState) {
        TKoRangeArray Ranges;
        benchmark::DoNotOptimize(Verse.ToABCText_Lyrics(Ranges).size());
    }
    AState.SetItemsProcessed(AState.iterations() * AState.range(0));
}
BENCHMARK(BM_WriteVerse)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace
