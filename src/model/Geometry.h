// Pixel geometry the model computes for the response graph. Coordinates are
// client pixels of the graph control (plot offset 35 right, 10 down).
#pragma once

constexpr int kPlotOffsetX = 35;
constexpr int kPlotOffsetY = 10;

struct BandPoint {
    int x = 0;
    int y = 0;
};

struct BandPointF {
    double x = 0.0;
    double y = 0.0;
};

struct BandRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int CenterX() const { return (left + right) / 2; }
    int CenterY() const { return (top + bottom) / 2; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};
