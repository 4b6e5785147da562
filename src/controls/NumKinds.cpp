#include "NumKinds.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "DataDefine.h"
#include "Strings.h"
#include "TextFormat.h"
#include "ValueScales.h"

namespace {

constexpr int kLimitedTopHz = 1000;     // the limited frequency kind's top says this
constexpr double kMaxTypedDelayMs = 60.0;  // the wide delay kind takes up to this much
constexpr double kMetresPerInch = 1.0 / (3.28 * 12.0);
constexpr double kFractionLow = 0.05;
constexpr double kFractionHigh = 3.0;
constexpr double kFractionSlack = 0.0000011;
constexpr double kAttackFineLow = 0.3;     // ms, attack index 0
constexpr double kAttackFineHigh = 0.9;    // ms, attack index 6
constexpr int kAttackFineSteps = 6;        // indexes 0 … 6 count tenths of a millisecond
// A typed value that equals an index's value must not fall to the index
// below through binary rounding (-29.3 + 30 is 0.69999…, 0.6 − 0.3 is 0.29999…).
constexpr double kTruncSlack = 1e-6;
// Read-back limits tolerate the same noise in m × s − o.
constexpr double kLimitSlack = 1e-9;

QString FromStd(const std::string& str)
{
    return QString::fromUtf8(str.c_str());
}

// Limits to [a, b] in either order, so a misconfigured step cannot trip std::clamp.
double Clamp(double dValue, double dA, double dB)
{
    return std::clamp(dValue, std::min(dA, dB), std::max(dA, dB));
}

bool Within(double dValue, double dA, double dB)
{
    return dValue >= std::min(dA, dB) - kLimitSlack && dValue <= std::max(dA, dB) + kLimitSlack;
}

// Truncates towards zero after the slack.
double TruncSlack(double dValue)
{
    return std::trunc(dValue + (dValue < 0 ? -kTruncSlack : kTruncSlack));
}

QString FrequencyText(int nHz)
{
    return FromStd(StrFormat("%dHz", nHz));
}

}  // namespace

// ---- Reading ------------------------------------------------------------------

double CNumKinds::LeadingNumber(const QString& strText)
{
    // Typed text is read like the C library's atof, but independent of the
    // process locale: only '.' is a decimal point.
    const std::string str = strText.toStdString();
    size_t nPos = str.find_first_not_of(" \t");
    if (nPos == std::string::npos)
        return 0.0;
    bool bNegative = false;
    if (str[nPos] == '+' || str[nPos] == '-') {
        bNegative = str[nPos] == '-';
        ++nPos;
    }
    double dValue = 0.0;
    const char* pBegin = str.data() + nPos;
    const char* pEnd = str.data() + str.size();
    const auto result = std::from_chars(pBegin, pEnd, dValue, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        const std::string strNumber(pBegin, result.ptr);
        const bool bTiny = strNumber.find("e-") != std::string::npos || strNumber.find("E-") != std::string::npos;
        dValue = bTiny ? 0.0 : std::numeric_limits<double>::max();
    } else if (result.ec != std::errc() || !std::isfinite(dValue)) {
        // "inf" and "nan" are no numbers for a user.
        dValue = 0.0;
    }
    return bNegative ? -dValue : dValue;
}

bool CNumKinds::IsOffText(const QString& strText)
{
    const TextPair& off = TextOf(kTxtOff);
    return strText == QString::fromUtf8(off.szEnglish) || strText == QString::fromUtf8(off.szChinese);
}

int CNumKinds::ReadOnFocusLoss(const QString& strText, int nCurrent) const
{
    const double dValue = LeadingNumber(strText);
    switch (nKind) {
    case kDelayMs:
        return DelayIndex(dValue);
    case kDelayMsWide:
        return DelayIndex(std::min(dValue, kMaxTypedDelayMs));
    case kInteger:
    case kFrequency:
        if (IsOffText(strText))
            return Limit(nCurrent);
        break;
    case kAttack:
        return AttackIndex(Clamp(dValue, kAttackFineLow, nMax - kAttackFineSteps), nCurrent);
    default:
        break;
    }
    const auto [dLow, dHigh] = TypedLimits();
    return TypedIndex(Clamp(IsGainKind() ? GainTextValue(strText) : dValue, dLow, dHigh));
}

