// Any 2184 bytes can arrive from the processor or a preset file: loading
// them into the model, drawing every curve and writing the image back must
// never crash or read outside a table. Each run fills one part of the image
// (see FuzzImage.h). The report of such an image has a
// target of its own (fuzz_report_table), which keeps this one fast.
#include <cstdint>
#include <cstring>
#include <memory>

#include "ChangeScanner.h"
#include "ChannelRecord.h"
#include "DataDefine.h"
#include "FuzzImage.h"
#include "GlobalData.h"
#include "KTV_Data.h"
#include "SendData.h"

static CChannelRecord& RecordOf(CKTV_Data& data, uint8_t nPick)
{
    switch (nPick % (kOutputs + 3)) {
    case kOutputs:
        return data.Music();
    case kOutputs + 1:
        return data.Mic();
    case kOutputs + 2:
        return data.Effect();
    default:
        return data.Output(nPick % (kOutputs + 3));
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    static CKTV_Data& data = [] () -> CKTV_Data& {
        static CKTV_Data model;
        model.SetPlotRect(900, 320);
        return model;
    }();
    // Byte 0 picks the preset, byte 1 the part of the image the rest fills,
    // byte 2 the record whose changes are scanned.
    if (nSize < 3)
        return 0;
    uint8_t image[kImageSize];
    fuzzimage::FillPart(image, pData[1], pData + 3, nSize - 3);
    const int nPreset = pData[0] % 21;

    data.LoadFromImage(image, nPreset);
    for (int i = 0; i < kOutputs; ++i) {
        CKTV_OutData& out = data.Output(i);
        out.RecomputeCurve();
        for (int b = 0; b < out.EQ().GetSize(); ++b) {
            out.EQ()[b].Describe();
            out.EQ()[b].QText();
        }
    }
    // One record's changes are scanned a run: scanning all nine would make
    // every run several times slower and find nothing that the runs on each
    // record do not.
    data.State().m_bOnline = 1;
    RecordOf(data, pData[2]).SetAllMarks(1);
    while (NextChangeFrame(data)->Frame()[4] == 0xA1) {
    }
    data.State().m_bOnline = 0;
    data.FillAll();
    return 0;
}
