#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "DataDefine.h"
#include "FrameBuilder.h"
#include "ModelFixture.h"

namespace {

std::vector<uint8_t> Bytes(const std::unique_ptr<CSendData>& p)
{
    return {p->Frame(), p->Frame() + p->Length()};
}

// Checks the sync run, the checksum and the end byte of a built frame.
void ExpectWellFormed(const std::unique_ptr<CSendData>& p)
{
    ASSERT_TRUE(p);
    const uint8_t* f = p->Frame();
    const int n = p->Length();
    EXPECT_EQ(f[0], 0x5C);
    EXPECT_EQ(f[1], 0x5C);
    EXPECT_EQ(f[2], 0x5C);
    EXPECT_EQ(f[3], 0xEE);
    EXPECT_EQ(GetWord(f + 12) + 16, n);
    uint8_t x = 0;
    for (int i = 4; i < n - 2; ++i)
        x ^= f[i];
    EXPECT_EQ(f[n - 2], x);
    EXPECT_EQ(f[n - 1], 0xAA);
}

}  // namespace

class FrameBuilderTest : public ModelTest {};

TEST_F(FrameBuilderTest, ChecksumExampleBacklightItem)
{
    State().m_SysBytes[kItemBacklight] = 5;
    const auto p = MakeSysFrame(State(), kItemBacklight, 0);
    const std::vector<uint8_t> expected = {0x5C, 0x5C, 0x5C, 0xEE, 0xA1, 0x01, 0x00, 0x09, 0x14,
                                           0x00, 0x00, 0x00, 0x01, 0x00, 0x05, 0xB9, 0xAA};
    EXPECT_EQ(Bytes(p), expected);
}

TEST_F(FrameBuilderTest, GroupFrameCarriesLiveBlockBytes)
{
    uint8_t* pGroup = State().m_LiveImage + kOffOutput + 2 * kOutBlockSize + 8 * 11;
    for (int i = 0; i < 8; ++i)
        pGroup[i] = static_cast<uint8_t>(0x10 + i);
    const auto p = MakeGroupFrame(State(), kKindOutput, 2, 11);
    ExpectWellFormed(p);
    ASSERT_EQ(p->Length(), 24);
    EXPECT_EQ(p->Frame()[4], 0xA1);
    EXPECT_EQ(p->Frame()[6], 0);
    EXPECT_EQ(p->Frame()[7], 4);
    EXPECT_EQ(p->Frame()[8], 2);
    EXPECT_EQ(p->Frame()[9], 11);
    EXPECT_EQ(0, std::memcmp(p->Frame() + 14, pGroup, 8));

    // Music group 9 lives in the music block although it is channel 2.
    State().m_LiveImage[kOffMusic + 72] = 0x42;
    const auto pMusic = MakeGroupFrame(State(), kKindMusic, 2, 9);
    ExpectWellFormed(pMusic);
    EXPECT_EQ(pMusic->Frame()[14], 0x42);
}

TEST_F(FrameBuilderTest, AddressesOutsideABlockBuildNothing)
{
    EXPECT_EQ(MakeGroupFrame(State(), kKindOutput, 6, 0), nullptr);
    EXPECT_EQ(MakeGroupFrame(State(), kKindOutput, 0, 37), nullptr);
    EXPECT_EQ(MakeGroupFrame(State(), kKindMusic, 0, 0), nullptr);
    EXPECT_EQ(MakeGroupFrame(State(), kKindMic, 1, 0), nullptr);
    EXPECT_EQ(MakeGroupFrame(State(), kKindEffect, 0, 19), nullptr);
    EXPECT_EQ(MakeGroupFrame(State(), 5, 0, 0), nullptr);
    EXPECT_EQ(MakeBlockFrame(State(), 21, kKindOutput, 0, false, true), nullptr);
    EXPECT_EQ(MakeBlockFrame(State(), 5, kKindEffect, 0, false, false), nullptr);
    EXPECT_EQ(MakeSysFrame(State(), kItemLevels, 0), nullptr);
    EXPECT_EQ(MakeSysFrame(State(), kItemEffectName, 3), nullptr);
}

TEST_F(FrameBuilderTest, LinkFlagFollowsLinkGroups)
{
    EXPECT_FALSE(IsOutputLinked(State(), 0));
    State().m_nLinkGroup[1] = 0;
    EXPECT_TRUE(IsOutputLinked(State(), 0));
    EXPECT_TRUE(IsOutputLinked(State(), 1));
    EXPECT_FALSE(IsOutputLinked(State(), 2));
    EXPECT_EQ(MakeGroupFrame(State(), kKindOutput, 1, 12)->Frame()[10], 1);
    EXPECT_EQ(MakeGroupFrame(State(), kKindOutput, 1, 32)->Frame()[10], 1);
    EXPECT_EQ(MakeGroupFrame(State(), kKindOutput, 1, 33)->Frame()[10], 1);
    EXPECT_EQ(MakeGroupFrame(State(), kKindOutput, 1, 31)->Frame()[10], 0);  // level/mute stay per channel
    EXPECT_EQ(MakeGroupFrame(State(), kKindOutput, 1, 35)->Frame()[10], 0);
    EXPECT_EQ(MakeGroupFrame(State(), kKindOutput, 1, 36)->Frame()[10], 0);
    EXPECT_EQ(MakeGroupFrame(State(), kKindOutput, 2, 12)->Frame()[10], 0);
    EXPECT_EQ(MakeBlockFrame(State(), 0, kKindOutput, 0, true, false)->Frame()[10], 1);
    EXPECT_EQ(MakeBlockFrame(State(), 0, kKindOutput, 3, true, false)->Frame()[10], 0);
}

