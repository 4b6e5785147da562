#include "FirmwareSequence.h"

#include <algorithm>
#include <cstring>

#include "DataDefine.h"
#include "Frame.h"
#include "FrameBuilder.h"

namespace {

constexpr int kZeroPayload = 16;        // steps 54 and 58 carry nothing but need a full frame
constexpr int kChunkPayload = 48;       // steps 59, 56 and the handshake
constexpr int kDspAddressSize = 4;
constexpr uint8_t kMcuFill = 0xFF;      // erased flash

// Appends firmware commands, numbering the answered ones for the progress bar.
class CFirmwareQueue {
public:
    CFirmwareQueue(CFirmwareUpdate& update, const FirmwareSink& add) : m_update(update), m_add(add) {}

    // area.payload holds the payload; the rest of the frame is ours.
    void Add(int nStep, FrameArea& area, int nPayload)
    {
        area.header[kFoCommand] = kCmdWrite;
        area.header[kFoAddress] = kDeviceAddress;
        area.header[kFoKind] = kKindSystem;
        area.header[kFoChannel] = static_cast<uint8_t>(nStep);
        PutWord(area.header + kFoLength, nPayload);
        const int nLength = nPayload + kFrameOverhead;
        auto pData = std::make_unique<CSendData>(nLength);
        FinishFrame(area, pData->Frame(), nLength);
        pData->m_nFirmwareStep = nStep;
        if (nStep != kStepHandshake)
            pData->m_nProgressTag = ++m_update.m_nProgressItem;
        m_add(std::move(pData));
        ++m_nAdded;
    }
    void AddEmpty(int nStep)
    {
        FrameArea area;
        Add(nStep, area, kZeroPayload);
    }
    int Added() const { return m_nAdded; }

private:
    CFirmwareUpdate& m_update;
    const FirmwareSink& m_add;
    int m_nAdded = 0;
};

void AddHandshake(CFirmwareQueue& queue)
{
    FrameArea area;
    for (int i = 0; i < kChunkPayload; ++i)
        area.payload[i] = i % 2 == 0 ? kHandshakeOdd : kHandshakeEven;
    queue.Add(kStepHandshake, area, kChunkPayload);
}

void AddChecksum(CFirmwareUpdate& update, CFirmwareQueue& queue)
{
    FrameArea area;
    area.payload[0] = update.m_nChecksum;
    queue.Add(kStepFinish, area, 1);
}

// True when this was the last chunk of the image.
bool AddDspChunk(CFirmwareUpdate& update, CFirmwareQueue& queue)
{
    FrameArea area;
    const uint32_t nAddress = update.m_nDspAddress;
    for (int i = 0; i < kDspAddressSize; ++i)
        area.payload[i] = static_cast<uint8_t>(nAddress >> (8 * i));
    const size_t nCount = std::min<size_t>(kDspChunkSize, update.DspRemaining());
    std::memcpy(area.payload + kDspAddressSize, update.m_dspImage.data() + update.m_nDspSent, nCount);
    update.m_nDspSent += nCount;
    update.m_nDspAddress += kDspChunkSize;
    queue.Add(kStepDspData, area, kChunkPayload);
    return update.DspRemaining() == 0;
}

bool AddMcuChunk(CFirmwareUpdate& update, CFirmwareQueue& queue)
{
    FrameArea area;
    std::memset(area.payload, kMcuFill, kMcuChunkSize);
    const size_t nCount = std::min<size_t>(kMcuChunkSize, update.McuRemaining());
    std::memcpy(area.payload, update.m_mcuImage.data() + update.m_nMcuSent, nCount);
    update.m_nMcuSent += nCount;
    queue.Add(kStepMcuData, area, kMcuChunkSize);
    return update.McuRemaining() == 0;
}

void AddMcuHeader(CFirmwareUpdate& update, CFirmwareQueue& queue)
{
    FrameArea area;
    std::memcpy(area.payload, update.m_mcuImage.data(), kMcuHeaderSize);
    update.m_nMcuSent = kMcuHeaderSize;
    queue.Add(kStepMcuStart, area, kMcuHeaderSize);
}

void AdvanceDsp(CFirmwareUpdate& update, CFirmwareQueue& queue)
{
    if (update.m_nDspStep == DspStep::NotStarted) {
        queue.AddEmpty(kStepEnter);
        queue.AddEmpty(kStepErase);
        update.m_nDspStep = DspStep::Sending;
    }
    if (update.m_nDspStep == DspStep::Sending) {
        if (!AddDspChunk(update, queue))
            return;
        update.m_nDspStep = update.m_bMcuPresent ? DspStep::DoneMcuFollows : DspStep::DoneAlone;
    }
    if (update.m_nDspStep == DspStep::DoneAlone) {
        AddChecksum(update, queue);
        update.m_nDspStep = DspStep::Finished;
    }
}

void AdvanceMcu(CFirmwareUpdate& update, CFirmwareQueue& queue)
{
    if (update.m_nMcuStep == McuStep::NotStarted) {
        queue.AddEmpty(kStepEnter);
        update.m_nMcuStep = McuStep::HeaderNext;
    }
    if (update.m_nMcuStep == McuStep::HeaderNext) {
        AddMcuHeader(update, queue);
        update.m_nMcuStep = McuStep::Sending;
    }
    if (update.m_nMcuStep == McuStep::Sending) {
        if (!AddMcuChunk(update, queue))
            return;
        update.m_nMcuStep = McuStep::DataDone;
    }
    if (update.m_nMcuStep == McuStep::DataDone) {
        AddChecksum(update, queue);
        update.m_nMcuStep = McuStep::Finished;
    }
}

bool DspPending(const CFirmwareUpdate& update)
{
    return update.m_bDspPresent && update.m_nDspStep != DspStep::DoneMcuFollows &&
           update.m_nDspStep != DspStep::Finished;
}

}  // namespace

