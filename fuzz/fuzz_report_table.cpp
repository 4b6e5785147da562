// The parameter report lists whatever the processor or a preset file holds:
// every value of any 2184-byte image must give the report's 174 rows, in
// either language and any delay unit, without reading outside a label or
// value table.
#include <cstdint>
#include <cstring>

#include "DataDefine.h"
#include "GlobalData.h"
#include "KTV_Data.h"
#include "ReportTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    static CKTV_Data& data = [] () -> CKTV_Data& {
        InitGlobalDefaults();
        static CKTV_Data model;
        return model;
    }();
    if (nSize == 0)
        return 0;
    // The first byte picks the language, the delay unit and the listening
    // position; the rest is the image.
    uint8_t image[kImageSize] = {};
    std::memcpy(image, pData + 1, nSize - 1 < sizeof image ? nSize - 1 : sizeof image);
    data.LoadFromImage(image, pData[0] % 21);
    g_bChinese = pData[0] & 1;
    const ReportTable table = BuildReportTable(data, (pData[0] >> 1) % 3);
    g_bChinese = 0;
    if (table.rows.size() != kReportRows || table.columns.size() != kReportColumns)
        __builtin_trap();
    return 0;
}
