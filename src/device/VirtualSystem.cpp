#include "VirtualSystem.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "DataDefine.h"
#include "Frame.h"

namespace {

constexpr int kFirstOutputLevel = 4;  // level entries 4 … 9 are the outputs
constexpr int kLevelSpare = 2;        // the editor keeps payload length − 2 readings
constexpr int kLowPassDefault = 500;  // Hz
constexpr int kSwitchReplySize = 2;   // the switch value travels in the second byte

template <size_t N>
bool Store(std::array<uint8_t, N>& area, const uint8_t* pData, int nLength)
{
    if (nLength != static_cast<int>(N))
        return false;
    std::memcpy(area.data(), pData, N);
    return true;
}

template <size_t N>
void Copy(const std::array<uint8_t, N>& area, std::vector<uint8_t>* pOut)
{
    pOut->assign(area.begin(), area.end());
}

}  // namespace

CVirtualSystem::CVirtualSystem()
{
    const int nItems[] = {32, 33, 34, 35, 36, 37, 38, 39};
    const int nValues[] = {100, 10, 90, 40, 100, 40, 90, 40};
    for (size_t i = 0; i < std::size(nItems); ++i)
        m_bytes[nItems[i]] = static_cast<uint8_t>(nValues[i]);
    m_info.fill(' ');
    PutWord(m_lowPassLimit.data(), kLowPassDefault);
    SetIdentification(kIdentification);
}

bool CVirtualSystem::IsSingleByte(int nItem)
{
    return nItem == kItemBacklight || (nItem >= 32 && nItem <= 41) || nItem == 48 || nItem == 49
        || nItem == kItemLowPassSwitch;
}

bool CVirtualSystem::Write(int nItem, const uint8_t* pData, int nLength)
{
    if (IsSingleByte(nItem)) {
        if (nLength != 1)
            return false;
        m_bytes[nItem] = pData[0];
        return true;
    }
    switch (nItem) {
    case kItemControl:
        return Store(m_control, pData, nLength);
    case kItemInfoText:
        return Store(m_info, pData, nLength);
    case kItemLock:
        return Store(m_lock, pData, nLength);
    case kItemLowPassLimit:
        return Store(m_lowPassLimit, pData, nLength);
    case kItemDefaultSetup:
        return Store(m_defaultWord, pData, nLength);
    case kItemDelayTable:
        return Store(m_delay, pData, nLength);
    default:
        return false;
    }
}

bool CVirtualSystem::Read(int nItem, std::vector<uint8_t>* pOut)
{
    if (nItem == kItemLowPassSwitch) {
        pOut->assign(kSwitchReplySize, 0);
        (*pOut)[1] = m_bytes[nItem];
        return true;
    }
    if (IsSingleByte(nItem)) {
        pOut->assign(1, m_bytes[nItem]);
        return true;
    }
    switch (nItem) {
    case kItemControl:
        Copy(m_control, pOut);
        return true;
    case kItemLevels:
        Levels(pOut);
        return true;
    case kItemIdent:
        Copy(m_id, pOut);
        return true;
    case kItemInfoText:
        Copy(m_info, pOut);
        return true;
    case kItemLock:
        Copy(m_lock, pOut);
        return true;
    case kItemLowPassLimit:
        Copy(m_lowPassLimit, pOut);
        return true;
    case kItemVariant:
        pOut->assign(1, m_nVariant);
        return true;
    case kItemDelayTable:
        Copy(m_delay, pOut);
        return true;
    default:
        return false;
    }
}

int CVirtualSystem::Value(int nItem) const
{
    if (nItem == kItemLowPassLimit)
        return GetWord(m_lowPassLimit.data());
    if (nItem == kItemVariant)
        return m_nVariant;
    return IsSingleByte(nItem) ? m_bytes[nItem] : -1;
}

std::vector<uint8_t> CVirtualSystem::DelayTable() const
{
    return {m_delay.begin(), m_delay.end()};
}

void CVirtualSystem::SetIdentification(const std::string& strId)
{
    m_id.fill(' ');
    std::memcpy(m_id.data(), strId.data(), std::min(strId.size(), m_id.size()));
}

void CVirtualSystem::SetLevels(const std::array<int, kLevelEntries>& levels)
{
    for (int i = 0; i < kLevelEntries; ++i)
        m_levels[i] = static_cast<uint8_t>(std::clamp(levels[i], 0, 255));
    m_bFixedLevels = true;
}

// One byte per reading. Without fixed readings the six outputs swing
// between 20 and 40, each a little out of step with the others, so a
// meter shows movement.
void CVirtualSystem::Levels(std::vector<uint8_t>* pOut)
{
    if (!m_bFixedLevels) {
        m_levels.fill(0);
        for (int i = 0; i < kOutputs; ++i) {
            const unsigned nPhase = (m_nLevelReads * 3 + 7u * static_cast<unsigned>(i)) % 40;
            m_levels[kFirstOutputLevel + i] = static_cast<uint8_t>(20 + (nPhase < 20 ? nPhase : 40 - nPhase));
        }
        ++m_nLevelReads;
    }
    pOut->assign(m_levels.begin(), m_levels.end());
    pOut->resize(kLevelEntries + kLevelSpare, 0);
}
