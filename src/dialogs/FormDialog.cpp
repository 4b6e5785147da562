#include "FormDialog.h"

#include <QKeyEvent>
#include <QPushButton>

#include "AppGlobals.h"
#include "ControlName.h"

CFormDialog::CFormDialog(QWidget* pParent, const QString& strName, int nWidth, int nHeight)
    : QDialog(pParent, kFixedDialogFrame)
{
    setObjectName(strName);
    setModal(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, g_brushDialog);
    setPalette(pal);
    setAutoFillBackground(true);
    setFont(g_fontMedium);
    setFixedSize(nWidth, nHeight);
}

QPushButton* CFormDialog::AddButton(int nId, TextId caption, const QRect& rect)
{
    auto* pButton = new QPushButton(Tr(caption), this);
    pButton->setObjectName(ControlName(nId));
    pButton->setGeometry(rect);
    pButton->setAutoDefault(false);
    pButton->setDefault(false);
    return pButton;
}

void CFormDialog::keyPressEvent(QKeyEvent* pEvent)
{
    if (pEvent->key() == Qt::Key_Return || pEvent->key() == Qt::Key_Enter || pEvent->key() == Qt::Key_Escape) {
        setFocus(Qt::OtherFocusReason);
        pEvent->accept();
        return;
    }
    QDialog::keyPressEvent(pEvent);
}
