#include "RoomFitSeed.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "RoomFitRepair.h"
#include "RoomFitSum.h"

namespace {

// Below this a deviation is not worth a band of its own.
constexpr double kSmallestCorrection = 0.05;
// The bandwidth is scanned coarsely, then code by code around the best.
constexpr int kCoarseStep = 6;
// Points tried in a row where no band helps before the seed ends.
constexpr int kMaxMisses = 8;

// The free slots next to axis point i, below and above: a point between two
// slots' points is corrected by a band on either.
std::vector<int> FreeSlotsAt(const CRoomFitProblem& problem, const std::vector<CodedBand>& bands, int i)
{
    const int nNearest = problem.NearestSlot(std::log2(g_dFreqAxis[static_cast<std::size_t>(i)]));
    const int nOther = problem.SlotAxis(nNearest) < i ? nNearest + 1 : problem.SlotAxis(nNearest) > i ? nNearest - 1 : -1;
    std::vector<int> slots;
    for (const int s : {nNearest, nOther})
        if (s >= 0 && s < problem.SlotCount() && !SlotTaken(bands, s, bands.size()))
            slots.push_back(s);
    return slots;
}

// What a new band may correct at axis point n: the deviation, within its
// own limits and what the bands there leave of the sum's.
double Correctable(const CRoomFitProblem& problem, const CRoomFitSum& sum, std::size_t n)
{
    const double d = sum.Total()[n];
    if (d > 0.0)
        return std::min({d, -CodeToGain(problem.MinGainCode()), sum.Eq()[n] - problem.CutDb()});
    return std::min({-d, CodeToGain(problem.MaxGainCode()), problem.BoostDb() - sum.Eq()[n]});
}

// The axis point not yet missed, next to a free slot, whose deviation a new
// band corrects most.
std::optional<int> WorstPoint(const CRoomFitProblem& problem, const CRoomFitSum& sum,
                              const std::vector<CodedBand>& bands, const std::vector<bool>& missed)
{
    std::optional<int> worst;
    double dWorst = kSmallestCorrection;
    for (int i = problem.Span().nFirst; i <= problem.Span().nLast; ++i) {
        const double dCorrectable = Correctable(problem, sum, static_cast<std::size_t>(i));
        if (dCorrectable > dWorst && !missed[static_cast<std::size_t>(i)] && !FreeSlotsAt(problem, bands, i).empty()) {
            dWorst = dCorrectable;
            worst = i;
        }
    }
    return worst;
}

// Tries bandwidth codes first … last by nStep and keeps the best in band
// that keeps the sum within the limits.
void ScanBandwidth(const CRoomFitProblem& problem, const CRoomFitSum& sum, int nFirst, int nLast, int nStep,
                   CodedBand& band, double& dBest)
{
    AxisResponse response{};
    CodedBand trial = band;
    for (int c = std::max(nFirst, 0); c <= std::min(nLast, kBandwidthCodeMax); c += nStep) {
        trial.nBandwidthCode = c;
        problem.Response(trial, response);
        const double dSse = sum.TrialSse(sum.Count(), response);
        if (dSse >= dBest)
            continue;
        problem.Complete(trial, response);
        if (sum.Fits(sum.Count(), response)) {
            dBest = dSse;
            band = trial;
        }
    }
}

// The band on a free slot next to axis point i that lowers the sum of
// squares most; none when no band does.
std::optional<CodedBand> BandAt(const CRoomFitProblem& problem, const CRoomFitSum& sum,
                                const std::vector<CodedBand>& bands, int i, double dHeadroomDb)
{
    const auto n = static_cast<std::size_t>(i);
    std::optional<CodedBand> best;
    double dBest = sum.Sse();
    for (const int nSlot : FreeSlotsAt(problem, bands, i)) {
        CodedBand band;
        band.nSlot = nSlot;
        band.nGainCode = problem.GainCode(-sum.Total()[n], problem.CutDb() + dHeadroomDb - sum.Eq()[n],
                                          problem.BoostDb() - dHeadroomDb - sum.Eq()[n]);
        if (band.nGainCode == kGainCodeZero)
            continue;
        double dSse = dBest;
        ScanBandwidth(problem, sum, 0, kBandwidthCodeMax, kCoarseStep, band, dSse);
        const int nCoarse = band.nBandwidthCode;
        ScanBandwidth(problem, sum, nCoarse - kCoarseStep + 1, nCoarse + kCoarseStep - 1, 1, band, dSse);
        if (dSse < dBest) {
            dBest = dSse;
            best = band;
        }
    }
    return best;
}

}  // namespace

void SeedBands(const CRoomFitProblem& problem, int nBands, std::vector<CodedBand>& bands, CRoomFitRun& run,
               double dHeadroomDb)
{
    CRoomFitSum sum(problem, bands);
    AxisResponse response{};
    std::vector<bool> missed(kAxisPoints);
    int nMisses = 0;
    while (static_cast<int>(bands.size()) < nBands && nMisses < kMaxMisses && !run.Cancelled()) {
        const std::optional<int> worst = WorstPoint(problem, sum, bands, missed);
        if (!worst)
            return;
        const std::optional<CodedBand> band = BandAt(problem, sum, bands, *worst, dHeadroomDb);
        if (!band) {
            missed[static_cast<std::size_t>(*worst)] = true;
            ++nMisses;
            continue;
        }
        problem.WholeResponse(*band, response);
        sum.Add(response);
        bands.push_back(*band);
        missed.assign(missed.size(), false);
        nMisses = 0;
    }
}
