#include <gtest/gtest.h>

#include <cstring>

#include "DataDefine.h"
#include "GlobalData.h"
#include "SessionFixture.h"

namespace {

std::vector<uint8_t> OutputBlockOf(const std::vector<uint8_t>& image, int k)
{
    const auto first = image.begin() + kOffOutput + kOutBlockSize * k;
    return {first, first + kOutBlockSize};
}

}  // namespace

TEST_F(SessionTest, ConnectReadsIdentificationStatusAndLiveSettings)
{
    std::vector<uint8_t> live = m_pDevice->LiveImage();
    PutWord(live.data() + kOffOutput + 2 * kOutBlockSize + 250, 45);   // output 3 level
    PutWord(live.data() + kOffOutput + 4 * kOutBlockSize + 8 * 5 + 2, 650);  // output 5, band 6 +5 dB
    m_pDevice->SetLiveImage(live);

    ASSERT_TRUE(ConnectOnline());
    EXPECT_TRUE(m_pSession->IsConnected());
    EXPECT_EQ(Data().Output(2).GetLevel(), 45);
    EXPECT_DOUBLE_EQ(Data().Output(4).EQ()[5].GetGain(), 5.0);
    EXPECT_EQ(0, std::memcmp(State().m_IdString, "SVH1-WV1.00", 11));

    // The exact order of the connect reads (level polls may fall between the
    // identification and the status reads, while the view checks the id).
    std::vector<std::pair<int, int>> got;  // (kind, item or channel) of reads
    std::vector<int> presets;
    for (const RawFrame& f : m_pDevice->ReceivedFrames()) {
        if (got.size() == 34)
            break;  // then the live scene name goes out, and the polls go on
        if (IsLevelPoll(f) && got.size() == 1)
            continue;
        ASSERT_EQ(f[kFoCommand], kCmdRead);
        got.push_back({f[kFoKind], f[kFoChannel]});
        presets.push_back(f[kFoPreset]);
        if (f[kFoKind] == kKindOutput) {
            EXPECT_EQ(f[kFoGroup], kModeLibrary);  // live read, not a recall
        }
    }
    std::vector<std::pair<int, int>> expected = {{9, 4}, {9, 52}};
    for (int p = 1; p <= 10; ++p)
        expected.push_back({9, 0});
    for (int item : {1, 0, 2, 3, 16, 18, 18, 20, 34, 35, 36, 37, 38, 39, 64})
        expected.push_back({9, item});
    expected.push_back({3, 2});
    for (int k = 0; k < 6; ++k)
        expected.push_back({4, k});
    ASSERT_EQ(got, expected);
    for (int p = 1; p <= 10; ++p)
        EXPECT_EQ(presets[1 + p], p);
    EXPECT_EQ(presets[12], 0);
}

TEST_F(SessionTest, EditsTravelAsGroupWrites)
{
    ASSERT_TRUE(ConnectOnline());
    m_pDevice->ClearReceivedFrames();
    Data().Output(3).EQ()[11].SetGainCode(260);
    ASSERT_TRUE(Drain());
    std::vector<RawFrame> sent = Sent();
    ASSERT_GE(sent.size(), 1u);
    const RawFrame& f = sent.front();
    EXPECT_EQ(f[kFoCommand], kCmdWrite);
    EXPECT_EQ(f[kFoKind], kKindOutput);
    EXPECT_EQ(f[kFoChannel], 3);
    EXPECT_EQ(f[kFoGroup], 11);
    EXPECT_EQ(PayloadWord(f, 2), 660);
    // Apart from the one-off scene-name blanking nothing else was written.
    for (size_t i = 1; i < sent.size(); ++i)
        EXPECT_EQ(sent[i][kFoKind], kKindSystem);
    EXPECT_EQ(OutputBlockOf(m_pDevice->LiveImage(), 3)[11 * 8 + 2], 660 & 0xFF);
}

