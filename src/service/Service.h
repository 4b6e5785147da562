// The venue service's rooms and who may use them: a worker per room, the
// tokens, what staff muted, and the fan-out of every room's events to the
// live clients.
//
// Threads: any. Listeners are called on the room threads and must only
// hand the event on (e.g. post it to their own executor).
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

#include "RoomWorker.h"
#include "StaffMutes.h"
#include "TokenFile.h"

struct ServiceRoom {
    std::unique_ptr<CRoomWorker> pWorker;
    bool bStaffRecall = false;  // room thread only: the recall running is staff's
};

class CService {
public:
    using Listener = std::function<void(const Json& event)>;

    CService(const Venue& venue, CTokenFile tokens, const std::filesystem::path& staffState,
             CRoomWorker::Timing timing);
    ~CService();

    const CTokenFile& Tokens() const { return m_tokens; }
    CStaffMutes& Mutes() { return m_mutes; }
    std::vector<ServiceRoom*> Rooms();
    // The room by its name, ignoring case; nullptr when there is none.
    ServiceRoom* FindRoom(std::string_view name);

    int Subscribe(Listener listener);
    void Unsubscribe(int nId);

private:
    void Publish(const Json& event);
    // A staff recall louder than the room's limit is brought down at once.
    static void LimitAfterRecall(ServiceRoom& room, CProcessor& processor);

    CTokenFile m_tokens;
    CStaffMutes m_mutes;
    std::mutex m_mutex;  // guards m_listeners
    std::map<int, Listener> m_listeners;
    int m_nNextId = 1;
    std::vector<std::unique_ptr<ServiceRoom>> m_rooms;
};
