#include <gtest/gtest.h>

#include <deque>
#include <set>
#include <thread>

#include "FirmwareSequence.h"
#include "FirmwareTestFiles.h"
#include "GlobalData.h"
#include "SessionFixture.h"
#include "VirtualReply.h"

namespace {

// How a loader of another make answers one step: with this command and
// item, without payload.
struct OddAnswer {
    int nStep = -1;
    uint8_t nCommand = kReplyAck;
    int nItem = -1;
};

class OddLoaderTransport : public ITransport {
public:
    OddLoaderTransport(std::shared_ptr<CVirtualProcessor> pDevice, OddAnswer answer)
        : m_inner(std::move(pDevice)), m_answer(answer)
    {
    }
    IoResult WriteReport(const uint8_t* pReport, int nTimeoutMs) override
    {
        const uint8_t* pFrame = pReport + 1;
        if (pFrame[0] != kFrameSync || pFrame[kFoKind] != kKindSystem || pFrame[kFoChannel] != m_answer.nStep)
            return m_inner.WriteReport(pReport, nTimeoutMs);
        // A reply is numbered from the start byte, after the sync run.
        std::vector<uint8_t> request(pFrame + 3, pFrame + 3 + kFrameOverhead);
        request[kFoChannel - 3] = static_cast<uint8_t>(m_answer.nItem);
        for (const Report64& report : CutIntoReports(MakeReplyFrame(request.data(), m_answer.nCommand, {})))
            m_replies.push_back(report);
        return IoResult::Ok;
    }
    IoResult ReadReport(uint8_t* pReport, int nTimeoutMs) override
    {
        if (m_replies.empty())
            return m_inner.ReadReport(pReport, nTimeoutMs);
        pReport[0] = 0;
        std::copy(m_replies.front().begin(), m_replies.front().end(), pReport + 1);
        m_replies.pop_front();
        return IoResult::Ok;
    }
    void Close() override { m_inner.Close(); }
    std::string Describe() const override { return m_inner.Describe(); }

private:
    CVirtualTransport m_inner;
    OddAnswer m_answer;
    std::deque<Report64> m_replies;
};

}  // namespace

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
    CLinkSession::TransportOpener Opener(OddAnswer answer)
    {
        return [this, answer](std::string* pError) -> std::unique_ptr<ITransport> {
            if (m_pDevice->IsVanished()) {
                *pError = "gone";
                return nullptr;
            }
            if (answer.nStep >= 0)
                return std::make_unique<OddLoaderTransport>(m_pDevice, answer);
            return std::make_unique<CVirtualTransport>(m_pDevice);
        };
    }
    bool Start(const std::vector<uint8_t>& file, OddAnswer answer = {})
    {
        return m_pSession->StartFirmwareUpdate(ParsedOrFail(file), Opener(answer));
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

TEST_F(FirmwareUpdateTest, EmptyReplyEndsTheUpdateAndTheNextConnectIsANormalOne)
{
    // A data reply without payload: firmware the editor cannot talk to.
    ASSERT_TRUE(Start(WithTag("WMCU", PatternBytes(100, 3)), {kStepMcuStart, kReplyData, kStepMcuStart}));
    ASSERT_TRUE(Pump([this] { return !m_messages.empty(); }));
    EXPECT_EQ(m_messages, std::vector<std::string>{"Please Update the Firmware!"});
    EXPECT_FALSE(m_pSession->IsFirmwareMode());
    EXPECT_FALSE(m_pSession->IsConnected());
    ASSERT_TRUE(ConnectOnline());
    EXPECT_EQ(m_messages.size(), 1u);
}

TEST_F(FirmwareUpdateTest, ProcessorThatNeverConfirmsTheEndFails)
{
    // The checksum is acknowledged as if it were one more chunk.
    ASSERT_TRUE(Start(WithTag("WMCU", PatternBytes(100, 3)), {kStepFinish, kReplyAck, kStepMcuData}));
    ASSERT_TRUE(WaitEnd(5000));
    EXPECT_EQ(m_messages, std::vector<std::string>{"Connection failure!"});
}

// The user-interface thread may be busy for a while before it handles a
// failure; the communication thread waits for it without spinning.
TEST_F(FirmwareUpdateTest, AfterAFailureIsPostedTheCycleRestsUntilItIsHandled)
{
    VirtualFaults faults;
    faults.nRestartMs = 30;
    faults.bWrongChecksum = true;
    m_pDevice->SetFaults(faults);
    ASSERT_TRUE(Start(WithTag("WMCU", PatternBytes(100, 3))));
    std::vector<PostedNotification> held;
    PostedNotification note{};
    while (m_queue.Take(&note, 10000)) {
        held.push_back(note);
        if (note.nMsg == kMsgUsbFailure)
            break;
    }
    ASSERT_FALSE(held.empty());
    ASSERT_EQ(held.back().nMsg, kMsgUsbFailure);
    const int nCycles = m_pSession->CyclesRun();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_LE(m_pSession->CyclesRun() - nCycles, 1);
    for (const PostedNotification& n : held)
        m_pSession->HandleNotification(n.nMsg, n.wParam, n.lParam);
    EXPECT_EQ(m_messages, std::vector<std::string>{"Connection failure!"});
    EXPECT_FALSE(m_pSession->IsFirmwareMode());
}

// The view reads the link's description and last error whenever it likes,
// also while the communication thread opens the restarted processor anew.
TEST_F(FirmwareUpdateTest, LinkCanBeDescribedWhileTheProcessorRestarts)
{
    ASSERT_TRUE(Start(WithTag("WMCU", PatternBytes(100, 3))));
    std::set<std::string> descriptions;
    ASSERT_TRUE(Pump([this, &descriptions] {
        descriptions.insert(m_pSession->DeviceDescription() + m_pSession->LastError());
        return !m_pSession->IsFirmwareMode();
    }, 30000));
    EXPECT_EQ(m_messages, std::vector<std::string>{"Update successfully!"});
    for (const std::string& str : descriptions)
        EXPECT_TRUE(str.empty() || str == "virtual") << str;
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

// Quit pressed after the processor confirmed the end, before its notice
// reached the window: the update did succeed.
TEST_F(FirmwareUpdateTest, CancelAfterTheConfirmedEndReportsSuccess)
{
    ASSERT_TRUE(Start(WithTag("WMCU", PatternBytes(100, 3))));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (m_pSession->FirmwareStatus() != "Update successfully!" && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    m_pSession->CancelFirmwareUpdate();
    ASSERT_TRUE(Drain());
    EXPECT_EQ(m_messages, std::vector<std::string>{"Update successfully!"});
    EXPECT_TRUE(m_pDevice->Loader().McuVerified());
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

// The search runs on the communication thread: Start returns at once.
TEST_F(FirmwareUpdateTest, NoProcessorFoundWithinTheSearchTime)
{
    m_pDevice->Vanish();
    ASSERT_TRUE(Start(WithTag("WMCU", PatternBytes(100, 3))));
    EXPECT_TRUE(m_pSession->IsSearching());
    EXPECT_EQ(m_pSession->FirmwareStatus(), "Searching......");
    ASSERT_TRUE(WaitEnd());
    EXPECT_EQ(m_messages, std::vector<std::string>{"Connection failure!"});
    EXPECT_FALSE(m_pSession->IsConnected());
    m_pDevice->Reappear();
}

TEST_F(FirmwareUpdateTest, CancelDuringTheSearchEndsIt)
{
    m_pSession->m_firmwareTiming.nSearchMs = 60000;
    m_pDevice->Vanish();
    ASSERT_TRUE(Start(WithTag("WMCU", PatternBytes(100, 3))));
    m_pSession->CancelFirmwareUpdate();
    EXPECT_FALSE(m_pSession->IsSearching());
    EXPECT_EQ(m_messages, std::vector<std::string>{"The firmware update failed"});
    m_pDevice->Reappear();
    EXPECT_TRUE(ConnectOnline());
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
