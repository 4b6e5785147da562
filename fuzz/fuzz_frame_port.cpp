// Any bytes can reach a frame port: its intake hands on only whole, checked
// read and write frames (never a firmware step), answers a frame that fails
// its check with a resend request and nothing else, and bounds what waits.
// What it hands on is applied to a virtual processor and, as an
// acknowledged write, to a processor's model.
//
// Input: the client's bytes, cut into 64-byte records (the last one padded).
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "FrameIntake.h"
#include "Frame.h"
#include "Processor.h"
#include "VirtualLoader.h"
#include "VirtualProcessor.h"

namespace {

void CheckFrame(const std::vector<uint8_t>& frame)
{
    const int nPayload = frame.size() >= kFrameOverhead ? GetWord(frame.data() + kFoLength) : -1;
    const bool bWellFormed = nPayload >= 0 && frame.size() == static_cast<size_t>(nPayload + kFrameOverhead) &&
                             frame[0] == kFrameSync && frame.back() == kFrameEnd &&
                             (frame[kFoCommand] == kCmdWrite || frame[kFoCommand] == kCmdRead);
    const bool bFirmware = frame[kFoCommand] == kCmdWrite && frame[kFoKind] == kKindSystem &&
                           CVirtualLoader::IsLoaderStep(frame[kFoChannel]);
    if (!bWellFormed || bFirmware)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    static CProcessor processor;
    static CVirtualProcessor device;
    CFrameIntake intake;
    for (size_t i = 0; i < nSize; i += 64) {
        uint8_t record[64] = {};
        std::copy(pData + i, pData + std::min(nSize, i + 64), record);
        if (!intake.Take(record))
            return 0;  // a flood: the port drops the client
        for (const Report64& answer : intake.TakeAnswers())
            if (answer[0] != kFrameStart || answer[1] != kReplyResend)
                std::abort();
        std::vector<uint8_t> frame;
        while (intake.NextFrame(&frame)) {
            CheckFrame(frame);
            device.Receive(frame.data(), frame.size());
            processor.TakeOthersWrite(frame.data(), static_cast<int>(frame.size()));
        }
    }
    device.ResetLink();
    return 0;
}
