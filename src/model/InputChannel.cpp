#include "InputChannel.h"

#include "DataDefine.h"
#include "Frame.h"
#include "SendData.h"

namespace {
constexpr int kOffFeedback = 72;
constexpr int kOffPolarity = 73;
constexpr int kOffAuxSwitch = 74;
constexpr int kOffChannelOn = 75;
constexpr int kOffDelay = 76;
constexpr int kOffVolume = 78;
constexpr int kOffCrossover = 80;
constexpr int kOffNoiseGate = 88;
constexpr int kOffLimit = 96;
constexpr int kOffLimitA = 98;
constexpr int kOffLimitB = 99;
constexpr int kOffName = 104;
}  // namespace

CInputChannel::CInputChannel(const InputChannelDefaults& defaults, int nKind, int nOffset)
    : CChannelRecord(EqSetType::Input, 0, defaults.nColour),
      m_nKind(nKind),
      m_nOffset(nOffset),
      m_nChannel(defaults.nChannel),
      m_nVolume(defaults.nVolume)
{
    m_strName = defaults.pName;
}

bool CInputChannel::SetName(const std::string& strName)
{
    if (!IsValidChannelName(strName))
        return false;
    SetMarked(m_strName, strName, m_nMarkName);
    return true;
}

bool CInputChannel::FillGroupBytes(int nGroup, uint8_t* pBlock) const
{
    if (nGroup >= 0 && nGroup < m_eq.BandCount()) {
        m_eq.PackGroup(nGroup, pBlock + kGroupSize * nGroup);
        return true;
    }
    switch (nGroup) {
    case kGroupMisc:
        pBlock[kOffFeedback] = static_cast<uint8_t>(m_nFeedback);
        pBlock[kOffPolarity] = static_cast<uint8_t>(m_nPolarity);
        pBlock[kOffAuxSwitch] = static_cast<uint8_t>(m_nAuxSwitch);
        pBlock[kOffChannelOn] = static_cast<uint8_t>(m_nChannelOn);
        PutWord(pBlock + kOffDelay, m_nDelay);
        PutWord(pBlock + kOffVolume, m_bVolumeOff ? 0 : m_nVolume);
        return true;
    case kGroupCrossover:
        m_eq.PackCrossover(pBlock + kOffCrossover);
        return true;
    case kGroupNoiseGate:
        pBlock[kOffNoiseGate] = static_cast<uint8_t>(m_nNoiseGate);
        return true;
    case kGroupLimit:
        PutWord(pBlock + kOffLimit, m_nLimit);
        pBlock[kOffLimitA] = static_cast<uint8_t>(m_nLimitA);
        pBlock[kOffLimitB] = static_cast<uint8_t>(m_nLimitB);
        return true;
    case kGroupName:
        ChannelNameToBlock(pBlock + kOffName, m_strName);
        return true;
    default:
        return false;
    }
}

void CInputChannel::FillAll()
{
    ModelLock lock(g_csModel);
    for (int g = 0; g <= kGroupName; ++g)
        FillGroupBytes(g, LiveBlock());
}

void CInputChannel::LoadFromImage(const uint8_t* pBlock)
{
    ModelLock lock(g_csModel);
    LoadBands(pBlock);
    m_strName = ChannelNameFromBlock(pBlock + kOffName);
    m_nFeedback = pBlock[kOffFeedback];
    m_nPolarity = pBlock[kOffPolarity];
    m_nAuxSwitch = pBlock[kOffAuxSwitch];
    m_nChannelOn = pBlock[kOffChannelOn];
    m_nDelay = GetWord(pBlock + kOffDelay);
    m_nVolume = GetWord(pBlock + kOffVolume);
    m_bVolumeOff = m_nVolume == 0 ? 1 : 0;
    m_eq.ParseCrossover(pBlock + kOffCrossover);
    m_nNoiseGate = pBlock[kOffNoiseGate];
    m_nLimit = GetWord(pBlock + kOffLimit);
    m_nLimitA = pBlock[kOffLimitA];
    m_nLimitB = pBlock[kOffLimitB];
}

void CInputChannel::SetAllMarks(int nMark)
{
    ModelLock lock(g_csModel);
    m_eq.SetAllMarks(nMark);
    m_nMarkMisc = m_nMarkNoiseGate = m_nMarkLimit = m_nMarkName = nMark;
}

std::unique_ptr<CSendData> CInputChannel::NextChange()
{
    ModelLock lock(g_csModel);
    if (m_nMarkMisc) {
        m_nMarkMisc = 0;
        return FillGroup(kGroupMisc, true);
    }
    if (m_nMarkNoiseGate) {
        m_nMarkNoiseGate = 0;
        return FillGroup(kGroupNoiseGate, true);
    }
    return nullptr;
}
