// One link to a processor: 65-byte reports (byte 0 the report number, then
// 64 data bytes), written and read with time-outs. The communication thread
// and everything above it are the same for every transport.
//
// Threads: a transport is used by the communication thread while transfers
// run, and opened and closed by the user-interface thread while they do not.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

constexpr int kUsbVendorId = 0x0483;
constexpr int kUsbProductId = 0x5750;
constexpr int kUsbRelease = 0x0200;

enum class IoResult {
    Ok,
    Timeout,  // nothing within the time-out
    Error,    // the call failed; the link may still be there
    Gone,     // the device was removed or the peer closed the link
};

class ITransport {
public:
    virtual ~ITransport() = default;
    virtual IoResult WriteReport(const uint8_t* pReport, int nTimeoutMs) = 0;
    // Fills all 65 bytes; byte 0 carries the report number (ignored).
    virtual IoResult ReadReport(uint8_t* pReport, int nTimeoutMs) = 0;
    virtual void Close() = 0;
    // What the user sees: "USB /dev/hidraw3", "TCP 127.0.0.1:4700", "virtual".
    virtual std::string Describe() const = 0;
};

// "usb", "tcp:HOST:PORT" or "virtual". On failure returns nullptr and a
// message for the user in *pError.
std::unique_ptr<ITransport> OpenTransport(const std::string& strSpec, std::string* pError);
