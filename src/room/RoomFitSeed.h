// Where a room fit starts: bands placed one at a time at the largest
// deviation the limits let a band correct, each with the gain that cancels
// the deviation there and the bandwidth that lowers the sum of squares most.
//
// Threads: pure, on the fitting thread.
#pragma once

#include <vector>

#include "RoomFitProblem.h"
#include "RoomFitRun.h"

// Adds bands to the given ones until there are nBands, or no band helps,
// or the fit is cancelled.
void SeedBands(const CRoomFitProblem& problem, int nBands, std::vector<CodedBand>& bands, CRoomFitRun& run);
