// Rooms of a venue, each a virtual processor served over TCP on 127.0.0.1
// on a thread of its own, and the venue file naming them.
#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "EmulatorServer.h"
#include "VirtualProcessor.h"

struct EmulatedRoom {
    CVirtualProcessor device;
    CEmulatorServer server{device};
    std::atomic<bool> bStop{false};
    std::thread thread;

    bool Start()
    {
        std::string strError;
        if (!server.Listen("127.0.0.1", 0, &strError))
            return false;
        thread = std::thread([this] { server.Serve(bStop); });
        return true;
    }
    ~EmulatedRoom()
    {
        bStop = true;
        if (thread.joinable())
            thread.join();
    }
    std::string Device() const { return "tcp:127.0.0.1:" + std::to_string(server.Port()); }
};

class CEmulatedVenue {
public:
    // nRooms rooms "Room 1" …; nUnreachable more rooms whose port nobody
    // serves, named "Closed 1" ….
    CEmulatedVenue(const std::filesystem::path& folder, int nRooms, int nUnreachable = 0) : m_folder(folder)
    {
        std::filesystem::create_directories(folder);
        std::string strRooms;
        for (int i = 0; i < nRooms; ++i) {
            m_rooms.push_back(std::make_unique<EmulatedRoom>());
            m_bStarted = m_rooms.back()->Start() && m_bStarted;
            strRooms += RoomLine("Room " + std::to_string(i + 1), m_rooms.back()->Device());
        }
        for (int i = 0; i < nUnreachable; ++i)
            strRooms += RoomLine("Closed " + std::to_string(i + 1), "tcp:127.0.0.1:" + std::to_string(FreePort()));
        strRooms.pop_back();
        std::ofstream(VenueFile()) << "{\"venue\": \"Test Hall\", \"rooms\": [" << strRooms << "]}\n";
    }
    ~CEmulatedVenue() { std::filesystem::remove_all(m_folder); }

    bool Started() const { return m_bStarted; }
    EmulatedRoom& Room(int n) { return *m_rooms[static_cast<size_t>(n - 1)]; }
    std::string VenueFile() const { return (m_folder / "venue.json").string(); }
    std::filesystem::path Folder() const { return m_folder; }

private:
    static std::string RoomLine(const std::string& strName, const std::string& strDevice)
    {
        return "\n  {\"name\": \"" + strName + "\", \"device\": \"" + strDevice + "\"},";
    }
    // A port that was free a moment ago: listened on, then closed.
    static int FreePort()
    {
        CVirtualProcessor device;
        CEmulatorServer server(device);
        std::string strError;
        return server.Listen("127.0.0.1", 0, &strError) ? server.Port() : 1;
    }

    std::filesystem::path m_folder;
    std::vector<std::unique_ptr<EmulatedRoom>> m_rooms;
    bool m_bStarted = true;
};
