#include "RoomLink.h"

#include <chrono>
#include <ctime>
#include <thread>
#include <vector>

bool CRoomLink::Open(const std::string& strDevice, std::string* pReason)
{
    if (m_conversation.Open(strDevice))
        return true;
    *pReason = Failure();
    return false;
}

std::string CRoomLink::Failure() const
{
    return m_conversation.WasStopped() ? "stopped" : m_conversation.Failure();
}

void ForEachRoom(size_t nRooms, const std::function<void(size_t nRoom)>& work)
{
    std::vector<std::thread> threads;
    threads.reserve(nRooms);
    for (size_t i = 0; i < nRooms; ++i)
        threads.emplace_back(work, i);
    for (std::thread& thread : threads)
        thread.join();
}

std::vector<RoomResult> RunRooms(size_t nRooms, IVenueObserver* pObserver, const RoomWork& work)
{
    std::vector<RoomResult> results(nRooms);
    ForEachRoom(nRooms, [&](size_t i) {
        const auto progress = [&](int nPercent) {
            if (pObserver)
                pObserver->RoomProgress(i, nPercent);
        };
        progress(0);
        results[i] = work(i, progress);
        progress(100);
        if (pObserver)
            pObserver->RoomFinished(i, results[i]);
    });
    return results;
}

std::vector<RoomResult> AllFailed(const std::vector<VenueRoom>& rooms, const std::string& strReason)
{
    std::vector<RoomResult> results(rooms.size());
    for (size_t i = 0; i < rooms.size(); ++i) {
        results[i].strRoom = rooms[i].strName;
        results[i].bFinished = true;
        results[i].strReason = strReason;
        results[i].holds = RoomHolds::kOld;
    }
    return results;
}

std::string UtcTimeText()
{
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}
