// Any text can be offered as a venue file: a refusal names a line of the
// text and a reason; an accepted file has rooms whose names are unique
// (ignoring case), hold no comma and no control character, and whose
// devices are device forms; and every room can be chosen by its name.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "DeviceChoice.h"
#include "VenueFile.h"

namespace {

bool IsCleanName(const std::string& strName)
{
    for (const char c : strName) {
        const auto u = static_cast<unsigned char>(c);
        if (c == ',' || u < 0x20 || u == 0x7F)
            return false;
    }
    return !strName.empty();
}

bool IsSound(const Venue& venue)
{
    if (venue.rooms.empty())
        return false;
    std::string strAll;
    for (size_t i = 0; i < venue.rooms.size(); ++i) {
        const VenueRoom& room = venue.rooms[i];
        DeviceChoice choice;
        std::string strError;
        if (!IsCleanName(room.strName) || !ParseDeviceChoice(room.strDevice, &choice, &strError))
            return false;
        for (size_t j = 0; j < i; ++j) {
            if (SameRoomName(venue.rooms[j].strName, room.strName))
                return false;
        }
        strAll += (i ? "," : "") + room.strName;
    }
    std::vector<VenueRoom> chosen;
    std::string strError;
    return SelectRooms(venue, strAll, &chosen, &strError) && chosen.size() == venue.rooms.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const std::string_view text(reinterpret_cast<const char*>(pData), nSize);
    const VenueFileResult read = ParseVenueText(text);
    if (!read.bOk) {
        const auto nLines = 1 + std::count(text.begin(), text.end(), '\n');
        if (read.strError.empty() || read.nLine < 1 || read.nLine > nLines)
            std::abort();
        return 0;
    }
    if (!IsSound(read.venue))
        std::abort();
    return 0;
}
