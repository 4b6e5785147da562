// The drag rules on bare band objects: crossover ranges, what counts as a
// change, and the bandwidth limits of the left handle.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "BandDrag.h"
#include "Filter.h"
#include "ModelFixture.h"

namespace {

// 600 wide: 200 columns a decade from 20 Hz; 400 high: 10 rows a dB.
constexpr int W = 600;
constexpr int H = 400;

int XOf(double dFreq)
{
    return FreqToCol(dFreq, W) + kPlotOffsetX;
}

bool IsFlat(const CFilter& f)
{
    return std::all_of(f.Response().begin(), f.Response().end(), [](double d) { return d == 0.0; });
}

class BandDrag : public ModelTest {
protected:
    static CFilter Crossover(int nKind, int nFreq, int nRangeCode)
    {
        CFilter f;
        f.SetEqBand(false);
        f.SetRangeCode(nRangeCode);
        f.SetKind(nKind);
        f.SetFrequency(nFreq, false);
        f.SetPlotRect(W, H);
        return f;
    }

    static CFilter Peaking(int nFreq)
    {
        CFilter f;
        f.SetGraphic(false);
        f.SetFrequency(nFreq, false);
        f.SetPlotRect(W, H);
        return f;
    }
};

}  // namespace

TEST_F(BandDrag, LockedRangeKeepsBothCutoffs)
{
    CFilter hp = Crossover(kHighPass, 100, kRangeLocked);
    CFilter lp = Crossover(kLowPass, 8000, kRangeLocked);
    EXPECT_FALSE(DragCutoff(hp, XOf(300), 8000));
    EXPECT_FALSE(DragCutoff(lp, XOf(3000), 100));
    EXPECT_EQ(hp.GetFrequency(), 100);
    EXPECT_EQ(lp.GetFrequency(), 8000);
}

TEST_F(BandDrag, SplitRangeKeepsHighPassLowAndLowPassHigh)
{
    CFilter hp = Crossover(kHighPass, 100, kRangeSplit);
    CFilter lp = Crossover(kLowPass, 8000, kRangeSplit);
    EXPECT_TRUE(DragCutoff(hp, XOf(5000), 8000));
    EXPECT_TRUE(DragCutoff(lp, XOf(200), 1000));
    EXPECT_EQ(hp.GetFrequency(), 1000);
    EXPECT_EQ(lp.GetFrequency(), 5000);

    // Within the range the column decides.
    EXPECT_TRUE(DragCutoff(hp, XOf(400), 5000));
    EXPECT_NEAR(hp.GetFrequency(), 400, 4);
}

TEST_F(BandDrag, LowPassStopsAtTheHighPassCutoff)
{
    CFilter lp = Crossover(kLowPass, 8000, 7);
    EXPECT_TRUE(DragCutoff(lp, XOf(50), 600));
    EXPECT_EQ(lp.GetFrequency(), 600);
}

TEST_F(BandDrag, HighPassAtTheLeftEdgeSwitchesOffInEveryMovableRange)
{
    for (int nCode : {6, 7, 8, 9}) {
        CFilter hp = Crossover(kHighPass, 200, nCode);
        ASSERT_FALSE(IsFlat(hp));
        EXPECT_TRUE(DragCutoff(hp, kPlotOffsetX - 30, 20000)) << nCode;
        EXPECT_EQ(hp.GetFrequency(), kMinFreq) << nCode;
        EXPECT_TRUE(IsFlat(hp)) << nCode;
    }
}

TEST_F(BandDrag, DragToTheCurrentValueIsNoChangeAndMarksNothing)
{
    // Bands of an online processor's model: an edit would be marked.
    CFilter hp = Crossover(kHighPass, 20, 9);
    hp.AttachState(&State());
    State().m_bOnline = 1;
    EXPECT_FALSE(DragCutoff(hp, kPlotOffsetX, 20000));
    EXPECT_EQ(hp.GetChangeMark(), 0);

    CFilter band = Peaking(1000);
    band.AttachState(&State());
    band.SetGainCode(kGainCodeZero + 60);
    band.SetChangeMark(0);
    const int x = XOf(band.GetFrequency()) + 1;
    const int y = DbToRow(6.0, H) + kPlotOffsetY;
    ASSERT_TRUE(DragMarker(band, x, y));  // the column's whole hertz differ from 1000
    band.SetChangeMark(0);
    EXPECT_FALSE(DragMarker(band, x, y));
    EXPECT_EQ(band.GetChangeMark(), 0);
    EXPECT_DOUBLE_EQ(band.GetGain(), 6.0);

    EXPECT_TRUE(DragMarker(band, x, y + 10));
    EXPECT_EQ(band.GetChangeMark(), 1);
    EXPECT_NEAR(band.GetGain(), 5.0, 0.05);
}

TEST_F(BandDrag, CrossoverFiltersIgnoreTheMarkerRuleAndBandsTheCutoffRule)
{
    CFilter hp = Crossover(kHighPass, 100, 7);
    EXPECT_FALSE(DragMarker(hp, XOf(1000), 50));
    EXPECT_EQ(hp.GetFrequency(), 100);
    CFilter band = Peaking(1000);
    EXPECT_FALSE(DragCutoff(band, XOf(100), 20000));
    EXPECT_EQ(band.GetFrequency(), 1000);
}

TEST_F(BandDrag, LeftHandleBandwidthIsLimitedOnBothSides)
{
    CFilter band = Peaking(1000);
    EXPECT_TRUE(DragBandwidth(band, XOf(2000), false));  // across the centre
    EXPECT_EQ(band.GetBandwidthCode(), 0);
    EXPECT_TRUE(DragBandwidth(band, kPlotOffsetX - 100, false));  // 50 Hz and below: over 4 octaves
    EXPECT_EQ(band.GetBandwidthCode(), kBandwidthCodeMax);
    EXPECT_TRUE(DragBandwidth(band, XOf(500), false));
    EXPECT_NEAR(band.GetBandwidth(), 1.0, 0.02);
}

TEST_F(BandDrag, MarkerDragHandsTheNewGainStepToTheBandsFader)
{
    CFilter band = Peaking(1000);
    std::vector<int> faderSteps;
    band.AttachFader([&](int nCode) { faderSteps.push_back(nCode); });
    ASSERT_TRUE(DragMarker(band, XOf(1000), DbToRow(-6.0, H) + kPlotOffsetY));
    ASSERT_EQ(faderSteps.size(), 1u);
    EXPECT_EQ(faderSteps.back(), band.GetGainCode());
    EXPECT_EQ(faderSteps.back(), kGainCodeZero - 60);
    ASSERT_FALSE(DragMarker(band, XOf(1000), DbToRow(-6.0, H) + kPlotOffsetY));
    EXPECT_EQ(faderSteps.size(), 1u) << "no change, nothing for the fader";
}
