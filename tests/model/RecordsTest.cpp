#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "DataDefine.h"
#include "ModelFixture.h"

namespace {
uint8_t* OutBlock(uint8_t* pImage, int i)
{
    return pImage + kOffOutput + kOutBlockSize * i;
}
}  // namespace

class RecordsTest : public ModelTest {};

TEST_F(RecordsTest, InitialRecords)
{
    CKTV_OutData& out = Data().Output(3);
    EXPECT_EQ(out.GetName(), "SR");
    EXPECT_EQ(out.CurveColour(), 0xFFB400u);
    EXPECT_EQ(out.EQ().HighPass().GetRangeCode(), 9);
    EXPECT_EQ(Data().Output(5).EQ().LowPass().GetRangeCode(), 7);
    EXPECT_EQ(out.GetLevel(), 60);
    EXPECT_EQ(out.GetDelay(), 960);
    // Odd channels take the right source, the left keeps its initial state.
    EXPECT_EQ(out.GetInR(), 1);
    EXPECT_EQ(out.GetRightOff(), 0);
    EXPECT_EQ(out.GetInL(), 50);
    EXPECT_EQ(out.GetLeftOff(), 1);
    EXPECT_EQ(Data().Output(2).GetInL(), 1);
    EXPECT_EQ(out.EQ().GetSize(), 33);
    EXPECT_EQ(out.EQ()[30].GetFrequency(), 20000);
    EXPECT_EQ(out.EQ().HighPass().GetKind(), kHighPass);
    EXPECT_EQ(out.EQ().LowPass().GetSentFrequency(), 20000);

    CMIC_InData& mic = Data().Mic();
    EXPECT_EQ(mic.GetName(), "Mic 1");
    EXPECT_EQ(mic.EQ()[0].GetKind(), kLowShelf);
    EXPECT_EQ(mic.EQ()[8].GetKind(), kHighShelf);
    EXPECT_EQ(mic.EQ()[4].GetFrequency(), 632);
    EXPECT_TRUE(mic.EQ().HighPass().IsTwoSlope());
    EXPECT_EQ(mic.EQ().HighPass().GetFilterType(), kButterworth);
    EXPECT_EQ(Data().Music().GetVolume(), 60);
    EXPECT_EQ(Data().Effect().EQ()[1].GetFrequency(), 1000);
    EXPECT_EQ(Data().Effect().Get(CEffect_Data::kEchoDelay), 84);
}

TEST_F(RecordsTest, FillAndLoadRoundTripByteForByte)
{
    CKTV_OutData& out = Data().Output(1);
    out.EQ()[3].SetGainCode(123);
    out.EQ()[3].SetBandwidthCode(77);
    out.EQ()[4].SetShelfMode(4);
    out.EQ().HighPass().SetFrequency(85, false);
    out.EQ().HighPass().SetSlope(6, false);
    out.EQ().LowPass().SetFilterType(kBessel, false);
    out.SetThreshold(123);
    out.SetAttack(7);
    out.SetMute(1);
    ASSERT_TRUE(out.SetName("ABCDEFGH"));  // fills the whole field
    Data().Mic().SetDelay(300);
    Data().Effect().Set(CEffect_Data::kReverbTime, 33);
    std::memset(State().m_LiveImage, 0, kImageSize);  // bytes no record carries stay zero on both sides
    Data().FillAll();
    std::vector<uint8_t> before(State().m_LiveImage, State().m_LiveImage + kImageSize);

    CKTV_Data other;
    std::memset(other.State().m_LiveImage, 0, kImageSize);
    other.LoadFromImage(State().m_LiveImage, 0);
    other.FillAll();
    for (int i = 0; i < kImageSize; ++i)
        ASSERT_EQ(other.State().m_LiveImage[i], before[i]) << "offset " << i;
    EXPECT_EQ(other.Output(1).GetName(), "ABCDEFGH");
    EXPECT_EQ(other.Output(1).EQ()[4].GetKind(), kHighShelf);
    EXPECT_EQ(other.Output(1).EQ()[4].GetSlope(), 1);
}

