// The band's response and its geometry on the response graph. User-interface
// thread only (see Filter.h).
#include <algorithm>
#include <cmath>

#include "BandMath.h"
#include "Filter.h"

namespace {

constexpr int kMarkerHalf = 8;  // markers are 16 × 16 pixels
constexpr int kMarkerSize = 2 * kMarkerHalf;
constexpr int kHandleHalf = 4;  // handles are 8 × 8 pixels
constexpr int kHandleGap = 10;  // handles sit this far outside the band edges and off the marker centre
constexpr int kFirstClampedGroup = 9;  // bands of these groups keep their marker inside the plot's left edge
constexpr int kTextGap = 25;           // label distance above or below an equalizer marker
constexpr int kPlotBottomMargin = 15;  // closer than this to the bottom the label goes above
constexpr double kHighPassMarkerDb = -15.0;  // crossover markers sit low in the plot, out of the
constexpr double kLowPassMarkerDb = -17.0;   // way of the equalizer bands, and apart from each other

// How a label sits beside its marker: it starts at the marker's left and runs
// `extent` past the marker's right; if that would pass the plot's right edge
// by more than `reach`, it is pinned to the edge with `width`.
struct TextSpan {
    int nReach;
    int nWidth;
    int nExtent;
};
constexpr TextSpan kPeakingText{200, 200, 210};
constexpr TextSpan kShelfText{110, 116, 90};
constexpr TextSpan kCrossoverText{50, 66, 50};

// Label rows relative to a crossover marker: the high-pass label hangs below
// its marker, the low-pass label reaches above it, so the two never cover
// each other.
struct CrossoverTextRows {
    int nTop;
    int nBottom;
};
constexpr CrossoverTextRows kHighPassTextRows{15, 25};
constexpr CrossoverTextRows kLowPassTextRows{-15, 20};

void PlaceTextColumns(const BandRect& marker, const TextSpan& span, int nWidth, BandRect& text)
{
    const int nEdge = nWidth + kPlotOffsetX;
    if (marker.right + span.nReach > nEdge) {
        text.right = nEdge;
        text.left = nEdge - span.nWidth;
    } else {
        text.left = marker.left;
        text.right = marker.right + span.nExtent;
    }
}

BandRect ShiftToClient(BandRect rc)
{
    rc.left += kPlotOffsetX;
    rc.right += kPlotOffsetX;
    rc.top += kPlotOffsetY;
    rc.bottom += kPlotOffsetY;
    return rc;
}

// A marker with its plot-relative top left, kept inside the plot's right and
// bottom edges, in client pixels.
BandRect EqMarkerRect(int nLeft, int nTop, int W, int H)
{
    BandRect rc{nLeft, nTop, nLeft + kMarkerSize, nTop + kMarkerSize};
    if (rc.right > W) {
        rc.right = W;
        rc.left = W - kMarkerSize;
    }
    if (rc.bottom > H) {
        rc.bottom = H;
        rc.top = H - kMarkerSize;
    }
    return ShiftToClient(rc);
}

void PlaceEqText(const BandRect& marker, const TextSpan& span, int W, int H, BandRect& text)
{
    PlaceTextColumns(marker, span, W, text);
    const int nShift = marker.bottom >= H - kPlotBottomMargin ? -kTextGap : kTextGap;
    text.top = marker.top + nShift;
    text.bottom = marker.bottom + nShift;
}

BandRect HandleRect(int x, int y)
{
    return {x - kHandleHalf, y - kHandleHalf, x + kHandleHalf, y + kHandleHalf};
}

// Crossover filters ignore both bypass flags: they are switched off by their
// end frequency or by the "off" slope instead.
bool IsFlat(int nKind, bool bBypassed, int nFreq, int nSlope)
{
    switch (nKind) {
    case kHighPass:
        return nFreq == kMinFreq || nSlope == kCrossoverSlopeOff;
    case kLowPass:
        return nFreq == kMaxFreq || nSlope == kCrossoverSlopeOff;
    default:
        return bBypassed;
    }
}

}  // namespace

void CFilter::SetPlotRect(int nWidth, int nHeight)
{
    m_nPlotW = nWidth;
    m_nPlotH = nHeight;
    Layout();
    m_ptArea[0].x = kPlotOffsetX;
    for (int i = 0; i < kAxisPoints; ++i)
        m_ptArea[i + 1].x = FreqToCol(g_dFreqAxis[i], nWidth) + kPlotOffsetX;
    m_ptArea[kAreaPoints - 1].x = nWidth + kPlotOffsetX;
    Recompute();
}

