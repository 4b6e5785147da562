// Several microphone positions of one output: their power average on the
// response axis, and their spread. Fits and the graph take the average as if
// it were one measurement.
//
// Threads: pure functions.
#pragma once

#include <string>
#include <vector>

#include "BandMath.h"
#include "MeasurementFile.h"

constexpr int kMaxPositions = 8;

using Positions = std::vector<std::vector<MeasurementPoint>>;

// The power average 10·log10(mean of 10^(dB/10)) at the axis points every
// position covers. With a phase in every file, the phase is that of the
// complex mean. False with pError set when there is no position, more than
// kMaxPositions, or no axis point that all cover.
bool PowerAverage(const Positions& positions, std::vector<MeasurementPoint>* pAverage, std::string* pError);

// The lowest and highest level of the positions at the averaged points, in
// the order of the average's points.
struct Spread {
    std::vector<double> dMin;
    std::vector<double> dMax;
};
Spread PositionSpread(const Positions& positions, const std::vector<MeasurementPoint>& average);
