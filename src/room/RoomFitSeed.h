// Where a room fit starts: bands placed one at a time at the largest
// deviation the limits let a band correct, each with the gain that cancels
// the deviation there and the bandwidth that lowers the sum of squares most.
// A band never takes a slot another one has, nor the bands' sum beyond the
// limits anywhere: what a band may correct at a point is what the bands
// already there leave of the limit. Where no band helps, the next largest
// deviation is tried, a few times in a row.
//
// Threads: pure, on the fitting thread.
#pragma once

#include <vector>

#include "RoomFitProblem.h"
#include "RoomFitRun.h"

// Adds bands to the given ones until there are nBands, or no band helps,
// or the fit is cancelled. A band's gain keeps dHeadroomDb from the limits
// of the sum at its centre: a band right at a limit leaves no room there
// for the slightest tail of any later band on that side of 0 dB.
void SeedBands(const CRoomFitProblem& problem, int nBands, std::vector<CodedBand>& bands, CRoomFitRun& run,
               double dHeadroomDb = 0.0);
