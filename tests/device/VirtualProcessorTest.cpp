#include <cstring>
#include <string>

#include "DeviceHarness.h"

namespace {
int OutputOffset(int nChannel)
{
    return kOffOutput + kOutBlockSize * nChannel;
}
}  // namespace

class VirtualProcessorTest : public ModelTest {
protected:
    CVirtualProcessor m_device;
};

// ---- Writes ------------------------------------------------------------------

TEST_F(VirtualProcessorTest, GroupWriteIsAppliedToLiveBlockAndAcknowledged)
{
    uint8_t* pGroup = State().m_LiveImage + OutputOffset(2) + 8 * 31;
    const uint8_t values[8] = {1, 1, 45, 0, 96, 0, 0, 7};
    std::memcpy(pGroup, values, 8);
    const ReplyFrame reply = Exchange(m_device, MakeGroupFrame(State(), kKindOutput, 2, 31));
    EXPECT_TRUE(reply.bOk);
    EXPECT_EQ(reply.nCommand, kReplyAck);
    EXPECT_EQ(reply.nKind, kKindOutput);
    EXPECT_EQ(reply.nItem, 2);
    EXPECT_EQ(reply.nMode, 31);
    EXPECT_TRUE(reply.payload.empty());
    EXPECT_EQ(Slice(m_device.LiveImage(), OutputOffset(2) + 8 * 31, 8), std::vector<uint8_t>(values, values + 8));
    // The neighbouring output is untouched.
    EXPECT_EQ(Slice(m_device.LiveImage(), OutputOffset(3), kOutBlockSize),
              Slice(m_device.SceneProgram(1), OutputOffset(3), kOutBlockSize));
}


TEST_F(VirtualProcessorTest, BlockWriteStoresSceneProgramOnly)
{
    std::memcpy(State().m_LiveImage, PatternImage(1).data(), kImageSize);
    const std::vector<uint8_t> liveBefore = m_device.LiveImage();
    const std::vector<uint8_t> otherBefore = m_device.SceneProgram(8);

    EXPECT_EQ(Exchange(m_device, MakeBlockFrame(State(), 7, kKindOutput, 3, true, false)).nCommand, kReplyAck);
    EXPECT_EQ(Exchange(m_device, MakeBlockFrame(State(), 7, kKindMusic, kMusicChannel, true, false)).nCommand, kReplyAck);

    const std::vector<uint8_t> program = m_device.SceneProgram(7);
    const std::vector<uint8_t> sent(State().m_LiveImage, State().m_LiveImage + kImageSize);
    EXPECT_EQ(Slice(program, OutputOffset(3), kOutBlockSize), Slice(sent, OutputOffset(3), kOutBlockSize));
    EXPECT_EQ(Slice(program, kOffMusic, kInBlockSize), Slice(sent, kOffMusic, kInBlockSize));
    EXPECT_EQ(m_device.LiveImage(), liveBefore);
    EXPECT_EQ(m_device.SceneProgram(8), otherBefore);
}

TEST_F(VirtualProcessorTest, EffectProgramWriteFillsFirstTwelveGroups)
{
    uint8_t* pEntry = State().EffectProgEntry(25);
    for (int i = 0; i < kEffectProgSize; ++i)
        pEntry[i] = static_cast<uint8_t>(200 - i);
    const std::vector<uint8_t> before = m_device.EffectProgram(25);

    EXPECT_EQ(Exchange(m_device, MakeBlockFrame(State(), 25, kKindEffect, 0, false, false)).nCommand, kReplyAck);

    const std::vector<uint8_t> program = m_device.EffectProgram(25);
    EXPECT_EQ(Slice(program, kNameSize, kEffectWriteSize),
              std::vector<uint8_t>(pEntry + kNameSize, pEntry + kNameSize + kEffectWriteSize));
    EXPECT_EQ(Slice(program, kNameSize + kEffectWriteSize, kEffectBlockSize - kEffectWriteSize),
              Slice(before, kNameSize + kEffectWriteSize, kEffectBlockSize - kEffectWriteSize));
}

TEST_F(VirtualProcessorTest, MuteBracketOfSceneWriteEndsUnmuted)
{
    // The editor mutes every output, writes the blocks, then restores the
    // mute bytes; the processor must end with the restored bytes.
    for (int k = 0; k < kOutputs; ++k) {
        State().m_LiveImage[OutputOffset(k) + 248] = 0;
        SendFrame(m_device, MakeGroupFrame(State(), kKindOutput, k, 31));
    }
    for (int k = 0; k < kOutputs; ++k)
        SendFrame(m_device, MakeBlockFrame(State(), 0, kKindOutput, k, true, false));
    for (int k = 0; k < kOutputs; ++k) {
        State().m_LiveImage[OutputOffset(k) + 248] = k == 4 ? 1 : 0;
        SendFrame(m_device, MakeGroupFrame(State(), kKindOutput, k, 31));
    }
    const std::vector<ReplyFrame> replies = TakeReplies(m_device);
    ASSERT_EQ(replies.size(), 18u);
    for (const ReplyFrame& r : replies)
        EXPECT_EQ(r.nCommand, kReplyAck);
    EXPECT_EQ(m_device.LiveImage()[OutputOffset(4) + 248], 1);
    EXPECT_EQ(m_device.LiveImage()[OutputOffset(3) + 248], 0);
}

