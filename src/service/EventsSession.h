// One live-events WebSocket: first the state of each room asked for, then
// every change of those rooms as it happens and, with levels=1, the output
// meters at up to 10 Hz (when they moved). A client that stops reading is
// dropped once its backlog is large, rather than slowing anyone else.
//
// Threads: the connection's strand; the rooms' events are posted to it.
#pragma once

#include <boost/asio/post.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/websocket.hpp>
#include <deque>
#include <memory>
#include <set>
#include <string>

#include "EventsRequest.h"
#include "ServerCore.h"
#include "Service.h"

template <typename Stream>
class CEventsSession : public std::enable_shared_from_this<CEventsSession<Stream>> {
public:
    static constexpr size_t kMaxBacklog = 4096;
    static constexpr int kLevelsPeriodMs = 100;

    CEventsSession(ServerCore& core, Stream stream, std::shared_ptr<CConnectionSlot> pSlot, EventsRequest wanted)
        : m_core(core), m_ws(std::move(stream)), m_pSlot(std::move(pSlot)), m_wanted(std::move(wanted)),
          m_timer(m_ws.get_executor())
    {
        for (ServiceRoom* pRoom : m_wanted.rooms)
            m_rooms.insert(pRoom->pWorker->Room().strName);
    }

    ~CEventsSession()
    {
        if (m_nListener)
            m_core.service.Unsubscribe(m_nListener);
    }

    void Start(HttpRequest request)
    {
        namespace websocket = boost::beast::websocket;
        boost::beast::get_lowest_layer(m_ws).expires_never();
        m_ws.set_option(websocket::stream_base::timeout::suggested(boost::beast::role_type::server));
        const bool bSubprotocol = m_wanted.bSubprotocol;
        m_ws.set_option(websocket::stream_base::decorator([bSubprotocol](websocket::response_type& response) {
            response.set(boost::beast::http::field::server, "zr470d");
            if (bSubprotocol)
                response.set(boost::beast::http::field::sec_websocket_protocol, "zr470");
        }));
        m_ws.async_accept(request, [self = this->shared_from_this()](boost::beast::error_code error) {
            if (!error)
                self->OnAccepted();
        });
    }

private:
    void OnAccepted()
    {
        // Subscribed before the states are taken: a change in between comes
        // twice rather than not at all.
        std::weak_ptr<CEventsSession> pWeak = this->shared_from_this();
        auto executor = m_ws.get_executor();
        m_nListener = m_core.service.Subscribe([pWeak, executor](const Json& event) {
            boost::asio::post(executor, [pWeak, event] {
                if (auto self = pWeak.lock())
                    self->OnEvent(event);
            });
        });
        for (ServiceRoom* pRoom : m_wanted.rooms)
            Send(pRoom->pWorker->State().dump());
        if (m_wanted.bLevels)
            PollLevels();
        ReadNext();
    }

    void OnEvent(const Json& event)
    {
        if (m_rooms.contains(event.value("room", "")))
            Send(event.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
    }

    void PollLevels()
    {
        for (ServiceRoom* pRoom : m_wanted.rooms) {
            Json levels = pRoom->pWorker->Levels();
            Json& last = m_lastLevels[pRoom->pWorker->Room().strName];
            if (levels.empty() || levels == last)
                continue;
            last = levels;
            Send(Json{{"type", "levels"}, {"room", pRoom->pWorker->Room().strName}, {"levels", levels}}.dump());
        }
        m_timer.expires_after(std::chrono::milliseconds(kLevelsPeriodMs));
        m_timer.async_wait([pWeak = std::weak_ptr(this->shared_from_this())](boost::beast::error_code error) {
            if (auto self = pWeak.lock(); self && !error && !self->m_bClosed)
                self->PollLevels();
        });
    }

    // Incoming messages are not used; reading notices the close.
    void ReadNext()
    {
        m_ws.async_read(m_readBuffer, [self = this->shared_from_this()](boost::beast::error_code error, size_t) {
            if (error) {
                self->m_bClosed = true;
                self->m_timer.cancel();
                return;
            }
            self->m_readBuffer.clear();
            self->ReadNext();
        });
    }

    void Send(std::string strText)
    {
        if (m_bClosed)
            return;
        if (m_backlog.size() >= kMaxBacklog) {
            m_bClosed = true;
            m_timer.cancel();
            boost::beast::get_lowest_layer(m_ws).close();
            return;
        }
        m_backlog.push_back(std::move(strText));
        if (m_backlog.size() == 1)
            WriteNext();
    }

    void WriteNext()
    {
        m_ws.text(true);
        m_ws.async_write(boost::asio::buffer(m_backlog.front()),
                         [self = this->shared_from_this()](boost::beast::error_code error, size_t) {
                             self->m_backlog.pop_front();
                             if (error) {
                                 self->m_bClosed = true;
                                 self->m_backlog.clear();
                                 return;
                             }
                             if (!self->m_backlog.empty())
                                 self->WriteNext();
                         });
    }

    ServerCore& m_core;
    boost::beast::websocket::stream<Stream> m_ws;
    std::shared_ptr<CConnectionSlot> m_pSlot;
    EventsRequest m_wanted;
    std::set<std::string> m_rooms;
    boost::asio::steady_timer m_timer;
    boost::beast::flat_buffer m_readBuffer;
    std::deque<std::string> m_backlog;
    std::map<std::string, Json> m_lastLevels;
    int m_nListener = 0;
    bool m_bClosed = false;
};
