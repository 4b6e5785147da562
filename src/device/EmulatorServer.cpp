#include "EmulatorServer.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "TcpListen.h"

namespace {
constexpr int kStopCheckMs = 50;  // how soon a set stop flag is seen
}  // namespace

CEmulatorServer::~CEmulatorServer()
{
    if (m_nListenFd >= 0)
        close(m_nListenFd);
}

bool CEmulatorServer::Listen(const std::string& strHost, int nPort, std::string* pError)
{
    int nBound = 0;
    const int nFd = ListenTcp(strHost, nPort, &nBound, pError);
    if (nFd < 0)
        return false;
    if (m_nListenFd >= 0)
        close(m_nListenFd);
    m_nListenFd = nFd;
    m_nPort = nBound;
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
        TuneRecordClient(nFd);
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
