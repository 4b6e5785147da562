#include "KTV_OutData.h"

#include <algorithm>

#include "BlockAddress.h"
#include "DataDefine.h"

CKTV_OutData::CKTV_OutData(CProcessorState& state, int nChannel, const char* pName, uint32_t nColour, int nRangeCode)
    : CChannelRecord(state, EqSetType::Output, nRangeCode, nColour), m_nChannel(nChannel)
{
    m_strName = pName;
    for (int i = 0; i < kPercentages; ++i)
        m_bPercentOff[i] = m_nPercent[i] == 0 ? 1 : 0;
    SetChannel(nChannel);
}

int CKTV_OutData::BlockKind() const
{
    return kKindOutput;
}

int CKTV_OutData::BlockOffset() const
{
    return kOffOutput + kOutBlockSize * m_nChannel;
}

// ---- setters ------------------------------------------------------------------

template <typename Fn>
void CKTV_OutData::ForLinked(Fn fn)
{
    for (int j : m_state.LinkedOutputs(m_nChannel)) {
        CKTV_OutData* pOther = m_state.m_pLinkOutput[j];
        if (pOther && pOther != this)
            fn(*pOther);
    }
}

void CKTV_OutData::StoreEqMode(int nMode)
{
    if (nMode != m_nEqMode || m_eq[0].IsGraphic() != (nMode == 1))
        m_eq.SetGraphic(nMode == 1);
    m_nEqMode = nMode;
}

void CKTV_OutData::StoreLevel(int nLevel, int bLevelZero)
{
    m_nLevel = nLevel;
    m_bLevelZero = bLevelZero;
}

void CKTV_OutData::ShareMisc()
{
    ForLinked([this](CKTV_OutData& other) {
        other.m_nPolarity = m_nPolarity;
        other.StoreLevel(m_nLevel, m_bLevelZero);
        other.StoreEqMode(m_nEqMode);
        other.m_nByteA = m_nByteA;
        other.m_nMarkMisc = m_state.m_bOnline.load();
    });
}

void CKTV_OutData::ShareLimiter()
{
    ForLinked([this](CKTV_OutData& other) {
        other.m_nThreshold = m_nThreshold;
        other.m_nAttack = m_nAttack;
        other.m_nRelease = m_nRelease;
        other.m_nMarkLimiter = m_state.m_bOnline.load();
    });
}

void CKTV_OutData::ShareRouting()
{
    ForLinked([this](CKTV_OutData& other) {
        other.m_nInL = m_nInL;
        other.m_nInR = m_nInR;
        // The side flags stand for IN L and IN R: the report and the system
        // dialog read them, so they follow the bytes that were sent.
        other.m_bLeftOff = m_bLeftOff;
        other.m_bRightOff = m_bRightOff;
        other.m_nPercent[2] = m_nPercent[2];
        other.m_bPercentOff[2] = m_bPercentOff[2];
        other.m_nMarkRouting = m_state.m_bOnline.load();
    });
}

void CKTV_OutData::SetLevel(int nLevel)
{
    nLevel = std::clamp(nLevel, 0, kLevelMax);
    ModelLock lock(m_state.m_csModel);
    StoreLevel(nLevel, nLevel == 0 ? 1 : 0);
    m_nMarkMisc = m_state.m_bOnline.load();
    ShareMisc();
}

void CKTV_OutData::SetPolarity(int nPolarity)
{
    ModelLock lock(m_state.m_csModel);
    m_nPolarity = nPolarity;
    m_nMarkMisc = m_state.m_bOnline.load();
    ShareMisc();
}

void CKTV_OutData::SetEqMode(int nMode)
{
    ModelLock lock(m_state.m_csModel);
    StoreEqMode(nMode);
    m_nMarkMisc = m_state.m_bOnline.load();
    ShareMisc();
}

void CKTV_OutData::SetThreshold(int n)
{
    ModelLock lock(m_state.m_csModel);
    SetMarked(m_nThreshold, n, m_nMarkLimiter);
    ShareLimiter();
}

void CKTV_OutData::SetAttack(int n)
{
    ModelLock lock(m_state.m_csModel);
    SetMarked(m_nAttack, n, m_nMarkLimiter);
    ShareLimiter();
}

void CKTV_OutData::SetRelease(int n)
{
    ModelLock lock(m_state.m_csModel);
    SetMarked(m_nRelease, n, m_nMarkLimiter);
    ShareLimiter();
}

void CKTV_OutData::SetLeftOff(int bOff)
{
    ModelLock lock(m_state.m_csModel);
    m_bLeftOff = bOff ? 1 : 0;
    SetMarked(m_nInL, !bOff, m_nMarkRouting);
    ShareRouting();
}

void CKTV_OutData::SetRightOff(int bOff)
{
    ModelLock lock(m_state.m_csModel);
    m_bRightOff = bOff ? 1 : 0;
    SetMarked(m_nInR, !bOff, m_nMarkRouting);
    ShareRouting();
}

void CKTV_OutData::SetMute(int nMute)
{
    SetMarked(m_nMute, nMute, m_nMarkMisc);
}

void CKTV_OutData::SetDelay(int nDelay)
{
    SetMarked(m_nDelay, nDelay, m_nMarkMisc);
}

