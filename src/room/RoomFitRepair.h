// Bands rounded from continuous values brought back within the grid's
// rules: one band to a frequency, and the bands' sum within the boost and
// cut limits at every axis point.
//
// Threads: pure, on the fitting thread.
#pragma once

#include <vector>

#include "RoomFitProblem.h"

// Moves a band that shares its slot to the nearest free one (drops it when
// none is left), then steps the gain of the band that adds most to the
// largest excess one code towards 0 dB until the sum fits.
void RepairBands(const CRoomFitProblem& problem, std::vector<CodedBand>& bands);
// Whether another band than band nExcept sits on the slot.
bool SlotTaken(const std::vector<CodedBand>& bands, int nSlot, std::size_t nExcept);
