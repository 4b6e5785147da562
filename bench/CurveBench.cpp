#include <benchmark/benchmark.h>

#include "Filter.h"
#include "GlobalData.h"

namespace {

// 200 columns per decade, 10 rows per dB.
constexpr int kPlotW = 600;
constexpr int kPlotH = 400;

void BM_RecomputePeakingBand(benchmark::State& state)
{
    InitGlobalDefaults();
    CFilter band;
    band.SetPlotRect(kPlotW, kPlotH);
    band.SetGainCode(260);  // +6 dB: not bypassed, so the section is evaluated
    for (auto _ : state) {
        band.Recompute();
        benchmark::DoNotOptimize(band.Response().data());
    }
}
BENCHMARK(BM_RecomputePeakingBand);

// Linkwitz-Riley 48 dB/oct: four second-order sections, the most work a
// crossover filter asks for.
void BM_RecomputeCrossover48(benchmark::State& state)
{
    InitGlobalDefaults();
    CFilter hp;
    hp.SetEqBand(false);
    hp.SetKind(kHighPass);
    hp.SetFilterType(kLinkwitzRiley, false);
    hp.SetSlope(6, false);
    hp.SetFrequency(100, false);
    hp.SetPlotRect(kPlotW, kPlotH);
    for (auto _ : state) {
        hp.Recompute();
        benchmark::DoNotOptimize(hp.Response().data());
    }
}
BENCHMARK(BM_RecomputeCrossover48);

}  // namespace
