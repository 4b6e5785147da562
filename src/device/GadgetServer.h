// Serves a virtual processor on a USB HID gadget, for `zr470ctl emulate
// --hidg` and the usb-vm test stage: the kernel enumerates the gadget as a
// real USB HID device, so the editor reaches it through usbhid, hidraw and
// hidapi exactly as it reaches a processor on a cable.
//
// The gadget's node (/dev/hidgN) carries the unnumbered 64-byte reports:
// a read returns one output report of the host, a write sends one input
// report. The gadget's configfs folder plugs it in and out (its UDC file):
// while the processor is gone (the restart after firmware step 54, a pulled
// cable) the gadget is unbound from its controller, so the host sees the
// device leave; once the processor is back it is bound again and the host
// sees it arrive. A pulled cable stays pulled until someone binds the gadget
// again (plugs the cable back in); the processor then returns.
//
// Threads: Open and Serve belong to the thread that runs the server; any
// thread may set the stop flag, which Serve notices within about 50 ms.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

#include "VirtualProcessor.h"

class CGadgetServer {
public:
    CGadgetServer(CVirtualProcessor& device, std::string strNode, std::string strGadgetDir);
    ~CGadgetServer();
    CGadgetServer(const CGadgetServer&) = delete;
    CGadgetServer& operator=(const CGadgetServer&) = delete;

    // Opens the node and notes the controller the gadget is bound to, to
    // bind it there again. False with a message for the user in *pError.
    bool Open(std::string* pError);
    void Serve(const std::atomic<bool>& bStop);

private:
    // Unbinds, binds or opens the node so the host sees what the processor does.
    void FollowCable();
    void ExchangeReports();
    // Writes the report taken from the processor; false while the host has
    // not fetched the one before.
    bool SendPending();
    void ReceiveReport();
    bool OpenNode();
    void CloseNode();
    std::string BoundController() const;
    bool SetController(const std::string& strName);

    CVirtualProcessor& m_device;
    std::string m_strNode;
    std::string m_strUdcFile;
    std::string m_strController;  // where the gadget was bound when served
    int m_nFd = -1;
    bool m_bBound = true;
    std::array<uint8_t, 64> m_pending{};
    bool m_bPending = false;
};
