#include "VirtualReply.h"

#include <algorithm>
#include <cstring>

#include "DataDefine.h"
#include "Frame.h"
#include "FrameBuilder.h"

namespace {
// Positions in a frame numbered from its start byte.
constexpr int kRoCommand = 1;
constexpr int kRoAddress = 2;
constexpr int kRoLink = 7;
constexpr int kRoReserved = 8;
constexpr int kRoLength = 9;
constexpr int kRoPayload = 11;
}  // namespace

std::vector<uint8_t> MakeReplyFrame(const uint8_t* pRequest, uint8_t nCommand, const std::vector<uint8_t>& payload)
{
    const int nPayload = static_cast<int>(payload.size());
    std::vector<uint8_t> frame(static_cast<size_t>(nPayload + kRoPayload + 2));
    frame[0] = kFrameStart;
    frame[kRoCommand] = nCommand;
    frame[kRoAddress] = kDeviceAddress;
    std::memcpy(frame.data() + kRoAddress + 1, pRequest + kRoAddress + 1, kRoLink - kRoAddress);
    frame[kRoReserved] = 0;
    PutWord(frame.data() + kRoLength, nPayload);
    std::copy(payload.begin(), payload.end(), frame.begin() + kRoPayload);
    frame[kRoPayload + nPayload] = FrameChecksum(frame.data() + kRoCommand, kRoPayload + nPayload - kRoCommand);
    frame[kRoPayload + nPayload + 1] = kFrameEnd;
    return frame;
}

void SpoilChecksum(std::vector<uint8_t>* pFrame)
{
    (*pFrame)[pFrame->size() - 2] ^= 0xFF;
}

std::vector<Report64> CutIntoReports(const std::vector<uint8_t>& frame)
{
    std::vector<Report64> reports;
    for (size_t nPos = 0; nPos < frame.size(); nPos += 64) {
        Report64 report{};
        const size_t nCount = std::min<size_t>(64, frame.size() - nPos);
        std::memcpy(report.data(), frame.data() + nPos, nCount);
        reports.push_back(report);
    }
    return reports;
}
