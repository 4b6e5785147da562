#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "DataDefine.h"
#include "Frame.h"
#include "FrameBuilder.h"
#include "KTVCommand.h"
#include "ModelFixture.h"

namespace {

// A reply as the processor sends it: sync, header, payload, checksum, end.
std::vector<uint8_t> Reply(uint8_t nCommand, int nPreset, int nKind, int nItem, int nMode,
                           const std::vector<uint8_t>& payload = {})
{
    const uint8_t header[] = {0x5C, 0x5C, 0x5C, 0xEE, nCommand, 1, static_cast<uint8_t>(nPreset),
                              static_cast<uint8_t>(nKind), static_cast<uint8_t>(nItem), static_cast<uint8_t>(nMode),
                              0, 0, static_cast<uint8_t>(payload.size() & 0xFF),
                              static_cast<uint8_t>(payload.size() >> 8)};
    // Sized once and filled in place: growing a vector here trips GCC 12's
    // false -O3 bounds warnings.
    std::vector<uint8_t> f(sizeof header + payload.size() + 2);
    std::copy(std::begin(header), std::end(header), f.begin());
    std::copy(payload.begin(), payload.end(), f.begin() + sizeof header);
    const size_t nBody = sizeof header + payload.size();
    f[nBody] = FrameChecksum(f.data() + 4, static_cast<int>(nBody) - 4);
    f[nBody + 1] = 0xAA;
    return f;
}

}  // namespace

class ReceiverTest : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        m_cmd.SetDeviceOpen(true);
    }
    // Feeds bytes in reports of nChunk data bytes; true if a frame completed.
    bool Feed(const std::vector<uint8_t>& bytes, size_t nChunk = 64)
    {
        bool bDone = false;
        for (size_t i = 0; i < bytes.size(); i += nChunk) {
            uint8_t report[kReportSize] = {};
            const size_t n = std::min(nChunk, bytes.size() - i);
            std::memcpy(report + 1, bytes.data() + i, n);
            bDone = m_cmd.FeedReport(report, static_cast<int>(n + 1)) || bDone;
        }
        return bDone;
    }
    void Queue(int nCount)
    {
        for (int i = 0; i < nCount; ++i)
            m_cmd.AddSendData(MakeSysReadFrame(kItemLevels, 0));
    }

    CKTVCommand m_cmd{State()};
};

TEST_F(ReceiverTest, FramesAreFoundInAnyChunking)
{
    Queue(3);
    std::vector<uint8_t> stream = {0x12, 0x5C, 0x00, 0x5C, 0x5C, 0x5C, 0x5C};  // noise, short and long sync runs
    const std::vector<uint8_t> ack = Reply(kReplyAck, 0, 9, 3, 0);
    stream.insert(stream.end(), ack.begin(), ack.end());
    stream.insert(stream.end(), {0, 0, 0});  // padding after a frame is skipped while hunting
    for (size_t chunk : {1u, 5u, 64u}) {
        EXPECT_TRUE(Feed(stream, chunk)) << chunk;
    }
    EXPECT_EQ(m_cmd.GetCount(), 0);
    // A frame that starts with its start byte after a short sync run.
    Queue(1);
    std::vector<uint8_t> shortSync(ack.begin() + 2, ack.end());
    EXPECT_TRUE(Feed(shortSync));
    EXPECT_EQ(m_cmd.GetCount(), 0);
}

TEST_F(ReceiverTest, BadFramesAreDroppedAndTheHeadStays)
{
    Queue(1);
    std::vector<uint8_t> bad = Reply(kReplyAck, 0, 9, 3, 0);
    bad[bad.size() - 2] ^= 0xFF;
    EXPECT_TRUE(Feed(bad));
    EXPECT_EQ(m_cmd.GetCount(), 1);
    EXPECT_EQ(m_cmd.Status(kStatusFrameError), 1);
    // Declared longer than any buffer: dropped, and the next frame is found.
    std::vector<uint8_t> huge = {0x5C, 0x5C, 0x5C, 0xEE, 0x53, 1, 0, 4, 0, 0x77, 0, 0, 0xFF, 0x7F};
    Feed(huge);
    Feed(Reply(kReplyAck, 0, 9, 3, 0));
    EXPECT_EQ(m_cmd.GetCount(), 0);
    // An unknown command is not acted on; the receiver hunts again.
    Queue(1);
    EXPECT_TRUE(Feed(Reply(0x60, 0, 9, 3, 0)));
    EXPECT_EQ(m_cmd.GetCount(), 1);
    EXPECT_TRUE(Feed(Reply(kReplyAck, 0, 9, 3, 0)));
    EXPECT_EQ(m_cmd.GetCount(), 0);
}

