// Staff against the installer: the room's volume limit holds also after a
// recall of a louder program, and staff unmute only what staff muted, also
// after the service restarted.
#include <chrono>
#include <thread>

#include "ServiceFixture.h"

namespace {

Json Volume(int nDb)
{
    return {{"system", {{"volume", nDb}}}};
}

Json Mute(int nOutput, bool bMuted)
{
    return {{"outputs", {{std::to_string(nOutput), {{"mute", bMuted}}}}}};
}

}  // namespace

TEST_F(ServiceTest, StaffVolumeStaysWithinTheLimitAlsoAfterARecall)
{
    const test_client::Reply above = Call("PATCH", "/api/rooms/Room%201", Volume(-5).dump(), m_strStaff);
    EXPECT_EQ(above.nStatus, 403);
    EXPECT_EQ(above.body["error"], "above this room's staff limit of −10 dB");
    EXPECT_EQ(Call("PATCH", "/api/rooms/Room%201", Volume(-10).dump(), m_strStaff).nStatus, 200);

    ASSERT_EQ(Call("PATCH", "/api/rooms/Room%201", Volume(5).dump()).nStatus, 200);
    ASSERT_EQ(Call("POST", "/api/rooms/Room%201/store", R"({"program":2,"name":"Loud"})").nStatus, 200);
    const test_client::Reply quiet = Call("PATCH", "/api/rooms/Room%201", Volume(-15).dump());
    ASSERT_EQ(quiet.nStatus, 200) << quiet.body;
    ASSERT_EQ(Call("POST", "/api/rooms/Room%201/recall", R"({"program":2})", m_strStaff).nStatus, 200);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    Json volume;
    while (std::chrono::steady_clock::now() < deadline && volume != kStaffLimitDb) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        volume = Call("GET", "/api/rooms/Room%201").body["system"]["volume"];
    }
    EXPECT_EQ(volume, kStaffLimitDb);
}

TEST_F(ServiceTest, StaffUnmuteOnlyWhatStaffMutedAcrossARestart)
{
    ASSERT_EQ(Call("PATCH", "/api/rooms/Room%201", Mute(2, true).dump()).nStatus, 200);
    ASSERT_EQ(Call("PATCH", "/api/rooms/Room%201", Mute(3, true).dump(), m_strStaff).nStatus, 200);
    // Muting what is muted already does not make it staff's.
    ASSERT_EQ(Call("PATCH", "/api/rooms/Room%201", Mute(2, true).dump(), m_strStaff).nStatus, 200);
    StopService();
    StartService();
    EXPECT_EQ(Call("GET", "/api/rooms/Room%201", {}, m_strStaff).body["staff_muted"], Json::array({3}));
    const test_client::Reply installers = Call("PATCH", "/api/rooms/Room%201", Mute(2, false).dump(), m_strStaff);
    EXPECT_EQ(installers.nStatus, 403);
    EXPECT_EQ(installers.body["error"], "output 2 was muted by the installer");
    EXPECT_EQ(Call("PATCH", "/api/rooms/Room%201", Mute(3, false).dump(), m_strStaff).nStatus, 200);
}
