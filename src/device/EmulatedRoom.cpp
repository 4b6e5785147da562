#include "EmulatedRoom.h"

bool CEmulatedRoom::Start()
{
    std::string strError;
    if (!m_server.Listen(CEmulatorServer::kDefaultHost, 0, &strError))
        return false;
    m_serving = std::thread([this] { m_server.Serve(m_bStop); });
    return true;
}

void CEmulatedRoom::Stop()
{
    m_bStop = true;
    if (m_serving.joinable())
        m_serving.join();
}
