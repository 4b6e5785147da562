#include <string>

#include "DeviceHarness.h"

namespace {
int OutputOffset(int nChannel)
{
    return kOffOutput + kOutBlockSize * nChannel;
}
}  // namespace

class VirtualReadTest : public ModelTest {
protected:
    CVirtualProcessor m_device;
};

// ---- Blocks ------------------------------------------------------------------

TEST_F(VirtualReadTest, LiveReadAnswersWithLiveBlocks)
{
    const std::vector<uint8_t> pattern = PatternImage(2);
    m_device.SetLiveImage(pattern);
    const ReplyFrame output = Exchange(m_device, MakeBlockReadFrame(0, kKindOutput, 5, true, true));
    EXPECT_TRUE(output.bOk);
    EXPECT_EQ(output.nCommand, kReplyData);
    EXPECT_EQ(output.nPreset, 0);
    EXPECT_EQ(output.nItem, 5);
    EXPECT_EQ(output.nMode, kModeLibrary);
    EXPECT_EQ(output.payload, Slice(pattern, OutputOffset(5), kOutBlockSize));

    const ReplyFrame music = Exchange(m_device, MakeBlockReadFrame(0, kKindMusic, kMusicChannel, true, true));
    EXPECT_EQ(music.nItem, kMusicChannel);
    EXPECT_EQ(music.payload, Slice(pattern, kOffMusic, kInBlockSize));
    const ReplyFrame mic = Exchange(m_device, MakeBlockReadFrame(0, kKindMic, 0, true, true));
    EXPECT_EQ(mic.payload, Slice(pattern, kOffMic, kInBlockSize));
    // The whole effect block, though only 96 bytes of it travel in a write.
    const ReplyFrame effect = Exchange(m_device, MakeBlockReadFrame(0, kKindEffect, 0, true, true));
    EXPECT_EQ(effect.payload, Slice(pattern, kOffEffect, kEffectBlockSize));
    EXPECT_EQ(m_device.LiveImage(), pattern);
}

TEST_F(VirtualReadTest, LibraryReadAnswersProgramAndLeavesLiveAlone)
{
    const std::vector<uint8_t> program = PatternImage(3);
    m_device.SetSceneProgram(4, program);
    const std::vector<uint8_t> live = m_device.LiveImage();

    const ReplyFrame reply = Exchange(m_device, MakeBlockReadFrame(4, kKindOutput, 2, false, true));
    EXPECT_EQ(reply.nMode, kModeLibrary);
    EXPECT_EQ(reply.nPreset, 4);
    EXPECT_EQ(reply.payload, Slice(program, OutputOffset(2), kOutBlockSize));
    EXPECT_EQ(m_device.LiveImage(), live);
}

TEST_F(VirtualReadTest, RecallCopiesProgramBlockIntoLive)
{
    const std::vector<uint8_t> program = PatternImage(4);
    m_device.SetSceneProgram(9, program);
    const std::vector<uint8_t> liveBefore = m_device.LiveImage();

    const ReplyFrame reply = Exchange(m_device, MakeBlockReadFrame(9, kKindMusic, kMusicChannel, true, true));
    EXPECT_EQ(reply.nMode, 0);
    EXPECT_EQ(reply.payload, Slice(program, kOffMusic, kInBlockSize));

    const std::vector<uint8_t> live = m_device.LiveImage();
    EXPECT_EQ(Slice(live, kOffMusic, kInBlockSize), Slice(program, kOffMusic, kInBlockSize));
    // Only the asked block is recalled.
    EXPECT_EQ(Slice(live, kOffOutput, kOutBlockSize), Slice(liveBefore, kOffOutput, kOutBlockSize));
    EXPECT_EQ(m_device.SceneProgram(9), program);
}

