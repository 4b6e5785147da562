#include "MsgBox.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTimer>

#include "Strings.h"

bool CMsgBox::Create(QWidget* pParent)
{
    if (m_bCreated)
        return true;
    m_pParent = pParent;
    m_bCreated = true;
    return true;
}

void CMsgBox::Show(const QString& strText)
{
    QMessageBox box(QMessageBox::NoIcon, Tr(kTxtAppTitle), strText, QMessageBox::Ok, m_pParent);
    // The timer lives and dies with this box: it closes nothing else, and a
    // box the user already closed takes its pending timer with it.
    QTimer::singleShot(kAutoCloseMs, &box, [&box] {
        if (QAbstractButton* pOk = box.button(QMessageBox::Ok))
            pOk->click();
    });
    box.exec();
}
