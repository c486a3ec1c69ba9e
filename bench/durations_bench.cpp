// Note durations of a voice whose tuplets nest deeply: the cost must grow with the notes and
// tuplets, not with the total length of the tuplet ranges.
#include <benchmark/benchmark.h>

#include "layout/layout_rules.h"

using namespace nuo4;

namespace {

// N notes under N / 2 tuplets, each holding the next one, outermost listed first.
void BM_CalcDV_NestedTuplets(benchmark::State& AState) {
    const int32_t N = static_cast<int32_t>(AState.range(0));
    const std::vector<TrecNuo4DVSymbol> Symbols(N, {true, sd16th});
    TNuo4ArcInfoArray Arcs(N / 2);
    for (int32_t K = 0; K < N / 2; ++K) {
        Arcs[K].BasicIndexRange = TKoRange::FromStartEnd(K, N - 1 - K);
        Arcs[K].ABCInfo.TupletNumber = 3 + K % 5;
    }
    for (auto _ : AState) {
        benchmark::DoNotOptimize(Nuo4CalcDV(Symbols, Arcs));
        benchmark::DoNotOptimize(Nuo4CalcDV_AttachBranch(Symbols, Arcs));
    }
    AState.SetItemsProcessed(AState.iterations() * N);
}
BENCHMARK(BM_CalcDV_NestedTuplets)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
