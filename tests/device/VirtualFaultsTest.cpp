#include <string>

#include "DeviceHarness.h"

using Clock = CVirtualProcessor::Clock;

class VirtualFaultsTest : public ModelTest {
protected:
    void SendBacklight(int nValue)
    {
        State().m_SysBytes[kItemBacklight] = static_cast<uint8_t>(nValue);
        SendFrame(m_device, MakeSysFrame(State(), kItemBacklight, 0));
    }
    void Faults(const VirtualFaults& faults) { m_device.SetFaults(faults); }

    CVirtualProcessor m_device;
};

TEST_F(VirtualFaultsTest, DropEveryNthReply)
{
    VirtualFaults faults;
    faults.nDropEvery = 2;
    Faults(faults);
    for (int i = 1; i <= 4; ++i)
        SendBacklight(i);
    EXPECT_EQ(TakeReplies(m_device).size(), 2u);
    // The writes were applied even where the reply was lost.
    EXPECT_EQ(m_device.SystemByte(kItemBacklight), 4);
}

TEST_F(VirtualFaultsTest, CorruptEveryNthReply)
{
    VirtualFaults faults;
    faults.nCorruptEvery = 3;
    Faults(faults);
    for (int i = 1; i <= 6; ++i)
        SendBacklight(i);
    const std::vector<ReplyFrame> replies = TakeReplies(m_device);
    ASSERT_EQ(replies.size(), 6u);
    for (size_t i = 0; i < replies.size(); ++i)
        EXPECT_EQ(replies[i].bOk, i % 3 != 2) << i;
}

TEST_F(VirtualFaultsTest, ResendEveryNthGoodFrameWithoutApplying)
{
    VirtualFaults faults;
    faults.nResendEvery = 3;
    Faults(faults);
    SendBacklight(1);
    SendBacklight(2);
    SendBacklight(3);
    std::vector<ReplyFrame> replies = TakeReplies(m_device);
    ASSERT_EQ(replies.size(), 3u);
    EXPECT_EQ(replies[0].nCommand, kReplyAck);
    EXPECT_EQ(replies[1].nCommand, kReplyAck);
    EXPECT_EQ(replies[2].nCommand, kReplyResend);
    EXPECT_EQ(m_device.SystemByte(kItemBacklight), 2);
    // The repeated frame goes through.
    SendBacklight(3);
    EXPECT_EQ(TakeReplies(m_device).at(0).nCommand, kReplyAck);
    EXPECT_EQ(m_device.SystemByte(kItemBacklight), 3);
}

TEST_F(VirtualFaultsTest, DelayedReplyIsDueOnlyAfterTheDelay)
{
    VirtualFaults faults;
    faults.nDelayMs = 40;
    Faults(faults);
    const Clock::time_point before = Clock::now();
    SendFrame(m_device, MakeSysReadFrame(kItemIdent, 0));
    const Clock::time_point after = Clock::now();
    const Clock::time_point due = m_device.NextReportDue();
    EXPECT_GE(due, before + std::chrono::milliseconds(40));
    EXPECT_LE(due, after + std::chrono::milliseconds(40));
    EXPECT_TRUE(TakeReplies(m_device, due - std::chrono::microseconds(1)).empty());
    const std::vector<ReplyFrame> replies = TakeReplies(m_device, due);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].nCommand, kReplyData);
    EXPECT_EQ(m_device.NextReportDue(), Clock::time_point::max());
}

TEST_F(VirtualFaultsTest, SilentAfterNFramesNeitherAnswersNorApplies)
{
    VirtualFaults faults;
    faults.nSilentAfter = 2;
    Faults(faults);
    SendBacklight(1);
    SendBacklight(2);
    SendBacklight(3);
    EXPECT_EQ(TakeReplies(m_device).size(), 2u);
    EXPECT_EQ(m_device.SystemByte(kItemBacklight), 2);
    EXPECT_EQ(m_device.FramesReceived(), 3);
}

