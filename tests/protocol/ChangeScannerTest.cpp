#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "ChangeScanner.h"
#include "DataDefine.h"
#include "ModelFixture.h"

namespace {

struct Sent {
    int nCommand, nKind, nChannel, nGroup, nLink;
    std::vector<uint8_t> payload;
};

Sent Decode(const std::unique_ptr<CSendData>& p)
{
    const uint8_t* f = p->Frame();
    const int nLength = GetWord(f + 12);
    return {f[4], f[7], f[8], f[9], f[10], std::vector<uint8_t>(f + 14, f + 14 + nLength)};
}

bool IsLevelRequest(const Sent& s)
{
    return s.nCommand == 0xA2 && s.nKind == 9 && s.nChannel == 3;
}

}  // namespace

class ChangeScannerTest : public ModelTest {
protected:
    Sent Scan()
    {
        auto p = NextChangeFrame(Data());
        EXPECT_TRUE(p);
        return Decode(p);
    }
};

TEST_F(ChangeScannerTest, OfflineEditsStayInTheModel)
{
    CKTV_OutData& out = Data().Output(0);
    out.SetLevel(40);
    out.SetMute(1);
    out.EQ()[4].SetGainCode(300);
    out.EQ().HighPass().SetFrequency(120, true);
    EXPECT_EQ(out.GetLevel(), 40);
    EXPECT_DOUBLE_EQ(out.EQ()[4].GetGain(), 10.0);
    EXPECT_TRUE(IsLevelRequest(Scan()));
    EXPECT_TRUE(IsLevelRequest(Scan()));
}

TEST_F(ChangeScannerTest, GainAndBypassTravelAsGainField)
{
    State().m_bOnline = 1;
    CFilter& band = Data().Output(3).EQ()[11];
    band.SetGainCode(260);  // +6.0 dB
    Sent s = Scan();
    EXPECT_EQ(s.nKind, 4);
    EXPECT_EQ(s.nChannel, 3);
    EXPECT_EQ(s.nGroup, 11);
    EXPECT_EQ(GetWord(s.payload.data() + 2), 660);
    EXPECT_TRUE(IsLevelRequest(Scan()));

    band.SetBypass(1);
    s = Scan();
    EXPECT_EQ(GetWord(s.payload.data() + 2), 600);
    EXPECT_DOUBLE_EQ(band.GetGain(), 6.0);  // the setting survives the bypass

    band.SetGainCode(200);
    EXPECT_EQ(band.GetOwnBypass(), 1);
    s = Scan();
    EXPECT_EQ(GetWord(s.payload.data() + 2), 600);
}

TEST_F(ChangeScannerTest, LargeRaiseTravelsAnOctaveAtATime)
{
    CFilter& band = Data().Output(0).EQ()[7];
    band.SetFrequency(100, true);  // offline: sent at once with the next write
    State().m_bOnline = 1;
    band.SetFrequency(1000, true);
    std::vector<int> sent;
    for (int i = 0; i < 4; ++i)
        sent.push_back(GetWord(Scan().payload.data()));
    EXPECT_EQ(sent, (std::vector<int>{200, 400, 800, 1000}));
    // The mark stays until a scan finds the target already sent: that scan
    // repeats the target once, then the link idles.
    EXPECT_EQ(GetWord(Scan().payload.data()), 1000);
    EXPECT_TRUE(IsLevelRequest(Scan()));
    EXPECT_EQ(band.GetSentFrequency(), 1000);

    band.SetFrequency(100, true);
    Sent s = Scan();
    EXPECT_EQ(GetWord(s.payload.data()), 100);
    EXPECT_TRUE(IsLevelRequest(Scan()));
}

// Files, scene stores and block writes keep the target; only the group
// writes of the scanner climb an octave at a time.
TEST_F(ChangeScannerTest, WholeImagesCarryTheTargetFrequency)
{
    CKTVEQ& eq = Data().Output(0).EQ();
    const uint8_t* pBlock = State().m_LiveImage + kOffOutput;
    eq.HighPass().SetFrequency(200, true);  // offline: still 20 as sent
    Data().FillAll();
    EXPECT_EQ(GetWord(pBlock + 8 * 32), 200);

    State().m_bOnline = 1;
    eq[7].SetFrequency(100, false);
    eq[7].SetFrequency(1000, true);
    EXPECT_EQ(GetWord(Scan().payload.data()), 200);
    Data().FillAll();
    EXPECT_EQ(GetWord(pBlock + 8 * 7), 1000);
    EXPECT_EQ(GetWord(Scan().payload.data()), 400);
}

