// Serves a virtual processor over TCP, for `zr470ctl emulate` and tests.
//
// Wire format: every report travels as exactly its 64 data bytes (the
// report number is dropped), in both directions; nothing else is sent.
// One editor is served at a time; when it closes the link the server waits
// for the next one. Replies leave when they are due, so a delay fault on
// the device delays them on the wire too.
//
// Threads: Listen, Port and Serve belong to the thread that runs the
// server; any thread may set the stop flag, which Serve notices within
// about 50 ms.
#pragma once

#include <atomic>
#include <string>

#include "VirtualProcessor.h"

class CEmulatorServer {
public:
    static constexpr const char* kDefaultHost = "127.0.0.1";

    explicit CEmulatorServer(CVirtualProcessor& device) : m_device(device) {}
    ~CEmulatorServer();
    CEmulatorServer(const CEmulatorServer&) = delete;
    CEmulatorServer& operator=(const CEmulatorServer&) = delete;

    // HOST: a name or numeric address (empty: 127.0.0.1); PORT 0 picks a
    // free port. False with a message for the user in *pError.
    bool Listen(const std::string& strHost, int nPort, std::string* pError);
    // The bound port (the one picked for port 0); 0 before Listen succeeded.
    int Port() const { return m_nPort; }
    void Serve(const std::atomic<bool>& bStop);

private:
    void ServeClient(int nFd, const std::atomic<bool>& bStop);
    // Sends every report that is due; false when the peer is gone.
    bool SendDueReports(int nFd);

    CVirtualProcessor& m_device;
    int m_nListenFd = -1;
    int m_nPort = 0;
};

// Listen and serve until bStop is set. 0 when it stopped as asked,
// 1 with a message in *pError when it could not listen.
int RunEmulator(CVirtualProcessor& device, const std::string& strHost, int nPort, const std::atomic<bool>& bStop,
                std::string* pError);
