// A filter set on an output's 31 bands, and the bands back as a filter set.
//
// Peaking filters keep their frequency (whole hertz, 20 … 20000), gain
// (±20 dB in 0.1 dB steps) and the nearest bandwidth code of the Q table;
// shelves become the processor's 6 or 12 dB/oct shelf, below 2 kHz for a
// low shelf and above it for a high one. Everything else is skipped. Every
// value that had to move and every filter skipped is noted for the user.
//
// Threads: MapFilterSet and FiltersOfBands are pure; ApplyFilterMapping is
// a model edit (user-interface thread).
#pragma once

#include <string>
#include <vector>

#include "FilterSetFile.h"

class CKTVEQ;
class CKTV_OutData;

struct MappedBand {
    int nShelfMode = 0;      // 0 peaking; 1, 2 low shelf 6/12 dB/oct; 3, 4 high shelf
    int nFreq = 1000;
    int nGainCode = 200;
    int nBandwidthCode = 15;
};

struct FilterMapping {
    std::vector<MappedBand> bands;   // bands 1 … n; the rest become flat and bypassed
    CRoomNotes notes;                // approximations and skips
};

// The bandwidth code whose Q table entry is nearest to dQ.
int NearestBandwidthCode(double dQ);
FilterMapping MapFilterSet(const FilterSet& set);
// The filter a mapped band makes on the processor: its kind, whole-Hz
// frequency, gain, Q (peaking) or slope (shelves).
RoomFilter FilterOfMappedBand(const MappedBand& band);
// One line a band: "band 1: PK 63 Hz -5.0 dB Q 4.209".
std::string MappedBandText(int nBand, const MappedBand& band);
// The active (not bypassed) equalizer bands as filters.
std::vector<RoomFilter> FiltersOfBands(const CKTVEQ& eq);
// Parametric mode and the mapped bands on the output and on every output
// linked with it, through the setters: marked and sent like any edit.
void ApplyFilterMapping(CKTV_OutData& out, const FilterMapping& mapping);
