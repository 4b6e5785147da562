#include "ChannelRecord.h"

#include <algorithm>
#include <cstring>

#include "DataDefine.h"
#include "FrameBuilder.h"
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

CChannelRecord::CChannelRecord(EqSetType type, int nRangeCode, uint32_t nColour)
    : m_eq(type, nRangeCode), m_nColour(nColour)
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
    m_bAllBypassed = m_eq.AllBypassed() ? 1 : 0;
    return m_bAllBypassed != 0;
}

void CChannelRecord::LoadBands(const uint8_t* pBlock)
{
    for (int i = 0; i < m_eq.BandCount(); ++i)
        m_eq.ParseGroup(i, pBlock + kGroupSize * i);
}

void CChannelRecord::FillBands(uint8_t* pBlock) const
{
    for (int i = 0; i < m_eq.BandCount(); ++i)
        m_eq.PackGroup(i, pBlock + kGroupSize * i);
}

uint8_t* CChannelRecord::LiveBlock() const
{
    return g_LiveImage + BlockOffset();
}

int CChannelRecord::GetMark(const int& nMark) const
{
    ModelLock lock(g_csModel);
    return nMark;
}

void CChannelRecord::PutMark(int& nMark, int nValue)
{
    ModelLock lock(g_csModel);
    nMark = nValue;
}

std::unique_ptr<CSendData> CChannelRecord::FillGroup(int nGroup, bool bFrame)
{
    ModelLock lock(g_csModel);
    if (!FillGroupBytes(nGroup, LiveBlock()))
        return nullptr;
    return bFrame ? MakeGroupFrame(BlockKind(), FrameChannel(), nGroup) : nullptr;
}
