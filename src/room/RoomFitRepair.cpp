#include "RoomFitRepair.h"

#include <cmath>
#include <optional>

#include "RoomFitSum.h"

namespace {

CodedBand Stepped(CodedBand band)
{
    band.nGainCode += band.nGainCode > kGainCodeZero ? -1 : 1;
    return band;
}

// The free slot nearest to nSlot, the lower one first at equal distance.
std::optional<int> FreeSlotNear(const CRoomFitProblem& problem, const std::vector<CodedBand>& bands, int nSlot,
                                std::size_t nExcept)
{
    for (int d = 1; d < problem.SlotCount(); ++d)
        for (const int s : {nSlot - d, nSlot + d})
            if (s >= 0 && s < problem.SlotCount() && !SlotTaken(bands, s, nExcept))
                return s;
    return std::nullopt;
}

bool TakenBefore(const std::vector<CodedBand>& bands, std::size_t k)
{
    for (std::size_t j = 0; j < k; ++j)
        if (bands[j].nSlot == bands[k].nSlot)
            return true;
    return false;
}

// The first band on a slot keeps it.
void SeparateSlots(const CRoomFitProblem& problem, std::vector<CodedBand>& bands)
{
    for (std::size_t k = 0; k < bands.size();) {
        if (!TakenBefore(bands, k)) {
            ++k;
        } else if (const std::optional<int> free = FreeSlotNear(problem, bands, bands[k].nSlot, k)) {
            bands[k].nSlot = *free;
            ++k;
        } else {
            bands.erase(bands.begin() + static_cast<std::ptrdiff_t>(k));
        }
    }
}

// The axis point where the sum lies furthest beyond a limit; none when it
// fits everywhere.
std::optional<std::size_t> WorstExcess(const CRoomFitProblem& problem, const CRoomFitSum& sum)
{
    std::optional<std::size_t> worst;
    double dWorst = 0.0;
    for (std::size_t n = 0; n < sum.Eq().size(); ++n) {
        if (const double d = std::abs(problem.Excess(sum.Eq()[n])); d > dWorst) {
            dWorst = d;
            worst = n;
        }
    }
    return worst;
}

// The band whose step of one gain code towards 0 dB costs least sum of
// squares for what it takes off the excess at point n, among those that add
// to it; its whole response after the step in *pStepped.
int Culprit(const CRoomFitProblem& problem, const CRoomFitSum& sum, const std::vector<CodedBand>& bands,
            std::size_t n, AxisResponse* pStepped)
{
    const double dSign = problem.Excess(sum.Eq()[n]) > 0.0 ? 1.0 : -1.0;
    int nCulprit = -1;
    double dBestCost = 0.0;
    AxisResponse response{};
    for (int k = 0; k < sum.Count(); ++k) {
        const double dAdded = dSign * sum.BandResponse(k)[n];
        if (dAdded <= 0.0)
            continue;
        problem.WholeResponse(Stepped(bands[static_cast<std::size_t>(k)]), response);
        const double dTaken = dAdded - dSign * response[n];
        const double dCost = (sum.TrialSse(k, response) - sum.Sse()) / dTaken;
        if (nCulprit < 0 || dCost < dBestCost) {
            nCulprit = k;
            dBestCost = dCost;
            *pStepped = response;
        }
    }
    return nCulprit;
}

}  // namespace

bool SlotTaken(const std::vector<CodedBand>& bands, int nSlot, std::size_t nExcept)
{
    for (std::size_t k = 0; k < bands.size(); ++k)
        if (k != nExcept && bands[k].nSlot == nSlot)
            return true;
    return false;
}

void RepairBands(const CRoomFitProblem& problem, std::vector<CodedBand>& bands)
{
    SeparateSlots(problem, bands);
    CRoomFitSum sum(problem, bands);
    AxisResponse response{};
    while (const std::optional<std::size_t> worst = WorstExcess(problem, sum)) {
        // The sum lies beyond a limit, so some band adds to it, and its gain is not 0 dB.
        const int k = Culprit(problem, sum, bands, *worst, &response);
        bands[static_cast<std::size_t>(k)] = Stepped(bands[static_cast<std::size_t>(k)]);
        sum.Replace(k, response);
    }
}
