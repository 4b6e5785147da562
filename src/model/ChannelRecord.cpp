#include "ChannelRecord.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "DataDefine.h"
#include "GlobalData.h"

std::string ChannelNameFromBlock(const uint8_t* pField)
{
    std::string str;
    for (int i = 0; i < kChannelNameSize && pField[i] != 0; ++i)
        str.push_back(static_cast<char>(pField[i]));
    return Trim(str);
}

void ChannelNameToBlock(uint8_t* pField, const std::string& strName)
{
    std::memset(pField, 0, kChannelNameSize);
    std::memcpy(pField, strName.data(), std::min<size_t>(strName.size(), kChannelNameSize));
}

bool IsValidChannelName(const std::string& strName)
{
    return strName.size() <= static_cast<size_t>(kChannelNameSize);
}

CChannelRecord::CChannelRecord(CProcessorState& state, EqSetType type, int nRangeCode, uint32_t nColour)
    : m_state(state), m_eq(&state, type, nRangeCode), m_nColour(nColour)
{
}

void CChannelRecord::SetPlotRect(int nWidth, int nHeight)
{
    m_nPlotW = nWidth;
    m_nPlotH = nHeight;
    for (int i = 0; i < kAxisPoints; ++i) {
        m_ptCurve[i] = {FreqToCol(g_dFreqAxis[i], nWidth) + kPlotOffsetX, nHeight / 2};
        m_ptCurveF[i].x = FreqToColF(g_dFreqAxis[i], nWidth) + kPlotOffsetX;
    }
    m_eq.SetPlotRect(nWidth, nHeight);
    RecomputeCurve();
}

void CChannelRecord::RecomputeCurve()
{
    m_eq.SumResponses();
    for (int i = 0; i < kAxisPoints; ++i) {
        m_ptCurve[i].y = m_eq.Curve()[i].y;
        m_ptCurveF[i].y = m_eq.CurveF()[i].y;
    }
}

void CChannelRecord::SetWholeSetBypass(bool bOn)
{
    m_eq.SetWholeSetBypass(bOn);
}

bool CChannelRecord::TestAllBypassed()
{
    return m_eq.AllBypassed();
}

uint8_t* CChannelRecord::LiveBlock() const
{
    return m_state.m_LiveImage + BlockOffset();
}

int CChannelRecord::GetMark(const int& nMark) const
{
    ModelLock lock(m_state.m_csModel);
    return nMark;
}

void CChannelRecord::PutMark(int& nMark, int nValue)
{
    ModelLock lock(m_state.m_csModel);
    nMark = nValue;
}

bool CChannelRecord::FillGroup(int nGroup)
{
    ModelLock lock(m_state.m_csModel);
    return FillGroupBytes(nGroup, LiveBlock(), CKTVEQ::Freq::Sent);
}

std::optional<BlockAddress> CChannelRecord::ChangedGroup(int nGroup)
{
    if (!FillGroup(nGroup))
        return std::nullopt;
    return GroupAddress(nGroup);
}

bool CChannelRecord::TakeMark(int& nMark)
{
    if (!nMark)
        return false;
    nMark = 0;
    return true;
}

bool CChannelRecord::SetName(const std::string& strName)
{
    if (!IsValidChannelName(strName))
        return false;
    SetMarked(m_strName, strName, m_nMarkName);
    return true;
}

bool CChannelRecord::FillGroupBytes(int nGroup, uint8_t* pBlock, CKTVEQ::Freq freq) const
{
    if (nGroup >= 0 && nGroup < m_eq.BandCount())
        m_eq.PackGroup(nGroup, pBlock + kGroupSize * nGroup, freq);
    else if (nGroup == m_eq.HighPass().GetGroupIndex())
        m_eq.PackCrossover(pBlock + kGroupSize * nGroup, freq);
    else if (nGroup == NameGroup())
        ChannelNameToBlock(pBlock + kGroupSize * nGroup, m_strName);
    else
        return FillOwnGroup(nGroup, pBlock);
    return true;
}

void CChannelRecord::FillAll()
{
    ModelLock lock(m_state.m_csModel);
    for (int g = 0; g <= NameGroup(); ++g)
        FillGroupBytes(g, LiveBlock(), CKTVEQ::Freq::Target);
}

void CChannelRecord::SettleFrequencies()
{
    m_eq.SettleFrequencies();
}

void CChannelRecord::LoadFromImage(const uint8_t* pBlock)
{
    ModelLock lock(m_state.m_csModel);
    for (int i = 0; i < m_eq.BandCount(); ++i)
        m_eq.ParseGroup(i, pBlock + kGroupSize * i);
    m_strName = ChannelNameFromBlock(pBlock + kGroupSize * NameGroup());
    m_eq.ParseCrossover(pBlock + kGroupSize * m_eq.HighPass().GetGroupIndex());
    LoadOwnFields(pBlock);
}

void CChannelRecord::SetAllMarks(int nMark)
{
    ModelLock lock(m_state.m_csModel);
    m_eq.SetAllMarks(nMark);
    m_nMarkName = nMark;
    SetOwnMarks(nMark);
}

bool CChannelRecord::AnyMark() const
{
    ModelLock lock(m_state.m_csModel);
    for (int i = 0; i < m_eq.GetSize(); ++i) {
        if (m_eq[i].GetChangeMark())
            return true;
    }
    return m_nMarkName != 0 || AnyOwnMark();
}

void CChannelRecord::FillBlock(uint8_t* pBlock) const
{
    ModelLock lock(m_state.m_csModel);
    for (int g = 0; g < GroupCount(); ++g)
        FillGroupBytes(g, pBlock, CKTVEQ::Freq::Target);
}

void CChannelRecord::RestoreOwnGroups(const uint8_t* pBlock)
{
    ModelLock lock(m_state.m_csModel);
    std::vector<uint8_t> current(static_cast<size_t>(GroupCount() * kGroupSize));
    FillBlock(current.data());
    const int nCrossover = m_eq.HighPass().GetGroupIndex();
    std::vector<int> changed;
    for (int g = m_eq.BandCount(); g < NameGroup(); ++g) {
        const int nOffset = g * kGroupSize;
        if (g != nCrossover && std::memcmp(current.data() + nOffset, pBlock + nOffset, kGroupSize) != 0)
            changed.push_back(g);
    }
    if (changed.empty())
        return;
    LoadOwnFields(pBlock);
    for (int g : changed) {
        if (int* pMark = OwnMark(g))
            *pMark = m_state.m_bOnline.load();
    }
}
