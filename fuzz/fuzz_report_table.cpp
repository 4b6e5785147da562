// The parameter report lists whatever the processor or a preset file holds:
// every value of an image must give the report's 174 rows, in either
// language and any delay unit, without reading outside a label or value
// table.
#include <cstdint>
#include <cstring>

#include "DataDefine.h"
#include "FuzzImage.h"
#include "GlobalData.h"
#include "KTV_Data.h"
#include "ReportTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    static CKTV_Data& data = [] () -> CKTV_Data& {
        static CKTV_Data model;
        return model;
    }();
    // Byte 0 picks the language and the delay unit, byte 1 the part of the
    // image that the rest fills (see FuzzImage.h).
    if (nSize < 2)
        return 0;
    uint8_t image[kImageSize];
    fuzzimage::FillPart(image, pData[1], pData + 2, nSize - 2);
    data.LoadFromImage(image, 0);
    g_bChinese = pData[0] & 1;
    const ReportTable table = BuildReportTable(data, (pData[0] >> 1) % 3);
    g_bChinese = 0;
    if (table.rows.size() != kReportRows || table.columns.size() != kReportColumns)
        __builtin_trap();
    return 0;
}
