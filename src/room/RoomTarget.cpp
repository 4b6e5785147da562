#include "RoomTarget.h"

#include <algorithm>

bool CRoomTarget::Assign(const std::vector<MeasurementPoint>& points, std::string* pError)
{
    return m_curve.Assign(points, pError);
}

bool CRoomTarget::Load(const std::string& strPath, std::string* pError)
{
    const MeasurementResult result = ReadMeasurementFile(strPath);
    if (!result.bOk) {
        *pError = result.strError;
        return false;
    }
    return Assign(result.points, pError);
}

double CRoomTarget::At(int i) const
{
    if (IsFlat())
        return 0.0;
    return m_curve.At(std::clamp(i, m_curve.First(), m_curve.Last()));
}
