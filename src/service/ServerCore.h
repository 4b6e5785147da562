// What every connection of the server shares: the service, the limits and
// the count of open connections.
//
// Threads: any.
#pragma once

#include <atomic>
#include <boost/asio/ssl/context.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http/message.hpp>
#include <boost/beast/http/string_body.hpp>
#include <optional>

#include "HttpServer.h"

class CService;

struct ServerCore {
    CService& service;
    ServerOptions options;
    std::optional<boost::asio::ssl::context> tls;
    std::atomic<int> nConnections{0};
};

// Holds one place in the connection count while it lives.
class CConnectionSlot {
public:
    explicit CConnectionSlot(ServerCore& core) : m_core(core), m_bAdmitted(++core.nConnections <= core.options.nMaxConnections) {}
    ~CConnectionSlot() { --m_core.nConnections; }
    CConnectionSlot(const CConnectionSlot&) = delete;
    CConnectionSlot& operator=(const CConnectionSlot&) = delete;
    bool Admitted() const { return m_bAdmitted; }

private:
    ServerCore& m_core;
    bool m_bAdmitted;
};

using HttpRequest = boost::beast::http::request<boost::beast::http::string_body>;
