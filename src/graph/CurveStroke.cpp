#include "CurveStroke.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr uint32_t kFullCover = 255;

// src × a + dst × (255 − a), divided by 255 with rounding, for the four
// 8-bit channels at once (two in each 16-bit lane). The source is opaque, so
// the same blend is right for RGB32 and premultiplied ARGB32.
uint32_t Mix(uint32_t src, uint32_t dst, uint32_t a)
{
    const uint32_t ia = kFullCover - a;
    uint32_t rb = (src & 0x00ff00ffu) * a + (dst & 0x00ff00ffu) * ia + 0x00800080u;
    uint32_t ag = ((src >> 8) & 0x00ff00ffu) * a + ((dst >> 8) & 0x00ff00ffu) * ia + 0x00800080u;
    rb = ((rb + ((rb >> 8) & 0x00ff00ffu)) >> 8) & 0x00ff00ffu;
    ag = (ag + ((ag >> 8) & 0x00ff00ffu)) & 0xff00ff00u;
    return rb | ag;
}

}  // namespace

void CCurveStroke::Draw(QImage& image, const QRect& rcClip, const QPointF* pPoints, int nPoints, double dWidth,
                        QRgb crColour)
{
    const QRect rc = rcClip & image.rect();
    if (rc.isEmpty() || nPoints < 2 || image.depth() != 32)
        return;
    Prepare(pPoints, nPoints);
    m_dReach = dWidth / 2.0 + 0.5;
    // Coverage falls from full to none over the pixel that straddles the
    // pen's edge: half width + 0.5 − distance, clamped to 0 … 1.
    const auto fReach = static_cast<float>(m_dReach);
    const float fReach2 = fReach * fReach;
    const float fSolid = std::max(fReach - 1.0f, 0.0f);
    const float fSolid2 = fSolid * fSolid;
    const uint32_t crOpaque = crColour | 0xff000000u;
    uchar* pBits = image.bits();
    const qsizetype nStride = image.bytesPerLine();
    const int nLast = static_cast<int>(m_segments.size()) - 1;

    const double dLeft = rc.left();
    const double dRight = rc.right();
    const double dTop = rc.top();
    const double dBottom = rc.bottom();
    const int cxFirst = static_cast<int>(std::floor(std::clamp(pPoints[0].x() - m_dReach, dLeft, dRight)));
    const int cxLast = static_cast<int>(std::ceil(std::clamp(pPoints[nPoints - 1].x() + m_dReach, dLeft, dRight)));
    int iFirst = 0;
    for (int cx = cxFirst; cx <= cxLast; ++cx) {
        const double px = cx + 0.5;
        // The segments within reach sideways: the first that ends at or
        // after px − reach up to the last that starts at or before px + reach.
        while (iFirst < nLast && m_segments[iFirst].a.x() + m_segments[iFirst].d.x() < px - m_dReach)
            ++iFirst;
        int iLast = iFirst;
        while (iLast < nLast && m_segments[iLast + 1].a.x() <= px + m_dReach)
            ++iLast;
        double yTop = 0.0;
        double yBottom = 0.0;
        RowSpan(px, iFirst, iLast, yTop, yBottom);
        if (!(yTop <= yBottom))  // a point that is not a number
            continue;
        // Clamped before the conversion: a curve may run far off the plot.
        const int cyFirst = static_cast<int>(std::floor(std::clamp(yTop - m_dReach, dTop, dBottom)));
        const int cyLast = static_cast<int>(std::ceil(std::clamp(yBottom + m_dReach, dTop, dBottom)));
        PrepareColumn(px, iFirst, iLast);
        for (int cy = cyFirst; cy <= cyLast; ++cy) {
            const float fDistance2 = ColumnDistance2(static_cast<float>(cy) + 0.5f);
            if (!(fDistance2 < fReach2))  // out of reach, or a point that is not a number
                continue;
            auto* pPixel = reinterpret_cast<uint32_t*>(pBits + cy * nStride) + cx;
            if (fDistance2 <= fSolid2) {
                *pPixel = crOpaque;
                continue;
            }
            const auto nCover = static_cast<uint32_t>((fReach - std::sqrt(fDistance2)) * kFullCover + 0.5f);
            *pPixel = Mix(crOpaque, *pPixel, nCover);
        }
    }
}

void CCurveStroke::Prepare(const QPointF* pPoints, int nPoints)
{
    m_segments.resize(static_cast<size_t>(nPoints - 1));
    for (int i = 0; i + 1 < nPoints; ++i) {
        const QPointF d = pPoints[i + 1] - pPoints[i];
        const double dLength2 = d.x() * d.x() + d.y() * d.y();
        m_segments[static_cast<size_t>(i)] = {pPoints[i], d, dLength2 > 0.0 ? 1.0 / dLength2 : 0.0};
    }
}

void CCurveStroke::RowSpan(double px, int iFirst, int iLast, double& yTop, double& yBottom) const
{
    yTop = std::numeric_limits<double>::max();
    yBottom = std::numeric_limits<double>::lowest();
    for (int i = iFirst; i <= iLast; ++i) {
        const Segment& s = m_segments[static_cast<size_t>(i)];
        // The part of the segment within reach of px sideways.
        const double x0 = s.a.x();
        const double x1 = s.a.x() + s.d.x();
        const double xa = std::max(px - m_dReach, x0);
        const double xb = std::min(px + m_dReach, x1);
        double ya = s.a.y();
        double yb = s.a.y() + s.d.y();
        if (xa <= xb && s.d.x() != 0.0) {
            const double dSlope = s.d.y() / s.d.x();
            ya = s.a.y() + (xa - x0) * dSlope;
            yb = s.a.y() + (xb - x0) * dSlope;
        }
        yTop = std::min({yTop, ya, yb});
        yBottom = std::max({yBottom, ya, yb});
    }
}

void CCurveStroke::PrepareColumn(double px, int iFirst, int iLast)
{
    m_column.clear();
    for (int i = iFirst; i <= iLast; ++i) {
        const Segment& s = m_segments[static_cast<size_t>(i)];
        const double ax = px - s.a.x();
        // The projection onto the segment is linear in the row.
        const double dSlope = s.d.y() * s.dInvLength2;
        m_column.push_back({static_cast<float>(ax * s.d.x() * s.dInvLength2 - s.a.y() * dSlope),
                            static_cast<float>(dSlope), static_cast<float>(ax), static_cast<float>(s.a.y()),
                            static_cast<float>(s.d.x()), static_cast<float>(s.d.y())});
    }
}

float CCurveStroke::ColumnDistance2(float py) const
{
    float fBest = std::numeric_limits<float>::max();
    for (const ColumnSegment& s : m_column) {
        const float t = std::clamp(s.fT0 + s.fTPerRow * py, 0.0f, 1.0f);
        const float ex = s.fAx - t * s.fDx;
        const float ey = py - s.fAy - t * s.fDy;
        fBest = std::min(fBest, ex * ex + ey * ey);
    }
    return fBest;
}
