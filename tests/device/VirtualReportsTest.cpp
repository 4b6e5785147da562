#include <random>
#include <thread>

#include "DeviceHarness.h"

class VirtualReportsTest : public ModelTest {
protected:
    CVirtualProcessor m_device;
};

TEST_F(VirtualReportsTest, OutputBlockReplySpansFiveZeroPaddedReports)
{
    SendFrame(m_device, MakeBlockReadFrame(0, kKindOutput, 0, true, true));
    std::vector<uint8_t> stream;
    uint8_t report[64];
    int nReports = 0;
    while (m_device.TakeReport(report, CVirtualProcessor::Clock::now())) {
        ++nReports;
        stream.insert(stream.end(), report, report + 64);
    }
    ASSERT_EQ(nReports, 5);
    // No sync run: the reply starts with the start byte and is 309 bytes.
    EXPECT_EQ(stream[0], kFrameStart);
    EXPECT_EQ(GetWord(&stream[9]), kOutBlockSize);
    EXPECT_EQ(stream[308], kFrameEnd);
    for (size_t i = 309; i < stream.size(); ++i)
        EXPECT_EQ(stream[i], 0) << i;
}


TEST_F(VirtualReportsTest, FramesInArbitraryChunksWithNoiseAreAllHandled)
{
    std::vector<std::unique_ptr<CSendData>> frames;
    for (int k = 0; k < kOutputs; ++k) {
        State().m_LiveImage[kOffOutput + kOutBlockSize * k + 250] = static_cast<uint8_t>(10 + k);
        frames.push_back(MakeBlockFrame(State(), 0, kKindOutput, k, true, false));
        frames.push_back(MakeSysReadFrame(kItemIdent, 0));
    }
    std::vector<uint8_t> stream;
    for (const auto& p : frames) {
        const uint8_t noise[] = {0x00, 0x13, 0x5C, 0x5C, 0x00};
        stream.insert(stream.end(), std::begin(noise), std::end(noise));
        stream.insert(stream.end(), p->Frame(), p->Frame() + p->Length());
    }
    std::mt19937 random(470);
    std::uniform_int_distribution<size_t> chunk(1, 90);
    for (size_t nPos = 0; nPos < stream.size();) {
        const size_t n = std::min(chunk(random), stream.size() - nPos);
        m_device.Receive(stream.data() + nPos, n);
        nPos += n;
    }
    const std::vector<ReplyFrame> replies = TakeReplies(m_device);
    ASSERT_EQ(replies.size(), frames.size());
    for (size_t i = 0; i < replies.size(); ++i)
        EXPECT_EQ(replies[i].nCommand, i % 2 == 0 ? kReplyAck : kReplyData) << i;
    const std::vector<uint8_t> live = m_device.LiveImage();
    for (int k = 0; k < kOutputs; ++k)
        EXPECT_EQ(live[kOffOutput + kOutBlockSize * k + 250], 10 + k);

    const std::vector<std::vector<uint8_t>> received = m_device.ReceivedFrames();
    ASSERT_EQ(received.size(), frames.size());
    for (size_t i = 0; i < frames.size(); ++i)
        EXPECT_EQ(received[i], std::vector<uint8_t>(frames[i]->Frame(), frames[i]->Frame() + frames[i]->Length()));
}

TEST_F(VirtualReportsTest, ReceivedFramesAreClearedAndBounded)
{
    SendFrame(m_device, MakeSysReadFrame(kItemIdent, 0));
    m_device.ClearReceivedFrames();
    EXPECT_TRUE(m_device.ReceivedFrames().empty());
    EXPECT_EQ(m_device.FramesReceived(), 1);

    const auto pLast = MakeSysReadFrame(kItemVariant, 0);
    const auto pOther = MakeSysReadFrame(kItemIdent, 0);
    for (size_t i = 0; i < CVirtualProcessor::kKeptFrames; ++i) {
        m_device.Receive(pOther->Frame(), static_cast<size_t>(pOther->Length()));
        TakeReplies(m_device);
    }
    m_device.Receive(pLast->Frame(), static_cast<size_t>(pLast->Length()));
    const std::vector<std::vector<uint8_t>> received = m_device.ReceivedFrames();
    EXPECT_EQ(received.size(), CVirtualProcessor::kKeptFrames);
    EXPECT_EQ(received.back(), std::vector<uint8_t>(pLast->Frame(), pLast->Frame() + pLast->Length()));
    EXPECT_EQ(m_device.FramesReceived(), static_cast<int>(CVirtualProcessor::kKeptFrames) + 2);
}

TEST_F(VirtualReportsTest, OversizedDeclaredLengthIsRefusedWithoutOverrun)
{
    // A header that claims a 1000-byte payload: the processor asks for a
    // resend and keeps listening.
    const uint8_t header[] = {0x5C, 0x5C, 0x5C, 0xEE, 0xA1, 0x01, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0xE8, 0x03, 0x11, 0x22};
    m_device.Receive(header, sizeof header);
    const std::vector<ReplyFrame> replies = TakeReplies(m_device);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].nCommand, kReplyResend);
    EXPECT_EQ(Exchange(m_device, MakeSysReadFrame(kItemIdent, 0)).nCommand, kReplyData);
}

TEST_F(VirtualReportsTest, ResetLinkDropsPartialFrameAndPendingReplies)
{
    SendFrame(m_device, MakeSysReadFrame(kItemIdent, 0));
    const auto pFrame = MakeSysReadFrame(kItemVariant, 0);
    m_device.Receive(pFrame->Frame(), 12);
    m_device.ResetLink();
    EXPECT_EQ(m_device.NextReportDue(), CVirtualProcessor::Clock::time_point::max());
    m_device.Receive(pFrame->Frame() + 12, static_cast<size_t>(pFrame->Length() - 12));
    EXPECT_TRUE(TakeReplies(m_device).empty());
    EXPECT_FALSE(m_device.IsVanished());
}

TEST_F(VirtualReportsTest, EditorAndLinkThreadsShareTheDevice)
{
    constexpr int kFrames = 200;
    const auto pFrame = MakeSysReadFrame(kItemIdent, 0);
    std::thread writer([&] {
        for (int i = 0; i < kFrames; ++i)
            m_device.Receive(pFrame->Frame(), static_cast<size_t>(pFrame->Length()));
    });
    int nReplies = 0;
    CFrameAssembler assembler([&](const uint8_t*, int, FrameCheck check) { nReplies += check == FrameCheck::Ok; });
    uint8_t report[64];
    // Bounded: the writer is done long before this many polls.
    for (int nPolls = 0; nReplies < kFrames && nPolls < 10000000; ++nPolls) {
        if (m_device.TakeReport(report, CVirtualProcessor::Clock::now()))
            assembler.Feed(report, sizeof report);
    }
    writer.join();
    EXPECT_EQ(nReplies, kFrames);
    EXPECT_EQ(m_device.FramesReceived(), kFrames);
}
