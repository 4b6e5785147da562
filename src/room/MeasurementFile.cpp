#include "MeasurementFile.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "RoomText.h"

namespace {

MeasurementResult Refused(RoomFileError error)
{
    MeasurementResult result;
    result.strError = RoomFileErrorText(error);
    result.error = std::move(error);
    return result;
}

bool IsComment(std::string_view line)
{
    return line.front() == '*' || line.front() == '#';
}

// The point of one data line, or why it is none.
std::optional<RoomFileError> ParsePoint(std::string_view line, int nLine, MeasurementPoint* pPoint)
{
    const std::vector<std::string> fields = RoomFields(line);
    if (fields.size() < 2 || fields.size() > 3)
        return RoomFileError{kTxtMeasureExpected, nLine, {}};
    double dValues[3] = {};
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (!ParseRoomNumber(fields[i], &dValues[i]))
            return RoomFileError{kTxtRoomNotNumber, nLine, {RoomQuote(fields[i])}};
    if (dValues[0] < kMeasureMinFreq || dValues[0] > kMeasureMaxFreq)
        return RoomFileError{kTxtMeasureFrequency, nLine, {RoomQuote(fields[0])}};
    if (std::abs(dValues[1]) > kRoomMaxLevelDb)
        return RoomFileError{kTxtMeasureLevel, nLine, {RoomQuote(fields[1])}};
    pPoint->dFreq = dValues[0];
    pPoint->dDb = dValues[1];
    pPoint->dPhase = dValues[2];
    pPoint->bPhase = fields.size() == 3;
    return std::nullopt;
}

}  // namespace

MeasurementResult ParseMeasurement(std::string_view text)
{
    RoomFileError error;
    if (!StripRoomEncoding(&text, &error))
        return Refused(std::move(error));
    MeasurementResult result;
    int nLine = 0;
    for (const std::string_view line : RoomLines(text)) {
        ++nLine;
        if (line.empty() || IsComment(line))
            continue;
        MeasurementPoint point;
        if (std::optional<RoomFileError> refused = ParsePoint(line, nLine, &point))
            return Refused(std::move(*refused));
        if (!result.points.empty() && point.dFreq <= result.points.back().dFreq)
            return Refused({kTxtMeasureNotRising, nLine, {}});
        result.points.push_back(point);
    }
    if (result.points.size() < 2)
        return Refused({kTxtMeasureTooFew, 0, {}});
    result.bOk = true;
    return result;
}

MeasurementResult ReadMeasurementFile(const std::string& strPath)
{
    RoomFileError error;
    const auto text = ReadRoomFile(strPath, &error);
    return text ? ParseMeasurement(*text) : Refused(std::move(error));
}

bool HasPhase(const std::vector<MeasurementPoint>& points)
{
    return !points.empty() && std::all_of(points.begin(), points.end(), [](const auto& p) { return p.bPhase; });
}

std::vector<MeasurementPoint> UnwrappedPhase(std::vector<MeasurementPoint> points)
{
    for (std::size_t i = 1; i < points.size(); ++i)
        points[i].dPhase -= 360.0 * std::round((points[i].dPhase - points[i - 1].dPhase) / 360.0);
    return points;
}

MeasurementPoint InterpolatePoint(const std::vector<MeasurementPoint>& points, double dFreq)
{
    const auto it = std::lower_bound(points.begin(), points.end(), dFreq,
                                     [](const MeasurementPoint& p, double f) { return p.dFreq < f; });
    if (it == points.begin())
        return *it;
    const MeasurementPoint& hi = *it;
    const MeasurementPoint& lo = *(it - 1);
    const double t = std::log(dFreq / lo.dFreq) / std::log(hi.dFreq / lo.dFreq);
    MeasurementPoint point = lo;
    point.dFreq = dFreq;
    point.dDb = lo.dDb + t * (hi.dDb - lo.dDb);
    point.dPhase = lo.dPhase + t * (hi.dPhase - lo.dPhase);
    return point;
}
