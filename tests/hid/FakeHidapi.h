// A stand-in for hidapi under the real USB adapter: tests plug devices with
// chosen ids and paths, back the processor by a virtual processor, deny
// access to a node, or make a device fail or vanish, and the adapter sees
// all of it through the ordinary hid_* calls.
//
// Threads: the control functions and the hid_* functions may be called from
// any thread (one lock); a read waits for the virtual processor without it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "VirtualProcessor.h"

namespace fakehid {

struct FakeDevice {
    std::string strPath;
    unsigned short nVendorId = 0;
    unsigned short nProductId = 0;
    unsigned short nRelease = 0;
    std::wstring strSerial;
    std::wstring strProduct;
    int nOpenErrno = 0;   // hid_open_path fails with this errno (EACCES: no udev rule)
    int nWriteErrno = 0;  // hid_write fails with this errno
    // Backs the reports; writes vanish and reads stay silent without one.
    // Once it has vanished the node leaves the enumeration and an open
    // handle fails every read and write with ENODEV, as hidraw does.
    std::shared_ptr<CVirtualProcessor> pProcessor;
};

struct WrittenReport {
    std::string strPath;
    std::vector<uint8_t> bytes;  // as handed to hid_write, report number first
};

// Unplugs everything and forgets the reports written so far.
void Reset();
void Plug(const FakeDevice& device);
// Handles opened and not yet closed.
int OpenHandles();
std::vector<WrittenReport> WrittenReports();

}  // namespace fakehid
