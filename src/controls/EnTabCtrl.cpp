#include "ControlName.h"
#include "EnTabCtrl.h"

#include <QPainter>
#include <QStyleOptionTabWidgetFrame>
#include <algorithm>

namespace {

QColor Scaled(QColor crBase, double dFactor)
{
    auto scale = [dFactor](int nValue) { return std::min(255, static_cast<int>(nValue * dFactor)); };
    return QColor(scale(crBase.red()), scale(crBase.green()), scale(crBase.blue()));
}

} // namespace

CEnTabCtrl::CEnTabCtrl(int nId, QWidget* pParent)
    : QWidget(pParent), m_nId(nId), m_crBkgnd(palette().color(QPalette::Window))
{
    setObjectName(ControlName(nId));
}

void CEnTabCtrl::SetBkgndColor(QColor crBkgnd)
{
    m_crBkgnd = crBkgnd;
    update();
}

void CEnTabCtrl::SetDrawStyle(int nStyle)
{
    m_nDrawStyle = nStyle;
    update();
}

QRect CEnTabCtrl::PageRect() const
{
    return rect().adjusted(1, 1, -1, -1);
}

QColor CEnTabCtrl::TopLeftColor() const
{
    return Scaled(m_crBkgnd, 1.5);
}

QColor CEnTabCtrl::BottomRightColor() const
{
    return Scaled(m_crBkgnd, 0.75);
}

// Light top and left edges, dark right and bottom edges; the dark edges own
// the top-right and bottom-left corners.
void CEnTabCtrl::DrawBorder(QPainter& painter) const
{
    const QRect rc = rect();
    painter.fillRect(QRect(rc.left(), rc.top(), rc.width() - 1, 1), TopLeftColor());
    painter.fillRect(QRect(rc.left(), rc.top(), 1, rc.height() - 1), TopLeftColor());
    painter.fillRect(QRect(rc.right(), rc.top(), 1, rc.height()), BottomRightColor());
    painter.fillRect(QRect(rc.left(), rc.bottom(), rc.width(), 1), BottomRightColor());
}

void CEnTabCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_crBkgnd);
    if (m_nDrawStyle == kDrawAll) {
        DrawBorder(painter);
        return;
    }
    QStyleOptionTabWidgetFrame option;
    option.initFrom(this);
    option.lineWidth = 1;
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &option, &painter, this);
}
