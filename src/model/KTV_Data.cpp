#include "KTV_Data.h"

#include <algorithm>
#include <cstring>

#include "DataDefine.h"
#include "Notify.h"

namespace {

// Lowers a value above the maximum, then raises one below the minimum.
int Limit(int nValue, int nMin, int nMax)
{
    if (nValue > nMax)
        nValue = nMax;
    if (nValue < nMin)
        nValue = nMin;
    return nValue;
}

void LimitVolumeWord(const uint8_t* pSys, uint8_t* pWord, int nMinItem, int nMaxItem)
{
    const int nValue = static_cast<int16_t>(GetWord(pWord));
    PutWord(pWord, Limit(nValue, pSys[nMinItem], pSys[nMaxItem]));
}

void LimitImage(const uint8_t* pSys, uint8_t* pImage)
{
    uint8_t& nEffectVolume = pImage[kOffEffect + 139];
    nEffectVolume = static_cast<uint8_t>(Limit(nEffectVolume, pSys[37], pSys[36]));
    LimitVolumeWord(pSys, pImage + kOffMic + 78, 35, 34);
    LimitVolumeWord(pSys, pImage + kOffMusic + 78, 39, 38);
    for (int i = 0; i < kOutputs; ++i) {
        uint8_t* pCrossover = pImage + kOffOutput + kOutBlockSize * i + 256;
        PutWord(pCrossover, std::min(GetWord(pCrossover), kMaxFreq));
        PutWord(pCrossover + 4, std::max(GetWord(pCrossover + 4), kMinFreq));
    }
}

}  // namespace

CKTV_Data::CKTV_Data()
    : m_effect(m_state), m_micRoute(m_state), m_musicRoute(m_state), m_outRoute(m_state)
{
    ModelLock lock(m_state.m_csModel);
    for (int i = 0; i < kOutputs; ++i) {
        m_state.m_nLinkGroup[i] = i;
        m_state.m_pLinkOutput[i] = &m_outRoute[i];
    }
}

CKTV_Data::~CKTV_Data()
{
    ModelLock lock(m_state.m_csModel);
    for (int i = 0; i < kOutputs; ++i) {
        if (m_state.m_pLinkOutput[i] == &m_outRoute[i])
            m_state.m_pLinkOutput[i] = nullptr;
    }
}

template <typename Fn>
void CKTV_Data::ForEachRecord(Fn fn)
{
    fn(static_cast<CChannelRecord&>(m_effect));
    fn(static_cast<CChannelRecord&>(Mic()));
    fn(static_cast<CChannelRecord&>(Music()));
    for (int i = 0; i < kOutputs; ++i)
        fn(static_cast<CChannelRecord&>(m_outRoute[i]));
}

void CKTV_Data::LoadFromImage(uint8_t* pImage, int nPreset)
{
    ModelLock lock(m_state.m_csModel);
    LimitImage(m_state.m_SysBytes, pImage);
    if (nPreset == 0 || nPreset == 10)
        m_effect.LoadFromImage(pImage + kOffEffect);
    Mic().LoadFromImage(pImage + kOffMic);
    Music().LoadFromImage(pImage + kOffMusic);
    for (int i = 0; i < kOutputs; ++i)
        m_outRoute[i].LoadFromImage(pImage + kOffOutput + kOutBlockSize * i);
}

void CKTV_Data::FillAll()
{
    ModelLock lock(m_state.m_csModel);
    ForEachRecord([](CChannelRecord& record) { record.FillAll(); });
}

void CKTV_Data::SetAllMarks(int nMark)
{
    ModelLock lock(m_state.m_csModel);
    ForEachRecord([nMark](CChannelRecord& record) { record.SetAllMarks(nMark); });
}

void CKTV_Data::SetPlotRect(int nWidth, int nHeight)
{
    ForEachRecord([=](CChannelRecord& record) { record.SetPlotRect(nWidth, nHeight); });
}

std::optional<BlockAddress> CKTV_Data::NextChange()
{
    ModelLock lock(m_state.m_csModel);
    if (m_state.m_bDelayPresetChanged.exchange(0))
        return BlockAddress::System(kItemDelayTable);
    if (m_state.m_bSceneNameChanged.exchange(0))
        return BlockAddress::System(kItemSceneName);
    if (auto change = Music().NextChange())
        return change;
    // Once the outputs have been written the processor's scene no longer
    // matches its stored name, so the live name is blanked (once).
    if (m_state.m_bOutputDataSent && !IsBlank(BytesToName(m_state.m_LiveImage + kOffSceneName, kNameSize))) {
        std::memset(m_state.m_LiveImage + kOffSceneName, 0, kNameSize);
        m_state.PostNotify(kMsgSceneName);
        return BlockAddress::System(kItemSceneName);
    }
    for (int i = 0; i < kOutputs; ++i) {
        if (auto change = m_outRoute[i].NextChange())
            return change;
    }
    return std::nullopt;
}

bool CKTV_Data::HasChanges()
{
    ModelLock lock(m_state.m_csModel);
    if (m_state.m_bDelayPresetChanged || m_state.m_bSceneNameChanged)
        return true;
    if (m_state.m_bOutputDataSent && !IsBlank(BytesToName(m_state.m_LiveImage + kOffSceneName, kNameSize)))
        return true;
    // The scanner sends only these music groups; the other records' marks
    // travel with whole-block writes.
    if (Music().GetMiscMark() || Music().GetNoiseGateMark())
        return true;
    for (int i = 0; i < kOutputs; ++i) {
        if (m_outRoute[i].AnyMark())
            return true;
    }
    return false;
}