int NextFirmwareCommand(CFirmwareUpdate& update, const FirmwareSink& add)
{
    CFirmwareQueue queue(update, add);
    if (update.m_bStart) {
        AddHandshake(queue);
        update.m_bStart = false;
    } else if (DspPending(update)) {
        AdvanceDsp(update, queue);
    } else if (update.m_bMcuPresent && update.m_nMcuStep != McuStep::Finished) {
        AdvanceMcu(update, queue);
    }
    return queue.Added();
}

int NextFirmwareCommand(CFirmwareUpdate& update, std::deque<std::unique_ptr<CSendData>>& commands)
{
    return NextFirmwareCommand(update, [&](std::unique_ptr<CSendData> p) { commands.push_back(std::move(p)); });
}

FirmwareStatusText FirmwareStepStatus(int nReplyStep, bool bFirstOfSeries)
{
    switch (nReplyStep) {
    case kStepEnter:
        return {nullptr, "固件开始更新"};
    case kStepMcuData:
        return bFirstOfSeries ? FirmwareStatusText{"Programming......", "数据传输"} : FirmwareStatusText{};
    case kStepErase:
        return {nullptr, "数据传输"};
    case kStepDspData:
        return {"Programming......", "DSP更新开始"};
    case kStepDspDone:
        return {"DSP end of the update!", "DSP更新完成!"};
    case kStepFinish:
        return {"Update successfully!", "更新完成!"};
    default:
        return {};
    }
}

std::string FirmwareReplyStatus::Text(bool bChinese) const
{
    const char* pText = bChinese ? text.pChinese : text.pEnglish;
    return pText ? pText : "";
}

FirmwareReplyStatus OnFirmwareReply(CFirmwareUpdate& update, int nHeadStep, int nCommand, int nReplyStep)
{
    FirmwareReplyStatus status;
    if (update.m_bFinished || (nCommand != kReplyAck && nCommand != kReplyData))
        return status;
    status.bAdvance = true;
    const bool bFirstMcu = nReplyStep == kStepMcuData && !update.m_bMcuReplySeen;
    update.m_bMcuReplySeen = update.m_bMcuReplySeen || nReplyStep == kStepMcuData;
    status.text = FirmwareStepStatus(nReplyStep, bFirstMcu);
    // Commands are queued only into an empty queue, so a DSP chunk at the
    // head after the last one was queued is the last chunk.
    const bool bDspEnd = nReplyStep == kStepDspDone && nHeadStep == kStepDspData && !update.m_bMcuPresent &&
                         update.m_nDspStep == DspStep::Finished;
    const bool bMcuEnd = nReplyStep == kStepFinish && nHeadStep == kStepFinish;
    status.bFinished = bDspEnd || bMcuEnd;
    update.m_bFinished = status.bFinished;
    return status;
}
