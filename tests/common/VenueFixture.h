// Rooms of a venue, each a virtual processor served over TCP on 127.0.0.1
// on a thread of its own, and the venue file naming them.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "EmulatedRoom.h"
#include "EmulatorServer.h"
#include "VirtualProcessor.h"

class CEmulatedVenue {
public:
    // nRooms rooms "Room 1" …; nUnreachable more rooms whose port nobody
    // serves, named "Closed 1" ….
    CEmulatedVenue(const std::filesystem::path& folder, int nRooms, int nUnreachable = 0) : m_folder(folder)
    {
        std::filesystem::create_directories(folder);
        std::string strRooms;
        for (int i = 0; i < nRooms; ++i) {
            m_rooms.push_back(std::make_unique<CEmulatedRoom>());
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
    CEmulatedRoom& Room(int n) { return *m_rooms[static_cast<size_t>(n - 1)]; }
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
    std::vector<std::unique_ptr<CEmulatedRoom>> m_rooms;
    bool m_bStarted = true;
};
