// How every zr470ctl parameter reads and prints: the user's units (dB, Hz,
// octaves, ms, words) on one side, the processor's codes on the other.
// `get` prints exactly what `set` accepts, so a printed value can be fed
// back unchanged.
//
// Threads: pure functions and constant tables.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The editor's music volume fader ends here; its bottom turns the music off.
constexpr int kMusicVolumeFaderMax = 70;
constexpr int kMusicVolumeOff = 0;

struct ParamText {
    std::string strText;
    bool bNumber = false;   // JSON: a number rather than a string
    bool bBoolean = false;  // JSON: true for "on", false for "off"
};

struct ValueScale {
    const char* pAccepts;  // what may be typed, for the refusal message
    std::optional<int> (*parse)(std::string_view text);
    ParamText (*format)(int nCode);
};

// Mix of an output: which sides of the stereo source feed it. Both sides
// off cannot be chosen, but a processor may report it.
enum MixCode : int { kMixBoth = 0, kMixLeft = 1, kMixRight = 2, kMixNone = 3 };

// Input source selection, byte 0 of the control block.
constexpr int kSourceCount = 4;

extern const ValueScale kLevelScale;      // dB −60 … 10 ↔ level index 0 … 70
extern const ValueScale kOnOffScale;      // on / off ↔ 1 / 0
extern const ValueScale kPolarityScale;   // + / − ↔ 0 / 1
extern const ValueScale kEqModeScale;     // peq / geq ↔ 0 / 1
extern const ValueScale kFrequencyScale;  // Hz 20 … 20000
extern const ValueScale kGainScale;       // dB −20.0 … 20.0 ↔ gain code 0 … 400
extern const ValueScale kBandwidthScale;  // octaves 0.05 … 3.00 ↔ bandwidth code 0 … 295
extern const ValueScale kFilterTypeScale; // lr / bessel / butter ↔ 0 … 2
extern const ValueScale kSlopeScale;      // 12 … 48 dB/oct, off ↔ slope index 0 … 7
extern const ValueScale kThresholdScale;  // dBu −30.0 … 6.0 ↔ 0 … 360
extern const ValueScale kAttackScale;     // 0.3 … 0.9 ms, 1 … 100 ms ↔ 0 … 106
extern const ValueScale kReleaseScale;    // × 2, 4, 6, 8, 16, 32 of the attack ↔ 0 … 5
extern const ValueScale kMixScale;        // L / R / L+R ↔ MixCode
extern const ValueScale kDelayScale;      // ms 0 … 20 ↔ 1/48 ms units 0 … 960
extern const ValueScale kSourceScale;     // main / aux / high / bluetooth ↔ 0 … 3
extern const ValueScale kNoiseGateScale;  // dBu −119 … −20, off ↔ index 1 … 100, 0
extern const ValueScale kVolumeScale;     // dB −59 … 10, off ↔ 1 … 70, 0
extern const ValueScale kPositionScale;   // listening position 1 … 4 ↔ 0 … 3
