// The service's links and connections: a processor that falls silent goes
// offline and comes back by itself; a client that trickles its headers is
// cut off while others are served; above the connection bound, 503.
#include <sys/socket.h>

#include <boost/asio/ip/tcp.hpp>
#include <chrono>
#include <thread>

#include "ServiceFixture.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

TEST_F(ServiceTest, SilentProcessorGoesOfflineAndComesBack)
{
    test_client::CWsClient ws;
    ASSERT_TRUE(ws.Open(Port(), "/api/events?rooms=Room%202&token=" + m_strInstaller));
    ASSERT_TRUE(ws.Next());
    VirtualFaults silent;
    silent.nSilentAfter = 1;
    m_pVenue->Room(2).Processor().SetFaults(silent);
    const Clock::time_point start = Clock::now();
    ASSERT_TRUE(WaitOnline("Room 2", false, 5000));
    EXPECT_LT(SecondsSince(start), 5.0);
    EXPECT_EQ(Call("PATCH", "/api/rooms/Room%202", R"({"system":{"volume":-3}})").nStatus, 409);
    m_pVenue->Room(2).Processor().SetFaults({});
    const Clock::time_point back = Clock::now();
    ASSERT_TRUE(WaitOnline("Room 2", true, 15000));
    EXPECT_LT(SecondsSince(back), 15.0);
    EXPECT_TRUE(ws.NextWhere([](const Json& m) { return m["type"] == "state" && m["online"] == true; }));
}

TEST_F(ServiceTest, TricklingHeadersAreCutOffWhileOthersAreServed)
{
    namespace net = boost::asio;
    net::io_context context;
    net::ip::tcp::socket slow(context);
    slow.connect({net::ip::make_address("127.0.0.1"), static_cast<unsigned short>(Port())});
    const std::string strRequest = "GET /api/rooms HTTP/1.1\r\nHost: x\r\nX-Slow: " + std::string(100, 'a');
    const Clock::time_point start = Clock::now();
    bool bCut = false;
    for (char c : strRequest) {
        boost::system::error_code error;
        net::write(slow, net::buffer(&c, 1), error);
        char peek = 0;
        if (error || ::recv(slow.native_handle(), &peek, 1, MSG_DONTWAIT | MSG_PEEK) == 0) {
            bCut = true;
            break;
        }
        EXPECT_EQ(Call("GET", "/api/rooms").nStatus, 200);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_TRUE(bCut);
    EXPECT_LT(SecondsSince(start), FastOptions().nHeaderDeadlineMs / 1000.0 + 1.0);
}

TEST_F(ServiceTest, ConnectionsAboveTheBoundGet503)
{
    StopService();
    ServerOptions options = FastOptions();
    options.nMaxConnections = 2;
    StartService(options);
    namespace net = boost::asio;
    net::io_context context;
    net::ip::tcp::socket first(context), second(context);
    first.connect({net::ip::make_address("127.0.0.1"), static_cast<unsigned short>(Port())});
    second.connect({net::ip::make_address("127.0.0.1"), static_cast<unsigned short>(Port())});
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(Call("GET", "/api/rooms").nStatus, 503);
    first.close();
    second.close();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(Call("GET", "/api/rooms").nStatus, 200);
}
