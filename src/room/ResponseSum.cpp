#include "ResponseSum.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "DelayTable.h"

namespace {

constexpr double kPeakWindowDb = 10.0;
constexpr double kTieDb = 1e-6;  // flatness differences below this are ties
constexpr double kPi = 3.14159265358979323846;

bool Measured(const SumMember& member)
{
    return member.pMeasured && !member.pMeasured->IsEmpty() && member.pMeasured->HasPhase();
}

bool UsesMeasurements(const std::vector<SumMember>& members)
{
    return !members.empty() && std::all_of(members.begin(), members.end(), Measured);
}

// The member's value at point i before its delay and polarity: the filters,
// the level and, when the sum uses them, the measurement with its level
// relative to the other members' (dReference undoes the common offset).
std::complex<double> BaseValue(const SumMember& member, int i, bool bMeasured, double dReference)
{
    std::complex<double> value = member.chain.bands[static_cast<std::size_t>(i)] *
                                 std::pow(10.0, member.chain.settings.dLevelDb / 20.0);
    if (bMeasured) {
        const CRoomCurve& room = *member.pMeasured;
        value *= std::polar(std::pow(10.0, (room.At(i) - room.Offset() + dReference) / 20.0),
                            room.PhaseAt(i) * kPi / 180.0);
    }
    return member.chain.settings.bMuted ? std::complex<double>() : value;
}

struct Window {
    int nFirst = 0;
    int nLast = kAxisPoints - 1;
    bool bMeasured = false;
    double dReference = 0.0;
};

Window Coverage(const std::vector<SumMember>& members)
{
    Window window;
    window.bMeasured = UsesMeasurements(members);
    if (!window.bMeasured)
        return window;
    for (const SumMember& member : members) {
        window.nFirst = std::max(window.nFirst, member.pMeasured->First());
        window.nLast = std::min(window.nLast, member.pMeasured->Last());
        window.dReference += member.pMeasured->Offset() / static_cast<double>(members.size());
    }
    return window;
}

std::complex<double> MemberValue(const SumMember& member, const Window& window, int i)
{
    const ChainSettings& s = member.chain.settings;
    return BaseValue(member, i, window.bMeasured, window.dReference) *
           DelayFactor(g_dFreqAxis[static_cast<std::size_t>(i)], s.nDelayCode, s.bInverted);
}

double MemberDb(const SumMember& member, const Window& window, int i)
{
    return DbOf(BaseValue(member, i, window.bMeasured, window.dReference));
}

// One member's value over the octave at each candidate delay and polarity.
struct Trial {
    std::vector<std::complex<double>> base;  // without delay and polarity
    std::vector<double> dFreq;
};

Trial TrialOf(const SumMember& member, const Window& window, int nFirst, int nLast)
{
    Trial trial;
    for (int i = nFirst; i <= nLast; ++i) {
        trial.base.push_back(BaseValue(member, i, window.bMeasured, window.dReference));
        trial.dFreq.push_back(g_dFreqAxis[static_cast<std::size_t>(i)]);
    }
    return trial;
}

std::complex<double> Shifted(const Trial& trial, std::size_t k, int nDelayCode, bool bInverted)
{
    return trial.base[k] * DelayFactor(trial.dFreq[k], nDelayCode, bInverted);
}

struct Setting {
    int nDelay[2];
    bool bInverted[2];
};

// The pair's sum in dB over the octave, and how far it falls short of the
// two adding fully in phase.
struct OctaveSum {
    std::vector<double> dDb;
    std::vector<double> dShortfall;
};

OctaveSum SumOver(const Trial (&trials)[2], const Setting& setting)
{
    OctaveSum sum;
    for (std::size_t k = 0; k < trials[0].base.size(); ++k) {
        const std::complex<double> a = Shifted(trials[0], k, setting.nDelay[0], setting.bInverted[0]);
        const std::complex<double> b = Shifted(trials[1], k, setting.nDelay[1], setting.bInverted[1]);
        sum.dDb.push_back(DbOf(a + b));
        sum.dShortfall.push_back(DbOf(std::abs(a) + std::abs(b)) - sum.dDb.back());
    }
    return sum;
}

double Rms(const std::vector<double>& values, double dAround)
{
    double dSquares = 0.0;
    for (const double d : values)
        dSquares += (d - dAround) * (d - dAround);
    return std::sqrt(dSquares / static_cast<double>(std::max<std::size_t>(values.size(), 1)));
}

// RMS deviation of the pair's sum in dB from its mean over the octave.
double Flatness(const Trial (&trials)[2], const Setting& setting)
{
    const std::vector<double> db = SumOver(trials, setting).dDb;
    return Rms(db, std::accumulate(db.begin(), db.end(), 0.0) / static_cast<double>(std::max<std::size_t>(db.size(), 1)));
}

// The filters' own ripple is beyond a delay's reach: the search judges how
// fully the pair adds in phase, which is what makes the sum flattest.
double Shortfall(const Trial (&trials)[2], const Setting& setting)
{
    return Rms(SumOver(trials, setting).dShortfall, 0.0);
}

}  // namespace

