// The service's HTTP API against virtual processors over TCP: every
// endpoint and every status code, the whole state of a room, a PATCH that
// is checked whole, and the answers that reach the processor.
#include <chrono>
#include <thread>

#include "ServiceFixture.h"

namespace {

const std::string kBigBody(70 * 1024, ' ');

// Polls until bDone holds (at most nMs).
template <typename Predicate>
bool Eventually(Predicate bDone, int nMs = 5000)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(nMs);
    while (!bDone()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

}  // namespace

TEST_F(ServiceTest, EveryEndpointAndStatusCode)
{
    enum Who { kInstaller, kStaff, kNobody, kStranger };
    struct Case {
        const char* pMethod;
        const char* pTarget;
        std::string strBody;
        Who who;
        int nStatus;
    };
    const Case cases[] = {
        {"GET", "/api/rooms", "", kInstaller, 200},
        {"GET", "/api/rooms/room%201", "", kInstaller, 200},
        {"PATCH", "/api/rooms/Room%202", R"({"outputs":{"1":{"level":-3}}})", kInstaller, 200},
        {"POST", "/api/rooms/Room%202/store", R"({"program":3,"name":"Night"})", kInstaller, 200},
        {"POST", "/api/rooms/Room%202/recall", R"({"program":3})", kInstaller, 200},
        {"GET", "/api/rooms/Room%202/levels", "", kInstaller, 200},
        {"GET", "/api/openapi.json", "", kInstaller, 200},
        {"PATCH", "/api/rooms/Room%201", "{not json", kInstaller, 400},
        {"PATCH", "/api/rooms/Room%201", R"({"outputs":{"1":{"loudness":1}}})", kInstaller, 400},
        {"PATCH", "/api/rooms/Room%201", R"({"outputs":{"1":{"level":99}}})", kInstaller, 400},
        {"POST", "/api/rooms/Room%201/recall", R"({"program":11})", kInstaller, 400},
        {"GET", "/api/rooms", "", kNobody, 401},
        {"GET", "/api/rooms", "", kStranger, 401},
        {"GET", "/api/rooms/Room%202", "", kStaff, 403},
        {"POST", "/api/rooms/Room%201/store", R"({"program":3,"name":"X"})", kStaff, 403},
        {"PATCH", "/api/rooms/Room%201", R"({"outputs":{"1":{"level":-3}}})", kStaff, 403},
        {"GET", "/api/rooms/Room%209", "", kInstaller, 404},
        {"GET", "/api/lights", "", kInstaller, 404},
        {"DELETE", "/api/rooms/Room%201", "", kInstaller, 405},
        {"PATCH", "/api/rooms/Closed%201", R"({"system":{"volume":-3}})", kInstaller, 409},
        {"PATCH", "/api/rooms/Room%201", kBigBody, kInstaller, 413},
    };
    for (const Case& c : cases) {
        const std::string strToken[] = {m_strInstaller, m_strStaff, "", "not-a-token"};
        const test_client::Reply reply =
            test_client::Request(Port(), c.pMethod, c.pTarget, strToken[c.who], c.strBody);
        EXPECT_EQ(reply.nStatus, c.nStatus) << c.pMethod << " " << c.pTarget << " " << c.strBody.substr(0, 40);
        if (reply.nStatus >= 400) {
            EXPECT_TRUE(reply.body.contains("error") && reply.body.contains("field")) << reply.body;
        }
        if (c.nStatus == 405) {
            EXPECT_EQ(reply.strAllow, "GET, PATCH");
        }
    }
}

TEST_F(ServiceTest, RoomStateIsWhole)
{
    const test_client::Reply rooms = Call("GET", "/api/rooms");
    ASSERT_EQ(rooms.body["rooms"].size(), 3u);
    EXPECT_EQ(rooms.body["rooms"][0]["identification"], "SVH1-WV1.00");
    EXPECT_EQ(rooms.body["rooms"][2]["online"], false);
    const test_client::Reply room = Call("GET", "/api/rooms/ROOM%201");
    EXPECT_EQ(room.body["name"], "Room 1");
    EXPECT_EQ(room.body["online"], true);
    EXPECT_EQ(room.body["staff_max_volume_db"], kStaffLimitDb);
    EXPECT_EQ(room.body["programs"].size(), 10u);
    EXPECT_EQ(room.body["system"].size(), 4u);
    ASSERT_EQ(room.body["outputs"].size(), 6u);
    EXPECT_EQ(room.body["outputs"]["6"].size(), 5u + 31 * 4 + 6 + 3 + 4);
    EXPECT_TRUE(room.body["outputs"]["6"].contains("eq31.bypass"));
}

TEST_F(ServiceTest, PatchWithOneBadFieldChangesNothing)
{
    const Json before = Call("GET", "/api/rooms/Room%201").body;
    const std::vector<uint8_t> image = m_pVenue->Room(1).Processor().LiveImage();
    const test_client::Reply reply =
        Call("PATCH", "/api/rooms/Room%201",
             R"({"system":{"volume":-20},"outputs":{"2":{"mute":true,"eq3.gain":-4.5},"3":{"eq3.gain":40}}})");
    EXPECT_EQ(reply.nStatus, 400);
    EXPECT_EQ(reply.body["field"], "outputs.3.eq3.gain");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(Call("GET", "/api/rooms/Room%201").body, before);
    EXPECT_EQ(m_pVenue->Room(1).Processor().LiveImage(), image);
}

TEST_F(ServiceTest, PatchAnswersTheNewStateAndReachesTheProcessor)
{
    const std::vector<uint8_t> image = m_pVenue->Room(1).Processor().LiveImage();
    const test_client::Reply reply =
        Call("PATCH", "/api/rooms/Room%201", R"({"system":{"volume":-12},"outputs":{"2":{"mute":true,"eq3.gain":-4.5}}})");
    ASSERT_EQ(reply.nStatus, 200) << reply.body;
    EXPECT_EQ(reply.body["system"]["volume"], -12);
    EXPECT_EQ(reply.body["outputs"]["2"]["mute"], true);
    EXPECT_EQ(reply.body["outputs"]["2"]["eq3.gain"], -4.5);
    EXPECT_TRUE(Eventually([&] { return m_pVenue->Room(1).Processor().LiveImage() != image; }));
}

TEST_F(ServiceTest, StoreAndRecallPrograms)
{
    ASSERT_EQ(Call("PATCH", "/api/rooms/Room%201", R"({"outputs":{"4":{"level":-7}}})").nStatus, 200);
    const test_client::Reply stored = Call("POST", "/api/rooms/Room%201/store", R"({"program":4,"name":"Late"})");
    ASSERT_EQ(stored.nStatus, 200) << stored.body;
    EXPECT_EQ(stored.body["programs"][3], "Late");
    ASSERT_EQ(Call("PATCH", "/api/rooms/Room%201", R"({"outputs":{"4":{"level":-30}}})").nStatus, 200);
    ASSERT_EQ(Call("POST", "/api/rooms/Room%201/recall", R"({"program":4})").nStatus, 200);
    EXPECT_TRUE(Eventually([&] { return Call("GET", "/api/rooms/Room%201").body["outputs"]["4"]["level"] == -7; }));
}
