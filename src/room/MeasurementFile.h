// A measured frequency response as a measurement program exports it: REW's
// text export (comment lines start with '*': frequency, SPL and an optional
// phase) or an FRD file ('#' or '*' comments: frequency, dB, optional
// phase). Fields are separated by spaces, tabs, semicolons or commas. The
// phase (degrees) counts only when every line has it: the sum of several
// outputs needs it at every frequency.
//
// Threads: pure functions.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "RoomText.h"

struct MeasurementPoint {
    double dFreq = 0.0;  // Hz
    double dDb = 0.0;
    double dPhase = 0.0;  // degrees
    bool bPhase = false;
};

// True when every point carries a phase.
bool HasPhase(const std::vector<MeasurementPoint>& points);
// The points with their phase unwrapped (no jump of more than 180° from one
// point to the next), so that it can be interpolated.
std::vector<MeasurementPoint> UnwrappedPhase(std::vector<MeasurementPoint> points);
// Level and phase at dFreq (inside the measured range), linear in log
// frequency between the two measured points around it; the points' phase
// must be unwrapped.
MeasurementPoint InterpolatePoint(const std::vector<MeasurementPoint>& points, double dFreq);

// Measurement programs export from 1 Hz to beyond the audio band; anything
// outside these limits is not a frequency response.
constexpr double kMeasureMinFreq = 1.0;
constexpr double kMeasureMaxFreq = 100000.0;

struct MeasurementResult {
    bool bOk = false;
    RoomFileError error;   // why it was refused
    std::string strError;  // the same, worded in the language of the moment
    std::vector<MeasurementPoint> points;
};

// Skips a UTF-8 byte-order mark and reads decimal commas. Refuses UTF-16,
// non-numbers, NaN, frequencies outside 1 Hz … 100 kHz, levels beyond
// ±500 dB, frequencies that do not rise, lines of one field and files with
// fewer than two points.
MeasurementResult ParseMeasurement(std::string_view text);
MeasurementResult ReadMeasurementFile(const std::string& strPath);
