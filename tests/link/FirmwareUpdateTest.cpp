#include <gtest/gtest.h>

#include <thread>

#include "FirmwareSequence.h"
#include "FirmwareTestFiles.h"
#include "GlobalData.h"
#include "SessionFixture.h"

class FirmwareUpdateTest : public SessionTest {
protected:
    void SetUp() override
    {
        SessionTest::SetUp();
        // The loader's pauses, shortened; their lengths are the processor's
        // business, the order of events is ours.
        m_pSession->m_firmwareTiming = {50, 50, 100, 1000};
        VirtualFaults faults;
        faults.nRestartMs = 30;
        m_pDevice->SetFaults(faults);
    }
    CLinkSession::TransportOpener Opener()
    {
        return [this](std::string* pError) -> std::unique_ptr<ITransport> {
            if (m_pDevice->IsVanished()) {
                *pError = "gone";
                return nullptr;
            }
            return std::make_unique<CVirtualTransport>(m_pDevice);
        };
    }
    bool Start(const std::vector<uint8_t>& file)
    {
        return m_pSession->StartFirmwareUpdate(ParsedOrFail(file), Opener());
    }
    bool WaitEnd(int nTimeoutMs = 30000)
    {
        return Pump([this] { return !m_pSession->IsFirmwareMode(); }, nTimeoutMs);
    }
    // The firmware steps the processor received, in order (handshakes aside).
    std::vector<int> Steps()
    {
        std::vector<int> steps;
        for (const RawFrame& f : m_pDevice->ReceivedFrames()) {
            if (f.size() > 8 && f[kFoKind] == kKindSystem && f[kFoChannel] >= 54 && f[kFoChannel] <= 59)
                steps.push_back(f[kFoChannel]);
        }
        return steps;
    }
};

TEST_F(FirmwareUpdateTest, McuOnlyFileRunsTheWholeSequence)
{
    const std::vector<uint8_t> mcu = PatternBytes(100, 3);
    ASSERT_TRUE(Start(WithTag("WMCU", mcu)));
    ASSERT_TRUE(WaitEnd());
    EXPECT_EQ(m_messages, std::vector<std::string>{"Update successfully!"});
    EXPECT_EQ(Steps(), (std::vector<int>{54, 55, 56, 56, 57}));
    const CVirtualLoader loader = m_pDevice->Loader();
    EXPECT_GE(loader.Handshakes(), 1);
    EXPECT_TRUE(loader.McuVerified());
    EXPECT_EQ(std::vector<uint8_t>(loader.McuData().begin(), loader.McuData().begin() + 96),
              std::vector<uint8_t>(mcu.begin() + 4, mcu.end()));
    EXPECT_EQ(m_pSession->FirmwareProgress(), m_pSession->FirmwareRange());
    EXPECT_FALSE(m_pSession->IsConnected());
}

TEST_F(FirmwareUpdateTest, DspAndMcuFileRestartsTheProcessorAndLandsByteForByte)
{
    const std::vector<uint8_t> dsp = PatternBytes(65535, 1);
    const std::vector<uint8_t> mcu = PatternBytes(4 + 480, 2);
    ASSERT_TRUE(Start(DspFile(dsp, mcu)));
    ASSERT_TRUE(WaitEnd(120000));
    EXPECT_EQ(m_messages, std::vector<std::string>{"Update successfully!"});
    const CVirtualLoader loader = m_pDevice->Loader();
    EXPECT_EQ(loader.DspImage(), dsp);
    EXPECT_EQ(std::vector<uint8_t>(loader.McuHeader().begin(), loader.McuHeader().end()),
              std::vector<uint8_t>(mcu.begin(), mcu.begin() + 4));
    EXPECT_EQ(loader.McuData(), std::vector<uint8_t>(mcu.begin() + 4, mcu.end()));
    EXPECT_TRUE(loader.UpdateFinished());
    const std::vector<int> steps = Steps();
    ASSERT_GE(steps.size(), 3u);
    EXPECT_EQ(steps[0], 54);
    EXPECT_EQ(steps[1], 58);
    EXPECT_EQ(steps.back(), 57);
}

TEST_F(FirmwareUpdateTest, StepWithoutReplyEndsWithTheFailurePath)
{
    VirtualFaults faults;
    faults.nRestartMs = 30;
    faults.nNoReplyStep = 56;
    m_pDevice->SetFaults(faults);
    ASSERT_TRUE(Start(WithTag("WMCU", PatternBytes(100, 3))));
    ASSERT_TRUE(WaitEnd());
    ASSERT_TRUE(Pump([this] { return !m_messages.empty(); }));
    EXPECT_EQ(m_messages, std::vector<std::string>{"Connection failure!"});
}

