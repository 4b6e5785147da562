#include "RoomLink.h"

#include <chrono>
#include <ctime>
#include <map>
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

void ForEachRoom(const std::vector<std::string>& devices, const std::function<void(size_t nRoom)>& work)
{
    // Each thread takes the rooms of one device, in the rooms' order.
    std::vector<std::vector<size_t>> turns;
    std::map<std::string, size_t> threadOf;
    for (size_t i = 0; i < devices.size(); ++i) {
        const auto it = devices[i].empty() ? threadOf.end() : threadOf.find(devices[i]);
        if (it != threadOf.end()) {
            turns[it->second].push_back(i);
            continue;
        }
        if (!devices[i].empty())
            threadOf[devices[i]] = turns.size();
        turns.push_back({i});
    }
    std::vector<std::thread> threads;
    threads.reserve(turns.size());
    for (const std::vector<size_t>& rooms : turns)
        threads.emplace_back([&work, &rooms] {
            for (size_t i : rooms)
                work(i);
        });
    for (std::thread& thread : threads)
        thread.join();
}

std::vector<std::string> DevicesOf(const std::vector<VenueRoom>& rooms)
{
    std::vector<std::string> devices;
    for (const VenueRoom& room : rooms)
        devices.push_back(room.strDevice);
    return devices;
}

std::vector<RoomResult> RunRooms(const std::vector<VenueRoom>& rooms, IVenueObserver* pObserver, const RoomWork& work)
{
    std::vector<RoomResult> results(rooms.size());
    ForEachRoom(DevicesOf(rooms), [&](size_t i) {
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
