#include "BandMath.h"

#include <cmath>
#include <complex>
#include <optional>

namespace {

// The constants are the processor's own, digit for digit, so that the graph
// shows the curve the processor's tables describe (not a textbook ideal).
constexpr double kSampleRate = 96000.0;
constexpr double kTwoPi = 6.2831852;
constexpr double kBandAngleFactor = 6.544985e-05;  // rad per Hz at 96 kHz
constexpr double kLn2 = 0.69314718;                 // peaking bandwidth: full ln 2, not ln 2 / 2
constexpr double kSmallestA0 = 1e-10;               // stands in for a leading coefficient of 0

// Crossover filter types as the processor numbers them.
constexpr int kTypeLinkwitzRiley = 0;
constexpr int kTypeBessel = 1;
constexpr int kTypeButterworth = 2;

using SectionFactors = std::array<double, kCrossoverSections>;
using FactorTable = std::array<SectionFactors, kSectionSets>;
using DivisorTable = std::array<double, kSectionSets>;

// Damping factor d of each section by section set (12 … 48 dB/oct); 0 marks a
// neutral section. Sets 1, 3 and 5 use d0 for a first-order section.
constexpr FactorTable kLinkwitzRileyFactors = {{
    {1.0, 0.0, 0.0, 0.0},
    {1.0, 0.70422535211, 0.0, 0.0},
    {0.70422535211, 0.70422535211, 0.0, 0.0},
    {1.0, 0.62, 0.62, 0.0},
    {1.0, 0.5, 0.5, 0.0},
    {1.0, 0.453134315, 0.92592592593, 0.453134315},
    {0.92592592593, 0.373134315, 0.92592592593, 0.373134315},
}};

// Set 6 holds the low-pass d0; the processor's high-pass table differs in the
// seventh digit (kButterworthHighPass48D0) and the graph follows it.
constexpr FactorTable kButterworthFactors = {{
    {0.70422535, 0.0, 0.0, 0.0},
    {1.0, 0.5, 0.0, 0.0},
    {0.92592593, 0.38167939, 0.0, 0.0},
    {1.0, 0.8064616129, 0.3086417953, 0.0},
    {0.96153846, 0.70422535211, 0.2590673575, 0.0},
    {1.0, 0.90909090909, 0.625, 0.2222222222},
    {0.98039216, 0.83333333, 0.55555556, 0.1953125},
}};
constexpr double kButterworthHighPass48D0 = 0.98039126;
constexpr int kSection48 = 6;

constexpr FactorTable kBesselHighPassFactors = {{
    {0.70422535, 0.0, 0.0, 0.0},
    {0.756, 0.72463768, 0.0, 0.0},
    {0.96153846, 0.61728395, 0.0, 0.0},
    {0.6656, 0.8928571428, 0.54347826, 0.0},
    {0.980392156, 0.819672131, 0.490196, 0.0},
    {0.5937, 0.943396226415, 0.757575757576, 0.4424778761},
    {0.98039216, 0.89285714, 0.70422535, 0.40650406},
}};
// Bessel corners are given for a delay-normalised prototype; the frequency is
// divided by these to put the corner where the processor puts it.
constexpr DivisorTable kBesselHighPassDivisor = {
    1.2683112435, 1.2854981442, 1.5006420029, 1.3854981442, 1.5554981442, 1.5554981442, 1.679120141};

// Analogue Bessel low-pass sections 1 / (r·s² + p·s + 1); p = 0 is a neutral
// section, r = 0 a first-order one.
struct BesselPair {
    double p = 0.0;
    double r = 0.0;
};
using BesselPairs = std::array<BesselPair, kCrossoverSections>;

constexpr std::array<BesselPairs, kSectionSets> kBesselLowPassPairs = {{
    {{{1.0, 0.3333333333}, {}, {}, {}}},
    {{{0.5693712514, 0.154812441}, {0.430628846, 0.0}, {}, {}}},
    {{{0.369, 0.087858766}, {0.6278294896, 0.109408}, {}, {}}},
    {{{0.6656, 0.0}, {1.1402, 0.4128}, {0.6216, 0.3245}, {}}},
    {{{1.2217, 0.3887}, {0.9686, 0.3505}, {0.5131, 0.2756}, {}}},
    {{{0.5937, 0.0}, {1.0944, 0.3395}, {0.8304, 0.3011}, {0.4332, 0.2381}}},
    {{{0.117235677, 0.02064747},
      {0.226516664, 0.0259273886},
      {0.3067559, 0.0294683265},
      {0.3494916166, 0.031272257}}},
}};
constexpr DivisorTable kBesselLowPassDivisor = {
    1.3616541287, 1.75567236868, 2.1139176749, 1.0, 1.0, 1.0, 3.17961723751};

struct ShelfShape {
    double dS = 0.0;      // shelf shape
    double dScale = 0.0;  // corner frequency factor
};
// Indexed by shelf slope 0 (6 dB/oct), 1 (12 dB/oct).
constexpr std::array<ShelfShape, 2> kLowShelfShapes = {{{0.5, 2.0}, {1.3, 1.2727272727}}};
constexpr std::array<ShelfShape, 2> kHighShelfShapes = {{{0.5, 0.4545454546}, {1.3, 0.76923076923}}};

enum class Pass { kHigh, kLow };

struct AxisTrig {
    AxisResponse cosw{};
    AxisResponse sinw{};
};

const AxisTrig& Trig()
{
    static const AxisTrig trig = [] {
        AxisTrig t;
        for (int i = 0; i < kAxisPoints; ++i) {
            const double dOmega = kTwoPi * g_dFreqAxis[i] / kSampleRate;
            t.cosw[i] = std::cos(dOmega);
            t.sinw[i] = std::sin(dOmega);
        }
        return t;
    }();
    return trig;
}

BiquadSection Normalized(const BiquadSection& sec)
{
    return {sec.b0 / sec.a0, sec.b1 / sec.a0, sec.b2 / sec.a0, 1.0, sec.a1 / sec.a0, sec.a2 / sec.a0};
}

// The section multiplied through by z, evaluated on the unit circle; n is
// normalised (a0 = 1).
double NormalizedDb(const BiquadSection& n, double dCos, double dSin)
{
    const double nr = n.b0 * dCos + n.b1 + n.b2 * dCos;
    const double ni = n.b0 * dSin - n.b2 * dSin;
    const double dr = dCos + n.a1 + n.a2 * dCos;
    const double di = dSin - n.a2 * dSin;
    return 20.0 * std::log10(std::sqrt((nr * nr + ni * ni) / (dr * dr + di * di)));
}

// a · b and a / b written out: std::complex's operators guard infinities
// and NaN at several times the cost, and no section value reaches them.
std::complex<double> Product(std::complex<double> a, std::complex<double> b)
{
    return {a.real() * b.real() - a.imag() * b.imag(), a.real() * b.imag() + a.imag() * b.real()};
}

std::complex<double> Quotient(std::complex<double> a, std::complex<double> b)
{
    const double dNorm = b.real() * b.real() + b.imag() * b.imag();
    return {(a.real() * b.real() + a.imag() * b.imag()) / dNorm, (a.imag() * b.real() - a.real() * b.imag()) / dNorm};
}

// The same section value as a complex number: the common factor z cancels.
std::complex<double> NormalizedValue(const BiquadSection& n, double dCos, double dSin)
{
    const std::complex<double> num(n.b0 * dCos + n.b1 + n.b2 * dCos, n.b0 * dSin - n.b2 * dSin);
    const std::complex<double> den(dCos + n.a1 + n.a2 * dCos, dSin - n.a2 * dSin);
    return Quotient(num, den);
}

// Group delay in samples of c0 + c1·z⁻¹ + c2·z⁻²: Re(Σ k·ck·z⁻ᵏ / Σ ck·z⁻ᵏ).
double PolynomialDelay(double c0, double c1, double c2, std::complex<double> z1)
{
    const std::complex<double> z2 = Product(z1, z1);
    return Quotient(c1 * z1 + 2.0 * c2 * z2, c0 + c1 * z1 + c2 * z2).real();
}

void AddSectionResponse(const BiquadSection& sec, AxisResponse& resp, int nFirst = 0, int nLast = kAxisPoints - 1)
{
    const BiquadSection n = Normalized(sec);
    const AxisTrig& trig = Trig();
    for (int i = nFirst; i <= nLast; ++i)
        resp[i] += NormalizedDb(n, trig.cosw[i], trig.sinw[i]);
}

double NonZeroA0(double dA0)
{
    return dA0 == 0.0 ? kSmallestA0 : dA0;
}

BiquadSection SecondOrderPassSection(Pass pass, double dGamma, double dAlpha)
{
    BiquadSection sec;
    if (pass == Pass::kHigh) {
        sec.b0 = (1.0 + dGamma) / 2.0;
        sec.b1 = -(1.0 + dGamma);
    } else {
        sec.b0 = (1.0 - dGamma) / 2.0;
        sec.b1 = 1.0 - dGamma;
    }
    sec.b2 = sec.b0;
    sec.a0 = NonZeroA0(1.0 + dAlpha);
    sec.a1 = -2.0 * dGamma;
    sec.a2 = 1.0 - dAlpha;
    return sec;
}

BiquadSection FirstOrderPassSection(Pass pass, double dD0, double dT)
{
    BiquadSection sec;
    if (pass == Pass::kHigh) {
        sec.a0 = NonZeroA0(dD0 * dT + 1.0);
        sec.a1 = dD0 * dT - 1.0;
        sec.b1 = -1.0;
    } else {
        sec.a0 = NonZeroA0(dT + dD0);
        sec.a1 = dT - dD0;
        sec.b0 = dT;
        sec.b1 = dT;
    }
    return sec;
}

bool HasFirstOrderSection(int nSet)
{
    return nSet % 2 == 1;  // 18, 30 and 42 dB/oct are odd orders
}

void AddPassCascade(Pass pass, const SectionFactors& factors, int nSet, double dFreq, SectionList& list)
{
    const double dOmega0 = dFreq * kBandAngleFactor;
    const double dGamma = std::cos(dOmega0);
    const double dSin = std::sin(dOmega0);
    const double dT = std::tan(dOmega0 / 2.0);
    for (int t = 0; t < kCrossoverSections; ++t) {
        if (factors[t] == 0.0)
            continue;
        if (t == 0 && HasFirstOrderSection(nSet))
            list.Add(FirstOrderPassSection(pass, factors[0], dT));
        else
            list.Add(SecondOrderPassSection(pass, dGamma, dSin * factors[t]));
    }
}

void AddBesselLowPass(const BesselPairs& pairs, double dFreq, SectionList& list)
{
    const double dK = std::tan(dFreq * kBandAngleFactor / 2.0);
    const double dK2 = dK * dK;
    for (const BesselPair& pr : pairs) {
        if (pr.p == 0.0)
            continue;
        // Bilinear image of the analogue section; r = 0 is already first order.
        list.Add({dK2, 2.0 * dK2, dK2, dK2 + pr.p * dK + pr.r, 2.0 * dK2 - 2.0 * pr.r, dK2 - pr.p * dK + pr.r});
    }
}

BiquadSection ShelfSection(bool bHigh, const ShelfShape& shape, double dFreq, double dGain)
{
    const double dOmega0 = dFreq * kBandAngleFactor * shape.dScale;
    const double A = std::pow(10.0, dGain / 40.0);
    const double dCos = std::cos(dOmega0);
    const double dBeta = 2.0 * std::sqrt(A) * (std::sin(dOmega0) / 2.0) *
                         std::sqrt((A + 1.0 / A) * (1.0 / shape.dS - 1.0) + 2.0);
    // A high shelf is the low shelf with the sign of cos ω0 (and of b1, a1) turned.
    const double dSign = bHigh ? -1.0 : 1.0;
    BiquadSection sec;
    sec.b0 = A * ((A + 1.0) - dSign * (A - 1.0) * dCos + dBeta);
    sec.b1 = dSign * 2.0 * A * ((A - 1.0) - dSign * (A + 1.0) * dCos);
    sec.b2 = A * ((A + 1.0) - dSign * (A - 1.0) * dCos - dBeta);
    sec.a0 = (A + 1.0) + dSign * (A - 1.0) * dCos + dBeta;
    sec.a1 = -dSign * 2.0 * ((A - 1.0) + dSign * (A + 1.0) * dCos);
    sec.a2 = (A + 1.0) + dSign * (A - 1.0) * dCos - dBeta;
    return sec;
}

// Factors of a Linkwitz-Riley or Butterworth cascade, or of a Bessel
// high-pass; none for a Bessel low-pass or an unknown type.
std::optional<SectionFactors> PassFactors(Pass pass, int nType, int nSet)
{
    switch (nType) {
    case kTypeLinkwitzRiley:
        return kLinkwitzRileyFactors[nSet];
    case kTypeButterworth: {
        SectionFactors factors = kButterworthFactors[nSet];
        if (pass == Pass::kHigh && nSet == kSection48)
            factors[0] = kButterworthHighPass48D0;
        return factors;
    }
    case kTypeBessel:
        if (pass == Pass::kHigh)
            return kBesselHighPassFactors[nSet];
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

}  // namespace

double SectionDb(const BiquadSection& sec, double dOmega)
{
    return NormalizedDb(Normalized(sec), std::cos(dOmega), std::sin(dOmega));
}

void SectionsResponse(const SectionList& list, AxisResponse& out)
{
    out.fill(0.0);
    for (const BiquadSection& sec : list)
        AddSectionResponse(sec, out);
}

void MultiplySections(const SectionList& list, ComplexAxis& inout)
{
    const AxisTrig& trig = Trig();
    for (const BiquadSection& sec : list) {
        const BiquadSection n = Normalized(sec);
        for (int i = 0; i < kAxisPoints; ++i)
            inout[i] = Product(inout[i], NormalizedValue(n, trig.cosw[i], trig.sinw[i]));
    }
}

void AddSectionsDelay(const SectionList& list, AxisResponse& inout)
{
    const AxisTrig& trig = Trig();
    for (const BiquadSection& sec : list) {
        const BiquadSection n = Normalized(sec);
        for (int i = 0; i < kAxisPoints; ++i) {
            const std::complex<double> z1(trig.cosw[i], -trig.sinw[i]);  // z⁻¹ on the unit circle
            inout[i] += PolynomialDelay(n.b0, n.b1, n.b2, z1) - PolynomialDelay(1.0, n.a1, n.a2, z1);
        }
    }
}

int CrossoverSectionSet(int nSlope, bool bTwoSlope)
{
    const int nSet = (bTwoSlope && nSlope == 1) ? 2 : nSlope;
    return (nSet >= 0 && nSet < kSectionSets) ? nSet : -1;
}

SectionList PeakingSections(double dCentre, double dGain, double dBandwidth)
{
    const double dOmega0 = dCentre * kBandAngleFactor;
    const double A = std::pow(10.0, dGain / 40.0);
    const double dSin = std::sin(dOmega0);
    const double alpha = dSin * std::sinh(kLn2 * dBandwidth * dOmega0 / dSin);
    const double dCos2 = -2.0 * std::cos(dOmega0);
    SectionList list;
    list.Add({1.0 + alpha * A, dCos2, 1.0 - alpha * A, 1.0 + alpha / A, dCos2, 1.0 - alpha / A});
    return list;
}

SectionList ShelfSections(bool bHigh, double dFreq, double dGain, int nSlope)
{
    SectionList list;
    if (nSlope < 0 || nSlope > 1 || dFreq <= 0.0 || dGain == 0.0)
        return list;  // 0.0 dB is the neutral section
    list.Add(ShelfSection(bHigh, bHigh ? kHighShelfShapes[nSlope] : kLowShelfShapes[nSlope], dFreq, dGain));
    return list;
}

SectionList HighPassSections(double dFreq, const CrossoverShape& shape)
{
    SectionList list;
    const int nSet = CrossoverSectionSet(shape.nSlope, shape.bTwoSlope);
    if (nSet < 0 || dFreq <= 0.0)
        return list;
    if (const auto factors = PassFactors(Pass::kHigh, shape.nType, nSet)) {
        const double dDivisor = shape.nType == kTypeBessel ? kBesselHighPassDivisor[nSet] : 1.0;
        AddPassCascade(Pass::kHigh, *factors, nSet, dFreq / dDivisor, list);
    }
    return list;
}

SectionList LowPassSections(double dFreq, const CrossoverShape& shape)
{
    SectionList list;
    const int nSet = CrossoverSectionSet(shape.nSlope, shape.bTwoSlope);
    if (nSet < 0 || dFreq <= 0.0)
        return list;
    if (shape.nType == kTypeBessel)
        AddBesselLowPass(kBesselLowPassPairs[nSet], dFreq / kBesselLowPassDivisor[nSet], list);
    else if (const auto factors = PassFactors(Pass::kLow, shape.nType, nSet))
        AddPassCascade(Pass::kLow, *factors, nSet, dFreq, list);
    return list;
}

void PeakingResponse(double dFreq, double dGain, double dBandwidth, AxisResponse& out)
{
    SectionsResponse(PeakingSections(g_dFreqAxis[NearestAxisIndex(dFreq)], dGain, dBandwidth), out);
}

void PeakingSpanResponse(double dCentre, double dGain, double dBandwidth, int nFirst, int nLast, AxisResponse& out)
{
    for (int i = nFirst; i <= nLast; ++i)
        out[i] = 0.0;
    AddSectionResponse(PeakingSections(dCentre, dGain, dBandwidth).sections[0], out, nFirst, nLast);
}

void LowShelfResponse(double dFreq, double dGain, int nSlope, AxisResponse& out)
{
    SectionsResponse(ShelfSections(false, dFreq, dGain, nSlope), out);
}

void HighShelfResponse(double dFreq, double dGain, int nSlope, AxisResponse& out)
{
    SectionsResponse(ShelfSections(true, dFreq, dGain, nSlope), out);
}

void HighPassResponse(double dFreq, const CrossoverShape& shape, AxisResponse& out)
{
    SectionsResponse(HighPassSections(dFreq, shape), out);
}

void LowPassResponse(double dFreq, const CrossoverShape& shape, AxisResponse& out)
{
    SectionsResponse(LowPassSections(dFreq, shape), out);
}
