// The network side of the venue service: HTTP/1.1 and WebSocket on
// Boost.Beast, plain or over TLS, on a few threads of its own.
//
// Limits against misuse: at most nMaxConnections at once (above that a
// new one gets 503 and is closed), a request's headers and body must arrive
// within nHeaderDeadlineMs of its first byte being awaited (a client that
// trickles them is cut off), and a body over 64 KB gets 413.
//
// Threads: Start and Stop from the owner's thread; the sessions run on the
// server's threads.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

class CService;

struct ServerOptions {
    std::string strAddress = "127.0.0.1";
    int nPort = 8470;  // 0 picks a free port
    int nMaxConnections = 256;
    int nHeaderDeadlineMs = 10000;
    int nThreads = 2;
    std::string strCertFile;  // both given: HTTPS and WSS
    std::string strKeyFile;
    std::string strWebRoot;  // the staff page's files, served outside /api; empty: none
};

constexpr std::size_t kMaxBodyBytes = 64 * 1024;

class CHttpServer {
public:
    CHttpServer(CService& service, ServerOptions options);
    ~CHttpServer();
    CHttpServer(const CHttpServer&) = delete;
    CHttpServer& operator=(const CHttpServer&) = delete;

    // Listens and starts serving; false with *pError.
    bool Start(std::string* pError);
    int Port() const;
    void Stop();

private:
    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
};
