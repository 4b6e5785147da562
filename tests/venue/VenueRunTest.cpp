// What a front end sees of a venue operation while it runs: every room's
// progress from 0 to 100 and its result, told from the rooms' threads.
#include <gtest/gtest.h>

#include <unistd.h>

#include <map>
#include <mutex>

#include "VenueFixture.h"
#include "VenueRun.h"

namespace fs = std::filesystem;

namespace {

class CRecorder : public IVenueObserver {
public:
    void RoomProgress(size_t nRoom, int nPercent) override
    {
        std::lock_guard lock(m_mutex);
        m_progress[nRoom].push_back(nPercent);
    }
    void RoomStatusReady(size_t nRoom, const RoomStatus& status) override
    {
        std::lock_guard lock(m_mutex);
        m_online[nRoom] = status.bOnline;
    }
    void RoomFinished(size_t nRoom, const RoomResult& result) override
    {
        std::lock_guard lock(m_mutex);
        m_ok[nRoom] = result.bOk;
    }

    std::mutex m_mutex;
    std::map<size_t, std::vector<int>> m_progress;
    std::map<size_t, bool> m_online, m_ok;
};

}  // namespace

TEST(VenueRun, TellsEveryRoomsProgressAndResultFromItsThread)
{
    const fs::path folder = fs::temp_directory_path() / ("zr470-venue-run-" + std::to_string(getpid()));
    CEmulatedVenue venue(folder, 2, 1);
    ASSERT_TRUE(venue.Started());
    const std::vector<VenueRoom> rooms = ReadVenueFile(venue.VenueFile()).venue.rooms;
    ASSERT_EQ(rooms.size(), 3u);
    const std::atomic<bool> bStop{false};

    CRecorder status;
    VenueStatus(rooms, bStop, &status);
    EXPECT_EQ(status.m_online, (std::map<size_t, bool>{{0, true}, {1, true}, {2, false}}));

    CRecorder backup;
    const std::vector<RoomResult> results = VenueBackup(rooms, folder / "backup", bStop, &backup);
    EXPECT_EQ(backup.m_ok, (std::map<size_t, bool>{{0, true}, {1, true}, {2, false}}));
    for (size_t i = 0; i < rooms.size(); ++i) {
        const std::vector<int>& steps = backup.m_progress[i];
        ASSERT_FALSE(steps.empty());
        EXPECT_EQ(steps.front(), 0);
        EXPECT_EQ(steps.back(), 100);
        EXPECT_TRUE(std::is_sorted(steps.begin(), steps.end()));
    }
    EXPECT_EQ(backup.m_progress[0].size(), 4u);  // connected and read fully, programs read
    EXPECT_EQ(results[2].strRoom, "Closed 1");
}

TEST(VenueRun, RoomsNamingOneProcessorTakeTurnsOnIt)
{
    // The built-in virtual processor is one for the whole program: rooms
    // that all name it must not talk to it at once.
    const std::vector<VenueRoom> rooms(4, VenueRoom{"Virtual", "virtual", {}});
    const std::atomic<bool> bStop{false};
    for (const RoomStatus& status : VenueStatus(rooms, bStop))
        EXPECT_TRUE(status.bOnline) << status.strReason;
}
