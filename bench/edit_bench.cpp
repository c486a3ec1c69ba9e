// Editing speed: caret moves and hit-tests on a laid-out score (queries only, nothing rebuilt),
// and the whole keystroke cycle of inserting a note at the caret in the middle of a score:
// request -> apply -> scan -> build -> draw the caret's page into a 96-dpi screen image.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "edit/edit_apply.h"
#include "edit/edit_voice.h"
#include "format/abc_buffer.h"
#include "format/doc_options.h"
#include "gen/score_gen.h"
#include "layout/buffer_caret.h"
#include "layout/buffer_hit_test.h"
#include "layout/draw_document.h"
#include "layout/simple_buffer.h"
#include "render/music_font.h"

using namespace nuo4;

namespace {

void EnsureApp() {
    if (QCoreApplication::instance()) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int Argc = 1;
    static char Name[] = "nuo4_bench";
    static char* Argv[] = {Name, nullptr};
    new QGuiApplication(Argc, Argv);  // lives to the end of the process
    Nuo4Render_Init();
    std::atexit([] { Nuo4Render_Done(); });
}

std::u16string Text(size_t AChars) {
    const std::u16string Raw = gen::GenerateScore(11, AChars);
    std::u16string S;
    for (size_t I = 0; I < Raw.size(); ++I)
        if (!(Raw[I] == u'\n' && I > 0 && Raw[I - 1] == u'\r')) S += Raw[I];
    return S;
}

int32_t Pages(const std::u16string& T) {
    TNuo4ABCBuffer A(T);
    TNuo4SimpleBuffer B(&A);
    return int32_t(B.PageInfoArray.size());
}

// The longest generated text of at most APages full pages.
const std::u16string& TextOfPages(int32_t APages) {
    static std::map<int32_t, std::u16string> Cache;
    if (auto It = Cache.find(APages); It != Cache.end()) return It->second;
    size_t Low = 200, High = 2000;
    while (Pages(Text(High)) <= APages) Low = High, High *= 2;
    while (High - Low > High / 100) {
        const size_t Mid = (Low + High) / 2;
        (Pages(Text(Mid)) <= APages ? Low : High) = Mid;
    }
    return Cache[APages] = Text(Low);
}

struct TDoc {
    std::unique_ptr<TNuo4ABCBuffer> ABC;
    std::unique_ptr<TNuo4SimpleBuffer> B;
    explicit TDoc(const std::u16string& T)
        : ABC(std::make_unique<TNuo4ABCBuffer>(T)),
          B(std::make_unique<TNuo4SimpleBuffer>(ABC.get())) {}
};

// A caret on the right of the middle note of the score.
TrecNuo4CaretPos_Index MiddleCaret(const TNuo4SimpleBuffer& B) {
    int32_t I = B.Basic_GetCount() / 2;
    while (I < B.Basic_GetLast() && !B.Basic_IsNote(I)) ++I;
    return TrecNuo4CaretPos_Index::Create(I, true);
}

void BM_CaretMove(benchmark::State& AState) {
    EnsureApp();
    TDoc D(TextOfPages(int32_t(AState.range(0))));
    const TNuo4MoveDirection Cycle[] = {mdRight, mdDown,    mdRight, mdUp,        mdLeft,
                                        mdDown,  mdLineEnd, mdUp,    mdLineStart, mdNextMeasure};
    TrecNuo4CaretPos_Index C = MiddleCaret(*D.B);
    double Column = -1;
    size_t K = 0;
    for (auto _ : AState) {
        TrecNuo4CaretPos_Index N;
        if (CanMoveCaret(*D.B, C, Cycle[K++ % std::size(Cycle)], Column, N)) C = N;
        benchmark::DoNotOptimize(C);
    }
}
BENCHMARK(BM_CaretMove)->Arg(10)->Arg(50)->Unit(benchmark::kMicrosecond);

void BM_CaretRect(benchmark::State& AState) {
    EnsureApp();
    TDoc D(TextOfPages(10));
    const TrecNuo4CaretPos_Index C = MiddleCaret(*D.B);
    for (auto _ : AState) benchmark::DoNotOptimize(ConvertCaretInfo_IndexToPosAndSize(*D.B, C));
}
BENCHMARK(BM_CaretRect)->Unit(benchmark::kMicrosecond);

void BM_HitTest(benchmark::State& AState) {
    EnsureApp();
    TDoc D(TextOfPages(int32_t(AState.range(0))));
    const TNuo4SimpleBuffer& B = *D.B;
    const int32_t Page = GetPageIndexOfCaret(B, MiddleCaret(B));
    double X = 25, Y = 40;
    for (auto _ : AState) {
        // Walk a grid over the page: clicks on symbols, between lines and in margins.
        X += 7.3;
        if (X > 200) X = 15, Y += 9.1;
        if (Y > 280) Y = 30;
        TrecNuo4CaretPos_Index C;
        benchmark::DoNotOptimize(PagePosToCaretPos(B, Page, TGPPointF(X, Y), C));
        benchmark::DoNotOptimize(PagePosToBufferPos(B, Page, TGPPointF(X, Y)));
    }
}
BENCHMARK(BM_HitTest)->Arg(10)->Arg(50)->Unit(benchmark::kMicrosecond);

// One keystroke: the note request on the laid-out score, its answer applied to the text, the
// text scanned and laid out anew, and the caret's page drawn as the score view draws it.
void BM_KeystrokeInsertNote(benchmark::State& AState) {
    EnsureApp();
    const std::u16string& Original = TextOfPages(int32_t(AState.range(0)));
    TDoc D(Original);
    D.B->InternalStatus.Selection = TrecNuo4Selection::CreateEmpty(MiddleCaret(*D.B));
    const TrecNuo4DocOptionsParam_Paper Paper = Nuo4DocOptions().Param_Paper;
    constexpr double Dpi = 96;
    QImage Img(qRound(Paper.Width / 25.4 * Dpi), qRound(Paper.Height / 25.4 * Dpi),
               QImage::Format_RGB32);
    Img.setDotsPerMeterX(qRound(Dpi / 0.0254));
    Img.setDotsPerMeterY(qRound(Dpi / 0.0254));
    TrecNuo4EditState State;
    TrecNuo4MusicPureNote Note;
    Note.Pitch.Digit = Digit5;
    Note.Duration = sd4th;
    int32_t PagesNow = 0;
    for (auto _ : AState) {
        TrecNuo4EditResult R;
        if (!CanInsertSymbol_PureNote_Caret(*D.B, State, Note, R)) {
            AState.SkipWithError("the note request was refused");
            break;
        }
        std::u16string T = Original;
        ApplyTextReplaceItems(T, R.Items);
        TNuo4ABCBuffer ABC(T);
        TNuo4SimpleBuffer B(&ABC);
        B.InternalStatus.Selection = R.NewSelection;
        const int32_t Page = std::max(0, GetPageIndexOfCaret(B, R.NewSelection.CaretPos_End));
        Img.fill(Qt::white);
        QPainter P(&Img);
        TKoGraphics G(&P);
        PrepareGraphics(G, 1.0);
        SetDestGraphics(&G);
        Draw_AllSymbols_Page(B, G, odDisplay, Page, true, true, true, true, nullptr);
        SetDestGraphics(nullptr);
        P.end();
        PagesNow = int32_t(B.PageInfoArray.size());
        benchmark::DoNotOptimize(Img.constBits());
    }
    AState.counters["pages"] = PagesNow;
}
BENCHMARK(BM_KeystrokeInsertNote)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

}  // namespace
