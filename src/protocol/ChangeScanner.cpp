#include "ChangeScanner.h"

#include <optional>

#include "BlockAddress.h"
#include "ChannelRecord.h"
#include "FrameBuilder.h"
#include "GlobalData.h"
#include "KTV_Data.h"

namespace {

// The scanner writes the live state only: preset 0.
std::unique_ptr<CSendData> LiveWrite(CProcessorState& state, const BlockAddress& address)
{
    if (address.IsSystemItem())
        return MakeSysFrame(state, address.nItem, 0);
    return MakeGroupFrame(state, address.nKind, address.nChannel, address.nGroup);
}

}  // namespace

std::unique_ptr<CSendData> NextChangeFrame(CKTV_Data& data)
{
    CProcessorState& state = data.State();
    ModelLock lock(state.m_csModel);
    if (const std::optional<BlockAddress> change = data.NextChange())
        return LiveWrite(state, *change);
    return MakeGroupFrame(state, kKindLevelRequest, 0, 0);
}

std::unique_ptr<CSendData> RecordGroupFrame(CChannelRecord& record, int nGroup)
{
    ModelLock lock(record.State().m_csModel);
    if (!record.FillGroup(nGroup))
        return nullptr;
    return LiveWrite(record.State(), record.GroupAddress(nGroup));
}
