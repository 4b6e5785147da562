#include "ControlName.h"
#include "ButtonRadio.h"

#include <QAbstractButton>
#include <QPalette>

// Nothing fills the background, so the skin behind shows through box and
// text; disabled text keeps the platform's grey.
void ApplyButtonRadioLook(QAbstractButton* pButton)
{
    pButton->setAutoFillBackground(false);
    pButton->setAttribute(Qt::WA_NoSystemBackground, true);
    QPalette palette = pButton->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::WindowText, Qt::black);
        palette.setColor(group, QPalette::ButtonText, Qt::black);
    }
    palette.setColor(QPalette::Window, Qt::transparent);
    pButton->setPalette(palette);
}

CButtonRadio::CButtonRadio(int nId, QWidget* pParent)
    : CButtonRadio(nId, QString(), pParent)
{
}

CButtonRadio::CButtonRadio(int nId, const QString& strText, QWidget* pParent)
    : QRadioButton(strText, pParent), m_nId(nId)
{
    setObjectName(ControlName(nId));
    ApplyButtonRadioLook(this);
    connect(this, &QAbstractButton::clicked, this, [this] { emit Notify(m_nId); });
}

QColor CButtonRadio::TextColor() const
{
    return palette().color(QPalette::Active, QPalette::WindowText);
}
