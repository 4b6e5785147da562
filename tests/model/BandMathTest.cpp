#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>

#include "BandMath.h"

namespace {

constexpr int kIdx1260Hz = 144;  // anchor points of the axis
constexpr int kIdx5000Hz = 192;

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

TEST(BandMath, SectionMagnitudeMatchesTheTransferFunctionWhateverTheScale)
{
    for (double w : {0.01, 0.3, 1.2}) {
        const std::complex<double> zi = std::polar(1.0, -w);
        const double dExpected = 20.0 * std::log10(std::abs((0.3 - 0.2 * zi + 0.1 * zi * zi) /
                                                            (2.0 - 0.5 * zi + 0.25 * zi * zi)));
        EXPECT_NEAR(SectionDb({0.3, -0.2, 0.1, 2.0, -0.5, 0.25}, w), dExpected, 1e-9) << w;
        EXPECT_NEAR(SectionDb({0.6, -0.4, 0.2, 4.0, -1.0, 0.5}, w), dExpected, 1e-9) << w;
    }
    EXPECT_EQ(SectionDb(BiquadSection{}, 0.7), 0.0);
}

TEST(BandMath, PeakingBandPeaksOnTheNearestAxisPointWithHalfGainBandwidthOctavesAway)
{
    const int nCentre = NearestAxisIndex(1010.0);  // 1000.06 Hz
    AxisResponse r, onAxis, cut;
    PeakingResponse(1010.0, 12.0, 1.0, r);
    PeakingResponse(g_dFreqAxis[nCentre], 12.0, 1.0, onAxis);
    EXPECT_EQ(r, onAxis);
    EXPECT_EQ(std::max_element(r.begin(), r.end()) - r.begin(), nCentre);
    EXPECT_NEAR(r[nCentre], 12.0, 1e-3);
    EXPECT_NEAR(CrossingFreq(r, 6.0), 500.0, 5.0);
    EXPECT_NEAR(CrossingFreq(r, 6.0, nCentre), 2000.0, 20.0);
    PeakingResponse(1010.0, -12.0, 1.0, cut);
    for (int i = 0; i < kAxisPoints; ++i)
        EXPECT_NEAR(cut[i], -r[i], 1e-9) << i;
}

TEST(BandMath, PeakingSpanWritesItsPointsOnlyAndMovesWithItsCentre)
{
    const int nCentre = NearestAxisIndex(1010.0);
    AxisResponse whole, span, between;
    PeakingResponse(1010.0, 12.0, 1.0, whole);
    span.fill(99.0);
    PeakingSpanResponse(g_dFreqAxis[nCentre], 12.0, 1.0, nCentre - 10, nCentre + 10, span);
    for (int i = 0; i < kAxisPoints; ++i)
        EXPECT_EQ(span[i], std::abs(i - nCentre) <= 10 ? whole[i] : 99.0) << i;
    // Halfway to the next point the two points around the centre sit level.
    const double dHalfway = std::sqrt(g_dFreqAxis[nCentre] * g_dFreqAxis[nCentre + 1]);
    PeakingSpanResponse(dHalfway, 12.0, 1.0, 0, kAxisPoints - 1, between);
    EXPECT_NEAR(between[nCentre], between[nCentre + 1], 1e-3);
    EXPECT_LT(between[nCentre], whole[nCentre]);
}

TEST(BandMath, ShelfHasHalfGainAtItsScaledCornerAndFullGainOnItsSide)
{
    struct Case {
        bool bHigh;
        int nSlope;
        double dFreq;
        double dCorner;  // 2, 14/11, 5/11 and 10/13 of the band frequency
    };
    for (const Case& c : {Case{false, 0, 1000.0, 2000.0}, Case{false, 1, 1000.0, 14000.0 / 11.0},
                          Case{true, 0, 4000.0, 20000.0 / 11.0}, Case{true, 1, 4000.0, 40000.0 / 13.0}}) {
        AxisResponse r;
        (c.bHigh ? HighShelfResponse : LowShelfResponse)(c.dFreq, 12.0, c.nSlope, r);
        EXPECT_NEAR(CrossingFreq(r, 6.0) / c.dCorner, 1.0, 0.005) << c.bHigh << c.nSlope;
    }
    AxisResponse r, cut;
    for (int nSlope : {0, 1}) {
        LowShelfResponse(100.0, 12.0, nSlope, r);
        LowShelfResponse(100.0, -12.0, nSlope, cut);
        EXPECT_NEAR(r[0], 12.0, 0.2);
        EXPECT_NEAR(cut[0], -r[0], 1e-9);
        EXPECT_NEAR(r[kAxisPoints - 1], 0.0, 0.01);
        HighShelfResponse(5000.0, 12.0, nSlope, r);
        EXPECT_NEAR(r[0], 0.0, 0.01);
        EXPECT_NEAR(r[kAxisPoints - 1], 12.0, 0.6);  // a 6 dB/oct shelf is still rising at 20 kHz
    }
    LowShelfResponse(100.0, 0.0, 1, r);
    EXPECT_TRUE(IsFlat(r));
}

TEST(BandMath, CrossoverLevelAtTheCorner)
{
    // The processor's factors only approximate the textbook alignments;
    // tolerances are what its tables give (Butterworth within 0.09 dB of
    // −3 dB, Bessel high-pass corners between −1.4 and −3.2 dB).
    AxisResponse hp, lp;
    const double dCorner = g_dFreqAxis[kIdx1260Hz];
    for (int s = 0; s < kSectionSets; ++s) {
        HighPassResponse(dCorner, {2, s, false}, hp);
        LowPassResponse(dCorner, {2, s, false}, lp);
        EXPECT_NEAR(hp[kIdx1260Hz], -3.01, 0.1) << s;
        EXPECT_NEAR(lp[kIdx1260Hz], -3.01, 0.1) << s;
        HighPassResponse(dCorner, {1, s, false}, hp);
        LowPassResponse(dCorner, {1, s, false}, lp);
        EXPECT_NEAR(hp[kIdx1260Hz], -2.3, 1.0) << s;
        EXPECT_NEAR(lp[kIdx1260Hz], -3.01, 0.06) << s;
    }
    HighPassResponse(dCorner, {0, 2, false}, hp);  // Linkwitz-Riley 24 dB/oct
    LowPassResponse(dCorner, {0, 2, false}, lp);
    EXPECT_NEAR(hp[kIdx1260Hz], -6.02, 0.1);
    EXPECT_NEAR(lp[kIdx1260Hz], -6.02, 0.1);
}

TEST(BandMath, CrossoverStopBandFallsByTwelvePlusSixTimesTheSlopeIndexPerOctave)
{
    // Over the octave four to five octaves from the corner, where every
    // alignment has settled to its order.
    AxisResponse r;
    for (int nType = 0; nType <= 2; ++nType) {
        for (int s = 0; s < kSectionSets; ++s) {
            HighPassResponse(g_dFreqAxis[kIdx5000Hz], {nType, s, false}, r);
            EXPECT_NEAR(r[kIdx5000Hz - 96] - r[kIdx5000Hz - 120], 12.0 + 6.0 * s, 0.5) << nType << s;
            LowPassResponse(g_dFreqAxis[48], {nType, s, false}, r);
            EXPECT_NEAR(r[144] - r[168], 12.0 + 6.0 * s, 0.5) << nType << s;
        }
    }
}

TEST(BandMath, TwoSlopeCrossoverTurnsSlopeOneIntoTwentyFour)
{
    for (int nType = 0; nType <= 2; ++nType) {
        for (auto* pResponse : {&HighPassResponse, &LowPassResponse}) {
            AxisResponse twoSlope, plain;
            pResponse(300.0, {nType, 1, true}, twoSlope);
            pResponse(300.0, {nType, 2, false}, plain);
            EXPECT_EQ(twoSlope, plain) << nType;
            pResponse(300.0, {nType, 1, false}, plain);
            EXPECT_NE(twoSlope, plain) << nType;
        }
    }
}

TEST(BandMath, ValuesOutsideTheTablesGiveZeroDecibels)
{
    AxisResponse r;
    for (const CrossoverShape shape : {CrossoverShape{0, 7, false}, CrossoverShape{2, 8, true},
                                       CrossoverShape{0, -1, false}, CrossoverShape{3, 2, false},
                                       CrossoverShape{-1, 2, false}}) {
        HighPassResponse(300.0, shape, r);
        EXPECT_TRUE(IsFlat(r)) << shape.nType << shape.nSlope;
        LowPassResponse(300.0, shape, r);
        EXPECT_TRUE(IsFlat(r)) << shape.nType << shape.nSlope;
    }
    LowPassResponse(0.0, {1, 2, false}, r);
    EXPECT_TRUE(IsFlat(r));
    LowShelfResponse(100.0, 6.0, 2, r);
    EXPECT_TRUE(IsFlat(r));
}
