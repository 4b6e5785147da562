#include "Service.h"

#include <cmath>

#include "ParamAccess.h"
#include "Processor.h"
#include "RoomPatch.h"

CService::CService(const Venue& venue, CTokenFile tokens, const std::filesystem::path& staffState,
                   CRoomWorker::Timing timing)
    : m_tokens(std::move(tokens)), m_mutes(staffState)
{
    for (const VenueRoom& room : venue.rooms) {
        auto pRoom = std::make_unique<ServiceRoom>();
        ServiceRoom* pPlace = pRoom.get();
        pRoom->pWorker = std::make_unique<CRoomWorker>(
            room, [this](const Json& event) { Publish(event); }, timing,
            [pPlace](CProcessor& processor) { LimitAfterRecall(*pPlace, processor); });
        m_rooms.push_back(std::move(pRoom));
    }
}

CService::~CService()
{
    // The workers stop before the listeners and tokens they use go.
    for (auto& pRoom : m_rooms)
        pRoom->pWorker.reset();
}

std::vector<ServiceRoom*> CService::Rooms()
{
    std::vector<ServiceRoom*> rooms;
    for (auto& pRoom : m_rooms)
        rooms.push_back(pRoom.get());
    return rooms;
}

ServiceRoom* CService::FindRoom(std::string_view name)
{
    for (auto& pRoom : m_rooms)
        if (SameRoomName(pRoom->pWorker->Room().strName, name))
            return pRoom.get();
    return nullptr;
}

int CService::Subscribe(Listener listener)
{
    std::lock_guard lock(m_mutex);
    m_listeners[m_nNextId] = std::move(listener);
    return m_nNextId++;
}

void CService::Unsubscribe(int nId)
{
    std::lock_guard lock(m_mutex);
    m_listeners.erase(nId);
}

void CService::Publish(const Json& event)
{
    std::lock_guard lock(m_mutex);
    for (const auto& [nId, listener] : m_listeners)
        listener(event);
}

void CService::LimitAfterRecall(ServiceRoom& room, CProcessor& processor)
{
    if (!std::exchange(room.bStaffRecall, false))
        return;
    const double dLimit = room.pWorker->Room().staffMaxVolumeDb.value_or(0.0);
    ParamRef ref;
    std::string strError;
    ParseParamRef(kProcessorChannel, "volume", &ref, &strError);
    if (StaffVolumeRefusal(ReadParamJson(processor, ref), dLimit).empty())
        return;
    // The volume moves in whole dB; below its lowest step is off.
    int nCode = 0;
    if (!ParseParamValue(ref, std::to_string(static_cast<int>(std::floor(dLimit))), &nCode, &strError))
        ParseParamValue(ref, "off", &nCode, &strError);
    WriteParam(processor, ref, nCode);
}
