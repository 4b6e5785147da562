#include "ParamTable.h"

#include <array>

#include "DataDefine.h"
#include "GlobalData.h"
#include "NumberText.h"

namespace {

struct NamedParam {
    const char* pName;
    ParamKind kind;
};

// Parameters without an index, and the suffixes of the indexed ones.
constexpr std::array kOutputParams = {
    NamedParam{"level", ParamKind::Level},
    NamedParam{"mute", ParamKind::Mute},
    NamedParam{"polarity", ParamKind::Polarity},
    NamedParam{"eqmode", ParamKind::EqMode},
    NamedParam{"mix", ParamKind::Mix},
    NamedParam{"limiter.threshold", ParamKind::LimiterThreshold},
    NamedParam{"limiter.attack", ParamKind::LimiterAttack},
    NamedParam{"limiter.release", ParamKind::LimiterRelease},
};
constexpr std::array kProcessorParams = {
    NamedParam{"source", ParamKind::Source},
    NamedParam{"noisegate", ParamKind::NoiseGate},
    NamedParam{"volume", ParamKind::Volume},
    NamedParam{"position", ParamKind::Position},
};
constexpr std::array kBandParams = {
    NamedParam{"freq", ParamKind::BandFreq},
    NamedParam{"gain", ParamKind::BandGain},
    NamedParam{"bw", ParamKind::BandBandwidth},
    NamedParam{"bypass", ParamKind::BandBypass},
};
constexpr std::array kCrossoverParams = {
    NamedParam{"freq", ParamKind::CrossoverFreq},
    NamedParam{"type", ParamKind::CrossoverType},
    NamedParam{"slope", ParamKind::CrossoverSlope},
};

template <size_t N>
bool FindParam(const std::array<NamedParam, N>& table, std::string_view name, ParamKind* pKind)
{
    for (const NamedParam& param : table) {
        if (name == param.pName) {
            *pKind = param.kind;
            return true;
        }
    }
    return false;
}

// "eq12.gain" → 12 and "gain"; false unless the index is a plain number.
bool SplitIndexed(std::string_view name, std::string_view prefix, int* pIndex, std::string_view* pRest)
{
    if (!name.starts_with(prefix))
        return false;
    name.remove_prefix(prefix.size());
    const size_t nDot = name.find('.');
    const std::string_view digits = name.substr(0, nDot);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos || digits.size() > 3 ||
        !ParseWhole(digits, pIndex))
        return false;
    *pRest = nDot == std::string_view::npos ? std::string_view() : name.substr(nDot + 1);
    return true;
}

// The output parameters; false with a message when the name is not one.
bool ParseOutputParam(std::string_view name, ParamRef* pRef, std::string* pError)
{
    std::string_view rest;
    int nIndex = 0;
    if (FindParam(kOutputParams, name, &pRef->kind))
        return true;
    if (SplitIndexed(name, "eq", &nIndex, &rest) && FindParam(kBandParams, rest, &pRef->kind)) {
        if (nIndex < 1 || nIndex > kGraphicBands) {
            *pError = "no band " + std::to_string(nIndex) + ": outputs have bands eq1 … eq31";
            return false;
        }
        pRef->nIndex = nIndex;
        return true;
    }
    if (SplitIndexed(name, "delay.", &nIndex, &rest) && rest.empty()) {
        if (nIndex < 1 || nIndex > kDelayPositions) {
            *pError = "no listening position " + std::to_string(nIndex) + ": delays are delay.1 … delay.4";
            return false;
        }
        pRef->kind = ParamKind::Delay;
        pRef->nIndex = nIndex;
        return true;
    }
    for (const auto& [prefix, nFilter] : {std::pair{"hpf.", kParamHighPass}, std::pair{"lpf.", kParamLowPass}}) {
        if (name.starts_with(prefix) && FindParam(kCrossoverParams, name.substr(4), &pRef->kind)) {
            pRef->nIndex = nFilter;
            return true;
        }
    }
    *pError = "unknown output parameter \"" + EchoText(name) + "\"";
    return false;
}

}  // namespace

bool ParseChannel(std::string_view text, int* pChannel, std::string* pError)
{
    int nChannel = 0;
    if (!ParseWhole(text, &nChannel) || nChannel < kProcessorChannel || nChannel > kOutputs) {
        *pError = "channel \"" + EchoText(text) + "\" refused: 1 … 6 for an output, 0 for the processor";
        return false;
    }
    *pChannel = nChannel;
    return true;
}

bool ParseParamRef(int nChannel, std::string_view typed, ParamRef* pRef, std::string* pError)
{
    ParamRef ref;
    ref.nChannel = nChannel;
    ref.strName = ToLower(typed);
    const std::string_view name = ref.strName;
    ParamKind kind{};
    if (nChannel == kProcessorChannel) {
        if (!FindParam(kProcessorParams, name, &ref.kind)) {
            *pError = "channel 0 has source, noisegate, volume and position, not \"" + EchoText(ref.strName) + "\"";
            return false;
        }
    } else if (FindParam(kProcessorParams, name, &kind)) {
        *pError = ref.strName + " belongs to the whole processor: use channel 0";
        return false;
    } else if (!ParseOutputParam(name, &ref, pError)) {
        return false;
    }
    *pRef = std::move(ref);
    return true;
}

const ValueScale& ScaleOf(ParamKind kind)
{
    switch (kind) {
    case ParamKind::Level: return kLevelScale;
    case ParamKind::Mute: return kOnOffScale;
    case ParamKind::Polarity: return kPolarityScale;
    case ParamKind::EqMode: return kEqModeScale;
    case ParamKind::Mix: return kMixScale;
    case ParamKind::BandFreq: return kFrequencyScale;
    case ParamKind::BandGain: return kGainScale;
    case ParamKind::BandBandwidth: return kBandwidthScale;
    case ParamKind::BandBypass: return kOnOffScale;
    case ParamKind::CrossoverFreq: return kFrequencyScale;
    case ParamKind::CrossoverType: return kFilterTypeScale;
    case ParamKind::CrossoverSlope: return kSlopeScale;
    case ParamKind::LimiterThreshold: return kThresholdScale;
    case ParamKind::LimiterAttack: return kAttackScale;
    case ParamKind::LimiterRelease: return kReleaseScale;
    case ParamKind::Delay: return kDelayScale;
    case ParamKind::Source: return kSourceScale;
    case ParamKind::NoiseGate: return kNoiseGateScale;
    case ParamKind::Volume: return kVolumeScale;
    case ParamKind::Position: return kPositionScale;
    }
    return kLevelScale;
}

bool ParseParamValue(const ParamRef& ref, std::string_view text, int* pCode, std::string* pError)
{
    const ValueScale& scale = ScaleOf(ref.kind);
    const auto code = scale.parse(text);
    if (!code) {
        *pError = ref.strName + " \"" + EchoText(text) + "\" refused: " + scale.pAccepts;
        return false;
    }
    *pCode = *code;
    return true;
}
