#include "BandDrag.h"

#include <algorithm>
#include <cmath>

#include "Filter.h"

namespace {

constexpr int kShelfHinge = 2000;  // the processor's shelves hinge at 2 kHz
constexpr double kMinGainDb = -20.0;
constexpr double kMaxGainDb = 20.0;
constexpr double kMinBandwidth = 0.05;  // octaves; bandwidth code 0
constexpr double kMaxBandwidth = 3.0;   // octaves; bandwidth code 295
constexpr int kSplitHighPassMax = 1000;
constexpr int kSplitLowPassMin = 5000;

bool IsCrossover(int nKind)
{
    return nKind == kHighPass || nKind == kLowPass;
}

// Band frequencies are whole hertz; the column's fraction is dropped.
int FreqAtColumn(int xPlot, int nWidth)
{
    return static_cast<int>(ColToFreq(xPlot, nWidth));
}

// A low shelf lives below the hinge, a high shelf above it.
int KeepShelfSide(int nKind, int nFreq)
{
    if (nKind == kLowShelf)
        return std::min(nFreq, kShelfHinge);
    if (nKind == kHighShelf)
        return std::max(nFreq, kShelfHinge);
    return nFreq;
}

bool KeepsLowEnd(int nRangeCode)
{
    return nRangeCode == kRangeKeepLowEnd || nRangeCode == kRangeKeepLowEnd2;
}

int LimitToRange(int nFreq, bool bHighPass, int nRangeCode)
{
    if (nRangeCode != kRangeSplit)
        return nFreq;
    return bHighPass ? std::min(nFreq, kSplitHighPassMax) : std::max(nFreq, kSplitLowPassMin);
}

}  // namespace

bool DragMarker(CFilter& band, int x, int y)
{
    const int nKind = band.GetKind();
    if (IsCrossover(nKind))
        return false;
    const int W = band.PlotWidth();
    const int H = band.PlotHeight();
    const int xPlot = std::clamp(x - kPlotOffsetX, 0, W);
    const int yPlot = std::clamp(y - kPlotOffsetY, 0, H);

    int nFreq = band.GetFrequency();
    if (!band.IsGraphic())
        nFreq = KeepShelfSide(nKind, FreqAtColumn(xPlot, W));
    const int nGainCode = GainToCode(std::clamp(RowToDb(yPlot, H), kMinGainDb, kMaxGainDb));

    // Only a real change is stored: every store marks the band's group for
    // sending.
    const bool bNewFreq = nFreq != band.GetFrequency();
    const bool bNewGain = nGainCode != band.GetGainCode();
    if (bNewFreq)
        band.SetFrequency(nFreq, true);
    if (bNewGain) {
        band.SetGainCode(nGainCode);
        band.GiveFader(band.GetGainCode());
    }
    return bNewFreq || bNewGain;
}

bool DragBandwidth(CFilter& band, int x, bool bRightHandle)
{
    const double dEdge = ColToFreq(x - kPlotOffsetX, band.PlotWidth());
    const double dCentre = band.GetFrequency();
    double dOctaves = bRightHandle ? std::log2(dEdge / dCentre) : std::log2(dCentre / dEdge);
    if (dOctaves > kMaxBandwidth)
        dOctaves = kMaxBandwidth;
    if (!(dOctaves >= kMinBandwidth))  // written so that a NaN fails too
        dOctaves = kMinBandwidth;
    band.SetBandwidthCode(BandwidthToCode(dOctaves));
    return true;
}

bool DragCutoff(CFilter& band, int x, int nOtherCutoff)
{
    const int nKind = band.GetKind();
    const int nRangeCode = band.GetRangeCode();
    if (!IsCrossover(nKind) || nRangeCode == kRangeLocked)
        return false;
    const bool bHighPass = nKind == kHighPass;
    const int xPlot = x - kPlotOffsetX;

    int nFreq = LimitToRange(FreqAtColumn(xPlot, band.PlotWidth()), bHighPass, nRangeCode);
    if (bHighPass)
        nFreq = std::min(nFreq, nOtherCutoff);
    else
        nFreq = std::max(nFreq, nOtherCutoff);
    // 20 Hz switches the high-pass off (Recompute leaves it flat), as
    // 20 kHz does the low-pass.
    if (bHighPass && xPlot < 1 && !KeepsLowEnd(nRangeCode))
        nFreq = kMinFreq;

    if (nFreq == band.GetFrequency())
        return false;
    band.SetFrequency(nFreq, true);
    return true;
}
