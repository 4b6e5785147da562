#include "GadgetServer.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

namespace {

constexpr int kStopCheckMs = 50;  // how soon a set stop flag or a cable change is seen

std::string Trimmed(std::string strText)
{
    while (!strText.empty() && (strText.back() == '\n' || strText.back() == ' '))
        strText.pop_back();
    return strText;
}

}  // namespace

CGadgetServer::CGadgetServer(CVirtualProcessor& device, std::string strNode, std::string strGadgetDir)
    : m_device(device), m_strNode(std::move(strNode)), m_strUdcFile(std::move(strGadgetDir) + "/UDC")
{
}

CGadgetServer::~CGadgetServer()
{
    CloseNode();
}

bool CGadgetServer::Open(std::string* pError)
{
    m_strController = BoundController();
    if (m_strController.empty()) {
        *pError = "The gadget's " + m_strUdcFile + " names no controller: bind the gadget first";
        return false;
    }
    if (!OpenNode()) {
        *pError = "Cannot open " + m_strNode + ": " + std::strerror(errno);
        return false;
    }
    m_bBound = true;
    return true;
}

void CGadgetServer::Serve(const std::atomic<bool>& bStop)
{
    while (!bStop) {
        FollowCable();
        if (m_nFd >= 0)
            ExchangeReports();
        else
            poll(nullptr, 0, kStopCheckMs);
    }
}

void CGadgetServer::FollowCable()
{
    const bool bGone = m_device.IsVanished();
    if (bGone && m_bBound) {
        CloseNode();
        m_bBound = !SetController("");
        return;
    }
    if (bGone && !BoundController().empty()) {
        // Someone plugged the cable back in.
        m_device.Reappear();
        m_bBound = true;
    }
    if (!bGone && !m_bBound)
        m_bBound = SetController(m_strController);
    // The node may come a moment after the bind.
    if (m_bBound && m_nFd < 0)
        OpenNode();
}

void CGadgetServer::ExchangeReports()
{
    while (SendPending() && m_device.TakeReport(m_pending.data(), CVirtualProcessor::Clock::now()))
        m_bPending = true;
    pollfd node{m_nFd, static_cast<short>(POLLIN | (m_bPending ? POLLOUT : 0)), 0};
    const int nReady = poll(&node, 1, m_bPending ? kStopCheckMs : m_device.MsUntilNextReport(kStopCheckMs));
    if (nReady > 0 && (node.revents & POLLIN))
        ReceiveReport();
}

bool CGadgetServer::SendPending()
{
    if (!m_bPending)
        return true;
    const ssize_t n = write(m_nFd, m_pending.data(), m_pending.size());
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return false;
    // Written, or the host is not there to take it: on a bus it is lost too.
    m_bPending = false;
    return true;
}

void CGadgetServer::ReceiveReport()
{
    uint8_t report[64];
    const ssize_t n = read(m_nFd, report, sizeof report);
    if (n > 0)
        m_device.Receive(report, static_cast<size_t>(n));
}

bool CGadgetServer::OpenNode()
{
    m_nFd = open(m_strNode.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    return m_nFd >= 0;
}

void CGadgetServer::CloseNode()
{
    if (m_nFd >= 0)
        close(m_nFd);
    m_nFd = -1;
    m_bPending = false;
}

std::string CGadgetServer::BoundController() const
{
    std::ifstream file(m_strUdcFile);
    std::string strName;
    std::getline(file, strName);
    return Trimmed(strName);
}

// An empty name unbinds.
bool CGadgetServer::SetController(const std::string& strName)
{
    std::ofstream file(m_strUdcFile);
    file << strName << '\n';
    file.close();
    return !file.fail();
}
