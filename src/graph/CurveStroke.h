// Anti-aliased wide curves drawn straight into a 32-bit image.
//
// QPainter strokes a wide anti-aliased pen through its general path filler,
// which costs about half a millisecond for one 241-point response curve and
// more than twice that at device pixel ratio 2; six curves made the graph
// miss its frame. A response curve is a function of x (its points run left
// to right), so it is drawn column by column instead: each pixel near the
// curve is covered by its distance to the nearest segment (round joins, no
// joint drawn twice) and blended once.
//
// User-interface thread only, like the graph that uses it.
#pragma once

#include <QImage>
#include <QPointF>
#include <QRect>
#include <vector>

class CCurveStroke {
public:
    // Points in device pixels, x never decreasing; the image of
    // Format_RGB32 or Format_ARGB32_Premultiplied. Nothing outside rcClip is
    // touched.
    void Draw(QImage& image, const QRect& rcClip, const QPointF* pPoints, int nPoints, double dWidth,
              QRgb crColour);

private:
    struct Segment {
        QPointF a;
        QPointF d;  // b − a
        double dInvLength2;
    };
    void Prepare(const QPointF* pPoints, int nPoints);
    // The rows of column px that segments iFirst … iLast can reach.
    void RowSpan(double px, int iFirst, int iLast, double& yTop, double& yBottom) const;
    // A segment seen from one column: its projection parameter t is
    // fT0 + fTPerRow × row, and the column is fAx right of its start.
    struct ColumnSegment {
        float fT0;
        float fTPerRow;
        float fAx;
        float fAy;
        float fDx;
        float fDy;
    };
    void PrepareColumn(double px, int iFirst, int iLast);
    // Squared distance from (column, py) to the nearest of its segments.
    float ColumnDistance2(float py) const;

    double m_dReach = 0.0;  // half the width and half a pixel of edge ramp
    std::vector<Segment> m_segments;
    std::vector<ColumnSegment> m_column;
};
