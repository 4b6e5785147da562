// Virtual processors served over TCP on 127.0.0.1, one per room of a venue,
// and the venue file that names them.
#pragma once

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "EmulatedRoom.h"

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
