#include "MeasurementFile.h"

#include <cmath>

#include "RoomText.h"

namespace {

MeasurementResult Refused(std::string strError)
{
    MeasurementResult result;
    result.strError = std::move(strError);
    return result;
}

bool IsComment(std::string_view line)
{
    return line.front() == '*' || line.front() == '#';
}

// The point of one data line, or an error text.
std::string ParsePoint(std::string_view line, int nLine, MeasurementPoint* pPoint)
{
    const std::vector<std::string> fields = RoomFields(line);
    if (fields.size() < 2 || fields.size() > 3)
        return RoomLinePrefix(nLine) + Say(kTxtMeasureExpected);
    double dValues[3] = {};
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (!ParseRoomNumber(fields[i], &dValues[i]))
            return RoomLinePrefix(nLine) +
                   Say(kTxtRoomNotNumber, {RoomQuote(fields[i])});
    if (dValues[0] < kMeasureMinFreq || dValues[0] > kMeasureMaxFreq)
        return RoomLinePrefix(nLine) + Say(kTxtMeasureFrequency, {RoomQuote(fields[0])});
    if (std::abs(dValues[1]) > kRoomMaxLevelDb)
        return RoomLinePrefix(nLine) + Say(kTxtMeasureLevel, {RoomQuote(fields[1])});
    pPoint->dFreq = dValues[0];
    pPoint->dDb = dValues[1];
    return {};
}

}  // namespace

MeasurementResult ParseMeasurement(std::string_view text)
{
    MeasurementResult result;
    if (!StripRoomEncoding(&text, &result.strError))
        return result;
    int nLine = 0;
    for (const std::string_view line : RoomLines(text)) {
        ++nLine;
        if (line.empty() || IsComment(line))
            continue;
        MeasurementPoint point;
        std::string strError = ParsePoint(line, nLine, &point);
        if (!strError.empty())
            return Refused(std::move(strError));
        if (!result.points.empty() && point.dFreq <= result.points.back().dFreq)
            return Refused(RoomLinePrefix(nLine) + Say(kTxtMeasureNotRising));
        result.points.push_back(point);
    }
    if (result.points.size() < 2)
        return Refused(Say(kTxtMeasureTooFew));
    result.bOk = true;
    return result;
}

MeasurementResult ReadMeasurementFile(const std::string& strPath)
{
    std::string strError;
    const auto text = ReadRoomFile(strPath, &strError);
    return text ? ParseMeasurement(*text) : Refused(strError);
}
