// The TCP transport against a peer on the loopback interface: 64-byte
// records both ways, records split by the network, time-outs, a peer that
// goes away and a connection nobody accepts.
#include <gtest/gtest.h>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <numeric>

#include "SendData.h"
#include "TcpTransport.h"

namespace {

constexpr int kWaitMs = 2000;

// The other end: a socket bound to 127.0.0.1 on a free port. Connecting
// completes through the listen backlog, so the test thread accepts
// afterwards and drives the peer step by step.
class CTestPeer {
public:
    explicit CTestPeer(bool bListen = true)
    {
        m_nListen = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t nLen = sizeof(addr);
        EXPECT_EQ(bind(m_nListen, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)), 0);
        EXPECT_EQ(getsockname(m_nListen, reinterpret_cast<sockaddr*>(&addr), &nLen), 0);
        m_nPort = ntohs(addr.sin_port);
        if (bListen) {
            EXPECT_EQ(listen(m_nListen, 1), 0);
        }
    }
    ~CTestPeer()
    {
        CloseConnection();
        close(m_nListen);
    }

    int Port() const { return m_nPort; }
    void Accept()
    {
        m_nConnection = accept(m_nListen, nullptr, nullptr);
        ASSERT_GE(m_nConnection, 0);
    }
    void Send(const std::vector<uint8_t>& bytes)
    {
        ASSERT_EQ(send(m_nConnection, bytes.data(), bytes.size(), MSG_NOSIGNAL),
                  static_cast<ssize_t>(bytes.size()));
    }
    // Exactly nCount bytes, or fewer if they do not come.
    std::vector<uint8_t> Receive(size_t nCount)
    {
        std::vector<uint8_t> bytes(nCount);
        size_t nGot = 0;
        pollfd pfd{m_nConnection, POLLIN, 0};
        while (nGot < nCount && poll(&pfd, 1, kWaitMs) > 0) {
            const ssize_t n = recv(m_nConnection, bytes.data() + nGot, nCount - nGot, 0);
            if (n <= 0)
                break;
            nGot += static_cast<size_t>(n);
        }
        bytes.resize(nGot);
        return bytes;
    }
    bool HasPendingBytes() const
    {
        uint8_t nByte;
        return recv(m_nConnection, &nByte, 1, MSG_DONTWAIT | MSG_PEEK) > 0;
    }
    void CloseConnection()
    {
        if (m_nConnection >= 0)
            close(m_nConnection);
        m_nConnection = -1;
    }

private:
    int m_nListen = -1;
    int m_nConnection = -1;
    int m_nPort = 0;
};

std::vector<uint8_t> Record(uint8_t nFirst)
{
    std::vector<uint8_t> record(kReportData);
    std::iota(record.begin(), record.end(), nFirst);
    return record;
}

std::vector<uint8_t> Join(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    std::vector<uint8_t> joined = a;
    joined.insert(joined.end(), b.begin(), b.end());
    return joined;
}

std::vector<uint8_t> Slice(const std::vector<uint8_t>& bytes, size_t nFrom, size_t nTo)
{
    return std::vector<uint8_t>(bytes.begin() + static_cast<long>(nFrom), bytes.begin() + static_cast<long>(nTo));
}

// The data bytes of a report, as the reading side received them.
std::vector<uint8_t> DataOf(const uint8_t* pReport)
{
    return std::vector<uint8_t>(pReport + 1, pReport + kReportSize);
}

class TcpTransportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string strError;
        m_pLink = CTcpTransport::Connect("127.0.0.1", m_peer.Port(), &strError);
        ASSERT_NE(m_pLink, nullptr) << strError;
        m_peer.Accept();
    }

    CTestPeer m_peer;
    std::unique_ptr<CTcpTransport> m_pLink;
    uint8_t m_report[kReportSize] = {};
};

TEST_F(TcpTransportTest, ReportsTravelAsExactly64DataBytesEachWay)
{
    const std::vector<uint8_t> first = Record(1);
    const std::vector<uint8_t> second = Record(101);
    for (const std::vector<uint8_t>* pRecord : {&first, &second}) {
        m_report[0] = 0x7E;  // a report number must never reach the wire
        std::copy(pRecord->begin(), pRecord->end(), m_report + 1);
        ASSERT_EQ(m_pLink->WriteReport(m_report, 5), IoResult::Ok);
    }
    EXPECT_EQ(m_peer.Receive(2 * kReportData), Join(first, second));
    EXPECT_FALSE(m_peer.HasPendingBytes());

    const std::vector<uint8_t> reply = Record(200);
    m_peer.Send(reply);
    std::memset(m_report, 0xFF, sizeof(m_report));
    ASSERT_EQ(m_pLink->ReadReport(m_report, kWaitMs), IoResult::Ok);
    EXPECT_EQ(m_report[0], 0);
    EXPECT_EQ(DataOf(m_report), reply);
    EXPECT_EQ(m_pLink->Describe(), "TCP 127.0.0.1:" + std::to_string(m_peer.Port()));
}

