#include "ControlName.h"
#include "SxGroupBox.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

CSxGroupBox::CSxGroupBox(int nId, QWidget* pParent)
    : CSxGroupBox(nId, QString(), pParent)
{
}

CSxGroupBox::CSxGroupBox(int nId, const QString& strCaption, QWidget* pParent)
    : QWidget(pParent), m_nId(nId), m_strCaption(strCaption), m_fontCaption(QStringLiteral("Arial"))
{
    setObjectName(ControlName(nId));
    m_fontCaption.setPointSizeF(kCaptionPoints);
    m_fontCaption.setBold(true);
    m_fontCaption.setStyleHint(QFont::SansSerif);
    // A platform group box lets clicks through to the controls laid over
    // it; staying beneath the siblings gives them their clicks.
    lower();
}

void CSxGroupBox::SetText(const QString& strCaption, bool bRedraw)
{
    m_strCaption = strCaption;
    setWindowTitle(strCaption);
    if (bRedraw)
        repaint();
}

void CSxGroupBox::SetScale(double dScale)
{
    m_fontCaption.setPointSizeF(kCaptionPoints * dScale);
    update();
}

int CSxGroupBox::CaptionWidth() const
{
    return QFontMetrics(m_fontCaption).horizontalAdvance(m_strCaption);
}

// Half the caption's height in the widget's own font, so the line sits where
// the caption of an ordinary group box would be centred.
int CSxGroupBox::TopLineY() const
{
    return fontMetrics().height() / 2 - 1;
}

int CSxGroupBox::GapLeft() const
{
    return kCaptionOffset;
}

int CSxGroupBox::GapRight() const
{
    return GapLeft() + CaptionWidth();
}

// One open rectangle from the right end of the gap round to its left end;
// nShift moves it right and down for the highlight line.
void CSxGroupBox::DrawFrame(QPainter& painter, QColor crLine, int nShift) const
{
    const int nTop = TopLineY() + nShift;
    const int nLeft = nShift;
    const int nRight = width() - kLineWidth + nShift - 1;
    const int nBottom = height() - kLineWidth + nShift - 1;
    QPen pen(crLine, kLineWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    painter.setPen(pen);
    const QPolygon line({QPoint(GapRight() + nShift, nTop), QPoint(nRight, nTop),
                         QPoint(nRight, nBottom), QPoint(nLeft, nBottom), QPoint(nLeft, nTop),
                         QPoint(GapLeft() + nShift, nTop)});
    painter.drawPolyline(line);
}

void CSxGroupBox::DrawCaption(QPainter& painter) const
{
    const QFontMetrics metrics(m_fontCaption);
    const QRect rcCaption(GapLeft(), TopLineY() - metrics.height() / 2, CaptionWidth(),
                          metrics.height());
    painter.setFont(m_fontCaption);
    painter.setPen(QColor(Qt::black));
    painter.drawText(rcCaption, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine
                                    | Qt::TextDontClip | Qt::TextShowMnemonic,
                     m_strCaption);
}

void CSxGroupBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    DrawFrame(painter, palette().color(QPalette::Dark), 0);
    DrawFrame(painter, palette().color(QPalette::Light), kLineWidth);
    // A box disabled itself shows no caption; one that is only inside a
    // disabled window (the form during every transfer) keeps it.
    if (!m_strCaption.isEmpty() && !testAttribute(Qt::WA_ForceDisabled))
        DrawCaption(painter);
}
