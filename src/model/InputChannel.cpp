#include "InputChannel.h"

#include "DataDefine.h"

namespace {
constexpr int kOffFeedback = 72;
constexpr int kOffPolarity = 73;
constexpr int kOffAuxSwitch = 74;
constexpr int kOffChannelOn = 75;
constexpr int kOffDelay = 76;
constexpr int kOffVolume = 78;
constexpr int kOffNoiseGate = 88;
constexpr int kOffLimit = 96;
constexpr int kOffLimitA = 98;
constexpr int kOffLimitB = 99;
}  // namespace

CInputChannel::CInputChannel(CProcessorState& state, const InputChannelDefaults& defaults, int nKind, int nOffset)
    : CChannelRecord(state, EqSetType::Input, 0, defaults.nColour),
      m_nKind(nKind),
      m_nOffset(nOffset),
      m_nChannel(defaults.nChannel),
      m_nVolume(defaults.nVolume)
{
    m_strName = defaults.pName;
}

void CInputChannel::SetVolume(int n)
{
    ModelLock lock(m_state.m_csModel);
    m_nVolume = n;
    m_bVolumeOff = n == 0 ? 1 : 0;
    m_nMarkMisc = m_state.m_bOnline.load();
}

bool CInputChannel::FillOwnGroup(int nGroup, uint8_t* pBlock) const
{
    switch (nGroup) {
    case kGroupMisc:
        pBlock[kOffFeedback] = static_cast<uint8_t>(m_nFeedback);
        pBlock[kOffPolarity] = static_cast<uint8_t>(m_nPolarity);
        pBlock[kOffAuxSwitch] = static_cast<uint8_t>(m_nAuxSwitch);
        pBlock[kOffChannelOn] = static_cast<uint8_t>(m_nChannelOn);
        PutWord(pBlock + kOffDelay, m_nDelay);
        PutWord(pBlock + kOffVolume, m_bVolumeOff ? 0 : m_nVolume);
        return true;
    case kGroupNoiseGate:
        pBlock[kOffNoiseGate] = static_cast<uint8_t>(m_nNoiseGate);
        return true;
    case kGroupLimit:
        PutWord(pBlock + kOffLimit, m_nLimit);
        pBlock[kOffLimitA] = static_cast<uint8_t>(m_nLimitA);
        pBlock[kOffLimitB] = static_cast<uint8_t>(m_nLimitB);
        return true;
    default:
        return false;
    }
}

void CInputChannel::LoadOwnFields(const uint8_t* pBlock)
{
    m_nFeedback = pBlock[kOffFeedback];
    m_nPolarity = pBlock[kOffPolarity];
    m_nAuxSwitch = pBlock[kOffAuxSwitch];
    m_nChannelOn = pBlock[kOffChannelOn];
    m_nDelay = GetWord(pBlock + kOffDelay);
    m_nVolume = GetWord(pBlock + kOffVolume);
    m_bVolumeOff = m_nVolume == 0 ? 1 : 0;
    m_nNoiseGate = pBlock[kOffNoiseGate];
    m_nLimit = GetWord(pBlock + kOffLimit);
    m_nLimitA = pBlock[kOffLimitA];
    m_nLimitB = pBlock[kOffLimitB];
}

void CInputChannel::SetOwnMarks(int nMark)
{
    m_nMarkMisc = m_nMarkNoiseGate = m_nMarkLimit = nMark;
}

std::optional<BlockAddress> CInputChannel::NextChange()
{
    ModelLock lock(m_state.m_csModel);
    if (TakeMark(m_nMarkMisc))
        return ChangedGroup(kGroupMisc);
    if (TakeMark(m_nMarkNoiseGate))
        return ChangedGroup(kGroupNoiseGate);
    return std::nullopt;
}
