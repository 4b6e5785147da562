#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>

#include "BandMath.h"

namespace {

constexpr int kIdx1260Hz = 144;  // axis points that are exact octaves of 19.7 Hz …
constexpr int kIdx5000Hz = 192;  // … or anchor values of the axis

// Frequency where the response first crosses dLevel after axis point nFrom,
// interpolated on a log frequency scale; 0 when it never does.
double CrossingFreq(const AxisResponse& r, double dLevel, int nFrom = 0)
{
    for (int i = nFrom + 1; i < kAxisPoints; ++i) {
        if ((r[i - 1] - dLevel) * (r[i] - dLevel) > 0.0)
            continue;
        const double t = (dLevel - r[i - 1]) / (r[i] - r[i - 1]);
        return g_dFreqAxis[i - 1] * std::pow(g_dFreqAxis[i] / g_dFreqAxis[i - 1], t);
    }
    return 0.0;
}

bool IsFlat(const AxisResponse& r)
{
    return std::all_of(r.begin(), r.end(), [](double d) { return d == 0.0; });
}

}  // namespace

TEST(SectionMagnitude, MatchesTransferFunctionOnUnitCircleWhateverTheScale)
{
    const BiquadSection sec{0.3, -0.2, 0.1, 2.0, -0.5, 0.25};
    const BiquadSection doubled{0.6, -0.4, 0.2, 4.0, -1.0, 0.5};
    for (double w : {0.01, 0.3, 1.2}) {
        const std::complex<double> zi = std::polar(1.0, -w);
        const auto h = (0.3 - 0.2 * zi + 0.1 * zi * zi) / (2.0 - 0.5 * zi + 0.25 * zi * zi);
        EXPECT_NEAR(SectionDb(sec, w), 20.0 * std::log10(std::abs(h)), 1e-9) << w;
        EXPECT_NEAR(SectionDb(doubled, w), 20.0 * std::log10(std::abs(h)), 1e-9) << w;
    }
    EXPECT_EQ(SectionDb(BiquadSection{}, 0.7), 0.0);
}

TEST(PeakingResponse, PeaksAtItsGainOnTheNearestAxisPoint)
{
    AxisResponse r, onAxis;
    for (double dGain : {12.0, -7.5}) {
        PeakingResponse(1010.0, dGain, 0.2, r);  // nearest axis point: 1000.06 Hz
        const auto itPeak = std::max_element(r.begin(), r.end(), [](double a, double b) {
            return std::fabs(a) < std::fabs(b);
        });
        EXPECT_EQ(itPeak - r.begin(), NearestAxisIndex(1010.0));
        EXPECT_NEAR(*itPeak, dGain, 1e-3);
        PeakingResponse(g_dFreqAxis[NearestAxisIndex(1010.0)], dGain, 0.2, onAxis);
        EXPECT_EQ(r, onAxis);
    }
}

TEST(PeakingResponse, HalfGainPointsLieBandwidthOctavesEachSideAndCutMirrorsBoost)
{
    AxisResponse boost, cut;
    PeakingResponse(1000.0, 12.0, 1.0, boost);
    EXPECT_NEAR(CrossingFreq(boost, 6.0), 500.0, 5.0);
    EXPECT_NEAR(CrossingFreq(boost, 6.0, NearestAxisIndex(1000.0)), 2000.0, 20.0);

    PeakingResponse(1000.0, -12.0, 1.0, cut);
    for (int i = 0; i < kAxisPoints; ++i)
        EXPECT_NEAR(cut[i], -boost[i], 1e-9) << i;
}

TEST(ShelfResponse, HalfGainAtTheScaledCorner)
{
    struct Case {
        bool bHigh;
        int nSlope;
        double dFreq;
        double dCorner;
    };
    // Corner factors: 2, 14/11, 5/11 and 10/13 of the band frequency.
    for (const Case& c : {Case{false, 0, 1000.0, 2000.0}, Case{false, 1, 1000.0, 14000.0 / 11.0},
                          Case{true, 0, 4000.0, 20000.0 / 11.0}, Case{true, 1, 4000.0, 40000.0 / 13.0}}) {
        AxisResponse r;
        (c.bHigh ? HighShelfResponse : LowShelfResponse)(c.dFreq, 12.0, c.nSlope, r);
        EXPECT_NEAR(CrossingFreq(r, 6.0) / c.dCorner, 1.0, 0.005) << c.bHigh << c.nSlope;
    }
}

