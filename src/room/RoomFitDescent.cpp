#include "RoomFitDescent.h"

#include <algorithm>
#include <array>
#include <span>

#include "RoomFitRepair.h"
#include "RoomFitSum.h"

namespace {

constexpr int kMaxSweeps = 60;
// Far moves first: a band leaves a shallow basin before it settles.
constexpr std::array<int, 3> kSlotSteps = {4, 2, 1};
constexpr std::array<int, 3> kGainSteps = {10, 3, 1};
constexpr std::array<int, 4> kBandwidthSteps = {30, 10, 3, 1};
// Less than this share of the sum of squares is rounding, not an improvement.
constexpr double kImprovement = 1e-12;

int& Value(CodedBand& band, int nParam)
{
    return nParam == kFitLogFreq ? band.nSlot : nParam == kFitGain ? band.nGainCode : band.nBandwidthCode;
}

int Lowest(const CRoomFitProblem& problem, int nParam)
{
    return nParam == kFitGain ? problem.MinGainCode() : 0;
}

int Highest(const CRoomFitProblem& problem, int nParam)
{
    return nParam == kFitLogFreq ? problem.SlotCount() - 1
           : nParam == kFitGain  ? problem.MaxGainCode()
                                 : kBandwidthCodeMax;
}

std::span<const int> StepsOf(int nParam)
{
    return nParam == kFitLogFreq ? std::span<const int>(kSlotSteps)
           : nParam == kFitGain  ? std::span<const int>(kGainSteps)
                                 : std::span<const int>(kBandwidthSteps);
}

// Tries value ± each step of band k's value; keeps what lowers the sum of
// squares within the rules. The whole response is made only for a trial
// that lowers it.
bool ImproveValue(const CRoomFitProblem& problem, CRoomFitSum& sum, std::vector<CodedBand>& bands, std::size_t k,
                  int nParam)
{
    AxisResponse response{};
    bool bImproved = false;
    const int nBand = static_cast<int>(k);
    for (const int nStep : StepsOf(nParam)) {
        for (const int nSign : {1, -1}) {
            CodedBand trial = bands[k];
            int& nValue = Value(trial, nParam);
            nValue = std::clamp(nValue + nSign * nStep, Lowest(problem, nParam), Highest(problem, nParam));
            if (nValue == Value(bands[k], nParam) || (nParam == kFitLogFreq && SlotTaken(bands, nValue, k)))
                continue;
            problem.Response(trial, response);
            if (sum.TrialSse(nBand, response) >= sum.Sse() * (1.0 - kImprovement))
                continue;
            problem.Complete(trial, response);
            if (sum.Fits(nBand, response)) {
                sum.Replace(nBand, response);
                bands[k] = trial;
                bImproved = true;
            }
        }
    }
    return bImproved;
}

}  // namespace

void DescendCodes(const CRoomFitProblem& problem, std::vector<CodedBand>& bands, CRoomFitRun& run)
{
    CRoomFitSum sum(problem, bands);
    bool bImproved = true;
    for (int nSweep = 0; nSweep < kMaxSweeps && bImproved && !run.Cancelled(); ++nSweep) {
        bImproved = false;
        for (std::size_t k = 0; k < bands.size(); ++k)
            for (int p = 0; p < kFitParams; ++p)
                bImproved |= ImproveValue(problem, sum, bands, k, p);
    }
}

bool PruneBands(const CRoomFitProblem& problem, std::vector<CodedBand>& bands)
{
    const std::size_t nBefore = bands.size();
    CRoomFitSum sum(problem, bands);
    for (int k = sum.Count() - 1; k >= 0; --k) {
        if (sum.SseWithout(k) <= sum.Sse() && sum.FitsWithout(k)) {
            sum.Remove(k);
            bands.erase(bands.begin() + k);
        }
    }
    return bands.size() < nBefore;
}

double SseOf(const CRoomFitProblem& problem, const std::vector<CodedBand>& bands)
{
    return CRoomFitSum(problem, bands).Sse();
}
