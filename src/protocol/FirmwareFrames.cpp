#include "FirmwareFrames.h"

#include "SendData.h"

void FillHandshakeReport(uint8_t* pReport65)
{
    pReport65[0] = 0;
    for (int i = 1; i <= kReportData; ++i)
        pReport65[i] = i % 2 == 1 ? kHandshakeOdd : kHandshakeEven;
}

bool IsHandshakeData(const uint8_t* pData, size_t nCount)
{
    if (nCount != static_cast<size_t>(kReportData))
        return false;
    for (size_t i = 0; i < nCount; ++i) {
        if (pData[i] != (i % 2 == 0 ? kHandshakeOdd : kHandshakeEven))
            return false;
    }
    return true;
}
