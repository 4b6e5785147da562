#include <algorithm>
#include <chrono>
#include <deque>
#include <string>
#include <vector>

#include "../link/FirmwareTestFiles.h"
#include "DeviceHarness.h"
#include "FirmwareSequence.h"

using Clock = CVirtualProcessor::Clock;
using Bytes = std::vector<uint8_t>;
using namespace std::chrono_literals;

namespace {

constexpr auto kPause = 60s;  // long enough that no test can outrun it by accident

// What an update run against the virtual processor saw.
struct UpdateRun {
    int nAdvances = 0;
    bool bFinished = false;
    int nFailedStep = 0;         // the step that got no answer or was refused twice
    bool bGoneAfterEnter = false;
    bool bBackAfterPause = false;
    std::vector<int> replySteps;
    std::string strLastLabel;
};

}  // namespace

class VirtualLoaderTest : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        SetFaults({});
    }
    void SetFaults(VirtualFaults faults)
    {
        faults.nRestartMs = static_cast<int>(std::chrono::milliseconds(kPause).count());
        m_device.SetFaults(faults);
    }
    // The test's own clock: real time plus the pauses it has waited.
    Clock::time_point Now() const { return Clock::now() + m_waited; }

    // Drives an update the way the link does: one command in flight, the
    // next ones asked for when the queue is empty, a command given up on
    // when it would need a third attempt or gets no answer.
    UpdateRun Run(CFirmwareUpdate& update)
    {
        UpdateRun run;
        std::deque<std::unique_ptr<CSendData>> queue;
        while (!update.m_bFinished) {
            if (queue.empty() && NextFirmwareCommand(update, queue) == 0)
                break;
            CSendData& head = *queue.front();
            const int nStep = head.m_nFirmwareStep;
            if (++head.m_nAttempts > 2) {
                run.nFailedStep = nStep;
                break;
            }
            if (nStep == kStepHandshake) {
                uint8_t report[kReportSize];
                FillHandshakeReport(report);
                m_device.Receive(report + 1, kReportData);
                queue.pop_front();
                continue;
            }
            head.Rewind();
            SendFrame(m_device, queue.front());
            const std::vector<ReplyFrame> replies = TakeReplies(m_device, Now());
            if (replies.size() != 1 || !replies[0].bOk) {
                run.nFailedStep = nStep;
                break;
            }
            const FirmwareReplyStatus status = OnFirmwareReply(update, nStep, replies[0].nCommand, replies[0].nItem);
            run.nAdvances += status.bAdvance ? 1 : 0;
            run.bFinished = run.bFinished || status.bFinished;
            if (!status.Text(false).empty())
                run.strLastLabel = status.Text(false);
            if (replies[0].nCommand != kReplyAck)
                continue;
            run.replySteps.push_back(replies[0].nItem);
            queue.pop_front();
            if (nStep == kStepEnter)
                WaitForRestart(&run);
        }
        return run;
    }
    void WaitForRestart(UpdateRun* pRun)
    {
        pRun->bGoneAfterEnter = m_device.IsVanished();
        m_waited += kPause;
        TakeReplies(m_device, Now());
        pRun->bBackAfterPause = !m_device.IsVanished();
    }
    ReplyFrame Step(int nStep, const Bytes& payload)
    {
        return Exchange(m_device, FirmwareFrame(nStep, payload));
    }
    static std::unique_ptr<CSendData> FirmwareFrame(int nStep, const Bytes& payload)
    {
        FrameArea area;
        area.header[kFoCommand] = kCmdWrite;
        area.header[kFoAddress] = kDeviceAddress;
        area.header[kFoKind] = kKindSystem;
        area.header[kFoChannel] = static_cast<uint8_t>(nStep);
        PutWord(area.header + kFoLength, static_cast<int>(payload.size()));
        std::copy(payload.begin(), payload.end(), area.payload);
        auto pData = std::make_unique<CSendData>(static_cast<int>(payload.size()) + kFrameOverhead);
        FinishFrame(area, pData->Frame(), pData->Length());
        return pData;
    }
    void EnterLoader()
    {
        EXPECT_EQ(Step(kStepEnter, Bytes(16, 0)).nCommand, kReplyAck);
        m_waited += kPause;
        TakeReplies(m_device, Now());
        ASSERT_TRUE(m_device.Loader().Running());
    }
    static Bytes DspChunk(uint32_t nAddress, uint8_t nFill)
    {
        Bytes payload(48, nFill);
        for (int i = 0; i < 4; ++i)
            payload[i] = static_cast<uint8_t>(nAddress >> (8 * i));
        return payload;
    }

    CVirtualProcessor m_device;
    Clock::duration m_waited{};
};

