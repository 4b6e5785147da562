#include "VenueFile.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "DeviceChoice.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

constexpr std::string_view kBlanks = " \t\r\n";

int LineAt(std::string_view text, size_t nOffset)
{
    nOffset = std::min(nOffset, text.size());
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(nOffset), '\n'));
}

// The end of the JSON string that starts at text[nQuote] (its closing quote).
size_t StringEnd(std::string_view text, size_t nQuote, std::string* pValue)
{
    pValue->clear();
    size_t i = nQuote + 1;
    for (; i < text.size() && text[i] != '"'; ++i) {
        if (text[i] == '\\')
            ++i;
        else
            *pValue += text[i];
    }
    return i;
}

// The line each element of the top object's "rooms" array starts on, for
// text the parser accepted: the parser itself keeps no positions.
std::vector<int> RoomLines(std::string_view text)
{
    std::vector<int> lines;
    int nDepth = 0;
    bool bInRooms = false;
    bool bExpectRoom = false;
    std::string strLastText;  // the last string at the top object's level
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (kBlanks.find(c) != std::string_view::npos)
            continue;
        if (bExpectRoom && c != ']') {
            lines.push_back(LineAt(text, i));
            bExpectRoom = false;
        }
        if (c == '"') {
            std::string strValue;
            i = StringEnd(text, i, &strValue);
            if (nDepth == 1)
                strLastText = std::move(strValue);
        } else if (c == '{' || c == '[') {
            ++nDepth;
            bInRooms = bInRooms || (nDepth == 2 && c == '[' && strLastText == "rooms");
            bExpectRoom = bInRooms && nDepth == 2;
        } else if (c == '}' || c == ']') {
            --nDepth;
            bInRooms = bInRooms && nDepth >= 2;
        } else if (c == ',') {
            bExpectRoom = bInRooms && nDepth == 2;
        }
    }
    return lines;
}

VenueFileResult Refused(int nLine, std::string strError)
{
    VenueFileResult result;
    result.nLine = nLine;
    result.strError = std::move(strError);
    return result;
}

// The parser's own words after its "[json.exception…] parse error at line L, column C: ".
std::string ParseReason(const json::exception& error)
{
    const std::string strWhat = error.what();
    const size_t nColon = strWhat.find(": ");
    return "not JSON: " + (nColon == std::string::npos ? strWhat : strWhat.substr(nColon + 2));
}

bool HasControlCharacter(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7F;
    });
}

// "" when the key is absent or of the type; else why not.
std::string WrongType(const json& object, const char* pKey, bool (json::*isType)() const, const char* pType)
{
    const auto it = object.find(pKey);
    if (it == object.end() || ((*it).*isType)())
        return "";
    return std::string("\"") + pKey + "\" must be " + pType;
}

std::string RoomNameFault(const json& room)
{
    if (!room.contains("name"))
        return "a room without \"name\"";
    if (std::string strWhy = WrongType(room, "name", &json::is_string, "a text"); !strWhy.empty())
        return strWhy;
    const std::string strName = room["name"];
    if (strName.find_first_not_of(kBlanks) == std::string::npos)
        return "a room's \"name\" is empty";
    // --rooms and ?rooms= drop the blanks around a name: one kept in the
    // file could never be chosen.
    if (kBlanks.find(strName.front()) != std::string_view::npos || kBlanks.find(strName.back()) != std::string_view::npos)
        return "the room name \"" + strName + "\" starts or ends with a blank";
    if (strName.find(',') != std::string::npos)
        return "the room name \"" + strName + "\" holds a comma";
    if (HasControlCharacter(strName))
        return "a room name holds a control character";
    return "";
}

std::string RoomDeviceFault(const json& room)
{
    if (!room.contains("device"))
        return "the room \"" + room["name"].get<std::string>() + "\" has no \"device\"";
    if (std::string strWhy = WrongType(room, "device", &json::is_string, "a text"); !strWhy.empty())
        return strWhy;
    DeviceChoice choice;
    std::string strWhy;
    if (!ParseDeviceChoice(room["device"].get<std::string>(), &choice, &strWhy))
        return "the room \"" + room["name"].get<std::string>() + "\": unknown device form: " + strWhy;
    return "";
}

std::string RoomFault(const json& room)
{
    if (!room.is_object())
        return "a room must be an object";
    if (std::string strWhy = RoomNameFault(room); !strWhy.empty())
        return strWhy;
    if (std::string strWhy = RoomDeviceFault(room); !strWhy.empty())
        return strWhy;
    return WrongType(room, "staff_max_volume_db", &json::is_number, "a number");
}

