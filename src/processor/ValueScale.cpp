#include "ValueScale.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <iterator>

#include "DataDefine.h"
#include "NumberText.h"
#include "ValueScales.h"

namespace {

constexpr int kLevelOffsetDb = 60;
constexpr int kAttackTenthsLast = 6;    // indices 0 … 6 are 0.3 … 0.9 ms
constexpr int kAttackWholeOffset = 6;   // index 7 is 1 ms
constexpr int kMaxAttackMs = 100;
constexpr int kNoiseGateOffset = 120;
constexpr int kNoiseGateMax = 100;
constexpr int kDelayUnitsPerMs = 48;
constexpr double kMaxDelayMs = 20.0;
constexpr int kReleaseMultiples[] = {2, 4, 6, 8, 16, 32};
constexpr int kSlopeStepDb = 6;
constexpr int kSlopeFirstDb = 12;
constexpr double kTolerance = 1e-9;

std::optional<int> FindWord(std::string_view text, std::initializer_list<const char*> words)
{
    const std::string str = ToLower(text);
    int i = 0;
    for (const char* pWord : words) {
        if (str == pWord)
            return i;
        ++i;
    }
    return std::nullopt;
}

// A code the processor reported outside the word list prints as itself.
ParamText WordOf(int nCode, std::initializer_list<const char*> words)
{
    if (nCode >= 0 && nCode < static_cast<int>(words.size()))
        return {std::data(words)[nCode], false};
    return {std::to_string(nCode), true};
}

ParamText Number(std::string str)
{
    return {std::move(str), true};
}

// A decimal within [dMin, dMax] on a grid of dStep, or nothing.
std::optional<double> Stepped(std::string_view text, double dMin, double dMax, double dStep)
{
    double dValue = 0.0;
    if (!ParseDecimal(text, &dValue) || dValue < dMin - kTolerance || dValue > dMax + kTolerance ||
        !IsOnStep(dValue, dStep))
        return std::nullopt;
    return dValue;
}

// The place of a decimal on the grid dFirst, dFirst + dStep, … dLast.
std::optional<int> StepIndex(std::string_view text, double dFirst, double dLast, double dStep)
{
    const auto value = Stepped(text, dFirst, dLast, dStep);
    if (!value)
        return std::nullopt;
    return static_cast<int>(std::lround((*value - dFirst) / dStep));
}

std::optional<int> Whole(std::string_view text, int nMin, int nMax)
{
    const auto value = Stepped(text, nMin, nMax, 1.0);
    if (!value)
        return std::nullopt;
    return static_cast<int>(std::lround(*value));
}

std::optional<int> ParseLevel(std::string_view text)
{
    const auto db = Whole(text, -kLevelOffsetDb, kLevelMax - kLevelOffsetDb);
    return db ? std::optional<int>(*db + kLevelOffsetDb) : std::nullopt;
}

ParamText FormatLevel(int nCode)
{
    return Number(std::to_string(static_cast<int>(LevelToDb(nCode))));
}

std::optional<int> ParseOnOff(std::string_view text)
{
    return FindWord(text, {"off", "on"});
}

ParamText FormatOnOff(int nCode)
{
    return {nCode ? "on" : "off", false, true};
}

std::optional<int> ParsePolarity(std::string_view text)
{
    return FindWord(text, {"+", "-"});
}

ParamText FormatPolarity(int nCode)
{
    return {nCode ? "-" : "+", false};
}

std::optional<int> ParseEqMode(std::string_view text)
{
    return FindWord(text, {"peq", "geq"});
}

ParamText FormatEqMode(int nCode)
{
    return WordOf(nCode, {"peq", "geq"});
}

std::optional<int> ParseFrequency(std::string_view text)
{
    return Whole(text, kMinFreq, kMaxFreq);
}

ParamText FormatWhole(int nCode)
{
    return Number(std::to_string(nCode));
}

std::optional<int> ParseGain(std::string_view text)
{
    const auto db = Stepped(text, CodeToGain(0), CodeToGain(kGainCodeMax), 0.1);
    return db ? std::optional<int>(GainToCode(*db)) : std::nullopt;
}

ParamText FormatGain(int nCode)
{
    return Number(FormatFixed(CodeToGain(std::clamp(nCode, 0, kGainCodeMax)), 1));
}

std::optional<int> ParseBandwidth(std::string_view text)
{
    return StepIndex(text, CodeToBandwidth(0), CodeToBandwidth(kBandwidthCodeMax), 0.01);
}

ParamText FormatBandwidth(int nCode)
{
    return Number(FormatFixed(CodeToBandwidth(std::clamp(nCode, 0, kBandwidthCodeMax)), 2));
}

std::optional<int> ParseFilterType(std::string_view text)
{
    return FindWord(text, {"lr", "bessel", "butter"});
}

ParamText FormatFilterType(int nCode)
{
    return WordOf(nCode, {"lr", "bessel", "butter"});
}

std::optional<int> ParseSlope(std::string_view text)
{
    if (ToLower(text) == "off")
        return kCrossoverSlopeOff;
    int nDb = 0;
    if (!ParseWhole(text, &nDb) || nDb < kSlopeFirstDb || (nDb - kSlopeFirstDb) % kSlopeStepDb != 0)
        return std::nullopt;
    const int nCode = (nDb - kSlopeFirstDb) / kSlopeStepDb;
    return nCode < kCrossoverSlopeOff ? std::optional<int>(nCode) : std::nullopt;
}

ParamText FormatSlope(int nCode)
{
    if (nCode == kCrossoverSlopeOff)
        return {"off", false};
    return Number(std::to_string(kSlopeFirstDb + kSlopeStepDb * nCode));
}

std::optional<int> ParseThreshold(std::string_view text)
{
    return StepIndex(text, ThresholdToDbu(0), ThresholdToDbu(kThresholdMax), 0.1);
}

ParamText FormatThreshold(int nCode)
{
    return Number(FormatFixed(ThresholdToDbu(nCode), 1));
}

std::optional<int> ParseAttack(std::string_view text)
{
    if (const auto index = StepIndex(text, AttackToMs(0), AttackToMs(kAttackTenthsLast), 0.1))
        return index;
    if (const auto ms = Whole(text, 1, kMaxAttackMs))
        return *ms + kAttackWholeOffset;
    return std::nullopt;
}

ParamText FormatAttack(int nCode)
{
    nCode = std::clamp(nCode, 0, kAttackMax);
    return Number(FormatFixed(AttackToMs(nCode), nCode <= kAttackTenthsLast ? 1 : 0));
}

std::optional<int> ParseRelease(std::string_view text)
{
    int nMultiple = 0;
    if (!ParseWhole(text, &nMultiple))
        return std::nullopt;
    const auto* pFound = std::find(std::begin(kReleaseMultiples), std::end(kReleaseMultiples), nMultiple);
    if (pFound == std::end(kReleaseMultiples))
        return std::nullopt;
    return static_cast<int>(pFound - std::begin(kReleaseMultiples));
}

ParamText FormatRelease(int nCode)
{
    return Number(std::to_string(kReleaseMultiples[std::clamp(nCode, 0, kReleaseMax)]));
}

std::optional<int> ParseMix(std::string_view text)
{
    return FindWord(text, {"l+r", "l", "r"});
}

ParamText FormatMix(int nCode)
{
    return WordOf(nCode, {"L+R", "L", "R", "none"});
}

std::optional<int> ParseDelay(std::string_view text)
{
    double dMs = 0.0;
    if (!ParseDecimal(text, &dMs) || dMs < 0.0 || dMs > kMaxDelayMs + kTolerance)
        return std::nullopt;
    // One unit is one sample at 48 kHz; a typed time goes to the nearest.
    return std::min(static_cast<int>(std::lround(dMs * kDelayUnitsPerMs)), kDelayMax);
}

ParamText FormatDelay(int nCode)
{
    return Number(FormatTrimmed(DelayToMs(nCode), 3));
}

std::optional<int> ParseSource(std::string_view text)
{
    return FindWord(text, {"main", "aux", "high", "bluetooth"});
}

ParamText FormatSource(int nCode)
{
    return WordOf(nCode, {"main", "aux", "high", "bluetooth"});
}

std::optional<int> ParseNoiseGate(std::string_view text)
{
    if (ToLower(text) == "off")
        return 0;
    const auto dbu = Whole(text, 1 - kNoiseGateOffset, kNoiseGateMax - kNoiseGateOffset);
    return dbu ? std::optional<int>(*dbu + kNoiseGateOffset) : std::nullopt;
}

ParamText FormatNoiseGate(int nCode)
{
    if (nCode <= 0)
        return {"off", false};
    return Number(std::to_string(std::min(nCode, kNoiseGateMax) - kNoiseGateOffset));
}

// The music volume reads as the editor's field shows it: on the level's dB
// scale, with the fader's bottom as off.
std::optional<int> ParseVolume(std::string_view text)
{
    if (ToLower(text) == "off")
        return kMusicVolumeOff;
    return ParseLevel(text);
}

ParamText FormatVolume(int nCode)
{
    if (nCode <= kMusicVolumeOff)
        return {"off", false};
    return FormatLevel(nCode);
}

std::optional<int> ParsePosition(std::string_view text)
{
    const auto position = Whole(text, 1, 4);
    return position ? std::optional<int>(*position - 1) : std::nullopt;
}

ParamText FormatPosition(int nCode)
{
    return Number(std::to_string(nCode + 1));
}

}  // namespace

