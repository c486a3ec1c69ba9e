// Typing speed: 300 note keys in a row typed into the middle of a 10-page score through the
// editor's key dispatcher on the headless host. Each key runs the whole cycle: table lookup,
// request, apply, re-scan and rebuild, and the caret's page drawn into a 96-dpi screen image.
// Reports the median and the 99th percentile per key (held keys repeat about every 33 ms).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

#include "editor/key_host.h"
#include "format/doc_options.h"
#include "gen/score_gen.h"
#include "layout/buffer_caret.h"
#include "layout/draw_document.h"
#include "layout/simple_buffer.h"
#include "render/music_font.h"

using namespace nuo4;

namespace {

void EnsureKeysApp() {
    if (QCoreApplication::instance()) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int Argc = 1;
    static char Name[] = "nuo4_bench";
    static char* Argv[] = {Name, nullptr};
    new QGuiApplication(Argc, Argv);  // lives to the end of the process
    Nuo4Render_Init();
    std::atexit([] { Nuo4Render_Done(); });
}

std::u16string KeysScore(size_t AChars) {
    const std::u16string Raw = gen::GenerateScore(11, AChars);
    std::u16string S;
    for (size_t I = 0; I < Raw.size(); ++I)
        if (!(Raw[I] == u'\n' && I > 0 && Raw[I - 1] == u'\r')) S += Raw[I];
    return S;
}

int32_t KeysPages(const std::u16string& T) {
    TNuo4ABCBuffer A(T);
    TNuo4SimpleBuffer B(&A);
    return int32_t(B.PageInfoArray.size());
}

std::u16string KeysScoreOfPages(int32_t APages) {
    size_t Low = 200, High = 2000;
    while (KeysPages(KeysScore(High)) <= APages) Low = High, High *= 2;
    while (High - Low > High / 100) {
        const size_t Mid = (Low + High) / 2;
        (KeysPages(KeysScore(Mid)) <= APages ? Low : High) = Mid;
    }
    return KeysScore(Low);
}

// The headless host that also draws the caret's page after every rebuild, as the view does.
class TDrawingHost : public TNuo4HeadlessEditorHost {
  public:
    explicit TDrawingHost(std::u16string AText) : TNuo4HeadlessEditorHost(std::move(AText)) {
        const TrecNuo4DocOptionsParam_Paper Paper = Nuo4DocOptions().Param_Paper;
        constexpr double Dpi = 96;
        Img = QImage(qRound(Paper.Width / 25.4 * Dpi), qRound(Paper.Height / 25.4 * Dpi),
                     QImage::Format_RGB32);
        Img.setDotsPerMeterX(qRound(Dpi / 0.0254));
        Img.setDotsPerMeterY(qRound(Dpi / 0.0254));
    }
    void Redraw(bool bScroll) override {
        TNuo4HeadlessEditorHost::Redraw(bScroll);
        TNuo4SimpleBuffer& B = *GetSimpleBuffer();
        const int32_t Page =
            std::max(0, GetPageIndexOfCaret(B, B.InternalStatus.Selection.CaretPos_End));
        Img.fill(Qt::white);
        QPainter P(&Img);
        TKoGraphics G(&P);
        PrepareGraphics(G, 1.0);
        SetDestGraphics(&G);
        Draw_AllSymbols_Page(B, G, odDisplay, Page, true, true, true, true, nullptr);
        SetDestGraphics(nullptr);
        P.end();
        ++Draws;
    }
    QImage Img;
    int64_t Draws = 0;
};

void BM_TypeNotesThroughDispatcher(benchmark::State& AState) {
    EnsureKeysApp();
    constexpr int Keys = 300;
    TDrawingHost H(KeysScoreOfPages(int32_t(AState.range(0))));
    TNuo4SimpleBuffer& B0 = *H.GetSimpleBuffer();
    B0.InternalStatus.Selection = TrecNuo4Selection::CreateEmpty(
        TrecNuo4CaretPos_Index::Create(B0.Basic_GetCount() / 2, true));
    std::vector<double> Ms;
    int I = 0;
    for (auto _ : AState) {
        TrecNuo4PhysicalKey K;
        K.Key = Qt::Key(Qt::Key_1 + I++ % 7);
        const auto T0 = std::chrono::steady_clock::now();
        H.Type(K);
        const double S =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - T0).count();
        AState.SetIterationTime(S);
        Ms.push_back(S * 1000);
    }
    std::sort(Ms.begin(), Ms.end());
    AState.counters["median_ms"] = Ms[Ms.size() / 2];
    AState.counters["p99_ms"] = Ms[std::min(Ms.size() - 1, size_t(double(Ms.size()) * 0.99))];
    AState.counters["pages"] = double(H.GetSimpleBuffer()->PageInfoArray.size());
    AState.counters["draws_per_key"] = double(H.Draws) / double(Keys);
}
BENCHMARK(BM_TypeNotesThroughDispatcher)
    ->Arg(10)
    ->Iterations(300)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
