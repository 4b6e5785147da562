#include "ControlName.h"
#include "GradientProgressCtrl.h"

#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace {

int Component(int nStart, int nBand, double dStep)
{
    return std::clamp(static_cast<int>(nStart + nBand * dStep), 0, 255);
}

} // namespace

CGradientProgressCtrl::CGradientProgressCtrl(int nId, QWidget* pParent)
    : QWidget(pParent), m_nId(nId)
{
    setObjectName(ControlName(nId));
    // Every paint covers the whole bar, so nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CGradientProgressCtrl::SetRange(int nLower, int nUpper)
{
    m_nLower = nLower;
    m_nUpper = nUpper;
    m_nPos = nLower;
    update();
}

int CGradientProgressCtrl::SetPos(int nPos)
{
    const int nOld = m_nPos;
    m_nPos = std::min(nPos, m_nUpper);
    update();
    return nOld;
}

// Band i takes the colour i steps from the start; the part of the band run
// past the bar's end is given back to the background, and drawing stops.
void CGradientProgressCtrl::DrawBands(QPainter& painter, int nBarLength) const
{
    const int nDiffR = m_crEnd.red() - m_crStart.red();
    const int nDiffG = m_crEnd.green() - m_crStart.green();
    const int nDiffB = m_crEnd.blue() - m_crStart.blue();
    const int nBands =
        std::max({std::abs(nDiffR), std::abs(nDiffG), std::abs(nDiffB), 1});
    const QColor crBack = palette().color(QPalette::Button);
    for (int i = 0; i < nBands; ++i) {
        // Exact integer edges: a rounding error must not leave the last
        // column of a full bar unpainted.
        const int nLeft = i * width() / nBands;
        const int nRight = (i + 1) * width() / nBands;
        const QColor crBand(Component(m_crStart.red(), i, double(nDiffR) / nBands),
                            Component(m_crStart.green(), i, double(nDiffG) / nBands),
                            Component(m_crStart.blue(), i, double(nDiffB) / nBands));
        painter.fillRect(QRect(nLeft, 0, nRight - nLeft, height()), crBand);
        if (nRight > nBarLength) {
            painter.fillRect(QRect(nBarLength, 0, width() - nBarLength, height()), crBack);
            return;
        }
    }
}

void CGradientProgressCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // An upper bound of zero or less leaves no length to divide by.
    if (m_nPos <= m_nLower || m_nPos > m_nUpper || m_nUpper <= 0) {
        painter.fillRect(rect(), palette().color(QPalette::Button));
        return;
    }
    const int nBarLength = static_cast<int>(double(m_nPos) / m_nUpper * width());
    DrawBands(painter, nBarLength);
}
