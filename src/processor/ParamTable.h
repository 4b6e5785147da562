// The parameters `zr470ctl get` and `set` know: their names, which channel
// they belong to and the scale their values use. Output parameters take
// channel 1 … 6; processor-wide ones take channel 0.
//
//   level mute polarity eqmode mix
//   eqN.freq eqN.gain eqN.bw eqN.bypass          N = 1 … 31
//   hpf.freq hpf.type hpf.slope  lpf.freq lpf.type lpf.slope
//   limiter.threshold limiter.attack limiter.release
//   delay.P                                      listening position P = 1 … 4
//   channel 0: source noisegate volume position
//
// Threads: pure functions.
#pragma once

#include <string>
#include <string_view>

#include "ValueScale.h"

enum class ParamKind {
    Level,
    Mute,
    Polarity,
    EqMode,
    Mix,
    BandFreq,
    BandGain,
    BandBandwidth,
    BandBypass,
    CrossoverFreq,
    CrossoverType,
    CrossoverSlope,
    LimiterThreshold,
    LimiterAttack,
    LimiterRelease,
    Delay,
    Source,
    NoiseGate,
    Volume,
    Position,
};

constexpr int kProcessorChannel = 0;
constexpr int kParamHighPass = 0;  // ParamRef::nIndex of a crossover parameter
constexpr int kParamLowPass = 1;

struct ParamRef {
    ParamKind kind = ParamKind::Level;
    int nChannel = 0;      // 0 processor-wide, 1 … 6 output
    int nIndex = 0;        // band 1 … 31, kParamHighPass / kParamLowPass, position 1 … 4
    std::string strName;   // as typed, in lower case: for messages and JSON
};

// CH as typed: 0 … 6. False with one line for the user.
bool ParseChannel(std::string_view text, int* pChannel, std::string* pError);
// The parameter called typed (in any case) on channel nChannel. False with
// one line for the user when there is no such parameter or it lives on
// another channel.
bool ParseParamRef(int nChannel, std::string_view typed, ParamRef* pRef, std::string* pError);
const ValueScale& ScaleOf(ParamKind kind);
// A typed value as the parameter's code. False with one line for the user.
bool ParseParamValue(const ParamRef& ref, std::string_view text, int* pCode, std::string* pError);
