// Filter sets as measurement and equalizer programs write them: REW's
// filter-settings export and Equalizer APO's configuration text.
//
//   Filter  1: ON  PK       Fc   63.0 Hz  Gain  -5.0 dB  Q  4.000   (REW)
//   Filter  2: None                                                  (REW, an unused filter)
//   Preamp: -6.1 dB                                                  (APO)
//   Filter: ON LS 6dB Fc 100 Hz Gain 3 dB                            (APO; the number is optional)
//   Filter 4: ON HSC 12 dB Fc 4000 Hz Gain -2 dB                     (shelf with its slope)
//
// Both share the filter row; lines of other text (REW's header, APO's
// comments and commands) are not filters. A file without any filter row is
// not a filter set. Of APO's "Channel:" sections one channel is taken (see
// ApoChannels.h). A UTF-8 byte-order mark is skipped, decimal commas are
// read; UTF-16, gains beyond ±500 dB and bandwidths beyond 10 octaves are
// refused.
//
// Threads: pure functions (messages read the language flag).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "DataDefine.h"
#include "RoomText.h"

enum class RoomFilterKind { None, Peaking, LowShelf, HighShelf, HighPass, LowPass, BandPass, Notch, AllPass };

struct RoomFilter {
    int nLine = 0;
    bool bOn = false;
    RoomFilterKind kind = RoomFilterKind::None;
    std::string strType;   // as written: "PK", "LSC", …
    double dFreq = 0.0;    // Hz
    double dGain = 0.0;    // dB
    double dQ = 0.0;       // 0: not given
    double dBwOct = 0.0;   // 0: not given ("BW Oct 1.0")
    double dSlope = 0.0;   // shelves, dB/oct; 0: not given
    // On, and a kind the processor's bands can take.
    bool IsUsable() const;
};

struct FilterSet {
    double dPreamp = 0.0;
    bool bHasPreamp = false;
    std::vector<RoomFilter> filters;  // of the channel taken
    CRoomNotes notes;                 // lines read but not used (APO commands, other channels)
    std::vector<std::string> channels;  // APO channels to choose from; empty: no choice
    std::string strChannel;             // the one taken; empty: no choice
};

constexpr int kMaxRoomFilters = kGraphicBands;  // the output's bands

struct FilterSetResult {
    bool bOk = false;
    RoomFileError error;   // why it was refused
    std::string strError;  // the same, worded in the language of the moment
    FilterSet set;
};

// strChannel: the APO channel to take ("L"); empty for the rule's choice.
FilterSetResult ParseFilterSet(std::string_view text, const std::string& strChannel = {});
FilterSetResult ReadFilterSetFile(const std::string& strPath, const std::string& strChannel = {});

enum class FilterSetFormat { Apo, Rew };
// Only peaking filters and shelves: what the processor's bands hold. The
// note goes onto a comment line, its control bytes replaced.
std::string WriteFilterSet(const std::vector<RoomFilter>& filters, FilterSetFormat format, const std::string& strNote);
