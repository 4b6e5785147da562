// Phase and group delay of one output's whole chain: its bands and crossover
// (the very sections its magnitude curve comes from), its listening-position
// delay and its polarity. The level stays out: it matters only where several
// outputs meet (see room/ResponseSum.h).
//
// Threads: pure functions of their arguments, except OutputChainOf, which
// reads the record and the delay table under the model lock.
#pragma once

#include "BandMath.h"

class CKTVEQ;
class CKTV_Data;

constexpr double kDelayCodesPerMs = 48.0;  // the delay manager's step is 1/48 ms

struct ChainSettings {
    int nDelayCode = 0;  // 1/48 ms
    bool bInverted = false;
    double dLevelDb = 0.0;
    bool bMuted = false;
};

struct ChainResponse {
    ComplexAxis bands{};            // the product of every band's sections
    AxisResponse dBandsDelayMs{};   // their group delay
    ChainSettings settings;
};

ChainResponse ComputeChain(const CKTVEQ& eq, const ChainSettings& settings);
// The chain's output settings: level, mute, polarity and the delay of the
// current listening position.
ChainResponse OutputChainOf(CKTV_Data& data, int nOutput);

// A delay and a polarity at dFreq, as a factor.
std::complex<double> DelayFactor(double dFreq, int nDelayCode, bool bInverted);
// The chain's value at axis point i with the given delay and polarity.
std::complex<double> ChainValue(const ChainResponse& chain, int i, int nDelayCode, bool bInverted);
// Phase in degrees, wrapped to −180 … 180, and group delay in ms, both with
// the chain's own delay and polarity.
void ChainPhase(const ChainResponse& chain, AxisResponse& out);
void ChainGroupDelay(const ChainResponse& chain, AxisResponse& out);

double DegreesOf(std::complex<double> value);
double DbOf(std::complex<double> value);