TEST_F(ReceiverTest, ResendRewindsAWholeBlockWrite)
{
    m_cmd.AddSendData(MakeBlockFrame(State(), 0, kKindOutput, 0, true, false));
    uint8_t report[kReportSize];
    int nReports = 0;
    while (m_cmd.GetHead()->FillNextReport(report))
        ++nReports;
    EXPECT_EQ(nReports, 5);
    Feed(Reply(kReplyResend, 0, 4, 0, 0));
    ASSERT_EQ(m_cmd.GetCount(), 1);
    nReports = 0;
    while (m_cmd.GetHead()->FillNextReport(report))
        ++nReports;
    EXPECT_EQ(nReports, 5);
}

TEST_F(ReceiverTest, NothingIsParsedWhileTheDeviceIsClosed)
{
    Queue(1);
    m_cmd.SetDeviceOpen(false);
    EXPECT_FALSE(Feed(Reply(kReplyAck, 0, 9, 3, 0)));
    EXPECT_EQ(m_cmd.GetCount(), 1);
}

TEST_F(ReceiverTest, BlockRepliesLandWhereTheirModeAndPresetSay)
{
    std::vector<uint8_t> block(kOutBlockSize, 0x33);
    Queue(1);
    Feed(Reply(kReplyData, 7, kKindOutput, 2, kModeLibrary, block));
    EXPECT_EQ(m_cmd.GetCount(), 0);
    EXPECT_EQ(State().SceneEntry(7)[kOffOutput + 2 * kOutBlockSize], 0x33);
    EXPECT_NE(State().m_LiveImage[kOffOutput + 2 * kOutBlockSize], 0x33);

    // A recalled microphone block is limited to the volume range; a live
    // read keeps it.
    std::vector<uint8_t> mic(kInBlockSize, 0);
    PutWord(mic.data() + 78, 95);  // item 34 is 90
    Feed(Reply(kReplyData, 3, kKindMic, 0, 0, mic));
    EXPECT_EQ(GetWord(State().m_LiveImage + kOffMic + 78), 90);
    Feed(Reply(kReplyData, 0, kKindMic, 0, kModeLibrary, mic));
    EXPECT_EQ(GetWord(State().m_LiveImage + kOffMic + 78), 95);

    // The music block is addressed as channel 2; whatever channel a reply
    // names, it lands in the music block and nowhere else.
    std::vector<uint8_t> music(kInBlockSize, 0x44);
    const std::vector<uint8_t> before(State().m_LiveImage, State().m_LiveImage + kImageSize);
    Feed(Reply(kReplyData, 0, kKindMusic, 2, kModeLibrary, music));
    for (int i = 0; i < kImageSize; ++i) {
        const bool bMusic = i >= kOffMusic && i < kOffMusic + kInBlockSize;
        ASSERT_EQ(State().m_LiveImage[i], bMusic ? 0x44 : before[i]) << i;
    }

    // A payload longer than its block stops at the block's end.
    std::vector<uint8_t> longMic(200, 0x55);
    Feed(Reply(kReplyData, 0, kKindMic, 0, kModeLibrary, longMic));
    EXPECT_EQ(State().m_LiveImage[kOffMic + kInBlockSize - 1], 0x55);
    EXPECT_EQ(State().m_LiveImage[kOffMusic], 0x44);
}

TEST_F(ReceiverTest, OutputFiveEndsReadsWithTheirNotification)
{
    std::vector<uint8_t> block(kOutBlockSize, 1);
    Feed(Reply(kReplyData, 0, kKindOutput, 5, kModeLibrary, block));
    Feed(Reply(kReplyData, 10, kKindOutput, 5, kModeLibrary, block));
    Feed(Reply(kReplyData, 4, kKindOutput, 5, 0, block));
    Feed(Reply(kReplyData, 4, kKindOutput, 4, 0, block));
    EXPECT_EQ(m_sink.Count(kMsgLiveReadDone), 2);
    EXPECT_EQ(m_sink.Count(kMsgAllScenesRead), 1);
}

