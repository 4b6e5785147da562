#include "WireState.h"

#include <algorithm>
#include <cstring>

#include "KTV_Data.h"

WirePart WirePartAt(int nPart)
{
    if (nPart < kWireImageParts)
        return {nPart * kGroupSize, kGroupSize};
    if (nPart == kWireImageParts)
        return {kWireDelayOffset, kDelayTableSize};
    return {kWireControlOffset, kControlSize};
}

namespace {

void FillRecord(const CChannelRecord& record, uint8_t* pTarget, int nBlockSize)
{
    std::vector<uint8_t> block(static_cast<size_t>(record.GroupCount() * kGroupSize));
    record.FillBlock(block.data());
    std::memcpy(pTarget, block.data(), std::min(block.size(), static_cast<size_t>(nBlockSize)));
}

}  // namespace

WireState WireStateOfModel(CKTV_Data& data)
{
    WireState state(kWireSize);
    ModelLock lock(data.State().m_csModel);
    FillRecord(data.Music(), state.data() + kOffMusic, kInBlockSize);
    for (int k = 0; k < kOutputs; ++k)
        FillRecord(data.Output(k), state.data() + kOffOutput + k * kOutBlockSize, kOutBlockSize);
    std::memcpy(state.data() + kWireDelayOffset, data.State().m_DelayTable, kDelayTableSize);
    std::memcpy(state.data() + kWireControlOffset, data.State().m_ControlBlock, kControlSize);
    return state;
}