void CKTV_OutData::SetChannel(int nChannel)
{
    ModelLock lock(m_state.m_csModel);
    m_nChannel = nChannel;
    if (nChannel % 2 == 1) {
        m_bRightOff = 0;
        m_nInR = 1;
    } else {
        m_bLeftOff = 0;
        m_nInL = 1;
    }
}

void CKTV_OutData::CopyFrom(const CKTV_OutData& other)
{
    if (&other == this)
        return;
    {
        ModelLock lock(m_state.m_csModel);
        for (int i = 0; i < m_eq.GetSize(); ++i)
            m_eq[i].CopyValues(other.m_eq[i]);
        m_nPolarity = other.m_nPolarity;
        StoreLevel(other.m_nLevel, other.GetLevel() == 0 ? 1 : 0);
        m_nDelay = other.m_nDelay;
        m_nSecondaryGain = other.m_nSecondaryGain;
        StoreEqMode(other.m_nEqMode);
        m_nByteA = other.m_nByteA;
        m_nThreshold = other.m_nThreshold;
        m_nAttack = other.m_nAttack;
        m_nRelease = other.m_nRelease;
    }
    RecomputeCurve();
}

// ---- image ----------------------------------------------------------------------

bool CKTV_OutData::FillOwnGroup(int nGroup, uint8_t* pBlock) const
{
    switch (nGroup) {
    case kGroupMisc:
        pBlock[kOffMute] = static_cast<uint8_t>(m_nMute);
        pBlock[kOffPolarity] = static_cast<uint8_t>(m_nPolarity);
        PutWord(pBlock + kOffLevel, GetLevel());
        PutWord(pBlock + kOffDelay, m_nDelay);
        pBlock[kOffEqMode] = static_cast<uint8_t>(m_nEqMode);
        pBlock[kOffByteA] = static_cast<uint8_t>(m_nByteA);
        return true;
    case kGroupRouting:
        pBlock[kOffInL] = static_cast<uint8_t>(m_nInL);
        pBlock[kOffInR] = static_cast<uint8_t>(m_nInR);
        return true;
    case kGroupLimiter:
        PutWord(pBlock + kOffThreshold, m_nThreshold);
        pBlock[kOffAttack] = static_cast<uint8_t>(m_nAttack);
        pBlock[kOffRelease] = static_cast<uint8_t>(m_nRelease);
        return true;
    default:
        return false;  // group 34 carries nothing the model knows
    }
}

void CKTV_OutData::LoadOwnFields(const uint8_t* pBlock)
{
    m_nMute = pBlock[kOffMute];
    m_nPolarity = pBlock[kOffPolarity];
    const int nLevel = std::min(GetWord(pBlock + kOffLevel), kLevelMax);
    StoreLevel(nLevel, nLevel == 0 ? 1 : 0);
    m_nDelay = GetWord(pBlock + kOffDelay);
    StoreEqMode(pBlock[kOffEqMode]);
    m_nByteA = pBlock[kOffByteA];
    m_nInL = pBlock[kOffInL];
    m_nInR = pBlock[kOffInR];
    m_bLeftOff = m_nInL == 0 ? 1 : 0;
    m_bRightOff = m_nInR == 0 ? 1 : 0;
    m_nThreshold = GetWord(pBlock + kOffThreshold);
    m_nAttack = pBlock[kOffAttack];
    m_nRelease = pBlock[kOffRelease];
}

void CKTV_OutData::SetOwnMarks(int nMark)
{
    m_nMarkMisc = m_nMarkRouting = m_nMarkLimiter = nMark;
}

// ---- change scanner ---------------------------------------------------------------

std::optional<BlockAddress> CKTV_OutData::ChangedOutputGroup(int nGroup)
{
    m_state.m_bOutputDataSent = 1;
    return ChangedGroup(nGroup);
}

std::optional<BlockAddress> CKTV_OutData::NextChange()
{
    ModelLock lock(m_state.m_csModel);
    if (TakeMark(m_nMarkName))
        return ChangedOutputGroup(kGroupName);
    if (TakeMark(m_nMarkMisc))
        return ChangedOutputGroup(kGroupMisc);
    CFilter& hp = m_eq.HighPass();
    CFilter& lp = m_eq.LowPass();
    if (hp.GetChangeMark() || lp.GetChangeMark()) {
        hp.StepFrequency(0);
        lp.StepFrequency(0);
        return ChangedOutputGroup(kGroupCrossover);
    }
    if (TakeMark(m_nMarkRouting))
        return ChangedOutputGroup(kGroupRouting);
    if (TakeMark(m_nMarkLimiter))
        return ChangedOutputGroup(kGroupLimiter);
    for (int b = 0; b < m_eq.BandCount(); ++b) {
        if (m_eq[b].GetChangeMark()) {
            m_eq[b].StepFrequency(0);
            return ChangedOutputGroup(b);
        }
    }
    return std::nullopt;
}

void CKTV_OutData::ResetEqBands()
{
    for (int i = 0; i < m_eq.BandCount(); ++i)
        m_eq[i].ResetBand(g_nGraphicFreq[static_cast<size_t>(i)]);
    RecomputeCurve();
}