TEST_F(FirmwareUpdateTest, ThirdAttemptEndsWithTheFailurePath)
{
    VirtualFaults faults;
    faults.nRestartMs = 30;
    faults.bWrongChecksum = true;  // step 57 is answered with a resend request, every time
    m_pDevice->SetFaults(faults);
    ASSERT_TRUE(Start(WithTag("WMCU", PatternBytes(100, 3))));
    ASSERT_TRUE(WaitEnd());
    EXPECT_EQ(m_messages, std::vector<std::string>{"Connection failure!"});
    std::vector<int> steps = Steps();
    EXPECT_EQ(std::count(steps.begin(), steps.end(), 57), 2);
    EXPECT_FALSE(m_pDevice->Loader().McuVerified());
}

TEST_F(FirmwareUpdateTest, CancelDuringTheEraseReportsFailureAndCloses)
{
    VirtualFaults faults;
    faults.nRestartMs = 30;
    faults.nNoReplyStep = 58;  // the erase goes on and on
    m_pDevice->SetFaults(faults);
    ASSERT_TRUE(Start(DspFile(PatternBytes(65535, 1))));
    ASSERT_TRUE(Pump([this] { return m_pSession->FirmwareStatus() == "Erasing......"; }, 10000));
    m_pSession->CancelFirmwareUpdate();
    EXPECT_EQ(m_messages, std::vector<std::string>{"The firmware update failed"});
    EXPECT_FALSE(m_pSession->IsFirmwareMode());
    EXPECT_FALSE(m_pSession->IsConnected());
    // Afterwards the processor is an ordinary one again.
    m_pDevice->SetFaults(VirtualFaults{});
    EXPECT_TRUE(ConnectOnline());
}

TEST_F(FirmwareUpdateTest, ProcessorThatNeverComesBackFails)
{
    VirtualFaults faults;
    faults.nRestartMs = 30;
    faults.bNeverReappear = true;
    m_pDevice->SetFaults(faults);
    ASSERT_TRUE(Start(WithTag("WMCU", PatternBytes(100, 3))));
    ASSERT_TRUE(WaitEnd());
    EXPECT_EQ(m_messages, std::vector<std::string>{"Connection failure!"});
    EXPECT_EQ(Steps(), std::vector<int>{54});
    m_pDevice->Reappear();
}

TEST_F(FirmwareUpdateTest, NoProcessorFoundWithinTheSearchTime)
{
    m_pDevice->Vanish();
    EXPECT_FALSE(Start(WithTag("WMCU", PatternBytes(100, 3))));
    EXPECT_EQ(m_messages, std::vector<std::string>{"Connection failure!"});
    EXPECT_FALSE(m_pSession->IsFirmwareMode());
    m_pDevice->Reappear();
}

TEST_F(FirmwareUpdateTest, UpdateFromAnOpenConnectionStopsNormalTransfers)
{
    ASSERT_TRUE(ConnectOnline());
    ASSERT_TRUE(Start(WithTag("WMCU", PatternBytes(100, 3))));
    EXPECT_FALSE(Start(WithTag("WMCU", PatternBytes(100, 3))));  // pressed twice: one transfer
    ASSERT_TRUE(WaitEnd());
    EXPECT_EQ(m_messages, std::vector<std::string>{"Update successfully!"});
}

// The processor leaves the bus while it is greeted or told to enter its
// loader: that is its restart, not a pulled cable.
TEST_F(FirmwareUpdateTest, RemovalDuringHandshakeOrEnterDoesNotEndTheUpdate)
{
    m_pSession->m_firmwareTiming = {300, 50, 100, 1000};
    VirtualFaults faults;
    faults.nRestartMs = 30;
    faults.nNoReplyStep = 54;  // it goes away before answering the first 54
    m_pDevice->SetFaults(faults);
    ASSERT_TRUE(Start(WithTag("WMCU", PatternBytes(100, 3))));
    ASSERT_TRUE(Pump([this] { return m_pSession->FirmwareStatus() == "Connected"; }, 5000));
    m_pDevice->Vanish();  // during the handshake
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    m_pDevice->Reappear();
    ASSERT_TRUE(Pump([this] { return !Steps().empty(); }, 5000));
    faults.nNoReplyStep = -1;
    m_pDevice->SetFaults(faults);
    m_pDevice->Vanish();  // during step 54
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    m_pDevice->Reappear();
    ASSERT_TRUE(WaitEnd());
    EXPECT_EQ(m_messages, std::vector<std::string>{"Update successfully!"});
    EXPECT_TRUE(m_pDevice->Loader().McuVerified());
}
