// Room fit: the equalizer bands of one output computed from a measurement,
// with the processor's own quantised filters.
//
// The fit minimises the RMS deviation of the predicted response
// (measurement + the output's crossover + the bands, on the graph's curve
// code) from the target over the range's axis points. It places bands one
// at a time where the deviation is largest, refines all of them together on
// continuous values, then rounds them to whole hertz, the 0.1 dB gain grid
// and the bandwidth codes and refines once more on that grid. Bands that do
// not help are dropped. No two bands share a frequency, and the limits hold
// on each band's gain and on the bands' sum at every point of the axis, in
// the range or not: six bands of +3 dB side by side would boost far more
// than 3 dB. With a largest boost of 0 dB the fit only cuts. The greedy
// placement, settled on the grid, stays a candidate: the fit never returns
// less than it.
//
// Threads: FitRoom is a pure function of its input (it reads no record),
// so a dialog copies what it needs on the user-interface thread and fits on
// a worker; ApplyRoomFit is a model edit (user-interface thread).
#pragma once

#include <string>
#include <vector>

#include "BandMath.h"
#include "FilterSetMapping.h"
#include "RoomCurve.h"
#include "RoomFitRun.h"
#include "RoomTarget.h"

class CKTVEQ;
class CKTV_OutData;

constexpr int kRoomFitMaxBands = kGraphicBands;

struct RoomFitInput {
    CRoomCurve measurement;      // assigned, so normalised as the overlay shows it
    AxisResponse crossover{};    // the output's high- and low-pass: CrossoverResponse(eq)
    CRoomTarget target;          // flat unless a house curve is assigned
    double dLowHz = 20.0;        // the range fitted and where bands may sit
    double dHighHz = 500.0;
    int nBands = 10;             // at most, 1 … 31
    double dMaxBoostDb = 0.0;    // 0 … 20
    double dMaxCutDb = -20.0;    // −20 … 0
};

// Deviation of the predicted response from the target in dB over the axis
// points of the range that the measurement covers.
struct RoomResidual {
    double dRmsDb = 0.0;
    double dMaxDb = 0.0;  // largest absolute deviation
};

enum class RoomFitStatus { Done, Cancelled, Refused };

struct RoomFitResult {
    RoomFitStatus status = RoomFitStatus::Refused;
    std::string strError;           // why it was refused, for the user
    std::vector<MappedBand> bands;  // peaking, lowest frequency first; none unless Done
    RoomResidual before;            // measurement and crossover alone (not when refused)
    RoomResidual after;             // with the bands (Done only)
};

// Sum of the set's high- and low-pass responses as the graph draws them.
AxisResponse CrossoverResponse(const CKTVEQ& eq);

RoomFitResult FitRoom(const RoomFitInput& input, const RoomFitHooks& hooks = {});

// The residual of a predicted response (CRoomCurve::Predict) against the
// input's target over the input's range; zero when the range is not covered.
RoomResidual PredictedResidual(const AxisResponse& predicted, const RoomFitInput& input);

// The fitted bands on the output as a filter import puts them there:
// parametric mode, the bands in order, the rest flat and bypassed, linked
// outputs alike, marked and sent like any edit.
FilterMapping RoomFitMapping(const RoomFitResult& result);
void ApplyRoomFit(CKTV_OutData& out, const RoomFitResult& result);
