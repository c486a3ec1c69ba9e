// Editor speed: the real main window on the offscreen platform; a note key pressed in the middle
// of a 1-, 10- and 50-page score, timed from the key event to the end of the score view's paint
// (re-scan, rebuild, draw into the view's image, paint). Prints median and 99th percentile.
//   nuo4_editor_bench [presses [pages]]   (pages: one count, as 10; all three when left out)
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "editor/main_window.h"
#include "format/abc_buffer.h"
#include "format/score_file.h"
#include "format/score_file_save.h"
#include "gen/score_gen.h"
#include "layout/simple_buffer.h"
#include "render/music_font.h"

using namespace nuo4;

namespace {

std::u16string ScoreText(size_t AChars) {
    const std::u16string Raw = gen::GenerateScore(7, AChars);
    std::u16string S;
    for (size_t I = 0; I < Raw.size(); ++I)
        if (!(Raw[I] == u'\n' && I > 0 && Raw[I - 1] == u'\r')) S += Raw[I];
    return S;
}

int32_t PageCount(const std::u16string& AText) {
    TNuo4ABCBuffer ABC(AText);
    TNuo4SimpleBuffer B(&ABC);
    return int32_t(B.PageInfoArray.size());
}

std::u16string TextOfPages(int32_t APages) {
    size_t Low = 200, High = 2000;
    while (PageCount(ScoreText(High)) <= APages) Low = High, High *= 2;
    while (High - Low > High / 100) {
        const size_t Mid = (Low + High) / 2;
        (PageCount(ScoreText(Mid)) <= APages ? Low : High) = Mid;
    }
    return ScoreText(Low);
}

double CpuMsNow() {
    timespec T{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &T);
    return double(T.tv_sec) * 1e3 + double(T.tv_nsec) / 1e6;
}

void Press(QWidget* W, Qt::Key AKey, const QString& AText) {
    QKeyEvent Down(QEvent::KeyPress, AKey, Qt::NoModifier, AText);
    QApplication::sendEvent(W, &Down);
    QKeyEvent Up(QEvent::KeyRelease, AKey, Qt::NoModifier, AText);
    QApplication::sendEvent(W, &Up);
}

void Run(int32_t APages, int APresses) {
    QTemporaryDir Dir;
    const QString Path = Dir.filePath(QStringLiteral("score.nuoabc"));
    std::string Error;
    SaveScoreFileAtomic(Path.toStdString(), TextOfPages(APages), Error);
    TFormNuo4Main W(Dir.filePath(QStringLiteral("Nuo4Options.cfg")));
    W.MessageSink = [](const QString&) {};
    W.SaveQuestionSink = [] { return 1; };
    W.resize(1200, 900);
    W.show();
    QApplication::processEvents();
    W.LoadFile(Path);
    TNuo4SimpleBuffer* B = W.GetSimpleBuffer();
    const int32_t Pages = int32_t(B->PageInfoArray.size());
    const int32_t Mid = B->Basic_GetCount() / 2;
    B->InternalStatus.Selection.CaretPos_Start =
        B->InternalStatus.Selection.CaretPos_End = {Mid, true};
    W.Redraw_Fast(true);
    QWidget* View = W.ScorePanelWidget()->PaintBox();
    View->setFocus();
    QApplication::processEvents();
    // Untimed: the first note key opens the sound output once.
    Press(View, Qt::Key_5, QStringLiteral("5"));
    Press(View, Qt::Key_Backspace, QString());
    QApplication::processEvents();
    std::vector<double> Ms, CpuMs;
    const int64_t DrawsBefore = W.ScoreDrawCount();
    for (int I = 0; I < APresses; ++I) {
        const double C0 = CpuMsNow();
        const auto T0 = std::chrono::steady_clock::now();
        Press(View, Qt::Key_5, QStringLiteral("5"));
        View->repaint();  // the paint the key asked for, now
        const auto T1 = std::chrono::steady_clock::now();
        CpuMs.push_back(CpuMsNow() - C0);
        Ms.push_back(std::chrono::duration<double, std::milli>(T1 - T0).count());
        // Untimed: the note goes again, so every press meets the same score.
        Press(View, Qt::Key_Backspace, QString());
        QApplication::processEvents();
    }
    std::printf("          score drawn %.1f times per press and Backspace\n",
                double(W.ScoreDrawCount() - DrawsBefore) / APresses);
    std::sort(Ms.begin(), Ms.end());
    const double Median = Ms[Ms.size() / 2];
    const double P99 = Ms[std::min(Ms.size() - 1, size_t(double(Ms.size()) * 0.99))];
    std::printf(
        "%3d pages (%5d symbols): key to painted  median %7.2f ms  p99 %7.2f ms  max %7.2f ms  (%d "
        "presses)\n",
        Pages, B ? W.GetSimpleBuffer()->Basic_GetCount() : 0, Median, P99, Ms.back(), APresses);
    // The processor time of the same presses: what a shared, loaded machine does not inflate.
    std::sort(CpuMs.begin(), CpuMs.end());
    std::printf("          processor time per press: median %7.2f ms  p99 %7.2f ms\n",
                CpuMs[CpuMs.size() / 2],
                CpuMs[std::min(CpuMs.size() - 1, size_t(double(CpuMs.size()) * 0.99))]);
    // Where the time goes: the compile (text, scan, rebuild) and the drawing into the image.
    auto Time = [](auto AFn) {
        const auto A = std::chrono::steady_clock::now();
        AFn();
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - A)
            .count();
    };
    const double Text = Time([&] { (void)W.TextEditor()->GetABCText(); });
    const double Compile = Time([&] { W.TextEditor()->SetCompiled(false); });
    const double Draw = Time([&] { W.ScorePanelWidget()->Draw(); });
    const double Paint = Time([&] { View->repaint(); });
    std::printf("          parts: text %.2f ms, compile %.2f ms, draw %.2f ms, paint %.2f ms\n",
                Text, Compile, Draw, Paint);
    // A held key whose repeats come in faster than they are answered: the keys that wait
    // together are drawn once, at the paint after them.
    {
        constexpr int Held = 5;
        const int64_t D0 = W.ScoreDrawCount();
        const double Ms = Time([&] {
            for (int I = 0; I < Held; ++I) Press(View, Qt::Key_5, QStringLiteral("5"));
            View->repaint();
        });
        std::printf(
            "          %d keys in a row, then a paint: %.2f ms per key, score drawn %lld "
            "times\n",
            Held, Ms / Held, (long long)(W.ScoreDrawCount() - D0));
        for (int I = 0; I < Held; ++I) Press(View, Qt::Key_Backspace, QString());
        QApplication::processEvents();
    }
    // A caret blink or a mouse move draws nothing of the score.
    const int64_t Draws = W.ScoreDrawCount();
    QMouseEvent Move(QEvent::MouseMove, QPointF(300, 300), View->mapToGlobal(QPointF(300, 300)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(View, &Move);
    const auto T0 = std::chrono::steady_clock::now();
    View->repaint();
    const auto T1 = std::chrono::steady_clock::now();
    std::printf("          mouse move + repaint: %.2f ms, score drawn %lld times\n",
                std::chrono::duration<double, std::milli>(T1 - T0).count(),
                (long long)(W.ScoreDrawCount() - Draws));
    W.TextEditor()->SetModified(false);
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication App(argc, argv);
    Nuo4Render_Init();
    const int Presses = argc > 1 ? std::atoi(argv[1]) : 60;
    std::vector<int32_t> Pages{1, 10, 50};
    if (argc > 2) Pages = {std::atoi(argv[2])};
    for (int32_t P : Pages) Run(P, P >= 50 ? std::max(10, Presses / 3) : Presses);
    Nuo4Render_Done();
    return 0;
}