std::optional<int> CNumKinds::ReadBack(const QString& strText) const
{
    const double dValue = LeadingNumber(strText);
    switch (nKind) {
    case kDelayMs:
    case kDelayMsWide:
        if (!Within(dValue, 0.0, nKind == kDelayMs ? kDelayLimitMs : kMaxTypedDelayMs))
            return std::nullopt;
        return dValue == kDelayLimitMs ? Limit(nMax) : ToIndex(std::round(dValue / kDelayUnitMs));
    case kFrequency:
        // Frequencies are committed by focus loss only.
        return std::nullopt;
    case kInteger:
        if (IsOffText(strText))
            return std::nullopt;
        break;
    case kAttack:
        if (Within(dValue, kAttackFineLow, kAttackFineHigh) || Within(dValue, 1.0, nMax))
            return AttackIndex(dValue, nMin);
        return std::nullopt;
    default:
        break;
    }
    const auto [dLow, dHigh] = TypedLimits();
    // An "off" text means the kind's off value, as on focus loss, so a field
    // showing "OFF" reads back the index it shows.
    if (IsGainKind() && IsOffText(strText))
        return TypedIndex(Clamp(GainOffValue(), dLow, dHigh));
    if (!Within(dValue, dLow, dHigh))
        return std::nullopt;
    return TypedIndex(dValue);
}

std::pair<double, double> CNumKinds::TypedLimits() const
{
    switch (nKind) {
    case kDistanceCm:
    case kDistanceInch:
        return {0.0, kDelayLimitMs * DistancePerMs()};
    case kFraction:
        return {kFractionLow, kFractionHigh};
    case kQ:
        return {g_dQTable.back(), g_dQTable.front()};
    case kPercent:
        return {nMin * dStep, nMax * dStep};
    default:
        break;
    }
    if (IsGainKind())
        return {nMin * dStep - dOffset, nMax * dStep - dOffset};
    return {nMin, nMax};
}

int CNumKinds::TypedIndex(double dValue) const
{
    switch (nKind) {
    case kDistanceCm:
    case kDistanceInch:
        return DistanceIndex(dValue);
    case kFraction:
        return ToIndex(std::trunc((dValue - kFractionLow + kFractionSlack) * (10.0 / dStep) / 10.0));
    case kQ:
        return Limit(NearestQIndex(dValue));
    case kPercent:
        // Shown as i × s, so a typed value is divided by the step.
        return ToIndex(TruncSlack(dValue / dStep));
    default:
        break;
    }
    if (IsGainKind())
        return ToIndex(TruncSlack((dValue + dOffset) * 10.0 / (dStep * 10.0)));
    return ToIndex(dValue);
}

// ---- Showing --------------------------------------------------------------------

QString CNumKinds::Format(int nIndex) const
{
    switch (nKind) {
    case kDelayMs:
    case kDelayMsWide:
        return FormatDelay(nIndex);
    case kDistanceCm:
    case kDistanceInch:
        return FormatDistance(nIndex);
    case kAttack:
        return FromStd(AttackText(nIndex));
    case kFraction:
        return FromStd(StrFormat("%0.2f", nIndex * dStep + kFractionLow));
    case kFrequency:
        return FrequencyText(nIndex);
    case kFrequencyLimited:
        return FrequencyText(nIndex == nMin ? kMinFreq : (nIndex == nMax ? kLimitedTopHz : nIndex));
    case kQ:
        return FormatQ(nIndex);
    case kPercent:
        return FromStd(StrFormat("%d", static_cast<int>(nIndex * dStep))) + QLatin1Char('%') + strSuffix;
    default:
        break;
    }
    if (IsGainKind())
        return FormatGain(nIndex);
    return QString::number(nIndex);
}

QString CNumKinds::FormatDelay(int nIndex) const
{
    const double dMs = nIndex == nMax ? kDelayLimitMs : nIndex * kDelayUnitMs;
    return FromStd(StrFormat("%0.3fMS", dMs));
}

