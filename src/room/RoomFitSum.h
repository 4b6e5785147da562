// The deviation from the target with a set of bands, and the bands' own
// sum. Each band's response is kept, so a change to one band recomputes
// that band only and the totals are updated in place; trials are scored
// without changing anything.
//
// The bands' sum covers the whole axis, for the limits: Fits and Eq hold
// only when every response given was whole (CRoomFitProblem::WholeResponse).
// The refiner, which works on the span's points alone, never asks them.
//
// Threads: plain values.
#pragma once

#include <vector>

#include "RoomFitProblem.h"

class CRoomFitSum {
public:
    explicit CRoomFitSum(const CRoomFitProblem& problem);
    CRoomFitSum(const CRoomFitProblem& problem, const std::vector<CodedBand>& bands);
    CRoomFitSum(const CRoomFitProblem& problem, const std::vector<FitBand>& bands);

    int Count() const { return static_cast<int>(m_bands.size()); }
    const AxisResponse& Total() const { return m_total; }
    // The bands' sum in dB at every axis point.
    const AxisResponse& Eq() const { return m_eq; }
    const AxisResponse& BandResponse(int k) const { return m_bands[static_cast<std::size_t>(k)]; }
    // Sum of squared deviations over the span.
    double Sse() const { return m_dSse; }
    RoomResidual Residual() const { return ResidualOf(m_total, m_span); }

    void Add(const AxisResponse& response);
    void Replace(int k, const AxisResponse& response);
    void Remove(int k);

    // The sum of squares were band k's response the given one (k = Count():
    // were it added), or were band k left out.
    double TrialSse(int k, const AxisResponse& response) const;
    double SseWithout(int k) const;
    // Whether the bands' sum stays within the limits at every axis point
    // were band k's whole response the given one (k = Count(): were it
    // added), or were band k left out.
    bool Fits(int k, const AxisResponse& whole) const;
    bool FitsWithout(int k) const;

private:
    void Update(const AxisResponse* pOld, const AxisResponse* pNew);
    bool FitsChanged(const AxisResponse* pOld, const AxisResponse* pNew) const;

    const CRoomFitProblem& m_problem;
    FitSpan m_span;
    std::vector<AxisResponse> m_bands;
    AxisResponse m_total{};
    AxisResponse m_eq{};
    double m_dSse = 0.0;
};
