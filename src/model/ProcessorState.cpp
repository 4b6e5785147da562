#include "ProcessorState.h"

#include <algorithm>
#include <cstring>

#include "DataDefine.h"

CProcessorState::CProcessorState()
{
    InitDefaults();
}

uint8_t* CProcessorState::SceneEntry(int nEntry)
{
    if (nEntry < 1 || nEntry > kSceneEntries)
        return nullptr;
    return m_SceneStore[nEntry - 1];
}

uint8_t* CProcessorState::EffectProgEntry(int nEntry)
{
    if (nEntry < kEffectProgFirst || nEntry > kEffectProgLast)
        return nullptr;
    return m_EffectStore[nEntry - kEffectProgFirst];
}

uint8_t* CProcessorState::PresetImage(int nPreset)
{
    return nPreset == 0 ? m_LiveImage : SceneEntry(nPreset);
}

namespace {

void DefaultLiveImage(uint8_t* pImage)
{
    std::memset(pImage, 0, kImageSize);
    WriteFlatBandGroups(pImage + kOffEffect, 8);
    WriteFlatBandGroups(pImage + kOffMic, 9);
    WriteFlatBandGroups(pImage + kOffMusic, 9);
    for (int i = 0; i < kOutputs; ++i)
        WriteFlatBandGroups(pImage + kOffOutput + kOutBlockSize * i, 9);
}

}  // namespace

void CProcessorState::InitDefaults()
{
    ModelLock lock(m_csModel);
    DefaultLiveImage(m_LiveImage);
    std::memset(m_SceneStore, 0, sizeof m_SceneStore);
    for (auto& entry : m_SceneStore) {
        std::memset(entry + kOffSceneName, ' ', 15);
        std::memset(entry + kOffEffectName, ' ', 16);
    }
    std::memset(m_EffectStore, 0, sizeof m_EffectStore);

    std::memset(m_SysBytes, 0, sizeof m_SysBytes);
    const int nItems[] = {32, 33, 34, 35, 36, 37, 38, 39};
    const int nValues[] = {100, 10, 90, 40, 100, 40, 90, 40};
    for (int i = 0; i < 8; ++i)
        m_SysBytes[nItems[i]] = static_cast<uint8_t>(nValues[i]);
    std::memset(m_ControlBlock, 0, sizeof m_ControlBlock);
    std::memset(m_LockBlock, 0, sizeof m_LockBlock);
    m_nLockState = 0;
    m_strPassword.clear();
    std::memset(m_InfoText, ' ', sizeof m_InfoText);
    std::memset(m_IdString, 0, sizeof m_IdString);
    m_nLowPassLimit = 500;
    std::memset(m_DefaultSetup, 0, sizeof m_DefaultSetup);
    std::memset(m_DelayTable, 0, sizeof m_DelayTable);
    std::fill(std::begin(m_nLevelTable), std::end(m_nLevelTable), 0);
    const int nReadList[kSysReadListSize] = {1, 0, 2, 3, 16, 18, 18, 20, 34, 35, 36, 37, 38, 39, 64, 4};
    std::copy(std::begin(nReadList), std::end(nReadList), m_nSysReadList);

    m_bOnline = 0;
    m_nCurOutput = 0;
    m_bDelayPresetChanged = 0;
    m_bSceneNameChanged = 0;
    m_bOutputDataSent = 0;
    m_bDeviceAbnormal = 0;
}

void CProcessorState::SetLinkGroup(int nChannel, int nGroup)
{
    if (nChannel < 0 || nChannel >= kOutputs)
        return;
    ModelLock lock(m_csModel);
    m_nLinkGroup[nChannel] = nGroup;
}

std::vector<int> CProcessorState::LinkedOutputs(int nChannel) const
{
    std::vector<int> linked;
    if (nChannel < 0 || nChannel >= kOutputs)
        return linked;
    for (int k = 0; k < kOutputs; ++k)
        if (k != nChannel && m_nLinkGroup[k] == m_nLinkGroup[nChannel])
            linked.push_back(k);
    return linked;
}
