#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>

#include "DataDefine.h"
#include "EmulatorServer.h"
#include "GlobalData.h"
#include "SessionFixture.h"
#include "TcpTransport.h"

namespace {

// Applies one random edit of the kinds an installer makes.
void RandomEdit(CKTV_Data& data, std::mt19937& rng)
{
    auto pick = [&rng](int nLow, int nHigh) { return std::uniform_int_distribution<int>(nLow, nHigh)(rng); };
    CKTV_OutData& out = data.Output(pick(0, 5));
    switch (pick(0, 7)) {
    case 0: out.EQ()[pick(0, 30)].SetGainCode(pick(0, 400)); break;
    case 1: out.EQ()[pick(0, 30)].SetFrequency(pick(20, 20000), true); break;
    case 2: out.EQ()[pick(0, 30)].SetBandwidthCode(pick(0, 295)); break;
    case 3: out.SetLevel(pick(0, 70)); break;
    case 4: out.SetMute(pick(0, 1)); break;
    case 5: out.EQ().HighPass().SetFrequency(pick(20, 2000), true); break;
    case 6: out.EQ().LowPass().SetSlope(pick(0, 7), true); break;
    default: out.SetThreshold(pick(0, 360)); break;
    }
}

// The six output blocks of an image.
std::vector<uint8_t> Outputs(const uint8_t* pImage)
{
    return {pImage + kOffOutput, pImage + kOffOutput + kOutputs * kOutBlockSize};
}

}  // namespace

// Edits while the processor asks for resends and answers late: at the end
// the processor holds exactly what the model holds.
TEST_F(SessionTest, SoakOfRandomEditsLosesNothing)
{
    ASSERT_TRUE(ConnectOnline());
    VirtualFaults faults;
    faults.nResendEvery = 7;
    faults.nDelayMs = 3;
    m_pDevice->SetFaults(faults);
    std::mt19937 rng(2024);
    for (int i = 0; i < 200; ++i) {
        RandomEdit(Data(), rng);
        if (i % 10 == 0)
            Pump([] { return false; }, 15);  // let some edits go out mid-way
    }
    ASSERT_TRUE(Drain(30000));
    EXPECT_TRUE(m_messages.empty());
    Data().FillAll();
    EXPECT_EQ(Outputs(m_pDevice->LiveImage().data()), Outputs(State().m_LiveImage));
}

TEST_F(SessionTest, SessionOverTcpToTheEmulator)
{
    CEmulatorServer server(*m_pDevice);
    std::string strError;
    ASSERT_TRUE(server.Listen("127.0.0.1", 0, &strError)) << strError;
    std::atomic<bool> bStop{false};
    std::thread serving([&] { server.Serve(bStop); });

    ASSERT_TRUE(ConnectDevice(*m_pSession, "tcp:127.0.0.1:" + std::to_string(server.Port())));
    ASSERT_TRUE(Pump([this] { return State().m_bOnline.load() != 0; }));
    EXPECT_EQ(m_pSession->DeviceDescription(), "TCP 127.0.0.1:" + std::to_string(server.Port()));
    Data().Output(4).EQ()[20].SetGainCode(111);
    Data().Output(4).SetPolarity(1);
    ASSERT_TRUE(Drain());
    Data().FillAll();
    EXPECT_EQ(Outputs(m_pDevice->LiveImage().data()), Outputs(State().m_LiveImage));

    // Disconnect and connect again over a new TCP connection.
    m_pSession->Disconnect(0);
    ASSERT_TRUE(ConnectDevice(*m_pSession, "tcp:127.0.0.1:" + std::to_string(server.Port())));
    ASSERT_TRUE(Pump([this] { return State().m_bOnline.load() != 0; }));
    EXPECT_EQ(Data().Output(4).GetPolarity(), 1);
    m_pSession->Disconnect(0);
    bStop = true;
    serving.join();
}

TEST_F(SessionTest, NoDeviceAtTheAddressFailsWithTheLinkMessage)
{
    EXPECT_FALSE(ConnectDevice(*m_pSession, "tcp:127.0.0.1:1"));
    EXPECT_EQ(m_messages, std::vector<std::string>{"Connection failure!"});
    EXPECT_FALSE(m_pSession->LastError().empty());
    EXPECT_FALSE(ConnectDevice(*m_pSession, "serial:COM1"));
    EXPECT_NE(m_pSession->LastError().find("unknown device"), std::string::npos);
}
