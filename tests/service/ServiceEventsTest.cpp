// The live events WebSocket: the rooms' states first, then every change
// with its source; the token as ?token= or as the subprotocol pair; the
// meters with levels=1.
#include "ServiceFixture.h"

namespace {

auto ChangeOf(const std::string& strParam)
{
    return [strParam](const Json& message) { return message["type"] == "change" && message["param"] == strParam; };
}

}  // namespace

TEST_F(ServiceTest, EventsStartWithTheStatesThenTellEveryChange)
{
    test_client::CWsClient ws;
    ASSERT_TRUE(ws.Open(Port(), "/api/events?rooms=room%201,Room%202&token=" + m_strInstaller));
    for (const char* pRoom : {"Room 1", "Room 2"}) {
        const std::optional<Json> state = ws.Next();
        ASSERT_TRUE(state);
        EXPECT_EQ((*state)["type"], "state");
        EXPECT_EQ((*state)["room"], pRoom);
        EXPECT_EQ((*state)["outputs"].size(), 6u);
    }
    ASSERT_EQ(Call("PATCH", "/api/rooms/Room%202", R"({"outputs":{"5":{"level":-3.0}}})").nStatus, 200);
    const std::optional<Json> change = ws.NextWhere(ChangeOf("level"));
    ASSERT_TRUE(change);
    EXPECT_EQ(*change, (Json{{"type", "change"}, {"room", "Room 2"}, {"channel", 5}, {"param", "level"},
                             {"value", -3.0}, {"source", "api"}}));
    ASSERT_EQ(Call("POST", "/api/rooms/Room%202/recall", R"({"program":1})").nStatus, 200);
    const std::optional<Json> recalled = ws.NextWhere([](const Json& m) { return m["source"] == "recall"; });
    EXPECT_TRUE(recalled);
}

TEST_F(ServiceTest, EventsTakeTheTokenAsSubprotocolAndRefuseWithout)
{
    test_client::CWsClient ws;
    ASSERT_TRUE(ws.Open(Port(), "/api/events?rooms=Room%201", "zr470, bearer." + m_strStaff));
    EXPECT_EQ(ws.Response()[boost::beast::http::field::sec_websocket_protocol], "zr470");
    EXPECT_EQ((*ws.Next())["room"], "Room 1");
    test_client::CWsClient refused;
    EXPECT_FALSE(refused.Open(Port(), "/api/events", "zr470"));
    test_client::CWsClient otherRoom;
    EXPECT_FALSE(otherRoom.Open(Port(), "/api/events?rooms=Room%202&token=" + m_strStaff));
}

TEST_F(ServiceTest, EventsCarryTheMetersWithLevels)
{
    m_pVenue->Room(1).Processor().SetLevels({0, 0, 0, 0, 11, 12, 13, 14, 15, 16, 0, 0});
    test_client::CWsClient ws;
    ASSERT_TRUE(ws.Open(Port(), "/api/events?rooms=Room%201&levels=1&token=" + m_strInstaller));
    // The first meters may be those read before the new ones were set.
    EXPECT_TRUE(ws.NextWhere([](const Json& m) {
        return m["type"] == "levels" && m["room"] == "Room 1" && m["levels"] == Json({11, 12, 13, 14, 15, 16});
    }));
}
