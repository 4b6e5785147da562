// The response graph's picture and the background it is drawn on, in device
// pixels (the screen's pixel ratio).
//
// The background (frame, scales, grid) changes only with the size, the pixel
// ratio and the language, so it is drawn once for them. Every picture starts
// from it, but copying the whole background for each picture moved two
// images' worth of memory through the caches (4 MB at pixel ratio 2) and cost
// more than the drawing itself: the canvas remembers where a picture drew and
// puts back only those pixels before the next.
//
// User-interface thread only.
#pragma once

#include <QImage>
#include <QRect>
#include <functional>
#include <vector>

#include "CurveStroke.h"

class CGraphCanvas {
public:
    // Readies a picture of szLogical at dRatio: the background drawn anew by
    // drawBackground (onto an image of that ratio) when the size, ratio or
    // variant (the language and the scale's unit) changed, and the pixels the
    // last picture drew on put back.
    void Begin(const QSize& szLogical, qreal dRatio, int nVariant,
               const std::function<void(QImage&)>& drawBackground);
    QImage& Picture() { return m_picture; }
    const QImage& Picture() const { return m_picture; }

    // Records that the picture was drawn on within rc (logical pixels).
    void Touch(const QRect& rc);
    // An anti-aliased curve through logical points, kept inside rcClip.
    void DrawCurve(const QPointF* pPoints, int nPoints, double dWidth, QRgb crColour, const QRect& rcClip);

private:
    void TouchDevice(const QRect& rc);
    void Restore();

    QImage m_background;
    QImage m_picture;
    int m_nVariant = -1;
    bool m_bRestoreAll = true;
    std::vector<QRect> m_touched;  // device pixels
    std::vector<QPointF> m_devicePoints;
    CCurveStroke m_stroke;
};