QString CNumKinds::FormatDistance(int nIndex) const
{
    const double dMs = nIndex == nMax ? kDelayLimitMs : nIndex * kDelayUnitMs;
    const char* pFormat = nKind == kDistanceCm ? "%0.2fCM" : "%0.2fINCH";
    return FromStd(StrFormat(pFormat, dMs * DistancePerMs()));
}

QString CNumKinds::FormatGain(int nIndex) const
{
    const double dValue = nIndex * dStep - dOffset;
    switch (nKind) {
    case kGateDbu:
        return nIndex == 0 ? Tr(kTxtOff) : FromStd(StrFormat("%0.0fdBu", dValue));
    case kThresholdDbu:
        return FromStd(StrFormat("%0.1fdBu", dValue));
    case kGainDbOffAtMin:
        // This field says "OFF" in English whatever the language.
        return nIndex == nMin ? QString::fromUtf8(TextOf(kTxtOff).szEnglish) : FromStd(StrFormat("%0.0fdB", dValue));
    case kGainDbOffAtMax:
        return nIndex == nMax ? Tr(kTxtOff) : FromStd(StrFormat("%0.1fdB", dValue));
    default:
        return FromStd(StrFormat("%0.1f", dValue));
    }
}

QString CNumKinds::FormatQ(int nIndex) const
{
    const double dQ = QTableEntry(nIndex);
    return FromStd(StrFormat(dQ > 10.0 ? "%0.2f" : "%0.3f", dQ));
}

// ---- Conversions -----------------------------------------------------------------

bool CNumKinds::IsGainKind() const
{
    return nKind == kGain || nKind == kGateDbu || nKind == kThresholdDbu || nKind == kGainDbOffAtMin ||
           nKind == kGainDbOffAtMax;
}

double CNumKinds::SpeedOfSound() const
{
    return 331.0 + 0.6 * (nTemperature - 50);
}

double CNumKinds::DistancePerMs() const
{
    const double dMetresPerMs = SpeedOfSound() / 1000.0;
    return nKind == kDistanceCm ? dMetresPerMs * 100.0 : dMetresPerMs / kMetresPerInch;
}

// What "OFF" typed into a gain field stands for, in the field's unit.
double CNumKinds::GainOffValue() const
{
    switch (nKind) {
    case kGateDbu:
        return -120.0;
    case kThresholdDbu:
        return 20.0;
    case kGainDbOffAtMin:
        return -60.0;
    default:
        return 0.0;
    }
}

double CNumKinds::GainTextValue(const QString& strText) const
{
    return IsOffText(strText) && nKind != kGain ? GainOffValue() : LeadingNumber(strText);
}

int CNumKinds::Limit(int nIndex) const
{
    return std::clamp(nIndex, nMin, std::max(nMin, nMax));
}

int CNumKinds::ToIndex(double dIndex) const
{
    if (!(dIndex >= nMin))
        return nMin;
    return Limit(static_cast<int>(std::min(dIndex, static_cast<double>(nMax))));
}

int CNumKinds::DelayIndex(double dMs) const
{
    if (dMs < 0.0)
        return nMin;
    if (dMs > kDelayLimitMs)
        return Limit(nMax);
    return ToIndex(TruncSlack(dMs / kDelayUnitMs));
}

int CNumKinds::DistanceIndex(double dDistance) const
{
    const double dMs = dDistance / DistancePerMs();
    if (dMs >= kDelayLimitMs)
        return Limit(nMax);
    return ToIndex(std::round(dMs / kDelayUnitMs));
}

int CNumKinds::AttackIndex(double dMs, int nCurrent) const
{
    if (dMs >= kAttackFineLow && dMs <= kAttackFineHigh)
        return ToIndex(TruncSlack((dMs - kAttackFineLow) / 0.1));
    if (dMs >= 1.0)
        return ToIndex(TruncSlack(dMs) + kAttackFineSteps);
    // Between the tenths and the whole milliseconds nothing is meant.
    return Limit(nCurrent);
}

int CNumKinds::NearestQIndex(double dQ)
{
    // Entries fall with the index; QTableIndex gives the first one not above
    // dQ, the one before it is the closest entry above.
    const int i = QTableIndex(dQ);
    if (i > 0 && g_dQTable[i - 1] - dQ < dQ - g_dQTable[i])
        return i - 1;
    return i;
}
