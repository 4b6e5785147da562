// zr470ctl --venue against sixteen virtual processors over TCP on
// 127.0.0.1: status, backup, push and diff end to end, the same with rooms
// that fall silent or cannot be reached, and Ctrl+C.
#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <sstream>
#include <thread>

#include "CtlJson.h"
#include "CtlMain.h"
#include "CtlRun.h"
#include "DataDefine.h"
#include "FileDigest.h"
#include "GlobalData.h"
#include "PresetFile.h"
#include "TextLines.h"
#include "VenueFixture.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRooms = 16;

std::vector<Json> JsonLines(const std::string& strText)
{
    std::vector<Json> objects;
    for (const std::string& strLine : TextLines(strText))
        objects.push_back(Json::parse(strLine, nullptr, false));
    return objects;
}

std::vector<uint8_t> Outputs(const std::vector<uint8_t>& image)
{
    return {image.begin() + kOffMusic, image.end()};
}

VirtualFaults SilentAfter(int nFrames)
{
    VirtualFaults faults;
    faults.nSilentAfter = nFrames;
    return faults;
}

}  // namespace

// nUnreachable more rooms "Closed 1" … that nobody serves.
template <int nUnreachable>
class VenueTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_venue.Started()); }

    CtlRun Venue(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--venue", m_venue.VenueFile()});
        return RunArgs(args);
    }
    std::string Dir(const char* pName) const { return (m_venue.Folder() / pName).string(); }

    // The backup of every room into folder: the manifest against the files.
    Json CheckedBackup(const std::string& strFolder, int nExit)
    {
        const CtlRun run = Venue({"backup", strFolder});
        EXPECT_EQ(run.nExit, nExit) << run.strErr;
        std::ifstream in(fs::path(strFolder) / "manifest.json");
        const Json manifest = Json::parse(in, nullptr, false);
        for (const Json& room : manifest["rooms"]) {
            if (!room.value("ok", false))
                continue;
            const auto bytes = ReadFileBytes(fs::path(strFolder) / room.value("file", ""), kAllScenesFileSize);
            EXPECT_TRUE(bytes && bytes->size() == room.value("size", 0u)) << room.dump();
            EXPECT_EQ(bytes ? Sha256Hex(*bytes) : "", room.value("sha256", "")) << room.dump();
        }
        return manifest;
    }

    const fs::path m_folder = fs::temp_directory_path() / ("zr470-venue-" + std::to_string(getpid()) + "-" +
                                                           testing::UnitTest::GetInstance()->current_test_info()->name());
    CEmulatedVenue m_venue{m_folder, kRooms, nUnreachable};
};

using CtlVenueTest = VenueTest<0>;
using CtlVenueFaultTest = VenueTest<1>;

TEST_F(CtlVenueTest, StatusBackupPushAndDiffOfSixteenRooms)
{
    const CtlRun status = Venue({"--json", "status"});
    EXPECT_EQ(status.nExit, 0) << status.strErr;
    const std::vector<Json> rooms = JsonLines(status.strOut);
    ASSERT_EQ(rooms.size(), static_cast<size_t>(kRooms));
    for (int i = 0; i < kRooms; ++i) {
        EXPECT_EQ(rooms[i].value("room", ""), "Room " + std::to_string(i + 1));
        EXPECT_EQ(rooms[i].value("identification", ""), "SVH1-WV1.00");
        EXPECT_EQ(rooms[i]["programs"].size(), 10u);
    }

    // Room 1 is tuned; the others are not yet.
    EXPECT_EQ(Venue({"--room", "room 1", "set", "2", "eq5.gain", "6.5"}).nExit, 0);
    EXPECT_EQ(Venue({"--room", "Room 1", "store", "3", "Hall"}).nExit, 0);
    const CtlRun differs = Venue({"diff", "Room 1", "Room 16"});
    EXPECT_EQ(differs.nExit, 1) << differs.strErr;
    EXPECT_NE(differs.strOut.find("EQ5 Gain\tCH2\t6.5dB\t0.0dB\n"), std::string::npos) << differs.strOut;
    EXPECT_NE(differs.strOut.find("program 3 name\t\tHall\t\n"), std::string::npos) << differs.strOut;

    const Json manifest = CheckedBackup(Dir("backup"), 0);
    ASSERT_EQ(manifest["rooms"].size(), static_cast<size_t>(kRooms));
    EXPECT_EQ(manifest["rooms"][0].value("file", ""), "Room 1.ZR4AC");

    const CtlRun push = Venue({"push", Dir("backup/Room 1.ZR4AC"), "--all"});
    EXPECT_EQ(push.nExit, 0) << push.strErr;
    EXPECT_EQ(TextLines(push.strOut).size(), static_cast<size_t>(kRooms));
    EXPECT_EQ(push.strOut.find("failed"), std::string::npos) << push.strOut;
    EXPECT_EQ(Outputs(m_venue.Room(16).Processor().LiveImage()), Outputs(m_venue.Room(1).Processor().LiveImage()));

    const CtlRun same = Venue({"diff", "Room 16", Dir("backup/Room 1.ZR4AC")});
    EXPECT_EQ(same.nExit, 0) << same.strOut << same.strErr;
    EXPECT_EQ(same.strOut, "");

    // A scene file: the live settings, named after the file.
    EXPECT_EQ(Venue({"--room", "Room 1", "set", "1", "level", "-3"}).nExit, 0);
    EXPECT_EQ(Venue({"--room", "Room 1", "read-scene", Dir("Tuned.ZR4C")}).nExit, 0);
    EXPECT_EQ(Venue({"push", Dir("Tuned.ZR4C"), "--rooms", "Room 2"}).strOut, "Room 2: verified\n");
    const std::vector<uint8_t> room2 = m_venue.Room(2).Processor().LiveImage();
    EXPECT_EQ(Outputs(room2), Outputs(m_venue.Room(1).Processor().LiveImage()));
    EXPECT_EQ(BytesToName(room2.data(), kNameSize), "Tuned");
}

