// status: every room connected and read fully, as the editor connects.
#include <chrono>

#include "RoomLink.h"
#include "VenueRun.h"

namespace {

RoomStatus RoomStatusOf(const VenueRoom& room, const std::atomic<bool>& bStop)
{
    RoomStatus status;
    status.strRoom = room.strName;
    status.strDevice = room.strDevice;
    CRoomLink link(bStop);
    const auto start = std::chrono::steady_clock::now();
    const bool bOpened = link.Open(room.strDevice, &status.strReason);
    status.bFinished = !link.WasStopped();
    if (!bOpened)
        return status;
    status.dAnswerMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    status.bOnline = true;
    CProcessor& processor = link.Processor();
    status.strIdentification = processor.Identification();
    status.strSceneName = processor.SceneName();
    for (size_t n = 0; n < status.programNames.size(); ++n)
        status.programNames[n] = processor.ProgramName(static_cast<int>(n) + 1);
    return status;
}

}  // namespace

std::vector<RoomStatus> VenueStatus(const std::vector<VenueRoom>& rooms, const std::atomic<bool>& bStop,
                                    IVenueObserver* pObserver)
{
    std::vector<RoomStatus> statuses(rooms.size());
    ForEachRoom(DevicesOf(rooms), [&](size_t i) {
        if (pObserver)
            pObserver->RoomProgress(i, 0);
        statuses[i] = RoomStatusOf(rooms[i], bStop);
        if (pObserver) {
            pObserver->RoomProgress(i, 100);
            pObserver->RoomStatusReady(i, statuses[i]);
        }
    });
    return statuses;
}