// Every system item the editor writes reads back as it was sent.
TEST_F(VirtualProcessorTest, SystemItemWritesReadBack)
{
    for (int i = 0; i < kControlSize; ++i)
        State().m_ControlBlock[i] = static_cast<uint8_t>(i + 1);
    for (int i = 0; i < kInfoTextSize; ++i)
        State().m_InfoText[i] = static_cast<uint8_t>('A' + i % 26);
    const uint8_t lock[kLockSize] = {1, 'p', 'a', 's', 's', '1', '2'};
    std::memcpy(State().m_LockBlock, lock, kLockSize);
    for (int i = 0; i < kDelayTableSize; ++i)
        State().m_DelayTable[i] = static_cast<uint8_t>(3 * i);
    State().m_nLowPassLimit = 1234;
    const int nBytes[] = {kItemBacklight, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 48, 49};
    for (int nItem : nBytes)
        State().m_SysBytes[nItem] = static_cast<uint8_t>(nItem + 5);

    std::vector<int> items = {kItemControl, kItemInfoText, kItemLock, kItemDelayTable, kItemLowPassLimit};
    items.insert(items.end(), std::begin(nBytes), std::end(nBytes));
    for (int nItem : items) {
        SCOPED_TRACE(nItem);
        const auto pWrite = MakeSysFrame(State(), nItem, 0);
        const std::vector<uint8_t> sent(pWrite->Frame() + 14, pWrite->Frame() + pWrite->Length() - 2);
        EXPECT_EQ(Exchange(m_device, pWrite).nCommand, kReplyAck);
        const ReplyFrame reply = Exchange(m_device, MakeSysReadFrame(nItem, 0));
        EXPECT_EQ(reply.nCommand, kReplyData);
        EXPECT_EQ(reply.nItem, nItem);
        EXPECT_EQ(reply.payload, sent);
    }
    EXPECT_EQ(m_device.SystemByte(36), 41);
    EXPECT_EQ(m_device.SystemByte(kItemLowPassLimit), 1234);
    EXPECT_EQ(m_device.DelayTable(), std::vector<uint8_t>(State().m_DelayTable, State().m_DelayTable + kDelayTableSize));
}

TEST_F(VirtualProcessorTest, NamesOfScenesAndEffectProgramsAreKeptApart)
{
    std::memcpy(State().SceneEntry(3), "Party room    \0", 16);
    std::memcpy(State().EffectProgEntry(22), "Hall          \0", 16);
    std::memcpy(State().m_LiveImage, "Live          \0", 16);
    SendFrame(m_device, MakeSysFrame(State(), kItemSceneName, 3));
    SendFrame(m_device, MakeSysFrame(State(), kItemEffectName, 22));
    SendFrame(m_device, MakeSysFrame(State(), kItemSceneName, 0));
    EXPECT_EQ(TakeReplies(m_device).size(), 3u);

    const auto name = [](const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); };
    EXPECT_EQ(name(Exchange(m_device, MakeSysReadFrame(kItemSceneName, 3)).payload), std::string("Party room    \0\0", 16));
    EXPECT_EQ(name(Exchange(m_device, MakeSysReadFrame(kItemEffectName, 22)).payload), std::string("Hall          \0\0", 16));
    EXPECT_EQ(name(Slice(m_device.LiveImage(), 0, 16)), std::string("Live          \0\0", 16));
    // Scene program 4 keeps its blank name.
    EXPECT_EQ(name(Exchange(m_device, MakeSysReadFrame(kItemSceneName, 4)).payload),
              std::string(15, ' ') + std::string(1, '\0'));
}

TEST_F(VirtualProcessorTest, DefaultSetupKeepsCopyOfLiveSettings)
{
    EXPECT_TRUE(m_device.DefaultSettings().empty());
    State().m_LiveImage[OutputOffset(0) + 250] = 12;
    SendFrame(m_device, MakeGroupFrame(State(), kKindOutput, 0, 31));
    SendFrame(m_device, MakeSysFrame(State(), kItemDefaultSetup, 0));
    const std::vector<uint8_t> stored = m_device.LiveImage();
    State().m_LiveImage[OutputOffset(0) + 250] = 40;
    SendFrame(m_device, MakeGroupFrame(State(), kKindOutput, 0, 31));
    EXPECT_EQ(TakeReplies(m_device).size(), 3u);
    EXPECT_EQ(m_device.DefaultSettings(), stored);
    EXPECT_NE(m_device.LiveImage(), stored);
}

// ---- Frames that address nothing -----------------------------------------

