#include "ResponseView.h"

#include <algorithm>
#include <cmath>

#include "KTV_Data.h"
#include "RoomCurve.h"

namespace {
constexpr double kDegreesPerScaleUnit = 9.0;  // ±180° on the ±20 scale

double Wrapped(double dDegrees)
{
    return std::remainder(dDegrees, 360.0);
}
}  // namespace

OutputResponse OutputResponseOf(CKTV_Data& data, int nOutput)
{
    OutputResponse response;
    SummedResponse(data.Output(nOutput).EQ(), response.dDb);
    response.chain = OutputChainOf(data, nOutput);
    return response;
}

TuningSnapshot SnapshotOf(CKTV_Data& data)
{
    TuningSnapshot snapshot;
    for (int i = 0; i < kOutputs; ++i)
        snapshot[static_cast<std::size_t>(i)] = OutputResponseOf(data, i);
    return snapshot;
}

void ViewValues(ResponseView view, const OutputResponse& output, AxisResponse& out)
{
    if (view == ResponseView::Phase)
        ChainPhase(output.chain, out);
    else if (view == ResponseView::GroupDelay)
        ChainGroupDelay(output.chain, out);
    else
        out = output.dDb;
}

void DifferenceValues(ResponseView view, const OutputResponse& b, const OutputResponse& a, AxisResponse& out)
{
    AxisResponse before{};
    ViewValues(view, b, out);
    ViewValues(view, a, before);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = view == ResponseView::Phase ? Wrapped(out[i] - before[i]) : out[i] - before[i];
}

void SumValues(ResponseView view, const SumResult& sum, AxisResponse& out)
{
    out = view == ResponseView::Magnitude ? sum.dDb : sum.dPhase;
    if (view != ResponseView::GroupDelay || sum.nLast <= sum.nFirst)
        return;
    AxisResponse unwrapped = sum.dPhase;
    for (int i = sum.nFirst + 1; i <= sum.nLast; ++i) {
        const auto n = static_cast<std::size_t>(i);
        unwrapped[n] = unwrapped[n - 1] + Wrapped(sum.dPhase[n] - sum.dPhase[n - 1]);
    }
    for (int i = sum.nFirst; i <= sum.nLast; ++i) {
        const auto lo = static_cast<std::size_t>(std::max(i - 1, sum.nFirst));
        const auto hi = static_cast<std::size_t>(std::min(i + 1, sum.nLast));
        out[static_cast<std::size_t>(i)] =
            -(unwrapped[hi] - unwrapped[lo]) / (360.0 * (g_dFreqAxis[hi] - g_dFreqAxis[lo])) * 1000.0;
    }
}

double ViewScaled(ResponseView view, double dValue)
{
    return view == ResponseView::Phase ? dValue / kDegreesPerScaleUnit : dValue;
}
