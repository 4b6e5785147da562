#include "SendData.h"

#include <algorithm>
#include <cstring>

CSendData::CSendData(int nLength) : m_frame(static_cast<size_t>(std::max(nLength, 0)), 0) {}

bool CSendData::FillNextReport(uint8_t* pReport)
{
    if (!HasUnsentBytes())
        return false;
    std::memset(pReport, 0, kReportSize);
    const int nCount = std::min(kReportData, Length() - m_nSendPos);
    std::memcpy(pReport + 1, m_frame.data() + m_nSendPos, static_cast<size_t>(nCount));
    m_nSendPos += nCount;
    return true;
}