VenueRoom TakeRoom(const json& room)
{
    VenueRoom out{room["name"], room["device"], std::nullopt};
    if (room.contains("staff_max_volume_db"))
        out.staffMaxVolumeDb = room["staff_max_volume_db"].get<double>();
    return out;
}

std::string TopFault(const json& top)
{
    if (!top.is_object())
        return "a venue file is a JSON object with \"rooms\"";
    if (std::string strWhy = WrongType(top, "venue", &json::is_string, "a text"); !strWhy.empty())
        return strWhy;
    if (!top.contains("rooms"))
        return "no \"rooms\"";
    if (std::string strWhy = WrongType(top, "rooms", &json::is_array, "a list of rooms"); !strWhy.empty())
        return strWhy;
    if (top["rooms"].empty())
        return "\"rooms\" is empty";
    return "";
}

std::string Lowered(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
    return out;
}

std::string TrimmedName(std::string_view text)
{
    const size_t nFirst = text.find_first_not_of(kBlanks);
    if (nFirst == std::string_view::npos)
        return "";
    return std::string(text.substr(nFirst, text.find_last_not_of(kBlanks) - nFirst + 1));
}

}  // namespace

bool SameRoomName(std::string_view a, std::string_view b)
{
    return Lowered(a) == Lowered(b);
}

VenueFileResult ParseVenueText(std::string_view text)
{
    json top;
    try {
        top = json::parse(text);
    } catch (const json::parse_error& error) {
        return Refused(LineAt(text, error.byte > 0 ? error.byte - 1 : 0), ParseReason(error));
    } catch (const json::exception& error) {  // a number out of range, for one
        return Refused(1, ParseReason(error));
    }
    if (std::string strWhy = TopFault(top); !strWhy.empty())
        return Refused(1, strWhy);
    const std::vector<int> lines = RoomLines(text);
    VenueFileResult result;
    result.venue.strName = top.value("venue", "");
    for (size_t i = 0; i < top["rooms"].size(); ++i) {
        const json& room = top["rooms"][i];
        const int nLine = i < lines.size() ? lines[i] : 1;
        if (std::string strWhy = RoomFault(room); !strWhy.empty())
            return Refused(nLine, strWhy);
        VenueRoom taken = TakeRoom(room);
        const auto& rooms = result.venue.rooms;
        if (std::any_of(rooms.begin(), rooms.end(),
                        [&](const VenueRoom& other) { return SameRoomName(other.strName, taken.strName); }))
            return Refused(nLine, "the room name \"" + taken.strName + "\" is there twice");
        result.venue.rooms.push_back(std::move(taken));
    }
    result.bOk = true;
    return result;
}

VenueFileResult ReadVenueFile(const fs::path& path)
{
    std::error_code error;
    const uintmax_t nSize = fs::file_size(path, error);
    if (error)
        return Refused(0, "cannot read it: " + error.message());
    if (nSize > kVenueFileMaxBytes)
        return Refused(0, "too big for a venue file");
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in && !in.eof())
        return Refused(0, "cannot read it");
    return ParseVenueText(text);
}

bool SelectRooms(const Venue& venue, const std::string& strNames, std::vector<VenueRoom>* pRooms,
                 std::string* pError)
{
    std::vector<bool> chosen(venue.rooms.size(), false);
    size_t nStart = 0;
    while (nStart <= strNames.size()) {
        const size_t nComma = std::min(strNames.find(',', nStart), strNames.size());
        const std::string strName = TrimmedName(std::string_view(strNames).substr(nStart, nComma - nStart));
        const auto it = std::find_if(venue.rooms.begin(), venue.rooms.end(),
                                     [&](const VenueRoom& room) { return SameRoomName(room.strName, strName); });
        if (strName.empty() || it == venue.rooms.end()) {
            *pError = strName.empty() ? "an empty room name in \"" + strNames + "\""
                                      : "no room named \"" + strName + "\" in the venue";
            return false;
        }
        chosen[static_cast<size_t>(it - venue.rooms.begin())] = true;
        nStart = nComma + 1;
    }
    pRooms->clear();
    for (size_t i = 0; i < venue.rooms.size(); ++i) {
        if (chosen[i])
            pRooms->push_back(venue.rooms[i]);
    }
    return true;
}