TEST_F(FrameBuilderTest, BlockFramesTakeTheirSource)
{
    std::memset(State().m_LiveImage + kOffOutput + kOutBlockSize * 4, 0x11, kOutBlockSize);
    std::memset(State().SceneEntry(7) + kOffOutput + kOutBlockSize * 4, 0x77, kOutBlockSize);
    std::memset(State().EffectProgEntry(25) + 16, 0x25, kEffectBlockSize);

    State().m_bOutputDataSent = 0;
    const auto pLive = MakeBlockFrame(State(), 7, kKindOutput, 4, true, false);
    ExpectWellFormed(pLive);
    EXPECT_EQ(pLive->Length(), 312);
    EXPECT_EQ(pLive->Frame()[6], 7);  // the processor stores it under program 7
    EXPECT_EQ(pLive->Frame()[14 + 295], 0x11);
    EXPECT_EQ(State().m_bOutputDataSent.load(), 1);

    State().m_bOutputDataSent = 0;
    const auto pScene = MakeBlockFrame(State(), 7, kKindOutput, 4, false, true);
    EXPECT_EQ(pScene->Frame()[14], 0x77);
    EXPECT_EQ(State().m_bOutputDataSent.load(), 0);

    const auto pEffect = MakeBlockFrame(State(), 25, kKindEffect, 0, false, false);
    ExpectWellFormed(pEffect);
    EXPECT_EQ(pEffect->Length(), 112);  // only the first 12 groups travel
    EXPECT_EQ(pEffect->Frame()[14 + 95], 0x25);

    EXPECT_EQ(MakeBlockFrame(State(), 0, kKindMic, 0, true, false)->Length(), 128);
    EXPECT_EQ(MakeBlockFrame(State(), 0, kKindMusic, 2, true, false)->Length(), 128);
}

TEST_F(FrameBuilderTest, ReadRequestsAndModeByte)
{
    const auto pLive = MakeBlockReadFrame(0, kKindOutput, 5, true, false);
    ExpectWellFormed(pLive);
    EXPECT_EQ(pLive->Length(), 24);
    EXPECT_EQ(pLive->Frame()[4], 0xA2);
    EXPECT_EQ(pLive->Frame()[9], 0x77);
    EXPECT_EQ(MakeBlockReadFrame(4, kKindOutput, 5, true, false)->Frame()[9], 0);
    EXPECT_EQ(MakeBlockReadFrame(4, kKindOutput, 5, false, true)->Frame()[9], 0x77);
    EXPECT_EQ(Bytes(MakeBlockReadFrame(4, kKindOutput, 5, false, true)),
              Bytes(MakeBlockReadFrame(4, kKindOutput, 5, false, false)));

    const auto pLevels = MakeGroupFrame(State(), kKindLevelRequest, 0, 0);
    ExpectWellFormed(pLevels);
    EXPECT_EQ(Bytes(pLevels), Bytes(MakeSysReadFrame(kItemLevels, 0)));
    EXPECT_EQ(pLevels->Frame()[4], 0xA2);
    EXPECT_EQ(pLevels->Frame()[7], 9);
    EXPECT_EQ(pLevels->Frame()[8], 3);
}

TEST_F(FrameBuilderTest, SystemItemPayloads)
{
    std::memcpy(State().SceneEntry(3), "Karaoke Night 12", 16);
    const auto pName = MakeSysFrame(State(), kItemSceneName, 3);
    ExpectWellFormed(pName);
    EXPECT_EQ(pName->Length(), 32);
    EXPECT_EQ(0, std::memcmp(pName->Frame() + 14, "Karaoke Night 1", 15));
    EXPECT_EQ(pName->Frame()[14 + 15], 0);  // always terminated

    State().m_DelayTable[48] = 2;
    const auto pDelays = MakeSysFrame(State(), kItemDelayTable, 0);
    EXPECT_EQ(pDelays->Length(), 66);
    EXPECT_EQ(pDelays->Frame()[14 + 48], 2);

    State().m_nLowPassLimit = 0x1234;
    const auto pLimit = MakeSysFrame(State(), kItemLowPassLimit, 0);
    EXPECT_EQ(pLimit->Length(), 18);
    EXPECT_EQ(GetWord(pLimit->Frame() + 14), 0x1234);

    EXPECT_EQ(MakeSysFrame(State(), kItemInfoText, 0)->Length(), 56);
    EXPECT_EQ(MakeSysFrame(State(), kItemLock, 0)->Length(), 23);
    EXPECT_EQ(MakeSysFrame(State(), kItemControl, 0)->Length(), 20);
    EXPECT_EQ(MakeSysFrame(State(), kItemEffectName, 0)->Length(), 32);
    EXPECT_EQ(MakeSysFrame(State(), kItemEffectName, 40)->Length(), 32);
}

TEST(SendDataTest, ReportsCarrySixtyFourBytesAtATime)
{
    CSendData data(312);
    for (int i = 0; i < 312; ++i)
        data.Frame()[i] = static_cast<uint8_t>(i);
    data.m_bEndOfWrite = 1;
    uint8_t report[kReportSize];
    int nReports = 0;
    while (data.FillNextReport(report)) {
        EXPECT_EQ(report[0], 0);
        EXPECT_EQ(report[1], static_cast<uint8_t>(64 * nReports));
        EXPECT_EQ(data.EndOfWriteBatchReached(), data.HasUnsentBytes() ? 0 : 1);
        ++nReports;
    }
    EXPECT_EQ(nReports, 5);
    EXPECT_EQ(report[1 + 55], static_cast<uint8_t>(311));
    EXPECT_EQ(report[1 + 56], 0);  // the rest of the last report is cleared
    data.Rewind();
    EXPECT_TRUE(data.HasUnsentBytes());
    EXPECT_EQ(data.EndOfWriteBatchReached(), 0);
}