TEST_F(CtlVenueFaultTest, SilentAndUnreachableRoomsNeverStopTheOthers)
{
    const CtlRun status = Venue({"status"});
    EXPECT_EQ(status.nExit, 1);
    ASSERT_EQ(TextLines(status.strOut).size(), static_cast<size_t>(kRooms + 1));
    EXPECT_EQ(TextLines(status.strOut).back().rfind("Closed 1: offline: Connection failure! (cannot connect", 0), 0u);

    // Rooms 3 and 7 fall silent in the middle of reading their programs
    // (the full read takes some 35 frames, the programs 70).
    m_venue.Room(3).Processor().SetFaults(SilentAfter(60));
    m_venue.Room(7).Processor().SetFaults(SilentAfter(60));
    const Json manifest = CheckedBackup(Dir("backup"), 1);
    for (const char* pFailed : {"Room 3", "Room 7", "Closed 1"}) {
        const auto& rooms = manifest["rooms"];
        const auto it = std::find_if(rooms.begin(), rooms.end(), [&](const Json& r) { return r["name"] == pFailed; });
        ASSERT_NE(it, rooms.end()) << pFailed;
        EXPECT_FALSE(it->value("ok", true)) << pFailed;
        EXPECT_NE(it->value("reason", ""), "") << pFailed;
        EXPECT_FALSE(fs::exists(Dir("backup") + "/" + pFailed + ".ZR4AC")) << pFailed;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir("backup")), fs::directory_iterator{}), kRooms - 2 + 1);

    // Room 1's backup, pushed: room 5 falls silent half way through the
    // programs (after the reads' 105 frames and some 60 of 100 writes).
    EXPECT_EQ(Venue({"--room", "Room 4", "set", "1", "level", "-3"}).nExit, 0);
    m_venue.Room(5).Processor().SetFaults(SilentAfter(165));
    const CtlRun push = Venue({"--json", "push", Dir("backup/Room 1.ZR4AC"), "--rooms", "Room 4,Room 5,Closed 1"});
    EXPECT_EQ(push.nExit, 1);
    const std::vector<Json> results = JsonLines(push.strOut);
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[0].dump(), R"({"room":"Room 4","verified":true,"holds":"new"})");
    EXPECT_EQ(results[1].value("verified", true), false);
    EXPECT_EQ(results[1].value("holds", ""), "unknown") << results[1].dump();
    EXPECT_EQ(results[2].value("holds", ""), "old");
    EXPECT_EQ(Outputs(m_venue.Room(4).Processor().LiveImage()), Outputs(m_venue.Room(1).Processor().LiveImage()));

    EXPECT_EQ(Venue({"diff", "Room 1", "Closed 1"}).nExit, 2);
}

TEST_F(CtlVenueFaultTest, CtrlCEndsEveryRoomAndSaysWhichFinished)
{
    std::string strOpen;
    for (int n = 1; n <= kRooms; ++n) {
        m_venue.Room(n).Processor().SetFaults(SilentAfter(1));
        strOpen += (n > 1 ? ", Room " : "Room ") + std::to_string(n);
    }
    std::atomic<bool> bStop{false};
    std::ostringstream out;
    std::ostringstream err;
    // Well before the link gives up on a silent room by itself.
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        bStop = true;
    });
    const int nExit = RunCtl({"--venue", m_venue.VenueFile(), "backup", Dir("backup")}, nullptr, out, err, bStop);
    stopper.join();
    EXPECT_EQ(nExit, 1);
    EXPECT_EQ(err.str(), "zr470ctl: stopped; finished: Closed 1; not finished: " + strOpen + "\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir("backup")), fs::directory_iterator{}), 1);  // the manifest
}

TEST_F(CtlVenueTest, MistakesInTheVenueCommandLineExitWithTwoAndReachNoRoom)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"push", "a.ZR4C"}, "zr470ctl: push: name the rooms with --rooms A,B,… or push to every room with --all"},
        {{"push", "a.ZR4C", "--all", "--rooms", "Room 1"},
         "zr470ctl: push: name the rooms with --rooms A,B,… or push to every room with --all"},
        {{"--rooms", "Room 1,Room 99", "status"}, "zr470ctl: --rooms: no room named \"Room 99\" in the venue"},
        {{"--room", "Room 99", "info"}, "zr470ctl: --room: no room named \"Room 99\" in the venue"},
        {{"--room", "Room 1", "--rooms", "Room 2", "info"},
         "zr470ctl: --room and --rooms: name one room, or the rooms of a venue command"},
        {{"info"}, "zr470ctl: info is no venue command (rooms, status, backup, push, diff); for one room add --room NAME"},
        {{"diff", "Room 1"}, "zr470ctl: diff takes 2 arguments, not 1"},
    };
    for (const auto& [args, strErr] : cases) {
        const CtlRun run = Venue(args);
        EXPECT_EQ(run.nExit, 2) << strErr;
        EXPECT_EQ(run.FirstErr(), strErr);
    }
    for (int n = 1; n <= kRooms; ++n)
        EXPECT_EQ(m_venue.Room(n).Processor().FramesReceived(), 0);
}
