#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "Filter.h"
#include "GlobalData.h"
#include "ModelFixture.h"

namespace {

// 600 pixels wide: 200 columns per decade from 20 Hz. 400 high: 10 rows per
// dB, 0 dB on plot row 200, client row 210.
constexpr int W = 600;
constexpr int H = 400;
constexpr int kZeroLine = 210;

using Sides = std::array<int, 4>;

Sides SidesOf(const BandRect& rc)
{
    return {rc.left, rc.top, rc.right, rc.bottom};
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
        f.SetGainCode(static_cast<int>(std::lround(dGain * 10.0)) + kGainCodeZero);
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
    const int nPeak = NearestAxisIndex(1000.0) + 1;
    EXPECT_EQ(area[0].x, 35);
    EXPECT_EQ(area[0].y, kZeroLine);
    EXPECT_EQ(area[kAreaPoints - 1].x, W + 35);
    EXPECT_EQ(area[kAreaPoints - 1].y, kZeroLine);
    EXPECT_EQ(area[nPeak].x, 35 + static_cast<int>(200.0 * std::log10(g_dFreqAxis[nPeak - 1] / 20.0)));
    EXPECT_EQ(area[nPeak].y, 10);  // +20 dB is the plot's top row
    EXPECT_EQ(area[1].y, kZeroLine);

    f.SetPlotRect(W, 2 * H);
    EXPECT_EQ(area[nPeak].y, 10);
    EXPECT_EQ(area[0].y, 2 * kZeroLine - 10);
}

TEST_F(FilterGraph, WithoutAPlotRectTheResponseIsComputedAndRowsCollapse)
{
    CFilter f;
    f.SetGainCode(260);
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
    EXPECT_NEAR(before[NearestAxisIndex(100.0) - 48], -48.0, 1.0);  // two octaves down
    hp.SetGainCode(230);
    hp.SetBypass(1);
    hp.SetWholeSetBypass(true);
    hp.Recompute();
    ASSERT_TRUE(hp.IsEffectivelyBypassed());
    EXPECT_EQ(hp.Response(), before);
}

TEST_F(FilterGraph, CrossoverResponseRules)
{
    EXPECT_TRUE(IsFlat(Crossover(kHighPass, 20, 2)));
    EXPECT_FALSE(IsFlat(Crossover(kHighPass, 21, 2)));
    EXPECT_TRUE(IsFlat(Crossover(kLowPass, 20000, 2)));
    EXPECT_FALSE(IsFlat(Crossover(kLowPass, 19999, 2)));
    EXPECT_TRUE(IsFlat(Crossover(kHighPass, 1000, kCrossoverSlopeOff)));
    EXPECT_TRUE(IsFlat(Crossover(kLowPass, 1000, kCrossoverSlopeOff)));
    EXPECT_TRUE(IsFlat(Crossover(kHighPass, 1000, 9)));
    EXPECT_TRUE(IsFlat(Crossover(kLowPass, 1000, 2, 3)));

    CFilter mic;  // microphone crossovers offer 12 and 24 dB/oct as slopes 0 and 1
    mic.SetEqBand(false);
    mic.SetTwoSlope(true);
    mic.SetKind(kLowPass);
    mic.SetSlope(1, false);
    mic.SetFrequency(2000, false);
    EXPECT_EQ(mic.Response(), Crossover(kLowPass, 2000, 2).Response());
}

TEST_F(FilterGraph, UnknownKindKeepsItsResponseButRefreshesItsRows)
{
    CFilter f = EqBand(1000, 6.0);
    const auto before = f.Response();
    f.SetKind(5);
    f.SetFrequency(5000, false);
    EXPECT_EQ(f.Response(), before);
    f.SetPlotRect(W, 2 * H);  // 20 rows per dB
    EXPECT_EQ(f.AreaPolygon()[NearestAxisIndex(1000.0) + 1].y, 10 + 20 * 14);
}

TEST_F(FilterGraph, EqMarkerStaysInsideThePlot)
{
    EXPECT_EQ(EqBand(1000, 20.0).MarkerRect().top, 10);
    EXPECT_EQ(EqBand(1000, -20.0).MarkerRect().bottom, H + 10);
    EXPECT_EQ(EqBand(1000, 0.0).MarkerRect().CenterY(), kZeroLine);
    EXPECT_EQ(SidesOf(EqBand(20000, 3.0).MarkerRect()), (Sides{W + 35 - 16, 172, W + 35, 188}));
    CFilter low = EqBand(20, 3.0);
    EXPECT_EQ(low.MarkerRect().left, 35 - 8);
    low.SetGroupIndex(9);
    low.LayoutEqBand();
    EXPECT_EQ(low.MarkerRect().left, 35);
}

TEST_F(FilterGraph, EqLabelSitsBelowTheMarkerUnlessNearTheBottomOrRightEdge)
{
    const CFilter peq = EqBand(1000, 6.0);  // plot column 339, row 140
    EXPECT_EQ(SidesOf(peq.MarkerRect()), (Sides{366, 142, 382, 158}));
    EXPECT_EQ(SidesOf(peq.TextRect()), (Sides{366, 142 + 25, 382 + 210, 158 + 25}));
    EXPECT_EQ(EqBand(1000, 6.0, kLowShelf).TextRect().right, 382 + 90);
    EXPECT_EQ(SidesOf(EqBand(10000, 6.0).TextRect()), (Sides{W + 35 - 200, 167, W + 35, 183}));
    EXPECT_EQ(EqBand(10000, 6.0, kHighShelf).TextRect().left, W + 35 - 116);

    // The label moves above once the marker's bottom (client rows) reaches H − 15.
    const CFilter low = EqBand(1000, -16.7);
    EXPECT_EQ(SidesOf(low.MarkerRect()), (Sides{366, H - 31, 382, H - 15}));
    EXPECT_EQ(SidesOf(low.TextRect()), (Sides{366, H - 31 - 25, 382 + 210, H - 15 - 25}));
    const CFilter higher = EqBand(1000, -16.6);
    EXPECT_EQ(higher.TextRect().top, higher.MarkerRect().top + 25);
}

TEST_F(FilterGraph, HandlesMarkTheBandEdgesOnTheZeroLineSide)
{
    CFilter f = EqBand(1000, 6.0);  // marker centre row 150
    f.SetBandwidthCode(45);         // 0.5 octaves: 707 Hz (column 309) … 1414 Hz (column 369)
    EXPECT_EQ(SidesOf(f.LeftHandleRect()), (Sides{309 + 25 - 4, 156, 309 + 25 + 4, 164}));
    EXPECT_EQ(SidesOf(f.RightHandleRect()), (Sides{369 + 45 - 4, 156, 369 + 45 + 4, 164}));
    f.SetGainCode(140);  // −6 dB: marker centre row 270
    EXPECT_EQ(f.LeftHandleRect().top, 270 - 10 - 4);
    f.SetBypass(1);  // marker back on the zero line, handles still above it
    EXPECT_EQ(f.MarkerRect().CenterY(), kZeroLine);
    EXPECT_EQ(f.LeftHandleRect().top, kZeroLine - 10 - 4);
}

TEST_F(FilterGraph, CrossoverMarkersSitLowWithTheirLabelsApart)
{
    const CFilter hp = Crossover(kHighPass, 100, 2);  // column 139, −15 dB on row 350
    EXPECT_EQ(SidesOf(hp.MarkerRect()), (Sides{166, 360, 182, 376}));
    EXPECT_EQ(SidesOf(hp.TextRect()), (Sides{166, 360 + 15, 182 + 50, 376 + 25}));
    const CFilter lp = Crossover(kLowPass, 20000, 2);  // column 600, −17 dB on row 370
    EXPECT_EQ(SidesOf(lp.MarkerRect()), (Sides{W + 27, 380, W + 43, 396}));
    EXPECT_EQ(SidesOf(lp.TextRect()), (Sides{W + 35 - 66, 380 - 15, W + 35, 396 + 20}));
    EXPECT_EQ(Crossover(kHighPass, 20, 2).MarkerRect().left, 35 - 8);
}
