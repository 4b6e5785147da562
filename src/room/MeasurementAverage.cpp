#include "MeasurementAverage.h"

#include <algorithm>
#include <cmath>
#include <complex>

#include "DataDefine.h"
#include "RoomText.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

bool Covers(const std::vector<MeasurementPoint>& points, double dFreq)
{
    return points.size() >= 2 && dFreq >= points.front().dFreq && dFreq <= points.back().dFreq;
}

bool AllCover(const Positions& positions, double dFreq)
{
    return std::all_of(positions.begin(), positions.end(), [&](const auto& p) { return Covers(p, dFreq); });
}

MeasurementPoint AveragePoint(const Positions& unwrapped, double dFreq, bool bPhase)
{
    double dPower = 0.0;
    std::complex<double> mean;
    for (const auto& points : unwrapped) {
        const MeasurementPoint p = InterpolatePoint(points, dFreq);
        dPower += std::pow(10.0, p.dDb / 10.0);
        mean += std::polar(std::pow(10.0, p.dDb / 20.0), p.dPhase * kPi / 180.0);
    }
    MeasurementPoint point;
    point.dFreq = dFreq;
    point.dDb = 10.0 * std::log10(dPower / static_cast<double>(unwrapped.size()));
    point.bPhase = bPhase;
    point.dPhase = bPhase ? std::arg(mean) * 180.0 / kPi : 0.0;
    return point;
}

}  // namespace

bool PowerAverage(const Positions& positions, std::vector<MeasurementPoint>* pAverage, std::string* pError)
{
    if (positions.empty() || positions.size() > static_cast<std::size_t>(kMaxPositions)) {
        *pError = Say(kTxtRoomPositions, {std::to_string(kMaxPositions)});
        return false;
    }
    Positions unwrapped;
    for (const auto& points : positions)
        unwrapped.push_back(UnwrappedPhase(points));
    const bool bPhase =
        std::all_of(positions.begin(), positions.end(), [](const auto& p) { return HasPhase(p); });
    pAverage->clear();
    for (const double f : g_dFreqAxis)
        if (AllCover(positions, f))
            pAverage->push_back(AveragePoint(unwrapped, f, bPhase));
    if (pAverage->size() < 2) {
        *pError = Say(kTxtRoomNotAudioBand);
        return false;
    }
    return true;
}

Spread PositionSpread(const Positions& positions, const std::vector<MeasurementPoint>& average)
{
    Spread spread;
    for (const MeasurementPoint& avg : average) {
        double dMin = avg.dDb;
        double dMax = avg.dDb;
        for (const auto& points : positions) {
            const double dDb = InterpolatePoint(points, avg.dFreq).dDb;
            dMin = std::min(dMin, dDb);
            dMax = std::max(dMax, dDb);
        }
        spread.dMin.push_back(dMin);
        spread.dMax.push_back(dMax);
    }
    return spread;
}