namespace {
// A frame the editor's builders refuse to make, built by hand.
std::unique_ptr<CSendData> HandFrame(uint8_t nCommand, int nPreset, int nKind, int nChannel, int nGroup,
                                     const std::vector<uint8_t>& payload)
{
    FrameArea area;
    area.header[kFoCommand] = nCommand;
    area.header[kFoAddress] = kDeviceAddress;
    area.header[kFoPreset] = static_cast<uint8_t>(nPreset);
    area.header[kFoKind] = static_cast<uint8_t>(nKind);
    area.header[kFoChannel] = static_cast<uint8_t>(nChannel);
    area.header[kFoGroup] = static_cast<uint8_t>(nGroup);
    PutWord(area.header + kFoLength, static_cast<int>(payload.size()));
    std::copy(payload.begin(), payload.end(), area.payload);
    const int nLength = static_cast<int>(payload.size()) + kFrameOverhead;
    auto p = std::make_unique<CSendData>(nLength);
    FinishFrame(area, p->Frame(), nLength);
    return p;
}
}  // namespace

TEST_F(VirtualProcessorTest, UnaddressableWritesAreAcknowledgedAndChangeNothing)
{
    const DeviceState before(m_device);
    const std::vector<uint8_t> group(8, 0xEE);
    const std::vector<std::unique_ptr<CSendData>> frames = [&] {
        std::vector<std::unique_ptr<CSendData>> v;
        v.push_back(HandFrame(kCmdWrite, 0, kKindOutput, 0, 37, group));                 // past the block
        v.push_back(HandFrame(kCmdWrite, 0, kKindOutput, 6, 0, group));                  // no output 7
        v.push_back(HandFrame(kCmdWrite, 0, kKindMusic, 0, 0, group));                   // music is channel 2
        v.push_back(HandFrame(kCmdWrite, 0, kKindMic, 0, 14, group));                    // past the block
        v.push_back(HandFrame(kCmdWrite, 21, kKindOutput, 0, 0, group));                 // no output in effect programs
        v.push_back(HandFrame(kCmdWrite, 41, kKindMic, 0, 0, group));                    // no program 41
        v.push_back(HandFrame(kCmdWrite, 3, kKindMic, 0, 0, std::vector<uint8_t>(100, 0xEE)));  // short block
        v.push_back(HandFrame(kCmdWrite, 0, kKindSystem, kItemDelayTable, 0, std::vector<uint8_t>(10, 0xEE)));
        v.push_back(HandFrame(kCmdWrite, 0, kKindSystem, 34, 0, {1, 2}));
        v.push_back(HandFrame(kCmdWrite, 0, kKindSystem, kItemVariant, 0, {2}));        // read-only
        v.push_back(HandFrame(kCmdWrite, 0, kKindSystem, 99, 0, {1}));                  // unknown item
        v.push_back(HandFrame(kCmdWrite, 30, kKindSystem, kItemSceneName, 0, std::vector<uint8_t>(16, 'x')));
        v.push_back(HandFrame(kCmdWrite, 0, 5, 0, 0, group));                           // unknown kind
        return v;
    }();
    for (const auto& p : frames)
        SendFrame(m_device, p);
    const std::vector<ReplyFrame> replies = TakeReplies(m_device);
    ASSERT_EQ(replies.size(), frames.size());
    for (const ReplyFrame& r : replies)
        EXPECT_EQ(r.nCommand, kReplyAck);
    EXPECT_TRUE(DeviceState(m_device) == before);
    EXPECT_EQ(Exchange(m_device, MakeSysReadFrame(kItemVariant, 0)).payload, std::vector<uint8_t>{1});
}

TEST_F(VirtualProcessorTest, CorruptedFrameGetsResendRequestAndChangesNothing)
{
    const DeviceState before(m_device);
    State().m_LiveImage[OutputOffset(1) + 250] = 5;
    auto pFrame = MakeGroupFrame(State(), kKindOutput, 1, 31);
    pFrame->Frame()[16] ^= 0x01;  // a payload byte flipped on the way
    const ReplyFrame reply = Exchange(m_device, pFrame);
    EXPECT_TRUE(reply.bOk);
    EXPECT_EQ(reply.nCommand, kReplyResend);
    EXPECT_TRUE(reply.payload.empty());
    EXPECT_TRUE(DeviceState(m_device) == before);

    // Sent again intact, it is applied.
    EXPECT_EQ(Exchange(m_device, MakeGroupFrame(State(), kKindOutput, 1, 31)).nCommand, kReplyAck);
    EXPECT_EQ(m_device.LiveImage()[OutputOffset(1) + 250], 5);
}

TEST_F(VirtualProcessorTest, WrongEndByteGetsResendRequest)
{
    auto pFrame = MakeSysFrame(State(), kItemBacklight, 0);
    pFrame->Frame()[pFrame->Length() - 1] = 0x00;
    EXPECT_EQ(Exchange(m_device, pFrame).nCommand, kReplyResend);
}
