// Layout speed: a generated score from its text to the laid-out document buffer (scan, spacing,
// lines, pages, placement) at about 1, 10 and 50 pages, one page drawn onto an image, and
// voices of many slurs (nested, or a staircase from one note) beside as many plain notes. A real
// song repeated to 1, 10, 50 and 200 pages (two verses, slurs, marks): its layout per page, one
// page drawn, and one page exported to PDF and to SVG.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cstdlib>
#include <ctime>
#include <map>
#include <memory>
#include <string>

#include "format/abc_buffer.h"
#include "format/doc_options.h"
#include "format/score_file.h"
#include "format/section_voice.h"
#include "gen/repeated_song.h"
#include "gen/score_gen.h"
#include "layout/draw_document.h"
#include "layout/export_document.h"
#include "layout/simple_buffer.h"
#include "render/glyph_outlines.h"
#include "render/music_font.h"

using namespace nuo4;

namespace {

// Fonts and images need a GUI application; one for the whole run.
// The application lives until the process ends and is never destroyed: a static destructor
// would run after Qt's thread storage is gone and crash the run at exit.
void EnsureApplication() {
    static QGuiApplication* App = nullptr;
    if (App || QCoreApplication::instance()) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int Argc = 1;
    static char Name[] = "nuo4_bench";
    static char* Argv[] = {Name, nullptr};
    App = new QGuiApplication(Argc, Argv);
    Nuo4Render_Init();
    // The music font leaves the font database while Qt's font cache still exists.
    std::atexit([] { Nuo4Render_Done(); });
}

// The scanned text breaks lines with a single CR.
std::u16string ScoreText(size_t AChars) {
    const std::u16string Raw = gen::GenerateScore(7, AChars);
    std::u16string S;
    S.reserve(Raw.size());
    for (size_t I = 0; I < Raw.size(); ++I)
        if (!(Raw[I] == u'\n' && I > 0 && Raw[I - 1] == u'\r')) S += Raw[I];
    return S;
}

int32_t PageCount(const std::u16string& AText) {
    TNuo4ABCBuffer ABC(AText);
    TNuo4SimpleBuffer B(&ABC);
    return int32_t(B.PageInfoArray.size());
}

// The longest generated text that still fits APages pages, so that the pages are full; found
// once by bisection on the text length.
const std::u16string& TextOfPages(int32_t APages) {
    static std::map<int32_t, std::u16string> Cache;
    auto It = Cache.find(APages);
    if (It != Cache.end()) return It->second;
    size_t Low = 200, High = 2000;
    while (PageCount(ScoreText(High)) <= APages) Low = High, High *= 2;
    while (High - Low > High / 100) {
        const size_t Mid = (Low + High) / 2;
        (PageCount(ScoreText(Mid)) <= APages ? Low : High) = Mid;
    }
    return Cache[APages] = ScoreText(Low);
}

void BM_LayoutScore(benchmark::State& AState) {
    EnsureApplication();
    const std::u16string& Text = TextOfPages(int32_t(AState.range(0)));
    int32_t Pages = 0, BasicCount = 0, AttachCount = 0;
    size_t HeapBytes = 0, RecordBytes = 0;
    for (auto _ : AState) {
        const size_t Before = mallinfo2().uordblks;
        const size_t RecordsBefore = VoiceRecordPool_BytesInUse();
        TNuo4ABCBuffer ABC(Text);
        TNuo4SimpleBuffer B(&ABC);
        Pages = int32_t(B.PageInfoArray.size());
        BasicCount = B.Basic_GetCount();
        AttachCount = B.Attach_GetCount();
        HeapBytes = mallinfo2().uordblks - Before;
        RecordBytes = VoiceRecordPool_BytesInUse() - RecordsBefore;
        benchmark::DoNotOptimize(Pages);
    }
    // Heap held by the built buffer and its scan: beyond the cache sizes the build slows. Per
    // basic symbol it is what a long score costs: its lyrics, arcs and records included.
    AState.counters["heap_MiB"] = double(HeapBytes) / (1024.0 * 1024.0);
    AState.counters["heap_B_per_basic"] = BasicCount ? double(HeapBytes) / BasicCount : 0;
    // The voice records come from their own pool, whose blocks the heap counters above see only
    // when the pool grows: after the first build they are reused and missed.
    AState.counters["records_B_per_basic"] = BasicCount ? double(RecordBytes) / BasicCount : 0;
    AState.counters["basic"] = BasicCount;
    AState.counters["attach"] = AttachCount;
    AState.counters["pages"] = Pages;
    AState.counters["chars"] = double(Text.size());
    AState.counters["per_page"] = benchmark::Counter(
        double(Pages), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_LayoutScore)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

// The first page of a 10-page score, as `nuo4-cli render` draws it, at 150 dpi.
void BM_LayoutDrawPage(benchmark::State& AState) {
    EnsureApplication();
    TNuo4ABCBuffer ABC(TextOfPages(10));
    TNuo4SimpleBuffer B(&ABC);
    const TrecNuo4DocOptionsParam_Paper Paper = Nuo4DocOptions().Param_Paper;
    constexpr double Dpi = 150;
    QImage Img(qRound(Paper.Width / 25.4 * Dpi), qRound(Paper.Height / 25.4 * Dpi),
               QImage::Format_RGB32);
    Img.setDotsPerMeterX(qRound(Dpi / 0.0254));
    Img.setDotsPerMeterY(qRound(Dpi / 0.0254));
    for (auto _ : AState) {
        Img.fill(Qt::white);
        QPainter P(&Img);
        TKoGraphics G(&P);
        PrepareGraphics(G, 1.0);
        SetDestGraphics(&G);
        Draw_AllSymbols_Page(B, G, odPrinter, 0, false, false, false, true, nullptr);
        SetDestGraphics(nullptr);
        P.end();
        benchmark::DoNotOptimize(Img.constBits());
    }
}
BENCHMARK(BM_LayoutDrawPage)->Unit(benchmark::kMillisecond);

// ---- A real song at any length ---------------------------------------------------------------

int32_t SongPages(int ARepeats);

// molihua with its voice, verses and attachments repeated to fill APages pages (the most
// repeats that still fit).
const std::u16string& SongOfPages(int32_t APages) {
    static std::map<int32_t, std::u16string> Cache;
    auto It = Cache.find(APages);
    if (It != Cache.end()) return It->second;
    int Low = 1, High = 2;
    while (SongPages(High) <= APages) Low = High, High *= 2;
    while (High - Low > 1) {
        const int Mid = (Low + High) / 2;
        (SongPages(Mid) <= APages ? Low : High) = Mid;
    }
    static std::u16string Song;
    if (Song.empty()) {
        std::string Error;
        ReadScoreFile(NUO4_SOURCE_DIR "/resources/demo/molihua.nuoabc", Song, Error);
    }
    return Cache[APages] = gen::RepeatSong(Song, Low);
}

int32_t SongPages(int ARepeats) {
    static std::u16string Song;
    if (Song.empty()) {
        std::string Error;
        ReadScoreFile(NUO4_SOURCE_DIR "/resources/demo/molihua.nuoabc", Song, Error);
    }
    return PageCount(gen::RepeatSong(Song, ARepeats));
}

double ThreadSeconds() {
    timespec T{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &T);
    return double(T.tv_sec) + double(T.tv_nsec) * 1e-9;
}

struct TSongDoc {
    std::unique_ptr<TNuo4ABCBuffer> ABC;
    std::unique_ptr<TNuo4SimpleBuffer> B;
    // Page 2, or page 1 of a one-page score.
    int32_t Page() const { return B->PageInfoArray.size() > 1 ? 1 : 0; }
};

TSongDoc& SongDoc(int32_t APages) {
    static std::map<int32_t, TSongDoc> Docs;
    TSongDoc& D = Docs[APages];
    if (!D.B) {
        D.ABC = std::make_unique<TNuo4ABCBuffer>(SongOfPages(APages));
        D.B = std::make_unique<TNuo4SimpleBuffer>(D.ABC.get());
    }
    return D;
}

void BM_SongLayout(benchmark::State& AState) {
    EnsureApplication();
    const std::u16string& Text = SongOfPages(int32_t(AState.range(0)));
    int32_t Pages = 0;
    // The editor frees the previous build after every edit, so freeing is timed with the build;
    // its share is reported beside it, in processor time as the benchmark's own figure.
    double Freeing = 0;
    for (auto _ : AState) {
        auto ABC = std::make_unique<TNuo4ABCBuffer>(Text);
        auto B = std::make_unique<TNuo4SimpleBuffer>(ABC.get());
        Pages = int32_t(B->PageInfoArray.size());
        benchmark::DoNotOptimize(Pages);
        const double Start = ThreadSeconds();
        B.reset();
        ABC.reset();
        Freeing += ThreadSeconds() - Start;
    }
    AState.counters["pages"] = Pages;
    AState.counters["free_us_per_page"] =
        Pages ? Freeing * 1e6 / double(AState.iterations()) / Pages : 0;
    AState.counters["per_page"] = benchmark::Counter(
        double(Pages), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SongLayout)->Arg(1)->Arg(10)->Arg(50)->Arg(200)->Unit(benchmark::kMillisecond);

// The 10-page song with a temporary voice of six notes and their lyrics on every line, aligned
// under the first measure of the line: each is a small buffer built inside the document's.
const std::u16string& SongWithBranchesOfPages(int32_t APages) {
    static std::map<int32_t, std::u16string> Cache;
    auto It = Cache.find(APages);
    if (It != Cache.end()) return It->second;
    std::u16string Text = SongOfPages(APages);
    TNuo4ABCBuffer ABC(Text);
    TNuo4SimpleBuffer B(&ABC);
    std::u16string Items;
    for (const TrecNuo4LineInfoItem& L : B.LineInfoArray) {
        if (!L.MeasureIndexRange.IsNonEmpty()) continue;
        const std::string M = std::to_string(L.MeasureIndexRange.StartIndex + 1);
        Items += u"Branch@" + std::u16string(M.begin(), M.end()) +
                 u",1(0,-3) = True, 2, 4, 0, {3_1_ 4_2_ 5 3}, {la la la la la la}\r";
    }
    const std::u16string Header = u".Attachments\r";
    const size_t At = Text.find(Header);
    if (At == std::u16string::npos)
        Text += u"\r" + Header + Items;
    else
        Text.insert(At + Header.size(), Items);
    return Cache[APages] = Text;
}

void BM_SongWithBranchesLayout(benchmark::State& AState) {
    EnsureApplication();
    const std::u16string& Text = SongWithBranchesOfPages(int32_t(AState.range(0)));
    int32_t Pages = 0, Branches = 0;
    for (auto _ : AState) {
        TNuo4ABCBuffer ABC(Text);
        TNuo4SimpleBuffer B(&ABC);
        Pages = int32_t(B.PageInfoArray.size());
        Branches = 0;
        for (int32_t A = 0; A < B.Attach_GetCount(); ++A) Branches += B.Attach_IsAttachBranch(A);
        benchmark::DoNotOptimize(Pages);
    }
    AState.counters["pages"] = Pages;
    AState.counters["branches"] = Branches;
}
BENCHMARK(BM_SongWithBranchesLayout)->Arg(10)->Unit(benchmark::kMillisecond);

// Page 2 as `nuo4-cli render` draws it at 150 dpi.
void BM_SongDrawPage(benchmark::State& AState) {
    EnsureApplication();
    TSongDoc& D = SongDoc(int32_t(AState.range(0)));
    const TrecNuo4DocOptionsParam_Paper Paper = Nuo4DocOptions().Param_Paper;
    constexpr double Dpi = 150;
    QImage Img(qRound(Paper.Width / 25.4 * Dpi), qRound(Paper.Height / 25.4 * Dpi),
               QImage::Format_RGB32);
    Img.setDotsPerMeterX(qRound(Dpi / 0.0254));
    Img.setDotsPerMeterY(qRound(Dpi / 0.0254));
    Nuo4AuxInfoSettings().SetAllOff();
    for (auto _ : AState) {
        Img.fill(Qt::white);
        QPainter P(&Img);
        Nuo4DrawPageForExport(*D.B, P, D.Page(), false);
        P.end();
        benchmark::DoNotOptimize(Img.constBits());
    }
    AState.counters["pages"] = double(D.B->PageInfoArray.size());
}
BENCHMARK(BM_SongDrawPage)->Arg(1)->Arg(10)->Arg(50)->Arg(200)->Unit(benchmark::kMillisecond);

void BM_SongPdfPage(benchmark::State& AState) {
    EnsureApplication();
    TSongDoc& D = SongDoc(int32_t(AState.range(0)));
    Nuo4AuxInfoSettings().SetAllOff();
    size_t Bytes = 0;
    for (auto _ : AState) {
        QBuffer Out;
        Out.open(QIODevice::WriteOnly);
        Nuo4ExportPagesToPdf(*D.B, Out, TKoRange(D.Page(), 1), false);
        Bytes = size_t(Out.data().size());
    }
    AState.counters["KB"] = double(Bytes) / 1024.0;
}
BENCHMARK(BM_SongPdfPage)->Arg(10)->Arg(200)->Unit(benchmark::kMillisecond);

// The whole score exported to one PDF, as "导出 PDF" writes it: the fonts are embedded once per
// file, so the cost and size per page are those of a real export rather than of a one-page file.
void BM_SongPdfDocument(benchmark::State& AState) {
    EnsureApplication();
    TSongDoc& D = SongDoc(int32_t(AState.range(0)));
    Nuo4AuxInfoSettings().SetAllOff();
    const int32_t Pages = int32_t(D.B->PageInfoArray.size());
    size_t Bytes = 0;
    for (auto _ : AState) {
        QBuffer Out;
        Out.open(QIODevice::WriteOnly);
        Nuo4ExportPagesToPdf(*D.B, Out, TKoRange(0, Pages), false);
        Bytes = size_t(Out.data().size());
    }
    AState.counters["pages"] = Pages;
    AState.counters["KB_per_page"] = double(Bytes) / 1024.0 / Pages;
    AState.counters["per_page"] = benchmark::Counter(
        double(Pages), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SongPdfDocument)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

void BM_SongSvgPage(benchmark::State& AState) {
    EnsureApplication();
    TSongDoc& D = SongDoc(int32_t(AState.range(0)));
    Nuo4AuxInfoSettings().SetAllOff();
    size_t Bytes = 0;
    for (auto _ : AState) {
        QBuffer Out;
        Out.open(QIODevice::WriteOnly);
        Nuo4ExportPageToSvg(*D.B, Out, D.Page(), false);
        Bytes = size_t(Out.data().size());
    }
    AState.counters["KB"] = double(Bytes) / 1024.0;
}
BENCHMARK(BM_SongSvgPage)->Arg(10)->Arg(200)->Unit(benchmark::kMillisecond);

// The former drawing side by side: every glyph an outline, the PDF through the same writer and
// the SVG through Qt's generator.
void BM_SongDrawPageOutlines(benchmark::State& AState) {
    GlyphOutlines_SetOutlinesOnly(true);
    BM_SongDrawPage(AState);
    GlyphOutlines_SetOutlinesOnly(false);
}
BENCHMARK(BM_SongDrawPageOutlines)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_SongPdfPageOutlines(benchmark::State& AState) {
    GlyphOutlines_SetOutlinesOnly(true);
    BM_SongPdfPage(AState);
    GlyphOutlines_SetOutlinesOnly(false);
}
BENCHMARK(BM_SongPdfPageOutlines)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_SongSvgPageQtOutlines(benchmark::State& AState) {
    EnsureApplication();
    TSongDoc& D = SongDoc(int32_t(AState.range(0)));
    Nuo4AuxInfoSettings().SetAllOff();
    GlyphOutlines_SetOutlinesOnly(true);
    const TrecNuo4DocOptionsParam_Paper Paper = Nuo4DocOptions().Param_Paper;
    const QSize Px(qRound(Paper.Width / 25.4 * 96), qRound(Paper.Height / 25.4 * 96));
    size_t Bytes = 0;
    for (auto _ : AState) {
        QBuffer Out;
        Out.open(QIODevice::WriteOnly);
        QSvgGenerator Svg;
        Svg.setOutputDevice(&Out);
        Svg.setResolution(96);
        Svg.setSize(Px);
        Svg.setViewBox(QRect(QPoint(0, 0), Px));
        QPainter P(&Svg);
        Nuo4DrawPageForExport(*D.B, P, D.Page(), false);
        P.end();
        Bytes = size_t(Out.data().size());
    }
    GlyphOutlines_SetOutlinesOnly(false);
    AState.counters["KB"] = double(Bytes) / 1024.0;
}
BENCHMARK(BM_SongSvgPageQtOutlines)->Arg(10)->Unit(benchmark::kMillisecond);
// Voices of N arcs (or none) over plain eighth notes, 16 symbols a text line.
enum TArcShape { asPlain, asNested, asStaircase };

std::u16string ArcVoiceText(TArcShape AShape, int32_t AArcs, int32_t ANotes) {
    std::u16string S = u".Voice\r";
    auto Note = [&](int32_t I, const std::u16string& AStart, const std::u16string& AEnd) {
        S += AStart + u"3_" + AEnd + ((I + 1) % 16 ? u" " : u"\r");
    };
    if (AShape == asPlain)
        for (int32_t I = 0; I < ANotes; ++I) Note(I, u"", u"");
    if (AShape == asNested) {
        // "(3 (3 (3 … 3) 3) 3)": arc K from note K to note 2N-1-K.
        for (int32_t I = 0; I < AArcs; ++I) Note(I, u"(", u"");
        for (int32_t I = 0; I < AArcs; ++I) Note(AArcs + I, u"", u")");
    }
    if (AShape == asStaircase) {
        // Every arc starts on the first note; arc K ends on note K + 1.
        Note(0, std::u16string(size_t(AArcs), u'('), u"");
        for (int32_t I = 0; I < AArcs; ++I) Note(I + 1, u"", u")");
    }
    return S;
}

// Argument 0: the shape; argument 1: the number of notes of a plain voice, of arcs otherwise
// (nested: two notes an arc; staircase: one more note than arcs), so that nested 2000,
// staircase 4000 and plain 4000 have (about) the same number of notes.
void BM_LayoutArcs(benchmark::State& AState) {
    EnsureApplication();
    const auto Shape = TArcShape(AState.range(0));
    const auto N = int32_t(AState.range(1));
    const int32_t Notes = Shape == asPlain ? N : Shape == asNested ? 2 * N : N + 1;
    const std::u16string Text = ArcVoiceText(Shape, Shape == asPlain ? 0 : N, Notes);
    for (auto _ : AState) {
        TNuo4ABCBuffer ABC(Text);
        TNuo4SimpleBuffer B(&ABC);
        benchmark::DoNotOptimize(B.ArcInfoArray.size());
    }
    AState.counters["notes"] = Notes;
    AState.SetLabel(Shape == asPlain ? "plain" : Shape == asNested ? "nested" : "staircase");
}
BENCHMARK(BM_LayoutArcs)
    ->Args({asPlain, 4000})
    ->Args({asNested, 2000})
    ->Args({asStaircase, 4000})
    ->Args({asPlain, 16000})
    ->Args({asNested, 8000})
    ->Args({asStaircase, 16000})
    ->Unit(benchmark::kMillisecond);

}  // namespace
