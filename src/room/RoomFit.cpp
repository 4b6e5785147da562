#include "RoomFit.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "KTVEQ.h"
#include "RoomFitDescent.h"
#include "RoomFitRefiner.h"
#include "RoomFitRepair.h"
#include "RoomFitSeed.h"
#include "RoomFitSum.h"
#include "RoomText.h"

namespace {

// Progress at the end of each stage; the swap rounds share the rest.
constexpr int kSeeded = 10;
constexpr int kRefined = 50;
// Rounds of trading a band for another and refining everything again.
constexpr int kSwapRounds = 8;
// Less than this share of the sum of squares is not worth another round.
constexpr double kWorthwhile = 1e-6;
// What the second greedy placement leaves of the limits at a new band's
// centre, for the tails of the bands after it.
constexpr double kSeedHeadroomDb = 0.3;

std::string InputError(const RoomFitInput& input)
{
    if (input.measurement.IsEmpty())
        return Say(kTxtFitNoMeasurement);
    if (!(input.dLowHz >= kMinFreq && input.dHighHz <= kMaxFreq && input.dLowHz < input.dHighHz))
        return Say(kTxtFitBadRange);
    if (input.nBands < 1 || input.nBands > kRoomFitMaxBands)
        return Say(kTxtFitBadBands);
    if (!(input.dMaxBoostDb >= 0.0 && input.dMaxBoostDb <= 20.0 && input.dMaxCutDb >= -20.0 &&
          input.dMaxCutDb <= 0.0))
        return Say(kTxtFitBadLimits);
    if (FitSpanOf(input).Empty() || std::ceil(input.dLowHz) > std::floor(input.dHighHz))
        return Say(kTxtFitUncovered);
    return {};
}

// The bands rounded to the grid, brought within its rules, refined there
// and thinned out.
void Settle(const CRoomFitProblem& problem, std::vector<CodedBand>& bands, CRoomFitRun& run)
{
    RepairBands(problem, bands);
    DescendCodes(problem, bands, run);
    // Where no band went, the descent has nothing new to find.
    if (PruneBands(problem, bands))
        DescendCodes(problem, bands, run);
}

// The bands refined together on continuous values, then settled on the grid.
std::vector<CodedBand> Refined(const CRoomFitProblem& problem, const std::vector<CodedBand>& start,
                               CRoomFitRun& run, int nFrom, int nTo)
{
    std::vector<FitBand> continuous;
    for (const CodedBand& band : start)
        continuous.push_back(problem.Continuous(band));
    CRoomFitRefiner refiner(problem, std::move(continuous));
    refiner.Run(run, nFrom, nTo);
    std::vector<CodedBand> coded;
    for (const FitBand& band : refiner.Bands())
        coded.push_back(problem.Quantised(band));
    Settle(problem, coded, run);
    return coded;
}

// The band whose removal raises the sum of squares least and leaves the
// sum within the limits; none when every removal would cross them.
std::optional<std::size_t> WeakestBand(const CRoomFitProblem& problem, const std::vector<CodedBand>& bands)
{
    const CRoomFitSum sum(problem, bands);
    std::optional<std::size_t> weakest;
    for (int k = 0; k < sum.Count(); ++k)
        if (sum.FitsWithout(k) && (!weakest || sum.SseWithout(k) < sum.SseWithout(static_cast<int>(*weakest))))
            weakest = static_cast<std::size_t>(k);
    return weakest;
}

// Trades the weakest band for a new one where the deviation is largest,
// while that lowers the deviation. On the grid alone: refining every trade
// on continuous values again costs five times as much and gains next to
// nothing.
void SwapWeakBands(const CRoomFitProblem& problem, int nBands, std::vector<CodedBand>& best, CRoomFitRun& run)
{
    const int nSlice = (100 - kRefined) / kSwapRounds;
    for (int n = 0; n < kSwapRounds && !best.empty() && !run.Cancelled(); ++n) {
        std::vector<CodedBand> trial = best;
        if (static_cast<int>(trial.size()) == nBands) {
            const std::optional<std::size_t> weakest = WeakestBand(problem, trial);
            if (!weakest)
                return;
            trial.erase(trial.begin() + static_cast<std::ptrdiff_t>(*weakest));
        }
        SeedBands(problem, nBands, trial, run);
        Settle(problem, trial, run);
        run.Progress(kRefined + (n + 1) * nSlice);
        if (SseOf(problem, trial) >= SseOf(problem, best) * (1.0 - kWorthwhile))
            return;
        best = trial;
    }
}

bool SameBands(const std::vector<CodedBand>& a, const std::vector<CodedBand>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const CodedBand& x, const CodedBand& y) {
        return x.nSlot == y.nSlot && x.nGainCode == y.nGainCode && x.nBandwidthCode == y.nBandwidthCode;
    });
}