TEST_F(ChangeScannerTest, LinkGroupMarksEveryMember)
{
    State().m_bOnline = 1;
    State().m_nLinkGroup[1] = 0;
    Data().Output(0).SetLevel(45);
    EXPECT_EQ(Data().Output(1).GetLevel(), 45);
    EXPECT_EQ(Data().Output(2).GetLevel(), 60);
    Sent first = Scan();
    Sent second = Scan();
    EXPECT_EQ(first.nGroup, 31);
    EXPECT_EQ(first.nChannel, 0);
    EXPECT_EQ(second.nGroup, 31);
    EXPECT_EQ(second.nChannel, 1);
    EXPECT_EQ(GetWord(second.payload.data() + 2), 45);
    EXPECT_EQ(first.nLink, 0);  // the misc group never carries the link flag
    EXPECT_TRUE(IsLevelRequest(Scan()));
}

TEST_F(ChangeScannerTest, LinkedBandEditCarriesLinkFlag)
{
    State().m_bOnline = 1;
    State().m_nLinkGroup[0] = 1;
    Data().Output(1).EQ()[6].SetGainCode(250);
    const Sent s = Scan();
    EXPECT_EQ(s.nChannel, 1);
    EXPECT_EQ(s.nGroup, 6);
    EXPECT_EQ(s.nLink, 1);
}

TEST_F(ChangeScannerTest, OrderOfWork)
{
    State().m_bOnline = 1;
    Data().Output(2).EQ()[0].SetGainCode(300);
    Data().Output(2).SetThreshold(200);
    Data().Output(2).SetRightOff(1);
    Data().Output(2).EQ().LowPass().SetFrequency(8000, true);
    Data().Output(2).SetMute(1);
    ASSERT_TRUE(Data().Output(2).SetName("Stage"));
    Data().Music().SetNoiseGate(12);
    Data().Music().SetVolume(70);
    State().m_bSceneNameChanged = 1;
    State().m_bDelayPresetChanged = 1;

    std::vector<std::pair<int, int>> order;  // (kind, group or item)
    for (int i = 0; i < 10; ++i) {
        const Sent s = Scan();
        order.push_back({s.nKind, s.nKind == 9 ? s.nChannel : s.nGroup});
    }
    const std::vector<std::pair<int, int>> expected = {
        {9, 64}, {9, 0}, {3, 9}, {3, 11}, {4, 36}, {4, 31}, {4, 32}, {4, 33}, {4, 35}, {4, 0}};
    EXPECT_EQ(order, expected);
    EXPECT_TRUE(IsLevelRequest(Scan()));
}

TEST_F(ChangeScannerTest, SceneNameIsBlankedOnceAfterFirstOutputWrite)
{
    std::memcpy(State().m_LiveImage, "Wedding\0\0\0\0\0\0\0\0\0", 16);
    State().m_bOnline = 1;
    Data().Output(0).SetPolarity(1);
    EXPECT_EQ(Scan().nGroup, 31);
    const Sent s = Scan();
    EXPECT_EQ(s.nKind, 9);
    EXPECT_EQ(s.nChannel, 0);
    EXPECT_EQ(s.payload, std::vector<uint8_t>(16, 0));
    EXPECT_EQ(m_sink.Count(kMsgSceneName), 1);
    Data().Output(0).SetPolarity(0);
    EXPECT_EQ(Scan().nGroup, 31);
    EXPECT_TRUE(IsLevelRequest(Scan()));
    EXPECT_EQ(m_sink.Count(kMsgSceneName), 1);
}

TEST_F(ChangeScannerTest, CrossoverSendsBothFiltersAndSteps)
{
    State().m_bOnline = 1;
    CKTVEQ& eq = Data().Output(4).EQ();
    eq.HighPass().SetFrequency(90, true);  // more than twice the sent 20 Hz: stepped
    Sent s = Scan();
    EXPECT_EQ(s.nGroup, 32);
    EXPECT_EQ(GetWord(s.payload.data()), 40);
    EXPECT_EQ(GetWord(s.payload.data() + 4), 20000);
    EXPECT_EQ(s.payload[2], 0);  // Linkwitz-Riley
    EXPECT_EQ(s.payload[3], 2);  // 24 dB/oct
    EXPECT_EQ(GetWord(Scan().payload.data()), 80);
    EXPECT_EQ(GetWord(Scan().payload.data()), 90);
}
