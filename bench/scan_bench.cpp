// Scanning speed: whole documents, and the voice grammar on its own.
#include <benchmark/benchmark.h>

#include "format/abc_buffer.h"
#include "gen/score_gen.h"

using namespace nuo4;

namespace {

bool NoOption(TText, TKoRange, TrecNuo4ABCParseInfo_OptionItem&, bool, int32_t&) {
    return false;
}
bool NoFont(TText, TKoRange, TrecNuo4ABCParseInfo_FontInfo&, int32_t&) {
    return false;
}
bool NoTitle(TText, TKoRange, TrecNUo4SectionTitleItem&, TNuo4ABCTokenInfoItems&, int32_t&) {
    return false;
}
bool NoAttachment(TText, TKoRange, TrecNuo4SectiontItemWithParseInfo_Attachments&, int32_t&) {
    return false;
}
bool NoPage(TText, TKoRange, TrecNuo4SectiontItemWithParseInfo_Page&, int32_t&) {
    return false;
}
bool NoSymbol(TText, TKoRange, TNuo4VoiceSymbolPtr&, int32_t&) {
    return false;
}
bool NoPrefix(TText, TKoRange) {
    return false;
}
void NoLyrics(const TNuo4ABCScanLines&, TrecNuo4ABCParseInfo_Section_Lyrics&) {}

// The scanner's own work (lines, comments, pieces, classification, section ranges), with item
// grammars that recognise nothing.
TNuo4ABCSectionReaders ScanOnlyReaders() {
    TNuo4ABCSectionReaders R;
    R.OptionItem = NoOption;
    R.FontItem = NoFont;
    R.TitleItem = NoTitle;
    R.AttachmentItem = NoAttachment;
    R.PageItem = NoPage;
    R.VoiceSymbol = NoSymbol;
    R.VersePrefix = NoPrefix;
    R.Lyrics = NoLyrics;
    return R;
}

// Sizes are the bytes of the file form: UTF-16, two bytes per code unit.
void BM_ScanDocument(benchmark::State& AState) {
    const std::u16string Text = gen::GenerateScore(7, static_cast<size_t>(AState.range(0)) / 2);
    const TNuo4ABCSectionReaders Readers = ScanOnlyReaders();
    for (auto _ : AState) {
        TNuo4ABCBuffer Buffer(Text, Readers);
        benchmark::DoNotOptimize(Buffer.GetABCLinesCount());
    }
    AState.SetBytesProcessed(AState.iterations() * static_cast<int64_t>(Text.size() * 2));
}
BENCHMARK(BM_ScanDocument)
    ->Arg(10 << 10)
    ->Arg(100 << 10)
    ->Arg(1 << 20)
    ->Unit(benchmark::kMicrosecond);

// The whole scan with every section grammar.
void BM_ScanAndParseDocument(benchmark::State& AState) {
    const std::u16string Text = gen::GenerateScore(7, static_cast<size_t>(AState.range(0)) / 2);
    for (auto _ : AState) {
        TNuo4ABCBuffer Buffer(Text);
        benchmark::DoNotOptimize(Buffer.Section_Voice.GetCount());
    }
    AState.SetBytesProcessed(AState.iterations() * static_cast<int64_t>(Text.size() * 2));
}
BENCHMARK(BM_ScanAndParseDocument)
    ->Arg(10 << 10)
    ->Arg(100 << 10)
    ->Arg(1 << 20)
    ->Unit(benchmark::kMicrosecond);

// Voice sections of N symbols: notes, chords, graces, slurs, bar lines, texts.
void BM_ParseVoice(benchmark::State& AState) {
    const std::u16string Text = gen::GenerateVoice(11, static_cast<size_t>(AState.range(0)));
    int64_t Symbols = 0;
    for (auto _ : AState) {
        TNuo4ABCBuffer Buffer(Text);
        Symbols = Buffer.Section_Voice.GetCount();
        benchmark::DoNotOptimize(Symbols);
    }
    AState.SetItemsProcessed(AState.iterations() * Symbols);
    AState.counters["symbols"] = static_cast<double>(Symbols);
}
BENCHMARK(BM_ParseVoice)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
