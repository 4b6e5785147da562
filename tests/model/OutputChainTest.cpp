// Phase and group delay of an output's chain against the transfer function
// evaluated directly from the bands' own coefficients.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>

#include "KTVEQ.h"
#include "OutputChain.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

std::complex<double> Polynomial(double c0, double c1, double c2, std::complex<double> z1)
{
    return c0 + c1 * z1 + c2 * z1 * z1;
}

// H(e^jω) of the whole chain at f Hz, straight from the coefficients.
std::complex<double> Direct(const CKTVEQ& eq, const ChainSettings& s, double dFreq)
{
    const std::complex<double> z1 = std::polar(1.0, -2.0 * kPi * dFreq / 96000.0);
    std::complex<double> h = std::polar(s.bInverted ? -1.0 : 1.0, -2.0 * kPi * dFreq * s.nDelayCode / 48000.0);
    for (int b = 0; b < eq.GetSize(); ++b)
        for (const BiquadSection& sec : eq[b].Sections())
            h *= Polynomial(sec.b0, sec.b1, sec.b2, z1) / Polynomial(sec.a0, sec.a1, sec.a2, z1);
    return h;
}

// Scene n sets every kind of band and, over the scenes, every crossover
// type and slope on both filters.
ChainSettings RandomScene(CKTVEQ& eq, int n, std::mt19937& rng)
{
    std::uniform_int_distribution<int> gain(0, 400), width(0, 20), freq(25, 18000), kind(0, 2);
    for (int b = 0; b < eq.BandCount(); ++b) {
        eq[b].SetKind(kind(rng));
        eq[b].SetFrequency(freq(rng), false);
        eq[b].SetSlope(b % 2, false);
        eq[b].SetGainCode(b % 3 == 0 ? gain(rng) : GainToCode(0.0));
        eq[b].SetBandwidthCode(width(rng));
    }
    const int nLow = std::uniform_int_distribution<int>(40, 400)(rng);
    eq.HighPass().LoadCrossover(nLow, n % 3, n % 7);
    eq.LowPass().LoadCrossover(nLow * 8, (n / 3) % 3, (n / 7) % 7);
    return {std::uniform_int_distribution<int>(0, 960)(rng), n % 2 == 1, 0.0, false};
}

}  // namespace

TEST(OutputChain, PhaseAndGroupDelayMatchTheCoefficientsOnRandomScenes)
{
    std::mt19937 rng(470);
    for (int n = 0; n < 63; ++n) {
        CKTVEQ eq(nullptr, EqSetType::Output, 7);
        const ChainSettings settings = RandomScene(eq, n, rng);
        const ChainResponse chain = ComputeChain(eq, settings);
        AxisResponse phase{}, delay{};
        ChainPhase(chain, phase);
        ChainGroupDelay(chain, delay);
        for (int i = 0; i < kAxisPoints; ++i) {
            const double f = g_dFreqAxis[i];
            const std::complex<double> h = Direct(eq, settings, f);
            EXPECT_NEAR(std::remainder(phase[i] - std::arg(h) * 180.0 / kPi, 360.0), 0.0, 0.5) << n << ' ' << f;
            const double dStep = f * 1e-6;
            const double dTurn = std::arg(Direct(eq, settings, f + dStep) / Direct(eq, settings, f - dStep));
            EXPECT_NEAR(delay[i], -dTurn / (2.0 * kPi * 2.0 * dStep) * 1000.0, 0.01) << n << ' ' << f;
            // The very sections the magnitude curve comes from.
            double dSum = 0.0;
            for (int b = 0; b < eq.GetSize(); ++b)
                dSum += eq[b].Response()[i];
            EXPECT_NEAR(DbOf(chain.bands[i]), dSum, 1e-6) << n << ' ' << f;
        }
    }
}
