#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "GlobalData.h"
#include "RoomFit.h"

namespace {

// A room with bass modes, a dip, a tilt and ripple over the whole band.
RoomFitInput BenchInput(double dHighHz, int nBands)
{
    std::vector<MeasurementPoint> points;
    for (double f = 15.0; f < 22000.0; f *= std::exp2(1.0 / 48.0)) {
        const double o = std::log2(f);
        const double dDb = 80.0 - 2.5 * std::log10(f / 1000.0) + 1.2 * std::sin(5.1 * o) +
                           8.0 * std::exp(-std::pow((o - std::log2(45.0)) / 0.1, 2.0)) -
                           9.0 * std::exp(-std::pow((o - std::log2(90.0)) / 0.08, 2.0)) +
                           5.0 * std::exp(-std::pow((o - std::log2(140.0)) / 0.15, 2.0));
        points.push_back({f, dDb});
    }
    RoomFitInput input;
    std::string strError;
    input.measurement.Assign(points, &strError);
    input.dHighHz = dHighHz;
    input.nBands = nBands;
    input.dMaxBoostDb = 6.0;
    return input;
}

void Fit(benchmark::State& state, double dHighHz, int nBands)
{
    const RoomFitInput input = BenchInput(dHighHz, nBands);
    for (auto _ : state) {
        const RoomFitResult result = FitRoom(input);
        benchmark::DoNotOptimize(result.after.dRmsDb);
    }
}

// What the dialog does by default: 10 bands over 20 … 500 Hz.
void BM_RoomFitTypical(benchmark::State& state)
{
    Fit(state, 500.0, 10);
}
BENCHMARK(BM_RoomFitTypical)->Unit(benchmark::kMillisecond);

// The largest fit: every band over the whole axis.
void BM_RoomFitAllBandsFullRange(benchmark::State& state)
{
    Fit(state, 20000.0, kRoomFitMaxBands);
}
BENCHMARK(BM_RoomFitAllBandsFullRange)->Unit(benchmark::kMillisecond);

}  // namespace
