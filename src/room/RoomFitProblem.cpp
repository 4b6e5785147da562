#include "RoomFitProblem.h"

#include <algorithm>
#include <cmath>

namespace {

// Slack for limits given as decimals: −3.3 dB must admit code 167.
constexpr double kLimitSlack = 1e-6;

// Gain code of a limit in dB: the code at or within it.
int CodeAtOrAbove(double dDb)
{
    return static_cast<int>(std::ceil((dDb + kGainLimitDb) * 10.0 - kLimitSlack));
}

int CodeAtOrBelow(double dDb)
{
    return static_cast<int>(std::floor((dDb + kGainLimitDb) * 10.0 + kLimitSlack));
}

// The whole hertz within lo … hi that the curve code centres on axis point
// a, nearest to the point; 0 when none does.
int SlotHzOf(int a, int nLowHz, int nHighHz)
{
    const double dAxis = g_dFreqAxis[static_cast<std::size_t>(a)];
    int nBest = 0;
    for (const long nHz : {std::lround(dAxis), std::lround(dAxis) - 1, std::lround(dAxis) + 1}) {
        const int n = static_cast<int>(nHz);
        if (n < nLowHz || n > nHighHz || NearestAxisIndex(n) != a)
            continue;
        if (nBest == 0 || std::abs(n - dAxis) < std::abs(nBest - dAxis))
            nBest = n;
    }
    return nBest;
}

}  // namespace

FitSpan FitSpanOf(const RoomFitInput& input)
{
    FitSpan span;
    span.nFirst = kAxisPoints;
    span.nLast = -1;
    for (int i = input.measurement.First(); i <= input.measurement.Last(); ++i) {
        const double f = g_dFreqAxis[static_cast<std::size_t>(i)];
        if (f < input.dLowHz || f > input.dHighHz)
            continue;
        span.nFirst = std::min(span.nFirst, i);
        span.nLast = i;
    }
    return span;
}

RoomResidual ResidualOf(const AxisResponse& dev, const FitSpan& span)
{
    RoomResidual residual;
    if (span.Empty())
        return residual;
    double dSum = 0.0;
    for (int i = span.nFirst; i <= span.nLast; ++i) {
        const double d = dev[static_cast<std::size_t>(i)];
        dSum += d * d;
        residual.dMaxDb = std::max(residual.dMaxDb, std::abs(d));
    }
    residual.dRmsDb = std::sqrt(dSum / (span.nLast - span.nFirst + 1));
    return residual;
}

CRoomFitProblem::CRoomFitProblem(const RoomFitInput& input) : m_span(FitSpanOf(input))
{
    for (int i = m_span.nFirst; i <= m_span.nLast; ++i) {
        const auto n = static_cast<std::size_t>(i);
        m_dev[n] = input.measurement.At(i) + input.crossover[n] - input.target.At(i);
    }
    MakeSlots(input);
    m_nMinGainCode = std::clamp(CodeAtOrAbove(input.dMaxCutDb), 0, kGainCodeZero);
    m_nMaxGainCode = std::clamp(CodeAtOrBelow(input.dMaxBoostDb), kGainCodeZero, kGainCodeMax);
    m_dBoostDb = input.dMaxBoostDb;
    m_dCutDb = input.dMaxCutDb;
    m_lower = {std::log2(g_dFreqAxis[static_cast<std::size_t>(m_slotAxis.front())]), CodeToGain(m_nMinGainCode),
               std::log2(CodeToBandwidth(0))};
    m_upper = {std::log2(g_dFreqAxis[static_cast<std::size_t>(m_slotAxis.back())]), CodeToGain(m_nMaxGainCode),
               std::log2(CodeToBandwidth(kBandwidthCodeMax))};
}

void CRoomFitProblem::MakeSlots(const RoomFitInput& input)
{
    const int nLowHz = static_cast<int>(std::ceil(input.dLowHz - kLimitSlack));
    const int nHighHz = static_cast<int>(std::floor(input.dHighHz + kLimitSlack));
    for (int a = 0; a < kAxisPoints; ++a) {
        if (const int nHz = SlotHzOf(a, nLowHz, nHighHz)) {
            m_slotHz.push_back(nHz);
            m_slotAxis.push_back(a);
        }
    }
}