TEST_F(SessionTest, LargeFrequencyRaiseArrivesOctaveByOctave)
{
    ASSERT_TRUE(ConnectOnline());
    CFilter& band = Data().Output(0).EQ()[7];
    band.SetFrequency(100, true);
    ASSERT_TRUE(Drain());
    m_pDevice->ClearReceivedFrames();
    band.SetFrequency(1000, true);
    ASSERT_TRUE(Drain());
    std::vector<int> freqs;
    for (const RawFrame& f : Sent()) {
        if (f[kFoKind] == kKindOutput && f[kFoGroup] == 7)
            freqs.push_back(PayloadWord(f, 0));
    }
    ASSERT_GE(freqs.size(), 4u);
    EXPECT_EQ(std::vector<int>(freqs.begin(), freqs.begin() + 4), (std::vector<int>{200, 400, 800, 1000}));
    EXPECT_EQ(GetWord(m_pDevice->LiveImage().data() + kOffOutput + 7 * 8), 1000);
}

TEST_F(SessionTest, StoreRecallAndDeletePrograms)
{
    ASSERT_TRUE(ConnectOnline());
    Data().Output(1).SetLevel(33);
    ASSERT_TRUE(Drain());
    // Store: eight frames in one batch, the last one closing it.
    ASSERT_TRUE(CopyFixed(State().SceneEntry(3), kNameSize, "Party"));
    ASSERT_TRUE(m_pSession->WriteScene(3, true));
    EXPECT_EQ(m_pSession->ProgressRange(), 7);
    ASSERT_TRUE(Pump([this] { return Seen(kMsgBatchProgress, 1) >= 1; }));
    EXPECT_EQ(m_pSession->ProgressPos(), 7);
    std::vector<uint8_t> program = m_pDevice->SceneProgram(3);
    EXPECT_EQ(OutputBlockOf(program, 1), OutputBlockOf(m_pDevice->LiveImage(), 1));
    EXPECT_EQ(0, std::memcmp(program.data(), "Party", 5));

    // Recall another program into the live state.
    std::vector<uint8_t> other = m_pDevice->SceneProgram(4);
    PutWord(other.data() + kOffOutput + 5 * kOutBlockSize + 250, 12);
    m_pDevice->SetSceneProgram(4, other);
    m_pDevice->ClearReceivedFrames();
    ASSERT_TRUE(m_pSession->ReadScene(4));
    EXPECT_EQ(State().m_bOnline.load(), 0);
    ASSERT_TRUE(Pump([this] { return State().m_bOnline.load() != 0; }));
    EXPECT_EQ(Data().Output(5).GetLevel(), 12);
    for (const RawFrame& f : Sent()) {
        if (f[kFoKind] == kKindOutput) {
            EXPECT_EQ(f[kFoGroup], 0);  // mode 0: recall
        }
    }

    // Delete: an empty name for the program.
    std::memset(State().SceneEntry(3), 0, kNameSize);
    m_pSession->SendSystemItem(kItemSceneName, 3);
    ASSERT_TRUE(Drain());
    EXPECT_EQ(m_pDevice->SceneProgram(3)[0], 0);
}

TEST_F(SessionTest, ReadAndWriteAllScenes)
{
    ASSERT_TRUE(ConnectOnline());
    for (int p = 1; p <= 10; ++p) {
        std::vector<uint8_t> program = m_pDevice->SceneProgram(p);
        PutWord(program.data() + kOffOutput + 250, p);
        m_pDevice->SetSceneProgram(p, program);
    }
    const std::vector<uint8_t> liveBefore = m_pDevice->LiveImage();
    ASSERT_TRUE(m_pSession->ReadAllScenes());
    EXPECT_EQ(m_pSession->ProgressRange(), 70);
    ASSERT_TRUE(Pump([this] { return Seen(kMsgAllScenesRead) == 1; }));
    for (int p = 1; p <= 10; ++p)
        EXPECT_EQ(GetWord(State().SceneEntry(p) + kOffOutput + 250), p);
    EXPECT_EQ(m_pDevice->LiveImage(), liveBefore);  // read without loading

    for (int p = 1; p <= 10; ++p)
        PutWord(State().SceneEntry(p) + kOffOutput + 250, 20 + p);
    ASSERT_TRUE(m_pSession->WriteAllScenes());
    ASSERT_TRUE(Pump([this] { return Seen(kMsgBatchProgress, 1) >= 1; }, 10000));
    ASSERT_TRUE(Drain());
    for (int p = 1; p <= 10; ++p)
        EXPECT_EQ(GetWord(m_pDevice->SceneProgram(p).data() + kOffOutput + 250), 20 + p);
}

