// The venue file: the inventory of a venue's processors, one room each.
//
//   {"venue": "Golden Hall",
//    "rooms": [{"name": "Room 101", "device": "tcp:10.0.0.21:5470", "notes": "left of the bar"},
//              {"name": "Room 102", "device": "usb:serial=ZR0002"}]}
//
// A room's device takes every form --device takes. Names are unique,
// compared ignoring case, and hold no comma (commas separate names in a
// list of rooms) and no control character. Keys the program does not know
// are accepted; the known ones are checked for their type. A refused file
// comes back with the line the fault is on and the reason.
//
// Threads: pure functions (ReadVenueFile reads the file).
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct VenueRoom {
    std::string strName;
    std::string strDevice;
    std::optional<double> staffMaxVolumeDb;  // "staff_max_volume_db", for the venue service
};

struct Venue {
    std::string strName;  // "venue"; may be empty
    std::vector<VenueRoom> rooms;
};

struct VenueFileResult {
    bool bOk = false;
    Venue venue;
    int nLine = 0;  // a refusal: the line (from 1) it is about; 0 the whole file (unreadable, too big)
    std::string strError;
};

// A venue file is a short list; anything bigger is no venue file.
constexpr std::uintmax_t kVenueFileMaxBytes = 1 << 20;

VenueFileResult ParseVenueText(std::string_view text);
// Refuses a missing, unreadable or oversized file before parsing it.
VenueFileResult ReadVenueFile(const std::filesystem::path& path);
// "A,B" -> the rooms named (ignoring case, blanks around a name ignored),
// in the file's order, each once; an unknown or empty name is an error.
bool SelectRooms(const Venue& venue, const std::string& strNames, std::vector<VenueRoom>* pRooms,
                 std::string* pError);
// Whether two room names are the same name.
bool SameRoomName(std::string_view a, std::string_view b);
