// A virtual processor served over TCP on 127.0.0.1 on a thread of its own:
// a room of a venue for the tests, the benchmarks and the screenshots.
//
// Threads: Start and Stop on the owner's thread; the serving on its own.
#pragma once

#include <atomic>
#include <string>
#include <thread>

#include "EmulatorServer.h"
#include "VirtualProcessor.h"

class CEmulatedRoom {
public:
    CEmulatedRoom() : m_server(m_device) {}
    ~CEmulatedRoom() { Stop(); }
    CEmulatedRoom(const CEmulatedRoom&) = delete;
    CEmulatedRoom& operator=(const CEmulatedRoom&) = delete;

    // Listens on a free port and serves; false when it could not listen.
    bool Start();
    // The room goes away: its port no longer answers.
    void Stop();
    std::string Device() const { return "tcp:127.0.0.1:" + std::to_string(m_server.Port()); }
    CVirtualProcessor& Processor() { return m_device; }

private:
    CVirtualProcessor m_device;
    CEmulatorServer m_server;
    std::atomic<bool> m_bStop{false};
    std::thread m_serving;
};
