// The venue service under test: rooms that are virtual processors served
// over TCP on 127.0.0.1 (room 1 with a staff limit of −10 dB), a tokens
// file with an installer and a staff token for room 1, and the service
// listening on a free port.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "HttpServer.h"
#include "Service.h"
#include "ServiceClient.h"
#include "VenueFixture.h"

class ServiceTest : public ::testing::Test {
protected:
    static constexpr double kStaffLimitDb = -10.0;

    void SetUp() override
    {
        m_folder = std::filesystem::temp_directory_path() /
                   ("zr470d-test-" + std::to_string(getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        m_pVenue = std::make_unique<CEmulatedVenue>(m_folder, 2, 1);
        ASSERT_TRUE(m_pVenue->Started());
        std::string strError;
        ASSERT_TRUE(m_tokens.Add("installer", Role::kInstaller, {}, &m_strInstaller, &strError));
        ASSERT_TRUE(m_tokens.Add("desk", Role::kStaff, {"Room 1"}, &m_strStaff, &strError));
        StartService();
    }
    void TearDown() override
    {
        StopService();
        m_pVenue.reset();
    }

    Venue Rooms() const
    {
        Venue venue;
        venue.rooms.push_back({"Room 1", m_pVenue->Room(1).Device(), kStaffLimitDb});
        venue.rooms.push_back({"Room 2", m_pVenue->Room(2).Device(), std::nullopt});
        venue.rooms.push_back({"Closed 1", "tcp:127.0.0.1:1", std::nullopt});
        return venue;
    }
    void StartService(ServerOptions options = FastOptions())
    {
        options.nPort = 0;
        m_pService = std::make_unique<CService>(Rooms(), m_tokens, m_folder / "tokens.json.staff",
                                                CRoomWorker::Timing{3000, 300});
        m_pServer = std::make_unique<CHttpServer>(*m_pService, options);
        std::string strError;
        ASSERT_TRUE(m_pServer->Start(&strError)) << strError;
        ASSERT_TRUE(WaitOnline("Room 1") && WaitOnline("Room 2"));
    }
    void StopService()
    {
        m_pServer.reset();
        m_pService.reset();
    }
    static ServerOptions FastOptions()
    {
        ServerOptions options;
        options.nHeaderDeadlineMs = 1500;
        return options;
    }

    bool WaitOnline(const std::string& strRoom, bool bOnline = true, int nMs = 15000)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(nMs);
        while (std::chrono::steady_clock::now() < deadline) {
            if (m_pService->FindRoom(strRoom)->pWorker->Online() == bOnline)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    test_client::Reply Call(const std::string& strMethod, const std::string& strTarget, const std::string& strBody = {},
                            const std::string& strToken = {})
    {
        return test_client::Request(m_pServer->Port(), strMethod, strTarget,
                                    strToken.empty() ? m_strInstaller : strToken, strBody);
    }
    int Port() const { return m_pServer->Port(); }

    std::filesystem::path m_folder;
    std::unique_ptr<CEmulatedVenue> m_pVenue;
    CTokenFile m_tokens;
    std::string m_strInstaller;
    std::string m_strStaff;
    std::unique_ptr<CService> m_pService;
    std::unique_ptr<CHttpServer> m_pServer;
};
