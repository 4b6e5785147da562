#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>

#include "DeviceHarness.h"
#include "EmulatorServer.h"

namespace {

constexpr int kWaitMs = 5000;  // generous bound; a healthy server answers at once

int Connect(int nPort)
{
    const int nFd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(nPort));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(nFd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        close(nFd);
        return -1;
    }
    return nFd;
}

// The frame in one 64-byte record (zero-padded), sent in pieces of nPiece bytes.
void SendRecord(int nFd, const std::unique_ptr<CSendData>& pFrame, size_t nPiece = 64)
{
    uint8_t report[kReportSize];
    ASSERT_TRUE(pFrame->FillNextReport(report));
    for (size_t nPos = 0; nPos < 64; nPos += nPiece)
        ASSERT_EQ(send(nFd, report + 1 + nPos, std::min<size_t>(nPiece, 64 - nPos), MSG_NOSIGNAL),
                  static_cast<ssize_t>(std::min<size_t>(nPiece, 64 - nPos)));
}

// One 64-byte record, or an empty vector when none came (or the peer closed).
std::vector<uint8_t> ReceiveRecord(int nFd)
{
    std::vector<uint8_t> record(64);
    size_t nHave = 0;
    while (nHave < record.size()) {
        pollfd p{nFd, POLLIN, 0};
        if (poll(&p, 1, kWaitMs) <= 0)
            return {};
        const ssize_t n = recv(nFd, record.data() + nHave, record.size() - nHave, 0);
        if (n <= 0)
            return {};
        nHave += static_cast<size_t>(n);
    }
    return record;
}

std::string IdentText(const std::vector<uint8_t>& record)
{
    if (record.size() < 22)
        return {};
    return std::string(record.begin() + 11, record.begin() + 22);
}

}  // namespace

class EmulatorServerTest : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        std::string strError;
        ASSERT_TRUE(m_server.Listen("127.0.0.1", 0, &strError)) << strError;
        ASSERT_GT(m_server.Port(), 0);
        m_thread = std::thread([this] { m_server.Serve(m_bStop); });
    }
    void TearDown() override
    {
        m_bStop = true;
        if (m_thread.joinable())
            m_thread.join();
        ModelTest::TearDown();
    }

    CVirtualProcessor m_device;
    CEmulatorServer m_server{m_device};
    std::atomic<bool> m_bStop{false};
    std::thread m_thread;
};

TEST_F(EmulatorServerTest, IdentificationOverTcpAndReconnect)
{
    for (int nRound = 0; nRound < 2; ++nRound) {
        SCOPED_TRACE(nRound);
        const int nFd = Connect(m_server.Port());
        ASSERT_GE(nFd, 0);
        SendRecord(nFd, MakeSysReadFrame(kItemIdent, 0));
        const std::vector<uint8_t> record = ReceiveRecord(nFd);
        ASSERT_EQ(record.size(), 64u);
        EXPECT_EQ(record[0], kFrameStart);
        EXPECT_EQ(record[1], kReplyData);
        EXPECT_EQ(IdentText(record), "SVH1-WV1.00");
        close(nFd);
    }
    EXPECT_EQ(m_device.FramesReceived(), 2);
}

TEST_F(EmulatorServerTest, RecordArrivingInPiecesAndLongReplyRecords)
{
    const int nFd = Connect(m_server.Port());
    ASSERT_GE(nFd, 0);
    SendRecord(nFd, MakeSysReadFrame(kItemIdent, 0), 5);
    EXPECT_EQ(IdentText(ReceiveRecord(nFd)), "SVH1-WV1.00");

    SendRecord(nFd, MakeBlockReadFrame(0, kKindOutput, 3, true, true));
    std::vector<ReplyFrame> replies;
    CFrameAssembler assembler([&](const uint8_t* f, int n, FrameCheck check) {
        replies.push_back({check == FrameCheck::Ok, f[1], f[3], f[4], f[5], f[6], {f + 11, f + n - 2}});
    });
    for (int i = 0; i < 5; ++i) {
        const std::vector<uint8_t> record = ReceiveRecord(nFd);
        ASSERT_EQ(record.size(), 64u);
        assembler.Feed(record.data(), record.size());
    }
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_TRUE(replies[0].bOk);
    EXPECT_EQ(replies[0].payload, Slice(m_device.LiveImage(), kOffOutput + 3 * kOutBlockSize, kOutBlockSize));
    close(nFd);
}


TEST_F(EmulatorServerTest, VanishedDeviceClosesTheLink)
{
    const int nFd = Connect(m_server.Port());
    ASSERT_GE(nFd, 0);
    m_device.Vanish();
    SendRecord(nFd, MakeSysReadFrame(kItemIdent, 0));
    EXPECT_TRUE(ReceiveRecord(nFd).empty());
    close(nFd);
}

TEST(EmulatorServerListen, BadHostOrPortIsReported)
{
    CVirtualProcessor device;
    CEmulatorServer server(device);
    std::string strError;
    // An address of no interface here (numeric: no name lookup, no traffic).
    EXPECT_FALSE(server.Listen("192.0.2.1", 0, &strError));
    EXPECT_NE(strError.find("192.0.2.1"), std::string::npos);
    strError.clear();
    EXPECT_FALSE(server.Listen("127.0.0.1", 70000, &strError));
    EXPECT_FALSE(strError.empty());
    EXPECT_EQ(server.Port(), 0);

    // A port already taken.
    CEmulatorServer first(device);
    ASSERT_TRUE(first.Listen("", 0, &strError));
    strError.clear();
    EXPECT_FALSE(server.Listen("127.0.0.1", first.Port(), &strError));
    EXPECT_NE(strError.find(std::to_string(first.Port())), std::string::npos);

    std::atomic<bool> bStop{true};
    EXPECT_NE(RunEmulator(device, "127.0.0.1", first.Port(), bStop, &strError), 0);
    EXPECT_EQ(RunEmulator(device, "127.0.0.1", 0, bStop, &strError), 0);
}