// ---- Whole updates -----------------------------------------------------------------

TEST_F(VirtualLoaderTest, DspAndMcuFileEndsWithTheFilesImagesInTheProcessor)
{
    const Bytes dsp = PatternBytes(kDspImageSize, 1);
    const Bytes mcu = PatternBytes(4 + 1000, 2);
    CFirmwareUpdate update = ParsedOrFail(DspFile(dsp, mcu));
    const UpdateRun run = Run(update);

    EXPECT_TRUE(run.bFinished);
    EXPECT_EQ(run.nFailedStep, 0);
    EXPECT_TRUE(run.bGoneAfterEnter);
    EXPECT_TRUE(run.bBackAfterPause);
    EXPECT_EQ(run.nAdvances, update.m_nSteps);
    EXPECT_EQ(run.strLastLabel, "Update successfully!");

    const CVirtualLoader loader = m_device.Loader();
    EXPECT_EQ(loader.Handshakes(), 1);
    EXPECT_EQ(loader.DspImage(), dsp);
    ASSERT_TRUE(loader.HasMcuHeader());
    EXPECT_EQ(Bytes(loader.McuHeader().begin(), loader.McuHeader().end()), Bytes(mcu.begin(), mcu.begin() + 4));
    // 1000 data bytes in 21 chunks: the last one ends in 8 bytes of fill.
    Bytes expected(mcu.begin() + 4, mcu.end());
    expected.resize(21 * 48, 0xFF);
    EXPECT_EQ(loader.McuData(), expected);
    EXPECT_TRUE(loader.McuVerified());
    EXPECT_TRUE(loader.UpdateFinished());
    // The processor reported 60 exactly once, on the last DSP chunk.
    EXPECT_EQ(std::count(run.replySteps.begin(), run.replySteps.end(), kStepDspDone), 1);
    EXPECT_EQ(run.replySteps[2 + 1489], kStepDspDone);
}

TEST_F(VirtualLoaderTest, DspOnlyFileFinishesOnTheReportOf60WithoutSendingTheChecksum)
{
    const Bytes dsp = PatternBytes(kDspImageSize, 3);
    CFirmwareUpdate update = ParsedOrFail(DspFile(dsp));
    const UpdateRun run = Run(update);

    EXPECT_TRUE(run.bFinished);
    EXPECT_EQ(run.replySteps.back(), kStepDspDone);
    EXPECT_EQ(run.strLastLabel, "DSP end of the update!");
    EXPECT_EQ(run.nAdvances, update.m_nSteps);
    EXPECT_EQ(m_device.Loader().DspImage(), dsp);
    EXPECT_TRUE(m_device.Loader().UpdateFinished());
    for (const std::vector<uint8_t>& frame : m_device.ReceivedFrames())
        EXPECT_NE(frame[3 + 5], kStepFinish);
}

TEST_F(VirtualLoaderTest, McuFillThatFlipsTheChecksumIsStillAccepted)
{
    // 45 data bytes: the last chunk carries 3 bytes of fill, an odd count.
    const Bytes mcu = PatternBytes(4 + 45, 4);
    CFirmwareUpdate update = ParsedOrFail(WithTag("WMCU", mcu));
    const UpdateRun run = Run(update);

    EXPECT_TRUE(run.bFinished);
    EXPECT_EQ(run.replySteps, (std::vector<int>{54, 55, 56, 57}));
    Bytes expected(48, 0xFF);
    std::copy(mcu.begin() + 4, mcu.end(), expected.begin());
    EXPECT_EQ(m_device.Loader().McuData(), expected);
}

// ---- Faults --------------------------------------------------------------------------

TEST_F(VirtualLoaderTest, StepWithoutReplyStallsTheUpdateThere)
{
    VirtualFaults faults;
    faults.nNoReplyStep = kStepErase;
    SetFaults(faults);
    CFirmwareUpdate update = ParsedOrFail(DspFile(PatternBytes(kDspImageSize, 5)));
    const UpdateRun run = Run(update);
    EXPECT_FALSE(run.bFinished);
    EXPECT_EQ(run.nFailedStep, kStepErase);
    EXPECT_EQ(run.replySteps, (std::vector<int>{kStepEnter}));
}

