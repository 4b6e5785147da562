// Display kinds of the number fields: how an index is shown and how typed
// text is read back into an index. No widget here, so every rule can be
// checked on its own.
//
// Indexes run over [nMin, nMax]; dStep is the value of one index step and
// dOffset is subtracted after scaling (gain kinds). Delays are counted in
// samples at 48 kHz (1/48 ms).
#pragma once

#include <QString>
#include <optional>
#include <utility>

class CNumKinds {
public:
    enum Kind : int {
        kDelayMs = 0,          // "%0.3fMS", 0 … 20 ms
        kDistanceCm = 1,       // the delay as the distance sound travels, "%0.2fCM"
        kDistanceInch = 2,     // the same in inches, "%0.2fINCH"
        kInteger = 4,          // the index, "%d"
        kAttack = 5,           // limiter attack, "%0.1fms" / "%dms"
        kFraction = 7,         // i × s + 0.05, "%0.2f"
        kFrequency = 8,        // the index in hertz, "%dHz"
        kGain = 10,            // i × s − o, "%0.1f"
        kQ = 11,               // Q table entry, "%0.2f" above 10, else "%0.3f"
        kPercent = 13,         // trunc(i × s) "%d", then "%", then the suffix
        kDelayMsWide = 19,     // as kDelayMs, typed values up to 60 ms
        kGateDbu = 23,         // "%0.0fdBu", index 0 is off
        kThresholdDbu = 24,    // "%0.1fdBu"
        kGainDbOffAtMin = 25,  // "%0.0fdB", the minimum is off (English text in both languages)
        kFrequencyLimited = 28, // "%dHz", "20Hz" at the minimum, "1000Hz" at the maximum
        kGainDbOffAtMax = 30,  // "%0.1fdB", the maximum is off
    };

    static constexpr int kDefaultTemperature = 75;  // 25 °C, stored plus 50
    static constexpr double kDelayUnitMs = 1.0 / 48.0;
    static constexpr double kDelayLimitMs = 20.0;

    int nKind = kDelayMs;
    double dStep = 0.0;
    double dOffset = 0.0;
    int nMin = 0;
    int nMax = 0;
    int nTemperature = kDefaultTemperature;
    QString strSuffix;

    // The text shown for an index.
    QString Format(int nIndex) const;
    // The index a field takes when it loses the focus with this text typed;
    // nCurrent is its index before. The result always lies in [nMin, nMax].
    int ReadOnFocusLoss(const QString& strText, int nCurrent) const;
    // The index the text gives when read back without focus loss, or nothing
    // when the text is out of the kind's limits (the index stays as it is).
    std::optional<int> ReadBack(const QString& strText) const;

    // The leading decimal number of a text; a text without one reads as 0.
    static double LeadingNumber(const QString& strText);
    // "OFF" or "关闭", compared exactly.
    static bool IsOffText(const QString& strText);
    // The Q table entry closest to dQ (ties to the higher index).
    static int NearestQIndex(double dQ);

private:
    bool IsGainKind() const;
    double SpeedOfSound() const;       // metres per second at the temperature
    double DistancePerMs() const;      // centimetres or inches per millisecond
    double GainOffValue() const;
    double GainTextValue(const QString& strText) const;
    // What a kind reads typed text within, in its unit, and how such a value
    // becomes an index.
    std::pair<double, double> TypedLimits() const;
    int TypedIndex(double dValue) const;
    int Limit(int nIndex) const;
    // A fractional index cut to [nMin, nMax] and truncated; NaN gives nMin.
    int ToIndex(double dIndex) const;

    QString FormatDelay(int nIndex) const;
    QString FormatDistance(int nIndex) const;
    QString FormatGain(int nIndex) const;
    QString FormatQ(int nIndex) const;

    int DelayIndex(double dMs) const;
    int DistanceIndex(double dDistance) const;
    int AttackIndex(double dMs, int nCurrent) const;
};