int CRoomFitProblem::NearestSlot(double dLogFreq) const
{
    int nBest = 0;
    double dBest = 1e300;
    for (int s = 0; s < SlotCount(); ++s) {
        const double d = std::abs(std::log2(g_dFreqAxis[static_cast<std::size_t>(SlotAxis(s))]) - dLogFreq);
        if (d < dBest) {
            dBest = d;
            nBest = s;
        }
    }
    return nBest;
}

int CRoomFitProblem::GainCode(double dGain, double dLowDb, double dHighDb) const
{
    const int nLow = std::max(m_nMinGainCode, CodeAtOrAbove(dLowDb));
    const int nHigh = std::min(m_nMaxGainCode, CodeAtOrBelow(dHighDb));
    if (nLow > nHigh)
        return kGainCodeZero;
    const double dCode = std::clamp((dGain + kGainLimitDb) * 10.0, 0.0, static_cast<double>(kGainCodeMax));
    return std::clamp(static_cast<int>(std::lround(dCode)), nLow, nHigh);
}

double CRoomFitProblem::Excess(double dSumDb) const
{
    if (dSumDb > m_dBoostDb + kLimitSlack)
        return dSumDb - m_dBoostDb;
    return dSumDb < m_dCutDb - kLimitSlack ? dSumDb - m_dCutDb : 0.0;
}

FitBand CRoomFitProblem::Clamped(FitBand band) const
{
    for (int j = 0; j < kFitParams; ++j)
        band[static_cast<std::size_t>(j)] = std::clamp(band[static_cast<std::size_t>(j)], Lower(j), Upper(j));
    return band;
}

CodedBand CRoomFitProblem::Quantised(const FitBand& band) const
{
    const double dCode = (std::exp2(band[kFitLogBandwidth]) - CodeToBandwidth(0)) / (CodeToBandwidth(1) - CodeToBandwidth(0));
    return {NearestSlot(band[kFitLogFreq]), GainCode(band[kFitGain]),
            std::clamp(static_cast<int>(std::lround(dCode)), 0, kBandwidthCodeMax)};
}

FitBand CRoomFitProblem::Continuous(const CodedBand& band) const
{
    return {std::log2(g_dFreqAxis[static_cast<std::size_t>(SlotAxis(band.nSlot))]), CodeToGain(band.nGainCode),
            std::log2(CodeToBandwidth(band.nBandwidthCode))};
}

void CRoomFitProblem::Response(const FitBand& band, AxisResponse& out) const
{
    PeakingSpanResponse(std::exp2(band[kFitLogFreq]), band[kFitGain], std::exp2(band[kFitLogBandwidth]),
                        m_span.nFirst, m_span.nLast, out);
}

void CRoomFitProblem::Response(const CodedBand& band, AxisResponse& out) const
{
    PeakingSpanResponse(g_dFreqAxis[static_cast<std::size_t>(SlotAxis(band.nSlot))], CodeToGain(band.nGainCode),
                        CodeToBandwidth(band.nBandwidthCode), m_span.nFirst, m_span.nLast, out);
}

void CRoomFitProblem::Complete(const CodedBand& band, AxisResponse& out) const
{
    const double dCentre = g_dFreqAxis[static_cast<std::size_t>(SlotAxis(band.nSlot))];
    const double dGain = CodeToGain(band.nGainCode);
    const double dBandwidth = CodeToBandwidth(band.nBandwidthCode);
    PeakingSpanResponse(dCentre, dGain, dBandwidth, 0, m_span.nFirst - 1, out);
    PeakingSpanResponse(dCentre, dGain, dBandwidth, m_span.nLast + 1, kAxisPoints - 1, out);
}

void CRoomFitProblem::WholeResponse(const CodedBand& band, AxisResponse& out) const
{
    Response(band, out);
    Complete(band, out);
}
