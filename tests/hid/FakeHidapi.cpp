// The hid_* functions the USB adapter calls, with the C linkage and the
// signatures of <hidapi/hidapi.h>, over the devices the tests plug in.
#include "FakeHidapi.h"

#include <hidapi/hidapi.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <mutex>
#include <thread>

namespace {

using Clock = CVirtualProcessor::Clock;

using DevicePtr = std::shared_ptr<const fakehid::FakeDevice>;

bool IsGone(const fakehid::FakeDevice& device)
{
    return device.pProcessor != nullptr && device.pProcessor->IsVanished();
}

struct State {
    std::mutex mutex;
    std::vector<DevicePtr> devices;
    std::vector<fakehid::WrittenReport> written;
    int nOpenHandles = 0;
    std::wstring strError;  // what hid_error(nullptr) reports
};

State& TheState()
{
    static State state;
    return state;
}

std::wstring ErrnoText(int nErrno)
{
    const char* pText = std::strerror(nErrno);
    return std::wstring(pText, pText + std::strlen(pText));
}

DevicePtr FindPresent(State& state, const char* pPath)
{
    for (const DevicePtr& pDevice : state.devices)
        if (!IsGone(*pDevice) && pDevice->strPath == pPath)
            return pDevice;
    return nullptr;
}

hid_device_info* NewInfo(const fakehid::FakeDevice& device)
{
    auto* pInfo = static_cast<hid_device_info*>(std::calloc(1, sizeof(hid_device_info)));
    pInfo->path = strdup(device.strPath.c_str());
    pInfo->vendor_id = device.nVendorId;
    pInfo->product_id = device.nProductId;
    pInfo->release_number = device.nRelease;
    pInfo->serial_number = wcsdup(device.strSerial.c_str());
    pInfo->product_string = wcsdup(device.strProduct.c_str());
    pInfo->manufacturer_string = wcsdup(L"STMicroelectronics");
    pInfo->bus_type = HID_API_BUS_USB;
    return pInfo;
}

}  // namespace

struct hid_device_ {
    DevicePtr pFake;
    std::wstring strError;
};

namespace {

// The device's failure as hidraw shows it: errno set and -1, or 0 for none.
int DeviceFailure(hid_device* pDevice)
{
    std::lock_guard<std::mutex> lock(TheState().mutex);
    if (!IsGone(*pDevice->pFake))
        return 0;
    errno = ENODEV;
    pDevice->strError = ErrnoText(ENODEV);
    return -1;
}

}  // namespace

namespace fakehid {

void Reset()
{
    State& state = TheState();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.devices.clear();
    state.written.clear();
    state.strError.clear();
}

void Plug(const FakeDevice& device)
{
    State& state = TheState();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.devices.push_back(std::make_shared<const fakehid::FakeDevice>(device));
}

int OpenHandles()
{
    State& state = TheState();
    std::lock_guard<std::mutex> lock(state.mutex);
    return state.nOpenHandles;
}

std::vector<WrittenReport> WrittenReports()
{
    State& state = TheState();
    std::lock_guard<std::mutex> lock(state.mutex);
    return state.written;
}

}  // namespace fakehid

extern "C" {

int hid_init(void)
{
    return 0;
}

int hid_exit(void)
{
    return 0;
}

hid_device_info* hid_enumerate(unsigned short nVendorId, unsigned short nProductId)
{
    State& state = TheState();
    std::lock_guard<std::mutex> lock(state.mutex);
    hid_device_info* pFirst = nullptr;
    hid_device_info** ppNext = &pFirst;
    // hidapi's rule: 0 matches any id.
    for (const DevicePtr& pDevice : state.devices) {
        const fakehid::FakeDevice& device = *pDevice;
        if (IsGone(device) || (nVendorId != 0 && device.nVendorId != nVendorId) ||
            (nProductId != 0 && device.nProductId != nProductId))
            continue;
        *ppNext = NewInfo(device);
        ppNext = &(*ppNext)->next;
    }
    return pFirst;
}

void hid_free_enumeration(hid_device_info* pDevices)
{
    while (pDevices != nullptr) {
        hid_device_info* pNext = pDevices->next;
        std::free(pDevices->path);
        std::free(pDevices->serial_number);
        std::free(pDevices->product_string);
        std::free(pDevices->manufacturer_string);
        std::free(pDevices);
        pDevices = pNext;
    }
}

hid_device* hid_open_path(const char* pPath)
{
    State& state = TheState();
    std::lock_guard<std::mutex> lock(state.mutex);
    DevicePtr pFake = pPath != nullptr ? FindPresent(state, pPath) : nullptr;
    const int nErrno = pFake == nullptr ? ENOENT : pFake->nOpenErrno;
    if (nErrno != 0) {
        state.strError = ErrnoText(nErrno);
        errno = nErrno;
        return nullptr;
    }
    ++state.nOpenHandles;
    return new hid_device_{pFake, {}};
}

int hid_write(hid_device* pDevice, const unsigned char* pData, size_t nLength)
{
    if (pDevice == nullptr || pData == nullptr || nLength == 0) {
        errno = EINVAL;
        return -1;
    }
    if (DeviceFailure(pDevice) != 0)
        return -1;
    std::shared_ptr<CVirtualProcessor> pProcessor;
    {
        State& state = TheState();
        std::lock_guard<std::mutex> lock(state.mutex);
        const fakehid::FakeDevice& device = *pDevice->pFake;
        if (device.nWriteErrno != 0) {
            pDevice->strError = ErrnoText(device.nWriteErrno);
            errno = device.nWriteErrno;
            return -1;
        }
        state.written.push_back({device.strPath, std::vector<uint8_t>(pData, pData + nLength)});
        pProcessor = device.pProcessor;
    }
    // hidraw drops the report number of an unnumbered report.
    if (pProcessor != nullptr)
        pProcessor->Receive(pData + 1, nLength - 1);
    return static_cast<int>(nLength);
}

int hid_read_timeout(hid_device* pDevice, unsigned char* pData, size_t nLength, int nMilliseconds)
{
    if (pDevice == nullptr || pData == nullptr || nMilliseconds < 0) {
        errno = EINVAL;
        return -1;
    }
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(nMilliseconds);
    const std::shared_ptr<CVirtualProcessor> pProcessor = pDevice->pFake->pProcessor;
    for (;;) {
        if (DeviceFailure(pDevice) != 0)
            return -1;
        uint8_t report[64];
        if (pProcessor != nullptr && pProcessor->TakeReport(report, Clock::now())) {
            const size_t nCount = std::min(nLength, sizeof(report));
            std::memcpy(pData, report, nCount);
            return static_cast<int>(nCount);
        }
        if (Clock::now() >= deadline)
            return 0;
        const Clock::time_point due = pProcessor != nullptr ? pProcessor->NextReportDue() : deadline;
        std::this_thread::sleep_until(std::min(due, deadline));
    }
}

void hid_close(hid_device* pDevice)
{
    if (pDevice == nullptr)
        return;
    {
        State& state = TheState();
        std::lock_guard<std::mutex> lock(state.mutex);
        --state.nOpenHandles;
    }
    delete pDevice;
}

const wchar_t* hid_error(hid_device* pDevice)
{
    State& state = TheState();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (pDevice != nullptr)
        return pDevice->strError.c_str();
    return state.strError.empty() ? L"Success" : state.strError.c_str();
}

}  // extern "C"