TEST_F(VirtualReadTest, EffectProgramRecallAndLibraryRead)
{
    uint8_t* pEntry = State().EffectProgEntry(30);
    for (int i = 0; i < kEffectProgSize; ++i)
        pEntry[i] = static_cast<uint8_t>(i + 9);
    SendFrame(m_device, MakeBlockFrame(State(), 30, kKindEffect, 0, false, false));
    EXPECT_EQ(TakeReplies(m_device).size(), 1u);
    const std::vector<uint8_t> program = m_device.EffectProgram(30);
    const std::vector<uint8_t> liveBefore = m_device.LiveImage();

    const ReplyFrame library = Exchange(m_device, MakeBlockReadFrame(30, kKindEffect, 0, false, true));
    EXPECT_EQ(library.payload, Slice(program, kNameSize, kEffectBlockSize));
    EXPECT_EQ(m_device.LiveImage(), liveBefore);

    const ReplyFrame recall = Exchange(m_device, MakeBlockReadFrame(30, kKindEffect, 0, true, true));
    EXPECT_EQ(recall.payload, Slice(program, kNameSize, kEffectBlockSize));
    EXPECT_EQ(Slice(m_device.LiveImage(), kOffEffect, kEffectBlockSize), Slice(program, kNameSize, kEffectBlockSize));
}

TEST_F(VirtualReadTest, ScenesStartAsCopiesOfLiveWithBlankNames)
{
    const std::vector<uint8_t> live = m_device.LiveImage();
    for (int n = 1; n <= kSceneEntries; ++n) {
        const std::vector<uint8_t> scene = m_device.SceneProgram(n);
        ASSERT_EQ(scene.size(), static_cast<size_t>(kImageSize));
        EXPECT_EQ(std::string(scene.begin(), scene.begin() + 16), std::string(15, ' ') + std::string(1, '\0'));
        EXPECT_EQ(scene, live);
    }
    EXPECT_TRUE(m_device.SceneProgram(0).empty());
    EXPECT_TRUE(m_device.SceneProgram(21).empty());
    EXPECT_TRUE(m_device.EffectProgram(20).empty());
}

// The editor limits recalled volumes to its system items and loads the
// output crossover with limits: start-up values must lie inside them.
TEST_F(VirtualReadTest, StartupSettingsFitTheEditorsLimits)
{
    const std::vector<uint8_t> live = m_device.LiveImage();
    for (int nItem = 32; nItem <= 39; ++nItem)
        EXPECT_EQ(m_device.SystemByte(nItem), State().m_SysBytes[nItem]) << nItem;
    EXPECT_EQ(m_device.SystemByte(kItemLowPassLimit), State().m_nLowPassLimit);
    const int nMicVolume = GetWord(&live[kOffMic + 78]);
    const int nMusicVolume = GetWord(&live[kOffMusic + 78]);
    EXPECT_GE(nMicVolume, State().m_SysBytes[35]);
    EXPECT_LE(nMicVolume, State().m_SysBytes[34]);
    EXPECT_GE(nMusicVolume, State().m_SysBytes[39]);
    EXPECT_LE(nMusicVolume, State().m_SysBytes[38]);
    EXPECT_GE(live[kOffEffect + 139], State().m_SysBytes[37]);
    EXPECT_LE(live[kOffEffect + 139], State().m_SysBytes[36]);
    for (int k = 0; k < kOutputs; ++k) {
        const uint8_t* pBlock = &live[OutputOffset(k)];
        EXPECT_EQ(GetWord(pBlock + 250), 60);  // 0 dB
        EXPECT_EQ(GetWord(pBlock + 252), 0);
        EXPECT_EQ(pBlock[254], 1);
        EXPECT_EQ(GetWord(pBlock + 256), kMinFreq);
        EXPECT_EQ(GetWord(pBlock + 260), kMaxFreq);
        for (int g = 0; g < kGraphicBands; ++g)
            EXPECT_EQ(GetWord(pBlock + 8 * g + 2), kGainCodeZero + kGainWireOffset);
    }
}

TEST_F(VirtualReadTest, UnaddressableReadsGetAcknowledgementNotEmptyData)
{
    const std::unique_ptr<CSendData> frames[] = {
        MakeBlockReadFrame(0, kKindOutput, 6, true, true),
        MakeBlockReadFrame(0, kKindMusic, 0, true, true),
        MakeBlockReadFrame(25, kKindOutput, 0, false, true),
        MakeBlockReadFrame(50, kKindEffect, 0, false, true),
        MakeSysReadFrame(99, 0),
        MakeSysReadFrame(kItemDefaultSetup, 0),
        MakeSysReadFrame(kItemSceneName, 33),
    };
    for (const auto& p : frames) {
        const ReplyFrame reply = Exchange(m_device, p);
        EXPECT_EQ(reply.nCommand, kReplyAck);
        EXPECT_TRUE(reply.payload.empty());
    }
}

