#include <benchmark/benchmark.h>

#include "DataDefine.h"
#include "Filter.h"
#include "GlobalData.h"
#include "KTV_Data.h"
#include "ResponseSum.h"

namespace {

// 200 columns per decade, 10 rows per dB.
constexpr int kPlotW = 600;
constexpr int kPlotH = 400;

void BM_RecomputePeakingBand(benchmark::State& state)
{
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

// What the graph does for every shown output on every redraw: sum 33 stored
// responses and turn them into pixel rows.
void BM_RecomputeCurveOutputChannel(benchmark::State& state)
{
    CKTV_Data data;
    data.SetPlotRect(kPlotW, kPlotH);
    CKTV_OutData& out = data.Output(0);
    for (int b = 0; b < kGraphicBands; b += 3)
        out.EQ()[b].SetGainCode(150 + b * 5);
    out.EQ().HighPass().SetFrequency(80, false);
    for (auto _ : state) {
        out.RecomputeCurve();
        benchmark::DoNotOptimize(out.CurveF().data());
    }
}
BENCHMARK(BM_RecomputeCurveOutputChannel);

// After a full read or a scene recall: every record of the device is loaded
// from the live image, every band recomputed once.
void BM_LoadWholeModelFromImage(benchmark::State& state)
{
    CKTV_Data data;
    data.SetPlotRect(kPlotW, kPlotH);
    for (int i = 0; i < kOutputs; ++i)
        data.Output(i).EQ()[i * 4].SetGainCode(300);
    data.FillAll();
    for (auto _ : state) {
        data.LoadFromImage(data.State().m_LiveImage, 0);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_LoadWholeModelFromImage)->Unit(benchmark::kMillisecond);

// The phase and group delay of six outputs with bands and crossovers, and
// the complex sum of two: what a phase or group-delay picture computes.
void BM_PhaseAndGroupDelaySixOutputsAndSum(benchmark::State& state)
{
    CKTV_Data data;
    data.SetPlotRect(kPlotW, kPlotH);
    for (int i = 0; i < kOutputs; ++i) {
        CKTV_OutData& out = data.Output(i);
        for (int b = i % 3; b < kGraphicBands; b += 3)
            out.EQ()[b].SetGainCode(150 + b * 5);
        out.EQ().HighPass().SetFrequency(40 + 20 * i, false);
        out.EQ().LowPass().SetFrequency(8000 + 2000 * i, false);
    }
    AxisResponse phase{}, delay{};
    for (auto _ : state) {
        std::vector<SumMember> members;
        for (int i = 0; i < kOutputs; ++i) {
            const ChainResponse chain = OutputChainOf(data, i);
            ChainPhase(chain, phase);
            ChainGroupDelay(chain, delay);
            benchmark::DoNotOptimize(phase.data());
            benchmark::DoNotOptimize(delay.data());
            if (i < 2)
                members.push_back({chain, nullptr});
        }
        benchmark::DoNotOptimize(SumChains(members).dDb.data());
    }
}
BENCHMARK(BM_PhaseAndGroupDelaySixOutputsAndSum)->Unit(benchmark::kMicrosecond);

}  // namespace
