#include "LinkTexts.h"

#include "DeviceSpec.h"
#include "HidTransport.h"
#include "LinkSession.h"
#include "TcpTransport.h"
#include "Transport.h"
#include "VirtualTransport.h"

std::unique_ptr<ITransport> OpenTransport(const std::string& strSpec, std::string* pError)
{
    std::string strIgnored;
    if (!pError)
        pError = &strIgnored;
    DeviceSpec spec;
    if (!ParseDeviceSpec(strSpec, &spec, pError))
        return nullptr;
    switch (spec.kind) {
    case DeviceSpec::Kind::Virtual:
        if (CVirtualTransport::Shared()->IsVanished()) {
            *pError = "the virtual processor is unplugged";
            return nullptr;
        }
        return std::make_unique<CVirtualTransport>(CVirtualTransport::Shared());
    case DeviceSpec::Kind::Tcp:
        return CTcpTransport::Connect(spec.strHost, spec.nPort, pError);
    case DeviceSpec::Kind::Usb:
        break;
    }
    return CHidTransport::Open(HidChoice{spec.strUsbPath, spec.strUsbSerial}, pError);
}

bool ConnectDevice(CLinkSession& session, const std::string& strDevice)
{
    std::string strError;
    std::unique_ptr<ITransport> pTransport = OpenTransport(strDevice, &strError);
    return session.Connect(std::move(pTransport), strError);
}
