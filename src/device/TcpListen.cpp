#include "TcpListen.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

constexpr int kSendTimeoutMs = 1000;
constexpr int kBacklog = 4;

std::string HostOnly(const std::string& strHost)
{
    if (strHost.empty())
        return kDefaultListenHost;
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

}  // namespace

int ListenTcp(const std::string& strHost, int nPort, int* pBoundPort, std::string* pError)
{
    const std::string strName = HostOnly(strHost);
    const std::string strWhere = strName + ":" + std::to_string(nPort);
    if (nPort < 0 || nPort > 65535) {
        *pError = "Invalid port " + std::to_string(nPort) + " (0 … 65535)";
        return -1;
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* pList = nullptr;
    const int nRc = getaddrinfo(strName.c_str(), std::to_string(nPort).c_str(), &hints, &pList);
    if (nRc != 0) {
        *pError = "Cannot listen on " + strWhere + ": " + gai_strerror(nRc);
        return -1;
    }
    const int nFd = OpenListener(pList);
    const int nError = errno;
    freeaddrinfo(pList);
    if (nFd < 0) {
        *pError = "Cannot listen on " + strWhere + ": " + std::strerror(nError);
        return -1;
    }
    *pBoundPort = BoundPort(nFd);
    return nFd;
}

void TuneRecordClient(int nFd)
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