TEST_F(TcpTransportTest, RecordsSplitByTheNetworkAreAssembledAcrossCalls)
{
    const std::vector<uint8_t> stream = Join(Record(10), Record(80));

    m_peer.Send(Slice(stream, 0, 10));
    EXPECT_EQ(m_pLink->ReadReport(m_report, 20), IoResult::Timeout);
    m_peer.Send(Slice(stream, 10, 84));
    ASSERT_EQ(m_pLink->ReadReport(m_report, kWaitMs), IoResult::Ok);
    EXPECT_EQ(DataOf(m_report), Record(10));
    EXPECT_EQ(m_pLink->ReadReport(m_report, 20), IoResult::Timeout);
    m_peer.Send(Slice(stream, 84, stream.size()));
    ASSERT_EQ(m_pLink->ReadReport(m_report, kWaitMs), IoResult::Ok);
    EXPECT_EQ(DataOf(m_report), Record(80));
}

TEST_F(TcpTransportTest, SeveralRecordsInOneSegmentComeOutOneByOne)
{
    m_peer.Send(Join(Record(1), Record(65)));

    ASSERT_EQ(m_pLink->ReadReport(m_report, kWaitMs), IoResult::Ok);
    EXPECT_EQ(DataOf(m_report), Record(1));
    ASSERT_EQ(m_pLink->ReadReport(m_report, 0), IoResult::Ok);
    EXPECT_EQ(DataOf(m_report), Record(65));
}

TEST_F(TcpTransportTest, SilentPeerTimesOut)
{
    EXPECT_EQ(m_pLink->ReadReport(m_report, 20), IoResult::Timeout);
    EXPECT_EQ(m_pLink->ReadReport(m_report, -5), IoResult::Timeout) << "a negative time-out must not block";
}

TEST_F(TcpTransportTest, PeerCloseEndsTheLinkAfterTheLastWholeRecord)
{
    m_peer.Send(Join(Record(3), Slice(Record(0), 0, 10)));
    m_peer.CloseConnection();

    ASSERT_EQ(m_pLink->ReadReport(m_report, kWaitMs), IoResult::Ok);
    EXPECT_EQ(DataOf(m_report), Record(3));
    EXPECT_EQ(m_pLink->ReadReport(m_report, kWaitMs), IoResult::Gone);
    // The first write after the peer left may still be taken by the kernel;
    // the reset it provokes fails the next ones.
    IoResult result = IoResult::Ok;
    for (int i = 0; i < 50 && result == IoResult::Ok; ++i)
        result = m_pLink->WriteReport(m_report, 5);
    EXPECT_EQ(result, IoResult::Gone);
}

TEST_F(TcpTransportTest, ClosedLinkReportsGoneWithoutTouchingTheSocket)
{
    m_pLink->Close();
    m_pLink->Close();

    EXPECT_EQ(m_pLink->WriteReport(m_report, 5), IoResult::Gone);
    EXPECT_EQ(m_pLink->ReadReport(m_report, 20), IoResult::Gone);
    EXPECT_EQ(m_peer.Receive(1).size(), 0u) << "the peer sees the close, no bytes";
}

TEST(TcpConnectTest, RefusedConnectionNamesTheAddressAndTheReason)
{
    const CTestPeer notListening(false);
    std::string strError;

    EXPECT_EQ(CTcpTransport::Connect("127.0.0.1", notListening.Port(), &strError), nullptr);
    EXPECT_NE(strError.find("127.0.0.1:" + std::to_string(notListening.Port())), std::string::npos) << strError;
    EXPECT_NE(strError.find(std::strerror(ECONNREFUSED)), std::string::npos) << strError;
}

TEST(TcpConnectTest, AddressOutsideTheRangeIsRejected)
{
    for (int nPort : {0, -1, 65536}) {
        std::string strError;
        EXPECT_EQ(CTcpTransport::Connect("127.0.0.1", nPort, &strError), nullptr) << nPort;
        EXPECT_NE(strError.find("invalid"), std::string::npos) << strError;
    }
    std::string strError;
    EXPECT_EQ(CTcpTransport::Connect("", 4700, &strError), nullptr);
    EXPECT_FALSE(strError.empty());
}

TEST(TcpConnectTest, DeviceOptionConnectsThroughTheFactory)
{
    CTestPeer peer;
    std::string strError;

    const std::unique_ptr<ITransport> pLink = OpenTransport("tcp:127.0.0.1:" + std::to_string(peer.Port()), &strError);

    ASSERT_NE(pLink, nullptr) << strError;
    EXPECT_EQ(pLink->Describe(), "TCP 127.0.0.1:" + std::to_string(peer.Port()));
}

}  // namespace
