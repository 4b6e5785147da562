#include "DeviceChoice.h"

#include <charconv>

namespace {

constexpr const char* kUsbPrefix = "usb:";
constexpr const char* kSerialPrefix = "serial=";
constexpr const char* kTcpPrefix = "tcp:";

bool StartsWith(const std::string& strText, const char* pPrefix)
{
    return strText.rfind(pPrefix, 0) == 0;
}

bool ParseUsb(const std::string& strRest, DeviceChoice* pChoice, std::string* pError)
{
    if (StartsWith(strRest, kSerialPrefix)) {
        pChoice->strUsbSerial = strRest.substr(std::string(kSerialPrefix).size());
        if (pChoice->strUsbSerial.empty()) {
            *pError = "usb:serial= needs the serial number";
            return false;
        }
        return true;
    }
    if (strRest.empty()) {
        *pError = "usb: needs the device's path, as `zr470ctl devices` lists it";
        return false;
    }
    pChoice->strUsbPath = strRest;
    return true;
}

bool ParseTcp(const std::string& strRest, DeviceChoice* pChoice, std::string* pError)
{
    const auto nColon = strRest.rfind(':');
    // "tcp:[::1]" has colons but no port: the last colon must follow the bracket.
    const auto nBracket = strRest.rfind(']');
    if (nColon == std::string::npos || (nBracket != std::string::npos && nColon < nBracket)) {
        *pError = "tcp:" + strRest + " has no port: use tcp:HOST:PORT";
        return false;
    }
    std::string strHost = strRest.substr(0, nColon);
    if (strHost.size() >= 2 && strHost.front() == '[' && strHost.back() == ']')
        strHost = strHost.substr(1, strHost.size() - 2);
    const std::string strPort = strRest.substr(nColon + 1);
    int nPort = 0;
    const auto [pEnd, ec] = std::from_chars(strPort.data(), strPort.data() + strPort.size(), nPort);
    if (strPort.empty() || ec != std::errc() || pEnd != strPort.data() + strPort.size() || nPort < 1 ||
        nPort > 65535) {
        *pError = "the port of tcp:" + strRest + " must be a number from 1 to 65535";
        return false;
    }
    pChoice->strHost = strHost.empty() ? "127.0.0.1" : strHost;
    pChoice->nPort = nPort;
    return true;
}

}  // namespace

bool ParseDeviceChoice(const std::string& strDevice, DeviceChoice* pOut, std::string* pError)
{
    DeviceChoice choice;
    std::string strError;
    bool bOk = true;
    if (strDevice == "usb" || strDevice.empty()) {
        choice.kind = DeviceChoice::Kind::Usb;
    } else if (strDevice == "virtual") {
        choice.kind = DeviceChoice::Kind::Virtual;
    } else if (StartsWith(strDevice, kUsbPrefix)) {
        bOk = ParseUsb(strDevice.substr(std::string(kUsbPrefix).size()), &choice, &strError);
    } else if (StartsWith(strDevice, kTcpPrefix)) {
        choice.kind = DeviceChoice::Kind::Tcp;
        bOk = ParseTcp(strDevice.substr(std::string(kTcpPrefix).size()), &choice, &strError);
    } else {
        bOk = false;
        strError = "unknown device \"" + strDevice + "\": use " + kDeviceForms;
    }
    if (!bOk) {
        if (pError)
            *pError = strError;
        return false;
    }
    *pOut = std::move(choice);
    return true;
}
