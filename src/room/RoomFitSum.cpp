#include "RoomFitSum.h"

namespace {

double Square(double d)
{
    return d * d;
}

}  // namespace

CRoomFitSum::CRoomFitSum(const CRoomFitProblem& problem)
    : m_problem(problem), m_span(problem.Span()), m_total(problem.Deviation())
{
    Update(nullptr, nullptr);
}

CRoomFitSum::CRoomFitSum(const CRoomFitProblem& problem, const std::vector<CodedBand>& bands) : CRoomFitSum(problem)
{
    AxisResponse response{};
    for (const CodedBand& band : bands) {
        problem.WholeResponse(band, response);
        Add(response);
    }
}

CRoomFitSum::CRoomFitSum(const CRoomFitProblem& problem, const std::vector<FitBand>& bands) : CRoomFitSum(problem)
{
    AxisResponse response{};
    for (const FitBand& band : bands) {
        problem.Response(band, response);
        Add(response);
    }
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
    for (std::size_t n = 0; n < m_eq.size(); ++n)
        m_eq[n] += (pNew ? (*pNew)[n] : 0.0) - (pOld ? (*pOld)[n] : 0.0);
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

bool CRoomFitSum::Fits(int k, const AxisResponse& whole) const
{
    return FitsChanged(k < Count() ? &m_bands[static_cast<std::size_t>(k)] : nullptr, &whole);
}

bool CRoomFitSum::FitsWithout(int k) const
{
    return FitsChanged(&m_bands[static_cast<std::size_t>(k)], nullptr);
}

bool CRoomFitSum::FitsChanged(const AxisResponse* pOld, const AxisResponse* pNew) const
{
    for (std::size_t n = 0; n < m_eq.size(); ++n)
        if (m_problem.Excess(m_eq[n] + (pNew ? (*pNew)[n] : 0.0) - (pOld ? (*pOld)[n] : 0.0)) != 0.0)
            return false;
    return true;
}
