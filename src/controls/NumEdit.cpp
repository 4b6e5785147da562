#include "ControlName.h"
#include "NumEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>

CNumEdit::CNumEdit(int nId, QWidget* pParent)
    : QLineEdit(pParent), m_nId(nId)
{
    setObjectName(ControlName(nId));
    // Only the user's typing marks the field; texts set by Redisplay do not.
    connect(this, &QLineEdit::textEdited, this, [this] { m_bModified = true; });
}

void CNumEdit::SetKind(int nKind, const QString& strSuffix)
{
    m_kinds.nKind = nKind;
    m_kinds.strSuffix = strSuffix;
    Redisplay();
}

void CNumEdit::SetRange(int nMin, int nMax)
{
    m_kinds.nMin = nMin;
    m_kinds.nMax = nMax;
    m_nValue = nMin;
    Redisplay();
}

void CNumEdit::SetPos(int nIndex)
{
    if (nIndex < m_kinds.nMin || nIndex > m_kinds.nMax)
        return;
    m_nValue = nIndex;
    Redisplay();
}

int CNumEdit::GetPos()
{
    if (m_bModified) {
        if (const std::optional<int> nIndex = m_kinds.ReadBack(text()))
            m_nValue = *nIndex;
        m_bModified = false;
    }
    return m_nValue;
}

void CNumEdit::EnableColor(bool bEnable)
{
    if (bEnable == m_bColor)
        return;
    m_bColor = bEnable;
    if (bEnable) {
        m_paletteBeforeColor = palette();
        QPalette pal = m_paletteBeforeColor;
        pal.setColor(QPalette::Base, m_color);
        setPalette(pal);
    } else {
        setPalette(m_paletteBeforeColor);
    }
    update();
}

void CNumEdit::Redisplay()
{
    setText(m_kinds.Format(m_nValue));
}

bool CNumEdit::CommitsAlways() const
{
    const int nKind = m_kinds.nKind;
    return nKind == CNumKinds::kInteger || nKind == CNumKinds::kFrequency || nKind == CNumKinds::kFrequencyLimited;
}

void CNumEdit::CommitOnFocusLoss()
{
    if (!m_bModified && !CommitsAlways())
        return;
    m_nValue = m_kinds.ReadOnFocusLoss(text(), m_nValue);
    // The flag stays set: the owner's GetPos reads the committed text back.
    if (!m_bModified)
        return;
    Redisplay();
    emit Notify(m_nId);
}

void CNumEdit::focusOutEvent(QFocusEvent* pEvent)
{
    QLineEdit::focusOutEvent(pEvent);
    // A context menu borrows the focus for a moment; the user is still editing.
    if (pEvent->reason() != Qt::PopupFocusReason)
        CommitOnFocusLoss();
}

void CNumEdit::keyPressEvent(QKeyEvent* pEvent)
{
    QLineEdit::keyPressEvent(pEvent);
    // Enter and Escape stay with the field: the owner moves the focus on
    // returnPressed, and neither key may press a dialog's default button or
    // close the dialog while a value is being typed.
    switch (pEvent->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        pEvent->accept();
        break;
    default:
        break;
    }
}