TEST_F(SessionTest, SceneWriteMutesAroundTheBlocks)
{
    ASSERT_TRUE(ConnectOnline());
    Data().Output(2).SetMute(1);
    ASSERT_TRUE(Drain());
    m_pDevice->ClearReceivedFrames();
    ASSERT_TRUE(m_pSession->WriteScene(0, false));
    ASSERT_TRUE(Pump([this] { return Seen(kMsgBatchProgress, 1) >= 2; }));
    std::vector<RawFrame> sent = Sent();
    ASSERT_GE(sent.size(), 20u);
    EXPECT_EQ(sent[2][kFoGroup], 31);
    EXPECT_EQ(sent[2][kFoPayload], 0);   // output 2 muted off during the write … (byte 248)
    EXPECT_EQ(sent[19][kFoGroup], 31);
    EXPECT_EQ(sent[16][kFoPayload], 1);  // … and its mute restored afterwards
    EXPECT_EQ(OutputBlockOf(m_pDevice->LiveImage(), 2)[0xF8], 1);
}

// Blanking the name after an edit is meant for the session that edited; a
// later connect reads the processor's name afresh and must leave it there.
TEST_F(SessionTest, SceneNameSurvivesTheNextConnect)
{
    std::vector<uint8_t> live = m_pDevice->LiveImage();
    std::memcpy(live.data(), "Lounge 3", 8);
    m_pDevice->SetLiveImage(live);
    ASSERT_TRUE(ConnectOnline());
    Data().Output(1).SetMute(1);
    ASSERT_TRUE(Drain());
    EXPECT_EQ(m_pDevice->LiveImage()[0], 0) << "the edit blanks the stored program's name";
    m_pSession->Disconnect(0);

    live = m_pDevice->LiveImage();
    std::memcpy(live.data(), "Lounge 3", 8);
    m_pDevice->SetLiveImage(live);
    ASSERT_TRUE(ConnectOnline());
    EXPECT_EQ(0, std::memcmp(m_pDevice->LiveImage().data(), "Lounge 3", 8));
}

TEST_F(SessionTest, LateNotificationsChangeNothing)
{
    ASSERT_TRUE(ConnectOnline());
    m_pDevice->ClearReceivedFrames();
    m_pSession->HandleNotification(kMsgIdentification, 0, 0);  // a second, unasked identification
    ASSERT_TRUE(Drain());
    EXPECT_TRUE(Sent().empty()) << "no second full read";

    m_pSession->Disconnect(0);
    m_pSession->HandleNotification(kMsgLiveReadDone, 0, 0);
    EXPECT_EQ(State().m_bOnline.load(), 0);
}

// A whole-block write hands the processor the target at once: the group
// writes that follow must not climb towards it from the old frequency.
TEST_F(SessionTest, BlockWriteLeavesNothingToStep)
{
    ASSERT_TRUE(ConnectOnline());
    CFilter& band = Data().Output(0).EQ()[7];
    m_pDevice->ClearReceivedFrames();
    {
        CommLock lock(State().m_csComm);
        band.SetFrequency(5000, true);
        m_pSession->WriteOutputBlock(0);
    }
    ASSERT_TRUE(Drain());
    EXPECT_EQ(band.GetSentFrequency(), 5000);
    for (const RawFrame& f : Sent()) {
        if (f[kFoKind] == kKindOutput && f[kFoGroup] == 7) {
            EXPECT_EQ(PayloadWord(f, 0), 5000);
        }
    }
    EXPECT_EQ(GetWord(m_pDevice->LiveImage().data() + kOffOutput + 7 * 8), 5000);
}
