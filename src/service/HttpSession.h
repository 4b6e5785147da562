// One HTTP connection: reads a request within the deadline and the body
// limit, answers it through the API (or hands a WebSocket upgrade of
// /api/events to an events session), and reads the next while the client
// keeps the connection alive.
//
// Threads: the connection's strand; a room's answer is posted back to it.
#pragma once

#include <boost/asio/dispatch.hpp>
#include <boost/asio/post.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket/rfc6455.hpp>
#include <memory>
#include <optional>

#include "ApiRoutes.h"
#include "EventsSession.h"
#include "ServerCore.h"
#include "StaticFiles.h"
#include "StreamOps.h"

template <typename Stream>
class CHttpSession : public std::enable_shared_from_this<CHttpSession<Stream>> {
public:
    CHttpSession(ServerCore& core, Stream stream)
        : m_core(core), m_stream(std::move(stream)), m_pSlot(std::make_shared<CConnectionSlot>(core))
    {
    }

    void Start()
    {
        Deadline();
        Handshake(m_stream, [self = this->shared_from_this()](boost::beast::error_code error) {
            if (error)
                return;
            if (!self->m_pSlot->Admitted())
                return self->Answer({503, {{"error", "too many connections: try again later"}, {"field", ""}}, {}},
                                    false);
            self->Read();
        });
    }

private:
    void Deadline()
    {
        boost::beast::get_lowest_layer(m_stream).expires_after(
            std::chrono::milliseconds(m_core.options.nHeaderDeadlineMs));
    }

    void Read()
    {
        m_parser.emplace();
        m_parser->body_limit(kMaxBodyBytes);
        m_parser->header_limit(16 * 1024);
        Deadline();
        boost::beast::http::async_read(m_stream, m_buffer, *m_parser,
                                       [self = this->shared_from_this()](boost::beast::error_code error, size_t) {
                                           self->OnRead(error);
                                       });
    }

    void OnRead(boost::beast::error_code error)
    {
        namespace http = boost::beast::http;
        if (error == http::error::body_limit)
            return Answer({413, {{"error", "the body is over 64 KB"}, {"field", ""}}, {}}, false);
        if (error == http::error::end_of_stream || error)
            return CloseStream(m_stream);
        m_request = m_parser->release();
        boost::beast::get_lowest_layer(m_stream).expires_never();
        if (boost::beast::websocket::is_upgrade(m_request))
            return Upgrade();
        if (IsPageTarget(std::string(m_request.target())))
            return AnswerPage();
        ApiRequest request{std::string(m_request.method_string()), std::string(m_request.target()),
                           std::string(m_request[http::field::authorization]), m_request.body()};
        HandleApiRequest(m_core.service, request, [self = this->shared_from_this()](ApiResponse response) {
            boost::asio::post(self->m_stream.get_executor(), [self, response = std::move(response)] {
                self->Answer(response, self->m_request.keep_alive());
            });
        });
    }

    void Upgrade()
    {
        namespace http = boost::beast::http;
        EventsRequest wanted;
        const std::string strTarget(m_request.target());
        if (strTarget.substr(0, strTarget.find('?')) != "/api/events")
            return Answer({404, {{"error", "WebSocket only on /api/events"}, {"field", ""}}, {}}, false);
        if (auto refusal = ReadEventsRequest(m_core.service, strTarget,
                                             std::string(m_request[http::field::authorization]),
                                             std::string(m_request[http::field::sec_websocket_protocol]), &wanted))
            return Answer(*refusal, false);
        std::make_shared<CEventsSession<Stream>>(m_core, std::move(m_stream), m_pSlot, std::move(wanted))
            ->Start(std::move(m_request));
    }

    // A file of the staff page; HEAD gets its length without the bytes.
    void AnswerPage()
    {
        namespace http = boost::beast::http;
        StaticReply reply = ServeStaticFile(m_core.options.strWebRoot, std::string(m_request.method_string()),
                                            std::string(m_request.target()));
        auto pResponse = NewResponse(reply.nStatus, reply.strContentType, reply.strAllow);
        pResponse->set(http::field::cache_control, "no-cache");
        pResponse->set("X-Content-Type-Options", "nosniff");
        pResponse->set("Content-Security-Policy", "default-src 'self'; connect-src 'self' ws: wss:");
        pResponse->content_length(reply.strBody.size());
        if (m_request.method() != http::verb::head)
            pResponse->body() = std::move(reply.strBody);
        Send(pResponse, m_request.keep_alive());
    }

    void Answer(const ApiResponse& response, bool bKeepAlive)
    {
        auto pResponse = NewResponse(response.nStatus, "application/json", response.strAllow);
        pResponse->body() = response.body.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
        pResponse->prepare_payload();
        Send(pResponse, bKeepAlive);
    }

    using Response = boost::beast::http::response<boost::beast::http::string_body>;

    static std::shared_ptr<Response> NewResponse(int nStatus, const std::string& strContentType,
                                                 const std::string& strAllow)
    {
        namespace http = boost::beast::http;
        auto pResponse = std::make_shared<Response>(static_cast<http::status>(nStatus), 11);
        pResponse->set(http::field::server, "zr470d");
        pResponse->set(http::field::content_type, strContentType);
        if (!strAllow.empty())
            pResponse->set(http::field::allow, strAllow);
        return pResponse;
    }

    void Send(const std::shared_ptr<Response>& pResponse, bool bKeepAlive)
    {
        namespace http = boost::beast::http;
        pResponse->keep_alive(bKeepAlive);
        Deadline();
        http::async_write(m_stream, *pResponse,
                          [self = this->shared_from_this(), pResponse, bKeepAlive](boost::beast::error_code error,
                                                                                   size_t) {
                              if (!error && bKeepAlive)
                                  return self->Read();
                              CloseStream(self->m_stream);
                          });
    }

    ServerCore& m_core;
    Stream m_stream;
    std::shared_ptr<CConnectionSlot> m_pSlot;
    boost::beast::flat_buffer m_buffer;
    std::optional<boost::beast::http::request_parser<boost::beast::http::string_body>> m_parser;
    HttpRequest m_request;
};
