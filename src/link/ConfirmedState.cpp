#include "ConfirmedState.h"

#include <algorithm>
#include <cstring>

#include "Frame.h"
#include "ProcessorState.h"

void CConfirmedState::Reset(CProcessorState& state)
{
    ModelLock lock(state.m_csModel);
    m_images.SetLive(std::vector<uint8_t>(state.m_LiveImage, state.m_LiveImage + kImageSize));
    std::memcpy(m_delayTable, state.m_DelayTable, kDelayTableSize);
    std::memcpy(m_control, state.m_ControlBlock, kControlSize);
}

bool ApplyLiveWrite(CVirtualImages& images, uint8_t* pDelayTable, uint8_t* pControl, const uint8_t* pFrame,
                    int nLength)
{
    if (nLength < kFrameOverhead || pFrame[kFoCommand] != kCmdWrite || pFrame[kFoPreset] != 0)
        return false;
    const int nPayload = pFrame[kFoLength] | (pFrame[kFoLength + 1] << 8);
    if (nPayload > nLength - kFrameOverhead)
        return false;
    const uint8_t* pPayload = pFrame + kFoPayload;
    const int nKind = pFrame[kFoKind];
    const int nChannel = pFrame[kFoChannel];
    if (nKind != kKindSystem) {
        if (nPayload == kGroupSize)
            return images.WriteGroup(0, nKind, nChannel, pFrame[kFoGroup], pPayload, nPayload);
        return images.WriteBlock(0, nKind, nChannel, pPayload, nPayload);
    }
    if (nChannel == kItemSceneName)
        return images.WriteName(nChannel, 0, pPayload, nPayload);
    if (nChannel == kItemDelayTable)
        std::memcpy(pDelayTable, pPayload, std::min(nPayload, kDelayTableSize));
    else if (nChannel == kItemControl)
        std::memcpy(pControl, pPayload, std::min(nPayload, kControlSize));
    else
        return false;
    return true;
}

void CConfirmedState::Acknowledge(const uint8_t* pFrame, int nLength)
{
    ApplyLiveWrite(m_images, m_delayTable, m_control, pFrame, nLength);
}

WireState CConfirmedState::Bytes() const
{
    WireState state(kWireSize);
    std::memcpy(state.data(), m_images.Live(), kImageSize);
    std::memcpy(state.data() + kWireDelayOffset, m_delayTable, kDelayTableSize);
    std::memcpy(state.data() + kWireControlOffset, m_control, kControlSize);
    return state;
}