SectionList CFilter::Sections() const
{
    const double dFreq = m_nFreq;
    const CrossoverShape shape{m_nFilterType, m_nSlope, IsTwoSlope()};
    if (m_nKind < kPeaking || m_nKind > kLowPass || IsFlat(m_nKind, IsEffectivelyBypassed(), m_nFreq, m_nSlope))
        return {};
    if (m_nKind == kPeaking)
        // Centred on the nearest axis point rather than the band's own frequency:
        // the curve's maximum then lands on a computed point and shows the full gain.
        return PeakingSections(g_dFreqAxis[NearestAxisIndex(dFreq)], m_dGain, m_dBandwidth);
    if (m_nKind == kLowShelf || m_nKind == kHighShelf)
        return ShelfSections(m_nKind == kHighShelf, dFreq, m_dGain, m_nSlope);
    if (m_nKind == kHighPass)
        return HighPassSections(dFreq, shape);
    return LowPassSections(dFreq, shape);
}

void CFilter::Recompute()
{
    // Kinds the processor does not define keep their last response.
    if (m_nKind >= kPeaking && m_nKind <= kLowPass)
        SectionsResponse(Sections(), m_dResponse);
    UpdateAreaRows();
}

void CFilter::UpdateAreaRows()
{
    const int nZeroRow = DbToRow(0.0, m_nPlotH) + kPlotOffsetY;
    m_ptArea[0].y = nZeroRow;
    for (int i = 0; i < kAxisPoints; ++i)
        m_ptArea[i + 1].y = DbToRow(m_dResponse[i], m_nPlotH) + kPlotOffsetY;
    m_ptArea[kAreaPoints - 1].y = nZeroRow;
}

void CFilter::Layout()
{
    if (IsEqBand()) {
        LayoutEqBand();
        LayoutHandles();
    } else {
        LayoutCrossover();
    }
}

void CFilter::LayoutEqBand()
{
    const double dShownGain = IsEffectivelyBypassed() ? 0.0 : m_dGain;
    const int nLeftLimit = m_nGroup >= kFirstClampedGroup ? 0 : -kMarkerHalf;
    const int nLeft = std::max(FreqToCol(m_nFreq, m_nPlotW) - kMarkerHalf, nLeftLimit);
    const int nTop = std::max(DbToRow(dShownGain, m_nPlotH) - kMarkerHalf, 0);
    m_rcMarker = EqMarkerRect(nLeft, nTop, m_nPlotW, m_nPlotH);
    if (m_nKind == kPeaking)
        PlaceEqText(m_rcMarker, kPeakingText, m_nPlotW, m_nPlotH, m_rcText);
    else if (m_nKind == kLowShelf || m_nKind == kHighShelf)
        PlaceEqText(m_rcMarker, kShelfText, m_nPlotW, m_nPlotH, m_rcText);
}

void CFilter::LayoutHandles()
{
    // Handles sit on the side of the marker towards the zero line; the stored
    // gain decides even while the band is bypassed.
    const int y = m_rcMarker.CenterY() + (m_dGain < 0.0 ? -kHandleGap : kHandleGap);
    const double dSpan = std::pow(2.0, m_dBandwidth);
    const int xLeft = FreqToCol(m_nFreq / dSpan, m_nPlotW) + kPlotOffsetX - kHandleGap;
    const int xRight = FreqToCol(m_nFreq * dSpan, m_nPlotW) + kPlotOffsetX + kHandleGap;
    m_rcLeftHandle = HandleRect(xLeft, y);
    m_rcRightHandle = HandleRect(xRight, y);
}

void CFilter::LayoutCrossover()
{
    const int W = m_nPlotW;
    const bool bHighPass = m_nKind == kHighPass;
    BandRect rc;
    rc.left = std::max(FreqToCol(m_nFreq, W) - kMarkerHalf, -kMarkerHalf);
    rc.top = DbToRow(bHighPass ? kHighPassMarkerDb : kLowPassMarkerDb, m_nPlotH);
    rc.right = rc.left + kMarkerSize;
    rc.bottom = rc.top + kMarkerSize;
    if (rc.right > W + kMarkerHalf) {
        rc.right = W + kMarkerHalf;
        rc.left = W - kMarkerHalf;
    }
    m_rcMarker = ShiftToClient(rc);

    const CrossoverTextRows& rows = bHighPass ? kHighPassTextRows : kLowPassTextRows;
    m_rcText.top = m_rcMarker.top + rows.nTop;
    m_rcText.bottom = m_rcMarker.bottom + rows.nBottom;
    PlaceTextColumns(m_rcMarker, kCrossoverText, W, m_rcText);
}
