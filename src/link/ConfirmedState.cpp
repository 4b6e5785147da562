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

void CConfirmedState::Acknowledge(const uint8_t* pFrame, int nLength)
{
    if (nLength < kFrameOverhead || pFrame[kFoCommand] != kCmdWrite || pFrame[kFoPreset] != 0)
        return;
    const int nPayload = pFrame[kFoLength] | (pFrame[kFoLength + 1] << 8);
    if (nPayload > nLength - kFrameOverhead)
        return;
    const uint8_t* pPayload = pFrame + kFoPayload;
    const int nKind = pFrame[kFoKind];
    const int nChannel = pFrame[kFoChannel];
    if (nKind != kKindSystem) {
        if (nPayload == kGroupSize)
            m_images.WriteGroup(0, nKind, nChannel, pFrame[kFoGroup], pPayload, nPayload);
        else
            m_images.WriteBlock(0, nKind, nChannel, pPayload, nPayload);
    } else if (nChannel == kItemSceneName) {
        m_images.WriteName(nChannel, 0, pPayload, nPayload);
    } else if (nChannel == kItemDelayTable) {
        std::memcpy(m_delayTable, pPayload, std::min(nPayload, kDelayTableSize));
    } else if (nChannel == kItemControl) {
        std::memcpy(m_control, pPayload, std::min(nPayload, kControlSize));
    }
}

WireState CConfirmedState::Bytes() const
{
    WireState state(kWireSize);
    std::memcpy(state.data(), m_images.Live(), kImageSize);
    std::memcpy(state.data() + kWireDelayOffset, m_delayTable, kDelayTableSize);
    std::memcpy(state.data() + kWireControlOffset, m_control, kControlSize);
    return state;
}
