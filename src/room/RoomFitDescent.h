// The room fit's refinement on the processor's grid: coordinate descent
// over neighbouring frequency slots, gain codes and bandwidth codes, and
// the dropping of bands that do not lower the deviation.
//
// Threads: pure, on the fitting thread.
#pragma once

#include <vector>

#include "RoomFitProblem.h"
#include "RoomFitRun.h"

// Moves one value of one band at a time while that lowers the sum of
// squares; stops when no move does or the fit is cancelled.
void DescendCodes(const CRoomFitProblem& problem, std::vector<CodedBand>& bands, CRoomFitRun& run);
// Drops, one at a time, the bands whose removal does not raise the sum of
// squares (a 0.0 dB band, a band another one has taken over) and keeps the
// sum within the limits; whether it dropped any.
bool PruneBands(const CRoomFitProblem& problem, std::vector<CodedBand>& bands);
// The sum of squares of the bands.
double SseOf(const CRoomFitProblem& problem, const std::vector<CodedBand>& bands);
