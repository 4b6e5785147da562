// Any 2184 bytes can arrive from the processor or a preset file: loading
// them into the model, drawing every curve, listing the parameter report
// and writing the image back must never crash or read outside a table.
#include <cstdint>
#include <cstring>
#include <memory>

#include "DataDefine.h"
#include "GlobalData.h"
#include "KTV_Data.h"
#include "ReportTable.h"
#include "SendData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    static CKTV_Data& data = [] () -> CKTV_Data& {
        InitGlobalDefaults();
        static CKTV_Data model;
        model.SetPlotRect(900, 320);
        return model;
    }();
    uint8_t image[kImageSize] = {};
    std::memcpy(image, pData, nSize < sizeof image ? nSize : sizeof image);
    const int nPreset = nSize > 0 ? pData[0] % 21 : 0;

    data.LoadFromImage(image, nPreset);
    for (int i = 0; i < kOutputs; ++i) {
        CKTV_OutData& out = data.Output(i);
        out.RecomputeCurve();
        for (int b = 0; b < out.EQ().GetSize(); ++b) {
            out.EQ()[b].Describe();
            out.EQ()[b].QText();
        }
    }
    g_bChinese = nPreset % 2;
    if (BuildReportTable(data, nPreset % 3).rows.size() != kReportRows)
        __builtin_trap();
    g_bChinese = 0;
    g_bOnline = 1;
    data.SetAllMarks(1);
    while (data.GetNextChange()->Frame()[4] == 0xA1) {
    }
    g_bOnline = 0;
    data.FillAll();
    return 0;
}