// ---- System items ------------------------------------------------------------

TEST_F(VirtualReadTest, IdentificationAndVariant)
{
    const ReplyFrame id = Exchange(m_device, MakeSysReadFrame(kItemIdent, 0));
    EXPECT_EQ(id.nCommand, kReplyData);
    EXPECT_EQ(std::string(id.payload.begin(), id.payload.end()), "SVH1-WV1.00");

    EXPECT_EQ(Exchange(m_device, MakeSysReadFrame(kItemVariant, 0)).payload, std::vector<uint8_t>{1});
    m_device.SetVariant(2);
    EXPECT_EQ(Exchange(m_device, MakeSysReadFrame(kItemVariant, 0)).payload, std::vector<uint8_t>{2});
}

TEST_F(VirtualReadTest, LowPassSwitchTravelsInSecondByte)
{
    State().m_SysBytes[kItemLowPassSwitch] = 1;
    SendFrame(m_device, MakeSysFrame(State(), kItemLowPassSwitch, 0));
    EXPECT_EQ(TakeReplies(m_device).size(), 1u);
    EXPECT_EQ(m_device.SystemByte(kItemLowPassSwitch), 1);
    EXPECT_EQ(Exchange(m_device, MakeSysReadFrame(kItemLowPassSwitch, 0)).payload, (std::vector<uint8_t>{0, 1}));
}


TEST_F(VirtualReadTest, LevelReadingsMoveUntilSet)
{
    const ReplyFrame first = Exchange(m_device, MakeGroupFrame(State(), kKindLevelRequest, 0, 0));
    ASSERT_EQ(first.payload.size(), static_cast<size_t>(kLevelEntries + 2));
    bool bMoved = false;
    for (int i = 0; i < 5 && !bMoved; ++i)
        bMoved = Exchange(m_device, MakeGroupFrame(State(), kKindLevelRequest, 0, 0)).payload != first.payload;
    EXPECT_TRUE(bMoved);

    std::array<int, kLevelEntries> levels{};
    for (int i = 0; i < kLevelEntries; ++i)
        levels[i] = i * 5;
    levels[11] = 999;  // beyond a byte: sent as the highest reading
    m_device.SetLevels(levels);
    for (int n = 0; n < 2; ++n) {
        const ReplyFrame reply = Exchange(m_device, MakeGroupFrame(State(), kKindLevelRequest, 0, 0));
        ASSERT_EQ(reply.payload.size(), static_cast<size_t>(kLevelEntries + 2));
        for (int i = 0; i < 11; ++i)
            EXPECT_EQ(reply.payload[i], i * 5);
        EXPECT_EQ(reply.payload[11], 255);
    }
}

TEST_F(VirtualReadTest, FullSystemReadOfConnectSequenceIsAnsweredWithData)
{
    SendFrame(m_device, MakeSysReadFrame(kItemVariant, 0));
    for (int p = 1; p <= 10; ++p)
        SendFrame(m_device, MakeSysReadFrame(kItemSceneName, p));
    const int nItems[] = {1, 0, 2, 3, 16, 18, 18, 20, 34, 35, 36, 37, 38, 39, 64};
    for (int nItem : nItems)
        SendFrame(m_device, MakeSysReadFrame(nItem, 0));
    const std::vector<ReplyFrame> replies = TakeReplies(m_device);
    ASSERT_EQ(replies.size(), 11u + std::size(nItems));
    for (const ReplyFrame& r : replies) {
        EXPECT_TRUE(r.bOk);
        EXPECT_EQ(r.nCommand, kReplyData);
        EXPECT_FALSE(r.payload.empty());
    }
    EXPECT_EQ(replies[3].nPreset, 3);
    EXPECT_EQ(replies[3].nItem, kItemSceneName);
}