const ValueScale kLevelScale{"dB from -60 to 10 in whole dB", ParseLevel, FormatLevel};
const ValueScale kOnOffScale{"on or off", ParseOnOff, FormatOnOff};
const ValueScale kPolarityScale{"+ or -", ParsePolarity, FormatPolarity};
const ValueScale kEqModeScale{"geq or peq", ParseEqMode, FormatEqMode};
const ValueScale kFrequencyScale{"Hz from 20 to 20000 in whole Hz", ParseFrequency, FormatWhole};
const ValueScale kGainScale{"dB from -20.0 to 20.0 in 0.1 steps", ParseGain, FormatGain};
const ValueScale kBandwidthScale{"octaves from 0.05 to 3.00 in 0.01 steps", ParseBandwidth, FormatBandwidth};
const ValueScale kFilterTypeScale{"lr, bessel or butter", ParseFilterType, FormatFilterType};
const ValueScale kSlopeScale{"12, 18, 24, 30, 36, 42, 48 or off", ParseSlope, FormatSlope};
const ValueScale kThresholdScale{"dBu from -30.0 to 6.0 in 0.1 steps", ParseThreshold, FormatThreshold};
const ValueScale kAttackScale{"ms from 0.3 to 0.9 in 0.1 steps or 1 to 100 in whole ms", ParseAttack, FormatAttack};
const ValueScale kReleaseScale{"2, 4, 6, 8, 16 or 32 (times the attack)", ParseRelease, FormatRelease};
const ValueScale kMixScale{"L, R or L+R", ParseMix, FormatMix};
const ValueScale kDelayScale{"ms from 0 to 20", ParseDelay, FormatDelay};
const ValueScale kSourceScale{"main, aux, high or bluetooth", ParseSource, FormatSource};
const ValueScale kNoiseGateScale{"dBu from -119 to -20 in whole dB, or off", ParseNoiseGate, FormatNoiseGate};
// The processor keeps the music volume within the range it reports (40 … 90
// by default), the editor's fader within 0 … 70: what both allow stays.
const ValueScale kVolumeScale{"dB from -59 to 10 in whole dB, or off, within the processor's music volume range "
                              "(-20 to 10 unless it reports another)",
                              ParseVolume, FormatVolume};
const ValueScale kPositionScale{"1 to 4", ParsePosition, FormatPosition};
