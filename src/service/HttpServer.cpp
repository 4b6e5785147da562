#include "HttpServer.h"

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/strand.hpp>
#include <thread>
#include <vector>

#include "HttpSession.h"
#include "ServerCore.h"

namespace net = boost::asio;
using tcp = net::ip::tcp;

struct CHttpServer::Impl {
    Impl(CService& service, ServerOptions options) : core{service, std::move(options), std::nullopt, {}} {}

    void Accept()
    {
        acceptor.async_accept(net::make_strand(context), [this](boost::beast::error_code error, tcp::socket socket) {
            if (error == net::error::operation_aborted)
                return;
            if (!error)
                Serve(std::move(socket));
            Accept();
        });
    }

    void Serve(tcp::socket socket)
    {
        if (core.tls) {
            std::make_shared<CHttpSession<TlsStream>>(core, TlsStream(std::move(socket), *core.tls))->Start();
            return;
        }
        std::make_shared<CHttpSession<PlainStream>>(core, PlainStream(std::move(socket)))->Start();
    }

    bool LoadCertificate(std::string* pError)
    {
        if (core.options.strCertFile.empty())
            return true;
        try {
            core.tls.emplace(net::ssl::context::tls_server);
            core.tls->set_options(net::ssl::context::default_workarounds | net::ssl::context::no_sslv2 |
                                  net::ssl::context::no_sslv3 | net::ssl::context::no_tlsv1 |
                                  net::ssl::context::no_tlsv1_1);
            core.tls->use_certificate_chain_file(core.options.strCertFile);
            core.tls->use_private_key_file(core.options.strKeyFile, net::ssl::context::pem);
        } catch (const boost::system::system_error& e) {
            *pError = "the certificate or key was refused: " + std::string(e.what());
            return false;
        }
        return true;
    }

    ServerCore core;
    net::io_context context;
    tcp::acceptor acceptor{context};
    std::vector<std::thread> threads;
};

CHttpServer::CHttpServer(CService& service, ServerOptions options)
    : m_pImpl(std::make_unique<Impl>(service, std::move(options)))
{
}

CHttpServer::~CHttpServer()
{
    Stop();
}

bool CHttpServer::Start(std::string* pError)
{
    Impl& impl = *m_pImpl;
    if (!impl.LoadCertificate(pError))
        return false;
    boost::system::error_code error;
    const net::ip::address address = net::ip::make_address(impl.core.options.strAddress, error);
    if (error) {
        *pError = "listen address \"" + impl.core.options.strAddress + "\" refused: " + error.message();
        return false;
    }
    const tcp::endpoint endpoint(address, static_cast<unsigned short>(impl.core.options.nPort));
    if (impl.acceptor.open(endpoint.protocol(), error) ||
        impl.acceptor.set_option(net::socket_base::reuse_address(true), error) || impl.acceptor.bind(endpoint, error) ||
        impl.acceptor.listen(net::socket_base::max_listen_connections, error)) {
        *pError = "cannot listen on " + impl.core.options.strAddress + ":" +
                  std::to_string(impl.core.options.nPort) + ": " + error.message();
        return false;
    }
    impl.Accept();
    for (int i = 0; i < std::max(1, impl.core.options.nThreads); ++i)
        impl.threads.emplace_back([&impl] { impl.context.run(); });
    return true;
}

int CHttpServer::Port() const
{
    boost::system::error_code error;
    return m_pImpl->acceptor.local_endpoint(error).port();
}

void CHttpServer::Stop()
{
    Impl& impl = *m_pImpl;
    impl.context.stop();
    for (std::thread& thread : impl.threads)
        thread.join();
    impl.threads.clear();
}
