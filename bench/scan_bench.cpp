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
    ->Arg(4 << 20)
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
    ->Arg(4 << 20)
    ->Unit(benchmark::kMicrosecond);

// Scores of one extreme shape, where a step that walks the rest of a line, a section or the
// text for each item would show: the cost per byte must not grow from 1 MB to 4 MB.
enum TScoreShape : int64_t { ssVoiceLine, ssLyricsLine, ssSections, ssAttachments };

std::u16string ShapedScore(TScoreShape AShape, size_t AChars) {
    gen::TScoreRandom R(3);
    std::u16string S;
    switch (AShape) {
        case ssVoiceLine:  // one voice line without a break
            S = u".Voice\r\n";
            while (S.size() < AChars) S += gen::GenerateVoiceSymbol(R) + u" ";
            break;
        case ssLyricsLine:  // one verse line, words with and without spaces and braces
            S = u".Voice\r\n1 2 3 4 |\r\n.Words\r\nW1@1,1:";
            while (S.size() < AChars) S += u"\u597d\u4e00{\u8309\u8389}la \u82b1\uff0c";
            break;
        case ssSections:  // every section again and again (repeated headers)
            while (S.size() < AChars)
                S += u".Voice\r\n1 2 3 |\r\n.Words\r\nW1@1,1:\u597d\r\n.Attachments\r\n"
                     u"Text@1,2(0.00,-2.50) = AttachText1, x, {}, [], $ff000000\r\n"
                     u".Options\r\nPaper = 297, 210\r\n";
            break;
        case ssAttachments:  // a short voice and one long list of attachments
            S = u".Voice\r\n1 2 3 4 |\r\n.Attachments\r\n";
            while (S.size() < AChars)
                S += u"Text@1,2(0.00,-2.50) = AttachText1, \u6e10\u6162, {}, [], $ff000000\r\n"
                     u"FangZi@2R(0.00,-2.89) = Full, 30.00, 1., True, True\r\n";
            break;
    }
    return S;
}

void BM_ScanAndParseShape(benchmark::State& AState) {
    const auto Shape = static_cast<TScoreShape>(AState.range(0));
    const std::u16string Text = ShapedScore(Shape, static_cast<size_t>(AState.range(1)) / 2);
    for (auto _ : AState) {
        TNuo4ABCBuffer Buffer(Text);
        benchmark::DoNotOptimize(Buffer.GetABCLinesCount());
    }
    AState.SetBytesProcessed(AState.iterations() * static_cast<int64_t>(Text.size() * 2));
}
BENCHMARK(BM_ScanAndParseShape)
    ->ArgsProduct({{ssVoiceLine, ssLyricsLine, ssSections, ssAttachments}, {1 << 20, 4 << 20}})
    ->Unit(benchmark::kMillisecond);

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
