#include "GraphCanvas.h"

#include <algorithm>
#include <cstring>

namespace {

// A curve is recorded as the boxes around runs of this many segments: tight
// enough to put back little more than the curve, few enough to stay cheap.
constexpr int kSegmentsPerBox = 8;

QRect ToDevice(const QRectF& rc, qreal dRatio)
{
    return QRectF(rc.topLeft() * dRatio, rc.size() * dRatio).toAlignedRect();
}

}  // namespace

void CGraphCanvas::Begin(const QSize& szLogical, qreal dRatio, int nVariant,
                         const std::function<void(QImage&)>& drawBackground)
{
    const QSize szDevice = (QSizeF(szLogical) * dRatio).toSize();
    if (m_background.size() != szDevice || m_background.devicePixelRatio() != dRatio || m_nVariant != nVariant) {
        m_background = QImage(szDevice, QImage::Format_RGB32);
        m_background.setDevicePixelRatio(dRatio);
        m_picture = QImage(szDevice, QImage::Format_RGB32);
        m_picture.setDevicePixelRatio(dRatio);
        m_nVariant = nVariant;
        drawBackground(m_background);
        m_bRestoreAll = true;
    }
    Restore();
}

void CGraphCanvas::Restore()
{
    if (m_picture.isNull())
        return;
    const uchar* pFrom = m_background.constBits();
    uchar* pTo = m_picture.bits();
    const qsizetype nStride = m_picture.bytesPerLine();
    if (m_bRestoreAll) {
        std::memcpy(pTo, pFrom, static_cast<size_t>(m_picture.sizeInBytes()));
    } else {
        for (const QRect& rc : m_touched) {
            const qsizetype nOffset = rc.top() * nStride + rc.left() * qsizetype(sizeof(QRgb));
            for (int y = 0; y < rc.height(); ++y)
                std::memcpy(pTo + nOffset + y * nStride, pFrom + nOffset + y * nStride,
                            static_cast<size_t>(rc.width()) * sizeof(QRgb));
        }
    }
    m_touched.clear();
    m_bRestoreAll = false;
}

void CGraphCanvas::Touch(const QRect& rc)
{
    TouchDevice(ToDevice(rc, m_picture.devicePixelRatio()));
}

void CGraphCanvas::TouchDevice(const QRect& rc)
{
    const QRect rcInside = rc & m_picture.rect();
    if (!rcInside.isEmpty())
        m_touched.push_back(rcInside);
}

void CGraphCanvas::DrawCurve(const QPointF* pPoints, int nPoints, double dWidth, QRgb crColour,
                             const QRect& rcClip)
{
    const qreal dRatio = m_picture.devicePixelRatio();
    m_devicePoints.resize(static_cast<size_t>(nPoints));
    for (int i = 0; i < nPoints; ++i)
        m_devicePoints[static_cast<size_t>(i)] = pPoints[i] * dRatio;
    const QRect rcDevice = ToDevice(rcClip, dRatio);
    const double dDeviceWidth = dWidth * dRatio;
    m_stroke.Draw(m_picture, rcDevice, m_devicePoints.data(), nPoints, dDeviceWidth, crColour);

    // Off-plot rows (a response far below −20 dB) are held to the clip
    // before they become integers.
    const double dReach = dDeviceWidth / 2.0 + 1.0;
    const double dTop = rcDevice.top() - dReach;
    const double dBottom = rcDevice.bottom() + dReach;
    for (int i = 0; i + 1 < nPoints; i += kSegmentsPerBox) {
        const auto first = m_devicePoints.begin() + i;
        const auto last = m_devicePoints.begin() + std::min(i + kSegmentsPerBox, nPoints - 1) + 1;
        const auto [yLow, yHigh] =
            std::minmax_element(first, last, [](const QPointF& a, const QPointF& b) { return a.y() < b.y(); });
        const double y0 = std::clamp(yLow->y() - dReach, dTop, dBottom);
        const double y1 = std::clamp(yHigh->y() + dReach, dTop, dBottom);
        if (!(y0 <= y1)) {  // a point that is not a number
            TouchDevice(rcDevice);
            continue;
        }
        const QRectF rcBox(QPointF(first->x() - dReach, y0), QPointF((last - 1)->x() + dReach, y1));
        TouchDevice(rcBox.toAlignedRect() & rcDevice);
    }
}
