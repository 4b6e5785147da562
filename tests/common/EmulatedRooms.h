// Virtual processors served over TCP on 127.0.0.1, one per room of a venue,
// each on its own thread, and the venue file that names them.
#pragma once

#include <atomic>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "EmulatorServer.h"
#include "VirtualProcessor.h"

class CEmulatedRoom {
public:
    CEmulatedRoom() : m_server(m_device) {}
    ~CEmulatedRoom() { Stop(); }
    bool Start()
    {
        std::string strError;
        if (!m_server.Listen("127.0.0.1", 0, &strError))
            return false;
        m_serving = std::thread([this] { m_server.Serve(m_bStop); });
        return true;
    }
    // The room goes away: its port no longer answers.
    void Stop()
    {
        m_bStop = true;
        if (m_serving.joinable())
            m_serving.join();
    }
    std::string Device() const { return "tcp:127.0.0.1:" + std::to_string(m_server.Port()); }
    CVirtualProcessor& Processor() { return m_device; }

private:
    CVirtualProcessor m_device;
    CEmulatorServer m_server;
    std::atomic<bool> m_bStop{false};
    std::thread m_serving;
};

// nRooms rooms named "Room 1" … and started; the venue file at path names them.
inline std::vector<std::unique_ptr<CEmulatedRoom>> StartRooms(int nRooms, const std::string& strVenueFile)
{
    std::vector<std::unique_ptr<CEmulatedRoom>> rooms;
    nlohmann::json venue = {{"venue", "Test Hall"}, {"rooms", nlohmann::json::array()}};
    for (int i = 0; i < nRooms; ++i) {
        rooms.push_back(std::make_unique<CEmulatedRoom>());
        if (!rooms.back()->Start())
            return {};
        venue["rooms"].push_back({{"name", "Room " + std::to_string(i + 1)}, {"device", rooms.back()->Device()}});
    }
    std::ofstream(strVenueFile) << venue.dump(1);
    return rooms;
}
