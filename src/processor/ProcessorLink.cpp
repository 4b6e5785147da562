// The processor's calls that open a device by its name: they need the
// transports, USB among them, so they are built with the USB library.
#include "Processor.h"

#include "Transport.h"

bool CProcessor::Connect(const std::string& strDevice)
{
    return ConnectDevice(m_session, strDevice);
}

bool CProcessor::StartFirmwareUpdate(CFirmwareUpdate update, const std::string& strDevice)
{
    // The processor restarts into its loader and must be found again by the
    // same name, maybe at another address.
    return m_session.StartFirmwareUpdate(std::move(update), [strDevice](std::string* pError) {
        return OpenTransport(strDevice, pError);
    });
}
