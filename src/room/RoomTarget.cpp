#include "RoomTarget.h"

#include <algorithm>
#include <optional>

#include "RoomText.h"

bool CRoomTarget::Assign(const std::vector<MeasurementPoint>& points, std::string* pError)
{
    return m_curve.Assign(points, pError);
}

bool CRoomTarget::Load(const std::string& strPath, std::string* pError)
{
    RoomFileError unread;
    const std::optional<std::string> text = ReadRoomFile(strPath, &unread);
    if (!text) {
        *pError = RoomFileErrorText(unread);  // names the file
        return false;
    }
    const MeasurementResult result = ParseMeasurement(*text);
    std::string strError = result.strError;
    if (result.bOk && Assign(result.points, &strError))
        return true;
    *pError = strPath + ": " + strError;
    return false;
}

double CRoomTarget::At(int i) const
{
    if (IsFlat())
        return 0.0;
    return m_curve.At(std::clamp(i, m_curve.First(), m_curve.Last()));
}
