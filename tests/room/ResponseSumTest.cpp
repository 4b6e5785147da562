// Outputs meeting in the air: crossover sums, combs, the alignment advice,
// measurements in the sum, and several positions' power average.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "KTVEQ.h"
#include "MeasurementAverage.h"
#include "ResponseSum.h"
#include "ResponseView.h"

namespace {

constexpr int kSlope24 = 2;

SumMember Crossed(CKTVEQ& eq, bool bHighPass, int nFreq, ChainSettings settings)
{
    CFilter& filter = bHighPass ? eq.HighPass() : eq.LowPass();
    filter.LoadCrossover(nFreq, kLinkwitzRiley, kSlope24);
    return {ComputeChain(eq, settings), nullptr};
}

int Lowest(const SumResult& sum, int nFirst, int nLast)
{
    return static_cast<int>(std::min_element(sum.dDb.begin() + nFirst, sum.dDb.begin() + nLast + 1) -
                            sum.dDb.begin());
}

std::vector<MeasurementPoint> Flat(double dDb, bool bPhase)
{
    return {{10.0, dDb, 0.0, bPhase}, {30000.0, dDb, 0.0, bPhase}};
}

}  // namespace

TEST(ResponseSum, LinkwitzRileyPairIsFlatAndNotchesWhenInverted)
{
    CKTVEQ low(nullptr, EqSetType::Output, 7), high(nullptr, EqSetType::Output, 7);
    const SumMember lp = Crossed(low, false, 1000, {});
    for (const bool bInverted : {false, true}) {
        const SumResult sum = SumChains({lp, Crossed(high, true, 1000, {0, bInverted, 0.0, false})});
        EXPECT_TRUE(sum.bFiltersOnly);
        const auto [lo, hi] = std::minmax_element(sum.dDb.begin(), sum.dDb.end());
        if (!bInverted) {
            EXPECT_LT(*hi - *lo, 0.1);
        } else {
            EXPECT_NEAR(g_dFreqAxis[Lowest(sum, 0, kAxisPoints - 1)], 1000.0, 30.0);
            EXPECT_LT(*lo, -30.0);
        }
    }
}

TEST(ResponseSum, OneMillisecondLaterGivesACombWithItsFirstNullAt500Hz)
{
    CKTVEQ eq(nullptr, EqSetType::Output, 7);
    const SumResult sum = SumChains({{ComputeChain(eq, {}), nullptr}, {ComputeChain(eq, {48, false, 0.0, false}), nullptr}});
    EXPECT_NEAR(sum.dDb[0], 6.02, 0.05);
    const int nNull = Lowest(sum, 0, NearestAxisIndex(750.0));
    EXPECT_EQ(nNull, NearestAxisIndex(500.0));
    EXPECT_LT(sum.dDb[nNull], -20.0);
    // Both a millisecond late: the sum's group delay, from its phase, is that millisecond.
    const ChainResponse late = ComputeChain(eq, {48, false, 0.0, false});
    AxisResponse delay{};
    SumValues(ResponseView::GroupDelay, SumChains({{late, nullptr}, {late, nullptr}}), delay);
    EXPECT_NEAR(delay[1], 1.0, 0.01);
    EXPECT_NEAR(delay[200], 1.0, 0.01);
}

TEST(ResponseSum, AdviceFindsTheMillisecondOfAnLr24Pair)
{
    CKTVEQ low(nullptr, EqSetType::Output, 7), high(nullptr, EqSetType::Output, 7);
    const SumMember lp = Crossed(low, false, 200, {100, false, 0.0, false});
    const SumMember hp = Crossed(high, true, 200, {148, false, 0.0, false});
    const AlignAdvice advice = AdviseAlignment(lp, hp);
    EXPECT_NEAR(advice.dCrossoverHz, 200.0, 10.0);
    EXPECT_EQ(advice.nMember == 0 ? advice.nDelayCode - 100 : 148 - advice.nDelayCode, 48);
    EXPECT_FALSE(advice.bInvertSecond);
    EXPECT_GT(advice.dBeforeDb, 0.5);
    EXPECT_LT(advice.dAfterDb, 0.05);
}

TEST(ResponseSum, MeasurementsCountOnlyWhenEveryOneHasPhase)
{
    CKTVEQ eq(nullptr, EqSetType::Output, 7);
    std::string strError;
    for (const bool bPhase : {true, false}) {
        CRoomCurve loud, quiet;
        ASSERT_TRUE(loud.Assign(Flat(80.0, true), &strError));
        ASSERT_TRUE(quiet.Assign(Flat(74.0, bPhase), &strError));
        const SumResult sum = SumChains({{ComputeChain(eq, {}), &loud}, {ComputeChain(eq, {}), &quiet}});
        EXPECT_EQ(sum.bFiltersOnly, !bPhase);
        // With them the levels keep their 6 dB apart; the common offset is their mean.
        const double dExpected = bPhase ? 20.0 * std::log10(std::pow(10.0, 3.0 / 20.0) + std::pow(10.0, -3.0 / 20.0))
                                        : 20.0 * std::log10(2.0);
        EXPECT_NEAR(sum.dDb[120], dExpected, 1e-6);
    }
}

TEST(ResponseSum, PowerAverageOfThreePositions)
{
    const Positions positions = {
        {{20.0, 70.0, 10.0, true}, {20000.0, 90.0, 10.0, true}},
        {{15.0, 80.0, 0.0, true}, {18000.0, 80.0, 0.0, true}},
        {{30.0, 60.0, 0.0, true}, {22000.0, 66.0, 0.0, true}},
    };
    std::vector<MeasurementPoint> average;
    std::string strError;
    ASSERT_TRUE(PowerAverage(positions, &average, &strError)) << strError;
    EXPECT_GE(average.front().dFreq, 30.0);
    EXPECT_LE(average.back().dFreq, 18000.0);
    const Spread spread = PositionSpread(positions, average);
    for (std::size_t k = 0; k < average.size(); ++k) {
        const double f = average[k].dFreq;
        const double a = 70.0 + 20.0 * std::log(f / 20.0) / std::log(1000.0);
        const double c = 60.0 + 6.0 * std::log(f / 30.0) / std::log(22000.0 / 30.0);
        const double dPower = (std::pow(10.0, a / 10.0) + std::pow(10.0, 8.0) + std::pow(10.0, c / 10.0)) / 3.0;
        EXPECT_NEAR(average[k].dDb, 10.0 * std::log10(dPower), 1e-9) << f;
        EXPECT_NEAR(spread.dMin[k], std::min({a, 80.0, c}), 1e-9);
        EXPECT_NEAR(spread.dMax[k], std::max({a, 80.0, c}), 1e-9);
        EXPECT_TRUE(average[k].bPhase);
    }
    EXPECT_FALSE(PowerAverage(Positions(9, positions[0]), &average, &strError));
    EXPECT_FALSE(PowerAverage({}, &average, &strError));
}
