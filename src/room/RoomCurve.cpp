#include "RoomCurve.h"

#include <algorithm>
#include <cmath>

#include "DataDefine.h"
#include "KTVEQ.h"
#include "RoomText.h"

namespace {

constexpr double kAverageLow = 200.0;
constexpr double kAverageHigh = 2000.0;

}  // namespace

bool CRoomCurve::Assign(const std::vector<MeasurementPoint>& points, std::string* pError)
{
    int nFirst = kAxisPoints;
    int nLast = -1;
    AxisResponse db{};
    AxisResponse phase{};
    const std::vector<MeasurementPoint> unwrapped = UnwrappedPhase(points);
    for (int i = 0; i < kAxisPoints && points.size() >= 2; ++i) {
        const double f = g_dFreqAxis[static_cast<std::size_t>(i)];
        if (f < points.front().dFreq || f > points.back().dFreq)
            continue;
        const MeasurementPoint point = InterpolatePoint(unwrapped, f);
        db[static_cast<std::size_t>(i)] = point.dDb;
        phase[static_cast<std::size_t>(i)] = point.dPhase;
        nFirst = std::min(nFirst, i);
        nLast = i;
    }
    if (nLast < 0) {
        *pError = Say(kTxtRoomNotAudioBand);
        return false;
    }
    double dSum = 0.0;
    int nCount = 0;
    for (int pass = 0; pass < 2 && nCount == 0; ++pass) {
        for (int i = nFirst; i <= nLast; ++i) {
            const double f = g_dFreqAxis[static_cast<std::size_t>(i)];
            if (pass == 1 || (f >= kAverageLow && f <= kAverageHigh)) {
                dSum += db[static_cast<std::size_t>(i)];
                ++nCount;
            }
        }
    }
    m_dOffset = -dSum / nCount;
    for (int i = nFirst; i <= nLast; ++i)
        db[static_cast<std::size_t>(i)] += m_dOffset;
    m_dDb = db;
    m_dPhase = phase;
    m_bPhase = ::HasPhase(points);
    m_nFirst = nFirst;
    m_nLast = nLast;
    return true;
}

void CRoomCurve::Clear()
{
    m_nFirst = 1;
    m_nLast = 0;
    m_dOffset = 0.0;
    m_bPhase = false;
}

void CRoomCurve::Predict(const CKTVEQ& eq, AxisResponse& out) const
{
    SummedResponse(eq, out);
    for (int i = m_nFirst; i <= m_nLast; ++i)
        out[static_cast<std::size_t>(i)] += m_dDb[static_cast<std::size_t>(i)];
}

void SummedResponse(const CKTVEQ& eq, AxisResponse& out)
{
    out.fill(0.0);
    for (int b = 0; b < eq.GetSize(); ++b) {
        const auto& response = eq[b].Response();
        for (int i = 0; i < kAxisPoints; ++i)
            out[static_cast<std::size_t>(i)] += response[static_cast<std::size_t>(i)];
    }
}