SumResult SumChains(const std::vector<SumMember>& members)
{
    SumResult result;
    const Window window = Coverage(members);
    result.bFiltersOnly = !window.bMeasured;
    result.nFirst = window.nFirst;
    result.nLast = window.nLast;
    for (int i = window.nFirst; i <= window.nLast; ++i) {
        std::complex<double> sum;
        for (const SumMember& member : members)
            sum += MemberValue(member, window, i);
        result.dDb[static_cast<std::size_t>(i)] = DbOf(sum);
        result.dPhase[static_cast<std::size_t>(i)] = DegreesOf(sum);
    }
    return result;
}

double PairCrossover(const SumMember& first, const SumMember& second)
{
    const Window window = Coverage({first, second});
    double dPeak = -1e300;
    for (int i = window.nFirst; i <= window.nLast; ++i)
        dPeak = std::max({dPeak, MemberDb(first, window, i), MemberDb(second, window, i)});
    int nBest = window.nFirst;
    double dBestGap = 1e300;
    for (int i = window.nFirst; i <= window.nLast; ++i) {
        const double a = MemberDb(first, window, i);
        const double b = MemberDb(second, window, i);
        if (std::max(a, b) >= dPeak - kPeakWindowDb && std::abs(a - b) < dBestGap) {
            dBestGap = std::abs(a - b);
            nBest = i;
        }
    }
    return g_dFreqAxis[static_cast<std::size_t>(nBest)];
}

AlignAdvice AdviseAlignment(const SumMember& first, const SumMember& second)
{
    AlignAdvice advice;
    const Window window = Coverage({first, second});
    advice.bFiltersOnly = !window.bMeasured;
    advice.dCrossoverHz = PairCrossover(first, second);
    const int nLow = std::max(window.nFirst, NearestAxisIndex(advice.dCrossoverHz / std::sqrt(2.0)));
    const int nHigh = std::min(window.nLast, NearestAxisIndex(advice.dCrossoverHz * std::sqrt(2.0)));
    const Trial trials[2] = {TrialOf(first, window, nLow, nHigh), TrialOf(second, window, nLow, nHigh)};
    const Setting now{{first.chain.settings.nDelayCode, second.chain.settings.nDelayCode},
                      {first.chain.settings.bInverted, second.chain.settings.bInverted}};
    advice.dBeforeDb = Flatness(trials, now);
    advice.nDelayCode = now.nDelay[1];
    advice.bInvertSecond = now.bInverted[1];
    // The fullest addition; of equal ones the smallest change.
    Setting best = now;
    double dBest = Shortfall(trials, now);
    int nBestChange = 0;
    for (int m = 0; m < 2; ++m)
        for (int nCode = 0; nCode <= kMaxDelayCode; ++nCode)
            for (const bool bFlip : {false, true}) {
                Setting setting = now;
                setting.nDelay[m] = nCode;
                setting.bInverted[1] = now.bInverted[1] != bFlip;
                const double dScore = Shortfall(trials, setting);
                const int nChange = std::abs(nCode - now.nDelay[m]) + (bFlip ? 1 : 0);
                if (dScore < dBest - kTieDb || (dScore <= dBest + kTieDb && nChange < nBestChange)) {
                    best = setting;
                    dBest = std::min(dScore, dBest);
                    nBestChange = nChange;
                    advice.nMember = m;
                    advice.nDelayCode = nCode;
                }
            }
    advice.bInvertSecond = best.bInverted[1];
    advice.dAfterDb = Flatness(trials, best);
    return advice;
}
