#include "ChangeScanner.h"

#include <optional>

#include "BlockAddress.h"
#include "ChannelRecord.h"
#include "FrameBuilder.h"
#include "GlobalData.h"
#include "KTV_Data.h"

namespace {

// The scanner writes the live state only: preset 0.
std::unique_ptr<CSendData> LiveWrite(const BlockAddress& address)
{
    if (address.IsSystemItem())
        return MakeSysFrame(address.nItem, 0);
    return MakeGroupFrame(address.nKind, address.nChannel, address.nGroup);
}

}  // namespace

std::unique_ptr<CSendData> NextChangeFrame(CKTV_Data& data)
{
    ModelLock lock(g_csModel);
    if (const std::optional<BlockAddress> change = data.NextChange())
        return LiveWrite(*change);
    return MakeGroupFrame(kKindLevelRequest, 0, 0);
}

std::unique_ptr<CSendData> RecordGroupFrame(CChannelRecord& record, int nGroup)
{
    ModelLock lock(g_csModel);
    if (!record.FillGroup(nGroup))
        return nullptr;
    return LiveWrite(record.GroupAddress(nGroup));
}
