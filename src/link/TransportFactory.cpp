#include "LinkTexts.h"

#include "DeviceChoice.h"
#include "HidTransport.h"
#include "LinkSession.h"
#include "TcpTransport.h"
#include "Transport.h"
#include "VirtualTransport.h"

std::unique_ptr<ITransport> OpenTransport(const std::string& strDevice, std::string* pError)
{
    std::string strIgnored;
    if (!pError)
        pError = &strIgnored;
    DeviceChoice choice;
    if (!ParseDeviceChoice(strDevice, &choice, pError))
        return nullptr;
    switch (choice.kind) {
    case DeviceChoice::Kind::Virtual:
        if (CVirtualTransport::Shared()->IsVanished()) {
            *pError = "the virtual processor is unplugged";
            return nullptr;
        }
        return std::make_unique<CVirtualTransport>(CVirtualTransport::Shared());
    case DeviceChoice::Kind::Tcp:
        return CTcpTransport::Connect(choice.strHost, choice.nPort, pError);
    case DeviceChoice::Kind::Usb:
        break;
    }
    return CHidTransport::Open(HidChoice{choice.strUsbPath, choice.strUsbSerial}, pError);
}

bool ConnectDevice(CLinkSession& session, const std::string& strDevice)
{
    std::string strError;
    std::unique_ptr<ITransport> pTransport = OpenTransport(strDevice, &strError);
    return session.Connect(std::move(pTransport), strError);
}