TEST_F(VirtualFaultsTest, UnplugAfterNFramesStaysAwayUntilPluggedIn)
{
    VirtualFaults faults;
    faults.nUnplugAfter = 2;
    Faults(faults);
    SendBacklight(1);
    SendBacklight(2);
    EXPECT_FALSE(m_device.IsVanished());
    SendBacklight(3);
    EXPECT_TRUE(m_device.IsVanished());
    EXPECT_EQ(TakeReplies(m_device).size(), 0u) << "the replies went with the cable";
    EXPECT_EQ(m_device.SystemByte(kItemBacklight), 2);
    m_device.Reappear();
    SendBacklight(4);
    EXPECT_EQ(TakeReplies(m_device).size(), 1u);
    EXPECT_EQ(m_device.SystemByte(kItemBacklight), 4);
}

TEST_F(VirtualFaultsTest, EmptyReplyOnChosenItemOnly)
{
    VirtualFaults faults;
    faults.nEmptyReplyItem = kItemVariant;
    Faults(faults);
    const ReplyFrame empty = Exchange(m_device, MakeSysReadFrame(kItemVariant, 0));
    EXPECT_TRUE(empty.bOk);
    EXPECT_EQ(empty.nCommand, kReplyData);
    EXPECT_TRUE(empty.payload.empty());
    EXPECT_FALSE(Exchange(m_device, MakeSysReadFrame(kItemIdent, 0)).payload.empty());
}

TEST_F(VirtualFaultsTest, WrongIdentificationIsPaddedOrCut)
{
    VirtualFaults faults;
    faults.strWrongId = "SVH2-WV1";
    Faults(faults);
    ReplyFrame id = Exchange(m_device, MakeSysReadFrame(kItemIdent, 0));
    EXPECT_EQ(std::string(id.payload.begin(), id.payload.end()), "SVH2-WV1   ");

    faults.strWrongId = "SVH1-WV1.00-extra";
    Faults(faults);
    id = Exchange(m_device, MakeSysReadFrame(kItemIdent, 0));
    EXPECT_EQ(std::string(id.payload.begin(), id.payload.end()), "SVH1-WV1.00");

    Faults(VirtualFaults{});
    id = Exchange(m_device, MakeSysReadFrame(kItemIdent, 0));
    EXPECT_EQ(std::string(id.payload.begin(), id.payload.end()), "SVH1-WV1.00");
}

TEST_F(VirtualFaultsTest, VanishDropsPendingRepliesAndIgnoresBytes)
{
    SendFrame(m_device, MakeSysReadFrame(kItemIdent, 0));
    m_device.Vanish();
    EXPECT_TRUE(m_device.IsVanished());
    EXPECT_TRUE(TakeReplies(m_device).empty());
    SendBacklight(9);
    EXPECT_EQ(m_device.FramesReceived(), 1);
    EXPECT_NE(m_device.SystemByte(kItemBacklight), 9);

    m_device.Reappear();
    EXPECT_FALSE(m_device.IsVanished());
    EXPECT_TRUE(TakeReplies(m_device).empty());
    SendBacklight(9);
    EXPECT_EQ(TakeReplies(m_device).size(), 1u);
    EXPECT_EQ(m_device.SystemByte(kItemBacklight), 9);
}

TEST_F(VirtualFaultsTest, VanishMidFrameDropsThePartialFrame)
{
    const auto pFrame = MakeSysReadFrame(kItemIdent, 0);
    m_device.Receive(pFrame->Frame(), 10);
    m_device.Vanish();
    m_device.Reappear();
    m_device.Receive(pFrame->Frame() + 10, static_cast<size_t>(pFrame->Length() - 10));
    EXPECT_TRUE(TakeReplies(m_device).empty());
    EXPECT_EQ(Exchange(m_device, pFrame).nCommand, kReplyData);
}
