// Outputs as they meet in the air: the complex sum of their chains, each with
// its level, delay and polarity and, where measured, the speaker's own
// response; and the delay and polarity that make a pair add up flattest
// around its crossover.
//
// Threads: pure functions.
#pragma once

#include <vector>

#include "OutputChain.h"
#include "RoomCurve.h"

struct SumMember {
    ChainResponse chain;
    const CRoomCurve* pMeasured = nullptr;  // none: the filters alone
};

struct SumResult {
    AxisResponse dDb{};
    AxisResponse dPhase{};  // degrees
    int nFirst = 0;         // the axis points the sum covers
    int nLast = kAxisPoints - 1;
    // The speakers' own phase is missing for some member, so the sum is the
    // filters' alone and says nothing about the speakers.
    bool bFiltersOnly = true;
};

SumResult SumChains(const std::vector<SumMember>& members);

struct AlignAdvice {
    double dCrossoverHz = 0.0;
    int nMember = 1;          // 0 or 1: the member whose delay changes
    int nDelayCode = 0;       // its new delay, 1/48 ms
    bool bInvertSecond = false;  // the second member's new polarity
    double dBeforeDb = 0.0;   // flatness (RMS deviation from the mean) over the octave, as set
    double dAfterDb = 0.0;    // the same with the advice applied
    bool bFiltersOnly = true;
};

// The pair's crossover: the point where the two levels meet, among the points
// within 10 dB of the louder member's peak.
double PairCrossover(const SumMember& first, const SumMember& second);
// Tries every delay 0 … 960 of either member and both polarities of the
// second over an octave around the crossover, and keeps the setting where
// the pair adds most fully in phase (its sum then is flattest); of equal
// results the smallest change wins.
AlignAdvice AdviseAlignment(const SumMember& first, const SumMember& second);
