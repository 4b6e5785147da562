#include "TcpTransport.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <system_error>

#include "SendData.h"

namespace {

using Clock = std::chrono::steady_clock;

// Once part of a record is on the wire the rest must follow, whatever the
// caller's time-out; a peer that takes longer than this is given up.
constexpr int kFinishRecordMs = 2000;
constexpr size_t kReceiveChunk = 4096;

int MsUntil(Clock::time_point deadline)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
}

std::string ErrnoText(int nErrno)
{
    return std::system_category().message(nErrno);
}

bool IsPeerGone(int nErrno)
{
    return nErrno == EPIPE || nErrno == ECONNRESET || nErrno == ENOTCONN || nErrno == ECONNABORTED ||
           nErrno == ETIMEDOUT;
}

// One non-blocking connect attempt; the socket, or -1 with *pErrno set.
int ConnectOne(const addrinfo& ai, Clock::time_point deadline, int* pErrno)
{
    const int nSocket = socket(ai.ai_family, ai.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, ai.ai_protocol);
    if (nSocket < 0) {
        *pErrno = errno;
        return -1;
    }
    int nError = 0;
    if (connect(nSocket, ai.ai_addr, ai.ai_addrlen) != 0) {
        nError = errno;
        if (nError == EINPROGRESS) {
            pollfd pfd{nSocket, POLLOUT, 0};
            const int nReady = poll(&pfd, 1, MsUntil(deadline));
            socklen_t nLen = sizeof(nError);
            if (nReady == 0)
                nError = ETIMEDOUT;
            else if (nReady < 0)
                nError = errno;
            else if (getsockopt(nSocket, SOL_SOCKET, SO_ERROR, &nError, &nLen) != 0)
                nError = errno;
        }
    }
    if (nError != 0) {
        close(nSocket);
        *pErrno = nError;
        return -1;
    }
    return nSocket;
}

std::string HostAndPort(const std::string& strHost, int nPort)
{
    const bool bIpv6Literal = strHost.find(':') != std::string::npos;
    return (bIpv6Literal ? "[" + strHost + "]" : strHost) + ":" + std::to_string(nPort);
}

void SetError(std::string* pError, const std::string& strText)
{
    if (pError != nullptr)
        *pError = strText;
}

}  // namespace

std::unique_ptr<CTcpTransport> CTcpTransport::Connect(const std::string& strHost, int nPort,
                                                      std::string* pError)
{
    const std::string strWhere = HostAndPort(strHost, nPort);
    if (strHost.empty() || nPort < 1 || nPort > 65535) {
        SetError(pError, "invalid TCP address " + strWhere + " (host and port 1 to 65535 needed)");
        return nullptr;
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* pAddresses = nullptr;
    const int nGai = getaddrinfo(strHost.c_str(), std::to_string(nPort).c_str(), &hints, &pAddresses);
    if (nGai != 0) {
        SetError(pError, "cannot resolve " + strHost + ": " + gai_strerror(nGai));
        return nullptr;
    }
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kConnectTimeoutMs);
    int nSocket = -1;
    int nErrno = ETIMEDOUT;
    for (const addrinfo* p = pAddresses; p != nullptr && nSocket < 0; p = p->ai_next)
        nSocket = ConnectOne(*p, deadline, &nErrno);
    freeaddrinfo(pAddresses);
    if (nSocket < 0) {
        SetError(pError, "cannot connect to " + strWhere + ": " +
                             (nErrno == ETIMEDOUT ? std::string("no answer within 3 s") : ErrnoText(nErrno)));
        return nullptr;
    }
    // One small record per command: do not let Nagle hold it back.
    const int nOne = 1;
    setsockopt(nSocket, IPPROTO_TCP, TCP_NODELAY, &nOne, sizeof(nOne));
    return std::unique_ptr<CTcpTransport>(new CTcpTransport(nSocket, "TCP " + strWhere));
}

CTcpTransport::CTcpTransport(int nSocket, std::string strDescription)
    : m_nSocket(nSocket), m_strDescription(std::move(strDescription))
{
}

CTcpTransport::~CTcpTransport()
{
    Close();
}

bool CTcpTransport::WaitReady(short nEvents, int nTimeoutMs) const
{
    pollfd pfd{m_nSocket, nEvents, 0};
    int nReady;
    do
        nReady = poll(&pfd, 1, nTimeoutMs);
    while (nReady < 0 && errno == EINTR);
    // Errors and hang-ups count as ready: the next send or recv reports them.
    return nReady > 0;
}

IoResult CTcpTransport::SendAll(const uint8_t* pData, size_t nCount, int nTimeoutMs)
{
    const Clock::time_point start = Clock::now();
    size_t nSent = 0;
    while (nSent < nCount) {
        const ssize_t n = send(m_nSocket, pData + nSent, nCount - nSent, MSG_NOSIGNAL);
        if (n > 0) {
            nSent += static_cast<size_t>(n);
            continue;
        }
        const int nErrno = n < 0 ? errno : EPIPE;
        if (nErrno == EINTR)
            continue;
        if (nErrno != EAGAIN && nErrno != EWOULDBLOCK) {
            if (nSent == 0 && !IsPeerGone(nErrno))
                return IoResult::Error;
            Close();
            return IoResult::Gone;
        }
        const int nLimitMs = nSent == 0 ? nTimeoutMs : std::max(nTimeoutMs, kFinishRecordMs);
        if (!WaitReady(POLLOUT, MsUntil(start + std::chrono::milliseconds(nLimitMs)))) {
            if (nSent == 0)
                return IoResult::Timeout;
            Close();
            return IoResult::Gone;
        }
    }
    return IoResult::Ok;
}

IoResult CTcpTransport::WriteReport(const uint8_t* pReport, int nTimeoutMs)
{
    if (m_nSocket < 0)
        return IoResult::Gone;
    // The report number stays behind: the wire carries data bytes only.
    return SendAll(pReport + 1, kReportData, std::max(nTimeoutMs, 0));
}

IoResult CTcpTransport::ReceiveSome(int nTimeoutMs)
{
    if (!WaitReady(POLLIN, nTimeoutMs))
        return IoResult::Timeout;
    uint8_t buffer[kReceiveChunk];
    const ssize_t n = recv(m_nSocket, buffer, sizeof(buffer), 0);
    if (n > 0) {
        m_received.insert(m_received.end(), buffer, buffer + n);
        return IoResult::Ok;
    }
    if (n == 0)
        return IoResult::Gone;
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
        return IoResult::Ok;
    return IsPeerGone(errno) ? IoResult::Gone : IoResult::Error;
}

IoResult CTcpTransport::ReadReport(uint8_t* pReport, int nTimeoutMs)
{
    if (m_nSocket < 0)
        return IoResult::Gone;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(std::max(nTimeoutMs, 0));
    while (m_received.size() < static_cast<size_t>(kReportData)) {
        const IoResult result = ReceiveSome(MsUntil(deadline));
        if (result != IoResult::Ok)
            return result;
    }
    pReport[0] = 0;
    std::copy_n(m_received.begin(), kReportData, pReport + 1);
    m_received.erase(m_received.begin(), m_received.begin() + kReportData);
    return IoResult::Ok;
}

void CTcpTransport::Close()
{
    if (m_nSocket >= 0)
        close(m_nSocket);
    m_nSocket = -1;
    m_received.clear();
}

std::string CTcpTransport::Describe() const
{
    return m_strDescription;
}
