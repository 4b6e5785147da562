#include "HidTransport.h"

#include <hidapi/hidapi.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "SendData.h"

namespace {

constexpr const char* kMsgNoDevice =
    "no ZR-470 processor on USB (vendor 0483, product 5750, release 0200)";
constexpr const char* kMsgNeedUdevRule =
    "found the processor but may not open it: install the udev rules, or join the group plugdev";

// hidapi hands out wchar_t strings (UTF-32 on Linux); the rest of the
// program speaks UTF-8.
std::string ToUtf8(const wchar_t* pText)
{
    std::string strOut;
    for (; pText != nullptr && *pText != 0; ++pText) {
        const auto c = static_cast<uint32_t>(*pText);
        if (c < 0x80) {
            strOut += static_cast<char>(c);
        } else if (c < 0x800) {
            strOut += static_cast<char>(0xC0 | (c >> 6));
            strOut += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            strOut += static_cast<char>(0xE0 | (c >> 12));
            strOut += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            strOut += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x110000) {
            strOut += static_cast<char>(0xF0 | (c >> 18));
            strOut += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            strOut += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            strOut += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return strOut;
}

bool IsOurProcessor(const hid_device_info& info)
{
    return info.vendor_id == kUsbVendorId && info.product_id == kUsbProductId &&
           info.release_number == kUsbRelease;
}

HidDeviceInfo ToDeviceInfo(const hid_device_info& info)
{
    HidDeviceInfo out;
    out.strPath = info.path != nullptr ? info.path : "";
    out.nVendorId = info.vendor_id;
    out.nProductId = info.product_id;
    out.nRelease = info.release_number;
    out.strSerial = ToUtf8(info.serial_number);
    out.strProduct = ToUtf8(info.product_string);
    return out;
}

// A node without a rule for us is root-only: open fails with EACCES, and
// access() says the same for the node itself.
bool AccessDenied(const std::string& strPath, int nOpenErrno)
{
    if (nOpenErrno == EACCES || nOpenErrno == EPERM)
        return true;
    return access(strPath.c_str(), R_OK | W_OK) != 0 && errno == EACCES;
}

// What hidraw and the USB core return once the device has been unplugged.
bool IsRemovalErrno(int nErrno)
{
    return nErrno == ENODEV || nErrno == EIO || nErrno == ENXIO || nErrno == ESHUTDOWN;
}

void SetError(std::string* pError, const std::string& strText)
{
    if (pError != nullptr)
        *pError = strText;
}

}  // namespace

std::vector<HidDeviceInfo> CHidTransport::Enumerate()
{
    std::vector<HidDeviceInfo> devices;
    if (hid_init() != 0)
        return devices;
    hid_device_info* pList = hid_enumerate(kUsbVendorId, kUsbProductId);
    for (const hid_device_info* p = pList; p != nullptr; p = p->next) {
        // Another release is another firmware family with another protocol.
        if (IsOurProcessor(*p) && p->path != nullptr)
            devices.push_back(ToDeviceInfo(*p));
    }
    hid_free_enumeration(pList);
    return devices;
}

std::unique_ptr<CHidTransport> CHidTransport::Open(const HidChoice& choice, std::string* pError)
{
    const std::vector<HidDeviceInfo> devices = Enumerate();
    const auto chosen = std::find_if(devices.begin(), devices.end(), [&choice](const HidDeviceInfo& device) {
        if (!choice.strPath.empty())
            return device.strPath == choice.strPath;
        return choice.strSerial.empty() || device.strSerial == choice.strSerial;
    });
    if (chosen == devices.end()) {
        if (!choice.strPath.empty())
            SetError(pError, "no ZR-470 processor at " + choice.strPath + " (zr470ctl devices lists them)");
        else if (!choice.strSerial.empty())
            SetError(pError, "no ZR-470 processor with serial number " + choice.strSerial + " on USB");
        else
            SetError(pError, kMsgNoDevice);
        return nullptr;
    }
    const std::string& strPath = chosen->strPath;
    errno = 0;
    hid_device* pDevice = hid_open_path(strPath.c_str());
    const int nOpenErrno = errno;
    if (pDevice == nullptr) {
        if (AccessDenied(strPath, nOpenErrno))
            SetError(pError, kMsgNeedUdevRule);
        else
            SetError(pError, "found the processor at " + strPath + " but could not open it: " +
                                 ToUtf8(hid_error(nullptr)));
        return nullptr;
    }
    return std::unique_ptr<CHidTransport>(new CHidTransport(pDevice, strPath));
}

bool CHidTransport::MayOpen(const std::string& strPath)
{
    hid_device* pDevice = hid_open_path(strPath.c_str());
    if (pDevice == nullptr)
        return false;
    hid_close(pDevice);
    return true;
}

CHidTransport::CHidTransport(hid_device_* pDevice, std::string strPath)
    : m_pDevice(pDevice), m_strPath(std::move(strPath))
{
}

CHidTransport::~CHidTransport()
{
    Close();
}

IoResult CHidTransport::WriteReport(const uint8_t* pReport, int /*nTimeoutMs*/)
{
    if (m_pDevice == nullptr)
        return IoResult::Gone;
    errno = 0;
    const int nWritten = hid_write(m_pDevice, pReport, kReportSize);
    if (nWritten == kReportSize)
        return IoResult::Ok;
    if (nWritten < 0 && IsRemovalErrno(errno))
        return IoResult::Gone;
    return IoResult::Error;
}

IoResult CHidTransport::ReadReport(uint8_t* pReport, int nTimeoutMs)
{
    if (m_pDevice == nullptr)
        return IoResult::Gone;
    // Our reports are unnumbered: hidapi returns the 64 data bytes alone.
    std::memset(pReport, 0, kReportSize);
    const int nRead = hid_read_timeout(m_pDevice, pReport + 1, kReportData, std::max(nTimeoutMs, 0));
    if (nRead == 0)
        return IoResult::Timeout;
    // hidraw fails a read only when the device has gone (poll reports a
    // hang-up or the read itself returns ENODEV).
    if (nRead < 0)
        return IoResult::Gone;
    return IoResult::Ok;
}

void CHidTransport::Close()
{
    if (m_pDevice != nullptr)
        hid_close(m_pDevice);
    m_pDevice = nullptr;
}

std::string CHidTransport::Describe() const
{
    return "USB " + m_strPath;
}