TEST_F(VirtualLoaderTest, RefusedChecksumFailsTheUpdateInsteadOfReportingSuccess)
{
    VirtualFaults faults;
    faults.bWrongChecksum = true;
    SetFaults(faults);
    CFirmwareUpdate update = ParsedOrFail(WithTag("WMCU", PatternBytes(4 + 96, 6)));
    const UpdateRun run = Run(update);
    EXPECT_FALSE(run.bFinished);
    EXPECT_FALSE(update.m_bFinished);
    EXPECT_EQ(run.nFailedStep, kStepFinish);
    EXPECT_NE(run.strLastLabel, "Update successfully!");
    EXPECT_FALSE(m_device.Loader().McuVerified());
    EXPECT_FALSE(m_device.Loader().UpdateFinished());
}

TEST_F(VirtualLoaderTest, WrongChecksumIsAskedAgainAndTheRightOneAccepted)
{
    EnterLoader();
    EXPECT_EQ(Step(kStepMcuStart, {1, 2, 3, 4}).nCommand, kReplyAck);
    EXPECT_EQ(Step(kStepMcuData, Bytes(48, 0x21)).nCommand, kReplyAck);
    // 48 equal bytes cancel out: the sum is the seed.
    const ReplyFrame wrong = Step(kStepFinish, {0x13});
    EXPECT_EQ(wrong.nCommand, kReplyResend);
    EXPECT_FALSE(m_device.Loader().McuVerified());
    const ReplyFrame right = Step(kStepFinish, {0x12});
    EXPECT_EQ(right.nCommand, kReplyAck);
    EXPECT_EQ(right.nItem, kStepFinish);
    EXPECT_TRUE(m_device.Loader().McuVerified());
}

TEST_F(VirtualLoaderTest, NeverReappearingProcessorStaysGoneUntilPluggedAgain)
{
    VirtualFaults faults;
    faults.bNeverReappear = true;
    SetFaults(faults);
    EXPECT_EQ(Step(kStepEnter, Bytes(16, 0)).nCommand, kReplyAck);
    EXPECT_TRUE(m_device.IsVanished());
    uint8_t report[64];
    EXPECT_FALSE(m_device.TakeReport(report, Now() + 24h));
    EXPECT_TRUE(m_device.IsVanished());
    EXPECT_FALSE(m_device.Loader().Running());
    m_device.Reappear();
    EXPECT_FALSE(m_device.IsVanished());
    EXPECT_TRUE(m_device.Loader().Running());
}

// ---- Restart ------------------------------------------------------------------------------

TEST_F(VirtualLoaderTest, RestartStartsOnlyOnceTheAnswerHasLeftAndIgnoresBytesMeanwhile)
{
    SendFrame(m_device, FirmwareFrame(kStepEnter, Bytes(16, 0)));
    EXPECT_FALSE(m_device.IsVanished());
    ASSERT_EQ(TakeReplies(m_device, Now()).size(), 1u);
    EXPECT_TRUE(m_device.IsVanished());
    const int nFrames = m_device.FramesReceived();
    SendFrame(m_device, FirmwareFrame(kStepErase, Bytes(16, 0)));
    EXPECT_EQ(m_device.FramesReceived(), nFrames);
    EXPECT_TRUE(TakeReplies(m_device, Now()).empty());
    m_waited += kPause;
    TakeReplies(m_device, Now());
    EXPECT_FALSE(m_device.IsVanished());
    EXPECT_EQ(Step(kStepErase, Bytes(16, 0)).nCommand, kReplyAck);
}

TEST_F(VirtualLoaderTest, RestartHappensEvenWhenTheAnswerIsLostOrNeverRead)
{
    VirtualFaults faults;
    faults.nDropEvery = 1;
    SetFaults(faults);
    SendFrame(m_device, FirmwareFrame(kStepEnter, Bytes(16, 0)));
    EXPECT_TRUE(m_device.IsVanished());

    m_device.Reappear();
    SetFaults({});
    SendFrame(m_device, FirmwareFrame(kStepEnter, Bytes(16, 0)));
    m_device.ResetLink();
    EXPECT_TRUE(m_device.IsVanished());
}

// ---- Loader steps ------------------------------------------------------------------------

TEST_F(VirtualLoaderTest, ProgrammingStepsBeforeTheLoaderRunsAreRefused)
{
    EXPECT_EQ(Step(kStepErase, Bytes(16, 0)).nCommand, kReplyResend);
    EXPECT_EQ(Step(kStepDspData, DspChunk(0, 0x55)).nCommand, kReplyResend);
    EXPECT_EQ(Step(kStepMcuStart, {1, 2, 3, 4}).nCommand, kReplyResend);
    const CVirtualLoader loader = m_device.Loader();
    EXPECT_EQ(loader.DspImage(), Bytes(kDspImageSize, 0xFF));
    EXPECT_FALSE(loader.HasMcuHeader());
}

