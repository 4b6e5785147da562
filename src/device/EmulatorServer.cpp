#include "EmulatorServer.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr int kRecordSize = 64;
constexpr int kStopCheckMs = 50;     // how soon a set stop flag is seen
constexpr int kSendTimeoutMs = 1000; // a peer that stops reading is dropped
constexpr int kBacklog = 4;

std::string HostOnly(const std::string& strHost)
{
    if (strHost.empty())
        return CEmulatorServer::kDefaultHost;
    if (strHost.size() >= 2 && strHost.front() == '[' && strHost.back() == ']')
        return strHost.substr(1, strHost.size() - 2);
    return strHost;
}

int BoundPort(int nFd)
{
    sockaddr_storage addr{};
    socklen_t nLen = sizeof addr;
    if (getsockname(nFd, reinterpret_cast<sockaddr*>(&addr), &nLen) != 0)
        return 0;
    if (addr.ss_family == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6*>(&addr)->sin6_port);
    return ntohs(reinterpret_cast<const sockaddr_in*>(&addr)->sin_port);
}

// A listening socket on the first address of the host that accepts one;
// -1 with errno set otherwise.
int OpenListener(const addrinfo* pList)
{
    int nError = EADDRNOTAVAIL;
    for (const addrinfo* p = pList; p; p = p->ai_next) {
        const int nFd = socket(p->ai_family, p->ai_socktype | SOCK_CLOEXEC, p->ai_protocol);
        if (nFd < 0) {
            nError = errno;
            continue;
        }
        const int nOn = 1;
        setsockopt(nFd, SOL_SOCKET, SO_REUSEADDR, &nOn, sizeof nOn);
        if (bind(nFd, p->ai_addr, p->ai_addrlen) == 0 && listen(nFd, kBacklog) == 0)
            return nFd;
        nError = errno;
        close(nFd);
    }
    errno = nError;
    return -1;
}

// Reports are small and the editor waits for each: no Nagle delay.
void TuneClient(int nFd)
{
    const int nOn = 1;
    setsockopt(nFd, IPPROTO_TCP, TCP_NODELAY, &nOn, sizeof nOn);
    timeval timeout{};
    timeout.tv_sec = kSendTimeoutMs / 1000;
    timeout.tv_usec = (kSendTimeoutMs % 1000) * 1000;
    setsockopt(nFd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
}

bool SendAll(int nFd, const uint8_t* pData, size_t nCount)
{
    size_t nSent = 0;
    while (nSent < nCount) {
        const ssize_t n = send(nFd, pData + nSent, nCount - nSent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        nSent += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

CEmulatorServer::~CEmulatorServer()
{
    if (m_nListenFd >= 0)
        close(m_nListenFd);
}

bool CEmulatorServer::Listen(const std::string& strHost, int nPort, std::string* pError)
{
    const std::string strName = HostOnly(strHost);
    const std::string strWhere = strName + ":" + std::to_string(nPort);
    if (nPort < 0 || nPort > 65535) {
        *pError = "Invalid port " + std::to_string(nPort) + " (0 … 65535)";
        return false;
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* pList = nullptr;
    const int nRc = getaddrinfo(strName.c_str(), std::to_string(nPort).c_str(), &hints, &pList);
    if (nRc != 0) {
        *pError = "Cannot listen on " + strWhere + ": " + gai_strerror(nRc);
        return false;
    }
    const int nFd = OpenListener(pList);
    const int nError = errno;
    freeaddrinfo(pList);
    if (nFd < 0) {
        *pError = "Cannot listen on " + strWhere + ": " + std::strerror(nError);
        return false;
    }
    if (m_nListenFd >= 0)
        close(m_nListenFd);
    m_nListenFd = nFd;
    m_nPort = BoundPort(nFd);
    return true;
}

void CEmulatorServer::Serve(const std::atomic<bool>& bStop)
{
    while (m_nListenFd >= 0 && !bStop) {
        pollfd listener{m_nListenFd, POLLIN, 0};
        if (poll(&listener, 1, kStopCheckMs) <= 0)
            continue;
        const int nFd = accept4(m_nListenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (nFd < 0)
            continue;
        TuneClient(nFd);
        // Bytes or replies left over from the previous editor belong to no one.
        m_device.ResetLink();
        ServeClient(nFd, bStop);
        close(nFd);
        m_device.ResetLink();
    }
}

void CEmulatorServer::ServeClient(int nFd, const std::atomic<bool>& bStop)
{
    uint8_t record[kRecordSize];
    int nHave = 0;
    while (!bStop) {
        // An unplugged processor ends the link as a removed USB device would.
        if (m_device.IsVanished() || !SendDueReports(nFd))
            return;
        pollfd client{nFd, POLLIN, 0};
        const int nReady = poll(&client, 1, m_device.MsUntilNextReport(kStopCheckMs));
        if (nReady < 0 && errno != EINTR)
            return;
        if (nReady <= 0)
            continue;
        const ssize_t n = recv(nFd, record + nHave, static_cast<size_t>(kRecordSize - nHave), 0);
        if (n == 0)
            return;
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            return;
        }
        nHave += static_cast<int>(n);
        if (nHave == kRecordSize) {
            m_device.Receive(record, kRecordSize);
            nHave = 0;
        }
    }
}

bool CEmulatorServer::SendDueReports(int nFd)
{
    uint8_t report[kRecordSize];
    while (m_device.TakeReport(report, CVirtualProcessor::Clock::now())) {
        if (!SendAll(nFd, report, kRecordSize))
            return false;
    }
    return true;
}

int RunEmulator(CVirtualProcessor& device, const std::string& strHost, int nPort, const std::atomic<bool>& bStop,
                std::string* pError)
{
    CEmulatorServer server(device);
    if (!server.Listen(strHost, nPort, pError))
        return 1;
    server.Serve(bStop);
    return 0;
}
