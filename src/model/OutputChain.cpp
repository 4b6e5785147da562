#include "OutputChain.h"

#include <algorithm>
#include <cmath>

#include "DelayTable.h"
#include "KTVEQ.h"
#include "KTV_Data.h"
#include "ValueScales.h"

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kSamplesPerMs = 96.0;  // the sections run at 96 kHz
constexpr double kSmallestPower = 1e-30;  // stands in for silence in dB
}  // namespace

ChainResponse ComputeChain(const CKTVEQ& eq, const ChainSettings& settings)
{
    ChainResponse chain;
    chain.settings = settings;
    chain.bands.fill(1.0);
    for (int b = 0; b < eq.GetSize(); ++b) {
        const SectionList sections = eq[b].Sections();
        MultiplySections(sections, chain.bands);
        AddSectionsDelay(sections, chain.dBandsDelayMs);
    }
    for (double& d : chain.dBandsDelayMs)
        d /= kSamplesPerMs;
    return chain;
}

ChainResponse OutputChainOf(CKTV_Data& data, int nOutput)
{
    CKTV_OutData& out = data.Output(nOutput);
    CProcessorState& state = data.State();
    ChainSettings settings;
    settings.nDelayCode = GetPositionDelay(state, GetCurrentPosition(state), nOutput);
    settings.bInverted = out.GetPolarity() != 0;
    settings.dLevelDb = LevelToDb(out.GetLevel());
    settings.bMuted = out.GetMute() != 0;
    return ComputeChain(out.EQ(), settings);
}

std::complex<double> DelayFactor(double dFreq, int nDelayCode, bool bInverted)
{
    const double dSeconds = nDelayCode / kDelayCodesPerMs / 1000.0;
    return std::polar(bInverted ? -1.0 : 1.0, -2.0 * kPi * dFreq * dSeconds);
}

std::complex<double> ChainValue(const ChainResponse& chain, int i, int nDelayCode, bool bInverted)
{
    const auto n = static_cast<std::size_t>(i);
    return chain.bands[n] * DelayFactor(g_dFreqAxis[n], nDelayCode, bInverted);
}

void ChainPhase(const ChainResponse& chain, AxisResponse& out)
{
    for (int i = 0; i < kAxisPoints; ++i)
        out[static_cast<std::size_t>(i)] =
            DegreesOf(ChainValue(chain, i, chain.settings.nDelayCode, chain.settings.bInverted));
}

void ChainGroupDelay(const ChainResponse& chain, AxisResponse& out)
{
    const double dDelayMs = chain.settings.nDelayCode / kDelayCodesPerMs;
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = chain.dBandsDelayMs[i] + dDelayMs;
}

double DegreesOf(std::complex<double> value)
{
    return std::arg(value) * 180.0 / kPi;
}

double DbOf(std::complex<double> value)
{
    return 10.0 * std::log10(std::max(std::norm(value), kSmallestPower));
}
