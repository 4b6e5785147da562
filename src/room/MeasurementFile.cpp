#include "MeasurementFile.h"

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
