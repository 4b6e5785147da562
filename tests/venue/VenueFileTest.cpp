// The venue file: what it accepts, each refusal with its line and reason,
// choosing rooms by name, and the backup's file names.
#include <gtest/gtest.h>

#include "FileDigest.h"
#include "VenueFile.h"
#include "VenueRun.h"

namespace {

const char* const kGood = R"({"venue": "Golden Hall",
 "rooms": [{"name": "Room 101", "device": "tcp:10.0.0.21:5470", "notes": "left of the bar"},
           {"name": "Room 102", "device": "usb:serial=ZR0002", "staff_max_volume_db": -6.5}]})";

std::vector<VenueRoom> Rooms(const std::vector<std::string>& names)
{
    std::vector<VenueRoom> rooms;
    for (const std::string& strName : names)
        rooms.push_back({strName, "virtual", std::nullopt});
    return rooms;
}

}  // namespace

TEST(VenueFile, ReadsRoomsAndAcceptsKeysItDoesNotKnow)
{
    const VenueFileResult read = ParseVenueText(kGood);
    ASSERT_TRUE(read.bOk) << read.strError;
    EXPECT_EQ(read.venue.strName, "Golden Hall");
    ASSERT_EQ(read.venue.rooms.size(), 2u);
    EXPECT_EQ(read.venue.rooms[0].strDevice, "tcp:10.0.0.21:5470");
    EXPECT_FALSE(read.venue.rooms[0].staffMaxVolumeDb);
    EXPECT_EQ(read.venue.rooms[1].strName, "Room 102");
    EXPECT_EQ(read.venue.rooms[1].staffMaxVolumeDb, -6.5);
}

TEST(VenueFile, RefusesABadFileWithTheLineAndTheReason)
{
    struct Case {
        const char* pText;
        int nLine;
        const char* pReason;
    };
    const Case cases[] = {
        {"{\"rooms\": [\n  {\"name\": \"A\", \"device\": \"virtual\"}\n  {\"name\": \"B\"}]}", 3, "not JSON: "},
        {"{\"rooms\": [\n{\"device\": \"virtual\"}]}", 2, "a room without \"name\""},
        {"{\"rooms\": [{\"name\": \"A\", \"device\": \"virtual\"},\n{\"name\": \"B\"}]}", 2,
         "the room \"B\" has no \"device\""},
        {"{\"rooms\": [{\"name\": \"Room 1\", \"device\": \"virtual\"},\n\n {\"name\": \"ROOM 1\", \"device\": "
         "\"usb\"}]}",
         3, "the room name \"ROOM 1\" is there twice"},
        {"{\"rooms\": [\n{\"name\": \"A\", \"device\": \"com3\"}]}", 2, "the room \"A\": unknown device form: "},
        {"{\"rooms\": [\n{\"name\": \"A,B\", \"device\": \"usb\"}]}", 2, "the room name \"A,B\" holds a comma"},
        {"{\"rooms\": [\n{\"name\": \"A\\tB\", \"device\": \"usb\"}]}", 2, "a room name holds a control character"},
        {"{\"rooms\": [\n{\"name\": \" \", \"device\": \"usb\"}]}", 2, "a room's \"name\" is empty"},
        {"{\"rooms\": [\n{\"name\": \" Bar\", \"device\": \"usb\"}]}", 2, "the room name \" Bar\" starts or ends with a blank"},
        {"{\"rooms\": [\n{\"name\": 7, \"device\": \"usb\"}]}", 2, "\"name\" must be a text"},
        {"{\"rooms\": [{\"name\": \"A\", \"device\": \"usb\",\n \"staff_max_volume_db\": \"loud\"}]}", 1,
         "\"staff_max_volume_db\" must be a number"},
        {"{\"venue\": 1, \"rooms\": []}", 1, "\"venue\" must be a text"},
        {"{\"rooms\": []}", 1, "\"rooms\" is empty"},
        {"[]", 1, "a venue file is a JSON object with \"rooms\""},
        {"{\"rooms\":\n 1e400}", 1, "not JSON: "},
        {"", 1, "not JSON: "},
    };
    for (const Case& c : cases) {
        const VenueFileResult read = ParseVenueText(c.pText);
        EXPECT_FALSE(read.bOk) << c.pText;
        EXPECT_EQ(read.nLine, c.nLine) << c.pText;
        EXPECT_EQ(read.strError.rfind(c.pReason, 0), 0u) << c.pText << " -> " << read.strError;
    }
}

TEST(VenueFile, ChoosesRoomsByNameIgnoringCaseInTheFilesOrder)
{
    const Venue venue = ParseVenueText(kGood).venue;
    std::vector<VenueRoom> rooms;
    std::string strError;
    ASSERT_TRUE(SelectRooms(venue, "room 102, Room 101,ROOM 102", &rooms, &strError)) << strError;
    ASSERT_EQ(rooms.size(), 2u);
    EXPECT_EQ(rooms[0].strName, "Room 101");
    EXPECT_FALSE(SelectRooms(venue, "Room 101,Room 9", &rooms, &strError));
    EXPECT_EQ(strError, "no room named \"Room 9\" in the venue");
    EXPECT_FALSE(SelectRooms(venue, "Room 101,", &rooms, &strError));
    EXPECT_EQ(rooms.size(), 2u);  // unchanged
}

TEST(VenueBackupNames, AreSafeAndNeverShared)
{
    EXPECT_EQ(BackupFileNames(Rooms({"Room 1", "../etc/x", "a/b", "a_b", "A_B", "..", " . ", "Bar\x01", "x..y."})),
              (std::vector<std::string>{"Room 1.ZR4AC", "_._etc_x.ZR4AC", "a_b.ZR4AC", "a_b-2.ZR4AC", "A_B-3.ZR4AC",
                                        "_.ZR4AC", "room.ZR4AC", "Bar_.ZR4AC", "x_.y.ZR4AC"}));
}

TEST(VenueBackupDigest, IsSha256)
{
    const std::string strAbc = "abc";
    EXPECT_EQ(Sha256Hex({reinterpret_cast<const uint8_t*>(strAbc.data()), strAbc.size()}),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}
