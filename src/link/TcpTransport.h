// The processor's reports over TCP: every report travels as exactly its 64
// data bytes, in both directions, with nothing else on the wire. Serves a
// processor on another machine or `zr470ctl emulate`.
//
// Threads: Connect from the user-interface thread; WriteReport and
// ReadReport from the communication thread while transfers run; Close and
// destruction from the user-interface thread while they do not.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Transport.h"

class CTcpTransport : public ITransport {
public:
    static constexpr int kConnectTimeoutMs = 3000;

    // Resolves the host and connects within kConnectTimeoutMs; nullptr and a
    // message for the user in *pError (may be null) on failure.
    static std::unique_ptr<CTcpTransport> Connect(const std::string& strHost, int nPort,
                                                  std::string* pError);

    ~CTcpTransport() override;
    CTcpTransport(const CTcpTransport&) = delete;
    CTcpTransport& operator=(const CTcpTransport&) = delete;

    // Ok once the whole record is with the kernel; Timeout when none of it
    // could be sent in time (nothing sent, the caller may retry). A record
    // that has started is always finished, or the link is given up as Gone,
    // because half a record would shift every later report.
    IoResult WriteReport(const uint8_t* pReport, int nTimeoutMs) override;
    // Ok when a whole record has arrived; bytes of an incomplete one are
    // kept for the next call.
    IoResult ReadReport(uint8_t* pReport, int nTimeoutMs) override;
    void Close() override;
    std::string Describe() const override;

private:
    CTcpTransport(int nSocket, std::string strDescription);

    // Waits up to nTimeoutMs for the socket to become ready for `events`.
    bool WaitReady(short nEvents, int nTimeoutMs) const;
    IoResult SendAll(const uint8_t* pData, size_t nCount, int nTimeoutMs);
    IoResult ReceiveSome(int nTimeoutMs);

    int m_nSocket;
    std::string m_strDescription;
    std::vector<uint8_t> m_received;  // bytes of records not yet handed out
};