TEST_F(RecordsTest, NamesLongerThanTheFieldAreRefused)
{
    EXPECT_FALSE(Data().Output(0).SetName("TOOLONGNAME"));
    EXPECT_EQ(Data().Output(0).GetName(), "FL");
    EXPECT_FALSE(Data().Effect().SetName("123456789"));
    EXPECT_TRUE(Data().Mic().SetName("Lead"));
}

TEST_F(RecordsTest, LoadSetsLevelAndVolumeZeroFlagsUntilTheNextEdit)
{
    State().m_SysBytes[39] = 0;  // the processor's lowest music volume
    PutWord(State().m_LiveImage + kOffMusic + 78, 0);
    PutWord(OutBlock(State().m_LiveImage, 2) + 250, 0);
    PutWord(OutBlock(State().m_LiveImage, 3) + 250, 200);
    Data().LoadFromImage(State().m_LiveImage, 0);
    EXPECT_EQ(Data().Output(2).GetLevelZero(), 1);
    EXPECT_EQ(Data().Output(2).GetLevel(), 0);
    EXPECT_EQ(Data().Output(3).GetLevel(), 70);
    Data().Output(2).SetLevel(30);
    EXPECT_EQ(Data().Output(2).GetLevelZero(), 0);
    EXPECT_EQ(Data().Output(2).GetLevel(), 30);

    EXPECT_EQ(Data().Music().GetVolumeOff(), 1);
    Data().Music().SetVolume(45);
    Data().FillAll();
    EXPECT_EQ(GetWord(State().m_LiveImage + kOffMusic + 78), 45) << "a volume edit ends the off state";
}

TEST_F(RecordsTest, EffectLoadedOnlyForLiveAndPresetTen)
{
    State().m_LiveImage[kOffEffect + 129] = 99;  // echo delay
    Data().LoadFromImage(State().m_LiveImage, 5);
    EXPECT_EQ(Data().Effect().Get(CEffect_Data::kEchoDelay), 84);
    Data().LoadFromImage(State().m_LiveImage, 10);
    EXPECT_EQ(Data().Effect().Get(CEffect_Data::kEchoDelay), 99);
}

TEST_F(RecordsTest, LoadLimitsVolumesAndCrossoversInsideTheImage)
{
    PutWord(State().m_LiveImage + kOffMic + 78, 120);          // above item 34 (90)
    PutWord(State().m_LiveImage + kOffMusic + 78, 0xFFF0);     // −16: below item 39 (40)
    State().m_LiveImage[kOffEffect + 139] = 5;                 // below item 37 (40)
    PutWord(OutBlock(State().m_LiveImage, 0) + 256, 30000);
    PutWord(OutBlock(State().m_LiveImage, 0) + 260, 3);
    Data().LoadFromImage(State().m_LiveImage, 0);
    EXPECT_EQ(GetWord(State().m_LiveImage + kOffMic + 78), 90);
    EXPECT_EQ(Data().Mic().GetVolume(), 90);
    EXPECT_EQ(Data().Music().GetVolume(), 40);
    EXPECT_EQ(Data().Effect().Get(CEffect_Data::kEffectVolume), 40);
    EXPECT_EQ(Data().Output(0).EQ().HighPass().GetFrequency(), 20000);
    EXPECT_EQ(Data().Output(0).EQ().LowPass().GetFrequency(), 20);
}

TEST_F(RecordsTest, UncheckedDeviceValuesNeverBreakTheModel)
{
    uint8_t* pOut = OutBlock(State().m_LiveImage, 0);
    pOut[256 + 2] = 9;     // filter type
    pOut[256 + 3] = 200;   // slope
    PutWord(pOut + 256, 500);
    pOut[5 * 8 + 7] = 77;  // band kind
    pOut[5 * 8 + 6] = 250; // band slope
    PutWord(pOut + 5 * 8 + 2, 0xFFFF);
    PutWord(pOut + 5 * 8 + 4, 0xFFFF);
    PutWord(pOut + 6 * 8, 0);
    Data().SetPlotRect(600, 400);
    Data().LoadFromImage(State().m_LiveImage, 0);
    CKTV_OutData& out = Data().Output(0);
    out.RecomputeCurve();
    for (double d : out.EQ().HighPass().Response())
        EXPECT_EQ(d, 0.0);
    EXPECT_DOUBLE_EQ(out.EQ()[5].GetGain(), 20.0);
    EXPECT_DOUBLE_EQ(out.EQ()[5].GetBandwidth(), 3.0);
    EXPECT_EQ(out.EQ()[6].GetFrequency(), 20);
    for (const BandPointF& pt : out.CurveF())
        EXPECT_TRUE(std::isfinite(pt.y));
    out.EQ()[5].Describe();
    out.EQ().HighPass().Describe();
}

