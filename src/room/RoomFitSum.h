// The deviation from the target with a set of bands. Each band's response
// is kept, so a change to one band recomputes that band only and the total
// is updated in place; trials are scored without changing anything.
//
// Threads: plain values.
#pragma once

#include <vector>

#include "RoomFitProblem.h"

class CRoomFitSum {
public:
    explicit CRoomFitSum(const CRoomFitProblem& problem);
    template <class Band>
    CRoomFitSum(const CRoomFitProblem& problem, const std::vector<Band>& bands) : CRoomFitSum(problem)
    {
        AxisResponse response{};
        for (const Band& band : bands) {
            problem.Response(band, response);
            Add(response);
        }
    }

    int Count() const { return static_cast<int>(m_bands.size()); }
    const AxisResponse& Total() const { return m_total; }
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

private:
    void Update(const AxisResponse* pOld, const AxisResponse* pNew);

    FitSpan m_span;
    std::vector<AxisResponse> m_bands;
    AxisResponse m_total{};
    double m_dSse = 0.0;
};
