#include "Effect_Data.h"

#include "DataDefine.h"
#include "Frame.h"

namespace {
// Block offset of each field, in the order of CEffect_Data::Field.
constexpr int kFieldOffset[CEffect_Data::kFieldCount] = {128, 129, 130, 131, 134, 136, 137, 138, 139, 140, 143};
constexpr int kFieldInitial[CEffect_Data::kFieldCount] = {20, 84, 50, 68, 0, 18, 50, 0, 40, 50, 0};
constexpr int kOffCrossover = 120;
constexpr int kOffName = 144;

bool IsEchoField(int nField)
{
    return nField <= CEffect_Data::kEchoLowCut;
}
}  // namespace

CEffect_Data::CEffect_Data() : CChannelRecord(EqSetType::Effect, 6, 0xFF0000)
{
    m_strName = "Effect";
    for (int i = 0; i < kFieldCount; ++i)
        m_nField[i] = kFieldInitial[i];
}

int CEffect_Data::BlockKind() const
{
    return kKindEffect;
}

int CEffect_Data::BlockOffset() const
{
    return kOffEffect;
}

void CEffect_Data::Set(Field field, int nValue)
{
    if (field < 0 || field >= kFieldCount)
        return;
    SetMarked(m_nField[field], nValue, IsEchoField(field) ? m_nMarkEcho : m_nMarkReverb);
}

bool CEffect_Data::SetName(const std::string& strName)
{
    if (!IsValidChannelName(strName))
        return false;
    SetMarked(m_strName, strName, m_nMarkName);
    return true;
}

bool CEffect_Data::FillGroupBytes(int nGroup, uint8_t* pBlock) const
{
    if (nGroup >= 0 && nGroup < m_eq.BandCount()) {
        m_eq.PackGroup(nGroup, pBlock + kGroupSize * nGroup);
        return true;
    }
    switch (nGroup) {
    case kGroupCrossover:
        m_eq.PackCrossover(pBlock + kOffCrossover);
        return true;
    case kGroupEcho:
    case kGroupReverb:
        for (int i = 0; i < kFieldCount; ++i) {
            if (IsEchoField(i) == (nGroup == kGroupEcho))
                pBlock[kFieldOffset[i]] = static_cast<uint8_t>(m_nField[i]);
        }
        return true;
    case kGroupName:
        ChannelNameToBlock(pBlock + kOffName, m_strName);
        return true;
    default:
        return false;
    }
}

void CEffect_Data::FillAll()
{
    ModelLock lock(g_csModel);
    for (int g = 0; g <= kGroupName; ++g)
        FillGroupBytes(g, LiveBlock());
}

void CEffect_Data::LoadFromImage(const uint8_t* pBlock)
{
    ModelLock lock(g_csModel);
    LoadBands(pBlock);
    m_strName = ChannelNameFromBlock(pBlock + kOffName);
    m_eq.ParseCrossover(pBlock + kOffCrossover);
    for (int i = 0; i < kFieldCount; ++i)
        m_nField[i] = pBlock[kFieldOffset[i]];
}

void CEffect_Data::SetAllMarks(int nMark)
{
    ModelLock lock(g_csModel);
    m_eq.SetAllMarks(nMark);
    m_nMarkEcho = m_nMarkReverb = m_nMarkName = nMark;
}