TEST_F(RecordsTest, CopyFromKeepsIdentityOfTheTarget)
{
    CKTV_OutData& src = Data().Output(3);
    CKTV_OutData& dst = Data().Output(2);
    src.EQ()[9].SetGainCode(310);
    src.EQ().HighPass().SetFrequency(100, false);
    src.SetLevel(0);
    src.SetDelay(480);
    src.SetEqMode(0);
    src.SetMute(1);
    src.SetThreshold(111);
    dst.SetCurveVisible(1);
    State().m_bOnline = 1;
    dst.CopyFrom(src);
    EXPECT_DOUBLE_EQ(dst.EQ()[9].GetGain(), 11.0);
    EXPECT_EQ(dst.EQ().HighPass().GetFrequency(), 100);
    EXPECT_EQ(dst.GetLevelZero(), 1);
    EXPECT_EQ(dst.GetDelay(), 480);
    EXPECT_EQ(dst.GetEqMode(), 0);
    EXPECT_FALSE(dst.EQ()[0].IsGraphic());
    EXPECT_EQ(dst.GetThreshold(), 111);
    EXPECT_EQ(dst.GetName(), "SL");
    EXPECT_EQ(dst.GetMute(), 0);
    EXPECT_EQ(dst.GetInL(), 1);
    EXPECT_EQ(dst.GetMiscMark(), 0);
    EXPECT_EQ(dst.EQ()[9].GetChangeMark(), 0);
}

TEST_F(RecordsTest, SharedSettersCopyTheirGroupOnly)
{
    State().m_nLinkGroup[5] = 4;
    CKTV_OutData& a = Data().Output(4);
    CKTV_OutData& b = Data().Output(5);
    a.SetEqMode(0);
    EXPECT_EQ(b.GetEqMode(), 0);
    EXPECT_FALSE(b.EQ()[3].IsGraphic());
    a.SetAttack(20);
    EXPECT_EQ(b.GetAttack(), 20);
    a.SetMute(1);
    a.SetDelay(10);
    EXPECT_EQ(b.GetMute(), 0);
    EXPECT_EQ(b.GetDelay(), 960);
    // The side flags follow the IN L / IN R bytes they stand for.
    a.SetLeftOff(0);
    a.SetRightOff(1);
    EXPECT_EQ(b.GetInL(), 1);
    EXPECT_EQ(b.GetInR(), 0);
    EXPECT_EQ(b.GetLeftOff(), 0);
    EXPECT_EQ(b.GetRightOff(), 1);
}

TEST_F(RecordsTest, BypassRules)
{
    CFilter& band = Data().Output(0).EQ()[2];
    band.SetGainCode(230);
    EXPECT_EQ(band.GetOwnBypass(), 0);
    band.SetBypass(1);
    EXPECT_TRUE(band.IsEffectivelyBypassed());
    band.SetBypass(0);
    EXPECT_FALSE(band.IsEffectivelyBypassed());

    // A band at exactly 0.0 dB stays bypassed.
    CFilter& flat = Data().Output(0).EQ()[3];
    flat.SetBypass(0);
    EXPECT_EQ(flat.GetOwnBypass(), 1);

    // Whole-set bypass covers every filter and restores the previous state.
    CKTV_OutData& out = Data().Output(0);
    EXPECT_FALSE(out.TestAllBypassed());
    out.SetWholeSetBypass(true);
    EXPECT_TRUE(out.TestAllBypassed());
    EXPECT_DOUBLE_EQ(band.GetGain(), 3.0);
    out.SetWholeSetBypass(false);
    EXPECT_FALSE(out.TestAllBypassed());
    EXPECT_EQ(band.GetChangeMark(), 0);

    // Un-bypassing one band under a whole-set bypass releases it alone.
    out.SetWholeSetBypass(true);
    band.SetBypass(0);
    EXPECT_FALSE(band.IsEffectivelyBypassed());
    EXPECT_TRUE(Data().Output(0).EQ()[4].IsEffectivelyBypassed());

    // A new gain clears the whole-set flag of that band.
    CFilter& other = Data().Output(0).EQ()[5];
    other.SetGainCode(150);
    EXPECT_FALSE(other.IsEffectivelyBypassed());
}

