#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "Filter.h"
#include "GlobalData.h"
#include "ModelFixture.h"

namespace {

// 600 pixels wide: 200 columns per decade from 20 Hz. 400 high: 10 rows per dB,
// 0 dB on row 200, i.e. client row 210.
constexpr int W = 600;
constexpr int H = 400;
constexpr int kZeroLine = 210;

int GainCode(double dGain)
{
    return static_cast<int>(std::lround(dGain * 10.0)) + kGainCodeZero;
}

bool IsFlat(const CFilter& f)
{
    return std::all_of(f.Response().begin(), f.Response().end(), [](double d) { return d == 0.0; });
}

class FilterGraph : public ModelTest {
protected:
    static CFilter EqBand(int nFreq, double dGain, int nKind = kPeaking)
    {
        CFilter f;
        f.SetPlotRect(W, H);
        f.SetKind(nKind);
        f.SetFrequency(nFreq, false);
        f.SetGainCode(GainCode(dGain));
        return f;
    }

    static CFilter Crossover(int nKind, int nFreq, int nSlope, int nType = kLinkwitzRiley)
    {
        CFilter f;
        f.SetEqBand(false);
        f.SetKind(nKind);
        f.SetFilterType(nType, false);
        f.SetSlope(nSlope, false);
        f.SetFrequency(nFreq, false);
        f.SetPlotRect(W, H);
        return f;
    }
};

}  // namespace

TEST_F(FilterGraph, AreaPolygonIsClosedOnTheZeroLineAndFollowsTheResponse)
{
    CFilter f = EqBand(1000, 20.0);
    const auto& area = f.AreaPolygon();
    EXPECT_EQ(area[0].x, 35);
    EXPECT_EQ(area[0].y, kZeroLine);
    EXPECT_EQ(area[kAreaPoints - 1].x, W + 35);
    EXPECT_EQ(area[kAreaPoints - 1].y, kZeroLine);
    const int nPeak = NearestAxisIndex(1000.0) + 1;
    EXPECT_EQ(area[nPeak].x, 35 + static_cast<int>(200.0 * std::log10(g_dFreqAxis[nPeak - 1] / 20.0)));
    EXPECT_EQ(area[nPeak].y, 10);  // +20 dB is the plot's top row
    EXPECT_EQ(area[1].y, kZeroLine);
    EXPECT_EQ(area[kAxisPoints].x, W + 35);

    f.SetPlotRect(W, 2 * H);
    EXPECT_EQ(area[nPeak].y, 10);
    EXPECT_EQ(area[0].y, 2 * kZeroLine - 10);
}

TEST_F(FilterGraph, WithoutAPlotRectTheResponseIsComputedAndRowsCollapse)
{
    CFilter f;
    f.SetGainCode(GainCode(6.0));
    EXPECT_NEAR(f.Response()[NearestAxisIndex(1000.0)], 6.0, 1e-3);
    for (const BandPoint& pt : f.AreaPolygon())
        EXPECT_EQ(pt.y, 10);
    CFilter hp;
    hp.SetEqBand(false);
    hp.SetKind(kHighPass);
    hp.SetFrequency(100, false);
    EXPECT_LT(hp.Response()[0], -20.0);
}

TEST_F(FilterGraph, BypassFlattensEqualizerBandsButNeverCrossovers)
{
    CFilter eq = EqBand(1000, 6.0);
    eq.SetWholeSetBypass(true);
    EXPECT_TRUE(IsFlat(eq));
    eq.SetWholeSetBypass(false);
    EXPECT_NEAR(eq.Response()[NearestAxisIndex(1000.0)], 6.0, 1e-3);

    CFilter hp = Crossover(kHighPass, 100, 2);
    const auto before = hp.Response();
    hp.SetGainCode(GainCode(3.0));
    hp.SetBypass(1);
    hp.SetWholeSetBypass(true);
    hp.Recompute();
    ASSERT_TRUE(hp.IsEffectivelyBypassed());
    EXPECT_EQ(hp.Response(), before);
    EXPECT_NEAR(before[NearestAxisIndex(100.0) - 48], -48.0, 1.0);  // two octaves down, 24 dB/oct
}

TEST_F(FilterGraph, CrossoversAtTheirEndFrequencyOrSlopeOffAreFlat)
{
    EXPECT_TRUE(IsFlat(Crossover(kHighPass, 20, 2)));
    EXPECT_FALSE(IsFlat(Crossover(kHighPass, 21, 2)));
    EXPECT_TRUE(IsFlat(Crossover(kLowPass, 20000, 2)));
    EXPECT_FALSE(IsFlat(Crossover(kLowPass, 19999, 2)));
    EXPECT_TRUE(IsFlat(Crossover(kHighPass, 1000, kCrossoverSlopeOff)));
    EXPECT_TRUE(IsFlat(Crossover(kLowPass, 1000, kCrossoverSlopeOff)));
}

TEST_F(FilterGraph, TwoSlopeCrossoverAtSlopeOneHasTheTwentyFourResponse)
{
    CFilter mic;
    mic.SetEqBand(false);
    mic.SetTwoSlope(true);
    mic.SetKind(kLowPass);
    mic.SetSlope(1, false);
    mic.SetFrequency(2000, false);
    EXPECT_EQ(mic.Response(), Crossover(kLowPass, 2000, 2).Response());
}

