// What the response graph can show of an output besides its magnitude, as
// values on the graph's scale: phase, group delay, the sum of chosen outputs,
// and a kept tuning ("A") to compare later edits with.
//
// Threads: pure functions, except those that read a model (user-interface
// thread, like the graph).
#pragma once

#include <array>

#include "GlobalData.h"
#include "OutputChain.h"
#include "ResponseSum.h"

class CKTV_Data;

enum class ResponseView { Magnitude, Phase, GroupDelay };
constexpr int kResponseViews = 3;

// One output as the graph draws it: the bands' summed dB and the chain.
struct OutputResponse {
    AxisResponse dDb{};
    ChainResponse chain;
};
using TuningSnapshot = std::array<OutputResponse, kOutputs>;

OutputResponse OutputResponseOf(CKTV_Data& data, int nOutput);
TuningSnapshot SnapshotOf(CKTV_Data& data);

// The output's values in the view's unit: dB, degrees (−180 … 180) or ms.
void ViewValues(ResponseView view, const OutputResponse& output, AxisResponse& out);
// B − A in the view's unit; a phase difference is wrapped to −180 … 180.
void DifferenceValues(ResponseView view, const OutputResponse& b, const OutputResponse& a, AxisResponse& out);
// The sum's values at its covered points; its group delay from the slope of
// its phase.
void SumValues(ResponseView view, const SumResult& sum, AxisResponse& out);
// The graph's level scale is ±20: dB and ms as they are, degrees divided by 9.
double ViewScaled(ResponseView view, double dValue);
