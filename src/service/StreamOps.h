// The steps that differ between a plain and a TLS connection: the
// handshake and the close.
//
// Threads: the connection's strand.
#pragma once

#include <boost/asio/ssl/stream_base.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/ssl/ssl_stream.hpp>
#include <functional>

using PlainStream = boost::beast::tcp_stream;
using TlsStream = boost::beast::ssl_stream<boost::beast::tcp_stream>;

template <typename Handler>
void Handshake(PlainStream&, Handler&& handler)
{
    handler(boost::beast::error_code{});
}

template <typename Handler>
void Handshake(TlsStream& stream, Handler&& handler)
{
    stream.async_handshake(boost::asio::ssl::stream_base::server, std::forward<Handler>(handler));
}

// Sends what is left and closes; the peer sees the end of the stream.
template <typename Stream>
void CloseStream(Stream& stream)
{
    boost::beast::error_code error;
    boost::beast::get_lowest_layer(stream).socket().shutdown(boost::asio::ip::tcp::socket::shutdown_send, error);
}