TEST_F(FilterGraph, UncheckedValuesNeitherCrashNorInventACurve)
{
    EXPECT_TRUE(IsFlat(Crossover(kHighPass, 1000, 9)));
    EXPECT_TRUE(IsFlat(Crossover(kLowPass, 1000, 2, 3)));

    CFilter f = EqBand(1000, 6.0);
    const auto before = f.Response();
    f.SetKind(5);
    f.SetFrequency(5000, false);
    EXPECT_EQ(f.Response(), before);
    f.SetPlotRect(W, 2 * H);  // 20 rows per dB
    EXPECT_EQ(f.AreaPolygon()[NearestAxisIndex(1000.0) + 1].y, 10 + 20 * 14);
}

TEST_F(FilterGraph, EqMarkerIsClampedToThePlot)
{
    EXPECT_EQ(EqBand(1000, 20.0).MarkerRect().top, 10);
    EXPECT_EQ(EqBand(1000, -20.0).MarkerRect().bottom, H + 10);
    EXPECT_EQ(EqBand(1000, 0.0).MarkerRect().CenterY(), kZeroLine);
    const BandRect rc = EqBand(20000, 3.0).MarkerRect();
    EXPECT_EQ(rc.left, W + 35 - 16);
    EXPECT_EQ(rc.right, W + 35);

    CFilter low = EqBand(20, 3.0);
    EXPECT_EQ(low.MarkerRect().left, 35 - 8);
    low.SetGroupIndex(9);
    low.LayoutEqBand();
    EXPECT_EQ(low.MarkerRect().left, 35);
}

TEST_F(FilterGraph, EqLabelSitsBelowTheMarkerUnlessNearTheBottomOrRightEdge)
{
    const CFilter peq = EqBand(1000, 6.0);  // column 339, row 140
    EXPECT_EQ(peq.MarkerRect().left, 366);
    EXPECT_EQ(peq.MarkerRect().top, 142);
    const BandRect& text = peq.TextRect();
    EXPECT_EQ(text.left, 366);
    EXPECT_EQ(text.right, 382 + 210);
    EXPECT_EQ(text.top, 142 + 25);
    EXPECT_EQ(text.bottom, 158 + 25);

    EXPECT_EQ(EqBand(10000, 6.0).TextRect().right, W + 35);
    EXPECT_EQ(EqBand(10000, 6.0).TextRect().left, W + 35 - 200);
    EXPECT_EQ(EqBand(10000, 6.0, kHighShelf).TextRect().left, W + 35 - 116);
    EXPECT_EQ(EqBand(1000, 6.0, kLowShelf).TextRect().right, 382 + 90);

    // The label flips once the marker's bottom (client rows) reaches H − 15.
    const CFilter low = EqBand(1000, -16.7);
    EXPECT_EQ(low.MarkerRect().bottom, H - 15);
    EXPECT_EQ(low.TextRect().top, low.MarkerRect().top - 25);
    EXPECT_EQ(low.TextRect().bottom, H - 15 - 25);
    const CFilter higher = EqBand(1000, -16.6);
    EXPECT_EQ(higher.TextRect().top, higher.MarkerRect().top + 25);
}

TEST_F(FilterGraph, HandlesMarkTheBandEdgesOnTheZeroLineSide)
{
    CFilter f = EqBand(1000, 6.0);  // marker rows 142 … 158
    f.SetBandwidthCode(45);         // 0.5 octaves: 707 Hz … 1414 Hz
    EXPECT_EQ(f.LeftHandleRect().left, 309 + 25 - 4);
    EXPECT_EQ(f.RightHandleRect().left, 369 + 45 - 4);
    EXPECT_EQ(f.RightHandleRect().right, 369 + 45 + 4);
    EXPECT_EQ(f.LeftHandleRect().top, 150 + 10 - 4);
    EXPECT_EQ(f.RightHandleRect().bottom, 150 + 10 + 4);

    f.SetGainCode(GainCode(-6.0));  // marker rows 262 … 278
    EXPECT_EQ(f.LeftHandleRect().top, 270 - 10 - 4);
    f.SetBypass(1);  // marker back on the zero line, handles still above it
    EXPECT_EQ(f.MarkerRect().CenterY(), kZeroLine);
    EXPECT_EQ(f.LeftHandleRect().top, kZeroLine - 10 - 4);
}

TEST_F(FilterGraph, CrossoverMarkersSitLowWithLabelsApart)
{
    const CFilter hp = Crossover(kHighPass, 100, 2);  // column 139, −15 dB = row 350
    EXPECT_EQ(hp.MarkerRect().left, 166);
    EXPECT_EQ(hp.MarkerRect().top, 360);
    const BandRect& hpText = hp.TextRect();
    EXPECT_EQ(hpText.left, 166);
    EXPECT_EQ(hpText.right, 182 + 50);
    EXPECT_EQ(hpText.top, 360 + 15);
    EXPECT_EQ(hpText.bottom, 376 + 25);

    const CFilter lp = Crossover(kLowPass, 20000, 2);  // column 600, −17 dB = row 370
    EXPECT_EQ(lp.MarkerRect().right, W + 8 + 35);
    EXPECT_EQ(lp.MarkerRect().top, 380);
    const BandRect& lpText = lp.TextRect();
    EXPECT_EQ(lpText.right, W + 35);
    EXPECT_EQ(lpText.left, W + 35 - 66);
    EXPECT_EQ(lpText.top, 380 - 15);
    EXPECT_EQ(lpText.bottom, 396 + 20);

    EXPECT_EQ(Crossover(kHighPass, 20, 2).MarkerRect().left, 35 - 8);
}
