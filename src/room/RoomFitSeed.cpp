#include "RoomFitSeed.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "RoomFitSum.h"

namespace {

// Below this a deviation is not worth a band of its own.
constexpr double kSmallestCorrection = 0.05;
// The bandwidth is scanned coarsely, then code by code around the best.
constexpr int kCoarseStep = 6;

// The axis point whose deviation a band within the limits corrects most.
std::optional<int> WorstPoint(const CRoomFitProblem& problem, const CRoomFitSum& sum)
{
    const double dMaxCut = -CodeToGain(problem.MinGainCode());
    const double dMaxBoost = CodeToGain(problem.MaxGainCode());
    std::optional<int> worst;
    double dWorst = kSmallestCorrection;
    for (int i = problem.Span().nFirst; i <= problem.Span().nLast; ++i) {
        const double d = sum.Total()[static_cast<std::size_t>(i)];
        const double dCorrectable = d > 0.0 ? std::min(d, dMaxCut) : std::min(-d, dMaxBoost);
        if (dCorrectable > dWorst) {
            dWorst = dCorrectable;
            worst = i;
        }
    }
    return worst;
}

// Tries bandwidth codes first … last by nStep and keeps the best in band.
void ScanBandwidth(const CRoomFitProblem& problem, const CRoomFitSum& sum, int nFirst, int nLast, int nStep,
                   CodedBand& band, double& dBest)
{
    AxisResponse response{};
    CodedBand trial = band;
    for (int c = std::max(nFirst, 0); c <= std::min(nLast, kBandwidthCodeMax); c += nStep) {
        trial.nBandwidthCode = c;
        problem.Response(trial, response);
        const double dSse = sum.TrialSse(sum.Count(), response);
        if (dSse < dBest) {
            dBest = dSse;
            band = trial;
        }
    }
}

std::optional<CodedBand> NextBand(const CRoomFitProblem& problem, const CRoomFitSum& sum)
{
    const std::optional<int> worst = WorstPoint(problem, sum);
    if (!worst)
        return std::nullopt;
    const auto n = static_cast<std::size_t>(*worst);
    CodedBand band;
    band.nSlot = problem.NearestSlot(std::log2(g_dFreqAxis[n]));
    band.nGainCode = problem.GainCode(-sum.Total()[n]);
    double dBest = sum.Sse();
    ScanBandwidth(problem, sum, 0, kBandwidthCodeMax, kCoarseStep, band, dBest);
    const int nCoarse = band.nBandwidthCode;
    ScanBandwidth(problem, sum, nCoarse - kCoarseStep + 1, nCoarse + kCoarseStep - 1, 1, band, dBest);
    if (dBest >= sum.Sse() || band.nGainCode == kGainCodeZero)
        return std::nullopt;
    return band;
}

}  // namespace

void SeedBands(const CRoomFitProblem& problem, int nBands, std::vector<CodedBand>& bands, CRoomFitRun& run)
{
    CRoomFitSum sum(problem, bands);
    AxisResponse response{};
    while (static_cast<int>(bands.size()) < nBands && !run.Cancelled()) {
        const std::optional<CodedBand> band = NextBand(problem, sum);
        if (!band)
            return;
        problem.Response(*band, response);
        sum.Add(response);
        bands.push_back(*band);
    }
}
