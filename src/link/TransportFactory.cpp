#include <cstdlib>

#include "LinkTexts.h"

#include "HidTransport.h"
#include "LinkSession.h"
#include "TcpTransport.h"
#include "Transport.h"
#include "VirtualTransport.h"

namespace {

// "tcp:HOST:PORT"; the host may be empty (local machine) or an IPv6
// address in brackets.
bool ParseTcpSpec(const std::string& strSpec, std::string* pHost, int* pPort)
{
    const std::string strRest = strSpec.substr(4);
    const auto nColon = strRest.rfind(':');
    if (nColon == std::string::npos)
        return false;
    std::string strHost = strRest.substr(0, nColon);
    if (strHost.size() >= 2 && strHost.front() == '[' && strHost.back() == ']')
        strHost = strHost.substr(1, strHost.size() - 2);
    const std::string strPort = strRest.substr(nColon + 1);
    char* pEnd = nullptr;
    const long nPort = std::strtol(strPort.c_str(), &pEnd, 10);
    if (strPort.empty() || *pEnd != '\0' || nPort < 1 || nPort > 65535)
        return false;
    *pHost = strHost.empty() ? "127.0.0.1" : strHost;
    *pPort = static_cast<int>(nPort);
    return true;
}

}  // namespace

std::unique_ptr<ITransport> OpenTransport(const std::string& strSpec, std::string* pError)
{
    std::string strIgnored;
    if (!pError)
        pError = &strIgnored;
    if (strSpec == "virtual") {
        if (CVirtualTransport::Shared()->IsVanished()) {
            *pError = "the virtual processor is unplugged";
            return nullptr;
        }
        return std::make_unique<CVirtualTransport>(CVirtualTransport::Shared());
    }
    if (strSpec == "usb" || strSpec.empty())
        return CHidTransport::Open(pError);
    if (strSpec.rfind("tcp:", 0) == 0) {
        std::string strHost;
        int nPort = 0;
        if (!ParseTcpSpec(strSpec, &strHost, &nPort)) {
            *pError = "device option must be tcp:HOST:PORT";
            return nullptr;
        }
        return CTcpTransport::Connect(strHost, nPort, pError);
    }
    *pError = "unknown device '" + strSpec + "': use usb, tcp:HOST:PORT or virtual";
    return nullptr;
}

bool ConnectDevice(CLinkSession& session, const std::string& strDevice)
{
    std::string strError;
    std::unique_ptr<ITransport> pTransport = OpenTransport(strDevice, &strError);
    return session.Connect(std::move(pTransport), strError);
}