TEST(ShelfResponse, ReachesGainOnItsSideZeroOnTheOtherAndZeroGainIsFlat)
{
    AxisResponse r, cut;
    for (int nSlope : {0, 1}) {
        // A 6 dB/oct shelf still lacks a few tenths 7 octaves from its corner.
        LowShelfResponse(100.0, 12.0, nSlope, r);
        EXPECT_NEAR(r[0], 12.0, 0.2);
        EXPECT_NEAR(r[kAxisPoints - 1], 0.0, 0.01);
        LowShelfResponse(100.0, -12.0, nSlope, cut);
        EXPECT_NEAR(cut[0], -r[0], 1e-9);
        HighShelfResponse(5000.0, 12.0, nSlope, r);
        EXPECT_NEAR(r[0], 0.0, 0.01);
        EXPECT_NEAR(r[kAxisPoints - 1], 12.0, 0.6);
    }
    LowShelfResponse(100.0, 0.0, 1, r);
    EXPECT_TRUE(IsFlat(r));
    HighShelfResponse(5000.0, 0.0, 0, r);
    EXPECT_TRUE(IsFlat(r));
}

TEST(CrossoverResponse, LevelAtTheCorner)
{
    // The processor's factors only approximate the textbook alignments:
    // tolerances are what the tables give (Butterworth within 0.09 dB of
    // −3 dB; Bessel high-pass corners spread from −1.4 to −3.2 dB).
    AxisResponse hp, lp;
    const double dCorner = g_dFreqAxis[kIdx1260Hz];
    for (int s = 0; s < kSectionSets; ++s) {
        HighPassResponse(dCorner, {2, s, false}, hp);
        LowPassResponse(dCorner, {2, s, false}, lp);
        EXPECT_NEAR(hp[kIdx1260Hz], -3.01, 0.1) << s;
        EXPECT_NEAR(lp[kIdx1260Hz], -3.01, 0.1) << s;
        LowPassResponse(dCorner, {1, s, false}, lp);
        EXPECT_NEAR(lp[kIdx1260Hz], -3.01, 0.06) << s;
        HighPassResponse(dCorner, {1, s, false}, hp);
        EXPECT_NEAR(hp[kIdx1260Hz], -2.3, 1.0) << s;
    }
    HighPassResponse(dCorner, {0, 2, false}, hp);  // Linkwitz-Riley 24 dB/oct
    LowPassResponse(dCorner, {0, 2, false}, lp);
    EXPECT_NEAR(hp[kIdx1260Hz], -6.02, 0.1);
    EXPECT_NEAR(lp[kIdx1260Hz], -6.02, 0.1);
}

TEST(CrossoverResponse, StopBandFallsBySlopeIndexTimesSixPlusTwelvePerOctave)
{
    // Measured over the octave four to five octaves from the corner, where
    // every alignment has settled to its order.
    for (int nType = 0; nType <= 2; ++nType) {
        for (int s = 0; s < kSectionSets; ++s) {
            const double dSlope = 12.0 + 6.0 * s;
            AxisResponse r;
            HighPassResponse(g_dFreqAxis[kIdx5000Hz], {nType, s, false}, r);
            EXPECT_NEAR(r[kIdx5000Hz - 96] - r[kIdx5000Hz - 120], dSlope, 0.5) << nType << s;
            LowPassResponse(g_dFreqAxis[48], {nType, s, false}, r);
            EXPECT_NEAR(r[144] - r[168], dSlope, 0.5) << nType << s;
        }
    }
}

TEST(CrossoverResponse, TwoSlopeFilterTurnsSlopeOneIntoTwentyFour)
{
    for (int nType = 0; nType <= 2; ++nType) {
        for (auto* pResponse : {&HighPassResponse, &LowPassResponse}) {
            AxisResponse twoSlope, plain;
            pResponse(300.0, {nType, 1, true}, twoSlope);
            pResponse(300.0, {nType, 2, false}, plain);
            EXPECT_EQ(twoSlope, plain) << nType;
            pResponse(300.0, {nType, 1, false}, plain);
            EXPECT_NE(twoSlope, plain) << nType;
            pResponse(300.0, {nType, 0, true}, twoSlope);
            pResponse(300.0, {nType, 0, false}, plain);
            EXPECT_EQ(twoSlope, plain) << nType;
        }
    }
}

TEST(CrossoverResponse, ValuesOutsideTheTablesGiveZeroDecibels)
{
    const CrossoverShape shapes[] = {{0, 7, false}, {2, 8, true}, {0, -1, false}, {3, 2, false}, {-1, 2, false}};
    AxisResponse r;
    for (const CrossoverShape& shape : shapes) {
        HighPassResponse(300.0, shape, r);
        EXPECT_TRUE(IsFlat(r)) << shape.nType << shape.nSlope;
        LowPassResponse(300.0, shape, r);
        EXPECT_TRUE(IsFlat(r)) << shape.nType << shape.nSlope;
    }
    HighPassResponse(0.0, {0, 2, false}, r);
    EXPECT_TRUE(IsFlat(r));
    LowPassResponse(0.0, {1, 2, false}, r);
    EXPECT_TRUE(IsFlat(r));
    LowShelfResponse(100.0, 6.0, 2, r);
    EXPECT_TRUE(IsFlat(r));
}
