// What dragging a band on the response graph does to the band: the marker
// moves frequency and gain, a bandwidth handle moves the bandwidth, a
// crossover marker moves the cut-off within the channel's range. Positions
// are client pixels of the graph (plot offset 35 right, 10 down); the band's
// own plot size (SetPlotRect) scales them.
//
// User-interface thread only, like every band setter. Each function returns
// true when the band's values changed; the band's setters store, mark and
// recompute as they do for any user edit.
#pragma once

class CFilter;

// Indexes into CFilter::m_nDragFlags.
enum BandDragFlag : int {
    kHoverMarker = 0,
    kHoverLeftHandle = 1,
    kHoverRightHandle = 2,
    kDragMarker = 3,
    kDragLeftHandle = 4,
    kDragRightHandle = 5,
};

// Crossover range codes of a channel (given when its set is built).
constexpr int kRangeLocked = 5;       // cut-offs stay where the processor put them
constexpr int kRangeSplit = 6;        // high-pass up to 1 kHz, low-pass from 5 kHz
constexpr int kRangeKeepLowEnd = 8;   // 8 and 9: a high-pass at the left edge is
constexpr int kRangeKeepLowEnd2 = 9;  // not forced to 20 Hz, it follows the column

// Peaking and shelf bands: frequency (unless fixed) and gain follow the
// point, held inside the plot. Crossover filters ignore it.
bool DragMarker(CFilter& band, int x, int y);

// Peaking bands: x is where the band edge is dragged to; the bandwidth is
// the octave distance between it and the centre, 0.05 … 3.0 octaves.
bool DragBandwidth(CFilter& band, int x, bool bRightHandle);

// High-pass and low-pass filters: the cut-off at column x, kept within the
// band's range code and never past the other filter's cut-off.
bool DragCutoff(CFilter& band, int x, int nOtherCutoff);
