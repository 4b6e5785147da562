// The processor on USB: hidapi over the hidraw driver.
//
// Removal needs no device monitor: the link reads every few milliseconds and
// hidraw fails a read or write on a device that has gone, which this
// transport reports as IoResult::Gone.
//
// Threads: Enumerate and Open from the user-interface thread; WriteReport and
// ReadReport from the communication thread while transfers run; Close and
// destruction from the user-interface thread while they do not.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Transport.h"

struct hid_device_;  // hidapi's opaque handle; keeps <hidapi.h> out of this header

struct HidDeviceInfo {
    std::string strPath;     // e.g. "/dev/hidraw3"
    int nVendorId = 0;
    int nProductId = 0;
    int nRelease = 0;        // BCD, 0x0200 for the processors we serve
    std::string strSerial;   // UTF-8, empty when the device reports none
    std::string strProduct;  // UTF-8
};

// Which attached processor to open: the one at strPath, else the one with
// serial number strSerial, else (both empty) the first one found.
struct HidChoice {
    std::string strPath;
    std::string strSerial;
};

class CHidTransport : public ITransport {
public:
    // The attached processors: our vendor, product and release only.
    static std::vector<HidDeviceInfo> Enumerate();
    // Opens the chosen processor; nullptr and a message for the user in
    // *pError (may be null) when there is none or it may not be opened.
    static std::unique_ptr<CHidTransport> Open(const HidChoice& choice, std::string* pError);
    // Whether this user may open the node (the udev rule grants it): tried
    // by opening and closing it again.
    static bool MayOpen(const std::string& strPath);

    ~CHidTransport() override;
    CHidTransport(const CHidTransport&) = delete;
    CHidTransport& operator=(const CHidTransport&) = delete;

    // hidraw writes do not honour a time-out: the kernel hands the report to
    // the interrupt endpoint and bounds the transfer itself (a few seconds
    // at worst), so nTimeoutMs is accepted for the interface and not used.
    IoResult WriteReport(const uint8_t* pReport, int nTimeoutMs) override;
    IoResult ReadReport(uint8_t* pReport, int nTimeoutMs) override;
    void Close() override;
    std::string Describe() const override;

private:
    CHidTransport(hid_device_* pDevice, std::string strPath);

    hid_device_* m_pDevice;
    std::string m_strPath;
};