// The greedy placements, right up to the limits and with headroom, settled
// on the grid; the better one refined on continuous values. The settled
// greedy placements are the floor the fit never falls below: the
// continuous optimum can round badly.
std::vector<CodedBand> FitCodes(const CRoomFitProblem& problem, int nBands, CRoomFitRun& run)
{
    std::vector<CodedBand> best;
    std::vector<CodedBand> start;
    std::vector<CodedBand> previous;
    for (const double dHeadroomDb : {0.0, kSeedHeadroomDb}) {
        std::vector<CodedBand> seed;
        SeedBands(problem, nBands, seed, run, dHeadroomDb);
        // Where no band came near a limit, headroom changed nothing.
        if (SameBands(seed, previous))
            break;
        previous = seed;
        if (start.empty() || SseOf(problem, seed) < SseOf(problem, start))
            start = seed;
        Settle(problem, seed, run);
        if (best.empty() || SseOf(problem, seed) < SseOf(problem, best))
            best = seed;
    }
    run.Progress(kSeeded);
    if (std::vector<CodedBand> refined = Refined(problem, start, run, kSeeded, kRefined);
        SseOf(problem, refined) < SseOf(problem, best))
        best = std::move(refined);
    SwapWeakBands(problem, nBands, best, run);
    return best;
}

MappedBand MappedOf(const CRoomFitProblem& problem, const CodedBand& band)
{
    MappedBand mapped;
    mapped.nFreq = problem.SlotHz(band.nSlot);
    mapped.nGainCode = band.nGainCode;
    mapped.nBandwidthCode = band.nBandwidthCode;
    return mapped;
}

}  // namespace

AxisResponse CrossoverResponse(const CKTVEQ& eq)
{
    AxisResponse sum{};
    for (const CFilter* pFilter : {&eq.HighPass(), &eq.LowPass()})
        for (std::size_t i = 0; i < sum.size(); ++i)
            sum[i] += pFilter->Response()[i];
    return sum;
}

RoomFitResult FitRoom(const RoomFitInput& input, const RoomFitHooks& hooks)
{
    RoomFitResult result;
    result.strError = InputError(input);
    if (!result.strError.empty())
        return result;
    const CRoomFitProblem problem(input);
    CRoomFitRun run(hooks);
    result.before = ResidualOf(problem.Deviation(), problem.Span());
    std::vector<CodedBand> bands = FitCodes(problem, input.nBands, run);
    if (run.Cancelled()) {
        result.status = RoomFitStatus::Cancelled;
        return result;
    }
    std::sort(bands.begin(), bands.end(), [](const CodedBand& a, const CodedBand& b) { return a.nSlot < b.nSlot; });
    for (const CodedBand& band : bands)
        result.bands.push_back(MappedOf(problem, band));
    result.after = CRoomFitSum(problem, bands).Residual();
    result.status = RoomFitStatus::Done;
    run.Progress(100);
    return result;
}

RoomResidual PredictedResidual(const AxisResponse& predicted, const RoomFitInput& input)
{
    const FitSpan span = FitSpanOf(input);
    AxisResponse dev{};
    for (int i = span.nFirst; i <= span.nLast; ++i)
        dev[static_cast<std::size_t>(i)] = predicted[static_cast<std::size_t>(i)] - input.target.At(i);
    return ResidualOf(dev, span);
}

FilterMapping RoomFitMapping(const RoomFitResult& result)
{
    FilterMapping mapping;
    mapping.bands = result.bands;
    return mapping;
}

void ApplyRoomFit(CKTV_OutData& out, const RoomFitResult& result)
{
    ApplyFilterMapping(out, RoomFitMapping(result));
}
