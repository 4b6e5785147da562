#include "Effect_Data.h"

#include "BlockAddress.h"
#include "DataDefine.h"

namespace {
// Block offset of each field, in the order of CEffect_Data::Field.
constexpr int kFieldOffset[CEffect_Data::kFieldCount] = {128, 129, 130, 131, 134, 136, 137, 138, 139, 140, 143};
constexpr int kFieldInitial[CEffect_Data::kFieldCount] = {20, 84, 50, 68, 0, 18, 50, 0, 40, 50, 0};

bool IsEchoField(int nField)
{
    return nField <= CEffect_Data::kEchoLowCut;
}
}  // namespace

CEffect_Data::CEffect_Data(CProcessorState& state) : CChannelRecord(state, EqSetType::Effect, 6, 0xFF0000)
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

bool CEffect_Data::FillOwnGroup(int nGroup, uint8_t* pBlock) const
{
    if (nGroup != kGroupEcho && nGroup != kGroupReverb)
        return false;
    for (int i = 0; i < kFieldCount; ++i) {
        if (IsEchoField(i) == (nGroup == kGroupEcho))
            pBlock[kFieldOffset[i]] = static_cast<uint8_t>(m_nField[i]);
    }
    return true;
}

void CEffect_Data::LoadOwnFields(const uint8_t* pBlock)
{
    for (int i = 0; i < kFieldCount; ++i)
        m_nField[i] = pBlock[kFieldOffset[i]];
}

void CEffect_Data::SetOwnMarks(int nMark)
{
    m_nMarkEcho = m_nMarkReverb = nMark;
}
