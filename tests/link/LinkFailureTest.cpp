#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

#include "GlobalData.h"
#include "SessionFixture.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

class LinkFailureTest : public SessionTest {
protected:
    bool WaitDisconnected(int nTimeoutMs = 6000)
    {
        return Pump([this] { return !m_pSession->IsConnected(); }, nTimeoutMs);
    }
};

TEST_F(LinkFailureTest, SilentDeviceEndsTheLinkAfterTheReadTimeOut)
{
    ASSERT_TRUE(ConnectOnline());
    VirtualFaults faults;
    faults.nSilentAfter = 1;
    m_pDevice->SetFaults(faults);
    const Clock::time_point start = Clock::now();
    ASSERT_TRUE(WaitDisconnected());
    EXPECT_GE(SecondsSince(start), 1.5);
    EXPECT_EQ(m_messages, std::vector<std::string>{"Connection failure!"});
    EXPECT_EQ(State().m_bOnline.load(), 0);
    EXPECT_EQ(m_pSession->Command().GetCount(), 0);
}

TEST_F(LinkFailureTest, IdentificationChecksFamilyAndMajorVersion)
{
    VirtualFaults faults;
    faults.strWrongId = "SVH1-WV1.07";  // another minor version is welcome
    m_pDevice->SetFaults(faults);
    ASSERT_TRUE(ConnectOnline());
    m_pSession->Disconnect(0);

    faults.strWrongId = "SVH2-WV1.00";
    m_pDevice->SetFaults(faults);
    ASSERT_TRUE(m_pSession->Connect(std::make_unique<CVirtualTransport>(m_pDevice)));
    ASSERT_TRUE(Pump([this] { return !m_messages.empty(); }));
    EXPECT_FALSE(m_pSession->IsConnected());
    EXPECT_EQ(m_messages.back(), "Connection failure!");
    EXPECT_EQ(0, std::memcmp(State().m_IdString, "           ", kIdSize));
    EXPECT_EQ(State().m_bOnline.load(), 0);
}

TEST_F(LinkFailureTest, EmptyReplyAsksForNewFirmware)
{
    VirtualFaults faults;
    faults.nEmptyReplyItem = 16;
    m_pDevice->SetFaults(faults);
    ASSERT_TRUE(m_pSession->Connect(std::make_unique<CVirtualTransport>(m_pDevice)));
    ASSERT_TRUE(Pump([this] { return !m_messages.empty(); }));
    EXPECT_EQ(m_messages.back(), "Please Update the Firmware!");
    EXPECT_FALSE(m_pSession->IsConnected());
    g_bChinese = 1;
    EXPECT_TRUE(m_pSession->ReadAllScenes() == false);
    EXPECT_EQ(m_messages.back(), "UnConnection");
}

TEST_F(LinkFailureTest, VanishedDeviceEndsTheLinkAtOnce)
{
    ASSERT_TRUE(ConnectOnline());
    const Clock::time_point start = Clock::now();
    m_pDevice->Vanish();
    ASSERT_TRUE(WaitDisconnected());
    EXPECT_LT(SecondsSince(start), 1.0);
    EXPECT_EQ(m_messages, std::vector<std::string>{"Connection failure!"});
    m_pDevice->Reappear();
}

TEST_F(LinkFailureTest, DroppedReplyFailsThenReconnectWorksOnTheSameThread)
{
    ASSERT_TRUE(ConnectOnline());
    const int nCycles = m_pSession->CyclesRun();
    VirtualFaults faults;
    faults.nDropEvery = 1;
    m_pDevice->SetFaults(faults);
    ASSERT_TRUE(WaitDisconnected());
    EXPECT_EQ(m_messages.size(), 1u);

    m_pDevice->SetFaults(VirtualFaults{});
    ASSERT_TRUE(ConnectOnline());
    EXPECT_GT(m_pSession->CyclesRun(), nCycles);
    Data().Output(0).SetLevel(50);
    ASSERT_TRUE(Drain());
    EXPECT_EQ(GetWord(m_pDevice->LiveImage().data() + kOffOutput + 250), 50);
}

TEST_F(LinkFailureTest, CorruptedReplyFailsThroughTheTimeOuts)
{
    ASSERT_TRUE(ConnectOnline());
    VirtualFaults faults;
    faults.nCorruptEvery = 1;
    m_pDevice->SetFaults(faults);
    ASSERT_TRUE(WaitDisconnected());
    EXPECT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages.back(), "Connection failure!");
}

TEST_F(LinkFailureTest, DisconnectButtonClosesAndClearsState)
{
    ASSERT_TRUE(ConnectOnline());
    State().m_bDelayPresetChanged = 1;
    Data().Output(1).SetMute(1);
    m_pSession->Disconnect(0);
    EXPECT_FALSE(m_pSession->IsConnected());
    EXPECT_EQ(State().m_bOnline.load(), 0);
    EXPECT_EQ(State().m_bDelayPresetChanged.load(), 0);
    EXPECT_EQ(Data().Output(1).GetMiscMark(), 0);
    EXPECT_TRUE(m_messages.empty());
    // Sequences while disconnected.
    EXPECT_FALSE(m_pSession->ReadScene(2));
    EXPECT_EQ(m_messages.back(), "Connection failure!");
    EXPECT_FALSE(m_pSession->WriteScene(0, false));
    EXPECT_EQ(m_messages.size(), 1u);  // the live write says nothing
}
