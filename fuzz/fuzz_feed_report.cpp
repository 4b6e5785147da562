// Whatever bytes a processor (or anything posing as one) sends, the
// receiver must never crash, read or write outside its buffers, or store
// outside the area a reply names.
#include <cstdint>
#include <cstring>

#include "FrameBuilder.h"
#include "KTV_Data.h"
#include "KTVCommand.h"
#include "Notify.h"

namespace {
class NullSink : public INotifySink {
public:
    void Post(int, intptr_t, intptr_t) override {}
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    static NullSink sink;
    static CKTV_Data& data = []() -> CKTV_Data& {
        static CKTV_Data model;
        model.State().m_pNotifySink = &sink;
        return model;
    }();
    CKTVCommand cmd(data.State());
    cmd.SetDeviceOpen(true);
    for (int i = 0; i < 4; ++i)
        cmd.AddSendData(MakeBlockFrame(data.State(), 0, 4, i, true, false));
    // The first byte chooses the report size, so frames split everywhere.
    const size_t nChunk = nSize > 0 ? 1 + pData[0] % 64 : 64;
    for (size_t i = 1; i < nSize; i += nChunk) {
        uint8_t report[65] = {};
        const size_t n = nSize - i < nChunk ? nSize - i : nChunk;
        std::memcpy(report + 1, pData + i, n);
        cmd.FeedReport(report, static_cast<int>(n + 1));
    }
    return 0;
}
