// A real HTTP and WebSocket client for the service's tests, on Boost.Beast:
// one request per connection, and a WebSocket whose messages are read with
// a time limit. Plain or over TLS (no certificate check: the tests make
// their own).
#pragma once

#include <boost/asio/connect.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ssl.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/ssl.hpp>
#include <boost/beast/websocket.hpp>
#include <boost/beast/websocket/ssl.hpp>
#include <chrono>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace test_client {

namespace beast = boost::beast;
namespace http = beast::http;
namespace net = boost::asio;
using tcp = net::ip::tcp;
using Json = nlohmann::json;

struct Reply {
    int nStatus = 0;  // 0: no answer
    Json body;
    std::string strAllow;
};

inline net::ssl::context& ClientTls()
{
    static net::ssl::context context(net::ssl::context::tls_client);
    return context;
}

template <typename Stream>
Reply Exchange(Stream& stream, const std::string& strMethod, const std::string& strTarget, const std::string& strToken,
               const std::string& strBody)
{
    http::request<http::string_body> request(http::string_to_verb(strMethod), strTarget, 11);
    request.set(http::field::host, "127.0.0.1");
    if (!strToken.empty())
        request.set(http::field::authorization, "Bearer " + strToken);
    request.body() = strBody;
    request.prepare_payload();
    beast::error_code error;
    http::write(stream, request, error);
    beast::flat_buffer buffer;
    http::response<http::string_body> response;
    http::read(stream, buffer, response, error);
    if (error)
        return {};
    return {static_cast<int>(response.result_int()), Json::parse(response.body(), nullptr, false),
            std::string(response[http::field::allow])};
}

// One request on a new connection.
inline Reply Request(int nPort, const std::string& strMethod, const std::string& strTarget, const std::string& strToken,
                     const std::string& strBody = {}, bool bTls = false)
{
    net::io_context context;
    tcp::socket socket(context);
    beast::error_code error;
    socket.connect(tcp::endpoint(net::ip::make_address("127.0.0.1"), static_cast<unsigned short>(nPort)), error);
    if (error)
        return {};
    if (!bTls)
        return Exchange(socket, strMethod, strTarget, strToken, strBody);
    beast::ssl_stream<tcp::socket> stream(std::move(socket), ClientTls());
    stream.handshake(net::ssl::stream_base::client, error);
    return error ? Reply{} : Exchange(stream, strMethod, strTarget, strToken, strBody);
}

// A WebSocket to the service, read with a time limit.
template <typename Stream>
class CWsClientOf {
public:
    template <typename... Args>
    explicit CWsClientOf(Args&&... args) : m_ws(m_context, std::forward<Args>(args)...)
    {
    }

    // Opens target; protocols (when given) are offered as
    // Sec-WebSocket-Protocol. False when the upgrade was refused.
    bool Open(int nPort, const std::string& strTarget, const std::string& strProtocols = {})
    {
        beast::error_code error;
        beast::get_lowest_layer(m_ws).connect(
            tcp::endpoint(net::ip::make_address("127.0.0.1"), static_cast<unsigned short>(nPort)), error);
        if (error || !TlsHandshake())
            return false;
        m_ws.set_option(beast::websocket::stream_base::decorator([strProtocols](beast::websocket::request_type& req) {
            if (!strProtocols.empty())
                req.set(http::field::sec_websocket_protocol, strProtocols);
        }));
        m_ws.handshake(m_response, "127.0.0.1", strTarget, error);
        return !error;
    }
    const beast::websocket::response_type& Response() const { return m_response; }

    // The next message within nMs, or nothing.
    std::optional<Json> Next(int nMs = 3000)
    {
        std::optional<Json> message;
        m_buffer.clear();
        m_ws.async_read(m_buffer, [&](beast::error_code error, size_t) {
            if (!error)
                message = Json::parse(beast::buffers_to_string(m_buffer.data()), nullptr, false);
        });
        m_context.restart();
        m_context.run_for(std::chrono::milliseconds(nMs));
        if (!message) {
            beast::get_lowest_layer(m_ws).cancel();
            m_context.restart();
            m_context.run();
        }
        return message;
    }
    // The next message that satisfies bWanted within nMs.
    template <typename Predicate>
    std::optional<Json> NextWhere(Predicate bWanted, int nMs = 5000)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(nMs);
        while (std::chrono::steady_clock::now() < deadline) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            std::optional<Json> message = Next(static_cast<int>(left.count()) + 1);
            if (message && bWanted(*message))
                return message;
        }
        return std::nullopt;
    }

private:
    bool TlsHandshake()
    {
        if constexpr (std::is_same_v<Stream, beast::ssl_stream<tcp::socket>>) {
            beast::error_code error;
            m_ws.next_layer().handshake(net::ssl::stream_base::client, error);
            return !error;
        }
        return true;
    }

    net::io_context m_context;
    beast::websocket::stream<Stream> m_ws;
    beast::flat_buffer m_buffer;
    beast::websocket::response_type m_response;
};

using CWsClient = CWsClientOf<tcp::socket>;
using CWssClient = CWsClientOf<beast::ssl_stream<tcp::socket>>;

}  // namespace test_client
