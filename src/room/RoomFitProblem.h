// What a room fit evaluates: the axis points of the range that the
// measurement covers, the deviation there without bands, the limits of each
// band value and of the bands' sum, and the whole-hertz frequencies a band
// may take.
//
// The boost and cut limits hold twice: on each band's gain, and on the sum
// of all bands at every point of the axis, inside the range or not, since
// bands stack and what the limit protects (speakers, amplifiers) sees only
// the sum.
//
// A band is refined on continuous values (FitBand: log2 of its centre in Hz,
// gain in dB, log2 of its bandwidth in octaves) and ends on codes
// (CodedBand). Its frequency ends on a slot: the graph's curve code centres
// a band on the axis point nearest to its frequency, so frequencies between
// two axis points draw the same curve and one whole-hertz frequency stands
// for each axis point that has one.
//
// Threads: plain values, read-only once made.
#pragma once

#include <array>
#include <vector>

#include "RoomFit.h"

enum FitParam : int { kFitLogFreq = 0, kFitGain = 1, kFitLogBandwidth = 2 };
constexpr int kFitParams = 3;
constexpr double kGainLimitDb = 20.0;
using FitBand = std::array<double, kFitParams>;

struct CodedBand {
    int nSlot = 0;
    int nGainCode = kGainCodeZero;
    int nBandwidthCode = 0;
};

// The axis points a fit looks at, nFirst … nLast; empty when nFirst > nLast.
struct FitSpan {
    int nFirst = 1;
    int nLast = 0;
    bool Empty() const { return nFirst > nLast; }
};
FitSpan FitSpanOf(const RoomFitInput& input);
// RMS and largest absolute value of deviations nFirst … nLast of dev.
RoomResidual ResidualOf(const AxisResponse& dev, const FitSpan& span);

class CRoomFitProblem {
public:
    explicit CRoomFitProblem(const RoomFitInput& input);

    const FitSpan& Span() const { return m_span; }
    // Measurement + crossover − target at the span's points.
    const AxisResponse& Deviation() const { return m_dev; }

    int SlotCount() const { return static_cast<int>(m_slotHz.size()); }
    int SlotHz(int nSlot) const { return m_slotHz[static_cast<std::size_t>(nSlot)]; }
    int SlotAxis(int nSlot) const { return m_slotAxis[static_cast<std::size_t>(nSlot)]; }
    // The slot whose axis point is nearest to the frequency, in log scale.
    int NearestSlot(double dLogFreq) const;

    double BoostDb() const { return m_dBoostDb; }
    double CutDb() const { return m_dCutDb; }  // 0 or negative
    int MinGainCode() const { return m_nMinGainCode; }
    int MaxGainCode() const { return m_nMaxGainCode; }
    // The gain code nearest to dGain within the limits, and also within
    // dLowDb … dHighDb when given (a band added to others: what the sum
    // leaves it); 0 dB when no code is.
    int GainCode(double dGain, double dLowDb = -kGainLimitDb, double dHighDb = kGainLimitDb) const;
    // How far a sum of bands lies beyond the limits: above the boost
    // (positive), below the cut (negative) or 0.
    double Excess(double dSumDb) const;

    double Lower(int nParam) const { return m_lower[static_cast<std::size_t>(nParam)]; }
    double Upper(int nParam) const { return m_upper[static_cast<std::size_t>(nParam)]; }
    FitBand Clamped(FitBand band) const;
    CodedBand Quantised(const FitBand& band) const;
    FitBand Continuous(const CodedBand& band) const;

    // A band's response at the span's points; the coded band's is the one
    // its record draws. Completed, it covers the points outside the span
    // too, which only the sum's limits look at: a fit completes a response
    // once it has been found better, not for every trial.
    void Response(const FitBand& band, AxisResponse& out) const;
    void Response(const CodedBand& band, AxisResponse& out) const;
    void Complete(const CodedBand& band, AxisResponse& out) const;
    void WholeResponse(const CodedBand& band, AxisResponse& out) const;

private:
    void MakeSlots(const RoomFitInput& input);

    FitSpan m_span;
    AxisResponse m_dev{};
    std::vector<int> m_slotHz;
    std::vector<int> m_slotAxis;
    int m_nMinGainCode = 0;
    int m_nMaxGainCode = kGainCodeZero;
    double m_dBoostDb = 0.0;
    double m_dCutDb = 0.0;
    FitBand m_lower{};
    FitBand m_upper{};
};