TEST_F(VirtualLoaderTest, MalformedFirmwareStepsAreRefusedAndChangeNothing)
{
    EnterLoader();
    EXPECT_EQ(Step(kStepDspData, DspChunk(kDspImageSize, 0x55)).nCommand, kReplyResend);
    EXPECT_EQ(Step(kStepDspData, Bytes(47, 0)).nCommand, kReplyResend);
    EXPECT_EQ(Step(kStepMcuData, Bytes(48, 0)).nCommand, kReplyResend);  // no header yet
    EXPECT_EQ(Step(kStepMcuStart, {1, 2, 3}).nCommand, kReplyResend);
    EXPECT_EQ(Step(kStepFinish, {0x12, 0}).nCommand, kReplyResend);
    const CVirtualLoader loader = m_device.Loader();
    EXPECT_EQ(loader.DspImage(), Bytes(kDspImageSize, 0xFF));
    EXPECT_FALSE(loader.HasMcuHeader());
    EXPECT_TRUE(loader.McuData().empty());
    EXPECT_FALSE(loader.McuVerified());
}

TEST_F(VirtualLoaderTest, ChunkAtTheEndOfTheAreaIsCutAndCompletesItOnlyWhenAllIsWritten)
{
    EnterLoader();
    const ReplyFrame tail = Step(kStepDspData, DspChunk(65516, 0x66));
    EXPECT_EQ(tail.nItem, kStepDspData);  // the rest of the area is still missing
    const CVirtualLoader loader = m_device.Loader();
    EXPECT_EQ(loader.DspImage()[65534], 0x66);
    EXPECT_EQ(loader.DspImage()[65515], 0xFF);
    EXPECT_FALSE(loader.DspComplete());
    // Everything else in address order; the very last write completes the area.
    for (uint32_t nAddress = 0; nAddress < 65516; nAddress += 44) {
        const ReplyFrame reply = Step(kStepDspData, DspChunk(nAddress, 0x77));
        ASSERT_EQ(reply.nItem, nAddress == 65472 ? kStepDspDone : kStepDspData) << nAddress;
    }
    EXPECT_TRUE(m_device.Loader().DspComplete());
    // An erase starts the area over.
    Step(kStepErase, Bytes(16, 0));
    EXPECT_FALSE(m_device.Loader().DspComplete());
    EXPECT_EQ(m_device.Loader().DspImage(), Bytes(kDspImageSize, 0xFF));
}

// ---- Handshake ------------------------------------------------------------------------------

TEST_F(VirtualLoaderTest, HandshakeReportIsCountedButInsideAFrameItIsPayload)
{
    uint8_t report[kReportSize];
    FillHandshakeReport(report);
    m_device.Receive(report + 1, kReportData);
    EXPECT_EQ(m_device.Loader().Handshakes(), 1);
    EXPECT_EQ(m_device.FramesReceived(), 0);
    EXPECT_TRUE(TakeReplies(m_device, Now()).empty());

    // An output block whose second report is exactly the pattern: frame
    // bytes 64 … 127 are block bytes 50 … 113.
    uint8_t* pBlock = State().m_LiveImage + kOffOutput;
    for (int i = 0; i < 64; ++i)
        pBlock[50 + i] = report[1 + i];
    const ReplyFrame reply = Exchange(m_device, MakeBlockFrame(State(), 0, kKindOutput, 0, true, false));
    EXPECT_EQ(reply.nCommand, kReplyAck);
    EXPECT_EQ(m_device.Loader().Handshakes(), 1);
    EXPECT_EQ(Slice(m_device.LiveImage(), kOffOutput + 50, 64), Bytes(report + 1, report + 65));
}

TEST_F(VirtualLoaderTest, EnteringAgainStartsANewSession)
{
    EnterLoader();
    Step(kStepMcuStart, {9, 9, 9, 9});
    Step(kStepMcuData, Bytes(48, 0x31));
    EnterLoader();
    const CVirtualLoader loader = m_device.Loader();
    EXPECT_FALSE(loader.HasMcuHeader());
    EXPECT_TRUE(loader.McuData().empty());
    EXPECT_EQ(Step(kStepMcuData, Bytes(48, 0x31)).nCommand, kReplyResend);
}
