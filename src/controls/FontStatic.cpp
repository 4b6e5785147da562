#include "ControlName.h"
#include "FontStatic.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

CFontStatic::CFontStatic(int nId, QWidget* pParent)
    : CFontStatic(nId, QString(), pParent)
{
}

CFontStatic::CFontStatic(int nId, const QString& strText, QWidget* pParent)
    : QWidget(pParent), m_nId(nId), m_strText(strText)
{
    setObjectName(ControlName(nId));
}

void CFontStatic::SetText(const QString& strText)
{
    m_strText = strText;
    InvalidateUnder();
}

void CFontStatic::SetTextColor(QColor crText)
{
    m_crText = crText;
    repaint();
    InvalidateUnder();
}

void CFontStatic::SetFontStyle(int nHeight, QColor crText, int nFlags)
{
    m_nHeight = nHeight;
    m_crText = crText;
    // Centre wins over right, right over left; no flag means centre.
    const bool bCentre = nFlags & kAlignCentre;
    m_bRight = !bCentre && (nFlags & kAlignRight);
    m_bLeft = !bCentre && !m_bRight && (nFlags & kAlignLeft);
    InvalidateUnder();
}

void CFontStatic::SetScale(double dScale)
{
    if (dScale == m_dScale)
        return;
    m_dScale = dScale;
    InvalidateUnder();
}

// The label has no background of its own, so the parent must repaint the
// area for the old text to disappear.
void CFontStatic::InvalidateUnder()
{
    if (QWidget* pParent = parentWidget())
        pParent->update(geometry());
    else
        update();
}

Qt::Alignment CFontStatic::HorizontalAlignment() const
{
    if (m_bLeft)
        return Qt::AlignLeft;
    if (m_bRight)
        return Qt::AlignRight;
    return Qt::AlignHCenter;
}

void CFontStatic::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QFont font(QStringLiteral("Arial"));
    // Heights are character-cell heights in pixels; zero or less keeps the
    // window font's size, as the platform's font mapper does.
    if (m_nHeight != 0)
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(qAbs(m_nHeight) * m_dScale))));
    font.setWeight(QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    painter.setFont(font);
    painter.setPen(m_crText);
    const int nFlags = int(HorizontalAlignment()) | Qt::AlignVCenter | Qt::TextSingleLine
                       | Qt::TextDontClip | Qt::TextShowMnemonic;
    painter.drawText(rect(), nFlags, m_strText);
}

void CFontStatic::mousePressEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(pEvent);
        return;
    }
    emit clicked(m_nId);
    emit Notify(m_nId);
}

// The second press of a double click is not another click.
void CFontStatic::mouseDoubleClickEvent(QMouseEvent* pEvent)
{
    pEvent->accept();
}