TEST_F(ReceiverTest, SystemItemReplies)
{
    Feed(Reply(kReplyData, 0, 9, kItemLowPassSwitch, 0, {7, 9}));
    EXPECT_EQ(State().m_SysBytes[kItemLowPassSwitch], 9);
    EXPECT_EQ(m_sink.Count(kMsgDelayTable), 1);

    // Names: control characters and bytes above 0x7F become spaces; 13 and 14 always are.
    std::vector<uint8_t> name = {'A', 0x01, 'B', 0xC8, 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', 'N'};
    State().SceneEntry(6)[15] = 0x21;
    Feed(Reply(kReplyData, 6, 9, kItemSceneName, 0, name));
    EXPECT_EQ(0, std::memcmp(State().SceneEntry(6), "A B CDEFGHIJK  ", 15));
    EXPECT_EQ(State().SceneEntry(6)[15], 0x21);

    Feed(Reply(kReplyData, 0, 9, kItemLock, 0, {1, ' ', 'p', 0x05, 'w', 0xF0, ' '}));
    EXPECT_EQ(State().m_nLockState, 1);
    EXPECT_EQ(State().m_strPassword, "p w");

    std::vector<uint8_t> levels(14, 0);
    levels[4] = 55;
    Feed(Reply(kReplyData, 0, 9, kItemLevels, 0, levels));
    EXPECT_EQ(State().m_nLevelTable[4], 55);
    EXPECT_EQ(m_sink.Count(kMsgLevels), 1);

    std::vector<uint8_t> delays(80, 9);  // longer than the table: cut at 50
    const int nAfter = State().m_nLevelTable[0];
    Feed(Reply(kReplyData, 0, 9, kItemDelayTable, 0, delays));
    EXPECT_EQ(State().m_DelayTable[49], 9);
    EXPECT_EQ(State().m_nLevelTable[0], nAfter);

    Feed(Reply(kReplyData, 0, 9, kItemVariant, 0, {2}));
    EXPECT_EQ(m_sink.Count(kMsgVariant), 1);
}

TEST_F(ReceiverTest, EmptyDataReplyFlagsTheDevice)
{
    Queue(1);
    Feed(Reply(kReplyData, 0, 9, kItemInfoText, 0));
    EXPECT_EQ(m_sink.Count(kMsgEmptyReply), 1);
    EXPECT_EQ(State().m_bDeviceAbnormal.load(), 1);
}

TEST_F(ReceiverTest, ProgressHookFollowsBatchTags)
{
    // Tags 0 … 7, the last closing a write batch.
    for (int i = 0; i < 8; ++i) {
        auto pFrame = MakeSysReadFrame(kItemLevels, 0);
        pFrame->m_bBatch = 1;
        pFrame->m_nProgressTag = i;
        pFrame->m_bEndOfWrite = i == 7 ? 1 : 0;
        uint8_t report[kReportSize];
        while (pFrame->FillNextReport(report)) {
        }
        m_cmd.AddSendData(std::move(pFrame));
    }
    Feed(Reply(kReplyAck, 0, 9, 3, 0));
    EXPECT_EQ(m_cmd.m_nProgressPos.load(), 0);  // tag 0 never moves the bar
    for (int i = 1; i < 7; ++i)
        Feed(Reply(kReplyAck, 0, 9, 3, 0));
    EXPECT_EQ(m_cmd.m_nProgressPos.load(), 6);
    EXPECT_EQ(m_sink.Count(kMsgBatchProgress), 0);
    Feed(Reply(kReplyAck, 0, 9, 3, 0));
    EXPECT_EQ(m_cmd.m_nProgressPos.load(), 7);
    EXPECT_EQ(m_sink.Count(kMsgBatchProgress), 1);
    // With the queue empty, replies move nothing and remove nothing.
    Feed(Reply(kReplyAck, 0, 9, 3, 0));
    EXPECT_EQ(m_sink.Count(kMsgBatchProgress), 1);
    EXPECT_EQ(m_cmd.GetCount(), 0);
}

TEST_F(ReceiverTest, RequeuedCommandRaisesDataError)
{
    auto pFrame = MakeSysReadFrame(kItemLevels, 0);
    pFrame->m_nAttempts = 11;
    m_cmd.AddSendData(std::move(pFrame));
    EXPECT_EQ(m_cmd.GetCount(), 1);
    EXPECT_EQ(m_sink.Count(kMsgDataError), 1);
}

TEST_F(ReceiverTest, AFrameSentForAnotherClientHandsItsAnswerOnAndLeavesTheModel)
{
    const std::vector<uint8_t> block(kOutBlockSize, 0x66);
    const std::vector<uint8_t> before(State().m_LiveImage, State().m_LiveImage + kImageSize);
    for (const std::vector<uint8_t>& answer :
         {Reply(kReplyAck, 0, 9, 3, 0), Reply(kReplyResend, 0, 4, 0, 0), Reply(kReplyData, 0, kKindOutput, 1, 0, block)}) {
        std::vector<uint8_t> relayed;
        auto pFrame = MakeSysReadFrame(kItemLevels, 0);
        pFrame->m_onAnswer = [&relayed](const uint8_t* p, int n) { relayed.assign(p, p + n); };
        m_cmd.AddSendData(std::move(pFrame));
        Queue(1);
        EXPECT_TRUE(Feed(answer));
        // Numbered from the start byte, as the receiver numbers every frame.
        EXPECT_EQ(relayed, std::vector<uint8_t>(answer.begin() + 3, answer.end()));
        EXPECT_EQ(m_cmd.GetCount(), 1);  // only the room's own command is left
        m_cmd.ClearQueue();
    }
    EXPECT_EQ(std::vector<uint8_t>(State().m_LiveImage, State().m_LiveImage + kImageSize), before);
}