TEST_F(RecordsTest, ShelfModeMovesToTheHinge)
{
    CFilter& band = Data().Output(0).EQ()[25];  // 6300 Hz
    band.SetShelfMode(2);
    EXPECT_EQ(band.GetKind(), kLowShelf);
    EXPECT_EQ(band.GetSlope(), 1);
    EXPECT_EQ(band.GetFrequency(), 2000);
    CFilter& low = Data().Output(0).EQ()[2];    // 32 Hz
    low.SetShelfMode(3);
    EXPECT_EQ(low.GetKind(), kHighShelf);
    EXPECT_EQ(low.GetSlope(), 0);
    EXPECT_EQ(low.GetFrequency(), 2000);
    low.SetShelfMode(9);
    EXPECT_EQ(low.GetKind(), kHighShelf);
}

// Online too: the image is what the processor already holds, so nothing is
// left to step (a band stepping 20 → 5000 would keep 40 once marks are cleared).
TEST_F(RecordsTest, GroupParsingTakesTheLoadedFrequencyWhole)
{
    State().m_bOnline = 1;
    uint8_t group[8];
    PutWord(group, 5000);
    PutWord(group + 2, 612);
    PutWord(group + 4, 15);
    group[6] = 0;
    group[7] = kPeaking;
    CKTVEQ& eq = Data().Output(0).EQ();
    eq.ParseGroup(0, group);
    EXPECT_EQ(eq[0].GetFrequency(), 5000);
    EXPECT_EQ(eq[0].GetSentFrequency(), 5000);
    EXPECT_DOUBLE_EQ(eq[0].GetGain(), 1.2);
    EXPECT_EQ(eq[0].GetChangeMark(), 0);
    uint8_t packed[8];
    eq.PackGroup(0, packed, CKTVEQ::Freq::Sent);
    EXPECT_EQ(0, std::memcmp(packed, group, 8));
}

TEST_F(RecordsTest, StepFrequencyNeverUndershootsTheTarget)
{
    CFilter& band = Data().Output(0).EQ()[10];
    band.SetFrequency(1000, false);
    State().m_bOnline = 1;
    band.SetFrequency(20000, true);
    for (int i = 0; i < 10; ++i)
        band.StepFrequency(0);
    EXPECT_EQ(band.GetSentFrequency(), 20000);
    EXPECT_EQ(band.GetChangeMark(), 0);
    band.SetFrequency(600, true);
    EXPECT_EQ(band.GetSentFrequency(), 600);
}

// Seeded random images stand in for whatever a processor or a damaged
// preset file may deliver; the sanitizer runs make this a memory check.
TEST_F(RecordsTest, RandomImagesLoadDrawAndScanSafely)
{
    std::mt19937 rng(470);
    std::uniform_int_distribution<int> byte(0, 255);
    Data().SetPlotRect(900, 320);
    State().m_bOnline = 1;
    for (int round = 0; round < 40; ++round) {
        uint8_t image[kImageSize];
        for (uint8_t& b : image)
            b = static_cast<uint8_t>(byte(rng));
        Data().LoadFromImage(image, round % 21);
        Data().SetAllMarks(1);
        int nFrames = 0;
        while (Data().NextChange())
            ASSERT_LT(++nFrames, 5000);
        for (int i = 0; i < kOutputs; ++i) {
            Data().Output(i).RecomputeCurve();
            for (const BandPointF& pt : Data().Output(i).CurveF())
                ASSERT_TRUE(std::isfinite(pt.y));
            ASSERT_LE(Data().Output(i).GetLevel(), 70);
        }
    }
}
