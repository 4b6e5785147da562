#include "ControlName.h"
#include "TransparentStatic.h"

#include <QPainter>

CTransparentStatic::CTransparentStatic(int nId, QWidget* pParent)
    : CTransparentStatic(nId, QString(), pParent)
{
}

CTransparentStatic::CTransparentStatic(int nId, const QString& strText, QWidget* pParent)
    : QWidget(pParent), m_nId(nId), m_strText(strText)
{
    setObjectName(ControlName(nId));
}

void CTransparentStatic::SetText(const QString& strText)
{
    if (strText == m_strText)
        return;
    m_strText = strText;
    InvalidateUnder();
}

void CTransparentStatic::SetTextColor(QColor crText)
{
    m_crText = crText;
    InvalidateUnder();
}

void CTransparentStatic::SetAlignment(Qt::Alignment nAlign)
{
    m_nAlign = nAlign;
    InvalidateUnder();
}

void CTransparentStatic::SetElideMode(Qt::TextElideMode nMode)
{
    m_nElide = nMode;
    InvalidateUnder();
}

void CTransparentStatic::SetWordWrap(bool bWrap)
{
    m_bWordWrap = bWrap;
    InvalidateUnder();
}

// No background: the parent repaints what lies under the old text.
void CTransparentStatic::InvalidateUnder()
{
    if (QWidget* pParent = parentWidget())
        pParent->update(geometry());
    else
        update();
}

bool CTransparentStatic::Wraps() const
{
    return m_bWordWrap && m_nElide == Qt::ElideNone && !(m_nAlign & Qt::AlignVCenter);
}

int CTransparentStatic::TextFlags() const
{
    int nFlags = 0;
    if (m_nAlign & Qt::AlignRight)
        nFlags |= Qt::AlignRight;
    else if (m_nAlign & Qt::AlignHCenter)
        nFlags |= Qt::AlignHCenter;
    else
        nFlags |= Qt::AlignLeft;
    nFlags |= (m_nAlign & Qt::AlignVCenter) ? Qt::AlignVCenter | Qt::TextSingleLine : Qt::AlignTop;
    if (Wraps())
        nFlags |= Qt::TextWordWrap;
    return nFlags | Qt::TextShowMnemonic;
}

void CTransparentStatic::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(m_crText);
    const int nFlags = TextFlags();
    QString strShown = m_strText;
    if (m_nElide != Qt::ElideNone)
        strShown = fontMetrics().elidedText(m_strText, m_nElide, width(),
                                            nFlags & Qt::TextShowMnemonic);
    painter.drawText(rect(), nFlags, strShown);
}
