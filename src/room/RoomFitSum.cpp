#include "RoomFitSum.h"

namespace {

double Square(double d)
{
    return d * d;
}

}  // namespace

CRoomFitSum::CRoomFitSum(const CRoomFitProblem& problem) : m_span(problem.Span()), m_total(problem.Deviation())
{
    Update(nullptr, nullptr);
}

void CRoomFitSum::Add(const AxisResponse& response)
{
    m_bands.push_back(response);
    Update(nullptr, &response);
}

void CRoomFitSum::Replace(int k, const AxisResponse& response)
{
    AxisResponse& band = m_bands[static_cast<std::size_t>(k)];
    Update(&band, &response);
    band = response;
}

void CRoomFitSum::Remove(int k)
{
    Update(&m_bands[static_cast<std::size_t>(k)], nullptr);
    m_bands.erase(m_bands.begin() + k);
}

void CRoomFitSum::Update(const AxisResponse* pOld, const AxisResponse* pNew)
{
    m_dSse = 0.0;
    for (int i = m_span.nFirst; i <= m_span.nLast; ++i) {
        const auto n = static_cast<std::size_t>(i);
        m_total[n] += (pNew ? (*pNew)[n] : 0.0) - (pOld ? (*pOld)[n] : 0.0);
        m_dSse += Square(m_total[n]);
    }
}

double CRoomFitSum::TrialSse(int k, const AxisResponse& response) const
{
    const AxisResponse* pOld = k < Count() ? &m_bands[static_cast<std::size_t>(k)] : nullptr;
    double dSse = 0.0;
    for (int i = m_span.nFirst; i <= m_span.nLast; ++i) {
        const auto n = static_cast<std::size_t>(i);
        dSse += Square(m_total[n] + response[n] - (pOld ? (*pOld)[n] : 0.0));
    }
    return dSse;
}

double CRoomFitSum::SseWithout(int k) const
{
    double dSse = 0.0;
    for (int i = m_span.nFirst; i <= m_span.nLast; ++i) {
        const auto n = static_cast<std::size_t>(i);
        dSse += Square(m_total[n] - m_bands[static_cast<std::size_t>(k)][n]);
    }
    return dSse;
}
